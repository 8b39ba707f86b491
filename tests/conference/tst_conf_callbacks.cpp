// Conference_CallBack: engine answers and events, fired on the engine's thread with records
// built by hand, turned into result signals on the main thread, each answer with the request
// it belongs to; faulty records (null, no NUL, odd counts) read safely.

#include "ConfTestSupport.h"

#include <vector>

namespace {

// Fresh keys for every test: the store remembers answered keys and drops late requests.
unsigned int kKey = 900000;

const char *none = nullptr;

QStringList callbackLines(const TQLogCapture &log)
{
    return linesStartingWith(log, QStringLiteral("Conference_CallBack::"));
}

ZS_ConfMemberInfo memberRecord(const char *id, const char *name, int flags, int deviceType)
{
    ZS_ConfMemberInfo m{};
    put(m.memberId, id);
    put(m.text2, name);
    m.number1 = 1;
    m.number2 = 2;
    m.number3 = flags;
    m.number4 = 1;
    put(m.text3, "2024-05-06 09:00:00");
    put(m.text7, "8002");
    put(m.text8, "UA/1");
    put(m.text9, "alice");
    put(m.text10, "10");
    put(m.text11, "11");
    m.deviceType = deviceType;
    m.number5 = 2;
    return m;
}

ZS_ConfInfo infoRecord(const char *id, const char *creator, const char *topic)
{
    ZS_ConfInfo c{};
    put(c.confId, id);
    put(c.text2, "Weekly");
    put(c.creator, creator);
    c.memberCount = 2;
    put(c.startTime, "2024-05-06 09:00:00");
    put(c.createTime, "2024-05-05 12:00:00");
    put(c.updateTime, "2024-05-05 12:30:00");
    put(c.reserveStartTime, "2024-05-06 09:00:00");
    put(c.confTopic, topic);
    put(c.text8, "alice");
    c.number16 = 1;
    put(c.text9, "Alice Wang");
    c.number17 = 2;
    put(c.text10, "2024-05-06 09:01:00");
    return c;
}

template<class Request> void store(unsigned int key, const Request &request)
{
    PendingRequestStore::instance()->insert(key, QVariant::fromValue(request));
}

} // namespace

