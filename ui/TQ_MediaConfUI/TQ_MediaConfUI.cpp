#include "TQ_MediaConfUI.h"

#include "TqCallLog.h"

#include <QList>

namespace {
// Window objects live until the process ends; keeping them reachable says so to leak checkers.
QList<TQ_MediaConfUI *> &liveObjects()
{
    static auto *objects = new QList<TQ_MediaConfUI *>;
    return *objects;
}
} // namespace

TQ_MediaConfUI::TQ_MediaConfUI()
{
    TqCallLog::add(QStringLiteral("TQ_MediaConfUI"));
    liveObjects().append(this);
}
