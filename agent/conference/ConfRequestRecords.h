#pragma once

// Request records of the conference family: the argument of each Conference_Agent request
// signal, kept in the pending-request store until its answer, and given back with it. Each
// describes itself for the log with toLogString(); passwords show as "******".

#include "tq_agent_global.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <QtGlobal>

#include <tuple>

// ---- list elements ----------------------------------------------------------------------------

// A member of a new or changed conference (ConfMemberEntry).
struct Agent_ConfNewMember
{
    QString text1;
    int number1 = 0;
    int number2 = 0;
    QString text2;
    QString text3;

    auto fields() const { return std::tie(text1, number1, number2, text2, text3); }
    bool operator==(const Agent_ConfNewMember &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_ConfNewMember &o) const { return !(*this == o); }
};

// A member to invite (ConfInviteEntry; number3 stays here).
struct Agent_ConfInviteMember
{
    QString text1;
    int number1 = 0;
    int number2 = 0;
    QString text2;
    QString text3;
    int number3 = 0;

    auto fields() const { return std::tie(text1, number1, number2, text2, text3, number3); }
    bool operator==(const Agent_ConfInviteMember &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_ConfInviteMember &o) const { return !(*this == o); }
};

// A member to remove, and a member removed in a conference notification.
struct Agent_ConfKickMember
{
    QString text1;
    int number1 = 0;
    int deviceType = 0;

    auto fields() const { return std::tie(text1, number1, deviceType); }
    bool operator==(const Agent_ConfKickMember &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_ConfKickMember &o) const { return !(*this == o); }
};

// A member a command or a media control is meant for; also a member of Agent_ConfInfo.
struct Agent_ConfTargetMember
{
    QString memberId;
    QString text2;
    int number1 = 0;
    int number2 = 0;
    int number3 = 0;
    int number4 = 0;
    QString text3;
    QString text4;
    QString text5;
    QString text6;
    QString text7;
    QString text8;
    QString text9;
    QString text10;
    QString text11;
    int deviceType = 0;
    int number5 = 0;

    auto fields() const
    {
        return std::tie(memberId, text2, number1, number2, number3, number4, text3, text4, text5,
                        text6, text7, text8, text9, text10, text11, deviceType, number5);
    }
    bool operator==(const Agent_ConfTargetMember &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_ConfTargetMember &o) const { return !(*this == o); }
};

// A member whose media a recording takes (_ZSConferenceRecordMemberInfo).
struct Agent_ConfRecordMemberInfo
{
    QString text1;
    int number1 = 0;

    auto fields() const { return std::tie(text1, number1); }
    bool operator==(const Agent_ConfRecordMemberInfo &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_ConfRecordMemberInfo &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_ConfRecordMemberInfo)

// ---- requests ---------------------------------------------------------------------------------

struct TQ_AGENT_EXPORT Agent_RequestCreateConf
{
    QString ownerPassword;
    QString password;
    QString confName; // sent in the local 8-bit code page
    int confType = 0;
    int maxMemberCount = 0;
    int voiceMode = 0;
    QString appData;
    int autoClose = 0;
    QString moderator;
    QString startTime;
    QList<Agent_ConfNewMember> members;
    int duration = 0;
    int sendInvitation = 0;
    int extraInt1 = 0;
    int remindBeforeStart = 0;
    int remindBeforeEnd = 0;
    int mediaType = 0;
    int extraInt2 = 0;
    QString confTopic; // sent in the local 8-bit code page
    int joinState = 0;
    QString extraText;
    QString jsonString;

    QString toLogString() const;
    auto fields() const
    {
        return std::tie(ownerPassword, password, confName, confType, maxMemberCount, voiceMode,
                        appData, autoClose, moderator, startTime, members, duration, sendInvitation,
                        extraInt1, remindBeforeStart, remindBeforeEnd, mediaType, extraInt2,
                        confTopic, joinState, extraText, jsonString);
    }
    bool operator==(const Agent_RequestCreateConf &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_RequestCreateConf &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestCreateConf)

struct TQ_AGENT_EXPORT Agent_RequestDeleteConf
{
    QString confId;
    QString appData;
    QString jsonString;

