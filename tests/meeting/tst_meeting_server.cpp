// The stand-in engine's meetings, driven through the agent as a window drives them: creating
// and listing, joining (password, size), invitations and the simulated people's answers,
// removing members, speak and listen settings, video and member video windows, leaving and
// dismissing, an invitation from bob, and the events a test injects.

#include "MeetingTestSupport.h"

namespace {

using Model = MeetingModel;

Meeting_Agent *agent()
{
    return Meeting_Agent::instance();
}

void setUser(const QString &user)
{
    zssim::Control::withServer([&](zssim::ServerModel &s) { s.currentUser = user; });
}

// Creates a meeting as the user and waits for it; returns its id.
QString create(int type, const QString &name, const QString &password = QString(),
               bool autoJoin = true, int square = 0, bool autoClose = false)
{
    MeetingInbox<int, Agent_MeetingInfo> created(&Meeting_Agent::sig_onCreateMultimediaMeeting);
    emit agent()->sig_createMultimediaMeeting(type, name, password, "kw", 0, square, autoJoin,
                                              autoClose, false);
    if (!drain() || created.count() != 1 || created.arg<0>(0) != 200)
        return QString();
    return created.arg<1>(0).text1;
}

QList<Agent_MeetingMemberInfo> members(int type, const QString &id, int *reason = nullptr)
{
    MeetingInbox<int, QString, QList<Agent_MeetingMemberInfo>> lists(
        &Meeting_Agent::sig_onQueryMeetingMembers);
    emit agent()->sig_queryMeetingMembers(type, id);
    if (!drain() || lists.count() != 1)
        return {};
    if (reason)
        *reason = lists.arg<0>(0);
    return lists.arg<2>(0);
}

QStringList accounts(const QList<Agent_MeetingMemberInfo> &list)
{
    QStringList names;
    for (const Agent_MeetingMemberInfo &m : list)
        names << m.text3;
    return names;
}

} // namespace

