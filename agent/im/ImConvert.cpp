#include "ImConvert.h"

#include <FixedField.h>

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

namespace im {

namespace {

// Sessions with a group begin with a lower-case "g"; "G" is an ordinary account.
int sessionTypeOf(const QString &receiver)
{
    return receiver.startsWith(QLatin1Char('g'), Qt::CaseSensitive) ? 1 : 0;
}

// An empty field keeps the message's empty text: most fields of a message are empty, and
// each text read would cost an allocation.
template<std::size_t N> void readText(QString &text, const char (&field)[N])
{
    if (field[0] != '\0')
        text = tq::readField(field);
}

ChatMsgData preSend(const QString &receiver, int type, const QString &userdata,
                    const char (&msgIdBuf)[ZS_MSG_ID_BUFFER_SIZE])
{
    ChatMsgData msg;
    msg.msgType = type;
    msg.msgId = tq::readField(msgIdBuf); // an id of 128 bytes has no NUL
    msg.dateCreated = QString::number(QDateTime::currentMSecsSinceEpoch());
    msg.receiver = receiver;
    msg.sessionId = receiver;
    msg.userData = userdata;
    msg.isOfflinePush = 0;
    msg.sendStatus = -1;
    msg.sessionType = sessionTypeOf(receiver);
    return msg;
}

} // namespace

ChatMsgData fromEngine(const ZS_MessageInfo &r)
{
    ChatMsgData msg;
    msg.msgType = r.msgType;
    readText(msg.msgId, r.msgId);
    readText(msg.dateCreated, r.dateCreated);
    readText(msg.sender, r.sender);
    readText(msg.receiver, r.receiver);
    readText(msg.msgContent, r.msgContent);
    readText(msg.userData, r.userData);
    readText(msg.auxText1, r.auxText1);
    readText(msg.fileName, r.fileName);
    readText(msg.sessionId, r.sessionId);
    readText(msg.fileUrl, r.fileUrl);
    readText(msg.auxText2, r.auxText2);
    msg.sessionType = r.sessionType;
    msg.fileSize = r.fileSize;
    msg.auxSize = r.auxSize;
    msg.auxInt1 = r.auxInt1;
    msg.auxInt2 = r.auxInt2;
    msg.auxInt3 = r.auxInt3;
    msg.isOfflinePush = r.isOfflinePush;
    msg.isHint = r.isHint;
    msg.isSyncMsg = r.isSyncMsg;
    msg.isReceiveOfflineMsg = r.isReceiveOfflineMsg;
    readText(msg.title, r.title);
    readText(msg.imgPath, r.imgPath);
    readText(msg.desc, r.desc);
    readText(msg.url, r.url);
    msg.originFileSize = r.originFileSize;
    return msg;
}

ChatMsgData preSendText(const QString &receiver, const QString &message, int type,
                        const QString &userdata, const char (&msgIdBuf)[ZS_MSG_ID_BUFFER_SIZE])
{
    ChatMsgData msg = preSend(receiver, type, userdata, msgIdBuf);
    msg.msgContent = message;
    return msg;
}

ChatMsgData preSendMedia(const QString &receiver, const QString &fileName, int type,
                         const QString &userdata, const char (&msgIdBuf)[ZS_MSG_ID_BUFFER_SIZE])
{
    ChatMsgData msg = preSend(receiver, type, userdata, msgIdBuf);
    msg.fileName = fileName;
    msg.localFile = fileName;
    return msg;
}

QString linkCardJson(const ChatMsgData &msg)
{
    QJsonObject card;
    card.insert(QStringLiteral("imgPath"), msg.imgPath);
    card.insert(QStringLiteral("title"), msg.title);
    card.insert(QStringLiteral("url"), msg.url);
    card.insert(QStringLiteral("desc"), msg.desc);
    return QString::fromUtf8(QJsonDocument(card).toJson(QJsonDocument::Compact));
}

tq::LogBlock &appendMessage(tq::LogBlock &block, const ChatMsgData &msg, Lines lines)
{
    block.field("msgType", msg.msgType)
        .field("msgId", msg.msgId)
        .field("dateCreated", msg.dateCreated)
        .field("sender", msg.sender)
        .field("receiver", msg.receiver)
        .field("sessionId", msg.sessionId)
        .field("sessionType", msg.sessionType)
        .field("msgContent", msg.msgContent)
        .field("userData", msg.userData);
    if (lines == Lines::File) {
        block.field("fileName", msg.fileName)
            .field("fileUrl", msg.fileUrl)
            .field("fileSize", msg.fileSize)
            .field("originFileSize", msg.originFileSize);
    }
    return block.field("isOfflinePush", msg.isOfflinePush)
        .field("isReceiveOfflineMsg", msg.isReceiveOfflineMsg)
        .field("isSyncMsg", msg.isSyncMsg)
        .field("isHint", msg.isHint);
}

} // namespace im
