#include "Client.h"

#include <chrono>

namespace vidyosim {

// ---- Client -----------------------------------------------------------------------------------

namespace {

QList<Participant> defaultRoom()
{
    return {{QStringLiteral("Bob Li"), QStringLiteral("bob@vidyo.example.test")},
            {QStringLiteral("Carol Zhang"), QStringLiteral("carol@vidyo.example.test")}};
}

} // namespace

Client &Client::get()
{
    // Never destroyed: a late call during the process's end still finds it.
    static Client *const client = [] {
        auto *c = new Client;
        c->room = defaultRoom();
        return c;
    }();
    return *client;
}

bool Client::scriptedLocked(const QString &key, int *code)
{
    auto it = scripts.find(key);
    if (it == scripts.end())
        return false;
    *code = it->code;
    if (it->remaining > 0 && --it->remaining == 0)
        scripts.erase(it);
    return true;
}

void Client::journalCall(CallRecord call)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        journal.append(std::move(call));
    }
    journalChanged.notify_all();
}

void postEvent(unsigned int event, const QByteArray &data, bool null)
{
    Client::get().dispatcher.post([event, data, null] {
        QByteArray bytes = data; // the callback may write into it
        Control::deliver(event, null ? nullptr : bytes.data(), unsigned(bytes.size()));
    });
}

// ---- Control ----------------------------------------------------------------------------------

void Control::reset()
{
    VidyoClientStop();
    VidyoClientUninitialize();
    Client &c = Client::get();
    std::lock_guard<std::mutex> lock(c.mutex);
    c.journal.clear();
    c.scripts.clear();
    c.fillers.clear();
    c.driving = true;
    c.roomLinkError = 0;
    c.room = defaultRoom();
    c.state = RoomState();
    c.configuration.clear();
    c.selectedShare = 0;
}

QList<CallRecord> Control::journal()
{
    Client &c = Client::get();
    std::lock_guard<std::mutex> lock(c.mutex);
    return c.journal;
}

QList<CallRecord> Control::calls(const QString &function)
{
    QList<CallRecord> result;
    for (const CallRecord &r : journal())
        if (r.function == function)
            result << r;
    return result;
}

QList<CallRecord> Control::events(unsigned int code)
{
    QList<CallRecord> result;
    for (const CallRecord &r : calls(QStringLiteral("VidyoClientSendEvent")))
        if (r.code == code)
            result << r;
    return result;
}

QList<CallRecord> Control::requests(unsigned int code)
{
    QList<CallRecord> result;
    for (const CallRecord &r : calls(QStringLiteral("VidyoClientSendRequest")))
        if (r.code == code)
            result << r;
    return result;
}

void Control::clearJournal()
{
    Client &c = Client::get();
    std::lock_guard<std::mutex> lock(c.mutex);
    c.journal.clear();
}

bool Control::waitForCalls(const QString &function, int count, int timeoutMs)
{
    Client &c = Client::get();
    std::unique_lock<std::mutex> lock(c.mutex);
    return c.journalChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        int n = 0;
        for (const CallRecord &r : c.journal)
            n += r.function == function;
        return n >= count;
    });
}

void Control::scriptReturn(const QString &function, int code, int times)
{
    Client &c = Client::get();
    std::lock_guard<std::mutex> lock(c.mutex);
    if (times == 0)
        c.scripts.remove(function);
    else
        c.scripts.insert(function, Script{code, times});
}

void Control::scriptEvent(unsigned int event, int code, int times)
{
    scriptReturn(QStringLiteral("event:%1").arg(event), code, times);
}

void Control::scriptRequest(unsigned int request, int code, int times)
{
    scriptReturn(QStringLiteral("request:%1").arg(request), code, times);
}

void Control::scriptFill(unsigned int request, Filler filler)
{
    Client &c = Client::get();
    std::lock_guard<std::mutex> lock(c.mutex);
    if (filler)
        c.fillers.insert(request, std::move(filler));
    else
        c.fillers.remove(request);
}

void Control::setDriving(bool on)
{
    Client &c = Client::get();
    std::lock_guard<std::mutex> lock(c.mutex);
    c.driving = on;
}

void Control::setRoomLinkError(int error)
{
    Client &c = Client::get();
    std::lock_guard<std::mutex> lock(c.mutex);
    c.roomLinkError = error;
}

void Control::setRoom(const QList<Participant> &others)
{
    Client &c = Client::get();
    std::lock_guard<std::mutex> lock(c.mutex);
    c.room = others;
}

void Control::post(std::function<void()> task)
{
    Client::get().dispatcher.post(std::move(task));
}

bool Control::waitIdle(int timeoutMs)
{
    return Client::get().dispatcher.waitIdle(timeoutMs);
}

void Control::fire(unsigned int event, const QByteArray &data)
{
    postEvent(event, data, false);
}

void Control::fireNull(unsigned int event, unsigned int size)
{
    Client::get().dispatcher.post([event, size] { Control::deliver(event, nullptr, size); });
}

void Control::deliver(unsigned int event, void *data, unsigned int size)
{
    Client &c = Client::get();
    if (VidyoClientEventCallback cb = c.callback.load())
        cb(event, data, size, c.userData.load());
}

bool Control::hasCallback()
{
    return Client::get().callback.load() != nullptr;
}

void Control::injectJoin(const Participant &p)
{
    Client &c = Client::get();
    {
        std::lock_guard<std::mutex> lock(c.mutex);
        c.state.others.append(p);
    }
    postEvent(VIDYO_CLIENT_OUT_EVENT_PARTICIPANTS_CHANGED);
    repaintWindow();
}

void Control::injectLeave(const QString &uri)
{
    Client &c = Client::get();
    {
        std::lock_guard<std::mutex> lock(c.mutex);
        QList<Participant> &others = c.state.others;
        for (int i = others.size() - 1; i >= 0; --i)
            if (others.at(i).uri == uri)
                others.removeAt(i);
    }
    postEvent(VIDYO_CLIENT_OUT_EVENT_PARTICIPANTS_CHANGED);
    repaintWindow();
}

RoomState Control::state()
{
    Client &c = Client::get();
    std::lock_guard<std::mutex> lock(c.mutex);
    return c.state;
}

} // namespace vidyosim
