#pragma once

// What every agent shares: a guarded singleton, the shared worker thread, and eager
// registration of the value records its signals carry.

#include "tq_agent_global.h"

#include <QAtomicPointer>
#include <QList>
#include <QMetaType>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>

#include <memory>

namespace tq {

enum class Placement {
    SharedThread, // the agent's slots run on the shared worker thread
    CreatingThread // the agent stays where it was created
};

// Moves the agent to the shared worker thread and starts that thread if it is not running.
TQ_AGENT_EXPORT void moveToSharedThread(QObject *agent);
// Drops the requests still queued for the agents on the worker (at the library's end).
TQ_AGENT_EXPORT void dropQueuedRequests();

// Registers the argument types every agent may queue under names Qt does not know by
// itself, e.g. "QList<QString>" (Qt knows it only as "QStringList").
TQ_AGENT_EXPORT void registerCommonTypes();

// Returns the agent in `ins`, building it on the first call. `build` returns the new agent
// after its own set-up (connections, callback registration); it runs under a per-class lock,
// so concurrent first calls, and engine callbacks arriving meanwhile, wait for the one agent
// instead of building a second. If `build` throws, nothing is stored and a later call retries.
//
//     Voip_Agent *Voip_Agent::instance()
//     {
//         return tq::agentInstance(ins, [] {
//             std::unique_ptr<Voip_Agent> agent(new Voip_Agent);
//             agent->initConnections();
//             Voip_CallBackProxy::instance()->registerCallbacks();
//             return agent;
//         });
//     }
namespace detail {
template<class Agent> struct Creation
{
    // Trivially destructible, like everything a callback may reach during static destruction.
    static QBasicMutex &lock()
    {
        static QBasicMutex mutex;
        return mutex;
    }
    // The thread building the agent right now, to catch a re-entrant instance() call.
    static QAtomicPointer<QThread> &builder()
    {
        static QAtomicPointer<QThread> thread;
        return thread;
    }
};
} // namespace detail

template<class Agent, class Build>
Agent *agentInstance(QAtomicPointer<Agent> &ins, Build build,
                     Placement placement = Placement::SharedThread)
{
    if (Agent *agent = ins.loadAcquire())
        return agent;

    using Creation = detail::Creation<Agent>;
    QAtomicPointer<QThread> &builder = Creation::builder();
    if (builder.loadAcquire() == QThread::currentThread())
        qFatal("%s::instance() called again while it is being built",
               Agent::staticMetaObject.className());

    QMutexLocker locker(&Creation::lock());
    if (Agent *agent = ins.loadAcquire())
        return agent;

    registerCommonTypes();
    builder.storeRelease(QThread::currentThread());
    std::unique_ptr<Agent> agent;
    try {
        agent = build();
    } catch (...) {
        builder.storeRelease(nullptr);
        throw;
    }
    builder.storeRelease(nullptr);
    // Moving is the last step: an object owned by the worker must not be deleted here.
    if (placement == Placement::SharedThread)
        moveToSharedThread(agent.get());
    ins.storeRelease(agent.get());
    return agent.release();
}

// Registers each record type, and the QList of it, under exactly the name given to
// Q_DECLARE_METATYPE, so that queued connections can carry them from the first emission.
template<class... Records> void registerRecords()
{
    (qRegisterMetaType<Records>(), ...);
    (qRegisterMetaType<QList<Records>>(), ...);
}

} // namespace tq
