#pragma once

#include <QObject>

class QApplication;
class QSocketNotifier;

// Hooks for the launcher's process tests and the start-up benchmark. They do nothing unless
// $TQ_LAUNCHER_TEST holds a comma-separated list of:
//   trace        print "tq: <event>" lines on stdout: "createAllDb", "closeAllDb",
//                "running shell" / "running prompt" when the event loop starts,
//                "prompt <title>|<text>" when a message box shows (the database notice too)
//                and "prompt closed" when it hides; a line break in an event prints as "\n"
//   stdin        read commands on stdin, one a line: "accept" / "reject" press the shown
//                message box's button, "ping" traces "pong" (the loop still runs),
//                "quit" (or the end of input) quits the event loop
//   quit         quit the event loop as soon as it runs
//   crash-segv   once the event loop runs, write to an unmapped page on a worker thread
//   crash-throw  once the event loop runs, throw an uncaught exception on a worker thread
class TestHooks : public QObject
{
    Q_OBJECT
public:
    static void installFromEnvironment(QApplication &app);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TestHooks(QApplication &app, const QStringList &hooks);
    void onLoopRunning();
    void onStdin();
    void pressBoxButton(const char *objectName);
    void trace(const QString &text);

    QApplication &m_app;
    QStringList m_hooks;
    QSocketNotifier *m_stdin = nullptr;
    QByteArray m_pending;
};
