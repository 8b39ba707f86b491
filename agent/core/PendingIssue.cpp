#include "PendingIssue.h"

#include "PendingRequestStore.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tq {

namespace {

// Trivially destructible pieces only: callbacks may still take requests during exit.
struct Issuing
{
    std::mutex mutex;
    std::condition_variable done;
    int count = 0;
};

Issuing &issuing()
{
    static Issuing *const state = new Issuing;
    return *state;
}

// Requests this thread is issuing; an answer on this same thread must not wait for itself.
thread_local int t_issuing = 0;

// An engine call returns at once; this bounds a wait on one that does not.
constexpr std::chrono::milliseconds kLongestIssue{2000};

} // namespace

PendingIssue::PendingIssue()
{
    Issuing &state = issuing();
    const std::lock_guard<std::mutex> lock(state.mutex);
    ++state.count;
    ++t_issuing;
}

PendingIssue::~PendingIssue()
{
    Issuing &state = issuing();
    {
        const std::lock_guard<std::mutex> lock(state.mutex);
        --state.count;
        --t_issuing;
    }
    state.done.notify_all();
}

bool takePending(unsigned int matchKey, QVariant &out)
{
    Issuing &state = issuing();
    {
        std::unique_lock<std::mutex> lock(state.mutex);
        state.done.wait_for(lock, kLongestIssue, [&state] { return state.count == t_issuing; });
    }
    return PendingRequestStore::instance()->take(matchKey, out);
}

} // namespace tq
