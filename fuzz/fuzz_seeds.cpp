// Writes the seed inputs of the fuzz targets, one folder each under the given directory:
//   fuzz_callbacks      every callback the stand-in engine makes while it is driven through
//                       what the tests do (accounts and logins, presence, personal
//                       information, user states, calls made, answered and released,
//                       incoming calls, call-back requests, media switches; messages sent
//                       and echoed, files up and down, cancelled transfers, withdrawal,
//                       top contacts, voice notes, offline messages; conferences made,
//                       joined, controlled, recorded and ended, scheduled ones brought by the
//                       clock, invitations from others; meetings made, joined, invited to,
//                       watched and left, interphones passing the microphone; groups made,
//                       filled, talked in, muted, left, joined and dismissed), plus the faulty
//                       records the callback tests fire by hand. Recording tables stand where
//                       the agents' tables would, and write each call's arguments as a
//                       fuzz_callbacks input (CallbackEntries.h).
//   fuzz_agent_outputs  the call models of the call-agent tests with their requests
//   fuzz_codec          the texts and field widths of the codec and session tests
//
//     fuzz_seeds <dir>

#include "AgentOutputs.h"
#include "CallbackEntries.h"
#include "CodecInput.h"

#include <Utf8Field.h>
#include <ZSsdk.h>
#include <ZSsdkControl.h>

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <QTextCodec>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

using zssim::Control;

// The whiteboard library's seeds (seeds_whiteboard.cpp).
void whiteboardSeeds(const std::function<void(const QString &, const std::string &)> &add);
// The video-room client's seeds (seeds_vidyo.cpp).
void vidyoSeeds(const std::function<void(const QString &, const std::string &)> &add);

namespace {

// Inputs by file, named by their content: a callback made twice is one seed.
class Seeds
{
public:
    void add(const char *target, QString name, const std::string &bytes)
    {
        std::uint64_t hash = 14695981039346656037ULL; // FNV-1a
        for (const char c : bytes)
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        name.replace(QLatin1String("::"), QLatin1String("."));
        const QString file = QStringLiteral("%1/%2-%3")
                                 .arg(QLatin1String(target), name)
                                 .arg(hash, 16, 16, QLatin1Char('0'));
        std::lock_guard<std::mutex> lock(m_mutex);
        m_files[file] = bytes;
    }

    bool write(const QDir &dir)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const auto &[name, bytes] : m_files) {
            const QString path = dir.filePath(name);
            if (!QDir().mkpath(QFileInfo(path).absolutePath()))
                return false;
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly)
                || file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
                return false;
        }
        return true;
    }

    int count(const char *target)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const QString prefix = QLatin1String(target) + QLatin1Char('/');
        int n = 0;
        for (const auto &file : m_files)
            n += file.first.startsWith(prefix);
        return n;
    }

private:
    std::mutex m_mutex;
    std::map<QString, std::string> m_files;
};

Seeds g_seeds;

void settle()
{
    if (!Control::waitIdle(10000)) {
        std::fprintf(stderr, "fuzz_seeds: the engine did not answer\n");
        std::exit(1);
    }
}

template<std::size_t N> void put(char (&field)[N], const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    tq::copyUtf8Field(field, N, utf8.constData(), std::size_t(utf8.size()));
}

void login(const QString &user, const QString &password)
{
    char buffers[6][ZS_LOGIN_TEXT_SIZE] = {};
    put(buffers[0], user);
    put(buffers[1], password);
    put(buffers[2], QStringLiteral("im.example.test"));
    ZS_LoginInfo info{};
    info.number1 = 1;
    for (int k = 0; k < 6; ++k)
        info.text[k] = buffers[k];
    Login(&info);
    settle();
}

// ---- the session tests ------------------------------------------------------------------------

void sessionScenes()
{
    Control::withServer([](zssim::ServerModel &s) {
        s.accounts.insert(QStringLiteral("alice"), QStringLiteral("s3cret-pw"));
        s.presence[QStringLiteral("bob")] = {1, 0, "at lunch"};
    });
    SetServerEnvType(2, "servers.xml");
    SetInternalDNS(1, "10.0.0.53", 5353, 0);
    login(QStringLiteral("alice"), QStringLiteral("s3cret-pw"));
    login(QStringLiteral("alice"), QStringLiteral("wrong"));
    login(QString(300, QChar(0x4E2D)), QStringLiteral("x"));
    login(QStringLiteral("alice"), QStringLiteral("s3cret-pw"));

    unsigned int key = 0;
    QByteArray presence = QString::fromUtf8("在线 – busy").toUtf8();
    if (QTextCodec *gb = QTextCodec::codecForName("GB18030"))
        presence = gb->fromUnicode(QString::fromUtf8("在线 – busy"));
    PublishPresence_TQ(&key, 1, 3, presence.constData());

    ZS_PersonInfo info{};
    info.number1 = -1;
    info.number2 = int(0x80000001u);
    info.number3 = 42;
    put(info.text1, QString(200, QChar(0xE9)));
    put(info.text2, QStringLiteral("+86 10 1234 5678 ext 99"));
    put(info.text3, QString::fromUtf8("签名 🎉"));
    SetPersonInfo(&key, &info);
    SetPersonInfo(&key, &info);
    GetPersonInfo(&key, "alice");
    GetPersonInfo(&key, "nobody");
    settle();

    const QByteArray zhang = QString::fromUtf8("张三").toUtf8();
    const char *names[] = {"carol", "bob", zhang.constData()};
    GetUserState(&key, names, 3);
    GetUserState(&key, nullptr, 0);
    settle();
    Control::injectFriendPresence(QStringLiteral("carol"), 3, 1, "in a meeting");
    settle();
    PublishPresence_TQ(&key, 2, 0, "");
    Logout();
    settle();

    // What the callback tests fire by hand: odd counts, null records, fields without a NUL.
    using G = ZS_GeneralCallBack;
    Control::fire(&G::onReserved);
    Control::fire(&G::onConnectState, 3, 0);
    Control::fire(&G::onSetPersonInfo, 9u, 200, (1ULL << 40) + 5);
    std::vector<ZS_PersonState> two(2);
    std::memset(static_cast<void *>(two.data()), 0, two.size() * sizeof(ZS_PersonState));
    std::strcpy(two[0].text1, "first");
    std::strcpy(two[1].text1, "second");
    two[1].number4 = -7;
    const ZS_PersonState *none = nullptr;
    Control::fire(&G::onGetUserState, 1u, 200, 2, static_cast<const ZS_PersonState *>(two.data()));
    Control::fire(&G::onGetUserState, 2u, 200, 0, none);
    Control::fire(&G::onGetUserState, 3u, 404, 3, none);
    Control::fire(&G::onGetUserState, 4u, 200, -1, static_cast<const ZS_PersonState *>(two.data()));
    ZS_PersonState full;
    std::memset(&full, 'x', sizeof full);
    full.number1 = 1;
    Control::fire(&G::onReceiveFriendsPublishPresence, 1,
                  static_cast<const ZS_PersonState *>(&full));
    Control::fire(&G::onReceiveFriendsPublishPresence, 5, none);
    ZS_PersonInfo wide{};
    wide.number3 = 77;
    std::memset(wide.text2, 'y', sizeof wide.text2);
    Control::fire(&G::onGetPersonInfo, 5u, 200, static_cast<const ZS_PersonInfo *>(&wide));
    Control::fire(&G::onGetPersonInfo, 6u, 404, static_cast<const ZS_PersonInfo *>(nullptr));
    settle();
}

