#pragma once

// Hooks for the logger's own tests; not installed.

#include "tq_util_global.h"

#include <chrono>
#include <cstddef>

namespace tq {
namespace logtest {

// While paused the writer leaves the queue alone, so tests can fill it.
TQ_UTIL_EXPORT void setWriterPaused(bool paused);
TQ_UTIL_EXPORT std::size_t queuedEntries();
TQ_UTIL_EXPORT std::size_t queueCapacity();

// How long the writer lets lines gather before it writes (5 ms). Returns the previous value.
TQ_UTIL_EXPORT std::chrono::milliseconds setGatherTime(std::chrono::milliseconds time);
// How long the file rests after a failed open or write before the writer tries it again
// (1 s). Returns the previous value.
TQ_UTIL_EXPORT std::chrono::milliseconds setRetryPause(std::chrono::milliseconds pause);
// While set, the writer drops the lines it takes instead of formatting and writing them.
// Lines are still queued and captured, so callers behave as usual.
TQ_UTIL_EXPORT void setDiscard(bool discard);

} // namespace logtest
} // namespace tq
