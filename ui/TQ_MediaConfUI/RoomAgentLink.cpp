#include "RoomAgentLink.h"

#include "RoomState.h"

#include <Vidyo_Agent.h>

void TqRoomAgentLink::link(TqRoomState *state, Vidyo_Agent *agent)
{
    using S = TqRoomState;
    using A = Vidyo_Agent;
    // Requests are emitted on the agent where the state emits them (the window's thread), as
    // a window emitting them itself would.
    const auto direct = Qt::DirectConnection;
    QObject::connect(state, &S::startRequest, agent, &A::signal_StartVidyo, direct);
    QObject::connect(state, &S::leaveRequest, agent, &A::signal_StopVidyo, direct);
    QObject::connect(state, &S::stopRequest, agent, &A::signal_LeaveMeettingStopVidyo, direct);
    QObject::connect(state, &S::micRequest, agent, &A::signal_SetMuteAudioIn, direct);
    QObject::connect(state, &S::speakerRequest, agent, &A::signal_SetMuteAudioOut, direct);
    QObject::connect(state, &S::cameraRequest, agent, &A::signal_SetCamera, direct);
    QObject::connect(state, &S::rectRequest, agent, &A::signal_SetRect, direct);
    QObject::connect(state, &S::shareRequest, agent, &A::signal_StartShareScreent, direct);
    QObject::connect(state, &S::unshareRequest, agent, &A::signal_StopShareScreent, direct);
    QObject::connect(state, &S::dialRequest, agent, &A::signal_DialPassword, direct);

    QObject::connect(agent, &A::signal_onVidyoState, state, &S::onVidyoState);
    QObject::connect(agent, &A::signal_StartVidyofaild, state, &S::onStartFailed);
    QObject::connect(agent, &A::signal_onSetMuteAudioIn, state, &S::onMicMuted);
    QObject::connect(agent, &A::signal_onSetMuteAudioOut, state, &S::onSpeaker);
    QObject::connect(agent, &A::signal_onSetCamera, state, &S::onCamera);
    QObject::connect(agent, &A::signal_onStartShareScreen, state, &S::onShareStarted);
    QObject::connect(agent, &A::signal_onStopShareScreen, state, &S::onShareStopped);
    QObject::connect(agent, &A::signal_currentAccountList, state, &S::onParticipants);
    QObject::connect(agent, &A::signal_onHangUp, state, &S::onHangUp);
    QObject::connect(agent, &A::signal_LeaveMeettingSuccess, state, &S::onLeft);
    QObject::connect(agent, &A::signal_isDialPassword, state, &S::onDialResult);
}
