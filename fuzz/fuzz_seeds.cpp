// Writes the seed inputs of the fuzz targets, one folder each under the given directory:
//   fuzz_callbacks      every callback the stand-in engine makes while it is driven through
//                       what the tests do (accounts and logins, presence, personal
//                       information, user states, calls made, answered and released,
//                       incoming calls, call-back requests, media switches; messages sent
//                       and echoed, files up and down, cancelled transfers, withdrawal,
//                       top contacts, voice notes, offline messages), plus the faulty
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
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <QTextCodec>

#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

using zssim::Control;

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
    ZSSDK_UnInitialize();
    outputSeeds();
    codecSeeds();

    if (!g_seeds.write(QDir(QString::fromLocal8Bit(argv[1])))) {
        std::fprintf(stderr, "fuzz_seeds: cannot write into %s\n", argv[1]);
        return 1;
    }
    for (const char *target : {"fuzz_callbacks", "fuzz_agent_outputs", "fuzz_codec"})
        std::printf("fuzz_seeds: %d seeds for %s\n", g_seeds.count(target), target);
    return 0;
}
