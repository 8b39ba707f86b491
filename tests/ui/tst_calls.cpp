// Calls: the widget-free call state on its own, then the call windows driven through their
// widgets against the stand-in engine, which plays the other side.

#include "UiTest.h"

#include <SDK_Agent.h>
#include <TQ_MediaConfUI.h>
#include <TqCallCodes.h>
#include <TqCallHistory.h>
#include <TqCallState.h>
#include <TqCallText.h>
#include <TqClientContext.h>
#include <TqMediaDevices.h>
#include <TqMsgBox.h>
#include <Voip_Agent.h>
#include <Voip_CallBackProxy.h>
#include <ZSsdkControl.h>
#include <tq_ui_test_paths.h>

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

#include <atomic>
#include <memory>

using Phase = TqCallState::Phase;

namespace {

Agent_VoIPCallMsg callMsg(int code, const QString &id, const QString &callee = "bob",
                          int type = TqCallCode::VoiceCall)
{
    Agent_VoIPCallMsg msg;
    msg.eCode = code;
    msg.callType = type;
    msg.callid = id;
    msg.caller = "alice";
    msg.callee = callee;
    return msg;
}

Agent_VoIPComingInfo incoming(const QString &id, const QString &caller, const QString &name,
                              int type = TqCallCode::VoiceCall)
{
    Agent_VoIPComingInfo info;
    info.number1 = type;
    info.text1 = id;
    info.text2 = caller;
    info.text3 = name;
    info.text4 = "alice";
    return info;
}

QVariantList args(const QList<QVariant> &list)
{
    return list;
}

QVariant text(const char *utf8)
{
    return QByteArray(utf8);
}

// A call state with a hand-driven clock, logged in.
struct Bench
{
    Bench()
    {
        state.setClock([this] { return now; });
        state.setEnabled(true);
    }
    // Dials bob and has the engine name the call `id`.
    void callBob(const QString &id = "c1", bool video = false)
    {
        QVERIFY(state.dial("bob", video));
        state.onCurrentCall(id);
    }
    void answer(const QString &id = "c1")
    {
        state.onCallEvents(200, callMsg(TqCallCode::EventProceeding, id));
        state.onCallEvents(200, callMsg(TqCallCode::EventAlerting, id));
        state.onCallEvents(200, callMsg(TqCallCode::EventAnswered, id));
    }

    qint64 now = 1000;
    TqCallState state;
    QSignalSpy releases{&state, &TqCallState::releaseRequest};
    QSignalSpy finished{&state, &TqCallState::finished};
};

} // namespace

class TestCallState : public QObject
{
    Q_OBJECT

private slots:
    void outgoingCallGoesThroughItsPhases()
    {
        Bench b;
        QSignalSpy dials(&b.state, &TqCallState::makeCallRequest);
        QSignalSpy queries(&b.state, &TqCallState::currentCallQuery);
        QVERIFY(b.state.dial(" bob ", false));
        QCOMPARE(dials.value(0), args({TqCallCode::VoiceCall, "bob"}));
        QCOMPARE(queries.count(), 1);
        QCOMPARE(b.state.phase(), Phase::Dialing);
        QVERIFY(!b.state.dial("carol", false)); // one call at a time
        QCOMPARE(dials.count(), 1);

        b.state.onCurrentCall("c1");
        QCOMPARE(b.state.callId(), QString("c1"));
        b.state.onCallEvents(200, callMsg(TqCallCode::EventProceeding, "c1"));
        QCOMPARE(b.state.phase(), Phase::Proceeding);
        b.state.onCallEvents(200, callMsg(TqCallCode::EventAlerting, "c1"));
        QCOMPARE(b.state.phase(), Phase::Alerting);
        // Another call's events change nothing.
        b.state.onCallEvents(200, callMsg(TqCallCode::EventAnswered, "c9"));
        b.state.onCallEvents(200, callMsg(TqCallCode::EventReleased, "c9"));
        QCOMPARE(b.state.phase(), Phase::Alerting);
        b.state.onCallEvents(200, callMsg(TqCallCode::EventAnswered, "c1"));
        QCOMPARE(b.state.phase(), Phase::InCall);
        b.state.onCallEvents(486, callMsg(TqCallCode::EventReleased, "c1"));
        QCOMPARE(b.state.phase(), Phase::Ended);
        QCOMPARE(b.state.endReason(), 486);
        QCOMPARE(b.finished.count(), 1);
        const auto record = b.finished.value(0).value(0).value<TqCallRecord>();
        QCOMPARE(record.peer, QString("bob"));
        QVERIFY(record.outgoing);
        QCOMPARE(record.outcome, TqCallRecord::Outcome::Answered);
        QVERIFY(b.releases.isEmpty()); // the peer ended it

        b.state.clear();
        QCOMPARE(b.state.phase(), Phase::Idle);
        QVERIFY(b.state.callId().isEmpty());
    }

    void videoCallsUseTheVideoCallType()
    {
        Bench b;
        QSignalSpy dials(&b.state, &TqCallState::makeCallRequest);
        QVERIFY(b.state.dial("bob", true));
        QCOMPARE(dials.value(0), args({TqCallCode::VideoCall, "bob"}));
        QVERIFY(b.state.isVideo());
    }

