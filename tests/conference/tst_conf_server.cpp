// The stand-in engine's conference server, as a window sees it through the agent: the clock's
// reminders, starts and ends, lists with pages, topics, invitations from others, what other
// members do, and the requests the server turns down.

#include "ConfTestSupport.h"

namespace {

using Model = ConferenceModel;

template<class Inbox> bool arrived(const Inbox &inbox, int count)
{
    return QTest::qWaitFor([&] { return inbox.count() >= count; });
}

QList<int> events(const NoticeInbox &notices)
{
    QList<int> list;
    for (const auto &entry : notices.entries)
        list << std::get<0>(entry).number1;
    return list;
}

// Creates a conference through the agent; returns its id.
QString create(Agent_RequestCreateConf request)
{
    ConfInbox<Agent_RequestCreateConf, int, QString, QString> created(
        &Conference_Agent::sig_onCreateConference);
    emit Conference_Agent::instance()->sig_createConference(request);
    return arrived(created, 1) ? created.arg<2>(0) : QString();
}

Agent_RequestCreateConf instant(const QString &name)
{
    Agent_RequestCreateConf r;
    r.confName = name;
    r.confType = Model::Instant;
    return r;
}

} // namespace

class TestConfServer : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(startEngine()); }

    // A scheduled conference: its appointment, the reminder before it starts, the start, the
    // reminder before it ends and the end, each when the clock gets there.
    void scheduledConferenceMoments()
    {
        ConfInbox<Agent_ConfAppointmentNtyMsg, QString> appointments(
            &Conference_Agent::sig_onReceivedConferenceAppointmentNotification);
        ConfInbox<Agent_ConfBeforeStartNtyMsg, QString> beforeStart(
            &Conference_Agent::sig_onReceivedConferenceBeforeStartNotification);
        ConfInbox<Agent_ConfBeforeEndNtyMsg, QString> beforeEnd(
            &Conference_Agent::sig_onReceivedConferenceBeforeEndNotification);
        ConfInbox<Agent_ConfEndNtyMsg, QString> ends(
            &Conference_Agent::sig_onReceivedConferenceEndNotification);
        NoticeInbox notices(&Conference_Agent::sig_onReceivedConferenceNotification);

        Agent_RequestCreateConf r;
        r.confName = "Planning";
        r.confType = Model::Scheduled;
        r.startTime = "2024-05-06 09:30:00";
        r.duration = 60;
        r.remindBeforeStart = 10;
        r.remindBeforeEnd = 5;
        r.sendInvitation = 1;
        r.members = {Agent_ConfNewMember{"bob", 0, 0, "", ""},
                     Agent_ConfNewMember{"carol", 0, 0, "", ""}};
        const QString id = create(r);
        QVERIFY(arrived(appointments, 1));
        QCOMPARE(appointments.arg<0>(0).number1, int(Model::Made));
        QCOMPARE(appointments.arg<0>(0).text1, id);
        QCOMPARE(appointments.arg<0>(0).text4, QString("2024-05-06 09:30:00"));
        QCOMPARE(appointments.arg<0>(0).text5, QString("2024-05-06 10:30:00"));
        QCOMPARE(appointments.arg<0>(0).text6, QString("Alice Wang"));

        QCOMPARE(zssim::advanceConferenceClock(19 * 60), 0); // 09:19
        QCOMPARE(zssim::advanceConferenceClock(60), 1); // 09:20: ten minutes to go
        QVERIFY(arrived(beforeStart, 1));
        QCOMPARE(beforeStart.arg<0>(0).number1, 10);
        QCOMPARE(beforeStart.arg<0>(0).text1, id);
        QCOMPARE(beforeStart.arg<0>(0).text2, QString("Planning"));

        QCOMPARE(zssim::advanceConferenceClock(10 * 60), 1); // 09:30: it starts
        QVERIFY(arrived(notices, 3));
        QCOMPARE(
            events(notices),
            (QList<int>{Model::ConferenceStarted, Model::MemberJoined, Model::InvitationDeclined}));

        QCOMPARE(zssim::advanceConferenceClock(55 * 60), 1); // 10:25
        QVERIFY(arrived(beforeEnd, 1));
        QCOMPARE(beforeEnd.arg<0>(0).number1, 5);
        QCOMPARE(beforeEnd.arg<0>(0).number2, 60);
        QCOMPARE(zssim::advanceConferenceClock(5 * 60), 1); // 10:30: time is up
        QVERIFY(arrived(ends, 1));
        QCOMPARE(ends.arg<0>(0).number1, int(Model::TimeUp));
        QCOMPARE(ends.arg<0>(0).text1, id);
        QTRY_COMPARE(events(notices).last(), int(Model::ConferenceEnded));
        QCOMPARE(zssim::advanceConferenceClock(3600), 0);
        QCOMPARE(beforeStart.count() + beforeEnd.count() + ends.count(), 3);
    }

    // A clock jumping past the reminder brings the start without a late reminder.
    void clockJumpingPastAReminder()
    {
        ConfInbox<Agent_ConfBeforeStartNtyMsg, QString> beforeStart(
            &Conference_Agent::sig_onReceivedConferenceBeforeStartNotification);
        Agent_RequestCreateConf r = instant("Later");
        r.confType = Model::Scheduled;
        r.startTime = "2024-05-06 10:00:00";
        r.remindBeforeStart = 15;
        create(r);
        QCOMPARE(zssim::advanceConferenceClock(2 * 3600), 1);
        QVERIFY(settle());
        QCOMPARE(beforeStart.count(), 0);
    }

    void listsComeInPages()
    {
        for (int i = 1; i <= 5; ++i)
            QCOMPARE(create(instant(QString("Room %1").arg(i))), QString("conf-%1").arg(i));
        ConfInbox<Agent_RequestGetConfInfoList, int, QList<Agent_ConfInfo>, QString> lists(
            &Conference_Agent::sig_onGetConferenceInfoList);
        Agent_RequestGetConfInfoList page;
        page.pageSize = 2;
        for (int no = 1; no <= 3; ++no) {
            page.pageNo = no;
            emit Conference_Agent::instance()->sig_getConferenceInfoList(page);
        }
        QVERIFY(arrived(lists, 3));
        QCOMPARE(lists.arg<2>(0).size(), 2);
        QCOMPARE(lists.arg<2>(1)[1].confId, QString("conf-4"));
        QCOMPARE(lists.arg<2>(2).size(), 1);
        QCOMPARE(lists.arg<2>(2)[0].text2, QString("Room 5"));
        QCOMPARE(lists.arg<0>(2).pageNo, 3);
        QCOMPARE(lists.arg<3>(0), QString(R"({"pageNo":1,"pageSize":2,"total":5})"));

        // Another person's list does not hold them; one conference by its id does.
        Agent_RequestGetConfInfoList byId;
        byId.memberId = "conf-3";
        byId.searchById = 1;
        emit Conference_Agent::instance()->sig_getConferenceInfoList(byId);
        Agent_RequestGetConfInfoList bobs;
        bobs.memberId = "bob";
        emit Conference_Agent::instance()->sig_getConferenceInfoList(bobs);
        QVERIFY(arrived(lists, 5));
        QCOMPARE(lists.arg<2>(3).size(), 1);
        QCOMPARE(lists.arg<2>(3)[0].confId, QString("conf-3"));
        QVERIFY(lists.arg<2>(4).isEmpty());
    }

    // The server keeps every topic; a query shows the latest.
    void topicsFollowTheUpdates()
    {
        Agent_RequestCreateConf r = instant("Topics");
        r.confTopic = "first";
        const QString id = create(r);
        ConfInbox<Agent_RequestUpdateConf, int, QString> updated(
            &Conference_Agent::sig_onUpdateConference);
        Agent_RequestUpdateConf u;
        u.confId = id;
        u.confName = "Topics";
        u.confTopic = "second";
        emit Conference_Agent::instance()->sig_updateConference(u);
        QVERIFY(arrived(updated, 1));
        QCOMPARE(updated.arg<1>(0), 200);
        ConfInbox<Agent_RequestGetConfInfo, int, Agent_ConfInfo, QString> info(
            &Conference_Agent::sig_onGetConferenceInfo);
        emit Conference_Agent::instance()->sig_getConferenceInfo({id, ""});
        QVERIFY(arrived(info, 1));
        QCOMPARE(info.arg<2>(0).confTopic, QString("second"));
    }

    // bob calls the user into a conference: an invitation to join or to decline.
    void invitationsFromOthers()
    {
        ConfInbox<Agent_ConfInviteNtyMsg, QString> invitations(
            &Conference_Agent::sig_onReceivedConferenceInviteNotification);
        const QString declined = zssim::injectConferenceInvitation("bob", "Quick call");
        const QString accepted = zssim::injectConferenceInvitation("carol", "Review", Model::Video);
        QVERIFY(arrived(invitations, 2));
        const Agent_ConfInviteNtyMsg first = invitations.arg<0>(0);
        QCOMPARE(first.text1, declined);
        QCOMPARE(first.text2, QString("bob"));
        QCOMPARE(first.text5, QString("Quick call"));
        QCOMPARE(first.text6, QString("Bob Li"));
        QCOMPARE(first.text7, QString("inv-1"));
        QCOMPARE(invitations.arg<0>(1).number2, int(Model::Video));

        ConfInbox<Agent_RequestConfMemberRejectInvitation, QString, int, QString> rejected(
            &Conference_Agent::sig_onConferenceMemberRejectInvitation);
        emit Conference_Agent::instance()->sig_conferenceMemberRejectInvitation(
            {declined, first.text7, "busy", ""});
        emit Conference_Agent::instance()->sig_conferenceMemberRejectInvitation(
            {declined, first.text7, "busy", ""});
        QVERIFY(arrived(rejected, 2));
        QCOMPARE(rejected.arg<2>(0), 200);
        QCOMPARE(rejected.arg<2>(1), 404); // only once

        ConfInbox<Agent_RequestMemberJoinConf, int, Agent_ConfInfo, QString> joined(
            &Conference_Agent::sig_onMemberJoinConference);
        NoticeInbox notices(&Conference_Agent::sig_onReceivedConferenceNotification);
        Agent_RequestMemberJoinConf join;
        join.confId = accepted;
        emit Conference_Agent::instance()->sig_memberJoinConference(join);
        QVERIFY(arrived(joined, 1));
        QCOMPARE(joined.arg<1>(0), 200);
        QCOMPARE(joined.arg<2>(0).creator, QString("carol"));
        QCOMPARE(joined.arg<2>(0).number16, int(Model::Attendee));
        QVERIFY(arrived(notices, 1)); // the user's own joining

        // What the others do reaches the user now that they are in it.
        QVERIFY(zssim::injectMemberEvent(accepted, "bob", zssim::MemberEvent::Join));
        QVERIFY(zssim::injectMemberEvent(accepted, "bob", zssim::MemberEvent::StartScreen));
        QVERIFY(zssim::injectConferenceCommand(accepted, "carol", "raise hands"));
        QVERIFY(zssim::injectMediaControl(accepted, "carol", {"alice"}, Model::MuteMicrophone));
        QVERIFY(zssim::injectKickout(accepted, "carol", {"alice"}));
        QVERIFY(!zssim::injectMemberEvent("conf-99", "bob", zssim::MemberEvent::Join));
        QVERIFY(arrived(notices, 6));
        QCOMPARE(
            events(notices),
            (QList<int>{Model::MemberJoined, Model::MemberJoined, Model::MediaPublished,
                        Model::CommandReceived, Model::MediaControlled, Model::MembersRemoved}));
        QCOMPARE(notices.arg<0>(2).number5, 3); // the screen
        QCOMPARE(notices.arg<0>(2).number2, 1);
        QCOMPARE(notices.arg<0>(3).text6, QString("raise hands"));
        QCOMPARE(notices.arg<0>(3).text3, QString("carol"));
        QCOMPARE(notices.arg<0>(4).members.value(0).text1, QString("alice"));
        QCOMPARE(notices.arg<0>(5).kickMembers.value(0).text1, QString("alice"));

        // Out of it, the user hears nothing more.
        QVERIFY(zssim::injectMemberEvent(accepted, "bob", zssim::MemberEvent::Quit));
        QVERIFY(settle());
        QCOMPARE(notices.count(), 6);
    }

    // Someone else's scheduled conference: its appointment, and the moments on demand.
    void appointmentsFromOthers()
    {
        ConfInbox<Agent_ConfAppointmentNtyMsg, QString> appointments(
            &Conference_Agent::sig_onReceivedConferenceAppointmentNotification);
        ConfInbox<Agent_ConfBeforeStartNtyMsg, QString> beforeStart(
            &Conference_Agent::sig_onReceivedConferenceBeforeStartNotification);
        ConfInbox<Agent_ConfInviteNtyMsg, QString> invitations(
            &Conference_Agent::sig_onReceivedConferenceInviteNotification);
        ConfInbox<Agent_ConfBeforeEndNtyMsg, QString> beforeEnd(
            &Conference_Agent::sig_onReceivedConferenceBeforeEndNotification);
        ConfInbox<Agent_ConfEndNtyMsg, QString> ends(
            &Conference_Agent::sig_onReceivedConferenceEndNotification);
        const QString id = zssim::injectConferenceAppointment(
            "carol", "Design sync", QDateTime(QDate(2024, 5, 6), QTime(11, 0)), 30, 15, 5);
        QVERIFY(arrived(appointments, 1));
        QCOMPARE(appointments.arg<0>(0).text3, QString("carol"));
        QCOMPARE(appointments.arg<0>(0).number2, 30);
        QVERIFY(zssim::remindBeforeStart(id));
        QVERIFY(arrived(beforeStart, 1));
        QCOMPARE(beforeStart.arg<0>(0).number1, 120); // two hours to go
        QVERIFY(zssim::startConferenceNow(id));
        QVERIFY(!zssim::startConferenceNow(id));
        QVERIFY(arrived(invitations, 1));
        QCOMPARE(invitations.arg<0>(0).text1, id);
        QVERIFY(zssim::remindBeforeEnd(id));
        QVERIFY(arrived(beforeEnd, 1));
        QCOMPARE(beforeEnd.arg<0>(0).number1, 30);
        QVERIFY(zssim::endConferenceNow(id));
        QVERIFY(arrived(ends, 1));
        QVERIFY(!zssim::endConferenceNow(id));
    }

    // What the server turns down, and why.
    void refusals()
    {
        Agent_RequestCreateConf r = instant("Locked");
        r.password = "secret";
        const QString id = create(r);
        zssim::Control::withServer([](zssim::ServerModel &s) { s.currentUser = "bob"; });

        ConfInbox<Agent_RequestMemberJoinConf, int, Agent_ConfInfo, QString> joined(
            &Conference_Agent::sig_onMemberJoinConference);
        Agent_RequestMemberJoinConf join;
        join.confId = id;
        join.password = "wrong";
        emit Conference_Agent::instance()->sig_memberJoinConference(join);
        join.confId = "conf-404";
        emit Conference_Agent::instance()->sig_memberJoinConference(join);
        QVERIFY(arrived(joined, 2));
        QCOMPARE(joined.arg<1>(0), int(ZS_REASON_UNAUTHORIZED));
        QCOMPARE(joined.arg<2>(0), Agent_ConfInfo());
        QCOMPARE(joined.arg<1>(1), int(ZS_REASON_NOT_FOUND));

        // Only a host locks, removes or deletes.
        ConfInbox<Agent_RequestLockConf, QString, int, QString> locked(
            &Conference_Agent::sig_onLockConference);
        ConfInbox<Agent_RequestDeleteConf, int, QString> deleted(
            &Conference_Agent::sig_onDeleteConference);
        emit Conference_Agent::instance()->sig_lockConference({id, true, ""});
        emit Conference_Agent::instance()->sig_deleteConference({id, "", ""});
        QVERIFY(arrived(locked, 1));
        QVERIFY(arrived(deleted, 1));
        QCOMPARE(locked.arg<2>(0), int(ZS_REASON_FORBIDDEN));
        QCOMPARE(deleted.arg<1>(0), int(ZS_REASON_FORBIDDEN));

        // Not in it: no publishing.
        ConfInbox<Agent_RequestConfStartPublishVoice, int, QString> voice(
            &Conference_Agent::sig_onConferenceStartPublishVoice);
        emit Conference_Agent::instance()->sig_conferenceStartPublishVoice({id, 0, ""});
        QVERIFY(arrived(voice, 1));
        QCOMPARE(voice.arg<1>(0), int(ZS_REASON_FORBIDDEN));

        // An engine not started refuses at once, and gives no key.
        ZSSDK_UnInitialize();
        TQLogCapture log;
        emit Conference_Agent::instance()->sig_getConferenceInfo({id, ""});
        QVERIFY(log.texts(TQLog::Info)
                    .contains(QString("nRet = %1, matchKey = 0").arg(ZS_ERR_NOT_INITIALIZED)));
    }

    // The chair handed over is gone: the former host controls nothing, and a member removed by
    // a host does not come back by joining again.
    void chairHandedOverAndRemovedMemberKeptOut()
    {
        zssim::Control::withServer([](zssim::ServerModel &s) {
            s.conferences.answers = {{"bob", Model::Accept}, {"carol", Model::Accept}};
        });
        Agent_RequestCreateConf r = instant("Handover");
        r.members = {{"bob", 0, Model::Attendee, "", ""}, {"carol", 0, Model::Attendee, "", ""}};
        const QString id = create(r);
        QVERIFY(!id.isEmpty());
        ConfInbox<Agent_RequestSetConfMemberRole, QString, int, QString> roles(
            &Conference_Agent::sig_onSetConferenceMemberRole);
        emit Conference_Agent::instance()->sig_setConferenceMemberRole(
            {id, "bob", 0, Model::Host, "", ""});
        emit Conference_Agent::instance()->sig_setConferenceMemberRole(
            {id, "alice", 0, Model::Attendee, "", ""});
        emit Conference_Agent::instance()->sig_setConferenceMemberRole(
            {id, "carol", 0, Model::Host, "", ""});
        QVERIFY(arrived(roles, 3));
        QCOMPARE(roles.arg<2>(1), 200);
        QCOMPARE(roles.arg<2>(2), int(ZS_REASON_FORBIDDEN));

        // bob, the host now, removes carol; she cannot join again on her own.
        QVERIFY(zssim::injectKickout(id, "bob", {"carol"}));
        zssim::Control::withServer([](zssim::ServerModel &s) { s.currentUser = "carol"; });
        ConfInbox<Agent_RequestMemberJoinConf, int, Agent_ConfInfo, QString> joined(
            &Conference_Agent::sig_onMemberJoinConference);
        Agent_RequestMemberJoinConf join;
        join.confId = id;
        emit Conference_Agent::instance()->sig_memberJoinConference(join);
        QVERIFY(arrived(joined, 1));
        QCOMPARE(joined.arg<1>(0), int(ZS_REASON_FORBIDDEN));
    }

    void applicationSetting()
    {
        zssim::Control::withServer([](zssim::ServerModel &s) { s.conferences.appSetting = 5; });
        ConfInbox<int, Agent_ConfAppSetting> setting(
            &Conference_Agent::sig_onConferenceGetAppSetting);
        emit Conference_Agent::instance()->sig_conferenceAppSetting();
        QVERIFY(arrived(setting, 1));
        QCOMPARE(setting.arg<0>(0), 200);
        QCOMPARE(setting.arg<1>(0).value, 5);
    }

    // The last member leaving closes a conference made to close by itself.
    void autoClose()
    {
        Agent_RequestCreateConf r = instant("Short");
        r.autoClose = 1;
        const QString id = create(r);
        ConfInbox<Agent_RequestMemberJoinConf, int, Agent_ConfInfo, QString> joined(
            &Conference_Agent::sig_onMemberJoinConference);
        ConfInbox<Agent_ConfEndNtyMsg, QString> ends(
            &Conference_Agent::sig_onReceivedConferenceEndNotification);
        Agent_RequestMemberJoinConf join;
        join.confId = id;
        emit Conference_Agent::instance()->sig_memberJoinConference(join);
        QVERIFY(arrived(joined, 1));
        emit Conference_Agent::instance()->sig_memberQuitConference({id, "", ""});
        QVERIFY(arrived(ends, 1));
        QCOMPARE(ends.arg<0>(0).number1, int(Model::EverybodyLeft));
    }
};

QObject *newTestConfServer()
{
    return new TestConfServer;
}

#include "tst_conf_server.moc"
