#include "TqCallAgentLink.h"

#include "TqCallState.h"
#include "TqMediaDevices.h"

#include <Voip_Agent.h>

namespace TqCallAgentLink {

// Requests use the requester as context, so they are emitted at once on its thread.
void link(TqCallState *state, Voip_Agent *agent)
{
    using S = TqCallState;
    using A = Voip_Agent;
    QObject::connect(state, &S::makeCallRequest, state, [agent](int type, const QString &peer) {
        emit agent->sig_makeCall(type, peer);
    });
    QObject::connect(state, &S::currentCallQuery, state,
                     [agent] { emit agent->sig_getCurrentCall(); });
    QObject::connect(state, &S::acceptRequest, state,
                     [agent](const QString &id) { emit agent->sig_acceptCall(id); });
    QObject::connect(state, &S::releaseRequest, state, [agent](const QString &id, int reason) {
        emit agent->sig_releaseCall(id, reason);
    });
    QObject::connect(state, &S::dtmfRequest, state, [agent](const QString &id, char digit) {
        emit agent->sig_sendDTMF(id, digit);
    });
    QObject::connect(state, &S::muteRequest, state,
                     [agent](bool mute) { emit agent->sig_setMute(mute); });
    QObject::connect(state, &S::muteQuery, state, [agent] { emit agent->sig_GetMuteStatus(); });
    QObject::connect(state, &S::switchRequest, state, [agent](const QString &id, int video) {
        emit agent->sig_requestSwitchCallMediaType(id, video);
    });
    QObject::connect(state, &S::switchResponse, state, [agent](const QString &id, int video) {
        emit agent->sig_responseSwitchCallMediaType(id, video);
    });
    QObject::connect(state, &S::volumeRequest, state,
                     [agent](uint volume) { emit agent->sig_setSpeakerVolume(volume); });
    QObject::connect(state, &S::volumeQuery, state,
                     [agent] { emit agent->sig_getSpeakerVolume(); });
    QObject::connect(state, &S::statisticsRequest, state, [agent](const QString &id, bool video) {
        emit agent->sig_getCallStatistics(id, video);
    });

    // Results arrive from the agent's and the engine's threads: queued to the state's thread.
    QObject::connect(agent, &A::sig_onCallEvents, state, &S::onCallEvents);
    QObject::connect(agent, &A::sig_onCallIncoming, state, &S::onCallIncoming);
    QObject::connect(agent, &A::sig_onGetCurrentCall, state, &S::onCurrentCall);
    QObject::connect(agent, &A::sig_onSwitchCallMediaTypeRequest, state, &S::onSwitchRequest);
    QObject::connect(agent, &A::sig_onSwitchCallMediaTypeResponse, state, &S::onSwitchResponse);
    QObject::connect(agent, &A::sig_onVoipRemoteVideoRatio, state, &S::onRemoteVideoRatio);
    QObject::connect(agent, &A::sig_onDtmfReceived, state, &S::onDtmfReceived);
    QObject::connect(agent, &A::sig_OnSetMuteStatus, state, &S::onMuteSet);
    QObject::connect(agent, &A::sig_onGetMuteStatus, state, &S::onMuteStatus);
    QObject::connect(agent, &A::sig_OnGetSpeakerStatus, state, &S::onSpeakerVolume);
    QObject::connect(agent, &A::sig_OnSetSpeakerStatus, state, &S::onSpeakerVolume);
}

void link(TqMediaDevices *devices, Voip_Agent *agent)
{
    QObject::connect(devices, &TqMediaDevices::cameraInfoQuery, devices,
                     [agent] { emit agent->sig_getCameraInfo(); });
    QObject::connect(devices, &TqMediaDevices::cameraSelectRequest, devices,
                     [agent](int camera, int format, int fps, int rotate, bool force) {
                         emit agent->sig_selectCamera(camera, format, fps, rotate, force);
                     });
    QObject::connect(agent, &Voip_Agent::sig_onLocalVideoScale, devices,
                     &TqMediaDevices::onLocalVideoScale);
}

} // namespace TqCallAgentLink
