// Messages between two users through Prosody on the loopback: bare QXmpp clients against the
// XMPP engine behind the agents (TQ_Agent's IM_Agent), in the same run. Each user is a
// process of its own in both halves (the agents are singletons), alice sends, bob receives.
//
//     bench_xmpp [messages, default 10000] [--window N] [--rounds R] [--json FILE]
//                [--only bare|agents] [--queue ticked|real]
//
// "Send" is the moment the sender calls QXmppClient::sendPacket or emits
// sig_sendTextMessageEX; its steady-clock time travels in the text and the receiver takes the
// latency when QXmppClient::messageReceived or sig_onReceiveMessage reaches its main thread.
// Throughput: messages / (first send to last receive). Pace, the same for both: at most
// --window messages on their way (sent, not yet received; default 10, 0 = all at once),
// the receiver's count relayed to the sender through this process.
//
// IM_Agent lets one new message leave per 250 ms tick; --queue ticked (default) gives a tick
// right after each send, --queue real keeps the timer (see AgentPeer.cpp).
//
// The bench runs its own Prosody (scripts/server.sh) in <build>/bench/xmpp/server, on
// TQ_XMPP_PORT / TQ_XMPP_HTTPS_PORT (default 15422 / 15481): restarted without stored messages
// before each half, stopped at the end.
// Internal: "bench_xmpp --peer" is the bare QXmpp user of one side (BenchPeer.h).
//
//     bench_xmpp --group [--members 50] [--fanout 200] [--messages 100000] [--window 100]
//                        [--stay] [--json FILE]
//
// is the group bench (GroupBench.cpp).

#include "BenchPeer.h"
#include "BenchRun.h"
#include "GroupBench.h"

#include <QXmppClient.h>
#include <QXmppConfiguration.h>
#include <QXmppMessage.h>
#include <QXmppUtils.h>

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSslCertificate>
#include <QTimer>
#include <QUuid>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

using namespace xbench;

// ---- the bare side ---------------------------------------------------------------------------

class BareTransport : public xbench::Transport
{
public:
    BareTransport()
    {
        connect(&m_client, &QXmppClient::connected, this, &Transport::connected);
        connect(&m_client, &QXmppClient::error, this, [this](QXmppClient::Error) {
            if (!m_loggingOut)
                emit failed(1004);
        });
        connect(&m_client, &QXmppClient::disconnected, this, [this] {
            if (m_loggingOut)
                emit loggedOut();
        });
        connect(&m_client, &QXmppClient::messageReceived, this, [this](const QXmppMessage &m) {
            if (!m.body().isEmpty())
                emit received(m.body());
        });
    }

    void login(const QString &user, const QString &password, const QString &host, int port) override
    {
        m_domain = host;
        QXmppConfiguration config;
        config.setJid(user + QLatin1Char('@') + host);
        config.setHost(host);
        config.setPort(port);
        config.setPassword(password);
        config.setResource(QStringLiteral("bench-")
                           + QUuid::createUuid().toString(QUuid::Id128).left(8));
        config.setStreamSecurityMode(QXmppConfiguration::TLSRequired);
        config.setIgnoreSslErrors(false);
        config.setCaCertificates(
            QSslCertificate::fromPath(qEnvironmentVariable("TQ_XMPP_CA_FILE")));
        config.setAutoReconnectionEnabled(false);
        m_client.connectToServer(config); // stream management: on when the server offers it
    }

    // What a plain chat client sends: an id that is also the origin id, markable, the body.
    void send(const QString &to, const QString &text) override
    {
        QXmppMessage message;
        message.setTo(to + QLatin1Char('@') + m_domain);
        message.setType(QXmppMessage::Chat);
        const QString id = QXmppUtils::generateStanzaUuid();
        message.setId(id);
        message.setOriginId(id);
        message.setMarkable(true);
        message.setBody(text);
        m_client.sendPacket(message);
    }

    void logout() override
    {
        m_loggingOut = true;
        if (m_client.isConnected())
            m_client.disconnectFromServer();
        else
            emit loggedOut();
    }

