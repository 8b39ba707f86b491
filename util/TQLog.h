#pragma once

#include "tq_util_global.h"

#include <QList>
#include <QString>
#include <QStringList>

// Process-wide logger. Callers only queue the line; a background writer does the file I/O,
// so the three Log* calls are cheap and safe from any thread, including before main().
// Log directory: $TQ_LOG_DIR, else TQFilePathMgr's log directory. Files are owner-only.
class TQ_UTIL_EXPORT TQLog
{
public:
    enum Level { Info, Error, Debug };

    constexpr TQLog() = default;
    static TQLog *instance();

    void LogInfo(const QString &text);
    void LogError(const QString &text);
    void LogDebug(const QString &text);

    // Writes out everything queued so far, then closes the file. A later line reopens it.
    void closeLogFile();
    // Blocks until every line queued before the call is in the file.
    void flush();
    // Path of the current (or next) log file.
    QString logFilePath() const;

private:
    void write(Level level, const QString &text);
};

extern TQ_UTIL_EXPORT TQLog *g_Log;

// Collects, in call order, the lines logged from any thread while it exists. For tests.
class TQ_UTIL_EXPORT TQLogCapture
{
public:
    struct Line
    {
        TQLog::Level level;
        QString text;
        quintptr threadId;
    };

    TQLogCapture();
    ~TQLogCapture();
    TQLogCapture(const TQLogCapture &) = delete;
    TQLogCapture &operator=(const TQLogCapture &) = delete;

    QList<Line> lines() const;
    QStringList texts() const; // every level
    QStringList texts(TQLog::Level level) const;
    int count(const QString &text) const; // exact matches
    void clear();

private:
    int m_id;
};
