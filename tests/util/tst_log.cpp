#include "TQLog.h"
#include "tq_log_p.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>
#include <vector>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Logged by a static initializer, before main() and before any QCoreApplication.
const bool s_appBeforeMain = [] {
    g_Log->LogInfo(QStringLiteral("early line"));
    return QCoreApplication::instance() != nullptr;
}();

struct Line
{
    QString stamp, level;
    quintptr tid;
    QString text;
};

// Lines of a log file whose text starts with `prefix`, and bare lines starting with it
// (continuations of a multi-line text, or torn lines).
QList<Line> readLog(const QString &prefix, const QString &path = g_Log->logFilePath())
{
    static const QRegularExpression re(QStringLiteral(
        R"(^(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}) \[(INFO |ERROR|DEBUG)\] \[(\d+)\] (.*)$)"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<Line> out;
    for (const QString &raw : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = re.match(raw);
        if (m.hasMatch() && m.captured(4).startsWith(prefix))
            out.append({m.captured(1), m.captured(2), m.captured(3).toULongLong(), m.captured(4)});
        else if (!m.hasMatch() && raw.startsWith(prefix) && !prefix.isEmpty())
            out.append({QString(), QString(), 0, raw}); // continuation of a multi-line text
    }
    return out;
}

// Numbers of the "disk n" lines of a file, in order; -1 stands for torn lines.
QList<int> diskLines(const QString &path)
{
    QFile file(path);
    const QByteArray all = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    QList<int> out;
    for (const Line &line : readLog(QStringLiteral("disk "), path))
        out.append(line.stamp.isEmpty() ? -1 : line.text.mid(5).toInt());
    if (!all.endsWith('\n') || all.count("] disk ") != out.size())
        out.append(-1);
    return out;
}

int childMain(const QByteArray &mode)
{
    // No flush anywhere: a normal exit must write everything out.
    const int lines = mode == "exit" ? 20000 : 3;
    for (int i = 0; i < lines; ++i)
        g_Log->LogError(QStringLiteral("child %1").arg(i));
    return 0;
}

std::unique_ptr<QProcess> runChild(const QByteArray &mode, const QString &logDir)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TQ_LOG_CHILD"), QString::fromLatin1(mode));
    env.insert(QStringLiteral("TQ_LOG_DIR"), logDir);
    process->setProcessEnvironment(env);
    process->start(QCoreApplication::applicationFilePath(), QStringList());
    return process;
}

} // namespace

