#include "Conference_Agent.h"

#include "ConfConvert.h"
#include "Conference_CallBack.h"

#include <AgentFrame.h>
#include <AgentLog.h>
#include <EngineArgs.h>
#include <PendingIssue.h>
#include <PendingRequestStore.h>
#include <ZSsdk.h>

#include <memory>

QAtomicPointer<Conference_Agent> Conference_Agent::ins;

namespace {

using tq::Local8BitArg;
using tq::Utf8Arg;

// The engine's answer to a refused deletion: the agent answers the caller itself.
constexpr int kDeleteRefused = 171550;

// A request with a matchKey: logs the request, calls the engine, logs what it gave, and
// keeps a copy of the request under its key until the answer comes (a request without a
// key is not kept: no answer can match it).
template<class Request, class Call> int issue(tq::Where where, const Request &request, Call call)
{
    tq::logInfo("%1,%2", where, request.toLogString());
    unsigned int matchKey = 0;
    // The engine may answer on its own thread before the request is stored: the answer
    // waits for this scope.
    const tq::PendingIssue issuing;
    const int nRet = call(&matchKey);
    tq::logInfo("nRet = %1, matchKey = %2", nRet, matchKey);
    PendingRequestStore::instance()->insert(matchKey, QVariant::fromValue(request));
    return nRet;
}

// A request answered without a key: nothing is kept.
template<class Request, class Call>
int issueUnkeyed(tq::Where where, const Request &request, Call call)
{
    tq::logInfo("%1,%2", where, request.toLogString());
    const int nRet = call();
    tq::logInfo("nRet = %1", nRet);
    return nRet;
}

void *window(quintptr handle)
{
    return reinterpret_cast<void *>(handle);
}

// Registers a request record under its own name, then routes its signal to its slot.
template<class Request> void route(Conference_Agent *agent, const char *signal, const char *slot)
{
    qRegisterMetaType<Request>();
    QObject::connect(agent, signal, agent, slot, Qt::AutoConnection);
}

} // namespace

Conference_Agent *Conference_Agent::instance()
{
    return tq::agentInstance(
        ins,
        [] {
            std::unique_ptr<Conference_Agent> agent(new Conference_Agent);
            Conference_CallBack::instance()->initConferenceCallBack();
            return agent;
        },
        tq::Placement::CreatingThread);
}

Conference_Agent::Conference_Agent(QObject *parent)
    : QObject(parent)
{
    initConnections();
}

Conference_Agent::~Conference_Agent() = default;

