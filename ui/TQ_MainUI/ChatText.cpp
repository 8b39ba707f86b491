#include "ChatText.h"

#include <TqEngineText.h>

namespace {
// A text as one list row: line breaks and runs of blanks become one blank.
QString oneLine(const QString &text)
{
    return text.simplified();
}
} // namespace

QString ChatText::preview(const ChatMessage &m, const QString &peerName)
{
    if (m.withdrawn)
        return withdrawn(m, peerName);
    if (m.system)
        return oneLine(m.text);
    switch (m.kind) {
    case ChatMessage::Kind::Text:
        return oneLine(m.text);
    case ChatMessage::Kind::File:
        return tr("[File] %1").arg(m.fileName);
    case ChatMessage::Kind::Picture:
        return tr("[Picture]");
    case ChatMessage::Kind::Voice:
        return m.voiceMs >= 0 ? tr("[Voice note] %1").arg(voiceLength(m.voiceMs))
                              : tr("[Voice note]");
    case ChatMessage::Kind::LinkCard:
        return tr("[Link] %1").arg(oneLine(m.linkTitle.isEmpty() ? m.linkUrl : m.linkTitle));
    case ChatMessage::Kind::Unsupported:
        break;
    }
    return unsupported();
}

QString ChatText::status(const ChatMessage &m)
{
    switch (m.status) {
    case ChatMessage::Status::Received:
        return QString();
    case ChatMessage::Status::Pending:
        return tr("Sending…");
    case ChatMessage::Status::Sent:
        return m.readByPeer ? tr("Read") : tr("Sent");
    case ChatMessage::Status::Failed:
        if (m.reason == ChatReason::Cancelled)
            return tr("Cancelled");
        return m.reason == 0 ? tr("Not sent")
                             : tr("Not sent: %1").arg(TqEngineText::error(m.reason));
    }
    return QString();
}

QString ChatText::withdrawn(const ChatMessage &m, const QString &peerName)
{
    return m.outgoing ? tr("You withdrew a message") : tr("%1 withdrew a message").arg(peerName);
}

QString ChatText::shortTime(const QDateTime &time, const QDateTime &now)
{
    if (!time.isValid())
        return QString();
    const QString clock = time.toString(QStringLiteral("hh:mm"));
    const QDate day = time.date();
    if (day == now.date())
        return clock;
    if (day == now.date().addDays(-1))
        return tr("Yesterday %1").arg(clock);
    if (day.year() == now.date().year())
        return time.toString(QStringLiteral("MM-dd hh:mm"));
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

QString ChatText::fullTime(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QString ChatText::size(qint64 bytes)
{
    if (bytes < 1024)
        return tr("%1 B").arg(qMax<qint64>(0, bytes));
    if (bytes < 1024 * 1024)
        return tr("%1 KB").arg(QString::number(double(bytes) / 1024.0, 'f', bytes < 10240 ? 1 : 0));
    if (bytes < 1024LL * 1024 * 1024)
        return tr("%1 MB").arg(QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1));
    return tr("%1 GB").arg(QString::number(double(bytes) / (1024.0 * 1024.0 * 1024.0), 'f', 1));
}

QString ChatText::voiceLength(int ms)
{
    // Rounded up: a note of 0.4 s still reads as one second.
    const int seconds = qMax(1, (qMax(0, ms) + 999) / 1000);
    if (seconds < 60)
        return tr("%1″").arg(seconds);
    return tr("%1′%2″").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString ChatText::unsupported()
{
    return tr("[A message this version cannot show]");
}
