#include "AgentShutdown.h"

#include "AgentFrame.h"
#include "AgentLog.h"
#include "AgentThreadMgr.h"

#include <QCoreApplication>
#include <QThread>
#include <QVariant>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

// Everything here is trivially destructible: callbacks read it during static destruction.
namespace {

constexpr int kWaitMs = 2000;

std::atomic<bool> g_shut{false}; // the gate
std::atomic<bool> g_final{false}; // shutDown() has begun
std::atomic<int> g_inside{0}; // callbacks inside the gate, or on their way in or out
thread_local int t_inside = 0; // of them, on this thread
std::atomic<void (*)()> g_stops[4] = {}; // other libraries' stops, see stopAtShutDown

// Waits until only this thread's own callbacks are inside.
bool waitForCallbacks()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    while (g_inside.load() > t_inside) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void stopWorker()
{
    QThread *thread = AgentThreadMgr::sharedThread();
    if (QThread::currentThread() == thread || !thread->isRunning())
        return;
    tq::dropQueuedRequests();
    thread->quit();
    if (!thread->wait(kWaitMs))
        tq::logError("%1,worker thread still busy after %2 ms", TQ_WHERE(AgentThreadMgr), kWaitMs);
}

void shutDownAtExit()
{
    tq::shutDown();
}

} // namespace

namespace tq {

CallbackScope::CallbackScope()
{
    // Counted before the gate is read: shutting it and then reading the count (both
    // sequentially consistent) cannot miss a callback that got in.
    g_inside.fetch_add(1);
    m_entered = !g_shut.load();
    if (m_entered)
        ++t_inside;
    else
        g_inside.fetch_sub(1);
}

CallbackScope::~CallbackScope()
{
    if (!m_entered)
        return;
    --t_inside;
    g_inside.fetch_sub(1);
}

void closeCallbacks()
{
    g_shut.store(true);
    if (!waitForCallbacks())
        logError("%1,callbacks still running after %2 ms", TQ_WHERE(AgentShutdown), kWaitMs);
}

void openCallbacks()
{
    if (!g_final.load())
        g_shut.store(false);
}

bool callbacksOpen()
{
    return !g_shut.load();
}

void shutDown()
{
    if (g_final.exchange(true))
        return;
    closeCallbacks();
    // No slot may call into the engine, or start it again, once it is uninitialised.
    stopWorker();
    for (auto &stop : g_stops)
        if (void (*fn)() = stop.load())
            fn();
    ZSSDK_UnInitialize();
}

void stopAtShutDown(void (*stop)())
{
    for (auto &slot : g_stops) {
        void (*expected)() = nullptr;
        if (slot.compare_exchange_strong(expected, stop) || expected == stop)
            return;
    }
    logError("%1,too many libraries to stop", TQ_WHERE(AgentShutdown));
}

bool isShutDown()
{
    return g_final.load();
}

void armShutDown()
{
    static std::once_flag atExit;
    std::call_once(atExit, [] { std::atexit(shutDownAtExit); });

    QCoreApplication *app = QCoreApplication::instance();
    // Marked on the object itself: a later application may be built at the same address.
    static constexpr char kArmed[] = "_tq_shutdown_armed";
    if (!app || app->property(kArmed).toBool())
        return;
    app->setProperty(kArmed, true);
    // Quitting the loop is the earliest sign; destroying the application without a loop
    // (or from another thread) is covered by the post routine.
    QObject::connect(app, &QCoreApplication::aboutToQuit, &tq::shutDown);
    qAddPostRoutine(&tq::shutDown);
}

} // namespace tq
