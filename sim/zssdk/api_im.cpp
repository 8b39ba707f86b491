// Messages: sending and receiving, file transfers, stored messages, top contacts, read
// receipts and voice notes.

#include "Engine.h"
#include "MessageHooks.h"

#include <Utf8Field.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <thread>

using namespace zssim;

namespace {

using Message = MessageModel::Message;

QString text(const char *utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

template<std::size_t N> void put(char (&field)[N], const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    tq::copyUtf8Field(field, N, utf8.constData(), std::size_t(utf8.size()));
}

bool isGroup(const QString &id)
{
    return id.startsWith(QLatin1Char('g'));
}

QString now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

// Ids, date and conversation of a message the server takes in; `me` is the user logged in.
void complete(MessageModel &model, Message &m, const QString &me)
{
    if (m.msgId.isEmpty())
        m.msgId = QStringLiteral("msg-%1").arg(model.nextMessage++);
    if (m.dateCreated.isEmpty())
        m.dateCreated = now();
    if (m.receiver.isEmpty())
        m.receiver = me;
    if (m.sessionId.isEmpty())
        m.sessionId = isGroup(m.receiver) || m.sender == me ? m.receiver : m.sender;
}

// 200, or 404 for an unknown receiver or group; a group takes messages from its members
// only (403), and not from a muted one (403).
int sendReason(ServerModel &s, const QString &receiver)
{
    if (!isGroup(receiver)) {
        const bool known = s.accounts.isEmpty() || s.accounts.contains(receiver)
            || s.contactsOf(s.currentUser).contains(receiver);
        return known ? ZS_REASON_SUCCESS : ZS_REASON_NOT_FOUND;
    }
    const GroupModel::Group *group = s.groups.find(receiver);
    if (!group)
        return ZS_REASON_NOT_FOUND;
    const GroupModel::Member *me = group->member(s.currentUser);
    return me && !me->muted ? ZS_REASON_SUCCESS : ZS_REASON_FORBIDDEN;
}

// Who receives a message: the account, or the group's other members.
QStringList receiversOf(ServerModel &s, const Message &sent)
{
    if (!isGroup(sent.receiver))
        return {sent.receiver};
    const GroupModel::Group *group = s.groups.find(sent.receiver);
    QStringList to = group ? group->accounts() : QStringList();
    to.removeAll(sent.sender);
    return to;
}

// A muted member reads the group but does not answer in it.
bool mayReply(ServerModel &s, const Message &sent, const QString &who)
{
    const GroupModel::Group *group
        = isGroup(sent.receiver) ? s.groups.find(sent.receiver) : nullptr;
    const GroupModel::Member *member = group ? group->member(who) : nullptr;
    return !member || !member->muted;
}

// The contacts' side of a message the user sent: it reaches the receiver (each member of a
// group), and the echo contact answers with a copy of it, in the group when it was a group's.
std::optional<Message> deliverLocked(ServerModel &s, const Message &sent)
{
    MessageModel &model = s.messages;
    model.history.append(sent);
    const QStringList receivers = receiversOf(s, sent);
    for (const QString &receiver : receivers)
        model.inbox[receiver].append(sent);
    if (model.echoContact.isEmpty() || !receivers.contains(model.echoContact)
        || !mayReply(s, sent, model.echoContact))
        return std::nullopt;
    Message reply = sent;
    reply.msgId.clear();
    reply.dateCreated.clear();
    reply.sessionId.clear();
    reply.sender = model.echoContact;
    reply.receiver = isGroup(sent.receiver) ? sent.receiver : s.currentUser;
    reply.fileName = QFileInfo(sent.fileName).fileName();
    complete(model, reply, s.currentUser);
    model.history.append(reply);
    return reply;
}

// A contact's notice about a message of the user's: withdrawn (25) or read (26).
Message noticeLocked(const ServerModel &s, int type, const QString &from, const QString &msgId)
{
    Message notice;
    notice.msgType = type;
    notice.msgId = msgId;
    notice.sender = from;
    notice.receiver = s.currentUser;
    notice.sessionId = from;
    notice.dateCreated = now();
    return notice;
}

// The echo contact's read notice for a message it received, if it sends one.
std::optional<Message> readNoticeLocked(const ServerModel &s, const Message &sent)
{
    if (!s.messages.echoSendsReadNotice || s.messages.echoContact.isEmpty()
        || sent.receiver != s.messages.echoContact)
        return std::nullopt;
    return noticeLocked(s, 26, s.messages.echoContact, sent.msgId);
}

// ---- what callbacks receive: engine memory, scribbled once the callback returns ---------------

using Records = std::shared_ptr<std::vector<ZS_MessageInfo>>;

Records recordOf(const Message &m)
{
    std::vector<ZS_MessageInfo> records(1); // zero-filled
    fillMessageRecord(records[0], m);
    return callbackRecords(std::move(records));
}

std::shared_ptr<std::vector<char>> callbackText(const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    std::vector<char> bytes(utf8.begin(), utf8.end());
    bytes.push_back('\0');
    return callbackRecords(std::move(bytes));
}

std::function<void()> receive(Inbound entry, const Message &m)
{
    Records records = recordOf(m);
    if (entry == Inbound::OfflineMessage)
        (*records)[0].isReceiveOfflineMsg = 1;
    return [entry, records] {
        const ZS_MessageInfo *r = records->data();
        switch (entry) {
        case Inbound::Message:
            invoke(&ZS_MessageCallBack::onReceiveMessage, r);
            break;
        case Inbound::OfflineMessage:
            invoke(&ZS_MessageCallBack::onReceiveOfflineMessage, r);
            break;
        case Inbound::File:
            invoke(&ZS_MessageCallBack::onReceiveFile, r);
            break;
        case Inbound::NoVersion:
            invoke(&ZS_MessageCallBack::onReceiveNoVersionMessage, r);
            break;
        case Inbound::OperateNotice:
            invoke(&ZS_MessageCallBack::onReceiveOpreateNoticeMessage, r);
            break;
        case Inbound::ServerUndefined:
            invoke(&ZS_MessageCallBack::onReceiveServerUndefineMessage, r);
            break;
        }
        scribble(*records);
    };
}

std::function<void()> finishedPlaying(const QString &sessionId, int reason)
{
    return [session = callbackText(sessionId), reason] {
        invoke(&ZS_MessageCallBack::onFinishedPlaying, static_cast<const char *>(session->data()),
               reason);
        scribble(*session);
    };
}

void writeMessageId(char *msgIdBuf, const QString &id, bool overlong)
{
    if (!msgIdBuf)
        return;
    if (overlong) {
        std::memset(msgIdBuf, '7', ZS_MSG_ID_BUFFER_SIZE); // a broken engine: no NUL
        return;
    }
    const QByteArray utf8 = id.toUtf8();
    tq::copyUtf8Field(msgIdBuf, ZS_MSG_ID_BUFFER_SIZE, utf8.constData(), std::size_t(utf8.size()));
}

// ---- transfers --------------------------------------------------------------------------------

struct FileCloser
{
    void operator()(std::FILE *f) const
    {
        if (f)
            std::fclose(f);
    }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openFile(const QString &path, const char *mode)
{
    return File(std::fopen(QFile::encodeName(path).constData(), mode));
}

struct Transfer
{
    unsigned int key = 0;
    Message msg;
    File file;
    qint64 total = 0;
    qint64 done = 0;
    QByteArray bytes; // upload: what was read; download: what is written
};
using TransferPtr = std::shared_ptr<Transfer>;

struct StepSettings
{
    bool cancelled = true;
    qint64 chunk = 1;
};

StepSettings stepSettings(unsigned int key)
{
    StepSettings settings;
    Control::withServer([&](ServerModel &s) {
        const auto it = s.messages.transfers.constFind(key);
        settings.cancelled = it == s.messages.transfers.constEnd() || it->cancelled;
        settings.chunk = qMax<qint64>(1, s.messages.chunkSize);
    });
    return settings;
}

// The transfer's next step on the engine's thread, or parked while transfers are held.
void next(unsigned int key, std::function<void()> step)
{
    bool parked = false;
    int delayMs = 0;
    Control::withServer([&](ServerModel &s) {
        const auto it = s.messages.transfers.find(key);
        if (it != s.messages.transfers.end() && s.messages.holdTransfers && !it->cancelled) {
            it->parked = step;
            parked = true;
        }
        delayMs = s.messages.stepDelayMs;
    });
    if (parked)
        return;
    if (delayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    Control::post(std::move(step));
}

void progress(const Transfer &t)
{
    const Records records = recordOf(t.msg);
    invoke(&ZS_MessageCallBack::onRateOfProgressAttach, t.key,
           static_cast<unsigned long long>(t.done), static_cast<unsigned long long>(t.total),
           static_cast<const ZS_MessageInfo *>(records->data()));
    scribble(*records);
}

void finishUpload(const TransferPtr &t, int reason, const char *status)
{
    t->file.reset();
    std::optional<Message> reply;
    std::optional<Message> read;
    Control::withServer([&](ServerModel &s) {
        s.messages.transfers.remove(t->key);
        if (reason == ZS_REASON_SUCCESS) {
            s.messages.files.insert(t->msg.fileUrl, t->bytes);
            reply = deliverLocked(s, t->msg);
            read = readNoticeLocked(s, t->msg);
        }
    });
    const Records records = recordOf(t->msg);
    const auto statusText = callbackText(QString::fromLatin1(status));
    invoke(&ZS_MessageCallBack::onSendMediaFile, t->key, reason,
           static_cast<const ZS_MessageInfo *>(records->data()),
           static_cast<const char *>(statusText->data()));
    scribble(*records);
    scribble(*statusText);
    if (read)
        receive(Inbound::OperateNotice, *read)();
    if (reply)
        receive(Inbound::File, *reply)();
}

void uploadStep(const TransferPtr &t)
{
    const StepSettings settings = stepSettings(t->key);
    if (settings.cancelled) {
        finishUpload(t, ZS_REASON_CANCELLED, "cancelled");
        return;
    }
    QByteArray part(int(qMin(settings.chunk, t->total - t->done)), Qt::Uninitialized);
    if (!part.isEmpty()
        && std::fread(part.data(), 1, std::size_t(part.size()), t->file.get())
            != std::size_t(part.size())) {
        finishUpload(t, ZS_REASON_SERVER_ERROR, "read error");
        return;
    }
    t->bytes += part;
    t->done += part.size();
    progress(*t);
    if (t->done >= t->total) {
        finishUpload(t, ZS_REASON_SUCCESS, "success");
        return;
    }
    next(t->key, [t] { uploadStep(t); });
}

void finishDownload(const TransferPtr &t, int reason)
{
    t->file.reset();
    if (reason != ZS_REASON_SUCCESS && t->done > 0)
        QFile::remove(t->msg.fileName); // no half file stays behind
    Control::withServer([&](ServerModel &s) { s.messages.transfers.remove(t->key); });
    const Records records = recordOf(t->msg);
    invoke(&ZS_MessageCallBack::onDownloadFileComplete, t->key, reason,
           static_cast<const ZS_MessageInfo *>(records->data()));
    scribble(*records);
}

void downloadStep(const TransferPtr &t)
{
    const StepSettings settings = stepSettings(t->key);
    if (settings.cancelled) {
        finishDownload(t, ZS_REASON_CANCELLED);
        return;
    }
    if (!t->file) {
        t->file = openFile(t->msg.fileName, "wb");
        if (!t->file) {
            finishDownload(t, ZS_REASON_SERVER_ERROR);
            return;
        }
    }
    const int n = int(qMin(settings.chunk, t->total - t->done));
    if (n > 0
        && std::fwrite(t->bytes.constData() + t->done, 1, std::size_t(n), t->file.get())
            != std::size_t(n)) {
        finishDownload(t, ZS_REASON_SERVER_ERROR);
        return;
    }
    t->done += n;
    if (t->done >= t->total && std::fflush(t->file.get()) != 0) {
        finishDownload(t, ZS_REASON_SERVER_ERROR);
        return;
    }
    progress(*t);
    if (t->done >= t->total) {
        finishDownload(t, ZS_REASON_SUCCESS);
        return;
    }
    next(t->key, [t] { downloadStep(t); });
}

// A link card's fields, from the JSON a media send of type 8 passes.
void readLinkCard(Message &m, const char *jsonString)
{
    const QJsonObject card
        = QJsonDocument::fromJson(QByteArray(jsonString ? jsonString : "")).object();
    m.title = card.value(QLatin1String("title")).toString();
    m.imgPath = card.value(QLatin1String("imgPath")).toString();
    m.desc = card.value(QLatin1String("desc")).toString();
    m.url = card.value(QLatin1String("url")).toString();
}

int sendMedia(Request &call, unsigned int *matchKey, const char *receiver, const char *fileName,
              int type, const char *userdata, char *msgIdBuf, const char *jsonString)
{
    if (!call.accepted())
        return call.result();
    if (!receiver || !*receiver || !fileName || !*fileName)
        return ZS_ERR_INVALID_ARGUMENT;
    auto t = std::make_shared<Transfer>();
    t->file = openFile(text(fileName), "rb");
    if (!t->file)
        return ZS_ERR_NOT_FOUND;
    t->total = qMax<qint64>(0, QFileInfo(text(fileName)).size());
    t->key = call.issueKey(matchKey);

    Message &m = t->msg;
    m.msgType = type;
    m.receiver = text(receiver);
    m.fileName = text(fileName);
    m.fileSize = t->total;
    m.userData = text(userdata);
    if (type == 8)
        readLinkCard(m, jsonString);
    bool overlong = false;
    Control::withServer([&](ServerModel &s) {
        m.sender = s.currentUser;
        complete(s.messages, m, s.currentUser);
        m.fileUrl = QStringLiteral("sim://files/%1/%2")
                        .arg(s.messages.nextFile++)
                        .arg(QFileInfo(m.fileName).fileName());
        s.messages.transfers.insert(t->key, MessageModel::Transfer{true, false, nullptr});
        overlong = s.messages.overlongMessageId;
    });
    writeMessageId(msgIdBuf, m.msgId, overlong);
    call.answer([t] { uploadStep(t); });
    return ZS_OK;
}

// ---- voice notes --------------------------------------------------------------------------

constexpr int kVoiceRate = 8000; // samples per second, mono, 16 bits
constexpr double kPi = 3.14159265358979323846;

// The length of a PCM WAV file in milliseconds.
int wavDuration(const QString &path, int &ms)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return ZS_ERR_NOT_FOUND;
    const QByteArray riff = file.read(12);
    if (riff.size() != 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return ZS_ERR_INVALID_ARGUMENT;
    quint32 byteRate = 0;
    qint64 dataBytes = -1;
    while (dataBytes < 0 || byteRate == 0) {
        const QByteArray chunk = file.read(8);
        if (chunk.size() != 8)
            return ZS_ERR_INVALID_ARGUMENT;
        const quint32 size = qFromLittleEndian<quint32>(chunk.constData() + 4);
        const qint64 body = file.pos();
        if (chunk.startsWith("fmt ")) {
            const QByteArray fmt = file.read(16);
            if (fmt.size() != 16)
                return ZS_ERR_INVALID_ARGUMENT;
            byteRate = qFromLittleEndian<quint32>(fmt.constData() + 8);
        } else if (chunk.startsWith("data")) {
            dataBytes = qMin<qint64>(size, file.size() - body);
        }
        if (!file.seek(body + qint64(size) + (size & 1)) && (dataBytes < 0 || byteRate == 0))
            return ZS_ERR_INVALID_ARGUMENT;
    }
    ms = int(qMin<qint64>(dataBytes * 1000 / byteRate, std::numeric_limits<int>::max()));
    return ZS_OK;
}

} // namespace

// ---- control ----------------------------------------------------------------------------------

namespace zssim {

void fillMessageRecord(ZS_MessageInfo &r, const MessageModel::Message &m)
{
    r.msgType = m.msgType;
    put(r.msgId, m.msgId);
    put(r.dateCreated, m.dateCreated);
    put(r.sender, m.sender);
    put(r.receiver, m.receiver);
    put(r.msgContent, m.msgContent);
    put(r.userData, m.userData);
    put(r.fileName, m.fileName);
    put(r.sessionId, m.sessionId);
    put(r.fileUrl, m.fileUrl);
    r.sessionType = isGroup(m.receiver) ? 1 : 0;
    r.fileSize = m.fileSize;
    r.originFileSize = m.fileSize;
    put(r.title, m.title);
    put(r.imgPath, m.imgPath);
    put(r.desc, m.desc);
    put(r.url, m.url);
}

bool writeVoiceNote(const QString &path, int ms)
{
    const quint32 samples = quint32(qMax(0, ms)) * kVoiceRate / 1000;
    const quint32 dataBytes = samples * 2;
    QByteArray wav;
    wav.reserve(44 + int(dataBytes));
    const auto le = [&wav](quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            wav.append(char((value >> (8 * i)) & 0xFF));
    };
    wav.append("RIFF", 4);
    le(36 + dataBytes, 4);
    wav.append("WAVEfmt ", 8);
    le(16, 4);
    le(1, 2); // PCM
    le(1, 2); // mono
    le(kVoiceRate, 4);
    le(kVoiceRate * 2, 4);
    le(2, 2);
    le(16, 2);
    wav.append("data", 4);
    le(dataBytes, 4);
    // A 440 Hz tone.
    for (quint32 i = 0; i < samples; ++i) {
        const double v = 0.3 * std::sin(2.0 * kPi * 440.0 * double(i) / kVoiceRate);
        le(quint16(qint16(std::lround(v * 32767.0))), 2);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(wav) == wav.size();
}

QString injectMessage(Inbound entry, MessageModel::Message message)
{
    Control::withServer([&](ServerModel &s) {
        complete(s.messages, message, s.currentUser);
        s.messages.history.append(message);
    });
    Control::post(receive(entry, message));
    return message.msgId;
}

QString addOfflineMessage(const QString &user, MessageModel::Message message)
{
    Control::withServer([&](ServerModel &s) {
        complete(s.messages, message, user);
        s.messages.offline[user].append(message);
    });
    return message.msgId;
}

void injectWithdrawal(const QString &from, const QString &msgId)
{
    Message notice;
    Control::withServer([&](ServerModel &s) {
        for (Message &m : s.messages.history)
            if (m.msgId == msgId && m.sender == from)
                m.withdrawn = true;
        notice = noticeLocked(s, 25, from, msgId);
    });
    Control::post(receive(Inbound::OperateNotice, notice));
}

void injectReadReceipt(const QString &from, const QString &msgId)
{
    Message notice;
    Control::withServer([&](ServerModel &s) { notice = noticeLocked(s, 26, from, msgId); });
    Control::post(receive(Inbound::OperateNotice, notice));
}

bool injectRecordingAmplitude(double amplitude)
{
    QString session;
    bool recording = false;
    Control::withServer([&](ServerModel &s) {
        recording = s.messages.voice.recording;
        session = s.messages.voice.sessionId;
    });
    if (!recording)
        return false;
    Control::post([amplitude, id = callbackText(session)] {
        invoke(&ZS_MessageCallBack::onRecordingAmplitude, amplitude,
               static_cast<const char *>(id->data()));
        scribble(*id);
    });
    return true;
}

bool injectRecordingTimeOut(int ms)
{
    QString session;
    bool recording = false;
    Control::withServer([&](ServerModel &s) {
        MessageModel::Voice &voice = s.messages.voice;
        recording = voice.recording;
        if (!recording)
            return;
        voice.recording = false;
        session = voice.sessionId;
        writeVoiceNote(voice.file, ms);
    });
    if (!recording)
        return false;
    Control::post([ms, id = callbackText(session)] {
        invoke(&ZS_MessageCallBack::onRecordingTimeOut, ms, static_cast<const char *>(id->data()));
        scribble(*id);
    });
    return true;
}

bool finishPlaying(int reason)
{
    QString session;
    bool playing = false;
    Control::withServer([&](ServerModel &s) {
        playing = s.messages.voice.playing;
        session = s.messages.voice.playingSession;
        s.messages.voice.playing = false;
    });
    if (playing)
        Control::post(finishedPlaying(session, reason));
    return playing;
}

void releaseTransfers()
{
    std::vector<std::function<void()>> steps;
    Control::withServer([&](ServerModel &s) {
        for (MessageModel::Transfer &t : s.messages.transfers) {
            if (t.parked)
                steps.push_back(std::move(t.parked));
            t.parked = nullptr;
        }
    });
    for (auto &step : steps)
        Control::post(std::move(step));
}

void setNextMatchKey(unsigned int key)
{
    Engine::get().nextKey.store(key);
}

void answerOfflineMessages(Request &call, const QString &user)
{
    QList<Message> pending;
    Control::withServer([&](ServerModel &s) {
        pending = s.messages.offline.take(user);
        s.messages.history.append(pending);
    });
    call.answer(
        [count = pending.size()] { invoke(&ZS_MessageCallBack::onOfflineMessageCount, count); });
    for (const Message &m : qAsConst(pending))
        call.answer(receive(Inbound::OfflineMessage, m));
    call.answer([] { invoke(&ZS_MessageCallBack::onOfflineMessageComplete); });
}

} // namespace zssim

// ---- the engine's functions -------------------------------------------------------------------

extern "C" {

int SendTextMessageEX(unsigned int *matchKey, const char *receiver, const char *message, int type,
                      const char *userdata, char *msgIdBuf, const char *jsonString)
{
    Request call("SendTextMessageEX");
    call.text(receiver).text(message).arg(type).text(userdata).text(jsonString);
    if (!call.accepted())
        return call.result();
    if (!receiver || !*receiver)
        return ZS_ERR_INVALID_ARGUMENT;
    const unsigned int key = call.issueKey(matchKey);
    Message m;
    m.msgType = type;
    m.receiver = text(receiver);
    m.msgContent = text(message);
    m.userData = text(userdata);
    int reason = ZS_REASON_SUCCESS;
    bool overlong = false;
    std::optional<Message> reply;
    std::optional<Message> read;
    Control::withServer([&](ServerModel &s) {
        m.sender = s.currentUser;
        complete(s.messages, m, s.currentUser);
        overlong = s.messages.overlongMessageId;
        reason = s.messages.sendTextReason != 0 ? s.messages.sendTextReason
                                                : sendReason(s, m.receiver);
        if (reason == ZS_REASON_SUCCESS) {
            reply = deliverLocked(s, m);
            read = readNoticeLocked(s, m);
        }
    });
    writeMessageId(msgIdBuf, m.msgId, overlong);
    call.answer([key, reason, records = recordOf(m)] {
        invoke(&ZS_MessageCallBack::onSendTextMessage, key, reason,
               static_cast<const ZS_MessageInfo *>(records->data()));
        scribble(*records);
    });
    if (read)
        call.answer(receive(Inbound::OperateNotice, *read));
    if (reply)
        call.answer(receive(Inbound::Message, *reply));
    return ZS_OK;
}

int SendMediaMessage(unsigned int *matchKey, const char *receiver, const char *fileName, int type,
                     const char *userdata, char *msgIdBuf)
{
    Request call("SendMediaMessage");
    call.text(receiver).text(fileName).arg(type).text(userdata);
    return sendMedia(call, matchKey, receiver, fileName, type, userdata, msgIdBuf, nullptr);
}

int SendMediaMessageEX(unsigned int *matchKey, const char *receiver, const char *fileName, int type,
                       const char *userdata, char *msgIdBuf, const char *offsetJson,
                       const char *jsonString, int extra, const char *uuid, const char *last)
{
    Request call("SendMediaMessageEX");
    call.text(receiver).text(fileName).arg(type).text(userdata).text(offsetJson);
    call.text(jsonString).arg(extra).text(uuid).text(last);
    // This engine uploads a retried file again from its start.
    return sendMedia(call, matchKey, receiver, fileName, type, userdata, msgIdBuf, jsonString);
}

int DownloadFileMessage(unsigned int *matchKey, const char *sender, const char *recv,
                        const char *url, const char *fileName, const char *msgId, int type)
{
    Request call("DownloadFileMessage");
    call.text(sender).text(recv).text(url).text(fileName).text(msgId).arg(type);
    if (!call.accepted())
        return call.result();
    if (!url || !*url || !fileName || !*fileName)
        return ZS_ERR_INVALID_ARGUMENT;
    auto t = std::make_shared<Transfer>();
    t->key = call.issueKey(matchKey);
    Message &m = t->msg;
    m.msgType = type;
    m.msgId = text(msgId);
    m.sender = text(sender);
    m.receiver = text(recv);
    m.fileName = text(fileName);
    m.fileUrl = text(url);
    bool found = false;
    Control::withServer([&](ServerModel &s) {
        const auto file = s.messages.files.constFind(m.fileUrl);
        found = file != s.messages.files.constEnd();
        if (!found)
            return;
        t->bytes = *file;
        m.sessionId = m.sender == s.currentUser ? m.receiver : m.sender;
        s.messages.transfers.insert(t->key, MessageModel::Transfer{false, false, nullptr});
    });
    if (!found) {
        call.answer([key = t->key, records = recordOf(m)] {
            invoke(&ZS_MessageCallBack::onDownloadFileComplete, key, int(ZS_REASON_NOT_FOUND),
                   static_cast<const ZS_MessageInfo *>(records->data()));
            scribble(*records);
        });
        return ZS_OK;
    }
    t->total = t->bytes.size();
    m.fileSize = t->total;
    call.answer([t] { downloadStep(t); });
    return ZS_OK;
}

int CancelUploadOrDownloadNOW(unsigned int matchKey)
{
    Request call("CancelUploadOrDownloadNOW");
    call.arg(matchKey);
    if (!call.accepted())
        return call.result();
    bool found = false;
    std::function<void()> parked;
    Control::withServer([&](ServerModel &s) {
        const auto it = s.messages.transfers.find(matchKey);
        found = it != s.messages.transfers.end();
        if (!found)
            return;
        it->cancelled = true;
        parked = std::move(it->parked);
        it->parked = nullptr;
    });
    if (parked)
        Control::post(std::move(parked));
    return found ? int(ZS_OK) : int(ZS_ERR_NOT_FOUND);
}

int DeleteMessage(unsigned int *matchKey, int type, const char *msgId)
{
    Request call("DeleteMessage");
    call.arg(type).text(msgId);
    const unsigned int key = call.issueKey(matchKey);
    int reason = ZS_REASON_NOT_FOUND;
    if (call.accepted()) {
        Control::withServer([&](ServerModel &s) {
            for (int i = 0; i < s.messages.history.size(); ++i) {
                if (s.messages.history[i].msgId == text(msgId)) {
                    s.messages.history.removeAt(i);
                    reason = ZS_REASON_SUCCESS;
                    break;
                }
            }
        });
    }
    call.answer([key, reason, type, id = callbackText(text(msgId))] {
        invoke(&ZS_MessageCallBack::onDeleteMessage, key, reason, type,
               static_cast<const char *>(id->data()));
        scribble(*id);
    });
    return call.result();
}

int WithDrawMessage(unsigned int *matchKey, const char *msgId, int type)
{
    Request call("WithDrawMessage");
    call.text(msgId).arg(type);
    const unsigned int key = call.issueKey(matchKey);
    int reason = ZS_REASON_NOT_FOUND;
    if (call.accepted()) {
        Control::withServer([&](ServerModel &s) {
            for (Message &m : s.messages.history) {
                if (m.msgId != text(msgId) || m.withdrawn)
                    continue;
                if (m.sender != s.currentUser) {
                    reason = ZS_REASON_FORBIDDEN;
                    return;
                }
                m.withdrawn = true;
                // Announced to the receivers (a group's members): their copies are withdrawn.
                for (QList<Message> &inbox : s.messages.inbox)
                    for (Message &copy : inbox)
                        copy.withdrawn = copy.withdrawn || copy.msgId == m.msgId;
                reason = ZS_REASON_SUCCESS;
                return;
            }
        });
    }
    call.answer([key, reason] { invoke(&ZS_MessageCallBack::onWithDrawMessage, key, reason); });
    return call.result();
}

int SetTopContact(unsigned int *matchKey, const char *contact, bool isTop)
{
    Request call("SetTopContact");
    call.text(contact).arg(int(isTop));
    const unsigned int key = call.issueKey(matchKey);
    int reason = ZS_REASON_BAD_REQUEST;
    if (call.accepted() && contact && *contact) {
        reason = ZS_REASON_SUCCESS;
        Control::withServer([&](ServerModel &s) {
            QStringList &top = s.messages.topContacts;
            top.removeAll(text(contact));
            if (isTop)
                top.append(text(contact));
        });
    }
    call.answer([key, reason] { invoke(&ZS_MessageCallBack::onSetTopContact, key, reason); });
    return call.result();
}

int GetTopContact(unsigned int *matchKey)
{
    Request call("GetTopContact");
    const unsigned int key = call.issueKey(matchKey);
    QStringList top;
    Control::withServer([&](ServerModel &s) { top = s.messages.topContacts; });
    std::vector<std::shared_ptr<std::vector<char>>> texts;
    for (const QString &contact : qAsConst(top))
        texts.push_back(callbackText(contact));
    call.answer([key, texts] {
        std::vector<const char *> array;
        for (const auto &t : texts)
            array.push_back(t->data());
        invoke(&ZS_MessageCallBack::onGetTopContact, key, int(ZS_REASON_SUCCESS), int(array.size()),
               static_cast<const char *const *>(array.empty() ? nullptr : array.data()));
        for (const auto &t : texts)
            scribble(*t);
        scribble(array);
    });
    return call.result();
}

int ReadMessage(unsigned int *matchKey, const char *msgId)
{
    Request call("ReadMessage");
    // No answer comes, so no key is written, even through a pointer given.
    call.arg(static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(matchKey)));
    call.text(msgId);
    if (!call.accepted())
        return call.result();
    bool found = false;
    Control::withServer([&](ServerModel &s) {
        for (const Message &m : qAsConst(s.messages.history)) {
            if (m.msgId != text(msgId))
                continue;
            found = true;
            s.messages.readMessages.insert(m.msgId);
            if (m.sender != s.currentUser)
                s.messages.receipts[m.sender].append(m.msgId);
            break;
        }
    });
    return found ? int(ZS_OK) : int(ZS_ERR_NOT_FOUND);
}

int StartVoiceRecording(const char *fileName, const char *sessionId)
{
    Request call("StartVoiceRecording");
    call.text(fileName).text(sessionId);
    if (!call.accepted())
        return call.result();
    if (!fileName || !*fileName)
        return ZS_ERR_INVALID_ARGUMENT;
    int ret = ZS_OK;
    Control::withServer([&](ServerModel &s) {
        MessageModel::Voice &voice = s.messages.voice;
        if (voice.recording) {
            ret = ZS_ERR_BUSY;
            return;
        }
        // The file is there from the start, empty until the recording stops.
        if (!writeVoiceNote(text(fileName), 0)) {
            ret = ZS_ERR_INVALID_ARGUMENT;
            return;
        }
        voice.recording = true;
        voice.file = text(fileName);
        voice.sessionId = text(sessionId);
    });
    return ret;
}

int StopVoiceRecording(void)
{
    Request call("StopVoiceRecording");
    if (!call.accepted())
        return call.result();
    int ret = ZS_ERR_NOT_FOUND;
    Control::withServer([&](ServerModel &s) {
        MessageModel::Voice &voice = s.messages.voice;
        if (!voice.recording)
            return;
        voice.recording = false;
        ret = writeVoiceNote(voice.file, voice.recordMs) ? int(ZS_OK)
                                                         : int(ZS_ERR_INVALID_ARGUMENT);
    });
    return ret;
}

int PlayVoiceMsg(const char *fileName, const char *sessionId)
{
    Request call("PlayVoiceMsg");
    call.text(fileName).text(sessionId);
    if (!call.accepted())
        return call.result();
    int ms = 0;
    const int ret = wavDuration(text(fileName), ms);
    if (ret != ZS_OK)
        return ret;
    bool hold = false;
    bool interrupted = false;
    QString previous;
    Control::withServer([&](ServerModel &s) {
        MessageModel::Voice &voice = s.messages.voice;
        interrupted = voice.playing;
        previous = voice.playingSession;
        hold = voice.holdPlayback;
        voice.playing = hold;
        voice.playingSession = text(sessionId);
    });
    if (interrupted)
        call.answer(finishedPlaying(previous, ZS_REASON_CANCELLED));
    if (!hold)
        call.answer(finishedPlaying(text(sessionId), ZS_REASON_SUCCESS));
    return ZS_OK;
}

int StopVoiceMsg(void)
{
    Request call("StopVoiceMsg");
    if (!call.accepted())
        return call.result();
    bool playing = false;
    QString session;
    Control::withServer([&](ServerModel &s) {
        playing = s.messages.voice.playing;
        session = s.messages.voice.playingSession;
        s.messages.voice.playing = false;
    });
    if (playing)
        call.answer(finishedPlaying(session, ZS_REASON_CANCELLED));
    return ZS_OK;
}

int GetVoiceDuration(const char *fileName, int *duration)
{
    // A look at a local file: needs no server, and may come from any thread.
    Request call("GetVoiceDuration", false);
    call.text(fileName);
    if (!call.accepted())
        return call.result();
    int ms = 0;
    const int ret = wavDuration(text(fileName), ms);
    if (ret == ZS_OK && duration)
        *duration = ms;
    return ret;
}

int PrintScreen(int x, int y, int width, int height)
{
    Request call("PrintScreen");
    call.arg(x).arg(y).arg(width).arg(height);
    if (!call.accepted())
        return call.result();
    if (width <= 0 || height <= 0)
        return ZS_ERR_INVALID_ARGUMENT;
    Control::withServer([&](ServerModel &s) {
        s.messages.screenCaptures.append(MessageModel::Rect{x, y, width, height});
    });
    return ZS_OK;
}

int SaveAsPic(const char *fileName, const char *filePath, int fileType)
{
    Request call("SaveAsPic");
    call.text(fileName).text(filePath).arg(fileType);
    if (!call.accepted())
        return call.result();
    const QString from = text(fileName);
    const QString to = text(filePath);
    if (from.isEmpty() || !QFileInfo(from).isFile())
        return ZS_ERR_NOT_FOUND;
    if (to.isEmpty())
        return ZS_ERR_INVALID_ARGUMENT;
    QFile::remove(to);
    return QFile::copy(from, to) ? int(ZS_OK) : int(ZS_ERR_INVALID_ARGUMENT);
}

int SetConfirmMsgVersionFrequency(int number)
{
    Request call("SetConfirmMsgVersionFrequency");
    call.arg(number);
    if (call.accepted())
        Control::withServer(
            [&](ServerModel &s) { s.messages.confirmMsgVersionFrequency = number; });
    return call.result();
}

void SetFetchMessageFromLast(bool bFlag)
{
    Request call("SetFetchMessageFromLast");
    call.arg(int(bFlag));
    if (call.accepted())
        Control::withServer([&](ServerModel &s) { s.messages.fetchMessageFromLast = bFlag; });
}

} // extern "C"
