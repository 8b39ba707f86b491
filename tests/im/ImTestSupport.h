#pragma once

// What the messaging tests share: receivers on the main thread, a fresh engine, waiting for
// the worker and the engine, and the send queue's ticks driven by hand.

#include <IM_Agent.h>
#include <IM_CallBackProxy.h>
#include <IM_TaskQueueProbe.h>
#include <TQLog.h>
#include <ZSsdkControl.h>

#include <QObject>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <tuple>

// The test classes, in the order main() runs them (the last one destroys the agent).
QObject *newTestImRecords();
QObject *newTestImQueue();
QObject *newTestImRequests();
QObject *newTestImCallbacks();
QObject *newTestImEndToEnd();
QObject *newTestImGroupRequests();
QObject *newTestImGroupCallbacks();
QObject *newTestImGroupEndToEnd();
QObject *newTestImLifecycle();

// Collects one result signal of the agent on the main thread, queued as a window gets it.
template<class... Args> class ImInbox : public QObject
{
public:
    using Entry = std::tuple<Args...>;

    template<class Signal> explicit ImInbox(Signal signal)
    {
        connect(IM_Agent::instance(), signal, this, [this](Args... args) {
            entries.append(Entry(args...));
            threads.append(QThread::currentThread());
        });
    }
    int count() const { return entries.size(); }
    template<int I> auto arg(int i) const { return std::get<I>(entries.at(i)); }

    QList<Entry> entries;
    QList<QThread *> threads;
};

using MsgInbox = ImInbox<ChatMsgData>;
using ResultInbox = ImInbox<int, ChatMsgData>;

// A fresh, initialised engine holding the message table again (reset forgets tables).
inline bool startEngine(const QString &user = QStringLiteral("alice"))
{
    zssim::Control::reset();
    if (ZSSDK_Initialize() != 0)
        return false;
    IM_CallBackProxy::instance()->registerCallbacks();
    // Tests count notices exactly; the ones about read receipts switch them back on.
    zssim::Control::withServer([&](zssim::ServerModel &s) {
        s.currentUser = user;
        s.messages.echoSendsReadNotice = false;
    });
    return true;
}

// Waits until every request emitted so far has run on the worker thread, and every answer
// the engine queued meanwhile has reached the main thread.
inline bool drain()
{
    std::atomic_bool reached{false};
    QMetaObject::invokeMethod(
        IM_Agent::instance(), [&reached] { reached = true; }, Qt::QueuedConnection);
    if (!QTest::qWaitFor([&] { return reached.load(); }))
        return false;
    if (!zssim::Control::waitIdle())
        return false;
    QCoreApplication::processEvents();
    return true;
}

// The queue's real timer stops ticking; the tests drive the ticks with tick().
inline void holdQueue()
{
    QTimer *timer = IM_TaskQueueProbe::timer();
    QMetaObject::invokeMethod(timer, "stop",
                              timer->thread() == QThread::currentThread()
                                  ? Qt::DirectConnection
                                  : Qt::BlockingQueuedConnection);
}

inline void resumeQueue()
{
    QTimer *timer = IM_TaskQueueProbe::timer();
    QMetaObject::invokeMethod(timer, "start",
                              timer->thread() == QThread::currentThread()
                                  ? Qt::DirectConnection
                                  : Qt::BlockingQueuedConnection);
}

// One tick, given by the timer's own signal, run to its end on the worker thread.
inline bool tick()
{
    QMetaObject::invokeMethod(IM_TaskQueueProbe::timer(), "timeout", Qt::DirectConnection);
    return drain();
}

// Lines the agent's slots wrote, in order (the engine's answers may log meanwhile).
inline QStringList agentLines(const TQLogCapture &log)
{
    QStringList lines;
    for (const QString &line : log.texts(TQLog::Info))
        if (line.startsWith(QLatin1String("IM_Agent::")) || line.startsWith(QLatin1String("ret = "))
            || line.startsWith(QLatin1String("startRecording:")))
            lines << line;
    return lines;
}

inline const QString &dashes()
{
    static const QString line = QLatin1Char('\n') + QString(50, QLatin1Char('-'));
    return line;
}

inline QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}
