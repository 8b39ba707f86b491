#include "Tour.h"

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace tour {

QString g_outDir;
QString g_suffix;
int g_failures = 0;

QWidget *window(const char *name)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    return nullptr;
}

bool waitFor(const std::function<bool()> &condition, const char *what)
{
    if (QTest::qWaitFor(condition, 20000))
        return true;
    std::fprintf(stderr, "client_tour: gave up waiting for %s\n", what);
    ++g_failures;
    return false;
}

void shot(const char *windowName, const char *file)
{
    QWidget *w = nullptr;
    if (!waitFor([&] { return (w = window(windowName)) != nullptr; }, windowName))
        return;
    QTest::qWait(150); // let the window paint once more at its final size
    const QString path = QDir(g_outDir).filePath(QString::fromLatin1(file) + g_suffix + ".png");
    if (!w->grab().save(path)) {
        std::fprintf(stderr, "client_tour: cannot write %s\n", qPrintable(path));
        ++g_failures;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

void click(const char *windowName, const char *button)
{
    if (auto *b = child<QAbstractButton>(windowName, button))
        QTest::mouseClick(b, Qt::LeftButton);
    else {
        std::fprintf(stderr, "client_tour: no %s in %s\n", button, windowName);
        ++g_failures;
    }
}

void type(const char *windowName, const char *edit, const QString &text)
{
    if (auto *e = child<QLineEdit>(windowName, edit)) {
        e->clear();
        QTest::keyClicks(e, text);
    }
}

void closeWindow(const char *name)
{
    if (QWidget *w = window(name))
        w->close();
}

namespace {
struct Entry
{
    int order;
    const char *name;
    void (*run)();
};
std::vector<Entry> &steps()
{
    static std::vector<Entry> all;
    return all;
}
} // namespace

Step::Step(int order, const char *name, void (*run)())
{
    steps().push_back({order, name, run});
}

void runSteps()
{
    std::vector<Entry> all = steps();
    std::stable_sort(all.begin(), all.end(),
                     [](const Entry &a, const Entry &b) { return a.order < b.order; });
    for (const Entry &e : all) {
        std::printf("client_tour: %s\n", e.name);
        e.run();
    }
}

} // namespace tour
