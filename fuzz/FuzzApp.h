#pragma once

// What the fuzz targets start with: an application object (the agents' worker thread needs
// one), files kept out of the user's own folders, and a logger that drops its lines: every
// callback logs, and at fuzzing rates a real log file would grow by gigabytes.

#include <tq_log_p.h>

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>

// A property of the code under test; a failure is reported by libFuzzer as a crash.
#define TQ_FUZZ_CHECK(cond) ((cond) ? void(0) : tqfuzz::checkFailed(#cond, __FILE__, __LINE__))

namespace tqfuzz {

[[noreturn]] inline void checkFailed(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::fflush(stderr);
    std::abort();
}

inline void startQt()
{
    const QString scratch = QDir::temp().filePath(QStringLiteral("tq-fuzz"));
    for (const char *name : {"TQ_LOG_DIR", "TQ_DATA_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
        if (qEnvironmentVariableIsEmpty(name))
            qputenv(name, (scratch + QLatin1Char('/') + QLatin1String(name)).toLocal8Bit());
    tq::logtest::setDiscard(true);

    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *const app = new QCoreApplication(argc, argv); // never destroyed
    Q_UNUSED(app)
}

} // namespace tqfuzz
