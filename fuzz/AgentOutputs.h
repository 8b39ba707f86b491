#pragma once

// Input of fuzz_agent_outputs, shared with the seed generator: the stand-in's call model
// (what the engine hands out: cameras, flags, volume, statistics, the current call), then
// requests of the call agent that read engine output.
//
// Model:
//   u8 cameras (% 8), each: i32 index, text name, u8 capabilities (% 16) each i32 width,
//       height, number1; u8 faults (bit 0 null capability array, bit 1 count replaced),
//       i32 replacing count
//   u8 list faults (bit 0 null list, bit 1 count replaced), i32 replacing count
//   i32 flag byte (CallModel::flagByte), u8 mute, u8 audio NACK, u8 video NACK,
//   u32 speaker volume, 3 x u64 network statistic
//   u8 codec settings (% 8) each i32 type, u8 enabled
//   u8 audio configurations (% 8) each i32 type, u8 enabled, i32 mode
//   text current call id (null or empty: none; it is also a call of the model)
// Requests, up to the end of the input (at most kMaxRequests):
//   u8 request (% OutputOp::Count), u8 flags (bit 0: the engine function refuses, once),
//   i32 code it returns then, i32 type, text (call id or file name)

#include "FuzzBytes.h"

#include <CallModel.h>

#include <QList>

#include <cstdint>
#include <string>

namespace tqfuzz {

constexpr int kMaxCameras = 8;
constexpr int kMaxCapabilities = 16;
constexpr int kMaxSettings = 8;
constexpr int kMaxRequests = 16;

enum class OutputOp : std::uint8_t {
    GetCameraInfo,
    GetCodecNack,
    GetAudioConfigEnabled,
    GetMuteStatus,
    GetCodecEnabled,
    GetSpeakerVolume,
    GetNetworkStatistic,
    GetCurrentCall,
    ResetVideoView,
    StartRecordScreen,
    StopRecordScreen,
    Count
};

struct OutputRequest
{
    OutputOp op = OutputOp::GetCameraInfo;
    bool refused = false;
    int code = 0;
    int type = 0;
    bool nullText = true;
    std::string text;
};

inline QByteArray toBytes(const std::string &s)
{
    return QByteArray(s.data(), int(s.size()));
}

inline void decodeModel(Reader &in, CallModel &m)
{
    const int cameras = in.u8() % kMaxCameras;
    for (int i = 0; i < cameras; ++i) {
        CallModel::Camera c;
        c.index = in.i32();
        bool nullName = false;
        c.name = toBytes(in.text(nullName));
        const int capabilities = in.u8() % kMaxCapabilities;
        for (int k = 0; k < capabilities; ++k) {
            ZS_CameraCapability cap{};
            cap.width = in.i32();
            cap.height = in.i32();
            cap.number1 = in.i32();
            c.capabilities.append(cap);
        }
        const std::uint8_t faults = in.u8();
        c.nullCapabilities = faults & 1;
        c.overrideCapabilityCount = faults & 2;
        c.capabilityCount = in.i32();
        m.cameras.append(c);
    }
    const std::uint8_t faults = in.u8();
    m.nullCameraList = faults & 1;
    m.overrideCameraCount = faults & 2;
    m.cameraCount = in.i32();
    m.flagByte = in.i32();
    m.mute = in.u8() & 1;
    m.audioNack = in.u8() & 1;
    m.videoNack = in.u8() & 1;
    m.speakerVolume = in.u32();
    for (unsigned long long &value : m.networkStatistic)
        value = in.u64();
    const int codecs = in.u8() % kMaxSettings;
    for (int i = 0; i < codecs; ++i) {
        const int type = in.i32();
        m.codecEnabled[type] = in.u8() & 1;
    }
    const int configs = in.u8() % kMaxSettings;
    for (int i = 0; i < configs; ++i) {
        const int type = in.i32();
        CallModel::AudioConfig config;
        config.enabled = in.u8() & 1;
        config.mode = in.i32();
        m.audioConfig[type] = config;
    }
    bool noCall = false;
    const QString current = QString::fromUtf8(toBytes(in.text(noCall)));
    if (!current.isEmpty()) {
        CallModel::Call call;
        call.id = current;
        call.answered = true;
        m.calls.insert(current, call);
        m.currentCallId = current;
    }
}

inline void encodeModel(Writer &out, const CallModel &m)
{
    out.u8(std::uint8_t(qMin(m.cameras.size(), kMaxCameras - 1)));
    for (int i = 0; i < m.cameras.size() && i < kMaxCameras - 1; ++i) {
        const CallModel::Camera &c = m.cameras[i];
        out.i32(c.index);
        out.text(c.name.constData(), std::size_t(c.name.size()));
        out.u8(std::uint8_t(qMin(c.capabilities.size(), kMaxCapabilities - 1)));
        for (int k = 0; k < c.capabilities.size() && k < kMaxCapabilities - 1; ++k) {
            out.i32(c.capabilities[k].width);
            out.i32(c.capabilities[k].height);
            out.i32(c.capabilities[k].number1);
        }
        out.u8(std::uint8_t((c.nullCapabilities ? 1 : 0) | (c.overrideCapabilityCount ? 2 : 0)));
        out.i32(c.capabilityCount);
    }
    out.u8(std::uint8_t((m.nullCameraList ? 1 : 0) | (m.overrideCameraCount ? 2 : 0)));
    out.i32(m.cameraCount);
    out.i32(m.flagByte);
    out.u8(m.mute);
    out.u8(m.audioNack);
    out.u8(m.videoNack);
    out.u32(m.speakerVolume);
    for (unsigned long long value : m.networkStatistic)
        out.u64(value);
    out.u8(std::uint8_t(qMin(m.codecEnabled.size(), kMaxSettings - 1)));
    int n = 0;
    for (auto it = m.codecEnabled.cbegin(); it != m.codecEnabled.cend() && n < kMaxSettings - 1;
         ++it, ++n) {
        out.i32(it.key());
        out.u8(it.value());
    }
    out.u8(std::uint8_t(qMin(m.audioConfig.size(), kMaxSettings - 1)));
    n = 0;
    for (auto it = m.audioConfig.cbegin(); it != m.audioConfig.cend() && n < kMaxSettings - 1;
         ++it, ++n) {
        out.i32(it.key());
        out.u8(it.value().enabled);
        out.i32(it.value().mode);
    }
    const QByteArray current = m.currentCallId.toUtf8();
    out.text(m.currentCallId.isEmpty() ? nullptr : current.constData(),
             std::size_t(current.size()));
}

inline OutputRequest decodeRequest(Reader &in)
{
    OutputRequest r;
    r.op = OutputOp(in.u8() % std::uint8_t(OutputOp::Count));
    r.refused = in.u8() & 1;
    r.code = in.i32();
    r.type = in.i32();
    r.text = in.text(r.nullText);
    return r;
}

inline void encodeRequest(Writer &out, const OutputRequest &r)
{
    out.u8(std::uint8_t(r.op));
    out.u8(r.refused ? 1 : 0);
    out.i32(r.code);
    out.i32(r.type);
    out.text(r.nullText ? nullptr : r.text.data(), r.text.size());
}

} // namespace tqfuzz
