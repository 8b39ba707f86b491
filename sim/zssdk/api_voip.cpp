// Calls: dialling, call events, DTMF, media switches, cameras and media settings.

#include "Engine.h"

#include <Utf8Field.h>

#include <algorithm>
#include <cstdint>

using namespace zssim;

namespace {

// Buffers handed out through return values and out-pointers: the engine keeps each until the
// next call of the same function. Never destroyed, like the engine itself.
struct Handouts
{
    std::mutex mutex;
    QByteArray makeCallId;
    QByteArray makeCallExId;
    QByteArray currentCall;
    std::vector<ZS_CameraInfo> cameras;
    std::vector<std::vector<ZS_CameraCapability>> capabilities;

    static Handouts &get()
    {
        static Handouts *const handouts = new Handouts;
        return *handouts;
    }
};

unsigned long long handle(const void *p)
{
    return static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(p));
}

QString text(const char *utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

// Writes UTF-8 into a record field: cut at a character boundary, NUL and zero fill.
template<std::size_t N> void put(char (&field)[N], const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    tq::copyUtf8Field(field, N, utf8.constData(), std::size_t(utf8.size()));
}

// A text handed to a callback: engine memory, scribbled once the callback returns.
std::shared_ptr<std::vector<char>> callbackText(const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    std::vector<char> bytes(utf8.begin(), utf8.end());
    bytes.push_back('\0');
    return callbackRecords(std::move(bytes));
}

std::function<void()> callEvent(int reason, int code, const CallModel::Call &c)
{
    ZS_CallEvent event{};
    event.eCode = code;
    event.callType = c.callType;
    put(event.callid, c.id);
    put(event.caller, c.caller);
    put(event.callee, c.callee);
    return [reason, records = callbackRecords(std::vector<ZS_CallEvent>{event})] {
        invoke(&ZS_VoIPCallBack::onCallEvents, reason,
               static_cast<const ZS_CallEvent *>(records->data()));
        scribble(*records);
    };
}

std::function<void()> remoteVideoRatio(const CallModel::Call &c, int width, int height)
{
    return [id = callbackText(c.id), member = callbackText(c.incoming ? c.caller : c.callee), width,
            height] {
        invoke(&ZS_VoIPCallBack::onRemoteVideoRatio, static_cast<const char *>(id->data()), width,
               height, int(ZS_REMOTE_VIDEO_CALL), static_cast<const char *>(member->data()));
        scribble(*id);
        scribble(*member);
    };
}

std::function<void()> switchResponse(const QString &callId, int video)
{
    return [id = callbackText(callId), video] {
        invoke(&ZS_VoIPCallBack::onSwitchCallMediaTypeResponse,
               static_cast<const char *>(id->data()), video);
        scribble(*id);
    };
}

// Call type 2 is this engine's video call; the others start with voice only.
int isVideoCall(int callType)
{
    return callType == 2 ? 1 : 0;
}

// Looks a call up under the engine's lock; `change` may modify it.
bool withCall(const char *callId, const std::function<void(CallModel &, CallModel::Call &)> &change)
{
    bool found = false;
    Control::withServer([&](ServerModel &server) {
        const auto it = server.calls.calls.find(text(callId));
        if (it == server.calls.calls.end())
            return;
        found = true;
        if (change)
            change(server.calls, *it);
    });
    return found;
}

int dial(Request &call, QByteArray &handout, const char **callId, int callType, const char *called)
{
    if (!call.accepted())
        return call.result();
    if (!called || !*called)
        return ZS_ERR_INVALID_ARGUMENT;
    CallModel::Call c;
    bool answers = true;
    int width = 0;
    int height = 0;
    Control::withServer([&](ServerModel &server) {
        CallModel &model = server.calls;
        c.id = QStringLiteral("call-%1").arg(model.nextCallNumber++);
        c.callType = callType;
        c.caller = server.currentUser;
        c.callee = QString::fromUtf8(called);
        c.answered = answers = model.calleeAnswers;
        c.video = isVideoCall(callType);
        width = model.remoteVideoWidth;
        height = model.remoteVideoHeight;
        model.calls.insert(c.id, c);
        model.currentCallId = c.id;
    });
    {
        Handouts &h = Handouts::get();
        std::lock_guard<std::mutex> lock(h.mutex);
        handout = c.id.toUtf8();
        if (callId)
            *callId = handout.constData();
    }
    call.answer(callEvent(ZS_REASON_SUCCESS, ZS_CALL_EVENT_PROCEEDING, c));
    call.answer(callEvent(ZS_REASON_SUCCESS, ZS_CALL_EVENT_ALERTING, c));
    if (answers) {
        call.answer(callEvent(ZS_REASON_SUCCESS, ZS_CALL_EVENT_ANSWERED, c));
        if (c.video)
            call.answer(remoteVideoRatio(c, width, height));
    }
    return ZS_OK;
}

// A setting kept in the model: journaled, then stored when accepted.
int keep(Request &call, const std::function<void(CallModel &)> &store)
{
    if (call.accepted())
        Control::withServer([&](ServerModel &server) { store(server.calls); });
    return call.result();
}

// A setting read back from the model when accepted.
template<class T>
T readBack(Request &call, T refused, const std::function<T(const CallModel &)> &read)
{
    if (!call.accepted())
        return refused;
    T value = refused;
    Control::withServer([&](ServerModel &server) { value = read(server.calls); });
    return value;
}

int startRecording(Request &call, const char *callId, CallModel::Recording recording)
{
    if (!call.accepted())
        return call.result();
    recording.active = true;
    recording.callId = text(callId);
    const bool found = withCall(
        callId, [&](CallModel &model, CallModel::Call &) { model.recording = recording; });
    return found ? ZS_OK : ZS_ERR_NOT_FOUND;
}

} // namespace

