// Group requests: making, dismissing, leaving and joining groups, invitations and requests to
// join with their answers, the own groups, a group's details and members, member cards, muting
// and roles.
// Each checks the session at once and runs on the engine's thread; answers come from there.

#include "XmppCommon.h"
#include "XmppEngine.h"
#include "XmppGroups.h"
#include "XmppSession.h"

#include <QStringList>

using namespace zsxmpp;

namespace {

// A bare JID is at most 3071 bytes; a longer text is cut there.
constexpr std::size_t kTextMax = 3072;
// A group's declared text and domain fill 513 bytes of the records at most.
constexpr std::size_t kLongTextMax = 4096;
constexpr int kMembersMax = 1000;

QString arg(const char *utf8, std::size_t max = kTextMax)
{
    return fieldText(utf8, max);
}

// Checks the session, issues the key, traces the request and runs fn with the session's
// groups on the engine's thread.
int request(unsigned int *matchKey, const char *name, const QString &details,
            std::function<void(unsigned int, Groups &)> fn)
{
    if (const int rc = sessionCheck())
        return rc;
    const unsigned int key = issueKey(matchKey);
    Engine::get().trace(QStringLiteral("%1 key %2 ").arg(QLatin1String(name)).arg(key) + details);
    return Engine::get().post([key, fn = std::move(fn)] {
        if (Session *session = Engine::get().session())
            fn(key, session->groups());
    })
        ? int(ZS_OK)
        : int(ZS_ERR_NOT_INITIALIZED);
}

// The trace of a request about a group and someone or something in it: "<id> <other>", then
// " <label> <value>" when a label is given.
QString about(const QString &id, const QString &other, const char *label = nullptr, int value = 0)
{
    QString text = escaped(id) + QLatin1Char(' ') + escaped(other);
    if (label)
        text += QLatin1Char(' ') + QLatin1String(label) + QLatin1Char(' ') + QString::number(value);
    return text;
}

} // namespace

