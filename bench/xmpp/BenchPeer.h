#pragma once

// One side of a bench run in a process of its own (the agents are singletons: one user per
// process). The bench drives it with lines on stdin and reads its answers on stdout:
//
//   in:  login <user> <password> <host> <port>   (the password never goes on a command line)
//        expect <count> <report>                 receiver: <report> 1 = a "got" line each
//        send <to> <count> <window>              sender: window 0 = all at once
//        credit <received>                       sender: the receiver's count, relayed
//        quit
//   out: ready | fail <reason> | got <received> | result <json> | sent <count> | bye <json>
//
// A message's text starts with the steady-clock time of its send and its number; the clock
// is CLOCK_MONOTONIC, the same in every process of the machine, so the receiver measures
// the latency across processes.

#include <QJsonObject>
#include <QObject>
#include <QString>

#include <vector>

class QSocketNotifier;

namespace xbench {

// Nanoseconds of std::chrono::steady_clock (CLOCK_MONOTONIC on Linux).
qint64 nowNs();
// "<sent ns> <number> " and filler up to a typical chat line (kTextLength characters).
QString messageText(qint64 sentNs, int number);
bool parseMessage(const QString &text, qint64 &sentNs, int &number);
constexpr int kTextLength = 64;

// Nearest-rank percentile (0 < p <= 1) of unsorted values; 0 for none.
qint64 percentile(std::vector<qint64> values, double p);

// What a user of one client library does: log in, send, receive, log out.
class Transport : public QObject
{
    Q_OBJECT
public:
    virtual void login(const QString &user, const QString &password, const QString &host, int port)
        = 0;
    // `to` is the user name; each transport writes the address its library expects.
    virtual void send(const QString &to, const QString &text) = 0;
    virtual void logout() = 0;
    // Figures of this side for the final line (e.g. acknowledged sends).
    virtual QJsonObject figures() const { return {}; }

signals:
    void connected();
    void failed(int reason);
    void received(const QString &text);
    void loggedOut();
};

// Runs the line protocol above over a transport until "quit"; returns the exit code.
int runPeer(Transport &transport);

} // namespace xbench