namespace zssim {

QString injectIncomingCall(const QString &caller, const QString &callerName, int callType)
{
    CallModel::Call c;
    Control::withServer([&](ServerModel &server) {
        CallModel &model = server.calls;
        c.id = QStringLiteral("call-%1").arg(model.nextCallNumber++);
        c.callType = callType;
        c.caller = caller;
        c.callee = server.currentUser;
        c.incoming = true;
        c.video = isVideoCall(callType);
        model.calls.insert(c.id, c);
        model.currentCallId = c.id;
    });
    ZS_IncomingCall info{};
    info.number1 = callType;
    put(info.text1, c.id);
    put(info.text2, c.caller);
    put(info.text3, callerName);
    put(info.text4, c.callee);
    Control::post([records = callbackRecords(std::vector<ZS_IncomingCall>{info})] {
        invoke(&ZS_VoIPCallBack::onCallIncoming,
               static_cast<const ZS_IncomingCall *>(records->data()));
        scribble(*records);
    });
    return c.id;
}

void injectRemoteRelease(const QString &callId, int reason)
{
    CallModel::Call c;
    bool found = false;
    Control::withServer([&](ServerModel &server) {
        CallModel &model = server.calls;
        found = model.calls.contains(callId);
        c = model.calls.take(callId);
        if (model.currentCallId == callId)
            model.currentCallId.clear();
    });
    if (found)
        Control::post(callEvent(reason, ZS_CALL_EVENT_RELEASED, c));
}

bool injectSwitchRequest(const QString &callId, int video)
{
    const QByteArray id = callId.toUtf8();
    if (!withCall(id.constData(), nullptr))
        return false;
    Control::post([id = callbackText(callId), video] {
        invoke(&ZS_VoIPCallBack::onSwitchCallMediaTypeRequest,
               static_cast<const char *>(id->data()), video);
        scribble(*id);
    });
    return true;
}

} // namespace zssim

