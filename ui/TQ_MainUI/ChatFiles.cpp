#include "ChatFiles.h"

#include <TQFilePathMgr.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {
constexpr int kMaxName = 120;

bool forbidden(QChar c)
{
    static const QString reserved = QStringLiteral("<>:\"/\\|?*");
    return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format
        || c == QChar::LineSeparator || c == QChar::ParagraphSeparator || reserved.contains(c);
}
} // namespace

namespace ChatFiles {

QString safeName(const QString &remote, const QString &fallback)
{
    // Only what follows the last separator of either kind is a name.
    QString name = remote.mid(
        qMax(remote.lastIndexOf(QLatin1Char('/')), remote.lastIndexOf(QLatin1Char('\\'))) + 1);
    QString clean;
    clean.reserve(name.size());
    for (const QChar c : qAsConst(name))
        clean += forbidden(c) ? QChar(QLatin1Char('_')) : c;
    // Leading dots would hide the file; trailing dots and blanks vanish on Windows.
    while (clean.startsWith(QLatin1Char('.')) || clean.startsWith(QLatin1Char(' ')))
        clean.remove(0, 1);
    while (clean.endsWith(QLatin1Char('.')) || clean.endsWith(QLatin1Char(' ')))
        clean.chop(1);
    if (clean.isEmpty())
        return fallback;
    if (clean.size() > kMaxName) {
        const QString suffix = QFileInfo(clean).suffix().left(16);
        const int keep = kMaxName - (suffix.isEmpty() ? 0 : suffix.size() + 1);
        clean = clean.left(keep) + (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix);
        if (clean.at(keep - 1).isHighSurrogate())
            clean.remove(keep - 1, 1);
    }
    return clean;
}

QString uniquePath(const QString &dir, const QString &name, const QSet<QString> &taken)
{
    const QDir folder(dir);
    const auto isFree = [&taken](const QString &path) {
        return !taken.contains(path) && !QFileInfo::exists(path);
    };
    QString path = folder.filePath(name);
    if (isFree(path))
        return path;
    const QFileInfo info(name);
    const QString base = info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    for (int n = 2;; ++n) {
        path = folder.filePath(QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(suffix));
        if (isFree(path))
            return path;
    }
}

QString userDir(const QString &account, const QString &sub)
{
    const QString user = safeName(account, QString());
    if (user.isEmpty())
        return QString();
    const QString path
        = TQFilePathMgr::instance()->getRootPath() + QStringLiteral("users/%1/%2").arg(user, sub);
    if (!QDir().mkpath(path))
        return QString();
    const QFileDevice::Permissions ownerOnly
        = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    QFile::setPermissions(path, ownerOnly);
    QFile::setPermissions(QFileInfo(path).path(), ownerOnly);
    return path + QLatin1Char('/');
}

bool isPicture(const QString &path)
{
    QImageReader reader(path);
    return reader.canRead();
}

} // namespace ChatFiles