extern "C" {

int CreateGroup(unsigned int *matchKey, const char *groupName, int type, const char *province,
                const char *city, int scope, const char *declared, int permission, int isDismiss,
                const char *groupDomain, bool isDiscuss)
{
    Groups::Settings s;
    s.name = arg(groupName);
    s.type = type;
    s.province = arg(province);
    s.city = arg(city);
    s.scope = scope;
    s.declared = arg(declared, kLongTextMax);
    s.permission = permission;
    s.isDismiss = isDismiss;
    s.domain = arg(groupDomain, kLongTextMax);
    s.discuss = isDiscuss;
    return request(matchKey, "CreateGroup",
                   escaped(s.name) + QStringLiteral(" type %1 scope %2").arg(type).arg(scope),
                   [s](unsigned int key, Groups &g) { g.create(key, s); });
}

int DismissGroup(unsigned int *matchKey, const char *groupid)
{
    const QString id = arg(groupid);
    return request(matchKey, "DismissGroup", escaped(id),
                   [id](unsigned int key, Groups &g) { g.dismiss(key, id); });
}

int QuitGroup(unsigned int *matchKey, const char *groupid)
{
    const QString id = arg(groupid);
    return request(matchKey, "QuitGroup", escaped(id),
                   [id](unsigned int key, Groups &g) { g.quit(key, id); });
}

int JoinGroup(unsigned int *matchKey, const char *groupid, const char *declared)
{
    const QString id = arg(groupid);
    const QString text = arg(declared, kLongTextMax);
    return request(matchKey, "JoinGroup", escaped(id),
                   [id, text](unsigned int key, Groups &g) { g.join(key, id, text); });
}

int ReplyRequestJoinGroup(unsigned int *matchKey, const char *groupid, const char *member,
                          int confirm)
{
    const QString id = arg(groupid);
    const QString who = arg(member);
    return request(
        matchKey, "ReplyRequestJoinGroup", about(id, who, "confirm", confirm),
        [id, who, confirm](unsigned int key, Groups &g) { g.replyRequest(key, id, who, confirm); });
}

int InviteJoinGroup(unsigned int *matchKey, const char *groupId, const char *declard,
                    const char *const *members, int count, int confirm)
{
    const QString id = arg(groupId);
    const QString text = arg(declard, kLongTextMax);
    QStringList list;
    for (int i = 0; members && i < count && i < kMembersMax; ++i)
        list << arg(members[i]);
    return request(matchKey, "InviteJoinGroup",
                   escaped(id) + QStringLiteral(" members ") + QString::number(list.size()),
                   [id, text, list, confirm](unsigned int key, Groups &g) {
                       g.invite(key, id, text, list, confirm);
                   });
}

int ReplyInviteJoinGroup(unsigned int *matchKey, const char *groupid, const char *invitor,
                         int confirm)
{
    const QString id = arg(groupid);
    const QString who = arg(invitor);
    return request(
        matchKey, "ReplyInviteJoinGroup", about(id, who, "confirm", confirm),
        [id, who, confirm](unsigned int key, Groups &g) { g.replyInvite(key, id, who, confirm); });
}

int QueryOwnGroup(unsigned int *matchKey, const char *borderGroupid, int pageSize, int target)
{
    (void)target; // every group of the user, whatever the role
    const QString border = arg(borderGroupid);
    return request(
        matchKey, "QueryOwnGroup",
        QStringLiteral("after ") + escaped(border) + QStringLiteral(" page ")
            + QString::number(pageSize),
        [border, pageSize](unsigned int key, Groups &g) { g.queryOwn(key, border, pageSize); });
}

int ModifyGroup(unsigned int *matchKey, const ZS_GroupChangeInfo *info)
{
    if (!info)
        return ZS_ERR_INVALID_ARGUMENT;
    const QString id = fieldText(info->groupId);
    Groups::Settings s;
    s.name = fieldText(info->name);
    s.type = info->type;
    s.province = fieldText(info->province);
    s.city = fieldText(info->city);
    s.scope = info->scope;
    s.declared = fieldText(info->declared);
    s.permission = info->permission;
    s.domain = fieldText(info->groupDomain);
    s.discuss = info->isDiscuss != 0;
    return request(matchKey, "ModifyGroup", about(id, s.name),
                   [id, s](unsigned int key, Groups &g) { g.modify(key, id, s); });
}

int SearchPublicGroups(unsigned int *matchKey, int searchType, const char *keyword)
{
    const QString word = arg(keyword);
    return request(matchKey, "SearchPublicGroups",
                   QString::number(searchType) + QLatin1Char(' ') + escaped(word),
                   [searchType, word](unsigned int key, Groups &g) {
                       g.search(key, searchType, word, 1, 0, false);
                   });
}

int SearchPublicGroupsPaging(unsigned int *matchKey, int searchType, const char *keyword,
                             int pageNo, int pageSize)
{
    const QString word = arg(keyword);
    return request(matchKey, "SearchPublicGroupsPaging",
                   QStringLiteral("%1 %2 page %3 size %4")
                       .arg(QString::number(searchType), escaped(word), QString::number(pageNo),
                            QString::number(pageSize)),
                   [searchType, word, pageNo, pageSize](unsigned int key, Groups &g) {
                       g.search(key, searchType, word, pageNo, pageSize, true);
                   });
}

int QueryGroupDetail(unsigned int *matchKey, const char *groupId)
{
    const QString id = arg(groupId);
    return request(matchKey, "QueryGroupDetail", escaped(id),
                   [id](unsigned int key, Groups &g) { g.detail(key, id); });
}

int QueryGroupMember(unsigned int *matchKey, const char *groupId, const char *borderMember,
                     int pageSize)
{
    const QString id = arg(groupId);
    const QString border = arg(borderMember);
    return request(matchKey, "QueryGroupMember",
                   escaped(id) + QStringLiteral(" after ") + escaped(border)
                       + QStringLiteral(" page ") + QString::number(pageSize),
                   [id, border, pageSize](unsigned int key, Groups &g) {
                       g.members(key, id, border, pageSize);
                   });
}

int DeleteGroupMember(unsigned int *matchKey, const char *groupid, const char *member)
{
    const QString id = arg(groupid);
    const QString who = arg(member);
    return request(matchKey, "DeleteGroupMember", about(id, who),
                   [id, who](unsigned int key, Groups &g) { g.removeMember(key, id, who); });
}

int ForbidMemberSpeak(unsigned int *matchKey, const char *groupid, const char *member, int isBan)
{
    const QString id = arg(groupid);
    const QString who = arg(member);
    return request(
        matchKey, "ForbidMemberSpeak", about(id, who, "ban", isBan),
        [id, who, isBan](unsigned int key, Groups &g) { g.forbid(key, id, who, isBan); });
}

int QueryGroupMemberCard(unsigned int *matchKey, const char *groupid, const char *member)
{
    const QString id = arg(groupid);
    const QString who = arg(member);
    return request(matchKey, "QueryGroupMemberCard", about(id, who),
                   [id, who](unsigned int key, Groups &g) { g.queryCard(key, id, who); });
}

int ModifyMemberCard(unsigned int *matchKey, const ZS_GroupMemberCard *card)
{
    if (!card)
        return ZS_ERR_INVALID_ARGUMENT;
    const ZS_GroupMemberCard copy = *card;
    return request(matchKey, "ModifyMemberCard",
                   about(fieldText(copy.cardText2), fieldText(copy.cardText1)),
                   [copy](unsigned int key, Groups &g) { g.modifyCard(key, copy); });
}

int SetGroupMemberRole(unsigned int *matchKey, const char *groupId, const char *member, int role)
{
    const QString id = arg(groupId);
    const QString who = arg(member);
    return request(matchKey, "SetGroupMemberRole", about(id, who, "role", role),
                   [id, who, role](unsigned int key, Groups &g) { g.setRole(key, id, who, role); });
}

int SetGroupMessageRule(unsigned int *matchKey, const char *groupid, bool notice)
{
    const QString id = arg(groupid);
    return request(matchKey, "SetGroupMessageRule",
                   escaped(id) + QStringLiteral(" notice ") + QString::number(int(notice)),
                   [id, notice](unsigned int key, Groups &g) { g.setRule(key, id, notice); });
}

} // extern "C"
