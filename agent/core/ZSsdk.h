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
#include <cstdio>
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
typedef struct ZS_MeetingCallBack ZS_MeetingCallBack; /* defined with the meetings */
typedef struct ZS_ConfCallBack ZS_ConfCallBack; /* defined with the conferences */

ZS_STATIC_ASSERT(sizeof(ZS_GeneralCallBack) == 16 * sizeof(ZS_Callback), "general table: 16");

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

/* ---- Groups ---- */

/* Group records. Character fields are NUL-terminated UTF-8 of at most width-1 bytes; a reader
 * never reads a field past its width. Widths the engine leaves open end where the next field
 * begins; the last text of a record has the width given here. Flags are one byte. */

/* Group-change record: a group's settings as ModifyGroup takes them and onModifyGroup gives
 * them back. */
typedef struct ZS_GroupChangeInfo
{
    char groupId[34];
    char name[130];
    int type;
    char province[65];
    char city[67];
    int scope;
    char declared[516];
    int permission;
    char groupDomain[513];
    unsigned char isDiscuss;
    char reserved[514];
} ZS_GroupChangeInfo;
ZS_STATIC_ASSERT(offsetof(ZS_GroupChangeInfo, name) == 34, "group-change record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupChangeInfo, type) == 164, "group-change record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupChangeInfo, province) == 168, "group-change record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupChangeInfo, city) == 233, "group-change record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupChangeInfo, scope) == 300, "group-change record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupChangeInfo, declared) == 304, "group-change record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupChangeInfo, permission) == 820, "group-change record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupChangeInfo, groupDomain) == 824, "group-change record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupChangeInfo, isDiscuss) == 1337, "group-change record layout");
ZS_STATIC_ASSERT(sizeof(ZS_GroupChangeInfo) == 1852, "group-change record size");

/* Member card: ModifyMemberCard, onQueryGroupMemberCard, onModifyGroupMemberCard. */
typedef struct ZS_GroupMemberCard
{
    char cardText1[65];
    char cardText2[34];
    char cardText3[129];
    char cardText4[34];
    char cardText5[129];
    char cardText6[513];
    int cardValue1;
    int cardValue2;
    int cardValue3;
} ZS_GroupMemberCard;
ZS_STATIC_ASSERT(offsetof(ZS_GroupMemberCard, cardText2) == 65, "member-card record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupMemberCard, cardText3) == 99, "member-card record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupMemberCard, cardText4) == 228, "member-card record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupMemberCard, cardText5) == 262, "member-card record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupMemberCard, cardText6) == 391, "member-card record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupMemberCard, cardValue1) == 904, "member-card record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupMemberCard, cardValue2) == 908, "member-card record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupMemberCard, cardValue3) == 912, "member-card record layout");
ZS_STATIC_ASSERT(sizeof(ZS_GroupMemberCard) == 916, "member-card record size");

/* Group detail: onCreateGroup and onQueryGroupDetail (whose groupDomain is Base64). */
typedef struct ZS_GroupDetailInfo
{
    char groupId[34];
    char name[129];
    char detailText3[129];
    int type;
    char province[65];
    char city[67];
    int scope;
    char declared[513];
    char detailText9[23];
    int permission;
    int detailValue2;
    int detailValue3;
    char groupDomain[513];
    unsigned char isDiscuss;
    unsigned char reserved[2];
} ZS_GroupDetailInfo;
ZS_STATIC_ASSERT(offsetof(ZS_GroupDetailInfo, name) == 34, "group-detail record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupDetailInfo, detailText3) == 163, "group-detail record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupDetailInfo, type) == 292, "group-detail record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupDetailInfo, province) == 296, "group-detail record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupDetailInfo, city) == 361, "group-detail record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupDetailInfo, scope) == 428, "group-detail record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupDetailInfo, declared) == 432, "group-detail record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupDetailInfo, detailText9) == 945, "group-detail record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupDetailInfo, permission) == 968, "group-detail record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupDetailInfo, detailValue2) == 972, "group-detail record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupDetailInfo, detailValue3) == 976, "group-detail record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupDetailInfo, groupDomain) == 980, "group-detail record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupDetailInfo, isDiscuss) == 1493, "group-detail record layout");
ZS_STATIC_ASSERT(sizeof(ZS_GroupDetailInfo) == 1496, "group-detail record size");

/* One of the user's groups (onQueryOwnGroup): 832 bytes apart in the array. */
typedef struct ZS_GroupSimpleInfo
{
    char groupId[34];
    char name[129];
    char simpleText3[645];
    int simpleValue1;
    int simpleValue2;
    int simpleValue3;
    int simpleValue4;
    unsigned char simpleFlag;
    unsigned char reserved[3];
    int type;
} ZS_GroupSimpleInfo;
ZS_STATIC_ASSERT(offsetof(ZS_GroupSimpleInfo, name) == 34, "own-group record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupSimpleInfo, simpleText3) == 163, "own-group record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupSimpleInfo, simpleValue1) == 808, "own-group record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupSimpleInfo, simpleValue2) == 812, "own-group record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupSimpleInfo, simpleValue3) == 816, "own-group record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupSimpleInfo, simpleValue4) == 820, "own-group record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupSimpleInfo, simpleFlag) == 824, "own-group record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupSimpleInfo, type) == 828, "own-group record layout");
ZS_STATIC_ASSERT(sizeof(ZS_GroupSimpleInfo) == 832, "own-group record stride");

/* A public group found (onSearchPublicGroup, onSearchPublicGroupPaging): 824 bytes apart. */
typedef struct ZS_GroupSearchInfo
{
    char groupId[34];
    char name[129];
    char searchText3[129];
    char searchText4[516];
    int searchValue1;
    int searchValue2;
    int searchValue3;
    unsigned char searchFlag;
    unsigned char reserved[3];
} ZS_GroupSearchInfo;
ZS_STATIC_ASSERT(offsetof(ZS_GroupSearchInfo, name) == 34, "search record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupSearchInfo, searchText3) == 163, "search record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupSearchInfo, searchText4) == 292, "search record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupSearchInfo, searchValue1) == 808, "search record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupSearchInfo, searchValue2) == 812, "search record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupSearchInfo, searchValue3) == 816, "search record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupSearchInfo, searchFlag) == 820, "search record layout");
ZS_STATIC_ASSERT(sizeof(ZS_GroupSearchInfo) == 824, "search record stride");

/* A member of a group (onQueryGroupMember): 208 bytes apart. */
typedef struct ZS_GroupMemberInfo
{
    char member[65];
    char memberText[129];
    unsigned char reserved[2];
    int memberValue1;
    int memberValue2;
    int memberValue3;
} ZS_GroupMemberInfo;
ZS_STATIC_ASSERT(offsetof(ZS_GroupMemberInfo, memberText) == 65, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupMemberInfo, memberValue1) == 196, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupMemberInfo, memberValue2) == 200, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupMemberInfo, memberValue3) == 204, "member record layout");
ZS_STATIC_ASSERT(sizeof(ZS_GroupMemberInfo) == 208, "member record stride");

/* Group notice (onReceiveGroupNoticeMessage): its type, and a pointer to the record of that
 * type (null for none). The pointer is 4 bytes on the engine's 32-bit target, 8 elsewhere. */
enum ZS_GroupNoticeType {
    ZS_GROUP_NOTICE_REQUEST_JOIN = 0, /* ZS_GroupJoinRequestNotice */
    ZS_GROUP_NOTICE_INVITE = 1, /* ZS_GroupInviteNotice */
    ZS_GROUP_NOTICE_MEMBER_JOINED = 2, /* ZS_GroupMemberJoinedNotice */
    ZS_GROUP_NOTICE_DISMISSED = 3, /* ZS_GroupDismissNotice */
    ZS_GROUP_NOTICE_QUIT = 4, /* ZS_GroupNoticeHeader */
    ZS_GROUP_NOTICE_REMOVED = 5, /* ZS_GroupNoticeHeader */
    ZS_GROUP_NOTICE_REPLY_REQUEST = 6, /* ZS_GroupReplyNotice */
    ZS_GROUP_NOTICE_REPLY_INVITE = 7, /* ZS_GroupReplyNotice */
    ZS_GROUP_NOTICE_MODIFIED = 8, /* ZS_GroupNoticeHeader */
    ZS_GROUP_NOTICE_ROLE = 10, /* ZS_GroupRoleNotice */
    ZS_GROUP_NOTICE_MEMBER_INFO = 11, /* ZS_GroupMemberInfoNotice */
    ZS_GROUP_NOTICE_JOINED = 12 /* ZS_GroupJoinNotice, then its members */
};

typedef struct ZS_GroupNotice
{
    int type;
    char reserved[68];
    const void *detail;
} ZS_GroupNotice;
ZS_STATIC_ASSERT(offsetof(ZS_GroupNotice, detail) == 72, "group-notice record layout");
ZS_STATIC_ASSERT(!ZS_PTR32 || sizeof(ZS_GroupNotice) == 76, "group-notice record size");

