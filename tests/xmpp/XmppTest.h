#pragma once

// The XMPP engine's tests: several QtTest classes in one executable (main.cpp), each
// registered with TQ_TEST_CLASS. They share one Prosody, started by the first class that asks
// and stopped when the executable ends; users run as xmpp_peer processes, one user each.

#include "TestRegistry.h"

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

// The Prosody of this run, on TQ_XMPP_PORT / TQ_XMPP_HTTPS_PORT, data in TQ_SERVER_DIR.
class XmppServer
{
public:
    // Starts it unless it runs; false when it cannot be started.
    static bool ensureStarted();
    static bool start();
    static bool stop();
    static void stopIfStarted();
    static int port();
    static QString caFile();
    static QString dir();
};

// Two servers that federate (scripts/server.sh --federated): "alpha.test" on 127.0.0.1 and
// "beta.test" on 127.0.0.2, both on the single server's ports + 1 of their own address, linked
// over TLS on port 5269. Data in TQ_SERVER_DIR-federation.
class XmppFederation
{
public:
    static bool ensureStarted();
    static void stopIfStarted();
    static int port();
    static QString dir();
    static QString caFile();
    // The address a user of that domain logs in at.
    static QString addressOf(const QString &domain);
};

// One user of the engine in a process of its own (tests/xmpp/peer).
class PeerProcess
{
public:
    using Match = std::function<bool(const QJsonObject &)>;

    explicit PeerProcess(const QString &name);
    ~PeerProcess();
    PeerProcess(const PeerProcess &) = delete;
    PeerProcess &operator=(const PeerProcess &) = delete;

    // Starts the process and initialises the engine; extra environment as NAME=value.
    bool start(const QStringList &environment = {});
    // Sends a command and waits for its return line ({"ret": code, ...}); empty on time-out.
    QJsonObject command(const QString &name, const QStringList &args = {}, int timeoutMs = 30000);
    // The first event of that name not taken yet that matches; it is taken. Empty on time-out.
    QJsonObject waitEvent(const QString &event, const Match &match = {}, int timeoutMs = 30000);
    // Every event of that name seen so far (taken or not), after reading what is pending.
    QList<QJsonObject> seen(const QString &event);
    // Logs in (port of the run's server) and waits for connected or failed; the final
    // onConnectState event, or empty.
    QJsonObject login(const QString &user, const QString &password, int port = 0,
                      const QString &server = QString());
    // login() that must connect; a user "name@domain" of the federation logs in at its
    // domain's server.
    bool loginOk(const QString &user);
    QString name() const { return m_name; }
    bool running() const;

private:
    bool readSome(int timeoutMs);
    void parseLines();

    QString m_name;
    std::unique_ptr<QProcess> m_process;
    QByteArray m_buffer;
    std::vector<QJsonObject> m_events;
    std::vector<bool> m_taken;
};

// Percent-encodes an argument of a peer command.
QString peerArg(const QString &text);

// Reading the peer's JSON lines: a command's return code, a text or a number field (-1 when
// missing), the answer carrying a command's key, an event about a message id, and the state
// record of a user in an event's "states".
int retOf(const QJsonObject &ret);
QString str(const QJsonObject &o, const char *name);
int num(const QJsonObject &o, const char *name);
PeerProcess::Match keyed(const QJsonObject &ret);
PeerProcess::Match withId(const QString &msgId);
QJsonObject recordOf(const QJsonObject &event, const QString &name);
