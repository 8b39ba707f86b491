#include "XmppFiles.h"

#include "XmppCommon.h"
#include "XmppEngine.h"
#include "XmppMessages.h"
#include "XmppSession.h"
#include "XmppStanza.h"

#include <QXmppClient.h>
#include <QXmppDiscoveryIq.h>
#include <QXmppDiscoveryManager.h>
#include <QXmppHttpUploadIq.h>
#include <QXmppMessage.h>
#include <QXmppUploadRequestManager.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>

#include <mutex>
#include <unordered_map>

namespace zsxmpp {

namespace transferKeys {

namespace {
std::mutex g_mutex;
std::unordered_map<unsigned int, bool> g_keys; // key -> cancelled
} // namespace

void add(unsigned int key)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_keys[key] = false;
}

bool cancel(unsigned int key)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    const auto it = g_keys.find(key);
    if (it == g_keys.end())
        return false;
    it->second = true;
    return true;
}

bool take(unsigned int key)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    const auto it = g_keys.find(key);
    if (it == g_keys.end())
        return false;
    const bool wasCancelled = it->second;
    g_keys.erase(it);
    return wasCancelled;
}

bool cancelled(unsigned int key)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    const auto it = g_keys.find(key);
    return it != g_keys.end() && it->second;
}

} // namespace transferKeys

namespace {

const QString kUploadNamespace = QStringLiteral("urn:xmpp:http:upload:0");
constexpr int kDiscoveryTimeoutMs = 15000;
constexpr int kSlotTimeoutMs = 30000;
// An HTTP transfer that moves no byte for this long fails with 408.
constexpr int kStallTimeoutMs = 60000;
// Progress at most every 64 KiB and at most 256 times a transfer, besides the final one.
constexpr qint64 kProgressStep = 64 * 1024;
constexpr qint64 kProgressCount = 256;
// Bytes QtNetwork keeps for a download before it waits for the file to take them.
constexpr qint64 kReadBuffer = 1024 * 1024;

bool isHttps(const QUrl &url)
{
    return url.isValid() && url.scheme() == QLatin1String("https") && !url.host().isEmpty();
}

// Where a URL goes, for the trace: the path of an upload URL is what grants access to the file.
QString origin(const QUrl &url)
{
    return escaped(url.toString(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery
                                | QUrl::RemoveFragment));
}

int httpStatus(const QNetworkReply *reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

bool succeeded(const QNetworkReply *reply)
{
    const int status = httpStatus(reply);
    return reply->error() == QNetworkReply::NoError && status >= 200 && status < 300;
}

// The answer for an HTTP exchange that did not succeed.
int failure(const QNetworkReply *reply, const char *&status)
{
    switch (httpStatus(reply)) {
    case 0:
        break; // no HTTP answer at all
    case 404:
    case 410:
        status = "not found";
        return ZS_REASON_NOT_FOUND;
    case 401:
    case 403:
        status = "refused";
        return ZS_REASON_FORBIDDEN;
    case 413:
        status = "file too large";
        return ReasonTooLarge;
    default:
        status = "server error";
        return ZS_REASON_SERVER_ERROR;
    }
    // Our own aborts are never seen here; the stall timer is the only other one.
    if (reply->error() == QNetworkReply::OperationCanceledError
        || reply->error() == QNetworkReply::TimeoutError) {
        status = "timed out";
        return ZS_REASON_TIMEOUT;
    }
    status = "network error";
    return ReasonUnreachable;
}

} // namespace

struct Files::Transfer
{
    unsigned int key = 0;
    bool upload = true;
    std::unique_ptr<ZS_MessageInfo> record = makeRecord<ZS_MessageInfo>();
    QString path;
    qint64 total = 0;
    qint64 done = 0;
    qint64 reported = -1;
    // Upload.
    QString receiverJid;
    QString msgId;
    int msgType = 0;
    QString userData;
    QString mime;
    bool waiting = false; // for the connection or the upload service
    QString slotRequest;
    QUrl getUrl;
    // Download.
    std::unique_ptr<QSaveFile> target;

