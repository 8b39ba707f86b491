#include "GroupState.h"

#include <TqEngineText.h>

#include <QJsonDocument>
#include <QJsonObject>

namespace {
constexpr int kSuccess = 200;

QString roleText(int role)
{
    switch (role) {
    case GroupCode::Owner:
        return GroupState::tr("owner");
    case GroupCode::Admin:
        return GroupState::tr("admin");
    default:
        return QString();
    }
}
} // namespace

// ---- GroupListModel ----------------------------------------------------------------------------

int GroupListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QVariant GroupListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const GroupInfo &g = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return g.memberCount > 0 ? GroupState::tr("%1 (%2)").arg(g.name).arg(g.memberCount)
                                 : g.name;
    case Qt::ToolTipRole:
        return g.declared.isEmpty() ? g.id : g.declared;
    case IdRole:
        return g.id;
    case NameRole:
        return g.name;
    case RoleRole:
        return g.role;
    case CountRole:
        return g.memberCount;
    case JoinedRole:
        return g.joined;
    default:
        return QVariant();
    }
}

int GroupListModel::rowOf(const QString &id) const
{
    for (int row = 0; row < m_rows.size(); ++row)
        if (m_rows.at(row).id == id)
            return row;
    return -1;
}

const GroupInfo *GroupListModel::find(const QString &id) const
{
    const int row = rowOf(id);
    return row < 0 ? nullptr : &m_rows.at(row);
}

QStringList GroupListModel::ids() const
{
    QStringList list;
    for (const GroupInfo &g : m_rows)
        list << g.id;
    return list;
}

void GroupListModel::upsert(const GroupInfo &group)
{
    if (group.id.isEmpty())
        return;
    const int row = rowOf(group.id);
    if (row >= 0) {
        m_rows[row] = group;
        emit dataChanged(index(row), index(row));
        return;
    }
    beginInsertRows(QModelIndex(), m_rows.size(), m_rows.size());
    m_rows.append(group);
    endInsertRows();
}

bool GroupListModel::remove(const QString &id)
{
    const int row = rowOf(id);
    if (row < 0)
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.remove(row);
    endRemoveRows();
    return true;
}

void GroupListModel::replace(const QVector<GroupInfo> &groups)
{
    beginResetModel();
    m_rows.clear();
    for (const GroupInfo &g : groups) {
        if (!g.id.isEmpty() && rowOf(g.id) < 0)
            m_rows.append(g);
    }
    endResetModel();
}

// ---- GroupMembersModel -------------------------------------------------------------------------

GroupMembersModel::GroupMembersModel(const QString &groupId, QObject *parent)
    : QAbstractListModel(parent)
    , m_groupId(groupId)
{ }

int GroupMembersModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QVariant GroupMembersModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const GroupMemberInfo &m = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole: {
        QStringList marks;
        if (!roleText(m.role).isEmpty())
            marks << roleText(m.role);
        if (m.muted)
            marks << GroupState::tr("muted");
        const QString name = m.name.isEmpty() ? m.account : m.name;
        return marks.isEmpty()
            ? name
            : GroupState::tr("%1 · %2").arg(name, marks.join(GroupState::tr(", ")));
    }
    case Qt::ToolTipRole:
    case AccountRole:
        return m.account;
    case NameRole:
        return m.name.isEmpty() ? m.account : m.name;
    case RoleRole:
        return m.role;
    case MutedRole:
        return m.muted;
    default:
        return QVariant();
    }
}

int GroupMembersModel::rowOf(const QString &account) const
{
    for (int row = 0; row < m_rows.size(); ++row)
        if (m_rows.at(row).account == account)
            return row;
    return -1;
}

const GroupMemberInfo *GroupMembersModel::find(const QString &account) const
{
    const int row = rowOf(account);
    return row < 0 ? nullptr : &m_rows.at(row);
}

QStringList GroupMembersModel::accounts() const
{
    QStringList list;
    for (const GroupMemberInfo &m : m_rows)
        list << m.account;
    return list;
}

int GroupMembersModel::placeOf(const GroupMemberInfo &member) const
{
    // After everyone of the same or a higher role.
    int row = 0;
    while (row < m_rows.size() && m_rows.at(row).role >= member.role)
        ++row;
    return row;
}