    void nothingWhileLoggedOut()
    {
        TqCallState state;
        QSignalSpy requests(&state, &TqCallState::makeCallRequest);
        QVERIFY(!state.dial("bob", false));
        state.onCallIncoming(incoming("c1", "carol", "Carol"));
        QCOMPARE(state.phase(), Phase::Idle);
        QVERIFY(requests.isEmpty());
    }

    // The engine's events may overtake its answer naming the call.
    void eventsBeforeTheCallIdAreReplayed()
    {
        Bench b;
        QVERIFY(b.state.dial("bob", false));
        b.state.onCallEvents(200, callMsg(TqCallCode::EventProceeding, "c7", "dave"));
        b.answer("c1");
        QCOMPARE(b.state.phase(), Phase::Dialing);
        b.state.onRemoteVideoRatio("c7", 320, 240, 0, "dave");
        b.state.onRemoteVideoRatio("c1", 640, 480, 0, "bob");
        b.state.onCurrentCall("c1");
        QCOMPARE(b.state.phase(), Phase::InCall);
        QCOMPARE(b.state.callId(), QString("c1"));
        QCOMPARE(b.state.remoteVideoSize(), QSize(640, 480));
    }

    void aDialTheEngineRefusesEnds()
    {
        Bench b;
        QVERIFY(b.state.dial("bob", false));
        b.state.onCurrentCall(QString());
        QCOMPARE(b.state.phase(), Phase::Ended);
        QCOMPARE(b.state.endReason(), int(TqCallCode::ReasonNotPlaced));
        QCOMPARE(b.finished.value(0).value(0).value<TqCallRecord>().outcome,
                 TqCallRecord::Outcome::Unanswered);
    }

    void anEngineWithoutCurrentCallStillNamesItByEvents()
    {
        Bench b;
        QVERIFY(b.state.dial("bob", false));
        b.state.onCallEvents(200, callMsg(TqCallCode::EventProceeding, "c3"));
        b.state.onCurrentCall(QString());
        QCOMPARE(b.state.callId(), QString("c3"));
        QCOMPARE(b.state.phase(), Phase::Proceeding);
    }

    void hangUpBeforeTheCallIsNamedReleasesItOnceNamed()
    {
        Bench b;
        QVERIFY(b.state.dial("bob", false));
        b.state.hangUp();
        QCOMPARE(b.state.phase(), Phase::Ended);
        QVERIFY(b.releases.isEmpty());
        // Meanwhile the next call starts; the answers come in order.
        b.state.clear();
        QVERIFY(b.state.dial("carol", false));
        b.state.onCurrentCall("c1");
        QCOMPARE(b.releases.value(0), args({"c1", TqCallCode::ReasonNormal}));
        QCOMPARE(b.state.phase(), Phase::Dialing);
        b.state.onCurrentCall("c2");
        QCOMPARE(b.state.callId(), QString("c2"));
        QCOMPARE(b.releases.count(), 1);
    }

    void hangUpReleasesWithTheNormalReason()
    {
        Bench b;
        b.callBob();
        b.answer();
        b.state.hangUp();
        QCOMPARE(b.releases.value(0), args({"c1", TqCallCode::ReasonNormal}));
        QCOMPARE(b.state.phase(), Phase::Ended);
        // The engine's own release afterwards changes nothing.
        b.state.onCallEvents(200, callMsg(TqCallCode::EventReleased, "c1"));
        QCOMPARE(b.finished.count(), 1);
    }

    void durationCountsWithTheInjectedClock()
    {
        Bench b;
        b.callBob();
        b.now = 5000;
        QCOMPARE(b.state.durationMs(), qint64(0)); // not answered yet
        b.answer();
        b.now = 5000 + 65 * 1000 + 400;
        QCOMPARE(b.state.durationMs(), qint64(65400));
        QCOMPARE(TqCallText::duration(b.state.durationMs()), QString("01:05"));
        b.state.hangUp();
        b.now += 30 * 1000;
        QCOMPARE(b.state.durationMs(), qint64(65400)); // frozen at the end
        QCOMPARE(b.finished.value(0).value(0).value<TqCallRecord>().durationMs, qint64(65400));
    }

    void durationText()
    {
        QCOMPARE(TqCallText::duration(0), QString("00:00"));
        QCOMPARE(TqCallText::duration(59999), QString("00:59"));
        QCOMPARE(TqCallText::duration(60000), QString("01:00"));
        QCOMPARE(TqCallText::duration((59 * 60 + 59) * 1000), QString("59:59"));
        QCOMPARE(TqCallText::duration(3600 * 1000 + 5000), QString("1:00:05"));
        QCOMPARE(TqCallText::duration((25 * 3600 + 61) * 1000), QString("25:01:01"));
        QCOMPARE(TqCallText::duration(-5), QString("00:00"));
    }

