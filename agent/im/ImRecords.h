#pragma once

// Value records of the messaging family: the message carried by every message signal, its
// plain twin, and the message-type codes.

#include <QMetaType>
#include <QString>

// The engine's message-type codes, passed to and from it unchanged; any int is a valid value.
// Named are the ones this library treats in a way of its own.
enum Agent_MsgType : int {
    Agent_MsgType_Type3 = 3, // a media send passes 90 as the engine's extra int
    Agent_MsgType_Type6 = 6, // a new media send passes its JSON
    Agent_MsgType_LinkCard = 8, // a shared link; received as a file, its card as JSON
    Agent_MsgType_WithdrawNotice = 25, // an own message was withdrawn
    Agent_MsgType_ConfMessage = 50 // a conference message (sig_onReceiveConfMessage)
};
Q_DECLARE_METATYPE(Agent_MsgType)

// One message. Texts start empty but not null; numbers at 0. Fields marked "copied" are the
// engine's: carried unchanged, not interpreted.
struct ChatMsgData
{
    int msgType = 0; // an Agent_MsgType code
    QString msgId = QStringLiteral("");
    QString dateCreated = QStringLiteral(""); // the engine's text; pre-send: ms since the epoch
    QString sender = QStringLiteral("");
    QString receiver = QStringLiteral(""); // an account, or a group id (begins with "g")
    QString msgContent = QStringLiteral("");
    QString userData = QStringLiteral(""); // link card (type 8) received as a file: its JSON
    QString auxText1 = QStringLiteral(""); // copied
    QString fileName = QStringLiteral("");
    QString sessionId = QStringLiteral("");
    QString fileUrl = QStringLiteral("");
    QString auxText2 = QStringLiteral(""); // copied
    int sessionType = 0; // 1: a group
    qint64 fileSize = 0;
    qint64 auxSize = 0; // copied
    int auxInt1 = 0; // copied
    int auxInt2 = 0; // copied
    int auxInt3 = 0; // copied
    int isOfflinePush = 0;
    int isHint = 0;
    int isSyncMsg = 0;
    int isReceiveOfflineMsg = 0;
    QString title = QStringLiteral(""); // link card
    QString imgPath = QStringLiteral("");
    QString desc = QStringLiteral("");
    QString url = QStringLiteral("");
    qint64 originFileSize = 0; // as the sending side reported it
    int reservedInt1 = 0;
    int reservedInt2 = 0;
    int reservedInt3 = 0;
    int reservedInt4 = 0;
    int reservedInt5 = 0;
    QString reservedText1 = QStringLiteral("");
    QString localFile = QStringLiteral(""); // outgoing media: the local file
    int sendStatus = 0; // pre-send: -1
    QString reservedText2 = QStringLiteral("");
    QString reservedText3 = QStringLiteral("");
    QString reservedText4 = QStringLiteral("");
    QString reservedText5 = QStringLiteral("");
    QString reservedText6 = QStringLiteral("");
    QString reservedText7 = QStringLiteral("");
    QString reservedText8 = QStringLiteral("");
    int reservedFlag = 0;

    bool operator==(const ChatMsgData &o) const
    {
        return msgType == o.msgType && msgId == o.msgId && dateCreated == o.dateCreated
            && sender == o.sender && receiver == o.receiver && msgContent == o.msgContent
            && userData == o.userData && auxText1 == o.auxText1 && fileName == o.fileName
            && sessionId == o.sessionId && fileUrl == o.fileUrl && auxText2 == o.auxText2
            && sessionType == o.sessionType && fileSize == o.fileSize && auxSize == o.auxSize
            && auxInt1 == o.auxInt1 && auxInt2 == o.auxInt2 && auxInt3 == o.auxInt3
            && isOfflinePush == o.isOfflinePush && isHint == o.isHint && isSyncMsg == o.isSyncMsg
            && isReceiveOfflineMsg == o.isReceiveOfflineMsg && title == o.title
            && imgPath == o.imgPath && desc == o.desc && url == o.url
            && originFileSize == o.originFileSize && reservedInt1 == o.reservedInt1
            && reservedInt2 == o.reservedInt2 && reservedInt3 == o.reservedInt3
            && reservedInt4 == o.reservedInt4 && reservedInt5 == o.reservedInt5
            && reservedText1 == o.reservedText1 && localFile == o.localFile
            && sendStatus == o.sendStatus && reservedText2 == o.reservedText2
            && reservedText3 == o.reservedText3 && reservedText4 == o.reservedText4
            && reservedText5 == o.reservedText5 && reservedText6 == o.reservedText6
            && reservedText7 == o.reservedText7 && reservedText8 == o.reservedText8
            && reservedFlag == o.reservedFlag;
    }
    bool operator!=(const ChatMsgData &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(ChatMsgData)

// The message's fields without the link card, the local ones and most reserved ones. Carried
// by no signal; kept for the windows that store messages in this shape.
struct Agent_Message
{
    int msgType = 0;
    QString msgId = QStringLiteral("");
    QString dateCreated = QStringLiteral("");
    QString sender = QStringLiteral("");
    QString receiver = QStringLiteral("");
    QString msgContent = QStringLiteral("");
    QString userData = QStringLiteral("");
    QString auxText1 = QStringLiteral("");
    QString fileName = QStringLiteral("");
    QString sessionId = QStringLiteral("");
    QString fileUrl = QStringLiteral("");
    QString auxText2 = QStringLiteral("");
    int sessionType = 0;
    qint64 fileSize = 0;
    qint64 auxSize = 0;
    int auxInt1 = 0;
    int auxInt2 = 0;
    int auxInt3 = 0;
    int isOfflinePush = 0;
    int isHint = 0;
    int isSyncMsg = 0;
    int isReceiveOfflineMsg = 0;
    int reservedInt0 = 0;

    bool operator==(const Agent_Message &o) const
    {
        return msgType == o.msgType && msgId == o.msgId && dateCreated == o.dateCreated
            && sender == o.sender && receiver == o.receiver && msgContent == o.msgContent
            && userData == o.userData && auxText1 == o.auxText1 && fileName == o.fileName
            && sessionId == o.sessionId && fileUrl == o.fileUrl && auxText2 == o.auxText2
            && sessionType == o.sessionType && fileSize == o.fileSize && auxSize == o.auxSize
            && auxInt1 == o.auxInt1 && auxInt2 == o.auxInt2 && auxInt3 == o.auxInt3
            && isOfflinePush == o.isOfflinePush && isHint == o.isHint && isSyncMsg == o.isSyncMsg
            && isReceiveOfflineMsg == o.isReceiveOfflineMsg && reservedInt0 == o.reservedInt0;
    }
    bool operator!=(const Agent_Message &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_Message)