bool GroupMembersModel::upsert(const GroupMemberInfo &member)
{
    if (member.account.isEmpty())
        return false;
    const int row = rowOf(member.account);
    if (row >= 0) {
        GroupMemberInfo changed = member;
        if (changed.name.isEmpty())
            changed.name = m_rows.at(row).name;
        if (changed.role == m_rows.at(row).role) {
            m_rows[row] = changed;
            emit dataChanged(index(row), index(row));
            return false;
        }
        remove(member.account);
        upsert(changed);
        return false;
    }
    const int at = placeOf(member);
    beginInsertRows(QModelIndex(), at, at);
    m_rows.insert(at, member);
    endInsertRows();
    return true;
}

bool GroupMembersModel::remove(const QString &account)
{
    const int row = rowOf(account);
    if (row < 0)
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.remove(row);
    endRemoveRows();
    return true;
}

void GroupMembersModel::replace(const QVector<GroupMemberInfo> &members)
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
    for (const GroupMemberInfo &m : members)
        upsert(m);
}

void GroupMembersModel::setName(const QString &account, const QString &name)
{
    const int row = rowOf(account);
    if (row < 0 || name.isEmpty() || m_rows.at(row).name == name)
        return;
    m_rows[row].name = name;
    emit dataChanged(index(row), index(row));
}

// ---- GroupPendingModel -------------------------------------------------------------------------

int GroupPendingModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QVariant GroupPendingModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const GroupPending &p = m_rows.at(index.row());
    const QString from = m_names ? m_names(p.from) : p.from;
    const QString group = p.groupName.isEmpty() ? p.groupId : p.groupName;
    switch (role) {
    case Qt::DisplayRole: {
        QString text = p.kind == GroupPending::Invitation
            ? GroupState::tr("%1 invites you to “%2”").arg(from, group)
            : GroupState::tr("%1 asks to join “%2”").arg(from, group);
        if (!p.note.trimmed().isEmpty())
            text += GroupState::tr(": %1").arg(p.note.simplified());
        return text;
    }
    case KindRole:
        return int(p.kind);
    case GroupIdRole:
        return p.groupId;
    case FromRole:
        return p.from;
    default:
        return QVariant();
    }
}

bool GroupPendingModel::add(const GroupPending &pending)
{
    if (pending.groupId.isEmpty() || pending.from.isEmpty())
        return false;
    for (const GroupPending &p : qAsConst(m_rows)) {
        if (p.kind == pending.kind && p.groupId == pending.groupId && p.from == pending.from)
            return false;
    }
    beginInsertRows(QModelIndex(), m_rows.size(), m_rows.size());
    m_rows.append(pending);
    endInsertRows();
    return true;
}

GroupPending GroupPendingModel::take(int row)
{
    if (row < 0 || row >= m_rows.size())
        return GroupPending();
    beginRemoveRows(QModelIndex(), row, row);
    const GroupPending p = m_rows.takeAt(row);
    endRemoveRows();
    return p;
}

void GroupPendingModel::removeGroup(const QString &groupId)
{
    for (int row = m_rows.size() - 1; row >= 0; --row) {
        if (m_rows.at(row).groupId == groupId)
            take(row);
    }
}

void GroupPendingModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

// ---- GroupState --------------------------------------------------------------------------------

GroupState::GroupState(QObject *parent)
    : QObject(parent)
    , m_groups(new GroupListModel(this))
    , m_search(new GroupListModel(this))
    , m_pending(new GroupPendingModel(this))
{
    m_pending->setNames([this](const QString &user) { return displayName(user); });
}

void GroupState::setAccount(const QString &account)
{
    if (account == m_account)
        return;
    clear();
    m_account = account;
}

void GroupState::clear()
{
    m_groups->clear();
    m_search->clear();
    m_pending->clear();
    for (GroupMembersModel *model : qAsConst(m_members))
        model->replace({});
    m_names.clear();
    m_creating.clear();
    m_ownBorders.clear();
    m_ownLoading.clear();
    m_memberBorders.clear();
    m_memberLoading.clear();
    m_searchKeyword.clear();
}

