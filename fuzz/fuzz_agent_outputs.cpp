// The call agent's reading of engine output: the camera list of GetCameraInfo with its
// capability arrays, flags the engine writes as any byte, the speaker volume, the network
// statistic and the current call's text. The stand-in's model is set from the input
// (AgentOutputs.h) and the agent's slots run synchronously on the fuzz thread; their results
// (signals and log lines) are checked against the model.

#include "AgentOutputs.h"
#include "FuzzApp.h"

#include <FixedField.h>
#include <TQLog.h>
#include <Voip_Agent.h>
#include <ZSsdkControl.h>

#include <QMetaObject>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

namespace {

// What the agent emitted during one request.
struct Emitted
{
    std::optional<float> scale;
    std::optional<bool> mute;
    std::optional<std::pair<int, uint>> speaker;
    std::optional<QString> currentCall;
};
Emitted g_emitted;

TQLogCapture *g_log = nullptr;

const char *engineFunction(tqfuzz::OutputOp op)
{
    using Op = tqfuzz::OutputOp;
    switch (op) {
    case Op::GetCameraInfo:
        return "GetCameraInfo";
    case Op::GetCodecNack:
        return "GetCodecNack";
    case Op::GetAudioConfigEnabled:
        return "GetAudioConfigEnabled";
    case Op::GetMuteStatus:
        return "GetMuteStatus";
    case Op::GetCodecEnabled:
        return "GetCodecEnabled";
    case Op::GetSpeakerVolume:
        return "GetSpeakerVolume";
    case Op::GetNetworkStatistic:
        return "GetNetworkStatistic";
    default:
        return "GetCurrentCall"; // the requests that work on the current call
    }
}

// The engine may hand out fewer elements than it has, or a negative count, but never more:
// the agent cannot know the length of an engine array other than from its count.
int honestCount(int count, int size)
{
    return count > size ? int(unsigned(count) % unsigned(size + 1)) : count;
}

void makeHonest(CallModel &m)
{
    for (CallModel::Camera &c : m.cameras)
        c.capabilityCount = honestCount(c.capabilityCount, c.capabilities.size());
    m.cameraCount = honestCount(m.cameraCount, m.cameras.size());
}

// The scale the agent reports: width/height of capability 0 of camera 0, or 0.
float expectedScale(const CallModel &m, bool accepted)
{
    if (!accepted || m.nullCameraList)
        return 0.0f;
    const int cameras = m.overrideCameraCount ? m.cameraCount : m.cameras.size();
    if (cameras < 1)
        return 0.0f;
    const CallModel::Camera &c = m.cameras[0];
    const int n = c.overrideCapabilityCount ? c.capabilityCount : c.capabilities.size();
    if (c.nullCapabilities || n < 1)
        return 0.0f;
    const ZS_CameraCapability &first = c.capabilities[0];
    return first.height > 0 ? float(first.width) / float(first.height) : 0.0f;
}

bool flagOut(const CallModel &m, bool value)
{
    return m.flagOut(value) != 0;
}

QString logged(const char *format, int a)
{
    return QString::fromLatin1(format).arg(a);
}

bool hasLine(const QString &line)
{
    return g_log->texts().contains(line);
}

// The text the engine hands back for a text the agent got as UTF-8 bytes: cut at a NUL.
QString viaEngine(const QString &text)
{
    return QString::fromUtf8(text.toUtf8().constData());
}

void run(Voip_Agent *agent, const tqfuzz::OutputRequest &r, const CallModel &m)
{
    using Op = tqfuzz::OutputOp;
    const char *function = engineFunction(r.op);
    if (r.refused)
        zssim::Control::scriptReturn(QString::fromLatin1(function), r.code, 1);
    const bool accepted = !r.refused || r.code == 0;
    const int ret = accepted ? 0 : r.code;
    const QString text = QString::fromUtf8(tqfuzz::toBytes(r.text));
    g_emitted = Emitted();
    g_log->clear();

    const auto invoke = [agent](const char *slot, auto... args) {
        TQ_FUZZ_CHECK(QMetaObject::invokeMethod(agent, slot, Qt::DirectConnection, args...));
    };
    switch (r.op) {
    case Op::GetCameraInfo: {
        invoke("slot_getCameraInfo");
        TQ_FUZZ_CHECK(g_emitted.scale.has_value());
        const float scale = *g_emitted.scale;
        const float expected = expectedScale(m, accepted);
        TQ_FUZZ_CHECK(std::isfinite(scale));
        TQ_FUZZ_CHECK(std::memcmp(&scale, &expected, sizeof scale) == 0);
        break;
    }
    case Op::GetCodecNack:
        invoke("slot_getCodecNack");
        TQ_FUZZ_CHECK(hasLine(QStringLiteral("Voip_Agent::slot_getCodecNack,ret=%1,bAudioNack=%2,"
                                             "bVideoNack=%3")
                                  .arg(ret)
                                  .arg(accepted && flagOut(m, m.audioNack))
                                  .arg(accepted && flagOut(m, m.videoNack))));
        break;
    case Op::GetAudioConfigEnabled: {
        invoke("slot_getAudioConfigEnabled", Q_ARG(int, r.type));
        const CallModel::AudioConfig config = m.audioConfig.value(r.type);
        TQ_FUZZ_CHECK(hasLine(
            QStringLiteral("Voip_Agent::slot_getAudioConfigEnabled,ret=%1,enabled=%2,mode=%3")
                .arg(ret)
                .arg(accepted && flagOut(m, config.enabled))
                .arg(accepted ? config.mode : 0)));
        break;
    }
    case Op::GetMuteStatus: {
        invoke("slot_GetMuteStatus");
        const bool expected = accepted && flagOut(m, m.mute);
        TQ_FUZZ_CHECK(g_emitted.mute == expected);
        TQ_FUZZ_CHECK(hasLine(logged("Voip_Agent::slot_GetMuteStatus,isMute=%1", expected)));
        break;
    }
    case Op::GetCodecEnabled: {
        invoke("slot_GetCodecEnabled", Q_ARG(int, r.type));
        const bool expected = accepted && flagOut(m, m.codecEnabled.value(r.type, true));
        TQ_FUZZ_CHECK(
            hasLine(logged("Voip_Agent::slot_GetCodecEnabled,isCodecEnabled=%1", expected)));
        break;
    }
    case Op::GetSpeakerVolume:
        invoke("slot_getSpeakerVolume");
        TQ_FUZZ_CHECK(g_emitted.speaker
                      == std::make_pair(ret, accepted ? uint(m.speakerVolume) : 0u));
        break;
    case Op::GetNetworkStatistic: {
        invoke("slot_getNetworkStatistic", Q_ARG(QString, text));
        const int found = m.calls.contains(viaEngine(text)) ? 0 : int(ZS_ERR_NOT_FOUND);
        TQ_FUZZ_CHECK(
            hasLine(logged("Voip_Agent::slot_getNetworkStatistic,ret=%1", accepted ? found : ret)));
        break;
    }
    case Op::GetCurrentCall:
        invoke("slot_getCurrentCall");
        TQ_FUZZ_CHECK(g_emitted.currentCall == (accepted ? viaEngine(m.currentCallId) : QString()));
        break;
    case Op::ResetVideoView:
        invoke("slot_resetVideoView", Q_ARG(void *, nullptr), Q_ARG(void *, nullptr));
        break;
    case Op::StartRecordScreen:
        invoke("slot_startRecordScreen", Q_ARG(QString, text), Q_ARG(int, r.type), Q_ARG(int, 15),
               Q_ARG(int, r.code));
        break;
    case Op::StopRecordScreen:
        invoke("slot_stopRecordScreen");
        break;
    case Op::Count:
        break;
    }
    if (r.refused) // dropped when the slot never called the function
        zssim::Control::scriptReturn(QString::fromLatin1(function), 0, 0);
}

void watchResults(Voip_Agent *agent, QObject *context)
{
    const auto direct = Qt::DirectConnection;
    QObject::connect(
        agent, &Voip_Agent::sig_onLocalVideoScale, context,
        [](float scale) {
            TQ_FUZZ_CHECK(!g_emitted.scale);
            g_emitted.scale = scale;
        },
        direct);
    QObject::connect(
        agent, &Voip_Agent::sig_onGetMuteStatus, context,
        [](bool mute) {
            TQ_FUZZ_CHECK(!g_emitted.mute);
            g_emitted.mute = mute;
        },
        direct);
    QObject::connect(
        agent, &Voip_Agent::sig_OnGetSpeakerStatus, context,
        [](int reason, uint volume) {
            TQ_FUZZ_CHECK(!g_emitted.speaker);
            g_emitted.speaker = std::make_pair(reason, volume);
        },
        direct);
    QObject::connect(
        agent, &Voip_Agent::sig_onGetCurrentCall, context,
        [](const QString &callId) {
            TQ_FUZZ_CHECK(!g_emitted.currentCall);
            g_emitted.currentCall = callId;
        },
        direct);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    tqfuzz::startQt();
    zssim::Control::setJournaling(false);
    ZSSDK_Initialize();
    Voip_Agent *agent = Voip_Agent::instance();
    watchResults(agent, QCoreApplication::instance());
    g_log = new TQLogCapture; // lines are captured even while the writer drops them
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    tqfuzz::Reader in(data, size);
    CallModel model;
    tqfuzz::decodeModel(in, model);
    makeHonest(model);
    zssim::Control::withServer([&](zssim::ServerModel &s) { s.calls = model; });

    Voip_Agent *agent = Voip_Agent::instance();
    for (int i = 0; i < tqfuzz::kMaxRequests && !in.atEnd(); ++i)
        run(agent, tqfuzz::decodeRequest(in), model);
    return 0;
}