/* The header most notice records begin with (types 4, 5 and 8 are only this). */
typedef struct ZS_GroupNoticeHeader
{
    char sender[65];
    char groupId[34];
    char groupName[129];
    char dateCreated[21];
    char member[65];
    char extraText1[129];
} ZS_GroupNoticeHeader;
ZS_STATIC_ASSERT(offsetof(ZS_GroupNoticeHeader, groupId) == 65, "notice header layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupNoticeHeader, groupName) == 99, "notice header layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupNoticeHeader, dateCreated) == 228, "notice header layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupNoticeHeader, member) == 249, "notice header layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupNoticeHeader, extraText1) == 314, "notice header layout");
ZS_STATIC_ASSERT(sizeof(ZS_GroupNoticeHeader) == 443, "notice header size");

/* Type 0: someone asks to join. */
typedef struct ZS_GroupJoinRequestNotice
{
    char sender[65];
    char groupId[34];
    char groupName[129];
    char dateCreated[21];
    char member[65];
    char reserved[448];
    char extraText1[129];
    char extraText2[65];
    int extraValue;
} ZS_GroupJoinRequestNotice;
ZS_STATIC_ASSERT(offsetof(ZS_GroupJoinRequestNotice, member) == 249, "type-0 notice layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupJoinRequestNotice, extraText1) == 762, "type-0 notice layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupJoinRequestNotice, extraText2) == 891, "type-0 notice layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupJoinRequestNotice, extraValue) == 956, "type-0 notice layout");
ZS_STATIC_ASSERT(sizeof(ZS_GroupJoinRequestNotice) == 960, "type-0 notice size");

/* Type 1: an invitation; the header comes 4 bytes further on. */
typedef struct ZS_GroupInviteNotice
{
    int noticeType;
    char sender[65];
    char groupId[34];
    char groupName[129];
    char dateCreated[21];
    char member[65];
    char reserved[448];
    char extraText1[65];
    char extraText2[129];
} ZS_GroupInviteNotice;
ZS_STATIC_ASSERT(offsetof(ZS_GroupInviteNotice, sender) == 4, "type-1 notice layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupInviteNotice, groupId) == 69, "type-1 notice layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupInviteNotice, groupName) == 103, "type-1 notice layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupInviteNotice, dateCreated) == 232, "type-1 notice layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupInviteNotice, member) == 253, "type-1 notice layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupInviteNotice, extraText1) == 766, "type-1 notice layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupInviteNotice, extraText2) == 831, "type-1 notice layout");
ZS_STATIC_ASSERT(sizeof(ZS_GroupInviteNotice) == 960, "type-1 notice size");

/* Type 2: a member joined. */
typedef struct ZS_GroupMemberJoinedNotice
{
    char sender[65];
    char groupId[34];
    char groupName[129];
    char dateCreated[21];
    char member[65];
    char extraText1[129];
    char reserved[384];
    char extraText2[129];
} ZS_GroupMemberJoinedNotice;
ZS_STATIC_ASSERT(offsetof(ZS_GroupMemberJoinedNotice, extraText1) == 314, "type-2 notice layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupMemberJoinedNotice, extraText2) == 827, "type-2 notice layout");
ZS_STATIC_ASSERT(sizeof(ZS_GroupMemberJoinedNotice) == 956, "type-2 notice size");

/* Type 3: the group was dismissed. */
typedef struct ZS_GroupDismissNotice
{
    char sender[65];
    char groupId[34];
    char groupName[129];
    char dateCreated[21];
} ZS_GroupDismissNotice;
ZS_STATIC_ASSERT(offsetof(ZS_GroupDismissNotice, dateCreated) == 228, "type-3 notice layout");
ZS_STATIC_ASSERT(sizeof(ZS_GroupDismissNotice) == 249, "type-3 notice size");

/* Types 6 and 7: the answer to a join request or to an invitation. */
typedef struct ZS_GroupReplyNotice
{
    char sender[65];
    char groupId[34];
    char groupName[129];
    char dateCreated[21];
    char member[65];
    char extraText1[65];
    char extraText2[129];
    int extraValue;
} ZS_GroupReplyNotice;
ZS_STATIC_ASSERT(offsetof(ZS_GroupReplyNotice, extraText1) == 314, "type-6/7 notice layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupReplyNotice, extraText2) == 379, "type-6/7 notice layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupReplyNotice, extraValue) == 508, "type-6/7 notice layout");
ZS_STATIC_ASSERT(sizeof(ZS_GroupReplyNotice) == 512, "type-6/7 notice size");

/* Type 10: a member's role changed. */
typedef struct ZS_GroupRoleNotice
{
    char sender[65];
    char groupId[34];
    char groupName[129];
    char dateCreated[21];
    char member[65];
    char extraText1[129];
    char reserved[1];
    int extraValue;
} ZS_GroupRoleNotice;
ZS_STATIC_ASSERT(offsetof(ZS_GroupRoleNotice, extraValue) == 444, "type-10 notice layout");
ZS_STATIC_ASSERT(sizeof(ZS_GroupRoleNotice) == 448, "type-10 notice size");

/* Type 11: a member's data changed; modifyDic says what. */
typedef struct ZS_GroupMemberInfoNotice
{
    char sender[65];
    char groupId[34];
    char groupName[129];
    char dateCreated[21];
    char member[65];
    char extraText1[129];
    char modifyDic[129];
} ZS_GroupMemberInfoNotice;
ZS_STATIC_ASSERT(offsetof(ZS_GroupMemberInfoNotice, modifyDic) == 443, "type-11 notice layout");
ZS_STATIC_ASSERT(sizeof(ZS_GroupMemberInfoNotice) == 572, "type-11 notice size");

/* Type 12: joined, with the group's members. memberCount ZS_GroupNoticeMember entries follow
 * the record directly (from offset 832, 194 bytes apart); the engine allocates them with it. */
typedef struct ZS_GroupNoticeMember
{
    char member[65];
    char memberText[129];
} ZS_GroupNoticeMember;
ZS_STATIC_ASSERT(sizeof(ZS_GroupNoticeMember) == 194, "type-12 member entry size");

typedef struct ZS_GroupJoinNotice
{
    char sender[65];
    char groupId[34];
    char groupName[129];
    char dateCreated[21];
    char member[65];
    char reserved[448];
    char extraText1[65];
    char reserved2[1];
    int memberCount;
} ZS_GroupJoinNotice;
ZS_STATIC_ASSERT(offsetof(ZS_GroupJoinNotice, extraText1) == 762, "type-12 notice layout");
ZS_STATIC_ASSERT(offsetof(ZS_GroupJoinNotice, memberCount) == 828, "type-12 notice layout");
ZS_STATIC_ASSERT(sizeof(ZS_GroupJoinNotice) == 832, "type-12 notice size");

/* Group requests. Each is answered by the group entry of the message table named after it;
 * member lists (InviteJoinGroup) are `count` texts in order. */
ZSSDK_API int CreateGroup(unsigned int *matchKey, const char *groupName, int type,
                          const char *province, const char *city, int scope, const char *declared,
                          int permission, int isDismiss, const char *groupDomain, bool isDiscuss);
ZSSDK_API int DismissGroup(unsigned int *matchKey, const char *groupid);
ZSSDK_API int QuitGroup(unsigned int *matchKey, const char *groupid);
ZSSDK_API int JoinGroup(unsigned int *matchKey, const char *groupid, const char *declared);
ZSSDK_API int ReplyRequestJoinGroup(unsigned int *matchKey, const char *groupid, const char *member,
                                    int confirm);
ZSSDK_API int InviteJoinGroup(unsigned int *matchKey, const char *groupId, const char *declard,
                              const char *const *members, int count, int confirm);
ZSSDK_API int ReplyInviteJoinGroup(unsigned int *matchKey, const char *groupid, const char *invitor,
                                   int confirm);
ZSSDK_API int QueryOwnGroup(unsigned int *matchKey, const char *borderGroupid, int pageSize,
                            int target);
ZSSDK_API int QueryGroupDetail(unsigned int *matchKey, const char *groupId);
ZSSDK_API int ModifyGroup(unsigned int *matchKey, const ZS_GroupChangeInfo *info);
ZSSDK_API int SearchPublicGroups(unsigned int *matchKey, int searchType, const char *keyword);
ZSSDK_API int SearchPublicGroupsPaging(unsigned int *matchKey, int searchType, const char *keyword,
                                       int pageNo, int pageSize);
ZSSDK_API int QueryGroupMember(unsigned int *matchKey, const char *groupId,
                               const char *borderMember, int pageSize);
ZSSDK_API int DeleteGroupMember(unsigned int *matchKey, const char *groupid, const char *member);
ZSSDK_API int QueryGroupMemberCard(unsigned int *matchKey, const char *groupid, const char *member);
ZSSDK_API int ModifyMemberCard(unsigned int *matchKey, const ZS_GroupMemberCard *card);
ZSSDK_API int ForbidMemberSpeak(unsigned int *matchKey, const char *groupid, const char *member,
                                int isBan);
