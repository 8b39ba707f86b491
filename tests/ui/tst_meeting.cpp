// Meetings and interphones: the widget-free states on their own, then the meeting windows
// driven through their widgets against the stand-in engine, which plays the other members.

#include "UiTest.h"

#include <InterphoneState.h>
#include <MeetingCodes.h>
#include <MeetingMembers.h>
#include <MeetingState.h>
#include <MeetingUi.h>
#include <MeetingWindow.h>
#include <Meeting_Agent.h>
#include <Meeting_CallBackProxy.h>
#include <SDK_Agent.h>
#include <TQ_MediaConfUI.h>
#include <TqClientContext.h>
#include <Voip_Agent.h>
#include <Voip_CallBackProxy.h>
#include <ZSsdkControl.h>
#include <tq_ui_test_paths.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTranslator>
#include <QtTest>

#include <atomic>
#include <memory>

namespace C = TqMeetingCode;

namespace {

Agent_InterphoneMsg interphoneMsg(int event, const QString &id, const QString &who,
                                  const QString &speaker = QString())
{
    Agent_InterphoneMsg msg;
    msg.number1 = event;
    msg.text1 = id;
    msg.text2 = who;
    msg.text5 = speaker;
    msg.text7 = "alice";
    return msg;
}

Agent_VoiceMeetingMsg voiceMsg(int event, const QString &id, const QString &who)
{
    Agent_VoiceMeetingMsg msg;
    msg.number1 = event;
    msg.text1 = id;
    msg.text2 = who;
    msg.text5 = "alice";
    return msg;
}

Agent_MeetingInfo meetingInfo(const QString &id)
{
    Agent_MeetingInfo info;
    info.number1 = C::VideoMeeting;
    info.text1 = id;
    return info;
}

Agent_MeetingComingInfo invitation(const QString &id, const QString &callid)
{
    Agent_MeetingComingInfo info;
    info.meetingType = C::VideoMeeting;
    info.conferenceId = id;
    info.callid = callid;
    info.caller = "bob";
    info.nickname = "Bob Li";
    info.display = "8002";
    info.sdkUserData = "{\"agenda\":1}";
    return info;
}

// An interphone of alice's named `id`, with bob in it.
struct Interphone
{
    explicit Interphone(const QString &id = "interphone-1")
    {
        state.setEnabled(true, "alice");
        state.create({"bob"});
        state.onCreateInterphoneMeeting(200, id);
        state.onInterphoneMessage(interphoneMsg(C::EventJoined, id, "bob"));
    }
    TqInterphoneState state;
    QSignalSpy mic{&state, &TqInterphoneState::micRequest};
};

QVariantList args(const QList<QVariant> &list)
{
    return list;
}

} // namespace

class TestMeetingState : public QObject
{
    Q_OBJECT

private slots:
    // Let go before the engine gave the microphone: once it does, it goes straight back.
    void talkReleasedBeforeTheAnswerGivesTheMicrophoneBack()
    {
        Interphone i;
        QVERIFY(i.state.pressTalk());
        i.state.releaseTalk();
        QCOMPARE(i.mic.count(), 1);
        QCOMPARE(i.mic.value(0), args({true, "interphone-1"}));
        i.state.onControlInterphoneMic(200, "alice", "interphone-1", true);
        QCOMPARE(i.mic.count(), 2);
        QCOMPARE(i.mic.value(1), args({false, "interphone-1"}));
        i.state.onControlInterphoneMic(200, QString(), "interphone-1", false);
        QVERIFY(i.state.speaker().isEmpty());
        QCOMPARE(i.mic.count(), 2);
    }

    // While bob talks a held button waits; it asks as soon as he lets go, and a refusal with
    // the microphone still free is not asked again and again.
    void heldButtonWaitsForTheMicrophone()
    {
        Interphone i;
        i.state.onInterphoneMessage(interphoneMsg(C::EventMicTaken, "interphone-1", "bob", "bob"));
        QCOMPARE(i.state.speaker(), QString("bob"));
        QVERIFY(i.state.pressTalk());
        QCOMPARE(i.mic.count(), 0);
        i.state.onInterphoneMessage(interphoneMsg(C::EventMicReleased, "interphone-1", "bob"));
        QCOMPARE(i.mic.count(), 1);
        QSignalSpy failed(&i.state, &TqInterphoneState::failed);
        i.state.onControlInterphoneMic(403, QString(), "interphone-1", true);
        QCOMPARE(failed.count(), 1);
        QCOMPARE(i.mic.count(), 1);
        QVERIFY(!i.state.isTalking());
        // A new press asks again.
        i.state.releaseTalk();
        QVERIFY(i.state.pressTalk());
        QCOMPARE(i.mic.count(), 2);
    }

