// Conference_Agent's requests: for each of the 31, the engine function, its arguments in
// order, the log lines and the request kept for its answer; then the slots that differ, the
// member arrays, the thread the agent lives on and its callback table.

#include "ConfTestSupport.h"

#include <PendingIssue.h>

#include <atomic>
#include <functional>
#include <thread>

using Emit = std::function<void(Conference_Agent *)>;
Q_DECLARE_METATYPE(Emit)

namespace {

// Keys handed out by the engine: fresh for every test, since the store remembers answered
// keys and drops a late request under one.
unsigned int kKey = 4200;

QVariant b(const char *utf8)
{
    return QVariant(QByteArray(utf8));
}

QVariant local(const QString &text)
{
    return QVariant(text.toLocal8Bit());
}

QVariant handle(quintptr value)
{
    return QVariant::fromValue<qulonglong>(value);
}

// Lines the agent's slots wrote, in order.
QStringList agentLines(const TQLogCapture &log)
{
    QStringList lines;
    for (const QString &line : log.texts(TQLog::Info))
        if (line.startsWith(QLatin1String("Conference_Agent::"))
            || line.startsWith(QLatin1String("nRet = ")))
            lines << line;
    return lines;
}

QString line(const char *slot, const QString &describing)
{
    return QStringLiteral("Conference_Agent::%1,").arg(QLatin1String(slot)) + describing;
}

// The key line of a row; the test fills in the key the engine handed out.
QString keyLine()
{
    return QStringLiteral("nRet = 0, matchKey = <key>");
}

Agent_RequestCreateConf createRequest()
{
    Agent_RequestCreateConf r;
    r.ownerPassword = "owner-pw";
    r.password = "join-pw";
    r.confName = QString::fromUtf8("Café 周会");
    r.confType = 2;
    r.maxMemberCount = 10;
    r.voiceMode = 3;
    r.appData = QString::fromUtf8("Café 周会");
    r.autoClose = 1;
    r.moderator = "bob";
    r.startTime = "2024-05-06 10:00:00";
    r.members = {Agent_ConfNewMember{"carol", 1, 0, "Carol Zhang", "+86 10"}};
    r.duration = 60;
    r.sendInvitation = 1;
    r.extraInt1 = 71;
    r.remindBeforeStart = 10;
    r.remindBeforeEnd = 5;
    r.mediaType = 2;
    r.extraInt2 = 72;
    r.confTopic = QString::fromUtf8("预算");
    r.joinState = 4;
    r.extraText = "extra";
    r.jsonString = "{\"a\":1}";
    return r;
}

Agent_RequestUpdateConf updateRequest()
{
    Agent_RequestUpdateConf r;
    r.confId = "conf-1";
    r.ownerPassword = "o";
    r.password = "p";
    r.confName = "Name";
    r.confType = 1;
    r.maxMember = 8;
    r.voiceMode = 2;
    r.appData = "a";
    r.autoClose = 1;
    r.moderator = "m";
    r.startTime = "s";
    r.members
        = {Agent_ConfNewMember{"bob", 0, 0, "", ""}, Agent_ConfNewMember{"carol", 0, 0, "", ""}};
    r.duration = 30;
    r.sendInvitation = 1;
    r.remindBeforeStart = 4;
    r.remindBeforeEnd = 3;
    r.extraInt1 = 91;
    r.extraInt2 = 92;
    r.confTopic = "topic";
    r.joinState = 2;
    r.jsonString = "j";
    return r;
}

Agent_ConfTargetMember target(const QString &id, int number1, int deviceType)
{
    Agent_ConfTargetMember m;
    m.memberId = id;
    m.number1 = number1;
    m.deviceType = deviceType;
    return m;
}

} // namespace

