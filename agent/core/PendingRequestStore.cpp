#include "PendingRequestStore.h"

#include "AgentLog.h"

#include <QElapsedTimer>

namespace {
qint64 monotonicMs()
{
    static const QElapsedTimer start = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return start.elapsed();
}
} // namespace

PendingRequestStore *PendingRequestStore::instance()
{
    static PendingRequestStore *const store = new PendingRequestStore;
    return store;
}

PendingRequestStore::PendingRequestStore()
    : m_clock(monotonicMs)
{ }

void PendingRequestStore::insert(unsigned int matchKey, const QVariant &request)
{
    if (matchKey == 0) {
        tq::logError("%1,no matchKey, not stored", TQ_WHERE(PendingRequestStore));
        return;
    }
    QMutexLocker locker(&m_mutex);
    if (m_answered.remove(matchKey)) {
        forgetAnsweredLocked(matchKey);
        locker.unlock();
        tq::logError("%1,matchKey = %2 already answered, not stored", TQ_WHERE(PendingRequestStore),
                     matchKey);
        return;
    }
    const qint64 now = m_clock();
    const int pruned = pruneLocked(now);
    m_requests.insert(matchKey, request);
    m_insertedAt.insert(matchKey, now);
    m_order.emplace_back(now, matchKey);
    locker.unlock();
    if (pruned > 0)
        tq::logInfo("%1,pruned=%2", TQ_WHERE(PendingRequestStore), pruned);
}

bool PendingRequestStore::take(unsigned int matchKey, QVariant &out)
{
    QMutexLocker locker(&m_mutex);
    const auto it = m_requests.find(matchKey);
    if (it == m_requests.end()) {
        if (matchKey != 0 && !m_answered.contains(matchKey)) {
            m_answered.insert(matchKey);
            m_answeredOrder.push_back(matchKey);
            while (int(m_answeredOrder.size()) > kAnsweredKeysKept) {
                m_answered.remove(m_answeredOrder.front());
                m_answeredOrder.pop_front();
            }
        }
        return false;
    }
    out = it.value();
    m_requests.erase(it);
    m_insertedAt.remove(matchKey);
    return true;
}

int PendingRequestStore::size() const
{
    QMutexLocker locker(&m_mutex);
    return m_requests.size();
}

void PendingRequestStore::setMaxAge(qint64 ms)
{
    QMutexLocker locker(&m_mutex);
    m_maxAgeMs = ms;
}

void PendingRequestStore::setCapacity(int entries)
{
    QMutexLocker locker(&m_mutex);
    m_capacity = qMax(1, entries);
}

void PendingRequestStore::setClock(std::function<qint64()> clock)
{
    QMutexLocker locker(&m_mutex);
    m_clock = clock ? std::move(clock) : std::function<qint64()>(monotonicMs);
}

int PendingRequestStore::pruneLocked(qint64 now)
{
    int pruned = 0;
    // m_order is oldest first; pairs whose key was taken or re-inserted since are stale.
    while (!m_order.empty()) {
        const auto [time, key] = m_order.front();
        const auto at = m_insertedAt.constFind(key);
        const bool live = at != m_insertedAt.constEnd() && at.value() == time;
        if (live && now - time < m_maxAgeMs && m_requests.size() < m_capacity)
            break;
        m_order.pop_front();
        if (live) {
            m_requests.remove(key);
            m_insertedAt.remove(key);
            ++pruned;
        }
    }
    // Taken keys leave stale pairs behind a long-lived entry; drop them before they pile up.
    if (m_order.size() > 2 * std::size_t(m_requests.size()) + 64) {
        std::deque<std::pair<qint64, unsigned int>> live;
        for (const auto &pair : m_order) {
            const auto at = m_insertedAt.constFind(pair.second);
            if (at != m_insertedAt.constEnd() && at.value() == pair.first)
                live.push_back(pair);
        }
        m_order.swap(live);
    }
    return pruned;
}

void PendingRequestStore::forgetAnsweredLocked(unsigned int matchKey)
{
    for (auto it = m_answeredOrder.begin(); it != m_answeredOrder.end(); ++it) {
        if (*it == matchKey) {
            m_answeredOrder.erase(it);
            return;
        }
    }
}
