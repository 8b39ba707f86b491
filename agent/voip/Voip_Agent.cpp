#include "Voip_Agent.h"

#include "Voip_CallBackProxy.h"

#include <AgentFrame.h>
#include <AgentLog.h>
#include <EngineArgs.h>
#include <FixedField.h>
#include <TQ_Util.h>
#include <ZSsdk.h>

#include <QDebug>

#include <memory>

QAtomicPointer<Voip_Agent> Voip_Agent::ins;

namespace {

// The engine's text is copied at once: it may be released when the call ends.
QString currentCallId()
{
    return tq::fromEngineText(GetCurrentCall());
}

struct CaptureChoice
{
    int chosen = 0;
    float width = 0.0f;
    float height = 0.0f;
    float scale = 0.0f;
};

// Walks the capabilities from the last to the first: `chosen` ends as the lowest index from
// 640x480 to 1280x720 pixels (0 if none); the size and scale are those of capability 0.
CaptureChoice chooseCapture(const ZS_CameraInfo &camera)
{
    CaptureChoice choice;
    const int n = tq::clampCount(camera.capabilityCount, camera.capabilities);
    for (int k = n - 1; k >= 0; --k) {
        const ZS_CameraCapability &capability = camera.capabilities[k];
        choice.width = float(capability.width);
        choice.height = float(capability.height);
        // A zero height from the engine must not turn into an infinite scale.
        choice.scale = capability.height > 0 ? choice.width / choice.height : 0.0f;
        tq::logInfo("------>index=%1, width=%2, height=%3, scale=%4", k + 1, double(choice.width),
                    double(choice.height), double(choice.scale));
        const double pixels = double(capability.width) * double(capability.height);
        if (pixels >= 307200.0 && pixels <= 921600.0)
            choice.chosen = k;
    }
    return choice;
}

} // namespace

Voip_Agent *Voip_Agent::instance()
{
    return tq::agentInstance(ins, [] {
        std::unique_ptr<Voip_Agent> agent(new Voip_Agent);
        agent->initConnections();
        Voip_CallBackProxy::instance()->registerCallbacks();
        return agent;
    });
}

Voip_Agent::Voip_Agent() = default;

Voip_Agent::~Voip_Agent() = default;

