#pragma once

// Inside of the stand-in whiteboard library: the journal, the simulated server's rooms and
// documents, this client's session and board, and the library's answering thread.

#include "WbssControl.h"

#include "SimDispatcher.h"

#include <QHash>
#include <QImage>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace wbsim {

// The library's own thread: runs answers and injected events in order.
using Dispatcher = simcommon::Dispatcher;

struct Document
{
    int id = 0;
    QString fileName;
    QStringList lines; // a text document's lines
    QImage image; // an image document
    int pages = 1;
};

struct Script
{
    int code = 0;
    int remaining = -1;
};

constexpr int kLinesPerPage = 22;

struct Board
{
    static Board &get();

    std::mutex mutex; // guards everything below but the table and the dispatcher
    std::condition_variable journalChanged;
    QList<CallRecord> journal;
    QHash<QString, Script> scripts;
    bool answering = true;

    BoardState session; // rooms, documents listed there too
    QHash<int, Document> documents;
    QMap<QPair<int, int>, QPair<QList<Stroke>, QList<Stroke>>>
        pages; // (doc, page) -> strokes, redo
    QString serverIp = QStringLiteral("wbss.example.test");
    int serverPort = 8443;
    QByteArray version = "wbss-sim 1.0";
    struct RoomRules
    {
        int type = 0;
        int memberLimit = 0; // 0: no limit
        QByteArray password;
    };
    QHash<int, RoomRules> rules;
    Stroke inProgress;
    bool drawing = false;
    int nextReq = 1;
    int nextRoom = 5001;
    int nextDoc = 11;

    std::atomic<WbssCallbackTable *> table{nullptr};
    Dispatcher dispatcher;

    // Call with the lock held.
    QList<Stroke> &strokesLocked();
    QList<Stroke> &redoLocked();
    void syncPageLocked(); // copies the current page's strokes into `session`
    QByteArray membersJsonLocked(int roomId) const;
    bool canDrawLocked() const;
};

// One call of a library function: journals it and decides the return code; answers queued
// with answer() run on the library's thread after the function has returned its code.
class Request
{
public:
    Request(const char *function, bool needsInit = true);
    ~Request();
    Request(const Request &) = delete;
    Request &operator=(const Request &) = delete;

    Request &arg(int value);
    Request &arg(unsigned int value);
    Request &arg(float value);
    Request &arg(const void *handle);
    Request &text(const char *utf8);

    int result() const { return m_result; }
    bool accepted() const { return m_result == WBSS_OK; }
    // Writes a fresh request id through reqId (when accepted and not null) and returns it.
    int issue(int *reqId);
    // A scripted code stands: the function then does nothing else.
    void refuse(int code)
    {
        if (!m_scripted)
            m_result = code;
    }
    void answer(std::function<void()> fn);

private:
    CallRecord m_call;
    bool m_needsInit;
    bool m_scripted = false;
    int m_result = WBSS_OK;
    std::vector<std::function<void()>> m_answers;
};

// The bound window: asks it to repaint (on its own thread).
void repaintWindow();

} // namespace wbsim
