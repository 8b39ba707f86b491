#pragma once

#include "tq_loginui_export.h"

#include <TqSession.h>

#include <QString>

// What the login window remembers between runs, in the settings file of TQ_Util
// (AppEnvionmentSetting::configFilePath()): the last account, server, port and environment
// under [Login], and the language as [General] Language (0 Chinese, 1 English), which the
// launcher reads at start. Never the password.
class TQ_LOGINUI_EXPORT LoginSettings
{
public:
    // `path` empty: the settings file TQ_Util reads.
    explicit LoginSettings(const QString &path = QString());

    QString path() const { return m_path; }

    // The remembered fields (no password), defaults where none are stored.
    TqLoginForm load() const;
    void remember(const TqLoginForm &form);

    enum Language { Chinese = 0, English = 1 };
    int language() const;
    void setLanguage(int language);

    static QString defaultServer() { return QStringLiteral("im.example.test"); }
    static int defaultPort() { return 5060; }

private:
    QString m_path;
};
