#include "WhiteBoard_Agent.h"

#include "WhiteBoard_CallBack.h"

#include <AgentFrame.h>
#include <AgentLog.h>
#include <EngineArgs.h>
#include <FixedField.h>
#include <wbss.h>

#include <memory>
#include <utility>

QAtomicPointer<WhiteBoard_Agent> WhiteBoard_Agent::ins;

namespace {

// The request id a library request writes through its first argument; never read.
struct ReqId
{
    int value = 0;
    operator int *() { return &value; }
};

// The name line, the call, then a line with the code alone: the form most slots log.
template<class Fn, class... Args> int callLogged(tq::Where where, Fn &&fn, Args &&...args)
{
    const int ret = tq::logThenCall(where, std::forward<Fn>(fn), std::forward<Args>(args)...);
    tq::logInfo("%1", ret);
    return ret;
}

constexpr int kUploadRefused = 201;
constexpr int kUploadRefusedDoc = 11;

} // namespace

#define WB TQ_WHERE(WhiteBoard_Agent)

WhiteBoard_Agent *WhiteBoard_Agent::instance()
{
    return tq::agentInstance(ins, [] {
        std::unique_ptr<WhiteBoard_Agent> agent(new WhiteBoard_Agent);
        agent->initWhiteBoardAgent();
        return agent;
    });
}

WhiteBoard_Agent *WhiteBoard_Agent::existing()
{
    return ins.loadAcquire();
}

WhiteBoard_Agent::~WhiteBoard_Agent()
{
    unInitWhiteBoardAgent();
    ins.testAndSetOrdered(this, nullptr);
    // A callback that took the agent just before may still be emitting on it.
    WhiteBoard_CallBack::waitForDeliveries();
}

void WhiteBoard_Agent::initWhiteBoardAgent()
{
    tq::logInfo("%1", WB);
    WhiteBoard_CallBack::instance()->start();
}

void WhiteBoard_Agent::unInitWhiteBoardAgent()
{
    tq::logInfo("%1", WB);
    WhiteBoard_CallBack::instance()->stop();
}

void WhiteBoard_Agent::slot_wbssSetTraceFlag(bool enable, QString logFileName, int level)
{
    tq::logThenCall(WB, wbssSetTraceFlag, enable ? 1 : 0, tq::Utf8Arg(logFileName), level);
}

void WhiteBoard_Agent::slot_wbssGetVersion()
{
    tq::logInfo("version=%1", tq::fromEngineText(tq::logThenCall(WB, wbssGetVersion)));
}

void WhiteBoard_Agent::slot_wbssSetSDKVars(QString userId, QString authKey, QString appId,
                                           QString dataPath, QString serveraddrs_json)
{
    callLogged(WB, wbssSetSDKVars, tq::Utf8Arg(userId), tq::Utf8Arg(authKey), tq::Utf8Arg(appId),
               tq::Utf8Arg(dataPath), tq::Utf8Arg(serveraddrs_json));
}

void WhiteBoard_Agent::slot_wbssSetTimeOut(int resTimeOut, int docNotifyTimeOut)
{
    tq::logThenCall(WB, wbssSetTimeOut, resTimeOut, docNotifyTimeOut);
}

void WhiteBoard_Agent::slot_wbssReinitConnection()
{
    tq::logThenCall(WB, wbssReinitConnection);
}

void WhiteBoard_Agent::slot_wbssStartNetwork(int roomId)
{
    tq::logThenCall(WB, wbssStartNetwork, roomId);
}

void WhiteBoard_Agent::slot_wbssStopNetwork()
{
    tq::logThenCall(WB, wbssStopNetwork);
}

void WhiteBoard_Agent::slot_wbssUploadFile(int roomId, int fileType, QString fileName,
                                           QString sessionId, QString extOpts)
{
    const int ret
        = callLogged(WB, wbssUploadFile, ReqId(), roomId, fileType, tq::Local8BitArg(fileName),
                     tq::Utf8Arg(sessionId), tq::Utf8Arg(extOpts));
    // A refused upload gets its answer at once; an accepted one from the library later.
    if (ret != 0)
        emit sig_onUploadFile(kUploadRefused, kUploadRefusedDoc);
}

void WhiteBoard_Agent::slot_wbssCancelUploadOrDownloadNOW(int, QString)
{
    tq::logInfo("%1", WB); // the library cannot cancel
}

