#pragma once

#include "tq_util_global.h"

#include <QString>

namespace tq {

// Appends a value from outside (a remote party's name, an engine id, user data) to a log
// text with its control characters escaped: "\n", "\r", "\t"; the other C0 characters, DEL
// and the C1 characters as "\x00".."\x9f"; the line and paragraph separators as "\u2028" and
// "\u2029". No value can then end a log entry or start a new one that reads like a genuine
// line. Backslashes stay as they are, so Windows paths remain readable.
TQ_UTIL_EXPORT void appendLogValue(QString &out, const QString &value);
TQ_UTIL_EXPORT QString logValue(const QString &value);

} // namespace tq
