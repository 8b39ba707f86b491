#pragma once

// Inside of the XMPP engine: the engine's own thread, the registered callback tables, the
// trace file, and the session that owns the XMPP client on that thread.

#include "ZSsdk.h"

#include <QFile>
#include <QString>

#include <atomic>
#include <functional>
#include <mutex>

class QThread;

namespace zsxmpp {

class Session;

// Reasons this engine adds to the header's: see README.md.
enum Reason : int {
    ReasonUnreachable = ZS_ERR_NETWORK, // no TCP or TLS connection to the server
    ReasonConnectTimeout = ZS_REASON_TIMEOUT, // no answer in time while connecting
};

// Where the session is; read by the request functions to refuse a second login.
// Reconnecting: the session was up and its connection was lost; it is being restored.
enum class Phase : int { Idle, Connecting, Connected, Reconnecting, LoggingOut };

class Engine
{
public:
    static Engine &get();

    // Starts the engine's thread; false when it already runs.
    bool start();
    // Drops every later answer, ends the XMPP client and joins the thread.
    void stop();
    bool running() const { return m_running.load(); }

    // Runs fn on the engine's thread, after the caller has returned; false when stopped.
    bool post(std::function<void()> fn);

    Session *session() const { return m_session; }

    std::atomic<const void *> tables[5] = {};
    std::atomic<Phase> phase{Phase::Idle};
    std::atomic<unsigned int> nextKey{1};

    // Trace file: request names and their non-secret arguments only.
    void setTrace(int level, const QString &file);
    void trace(const QString &line);

private:
    Engine() = default;

    std::mutex m_lifeMutex;
    std::atomic<bool> m_running{false};
    QThread *m_thread = nullptr;
    Session *m_session = nullptr;

    std::mutex m_traceMutex;
    int m_traceLevel = 0;
    QString m_traceFile;
    QFile m_trace;
};

namespace detail {
template<class Table> constexpr int tableIndex();
template<> constexpr int tableIndex<ZS_GeneralCallBack>()
{
    return 0;
}
template<> constexpr int tableIndex<ZS_VoIPCallBack>()
{
    return 1;
}
template<> constexpr int tableIndex<ZS_MessageCallBack>()
{
    return 2;
}
template<> constexpr int tableIndex<ZS_MeetingCallBack>()
{
    return 3;
}
template<> constexpr int tableIndex<ZS_ConfCallBack>()
{
    return 4;
}
} // namespace detail

template<class Table> const Table *table()
{
    return static_cast<const Table *>(Engine::get().tables[detail::tableIndex<Table>()].load());
}

// Calls an entry of the registered table, if any and if the engine still answers; only on
// the engine's thread.
template<class Table, class Entry, class... Args> void invoke(Entry Table::*entry, Args... args)
{
    if (!Engine::get().running())
        return;
    if (const Table *t = table<Table>())
        if (const auto fn = t->*entry)
            fn(args...);
}

} // namespace zsxmpp
