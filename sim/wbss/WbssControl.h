#pragma once

// Test control of the stand-in whiteboard library. Not part of the library's C interface:
// only tests and tools that run against the stand-in include this.

#include <wbss.h>

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace wbsim {

// One library call as the library saw it. Arguments in order: integers as int / uint,
// the float of scale as float, handles as qulonglong, texts as their raw bytes (QByteArray),
// a null text as an invalid QVariant.
struct CallRecord
{
    QString function;
    QVariantList args;
};

struct Member
{
    QString userId;
    int role = WBSS_ROLE_VIEWER;
    bool canDraw = false;
};

struct Stroke
{
    QString userId;
    bool eraser = false;
    int shape = WBSS_SHAPE_FREE;
    unsigned int argb = 0xff000000; // 0xAARRGGBB
    int width = 1;
    QList<QPoint> points;
};

// What the simulated server and this client's session hold; a copy for the tests.
struct BoardState
{
    bool initialized = false;
    bool connected = false;
    QString userId;
    int roomId = 0; // joined room, 0 when none
    QMap<int, QList<Member>> rooms; // room id -> members
    QMap<int, QString> documents; // doc id -> file name as uploaded
    QMap<int, int> documentPages; // doc id -> pages
    int sharedDoc = 0;
    int pageIndex = 0;
    int pageNum = 0;
    QList<Stroke> strokes; // of the current page
    int redoDepth = 0;
    int shape = WBSS_SHAPE_FREE;
    bool eraser = false;
    int pen = WBSS_PEN_PENCIL;
    unsigned int argb = 0xff000000; // of the next stroke
    int width = 2;
    int zoom = WBSS_ZOOM_FIT_PAGE;
    float scale = 1.0f;
    void *window = nullptr;
    QRect rect;
    int paints = 0; // times the board was painted into the bound window
};

class WBSS_API Control
{
public:
    // Back to a fresh library: uninitialised, answers dropped, journal, scripts, rooms and
    // documents cleared, answering on.
    static void reset();

    static QList<CallRecord> journal();
    static QList<CallRecord> calls(const QString &function);
    static int callCount(const QString &function);
    static void clearJournal();
    static bool waitForCalls(const QString &function, int count = 1, int timeoutMs = 10000);

    // The next `times` calls of `function` (every call when times < 0) return `code` and do
    // nothing else.
    static void scriptReturn(const QString &function, int code, int times = -1);
    // Off: requests are journaled and accepted, but only the test answers.
    static void setAnswering(bool on);

    // Runs `task` on the library's thread after what is queued there already (dropped while
    // the library is not initialised).
    static void post(std::function<void()> task);
    // Waits until the library's thread has run everything queued so far.
    static bool waitIdle(int timeoutMs = 10000);

    // The table the library was started with, or null.
    static const WbssCallbackTable *table();
    // Calls one entry of the table on the library's thread, as the library does (a null
    // entry is skipped). Pointer arguments must stay valid until it has run (see waitIdle).
    template<class Entry, class... Args>
    static void fire(Entry WbssCallbackTable::*entry, Args... args)
    {
        post([=] { callEntry(entry, args...); });
    }
    // The same, on the calling thread.
    template<class Entry, class... Args>
    static void callEntry(Entry WbssCallbackTable::*entry, Args... args)
    {
        const WbssCallbackTable *t = table();
        if (!t)
            return;
        const Entry fn = __atomic_load_n(&(t->*entry), __ATOMIC_ACQUIRE);
        if (fn)
            fn(args...);
    }

    // Another person joins or leaves the joined room; the library notifies.
    static void injectMemberJoin(const QString &userId, int role = WBSS_ROLE_PRESENTER);
    static void injectMemberLeave(const QString &userId);
    // Another person draws a stroke on the current page.
    static void injectStroke(const Stroke &stroke);

    static BoardState state();
    static bool initialized();
};

} // namespace wbsim