extern "C" {

// ---- dialling and call control ----------------------------------------------------------------

int MakeCallBack(unsigned int *matchKey, const char *caller, const char *called,
                 const char *callerDisplay, const char *calledDisplay)
{
    Request call("MakeCallBack");
    call.text(caller).text(called).text(callerDisplay).text(calledDisplay);
    const unsigned int key = call.issueKey(matchKey);
    if (!caller || !*caller || !called || !*called) {
        call.answer([key] {
            invoke(&ZS_VoIPCallBack::onMakeCallBack, key, int(ZS_REASON_BAD_REQUEST),
                   static_cast<const ZS_CallBackInfo *>(nullptr));
        });
        return call.result();
    }
    ZS_CallBackInfo info{};
    put(info.text1, text(caller));
    put(info.text2, text(called));
    put(info.text3, text(callerDisplay));
    put(info.text4, text(calledDisplay));
    call.answer([key, records = callbackRecords(std::vector<ZS_CallBackInfo>{info})] {
        invoke(&ZS_VoIPCallBack::onMakeCallBack, key, int(ZS_REASON_SUCCESS),
               static_cast<const ZS_CallBackInfo *>(records->data()));
        scribble(*records);
    });
    return call.result();
}

int MakeCall(const char **callId, int callType, const char *called)
{
    Request call("MakeCall");
    call.arg(callType).text(called);
    return dial(call, Handouts::get().makeCallId, callId, callType, called);
}

int MakeCallEx(const char **callId, int callType, const char *called, const char *extra)
{
    Request call("MakeCallEx");
    call.arg(callType).text(called).text(extra);
    return dial(call, Handouts::get().makeCallExId, callId, callType, called);
}

int AcceptCall(const char *callId)
{
    Request call("AcceptCall");
    call.text(callId);
    if (!call.accepted())
        return call.result();
    CallModel::Call c;
    bool ringing = false;
    int width = 0;
    int height = 0;
    const bool found = withCall(callId, [&](CallModel &model, CallModel::Call &incoming) {
        ringing = incoming.incoming && !incoming.answered;
        width = model.remoteVideoWidth;
        height = model.remoteVideoHeight;
        incoming.answered = true;
        model.currentCallId = incoming.id;
        c = incoming;
    });
    if (!found || !ringing)
        return ZS_ERR_NOT_FOUND;
    call.answer(callEvent(ZS_REASON_SUCCESS, ZS_CALL_EVENT_ANSWERED, c));
    if (c.video)
        call.answer(remoteVideoRatio(c, width, height));
    return ZS_OK;
}

int ReleaseCall(const char *callId, int reason)
{
    Request call("ReleaseCall");
    call.text(callId).arg(reason);
    if (!call.accepted())
        return call.result();
    CallModel::Call c;
    const bool found = withCall(callId, [&](CallModel &model, CallModel::Call &released) {
        c = released;
        if (model.currentCallId == released.id)
            model.currentCallId.clear();
        model.calls.remove(c.id); // `released` dangles from here on
    });
    if (!found)
        return ZS_ERR_NOT_FOUND;
    call.answer(callEvent(reason, ZS_CALL_EVENT_RELEASED, c));
    return ZS_OK;
}

int SendDTMF(const char *callId, char dtmf)
{
    Request call("SendDTMF");
    call.text(callId).arg(int(dtmf));
    if (!call.accepted())
        return call.result();
    const bool found
        = withCall(callId, [&](CallModel &, CallModel::Call &c) { c.dtmf.append(dtmf); });
    return found ? ZS_OK : ZS_ERR_NOT_FOUND;
}

const char *GetCurrentCall(void)
{
    Request call("GetCurrentCall");
    const QString current
        = readBack<QString>(call, QString(), [](const CallModel &m) { return m.currentCallId; });
    if (current.isEmpty())
        return nullptr;
    Handouts &h = Handouts::get();
    std::lock_guard<std::mutex> lock(h.mutex);
    h.currentCall = current.toUtf8();
    return h.currentCall.constData();
}

int RequestSwitchCallMediaType(const char *callId, int video)
{
    Request call("RequestSwitchCallMediaType");
    call.text(callId).arg(video);
    if (!call.accepted())
        return call.result();
    CallModel::Call c;
    int width = 0;
    int height = 0;
    const bool found = withCall(callId, [&](CallModel &model, CallModel::Call &switched) {
        if (model.remoteAcceptsSwitch)
            switched.video = video;
        c = switched;
        width = model.remoteVideoWidth;
        height = model.remoteVideoHeight;
    });
    if (!found)
        return ZS_ERR_NOT_FOUND;
    // The other side answers with the media type now in force.
    call.answer(switchResponse(c.id, c.video));
    if (c.video)
        call.answer(remoteVideoRatio(c, width, height));
    return ZS_OK;
}

int ResponseSwitchCallMediaType(const char *callId, int video)
{
    Request call("ResponseSwitchCallMediaType");
    call.text(callId).arg(video);
    if (!call.accepted())
        return call.result();
    CallModel::Call c;
    int width = 0;
    int height = 0;
    const bool found = withCall(callId, [&](CallModel &model, CallModel::Call &switched) {
        switched.video = video;
        c = switched;
        width = model.remoteVideoWidth;
        height = model.remoteVideoHeight;
    });
    if (!found)
        return ZS_ERR_NOT_FOUND;
    if (video)
        call.answer(remoteVideoRatio(c, width, height));
    return ZS_OK;
}

// ---- audio ------------------------------------------------------------------------------------

int SetMute(bool mute)
{
    Request call("SetMute");
    call.arg(int(mute));
    return keep(call, [&](CallModel &m) { m.mute = mute; });
}

ZS_Bool8 GetMuteStatus(void)
{
    Request call("GetMuteStatus");
    return readBack<ZS_Bool8>(call, 0, [](const CallModel &m) { return m.flagOut(m.mute); });
}

int GetSpeakerVolume(unsigned int *volume)
{
    Request call("GetSpeakerVolume");
    const unsigned int value
        = readBack<unsigned int>(call, 0, [](const CallModel &m) { return m.speakerVolume; });
    if (call.accepted() && volume)
        *volume = value;
    return call.result();
}

int SetSpeakerVolume(unsigned int volume)
{
    Request call("SetSpeakerVolume");
    call.arg(volume);
    return keep(call, [&](CallModel &m) { m.speakerVolume = volume; });
}

int SetAudioConfigEnabled(int type, bool enabled, int mode)
{
    Request call("SetAudioConfigEnabled");
    call.arg(type).arg(int(enabled)).arg(mode);
    return keep(call, [&](CallModel &m) { m.audioConfig[type] = {enabled, mode}; });
}

int GetAudioConfigEnabled(int type, ZS_Bool8 *enabled, int *mode)
{
    Request call("GetAudioConfigEnabled");
    call.arg(type);
    ZS_Bool8 flag = 0;
    const CallModel::AudioConfig config
        = readBack<CallModel::AudioConfig>(call, {}, [&](const CallModel &m) {
              flag = m.flagOut(m.audioConfig.value(type).enabled);
              return m.audioConfig.value(type);
          });
    if (call.accepted()) {
        if (enabled)
            *enabled = flag;
        if (mode)
            *mode = config.mode;
    }
    return call.result();
}

int SetDtxEnabled(bool enabled)
{
    Request call("SetDtxEnabled");
    call.arg(int(enabled));
    return keep(call, [&](CallModel &m) { m.dtxEnabled = enabled; });
}

int SetRing(const char *fileName)
{
    Request call("SetRing");
    call.text(fileName);
    return keep(call, [&](CallModel &m) { m.ring = fileName ? fileName : ""; });
}

int SetRingback(const char *fileName)
{
    Request call("SetRingback");
    call.text(fileName);
    return keep(call, [&](CallModel &m) { m.ringback = fileName ? fileName : ""; });
}

// ---- codecs -----------------------------------------------------------------------------------

int SetCodecEnabled(int type, bool enabled)
{
    Request call("SetCodecEnabled");
    call.arg(type).arg(int(enabled));
    return keep(call, [&](CallModel &m) { m.codecEnabled[type] = enabled; });
}

ZS_Bool8 GetCodecEnabled(int type)
{
    Request call("GetCodecEnabled");
    call.arg(type);
    return readBack<ZS_Bool8>(
        call, 0, [&](const CallModel &m) { return m.flagOut(m.codecEnabled.value(type, true)); });
}

int SetCodecRed(int bFlag)
{
    Request call("SetCodecRed");
    call.arg(bFlag);
    return keep(call, [&](CallModel &m) { m.codecRed = bFlag; });
}

int SetCodecNack(bool bAudioNack, bool bVideoNack)
{
    Request call("SetCodecNack");
    call.arg(int(bAudioNack)).arg(int(bVideoNack));
    return keep(call, [&](CallModel &m) {
        m.audioNack = bAudioNack;
        m.videoNack = bVideoNack;
    });
}

int GetCodecNack(ZS_Bool8 *bAudioNack, ZS_Bool8 *bVideoNack)
{
    Request call("GetCodecNack");
    if (!call.accepted())
        return call.result();
    Control::withServer([&](ServerModel &server) {
        if (bAudioNack)
            *bAudioNack = server.calls.flagOut(server.calls.audioNack);
        if (bVideoNack)
            *bVideoNack = server.calls.flagOut(server.calls.videoNack);
    });
    return ZS_OK;
}

// ---- video ------------------------------------------------------------------------------------

int SetVideoView(void *view, void *localView)
{
    Request call("SetVideoView");
    call.arg(handle(view)).arg(handle(localView));
    return call.result();
}

int SetVideoViewEX(void *view, void *localView, void *remoteShareView, void *localShareView)
{
    Request call("SetVideoViewEX");
    call.arg(handle(view)).arg(handle(localView)).arg(handle(remoteShareView));
    call.arg(handle(localShareView));
    return call.result();
}

int ResetVideoView(const char *callId, void *view, void *localView)
{
    Request call("ResetVideoView");
    call.text(callId).arg(handle(view)).arg(handle(localView));
    if (!call.accepted())
        return call.result();
    return withCall(callId, nullptr) ? ZS_OK : ZS_ERR_NOT_FOUND;
}

int SetLevelIdc(int width, int height, float fps, int level)
{
    Request call("SetLevelIdc");
    // The journal has no floating-point slot: the rate is journaled as its text.
    const QByteArray rate = QByteArray::number(double(fps));
    call.arg(width).arg(height).text(rate.constData()).arg(level);
    return call.result();
}

int SetVideoBitRates(int bitrates)
{
    Request call("SetVideoBitRates");
    call.arg(bitrates);
    return keep(call, [&](CallModel &m) { m.videoBitRates = bitrates; });
}

int SetLocalShareDevice(const char *number, bool bflag)
{
    Request call("SetLocalShareDevice");
    call.text(number).arg(int(bflag));
    return keep(call, [&](CallModel &m) {
        m.shareNumber = number ? number : "";
        m.sharing = bflag;
    });
}

int GetCameraInfo(const ZS_CameraInfo **cameras)
{
    Request call("GetCameraInfo");
    if (!call.accepted() || !cameras)
        return 0;
    Handouts &h = Handouts::get();
    std::lock_guard<std::mutex> lock(h.mutex);
    h.cameras.clear();
    h.capabilities.clear();
    bool nullList = false;
    int count = 0;
    Control::withServer([&](ServerModel &server) {
        const CallModel &model = server.calls;
        h.capabilities.reserve(std::size_t(model.cameras.size())); // keeps the arrays in place
        for (const CallModel::Camera &camera : model.cameras) {
            h.capabilities.emplace_back(camera.capabilities.begin(), camera.capabilities.end());
            ZS_CameraInfo info{};
            info.index = camera.index;
            put(info.text1, QString::fromUtf8(camera.name));
            info.capabilityCount = camera.overrideCapabilityCount ? camera.capabilityCount
                                                                  : int(camera.capabilities.size());
            info.capabilities = camera.nullCapabilities ? nullptr : h.capabilities.back().data();
            h.cameras.push_back(info);
        }
        nullList = model.nullCameraList;
        count = model.overrideCameraCount ? model.cameraCount : int(model.cameras.size());
    });
    *cameras = nullList ? nullptr : h.cameras.data();
    return count;
}

int SelectCamera(int cameraIndex, int capabilityIndex, int fps, int rotate, bool force)
{
    Request call("SelectCamera");
    call.arg(cameraIndex).arg(capabilityIndex).arg(fps).arg(rotate).arg(int(force));
    if (!call.accepted())
        return call.result();
    int code = ZS_ERR_NOT_FOUND;
    Control::withServer([&](ServerModel &server) {
        CallModel &model = server.calls;
        for (const CallModel::Camera &camera : qAsConst(model.cameras)) {
            if (camera.index != cameraIndex)
                continue;
            if (capabilityIndex < 0 || capabilityIndex >= camera.capabilities.size()) {
                code = ZS_ERR_INVALID_ARGUMENT;
                return;
            }
            model.selectedCamera = {cameraIndex, capabilityIndex, fps, rotate, force};
            code = ZS_OK;
            return;
        }
    });
    return code;
}

// ---- statistics -------------------------------------------------------------------------------

int GetCallStatistics(const char *callId, bool bVideo, ZS_CallStatistics *statistics)
{
    Request call("GetCallStatistics");
    call.text(callId).arg(int(bVideo)).record(statistics);
    if (!call.accepted())
        return call.result();
    if (!withCall(callId, nullptr))
        return ZS_ERR_NOT_FOUND;
    if (statistics)
        for (int i = 0; i < 9; ++i)
            statistics->number[i] = bVideo ? 100 + i : i;
    return ZS_OK;
}

int GetNetworkStatistic(const char *callId, unsigned long long *number1,
                        unsigned long long *number2, unsigned long long *number3)
{
    Request call("GetNetworkStatistic");
    call.text(callId);
    if (!call.accepted())
        return call.result();
    unsigned long long values[3] = {0, 0, 0};
    bool found = false;
    Control::withServer([&](ServerModel &server) {
        found = server.calls.calls.contains(text(callId));
        std::copy(std::begin(server.calls.networkStatistic),
                  std::end(server.calls.networkStatistic), values);
    });
    if (!found)
        return ZS_ERR_NOT_FOUND;
    unsigned long long *outs[3] = {number1, number2, number3};
    for (int i = 0; i < 3; ++i)
        if (outs[i])
            *outs[i] = values[i];
    return ZS_OK;
}

// ---- the user's own name and number -----------------------------------------------------------

int SetSelfPhoneNumber(const char *phoneNumber)
{
    Request call("SetSelfPhoneNumber");
    call.text(phoneNumber);
    return keep(call, [&](CallModel &m) { m.selfPhoneNumber = phoneNumber ? phoneNumber : ""; });
}

int SetSelfName(const char *nickName)
{
    Request call("SetSelfName");
    call.text(nickName);
    return keep(call, [&](CallModel &m) { m.selfName = nickName ? nickName : ""; });
}

// ---- screen recording -------------------------------------------------------------------------

int StartRecordScreen(const char *callId, const char *filename, int bitrate, int fps, int type)
{
    Request call("StartRecordScreen");
    call.text(callId).text(filename).arg(bitrate).arg(fps).arg(type);
    CallModel::Recording recording;
    recording.filename = text(filename);
    recording.bitrate = bitrate;
    recording.fps = fps;
    recording.type = type;
    return startRecording(call, callId, recording);
}

int StartRecordScreenEx(const char *callId, const char *filename, int bitrate, int fps, int type,
                        int left, int top, int width, int height)
{
    Request call("StartRecordScreenEx");
    call.text(callId).text(filename).arg(bitrate).arg(fps).arg(type);
    call.arg(left).arg(top).arg(width).arg(height);
    CallModel::Recording recording;
    recording.filename = text(filename);
    recording.bitrate = bitrate;
    recording.fps = fps;
    recording.type = type;
    recording.left = left;
    recording.top = top;
    recording.width = width;
    recording.height = height;
    return startRecording(call, callId, recording);
}

int StopRecordScreen(const char *callId)
{
    Request call("StopRecordScreen");
    call.text(callId);
    if (!call.accepted())
        return call.result();
    int code = ZS_ERR_NOT_FOUND;
    Control::withServer([&](ServerModel &server) {
        CallModel::Recording &recording = server.calls.recording;
        if (recording.active && recording.callId == text(callId)) {
            recording.active = false;
            code = ZS_OK;
        }
    });
    return code;
}

} // extern "C"
