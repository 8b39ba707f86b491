#include "Conference_CallBack.h"

#include "ConfConvert.h"
#include "Conference_Agent.h"

#include <AgentLog.h>
#include <AgentShutdown.h>
#include <FixedField.h>
#include <PendingIssue.h>

#include <QDebug>

using tq::fromEngineText;

namespace {

Conference_Agent *agent()
{
    return Conference_Agent::instance();
}

// The request an answer belongs to, taken out of the store; a default one when it is not
// there (never stored, already answered, or of another type).
template<class Request> Request takeRequest(unsigned int matchKey)
{
    QVariant stored;
    tq::takePending(matchKey, stored);
    return stored.canConvert<Request>() ? stored.value<Request>() : Request();
}

// ---- answers ----------------------------------------------------------------------------------

void ZS_CALL callback_onCreateConference(unsigned int matchKey, int reason, const char *confId,
                                         const char *jsonString)
{
    const QString id = fromEngineText(confId);
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1, reason=%2, confId=%3, jsonString=%4", TQ_WHERE(Conference_CallBack), reason,
                id, json);
    emit agent()->sig_onCreateConference(takeRequest<Agent_RequestCreateConf>(matchKey), reason, id,
                                         json);
}

void ZS_CALL callback_onDeleteConference(unsigned int matchKey, int reason, const char *jsonString)
{
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1, reason=%2, jsonString=%3", TQ_WHERE(Conference_CallBack), reason, json);
    emit agent()->sig_onDeleteConference(takeRequest<Agent_RequestDeleteConf>(matchKey), reason,
                                         json);
}

void ZS_CALL callback_onUpdateConference(unsigned int matchKey, int reason, const char *jsonString)
{
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1, reason=%2, jsonString=%3", TQ_WHERE(Conference_CallBack), reason, json);
    emit agent()->sig_onUpdateConference(takeRequest<Agent_RequestUpdateConf>(matchKey), reason,
                                         json);
}

void ZS_CALL callback_onGetConferenceInfo(unsigned int matchKey, int reason,
                                          const ZS_ConfInfo *info, const char *jsonString)
{
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,reason=%2,jsonString=%3", TQ_WHERE(Conference_CallBack), reason, json);
    const Agent_ConfInfo conference
        = conf::toConfInfo(info, conf::JoinFields::Skip, conf::Topic::Extracted);
    emit agent()->sig_onGetConferenceInfo(takeRequest<Agent_RequestGetConfInfo>(matchKey), reason,
                                          conference, json);
}

// The conferences of a list answer, each logged; false (and logged) for a null array.
bool conferenceList(tq::Where where, int reason, int count, const ZS_ConfInfo *infos,
                    QList<Agent_ConfInfo> &list)
{
    if (!infos) {
        tq::logInfo("%1,reason=%2,count=%3,%4", where, reason, count, "查询会议列表异常");
        return false;
    }
    list = tq::convertArray(infos, count, [where](const ZS_ConfInfo &info) {
        Agent_ConfInfo c = conf::toConfInfo(&info, conf::JoinFields::Skip, conf::Topic::Extracted);
        tq::logInfo("%8,creator=%1,confId=%2,memberCount=%3,startTime=%4,createTime=%5,"
                    "updateTime=%6,reserveStartTime=%7",
                    c.creator, c.confId, c.memberCount, c.startTime, c.createTime, c.updateTime,
                    c.reserveStartTime, where);
        return c;
    });
    return true;
}

void ZS_CALL callback_onGetConferenceInfoList(unsigned int matchKey, int reason, int count,
                                              const ZS_ConfInfo *infos, const char *jsonString)
{
    const tq::Where where = TQ_WHERE(Conference_CallBack);
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,reason=%2,jsonString=%3, count=%4", where, reason, json, count);
    QList<Agent_ConfInfo> list;
    if (!conferenceList(where, reason, count, infos, list))
        return;
    emit agent()->sig_onGetConferenceInfoList(takeRequest<Agent_RequestGetConfInfoList>(matchKey),
                                              reason, list, json);
}

