#include "WhiteBoard_CallBack.h"

#include "WhiteBoard_Agent.h"

#include <AgentLog.h>
#include <AgentShutdown.h>
#include <wbss.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// Callbacks emitting on the agent right now, in all and on this thread.
std::atomic<int> g_delivering{0};
thread_local int t_delivering = 0;

// Counted before the agent is read: the destructor forgets the agent, then waits for the
// count, so it either sees this callback or this callback sees no agent.
class Delivery
{
public:
    Delivery()
    {
        g_delivering.fetch_add(1);
        ++t_delivering;
    }
    ~Delivery()
    {
        --t_delivering;
        g_delivering.fetch_sub(1);
    }
    Delivery(const Delivery &) = delete;
    Delivery &operator=(const Delivery &) = delete;
};

// A text from the library: null stays a null QString.
QString text(const char *utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

// Logs the callback's name, then emits on the agent; dropped when no agent exists (never
// builds one on the library's thread).
template<class Signal, class... Args> void deliver(tq::Where where, Signal signal, Args... args)
{
    tq::logInfo("%1", where);
    const Delivery delivery;
    if (WhiteBoard_Agent *agent = WhiteBoard_Agent::existing())
        emit(agent->*signal)(args...);
}

#define WBC TQ_WHERE(WhiteBoard_CallBack)

void WBSS_CALL callback_onTcpConnected(int result, const char *serverIp, int port)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onTcpConnected, result, text(serverIp), port);
}

void WBSS_CALL callback_onTcpConnectError(int result, const char *serverIp, int port)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onTcpConnectError, result, text(serverIp), port);
}

void WBSS_CALL callback_onCreateRoom(int, int result, int roomId)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onCreateRoom, result, roomId);
}

void WBSS_CALL callback_onDeleteRoom(int, int result)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onDeleteRoom, result);
}

void WBSS_CALL callback_onLeaveRoom(int, int result)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onLeaveRoom, result);
}

void WBSS_CALL callback_onJoinRoom(int, int result, const char *json)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onJoinRoom, result, text(json));
}

void WBSS_CALL callback_onMemberJoinNotify(int, const char *userId)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onMemberJoinNotify, text(userId));
}

void WBSS_CALL callback_onMemberLeaveNotify(int, const char *userId)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onMemberLeaveNotify, text(userId));
}

void WBSS_CALL callback_onGetRoomMember(int, int result, const char *json)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onGetRoomMember, result, text(json));
}

void WBSS_CALL callback_onChangeMemberAuth(int, int result)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onChangeMemberAuth, result);
}

void WBSS_CALL callback_onChangeMemberAuthNotify(const char *userId, unsigned int type,
                                                 unsigned int auth)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onChangeMemberAuthNotify, text(userId), type, auth);
}

void WBSS_CALL callback_onKickOutNotify(int roomId, const char *userId)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onKickOutNotify, roomId, text(userId));
}

void WBSS_CALL callback_onUploadFile(int, int result, int docId)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onUploadFile, result, docId);
}

void WBSS_CALL callback_onRateOfProgress(int, uint64_t rateSize, uint64_t fileSize)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onRateOfProgress, qulonglong(rateSize),
            qulonglong(fileSize));
}

void WBSS_CALL callback_onDocPngOne(int result, int roomId, int docId, int pageIndex, int pageNum)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onDocPngOne, result, roomId, docId, pageIndex, pageNum);
}

void WBSS_CALL callback_onDocPngReady(int result, int roomId, int docId, int pageNum)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onDocPngReady, result, roomId, docId, pageNum);
}

void WBSS_CALL callback_onShareDoc(int, int result, int currentPageIndex, int pageNum)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onShareDoc, result, currentPageIndex, pageNum);
}

void WBSS_CALL callback_onShareDocNotify(int roomId, int docId, int pageIndex, int pageNum)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onShareDocNotify, roomId, docId, pageIndex, pageNum);
}

void WBSS_CALL callback_onDocConvertNotify(int reqId, int result, int roomId, int docId,
                                           int pageNum, const char *filename)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onDocConvertNotify, reqId, result, roomId, docId, pageNum,
            text(filename));
}

void WBSS_CALL callback_onCurrentPageDrawingClear(int, int result, int roomId)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onCurrentPageDrawingClear, result, roomId);
}

void WBSS_CALL callback_onGotoPage(int, int result, int pageIndex, int pageNum)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onGotoPage, result, pageIndex, pageNum);
}

void WBSS_CALL callback_onGotoPageNotify(const char *userId, int roomId, int docId, int pageIndex,
                                         int pageNum)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onGotoPageNotify, text(userId), roomId, docId, pageIndex,
            pageNum);
}

void WBSS_CALL callback_onDownloadPage(int, int result)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onDownloadPage, result);
}

void WBSS_CALL callback_onDrawNotify()
{
    deliver(WBC, &WhiteBoard_Agent::sig_onDrawNotify);
}

void WBSS_CALL callback_onDrawUndo(int, int result)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onDrawUndo, result);
}

