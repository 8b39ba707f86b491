#include "ChatState.h"

#include "ChatFiles.h"
#include "ConversationListModel.h"
#include "MessageListModel.h"
#include "VoiceRecorder.h"

#include <TqEngineText.h>

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>

#include <limits>

namespace {

bool isGroupRecord(const ChatMsgData &r)
{
    return r.sessionType == 1 || r.receiver.startsWith(QLatin1Char('g'));
}

// The conversation a record belongs to: the group, else the other party.
QString conversationOf(const ChatMsgData &r, const QString &account)
{
    if (isGroupRecord(r))
        return r.sessionId.isEmpty() ? r.receiver : r.sessionId;
    if (!account.isEmpty() && r.sender == account)
        return r.receiver.isEmpty() ? r.sessionId : r.receiver;
    return r.sender.isEmpty() ? r.sessionId : r.sender;
}

ChatMessage::Kind kindOf(int type, const ChatMsgData &r)
{
    switch (type) {
    case ChatType::Text:
        return ChatMessage::Kind::Text;
    case ChatType::Voice:
        return ChatMessage::Kind::Voice;
    case ChatType::Picture:
        return ChatMessage::Kind::Picture;
    case ChatType::File:
        return ChatMessage::Kind::File;
    case ChatType::LinkCard:
        return ChatMessage::Kind::LinkCard;
    default:
        break;
    }
    if (!r.fileUrl.isEmpty())
        return ChatMessage::Kind::File;
    return r.msgContent.isEmpty() ? ChatMessage::Kind::Unsupported : ChatMessage::Kind::Text;
}

QString fallbackName(ChatMessage::Kind kind)
{
    switch (kind) {
    case ChatMessage::Kind::Picture:
        return QStringLiteral("picture");
    case ChatMessage::Kind::Voice:
        return QStringLiteral("voice.wav");
    default:
        return QStringLiteral("file");
    }
}

} // namespace

ChatState::ChatState(QObject *parent)
    : QObject(parent)
    , m_conversations(new ConversationListModel(this))
    , m_recorder(new VoiceRecorder(this))
{
    connect(m_conversations, &ConversationListModel::totalUnreadChanged, this,
            &ChatState::totalUnreadChanged);
    connect(
        m_recorder, &VoiceRecorder::recorded, this,
        [this](const QString &peer, const QString &file, int ms) { sendVoice(peer, file, ms); });
}

ChatState::~ChatState() = default;

void ChatState::setAccount(const QString &account)
{
    if (account == m_account)
        return;
    if (!m_account.isEmpty())
        clear();
    m_account = account;
    const QString own = displayName(account);
    for (MessageListModel *model : qAsConst(m_threads))
        model->setOwnName(own);
}

void ChatState::clear()
{
    m_recorder->reset();
    for (MessageListModel *model : qAsConst(m_threads))
        model->clear();
    m_conversations->clear();
    m_peerOf.clear();
    m_byId.clear();
    m_byToken.clear();
    m_byTransfer.clear();
    m_downloadByUrl.clear();
    m_downloadTargets.clear();
    m_withdrawing.clear();
    m_names.clear();
    m_groups.clear();
    m_viewing.clear();
    m_playing.clear();
    m_offlineReceived = 0;
}

MessageListModel *ChatState::messages(const QString &peer)
{
    MessageListModel *&model = m_threads[peer];
    if (!model) {
        model = new MessageListModel(peer, this);
        model->setPeerName(m_names.value(peer));
        model->setOwnName(displayName(m_account));
    }
    return model;
}

QString ChatState::downloadDir() const
{
    return ChatFiles::userDir(m_account, QStringLiteral("Downloads"));
}

QString ChatState::mediaDir() const
{
    return ChatFiles::userDir(m_account, QStringLiteral("Media"));
}

void ChatState::setViewing(const QString &peer)
{
    m_viewing = peer;
    if (peer.isEmpty())
        return;
    open(peer);
    markSeenIfViewed(peer);
}

