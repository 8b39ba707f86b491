#include "ConfRequestRecords.h"

#include <AgentLog.h>

namespace {

// A password is written as six stars when there is one: no conference password reaches a
// log file.
QString masked(const QString &secret)
{
    return secret.isEmpty() ? QString() : QStringLiteral("******");
}

} // namespace

// The formats are the system's own; where a format numbers its placeholders out of order,
// the arguments follow the numbers. tq::format fills every placeholder in one pass, so a
// value holding "%2" stays as it is.

QString Agent_RequestCreateConf::toLogString() const
{
    return tq::format("ownerPassword=%1,password=%2,confName=%3,confType=%4,maxMemberCount=%5,"
                      "voiceMode=%6,appData=%7,autoClose=%8,moderator=%9,startTime=%10,"
                      "duration=%11,sendInvitation=%12,remindBeforeStart=%13,"
                      "remindBeforeEnd=%14,mediaType=%15,confTopic=%16,joinState=%17,"
                      "jsonString=%18",
                      masked(ownerPassword), masked(password), confName, confType, maxMemberCount,
                      voiceMode, appData, autoClose, moderator, startTime, duration, sendInvitation,
                      remindBeforeStart, remindBeforeEnd, mediaType, confTopic, joinState,
                      jsonString);
}

QString Agent_RequestDeleteConf::toLogString() const
{
    return tq::format("confId=%1,appData=%2,jsonString=%3", confId, appData, jsonString);
}

QString Agent_RequestUpdateConf::toLogString() const
{
    return tq::format("confId=%1,ownerPassword=%2,password=%3,confName=%4,confType=%5,"
                      "maxMember=%6,voiceMode=%7,appData=%8,autoClose=%9,moderator=%10,"
                      "startTime=%11,duration=%12,sendInvitation=%13,remindBeforeStart=%14,"
                      "remindBeforeEnd=%15,confTopic=%16,joinState=%17,jsonString=%18",
                      confId, masked(ownerPassword), masked(password), confName, confType,
                      maxMember, voiceMode, appData, autoClose, moderator, startTime, duration,
                      sendInvitation, remindBeforeStart, remindBeforeEnd, confTopic, joinState,
                      jsonString);
}

QString Agent_RequestGetConfInfo::toLogString() const
{
    return tq::format("confId=%1,jsonString=%2", confId, jsonString);
}

QString Agent_RequestGetConfInfoList::toLogString() const
{
    return tq::format("createTimeBegin=%1,createTimeEnd=%2,memberId=%3,memberIdType=%4,"
                      "confType=%5,searchById=%6,pageNo=%7,pageSize=%8,jsonString=%9",
                      createTimeBegin, createTimeEnd, memberId, memberIdType, confType, searchById,
                      pageNo, pageSize, jsonString);
}

QString Agent_RequestGetHistoryConfInfoList::toLogString() const
{
    return tq::format("createTimeBegin=%1,createTimeEnd=%2,confType=%3,searchByMember=%4,"
                      "pageNo=%5,pageSize=%6,jsonString=%7",
                      createTimeBegin, createTimeEnd, confType, searchByMember, pageNo, pageSize,
                      jsonString);
}

QString Agent_RequestLockConf::toLogString() const
{
    return tq::format("confId=%1,bLock=%2,jsonString=%3", confId, bLock, jsonString);
}

QString Agent_RequestMemberJoinConf::toLogString() const
{
    return tq::format("confId=%1,password=%2,userName=%3,inviter=%4,inviterIdType=%5,"
                      "appData=%6,mediaType=%7,roleId=%8,phoneNumber=%9,joinState=%10,"
                      "terminalUA=%11,jsonString=%12",
                      confId, masked(password), userName, inviter, inviterIdType, appData,
                      mediaType, roleId, phoneNumber, joinState, terminalUA, jsonString);
}

QString Agent_RequestMemberQuitConf::toLogString() const
{
    return tq::format("confId=%1,appData=%2,jsonString=%3", confId, appData, jsonString);
}

QString Agent_RequestUpdateConfMember::toLogString() const
{
    return tq::format("confId=%1,memberId=%2,userName=%3,idType=%4,appData=%5,jsonString=%6",
                      confId, memberId, userName, idType, appData, jsonString);
}

