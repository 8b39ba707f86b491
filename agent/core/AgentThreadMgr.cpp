#include "AgentThreadMgr.h"

#include "AgentFrame.h"
#include "AgentLog.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <cstdlib>

namespace {

constexpr unsigned long kStopWaitMs = 2000;

QThread *createSharedThread();

QThread *sharedThreadObject()
{
    static QThread *const thread = createSharedThread();
    return thread;
}

void stopSharedThread()
{
    static std::atomic_bool stopped{false};
    if (stopped.exchange(true))
        return;
    QThread *thread = sharedThreadObject();
    if (QThread::currentThread() == thread || !thread->isRunning())
        return;
    thread->quit();
    if (!thread->wait(kStopWaitMs))
        tq::logError("%1,worker thread still busy after %2 ms", TQ_WHERE(AgentThreadMgr),
                     int(kStopWaitMs));
}

QThread *createSharedThread()
{
    auto *thread = new QThread(nullptr);
    thread->setObjectName(QStringLiteral("TQ_AgentWorker"));
    // With an application, stop with it; without one, at process exit at the latest.
    if (QCoreApplication::instance())
        qAddPostRoutine(stopSharedThread);
    std::atexit(stopSharedThread);
    return thread;
}

} // namespace

QThread *AgentThreadMgr::sharedThread()
{
    return sharedThreadObject();
}

namespace tq {

void registerCommonTypes()
{
    static const bool registered = [] {
        qRegisterMetaType<QList<QString>>("QList<QString>");
        return true;
    }();
    Q_UNUSED(registered);
}

void moveToSharedThread(QObject *agent)
{
    QThread *thread = AgentThreadMgr::sharedThread();
    agent->moveToThread(thread);
    thread->start(QThread::InheritPriority);
}

} // namespace tq