ZSSDK_API int SetGroupMessageRule(unsigned int *matchKey, const char *groupid, bool notice);
ZSSDK_API int SetGroupMemberRole(unsigned int *matchKey, const char *groupId, const char *member,
                                 int role);

/* ---- end of groups ---- */

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
    /* Groups */
    void(ZS_CALL *onCreateGroup)(unsigned int matchKey, int reason, const ZS_GroupDetailInfo *info);
    void(ZS_CALL *onDismissGroup)(unsigned int matchKey, int reason, const char *groupid);
    void(ZS_CALL *onQuitGroup)(unsigned int matchKey, int reason, const char *groupid);
    void(ZS_CALL *onJoinGroup)(unsigned int matchKey, int reason, const char *groupid);
    void(ZS_CALL *onReplyRequestJoinGroup)(unsigned int matchKey, int reason, const char *groupid,
                                           const char *member, int confirm);
    /* count member texts, in the request's order */
    void(ZS_CALL *onInviteJoinGroup)(unsigned int matchKey, int reason, const char *groupid,
                                     const char *const *members, int count, int confirm);
    void(ZS_CALL *onReplyInviteJoinGroup)(unsigned int matchKey, int reason, const char *groupid,
                                          const char *member, int confirm);
    void(ZS_CALL *onQueryOwnGroup)(unsigned int matchKey, int reason, int count,
                                   const ZS_GroupSimpleInfo *groups);
    void(ZS_CALL *onQueryGroupDetail)(unsigned int matchKey, int reason,
                                      const ZS_GroupDetailInfo *info);
    void(ZS_CALL *onModifyGroup)(unsigned int matchKey, int reason, const ZS_GroupChangeInfo *info);
    void(ZS_CALL *onSearchPublicGroup)(unsigned int matchKey, int reason, int searchType,
                                       const char *keyword, int count,
                                       const ZS_GroupSearchInfo *groups);
    void(ZS_CALL *onQueryGroupMember)(unsigned int matchKey, int reason, const char *groupid,
                                      int count, const ZS_GroupMemberInfo *members);
    void(ZS_CALL *onDeleteGroupMember)(unsigned int matchKey, int reason, const char *groupid,
                                       const char *member);
    void(ZS_CALL *onQueryGroupMemberCard)(unsigned int matchKey, int reason,
                                          const ZS_GroupMemberCard *card);
    void(ZS_CALL *onModifyGroupMemberCard)(unsigned int matchKey, int reason,
                                           const ZS_GroupMemberCard *card);
    void(ZS_CALL *onForbidMemberSpeakGroup)(unsigned int matchKey, int reason, const char *groupid,
                                            const char *member, int isBan);
    void(ZS_CALL *onSetGroupMessageRule)(unsigned int matchKey, int reason, const char *groupid,
                                         ZS_Bool8 notice);
    void(ZS_CALL *onReceiveGroupNoticeMessage)(const ZS_GroupNotice *notice);
    void(ZS_CALL *onSetGroupMemberRole)(unsigned int matchKey, int reason);
    void(ZS_CALL *onSearchPublicGroupPaging)(unsigned int matchKey, int reason, int searchType,
                                             const char *keyword, int count,
                                             const ZS_GroupSearchInfo *groups, int pageNo);
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

/* ---- Conferences ---- */

/* Member lists passed to the conference requests: arrays of fixed entries with their count
 * beside them. An empty list is a null pointer and a count of 0. Texts are NUL-terminated
 * UTF-8 of at most width-1 bytes. */

/* A member of a new or changed conference (CreateConference, UpdateConference). */
typedef struct ConfMemberEntry
{
    char text1[260];
    int number1;
    int number2;
    char text2[257];
    char text3[257];
} ConfMemberEntry;
ZS_STATIC_ASSERT(offsetof(ConfMemberEntry, number1) == 260, "member entry layout");
ZS_STATIC_ASSERT(offsetof(ConfMemberEntry, number2) == 264, "member entry layout");
ZS_STATIC_ASSERT(offsetof(ConfMemberEntry, text2) == 268, "member entry layout");
ZS_STATIC_ASSERT(offsetof(ConfMemberEntry, text3) == 525, "member entry layout");
ZS_STATIC_ASSERT(sizeof(ConfMemberEntry) == 784, "member entry size");

/* A member invited (ConferenceInviteMember): a member entry and six zero bytes. */
typedef struct ConfInviteEntry
{
    char text1[260];
    int number1;
    int number2;
    char text2[257];
    char text3[257];
    char reserved[6];
} ConfInviteEntry;
ZS_STATIC_ASSERT(offsetof(ConfInviteEntry, number1) == 260, "invite entry layout");
ZS_STATIC_ASSERT(offsetof(ConfInviteEntry, number2) == 264, "invite entry layout");
ZS_STATIC_ASSERT(offsetof(ConfInviteEntry, text2) == 268, "invite entry layout");
ZS_STATIC_ASSERT(offsetof(ConfInviteEntry, text3) == 525, "invite entry layout");
ZS_STATIC_ASSERT(offsetof(ConfInviteEntry, reserved) == 782, "invite entry layout");
ZS_STATIC_ASSERT(sizeof(ConfInviteEntry) == 788, "invite entry size");

/* A member acted on (ConferenceKickoutMember, ConferenceSendCmd, ConferenceMediaControl),
 * and a member removed in a conference notification. */
typedef struct ConfTargetEntry
{
    char text1[260];
    int number1;
    int deviceType;
} ConfTargetEntry;
ZS_STATIC_ASSERT(offsetof(ConfTargetEntry, number1) == 260, "target entry layout");
ZS_STATIC_ASSERT(offsetof(ConfTargetEntry, deviceType) == 264, "target entry layout");
ZS_STATIC_ASSERT(sizeof(ConfTargetEntry) == 268, "target entry size");

/* A member whose media a recording takes (ConferenceRecord). In C++ an entry starts zeroed,
 * and releasing an array of them writes one line-less trace per entry to standard output. */
typedef struct _ZSConferenceRecordMemberInfo
{
    char text1[260];
    int number1;
#ifdef __cplusplus
    _ZSConferenceRecordMemberInfo()
        : text1()
        , number1(0)
    { }
    ~_ZSConferenceRecordMemberInfo()
    {
        std::fputs("~_ZSConferenceRecordMemberInfo()", stdout);
    }
    _ZSConferenceRecordMemberInfo(const _ZSConferenceRecordMemberInfo &) = default;
    _ZSConferenceRecordMemberInfo &operator=(const _ZSConferenceRecordMemberInfo &) = default;
#endif
} _ZSConferenceRecordMemberInfo;
ZS_STATIC_ASSERT(offsetof(_ZSConferenceRecordMemberInfo, number1) == 260,
                 "recording member entry layout");
ZS_STATIC_ASSERT(sizeof(_ZSConferenceRecordMemberInfo) == 264, "recording member entry size");

/* A conference member as the callbacks report it (member lists, and the members of a
 * conference record). */
typedef struct ZS_ConfMemberInfo
{
    char memberId[257];
    char text2[259];
    int number1;
    int number2;
    int number3; /* a word of flags, bit 0 first */
    int number4;
    char text3[65];
    char text4[65];
    char text5[65];
    char text6[257];
    char text7[34];
    char text8[257];
    char text9[1024];
    char text10[34];
    char text11[35];
    int deviceType;
    int number5;
} ZS_ConfMemberInfo;
ZS_STATIC_ASSERT(offsetof(ZS_ConfMemberInfo, text2) == 257, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfMemberInfo, number1) == 516, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfMemberInfo, number2) == 520, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfMemberInfo, number3) == 524, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfMemberInfo, number4) == 528, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfMemberInfo, text3) == 532, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfMemberInfo, text4) == 597, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfMemberInfo, text5) == 662, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfMemberInfo, text6) == 727, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfMemberInfo, text7) == 984, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfMemberInfo, text8) == 1018, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfMemberInfo, text9) == 1275, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfMemberInfo, text10) == 2299, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfMemberInfo, text11) == 2333, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfMemberInfo, deviceType) == 2368, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfMemberInfo, number5) == 2372, "member record layout");
ZS_STATIC_ASSERT(sizeof(ZS_ConfMemberInfo) == 2376, "member record stride");

/* One conference (GetConferenceInfo, the two conference lists, MemberJoinConference). It
 * points to its members; the offsets from `members` on hold with 4-byte pointers. */