    QString toLogString() const;
    auto fields() const { return std::tie(confId, appData, jsonString); }
    bool operator==(const Agent_RequestDeleteConf &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_RequestDeleteConf &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestDeleteConf)

struct TQ_AGENT_EXPORT Agent_RequestUpdateConf
{
    QString confId;
    QString ownerPassword;
    QString password;
    QString confName; // sent in the local 8-bit code page
    int confType = 0;
    int maxMember = 0;
    int voiceMode = 0;
    QString appData;
    int autoClose = 0;
    QString moderator;
    QString startTime;
    QList<Agent_ConfNewMember> members;
    int duration = 0;
    int sendInvitation = 0;
    int remindBeforeStart = 0;
    int remindBeforeEnd = 0;
    int extraInt1 = 0;
    int extraInt2 = 0;
    QString confTopic; // sent in the local 8-bit code page
    int joinState = 0;
    QString jsonString;

    QString toLogString() const;
    auto fields() const
    {
        return std::tie(confId, ownerPassword, password, confName, confType, maxMember, voiceMode,
                        appData, autoClose, moderator, startTime, members, duration, sendInvitation,
                        remindBeforeStart, remindBeforeEnd, extraInt1, extraInt2, confTopic,
                        joinState, jsonString);
    }
    bool operator==(const Agent_RequestUpdateConf &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_RequestUpdateConf &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestUpdateConf)

struct TQ_AGENT_EXPORT Agent_RequestGetConfInfo
{
    QString confId;
    QString jsonString;

    QString toLogString() const;
    auto fields() const { return std::tie(confId, jsonString); }
    bool operator==(const Agent_RequestGetConfInfo &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_RequestGetConfInfo &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestGetConfInfo)

struct TQ_AGENT_EXPORT Agent_RequestGetConfInfoList
{
    QString createTimeBegin;
    QString createTimeEnd;
    QString memberId;
    int memberIdType = 0;
    int confType = 0;
    int searchById = 0;
    int pageNo = 0;
    int pageSize = 0;
    int extraInt1 = 0;
    int spareInt = 0; // copied, never sent
    QString extraText;
    QString jsonString;

    QString toLogString() const;
    auto fields() const
    {
        return std::tie(createTimeBegin, createTimeEnd, memberId, memberIdType, confType,
                        searchById, pageNo, pageSize, extraInt1, spareInt, extraText, jsonString);
    }
    bool operator==(const Agent_RequestGetConfInfoList &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_RequestGetConfInfoList &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestGetConfInfoList)

struct TQ_AGENT_EXPORT Agent_RequestGetHistoryConfInfoList
{
    QString createTimeBegin;
    QString createTimeEnd;
    int confType = 0;
    int searchByMember = 0;
    int pageNo = 0;
    int pageSize = 0;
    QString extraText;
    int extraInt1 = 0;
    int spareInt = 0; // copied, never sent
    QString extraText2;
    QString jsonString;

    QString toLogString() const;
    auto fields() const
    {
        return std::tie(createTimeBegin, createTimeEnd, confType, searchByMember, pageNo, pageSize,
                        extraText, extraInt1, spareInt, extraText2, jsonString);
    }
    bool operator==(const Agent_RequestGetHistoryConfInfoList &o) const
    {
        return fields() == o.fields();
    }
    bool operator!=(const Agent_RequestGetHistoryConfInfoList &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestGetHistoryConfInfoList)

struct TQ_AGENT_EXPORT Agent_RequestLockConf
{
    QString confId;
    bool bLock = false;
    QString jsonString;

    QString toLogString() const;
    auto fields() const { return std::tie(confId, bLock, jsonString); }
    bool operator==(const Agent_RequestLockConf &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_RequestLockConf &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestLockConf)

struct TQ_AGENT_EXPORT Agent_RequestMemberJoinConf
{
    QString confId;
    QString password;
    QString userName;
    QString inviter;
    int inviterIdType = 0;
    QString appData;
    int mediaType = 0;
    int roleId = 0;
    QString phoneNumber;
    int joinState = 0;
    QString terminalUA;
    QString jsonString;

