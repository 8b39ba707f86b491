#include "LoginSettings.h"

#include <AppEnvionmentSetting.h>

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
const QString kAccount = QStringLiteral("Login/Account");
const QString kServer = QStringLiteral("Login/Server");
const QString kPort = QStringLiteral("Login/Port");
const QString kEnvironment = QStringLiteral("Login/Environment");
// A top-level key is [General] in QSettings' INI mapping, where TQ_Util reads it.
const QString kLanguage = QStringLiteral("Language");

int readInt(const QSettings &settings, const QString &key, int fallback)
{
    bool ok = false;
    const int value = settings.value(key).toString().trimmed().toInt(&ok);
    return ok ? value : fallback;
}
} // namespace

LoginSettings::LoginSettings(const QString &path)
    : m_path(path.isEmpty() ? AppEnvionmentSetting::instance()->configFilePath() : path)
{ }

TqLoginForm LoginSettings::load() const
{
    const QSettings settings(m_path, QSettings::IniFormat);
    TqLoginForm form;
    form.account = settings.value(kAccount).toString();
    form.server = settings.value(kServer, defaultServer()).toString();
    form.port = readInt(settings, kPort, defaultPort());
    if (form.port < 1 || form.port > 65535)
        form.port = defaultPort();
    form.environment = readInt(settings, kEnvironment, 0);
    if (form.environment < 0 || form.environment >= TqSession::environments().size())
        form.environment = 0;
    return form;
}

void LoginSettings::remember(const TqLoginForm &form)
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSettings settings(m_path, QSettings::IniFormat);
    settings.setValue(kAccount, form.account.trimmed());
    settings.setValue(kServer, form.server.trimmed());
    settings.setValue(kPort, form.port);
    settings.setValue(kEnvironment, form.environment);
}

int LoginSettings::language() const
{
    const QSettings settings(m_path, QSettings::IniFormat);
    return readInt(settings, kLanguage, Chinese) == Chinese ? Chinese : English;
}

void LoginSettings::setLanguage(int language)
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSettings settings(m_path, QSettings::IniFormat);
    // As text: TQ_Util reads only plain text values, also from QSettings' cache in this process.
    settings.setValue(kLanguage, QString::number(language));
}
