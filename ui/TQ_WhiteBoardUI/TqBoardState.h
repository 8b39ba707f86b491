#pragma once

#include "tq_whiteboardui_export.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QRect>
#include <QString>

// The whiteboard session of the client, without widgets. Fed by WhiteBoard_Agent's results
// (the on* slots), it asks for library work through its *Request signals, which
// TqBoardAgentLink connects to the agent's slots. One room at a time. User-interface thread
// only.
class TQ_WHITEBOARDUI_EXPORT TqBoardState : public QObject
{
    Q_OBJECT
public:
    enum class Phase { Offline, Connecting, Ready, Creating, Joining, InRoom, Leaving };
    Q_ENUM(Phase)
    enum class Tool { Pen, Marker, Line, Rectangle, Ellipse, Eraser };
    Q_ENUM(Tool)
    enum class Problem {
        ConnectFailed,
        CreateFailed,
        JoinFailed,
        WrongPassword,
        RoomFull,
        UploadFailed,
        ShareFailed,
        NotAllowed
    };
    Q_ENUM(Problem)

    struct Member
    {
        QString userId;
        int role = 0;
        bool canDraw = false;
        bool operator==(const Member &o) const
        {
            return userId == o.userId && role == o.role && canDraw == o.canDraw;
        }
    };
    struct Document
    {
        int docId = 0;
        QString name;
        int pages = 0; // 0 until converted
    };

    static constexpr int MinZoom = 25;
    static constexpr int MaxZoom = 400;

    explicit TqBoardState(QObject *parent = nullptr);

    // Connects `account` to the whiteboard server (once per account).
    void start(const QString &account, const QString &dataPath);
    // Leaves the room, if any, and forgets the session.
    void stop();

    Phase phase() const { return m_phase; }
    bool isConnected() const { return m_connected; }
    QString account() const { return m_account; }
    int roomId() const { return m_roomId; }
    QString password() const { return m_password; }
    QList<Member> members() const { return m_members; }
    bool isHost() const;
    bool canDraw() const;

    QList<Document> documents() const { return m_documents; }
    bool isUploading() const { return m_uploading; }
    qulonglong uploadDone() const { return m_uploadDone; }
    qulonglong uploadTotal() const { return m_uploadTotal; }
    int sharedDoc() const { return m_sharedDoc; }
    int pageIndex() const { return m_pageIndex; }
    int pageCount() const { return m_pageNum; }

    Tool tool() const { return m_tool; }
    QColor color() const { return m_color; }
    int lineWidth() const { return m_lineWidth; }
    int zoomPercent() const { return m_zoom; }
    bool canUndo() const { return m_undoable > 0; }
    bool canRedo() const { return m_redoable > 0; }

    // What the widgets ask for.
    void createRoom(const QString &password);
    void joinRoom(int roomId, const QString &password);
    void leaveRoom();
    void uploadFile(const QString &path);
    void shareDocument(int docId);
    void nextPage();
    void previousPage();
    void zoomIn(const QPoint &around);
    void zoomOut(const QPoint &around);
    void zoomToFit();
    void setTool(Tool tool);
    void setColor(const QColor &color);
    void setLineWidth(int width);
    void undo();
    void redo();
    void clearMyDrawing();
    void setMemberDrawing(const QString &userId, bool allowed);
    // The drawing surface: its native handle and rectangle, its mouse messages, and the end
    // of a stroke of one's own.
    void bindSurface(void *handle, const QRect &rect);
    void forwardMessage(void *handle, unsigned msg, unsigned wParam, unsigned lParam);
    void noteOwnStroke();

public slots:
    void onTcpConnected(int result, const QString &serverIp, int port);
    void onTcpConnectError(int result, const QString &serverIp, int port);
    void onCreateRoom(int result, int roomId);
    void onJoinRoom(int result, const QString &json);
    void onLeaveRoom(int result);
    void onMemberJoinNotify(const QString &userId);
    void onMemberLeaveNotify(const QString &userId);
    void onGetRoomMember(int result, const QString &json);
    void onChangeMemberAuthNotify(const QString &userId, unsigned int type, unsigned int auth);
    void onKickOutNotify(int roomId, const QString &userId);
    void onUploadFile(int result, int docId);
    void onRateOfProgress(unsigned long long done, unsigned long long total);
    void onDocConvertNotify(int reqId, int result, int roomId, int docId, int pageNum,
                            const QString &fileName);
    void onShareDoc(int result, int pageIndex, int pageNum);
    void onShareDocNotify(int roomId, int docId, int pageIndex, int pageNum);
    void onGotoPage(int result, int pageIndex, int pageNum);
    void onGotoPageNotify(const QString &userId, int roomId, int docId, int pageIndex, int pageNum);
    void onDrawUndo(int result);
    void onDrawRedo(int result);
    void onCurrentPageDrawingClear(int result, int roomId);

signals:
    void changed();
    void problem(TqBoardState::Problem problem);

    void setSdkVarsRequest(QString userId, QString authKey, QString appId, QString dataPath,
                           QString servers);
    void startNetworkRequest(int roomId);
    void createRoomRequest(int roomType, int memberLimit, QString password, int roleId);
    void joinRoomRequest(int roomId, QString password, int roleId);
    void leaveRoomRequest(int roomId);
    void getRoomMemberRequest(int roomId);
    void changeMemberAuthRequest(int roomId, QString userId, unsigned int type,
                                 unsigned int authId);
    void uploadFileRequest(int roomId, int fileType, QString fileName, QString sessionId,
                           QString extOpts);
    void shareDocRequest(int roomId, int docId);
    void gotoNextPageRequest();
    void gotoPrevPageRequest();
    void setLineShapeRequest(int roomId, int shape);
    void setLineColorRequest(int roomId, int red, int green, int blue, int alpha);
    void setLineWidthRequest(int roomId, int size);
    void getEraserRequest(int roomId);
    void getPenRequest(int roomId, int penType);
    void drawUndoRequest(int type);
    void drawRedoRequest();
    void currentPageDrawingClearRequest(int roomId, QString userId);
    void setZoomStateRequest(int mode);
    void scaleRequest(int mode, float ratio, int pX, int pY);
    void bindWindowsRequest(void *handle, int x, int y, int width, int height);
    void windowMessageRequest(void *hWnd, unsigned int uMsg, unsigned int wParam,
                              unsigned int lParam);

private:
    void setPhase(Phase phase);
    void enterRoom(int roomId, const QString &json);
    void leftRoom();
    void readMembers(const QString &json);
    void sendTool();
    void resetUndo();

    Phase m_phase = Phase::Offline;
    bool m_connected = false;
    QString m_account;
    int m_roomId = 0;
    QString m_password;
    QList<Member> m_members;
    QList<Document> m_documents;
    QString m_uploadName;
    bool m_uploading = false;
    qulonglong m_uploadDone = 0;
    qulonglong m_uploadTotal = 0;
    int m_sharedDoc = 0;
    int m_sharing = 0; // asked to share, not answered yet
    int m_pageIndex = 0;
    int m_pageNum = 0;
    Tool m_tool = Tool::Pen;
    QColor m_color = QColor(0x1c, 0x7e, 0xd6);
    int m_lineWidth = 3;
    int m_zoom = 100;
    int m_undoable = 0;
    int m_redoable = 0;
    void *m_surface = nullptr;
    QRect m_surfaceRect;
};