void ZS_CALL callback_onGetHistoryConferenceInfoList(unsigned int matchKey, int reason, int count,
                                                     const ZS_ConfInfo *infos,
                                                     const char *jsonString)
{
    const tq::Where where = TQ_WHERE(Conference_CallBack);
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,reason=%2,count=%3,jsonString=%4", where, reason, count, json);
    QList<Agent_ConfInfo> list;
    if (!conferenceList(where, reason, count, infos, list))
        return;
    emit agent()->sig_onGetHistoryConferenceInfoList(
        takeRequest<Agent_RequestGetHistoryConfInfoList>(matchKey), reason, list, json);
}

void ZS_CALL callBack_onLockConference(unsigned int matchKey, const char *confId, int reason,
                                       const char *jsonString)
{
    const QString id = fromEngineText(confId);
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,confId=%2,reason=%3,jsonString=%4", TQ_WHERE(Conference_CallBack), id, reason,
                json);
    emit agent()->sig_onLockConference(takeRequest<Agent_RequestLockConf>(matchKey), id, reason,
                                       json);
}

void ZS_CALL callback_onMemberJoinConference(unsigned int matchKey, int reason,
                                             const ZS_ConfInfo *info, const char *jsonString)
{
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,reason=%2,jsonString=%3", TQ_WHERE(Conference_CallBack), reason, json);
    // The answer to joining keeps its topic text as it came, and carries the join fields.
    const Agent_ConfInfo conference
        = conf::toConfInfo(info, conf::JoinFields::Read, conf::Topic::Raw);
    emit agent()->sig_onMemberJoinConference(takeRequest<Agent_RequestMemberJoinConf>(matchKey),
                                             reason, conference, json);
}

void ZS_CALL callback_onMemberQuitConference(unsigned int matchKey, int reason,
                                             const char *jsonString)
{
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,reason=%2,jsonString=%3", TQ_WHERE(Conference_CallBack), reason, json);
    emit agent()->sig_onMemberQuitConference(takeRequest<Agent_RequestMemberQuitConf>(matchKey),
                                             reason, json);
}

void ZS_CALL callback_onUpdateConferenceMember(unsigned int matchKey, int reason,
                                               const char *jsonString)
{
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,reason=%2,jsonString=%3", TQ_WHERE(Conference_CallBack), reason, json);
    emit agent()->sig_onUpdateConferenceMember(takeRequest<Agent_RequestUpdateConfMember>(matchKey),
                                               reason, json);
}

void ZS_CALL callback_onGetConferenceMemberInfo(unsigned int matchKey, int reason,
                                                const char *confId, const ZS_ConfMemberInfo *info,
                                                const char *jsonString)
{
    const QString id = fromEngineText(confId);
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,reason=%2,confId=%4,jsonString=%3", TQ_WHERE(Conference_CallBack), reason, json,
                id);
    const Agent_ConferenceMemberInfo member
        = info ? conf::toMemberInfo(*info, conf::DeviceType::Skip) : Agent_ConferenceMemberInfo();
    emit agent()->sig_onGetConferenceMemberInfo(
        takeRequest<Agent_RequestGetConfMemberInfo>(matchKey), reason, id, member, json);
}

void ZS_CALL callback_onGetConferenceMemberInfoList(unsigned int matchKey, int reason,
                                                    const char *confId, int count,
                                                    const ZS_ConfMemberInfo *members,
                                                    const char *jsonString)
{
    const tq::Where where = TQ_WHERE(Conference_CallBack);
    const QString id = fromEngineText(confId);
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,reason=%2,jsonString=%3,count=%4,confId=%5", where, reason, json, count, id);
    const QByteArray name = tq::logText(where).toLatin1();
    const QList<Agent_ConferenceMemberInfo> list
        = tq::convertArray(members, count, [&name](const ZS_ConfMemberInfo &m) {
              Agent_ConferenceMemberInfo member = conf::toMemberInfo(m, conf::DeviceType::Read);
              qDebug() << name.constData() << member.flag3 << member.memberId << member.text2;
              return member;
          });
    emit agent()->sig_onGetConferenceMemberInfoList(
        takeRequest<Agent_RequestGetConfMemberInfoList>(matchKey), reason, id, list, json);
}

