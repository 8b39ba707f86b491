#pragma once

// Small pieces every request family of the engine uses: reading the caller's texts, filling
// fixed fields of the callback records, match keys, and the session check.

#include "ZSsdk.h"

#include <Utf8Field.h>

#include <QByteArray>
#include <QList>
#include <QSslCertificate>
#include <QString>

#include <cstddef>
#include <memory>

namespace zsxmpp {

// A caller's NUL-terminated UTF-8 text; null reads as empty.
inline QString text(const char *utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

// A caller's text of at most `width` bytes (a fixed field), up to its NUL.
inline QString fieldText(const char *field, std::size_t width)
{
    return field ? QString::fromUtf8(field, int(qstrnlen(field, uint(width)))) : QString();
}
template<std::size_t N> QString fieldText(const char (&field)[N])
{
    return fieldText(field, N);
}

// Fills a fixed field: cut at a character boundary, NUL, zero fill.
template<std::size_t N> void putBytes(char (&field)[N], const QByteArray &bytes)
{
    tq::copyUtf8Field(field, N, bytes.constData(), std::size_t(bytes.size()));
}
template<std::size_t N> void put(char (&field)[N], const QString &value)
{
    putBytes(field, value.toUtf8());
}

// A zero-filled record for a callback, on the heap (message records are 46 KB).
template<class Record> std::unique_ptr<Record> makeRecord()
{
    return std::unique_ptr<Record>(new Record());
}

// A fresh non-zero key written to *matchKey (when given); also returned.
unsigned int issueKey(unsigned int *matchKey);

// 0 when a request can go out now; 1001 before Initialize, 1003 without a connected session.
int sessionCheck();

// The CAs trusted besides the system's, for the XMPP stream and HTTPS: the PEM file named by
// TQ_XMPP_CA_FILE (scripts/server.sh makes one); empty when unset or unreadable.
QList<QSslCertificate> trustedCas();

// A value from outside as a trace line shows it: quoted, control characters as \xNN.
QString escaped(const QString &value);

} // namespace zsxmpp