GroupMembersModel *GroupState::members(const QString &groupId)
{
    GroupMembersModel *&model = m_members[groupId];
    if (!model)
        model = new GroupMembersModel(groupId, this);
    return model;
}

int GroupState::ownRole(const QString &groupId) const
{
    const GroupInfo *g = m_groups->find(groupId);
    return g ? g->role : -1;
}

void GroupState::setDisplayName(const QString &user, const QString &name)
{
    if (user.isEmpty() || name.isEmpty())
        return;
    m_names.insert(user, name);
    for (GroupMembersModel *model : qAsConst(m_members))
        model->setName(user, name);
}

QString GroupState::displayName(const QString &user) const
{
    return m_names.value(user, user);
}

QString GroupState::who(const QString &user) const
{
    return user == m_account ? tr("You") : displayName(user);
}

void GroupState::line(const QString &groupId, const QString &text)
{
    if (isGroup(groupId))
        emit systemLine(groupId, text);
}

void GroupState::learnName(const QString &user, const QString &name)
{
    if (user.isEmpty() || name.isEmpty() || name == user || m_names.value(user) == name)
        return;
    setDisplayName(user, name);
    emit nameLearned(user, name);
}

void GroupState::known(const GroupInfo &group)
{
    GroupInfo g = group;
    if (const GroupInfo *had = m_groups->find(group.id)) {
        if (g.name.isEmpty())
            g.name = had->name;
        if (g.memberCount <= 0)
            g.memberCount = had->memberCount;
    }
    m_groups->upsert(g);
    emit groupKnown(g.id, g.name);
}

void GroupState::gone(const QString &groupId)
{
    m_groups->remove(groupId);
    m_pending->removeGroup(groupId);
    m_memberBorders.remove(groupId);
    m_memberLoading.remove(groupId);
    if (GroupMembersModel *model = m_members.value(groupId))
        model->replace({});
    emit groupGone(groupId);
}

void GroupState::countChanged(const QString &groupId)
{
    const GroupInfo *g = m_groups->find(groupId);
    GroupMembersModel *model = m_members.value(groupId);
    if (!g || !model || model->rowCount() == 0)
        return;
    GroupInfo changed = *g;
    changed.memberCount = model->rowCount();
    m_groups->upsert(changed);
}

void GroupState::failed(const QString &what, int reason)
{
    emit problem(tr("%1: %2").arg(what, TqEngineText::error(reason)));
}

// ---- the user's actions ------------------------------------------------------------------------

bool GroupState::create(const QString &name, const QString &description, bool isPublic,
                        const QStringList &members)
{
    const QString trimmed = name.trimmed();
    if (m_account.isEmpty() || trimmed.isEmpty())
        return false;
    QStringList invited;
    for (const QString &m : members) {
        if (!m.isEmpty() && m != m_account && !invited.contains(m))
            invited << m;
    }
    m_creating.append(invited);
    emit createRequest(trimmed, 0, isPublic ? GroupCode::Public : GroupCode::Private,
                       description.trimmed());
    return true;
}

void GroupState::refresh()
{
    if (m_account.isEmpty())
        return;
    m_ownBorders.append(QString());
    emit ownGroupsQuery(QString(), kPageSize);
}

void GroupState::loadMembers(const QString &groupId)
{
    if (m_account.isEmpty() || !isGroup(groupId))
        return;
    m_memberBorders[groupId].append(QString());
    emit membersQuery(groupId, QString(), kPageSize);
}

bool GroupState::invite(const QString &groupId, const QStringList &accounts)
{
    if (!isGroup(groupId))
        return false;
    QStringList invited;
    GroupMembersModel *model = members(groupId);
    for (const QString &a : accounts) {
        if (!a.isEmpty() && a != m_account && model->rowOf(a) < 0 && !invited.contains(a))
            invited << a;
    }
    if (invited.isEmpty())
        return false;
    emit inviteRequest(groupId, QString(), invited);
    return true;
}

bool GroupState::setMuted(const QString &groupId, const QString &member, bool muted)
{
    if (ownRole(groupId) < GroupCode::Admin || member == m_account || member.isEmpty())
        return false;
    emit forbidRequest(groupId, member, muted ? 1 : 0);
    return true;
}

