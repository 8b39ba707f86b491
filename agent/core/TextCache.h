#pragma once

// Texts read again and again from engine records. An engine answers the same list queries
// over and over with mostly the same ids, names and times; a text read again with the same
// bytes, on the same thread, gives the QString made the first time (implicitly shared)
// instead of a new allocation, and its release on the receiving thread frees nothing.
//
// Per thread, a fixed table of recent short texts (longer ones are read as usual); the
// result is always what reading the bytes would give.
//
//     r.creator = tq::readFieldCached(c.creator);

#include "tq_agent_global.h"

#include <QString>

#include <cstddef>
#include <cstring>

namespace tq {

// Recent short texts of one thread, each made from its bytes by `make` on first sight.
class TQ_AGENT_EXPORT TextCache
{
public:
    using Make = QString (*)(const char *bytes, int size);

    // `slots` (a power of two) texts of at most `longest` bytes are kept.
    TextCache(Make make, int slots, int longest);
    ~TextCache();
    TextCache(const TextCache &) = delete;
    TextCache &operator=(const TextCache &) = delete;

    QString text(const char *bytes, std::size_t size);

private:
    struct Slot;
    Make m_make;
    Slot *m_slots;
    unsigned int m_mask;
    std::size_t m_longest;
};

// The text of a fixed-width field, as readField gives it, through this thread's cache.
TQ_AGENT_EXPORT QString cachedUtf8(const char *bytes, std::size_t size);

template<std::size_t N> QString readFieldCached(const char (&field)[N])
{
    const void *nul = std::memchr(field, '\0', N);
    return cachedUtf8(field, nul ? std::size_t(static_cast<const char *>(nul) - field) : N);
}

} // namespace tq
