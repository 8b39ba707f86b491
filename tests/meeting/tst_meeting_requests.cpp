// Meeting_Agent's requests: each slot's engine function with its arguments in order and its
// log line, member lists (none, three in order, released after the call), the accept record,
// UTF-8 texts, window handles, a refused join, the invite slot's debug line, and order.

#include "MeetingTestSupport.h"

#include <QThread>

#include <functional>

#if defined(__SANITIZE_ADDRESS__)
#define TQ_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TQ_TEST_ASAN 1
#endif
#endif

#ifdef TQ_TEST_ASAN
#include <sanitizer/asan_interface.h>
#else
#include <malloc.h>
#endif

using MeetingEmit = std::function<void(Meeting_Agent *)>;
Q_DECLARE_METATYPE(MeetingEmit)

namespace {

QVariantList args(std::initializer_list<QVariant> values)
{
    return QVariantList(values);
}

QByteArray text(const char *utf8)
{
    return QByteArray(utf8);
}

void *handle(quintptr value)
{
    return reinterpret_cast<void *>(value);
}

const QList<QString> &three()
{
    static const QList<QString> members{QStringLiteral("bob"), QStringLiteral("carol"),
                                        QString::fromUtf8("张三")};
    return members;
}

#ifndef TQ_TEST_ASAN
// Bytes the C heap holds for the program now.
qint64 heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks) + qint64(info.hblkhd);
}
#endif

} // namespace

