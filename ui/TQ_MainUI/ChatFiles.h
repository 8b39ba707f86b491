#pragma once

#include "tq_mainui_export.h"

#include <QSet>
#include <QString>

// Where the chat keeps files, and the names it gives them. Names come from remote parties:
// nothing in them may lead out of the folder they are saved in.
namespace ChatFiles {

// A name that is one plain file name on every system: no folders, no control characters,
// none of < > : " / \ | ? *, not "." or "..", at most 120 characters (the suffix kept).
// `fallback` when nothing is left.
TQ_MAINUI_EXPORT QString safeName(const QString &remote,
                                  const QString &fallback = QStringLiteral("file"));
// `dir`/`name`, or `dir`/`name (2).ext` and so on when that exists already or is `taken`
// (a download on its way there).
TQ_MAINUI_EXPORT QString uniquePath(const QString &dir, const QString &name,
                                    const QSet<QString> &taken = {});
// The user's folder `sub` under the per-user data root (created, owner-only), ending in '/'.
// Empty when `account` is empty or the folder cannot be made.
TQ_MAINUI_EXPORT QString userDir(const QString &account, const QString &sub);
// Whether the file is a picture this client can show.
TQ_MAINUI_EXPORT bool isPicture(const QString &path);

} // namespace ChatFiles
