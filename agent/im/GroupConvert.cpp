#include "GroupConvert.h"

#include <FixedField.h>

#include <QByteArray>

#include <cstring>

namespace im {

namespace {

template<class Record> void zero(Record &record)
{
    std::memset(static_cast<void *>(&record), 0, sizeof record);
}

// The texts every notice header starts with, wherever the record puts them.
template<class Notice, class Record> void readHeader(Notice &n, const Record &r)
{
    n.sender = tq::readField(r.sender);
    n.groupId = tq::readField(r.groupId);
    n.groupName = tq::readField(r.groupName);
    n.dateCreated = tq::readField(r.dateCreated);
    n.member = tq::readField(r.member);
}

// A record with its fields copied one by one into another of the same fields.
template<class To, class From> To sameFields(const From &f)
{
    To t;
    t.sender = f.sender;
    t.groupId = f.groupId;
    t.groupName = f.groupName;
    t.dateCreated = f.dateCreated;
    t.member = f.member;
    t.extraText1 = f.extraText1;
    return t;
}

QString base64Text(const char (&field)[513])
{
    const QByteArray text(field, int(qstrnlen(field, sizeof field)));
    return QString::fromUtf8(QByteArray::fromBase64(text));
}

} // namespace

void toEngine(const Agent_ModifyGroupInfo &g, ZS_GroupChangeInfo &r)
{
    zero(r);
    tq::writeField(r.groupId, g.groupId);
    tq::writeField(r.name, g.name);
    r.type = g.type;
    tq::writeField(r.province, g.province);
    tq::writeField(r.city, g.city);
    r.scope = g.scope;
    tq::writeField(r.declared, g.declared);
    r.permission = g.permission;
    tq::writeField(r.groupDomain, g.groupDomain);
    r.isDiscuss = g.isDiscuss ? 1 : 0;
}

void toEngine(const Agent_GroupMemberCard &c, ZS_GroupMemberCard &r)
{
    zero(r);
    tq::writeField(r.cardText1, c.cardText1);
    tq::writeField(r.cardText2, c.cardText2);
    tq::writeField(r.cardText3, c.cardText3);
    tq::writeField(r.cardText4, c.cardText4);
    tq::writeField(r.cardText5, c.cardText5);
    tq::writeField(r.cardText6, c.cardText6);
    r.cardValue1 = c.cardValue1;
    r.cardValue2 = c.cardValue2;
    r.cardValue3 = c.cardValue3;
}

Agent_ModifyGroupInfo fromEngine(const ZS_GroupChangeInfo &r)
{
    Agent_ModifyGroupInfo g;
    g.groupId = tq::readField(r.groupId);
    g.name = tq::readField(r.name);
    g.type = r.type;
    g.province = tq::readField(r.province);
    g.city = tq::readField(r.city);
    g.scope = r.scope;
    g.declared = tq::readField(r.declared);
    g.permission = r.permission;
    g.groupDomain = tq::readField(r.groupDomain);
    g.isDiscuss = tq::engineFlag(r.isDiscuss);
    return g;
}

Agent_GroupMemberCard fromEngine(const ZS_GroupMemberCard &r)
{
    Agent_GroupMemberCard c;
    c.cardText1 = tq::readField(r.cardText1);
    c.cardText2 = tq::readField(r.cardText2);
    c.cardText3 = tq::readField(r.cardText3);
    c.cardText4 = tq::readField(r.cardText4);
    c.cardText5 = tq::readField(r.cardText5);
    c.cardText6 = tq::readField(r.cardText6);
    c.cardValue1 = r.cardValue1;
    c.cardValue2 = r.cardValue2;
    c.cardValue3 = r.cardValue3;
    return c;
}

Agent_GroupDetailInfo fromEngine(const ZS_GroupDetailInfo &r, Domain domain)
{
    Agent_GroupDetailInfo d;
    d.groupId = tq::readField(r.groupId);
    d.name = tq::readField(r.name);
    d.detailText3 = tq::readField(r.detailText3);
    d.type = r.type;
    d.province = tq::readField(r.province);
    d.city = tq::readField(r.city);
    d.scope = r.scope;
    d.declared = tq::readField(r.declared);
    d.detailText9 = tq::readField(r.detailText9);
    d.permission = r.permission;
    d.detailValue2 = r.detailValue2;
    d.detailValue3 = r.detailValue3;
    d.groupDomain
        = domain == Domain::Base64 ? base64Text(r.groupDomain) : tq::readField(r.groupDomain);
    d.isDiscuss = tq::engineFlag(r.isDiscuss);
    return d;
}

Agent_GroupSimpleInfo fromEngine(const ZS_GroupSimpleInfo &r)
{
    Agent_GroupSimpleInfo g;
    g.type = r.type;
    g.groupId = tq::readField(r.groupId);
    g.name = tq::readField(r.name);
    g.simpleText3 = tq::readField(r.simpleText3);
    g.simpleValue1 = r.simpleValue1;
    g.simpleValue2 = r.simpleValue2;
    g.simpleValue3 = r.simpleValue3;
    g.simpleValue4 = r.simpleValue4;
    g.simpleFlag = tq::engineFlag(r.simpleFlag);
    if (g.type == 0 && g.name == QLatin1String("ConfGroup"))
        g.type = 101;
    return g;
}

Agent_GroupSearchInfo fromEngine(const ZS_GroupSearchInfo &r)
{
    Agent_GroupSearchInfo g;
    g.groupId = tq::readField(r.groupId);
    g.name = tq::readField(r.name);
    g.searchText3 = tq::readField(r.searchText3);
    g.searchText4 = tq::readField(r.searchText4);
    g.searchValue1 = r.searchValue1;
    g.searchValue2 = r.searchValue2;
    g.searchValue3 = r.searchValue3;
    g.searchFlag = tq::engineFlag(r.searchFlag);
    return g;
}

Agent_GroupMember fromEngine(const ZS_GroupMemberInfo &r)
{
    Agent_GroupMember m;
    m.member = tq::readField(r.member);
    m.memberText = tq::readField(r.memberText);
    m.memberValue1 = r.memberValue1;
    m.memberValue2 = r.memberValue2;
    m.memberValue3 = r.memberValue3;
    return m;
}

Agent_RequestJoinGroupNtyMsg requestJoinNotice(const ZS_GroupJoinRequestNotice &r)
{
    Agent_RequestJoinGroupNtyMsg n;
    readHeader(n, r);
    n.extraText1 = tq::readField(r.extraText1);
    n.extraText2 = tq::readField(r.extraText2);
    n.extraValue = r.extraValue;
    return n;
}

Agent_InviteJoinGroupNtyMsg inviteNotice(const ZS_GroupInviteNotice &r)
{
    Agent_InviteJoinGroupNtyMsg n;
    n.noticeType = r.noticeType;
    readHeader(n, r);
    n.extraText1 = tq::readField(r.extraText1);
    n.extraText2 = tq::readField(r.extraText2);
    return n;
}

Agent_MemberJoinedGroupNtyMsg memberJoinedNotice(const ZS_GroupMemberJoinedNotice &r)
{
    Agent_MemberJoinedGroupNtyMsg n;
    readHeader(n, r);
    n.extraText1 = tq::readField(r.extraText1);
    n.extraText2 = tq::readField(r.extraText2);
    return n;
}

Agent_DismissGroupNtyMsg dismissNotice(const ZS_GroupDismissNotice &r)
{
    Agent_DismissGroupNtyMsg n;
    n.sender = tq::readField(r.sender);
    n.groupId = tq::readField(r.groupId);
    n.groupName = tq::readField(r.groupName);
    n.dateCreated = tq::readField(r.dateCreated);
    return n;
}

Agent_QuitGroupNtyMsg memberLeftNotice(const ZS_GroupNoticeHeader &r)
{
    Agent_QuitGroupNtyMsg n;
    readHeader(n, r);
    n.extraText1 = tq::readField(r.extraText1);
    return n;
}

Agent_RemoveGroupMemberNtyMsg removedNotice(const Agent_QuitGroupNtyMsg &left)
{
    return sameFields<Agent_RemoveGroupMemberNtyMsg>(left);
}

Agent_ReplyRequestJoinGroupNtyMsg replyNotice(const ZS_GroupReplyNotice &r)
{
    Agent_ReplyRequestJoinGroupNtyMsg n;
    readHeader(n, r);
    n.extraText1 = tq::readField(r.extraText1);
    n.extraText2 = tq::readField(r.extraText2);
    n.extraValue = r.extraValue;
    return n;
}

Agent_ReplyInviteJoinGroupNtyMsg replyInviteNotice(const Agent_ReplyRequestJoinGroupNtyMsg &reply)
{
    Agent_ReplyInviteJoinGroupNtyMsg n = sameFields<Agent_ReplyInviteJoinGroupNtyMsg>(reply);
    n.extraText2 = reply.extraText2;
    n.extraValue = reply.extraValue;
    return n;
}

Agent_ModifyGroupNtyMsg modifiedNotice(const ZS_GroupNoticeHeader &r)
{
    Agent_ModifyGroupNtyMsg n;
    readHeader(n, r);
    n.extraText1 = tq::readField(r.extraText1);
    return n;
}

Agent_ChangeMemberRoleMsg roleNotice(const ZS_GroupRoleNotice &r)
{
    Agent_ChangeMemberRoleMsg n;
    readHeader(n, r);
    n.extraText1 = tq::readField(r.extraText1);
    n.extraValue = r.extraValue;
    return n;
}

Agent_ModifyGroupMemberInfo memberInfoNotice(const ZS_GroupMemberInfoNotice &r)
{
    Agent_ModifyGroupMemberInfo n;
    readHeader(n, r);
    n.modifyDic = tq::readField(r.modifyDic);
    n.extraText1 = tq::readField(r.extraText1);
    return n;
}

Agent_JoinGroupNoticeInfo joinedNotice(const ZS_GroupJoinNotice &r)
{
    Agent_JoinGroupNoticeInfo n;
    readHeader(n, r);
    n.extraText1 = tq::readField(r.extraText1);
    // The entries follow the record in the same allocation.
    const auto *entries = reinterpret_cast<const ZS_GroupNoticeMember *>(&r + 1);
    n.memberList = tq::convertArray(entries, r.memberCount, [](const ZS_GroupNoticeMember &e) {
        Agent_GroupMember m;
        m.member = tq::readField(e.member);
        m.memberText = tq::readField(e.memberText);
        return m;
    });
    n.memberCount = n.memberList.size();
    return n;
}

} // namespace im
