// The group results and notices: each callback converts the engine's records, logs, and
// emits on IM_Agent from the engine's thread.

#include "GroupCallBacks.h"
#include "GroupConvert.h"
#include "IM_Agent.h"

#include <AgentLog.h>
#include <FixedField.h>
#include <TQ_Util.h>

#include <QDebug>
#include <QStringList>

#define WHERE TQ_WHERE(IM_CallBackProxy)

namespace im::group {

namespace {

// A result without its record still answers the request, with a default record.
template<class Result, class Record, class... Extra>
Result resultRecord(tq::Where where, const Record *record, Extra... extra)
{
    if (record)
        return im::fromEngine(*record, extra...);
    tq::logError("%1,null record", where);
    return Result();
}

// The block of a result: matchKey and reason.
tq::LogBlock resultBlock(tq::Where where, unsigned int matchKey, int reason)
{
    tq::LogBlock block(where);
    block.field("matchKey", matchKey).field("reason", reason);
    return block;
}

template<class Record>
QList<decltype(im::fromEngine(std::declval<Record>()))> convertAll(const Record *records, int count)
{
    return tq::convertArray(records, count, [](const Record &r) { return im::fromEngine(r); });
}

// A notice's own record, converted and emitted; a notice without one is only logged.
template<class Detail, class Convert, class Record>
void emitNotice(tq::Where where, const ZS_GroupNotice &notice, Convert convert,
                void (IM_Agent::*signal)(Record))
{
    const auto *detail = static_cast<const Detail *>(notice.detail);
    if (!detail) {
        tq::logError("%1,null record", where);
        return;
    }
    emit(IM_Agent::instance()->*signal)(convert(*detail));
}

void debugMemberInfo(const Agent_ModifyGroupMemberInfo &n)
{
    qDebug().noquote().nospace() << "  pInfo->groupId: " << n.groupId
                                 << "  pInfo->groupName: " << n.groupName
                                 << "  pInfo->dateCreated: " << n.dateCreated
                                 << "  pInfo->member: " << n.member
                                 << "  pInfo->sender: " << n.sender
                                 << "  pInfo->modifyDic: " << n.modifyDic;
}

} // namespace

void ZS_CALL callback_onCreateGroup(unsigned int matchKey, int reason,
                                    const ZS_GroupDetailInfo *info)
{
    resultBlock(WHERE, matchKey, reason).logInfo();
    emit IM_Agent::instance()->sig_onCreateGroup(
        reason, resultRecord<Agent_GroupDetailInfo>(WHERE, info, im::Domain::AsSent));
}

void ZS_CALL callback_onDismissGroup(unsigned int, int reason, const char *groupid)
{
    tq::logInfo("%1", WHERE);
    emit IM_Agent::instance()->sig_onDismissGroup(reason, tq::fromEngineText(groupid));
}

void ZS_CALL callback_onQuitGroup(unsigned int, int reason, const char *groupid)
{
    const QString group = tq::fromEngineText(groupid);
    tq::logInfo("%1 %2 %3", WHERE, reason, group);
    emit IM_Agent::instance()->sig_onQuitGroup(reason, group);
}

void ZS_CALL callback_onJoinGroup(unsigned int, int reason, const char *groupid)
{
    tq::logInfo("%1", WHERE);
    emit IM_Agent::instance()->sig_onJoinGroup(reason, tq::fromEngineText(groupid));
}

void ZS_CALL callback_onReplyRequestJoinGroup(unsigned int, int reason, const char *groupid,
                                              const char *member, int confirm)
{
    tq::logInfo("%1", WHERE);
    emit IM_Agent::instance()->sig_onReplyRequestJoinGroup(reason, tq::fromEngineText(groupid),
                                                           tq::fromEngineText(member), confirm);
}

void ZS_CALL callback_onInviteJoinGroup(unsigned int matchKey, int reason, const char *groupid,
                                        const char *const *members, int count, int confirm)
{
    resultBlock(WHERE, matchKey, reason).logInfo();
    // A null array or a negative count is no member; a null entry an empty one.
    const QStringList list = tq::convertArray(
        members, count, [](const char *member) { return tq::fromEngineText(member); });
    emit IM_Agent::instance()->sig_onInviteJoinGroup(reason, tq::fromEngineText(groupid), list,
                                                     confirm);
}

void ZS_CALL callback_onReplyInviteJoinGroup(unsigned int, int reason, const char *groupid,
                                             const char *member, int confirm)
{
    const QString group = tq::fromEngineText(groupid);
    const QString who = tq::fromEngineText(member);
    tq::logInfo("%1 %2 %3 %4 %5", WHERE, reason, group, who, confirm);
    emit IM_Agent::instance()->sig_onReplyInviteJoinGroup(reason, group, who, confirm);
    tq::logInfo("After_Emit");
}

void ZS_CALL callback_onQueryOwnGroup(unsigned int, int reason, int count,
                                      const ZS_GroupSimpleInfo *groups)
{
    tq::logInfo("%1", WHERE);
    emit IM_Agent::instance()->sig_onQueryOwnGroup(reason, convertAll(groups, count));
}

void ZS_CALL callback_onQueryGroupDetail(unsigned int matchKey, int reason,
                                         const ZS_GroupDetailInfo *info)
{
    resultBlock(WHERE, matchKey, reason).logInfo();
    emit IM_Agent::instance()->sig_onQueryGroupDetail(
        reason, resultRecord<Agent_GroupDetailInfo>(WHERE, info, im::Domain::Base64));
}

void ZS_CALL callback_onModifyGroup(unsigned int, int reason, const ZS_GroupChangeInfo *info)
{
    tq::logInfo("%1", WHERE);
    emit IM_Agent::instance()->sig_onModifyGroup(reason,
                                                 resultRecord<Agent_ModifyGroupInfo>(WHERE, info));
}

void ZS_CALL callback_onSearchPublicGroup(unsigned int, int reason, int searchType,
                                          const char *keyword, int count,
                                          const ZS_GroupSearchInfo *groups)
{
    tq::logInfo("%1", WHERE);
    emit IM_Agent::instance()->sig_onSearchPublicGroup(
        reason, searchType, tq::fromEngineText(keyword), convertAll(groups, count));
}

void ZS_CALL callback_onSearchPublicGroupPaging(unsigned int, int reason, int searchType,
                                                const char *keyword, int count,
                                                const ZS_GroupSearchInfo *groups, int pageNo)
{
    tq::logInfo("%1", WHERE);
    emit IM_Agent::instance()->sig_onSearchPublicGroupPaging(
        reason, searchType, tq::fromEngineText(keyword), convertAll(groups, count), pageNo);
}

void ZS_CALL callback_onQueryGroupMember(unsigned int matchKey, int reason, const char *groupid,
                                         int count, const ZS_GroupMemberInfo *members)
{
    const QString group = tq::fromEngineText(groupid);
    tq::LogBlock block = resultBlock(WHERE, matchKey, reason);
    block.field("groupid", group).field("count", count).logInfo();
    if (reason != ZS_REASON_SUCCESS) {
        const QString text
            = block.text() + QLatin1String("   ") + TQ_Util::GetSDKErrMsgById(reason);
        qDebug().noquote() << text;
        g_Log->LogError(text);
    }
    emit IM_Agent::instance()->sig_onQueryGroupMember(reason, group, convertAll(members, count));
}

void ZS_CALL callback_onDeleteGroupMember(unsigned int, int reason, const char *groupid,
                                          const char *member)
{
    tq::logInfo("%1", WHERE);
    emit IM_Agent::instance()->sig_onDeleteGroupMember(reason, tq::fromEngineText(groupid),
                                                       tq::fromEngineText(member));
}

void ZS_CALL callback_onQueryGroupMemberCard(unsigned int matchKey, int reason,
                                             const ZS_GroupMemberCard *card)
{
    resultBlock(WHERE, matchKey, reason).logInfo();
    emit IM_Agent::instance()->sig_onQueryGroupMemberCard(
        reason, resultRecord<Agent_GroupMemberCard>(WHERE, card));
}

void ZS_CALL callback_onModifyGroupMemberCard(unsigned int, int reason,
                                              const ZS_GroupMemberCard *card)
{
    tq::logInfo("%1", WHERE);
    emit IM_Agent::instance()->sig_onModifyGroupMemberCard(
        reason, resultRecord<Agent_GroupMemberCard>(WHERE, card));
}

void ZS_CALL callback_onForbidMemberSpeakGroup(unsigned int, int reason, const char *groupid,
                                               const char *member, int isBan)
{
    tq::logInfo("%1", WHERE);
    emit IM_Agent::instance()->sig_onForbidMemberSpeakGroup(
        reason, tq::fromEngineText(groupid), QStringList{tq::fromEngineText(member)}, isBan, 0);
}

void ZS_CALL callback_onSetGroupMessageRule(unsigned int matchKey, int reason, const char *groupid,
                                            ZS_Bool8 notice)
{
    resultBlock(WHERE, matchKey, reason).logInfo();
    emit IM_Agent::instance()->sig_onSetGroupMessageRule(reason, tq::fromEngineText(groupid),
                                                         tq::engineFlag(notice));
}

void ZS_CALL callback_onSetGroupMemberRole(unsigned int, int reason)
{
    tq::logInfo("%1", WHERE);
    emit IM_Agent::instance()->sig_onSetGroupMemberRole(reason);
}

void ZS_CALL callback_onReceiveGroupNoticeMessage(const ZS_GroupNotice *notice)
{
    // A missing notice logs as type -1 and emits nothing.
    tq::logInfo("%1  %2", WHERE, notice ? notice->type : -1);
    if (!notice)
        return;
    using A = IM_Agent;
    const ZS_GroupNotice &n = *notice;
    switch (n.type) {
    case ZS_GROUP_NOTICE_REQUEST_JOIN:
        emitNotice<ZS_GroupJoinRequestNotice>(WHERE, n, &im::requestJoinNotice,
                                              &A::sig_onRequestJoinGroupNtyMsg);
        break;
    case ZS_GROUP_NOTICE_INVITE:
        emitNotice<ZS_GroupInviteNotice>(WHERE, n, &im::inviteNotice,
                                         &A::sig_onInviteJoinGroupNtyMsg);
        break;
    case ZS_GROUP_NOTICE_MEMBER_JOINED:
        emitNotice<ZS_GroupMemberJoinedNotice>(WHERE, n, &im::memberJoinedNotice,
                                               &A::sig_onMemberJoinedGroupNtyMsg);
        break;
    case ZS_GROUP_NOTICE_DISMISSED:
        emitNotice<ZS_GroupDismissNotice>(WHERE, n, &im::dismissNotice,
                                          &A::sig_onDismissGroupNtyMsg);
        break;
    case ZS_GROUP_NOTICE_QUIT:
        emitNotice<ZS_GroupNoticeHeader>(WHERE, n, &im::memberLeftNotice,
                                         &A::sig_onQuitGroupNtyMsg);
        break;
    case ZS_GROUP_NOTICE_REMOVED:
        emitNotice<ZS_GroupNoticeHeader>(
            WHERE, n,
            [](const ZS_GroupNoticeHeader &r) {
                return im::removedNotice(im::memberLeftNotice(r));
            },
            &A::sig_onRemoveGroupMemberNtyMsg);
        break;
    case ZS_GROUP_NOTICE_REPLY_REQUEST:
        emitNotice<ZS_GroupReplyNotice>(WHERE, n, &im::replyNotice,
                                        &A::sig_onReplyRequestJoinGroupNtyMsg);
        break;
    case ZS_GROUP_NOTICE_REPLY_INVITE:
        emitNotice<ZS_GroupReplyNotice>(
            WHERE, n,
            [](const ZS_GroupReplyNotice &r) { return im::replyInviteNotice(im::replyNotice(r)); },
            &A::sig_onReplyInviteJoinGroupNtyMsg);
        break;
    case ZS_GROUP_NOTICE_MODIFIED:
        emitNotice<ZS_GroupNoticeHeader>(WHERE, n, &im::modifiedNotice,
                                         &A::sig_onModifyGroupNtyMsg);
        break;
    case ZS_GROUP_NOTICE_ROLE:
        emitNotice<ZS_GroupRoleNotice>(WHERE, n, &im::roleNotice, &A::sig_onChangeMemberRoleMsg);
        break;
    case ZS_GROUP_NOTICE_MEMBER_INFO:
        emitNotice<ZS_GroupMemberInfoNotice>(
            WHERE, n,
            [](const ZS_GroupMemberInfoNotice &r) {
                const Agent_ModifyGroupMemberInfo info = im::memberInfoNotice(r);
                debugMemberInfo(info);
                return info;
            },
            &A::sig_onModifyGroupMemberInfo);
        break;
    case ZS_GROUP_NOTICE_JOINED:
        emitNotice<ZS_GroupJoinNotice>(WHERE, n, &im::joinedNotice, &A::sig_onJoinGroupNoticeInfo);
        break;
    default: // 9 and the types above 12: only logged
        break;
    }
}

} // namespace im::group