    QJsonObject figures() const override
    {
        QJsonObject f;
        f[QStringLiteral("streamManagement")]
            = m_client.streamManagementState() != QXmppClient::NoStreamManagement;
        return f;
    }

private:
    QXmppClient m_client;
    QString m_domain;
    bool m_loggingOut = false;
};

// ---- the bench -------------------------------------------------------------------------------

struct Options
{
    int messages = 10000;
    int window = 10;
    int rounds = 1;
    QString json;
    QString only;
    QString queue = QStringLiteral("ticked");
};

class Bench
{
public:
    Bench(Options options, Paths paths)
        : o(std::move(options))
        , p(std::move(paths))
        , m_server(p)
    { }

    bool restartServer() { return m_server.restart(); }
    void stopServer() { m_server.stop(); }

    // One half: a receiver and a sender of one kind, `o.messages` messages.
    QJsonObject runHalf(bool agents, int round)
    {
        const QString kind = agents ? QStringLiteral("agents") : QStringLiteral("bare");
        const QString base = p.runDir + QStringLiteral("/%1-%2-").arg(kind).arg(round);
        QProcessEnvironment env = peerEnvironment(m_server.caFile());
        QString program = QCoreApplication::applicationFilePath();
        QStringList args{QStringLiteral("--peer")};
        if (agents) {
            loadXmppEngine(env, p);
            program = p.agentPeer;
            args = QStringList{QStringLiteral("--queue"), o.queue};
        }

        QJsonObject outcome;
        QString error;
        bool receiverReady = false;
        bool senderReady = false;
        QJsonObject result;
        QJsonObject senderFigures;
        QJsonObject receiverFigures;
        qint64 lastProgress = xbench::nowNs();
        Peer receiver;
        Peer sender;
        receiver.onLine = [&](const QByteArray &line) {
            if (line.startsWith("got ")) {
                lastProgress = xbench::nowNs();
                if (o.window > 0)
                    sender.write("credit " + line.mid(4));
            } else if (line == "ready") {
                receiverReady = true;
            } else if (line.startsWith("result ")) {
                result = jsonOf(line, 7);
            } else if (line.startsWith("bye ")) {
                receiverFigures = jsonOf(line, 4);
            } else if (line.startsWith("fail ")) {
                error = QStringLiteral("receiver: ") + QString::fromUtf8(line);
            }
        };
        sender.onLine = [&](const QByteArray &line) {
            if (line == "ready")
                senderReady = true;
            else if (line.startsWith("bye "))
                senderFigures = jsonOf(line, 4);
            else if (line.startsWith("fail "))
                error = QStringLiteral("sender: ") + QString::fromUtf8(line);
        };

        const auto failed = [&] {
            return !error.isEmpty();
        };
        const auto finish = [&](const QString &why) {
            if (error.isEmpty())
                error = why;
            sender.stop();
            receiver.stop();
            outcome[QStringLiteral("error")] = error;
            note(kind + QStringLiteral(": ") + error);
            return outcome;
        };

        // The agents' log and the engine's trace stay in the run's directory.
        keepAgentFilesIn(env, base + QStringLiteral("bob"));
        if (!receiver.start(program, args, env, base + QStringLiteral("bob")))
            return finish(QStringLiteral("the receiver did not start"));
        receiver.write("login bob bob localhost " + QByteArray::number(port()));
        receiver.write("expect " + QByteArray::number(o.messages) + (o.window > 0 ? " 1" : " 0"));
        if (!waitUntil([&] { return receiverReady || failed(); }, 30000) || failed())
            return finish(QStringLiteral("the receiver did not log in"));

        keepAgentFilesIn(env, base + QStringLiteral("alice"));
        if (!sender.start(program, args, env, base + QStringLiteral("alice")))
            return finish(QStringLiteral("the sender did not start"));
        sender.write("login alice alice localhost " + QByteArray::number(port()));
        if (!waitUntil([&] { return senderReady || failed(); }, 30000) || failed())
            return finish(QStringLiteral("the sender did not log in"));

        const double serverCpuBefore = processCpuMs(m_server.pid());
        lastProgress = xbench::nowNs();
        sender.write("send bob " + QByteArray::number(o.messages) + ' '
                     + QByteArray::number(o.window));
        // A bound on silence, not on the run: a lost message would otherwise wait forever.
        const qint64 stallNs = 60LL * 1000000000;
        waitUntil(
            [&] {
                return !result.isEmpty() || failed() || xbench::nowNs() - lastProgress > stallNs;
            },
            24 * 3600 * 1000);
        const double serverCpuMs = processCpuMs(m_server.pid()) - serverCpuBefore;
        if (result.isEmpty())
            return finish(QStringLiteral("stalled: no message for 60 s"));
        sender.stop();
        receiver.stop();
        outcome = result;
        if (serverCpuBefore >= 0)
            outcome[QStringLiteral("serverCpuUs")] = serverCpuMs * 1000.0 / o.messages;
        outcome[QStringLiteral("sender")] = senderFigures;
        outcome[QStringLiteral("receiver")] = receiverFigures;
        // Both users' CPU per message: what the client side costs, whatever the server does.
        outcome[QStringLiteral("clientCpuUs")]
            = (senderFigures.value(QLatin1String("cpuMs")).toDouble()
               + receiverFigures.value(QLatin1String("cpuMs")).toDouble())
            * 1000.0 / o.messages;
        note(QStringLiteral("%1: %2 received, %3 duplicates; sender %4")
                 .arg(kind)
                 .arg(result.value(QLatin1String("messages")).toInt())
                 .arg(result.value(QLatin1String("duplicates")).toInt())
                 .arg(QString::fromUtf8(
                     QJsonDocument(senderFigures).toJson(QJsonDocument::Compact))));
        return outcome;
    }

