#include "FixedField.h"

#include <cstring>

namespace tq {

void writeFixed(char *field, std::size_t width, const QByteArray &utf8)
{
    copyUtf8Field(field, width, utf8.constData(), std::size_t(utf8.size()));
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
