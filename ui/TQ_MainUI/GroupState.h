#pragma once

#include "tq_mainui_export.h"

#include <GroupRecords.h>

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVector>

#include <functional>

// Codes the groups' records carry (roles in member records and own-group entries, scope).
namespace GroupCode {
constexpr int Member = 0;
constexpr int Admin = 1;
constexpr int Owner = 2;
constexpr int Private = 0;
constexpr int Public = 1;
constexpr int SearchByName = 0;
constexpr int SearchById = 1;
constexpr int Refuse = 0;
constexpr int Accept = 1;
} // namespace GroupCode

struct TQ_MAINUI_EXPORT GroupInfo
{
    QString id;
    QString name;
    QString owner;
    QString declared;
    int role = GroupCode::Member; // the user's
    int memberCount = 0;
    bool joined = true; // search results: whether the user is in it
};

// A list of groups: the user's own, or the results of a search.
class TQ_MAINUI_EXPORT GroupListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role { IdRole = Qt::UserRole + 1, NameRole, RoleRole, CountRole, JoinedRole };
    Q_ENUM(Role)

    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    int rowOf(const QString &id) const;
    const GroupInfo *find(const QString &id) const;
    const GroupInfo &at(int row) const { return m_rows.at(row); }
    QStringList ids() const;
    // Adds the group, or changes the one listed under its id.
    void upsert(const GroupInfo &group);
    bool remove(const QString &id);
    void replace(const QVector<GroupInfo> &groups);
    void clear() { replace({}); }

private:
    QVector<GroupInfo> m_rows;
};

struct TQ_MAINUI_EXPORT GroupMemberInfo
{
    QString account;
    QString name;
    int role = GroupCode::Member;
    bool muted = false;
};

// One group's members: the owner, admins, then the others, each in the order they came.
class TQ_MAINUI_EXPORT GroupMembersModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role { AccountRole = Qt::UserRole + 1, NameRole, RoleRole, MutedRole };
    Q_ENUM(Role)

    explicit GroupMembersModel(const QString &groupId, QObject *parent = nullptr);
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    QString groupId() const { return m_groupId; }
    int rowOf(const QString &account) const;
    const GroupMemberInfo *find(const QString &account) const;
    const GroupMemberInfo &at(int row) const { return m_rows.at(row); }
    QStringList accounts() const;
    // True when the member is new.
    bool upsert(const GroupMemberInfo &member);
    bool remove(const QString &account);
    void replace(const QVector<GroupMemberInfo> &members);
    void setName(const QString &account, const QString &name);

private:
    int placeOf(const GroupMemberInfo &member) const;

    QString m_groupId;
    QVector<GroupMemberInfo> m_rows;
};

struct TQ_MAINUI_EXPORT GroupPending
{
    enum Kind { Invitation, JoinRequest };
    Kind kind = Invitation;
    QString groupId;
    QString groupName;
    QString from; // the invitor, or who asks to join
    QString note;
};

// Invitations to the user and requests to join the user's groups, waiting for an answer.
class TQ_MAINUI_EXPORT GroupPendingModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role { KindRole = Qt::UserRole + 1, GroupIdRole, FromRole };
    Q_ENUM(Role)

    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    const GroupPending &at(int row) const { return m_rows.at(row); }
    void setNames(std::function<QString(const QString &)> names) { m_names = std::move(names); }

    // False when the same one already waits.
    bool add(const GroupPending &pending);
    GroupPending take(int row);
    void removeGroup(const QString &groupId);
    void clear();

private:
    QVector<GroupPending> m_rows;
    std::function<QString(const QString &)> m_names;
};

// The user's groups as the windows see them, widget-free: the groups, their members, what waits
// for the user's answer and a public search; the user's actions become requests to the
// messaging agent, its results and the server's notices change the models and become lines in
// the group's chat (systemLine). GroupAgentLink binds it; tests may feed it by hand.
class TQ_MAINUI_EXPORT GroupState : public QObject
{
    Q_OBJECT
public:
    // Own groups and members are asked for in pages of this size.
    static constexpr int kPageSize = 50;

    explicit GroupState(QObject *parent = nullptr);

    QString account() const { return m_account; }
    void setAccount(const QString &account);
    void clear();

    GroupListModel *groups() const { return m_groups; }
    GroupListModel *searchResults() const { return m_search; }
    GroupPendingModel *pending() const { return m_pending; }
    // The group's members; an empty model until they are loaded.
    GroupMembersModel *members(const QString &groupId);
    bool isGroup(const QString &id) const { return m_groups->rowOf(id) >= 0; }
    int ownRole(const QString &groupId) const;

    void setDisplayName(const QString &user, const QString &name);
    QString displayName(const QString &user) const;