typedef struct ZS_ConfInfo
{
    char confId[257];
    char text2[259];
    int number1;
    char creator[132];
    int number2;
    char text3[129];
    char text4[131];
    int number3;
    int memberCount;
    int number4;
    char startTime[68];
    int number5;
    char text5[1024];
    char createTime[65];
    char updateTime[65];
    char text6[66];
    int number6;
    int number7;
    int number8;
    int number9;
    int number10;
    int number11;
    char text7[132];
    int number12; /* entries at `members` */
    const ZS_ConfMemberInfo *members;
    int number13;
    char reserveStartTime[68];
    int number14;
    char confTopic[1028];
    int number15;
    char text8[1028];
    int number16;
    char text9[132];
    int number17;
    char text10[72];
} ZS_ConfInfo;
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, text2) == 257, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, number1) == 516, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, creator) == 520, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, number2) == 652, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, text3) == 656, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, text4) == 785, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, number3) == 916, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, memberCount) == 920, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, number4) == 924, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, startTime) == 928, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, number5) == 996, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, text5) == 1000, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, createTime) == 2024, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, updateTime) == 2089, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, text6) == 2154, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, number6) == 2220, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, number7) == 2224, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, number8) == 2228, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, number9) == 2232, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, number10) == 2236, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, number11) == 2240, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, text7) == 2244, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, number12) == 2376, "conference record layout");
#if ZS_PTR32
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, members) == 2380, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, number13) == 2384, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, reserveStartTime) == 2388, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, number14) == 2456, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, confTopic) == 2460, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, number15) == 3488, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, text8) == 3492, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, number16) == 4520, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, text9) == 4524, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, number17) == 4656, "conference record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInfo, text10) == 4660, "conference record layout");
ZS_STATIC_ASSERT(sizeof(ZS_ConfInfo) == 4732, "conference record stride");
#endif

/* A member whose invitation or removal failed (ConferenceInviteMember, ConferenceKickoutMember). */
typedef struct ZS_ConfFailedMember
{
    char text1[260];
    int number1;
    char text2[36];
} ZS_ConfFailedMember;
ZS_STATIC_ASSERT(offsetof(ZS_ConfFailedMember, number1) == 260, "failed-member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfFailedMember, text2) == 264, "failed-member record layout");
ZS_STATIC_ASSERT(sizeof(ZS_ConfFailedMember) == 300, "failed-member record stride");

/* One recording of a conference (GetConferenceRecordList). */
typedef struct ZS_ConfRecordFile
{
    char text1[65];
    char text2[259];
    int number1;
    char text3[65];
    char text4[67];
} ZS_ConfRecordFile;
ZS_STATIC_ASSERT(offsetof(ZS_ConfRecordFile, text2) == 65, "record-file record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfRecordFile, number1) == 324, "record-file record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfRecordFile, text3) == 328, "record-file record layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfRecordFile, text4) == 393, "record-file record layout");
ZS_STATIC_ASSERT(sizeof(ZS_ConfRecordFile) == 460, "record-file record stride");

/* A member named in a conference notification. */
typedef struct ZS_ConfNtyMember
{
    char text1[260];
    int number1;
    int number2;
    char text2[257];
    char text3[1027];
    int number3;
    char text4[108];
    int deviceType;
} ZS_ConfNtyMember;
ZS_STATIC_ASSERT(offsetof(ZS_ConfNtyMember, number1) == 260, "notification member layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNtyMember, number2) == 264, "notification member layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNtyMember, text2) == 268, "notification member layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNtyMember, text3) == 525, "notification member layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNtyMember, number3) == 1552, "notification member layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNtyMember, text4) == 1556, "notification member layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNtyMember, deviceType) == 1664, "notification member layout");
ZS_STATIC_ASSERT(sizeof(ZS_ConfNtyMember) == 1668, "notification member stride");

/* A conference event (onReceivedConferenceNotification). It points to the members removed
 * and the members concerned; the offsets from `kickMembers` on hold with 4-byte pointers. */
typedef struct ZS_ConfNotification
{
    char reserved0[68]; /* the engine's own */
    int number1;
    char text1[129];
    char text2[257];
    char confTopic[257];
    char text3[65];
    char text4[65];
    char text5[35];
    int number2;
    int number3;
    int number4;
    int number5;
    int number6;
    char text6[260];
    int number7;
    char text7[65];
    char text8[67];
    int number8;
    char text9[260];
    int number9;
    char text10[65];
    char text11[513];
    char text12[130];
    int number10;
    int kickMemberCount;
    const ConfTargetEntry *kickMembers;
    int memberCount;
    const ZS_ConfNtyMember *members;
    int number11;
    char text13[34];
    char text14[1024];
    char text15[1026];
    int number12;
    int number13;
    int number14;
    char reserved4392[1028]; /* the engine's own */
    int deviceType;
} ZS_ConfNotification;
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, number1) == 68, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, text1) == 72, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, text2) == 201, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, confTopic) == 458, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, text3) == 715, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, text4) == 780, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, text5) == 845, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, number2) == 880, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, number6) == 896, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, text6) == 900, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, number7) == 1160, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, text7) == 1164, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, text8) == 1229, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, number8) == 1296, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, text9) == 1300, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, number9) == 1560, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, text10) == 1564, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, text11) == 1629, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, text12) == 2142, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, number10) == 2272, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, kickMemberCount) == 2276, "notification layout");
#if ZS_PTR32
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, kickMembers) == 2280, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, memberCount) == 2284, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, members) == 2288, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, number11) == 2292, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, text13) == 2296, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, text14) == 2330, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, text15) == 3354, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, number12) == 4380, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, number13) == 4384, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, number14) == 4388, "notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfNotification, deviceType) == 5420, "notification layout");
ZS_STATIC_ASSERT(sizeof(ZS_ConfNotification) == 5424, "notification size");
#endif

/* An invitation to a conference. */
typedef struct ZS_ConfInviteNotification
{
    char text1[516];
    int number1;
    char text2[34];
    char text3[65];
    char text5[169];
    char text6[68];
    int number2;
    char reserved860[212]; /* the engine's own */
    char text7[260];
} ZS_ConfInviteNotification;
ZS_STATIC_ASSERT(offsetof(ZS_ConfInviteNotification, number1) == 516, "invitation layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInviteNotification, text2) == 520, "invitation layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInviteNotification, text3) == 554, "invitation layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInviteNotification, text5) == 619, "invitation layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInviteNotification, text6) == 788, "invitation layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInviteNotification, number2) == 856, "invitation layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfInviteNotification, text7) == 1072, "invitation layout");
ZS_STATIC_ASSERT(sizeof(ZS_ConfInviteNotification) == 1332, "invitation size");

/* A scheduled conference made, changed or cancelled. */
typedef struct ZS_ConfAppointmentNotification
{
    int number1;
    char text1[34];
    char text2[65];
    char text3[34];
    char text4[34];
    char text5[65];
    int number2;
    int number3;
    char text6[68];
} ZS_ConfAppointmentNotification;
ZS_STATIC_ASSERT(offsetof(ZS_ConfAppointmentNotification, text1) == 4, "appointment layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfAppointmentNotification, text2) == 38, "appointment layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfAppointmentNotification, text3) == 103, "appointment layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfAppointmentNotification, text4) == 137, "appointment layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfAppointmentNotification, text5) == 171, "appointment layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfAppointmentNotification, number2) == 236, "appointment layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfAppointmentNotification, number3) == 240, "appointment layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfAppointmentNotification, text6) == 244, "appointment layout");
ZS_STATIC_ASSERT(sizeof(ZS_ConfAppointmentNotification) == 312, "appointment size");

/* A reminder before a conference starts, or before it ends (same shape). */
typedef struct ZS_ConfReminderNotification
{
    int number1;
    char text1[34];
    char text2[66];
    int number2;
} ZS_ConfReminderNotification;
ZS_STATIC_ASSERT(offsetof(ZS_ConfReminderNotification, text1) == 4, "reminder layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfReminderNotification, text2) == 38, "reminder layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfReminderNotification, number2) == 104, "reminder layout");
ZS_STATIC_ASSERT(sizeof(ZS_ConfReminderNotification) == 108, "reminder size");

/* A conference ended. */
typedef struct ZS_ConfEndNotification
{
    int number1;
    char text1[34];
    char text2[66];
} ZS_ConfEndNotification;
ZS_STATIC_ASSERT(offsetof(ZS_ConfEndNotification, text1) == 4, "end notification layout");
ZS_STATIC_ASSERT(offsetof(ZS_ConfEndNotification, text2) == 38, "end notification layout");
ZS_STATIC_ASSERT(sizeof(ZS_ConfEndNotification) == 104, "end notification size");

/* The conference application setting (ConferenceGetAppSetting). */
typedef struct ZS_ConfAppSetting
{
    char reserved0[2660]; /* the engine's own */
    int value;
} ZS_ConfAppSetting;
ZS_STATIC_ASSERT(offsetof(ZS_ConfAppSetting, value) == 2660, "application setting layout");
ZS_STATIC_ASSERT(sizeof(ZS_ConfAppSetting) == 2664, "application setting size");

/* Conference events. 57 entries; the unnamed ones are never called. An answer with a record
 * list passes a non-null array when it succeeds, also for an empty list; a null conference
 * list reports a query that failed. */