    void incomingCallAcceptedOnlyAfterAcceptAndAnswer()
    {
        Bench b;
        QSignalSpy accepts(&b.state, &TqCallState::acceptRequest);
        b.state.onCallIncoming(incoming("c4", "carol", "Carol Chen", TqCallCode::VideoCall));
        QCOMPARE(b.state.phase(), Phase::Incoming);
        QCOMPARE(b.state.peer(), QString("carol"));
        QCOMPARE(b.state.peerName(), QString("Carol Chen"));
        QVERIFY(b.state.isVideo());
        QVERIFY(!b.state.isOutgoing());
        // Answered elsewhere, not here: still ringing.
        b.state.onCallEvents(200, callMsg(TqCallCode::EventAnswered, "c4", "alice"));
        QCOMPARE(b.state.phase(), Phase::Incoming);
        b.state.accept();
        b.state.accept();
        QCOMPARE(accepts.count(), 1);
        QCOMPARE(accepts.value(0), args({"c4"}));
        b.state.onCallEvents(200, callMsg(TqCallCode::EventAnswered, "c4", "alice"));
        QCOMPARE(b.state.phase(), Phase::InCall);
    }

    void declineUsesTheDeclineReason()
    {
        Bench b;
        b.state.onCallIncoming(incoming("c4", "carol", "Carol"));
        b.state.decline();
        QCOMPARE(b.releases.value(0), args({"c4", TqCallCode::ReasonDeclined}));
        QCOMPARE(b.finished.value(0).value(0).value<TqCallRecord>().outcome,
                 TqCallRecord::Outcome::Declined);
    }

    void callerGivingUpIsMissed()
    {
        Bench b;
        b.state.onCallIncoming(incoming("c4", "carol", "Carol"));
        b.state.onCallEvents(200, callMsg(TqCallCode::EventReleased, "c4", "alice"));
        QCOMPARE(b.state.phase(), Phase::Ended);
        QVERIFY(b.releases.isEmpty());
        QCOMPARE(b.finished.value(0).value(0).value<TqCallRecord>().outcome,
                 TqCallRecord::Outcome::Missed);
    }

    void aSecondCallIsTurnedAwayBusy()
    {
        Bench b;
        QSignalSpy missed(&b.state, &TqCallState::missed);
        b.callBob();
        b.answer();
        b.state.onCallIncoming(incoming("c5", "dave", "Dave"));
        QCOMPARE(b.releases.value(0), args({"c5", TqCallCode::ReasonBusy}));
        QCOMPARE(missed.count(), 1);
        // Its release is not ours.
        b.state.onCallEvents(486, callMsg(TqCallCode::EventReleased, "c5", "alice"));
        QCOMPARE(b.state.phase(), Phase::InCall);
        QCOMPARE(b.state.peer(), QString("bob"));
    }

    void ownSwitchAnsweredOrRefused()
    {
        Bench b;
        QSignalSpy requests(&b.state, &TqCallState::switchRequest);
        QSignalSpy refused(&b.state, &TqCallState::switchRefused);
        b.callBob();
        b.state.requestSwitch(true); // not in call yet
        QVERIFY(requests.isEmpty());
        b.answer();
        b.state.requestSwitch(true);
        b.state.requestSwitch(true);
        QCOMPARE(requests.count(), 1);
        QCOMPARE(requests.value(0), args({"c1", TqCallCode::MediaVideo}));
        QVERIFY(b.state.isSwitchPending());
        b.state.onSwitchResponse("c1", TqCallCode::MediaVoice);
        QCOMPARE(refused.count(), 1);
        QVERIFY(!b.state.isVideo());
        QVERIFY(!b.state.isSwitchPending());

        b.state.requestSwitch(true);
        b.state.onSwitchResponse("c1", TqCallCode::MediaVideo);
        QVERIFY(b.state.isVideo());
        b.state.onRemoteVideoRatio("c1", 640, 360, 0, "bob");
        QCOMPARE(b.state.remoteVideoSize(), QSize(640, 360));
        b.state.onRemoteVideoRatio("c9", 320, 240, 0, "dave");
        QCOMPARE(b.state.remoteVideoSize(), QSize(640, 360));
        QCOMPARE(refused.count(), 1);
    }

    void peerSwitchToVideoNeedsConsent()
    {
        Bench b;
        QSignalSpy asked(&b.state, &TqCallState::peerSwitchRequested);
        QSignalSpy answers(&b.state, &TqCallState::switchResponse);
        b.callBob();
        b.answer();
        b.state.onSwitchRequest("c1", TqCallCode::MediaVideo);
        QCOMPARE(asked.count(), 1);
        QVERIFY(answers.isEmpty());
        b.state.answerPeerSwitch(false);
        QCOMPARE(answers.value(0), args({"c1", TqCallCode::MediaVoice}));
        QVERIFY(!b.state.isVideo());

        b.state.onSwitchRequest("c1", TqCallCode::MediaVideo);
        b.state.answerPeerSwitch(true);
        QCOMPARE(answers.value(1), args({"c1", TqCallCode::MediaVideo}));
        QVERIFY(b.state.isVideo());

        // Back to voice: answered at once.
        b.state.onSwitchRequest("c1", TqCallCode::MediaVoice);
        QCOMPARE(asked.count(), 2);
        QCOMPARE(answers.value(2), args({"c1", TqCallCode::MediaVoice}));
        QVERIFY(!b.state.isVideo());
    }