    int port() const { return m_server.port(); }

private:
    Options o;
    Paths p;
    Server m_server;
};

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Medians of the rounds' figures of one half.
QJsonObject medianOf(const QJsonArray &rounds, const QString &half)
{
    QJsonObject m;
    for (const char *key :
         {"perSecond", "p50Ms", "p99Ms", "seconds", "clientCpuUs", "serverCpuUs"}) {
        std::vector<double> values;
        for (const QJsonValue &round : rounds) {
            const QJsonObject r = round.toObject().value(half).toObject();
            if (r.contains(QLatin1String(key)))
                values.push_back(r.value(QLatin1String(key)).toDouble());
        }
        if (!values.empty())
            m[QLatin1String(key)] = median(values);
    }
    return m;
}

void printRow(const char *name, const QJsonObject &r)
{
    if (r.isEmpty()) {
        std::printf("  %-18s %10s\n", name, "-");
        return;
    }
    const auto f = [&r](const char *key) {
        return r.value(QLatin1String(key)).toDouble();
    };
    std::printf("  %-18s %10.0f %9.2f %9.2f %9.2f %14.0f %14.0f\n", name, f("perSecond"),
                f("p50Ms"), f("p99Ms"), f("seconds"), f("clientCpuUs"), f("serverCpuUs"));
}

// Overheads of the agents' half in percent: time per message, and latency.
QJsonObject overhead(const QJsonObject &bare, const QJsonObject &agents)
{
    QJsonObject o;
    const auto ratio = [&](const char *key) {
        const double b = bare.value(QLatin1String(key)).toDouble();
        const double a = agents.value(QLatin1String(key)).toDouble();
        return b > 0 && a > 0 ? a / b : 0.0;
    };
    const double rate = ratio("perSecond");
    if (rate > 0)
        o[QStringLiteral("timePerMessage")] = (1.0 / rate - 1.0) * 100.0;
    if (ratio("p50Ms") > 0)
        o[QStringLiteral("p50")] = (ratio("p50Ms") - 1.0) * 100.0;
    if (ratio("p99Ms") > 0)
        o[QStringLiteral("p99")] = (ratio("p99Ms") - 1.0) * 100.0;
    if (ratio("clientCpuUs") > 0)
        o[QStringLiteral("clientCpu")] = (ratio("clientCpuUs") - 1.0) * 100.0;
    return o;
}

