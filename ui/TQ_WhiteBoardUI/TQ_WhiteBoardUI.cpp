#include "TQ_WhiteBoardUI.h"

#include "TqCallLog.h"

#include <QList>

namespace {
// Window objects live until the process ends; keeping them reachable says so to leak checkers.
QList<TQ_WhiteBoardUI *> &liveObjects()
{
    static auto *objects = new QList<TQ_WhiteBoardUI *>;
    return *objects;
}
} // namespace

TQ_WhiteBoardUI::TQ_WhiteBoardUI()
{
    TqCallLog::add(QStringLiteral("TQ_WhiteBoardUI"));
    liveObjects().append(this);
}