class TestMeetingServer : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(startEngine()); }

    // A create answers with the meeting record (type, members in it, size, voice mode, id,
    // name, creator, keywords) and, when the creator joins at once, with the join.
    void createAndList()
    {
        MeetingInbox<int, Agent_MeetingInfo> created(&Meeting_Agent::sig_onCreateMultimediaMeeting);
        TextInbox joined(&Meeting_Agent::sig_onJoinMeeting);
        emit agent()->sig_setMultiMediaMeetingBeforeCreate(2, "server data", "reserved");
        emit agent()->sig_createMultimediaMeeting(Model::VideoMeeting, "Weekly sync", "pw",
                                                  "design", 1, 3, true, true, false);
        emit agent()->sig_createMultimediaMeeting(Model::VoiceMeeting, QString::fromUtf8("站会"),
                                                  "", "daily", 0, 0, false, false, false);
        emit agent()->sig_createMultimediaMeeting(5, "Odd type", "", "", 0, 0, true, false, false);
        emit agent()->sig_createMultimediaMeeting(Model::VoiceMeeting, "", "", "", 0, 0, true,
                                                  false, false);
        QVERIFY(drain());
        QTRY_COMPARE(created.count(), 4);
        QCOMPARE(created.arg<0>(0), 200);
        QCOMPARE(created.arg<1>(0),
                 (Agent_MeetingInfo{Model::VideoMeeting, 1, 3, 1, "meeting-1", "Weekly sync",
                                    "alice", "design"}));
        QCOMPARE(created.arg<1>(1),
                 (Agent_MeetingInfo{Model::VoiceMeeting, 0, 0, 0, "meeting-2",
                                    QString::fromUtf8("站会"), "alice", "daily"}));
        QCOMPARE(created.arg<0>(2), 400);
        QCOMPARE(created.arg<0>(3), 400);
        QCOMPARE(joined.entries, (QList<std::tuple<int, QString>>{{200, "meeting-1"}}));

        const Model::Meeting first = meetingOf("meeting-1");
        QCOMPARE(first.callbackMode, 2);
        QCOMPARE(first.serverUserData, QString("server data"));
        QCOMPARE(first.reservation, QString("reserved"));
        QCOMPARE(first.password, QString("pw"));
        QVERIFY(first.autoClose && !first.autoDelete);
        QVERIFY(!meetingOf("meeting-2").serverUserData.size()); // the options served one create
        QCOMPARE(meetings().meetings.size(), 2);

        // A meeting nobody is in lists no member.
        int reason = 0;
        QCOMPARE(members(Model::VoiceMeeting, "meeting-2", &reason).size(), 0);
        QCOMPARE(reason, 200);

        MeetingInbox<int, QList<Agent_MeetingInfo>> lists(
            &Meeting_Agent::sig_onQueryMultiMediaMeetings);
        emit agent()->sig_queryMultiMediaMeetings(0, "");
        emit agent()->sig_queryMultiMediaMeetings(Model::VoiceMeeting, "");
        emit agent()->sig_queryMultiMediaMeetings(0, "DESIGN");
        emit agent()->sig_queryMultiMediaMeetings(0, QString::fromUtf8("站"));
        emit agent()->sig_queryMultiMediaMeetings(0, "nothing like it");
        QVERIFY(drain());
        QTRY_COMPARE(lists.count(), 5);
        const auto ids = [&](int i) {
            QStringList list;
            for (const Agent_MeetingInfo &m : lists.arg<1>(i))
                list << m.text1;
            return list;
        };
        QCOMPARE(ids(0), (QStringList{"meeting-1", "meeting-2"}));
        QCOMPARE(ids(1), QStringList{"meeting-2"});
        QCOMPARE(ids(2), QStringList{"meeting-1"});
        QCOMPARE(ids(3), QStringList{"meeting-2"});
        QCOMPARE(ids(4), QStringList());
        QCOMPARE(lists.arg<0>(4), 200);
    }

    // Joining: an unknown meeting 404, a wrong password 403, a full meeting 486.
    void joinRules()
    {
        const QString locked = create(Model::VoiceMeeting, "Locked", "secret", false);
        const QString small = create(Model::VoiceMeeting, "Small", QString(), false, 1);
        QVERIFY(zssim::injectMeetingMemberJoined(small, "bob"));
        TextInbox joined(&Meeting_Agent::sig_onJoinMeeting);
        emit agent()->sig_joinMeeting(Model::VoiceMeeting, "meeting-99", "");
        emit agent()->sig_joinMeeting(Model::VoiceMeeting, locked, "guess");
        emit agent()->sig_joinMeeting(Model::VoiceMeeting, locked, "secret");
        emit agent()->sig_joinMeeting(Model::VoiceMeeting, small, "");
        QVERIFY(drain());
        QTRY_COMPARE(joined.count(), 4);
        QCOMPARE(joined.entries,
                 (QList<std::tuple<int, QString>>{
                     {404, "meeting-99"}, {403, locked}, {200, locked}, {486, small}}));
        QVERIFY(meetingOf(locked).isIn("alice"));
        QVERIFY(!meetingOf(small).isIn("alice"));
    }

    // An invitation: the known members are invited and answer as the model says (bob joins
    // and publishes video, carol declines); the others are named in the result text.
    void invitationAnswers()
    {
        zssim::Control::withServer(
            [](zssim::ServerModel &s) { s.meetings.answers["carol"] = Model::Decline; });
        const QString id = create(Model::VideoMeeting, "Review");
        MeetingInbox<int, Agent_MeetingInviteInfo> invited(
            &Meeting_Agent::sig_onInviteJoinMultiMediaMeeting);
        MeetingInbox<Agent_VideoMeetingMsg> messages(
            &Meeting_Agent::sig_onReceiveVideoMeetingMessage);
        emit agent()->sig_setMultimediaMeetingBeforeInviteJoin("invite data");
        emit agent()->sig_inviteJoinMultiMediaMeeting(id, {"bob", "carol", "nobody"}, true, false,
                                                      true, "8001", "ud");
        emit agent()->sig_inviteJoinMultiMediaMeeting("meeting-99", {"bob"}, false, true, true, "",
                                                      "");
        QVERIFY(drain());
        QTRY_COMPARE(invited.count(), 2);
        QCOMPARE(invited.arg<0>(0), 200);
        QCOMPARE(invited.arg<1>(0),
                 (Agent_MeetingInviteInfo{id, {"bob", "carol"}, "nobody", false, true}));
        QCOMPARE(invited.arg<0>(1), 404);
        QCOMPARE(invited.arg<1>(1).resultText, QString("no such meeting"));
        QVERIFY(invited.arg<1>(1).members.isEmpty());

        QTRY_COMPARE(messages.count(), 2);
        const Agent_VideoMeetingMsg bob = messages.arg<0>(0);
        QCOMPARE(bob.number1, int(Model::MemberJoined));
        QCOMPARE(bob.number2, 2);
        QCOMPARE(bob.number3, 1); // publishing video
        QCOMPARE(bob.number4, int(Model::ListenOnly));
        QCOMPARE(bob.text1, id);
        QCOMPARE(bob.text2, QString("bob"));
        QCOMPARE(bob.text3, QString("Bob Li"));
        QCOMPARE(bob.text4, QString("8002"));
        QCOMPARE(bob.text5, QString("alice"));
        QCOMPARE(bob.text6, QString("alice,bob"));
        QCOMPARE(bob.text7, QString("Review"));
        QVERIFY(bob.flag1);
        const Agent_VideoMeetingMsg carol = messages.arg<0>(1);
        QCOMPARE(carol.number1, int(Model::InvitationDeclined));
        QCOMPARE(carol.text2, QString("carol"));
        QVERIFY(!carol.flag1);

        const QList<Agent_MeetingMemberInfo> list = members(Model::VideoMeeting, id);
        QCOMPARE(accounts(list), (QStringList{"alice", "bob"}));
        QCOMPARE(list[0].number2, int(Model::Creator));
        QCOMPARE(list[1].number1, int(Model::Joined));
        QCOMPARE(list[1].number3, int(Model::ListenOnly));
        QCOMPARE(list[1].text1, QString("8002"));
        QCOMPARE(list[1].text2, QString("Bob Li"));
        QCOMPARE(list[1].text4, QString("invite data"));
        QVERIFY(list[1].flag1 && list[1].flag2 && !list[1].flag3);

        const Model::Invite invite = meetings().invites.value(0);
        QCOMPARE(invite.members, (QStringList{"bob", "carol", "nobody"}));
        QVERIFY(invite.blanding && !invite.isSpeak && invite.isListen);
        QCOMPARE(invite.disNumber, QString("8001"));
        QCOMPARE(invite.userdata, QString("ud"));
    }

    // A member that does not answer stays invited; one who cannot get in (full) declines.
    void unansweredInvitation()
    {
        zssim::Control::withServer(
            [](zssim::ServerModel &s) { s.meetings.answers["bob"] = Model::NoAnswer; });
        const QString id = create(Model::VoiceMeeting, "Quiet");
        MeetingInbox<Agent_VoiceMeetingMsg> messages(
            &Meeting_Agent::sig_onReceiveVoiceMeetingMessage);
        emit agent()->sig_inviteJoinMultiMediaMeeting(id, {"bob", "carol"}, false, true, true, "",
                                                      "");
        QVERIFY(drain());
        QTRY_COMPARE(messages.count(), 1);
        QCOMPARE(messages.arg<0>(0).text2, QString("carol"));
        QCOMPARE(messages.arg<0>(0).number1, int(Model::MemberJoined));
        const QList<Agent_MeetingMemberInfo> list = members(Model::VoiceMeeting, id);
        QCOMPARE(accounts(list), (QStringList{"alice", "bob", "carol"}));
        QCOMPARE(list[1].number1, int(Model::Invited));
        QVERIFY(!list[1].flag1);
    }

    // Only the creator removes members; a member not in the meeting is not found.
    void removeMembers()
    {
        const QString id = create(Model::VideoMeeting, "Trim");
        QVERIFY(zssim::injectMeetingMemberJoined(id, "bob"));
        MeetingInbox<int, Agent_MeetingDeleteMemberInfo> removed(
            &Meeting_Agent::sig_onDeleteMemberMultiMediaMeeting);
        emit agent()->sig_deleteMemberMultiMediaMeeting(Model::VideoMeeting, id, "bob", true);
        emit agent()->sig_deleteMemberMultiMediaMeeting(Model::VideoMeeting, id, "bob", true);
        QVERIFY(drain());
        const QString theirs = zssim::injectMeetingInvitation("bob", Model::VoiceMeeting);
        emit agent()->sig_deleteMemberMultiMediaMeeting(Model::VoiceMeeting, theirs, "bob", false);
        QVERIFY(drain());
        QTRY_COMPARE(removed.count(), 3);
        QCOMPARE(removed.arg<0>(0), 200);
        QCOMPARE(removed.arg<1>(0),
                 (Agent_MeetingDeleteMemberInfo{id, "bob", Model::VideoMeeting, true}));
        QCOMPARE(removed.arg<0>(1), 404);
        QCOMPARE(removed.arg<0>(2), 403);
        QCOMPARE(accounts(members(Model::VideoMeeting, id)), QStringList{"alice"});
        QCOMPARE(meetingOf(id).member("bob")->state, int(Model::Removed));
    }

    // The creator sets anyone's speak and listen option, a member only their own.
    void speakListen()
    {
        const QString id = create(Model::VoiceMeeting, "Panel");
        QVERIFY(zssim::injectMeetingMemberJoined(id, "bob"));
        MeetingInbox<int, Agent_MeetingMemberSpeakListenInfo> set(
            &Meeting_Agent::sig_onSetMeetingSpeakListen);
        emit agent()->sig_setMeetingSpeakListen(Model::VoiceMeeting, id, "bob", true,
                                                Model::ListenOnly);
        emit agent()->sig_setMeetingSpeakListen(Model::VoiceMeeting, id, "carol", true, 0);
        emit agent()->sig_setMeetingSpeakListen(Model::VoiceMeeting, id, "bob", true, 7);
        QVERIFY(drain());
        const QString theirs = zssim::injectMeetingInvitation("bob", Model::VoiceMeeting);
        QVERIFY(zssim::injectMeetingMemberJoined(theirs, "carol"));
        QVERIFY(zssim::injectMeetingMemberJoined(theirs, "alice"));
        emit agent()->sig_setMeetingSpeakListen(Model::VoiceMeeting, theirs, "carol", false, 3);
        emit agent()->sig_setMeetingSpeakListen(Model::VoiceMeeting, theirs, "alice", false,
                                                Model::Neither);
        QVERIFY(drain());
        QTRY_COMPARE(set.count(), 5);
        QCOMPARE(set.arg<0>(0), 200);
        QCOMPARE(set.arg<1>(0),
                 (Agent_MeetingMemberSpeakListenInfo{Model::VoiceMeeting, id, "bob",
                                                     Model::ListenOnly, true}));
        QCOMPARE(set.arg<0>(1), 404);
        QCOMPARE(set.arg<0>(2), 400);
        QCOMPARE(set.arg<0>(3), 403);
        QCOMPARE(set.arg<0>(4), 200);
        QCOMPARE(meetingOf(id).member("bob")->speakListen, int(Model::ListenOnly));
        QCOMPARE(meetingOf(theirs).member("alice")->speakListen, int(Model::Neither));
        QCOMPARE(meetingOf(theirs).member("carol")->speakListen, int(Model::SpeakAndListen));
    }

    // In an interphone, a member set to listen only may not take the microphone.
    void listenOnlyMayNotTalk()
    {
        emit agent()->sig_createInterphoneMeeting({"bob"});
        QVERIFY(drain());
        const QString id = "interphone-1";
        QTRY_VERIFY(meetingOf(id).isIn("bob"));
        MeetingInbox<int, QString, QString, bool> mic(&Meeting_Agent::sig_onControlInterphoneMic);
        emit agent()->sig_setMeetingSpeakListen(Model::InterphoneMeeting, id, "alice", true,
                                                Model::ListenOnly);
        emit agent()->sig_controlInterphoneMic(true, id);
        emit agent()->sig_setMeetingSpeakListen(Model::InterphoneMeeting, id, "alice", true,
                                                Model::SpeakOnly);
        emit agent()->sig_controlInterphoneMic(true, id);
        QVERIFY(drain());
        QTRY_COMPARE(mic.count(), 2);
        QCOMPARE(mic.arg<0>(0), 403);
        QCOMPARE(mic.arg<1>(0), QString());
        QCOMPARE(mic.arg<0>(1), 200);
        QCOMPARE(meetingOf(id).micHolder, QString("alice"));
    }

    // The user's video: only in a video meeting they are in.
    void publishVideo()
    {
        const QString video = create(Model::VideoMeeting, "Faces");
        const QString voice = create(Model::VoiceMeeting, "Voices");
        TextInbox published(&Meeting_Agent::sig_onPublishVideo);
        TextInbox unpublished(&Meeting_Agent::sig_onUnpublishVideo);
        emit agent()->sig_publishVideo(video);
        QVERIFY(drain());
        QVERIFY(meetingOf(video).member("alice")->publishingVideo);
        emit agent()->sig_publishVideo(voice);
        emit agent()->sig_publishVideo("meeting-99");
        emit agent()->sig_unpublishVideo(video);
        QVERIFY(drain());
        QTRY_COMPARE(unpublished.count(), 1);
        QCOMPARE(
            published.entries,
            (QList<std::tuple<int, QString>>{{200, video}, {400, voice}, {404, "meeting-99"}}));
        QCOMPARE(unpublished.entries, (QList<std::tuple<int, QString>>{{200, video}}));
        QVERIFY(!meetingOf(video).member("alice")->publishingVideo);
    }

    // A member's video in one of the user's windows: shown, moved to another window, removed.
    void memberVideoWindows()
    {
        const QString id = create(Model::VideoMeeting, "Faces", "pw");
        QVERIFY(zssim::injectMeetingMemberJoined(id, "bob"));
        MeetingInbox<int, QString, QString, int> shown(
            &Meeting_Agent::sig_onRequestConferenceMemberVideo);
        MeetingInbox<int, QString, QString, int> cancelled(
            &Meeting_Agent::sig_onCancelConferenceMemberVideo);
        void *const first = reinterpret_cast<void *>(quintptr(0x1000));
        void *const second = reinterpret_cast<void *>(quintptr(0x2000));
        emit agent()->sig_requestConferenceMemberVideo(id, "pw", "bob", first, 1);
        emit agent()->sig_requestConferenceMemberVideo(id, "wrong", "bob", first, 1);
        emit agent()->sig_requestConferenceMemberVideo(id, "pw", "carol", first, 1);
        QVERIFY(drain());
        QTRY_COMPARE(shown.count(), 3);
        QCOMPARE(shown.entries,
                 (QList<std::tuple<int, QString, QString, int>>{
                     {200, id, "bob", 1}, {403, id, "bob", 1}, {404, id, "carol", 1}}));
        QCOMPARE(meetingOf(id).videoWindows.size(), 1);
        QCOMPARE(meetingOf(id).videoWindows[0].window, quintptr(0x1000));

        // Moving has no answer: the engine's return code tells.
        TQLogCapture log;
        emit agent()->sig_resetVideoConfWindow(id, "bob", second, 1);
        emit agent()->sig_resetVideoConfWindow(id, "carol", second, 1);
        QVERIFY(drain());
        QCOMPARE(agentLines(log),
                 (QStringList{"Meeting_Agent::slot_resetVideoConfWindow,ret=0",
                              "Meeting_Agent::slot_resetVideoConfWindow,ret=1009"}));
        QCOMPARE(meetingOf(id).videoWindows[0].window, quintptr(0x2000));

        emit agent()->sig_cancelMemberVideo(id, "pw", "bob", 1);
        emit agent()->sig_cancelMemberVideo(id, "pw", "bob", 1);
        QVERIFY(drain());
        QTRY_COMPARE(cancelled.count(), 2);
        QCOMPARE(cancelled.arg<0>(0), 200);
        QCOMPARE(cancelled.arg<0>(1), 404);
        QVERIFY(meetingOf(id).videoWindows.isEmpty());

        // A member who stops publishing takes their window with them.
        emit agent()->sig_requestConferenceMemberVideo(id, "pw", "bob", first, 1);
        QVERIFY(drain());
        QVERIFY(zssim::injectMemberVideo(id, "bob", false));
        QVERIFY(meetingOf(id).videoWindows.isEmpty());
    }

    // Leaving and dismissing: a meeting that closes by itself goes with its last member; only
    // the creator dismisses.
    void exitAndDismiss()
    {
        const QString kept = create(Model::VoiceMeeting, "Kept");
        const QString closing = create(Model::VoiceMeeting, "Closing", QString(), true, 0, true);
        MeetingInbox<QString> exited(&Meeting_Agent::sig_onExitMeeting);
        TQLogCapture log;
        emit agent()->sig_exitMeeting(kept);
        emit agent()->sig_exitMeeting(kept);
        emit agent()->sig_exitMeeting(closing);
        QVERIFY(drain());
        QTRY_COMPARE(exited.count(), 2);
        QCOMPARE(exited.arg<0>(0), kept);
        QCOMPARE(exited.arg<0>(1), closing);
        QCOMPARE(agentLines(log),
                 (QStringList{"Meeting_Agent::slot_exitMeeting,ret=0",
                              "Meeting_Agent::slot_exitMeeting,ret=1009",
                              "Meeting_Agent::slot_exitMeeting,ret=0"}));
        QVERIFY(!meetingOf(kept).id.isEmpty());
        QVERIFY(meetingOf(closing).id.isEmpty());

        const QString theirs = zssim::injectMeetingInvitation("bob", Model::VoiceMeeting);
        TextInbox dismissed(&Meeting_Agent::sig_onDismissMultiMediaMeeting);
        emit agent()->sig_dismissMultiMediaMeeting(Model::VoiceMeeting, theirs);
        emit agent()->sig_dismissMultiMediaMeeting(Model::VoiceMeeting, kept);
        emit agent()->sig_dismissMultiMediaMeeting(Model::VoiceMeeting, kept);
        QVERIFY(drain());
        QTRY_COMPARE(dismissed.count(), 3);
        QCOMPARE(dismissed.entries,
                 (QList<std::tuple<int, QString>>{{403, theirs}, {200, kept}, {404, kept}}));
        int reason = 0;
        members(Model::VoiceMeeting, kept, &reason);
        QCOMPARE(reason, 404);
    }

    // bob's invitation: reported with his name and number; accepting it with the record's
    // fields joins, once.
    void invitationFromBob()
    {
        MeetingInbox<Agent_MeetingComingInfo> invitations(
            &Meeting_Agent::sig_onMeetingInviteIncoming);
        const QString id = zssim::injectMeetingInvitation("bob", Model::VideoMeeting,
                                                          "Design review", "{\"agenda\":1}");
        QVERIFY(drain());
        QTRY_COMPARE(invitations.count(), 1);
        const Agent_MeetingComingInfo info = invitations.arg<0>(0);
        QCOMPARE(info,
                 (Agent_MeetingComingInfo{Model::VideoMeeting, id, "invite-1", "bob", "Bob Li",
                                          "8002", "{\"agenda\":1}"}));
        QCOMPARE(accounts(members(Model::VideoMeeting, id)), (QStringList{"bob", "alice"}));

        TextInbox joined(&Meeting_Agent::sig_onJoinMeeting);
        emit agent()->sig_acceptMeeting(info.meetingType, info.conferenceId, "invite-9",
                                        info.caller, info.nickname, info.display, info.sdkUserData);
        emit agent()->sig_acceptMeeting(info.meetingType, info.conferenceId, info.callid,
                                        info.caller, info.nickname, info.display, info.sdkUserData);
        emit agent()->sig_acceptMeeting(info.meetingType, info.conferenceId, info.callid,
                                        info.caller, info.nickname, info.display, info.sdkUserData);
        QVERIFY(drain());
        QTRY_COMPARE(joined.count(), 3);
        QCOMPARE(joined.entries,
                 (QList<std::tuple<int, QString>>{{404, id}, {200, id}, {404, id}}));
        QVERIFY(meetingOf(id).isIn("alice"));
        QVERIFY(meetings().invitations.isEmpty());
    }

    // What a test injects: members coming and going, video, the end.
    void injectedEvents()
    {
        const QString id = create(Model::VoiceMeeting, "Events");
        MeetingInbox<Agent_VoiceMeetingMsg> messages(
            &Meeting_Agent::sig_onReceiveVoiceMeetingMessage);
        QVERIFY(zssim::injectMeetingMemberJoined(id, "carol"));
        QVERIFY(zssim::injectMeetingMemberLeft(id, "carol"));
        QVERIFY(!zssim::injectMeetingMemberLeft(id, "carol"));
        QVERIFY(!zssim::injectMemberVideo(id, "alice", true)); // a voice meeting
        QVERIFY(!zssim::injectMeetingMemberJoined("meeting-99", "bob"));
        QVERIFY(zssim::injectMeetingEnded(id));
        QVERIFY(!zssim::injectMeetingEnded(id));
        QVERIFY(drain());
        QTRY_COMPARE(messages.count(), 3);
        QCOMPARE(messages.arg<0>(0).number1, int(Model::MemberJoined));
        QCOMPARE(messages.arg<0>(0).text6, QString("alice,carol"));
        QCOMPARE(messages.arg<0>(1).number1, int(Model::MemberLeft));
        QCOMPARE(messages.arg<0>(1).text3, QString("Carol Zhang"));
        QVERIFY(!messages.arg<0>(1).flag1);
        QCOMPARE(messages.arg<0>(2).number1, int(Model::MeetingEnded));
        QCOMPARE(messages.arg<0>(2).text2, QString("alice"));
        QCOMPARE(messages.arg<0>(2).number2, 0);
        QVERIFY(meetingOf(id).id.isEmpty());
    }

    // Another user of the simulated server sees their own view.
    void anotherUser()
    {
        setUser("carol");
        const QString id = create(Model::VoiceMeeting, "Carol's");
        QCOMPARE(meetingOf(id).creator, QString("carol"));
        QCOMPARE(accounts(members(Model::VoiceMeeting, id)), QStringList{"carol"});
    }
};

QObject *newTestMeetingServer()
{
    return new TestMeetingServer;
}

#include "tst_meeting_server.moc"
