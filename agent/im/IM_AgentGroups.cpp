// IM_Agent's group requests: each slot converts its arguments, calls one engine function at
// once and logs; the answers come through the group entries of the message table.

#include "GroupConvert.h"
#include "IM_Agent.h"

#include <AgentFrame.h>
#include <AgentLog.h>
#include <EngineArgs.h>
#include <ZSsdk.h>

#define WHERE TQ_WHERE(IM_Agent)

namespace {

// The block a group request writes after its call.
void logRequestBlock(tq::Where where, int ret, unsigned int matchKey)
{
    tq::LogBlock(where).field("nRet", ret).field("matchKey", matchKey).logInfo();
}

// Muting and roles act on one member: a list of any other length sends nothing, and says so.
bool oneMember(tq::Where where, const QStringList &members)
{
    if (members.size() == 1)
        return true;
    tq::logError("%1,member list of %2 entries, request not sent", where, members.size());
    return false;
}

} // namespace

void IM_Agent::initGroupConnections()
{
    tq::registerRecords<Agent_ModifyGroupInfo, Agent_GroupMemberCard, Agent_GroupDetailInfo,
                        Agent_GroupSimpleInfo, Agent_GroupSearchInfo, Agent_GroupMember>();
    tq::registerRecords<Agent_RequestJoinGroupNtyMsg, Agent_InviteJoinGroupNtyMsg,
                        Agent_MemberJoinedGroupNtyMsg, Agent_DismissGroupNtyMsg,
                        Agent_QuitGroupNtyMsg, Agent_RemoveGroupMemberNtyMsg,
                        Agent_ReplyRequestJoinGroupNtyMsg, Agent_ReplyInviteJoinGroupNtyMsg,
                        Agent_ModifyGroupNtyMsg, Agent_ChangeMemberRoleMsg,
                        Agent_ModifyGroupMemberInfo, Agent_JoinGroupNoticeInfo>();

    connect(this,
            SIGNAL(sig_createGroup(QString, int, QString, QString, int, QString, int, int, QString,
                                   bool)),
            this,
            SLOT(slot_createGroup(QString, int, QString, QString, int, QString, int, int, QString,
                                  bool)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_dismissGroup(QString)), this, SLOT(slot_dismissGroup(QString)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_quitGroup(QString)), this, SLOT(slot_quitGroup(QString)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_joinGroup(QString, QString)), this,
            SLOT(slot_joinGroup(QString, QString)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_replyRequestJoinGroup(QString, QString, int)), this,
            SLOT(slot_replyRequestJoinGroup(QString, QString, int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_inviteJoinGroup(QString, QString, QStringList, int)), this,
            SLOT(slot_inviteJoinGroup(QString, QString, QStringList, int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_replyInviteJoinGroup(QString, QString, int)), this,
            SLOT(slot_replyInviteJoinGroup(QString, QString, int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_queryOwnGroup(QString, int, int)), this,
            SLOT(slot_queryOwnGroup(QString, int, int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_queryGroupDetail(QString)), this, SLOT(slot_queryGroupDetail(QString)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_modifyGroup(Agent_ModifyGroupInfo)), this,
            SLOT(slot_modifyGroup(Agent_ModifyGroupInfo)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_searchPublicGroups(int, QString)), this,
            SLOT(slot_searchPublicGroups(int, QString)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_searchPublicGroupsPaging(int, QString, int, int)), this,
            SLOT(slot_searchPublicGroupsPaging(int, QString, int, int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_queryGroupMember(QString, QString, int)), this,
            SLOT(slot_queryGroupMember(QString, QString, int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_deleteGroupMember(QString, QString)), this,
            SLOT(slot_deleteGroupMember(QString, QString)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_queryGroupMemberCard(QString, QString)), this,
            SLOT(slot_queryGroupMemberCard(QString, QString)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_modifyMemberCard(Agent_GroupMemberCard)), this,
            SLOT(slot_modifyMemberCard(Agent_GroupMemberCard)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_forbidMemberSpeak(QString, QStringList, int, int)), this,
            SLOT(slot_forbidMemberSpeak(QString, QStringList, int, int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_setGroupMessageRule(QString, bool)), this,
            SLOT(slot_setGroupMessageRule(QString, bool)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_setGroupMemberRole(QString, QStringList, int)), this,
            SLOT(slot_setGroupMemberRole(QString, QStringList, int)), Qt::AutoConnection);
}

void IM_Agent::slot_createGroup(QString groupName, int type, QString province, QString city,
                                int scope, QString declared, int permission, int isDismiss,
                                QString groupDomain, bool isDiscuss)
{
    unsigned int matchKey = 0;
    const int ret = CreateGroup(&matchKey, tq::Utf8Arg(groupName), type, tq::Utf8Arg(province),
                                tq::Utf8Arg(city), scope, tq::Utf8Arg(declared), permission,
                                isDismiss, tq::Utf8Arg(groupDomain), isDiscuss);
    logRequestBlock(WHERE, ret, matchKey);
}

void IM_Agent::slot_dismissGroup(QString groupid)
{
    unsigned int matchKey = 0;
    const int ret = DismissGroup(&matchKey, tq::Utf8Arg(groupid));
    tq::logInfo("%1   groupId = %2   ret = %3", WHERE, groupid, ret);
}

void IM_Agent::slot_quitGroup(QString groupid)
{
    unsigned int matchKey = 0;
    const int ret = QuitGroup(&matchKey, tq::Utf8Arg(groupid));
    tq::logInfo("%1   groupId = %2   ret = %3", WHERE, groupid, ret);
}

void IM_Agent::slot_joinGroup(QString groupid, QString declared)
{
    unsigned int matchKey = 0;
    tq::logThenCall(WHERE, JoinGroup, &matchKey, tq::Utf8Arg(groupid), tq::Utf8Arg(declared));
}

void IM_Agent::slot_replyRequestJoinGroup(QString groupid, QString member, int confirm)
{
    unsigned int matchKey = 0;
    tq::logThenCall(WHERE, ReplyRequestJoinGroup, &matchKey, tq::Utf8Arg(groupid),
                    tq::Utf8Arg(member), confirm);
}

void IM_Agent::slot_inviteJoinGroup(QString groupId, QString declard, QStringList memberList,
                                    int confirm)
{
    if (memberList.isEmpty())
        return;
    unsigned int matchKey = 0;
    const tq::StringArray members(memberList);
    const int ret = InviteJoinGroup(&matchKey, tq::Utf8Arg(groupId), tq::Utf8Arg(declard),
                                    members.constData(), members.count(), confirm);
    logRequestBlock(WHERE, ret, matchKey);
}

void IM_Agent::slot_replyInviteJoinGroup(QString groupid, QString invitor, int confirm)
{
    unsigned int matchKey = 0;
    tq::logThenCall(WHERE, ReplyInviteJoinGroup, &matchKey, tq::Utf8Arg(groupid),
                    tq::Utf8Arg(invitor), confirm);
}

void IM_Agent::slot_queryOwnGroup(QString borderGroupid, int pageSize, int target)
{
    unsigned int matchKey = 0;
    const int ret = QueryOwnGroup(&matchKey, tq::Utf8Arg(borderGroupid), pageSize, target);
    tq::logInfo("%1   nRet = %2   matchKey = %3   borderGroupid = %4   pageSize = %5   target = %6",
                WHERE, ret, matchKey, borderGroupid, pageSize, target);
}

void IM_Agent::slot_queryGroupDetail(QString groupId)
{
    unsigned int matchKey = 0;
    const int ret = QueryGroupDetail(&matchKey, tq::Utf8Arg(groupId));
    logRequestBlock(WHERE, ret, matchKey);
}

void IM_Agent::slot_modifyGroup(Agent_ModifyGroupInfo modifyGroupInfo)
{
    tq::logInfo("%1", WHERE);
    ZS_GroupChangeInfo record;
    im::toEngine(modifyGroupInfo, record);
    unsigned int matchKey = 0;
    ModifyGroup(&matchKey, &record);
}

void IM_Agent::slot_searchPublicGroups(int searchType, QString keyword)
{
    unsigned int matchKey = 0;
    tq::logThenCall(WHERE, SearchPublicGroups, &matchKey, searchType, tq::Utf8Arg(keyword));
}

void IM_Agent::slot_searchPublicGroupsPaging(int searchType, QString keyword, int pageNo,
                                             int pageSize)
{
    unsigned int matchKey = 0;
    tq::logThenCall(WHERE, SearchPublicGroupsPaging, &matchKey, searchType, tq::Utf8Arg(keyword),
                    pageNo, pageSize);
}

void IM_Agent::slot_queryGroupMember(QString groupId, QString borderMember, int pageSize)
{
    unsigned int matchKey = 0;
    const int ret
        = QueryGroupMember(&matchKey, tq::Utf8Arg(groupId), tq::Utf8Arg(borderMember), pageSize);
    logRequestBlock(WHERE, ret, matchKey);
}

void IM_Agent::slot_deleteGroupMember(QString groupid, QString member)
{
    unsigned int matchKey = 0;
    const int ret = DeleteGroupMember(&matchKey, tq::Utf8Arg(groupid), tq::Utf8Arg(member));
    tq::logInfo("%1   groupId = %2   member = %3   ret = %4", WHERE, groupid, member, ret);
}

void IM_Agent::slot_queryGroupMemberCard(QString groupid, QString member)
{
    unsigned int matchKey = 0;
    const int ret = QueryGroupMemberCard(&matchKey, tq::Utf8Arg(groupid), tq::Utf8Arg(member));
    logRequestBlock(WHERE, ret, matchKey);
}

void IM_Agent::slot_modifyMemberCard(Agent_GroupMemberCard memberCard)
{
    tq::logInfo("%1", WHERE);
    ZS_GroupMemberCard record;
    im::toEngine(memberCard, record);
    unsigned int matchKey = 0;
    const int ret = ModifyMemberCard(&matchKey, &record);
    tq::logInfo("%1ret:%2", WHERE, ret);
}

void IM_Agent::slot_forbidMemberSpeak(QString groupid, QStringList member, int isBan, int)
{
    tq::logInfo("%1", WHERE);
    if (!oneMember(WHERE, member))
        return;
    unsigned int matchKey = 0;
    ForbidMemberSpeak(&matchKey, tq::Utf8Arg(groupid), tq::Utf8Arg(member.first()), isBan);
}

void IM_Agent::slot_setGroupMessageRule(QString groupid, bool notice)
{
    unsigned int matchKey = 0;
    const int ret = SetGroupMessageRule(&matchKey, tq::Utf8Arg(groupid), notice);
    logRequestBlock(WHERE, ret, matchKey);
}

void IM_Agent::slot_setGroupMemberRole(QString groupId, QStringList member, int role)
{
    tq::logInfo("%1", WHERE);
    if (!oneMember(WHERE, member))
        return;
    unsigned int matchKey = 0;
    SetGroupMemberRole(&matchKey, tq::Utf8Arg(groupId), tq::Utf8Arg(member.first()), role);
}
