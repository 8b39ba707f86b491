// solvane: the suite's launcher.

#include "Launcher.h"
#ifdef TQ_LAUNCHER_TEST_HOOKS
#include "TestHooks.h"
#endif

#include <QApplication>

int main(int argc, char *argv[])
{
    Launcher::installCrashDumps(); // 1
    Launcher::prepareHighDpi(); // 2: before the application object
    QApplication app(argc, argv); // 3
#ifdef TQ_LAUNCHER_TEST_HOOKS
    TestHooks::installFromEnvironment(app); // only when $TQ_LAUNCHER_TEST is set
#endif
    return Launcher::run(app); // 4 to 11, then the shutdown
}
