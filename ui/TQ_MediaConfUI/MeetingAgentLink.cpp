#include "MeetingAgentLink.h"

#include "InterphoneState.h"
#include "MeetingState.h"

#include <Meeting_Agent.h>
#include <Voip_Agent.h>

namespace TqMeetingAgentLink {

// Requests use the requester as context, so they are emitted at once on its thread.
void link(TqMeetingState *state, Meeting_Agent *agent, Voip_Agent *voip)
{
    using S = TqMeetingState;
    using A = Meeting_Agent;
    QObject::connect(
        state, &S::createRequest, state,
        [agent](int type, const QString &name, const QString &password, const QString &keywords,
                int voiceMode, int square, bool autoJoin, bool autoClose, bool autoDelete) {
            emit agent->sig_createMultimediaMeeting(type, name, password, keywords, voiceMode,
                                                    square, autoJoin, autoClose, autoDelete);
        });
    QObject::connect(state, &S::inviteRequest, state,
                     [agent](const QString &id, const QList<QString> &members, bool blanding,
                             bool isSpeak, bool isListen, const QString &disNumber,
                             const QString &userdata) {
                         emit agent->sig_inviteJoinMultiMediaMeeting(id, members, blanding, isSpeak,
                                                                     isListen, disNumber, userdata);
                     });
    QObject::connect(state, &S::acceptRequest, state, [agent](const Agent_MeetingComingInfo &i) {
        emit agent->sig_acceptMeeting(i.meetingType, i.conferenceId, i.callid, i.caller, i.nickname,
                                      i.display, i.sdkUserData);
    });
    QObject::connect(state, &S::exitRequest, state,
                     [agent](const QString &id) { emit agent->sig_exitMeeting(id); });
    QObject::connect(state, &S::dismissRequest, state, [agent](int type, const QString &id) {
        emit agent->sig_dismissMultiMediaMeeting(type, id);
    });
    QObject::connect(state, &S::membersQuery, state, [agent](int type, const QString &id) {
        emit agent->sig_queryMeetingMembers(type, id);
    });
    QObject::connect(state, &S::removeRequest, state,
                     [agent](int type, const QString &id, const QString &member, bool isVoIP) {
                         emit agent->sig_deleteMemberMultiMediaMeeting(type, id, member, isVoIP);
                     });
    QObject::connect(state, &S::publishRequest, state,
                     [agent](const QString &id) { emit agent->sig_publishVideo(id); });
    QObject::connect(state, &S::unpublishRequest, state,
                     [agent](const QString &id) { emit agent->sig_unpublishVideo(id); });
    QObject::connect(
        state, &S::speakListenRequest, state,
        [agent](int type, const QString &id, const QString &member, bool isVoIP, int option) {
            emit agent->sig_setMeetingSpeakListen(type, id, member, isVoIP, option);
        });
    QObject::connect(state, &S::memberVideoRequest, state,
                     [agent](const QString &id, const QString &password, const QString &member,
                             void *window, int type) {
                         emit agent->sig_requestConferenceMemberVideo(id, password, member, window,
                                                                      type);
                     });
    QObject::connect(
        state, &S::memberVideoCancel, state,
        [agent](const QString &id, const QString &password, const QString &member, int type) {
            emit agent->sig_cancelMemberVideo(id, password, member, type);
        });

    // Results arrive from the engine's threads: queued to the state's thread.
    QObject::connect(agent, &A::sig_onCreateMultimediaMeeting, state,
                     &S::onCreateMultimediaMeeting);
    QObject::connect(agent, &A::sig_onJoinMeeting, state, &S::onJoinMeeting);
    QObject::connect(agent, &A::sig_onExitMeeting, state, &S::onExitMeeting);
    QObject::connect(agent, &A::sig_onDismissMultiMediaMeeting, state,
                     &S::onDismissMultiMediaMeeting);
    QObject::connect(agent, &A::sig_onQueryMeetingMembers, state, &S::onQueryMeetingMembers);
    QObject::connect(agent, &A::sig_onInviteJoinMultiMediaMeeting, state,
                     &S::onInviteJoinMultiMediaMeeting);
    QObject::connect(agent, &A::sig_onDeleteMemberMultiMediaMeeting, state,
                     &S::onDeleteMemberMultiMediaMeeting);
    QObject::connect(agent, &A::sig_onPublishVideo, state, &S::onPublishVideo);
    QObject::connect(agent, &A::sig_onUnpublishVideo, state, &S::onUnpublishVideo);
    QObject::connect(agent, &A::sig_onSetMeetingSpeakListen, state, &S::onSetMeetingSpeakListen);
    QObject::connect(agent, &A::sig_onReceiveVoiceMeetingMessage, state, &S::onVoiceMeetingMessage);
    QObject::connect(agent, &A::sig_onReceiveVideoMeetingMessage, state, &S::onVideoMeetingMessage);
    QObject::connect(agent, &A::sig_onMeetingInviteIncoming, state, &S::onMeetingInviteIncoming);
    QObject::connect(agent, &A::sig_onRequestConferenceMemberVideo, state,
                     &S::onRequestConferenceMemberVideo);
    QObject::connect(agent, &A::sig_onCancelConferenceMemberVideo, state,
                     &S::onCancelConferenceMemberVideo);
    QObject::connect(voip, &Voip_Agent::sig_onConfRemoteVideoRatio, state, &S::onRemoteVideoRatio);
}

void link(TqInterphoneState *state, Meeting_Agent *agent)
{
    using S = TqInterphoneState;
    using A = Meeting_Agent;
    QObject::connect(state, &S::createRequest, state, [agent](const QList<QString> &members) {
        emit agent->sig_createInterphoneMeeting(members);
    });
    QObject::connect(state, &S::micRequest, state, [agent](bool isControl, const QString &id) {
        emit agent->sig_controlInterphoneMic(isControl, id);
    });
    QObject::connect(state, &S::exitRequest, state,
                     [agent](const QString &id) { emit agent->sig_exitMeeting(id); });
    QObject::connect(state, &S::membersQuery, state, [agent](int type, const QString &id) {
        emit agent->sig_queryMeetingMembers(type, id);
    });
    QObject::connect(
        state, &S::speakListenRequest, state,
        [agent](int type, const QString &id, const QString &member, bool isVoIP, int option) {
            emit agent->sig_setMeetingSpeakListen(type, id, member, isVoIP, option);
        });

    QObject::connect(agent, &A::sig_onCreateInterphoneMeeting, state,
                     &S::onCreateInterphoneMeeting);
    QObject::connect(agent, &A::sig_onControlInterphoneMic, state, &S::onControlInterphoneMic);
    QObject::connect(agent, &A::sig_onReceiveInterphoneMeetingMessage, state,
                     &S::onInterphoneMessage);
    QObject::connect(agent, &A::sig_onExitInterphoneMeeting, state, &S::onExitInterphoneMeeting);
    QObject::connect(agent, &A::sig_onQueryMeetingMembers, state, &S::onQueryMeetingMembers);
    QObject::connect(agent, &A::sig_onSetMeetingSpeakListen, state, &S::onSetMeetingSpeakListen);
}

} // namespace TqMeetingAgentLink
