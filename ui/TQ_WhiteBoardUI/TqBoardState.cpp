#include "TqBoardState.h"

#include "TqBoardCodes.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

using namespace TqBoardCode;

TqBoardState::TqBoardState(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<TqBoardState::Problem>();
}

void TqBoardState::start(const QString &account, const QString &dataPath)
{
    if (account.isEmpty() || (account == m_account && m_phase != Phase::Offline))
        return;
    stop();
    m_account = account;
    setPhase(Phase::Connecting);
    emit setSdkVarsRequest(account, QString(), QStringLiteral("tq"), dataPath,
                           QStringLiteral("[]"));
    emit startNetworkRequest(0);
}

void TqBoardState::stop()
{
    if (m_roomId != 0)
        emit leaveRoomRequest(m_roomId);
    leftRoom();
    m_documents.clear();
    m_connected = false;
    m_account.clear();
    setPhase(Phase::Offline);
}

bool TqBoardState::isHost() const
{
    for (const Member &m : m_members)
        if (m.userId == m_account)
            return m.role == RoleHost;
    return false;
}

bool TqBoardState::canDraw() const
{
    for (const Member &m : m_members)
        if (m.userId == m_account)
            return m.canDraw;
    return false;
}

void TqBoardState::setPhase(Phase phase)
{
    m_phase = phase;
    emit changed();
}

// ---- requests ---------------------------------------------------------------------------------

void TqBoardState::createRoom(const QString &password)
{
    if (m_phase != Phase::Ready)
        return;
    m_password = password;
    setPhase(Phase::Creating);
    emit createRoomRequest(RoomTypeBoard, 0, password, RoleHost);
}

void TqBoardState::joinRoom(int roomId, const QString &password)
{
    if (m_phase != Phase::Ready || roomId <= 0)
        return;
    m_password = password;
    setPhase(Phase::Joining);
    emit joinRoomRequest(roomId, password, RolePresenter);
}

void TqBoardState::leaveRoom()
{
    if (m_phase != Phase::InRoom)
        return;
    setPhase(Phase::Leaving);
    emit leaveRoomRequest(m_roomId);
}

void TqBoardState::uploadFile(const QString &path)
{
    if (m_phase != Phase::InRoom || m_uploading || path.isEmpty())
        return;
    m_uploading = true;
    m_uploadName = QFileInfo(path).fileName();
    m_uploadDone = 0;
    m_uploadTotal = qulonglong(std::max<qint64>(0, QFileInfo(path).size()));
    emit changed();
    emit uploadFileRequest(m_roomId, FileAuto, path, QString(), QString());
}

void TqBoardState::shareDocument(int docId)
{
    if (m_phase != Phase::InRoom || docId <= 0)
        return;
    m_sharing = docId;
    emit shareDocRequest(m_roomId, docId);
}

void TqBoardState::nextPage()
{
    if (m_sharedDoc != 0 && m_pageIndex + 1 < m_pageNum)
        emit gotoNextPageRequest();
}

void TqBoardState::previousPage()
{
    if (m_sharedDoc != 0 && m_pageIndex > 0)
        emit gotoPrevPageRequest();
}

void TqBoardState::zoomIn(const QPoint &around)
{
    if (m_phase != Phase::InRoom || m_zoom >= MaxZoom)
        return;
    m_zoom = std::min(MaxZoom, m_zoom * 5 / 4);
    emit scaleRequest(ScaleIn, 1.25f, around.x(), around.y());
    emit changed();
}

void TqBoardState::zoomOut(const QPoint &around)
{
    if (m_phase != Phase::InRoom || m_zoom <= MinZoom)
        return;
    m_zoom = std::max(MinZoom, m_zoom * 4 / 5);
    emit scaleRequest(ScaleOut, 1.25f, around.x(), around.y());
    emit changed();
}

void TqBoardState::zoomToFit()
{
    if (m_phase != Phase::InRoom)
        return;
    m_zoom = 100;
    emit setZoomStateRequest(ZoomFitPage);
    emit changed();
}

void TqBoardState::setTool(Tool tool)
{
    m_tool = tool;
    sendTool();
    emit changed();
}

void TqBoardState::sendTool()
{
    if (m_phase != Phase::InRoom)
        return;
    switch (m_tool) {
    case Tool::Eraser:
        emit getEraserRequest(m_roomId);
        return;
    case Tool::Pen:
    case Tool::Marker:
        emit getPenRequest(m_roomId, m_tool == Tool::Marker ? PenMarker : PenPencil);
        emit setLineShapeRequest(m_roomId, ShapeFree);
        return;
    case Tool::Line:
        emit setLineShapeRequest(m_roomId, ShapeLine);
        return;
    case Tool::Rectangle:
        emit setLineShapeRequest(m_roomId, ShapeRect);
        return;
    case Tool::Ellipse:
        emit setLineShapeRequest(m_roomId, ShapeEllipse);
        return;
    }
}

