#pragma once

// Turns the engine's meeting events into Meeting_Agent's result signals. The callbacks run on
// the engine's threads and emit there; receivers on other threads get the records queued.

#include "tq_agent_global.h"

#include <ZSsdk.h>

class TQ_AGENT_EXPORT Meeting_CallBackProxy
{
public:
    static Meeting_CallBackProxy *instance();

    // Hands the meeting table to the engine. The table is built once and kept for the life of
    // the process, so registering again passes the same table.
    void registerCallbacks();
    const ZS_MeetingCallBack *table() const { return m_table; }

private:
    Meeting_CallBackProxy() = default;
    Meeting_CallBackProxy(const Meeting_CallBackProxy &) = delete;
    Meeting_CallBackProxy &operator=(const Meeting_CallBackProxy &) = delete;

    ZS_MeetingCallBack *m_table = nullptr;
};
