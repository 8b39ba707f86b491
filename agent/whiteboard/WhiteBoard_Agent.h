#pragma once

// Shared whiteboards over the whiteboard library. The public slots are the requests: connect
// a signal to them or invoke them by name, and they run on the shared worker thread in
// request order, one library call each. Results come from WhiteBoard_CallBack on the
// library's threads.

#include "tq_agent_global.h"

#include <QAtomicPointer>
#include <QObject>
#include <QString>

class TQ_AGENT_EXPORT WhiteBoard_Agent : public QObject
{
    Q_OBJECT
public:
    // Builds the agent on first use and starts the library; again after the agent was
    // destroyed.
    static WhiteBoard_Agent *instance();
    // Stops the library, then forgets the agent; callbacks arriving later are dropped.
    ~WhiteBoard_Agent() override;

    // Starts the library with a fresh callback table; a second start without a stop in
    // between is refused.
    void initWhiteBoardAgent();
    // Nulls the table's entries, then stops the library.
    void unInitWhiteBoardAgent();

    // The agent, or null while none exists; never builds one (for the library's callbacks).
    static WhiteBoard_Agent *existing();

signals:
    void sig_onTcpConnected(int result, QString serverIp, int port);
    void sig_onTcpConnectError(int result, QString serverIp, int port);
    void sig_onCreateRoom(int result, int roomId);
    void sig_onDeleteRoom(int result);
    void sig_onLeaveRoom(int result);
    void sig_onJoinRoom(int result, QString jsonString);
    void sig_onMemberJoinNotify(QString userId);
    void sig_onMemberLeaveNotify(QString userId);
    void sig_onGetRoomMember(int result, QString jsonString);
    void sig_onChangeMemberAuth(int result);
    void sig_onChangeMemberAuthNotify(QString userId, unsigned int type, unsigned int auth);
    void sig_onKickOutNotify(int roomId, QString userId);
    void sig_onUploadFile(int result, int docId);
    void sig_onRateOfProgress(unsigned long long rateSize, unsigned long long fileSize);
    void sig_onDocPngOne(int result, int roomId, int docId, int pageIndex, int pageNum);
    void sig_onDocPngReady(int result, int roomId, int docId, int pageNum);
    void sig_onShareDoc(int result, int currentPageIndex, int pageNum);
    void sig_onShareDocNotify(int roomId, int docId, int pageIndex, int pageNum);
    void sig_onDocConvertNotify(int reqId, int result, int roomId, int docId, int pageNum,
                                QString filename);
    void sig_onCurrentPageDrawingClear(int result, int roomId);
    void sig_onGotoPage(int result, int pageIndex, int pageNum);
    void sig_onGotoPageNotify(QString userId, int roomId, int docId, int pageIndex, int pageNum);
    void sig_onDownloadPage(int result);
    void sig_onDrawNotify();
    void sig_onDrawUndo(int result);
    void sig_onDrawUndoNotify(QString userId, int roomId, int docId, int pageIndex);
    void sig_onDrawRedo(int result);
    void sig_onDrawRedoNotify(QString userId, int roomId, int docId, int pageIndex);
    // Declared for the windows; the library has no event behind them.
    void sig_drawUndoResult(int result);
    void sig_drawRedoResult(int result);
    void sig_openWhiteBoardFailed(int result);

public slots:
    void slot_wbssSetTraceFlag(bool enable, QString logFileName, int level);
    void slot_wbssGetVersion();
    void slot_wbssSetSDKVars(QString userId, QString authKey, QString appId, QString dataPath,
                             QString serveraddrs_json);
    void slot_wbssSetTimeOut(int resTimeOut, int docNotifyTimeOut);
    void slot_wbssReinitConnection();
    void slot_wbssStartNetwork(int roomId);
    void slot_wbssStopNetwork();
    void slot_wbssUploadFile(int roomId, int fileType, QString fileName, QString sessionId,
                             QString extOpts);
    void slot_wbssCancelUploadOrDownloadNOW(int roomId, QString session);
    void slot_createRoom(int roomType, int memberLimit, QString password, int roleId);
    void slot_joinRoom(int roomId, QString password, int roleId);
    void slot_deleteRoom(int roomId);
    void slot_leaveRoom(int roomId);
    void slot_getRoomMember(int roomId);
    void slot_changeMemberAuth(int roomId, QString userId, unsigned int type, unsigned int authId);
    void slot_shareDoc(int roomId, int docId);
    void slot_setDocBackgroundColor(int roomId, int red, int green, int blue, int alpha);
    void slot_setLineShape(int roomId, int shape);
    void slot_setLineColor(int roomId, int red, int green, int blue, int alpha);
    void slot_setLineWidth(int roomId, int size);
    void slot_getEraser(int roomId);
    void slot_getPen(int roomId, int penType);
    void slot_currentPageDrawingClear(int roomId, QString userId);
    void slot_gotoPage(int roomId, int docId, int dstPageIndex);
    void slot_gotoNextPage();
    void slot_gotoPrevPage();
    void slot_drawUndo(int type);
    void slot_drawRedo();
    void slot_setZoomState(int mode);
    void slot_scale(int mode, float ratio, int pX, int pY);
    void slot_move(int fromX, int fromY, int endX, int endY);
    void slot_BindWindows(void *handle, int x, int y, int width, int height);
    void slot_handleWindowsProc(void *hWnd, unsigned int uMsg, unsigned int wParam,
                                unsigned int lParam);

private:
    WhiteBoard_Agent() = default;

    static QAtomicPointer<WhiteBoard_Agent> ins;
};
