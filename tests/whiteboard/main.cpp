// Runs the whiteboard test classes in order. $TQ_WB_TEST=<Class> runs one class only, so that
// QtTest's own arguments (a function name, -v2, ...) apply to it.

#include "WbTestSupport.h"

#include <QCoreApplication>

#include <memory>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    WhiteBoard_Agent::instance(); // created by the main thread, as a window would
    const QByteArray only = qgetenv("TQ_WB_TEST");
    int failed = 0;
    for (auto make : {newTestWbRequests, newTestWbCallbacks, newTestWbEndToEnd}) {
        const std::unique_ptr<QObject> test(make());
        if (!only.isEmpty() && only != test->metaObject()->className())
            continue;
        failed += QTest::qExec(test.get(), argc, argv) != 0;
    }
    return failed == 0 ? 0 : 1;
}
