#include "MessageListModel.h"

#include "ChatText.h"

MessageListModel::MessageListModel(const QString &peer, QObject *parent)
    : QAbstractListModel(parent)
    , m_peer(peer)
{ }

int MessageListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_messages.size();
}

QVariant MessageListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_messages.size())
        return QVariant();
    const ChatMessage &m = m_messages.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return ChatText::preview(m, peerName());
    case Qt::ToolTipRole:
        return m.time.isValid() ? ChatText::fullTime(m.time) : QVariant();
    case MessageRole:
        return QVariant::fromValue(m);
    case KeyRole:
        return m.key;
    case MsgIdRole:
        return m.msgId;
    case OutgoingRole:
        return m.outgoing;
    case KindRole:
        return int(m.kind);
    case StatusRole:
        return int(m.status);
    case StatusTextRole:
        return ChatText::status(m);
    case TransferRole:
        return int(m.transfer);
    case ProgressRole:
        if (m.transfer != ChatMessage::Transfer::Running)
            return -1;
        return m.total > 0 ? int(qBound<qint64>(0, m.done * 100 / m.total, 100)) : 0;
    case WithdrawnRole:
        return m.withdrawn;
    case PeerNameRole:
        return peerName();
    case OwnNameRole:
        return m_ownName;
    case TimeTextRole:
        return ChatText::shortTime(m.time, QDateTime::currentDateTime());
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> MessageListModel::roleNames() const
{
    return {{MessageRole, "message"},       {KeyRole, "key"},           {MsgIdRole, "msgId"},
            {OutgoingRole, "outgoing"},     {KindRole, "kind"},         {StatusRole, "status"},
            {StatusTextRole, "statusText"}, {TransferRole, "transfer"}, {ProgressRole, "progress"},
            {WithdrawnRole, "withdrawn"},   {PeerNameRole, "peerName"}, {OwnNameRole, "ownName"},
            {TimeTextRole, "timeText"}};
}

void MessageListModel::setPeerName(const QString &name)
{
    if (name == m_peerName)
        return;
    m_peerName = name;
    if (!m_messages.isEmpty())
        emit dataChanged(index(0), index(m_messages.size() - 1));
}

void MessageListModel::setOwnName(const QString &name)
{
    if (name == m_ownName)
        return;
    m_ownName = name;
    if (!m_messages.isEmpty())
        emit dataChanged(index(0), index(m_messages.size() - 1));
}

void MessageListModel::setSenderName(const QString &sender, const QString &name)
{
    for (int row = 0; row < m_messages.size(); ++row) {
        ChatMessage &m = m_messages[row];
        if (m.outgoing || m.system || m.sender != sender || m.senderName == name)
            continue;
        m.senderName = name;
        emit dataChanged(index(row), index(row));
    }
}

int MessageListModel::rowOf(const QString &key) const
{
    // Recent messages change most: search from the end.
    for (int row = m_messages.size() - 1; row >= 0; --row) {
        if (m_messages.at(row).key == key)
            return row;
    }
    return -1;
}

const ChatMessage *MessageListModel::find(const QString &key) const
{
    const int row = rowOf(key);
    return row < 0 ? nullptr : &m_messages.at(row);
}

QStringList MessageListModel::keys() const
{
    QStringList result;
    result.reserve(m_messages.size());
    for (const ChatMessage &m : m_messages)
        result << m.key;
    return result;
}

void MessageListModel::append(const ChatMessage &message)
{
    const int row = m_messages.size();
    beginInsertRows(QModelIndex(), row, row);
    m_messages.append(message);
    endInsertRows();
}

bool MessageListModel::update(const QString &key, const std::function<void(ChatMessage &)> &change)
{
    const int row = rowOf(key);
    if (row < 0)
        return false;
    change(m_messages[row]);
    emit dataChanged(index(row), index(row));
    return true;
}

bool MessageListModel::remove(const QString &key)
{
    const int row = rowOf(key);
    if (row < 0)
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    m_messages.remove(row);
    endRemoveRows();
    return true;
}

void MessageListModel::clear()
{
    if (m_messages.isEmpty())
        return;
    beginResetModel();
    m_messages.clear();
    endResetModel();
}

int MessageListModel::unreadCount() const
{
    int count = 0;
    for (const ChatMessage &m : m_messages)
        count += m.isUnread();
    return count;
}

QStringList MessageListModel::markAllSeen()
{
    QStringList ids;
    int first = -1;
    int last = -1;
    for (int row = 0; row < m_messages.size(); ++row) {
        ChatMessage &m = m_messages[row];
        if (m.outgoing || m.seen)
            continue;
        m.seen = true;
        if (!m.msgId.isEmpty() && !m.withdrawn)
            ids << m.msgId;
        if (first < 0)
            first = row;
        last = row;
    }
    if (first >= 0)
        emit dataChanged(index(first), index(last));
    return ids;
}