void WBSS_CALL callback_onDrawUndoNotify(const char *userId, int roomId, int docId, int pageIndex)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onDrawUndoNotify, text(userId), roomId, docId, pageIndex);
}

void WBSS_CALL callback_onDrawRedo(int, int result)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onDrawRedo, result);
}

void WBSS_CALL callback_onDrawRedoNotify(const char *userId, int roomId, int docId, int pageIndex)
{
    deliver(WBC, &WhiteBoard_Agent::sig_onDrawRedoNotify, text(userId), roomId, docId, pageIndex);
}

void fill(WbssCallbackTable &t)
{
    t.onTcpConnected = tq::gated<callback_onTcpConnected>;
    t.onTcpConnectError = tq::gated<callback_onTcpConnectError>;
    t.onCreateRoom = tq::gated<callback_onCreateRoom>;
    t.onDeleteRoom = tq::gated<callback_onDeleteRoom>;
    t.onLeaveRoom = tq::gated<callback_onLeaveRoom>;
    t.onJoinRoom = tq::gated<callback_onJoinRoom>;
    t.onMemberJoinNotify = tq::gated<callback_onMemberJoinNotify>;
    t.onMemberLeaveNotify = tq::gated<callback_onMemberLeaveNotify>;
    t.onGetRoomMember = tq::gated<callback_onGetRoomMember>;
    t.onChangeMemberAuth = tq::gated<callback_onChangeMemberAuth>;
    t.onChangeMemberAuthNotify = tq::gated<callback_onChangeMemberAuthNotify>;
    t.onKickOutNotify = tq::gated<callback_onKickOutNotify>;
    t.onUploadFile = tq::gated<callback_onUploadFile>;
    t.onRateOfProgress = tq::gated<callback_onRateOfProgress>;
    t.onDocPngOne = tq::gated<callback_onDocPngOne>;
    t.onDocPngReady = tq::gated<callback_onDocPngReady>;
    t.onShareDoc = tq::gated<callback_onShareDoc>;
    t.onShareDocNotify = tq::gated<callback_onShareDocNotify>;
    t.onDocConvertNotify = tq::gated<callback_onDocConvertNotify>;
    t.onCurrentPageDrawingClear = tq::gated<callback_onCurrentPageDrawingClear>;
    t.onGotoPage = tq::gated<callback_onGotoPage>;
    t.onGotoPageNotify = tq::gated<callback_onGotoPageNotify>;
    t.onDownloadPage = tq::gated<callback_onDownloadPage>;
    t.onDrawNotify = tq::gated<callback_onDrawNotify>;
    t.onDrawUndo = tq::gated<callback_onDrawUndo>;
    t.onDrawUndoNotify = tq::gated<callback_onDrawUndoNotify>;
    t.onDrawRedo = tq::gated<callback_onDrawRedo>;
    t.onDrawRedoNotify = tq::gated<callback_onDrawRedoNotify>;
}

// The library may be reading an entry while it is nulled: each entry is one atomic store.
void nullEntries(WbssCallbackTable &t)
{
    auto *entries = reinterpret_cast<WbssReserved *>(&t);
    for (int i = 0; i < WBSS_TABLE_SLOTS; ++i)
        __atomic_store_n(&entries[i], WbssReserved(nullptr), __ATOMIC_RELEASE);
}

void stopAtEnd()
{
    WhiteBoard_CallBack::instance()->stop();
}

} // namespace

WhiteBoard_CallBack *WhiteBoard_CallBack::instance()
{
    // Never destroyed: a late callback or the library's end may still reach it.
    static WhiteBoard_CallBack *const holder = new WhiteBoard_CallBack;
    return holder;
}

WhiteBoard_CallBack::~WhiteBoard_CallBack() = default;

int WhiteBoard_CallBack::start()
{
    QMutexLocker locker(&m_mutex);
    if (m_started) {
        tq::logError("%1,the library runs already", TQ_WHERE(WhiteBoard_CallBack));
        return WBSS_ERR_INVALID_ARGUMENT;
    }
    m_table.reset(new WbssCallbackTable{});
    fill(*m_table);
    tq::stopAtShutDown(&stopAtEnd);
    const int ret = wbssInitialize(m_table.get());
    m_started = ret == WBSS_OK;
    if (!m_started)
        tq::logError("%1,ret=%2", TQ_WHERE(WhiteBoard_CallBack), ret);
    return ret;
}

void WhiteBoard_CallBack::stop()
{
    QMutexLocker locker(&m_mutex);
    if (m_table)
        nullEntries(*m_table);
    wbssUninitialize();
    m_started = false;
}

const WbssCallbackTable *WhiteBoard_CallBack::table() const
{
    QMutexLocker locker(&m_mutex);
    return m_table.get();
}

bool WhiteBoard_CallBack::started() const
{
    QMutexLocker locker(&m_mutex);
    return m_started;
}

void WhiteBoard_CallBack::waitForDeliveries()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (g_delivering.load() > t_delivering) {
        if (std::chrono::steady_clock::now() >= deadline) {
            tq::logError("%1,callbacks still emitting", TQ_WHERE(WhiteBoard_CallBack));
            return;
        }
        std::this_thread::yield();
    }
}
