#pragma once

#include "tq_mainui_export.h"

#include <SessionRecords.h>
#include <TqProfiles.h>

#include <QAbstractListModel>
#include <QSortFilterProxyModel>
#include <QVector>

// The user's contacts with their live presence, widget-free. The server's presence pushes
// (sig_onReceiveFriendsPublishPresence) bring contacts in; answers to user-state queries
// (sig_onGetUserState) and profiles only update the ones listed, so that a query made for
// someone else never adds a stranger. The user's own account is never listed.
class TQ_MAINUI_EXPORT ContactListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role {
        UserRole = Qt::UserRole + 1,
        DisplayNameRole, // the profile's name, else the name the server gave, else the user
        PresenceRole, // TqPresence type
        SignatureRole,
        PresenceSubtypeRole,
        PresenceNoteRole,
        ShortNumberRole,
        PresenceTextRole, // presence in words, with its detail
    };
    Q_ENUM(Role)

    explicit ContactListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    void setOwnAccount(const QString &account);
    QStringList users() const;
    int rowOf(const QString &user) const;

public slots:
    void clear();
    void onFriendsPresence(const QList<Agent_PersonState> &states);
    void onUserStates(int reason, const QList<Agent_PersonState> &states);
    void applyProfile(const TqPersonProfile &profile);

signals:
    // Contacts listed for the first time, in the order they came.
    void contactsAdded(const QStringList &users);

private:
    struct Contact
    {
        QString user;
        QString serverName; // Agent_PersonState::text2
        QString profileName;
        QString shortNumber;
        QString signature;
        QString note;
        int presence = 0;
        int subtype = 0;

        QString displayName() const;
    };

    // Applies one record; adds its user when `mayAdd`. True when a row was added.
    bool apply(const Agent_PersonState &state, bool mayAdd);

    QVector<Contact> m_contacts;
    QString m_own;
};

// Search-as-you-type over user, name and short number, and the list's order: reachable
// people first, then by name.
class TQ_MAINUI_EXPORT ContactFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit ContactFilterModel(QObject *parent = nullptr);

    void setSearchText(const QString &text);
    QString searchText() const { return m_search; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    QString m_search;
};
