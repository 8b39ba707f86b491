#include "ConferenceAgentLink.h"

#include "ConferenceDirectory.h"
#include "ConferenceRoom.h"

#include <Conference_Agent.h>

namespace TqConfAgentLink {

namespace {
// A request signal of a state object, re-emitted as the agent's request signal at once.
template<class Source, class Request>
void forward(Source *source, void (Source::*request)(const Request &), Conference_Agent *agent,
             void (Conference_Agent::*agentSignal)(Request))
{
    QObject::connect(source, request, source,
                     [agent, agentSignal](const Request &r) { emit(agent->*agentSignal)(r); });
}
} // namespace

void link(TqConfDirectory *d, Conference_Agent *agent)
{
    using D = TqConfDirectory;
    using A = Conference_Agent;
    forward(d, &D::listRequest, agent, &A::sig_getConferenceInfoList);
    forward(d, &D::historyRequest, agent, &A::sig_getHistoryConferenceInfoList);
    forward(d, &D::createRequest, agent, &A::sig_createConference);
    forward(d, &D::updateRequest, agent, &A::sig_updateConference);
    forward(d, &D::deleteRequest, agent, &A::sig_deleteConference);
    forward(d, &D::rejectRequest, agent, &A::sig_conferenceMemberRejectInvitation);

    // Results come on the engine's threads: queued to the directory's thread.
    QObject::connect(agent, &A::sig_onGetConferenceInfoList, d, &D::onInfoList);
    QObject::connect(agent, &A::sig_onGetHistoryConferenceInfoList, d, &D::onHistoryList);
    QObject::connect(agent, &A::sig_onCreateConference, d,
                     [d](const Agent_RequestCreateConf &r, int reason, const QString &confId,
                         const QString &) { d->onCreated(r, reason, confId); });
    QObject::connect(agent, &A::sig_onUpdateConference, d,
                     [d](const Agent_RequestUpdateConf &r, int reason, const QString &) {
                         d->onUpdated(r, reason);
                     });
    QObject::connect(agent, &A::sig_onDeleteConference, d,
                     [d](const Agent_RequestDeleteConf &r, int reason, const QString &) {
                         d->onDeleted(r, reason);
                     });
    QObject::connect(agent, &A::sig_onReceivedConferenceInviteNotification, d,
                     [d](const Agent_ConfInviteNtyMsg &m, const QString &) { d->onInvitation(m); });
    QObject::connect(
        agent, &A::sig_onReceivedConferenceAppointmentNotification, d,
        [d](const Agent_ConfAppointmentNtyMsg &m, const QString &) { d->onAppointment(m); });
    QObject::connect(
        agent, &A::sig_onReceivedConferenceBeforeStartNotification, d,
        [d](const Agent_ConfBeforeStartNtyMsg &m, const QString &) { d->onBeforeStart(m); });
    QObject::connect(agent, &A::sig_onReceivedConferenceEndNotification, d,
                     [d](const Agent_ConfEndNtyMsg &m, const QString &) { d->onEnded(m); });
    QObject::connect(agent, &A::sig_onReceivedConferenceNotification, d,
                     [d](const Agent_ConfNtyMsg &m, const QString &) { d->onNotification(m); });
}

void link(TqConfRoom *room, Conference_Agent *agent)
{
    using R = TqConfRoom;
    using A = Conference_Agent;
    forward(room, &R::joinRequest, agent, &A::sig_memberJoinConference);
    forward(room, &R::quitRequest, agent, &A::sig_memberQuitConference);
    forward(room, &R::deleteRequest, agent, &A::sig_deleteConference);
    forward(room, &R::memberListRequest, agent, &A::sig_getConferenceMemberInfoList);
    forward(room, &R::mediaControlRequest, agent, &A::sig_conferenceMediaControl);
    forward(room, &R::kickRequest, agent, &A::sig_conferenceKickoutMember);
    forward(room, &R::roleRequest, agent, &A::sig_setConferenceMemberRole);
    forward(room, &R::recordRequest, agent, &A::sig_conferenceRecord);
    forward(room, &R::recordListRequest, agent, &A::sig_getConfRecordList);
    forward(room, &R::startVoiceRequest, agent, &A::sig_conferenceStartPublishVoice);
    forward(room, &R::stopVoiceRequest, agent, &A::sig_conferenceStopPublishVoice);
    forward(room, &R::startVideoRequest, agent, &A::sig_conferenceStartPublishVideo);
    forward(room, &R::stopVideoRequest, agent, &A::sig_conferenceStopPublishVideo);
    forward(room, &R::startScreenRequest, agent, &A::sig_conferenceStartScreenSharing);
    forward(room, &R::stopScreenRequest, agent, &A::sig_conferenceStopScreenSharing);

    QObject::connect(agent, &A::sig_onMemberJoinConference, room,
                     [room](const Agent_RequestMemberJoinConf &r, int reason,
                            const Agent_ConfInfo &info,
                            const QString &) { room->onJoined(r, reason, info); });
    QObject::connect(agent, &A::sig_onMemberQuitConference, room,
                     [room](const Agent_RequestMemberQuitConf &r, int reason, const QString &) {
                         room->onQuit(r, reason);
                     });
    QObject::connect(agent, &A::sig_onGetConferenceMemberInfoList, room,
                     [room](const Agent_RequestGetConfMemberInfoList &r, int reason,
                            const QString &confId, const QList<Agent_ConferenceMemberInfo> &list,
                            const QString &) { room->onMemberList(r, reason, confId, list); });
    QObject::connect(
        agent, &A::sig_onReceivedConferenceNotification, room,
        [room](const Agent_ConfNtyMsg &m, const QString &) { room->onNotification(m); });
    QObject::connect(
        agent, &A::sig_onReceivedConferenceEndNotification, room,
        [room](const Agent_ConfEndNtyMsg &m, const QString &) { room->onEndNotification(m); });
    QObject::connect(
        agent, &A::sig_onReceivedConferenceBeforeEndNotification, room,
        [room](const Agent_ConfBeforeEndNtyMsg &m, const QString &) { room->onBeforeEnd(m); });
    QObject::connect(agent, &A::sig_onConferenceMediaControl, room,
                     [room](const Agent_RequestConfMediaControl &r, int reason, const QString &) {
                         room->onMediaControl(r, reason);
                     });
    QObject::connect(agent, &A::sig_onConferenceKickoutMember, room,
                     [room](const Agent_RequestConfKickoutMember &r, int reason, const QString &,
                            const QList<Agent_FaildConferenceMemberInfo> &failed,
                            const QString &) { room->onKickout(r, reason, failed); });
    QObject::connect(agent, &A::sig_onSetConferenceMemberRole, room,
                     [room](const Agent_RequestSetConfMemberRole &r, const QString &, int reason,
                            const QString &) { room->onRoleSet(r, reason); });
    QObject::connect(agent, &A::sig_onConferenceRecord, room,
                     [room](const Agent_RequestConfRecord &r, int reason, const QString &) {
                         room->onRecord(r, reason);
                     });
    QObject::connect(agent, &A::sig_onGetConferenceRecordList, room, &R::onRecordList);
    QObject::connect(agent, &A::sig_onDeleteConference, room,
                     [room](const Agent_RequestDeleteConf &r, int reason, const QString &) {
                         room->onDeleted(r, reason);
                     });
    const auto published = [room](const auto &r, int reason, const QString &) {
        room->onPublished(r.confId, reason);
    };
    QObject::connect(agent, &A::sig_onConferenceStartPublishVoice, room, published);
    QObject::connect(agent, &A::sig_onConferenceStopPublishVoice, room, published);
    QObject::connect(agent, &A::sig_onConferenceStartPublishVideo, room, published);
    QObject::connect(agent, &A::sig_onConferenceStopPublishVideo, room, published);
    QObject::connect(agent, &A::sig_onConferenceStartScreenSharing, room, published);
    QObject::connect(agent, &A::sig_onConferenceStopScreenSharing, room, published);
}

} // namespace TqConfAgentLink