    // The user's actions; false (nothing asked) when not possible now.
    bool create(const QString &name, const QString &description, bool isPublic,
                const QStringList &members);
    void refresh();
    void loadMembers(const QString &groupId);
    bool invite(const QString &groupId, const QStringList &accounts);
    bool setMuted(const QString &groupId, const QString &member, bool muted);
    bool removeMember(const QString &groupId, const QString &member);
    bool leave(const QString &groupId);
    bool dismiss(const QString &groupId);
    bool answer(int pendingRow, bool accept);
    bool search(int searchType, const QString &keyword);
    bool askToJoin(const QString &groupId, const QString &note = QString());

public slots:
    void onCreated(int reason, const Agent_GroupDetailInfo &detail);
    void onDismissed(int reason, const QString &groupId);
    void onQuit(int reason, const QString &groupId);
    void onJoin(int reason, const QString &groupId);
    void onReplyRequest(int reason, const QString &groupId, const QString &member, int confirm);
    void onInvited(int reason, const QString &groupId, const QStringList &members, int confirm);
    void onReplyInvite(int reason, const QString &groupId, const QString &invitor, int confirm);
    void onOwnGroups(int reason, const QList<Agent_GroupSimpleInfo> &list);
    void onMembers(int reason, const QString &groupId, const QList<Agent_GroupMember> &list);
    void onMemberDeleted(int reason, const QString &groupId, const QString &member);
    void onForbidden(int reason, const QString &groupId, const QStringList &members, int isBan);
    void onSearched(int reason, int searchType, const QString &keyword,
                    const QList<Agent_GroupSearchInfo> &list);

    void onRequestJoinNotice(const Agent_RequestJoinGroupNtyMsg &n);
    void onInviteNotice(const Agent_InviteJoinGroupNtyMsg &n);
    void onMemberJoinedNotice(const Agent_MemberJoinedGroupNtyMsg &n);
    void onDismissNotice(const Agent_DismissGroupNtyMsg &n);
    void onQuitNotice(const Agent_QuitGroupNtyMsg &n);
    void onRemovedNotice(const Agent_RemoveGroupMemberNtyMsg &n);
    void onReplyRequestNotice(const Agent_ReplyRequestJoinGroupNtyMsg &n);
    void onReplyInviteNotice(const Agent_ReplyInviteJoinGroupNtyMsg &n);
    void onModifiedNotice(const Agent_ModifyGroupNtyMsg &n);
    void onRoleNotice(const Agent_ChangeMemberRoleMsg &n);
    void onJoinedNotice(const Agent_JoinGroupNoticeInfo &n);
    void onMemberInfoNotice(const Agent_ModifyGroupMemberInfo &n);

signals:
    // A line for the group's chat.
    void systemLine(const QString &groupId, const QString &text);
    // The user is in a group now (created, joined, listed), under this name.
    void groupKnown(const QString &groupId, const QString &name);
    void groupGone(const QString &groupId);
    void nameLearned(const QString &user, const QString &name);
    // Something the user should read (a refused request, a failed action).
    void problem(const QString &text);
    void status(const QString &text);
    void searchFinished();

    // Requests to the messaging agent.
    void createRequest(const QString &name, int type, int scope, const QString &declared);
    void dismissRequest(const QString &groupId);
    void quitRequest(const QString &groupId);
    void joinRequest(const QString &groupId, const QString &declared);
    void replyJoinRequest(const QString &groupId, const QString &member, int confirm);
    void inviteRequest(const QString &groupId, const QString &declared, const QStringList &members);
    void replyInviteRequest(const QString &groupId, const QString &invitor, int confirm);
    void ownGroupsQuery(const QString &borderGroupId, int pageSize);
    void membersQuery(const QString &groupId, const QString &borderMember, int pageSize);
    void deleteMemberRequest(const QString &groupId, const QString &member);
    void forbidRequest(const QString &groupId, const QString &member, int isBan);
    void searchRequest(int searchType, const QString &keyword);

private:
    QString who(const QString &user) const;
    void line(const QString &groupId, const QString &text);
    void known(const GroupInfo &group);
    void gone(const QString &groupId);
    void learnName(const QString &user, const QString &name);
    void memberJoined(const QString &groupId, const QString &member);
    void memberLeft(const QString &groupId, const QString &member, const QString &text);
    void countChanged(const QString &groupId);
    void failed(const QString &what, int reason);

    QString m_account;
    GroupListModel *m_groups;
    GroupListModel *m_search;
    GroupPendingModel *m_pending;
    QHash<QString, GroupMembersModel *> m_members;
    QHash<QString, QString> m_names;
    QList<QStringList> m_creating; // members to invite, per creation not yet answered
    QStringList m_ownBorders; // own-group pages asked for, oldest first
    QVector<GroupInfo> m_ownLoading; // the pages of a listing from the start so far
    QHash<QString, QStringList> m_memberBorders; // per group, member pages asked for
    QHash<QString, QVector<GroupMemberInfo>> m_memberLoading;
    QString m_searchKeyword;
    int m_searchType = GroupCode::SearchByName;
};
