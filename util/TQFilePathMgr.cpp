#include "TQFilePathMgr.h"

#include "TQLog.h"
#include "tq_fs_p.h"

#include <QDir>
#include <QStandardPaths>

TQFilePathMgr *TQFilePathMgr::instance()
{
    static TQFilePathMgr s_instance;
    return &s_instance;
}

QString TQFilePathMgr::getRootPath() const
{
    return subDir(nullptr);
}

QString TQFilePathMgr::getLocalSdkLogPath() const
{
    return subDir("sdklog");
}

QString TQFilePathMgr::getUserHeadFilePath() const
{
    return subDir("head");
}

QString TQFilePathMgr::getLogPath() const
{
    return subDir("log");
}

QString TQFilePathMgr::getDatabasePath() const
{
    return subDir("db");
}

QString TQFilePathMgr::subDir(const char *name) const
{
    // Read on every call: tests and tools point TQ_DATA_DIR elsewhere at run time.
    QString root = qEnvironmentVariable("TQ_DATA_DIR");
    if (root.isEmpty()) {
        QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        if (base.isEmpty())
            base = QDir::homePath() + QStringLiteral("/.local/share");
        root = base + QStringLiteral("/TQ");
    }
    QString path = QDir(root).absolutePath();
    if (name)
        path += QLatin1Char('/') + QLatin1String(name);
    path = QDir::cleanPath(path);

    QString error;
    if (!tq::ensureDir(path, &error))
        g_Log->LogError(QStringLiteral("TQFilePathMgr: %1").arg(error));

    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}