struct ZS_ConfCallBack
{
    void(ZS_CALL *onReceivedConferenceNotification)(const ZS_ConfNotification *nty,
                                                    const char *jsonString);
    ZS_Callback reserved1;
    void(ZS_CALL *onCreateConference)(unsigned int matchKey, int reason, const char *confId,
                                      const char *jsonString);
    void(ZS_CALL *onDeleteConference)(unsigned int matchKey, int reason, const char *jsonString);
    void(ZS_CALL *onUpdateConference)(unsigned int matchKey, int reason, const char *jsonString);
    ZS_Callback reserved5;
    void(ZS_CALL *onGetConferenceInfo)(unsigned int matchKey, int reason, const ZS_ConfInfo *info,
                                       const char *jsonString);
    void(ZS_CALL *onGetConferenceInfoList)(unsigned int matchKey, int reason, int count,
                                           const ZS_ConfInfo *infos, const char *jsonString);
    void(ZS_CALL *onGetHistoryConferenceInfoList)(unsigned int matchKey, int reason, int count,
                                                  const ZS_ConfInfo *infos, const char *jsonString);
    void(ZS_CALL *onLockConference)(unsigned int matchKey, const char *confId, int reason,
                                    const char *jsonString);
    void(ZS_CALL *onMemberJoinConference)(unsigned int matchKey, int reason,
                                          const ZS_ConfInfo *info, const char *jsonString);
    void(ZS_CALL *onMemberQuitConference)(unsigned int matchKey, int reason,
                                          const char *jsonString);
    void(ZS_CALL *onUpdateConferenceMember)(unsigned int matchKey, int reason,
                                            const char *jsonString);
    void(ZS_CALL *onGetConferenceMemberInfo)(unsigned int matchKey, int reason, const char *confId,
                                             const ZS_ConfMemberInfo *info, const char *jsonString);
    void(ZS_CALL *onGetConferenceMemberInfoList)(unsigned int matchKey, int reason,
                                                 const char *confId, int count,
                                                 const ZS_ConfMemberInfo *members,
                                                 const char *jsonString);
    void(ZS_CALL *onConferenceInviteMember)(unsigned int matchKey, int reason, const char *confId,
                                            int count, const ZS_ConfFailedMember *failed,
                                            const char *jsonString);
    ZS_Callback reserved16;
    void(ZS_CALL *onConferenceMemberRejectInvitation)(unsigned int matchKey, const char *confId,
                                                      int reason, const char *jsonString);
    void(ZS_CALL *onConferenceKickoutMember)(unsigned int matchKey, int reason, const char *confId,
                                             int count, const ZS_ConfFailedMember *failed,
                                             const char *jsonString);
    void(ZS_CALL *onSetConferenceMemberRole)(unsigned int matchKey, const char *confId, int reason,
                                             const char *jsonString);
    void(ZS_CALL *onGetHistoryConferenceMemberInfoList)(unsigned int matchKey, const char *confId,
                                                        int reason, int count,
                                                        const ZS_ConfMemberInfo *members,
                                                        const char *jsonString);
    void(ZS_CALL *onConferenceSendCmd)(unsigned int matchKey, const char *confId, int reason,
                                       const char *jsonString);
    void(ZS_CALL *onConferenceMediaControl)(unsigned int matchKey, int reason,
                                            const char *jsonString);
    void(ZS_CALL *onConferenceRecord)(unsigned int matchKey, int reason, const char *jsonString);
    void(ZS_CALL *onGetConferenceRecordList)(unsigned int matchKey, const char *confId, int reason,
                                             int count, const ZS_ConfRecordFile *files);
    /* A sound the conference plays; the key is not a request's. */
    void(ZS_CALL *onConferenceAudioPlay)(unsigned int matchKey, int reason, const char *jsonString);
    void(ZS_CALL *onConferenceStartPublishVideo)(unsigned int matchKey, int reason,
                                                 const char *jsonString);
    void(ZS_CALL *onConferenceStopPublishVideo)(unsigned int matchKey, int reason,
                                                const char *jsonString);
    ZS_Callback reserved28;
    void(ZS_CALL *onConferenceStartScreenSharing)(unsigned int matchKey, int reason,
                                                  const char *jsonString);
    void(ZS_CALL *onConferenceStopScreenSharing)(unsigned int matchKey, int reason,
                                                 const char *jsonString);
    void(ZS_CALL *onConferenceStartPublishVoice)(unsigned int matchKey, int reason,
                                                 const char *jsonString);
    void(ZS_CALL *onConferenceStopPublishVoice)(unsigned int matchKey, int reason,
                                                const char *jsonString);
    void(ZS_CALL *onConferenceRequestMemberVideo)(int reason, const char *confId,
                                                  const char *member, int mediaSourceType,
                                                  const char *jsonString);
    void(ZS_CALL *onConferenceCancelMemberVideo)(int reason, const char *confId, const char *member,
                                                 int mediaSourceType, const char *jsonString);
    ZS_Callback reserved35[2]; /* entries 35 and 36 */
    void(ZS_CALL *onReceivedConferenceInviteNotification)(const ZS_ConfInviteNotification *nty,
                                                          const char *jsonString);
    void(ZS_CALL *onReceivedConferenceAppointmentNotification)(
        const ZS_ConfAppointmentNotification *nty, const char *jsonString);
    void(ZS_CALL *onReceivedConferenceBeforeStartNotification)(
        const ZS_ConfReminderNotification *nty, const char *jsonString);
    void(ZS_CALL *onReceivedConferenceBeforeEndNotification)(const ZS_ConfReminderNotification *nty,
                                                             const char *jsonString);
    void(ZS_CALL *onReceivedConferenceEndNotification)(const ZS_ConfEndNotification *nty,
                                                       const char *jsonString);
    /* The key is not a request's. */
    void(ZS_CALL *onConferenceGetAppSetting)(unsigned int matchKey, int reason,
                                             const ZS_ConfAppSetting *setting);
    ZS_Callback reserved43[14]; /* entries 43 to 56 */
};
#define ZS_CONF_ENTRY(name, index)                                                                 \
    ZS_STATIC_ASSERT(offsetof(ZS_ConfCallBack, name) == (index) * sizeof(ZS_Callback),             \
                     "conference table: entry " #index)
ZS_CONF_ENTRY(onReceivedConferenceNotification, 0);
ZS_CONF_ENTRY(reserved1, 1);
ZS_CONF_ENTRY(onCreateConference, 2);
ZS_CONF_ENTRY(onDeleteConference, 3);
ZS_CONF_ENTRY(onUpdateConference, 4);
ZS_CONF_ENTRY(reserved5, 5);
ZS_CONF_ENTRY(onGetConferenceInfo, 6);
ZS_CONF_ENTRY(onGetConferenceInfoList, 7);
ZS_CONF_ENTRY(onGetHistoryConferenceInfoList, 8);
ZS_CONF_ENTRY(onLockConference, 9);
ZS_CONF_ENTRY(onMemberJoinConference, 10);
ZS_CONF_ENTRY(onMemberQuitConference, 11);
ZS_CONF_ENTRY(onUpdateConferenceMember, 12);
ZS_CONF_ENTRY(onGetConferenceMemberInfo, 13);
ZS_CONF_ENTRY(onGetConferenceMemberInfoList, 14);
ZS_CONF_ENTRY(onConferenceInviteMember, 15);
ZS_CONF_ENTRY(reserved16, 16);
ZS_CONF_ENTRY(onConferenceMemberRejectInvitation, 17);
ZS_CONF_ENTRY(onConferenceKickoutMember, 18);
ZS_CONF_ENTRY(onSetConferenceMemberRole, 19);
ZS_CONF_ENTRY(onGetHistoryConferenceMemberInfoList, 20);
ZS_CONF_ENTRY(onConferenceSendCmd, 21);
ZS_CONF_ENTRY(onConferenceMediaControl, 22);
ZS_CONF_ENTRY(onConferenceRecord, 23);
ZS_CONF_ENTRY(onGetConferenceRecordList, 24);
ZS_CONF_ENTRY(onConferenceAudioPlay, 25);
ZS_CONF_ENTRY(onConferenceStartPublishVideo, 26);
ZS_CONF_ENTRY(onConferenceStopPublishVideo, 27);
ZS_CONF_ENTRY(reserved28, 28);
ZS_CONF_ENTRY(onConferenceStartScreenSharing, 29);
ZS_CONF_ENTRY(onConferenceStopScreenSharing, 30);
ZS_CONF_ENTRY(onConferenceStartPublishVoice, 31);
ZS_CONF_ENTRY(onConferenceStopPublishVoice, 32);
ZS_CONF_ENTRY(onConferenceRequestMemberVideo, 33);
ZS_CONF_ENTRY(onConferenceCancelMemberVideo, 34);
ZS_CONF_ENTRY(reserved35, 35);
ZS_CONF_ENTRY(onReceivedConferenceInviteNotification, 37);
ZS_CONF_ENTRY(onReceivedConferenceAppointmentNotification, 38);
ZS_CONF_ENTRY(onReceivedConferenceBeforeStartNotification, 39);
ZS_CONF_ENTRY(onReceivedConferenceBeforeEndNotification, 40);
ZS_CONF_ENTRY(onReceivedConferenceEndNotification, 41);
ZS_CONF_ENTRY(onConferenceGetAppSetting, 42);
ZS_CONF_ENTRY(reserved43, 43);
#undef ZS_CONF_ENTRY
ZS_STATIC_ASSERT(sizeof(ZS_ConfCallBack) == 57 * sizeof(ZS_Callback), "conference table: 57");

/* Conference requests. Each fills matchKey and is answered by the entry of the same name
 * (LockConference by onLockConference, GetConferenceRecordList by onGetConferenceRecordList,
 * ConferenceGetAppSetting by onConferenceGetAppSetting); the member-video functions take no
 * key and are answered by onConferenceRequestMemberVideo and onConferenceCancelMemberVideo
 * (ConferenceResetMemberView has no answer). confName and confTopic are in the local 8-bit
 * code page, every other text UTF-8. The integers the agents pass as constants (the -1, 0 and
 * 1 noted below) are the engine's own. */
ZSSDK_API int
CreateConference(unsigned int *matchKey, const char *ownerPassword, const char *password,
                 const char *confName, int confType, int maxMemberCount, int voiceMode,
                 const char *appData, int autoClose, const char *moderator, const char *startTime,
                 const ConfMemberEntry *members, int count, int duration, int sendInvitation,
                 int extraInt1, int remindBeforeStart, int remindBeforeEnd, int mediaType,
                 int extraInt2, const char *confTopic, int joinState, const char *extraText,
                 int reserved1 /* -1 */, int reserved2 /* 0 */, const char *jsonString);
ZSSDK_API int DeleteConference(unsigned int *matchKey, const char *confId, const char *appData,
                               const char *jsonString);
ZSSDK_API int UpdateConference(unsigned int *matchKey, const char *confId,
                               const char *ownerPassword, const char *password,
                               const char *confName, int confType, int maxMember, int voiceMode,
                               const char *appData, int autoClose, const char *moderator,
                               const ConfMemberEntry *members, int count, const char *startTime,
                               int duration, int sendInvitation, int remindBeforeStart,
                               int remindBeforeEnd, int extraInt1, int extraInt2,
                               const char *confTopic, int joinState, int reserved /* -1 */,
                               const char *jsonString);
ZSSDK_API int GetConferenceInfo(unsigned int *matchKey, const char *confId, const char *jsonString);
ZSSDK_API int GetConferenceInfoList(unsigned int *matchKey, const char *createTimeBegin,
                                    const char *createTimeEnd, const char *memberId,
                                    int memberIdType, int confType, int searchById, int pageNo,
                                    int pageSize, int extraInt1, int reserved1 /* -1 */,
                                    int reserved2 /* 1 */, const char *extraText,
                                    const char *jsonString);
ZSSDK_API int GetHistoryConferenceInfoList(unsigned int *matchKey, const char *createTimeBegin,
                                           const char *createTimeEnd, int confType,
                                           int searchByMember, int pageNo, int pageSize,
                                           const char *extraText, int extraInt1,
                                           int reserved1 /* -1 */, int reserved2 /* 1 */,
                                           const char *extraText2, const char *jsonString);
ZSSDK_API int LockConference(unsigned int *matchKey, const char *confId, bool bLock,
                             const char *jsonString);
ZSSDK_API int MemberJoinConference(unsigned int *matchKey, const char *confId, const char *password,
                                   const char *userName, const char *inviter, int inviterIdType,
                                   const char *appData, int mediaType, int roleId,
                                   const char *phoneNumber, int joinState, const char *terminalUA,
                                   const char *jsonString);
ZSSDK_API int MemberQuitConference(unsigned int *matchKey, const char *confId, const char *appData,
                                   const char *jsonString);
ZSSDK_API int UpdateConferenceMember(unsigned int *matchKey, const char *confId,
                                     const char *memberId, const char *userName, int idType,
                                     const char *appData, const char *jsonString, int extraInt);
ZSSDK_API int GetConferenceMemberInfo(unsigned int *matchKey, const char *confId,
                                      const char *memberId, int idType, const char *jsonString);
ZSSDK_API int GetConferenceMemberInfoList(unsigned int *matchKey, const char *confId, int pageNo,
                                          int pageSize, const char *jsonString);
ZSSDK_API int GetHistoryConferenceMemberInfoList(unsigned int *matchKey, const char *confId,
                                                 const char *memberId, int memberIdType, int pageNo,
                                                 int pageSize, int extraInt,
                                                 const char *jsonString);
ZSSDK_API int ConferenceInviteMember(unsigned int *matchKey, const char *confId,
                                     const ConfInviteEntry *members, int count, int callImmediately,
                                     const char *appData, const char *jsonString);
ZSSDK_API int ConferenceMemberRejectInvitation(unsigned int *matchKey, const char *confId,
                                               const char *reserved /* "" */, const char *extraText,
                                               const char *jsonString);
ZSSDK_API int ConferenceKickoutMember(unsigned int *matchKey, const char *confId,
                                      const ConfTargetEntry *members, int count,
                                      const char *appData, const char *jsonString);
ZSSDK_API int SetConferenceMemberRole(unsigned int *matchKey, const char *confId,
                                      const char *memberId, int memberIdType, int roleId,
                                      const char *jsonString);
ZSSDK_API int ConferenceSendCmd(unsigned int *matchKey, const char *confId, int bAllMember,
                                const ConfTargetEntry *members, int count, const char *cmdData,
                                const char *jsonString);
ZSSDK_API int ConferenceMediaControl(unsigned int *matchKey, const char *confId, int unchangable,
                                     int bAllMember, const ConfTargetEntry *members, int count,
                                     int action, const char *appData, const char *jsonString);
ZSSDK_API int ConferenceRecord(unsigned int *matchKey, const char *confId,
                               const _ZSConferenceRecordMemberInfo *members, int count, int action,
                               const char *jsonString);
ZSSDK_API int GetConferenceRecordList(unsigned int *matchKey, const char *confId, int historyConf,
                                      int pageNo, int pageSize);
ZSSDK_API int ConferenceStartPublishVideo(unsigned int *matchKey, const char *confId,
                                          const char *jsonString);
ZSSDK_API int ConferenceStopPublishVideo(unsigned int *matchKey, const char *confId,
                                         const char *jsonString);
ZSSDK_API int ConferenceStartScreenSharing(unsigned int *matchKey, const char *confId,
                                           const char *jsonString);
ZSSDK_API int ConferenceStopScreenSharing(unsigned int *matchKey, const char *confId,
                                          const char *jsonString);
ZSSDK_API int ConferenceStartPublishVoice(unsigned int *matchKey, const char *confId,
                                          int reserved /* 0 */, const char *jsonString);
ZSSDK_API int ConferenceStopPublishVoice(unsigned int *matchKey, const char *confId,
                                         int reserved /* 0 */, const char *jsonString);
/* Windows are native handles, passed through. */
ZSSDK_API int ConferenceRequestMemberVideo(const char *confId, const char *confPasswd,
                                           const char *member, void *videoWindow,
                                           int mediaSourceType, int width, int height,
                                           const char *jsonString, int extraInt);
ZSSDK_API int ConferenceCancelMemberVideo(const char *confId, const char *confPasswd,
                                          const char *member, int mediaSourceType,
                                          const char *jsonString, int extraInt);
ZSSDK_API int ConferenceResetMemberView(const char *confId, const char *member, void *newWindow,
                                        int mediaSourceType, int width, int height,
                                        const char *jsonString, int extraInt);
ZSSDK_API int ConferenceGetAppSetting(unsigned int *matchKey, const char *reserved /* "" */);

/* ---- end of conferences ---- */

/* ---- Meetings ---- */

/* Multimedia (voice and video) meetings, interphone meetings and the member video windows of a
 * video meeting. Flags passed to the meeting functions are int, 0 or 1; flags the engine writes
 * are ZS_Bool8. Character fields hold NUL-terminated UTF-8 of at most width-1 bytes; a reader
 * never reads a field past its width. Member lists are arrays of `count` NUL-terminated texts. */

/* An invitation to a meeting (onMeetingInviteIncoming), and the same record handed back to
 * accept it (AcceptMeeting). */
typedef struct ZS_MeetingInvitation
{
    int meetingType;
    char conferenceId[129];
    char callid[65];
    char caller[65];
    char nickname[129];
    char display[21];
    char sdkUserData[4097];
} ZS_MeetingInvitation;
ZS_STATIC_ASSERT(offsetof(ZS_MeetingInvitation, conferenceId) == 4, "invitation record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingInvitation, callid) == 133, "invitation record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingInvitation, caller) == 198, "invitation record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingInvitation, nickname) == 263, "invitation record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingInvitation, display) == 392, "invitation record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingInvitation, sdkUserData) == 413, "invitation record layout");
ZS_STATIC_ASSERT(sizeof(ZS_MeetingInvitation) == 4512, "invitation record size");

