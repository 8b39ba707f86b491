// Groups: made, changed, joined, left and dismissed; members with roles, mute flags and cards;
// requests to join and invitations answered by the owner or the simulated people; the notices
// each change pushes to the members.

#include "Engine.h"

#include <GroupNoticeBytes.h>
#include <Utf8Field.h>

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstring>

using namespace zssim;

namespace {

using Group = GroupModel::Group;
using Member = GroupModel::Member;
using CB = ZS_MessageCallBack;
using Tasks = std::vector<std::function<void()>>;

QString text(const char *utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

// A text field of a record handed in, never read past its width.
template<std::size_t N> QString field(const char (&f)[N])
{
    return QString::fromUtf8(f, int(qstrnlen(f, N)));
}

template<std::size_t N> void put(char (&f)[N], const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    tq::copyUtf8Field(f, N, utf8.constData(), std::size_t(utf8.size()));
}

QString now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

template<class Record> Record zeroed()
{
    Record r;
    std::memset(static_cast<void *>(&r), 0, sizeof r);
    return r;
}

QString displayName(const ServerModel &s, const QString &account)
{
    const QByteArray profile = s.personInfo.value(account);
    if (profile.size() != int(sizeof(ZS_PersonInfo)))
        return account;
    ZS_PersonInfo info;
    std::memcpy(static_cast<void *>(&info), profile.constData(), sizeof info);
    return info.text1[0] ? field(info.text1) : account;
}

bool knownAccount(const ServerModel &s, const QString &account)
{
    return s.accounts.isEmpty() || s.accounts.contains(account)
        || s.contactsOf(s.currentUser).contains(account);
}

bool isManager(const Group &g, const QString &account)
{
    const Member *m = g.member(account);
    return m && (m->role == GroupModel::Owner || m->role == GroupModel::Admin);
}

// ---- what callbacks receive: engine memory, scribbled once the callback returns ---------------

using Text = std::shared_ptr<std::vector<char>>;

Text callbackText(const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    std::vector<char> bytes(utf8.begin(), utf8.end());
    bytes.push_back('\0');
    return callbackRecords(std::move(bytes));
}

template<class Record> std::shared_ptr<std::vector<Record>> one(const Record &r)
{
    return callbackRecords(std::vector<Record>{r});
}

std::function<void()> answerText(void (ZS_CALL *CB::*entry)(unsigned int, int, const char *),
                                 unsigned int key, int reason, const QString &groupId)
{
    return [entry, key, reason, t = callbackText(groupId)] {
        invoke(entry, key, reason, static_cast<const char *>(t->data()));
        scribble(*t);
    };
}

std::function<void()> answerTwoTexts(void (ZS_CALL *CB::*entry)(unsigned int, int, const char *,
                                                                const char *, int),
                                     unsigned int key, int reason, const QString &groupId,
                                     const QString &member, int value)
{
    return [entry, key, reason, value, g = callbackText(groupId), m = callbackText(member)] {
        invoke(entry, key, reason, static_cast<const char *>(g->data()),
               static_cast<const char *>(m->data()), value);
        scribble(*g);
        scribble(*m);
    };
}

template<class Record>
std::function<void()> answerRecord(void (ZS_CALL *CB::*entry)(unsigned int, int, const Record *),
                                   unsigned int key, int reason, const Record &record)
{
    return [entry, key, reason, records = one(record)] {
        invoke(entry, key, reason, static_cast<const Record *>(records->data()));
        scribble(*records);
    };
}

// ---- records -----------------------------------------------------------------------------------

ZS_GroupDetailInfo detailOf(const Group &g, bool domainAsBase64)
{
    auto r = zeroed<ZS_GroupDetailInfo>();
    put(r.groupId, g.id);
    put(r.name, g.name);
    put(r.detailText3, g.owner());
    r.type = g.type;
    put(r.province, g.province);
    put(r.city, g.city);
    r.scope = g.scope;
    put(r.declared, g.declared);
    put(r.detailText9, g.created);
    r.permission = g.permission;
    r.detailValue2 = g.members.size();
    r.detailValue3 = g.isDismiss;
    const QByteArray domain = g.domain.toUtf8();
    put(r.groupDomain, domainAsBase64 ? QString::fromLatin1(domain.toBase64()) : g.domain);
    r.isDiscuss = g.isDiscuss ? 1 : 0;
    return r;
}

ZS_GroupChangeInfo changeOf(const Group &g)
{
    auto r = zeroed<ZS_GroupChangeInfo>();
    put(r.groupId, g.id);
    put(r.name, g.name);
    r.type = g.type;
    put(r.province, g.province);
    put(r.city, g.city);
    r.scope = g.scope;
    put(r.declared, g.declared);
    r.permission = g.permission;
    put(r.groupDomain, g.domain);
    r.isDiscuss = g.isDiscuss ? 1 : 0;
    return r;
}

ZS_GroupMemberCard cardOf(const Group &g, const Member &m)
{
    auto r = zeroed<ZS_GroupMemberCard>();
    put(r.cardText1, m.account);
    put(r.cardText2, g.id);
    put(r.cardText3, m.nickname);
    put(r.cardText4, m.phone);
    put(r.cardText5, m.title);
    put(r.cardText6, m.remark);
    r.cardValue1 = m.role;
    r.cardValue2 = m.muted ? 1 : 0;
    r.cardValue3 = m.cardValue3;
    return r;
}

ZS_GroupSearchInfo searchOf(const Group &g, const QString &user)
{
    auto r = zeroed<ZS_GroupSearchInfo>();
    put(r.groupId, g.id);
    put(r.name, g.name);
    put(r.searchText3, g.owner());
    put(r.searchText4, g.declared);
    r.searchValue1 = g.members.size();
    r.searchValue2 = g.type;
    r.searchValue3 = g.permission;
    r.searchFlag = g.member(user) ? 1 : 0;
    return r;
}

// ---- notices -----------------------------------------------------------------------------------

using Notice = tq::GroupNoticeFields;

struct NoticeMemory
{
    ZS_GroupNotice notice;
    std::vector<char> detail;
};

std::function<void()> noticeTask(const Notice &n)
{
    auto memory = std::make_shared<NoticeMemory>();
    std::memset(static_cast<void *>(&memory->notice), 0, sizeof memory->notice);
    memory->notice.type = n.type;
    memory->detail = tq::groupNoticeBytes(n, now());
    memory->notice.detail = memory->detail.data();
    return [memory] {
        invoke(&CB::onReceiveGroupNoticeMessage,
               static_cast<const ZS_GroupNotice *>(&memory->notice));
        std::memset(memory->detail.data(), 0xDD, memory->detail.size());
        std::memset(static_cast<void *>(&memory->notice), 0xDD, sizeof memory->notice);
    };
}

// The notice reaches each of `to`: recorded for everyone, delivered when it is the user.
void pushLocked(ServerModel &s, const QStringList &to, const Notice &n, Tasks &tasks)
{
    for (const QString &account : to) {
        s.groups.pushed[account].append(GroupModel::Pushed{n.type, n.groupId, n.sender, n.member});
        if (account == s.currentUser)
            tasks.push_back(noticeTask(n));
    }
}

Notice noticeAbout(int type, const Group &g, const QString &sender, const QString &member)
{
    Notice n;
    n.type = type;
    n.groupId = g.id;
    n.groupName = g.name;
    n.sender = sender;
    n.member = member;
    return n;
}

QStringList othersThan(const Group &g, const QStringList &left)
{
    QStringList to = g.accounts();
    for (const QString &account : left)
        to.removeAll(account);
    return to;
}

// `account` is in: the new member gets the members, the others hear of it (but the user,
// when the user let them in: the user has the result).
void joinLocked(ServerModel &s, Group &g, const QString &account, const QString &actor,
                Tasks &tasks)
{
    Member m;
    m.account = account;
    g.members.append(m);
    Notice joined = noticeAbout(ZS_GROUP_NOTICE_JOINED, g, actor, account);
    for (const Member &x : qAsConst(g.members))
        joined.members.append({x.account, displayName(s, x.account)});
    pushLocked(s, {account}, joined, tasks);
    QStringList others = othersThan(g, {account});
    if (actor == s.currentUser)
        others.removeAll(actor);
    pushLocked(s, others, noticeAbout(ZS_GROUP_NOTICE_MEMBER_JOINED, g, account, account), tasks);
}

void removeMember(Group &g, const QString &account)
{
    for (int i = 0; i < g.members.size(); ++i)
        if (g.members[i].account == account)
            g.members.removeAt(i--);
}

// The group is gone, and so is what waited for an answer in it. The id is a copy: the caller's
// may be the group's own.
void removeGroup(GroupModel &model, QString id)
{
    const auto gone = [&id](const GroupModel::Pending &p) {
        return p.groupId == id;
    };
    model.joinRequests.erase(
        std::remove_if(model.joinRequests.begin(), model.joinRequests.end(), gone),
        model.joinRequests.end());
    model.invitations.erase(
        std::remove_if(model.invitations.begin(), model.invitations.end(), gone),
        model.invitations.end());
    for (int i = 0; i < model.groups.size(); ++i)
        if (model.groups[i].id == id)
            model.groups.removeAt(i--);
}

GroupModel::Answer answerOf(const ServerModel &s, const QString &account)
{
    return s.groups.answers.value(account, s.groups.otherAnswer);
}

// Whether the user may act on a group: 200, else 404 (no such group) or 403.
int access(ServerModel &s, const QString &groupId, Group *&g, bool manager = false)
{
    g = s.groups.find(groupId);
    if (!g)
        return ZS_REASON_NOT_FOUND;
    if (!g->member(s.currentUser) || (manager && !isManager(*g, s.currentUser)))
        return ZS_REASON_FORBIDDEN;
    return ZS_REASON_SUCCESS;
}

void postAll(Tasks &tasks)
{
    for (auto &task : tasks)
        Control::post(std::move(task));
}

} // namespace

// ---- control ----------------------------------------------------------------------------------

namespace zssim {

bool injectJoinRequest(const QString &groupId, const QString &from, const QString &declared)
{
    Tasks tasks;
    bool done = false;
    Control::withServer([&](ServerModel &s) {
        Group *g = s.groups.find(groupId);
        if (!g || g->member(from) || !isManager(*g, s.currentUser))
            return;
        s.groups.joinRequests.append(GroupModel::Pending{groupId, from, QString(), declared});
        Notice n = noticeAbout(ZS_GROUP_NOTICE_REQUEST_JOIN, *g, from, from);
        n.extraText1 = declared;
        QStringList managers;
        for (const Member &m : qAsConst(g->members))
            if (m.role != GroupModel::Ordinary)
                managers << m.account;
        pushLocked(s, managers, n, tasks);
        done = true;
    });
    postAll(tasks);
    return done;
}

bool injectGroupInvitation(const QString &groupId, const QString &invitor)
{
    Tasks tasks;
    bool done = false;
    Control::withServer([&](ServerModel &s) {
        Group *g = s.groups.find(groupId);
        if (!g || !g->member(invitor) || g->member(s.currentUser))
            return;
        s.groups.invitations.append(
            GroupModel::Pending{groupId, s.currentUser, invitor, QString()});
        pushLocked(s, {s.currentUser},
                   noticeAbout(ZS_GROUP_NOTICE_INVITE, *g, invitor, s.currentUser), tasks);
        done = true;
    });
    postAll(tasks);
    return done;
}

bool injectMemberQuit(const QString &groupId, const QString &member)
{
    Tasks tasks;
    bool done = false;
    Control::withServer([&](ServerModel &s) {
        Group *g = s.groups.find(groupId);
        const Member *m = g ? g->member(member) : nullptr;
        if (!m || m->role == GroupModel::Owner)
            return;
        removeMember(*g, member);
        pushLocked(s, g->accounts(), noticeAbout(ZS_GROUP_NOTICE_QUIT, *g, member, member), tasks);
        done = true;
    });
    postAll(tasks);
    return done;
}

bool injectMemberRemoved(const QString &groupId, const QString &by, const QString &member)
{
    Tasks tasks;
    bool done = false;
    Control::withServer([&](ServerModel &s) {
        Group *g = s.groups.find(groupId);
        const Member *m = g ? g->member(member) : nullptr;
        if (!m || m->role == GroupModel::Owner || by == member || !isManager(*g, by))
            return;
        const QStringList before = othersThan(*g, {by});
        removeMember(*g, member);
        pushLocked(s, before, noticeAbout(ZS_GROUP_NOTICE_REMOVED, *g, by, member), tasks);
        done = true;
    });
    postAll(tasks);
    return done;
}

bool injectGroupDismissed(const QString &groupId)
{
    Tasks tasks;
    bool done = false;
    Control::withServer([&](ServerModel &s) {
        Group *g = s.groups.find(groupId);
        if (!g || g->owner() == s.currentUser)
            return;
        const QString owner = g->owner();
        pushLocked(s, othersThan(*g, {owner}),
                   noticeAbout(ZS_GROUP_NOTICE_DISMISSED, *g, owner, QString()), tasks);
        removeGroup(s.groups, groupId);
        done = true;
    });
    postAll(tasks);
    return done;
}

} // namespace zssim

// ---- the engine's functions -------------------------------------------------------------------

extern "C" {

int CreateGroup(unsigned int *matchKey, const char *groupName, int type, const char *province,
                const char *city, int scope, const char *declared, int permission, int isDismiss,
                const char *groupDomain, bool isDiscuss)
{
    Request call("CreateGroup");
    call.text(groupName).arg(type).text(province).text(city).arg(scope).text(declared);
    call.arg(permission).arg(isDismiss).text(groupDomain).arg(int(isDiscuss));
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    Group g;
    g.name = text(groupName);
    g.type = type;
    g.province = text(province);
    g.city = text(city);
    g.scope = scope;
    g.declared = text(declared);
    g.permission = permission;
    g.isDismiss = isDismiss;
    g.domain = text(groupDomain);
    g.isDiscuss = isDiscuss;
    g.created = now();
    int reason = ZS_REASON_SUCCESS;
    Control::withServer([&](ServerModel &s) {
        if (g.name.isEmpty()) {
            reason = ZS_REASON_BAD_REQUEST;
            return;
        }
        g.id = QStringLiteral("group-%1").arg(s.groups.nextGroup++);
        Member owner;
        owner.account = s.currentUser;
        owner.role = GroupModel::Owner;
        g.members.append(owner);
        s.groups.groups.append(g);
    });
    call.answer(answerRecord(&CB::onCreateGroup, key, reason, detailOf(g, false)));
    return ZS_OK;
}

int DismissGroup(unsigned int *matchKey, const char *groupid)
{
    Request call("DismissGroup");
    call.text(groupid);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    int reason = ZS_REASON_SUCCESS;
    Tasks notices;
    Control::withServer([&](ServerModel &s) {
        Group *g = nullptr;
        reason = access(s, text(groupid), g);
        if (reason == ZS_REASON_SUCCESS && g->owner() != s.currentUser)
            reason = ZS_REASON_FORBIDDEN;
        if (reason != ZS_REASON_SUCCESS)
            return;
        pushLocked(s, othersThan(*g, {s.currentUser}),
                   noticeAbout(ZS_GROUP_NOTICE_DISMISSED, *g, s.currentUser, QString()), notices);
        removeGroup(s.groups, g->id);
    });
    call.answer(answerText(&CB::onDismissGroup, key, reason, text(groupid)));
    for (auto &n : notices)
        call.answer(std::move(n));
    return ZS_OK;
}

int QuitGroup(unsigned int *matchKey, const char *groupid)
{
    Request call("QuitGroup");
    call.text(groupid);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    int reason = ZS_REASON_SUCCESS;
    Tasks notices;
    Control::withServer([&](ServerModel &s) {
        Group *g = nullptr;
        reason = access(s, text(groupid), g);
        // The owner dismisses the group instead.
        if (reason == ZS_REASON_SUCCESS && g->owner() == s.currentUser)
            reason = ZS_REASON_FORBIDDEN;
        if (reason != ZS_REASON_SUCCESS)
            return;
        removeMember(*g, s.currentUser);
        pushLocked(s, g->accounts(),
                   noticeAbout(ZS_GROUP_NOTICE_QUIT, *g, s.currentUser, s.currentUser), notices);
    });
    call.answer(answerText(&CB::onQuitGroup, key, reason, text(groupid)));
    for (auto &n : notices)
        call.answer(std::move(n));
    return ZS_OK;
}

int JoinGroup(unsigned int *matchKey, const char *groupid, const char *declared)
{
    Request call("JoinGroup");
    call.text(groupid).text(declared);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    int reason = ZS_REASON_SUCCESS;
    Tasks notices;
    Control::withServer([&](ServerModel &s) {
        Group *g = s.groups.find(text(groupid));
        if (!g) {
            reason = ZS_REASON_NOT_FOUND;
            return;
        }
        if (g->member(s.currentUser)) {
            reason = ZS_REASON_BAD_REQUEST;
            return;
        }
        const QString owner = g->owner();
        Notice request
            = noticeAbout(ZS_GROUP_NOTICE_REQUEST_JOIN, *g, s.currentUser, s.currentUser);
        request.extraText1 = text(declared);
        pushLocked(s, {owner}, request, notices);
        const GroupModel::Answer answer = answerOf(s, owner);
        if (answer == GroupModel::NoAnswer) {
            s.groups.joinRequests.append(
                GroupModel::Pending{g->id, s.currentUser, QString(), text(declared)});
            return;
        }
        Notice reply = noticeAbout(ZS_GROUP_NOTICE_REPLY_REQUEST, *g, owner, s.currentUser);
        reply.extraValue = answer == GroupModel::Accept ? 1 : 0;
        pushLocked(s, {s.currentUser}, reply, notices);
        if (answer == GroupModel::Accept)
            joinLocked(s, *g, s.currentUser, owner, notices);
    });
    call.answer(answerText(&CB::onJoinGroup, key, reason, text(groupid)));
    for (auto &n : notices)
        call.answer(std::move(n));
    return ZS_OK;
}

int ReplyRequestJoinGroup(unsigned int *matchKey, const char *groupid, const char *member,
                          int confirm)
{
    Request call("ReplyRequestJoinGroup");
    call.text(groupid).text(member).arg(confirm);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    int reason = ZS_REASON_SUCCESS;
    Tasks notices;
    Control::withServer([&](ServerModel &s) {
        Group *g = nullptr;
        reason = access(s, text(groupid), g, true);
        if (reason != ZS_REASON_SUCCESS)
            return;
        auto &requests = s.groups.joinRequests;
        const auto it = std::find_if(requests.begin(), requests.end(), [&](const auto &p) {
            return p.groupId == g->id && p.account == text(member);
        });
        if (it == requests.end()) {
            reason = ZS_REASON_NOT_FOUND;
            return;
        }
        requests.erase(it);
        Notice reply = noticeAbout(ZS_GROUP_NOTICE_REPLY_REQUEST, *g, s.currentUser, text(member));
        reply.extraValue = confirm;
        pushLocked(s, {text(member)}, reply, notices);
        if (confirm == 1)
            joinLocked(s, *g, text(member), s.currentUser, notices);
    });
    call.answer(answerTwoTexts(&CB::onReplyRequestJoinGroup, key, reason, text(groupid),
                               text(member), confirm));
    for (auto &n : notices)
        call.answer(std::move(n));
    return ZS_OK;
}

int InviteJoinGroup(unsigned int *matchKey, const char *groupId, const char *declard,
                    const char *const *members, int count, int confirm)
{
    Request call("InviteJoinGroup");
    // Journaled in the order passed: the member texts, then their count.
    call.text(groupId).text(declard);
    QStringList invited;
    for (int i = 0; members && i < count; ++i) {
        call.text(members[i]);
        invited << text(members[i]);
    }
    call.arg(count).arg(confirm);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    int reason = ZS_REASON_SUCCESS;
    Tasks notices;
    Control::withServer([&](ServerModel &s) {
        Group *g = nullptr;
        reason = access(s, text(groupId), g);
        if (reason != ZS_REASON_SUCCESS)
            return;
        for (const QString &account : qAsConst(invited)) {
            if (g->member(account) || !knownAccount(s, account))
                continue;
            Notice invitation = noticeAbout(ZS_GROUP_NOTICE_INVITE, *g, s.currentUser, account);
            invitation.extraText1 = text(declard);
            pushLocked(s, {account}, invitation, notices);
            const GroupModel::Answer answer = answerOf(s, account);
            if (answer == GroupModel::NoAnswer) {
                s.groups.invitations.append(
                    GroupModel::Pending{g->id, account, s.currentUser, text(declard)});
                continue;
            }
            Notice reply = noticeAbout(ZS_GROUP_NOTICE_REPLY_INVITE, *g, account, account);
            reply.extraValue = answer == GroupModel::Accept ? 1 : 0;
            pushLocked(s, {s.currentUser}, reply, notices);
            if (answer == GroupModel::Accept)
                joinLocked(s, *g, account, account, notices);
        }
    });
    std::vector<Text> texts;
    for (const QString &account : qAsConst(invited))
        texts.push_back(callbackText(account));
    call.answer([key, reason, confirm, g = callbackText(text(groupId)), texts] {
        std::vector<const char *> array;
        for (const Text &t : texts)
            array.push_back(t->data());
        invoke(&CB::onInviteJoinGroup, key, reason, static_cast<const char *>(g->data()),
               static_cast<const char *const *>(array.empty() ? nullptr : array.data()),
               int(array.size()), confirm);
        for (const Text &t : texts)
            scribble(*t);
        scribble(*g);
    });
    for (auto &n : notices)
        call.answer(std::move(n));
    return ZS_OK;
}

int ReplyInviteJoinGroup(unsigned int *matchKey, const char *groupid, const char *invitor,
                         int confirm)
{
    Request call("ReplyInviteJoinGroup");
    call.text(groupid).text(invitor).arg(confirm);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    int reason = ZS_REASON_SUCCESS;
    Tasks notices;
    Control::withServer([&](ServerModel &s) {
        Group *g = s.groups.find(text(groupid));
        auto &open = s.groups.invitations;
        const auto it = std::find_if(open.begin(), open.end(), [&](const auto &p) {
            return p.groupId == text(groupid) && p.invitor == text(invitor)
                && p.account == s.currentUser;
        });
        if (!g || it == open.end()) {
            reason = ZS_REASON_NOT_FOUND;
            return;
        }
        open.erase(it);
        Notice reply = noticeAbout(ZS_GROUP_NOTICE_REPLY_INVITE, *g, s.currentUser, s.currentUser);
        reply.extraValue = confirm;
        pushLocked(s, {text(invitor)}, reply, notices);
        if (confirm == 1)
            joinLocked(s, *g, s.currentUser, s.currentUser, notices);
    });
    call.answer(answerTwoTexts(&CB::onReplyInviteJoinGroup, key, reason, text(groupid),
                               text(invitor), confirm));
    for (auto &n : notices)
        call.answer(std::move(n));
    return ZS_OK;
}

int QueryOwnGroup(unsigned int *matchKey, const char *borderGroupid, int pageSize, int target)
{
    Request call("QueryOwnGroup");
    call.text(borderGroupid).arg(pageSize).arg(target);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    std::vector<ZS_GroupSimpleInfo> records;
    Control::withServer([&](ServerModel &s) {
        // After the border group, in the order made; a page size of 0 or less is every group.
        bool after = text(borderGroupid).isEmpty();
        for (const Group &g : qAsConst(s.groups.groups)) {
            const Member *me = g.member(s.currentUser);
            if (!after) {
                after = g.id == text(borderGroupid);
                continue;
            }
            if (!me || (pageSize > 0 && int(records.size()) >= pageSize))
                continue;
            auto r = zeroed<ZS_GroupSimpleInfo>();
            put(r.groupId, g.id);
            put(r.name, g.name);
            put(r.simpleText3, g.owner());
            r.simpleValue1 = g.members.size();
            r.simpleValue2 = me->role;
            r.simpleValue3 = me->messageRule ? 1 : 0;
            r.simpleValue4 = g.permission;
            r.simpleFlag = g.isDiscuss ? 1 : 0;
            r.type = g.type;
            records.push_back(r);
        }
    });
    call.answer([key, list = callbackRecords(std::move(records))] {
        invoke(&CB::onQueryOwnGroup, key, int(ZS_REASON_SUCCESS), int(list->size()),
               static_cast<const ZS_GroupSimpleInfo *>(list->empty() ? nullptr : list->data()));
        scribble(*list);
    });
    return ZS_OK;
}

int QueryGroupDetail(unsigned int *matchKey, const char *groupId)
{
    Request call("QueryGroupDetail");
    call.text(groupId);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    int reason = ZS_REASON_SUCCESS;
    ZS_GroupDetailInfo record = zeroed<ZS_GroupDetailInfo>();
    Control::withServer([&](ServerModel &s) {
        Group *g = nullptr;
        reason = access(s, text(groupId), g);
        if (reason == ZS_REASON_SUCCESS)
            record = detailOf(*g, true);
    });
    call.answer(answerRecord(&CB::onQueryGroupDetail, key, reason, record));
    return ZS_OK;
}

int ModifyGroup(unsigned int *matchKey, const ZS_GroupChangeInfo *info)
{
    Request call("ModifyGroup");
    call.record(info);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    if (!info)
        return ZS_ERR_INVALID_ARGUMENT;
    int reason = ZS_REASON_SUCCESS;
    ZS_GroupChangeInfo answer = *info;
    Tasks notices;
    Control::withServer([&](ServerModel &s) {
        Group *g = nullptr;
        reason = access(s, field(info->groupId), g, true);
        if (reason != ZS_REASON_SUCCESS)
            return;
        g->name = field(info->name);
        g->type = info->type;
        g->province = field(info->province);
        g->city = field(info->city);
        g->scope = info->scope;
        g->declared = field(info->declared);
        g->permission = info->permission;
        g->domain = field(info->groupDomain);
        g->isDiscuss = info->isDiscuss != 0;
        answer = changeOf(*g);
        pushLocked(s, othersThan(*g, {s.currentUser}),
                   noticeAbout(ZS_GROUP_NOTICE_MODIFIED, *g, s.currentUser, s.currentUser),
                   notices);
    });
    call.answer(answerRecord(&CB::onModifyGroup, key, reason, answer));
    for (auto &n : notices)
        call.answer(std::move(n));
    return ZS_OK;
}

} // extern "C"

namespace {

// Public groups matching the search, in the order made.
std::vector<ZS_GroupSearchInfo> searchLocked(const ServerModel &s, int searchType,
                                             const QString &keyword)
{
    std::vector<ZS_GroupSearchInfo> found;
    for (const Group &g : s.groups.groups) {
        if (g.scope != GroupModel::Public)
            continue;
        const bool match = searchType == GroupModel::ById
            ? g.id == keyword
            : g.name.contains(keyword, Qt::CaseInsensitive);
        if (match)
            found.push_back(searchOf(g, s.currentUser));
    }
    return found;
}

} // namespace

extern "C" {

int SearchPublicGroups(unsigned int *matchKey, int searchType, const char *keyword)
{
    Request call("SearchPublicGroups");
    call.arg(searchType).text(keyword);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    std::vector<ZS_GroupSearchInfo> found;
    Control::withServer(
        [&](ServerModel &s) { found = searchLocked(s, searchType, text(keyword)); });
    call.answer([key, searchType, k = callbackText(text(keyword)),
                 list = callbackRecords(std::move(found))] {
        invoke(&CB::onSearchPublicGroup, key, int(ZS_REASON_SUCCESS), searchType,
               static_cast<const char *>(k->data()), int(list->size()),
               static_cast<const ZS_GroupSearchInfo *>(list->empty() ? nullptr : list->data()));
        scribble(*list);
        scribble(*k);
    });
    return ZS_OK;
}

int SearchPublicGroupsPaging(unsigned int *matchKey, int searchType, const char *keyword,
                             int pageNo, int pageSize)
{
    Request call("SearchPublicGroupsPaging");
    call.arg(searchType).text(keyword).arg(pageNo).arg(pageSize);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    std::vector<ZS_GroupSearchInfo> page;
    Control::withServer([&](ServerModel &s) {
        const std::vector<ZS_GroupSearchInfo> all = searchLocked(s, searchType, text(keyword));
        // Pages count from 1; a page size of 0 or less is everything on page 1.
        const std::size_t size = pageSize > 0 ? std::size_t(pageSize) : all.size();
        const std::size_t first = std::size_t(qMax(1, pageNo) - 1) * size;
        for (std::size_t i = first; i < all.size() && i < first + size; ++i)
            page.push_back(all[i]);
    });
    call.answer([key, searchType, pageNo, k = callbackText(text(keyword)),
                 list = callbackRecords(std::move(page))] {
        invoke(&CB::onSearchPublicGroupPaging, key, int(ZS_REASON_SUCCESS), searchType,
               static_cast<const char *>(k->data()), int(list->size()),
               static_cast<const ZS_GroupSearchInfo *>(list->empty() ? nullptr : list->data()),
               pageNo);
        scribble(*list);
        scribble(*k);
    });
    return ZS_OK;
}

int QueryGroupMember(unsigned int *matchKey, const char *groupId, const char *borderMember,
                     int pageSize)
{
    Request call("QueryGroupMember");
    call.text(groupId).text(borderMember).arg(pageSize);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    int reason = ZS_REASON_SUCCESS;
    std::vector<ZS_GroupMemberInfo> records;
    Control::withServer([&](ServerModel &s) {
        Group *g = nullptr;
        reason = access(s, text(groupId), g);
        if (reason != ZS_REASON_SUCCESS)
            return;
        bool after = text(borderMember).isEmpty();
        for (const Member &m : qAsConst(g->members)) {
            if (!after) {
                after = m.account == text(borderMember);
                continue;
            }
            if (pageSize > 0 && int(records.size()) >= pageSize)
                break;
            auto r = zeroed<ZS_GroupMemberInfo>();
            put(r.member, m.account);
            put(r.memberText, displayName(s, m.account));
            r.memberValue1 = m.role;
            r.memberValue2 = m.muted ? 1 : 0;
            records.push_back(r);
        }
    });
    call.answer(
        [key, reason, g = callbackText(text(groupId)), list = callbackRecords(std::move(records))] {
            invoke(&CB::onQueryGroupMember, key, reason, static_cast<const char *>(g->data()),
                   int(list->size()),
                   static_cast<const ZS_GroupMemberInfo *>(list->empty() ? nullptr : list->data()));
            scribble(*list);
            scribble(*g);
        });
    return ZS_OK;
}

int DeleteGroupMember(unsigned int *matchKey, const char *groupid, const char *member)
{
    Request call("DeleteGroupMember");
    call.text(groupid).text(member);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    int reason = ZS_REASON_SUCCESS;
    Tasks notices;
    Control::withServer([&](ServerModel &s) {
        Group *g = nullptr;
        reason = access(s, text(groupid), g, true);
        const Member *m = reason == ZS_REASON_SUCCESS ? g->member(text(member)) : nullptr;
        if (reason == ZS_REASON_SUCCESS && !m)
            reason = ZS_REASON_NOT_FOUND;
        else if (m && m->role == GroupModel::Owner)
            reason = ZS_REASON_FORBIDDEN;
        if (reason != ZS_REASON_SUCCESS)
            return;
        const QStringList before = othersThan(*g, {s.currentUser});
        removeMember(*g, text(member));
        pushLocked(s, before, noticeAbout(ZS_GROUP_NOTICE_REMOVED, *g, s.currentUser, text(member)),
                   notices);
    });
    call.answer([key, reason, g = callbackText(text(groupid)), m = callbackText(text(member))] {
        invoke(&CB::onDeleteGroupMember, key, reason, static_cast<const char *>(g->data()),
               static_cast<const char *>(m->data()));
        scribble(*g);
        scribble(*m);
    });
    for (auto &n : notices)
        call.answer(std::move(n));
    return ZS_OK;
}

int QueryGroupMemberCard(unsigned int *matchKey, const char *groupid, const char *member)
{
    Request call("QueryGroupMemberCard");
    call.text(groupid).text(member);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    int reason = ZS_REASON_SUCCESS;
    ZS_GroupMemberCard card = zeroed<ZS_GroupMemberCard>();
    Control::withServer([&](ServerModel &s) {
        Group *g = nullptr;
        reason = access(s, text(groupid), g);
        const Member *m = reason == ZS_REASON_SUCCESS ? g->member(text(member)) : nullptr;
        if (reason == ZS_REASON_SUCCESS && !m)
            reason = ZS_REASON_NOT_FOUND;
        if (m)
            card = cardOf(*g, *m);
    });
    call.answer(answerRecord(&CB::onQueryGroupMemberCard, key, reason, card));
    return ZS_OK;
}

int ModifyMemberCard(unsigned int *matchKey, const ZS_GroupMemberCard *card)
{
    Request call("ModifyMemberCard");
    call.record(card);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    if (!card)
        return ZS_ERR_INVALID_ARGUMENT;
    int reason = ZS_REASON_SUCCESS;
    ZS_GroupMemberCard answer = *card;
    Tasks notices;
    Control::withServer([&](ServerModel &s) {
        // cardText1 is the member, cardText2 the group; a member changes their own card, the
        // owner and admins anyone's. Role and mute flag stay the server's.
        Group *g = nullptr;
        reason = access(s, field(card->cardText2), g);
        Member *m = reason == ZS_REASON_SUCCESS ? g->member(field(card->cardText1)) : nullptr;
        if (reason == ZS_REASON_SUCCESS && !m)
            reason = ZS_REASON_NOT_FOUND;
        else if (m && m->account != s.currentUser && !isManager(*g, s.currentUser))
            reason = ZS_REASON_FORBIDDEN;
        if (reason != ZS_REASON_SUCCESS)
            return;
        m->nickname = field(card->cardText3);
        m->phone = field(card->cardText4);
        m->title = field(card->cardText5);
        m->remark = field(card->cardText6);
        m->cardValue3 = card->cardValue3;
        answer = cardOf(*g, *m);
        Notice n = noticeAbout(ZS_GROUP_NOTICE_MEMBER_INFO, *g, s.currentUser, m->account);
        n.modifyDic = QStringLiteral("{\"card\":1}");
        pushLocked(s, othersThan(*g, {s.currentUser}), n, notices);
    });
    call.answer(answerRecord(&CB::onModifyGroupMemberCard, key, reason, answer));
    for (auto &n : notices)
        call.answer(std::move(n));
    return ZS_OK;
}

int ForbidMemberSpeak(unsigned int *matchKey, const char *groupid, const char *member, int isBan)
{
    Request call("ForbidMemberSpeak");
    call.text(groupid).text(member).arg(isBan);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    int reason = ZS_REASON_SUCCESS;
    Tasks notices;
    Control::withServer([&](ServerModel &s) {
        Group *g = nullptr;
        reason = access(s, text(groupid), g, true);
        Member *m = reason == ZS_REASON_SUCCESS ? g->member(text(member)) : nullptr;
        if (reason == ZS_REASON_SUCCESS && !m)
            reason = ZS_REASON_NOT_FOUND;
        if (reason != ZS_REASON_SUCCESS)
            return;
        m->muted = isBan != 0;
        Notice n = noticeAbout(ZS_GROUP_NOTICE_MEMBER_INFO, *g, s.currentUser, m->account);
        n.modifyDic = QStringLiteral("{\"isBan\":%1}").arg(isBan);
        pushLocked(s, othersThan(*g, {s.currentUser}), n, notices);
    });
    call.answer(answerTwoTexts(&CB::onForbidMemberSpeakGroup, key, reason, text(groupid),
                               text(member), isBan));
    for (auto &n : notices)
        call.answer(std::move(n));
    return ZS_OK;
}

int SetGroupMessageRule(unsigned int *matchKey, const char *groupid, bool notice)
{
    Request call("SetGroupMessageRule");
    call.text(groupid).arg(int(notice));
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    int reason = ZS_REASON_SUCCESS;
    Control::withServer([&](ServerModel &s) {
        Group *g = nullptr;
        reason = access(s, text(groupid), g);
        if (reason == ZS_REASON_SUCCESS)
            g->member(s.currentUser)->messageRule = notice;
    });
    call.answer([key, reason, notice, g = callbackText(text(groupid))] {
        invoke(&CB::onSetGroupMessageRule, key, reason, static_cast<const char *>(g->data()),
               ZS_Bool8(notice ? 1 : 0));
        scribble(*g);
    });
    return ZS_OK;
}

int SetGroupMemberRole(unsigned int *matchKey, const char *groupId, const char *member, int role)
{
    Request call("SetGroupMemberRole");
    call.text(groupId).text(member).arg(role);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    int reason = ZS_REASON_SUCCESS;
    Tasks notices;
    Control::withServer([&](ServerModel &s) {
        // The owner makes members admins (1) or ordinary members (0); ownership stays.
        Group *g = nullptr;
        reason = access(s, text(groupId), g);
        Member *m = reason == ZS_REASON_SUCCESS ? g->member(text(member)) : nullptr;
        if (reason == ZS_REASON_SUCCESS && g->owner() != s.currentUser)
            reason = ZS_REASON_FORBIDDEN;
        else if (reason == ZS_REASON_SUCCESS && !m)
            reason = ZS_REASON_NOT_FOUND;
        else if (m
                 && (m->role == GroupModel::Owner
                     || (role != GroupModel::Ordinary && role != GroupModel::Admin)))
            reason = ZS_REASON_BAD_REQUEST;
        if (reason != ZS_REASON_SUCCESS)
            return;
        m->role = role;
        Notice n = noticeAbout(ZS_GROUP_NOTICE_ROLE, *g, s.currentUser, m->account);
        n.extraValue = role;
        pushLocked(s, othersThan(*g, {s.currentUser}), n, notices);
    });
    call.answer([key, reason] { invoke(&CB::onSetGroupMemberRole, key, reason); });
    for (auto &n : notices)
        call.answer(std::move(n));
    return ZS_OK;
}

} // extern "C"