    QNetworkReply *reply = nullptr;
};

Files::Files(Session &session)
    : Feature(session)
{ }

Files::~Files()
{
    for (const auto &entry : m_transfers)
        transferKeys::take(entry.first);
}

Files::Transfer *Files::find(unsigned int key) const
{
    const auto it = m_transfers.find(key);
    return it == m_transfers.end() ? nullptr : it->second.get();
}

QNetworkAccessManager *Files::network()
{
    // Made on the engine's thread, where its replies must live.
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    return m_network;
}

QNetworkRequest Files::httpsRequest(const QUrl &url) const
{
    QNetworkRequest request(url);
    QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
    ssl.setCaCertificates(ssl.caCertificates() + m_cas);
    request.setSslConfiguration(ssl);
    // A redirect could lead away from https.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(kStallTimeoutMs);
    return request;
}

void Files::attach(QXmppClient *client)
{
    m_client = client;
    m_cas = trustedCas();
    m_uploads = new QXmppUploadRequestManager;
    client->addExtension(m_uploads); // the client owns it
    connect(m_uploads, &QXmppUploadRequestManager::slotReceived, this, &Files::onSlot);
    connect(m_uploads, &QXmppUploadRequestManager::requestFailed, this, &Files::onSlotFailed);
    // Prosody's refusal carries no <request/>, so the manager does not know it as its own.
    connect(client, &QXmppClient::iqReceived, this, [this](const QXmppIq &iq) {
        if (iq.type() != QXmppIq::Error || !m_slotRequests.contains(iq.id())
            || iq.from() != m_service)
            return;
        QXmppHttpUploadRequestIq refused;
        refused.setId(iq.id());
        refused.setError(iq.error());
        onSlotFailed(refused);
    });
    if (auto *disco = client->findExtension<QXmppDiscoveryManager>()) {
        connect(disco, &QXmppDiscoveryManager::itemsReceived, this, &Files::onItems);
        connect(disco, &QXmppDiscoveryManager::infoReceived, this, &Files::onInfo);
    }
}

void Files::online(bool resumed)
{
    (void)resumed;
    // Found early so that the first upload does not wait for it.
    if (m_service.isEmpty())
        discover();
    else
        serveWaiting();
}

void Files::offline()
{
    // Logged out, kicked, or the login failed: the session is over.
    if (Engine::get().phase.load() != Phase::Reconnecting) {
        endAll(ReasonCancelled, "cancelled", false);
        return;
    }
    // A slot answer needs the stream; the HTTP transfers go on without it.
    endAll(ReasonUnreachable, "connection lost", true);
    m_discovery = Discovery::Unknown;
    m_itemsRequest.clear();
    m_infoRequests.clear();
    if (m_discoveryTimer)
        m_discoveryTimer->stop();
}

void Files::detach()
{
    endAll(ReasonCancelled, "cancelled", false);
    if (m_client)
        disconnect(m_client, nullptr, this, nullptr);
    if (m_uploads)
        disconnect(m_uploads, nullptr, this, nullptr);
    if (m_client)
        if (auto *disco = m_client->findExtension<QXmppDiscoveryManager>())
            disconnect(disco, nullptr, this, nullptr);
    m_client = nullptr;
    m_uploads = nullptr;
    m_service.clear();
    m_discovery = Discovery::Unknown;
    m_itemsRequest.clear();
    m_infoRequests.clear();
    m_slotRequests.clear();
    if (m_discoveryTimer)
        m_discoveryTimer->stop();
}

// ---- upload service discovery --------------------------------------------------------------

void Files::discover()
{
    if (!m_client || !m_client->isConnected() || m_discovery == Discovery::Running)
        return;
    auto *disco = m_client->findExtension<QXmppDiscoveryManager>();
    if (!disco)
        return;
    m_itemsRequest = disco->requestItems(session().domain());
    if (m_itemsRequest.isEmpty())
        return;
    m_discovery = Discovery::Running;
    m_infoRequests.clear();
    if (!m_discoveryTimer) {
        m_discoveryTimer = new QTimer(this);
        m_discoveryTimer->setSingleShot(true);
        connect(m_discoveryTimer, &QTimer::timeout, this, &Files::discoveryDone);
    }
    m_discoveryTimer->start(kDiscoveryTimeoutMs);
}

void Files::onItems(const QXmppDiscoveryIq &iq)
{
    if (m_discovery != Discovery::Running || iq.id() != m_itemsRequest)
        return;
    m_itemsRequest.clear();
    auto *disco = m_client ? m_client->findExtension<QXmppDiscoveryManager>() : nullptr;
    if (disco && iq.type() == QXmppIq::Result) {
        for (const QXmppDiscoveryIq::Item &item : iq.items()) {
            const QString id = disco->requestInfo(item.jid());
            if (!id.isEmpty())
                m_infoRequests.insert(id);
        }
    }
    if (m_infoRequests.isEmpty())
        discoveryDone();
}

void Files::onInfo(const QXmppDiscoveryIq &iq)
{
    if (m_discovery != Discovery::Running || !m_infoRequests.remove(iq.id()))
        return;
    // Only items of the own server are asked, so an answer cannot name a stranger's service.
    if (iq.type() == QXmppIq::Result && m_service.isEmpty()
        && iq.features().contains(kUploadNamespace))
        m_service = iq.from();
    if (m_infoRequests.isEmpty() || !m_service.isEmpty())
        discoveryDone();
}

void Files::discoveryDone()
{
    if (m_discovery != Discovery::Running)
        return;
    m_discovery = Discovery::Done;
    m_itemsRequest.clear();
    m_infoRequests.clear();
    m_discoveryTimer->stop();
    Engine::get().trace(QStringLiteral("upload service %1").arg(escaped(m_service)));
    if (!m_service.isEmpty()) {
        serveWaiting();
        return;
    }
    for (unsigned int key : waitingForSlot())
        end(key, ZS_REASON_SERVER_ERROR, "no upload service");
}

std::vector<unsigned int> Files::waitingForSlot() const
{
    std::vector<unsigned int> keys;
    for (const auto &entry : m_transfers)
        if (entry.second->waiting)
            keys.push_back(entry.first);
    return keys;
}

void Files::serveWaiting()
{
    if (!m_client || !m_client->isConnected())
        return;
    if (m_service.isEmpty()) {
        discover();
        return;
    }
    for (unsigned int key : waitingForSlot())
        if (Transfer *t = find(key))
            requestSlot(*t);
}

// ---- uploads -------------------------------------------------------------------------------

void Files::upload(const UploadRequest &request)
{
    auto owned = std::make_unique<Transfer>();
    Transfer &t = *owned;
    t.key = request.key;
    t.path = request.path;
    t.total = request.size;
    t.receiverJid = session().addressOf(request.receiver);
    t.msgId = request.msgId;
    t.msgType = request.msgType;
    t.userData = request.userData;
    t.mime = QMimeDatabase().mimeTypeForFile(request.path).name();

    ZS_MessageInfo &r = *t.record;
    r.msgType = request.msgType;
    put(r.msgId, request.msgId);
    put(r.dateCreated, dateText());
    put(r.sender, session().ownName());
    put(r.receiver, session().nameOf(t.receiverJid));
    put(r.sessionId, session().nameOf(t.receiverJid));
    put(r.userData, request.userData);
    put(r.fileName, request.path); // the sender's record names the local file
    r.fileSize = request.size;
    r.originFileSize = request.size;
    put(r.title, request.title);
    put(r.imgPath, request.imgPath);
    put(r.desc, request.desc);
    put(r.url, request.url);
    m_transfers[t.key] = std::move(owned);

    Engine::get().trace(QStringLiteral("upload %1: %2 bytes of %3 to %4")
                            .arg(t.key)
                            .arg(t.total)
                            .arg(escaped(t.path), escaped(t.receiverJid)));
    if (!m_client) {
        end(t.key, ZS_ERR_NOT_LOGGED_IN, "not logged in");
        return;
    }
    if (transferKeys::cancelled(t.key)) {
        end(t.key, ReasonCancelled, "cancelled");
        return;
    }
    t.waiting = true;
    serveWaiting();
}

void Files::requestSlot(Transfer &t)
{
    t.waiting = false;
    const QString id = m_uploads->requestUploadSlot(
        QFileInfo(t.path).fileName(), t.total, QMimeDatabase().mimeTypeForName(t.mime), m_service);
    if (id.isEmpty()) {
        end(t.key, ZS_REASON_SERVER_ERROR, "upload refused");
        return;
    }
    t.slotRequest = id;
    m_slotRequests.insert(id, t.key);
    QTimer::singleShot(kSlotTimeoutMs, this, [this, key = t.key, id] {
        const Transfer *waited = find(key);
        if (waited && waited->slotRequest == id)
            end(key, ZS_REASON_TIMEOUT, "timed out");
    });
}

Files::Transfer *Files::slotAnswered(const QString &requestId)
{
    Transfer *t = find(m_slotRequests.take(requestId));
    if (t)
        t->slotRequest.clear();
    return t;
}

void Files::onSlotFailed(const QXmppHttpUploadRequestIq &request)
{
    const Transfer *t = slotAnswered(request.id());
    if (!t)
        return;
    const unsigned int key = t->key;
    const QXmppStanza::Error error = request.error();
    Engine::get().trace(QStringLiteral("upload %1: slot refused, %2 %3")
                            .arg(key)
                            .arg(int(error.condition()))
                            .arg(escaped(error.text())));
    if (error.fileTooLarge() || error.condition() == QXmppStanza::Error::NotAcceptable)
        end(key, ReasonTooLarge, "file too large");
    else if (error.condition() == QXmppStanza::Error::Forbidden
             || error.condition() == QXmppStanza::Error::NotAllowed
             || error.condition() == QXmppStanza::Error::NotAuthorized
             || error.condition() == QXmppStanza::Error::ResourceConstraint)
        end(key, ZS_REASON_FORBIDDEN, "upload refused");
    else
        end(key, ZS_REASON_SERVER_ERROR, "upload refused");
}

void Files::onSlot(const QXmppHttpUploadSlotIq &slot)
{
    Transfer *t = slotAnswered(slot.id());
    if (!t)
        return;
    const unsigned int key = t->key;
    if (transferKeys::cancelled(key)) {
        end(key, ReasonCancelled, "cancelled");
        return;
    }
    if (!isHttps(slot.putUrl()) || !isHttps(slot.getUrl())) {
        Engine::get().trace(QStringLiteral("upload %1: slot URLs not https").arg(key));
        end(key, ZS_REASON_SERVER_ERROR, "bad upload slot");
        return;
    }
    t->getUrl = slot.getUrl();
    put(t->record->fileUrl, t->getUrl.toString(QUrl::FullyEncoded));

    auto *source = new QFile(t->path);
    if (!source->open(QIODevice::ReadOnly) || source->size() != t->total) {
        delete source;
        end(key, ZS_REASON_SERVER_ERROR, "cannot read file");
        return;
    }
    QNetworkRequest request = httpsRequest(slot.putUrl());
    const QMap<QString, QString> headers = slot.putHeaders();
    for (auto it = headers.begin(); it != headers.end(); ++it) {
        // XEP-0363 allows only these; a header must not smuggle in another line.
        static const QStringList allowed{QStringLiteral("authorization"), QStringLiteral("cookie"),
                                         QStringLiteral("expires")};
        if (!allowed.contains(it.key().toLower()) || it.value().contains(QLatin1Char('\n'))
            || it.value().contains(QLatin1Char('\r')))
            continue;
        request.setRawHeader(it.key().toLatin1(), it.value().toUtf8());
    }
    // QtNetwork drops progress signals closer than 100 ms apart; ours go by bytes.
    request.setAttribute(QNetworkRequest::EmitAllUploadProgressSignalsAttribute, true);
    request.setHeader(QNetworkRequest::ContentTypeHeader, t->mime);
    request.setHeader(QNetworkRequest::ContentLengthHeader, t->total);
    Engine::get().trace(QStringLiteral("upload %1: PUT to %2").arg(key).arg(origin(slot.putUrl())));
    t->reply = network()->put(request, source);
    source->setParent(t->reply); // read until the reply is gone
    connect(t->reply, &QNetworkReply::uploadProgress, this, [this, key](qint64 sent, qint64) {
        Transfer *running = find(key);
        if (!running)
            return;
        if (transferKeys::cancelled(key))
            end(key, ReasonCancelled, "cancelled");
        else
            progress(*running, sent);
    });
    connect(t->reply, &QNetworkReply::finished, this, [this, key] {
        if (Transfer *running = find(key))
            onPutFinished(*running);
    });
}

void Files::onPutFinished(Transfer &t)
{
    const char *status = "";
    if (!succeeded(t.reply)) {
        const int reason = failure(t.reply, status);
        Engine::get().trace(QStringLiteral("upload %1: PUT failed, HTTP %2, error %3")
                                .arg(t.key)
                                .arg(httpStatus(t.reply))
                                .arg(int(t.reply->error())));
        end(t.key, reason, status);
        return;
    }
    sendFileMessage(t);
}

void Files::sendFileMessage(Transfer &t)
{
    const unsigned int key = t.key;
    // From here on the file is on the server: a cancel comes too late.
    if (transferKeys::take(key) || !Engine::get().running()) {
        end(key, ReasonCancelled, "cancelled");
        return;
    }
    finalProgress(t);
    Messages &messages = session().messages();
    QXmppMessage message = messages.compose(t.receiverJid, t.msgType, t.userData);
    // The caller was given this id when it asked.
    message.setId(t.msgId);
    message.setOriginId(t.msgId);
    Messages::setFile(message, t.getUrl.toString(QUrl::FullyEncoded), QFileInfo(t.path).fileName(),
                      t.total);
    std::shared_ptr<ZS_MessageInfo> record(std::move(t.record));
    end(key, 0, nullptr); // no answer yet: the message's
    messages.send(message, [key, record](int reason) {
        Engine::get().trace(
            QStringLiteral("upload %1: file message answered %2").arg(key).arg(reason));
        invoke(&ZS_MessageCallBack::onSendMediaFile, key, reason,
               static_cast<const ZS_MessageInfo *>(record.get()),
               reason == ZS_REASON_SUCCESS ? "success" : "message not sent");
    });
}

// ---- downloads -----------------------------------------------------------------------------

void Files::download(const DownloadRequest &request)
{
    auto owned = std::make_unique<Transfer>();
    Transfer &t = *owned;
    t.key = request.key;
    t.upload = false;
    t.path = request.path;
    ZS_MessageInfo &r = *t.record;
    r.msgType = request.msgType;
    put(r.msgId, request.msgId);
    put(r.sender, request.sender);
    put(r.receiver, request.receiver);
    put(r.sessionId, request.sender == session().ownName() ? request.receiver : request.sender);
    put(r.fileName, request.path);
    put(r.fileUrl, request.url);
    m_transfers[t.key] = std::move(owned);

    const QUrl url(request.url);
    Engine::get().trace(
        QStringLiteral("download %1: from %2 to %3").arg(t.key).arg(origin(url), escaped(t.path)));
    if (transferKeys::cancelled(t.key)) {
        end(t.key, ReasonCancelled, "cancelled");
        return;
    }
    if (!isHttps(url)) {
        end(t.key, ZS_REASON_FORBIDDEN, "only https");
        return;
    }
    // Written beside the target and renamed at the end: no half file under its name.
    t.target = std::make_unique<QSaveFile>(t.path);
    if (!t.target->open(QIODevice::WriteOnly)) {
        Engine::get().trace(QStringLiteral("download %1: cannot write %2: %3")
                                .arg(t.key)
                                .arg(escaped(t.path), escaped(t.target->errorString())));
        end(t.key, ZS_REASON_SERVER_ERROR, "cannot write file");
        return;
    }
    t.reply = network()->get(httpsRequest(url));
    t.reply->setReadBufferSize(kReadBuffer);
    const unsigned int key = t.key;
    connect(t.reply, &QNetworkReply::readyRead, this, [this, key] {
        if (Transfer *running = find(key))
            onGetData(*running);
    });
    connect(t.reply, &QNetworkReply::finished, this, [this, key] {
        if (Transfer *running = find(key))
            onGetFinished(*running);
    });
}

bool Files::onGetData(Transfer &t)
{
    if (transferKeys::cancelled(t.key)) {
        end(t.key, ReasonCancelled, "cancelled");
        return false;
    }
    const int status = httpStatus(t.reply);
    if (status < 200 || status >= 300)
        return true; // an error page: the answer comes with finished()
    if (t.total == 0) {
        t.total
            = qMax<qint64>(0, t.reply->header(QNetworkRequest::ContentLengthHeader).toLongLong());
        t.record->fileSize = t.total;
    }
    const QByteArray data = t.reply->readAll();
    if (data.isEmpty())
        return true;
    if (t.target->write(data) != data.size()) {
        Engine::get().trace(QStringLiteral("download %1: write failed: %2")
                                .arg(t.key)
                                .arg(escaped(t.target->errorString())));
        end(t.key, ZS_REASON_SERVER_ERROR, "cannot write file");
        return false;
    }
    t.done += data.size();
    progress(t, t.done);
    return true;
}

void Files::onGetFinished(Transfer &t)
{
    const unsigned int key = t.key;
    if (!succeeded(t.reply)) {
        const char *status = "";
        const int reason = failure(t.reply, status);
        Engine::get().trace(QStringLiteral("download %1: failed, HTTP %2, error %3")
                                .arg(key)
                                .arg(httpStatus(t.reply))
                                .arg(int(t.reply->error())));
        end(key, reason, status);
        return;
    }
    if (!onGetData(t))
        return;
    // After UnInitialize no file appears either.
    if (transferKeys::take(key) || !Engine::get().running()) {
        end(key, ReasonCancelled, "cancelled");
        return;
    }
    t.total = t.done;
    t.record->fileSize = t.total;
    if (!t.target->commit()) {
        Engine::get().trace(QStringLiteral("download %1: cannot write %2: %3")
                                .arg(key)
                                .arg(escaped(t.path), escaped(t.target->errorString())));
        end(key, ZS_REASON_SERVER_ERROR, "cannot write file");
        return;
    }
    finalProgress(t);
    end(key, ZS_REASON_SUCCESS, "success");
}

// ---- both ----------------------------------------------------------------------------------

void Files::progress(Transfer &t, qint64 done)
{
    // The final step is reported once the transfer has succeeded.
    if (done < 0 || (t.total > 0 && done >= t.total))
        return;
    const qint64 step = qMax(kProgressStep, t.total / kProgressCount);
    if (t.reported >= 0 && done - t.reported < step)
        return;
    if (t.reported < 0 && done < step)
        return;
    t.reported = done;
    invoke(&ZS_MessageCallBack::onRateOfProgressAttach, t.key,
           static_cast<unsigned long long>(done), static_cast<unsigned long long>(t.total),
           static_cast<const ZS_MessageInfo *>(t.record.get()));
}

void Files::finalProgress(Transfer &t)
{
    t.reported = t.total;
    invoke(&ZS_MessageCallBack::onRateOfProgressAttach, t.key,
           static_cast<unsigned long long>(t.total), static_cast<unsigned long long>(t.total),
           static_cast<const ZS_MessageInfo *>(t.record.get()));
}

void Files::cancel(unsigned int key)
{
    if (find(key))
        end(key, ReasonCancelled, "cancelled");
}

void Files::end(unsigned int key, int reason, const char *status)
{
    const auto it = m_transfers.find(key);
    if (it == m_transfers.end())
        return;
    std::unique_ptr<Transfer> t = std::move(it->second);
    m_transfers.erase(it);
    if (transferKeys::take(key)) {
        reason = ReasonCancelled;
        status = "cancelled";
    }
    if (!t->slotRequest.isEmpty())
        m_slotRequests.remove(t->slotRequest);
    if (t->reply) {
        disconnect(t->reply, nullptr, this, nullptr);
        t->reply->abort();
        t->reply->deleteLater();
    }
    t->target.reset(); // an uncommitted file is discarded
    if (!status || !t->record)
        return; // answered elsewhere
    Engine::get().trace(QStringLiteral("transfer %1 ended: %2 %3")
                            .arg(key)
                            .arg(reason)
                            .arg(QString::fromLatin1(status)));
    if (t->upload)
        invoke(&ZS_MessageCallBack::onSendMediaFile, key, reason,
               static_cast<const ZS_MessageInfo *>(t->record.get()), status);
    else
        invoke(&ZS_MessageCallBack::onDownloadFileComplete, key, reason,
               static_cast<const ZS_MessageInfo *>(t->record.get()));
}

void Files::endAll(int reason, const char *status, bool onlyWaiting)
{
    std::vector<unsigned int> keys;
    for (const auto &entry : m_transfers)
        if (!onlyWaiting || entry.second->waiting || !entry.second->slotRequest.isEmpty())
            keys.push_back(entry.first);
    for (unsigned int key : keys)
        end(key, reason, status);
}

} // namespace zsxmpp
