/*
 * ZSsdk: the communications engine as the agents use it.
 *
 * Contract between the agents and any engine implementing this header:
 *  - Request functions return 0 when the request is accepted, else an error code (ZS_ERR_*).
 *  - A request answered later takes `unsigned int *matchKey` first; the caller sets it to 0 and
 *    the engine writes a fresh non-zero key. The answering callback receives that key first,
 *    usually followed by `int reason` (200 = success).
 *  - Texts are NUL-terminated UTF-8 both ways unless a function says otherwise.
 *  - Texts, records and arrays passed to the engine belong to the caller and are valid only
 *    during the call: an engine that keeps them copies them before returning.
 *  - Pointers passed to a callback are valid only during that callback.
 *  - Callback tables belong to the caller and stay alive until replaced; a null entry means the
 *    event is not handled. Callbacks run on the engine's own threads, never inside the request
 *    function that caused them.
 *  - Records are fixed layouts; the static_asserts below pin the offsets the agents rely on.
 */
#ifndef ZSSDK_H
#define ZSSDK_H

#if defined(_WIN32)
#define ZS_CALL __stdcall
#if defined(ZSSDK_LIBRARY)
#define ZSSDK_API __declspec(dllexport)
#else
#define ZSSDK_API __declspec(dllimport)
#endif
#else
#define ZS_CALL
#define ZSSDK_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#include <cstddef>
#define ZS_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
extern "C" {
#else
#include <stddef.h>
#define ZS_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

/* ---- Return and reason codes ------------------------------------------------------------- */

enum ZS_ResultCode {
    ZS_OK = 0,
    ZS_ERR_NOT_INITIALIZED = 1001,
    ZS_ERR_INVALID_ARGUMENT = 1002,
    ZS_ERR_NOT_LOGGED_IN = 1003,
    ZS_ERR_NETWORK = 1004,
    ZS_ERR_TIMEOUT = 1005,
    ZS_ERR_BUSY = 1006,
    ZS_ERR_WRONG_PASSWORD = 1007,
    ZS_ERR_NO_SUCH_USER = 1008,
    ZS_ERR_NOT_FOUND = 1009,
    ZS_ERR_UNSUPPORTED = 1010,

    /* reasons in callbacks */
    ZS_REASON_SUCCESS = 200,
    ZS_REASON_BAD_REQUEST = 400,
    ZS_REASON_UNAUTHORIZED = 401,
    ZS_REASON_FORBIDDEN = 403,
    ZS_REASON_NOT_FOUND = 404,
    ZS_REASON_TIMEOUT = 408,
    ZS_REASON_BUSY = 486,
    ZS_REASON_DECLINED = 603,
    ZS_REASON_SERVER_ERROR = 500
};

/* ---- Records -------------------------------------------------------------------------------- */

/* Records holding pointers are pinned to their 32-bit layout on 32-bit targets only; elsewhere
 * the compiler lays them out and both sides use this header. Records with 64-bit values at
 * 4-byte alignment are declared inside #pragma pack(push, 4). */
#if defined(_WIN32) && !defined(_WIN64)
#define ZS_PTR32 1
#else
#define ZS_PTR32 (__SIZEOF_POINTER__ == 4)
#endif

/* Login record: six texts of at most 99 bytes of UTF-8 each (buffers of 100 bytes). */
#define ZS_LOGIN_TEXT_SIZE 100
typedef struct ZS_LoginInfo
{
    int number1;
    char *text[6];
} ZS_LoginInfo;
#if ZS_PTR32
ZS_STATIC_ASSERT(offsetof(ZS_LoginInfo, text) == 4, "login record layout");
ZS_STATIC_ASSERT(sizeof(ZS_LoginInfo) == 28, "login record size");
#endif

/* Person record: SetPersonInfo, and the answer of GetPersonInfo. */
typedef struct ZS_PersonInfo
{
    int number1;
    int number2;
    int number3;
    char text1[129];
    char text2[21];
    char text3[1306];
} ZS_PersonInfo;
ZS_STATIC_ASSERT(offsetof(ZS_PersonInfo, number1) == 0, "person record layout");
ZS_STATIC_ASSERT(offsetof(ZS_PersonInfo, number2) == 4, "person record layout");
ZS_STATIC_ASSERT(offsetof(ZS_PersonInfo, number3) == 8, "person record layout");
ZS_STATIC_ASSERT(offsetof(ZS_PersonInfo, text1) == 12, "person record layout");
ZS_STATIC_ASSERT(offsetof(ZS_PersonInfo, text2) == 141, "person record layout");
ZS_STATIC_ASSERT(offsetof(ZS_PersonInfo, text3) == 162, "person record layout");
ZS_STATIC_ASSERT(sizeof(ZS_PersonInfo) == 1468, "person record size");

/* Person-state record: arrays of these answer GetUserState and carry friends' presence. */
typedef struct ZS_PersonState
{
    char text1[129];
    char text2[129];
    char text3[21];
    char text4[4097];
    int number1;
    int number2;
    int number3;
    int number4;
} ZS_PersonState;
ZS_STATIC_ASSERT(offsetof(ZS_PersonState, text2) == 129, "person-state record layout");
ZS_STATIC_ASSERT(offsetof(ZS_PersonState, text3) == 258, "person-state record layout");
ZS_STATIC_ASSERT(offsetof(ZS_PersonState, text4) == 279, "person-state record layout");
ZS_STATIC_ASSERT(offsetof(ZS_PersonState, number1) == 4376, "person-state record layout");
ZS_STATIC_ASSERT(offsetof(ZS_PersonState, number4) == 4388, "person-state record layout");
ZS_STATIC_ASSERT(sizeof(ZS_PersonState) == 4392, "person-state record stride");

/* ---- Callback tables ------------------------------------------------------------------------ */

/* An entry whose prototype the agents do not use yet. */
typedef void(ZS_CALL *ZS_Callback)(void);

/* General events: connection, logout, presence, personal information. 16 entries. */
typedef struct ZS_GeneralCallBack
{
    void(ZS_CALL *onReserved)(void);
    void(ZS_CALL *onLogOut)(int reason);
    void(ZS_CALL *onConnectState)(int code, int reason);
    void(ZS_CALL *onSetPersonInfo)(unsigned int matchKey, int reason, unsigned long long version);
    void(ZS_CALL *onGetPersonInfo)(unsigned int matchKey, int reason, const ZS_PersonInfo *info);
    void(ZS_CALL *onGetUserState)(unsigned int matchKey, int reason, int count,
                                  const ZS_PersonState *states);
    void(ZS_CALL *onPublishPresence)(unsigned int matchKey, int reason);
    void(ZS_CALL *onReceiveFriendsPublishPresence)(int count, const ZS_PersonState *states);
    ZS_Callback unused[8];
} ZS_GeneralCallBack;

/* The family tables: entries are typed by their families as they are taken into use. */
typedef struct ZS_VoIPCallBack ZS_VoIPCallBack; /* defined with the calls */
typedef struct ZS_MessageCallBack ZS_MessageCallBack; /* defined with the messages */
typedef struct ZS_MeetingCallBack
{
    ZS_Callback entry[24];
} ZS_MeetingCallBack;
typedef struct ZS_ConfCallBack
{
    ZS_Callback entry[57];
} ZS_ConfCallBack;

ZS_STATIC_ASSERT(sizeof(ZS_GeneralCallBack) == 16 * sizeof(ZS_Callback), "general table: 16");
ZS_STATIC_ASSERT(sizeof(ZS_MeetingCallBack) == 24 * sizeof(ZS_Callback), "meeting table: 24");
ZS_STATIC_ASSERT(sizeof(ZS_ConfCallBack) == 57 * sizeof(ZS_Callback), "conference table: 57");

/* ---- Life cycle ----------------------------------------------------------------------------- */

ZSSDK_API void SetTraceFlag(int level, const char *file);
ZSSDK_API int ZSSDK_Initialize(void);
ZSSDK_API void SetFetchMaxMsgsEveryTime(int count);
/* Stops all answers; may be called more than once. */
ZSSDK_API int ZSSDK_UnInitialize(void);

ZSSDK_API int SetGeneralCallBackFuction(ZS_GeneralCallBack *table);
ZSSDK_API int SetVoIPCallBackFuction(ZS_VoIPCallBack *table);
ZSSDK_API int SetMessageCallBackFunction(ZS_MessageCallBack *table);
ZSSDK_API int SetMeetingCallBackFuction(ZS_MeetingCallBack *table);
ZSSDK_API int SetConfCallBackFuction(ZS_ConfCallBack *table);

/* ---- Session -------------------------------------------------------------------------------- */

/* Connection states reported by onConnectState. */
enum ZS_ConnectState {
    ZS_STATE_IDLE = 0,
    ZS_STATE_CONNECTING = 1,
    ZS_STATE_CONNECTED = 2,
    ZS_STATE_FAILED = 3,
    ZS_STATE_KICKED = 4
};

ZSSDK_API int SetServerEnvType(int nEnvType, const char *serverXmlFileName);
ZSSDK_API int SetInternalDNS(int enable, const char *dns, int port, int reserved);
/* Answers: onConnectState (connecting, then connected or failed with a reason). */
ZSSDK_API int Login(const ZS_LoginInfo *info);
/* Answer: onLogOut. */
ZSSDK_API int Logout(void);
/* Answer: onGetUserState, one record per name, in the order asked. */
ZSSDK_API int GetUserState(unsigned int *matchKey, const char *const *names, int count);

/* userdata is in the local 8-bit code page. Answer: onPublishPresence. */
ZSSDK_API int PublishPresence_TQ(unsigned int *matchKey, int type, int subtype,
                                 const char *userdata);
/* Answer: onSetPersonInfo with the new version of the record. */
ZSSDK_API int SetPersonInfo(unsigned int *matchKey, const ZS_PersonInfo *info);
/* Answer: onGetPersonInfo. */
ZSSDK_API int GetPersonInfo(unsigned int *matchKey, const char *username);

/* ---- Calls ---- */

/* Flags passed to the call functions are C++ bool (one byte, 0 or 1), never a 4-byte BOOL.
 * Flags the engine writes (return values, out-values, record fields, callback arguments) are
 * ZS_Bool8, the same byte: any non-zero value means true, and the caller reads it as an
 * integer, so an engine that stores another byte than 0 or 1 cannot break the caller.
 *
 * Buffers the engine hands out through a return value or an out-pointer (the call id of
 * MakeCall/MakeCallEx, GetCurrentCall's text, GetCameraInfo's list with its capability arrays)
 * belong to the engine: the caller never frees them, and they stay valid until the next call
 * of the same function. Out-values are written only when the request is accepted. */
#ifndef __cplusplus
#include <stdbool.h>
#endif
typedef unsigned char ZS_Bool8;
ZS_STATIC_ASSERT(sizeof(ZS_Bool8) == sizeof(bool), "engine flags are one byte");

/* Call-event record (onCallEvents). */
#define ZS_CALL_ID_SIZE 65
#define ZS_CALL_NUMBER_SIZE 65
typedef struct ZS_CallEvent
{
    int eCode; /* ZS_CallEventCode */
    int callType;
    char callid[ZS_CALL_ID_SIZE];
    char caller[ZS_CALL_NUMBER_SIZE];
    char callee[ZS_CALL_NUMBER_SIZE];
} ZS_CallEvent;
ZS_STATIC_ASSERT(offsetof(ZS_CallEvent, eCode) == 0, "call-event record layout");
ZS_STATIC_ASSERT(offsetof(ZS_CallEvent, callType) == 4, "call-event record layout");
ZS_STATIC_ASSERT(offsetof(ZS_CallEvent, callid) == 8, "call-event record layout");
ZS_STATIC_ASSERT(offsetof(ZS_CallEvent, caller) == 73, "call-event record layout");
ZS_STATIC_ASSERT(offsetof(ZS_CallEvent, callee) == 138, "call-event record layout");
ZS_STATIC_ASSERT(sizeof(ZS_CallEvent) == 204, "call-event record size");

/* Event codes of this engine in ZS_CallEvent.eCode. */
enum ZS_CallEventCode {
    ZS_CALL_EVENT_PROCEEDING = 1,
    ZS_CALL_EVENT_ALERTING = 2,
    ZS_CALL_EVENT_ANSWERED = 3,
    ZS_CALL_EVENT_RELEASED = 4
};

/* Incoming-call record (onCallIncoming). The texts' meaning is the engine's; this engine
 * reports the call type, then call id, caller, caller's display name, callee. */
typedef struct ZS_IncomingCall
{
    int number1;
    char text1[65];
    char text2[65];
    char text3[129];
    char text4[129];
} ZS_IncomingCall;
ZS_STATIC_ASSERT(offsetof(ZS_IncomingCall, text1) == 4, "incoming-call record layout");
ZS_STATIC_ASSERT(offsetof(ZS_IncomingCall, text2) == 69, "incoming-call record layout");
ZS_STATIC_ASSERT(offsetof(ZS_IncomingCall, text3) == 134, "incoming-call record layout");
ZS_STATIC_ASSERT(offsetof(ZS_IncomingCall, text4) == 263, "incoming-call record layout");
ZS_STATIC_ASSERT(sizeof(ZS_IncomingCall) == 392, "incoming-call record size");

/* Call-back record (onMakeCallBack). This engine reports caller, called, the caller's
 * display name and the called party's display name. */
typedef struct ZS_CallBackInfo
{
    char text1[65];
    char text2[65];
    char text3[21];
    char text4[65];
} ZS_CallBackInfo;
ZS_STATIC_ASSERT(offsetof(ZS_CallBackInfo, text2) == 65, "call-back record layout");
ZS_STATIC_ASSERT(offsetof(ZS_CallBackInfo, text3) == 130, "call-back record layout");
ZS_STATIC_ASSERT(offsetof(ZS_CallBackInfo, text4) == 151, "call-back record layout");
ZS_STATIC_ASSERT(sizeof(ZS_CallBackInfo) == 216, "call-back record size");

/* One capture resolution of a camera. */
typedef struct ZS_CameraCapability
{
    int width;
    int height;
    int number1;
} ZS_CameraCapability;
ZS_STATIC_ASSERT(offsetof(ZS_CameraCapability, height) == 4, "camera capability layout");
ZS_STATIC_ASSERT(sizeof(ZS_CameraCapability) == 12, "camera capability stride");

/* Camera record (GetCameraInfo). text1 is the engine's own (this engine: the camera's name). */
typedef struct ZS_CameraInfo
{
    int index; /* passed to SelectCamera */
    char text1[516];
    int capabilityCount;
    const ZS_CameraCapability *capabilities;
} ZS_CameraInfo;
ZS_STATIC_ASSERT(offsetof(ZS_CameraInfo, text1) == 4, "camera record layout");
ZS_STATIC_ASSERT(offsetof(ZS_CameraInfo, capabilityCount) == 520, "camera record layout");
#if ZS_PTR32
ZS_STATIC_ASSERT(offsetof(ZS_CameraInfo, capabilities) == 524, "camera record layout");
ZS_STATIC_ASSERT(sizeof(ZS_CameraInfo) == 528, "camera record stride");
#endif

/* Call statistics (GetCallStatistics), filled by the engine. */
typedef struct ZS_CallStatistics
{
    int number[9];
} ZS_CallStatistics;
ZS_STATIC_ASSERT(sizeof(ZS_CallStatistics) == 36, "call-statistics record size");

/* Kinds of remote video in onRemoteVideoRatio. */
enum ZS_RemoteVideoType {
    ZS_REMOTE_VIDEO_CALL = 0,
    ZS_REMOTE_VIDEO_CONFERENCE = 1,
    ZS_REMOTE_VIDEO_DESKTOP_SHARE = 2
};

/* Call events. 30 entries. */
struct ZS_VoIPCallBack
{
    void(ZS_CALL *onCallEvents)(int reason, const ZS_CallEvent *event);
    void(ZS_CALL *onMakeCallBack)(unsigned int matchKey, int reason, const ZS_CallBackInfo *info);
    void(ZS_CALL *onCallIncoming)(const ZS_IncomingCall *info);
    void(ZS_CALL *onDtmfReceived)(const char *callId, char dtmf);
    void(ZS_CALL *onSwitchCallMediaTypeRequest)(const char *callId, int video);
    void(ZS_CALL *onSwitchCallMediaTypeResponse)(const char *callId, int video);
    void(ZS_CALL *onRemoteVideoRatio)(const char *callidOrConfId, int width, int height, int type,
                                      const char *member);
    ZS_Callback unused7[14]; /* entries 7 to 20 */
    void(ZS_CALL *onReserved21)(void);
    ZS_Callback unused22[8]; /* entries 22 to 29 */
};
ZS_STATIC_ASSERT(offsetof(ZS_VoIPCallBack, onRemoteVideoRatio) == 6 * sizeof(ZS_Callback),
                 "VoIP table: entry 6");
ZS_STATIC_ASSERT(offsetof(ZS_VoIPCallBack, onReserved21) == 21 * sizeof(ZS_Callback),
                 "VoIP table: entry 21");
ZS_STATIC_ASSERT(sizeof(ZS_VoIPCallBack) == 30 * sizeof(ZS_Callback), "VoIP table: 30");

/* Dialling and call control; calls report their progress through onCallEvents.
 * MakeCallBack is answered by onMakeCallBack. */
ZSSDK_API int MakeCallBack(unsigned int *matchKey, const char *caller, const char *called,
                           const char *callerDisplay, const char *calledDisplay);
ZSSDK_API int MakeCall(const char **callId, int callType, const char *called);
ZSSDK_API int MakeCallEx(const char **callId, int callType, const char *called, const char *extra);
ZSSDK_API int AcceptCall(const char *callId);
ZSSDK_API int ReleaseCall(const char *callId, int reason);
ZSSDK_API int SendDTMF(const char *callId, char dtmf);
/* The current call's id, or null when there is none. */
ZSSDK_API const char *GetCurrentCall(void);
/* Answers: onSwitchCallMediaTypeResponse from the other side. */
ZSSDK_API int RequestSwitchCallMediaType(const char *callId, int video);
ZSSDK_API int ResponseSwitchCallMediaType(const char *callId, int video);

/* Audio. */
ZSSDK_API int SetMute(bool mute);
ZSSDK_API ZS_Bool8 GetMuteStatus(void);
ZSSDK_API int GetSpeakerVolume(unsigned int *volume);
ZSSDK_API int SetSpeakerVolume(unsigned int volume);
ZSSDK_API int SetAudioConfigEnabled(int type, bool enabled, int mode);
ZSSDK_API int GetAudioConfigEnabled(int type, ZS_Bool8 *enabled, int *mode);
ZSSDK_API int SetDtxEnabled(bool enabled);
ZSSDK_API int SetRing(const char *fileName);
ZSSDK_API int SetRingback(const char *fileName);

/* Codecs and loss protection. */
ZSSDK_API int SetCodecEnabled(int type, bool enabled);
ZSSDK_API ZS_Bool8 GetCodecEnabled(int type);
ZSSDK_API int SetCodecRed(int bFlag);
ZSSDK_API int SetCodecNack(bool bAudioNack, bool bVideoNack);
ZSSDK_API int GetCodecNack(ZS_Bool8 *bAudioNack, ZS_Bool8 *bVideoNack);

/* Video: windows are native handles, passed through. */
ZSSDK_API int SetVideoView(void *view, void *localView);
ZSSDK_API int SetVideoViewEX(void *view, void *localView, void *remoteShareView,
                             void *localShareView);
ZSSDK_API int ResetVideoView(const char *callId, void *view, void *localView);
ZSSDK_API int SetLevelIdc(int width, int height, float fps, int level);
ZSSDK_API int SetVideoBitRates(int bitrates);
ZSSDK_API int SetLocalShareDevice(const char *number, bool bflag);
/* Returns the number of cameras in *cameras (engine-owned). */
ZSSDK_API int GetCameraInfo(const ZS_CameraInfo **cameras);
ZSSDK_API int SelectCamera(int cameraIndex, int capabilityIndex, int fps, int rotate, bool force);

/* Statistics. */
ZSSDK_API int GetCallStatistics(const char *callId, bool bVideo, ZS_CallStatistics *statistics);
ZSSDK_API int GetNetworkStatistic(const char *callId, unsigned long long *number1,
                                  unsigned long long *number2, unsigned long long *number3);

/* The user's own name and number. */
ZSSDK_API int SetSelfPhoneNumber(const char *phoneNumber);
ZSSDK_API int SetSelfName(const char *nickName);

/* Screen recording of a call. */
ZSSDK_API int StartRecordScreen(const char *callId, const char *filename, int bitrate, int fps,
                                int type);
ZSSDK_API int StartRecordScreenEx(const char *callId, const char *filename, int bitrate, int fps,
                                  int type, int left, int top, int width, int height);
ZSSDK_API int StopRecordScreen(const char *callId);

/* ---- end of calls ---- */

/* ---- Messages ---- */

/* Message record: the callbacks' view of one message (text, file, picture, link card, voice
 * note, notice). Character fields are NUL-terminated UTF-8 of at most width-1 bytes; a reader
 * never reads a field past its width. The sizes are 64-bit at 4-byte alignment. */
#pragma pack(push, 4)
typedef struct ZS_MessageInfo
{
    int msgType;
    char msgId[65];
    char dateCreated[21];
    char sender[65];
    char receiver[65]; /* an account, or a group id (begins with "g") */
    char msgContent[8193];
    char userData[24582];
    char auxText1[129];
    char fileName[513];
    char sessionId[65];
    char fileUrl[513];
    char auxText2[65];
    int sessionType; /* 0: a person, 1: a group */
    long long fileSize;
    long long auxSize;
    int auxInt1;
    int auxInt2;
    int auxInt3;
    int isOfflinePush;
    int isHint;
    int isSyncMsg;
    int isReceiveOfflineMsg;
    char title[513]; /* link card (type 8) */
    char imgPath[4097];
    char desc[4097];
    char url[4097];
    long long originFileSize;
} ZS_MessageInfo;
#pragma pack(pop)
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, msgType) == 0, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, msgId) == 4, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, dateCreated) == 69, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, sender) == 90, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, receiver) == 155, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, msgContent) == 220, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, userData) == 8413, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, auxText1) == 32995, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, fileName) == 33124, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, sessionId) == 33637, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, fileUrl) == 33702, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, auxText2) == 34215, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, sessionType) == 34280, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, fileSize) == 34284, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, auxSize) == 34292, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, auxInt1) == 34300, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, auxInt2) == 34304, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, auxInt3) == 34308, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, isOfflinePush) == 34312, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, isHint) == 34316, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, isSyncMsg) == 34320, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, isReceiveOfflineMsg) == 34324, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, title) == 34328, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, imgPath) == 34841, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, desc) == 38938, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, url) == 43035, "message record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MessageInfo, originFileSize) == 47132, "message record layout");
ZS_STATIC_ASSERT(sizeof(ZS_MessageInfo) == 47140, "message record size");

