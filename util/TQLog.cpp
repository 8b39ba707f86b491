#include "TQLog.h"

#include "TQFilePathMgr.h"
#include "tq_fs_p.h"
#include "tq_log_p.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QThread>

#include <atomic>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#if defined(Q_OS_WIN)
#include <qt_windows.h>
#elif defined(Q_OS_LINUX)
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace {

// Callers block (never drop) once this many lines wait for the writer.
constexpr std::size_t kQueueCapacity = 65536;
// Once lines are waiting, the writer lets more gather for up to this long (or this many
// lines) before it writes: callers then rarely have to wake it, which is what a line costs.
constexpr std::chrono::milliseconds kGatherTime{5};
constexpr std::size_t kGatherLines = 1024;
// The writer hands its buffer to the file once it grows past this.
constexpr int kWriteChunk = 256 * 1024;
// After a failed open or write (a full disk, say) the file rests this long before the next
// batch tries it again; meanwhile lines go to stderr without a failing call each.
constexpr std::chrono::milliseconds kRetryPause{1000};

// Settable by the tests (tq_log_p.h). Constant-initialized: lines may come before main().
std::atomic<qint64> s_gatherMs{kGatherTime.count()};
std::atomic<qint64> s_retryPauseMs{kRetryPause.count()};
std::atomic<bool> s_discard{false};

struct Entry
{
    enum Kind : quint8 { Line, Flush, Close };
    Kind kind;
    TQLog::Level level;
    qint64 msecs;
    quintptr tid;
    quint64 ticket;
    QString text;
};

// The writer itself may log (e.g. when the log directory cannot be created); it must
// neither wait for queue space nor for its own flush.
thread_local bool t_isWriter = false;

quintptr currentThreadId()
{
    // The OS id, so lines can be matched with debuggers and `top -H`.
    thread_local const quintptr id = [] {
#if defined(Q_OS_WIN)
        return quintptr(::GetCurrentThreadId());
#elif defined(Q_OS_LINUX)
        return quintptr(::syscall(SYS_gettid));
#else
        return reinterpret_cast<quintptr>(QThread::currentThreadId());
#endif
    }();
    return id;
}

const char *levelTag(TQLog::Level level)
{
    switch (level) {
    case TQLog::Info:
        return "[INFO ] [";
    case TQLog::Error:
        return "[ERROR] [";
    case TQLog::Debug:
        return "[DEBUG] [";
    }
    return "[?????] [";
}

class LogImpl
{
public:
    // Never destroyed: lines may arrive from static destructors and detached threads.
    static LogImpl &get()
    {
        static LogImpl *const p = new LogImpl;
        return *p;
    }

    void push(TQLog::Level level, const QString &text)
    {
        const qint64 msecs = QDateTime::currentMSecsSinceEpoch();
        const quintptr tid = currentThreadId();
        if (m_captureCount.load(std::memory_order_acquire) > 0)
            capture(level, text, tid);

        std::unique_lock<std::mutex> lock(m_mutex);
        if (!t_isWriter)
            m_notFull.wait(lock, [this] { return m_queue.size() < kQueueCapacity; });
        m_queue.push_back(Entry{Entry::Line, level, msecs, tid, 0, text});
        const std::size_t size = m_queue.size();
        // An error may come just before a crash: it is written at once.
        const bool urgent = level == TQLog::Error;
        if (urgent)
            m_urgent = true;
        lock.unlock();
        if (size == 1 || size == kGatherLines || urgent)
            m_notEmpty.notify_one();
    }

    // Queues a flush or close marker behind every line queued so far and waits for it.
    void request(Entry::Kind kind)
    {
        if (t_isWriter)
            return;
        std::unique_lock<std::mutex> lock(m_mutex);
        const quint64 ticket = ++m_lastTicket;
        m_queue.push_back(Entry{kind, TQLog::Info, 0, 0, ticket, QString()});
        m_urgent = true; // someone waits: no gathering
        m_notEmpty.notify_one();
        m_done.wait(lock, [this, ticket] { return m_doneTicket >= ticket; });
    }

    QString filePath()
    {
        {
            std::lock_guard<std::mutex> lock(m_pathMutex);
            if (!m_path.isEmpty())
                return m_path;
        }
        // Worked out unlocked: TQFilePathMgr may log, and logging may wait for the writer,
        // which may itself be asking for the path.
        const QString fromEnv = qEnvironmentVariable("TQ_LOG_DIR");
        const QString dir = fromEnv.isEmpty()
            ? TQFilePathMgr::instance()->getLogPath()
            : QDir::cleanPath(QDir(fromEnv).absolutePath()) + QLatin1Char('/');
        const QString path = dir
            + QStringLiteral("TQ_%1_%2.log")
                  .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_hhmmss")))
                  .arg(QCoreApplication::applicationPid());
        std::lock_guard<std::mutex> lock(m_pathMutex);
        if (m_path.isEmpty()) {
            m_dir = dir;
            m_path = path;
        }
        return m_path;
    }

    int addCapture()
    {
        std::lock_guard<std::mutex> lock(m_captureMutex);
        const int id = ++m_lastCaptureId;
        m_captures[id];
        m_captureCount.fetch_add(1, std::memory_order_release);
        return id;
    }

    void removeCapture(int id)
    {
        std::lock_guard<std::mutex> lock(m_captureMutex);
        if (m_captures.erase(id))
            m_captureCount.fetch_sub(1, std::memory_order_release);
    }

    QList<TQLogCapture::Line> capturedLines(int id)
    {
        std::lock_guard<std::mutex> lock(m_captureMutex);
        const auto it = m_captures.find(id);
        return it == m_captures.end() ? QList<TQLogCapture::Line>() : it->second;
    }

    void clearCapture(int id)
    {
        std::lock_guard<std::mutex> lock(m_captureMutex);
        const auto it = m_captures.find(id);
        if (it != m_captures.end())
            it->second.clear();
    }

    void setPaused(bool paused)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_paused = paused;
        }
        m_notEmpty.notify_one();
    }

    std::size_t queued()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_queue.size();
    }