    void muteFollowsTheEngineAndEndsWithTheCall()
    {
        Bench b;
        QSignalSpy mutes(&b.state, &TqCallState::muteRequest);
        QSignalSpy failed(&b.state, &TqCallState::muteFailed);
        b.callBob();
        b.answer();
        b.state.setMuted(true);
        QCOMPARE(mutes.value(0), args({true}));
        QVERIFY(!b.state.isMuted()); // until the engine says so
        b.state.onMuteSet(0, true);
        QVERIFY(b.state.isMuted());
        b.state.onMuteSet(7, false);
        QVERIFY(b.state.isMuted());
        QCOMPARE(failed.count(), 1);
        b.state.hangUp();
        QCOMPARE(mutes.value(1), args({false}));
        QVERIFY(!b.state.isMuted());
    }

    void dtmfOnlyInCallAndOnlyKeys()
    {
        Bench b;
        QSignalSpy digits(&b.state, &TqCallState::dtmfRequest);
        b.callBob();
        QVERIFY(!b.state.sendDtmf('1'));
        b.answer();
        QVERIFY(b.state.sendDtmf('#'));
        QVERIFY(!b.state.sendDtmf('x'));
        QCOMPARE(digits.count(), 1);
        QCOMPARE(digits.value(0), args({"c1", QVariant::fromValue('#')}));
    }

    void logoutEndsTheCall()
    {
        Bench b;
        b.callBob();
        b.answer();
        b.state.setEnabled(false);
        QCOMPARE(b.releases.value(0), args({"c1", TqCallCode::ReasonNormal}));
        QCOMPARE(b.state.phase(), Phase::Idle);
        b.state.onCallIncoming(incoming("c8", "carol", "Carol"));
        QCOMPARE(b.state.phase(), Phase::Idle);
    }

    void volumeClampedAndConfirmed()
    {
        Bench b;
        QSignalSpy sets(&b.state, &TqCallState::volumeRequest);
        b.state.setVolume(250);
        QCOMPARE(sets.value(0), args({uint(TqCallState::MaxVolume)}));
        b.state.onSpeakerVolume(0, 40);
        QCOMPARE(b.state.volume(), 40);
        b.state.onSpeakerVolume(3, 90);
        QCOMPARE(b.state.volume(), 40);
    }

    void historyNewestFirstAndBounded()
    {
        TqCallHistory history;
        for (int i = 0; i < TqCallHistory::MaxEntries + 5; ++i) {
            TqCallRecord r;
            r.peer = QString("u%1").arg(i);
            history.add(r);
        }
        QCOMPARE(history.rowCount(), TqCallHistory::MaxEntries);
        QCOMPARE(history.index(0).data(TqCallHistory::PeerRole).toString(),
                 QString("u%1").arg(TqCallHistory::MaxEntries + 4));
        history.clear();
        QCOMPARE(history.rowCount(), 0);
    }
};

// ---- the windows against the stand-in engine ---------------------------------------------------

