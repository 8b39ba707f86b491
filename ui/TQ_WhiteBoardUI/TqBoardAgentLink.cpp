#include "TqBoardAgentLink.h"

#include "TqBoardState.h"

#include <WhiteBoard_Agent.h>

void TqBoardAgentLink::link(TqBoardState *state, WhiteBoard_Agent *agent)
{
    using S = TqBoardState;
    using A = WhiteBoard_Agent;
    QObject::connect(state, &S::setSdkVarsRequest, agent, &A::slot_wbssSetSDKVars);
    QObject::connect(state, &S::startNetworkRequest, agent, &A::slot_wbssStartNetwork);
    QObject::connect(state, &S::createRoomRequest, agent, &A::slot_createRoom);
    QObject::connect(state, &S::joinRoomRequest, agent, &A::slot_joinRoom);
    QObject::connect(state, &S::leaveRoomRequest, agent, &A::slot_leaveRoom);
    QObject::connect(state, &S::getRoomMemberRequest, agent, &A::slot_getRoomMember);
    QObject::connect(state, &S::changeMemberAuthRequest, agent, &A::slot_changeMemberAuth);
    QObject::connect(state, &S::uploadFileRequest, agent, &A::slot_wbssUploadFile);
    QObject::connect(state, &S::shareDocRequest, agent, &A::slot_shareDoc);
    QObject::connect(state, &S::gotoNextPageRequest, agent, &A::slot_gotoNextPage);
    QObject::connect(state, &S::gotoPrevPageRequest, agent, &A::slot_gotoPrevPage);
    QObject::connect(state, &S::setLineShapeRequest, agent, &A::slot_setLineShape);
    QObject::connect(state, &S::setLineColorRequest, agent, &A::slot_setLineColor);
    QObject::connect(state, &S::setLineWidthRequest, agent, &A::slot_setLineWidth);
    QObject::connect(state, &S::getEraserRequest, agent, &A::slot_getEraser);
    QObject::connect(state, &S::getPenRequest, agent, &A::slot_getPen);
    QObject::connect(state, &S::drawUndoRequest, agent, &A::slot_drawUndo);
    QObject::connect(state, &S::drawRedoRequest, agent, &A::slot_drawRedo);
    QObject::connect(state, &S::currentPageDrawingClearRequest, agent,
                     &A::slot_currentPageDrawingClear);
    QObject::connect(state, &S::setZoomStateRequest, agent, &A::slot_setZoomState);
    QObject::connect(state, &S::scaleRequest, agent, &A::slot_scale);
    QObject::connect(state, &S::bindWindowsRequest, agent, &A::slot_BindWindows);
    QObject::connect(state, &S::windowMessageRequest, agent, &A::slot_handleWindowsProc);

    QObject::connect(agent, &A::sig_onTcpConnected, state, &S::onTcpConnected);
    QObject::connect(agent, &A::sig_onTcpConnectError, state, &S::onTcpConnectError);
    QObject::connect(agent, &A::sig_onCreateRoom, state, &S::onCreateRoom);
    QObject::connect(agent, &A::sig_onJoinRoom, state, &S::onJoinRoom);
    QObject::connect(agent, &A::sig_onLeaveRoom, state, &S::onLeaveRoom);
    QObject::connect(agent, &A::sig_onMemberJoinNotify, state, &S::onMemberJoinNotify);
    QObject::connect(agent, &A::sig_onMemberLeaveNotify, state, &S::onMemberLeaveNotify);
    QObject::connect(agent, &A::sig_onGetRoomMember, state, &S::onGetRoomMember);
    QObject::connect(agent, &A::sig_onChangeMemberAuthNotify, state, &S::onChangeMemberAuthNotify);
    QObject::connect(agent, &A::sig_onKickOutNotify, state, &S::onKickOutNotify);
    QObject::connect(agent, &A::sig_onUploadFile, state, &S::onUploadFile);
    QObject::connect(agent, &A::sig_onRateOfProgress, state, &S::onRateOfProgress);
    QObject::connect(agent, &A::sig_onDocConvertNotify, state, &S::onDocConvertNotify);
    QObject::connect(agent, &A::sig_onShareDoc, state, &S::onShareDoc);
    QObject::connect(agent, &A::sig_onShareDocNotify, state, &S::onShareDocNotify);
    QObject::connect(agent, &A::sig_onGotoPage, state, &S::onGotoPage);
    QObject::connect(agent, &A::sig_onGotoPageNotify, state, &S::onGotoPageNotify);
    QObject::connect(agent, &A::sig_onDrawUndo, state, &S::onDrawUndo);
    QObject::connect(agent, &A::sig_onDrawRedo, state, &S::onDrawRedo);
    QObject::connect(agent, &A::sig_onCurrentPageDrawingClear, state,
                     &S::onCurrentPageDrawingClear);
}
