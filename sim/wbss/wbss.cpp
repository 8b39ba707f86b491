// The stand-in whiteboard library's C functions: each journals its call, changes this
// client's session or the simulated server, and answers on the library's thread.

#include "Board.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

using namespace wbsim;

namespace {

using Lock = std::lock_guard<std::mutex>;

template<class Entry, class... Args> void call(Entry WbssCallbackTable::*entry, Args... args)
{
    Control::callEntry(entry, args...);
}

Board &board()
{
    return Board::get();
}

// A member of the joined room that may host it.
bool isHostLocked(const Board &b, int roomId)
{
    for (const Member &m : b.session.rooms.value(roomId))
        if (m.userId == b.session.userId)
            return m.role == WBSS_ROLE_HOST;
    return false;
}

void readDocument(Document &doc, const QByteArray &bytes)
{
    if (doc.image.loadFromData(bytes)) {
        doc.pages = 1;
        return;
    }
    doc.image = QImage();
    if (bytes.contains('\0')) { // not text: blank pages, one per 64 KiB
        doc.pages = std::max(1, int((bytes.size() + 65535) / 65536));
        return;
    }
    doc.lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    if (!doc.lines.isEmpty() && doc.lines.last().isEmpty())
        doc.lines.removeLast();
    doc.pages = std::max(1, int((doc.lines.size() + kLinesPerPage - 1) / kLinesPerPage));
}

// Reads the file in pieces, reporting each, then converts it into pages.
void runUpload(int reqId, int roomId, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        call(&WbssCallbackTable::onUploadFile, reqId, int(WBSS_RESULT_NOT_FOUND), 0);
        return;
    }
    const quint64 size = quint64(file.size());
    const qint64 piece = std::max<qint64>(16 * 1024, qint64(size / 8) + 1);
    QByteArray bytes;
    call(&WbssCallbackTable::onRateOfProgress, reqId, uint64_t(0), uint64_t(size));
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(piece);
        if (chunk.isEmpty())
            break;
        bytes += chunk;
        call(&WbssCallbackTable::onRateOfProgress, reqId, uint64_t(bytes.size()), uint64_t(size));
    }
    Document doc;
    doc.fileName = QFileInfo(path).fileName();
    readDocument(doc, bytes);
    Board &b = board();
    {
        Lock lock(b.mutex);
        doc.id = b.nextDoc++;
        b.documents.insert(doc.id, doc);
        b.session.documents.insert(doc.id, doc.fileName);
        b.session.documentPages.insert(doc.id, doc.pages);
    }
    const QByteArray name = doc.fileName.toUtf8();
    call(&WbssCallbackTable::onUploadFile, reqId, int(WBSS_RESULT_OK), doc.id);
    call(&WbssCallbackTable::onDocConvertNotify, reqId, int(WBSS_RESULT_OK), roomId, doc.id,
         doc.pages, name.constData());
    for (int i = 0; i < doc.pages; ++i)
        call(&WbssCallbackTable::onDocPngOne, int(WBSS_RESULT_OK), roomId, doc.id, i, doc.pages);
    call(&WbssCallbackTable::onDocPngReady, int(WBSS_RESULT_OK), roomId, doc.id, doc.pages);
}

// Moves to page `index` of the shared document; answers through onGotoPage.
void answerGotoPage(int reqId, std::function<int(int current)> target)
{
    Board &b = board();
    int result = WBSS_RESULT_OK;
    int index = 0;
    int num = 0;
    {
        Lock lock(b.mutex);
        const int wanted = target(b.session.pageIndex);
        if (b.session.sharedDoc == 0 || wanted < 0 || wanted >= b.session.pageNum) {
            result = WBSS_RESULT_NOT_FOUND;
        } else {
            b.session.pageIndex = wanted;
            b.syncPageLocked();
        }
        index = b.session.pageIndex;
        num = b.session.pageNum;
    }
    call(&WbssCallbackTable::onGotoPage, reqId, result, index, num);
    repaintWindow();
}

int colorPart(int v)
{
    return (v < 0 || v > 255) ? -1 : v;
}

QPoint pointOf(intptr_t lParam)
{
    const auto bits = static_cast<std::uint32_t>(lParam);
    return QPoint(static_cast<std::int16_t>(bits & 0xFFFF),
                  static_cast<std::int16_t>((bits >> 16) & 0xFFFF));
}

} // namespace