/* A meeting (onCreateMultimediaMeeting, and the elements of onQueryMultiMediaMeetings). */
typedef struct ZS_MeetingInfo
{
    int number1;
    int number2;
    int number3;
    int number4;
    char text1[129];
    char text2[129];
    char text3[129];
    char text4[129];
    char reserved532[260]; /* the engine's own */
} ZS_MeetingInfo;
ZS_STATIC_ASSERT(offsetof(ZS_MeetingInfo, number4) == 12, "meeting record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingInfo, text1) == 16, "meeting record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingInfo, text2) == 145, "meeting record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingInfo, text3) == 274, "meeting record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingInfo, text4) == 403, "meeting record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingInfo, reserved532) == 532, "meeting record layout");
ZS_STATIC_ASSERT(sizeof(ZS_MeetingInfo) == 792, "meeting record stride");

/* A member of a meeting (the elements of onQueryMeetingMembers). */
typedef struct ZS_MeetingMemberInfo
{
    int number1;
    int number2;
    int number3;
    int number4;
    char text1[9];
    char text2[129];
    char text3[65];
    char text4[1025];
    ZS_Bool8 flag1;
    ZS_Bool8 flag2;
    ZS_Bool8 flag3;
    char reserved1247[1093]; /* the engine's own */
} ZS_MeetingMemberInfo;
ZS_STATIC_ASSERT(offsetof(ZS_MeetingMemberInfo, number4) == 12, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingMemberInfo, text1) == 16, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingMemberInfo, text2) == 25, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingMemberInfo, text3) == 154, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingMemberInfo, text4) == 219, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingMemberInfo, flag1) == 1244, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingMemberInfo, flag2) == 1245, "member record layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingMemberInfo, flag3) == 1246, "member record layout");
ZS_STATIC_ASSERT(sizeof(ZS_MeetingMemberInfo) == 2340, "member record stride");