// ---- the call tests ---------------------------------------------------------------------------

QByteArray dial(int callType, const char *called)
{
    const char *id = nullptr;
    if (callType == 2)
        MakeCallEx(&id, 2, called, "000");
    else
        MakeCall(&id, callType, called);
    const QByteArray callId(id ? id : "");
    settle();
    return callId;
}

template<std::size_t N> void fill(char (&field)[N], char c)
{
    std::memset(field, c, N);
}

void callScenes()
{
    Control::withServer([](zssim::ServerModel &s) { s.currentUser = QStringLiteral("1001"); });
    QByteArray id = dial(1, "1002");
    SendDTMF(id.constData(), '9');
    RequestSwitchCallMediaType(id.constData(), 1);
    settle();
    ReleaseCall(id.constData(), 0);
    settle();
    for (int type : {7, 2}) {
        id = dial(type, type == 2 ? "1003" : "1002");
        ReleaseCall(id.constData(), 0);
        settle();
    }
    Control::withServer([](zssim::ServerModel &s) {
        s.calls.calleeAnswers = false;
        s.calls.remoteAcceptsSwitch = false;
    });
    id = dial(1, "1004");
    RequestSwitchCallMediaType(id.constData(), 1);
    ReleaseCall(id.constData(), 603);
    settle();

    const QByteArray incoming
        = zssim::injectIncomingCall(QStringLiteral("1003"), QString::fromUtf8("Carol 张"), 2)
              .toUtf8();
    settle();
    AcceptCall(incoming.constData());
    ResponseSwitchCallMediaType(incoming.constData(), 1);
    settle();
    zssim::injectRemoteRelease(QString::fromUtf8(incoming), 200);
    settle();

    unsigned int key = 0;
    const QByteArray an = QString::fromUtf8("安").toUtf8();
    MakeCallBack(&key, "1001", "1002", an.constData(), "Bob");
    MakeCallBack(&key, nullptr, "1002", nullptr, nullptr);
    settle();

    // What the callback tests fire by hand.
    using V = ZS_VoIPCallBack;
    ZS_CallEvent event{};
    event.eCode = 5;
    event.callType = 1;
    std::strcpy(event.callid, "abc");
    std::strcpy(event.caller, "1001");
    std::strcpy(event.callee, "1002");
    ZS_CallEvent forged = event;
    std::strcpy(forged.callid, "c\r\n");
    std::strcpy(forged.caller, "x\n2000-01-01 00:00:00.000 [ERROR] [1] FORGED");
    ZS_CallEvent unterminated{};
    fill(unterminated.callid, 'i');
    fill(unterminated.caller, 'r');
    fill(unterminated.callee, 'e');
    ZS_IncomingCall coming{};
    fill(coming.text1, 'a');
    fill(coming.text2, 'b');
    fill(coming.text3, 'c');
    fill(coming.text4, 'd');
    ZS_CallBackInfo callBack{};
    fill(callBack.text1, 'a');
    fill(callBack.text2, 'b');
    fill(callBack.text3, 'c');
    fill(callBack.text4, 'd');
    const char *noText = nullptr;
    Control::fire(&V::onCallEvents, 0, static_cast<const ZS_CallEvent *>(&event));
    Control::fire(&V::onCallEvents, 0, static_cast<const ZS_CallEvent *>(&forged));
    Control::fire(&V::onCallEvents, 0, static_cast<const ZS_CallEvent *>(&unterminated));
    Control::fire(&V::onCallEvents, 486, static_cast<const ZS_CallEvent *>(nullptr));
    Control::fire(&V::onMakeCallBack, 9u, 200, static_cast<const ZS_CallBackInfo *>(nullptr));
    Control::fire(&V::onMakeCallBack, 9u, 200, static_cast<const ZS_CallBackInfo *>(&callBack));
    Control::fire(&V::onCallIncoming, static_cast<const ZS_IncomingCall *>(nullptr));
    Control::fire(&V::onCallIncoming, static_cast<const ZS_IncomingCall *>(&coming));
    Control::fire(&V::onRemoteVideoRatio, "conf-3", 320, 240, 3, "m3");
    Control::fire(&V::onRemoteVideoRatio, "call-1", 640, 360, 0, "1002");
    Control::fire(&V::onRemoteVideoRatio, "conf-1", 1280, 720, 1, noText);
    Control::fire(&V::onRemoteVideoRatio, "conf-2", 1920, 1080, 2, "1004");
    Control::fire(&V::onDtmfReceived, noText, '5');
    Control::fire(&V::onDtmfReceived, "call-1", '#');
    Control::fire(&V::onSwitchCallMediaTypeRequest, noText, 1);
    Control::fire(&V::onSwitchCallMediaTypeResponse, "call-1", 0);
    Control::fire(&V::onReserved21);
    settle();
}

// ---- the messaging tests ----------------------------------------------------------------------

