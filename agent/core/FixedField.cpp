#include "FixedField.h"

#include <cstring>

namespace tq {

std::size_t utf8PrefixLength(const char *utf8, std::size_t size, std::size_t limit)
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

void writeFixed(char *field, std::size_t width, const QByteArray &utf8)
{
    if (!field || width == 0)
        return;
    const std::size_t n = utf8PrefixLength(utf8.constData(), std::size_t(utf8.size()), width - 1);
    std::memcpy(field, utf8.constData(), n);
    std::memset(field + n, 0, width - n);
}

QString readFixed(const char *field, std::size_t width)
{
    if (!field)
        return QString();
    const void *nul = std::memchr(field, '\0', width);
    const std::size_t n = nul ? std::size_t(static_cast<const char *>(nul) - field) : width;
    return QString::fromUtf8(field, int(n));
}

QString fromEngineText(const char *utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

} // namespace tq
