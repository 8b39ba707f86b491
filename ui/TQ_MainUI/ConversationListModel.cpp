#include "ConversationListModel.h"

#include "ChatText.h"

ConversationListModel::ConversationListModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

int ConversationListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QVariant ConversationListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const Conversation &c = m_rows.at(index.row());
    const QString name = m_names.value(c.peer, c.peer);
    switch (role) {
    case Qt::DisplayRole:
    case DisplayNameRole:
        return name;
    case Qt::ToolTipRole:
        return c.peer;
    case PeerRole:
        return c.peer;
    case PreviewRole:
        return c.hasLast ? ChatText::preview(c.last, name) : QString();
    case TimeTextRole:
        return c.hasLast ? ChatText::shortTime(c.last.time, QDateTime::currentDateTime())
                         : QString();
    case UnreadRole:
        return c.unread;
    case LastFailedRole:
        return c.hasLast && c.last.status == ChatMessage::Status::Failed && !c.last.withdrawn;
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> ConversationListModel::roleNames() const
{
    return {{PeerRole, "peer"},       {DisplayNameRole, "displayName"},
            {PreviewRole, "preview"}, {TimeTextRole, "timeText"},
            {UnreadRole, "unread"},   {LastFailedRole, "lastFailed"}};
}

int ConversationListModel::rowOf(const QString &peer) const
{
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows.at(row).peer == peer)
            return row;
    }
    return -1;
}

QStringList ConversationListModel::peers() const
{
    QStringList result;
    for (const Conversation &c : m_rows)
        result << c.peer;
    return result;
}

int ConversationListModel::unread(const QString &peer) const
{
    const int row = rowOf(peer);
    return row < 0 ? 0 : m_rows.at(row).unread;
}

void ConversationListModel::ensure(const QString &peer)
{
    if (peer.isEmpty() || rowOf(peer) >= 0)
        return;
    beginInsertRows(QModelIndex(), 0, 0);
    Conversation c;
    c.peer = peer;
    m_rows.prepend(c);
    endInsertRows();
}

void ConversationListModel::messageAdded(const QString &peer, const ChatMessage &last)
{
    if (peer.isEmpty())
        return;
    ensure(peer);
    const int row = rowOf(peer);
    m_rows[row].last = last;
    m_rows[row].hasLast = true;
    changed(row);
    moveToTop(row);
}

void ConversationListModel::setLast(const QString &peer, const ChatMessage *last)
{
    const int row = rowOf(peer);
    if (row < 0)
        return;
    m_rows[row].hasLast = last != nullptr;
    m_rows[row].last = last ? *last : ChatMessage();
    changed(row);
}

void ConversationListModel::setUnread(const QString &peer, int count)
{
    const int row = rowOf(peer);
    if (row < 0 || m_rows.at(row).unread == count)
        return;
    m_rows[row].unread = qMax(0, count);
    changed(row);
    recount();
}

void ConversationListModel::setDisplayName(const QString &user, const QString &name)
{
    if (user.isEmpty() || m_names.value(user) == name)
        return;
    if (name.isEmpty())
        m_names.remove(user);
    else
        m_names.insert(user, name);
    const int row = rowOf(user);
    if (row >= 0)
        changed(row);
}

void ConversationListModel::clear()
{
    if (!m_rows.isEmpty()) {
        beginResetModel();
        m_rows.clear();
        endResetModel();
    }
    m_names.clear();
    recount();
}

void ConversationListModel::moveToTop(int row)
{
    if (row <= 0)
        return;
    beginMoveRows(QModelIndex(), row, row, QModelIndex(), 0);
    m_rows.move(row, 0);
    endMoveRows();
}

void ConversationListModel::changed(int row)
{
    emit dataChanged(index(row), index(row));
}

void ConversationListModel::recount()
{
    int total = 0;
    for (const Conversation &c : m_rows)
        total += c.unread;
    if (total == m_totalUnread)
        return;
    m_totalUnread = total;
    emit totalUnreadChanged(total);
}