QString writeScratch(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

void messageScenes()
{
    QTemporaryDir dir;
    Control::withServer([](zssim::ServerModel &s) {
        s.currentUser = QStringLiteral("alice");
        s.accounts.insert(QStringLiteral("alice"), QStringLiteral("alice"));
        s.messages.chunkSize = 4096;
    });
    unsigned int key = 0;
    char id[ZS_MSG_ID_BUFFER_SIZE] = {};
    const QByteArray hello = QString::fromUtf8("你好 👋 café\ttab").toUtf8();
    SendTextMessageEX(&key, "bob", hello.constData(), 1, "ud", id, "");
    SendTextMessageEX(&key, "bob", "agenda", 50, "", id, "{\"k\":1}");
    SendTextMessageEX(&key, "nobody", "hello?", 1, "", id, "");
    SendTextMessageEX(&key, "gteam", "group", 1, "", id, "");
    settle();

    const QByteArray file
        = writeScratch(dir, QString::fromUtf8("图片.png"), QByteArray(10000, 'p')).toUtf8();
    const QByteArray card = R"({"title":"Release notes","imgPath":"https://example.test/a.png",)"
                            R"("url":"https://example.test/notes","desc":"What changed"})";
    SendMediaMessageEX(&key, "bob", file.constData(), 3, "ud", id, "", "", 90, "uuid-1", "");
    SendMediaMessageEX(&key, "bob", file.constData(), 8, "", id, "", card.constData(), 0, "uuid-2",
                       "");
    SendMediaMessage(&key, "carol", file.constData(), 7, "ud", id);
    settle();
    QString url;
    Control::withServer([&](zssim::ServerModel &s) {
        if (!s.messages.files.isEmpty())
            url = s.messages.files.firstKey();
    });
    const QByteArray target = dir.filePath(QStringLiteral("down.bin")).toUtf8();
    DownloadFileMessage(&key, "bob", "alice", url.toUtf8().constData(), target.constData(), "m", 7);
    DownloadFileMessage(&key, "bob", "alice", "sim://files/404/x", target.constData(), "m", 7);
    settle();

    // Cancelled transfers, with a key of 2^31 and above.
    Control::withServer([](zssim::ServerModel &s) { s.messages.holdTransfers = true; });
    zssim::setNextMatchKey(0x80000001u);
    SendMediaMessageEX(&key, "bob", file.constData(), 7, "", id, "", "", 0, "uuid-3", "");
    settle();
    CancelUploadOrDownloadNOW(key);
    settle();
    Control::withServer([](zssim::ServerModel &s) { s.messages.holdTransfers = false; });

    SendTextMessageEX(&key, "carol", "oops", 1, "", id, "");
    settle();
    const QByteArray own(id);
    WithDrawMessage(&key, own.constData(), 1);
    WithDrawMessage(&key, "no-such-id", 1);
    DeleteMessage(&key, 1, "msg-1");
    DeleteMessage(&key, 1, "no-such-id");
    SetTopContact(&key, "bob", true);
    SetTopContact(&key, QString::fromUtf8("张三").toUtf8().constData(), true);
    GetTopContact(&key);
    ReadMessage(nullptr, "msg-2");
    settle();
    zssim::injectWithdrawal(QStringLiteral("bob"), QStringLiteral("msg-2"));

    const QByteArray voice = dir.filePath(QStringLiteral("note.wav")).toUtf8();
    StartVoiceRecording(voice.constData(), "s1");
    zssim::injectRecordingAmplitude(0.123456789);
    zssim::injectRecordingTimeOut(1500);
    settle();
    PlayVoiceMsg(voice.constData(), "s1");
    Control::withServer([](zssim::ServerModel &s) { s.messages.voice.holdPlayback = true; });
    PlayVoiceMsg(voice.constData(), "s2");
    StopVoiceMsg();
    settle();

    MessageModel::Message offline;
    offline.sender = QStringLiteral("carol");
    offline.msgContent = QString::fromUtf8("你不在的时候");
    zssim::addOfflineMessage(QStringLiteral("alice"), offline);
    offline.msgType = 50;
    zssim::addOfflineMessage(QStringLiteral("alice"), offline);
    login(QStringLiteral("alice"), QStringLiteral("alice"));
    MessageModel::Message pushed;
    pushed.sender = QStringLiteral("gteam-owner");
    pushed.receiver = QStringLiteral("gteam");
    pushed.msgContent = QStringLiteral("group hello");
    for (auto entry : {zssim::Inbound::Message, zssim::Inbound::File, zssim::Inbound::NoVersion,
                       zssim::Inbound::OperateNotice, zssim::Inbound::ServerUndefined})
        zssim::injectMessage(entry, pushed);
    settle();

    // What the callback tests fire by hand: null records, fields without a NUL, odd arrays.
    using M = ZS_MessageCallBack;
    const ZS_MessageInfo *none = nullptr;
    std::vector<ZS_MessageInfo> full(1);
    std::memset(static_cast<void *>(full.data()), 'x', sizeof(ZS_MessageInfo));
    full[0].msgType = 8;
    const ZS_MessageInfo *wide = full.data();
    Control::fire(&M::onSendTextMessage, 1u, 200, none);
    Control::fire(&M::onSendTextMessage, 2u, 404, wide);
    Control::fire(&M::onSendMediaFile, 3u, 200, none, static_cast<const char *>(nullptr));
    Control::fire(&M::onDownloadFileComplete, 4u, 500, none);
    Control::fire(&M::onRateOfProgressAttach, 0x80000002u, 1ULL << 40, 1ULL << 41, wide);
    for (auto entry : {&M::onReceiveMessage, &M::onReceiveOfflineMessage, &M::onReceiveFile,
                       &M::onReceiveNoVersionMessage, &M::onReceiveOpreateNoticeMessage,
                       &M::onReceiveServerUndefineMessage}) {
        Control::fire(entry, none);
        Control::fire(entry, wide);
    }
    const char *three[] = {"bob", nullptr, "carol"};
    const char *const *noContacts = nullptr;
    Control::fire(&M::onGetTopContact, 5u, 200, 0, noContacts);
    Control::fire(&M::onGetTopContact, 6u, 200, 3, noContacts);
    Control::fire(&M::onGetTopContact, 7u, 200, -2, static_cast<const char *const *>(three));
    Control::fire(&M::onGetTopContact, 8u, 200, 3, static_cast<const char *const *>(three));
    Control::fire(&M::onWithDrawMessage, 9u, 403);
    Control::fire(&M::onDeleteMessage, 10u, 404, 3, static_cast<const char *>(nullptr));
    Control::fire(&M::onRecordingAmplitude, 0.5, static_cast<const char *>(nullptr));
    Control::fire(&M::onRecordingTimeOut, 60000, "s1");
    Control::fire(&M::onFinishedPlaying, static_cast<const char *>(nullptr), 487);
    Control::fire(&M::onOfflineMessageCount, -1);
    settle();
}

// ---- the conference tests ---------------------------------------------------------------------

template<class Entry> Entry confEntry(const char *id)
{
    Entry e{};
    put(e.text1, QString::fromUtf8(id));
    return e;
}

void conferenceScenes()
{
    Control::withServer([](zssim::ServerModel &s) {
        s.currentUser = QStringLiteral("alice");
        s.conferences.clock = QDateTime(QDate(2024, 5, 6), QTime(9, 0));
    });
    unsigned int key = 0;
    // An instant video conference: invite, join, publish, watch, control, record, end.
    CreateConference(&key, "", "pw", "Design review", 1, 0, 0, "app", 0, "", "", nullptr, 0, 0, 0,
                     0, 0, 0, 2, 0, "Q3 roadmap", 0, "", -1, 0, "");
    settle();
    const ConfInviteEntry invited[]
        = {confEntry<ConfInviteEntry>("bob"), confEntry<ConfInviteEntry>("carol"),
           confEntry<ConfInviteEntry>("dave")};
    ConferenceInviteMember(&key, "conf-1", invited, 3, 1, "", "");
    MemberJoinConference(&key, "conf-1", "pw", "", "", 0, "", 2, 0, "", 0, "UA", "");
    MemberJoinConference(&key, "conf-1", "wrong", "", "", 0, "", 2, 0, "", 0, "", "");
    ConferenceStartPublishVideo(&key, "conf-1", "");
    ConferenceStartScreenSharing(&key, "conf-1", "");
    ConferenceStartPublishVoice(&key, "conf-1", 0, "");
    settle();
    int window = 0;
    ConferenceRequestMemberVideo("conf-1", "pw", "bob", &window, 1, 320, 240, "", 0);
    ConferenceRequestMemberVideo("conf-1", "pw", "carol", &window, 2, 320, 240, "", 0);
    const ConfTargetEntry bob[] = {confEntry<ConfTargetEntry>("bob")};
    ConferenceMediaControl(&key, "conf-1", 1, 0, bob, 1, 1, "", "");
    ConferenceMediaControl(&key, "conf-1", 0, 1, nullptr, 0, 3, "", "");
    ConferenceSendCmd(&key, "conf-1", 1, nullptr, 0, "raise hands", "");
    SetConferenceMemberRole(&key, "conf-1", "bob", 0, 1, "");
    LockConference(&key, "conf-1", true, "");
    UpdateConferenceMember(&key, "conf-1", "bob", "Bob", 0, "", "", 0);
    const _ZSConferenceRecordMemberInfo *noMembers = nullptr;
    ConferenceRecord(&key, "conf-1", noMembers, 0, 1, "");
    settle();
    zssim::advanceConferenceClock(90);
    ConferenceRecord(&key, "conf-1", noMembers, 0, 0, "");
    GetConferenceRecordList(&key, "conf-1", 0, 1, 10);
    GetConferenceRecordList(&key, "conf-404", 0, 1, 10);
    GetConferenceInfo(&key, "conf-1", "");
    GetConferenceInfo(&key, "conf-404", "");
    GetConferenceMemberInfo(&key, "conf-1", "bob", 0, "");
    GetConferenceMemberInfo(&key, "conf-1", "nobody", 0, "");
    GetConferenceMemberInfoList(&key, "conf-1", 1, 10, "");
    GetConferenceMemberInfoList(&key, "conf-404", 1, 10, "");
    GetConferenceInfoList(&key, "", "", "", 0, 0, 0, 1, 10, 0, -1, 1, "", "");
    ConferenceKickoutMember(&key, "conf-1", bob, 1, "", "");
    ConferenceCancelMemberVideo("conf-1", "pw", "bob", 1, "", 0);
    ConferenceGetAppSetting(&key, "");
    ConferenceStopPublishVideo(&key, "conf-1", "");
    ConferenceStopScreenSharing(&key, "conf-1", "");
    ConferenceStopPublishVoice(&key, "conf-1", 0, "");
    settle();
    DeleteConference(&key, "conf-1", "", "");
    settle();
    GetHistoryConferenceInfoList(&key, "", "", 0, 0, 1, 10, "", 0, -1, 1, "", "");
    GetHistoryConferenceMemberInfoList(&key, "conf-1", "", 0, 1, 10, 0, "");

    // A scheduled conference brought by the clock: appointment, reminders, start, end.
    const ConfMemberEntry members[]
        = {confEntry<ConfMemberEntry>("bob"), confEntry<ConfMemberEntry>("carol")};
    CreateConference(&key, "", "", "Planning", 2, 0, 0, "", 1, "", "2024-05-06 09:30:00", members,
                     2, 60, 1, 0, 10, 5, 1, 0,
                     R"({"topics":[{"topic":"first"},{"topic":"second"}]})", 0, "", -1, 0, "");
    settle();
    UpdateConference(&key, "conf-2", "", "", "Planning", 2, 0, 0, "", 1, "", members, 2, "", 60, 1,
                     10, 5, 0, 0, "third", 0, -1, "");
    settle();
    for (int minutes : {20, 10, 55, 5})
        zssim::advanceConferenceClock(minutes * 60);
    settle();

    // Others: an invitation, an appointment, what members do.
    const QString invitation = zssim::injectConferenceInvitation("bob", "Quick call", 2);
    settle();
    MemberJoinConference(&key, invitation.toUtf8().constData(), "", "", "", 0, "", 1, 0, "", 0, "",
                         "");
    settle();
    zssim::injectMemberEvent(invitation, "carol", zssim::MemberEvent::Join);
    zssim::injectConferenceCommand(invitation, "bob", "mute all");
    zssim::injectMediaControl(invitation, "bob", {"alice"}, 1, true);
    zssim::injectKickout(invitation, "bob", {"alice", "carol"});
    zssim::injectConferenceAudioPlay(200, "{\"sound\":\"ding\"}");
    const QString appointment = zssim::injectConferenceAppointment(
        "carol", "Design sync", QDateTime(QDate(2024, 5, 6), QTime(12, 0)), 30, 15, 5);
    zssim::remindBeforeStart(appointment);
    zssim::startConferenceNow(appointment);
    zssim::remindBeforeEnd(appointment);
    zssim::endConferenceNow(appointment);
    const QString declined = zssim::injectConferenceInvitation("carol", "Declined");
    settle();
    ConferenceMemberRejectInvitation(&key, declined.toUtf8().constData(), "", "busy", "");
    settle();

    // What the callback tests fire by hand: null records and arrays, odd counts, no NULs.
    using C = ZS_ConfCallBack;
    const char *noText = nullptr;
    std::vector<ZS_ConfMemberInfo> wideMembers(2);
    std::memset(static_cast<void *>(wideMembers.data()), 'm',
                wideMembers.size() * sizeof(ZS_ConfMemberInfo));
    std::vector<ZS_ConfInfo> wideInfos(2);
    std::memset(static_cast<void *>(wideInfos.data()), 'c', wideInfos.size() * sizeof(ZS_ConfInfo));
    wideInfos[0].number12 = 2;
    wideInfos[0].members = wideMembers.data();
    wideInfos[1].number12 = 3;
    wideInfos[1].members = nullptr;
    const ZS_ConfInfo *noInfo = nullptr;
    const ZS_ConfMemberInfo *noMember = nullptr;
    std::vector<ZS_ConfFailedMember> failed(1);
    std::memset(static_cast<void *>(failed.data()), 'f', sizeof(ZS_ConfFailedMember));
    std::vector<ZS_ConfRecordFile> files(3);
    std::memset(static_cast<void *>(files.data()), 'r', files.size() * sizeof(ZS_ConfRecordFile));
    Control::fire(&C::onGetConferenceInfoList, 1u, 200, 2,
                  static_cast<const ZS_ConfInfo *>(wideInfos.data()), noText);
    Control::fire(&C::onGetConferenceInfoList, 2u, 500, 3, noInfo, "");
    Control::fire(&C::onGetHistoryConferenceInfoList, 3u, 200, -1,
                  static_cast<const ZS_ConfInfo *>(wideInfos.data()), "");
    Control::fire(&C::onGetConferenceInfo, 4u, 200,
                  static_cast<const ZS_ConfInfo *>(wideInfos.data()), "");
    Control::fire(&C::onMemberJoinConference, 5u, 404, noInfo, noText);
    Control::fire(&C::onGetConferenceMemberInfoList, 6u, 200, "c", 3, noMember, "");
    Control::fire(&C::onGetConferenceMemberInfoList, 7u, 200, noText, 2,
                  static_cast<const ZS_ConfMemberInfo *>(wideMembers.data()), "");
    Control::fire(&C::onGetHistoryConferenceMemberInfoList, 8u, "c", 200, -5,
                  static_cast<const ZS_ConfMemberInfo *>(wideMembers.data()), "");
    Control::fire(&C::onGetConferenceMemberInfo, 9u, 200, "c",
                  static_cast<const ZS_ConfMemberInfo *>(wideMembers.data()), "");
    Control::fire(&C::onConferenceInviteMember, 10u, 200, "c", 1,
                  static_cast<const ZS_ConfFailedMember *>(failed.data()), "");
    Control::fire(&C::onConferenceKickoutMember, 11u, 200, "c", 4,
                  static_cast<const ZS_ConfFailedMember *>(nullptr), "");
    Control::fire(&C::onGetConferenceRecordList, 12u, "c", 0, 3,
                  static_cast<const ZS_ConfRecordFile *>(files.data()));
    Control::fire(&C::onGetConferenceRecordList, 13u, "c", 200, 3,
                  static_cast<const ZS_ConfRecordFile *>(files.data()));
    std::vector<ConfTargetEntry> kicked(2);
    std::memset(static_cast<void *>(kicked.data()), 'k', kicked.size() * sizeof(ConfTargetEntry));
    std::vector<ZS_ConfNtyMember> ntyMembers(1);
    std::memset(static_cast<void *>(ntyMembers.data()), 'n', sizeof(ZS_ConfNtyMember));
    std::vector<ZS_ConfNotification> nty(2);
    std::memset(static_cast<void *>(nty.data()), 'x', nty.size() * sizeof(ZS_ConfNotification));
    nty[0].kickMemberCount = 2;
    nty[0].kickMembers = kicked.data();
    nty[0].memberCount = 1;
    nty[0].members = ntyMembers.data();
    nty[1].kickMemberCount = 3;
    nty[1].kickMembers = nullptr;
    nty[1].memberCount = -2;
    nty[1].members = ntyMembers.data();
    for (const ZS_ConfNotification &n : nty)
        Control::fire(&C::onReceivedConferenceNotification, &n, noText);
    Control::fire(&C::onReceivedConferenceNotification,
                  static_cast<const ZS_ConfNotification *>(nullptr), noText);
    Control::fire(&C::onReceivedConferenceInviteNotification,
                  static_cast<const ZS_ConfInviteNotification *>(nullptr), noText);
    Control::fire(&C::onReceivedConferenceEndNotification,
                  static_cast<const ZS_ConfEndNotification *>(nullptr), noText);
    Control::fire(&C::onConferenceGetAppSetting, 14u, 500,
                  static_cast<const ZS_ConfAppSetting *>(nullptr));
    Control::fire(&C::onConferenceCancelMemberVideo, 404, noText, noText, 2, noText);
    settle();
}

// ---- the meeting tests ------------------------------------------------------------------------

template<class Record> std::vector<Record> meetingRecords(std::size_t n, char fill)
{
    std::vector<Record> records(n);
    std::memset(static_cast<void *>(records.data()), fill, n * sizeof(Record));
    return records;
}

void meetingScenes()
{
    Control::withServer([](zssim::ServerModel &s) {
        s.currentUser = QStringLiteral("alice");
        s.meetings.answers[QStringLiteral("carol")] = MeetingModel::Decline;
    });
    unsigned int key = 0;
    // A video meeting: invitations answered and declined, members, video, windows, settings.
    const QByteArray name = QString::fromUtf8("设计评审 – Q3").toUtf8();
    SetMultiMediaMeetingBeforeCreate(2, "server data", "");
    CreateMultimediaMeeting(&key, 2, name.constData(), "pw", "design", 1, 0, 1, 1, 0);
    CreateMultimediaMeeting(&key, 1, "Standup", "", "daily", 0, 2, 0, 0, 0);
    CreateMultimediaMeeting(&key, 7, "", "", "", 0, 0, 1, 0, 0);
    settle();
    const QByteArray zhang = QString::fromUtf8("张三").toUtf8();
    const char *invited[] = {"bob", "carol", zhang.constData()};
    setMultimediaMeetingBeforeInviteJoin("invite data");
    InviteJoinMultiMediaMeeting(&key, "meeting-1", invited, 3, 0, 0, 1, "8001", "ud");
    InviteJoinMultiMediaMeeting(&key, "meeting-404", invited, 1, 0, 1, 1, "", "");
    settle();
    QueryMeetingMembers(&key, 2, "meeting-1");
    QueryMeetingMembers(&key, 1, "meeting-2");
    QueryMeetingMembers(&key, 1, "meeting-404");
    QueryMultiMediaMeetings(&key, 0, "");
    QueryMultiMediaMeetings(&key, 1, "nothing like it");
    PublishVideo(&key, "meeting-1");
    PublishVideo(&key, "meeting-2");
    int window = 0;
    RequestConferenceMemberVideo("meeting-1", "pw", "bob", &window, 1);
    RequestConferenceMemberVideo("meeting-1", "wrong", "bob", &window, 1);
    RequestConferenceMemberVideo("meeting-1", "pw", "carol", &window, 1);
    ResetVideoConfWindow("meeting-1", "bob", &window, 1);
    CancelMemberVideo("meeting-1", "pw", "bob", 1);
    CancelMemberVideo("meeting-1", "pw", "bob", 1);
    SetMeetingSpeakListen(&key, 2, "meeting-1", "bob", 1, 1);
    SetMeetingSpeakListen(&key, 2, "meeting-1", "bob", 1, 9);
    DeleteMemberMultiMediaMeeting(&key, 2, "meeting-1", "bob", 1);
    DeleteMemberMultiMediaMeeting(&key, 2, "meeting-1", "bob", 1);
    UnpublishVideo(&key, "meeting-1");
    JoinMeeting(1, "meeting-2", "");
    JoinMeeting(1, "meeting-404", "");
    settle();
    zssim::injectMeetingMemberJoined(QStringLiteral("meeting-2"), QStringLiteral("carol"));
    zssim::injectMeetingMemberLeft(QStringLiteral("meeting-2"), QStringLiteral("carol"));
    zssim::injectMeetingMemberJoined(QStringLiteral("meeting-1"), QStringLiteral("bob"));
    zssim::injectMemberVideo(QStringLiteral("meeting-1"), QStringLiteral("bob"), false);
    ExitMeeting("meeting-1");
    DismissMultiMediaMeeting(&key, 1, "meeting-2");
    DismissMultiMediaMeeting(&key, 1, "meeting-2");
    settle();

    // bob's invitation, accepted, and his meeting's end.
    const QString theirs = zssim::injectMeetingInvitation(
        QStringLiteral("bob"), MeetingModel::VideoMeeting, QStringLiteral("Bob's review"),
        QStringLiteral("{\"agenda\":1}"));
    settle();
    std::vector<ZS_MeetingInvitation> accept(1);
    accept[0].meetingType = MeetingModel::VideoMeeting;
    put(accept[0].conferenceId, theirs);
    put(accept[0].callid, QStringLiteral("invite-1"));
    AcceptMeeting(accept.data());
    settle();
    zssim::injectMeetingEnded(theirs);
    settle();

    // Interphones: the microphone passed around, and one of bob's.
    const char *pair[] = {"bob", "carol"};
    const char *nobody[] = {"nobody"};
    CreateInterphoneMeeting(&key, pair, 2);
    CreateInterphoneMeetingBackground(&key, pair, 1, 2);
    CreateInterphoneMeeting(&key, nobody, 1);
    settle();
    ControlInterphoneMic(&key, 1, "interphone-1");
    ControlInterphoneMic(&key, 0, "interphone-1");
    settle();
    zssim::injectInterphoneMic(QStringLiteral("interphone-1"), QStringLiteral("bob"), true);
    ControlInterphoneMic(&key, 1, "interphone-1");
    ControlInterphoneMic(&key, 0, "interphone-1");
    ControlInterphoneMic(&key, 1, "interphone-404");
    QueryMeetingMembers(&key, 3, "interphone-1");
    settle();
    zssim::injectMeetingMemberLeft(QStringLiteral("interphone-1"), QStringLiteral("bob"));
    zssim::injectInterphoneInvitation(QStringLiteral("bob"), {QStringLiteral("carol")});
    ExitMeeting("interphone-1");
    settle();

    // What the callback tests fire by hand: null records and texts, fields without a NUL, odd
    // arrays, flags other than 0 and 1.
    using G = ZS_MeetingCallBack;
    const char *noText = nullptr;
    auto interphone = meetingRecords<ZS_InterphoneMsg>(1, 'p');
    auto invitation = meetingRecords<ZS_MeetingInvitation>(1, 'c');
    auto voice = meetingRecords<ZS_VoiceMeetingMsg>(1, 'v');
    auto video = meetingRecords<ZS_VideoMeetingMsg>(1, 'w');
    auto info = meetingRecords<ZS_MeetingInfo>(2, 'i');
    auto members = meetingRecords<ZS_MeetingMemberInfo>(3, 'm');
    auto removed = meetingRecords<ZS_MeetingDeleteMemberInfo>(1, 'd');
    auto setting = meetingRecords<ZS_MeetingSpeakListenInfo>(1, 's');
    const char *names[] = {"bob", nullptr, "carol"};
    std::vector<ZS_MeetingInviteResult> results(2);
    std::memset(static_cast<void *>(results.data()), 'r', results.size() * sizeof(results[0]));
    results[0].members = names;
    results[0].memberCount = 3;
    results[0].resultText = "dave";
    results[1].members = nullptr;
    results[1].memberCount = 2;
    results[1].resultText = nullptr;
    Control::fire(&G::onReceiveInterphoneMeetingMessage,
                  static_cast<const ZS_InterphoneMsg *>(interphone.data()));
    Control::fire(&G::onReceiveInterphoneMeetingMessage,
                  static_cast<const ZS_InterphoneMsg *>(nullptr));
    Control::fire(&G::onMeetingInviteIncoming,
                  static_cast<const ZS_MeetingInvitation *>(invitation.data()));
    Control::fire(&G::onMeetingInviteIncoming, static_cast<const ZS_MeetingInvitation *>(nullptr));
    Control::fire(&G::onReceiveVoiceMeetingMessage,
                  static_cast<const ZS_VoiceMeetingMsg *>(voice.data()));
    Control::fire(&G::onReceiveVideoMeetingMessage,
                  static_cast<const ZS_VideoMeetingMsg *>(video.data()));
    Control::fire(&G::onCreateMultimediaMeeting, 1u, 200,
                  static_cast<const ZS_MeetingInfo *>(info.data()));
    Control::fire(&G::onCreateMultimediaMeeting, 2u, 500,
                  static_cast<const ZS_MeetingInfo *>(nullptr));
    Control::fire(&G::onQueryMultiMediaMeetings, 3u, 200, 2,
                  static_cast<const ZS_MeetingInfo *>(info.data()));
    Control::fire(&G::onQueryMultiMediaMeetings, 4u, 200, 5,
                  static_cast<const ZS_MeetingInfo *>(nullptr));
    Control::fire(&G::onQueryMeetingMembers, 5u, 200, "meeting-1", 3,
                  static_cast<const ZS_MeetingMemberInfo *>(members.data()));
    Control::fire(&G::onQueryMeetingMembers, 6u, 200, noText, -1,
                  static_cast<const ZS_MeetingMemberInfo *>(members.data()));
    Control::fire(&G::onQueryMeetingMembers, 7u, 404, "meeting-1", 3,
                  static_cast<const ZS_MeetingMemberInfo *>(nullptr));
    Control::fire(&G::onDeleteMemberMultiMediaMeeting, 8u, 200,
                  static_cast<const ZS_MeetingDeleteMemberInfo *>(removed.data()));
    Control::fire(&G::onSetMeetingSpeakListen, 9u, 200,
                  static_cast<const ZS_MeetingSpeakListenInfo *>(setting.data()));
    for (const ZS_MeetingInviteResult &r : results)
        Control::fire(&G::onInviteJoinMultiMediaMeeting, 10u, 200, &r);
    Control::fire(&G::onControlInterphoneMic, 11u, 486, "bob", noText, ZS_Bool8(158));
    Control::fire(&G::onJoinMeeting, 404, noText);
    Control::fire(&G::onExitMeeting, noText);
    Control::fire(&G::onRequestConferenceMemberVideo, 404, noText, noText, -1);
    settle();
}

// ---- the group tests --------------------------------------------------------------------------

void groupScenes()
{
    Control::withServer([](zssim::ServerModel &s) {
        s.currentUser = QStringLiteral("alice");
        s.groups.answers[QStringLiteral("carol")] = GroupModel::Decline;
    });
    unsigned int key = 0;
    // A group made, filled, changed, talked in, muted, left and dismissed.
    const QByteArray name = QString::fromUtf8("发布组").toUtf8();
    CreateGroup(&key, name.constData(), 1, "Zhejiang", "Hangzhou", GroupModel::Public, "Ship it", 0,
                0, "tq.example", false);
    CreateGroup(&key, "ConfGroup", 0, "", "", 0, "", 0, 0, "", true);
    CreateGroup(&key, "", 0, "", "", 0, "", 0, 0, "", false);
    settle();
    const char *invited[] = {"bob", "carol", "nobody"};
    InviteJoinGroup(&key, "group-1", "join us", invited, 3, 1);
    InviteJoinGroup(&key, "group-404", "join us", invited, 1, 1);
    settle();
    QueryOwnGroup(&key, "", 0, 0);
    QueryOwnGroup(&key, "group-1", 1, 0);
    QueryGroupDetail(&key, "group-1");
    QueryGroupDetail(&key, "group-900");
    QueryGroupMember(&key, "group-1", "", 0);
    QueryGroupMember(&key, "group-900", "", 0);
    SearchPublicGroups(&key, GroupModel::ByName, "design");
    SearchPublicGroups(&key, GroupModel::ById, "group-1");
    SearchPublicGroupsPaging(&key, GroupModel::ByName, "", 1, 1);
    ZS_GroupChangeInfo change{};
    put(change.groupId, QStringLiteral("group-1"));
    put(change.name, QString(300, QChar(0x4E2D)));
    put(change.declared, QString::fromUtf8("é").repeated(300));
    change.isDiscuss = 1;
    ModifyGroup(&key, &change);
    ZS_GroupMemberCard card{};
    put(card.cardText1, QStringLiteral("bob"));
    put(card.cardText2, QStringLiteral("group-1"));
    put(card.cardText3, QString::fromUtf8("鲍勃"));
    put(card.cardText6, QString::fromUtf8("🎉").repeated(200));
    ModifyMemberCard(&key, &card);
    QueryGroupMemberCard(&key, "group-1", "bob");
    QueryGroupMemberCard(&key, "group-1", "carol");
    settle();
    SendTextMessageEX(&key, "group-1", "hello team", 1, "", nullptr, "");
    ForbidMemberSpeak(&key, "group-1", "bob", 1);
    SetGroupMessageRule(&key, "group-1", false);
    SetGroupMemberRole(&key, "group-1", "bob", 1);
    SetGroupMemberRole(&key, "group-1", "bob", 7);
    settle();
    zssim::injectJoinRequest(QStringLiteral("group-1"), QStringLiteral("carol"),
                             QStringLiteral("on call"));
    settle();
    ReplyRequestJoinGroup(&key, "group-1", "carol", 1);
    ReplyRequestJoinGroup(&key, "group-1", "carol", 1);
    settle();
    zssim::injectMemberQuit(QStringLiteral("group-1"), QStringLiteral("carol"));
    DeleteGroupMember(&key, "group-1", "bob");
    DeleteGroupMember(&key, "group-1", "alice");
    QuitGroup(&key, "group-1");
    DismissGroup(&key, "group-1");
    DismissGroup(&key, "group-1");
    settle();
    // bob's public group: found, joined, an invitation into it, a member removed, its end.
    JoinGroup(&key, "group-900", "I like design");
    JoinGroup(&key, "group-900", "again");
    settle();
    zssim::injectMemberRemoved(QStringLiteral("group-900"), QStringLiteral("bob"),
                               QStringLiteral("carol"));
    QuitGroup(&key, "group-900");
    settle();
    zssim::injectGroupInvitation(QStringLiteral("group-900"), QStringLiteral("bob"));
    settle();
    ReplyInviteJoinGroup(&key, "group-900", "bob", 1);
    ReplyInviteJoinGroup(&key, "group-900", "bob", 1);
    settle();
    zssim::injectGroupDismissed(QStringLiteral("group-900"));
    settle();

    // What the callback tests fire by hand: null records, arrays and details, odd counts,
    // texts filling their fields, unknown notice types.
    using M = ZS_MessageCallBack;
    const char *noText = nullptr;
    auto simple = meetingRecords<ZS_GroupSimpleInfo>(2, 's');
    simple[0].type = 0;
    put(simple[0].name, QStringLiteral("ConfGroup"));
    auto found = meetingRecords<ZS_GroupSearchInfo>(3, 'f');
    auto members = meetingRecords<ZS_GroupMemberInfo>(2, 'm');
    auto detail = meetingRecords<ZS_GroupDetailInfo>(1, 'd');
    auto changed = meetingRecords<ZS_GroupChangeInfo>(1, 'c');
    auto cards = meetingRecords<ZS_GroupMemberCard>(1, 'k');
    const char *names[] = {"bob", nullptr, "carol"};
    Control::fire(&M::onQueryOwnGroup, 1u, 200, 2,
                  static_cast<const ZS_GroupSimpleInfo *>(simple.data()));
    Control::fire(&M::onQueryOwnGroup, 2u, 200, 3,
                  static_cast<const ZS_GroupSimpleInfo *>(nullptr));
    Control::fire(&M::onSearchPublicGroup, 3u, 200, 0, "x", 3,
                  static_cast<const ZS_GroupSearchInfo *>(found.data()));
    Control::fire(&M::onSearchPublicGroupPaging, 4u, 200, 1, noText, -1,
                  static_cast<const ZS_GroupSearchInfo *>(found.data()), 2);
    Control::fire(&M::onQueryGroupMember, 5u, 404, "group-8", 2,
                  static_cast<const ZS_GroupMemberInfo *>(members.data()));
    Control::fire(&M::onInviteJoinGroup, 6u, 200, "group-7",
                  static_cast<const char *const *>(names), 3, 1);
    Control::fire(&M::onInviteJoinGroup, 7u, 200, noText, static_cast<const char *const *>(nullptr),
                  3, 1);
    Control::fire(&M::onCreateGroup, 8u, 200,
                  static_cast<const ZS_GroupDetailInfo *>(detail.data()));
    Control::fire(&M::onQueryGroupDetail, 9u, 500,
                  static_cast<const ZS_GroupDetailInfo *>(nullptr));
    Control::fire(&M::onModifyGroup, 10u, 200,
                  static_cast<const ZS_GroupChangeInfo *>(changed.data()));
    Control::fire(&M::onModifyGroupMemberCard, 11u, 200,
                  static_cast<const ZS_GroupMemberCard *>(cards.data()));
    Control::fire(&M::onQueryGroupMemberCard, 12u, 404,
                  static_cast<const ZS_GroupMemberCard *>(nullptr));
    Control::fire(&M::onForbidMemberSpeakGroup, 13u, 200, "group-7", noText, 1);
    Control::fire(&M::onSetGroupMessageRule, 14u, 200, "group-7", ZS_Bool8(158));
    settle();
    std::vector<char> joined(sizeof(ZS_GroupJoinNotice) + 2 * sizeof(ZS_GroupNoticeMember), 'j');
    ZS_GroupJoinNotice head;
    std::memcpy(&head, joined.data(), sizeof head);
    head.memberCount = 2;
    std::memcpy(joined.data(), &head, sizeof head);
    auto negative = meetingRecords<ZS_GroupJoinNotice>(1, 'n');
    negative[0].memberCount = -1;
    auto reply = meetingRecords<ZS_GroupReplyNotice>(1, 'r');
    auto header = meetingRecords<ZS_GroupNoticeHeader>(1, 'h');
    std::vector<ZS_GroupNotice> notices(8);
    std::memset(static_cast<void *>(notices.data()), 0, notices.size() * sizeof(ZS_GroupNotice));
    const int types[] = {12, 12, 6, 7, 5, 9, 13, 4};
    const void *details[] = {joined.data(), negative.data(), reply.data(),  reply.data(),
                             header.data(), header.data(),   header.data(), nullptr};
    for (std::size_t i = 0; i < notices.size(); ++i) {
        notices[i].type = types[i];
        notices[i].detail = details[i];
        Control::fire(&M::onReceiveGroupNoticeMessage,
                      static_cast<const ZS_GroupNotice *>(&notices[i]));
    }
    settle();
}

// ---- the call-agent models --------------------------------------------------------------------

CallModel::Camera camera(int index, const std::vector<std::pair<int, int>> &sizes)
{
    CallModel::Camera c;
    c.index = index;
    c.name = "Stand-in camera";
    for (const auto &size : sizes)
        c.capabilities.append(ZS_CameraCapability{size.first, size.second, 30});
    return c;
}

tqfuzz::OutputRequest request(tqfuzz::OutputOp op, int type = 0, const char *text = nullptr)
{
    tqfuzz::OutputRequest r;
    r.op = op;
    r.type = type;
    r.nullText = !text;
    r.text = text ? text : "";
    return r;
}

tqfuzz::OutputRequest refused(tqfuzz::OutputRequest r, int code)
{
    r.refused = true;
    r.code = code;
    return r;
}

void outputs(const QString &name, const CallModel &model,
             std::initializer_list<tqfuzz::OutputRequest> requests)
{
    tqfuzz::Writer out;
    tqfuzz::encodeModel(out, model);
    for (const tqfuzz::OutputRequest &r : requests)
        tqfuzz::encodeRequest(out, r);

    // The input must decode to this model and these requests: encoded again, the same bytes.
    const std::string &bytes = out.bytes();
    tqfuzz::Reader in(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    CallModel decoded;
    tqfuzz::decodeModel(in, decoded);
    tqfuzz::Writer again;
    tqfuzz::encodeModel(again, decoded);
    while (!in.atEnd())
        tqfuzz::encodeRequest(again, tqfuzz::decodeRequest(in));
    if (again.bytes() != bytes) {
        std::fprintf(stderr, "fuzz_seeds: the model %s does not round-trip\n", qPrintable(name));
        std::exit(1);
    }
    g_seeds.add("fuzz_agent_outputs", name, bytes);
}

void outputSeeds()
{
    using Op = tqfuzz::OutputOp;
    const auto cameraInfo = request(Op::GetCameraInfo);
    CallModel m;
    m.cameras = {camera(3, {{1920, 1080}, {1280, 720}, {640, 480}, {320, 240}})};
    outputs(QStringLiteral("cameras"), m, {cameraInfo});

    const std::vector<std::vector<std::pair<int, int>>> ranges{
        {{1920, 1080}, {2560, 1440}, {320, 240}},
        {{320, 240}, {1280, 720}},
        {{1920, 1080}, {640, 480}},
        {{1281, 720}, {639, 480}},
        {{640, 0}, {800, 600}},
        {{640, 0}}};
    for (const auto &sizes : ranges) {
        m = CallModel();
        m.cameras = {camera(0, sizes)};
        outputs(QStringLiteral("camera-range"), m, {cameraInfo});
    }

    // The faults of a broken engine the call tests set.
    const CallModel::Camera three = camera(5, {{1280, 720}, {640, 480}, {320, 240}});
    m = CallModel();
    outputs(QStringLiteral("no-camera"), m, {cameraInfo});
    m.cameras = {three};
    m.nullCameraList = true;
    m.overrideCameraCount = true;
    m.cameraCount = 2;
    outputs(QStringLiteral("null-camera-list"), m, {cameraInfo});
    m.nullCameraList = false;
    m.cameraCount = -1;
    outputs(QStringLiteral("negative-camera-count"), m, {cameraInfo});
    m = CallModel();
    m.cameras = {three};
    m.cameras[0].nullCapabilities = true;
    m.cameras[0].overrideCapabilityCount = true;
    m.cameras[0].capabilityCount = 3;
    outputs(QStringLiteral("null-capabilities"), m, {cameraInfo});
    m.cameras[0].nullCapabilities = false;
    m.cameras[0].capabilityCount = -2;
    outputs(QStringLiteral("negative-capability-count"), m, {cameraInfo});

    m = CallModel();
    m.flagByte = 158;
    outputs(QStringLiteral("flag-byte"), m,
            {request(Op::GetCodecNack), request(Op::GetAudioConfigEnabled, 4),
             request(Op::GetCodecEnabled, 10), request(Op::GetMuteStatus)});

    m = CallModel();
    m.codecEnabled[10] = false;
    m.audioNack = true;
    m.videoNack = true;
    m.audioConfig[4] = CallModel::AudioConfig{true, 3};
    outputs(QStringLiteral("settings"), m,
            {request(Op::GetCodecEnabled, 10), request(Op::GetCodecEnabled, 11),
             request(Op::GetCodecNack), request(Op::GetAudioConfigEnabled, 4)});

    m = CallModel();
    m.mute = true;
    m.speakerVolume = 70;
    outputs(QStringLiteral("mute-speaker"), m,
            {refused(request(Op::GetSpeakerVolume), ZS_ERR_NETWORK), request(Op::GetSpeakerVolume),
             request(Op::GetMuteStatus)});
    outputs(QStringLiteral("refused"), m,
            {refused(request(Op::GetAudioConfigEnabled, 3), ZS_ERR_BUSY),
             refused(request(Op::GetCodecNack), ZS_ERR_BUSY),
             refused(request(Op::GetCodecEnabled, 10), ZS_ERR_BUSY),
             refused(request(Op::GetMuteStatus), ZS_ERR_BUSY),
             refused(request(Op::GetCameraInfo), ZS_ERR_BUSY)});

    const std::initializer_list<tqfuzz::OutputRequest> currentCall{
        request(Op::GetCurrentCall),
        request(Op::ResetVideoView),
        request(Op::StartRecordScreen, 2, "rec.mp4"),
        request(Op::StopRecordScreen),
        request(Op::GetNetworkStatistic, 0, "call-1"),
        request(Op::GetNetworkStatistic, 0, "call-9")};
    m = CallModel();
    outputs(QStringLiteral("no-call"), m, currentCall);
    CallModel::Call call;
    call.id = QStringLiteral("call-1");
    m.calls.insert(call.id, call);
    m.currentCallId = call.id;
    m.networkStatistic[0] = 1;
    m.networkStatistic[1] = 1ULL << 40;
    m.networkStatistic[2] = ~0ULL;
    outputs(QStringLiteral("current-call"), m, currentCall);
}

// ---- the codec --------------------------------------------------------------------------------

void codecSeeds()
{
    using Op = tqfuzz::CodecOp;
    const std::string texts[] = {
        "alice",
        "\xE5\xBC\xA0\xE4\xB8\x89", // 张三
        "Carol \xE5\xBC\xA0",
        "\xE7\xAD\xBE\xE5\x90\x8D \xF0\x9F\x8E\x89", // 签名 🎉
        QString(200, QChar(0xE9)).toUtf8().toStdString(),
        QString(300, QChar(0x4E2D)).toUtf8().toStdString(),
        "+86 10 1234 5678 ext 99",
        "x\n2000-01-01 00:00:00.000 [ERROR] [1] FORGED",
        std::string(4097, 'x'),
        "call-1",
    };
    int n = 0;
    for (const std::string &text : texts) {
        const QString name = QStringLiteral("text%1").arg(n++);
        for (std::uint16_t width : {21, 65, 100, 129, 1306})
            g_seeds.add("fuzz_codec", name, tqfuzz::codecInput(Op::WriteFixed, width, text));
        for (std::uint16_t width : {21, 65, 129, 4097})
            g_seeds.add("fuzz_codec", name, tqfuzz::codecInput(Op::Field, width, text));
        g_seeds.add("fuzz_codec", name, tqfuzz::codecInput(Op::CopyUtf8, 99, text));
        g_seeds.add("fuzz_codec", name,
                    tqfuzz::codecInput(Op::ReadFixed, std::uint16_t(text.size()), text));
        g_seeds.add("fuzz_codec", name, tqfuzz::codecInput(Op::EngineText, 0, text));
    }
    for (int count : {3, 0, -1}) {
        tqfuzz::Writer out;
        out.u8(std::uint8_t(Op::Array));
        out.u8(count > 0 ? 0 : count == 0 ? 3 : 2);
        out.u8(std::uint8_t(count > 0 ? count : 2));
        out.u32(std::uint32_t(count));
        for (int i = 0; i < (count > 0 ? count : 2); ++i) {
            out.u8(0);
            out.i32(i * 7 - 1);
            out.u32(0);
        }
        g_seeds.add("fuzz_codec", QStringLiteral("array"), out.bytes());
    }
    for (std::uint8_t flag : {0, 1, 158})
        g_seeds.add("fuzz_codec", QStringLiteral("flag"), std::string{char(Op::Flag), char(flag)});
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <dir>\n");
        return 2;
    }

    static ZS_GeneralCallBack general{};
    static ZS_VoIPCallBack voip{};
    static ZS_MessageCallBack message{};
    static ZS_MeetingCallBack meeting{};
    static ZS_ConfCallBack conf{};
    void *const tables[tqfuzz::kTableKinds] = {&general, &voip, &message, &meeting, &conf};
    const std::vector<tqfuzz::Entry> &entries = tqfuzz::entries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i].install(tables, int(i));
    tqfuzz::recordSink() = [&entries](int position, const std::string &bytes) {
        g_seeds.add("fuzz_callbacks", QString::fromLatin1(entries[std::size_t(position)].name),
                    bytes);
    };

    Control::reset();
    Control::setJournaling(false);
    SetGeneralCallBackFuction(&general);
    SetVoIPCallBackFuction(&voip);
    SetMessageCallBackFunction(&message);
    SetMeetingCallBackFuction(&meeting);
    SetConfCallBackFuction(&conf);
    if (ZSSDK_Initialize() != 0) {
        std::fprintf(stderr, "fuzz_seeds: the engine did not start\n");
        return 1;
    }
    sessionScenes();
    callScenes();
    messageScenes();
    conferenceScenes();
    meetingScenes();
    groupScenes();
    ZSSDK_UnInitialize();
    outputSeeds();
    codecSeeds();
    whiteboardSeeds([](const QString &name, const std::string &bytes) {
        g_seeds.add("fuzz_whiteboard", name, bytes);
    });
    vidyoSeeds([](const QString &name, const std::string &bytes) {
        g_seeds.add("fuzz_vidyo", name, bytes);
    });

    if (!g_seeds.write(QDir(QString::fromLocal8Bit(argv[1])))) {
        std::fprintf(stderr, "fuzz_seeds: cannot write into %s\n", argv[1]);
        return 1;
    }
    for (const char *target :
         {"fuzz_callbacks", "fuzz_agent_outputs", "fuzz_codec", "fuzz_whiteboard", "fuzz_vidyo"})
        std::printf("fuzz_seeds: %d seeds for %s\n", g_seeds.count(target), target);
    return 0;
}
