// Meeting_CallBackProxy: the meeting table filled from one list, each engine event turned into
// its result signal (records intact on the main thread, only the callback's name logged), and
// what a faulty engine hands over: null records, texts and arrays, odd counts, fields without
// a NUL.

#include "MeetingTestSupport.h"

#include <MeetingConvert.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

using FireEvent = std::function<void()>;
Q_DECLARE_METATYPE(FireEvent)

namespace {

using M = ZS_MeetingCallBack;

template<class Record> std::unique_ptr<Record> zeroed()
{
    std::unique_ptr<Record> r(new Record);
    std::memset(static_cast<void *>(r.get()), 0, sizeof(Record));
    return r;
}

bool settle()
{
    return zssim::Control::waitIdle() && drain();
}

const char *const kNoText = nullptr;

// Records fired by hand; kept alive until the engine's thread has run the callbacks.
struct Fixtures
{
    std::unique_ptr<ZS_InterphoneMsg> interphone = zeroed<ZS_InterphoneMsg>();
    std::unique_ptr<ZS_MeetingInvitation> invitation = zeroed<ZS_MeetingInvitation>();
    std::unique_ptr<ZS_VoiceMeetingMsg> voice = zeroed<ZS_VoiceMeetingMsg>();
    std::unique_ptr<ZS_VideoMeetingMsg> video = zeroed<ZS_VideoMeetingMsg>();
    std::unique_ptr<ZS_MeetingInfo> meeting = zeroed<ZS_MeetingInfo>();
    std::vector<ZS_MeetingMemberInfo> members = std::vector<ZS_MeetingMemberInfo>(2);
    std::vector<ZS_MeetingInfo> meetings = std::vector<ZS_MeetingInfo>(2);
    std::unique_ptr<ZS_MeetingDeleteMemberInfo> removed = zeroed<ZS_MeetingDeleteMemberInfo>();
    std::unique_ptr<ZS_MeetingInviteResult> invited = zeroed<ZS_MeetingInviteResult>();
    std::unique_ptr<ZS_MeetingSpeakListenInfo> setting = zeroed<ZS_MeetingSpeakListenInfo>();
};

Fixtures &fixtures()
{
    static Fixtures f;
    return f;
}

} // namespace

