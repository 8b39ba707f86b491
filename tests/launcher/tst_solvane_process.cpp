// solvane as a whole process: single-instance guard, multi-client setting, crash dumps, a local
// database that does not open.
// The children run with the test hooks described in launcher/TestHooks.h.

#include "TQSettings.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kTimeout = 60000; // generous: a loaded machine must not fail the test

struct Child
{
    QProcess process;
    qint64 pid = 0;
    QByteArray out;
    QByteArray err;

    ~Child()
    {
        process.kill();
        process.waitForFinished(kTimeout);
    }

    void start(QProcessEnvironment env, const QString &hooks, const QString &workDir)
    {
        env.insert(QStringLiteral("TQ_LAUNCHER_TEST"), hooks);
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(workDir);
        process.start(QStringLiteral(SOLVANE_PATH), QStringList());
        if (process.waitForStarted(kTimeout))
            pid = process.processId();
    }

    // Waits for the line "tq: <event>"; false when the child ends without printing it.
    bool waitFor(const QString &event)
    {
        const QByteArray line = "tq: " + event.toUtf8() + '\n';
        (void)QTest::qWaitFor(
            [&] {
                out += process.readAllStandardOutput();
                return out.contains(line) || process.state() == QProcess::NotRunning;
            },
            kTimeout);
        out += process.readAllStandardOutput();
        return out.contains(line);
    }

    // Ends the child's input (its "stdin" hook quits) or waits for it to end by itself.
    bool finish(bool closeInput = false)
    {
        if (closeInput)
            process.closeWriteChannel();
        const bool done = process.waitForFinished(kTimeout);
        out += process.readAllStandardOutput();
        err += process.readAllStandardError();
        return done;
    }

    QStringList events() const
    {
        QStringList result;
        for (const QByteArray &line : out.split('\n')) {
            if (line.startsWith("tq: "))
                result << QString::fromUtf8(line.mid(4));
        }
        return result;
    }

    QByteArray diagnostics() const { return "stdout:\n" + out + "\nstderr:\n" + err; }
};

} // namespace

class TestSolvaneProcess : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void secondStartShowsThePromptAndExitsWhenAnswered_data();
    void secondStartShowsThePromptAndExitsWhenAnswered();
    void multiClientsAllowsSeveralInstances();
    void killedFirstInstanceReleasesTheGuard();
    void crashOnWorkerThreadWritesOneDump_data();
    void crashOnWorkerThreadWritesOneDump();
    void damagedDatabaseShowsANoticeAndTheShellRuns_data();
    void damagedDatabaseShowsANoticeAndTheShellRuns();

private:
    void writeConfig(bool multiClients, int language = 1);

    std::unique_ptr<QTemporaryDir> m_dir;
    QProcessEnvironment m_env;
};

void TestSolvaneProcess::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_env = QProcessEnvironment::systemEnvironment();
    m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_env.remove(QStringLiteral("DISPLAY"));
    m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir->path()); // this test's own guard
    m_env.insert(QStringLiteral("TQ_CONFIG_FILE"), m_dir->filePath(QStringLiteral("tq.ini")));
    writeConfig(false);
}