class TestConfCallbacks : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(startEngine());
        kKey += 100;
    }

    // The common answer: the log line, the stored request taken back, the signal on the
    // receiver's thread; a second answer for the key finds nothing.
    void createAnswerCarriesItsRequest()
    {
        Agent_RequestCreateConf request;
        request.confName = "Weekly";
        request.members = {Agent_ConfNewMember{"bob", 0, 0, "", ""}};
        store(kKey, request);
        ConfInbox<Agent_RequestCreateConf, int, QString, QString> answers(
            &Conference_Agent::sig_onCreateConference);
        TQLogCapture log;
        zssim::Control::fire(&ZS_ConfCallBack::onCreateConference, kKey, 200, "conf-1",
                             "{\"x\":\"%2\"}");
        zssim::Control::fire(&ZS_ConfCallBack::onCreateConference, kKey, 200, "conf-1", none);
        QVERIFY(settle());
        QCOMPARE(answers.count(), 2);
        QCOMPARE(answers.arg<0>(0), request);
        QCOMPARE(answers.arg<1>(0), 200);
        QCOMPARE(answers.arg<2>(0), QString("conf-1"));
        QCOMPARE(answers.arg<3>(0), QString("{\"x\":\"%2\"}"));
        QCOMPARE(answers.threads[0], QThread::currentThread());
        QCOMPARE(answers.arg<0>(1), Agent_RequestCreateConf());
        QCOMPARE(answers.arg<3>(1), QString());
        QCOMPARE(callbackLines(log).value(0),
                 QString("Conference_CallBack::callback_onCreateConference, reason=200, "
                         "confId=conf-1, jsonString={\"x\":\"%2\"}"));
    }

    // A request of another type under the key gives a default request (and is taken out).
    void storedRequestOfAnotherType()
    {
        store(kKey, Agent_RequestGetConfInfo{"c1", "j"});
        ConfInbox<Agent_RequestDeleteConf, int, QString> answers(
            &Conference_Agent::sig_onDeleteConference);
        zssim::Control::fire(&ZS_ConfCallBack::onDeleteConference, kKey, 404, "j");
        QVERIFY(settle());
        QCOMPARE(answers.count(), 1);
        QCOMPARE(answers.arg<0>(0), Agent_RequestDeleteConf());
        QCOMPARE(answers.arg<1>(0), 404);
        QVERIFY(!takeStored(kKey).isValid());
    }

    // The answers of one shape each: their log line and the signal with their own request.
    void simpleAnswers()
    {
        using C = ZS_ConfCallBack;
        TQLogCapture log;
        store(kKey + 1, withId<Agent_RequestUpdateConf>("u"));
        store(kKey + 2, withId<Agent_RequestMemberQuitConf>("q"));
        store(kKey + 3, withId<Agent_RequestUpdateConfMember>("m"));
        store(kKey + 4, withId<Agent_RequestConfMediaControl>("mc"));
        store(kKey + 5, withId<Agent_RequestConfRecord>("r"));
        store(kKey + 6, withId<Agent_RequestConfStartPublishVideo>("v1"));
        store(kKey + 7, withId<Agent_RequestConfStopPublishVideo>("v0"));
        store(kKey + 8, withId<Agent_RequestConfStartScreenSharing>("s1"));
        store(kKey + 9, withId<Agent_RequestConfStopScreenSharing>("s0"));
        store(kKey + 10, withId<Agent_RequestConfStartPublishVoice>("a1"));
        store(kKey + 11, withId<Agent_RequestConfStopPublishVoice>("a0"));
        ConfInbox<Agent_RequestUpdateConf, int, QString> update(
            &Conference_Agent::sig_onUpdateConference);
        ConfInbox<Agent_RequestMemberQuitConf, int, QString> quit(
            &Conference_Agent::sig_onMemberQuitConference);
        ConfInbox<Agent_RequestUpdateConfMember, int, QString> member(
            &Conference_Agent::sig_onUpdateConferenceMember);
        ConfInbox<Agent_RequestConfMediaControl, int, QString> control(
            &Conference_Agent::sig_onConferenceMediaControl);
        ConfInbox<Agent_RequestConfRecord, int, QString> record(
            &Conference_Agent::sig_onConferenceRecord);
        ConfInbox<Agent_RequestConfStartPublishVideo, int, QString> startVideo(
            &Conference_Agent::sig_onConferenceStartPublishVideo);
        ConfInbox<Agent_RequestConfStopPublishVideo, int, QString> stopVideo(
            &Conference_Agent::sig_onConferenceStopPublishVideo);
        ConfInbox<Agent_RequestConfStartScreenSharing, int, QString> startScreen(
            &Conference_Agent::sig_onConferenceStartScreenSharing);
        ConfInbox<Agent_RequestConfStopScreenSharing, int, QString> stopScreen(
            &Conference_Agent::sig_onConferenceStopScreenSharing);
        ConfInbox<Agent_RequestConfStartPublishVoice, int, QString> startVoice(
            &Conference_Agent::sig_onConferenceStartPublishVoice);
        ConfInbox<Agent_RequestConfStopPublishVoice, int, QString> stopVoice(
            &Conference_Agent::sig_onConferenceStopPublishVoice);
        zssim::Control::fire(&C::onUpdateConference, kKey + 1, 201, "j1");
        zssim::Control::fire(&C::onMemberQuitConference, kKey + 2, 202, "j2");
        zssim::Control::fire(&C::onUpdateConferenceMember, kKey + 3, 203, "j3");
        zssim::Control::fire(&C::onConferenceMediaControl, kKey + 4, 204, "j4");
        zssim::Control::fire(&C::onConferenceRecord, kKey + 5, 205, "j5");
        zssim::Control::fire(&C::onConferenceStartPublishVideo, kKey + 6, 206, "j6");
        zssim::Control::fire(&C::onConferenceStopPublishVideo, kKey + 7, 207, "j7");
        zssim::Control::fire(&C::onConferenceStartScreenSharing, kKey + 8, 208, "j8");
        zssim::Control::fire(&C::onConferenceStopScreenSharing, kKey + 9, 209, "j9");
        zssim::Control::fire(&C::onConferenceStartPublishVoice, kKey + 10, 210, "j10");
        zssim::Control::fire(&C::onConferenceStopPublishVoice, kKey + 11, 211, "j11");
        QVERIFY(settle());
        QCOMPARE(update.arg<0>(0).confId, QString("u"));
        QCOMPARE(update.arg<1>(0), 201);
        QCOMPARE(quit.arg<0>(0).confId, QString("q"));
        QCOMPARE(member.arg<0>(0).confId, QString("m"));
        QCOMPARE(control.arg<0>(0).confId, QString("mc"));
        QCOMPARE(record.arg<0>(0).confId, QString("r"));
        QCOMPARE(startVideo.arg<0>(0).confId, QString("v1"));
        QCOMPARE(stopVideo.arg<0>(0).confId, QString("v0"));
        QCOMPARE(startScreen.arg<0>(0).confId, QString("s1"));
        QCOMPARE(stopScreen.arg<0>(0).confId, QString("s0"));
        QCOMPARE(startVoice.arg<0>(0).confId, QString("a1"));
        QCOMPARE(stopVoice.arg<0>(0).confId, QString("a0"));
        QCOMPARE(stopVoice.arg<1>(0), 211);
        QCOMPARE(stopVoice.arg<2>(0), QString("j11"));
        QCOMPARE(callbackLines(log),
                 (QStringList{"Conference_CallBack::callback_onUpdateConference, reason=201, "
                              "jsonString=j1",
                              "Conference_CallBack::callback_onMemberQuitConference,reason=202,"
                              "jsonString=j2",
                              "Conference_CallBack::callback_onUpdateConferenceMember,reason=203,"
                              "jsonString=j3",
                              "Conference_CallBack::callback_onConferenceMediaControl,reason=204,"
                              "jsonString=j4",
                              "Conference_CallBack::callback_onConferenceRecord,reason=205,"
                              "jsonString=j5",
                              "Conference_CallBack::callback_onConferenceStartPublishVideo,"
                              "reason=206,jsonString=j6",
                              "Conference_CallBack::callback_onConferenceStopPublishVideo,"
                              "reason=207,jsonString=j7",
                              "Conference_CallBack::callback_onConferenceStartScreenSharing,"
                              "reason=208,jsonString=j8",
                              "Conference_CallBack::callback_onConferenceStopScreenSharing,"
                              "reason=209,jsonString=j9",
                              "Conference_CallBack::callback_onConferenceStartPublishVoice,"
                              "reason=210,jsonString=j10",
                              "Conference_CallBack::callback_onConferenceStopPublishVoice,"
                              "reason=211,jsonString=j11"}));
        for (unsigned int k = kKey + 1; k <= kKey + 11; ++k)
            QVERIFY(!takeStored(k).isValid());
    }

    // Answers whose conference id comes before the reason: their own orders, in the log too.
    void answersWithAConferenceId()
    {
        using C = ZS_ConfCallBack;
        TQLogCapture log;
        store(kKey + 1, Agent_RequestLockConf{"c1", true, ""});
        store(kKey + 2, withId<Agent_RequestConfMemberRejectInvitation>("c2"));
        store(kKey + 3, withId<Agent_RequestSetConfMemberRole>("c3"));
        store(kKey + 4, withId<Agent_RequestConfSendCmd>("c4"));
        ConfInbox<Agent_RequestLockConf, QString, int, QString> lock(
            &Conference_Agent::sig_onLockConference);
        ConfInbox<Agent_RequestConfMemberRejectInvitation, QString, int, QString> reject(
            &Conference_Agent::sig_onConferenceMemberRejectInvitation);
        ConfInbox<Agent_RequestSetConfMemberRole, QString, int, QString> role(
            &Conference_Agent::sig_onSetConferenceMemberRole);
        ConfInbox<Agent_RequestConfSendCmd, QString, int, QString> cmd(
            &Conference_Agent::sig_onConferenceSendCmd);
        zssim::Control::fire(&C::onLockConference, kKey + 1, "c1", 200, "j1");
        zssim::Control::fire(&C::onConferenceMemberRejectInvitation, kKey + 2, "c2", 404, "j2");
        zssim::Control::fire(&C::onSetConferenceMemberRole, kKey + 3, "c3", 403, "j3");
        zssim::Control::fire(&C::onConferenceSendCmd, kKey + 4, "c4", 200, "j4");
        QVERIFY(settle());
        QCOMPARE(lock.arg<0>(0).bLock, true);
        QCOMPARE(lock.arg<1>(0), QString("c1"));
        QCOMPARE(lock.arg<2>(0), 200);
        QCOMPARE(reject.arg<0>(0).confId, QString("c2"));
        QCOMPARE(reject.arg<2>(0), 404);
        QCOMPARE(role.arg<0>(0).confId, QString("c3"));
        QCOMPARE(role.arg<2>(0), 403);
        QCOMPARE(cmd.arg<0>(0).confId, QString("c4"));
        QCOMPARE(cmd.arg<3>(0), QString("j4"));
        QCOMPARE(callbackLines(log),
                 (QStringList{"Conference_CallBack::callBack_onLockConference,confId=c1,"
                              "reason=200,jsonString=j1",
                              "Conference_CallBack::callback_onConferenceMemberRejectInvitation,"
                              "reason=404,jsonString=j2,confId=c2",
                              "Conference_CallBack::callback_onSetConferenceMemberRole,confId=c3,"
                              "reason=403,jsonString=j3",
                              "Conference_CallBack::callback_onConferenceSendCmd,confId=c4,"
                              "reason=200,jsonString=j4"}));
    }

    // The query answer extracts the topic and leaves the join fields; joining does neither.
    void conferenceInfoAndJoin()
    {
        store(kKey, Agent_RequestGetConfInfo{"conf-1", ""});
        store(kKey + 1, withId<Agent_RequestMemberJoinConf>("conf-1"));
        ConfInbox<Agent_RequestGetConfInfo, int, Agent_ConfInfo, QString> info(
            &Conference_Agent::sig_onGetConferenceInfo);
        ConfInbox<Agent_RequestMemberJoinConf, int, Agent_ConfInfo, QString> join(
            &Conference_Agent::sig_onMemberJoinConference);
        const char *topic = R"({"topics":[{"topic":"one"},{"topic":"two"}]})";
        ZS_ConfMemberInfo members[1] = {memberRecord("bob", "Bob Li", 9, 2)};
        ZS_ConfInfo record = infoRecord("conf-1", "alice", topic);
        record.number12 = 1;
        record.members = members;
        TQLogCapture log;
        zssim::Control::fire(&ZS_ConfCallBack::onGetConferenceInfo, kKey, 200, &record, "ji");
        zssim::Control::fire(&ZS_ConfCallBack::onMemberJoinConference, kKey + 1, 200, &record,
                             "jj");
        zssim::Control::fire(&ZS_ConfCallBack::onGetConferenceInfo, kKey + 2, 404,
                             static_cast<const ZS_ConfInfo *>(nullptr), "");
        QVERIFY(settle());
        QCOMPARE(info.count(), 2);
        const Agent_ConfInfo got = info.arg<2>(0);
        QCOMPARE(info.arg<0>(0).confId, QString("conf-1"));
        QCOMPARE(got.confTopic, QString("two"));
        QCOMPARE(got.members.size(), 1);
        QCOMPARE(got.members[0].memberId, QString("bob"));
        QCOMPARE(got.members[0].text11, QString("11"));
        QVERIFY(got.text8.isEmpty());
        QCOMPARE(got.number16, 0);
        const Agent_ConfInfo joined = join.arg<2>(0);
        QCOMPARE(joined.confTopic, QString(topic));
        QCOMPARE(joined.text8, QString("alice"));
        QCOMPARE(joined.number17, 2);
        QCOMPARE(joined.text10, QString("2024-05-06 09:01:00"));
        QCOMPARE(info.arg<2>(1), Agent_ConfInfo()); // null record
        QCOMPARE(info.arg<1>(1), 404);
        QCOMPARE(callbackLines(log),
                 (QStringList{"Conference_CallBack::callback_onGetConferenceInfo,reason=200,"
                              "jsonString=ji",
                              "Conference_CallBack::callback_onMemberJoinConference,reason=200,"
                              "jsonString=jj",
                              "Conference_CallBack::callback_onGetConferenceInfo,reason=404,"
                              "jsonString="}));
    }

    void conferenceLists()
    {
        store(kKey, listFrom<Agent_RequestGetConfInfoList>("b"));
        store(kKey + 1, listFrom<Agent_RequestGetHistoryConfInfoList>("h"));
        ConfInbox<Agent_RequestGetConfInfoList, int, QList<Agent_ConfInfo>, QString> current(
            &Conference_Agent::sig_onGetConferenceInfoList);
        ConfInbox<Agent_RequestGetHistoryConfInfoList, int, QList<Agent_ConfInfo>, QString> history(
            &Conference_Agent::sig_onGetHistoryConferenceInfoList);
        std::vector<ZS_ConfInfo> records{infoRecord("conf-1", "alice", "Plain"),
                                         infoRecord("conf-2", "bob", R"({"topics":[]})")};
        TQLogCapture log;
        zssim::Control::fire(&ZS_ConfCallBack::onGetConferenceInfoList, kKey, 200, 2,
                             static_cast<const ZS_ConfInfo *>(records.data()), "{\"total\":2}");
        zssim::Control::fire(&ZS_ConfCallBack::onGetHistoryConferenceInfoList, kKey + 1, 200, -3,
                             static_cast<const ZS_ConfInfo *>(records.data()), "h");
        QVERIFY(settle());
        QCOMPARE(current.count(), 1);
        QCOMPARE(current.arg<0>(0).createTimeBegin, QString("b"));
        const QList<Agent_ConfInfo> list = current.arg<2>(0);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[0].confTopic, QString("Plain"));
        QCOMPARE(list[1].confTopic, QString(R"({"topics":[]})"));
        QCOMPARE(list[1].creator, QString("bob"));
        QCOMPARE(history.arg<0>(0).createTimeBegin, QString("h"));
        QVERIFY(history.arg<2>(0).isEmpty()); // a negative count reads as none
        QCOMPARE(callbackLines(log),
                 (QStringList{"Conference_CallBack::callback_onGetConferenceInfoList,reason=200,"
                              "jsonString={\"total\":2}, count=2",
                              "Conference_CallBack::callback_onGetConferenceInfoList,"
                              "creator=alice,confId=conf-1,memberCount=2,"
                              "startTime=2024-05-06 09:00:00,createTime=2024-05-05 12:00:00,"
                              "updateTime=2024-05-05 12:30:00,reserveStartTime=2024-05-06 09:00:00",
                              "Conference_CallBack::callback_onGetConferenceInfoList,creator=bob,"
                              "confId=conf-2,memberCount=2,startTime=2024-05-06 09:00:00,"
                              "createTime=2024-05-05 12:00:00,updateTime=2024-05-05 12:30:00,"
                              "reserveStartTime=2024-05-06 09:00:00",
                              "Conference_CallBack::callback_onGetHistoryConferenceInfoList,"
                              "reason=200,count=-3,jsonString=h"}));
    }

    // A null list: the error line, no signal, and the request stays for a later answer.
    void nullConferenceList()
    {
        store(kKey, listFrom<Agent_RequestGetConfInfoList>("b"));
        ConfInbox<Agent_RequestGetConfInfoList, int, QList<Agent_ConfInfo>, QString> current(
            &Conference_Agent::sig_onGetConferenceInfoList);
        TQLogCapture log;
        zssim::Control::fire(&ZS_ConfCallBack::onGetConferenceInfoList, kKey, 500, 3,
                             static_cast<const ZS_ConfInfo *>(nullptr), "");
        QVERIFY(settle());
        QCOMPARE(current.count(), 0);
        QCOMPARE(callbackLines(log).value(1),
                 QString::fromUtf8("Conference_CallBack::callback_onGetConferenceInfoList,"
                                   "reason=500,count=3,查询会议列表异常"));
        QCOMPARE(takeStored(kKey).value<Agent_RequestGetConfInfoList>().createTimeBegin,
                 QString("b"));
    }

    void memberLists()
    {
        store(kKey, Agent_RequestGetConfMemberInfoList{"c1", 1, 10, ""});
        store(kKey + 1, withId<Agent_RequestGetHistoryConferenceMemberInfoList>("c2"));
        store(kKey + 2, withId<Agent_RequestGetConfMemberInfo>("c3"));
        using List = QList<Agent_ConferenceMemberInfo>;
        ConfInbox<Agent_RequestGetConfMemberInfoList, int, QString, List, QString> current(
            &Conference_Agent::sig_onGetConferenceMemberInfoList);
        ConfInbox<Agent_RequestGetHistoryConferenceMemberInfoList, int, QString, List, QString>
            history(&Conference_Agent::sig_onGetHistoryConferenceMemberInfoList);
        ConfInbox<Agent_RequestGetConfMemberInfo, int, QString, Agent_ConferenceMemberInfo, QString>
            single(&Conference_Agent::sig_onGetConferenceMemberInfo);
        std::vector<ZS_ConfMemberInfo> records{memberRecord("bob", "Bob Li", 9, 2),
                                               memberRecord("carol", "Carol Zhang", 0, 3)};
        TQLogCapture log;
        zssim::Control::fire(&ZS_ConfCallBack::onGetConferenceMemberInfoList, kKey, 200, "c1", 2,
                             static_cast<const ZS_ConfMemberInfo *>(records.data()), "j");
        zssim::Control::fire(&ZS_ConfCallBack::onGetHistoryConferenceMemberInfoList, kKey + 1, "c2",
                             200, 2, static_cast<const ZS_ConfMemberInfo *>(records.data()), "h");
        zssim::Control::fire(&ZS_ConfCallBack::onGetConferenceMemberInfo, kKey + 2, 200, "c3",
                             static_cast<const ZS_ConfMemberInfo *>(records.data()), "s");
        QVERIFY(settle());
        const List got = current.arg<3>(0);
        QCOMPARE(current.arg<0>(0).pageSize, 10);
        QCOMPARE(current.arg<2>(0), QString("c1"));
        QCOMPARE(got.size(), 2);
        QCOMPARE(got[0].memberId, QString("bob"));
        QVERIFY(got[0].flag0 && got[0].flag3 && !got[0].flag1);
        QCOMPARE(got[0].deviceType, 2); // the current list reads the device
        QCOMPARE(got[1].deviceType, 3);
        QVERIFY(got[0].text8.isEmpty());
        QCOMPARE(got[0].text9, QString("alice"));
        QCOMPARE(history.arg<3>(0).size(), 2);
        QCOMPARE(history.arg<3>(0)[0].deviceType, 0); // the history does not
        QCOMPARE(history.arg<0>(0).confId, QString("c2"));
        QCOMPARE(single.arg<3>(0).memberId, QString("bob"));
        QCOMPARE(single.arg<3>(0).deviceType, 0);
        QCOMPARE(callbackLines(log),
                 (QStringList{"Conference_CallBack::callback_onGetConferenceMemberInfoList,"
                              "reason=200,jsonString=j,count=2,confId=c1",
                              "Conference_CallBack::callback_onGetHistoryConferenceMemberInfoList,"
                              "reason=200,jsonString=h,count=2,confId=c2",
                              "Conference_CallBack::callback_onGetConferenceMemberInfo,"
                              "reason=200,confId=c3,jsonString=s"}));
    }

    // An array that is not there, with a count, reads as none and the answer still comes.
    void nullArraysWithACount()
    {
        store(kKey, withId<Agent_RequestGetConfMemberInfoList>("c1"));
        store(kKey + 1, withId<Agent_RequestConfInviteMember>("c2"));
        store(kKey + 2, withId<Agent_RequestConfKickoutMember>("c3"));
        using Failed = QList<Agent_FaildConferenceMemberInfo>;
        ConfInbox<Agent_RequestGetConfMemberInfoList, int, QString,
                  QList<Agent_ConferenceMemberInfo>, QString>
            members(&Conference_Agent::sig_onGetConferenceMemberInfoList);
        ConfInbox<Agent_RequestConfInviteMember, int, QString, Failed, QString> invite(
            &Conference_Agent::sig_onConferenceInviteMember);
        ConfInbox<Agent_RequestConfKickoutMember, int, QString, Failed, QString> kick(
            &Conference_Agent::sig_onConferenceKickoutMember);
        zssim::Control::fire(&ZS_ConfCallBack::onGetConferenceMemberInfoList, kKey, 200, "c1", 3,
                             static_cast<const ZS_ConfMemberInfo *>(nullptr), "");
        zssim::Control::fire(&ZS_ConfCallBack::onConferenceInviteMember, kKey + 1, 200, "c2", 5,
                             static_cast<const ZS_ConfFailedMember *>(nullptr), "");
        zssim::Control::fire(&ZS_ConfCallBack::onConferenceKickoutMember, kKey + 2, 200, "c3",
                             0x7fffffff, static_cast<const ZS_ConfFailedMember *>(nullptr), "");
        QVERIFY(settle());
        QCOMPARE(members.count(), 1);
        QVERIFY(members.arg<3>(0).isEmpty());
        QCOMPARE(members.arg<0>(0).confId, QString("c1"));
        QVERIFY(invite.arg<3>(0).isEmpty());
        QCOMPARE(invite.arg<0>(0).confId, QString("c2"));
        QVERIFY(kick.arg<3>(0).isEmpty());
    }

    void failedMembers()
    {
        ConfInbox<Agent_RequestConfInviteMember, int, QString,
                  QList<Agent_FaildConferenceMemberInfo>, QString>
            invite(&Conference_Agent::sig_onConferenceInviteMember);
        std::vector<ZS_ConfFailedMember> failed(2);
        put(failed[0].text1, "dave");
        failed[0].number1 = 404;
        put(failed[0].text2, "no such person");
        fill(failed[1].text1, 'z');
        fill(failed[1].text2, 'y');
        TQLogCapture log;
        zssim::Control::fire(&ZS_ConfCallBack::onConferenceInviteMember, kKey, 200, "c1", 2,
                             static_cast<const ZS_ConfFailedMember *>(failed.data()), "j");
        QVERIFY(settle());
        const auto list = invite.arg<3>(0);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[0], (Agent_FaildConferenceMemberInfo{"dave", 404, "no such person"}));
        QCOMPARE(list[1].text1, QString(260, 'z'));
        QCOMPARE(list[1].text2, QString(36, 'y'));
        QCOMPARE(callbackLines(log).value(0),
                 QString("Conference_CallBack::callback_onConferenceInviteMember,reason=200,"
                         "jsonString=j,confId=c1"));
    }

    // Recordings are read only from a successful answer.
    void recordList()
    {
        store(kKey, Agent_RequestConfRecordList{"c1", 0, 1, 10});
        store(kKey + 1, withId<Agent_RequestConfRecordList>("c2"));
        ConfInbox<Agent_RequestConfRecordList, int, QList<Agent_ConfRecordFile>> files(
            &Conference_Agent::sig_onGetConferenceRecordList);
        std::vector<ZS_ConfRecordFile> records(3);
        for (int i = 0; i < 3; ++i) {
            put(records[std::size_t(i)].text1, qPrintable(QString("rec-%1").arg(i)));
            records[std::size_t(i)].number1 = 60 * i;
        }
        TQLogCapture log;
        zssim::Control::fire(&ZS_ConfCallBack::onGetConferenceRecordList, kKey, "c1", 0, 3,
                             static_cast<const ZS_ConfRecordFile *>(records.data()));
        zssim::Control::fire(&ZS_ConfCallBack::onGetConferenceRecordList, kKey + 1, "c2", 200, 3,
                             static_cast<const ZS_ConfRecordFile *>(records.data()));
        QVERIFY(settle());
        QCOMPARE(files.count(), 2);
        QCOMPARE(files.arg<0>(0).pageSize, 10);
        QVERIFY(files.arg<2>(0).isEmpty());
        QCOMPARE(files.arg<2>(1).size(), 3);
        QCOMPARE(files.arg<2>(1)[2].text1, QString("rec-2"));
        QCOMPARE(files.arg<2>(1)[2].number1, 120);
        QCOMPARE(callbackLines(log).value(0),
                 QString("Conference_CallBack::callback_onGetConferenceRecordList,reason=0,"
                         "confId=c1,count=3"));
    }

    // Neither the sound nor the member-video answers touch the store.
    void answersWithoutARequest()
    {
        store(kKey, withId<Agent_RequestGetConfInfo>("kept"));
        ConfInbox<int, QString> sound(&Conference_Agent::sig_onConferenceAudioPlay);
        ConfInbox<int, QString, QString, int, QString> requested(
            &Conference_Agent::sig_onConferenceRequestMemberVideo);
        ConfInbox<int, QString, QString, int, QString> cancelled(
            &Conference_Agent::sig_onConferenceCancelMemberVideo);
        ConfInbox<int, Agent_ConfAppSetting> setting(
            &Conference_Agent::sig_onConferenceGetAppSetting);
        ZS_ConfAppSetting record{};
        std::memset(record.reserved0, 0x7f, sizeof record.reserved0);
        record.value = 3;
        TQLogCapture log;
        zssim::Control::fire(&ZS_ConfCallBack::onConferenceAudioPlay, kKey, 200, "ding");
        zssim::Control::fire(&ZS_ConfCallBack::onConferenceRequestMemberVideo, 200, "c1", "bob", 1,
                             "r");
        zssim::Control::fire(&ZS_ConfCallBack::onConferenceCancelMemberVideo, 404, "c1", "carol", 2,
                             "x");
        zssim::Control::fire(&ZS_ConfCallBack::onConferenceGetAppSetting, kKey, 200,
                             static_cast<const ZS_ConfAppSetting *>(&record));
        zssim::Control::fire(&ZS_ConfCallBack::onConferenceGetAppSetting, kKey, 500,
                             static_cast<const ZS_ConfAppSetting *>(nullptr));
        QVERIFY(settle());
        QCOMPARE(sound.arg<0>(0), 200);
        QCOMPARE(sound.arg<1>(0), QString("ding"));
        QCOMPARE(requested.arg<2>(0), QString("bob"));
        QCOMPARE(requested.arg<3>(0), 1);
        QCOMPARE(cancelled.arg<0>(0), 404);
        QCOMPARE(cancelled.arg<4>(0), QString("x"));
        QCOMPARE(setting.arg<1>(0).value, 3);
        QCOMPARE(setting.arg<0>(1), 500);
        QCOMPARE(setting.arg<1>(1).value, 0);
        QCOMPARE(takeStored(kKey).value<Agent_RequestGetConfInfo>().confId, QString("kept"));
        QCOMPARE(callbackLines(log),
                 (QStringList{"Conference_CallBack::callback_onConferenceAudioPlay,reason=200,"
                              "jsonString=ding",
                              "Conference_CallBack::callback_onConferenceRequestMemberVideo,"
                              "reason=200,jsonString=r,member=bob,mediaSourceType=1,confId=c1",
                              "Conference_CallBack::callback_onConferenceCancelMemberVideo,"
                              "reason=404,jsonString=x,member=carol,mediaSourceType=2,"
                              "confId=c1"})); // the setting logs nothing
    }

    void conferenceNotification()
    {
        NoticeInbox notices(&Conference_Agent::sig_onReceivedConferenceNotification);
        ConfTargetEntry kicked[2] = {};
        put(kicked[0].text1, "bob");
        kicked[0].number1 = 1;
        kicked[0].deviceType = 2;
        put(kicked[1].text1, "carol");
        kicked[1].deviceType = 3;
        ZS_ConfNtyMember members[1] = {};
        put(members[0].text1, "dave");
        put(members[0].text2, "Dave");
        fill(members[0].text3, 'q');
        members[0].number3 = 4;
        put(members[0].text4, "t");
        members[0].deviceType = 5;
        ZS_ConfNotification nty{};
        std::memset(nty.reserved0, 'r', sizeof nty.reserved0);
        nty.number1 = 3;
        put(nty.text1, "conf-1");
        put(nty.confTopic, R"({"topics":[{"topic":"a"},{"topic":"b"}]})");
        nty.number2 = 2;
        nty.number6 = 6;
        put(nty.text9, "nine");
        fill(nty.text12, 'w');
        nty.number10 = 10;
        nty.kickMemberCount = 2;
        nty.kickMembers = kicked;
        nty.memberCount = 1;
        nty.members = members;
        nty.number11 = 11;
        put(nty.text15, "fifteen");
        nty.number14 = 14;
        nty.deviceType = 7;
        TQLogCapture log;
        zssim::Control::fire(&ZS_ConfCallBack::onReceivedConferenceNotification,
                             static_cast<const ZS_ConfNotification *>(&nty), "j");
        QVERIFY(settle());
        QCOMPARE(notices.count(), 1);
        const Agent_ConfNtyMsg msg = notices.arg<0>(0);
        QCOMPARE(notices.arg<1>(0), QString("j"));
        QCOMPARE(msg.number1, 3);
        QCOMPARE(msg.text1, QString("conf-1"));
        QCOMPARE(msg.confTopic, QString("b"));
        QCOMPARE(msg.number6, 6);
        QCOMPARE(msg.text9, QString("nine"));
        QCOMPARE(msg.text12, QString(130, 'w'));
        QCOMPARE(msg.number10, 10);
        QCOMPARE(msg.kickMemberCount, 2);
        QCOMPARE(msg.kickMembers[0], (Agent_ConfKickMember{"bob", 1, 2}));
        QCOMPARE(msg.kickMembers[1], (Agent_ConfKickMember{"carol", 0, 3}));
        QCOMPARE(msg.memberCount, 1);
        QCOMPARE(msg.members[0],
                 (Agent_ConfNtyMember{"dave", 0, 0, "Dave", QString(1027, 'q'), 4, "t", 5}));
        QCOMPARE(msg.number11, 11);
        QCOMPARE(msg.text15, QString("fifteen"));
        QCOMPARE(msg.number14, 14);
        QCOMPARE(msg.deviceType, 7);
        QCOMPARE(callbackLines(log),
                 (QStringList{"Conference_CallBack::callback_onReceivedConferenceNotification",
                              "Conference_CallBack::callback_onReceivedConferenceNotification,"
                              "kickMemberInfo.deviceType=2",
                              "Conference_CallBack::callback_onReceivedConferenceNotification,"
                              "kickMemberInfo.deviceType=3",
                              "Conference_CallBack::callback_onReceivedConferenceNotification,"
                              "confNtyMemberInfo.deviceType=5",
                              "Conference_CallBack::callback_onReceivedConferenceNotification,"
                              "confNtyMsg.deviceType=7"}));
    }

    // No members, members that are not there, and no notification at all.
    void oddNotifications()
    {
        NoticeInbox notices(&Conference_Agent::sig_onReceivedConferenceNotification);
        ZS_ConfNotification empty{};
        ZS_ConfNotification broken{};
        broken.kickMemberCount = 4;
        broken.memberCount = -1;
        ZS_ConfNtyMember one[1] = {};
        broken.members = one;
        zssim::Control::fire(&ZS_ConfCallBack::onReceivedConferenceNotification,
                             static_cast<const ZS_ConfNotification *>(&empty), none);
        zssim::Control::fire(&ZS_ConfCallBack::onReceivedConferenceNotification,
                             static_cast<const ZS_ConfNotification *>(&broken), none);
        zssim::Control::fire(&ZS_ConfCallBack::onReceivedConferenceNotification,
                             static_cast<const ZS_ConfNotification *>(nullptr), none);
        QVERIFY(settle());
        QCOMPARE(notices.count(), 3);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(notices.arg<0>(i).kickMembers.isEmpty());
            QVERIFY(notices.arg<0>(i).members.isEmpty());
            QCOMPARE(notices.arg<0>(i).kickMemberCount, 0);
            QCOMPARE(notices.arg<0>(i).memberCount, 0);
        }
        QCOMPARE(notices.arg<0>(2), Agent_ConfNtyMsg());
    }

    void otherNotifications()
    {
        ConfInbox<Agent_ConfInviteNtyMsg, QString> invites(
            &Conference_Agent::sig_onReceivedConferenceInviteNotification);
        ConfInbox<Agent_ConfAppointmentNtyMsg, QString> appointments(
            &Conference_Agent::sig_onReceivedConferenceAppointmentNotification);
        ConfInbox<Agent_ConfBeforeStartNtyMsg, QString> beforeStart(
            &Conference_Agent::sig_onReceivedConferenceBeforeStartNotification);
        ConfInbox<Agent_ConfBeforeEndNtyMsg, QString> beforeEnd(
            &Conference_Agent::sig_onReceivedConferenceBeforeEndNotification);
        ConfInbox<Agent_ConfEndNtyMsg, QString> ends(
            &Conference_Agent::sig_onReceivedConferenceEndNotification);
        ZS_ConfInviteNotification invite{};
        put(invite.text1, "conf-1");
        invite.number1 = 1;
        put(invite.text2, "bob");
        put(invite.text3, "09:00");
        put(invite.text5, "Weekly");
        put(invite.text6, "Bob Li");
        invite.number2 = 2;
        fill(invite.text7, 'i');
        ZS_ConfAppointmentNotification appointment{};
        appointment.number1 = 1;
        put(appointment.text1, "conf-2");
        put(appointment.text2, "Plan");
        put(appointment.text3, "carol");
        put(appointment.text4, "start");
        put(appointment.text5, "end");
        appointment.number2 = 60;
        appointment.number3 = 2;
        fill(appointment.text6, 'c');
        ZS_ConfReminderNotification reminder{};
        reminder.number1 = 10;
        put(reminder.text1, "conf-3");
        fill(reminder.text2, 'n');
        reminder.number2 = 30;
        ZS_ConfEndNotification end{};
        end.number1 = 1;
        put(end.text1, "conf-4");
        fill(end.text2, 'e');
        TQLogCapture log;
        zssim::Control::fire(&ZS_ConfCallBack::onReceivedConferenceInviteNotification,
                             static_cast<const ZS_ConfInviteNotification *>(&invite), "i");
        zssim::Control::fire(&ZS_ConfCallBack::onReceivedConferenceAppointmentNotification,
                             static_cast<const ZS_ConfAppointmentNotification *>(&appointment),
                             "a");
        zssim::Control::fire(&ZS_ConfCallBack::onReceivedConferenceBeforeStartNotification,
                             static_cast<const ZS_ConfReminderNotification *>(&reminder), "s");
        zssim::Control::fire(&ZS_ConfCallBack::onReceivedConferenceBeforeEndNotification,
                             static_cast<const ZS_ConfReminderNotification *>(&reminder), "e");
        zssim::Control::fire(&ZS_ConfCallBack::onReceivedConferenceEndNotification,
                             static_cast<const ZS_ConfEndNotification *>(&end), "x");
        zssim::Control::fire(&ZS_ConfCallBack::onReceivedConferenceEndNotification,
                             static_cast<const ZS_ConfEndNotification *>(nullptr), none);
        QVERIFY(settle());
        QCOMPARE(invites.arg<0>(0),
                 (Agent_ConfInviteNtyMsg{"conf-1", 1, "bob", "09:00", "", "Weekly", "Bob Li", 2,
                                         QString(260, 'i'), 0, 0, 0}));
        QCOMPARE(invites.arg<1>(0), QString("i"));
        QCOMPARE(appointments.arg<0>(0),
                 (Agent_ConfAppointmentNtyMsg{1, "conf-2", "Plan", "carol", "start", "end", 60, 2,
                                              QString(68, 'c')}));
        QCOMPARE(beforeStart.arg<0>(0),
                 (Agent_ConfBeforeStartNtyMsg{10, "conf-3", QString(66, 'n'), 30}));
        QCOMPARE(beforeEnd.arg<0>(0),
                 (Agent_ConfBeforeEndNtyMsg{10, "conf-3", QString(66, 'n'), 30}));
        QCOMPARE(ends.arg<0>(0), (Agent_ConfEndNtyMsg{1, "conf-4", QString(66, 'e')}));
        QCOMPARE(ends.arg<0>(1), Agent_ConfEndNtyMsg());
        QCOMPARE(callbackLines(log).size(), 6);
        QCOMPARE(callbackLines(log).value(0),
                 QString("Conference_CallBack::callback_onReceivedConferenceInviteNotification"));
        QCOMPARE(callbackLines(log).value(4),
                 QString("Conference_CallBack::callback_onReceivedConferenceEndNotification"));
    }

    // A value from the engine cannot start a log entry of its own.
    void engineTextsAreEscapedInTheLog()
    {
        TQLogCapture log;
        zssim::Control::fire(&ZS_ConfCallBack::onMemberQuitConference, kKey, 200,
                             "x\n2000-01-01 00:00:00.000 [ERROR] [1] FORGED");
        QVERIFY(settle());
        QCOMPARE(callbackLines(log).value(0),
                 QString("Conference_CallBack::callback_onMemberQuitConference,reason=200,"
                         "jsonString=x\\n2000-01-01 00:00:00.000 [ERROR] [1] FORGED"));
    }
};

QObject *newTestConfCallbacks()
{
    return new TestConfCallbacks;
}

#include "tst_conf_callbacks.moc"