private:
    LogImpl()
    {
        // Touch the Qt pieces the writer uses so that their global statics exist before
        // our exit handler is registered, and are therefore destroyed after it runs.
        (void)QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toUtf8();
        std::atexit(&LogImpl::atExit);
        std::thread(&LogImpl::run, this).detach();
    }

    static void atExit()
    {
        // Write on the exiting thread rather than waiting for the writer: when the
        // library is unloaded late (a DLL at process exit) the writer may already be gone.
        LogImpl &self = get();
        std::lock_guard<std::mutex> fileLock(self.m_fileMutex);
        self.drainLocked();
    }

    void capture(TQLog::Level level, const QString &text, quintptr tid)
    {
        std::lock_guard<std::mutex> lock(m_captureMutex);
        for (auto &c : m_captures)
            c.second.append(TQLogCapture::Line{level, text, tid});
    }

    [[noreturn]] void run()
    {
        t_isWriter = true;
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_notEmpty.wait(lock, [this] { return !m_queue.empty() && !m_paused; });
                m_notEmpty.wait_for(lock, std::chrono::milliseconds(s_gatherMs.load()),
                                    [this] { return m_urgent || m_queue.size() >= kGatherLines; });
                if (m_paused || m_queue.empty())
                    continue;
            }
            std::lock_guard<std::mutex> fileLock(m_fileMutex);
            drainLocked();
        }
    }

    // Writes out everything queued. m_fileMutex held.
    void drainLocked()
    {
        std::deque<Entry> batch;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            batch.swap(m_queue);
            m_urgent = false;
        }
        m_notFull.notify_all();
        if (batch.empty())
            return;

        const bool discard = s_discard.load(std::memory_order_relaxed);
        quint64 done = 0;
        for (const Entry &e : batch) {
            switch (e.kind) {
            case Entry::Line:
                if (discard)
                    break;
                appendLine(e);
                if (m_buffer.size() >= kWriteChunk)
                    writeOut();
                break;
            case Entry::Flush:
                writeOut();
                done = e.ticket;
                break;
            case Entry::Close:
                writeOut();
                m_file.close();
                m_resting = false; // the next line tries the file again
                done = e.ticket;
                break;
            }
        }
        writeOut();

        if (done) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_doneTicket = done;
        }
        if (done)
            m_done.notify_all();
    }

    void appendLine(const Entry &e)
    {
        const qint64 sec = e.msecs >= 0 ? e.msecs / 1000 : (e.msecs - 999) / 1000;
        if (sec != m_stampSecond || m_stamp.isEmpty()) {
            m_stampSecond = sec;
            m_stamp = QDateTime::fromMSecsSinceEpoch(sec * 1000)
                          .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
                          .toLatin1();
        }
        const int ms = int(e.msecs - sec * 1000);
        const char msText[6]
            = {'.', char('0' + ms / 100), char('0' + ms / 10 % 10), char('0' + ms % 10), ' ', '\0'};
        char tid[24];
        const char *const tidEnd = std::to_chars(tid, tid + sizeof tid, qulonglong(e.tid)).ptr;
        m_buffer += m_stamp;
        m_buffer += msText;
        m_buffer += levelTag(e.level);
        m_buffer.append(tid, int(tidEnd - tid));
        m_buffer += "] ";
        appendUtf8(m_buffer, e.text);
        m_buffer += '\n';
    }

    // The text's UTF-8 straight into the buffer: no temporary per line.
    static void appendUtf8(QByteArray &out, const QString &text)
    {
        const int start = out.size();
        out.resize(start + 3 * text.size()); // a UTF-16 unit never needs more than 3 bytes
        char *dst = out.data() + start;
        const QChar *src = text.constData();
        const QChar *const end = src + text.size();
        for (; src != end; ++src) {
            const char16_t c = src->unicode();
            if (c < 0x80) {
                *dst++ = char(c);
            } else if (c < 0x800) {
                *dst++ = char(0xC0 | (c >> 6));
                *dst++ = char(0x80 | (c & 0x3F));
            } else if (QChar::isHighSurrogate(c) && src + 1 != end
                       && QChar::isLowSurrogate(src[1].unicode())) {
                const char32_t u = QChar::surrogateToUcs4(c, src[1].unicode());
                ++src;
                *dst++ = char(0xF0 | (u >> 18));
                *dst++ = char(0x80 | ((u >> 12) & 0x3F));
                *dst++ = char(0x80 | ((u >> 6) & 0x3F));
                *dst++ = char(0x80 | (u & 0x3F));
            } else if (QChar::isSurrogate(c)) {
                *dst++ = '?'; // a lone half of a pair, as QString::toUtf8 writes it
            } else {
                *dst++ = char(0xE0 | (c >> 12));
                *dst++ = char(0x80 | ((c >> 6) & 0x3F));
                *dst++ = char(0x80 | (c & 0x3F));
            }
        }
        out.resize(int(dst - out.data()));
    }

    void writeOut()
    {
        if (m_buffer.isEmpty())
            return;
        qint64 written = 0;
        if (ensureOpen()) {
            QString error;
            written = m_file.write(m_buffer.constData(), m_buffer.size(), &error);
            if (written < m_buffer.size()) {
                // Keep lines whole: take the torn end back off the file (cutting needs no
                // space) and send its whole line to stderr with the rest.
                const qint64 whole
                    = written > 0 ? m_buffer.lastIndexOf('\n', int(written - 1)) + 1 : 0;
                QString cutError;
                if (whole < written && !m_file.cutEnd(written - whole, &cutError))
                    std::fprintf(stderr, "TQLog: cannot cut the torn last line off %s (%s)\n",
                                 qPrintable(QDir::toNativeSeparators(filePath())),
                                 qPrintable(cutError));
                written = whole;
                m_file.close();
                failed(QStringLiteral("writing %1 failed (%2); logging to standard error")
                           .arg(QDir::toNativeSeparators(filePath()), error));
            } else if (m_failing) {
                m_failing = false;
                std::fprintf(stderr, "TQLog: logging to %s resumed\n",
                             qPrintable(QDir::toNativeSeparators(filePath())));
            }
        }
        if (written < m_buffer.size()) {
            // Whatever did not reach the file goes to stderr rather than being lost.
            std::fwrite(m_buffer.constData() + written, 1, size_t(m_buffer.size() - written),
                        stderr);
            std::fflush(stderr);
        }
        m_buffer.resize(0); // keeps the allocation for the next batch
    }

    // Whether the file can take this write: open, or opened now unless it rests.
    bool ensureOpen()
    {
        if (m_file.isOpen())
            return true;
        if (m_resting
            && std::chrono::steady_clock::now() - m_failedAt
                < std::chrono::milliseconds(s_retryPauseMs.load(std::memory_order_relaxed)))
            return false;
        const QString path = filePath();
        QString dir;
        {
            std::lock_guard<std::mutex> lock(m_pathMutex);
            dir = m_dir;
        }
        QString error;
        const bool ok = tq::ensureDir(dir, &error) && m_file.open(path, &error);
        if (!ok) {
            failed(QStringLiteral("cannot open %1 (%2); logging to standard error")
                       .arg(QDir::toNativeSeparators(path), error));
        }
        return ok;
    }

    // Says why once per run of failures, however many retries fail after the first.
    void failed(const QString &message)
    {
        if (!m_failing)
            std::fprintf(stderr, "TQLog: %s\n", qPrintable(message));
        m_failing = true;
        m_resting = true;
        m_failedAt = std::chrono::steady_clock::now();
    }

    // Queue, guarded by m_mutex.
    std::mutex m_mutex;
    std::condition_variable m_notEmpty;
    std::condition_variable m_notFull;
    std::condition_variable m_done;
    std::deque<Entry> m_queue;
    quint64 m_lastTicket = 0;
    quint64 m_doneTicket = 0;
    bool m_paused = false;
    bool m_urgent = false; // a flush, a close or an error waits in the queue

    // File state, guarded by m_fileMutex (the writer, or the exit handler).
    std::mutex m_fileMutex;
    tq::AppendFile m_file;
    bool m_failing = false; // from a failure until a write reaches the file again
    bool m_resting = false; // no retry before m_failedAt + the retry pause
    std::chrono::steady_clock::time_point m_failedAt;
    QByteArray m_buffer;
    QByteArray m_stamp;
    qint64 m_stampSecond = 0;

    std::mutex m_pathMutex;
    QString m_path;
    QString m_dir;

    std::atomic<int> m_captureCount{0};
    std::mutex m_captureMutex;
    std::map<int, QList<TQLogCapture::Line>> m_captures;
    int m_lastCaptureId = 0;
};

