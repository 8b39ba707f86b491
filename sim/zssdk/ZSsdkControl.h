#pragma once

// Test control of the stand-in engine. Not part of the engine's C interface: only tests and
// tools that run against the stand-in include this.

#include <ZSsdk.h>

#include "CallModel.h"
#include "ConferenceModel.h"
#include "GroupModel.h"
#include "MeetingModel.h"
#include "MessageModel.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace zssim {

// One engine call as the engine saw it.
struct CallRecord
{
    QString function;
    // In order: integers as int / uint / qulonglong, texts as their raw bytes (QByteArray),
    // a null text as an invalid QVariant.
    QVariantList args;
    QList<int> secretArgs; // indexes of args the trace file shows as "<hidden>"
    QList<QByteArray> records; // byte copies of the records passed in
};

enum class Mode {
    Automatic, // the engine answers like a server, on its own thread
    Manual // requests are journaled and refused or accepted, but only the test answers
};

struct PresenceRecord
{
    int type = 0;
    int subtype = 0;
    QByteArray userdata;
};

// The people the simulated server starts with (Population.cpp).
namespace population {
ZSSDK_API QHash<QString, QString> accounts();
ZSSDK_API QMap<QString, PresenceRecord> presence();
ZSSDK_API QMap<QString, QByteArray> personInfo();
ZSSDK_API QMap<QString, QStringList> friends();
} // namespace population

// A small model of the server behind the engine. Families extend it.
struct ServerModel
{
    using Presence = PresenceRecord;

    // Login record texts, as this engine reads them: text1 the account, text2 the password,
    // text3 the server address, text4 the port (digits, 1..65535; empty for the default),
    // text5 and text6 unused; number1 the terminal type (1: desktop client).
    // With no accounts every login succeeds; otherwise the account must be listed (else
    // reason 404) and the password must match (else 401). A port that is not a number in
    // range fails with 400.
    // The simulated population (Population.cpp): alice, bob and carol, passwords = names.
    QHash<QString, QString> accounts = population::accounts(); // user -> password
    QString currentUser; // the user whose requests these are
    QByteArray serverAddress; // text3 and text4 of the last login
    QByteArray serverPort;
    int connectState = ZS_STATE_IDLE;
    QStringList contacts{QStringLiteral("bob"), QStringLiteral("carol")}; // everyone's friends
    // A user's own friends where listed, in place of `contacts`: each of the population has
    // the two others.
    QMap<QString, QStringList> friends = population::friends();
    // Presence types as the client uses them: 0 never published, 1 online, 2 offline (logout
    // publishes it), 3 busy, 4 away; subtype 0 none, with busy 1 in a meeting, 2 in a call.
    // Published user data is a short note ("at lunch").
    QMap<QString, Presence> presence = population::presence();
    QMap<QString, QList<Presence>> pushedTo; // presence published to each friend
    int envType = 0;
    QByteArray serverXml;
    int dnsEnabled = 0;
    QByteArray dns;
    int dnsPort = 0;
    // user -> bytes of ZS_PersonInfo: text1 the display name, text2 the short number,
    // text3 the signature; the numbers are the client's own (this engine keeps them as sent).
    // Person-state records carry text1 the user, text2 the display name, text3 the short
    // number (both from here, else the user and empty), text4 the presence note.
    QMap<QString, QByteArray> personInfo = population::personInfo();
    unsigned long long personInfoVersion = (1ULL << 32) + 1;

    CallModel calls;
    MessageModel messages;
    ConferenceModel conferences;
    MeetingModel meetings;
    GroupModel groups;

    // Whose presence reaches `user`: their friends, else everyone's, never themselves.
    QStringList contactsOf(const QString &user) const
    {
        QStringList result = friends.value(user, contacts);
        result.removeAll(user);
        return result;
    }
};

class ZSSDK_API Control
{
public:
    // Back to a fresh engine: answers stopped and dropped, journal, scripts, tables, trace
    // settings and model cleared, automatic mode.
    static void reset();

    static void setMode(Mode mode);
    static Mode mode();

    static QList<CallRecord> journal();
    static QList<CallRecord> calls(const QString &function);
    static int callCount(const QString &function);
    static void clearJournal();
    // Off: calls are no longer journaled or traced (for benchmarks).
    static void setJournaling(bool on);
    // Waits until `function` has been called `count` times in all.
    static bool waitForCalls(const QString &function, int count = 1, int timeoutMs = 10000);

    // The next `times` calls of `function` (every call when times < 0) return `code`.
    // A refused request gets no answer and no matchKey.
    static void scriptReturn(const QString &function, int code, int times = -1);

    // Runs `task` on the engine's thread after what is queued there already.
    static void post(std::function<void()> task);
    // Waits until the engine's thread has run everything queued so far.
    static bool waitIdle(int timeoutMs = 10000);

    // Calls one entry of a registered table on the engine's thread, e.g.
    //     Control::fire(&ZS_GeneralCallBack::onConnectState, 3, 0);
    // Pointer arguments must stay valid until the call has run (see waitIdle).
    template<class Table, class Entry, class... Args>
    static void fire(Entry Table::*entry, Args... args)
    {
        post([=] {
            if (const Table *table = Control::table<Table>())
                if (const auto fn = table->*entry)
                    fn(args...);
        });
    }

    // The table last registered, or null.
    template<class Table> static const Table *table();

    // Reads or changes the server model under the engine's lock.
    static void withServer(const std::function<void(ServerModel &)> &fn);

    // A friend publishes presence: the model changes and, when logged in, the engine pushes
    // it through onReceiveFriendsPublishPresence.
    static void injectFriendPresence(const QString &user, int type, int subtype,
                                     const QByteArray &userdata);

    static bool initialized();
    static int traceLevel();
    static QString traceFile();
    static int fetchMaxMsgs();

private:
    static const void *registeredTable(int which);
};

namespace detail {
template<class T> constexpr int tableIndex()
{
    if constexpr (std::is_same_v<T, ZS_GeneralCallBack>)
        return 0;
    else if constexpr (std::is_same_v<T, ZS_VoIPCallBack>)
        return 1;
    else if constexpr (std::is_same_v<T, ZS_MessageCallBack>)
        return 2;
    else if constexpr (std::is_same_v<T, ZS_MeetingCallBack>)
        return 3;
    else if constexpr (std::is_same_v<T, ZS_ConfCallBack>)
        return 4;
    else
        static_assert(sizeof(T) == 0, "not an engine callback table");
}
} // namespace detail

template<class Table> const Table *Control::table()
{
    return static_cast<const Table *>(registeredTable(detail::tableIndex<Table>()));
}

} // namespace zssim