    QString toLogString() const;
    auto fields() const
    {
        return std::tie(confId, password, userName, inviter, inviterIdType, appData, mediaType,
                        roleId, phoneNumber, joinState, terminalUA, jsonString);
    }
    bool operator==(const Agent_RequestMemberJoinConf &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_RequestMemberJoinConf &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestMemberJoinConf)

struct TQ_AGENT_EXPORT Agent_RequestMemberQuitConf
{
    QString confId;
    QString appData;
    QString jsonString;

    QString toLogString() const;
    auto fields() const { return std::tie(confId, appData, jsonString); }
    bool operator==(const Agent_RequestMemberQuitConf &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_RequestMemberQuitConf &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestMemberQuitConf)

struct TQ_AGENT_EXPORT Agent_RequestUpdateConfMember
{
    QString confId;
    QString memberId;
    QString userName;
    int idType = 0;
    QString appData;
    QString jsonString;
    int extraInt = 0;

    QString toLogString() const;
    auto fields() const
    {
        return std::tie(confId, memberId, userName, idType, appData, jsonString, extraInt);
    }
    bool operator==(const Agent_RequestUpdateConfMember &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_RequestUpdateConfMember &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestUpdateConfMember)

struct TQ_AGENT_EXPORT Agent_RequestGetConfMemberInfo
{
    QString confId;
    QString memberId;
    int idType = 0;
    QString jsonString;

    QString toLogString() const;
    auto fields() const { return std::tie(confId, memberId, idType, jsonString); }
    bool operator==(const Agent_RequestGetConfMemberInfo &o) const
    {
        return fields() == o.fields();
    }
    bool operator!=(const Agent_RequestGetConfMemberInfo &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestGetConfMemberInfo)

struct TQ_AGENT_EXPORT Agent_RequestGetConfMemberInfoList
{
    QString confId;
    int pageNo = 0;
    int pageSize = 0;
    QString jsonString;

    QString toLogString() const;
    auto fields() const { return std::tie(confId, pageNo, pageSize, jsonString); }
    bool operator==(const Agent_RequestGetConfMemberInfoList &o) const
    {
        return fields() == o.fields();
    }
    bool operator!=(const Agent_RequestGetConfMemberInfoList &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestGetConfMemberInfoList)

struct TQ_AGENT_EXPORT Agent_RequestGetHistoryConferenceMemberInfoList
{
    QString confId;
    QString memberId;
    int memberIdType = 0;
    int pageNo = 0;
    int pageSize = 0;
    int extraInt = 0;
    QString jsonString;

    QString toLogString() const;
    auto fields() const
    {
        return std::tie(confId, memberId, memberIdType, pageNo, pageSize, extraInt, jsonString);
    }
    bool operator==(const Agent_RequestGetHistoryConferenceMemberInfoList &o) const
    {
        return fields() == o.fields();
    }
    bool operator!=(const Agent_RequestGetHistoryConferenceMemberInfoList &o) const
    {
        return !(*this == o);
    }
};
Q_DECLARE_METATYPE(Agent_RequestGetHistoryConferenceMemberInfoList)

struct TQ_AGENT_EXPORT Agent_RequestConfInviteMember
{
    QString confId;
    QList<Agent_ConfInviteMember> inviteMembers;
    int callImmediately = 0;
    QString appData;
    QString jsonString;

    QString toLogString() const;
    auto fields() const
    {
        return std::tie(confId, inviteMembers, callImmediately, appData, jsonString);
    }
    bool operator==(const Agent_RequestConfInviteMember &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_RequestConfInviteMember &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestConfInviteMember)

struct TQ_AGENT_EXPORT Agent_RequestConfMemberRejectInvitation
{
    QString confId;
    QString invitationId; // logged only
    QString extraText;
    QString jsonString;

