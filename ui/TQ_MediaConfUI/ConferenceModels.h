#pragma once

#include "ConferenceRecords.h"
#include "tq_mediaconfui_export.h"

#include <QAbstractTableModel>
#include <QCoreApplication>

// Words for the conference records.
class TQ_MEDIACONFUI_EXPORT TqConfText
{
    Q_DECLARE_TR_FUNCTIONS(TqConfText)
public:
    // Minutes are enough for conference times.
    static QString time(const QDateTime &t);
    static QString when(const TqConfSummary &c);
    static QString state(const TqConfSummary &c);
    static QString role(const TqConfMember &m);
    static QString memberState(const TqConfMember &m);
    static QString microphone(const TqConfMember &m);
    static QString camera(const TqConfMember &m);
    static QString duration(int seconds);
    static QString failure(const QString &what, int reason);
};

// A page of conferences: name, when, host, members.
class TQ_MEDIACONFUI_EXPORT TqConfListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { NameColumn, WhenColumn, HostColumn, MembersColumn, ColumnCount };
    enum Role { IdRole = Qt::UserRole + 1 };

    explicit TqConfListModel(QObject *parent = nullptr);
    // Keeps rows in place when the same conferences come again, so a selection survives.
    void setConferences(const QList<TqConfSummary> &list);
    TqConfSummary at(int row) const { return m_list.value(row); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<TqConfSummary> m_list;
};

// The members of the conference: name, role, state, microphone, camera, screen.
class TQ_MEDIACONFUI_EXPORT TqConfMemberModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column {
        NameColumn,
        RoleColumn,
        StateColumn,
        MicrophoneColumn,
        CameraColumn,
        ScreenColumn,
        ColumnCount
    };
    enum Role { IdRole = Qt::UserRole + 1 };

    explicit TqConfMemberModel(QObject *parent = nullptr);
    // Keeps rows in place when the same members come again, so a selection survives.
    void setMembers(const QList<TqConfMember> &members, const QString &self);
    TqConfMember at(int row) const { return m_members.value(row); }
    int rowOf(const QString &id) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<TqConfMember> m_members;
    QString m_self;
};
