// Start-up time to the running event loop, solvane against the bare baseline, in one run.
// Each sample is the wall time from starting the process to its "tq: running shell" line.
// The two programs alternate so that machine noise hits both alike; medians are compared.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {

double startupMs(const QString &program, const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    process.start(program, QStringList());
    QByteArray out;
    double ms = -1;
    while (process.waitForReadyRead(60000)) {
        out += process.readAllStandardOutput();
        if (out.contains("tq: running shell\n")) {
            ms = double(timer.nsecsElapsed()) / 1e6;
            break;
        }
    }
    process.waitForFinished(60000);
    return ms;
}

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 21;

    QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("tq.ini")));
    if (!dir.isValid() || !config.open(QIODevice::WriteOnly))
        return 1;
    config.write("[General]\nLanguage=1\nMultiClients=false\n");
    config.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.remove(QStringLiteral("DISPLAY"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    env.insert(QStringLiteral("TQ_CONFIG_FILE"), config.fileName());
    env.insert(QStringLiteral("TQ_DATA_DIR"), dir.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("TQ_LOG_DIR"), dir.filePath(QStringLiteral("log")));
    env.insert(QStringLiteral("TQ_LAUNCHER_TEST"), QStringLiteral("trace,quit"));

    // One unmeasured start of each fills the file cache.
    startupMs(QStringLiteral(BARE_APP_PATH), env);
    startupMs(QStringLiteral(SOLVANE_PATH), env);

    QVector<double> bare, solvane;
    for (int i = 0; i < runs; ++i) {
        bare << startupMs(QStringLiteral(BARE_APP_PATH), env);
        solvane << startupMs(QStringLiteral(SOLVANE_PATH), env);
    }
    if (std::count(bare.begin(), bare.end(), -1.0)
        + std::count(solvane.begin(), solvane.end(), -1.0)) {
        QTextStream(stderr) << "a start did not reach its event loop\n";
        return 1;
    }
    const double b = median(bare), s = median(solvane);
    QTextStream out(stdout);
    out << QStringLiteral("runs: %1\n").arg(runs)
        << QStringLiteral("bare QApplication + one widget: median %1 ms\n").arg(b, 0, 'f', 1)
        << QStringLiteral("solvane, shell built:           median %1 ms\n").arg(s, 0, 'f', 1)
        << QStringLiteral("ratio: %1 (target <= 1.5)\n").arg(s / b, 0, 'f', 2);
    return 0;
}
