#include "EngineArgs.h"

namespace tq {

StringArray::StringArray(const QList<QString> &texts)
{
    m_copies.reserve(std::size_t(texts.size()));
    m_pointers.reserve(std::size_t(texts.size()));
    for (const QString &text : texts) {
        m_copies.push_back(text.toUtf8());
        // data() detaches: each pointer owns its own writable, NUL-terminated copy.
        m_pointers.push_back(m_copies.back().data());
    }
}

} // namespace tq
