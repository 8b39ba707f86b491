#include "Meeting_CallBackProxy.h"

#include "MeetingConvert.h"
#include "Meeting_Agent.h"

#include <AgentLog.h>
#include <AgentShutdown.h>
#include <FixedField.h>

using tq::fromEngineText;

namespace {

#define WHERE TQ_WHERE(Meeting_CallBackProxy)

Meeting_Agent *agent()
{
    return Meeting_Agent::instance();
}

// The record of a result. A result without its record still answers its request, with an
// empty record.
template<class Record> auto resultRecord(tq::Where where, const Record *record)
{
    using Value = decltype(meeting::fromEngine(*record));
    if (record)
        return meeting::fromEngine(*record);
    tq::logError("%1,null record", where);
    return Value();
}

// An event without its record has nothing to report: false, and nothing is emitted.
template<class Record> bool received(tq::Where where, const Record *record)
{
    if (!record)
        tq::logError("%1,null record", where);
    return record != nullptr;
}

void ZS_CALL callback_onCreateInterphoneMeeting(unsigned int, int reason, const char *interphoneId)
{
    tq::logInfo("%1", WHERE);
    emit agent()->sig_onCreateInterphoneMeeting(reason, fromEngineText(interphoneId));
}

void ZS_CALL callback_onControlInterphoneMic(unsigned int, int reason, const char *controller,
                                             const char *interphoneId, ZS_Bool8 requestIsControl)
{
    tq::logInfo("%1", WHERE);
    emit agent()->sig_onControlInterphoneMic(reason, fromEngineText(controller),
                                             fromEngineText(interphoneId),
                                             tq::engineFlag(requestIsControl));
}

void ZS_CALL callback_onReceiveInterphoneMeetingMessage(const ZS_InterphoneMsg *msg)
{
    tq::logInfo("%1", WHERE);
    if (received(WHERE, msg))
        emit agent()->sig_onReceiveInterphoneMeetingMessage(meeting::fromEngine(*msg));
}

void ZS_CALL callback_onMeetingInviteIncoming(const ZS_MeetingInvitation *invitation)
{
    tq::logInfo("%1", WHERE);
    // An invitation without its record could be neither shown nor accepted.
    if (received(WHERE, invitation))
        emit agent()->sig_onMeetingInviteIncoming(meeting::fromEngine(*invitation));
}

void ZS_CALL callback_onReceiveVoiceMeetingMessage(const ZS_VoiceMeetingMsg *msg)
{
    tq::logInfo("%1", WHERE);
    if (received(WHERE, msg))
        emit agent()->sig_onReceiveVoiceMeetingMessage(meeting::fromEngine(*msg));
}

void ZS_CALL callback_onReceiveVideoMeetingMessage(const ZS_VideoMeetingMsg *msg)
{
    tq::logInfo("%1", WHERE);
    if (received(WHERE, msg))
        emit agent()->sig_onReceiveVideoMeetingMessage(meeting::fromEngine(*msg));
}

void ZS_CALL callback_onCreateMultimediaMeeting(unsigned int, int reason,
                                                const ZS_MeetingInfo *meetingInfo)
{
    tq::logInfo("%1", WHERE);
    emit agent()->sig_onCreateMultimediaMeeting(reason, resultRecord(WHERE, meetingInfo));
}

void ZS_CALL callback_onJoinMeeting(int reason, const char *conferenceId)
{
    tq::logInfo("%1", WHERE);
    emit agent()->sig_onJoinMeeting(reason, fromEngineText(conferenceId));
}

// A null array or a negative count is an empty list; the elements are read in array order.
void ZS_CALL callback_onQueryMeetingMembers(unsigned int, int reason, const char *conferenceId,
                                            int count, const ZS_MeetingMemberInfo *members)
{
    tq::logInfo("%1", WHERE);
    emit agent()->sig_onQueryMeetingMembers(
        reason, fromEngineText(conferenceId),
        tq::convertArray(members, count, [](const ZS_MeetingMemberInfo &member) {
            return meeting::fromEngine(member);
        }));
}

void ZS_CALL callback_onDismissMultiMediaMeeting(unsigned int, int reason, const char *conferenceId)
{
    tq::logInfo("%1", WHERE);
    emit agent()->sig_onDismissMultiMediaMeeting(reason, fromEngineText(conferenceId));
}

void ZS_CALL callback_onQueryMultiMediaMeetings(unsigned int, int reason, int count,
                                                const ZS_MeetingInfo *meetings)
{
    tq::logInfo("%1", WHERE);
    emit agent()->sig_onQueryMultiMediaMeetings(
        reason, tq::convertArray(meetings, count, [](const ZS_MeetingInfo &meetingInfo) {
            return meeting::fromEngine(meetingInfo);
        }));
}

void ZS_CALL callback_onDeleteMemberMultiMediaMeeting(unsigned int, int reason,
                                                      const ZS_MeetingDeleteMemberInfo *info)
{
    tq::logInfo("%1", WHERE);
    emit agent()->sig_onDeleteMemberMultiMediaMeeting(reason, resultRecord(WHERE, info));
}

void ZS_CALL callback_onInviteJoinMultiMediaMeeting(unsigned int, int reason,
                                                    const ZS_MeetingInviteResult *result)
{
    tq::logInfo("%1", WHERE);
    emit agent()->sig_onInviteJoinMultiMediaMeeting(reason, resultRecord(WHERE, result));
}

void ZS_CALL callback_onPublishVideo(unsigned int, int reason, const char *conferenceId)
{
    tq::logInfo("%1", WHERE);
    emit agent()->sig_onPublishVideo(reason, fromEngineText(conferenceId));
}

void ZS_CALL callback_onUnpublishVideo(unsigned int, int reason, const char *conferenceId)
{
    tq::logInfo("%1", WHERE);
    emit agent()->sig_onUnpublishVideo(reason, fromEngineText(conferenceId));
}

void ZS_CALL callback_onRequestConferenceMemberVideo(int reason, const char *conferenceId,
                                                     const char *member, int type)
{
    tq::logInfo("%1", WHERE);
    emit agent()->sig_onRequestConferenceMemberVideo(reason, fromEngineText(conferenceId),
                                                     fromEngineText(member), type);
}

void ZS_CALL callback_onCancelConferenceMemberVideo(int reason, const char *conferenceId,
                                                    const char *member, int type)
{
    tq::logInfo("%1", WHERE);
    emit agent()->sig_onCancelConferenceMemberVideo(reason, fromEngineText(conferenceId),
                                                    fromEngineText(member), type);
}

void ZS_CALL callback_onExitMeeting(const char *conferenceId)
{
    tq::logInfo("%1", WHERE);
    emit agent()->sig_onExitMeeting(fromEngineText(conferenceId));
}

void ZS_CALL callback_onExitInterphoneMeeting(const char *interphoneId)
{
    tq::logInfo("%1", WHERE);
    emit agent()->sig_onExitInterphoneMeeting(fromEngineText(interphoneId));
}

void ZS_CALL callback_onSetMeetingSpeakListen(unsigned int, int reason,
                                              const ZS_MeetingSpeakListenInfo *info)
{
    tq::logInfo("%1", WHERE);
    emit agent()->sig_onSetMeetingSpeakListen(reason, resultRecord(WHERE, info));
}

#undef WHERE

} // namespace

