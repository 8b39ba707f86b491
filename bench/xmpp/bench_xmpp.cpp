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

#include "BenchPeer.h"

#include <QXmppClient.h>
#include <QXmppConfiguration.h>
#include <QXmppMessage.h>
#include <QXmppUtils.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSslCertificate>
#include <QTcpSocket>
#include <QTimer>
#include <QUuid>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

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

struct Paths
{
    QString script = QStringLiteral(TQ_SOURCE_DIR "/scripts/server.sh");
    QString serverDir = QStringLiteral(TQ_BENCH_DIR "/server");
    QString runDir = QStringLiteral(TQ_BENCH_DIR "/run");
    QString agentPeer = QStringLiteral(TQ_AGENT_PEER);
    QString engineLibDir = QStringLiteral(TQ_XMPP_ENGINE_DIR);
};

void note(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

// Waits, running events, until `done` holds or the time is up.
bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    const qint64 deadline = xbench::nowNs() + qint64(timeoutMs) * 1000000;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || xbench::nowNs() > deadline)
            loop.quit();
    });
    poll.start(5);
    loop.exec();
    return done();
}

// One side's process and its lines.
class Peer
{
public:
    std::function<void(const QByteArray &)> onLine;

    bool start(const QString &program, const QStringList &args, const QProcessEnvironment &env,
               const QString &workDir)
    {
        QDir().mkpath(workDir);
        m_process.setProgram(program);
        m_process.setArguments(args);
        m_process.setProcessEnvironment(env);
        m_process.setWorkingDirectory(workDir);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.setStandardErrorFile(workDir + QStringLiteral("/stderr.txt"));
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { readLines(); });
        m_process.start();
        return m_process.waitForStarted(10000);
    }

    void write(const QByteArray &line) { m_process.write(line + '\n'); }

    bool running() const { return m_process.state() != QProcess::NotRunning; }

    // Asks it to log out and waits for it; killed after a bound.
    void stop()
    {
        if (!running())
            return;
        write("quit");
        if (!waitUntil([this] { return !running(); }, 15000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

private:
    void readLines()
    {
        m_buffer += m_process.readAllStandardOutput();
        int end;
        while ((end = m_buffer.indexOf('\n')) >= 0) {
            const QByteArray line = m_buffer.left(end);
            m_buffer.remove(0, end + 1);
            if (onLine)
                onLine(line);
        }
    }

    QProcess m_process;
    QByteArray m_buffer;
};

QJsonObject jsonOf(const QByteArray &line, int skip)
{
    return QJsonDocument::fromJson(line.mid(skip)).object();
}

// CPU time used by a process so far (user + system), in ms; -1 when unknown.
double processCpuMs(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Fields after the command's closing parenthesis; utime and stime are the 12th and 13th.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    return double(fields[11].toLongLong() + fields[12].toLongLong()) * 1000.0
        / double(sysconf(_SC_CLK_TCK));
}

class Bench
{
public:
    Bench(Options options, Paths paths)
        : o(std::move(options))
        , p(std::move(paths))
    {
        m_port = qEnvironmentVariableIntValue("TQ_XMPP_PORT");
        if (m_port <= 0)
            m_port = 15422;
        m_httpsPort = qEnvironmentVariableIntValue("TQ_XMPP_HTTPS_PORT");
        if (m_httpsPort <= 0)
            m_httpsPort = 15481;
    }

    bool startServer()
    {
        if (server(QStringLiteral("status")) != 0) {
            // server.sh waits for the port to open: another server there would fool it.
            QTcpSocket probe;
            probe.connectToHost(QStringLiteral("127.0.0.1"), quint16(m_port));
            if (probe.waitForConnected(1000)) {
                note(QStringLiteral("port %1 is taken by another server; set TQ_XMPP_PORT and "
                                    "TQ_XMPP_HTTPS_PORT")
                         .arg(m_port));
                return false;
            }
            if (server(QStringLiteral("start")) != 0)
                return false;
        }
        m_started = true;
        return true;
    }

    // Every half starts on a server without stored messages: Prosody's file archive (MAM,
    // storage "internal") is read and written whole by its periodic cleanup, which runs at
    // start; an archive left by the previous half would slow the next one.
    bool restartServer()
    {
        server(QStringLiteral("stop")); // also one that an interrupted run left behind
        m_started = false;
        for (const QFileInfo &host : QDir(p.serverDir + QStringLiteral("/data"))
                                         .entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
            for (const char *store : {"archive", "archive_cleanup", "offline", "smacks_h"})
                QDir(host.absoluteFilePath() + QLatin1Char('/') + QLatin1String(store))
                    .removeRecursively();
        return startServer();
    }

    void stopServer()
    {
        if (m_started)
            server(QStringLiteral("stop"));
        m_started = false;
    }

    // One half: a receiver and a sender of one kind, `o.messages` messages.
    QJsonObject runHalf(bool agents, int round)
    {
        const QString kind = agents ? QStringLiteral("agents") : QStringLiteral("bare");
        const QString base = p.runDir + QStringLiteral("/%1-%2-").arg(kind).arg(round);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TQ_XMPP_CA_FILE"),
                   p.serverDir + QStringLiteral("/certs/ca.crt"));
        QString program = QCoreApplication::applicationFilePath();
        QStringList args{QStringLiteral("--peer")};
        if (agents) {
            const QString old = env.value(QStringLiteral("LD_LIBRARY_PATH"));
            env.insert(QStringLiteral("LD_LIBRARY_PATH"),
                       old.isEmpty() ? p.engineLibDir : p.engineLibDir + QLatin1Char(':') + old);
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
        env.insert(QStringLiteral("TQ_LOG_DIR"), base + QStringLiteral("bob/log"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), base + QStringLiteral("bob/data"));
        if (!receiver.start(program, args, env, base + QStringLiteral("bob")))
            return finish(QStringLiteral("the receiver did not start"));
        receiver.write("login bob bob localhost " + QByteArray::number(m_port));
        receiver.write("expect " + QByteArray::number(o.messages) + (o.window > 0 ? " 1" : " 0"));
        if (!waitUntil([&] { return receiverReady || failed(); }, 30000) || failed())
            return finish(QStringLiteral("the receiver did not log in"));

        env.insert(QStringLiteral("TQ_LOG_DIR"), base + QStringLiteral("alice/log"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), base + QStringLiteral("alice/data"));
        if (!sender.start(program, args, env, base + QStringLiteral("alice")))
            return finish(QStringLiteral("the sender did not start"));
        sender.write("login alice alice localhost " + QByteArray::number(m_port));
        if (!waitUntil([&] { return senderReady || failed(); }, 30000) || failed())
            return finish(QStringLiteral("the sender did not log in"));

        const double serverCpuBefore = processCpuMs(serverPid());
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
        const double serverCpuMs = processCpuMs(serverPid()) - serverCpuBefore;
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

    int port() const { return m_port; }

private:
    int server(const QString &command)
    {
        QProcess script;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TQ_XMPP_PORT"), QString::number(m_port));
        env.insert(QStringLiteral("TQ_XMPP_HTTPS_PORT"), QString::number(m_httpsPort));
        script.setProcessEnvironment(env);
        script.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        script.start(QStringLiteral("bash"), {p.script, command, p.serverDir});
        if (!script.waitForFinished(600000)) // a first start may install Prosody
            return -1;
        return script.exitStatus() == QProcess::NormalExit ? script.exitCode() : -1;
    }

    qint64 serverPid() const
    {
        QFile file(p.serverDir + QStringLiteral("/prosody.pid"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toLongLong() : -1;
    }

    Options o;
    Paths p;
    int m_port = 0;
    int m_httpsPort = 0;
    bool m_started = false;
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
