#pragma once

// Owners of the bytes handed to the engine for one call. Keep the holder alive for the whole
// call (a temporary in the call expression is); never keep toUtf8().constData() of a
// temporary QString in a variable.

#include "tq_agent_global.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

namespace tq {

// NUL-terminated UTF-8 of a QString.
class Utf8Arg
{
public:
    explicit Utf8Arg(const QString &text)
        : m_bytes(text.toUtf8())
    { }
    const char *get() const { return m_bytes.constData(); }
    operator const char *() const { return get(); }
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// NUL-terminated text in the local 8-bit code page, for the few engine texts that use it.
class Local8BitArg
{
public:
    explicit Local8BitArg(const QString &text)
        : m_bytes(text.toLocal8Bit())
    { }
    const char *get() const { return m_bytes.constData(); }
    operator const char *() const { return get(); }
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// A list of texts as an array of pointers to separate NUL-terminated UTF-8 copies, with its
// count. Released with the holder (the engine copies what it keeps).
class TQ_AGENT_EXPORT StringArray
{
public:
    explicit StringArray(const QList<QString> &texts);
    StringArray(const StringArray &) = delete;
    StringArray &operator=(const StringArray &) = delete;

    char **data() { return m_pointers.empty() ? nullptr : m_pointers.data(); }
    const char *const *constData() const
    {
        return m_pointers.empty() ? nullptr : m_pointers.data();
    }
    int count() const { return int(m_pointers.size()); }

private:
    std::vector<QByteArray> m_copies;
    std::vector<char *> m_pointers;
};

} // namespace tq