Meeting_CallBackProxy *Meeting_CallBackProxy::instance()
{
    static Meeting_CallBackProxy *const proxy = new Meeting_CallBackProxy;
    return proxy;
}

void Meeting_CallBackProxy::registerCallbacks()
{
    // Entries 20 to 23 stay null.
    static ZS_MeetingCallBack table = [] {
        ZS_MeetingCallBack t{};
        t.onCreateInterphoneMeeting = tq::gated<callback_onCreateInterphoneMeeting>;
        t.onControlInterphoneMic = tq::gated<callback_onControlInterphoneMic>;
        t.onReceiveInterphoneMeetingMessage = tq::gated<callback_onReceiveInterphoneMeetingMessage>;
        t.onMeetingInviteIncoming = tq::gated<callback_onMeetingInviteIncoming>;
        t.onReceiveVoiceMeetingMessage = tq::gated<callback_onReceiveVoiceMeetingMessage>;
        t.onReceiveVideoMeetingMessage = tq::gated<callback_onReceiveVideoMeetingMessage>;
        t.onCreateMultimediaMeeting = tq::gated<callback_onCreateMultimediaMeeting>;
        t.onJoinMeeting = tq::gated<callback_onJoinMeeting>;
        t.onQueryMeetingMembers = tq::gated<callback_onQueryMeetingMembers>;
        t.onDismissMultiMediaMeeting = tq::gated<callback_onDismissMultiMediaMeeting>;
        t.onQueryMultiMediaMeetings = tq::gated<callback_onQueryMultiMediaMeetings>;
        t.onDeleteMemberMultiMediaMeeting = tq::gated<callback_onDeleteMemberMultiMediaMeeting>;
        t.onInviteJoinMultiMediaMeeting = tq::gated<callback_onInviteJoinMultiMediaMeeting>;
        t.onPublishVideo = tq::gated<callback_onPublishVideo>;
        t.onUnpublishVideo = tq::gated<callback_onUnpublishVideo>;
        t.onRequestConferenceMemberVideo = tq::gated<callback_onRequestConferenceMemberVideo>;
        t.onCancelConferenceMemberVideo = tq::gated<callback_onCancelConferenceMemberVideo>;
        t.onExitMeeting = tq::gated<callback_onExitMeeting>;
        t.onExitInterphoneMeeting = tq::gated<callback_onExitInterphoneMeeting>;
        t.onSetMeetingSpeakListen = tq::gated<callback_onSetMeetingSpeakListen>;
        return t;
    }();
    m_table = &table;
    const int ret = SetMeetingCallBackFuction(m_table);
    if (ret != 0)
        tq::logError("%1,ret=%2", TQ_WHERE(Meeting_CallBackProxy), ret);
}
