#pragma once

// xmpp_peer: one user of the XMPP engine in a process of its own, driven by the tests.
// Each line on stdin is a command: a name and arguments separated by spaces, each argument
// percent-encoded (so texts may hold spaces and line breaks). Every engine callback and every
// command's return is one JSON object on a line of stdout. A command area registers its
// commands with TQ_PEER_COMMAND in a peer_<area>.cpp of its own.

#include "ZSsdk.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace peer {

using Command = std::function<void(const QStringList &args)>;

bool addCommand(const char *name, Command command);

// Prints one event line; safe from any thread.
void emitEvent(const QString &event, QJsonObject fields = {});
// The line every command answers with: {"ev":"ret","cmd":<name>,"ret":<code>, ...fields}.
void emitReturn(const QString &command, int code, QJsonObject fields = {});

// The fields of a message record, read up to their widths.
QJsonObject messageFields(const ZS_MessageInfo *msg);
QJsonObject personStateFields(const ZS_PersonState &state);

// Argument k, or empty.
QString arg(const QStringList &args, int k);

// A record's text field as a caller fills it: UTF-8, cut at the field's last byte with a NUL.
template<std::size_t N> void fill(char (&field)[N], const QString &text)
{
    qstrncpy(field, text.toUtf8().constData(), uint(N));
}

} // namespace peer

#define TQ_PEER_CONCAT2(a, b) a##b
#define TQ_PEER_CONCAT(a, b) TQ_PEER_CONCAT2(a, b)
#define TQ_PEER_COMMAND(name, fn)                                                                  \
    static const bool TQ_PEER_CONCAT(peer_command_, __LINE__) = peer::addCommand(name, fn);