class TestMeetingCallbacks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(startEngine());
        zssim::Control::clearJournal();
        Meeting_Agent *agent = Meeting_Agent::instance();
        QCOMPARE(Meeting_Agent::instance(), agent);
        Meeting_CallBackProxy::instance()->registerCallbacks();
        QCOMPARE(zssim::Control::callCount("SetMeetingCallBackFuction"), 1);
        const ZS_MeetingCallBack *table = zssim::Control::table<ZS_MeetingCallBack>();
        QVERIFY(table);
        QCOMPARE(table, Meeting_CallBackProxy::instance()->table());
        // Entries 0 to 19 filled, 20 to 23 null.
        ZS_Callback entries[24];
        std::memcpy(entries, table, sizeof entries);
        for (int i = 0; i < 24; ++i)
            QVERIFY2((entries[i] != nullptr) == (i < 20), qPrintable(QString::number(i)));
    }

    void init() { QVERIFY(startEngine()); }

    // Every callback logs exactly its qualified name, nothing of its arguments, and emits its
    // signal once.
    void eachCallbackLogsItsName_data()
    {
        QTest::addColumn<FireEvent>("fire");
        QTest::addColumn<QByteArray>("signalName");
        QTest::addColumn<QString>("line");

        Fixtures &f = fixtures();
        using C = zssim::Control;
        const auto row = [](const char *name, FireEvent fire, const char *signalName) {
            QTest::newRow(name) << fire << QByteArray(signalName)
                                << QStringLiteral("Meeting_CallBackProxy::callback_%1").arg(name);
        };
        row(
            "onCreateInterphoneMeeting",
            [] { C::fire(&M::onCreateInterphoneMeeting, 1u, 200, "interphone-1"); },
            SIGNAL(sig_onCreateInterphoneMeeting(int, QString)));
        row(
            "onControlInterphoneMic",
            [] {
                C::fire(&M::onControlInterphoneMic, 2u, 200, "alice", "interphone-1", ZS_Bool8(1));
            },
            SIGNAL(sig_onControlInterphoneMic(int, QString, QString, bool)));
        row(
            "onReceiveInterphoneMeetingMessage",
            [&f] {
                C::fire(&M::onReceiveInterphoneMeetingMessage,
                        static_cast<const ZS_InterphoneMsg *>(f.interphone.get()));
            },
            SIGNAL(sig_onReceiveInterphoneMeetingMessage(Agent_InterphoneMsg)));
        row(
            "onMeetingInviteIncoming",
            [&f] {
                C::fire(&M::onMeetingInviteIncoming,
                        static_cast<const ZS_MeetingInvitation *>(f.invitation.get()));
            },
            SIGNAL(sig_onMeetingInviteIncoming(Agent_MeetingComingInfo)));
        row(
            "onReceiveVoiceMeetingMessage",
            [&f] {
                C::fire(&M::onReceiveVoiceMeetingMessage,
                        static_cast<const ZS_VoiceMeetingMsg *>(f.voice.get()));
            },
            SIGNAL(sig_onReceiveVoiceMeetingMessage(Agent_VoiceMeetingMsg)));
        row(
            "onReceiveVideoMeetingMessage",
            [&f] {
                C::fire(&M::onReceiveVideoMeetingMessage,
                        static_cast<const ZS_VideoMeetingMsg *>(f.video.get()));
            },
            SIGNAL(sig_onReceiveVideoMeetingMessage(Agent_VideoMeetingMsg)));
        row(
            "onCreateMultimediaMeeting",
            [&f] {
                C::fire(&M::onCreateMultimediaMeeting, 3u, 200,
                        static_cast<const ZS_MeetingInfo *>(f.meeting.get()));
            },
            SIGNAL(sig_onCreateMultimediaMeeting(int, Agent_MeetingInfo)));
        row(
            "onJoinMeeting", [] { C::fire(&M::onJoinMeeting, 200, "meeting-1"); },
            SIGNAL(sig_onJoinMeeting(int, QString)));
        row(
            "onQueryMeetingMembers",
            [&f] {
                C::fire(&M::onQueryMeetingMembers, 4u, 200, "meeting-1", 2,
                        static_cast<const ZS_MeetingMemberInfo *>(f.members.data()));
            },
            SIGNAL(sig_onQueryMeetingMembers(int, QString, QList<Agent_MeetingMemberInfo>)));
        row(
            "onDismissMultiMediaMeeting",
            [] { C::fire(&M::onDismissMultiMediaMeeting, 5u, 200, "meeting-1"); },
            SIGNAL(sig_onDismissMultiMediaMeeting(int, QString)));
        row(
            "onQueryMultiMediaMeetings",
            [&f] {
                C::fire(&M::onQueryMultiMediaMeetings, 6u, 200, 2,
                        static_cast<const ZS_MeetingInfo *>(f.meetings.data()));
            },
            SIGNAL(sig_onQueryMultiMediaMeetings(int, QList<Agent_MeetingInfo>)));
        row(
            "onDeleteMemberMultiMediaMeeting",
            [&f] {
                C::fire(&M::onDeleteMemberMultiMediaMeeting, 7u, 200,
                        static_cast<const ZS_MeetingDeleteMemberInfo *>(f.removed.get()));
            },
            SIGNAL(sig_onDeleteMemberMultiMediaMeeting(int, Agent_MeetingDeleteMemberInfo)));
        row(
            "onInviteJoinMultiMediaMeeting",
            [&f] {
                C::fire(&M::onInviteJoinMultiMediaMeeting, 8u, 200,
                        static_cast<const ZS_MeetingInviteResult *>(f.invited.get()));
            },
            SIGNAL(sig_onInviteJoinMultiMediaMeeting(int, Agent_MeetingInviteInfo)));
        row(
            "onPublishVideo", [] { C::fire(&M::onPublishVideo, 9u, 200, "meeting-1"); },
            SIGNAL(sig_onPublishVideo(int, QString)));
        row(
            "onUnpublishVideo", [] { C::fire(&M::onUnpublishVideo, 10u, 200, "meeting-1"); },
            SIGNAL(sig_onUnpublishVideo(int, QString)));
        row(
            "onRequestConferenceMemberVideo",
            [] { C::fire(&M::onRequestConferenceMemberVideo, 200, "meeting-1", "bob", 1); },
            SIGNAL(sig_onRequestConferenceMemberVideo(int, QString, QString, int)));
        row(
            "onCancelConferenceMemberVideo",
            [] { C::fire(&M::onCancelConferenceMemberVideo, 200, "meeting-1", "bob", 1); },
            SIGNAL(sig_onCancelConferenceMemberVideo(int, QString, QString, int)));
        row(
            "onExitMeeting", [] { C::fire(&M::onExitMeeting, "meeting-1"); },
            SIGNAL(sig_onExitMeeting(QString)));
        row(
            "onExitInterphoneMeeting", [] { C::fire(&M::onExitInterphoneMeeting, "interphone-1"); },
            SIGNAL(sig_onExitInterphoneMeeting(QString)));
        row(
            "onSetMeetingSpeakListen",
            [&f] {
                C::fire(&M::onSetMeetingSpeakListen, 11u, 200,
                        static_cast<const ZS_MeetingSpeakListenInfo *>(f.setting.get()));
            },
            SIGNAL(sig_onSetMeetingSpeakListen(int, Agent_MeetingMemberSpeakListenInfo)));
    }

    void eachCallbackLogsItsName()
    {
        QFETCH(FireEvent, fire);
        QFETCH(QByteArray, signalName);
        QFETCH(QString, line);
        QSignalSpy spy(Meeting_Agent::instance(), signalName.constData());
        QVERIFY(spy.isValid());
        TQLogCapture log;
        fire();
        QVERIFY(settle());
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(log.texts(), QStringList{line});
    }

    void interphoneResults()
    {
        MeetingInbox<int, QString> created(&Meeting_Agent::sig_onCreateInterphoneMeeting);
        MeetingInbox<int, QString, QString, bool> mic(&Meeting_Agent::sig_onControlInterphoneMic);
        MeetingInbox<QString> exited(&Meeting_Agent::sig_onExitInterphoneMeeting);
        zssim::Control::fire(&M::onCreateInterphoneMeeting, 1u, 486, "interphone-9");
        // A flag byte other than 0 and 1 is still true.
        zssim::Control::fire(&M::onControlInterphoneMic, 2u, 486, "bob", "interphone-9",
                             ZS_Bool8(158));
        zssim::Control::fire(&M::onControlInterphoneMic, 3u, 200, kNoText, kNoText, ZS_Bool8(0));
        zssim::Control::fire(&M::onExitInterphoneMeeting, kNoText);
        QVERIFY(settle());
        QTRY_COMPARE(exited.count(), 1);
        QCOMPARE(created.arg<0>(0), 486);
        QCOMPARE(created.arg<1>(0), QString("interphone-9"));
        QCOMPARE(created.threads[0], QThread::currentThread());
        QCOMPARE(mic.count(), 2);
        QCOMPARE(mic.entries[0],
                 std::make_tuple(486, QString("bob"), QString("interphone-9"), true));
        QVERIFY(mic.arg<1>(1).isNull() && mic.arg<2>(1).isNull());
        QCOMPARE(mic.arg<3>(1), false);
        QVERIFY(exited.arg<0>(0).isNull());
    }

    // A null conference id arrives as a null text, not an empty one.
    void nullTexts()
    {
        TextInbox joined(&Meeting_Agent::sig_onJoinMeeting);
        TextInbox published(&Meeting_Agent::sig_onPublishVideo);
        MeetingInbox<int, QString, QString, int> video(
            &Meeting_Agent::sig_onRequestConferenceMemberVideo);
        zssim::Control::fire(&M::onJoinMeeting, 404, kNoText);
        zssim::Control::fire(&M::onJoinMeeting, 200, "");
        zssim::Control::fire(&M::onPublishVideo, 1u, 200, kNoText);
        zssim::Control::fire(&M::onRequestConferenceMemberVideo, 404, kNoText, kNoText, -1);
        QVERIFY(settle());
        QTRY_COMPARE(joined.count(), 2);
        QCOMPARE(joined.arg<0>(0), 404);
        QVERIFY(joined.arg<1>(0).isNull());
        QVERIFY(!joined.arg<1>(1).isNull() && joined.arg<1>(1).isEmpty());
        QVERIFY(published.arg<1>(0).isNull());
        QCOMPARE(video.arg<3>(0), -1);
        QVERIFY(video.arg<1>(0).isNull() && video.arg<2>(0).isNull());
    }

    // A non-ASCII nickname in an invitation arrives decoded from UTF-8, the rest intact.
    void invitationDecoded()
    {
        MeetingInbox<Agent_MeetingComingInfo> invitations(
            &Meeting_Agent::sig_onMeetingInviteIncoming);
        auto r = zeroed<ZS_MeetingInvitation>();
        r->meetingType = 2;
        std::strcpy(r->conferenceId, "meeting-3");
        std::strcpy(r->callid, "invite-1");
        std::strcpy(r->caller, "bob");
        const QByteArray nickname = QString::fromUtf8("李波 Bob 🎉").toUtf8();
        std::strcpy(r->nickname, nickname.constData());
        std::memset(r->display, '8', sizeof r->display); // no NUL
        std::strcpy(r->sdkUserData, "{\"k\":1}");
        zssim::Control::fire(&M::onMeetingInviteIncoming,
                             static_cast<const ZS_MeetingInvitation *>(r.get()));
        QVERIFY(settle());
        QTRY_COMPARE(invitations.count(), 1);
        const Agent_MeetingComingInfo info = invitations.arg<0>(0);
        QCOMPARE(info.meetingType, 2);
        QCOMPARE(info.conferenceId, QString("meeting-3"));
        QCOMPARE(info.callid, QString("invite-1"));
        QCOMPARE(info.caller, QString("bob"));
        QCOMPARE(info.nickname, QString::fromUtf8("李波 Bob 🎉"));
        QCOMPARE(info.display, QString(21, QLatin1Char('8')));
        QCOMPARE(info.sdkUserData, QString("{\"k\":1}"));
    }

    // Member lists: 0 members gives the id and an empty list; elements are read in order,
    // one record apart; a null array or a negative count is an empty list.
    void memberLists()
    {
        MeetingInbox<int, QString, QList<Agent_MeetingMemberInfo>> lists(
            &Meeting_Agent::sig_onQueryMeetingMembers);
        std::vector<ZS_MeetingMemberInfo> three(3); // zero-filled
        for (int i = 0; i < 3; ++i) {
            three[std::size_t(i)].number1 = i + 1;
            std::snprintf(three[std::size_t(i)].text3, sizeof three[0].text3, "member-%d", i);
            three[std::size_t(i)].flag2 = ZS_Bool8(i == 1);
        }
        std::strcpy(three[2].text1, "12345678"); // 8 characters and the NUL
        const ZS_MeetingMemberInfo *none = nullptr;
        zssim::Control::fire(&M::onQueryMeetingMembers, 1u, 200, "meeting-1", 0, none);
        zssim::Control::fire(&M::onQueryMeetingMembers, 2u, 200, "meeting-1", 3,
                             static_cast<const ZS_MeetingMemberInfo *>(three.data()));
        zssim::Control::fire(&M::onQueryMeetingMembers, 3u, 404, "meeting-1", 3, none);
        zssim::Control::fire(&M::onQueryMeetingMembers, 4u, 200, "meeting-1", -2,
                             static_cast<const ZS_MeetingMemberInfo *>(three.data()));
        QVERIFY(settle());
        QTRY_COMPARE(lists.count(), 4);
        QCOMPARE(lists.arg<0>(0), 200);
        QCOMPARE(lists.arg<1>(0), QString("meeting-1"));
        QVERIFY(lists.arg<2>(0).isEmpty());
        const QList<Agent_MeetingMemberInfo> members = lists.arg<2>(1);
        QCOMPARE(members.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(members[i].number1, i + 1);
            QCOMPARE(members[i].text3, QStringLiteral("member-%1").arg(i));
            QCOMPARE(members[i].flag2, i == 1);
            QCOMPARE(members[i], meeting::fromEngine(three[std::size_t(i)]));
        }
        QCOMPARE(members[2].text1, QString("12345678"));
        QCOMPARE(lists.arg<0>(2), 404);
        QVERIFY(lists.arg<2>(2).isEmpty());
        QVERIFY(lists.arg<2>(3).isEmpty());
    }

    void meetingLists()
    {
        MeetingInbox<int, QList<Agent_MeetingInfo>> lists(
            &Meeting_Agent::sig_onQueryMultiMediaMeetings);
        std::vector<ZS_MeetingInfo> two(2);
        two[0].number1 = 1;
        std::strcpy(two[0].text1, "meeting-1");
        two[1].number1 = 2;
        std::memset(two[1].text2, 'n', sizeof two[1].text2); // no NUL
        std::strcpy(two[1].text3, "carol");
        const ZS_MeetingInfo *none = nullptr;
        zssim::Control::fire(&M::onQueryMultiMediaMeetings, 1u, 200, 2,
                             static_cast<const ZS_MeetingInfo *>(two.data()));
        zssim::Control::fire(&M::onQueryMultiMediaMeetings, 2u, 500, 7, none);
        QVERIFY(settle());
        QTRY_COMPARE(lists.count(), 2);
        const QList<Agent_MeetingInfo> meetings = lists.arg<1>(0);
        QCOMPARE(meetings.size(), 2);
        QCOMPARE(meetings[0].text1, QString("meeting-1"));
        QCOMPARE(meetings[1].number1, 2);
        QCOMPARE(meetings[1].text2, QString(129, QLatin1Char('n')));
        QCOMPARE(meetings[1].text3, QString("carol"));
        QCOMPARE(lists.arg<0>(1), 500);
        QVERIFY(lists.arg<1>(1).isEmpty());
    }

    // Results with their records, converted field by field.
    void resultRecords()
    {
        MeetingInbox<int, Agent_MeetingInfo> created(&Meeting_Agent::sig_onCreateMultimediaMeeting);
        MeetingInbox<int, Agent_MeetingDeleteMemberInfo> removed(
            &Meeting_Agent::sig_onDeleteMemberMultiMediaMeeting);
        MeetingInbox<int, Agent_MeetingMemberSpeakListenInfo> settings(
            &Meeting_Agent::sig_onSetMeetingSpeakListen);
        MeetingInbox<int, Agent_MeetingInviteInfo> invited(
            &Meeting_Agent::sig_onInviteJoinMultiMediaMeeting);

        auto meetingRecord = zeroed<ZS_MeetingInfo>();
        meetingRecord->number1 = 2;
        meetingRecord->number2 = 1;
        meetingRecord->number3 = 8;
        meetingRecord->number4 = -1;
        std::strcpy(meetingRecord->text1, "meeting-5");
        std::strcpy(meetingRecord->text2, "Weekly");
        std::strcpy(meetingRecord->text3, "alice");
        std::strcpy(meetingRecord->text4, "sync");
        auto removal = zeroed<ZS_MeetingDeleteMemberInfo>();
        std::strcpy(removal->conferenceId, "meeting-5");
        std::strcpy(removal->member, "carol");
        removal->meetingType = 2;
        removal->isVoIP = 1;
        auto setting = zeroed<ZS_MeetingSpeakListenInfo>();
        setting->meetingType = 1;
        std::strcpy(setting->meetingId, "meeting-5");
        std::strcpy(setting->member, "bob");
        setting->option = 2;
        const char *members[] = {"bob", "carol", nullptr};
        auto result = zeroed<ZS_MeetingInviteResult>();
        std::strcpy(result->conferenceId, "meeting-5");
        result->members = members;
        result->memberCount = 3;
        result->resultText = "dave";
        result->flag2 = 1;

        zssim::Control::fire(&M::onCreateMultimediaMeeting, 1u, 200,
                             static_cast<const ZS_MeetingInfo *>(meetingRecord.get()));
        zssim::Control::fire(&M::onDeleteMemberMultiMediaMeeting, 2u, 403,
                             static_cast<const ZS_MeetingDeleteMemberInfo *>(removal.get()));
        zssim::Control::fire(&M::onSetMeetingSpeakListen, 3u, 200,
                             static_cast<const ZS_MeetingSpeakListenInfo *>(setting.get()));
        zssim::Control::fire(&M::onInviteJoinMultiMediaMeeting, 4u, 200,
                             static_cast<const ZS_MeetingInviteResult *>(result.get()));
        QVERIFY(settle());
        QTRY_COMPARE(invited.count(), 1);
        QCOMPARE(created.arg<1>(0),
                 (Agent_MeetingInfo{2, 1, 8, -1, "meeting-5", "Weekly", "alice", "sync"}));
        QCOMPARE(removed.arg<0>(0), 403);
        QCOMPARE(removed.arg<1>(0), (Agent_MeetingDeleteMemberInfo{"meeting-5", "carol", 2, true}));
        QCOMPARE(settings.arg<1>(0),
                 (Agent_MeetingMemberSpeakListenInfo{1, "meeting-5", "bob", 2, false}));
        const Agent_MeetingInviteInfo info = invited.arg<1>(0);
        QCOMPARE(info.conferenceId, QString("meeting-5"));
        QCOMPARE(info.members.size(), 3);
        QCOMPARE(info.members.mid(0, 2), (QList<QString>{"bob", "carol"}));
        QVERIFY(info.members[2].isNull());
        QCOMPARE(info.resultText, QString("dave"));
        QVERIFY(!info.flag1 && info.flag2);
    }

    // A result without its record still answers, with an empty record and an error line; an
    // event without its record is not reported.
    void nullRecords()
    {
        MeetingInbox<int, Agent_MeetingInfo> created(&Meeting_Agent::sig_onCreateMultimediaMeeting);
        MeetingInbox<int, Agent_MeetingDeleteMemberInfo> removed(
            &Meeting_Agent::sig_onDeleteMemberMultiMediaMeeting);
        MeetingInbox<int, Agent_MeetingMemberSpeakListenInfo> settings(
            &Meeting_Agent::sig_onSetMeetingSpeakListen);
        MeetingInbox<int, Agent_MeetingInviteInfo> invited(
            &Meeting_Agent::sig_onInviteJoinMultiMediaMeeting);
        QSignalSpy interphone(Meeting_Agent::instance(),
                              &Meeting_Agent::sig_onReceiveInterphoneMeetingMessage);
        QSignalSpy invitation(Meeting_Agent::instance(),
                              &Meeting_Agent::sig_onMeetingInviteIncoming);
        QSignalSpy voice(Meeting_Agent::instance(),
                         &Meeting_Agent::sig_onReceiveVoiceMeetingMessage);
        QSignalSpy video(Meeting_Agent::instance(),
                         &Meeting_Agent::sig_onReceiveVideoMeetingMessage);
        TQLogCapture log;
        zssim::Control::fire(&M::onCreateMultimediaMeeting, 1u, 500,
                             static_cast<const ZS_MeetingInfo *>(nullptr));
        zssim::Control::fire(&M::onDeleteMemberMultiMediaMeeting, 2u, 404,
                             static_cast<const ZS_MeetingDeleteMemberInfo *>(nullptr));
        zssim::Control::fire(&M::onSetMeetingSpeakListen, 3u, 404,
                             static_cast<const ZS_MeetingSpeakListenInfo *>(nullptr));
        zssim::Control::fire(&M::onInviteJoinMultiMediaMeeting, 4u, 404,
                             static_cast<const ZS_MeetingInviteResult *>(nullptr));
        zssim::Control::fire(&M::onReceiveInterphoneMeetingMessage,
                             static_cast<const ZS_InterphoneMsg *>(nullptr));
        zssim::Control::fire(&M::onMeetingInviteIncoming,
                             static_cast<const ZS_MeetingInvitation *>(nullptr));
        zssim::Control::fire(&M::onReceiveVoiceMeetingMessage,
                             static_cast<const ZS_VoiceMeetingMsg *>(nullptr));
        zssim::Control::fire(&M::onReceiveVideoMeetingMessage,
                             static_cast<const ZS_VideoMeetingMsg *>(nullptr));
        QVERIFY(settle());
        QTRY_COMPARE(invited.count(), 1);
        QCOMPARE(created.arg<0>(0), 500);
        QCOMPARE(created.arg<1>(0), Agent_MeetingInfo());
        QCOMPARE(removed.arg<1>(0), Agent_MeetingDeleteMemberInfo());
        QCOMPARE(settings.arg<1>(0), Agent_MeetingMemberSpeakListenInfo());
        QCOMPARE(invited.arg<0>(0), 404);
        QCOMPARE(invited.arg<1>(0), Agent_MeetingInviteInfo());
        QCOMPARE(interphone.count() + invitation.count() + voice.count() + video.count(), 0);
        QStringList errors;
        for (const char *name : {"onCreateMultimediaMeeting", "onDeleteMemberMultiMediaMeeting",
                                 "onSetMeetingSpeakListen", "onInviteJoinMultiMediaMeeting",
                                 "onReceiveInterphoneMeetingMessage", "onMeetingInviteIncoming",
                                 "onReceiveVoiceMeetingMessage", "onReceiveVideoMeetingMessage"})
            errors << QStringLiteral("Meeting_CallBackProxy::callback_%1,null record").arg(name);
        QCOMPARE(log.texts(TQLog::Error), errors);
    }

    // Pushed messages, every field carried over.
    void messages()
    {
        MeetingInbox<Agent_InterphoneMsg> interphone(
            &Meeting_Agent::sig_onReceiveInterphoneMeetingMessage);
        MeetingInbox<Agent_VoiceMeetingMsg> voice(&Meeting_Agent::sig_onReceiveVoiceMeetingMessage);
        MeetingInbox<Agent_VideoMeetingMsg> video(&Meeting_Agent::sig_onReceiveVideoMeetingMessage);
        auto p = zeroed<ZS_InterphoneMsg>();
        p->number1 = 8;
        p->number2 = 3;
        std::strcpy(p->text1, "interphone-1");
        std::strcpy(p->text2, "bob");
        std::strcpy(p->text3, "Bob Li");
        std::strcpy(p->text4, "8002");
        std::strcpy(p->text5, "bob");
        std::strcpy(p->text6, "alice,bob,carol");
        std::memset(p->text7, 'z', sizeof p->text7); // the last field, without a NUL
        auto v = zeroed<ZS_VoiceMeetingMsg>();
        v->number1 = 1;
        v->number2 = 2;
        std::strcpy(v->text1, "meeting-1");
        std::strcpy(v->text3, "Carol Zhang");
        std::strcpy(v->text7, "Weekly");
        v->flag1 = 1;
        auto w = zeroed<ZS_VideoMeetingMsg>();
        w->number3 = 1;
        w->number4 = 2;
        std::strcpy(w->text2, "carol");
        std::strcpy(w->text6, "alice,carol");
        zssim::Control::fire(&M::onReceiveInterphoneMeetingMessage,
                             static_cast<const ZS_InterphoneMsg *>(p.get()));
        zssim::Control::fire(&M::onReceiveVoiceMeetingMessage,
                             static_cast<const ZS_VoiceMeetingMsg *>(v.get()));
        zssim::Control::fire(&M::onReceiveVideoMeetingMessage,
                             static_cast<const ZS_VideoMeetingMsg *>(w.get()));
        QVERIFY(settle());
        QTRY_COMPARE(video.count(), 1);
        const Agent_InterphoneMsg pm = interphone.arg<0>(0);
        QCOMPARE(pm.number1, 8);
        QCOMPARE(pm.number2, 3);
        QCOMPARE(pm.text3, QString("Bob Li"));
        QCOMPARE(pm.text5, QString("bob"));
        QCOMPARE(pm.text6, QString("alice,bob,carol"));
        QCOMPARE(pm.text7, QString(1025, QLatin1Char('z')));
        QCOMPARE(voice.arg<0>(0), meeting::fromEngine(*v));
        QCOMPARE(voice.arg<0>(0).text7, QString("Weekly"));
        QVERIFY(voice.arg<0>(0).flag1);
        QCOMPARE(video.arg<0>(0), meeting::fromEngine(*w));
        QCOMPARE(video.arg<0>(0).number4, 2);
        QCOMPARE(video.arg<0>(0).text6, QString("alice,carol"));
    }
};

QObject *newTestMeetingCallbacks()
{
    return new TestMeetingCallbacks;
}

#include "tst_meeting_callbacks.moc"
