// Whole meetings through the agent and the stand-in engine, as a window sees them: an
// interphone meeting with bob and carol passing the microphone around, a video meeting with
// invitations, a member's video window and its picture size, and an invitation from bob.

#include "MeetingTestSupport.h"

#include <Voip_Agent.h>
#include <Voip_CallBackProxy.h>

namespace {

using Model = MeetingModel;

Meeting_Agent *agent()
{
    return Meeting_Agent::instance();
}

using MicInbox = MeetingInbox<int, QString, QString, bool>;
using MicAnswer = std::tuple<int, QString, QString, bool>;

} // namespace

class TestMeetingEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(startEngine()); }

    void interphone()
    {
        TextInbox created(&Meeting_Agent::sig_onCreateInterphoneMeeting);
        MeetingInbox<Agent_InterphoneMsg> messages(
            &Meeting_Agent::sig_onReceiveInterphoneMeetingMessage);
        MicInbox mic(&Meeting_Agent::sig_onControlInterphoneMic);
        MeetingInbox<QString> exited(&Meeting_Agent::sig_onExitInterphoneMeeting);

        // alice calls bob and carol together; both come in.
        emit agent()->sig_createInterphoneMeeting({"bob", "carol"});
        QVERIFY(drain());
        QTRY_COMPARE(created.count(), 1);
        QCOMPARE(created.arg<0>(0), 200);
        const QString id = created.arg<1>(0);
        QCOMPARE(id, QString("interphone-1"));
        QTRY_COMPARE(messages.count(), 2);
        QCOMPARE(messages.arg<0>(0).number1, int(Model::MemberJoined));
        QCOMPARE(messages.arg<0>(0).text1, id);
        QCOMPARE(messages.arg<0>(0).text2, QString("bob"));
        QCOMPARE(messages.arg<0>(0).text3, QString("Bob Li"));
        QCOMPARE(messages.arg<0>(0).text4, QString("8002"));
        QCOMPARE(messages.arg<0>(0).text7, QString("alice"));
        QCOMPARE(messages.arg<0>(1).text2, QString("carol"));
        QCOMPARE(messages.arg<0>(1).number2, 3);
        QCOMPARE(messages.arg<0>(1).text6, QString("alice,bob,carol"));
        QCOMPARE(messages.threads.value(1), QThread::currentThread());

        // alice takes the microphone; bob cannot while she holds it.
        emit agent()->sig_controlInterphoneMic(true, id);
        QVERIFY(drain());
        QTRY_COMPARE(mic.count(), 1);
        QCOMPARE(mic.entries[0], (MicAnswer{200, "alice", id, true}));
        QVERIFY(!zssim::injectInterphoneMic(id, "bob", true));

        // She lets go; bob takes it, and her next request finds it busy with him.
        emit agent()->sig_controlInterphoneMic(false, id);
        QVERIFY(drain());
        QVERIFY(zssim::injectInterphoneMic(id, "bob", true));
        QVERIFY(drain());
        emit agent()->sig_controlInterphoneMic(true, id);
        emit agent()->sig_controlInterphoneMic(false, id);
        QVERIFY(drain());
        QTRY_COMPARE(mic.count(), 4);
        QCOMPARE(mic.entries[1], (MicAnswer{200, "", id, false}));
        QCOMPARE(mic.entries[2], (MicAnswer{486, "bob", id, true}));
        QCOMPARE(mic.entries[3], (MicAnswer{403, "bob", id, false}));
        QTRY_COMPARE(messages.count(), 3);
        QCOMPARE(messages.arg<0>(2).number1, int(Model::MicTaken));
        QCOMPARE(messages.arg<0>(2).text5, QString("bob"));

        // The members as the server lists them: bob with the microphone.
        MeetingInbox<int, QString, QList<Agent_MeetingMemberInfo>> members(
            &Meeting_Agent::sig_onQueryMeetingMembers);
        emit agent()->sig_queryMeetingMembers(Model::InterphoneMeeting, id);
        QVERIFY(drain());
        QTRY_COMPARE(members.count(), 1);
        const QList<Agent_MeetingMemberInfo> list = members.arg<2>(0);
        QCOMPARE(list.size(), 3);
        QCOMPARE(list[0].text3, QString("alice"));
        QCOMPARE(list[0].number2, int(Model::Creator));
        QVERIFY(!list[0].flag3);
        QCOMPARE(list[1].text3, QString("bob"));
        QVERIFY(list[1].flag1 && list[1].flag3);

        // bob leaves with the microphone: it is free, and alice takes it.
        QVERIFY(zssim::injectInterphoneMic(id, "carol", false) == false);
        QVERIFY(zssim::injectMeetingMemberLeft(id, "bob"));
        QVERIFY(drain());
        QTRY_COMPARE(messages.count(), 4);
        QCOMPARE(messages.arg<0>(3).number1, int(Model::MemberLeft));
        QCOMPARE(messages.arg<0>(3).text5, QString());
        QCOMPARE(messages.arg<0>(3).text6, QString("alice,carol"));
        emit agent()->sig_controlInterphoneMic(true, id);
        QVERIFY(drain());
        QTRY_COMPARE(mic.count(), 5);
        QCOMPARE(mic.entries[4], (MicAnswer{200, "alice", id, true}));

        // alice leaves; carol is still in, so the interphone goes on without her microphone.
        emit agent()->sig_exitMeeting(id);
        QVERIFY(drain());
        QTRY_COMPARE(exited.count(), 1);
        QCOMPARE(exited.arg<0>(0), id);
        const Model::Meeting left = meetingOf(id);
        QCOMPARE(left.micHolder, QString());
        QCOMPARE(left.joined(), QStringList{"carol"});
        emit agent()->sig_controlInterphoneMic(true, id);
        QVERIFY(drain());
        QTRY_COMPARE(mic.count(), 6);
        QCOMPARE(std::get<0>(mic.entries[5]), 404);

        // When carol goes too it is over.
        QVERIFY(zssim::injectMeetingMemberLeft(id, "carol"));
        QVERIFY(drain());
        QVERIFY(meetingOf(id).id.isEmpty());
        QVERIFY(!zssim::injectMeetingEnded(id));
    }

    // An interphone of bob's that the user is made a member of, in the background variant of
    // the user's own, and one nobody can be reached for.
    void interphoneVariants()
    {
        MeetingInbox<Agent_InterphoneMsg> messages(
            &Meeting_Agent::sig_onReceiveInterphoneMeetingMessage);
        const QString theirs = zssim::injectInterphoneInvitation("bob", {"carol"});
        QVERIFY(drain());
        QTRY_COMPARE(messages.count(), 1);
        QCOMPARE(messages.arg<0>(0).number1, int(Model::InterphoneInvited));
        QCOMPARE(messages.arg<0>(0).text1, theirs);
        QCOMPARE(messages.arg<0>(0).text2, QString("bob"));
        QCOMPARE(messages.arg<0>(0).text6, QString("bob,alice,carol"));
        MicInbox mic(&Meeting_Agent::sig_onControlInterphoneMic);
        emit agent()->sig_controlInterphoneMic(true, theirs);
        QVERIFY(drain());
        QTRY_COMPARE(mic.count(), 1);
        QCOMPARE(mic.entries[0], (MicAnswer{200, "alice", theirs, true}));

        TextInbox created(&Meeting_Agent::sig_onCreateInterphoneMeeting);
        emit agent()->sig_createInterphoneMeetingBackground({"carol"}, 2);
        emit agent()->sig_createInterphoneMeeting({"nobody", "alice"});
        QVERIFY(drain());
        QTRY_COMPARE(created.count(), 2);
        QCOMPARE(created.arg<0>(0), 200);
        const Model::Meeting background = meetingOf(created.arg<1>(0));
        QVERIFY(background.background);
        QCOMPARE(background.voiceMode, 2);
        QCOMPARE(created.arg<0>(1), 404);
        QVERIFY(created.arg<1>(1).isEmpty());
    }

    void videoMeeting()
    {
        Voip_Agent::instance();
        Voip_CallBackProxy::instance()->registerCallbacks();
        zssim::Control::withServer(
            [](zssim::ServerModel &s) { s.meetings.answers["carol"] = Model::Decline; });

        MeetingInbox<int, Agent_MeetingInfo> created(&Meeting_Agent::sig_onCreateMultimediaMeeting);
        TextInbox joined(&Meeting_Agent::sig_onJoinMeeting);
        emit agent()->sig_createMultimediaMeeting(Model::VideoMeeting,
                                                  QString::fromUtf8("设计评审"), "", "design", 1, 0,
                                                  true, true, false);
        QVERIFY(drain());
        QTRY_COMPARE(joined.count(), 1);
        const QString id = created.arg<1>(0).text1;
        QCOMPARE(joined.arg<1>(0), id);
        QCOMPARE(created.arg<1>(0).text2, QString::fromUtf8("设计评审"));

        MeetingInbox<int, Agent_MeetingInviteInfo> invited(
            &Meeting_Agent::sig_onInviteJoinMultiMediaMeeting);
        MeetingInbox<Agent_VideoMeetingMsg> messages(
            &Meeting_Agent::sig_onReceiveVideoMeetingMessage);
        emit agent()->sig_inviteJoinMultiMediaMeeting(id, {"bob", "carol"}, false, true, true, "",
                                                      "");
        QVERIFY(drain());
        QTRY_COMPARE(messages.count(), 2);
        QCOMPARE(invited.arg<1>(0).members, (QList<QString>{"bob", "carol"}));
        QCOMPARE(messages.arg<0>(0).number1, int(Model::MemberJoined));
        QCOMPARE(messages.arg<0>(1).number1, int(Model::InvitationDeclined));

        // bob's picture in a window of the user's, with its size from the call agent.
        QList<std::tuple<QString, int, int, QString>> ratios;
        const QMetaObject::Connection sizes
            = connect(Voip_Agent::instance(), &Voip_Agent::sig_onConfRemoteVideoRatio, this,
                      [&](QString confId, int width, int height, int, QString member) {
                          ratios.append({confId, width, height, member});
                      });
        MeetingInbox<int, QString, QString, int> shown(
            &Meeting_Agent::sig_onRequestConferenceMemberVideo);
        emit agent()->sig_publishVideo(id);
        emit agent()->sig_requestConferenceMemberVideo(id, "", "bob",
                                                       reinterpret_cast<void *>(quintptr(0x77)), 1);
        QVERIFY(drain());
        QTRY_COMPARE(ratios.size(), 1);
        QCOMPARE(shown.entries[0], (std::tuple<int, QString, QString, int>{200, id, "bob", 1}));
        QCOMPARE(ratios[0], (std::tuple<QString, int, int, QString>{id, 640, 480, "bob"}));
        disconnect(sizes);

        // bob may listen only; then he is removed, taking his window with him.
        MeetingInbox<int, Agent_MeetingMemberSpeakListenInfo> set(
            &Meeting_Agent::sig_onSetMeetingSpeakListen);
        MeetingInbox<int, Agent_MeetingDeleteMemberInfo> removed(
            &Meeting_Agent::sig_onDeleteMemberMultiMediaMeeting);
        emit agent()->sig_setMeetingSpeakListen(Model::VideoMeeting, id, "bob", true,
                                                Model::ListenOnly);
        emit agent()->sig_deleteMemberMultiMediaMeeting(Model::VideoMeeting, id, "bob", true);
        QVERIFY(drain());
        QTRY_COMPARE(removed.count(), 1);
        QCOMPARE(set.arg<0>(0), 200);
        QCOMPARE(removed.arg<0>(0), 200);
        QVERIFY(meetingOf(id).videoWindows.isEmpty());

        // The last one out closes it.
        MeetingInbox<QString> exited(&Meeting_Agent::sig_onExitMeeting);
        emit agent()->sig_exitMeeting(id);
        QVERIFY(drain());
        QTRY_COMPARE(exited.count(), 1);
        QVERIFY(meetingOf(id).id.isEmpty());
    }

    // bob invites the user; the window accepts with the fields it was given.
    void invitationFromBob()
    {
        Agent_MeetingComingInfo invitation;
        const QMetaObject::Connection accepting
            = connect(agent(), &Meeting_Agent::sig_onMeetingInviteIncoming, this,
                      [&](Agent_MeetingComingInfo info) {
                          invitation = info;
                          emit agent()->sig_acceptMeeting(info.meetingType, info.conferenceId,
                                                          info.callid, info.caller, info.nickname,
                                                          info.display, info.sdkUserData);
                      });
        TextInbox joined(&Meeting_Agent::sig_onJoinMeeting);
        const QString id
            = zssim::injectMeetingInvitation("bob", Model::VoiceMeeting, QString::fromUtf8("周会"));
        QTRY_COMPARE(joined.count(), 1);
        QCOMPARE(joined.entries[0], (std::tuple<int, QString>{200, id}));
        QCOMPARE(invitation.nickname, QString("Bob Li"));
        disconnect(accepting);
        QVERIFY(meetingOf(id).isIn("alice"));
        QCOMPARE(meetingOf(id).name, QString::fromUtf8("周会"));

        // bob ends it: the user is told, and it is gone.
        MeetingInbox<Agent_VoiceMeetingMsg> messages(
            &Meeting_Agent::sig_onReceiveVoiceMeetingMessage);
        QVERIFY(zssim::injectMeetingEnded(id));
        QTRY_COMPARE(messages.count(), 1);
        QCOMPARE(messages.arg<0>(0).number1, int(Model::MeetingEnded));
        QCOMPARE(messages.arg<0>(0).text2, QString("bob"));
        QCOMPARE(messages.arg<0>(0).text7, QString::fromUtf8("周会"));
    }
};

QObject *newTestMeetingEndToEnd()
{
    return new TestMeetingEndToEnd;
}

#include "tst_meeting_endtoend.moc"
