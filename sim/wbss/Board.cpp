#include "Board.h"

#include <chrono>

namespace wbsim {

// ---- Board ------------------------------------------------------------------------------------

Board &Board::get()
{
    // Never destroyed: a late call during the process's end still finds it.
    static Board *const board = new Board;
    return *board;
}

QList<Stroke> &Board::strokesLocked()
{
    return pages[qMakePair(session.sharedDoc, session.pageIndex)].first;
}

QList<Stroke> &Board::redoLocked()
{
    return pages[qMakePair(session.sharedDoc, session.pageIndex)].second;
}

void Board::syncPageLocked()
{
    session.strokes = strokesLocked();
    session.redoDepth = redoLocked().size();
}

QByteArray Board::membersJsonLocked(int roomId) const
{
    QByteArray json = "{\"roomId\":" + QByteArray::number(roomId) + ",\"members\":[";
    const QList<Member> members = session.rooms.value(roomId);
    for (int i = 0; i < members.size(); ++i) {
        const Member &m = members.at(i);
        QByteArray id = m.userId.toUtf8();
        id.replace('\\', "\\\\").replace('"', "\\\"");
        json += (i ? ",{" : "{") + QByteArray("\"userId\":\"") + id + "\",\"role\":"
            + QByteArray::number(m.role) + ",\"draw\":" + (m.canDraw ? "true" : "false") + "}";
    }
    return json + "]}";
}

bool Board::canDrawLocked() const
{
    for (const Member &m : session.rooms.value(session.roomId))
        if (m.userId == session.userId)
            return m.canDraw;
    return session.roomId != 0;
}

// ---- Request ----------------------------------------------------------------------------------

Request::Request(const char *function, bool needsInit)
    : m_needsInit(needsInit)
{
    m_call.function = QString::fromLatin1(function);
    Board &b = Board::get();
    std::lock_guard<std::mutex> lock(b.mutex);
    auto it = b.scripts.find(m_call.function);
    if (it != b.scripts.end()) {
        m_result = it->code;
        m_scripted = true;
        if (it->remaining > 0 && --it->remaining == 0)
            b.scripts.erase(it);
    } else if (m_needsInit && !b.session.initialized) {
        m_result = WBSS_ERR_NOT_INITIALIZED;
    }
}

Request::~Request()
{
    Board &b = Board::get();
    bool answering = false;
    {
        std::lock_guard<std::mutex> lock(b.mutex);
        b.journal.append(m_call);
        answering = b.answering;
    }
    b.journalChanged.notify_all();
    if (!accepted() || !answering || m_scripted)
        return;
    for (auto &fn : m_answers)
        b.dispatcher.post(std::move(fn));
}

Request &Request::arg(int value)
{
    m_call.args << value;
    return *this;
}

Request &Request::arg(unsigned int value)
{
    m_call.args << value;
    return *this;
}

Request &Request::arg(float value)
{
    m_call.args << QVariant::fromValue(value);
    return *this;
}

Request &Request::arg(const void *handle)
{
    m_call.args << QVariant::fromValue<qulonglong>(reinterpret_cast<quintptr>(handle));
    return *this;
}

Request &Request::text(const char *utf8)
{
    m_call.args << (utf8 ? QVariant(QByteArray(utf8)) : QVariant());
    return *this;
}

int Request::issue(int *reqId)
{
    if (!accepted())
        return 0;
    Board &b = Board::get();
    int id = 0;
    {
        std::lock_guard<std::mutex> lock(b.mutex);
        id = b.nextReq++;
    }
    if (reqId)
        *reqId = id;
    return id;
}

void Request::answer(std::function<void()> fn)
{
    m_answers.push_back(std::move(fn));
}

// ---- Control ----------------------------------------------------------------------------------

void Control::reset()
{
    wbssUninitialize();
    Board &b = Board::get();
    std::lock_guard<std::mutex> lock(b.mutex);
    b.journal.clear();
    b.scripts.clear();
    b.answering = true;
    b.session = BoardState();
    b.documents.clear();
    b.pages.clear();
    b.rules.clear();
    b.drawing = false;
    b.nextRoom = 5001;
    b.nextDoc = 11;
}

QList<CallRecord> Control::journal()
{
    Board &b = Board::get();
    std::lock_guard<std::mutex> lock(b.mutex);
    return b.journal;
}

QList<CallRecord> Control::calls(const QString &function)
{
    QList<CallRecord> result;
    for (const CallRecord &c : journal())
        if (c.function == function)
            result << c;
    return result;
}

int Control::callCount(const QString &function)
{
    return calls(function).size();
}

void Control::clearJournal()
{
    Board &b = Board::get();
    std::lock_guard<std::mutex> lock(b.mutex);
    b.journal.clear();
}

bool Control::waitForCalls(const QString &function, int count, int timeoutMs)
{
    Board &b = Board::get();
    std::unique_lock<std::mutex> lock(b.mutex);
    return b.journalChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        int n = 0;
        for (const CallRecord &c : b.journal)
            n += c.function == function;
        return n >= count;
    });
}

void Control::scriptReturn(const QString &function, int code, int times)
{
    Board &b = Board::get();
    std::lock_guard<std::mutex> lock(b.mutex);
    if (times == 0)
        b.scripts.remove(function);
    else
        b.scripts.insert(function, Script{code, times});
}

void Control::setAnswering(bool on)
{
    Board &b = Board::get();
    std::lock_guard<std::mutex> lock(b.mutex);
    b.answering = on;
}

void Control::post(std::function<void()> task)
{
    Board::get().dispatcher.post(std::move(task));
}

bool Control::waitIdle(int timeoutMs)
{
    return Board::get().dispatcher.waitIdle(timeoutMs);
}

const WbssCallbackTable *Control::table()
{
    return Board::get().table.load();
}

void Control::injectMemberJoin(const QString &userId, int role)
{
    Board &b = Board::get();
    int roomId = 0;
    {
        std::lock_guard<std::mutex> lock(b.mutex);
        roomId = b.session.roomId;
        if (roomId == 0)
            return;
        b.session.rooms[roomId].append(Member{userId, role, role != WBSS_ROLE_VIEWER});
    }
    const QByteArray id = userId.toUtf8();
    post([roomId, id] {
        callEntry(&WbssCallbackTable::onMemberJoinNotify, roomId, id.constData());
    });
}

void Control::injectMemberLeave(const QString &userId)
{
    Board &b = Board::get();
    int roomId = 0;
    {
        std::lock_guard<std::mutex> lock(b.mutex);
        roomId = b.session.roomId;
        QList<Member> &members = b.session.rooms[roomId];
        for (int i = members.size() - 1; i >= 0; --i)
            if (members.at(i).userId == userId)
                members.removeAt(i);
    }
    const QByteArray id = userId.toUtf8();
    post([roomId, id] {
        callEntry(&WbssCallbackTable::onMemberLeaveNotify, roomId, id.constData());
    });
}

void Control::injectStroke(const Stroke &stroke)
{
    Board &b = Board::get();
    {
        std::lock_guard<std::mutex> lock(b.mutex);
        b.strokesLocked().append(stroke);
        b.syncPageLocked();
    }
    fire(&WbssCallbackTable::onDrawNotify);
    repaintWindow();
}

BoardState Control::state()
{
    Board &b = Board::get();
    std::lock_guard<std::mutex> lock(b.mutex);
    return b.session;
}

bool Control::initialized()
{
    return state().initialized;
}

} // namespace wbsim