    // The members' messages may overtake the answer naming the interphone.
    void messagesBeforeTheCreateAnswerAreKept()
    {
        TqInterphoneState state;
        state.setEnabled(true, "alice");
        QSignalSpy queries(&state, &TqInterphoneState::membersQuery);
        QVERIFY(!state.create({" ", "alice"})); // nobody else: nothing would answer
        QVERIFY(state.create({"bob", "carol", "bob"}));
        state.onInterphoneMessage(interphoneMsg(C::EventJoined, "interphone-7", "carol"));
        state.onCreateInterphoneMeeting(200, "interphone-7");
        QCOMPARE(state.phase(), TqInterphoneState::Phase::Active);
        QCOMPARE(state.members()->member("carol").state, C::MemberJoined);
        QCOMPARE(state.members()->member("bob").state, C::MemberInvited);
        QCOMPARE(queries.value(0), args({C::Interphone, "interphone-7"}));
        // Another interphone's news changes nothing here.
        state.onInterphoneMessage(interphoneMsg(C::EventMicTaken, "interphone-8", "bob", "bob"));
        QVERIFY(state.speaker().isEmpty());
    }

    // A user set to listen only lets go of the microphone and may not press again.
    void listenOnlyReleasesTheMicrophone()
    {
        Interphone i;
        QVERIFY(i.state.pressTalk());
        i.state.onControlInterphoneMic(200, "alice", "interphone-1", true);
        QVERIFY(i.state.isTalking());
        Agent_MeetingMemberSpeakListenInfo setting;
        setting.meetingType = C::Interphone;
        setting.meetingId = "interphone-1";
        setting.member = "alice";
        setting.option = C::ListenOnly;
        i.state.onSetMeetingSpeakListen(200, setting);
        QCOMPARE(i.mic.value(1), args({false, "interphone-1"}));
        QVERIFY(!i.state.canSpeak());
        QVERIFY(!i.state.pressTalk());
    }

    // Someone else's interphone the user is made a member of is taken up when none is open.
    void anotherOwnersInterphoneIsTakenUp()
    {
        TqInterphoneState state;
        state.setEnabled(true, "alice");
        Agent_InterphoneMsg msg = interphoneMsg(C::EventInterphoneInvited, "interphone-4", "bob");
        msg.text7 = "bob";
        msg.text6 = "bob,alice,carol";
        state.onInterphoneMessage(msg);
        QCOMPARE(state.phase(), TqInterphoneState::Phase::Active);
        QCOMPARE(state.owner(), QString("bob"));
        QVERIFY(!state.isOwner());
        QCOMPARE(state.members()->joinedCount(), 3);
        // Not the owner: only the own setting may change.
        QVERIFY(!state.setSpeakListen("carol", C::ListenOnly));
        QVERIFY(state.setSpeakListen("alice", C::ListenOnly));
    }

