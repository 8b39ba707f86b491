#include "TQ_MainUI.h"

#include "TqCallLog.h"

namespace {
// Window objects live until the process ends; keeping them reachable says so to leak checkers.
QList<TQ_MainUI *> &liveObjects()
{
    static auto *objects = new QList<TQ_MainUI *>;
    return *objects;
}
} // namespace

TQ_MainUI::TQ_MainUI()
{
    TqCallLog::add(QStringLiteral("TQ_MainUI"));
    liveObjects().append(this);
}

void TQ_MainUI::setHandle(void *handle)
{
    TqCallLog::add(QStringLiteral("TQ_MainUI::setHandle"));
    m_handle = handle;
}

QList<TQ_MainUI *> TQ_MainUI::instances()
{
    return liveObjects();
}