void ZS_CALL callback_onGetHistoryConferenceMemberInfoList(unsigned int matchKey,
                                                           const char *confId, int reason,
                                                           int count,
                                                           const ZS_ConfMemberInfo *members,
                                                           const char *jsonString)
{
    const QString id = fromEngineText(confId);
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,reason=%2,jsonString=%3,count=%4,confId=%5", TQ_WHERE(Conference_CallBack),
                reason, json, count, id);
    const QList<Agent_ConferenceMemberInfo> list
        = tq::convertArray(members, count, [](const ZS_ConfMemberInfo &m) {
              return conf::toMemberInfo(m, conf::DeviceType::Skip);
          });
    emit agent()->sig_onGetHistoryConferenceMemberInfoList(
        takeRequest<Agent_RequestGetHistoryConferenceMemberInfoList>(matchKey), reason, id, list,
        json);
}

void ZS_CALL callback_onConferenceInviteMember(unsigned int matchKey, int reason,
                                               const char *confId, int count,
                                               const ZS_ConfFailedMember *failed,
                                               const char *jsonString)
{
    const QString id = fromEngineText(confId);
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,reason=%2,jsonString=%3,confId=%4", TQ_WHERE(Conference_CallBack), reason, json,
                id);
    emit agent()->sig_onConferenceInviteMember(
        takeRequest<Agent_RequestConfInviteMember>(matchKey), reason, id,
        tq::convertArray(failed, count, conf::toFailedMember), json);
}

void ZS_CALL callback_onConferenceMemberRejectInvitation(unsigned int matchKey, const char *confId,
                                                         int reason, const char *jsonString)
{
    const QString id = fromEngineText(confId);
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,reason=%2,jsonString=%3,confId=%4", TQ_WHERE(Conference_CallBack), reason, json,
                id);
    emit agent()->sig_onConferenceMemberRejectInvitation(
        takeRequest<Agent_RequestConfMemberRejectInvitation>(matchKey), id, reason, json);
}

void ZS_CALL callback_onConferenceKickoutMember(unsigned int matchKey, int reason,
                                                const char *confId, int count,
                                                const ZS_ConfFailedMember *failed,
                                                const char *jsonString)
{
    const QString id = fromEngineText(confId);
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,reason=%2,jsonString=%3,confId=%4", TQ_WHERE(Conference_CallBack), reason, json,
                id);
    emit agent()->sig_onConferenceKickoutMember(
        takeRequest<Agent_RequestConfKickoutMember>(matchKey), reason, id,
        tq::convertArray(failed, count, conf::toFailedMember), json);
}

void ZS_CALL callback_onSetConferenceMemberRole(unsigned int matchKey, const char *confId,
                                                int reason, const char *jsonString)
{
    const QString id = fromEngineText(confId);
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,confId=%2,reason=%3,jsonString=%4", TQ_WHERE(Conference_CallBack), id, reason,
                json);
    emit agent()->sig_onSetConferenceMemberRole(
        takeRequest<Agent_RequestSetConfMemberRole>(matchKey), id, reason, json);
}

void ZS_CALL callback_onConferenceSendCmd(unsigned int matchKey, const char *confId, int reason,
                                          const char *jsonString)
{
    const QString id = fromEngineText(confId);
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,confId=%2,reason=%3,jsonString=%4", TQ_WHERE(Conference_CallBack), id, reason,
                json);
    emit agent()->sig_onConferenceSendCmd(takeRequest<Agent_RequestConfSendCmd>(matchKey), id,
                                          reason, json);
}

void ZS_CALL callback_onConferenceMediaControl(unsigned int matchKey, int reason,
                                               const char *jsonString)
{
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,reason=%2,jsonString=%3", TQ_WHERE(Conference_CallBack), reason, json);
    emit agent()->sig_onConferenceMediaControl(takeRequest<Agent_RequestConfMediaControl>(matchKey),
                                               reason, json);
}

void ZS_CALL callback_onConferenceRecord(unsigned int matchKey, int reason, const char *jsonString)
{
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,reason=%2,jsonString=%3", TQ_WHERE(Conference_CallBack), reason, json);
    emit agent()->sig_onConferenceRecord(takeRequest<Agent_RequestConfRecord>(matchKey), reason,
                                         json);
}

