#pragma once

// The stand-in engine's model of messages: what the server keeps (sent and received messages,
// uploaded files, messages waiting for a user who is offline, top contacts, read receipts),
// the simulated contacts' side, transfers, and voice notes. Tests read and change it under
// the engine's lock through zssim::Control::withServer.

#include <ZSsdk.h>

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>

struct MessageModel
{
    // One message, with the fields of ZS_MessageInfo the server fills. Empty ids, dates and
    // sessions are filled in when the message is sent or injected.
    struct Message
    {
        int msgType = 1;
        QString msgId;
        QString dateCreated; // "yyyy-MM-dd hh:mm:ss"
        QString sender;
        QString receiver; // an account, or a group id (begins with "g")
        QString sessionId; // the other party, or the group
        QString msgContent;
        QString userData;
        QString fileName;
        QString fileUrl;
        qint64 fileSize = 0;
        QString title; // link card (type 8)
        QString imgPath;
        QString desc;
        QString url;
        bool withdrawn = false;
    };

    // A running upload or download, by its key.
    struct Transfer
    {
        bool upload = true;
        bool cancelled = false;
        std::function<void()> parked; // the next step, while transfers are held
    };

    struct Voice
    {
        bool recording = false;
        QString file; // where the recording is written when it stops
        QString sessionId;
        int recordMs = 1000; // length of the tone a recording writes
        bool playing = false;
        QString playingSession;
        // Playing ends at once with onFinishedPlaying(200) unless held; a held note plays
        // until StopVoiceMsg (487) or zssim::finishPlaying.
        bool holdPlayback = false;
    };

    QList<Message> history; // every message sent or received, in order
    QMap<QString, QList<Message>> inbox; // what each simulated contact received
    QMap<QString, QList<Message>> offline; // kept for a user until their next login
    QMap<QString, QByteArray> files; // uploaded files by download address
    QStringList topContacts;
    QSet<QString> readMessages; // ids the user has read
    QMap<QString, QStringList> receipts; // read receipts sent to each sender
    // Replies to every message it receives with a copy (same type, content and file), so a
    // client sees a receive path on its own. Empty: nobody replies.
    QString echoContact = QStringLiteral("bob");
    // The echo contact also reads what it receives: a read notice (type 26) with the read
    // message's id goes back to the user before the copy.
    bool echoSendsReadNotice = true;
    int nextMessage = 1;
    int nextFile = 1;

    // Transfers report progress every chunkSize bytes. Held transfers stop after each report
    // until zssim::releaseTransfers() (one step each) or a cancel; stepDelayMs pauses the
    // engine's thread between reports, for a progress bar a person can see
    // ($TQ_SIM_TRANSFER_DELAY_MS; 0 in tests).
    qint64 chunkSize = 64 * 1024;
    bool holdTransfers = false;
    int stepDelayMs = qEnvironmentVariableIntValue("TQ_SIM_TRANSFER_DELAY_MS");
    QMap<unsigned int, Transfer> transfers;

    // Faults and answers a test may choose: a message id of 128 bytes without a NUL, and
    // the reason onSendTextMessage answers with (0: 200, or 404 for an unknown receiver).
    bool overlongMessageId = false;
    int sendTextReason = 0;

    Voice voice;
    int confirmMsgVersionFrequency = 0;
    bool fetchMessageFromLast = false;
    struct Rect
    {
        int x = 0, y = 0, width = 0, height = 0;
    };
    QList<Rect> screenCaptures;
};

namespace zssim {

// Which entry of the message table an injected message arrives through.
enum class Inbound {
    Message, // onReceiveMessage
    OfflineMessage, // onReceiveOfflineMessage
    File, // onReceiveFile
    NoVersion, // onReceiveNoVersionMessage
    OperateNotice, // onReceiveOpreateNoticeMessage
    ServerUndefined // onReceiveServerUndefineMessage
};

// A message pushed by the server to the current user, on the engine's thread; it joins the
// history. An empty receiver is the current user. Returns the message's id.
ZSSDK_API QString injectMessage(Inbound entry, MessageModel::Message message);
// Keeps a message for `user`, delivered at their next login (count, messages, complete).
ZSSDK_API QString addOfflineMessage(const QString &user, MessageModel::Message message);
// A contact withdraws a message they sent: the server announces it as a notice of type 25.
ZSSDK_API void injectWithdrawal(const QString &from, const QString &msgId);
// A contact has read a message the user sent: the server announces it as a notice of type 26.
ZSSDK_API void injectReadReceipt(const QString &from, const QString &msgId);
// Events of the recording in progress: its level, and its time limit (which stops it and
// writes the file). False when nothing is being recorded.
ZSSDK_API bool injectRecordingAmplitude(double amplitude);
ZSSDK_API bool injectRecordingTimeOut(int ms);
// A held voice note ends by itself (onFinishedPlaying with `reason`).
ZSSDK_API bool finishPlaying(int reason = ZS_REASON_SUCCESS);
// Each held transfer takes its next step (and runs to its end once holdTransfers is off).
ZSSDK_API void releaseTransfers();
// The next matchKey the engine hands out (keys of 2^31 and above included).
ZSSDK_API void setNextMatchKey(unsigned int key);
// The record a callback receives for `message`, as the engine fills it.
ZSSDK_API void fillMessageRecord(ZS_MessageInfo &record, const MessageModel::Message &message);
// A WAV file of `ms` milliseconds of tone, as a recording writes it; false if not written.
ZSSDK_API bool writeVoiceNote(const QString &path, int ms);

} // namespace zssim