void TqBoardState::setColor(const QColor &color)
{
    if (!color.isValid())
        return;
    m_color = color;
    if (m_phase == Phase::InRoom)
        emit setLineColorRequest(m_roomId, color.red(), color.green(), color.blue(), color.alpha());
    emit changed();
}

void TqBoardState::setLineWidth(int width)
{
    m_lineWidth = std::max(1, std::min(width, 40));
    if (m_phase == Phase::InRoom)
        emit setLineWidthRequest(m_roomId, m_lineWidth);
    emit changed();
}

void TqBoardState::undo()
{
    if (canUndo())
        emit drawUndoRequest(UndoOwn);
}

void TqBoardState::redo()
{
    if (canRedo())
        emit drawRedoRequest();
}

void TqBoardState::clearMyDrawing()
{
    if (m_phase == Phase::InRoom)
        emit currentPageDrawingClearRequest(m_roomId, m_account);
}

void TqBoardState::setMemberDrawing(const QString &userId, bool allowed)
{
    if (m_phase != Phase::InRoom || !isHost() || userId == m_account)
        return;
    emit changeMemberAuthRequest(m_roomId, userId, AuthDraw, allowed ? 1u : 0u);
}

void TqBoardState::bindSurface(void *handle, const QRect &rect)
{
    if (handle == m_surface && rect == m_surfaceRect)
        return;
    m_surface = handle;
    m_surfaceRect = rect;
    emit bindWindowsRequest(handle, rect.x(), rect.y(), rect.width(), rect.height());
}

void TqBoardState::forwardMessage(void *handle, unsigned msg, unsigned wParam, unsigned lParam)
{
    if (m_phase == Phase::InRoom && handle && handle == m_surface)
        emit windowMessageRequest(handle, msg, wParam, lParam);
}

void TqBoardState::noteOwnStroke()
{
    if (m_phase != Phase::InRoom || !canDraw())
        return;
    ++m_undoable;
    m_redoable = 0;
    emit changed();
}

void TqBoardState::resetUndo()
{
    m_undoable = 0;
    m_redoable = 0;
}

// ---- results ----------------------------------------------------------------------------------

void TqBoardState::onTcpConnected(int result, const QString &, int)
{
    m_connected = result == ResultOk;
    if (m_phase == Phase::Connecting)
        setPhase(m_connected ? Phase::Ready : Phase::Offline);
    if (!m_connected)
        emit problem(Problem::ConnectFailed);
}

void TqBoardState::onTcpConnectError(int, const QString &, int)
{
    m_connected = false;
    if (m_phase == Phase::Connecting)
        setPhase(Phase::Offline);
    emit problem(Problem::ConnectFailed);
}

void TqBoardState::onCreateRoom(int result, int roomId)
{
    if (m_phase != Phase::Creating)
        return;
    if (result != ResultOk || roomId <= 0) {
        setPhase(Phase::Ready);
        emit problem(Problem::CreateFailed);
        return;
    }
    // The creator joins the room it made, as its host.
    setPhase(Phase::Joining);
    emit joinRoomRequest(roomId, m_password, RoleHost);
}

void TqBoardState::onJoinRoom(int result, const QString &json)
{
    if (m_phase != Phase::Joining)
        return;
    if (result != ResultOk) {
        setPhase(Phase::Ready);
        emit problem(result == 403       ? Problem::WrongPassword
                         : result == 409 ? Problem::RoomFull
                                         : Problem::JoinFailed);
        return;
    }
    const int roomId
        = QJsonDocument::fromJson(json.toUtf8()).object().value(QLatin1String("roomId")).toInt();
    enterRoom(roomId, json);
}

void TqBoardState::enterRoom(int roomId, const QString &json)
{
    m_roomId = roomId;
    readMembers(json);
    m_sharedDoc = 0;
    m_pageIndex = 0;
    m_pageNum = 0;
    m_zoom = 100;
    resetUndo();
    m_phase = Phase::InRoom;
    // The library starts every session with its own defaults: send ours.
    sendTool();
    emit setLineColorRequest(m_roomId, m_color.red(), m_color.green(), m_color.blue(),
                             m_color.alpha());
    emit setLineWidthRequest(m_roomId, m_lineWidth);
    emit changed();
}

void TqBoardState::onLeaveRoom(int)
{
    if (m_phase != Phase::Leaving)
        return;
    leftRoom();
    setPhase(m_connected ? Phase::Ready : Phase::Offline);
}

void TqBoardState::leftRoom()
{
    m_roomId = 0;
    m_members.clear();
    m_sharedDoc = 0;
    m_pageIndex = 0;
    m_pageNum = 0;
    m_uploading = false;
    resetUndo();
}

