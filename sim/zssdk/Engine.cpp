#include "Engine.h"

#include <QDateTime>

#include <chrono>
#include <cstdlib>

namespace zssim {

// ---- Dispatcher -------------------------------------------------------------------------------

void Dispatcher::post(std::function<void()> task)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_accepting)
        return;
    if (!m_thread.joinable()) {
        m_thread = std::thread([this, generation = m_generation] { run(generation); });
        m_threadId = m_thread.get_id();
    }
    m_queue.push_back(std::move(task));
    m_wake.notify_one();
}

void Dispatcher::stop()
{
    std::thread thread;
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_accepting = false;
        ++m_generation;
        dropped.swap(m_queue);
        thread.swap(m_thread);
    }
    m_wake.notify_all();
    if (thread.joinable()) {
        if (thread.get_id() == std::this_thread::get_id())
            thread.detach(); // stopped from a callback: the loop ends after it
        else
            thread.join();
    }
    m_idle.notify_all();
}

void Dispatcher::resume()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_accepting = true;
}

bool Dispatcher::waitIdle(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (std::this_thread::get_id() == m_threadId && m_busy)
        return m_queue.empty(); // called from a callback: cannot wait for itself
    return m_idle.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [this] { return m_queue.empty() && !m_busy; });
}

void Dispatcher::run(unsigned generation)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [&] { return m_generation != generation || !m_queue.empty(); });
        if (m_generation != generation)
            return; // stopped; a newer thread may already serve the queue
        std::function<void()> task = std::move(m_queue.front());
        m_queue.pop_front();
        m_busy = true;
        lock.unlock();
        task();
        task = nullptr;
        lock.lock();
        m_busy = false;
        if (m_queue.empty())
            m_idle.notify_all();
    }
}

// ---- Engine -----------------------------------------------------------------------------------

Engine &Engine::get()
{
    // Never destroyed: callbacks may still run while the process exits.
    static Engine *const engine = [] {
        auto *e = new Engine;
        std::atexit([] { Engine::get().dispatcher.stop(); });
        return e;
    }();
    return *engine;
}

unsigned int Engine::newKey()
{
    unsigned int key = nextKey.fetch_add(1);
    while (key == 0)
        key = nextKey.fetch_add(1);
    return key;
}

void Engine::traceLocked(const CallRecord &call)
{
    if (traceLevel <= 0 || !trace.isOpen())
        return;
    QStringList args;
    for (int i = 0; i < call.args.size(); ++i) {
        const QVariant &arg = call.args[i];
        args << (call.secretArgs.contains(i) ? QStringLiteral("<hidden>")
                     : arg.isValid()         ? arg.toString()
                                             : QStringLiteral("(null)"));
    }
    const QString line = QDateTime::currentDateTime().toString(QStringLiteral("hh:mm:ss.zzz "))
        + call.function + QLatin1Char('(') + args.join(QStringLiteral(", "))
        + QStringLiteral(")\n");
    trace.write(line.toUtf8());
    trace.flush();
}

// ---- Request ----------------------------------------------------------------------------------

Request::Request(const char *function, bool needsInit)
    : m_needsInit(needsInit)
{
    m_call.function = QString::fromLatin1(function);
    Engine &e = Engine::get();
    std::lock_guard<std::mutex> lock(e.mutex);
    m_journal = e.journaling;
    const auto script = e.scripts.find(m_call.function);
    if (script != e.scripts.end()) {
        m_result = script->code;
        if (script->remaining > 0 && --script->remaining == 0)
            e.scripts.erase(script);
    } else if (m_needsInit && !e.initialized) {
        m_result = ZS_ERR_NOT_INITIALIZED;
    }
}

Request::~Request()
{
    Engine &e = Engine::get();
    {
        std::lock_guard<std::mutex> lock(e.mutex);
        if (m_journal) {
            e.traceLocked(m_call);
            e.journal.append(m_call);
        }
        if (e.mode == Mode::Manual)
            m_answers.clear();
    }
    e.journalChanged.notify_all();
    for (auto &answer : m_answers)
        e.dispatcher.post(std::move(answer));
}

Request &Request::arg(int value)
{
    if (!m_journal)
        return *this;
    m_call.args << value;
    return *this;
}

Request &Request::arg(unsigned int value)
{
    if (!m_journal)
        return *this;
    m_call.args << value;
    return *this;
}

Request &Request::arg(unsigned long long value)
{
    if (!m_journal)
        return *this;
    m_call.args << QVariant::fromValue<qulonglong>(value);
    return *this;
}