bool GroupState::removeMember(const QString &groupId, const QString &member)
{
    if (ownRole(groupId) < GroupCode::Admin || member == m_account || member.isEmpty())
        return false;
    const GroupMemberInfo *m = members(groupId)->find(member);
    if (m && m->role == GroupCode::Owner)
        return false;
    emit deleteMemberRequest(groupId, member);
    return true;
}

bool GroupState::leave(const QString &groupId)
{
    // The owner dismisses the group instead.
    if (!isGroup(groupId) || ownRole(groupId) == GroupCode::Owner)
        return false;
    emit quitRequest(groupId);
    return true;
}

bool GroupState::dismiss(const QString &groupId)
{
    if (ownRole(groupId) != GroupCode::Owner)
        return false;
    emit dismissRequest(groupId);
    return true;
}

bool GroupState::answer(int pendingRow, bool accept)
{
    if (pendingRow < 0 || pendingRow >= m_pending->rowCount())
        return false;
    const GroupPending p = m_pending->take(pendingRow);
    const int confirm = accept ? GroupCode::Accept : GroupCode::Refuse;
    if (p.kind == GroupPending::Invitation)
        emit replyInviteRequest(p.groupId, p.from, confirm);
    else
        emit replyJoinRequest(p.groupId, p.from, confirm);
    return true;
}

bool GroupState::search(int searchType, const QString &keyword)
{
    const QString k = keyword.trimmed();
    if (m_account.isEmpty() || k.isEmpty())
        return false;
    m_searchType = searchType;
    m_searchKeyword = k;
    m_search->clear();
    emit searchRequest(searchType, k);
    return true;
}

bool GroupState::askToJoin(const QString &groupId, const QString &note)
{
    if (m_account.isEmpty() || groupId.isEmpty() || isGroup(groupId))
        return false;
    emit joinRequest(groupId, note);
    return true;
}

// ---- results -----------------------------------------------------------------------------------

void GroupState::onCreated(int reason, const Agent_GroupDetailInfo &detail)
{
    const QStringList invited = m_creating.isEmpty() ? QStringList() : m_creating.takeFirst();
    if (reason != kSuccess || detail.groupId.isEmpty()) {
        failed(tr("The group was not created"), reason);
        return;
    }
    GroupInfo g;
    g.id = detail.groupId;
    g.name = detail.name;
    g.owner = m_account;
    g.declared = detail.declared;
    g.role = GroupCode::Owner;
    g.memberCount = 1;
    known(g);
    GroupMemberInfo me;
    me.account = m_account;
    me.name = displayName(m_account);
    me.role = GroupCode::Owner;
    members(g.id)->replace({me});
    line(g.id, tr("You created the group “%1”.").arg(g.name));
    if (!invited.isEmpty())
        emit inviteRequest(g.id, QString(), invited);
}

void GroupState::onDismissed(int reason, const QString &groupId)
{
    if (reason != kSuccess) {
        failed(tr("The group was not dismissed"), reason);
        return;
    }
    line(groupId, tr("You dismissed the group."));
    gone(groupId);
}

void GroupState::onQuit(int reason, const QString &groupId)
{
    if (reason != kSuccess) {
        failed(tr("You did not leave the group"), reason);
        return;
    }
    line(groupId, tr("You left the group."));
    gone(groupId);
}

void GroupState::onJoin(int reason, const QString &groupId)
{
    if (reason != kSuccess) {
        failed(tr("The request to join was not sent"), reason);
        return;
    }
    const GroupInfo *g = m_search->find(groupId);
    emit status(tr("Your request to join “%1” was sent.").arg(g ? g->name : groupId));
}

void GroupState::onReplyRequest(int reason, const QString &groupId, const QString &member,
                                int confirm)
{
    if (reason != kSuccess) {
        failed(tr("The answer to %1 was not sent").arg(displayName(member)), reason);
        return;
    }
    // The server tells the others; the user who let them in learns it from this answer.
    if (confirm == GroupCode::Accept)
        memberJoined(groupId, member);
}

void GroupState::onInvited(int reason, const QString &groupId, const QStringList &, int)
{
    if (reason != kSuccess)
        failed(tr("The invitation was not sent"), reason);
    else if (isGroup(groupId))
        emit status(tr("Invitation sent."));
}

