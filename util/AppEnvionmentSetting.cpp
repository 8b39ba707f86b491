#include "AppEnvionmentSetting.h"

#include "TQLog.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

namespace {

// Keys of the [General] section are top-level keys in QSettings' INI mapping.
constexpr char kLanguage[] = "Language";
constexpr char kMultiClients[] = "MultiClients";
constexpr char kTraceLevel[] = "SDK/TraceLevel";

// A list ("1,2") or an @-encoded value is not a plain scalar.
bool scalarText(const QVariant &value, QString *text)
{
    if (value.userType() != QMetaType::QString)
        return false;
    *text = value.toString().trimmed();
    return true;
}

bool readInt(const QSettings &s, const char *keyName, int *out, QStringList *problems)
{
    const QString key = QLatin1String(keyName);
    if (!s.contains(key))
        return false;
    const QVariant value = s.value(key);
    QString text;
    bool ok = scalarText(value, &text);
    const int n = ok ? text.toInt(&ok) : 0;
    if (!ok) {
        problems->append(QStringLiteral("%1 is not an integer").arg(key));
        return false;
    }
    *out = n;
    return true;
}

bool readBool(const QSettings &s, const char *keyName, bool *out, QStringList *problems)
{
    const QString key = QLatin1String(keyName);
    if (!s.contains(key))
        return false;
    QString text;
    if (scalarText(s.value(key), &text)) {
        text = text.toLower();
        if (text == QLatin1String("true") || text == QLatin1String("1")
            || text == QLatin1String("yes") || text == QLatin1String("on")) {
            *out = true;
            return true;
        }
        if (text == QLatin1String("false") || text == QLatin1String("0")
            || text == QLatin1String("no") || text == QLatin1String("off")) {
            *out = false;
            return true;
        }
    }
    problems->append(QStringLiteral("%1 is not a boolean").arg(key));
    return false;
}

// Checks what QSettings would pass over in silence: a directory or unreadable file reads as
// empty, and so does binary junk.
QString unreadableReason(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return QStringLiteral("not a regular file");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot be read (%1)").arg(file.errorString());
    if (file.read(64 * 1024).contains('\0'))
        return QStringLiteral("not a text file");
    return QString();
}

} // namespace

AppEnvionmentSetting *AppEnvionmentSetting::instance()
{
    static AppEnvionmentSetting s_instance;
    return &s_instance;
}

QString AppEnvionmentSetting::configFilePath() const
{
    const QString fromEnv = qEnvironmentVariable("TQ_CONFIG_FILE");
    if (!fromEnv.isEmpty())
        return fromEnv;
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
        + QStringLiteral("/AppEnvionment.ini");
}

void AppEnvionmentSetting::initConfig()
{
    QMutexLocker lock(&m_mutex);
    loadLocked();
}

void AppEnvionmentSetting::loadLocked()
{
    m_loaded = true;
    // Start from the defaults so a reload never keeps values from an earlier file.
    m_config = AppEnvionmentConfig();

    const QString path = configFilePath();
    if (!QFileInfo::exists(path)) {
        g_Log->LogInfo(QStringLiteral("Settings file %1 not found; using the defaults").arg(path));
        return;
    }

    QStringList problems;
    const QString unreadable = unreadableReason(path);
    if (!unreadable.isEmpty()) {
        problems.append(unreadable);
    } else {
        const QSettings s(path, QSettings::IniFormat);
        if (s.status() == QSettings::AccessError)
            problems.append(QStringLiteral("cannot be read"));
        else if (s.status() == QSettings::FormatError)
            problems.append(QStringLiteral("malformed"));
        // Whatever QSettings still made out of a damaged file is used if valid.
        readInt(s, kLanguage, &m_config.m_language, &problems);
        readBool(s, kMultiClients, &m_config.m_mutilClients, &problems);
        readInt(s, kTraceLevel, &m_config.m_sdkTraceLevel, &problems);
    }

    if (!problems.isEmpty()) {
        g_Log->LogError(QStringLiteral("Settings file %1: %2; defaults used where unreadable")
                            .arg(path, problems.join(QStringLiteral("; "))));
        return;
    }
    g_Log->LogInfo(
        QStringLiteral("Settings loaded from %1: Language=%2 MultiClients=%3 "
                       "TraceLevel=%4")
            .arg(path)
            .arg(m_config.m_language)
            .arg(m_config.m_mutilClients ? QStringLiteral("true") : QStringLiteral("false"))
            .arg(m_config.m_sdkTraceLevel));
}

void AppEnvionmentSetting::ensureLoadedLocked() const
{
    // Loaded on first use when nobody called initConfig(); the singleton is never const.
    if (!m_loaded)
        const_cast<AppEnvionmentSetting *>(this)->loadLocked();
}

int AppEnvionmentSetting::getConfigLanguage() const
{
    QMutexLocker lock(&m_mutex);
    ensureLoadedLocked();
    return m_config.m_language;
}

bool AppEnvionmentSetting::getAppEnvionmentIsMutilClients() const
{
    QMutexLocker lock(&m_mutex);
    ensureLoadedLocked();
    return m_config.m_mutilClients;
}

AppEnvionmentConfig *AppEnvionmentSetting::getAppEnvionmentConfig()
{
    QMutexLocker lock(&m_mutex);
    ensureLoadedLocked();
    return &m_config;
}
