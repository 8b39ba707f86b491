#include "TQ_MainUI.h"

#include "MainWindow.h"

#include <SDK_Agent.h>
#include <TqCallLog.h>
#include <TqProfiles.h>
#include <TqSession.h>

namespace {
// Window objects live until the process ends; keeping them reachable says so to leak checkers.
QList<TQ_MainUI *> &liveObjects()
{
    static auto *objects = new QList<TQ_MainUI *>;
    return *objects;
}
} // namespace

TQ_MainUI::TQ_MainUI()
    : m_window(new MainWindow(TqSession::instance(), TqProfiles::instance(), SDK_Agent::instance()))
{
    TqCallLog::add(QStringLiteral("TQ_MainUI"));
    liveObjects().append(this);
}

TQ_MainUI::~TQ_MainUI()
{
    liveObjects().removeAll(this);
    delete m_window;
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
