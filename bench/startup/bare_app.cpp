// The baseline: a QApplication that builds and shows one widget, then reports its running
// event loop the way solvane's "trace" hook does and quits.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.show();
    QTimer::singleShot(0, &app, [&app] {
        std::printf("tq: running shell\n");
        std::fflush(stdout);
        app.quit();
    });
    return app.exec();
}