Request &Request::text(const char *utf8)
{
    if (!m_journal)
        return *this;
    m_call.args << (utf8 ? QVariant(QByteArray(utf8)) : QVariant());
    return *this;
}

Request &Request::secret(const char *text)
{
    if (!m_journal)
        return *this;
    m_call.secretArgs << m_call.args.size();
    return this->text(text);
}

Request &Request::record(const void *data, std::size_t size)
{
    if (!m_journal)
        return *this;
    m_call.records << (data ? QByteArray(static_cast<const char *>(data), int(size))
                            : QByteArray());
    return *this;
}

unsigned int Request::issueKey(unsigned int *matchKey)
{
    if (!accepted())
        return 0;
    const unsigned int key = Engine::get().newKey();
    if (matchKey)
        *matchKey = key;
    if (m_journal)
        m_call.args << key; // journaled after the caller's arguments
    return key;
}

void Request::answer(std::function<void()> fn)
{
    if (accepted())
        m_answers.push_back(std::move(fn));
}

// ---- Control ----------------------------------------------------------------------------------

namespace {
// Runs `read` on the engine under its lock and returns what it gives.
template<class Read> auto locked(Read read)
{
    Engine &e = Engine::get();
    std::lock_guard<std::mutex> lock(e.mutex);
    return read(e);
}
} // namespace

void Control::reset()
{
    Engine &e = Engine::get();
    e.dispatcher.stop();
    for (auto &table : e.tables)
        table.store(nullptr);
    {
        std::lock_guard<std::mutex> lock(e.mutex);
        e.journal.clear();
        e.scripts.clear();
        e.server = ServerModel();
        e.mode = Mode::Automatic;
        e.journaling = true;
        e.initialized = false;
        e.traceLevel = 0;
        e.traceFile.clear();
        e.fetchMaxMsgs = 0;
        e.trace.close();
    }
    e.dispatcher.resume();
}

void Control::setMode(Mode mode)
{
    Engine &e = Engine::get();
    std::lock_guard<std::mutex> lock(e.mutex);
    e.mode = mode;
}

Mode Control::mode()
{
    return locked([](const Engine &e) { return e.mode; });
}

QList<CallRecord> Control::journal()
{
    return locked([](const Engine &e) { return e.journal; });
}

QList<CallRecord> Control::calls(const QString &function)
{
    QList<CallRecord> found;
    for (const CallRecord &call : journal())
        if (call.function == function)
            found << call;
    return found;
}

int Control::callCount(const QString &function)
{
    return calls(function).size();
}

void Control::clearJournal()
{
    Engine &e = Engine::get();
    std::lock_guard<std::mutex> lock(e.mutex);
    e.journal.clear();
}

void Control::setJournaling(bool on)
{
    Engine &e = Engine::get();
    std::lock_guard<std::mutex> lock(e.mutex);
    e.journaling = on;
}

bool Control::waitForCalls(const QString &function, int count, int timeoutMs)
{
    Engine &e = Engine::get();
    std::unique_lock<std::mutex> lock(e.mutex);
    return e.journalChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        int n = 0;
        for (const CallRecord &call : qAsConst(e.journal))
            n += call.function == function;
        return n >= count;
    });
}

void Control::scriptReturn(const QString &function, int code, int times)
{
    Engine &e = Engine::get();
    std::lock_guard<std::mutex> lock(e.mutex);
    if (times == 0)
        e.scripts.remove(function);
    else
        e.scripts.insert(function, Script{code, times});
}

void Control::post(std::function<void()> task)
{
    Engine::get().dispatcher.post(std::move(task));
}

bool Control::waitIdle(int timeoutMs)
{
    return Engine::get().dispatcher.waitIdle(timeoutMs);
}

void Control::withServer(const std::function<void(ServerModel &)> &fn)
{
    Engine &e = Engine::get();
    std::lock_guard<std::mutex> lock(e.mutex);
    fn(e.server);
}

bool Control::initialized()
{
    return locked([](const Engine &e) { return e.initialized; });
}

int Control::traceLevel()
{
    return locked([](const Engine &e) { return e.traceLevel; });
}

QString Control::traceFile()
{
    return locked([](const Engine &e) { return e.traceFile; });
}

int Control::fetchMaxMsgs()
{
    return locked([](const Engine &e) { return e.fetchMaxMsgs; });
}

const void *Control::registeredTable(int which)
{
    return Engine::get().tables[which].load();
}

} // namespace zssim