    QString toLogString() const;
    auto fields() const { return std::tie(confId, invitationId, extraText, jsonString); }
    bool operator==(const Agent_RequestConfMemberRejectInvitation &o) const
    {
        return fields() == o.fields();
    }
    bool operator!=(const Agent_RequestConfMemberRejectInvitation &o) const
    {
        return !(*this == o);
    }
};
Q_DECLARE_METATYPE(Agent_RequestConfMemberRejectInvitation)

struct TQ_AGENT_EXPORT Agent_RequestConfKickoutMember
{
    QString confId;
    QList<Agent_ConfKickMember> kickMembers;
    QString appData;
    QString jsonString;
    int spareInt = 0; // copied, never sent

    QString toLogString() const;
    auto fields() const { return std::tie(confId, kickMembers, appData, jsonString, spareInt); }
    bool operator==(const Agent_RequestConfKickoutMember &o) const
    {
        return fields() == o.fields();
    }
    bool operator!=(const Agent_RequestConfKickoutMember &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestConfKickoutMember)

struct TQ_AGENT_EXPORT Agent_RequestSetConfMemberRole
{
    QString confId;
    QString memberId;
    int memberIdType = 0;
    int roleId = 0;
    QString appData; // logged, not sent
    QString jsonString;

    QString toLogString() const;
    auto fields() const
    {
        return std::tie(confId, memberId, memberIdType, roleId, appData, jsonString);
    }
    bool operator==(const Agent_RequestSetConfMemberRole &o) const
    {
        return fields() == o.fields();
    }
    bool operator!=(const Agent_RequestSetConfMemberRole &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestSetConfMemberRole)

struct TQ_AGENT_EXPORT Agent_RequestConfSendCmd
{
    QString confId;
    int bAllMember = 0;
    QList<Agent_ConfTargetMember> members;
    QString cmdData;
    QString jsonString;

    QString toLogString() const;
    auto fields() const { return std::tie(confId, bAllMember, members, cmdData, jsonString); }
    bool operator==(const Agent_RequestConfSendCmd &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_RequestConfSendCmd &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestConfSendCmd)

struct TQ_AGENT_EXPORT Agent_RequestConfMediaControl
{
    QString confId;
    int unchangable = 0;
    int bAllMember = 0;
    QList<Agent_ConfTargetMember> members;
    int action = 0;
    QString appData;
    QString jsonString;

    QString toLogString() const;
    auto fields() const
    {
        return std::tie(confId, unchangable, bAllMember, members, action, appData, jsonString);
    }
    bool operator==(const Agent_RequestConfMediaControl &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_RequestConfMediaControl &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestConfMediaControl)

struct TQ_AGENT_EXPORT Agent_RequestConfRecord
{
    QString confId;
    QList<Agent_ConfRecordMemberInfo> members;
    int action = 0;
    QString jsonString;

    QString toLogString() const;
    auto fields() const { return std::tie(confId, members, action, jsonString); }
    bool operator==(const Agent_RequestConfRecord &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_RequestConfRecord &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestConfRecord)

struct TQ_AGENT_EXPORT Agent_RequestConfRecordList
{
    QString confId;
    int historyConf = 0;
    int pageNo = 0;
    int pageSize = 0;

    QString toLogString() const;
    auto fields() const { return std::tie(confId, historyConf, pageNo, pageSize); }
    bool operator==(const Agent_RequestConfRecordList &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_RequestConfRecordList &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestConfRecordList)

// Publishing video and sharing the screen: four distinct types of one shape, so that each
// answer carries its own request.
struct TQ_AGENT_EXPORT Agent_RequestConfStartPublishVideo
{
    QString confId;
    QString jsonString;

    QString toLogString() const;
    auto fields() const { return std::tie(confId, jsonString); }
    bool operator==(const Agent_RequestConfStartPublishVideo &o) const
    {
        return fields() == o.fields();
    }
    bool operator!=(const Agent_RequestConfStartPublishVideo &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestConfStartPublishVideo)

struct TQ_AGENT_EXPORT Agent_RequestConfStopPublishVideo
{
    QString confId;
    QString jsonString;

    QString toLogString() const;
    auto fields() const { return std::tie(confId, jsonString); }
    bool operator==(const Agent_RequestConfStopPublishVideo &o) const
    {
        return fields() == o.fields();
    }
    bool operator!=(const Agent_RequestConfStopPublishVideo &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestConfStopPublishVideo)

struct TQ_AGENT_EXPORT Agent_RequestConfStartScreenSharing
{
    QString confId;
    QString jsonString;

