#pragma once

#include "tq_mediaconfui_export.h"

#include <MeetingRecords.h>

#include <QAbstractListModel>
#include <QList>
#include <QSet>
#include <QString>

// A member of a meeting or an interphone as the windows show it.
struct TQ_MEDIACONFUI_EXPORT TqMeetingMember
{
    QString account;
    QString name; // the server's display name; empty when it gave none
    QString number;
    int state = 0; // TqMeetingCode::Member*
    bool owner = false;
    int option = 0; // TqMeetingCode speak/listen option
    bool video = false; // publishing video
    bool holdsMic = false;

    // The engine's member record: number1 state, number2 role, number3 speak/listen, text1 short
    // number, text2 display name, text3 account, flag2 video, flag3 holds the microphone.
    static TqMeetingMember fromRecord(const Agent_MeetingMemberInfo &record);
    QString shownName() const { return name.isEmpty() ? account : name; }
    bool isIn() const;
    bool operator==(const TqMeetingMember &o) const;
};

// The members of one meeting, in the server's order (owner first, then as invited). Rows
// show the name, the state and the speak/listen setting; the roles give each field.
class TQ_MEDIACONFUI_EXPORT TqMeetingMemberModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role {
        AccountRole = Qt::UserRole + 1,
        NameRole,
        StateRole,
        OwnerRole,
        OptionRole,
        VideoRole,
        MicRole,
    };

    explicit TqMeetingMemberModel(QObject *parent = nullptr);

    void setOwnAccount(const QString &account) { m_own = account; }
    QString ownAccount() const { return m_own; }

    QList<TqMeetingMember> members() const { return m_members; }
    int rowOf(const QString &account) const;
    // The member, or one with only the account when unknown.
    TqMeetingMember member(const QString &account) const;
    bool contains(const QString &account) const { return rowOf(account) >= 0; }
    int joinedCount() const;

    // The server's full list: replaces what is known.
    void setMembers(const QList<TqMeetingMember> &members);
    // The server's list of those in or invited, in its order; the others known here stay after
    // them, out of the meeting (declined, left or removed). The rows of `newer` (news that came
    // after the list was asked for) stay as they are here.
    void mergeMembers(const QList<TqMeetingMember> &current, const QSet<QString> &newer = {});
    // Adds the member at the end, or changes the known one through `change`.
    template<class Change> void update(const QString &account, Change change)
    {
        if (account.isEmpty())
            return;
        int row = rowOf(account);
        if (row < 0) {
            TqMeetingMember m;
            m.account = account;
            change(m);
            beginInsertRows(QModelIndex(), m_members.size(), m_members.size());
            m_members.append(m);
            endInsertRows();
            return;
        }
        change(m_members[row]);
        emit dataChanged(index(row), index(row));
    }
    // Only this member holds the microphone (none when empty).
    void setMicHolder(const QString &account);
    void clear();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QString m_own;
    QList<TqMeetingMember> m_members;
};
