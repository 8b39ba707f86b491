#pragma once

// Turns the engine's call events into Voip_Agent's result signals. The callbacks run on the
// engine's threads and emit there; receivers on other threads get the records queued.

#include "tq_agent_global.h"

#include <ZSsdk.h>

class TQ_AGENT_EXPORT Voip_CallBackProxy
{
public:
    static Voip_CallBackProxy *instance();

    // Hands the call table to the engine. The table is built once and kept for the life of
    // the process, so registering again passes the same table.
    void registerCallbacks();
    const ZS_VoIPCallBack *table() const { return m_table; }

private:
    Voip_CallBackProxy() = default;
    Voip_CallBackProxy(const Voip_CallBackProxy &) = delete;
    Voip_CallBackProxy &operator=(const Voip_CallBackProxy &) = delete;

    ZS_VoIPCallBack *m_table = nullptr;
};
