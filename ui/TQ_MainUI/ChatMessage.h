#pragma once

#include "tq_mainui_export.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>

// The message-type codes this client sends and reads; the engine passes them through.
namespace ChatType {
constexpr int Text = 1;
constexpr int Voice = 2;
constexpr int Picture = 3;
constexpr int File = 7;
constexpr int LinkCard = 8;
constexpr int WithdrawNotice = 25;
// A peer has read one of the user's messages: an operate notice carrying the read message's id.
constexpr int ReadNotice = 26;
constexpr int Conference = 50;
} // namespace ChatType

// Engine reasons the chat tells apart.
namespace ChatReason {
constexpr int Success = 200;
constexpr int Cancelled = 487;
} // namespace ChatReason

// One message of a conversation as the chat shows it: what it says, where its sending or
// transfer stands, and what has happened to it since (withdrawn, read).
struct TQ_MAINUI_EXPORT ChatMessage
{
    enum class Kind { Text, File, Picture, Voice, LinkCard, Unsupported };
    enum class Status {
        Received, // a message from the peer
        Pending, // handed to the agent, no answer yet
        Sent,
        Failed // `reason` says why; ChatReason::Cancelled when the user stopped the upload
    };
    enum class Transfer {
        None, // nothing moved yet (a received file not downloaded)
        Running, // `done` of `total` bytes
        Done, // the file is at `localFile`
        Failed
    };

    QString key; // this client's own id, stable while the engine's id changes (retry)
    QString msgId; // the engine's id; empty until the engine gives one
    QString token; // user data of an own message, to recognise the engine's answers
    QString peer; // the conversation
    QString sender;
    QString senderName; // in a group: who wrote it, as shown above the bubble
    bool outgoing = false;
    // A line about the conversation itself (a group's member joined, left, ...), not a message.
    bool system = false;
    int type = ChatType::Text;
    Kind kind = Kind::Text;
    QString text;
    QDateTime time;

    Status status = Status::Received;
    int reason = 0; // the engine's code of a failure

    Transfer transfer = Transfer::None;
    int transferKey = -1; // the key progress reports carry, needed to cancel
    qint64 done = 0;
    qint64 total = 0;
    QString fileName; // as shown
    QString localFile;
    QString fileUrl;
    qint64 fileSize = 0;

    QString linkTitle;
    QString linkDesc;
    QString linkUrl;
    QString linkImage;
    QString json; // sent with a link card

    int voiceMs = -1; // unknown until the engine measured the note
    bool playing = false;

    bool withdrawn = false;
    bool seen = false; // a received message the user has had in view
    bool readByPeer = false; // an own message the peer has read

    bool isMedia() const
    {
        return kind == Kind::File || kind == Kind::Picture || kind == Kind::Voice;
    }
    bool canRetry() const { return outgoing && status == Status::Failed && !withdrawn; }
    bool canWithdraw() const
    {
        return outgoing && status == Status::Sent && !withdrawn && !msgId.isEmpty();
    }
    bool canCancel() const { return transfer == Transfer::Running && transferKey >= 0; }
    bool canDownload() const
    {
        return !outgoing && isMedia() && !withdrawn && !fileUrl.isEmpty()
            && (transfer == Transfer::None || transfer == Transfer::Failed);
    }
    // Own media are local from the start; received ones once downloaded.
    bool hasLocalFile() const
    {
        return !localFile.isEmpty() && (outgoing || transfer == Transfer::Done);
    }
    // Received and not yet in view: what the unread counts count.
    bool isUnread() const { return !outgoing && !seen && !withdrawn && !system; }
};
Q_DECLARE_METATYPE(ChatMessage)