    QString toLogString() const;
    auto fields() const { return std::tie(confId, jsonString); }
    bool operator==(const Agent_RequestConfStartScreenSharing &o) const
    {
        return fields() == o.fields();
    }
    bool operator!=(const Agent_RequestConfStartScreenSharing &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestConfStartScreenSharing)

struct TQ_AGENT_EXPORT Agent_RequestConfStopScreenSharing
{
    QString confId;
    QString jsonString;

    QString toLogString() const;
    auto fields() const { return std::tie(confId, jsonString); }
    bool operator==(const Agent_RequestConfStopScreenSharing &o) const
    {
        return fields() == o.fields();
    }
    bool operator!=(const Agent_RequestConfStopScreenSharing &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestConfStopScreenSharing)

// Publishing voice: two distinct types of one shape.
struct TQ_AGENT_EXPORT Agent_RequestConfStartPublishVoice
{
    QString confId;
    int spareInt = 0; // copied, never sent (the engine gets 0)
    QString jsonString;

    QString toLogString() const;
    auto fields() const { return std::tie(confId, spareInt, jsonString); }
    bool operator==(const Agent_RequestConfStartPublishVoice &o) const
    {
        return fields() == o.fields();
    }
    bool operator!=(const Agent_RequestConfStartPublishVoice &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestConfStartPublishVoice)

struct TQ_AGENT_EXPORT Agent_RequestConfStopPublishVoice
{
    QString confId;
    int spareInt = 0; // copied, never sent (the engine gets 0)
    QString jsonString;

    QString toLogString() const;
    auto fields() const { return std::tie(confId, spareInt, jsonString); }
    bool operator==(const Agent_RequestConfStopPublishVoice &o) const
    {
        return fields() == o.fields();
    }
    bool operator!=(const Agent_RequestConfStopPublishVoice &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestConfStopPublishVoice)

// Member video: no matchKey, never stored. The windows are native handles, pointer-sized.
struct TQ_AGENT_EXPORT Agent_RequestConfRequestMemberVideo
{
    QString confId;
    QString confPasswd;
    QString member;
    quintptr videoWindow = 0;
    int mediaSourceType = 0;
    int width = 0;
    int height = 0;
    QString jsonString;
    int extraInt = 0;

    QString toLogString() const;
    auto fields() const
    {
        return std::tie(confId, confPasswd, member, videoWindow, mediaSourceType, width, height,
                        jsonString, extraInt);
    }
    bool operator==(const Agent_RequestConfRequestMemberVideo &o) const
    {
        return fields() == o.fields();
    }
    bool operator!=(const Agent_RequestConfRequestMemberVideo &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestConfRequestMemberVideo)

struct TQ_AGENT_EXPORT Agent_RequestConfCancelMemberVideo
{
    QString confId;
    QString confPasswd;
    QString member;
    int mediaSourceType = 0;
    QString jsonString;
    int extraInt = 0;

    QString toLogString() const;
    auto fields() const
    {
        return std::tie(confId, confPasswd, member, mediaSourceType, jsonString, extraInt);
    }
    bool operator==(const Agent_RequestConfCancelMemberVideo &o) const
    {
        return fields() == o.fields();
    }
    bool operator!=(const Agent_RequestConfCancelMemberVideo &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestConfCancelMemberVideo)

struct TQ_AGENT_EXPORT Agent_RequestConfResetMemberView
{
    QString confId;
    QString member;
    quintptr newWindow = 0;
    int mediaSourceType = 0;
    int width = 0;
    int height = 0;
    QString jsonString;
    int extraInt = 0;

    QString toLogString() const;
    auto fields() const
    {
        return std::tie(confId, member, newWindow, mediaSourceType, width, height, jsonString,
                        extraInt);
    }
    bool operator==(const Agent_RequestConfResetMemberView &o) const
    {
        return fields() == o.fields();
    }
    bool operator!=(const Agent_RequestConfResetMemberView &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_RequestConfResetMemberView)
