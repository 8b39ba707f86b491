#pragma once

// Turns the engine's conference answers and events into Conference_Agent's result signals.
// The callbacks run on the engine's threads and emit there; receivers on other threads get
// the records queued. Each answer takes its request back out of the pending-request store.

#include "tq_agent_global.h"

#include <ZSsdk.h>

#include <QObject>

class TQ_AGENT_EXPORT Conference_CallBack : public QObject
{
    Q_OBJECT
public:
    static Conference_CallBack *instance();

    // Hands the conference table to the engine. The table is built once and kept for the
    // life of the process, so registering again passes the same table.
    void initConferenceCallBack();
    const ZS_ConfCallBack *table() const { return m_table; }

private:
    Conference_CallBack() = default;

    ZS_ConfCallBack *m_table = nullptr;
};
