#include "TqCallLog.h"

#include <QMutex>

namespace {
QMutex g_mutex;
QStringList g_calls;
} // namespace

void TqCallLog::add(const QString &call)
{
    QMutexLocker lock(&g_mutex);
    g_calls.append(call);
}

QStringList TqCallLog::calls()
{
    QMutexLocker lock(&g_mutex);
    return g_calls;
}

void TqCallLog::clear()
{
    QMutexLocker lock(&g_mutex);
    g_calls.clear();
}