    // The invitation waits for the meeting to exist, goes out once, without the user, blanks
    // or doubles; a join answer that overtook the create answer still counts.
    void createInvitesOnceTheMeetingExists()
    {
        TqMeetingState state;
        state.setEnabled(true, "alice");
        QSignalSpy creates(&state, &TqMeetingState::createRequest);
        QSignalSpy invites(&state, &TqMeetingState::inviteRequest);
        QSignalSpy queries(&state, &TqMeetingState::membersQuery);
        QVERIFY(!state.create(C::Interphone, "x", {})); // not a multimedia meeting
        QVERIFY(!state.create(C::VideoMeeting, "  ", {}));
        QVERIFY(state.create(C::VideoMeeting, " Review ", {"bob", " bob ", "alice", "", "carol"}));
        QCOMPARE(creates.value(0),
                 args({C::VideoMeeting, "Review", "", "", 0, 0, true, false, false}));
        QVERIFY(!state.create(C::VoiceMeeting, "Another", {})); // one at a time
        QCOMPARE(invites.count(), 0);
        state.onJoinMeeting(200, "meeting-3");
        state.onCreateMultimediaMeeting(200, meetingInfo("meeting-3"));
        QCOMPARE(state.phase(), TqMeetingState::Phase::InMeeting);
        QCOMPARE(invites.count(), 1);
        QCOMPARE(invites.value(0).value(1).value<QList<QString>>(),
                 (QList<QString>{"bob", "carol"}));
        QCOMPARE(queries.value(0), args({C::VideoMeeting, "meeting-3"}));
        QVERIFY(state.isOwner());

        // bob's answer came before the invite's own: he stays in.
        state.onVoiceMeetingMessage(voiceMsg(C::EventJoined, "meeting-3", "bob"));
        Agent_MeetingInviteInfo answer;
        answer.conferenceId = "meeting-3";
        answer.members = {"bob", "carol"};
        state.onInviteJoinMultiMediaMeeting(200, answer);
        QCOMPARE(state.members()->member("bob").state, C::MemberJoined);
        QCOMPARE(state.members()->member("carol").state, C::MemberInvited);
        // A list asked for before bob's news must not take him back out.
        Agent_MeetingMemberInfo aliceIn, bobInvited;
        aliceIn.text3 = "alice";
        aliceIn.number1 = C::MemberJoined;
        aliceIn.number2 = C::RoleCreator;
        bobInvited.text3 = "bob";
        state.onQueryMeetingMembers(200, "meeting-3", {aliceIn, bobInvited});
        QCOMPARE(state.members()->member("bob").state, C::MemberJoined);
        QCOMPARE(state.members()->member("carol").state, C::MemberLeft);
        // Another meeting's news changes nothing.
        state.onVoiceMeetingMessage(voiceMsg(C::EventLeft, "meeting-4", "bob"));
        QCOMPARE(state.members()->member("bob").state, C::MemberJoined);
        // Removed by the owner: the meeting is over for the user.
        state.onVoiceMeetingMessage(voiceMsg(C::EventRemoved, "meeting-3", "alice"));
        QCOMPARE(state.phase(), TqMeetingState::Phase::Ended);
        QCOMPARE(state.endKind(), TqMeetingState::End::Removed);
    }

    // Left before the create's answer: the meeting it names is left as soon as it comes, and
    // a later create gets its own answer.
    void abandonedCreateIsLeftOnceNamed()
    {
        TqMeetingState state;
        state.setEnabled(true, "alice");
        QSignalSpy exits(&state, &TqMeetingState::exitRequest);
        QVERIFY(state.create(C::VoiceMeeting, "Standup", {"bob"}));
        state.exit();
        QCOMPARE(state.phase(), TqMeetingState::Phase::Ended);
        QCOMPARE(exits.count(), 0);
        state.clear();
        QVERIFY(state.create(C::VoiceMeeting, "Standup again", {}));
        state.onCreateMultimediaMeeting(200, meetingInfo("meeting-1"));
        QCOMPARE(exits.value(0), args({"meeting-1"}));
        QCOMPARE(state.phase(), TqMeetingState::Phase::Creating);
        state.onCreateMultimediaMeeting(200, meetingInfo("meeting-2"));
        QCOMPARE(state.meetingId(), QString("meeting-2"));
        QCOMPARE(exits.count(), 1);
    }

