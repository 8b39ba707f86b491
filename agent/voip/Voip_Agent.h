#pragma once

// Point-to-point calls and the engine's media settings. Requests are queued to the shared
// worker thread and run one engine call each; results come from the slots at once (mute,
// speaker, current call, local video scale) or from Voip_CallBackProxy on the engine's threads.

#include "VoipRecords.h"
#include "tq_agent_global.h"

#include <QAtomicPointer>
#include <QObject>
#include <QString>

class TQ_AGENT_EXPORT Voip_Agent : public QObject
{
    Q_OBJECT
public:
    static Voip_Agent *instance();
    ~Voip_Agent() override;

signals:
    void sig_makeCallBack(QString caller, QString called, QString callerDisplay,
                          QString calledDisplay);
    void sig_makeCall(int callType, QString called);
    void sig_acceptCall(QString callId);
    void sig_releaseCall(QString callId, int reason);
    void sig_sendDTMF(QString callId, char dtmf);
    void sig_getCurrentCall();
    void sig_setMute(bool mute);
    void sig_GetMuteStatus();
    void sig_ShareScreen(bool, QString);
    void sig_setAudioConfigEnabled(int type, bool enabled, int mode);
    void sig_getAudioConfigEnabled(int type);
    void sig_setCodecEnabled(int type, bool enabled);
    void sig_setCodecRed(int bFlag);
    void sig_GetCodecEnabled(int type);
    void sig_setCodecNack(bool bAudioNack, bool bVideoNack);
    void sig_getCodecNack();
    void sig_getCallStatistics(QString callId, bool bVideo);
    void sig_setVideoView(void *view, void *localView);
    void sig_setVideoViewEX(void *view, void *localView, void *remoteShareView,
                            void *localShareView);
    void sig_resetVideoView(void *view, void *localView);
    void sig_setVideoBitRates(int bitrates);
    void sig_setRing(QString fileName);
    void sig_setRingback(QString fileName);
    void sig_requestSwitchCallMediaType(QString callId, int video);
    void sig_responseSwitchCallMediaType(QString callId, int video);
    void sig_getCameraInfo();
    void sig_selectCamera(int cameraIndex, int capabilityIndex, int fps, int rotate, bool force);
    void sig_getNetworkStatistic(QString callId);
    void sig_getSpeakerVolume();
    void sig_setSpeakerVolume(uint volume);
    void sig_setDtxEnabled(bool enabled);
    void sig_setSelfPhoneNumber(QString phoneNumber);
    void sig_setSelfName(QString nickName);
    void sig_startRecordScreen(QString filename, int bitrate, int fps, int type);
    void sig_startRecordScreenEx(QString filename, int bitrate, int fps, int type, int left,
                                 int top, int width, int height);
    void sig_stopRecordScreen();

    void sig_onGetCurrentCall(QString callId);
    void sig_onMakeCallBack(int reason, Agent_CallBackInfo info);
    void sig_onCallEvents(int reason, Agent_VoIPCallMsg callMsg);
    void sig_onCallIncoming(Agent_VoIPComingInfo comingInfo);
    void sig_onDtmfReceived(QString callId, char dtmf);
    void sig_onSwitchCallMediaTypeRequest(QString callId, int video);
    void sig_onSwitchCallMediaTypeResponse(QString callId, int video);
    void sig_onLocalVideoScale(float scale);
    void sig_onVoipRemoteVideoRatio(QString callId, int width, int height, int type,
                                    QString member);
    void sig_onConfRemoteVideoRatio(QString confId, int width, int height, int type,
                                    QString member);
    void sig_onDesktopShareRemoteVideoRatio(QString confId, int width, int height, int type,
                                            QString member);
    void sig_onGetMuteStatus(bool mute);
    void sig_OnSetMuteStatus(int nReason, bool mute);
    void sig_OnGetSpeakerStatus(int nReason, uint volume);
    void sig_OnSetSpeakerStatus(int nReason, uint volume);

private slots:
    void slot_makeCallBack(QString caller, QString called, QString callerDisplay,
                           QString calledDisplay);
    void slot_makeCall(int callType, QString called);
    void slot_acceptCall(QString callId);
    void slot_releaseCall(QString callId, int reason);
    void slot_sendDTMF(QString callId, char dtmf);
    void slot_getCurrentCall();
    void slot_setMute(bool mute);
    void slot_GetMuteStatus();
    void slot_ShareScreen(bool bflag, QString number);
    void slot_setAudioConfigEnabled(int type, bool enabled, int mode);
    void slot_getAudioConfigEnabled(int type);
    void slot_setCodecEnabled(int type, bool enabled);
    void slot_setCodecRed(int bFlag);
    void slot_GetCodecEnabled(int type);
    void slot_setCodecNack(bool bAudioNack, bool bVideoNack);
    void slot_getCodecNack();
    void slot_getCallStatistics(QString callId, bool bVideo);
    void slot_setVideoView(void *view, void *localView);
    void slot_setVideoViewEX(void *view, void *localView, void *remoteShareView,
                             void *localShareView);
    void slot_resetVideoView(void *view, void *localView);
    void slot_setVideoBitRates(int bitrates);
    void slot_setRing(QString fileName);
    void slot_setRingback(QString fileName);
    void slot_requestSwitchCallMediaType(QString callId, int video);
    void slot_responseSwitchCallMediaType(QString callId, int video);
    void slot_getCameraInfo();
    void slot_selectCamera(int cameraIndex, int capabilityIndex, int fps, int rotate, bool force);
    void slot_getNetworkStatistic(QString callId);
    void slot_getSpeakerVolume();
    void slot_setSpeakerVolume(uint volume);
    void slot_setDtxEnabled(bool enabled);
    void slot_setSelfPhoneNumber(QString phoneNumber);
    void slot_setSelfName(QString nickName);
    void slot_startRecordScreen(QString filename, int bitrate, int fps, int type);
    void slot_startRecordScreenEx(QString filename, int bitrate, int fps, int type, int left,
                                  int top, int width, int height);
    void slot_stopRecordScreen();

private:
    Voip_Agent();
    void initConnections();

    static QAtomicPointer<Voip_Agent> ins;
};