void Conference_Agent::initConnections()
{
    // The results cross threads from the first callback on.
    tq::registerRecords<Agent_ConfInfo, Agent_ConferenceMemberInfo, Agent_FaildConferenceMemberInfo,
                        Agent_ConfRecordFile, Agent_ConfNtyMsg, Agent_ConfInviteNtyMsg,
                        Agent_ConfAppointmentNtyMsg, Agent_ConfBeforeStartNtyMsg,
                        Agent_ConfBeforeEndNtyMsg, Agent_ConfEndNtyMsg, Agent_ConfAppSetting>();

    route<Agent_RequestCreateConf>(this, SIGNAL(sig_createConference(Agent_RequestCreateConf)),
                                   SLOT(slot_createConference(Agent_RequestCreateConf)));
    route<Agent_RequestDeleteConf>(this, SIGNAL(sig_deleteConference(Agent_RequestDeleteConf)),
                                   SLOT(slot_deleteConference(Agent_RequestDeleteConf)));
    route<Agent_RequestUpdateConf>(this, SIGNAL(sig_updateConference(Agent_RequestUpdateConf)),
                                   SLOT(slot_updateConference(Agent_RequestUpdateConf)));
    route<Agent_RequestGetConfInfo>(this, SIGNAL(sig_getConferenceInfo(Agent_RequestGetConfInfo)),
                                    SLOT(slot_getConferenceInfo(Agent_RequestGetConfInfo)));
    route<Agent_RequestGetConfInfoList>(
        this, SIGNAL(sig_getConferenceInfoList(Agent_RequestGetConfInfoList)),
        SLOT(slot_getConferenceInfoList(Agent_RequestGetConfInfoList)));
    route<Agent_RequestGetHistoryConfInfoList>(
        this, SIGNAL(sig_getHistoryConferenceInfoList(Agent_RequestGetHistoryConfInfoList)),
        SLOT(slot_getHistoryConferenceInfoList(Agent_RequestGetHistoryConfInfoList)));
    route<Agent_RequestLockConf>(this, SIGNAL(sig_lockConference(Agent_RequestLockConf)),
                                 SLOT(slot_lockConference(Agent_RequestLockConf)));
    route<Agent_RequestMemberJoinConf>(
        this, SIGNAL(sig_memberJoinConference(Agent_RequestMemberJoinConf)),
        SLOT(slot_memberJoinConference(Agent_RequestMemberJoinConf)));
    route<Agent_RequestMemberQuitConf>(
        this, SIGNAL(sig_memberQuitConference(Agent_RequestMemberQuitConf)),
        SLOT(slot_memberQuitConference(Agent_RequestMemberQuitConf)));
    route<Agent_RequestUpdateConfMember>(
        this, SIGNAL(sig_updateConferenceMember(Agent_RequestUpdateConfMember)),
        SLOT(slot_updateConferenceMember(Agent_RequestUpdateConfMember)));
    route<Agent_RequestGetConfMemberInfo>(
        this, SIGNAL(sig_getConferenceMemberInfo(Agent_RequestGetConfMemberInfo)),
        SLOT(slot_getConferenceMemberInfo(Agent_RequestGetConfMemberInfo)));
    route<Agent_RequestGetConfMemberInfoList>(
        this, SIGNAL(sig_getConferenceMemberInfoList(Agent_RequestGetConfMemberInfoList)),
        SLOT(slot_getConferenceMemberInfoList(Agent_RequestGetConfMemberInfoList)));
    route<Agent_RequestGetHistoryConferenceMemberInfoList>(
        this,
        SIGNAL(sig_getHistoryConferenceMemberInfoList(
            Agent_RequestGetHistoryConferenceMemberInfoList)),
        SLOT(slot_getHistoryConferenceMemberInfoList(
            Agent_RequestGetHistoryConferenceMemberInfoList)));
    route<Agent_RequestConfInviteMember>(
        this, SIGNAL(sig_conferenceInviteMember(Agent_RequestConfInviteMember)),
        SLOT(slot_conferenceInviteMember(Agent_RequestConfInviteMember)));
    route<Agent_RequestConfMemberRejectInvitation>(
        this, SIGNAL(sig_conferenceMemberRejectInvitation(Agent_RequestConfMemberRejectInvitation)),
        SLOT(slot_conferenceMemberRejectInvitation(Agent_RequestConfMemberRejectInvitation)));
    route<Agent_RequestConfKickoutMember>(
        this, SIGNAL(sig_conferenceKickoutMember(Agent_RequestConfKickoutMember)),
        SLOT(slot_conferenceKickoutMember(Agent_RequestConfKickoutMember)));
    route<Agent_RequestSetConfMemberRole>(
        this, SIGNAL(sig_setConferenceMemberRole(Agent_RequestSetConfMemberRole)),
        SLOT(slot_setConferenceMemberRole(Agent_RequestSetConfMemberRole)));
    route<Agent_RequestConfSendCmd>(this, SIGNAL(sig_conferenceSendCmd(Agent_RequestConfSendCmd)),
                                    SLOT(slot_conferenceSendCmd(Agent_RequestConfSendCmd)));
    route<Agent_RequestConfMediaControl>(
        this, SIGNAL(sig_conferenceMediaControl(Agent_RequestConfMediaControl)),
        SLOT(slot_conferenceMediaControl(Agent_RequestConfMediaControl)));
    qRegisterMetaType<Agent_ConfRecordMemberInfo>();
    route<Agent_RequestConfRecord>(this, SIGNAL(sig_conferenceRecord(Agent_RequestConfRecord)),
                                   SLOT(slot_conferenceRecord(Agent_RequestConfRecord)));
    route<Agent_RequestConfRecordList>(this,
                                       SIGNAL(sig_getConfRecordList(Agent_RequestConfRecordList)),
                                       SLOT(slot_getConfRecordList(Agent_RequestConfRecordList)));
    route<Agent_RequestConfStartPublishVideo>(
        this, SIGNAL(sig_conferenceStartPublishVideo(Agent_RequestConfStartPublishVideo)),
        SLOT(slot_conferenceStartPublishVideo(Agent_RequestConfStartPublishVideo)));
    route<Agent_RequestConfStopPublishVideo>(
        this, SIGNAL(sig_conferenceStopPublishVideo(Agent_RequestConfStopPublishVideo)),
        SLOT(slot_conferenceStopPublishVideo(Agent_RequestConfStopPublishVideo)));
    route<Agent_RequestConfStartScreenSharing>(
        this, SIGNAL(sig_conferenceStartScreenSharing(Agent_RequestConfStartScreenSharing)),
        SLOT(slot_conferenceStartScreenSharing(Agent_RequestConfStartScreenSharing)));
    route<Agent_RequestConfStopScreenSharing>(
        this, SIGNAL(sig_conferenceStopScreenSharing(Agent_RequestConfStopScreenSharing)),
        SLOT(slot_conferenceStopScreenSharing(Agent_RequestConfStopScreenSharing)));
    route<Agent_RequestConfStartPublishVoice>(
        this, SIGNAL(sig_conferenceStartPublishVoice(Agent_RequestConfStartPublishVoice)),
        SLOT(slot_conferenceStartPublishVoice(Agent_RequestConfStartPublishVoice)));
    route<Agent_RequestConfStopPublishVoice>(
        this, SIGNAL(sig_conferenceStopPublishVoice(Agent_RequestConfStopPublishVoice)),
        SLOT(slot_conferenceStopPublishVoice(Agent_RequestConfStopPublishVoice)));
    route<Agent_RequestConfRequestMemberVideo>(
        this, SIGNAL(sig_conferenceRequestMemberVideo(Agent_RequestConfRequestMemberVideo)),
        SLOT(slot_conferenceRequestMemberVideo(Agent_RequestConfRequestMemberVideo)));
    route<Agent_RequestConfCancelMemberVideo>(
        this, SIGNAL(sig_conferenceCancelMemberVideo(Agent_RequestConfCancelMemberVideo)),
        SLOT(slot_conferenceCancelMemberVideo(Agent_RequestConfCancelMemberVideo)));
    route<Agent_RequestConfResetMemberView>(
        this, SIGNAL(sig_conferenceResetMemberView(Agent_RequestConfResetMemberView)),
        SLOT(slot_conferenceResetMemberView(Agent_RequestConfResetMemberView)));
    connect(this, SIGNAL(sig_conferenceAppSetting()), this, SLOT(slot_conferenceAppSetting()),
            Qt::AutoConnection);
}

