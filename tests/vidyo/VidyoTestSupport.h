#pragma once

// What the room-video tests share: every result signal of the agent as a line of text (taken
// on the main thread, as a window gets it), a call started against a fresh stand-in client,
// and waiting for the worker thread.

#include <TQLog.h>
#include <VidyoControl.h>
#include <Vidyo_Agent.h>
#include <Vidyo_Agent_Imp.h>

#include <QObject>
#include <QtTest>

#include <cstring>
#include <functional>

QObject *newTestVidyoRequests();
QObject *newTestVidyoEvents();
QObject *newTestVidyoEndToEnd();

constexpr int kPatience = 10000;

inline QString word(bool b)
{
    return b ? QStringLiteral("true") : QStringLiteral("false");
}

// The agent's twelve result signals, each as "name(arg,...)", in the order they arrived.
class SignalLog : public QObject
{
public:
    SignalLog()
    {
        Vidyo_Agent *a = Vidyo_Agent::instance();
        connect(a, &Vidyo_Agent::signal_onVidyoState, this, [this](int t, bool s, QString m) {
            add(QStringLiteral("onVidyoState(%1,%2,%3)").arg(t).arg(word(s), m));
        });
        connect(a, &Vidyo_Agent::signal_StartVidyofaild, this,
                [this] { add(QStringLiteral("StartVidyofaild()")); });
        connect(a, &Vidyo_Agent::signal_onSetMuteAudioOut, this,
                [this](bool s) { add(QStringLiteral("onSetMuteAudioOut(%1)").arg(word(s))); });
        connect(a, &Vidyo_Agent::signal_onSetMuteAudioIn, this, [this](bool s, bool m) {
            add(QStringLiteral("onSetMuteAudioIn(%1,%2)").arg(word(s), word(m)));
        });
        connect(a, &Vidyo_Agent::signal_onSetCamera, this,
                [this](bool s) { add(QStringLiteral("onSetCamera(%1)").arg(word(s))); });
        connect(a, &Vidyo_Agent::signal_onStartShareScreen, this,
                [this] { add(QStringLiteral("onStartShareScreen()")); });
        connect(a, &Vidyo_Agent::signal_onStopShareScreen, this,
                [this] { add(QStringLiteral("onStopShareScreen()")); });
        connect(a, &Vidyo_Agent::signal_currentAccountList, this,
                [this](QStringList names, QStringList uris) {
                    lists << qMakePair(names, uris);
                    add(QStringLiteral("currentAccountList(%1)").arg(names.size()));
                });
        connect(a, &Vidyo_Agent::signal_onHangUp, this,
                [this](int r) { add(QStringLiteral("onHangUp(%1)").arg(r)); });
        connect(a, &Vidyo_Agent::signal_LeaveMeettingSuccess, this,
                [this] { add(QStringLiteral("LeaveMeettingSuccess()")); });
        connect(a, &Vidyo_Agent::signal_remoteSourceRemoved, this, [this](QString t, int v) {
            add(QStringLiteral("remoteSourceRemoved(%1,%2)").arg(t).arg(v));
        });
        connect(a, &Vidyo_Agent::signal_isDialPassword, this,
                [this](bool s) { add(QStringLiteral("isDialPassword(%1)").arg(word(s))); });
    }

    bool waitFor(const QString &entry)
    {
        return QTest::qWaitFor([&] { return entries.contains(entry); }, kPatience);
    }
    void clear()
    {
        entries.clear();
        lists.clear();
    }

    QStringList entries;
    QList<QPair<QStringList, QStringList>> lists;

private:
    void add(const QString &entry) { entries << entry; }
};

// Waits until the worker thread has run every request emitted so far.
inline void drainWorker()
{
    QMetaObject::invokeMethod(
        Vidyo_Agent::instance(), [] {}, Qt::BlockingQueuedConnection);
}

// Waits until the client's thread is idle, the worker too, and their signals have arrived.
inline bool settle()
{
    drainWorker();
    if (!vidyosim::Control::waitIdle(kPatience))
        return false;
    drainWorker();
    QCoreApplication::processEvents();
    return true;
}

inline QStringList debugLines(const TQLogCapture &log)
{
    return log.texts(TQLog::Debug);
}

// A 32-bit field of a record's bytes.
inline qint32 int32At(const QByteArray &bytes, int offset)
{
    qint32 v = 0;
    if (offset >= 0 && offset + 4 <= bytes.size())
        std::memcpy(&v, bytes.constData() + offset, 4);
    return v;
}

// A NUL-terminated text within a record's bytes.
inline QByteArray textAt(const QByteArray &bytes, int offset, int width)
{
    const QByteArray field = bytes.mid(offset, width);
    const int nul = field.indexOf('\0');
    return nul < 0 ? field : field.left(nul);
}

// A fresh client and a record to start with.
inline void freshClient()
{
    vidyosim::Control::reset();
    drainWorker();
    QCoreApplication::processEvents();
}

inline VidyoDataBase sampleRecord()
{
    VidyoDataBase r;
    r.logDirectory = QStringLiteral("/tmp/vidyo-log");
    r.roomLinkText1 = QStringLiteral("https://vidyo.example.test/join/abc123");
    r.roomLinkText2 = QStringLiteral("abc123");
    r.roomLinkText3 = QStringLiteral("Alice Wang");
    r.roomLinkText4 = QStringLiteral("4321");
    r.videoRect = QRect(0, 0, 640, 360);
    r.windowHandle = nullptr;
    return r;
}

// Starts a call and waits until the conference is active (the client drives it there).
inline bool startActiveCall(VidyoDataBase *record, SignalLog &signals_)
{
    emit Vidyo_Agent::instance()->signal_StartVidyo(record);
    return signals_.waitFor(QStringLiteral("onVidyoState(1005,true,)"))
        && signals_.waitFor(QStringLiteral("currentAccountList(3)")) && settle();
}