QString Agent_RequestGetConfMemberInfo::toLogString() const
{
    return tq::format("confId=%1,memberId=%2,idType=%3,jsonString=%4", confId, memberId, idType,
                      jsonString);
}

QString Agent_RequestGetConfMemberInfoList::toLogString() const
{
    return tq::format("confId=%1,pageNo=%2,pageSize=%3,jsonString=%4", confId, pageNo, pageSize,
                      jsonString);
}

QString Agent_RequestGetHistoryConferenceMemberInfoList::toLogString() const
{
    return tq::format("confId=%1,memberId=%5,memberIdType=%6,pageNo=%2,pageSize=%3,jsonString=%4",
                      confId, pageNo, pageSize, jsonString, memberId, memberIdType);
}

QString Agent_RequestConfInviteMember::toLogString() const
{
    return tq::format("confId=%1,callImmediately=%2,appData=%3,jsonString=%4,"
                      "inviteMembers:total=%5,",
                      confId, callImmediately, appData, jsonString, inviteMembers.size());
}

QString Agent_RequestConfMemberRejectInvitation::toLogString() const
{
    return tq::format("confId=%1,invitationId=%2,jsonString=%3", confId, invitationId, jsonString);
}

QString Agent_RequestConfKickoutMember::toLogString() const
{
    return tq::format("confId=%1,appData=%2,jsonString=%3", confId, appData, jsonString);
}

QString Agent_RequestSetConfMemberRole::toLogString() const
{
    return tq::format("confId=%1,memberId=%2,memberIdType=%3,roleId=%4,appData=%5,jsonString=%6",
                      confId, memberId, memberIdType, roleId, appData, jsonString);
}

QString Agent_RequestConfSendCmd::toLogString() const
{
    return tq::format("confId=%1,bAllMember=%2,cmdData=%3,jsonString=%4", confId, bAllMember,
                      cmdData, jsonString);
}

QString Agent_RequestConfMediaControl::toLogString() const
{
    return tq::format("confId=%1,unchangable=%2,bAllMember=%3,action=%4,appData=%5,jsonString=%6",
                      confId, unchangable, bAllMember, action, appData, jsonString);
}

QString Agent_RequestConfRecord::toLogString() const
{
    return tq::format("confId=%1,action=%2,jsonString=%3", confId, action, jsonString);
}

QString Agent_RequestConfRecordList::toLogString() const
{
    return tq::format("confId=%1,historyConf=%2,pageNo=%3,pageSize=%4", confId, historyConf, pageNo,
                      pageSize);
}

QString Agent_RequestConfStartPublishVideo::toLogString() const
{
    return tq::format("confId=%1,jsonString=%2", confId, jsonString);
}

QString Agent_RequestConfStopPublishVideo::toLogString() const
{
    return tq::format("confId=%1,jsonString=%2", confId, jsonString);
}

QString Agent_RequestConfStartScreenSharing::toLogString() const
{
    return tq::format("confId=%1,jsonString=%2", confId, jsonString);
}

QString Agent_RequestConfStopScreenSharing::toLogString() const
{
    return tq::format("confId=%1,jsonString=%2", confId, jsonString);
}

QString Agent_RequestConfStartPublishVoice::toLogString() const
{
    return tq::format("confId=%1,jsonString=%2", confId, jsonString);
}

QString Agent_RequestConfStopPublishVoice::toLogString() const
{
    return tq::format("confId=%1,jsonString=%2", confId, jsonString);
}

QString Agent_RequestConfRequestMemberVideo::toLogString() const
{
    return tq::format("confId=%1,confPasswd=%2,member=%3,mediaSourceType=%4,width=%6,"
                      "height=%7,jsonString=%5",
                      confId, masked(confPasswd), member, mediaSourceType, jsonString, width,
                      height);
}

QString Agent_RequestConfCancelMemberVideo::toLogString() const
{
    return tq::format("confId=%1,confPasswd=%2,member=%3,mediaSourceType=%4,jsonString=%5", confId,
                      masked(confPasswd), member, mediaSourceType, jsonString);
}

QString Agent_RequestConfResetMemberView::toLogString() const
{
    return tq::format("confId=%1,member=%2,mediaSourceType=%3,width:=%5,height=%6,jsonString=%4",
                      confId, member, mediaSourceType, jsonString, width, height);
}
