/*
 * VidyoClient: the video-room client library as the agents use it.
 *
 * Contract between the agents and any library implementing this header:
 *  - VidyoClientInitialize and VidyoClientStart return 1 when they succeed; VidyoClientStop
 *    returns 1 when the client stopped. VidyoClientUninitialize returns once no thread of the
 *    client calls back any more.
 *  - Everything that happens in a call comes through the one event callback, on the client's
 *    own thread, never inside the function that caused it. The data pointer (which may be
 *    null) is valid during the callback only; `size` is the number of bytes behind it.
 *  - In-events (VidyoClientSendEvent) return 1 on success; requests (VidyoClientSendRequest)
 *    fill the caller's record of the given size and return 0 on success. Both may be sent from
 *    any thread, the event callback included.
 *  - Texts in records are NUL-terminated UTF-8 within their fields.
 *  - On Linux the window handle given to VidyoClientStart is a QWidget *; the client paints the
 *    participants' tiles into it within the video rectangle.
 */
#ifndef VIDYO_CLIENT_H
#define VIDYO_CLIENT_H

#if defined(_WIN32)
#define VIDYO_CALL __stdcall
#if defined(VIDYO_CLIENT_LIBRARY)
#define VIDYO_API __declspec(dllexport)
#else
#define VIDYO_API __declspec(dllimport)
#endif
#else
#define VIDYO_CALL
#define VIDYO_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#include <cstddef>
#include <cstdint>
#define VIDYO_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
extern "C" {
#else
#include <stddef.h>
#include <stdint.h>
#define VIDYO_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

typedef int VidyoBool;

/* ---- Codes ------------------------------------------------------------------------------------
 */
/* Events the client reports (out-events). */
enum VidyoClientOutEvent {
    VIDYO_CLIENT_OUT_EVENT_LOGIC_STARTED = 200,
    VIDYO_CLIENT_OUT_EVENT_SIGN_IN = 300,
    VIDYO_CLIENT_OUT_EVENT_SIGN_OUT = 301,
    VIDYO_CLIENT_OUT_EVENT_DEVICE_SELECTION_CHANGED = 602,
    VIDYO_CLIENT_OUT_EVENT_CONFERENCE_ACTIVE = 1200,
    VIDYO_CLIENT_OUT_EVENT_CONFERENCE_ENDED = 1201,
    VIDYO_CLIENT_OUT_EVENT_PARTICIPANTS_CHANGED = 1202,
    VIDYO_CLIENT_OUT_EVENT_CONFERENCE_CLEARED = 1203,
    VIDYO_CLIENT_OUT_EVENT_REMOTE_SOURCE_REMOVED = 1211,
    VIDYO_CLIENT_OUT_EVENT_PREVIEW = 1400,
    VIDYO_CLIENT_OUT_EVENT_MUTED_AUDIO_IN = 1500,
    VIDYO_CLIENT_OUT_EVENT_MUTED_AUDIO_OUT = 1501,
    VIDYO_CLIENT_OUT_EVENT_MUTED_VIDEO = 1502,
    VIDYO_CLIENT_OUT_EVENT_MUTED_SERVER_AUDIO_IN = 1503,
    VIDYO_CLIENT_OUT_EVENT_MUTED_SERVER_VIDEO = 1504,
    VIDYO_CLIENT_OUT_EVENT_WINDOW_SHARES_CHANGED = 1600,
    VIDYO_CLIENT_OUT_EVENT_SHARE_ENDED = 1601,
    VIDYO_CLIENT_OUT_EVENT_RESIZE = 1700,
    VIDYO_CLIENT_OUT_EVENT_PARTICIPANTS_LIMIT = 1800,
    VIDYO_CLIENT_OUT_EVENT_ECHO_DETECTED = 1900,
    VIDYO_CLIENT_OUT_EVENT_KEYDOWN = 2000,
    VIDYO_CLIENT_OUT_EVENT_KEYUP = 2001,
    VIDYO_CLIENT_OUT_EVENT_MOUSE_SCROLL = 2005,
    VIDYO_CLIENT_OUT_EVENT_FECC_LIST_UPDATED = 2100,
    VIDYO_CLIENT_OUT_EVENT_MEDIA_CONTROL = 2200,
    VIDYO_CLIENT_OUT_EVENT_LOGIN = 2300,
    VIDYO_CLIENT_OUT_EVENT_LINKED = 2302,
    VIDYO_CLIENT_OUT_EVENT_SIGNED_IN = 2303,
    VIDYO_CLIENT_OUT_EVENT_SIGNED_OUT = 2304,
    VIDYO_CLIENT_OUT_EVENT_ROOM_LINK = 2305,
    VIDYO_CLIENT_OUT_EVENT_CALL_STATE = 2500,
    VIDYO_CLIENT_OUT_EVENT_GROUP_CHAT = 2600,
    VIDYO_CLIENT_OUT_EVENT_PRIVATE_CHAT = 2601
};

/* Events the caller sends (in-events). */
enum VidyoClientInEvent {
    VIDYO_CLIENT_IN_EVENT_LEAVE = 201,
    VIDYO_CLIENT_IN_EVENT_PREVIEW = 400,
    VIDYO_CLIENT_IN_EVENT_MUTE_AUDIO_IN = 500, /* 1 byte: 1 mutes */
    VIDYO_CLIENT_IN_EVENT_MUTE_AUDIO_OUT = 501, /* 1 byte: 1 mutes */
    VIDYO_CLIENT_IN_EVENT_MUTE_VIDEO = 502, /* 1 byte: 1 turns the camera off */
    VIDYO_CLIENT_IN_EVENT_SHARE = 600,
    VIDYO_CLIENT_IN_EVENT_UNSHARE = 601,
    VIDYO_CLIENT_IN_EVENT_RESIZE = 800,
    VIDYO_CLIENT_IN_EVENT_DIAL = 1301, /* 1 byte: the digit */
    VIDYO_CLIENT_IN_EVENT_LOGIN = 1600,
    VIDYO_CLIENT_IN_EVENT_ROOM_LINK = 1604,
    VIDYO_CLIENT_IN_EVENT_SET_SHOWN_NAME = 3000
};

enum VidyoClientRequest {
    VIDYO_CLIENT_REQUEST_GET_CONFIGURATION = 100100,
    VIDYO_CLIENT_REQUEST_SET_CONFIGURATION = 100101,
    VIDYO_CLIENT_REQUEST_GET_VOLUME_AUDIO_OUT = 100302,
    VIDYO_CLIENT_REQUEST_GET_WINDOW_SHARES = 100500,
    VIDYO_CLIENT_REQUEST_SET_WINDOW_SHARES = 100501,
    VIDYO_CLIENT_REQUEST_GET_PARTICIPANTS = 101503,
    VIDYO_CLIENT_REQUEST_GET_FECC_LIST = 101506,
    VIDYO_CLIENT_REQUEST_STATISTICS_ENABLE = 101600,
    VIDYO_CLIENT_REQUEST_GET_PARTICIPANT_STATISTICS_LIST = 101613,
    VIDYO_CLIENT_REQUEST_GET_SHARE_LIST = 102200
};

/* Results of VidyoClientSendRequest other than 0. */
enum VidyoClientError {
    VIDYO_CLIENT_ERROR_OK = 0,
    VIDYO_CLIENT_ERROR_NOT_STARTED = 1,
    VIDYO_CLIENT_ERROR_BAD_RECORD = 2, /* null record or wrong size */
    VIDYO_CLIENT_ERROR_UNKNOWN = 3
};

/* Preview modes of VIDYO_CLIENT_IN_EVENT_PREVIEW. */
enum VidyoClientPreviewMode { VIDYO_CLIENT_PREVIEW_OFF = 0, VIDYO_CLIENT_PREVIEW_PIP = 4 };

/* ---- Records ----------------------------------------------------------------------------------
 */
#define VIDYO_CLIENT_MAX_PARTICIPANTS 24

typedef void(VIDYO_CALL *VidyoClientEventCallback)(unsigned int event, void *param,
                                                   unsigned int size, void *userData);

/* Six 32-bit fields; the second is the size of the client's log in bytes. */
typedef struct VidyoClientLogParams
{
    int32_t reserved0;
    int32_t logSize;
    int32_t reserved[4];
} VidyoClientLogParams;

typedef struct VidyoRect
{
    int32_t xPos;
    int32_t yPos;
    int32_t width;
    int32_t height;
} VidyoRect;

/* Seven texts (empty, never null in use) and the profile's port base. */
typedef struct VidyoClientProfileParams
{
    const char *text[7];
    int32_t portBase;
} VidyoClientProfileParams;

/* VIDYO_CLIENT_IN_EVENT_PREVIEW, 8 bytes. */
typedef struct VidyoClientInEventPreview
{
    int32_t previewMode;
    uint8_t flag;
    uint8_t pad[3];
} VidyoClientInEventPreview;

/* VIDYO_CLIENT_IN_EVENT_LOGIN, 648 bytes (sent zeroed). */
typedef struct VidyoClientInEventLogIn
{
    char bytes[648];
} VidyoClientInEventLogIn;

/* VIDYO_CLIENT_IN_EVENT_ROOM_LINK, 604 bytes. */
typedef struct VidyoClientInEventRoomLink
{
    char portalUri[257]; /* roomLinkText1 */
    char roomKey[128]; /* roomLinkText2 */
    char displayName[128]; /* roomLinkText3 */
    char pin[17]; /* roomLinkText4 */
    char pad0[2];
    int32_t linkType; /* 2 */
    char reserved[64];
    uint16_t muteFlags; /* 0 */
    uint8_t guestFlag; /* 0 */
    uint8_t pad1;
} VidyoClientInEventRoomLink;

/* VIDYO_CLIENT_IN_EVENT_SET_SHOWN_NAME, 385 bytes. */
typedef struct VidyoClientInEventShownName
{
    char uri[257];
    char name[128];
} VidyoClientInEventShownName;

/* VIDYO_CLIENT_IN_EVENT_SHARE, 152 bytes. */
typedef struct VidyoClientInEventShare
{
    int32_t shareType; /* 2 */
    int32_t window; /* 1 */
    char windowName[128];
    char windowId[16];
} VidyoClientInEventShare;

/* VIDYO_CLIENT_IN_EVENT_RESIZE, 16 bytes. */
typedef VidyoRect VidyoClientInEventResize;

/* VIDYO_CLIENT_REQUEST_GET/SET_CONFIGURATION, 22816 bytes of 32-bit fields. */
#define VIDYO_CLIENT_CONFIGURATION_SIZE 22816
typedef struct VidyoClientRequestConfiguration
{
    int32_t field[VIDYO_CLIENT_CONFIGURATION_SIZE / 4];
} VidyoClientRequestConfiguration;

/* VIDYO_CLIENT_REQUEST_GET_PARTICIPANTS, 7712 bytes. */
typedef struct VidyoClientRequestParticipants
{
    char name[VIDYO_CLIENT_MAX_PARTICIPANTS][64];
    char uri[VIDYO_CLIENT_MAX_PARTICIPANTS][257];
    int32_t numberParticipants;
    char pad[4];
} VidyoClientRequestParticipants;

/* VIDYO_CLIENT_REQUEST_GET_SHARE_LIST, 75228 bytes: the shareable windows and the current one. */
typedef struct VidyoClientRequestShareList
{
    char entries[68356];
    int32_t numApp;
    char reserved0[72472 - 68360];
    char currentName[128];
    char reserved1[74520 - 72600];
    char currentId[16];
    char reserved2[75228 - 74536];
} VidyoClientRequestShareList;

/* VIDYO_CLIENT_REQUEST_GET/SET_WINDOW_SHARES, 20836 bytes. */
typedef struct VidyoClientRequestWindowShares
{
    int32_t requestType; /* 0 read, 1 write */
    char entries[20832 - 4];
    int32_t newApp; /* the selected share */
} VidyoClientRequestWindowShares;

/* VIDYO_CLIENT_REQUEST_GET_VOLUME_AUDIO_OUT, 4 bytes. */
typedef struct VidyoClientRequestVolume
{
    uint32_t volume;
} VidyoClientRequestVolume;

/* VIDYO_CLIENT_REQUEST_GET_PARTICIPANT_STATISTICS_LIST, 55304 bytes; the count is last. */
typedef struct VidyoClientRequestParticipantStatisticsList
{
    char entries[55300];
    int32_t numParticipants;
} VidyoClientRequestParticipantStatisticsList;

/* VIDYO_CLIENT_REQUEST_GET_FECC_LIST, 9272 bytes. */
typedef struct VidyoClientRequestFeccList
{
    char entries[9264];
    int32_t numberCameras;
    char pad[4];
} VidyoClientRequestFeccList;

/* VIDYO_CLIENT_OUT_EVENT_ROOM_LINK data: at least 4 bytes. */
typedef struct VidyoClientOutEventRoomLink
{
    int32_t error;
} VidyoClientOutEventRoomLink;

/* VIDYO_CLIENT_OUT_EVENT_REMOTE_SOURCE_REMOVED data, 520 bytes. */
typedef struct VidyoClientOutEventRemoteSourceRemoved
{
    int32_t sourceType;
    char participantUri[257];
    char sourceName[257]; /* offset 261 */
    char pad[2];
} VidyoClientOutEventRemoteSourceRemoved;

#define VIDYO_AT(type, member, offset)                                                             \
    VIDYO_STATIC_ASSERT(offsetof(type, member) == (offset), #type "." #member " out of place")
#define VIDYO_SIZE(type, size) VIDYO_STATIC_ASSERT(sizeof(type) == (size), #type " size")

VIDYO_SIZE(VidyoClientLogParams, 24);
VIDYO_AT(VidyoClientLogParams, logSize, 4);
VIDYO_SIZE(VidyoRect, 16);
VIDYO_AT(VidyoRect, height, 12);
VIDYO_AT(VidyoClientProfileParams, portBase, 7 * sizeof(const char *));
VIDYO_SIZE(VidyoClientInEventPreview, 8);
VIDYO_AT(VidyoClientInEventPreview, flag, 4);
VIDYO_SIZE(VidyoClientInEventLogIn, 648);
VIDYO_SIZE(VidyoClientInEventRoomLink, 604);
VIDYO_AT(VidyoClientInEventRoomLink, roomKey, 257);
VIDYO_AT(VidyoClientInEventRoomLink, displayName, 385);
VIDYO_AT(VidyoClientInEventRoomLink, pin, 513);
VIDYO_AT(VidyoClientInEventRoomLink, linkType, 532);
VIDYO_AT(VidyoClientInEventRoomLink, muteFlags, 600);
VIDYO_AT(VidyoClientInEventRoomLink, guestFlag, 602);
VIDYO_SIZE(VidyoClientInEventShownName, 385);
VIDYO_AT(VidyoClientInEventShownName, name, 257);
VIDYO_SIZE(VidyoClientInEventShare, 152);
VIDYO_AT(VidyoClientInEventShare, window, 4);
VIDYO_AT(VidyoClientInEventShare, windowName, 8);
VIDYO_AT(VidyoClientInEventShare, windowId, 136);
VIDYO_SIZE(VidyoClientRequestConfiguration, VIDYO_CLIENT_CONFIGURATION_SIZE);
VIDYO_SIZE(VidyoClientRequestParticipants, 7712);
VIDYO_AT(VidyoClientRequestParticipants, uri, 1536);
VIDYO_AT(VidyoClientRequestParticipants, numberParticipants, 7704);
VIDYO_SIZE(VidyoClientRequestShareList, 75228);
VIDYO_AT(VidyoClientRequestShareList, numApp, 68356);
VIDYO_AT(VidyoClientRequestShareList, currentName, 72472);
VIDYO_AT(VidyoClientRequestShareList, currentId, 74520);
VIDYO_SIZE(VidyoClientRequestWindowShares, 20836);
VIDYO_AT(VidyoClientRequestWindowShares, newApp, 20832);
VIDYO_SIZE(VidyoClientRequestVolume, 4);
VIDYO_SIZE(VidyoClientRequestParticipantStatisticsList, 55304);
VIDYO_SIZE(VidyoClientRequestFeccList, 9272);
VIDYO_AT(VidyoClientRequestFeccList, numberCameras, 9264);
VIDYO_AT(VidyoClientOutEventRemoteSourceRemoved, sourceName, 261);
VIDYO_SIZE(VidyoClientOutEventRemoteSourceRemoved, 520);

/* ---- Functions --------------------------------------------------------------------------------
 */
VIDYO_API VidyoBool VIDYO_CALL VidyoClientInitialize(VidyoClientEventCallback callback,
                                                     void *userData,
                                                     const VidyoClientLogParams *logParams);
VIDYO_API VidyoBool VIDYO_CALL VidyoClientStart(VidyoClientEventCallback callback, void *userData,
                                                const VidyoClientLogParams *logParams,
                                                void *windowHandle, const VidyoRect *videoRect,
                                                void *reserved,
                                                const VidyoClientProfileParams *profile,
                                                VidyoBool reserved2);
VIDYO_API VidyoBool VIDYO_CALL VidyoClientStop(void);
VIDYO_API void VIDYO_CALL VidyoClientUninitialize(void);
VIDYO_API VidyoBool VIDYO_CALL VidyoClientIsStarted(void);
VIDYO_API VidyoBool VIDYO_CALL VidyoClientSendEvent(unsigned int event, void *param,
                                                    unsigned int size);
VIDYO_API int VIDYO_CALL VidyoClientSendRequest(unsigned int request, void *param,
                                                unsigned int size);

#ifdef __cplusplus
}
#endif

#endif /* VIDYO_CLIENT_H */
