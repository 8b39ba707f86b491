#include "AgentThreadMgr.h"

#include "AgentFrame.h"
#include "AgentShutdown.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>

namespace {

// The objects living on the worker, so that their queued requests can be dropped at the end.
// Trivially destructible: read during static destruction.
QBasicMutex g_workerObjectsLock;
QObject *g_workerObjects[64];
int g_workerObjectCount = 0;

void addWorkerObject(QObject *object)
{
    QMutexLocker locker(&g_workerObjectsLock);
    QObject **const end = g_workerObjects + g_workerObjectCount;
    if (std::find(g_workerObjects, end, object) != end)
        return;
    if (g_workerObjectCount == int(std::size(g_workerObjects))) {
        qWarning("TQ_Agent: too many objects on the worker thread");
        return;
    }
    g_workerObjects[g_workerObjectCount++] = object;
}

void removeWorkerObject(QObject *object)
{
    QMutexLocker locker(&g_workerObjectsLock);
    QObject **const end = g_workerObjects + g_workerObjectCount;
    QObject **const found = std::find(g_workerObjects, end, object);
    if (found == end)
        return;
    *found = *(end - 1);
    --g_workerObjectCount;
}

} // namespace

QThread *AgentThreadMgr::sharedThread()
{
    // Never deleted; tq::shutDown() stops it.
    static QThread *const thread = [] {
        auto *t = new QThread(nullptr);
        t->setObjectName(QStringLiteral("TQ_AgentWorker"));
        // Whatever was still queued when the loop ended goes with it; only the worker itself
        // reaches every receiver in its queue.
        QObject::connect(
            t, &QThread::finished, t, [] { QCoreApplication::removePostedEvents(nullptr); },
            Qt::DirectConnection);
        return t;
    }();
    return thread;
}

namespace tq {

void registerCommonTypes()
{
    static const bool registered = [] {
        qRegisterMetaType<QList<QString>>("QList<QString>");
        return true;
    }();
    Q_UNUSED(registered);
    // After the registrations above, so that the exit handler runs before Qt's type registry
    // goes away.
    armShutDown();
}

void moveToSharedThread(QObject *agent)
{
    QThread *thread = AgentThreadMgr::sharedThread();
    agent->moveToThread(thread);
    addWorkerObject(agent);
    QObject::connect(agent, &QObject::destroyed, [agent] { removeWorkerObject(agent); });
    if (!isShutDown()) // once stopped, the worker stays stopped
        thread->start(QThread::InheritPriority);
}

void dropQueuedRequests()
{
    // The worker runs a whole batch of queued calls before it looks at quit(); without this,
    // a long queue would outlast the bounded wait for it.
    QMutexLocker locker(&g_workerObjectsLock);
    for (int i = 0; i < g_workerObjectCount; ++i)
        QCoreApplication::removePostedEvents(g_workerObjects[i]);
}

} // namespace tq
