#pragma once

// Turns the engine's message events into IM_Agent's result signals. The callbacks run on the
// engine's threads and emit there; receivers on other threads get the records queued.

#include "tq_agent_global.h"

#include <ZSsdk.h>

class TQ_AGENT_EXPORT IM_CallBackProxy
{
public:
    static IM_CallBackProxy *instance();

    // Hands the message table to the engine. The table is built once and kept for the life
    // of the process, so registering again passes the same table.
    void registerCallbacks();
    const ZS_MessageCallBack *table() const { return m_table; }

private:
    IM_CallBackProxy() = default;
    IM_CallBackProxy(const IM_CallBackProxy &) = delete;
    IM_CallBackProxy &operator=(const IM_CallBackProxy &) = delete;

    ZS_MessageCallBack *m_table = nullptr;
};
