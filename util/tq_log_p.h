#pragma once

// Hooks for the logger's own tests; not installed.

#include "tq_util_global.h"

#include <cstddef>

namespace tq {
namespace logtest {

// While paused the writer leaves the queue alone, so tests can fill it.
TQ_UTIL_EXPORT void setWriterPaused(bool paused);
TQ_UTIL_EXPORT std::size_t queuedEntries();
TQ_UTIL_EXPORT std::size_t queueCapacity();

} // namespace logtest
} // namespace tq