void WhiteBoard_Agent::slot_createRoom(int roomType, int memberLimit, QString password, int roleId)
{
    callLogged(WB, createRoom, ReqId(), roomType, memberLimit, tq::Utf8Arg(password), roleId);
}

void WhiteBoard_Agent::slot_joinRoom(int roomId, QString password, int roleId)
{
    tq::logInfo("%1", WB);
    tq::callEngine(WB, joinRoom, ReqId(), roomId, tq::Utf8Arg(password), roleId);
}

void WhiteBoard_Agent::slot_deleteRoom(int roomId)
{
    tq::logInfo("deleteRoom:%1,ret=%2", roomId, tq::logThenCall(WB, deleteRoom, ReqId(), roomId));
}

void WhiteBoard_Agent::slot_leaveRoom(int roomId)
{
    callLogged(WB, leaveRoom, ReqId(), roomId);
}

void WhiteBoard_Agent::slot_getRoomMember(int roomId)
{
    callLogged(WB, getRoomMember, ReqId(), roomId);
}

void WhiteBoard_Agent::slot_changeMemberAuth(int roomId, QString userId, unsigned int type,
                                             unsigned int authId)
{
    tq::logInfo(
        "ret=%1",
        tq::logThenCall(WB, changeMemberAuth, ReqId(), roomId, tq::Utf8Arg(userId), type, authId));
}

void WhiteBoard_Agent::slot_shareDoc(int roomId, int docId)
{
    callLogged(WB, shareDoc, ReqId(), roomId, docId);
}

void WhiteBoard_Agent::slot_setDocBackgroundColor(int, int, int, int, int)
{
    tq::logInfo("%1", WB); // the library has no background colour
}

void WhiteBoard_Agent::slot_setLineShape(int roomId, int shape)
{
    callLogged(WB, setLineShape, roomId, shape);
}

void WhiteBoard_Agent::slot_setLineColor(int roomId, int red, int green, int blue, int alpha)
{
    callLogged(WB, setLineColor, roomId, red, green, blue, alpha);
}

void WhiteBoard_Agent::slot_setLineWidth(int roomId, int size)
{
    callLogged(WB, setLineWidth, roomId, size);
}

void WhiteBoard_Agent::slot_getEraser(int roomId)
{
    callLogged(WB, getEraser, roomId);
}

void WhiteBoard_Agent::slot_getPen(int roomId, int penType)
{
    callLogged(WB, getPen, roomId, penType);
}

void WhiteBoard_Agent::slot_currentPageDrawingClear(int roomId, QString userId)
{
    callLogged(WB, currentPageDrawingClear, ReqId(), roomId, tq::Utf8Arg(userId));
}

void WhiteBoard_Agent::slot_gotoPage(int roomId, int, int dstPageIndex)
{
    callLogged(WB, gotoPage, ReqId(), roomId, dstPageIndex); // the library knows the document
}

void WhiteBoard_Agent::slot_gotoNextPage()
{
    callLogged(WB, gotoNextPage, ReqId());
}

void WhiteBoard_Agent::slot_gotoPrevPage()
{
    callLogged(WB, gotoPrevPage, ReqId());
}

void WhiteBoard_Agent::slot_drawUndo(int type)
{
    callLogged(WB, drawUndo, ReqId(), type);
}

void WhiteBoard_Agent::slot_drawRedo()
{
    callLogged(WB, drawRedo, ReqId());
}

void WhiteBoard_Agent::slot_setZoomState(int mode)
{
    callLogged(WB, setZoomState, mode);
}

void WhiteBoard_Agent::slot_scale(int mode, float ratio, int pX, int pY)
{
    callLogged(WB, scale, ReqId(), mode, 0, ratio, pX, pY);
}

void WhiteBoard_Agent::slot_move(int, int, int, int)
{
    tq::logInfo("%1", WB); // the library pans by itself
}

void WhiteBoard_Agent::slot_BindWindows(void *handle, int x, int y, int width, int height)
{
    callLogged(WB, BindWindows, handle, x, y, width, height);
}

void WhiteBoard_Agent::slot_handleWindowsProc(void *hWnd, unsigned int uMsg, unsigned int wParam,
                                              unsigned int lParam)
{
    // Unlogged: mouse moves come many a second. Widened as the library takes them.
    handleWindowsProc(hWnd, uMsg, uintptr_t(wParam), intptr_t(quint32(lParam)), 0);
}