void Conference_Agent::slot_createConference(Agent_RequestCreateConf request)
{
    const auto &r = request;
    issue(TQ_WHERE(Conference_Agent), r, [&](unsigned int *key) {
        const conf::EntryArray<ConfMemberEntry> members(r.members);
        return CreateConference(
            key, Utf8Arg(r.ownerPassword), Utf8Arg(r.password), Local8BitArg(r.confName),
            r.confType, r.maxMemberCount, r.voiceMode, Utf8Arg(r.appData), r.autoClose,
            Utf8Arg(r.moderator), Utf8Arg(r.startTime), members.data(), members.count(), r.duration,
            r.sendInvitation, r.extraInt1, r.remindBeforeStart, r.remindBeforeEnd, r.mediaType,
            r.extraInt2, Local8BitArg(r.confTopic), r.joinState, Utf8Arg(r.extraText), -1, 0,
            Utf8Arg(r.jsonString));
    });
}

void Conference_Agent::slot_deleteConference(Agent_RequestDeleteConf request)
{
    const int nRet = issue(TQ_WHERE(Conference_Agent), request, [&](unsigned int *key) {
        return DeleteConference(key, Utf8Arg(request.confId), Utf8Arg(request.appData),
                                Utf8Arg(request.jsonString));
    });
    if (nRet == kDeleteRefused)
        emit sig_onDeleteConference(Agent_RequestDeleteConf(), nRet, request.jsonString);
}

void Conference_Agent::slot_updateConference(Agent_RequestUpdateConf request)
{
    const auto &r = request;
    issue(TQ_WHERE(Conference_Agent), r, [&](unsigned int *key) {
        const conf::EntryArray<ConfMemberEntry> members(r.members);
        return UpdateConference(key, Utf8Arg(r.confId), Utf8Arg(r.ownerPassword),
                                Utf8Arg(r.password), Local8BitArg(r.confName), r.confType,
                                r.maxMember, r.voiceMode, Utf8Arg(r.appData), r.autoClose,
                                Utf8Arg(r.moderator), members.data(), members.count(),
                                Utf8Arg(r.startTime), r.duration, r.sendInvitation,
                                r.remindBeforeStart, r.remindBeforeEnd, r.extraInt1, r.extraInt2,
                                Local8BitArg(r.confTopic), r.joinState, -1, Utf8Arg(r.jsonString));
    });
}

