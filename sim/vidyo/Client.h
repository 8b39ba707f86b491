#pragma once

// Inside of the stand-in video-room client: the journal, the room, and the client's thread.

#include "VidyoControl.h"

#include "SimDispatcher.h"

#include <QHash>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace vidyosim {

// The client's own thread: runs events in order.
using Dispatcher = simcommon::Dispatcher;

struct Script
{
    int code = 0;
    int remaining = -1;
};

struct Client
{
    static Client &get();

    std::mutex mutex; // guards everything below but the callback and the dispatcher
    std::condition_variable journalChanged;
    QList<CallRecord> journal;
    QHash<QString, Script> scripts;
    QHash<unsigned int, Control::Filler> fillers;
    bool driving = true;
    int roomLinkError = 0;
    QList<Participant> room;
    RoomState state;
    std::vector<int32_t> configuration;
    int selectedShare = 0;

    std::atomic<VidyoClientEventCallback> callback{nullptr};
    std::atomic<void *> userData{nullptr};
    Dispatcher dispatcher;

    // Takes a scripted code for `key`, if any.
    bool scriptedLocked(const QString &key, int *code);
    void journalCall(CallRecord call);
};

// Queues `event` (with a copy of `data`, or null) for the event callback.
void postEvent(unsigned int event, const QByteArray &data = QByteArray(), bool null = true);

// The window the tiles go into: asks it to repaint (on its own thread).
void repaintWindow();

} // namespace vidyosim
