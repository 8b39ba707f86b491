#include "ProbeAgent.h"

#include <AgentLog.h>
#include <AgentShutdown.h>
#include <EngineArgs.h>

#include <QThread>

#include <stdexcept>

// ---- marks ------------------------------------------------------------------------------------

namespace {
QMutex g_markMutex;
QList<MarkLog::Mark> g_marks;
} // namespace

void MarkLog::add(const QString &agent, int n)
{
    QMutexLocker locker(&g_markMutex);
    g_marks.append({agent, n, QThread::currentThread()});
}

QList<MarkLog::Mark> MarkLog::marks()
{
    QMutexLocker locker(&g_markMutex);
    return g_marks;
}

void MarkLog::clear()
{
    QMutexLocker locker(&g_markMutex);
    g_marks.clear();
}

// ---- callbacks --------------------------------------------------------------------------------

namespace {

void ZS_CALL callback_onPublishPresence(unsigned int, int reason)
{
    tq::logInfo("%1", TQ_WHERE(ProbeCallBack));
    emit Probe_Agent::instance()->sig_onPublish(reason);
}

void registerCallbacks()
{
    static ZS_GeneralCallBack table = [] {
        ZS_GeneralCallBack t{};
        t.onPublishPresence = tq::gated<callback_onPublishPresence>;
        return t;
    }();
    SetGeneralCallBackFuction(&table);
}

} // namespace

// ---- Probe_Agent ------------------------------------------------------------------------------

QAtomicPointer<Probe_Agent> Probe_Agent::ins;
std::atomic_int Probe_Agent::constructions{0};
std::function<void()> Probe_Agent::duringBuild;

Probe_Agent *Probe_Agent::instance()
{
    return tq::agentInstance(ins, [] {
        std::unique_ptr<Probe_Agent> agent(new Probe_Agent);
        agent->initConnections();
        registerCallbacks();
        if (duringBuild)
            duringBuild();
        return agent;
    });
}

Probe_Agent::Probe_Agent()
{
    ++constructions;
}

void Probe_Agent::initConnections()
{
    connect(this, SIGNAL(sig_publish(int, int, QString)), this,
            SLOT(slot_publish(int, int, QString)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_mark(int)), this, SLOT(slot_mark(int)), Qt::AutoConnection);
}

void Probe_Agent::slot_publish(int type, int subtype, QString userdata)
{
    unsigned int matchKey = 0;
    tq::callEngine(TQ_WHERE(Probe_Agent), PublishPresence_TQ, &matchKey, type, subtype,
                   tq::Local8BitArg(userdata));
}

void Probe_Agent::slot_mark(int n)
{
    MarkLog::add(QStringLiteral("Probe_Agent"), n);
}

// ---- Probe2_Agent -----------------------------------------------------------------------------

QAtomicPointer<Probe2_Agent> Probe2_Agent::ins;
std::atomic_int Probe2_Agent::constructions{0};

Probe2_Agent *Probe2_Agent::instance()
{
    return tq::agentInstance(ins, [] {
        std::unique_ptr<Probe2_Agent> agent(new Probe2_Agent);
        connect(agent.get(), SIGNAL(sig_mark(int)), agent.get(), SLOT(slot_mark(int)),
                Qt::AutoConnection);
        // Widen the window in which concurrent first calls could build a second agent.
        QThread::yieldCurrentThread();
        return agent;
    });
}

Probe2_Agent::Probe2_Agent()
{
    ++constructions;
}

void Probe2_Agent::slot_mark(int n)
{
    MarkLog::add(QStringLiteral("Probe2_Agent"), n);
}

// ---- Stay_Agent -------------------------------------------------------------------------------

QAtomicPointer<Stay_Agent> Stay_Agent::ins;
std::atomic_int Stay_Agent::constructions{0};
bool Stay_Agent::failNextBuild = false;

Stay_Agent *Stay_Agent::instance()
{
    return tq::agentInstance(
        ins,
        [] {
            std::unique_ptr<Stay_Agent> agent(new Stay_Agent);
            connect(agent.get(), SIGNAL(sig_mark(int)), agent.get(), SLOT(slot_mark(int)),
                    Qt::AutoConnection);
            if (std::exchange(failNextBuild, false))
                throw std::runtime_error("registration failed");
            return agent;
        },
        tq::Placement::CreatingThread);
}

Stay_Agent::Stay_Agent()
{
    ++constructions;
}

void Stay_Agent::slot_mark(int n)
{
    MarkLog::add(QStringLiteral("Stay_Agent"), n);
}