class TestMeetingRequests : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(startEngine());
        zssim::Control::clearJournal();
    }

    void cleanup() { zssim::Control::setJournaling(true); }

    // Every request: the engine function, its arguments in order, and the one line the slot
    // logs with what the engine returned (a refusal here, to tell it from a constant 0).
    void requests_data()
    {
        QTest::addColumn<MeetingEmit>("request");
        QTest::addColumn<QString>("function");
        QTest::addColumn<QVariantList>("expectedArgs");
        QTest::addColumn<QString>("logLine");

        const QByteArray zhang = QString::fromUtf8("张三").toUtf8();
        QTest::newRow("requestConferenceMemberVideo") << MeetingEmit([](Meeting_Agent *a) {
            emit a->sig_requestConferenceMemberVideo("meeting-1", "pw", "bob", handle(0xBEEF), 1);
        }) << "RequestConferenceMemberVideo"
                                                      << args({text("meeting-1"), text("pw"),
                                                               text("bob"), qulonglong(0xBEEF), 1})
                                                      << "Meeting_Agent::slot_"
                                                         "requestConferenceMemberVideo,ret=1006";
        QTest::newRow("cancelMemberVideo") << MeetingEmit([](Meeting_Agent *a) {
            emit a->sig_cancelMemberVideo("meeting-1", "pw", "bob", 2);
        }) << "CancelMemberVideo" << args({text("meeting-1"), text("pw"), text("bob"), 2})
                                           << "Meeting_Agent::slot_cancelMemberVideo,ret=1006";
        QTest::newRow("resetVideoConfWindow")
            << MeetingEmit([](Meeting_Agent *a) {
                   emit a->sig_resetVideoConfWindow("meeting-1", "bob", handle(0xCAFE), 1);
               })
            << "ResetVideoConfWindow"
            << args({text("meeting-1"), text("bob"), qulonglong(0xCAFE), 1})
            << "Meeting_Agent::slot_resetVideoConfWindow,ret=1006";
        QTest::newRow("setMultiMediaMeetingBeforeCreate")
            << MeetingEmit([](Meeting_Agent *a) {
                   emit a->sig_setMultiMediaMeetingBeforeCreate(3, "server-data", "reserved");
               })
            << "SetMultiMediaMeetingBeforeCreate"
            << args({3, text("server-data"), text("reserved")})
            << "Meeting_Agent::slot_setMultiMediaMeetingBeforeCreate,ret=1006";
        QTest::newRow("createMultimediaMeeting")
            << MeetingEmit([](Meeting_Agent *a) {
                   emit a->sig_createMultimediaMeeting(2, "Weekly", "pw", "sync", 1, 8, true, false,
                                                       true);
               })
            << "CreateMultimediaMeeting"
            << args({2, text("Weekly"), text("pw"), text("sync"), 1, 8, 1, 0, 1})
            << "Meeting_Agent::slot_createMultimediaMeeting,ret=1006";
        QTest::newRow("joinMeeting")
            << MeetingEmit([](Meeting_Agent *a) { emit a->sig_joinMeeting(1, "meeting-4", "pw"); })
            << "JoinMeeting" << args({1, text("meeting-4"), text("pw")})
            << "Meeting_Agent::slot_joinMeeting,ret=1006";
        QTest::newRow("acceptMeeting") << MeetingEmit([](Meeting_Agent *a) {
            emit a->sig_acceptMeeting(2, "meeting-4", "invite-1", "bob", "Bob Li", "8002", "ud");
        }) << "AcceptMeeting" << args({})
                                       << "Meeting_Agent::slot_acceptMeeting,ret=1006";
        QTest::newRow("exitMeeting")
            << MeetingEmit([](Meeting_Agent *a) { emit a->sig_exitMeeting("meeting-4"); })
            << "ExitMeeting" << args({text("meeting-4")})
            << "Meeting_Agent::slot_exitMeeting,ret=1006";
        QTest::newRow("queryMeetingMembers") << MeetingEmit([](Meeting_Agent *a) {
            emit a->sig_queryMeetingMembers(2, "meeting-4");
        }) << "QueryMeetingMembers" << args({2, text("meeting-4")})
                                             << "Meeting_Agent::slot_queryMeetingMembers,ret=1006";
        QTest::newRow("dismissMultiMediaMeeting")
            << MeetingEmit(
                   [](Meeting_Agent *a) { emit a->sig_dismissMultiMediaMeeting(1, "meeting-4"); })
            << "DismissMultiMediaMeeting" << args({1, text("meeting-4")})
            << "Meeting_Agent::slot_dismissMultiMediaMeeting,ret=1006";
        QTest::newRow("queryMultiMediaMeetings")
            << MeetingEmit([](Meeting_Agent *a) { emit a->sig_queryMultiMediaMeetings(0, "sync"); })
            << "QueryMultiMediaMeetings" << args({0, text("sync")})
            << "Meeting_Agent::slot_queryMultiMediaMeetings,ret=1006";
        QTest::newRow("setMultimediaMeetingBeforeInviteJoin")
            << MeetingEmit([](Meeting_Agent *a) {
                   emit a->sig_setMultimediaMeetingBeforeInviteJoin("invite-data");
               })
            << "setMultimediaMeetingBeforeInviteJoin" << args({text("invite-data")})
            << "Meeting_Agent::slot_setMultimediaMeetingBeforeInviteJoin,ret=1006";
        QTest::newRow("inviteJoinMultiMediaMeeting")
            << MeetingEmit([](Meeting_Agent *a) {
                   emit a->sig_inviteJoinMultiMediaMeeting("meeting-4", three(), true, false, true,
                                                           "8001", "ud");
               })
            << "InviteJoinMultiMediaMeeting"
            << args({text("meeting-4"), text("bob"), text("carol"), zhang, 3, 1, 0, 1, text("8001"),
                     text("ud")})
            << "Meeting_Agent::slot_inviteJoinMultiMediaMeeting,ret=1006";
        QTest::newRow("deleteMemberMultiMediaMeeting")
            << MeetingEmit([](Meeting_Agent *a) {
                   emit a->sig_deleteMemberMultiMediaMeeting(2, "meeting-4", "carol", true);
               })
            << "DeleteMemberMultiMediaMeeting" << args({2, text("meeting-4"), text("carol"), 1})
            << "Meeting_Agent::slot_deleteMemberMultiMediaMeeting,ret=1006";
        QTest::newRow("publishVideo")
            << MeetingEmit([](Meeting_Agent *a) { emit a->sig_publishVideo("meeting-4"); })
            << "PublishVideo" << args({text("meeting-4")})
            << "Meeting_Agent::slot_publishVideo,ret=1006";
        QTest::newRow("unpublishVideo")
            << MeetingEmit([](Meeting_Agent *a) { emit a->sig_unpublishVideo("meeting-4"); })
            << "UnpublishVideo" << args({text("meeting-4")})
            << "Meeting_Agent::slot_unpublishVideo,ret=1006";
        QTest::newRow("createInterphoneMeeting")
            << MeetingEmit([](Meeting_Agent *a) { emit a->sig_createInterphoneMeeting(three()); })
            << "CreateInterphoneMeeting" << args({text("bob"), text("carol"), zhang, 3})
            << "Meeting_Agent::slot_createInterphoneMeeting,ret=1006";
        QTest::newRow("createInterphoneMeetingBackground")
            << MeetingEmit([](Meeting_Agent *a) {
                   emit a->sig_createInterphoneMeetingBackground({"carol"}, 2);
               })
            << "CreateInterphoneMeetingBackground" << args({text("carol"), 1, 2})
            << "Meeting_Agent::slot_createInterphoneMeetingBackground,ret=1006";
        QTest::newRow("controlInterphoneMic")
            << MeetingEmit(
                   [](Meeting_Agent *a) { emit a->sig_controlInterphoneMic(true, "interphone-2"); })
            << "ControlInterphoneMic" << args({1, text("interphone-2")})
            << "Meeting_Agent::slot_controlInterphoneMic,ret=1006";
        QTest::newRow("setMeetingSpeakListen")
            << MeetingEmit([](Meeting_Agent *a) {
                   emit a->sig_setMeetingSpeakListen(2, "meeting-4", "bob", false, 1);
               })
            << "SetMeetingSpeakListen" << args({2, text("meeting-4"), text("bob"), 0, 1})
            << "Meeting_Agent::slot_setMeetingSpeakListen,ret=1006";
    }

    void requests()
    {
        QFETCH(MeetingEmit, request);
        QFETCH(QString, function);
        QFETCH(QVariantList, expectedArgs);
        QFETCH(QString, logLine);

        zssim::Control::scriptReturn(function, ZS_ERR_BUSY, 1);
        TQLogCapture log;
        request(Meeting_Agent::instance());
        QVERIFY(drain());
        const QList<zssim::CallRecord> calls = zssim::Control::journal();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].function, function);
        QCOMPARE(calls[0].args, expectedArgs);
        QCOMPARE(agentLines(log), QStringList{logLine});
        // A refused request is only logged: nothing answers it.
        QCOMPARE(log.texts(TQLog::Error), QStringList());
        QCOMPARE(log.texts().size(), 1);
    }

    // Each list slot with an empty list: no engine call and no line.
    void emptyListsDoNothing()
    {
        TQLogCapture log;
        Meeting_Agent *agent = Meeting_Agent::instance();
        emit agent->sig_createInterphoneMeeting({});
        emit agent->sig_createInterphoneMeetingBackground({}, 1);
        emit agent->sig_inviteJoinMultiMediaMeeting("meeting-1", {}, false, true, true, "", "");
        QVERIFY(drain());
        QCOMPARE(zssim::Control::journal().size(), 0);
        QCOMPARE(log.texts(), QStringList());
    }

    // Three members reach the engine as three separate NUL-terminated UTF-8 copies in list
    // order, with the count 3, and every copy is released once the call returns.
    void threeMembersInOrderReleased()
    {
        emit Meeting_Agent::instance()->sig_createInterphoneMeeting(three());
        QVERIFY(drain());
        const auto calls = zssim::Control::calls("CreateInterphoneMeeting");
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].args.mid(0, 4),
                 args({text("bob"), text("carol"), QString::fromUtf8("张三").toUtf8(), 3}));
        const MeetingModel::MemberArray seen = meetings().lastMemberArray;
        QVERIFY(seen.array != 0);
        QCOMPARE(seen.texts.size(), 3);
        QVERIFY(seen.texts[0] != seen.texts[1] && seen.texts[1] != seen.texts[2]);
