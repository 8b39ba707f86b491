#include "TestHooks.h"

#include "Solvane.h"

#include "TQDatabase.h"
#include "TqMsgBox.h"

#include <QApplication>
#include <QPushButton>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <stdexcept>

#include <sys/mman.h>
#include <unistd.h>

void TestHooks::installFromEnvironment(QApplication &app)
{
    QStringList hooks = qEnvironmentVariable("TQ_LAUNCHER_TEST").split(QLatin1Char(','));
    hooks.removeAll(QString());
    if (!hooks.isEmpty())
        new TestHooks(app, hooks); // a child of the application
}

TestHooks::TestHooks(QApplication &app, const QStringList &hooks)
    : QObject(&app)
    , m_app(app)
    , m_hooks(hooks)
{
    if (m_hooks.contains(QLatin1String("trace"))) {
        TQDatabase *db = TQDatabase::instance();
        connect(db, &TQDatabase::sig_createAllDb, this, [this] { trace("createAllDb"); });
        connect(db, &TQDatabase::sig_closeAllDb, this, [this] { trace("closeAllDb"); });
        app.installEventFilter(this);
    }
    if (m_hooks.contains(QLatin1String("stdin"))) {
        m_stdin = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
        connect(m_stdin, &QSocketNotifier::activated, this, &TestHooks::onStdin);
    }
    // Runs when the first event loop does: the prompt's or the main one.
    QTimer::singleShot(0, this, &TestHooks::onLoopRunning);
}

void TestHooks::trace(const QString &text)
{
    // One event a line, whatever the text holds.
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    std::printf("tq: %s\n", qUtf8Printable(line));
    std::fflush(stdout);
}

bool TestHooks::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
        if (auto *box = qobject_cast<TqMsgBox *>(watched)) {
            trace(
                event->type() == QEvent::Hide
                    ? QStringLiteral("prompt closed")
                    : QStringLiteral("prompt %1|%2").arg(box->messageTitle(), box->messageText()));
        }
    }
    return QObject::eventFilter(watched, event);
}

void TestHooks::onLoopRunning()
{
    bool shell = false;
    for (QWidget *widget : QApplication::topLevelWidgets())
        shell = shell || qobject_cast<Solvane *>(widget);
    trace(shell ? QStringLiteral("running shell") : QStringLiteral("running prompt"));

    if (m_hooks.contains(QLatin1String("quit")))
        m_app.quit();

    const bool segv = m_hooks.contains(QLatin1String("crash-segv"));
    if (segv || m_hooks.contains(QLatin1String("crash-throw"))) {
        QThread *worker = QThread::create([segv] {
            if (!segv)
                throw std::runtime_error("worker failed");
            // A real fault at a known non-null address, which sanitizers leave to the kernel.
            void *page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            *static_cast<volatile int *>(page) = 1;
        });
        worker->setParent(this);
        worker->start();
    }
}

void TestHooks::onStdin()
{
    char buffer[256];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
        m_stdin->setEnabled(false);
        m_app.quit();
        return;
    }
    m_pending.append(buffer, int(n));
    int end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray command = m_pending.left(end).trimmed();
        m_pending.remove(0, end + 1);
        if (command == "accept")
            pressBoxButton("acceptButton");
        else if (command == "reject")
            pressBoxButton("rejectButton");
        else if (command == "ping")
            trace(QStringLiteral("pong"));
        else if (command == "quit")
            m_app.quit();
    }
}

void TestHooks::pressBoxButton(const char *objectName)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<TqMsgBox *>(widget);
        if (box && box->isVisible()) {
            if (auto *button = box->findChild<QPushButton *>(QLatin1String(objectName)))
                button->click();
            return;
        }
    }
}
