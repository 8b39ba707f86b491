#pragma once

#include "ChatMessage.h"
#include "tq_mainui_export.h"

#include <QAbstractListModel>
#include <QStringList>
#include <QVector>

#include <functional>

// The messages of one conversation, oldest first, widget-free. ChatState feeds it; a view
// paints it with MessageDelegate.
class TQ_MAINUI_EXPORT MessageListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role {
        MessageRole = Qt::UserRole + 1, // the whole ChatMessage
        KeyRole,
        MsgIdRole,
        OutgoingRole,
        KindRole, // ChatMessage::Kind as int
        StatusRole, // ChatMessage::Status as int
        StatusTextRole, // "Sending…", "Sent", "Read", "Failed: …"
        TransferRole, // ChatMessage::Transfer as int
        ProgressRole, // 0..100 while a transfer runs, else -1
        WithdrawnRole,
        PeerNameRole, // the conversation's display name
        OwnNameRole,
        TimeTextRole,
    };
    Q_ENUM(Role)

    explicit MessageListModel(const QString &peer, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    QString peer() const { return m_peer; }
    QString peerName() const { return m_peerName.isEmpty() ? m_peer : m_peerName; }
    void setPeerName(const QString &name);
    void setOwnName(const QString &name);
    // The name shown over `sender`'s messages (a group's).
    void setSenderName(const QString &sender, const QString &name);

    int rowOf(const QString &key) const;
    // The message under `key`, or null; valid until the model changes.
    const ChatMessage *find(const QString &key) const;
    const ChatMessage &at(int row) const { return m_messages.at(row); }
    QStringList keys() const;

    void append(const ChatMessage &message);
    // Changes one message in place; false when there is none under `key`.
    bool update(const QString &key, const std::function<void(ChatMessage &)> &change);
    bool remove(const QString &key);
    void clear();

    int unreadCount() const;
    // Marks every received message seen; returns the engine ids of those newly seen.
    QStringList markAllSeen();

private:
    QString m_peer;
    QString m_peerName;
    QString m_ownName;
    QVector<ChatMessage> m_messages;
};