TQLog s_log;

} // namespace

void tq::logtest::setWriterPaused(bool paused)
{
    LogImpl::get().setPaused(paused);
}

std::size_t tq::logtest::queuedEntries()
{
    return LogImpl::get().queued();
}

std::size_t tq::logtest::queueCapacity()
{
    return kQueueCapacity;
}

std::chrono::milliseconds tq::logtest::setGatherTime(std::chrono::milliseconds time)
{
    return std::chrono::milliseconds(s_gatherMs.exchange(time.count()));
}

std::chrono::milliseconds tq::logtest::setRetryPause(std::chrono::milliseconds pause)
{
    return std::chrono::milliseconds(s_retryPauseMs.exchange(pause.count()));
}

void tq::logtest::setDiscard(bool discard)
{
    s_discard.store(discard);
}

TQLog *g_Log = &s_log;

TQLog *TQLog::instance()
{
    return &s_log;
}

void TQLog::LogInfo(const QString &text)
{
    write(Info, text);
}

void TQLog::LogError(const QString &text)
{
    write(Error, text);
}

void TQLog::LogDebug(const QString &text)
{
    write(Debug, text);
}

void TQLog::closeLogFile()
{
    LogImpl::get().request(Entry::Close);
}

void TQLog::flush()
{
    LogImpl::get().request(Entry::Flush);
}

QString TQLog::logFilePath() const
{
    return LogImpl::get().filePath();
}

void TQLog::write(Level level, const QString &text)
{
    LogImpl::get().push(level, text);
}

TQLogCapture::TQLogCapture()
    : m_id(LogImpl::get().addCapture())
{ }

TQLogCapture::~TQLogCapture()
{
    LogImpl::get().removeCapture(m_id);
}

QList<TQLogCapture::Line> TQLogCapture::lines() const
{
    return LogImpl::get().capturedLines(m_id);
}

QStringList TQLogCapture::texts() const
{
    QStringList out;
    for (const Line &line : lines())
        out.append(line.text);
    return out;
}

QStringList TQLogCapture::texts(TQLog::Level level) const
{
    QStringList out;
    for (const Line &line : lines()) {
        if (line.level == level)
            out.append(line.text);
    }
    return out;
}

int TQLogCapture::count(const QString &text) const
{
    int n = 0;
    for (const Line &line : lines()) {
        if (line.text == text)
            ++n;
    }
    return n;
}

void TQLogCapture::clear()
{
    LogImpl::get().clearCapture(m_id);
}