void ChatState::open(const QString &peer)
{
    if (peer.isEmpty())
        return;
    m_conversations->ensure(peer);
    messages(peer);
}

void ChatState::setDisplayName(const QString &user, const QString &name)
{
    if (user.isEmpty())
        return;
    if (name.isEmpty())
        m_names.remove(user);
    else
        m_names.insert(user, name);
    m_conversations->setDisplayName(user, name);
    if (MessageListModel *model = m_threads.value(user))
        model->setPeerName(name);
    if (user == m_account) {
        for (MessageListModel *model : qAsConst(m_threads))
            model->setOwnName(name);
    }
    for (const QString &group : qAsConst(m_groups)) {
        if (MessageListModel *model = m_threads.value(group))
            model->setSenderName(user, displayName(user));
    }
}

void ChatState::setGroupSession(const QString &peer)
{
    if (peer.isEmpty() || m_groups.contains(peer))
        return;
    m_groups.insert(peer);
    if (MessageListModel *model = m_threads.value(peer)) {
        QSet<QString> senders;
        for (int row = 0; row < model->rowCount(); ++row)
            senders.insert(model->at(row).sender);
        for (const QString &sender : qAsConst(senders))
            model->setSenderName(sender, displayName(sender));
    }
}

QString ChatState::addSystemLine(const QString &peer, const QString &text)
{
    if (peer.isEmpty() || text.isEmpty())
        return QString();
    ChatMessage m;
    m.key = newKey();
    m.peer = peer;
    m.system = true;
    m.seen = true;
    m.kind = ChatMessage::Kind::Text;
    m.text = text;
    m.time = QDateTime::currentDateTime();
    add(m);
    return m.key;
}

QString ChatState::displayName(const QString &user) const
{
    return m_names.value(user, user);
}

// ---- the user's actions ------------------------------------------------------------------

bool ChatState::sendText(const QString &peer, const QString &text)
{
    if (m_account.isEmpty() || peer.isEmpty() || text.trimmed().isEmpty())
        return false;
    if (text.toUtf8().size() > kMaxTextBytes) {
        emit problem(tr("The message is too long to send. Please split it up."));
        return false;
    }
    ChatMessage m;
    m.key = newKey();
    m.token = newToken();
    m.peer = peer;
    m.sender = m_account;
    m.outgoing = true;
    m.type = ChatType::Text;
    m.kind = ChatMessage::Kind::Text;
    m.text = text;
    m.time = QDateTime::currentDateTime();
    m.status = ChatMessage::Status::Pending;
    add(m);
    emit sendTextRequest(peer, text, m.type, m.token);
    return true;
}

bool ChatState::sendFile(const QString &peer, const QString &path)
{
    return sendMediaMessage(peer, path,
                            ChatFiles::isPicture(path) ? ChatType::Picture : ChatType::File, -1);
}

bool ChatState::sendVoice(const QString &peer, const QString &path, int durationMs)
{
    return sendMediaMessage(peer, path, ChatType::Voice, durationMs);
}

bool ChatState::sendMediaMessage(const QString &peer, const QString &path, int type, int durationMs)
{
    if (m_account.isEmpty() || peer.isEmpty())
        return false;
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        emit problem(tr("“%1” cannot be read.").arg(info.fileName()));
        return false;
    }
    ChatMessage m;
    m.key = newKey();
    m.token = newToken();
    m.peer = peer;
    m.sender = m_account;
    m.outgoing = true;
    m.type = type;
    m.kind = kindOf(type, ChatMsgData());
    m.time = QDateTime::currentDateTime();
    m.status = ChatMessage::Status::Pending;
    m.fileName = info.fileName();
    m.localFile = info.absoluteFilePath();
    m.fileSize = info.size();
    m.total = m.fileSize;
    m.transfer = ChatMessage::Transfer::Running;
    m.voiceMs = durationMs;
    add(m);
    emit sendMediaRequest(peer, m.localFile, type, m.token, QString(), m.localFile);
    return true;
}