void Voip_Agent::initConnections()
{
    // The result records cross threads from the first callback on.
    tq::registerRecords<Agent_VoIPCallMsg, Agent_VoIPComingInfo, Agent_CallBackInfo>();

    connect(this, SIGNAL(sig_makeCallBack(QString, QString, QString, QString)), this,
            SLOT(slot_makeCallBack(QString, QString, QString, QString)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_makeCall(int, QString)), this, SLOT(slot_makeCall(int, QString)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_acceptCall(QString)), this, SLOT(slot_acceptCall(QString)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_releaseCall(QString, int)), this, SLOT(slot_releaseCall(QString, int)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_sendDTMF(QString, char)), this, SLOT(slot_sendDTMF(QString, char)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_getCurrentCall()), this, SLOT(slot_getCurrentCall()),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_setMute(bool)), this, SLOT(slot_setMute(bool)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_GetMuteStatus()), this, SLOT(slot_GetMuteStatus()),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_ShareScreen(bool, QString)), this,
            SLOT(slot_ShareScreen(bool, QString)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_setAudioConfigEnabled(int, bool, int)), this,
            SLOT(slot_setAudioConfigEnabled(int, bool, int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_getAudioConfigEnabled(int)), this,
            SLOT(slot_getAudioConfigEnabled(int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_setCodecEnabled(int, bool)), this,
            SLOT(slot_setCodecEnabled(int, bool)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_setCodecRed(int)), this, SLOT(slot_setCodecRed(int)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_GetCodecEnabled(int)), this, SLOT(slot_GetCodecEnabled(int)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_setCodecNack(bool, bool)), this, SLOT(slot_setCodecNack(bool, bool)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_getCodecNack()), this, SLOT(slot_getCodecNack()), Qt::AutoConnection);
    connect(this, SIGNAL(sig_getCallStatistics(QString, bool)), this,
            SLOT(slot_getCallStatistics(QString, bool)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_setVideoView(void *, void *)), this,
            SLOT(slot_setVideoView(void *, void *)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_setVideoViewEX(void *, void *, void *, void *)), this,
            SLOT(slot_setVideoViewEX(void *, void *, void *, void *)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_resetVideoView(void *, void *)), this,
            SLOT(slot_resetVideoView(void *, void *)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_setVideoBitRates(int)), this, SLOT(slot_setVideoBitRates(int)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_setRing(QString)), this, SLOT(slot_setRing(QString)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_setRingback(QString)), this, SLOT(slot_setRingback(QString)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_requestSwitchCallMediaType(QString, int)), this,
            SLOT(slot_requestSwitchCallMediaType(QString, int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_responseSwitchCallMediaType(QString, int)), this,
            SLOT(slot_responseSwitchCallMediaType(QString, int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_getCameraInfo()), this, SLOT(slot_getCameraInfo()),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_selectCamera(int, int, int, int, bool)), this,
            SLOT(slot_selectCamera(int, int, int, int, bool)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_getNetworkStatistic(QString)), this,
            SLOT(slot_getNetworkStatistic(QString)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_getSpeakerVolume()), this, SLOT(slot_getSpeakerVolume()),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_setSpeakerVolume(uint)), this, SLOT(slot_setSpeakerVolume(uint)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_setDtxEnabled(bool)), this, SLOT(slot_setDtxEnabled(bool)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_setSelfPhoneNumber(QString)), this,
            SLOT(slot_setSelfPhoneNumber(QString)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_setSelfName(QString)), this, SLOT(slot_setSelfName(QString)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_startRecordScreen(QString, int, int, int)), this,
            SLOT(slot_startRecordScreen(QString, int, int, int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_startRecordScreenEx(QString, int, int, int, int, int, int, int)), this,
            SLOT(slot_startRecordScreenEx(QString, int, int, int, int, int, int, int)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_stopRecordScreen()), this, SLOT(slot_stopRecordScreen()),
            Qt::AutoConnection);
}

void Voip_Agent::slot_makeCallBack(QString caller, QString called, QString callerDisplay,
                                   QString calledDisplay)
{
    unsigned int matchKey = 0;
    tq::callEngine(TQ_WHERE(Voip_Agent), MakeCallBack, &matchKey, tq::Utf8Arg(caller),
                   tq::Utf8Arg(called), tq::Utf8Arg(callerDisplay), tq::Utf8Arg(calledDisplay));
}

void Voip_Agent::slot_makeCall(int callType, QString called)
{
    if (callType == 7)
        slot_ShareScreen(true, QString());
    tq::logInfo("%1,Before", TQ_WHERE(Voip_Agent));
    const char *callId = nullptr; // engine-owned, not used here
    if (callType == 2)
        tq::callEngine(TQ_WHERE(Voip_Agent), MakeCallEx, &callId, 2, tq::Utf8Arg(called), "000");
    else
        tq::callEngine(TQ_WHERE(Voip_Agent), MakeCall, &callId, callType, tq::Utf8Arg(called));
}

void Voip_Agent::slot_acceptCall(QString callId)
{
    tq::callEngine(TQ_WHERE(Voip_Agent), AcceptCall, tq::Utf8Arg(callId));
}

void Voip_Agent::slot_releaseCall(QString callId, int reason)
{
    tq::callEngine(TQ_WHERE(Voip_Agent), ReleaseCall, tq::Utf8Arg(callId), reason);
}

void Voip_Agent::slot_sendDTMF(QString callId, char dtmf)
{
    tq::callEngine(TQ_WHERE(Voip_Agent), SendDTMF, tq::Utf8Arg(callId), dtmf);
}

void Voip_Agent::slot_getCurrentCall()
{
    const QString callId = currentCallId();
    tq::logInfo("%1,currentCallId=%2", TQ_WHERE(Voip_Agent), callId);
    emit sig_onGetCurrentCall(callId);
}

void Voip_Agent::slot_setMute(bool mute)
{
    const int ret = tq::callEngine(TQ_WHERE(Voip_Agent), SetMute, mute);
    emit sig_OnSetMuteStatus(ret, mute);
}

void Voip_Agent::slot_GetMuteStatus()
{
    const bool mute = tq::engineFlag(GetMuteStatus());
    tq::logInfo("%1,isMute=%2", TQ_WHERE(Voip_Agent), mute);
    emit sig_onGetMuteStatus(mute);
}

void Voip_Agent::slot_ShareScreen(bool bflag, QString number)
{
    qDebug() << "Flag : " << bflag << "Num : " << number;
    const int ret = SetLocalShareDevice(tq::Utf8Arg(number), bflag);
    if (ret != 0)
        qDebug() << TQ_Util::GetSDKErrMsgById(ret);
    tq::logInfo("%1,ret=%2", TQ_WHERE(Voip_Agent), ret);
}

void Voip_Agent::slot_setAudioConfigEnabled(int type, bool enabled, int mode)
{
    tq::callEngine(TQ_WHERE(Voip_Agent), SetAudioConfigEnabled, type, enabled, mode);
}

void Voip_Agent::slot_getAudioConfigEnabled(int type)
{
    ZS_Bool8 enabled = 0;
    int mode = 0;
    const int ret = GetAudioConfigEnabled(type, &enabled, &mode);
    tq::logInfo("%1,ret=%2,enabled=%3,mode=%4", TQ_WHERE(Voip_Agent), ret, tq::engineFlag(enabled),
                mode);
}

void Voip_Agent::slot_setCodecEnabled(int type, bool enabled)
{
    tq::callEngine(TQ_WHERE(Voip_Agent), SetCodecEnabled, type, enabled);
}

void Voip_Agent::slot_setCodecRed(int bFlag)
{
    tq::callEngine(TQ_WHERE(Voip_Agent), SetCodecRed, bFlag);
}

void Voip_Agent::slot_GetCodecEnabled(int type)
{
    tq::logInfo("%1,isCodecEnabled=%2", TQ_WHERE(Voip_Agent),
                tq::engineFlag(GetCodecEnabled(type)));
}

void Voip_Agent::slot_setCodecNack(bool bAudioNack, bool bVideoNack)
{
    tq::callEngine(TQ_WHERE(Voip_Agent), SetCodecNack, bAudioNack, bVideoNack);
}

void Voip_Agent::slot_getCodecNack()
{
    ZS_Bool8 bAudioNack = 0;
    ZS_Bool8 bVideoNack = 0;
    const int ret = GetCodecNack(&bAudioNack, &bVideoNack);
    tq::logInfo("%1,ret=%2,bAudioNack=%3,bVideoNack=%4", TQ_WHERE(Voip_Agent), ret,
                tq::engineFlag(bAudioNack), tq::engineFlag(bVideoNack));
}

void Voip_Agent::slot_getCallStatistics(QString callId, bool bVideo)
{
    ZS_CallStatistics statistics{};
    tq::callEngine(TQ_WHERE(Voip_Agent), GetCallStatistics, tq::Utf8Arg(callId), bVideo,
                   &statistics);
}

void Voip_Agent::slot_setVideoView(void *view, void *localView)
{
    tq::callEngine(TQ_WHERE(Voip_Agent), SetVideoView, view, localView);
}

void Voip_Agent::slot_setVideoViewEX(void *view, void *localView, void *remoteShareView,
                                     void *localShareView)
{
    int ret = SetVideoViewEX(view, localView, remoteShareView, localShareView);
    tq::logInfo("%1 SetVideoViewEX,ret=%2", TQ_WHERE(Voip_Agent), ret);
    ret = SetLevelIdc(640, 480, 30.0f, 52);
    tq::logInfo("%1 SetLevelIdc,ret=%2", TQ_WHERE(Voip_Agent), ret);
}

void Voip_Agent::slot_resetVideoView(void *view, void *localView)
{
    const QString callId = currentCallId();
    tq::logInfo("%1,currentCallId=%2", TQ_WHERE(Voip_Agent), callId);
    tq::callEngine(TQ_WHERE(Voip_Agent), ResetVideoView, tq::Utf8Arg(callId), view, localView);
}

void Voip_Agent::slot_setVideoBitRates(int bitrates)
{
    SetVideoBitRates(bitrates);
    tq::logInfo("%1", TQ_WHERE(Voip_Agent));
}

void Voip_Agent::slot_setRing(QString fileName)
{
    tq::callEngine(TQ_WHERE(Voip_Agent), SetRing, tq::Utf8Arg(fileName));
}

void Voip_Agent::slot_setRingback(QString fileName)
{
    tq::callEngine(TQ_WHERE(Voip_Agent), SetRingback, tq::Utf8Arg(fileName));
}

void Voip_Agent::slot_requestSwitchCallMediaType(QString callId, int video)
{
    tq::callEngine(TQ_WHERE(Voip_Agent), RequestSwitchCallMediaType, tq::Utf8Arg(callId), video);
}

void Voip_Agent::slot_responseSwitchCallMediaType(QString callId, int video)
{
    tq::callEngine(TQ_WHERE(Voip_Agent), ResponseSwitchCallMediaType, tq::Utf8Arg(callId), video);
}

void Voip_Agent::slot_getCameraInfo()
{
    const ZS_CameraInfo *cameras = nullptr;
    const int count = GetCameraInfo(&cameras);
    tq::logInfo("%1,count=%2,", TQ_WHERE(Voip_Agent), count);
    // A null list or a negative count means no camera, whatever count says.
    const bool haveCamera = tq::clampCount(count, cameras) >= 1;
    const CaptureChoice choice = haveCamera ? chooseCapture(cameras[0]) : CaptureChoice();
    emit sig_onLocalVideoScale(choice.scale);
    if (!haveCamera)
        return;
    const int ret = SelectCamera(cameras[0].index, choice.chosen, 15, 0, true);
    tq::logInfo("%1,count=%2, ret = %3,width=%4,height=%5", TQ_WHERE(Voip_Agent), count, ret,
                double(choice.width), double(choice.height));
}

void Voip_Agent::slot_selectCamera(int cameraIndex, int capabilityIndex, int fps, int rotate,
                                   bool force)
{
    tq::callEngine(TQ_WHERE(Voip_Agent), SelectCamera, cameraIndex, capabilityIndex, fps, rotate,
                   force);
}

void Voip_Agent::slot_getNetworkStatistic(QString callId)
{
    unsigned long long number1 = 0;
    unsigned long long number2 = 0;
    unsigned long long number3 = 0;
    tq::callEngine(TQ_WHERE(Voip_Agent), GetNetworkStatistic, tq::Utf8Arg(callId), &number1,
                   &number2, &number3);
}

void Voip_Agent::slot_getSpeakerVolume()
{
    unsigned int volume = 0;
    const int ret = tq::callEngine(TQ_WHERE(Voip_Agent), GetSpeakerVolume, &volume);
    emit sig_OnGetSpeakerStatus(ret, volume);
}

void Voip_Agent::slot_setSpeakerVolume(uint volume)
{
    const int ret = tq::callEngine(TQ_WHERE(Voip_Agent), SetSpeakerVolume, volume);
    emit sig_OnSetSpeakerStatus(ret, volume);
}

void Voip_Agent::slot_setDtxEnabled(bool enabled)
{
    SetDtxEnabled(enabled);
    tq::logInfo("%1", TQ_WHERE(Voip_Agent));
}

void Voip_Agent::slot_setSelfPhoneNumber(QString phoneNumber)
{
    SetSelfPhoneNumber(tq::Utf8Arg(phoneNumber));
    tq::logInfo("%1", TQ_WHERE(Voip_Agent));
}

void Voip_Agent::slot_setSelfName(QString nickName)
{
    SetSelfName(tq::Utf8Arg(nickName));
    tq::logInfo("%1", TQ_WHERE(Voip_Agent));
}

void Voip_Agent::slot_startRecordScreen(QString filename, int bitrate, int fps, int type)
{
    tq::callEngine(TQ_WHERE(Voip_Agent), StartRecordScreen, tq::Utf8Arg(currentCallId()),
                   tq::Utf8Arg(filename), bitrate, fps, type);
}

void Voip_Agent::slot_startRecordScreenEx(QString filename, int bitrate, int fps, int type,
                                          int left, int top, int width, int height)
{
    tq::callEngine(TQ_WHERE(Voip_Agent), StartRecordScreenEx, tq::Utf8Arg(currentCallId()),
                   tq::Utf8Arg(filename), bitrate, fps, type, left, top, width, height);
}

void Voip_Agent::slot_stopRecordScreen()
{
    tq::callEngine(TQ_WHERE(Voip_Agent), StopRecordScreen, tq::Utf8Arg(currentCallId()));
}
