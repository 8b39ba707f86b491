#include "TQLog.h"
#include "tq_log_p.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
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
        std::atomic<int> returned {0};
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
        } release {producer.get()};

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
        QCOMPARE(outer->texts(), QStringList {QStringLiteral("cap 1")});

        TQLogCapture inner;
        std::unique_ptr<QThread> thread(
            QThread::create([] { g_Log->LogDebug(QStringLiteral("cap 2")); }));
        thread->start();
        QVERIFY(thread->wait());
        outer.reset();
        g_Log->LogInfo(QStringLiteral("cap 3"));
        g_Log->LogInfo(QStringLiteral("cap 3"));

        const QList<TQLogCapture::Line> lines = inner.lines();
        QCOMPARE(inner.texts(), (QStringList {"cap 2", "cap 3", "cap 3"}));
        QCOMPARE(lines[0].level, TQLog::Debug);
        QVERIFY(lines[0].threadId != lines[1].threadId);
        QCOMPARE(inner.texts(TQLog::Info).size(), 2);
        QCOMPARE(inner.count(QStringLiteral("cap 3")), 2);
        QCOMPARE(inner.count(QStringLiteral("cap")), 0);
        inner.clear();
        QVERIFY(inner.lines().isEmpty());
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