bool ChatState::retry(const QString &peer, const QString &key)
{
    const Where w = locate(key);
    if (!w || w.model->peer() != peer || !w.message->canRetry())
        return false;
    const ChatMessage m = *w.message;
    if (!m.isMedia()) {
        change(key, [](ChatMessage &c) {
            c.status = ChatMessage::Status::Pending;
            c.reason = 0;
            c.msgId.clear();
        });
        emit sendTextRequest(peer, m.text, m.type, m.token);
        return true;
    }
    if (!QFileInfo(m.localFile).isFile()) {
        emit problem(tr("“%1” is no longer there and cannot be sent again.").arg(m.fileName));
        return false;
    }
    change(key, [](ChatMessage &c) {
        c.status = ChatMessage::Status::Pending;
        c.reason = 0;
        c.transfer = ChatMessage::Transfer::Running;
        c.transferKey = -1;
        c.done = 0;
    });
    if (m.msgId.isEmpty()) {
        // The engine never took it: a new send.
        emit sendMediaRequest(peer, m.localFile, m.type, m.token, m.json, m.localFile);
    } else {
        emit retryMediaRequest(peer, m.localFile, m.type, m.token, m.json, m.localFile,
                               QUuid::createUuid().toString(QUuid::WithoutBraces), QString(),
                               m.msgId);
    }
    return true;
}

bool ChatState::cancelTransfer(const QString &peer, const QString &key)
{
    const Where w = locate(key);
    if (!w || w.model->peer() != peer || !w.message->canCancel())
        return false;
    emit cancelRequest(w.message->transferKey);
    return true;
}

bool ChatState::download(const QString &peer, const QString &key)
{
    const Where w = locate(key);
    if (!w || w.model->peer() != peer || !w.message->canDownload())
        return false;
    const ChatMessage m = *w.message;
    const QString dir = m.kind == ChatMessage::Kind::File ? downloadDir() : mediaDir();
    if (dir.isEmpty()) {
        emit problem(tr("There is no folder to save “%1” in.").arg(m.fileName));
        return false;
    }
    const QString path = ChatFiles::uniquePath(
        dir, ChatFiles::safeName(m.fileName, fallbackName(m.kind)), m_downloadTargets);
    m_downloadTargets.insert(path);
    m_downloadByUrl.insert(m.fileUrl, key);
    change(key, [&](ChatMessage &c) {
        c.transfer = ChatMessage::Transfer::Running;
        c.localFile = path;
        c.done = 0;
        c.total = c.fileSize;
        c.reason = 0;
    });
    emit downloadRequest(m.sender, m_account, m.fileUrl, path, m.msgId, m.type);
    return true;
}

bool ChatState::withdraw(const QString &peer, const QString &key)
{
    const Where w = locate(key);
    if (!w || w.model->peer() != peer || !w.message->canWithdraw())
        return false;
    m_withdrawing.append(key);
    emit withdrawRequest(w.message->msgId, peer, m_account, w.message->type);
    return true;
}

bool ChatState::remove(const QString &peer, const QString &key)
{
    const Where w = locate(key);
    if (!w || w.model->peer() != peer)
        return false;
    // What the server never took is only here.
    if (w.message->msgId.isEmpty() || w.message->status == ChatMessage::Status::Failed) {
        forget(key);
        return true;
    }
    emit deleteRequest(w.message->type, w.message->msgId);
    return true;
}

bool ChatState::togglePlay(const QString &peer, const QString &key)
{
    const Where w = locate(key);
    if (!w || w.model->peer() != peer || w.message->kind != ChatMessage::Kind::Voice
        || !w.message->hasLocalFile() || w.message->withdrawn)
        return false;
    if (w.message->playing) {
        emit stopPlayRequest();
        return true;
    }
    // The engine plays one note at a time; the one playing ends when the next starts.
    if (!m_playing.isEmpty())
        change(m_playing, [](ChatMessage &c) { c.playing = false; });
    const QString file = w.message->localFile;
    change(key, [](ChatMessage &c) { c.playing = true; });
    m_playing = key;
    emit playRequest(file, key);
    return true;
}