void Conference_Agent::slot_getConferenceInfo(Agent_RequestGetConfInfo request)
{
    issue(TQ_WHERE(Conference_Agent), request, [&](unsigned int *key) {
        return GetConferenceInfo(key, Utf8Arg(request.confId), Utf8Arg(request.jsonString));
    });
}

void Conference_Agent::slot_getConferenceInfoList(Agent_RequestGetConfInfoList request)
{
    const auto &r = request;
    issue(TQ_WHERE(Conference_Agent), r, [&](unsigned int *key) {
        return GetConferenceInfoList(key, Utf8Arg(r.createTimeBegin), Utf8Arg(r.createTimeEnd),
                                     Utf8Arg(r.memberId), r.memberIdType, r.confType, r.searchById,
                                     r.pageNo, r.pageSize, r.extraInt1, -1, 1, Utf8Arg(r.extraText),
                                     Utf8Arg(r.jsonString));
    });
}

void Conference_Agent::slot_getHistoryConferenceInfoList(
    Agent_RequestGetHistoryConfInfoList request)
{
    const auto &r = request;
    issue(TQ_WHERE(Conference_Agent), r, [&](unsigned int *key) {
        return GetHistoryConferenceInfoList(key, Utf8Arg(r.createTimeBegin),
                                            Utf8Arg(r.createTimeEnd), r.confType, r.searchByMember,
                                            r.pageNo, r.pageSize, Utf8Arg(r.extraText), r.extraInt1,
                                            -1, 1, Utf8Arg(r.extraText2), Utf8Arg(r.jsonString));
    });
}

void Conference_Agent::slot_lockConference(Agent_RequestLockConf request)
{
    issue(TQ_WHERE(Conference_Agent), request, [&](unsigned int *key) {
        return LockConference(key, Utf8Arg(request.confId), request.bLock,
                              Utf8Arg(request.jsonString));
    });
}

void Conference_Agent::slot_memberJoinConference(Agent_RequestMemberJoinConf request)
{
    const auto &r = request;
    issue(TQ_WHERE(Conference_Agent), r, [&](unsigned int *key) {
        return MemberJoinConference(
            key, Utf8Arg(r.confId), Utf8Arg(r.password), Utf8Arg(r.userName), Utf8Arg(r.inviter),
            r.inviterIdType, Utf8Arg(r.appData), r.mediaType, r.roleId, Utf8Arg(r.phoneNumber),
            r.joinState, Utf8Arg(r.terminalUA), Utf8Arg(r.jsonString));
    });
}

void Conference_Agent::slot_memberQuitConference(Agent_RequestMemberQuitConf request)
{
    issue(TQ_WHERE(Conference_Agent), request, [&](unsigned int *key) {
        return MemberQuitConference(key, Utf8Arg(request.confId), Utf8Arg(request.appData),
                                    Utf8Arg(request.jsonString));
    });
}

void Conference_Agent::slot_updateConferenceMember(Agent_RequestUpdateConfMember request)
{
    const auto &r = request;
    issue(TQ_WHERE(Conference_Agent), r, [&](unsigned int *key) {
        return UpdateConferenceMember(key, Utf8Arg(r.confId), Utf8Arg(r.memberId),
                                      Utf8Arg(r.userName), r.idType, Utf8Arg(r.appData),
                                      Utf8Arg(r.jsonString), r.extraInt);
    });
}

void Conference_Agent::slot_getConferenceMemberInfo(Agent_RequestGetConfMemberInfo request)
{
    const auto &r = request;
    issue(TQ_WHERE(Conference_Agent), r, [&](unsigned int *key) {
        return GetConferenceMemberInfo(key, Utf8Arg(r.confId), Utf8Arg(r.memberId), r.idType,
                                       Utf8Arg(r.jsonString));
    });
}

void Conference_Agent::slot_getConferenceMemberInfoList(Agent_RequestGetConfMemberInfoList request)
{
    const auto &r = request;
    issue(TQ_WHERE(Conference_Agent), r, [&](unsigned int *key) {
        return GetConferenceMemberInfoList(key, Utf8Arg(r.confId), r.pageNo, r.pageSize,
                                           Utf8Arg(r.jsonString));
    });
}

