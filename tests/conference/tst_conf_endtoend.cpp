// One conference from start to end against the stand-in engine, through the agent's public
// signals only, as a window drives it: create, invite, join, publish, watch a member's video,
// control a member's media, record, end.

#include "ConfTestSupport.h"

#include <Voip_Agent.h>
#include <Voip_CallBackProxy.h>

namespace {

template<class Inbox> bool arrived(const Inbox &inbox, int count)
{
    return QTest::qWaitFor([&] { return inbox.count() >= count; });
}

// The events of the general notifications received so far.
QList<int> events(const NoticeInbox &notices)
{
    QList<int> list;
    for (const auto &entry : notices.entries)
        list << std::get<0>(entry).number1;
    return list;
}

const Agent_ConferenceMemberInfo *memberNamed(const QList<Agent_ConferenceMemberInfo> &members,
                                              const QString &id)
{
    for (const Agent_ConferenceMemberInfo &m : members)
        if (m.memberId == id)
            return &m;
    return nullptr;
}

} // namespace

class TestConfEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(startEngine());
        Voip_Agent::instance();
        Voip_CallBackProxy::instance()->registerCallbacks(); // member pictures report their size
    }

    void aConferenceFromStartToEnd()
    {
        using Model = ConferenceModel;
        Conference_Agent *agent = Conference_Agent::instance();
        const int waiting = PendingRequestStore::instance()->size();
        NoticeInbox notices(&Conference_Agent::sig_onReceivedConferenceNotification);

        // Create: an instant video conference with a password and a topic.
        ConfInbox<Agent_RequestCreateConf, int, QString, QString> created(
            &Conference_Agent::sig_onCreateConference);
        Agent_RequestCreateConf create;
        create.password = "pw";
        create.confName = "Design review";
        create.confType = Model::Instant;
        create.mediaType = Model::Video;
        create.confTopic = "Q3 roadmap";
        create.jsonString = "{\"client\":1}";
        emit agent->sig_createConference(create);
        QVERIFY(arrived(created, 1));
        QCOMPARE(created.arg<0>(0), create);
        QCOMPARE(created.arg<1>(0), 200);
        const QString confId = created.arg<2>(0);
        QCOMPARE(confId, QString("conf-1"));

        // Invite: bob accepts, carol declines, nobody knows dave.
        ConfInbox<Agent_RequestConfInviteMember, int, QString,
                  QList<Agent_FaildConferenceMemberInfo>, QString>
            invited(&Conference_Agent::sig_onConferenceInviteMember);
        Agent_RequestConfInviteMember invite;
        invite.confId = confId;
        invite.callImmediately = 1;
        for (const char *who : {"bob", "carol", "dave"})
            invite.inviteMembers << Agent_ConfInviteMember{who, 0, 0, "", "", 0};
        emit agent->sig_conferenceInviteMember(invite);
        QVERIFY(arrived(invited, 1));
        QCOMPARE(invited.arg<0>(0), invite);
        QCOMPARE(invited.arg<1>(0), 200);
        QCOMPARE(invited.arg<3>(0).size(), 1);
        QCOMPARE(invited.arg<3>(0)[0].text1, QString("dave"));
        QCOMPARE(invited.arg<3>(0)[0].number1, 404);
        QVERIFY(arrived(notices, 4));
        QCOMPARE(events(notices),
                 (QList<int>{Model::ConferenceStarted, Model::MembersInvited, Model::MemberJoined,
                             Model::InvitationDeclined}));
        QCOMPARE(notices.arg<0>(1).members.size(), 2);
        QCOMPARE(notices.arg<0>(2).text9, QString("bob"));
        QCOMPARE(notices.arg<0>(2).text10, QString("Bob Li"));
        QCOMPARE(notices.arg<0>(3).text9, QString("carol"));
        QCOMPARE(notices.arg<0>(3).number6, int(ZS_REASON_DECLINED));
        QCOMPARE(notices.arg<0>(3).confTopic, QString("Q3 roadmap"));

        // Join, with the password; the answer carries the joining member's fields.
        ConfInbox<Agent_RequestMemberJoinConf, int, Agent_ConfInfo, QString> joined(
            &Conference_Agent::sig_onMemberJoinConference);
        ConfInbox<int, QString> sounds(&Conference_Agent::sig_onConferenceAudioPlay);
        Agent_RequestMemberJoinConf join;
        join.confId = confId;
        join.password = "pw";
        join.mediaType = Model::Video;
        emit agent->sig_memberJoinConference(join);
        QVERIFY(arrived(joined, 1));
        QCOMPARE(joined.arg<1>(0), 200);
        const Agent_ConfInfo info = joined.arg<2>(0);
        QCOMPARE(info.confId, confId);
        QCOMPARE(info.text2, QString("Design review"));
        QCOMPARE(info.creator, QString("alice"));
        QCOMPARE(info.number2, int(Model::InProgress));
        QCOMPARE(info.text8, QString("alice"));
        QCOMPARE(info.number16, int(Model::Host));
        QCOMPARE(info.text9, QString("Alice Wang"));
        QCOMPARE(info.number15, 2); // bob and alice are in it
        QVERIFY(arrived(sounds, 1));

        // Publish video.
        ConfInbox<Agent_RequestConfStartPublishVideo, int, QString> published(
            &Conference_Agent::sig_onConferenceStartPublishVideo);
        emit agent->sig_conferenceStartPublishVideo({confId, ""});
        QVERIFY(arrived(published, 1));
        QCOMPARE(published.arg<0>(0).confId, confId);
        QCOMPARE(published.arg<1>(0), 200);

        // Watch bob's camera in a window; its size comes through the call agent.
        ConfInbox<int, QString, QString, int, QString> watching(
            &Conference_Agent::sig_onConferenceRequestMemberVideo);
        QSignalSpy ratio(Voip_Agent::instance(), &Voip_Agent::sig_onConfRemoteVideoRatio);
        emit agent->sig_conferenceRequestMemberVideo(
            {confId, "pw", "bob", quintptr(0x1234), Model::Camera, 320, 240, "", 0});
        QVERIFY(arrived(watching, 1));
        QCOMPARE(watching.arg<0>(0), 200);
        QCOMPARE(watching.arg<2>(0), QString("bob"));
        QTRY_COMPARE(ratio.size(), 1);
        QCOMPARE(ratio[0][1].toInt(), 640);
        QCOMPARE(ratio[0][4].toString(), QString("bob"));

        // Mute bob for good.
        ConfInbox<Agent_RequestConfMediaControl, int, QString> controlled(
            &Conference_Agent::sig_onConferenceMediaControl);
        Agent_ConfTargetMember bob;
        bob.memberId = "bob";
        bob.deviceType = 1;
        emit agent->sig_conferenceMediaControl(
            {confId, 1, 0, {bob}, Model::MuteMicrophone, "", ""});
        QVERIFY(arrived(controlled, 1));
        QCOMPARE(controlled.arg<1>(0), 200);
        QTRY_VERIFY(events(notices).contains(Model::MediaControlled));
        const Agent_ConfNtyMsg muted = notices.last<0>();
        QCOMPARE(muted.number1, int(Model::MediaControlled));
        QCOMPARE(muted.number2, int(Model::MuteMicrophone));
        QCOMPARE(muted.members.value(0).text1, QString("bob"));

        using Members = QList<Agent_ConferenceMemberInfo>;
        ConfInbox<Agent_RequestGetConfMemberInfoList, int, QString, Members, QString> members(
            &Conference_Agent::sig_onGetConferenceMemberInfoList);
        emit agent->sig_getConferenceMemberInfoList({confId, 1, 10, ""});
        QVERIFY(arrived(members, 1));
        const Agent_ConferenceMemberInfo *bobInfo = memberNamed(members.arg<3>(0), "bob");
        QVERIFY(bobInfo);
        QVERIFY(bobInfo->flag0); // in the conference
        QVERIFY(bobInfo->flag1); // muted by the host
        QVERIFY(bobInfo->flag3); // publishing video
        QVERIFY(!bobInfo->flag4); // no voice
        QVERIFY(bobInfo->flag11); // for good
        QCOMPARE(bobInfo->text2, QString("Bob Li"));
        QVERIFY(memberNamed(members.arg<3>(0), "carol")->flag7); // declined

        // Record 90 seconds.
        ConfInbox<Agent_RequestConfRecord, int, QString> recording(
            &Conference_Agent::sig_onConferenceRecord);
        emit agent->sig_conferenceRecord({confId, {}, Model::StartRecording, ""});
        QVERIFY(arrived(recording, 1));
        zssim::advanceConferenceClock(90);
        emit agent->sig_conferenceRecord({confId, {}, Model::StopRecording, ""});
        QVERIFY(arrived(recording, 2));
        QCOMPARE(recording.arg<1>(1), 200);
        ConfInbox<Agent_RequestConfRecordList, int, QList<Agent_ConfRecordFile>> files(
            &Conference_Agent::sig_onGetConferenceRecordList);
        emit agent->sig_getConfRecordList({confId, 0, 1, 10});
        QVERIFY(arrived(files, 1));
        QCOMPARE(files.arg<2>(0).size(), 1);
        QCOMPARE(files.arg<2>(0)[0].number1, 90);
        QVERIFY(files.arg<2>(0)[0].text2.endsWith(".mp4"));

        // Stop watching bob.
        ConfInbox<int, QString, QString, int, QString> stopped(
            &Conference_Agent::sig_onConferenceCancelMemberVideo);
        emit agent->sig_conferenceCancelMemberVideo({confId, "pw", "bob", Model::Camera, "", 0});
        QVERIFY(arrived(stopped, 1));
        QCOMPARE(stopped.arg<0>(0), 200);

        // End it: everyone hears, and it moves to the history.
        ConfInbox<Agent_RequestDeleteConf, int, QString> deleted(
            &Conference_Agent::sig_onDeleteConference);
        ConfInbox<Agent_ConfEndNtyMsg, QString> ended(
            &Conference_Agent::sig_onReceivedConferenceEndNotification);
        emit agent->sig_deleteConference({confId, "", ""});
        QVERIFY(arrived(deleted, 1));
        QCOMPARE(deleted.arg<0>(0).confId, confId);
        QCOMPARE(deleted.arg<1>(0), 200);
        QVERIFY(arrived(ended, 1));
        QCOMPARE(ended.arg<0>(0).text1, confId);
        QCOMPARE(ended.arg<0>(0).number1, int(Model::EndedByHost));
        QTRY_COMPARE(events(notices).last(), int(Model::ConferenceEnded));

        ConfInbox<Agent_RequestGetHistoryConfInfoList, int, QList<Agent_ConfInfo>, QString> history(
            &Conference_Agent::sig_onGetHistoryConferenceInfoList);
        ConfInbox<Agent_RequestGetConfInfoList, int, QList<Agent_ConfInfo>, QString> current(
            &Conference_Agent::sig_onGetConferenceInfoList);
        emit agent->sig_getHistoryConferenceInfoList({});
        emit agent->sig_getConferenceInfoList({});
        QVERIFY(arrived(history, 1));
        QVERIFY(arrived(current, 1));
        QCOMPARE(history.arg<2>(0).size(), 1);
        QCOMPARE(history.arg<2>(0)[0].confId, confId);
        QCOMPARE(history.arg<2>(0)[0].number2, int(Model::Ended));
        QVERIFY(current.arg<2>(0).isEmpty());

        // Every answer found its request: nothing is left waiting.
        QCOMPARE(PendingRequestStore::instance()->size(), waiting);
    }
};

QObject *newTestConfEndToEnd()
{
    return new TestConfEndToEnd;
}

#include "tst_conf_endtoend.moc"