/* The send functions write the new message's id into a caller's buffer of this size: at most
 * 127 bytes and a NUL. */
#define ZS_MSG_ID_BUFFER_SIZE 128

/* Reason of a transfer stopped by CancelUploadOrDownloadNOW, and of a voice note stopped by
 * StopVoiceMsg. */
#define ZS_REASON_CANCELLED 487

/* Message events. 46 entries. */
struct ZS_MessageCallBack
{
    void(ZS_CALL *onSendTextMessage)(unsigned int matchKey, int reason, const ZS_MessageInfo *msg);
    void(ZS_CALL *onReceiveMessage)(const ZS_MessageInfo *msg);
    void(ZS_CALL *onReceiveOfflineMessage)(const ZS_MessageInfo *msg);
    void(ZS_CALL *onSendMediaFile)(unsigned int matchKey, int reason, const ZS_MessageInfo *msg,
                                   const char *statusMsg);
    void(ZS_CALL *onDownloadFileComplete)(unsigned int matchKey, int reason,
                                          const ZS_MessageInfo *msg);
    void(ZS_CALL *onRateOfProgressAttach)(unsigned int matchKey, unsigned long long rateSize,
                                          unsigned long long fileSize, const ZS_MessageInfo *msg);
    void(ZS_CALL *onReceiveFile)(const ZS_MessageInfo *msg);
    void(ZS_CALL *onOfflineMessageCount)(int count);
    ZS_Callback reserved8;
    void(ZS_CALL *onOfflineMessageComplete)(void);
    void(ZS_CALL *onRecordingTimeOut)(int ms, const char *sessionId);
    void(ZS_CALL *onFinishedPlaying)(const char *sessionId, int reason);
    void(ZS_CALL *onRecordingAmplitude)(double amplitude, const char *sessionId);
    void(ZS_CALL *onDeleteMessage)(unsigned int matchKey, int reason, int type, const char *msgId);
    void(ZS_CALL *onReceiveNoVersionMessage)(const ZS_MessageInfo *msg);
    void(ZS_CALL *onReceiveOpreateNoticeMessage)(const ZS_MessageInfo *msg);
    void(ZS_CALL *onSetTopContact)(unsigned int matchKey, int reason);
    /* count texts, in the server's order */
    void(ZS_CALL *onGetTopContact)(unsigned int matchKey, int reason, int count,
                                   const char *const *contacts);
    void(ZS_CALL *onWithDrawMessage)(unsigned int matchKey, int reason);
    ZS_Callback reserved19[3]; /* entries 19 to 21 */
    void(ZS_CALL *onReceiveServerUndefineMessage)(const ZS_MessageInfo *msg);
    ZS_Callback reserved23[3]; /* entries 23 to 25 */
    /* Groups: typed by the group requests when they are taken into use. */
    ZS_Callback onCreateGroup;
    ZS_Callback onDismissGroup;
    ZS_Callback onQuitGroup;
    ZS_Callback onJoinGroup;
    ZS_Callback onReplyRequestJoinGroup;
    ZS_Callback onInviteJoinGroup;
    ZS_Callback onReplyInviteJoinGroup;
    ZS_Callback onQueryOwnGroup;
    ZS_Callback onQueryGroupDetail;
    ZS_Callback onModifyGroup;
    ZS_Callback onSearchPublicGroup;
    ZS_Callback onQueryGroupMember;
    ZS_Callback onDeleteGroupMember;
    ZS_Callback onQueryGroupMemberCard;
    ZS_Callback onModifyGroupMemberCard;
    ZS_Callback onForbidMemberSpeakGroup;
    ZS_Callback onSetGroupMessageRule;
    ZS_Callback onReceiveGroupNoticeMessage;
    ZS_Callback onSetGroupMemberRole;
    ZS_Callback onSearchPublicGroupPaging;
};
#define ZS_MESSAGE_ENTRY(name, index)                                                              \
    ZS_STATIC_ASSERT(offsetof(ZS_MessageCallBack, name) == (index) * sizeof(ZS_Callback),          \
                     "message table: entry " #index)
ZS_MESSAGE_ENTRY(onSendTextMessage, 0);
ZS_MESSAGE_ENTRY(onReceiveMessage, 1);
ZS_MESSAGE_ENTRY(onReceiveOfflineMessage, 2);
ZS_MESSAGE_ENTRY(onSendMediaFile, 3);
ZS_MESSAGE_ENTRY(onDownloadFileComplete, 4);
ZS_MESSAGE_ENTRY(onRateOfProgressAttach, 5);
ZS_MESSAGE_ENTRY(onReceiveFile, 6);
ZS_MESSAGE_ENTRY(onOfflineMessageCount, 7);
ZS_MESSAGE_ENTRY(reserved8, 8);
ZS_MESSAGE_ENTRY(onOfflineMessageComplete, 9);
ZS_MESSAGE_ENTRY(onRecordingTimeOut, 10);
ZS_MESSAGE_ENTRY(onFinishedPlaying, 11);
ZS_MESSAGE_ENTRY(onRecordingAmplitude, 12);
ZS_MESSAGE_ENTRY(onDeleteMessage, 13);
ZS_MESSAGE_ENTRY(onReceiveNoVersionMessage, 14);
ZS_MESSAGE_ENTRY(onReceiveOpreateNoticeMessage, 15);
ZS_MESSAGE_ENTRY(onSetTopContact, 16);
ZS_MESSAGE_ENTRY(onGetTopContact, 17);
ZS_MESSAGE_ENTRY(onWithDrawMessage, 18);
ZS_MESSAGE_ENTRY(reserved19, 19);
ZS_MESSAGE_ENTRY(onReceiveServerUndefineMessage, 22);
ZS_MESSAGE_ENTRY(reserved23, 23);
ZS_MESSAGE_ENTRY(onCreateGroup, 26);
ZS_MESSAGE_ENTRY(onDismissGroup, 27);
ZS_MESSAGE_ENTRY(onQuitGroup, 28);
ZS_MESSAGE_ENTRY(onJoinGroup, 29);
ZS_MESSAGE_ENTRY(onReplyRequestJoinGroup, 30);
ZS_MESSAGE_ENTRY(onInviteJoinGroup, 31);
ZS_MESSAGE_ENTRY(onReplyInviteJoinGroup, 32);
ZS_MESSAGE_ENTRY(onQueryOwnGroup, 33);
ZS_MESSAGE_ENTRY(onQueryGroupDetail, 34);
ZS_MESSAGE_ENTRY(onModifyGroup, 35);
ZS_MESSAGE_ENTRY(onSearchPublicGroup, 36);
ZS_MESSAGE_ENTRY(onQueryGroupMember, 37);
ZS_MESSAGE_ENTRY(onDeleteGroupMember, 38);
ZS_MESSAGE_ENTRY(onQueryGroupMemberCard, 39);
ZS_MESSAGE_ENTRY(onModifyGroupMemberCard, 40);
ZS_MESSAGE_ENTRY(onForbidMemberSpeakGroup, 41);
ZS_MESSAGE_ENTRY(onSetGroupMessageRule, 42);
ZS_MESSAGE_ENTRY(onReceiveGroupNoticeMessage, 43);
ZS_MESSAGE_ENTRY(onSetGroupMemberRole, 44);
ZS_MESSAGE_ENTRY(onSearchPublicGroupPaging, 45);
#undef ZS_MESSAGE_ENTRY
ZS_STATIC_ASSERT(sizeof(ZS_MessageCallBack) == 46 * sizeof(ZS_Callback), "message table: 46");

/* Sending. Each send writes the new message's id into msgIdBuf (ZS_MSG_ID_BUFFER_SIZE bytes)
 * and is answered later: texts by onSendTextMessage, files by onRateOfProgressAttach (as the
 * upload goes) and onSendMediaFile. fileName is a local file, read when the request is made;
 * a missing file refuses the request. */
ZSSDK_API int SendTextMessageEX(unsigned int *matchKey, const char *receiver, const char *message,
                                int type, const char *userdata, char *msgIdBuf,
                                const char *jsonString);
ZSSDK_API int SendMediaMessage(unsigned int *matchKey, const char *receiver, const char *fileName,
                               int type, const char *userdata, char *msgIdBuf);
/* offsetJson: where a retried upload resumes; uuid: the upload's identity (a retry passes the
 * first attempt's); extra and last: the engine's own, passed as the client was built with. */
ZSSDK_API int SendMediaMessageEX(unsigned int *matchKey, const char *receiver, const char *fileName,
                                 int type, const char *userdata, char *msgIdBuf,
                                 const char *offsetJson, const char *jsonString, int extra,
                                 const char *uuid, const char *last);

/* Transfers. A download writes the file at `url` to the local path fileName; answered by
 * onRateOfProgressAttach and onDownloadFileComplete. Cancelling takes the transfer's key by
 * value; the transfer then ends with ZS_REASON_CANCELLED. */
ZSSDK_API int DownloadFileMessage(unsigned int *matchKey, const char *sender, const char *recv,
                                  const char *url, const char *fileName, const char *msgId,
                                  int type);
ZSSDK_API int CancelUploadOrDownloadNOW(unsigned int matchKey);

/* Stored messages. Answers: onDeleteMessage, onWithDrawMessage, onSetTopContact,
 * onGetTopContact. ReadMessage has no answer and takes a null matchKey. */
ZSSDK_API int DeleteMessage(unsigned int *matchKey, int type, const char *msgId);
ZSSDK_API int WithDrawMessage(unsigned int *matchKey, const char *msgId, int type);
ZSSDK_API int SetTopContact(unsigned int *matchKey, const char *contact, bool isTop);
ZSSDK_API int GetTopContact(unsigned int *matchKey);
ZSSDK_API int ReadMessage(unsigned int *matchKey, const char *msgId);

/* Voice notes: WAV files at paths the caller chooses. Recording reports onRecordingAmplitude
 * while it runs and onRecordingTimeOut when it reaches its limit; playing ends with
 * onFinishedPlaying. GetVoiceDuration gives milliseconds and may be called from any thread;
 * *duration is written only when it returns 0. */
ZSSDK_API int StartVoiceRecording(const char *fileName, const char *sessionId);
ZSSDK_API int StopVoiceRecording(void);
ZSSDK_API int PlayVoiceMsg(const char *fileName, const char *sessionId);
ZSSDK_API int StopVoiceMsg(void);
ZSSDK_API int GetVoiceDuration(const char *fileName, int *duration);

/* Pictures: a capture of part of the screen, and a copy of a picture under another name. */
ZSSDK_API int PrintScreen(int x, int y, int width, int height);
ZSSDK_API int SaveAsPic(const char *fileName, const char *filePath, int fileType);

/* Receive settings. */
ZSSDK_API int SetConfirmMsgVersionFrequency(int number);
ZSSDK_API void SetFetchMessageFromLast(bool bFlag);

/* ---- end of messages ---- */

#ifdef __cplusplus
}
#endif

#endif /* ZSSDK_H */