    // An invitation is kept once; refusing sends nothing; accepting while in another meeting
    // leaves that one first and hands back every field of the invitation.
    void invitationsAcceptedOrRefused()
    {
        TqMeetingState state;
        state.setEnabled(true, "alice");
        QSignalSpy accepts(&state, &TqMeetingState::acceptRequest);
        QSignalSpy exits(&state, &TqMeetingState::exitRequest);
        state.onMeetingInviteIncoming(invitation("meeting-7", "invite-1"));
        state.onMeetingInviteIncoming(invitation("meeting-7", "invite-1"));
        state.onMeetingInviteIncoming(invitation("meeting-8", "invite-2"));
        QCOMPARE(state.invitations().size(), 2);
        state.refuse("invite-1");
        QCOMPARE(state.invitations().size(), 1);
        QCOMPARE(accepts.count(), 0);

        QVERIFY(state.create(C::VoiceMeeting, "Mine", {}));
        state.onCreateMultimediaMeeting(200, meetingInfo("meeting-1"));
        state.onJoinMeeting(200, "meeting-1");
        QVERIFY(state.accept("invite-2"));
        QCOMPARE(exits.value(0), args({"meeting-1"}));
        QCOMPARE(accepts.value(0).value(0).value<Agent_MeetingComingInfo>(),
                 invitation("meeting-8", "invite-2"));
        QCOMPARE(state.phase(), TqMeetingState::Phase::Joining);
        QCOMPARE(state.owner(), QString("bob"));
        // A refused join ends with the reason.
        state.onJoinMeeting(404, "meeting-8");
        QCOMPARE(state.phase(), TqMeetingState::Phase::Ended);
        QCOMPARE(state.endReason(), 404);
        QVERIFY(!state.accept("invite-2"));
        // Logging out forgets the invitations.
        state.onMeetingInviteIncoming(invitation("meeting-9", "invite-3"));
        state.setEnabled(false);
        QVERIFY(state.invitations().isEmpty());
        state.onMeetingInviteIncoming(invitation("meeting-9", "invite-3"));
        QVERIFY(state.invitations().isEmpty());
    }

    // Pictures: never the user's own, sizes only from this meeting's member pictures, and a
    // picture the engine refuses is dropped.
    void memberPictures()
    {
        TqMeetingState state;
        state.setEnabled(true, "alice");
        QSignalSpy asks(&state, &TqMeetingState::memberVideoRequest);
        QVERIFY(state.create(C::VideoMeeting, "Review", {}));
        state.onCreateMultimediaMeeting(200, meetingInfo("meeting-1"));
        state.onJoinMeeting(200, "meeting-1");
        int window = 0;
        QVERIFY(!state.showMemberVideo("alice", &window));
        QVERIFY(!state.showMemberVideo("bob", nullptr));
        QVERIFY(state.showMemberVideo("bob", &window));
        QVERIFY(state.showMemberVideo("bob", &window)); // asked once
        QVERIFY(state.showMemberVideo("carol", &window));
        QCOMPARE(asks.count(), 2);
        QCOMPARE(asks.value(0).value(4).toInt(), C::MemberVideoWindow);
        state.onRemoteVideoRatio("meeting-1", 640, 480, 0, "bob"); // a call's picture
        state.onRemoteVideoRatio("meeting-2", 640, 480, C::RemoteVideoConference, "bob");
        state.onRemoteVideoRatio("meeting-1", -1, 480, C::RemoteVideoConference, "bob");
        QVERIFY(!state.memberVideos().value("bob").isValid());
        state.onRemoteVideoRatio("meeting-1", 640, 480, C::RemoteVideoConference, "bob");
        QCOMPARE(state.memberVideos().value("bob"), QSize(640, 480));
        state.onRequestConferenceMemberVideo(404, "meeting-1", "carol", C::MemberVideoWindow);
        QVERIFY(!state.memberVideos().contains("carol"));
        QVERIFY(state.memberVideos().contains("bob"));
    }

    // A server list naming an account twice leaves one row for it.
    void memberListWithAnAccountTwice()
    {
        TqMeetingMemberModel model;
        TqMeetingMember bob;
        bob.account = "bob";
        TqMeetingMember again = bob;
        again.state = C::MemberJoined;
        TqMeetingMember nobody;
        model.setMembers({bob, nobody, again});
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.member("bob").state, C::MemberJoined);
    }

    // The server lists only those in or invited: one who declined meanwhile stays shown as
    // declined, one who vanished is shown as gone, never as still invited.
    void serverListKeepsThoseWhoWentOut()
    {
        TqMeetingMemberModel model;
        TqMeetingMember alice, bob, carol;
        alice.account = "alice";
        alice.state = C::MemberJoined;
        bob.account = "bob";
        carol.account = "carol";
        carol.state = C::MemberDeclined;
        model.setMembers({alice, bob, carol});
        TqMeetingMember bobIn = bob;
        bobIn.state = C::MemberJoined;
        model.mergeMembers({bobIn});
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.member("bob").state, C::MemberJoined);
        QCOMPARE(model.member("carol").state, C::MemberDeclined);
        QCOMPARE(model.member("alice").state, C::MemberLeft);
        QCOMPARE(model.index(0).data(TqMeetingMemberModel::AccountRole).toString(), QString("bob"));
    }
};

