#pragma once

// Test control of the stand-in video-room client. Not part of the client's C interface: only
// tests and tools that run against the stand-in include this.

#include <VidyoClient.h>

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>
#include <QVariant>

#include <functional>

namespace vidyosim {

// One call as the client saw it. `code` is the event or request code (0 for the others);
// `data` the bytes passed in (a copy, taken before the client wrote into a request's record),
// `hasData` false for a null pointer; `args` the other arguments (see each function).
struct CallRecord
{
    QString function;
    unsigned int code = 0;
    QByteArray data;
    bool hasData = false;
    unsigned int size = 0;
    QVariantList args;
};

struct Participant
{
    QString name;
    QString uri;
};

// What the client holds; a copy for the tests.
struct RoomState
{
    bool initialized = false;
    bool started = false;
    bool inConference = false;
    int logSize = 0; // from the last log parameters
    int profilePortBase = 0;
    QByteArray portalUri, roomKey, displayName, pin; // of the last room link
    QString shownName; // this client's name in the room
    QList<Participant> others; // the other people in the room
    bool micMuted = false;
    bool speakerMuted = false;
    bool cameraOff = false;
    int previewMode = 0;
    bool sharing = false;
    QByteArray sharedWindow;
    QByteArray dialed; // digits, in order
    void *window = nullptr;
    QRect rect;
    int paints = 0; // times the tiles were painted into the window
};

class VIDYO_API Control
{
public:
    // Back to a fresh client: stopped, uninitialised, journal, scripts and people cleared,
    // driving on, the default room (bob and carol in it).
    static void reset();

    static QList<CallRecord> journal();
    static QList<CallRecord> calls(const QString &function);
    static QList<CallRecord> events(unsigned int code); // VidyoClientSendEvent with `code`
    static QList<CallRecord> requests(unsigned int code); // VidyoClientSendRequest with `code`
    static void clearJournal();
    static bool waitForCalls(const QString &function, int count = 1, int timeoutMs = 10000);

    // The next `times` calls (every call when times < 0) return `code` and do nothing else.
    static void scriptReturn(const QString &function, int code, int times = -1);
    static void scriptEvent(unsigned int event, int code, int times = -1);
    static void scriptRequest(unsigned int request, int code, int times = -1);
    // Fills a request's record instead of the client (after zeroing nothing: the record is as
    // the caller sent it); returns the request's result.
    using Filler = std::function<int(void *record, unsigned int size)>;
    static void scriptFill(unsigned int request, Filler filler);
    // Off: calls are journaled and answered, but the client fires no event of its own.
    static void setDriving(bool on);
    // The room's error for the next room links (0: linked).
    static void setRoomLinkError(int error);
    // The other people the next conference holds.
    static void setRoom(const QList<Participant> &others);

    // Runs `task` on the client's thread after what is queued there (dropped while stopped).
    static void post(std::function<void()> task);
    static bool waitIdle(int timeoutMs = 10000);

    // Calls the event callback on the client's thread, as the client does; the bytes are kept
    // until it has run. A null `data` passes a null pointer with `size`.
    static void fire(unsigned int event, const QByteArray &data);
    static void fireNull(unsigned int event, unsigned int size = 0);
    // The same on the calling thread, with the caller's bytes as they are.
    static void deliver(unsigned int event, void *data, unsigned int size);
    static bool hasCallback();

    // People coming and going; the client reports that the participants changed.
    static void injectJoin(const Participant &p);
    static void injectLeave(const QString &uri);

    static RoomState state();
};

} // namespace vidyosim
