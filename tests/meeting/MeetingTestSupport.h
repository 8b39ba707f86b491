#pragma once

// What the meeting tests share: receivers on the main thread, a fresh engine, and waiting for
// the worker and the engine.

#include <Meeting_Agent.h>
#include <Meeting_CallBackProxy.h>
#include <TQLog.h>
#include <ZSsdkControl.h>

#include <QObject>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <tuple>

// The test classes, in the order main() runs them.
QObject *newTestMeetingRecords();
QObject *newTestMeetingRequests();
QObject *newTestMeetingCallbacks();
QObject *newTestMeetingServer();
QObject *newTestMeetingEndToEnd();

// Collects one result signal of the agent on the main thread, queued as a window gets it.
template<class... Args> class MeetingInbox : public QObject
{
public:
    using Entry = std::tuple<Args...>;

    template<class Signal> explicit MeetingInbox(Signal signal)
    {
        connect(Meeting_Agent::instance(), signal, this, [this](Args... args) {
            entries.append(Entry(args...));
            threads.append(QThread::currentThread());
        });
    }
    int count() const { return entries.size(); }
    template<int I> auto arg(int i) const { return std::get<I>(entries.at(i)); }

    QList<Entry> entries;
    QList<QThread *> threads;
};

using TextInbox = MeetingInbox<int, QString>; // reason and an id

// A fresh, initialised engine holding the meeting table again (reset forgets tables), with
// `user` logged in.
inline bool startEngine(const QString &user = QStringLiteral("alice"))
{
    zssim::Control::reset();
    if (ZSSDK_Initialize() != 0)
        return false;
    Meeting_CallBackProxy::instance()->registerCallbacks();
    zssim::Control::withServer([&](zssim::ServerModel &s) { s.currentUser = user; });
    return true;
}

// Waits until every request emitted so far has run on the worker thread, and every answer
// the engine queued meanwhile has reached the main thread.
inline bool drain()
{
    std::atomic_bool reached{false};
    QMetaObject::invokeMethod(
        Meeting_Agent::instance(), [&reached] { reached = true; }, Qt::QueuedConnection);
    if (!QTest::qWaitFor([&] { return reached.load(); }))
        return false;
    if (!zssim::Control::waitIdle())
        return false;
    QCoreApplication::processEvents();
    return true;
}

// The lines the agent's slots wrote, in order (the engine's answers may log meanwhile).
inline QStringList agentLines(const TQLogCapture &log)
{
    QStringList lines;
    for (const QString &line : log.texts())
        if (line.startsWith(QLatin1String("Meeting_Agent::")))
            lines << line;
    return lines;
}

// Reads the meeting model under the engine's lock.
inline MeetingModel meetings()
{
    MeetingModel model;
    zssim::Control::withServer([&](zssim::ServerModel &s) { model = s.meetings; });
    return model;
}

inline MeetingModel::Meeting meetingOf(const QString &id)
{
    const MeetingModel model = meetings();
    for (const MeetingModel::Meeting &m : model.meetings)
        if (m.id == id)
            return m;
    return MeetingModel::Meeting();
}

inline QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}
