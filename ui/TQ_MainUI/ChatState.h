#pragma once

#include "ChatMessage.h"
#include "tq_mainui_export.h"

#include <ImRecords.h>

#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

class ConversationListModel;
class MessageListModel;
class VoiceRecorder;

// The person-to-person chat as the windows see it, widget-free: the conversations and their
// messages, fed by the messaging agent's results, and the user's actions turned into the
// agent's requests. ChatAgentLink binds both sides to IM_Agent; tests may feed it by hand.
//
// An own message carries a token of this client in its user data: the engine's answers
// (pre-send record, progress, result) all bring it back, in whatever order they arrive.
class TQ_MAINUI_EXPORT ChatState : public QObject
{
    Q_OBJECT
public:
    // The session id of duration queries for received voice notes.
    static QString durationSession() { return QStringLiteral("tq-chat"); }
    // The longest text one message carries, in UTF-8 bytes (the engine's record).
    static constexpr int kMaxTextBytes = 8192;

    explicit ChatState(QObject *parent = nullptr);
    ~ChatState() override;

    QString account() const { return m_account; }
    void setAccount(const QString &account);
    // Forgets every conversation (logout).
    void clear();

    ConversationListModel *conversations() const { return m_conversations; }
    // The conversation's messages; an empty model when there are none yet.
    MessageListModel *messages(const QString &peer);
    VoiceRecorder *recorder() const { return m_recorder; }

    // Where downloaded files go and where pictures and voice notes are kept, per user.
    QString downloadDir() const;
    QString mediaDir() const;

    // The conversation the user has in view (empty: none). Its received messages count as
    // read and their read receipts go out.
    void setViewing(const QString &peer);
    QString viewing() const { return m_viewing; }
    // Lists a conversation (the user opened it).
    void open(const QString &peer);

    void setDisplayName(const QString &user, const QString &name);
    QString displayName(const QString &user) const;

    // A group's conversation: others' messages show who wrote them. Received group messages
    // mark their conversation by themselves.
    void setGroupSession(const QString &peer);
    bool isGroupSession(const QString &peer) const { return m_groups.contains(peer); }
    // Adds a line about the conversation (not a message; never unread). Returns its key.
    QString addSystemLine(const QString &peer, const QString &text);

    // The user's actions. False (and nothing sent) when not possible; problem() tells why
    // where the user should know.
    bool sendText(const QString &peer, const QString &text);
    // A picture goes as a picture, anything else as a file.
    bool sendFile(const QString &peer, const QString &path);
    bool sendVoice(const QString &peer, const QString &path, int durationMs);
    bool retry(const QString &peer, const QString &key);
    bool cancelTransfer(const QString &peer, const QString &key);
    bool download(const QString &peer, const QString &key);
    bool withdraw(const QString &peer, const QString &key);
    bool remove(const QString &peer, const QString &key);
    // Plays a voice note, or stops it when it is playing.
    bool togglePlay(const QString &peer, const QString &key);
    bool startRecording(const QString &peer);

    // The chat's own view of an engine record (kind, time, link card), for a received message.
    static ChatMessage fromRecord(const ChatMsgData &record, const QString &account);
    // The engine's creation time: "yyyy-MM-dd hh:mm:ss" (local) or milliseconds since 1970.
    static QDateTime parseTime(const QString &text);

public slots:
    void onPreSendText(int ret, const ChatMsgData &msg);
    void onPreSendMedia(int ret, const ChatMsgData &msg);
    void onSendText(int reason, const ChatMsgData &msg);
    void onSendMedia(int reason, const ChatMsgData &msg);
    void onRetryId(const QString &oldMsgId, const QString &newMsgId);
    void onReceiveMessage(const ChatMsgData &msg);
    void onReceiveOfflineMessage(const ChatMsgData &msg);
    void onReceiveFile(const ChatMsgData &msg);
    void onReceiveNoVersion(const ChatMsgData &msg);
    void onOfflineCount(int count);
    void onOfflineComplete();
    void onProgress(int matchKey, qulonglong done, qulonglong total, const ChatMsgData &msg);
    void onDownloadComplete(int reason, const ChatMsgData &msg);
    void onWithdrawResult(int reason);
    void onNotice(const ChatMsgData &msg);
    void onDeleteResult(int reason, int type, const QString &msgId);
    void onVoiceDuration(const ChatMsgData &msg, int duration);
    void onFinishedPlaying(const QString &sessionId, int reason);

signals:
    // Something the user should read (a failed withdrawal, a file that is gone, ...).
    void problem(const QString &text);
    // A received message was added to a conversation.
    void messageArrived(const QString &peer, const QString &key);
    // Messages kept while the user was offline have all come in.
    void offlineMessagesArrived(int count);
    void totalUnreadChanged(int total);

    // Requests to the messaging agent.
    void sendTextRequest(const QString &receiver, const QString &text, int type,
                         const QString &userdata);
    void sendMediaRequest(const QString &receiver, const QString &file, int type,
                          const QString &userdata, const QString &json, const QString &originFile);
    void retryMediaRequest(const QString &receiver, const QString &file, int type,
                           const QString &userdata, const QString &json, const QString &originFile,
                           const QString &uuid, const QString &offsetJson, const QString &oldMsgId);
    void downloadRequest(const QString &sender, const QString &receiver, const QString &url,
                         const QString &file, const QString &msgId, int type);
    void cancelRequest(int matchKey);
    void withdrawRequest(const QString &msgId, const QString &chatId, const QString &senderId,
                         int type);
    void deleteRequest(int type, const QString &msgId);
    void readRequest(const QString &msgId);
    void playRequest(const QString &file, const QString &sessionId);
    void stopPlayRequest();
    void durationQuery(const ChatMsgData &msg);

private:
    struct Where
    {
        MessageListModel *model = nullptr;
        const ChatMessage *message = nullptr;
        explicit operator bool() const { return message != nullptr; }
    };

    QString newKey();
    static QString newToken();
    Where locate(const QString &key) const;
    QString keyOfId(const QString &msgId) const { return m_byId.value(msgId); }
    // Applies a change and keeps the indexes and the conversation's preview in step.
    bool change(const QString &key, const std::function<void(ChatMessage &)> &fn);
    void add(const ChatMessage &message);
    void forget(const QString &key);
    void takeIncoming(const ChatMsgData &record, bool offline, bool unsupported = false);
    void reindex(const QString &key, const ChatMessage &before, const ChatMessage &after);
    void refreshUnread(const QString &peer);
    void markSeenIfViewed(const QString &peer);
    void fetchMedia(const QString &key);
    void sendResult(int reason, const ChatMsgData &msg);
    QString transferOwner(int matchKey, const ChatMsgData &msg) const;
    bool sendMediaMessage(const QString &peer, const QString &path, int type, int durationMs);

    QString m_account;
    QString m_viewing;
    ConversationListModel *m_conversations;
    VoiceRecorder *m_recorder;
    QMap<QString, MessageListModel *> m_threads;
    QHash<QString, QString> m_peerOf; // key -> conversation
    QHash<QString, QString> m_byId; // engine id -> key
    QHash<QString, QString> m_byToken; // own token -> key
    QHash<int, QString> m_byTransfer; // transfer key -> key
    QHash<QString, QString> m_downloadByUrl; // address of a running download -> key
    QSet<QString> m_downloadTargets; // files downloads are writing
    QList<QString> m_withdrawing; // keys whose withdrawal answers are due, oldest first
    QHash<QString, QString> m_names;
    QSet<QString> m_groups; // group conversations
    int m_offlineReceived = 0;
    QString m_playing; // key of the voice note playing
    quint64 m_nextKey = 1;
};
