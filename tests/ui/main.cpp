// Runs every registered window test class. $TQ_UI_TEST=<Class> runs one class only, so that
// QtTest's own arguments (a function name, -v2, ...) apply to it.

#include "UiTest.h"

#include <QApplication>
#include <QtTest>

#include <memory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QByteArray only = qgetenv("TQ_UI_TEST");
    int failed = 0;
    for (const UiTestRegistry::Entry &entry : UiTestRegistry::entries()) {
        if (!only.isEmpty() && only != entry.name)
            continue;
        const std::unique_ptr<QObject> test(entry.make());
        failed += QTest::qExec(test.get(), argc, argv) != 0;
    }
    return failed == 0 ? 0 : 1;
}
