// Room video: its widget-free state on its own, then one call driven through the window's
// widgets against the stand-in video-room client, which paints the participants into it.

#include "UiTest.h"

#include <RoomState.h>
#include <RoomUi.h>
#include <RoomWindow.h>
#include <TQ_MediaConfUI.h>
#include <TqClientContext.h>
#include <VidyoControl.h>
#include <VidyoDataBase.h>
#include <Vidyo_Agent.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include <memory>

using RoomPhase = TqRoomState::Phase;

// The state alone: what it asks the agent for and what it makes of the answers.
class TestRoomState : public QObject
{
    Q_OBJECT

    // The records the state asked to start with (a pointer type QSignalSpy cannot hold).
    struct Starts
    {
        explicit Starts(TqRoomState *state)
        {
            QObject::connect(state, &TqRoomState::startRequest,
                             [this](VidyoDataBase *r) { records.append(r); });
        }
        int size() const { return records.size(); }
        QList<VidyoDataBase *> records;
    };

private slots:
    void joinLeaveAndStop()
    {
        TqRoomState state;
        Starts starts(&state);
        QSignalSpy leaves(&state, &TqRoomState::leaveRequest);
        QSignalSpy stops(&state, &TqRoomState::stopRequest);
        int window = 0;
        state.join("  https://rooms.example.test/join/r1 ", "Alice", &window, QRect(0, 0, 64, 48));
        QCOMPARE(state.phase(), RoomPhase::Starting);
        QCOMPARE(starts.size(), 1);
        VidyoDataBase *r = starts.records.last();
        QCOMPARE(r->roomLinkText1, QString("https://rooms.example.test/join/r1"));
        QCOMPARE(r->roomLinkText3, QString("Alice"));
        QCOMPARE(r->windowHandle, static_cast<void *>(&window));
        QCOMPARE(r->videoRect, QRect(0, 0, 64, 48));

        state.join("https://other", "x", nullptr, QRect()); // one call at a time
        QCOMPARE(starts.size(), 1);

        state.onVidyoState(1000, true, QString());
        state.onVidyoState(1001, true, QString());
        QCOMPARE(state.phase(), RoomPhase::Connecting);
        state.onVidyoState(1004, true, QString());
        QCOMPARE(state.phase(), RoomPhase::SignedIn);
        state.onVidyoState(1005, true, QString());
        QCOMPARE(state.phase(), RoomPhase::InRoom);
        state.onParticipants({"Alice", "Bob"}, {"a@x", "b@x"});
        QCOMPARE(state.names(), QStringList({"Alice", "Bob"}));

        // Leaving waits for the room to be cleared before the client is stopped.
        state.leave();
        QCOMPARE(state.phase(), RoomPhase::Leaving);
        QCOMPARE(leaves.size(), 1);
        state.onHangUp(0); // the leave's own answer
        state.onVidyoState(1006, true, QString());
        QCOMPARE(stops.size(), 0);
        state.onLeft();
        QCOMPARE(stops.size(), 1);
        QCOMPARE(state.phase(), RoomPhase::Leaving);
        state.onHangUp(0); // the stop's answer: the record may go
        QCOMPARE(state.phase(), RoomPhase::Ended);
        QVERIFY(state.problem().isEmpty());
        QVERIFY(state.names().isEmpty());
    }

    void refusedLink()
    {
        TqRoomState state;
        QSignalSpy stops(&state, &TqRoomState::stopRequest);
        state.join("https://rooms.example.test/join/nope", "Alice", nullptr, QRect());
        state.onVidyoState(1001, true, QString());
        state.onVidyoState(1006, true, QString());
        state.onStartFailed();
        QCOMPARE(stops.size(), 1);
        state.onHangUp(0);
        QCOMPARE(state.phase(), RoomPhase::Failed);
        QCOMPARE(state.problem(), QString("The room refused the link."));
    }

    void clientThatDoesNotStart()
    {
        TqRoomState state;
        QSignalSpy stops(&state, &TqRoomState::stopRequest);
        state.join("https://r", "A", nullptr, QRect());
        state.onVidyoState(1000, false, QString());
        state.onVidyoState(1001, false, QString());
        QCOMPARE(stops.size(), 1);
        state.onHangUp(0);
        QCOMPARE(state.phase(), RoomPhase::Failed);
        QCOMPARE(state.problem(), QString("The video client could not be set up."));
    }

    // Digits go one by one; each answer belongs to the oldest digit asked for.
    void dialling()
    {
        TqRoomState state;
        QSignalSpy dials(&state, &TqRoomState::dialRequest);
        state.join("https://r", "A", nullptr, QRect());
        state.dial("5");
        QCOMPARE(dials.size(), 0); // not in the room yet
        state.onVidyoState(1005, true, QString());
        state.dial("12#");
        QCOMPARE(dials.size(), 3);
        QCOMPARE(dials.at(2).at(0).toString(), QString("#"));
        state.onDialResult(true);
        state.onDialResult(false);
        state.onDialResult(true);
        state.onDialResult(true); // no digit waits for it
        QCOMPARE(state.dialed(), QString("1#"));
    }

    void controlsOnlyInTheRoom()
    {
        TqRoomState state;
        QSignalSpy mic(&state, &TqRoomState::micRequest);
        QSignalSpy share(&state, &TqRoomState::shareRequest);
        state.setMicMuted(true);
        state.join("https://r", "A", nullptr, QRect());
        state.setSharing(true);
        QCOMPARE(mic.size() + share.size(), 0);
        state.onVidyoState(1005, true, QString());
        state.setMicMuted(true);
        state.setSharing(true);
        QCOMPARE(mic.size(), 1);
        QCOMPARE(mic.first(), (QVariantList{true, false}));
        QCOMPARE(share.size(), 1);
    }
};

