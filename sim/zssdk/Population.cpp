// The simulated server's people, and the life of contacts while someone is logged in.

#include "Population.h"

#include "Engine.h"

#include <Utf8Field.h>

#include <chrono>
#include <cstdlib>
#include <random>

namespace zssim {

namespace {

struct Person
{
    const char *user;
    const char *name;
    const char *number;
    const char *signature;
};

constexpr Person kPeople[] = {
    {"alice", "Alice Wang", "8001", "Shipping the desktop client"},
    {"bob", "Bob Li", "8002", "Out of office on Fridays"},
    {"carol", "Carol Zhang", "8003", "Design is how it works"},
};

template<std::size_t N> void put(char (&field)[N], const char *utf8)
{
    tq::copyUtf8Field(field, N, utf8, std::strlen(utf8));
}

// A presence a contact may take on by itself; userdata is plain ASCII, the same in any code page.
struct Mood
{
    int type;
    int subtype;
    const char *note;
};

constexpr Mood kMoods[] = {
    {1, 0, ""},          {1, 0, ""},         {3, 1, ""}, {3, 2, ""},
    {4, 0, "back soon"}, {4, 0, "at lunch"}, {2, 0, ""},
};

// Runs while someone is logged in: every few seconds one contact changes presence, pushed
// like a real friend's through the engine's thread.
class ContactLife
{
public:
    void start()
    {
        std::lock_guard<std::mutex> control(m_control);
        if (m_thread.joinable())
            return;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = false;
        }
        m_thread = std::thread([this] { run(); });
    }

    void stop()
    {
        std::lock_guard<std::mutex> control(m_control);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    void run()
    {
        std::mt19937 random(std::random_device{}());
        std::uniform_int_distribution<int> pauseMs(4000, 12000);
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            const auto pause = std::chrono::milliseconds(pauseMs(random));
            if (m_wake.wait_for(lock, pause, [this] { return m_stop; }))
                return;
            lock.unlock();
            changeSomeone(random);
            lock.lock();
        }
    }

    static void changeSomeone(std::mt19937 &random)
    {
        QStringList contacts;
        QMap<QString, PresenceRecord> presence;
        bool online = false;
        Control::withServer([&](ServerModel &server) {
            contacts = server.contactsOf(server.currentUser);
            presence = server.presence;
            online = server.connectState == ZS_STATE_CONNECTED;
        });
        if (!online || contacts.isEmpty())
            return;
        const QString user
            = contacts.at(std::uniform_int_distribution<int>(0, contacts.size() - 1)(random));
        const PresenceRecord now = presence.value(user);
        constexpr int kCount = int(sizeof kMoods / sizeof kMoods[0]);
        for (int attempt = 0; attempt < 8; ++attempt) {
            const Mood &mood = kMoods[std::uniform_int_distribution<int>(0, kCount - 1)(random)];
            if (mood.type == now.type && mood.subtype == now.subtype)
                continue;
            Control::injectFriendPresence(user, mood.type, mood.subtype, mood.note);
            return;
        }
    }

    std::mutex m_control; // orders start() and stop()
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_thread;
    bool m_stop = false;
};

ContactLife &life()
{
    // Never destroyed: stopped at exit instead, before the engine's own thread stops.
    static ContactLife *const instance = [] {
        auto *created = new ContactLife;
        Engine::get(); // its exit handler is registered first, so it runs after ours
        std::atexit([] { life().stop(); });
        return created;
    }();
    return *instance;
}

} // namespace

void startContactLife()
{
    if (qEnvironmentVariableIntValue("TQ_SIM_LIVELY") == 1)
        life().start();
}

void stopContactLife()
{
    life().stop();
}

namespace population {

QHash<QString, QString> accounts()
{
    QHash<QString, QString> result;
    for (const Person &person : kPeople)
        result.insert(QString::fromLatin1(person.user), QString::fromLatin1(person.user));
    return result;
}

QMap<QString, QStringList> friends()
{
    QMap<QString, QStringList> result;
    for (const Person &person : kPeople) {
        QStringList others;
        for (const Person &other : kPeople) {
            if (&other != &person)
                others << QString::fromLatin1(other.user);
        }
        result.insert(QString::fromLatin1(person.user), others);
    }
    return result;
}

QMap<QString, PresenceRecord> presence()
{
    return {{QStringLiteral("bob"), PresenceRecord{1, 0, QByteArray()}},
            {QStringLiteral("carol"), PresenceRecord{4, 0, QByteArrayLiteral("back at 3 pm")}}};
}

QMap<QString, QByteArray> personInfo()
{
    QMap<QString, QByteArray> result;
    for (const Person &person : kPeople) {
        ZS_PersonInfo info{};
        put(info.text1, person.name);
        put(info.text2, person.number);
        put(info.text3, person.signature);
        result.insert(QString::fromLatin1(person.user),
                      QByteArray(reinterpret_cast<const char *>(&info), sizeof info));
    }
    return result;
}

} // namespace population

} // namespace zssim
