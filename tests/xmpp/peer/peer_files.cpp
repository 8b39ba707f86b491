// File transfer commands of the peer. "hold" lets a test act while a transfer is certainly
// running: the peer's next progress callback (on the engine's thread) waits until the test
// cancels, releases, or stops the engine.

#include "Peer.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace peer {

namespace {

std::mutex g_holdMutex;
std::condition_variable g_holdChanged;
bool g_armed = false; // the next progress callback holds
bool g_holding = false;

// A held callback gives up after this long, so that a broken test cannot hang the peer.
constexpr auto kHoldLimit = std::chrono::seconds(60);

void release()
{
    {
        std::lock_guard<std::mutex> lock(g_holdMutex);
        g_armed = false;
        g_holding = false;
    }
    g_holdChanged.notify_all();
}

QJsonObject withFields(const ZS_MessageInfo *msg, const QJsonObject &extra)
{
    QJsonObject o = messageFields(msg);
    for (auto it = extra.begin(); it != extra.end(); ++it)
        o.insert(it.key(), it.value());
    return o;
}

// The same events as the peer's own table, and the hold.
void ZS_CALL onSendMediaFile(unsigned int key, int reason, const ZS_MessageInfo *msg,
                             const char *status)
{
    emitEvent(QStringLiteral("onSendMediaFile"),
              withFields(msg,
                         {{"key", double(key)},
                          {"reason", reason},
                          {"status", QString::fromUtf8(status ? status : "")}}));
}
void ZS_CALL onDownloadFileComplete(unsigned int key, int reason, const ZS_MessageInfo *msg)
{
    emitEvent(QStringLiteral("onDownloadFileComplete"),
              withFields(msg, {{"key", double(key)}, {"reason", reason}}));
}
void ZS_CALL onRateOfProgressAttach(unsigned int key, unsigned long long done,
                                    unsigned long long total, const ZS_MessageInfo *msg)
{
    emitEvent(
        QStringLiteral("onRateOfProgressAttach"),
        withFields(msg, {{"key", double(key)}, {"done", double(done)}, {"total", double(total)}}));
    std::unique_lock<std::mutex> lock(g_holdMutex);
    if (!g_armed)
        return;
    g_armed = false;
    g_holding = true;
    emitEvent(QStringLiteral("held"), {{"key", double(key)}});
    g_holdChanged.wait_for(lock, kHoldLimit, [] { return !g_holding; });
}
void ZS_CALL onReceiveFile(const ZS_MessageInfo *msg)
{
    emitEvent(QStringLiteral("onReceiveFile"), messageFields(msg));
}

ZS_MessageCallBack g_fileTable{};

QJsonObject keyField(unsigned int key)
{
    return {{"key", double(key)}};
}

// sendfile receiver path type userdata [jsonString]: SendMediaMessageEX as a new send.
void sendFile(const QStringList &args)
{
    unsigned int key = 0;
    char msgId[ZS_MSG_ID_BUFFER_SIZE] = {};
    const QByteArray receiver = arg(args, 0).toUtf8();
    const QByteArray path = arg(args, 1).toUtf8();
    const QByteArray userData = arg(args, 3).toUtf8();
    const QByteArray json = arg(args, 4).toUtf8();
    const int ret
        = SendMediaMessageEX(&key, receiver.constData(), path.constData(), arg(args, 2).toInt(),
                             userData.constData(), msgId, "", json.constData(), 0, "", "");
    QJsonObject fields = keyField(key);
    fields.insert(QStringLiteral("msgId"),
                  QString::fromUtf8(msgId, int(qstrnlen(msgId, sizeof msgId))));
    emitReturn(QStringLiteral("sendfile"), ret, fields);
}

// download sender recv url path msgId type
void download(const QStringList &args)
{
    unsigned int key = 0;
    QByteArray texts[5];
    for (int k = 0; k < 5; ++k)
        texts[k] = arg(args, k).toUtf8();
    const int ret = DownloadFileMessage(&key, texts[0].constData(), texts[1].constData(),
                                        texts[2].constData(), texts[3].constData(),
                                        texts[4].constData(), arg(args, 5).toInt());
    emitReturn(QStringLiteral("download"), ret, keyField(key));
}

// cancel key: and lets a held callback go on.
void cancel(const QStringList &args)
{
    const int ret = CancelUploadOrDownloadNOW(arg(args, 0).toUInt());
    release();
    emitReturn(QStringLiteral("cancel"), ret);
}

// hold: the next progress callback waits (the peer now reports transfers from this file).
void hold(const QStringList &)
{
    g_fileTable.onSendMediaFile = onSendMediaFile;
    g_fileTable.onDownloadFileComplete = onDownloadFileComplete;
    g_fileTable.onRateOfProgressAttach = onRateOfProgressAttach;
    g_fileTable.onReceiveFile = onReceiveFile;
    SetMessageCallBackFunction(&g_fileTable);
    {
        std::lock_guard<std::mutex> lock(g_holdMutex);
        g_armed = true;
    }
    emitReturn(QStringLiteral("hold"), 0);
}

TQ_PEER_COMMAND("sendfile", sendFile)
TQ_PEER_COMMAND("download", download)
TQ_PEER_COMMAND("cancel", cancel)
TQ_PEER_COMMAND("hold", hold)
TQ_PEER_COMMAND("release", [](const QStringList &) {
    release();
    emitReturn(QStringLiteral("release"), 0);
})
// Lets a held callback go on and uninitialises at once: the transfer is still running.
TQ_PEER_COMMAND("stopheld", [](const QStringList &) {
    release();
    emitReturn(QStringLiteral("stopheld"), ZSSDK_UnInitialize());
})

} // namespace

} // namespace peer
