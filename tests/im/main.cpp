// Runs the messaging test classes in order. $TQ_IM_TEST=<Class> runs one class only, so that
// QtTest's own arguments (a function name, -v2, ...) apply to it.

#include "ImTestSupport.h"

#include <QCoreApplication>

#include <memory>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    IM_Agent::instance(); // created by the main thread, as a window would
    const QByteArray only = qgetenv("TQ_IM_TEST");
    int failed = 0;
    for (auto make : {newTestImRecords, newTestImQueue, newTestImRequests, newTestImCallbacks,
                      newTestImEndToEnd, newTestImGroupRequests, newTestImGroupCallbacks,
                      newTestImGroupEndToEnd, newTestImLifecycle}) {
        const std::unique_ptr<QObject> test(make());
        if (!only.isEmpty() && only != test->metaObject()->className())
            continue;
        failed += QTest::qExec(test.get(), argc, argv) != 0;
    }
    return failed == 0 ? 0 : 1;
}