class TestRoomWindow : public QObject
{
    Q_OBJECT

    TqRoomUi *m_ui = nullptr;
    std::unique_ptr<TqRoomUi> m_own;

    template<class T> T *find(const char *name) const
    {
        T *w = m_ui->window()->findChild<T *>(QLatin1String(name));
        if (!w)
            qWarning("no widget %s", name);
        return w;
    }

    QStringList items() const
    {
        QStringList texts;
        auto *w = find<QListWidget>("roomParticipants");
        for (int i = 0; i < w->count(); ++i)
            texts << w->item(i)->text();
        return texts;
    }

    QString status() const { return find<QLabel>("roomStatusLabel")->text(); }

private slots:
    void initTestCase()
    {
        vidyosim::Control::reset();
        TQ_MediaConfUI *calls = TQ_MediaConfUI::instance();
        m_ui = calls ? calls->rooms() : nullptr;
        if (!m_ui) {
            m_own = std::make_unique<TqRoomUi>();
            m_ui = m_own.get();
        }
        TqClientContext::instance()->setLoggedOut();
        TqClientContext::instance()->setLoggedIn("alice");
    }

    void cleanupTestCase()
    {
        TqClientContext::instance()->setLoggedOut();
        QTRY_VERIFY(!m_ui->state()->inCall());
        m_own.reset();
        vidyosim::Control::reset();
    }

    void call()
    {
        TqClientContext::instance()->requestFeature(TqFeature::roomVideo());
        TqRoomWindow *window = m_ui->window();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(status(), QString("Not in a room"));
        QVERIFY(!find<QToolButton>("micButton")->isEnabled());

        find<QLineEdit>("shownNameEdit")->clear();
        QTest::keyClicks(find<QLineEdit>("roomLinkEdit"), "https://rooms.example.test/join/r7");
        QTest::keyClicks(find<QLineEdit>("shownNameEdit"), "Alice (desk)");
        QTest::mouseClick(find<QPushButton>("joinRoomButton"), Qt::LeftButton);
        QTRY_COMPARE(status(), QString("In the room"));
        QTRY_COMPARE(items(), QStringList({"Alice (desk)", "Bob Li", "Carol Zhang"}));
        QCOMPARE(find<QLabel>("participantCountLabel")->text(), QString("Participants (3)"));
        QVERIFY(!find<QPushButton>("joinRoomButton")->isEnabled());
        QCOMPARE(vidyosim::Control::state().portalUri,
                 QByteArray("https://rooms.example.test/join/r7"));
        // The client paints the tiles into the window's video area.
        QCOMPARE(vidyosim::Control::state().window, static_cast<void *>(window->videoArea()));
        QTRY_VERIFY(vidyosim::Control::state().paints > 0);

        QTest::mouseClick(find<QToolButton>("micButton"), Qt::LeftButton);
        QTest::mouseClick(find<QToolButton>("cameraButton"), Qt::LeftButton);
        QTest::mouseClick(find<QToolButton>("speakerButton"), Qt::LeftButton);
        QTRY_VERIFY(vidyosim::Control::state().micMuted);
        QVERIFY(vidyosim::Control::state().cameraOff);
        QVERIFY(vidyosim::Control::state().speakerMuted);
        QTRY_VERIFY(find<QToolButton>("micButton")->isChecked());
        QVERIFY(find<QToolButton>("cameraButton")->isChecked());
        QTest::mouseClick(find<QToolButton>("micButton"), Qt::LeftButton);
        QTRY_VERIFY(!vidyosim::Control::state().micMuted);
        QTRY_VERIFY(!find<QToolButton>("micButton")->isChecked());

        QTest::mouseClick(find<QToolButton>("shareButton"), Qt::LeftButton);
        QTRY_COMPARE(find<QToolButton>("shareButton")->text(), QString("Stop sharing"));
        QVERIFY(find<QToolButton>("shareButton")->isChecked());
        QVERIFY(vidyosim::Control::state().sharing);
        QTest::mouseClick(find<QToolButton>("shareButton"), Qt::LeftButton);
        QTRY_COMPARE(find<QToolButton>("shareButton")->text(), QString("Share screen"));
        QVERIFY(!find<QToolButton>("shareButton")->isChecked());
        QVERIFY(!vidyosim::Control::state().sharing);

        QTest::keyClicks(find<QLineEdit>("dialEdit"), "12#");
        QTest::mouseClick(find<QPushButton>("dialButton"), Qt::LeftButton);
        QTRY_COMPARE(find<QLabel>("dialedLabel")->text(), QString("Dialled: 12#"));
        QCOMPARE(vidyosim::Control::state().dialed, QByteArray("12#"));

        vidyosim::Control::injectJoin({"Dan Wu", "dan@vidyo.example.test"});
        QTRY_COMPARE(items().size(), 4);

        window->resize(window->width() + 40, window->height());
        QTRY_COMPARE(vidyosim::Control::state().rect, window->videoArea()->rect());

        QTest::mouseClick(find<QPushButton>("leaveRoomButton"), Qt::LeftButton);
        QTRY_COMPARE(status(), QString("Left the room"));
        QVERIFY(items().isEmpty());
        QVERIFY(!vidyosim::Control::state().initialized);
        QVERIFY(find<QPushButton>("joinRoomButton")->isEnabled());
        window->hide();
    }
};

TQ_UI_TEST(TestRoomState)
TQ_UI_TEST(TestRoomWindow)

#include "tst_room.moc"
