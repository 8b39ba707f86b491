// Runs the room-video test classes in order. $TQ_VIDYO_TEST=<Class> runs one class only, so
// that QtTest's own arguments (a function name, -v2, ...) apply to it.

#include "VidyoTestSupport.h"

#include <QCoreApplication>

#include <memory>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Vidyo_Agent::instance(); // created by the main thread, as a window would
    const QByteArray only = qgetenv("TQ_VIDYO_TEST");
    int failed = 0;
    for (auto make : {newTestVidyoRequests, newTestVidyoEvents, newTestVidyoEndToEnd}) {
        const std::unique_ptr<QObject> test(make());
        if (!only.isEmpty() && only != test->metaObject()->className())
            continue;
        failed += QTest::qExec(test.get(), argc, argv) != 0;
    }
    vidyosim::Control::reset(); // the client's thread ends before the statics go
    return failed == 0 ? 0 : 1;
}