bool parseOptions(const QStringList &args, Options &o)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        const QString next = args.value(i + 1);
        bool ok = true;
        if (a == QLatin1String("--window")) {
            o.window = next.toInt(&ok);
            ++i;
        } else if (a == QLatin1String("--rounds")) {
            o.rounds = next.toInt(&ok);
            ++i;
        } else if (a == QLatin1String("--json")) {
            o.json = next;
            ++i;
        } else if (a == QLatin1String("--only")) {
            o.only = next;
            ++i;
            ok = next == QLatin1String("bare") || next == QLatin1String("agents");
        } else if (a == QLatin1String("--queue")) {
            o.queue = next;
            ++i;
            ok = next == QLatin1String("ticked") || next == QLatin1String("real");
        } else {
            o.messages = a.toInt(&ok);
        }
        if (!ok || o.messages <= 0 || o.window < 0 || o.rounds <= 0)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--peer") == 0) {
        BareTransport transport;
        return xbench::runPeer(transport);
    }
    if (argc > 1 && qstrcmp(argv[1], "--group") == 0)
        return xbench::runGroupBench(app.arguments().mid(2));
    Options o;
    if (!parseOptions(app.arguments(), o)) {
        note(QStringLiteral("usage: bench_xmpp [messages] [--window N] [--rounds R] [--json FILE] "
                            "[--only bare|agents] [--queue ticked|real]"));
        return 2;
    }
    Bench bench(o, Paths());

    QJsonArray rounds;
    bool complete = true;
    for (int round = 1; round <= o.rounds; ++round) {
        QJsonObject r;
        for (const bool agents : {false, true}) {
            const QString half = agents ? QStringLiteral("agents") : QStringLiteral("bare");
            if (!o.only.isEmpty() && o.only != half)
                continue;
            note(QStringLiteral("round %1: %2, %3 messages").arg(round).arg(half).arg(o.messages));
            if (!bench.restartServer())
                return 1;
            const QJsonObject outcome = bench.runHalf(agents, round);
            complete = complete && !outcome.contains(QLatin1String("error"));
            r[half] = outcome;
        }
        rounds.append(r);
    }
    bench.stopServer();

    const QJsonObject bare = medianOf(rounds, QStringLiteral("bare"));
    const QJsonObject agents = medianOf(rounds, QStringLiteral("agents"));
    const QJsonObject extra = overhead(bare, agents);
    std::printf("XMPP messages, Prosody on 127.0.0.1:%d: %d messages, window %d%s, agents' "
                "queue %s; %s of %d round(s)\n",
                bench.port(), o.messages, o.window, o.window == 0 ? " (all at once)" : "",
                qPrintable(o.queue), o.rounds > 1 ? "median" : "result", o.rounds);
    std::printf("  %-18s %10s %9s %9s %9s %14s %14s\n", "", "msg/s", "p50 ms", "p99 ms", "seconds",
                "clients CPU us", "server CPU us");
    printRow("bare QXmpp", bare);
    printRow("engine + agents", agents);
    if (!extra.isEmpty())
        std::printf("  engine + agents against bare QXmpp: time per message %+.1f %%, p50 %+.1f "
                    "%%, p99 %+.1f %%, clients' CPU %+.1f %% (target: at most +20 %%)\n",
                    extra.value(QLatin1String("timePerMessage")).toDouble(),
                    extra.value(QLatin1String("p50")).toDouble(),
                    extra.value(QLatin1String("p99")).toDouble(),
                    extra.value(QLatin1String("clientCpu")).toDouble());
    if (!o.json.isEmpty()) {
        QJsonObject all;
        all[QStringLiteral("messages")] = o.messages;
        all[QStringLiteral("window")] = o.window;
        all[QStringLiteral("queue")] = o.queue;
        all[QStringLiteral("rounds")] = rounds;
        all[QStringLiteral("bare")] = bare;
        all[QStringLiteral("agents")] = agents;
        all[QStringLiteral("overheadPercent")] = extra;
        QFile file(o.json);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(QJsonDocument(all).toJson()) < 0) {
            note(QStringLiteral("cannot write %1").arg(o.json));
            return 1;
        }
    }
    return complete ? 0 : 1;
}
