// The library's end while the engine still calls back: a child program leaves main() in
// several ways while events and requests are in full flow, many times over. Every run must
// end with exit code 0 and nothing on stderr but the child's own lines (a sanitizer report,
// a crash or a Qt warning fails it).

#include <QProcess>
#include <QtTest>

namespace {

struct Run
{
    QString mode;
    std::unique_ptr<QProcess> process;
};

} // namespace

class TestShutdown : public QObject
{
    Q_OBJECT

private slots:
    void leavingMainWhileTheEngineCallsBack()
    {
        const QStringList modes{"app", "exec", "uninit", "destroy"};
        const int runs = qEnvironmentVariableIsSet("TQ_SHUTDOWN_RUNS")
            ? qEnvironmentVariableIntValue("TQ_SHUTDOWN_RUNS")
            : 50;
        constexpr int kParallel = 4;
        int started = 0;
        int finished = 0;
        std::vector<Run> running;
        while (finished < runs) {
            while (int(running.size()) < kParallel && started < runs) {
                Run run{modes.at(started % modes.size()), std::make_unique<QProcess>()};
                run.process->start(QStringLiteral(SHUTDOWN_CHILD_PATH), {run.mode});
                QVERIFY2(run.process->waitForStarted(60000), qPrintable(run.mode));
                running.push_back(std::move(run));
                ++started;
            }
            Run run = std::move(running.front());
            running.erase(running.begin());
            QVERIFY2(run.process->waitForFinished(120000), qPrintable(run.mode));
            ++finished;
            const QByteArray err = run.process->readAllStandardError();
            const QString what = QStringLiteral("mode %1, run %2, exit %3:\n%4")
                                     .arg(run.mode)
                                     .arg(finished)
                                     .arg(run.process->exitCode())
                                     .arg(QString::fromUtf8(err));
            QVERIFY2(run.process->exitStatus() == QProcess::NormalExit, qPrintable(what));
            QVERIFY2(run.process->exitCode() == 0, qPrintable(what));
            for (const QByteArray &line : err.split('\n'))
                QVERIFY2(line.isEmpty() || line.startsWith("shutdown_child: "), qPrintable(what));
            QVERIFY2(err.contains("shutdown_child: leaving main"), qPrintable(what));
        }
    }
};

QTEST_GUILESS_MAIN(TestShutdown)
#include "tst_shutdown.moc"
