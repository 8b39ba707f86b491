#pragma once

#include "TqCallState.h"
#include "tq_mediaconfui_export.h"

#include <QAbstractListModel>
#include <QList>

#include <functional>

// The session's recent calls, newest first.
class TQ_MEDIACONFUI_EXPORT TqCallHistory : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role {
        PeerRole = Qt::UserRole + 1,
        VideoRole,
        OutgoingRole,
        OutcomeRole,
        DurationRole,
        StartedRole
    };
    static constexpr int MaxEntries = 100;

    explicit TqCallHistory(QObject *parent = nullptr);

    // Display names come from here (the client's shared names); the peer id without it.
    void setNameLookup(std::function<QString(const QString &)> lookup);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    TqCallRecord record(int row) const { return m_records.value(row); }

public slots:
    void add(const TqCallRecord &record);
    void clear();

private:
    QList<TqCallRecord> m_records;
    std::function<QString(const QString &)> m_nameOf;
};