void ZS_CALL callback_onGetConferenceRecordList(unsigned int matchKey, const char *confId,
                                                int reason, int count,
                                                const ZS_ConfRecordFile *files)
{
    const QString id = fromEngineText(confId);
    tq::logInfo("%1,reason=%2,confId=%3,count=%4", TQ_WHERE(Conference_CallBack), reason, id,
                count);
    // Only a successful answer has files to read.
    QList<Agent_ConfRecordFile> list;
    if (reason == ZS_REASON_SUCCESS)
        list = tq::convertArray(files, count, conf::toRecordFile);
    emit agent()->sig_onGetConferenceRecordList(takeRequest<Agent_RequestConfRecordList>(matchKey),
                                                reason, list);
}

void ZS_CALL callback_onConferenceAudioPlay(unsigned int, int reason, const char *jsonString)
{
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,reason=%2,jsonString=%3", TQ_WHERE(Conference_CallBack), reason, json);
    emit agent()->sig_onConferenceAudioPlay(reason, json);
}

// The six publishing answers share one shape: the request back, the reason and the text.
template<class Request>
void published(tq::Where where, unsigned int matchKey, int reason, const char *jsonString,
               void (Conference_Agent::*signal)(Request, int, QString))
{
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,reason=%2,jsonString=%3", where, reason, json);
    emit(agent()->*signal)(takeRequest<Request>(matchKey), reason, json);
}

void ZS_CALL callback_onConferenceStartPublishVideo(unsigned int matchKey, int reason,
                                                    const char *jsonString)
{
    published(TQ_WHERE(Conference_CallBack), matchKey, reason, jsonString,
              &Conference_Agent::sig_onConferenceStartPublishVideo);
}

void ZS_CALL callback_onConferenceStopPublishVideo(unsigned int matchKey, int reason,
                                                   const char *jsonString)
{
    published(TQ_WHERE(Conference_CallBack), matchKey, reason, jsonString,
              &Conference_Agent::sig_onConferenceStopPublishVideo);
}

void ZS_CALL callback_onConferenceStartScreenSharing(unsigned int matchKey, int reason,
                                                     const char *jsonString)
{
    published(TQ_WHERE(Conference_CallBack), matchKey, reason, jsonString,
              &Conference_Agent::sig_onConferenceStartScreenSharing);
}

void ZS_CALL callback_onConferenceStopScreenSharing(unsigned int matchKey, int reason,
                                                    const char *jsonString)
{
    published(TQ_WHERE(Conference_CallBack), matchKey, reason, jsonString,
              &Conference_Agent::sig_onConferenceStopScreenSharing);
}

void ZS_CALL callback_onConferenceStartPublishVoice(unsigned int matchKey, int reason,
                                                    const char *jsonString)
{
    published(TQ_WHERE(Conference_CallBack), matchKey, reason, jsonString,
              &Conference_Agent::sig_onConferenceStartPublishVoice);
}

void ZS_CALL callback_onConferenceStopPublishVoice(unsigned int matchKey, int reason,
                                                   const char *jsonString)
{
    published(TQ_WHERE(Conference_CallBack), matchKey, reason, jsonString,
              &Conference_Agent::sig_onConferenceStopPublishVoice);
}

// The member-video answers carry no key: nothing was stored for them.
template<class Signal>
void memberVideo(tq::Where where, int reason, const char *confId, const char *member,
                 int mediaSourceType, const char *jsonString, Signal signal)
{
    const QString id = fromEngineText(confId);
    const QString who = fromEngineText(member);
    const QString json = fromEngineText(jsonString);
    tq::logInfo("%1,reason=%2,jsonString=%3,member=%4,mediaSourceType=%5,confId=%6", where, reason,
                json, who, mediaSourceType, id);
    emit(agent()->*signal)(reason, id, who, mediaSourceType, json);
}

void ZS_CALL callback_onConferenceRequestMemberVideo(int reason, const char *confId,
                                                     const char *member, int mediaSourceType,
                                                     const char *jsonString)
{
    memberVideo(TQ_WHERE(Conference_CallBack), reason, confId, member, mediaSourceType, jsonString,
                &Conference_Agent::sig_onConferenceRequestMemberVideo);
}

void ZS_CALL callback_onConferenceCancelMemberVideo(int reason, const char *confId,
                                                    const char *member, int mediaSourceType,
                                                    const char *jsonString)
{
    memberVideo(TQ_WHERE(Conference_CallBack), reason, confId, member, mediaSourceType, jsonString,
                &Conference_Agent::sig_onConferenceCancelMemberVideo);
}