#ifdef TQ_TEST_ASAN
        // Released memory stays poisoned while it waits in ASan's quarantine.
        QVERIFY(__asan_address_is_poisoned(reinterpret_cast<void *>(seen.array)));
        for (quintptr t : seen.texts)
            QVERIFY(__asan_address_is_poisoned(reinterpret_cast<void *>(t)));
#else
        // A copy kept after the call would pile up: 100 lists of three 64 KiB members hold
        // nearly 20 MB when nothing is released.
        zssim::Control::scriptReturn("CreateInterphoneMeeting", ZS_ERR_BUSY);
        zssim::Control::setJournaling(false);
        const QList<QString> big{QString(65536, QLatin1Char('b')), QString(65536, QLatin1Char('c')),
                                 QString(65536, QLatin1Char('d'))};
        Meeting_Agent *agent = Meeting_Agent::instance();
        emit agent->sig_createInterphoneMeeting(big); // the heap settles first
        QVERIFY(drain());
        const qint64 before = heapInUse();
        for (int i = 0; i < 100; ++i)
            emit agent->sig_createInterphoneMeeting(big);
        QVERIFY(drain());
        QVERIFY2(heapInUse() - before < 4 * 1024 * 1024,
                 qPrintable(QString::number(heapInUse() - before)));