bool ChatState::startRecording(const QString &peer)
{
    if (m_account.isEmpty() || peer.isEmpty())
        return false;
    const QString dir = mediaDir();
    if (dir.isEmpty())
        return false;
    return m_recorder->start(peer,
                             dir
                                 + QStringLiteral("voice-%1.wav")
                                       .arg(QUuid::createUuid().toString(QUuid::WithoutBraces)));
}

// ---- records -------------------------------------------------------------------------------

QDateTime ChatState::parseTime(const QString &text)
{
    const QString t = text.trimmed();
    bool number = false;
    const qint64 ms = t.toLongLong(&number);
    if (number && ms > 0)
        return QDateTime::fromMSecsSinceEpoch(ms);
    QDateTime time = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (!time.isValid())
        time = QDateTime::fromString(t, Qt::ISODate);
    return time;
}

ChatMessage ChatState::fromRecord(const ChatMsgData &r, const QString &account)
{
    ChatMessage m;
    m.msgId = r.msgId;
    m.sender = r.sender;
    m.outgoing = !account.isEmpty() && r.sender == account;
    m.peer = conversationOf(r, account);
    m.type = r.msgType;
    m.kind = kindOf(r.msgType, r);
    m.text = r.msgContent;
    m.time = parseTime(r.dateCreated);
    if (!m.time.isValid())
        m.time = QDateTime::currentDateTime();
    m.status = m.outgoing ? ChatMessage::Status::Sent : ChatMessage::Status::Received;
    m.fileName = ChatFiles::safeName(r.fileName, QString());
    m.fileUrl = r.fileUrl;
    m.fileSize = r.fileSize > 0 ? r.fileSize : qMax<qint64>(0, r.originFileSize);
    m.total = m.fileSize;
    if (m.kind == ChatMessage::Kind::LinkCard) {
        const QJsonObject card = QJsonDocument::fromJson(r.userData.toUtf8()).object();
        const auto field = [&card](const char *name, const QString &fallback) {
            const QString value = card.value(QLatin1String(name)).toString();
            return value.isEmpty() ? fallback : value;
        };
        m.linkTitle = field("title", r.title);
        m.linkDesc = field("desc", r.desc);
        m.linkUrl = field("url", r.url);
        m.linkImage = field("imgPath", r.imgPath);
    }
    return m;
}

// ---- the agent's answers -------------------------------------------------------------------

void ChatState::onPreSendText(int ret, const ChatMsgData &msg)
{
    onPreSendMedia(ret, msg);
}

void ChatState::onPreSendMedia(int ret, const ChatMsgData &msg)
{
    const QString key = m_byToken.value(msg.userData);
    if (key.isEmpty())
        return; // another window's message
    change(key, [&](ChatMessage &c) {
        if (!msg.msgId.isEmpty())
            c.msgId = msg.msgId;
        if (ret == 0 || c.status != ChatMessage::Status::Pending)
            return;
        c.status = ChatMessage::Status::Failed;
        c.reason = ret;
        if (c.isMedia())
            c.transfer = ChatMessage::Transfer::Failed;
    });
}

void ChatState::onSendText(int reason, const ChatMsgData &msg)
{
    sendResult(reason, msg);
}

void ChatState::onSendMedia(int reason, const ChatMsgData &msg)
{
    sendResult(reason, msg);
}

