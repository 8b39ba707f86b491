#pragma once

#include "tq_agent_global.h"

#include <QHash>
#include <QMap>
#include <QMutex>
#include <QSet>
#include <QVariant>

#include <deque>
#include <functional>

// Requests waiting for their engine answer, by matchKey. The issuing slot inserts a copy of
// the request after the engine call; the answering callback takes it back out.
//
// Bounded: entries older than maxAge are pruned and the number of entries is capped (oldest
// go first). Key 0 is never stored: a refused request has no key and no answer matches it.
// An answer that comes before its request was stored is remembered (a bounded number of
// keys), so the late insert is dropped instead of staying forever.
class TQ_AGENT_EXPORT PendingRequestStore
{
public:
    static constexpr qint64 kDefaultMaxAgeMs = 10 * 60 * 1000;
    static constexpr int kDefaultCapacity = 4096;
    static constexpr int kAnsweredKeysKept = 1024;

    // The process-wide store; created on first use, never destroyed.
    static PendingRequestStore *instance();

    PendingRequestStore();

    // Replaces the value under matchKey, or adds it.
    void insert(unsigned int matchKey, const QVariant &request);
    // Moves the value under matchKey into `out`; leaves `out` untouched when absent.
    bool take(unsigned int matchKey, QVariant &out);

    int size() const;
    void setMaxAge(qint64 ms);
    void setCapacity(int entries);
    // Milliseconds from a monotonic clock; replaceable for tests.
    void setClock(std::function<qint64()> clock);

private:
    int pruneLocked(qint64 now); // returns the number of entries dropped
    void forgetAnsweredLocked(unsigned int matchKey);

    QMap<unsigned int, QVariant> m_requests;
    mutable QMutex m_mutex;

    QHash<unsigned int, qint64> m_insertedAt;
    std::deque<std::pair<qint64, unsigned int>> m_order; // insertion order, may hold stale pairs
    QSet<unsigned int> m_answered;
    std::deque<unsigned int> m_answeredOrder;
    qint64 m_maxAgeMs = kDefaultMaxAgeMs;
    int m_capacity = kDefaultCapacity;
    std::function<qint64()> m_clock;
};