void GroupState::onReplyInvite(int reason, const QString &groupId, const QString &, int confirm)
{
    if (reason != kSuccess) {
        failed(tr("The answer to the invitation was not sent"), reason);
        return;
    }
    if (confirm == GroupCode::Accept && !isGroup(groupId))
        refresh();
}

void GroupState::onOwnGroups(int reason, const QList<Agent_GroupSimpleInfo> &list)
{
    if (m_ownBorders.isEmpty())
        return; // not asked for by this state (another window's query)
    const QString border = m_ownBorders.takeFirst();
    if (border.isEmpty())
        m_ownLoading.clear();
    if (reason != kSuccess) {
        failed(tr("Your groups were not loaded"), reason);
        return;
    }
    for (const Agent_GroupSimpleInfo &s : list) {
        GroupInfo g;
        g.id = s.groupId;
        g.name = s.name;
        g.owner = s.simpleText3;
        g.memberCount = s.simpleValue1;
        g.role = s.simpleValue2;
        m_ownLoading.append(g);
    }
    // A full page: there may be more after its last group.
    if (list.size() >= kPageSize && !list.last().groupId.isEmpty()) {
        m_ownBorders.append(list.last().groupId);
        emit ownGroupsQuery(list.last().groupId, kPageSize);
        return;
    }
    if (!m_ownBorders.isEmpty())
        return; // a newer listing is on its way
    const QStringList before = m_groups->ids();
    const QVector<GroupInfo> now = m_ownLoading;
    m_ownLoading.clear();
    m_groups->replace(now);
    for (const GroupInfo &g : now)
        emit groupKnown(g.id, g.name);
    for (const QString &id : before) {
        if (!isGroup(id))
            gone(id);
    }
}

void GroupState::onMembers(int reason, const QString &groupId, const QList<Agent_GroupMember> &list)
{
    QStringList &borders = m_memberBorders[groupId];
    if (borders.isEmpty()) {
        m_memberBorders.remove(groupId);
        return;
    }
    const QString border = borders.takeFirst();
    QVector<GroupMemberInfo> &loading = m_memberLoading[groupId];
    if (border.isEmpty())
        loading.clear();
    if (reason != kSuccess) {
        m_memberLoading.remove(groupId);
        failed(tr("The members were not loaded"), reason);
        return;
    }
    for (const Agent_GroupMember &r : list) {
        GroupMemberInfo m;
        m.account = r.member;
        m.name = r.memberText.isEmpty() ? displayName(r.member) : r.memberText;
        m.role = r.memberValue1;
        m.muted = r.memberValue2 != 0;
        learnName(m.account, r.memberText);
        loading.append(m);
    }
    if (list.size() >= kPageSize && !list.last().member.isEmpty()) {
        borders.append(list.last().member);
        emit membersQuery(groupId, list.last().member, kPageSize);
        return;
    }
    if (!borders.isEmpty())
        return;
    const QVector<GroupMemberInfo> all = m_memberLoading.take(groupId);
    m_memberBorders.remove(groupId);
    if (!isGroup(groupId))
        return;
    members(groupId)->replace(all);
    countChanged(groupId);
}

void GroupState::onMemberDeleted(int reason, const QString &groupId, const QString &member)
{
    if (reason != kSuccess) {
        failed(tr("%1 was not removed").arg(displayName(member)), reason);
        return;
    }
    memberLeft(groupId, member, tr("You removed %1 from the group.").arg(displayName(member)));
}

void GroupState::onForbidden(int reason, const QString &groupId, const QStringList &members,
                             int isBan)
{
    const QString member = members.value(0);
    if (reason != kSuccess) {
        failed(isBan ? tr("%1 was not muted").arg(displayName(member))
                     : tr("%1 was not unmuted").arg(displayName(member)),
               reason);
        return;
    }
    if (!isGroup(groupId))
        return;
    GroupMembersModel *model = this->members(groupId);
    if (const GroupMemberInfo *m = model->find(member)) {
        GroupMemberInfo changed = *m;
        changed.muted = isBan != 0;
        model->upsert(changed);
    }
    line(groupId,
         isBan ? tr("You muted %1.").arg(displayName(member))
               : tr("You let %1 speak again.").arg(displayName(member)));
}

