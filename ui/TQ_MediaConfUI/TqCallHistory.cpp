#include "TqCallHistory.h"

#include "TqCallText.h"

#include <QLocale>

TqCallHistory::TqCallHistory(QObject *parent)
    : QAbstractListModel(parent)
{ }

void TqCallHistory::setNameLookup(std::function<QString(const QString &)> lookup)
{
    m_nameOf = std::move(lookup);
    if (!m_records.isEmpty())
        emit dataChanged(index(0), index(m_records.size() - 1), {Qt::DisplayRole});
}

int TqCallHistory::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_records.size();
}

QVariant TqCallHistory::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_records.size())
        return QVariant();
    const TqCallRecord &r = m_records.at(index.row());
    switch (role) {
    case Qt::DisplayRole: {
        QString name = r.peerName;
        if (m_nameOf && m_nameOf(r.peer) != r.peer)
            name = m_nameOf(r.peer);
        return tr("%1 · %2 · %3")
            .arg(TqCallText::peerLabel(name, r.peer), TqCallText::media(r.video),
                 TqCallText::outcome(r));
    }
    case Qt::ToolTipRole:
        return QLocale().toString(r.startedAt, QLocale::ShortFormat);
    case PeerRole:
        return r.peer;
    case VideoRole:
        return r.video;
    case OutgoingRole:
        return r.outgoing;
    case OutcomeRole:
        return int(r.outcome);
    case DurationRole:
        return r.durationMs;
    case StartedRole:
        return r.startedAt;
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> TqCallHistory::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(PeerRole, "peer");
    names.insert(VideoRole, "video");
    names.insert(OutgoingRole, "outgoing");
    names.insert(OutcomeRole, "outcome");
    names.insert(DurationRole, "duration");
    names.insert(StartedRole, "started");
    return names;
}

void TqCallHistory::add(const TqCallRecord &record)
{
    if (record.peer.isEmpty())
        return;
    beginInsertRows(QModelIndex(), 0, 0);
    m_records.prepend(record);
    endInsertRows();
    if (m_records.size() > MaxEntries) {
        beginRemoveRows(QModelIndex(), MaxEntries, m_records.size() - 1);
        m_records.erase(m_records.begin() + MaxEntries, m_records.end());
        endRemoveRows();
    }
}

void TqCallHistory::clear()
{
    if (m_records.isEmpty())
        return;
    beginResetModel();
    m_records.clear();
    endResetModel();
}
