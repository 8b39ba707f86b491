#include "ProbeAgent.h"

#include <AgentLog.h>
#include <EngineArgs.h>
#include <FixedField.h>

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

Agent_ProbeRecord fromEngine(const ZS_PersonInfo &info)
{
    Agent_ProbeRecord r;
    r.number1 = info.number1;
    r.number2 = info.number2;
    r.number3 = info.number3;
    r.text1 = tq::readField(info.text1);
    r.text2 = tq::readField(info.text2);
    r.text3 = tq::readField(info.text3);
    return r;
}

void ZS_CALL callback_onSetPersonInfo(unsigned int, int reason, unsigned long long version)
{
    tq::logInfo("%1", TQ_WHERE(ProbeCallBack));
    emit Probe_Agent::instance()->sig_onSetInfo(reason, version);
}

void ZS_CALL callback_onGetPersonInfo(unsigned int, int reason, const ZS_PersonInfo *info)
{
    tq::logInfo("%1", TQ_WHERE(ProbeCallBack));
    emit Probe_Agent::instance()->sig_onGetInfo(reason,
                                                info ? fromEngine(*info) : Agent_ProbeRecord());
}

void ZS_CALL callback_onPublishPresence(unsigned int, int reason)
{
    tq::logInfo("%1", TQ_WHERE(ProbeCallBack));
    emit Probe_Agent::instance()->sig_onPublish(reason);
}

void registerCallbacks()
{
    static ZS_GeneralCallBack table = [] {
        ZS_GeneralCallBack t {};
        t.onSetPersonInfo = callback_onSetPersonInfo;
        t.onGetPersonInfo = callback_onGetPersonInfo;
        t.onPublishPresence = callback_onPublishPresence;
        return t;
    }();
    SetGeneralCallBackFuction(&table);
}

} // namespace

// ---- Probe_Agent ------------------------------------------------------------------------------

QAtomicPointer<Probe_Agent> Probe_Agent::ins;
std::atomic_int Probe_Agent::constructions {0};
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
    tq::registerRecords<Agent_ProbeRecord>();
    connect(this, SIGNAL(sig_setInfo(Agent_ProbeRecord)), this,
            SLOT(slot_setInfo(Agent_ProbeRecord)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_getInfo(QString)), this, SLOT(slot_getInfo(QString)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_publish(int, int, QString)), this,
            SLOT(slot_publish(int, int, QString)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_mark(int)), this, SLOT(slot_mark(int)), Qt::AutoConnection);
}

void Probe_Agent::slot_setInfo(Agent_ProbeRecord record)
{
    tq::logInfo("%1", TQ_WHERE(Probe_Agent));
    ZS_PersonInfo info {};
    info.number1 = record.number1;
    info.number2 = record.number2;
    info.number3 = record.number3;
    tq::writeField(info.text1, record.text1);
    tq::writeField(info.text2, record.text2);
    tq::writeField(info.text3, record.text3);
    unsigned int matchKey = 0;
    tq::callEngine(TQ_WHERE(Probe_Agent), SetPersonInfo, &matchKey, &info);
}

void Probe_Agent::slot_getInfo(QString username)
{
    unsigned int matchKey = 0;
    tq::callEngine(TQ_WHERE(Probe_Agent), GetPersonInfo, &matchKey, tq::Utf8Arg(username));
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
std::atomic_int Probe2_Agent::constructions {0};

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
std::atomic_int Stay_Agent::constructions {0};
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