// Board coordinates of a point in the bound window (Surface.cpp).
namespace wbsim {
QPointF toPageLocked(const Board &b, const QPoint &windowPoint);
}

extern "C" {

int WBSS_CALL wbssInitialize(WbssCallbackTable *table)
{
    Request r("wbssInitialize", false);
    r.arg(static_cast<const void *>(table));
    if (!table) {
        r.refuse(WBSS_ERR_INVALID_ARGUMENT);
        return r.result();
    }
    if (!r.accepted())
        return r.result();
    Board &b = board();
    b.table.store(table);
    b.dispatcher.start();
    Lock lock(b.mutex);
    b.session.initialized = true;
    return r.result();
}

int WBSS_CALL wbssUninitialize(void)
{
    Request r("wbssUninitialize", false);
    Board &b = board();
    b.table.store(nullptr);
    b.dispatcher.stop(); // no callback runs once this returns
    {
        Lock lock(b.mutex);
        b.session.initialized = false;
        b.session.connected = false;
        b.session.roomId = 0;
        b.drawing = false;
    }
    return r.result();
}

int WBSS_CALL wbssSetTraceFlag(int enable, const char *logFileName, int level)
{
    Request r("wbssSetTraceFlag", false);
    r.arg(enable).text(logFileName).arg(level);
    return r.result();
}

const char *WBSS_CALL wbssGetVersion(void)
{
    Request r("wbssGetVersion", false);
    return board().version.constData();
}

int WBSS_CALL wbssSetSDKVars(const char *userId, const char *authKey, const char *appId,
                             const char *dataPath, const char *serveraddrs_json)
{
    Request r("wbssSetSDKVars", false);
    r.text(userId).text(authKey).text(appId).text(dataPath).text(serveraddrs_json);
    if (!r.accepted())
        return r.result();
    Board &b = board();
    Lock lock(b.mutex);
    b.session.userId = QString::fromUtf8(userId ? userId : "");
    const QJsonArray servers
        = QJsonDocument::fromJson(QByteArray(serveraddrs_json ? serveraddrs_json : "")).array();
    const QJsonObject first = servers.at(0).toObject();
    if (first.contains(QLatin1String("ip"))) {
        b.serverIp = first.value(QLatin1String("ip")).toString();
        b.serverPort = first.value(QLatin1String("port")).toInt(b.serverPort);
    }
    return r.result();
}

int WBSS_CALL wbssSetTimeOut(int resTimeOut, int docNotifyTimeOut)
{
    Request r("wbssSetTimeOut", false);
    r.arg(resTimeOut).arg(docNotifyTimeOut);
    return r.result();
}

static void answerConnect(Request &r)
{
    Board &b = board();
    r.answer([&b] {
        QByteArray ip;
        int port = 0;
        bool ok = false;
        {
            Lock lock(b.mutex);
            ok = !b.session.userId.isEmpty();
            b.session.connected = ok;
            ip = b.serverIp.toUtf8();
            port = b.serverPort;
        }
        if (ok)
            call(&WbssCallbackTable::onTcpConnected, int(WBSS_RESULT_OK), ip.constData(), port);
        else
            call(&WbssCallbackTable::onTcpConnectError, int(WBSS_RESULT_FORBIDDEN), ip.constData(),
                 port);
    });
}

int WBSS_CALL wbssReinitConnection(void)
{
    Request r("wbssReinitConnection");
    answerConnect(r);
    return r.result();
}

int WBSS_CALL wbssStartNetwork(int roomId)
{
    Request r("wbssStartNetwork");
    r.arg(roomId);
    answerConnect(r);
    return r.result();
}

int WBSS_CALL wbssStopNetwork(void)
{
    Request r("wbssStopNetwork");
    if (r.accepted()) {
        Lock lock(board().mutex);
        board().session.connected = false;
    }
    return r.result();
}

int WBSS_CALL wbssUploadFile(int *reqId, int roomId, int fileType, const char *fileName,
                             const char *sessionId, const char *extOpts)
{
    Request r("wbssUploadFile");
    r.arg(roomId).arg(fileType).text(fileName).text(sessionId).text(extOpts);
    const QString path = QString::fromLocal8Bit(fileName ? fileName : "");
    if (r.accepted()) {
        Lock lock(board().mutex);
        if (board().session.roomId == 0 || board().session.roomId != roomId)
            r.refuse(WBSS_ERR_NOT_IN_ROOM);
        else if (path.isEmpty() || !QFileInfo(path).isFile() || !QFileInfo(path).isReadable())
            r.refuse(WBSS_ERR_FILE);
    }
    const int id = r.issue(reqId);
    r.answer([id, roomId, path] { runUpload(id, roomId, path); });
    return r.result();
}

int WBSS_CALL createRoom(int *reqId, int roomType, int memberLimit, const char *password,
                         int roleId)
{
    Request r("createRoom");
    r.arg(roomType).arg(memberLimit).text(password).arg(roleId);
    const int id = r.issue(reqId);
    const QByteArray secret(password ? password : "");
    r.answer([id, roomType, memberLimit, secret] {
        Board &b = board();
        int roomId = 0;
        {
            Lock lock(b.mutex);
            roomId = b.nextRoom++;
            b.session.rooms.insert(roomId, {});
            b.rules.insert(roomId, Board::RoomRules{roomType, std::max(0, memberLimit), secret});
        }
        call(&WbssCallbackTable::onCreateRoom, id, int(WBSS_RESULT_OK), roomId);
    });
    return r.result();
}

int WBSS_CALL joinRoom(int *reqId, int roomId, const char *password, int roleId)
{
    Request r("joinRoom");
    r.arg(roomId).text(password).arg(roleId);
    const int id = r.issue(reqId);
    const QByteArray secret(password ? password : "");
    r.answer([id, roomId, secret, roleId] {
        Board &b = board();
        int result = WBSS_RESULT_OK;
        QByteArray json;
        QByteArray self;
        {
            Lock lock(b.mutex);
            auto room = b.session.rooms.find(roomId);
            const Board::RoomRules rules = b.rules.value(roomId);
            if (room == b.session.rooms.end()) {
                result = WBSS_RESULT_NOT_FOUND;
            } else if (rules.password != secret) {
                result = WBSS_RESULT_FORBIDDEN;
            } else {
                QList<Member> &members = *room;
                for (int i = members.size() - 1; i >= 0; --i)
                    if (members.at(i).userId == b.session.userId)
                        members.removeAt(i);
                if (rules.memberLimit > 0 && members.size() >= rules.memberLimit) {
                    result = WBSS_RESULT_FULL;
                } else {
                    // The first to join hosts the room.
                    const int role = members.isEmpty() ? WBSS_ROLE_HOST : roleId;
                    members.append(Member{b.session.userId, role, role != WBSS_ROLE_VIEWER});
                    b.session.roomId = roomId;
                    b.session.sharedDoc = 0;
                    b.session.pageIndex = 0;
                    b.session.pageNum = 0;
                    b.syncPageLocked();
                    json = b.membersJsonLocked(roomId);
                }
            }
        }
        // A refusal carries no member list.
        call(&WbssCallbackTable::onJoinRoom, id, result,
             result == WBSS_RESULT_OK ? json.constData() : nullptr);
        repaintWindow();
    });
    return r.result();
}

int WBSS_CALL deleteRoom(int *reqId, int roomId)
{
    Request r("deleteRoom");
    r.arg(roomId);
    const int id = r.issue(reqId);
    r.answer([id, roomId] {
        Board &b = board();
        int result = WBSS_RESULT_OK;
        {
            Lock lock(b.mutex);
            if (!b.session.rooms.contains(roomId)) {
                result = WBSS_RESULT_NOT_FOUND;
            } else if (!b.session.rooms.value(roomId).isEmpty() && !isHostLocked(b, roomId)) {
                result = WBSS_RESULT_FORBIDDEN;
            } else {
                b.session.rooms.remove(roomId);
                b.rules.remove(roomId);
                if (b.session.roomId == roomId)
                    b.session.roomId = 0;
            }
        }
        call(&WbssCallbackTable::onDeleteRoom, id, result);
        repaintWindow();
    });
    return r.result();
}

int WBSS_CALL leaveRoom(int *reqId, int roomId)
{
    Request r("leaveRoom");
    r.arg(roomId);
    const int id = r.issue(reqId);
    r.answer([id, roomId] {
        Board &b = board();
        int result = WBSS_RESULT_OK;
        {
            Lock lock(b.mutex);
            if (b.session.roomId != roomId || roomId == 0) {
                result = WBSS_RESULT_NOT_FOUND;
            } else {
                QList<Member> &members = b.session.rooms[roomId];
                for (int i = members.size() - 1; i >= 0; --i)
                    if (members.at(i).userId == b.session.userId)
                        members.removeAt(i);
                b.session.roomId = 0;
                b.session.sharedDoc = 0;
                b.session.pageIndex = 0;
                b.session.pageNum = 0;
                b.drawing = false;
                b.syncPageLocked();
            }
        }
        call(&WbssCallbackTable::onLeaveRoom, id, result);
        repaintWindow();
    });
    return r.result();
}

int WBSS_CALL getRoomMember(int *reqId, int roomId)
{
    Request r("getRoomMember");
    r.arg(roomId);
    const int id = r.issue(reqId);
    r.answer([id, roomId] {
        Board &b = board();
        QByteArray json;
        bool found = false;
        {
            Lock lock(b.mutex);
            found = b.session.rooms.contains(roomId);
            json = b.membersJsonLocked(roomId);
        }
        call(&WbssCallbackTable::onGetRoomMember, id,
             int(found ? WBSS_RESULT_OK : WBSS_RESULT_NOT_FOUND),
             found ? json.constData() : nullptr);
    });
    return r.result();
}

int WBSS_CALL changeMemberAuth(int *reqId, int roomId, const char *userId, unsigned int type,
                               unsigned int authId)
{
    Request r("changeMemberAuth");
    r.arg(roomId).text(userId).arg(type).arg(authId);
    const int id = r.issue(reqId);
    const QString who = QString::fromUtf8(userId ? userId : "");
    r.answer([id, roomId, who, type, authId] {
        Board &b = board();
        int result = WBSS_RESULT_NOT_FOUND;
        {
            Lock lock(b.mutex);
            if (b.session.rooms.contains(roomId) && !isHostLocked(b, roomId)) {
                result = WBSS_RESULT_FORBIDDEN;
            } else if (type != WBSS_AUTH_ROLE && type != WBSS_AUTH_DRAW) {
                result = WBSS_RESULT_BAD_REQUEST;
            } else {
                for (Member &m : b.session.rooms[roomId]) {
                    if (m.userId != who)
                        continue;
                    if (type == WBSS_AUTH_ROLE) {
                        m.role = int(authId);
                        m.canDraw = authId != WBSS_ROLE_VIEWER;
                    } else {
                        m.canDraw = authId != 0;
                    }
                    result = WBSS_RESULT_OK;
                }
            }
        }
        call(&WbssCallbackTable::onChangeMemberAuth, id, result);
        if (result == WBSS_RESULT_OK) {
            const QByteArray user = who.toUtf8();
            call(&WbssCallbackTable::onChangeMemberAuthNotify, user.constData(), type, authId);
        }
    });
    return r.result();
}

int WBSS_CALL shareDoc(int *reqId, int roomId, int docId)
{
    Request r("shareDoc");
    r.arg(roomId).arg(docId);
    const int id = r.issue(reqId);
    r.answer([id, roomId, docId] {
        Board &b = board();
        int result = WBSS_RESULT_OK;
        int pageNum = 0;
        {
            Lock lock(b.mutex);
            if (b.session.roomId != roomId || !b.documents.contains(docId)) {
                result = WBSS_RESULT_NOT_FOUND;
            } else if (!b.canDrawLocked()) {
                result = WBSS_RESULT_FORBIDDEN;
            } else {
                b.session.sharedDoc = docId;
                b.session.pageIndex = 0;
                b.session.pageNum = b.documents.value(docId).pages;
                b.syncPageLocked();
                pageNum = b.session.pageNum;
            }
        }
        call(&WbssCallbackTable::onShareDoc, id, result, 0, pageNum);
        repaintWindow();
    });
    return r.result();
}

int WBSS_CALL setLineShape(int roomId, int shape)
{
    Request r("setLineShape");
    r.arg(roomId).arg(shape);
    if (r.accepted() && (shape < WBSS_SHAPE_FREE || shape > WBSS_SHAPE_ELLIPSE))
        r.refuse(WBSS_ERR_INVALID_ARGUMENT);
    if (r.accepted()) {
        Lock lock(board().mutex);
        board().session.shape = shape;
        board().session.eraser = false;
    }
    return r.result();
}

int WBSS_CALL setLineColor(int roomId, int red, int green, int blue, int alpha)
{
    Request r("setLineColor");
    r.arg(roomId).arg(red).arg(green).arg(blue).arg(alpha);
    if (r.accepted()
        && (colorPart(red) < 0 || colorPart(green) < 0 || colorPart(blue) < 0
            || colorPart(alpha) < 0))
        r.refuse(WBSS_ERR_INVALID_ARGUMENT);
    if (r.accepted()) {
        Lock lock(board().mutex);
        board().session.argb = (unsigned(alpha) << 24) | (unsigned(red) << 16)
            | (unsigned(green) << 8) | unsigned(blue);
        board().session.eraser = false;
    }
    return r.result();
}

int WBSS_CALL setLineWidth(int roomId, int size)
{
    Request r("setLineWidth");
    r.arg(roomId).arg(size);
    if (r.accepted() && (size < 1 || size > 100))
        r.refuse(WBSS_ERR_INVALID_ARGUMENT);
    if (r.accepted()) {
        Lock lock(board().mutex);
        board().session.width = size;
    }
    return r.result();
}

int WBSS_CALL getEraser(int roomId)
{
    Request r("getEraser");
    r.arg(roomId);
    if (r.accepted()) {
        Lock lock(board().mutex);
        board().session.eraser = true;
    }
    return r.result();
}

int WBSS_CALL getPen(int roomId, int penType)
{
    Request r("getPen");
    r.arg(roomId).arg(penType);
    if (r.accepted()) {
        Lock lock(board().mutex);
        board().session.eraser = false;
        board().session.pen = penType;
    }
    return r.result();
}

int WBSS_CALL currentPageDrawingClear(int *reqId, int roomId, const char *userId)
{
    Request r("currentPageDrawingClear");
    r.arg(roomId).text(userId);
    const int id = r.issue(reqId);
    const QString who = QString::fromUtf8(userId ? userId : "");
    r.answer([id, roomId, who] {
        Board &b = board();
        int result = WBSS_RESULT_OK;
        {
            Lock lock(b.mutex);
            if (b.session.roomId != roomId || roomId == 0) {
                result = WBSS_RESULT_NOT_FOUND;
            } else {
                QList<Stroke> &strokes = b.strokesLocked();
                for (int i = strokes.size() - 1; i >= 0; --i)
                    if (who.isEmpty() || strokes.at(i).userId == who)
                        strokes.removeAt(i);
                b.redoLocked().clear();
                b.syncPageLocked();
            }
        }
        call(&WbssCallbackTable::onCurrentPageDrawingClear, id, result, roomId);
        repaintWindow();
    });
    return r.result();
}

int WBSS_CALL gotoPage(int *reqId, int roomId, int dstPageIndex)
{
    Request r("gotoPage");
    r.arg(roomId).arg(dstPageIndex);
    const int id = r.issue(reqId);
    r.answer([id, dstPageIndex] { answerGotoPage(id, [=](int) { return dstPageIndex; }); });
    return r.result();
}

int WBSS_CALL gotoNextPage(int *reqId)
{
    Request r("gotoNextPage");
    const int id = r.issue(reqId);
    r.answer([id] { answerGotoPage(id, [](int current) { return current + 1; }); });
    return r.result();
}

int WBSS_CALL gotoPrevPage(int *reqId)
{
    Request r("gotoPrevPage");
    const int id = r.issue(reqId);
    r.answer([id] { answerGotoPage(id, [](int current) { return current - 1; }); });
    return r.result();
}

int WBSS_CALL drawUndo(int *reqId, int type)
{
    Request r("drawUndo");
    r.arg(type);
    const int id = r.issue(reqId);
    r.answer([id, type] {
        Board &b = board();
        int result = WBSS_RESULT_NOT_FOUND;
        {
            Lock lock(b.mutex);
            QList<Stroke> &strokes = b.strokesLocked();
            for (int i = strokes.size() - 1; i >= 0; --i) {
                if (type == WBSS_UNDO_OWN && strokes.at(i).userId != b.session.userId)
                    continue;
                b.redoLocked().append(strokes.takeAt(i));
                result = WBSS_RESULT_OK;
                break;
            }
            b.syncPageLocked();
        }
        call(&WbssCallbackTable::onDrawUndo, id, result);
        repaintWindow();
    });
    return r.result();
}

int WBSS_CALL drawRedo(int *reqId)
{
    Request r("drawRedo");
    const int id = r.issue(reqId);
    r.answer([id] {
        Board &b = board();
        int result = WBSS_RESULT_NOT_FOUND;
        {
            Lock lock(b.mutex);
            QList<Stroke> &redo = b.redoLocked();
            if (!redo.isEmpty()) {
                b.strokesLocked().append(redo.takeLast());
                result = WBSS_RESULT_OK;
            }
            b.syncPageLocked();
        }
        call(&WbssCallbackTable::onDrawRedo, id, result);
        repaintWindow();
    });
    return r.result();
}

int WBSS_CALL setZoomState(int mode)
{
    Request r("setZoomState");
    r.arg(mode);
    if (r.accepted() && (mode < WBSS_ZOOM_FIT_PAGE || mode > WBSS_ZOOM_ACTUAL))
        r.refuse(WBSS_ERR_INVALID_ARGUMENT);
    if (r.accepted()) {
        Lock lock(board().mutex);
        board().session.zoom = mode;
        board().session.scale = 1.0f;
    }
    repaintWindow();
    return r.result();
}

int WBSS_CALL scale(int *reqId, int mode, int reserved, float ratio, int pX, int pY)
{
    Request r("scale");
    r.arg(mode).arg(reserved).arg(ratio).arg(pX).arg(pY);
    if (r.accepted() && (!(ratio > 0.0f) || mode < WBSS_SCALE_SET || mode > WBSS_SCALE_OUT))
        r.refuse(WBSS_ERR_INVALID_ARGUMENT);
    r.issue(reqId);
    if (r.accepted()) {
        Lock lock(board().mutex);
        float &s = board().session.scale;
        s = mode == WBSS_SCALE_SET ? ratio : mode == WBSS_SCALE_IN ? s * ratio : s / ratio;
        s = std::min(8.0f, std::max(0.125f, s));
    }
    repaintWindow();
    return r.result();
}

int WBSS_CALL BindWindows(void *handle, int x, int y, int width, int height)
{
    Request r("BindWindows", false);
    r.arg(static_cast<const void *>(handle)).arg(x).arg(y).arg(width).arg(height);
    if (r.accepted() && handle && (width < 0 || height < 0))
        r.refuse(WBSS_ERR_INVALID_ARGUMENT);
    if (r.accepted()) {
        Lock lock(board().mutex);
        board().session.window = handle;
        board().session.rect = handle ? QRect(x, y, width, height) : QRect();
        board().drawing = false;
    }
    repaintWindow();
    return r.result();
}

intptr_t WBSS_CALL handleWindowsProc(void *hWnd, unsigned int uMsg, uintptr_t wParam,
                                     intptr_t lParam, int reserved)
{
    Request r("handleWindowsProc", false);
    r.arg(static_cast<const void *>(hWnd))
        .arg(uMsg)
        .arg(static_cast<unsigned int>(wParam))
        .arg(static_cast<int>(lParam))
        .arg(reserved);
    Board &b = board();
    bool notify = false;
    bool handled = false;
    {
        Lock lock(b.mutex);
        if (!hWnd || hWnd != b.session.window)
            return 0;
        handled = true;
        const QPoint at = pointOf(lParam);
        switch (uMsg) {
        case WBSS_WM_LBUTTONDOWN:
            if (!b.session.initialized || !b.canDrawLocked()) {
                handled = false;
                break;
            }
            b.drawing = true;
            b.inProgress = Stroke{b.session.userId, b.session.eraser, b.session.shape,
                                  b.session.argb,   b.session.width,  {}};
            b.inProgress.points << toPageLocked(b, at).toPoint();
            break;
        case WBSS_WM_MOUSEMOVE:
            if (b.drawing)
                b.inProgress.points << toPageLocked(b, at).toPoint();
            break;
        case WBSS_WM_LBUTTONUP:
            if (!b.drawing)
                break;
            b.drawing = false;
            b.inProgress.points << toPageLocked(b, at).toPoint();
            b.strokesLocked().append(b.inProgress);
            b.redoLocked().clear();
            b.syncPageLocked();
            notify = true;
            break;
        case WBSS_WM_SIZE:
            b.session.rect.setSize(QSize(at.x() & 0xFFFF, at.y() & 0xFFFF));
            break;
        case WBSS_WM_PAINT:
            break;
        default:
            handled = false;
        }
    }
    if (notify)
        Control::fire(&WbssCallbackTable::onDrawNotify);
    if (handled)
        repaintWindow();
    return handled ? 1 : 0;
}

} // extern "C"