void ChatState::sendResult(int reason, const ChatMsgData &msg)
{
    QString key = m_byToken.value(msg.userData);
    if (key.isEmpty())
        key = keyOfId(msg.msgId);
    const Where w = locate(key);
    if (!w || !w.message->outgoing)
        return;
    change(key, [&](ChatMessage &c) {
        if (!msg.msgId.isEmpty())
            c.msgId = msg.msgId;
        c.transferKey = -1;
        if (reason == ChatReason::Success) {
            c.status = ChatMessage::Status::Sent;
            c.reason = 0;
            if (c.isMedia()) {
                c.transfer = ChatMessage::Transfer::Done;
                c.done = c.total;
            }
        } else {
            c.status = ChatMessage::Status::Failed;
            c.reason = reason;
            if (c.isMedia())
                c.transfer = ChatMessage::Transfer::Failed;
        }
    });
}

void ChatState::onRetryId(const QString &oldMsgId, const QString &newMsgId)
{
    const QString key = keyOfId(oldMsgId);
    if (key.isEmpty() || oldMsgId == newMsgId)
        return;
    change(key, [&](ChatMessage &c) {
        if (!newMsgId.isEmpty()) {
            c.msgId = newMsgId;
            return;
        }
        // No new id: the engine refused the retry.
        c.status = ChatMessage::Status::Failed;
        c.transfer = ChatMessage::Transfer::Failed;
        c.transferKey = -1;
    });
}

void ChatState::onReceiveMessage(const ChatMsgData &msg)
{
    takeIncoming(msg, false);
}

void ChatState::onReceiveOfflineMessage(const ChatMsgData &msg)
{
    takeIncoming(msg, true);
}

void ChatState::onReceiveFile(const ChatMsgData &msg)
{
    takeIncoming(msg, false);
}

void ChatState::onReceiveNoVersion(const ChatMsgData &msg)
{
    takeIncoming(msg, false, true);
}

void ChatState::takeIncoming(const ChatMsgData &record, bool offline, bool unsupported)
{
    // Conference messages belong to the conference windows.
    if (record.msgType == ChatType::Conference)
        return;
    if (record.msgType == ChatType::WithdrawNotice || record.msgType == ChatType::ReadNotice) {
        onNotice(record);
        return;
    }
    if (!record.msgId.isEmpty() && m_byId.contains(record.msgId))
        return; // delivered twice, or an own message coming back
    ChatMessage m = fromRecord(record, m_account);
    if (m.peer.isEmpty())
        return;
    // The engine's word, not the id's first letter: a person's account may begin with "g".
    if (record.sessionType == 1)
        setGroupSession(m.peer);
    if (unsupported)
        m.kind = ChatMessage::Kind::Unsupported;
    m.key = newKey();
    add(m);
    if (offline)
        ++m_offlineReceived;
    if (!m.outgoing) {
        markSeenIfViewed(m.peer);
        // Pictures and voice notes are small and shown in place: fetched at once.
        if (!m_account.isEmpty()
            && (m.kind == ChatMessage::Kind::Picture || m.kind == ChatMessage::Kind::Voice))
            download(m.peer, m.key);
        emit messageArrived(m.peer, m.key);
    }
}

void ChatState::onOfflineCount(int)
{
    m_offlineReceived = 0;
}

void ChatState::onOfflineComplete()
{
    const int count = m_offlineReceived;
    m_offlineReceived = 0;
    if (count > 0)
        emit offlineMessagesArrived(count);
}

QString ChatState::transferOwner(int matchKey, const ChatMsgData &msg) const
{
    // The first message with a transfer on its way that the report names: by the transfer's
    // key once known, by id, by an own message's token, by the address of a download.
    const QString candidates[] = {
        matchKey >= 0 ? m_byTransfer.value(matchKey) : QString(),
        msg.msgId.isEmpty() ? QString() : keyOfId(msg.msgId),
        msg.userData.isEmpty() ? QString() : m_byToken.value(msg.userData),
        msg.fileUrl.isEmpty() ? QString() : m_downloadByUrl.value(msg.fileUrl),
    };
    for (const QString &key : candidates) {
        const Where w = locate(key);
        if (w && w.message->transfer == ChatMessage::Transfer::Running)
            return key;
    }
    return QString();
}

