#pragma once

// Inside of the stand-in engine: state, journal, the answering thread, and the Request
// helper each engine function is written with.

#include "ZSsdkControl.h"

#include <QFile>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace zssim {

// The engine's own thread: runs answers and injected events in order.
class Dispatcher
{
public:
    void post(std::function<void()> task); // dropped while stopped
    void stop(); // drops what is queued, joins the thread
    void resume(); // accepts tasks again
    bool waitIdle(int timeoutMs);

private:
    void run(unsigned generation);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::function<void()>> m_queue;
    std::thread m_thread;
    std::thread::id m_threadId;
    bool m_accepting = true;
    unsigned m_generation = 0; // bumped by stop(): older threads end
    bool m_busy = false;
};

struct Script
{
    int code = 0;
    int remaining = -1; // < 0: every call
};

class Engine
{
public:
    static Engine &get();

    std::mutex mutex; // guards everything below but the tables and the dispatcher
    std::condition_variable journalChanged;
    QList<CallRecord> journal;
    QHash<QString, Script> scripts;
    ServerModel server;
    Mode mode = Mode::Automatic;
    bool journaling = true;
    bool initialized = false;
    int traceLevel = 0;
    QString traceFile;
    int fetchMaxMsgs = 0;
    QFile trace;

    std::atomic<const void *> tables[5] = {};
    std::atomic<unsigned int> nextKey{1};
    Dispatcher dispatcher;

    unsigned int newKey();
    void traceLocked(const CallRecord &call);
};

// One call of an engine function. Records the call (journal, trace file), decides the
// return code, and holds the answers until the function returns, so that no callback can
// run before the caller has seen the return value.
class Request
{
public:
    explicit Request(const char *function, bool needsInit = true);
    ~Request();
    Request(const Request &) = delete;
    Request &operator=(const Request &) = delete;

    Request &arg(int value);
    Request &arg(unsigned int value);
    Request &arg(unsigned long long value);
    Request &text(const char *utf8);
    Request &secret(const char *text); // journaled, but traced as "<hidden>"
    Request &record(const void *data, std::size_t size);
    template<class T> Request &record(const T *rec) { return record(rec, rec ? sizeof(T) : 0); }

    // The return code: scripted, else ZS_ERR_NOT_INITIALIZED when the engine is not
    // initialised and the function needs it, else ZS_OK.
    int result() const { return m_result; }
    bool accepted() const { return m_result == ZS_OK; }
    // Writes a fresh key through matchKey (when accepted and not null) and returns it.
    unsigned int issueKey(unsigned int *matchKey);

    // Queues an answer to run on the engine's thread after the function returns.
    // Ignored in manual mode and for refused requests.
    void answer(std::function<void()> fn);

private:
    CallRecord m_call;
    bool m_journal = true; // arguments are decoded only when someone reads them
    bool m_needsInit;
    int m_result = ZS_OK;
    std::vector<std::function<void()>> m_answers;
};

// Calls an entry of the registered table, if any; on the engine's thread.
template<class Table, class Entry, class... Args> void invoke(Entry Table::*entry, Args... args)
{
    if (const Table *table = Control::table<Table>())
        if (const auto fn = table->*entry)
            fn(args...);
}

// A record handed to a callback: owned by the engine, overwritten as soon as the callback
// returns, so a callback that keeps the pointer reads garbage (and ASan-visible reuse).
template<class T> std::shared_ptr<std::vector<T>> callbackRecords(std::vector<T> records)
{
    return std::make_shared<std::vector<T>>(std::move(records));
}
template<class T> void scribble(std::vector<T> &records)
{
    if (!records.empty())
        std::memset(static_cast<void *>(records.data()), 0xDD, records.size() * sizeof(T));
}

} // namespace zssim
