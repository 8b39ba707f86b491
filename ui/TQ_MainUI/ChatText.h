#pragma once

#include "ChatMessage.h"
#include "tq_mainui_export.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

// The chat's words: previews, states, times, sizes.
class TQ_MAINUI_EXPORT ChatText
{
    Q_DECLARE_TR_FUNCTIONS(ChatText)

public:
    // One line about a message for the conversation list ("[File] report.pdf").
    static QString preview(const ChatMessage &m, const QString &peerName);
    // The line under an own message: sending, sent, read or why it failed; empty for
    // received messages.
    static QString status(const ChatMessage &m);
    static QString withdrawn(const ChatMessage &m, const QString &peerName);
    // "14:05" today, "Yesterday 14:05", "03-18 14:05" this year, else with the year.
    static QString shortTime(const QDateTime &time, const QDateTime &now);
    static QString fullTime(const QDateTime &time);
    static QString size(qint64 bytes);
    // A voice note's length: 3″, 1′05″.
    static QString voiceLength(int ms);
    static QString unsupported();
};