void ZS_CALL callback_onConferenceGetAppSetting(unsigned int, int reason,
                                                const ZS_ConfAppSetting *setting)
{
    emit agent()->sig_onConferenceGetAppSetting(reason, conf::toAppSetting(setting));
}

// ---- notifications ----------------------------------------------------------------------------

void ZS_CALL callback_onReceivedConferenceNotification(const ZS_ConfNotification *nty,
                                                       const char *jsonString)
{
    const tq::Where where = TQ_WHERE(Conference_CallBack);
    tq::logInfo("%1", where);
    Agent_ConfNtyMsg msg;
    if (nty) {
        const QList<Agent_ConfKickMember> kicked = tq::convertArray(
            nty->kickMembers, nty->kickMemberCount, [where](const ConfTargetEntry &entry) {
                const Agent_ConfKickMember member = conf::toKickMember(entry);
                tq::logInfo("%1,kickMemberInfo.deviceType=%2", where, member.deviceType);
                return member;
            });
        const QList<Agent_ConfNtyMember> members = tq::convertArray(
            nty->members, nty->memberCount, [where](const ZS_ConfNtyMember &entry) {
                const Agent_ConfNtyMember member = conf::toNtyMember(entry);
                tq::logInfo("%1,confNtyMemberInfo.deviceType=%2", where, member.deviceType);
                return member;
            });
        msg = conf::toNtyMsg(*nty);
        msg.kickMembers = kicked;
        msg.kickMemberCount = kicked.size();
        msg.members = members;
        msg.memberCount = members.size();
        tq::logInfo("%1,confNtyMsg.deviceType=%2", where, msg.deviceType);
    }
    emit agent()->sig_onReceivedConferenceNotification(msg, fromEngineText(jsonString));
}

void ZS_CALL callback_onReceivedConferenceInviteNotification(const ZS_ConfInviteNotification *nty,
                                                             const char *jsonString)
{
    const Agent_ConfInviteNtyMsg msg = conf::toInviteNty(nty);
    tq::logInfo("%1", TQ_WHERE(Conference_CallBack));
    emit agent()->sig_onReceivedConferenceInviteNotification(msg, fromEngineText(jsonString));
}

void ZS_CALL callback_onReceivedConferenceAppointmentNotification(
    const ZS_ConfAppointmentNotification *nty, const char *jsonString)
{
    const Agent_ConfAppointmentNtyMsg msg = conf::toAppointmentNty(nty);
    tq::logInfo("%1", TQ_WHERE(Conference_CallBack));
    emit agent()->sig_onReceivedConferenceAppointmentNotification(msg, fromEngineText(jsonString));
}

void ZS_CALL callback_onReceivedConferenceBeforeStartNotification(
    const ZS_ConfReminderNotification *nty, const char *jsonString)
{
    const Agent_ConfBeforeStartNtyMsg msg = conf::toBeforeStartNty(nty);
    tq::logInfo("%1", TQ_WHERE(Conference_CallBack));
    emit agent()->sig_onReceivedConferenceBeforeStartNotification(msg, fromEngineText(jsonString));
}

void ZS_CALL callback_onReceivedConferenceBeforeEndNotification(
    const ZS_ConfReminderNotification *nty, const char *jsonString)
{
    const Agent_ConfBeforeEndNtyMsg msg = conf::toBeforeEndNty(nty);
    tq::logInfo("%1", TQ_WHERE(Conference_CallBack));
    emit agent()->sig_onReceivedConferenceBeforeEndNotification(msg, fromEngineText(jsonString));
}

void ZS_CALL callback_onReceivedConferenceEndNotification(const ZS_ConfEndNotification *nty,
                                                          const char *jsonString)
{
    const Agent_ConfEndNtyMsg msg = conf::toEndNty(nty);
    tq::logInfo("%1", TQ_WHERE(Conference_CallBack));
    emit agent()->sig_onReceivedConferenceEndNotification(msg, fromEngineText(jsonString));
}

} // namespace

Conference_CallBack *Conference_CallBack::instance()
{
    static Conference_CallBack *const callBack = new Conference_CallBack;
    return callBack;
}

