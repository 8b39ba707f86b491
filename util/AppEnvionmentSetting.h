#pragma once

#include "tq_util_global.h"

#include <QMutex>
#include <QString>

// Values read from the settings file; defaults where a value is missing or unreadable.
class TQ_UTIL_EXPORT AppEnvionmentConfig
{
public:
    int language() const { return m_language; }
    bool mutilClients() const { return m_mutilClients; }
    int sdkTraceLevel() const { return m_sdkTraceLevel; }

private:
    friend class AppEnvionmentSetting;
    int m_language = 0;
    bool m_mutilClients = false;
    int m_sdkTraceLevel = 2;
};

// INI settings: $TQ_CONFIG_FILE, else "AppEnvionment.ini" in the per-user config directory.
//   [General] Language=<int>  MultiClients=<bool>
//   [SDK]     TraceLevel=<int>
class TQ_UTIL_EXPORT AppEnvionmentSetting
{
public:
    static AppEnvionmentSetting *instance();

    // (Re)loads the file; a missing or corrupt file gives the defaults and one log line.
    void initConfig();
    QString configFilePath() const;

    int getConfigLanguage() const; // 0 selects the Chinese translation
    bool getAppEnvionmentIsMutilClients() const; // true: several instances may run
    AppEnvionmentConfig *getAppEnvionmentConfig(); // never null

private:
    AppEnvionmentSetting() = default;
    void loadLocked(); // m_mutex held
    void ensureLoadedLocked() const;

    AppEnvionmentConfig m_config;
    mutable QMutex m_mutex;
    bool m_loaded = false;
};
