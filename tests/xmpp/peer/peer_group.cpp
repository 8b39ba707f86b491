// Group commands of the peer, and the group entries of the message table (filled by
// PeerMain.cpp through fillGroupEntries).

#include "Peer.h"

#include <QByteArray>
#include <QJsonArray>

#include <cstdlib>

#include <vector>

namespace peer {
namespace {

template<std::size_t N> QString field(const char (&f)[N])
{
    return QString::fromUtf8(f, int(qstrnlen(f, N)));
}

QString textOf(const char *utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

QJsonObject answer(unsigned int key, int reason, QJsonObject fields = {})
{
    fields.insert(QStringLiteral("key"), double(key));
    fields.insert(QStringLiteral("reason"), reason);
    return fields;
}

// ---- answers ----

QJsonObject detailFields(const ZS_GroupDetailInfo *d)
{
    if (!d)
        return {{"null", true}};
    return {{"groupId", field(d->groupId)},
            {"name", field(d->name)},
            {"owner", field(d->detailText3)},
            {"type", d->type},
            {"province", field(d->province)},
            {"city", field(d->city)},
            {"scope", d->scope},
            {"declared", field(d->declared)},
            {"created", field(d->detailText9)},
            {"permission", d->permission},
            {"members", d->detailValue2},
            {"isDismiss", d->detailValue3},
            {"groupDomain", field(d->groupDomain)},
            {"isDiscuss", d->isDiscuss}};
}

void ZS_CALL onCreateGroup(unsigned int key, int reason, const ZS_GroupDetailInfo *info)
{
    emitEvent(QStringLiteral("onCreateGroup"), answer(key, reason, detailFields(info)));
}
void ZS_CALL onQueryGroupDetail(unsigned int key, int reason, const ZS_GroupDetailInfo *info)
{
    emitEvent(QStringLiteral("onQueryGroupDetail"), answer(key, reason, detailFields(info)));
}

template<const char *Event> void ZS_CALL groupAnswer(unsigned int key, int reason, const char *id)
{
    emitEvent(QString::fromLatin1(Event), answer(key, reason, {{"groupId", textOf(id)}}));
}
template<const char *Event>
void ZS_CALL memberAnswer(unsigned int key, int reason, const char *id, const char *member,
                          int value)
{
    emitEvent(QString::fromLatin1(Event),
              answer(key, reason,
                     {{"groupId", textOf(id)}, {"member", textOf(member)}, {"value", value}}));
}
constexpr char kDismiss[] = "onDismissGroup";
constexpr char kQuit[] = "onQuitGroup";
constexpr char kJoin[] = "onJoinGroup";
constexpr char kReplyRequest[] = "onReplyRequestJoinGroup";
constexpr char kReplyInvite[] = "onReplyInviteJoinGroup";
constexpr char kForbid[] = "onForbidMemberSpeakGroup";

void ZS_CALL onInviteJoinGroup(unsigned int key, int reason, const char *id,
                               const char *const *members, int count, int confirm)
{
    QJsonArray list;
    for (int i = 0; members && i < count; ++i)
        list.append(textOf(members[i]));
    emitEvent(
        QStringLiteral("onInviteJoinGroup"),
        answer(key, reason, {{"groupId", textOf(id)}, {"members", list}, {"confirm", confirm}}));
}

void ZS_CALL onQueryOwnGroup(unsigned int key, int reason, int count,
                             const ZS_GroupSimpleInfo *groups)
{
    QJsonArray list;
    for (int i = 0; groups && i < count; ++i)
        list.append(QJsonObject{{"groupId", field(groups[i].groupId)},
                                {"name", field(groups[i].name)},
                                {"owner", field(groups[i].simpleText3)},
                                {"role", groups[i].simpleValue2},
                                {"rule", groups[i].simpleValue3},
                                {"type", groups[i].type}});
    emitEvent(QStringLiteral("onQueryOwnGroup"), answer(key, reason, {{"groups", list}}));
}

QJsonArray searchList(int count, const ZS_GroupSearchInfo *groups)
{
    QJsonArray list;
    for (int i = 0; groups && i < count; ++i)
        list.append(QJsonObject{{"groupId", field(groups[i].groupId)},
                                {"name", field(groups[i].name)},
                                {"owner", field(groups[i].searchText3)},
                                {"declared", field(groups[i].searchText4)},
                                {"member", groups[i].searchFlag}});
    return list;
}
void ZS_CALL onSearchPublicGroup(unsigned int key, int reason, int searchType, const char *keyword,
                                 int count, const ZS_GroupSearchInfo *groups)
{
    emitEvent(QStringLiteral("onSearchPublicGroup"),
              answer(key, reason,
                     {{"searchType", searchType},
                      {"keyword", textOf(keyword)},
                      {"groups", searchList(count, groups)}}));
}
void ZS_CALL onSearchPublicGroupPaging(unsigned int key, int reason, int searchType,
                                       const char *keyword, int count,
                                       const ZS_GroupSearchInfo *groups, int pageNo)
{
    emitEvent(QStringLiteral("onSearchPublicGroupPaging"),
              answer(key, reason,
                     {{"searchType", searchType},
                      {"keyword", textOf(keyword)},
                      {"groups", searchList(count, groups)},
                      {"pageNo", pageNo}}));
}

void ZS_CALL onQueryGroupMember(unsigned int key, int reason, const char *id, int count,
                                const ZS_GroupMemberInfo *members)
{
    QJsonArray list;
    for (int i = 0; members && i < count; ++i)
        list.append(QJsonObject{{"member", field(members[i].member)},
                                {"text", field(members[i].memberText)},
                                {"role", members[i].memberValue1},
                                {"muted", members[i].memberValue2}});
    emitEvent(QStringLiteral("onQueryGroupMember"),
              answer(key, reason, {{"groupId", textOf(id)}, {"members", list}}));
}

void ZS_CALL onDeleteGroupMember(unsigned int key, int reason, const char *id, const char *member)
{
    emitEvent(QStringLiteral("onDeleteGroupMember"),
              answer(key, reason, {{"groupId", textOf(id)}, {"member", textOf(member)}}));
}

QJsonObject cardFields(const ZS_GroupMemberCard *c)
{
    if (!c)
        return {{"null", true}};
    return {{"member", field(c->cardText1)},   {"groupId", field(c->cardText2)},
            {"nickname", field(c->cardText3)}, {"phone", field(c->cardText4)},
            {"title", field(c->cardText5)},    {"remark", field(c->cardText6)},
            {"role", c->cardValue1},           {"muted", c->cardValue2},
            {"value", c->cardValue3}};
}
void ZS_CALL onQueryGroupMemberCard(unsigned int key, int reason, const ZS_GroupMemberCard *card)
{
    emitEvent(QStringLiteral("onQueryGroupMemberCard"), answer(key, reason, cardFields(card)));
}
void ZS_CALL onModifyGroupMemberCard(unsigned int key, int reason, const ZS_GroupMemberCard *card)
{
    emitEvent(QStringLiteral("onModifyGroupMemberCard"), answer(key, reason, cardFields(card)));
}
void ZS_CALL onModifyGroup(unsigned int key, int reason, const ZS_GroupChangeInfo *info)
{
    emitEvent(
        QStringLiteral("onModifyGroup"),
        answer(key, reason,
               info ? QJsonObject{{"groupId", field(info->groupId)}, {"name", field(info->name)}}
                    : QJsonObject{{"null", true}}));
}
void ZS_CALL onSetGroupMessageRule(unsigned int key, int reason, const char *id, ZS_Bool8 notice)
{
    emitEvent(QStringLiteral("onSetGroupMessageRule"),
              answer(key, reason, {{"groupId", textOf(id)}, {"notice", int(notice)}}));
}
void ZS_CALL onSetGroupMemberRole(unsigned int key, int reason)
{
    emitEvent(QStringLiteral("onSetGroupMemberRole"), answer(key, reason));
}

// ---- notices: the fields of the record of each type ----

template<class Record> QJsonObject headerFields(const Record &r)
{
    return {{"sender", field(r.sender)},
            {"groupId", field(r.groupId)},
            {"groupName", field(r.groupName)},
            {"dateCreated", field(r.dateCreated)}};
}

void ZS_CALL onGroupNotice(const ZS_GroupNotice *notice)
{
    if (!notice) {
        emitEvent(QStringLiteral("onReceiveGroupNoticeMessage"), {{"null", true}});
        return;
    }
    QJsonObject o{{"type", notice->type}};
    const void *detail = notice->detail;
    const auto merge = [&o](const QJsonObject &more) {
        for (auto it = more.begin(); it != more.end(); ++it)
            o.insert(it.key(), it.value());
    };
    switch (detail ? notice->type : -1) {
    case ZS_GROUP_NOTICE_REQUEST_JOIN: {
        const auto &r = *static_cast<const ZS_GroupJoinRequestNotice *>(detail);
        merge(headerFields(r));
        merge({{"member", field(r.member)},
               {"extraText1", field(r.extraText1)},
               {"extraValue", r.extraValue}});
        break;
    }
    case ZS_GROUP_NOTICE_INVITE: {
        const auto &r = *static_cast<const ZS_GroupInviteNotice *>(detail);
        merge(headerFields(r));
        merge({{"member", field(r.member)},
               {"noticeType", r.noticeType},
               {"extraText1", field(r.extraText1)}});
        break;
    }
    case ZS_GROUP_NOTICE_MEMBER_JOINED: {
        const auto &r = *static_cast<const ZS_GroupMemberJoinedNotice *>(detail);
        merge(headerFields(r));
        merge({{"member", field(r.member)}});
        break;
    }
    case ZS_GROUP_NOTICE_DISMISSED:
        merge(headerFields(*static_cast<const ZS_GroupDismissNotice *>(detail)));
        break;
    case ZS_GROUP_NOTICE_REPLY_REQUEST:
    case ZS_GROUP_NOTICE_REPLY_INVITE: {
        const auto &r = *static_cast<const ZS_GroupReplyNotice *>(detail);
        merge(headerFields(r));
        merge({{"member", field(r.member)},
               {"extraText1", field(r.extraText1)},
               {"extraValue", r.extraValue}});
        break;
    }
    case ZS_GROUP_NOTICE_ROLE: {
        const auto &r = *static_cast<const ZS_GroupRoleNotice *>(detail);
        merge(headerFields(r));
        merge({{"member", field(r.member)}, {"extraValue", r.extraValue}});
        break;
    }
    case ZS_GROUP_NOTICE_MEMBER_INFO: {
        const auto &r = *static_cast<const ZS_GroupMemberInfoNotice *>(detail);
        merge(headerFields(r));
        merge({{"member", field(r.member)}, {"modifyDic", field(r.modifyDic)}});
        break;
    }
    case ZS_GROUP_NOTICE_JOINED: {
        const auto &r = *static_cast<const ZS_GroupJoinNotice *>(detail);
        merge(headerFields(r));
        QJsonArray members;
        const auto *entries = reinterpret_cast<const ZS_GroupNoticeMember *>(
            static_cast<const char *>(detail) + sizeof r);
        for (int i = 0; i < r.memberCount; ++i)
            members.append(field(entries[i].member));
        merge({{"member", field(r.member)}, {"members", members}});
        break;
    }
    case ZS_GROUP_NOTICE_QUIT:
    case ZS_GROUP_NOTICE_REMOVED:
    case ZS_GROUP_NOTICE_MODIFIED: {
        const auto &r = *static_cast<const ZS_GroupNoticeHeader *>(detail);
        merge(headerFields(r));
        merge({{"member", field(r.member)}});
        break;
    }
    default:
        break;
    }
    emitEvent(QStringLiteral("onReceiveGroupNoticeMessage"), o);
}

// ---- commands ----

void emitKeyed(const char *command, int ret, unsigned int key)
{
    emitReturn(QString::fromLatin1(command), ret, {{"key", double(key)}});
}

// gcreate name [scope] [declared] [type] [province] [city] [permission] [domain] [discuss]
void create(const QStringList &args)
{
    const QByteArray name = arg(args, 0).toUtf8();
    const QByteArray declared = arg(args, 2).toUtf8();
    const QByteArray province = arg(args, 4).toUtf8();
    const QByteArray city = arg(args, 5).toUtf8();
    const QByteArray domain = arg(args, 7).toUtf8();
    unsigned int key = 0;
    const int ret = CreateGroup(&key, name.constData(), arg(args, 3).toInt(), province.constData(),
                                city.constData(), arg(args, 1).toInt(), declared.constData(),
                                arg(args, 6).toInt(), 0, domain.constData(),
                                arg(args, 8) == QLatin1String("1"));
    emitKeyed("gcreate", ret, key);
}

// A command over one group id and up to two more texts and a number.
template<class Fn> Command simple(const char *name, Fn fn)
{
    return [name, fn](const QStringList &args) {
        const QByteArray a = arg(args, 0).toUtf8();
        const QByteArray b = arg(args, 1).toUtf8();
        unsigned int key = 0;
        const int ret = fn(&key, a.constData(), b.constData(), arg(args, 2).toInt());
        emitKeyed(name, ret, key);
    };
}

// ginvite id declared confirm member...
void invite(const QStringList &args)
{
    const QByteArray id = arg(args, 0).toUtf8();
    const QByteArray declared = arg(args, 1).toUtf8();
    std::vector<QByteArray> store;
    for (int i = 3; i < args.size(); ++i)
        store.push_back(args[i].toUtf8());
    std::vector<const char *> members;
    for (const QByteArray &m : store)
        members.push_back(m.constData());
    unsigned int key = 0;
    const int ret = InviteJoinGroup(&key, id.constData(), declared.constData(),
                                    members.empty() ? nullptr : members.data(), int(members.size()),
                                    arg(args, 2).toInt());
    emitKeyed("ginvite", ret, key);
}

// gmembers id border pageSize
void members(const QStringList &args)
{
    const QByteArray id = arg(args, 0).toUtf8();
    const QByteArray border = arg(args, 1).toUtf8();
    unsigned int key = 0;
    const int ret
        = QueryGroupMember(&key, id.constData(), border.constData(), arg(args, 2).toInt());
    emitKeyed("gmembers", ret, key);
}

// gmodify id name scope declared
void modify(const QStringList &args)
{
    ZS_GroupChangeInfo info{};
    fill(info.groupId, arg(args, 0));
    fill(info.name, arg(args, 1));
    info.scope = arg(args, 2).toInt();
    fill(info.declared, arg(args, 3));
    unsigned int key = 0;
    const int ret = ModifyGroup(&key, arg(args, 0) == QLatin1String("null") ? nullptr : &info);
    emitKeyed("gmodify", ret, key);
}

// gcardset id member nickname phone title remark value ("null" id: no record)
void modifyCard(const QStringList &args)
{
    ZS_GroupMemberCard card{};
    fill(card.cardText2, arg(args, 0));
    fill(card.cardText1, arg(args, 1));
    fill(card.cardText3, arg(args, 2));
    fill(card.cardText4, arg(args, 3));
    fill(card.cardText5, arg(args, 4));
    fill(card.cardText6, arg(args, 5));
    card.cardValue3 = arg(args, 6).toInt();
    unsigned int key = 0;
    const int ret = ModifyMemberCard(&key, arg(args, 0) == QLatin1String("null") ? nullptr : &card);
    emitKeyed("gcardset", ret, key);
}

// gsearch type keyword [pageNo pageSize]: the paging form with a page number
void search(const QStringList &args)
{
    const QByteArray keyword = arg(args, 1).toUtf8();
    unsigned int key = 0;
    const int ret = args.size() > 2
        ? SearchPublicGroupsPaging(&key, arg(args, 0).toInt(), keyword.constData(),
                                   arg(args, 2).toInt(), arg(args, 3).toInt())
        : SearchPublicGroups(&key, arg(args, 0).toInt(), keyword.constData());
    emitKeyed("gsearch", ret, key);
}

} // namespace

void fillGroupEntries(ZS_MessageCallBack &t)
{
    t.onCreateGroup = onCreateGroup;
    t.onDismissGroup = groupAnswer<kDismiss>;
    t.onQuitGroup = groupAnswer<kQuit>;
    t.onJoinGroup = groupAnswer<kJoin>;
    t.onReplyRequestJoinGroup = memberAnswer<kReplyRequest>;
    t.onInviteJoinGroup = onInviteJoinGroup;
    t.onReplyInviteJoinGroup = memberAnswer<kReplyInvite>;
    t.onQueryOwnGroup = onQueryOwnGroup;
    t.onQueryGroupDetail = onQueryGroupDetail;
    t.onModifyGroup = onModifyGroup;
    t.onSearchPublicGroup = onSearchPublicGroup;
    t.onQueryGroupMember = onQueryGroupMember;
    t.onDeleteGroupMember = onDeleteGroupMember;
    t.onQueryGroupMemberCard = onQueryGroupMemberCard;
    t.onModifyGroupMemberCard = onModifyGroupMemberCard;
    t.onForbidMemberSpeakGroup = memberAnswer<kForbid>;
    t.onSetGroupMessageRule = onSetGroupMessageRule;
    t.onReceiveGroupNoticeMessage = onGroupNotice;
    t.onSetGroupMemberRole = onSetGroupMemberRole;
    t.onSearchPublicGroupPaging = onSearchPublicGroupPaging;
}

TQ_PEER_COMMAND("gcreate", create)
TQ_PEER_COMMAND("ginvite", invite)
TQ_PEER_COMMAND("gmembers", members)
TQ_PEER_COMMAND("gmodify", modify)
TQ_PEER_COMMAND("gcardset", modifyCard)
TQ_PEER_COMMAND("gsearch", search)
TQ_PEER_COMMAND("gdismiss",
                simple("gdismiss", [](unsigned int *k, const char *id, const char *, int) {
                    return DismissGroup(k, id);
                }))
TQ_PEER_COMMAND("gquit", simple("gquit", [](unsigned int *k, const char *id, const char *, int) {
                    return QuitGroup(k, id);
                }))
TQ_PEER_COMMAND("gjoin",
                simple("gjoin", [](unsigned int *k, const char *id, const char *text, int) {
                    return JoinGroup(k, id, text);
                }))
// greplyreq id member confirm
TQ_PEER_COMMAND("greplyreq",
                simple("greplyreq", [](unsigned int *k, const char *id, const char *m, int c) {
                    return ReplyRequestJoinGroup(k, id, m, c);
                }))
// greplyinv id invitor confirm
TQ_PEER_COMMAND("greplyinv",
                simple("greplyinv", [](unsigned int *k, const char *id, const char *m, int c) {
                    return ReplyInviteJoinGroup(k, id, m, c);
                }))
// gown border pageSize
TQ_PEER_COMMAND("gown",
                simple("gown", [](unsigned int *k, const char *border, const char *size, int) {
                    return QueryOwnGroup(k, border, atoi(size), 0);
                }))
TQ_PEER_COMMAND("gdetail",
                simple("gdetail", [](unsigned int *k, const char *id, const char *, int) {
                    return QueryGroupDetail(k, id);
                }))
TQ_PEER_COMMAND("gdelete",
                simple("gdelete", [](unsigned int *k, const char *id, const char *m, int) {
                    return DeleteGroupMember(k, id, m);
                }))
// gforbid id member isBan
TQ_PEER_COMMAND("gforbid",
                simple("gforbid", [](unsigned int *k, const char *id, const char *m, int ban) {
                    return ForbidMemberSpeak(k, id, m, ban);
                }))
// gcard id member
TQ_PEER_COMMAND("gcard", simple("gcard", [](unsigned int *k, const char *id, const char *m, int) {
                    return QueryGroupMemberCard(k, id, m);
                }))
// grule id notice
TQ_PEER_COMMAND("grule",
                simple("grule", [](unsigned int *k, const char *id, const char *notice, int) {
                    return SetGroupMessageRule(k, id, atoi(notice) != 0);
                }))
// grole id member role
TQ_PEER_COMMAND("grole",
                simple("grole", [](unsigned int *k, const char *id, const char *m, int role) {
                    return SetGroupMemberRole(k, id, m, role);
                }))

} // namespace peer