class TstLog : public QObject
{
    Q_OBJECT

private slots:
    void formatBeforeMainAndVerbatim()
    {
        QVERIFY(!s_appBeforeMain);
        const qint64 before = QDateTime::currentMSecsSinceEpoch();
        g_Log->LogInfo(QStringLiteral("fmt %1 100% %s \u4e2d\u6587 \U0001F600"));
        g_Log->LogError(QStringLiteral("fmt error"));
        g_Log->LogDebug(QStringLiteral("fmt debug\nfmt continued"));
        const qint64 after = QDateTime::currentMSecsSinceEpoch();
        g_Log->flush();

        QCOMPARE(readLog(QStringLiteral("early line")).size(), 1);
        const QList<Line> lines = readLog(QStringLiteral("fmt "));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0].text, QStringLiteral("fmt %1 100% %s \u4e2d\u6587 \U0001F600"));
        QCOMPARE(lines[0].level + lines[1].level + lines[2].level,
                 QStringLiteral("INFO ERRORDEBUG"));
        QCOMPARE(lines[3].text, QStringLiteral("fmt continued"));
        const qint64 stamp
            = QDateTime::fromString(lines[0].stamp, QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"))
                  .toMSecsSinceEpoch();
        QVERIFY2(stamp >= before && stamp <= after, qPrintable(lines[0].stamp));
    }

    // The file holds exactly the text's UTF-8, as QString::toUtf8 gives it, also for every
    // width of character and for a broken surrogate pair.
    void textsAreWrittenAsUtf8()
    {
        const QString text = QStringLiteral("utf8 a\u00e9\u4e2d\U0001F600 ")
            + QString::fromUtf16(u"x\xd800y\xdc00z");
        g_Log->LogInfo(text);
        g_Log->flush();
        QFile file(g_Log->logFilePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.contains("] " + text.toUtf8() + '\n'));
    }

    void concurrentWritersLoseNothing()
    {
        constexpr int kThreads = 4;
        constexpr int kLines = 40000;
        TQLogCapture capture;
        std::vector<std::unique_ptr<QThread>> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back(QThread::create([t] {
                for (int i = 0; i < kLines; ++i)
                    g_Log->LogInfo(QStringLiteral("mt %1 %2").arg(t).arg(i));
            }));
            threads.back()->start();
        }
        for (auto &thread : threads)
            QVERIFY(thread->wait());
        g_Log->flush();

        QList<Line> fromCapture;
        for (const TQLogCapture::Line &l : capture.lines())
            fromCapture.append({QString(), QString(), l.threadId, l.text});
        for (const QList<Line> &lines : {readLog(QStringLiteral("mt ")), fromCapture}) {
            QCOMPARE(lines.size(), kThreads * kLines);
            // Each thread's lines complete, in its own order, under one id of its own.
            QVector<int> next(kThreads, 0);
            QHash<int, quintptr> tids;
            for (const Line &line : lines) {
                const QStringList parts = line.text.split(QLatin1Char(' '));
                QCOMPARE(parts.size(), 3);
                const int t = parts[1].toInt();
                QCOMPARE(parts[2].toInt(), next[t]++);
                QCOMPARE(tids.value(t, line.tid), line.tid);
                tids.insert(t, line.tid);
            }
            QCOMPARE(next, QVector<int>(kThreads, kLines));
            QCOMPARE(QSet<quintptr>(tids.begin(), tids.end()).size(), kThreads);
        }
    }

    void fullQueueBlocksInsteadOfDropping()
    {
        const int capacity = int(tq::logtest::queueCapacity());
        const int total = capacity + 100;
        std::atomic<int> returned{0};
        std::unique_ptr<QThread> producer(QThread::create([&returned, total] {
            for (int i = 0; i < total; ++i) {
                g_Log->LogInfo(QStringLiteral("full %1").arg(i));
                returned.store(i + 1);
            }
        }));
        // However this test ends, the writer runs again and the producer finishes.
        struct Release
        {
            QThread *thread;
            ~Release()
            {
                tq::logtest::setWriterPaused(false);
                thread->wait();
            }
        } release{producer.get()};

        g_Log->flush();
        tq::logtest::setWriterPaused(true);
        producer->start();
        QTRY_COMPARE_WITH_TIMEOUT(int(tq::logtest::queuedEntries()), capacity, 240000);
        QVERIFY(returned.load() <= capacity);
        QVERIFY(!producer->isFinished());

        tq::logtest::setWriterPaused(false);
        QVERIFY(producer->wait());
        g_Log->flush();
        const QList<Line> lines = readLog(QStringLiteral("full "));
        QCOMPARE(lines.size(), total);
        QCOMPARE(lines.last().text, QStringLiteral("full %1").arg(total - 1));
    }

    void closeThenReopenAppendsOwnerOnly()
    {
        const QString path = g_Log->logFilePath();
        const QStringList files = QDir(QFileInfo(path).path()).entryList(QDir::Files);
        for (int i = 0; i < 500; ++i)
            g_Log->LogInfo(QStringLiteral("reopen A %1").arg(i));
        g_Log->closeLogFile();
        QCOMPARE(readLog(QStringLiteral("reopen A ")).size(), 500); // closed means written

        g_Log->LogInfo(QStringLiteral("reopen B"));
        g_Log->closeLogFile();
        g_Log->closeLogFile();
        QCOMPARE(g_Log->logFilePath(), path);
        QCOMPARE(readLog(QStringLiteral("reopen ")).size(), 501);
        QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files), files);
