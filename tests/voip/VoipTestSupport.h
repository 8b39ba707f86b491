#pragma once

// What the call-family tests share: a receiver on the main thread, and a fresh engine.

#include <Voip_Agent.h>
#include <Voip_CallBackProxy.h>
#include <ZSsdkControl.h>

#include <QObject>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <tuple>

// Collects one result signal of the agent on the main thread, queued as a window gets it.
template<class... Args> class Inbox : public QObject
{
public:
    using Entry = std::tuple<Args...>;

    template<class Signal> explicit Inbox(Signal signal)
    {
        connect(Voip_Agent::instance(), signal, this, [this](Args... args) {
            entries.append(Entry(args...));
            threads.append(QThread::currentThread());
        });
    }
    int count() const { return entries.size(); }
    template<int I> auto arg(int i) const { return std::get<I>(entries.at(i)); }

    QList<Entry> entries;
    QList<QThread *> threads;
};

// A fresh, initialised engine holding the call table again (reset forgets tables).
inline bool startEngine(const QString &user = QStringLiteral("1001"))
{
    zssim::Control::reset();
    if (ZSSDK_Initialize() != 0)
        return false;
    Voip_CallBackProxy::instance()->registerCallbacks();
    zssim::Control::withServer([&](zssim::ServerModel &s) { s.currentUser = user; });
    return true;
}

// Waits until every request emitted so far has run on the worker thread, and every answer
// the engine queued meanwhile has been delivered to the main thread.
inline bool drain()
{
    std::atomic_bool reached{false};
    QMetaObject::invokeMethod(
        Voip_Agent::instance(), [&reached] { reached = true; }, Qt::QueuedConnection);
    if (!QTest::qWaitFor([&] { return reached.load(); }))
        return false;
    if (!zssim::Control::waitIdle())
        return false;
    QCoreApplication::processEvents();
    return true;
}