void ChatState::onProgress(int matchKey, qulonglong done, qulonglong total, const ChatMsgData &msg)
{
    const QString key = transferOwner(matchKey, msg);
    if (key.isEmpty())
        return;
    constexpr qulonglong most = qulonglong(std::numeric_limits<qint64>::max());
    change(key, [&](ChatMessage &c) {
        c.transferKey = matchKey;
        c.total = total > 0 ? qint64(qMin(total, most)) : c.fileSize;
        c.done = qint64(qMin<qulonglong>(done, qulonglong(c.total)));
    });
}

void ChatState::onDownloadComplete(int reason, const ChatMsgData &msg)
{
    const QString key = transferOwner(-1, msg);
    const Where w = locate(key);
    if (!w || w.message->outgoing)
        return;
    const ChatMessage m = *w.message;
    m_downloadTargets.remove(m.localFile);
    m_downloadByUrl.remove(m.fileUrl);
    change(key, [&](ChatMessage &c) {
        c.transferKey = -1;
        if (reason == ChatReason::Success && QFileInfo(c.localFile).isFile()) {
            c.transfer = ChatMessage::Transfer::Done;
            c.done = c.total;
            return;
        }
        c.transfer = reason == ChatReason::Cancelled ? ChatMessage::Transfer::None
                                                     : ChatMessage::Transfer::Failed;
        c.reason = reason;
        c.localFile.clear();
        c.done = 0;
    });
    if (reason == ChatReason::Success && m.kind == ChatMessage::Kind::Voice) {
        ChatMsgData query;
        query.msgId = key;
        query.fileName = m.localFile;
        query.sessionId = durationSession();
        emit durationQuery(query);
    }
    if (reason != ChatReason::Success && reason != ChatReason::Cancelled
        && m.kind == ChatMessage::Kind::File) {
        emit problem(tr("“%1” was not downloaded: %2")
                         .arg(m.fileName.isEmpty() ? fallbackName(m.kind) : m.fileName,
                              TqEngineText::error(reason)));
    }
}

void ChatState::onWithdrawResult(int reason)
{
    if (m_withdrawing.isEmpty())
        return;
    const QString key = m_withdrawing.takeFirst();
    if (reason == ChatReason::Success) {
        change(key, [](ChatMessage &c) { c.withdrawn = true; });
        return;
    }
    if (locate(key))
        emit problem(tr("The message was not withdrawn: %1").arg(TqEngineText::error(reason)));
}

void ChatState::onNotice(const ChatMsgData &msg)
{
    const QString key = keyOfId(msg.msgId);
    const Where w = locate(key);
    if (!w)
        return;
    const ChatMessage m = *w.message;
    if (msg.msgType == ChatType::WithdrawNotice) {
        // Only the sender takes a message back.
        if (!msg.sender.isEmpty() && msg.sender != m.sender)
            return;
        if (m.canCancel())
            emit cancelRequest(m.transferKey);
        if (m.playing)
            emit stopPlayRequest();
        change(key, [](ChatMessage &c) {
            c.withdrawn = true;
            c.playing = false;
        });
    } else if (msg.msgType == ChatType::ReadNotice) {
        // The receipt comes from the one who read it: the peer of a message the user sent.
        if (!m.outgoing || (!msg.sender.isEmpty() && msg.sender != m.peer))
            return;
        change(key, [](ChatMessage &c) { c.readByPeer = true; });
    }
}

void ChatState::onDeleteResult(int reason, int, const QString &msgId)
{
    const QString key = keyOfId(msgId);
    if (key.isEmpty())
        return;
    if (reason == ChatReason::Success)
        forget(key);
    else
        emit problem(tr("The message was not deleted: %1").arg(TqEngineText::error(reason)));
}

void ChatState::onVoiceDuration(const ChatMsgData &msg, int duration)
{
    if (msg.sessionId != durationSession())
        return;
    change(msg.msgId, [duration](ChatMessage &c) { c.voiceMs = duration >= 0 ? duration : -1; });
}