void Conference_Agent::slot_getHistoryConferenceMemberInfoList(
    Agent_RequestGetHistoryConferenceMemberInfoList request)
{
    const auto &r = request;
    issue(TQ_WHERE(Conference_Agent), r, [&](unsigned int *key) {
        return GetHistoryConferenceMemberInfoList(key, Utf8Arg(r.confId), Utf8Arg(r.memberId),
                                                  r.memberIdType, r.pageNo, r.pageSize, r.extraInt,
                                                  Utf8Arg(r.jsonString));
    });
}

void Conference_Agent::slot_conferenceInviteMember(Agent_RequestConfInviteMember request)
{
    const auto &r = request;
    issue(TQ_WHERE(Conference_Agent), r, [&](unsigned int *key) {
        const conf::EntryArray<ConfInviteEntry> members(r.inviteMembers);
        return ConferenceInviteMember(key, Utf8Arg(r.confId), members.data(), members.count(),
                                      r.callImmediately, Utf8Arg(r.appData), Utf8Arg(r.jsonString));
    });
}

void Conference_Agent::slot_conferenceMemberRejectInvitation(
    Agent_RequestConfMemberRejectInvitation request)
{
    // The invitation's id only goes to the log; the engine takes the extra text.
    const auto &r = request;
    issue(TQ_WHERE(Conference_Agent), r, [&](unsigned int *key) {
        return ConferenceMemberRejectInvitation(key, Utf8Arg(r.confId), "", Utf8Arg(r.extraText),
                                                Utf8Arg(r.jsonString));
    });
}

void Conference_Agent::slot_conferenceKickoutMember(Agent_RequestConfKickoutMember request)
{
    const auto &r = request;
    issue(TQ_WHERE(Conference_Agent), r, [&](unsigned int *key) {
        const conf::EntryArray<ConfTargetEntry> members(r.kickMembers);
        return ConferenceKickoutMember(key, Utf8Arg(r.confId), members.data(), members.count(),
                                       Utf8Arg(r.appData), Utf8Arg(r.jsonString));
    });
}

void Conference_Agent::slot_setConferenceMemberRole(Agent_RequestSetConfMemberRole request)
{
    // appData is logged with the request but not sent.
    const auto &r = request;
    issue(TQ_WHERE(Conference_Agent), r, [&](unsigned int *key) {
        return SetConferenceMemberRole(key, Utf8Arg(r.confId), Utf8Arg(r.memberId), r.memberIdType,
                                       r.roleId, Utf8Arg(r.jsonString));
    });
}

void Conference_Agent::slot_conferenceSendCmd(Agent_RequestConfSendCmd request)
{
    const auto &r = request;
    issue(TQ_WHERE(Conference_Agent), r, [&](unsigned int *key) {
        const conf::EntryArray<ConfTargetEntry> members(r.members, conf::toCommandEntry);
        return ConferenceSendCmd(key, Utf8Arg(r.confId), r.bAllMember, members.data(),
                                 members.count(), Utf8Arg(r.cmdData), Utf8Arg(r.jsonString));
    });
}

void Conference_Agent::slot_conferenceMediaControl(Agent_RequestConfMediaControl request)
{
    const tq::Where where = TQ_WHERE(Conference_Agent);
    const auto &r = request;
    issue(where, r, [&](unsigned int *key) {
        const conf::EntryArray<ConfTargetEntry> members(
            r.members, [where](const Agent_ConfTargetMember &member, ConfTargetEntry &entry) {
                conf::toMediaControlEntry(member, entry);
                tq::logInfo("%1,memberId=%2,deviceType=%3", where, member.memberId,
                            member.deviceType);
            });
        return ConferenceMediaControl(key, Utf8Arg(r.confId), r.unchangable, r.bAllMember,
                                      members.data(), members.count(), r.action, Utf8Arg(r.appData),
                                      Utf8Arg(r.jsonString));
    });
}

void Conference_Agent::slot_conferenceRecord(Agent_RequestConfRecord request)
{
    const auto &r = request;
    issue(TQ_WHERE(Conference_Agent), r, [&](unsigned int *key) {
        const conf::EntryArray<_ZSConferenceRecordMemberInfo> members(r.members);
        return ConferenceRecord(key, Utf8Arg(r.confId), members.data(), members.count(), r.action,
                                Utf8Arg(r.jsonString));
    });
}