void TestSolvaneProcess::writeConfig(bool multiClients, int language)
{
    QFile file(m_dir->filePath(QStringLiteral("tq.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[General]\nLanguage=" + QByteArray::number(language)
               + "\nMultiClients=" + (multiClients ? "true\n" : "false\n"));
}

void TestSolvaneProcess::secondStartShowsThePromptAndExitsWhenAnswered_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("accepted") << QByteArray("accept\n");
    QTest::newRow("rejected") << QByteArray("reject\n");
}

void TestSolvaneProcess::secondStartShowsThePromptAndExitsWhenAnswered()
{
    QFETCH(QByteArray, answer);
    Child first, second;
    first.start(m_env, QStringLiteral("trace,stdin"), m_dir->path());
    QVERIFY2(first.waitFor(QStringLiteral("running shell")), first.diagnostics());

    second.start(m_env, QStringLiteral("trace,stdin"), m_dir->path());
    QVERIFY2(second.waitFor(QStringLiteral("running prompt")), second.diagnostics());
    QCOMPARE(second.events(), QStringList({"prompt Prompt|Client is running", "running prompt"}));
    QCOMPARE(second.process.state(), QProcess::Running); // waits for the answer

    second.process.write(answer);
    QVERIFY2(second.finish(), second.diagnostics());
    QCOMPARE(second.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.process.exitCode(), 0);
    QVERIFY2(!second.events().contains("createAllDb"), second.diagnostics()); // no database

    // The first instance carries on, and ends with the databases closed after its loop.
    QVERIFY2(first.finish(true), first.diagnostics());
    QCOMPARE(first.process.exitCode(), 0);
    QCOMPARE(first.events(), QStringList({"createAllDb", "running shell", "closeAllDb"}));
}

void TestSolvaneProcess::multiClientsAllowsSeveralInstances()
{
    writeConfig(true);
    Child first, second;
    first.start(m_env, QStringLiteral("trace,stdin"), m_dir->path());
    QVERIFY2(first.waitFor(QStringLiteral("running shell")), first.diagnostics());
    second.start(m_env, QStringLiteral("trace,stdin"), m_dir->path());
    QVERIFY2(second.waitFor(QStringLiteral("running shell")), second.diagnostics());
    QVERIFY(first.finish(true) && second.finish(true));
    QCOMPARE(first.process.exitCode() + second.process.exitCode(), 0);
}

void TestSolvaneProcess::killedFirstInstanceReleasesTheGuard()
{
    Child first, next;
    first.start(m_env, QStringLiteral("trace"), m_dir->path());
    QVERIFY2(first.waitFor(QStringLiteral("running shell")), first.diagnostics());
    first.process.kill(); // SIGKILL: none of its own code runs
    QVERIFY(first.finish());

    next.start(m_env, QStringLiteral("trace,stdin"), m_dir->path());
    QVERIFY2(next.waitFor(QStringLiteral("running shell")), next.diagnostics());
    QVERIFY2(next.finish(true), next.diagnostics());
    QCOMPARE(next.process.exitCode(), 0);
}

void TestSolvaneProcess::crashOnWorkerThreadWritesOneDump_data()
{
    QTest::addColumn<QString>("hook");
    QTest::addColumn<QByteArray>("signal");
    QTest::newRow("fault") << QStringLiteral("crash-segv") << QByteArray("SIGSEGV");
    QTest::newRow("uncaught exception") << QStringLiteral("crash-throw") << QByteArray("SIGABRT");
}

void TestSolvaneProcess::crashOnWorkerThreadWritesOneDump()
{
    QFETCH(QString, hook);
    QFETCH(QByteArray, signal);
    const QDir cwd(m_dir->filePath(QStringLiteral("cwd")));
    QVERIFY(cwd.mkpath(QStringLiteral(".")));

    Child child;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    child.start(m_env, QStringLiteral("trace,") + hook, cwd.path());
    QVERIFY2(child.finish(), child.diagnostics());
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    QCOMPARE(child.process.exitStatus(), QProcess::CrashExit);
    QVERIFY2(child.events().contains("running shell"), child.diagnostics());

    const QStringList dumps = cwd.entryList(QDir::Files);
    QCOMPARE(dumps.size(), 1);
    QStringList expected; // the version and the crash's second, in local time
    for (QDateTime t = before; t <= after; t = t.addSecs(1))
        expected << "TQ_v" + TQSettings::getVersionValues() + "_t"
                + t.toString(QStringLiteral("yyyy-MM-dd-ddd_hh-mm-ss")) + ".dmp";
    QVERIFY2(expected.contains(dumps.first()), qPrintable(dumps.first()));
    QVERIFY2(child.err.contains("Beng_" + dumps.first().toUtf8() + '\n'), child.diagnostics());

    QFile file(cwd.filePath(dumps.first()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray dump = file.readAll();
    for (const QByteArray &field : {"signal: " + signal + '\n', QByteArray("\naddress: 0x"),
                                    "\npid: " + QByteArray::number(child.pid) + '\n',
                                    QByteArray("\nthread: "), QByteArray("\nbacktrace:\n")})
        QVERIFY2(dump.contains(field), dump.constData());
    // The worker thread, not the main one (whose id is the pid).
    QVERIFY(!dump.contains("\nthread: " + QByteArray::number(child.pid) + '\n'));
}

void TestSolvaneProcess::damagedDatabaseShowsANoticeAndTheShellRuns_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("prompt"); // "<title>|<text>", up to the path
    QTest::newRow("English") << 1
                             << "Local history unavailable|The local database could not be "
                                "opened, so local history is unavailable. Reason: The database "
                                "file is damaged or is not a database.\\n\\nDetails: ";
    QTest::newRow("Chinese") << 0
                             << QString::fromUtf8(
                                    "本地历史记录不可用|无法打开本地数据库，本地历史记录不可用。"
                                    "原因：数据库文件已损坏或不是数据库文件。\\n\\n详细信息：");
}

void TestSolvaneProcess::damagedDatabaseShowsANoticeAndTheShellRuns()
{
    QFETCH(int, language);
    QFETCH(QString, prompt);
    writeConfig(false, language);
    const QString data = m_dir->filePath(QStringLiteral("data"));
    const QString file = data + QStringLiteral("/db/client.db");
    QVERIFY(QDir().mkpath(data + QStringLiteral("/db")));
    m_env.insert(QStringLiteral("TQ_DATA_DIR"), data);
    QFile garbage(file);
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    QByteArray bytes(4096, Qt::Uninitialized);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
    garbage.write(bytes);
    garbage.close();

    Child child;
    child.start(m_env, QStringLiteral("trace,stdin"), m_dir->path());
    QVERIFY2(child.waitFor(QStringLiteral("running shell")), child.diagnostics());
    QCOMPARE(child.events(),
             QStringList({"createAllDb", "prompt " + prompt + file + ": file is not a database",
                          "running shell"}));

    // Informational: closing it leaves the program running.
    child.process.write("accept\n");
    QVERIFY2(child.waitFor(QStringLiteral("prompt closed")), child.diagnostics());
    child.process.write("ping\n");
    QVERIFY2(child.waitFor(QStringLiteral("pong")), child.diagnostics());
    QVERIFY2(child.finish(true), child.diagnostics());
    QCOMPARE(child.process.exitCode(), 0);
    QCOMPARE(child.events().last(), QStringLiteral("closeAllDb"));
}

QTEST_GUILESS_MAIN(TestSolvaneProcess)
#include "tst_solvane_process.moc"