class TestConfRequests : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(startEngine());
        zssim::Control::clearJournal();
        Conference_Agent *agent = Conference_Agent::instance();
        QCOMPARE(Conference_Agent::instance(), agent);
    }

    // The engine is only journaling and handing out keys: nothing answers.
    void init()
    {
        QVERIFY(startEngine());
        zssim::Control::setMode(zssim::Mode::Manual);
        zssim::Control::withServer([](zssim::ServerModel &s) {
            s.conferences.memberVideos
                << ConferenceModel::MemberVideo{"c1", "bob", 0x10, 1, 320, 240};
        });
        zssim::Control::clearJournal();
        kKey += 100;
        zssim::setNextMatchKey(kKey);
    }

    void requests_data()
    {
        QTest::addColumn<Emit>("request");
        QTest::addColumn<QString>("function");
        QTest::addColumn<QVariantList>("expectedArgs"); // the key, when one comes, follows
        QTest::addColumn<bool>("keyed");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QByteArray>("stored"); // the type kept under the key, or empty

        const Agent_RequestCreateConf create = createRequest();
        QTest::newRow("createConference")
            << Emit([create](Conference_Agent *a) { emit a->sig_createConference(create); })
            << "CreateConference"
            << QVariantList{b("owner-pw"),
                            b("join-pw"),
                            local(create.confName),
                            2,
                            10,
                            3,
                            QVariant(create.appData.toUtf8()),
                            1,
                            b("bob"),
                            b("2024-05-06 10:00:00"),
                            1,
                            60,
                            1,
                            71,
                            10,
                            5,
                            2,
                            72,
                            local(create.confTopic),
                            4,
                            b("extra"),
                            -1,
                            0,
                            b("{\"a\":1}")}
            << true << QStringList{line("slot_createConference", create.toLogString()), keyLine()}
            << QByteArray("Agent_RequestCreateConf");
        const Agent_RequestDeleteConf del{"c1", "app", "j"};
        QTest::newRow("deleteConference")
            << Emit([del](Conference_Agent *a) { emit a->sig_deleteConference(del); })
            << "DeleteConference" << QVariantList{b("c1"), b("app"), b("j")} << true
            << QStringList{"Conference_Agent::slot_deleteConference,confId=c1,appData=app,"
                           "jsonString=j",
                           keyLine()}
            << QByteArray("Agent_RequestDeleteConf");
        const Agent_RequestUpdateConf update = updateRequest();
        QTest::newRow("updateConference")
            << Emit([update](Conference_Agent *a) { emit a->sig_updateConference(update); })
            << "UpdateConference" << QVariantList{b("conf-1"),
                                                  b("o"),
                                                  b("p"),
                                                  local("Name"),
                                                  1,
                                                  8,
                                                  2,
                                                  b("a"),
                                                  1,
                                                  b("m"),
                                                  2,
                                                  b("s"),
                                                  30,
                                                  1,
                                                  4,
                                                  3,
                                                  91,
                                                  92,
                                                  local("topic"),
                                                  2,
                                                  -1,
                                                  b("j")}
            << true << QStringList{line("slot_updateConference", update.toLogString()), keyLine()}
            << QByteArray("Agent_RequestUpdateConf");
        QTest::newRow("getConferenceInfo")
            << Emit([](Conference_Agent *a) {
                   emit a->sig_getConferenceInfo({"c1", "j"});
               })
            << "GetConferenceInfo" << QVariantList{b("c1"), b("j")} << true
            << QStringList{"Conference_Agent::slot_getConferenceInfo,confId=c1,jsonString=j",
                           keyLine()}
            << QByteArray("Agent_RequestGetConfInfo");
        const Agent_RequestGetConfInfoList list{"b", "e", "m", 1, 2, 3, 4, 5, 6, 7, "x", "j"};
        QTest::newRow("getConferenceInfoList")
            << Emit([list](Conference_Agent *a) { emit a->sig_getConferenceInfoList(list); })
            << "GetConferenceInfoList"
            << QVariantList{b("b"), b("e"), b("m"), 1, 2, 3, 4, 5, 6, -1, 1, b("x"), b("j")} << true
            << QStringList{line("slot_getConferenceInfoList", list.toLogString()), keyLine()}
            << QByteArray("Agent_RequestGetConfInfoList");
        const Agent_RequestGetHistoryConfInfoList history{"b", "e", 1, 2,   3,  4,
                                                          "x", 5,   6, "y", "j"};
        QTest::newRow("getHistoryConferenceInfoList")
            << Emit([history](Conference_Agent *a) {
                   emit a->sig_getHistoryConferenceInfoList(history);
               })
            << "GetHistoryConferenceInfoList"
            << QVariantList{b("b"), b("e"), 1, 2, 3, 4, b("x"), 5, -1, 1, b("y"), b("j")} << true
            << QStringList{line("slot_getHistoryConferenceInfoList", history.toLogString()),
                           keyLine()}
            << QByteArray("Agent_RequestGetHistoryConfInfoList");
        QTest::newRow("lockConference")
            << Emit([](Conference_Agent *a) {
                   emit a->sig_lockConference({"c1", true, "j"});
               })
            << "LockConference" << QVariantList{b("c1"), 1, b("j")} << true
            << QStringList{"Conference_Agent::slot_lockConference,confId=c1,bLock=1,jsonString=j",
                           keyLine()}
            << QByteArray("Agent_RequestLockConf");
        const Agent_RequestMemberJoinConf join{"c1", "pw", "Ann", "bob", 1,    "a",
                                               2,    3,    "+86", 4,     "UA", "j"};
        QTest::newRow("memberJoinConference")
            << Emit([join](Conference_Agent *a) { emit a->sig_memberJoinConference(join); })
            << "MemberJoinConference"
            << QVariantList{b("c1"), b("pw"), b("Ann"), b("bob"), 1,       b("a"),
                            2,       3,       b("+86"), 4,        b("UA"), b("j")}
            << true
            << QStringList{"Conference_Agent::slot_memberJoinConference,confId=c1,"
                           "password=******,userName=Ann,inviter=bob,inviterIdType=1,appData=a,"
                           "mediaType=2,roleId=3,phoneNumber=+86,joinState=4,terminalUA=UA,"
                           "jsonString=j",
                           keyLine()}
            << QByteArray("Agent_RequestMemberJoinConf");
        QTest::newRow("memberQuitConference")
            << Emit([](Conference_Agent *a) {
                   emit a->sig_memberQuitConference({"c1", "a", "j"});
               })
            << "MemberQuitConference" << QVariantList{b("c1"), b("a"), b("j")} << true
            << QStringList{line("slot_memberQuitConference", "confId=c1,appData=a,jsonString=j"),
                           keyLine()}
            << QByteArray("Agent_RequestMemberQuitConf");
        const Agent_RequestUpdateConfMember member{"c1", "m", "u", 2, "a", "j", 9};
        QTest::newRow("updateConferenceMember")
            << Emit([member](Conference_Agent *a) { emit a->sig_updateConferenceMember(member); })
            << "UpdateConferenceMember"
            << QVariantList{b("c1"), b("m"), b("u"), 2, b("a"), b("j"), 9} << true
            << QStringList{line("slot_updateConferenceMember", member.toLogString()), keyLine()}
            << QByteArray("Agent_RequestUpdateConfMember");
        QTest::newRow("getConferenceMemberInfo")
            << Emit([](Conference_Agent *a) {
                   emit a->sig_getConferenceMemberInfo({"c1", "m", 2, "j"});
               })
            << "GetConferenceMemberInfo" << QVariantList{b("c1"), b("m"), 2, b("j")} << true
            << QStringList{line("slot_getConferenceMemberInfo",
                                "confId=c1,memberId=m,idType=2,jsonString=j"),
                           keyLine()}
            << QByteArray("Agent_RequestGetConfMemberInfo");
        QTest::newRow("getConferenceMemberInfoList")
            << Emit([](Conference_Agent *a) {
                   emit a->sig_getConferenceMemberInfoList({"c1", 2, 3, "j"});
               })
            << "GetConferenceMemberInfoList" << QVariantList{b("c1"), 2, 3, b("j")} << true
            << QStringList{line("slot_getConferenceMemberInfoList",
                                "confId=c1,pageNo=2,pageSize=3,jsonString=j"),
                           keyLine()}
            << QByteArray("Agent_RequestGetConfMemberInfoList");
        QTest::newRow("getHistoryConferenceMemberInfoList")
            << Emit([](Conference_Agent *a) {
                   emit a->sig_getHistoryConferenceMemberInfoList({"c1", "m", 1, 2, 3, 4, "j"});
               })
            << "GetHistoryConferenceMemberInfoList"
            << QVariantList{b("c1"), b("m"), 1, 2, 3, 4, b("j")} << true
            << QStringList{line("slot_getHistoryConferenceMemberInfoList",
                                "confId=c1,memberId=m,memberIdType=1,pageNo=2,pageSize=3,"
                                "jsonString=j"),
                           keyLine()}
            << QByteArray("Agent_RequestGetHistoryConferenceMemberInfoList");
        const Agent_RequestConfInviteMember invite{
            "c1", {Agent_ConfInviteMember{"bob", 0, 0, "", "", 5}}, 1, "a", "j"};
        QTest::newRow("conferenceInviteMember")
            << Emit([invite](Conference_Agent *a) { emit a->sig_conferenceInviteMember(invite); })
            << "ConferenceInviteMember" << QVariantList{b("c1"), 1, 1, b("a"), b("j")} << true
            << QStringList{line("slot_conferenceInviteMember",
                                "confId=c1,callImmediately=1,appData=a,jsonString=j,"
                                "inviteMembers:total=1,"),
                           keyLine()}
            << QByteArray("Agent_RequestConfInviteMember");
        // The invitation's id goes only to the log; the engine gets "" and the extra text.
        QTest::newRow("conferenceMemberRejectInvitation")
            << Emit([](Conference_Agent *a) {
                   emit a->sig_conferenceMemberRejectInvitation({"c1", "inv-7", "busy", "j"});
               })
            << "ConferenceMemberRejectInvitation" << QVariantList{b("c1"), b(""), b("busy"), b("j")}
            << true
            << QStringList{line("slot_conferenceMemberRejectInvitation",
                                "confId=c1,invitationId=inv-7,jsonString=j"),
                           keyLine()}
            << QByteArray("Agent_RequestConfMemberRejectInvitation");
        const Agent_RequestConfKickoutMember kick{
            "c1",
            {Agent_ConfKickMember{"bob", 1, 2}, Agent_ConfKickMember{"carol", 0, 0}},
            "a",
            "j",
            3};
        QTest::newRow("conferenceKickoutMember")
            << Emit([kick](Conference_Agent *a) { emit a->sig_conferenceKickoutMember(kick); })
            << "ConferenceKickoutMember" << QVariantList{b("c1"), 2, b("a"), b("j")} << true
            << QStringList{line("slot_conferenceKickoutMember", "confId=c1,appData=a,jsonString=j"),
                           keyLine()}
            << QByteArray("Agent_RequestConfKickoutMember");
        // appData is logged, not sent.
        QTest::newRow("setConferenceMemberRole")
            << Emit([](Conference_Agent *a) {
                   emit a->sig_setConferenceMemberRole({"c1", "m", 1, 2, "app", "j"});
               })
            << "SetConferenceMemberRole" << QVariantList{b("c1"), b("m"), 1, 2, b("j")} << true
            << QStringList{line("slot_setConferenceMemberRole",
                                "confId=c1,memberId=m,memberIdType=1,roleId=2,appData=app,"
                                "jsonString=j"),
                           keyLine()}
            << QByteArray("Agent_RequestSetConfMemberRole");
        const Agent_RequestConfSendCmd cmd{"c1", 0, {target("bob", 1, 2)}, "hand up", "j"};
        QTest::newRow("conferenceSendCmd")
            << Emit([cmd](Conference_Agent *a) { emit a->sig_conferenceSendCmd(cmd); })
            << "ConferenceSendCmd" << QVariantList{b("c1"), 0, 1, b("hand up"), b("j")} << true
            << QStringList{line("slot_conferenceSendCmd",
                                "confId=c1,bAllMember=0,cmdData=hand up,jsonString=j"),
                           keyLine()}
            << QByteArray("Agent_RequestConfSendCmd");
        // One line per member while the array is built, between the request and the result.
        const Agent_RequestConfMediaControl control{
            "c1", 1, 0, {target("bob", 0, 2), target("carol", 0, 3)}, 1, "a", "j"};
        QTest::newRow("conferenceMediaControl")
            << Emit([control](Conference_Agent *a) { emit a->sig_conferenceMediaControl(control); })
            << "ConferenceMediaControl" << QVariantList{b("c1"), 1, 0, 2, 1, b("a"), b("j")} << true
            << QStringList{line("slot_conferenceMediaControl",
                                "confId=c1,unchangable=1,bAllMember=0,action=1,appData=a,"
                                "jsonString=j"),
                           "Conference_Agent::slot_conferenceMediaControl,memberId=bob,"
                           "deviceType=2",
                           "Conference_Agent::slot_conferenceMediaControl,memberId=carol,"
                           "deviceType=3",
                           keyLine()}
            << QByteArray("Agent_RequestConfMediaControl");
        QTest::newRow("conferenceRecord")
            << Emit([](Conference_Agent *a) {
                   emit a->sig_conferenceRecord({"c1", {{"bob", 0}}, 1, "j"});
               })
            << "ConferenceRecord" << QVariantList{b("c1"), 1, 1, b("j")} << true
            << QStringList{line("slot_conferenceRecord", "confId=c1,action=1,jsonString=j"),
                           keyLine()}
            << QByteArray("Agent_RequestConfRecord");
        QTest::newRow("getConfRecordList")
            << Emit([](Conference_Agent *a) {
                   emit a->sig_getConfRecordList({"c1", 1, 2, 3});
               })
            << "GetConferenceRecordList" << QVariantList{b("c1"), 1, 2, 3} << true
            << QStringList{line("slot_getConfRecordList",
                                "confId=c1,historyConf=1,pageNo=2,pageSize=3"),
                           keyLine()}
            << QByteArray("Agent_RequestConfRecordList");
        QTest::newRow("conferenceStartPublishVideo")
            << Emit([](Conference_Agent *a) {
                   emit a->sig_conferenceStartPublishVideo({"c1", "j"});
               })
            << "ConferenceStartPublishVideo" << QVariantList{b("c1"), b("j")} << true
            << QStringList{line("slot_conferenceStartPublishVideo", "confId=c1,jsonString=j"),
                           keyLine()}
            << QByteArray("Agent_RequestConfStartPublishVideo");
        QTest::newRow("conferenceStopPublishVideo")
            << Emit([](Conference_Agent *a) {
                   emit a->sig_conferenceStopPublishVideo({"c1", "j"});
               })
            << "ConferenceStopPublishVideo" << QVariantList{b("c1"), b("j")} << true
            << QStringList{line("slot_conferenceStopPublishVideo", "confId=c1,jsonString=j"),
                           keyLine()}
            << QByteArray("Agent_RequestConfStopPublishVideo");
        QTest::newRow("conferenceStartScreenSharing")
            << Emit([](Conference_Agent *a) {
                   emit a->sig_conferenceStartScreenSharing({"c1", "j"});
               })
            << "ConferenceStartScreenSharing" << QVariantList{b("c1"), b("j")} << true
            << QStringList{line("slot_conferenceStartScreenSharing", "confId=c1,jsonString=j"),
                           keyLine()}
            << QByteArray("Agent_RequestConfStartScreenSharing");
        QTest::newRow("conferenceStopScreenSharing")
            << Emit([](Conference_Agent *a) {
                   emit a->sig_conferenceStopScreenSharing({"c1", "j"});
               })
            << "ConferenceStopScreenSharing" << QVariantList{b("c1"), b("j")} << true
            << QStringList{line("slot_conferenceStopScreenSharing", "confId=c1,jsonString=j"),
                           keyLine()}
            << QByteArray("Agent_RequestConfStopScreenSharing");
        // The voice requests send 0 whatever spareInt holds.
        QTest::newRow("conferenceStartPublishVoice")
            << Emit([](Conference_Agent *a) {
                   emit a->sig_conferenceStartPublishVoice({"c1", 7, "j"});
               })
            << "ConferenceStartPublishVoice" << QVariantList{b("c1"), 0, b("j")} << true
            << QStringList{line("slot_conferenceStartPublishVoice", "confId=c1,jsonString=j"),
                           keyLine()}
            << QByteArray("Agent_RequestConfStartPublishVoice");
        QTest::newRow("conferenceStopPublishVoice")
            << Emit([](Conference_Agent *a) {
                   emit a->sig_conferenceStopPublishVoice({"c1", 7, "j"});
               })
            << "ConferenceStopPublishVoice" << QVariantList{b("c1"), 0, b("j")} << true
            << QStringList{line("slot_conferenceStopPublishVoice", "confId=c1,jsonString=j"),
                           keyLine()}
            << QByteArray("Agent_RequestConfStopPublishVoice");
        // A window handle above 32 bits reaches the engine whole.
        const quintptr wide = quintptr(0x100000001ULL);
        QTest::newRow("conferenceRequestMemberVideo")
            << Emit([wide](Conference_Agent *a) {
                   emit a->sig_conferenceRequestMemberVideo(
                       {"c1", "pw", "bob", wide, 1, 640, 480, "j", 9});
               })
            << "ConferenceRequestMemberVideo"
            << QVariantList{b("c1"), b("pw"), b("bob"), handle(wide), 1, 640, 480, b("j"), 9}
            << false
            << QStringList{line("slot_conferenceRequestMemberVideo",
                                "confId=c1,confPasswd=******,member=bob,mediaSourceType=1,"
                                "width=640,height=480,jsonString=j"),
                           "nRet = 0"}
            << QByteArray();
        QTest::newRow("conferenceCancelMemberVideo")
            << Emit([](Conference_Agent *a) {
                   emit a->sig_conferenceCancelMemberVideo({"c1", "", "bob", 1, "j", 9});
               })
            << "ConferenceCancelMemberVideo" << QVariantList{b("c1"), b(""), b("bob"), 1, b("j"), 9}
            << false
            << QStringList{line("slot_conferenceCancelMemberVideo",
                                "confId=c1,confPasswd=,member=bob,mediaSourceType=1,"
                                "jsonString=j"),
                           "nRet = 0"}
            << QByteArray();
        QTest::newRow("conferenceResetMemberView")
            << Emit([wide](Conference_Agent *a) {
                   emit a->sig_conferenceResetMemberView({"c1", "bob", wide, 1, 320, 240, "j", 9});
               })
            << "ConferenceResetMemberView"
            << QVariantList{b("c1"), b("bob"), handle(wide), 1, 320, 240, b("j"), 9} << false
            << QStringList{line("slot_conferenceResetMemberView",
                                "confId=c1,member=bob,mediaSourceType=1,width:=320,height=240,"
                                "jsonString=j"),
                           "nRet = 0"}
            << QByteArray();
        // The engine hands out a key, but nothing is kept for the setting.
        QTest::newRow("conferenceAppSetting")
            << Emit([](Conference_Agent *a) { emit a->sig_conferenceAppSetting(); })
            << "ConferenceGetAppSetting" << QVariantList{b("")} << true
            << QStringList{"Conference_Agent::slot_conferenceAppSetting", "nRet = 0"}
            << QByteArray();
    }

    // Emitted on the agent's own thread, each request has run when the emit returns.
    void requests()
    {
        QFETCH(Emit, request);
        QFETCH(QString, function);
        QFETCH(QVariantList, expectedArgs);
        QFETCH(bool, keyed);
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, stored);

        TQLogCapture log;
        const int storedBefore = PendingRequestStore::instance()->size();
        request(Conference_Agent::instance());

        const QList<zssim::CallRecord> calls = zssim::Control::journal();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].function, function);
        if (keyed)
            expectedArgs << kKey;
        QCOMPARE(calls[0].args, expectedArgs);
        lines.replaceInStrings("<key>", QString::number(kKey));
        QCOMPARE(agentLines(log), lines);
        const QVariant kept = takeStored(kKey);
        QCOMPARE(QByteArray(kept.typeName()), stored);
        QCOMPARE(PendingRequestStore::instance()->size(), storedBefore);
    }

    // The stored request is the one emitted, field for field.
    void keptRequestIsACopy()
    {
        const Agent_RequestCreateConf create = createRequest();
        emit Conference_Agent::instance()->sig_createConference(create);
        QCOMPARE(takeStored(kKey).value<Agent_RequestCreateConf>(), create);
    }

    void membersReachTheEngineAsEntries()
    {
        emit Conference_Agent::instance()->sig_createConference(createRequest());
        const zssim::CallRecord call = zssim::Control::calls("CreateConference").value(0);
        QCOMPARE(call.records.size(), 1);
        QCOMPARE(call.records[0].size(), int(sizeof(ConfMemberEntry)));
        ConfMemberEntry entry;
        std::memcpy(&entry, call.records[0].constData(), sizeof entry);
        QCOMPARE(tq::readField(entry.text1), QString("carol"));
        QCOMPARE(entry.number1, 1);
        QCOMPARE(tq::readField(entry.text2), QString("Carol Zhang"));
        QCOMPARE(tq::readField(entry.text3), QString("+86 10"));

        zssim::Control::clearJournal();
        Agent_RequestCreateConf none = createRequest();
        none.members.clear();
        emit Conference_Agent::instance()->sig_createConference(none);
        const zssim::CallRecord empty = zssim::Control::calls("CreateConference").value(0);
        QVERIFY(empty.records.value(0).isNull()); // a null array
        QCOMPARE(empty.args.value(10), QVariant(0));

        zssim::Control::clearJournal();
        const Agent_RequestConfMediaControl control{"c1", 0, 0, {target("bob", 4, 2)}, 3, "", ""};
        emit Conference_Agent::instance()->sig_conferenceMediaControl(control);
        ConfTargetEntry t;
        const QByteArray bytes
            = zssim::Control::calls("ConferenceMediaControl").value(0).records.value(0);
        QCOMPARE(bytes.size(), int(sizeof t));
        std::memcpy(&t, bytes.constData(), sizeof t);
        QCOMPARE(t.number1, 4);
        QCOMPARE(t.deviceType, 2);

        zssim::Control::clearJournal();
        emit Conference_Agent::instance()->sig_conferenceRecord(
            {"c1", {{"bob", 1}, {"carol", 2}}, 1, ""});
        QCOMPARE(zssim::Control::calls("ConferenceRecord").value(0).records.value(0).size(),
                 2 * int(sizeof(_ZSConferenceRecordMemberInfo)));
    }

    // confName and confTopic travel in the local 8-bit code page, the other texts as UTF-8.
    void localCodePageForNameAndTopic()
    {
        const Agent_RequestCreateConf create = createRequest();
        emit Conference_Agent::instance()->sig_createConference(create);
        const QVariantList args = zssim::Control::calls("CreateConference").value(0).args;
        QCOMPARE(args.value(2).toByteArray(), create.confName.toLocal8Bit());
        QCOMPARE(args.value(6).toByteArray(), create.appData.toUtf8());
        QCOMPARE(args.value(18).toByteArray(), create.confTopic.toLocal8Bit());
    }

    // A refused deletion (171550) is answered by the agent itself, once, with an empty
    // request and the caller's text.
    void refusedDeletionIsAnsweredAtOnce()
    {
        zssim::Control::scriptReturn("DeleteConference", 171550, 1);
        QSignalSpy answers(Conference_Agent::instance(), &Conference_Agent::sig_onDeleteConference);
        TQLogCapture log;
        emit Conference_Agent::instance()->sig_deleteConference({"c1", "app", "caller's"});
        QCOMPARE(answers.size(), 1);
        QCOMPARE(answers[0][0].value<Agent_RequestDeleteConf>(), Agent_RequestDeleteConf());
        QCOMPARE(answers[0][1].toInt(), 171550);
        QCOMPARE(answers[0][2].toString(), QString("caller's"));
        QVERIFY(agentLines(log).contains("nRet = 171550, matchKey = 0"));

        emit Conference_Agent::instance()->sig_deleteConference({"c1", "app", "j"});
        QCOMPARE(answers.size(), 1); // accepted: the engine answers
    }

    // A request the engine refused has no key: nothing is kept for it.
    void refusedRequestIsNotKept()
    {
        zssim::Control::scriptReturn("GetConferenceInfo", ZS_ERR_BUSY, 1);
        const int before = PendingRequestStore::instance()->size();
        TQLogCapture log;
        emit Conference_Agent::instance()->sig_getConferenceInfo({"c1", "j"});
        QCOMPARE(PendingRequestStore::instance()->size(), before);
        QVERIFY(agentLines(log).contains(QString("nRet = %1, matchKey = 0").arg(ZS_ERR_BUSY)));
    }

    void cancelledVideoRefusalIsAnsweredAtOnce()
    {
        QSignalSpy answers(Conference_Agent::instance(),
                           &Conference_Agent::sig_onConferenceCancelMemberVideo);
        // Nothing shown for carol: the engine refuses.
        emit Conference_Agent::instance()->sig_conferenceCancelMemberVideo(
            {"c1", "pw", "carol", 2, "j", 0});
        QCOMPARE(answers.size(), 1);
        QCOMPARE(answers[0][0].toInt(), int(ZS_ERR_NOT_FOUND));
        QCOMPARE(answers[0][1].toString(), QString("c1"));
        QCOMPARE(answers[0][2].toString(), QString("carol"));
        QCOMPARE(answers[0][3].toInt(), 2);
        QCOMPARE(answers[0][4].toString(), QString("j"));
        // Accepted: the answer is the engine's.
        emit Conference_Agent::instance()->sig_conferenceCancelMemberVideo(
            {"c1", "", "bob", 1, "j", 0});
        QCOMPARE(answers.size(), 1);
    }

    void requestedVideoNeverAnswersFromTheSlot()
    {
        QSignalSpy answers(Conference_Agent::instance(),
                           &Conference_Agent::sig_onConferenceRequestMemberVideo);
        zssim::Control::scriptReturn("ConferenceRequestMemberVideo", ZS_ERR_BUSY, 1);
        emit Conference_Agent::instance()->sig_conferenceRequestMemberVideo(
            {"c1", "", "bob", 0, 1, 1, 1, "", 0});
        emit Conference_Agent::instance()->sig_conferenceRequestMemberVideo(
            {"c1", "", "bob", 0, 1, 1, 1, "", 0});
        QCOMPARE(zssim::Control::callCount("ConferenceRequestMemberVideo"), 2);
        QCOMPARE(answers.size(), 0);
    }

    // An answer faster than the slot that issued its request still finds the request: the
    // answer waits until the request is stored.
    void answerFasterThanTheStore()
    {
        const unsigned int key = kKey + 7;
        std::atomic_bool taking{false};
        QVariant taken;
        std::thread answer;
        {
            const tq::PendingIssue issuing;
            answer = std::thread([&] {
                taking = true;
                tq::takePending(key, taken);
            });
            while (!taking) // the answer is on its way before the request is stored
                std::this_thread::yield();
            PendingRequestStore::instance()->insert(
                key, QVariant::fromValue(Agent_RequestGetConfInfo{"c1", ""}));
        }
        answer.join();
        QCOMPARE(taken.value<Agent_RequestGetConfInfo>().confId, QString("c1"));
        QVERIFY(!takeStored(key).isValid()); // taken once
    }

    // The agent stays on the thread that made it: a request from elsewhere waits for it.
    void requestsFromOtherThreadsAreQueued()
    {
        QCOMPARE(Conference_Agent::instance()->thread(), QThread::currentThread());
        std::thread other([] {
            emit Conference_Agent::instance()->sig_getConferenceInfo({"c9", ""});
        });
        other.join();
        QCOMPARE(zssim::Control::callCount("GetConferenceInfo"), 0);
        QTRY_COMPARE(zssim::Control::callCount("GetConferenceInfo"), 1);
    }

    void oneAgentForEveryThread()
    {
        std::atomic<Conference_Agent *> seen[4] = {};
        std::vector<std::thread> threads;
        for (auto &slot : seen)
            threads.emplace_back([&slot] { slot = Conference_Agent::instance(); });
        for (auto &t : threads)
            t.join();
        for (auto &slot : seen)
            QCOMPARE(slot.load(), Conference_Agent::instance());
    }

    // Registered once per engine start: 37 entries, the other 20 empty.
    void callbackTable()
    {
        zssim::Control::setMode(zssim::Mode::Automatic);
        TQLogCapture log;
        QVERIFY(startEngine());
        QCOMPARE(zssim::Control::callCount("SetConfCallBackFuction"), 1);
        QVERIFY(log.texts(TQLog::Info).contains("Conference_CallBack::initConferenceCallBack"));
        const ZS_ConfCallBack *table = zssim::Control::table<ZS_ConfCallBack>();
        QVERIFY(table);
        QCOMPARE(table, Conference_CallBack::instance()->table());
        QCOMPARE(sizeof(ZS_ConfCallBack), 57 * sizeof(ZS_Callback));
        const auto entries = reinterpret_cast<const ZS_Callback *>(table);
        const QList<int> empty{1,  5,  16, 28, 35, 36, 43, 44, 45, 46,
                               47, 48, 49, 50, 51, 52, 53, 54, 55, 56};
        for (int i = 0; i < 57; ++i)
            QVERIFY2((entries[i] == nullptr) == empty.contains(i), qPrintable(QString::number(i)));
    }
};

QObject *newTestConfRequests()
{
    return new TestConfRequests;
}

#include "tst_conf_requests.moc"
