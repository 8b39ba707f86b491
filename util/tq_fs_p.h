#pragma once

// File-system helpers shared inside TQ_Util; not installed.

#include <QString>

class QFile;

namespace tq {

// Creates the directory and any missing parents. Directories created here are owner-only;
// existing ones are left as they are (the path may be a shared directory such as /tmp).
bool ensureDir(const QString &path, QString *error);

// Opens the file for appending, creating it owner-only if it does not exist yet.
bool openOwnerOnlyAppend(QFile &file, const QString &path, QString *error);

// Creates an empty owner-only file if none exists, and takes group/other access away
// from an existing one.
bool prepareOwnerOnlyFile(const QString &path, QString *error);

} // namespace tq
