#pragma once

// Copying UTF-8 into a fixed-width C field without splitting a character. Header-only and
// free of Qt, so the stand-in engine shares it without linking the agents.

#include <cstddef>
#include <cstring>

namespace tq {

// Length of the longest prefix of `utf8` (of `size` bytes) that fits in `limit` bytes
// without splitting a character.
inline std::size_t utf8PrefixLength(const char *utf8, std::size_t size, std::size_t limit)
{
    if (size <= limit)
        return size;
    // utf8[limit] is the first byte left out: if it continues a character, that character
    // would be split, so step back to its lead byte.
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80)
        --cut;
    return cut;
}

// At most width-1 bytes of `utf8`, cut at a character boundary, then NUL and zero fill.
inline void copyUtf8Field(char *field, std::size_t width, const char *utf8, std::size_t size)
{
    if (!field || width == 0)
        return;
    const std::size_t n = utf8 ? utf8PrefixLength(utf8, size, width - 1) : 0;
    if (n > 0)
        std::memcpy(field, utf8, n);
    std::memset(field + n, 0, width - n);
}

} // namespace tq