void Conference_CallBack::initConferenceCallBack()
{
    qDebug() << "__________initConferenceCallBack__________";
    static ZS_ConfCallBack table = [] {
        ZS_ConfCallBack t{};
        t.onReceivedConferenceNotification = tq::gated<callback_onReceivedConferenceNotification>;
        t.onCreateConference = tq::gated<callback_onCreateConference>;
        t.onDeleteConference = tq::gated<callback_onDeleteConference>;
        t.onUpdateConference = tq::gated<callback_onUpdateConference>;
        t.onGetConferenceInfo = tq::gated<callback_onGetConferenceInfo>;
        t.onGetConferenceInfoList = tq::gated<callback_onGetConferenceInfoList>;
        t.onGetHistoryConferenceInfoList = tq::gated<callback_onGetHistoryConferenceInfoList>;
        t.onLockConference = tq::gated<callBack_onLockConference>;
        t.onMemberJoinConference = tq::gated<callback_onMemberJoinConference>;
        t.onMemberQuitConference = tq::gated<callback_onMemberQuitConference>;
        t.onUpdateConferenceMember = tq::gated<callback_onUpdateConferenceMember>;
        t.onGetConferenceMemberInfo = tq::gated<callback_onGetConferenceMemberInfo>;
        t.onGetConferenceMemberInfoList = tq::gated<callback_onGetConferenceMemberInfoList>;
        t.onConferenceInviteMember = tq::gated<callback_onConferenceInviteMember>;
        t.onConferenceMemberRejectInvitation
            = tq::gated<callback_onConferenceMemberRejectInvitation>;
        t.onConferenceKickoutMember = tq::gated<callback_onConferenceKickoutMember>;
        t.onSetConferenceMemberRole = tq::gated<callback_onSetConferenceMemberRole>;
        t.onGetHistoryConferenceMemberInfoList
            = tq::gated<callback_onGetHistoryConferenceMemberInfoList>;
        t.onConferenceSendCmd = tq::gated<callback_onConferenceSendCmd>;
        t.onConferenceMediaControl = tq::gated<callback_onConferenceMediaControl>;
        t.onConferenceRecord = tq::gated<callback_onConferenceRecord>;
        t.onGetConferenceRecordList = tq::gated<callback_onGetConferenceRecordList>;
        t.onConferenceAudioPlay = tq::gated<callback_onConferenceAudioPlay>;
        t.onConferenceStartPublishVideo = tq::gated<callback_onConferenceStartPublishVideo>;
        t.onConferenceStopPublishVideo = tq::gated<callback_onConferenceStopPublishVideo>;
        t.onConferenceStartScreenSharing = tq::gated<callback_onConferenceStartScreenSharing>;
        t.onConferenceStopScreenSharing = tq::gated<callback_onConferenceStopScreenSharing>;
        t.onConferenceStartPublishVoice = tq::gated<callback_onConferenceStartPublishVoice>;
        t.onConferenceStopPublishVoice = tq::gated<callback_onConferenceStopPublishVoice>;
        t.onConferenceRequestMemberVideo = tq::gated<callback_onConferenceRequestMemberVideo>;
        t.onConferenceCancelMemberVideo = tq::gated<callback_onConferenceCancelMemberVideo>;
        t.onReceivedConferenceInviteNotification
            = tq::gated<callback_onReceivedConferenceInviteNotification>;
        t.onReceivedConferenceAppointmentNotification
            = tq::gated<callback_onReceivedConferenceAppointmentNotification>;
        t.onReceivedConferenceBeforeStartNotification
            = tq::gated<callback_onReceivedConferenceBeforeStartNotification>;
        t.onReceivedConferenceBeforeEndNotification
            = tq::gated<callback_onReceivedConferenceBeforeEndNotification>;
        t.onReceivedConferenceEndNotification
            = tq::gated<callback_onReceivedConferenceEndNotification>;
        t.onConferenceGetAppSetting = tq::gated<callback_onConferenceGetAppSetting>;
        return t;
    }();
    m_table = &table;
    SetConfCallBackFuction(m_table); // its result is not acted upon
    tq::logInfo("%1", TQ_WHERE(Conference_CallBack));
}