#ifdef Q_OS_UNIX
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0600));
#endif
    }

    void captures()
    {
        auto outer = std::make_unique<TQLogCapture>();
        g_Log->LogError(QStringLiteral("cap 1"));
        // Filled before the call returns, no flush needed.
        QCOMPARE(outer->texts(), QStringList{QStringLiteral("cap 1")});

        TQLogCapture inner;
        std::unique_ptr<QThread> thread(
            QThread::create([] { g_Log->LogDebug(QStringLiteral("cap 2")); }));
        thread->start();
        QVERIFY(thread->wait());
        outer.reset();
        g_Log->LogInfo(QStringLiteral("cap 3"));
        g_Log->LogInfo(QStringLiteral("cap 3"));

        const QList<TQLogCapture::Line> lines = inner.lines();
        QCOMPARE(inner.texts(), (QStringList{"cap 2", "cap 3", "cap 3"}));
        QCOMPARE(lines[0].level, TQLog::Debug);
        QVERIFY(lines[0].threadId != lines[1].threadId);
        QCOMPARE(inner.texts(TQLog::Info).size(), 2);
        QCOMPARE(inner.count(QStringLiteral("cap 3")), 2);
        QCOMPARE(inner.count(QStringLiteral("cap")), 0);
        inner.clear();
        QVERIFY(inner.lines().isEmpty());
    }

    void errorLinesAreWrittenAtOnce()
    {
        g_Log->flush(); // the writer then gathers nothing older with the old interval
        const auto gather = tq::logtest::setGatherTime(std::chrono::hours(1));
        const auto restore = qScopeGuard([gather] {
            tq::logtest::setGatherTime(gather);
            g_Log->flush(); // wakes a writer still gathering
        });
        const QString prefix = QStringLiteral("urgent ");
        g_Log->LogInfo(prefix + QStringLiteral("info"));
        g_Log->LogError(prefix + QStringLiteral("error"));
        QTRY_COMPARE(readLog(prefix).size(), 2); // no flush: the error gets both lines out
    }

    void discardedLinesAreOnlyCaptured()
    {
        TQLogCapture capture;
        tq::logtest::setDiscard(true);
        const auto restore = qScopeGuard([] { tq::logtest::setDiscard(false); });
        g_Log->LogError(QStringLiteral("discard 1"));
        g_Log->flush();
        tq::logtest::setDiscard(false);
        g_Log->LogInfo(QStringLiteral("discard 2"));
        g_Log->flush();
        QCOMPARE(capture.texts(), (QStringList{"discard 1", "discard 2"}));
        QCOMPARE(readLog(QStringLiteral("discard ")).size(), 1);
        QCOMPARE(readLog(QStringLiteral("discard 2")).size(), 1);
    }

    void fullDiskKeepsLinesWholeAndRetries()
    {
#ifndef Q_OS_UNIX
        QSKIP("needs RLIMIT_FSIZE");
#else
        // A file size limit stands in for a full disk: writes past it fail with EFBIG.
        const QString path = g_Log->logFilePath();
        int next = 0;
        const auto logLines = [&next](int n) { // lines of one length
            for (int i = 0; i < n; ++i)
                g_Log->LogInfo(QStringLiteral("disk %1").arg(next++, 4, 10, QLatin1Char('0')));
            g_Log->flush();
        };
        // The limit caps the file that takes stderr as well: keep the log far above it.
        g_Log->LogInfo(QString(65536, QLatin1Char('.')));
        g_Log->flush();
        const qint64 before = QFileInfo(path).size();
        logLines(1);
        const qint64 lineSize = QFileInfo(path).size() - before;

        QTemporaryFile errFile; // takes stderr meanwhile
        QVERIFY(errFile.open());
        std::fflush(stderr);
        const int savedErr = ::dup(2);
        QVERIFY(savedErr >= 0 && ::dup2(errFile.handle(), 2) == 2);
        rlimit limit;
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &limit), 0);
        const auto oldXfsz = std::signal(SIGXFSZ, SIG_IGN);
        const auto pause = tq::logtest::setRetryPause(std::chrono::milliseconds(0));
        const auto restore = qScopeGuard([&] {
            ::setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, oldXfsz);
            g_Log->closeLogFile(); // the next line tries the file at once
            tq::logtest::setRetryPause(pause);
            ::dup2(savedErr, 2);
            ::close(savedErr);
        });

        // Room for lines 1-3 and half of 4; without a pause every later batch retries.
        rlimit low = limit;
        low.rlim_cur = rlim_t(before + 4 * lineSize + lineSize / 2);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &low), 0);
        logLines(10);
        logLines(10);
        tq::logtest::setRetryPause(std::chrono::hours(1));
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        logLines(1); // 21: space is back but the file rests
        tq::logtest::setRetryPause(std::chrono::milliseconds(20));
        QTRY_VERIFY((logLines(1), diskLines(path).last() == next - 1));

        const QList<int> inFile = diskLines(path), onStderr = diskLines(errFile.fileName());
        QVERIFY(onStderr.last() >= 21);
        QList<int> fileWants{0, 1, 2, 3}, stderrWants;
        for (int i = 4; i < next; ++i)
            (i <= onStderr.last() ? stderrWants : fileWants).append(i);
        QCOMPARE(onStderr, stderrWants);
        QCOMPARE(inFile, fileWants);
        QFile errRead(errFile.fileName()); // errFile's offset is stderr's
        QVERIFY(errRead.open(QIODevice::ReadOnly));
        const QString err = QString::fromUtf8(errRead.readAll());
        QCOMPARE(err.count(QStringLiteral("TQLog: ")), 2);
        QCOMPARE(err.count(QString::fromLocal8Bit(std::strerror(EFBIG))), 1);
        QCOMPARE(err.count(QStringLiteral(" resumed\n")), 1);
#endif
    }

    void normalExitWritesEverything()
    {
        QTemporaryDir dir;
        const std::unique_ptr<QProcess> child = runChild("exit", dir.path());
        QVERIFY(child->waitForStarted(240000));
        const qint64 pid = child->processId();
        QVERIFY(child->waitForFinished(240000));
        QCOMPARE(child->exitCode(), 0);

        const QStringList files = QDir(dir.path()).entryList({"TQ_*.log"}, QDir::Files);
        QCOMPARE(files.size(), 1);
        QVERIFY(files[0].endsWith(QStringLiteral("_%1.log").arg(pid)));
        const QList<Line> lines = readLog(QStringLiteral("child "), dir.filePath(files[0]));
        QCOMPARE(lines.size(), 20000);
        QCOMPARE(lines.last().text, QStringLiteral("child 19999"));
    }

    void unopenableFileFallsBackToStderr()
    {
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        const std::unique_ptr<QProcess> child = runChild("stderr", blocker.fileName() + "/log");
        QVERIFY(child->waitForFinished(240000));
        QCOMPARE(child->exitCode(), 0);
        const QString err = QString::fromUtf8(child->readAllStandardError());
        for (const char *text :
             {"logging to standard error", "[ERROR] [", "] child 0\n", "] child 2\n"})
            QVERIFY2(err.contains(QLatin1String(text)), qPrintable(err));
    }
};

int main(int argc, char **argv)
{
    const QByteArray childMode = qgetenv("TQ_LOG_CHILD");
    if (!childMode.isEmpty())
        return childMain(childMode);
    QCoreApplication app(argc, argv);
    TstLog test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_log.moc"