void GroupState::onSearched(int reason, int searchType, const QString &keyword,
                            const QList<Agent_GroupSearchInfo> &list)
{
    // Only the answer to the latest search.
    if (keyword != m_searchKeyword || searchType != m_searchType)
        return;
    if (reason != kSuccess) {
        failed(tr("The search failed"), reason);
        emit searchFinished();
        return;
    }
    QVector<GroupInfo> found;
    for (const Agent_GroupSearchInfo &s : list) {
        GroupInfo g;
        g.id = s.groupId;
        g.name = s.name;
        g.owner = s.searchText3;
        g.declared = s.searchText4;
        g.memberCount = s.searchValue1;
        g.joined = s.searchFlag || isGroup(s.groupId);
        found.append(g);
    }
    m_search->replace(found);
    emit searchFinished();
}

// ---- notices -----------------------------------------------------------------------------------

void GroupState::memberJoined(const QString &groupId, const QString &member)
{
    if (!isGroup(groupId) || member.isEmpty())
        return;
    GroupMemberInfo m;
    m.account = member;
    m.name = displayName(member);
    // The same event twice (a notice and an answer) says it once.
    if (!members(groupId)->upsert(m))
        return;
    countChanged(groupId);
    line(groupId, tr("%1 joined the group.").arg(who(member)));
}

void GroupState::memberLeft(const QString &groupId, const QString &member, const QString &text)
{
    if (!isGroup(groupId) || member.isEmpty())
        return;
    GroupMembersModel *model = members(groupId);
    const bool wasListed = model->remove(member);
    if (!wasListed && model->rowCount() > 0)
        return; // already gone: said once
    countChanged(groupId);
    line(groupId, text);
}

void GroupState::onRequestJoinNotice(const Agent_RequestJoinGroupNtyMsg &n)
{
    const QString from = n.member.isEmpty() ? n.sender : n.member;
    if (from == m_account)
        return; // the copy of the user's own request
    if (!isGroup(n.groupId) || ownRole(n.groupId) < GroupCode::Admin)
        return;
    GroupPending p;
    p.kind = GroupPending::JoinRequest;
    p.groupId = n.groupId;
    p.groupName = n.groupName;
    p.from = from;
    p.note = n.extraText1;
    if (m_pending->add(p))
        emit status(tr("%1 asks to join “%2”.").arg(displayName(from), n.groupName));
}

void GroupState::onInviteNotice(const Agent_InviteJoinGroupNtyMsg &n)
{
    if (isGroup(n.groupId) || n.sender.isEmpty())
        return;
    GroupPending p;
    p.kind = GroupPending::Invitation;
    p.groupId = n.groupId;
    p.groupName = n.groupName;
    p.from = n.sender;
    p.note = n.extraText1;
    if (m_pending->add(p))
        emit status(tr("%1 invites you to “%2”.").arg(displayName(n.sender), n.groupName));
}

void GroupState::onMemberJoinedNotice(const Agent_MemberJoinedGroupNtyMsg &n)
{
    memberJoined(n.groupId, n.member.isEmpty() ? n.sender : n.member);
}

void GroupState::onDismissNotice(const Agent_DismissGroupNtyMsg &n)
{
    if (!isGroup(n.groupId))
        return;
    line(n.groupId, tr("%1 dismissed the group.").arg(who(n.sender)));
    gone(n.groupId);
}

void GroupState::onQuitNotice(const Agent_QuitGroupNtyMsg &n)
{
    const QString member = n.member.isEmpty() ? n.sender : n.member;
    if (member == m_account) {
        if (isGroup(n.groupId)) {
            line(n.groupId, tr("You left the group."));
            gone(n.groupId);
        }
        return;
    }
    memberLeft(n.groupId, member, tr("%1 left the group.").arg(displayName(member)));
}

