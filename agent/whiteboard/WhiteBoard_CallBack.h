#pragma once

// Owns the callback table the whiteboard library runs with, starts and stops the library for
// WhiteBoard_Agent, and turns each library callback into a signal of the agent. Callbacks run
// on the library's threads and emit there; receivers on other threads get the values queued.

#include "tq_agent_global.h"

#include <QMutex>
#include <QObject>

#include <memory>

struct WbssCallbackTable;

class TQ_AGENT_EXPORT WhiteBoard_CallBack : public QObject
{
    Q_OBJECT
public:
    static WhiteBoard_CallBack *instance();
    ~WhiteBoard_CallBack() override;

    // Builds a fresh table (the previous one goes: the stopped library no longer reads it)
    // and starts the library with it. Refused while the library runs. Returns its code.
    int start();
    // Nulls every entry of the table, then stops the library; the table stays until the
    // next start.
    void stop();

    // The table the library was last started with, or null.
    const WbssCallbackTable *table() const;
    bool started() const;

    // Waits (bounded) until no callback on another thread is emitting on the agent.
    static void waitForDeliveries();

private:
    WhiteBoard_CallBack() = default;

    mutable QMutex m_mutex;
    std::unique_ptr<WbssCallbackTable> m_table;
    bool m_started = false;
};