void TqBoardState::readMembers(const QString &json)
{
    m_members.clear();
    const QJsonArray list
        = QJsonDocument::fromJson(json.toUtf8()).object().value(QLatin1String("members")).toArray();
    for (const QJsonValue &v : list) {
        const QJsonObject o = v.toObject();
        Member m;
        m.userId = o.value(QLatin1String("userId")).toString();
        m.role = o.value(QLatin1String("role")).toInt();
        m.canDraw = o.value(QLatin1String("draw")).toBool();
        if (!m.userId.isEmpty())
            m_members.append(m);
    }
}

void TqBoardState::onMemberJoinNotify(const QString &userId)
{
    if (m_phase != Phase::InRoom || userId.isEmpty())
        return;
    emit getRoomMemberRequest(m_roomId); // the notice carries no rights
}

void TqBoardState::onMemberLeaveNotify(const QString &userId)
{
    if (m_phase != Phase::InRoom)
        return;
    for (int i = m_members.size() - 1; i >= 0; --i)
        if (m_members.at(i).userId == userId)
            m_members.removeAt(i);
    emit changed();
}

void TqBoardState::onGetRoomMember(int result, const QString &json)
{
    if (m_phase != Phase::InRoom || result != ResultOk)
        return;
    readMembers(json);
    emit changed();
}

void TqBoardState::onChangeMemberAuthNotify(const QString &userId, unsigned int type,
                                            unsigned int auth)
{
    if (m_phase != Phase::InRoom)
        return;
    for (Member &m : m_members) {
        if (m.userId != userId)
            continue;
        if (type == AuthDraw) {
            m.canDraw = auth != 0;
        } else if (type == AuthRole) {
            m.role = int(auth);
            m.canDraw = m.role != RoleViewer;
        }
    }
    emit changed();
}

void TqBoardState::onKickOutNotify(int roomId, const QString &userId)
{
    if (m_phase != Phase::InRoom || roomId != m_roomId)
        return;
    if (userId == m_account) {
        leftRoom();
        setPhase(Phase::Ready);
        return;
    }
    onMemberLeaveNotify(userId);
}

void TqBoardState::onUploadFile(int result, int docId)
{
    if (!m_uploading)
        return;
    m_uploading = false;
    if (result != ResultOk) {
        emit changed();
        emit problem(Problem::UploadFailed);
        return;
    }
    m_uploadDone = m_uploadTotal;
    m_documents.append(Document{docId, m_uploadName, 0});
    emit changed();
}

void TqBoardState::onRateOfProgress(unsigned long long done, unsigned long long total)
{
    if (!m_uploading)
        return;
    m_uploadDone = done;
    m_uploadTotal = total;
    emit changed();
}

void TqBoardState::onDocConvertNotify(int, int result, int roomId, int docId, int pageNum,
                                      const QString &fileName)
{
    if (roomId != m_roomId || result != ResultOk)
        return;
    for (Document &d : m_documents) {
        if (d.docId != docId)
            continue;
        d.pages = pageNum;
        if (!fileName.isEmpty())
            d.name = fileName;
        emit changed();
        return;
    }
    m_documents.append(Document{docId, fileName, pageNum});
    emit changed();
}

void TqBoardState::onShareDoc(int result, int pageIndex, int pageNum)
{
    if (m_phase != Phase::InRoom)
        return;
    if (result != ResultOk) {
        emit problem(result == 403 ? Problem::NotAllowed : Problem::ShareFailed);
        return;
    }
    m_sharedDoc = m_sharing; // the answer does not name the document
    m_pageIndex = pageIndex;
    m_pageNum = pageNum;
    resetUndo();
    emit changed();
}

void TqBoardState::onShareDocNotify(int roomId, int docId, int pageIndex, int pageNum)
{
    if (m_phase != Phase::InRoom || roomId != m_roomId)
        return;
    m_sharedDoc = docId;
    m_pageIndex = pageIndex;
    m_pageNum = pageNum;
    resetUndo();
    emit changed();
}

void TqBoardState::onGotoPage(int result, int pageIndex, int pageNum)
{
    if (m_phase != Phase::InRoom || result != ResultOk)
        return;
    if (pageIndex != m_pageIndex)
        resetUndo();
    m_pageIndex = pageIndex;
    m_pageNum = pageNum;
    emit changed();
}

void TqBoardState::onGotoPageNotify(const QString &, int roomId, int docId, int pageIndex,
                                    int pageNum)
{
    if (m_phase != Phase::InRoom || roomId != m_roomId)
        return;
    m_sharedDoc = docId;
    onGotoPage(ResultOk, pageIndex, pageNum);
}

void TqBoardState::onDrawUndo(int result)
{
    if (result != ResultOk || m_undoable == 0)
        return;
    --m_undoable;
    ++m_redoable;
    emit changed();
}

void TqBoardState::onDrawRedo(int result)
{
    if (result != ResultOk || m_redoable == 0)
        return;
    --m_redoable;
    ++m_undoable;
    emit changed();
}

void TqBoardState::onCurrentPageDrawingClear(int result, int roomId)
{
    if (result != ResultOk || roomId != m_roomId)
        return;
    resetUndo();
    emit changed();
}