namespace {

// Every request emitted so far has run on the agent's worker, and the answers the engine
// queued meanwhile have reached this thread.
bool drain()
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

template<class T> T *child(QWidget *window, const char *name)
{
    return window ? window->findChild<T *>(QLatin1String(name)) : nullptr;
}

QString labelText(QWidget *window, const char *name)
{
    QLabel *label = child<QLabel>(window, name);
    return label ? label->text() : QString();
}

bool click(QWidget *window, const char *name)
{
    QPushButton *button = child<QPushButton>(window, name);
    if (!button || !button->isVisible() || !button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

QList<QVariantList> callArgs(const char *function)
{
    QList<QVariantList> list;
    for (const zssim::CallRecord &record : zssim::Control::calls(QLatin1String(function)))
        list << record.args;
    return list;
}

} // namespace

class TestCallWindows : public QObject
{
    Q_OBJECT

    TQ_MediaConfUI *m_ui = nullptr;
    std::unique_ptr<TQ_MediaConfUI> m_own;
    qint64 m_now = 0; // the call state's clock in the duration test

    TqCallState *state() const { return m_ui->callState(); }
    QWidget *inCall() const { return m_ui->inCallWindow(); }
    QWidget *incomingWindow() const { return m_ui->incomingCallWindow(); }

    // A voice or video call to bob through the context (as the contact list asks), answered.
    QString callBobAnswered(bool video = false)
    {
        TqClientContext::instance()->requestCall("bob", video);
        if (!QTest::qWaitFor([this] { return state()->phase() == Phase::InCall; }))
            return QString();
        return state()->callId();
    }

    static bool engineHasNoCalls()
    {
        bool none = false;
        zssim::Control::withServer([&](zssim::ServerModel &s) { none = s.calls.calls.isEmpty(); });
        return none;
    }

private slots:
    void initTestCase()
    {
        if (!zssim::Control::initialized())
            emit SDK_Agent::instance()->sig_InitAgent();
        QVERIFY(zssim::Control::waitIdle());
        // A reset engine forgets the call table the agent registered once.
        if (!zssim::Control::table<ZS_VoIPCallBack>())
            Voip_CallBackProxy::instance()->registerCallbacks();
        Agent_LoginRequest login;
        login.text1 = "alice";
        login.text2 = "alice";
        emit SDK_Agent::instance()->sig_login(login);
        QTRY_VERIFY([] {
            QString user;
            zssim::Control::withServer([&](zssim::ServerModel &s) { user = s.currentUser; });
            return user == "alice";
        }());

        m_ui = TQ_MediaConfUI::instance();
        if (!m_ui) {
            m_own = std::make_unique<TQ_MediaConfUI>();
            m_ui = m_own.get();
        }
        // A fresh session: no display names learned by earlier tests.
        TqClientContext::instance()->setLoggedOut();
        TqClientContext::instance()->setLoggedIn("alice");
        QVERIFY(state()->isEnabled());
    }

    void init()
    {
        zssim::Control::withServer([](zssim::ServerModel &s) {
            s.calls.calleeAnswers = true;
            s.calls.remoteAcceptsSwitch = true;
            s.calls.speakerVolume = 50;
        });
        m_ui->setEndedDisplayTime(0);
        QVERIFY(drain());
        zssim::Control::clearJournal();
    }

    void cleanup()
    {
        state()->setClock({});
        state()->hangUp();
        state()->clear();
        QVERIFY(drain());
        QTRY_COMPARE(state()->phase(), Phase::Idle);
        QTRY_VERIFY(engineHasNoCalls());
        TqClientContext::instance()->setLoggedIn("alice");
    }

    void cleanupTestCase()
    {
        m_own.reset();
        TqClientContext::instance()->setLoggedOut();
    }

    void callingBobRingsAnswersAndHangsUp()
    {
        m_ui->setEndedDisplayTime(60 * 1000);
        TqClientContext::instance()->requestCall("bob", false);
        QVERIFY(inCall() && inCall()->isVisible());
        // What the call window said at each change, after it has updated itself.
        QStringList shown{labelText(inCall(), "statusLabel")};
        QObject recorder;
        connect(state(), &TqCallState::changed, &recorder, [&] {
            const QString now = labelText(inCall(), "statusLabel");
            if (now != shown.last())
                shown << now;
        });
        QTRY_COMPARE(state()->phase(), Phase::InCall);
        QCOMPARE(shown, QStringList({"Calling…", "Connecting…", "Ringing…", "In call"}));
        QCOMPARE(callArgs("MakeCall"), QList<QVariantList>{args({1, text("bob")})});
        QCOMPARE(labelText(inCall(), "peerLabel"), QString("bob"));
        QCOMPARE(labelText(inCall(), "videoArea"), QString("Voice call"));
        const QString id = state()->callId();
        QVERIFY(!id.isEmpty());

        QVERIFY(click(inCall(), "hangUpButton"));
        QTRY_COMPARE(callArgs("ReleaseCall"),
                     QList<QVariantList>{args({id.toUtf8(), TqCallCode::ReasonNormal})});
        QCOMPARE(labelText(inCall(), "statusLabel"), QString("Call ended"));
        QCOMPARE(child<QPushButton>(inCall(), "hangUpButton")->text(), QString("Close"));
        QVERIFY(click(inCall(), "hangUpButton"));
        QCOMPARE(state()->phase(), Phase::Idle);
        QVERIFY(!inCall()->isVisible());
        QCOMPARE(m_ui->history()->record(0).outcome, TqCallRecord::Outcome::Answered);
        QVERIFY(engineHasNoCalls());
    }

    void ringingUntilHangUpReleasesTheRingingCall()
    {
        zssim::Control::withServer([](zssim::ServerModel &s) { s.calls.calleeAnswers = false; });
        TqClientContext::instance()->requestCall("bob", false);
        QTRY_COMPARE(labelText(inCall(), "statusLabel"), QString("Ringing…"));
        QVERIFY(drain());
        QCOMPARE(state()->phase(), Phase::Alerting);
        QVERIFY(click(inCall(), "hangUpButton"));
        QTRY_COMPARE(state()->phase(), Phase::Idle);
        QTRY_COMPARE(callArgs("ReleaseCall").size(), 1);
        QVERIFY(engineHasNoCalls());
    }

    void dialPadCallsAnyNumber()
    {
        m_ui->showDialPad();
        QWidget *dial = m_ui->dialWindow();
        QVERIFY(dial && dial->isVisible());
        QVERIFY(!child<QPushButton>(dial, "voiceCallButton")->isEnabled()); // nothing typed
        QTest::keyClicks(child<QLineEdit>(dial, "numberEdit"), "10");
        QVERIFY(click(dial, "key_0"));
        QVERIFY(click(dial, "key_2"));
        QCOMPARE(child<QLineEdit>(dial, "numberEdit")->text(), QString("1002"));
        QVERIFY(click(dial, "videoCallButton"));
        QTRY_COMPARE(state()->phase(), Phase::InCall);
        QCOMPARE(callArgs("MakeCallEx"), QList<QVariantList>{args({2, text("1002"), text("000")})});
        // A video call shows the remote picture's size once the engine reports it.
        QTRY_COMPARE(labelText(inCall(), "videoArea"), QString("Remote video 640 × 480"));
        QVERIFY(!child<QPushButton>(dial, "voiceCallButton")->isEnabled()); // busy
        QVERIFY(click(inCall(), "hangUpButton"));
        QTRY_COMPARE(state()->phase(), Phase::Idle);
        // The recent call calls back with the same media.
        QCOMPARE(m_ui->history()->record(0).peer, QString("1002"));
        auto *recent = child<QListView>(dial, "recentCalls");
        recent->setCurrentIndex(recent->model()->index(0, 0));
        QTest::keyClick(recent, Qt::Key_Return);
        QTRY_COMPARE(state()->phase(), Phase::InCall);
        QCOMPARE(callArgs("MakeCallEx").value(1), args({2, text("1002"), text("000")}));
        QVERIFY(click(inCall(), "hangUpButton"));
        QTRY_COMPARE(state()->phase(), Phase::Idle);
        dial->close();
    }

    void incomingCallAccepted()
    {
        const QString id = zssim::injectIncomingCall("carol", "Carol Chen", 1);
        QTRY_VERIFY(incomingWindow() && incomingWindow()->isVisible());
        QCOMPARE(labelText(incomingWindow(), "titleLabel"), QString("Incoming voice call"));
        QCOMPARE(labelText(incomingWindow(), "peerLabel"), QString("Carol Chen (carol)"));
        QVERIFY(!inCall() || !inCall()->isVisible());

        QVERIFY(click(incomingWindow(), "acceptButton"));
        QTRY_COMPARE(state()->phase(), Phase::InCall);
        QCOMPARE(callArgs("AcceptCall"), QList<QVariantList>{args({id.toUtf8()})});
        QVERIFY(!incomingWindow()->isVisible());
        QVERIFY(inCall()->isVisible());
        QCOMPARE(labelText(inCall(), "statusLabel"), QString("In call"));
        QCOMPARE(labelText(inCall(), "peerLabel"), QString("Carol Chen (carol)"));

        // The caller hangs up.
        zssim::injectRemoteRelease(id, 200);
        QTRY_COMPARE(state()->phase(), Phase::Idle);
        QVERIFY(!inCall()->isVisible());
        QVERIFY(callArgs("ReleaseCall").isEmpty());
    }

    void incomingVideoCallShowsTheRemotePicture()
    {
        zssim::injectIncomingCall("carol", "Carol Chen", 2);
        QTRY_VERIFY(incomingWindow() && incomingWindow()->isVisible());
        QVERIFY(click(incomingWindow(), "acceptButton"));
        QTRY_COMPARE(labelText(inCall(), "videoArea"), QString("Remote video 640 × 480"));
        QCOMPARE(child<QPushButton>(inCall(), "switchMediaButton")->text(),
                 QString("Switch to voice"));
    }

    void incomingCallRejected()
    {
        const QString id = zssim::injectIncomingCall("carol", "Carol Chen", 2);
        QTRY_VERIFY(incomingWindow() && incomingWindow()->isVisible());
        QCOMPARE(labelText(incomingWindow(), "titleLabel"), QString("Incoming video call"));
        QVERIFY(click(incomingWindow(), "declineButton"));
        QTRY_COMPARE(callArgs("ReleaseCall"),
                     QList<QVariantList>{args({id.toUtf8(), TqCallCode::ReasonDeclined})});
        QVERIFY(!incomingWindow()->isVisible());
        QCOMPARE(state()->phase(), Phase::Idle);
        QVERIFY(callArgs("AcceptCall").isEmpty());
        QCOMPARE(m_ui->history()->record(0).outcome, TqCallRecord::Outcome::Declined);
        QTRY_VERIFY(engineHasNoCalls());
    }

    void muteDtmfAndSwitchReachTheEngine()
    {
        const QString id = callBobAnswered();
        QVERIFY(!id.isEmpty());
        const QByteArray engineId = id.toUtf8();

        QVERIFY(click(inCall(), "muteButton"));
        QTRY_VERIFY(state()->isMuted());
        QCOMPARE(callArgs("SetMute"), QList<QVariantList>{args({1})});
        QCOMPARE(child<QPushButton>(inCall(), "muteButton")->text(), QString("Unmute"));
        QVERIFY(child<QPushButton>(inCall(), "muteButton")->isChecked());

        QVERIFY(click(inCall(), "keypadButton"));
        QVERIFY(click(inCall(), "key_5"));
        QVERIFY(click(inCall(), "key_hash"));
        QVERIFY(click(inCall(), "key_star"));
        QVERIFY(drain());
        QCOMPARE(callArgs("SendDTMF"),
                 (QList<QVariantList>{args({engineId, int('5')}), args({engineId, int('#')}),
                                      args({engineId, int('*')})}));
        QCOMPARE(labelText(inCall(), "digitsLabel"), QString("Sent: 5#*"));

        QVERIFY(click(inCall(), "switchMediaButton"));
        QTRY_COMPARE(labelText(inCall(), "videoArea"), QString("Remote video 640 × 480"));
        QCOMPARE(callArgs("RequestSwitchCallMediaType"),
                 QList<QVariantList>{args({engineId, TqCallCode::MediaVideo})});
        QCOMPARE(child<QPushButton>(inCall(), "switchMediaButton")->text(),
                 QString("Switch to voice"));
        QVERIFY(click(inCall(), "switchMediaButton"));
        QTRY_COMPARE(labelText(inCall(), "videoArea"), QString("Voice call"));
        QCOMPARE(callArgs("RequestSwitchCallMediaType").value(1),
                 args({engineId, TqCallCode::MediaVoice}));

        // The engine's mute outlives the call: hanging up unmutes it.
        QVERIFY(click(inCall(), "hangUpButton"));
        QVERIFY(drain());
        QCOMPARE(callArgs("SetMute").value(1), args({0}));
        zssim::Control::withServer([](zssim::ServerModel &s) { QVERIFY(!s.calls.mute); });
    }

    void refusedSwitchIsSaid()
    {
        zssim::Control::withServer(
            [](zssim::ServerModel &s) { s.calls.remoteAcceptsSwitch = false; });
        QSignalSpy refused(state(), &TqCallState::switchRefused);
        QVERIFY(!callBobAnswered().isEmpty());
        QVERIFY(click(inCall(), "switchMediaButton"));
        QTRY_COMPARE(refused.count(), 1);
        QCOMPARE(labelText(inCall(), "videoArea"), QString("Voice call"));
        QCOMPARE(child<QPushButton>(inCall(), "switchMediaButton")->text(),
                 QString("Switch to video"));
    }

    void peerSwitchRequestPromptsAndAnswers()
    {
        const QString id = callBobAnswered();
        QVERIFY(!id.isEmpty());
        const QByteArray engineId = id.toUtf8();
        auto prompt = [this] {
            return child<TqMsgBox>(inCall(), "switchPrompt");
        };

        QVERIFY(zssim::injectSwitchRequest(id, 1));
        QTRY_VERIFY(prompt() && prompt()->isVisible());
        QVERIFY(prompt()->messageText().contains("bob"));
        QVERIFY(callArgs("ResponseSwitchCallMediaType").isEmpty());
        QVERIFY(click(prompt(), "acceptButton"));
        QTRY_COMPARE(callArgs("ResponseSwitchCallMediaType"),
                     QList<QVariantList>{args({engineId, TqCallCode::MediaVideo})});
        QTRY_COMPARE(labelText(inCall(), "videoArea"), QString("Remote video 640 × 480"));
        zssim::Control::withServer(
            [&](zssim::ServerModel &s) { QCOMPARE(s.calls.calls.value(id).video, 1); });

        // Back to voice needs no prompt.
        QVERIFY(zssim::injectSwitchRequest(id, 0));
        QTRY_COMPARE(callArgs("ResponseSwitchCallMediaType").size(), 2);
        QCOMPARE(callArgs("ResponseSwitchCallMediaType").value(1),
                 args({engineId, TqCallCode::MediaVoice}));
        QTRY_VERIFY(!prompt());
        QCOMPARE(labelText(inCall(), "videoArea"), QString("Voice call"));

        QVERIFY(zssim::injectSwitchRequest(id, 1));
        QTRY_VERIFY(prompt() && prompt()->isVisible());
        QVERIFY(click(prompt(), "rejectButton"));
        QTRY_COMPARE(callArgs("ResponseSwitchCallMediaType").size(), 3);
        QCOMPARE(callArgs("ResponseSwitchCallMediaType").value(2),
                 args({engineId, TqCallCode::MediaVoice}));
        QCOMPARE(labelText(inCall(), "videoArea"), QString("Voice call"));
    }

    void durationShownWithInjectedClock()
    {
        m_now = 10 * 1000;
        state()->setClock([this] { return m_now; });
        QVERIFY(!callBobAnswered().isEmpty());
        QTRY_COMPARE(labelText(inCall(), "durationLabel"), QString("00:00"));
        m_now += 65 * 1000;
        QTRY_COMPARE(labelText(inCall(), "durationLabel"), QString("01:05"));
        m_now += 3600 * 1000;
        QTRY_COMPARE(labelText(inCall(), "durationLabel"), QString("1:01:05"));
        QVERIFY(click(inCall(), "hangUpButton"));
        QTRY_COMPARE(state()->phase(), Phase::Idle);
        QCOMPARE(m_ui->history()->record(0).durationMs, qint64(3600 + 65) * 1000);
    }

    void secondCallWhileBusyIsTurnedAway()
    {
        QVERIFY(!callBobAnswered().isEmpty());
        const QString other = zssim::injectIncomingCall("dave", "Dave", 1);
        QTRY_COMPARE(callArgs("ReleaseCall"),
                     QList<QVariantList>{args({other.toUtf8(), TqCallCode::ReasonBusy})});
        QVERIFY(drain());
        QCOMPARE(state()->phase(), Phase::InCall);
        QCOMPARE(labelText(inCall(), "peerLabel"), QString("bob"));
        QVERIFY(!incomingWindow() || !incomingWindow()->isVisible());
        QCOMPARE(m_ui->history()->record(0).outcome, TqCallRecord::Outcome::Missed);
    }

    void statisticsAndDevices()
    {
        zssim::Control::withServer([](zssim::ServerModel &s) {
            CallModel::Camera camera;
            camera.index = 4;
            camera.name = "front";
            camera.capabilities = {{1280, 720, 0}, {640, 480, 0}};
            s.calls.cameras = {camera};
        });
        const QString id = callBobAnswered();
        QVERIFY(!id.isEmpty());

        QVERIFY(click(inCall(), "statisticsButton"));
        QWidget *stats = m_ui->statisticsDialog();
        QTRY_VERIFY(stats && stats->isVisible());
        QTRY_COMPARE(zssim::Control::callCount("GetCallStatistics"), 1);
        QCOMPARE(zssim::Control::calls("GetCallStatistics")[0].args.mid(0, 2),
                 args({id.toUtf8(), 0}));
        QCOMPARE(labelText(stats, "callIdValue"), id);
        QCOMPARE(labelText(stats, "mediaValue"), QString("Voice call"));
        QTRY_COMPARE(labelText(stats, "volumeValue"), QString("50%"));
        QVERIFY(click(stats, "refreshButton"));
        QTRY_COMPARE(zssim::Control::callCount("GetCallStatistics"), 2);

        QVERIFY(click(inCall(), "devicesButton"));
        QWidget *devices = m_ui->deviceDialog();
        QTRY_VERIFY(devices && devices->isVisible());
        QCOMPARE(labelText(devices, "scaleLabel"), QString("Not detected yet"));
        QVERIFY(click(devices, "detectCameraButton"));
        QTRY_COMPARE(labelText(devices, "scaleLabel"), QString("Width to height 1.78"));

        child<QSpinBox>(devices, "cameraSpin")->setValue(4);
        QVERIFY(click(devices, "useCameraButton"));
        QVERIFY(drain());
        QCOMPARE(zssim::Control::calls("SelectCamera").last().args, args({4, 0, 15, 0, 1}));

        // Speaker volume by keyboard on the slider: one page up from the engine's 50.
        QSlider *volume = child<QSlider>(devices, "volumeSlider");
        QTRY_COMPARE(volume->value(), 50);
        volume->setFocus();
        QTest::keyClick(volume, Qt::Key_PageUp);
        QVERIFY(drain());
        QCOMPARE(callArgs("SetSpeakerVolume").value(0).value(0).toUInt(), 60u);
        QTRY_COMPARE(state()->volume(), 60);
        QCOMPARE(child<QSlider>(inCall(), "volumeSlider")->value(), 60);
        devices->close();
        stats->close();
    }

    void logoutEndsTheCallAndClosesTheWindows()
    {
        const QString id = callBobAnswered();
        QVERIFY(!id.isEmpty());
        QVERIFY(inCall()->isVisible());
        TqClientContext::instance()->setLoggedOut();
        QVERIFY(!inCall());
        QVERIFY(!incomingWindow());
        QCOMPARE(state()->phase(), Phase::Idle);
        QTRY_COMPARE(callArgs("ReleaseCall"),
                     QList<QVariantList>{args({id.toUtf8(), TqCallCode::ReasonNormal})});
        QCOMPARE(m_ui->history()->rowCount(), 0);

        // Logged out, an incoming call shows nothing and places nothing.
        const QString ignored = zssim::injectIncomingCall("carol", "Carol", 1);
        QVERIFY(drain());
        QVERIFY(!incomingWindow());
        QCOMPARE(state()->phase(), Phase::Idle);
        zssim::injectRemoteRelease(ignored);

        TqClientContext::instance()->setLoggedIn("alice");
        QVERIFY(state()->isEnabled());
        QVERIFY(!callBobAnswered().isEmpty());
    }
};

// ---- the call windows' Chinese catalog ---------------------------------------------------------

class TestCallCatalog : public QObject
{
    Q_OBJECT

    static QString catalogSource()
    {
        return QStringLiteral(TQ_UI_SOURCE_DIR "/TQ_MediaConfUI/TQ_MediaConfUI_zh_CN.ts");
    }

private slots:
    void everyCallTextIsTranslated()
    {
        const QString lupdate = QStandardPaths::findExecutable(QStringLiteral("lupdate"));
        if (lupdate.isEmpty())
            QSKIP("lupdate is not installed");
        // The catalog as the sources would make it now: nothing new, nothing left untranslated.
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("calls.ts"));
        QVERIFY(QFile::copy(catalogSource(), copy));
        QProcess run;
        run.start(lupdate,
                  {"-silent", "-locations", "none", "-no-obsolete",
                   QStringLiteral(TQ_UI_SOURCE_DIR "/TQ_MediaConfUI"), "-ts", copy});
        QVERIFY(run.waitForFinished(120000));
        QCOMPARE(run.exitCode(), 0);
        QFile file(copy);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        int messages = 0;
        QString source;
        while (!xml.atEnd()) {
            if (!xml.readNextStartElement())
                continue;
            if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                ++messages;
                const QString type = xml.attributes().value(QLatin1String("type")).toString();
                QVERIFY2(type.isEmpty() && !xml.readElementText().isEmpty(), qPrintable(source));
            }
        }
        QVERIFY(messages > 50);
    }

    void mergedCatalogSpeaksChineseOnCalls()
    {
        QTranslator catalog;
        QVERIFY2(catalog.load(QStringLiteral(TQ_UI_BUILD_CATALOG)), TQ_UI_BUILD_CATALOG);
        QCOMPARE(catalog.translate("TqInCallWindow", "Hang up"), QString::fromUtf8("挂断"));
        QCoreApplication::installTranslator(&catalog);
        const QString declined = TqCallText::endReason(TqCallCode::ReasonDeclined);
        const QString code = TqCallText::endReason(499);
        QCoreApplication::removeTranslator(&catalog);
        QCOMPARE(declined, QString::fromUtf8("通话已结束：已拒绝"));
        QCOMPARE(code, QString::fromUtf8("通话已结束（代码 499）"));
    }
};

TQ_UI_TEST(TestCallState)
TQ_UI_TEST(TestCallWindows)
TQ_UI_TEST(TestCallCatalog)

#include "tst_calls.moc"