/* A member removed from a meeting (onDeleteMemberMultiMediaMeeting). */
typedef struct ZS_MeetingDeleteMemberInfo
{
    char conferenceId[129];
    char member[129];
    int meetingType;
    ZS_Bool8 isVoIP;
} ZS_MeetingDeleteMemberInfo;
ZS_STATIC_ASSERT(offsetof(ZS_MeetingDeleteMemberInfo, member) == 129, "delete-member layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingDeleteMemberInfo, meetingType) == 260, "delete-member layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingDeleteMemberInfo, isVoIP) == 264, "delete-member layout");
ZS_STATIC_ASSERT(sizeof(ZS_MeetingDeleteMemberInfo) == 268, "delete-member size");

/* A member's speak and listen setting (onSetMeetingSpeakListen). */
typedef struct ZS_MeetingSpeakListenInfo
{
    int meetingType;
    char meetingId[129];
    char member[129];
    int option;
    ZS_Bool8 isVoIP;
} ZS_MeetingSpeakListenInfo;
ZS_STATIC_ASSERT(offsetof(ZS_MeetingSpeakListenInfo, meetingId) == 4, "speak/listen layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingSpeakListenInfo, member) == 133, "speak/listen layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingSpeakListenInfo, option) == 264, "speak/listen layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingSpeakListenInfo, isVoIP) == 268, "speak/listen layout");
ZS_STATIC_ASSERT(sizeof(ZS_MeetingSpeakListenInfo) == 272, "speak/listen size");

/* The answer to an invitation (onInviteJoinMultiMediaMeeting). It points to `memberCount`
 * texts and to a result text; the offsets from `members` on hold with 4-byte pointers. */
typedef struct ZS_MeetingInviteResult
{
    char conferenceId[129];
    const char *const *members;
    const char *resultText;
    int memberCount;
    ZS_Bool8 flag1;
    ZS_Bool8 flag2;
} ZS_MeetingInviteResult;
#if ZS_PTR32
ZS_STATIC_ASSERT(offsetof(ZS_MeetingInviteResult, members) == 132, "invite-result layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingInviteResult, resultText) == 136, "invite-result layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingInviteResult, memberCount) == 140, "invite-result layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingInviteResult, flag1) == 144, "invite-result layout");
ZS_STATIC_ASSERT(offsetof(ZS_MeetingInviteResult, flag2) == 145, "invite-result layout");
ZS_STATIC_ASSERT(sizeof(ZS_MeetingInviteResult) == 148, "invite-result size");
#endif

/* A message of an interphone meeting (onReceiveInterphoneMeetingMessage). */
typedef struct ZS_InterphoneMsg
{
    int number1;
    int number2;
    char text1[65];
    char text2[65];
    char text3[129];
    char text4[21];
    char text5[65];
    char text6[1025];
    char text7[1025];
} ZS_InterphoneMsg;
ZS_STATIC_ASSERT(offsetof(ZS_InterphoneMsg, text1) == 8, "interphone message layout");
ZS_STATIC_ASSERT(offsetof(ZS_InterphoneMsg, text2) == 73, "interphone message layout");
ZS_STATIC_ASSERT(offsetof(ZS_InterphoneMsg, text3) == 138, "interphone message layout");
ZS_STATIC_ASSERT(offsetof(ZS_InterphoneMsg, text4) == 267, "interphone message layout");
ZS_STATIC_ASSERT(offsetof(ZS_InterphoneMsg, text5) == 288, "interphone message layout");
ZS_STATIC_ASSERT(offsetof(ZS_InterphoneMsg, text6) == 353, "interphone message layout");
ZS_STATIC_ASSERT(offsetof(ZS_InterphoneMsg, text7) == 1378, "interphone message layout");
ZS_STATIC_ASSERT(sizeof(ZS_InterphoneMsg) == 2404, "interphone message size");

/* A message of a voice meeting (onReceiveVoiceMeetingMessage). */
typedef struct ZS_VoiceMeetingMsg
{
    int number1;
    int number2;
    char text1[65];
    char text2[65];
    char text3[65];
    char text4[9];
    char text5[65];
    char text6[1025];
    char text7[129];
    ZS_Bool8 flag1;
} ZS_VoiceMeetingMsg;
ZS_STATIC_ASSERT(offsetof(ZS_VoiceMeetingMsg, text1) == 8, "voice meeting message layout");
ZS_STATIC_ASSERT(offsetof(ZS_VoiceMeetingMsg, text2) == 73, "voice meeting message layout");
ZS_STATIC_ASSERT(offsetof(ZS_VoiceMeetingMsg, text3) == 138, "voice meeting message layout");
ZS_STATIC_ASSERT(offsetof(ZS_VoiceMeetingMsg, text4) == 203, "voice meeting message layout");
ZS_STATIC_ASSERT(offsetof(ZS_VoiceMeetingMsg, text5) == 212, "voice meeting message layout");
ZS_STATIC_ASSERT(offsetof(ZS_VoiceMeetingMsg, text6) == 277, "voice meeting message layout");
ZS_STATIC_ASSERT(offsetof(ZS_VoiceMeetingMsg, text7) == 1302, "voice meeting message layout");
ZS_STATIC_ASSERT(offsetof(ZS_VoiceMeetingMsg, flag1) == 1431, "voice meeting message layout");
ZS_STATIC_ASSERT(sizeof(ZS_VoiceMeetingMsg) == 1432, "voice meeting message size");

/* A message of a video meeting (onReceiveVideoMeetingMessage): the voice message's fields
 * 8 bytes further on, after two more numbers. */
typedef struct ZS_VideoMeetingMsg
{
    int number1;
    int number2;
    int number3;
    int number4;
    char text1[65];
    char text2[65];
    char text3[65];
    char text4[9];
    char text5[65];
    char text6[1025];
    char text7[129];
    ZS_Bool8 flag1;
} ZS_VideoMeetingMsg;
ZS_STATIC_ASSERT(offsetof(ZS_VideoMeetingMsg, number4) == 12, "video meeting message layout");
ZS_STATIC_ASSERT(offsetof(ZS_VideoMeetingMsg, text1) == 16, "video meeting message layout");
ZS_STATIC_ASSERT(offsetof(ZS_VideoMeetingMsg, text2) == 81, "video meeting message layout");
ZS_STATIC_ASSERT(offsetof(ZS_VideoMeetingMsg, text3) == 146, "video meeting message layout");
ZS_STATIC_ASSERT(offsetof(ZS_VideoMeetingMsg, text4) == 211, "video meeting message layout");
ZS_STATIC_ASSERT(offsetof(ZS_VideoMeetingMsg, text5) == 220, "video meeting message layout");
ZS_STATIC_ASSERT(offsetof(ZS_VideoMeetingMsg, text6) == 285, "video meeting message layout");
ZS_STATIC_ASSERT(offsetof(ZS_VideoMeetingMsg, text7) == 1310, "video meeting message layout");
ZS_STATIC_ASSERT(offsetof(ZS_VideoMeetingMsg, flag1) == 1439, "video meeting message layout");
ZS_STATIC_ASSERT(sizeof(ZS_VideoMeetingMsg) == 1440, "video meeting message size");

