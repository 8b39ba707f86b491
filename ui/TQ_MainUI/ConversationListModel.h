#pragma once

#include "ChatMessage.h"
#include "tq_mainui_export.h"

#include <QAbstractListModel>
#include <QHash>
#include <QStringList>
#include <QVector>

// The user's conversations, widget-free: the peer, the last message and how many received
// messages wait unread. The most recently active conversation comes first.
class TQ_MAINUI_EXPORT ConversationListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role {
        PeerRole = Qt::UserRole + 1,
        DisplayNameRole,
        PreviewRole, // the last message in one line
        TimeTextRole,
        UnreadRole,
        LastFailedRole, // the last message is an own one that was not sent
    };
    Q_ENUM(Role)

    explicit ConversationListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    int rowOf(const QString &peer) const;
    QStringList peers() const;
    int unread(const QString &peer) const;
    int totalUnread() const { return m_totalUnread; }

    // Lists the conversation (first) if it is not listed yet.
    void ensure(const QString &peer);
    // A new message: it becomes the preview and the conversation moves to the top.
    void messageAdded(const QString &peer, const ChatMessage &last);
    // The last message changed (sent, withdrawn, deleted, ...): the preview follows, the
    // order stays. Null: the conversation has no message left.
    void setLast(const QString &peer, const ChatMessage *last);
    void setUnread(const QString &peer, int count);
    void setDisplayName(const QString &user, const QString &name);
    void clear();

signals:
    void totalUnreadChanged(int total);

private:
    struct Conversation
    {
        QString peer;
        ChatMessage last;
        bool hasLast = false;
        int unread = 0;
    };

    void moveToTop(int row);
    void changed(int row);
    void recount();

    QVector<Conversation> m_rows;
    QHash<QString, QString> m_names;
    int m_totalUnread = 0;
};
