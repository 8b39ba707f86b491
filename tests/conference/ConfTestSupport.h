#pragma once

// What the conference tests share: receivers on the main thread, a fresh engine, waiting for
// the engine's answers, and the records the engine hands to the callbacks.

#include <Conference_Agent.h>
#include <Conference_CallBack.h>
#include <FixedField.h>
#include <PendingRequestStore.h>
#include <TQLog.h>
#include <ZSsdkControl.h>

#include <QObject>
#include <QThread>
#include <QtTest>

#include <cstring>
#include <tuple>

// The test classes, in the order main() runs them.
QObject *newTestConfRecords();
QObject *newTestConfRequests();
QObject *newTestConfCallbacks();
QObject *newTestConfServer();
QObject *newTestConfEndToEnd();

// Collects one result signal of the agent on the main thread, queued as a window gets it.
template<class... Args> class ConfInbox : public QObject
{
public:
    using Entry = std::tuple<Args...>;

    template<class Signal> explicit ConfInbox(Signal signal)
    {
        connect(Conference_Agent::instance(), signal, this, [this](Args... args) {
            entries.append(Entry(args...));
            threads.append(QThread::currentThread());
        });
    }
    int count() const { return entries.size(); }
    template<int I> auto arg(int i) const { return std::get<I>(entries.at(i)); }
    template<int I> auto last() const { return std::get<I>(entries.last()); }

    QList<Entry> entries;
    QList<QThread *> threads;
};

using NoticeInbox = ConfInbox<Agent_ConfNtyMsg, QString>;

// The clock the tests freeze the model's clock at.
inline QDateTime testClock()
{
    return QDateTime(QDate(2024, 5, 6), QTime(9, 0, 0));
}

// A fresh, initialised engine holding the conference table again (reset forgets tables),
// with `user` logged in and the model's clock frozen.
inline bool startEngine(const QString &user = QStringLiteral("alice"))
{
    zssim::Control::reset();
    if (ZSSDK_Initialize() != 0)
        return false;
    Conference_CallBack::instance()->initConferenceCallBack();
    zssim::Control::withServer([&](zssim::ServerModel &s) { s.currentUser = user; });
    zssim::setConferenceClock(testClock());
    return true;
}

// Waits until the engine has run everything queued, and its signals have reached the main
// thread.
inline bool settle()
{
    if (!zssim::Control::waitIdle())
        return false;
    QCoreApplication::processEvents();
    return true;
}

// The stored request under `key`, taken out (an invalid variant when there is none).
inline QVariant takeStored(unsigned int key)
{
    QVariant stored;
    PendingRequestStore::instance()->take(key, stored);
    return stored;
}

template<std::size_t N> void fill(char (&field)[N], char c)
{
    std::memset(field, c, N); // no NUL anywhere
}

template<std::size_t N> void put(char (&field)[N], const char *utf8)
{
    std::memset(field, 0, N);
    std::strncpy(field, utf8, N - 1);
}

template<class Record> QByteArray bytesOf(const Record &record)
{
    return QByteArray(reinterpret_cast<const char *>(&record), int(sizeof record));
}

inline QStringList linesStartingWith(const TQLogCapture &log, const QString &prefix)
{
    QStringList lines;
    for (const QString &line : log.texts(TQLog::Info))
        if (line.startsWith(prefix))
            lines << line;
    return lines;
}

// A request naming only its conference.
template<class Request> Request withId(const QString &confId)
{
    Request r;
    r.confId = confId;
    return r;
}

// A list request naming only the start of its time range.
template<class Request> Request listFrom(const QString &createTimeBegin)
{
    Request r;
    r.createTimeBegin = createTimeBegin;
    return r;
}
