#pragma once

// The one thread a stand-in library answers on: tasks run in order; stop() drops what is
// queued and joins the thread (unless called from it), so a stopped library calls nobody.
// Header-only: each stand-in is its own shared library.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace simcommon {

class Dispatcher
{
public:
    void start();
    void post(std::function<void()> task); // dropped while stopped
    void stop(); // drops what is queued, joins the thread (unless called from it)
    bool waitIdle(int timeoutMs);
    bool onThread() const;

private:
    void run(unsigned generation);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::function<void()>> m_queue;
    std::thread m_thread;
    std::thread::id m_threadId;
    bool m_running = false;
    unsigned m_generation = 0;
    bool m_busy = false;
};

inline void Dispatcher::start()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_running)
        return;
    if (m_thread.joinable())
        m_thread.join(); // left by a stop() from the thread itself
    m_running = true;
    const unsigned generation = ++m_generation;
    m_thread = std::thread([this, generation] { run(generation); });
    m_threadId = m_thread.get_id();
}

inline void Dispatcher::post(std::function<void()> task)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_running)
            return;
        m_queue.push_back(std::move(task));
    }
    m_wake.notify_all();
}

inline void Dispatcher::stop()
{
    std::thread thread;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_running = false;
        ++m_generation;
        m_queue.clear();
        if (std::this_thread::get_id() != m_threadId)
            thread = std::move(m_thread);
    }
    m_wake.notify_all();
    m_idle.notify_all();
    if (thread.joinable())
        thread.join();
}

inline bool Dispatcher::waitIdle(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_idle.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [this] { return !m_running || (m_queue.empty() && !m_busy); });
}

inline bool Dispatcher::onThread() const
{
    return std::this_thread::get_id() == m_threadId;
}

inline void Dispatcher::run(unsigned generation)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [&] { return generation != m_generation || !m_queue.empty(); });
        if (generation != m_generation)
            return;
        std::function<void()> task = std::move(m_queue.front());
        m_queue.pop_front();
        m_busy = true;
        lock.unlock();
        task();
        task = nullptr; // what it captured goes before the queue is seen as idle
        lock.lock();
        m_busy = false;
        if (m_queue.empty())
            m_idle.notify_all();
    }
}

} // namespace simcommon
