#pragma once

// Value records of the groups: a group's settings, details, list entries and member cards,
// and the notices the server pushes. Texts start empty but not null; numbers at 0. Fields
// named text/value/flag with a number are the engine's: carried unchanged.

#include <QList>
#include <QMetaType>
#include <QString>

#include <tuple>

// Equality through each record's tie() of all its fields.
#define TQ_GROUP_RECORD_EQUALITY(Record)                                                           \
    bool operator==(const Record &o) const                                                         \
    {                                                                                              \
        return tie() == o.tie();                                                                   \
    }                                                                                              \
    bool operator!=(const Record &o) const                                                         \
    {                                                                                              \
        return !(*this == o);                                                                      \
    }

// A group's settings: what ModifyGroup takes and onModifyGroup gives back.
struct Agent_ModifyGroupInfo
{
    QString groupId = QStringLiteral("");
    QString name = QStringLiteral("");
    int type = 0;
    QString province = QStringLiteral("");
    QString city = QStringLiteral("");
    int scope = 0;
    QString declared = QStringLiteral("");
    int permission = 0;
    QString groupDomain = QStringLiteral("");
    bool isDiscuss = false;

    auto tie() const
    {
        return std::tie(groupId, name, type, province, city, scope, declared, permission,
                        groupDomain, isDiscuss);
    }
    TQ_GROUP_RECORD_EQUALITY(Agent_ModifyGroupInfo)
};
Q_DECLARE_METATYPE(Agent_ModifyGroupInfo)

struct Agent_GroupMemberCard
{
    QString cardText1 = QStringLiteral("");
    QString cardText2 = QStringLiteral("");
    QString cardText3 = QStringLiteral("");
    QString cardText4 = QStringLiteral("");
    QString cardText5 = QStringLiteral("");
    QString cardText6 = QStringLiteral("");
    int cardValue1 = 0;
    int cardValue2 = 0;
    int cardValue3 = 0;

    auto tie() const
    {
        return std::tie(cardText1, cardText2, cardText3, cardText4, cardText5, cardText6,
                        cardValue1, cardValue2, cardValue3);
    }
    TQ_GROUP_RECORD_EQUALITY(Agent_GroupMemberCard)
};
Q_DECLARE_METATYPE(Agent_GroupMemberCard)

struct Agent_GroupDetailInfo
{
    QString groupId = QStringLiteral("");
    QString name = QStringLiteral("");
    QString detailText3 = QStringLiteral("");
    int type = 0;
    QString province = QStringLiteral("");
    QString city = QStringLiteral("");
    int scope = 0;
    QString declared = QStringLiteral("");
    QString detailText9 = QStringLiteral("");
    int permission = 0;
    int detailValue2 = 0;
    int detailValue3 = 0;
    QString groupDomain = QStringLiteral("");
    bool isDiscuss = false;

    auto tie() const
    {
        return std::tie(groupId, name, detailText3, type, province, city, scope, declared,
                        detailText9, permission, detailValue2, detailValue3, groupDomain,
                        isDiscuss);
    }
    TQ_GROUP_RECORD_EQUALITY(Agent_GroupDetailInfo)
};
Q_DECLARE_METATYPE(Agent_GroupDetailInfo)

// One of the user's groups. Type 101: the conference group ("ConfGroup" of type 0).
struct Agent_GroupSimpleInfo
{
    int type = 0;
    QString groupId = QStringLiteral("");
    QString name = QStringLiteral("");
    QString simpleText3 = QStringLiteral("");
    int simpleValue1 = 0;
    int simpleValue2 = 0;
    int simpleValue3 = 0;
    int simpleValue4 = 0;
    bool simpleFlag = false;

    auto tie() const
    {
        return std::tie(type, groupId, name, simpleText3, simpleValue1, simpleValue2, simpleValue3,
                        simpleValue4, simpleFlag);
    }
    TQ_GROUP_RECORD_EQUALITY(Agent_GroupSimpleInfo)
};
Q_DECLARE_METATYPE(Agent_GroupSimpleInfo)

struct Agent_GroupSearchInfo
{
    QString groupId = QStringLiteral("");
    QString name = QStringLiteral("");
    QString searchText3 = QStringLiteral("");
    QString searchText4 = QStringLiteral("");
    int searchValue1 = 0;
    int searchValue2 = 0;
    int searchValue3 = 0;
    bool searchFlag = false;

    auto tie() const
    {
        return std::tie(groupId, name, searchText3, searchText4, searchValue1, searchValue2,
                        searchValue3, searchFlag);
    }
    TQ_GROUP_RECORD_EQUALITY(Agent_GroupSearchInfo)
};
Q_DECLARE_METATYPE(Agent_GroupSearchInfo)

