#pragma once

#include <tq_agent_global.h>

#include <ZSsdk.h>

#include <QObject>

// Turns the engine's general events (connection state, logout, presence, personal
// information) into the result signals of SDK_Agent.
class TQ_AGENT_EXPORT SDK_CallBackProxy : public QObject
{
    Q_OBJECT
public:
    static SDK_CallBackProxy *instance();

    // Hands the general table to the engine. The table is built once and the same one is
    // registered again at every login: the engine may still be reading it.
    void registerCallbacks();

private:
    SDK_CallBackProxy() = default;
    ZS_GeneralCallBack *m_table = nullptr;
};