void Conference_Agent::slot_getConfRecordList(Agent_RequestConfRecordList request)
{
    const auto &r = request;
    issue(TQ_WHERE(Conference_Agent), r, [&](unsigned int *key) {
        return GetConferenceRecordList(key, Utf8Arg(r.confId), r.historyConf, r.pageNo, r.pageSize);
    });
}

void Conference_Agent::slot_conferenceStartPublishVideo(Agent_RequestConfStartPublishVideo request)
{
    issue(TQ_WHERE(Conference_Agent), request, [&](unsigned int *key) {
        return ConferenceStartPublishVideo(key, Utf8Arg(request.confId),
                                           Utf8Arg(request.jsonString));
    });
}

void Conference_Agent::slot_conferenceStopPublishVideo(Agent_RequestConfStopPublishVideo request)
{
    issue(TQ_WHERE(Conference_Agent), request, [&](unsigned int *key) {
        return ConferenceStopPublishVideo(key, Utf8Arg(request.confId),
                                          Utf8Arg(request.jsonString));
    });
}

void Conference_Agent::slot_conferenceStartScreenSharing(
    Agent_RequestConfStartScreenSharing request)
{
    issue(TQ_WHERE(Conference_Agent), request, [&](unsigned int *key) {
        return ConferenceStartScreenSharing(key, Utf8Arg(request.confId),
                                            Utf8Arg(request.jsonString));
    });
}

void Conference_Agent::slot_conferenceStopScreenSharing(Agent_RequestConfStopScreenSharing request)
{
    issue(TQ_WHERE(Conference_Agent), request, [&](unsigned int *key) {
        return ConferenceStopScreenSharing(key, Utf8Arg(request.confId),
                                           Utf8Arg(request.jsonString));
    });
}

// Voice publishing sends 0 in place of spareInt, whatever the record holds.
void Conference_Agent::slot_conferenceStartPublishVoice(Agent_RequestConfStartPublishVoice request)
{
    issue(TQ_WHERE(Conference_Agent), request, [&](unsigned int *key) {
        return ConferenceStartPublishVoice(key, Utf8Arg(request.confId), 0,
                                           Utf8Arg(request.jsonString));
    });
}

void Conference_Agent::slot_conferenceStopPublishVoice(Agent_RequestConfStopPublishVoice request)
{
    issue(TQ_WHERE(Conference_Agent), request, [&](unsigned int *key) {
        return ConferenceStopPublishVoice(key, Utf8Arg(request.confId), 0,
                                          Utf8Arg(request.jsonString));
    });
}

void Conference_Agent::slot_conferenceRequestMemberVideo(
    Agent_RequestConfRequestMemberVideo request)
{
    const auto &r = request;
    issueUnkeyed(TQ_WHERE(Conference_Agent), r, [&] {
        return ConferenceRequestMemberVideo(
            Utf8Arg(r.confId), Utf8Arg(r.confPasswd), Utf8Arg(r.member), window(r.videoWindow),
            r.mediaSourceType, r.width, r.height, Utf8Arg(r.jsonString), r.extraInt);
    });
}

void Conference_Agent::slot_conferenceCancelMemberVideo(Agent_RequestConfCancelMemberVideo request)
{
    const auto &r = request;
    const int nRet = issueUnkeyed(TQ_WHERE(Conference_Agent), r, [&] {
        return ConferenceCancelMemberVideo(Utf8Arg(r.confId), Utf8Arg(r.confPasswd),
                                           Utf8Arg(r.member), r.mediaSourceType,
                                           Utf8Arg(r.jsonString), r.extraInt);
    });
    // A refusal has no answer to wait for: the caller hears it now.
    if (nRet != 0)
        emit sig_onConferenceCancelMemberVideo(nRet, r.confId, r.member, r.mediaSourceType,
                                               r.jsonString);
}

void Conference_Agent::slot_conferenceResetMemberView(Agent_RequestConfResetMemberView request)
{
    const auto &r = request;
    issueUnkeyed(TQ_WHERE(Conference_Agent), r, [&] {
        return ConferenceResetMemberView(Utf8Arg(r.confId), Utf8Arg(r.member), window(r.newWindow),
                                         r.mediaSourceType, r.width, r.height,
                                         Utf8Arg(r.jsonString), r.extraInt);
    });
}

void Conference_Agent::slot_conferenceAppSetting()
{
    tq::logInfo("%1", TQ_WHERE(Conference_Agent));
    unsigned int matchKey = 0;
    const int nRet = ConferenceGetAppSetting(&matchKey, "");
    tq::logInfo("nRet = %1", nRet);
}