struct Agent_GroupMember
{
    QString member = QStringLiteral("");
    QString memberText = QStringLiteral("");
    int memberValue1 = 0;
    int memberValue2 = 0;
    int memberValue3 = 0;

    auto tie() const
    {
        return std::tie(member, memberText, memberValue1, memberValue2, memberValue3);
    }
    TQ_GROUP_RECORD_EQUALITY(Agent_GroupMember)
};
Q_DECLARE_METATYPE(Agent_GroupMember)

// ---- notices ----------------------------------------------------------------------------------

// Type 0: someone asks to join a group the user manages.
struct Agent_RequestJoinGroupNtyMsg
{
    QString sender = QStringLiteral("");
    QString groupId = QStringLiteral("");
    QString groupName = QStringLiteral("");
    QString dateCreated = QStringLiteral("");
    QString member = QStringLiteral("");
    QString extraText1 = QStringLiteral("");
    QString extraText2 = QStringLiteral("");
    int extraValue = 0;

    auto tie() const
    {
        return std::tie(sender, groupId, groupName, dateCreated, member, extraText1, extraText2,
                        extraValue);
    }
    TQ_GROUP_RECORD_EQUALITY(Agent_RequestJoinGroupNtyMsg)
};
Q_DECLARE_METATYPE(Agent_RequestJoinGroupNtyMsg)

// Type 1: the user is invited.
struct Agent_InviteJoinGroupNtyMsg
{
    int noticeType = 0;
    QString sender = QStringLiteral("");
    QString groupId = QStringLiteral("");
    QString groupName = QStringLiteral("");
    QString dateCreated = QStringLiteral("");
    QString member = QStringLiteral("");
    QString extraText1 = QStringLiteral("");
    QString extraText2 = QStringLiteral("");

    auto tie() const
    {
        return std::tie(noticeType, sender, groupId, groupName, dateCreated, member, extraText1,
                        extraText2);
    }
    TQ_GROUP_RECORD_EQUALITY(Agent_InviteJoinGroupNtyMsg)
};
Q_DECLARE_METATYPE(Agent_InviteJoinGroupNtyMsg)

// Type 2.
struct Agent_MemberJoinedGroupNtyMsg
{
    QString sender = QStringLiteral("");
    QString groupId = QStringLiteral("");
    QString groupName = QStringLiteral("");
    QString dateCreated = QStringLiteral("");
    QString member = QStringLiteral("");
    QString extraText1 = QStringLiteral("");
    QString extraText2 = QStringLiteral("");

    auto tie() const
    {
        return std::tie(sender, groupId, groupName, dateCreated, member, extraText1, extraText2);
    }
    TQ_GROUP_RECORD_EQUALITY(Agent_MemberJoinedGroupNtyMsg)
};
Q_DECLARE_METATYPE(Agent_MemberJoinedGroupNtyMsg)

// Type 3.
struct Agent_DismissGroupNtyMsg
{
    QString sender = QStringLiteral("");
    QString groupId = QStringLiteral("");
    QString groupName = QStringLiteral("");
    QString dateCreated = QStringLiteral("");

    auto tie() const { return std::tie(sender, groupId, groupName, dateCreated); }
    TQ_GROUP_RECORD_EQUALITY(Agent_DismissGroupNtyMsg)
};
Q_DECLARE_METATYPE(Agent_DismissGroupNtyMsg)

// Type 4 (a member quit) and type 5 (a member was removed) carry the same fields.
struct Agent_QuitGroupNtyMsg
{
    QString sender = QStringLiteral("");
    QString groupId = QStringLiteral("");
    QString groupName = QStringLiteral("");
    QString dateCreated = QStringLiteral("");
    QString member = QStringLiteral("");
    QString extraText1 = QStringLiteral("");

    auto tie() const
    {
        return std::tie(sender, groupId, groupName, dateCreated, member, extraText1);
    }
    TQ_GROUP_RECORD_EQUALITY(Agent_QuitGroupNtyMsg)
};
Q_DECLARE_METATYPE(Agent_QuitGroupNtyMsg)

struct Agent_RemoveGroupMemberNtyMsg
{
    QString sender = QStringLiteral("");
    QString groupId = QStringLiteral("");
    QString groupName = QStringLiteral("");
    QString dateCreated = QStringLiteral("");
    QString member = QStringLiteral("");
    QString extraText1 = QStringLiteral("");

    auto tie() const
    {
        return std::tie(sender, groupId, groupName, dateCreated, member, extraText1);
    }
    TQ_GROUP_RECORD_EQUALITY(Agent_RemoveGroupMemberNtyMsg)
};
Q_DECLARE_METATYPE(Agent_RemoveGroupMemberNtyMsg)

