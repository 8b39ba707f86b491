// Runs every registered window test class. $TQ_UI_TEST=<Class> runs one class only, so that
// QtTest's own arguments (a function name, -v2, ...) apply to it.

#include "UiTest.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return runRegisteredTests(argc, argv, "TQ_UI_TEST");
}
