// One room-video call against the stand-in client, as a window drives it: start, signed in,
// active, three participants, a fourth joining, share the screen, stop sharing, leave, cleared,
// stop; then a second call in the same process.

#include "VidyoTestSupport.h"

#include <AgentShutdown.h>

using vidyosim::Control;

class TestVidyoEndToEnd : public QObject
{
    Q_OBJECT

    SignalLog *m_signals = nullptr;

private slots:
    void initTestCase() { m_signals = new SignalLog; }
    void cleanupTestCase() { delete m_signals; }
    void init()
    {
        freshClient();
        m_signals->clear();
    }

    void call()
    {
        VidyoDataBase record = sampleRecord();
        Vidyo_Agent *agent = Vidyo_Agent::instance();
        emit agent->signal_StartVidyo(&record);
        QVERIFY(m_signals->waitFor("currentAccountList(3)"));
        // Start's answers (worker) and the client's events (client thread) may interleave;
        // each thread's own order holds.
        QStringList fromStart;
        QStringList fromClient;
        for (const QString &e : m_signals->entries)
            (e.startsWith("onVidyoState(100") && e.at(16) < '2' ? fromStart : fromClient) << e;
        QCOMPARE(fromStart, QStringList({"onVidyoState(1000,true,)", "onVidyoState(1001,true,)"}));
        QCOMPARE(fromClient,
                 QStringList({"onVidyoState(1004,true,)", "onVidyoState(1005,true,)",
                              "currentAccountList(3)"}));
        QCOMPARE(m_signals->lists.last().first,
                 QStringList({"Alice Wang", "Bob Li", "Carol Zhang"}));
        QCOMPARE(Control::state().previewMode, 4);

        emit agent->signal_ResetUserShowName("Alice (desk)", "self@vidyo.example.test");
        QVERIFY(QTest::qWaitFor(
            [&] { return m_signals->lists.last().first.value(0) == "Alice (desk)"; }, kPatience));
        Control::injectJoin({"Dan Wu", "dan@vidyo.example.test"});
        QVERIFY(m_signals->waitFor("currentAccountList(4)"));
        QCOMPARE(m_signals->lists.last().second.last(), QString("dan@vidyo.example.test"));

        emit agent->signal_SetMuteAudioIn(true, false);
        emit agent->signal_SetCamera(false);
        QVERIFY(Control::state().micMuted);
        QVERIFY(Control::state().cameraOff);

        m_signals->clear();
        emit agent->signal_StartShareScreent();
        QVERIFY(m_signals->waitFor("onStartShareScreen()"));
        QCOMPARE(Control::state().sharedWindow, QByteArray("Desktop"));
        emit agent->signal_StopShareScreent();
        QVERIFY(m_signals->waitFor("onStopShareScreen()"));
        QVERIFY(!Control::state().sharing);

        emit agent->signal_DialPassword("7");
        QCOMPARE(Control::state().dialed, QByteArray("7"));

        m_signals->clear();
        emit agent->signal_StopVidyo(); // leaves the room
        QVERIFY(m_signals->waitFor("LeaveMeettingSuccess()"));
        QVERIFY(settle());
        // The leave's answer (worker) and the client's events (client thread) race each other;
        // the client's own order holds.
        QCOMPARE(m_signals->entries.removeAll("onHangUp(0)"), 1);
        QCOMPARE(m_signals->entries,
                 QStringList({"onVidyoState(1006,true,)", "LeaveMeettingSuccess()"}));

        m_signals->clear();
        emit agent->signal_LeaveMeettingStopVidyo();
        QVERIFY(m_signals->waitFor("onHangUp(0)"));
        QVERIFY(!Control::state().initialized);

        // A second call in the same process starts from scratch.
        m_signals->clear();
        VidyoDataBase second = sampleRecord();
        second.roomLinkText3 = QStringLiteral("Alice again");
        emit agent->signal_StartVidyo(&second);
        QVERIFY(m_signals->waitFor("currentAccountList(3)"));
        QCOMPARE(m_signals->lists.last().first.first(), QString("Alice again"));
        emit agent->signal_LeaveMeettingStopVidyo();
        QVERIFY(m_signals->waitFor("onHangUp(0)"));
    }

    void refusedRoomLink()
    {
        Control::setRoomLinkError(404);
        VidyoDataBase record = sampleRecord();
        emit Vidyo_Agent::instance()->signal_StartVidyo(&record);
        QVERIFY(m_signals->waitFor("StartVidyofaild()"));
        QVERIFY(settle());
        QVERIFY(m_signals->entries.contains("onVidyoState(1006,true,)"));
        QVERIFY(!m_signals->entries.contains("onVidyoState(1005,true,)"));
        QVERIFY(!Control::state().inConference);
    }

    // Controls on the main thread and events on the client's thread at once: each uses its own
    // records (run under a thread sanitizer to see it).
    void controlsWhileEventsArrive()
    {
        VidyoDataBase record = sampleRecord();
        QVERIFY(startActiveCall(&record, *m_signals));
        for (int i = 0; i < 20; ++i) {
            Control::fire(1600, QByteArray());
            Control::fire(1202, QByteArray());
            emit Vidyo_Agent::instance()->signal_StartShareScreent();
            emit Vidyo_Agent::instance()->signal_SetCamera(i % 2 == 0);
            emit Vidyo_Agent::instance()->signal_SetRect(QRect(0, 0, 100 + i, 100));
        }
        QVERIFY(settle());
        QCOMPARE(record.videoRect, QRect(0, 0, 119, 100));
        QVERIFY(Control::requests(100501).size() >= 20);
    }
};

QObject *newTestVidyoEndToEnd()
{
    return new TestVidyoEndToEnd;
}

#include "tst_vidyo_endtoend.moc"