// Type 6: the answer to a join request; extraValue is the confirm code.
struct Agent_ReplyRequestJoinGroupNtyMsg
{
    QString sender = QStringLiteral("");
    QString groupId = QStringLiteral("");
    QString groupName = QStringLiteral("");
    QString dateCreated = QStringLiteral("");
    QString member = QStringLiteral("");
    QString extraText1 = QStringLiteral("");
    QString extraText2 = QStringLiteral("");
    int extraValue = 0;

    auto tie() const
    {
        return std::tie(sender, groupId, groupName, dateCreated, member, extraText1, extraText2,
                        extraValue);
    }
    TQ_GROUP_RECORD_EQUALITY(Agent_ReplyRequestJoinGroupNtyMsg)
};
Q_DECLARE_METATYPE(Agent_ReplyRequestJoinGroupNtyMsg)

// Type 7: the answer to an invitation, as type 6.
struct Agent_ReplyInviteJoinGroupNtyMsg
{
    QString sender = QStringLiteral("");
    QString groupId = QStringLiteral("");
    QString groupName = QStringLiteral("");
    QString dateCreated = QStringLiteral("");
    QString member = QStringLiteral("");
    QString extraText1 = QStringLiteral("");
    QString extraText2 = QStringLiteral("");
    int extraValue = 0;

    auto tie() const
    {
        return std::tie(sender, groupId, groupName, dateCreated, member, extraText1, extraText2,
                        extraValue);
    }
    TQ_GROUP_RECORD_EQUALITY(Agent_ReplyInviteJoinGroupNtyMsg)
};
Q_DECLARE_METATYPE(Agent_ReplyInviteJoinGroupNtyMsg)

// Type 8: the group's settings changed; extraValue stays 0.
struct Agent_ModifyGroupNtyMsg
{
    QString sender = QStringLiteral("");
    QString groupId = QStringLiteral("");
    QString groupName = QStringLiteral("");
    QString dateCreated = QStringLiteral("");
    QString member = QStringLiteral("");
    QString extraText1 = QStringLiteral("");
    int extraValue = 0;

    auto tie() const
    {
        return std::tie(sender, groupId, groupName, dateCreated, member, extraText1, extraValue);
    }
    TQ_GROUP_RECORD_EQUALITY(Agent_ModifyGroupNtyMsg)
};
Q_DECLARE_METATYPE(Agent_ModifyGroupNtyMsg)

// Type 10: extraValue is the member's new role.
struct Agent_ChangeMemberRoleMsg
{
    QString sender = QStringLiteral("");
    QString groupId = QStringLiteral("");
    QString groupName = QStringLiteral("");
    QString dateCreated = QStringLiteral("");
    QString member = QStringLiteral("");
    QString extraText1 = QStringLiteral("");
    int extraValue = 0;

    auto tie() const
    {
        return std::tie(sender, groupId, groupName, dateCreated, member, extraText1, extraValue);
    }
    TQ_GROUP_RECORD_EQUALITY(Agent_ChangeMemberRoleMsg)
};
Q_DECLARE_METATYPE(Agent_ChangeMemberRoleMsg)

// Type 11: modifyDic says what changed.
struct Agent_ModifyGroupMemberInfo
{
    QString groupId = QStringLiteral("");
    QString groupName = QStringLiteral("");
    QString member = QStringLiteral("");
    QString dateCreated = QStringLiteral("");
    QString sender = QStringLiteral("");
    QString modifyDic = QStringLiteral("");
    QString extraText1 = QStringLiteral("");

    auto tie() const
    {
        return std::tie(groupId, groupName, member, dateCreated, sender, modifyDic, extraText1);
    }
    TQ_GROUP_RECORD_EQUALITY(Agent_ModifyGroupMemberInfo)
};
Q_DECLARE_METATYPE(Agent_ModifyGroupMemberInfo)

// Type 12: the user joined; memberCount is memberList's size.
struct Agent_JoinGroupNoticeInfo
{
    QString sender = QStringLiteral("");
    QString groupId = QStringLiteral("");
    QString groupName = QStringLiteral("");
    QString dateCreated = QStringLiteral("");
    QString member = QStringLiteral("");
    QString extraText1 = QStringLiteral("");
    int memberCount = 0;
    QList<Agent_GroupMember> memberList;

    auto tie() const
    {
        return std::tie(sender, groupId, groupName, dateCreated, member, extraText1, memberCount,
                        memberList);
    }
    TQ_GROUP_RECORD_EQUALITY(Agent_JoinGroupNoticeInfo)
};
Q_DECLARE_METATYPE(Agent_JoinGroupNoticeInfo)

#undef TQ_GROUP_RECORD_EQUALITY
