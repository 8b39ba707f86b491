// The client tour's shared steps: find, click, type into and photograph the client's windows.
// Each area's pictures live in their own tour_<area>.cpp and register themselves with
// TQ_TOUR_STEP; main runs them in order after the core steps.
#pragma once

#include <QApplication>
#include <QString>
#include <QWidget>

#include <functional>

namespace tour {

extern QString g_outDir;
extern QString g_suffix;
extern int g_failures;

QWidget *window(const char *name);
bool waitFor(const std::function<bool()> &condition, const char *what);
void shot(const char *windowName, const char *file);
void click(const char *windowName, const char *button);
void type(const char *windowName, const char *edit, const QString &text);
void closeWindow(const char *name);

template<class T> T *child(const char *windowName, const char *childName)
{
    QWidget *w = window(windowName);
    return w ? w->findChild<T *>(QLatin1String(childName)) : nullptr;
}

// Steps run after the core tour (login, profile, calls, chat), lowest order first.
struct Step
{
    Step(int order, const char *name, void (*run)());
};
void runSteps();

} // namespace tour

#define TQ_TOUR_CAT2(a, b) a##b
#define TQ_TOUR_CAT(a, b) TQ_TOUR_CAT2(a, b)
#define TQ_TOUR_STEP(order, fn)                                                                    \
    static const tour::Step TQ_TOUR_CAT(tq_tour_step_, __LINE__)(order, #fn, fn)
