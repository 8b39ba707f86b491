#include "TextCache.h"

#include <QByteArray>

#include <cstdint>

namespace tq {

namespace {

std::uint32_t hashOf(const char *bytes, std::size_t size)
{
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ static_cast<unsigned char>(bytes[i])) * 16777619u;
    return hash;
}

QString fromUtf8(const char *bytes, int size)
{
    // Most fields are empty: the same empty text as fromUtf8 gives, without converting.
    return size == 0 ? QString(QLatin1String(bytes, 0)) : QString::fromUtf8(bytes, size);
}
} // namespace

struct TextCache::Slot
{
    std::uint32_t hash = 0;
    QByteArray bytes;
    QString text;
};

TextCache::TextCache(Make make, int slots, int longest)
    : m_make(make)
    , m_slots(new Slot[std::size_t(slots)])
    , m_mask(unsigned(slots) - 1)
    , m_longest(std::size_t(longest))
{ }

TextCache::~TextCache()
{
    delete[] m_slots;
}

QString TextCache::text(const char *bytes, std::size_t size)
{
    if (size == 0)
        return m_make(bytes, 0);
    if (size > m_longest)
        return m_make(bytes, int(size));
    const std::uint32_t hash = hashOf(bytes, size);
    Slot &slot = m_slots[hash & m_mask];
    if (slot.hash == hash && std::size_t(slot.bytes.size()) == size
        && std::memcmp(slot.bytes.constData(), bytes, size) == 0)
        return slot.text;
    slot.text = m_make(bytes, int(size));
    slot.hash = hash;
    slot.bytes = QByteArray(bytes, int(size));
    return slot.text;
}

QString cachedUtf8(const char *bytes, std::size_t size)
{
    thread_local TextCache cache(fromUtf8, 512, 64);
    return cache.text(bytes, size);
}

} // namespace tq