void GroupState::onRemovedNotice(const Agent_RemoveGroupMemberNtyMsg &n)
{
    if (n.member == m_account) {
        if (isGroup(n.groupId)) {
            line(n.groupId, tr("%1 removed you from the group.").arg(displayName(n.sender)));
            gone(n.groupId);
        }
        return;
    }
    memberLeft(n.groupId, n.member,
               tr("%1 removed %2 from the group.").arg(who(n.sender), displayName(n.member)));
}

void GroupState::onReplyRequestNotice(const Agent_ReplyRequestJoinGroupNtyMsg &n)
{
    if (n.member != m_account)
        return;
    if (n.extraValue == GroupCode::Accept)
        emit status(tr("You may join “%1”.").arg(n.groupName));
    else
        emit problem(tr("Your request to join “%1” was refused.").arg(n.groupName));
}

void GroupState::onReplyInviteNotice(const Agent_ReplyInviteJoinGroupNtyMsg &n)
{
    // Acceptance shows as the member joining.
    const QString member = n.member.isEmpty() ? n.sender : n.member;
    if (n.extraValue != GroupCode::Accept && member != m_account)
        line(n.groupId, tr("%1 declined the invitation.").arg(displayName(member)));
}

void GroupState::onModifiedNotice(const Agent_ModifyGroupNtyMsg &n)
{
    if (!isGroup(n.groupId))
        return;
    if (!n.groupName.isEmpty()) {
        GroupInfo g = *m_groups->find(n.groupId);
        g.name = n.groupName;
        known(g);
    }
    line(n.groupId, tr("%1 changed the group's details.").arg(who(n.sender)));
}

void GroupState::onRoleNotice(const Agent_ChangeMemberRoleMsg &n)
{
    if (!isGroup(n.groupId) || n.member.isEmpty())
        return;
    GroupMembersModel *model = members(n.groupId);
    if (const GroupMemberInfo *m = model->find(n.member)) {
        GroupMemberInfo changed = *m;
        changed.role = n.extraValue;
        model->upsert(changed);
    }
    if (n.member == m_account) {
        GroupInfo g = *m_groups->find(n.groupId);
        g.role = n.extraValue;
        m_groups->upsert(g);
    }
    line(n.groupId,
         n.extraValue == GroupCode::Admin ? tr("%1 is now an admin.").arg(who(n.member))
                                          : tr("%1 is no longer an admin.").arg(who(n.member)));
}

void GroupState::onJoinedNotice(const Agent_JoinGroupNoticeInfo &n)
{
    if (n.groupId.isEmpty())
        return;
    const bool wasKnown = isGroup(n.groupId);
    GroupInfo g;
    g.id = n.groupId;
    g.name = n.groupName;
    g.role = wasKnown ? ownRole(n.groupId) : GroupCode::Member;
    g.memberCount = n.memberList.size();
    known(g);
    m_pending->removeGroup(n.groupId);
    QVector<GroupMemberInfo> all;
    for (const Agent_GroupMember &r : n.memberList) {
        GroupMemberInfo m;
        m.account = r.member;
        m.name = r.memberText.isEmpty() ? displayName(r.member) : r.memberText;
        learnName(m.account, r.memberText);
        all.append(m);
    }
    if (!all.isEmpty()) {
        members(n.groupId)->replace(all);
        // The notice carries no roles: the full list has them.
        loadMembers(n.groupId);
    }
    if (!wasKnown)
        line(n.groupId, tr("You joined the group “%1”.").arg(g.name));
}

void GroupState::onMemberInfoNotice(const Agent_ModifyGroupMemberInfo &n)
{
    if (!isGroup(n.groupId) || n.member.isEmpty())
        return;
    const QJsonObject change = QJsonDocument::fromJson(n.modifyDic.toUtf8()).object();
    if (!change.contains(QLatin1String("isBan")))
        return;
    const bool muted = change.value(QLatin1String("isBan")).toInt() != 0;
    GroupMembersModel *model = members(n.groupId);
    if (const GroupMemberInfo *m = model->find(n.member)) {
        if (m->muted == muted)
            return;
        GroupMemberInfo changed = *m;
        changed.muted = muted;
        model->upsert(changed);
    }
    line(n.groupId,
         muted ? tr("%1 muted %2.").arg(who(n.sender), who(n.member))
               : tr("%1 let %2 speak again.").arg(who(n.sender), who(n.member)));
}
