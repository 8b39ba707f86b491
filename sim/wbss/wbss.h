/*
 * wbss: the shared whiteboard library as the agents use it.
 *
 * Contract between the agents and any library implementing this header:
 *  - wbssInitialize(table) starts the library with a callback table; wbssUninitialize() stops
 *    it and returns once none of its threads calls back any more. The table belongs to the
 *    caller and stays alive until the library is uninitialised. The library reads each entry
 *    once per event (an atomic pointer-sized load) and skips a null entry, so the caller may
 *    null entries while the library runs.
 *  - Functions return 0 when the request is accepted, else a WBSS_ERR_* code. A request
 *    answered later takes `int *reqId` first: the caller sets it to 0, the library writes a
 *    fresh identifier, and the answering callback receives it first.
 *  - Results in callbacks: WBSS_RESULT_OK (200) is success.
 *  - Texts are NUL-terminated UTF-8, except the file name of wbssUploadFile, which is in the
 *    local 8-bit code page. Texts passed in are valid during the call; texts passed to a
 *    callback during that callback (a text may be null).
 *  - Callbacks run on the library's own threads, never inside the request that caused them.
 */
#ifndef WBSS_H
#define WBSS_H

#if defined(_WIN32)
#define WBSS_CALL __stdcall
#if defined(WBSS_LIBRARY)
#define WBSS_API __declspec(dllexport)
#else
#define WBSS_API __declspec(dllimport)
#endif
#else
#define WBSS_CALL
#define WBSS_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#include <cstddef>
#include <cstdint>
#define WBSS_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
extern "C" {
#else
#include <stddef.h>
#include <stdint.h>
#define WBSS_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

enum WbssCode {
    WBSS_OK = 0,
    WBSS_ERR_NOT_INITIALIZED = 1,
    WBSS_ERR_INVALID_ARGUMENT = 2,
    WBSS_ERR_NOT_IN_ROOM = 3,
    WBSS_ERR_FILE = 4, /* the file to upload cannot be read */
    WBSS_ERR_NO_DOCUMENT = 5, /* no document is shared */

    WBSS_RESULT_OK = 200,
    WBSS_RESULT_BAD_REQUEST = 400,
    WBSS_RESULT_FORBIDDEN = 403,
    WBSS_RESULT_NOT_FOUND = 404,
    WBSS_RESULT_FULL = 409
};

/* Roles (roleId of createRoom and joinRoom, authId of changeMemberAuth with WBSS_AUTH_ROLE). */
enum WbssRole { WBSS_ROLE_HOST = 1, WBSS_ROLE_PRESENTER = 2, WBSS_ROLE_VIEWER = 3 };
/* What changeMemberAuth changes (`type`): the role, or the right to draw (authId 0 or 1). */
enum WbssAuthType { WBSS_AUTH_ROLE = 1, WBSS_AUTH_DRAW = 2 };
/* Line shapes of setLineShape. */
enum WbssShape {
    WBSS_SHAPE_FREE = 0,
    WBSS_SHAPE_LINE = 1,
    WBSS_SHAPE_RECT = 2,
    WBSS_SHAPE_ELLIPSE = 3
};
/* Pens of getPen. */
enum WbssPen { WBSS_PEN_PENCIL = 0, WBSS_PEN_MARKER = 1 };
/* Undo types of drawUndo: the caller's own last stroke, or the page's last stroke. */
enum WbssUndo { WBSS_UNDO_OWN = 0, WBSS_UNDO_ANY = 1 };
/* Zoom states of setZoomState, and modes of scale. */
enum WbssZoom { WBSS_ZOOM_FIT_PAGE = 0, WBSS_ZOOM_FIT_WIDTH = 1, WBSS_ZOOM_ACTUAL = 2 };
enum WbssScale { WBSS_SCALE_SET = 0, WBSS_SCALE_IN = 1, WBSS_SCALE_OUT = 2 };
/* File types of wbssUploadFile. */
enum WbssFileType { WBSS_FILE_AUTO = 0, WBSS_FILE_TEXT = 1, WBSS_FILE_IMAGE = 2 };

/* Window messages forwarded through handleWindowsProc, by their Windows numbers; lParam holds
 * x in its low 16 bits and y in the next 16 (signed), relative to the bound rectangle. */
enum WbssWindowMessage {
    WBSS_WM_SIZE = 0x0005,
    WBSS_WM_PAINT = 0x000F,
    WBSS_WM_MOUSEMOVE = 0x0200,
    WBSS_WM_LBUTTONDOWN = 0x0201,
    WBSS_WM_LBUTTONUP = 0x0202
};

/* The callback table: 43 pointer-sized entries the library reads by position. */
typedef void(WBSS_CALL *WbssReserved)(void);
typedef struct WbssCallbackTable
{
    void(WBSS_CALL *onTcpConnected)(int result, const char *serverIp, int port); /* 0 */
    void(WBSS_CALL *onTcpConnectError)(int result, const char *serverIp, int port); /* 1 */
    void(WBSS_CALL *onCreateRoom)(int reqId, int result, int roomId); /* 2 */
    void(WBSS_CALL *onDeleteRoom)(int reqId, int result); /* 3 */
    WbssReserved reserved4;
    void(WBSS_CALL *onLeaveRoom)(int reqId, int result); /* 5 */
    void(WBSS_CALL *onJoinRoom)(int reqId, int result, const char *json); /* 6 */
    WbssReserved reserved7;
    WbssReserved reserved8;
    WbssReserved reserved9;
    void(WBSS_CALL *onMemberJoinNotify)(int roomId, const char *userId); /* 10 */
    void(WBSS_CALL *onMemberLeaveNotify)(int roomId, const char *userId); /* 11 */
    void(WBSS_CALL *onGetRoomMember)(int reqId, int result, const char *json); /* 12 */
    void(WBSS_CALL *onChangeMemberAuth)(int reqId, int result); /* 13 */
    void(WBSS_CALL *onChangeMemberAuthNotify)(const char *userId, unsigned int type,
                                              unsigned int auth); /* 14 */
    void(WBSS_CALL *onKickOutNotify)(int roomId, const char *userId); /* 15 */
    void(WBSS_CALL *onUploadFile)(int reqId, int result, int docId); /* 16 */
    void(WBSS_CALL *onRateOfProgress)(int reqId, uint64_t rateSize, uint64_t fileSize); /* 17 */
    WbssReserved reserved18;
    WbssReserved reserved19;
    void(WBSS_CALL *onDocPngOne)(int result, int roomId, int docId, int pageIndex,
                                 int pageNum); /* 20 */
    void(WBSS_CALL *onDocPngReady)(int result, int roomId, int docId, int pageNum); /* 21 */
    WbssReserved reserved22;
    void(WBSS_CALL *onShareDoc)(int reqId, int result, int currentPageIndex, int pageNum); /* 23 */
    void(WBSS_CALL *onShareDocNotify)(int roomId, int docId, int pageIndex, int pageNum); /* 24 */
    void(WBSS_CALL *onDocConvertNotify)(int reqId, int result, int roomId, int docId, int pageNum,
                                        const char *filename); /* 25 */
    WbssReserved reserved26;
    WbssReserved reserved27;
    void(WBSS_CALL *onCurrentPageDrawingClear)(int reqId, int result, int roomId); /* 28 */
    void(WBSS_CALL *onGotoPage)(int reqId, int result, int pageIndex, int pageNum); /* 29 */
    void(WBSS_CALL *onGotoPageNotify)(const char *userId, int roomId, int docId, int pageIndex,
                                      int pageNum); /* 30 */
    void(WBSS_CALL *onDownloadPage)(int reqId, int result); /* 31 */
    void(WBSS_CALL *onDrawNotify)(void); /* 32 */
    void(WBSS_CALL *onDrawUndo)(int reqId, int result); /* 33 */
    void(WBSS_CALL *onDrawUndoNotify)(const char *userId, int roomId, int docId,
                                      int pageIndex); /* 34 */
    void(WBSS_CALL *onDrawRedo)(int reqId, int result); /* 35 */
    void(WBSS_CALL *onDrawRedoNotify)(const char *userId, int roomId, int docId,
                                      int pageIndex); /* 36 */
    WbssReserved reserved37;
    WbssReserved reserved38;
    WbssReserved reserved39;
    WbssReserved reserved40;
    WbssReserved reserved41;
    WbssReserved reserved42;
} WbssCallbackTable;

#define WBSS_TABLE_SLOTS 43
#define WBSS_SLOT_AT(member, index)                                                                \
    WBSS_STATIC_ASSERT(offsetof(WbssCallbackTable, member) == (index) * sizeof(WbssReserved),      \
                       "wbss table entry " #member " out of place")
WBSS_STATIC_ASSERT(sizeof(WbssCallbackTable) == WBSS_TABLE_SLOTS * sizeof(WbssReserved),
                   "wbss table size");
WBSS_SLOT_AT(onTcpConnected, 0);
WBSS_SLOT_AT(onTcpConnectError, 1);
WBSS_SLOT_AT(onCreateRoom, 2);
WBSS_SLOT_AT(onDeleteRoom, 3);
WBSS_SLOT_AT(onLeaveRoom, 5);
WBSS_SLOT_AT(onJoinRoom, 6);
WBSS_SLOT_AT(onMemberJoinNotify, 10);
WBSS_SLOT_AT(onMemberLeaveNotify, 11);
WBSS_SLOT_AT(onGetRoomMember, 12);
WBSS_SLOT_AT(onChangeMemberAuth, 13);
WBSS_SLOT_AT(onChangeMemberAuthNotify, 14);
WBSS_SLOT_AT(onKickOutNotify, 15);
WBSS_SLOT_AT(onUploadFile, 16);
WBSS_SLOT_AT(onRateOfProgress, 17);
WBSS_SLOT_AT(onDocPngOne, 20);
WBSS_SLOT_AT(onDocPngReady, 21);
WBSS_SLOT_AT(onShareDoc, 23);
WBSS_SLOT_AT(onShareDocNotify, 24);
WBSS_SLOT_AT(onDocConvertNotify, 25);
WBSS_SLOT_AT(onCurrentPageDrawingClear, 28);
WBSS_SLOT_AT(onGotoPage, 29);
WBSS_SLOT_AT(onGotoPageNotify, 30);
WBSS_SLOT_AT(onDownloadPage, 31);
WBSS_SLOT_AT(onDrawNotify, 32);
WBSS_SLOT_AT(onDrawUndo, 33);
WBSS_SLOT_AT(onDrawUndoNotify, 34);
WBSS_SLOT_AT(onDrawRedo, 35);
WBSS_SLOT_AT(onDrawRedoNotify, 36);
WBSS_SLOT_AT(reserved42, 42);

/* ---- Life cycle and settings --------------------------------------------------------------- */
WBSS_API int WBSS_CALL wbssInitialize(WbssCallbackTable *table);
WBSS_API int WBSS_CALL wbssUninitialize(void);
WBSS_API int WBSS_CALL wbssSetTraceFlag(int enable, const char *logFileName, int level);
WBSS_API const char *WBSS_CALL wbssGetVersion(void);
/* serveraddrs_json: [{"ip":"...","port":n}, ...]; the first is used. */
WBSS_API int WBSS_CALL wbssSetSDKVars(const char *userId, const char *authKey, const char *appId,
                                      const char *dataPath, const char *serveraddrs_json);
WBSS_API int WBSS_CALL wbssSetTimeOut(int resTimeOut, int docNotifyTimeOut);
WBSS_API int WBSS_CALL wbssReinitConnection(void);
WBSS_API int WBSS_CALL wbssStartNetwork(int roomId);
WBSS_API int WBSS_CALL wbssStopNetwork(void);

/* ---- Documents ------------------------------------------------------------------------------- */
WBSS_API int WBSS_CALL wbssUploadFile(int *reqId, int roomId, int fileType, const char *fileName,
                                      const char *sessionId, const char *extOpts);

/* ---- Rooms ----------------------------------------------------------------------------------- */
WBSS_API int WBSS_CALL createRoom(int *reqId, int roomType, int memberLimit, const char *password,
                                  int roleId);
WBSS_API int WBSS_CALL joinRoom(int *reqId, int roomId, const char *password, int roleId);
WBSS_API int WBSS_CALL deleteRoom(int *reqId, int roomId);
WBSS_API int WBSS_CALL leaveRoom(int *reqId, int roomId);
WBSS_API int WBSS_CALL getRoomMember(int *reqId, int roomId);
WBSS_API int WBSS_CALL changeMemberAuth(int *reqId, int roomId, const char *userId,
                                        unsigned int type, unsigned int authId);

/* ---- Sharing, pages, drawing ------------------------------------------------------------------
 */
WBSS_API int WBSS_CALL shareDoc(int *reqId, int roomId, int docId);
WBSS_API int WBSS_CALL setLineShape(int roomId, int shape);
WBSS_API int WBSS_CALL setLineColor(int roomId, int red, int green, int blue, int alpha);
WBSS_API int WBSS_CALL setLineWidth(int roomId, int size);
WBSS_API int WBSS_CALL getEraser(int roomId);
WBSS_API int WBSS_CALL getPen(int roomId, int penType);
WBSS_API int WBSS_CALL currentPageDrawingClear(int *reqId, int roomId, const char *userId);
WBSS_API int WBSS_CALL gotoPage(int *reqId, int roomId, int dstPageIndex);
WBSS_API int WBSS_CALL gotoNextPage(int *reqId);
WBSS_API int WBSS_CALL gotoPrevPage(int *reqId);
WBSS_API int WBSS_CALL drawUndo(int *reqId, int type);
WBSS_API int WBSS_CALL drawRedo(int *reqId);
WBSS_API int WBSS_CALL setZoomState(int mode);
/* ratio: the new scale (WBSS_SCALE_SET) or its factor; (pX, pY) stays in place. */
WBSS_API int WBSS_CALL scale(int *reqId, int mode, int reserved, float ratio, int pX, int pY);

/* ---- The drawing window --------------------------------------------------------------------- */
/* The library draws the board into `handle` (a native window; on Linux a QWidget *) within the
 * rectangle. A null handle unbinds. The handle must stay valid until it is unbound. */
WBSS_API int WBSS_CALL BindWindows(void *handle, int x, int y, int width, int height);
/* A message of the bound window (WbssWindowMessage); returns 1 when the library handled it. */
WBSS_API intptr_t WBSS_CALL handleWindowsProc(void *hWnd, unsigned int uMsg, uintptr_t wParam,
                                              intptr_t lParam, int reserved);

#ifdef __cplusplus
}
#endif

#endif /* WBSS_H */
