// File transfers: media messages over HTTP File Upload, downloads, cancelling.

#include "XmppCommon.h"
#include "XmppEngine.h"
#include "XmppFiles.h"
#include "XmppSession.h"

#include <Utf8Field.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>

using namespace zsxmpp;

namespace {

// Runs fn with the session's files on the engine's thread; false when the engine stopped.
template<class Fn> bool postToFiles(Fn fn)
{
    return Engine::get().post([fn = std::move(fn)] {
        if (Session *session = Engine::get().session())
            fn(session->files());
    });
}

// A link card's fields, from the JSON a media send of type 8 passes.
void readLinkCard(UploadRequest &request, const char *jsonString)
{
    const QJsonObject card
        = QJsonDocument::fromJson(QByteArray(jsonString ? jsonString : "")).object();
    request.title = card.value(QLatin1String("title")).toString();
    request.imgPath = card.value(QLatin1String("imgPath")).toString();
    request.desc = card.value(QLatin1String("desc")).toString();
    request.url = card.value(QLatin1String("url")).toString();
}

int sendMedia(const char *function, unsigned int *matchKey, const char *receiver,
              const char *fileName, int type, const char *userdata, char *msgIdBuf,
              const char *jsonString)
{
    if (const int refused = sessionCheck())
        return refused;
    UploadRequest request;
    request.receiver = text(receiver).trimmed();
    request.path = text(fileName);
    if (request.receiver.isEmpty() || request.path.isEmpty())
        return ZS_ERR_INVALID_ARGUMENT;
    // Read when asked: a file that cannot be read is refused now.
    QFile file(request.path);
    if (!QFileInfo(request.path).isFile() || !file.open(QIODevice::ReadOnly))
        return ZS_ERR_NOT_FOUND;
    request.size = file.size();
    file.close();
    request.msgType = type;
    request.userData = text(userdata);
    if (type == 8)
        readLinkCard(request, jsonString);
    request.msgId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    request.key = issueKey(matchKey);
    transferKeys::add(request.key);
    Engine::get().trace(QStringLiteral("%1 key=%2 to=%3 file=%4 type=%5")
                            .arg(QLatin1String(function))
                            .arg(request.key)
                            .arg(escaped(request.receiver), escaped(request.path))
                            .arg(type));
    // Before the first answer can come.
    if (msgIdBuf) {
        const QByteArray id = request.msgId.toUtf8();
        tq::copyUtf8Field(msgIdBuf, ZS_MSG_ID_BUFFER_SIZE, id.constData(), std::size_t(id.size()));
    }
    if (!postToFiles([request](Files &files) { files.upload(request); })) {
        transferKeys::take(request.key);
        return ZS_ERR_NOT_INITIALIZED;
    }
    return ZS_OK;
}

} // namespace

extern "C" {

int SendMediaMessage(unsigned int *matchKey, const char *receiver, const char *fileName, int type,
                     const char *userdata, char *msgIdBuf)
{
    return sendMedia("SendMediaMessage", matchKey, receiver, fileName, type, userdata, msgIdBuf,
                     nullptr);
}

int SendMediaMessageEX(unsigned int *matchKey, const char *receiver, const char *fileName, int type,
                       const char *userdata, char *msgIdBuf, const char *offsetJson,
                       const char *jsonString, int extra, const char *uuid, const char *last)
{
    // A retry uploads the file again from its start: a slot serves one complete PUT.
    (void)offsetJson;
    (void)extra;
    (void)uuid;
    (void)last;
    return sendMedia("SendMediaMessageEX", matchKey, receiver, fileName, type, userdata, msgIdBuf,
                     jsonString);
}

int DownloadFileMessage(unsigned int *matchKey, const char *sender, const char *recv,
                        const char *url, const char *fileName, const char *msgId, int type)
{
    if (const int refused = sessionCheck())
        return refused;
    DownloadRequest request;
    request.url = text(url).trimmed();
    request.path = text(fileName);
    if (request.url.isEmpty() || request.path.isEmpty())
        return ZS_ERR_INVALID_ARGUMENT;
    request.sender = text(sender);
    request.receiver = text(recv);
    request.msgId = text(msgId);
    request.msgType = type;
    request.key = issueKey(matchKey);
    transferKeys::add(request.key);
    Engine::get().trace(QStringLiteral("DownloadFileMessage key=%1 file=%2 type=%3")
                            .arg(request.key)
                            .arg(escaped(request.path))
                            .arg(type));
    if (!postToFiles([request](Files &files) { files.download(request); })) {
        transferKeys::take(request.key);
        return ZS_ERR_NOT_INITIALIZED;
    }
    return ZS_OK;
}

int CancelUploadOrDownloadNOW(unsigned int matchKey)
{
    if (!Engine::get().running())
        return ZS_ERR_NOT_INITIALIZED;
    Engine::get().trace(QStringLiteral("CancelUploadOrDownloadNOW key=%1").arg(matchKey));
    // Marked now, so that the transfer cannot finish otherwise; stopped on the engine's thread.
    if (!transferKeys::cancel(matchKey))
        return ZS_ERR_NOT_FOUND;
    postToFiles([matchKey](Files &files) { files.cancel(matchKey); });
    return ZS_OK;
}

} // extern "C"
