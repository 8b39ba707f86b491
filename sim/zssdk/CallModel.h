#pragma once

// The stand-in engine's model of calls, cameras and media settings. Tests read and change it
// under the engine's lock through zssim::Control::withServer.

#include <ZSsdk.h>

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

struct CallModel
{
    struct Call
    {
        QString id;
        int callType = 0;
        QString caller;
        QString callee;
        bool incoming = false;
        bool answered = false;
        // Last media type agreed by both sides: a video call (call type 2) starts with video.
        int video = 0;
        QByteArray dtmf; // digits sent, in order
    };

    struct Camera
    {
        int index = 0;
        QByteArray name;
        QList<ZS_CameraCapability> capabilities;
        // Faults of a broken engine, for robustness tests: the capability array is handed
        // out as null, or its count is replaced by this one (when set).
        bool nullCapabilities = false;
        bool overrideCapabilityCount = false;
        int capabilityCount = 0;
    };

    struct CameraChoice
    {
        int cameraIndex = -1; // -1: SelectCamera never accepted
        int capabilityIndex = 0;
        int fps = 0;
        int rotate = 0;
        bool force = false;
    };

    struct Recording
    {
        bool active = false;
        QString callId;
        QString filename;
        int bitrate = 0;
        int fps = 0;
        int type = 0;
        int left = 0, top = 0, width = 0, height = 0;
    };

    // Calls by id; the most recent one still up is the current call.
    QMap<QString, Call> calls;
    QString currentCallId;
    int nextCallNumber = 1;
    // The simulated callee of MakeCall/MakeCallEx answers (proceeding, alerting, answered);
    // when false it only rings until the call is released.
    bool calleeAnswers = true;
    // The other side of RequestSwitchCallMediaType agrees.
    bool remoteAcceptsSwitch = true;
    // Size of the remote video reported once a call carries video.
    int remoteVideoWidth = 640;
    int remoteVideoHeight = 480;

    QList<Camera> cameras;
    // Faults, as for Camera: the list is handed out as null, or its count is replaced.
    bool nullCameraList = false;
    bool overrideCameraCount = false;
    int cameraCount = 0;
    CameraChoice selectedCamera;

    // A broken engine's flags: when 0 to 255, every flag the engine writes out (returned or
    // through a pointer) is this byte instead of 0 or 1.
    int flagByte = -1;
    ZS_Bool8 flagOut(bool value) const
    {
        return flagByte >= 0 && flagByte <= 255 ? ZS_Bool8(flagByte) : ZS_Bool8(value);
    }

    // Media settings, kept and read back.
    bool mute = false;
    unsigned int speakerVolume = 50;
    QMap<int, bool> codecEnabled; // types not listed are enabled
    int codecRed = 0;
    bool audioNack = false;
    bool videoNack = false;
    struct AudioConfig
    {
        bool enabled = false;
        int mode = 0;
    };
    QMap<int, AudioConfig> audioConfig;
    bool dtxEnabled = false;
    int videoBitRates = 0;
    QByteArray ring;
    QByteArray ringback;
    QByteArray selfPhoneNumber;
    QByteArray selfName;
    QByteArray shareNumber;
    bool sharing = false;
    unsigned long long networkStatistic[3] = {0, 0, 0};
    Recording recording;
};

namespace zssim {

// A call from `caller` arriving on the engine's thread: the call joins the model (as the
// current call) and onCallIncoming reports it. Returns the new call's id.
ZSSDK_API QString injectIncomingCall(const QString &caller, const QString &callerName,
                                     int callType = 1);
// The other side hangs up: onCallEvents reports the release with `reason`.
ZSSDK_API void injectRemoteRelease(const QString &callId, int reason = ZS_REASON_SUCCESS);
// The other side asks to switch the call to `video` (1) or voice (0):
// onSwitchCallMediaTypeRequest reports it; ResponseSwitchCallMediaType answers it.
// False when there is no such call.
ZSSDK_API bool injectSwitchRequest(const QString &callId, int video);

} // namespace zssim