void ChatState::onFinishedPlaying(const QString &sessionId, int)
{
    const Where w = locate(sessionId);
    if (!w || !w.message->playing)
        return;
    change(sessionId, [](ChatMessage &c) { c.playing = false; });
    if (m_playing == sessionId)
        m_playing.clear();
}

// ---- bookkeeping -----------------------------------------------------------------------------

QString ChatState::newKey()
{
    return QStringLiteral("m%1").arg(m_nextKey++);
}

QString ChatState::newToken()
{
    return QStringLiteral("tqc-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

ChatState::Where ChatState::locate(const QString &key) const
{
    Where w;
    if (key.isEmpty())
        return w;
    w.model = m_threads.value(m_peerOf.value(key));
    w.message = w.model ? w.model->find(key) : nullptr;
    return w;
}

void ChatState::add(const ChatMessage &given)
{
    ChatMessage message = given;
    if (!message.outgoing && !message.system && m_groups.contains(message.peer))
        message.senderName = displayName(message.sender);
    open(message.peer);
    MessageListModel *model = messages(message.peer);
    model->append(message);
    m_peerOf.insert(message.key, message.peer);
    reindex(message.key, ChatMessage(), message);
    m_conversations->messageAdded(message.peer, message);
    if (message.isUnread())
        refreshUnread(message.peer);
}

bool ChatState::change(const QString &key, const std::function<void(ChatMessage &)> &fn)
{
    const Where w = locate(key);
    if (!w)
        return false;
    const ChatMessage before = *w.message;
    w.model->update(key, fn);
    const ChatMessage &after = *w.model->find(key);
    reindex(key, before, after);
    if (w.model->rowOf(key) == w.model->rowCount() - 1)
        m_conversations->setLast(before.peer, &after);
    if (before.isUnread() != after.isUnread())
        refreshUnread(before.peer);
    return true;
}

void ChatState::reindex(const QString &key, const ChatMessage &before, const ChatMessage &after)
{
    if (before.msgId != after.msgId) {
        if (!before.msgId.isEmpty() && m_byId.value(before.msgId) == key)
            m_byId.remove(before.msgId);
        if (!after.msgId.isEmpty())
            m_byId.insert(after.msgId, key);
    }
    if (before.token != after.token) {
        if (!before.token.isEmpty() && m_byToken.value(before.token) == key)
            m_byToken.remove(before.token);
        if (!after.token.isEmpty() && after.outgoing)
            m_byToken.insert(after.token, key);
    }
    if (before.transferKey != after.transferKey) {
        if (before.transferKey >= 0 && m_byTransfer.value(before.transferKey) == key)
            m_byTransfer.remove(before.transferKey);
        if (after.transferKey >= 0)
            m_byTransfer.insert(after.transferKey, key);
    }
}

void ChatState::forget(const QString &key)
{
    const Where w = locate(key);
    if (!w)
        return;
    const ChatMessage m = *w.message;
    reindex(key, m, ChatMessage());
    m_downloadTargets.remove(m.localFile);
    m_downloadByUrl.remove(m.fileUrl);
    m_withdrawing.removeAll(key);
    if (m_playing == key)
        m_playing.clear();
    w.model->remove(key);
    m_peerOf.remove(key);
    const int rows = w.model->rowCount();
    m_conversations->setLast(m.peer, rows > 0 ? &w.model->at(rows - 1) : nullptr);
    refreshUnread(m.peer);
}

void ChatState::refreshUnread(const QString &peer)
{
    if (MessageListModel *model = m_threads.value(peer))
        m_conversations->setUnread(peer, model->unreadCount());
}

void ChatState::markSeenIfViewed(const QString &peer)
{
    if (peer.isEmpty() || peer != m_viewing)
        return;
    MessageListModel *model = m_threads.value(peer);
    if (!model)
        return;
    for (const QString &id : model->markAllSeen())
        emit readRequest(id);
    refreshUnread(peer);
}