#endif
    }

    // Invitations hand over their members the same way.
    void inviteMembersInOrder()
    {
        emit Meeting_Agent::instance()->sig_inviteJoinMultiMediaMeeting("meeting-1", three(), false,
                                                                        true, true, "", "");
        QVERIFY(drain());
        const auto calls = zssim::Control::calls("InviteJoinMultiMediaMeeting");
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].args.mid(1, 4),
                 args({text("bob"), text("carol"), QString::fromUtf8("张三").toUtf8(), 3}));
        QCOMPARE(meetings().lastMemberArray.texts.size(), 3);
    }

    // The accept record as the engine receives it: 4512 bytes, a 200-character display cut
    // to its first 20 bytes and a NUL, the user data after it intact.
    void acceptRecordReachesEngine()
    {
        const QString nickname = QString::fromUtf8("Bob 李");
        emit Meeting_Agent::instance()->sig_acceptMeeting(
            2, "meeting-9", "invite-4", "bob", nickname, QString(200, QChar('7')), "user data");
        QVERIFY(drain());
        const auto calls = zssim::Control::calls("AcceptMeeting");
        QCOMPARE(calls.size(), 1);
        const QByteArray record = calls[0].records.value(0);
        QCOMPARE(record.size(), 4512);
        QCOMPARE(record.mid(4, 10), QByteArray("meeting-9\0", 10));
        QCOMPARE(record.mid(133, 9), QByteArray("invite-4\0", 9));
        QCOMPARE(record.mid(198, 4), QByteArray("bob\0", 4));
        QCOMPARE(record.mid(263, nickname.toUtf8().size() + 1), nickname.toUtf8() + '\0');
        QCOMPARE(record.mid(392, 20), QByteArray(20, '7'));
        QCOMPARE(record.at(412), '\0');
        QCOMPARE(record.mid(413, 10), QByteArray("user data\0", 10));
        QCOMPARE(record.mid(4510), QByteArray(2, '\0'));
    }

    // A meeting name with non-ASCII characters reaches the engine as UTF-8.
    void nonAsciiMeetingName()
    {
        const QString name = QString::fromUtf8("周会 – Q3 评审 🎯");
        emit Meeting_Agent::instance()->sig_createMultimediaMeeting(1, name, "", "", 0, 0, false,
                                                                    false, false);
        QVERIFY(drain());
        const auto calls = zssim::Control::calls("CreateMultimediaMeeting");
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].args.at(1).toByteArray(), name.toUtf8());
    }

    // The engine refuses a join: one line with the code, and no signal.
    void refusedJoin()
    {
        TextInbox joined(&Meeting_Agent::sig_onJoinMeeting);
        zssim::Control::scriptReturn("JoinMeeting", ZS_ERR_NOT_LOGGED_IN, 1);
        TQLogCapture log;
        emit Meeting_Agent::instance()->sig_joinMeeting(1, "meeting-1", "");
        QVERIFY(drain());
        QVERIFY(drain());
        QCOMPARE(log.texts(), QStringList{"Meeting_Agent::slot_joinMeeting,ret=1003"});
        QCOMPARE(joined.count(), 0);
    }

    // The invite slot also writes its result to the debug stream.
    void inviteDebugLine()
    {
        zssim::Control::scriptReturn("InviteJoinMultiMediaMeeting", ZS_ERR_BUSY, 1);
        QTest::ignoreMessage(QtDebugMsg,
                             "Meeting_Agent::slot_inviteJoinMultiMediaMeeting ret: 1006");
        emit Meeting_Agent::instance()->sig_inviteJoinMultiMediaMeeting("meeting-1", {"bob"}, false,
                                                                        true, true, "", "");
        QVERIFY(drain());
    }

    // Requests emitted back to back reach the engine in the order emitted, on the worker.
    void emissionOrder()
    {
        Meeting_Agent *agent = Meeting_Agent::instance();
        QVERIFY(agent->thread() != QThread::currentThread());
        emit agent->sig_publishVideo("meeting-1");
        emit agent->sig_exitMeeting("meeting-1");
        emit agent->sig_queryMultiMediaMeetings(0, "");
        emit agent->sig_unpublishVideo("meeting-1");
        QVERIFY(drain());
        QStringList functions;
        for (const zssim::CallRecord &call : zssim::Control::journal())
            functions << call.function;
        QCOMPARE(functions,
                 (QStringList{"PublishVideo", "ExitMeeting", "QueryMultiMediaMeetings",
                              "UnpublishVideo"}));
    }
};

QObject *newTestMeetingRequests()
{
    return new TestMeetingRequests;
}

#include "tst_meeting_requests.moc"