/* Meeting events. 24 entries; entries 20 to 23 are never called. */
struct ZS_MeetingCallBack
{
    void(ZS_CALL *onCreateInterphoneMeeting)(unsigned int matchKey, int reason,
                                             const char *interphoneId);
    /* controller: who holds the microphone after the request */
    void(ZS_CALL *onControlInterphoneMic)(unsigned int matchKey, int reason, const char *controller,
                                          const char *interphoneId, ZS_Bool8 requestIsControl);
    void(ZS_CALL *onReceiveInterphoneMeetingMessage)(const ZS_InterphoneMsg *msg);
    void(ZS_CALL *onMeetingInviteIncoming)(const ZS_MeetingInvitation *invitation);
    void(ZS_CALL *onReceiveVoiceMeetingMessage)(const ZS_VoiceMeetingMsg *msg);
    void(ZS_CALL *onReceiveVideoMeetingMessage)(const ZS_VideoMeetingMsg *msg);
    void(ZS_CALL *onCreateMultimediaMeeting)(unsigned int matchKey, int reason,
                                             const ZS_MeetingInfo *meeting);
    void(ZS_CALL *onJoinMeeting)(int reason, const char *conferenceId);
    void(ZS_CALL *onQueryMeetingMembers)(unsigned int matchKey, int reason,
                                         const char *conferenceId, int count,
                                         const ZS_MeetingMemberInfo *members);
    void(ZS_CALL *onDismissMultiMediaMeeting)(unsigned int matchKey, int reason,
                                              const char *conferenceId);
    void(ZS_CALL *onQueryMultiMediaMeetings)(unsigned int matchKey, int reason, int count,
                                             const ZS_MeetingInfo *meetings);
    void(ZS_CALL *onDeleteMemberMultiMediaMeeting)(unsigned int matchKey, int reason,
                                                   const ZS_MeetingDeleteMemberInfo *info);
    void(ZS_CALL *onInviteJoinMultiMediaMeeting)(unsigned int matchKey, int reason,
                                                 const ZS_MeetingInviteResult *result);
    void(ZS_CALL *onPublishVideo)(unsigned int matchKey, int reason, const char *conferenceId);
    void(ZS_CALL *onUnpublishVideo)(unsigned int matchKey, int reason, const char *conferenceId);
    void(ZS_CALL *onRequestConferenceMemberVideo)(int reason, const char *conferenceId,
                                                  const char *member, int type);
    void(ZS_CALL *onCancelConferenceMemberVideo)(int reason, const char *conferenceId,
                                                 const char *member, int type);
    void(ZS_CALL *onExitMeeting)(const char *conferenceId);
    void(ZS_CALL *onExitInterphoneMeeting)(const char *interphoneId);
    void(ZS_CALL *onSetMeetingSpeakListen)(unsigned int matchKey, int reason,
                                           const ZS_MeetingSpeakListenInfo *info);
    ZS_Callback reserved20[4]; /* entries 20 to 23 */
};
#define ZS_MEETING_ENTRY(name, index)                                                              \
    ZS_STATIC_ASSERT(offsetof(ZS_MeetingCallBack, name) == (index) * sizeof(ZS_Callback),          \
                     "meeting table: entry " #index)
ZS_MEETING_ENTRY(onCreateInterphoneMeeting, 0);
ZS_MEETING_ENTRY(onControlInterphoneMic, 1);
ZS_MEETING_ENTRY(onReceiveInterphoneMeetingMessage, 2);
ZS_MEETING_ENTRY(onMeetingInviteIncoming, 3);
ZS_MEETING_ENTRY(onReceiveVoiceMeetingMessage, 4);
ZS_MEETING_ENTRY(onReceiveVideoMeetingMessage, 5);
ZS_MEETING_ENTRY(onCreateMultimediaMeeting, 6);
ZS_MEETING_ENTRY(onJoinMeeting, 7);
ZS_MEETING_ENTRY(onQueryMeetingMembers, 8);
ZS_MEETING_ENTRY(onDismissMultiMediaMeeting, 9);
ZS_MEETING_ENTRY(onQueryMultiMediaMeetings, 10);
ZS_MEETING_ENTRY(onDeleteMemberMultiMediaMeeting, 11);
ZS_MEETING_ENTRY(onInviteJoinMultiMediaMeeting, 12);
ZS_MEETING_ENTRY(onPublishVideo, 13);
ZS_MEETING_ENTRY(onUnpublishVideo, 14);
ZS_MEETING_ENTRY(onRequestConferenceMemberVideo, 15);
ZS_MEETING_ENTRY(onCancelConferenceMemberVideo, 16);
ZS_MEETING_ENTRY(onExitMeeting, 17);
ZS_MEETING_ENTRY(onExitInterphoneMeeting, 18);
ZS_MEETING_ENTRY(onSetMeetingSpeakListen, 19);
ZS_MEETING_ENTRY(reserved20, 20);
#undef ZS_MEETING_ENTRY
ZS_STATIC_ASSERT(sizeof(ZS_MeetingCallBack) == 24 * sizeof(ZS_Callback), "meeting table: 24");

/* Member video windows of a video meeting: windows are native handles, passed through. No key;
 * answered by onRequestConferenceMemberVideo and onCancelConferenceMemberVideo
 * (ResetVideoConfWindow has no answer). */
ZSSDK_API int RequestConferenceMemberVideo(const char *conferenceId, const char *conferencePasswd,
                                           const char *member, void *videoWindow, int type);
ZSSDK_API int CancelMemberVideo(const char *conferenceId, const char *conferencePasswd,
                                const char *member, int type);
ZSSDK_API int ResetVideoConfWindow(const char *conferenceId, const char *member, void *newWindow,
                                   int type);

/* Multimedia meetings. Options set before a create or an invitation apply to the next one.
 * Answers: onCreateMultimediaMeeting, onJoinMeeting (also for AcceptMeeting), onExitMeeting,
 * onQueryMeetingMembers, onDismissMultiMediaMeeting, onQueryMultiMediaMeetings,
 * onInviteJoinMultiMediaMeeting, onDeleteMemberMultiMediaMeeting, onPublishVideo,
 * onUnpublishVideo, onSetMeetingSpeakListen. */
ZSSDK_API int SetMultiMediaMeetingBeforeCreate(int callbackmode, const char *serverUserData,
                                               const char *reservation);
ZSSDK_API int CreateMultimediaMeeting(unsigned int *matchKey, int meetingType,
                                      const char *meetingName, const char *password,
                                      const char *keywords, int voiceMode, int square,
                                      int bAutoJoin, int autoClose, int autoDelete);
ZSSDK_API int JoinMeeting(int meetingType, const char *conferenceId, const char *password);
ZSSDK_API int AcceptMeeting(const ZS_MeetingInvitation *invitation);
/* Leaves a multimedia meeting (onExitMeeting) or an interphone meeting
 * (onExitInterphoneMeeting). */
ZSSDK_API int ExitMeeting(const char *conferenceId);
ZSSDK_API int QueryMeetingMembers(unsigned int *matchKey, int meetingType,
                                  const char *conferenceId);
ZSSDK_API int DismissMultiMediaMeeting(unsigned int *matchKey, int meetingType,
                                       const char *conferenceId);
ZSSDK_API int QueryMultiMediaMeetings(unsigned int *matchKey, int meetingType,
                                      const char *keywords);
ZSSDK_API int setMultimediaMeetingBeforeInviteJoin(const char *serverUserData);
ZSSDK_API int InviteJoinMultiMediaMeeting(unsigned int *matchKey, const char *conferenceId,
                                          const char *const *members, int count, int blanding,
                                          int isSpeak, int isListen, const char *disNumber,
                                          const char *userdata);
ZSSDK_API int DeleteMemberMultiMediaMeeting(unsigned int *matchKey, int meetingType,
                                            const char *conferenceId, const char *member,
                                            int isVoIP);
ZSSDK_API int PublishVideo(unsigned int *matchKey, const char *conferenceId);
ZSSDK_API int UnpublishVideo(unsigned int *matchKey, const char *conferenceId);
ZSSDK_API int SetMeetingSpeakListen(unsigned int *matchKey, int meetingType, const char *meetingId,
                                    const char *member, int isVoIP, int option);

/* Interphone meetings: one member at a time holds the microphone. Answers:
 * onCreateInterphoneMeeting, onControlInterphoneMic; members' events come as
 * onReceiveInterphoneMeetingMessage. */
ZSSDK_API int CreateInterphoneMeeting(unsigned int *matchKey, const char *const *members,
                                      int count);
ZSSDK_API int CreateInterphoneMeetingBackground(unsigned int *matchKey, const char *const *members,
                                                int count, int voiceMode);
ZSSDK_API int ControlInterphoneMic(unsigned int *matchKey, int isControl, const char *interphoneId);

/* ---- end of meetings ---- */

#ifdef __cplusplus
}
#endif

#endif /* ZSSDK_H */