// ---- the windows against the stand-in engine ---------------------------------------------------

namespace {

bool drainAll()
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

template<class T> T *childOf(QWidget *window, const char *name)
{
    return window ? window->findChild<T *>(QLatin1String(name)) : nullptr;
}

QString textOf(QWidget *window, const char *name)
{
    QLabel *label = childOf<QLabel>(window, name);
    return label ? label->text() : QString();
}

bool press(QWidget *window, const char *name)
{
    QAbstractButton *button = childOf<QAbstractButton>(window, name);
    if (!button || !button->isVisible() || !button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

MeetingModel::Meeting serverMeeting(const QString &id)
{
    MeetingModel::Meeting found;
    zssim::Control::withServer([&](zssim::ServerModel &s) {
        if (const MeetingModel::Meeting *m = s.meetings.find(id))
            found = *m;
    });
    return found;
}

int speakListenOf(const QString &id, const QString &member)
{
    const MeetingModel::Meeting m = serverMeeting(id);
    const MeetingModel::Member *x = m.member(member);
    return x ? x->speakListen : -1;
}

// The rows of a member list as shown.
QStringList rowsOf(QWidget *window)
{
    QStringList rows;
    auto *list = childOf<QListView>(window, "memberList");
    for (int i = 0; list && i < list->model()->rowCount(); ++i)
        rows << list->model()->index(i, 0).data().toString();
    return rows;
}

void selectMember(QWidget *window, const QString &account)
{
    auto *list = childOf<QListView>(window, "memberList");
    for (int i = 0; i < list->model()->rowCount(); ++i)
        if (list->model()->index(i, 0).data(TqMeetingMemberModel::AccountRole) == account)
            list->setCurrentIndex(list->model()->index(i, 0));
}

void tick(QWidget *window, const QString &account)
{
    auto *people = childOf<QListWidget>(window, "peopleList");
    for (int i = 0; i < people->count(); ++i)
        if (people->item(i)->text().contains(QStringLiteral("(%1)").arg(account))
            || people->item(i)->text() == account)
            people->item(i)->setCheckState(Qt::Checked);
}

} // namespace

class TestMeetingWindows : public QObject
{
    Q_OBJECT

    TQ_MediaConfUI *m_ui = nullptr;
    std::unique_ptr<TQ_MediaConfUI> m_own;

    TqMeetingUi *meetings() const { return m_ui->meetings(); }

    // The new-meeting window as the app centre opens it, with `kind` chosen and people ticked.
    QWidget *openCreate(int kind, const QStringList &people)
    {
        TqClientContext::instance()->requestFeature(TqFeature::meetings());
        QWidget *w = meetings()->createWindow();
        if (!w || !w->isVisible())
            return nullptr;
        auto *kinds = childOf<QComboBox>(w, "kindCombo");
        kinds->setCurrentIndex(kinds->findData(kind));
        for (const QString &p : people)
            tick(w, p);
        return w;
    }

private slots:
    void initTestCase()
    {
        if (!zssim::Control::initialized())
            emit SDK_Agent::instance()->sig_InitAgent();
        QVERIFY(zssim::Control::waitIdle());
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
        QVERIFY(meetings());
        // A reset engine forgets the tables the agents registered once.
        if (!zssim::Control::table<ZS_MeetingCallBack>())
            Meeting_CallBackProxy::instance()->registerCallbacks();
        if (!zssim::Control::table<ZS_VoIPCallBack>())
            Voip_CallBackProxy::instance()->registerCallbacks();
        TqClientContext::instance()->setLoggedOut();
        TqClientContext::instance()->setLoggedIn("alice");
        TqClientContext::instance()->setContacts({"bob", "carol"});
        TqClientContext::instance()->setDisplayName("bob", "Bob Li");
        TqClientContext::instance()->setDisplayName("carol", "Carol Zhang");
        QVERIFY(meetings()->meeting()->isEnabled());
    }

    void init()
    {
        zssim::Control::withServer([](zssim::ServerModel &s) { s.meetings = MeetingModel(); });
        QVERIFY(drainAll());
        zssim::Control::setJournaling(true);
        zssim::Control::clearJournal();
    }

    void cleanup()
    {
        meetings()->meeting()->exit();
        meetings()->meeting()->clear();
        meetings()->interphone()->exit();
        meetings()->interphone()->clear();
        for (const auto &i : meetings()->meeting()->invitations())
            meetings()->meeting()->refuse(i.callid);
        QVERIFY(drainAll());
    }

    void cleanupTestCase()
    {
        m_own.reset();
        TqClientContext::instance()->setLoggedOut();
    }

    // alice opens an interphone with bob and carol, talks, hears bob, changes the settings and
    // leaves.
    void interphoneThroughTheWindows()
    {
        QWidget *create = openCreate(2, {"bob", "carol"}); // the interphone kind
        QVERIFY(create);
        QVERIFY(!childOf<QLineEdit>(create, "nameEdit")->isVisible());
        QVERIFY(press(create, "startButton"));
        QVERIFY(!create->isVisible());
        QTRY_VERIFY(meetings()->interphoneWindow() && meetings()->interphoneWindow()->isVisible());
        QWidget *panel = meetings()->interphoneWindow();
        TqInterphoneState *state = meetings()->interphone();
        QVERIFY(zssim::Control::waitForCalls("CreateInterphoneMeeting"));
        QCOMPARE(zssim::Control::calls("CreateInterphoneMeeting").value(0).args.mid(0, 3),
                 args({QByteArray("bob"), QByteArray("carol"), 2}));

        // Both come in.
        QTRY_COMPARE(state->members()->joinedCount(), 3);
        const QString id = state->interphoneId();
        QCOMPARE(id, QString("interphone-1"));
        QTRY_COMPARE(textOf(panel, "statusLabel"), QString("Your interphone · 3 in it"));
        QTRY_COMPARE(rowsOf(panel).value(1),
                     QString("Bob Li\nin the meeting · speaks and listens"));
        QCOMPARE(textOf(panel, "speakerLabel"), QString("Nobody is speaking"));

        // Push to talk: held, alice speaks; let go, nobody does.
        auto *talk = childOf<QPushButton>(panel, "pushToTalkButton");
        QTest::mousePress(talk, Qt::LeftButton);
        QTRY_COMPARE(textOf(panel, "speakerLabel"), QString("You are speaking"));
        QCOMPARE(serverMeeting(id).micHolder, QString("alice"));
        QTest::mouseRelease(talk, Qt::LeftButton);
        QTRY_COMPARE(textOf(panel, "speakerLabel"), QString("Nobody is speaking"));
        QCOMPARE(serverMeeting(id).micHolder, QString());

        // bob talks; alice's press waits until he lets go, then she has the microphone.
        QVERIFY(zssim::injectInterphoneMic(id, "bob", true));
        QTRY_COMPARE(textOf(panel, "speakerLabel"), QString("Bob Li is speaking"));
        QVERIFY(rowsOf(panel).value(1).contains(QStringLiteral("\nspeaking · ")));
        QTest::mousePress(talk, Qt::LeftButton);
        QVERIFY(drainAll());
        QCOMPARE(zssim::Control::callCount("ControlInterphoneMic"), 2);
        QCOMPARE(textOf(panel, "talkHint"), QString("You can talk once Bob Li lets go."));
        QVERIFY(zssim::injectInterphoneMic(id, "bob", false));
        QTRY_COMPARE(textOf(panel, "speakerLabel"), QString("You are speaking"));
        QTest::mouseRelease(talk, Qt::LeftButton);
        QTRY_COMPARE(serverMeeting(id).micHolder, QString());

        // The owner sets bob to listen only, and herself too: she may no longer talk.
        selectMember(panel, "bob");
        QCOMPARE(textOf(panel, "settingsLabel"), QString("Settings for Bob Li"));
        QVERIFY(press(panel, "speakCheck"));
        QTRY_COMPARE(speakListenOf(id, "bob"), int(MeetingModel::ListenOnly));
        QTRY_COMPARE(rowsOf(panel).value(1), QString("Bob Li\nin the meeting · listens only"));
        selectMember(panel, "alice");
        QVERIFY(press(panel, "speakCheck"));
        QTRY_VERIFY(!talk->isEnabled());
        QCOMPARE(speakListenOf(id, "alice"), int(MeetingModel::ListenOnly));
        QCOMPARE(textOf(panel, "talkHint"), QString("You may only listen in this interphone."));

        // Leaving: the server has her out, the panel goes.
        QVERIFY(press(panel, "leaveButton"));
        QVERIFY(!panel->isVisible());
        QTRY_COMPARE(serverMeeting(id).joined(), (QStringList{"bob", "carol"}));
        QCOMPARE(state->phase(), TqInterphoneState::Phase::Idle);
    }

    // A video meeting with bob and carol: carol declines, bob's picture is shown, the camera
    // goes on, bob is removed and the owner ends the meeting for everyone.
    void videoMeetingThroughTheWindows()
    {
        zssim::Control::withServer(
            [](zssim::ServerModel &s) { s.meetings.answers["carol"] = MeetingModel::Decline; });
        QWidget *create = openCreate(1, {"bob", "carol"}); // the video kind
        QVERIFY(create);
        QVERIFY(!childOf<QPushButton>(create, "startButton")->isEnabled()); // no name yet
        // Typed as an input method would: keyClicks knows only ASCII keys.
        childOf<QLineEdit>(create, "nameEdit")->insert(QString::fromUtf8("设计评审"));
        QVERIFY(press(create, "startButton"));
        QTRY_VERIFY(meetings()->meetingWindow() && meetings()->meetingWindow()->isVisible());
        QWidget *window = meetings()->meetingWindow();
        TqMeetingState *state = meetings()->meeting();
        QTRY_COMPARE(state->phase(), TqMeetingState::Phase::InMeeting);
        const QString id = state->meetingId();
        QCOMPARE(zssim::Control::calls("CreateMultimediaMeeting").value(0).args.mid(0, 2),
                 args({C::VideoMeeting, QString::fromUtf8("设计评审").toUtf8()}));
        QCOMPARE(textOf(window, "titleLabel"), QString::fromUtf8("设计评审"));

        QTRY_COMPARE(state->members()->member("carol").state, C::MemberDeclined);
        QTRY_COMPARE(textOf(window, "statusLabel"), QString("Video meeting · 2 in the meeting"));
        QCOMPARE(rowsOf(window).value(2), QString("Carol Zhang\ndeclined"));

        // bob publishes video: his picture is asked for in a window of its own.
        auto *meetingWindow = static_cast<TqMeetingWindow *>(window);
        QTRY_VERIFY(meetingWindow->videoTiles().contains("bob"));
        TqMeetingVideoTile *tile = meetingWindow->videoTiles().value("bob");
        QTRY_COMPARE(zssim::Control::callCount("RequestConferenceMemberVideo"), 1);
        const QVariantList asked = zssim::Control::calls("RequestConferenceMemberVideo")[0].args;
        QCOMPARE(asked.value(2), QVariant(QByteArray("bob")));
        QCOMPARE(asked.value(3).toULongLong(),
                 qulonglong(reinterpret_cast<quintptr>(tile->windowHandle())));
        QTRY_COMPARE(textOf(tile, "videoCaption"), QString("Bob Li · 640 × 480"));
        QVERIFY(!meetingWindow->videoTiles().contains("alice"));

        // The own camera.
        QVERIFY(press(window, "cameraButton"));
        QTRY_VERIFY(serverMeeting(id).member("alice")->publishingVideo);
        QTRY_COMPARE(childOf<QPushButton>(window, "cameraButton")->text(),
                     QString("Turn camera &off"));

        // bob stops his video, then is removed: his picture goes, the server has him out.
        QVERIFY(zssim::injectMemberVideo(id, "bob", false));
        QTRY_VERIFY(meetingWindow->videoTiles().isEmpty());
        QTRY_COMPARE(zssim::Control::callCount("CancelMemberVideo"), 1);
        selectMember(window, "bob");
        QVERIFY(press(window, "removeButton"));
        QTRY_COMPARE(serverMeeting(id).member("bob")->state, int(MeetingModel::Removed));
        QTRY_COMPARE(rowsOf(window).value(1), QString("Bob Li\nremoved"));

        // The owner ends it for everyone.
        QVERIFY(press(window, "dismissButton"));
        QTRY_COMPARE(textOf(window, "statusLabel"), QString("You ended the meeting for everyone."));
        QVERIFY(serverMeeting(id).id.isEmpty());
        QVERIFY(!childOf<QPushButton>(window, "dismissButton")->isVisible());
        QVERIFY(press(window, "leaveButton")); // now "Close"
        QVERIFY(!window->isVisible());
    }

    // bob's first invitation is refused, his second accepted; then he ends his meeting.
    void invitationRefusedThenAccepted()
    {
        zssim::injectMeetingInvitation("bob", MeetingModel::VoiceMeeting, "Bob's standup");
        QTRY_VERIFY(meetings()->invitationWindow() && meetings()->invitationWindow()->isVisible());
        QWidget *prompt = meetings()->invitationWindow();
        QCOMPARE(textOf(prompt, "callerLabel"), QString("Bob Li (bob)"));
        QCOMPARE(textOf(prompt, "meetingLabel"), QString("invites you to a voice meeting."));
        QVERIFY(press(prompt, "refuseButton"));
        QVERIFY(!prompt->isVisible());
        QVERIFY(drainAll());
        QCOMPARE(zssim::Control::callCount("AcceptMeeting"), 0);
        QVERIFY(!meetings()->meetingWindow() || !meetings()->meetingWindow()->isVisible());

        const QString id = zssim::injectMeetingInvitation("bob", MeetingModel::VideoMeeting,
                                                          "Bob's review", "{\"agenda\":1}");
        QTRY_VERIFY(prompt->isVisible());
        QCOMPARE(textOf(prompt, "meetingLabel"), QString("invites you to a video meeting."));
        QVERIFY(press(prompt, "acceptButton"));
        QVERIFY(!prompt->isVisible());
        QTRY_COMPARE(meetings()->meeting()->phase(), TqMeetingState::Phase::InMeeting);
        const QByteArray record = zssim::Control::calls("AcceptMeeting").value(0).records.value(0);
        QCOMPARE(record.size(), 4512);
        QCOMPARE(record.mid(4, id.size()), id.toUtf8());
        QCOMPARE(record.mid(413, 12), QByteArray("{\"agenda\":1}"));
        QWidget *window = meetings()->meetingWindow();
        QVERIFY(window->isVisible());
        QTRY_COMPARE(textOf(window, "titleLabel"), QString("Video meeting of Bob Li"));
        QVERIFY(serverMeeting(id).isIn("alice"));
        QVERIFY(!childOf<QPushButton>(window, "dismissButton")->isVisible()); // not hers

        QVERIFY(zssim::injectMeetingEnded(id));
        QTRY_COMPARE(textOf(window, "statusLabel"), QString("The owner ended the meeting."));
        QVERIFY(press(window, "leaveButton"));
        QVERIFY(!window->isVisible());
    }

    // Logging out leaves the interphone and closes its panel.
    void logoutLeavesAndCloses()
    {
        QWidget *create = openCreate(2, {"bob"});
        QVERIFY(create && press(create, "startButton"));
        QTRY_COMPARE(meetings()->interphone()->phase(), TqInterphoneState::Phase::Active);
        const QString id = meetings()->interphone()->interphoneId();
        TqClientContext::instance()->setLoggedOut();
        QVERIFY(!meetings()->interphoneWindow());
        QTRY_VERIFY(!serverMeeting(id).isIn("alice"));
        TqClientContext::instance()->requestFeature(TqFeature::meetings());
        QVERIFY(!meetings()->createWindow()); // nothing while logged out
        TqClientContext::instance()->setLoggedIn("alice");
        TqClientContext::instance()->setContacts({"bob", "carol"});
    }

    void meetingWordsInChinese()
    {
        QTranslator catalog;
        QVERIFY2(catalog.load(QStringLiteral(TQ_UI_BUILD_CATALOG)), TQ_UI_BUILD_CATALOG);
        QCOMPARE(catalog.translate("TqInterphoneWindow", "Hold to talk"),
                 QString::fromUtf8("按住说话"));
        QCOMPARE(catalog.translate("TqMeetingInvitationWindow", "Refuse"),
                 QString::fromUtf8("拒绝"));
    }
};

TQ_UI_TEST(TestMeetingState)
TQ_UI_TEST(TestMeetingWindows)

#include "tst_meeting.moc"
