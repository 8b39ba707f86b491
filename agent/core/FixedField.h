#pragma once

// Fixed-width text fields of engine records, and the counts and arrays the engine hands over.
// Writing never passes the field: UTF-8 is cut at a character boundary to width-1 bytes, then
// NUL and zero fill. Reading never passes the field either, even when it holds no NUL.

#include "Utf8Field.h"
#include "tq_agent_global.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>

namespace tq {

// Core of the codec; prefer the array forms below, which take the width from the type.
TQ_AGENT_EXPORT void writeFixed(char *field, std::size_t width, const QByteArray &utf8);
TQ_AGENT_EXPORT QString readFixed(const char *field, std::size_t width);

template<std::size_t N> void writeField(char (&field)[N], const QString &text)
{
    writeFixed(field, N, text.toUtf8());
}

template<std::size_t N> void writeField(char (&field)[N], const QByteArray &utf8)
{
    writeFixed(field, N, utf8);
}

template<std::size_t N> QString readField(const char (&field)[N])
{
    return readFixed(field, N);
}

// A NUL-terminated UTF-8 text from the engine; null gives an empty string.
TQ_AGENT_EXPORT QString fromEngineText(const char *utf8);

// A flag the engine wrote: any non-zero byte is true. Never read it through a bool.
inline bool engineFlag(unsigned char flag)
{
    return flag != 0;
}

// An engine count of elements of `array`: negative counts and null arrays mean none.
template<class T> int clampCount(int count, const T *array)
{
    return (array == nullptr || count < 0) ? 0 : count;
}

// Converts an engine array into a list, in the engine's order.
//     tq::convertArray(states, count, toPersonState)
template<class Record, class Convert>
auto convertArray(const Record *array, int count, Convert convert)
    -> QList<decltype(convert(*array))>
{
    QList<decltype(convert(*array))> list;
    const int n = clampCount(count, array);
    list.reserve(n);
    for (int i = 0; i < n; ++i)
        list.append(convert(array[i]));
    return list;
}

} // namespace tq
