#include "Vidyo_Agent.h"

#include "Vidyo_Agent_Imp.h"

#include <AgentFrame.h>

#include <memory>

QAtomicPointer<Vidyo_Agent> Vidyo_Agent::ins;

Vidyo_Agent *Vidyo_Agent::instance()
{
    return tq::agentInstance(ins, [] {
        std::unique_ptr<Vidyo_Agent> agent(new Vidyo_Agent);
        agent->initConnect();
        return agent;
    });
}

Vidyo_Agent *Vidyo_Agent::existing()
{
    return ins.loadAcquire();
}

Vidyo_Agent::Vidyo_Agent()
    : m_imp(new Vidyo_Agent_Imp)
{
    // Registered here, not by each caller: a start emitted on another thread is queued to the
    // worker, and Qt drops a queued call whose argument type it does not know.
    qRegisterMetaType<VidyoDataBase *>("VidyoDataBase*");
}

Vidyo_Agent::~Vidyo_Agent()
{
    ins.testAndSetOrdered(this, nullptr);
    delete m_imp;
}

void Vidyo_Agent::initConnect()
{
    connect(this, &Vidyo_Agent::signal_StartVidyo, this, &Vidyo_Agent::slot_StartVidyo);
    connect(this, &Vidyo_Agent::signal_StopVidyo, this, &Vidyo_Agent::slot_LeaveMeeting);
    connect(this, &Vidyo_Agent::signal_LeaveMeettingStopVidyo, this, &Vidyo_Agent::slot_StopVidyo);
    connect(this, &Vidyo_Agent::signal_SetMuteAudioIn, m_imp,
            &Vidyo_Agent_Imp::slot_SetMuteAudioIn);
    connect(this, &Vidyo_Agent::signal_SetMuteAudioOut, m_imp,
            &Vidyo_Agent_Imp::slot_SetMuteAudioOut);
    connect(this, &Vidyo_Agent::signal_SetCamera, m_imp, &Vidyo_Agent_Imp::slot_SetCamera);
    connect(this, &Vidyo_Agent::signal_SetRect, m_imp, &Vidyo_Agent_Imp::slot_SetRect);
    connect(this, &Vidyo_Agent::signal_StartShareScreent, m_imp,
            &Vidyo_Agent_Imp::slot_StartShareScreen);
    connect(this, &Vidyo_Agent::signal_StopShareScreent, m_imp,
            &Vidyo_Agent_Imp::slot_StopShareScreen);
    connect(this, &Vidyo_Agent::signal_DialPassword, m_imp, &Vidyo_Agent_Imp::slot_onDialPassword);
    connect(this, &Vidyo_Agent::signal_ResetUserShowName, m_imp,
            &Vidyo_Agent_Imp::slot_onResetUserShowName);
}

void Vidyo_Agent::slot_StartVidyo(VidyoDataBase *vidyoDataBase)
{
    m_imp->initVidyo(vidyoDataBase);
    m_imp->startVidyo();
}

void Vidyo_Agent::slot_LeaveMeeting()
{
    m_imp->leaveMeeting();
}

void Vidyo_Agent::slot_StopVidyo()
{
    m_imp->stopVidyo();
}
