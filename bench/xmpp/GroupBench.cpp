// A group through Prosody's multi-user chat: this process speaks XMPP for `members` accounts
// (m01 ... mNN, bare QXmpp clients) and the agents' client (alice, bench_xmpp_agent on the
// XMPP engine) is one member more, in the room through her bookmarks like any group of hers.
//
//  1. Fan-out: m01 sends --fanout messages one at a time; each one's fan-out time is from its
//     send to its arrival at the last of the others (the other bare members, in this process,
//     and the agents' client, whose "got" line the bench reads).
//  2. Receive path: --messages group messages from m01 to the agents' client, at most --window
//     on their way; the others leave the room first unless --stay (then the server sends every
//     message to all of them too). Throughput at the agents' client, its CPU per message and
//     its resident memory every 10 000 messages.
//
// The server keeps the archives (the rooms' history) in memory unless --file-archive: Prosody's
// file store rewrites a growing archive whole, which soon costs more than the messages.

#include "GroupBench.h"

#include "BenchPeer.h"
#include "BenchRun.h"

#include <QXmppClient.h>
#include <QXmppConfiguration.h>
#include <QXmppElement.h>
#include <QXmppIq.h>
#include <QXmppMessage.h>
#include <QXmppPresence.h>
#include <QXmppUtils.h>

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSslCertificate>
#include <QSslSocket>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace xbench {
namespace {

const QString kDomain = QStringLiteral("localhost");
const QString kRoom = QStringLiteral("g0000000b50@conference.localhost");
const QString nsMuc = QStringLiteral("http://jabber.org/protocol/muc");

struct GroupOptions
{
    int members = 50;
    int fanout = 200;
    int messages = 100000;
    int window = 100;
    bool stay = false;
    bool fileArchive = false;
    QString json;
};

QXmppElement element(const QString &tag, const QString &ns = QString(),
                     const QString &text = QString())
{
    QXmppElement e;
    e.setTagName(tag);
    if (!ns.isEmpty())
        e.setAttribute(QStringLiteral("xmlns"), ns);
    if (!text.isEmpty())
        e.setValue(text);
    return e;
}

QXmppElement field(const QString &var, const QString &value)
{
    QXmppElement f = element(QStringLiteral("field"));
    f.setAttribute(QStringLiteral("var"), var);
    f.appendChild(element(QStringLiteral("value"), QString(), value));
    return f;
}

class RawIq : public QXmppIq
{
public:
    QXmppElement payload;

protected:
    void toXmlElementFromChild(QXmlStreamWriter *writer) const override { payload.toXml(writer); }
};

// One bare member: a client, its place in the room, what reached it.
class Member : public QObject
{
public:
    Member(const QString &name, const QString &caFile, int port)
        : m_name(name)
    {
        connect(&client, &QXmppClient::connected, this, [this] {
            m_connected = true;
            // As the engine does: a chat's small writes go out at once (no Nagle delay).
            for (QSslSocket *socket : client.findChildren<QSslSocket *>())
                socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        });
        connect(&client, &QXmppClient::error, this, [this](QXmppClient::Error) { ++errors; });
        connect(&client, &QXmppClient::presenceReceived, this, [this](const QXmppPresence &p) {
            if (QXmppUtils::jidToBareJid(p.from()) != kRoom)
                return;
            const QString nick = QXmppUtils::jidToResource(p.from());
            if (nick == m_name && p.type() == QXmppPresence::Available)
                inRoom = true;
            else if (nick == m_name && p.type() == QXmppPresence::Unavailable)
                inRoom = false;
            else if (nick == m_name && p.type() == QXmppPresence::Error)
                note(QStringLiteral("%1 not let in: %2")
                         .arg(m_name)
                         .arg(int(p.error().condition())));
            else if (p.type() == QXmppPresence::Available)
                present << nick;
        });
        connect(&client, &QXmppClient::iqReceived, this, [this](const QXmppIq &iq) {
            if (iq.type() == QXmppIq::Result || iq.type() == QXmppIq::Error)
                answers.insert(iq.id(), iq.type() == QXmppIq::Result);
        });
        connect(&client, &QXmppClient::messageReceived, this, [this](const QXmppMessage &m) {
            if (m.type() != QXmppMessage::GroupChat || m.body().isEmpty() || !onMessage)
                return;
            qint64 sentNs = 0;
            int number = -1;
            if (QXmppUtils::jidToResource(m.from()) != m_name
                && parseMessage(m.body(), sentNs, number))
                onMessage(number, nowNs() - sentNs);
        });
        QXmppConfiguration config;
        config.setJid(name + QLatin1Char('@') + kDomain);
        config.setHost(kDomain);
        config.setPort(port);
        config.setPassword(name); // the bench's accounts: password = name
        config.setResource(QStringLiteral("bench"));
        config.setStreamSecurityMode(QXmppConfiguration::TLSRequired);
        config.setIgnoreSslErrors(false);
        config.setCaCertificates(QSslCertificate::fromPath(caFile));
        config.setAutoReconnectionEnabled(false);
        client.connectToServer(config);
    }

    bool connected() const { return m_connected && client.isConnected(); }
    QString name() const { return m_name; }

    void enter()
    {
        QXmppPresence presence(QXmppPresence::Available);
        presence.setTo(kRoom + QLatin1Char('/') + m_name);
        QXmppElement x = element(QStringLiteral("x"), nsMuc);
        QXmppElement history = element(QStringLiteral("history"));
        history.setAttribute(QStringLiteral("maxstanzas"), QStringLiteral("0"));
        x.appendChild(history);
        presence.setExtensions({x});
        client.sendPacket(presence);
    }

    void leave()
    {
        QXmppPresence presence(QXmppPresence::Unavailable);
        presence.setTo(kRoom + QLatin1Char('/') + m_name);
        client.sendPacket(presence);
    }

    // Sends an IQ; its id, whose answer lands in `answers`.
    QString ask(QXmppIq::Type type, const QString &to, const QXmppElement &payload)
    {
        RawIq iq;
        iq.setType(type);
        iq.setTo(to);
        iq.payload = payload;
        client.sendPacket(iq);
        return iq.id();
    }

    void say(const QString &text)
    {
        QXmppMessage m;
        m.setTo(kRoom);
        m.setType(QXmppMessage::GroupChat);
        const QString id = QXmppUtils::generateStanzaUuid();
        m.setId(id);
        m.setOriginId(id);
        m.setBody(text);
        client.sendPacket(m);
    }

    QXmppClient client;
    bool inRoom = false;
    QSet<QString> present; // other nicks seen in the room
    QHash<QString, bool> answers; // IQ id -> a result (not an error)
    int errors = 0;
    std::function<void(int number, qint64 latencyNs)> onMessage;

private:
    QString m_name;
    bool m_connected = false;
};

bool answered(Member &m, const QString &id, int timeoutMs = 30000)
{
    return waitUntil([&] { return m.answers.contains(id); }, timeoutMs) && m.answers.value(id);
}

double ms(qint64 ns)
{
    return double(ns) / 1e6;
}

QJsonObject spread(const std::vector<qint64> &values)
{
    QJsonObject o;
    o[QStringLiteral("p50Ms")] = ms(percentile(values, 0.50));
    o[QStringLiteral("p99Ms")] = ms(percentile(values, 0.99));
    o[QStringLiteral("maxMs")]
        = values.empty() ? 0.0 : ms(*std::max_element(values.begin(), values.end()));
    return o;
}

bool parseGroupOptions(const QStringList &args, GroupOptions &o)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const QString next = args.value(i + 1);
        bool ok = true;
        if (a == QLatin1String("--members"))
            o.members = next.toInt(&ok), ++i;
        else if (a == QLatin1String("--fanout"))
            o.fanout = next.toInt(&ok), ++i;
        else if (a == QLatin1String("--messages"))
            o.messages = next.toInt(&ok), ++i;
        else if (a == QLatin1String("--window"))
            o.window = next.toInt(&ok), ++i;
        else if (a == QLatin1String("--json"))
            o.json = next, ++i;
        else if (a == QLatin1String("--stay"))
            o.stay = true;
        else if (a == QLatin1String("--file-archive"))
            o.fileArchive = true;
        else
            ok = false;
        if (!ok || o.members < 2 || o.members > 99 || o.fanout < 1 || o.messages < 0
            || o.window < 1)
            return false;
    }
    return true;
}

} // namespace

int runGroupBench(const QStringList &args)
{
    GroupOptions o;
    if (!parseGroupOptions(args, o)) {
        note(QStringLiteral("usage: bench_xmpp --group [--members N (2-99, 50)] [--fanout K "
                            "(200)] [--messages M (100000)] [--window W (100)] [--stay] "
                            "[--file-archive] [--json FILE]"));
        return 2;
    }
    const Paths paths;
    Server server(paths);
    server.setMemoryArchive(!o.fileArchive);
    note(QStringLiteral("server with %1 member accounts").arg(o.members));
    if (!server.restart(o.members))
        return 1;
    const auto fail = [&](const QString &why) {
        note(QStringLiteral("group bench: ") + why);
        server.stop();
        return 1;
    };

    // alice's groups are her bookmarks: the room is one of them before her client starts.
    {
        Member alice(QStringLiteral("alice"), server.caFile(), server.port());
        if (!waitUntil([&] { return alice.connected() || alice.errors > 0; }, 30000)
            || !alice.connected())
            return fail(QStringLiteral("alice did not connect"));
        QXmppElement conference = element(QStringLiteral("conference"));
        conference.setAttribute(QStringLiteral("jid"), kRoom);
        conference.setAttribute(QStringLiteral("name"), QStringLiteral("Bench"));
        conference.setAttribute(QStringLiteral("autojoin"), QStringLiteral("true"));
        conference.appendChild(element(QStringLiteral("nick"), QString(), "alice@" + kDomain));
        QXmppElement storage = element(QStringLiteral("storage"), "storage:bookmarks");
        storage.appendChild(conference);
        QXmppElement query = element(QStringLiteral("query"), "jabber:iq:private");
        query.appendChild(storage);
        if (!answered(alice, alice.ask(QXmppIq::Set, QString(), query)))
            return fail(QStringLiteral("alice's bookmarks not stored"));
        alice.client.disconnectFromServer();
    }

    std::vector<std::unique_ptr<Member>> members;
    for (int i = 1; i <= o.members; ++i)
        members.push_back(std::make_unique<Member>(QString::asprintf("m%02d", i), server.caFile(),
                                                   server.port()));
    if (!waitUntil(
            [&] {
                return std::all_of(members.begin(), members.end(),
                                   [](const auto &m) { return m->connected() || m->errors; });
            },
            120000)
        || !std::all_of(members.begin(), members.end(),
                        [](const auto &m) { return m->connected(); }))
        return fail(QStringLiteral("not every member connected"));

    // m01 makes the room as the engine makes a group's: persistent, members only, members'
    // addresses shown; everyone else, alice too, a member.
    Member &owner = *members.front();
    owner.enter();
    if (!waitUntil([&] { return owner.inRoom; }, 30000))
        return fail(QStringLiteral("the room was not made"));
    QXmppElement form = element(QStringLiteral("x"), QStringLiteral("jabber:x:data"));
    form.setAttribute(QStringLiteral("type"), QStringLiteral("submit"));
    form.appendChild(
        field(QStringLiteral("FORM_TYPE"), "http://jabber.org/protocol/muc#roomconfig"));
    form.appendChild(field(QStringLiteral("muc#roomconfig_roomname"), QStringLiteral("Bench")));
    form.appendChild(field(QStringLiteral("muc#roomconfig_persistentroom"), "1"));
    form.appendChild(field(QStringLiteral("muc#roomconfig_membersonly"), "1"));
    form.appendChild(field(QStringLiteral("muc#roomconfig_whois"), QStringLiteral("anyone")));
    QXmppElement config = element(QStringLiteral("query"), nsMuc + QStringLiteral("#owner"));
    config.appendChild(form);
    if (!answered(owner, owner.ask(QXmppIq::Set, kRoom, config)))
        return fail(QStringLiteral("the room's configuration was refused"));
    QStringList affiliated{"alice@" + kDomain};
    for (std::size_t i = 1; i < members.size(); ++i)
        affiliated << members[i]->name() + QLatin1Char('@') + kDomain;
    QStringList asked;
    for (const QString &jid : qAsConst(affiliated)) {
        // Prosody takes one item per request.
        QXmppElement admin = element(QStringLiteral("query"), nsMuc + QStringLiteral("#admin"));
        QXmppElement item = element(QStringLiteral("item"));
        item.setAttribute(QStringLiteral("jid"), jid);
        item.setAttribute(QStringLiteral("affiliation"), QStringLiteral("member"));
        admin.appendChild(item);
        asked << owner.ask(QXmppIq::Set, kRoom, admin);
    }
    for (const QString &id : qAsConst(asked))
        if (!answered(owner, id))
            return fail(QStringLiteral("a member was refused"));
    for (std::size_t i = 1; i < members.size(); ++i)
        members[i]->enter();
    if (!waitUntil(
            [&] {
                return std::all_of(members.begin(), members.end(),
                                   [](const auto &m) { return m->inRoom; });
            },
            60000))
        return fail(QStringLiteral("not every member entered the room"));

    // The agents' client logs in and enters the room from her bookmarks.
    const int total = o.fanout + o.messages;
    QProcessEnvironment env = peerEnvironment(server.caFile());
    loadXmppEngine(env, paths);
    const QString base = paths.runDir + QStringLiteral("/group-alice");
    keepAgentFilesIn(env, base);
    Peer agent;
    bool ready = false;
    QString agentError;
    int got = 0;
    qint64 gotAtNs = 0;
    QJsonObject agentResult;
    agent.onLine = [&](const QByteArray &line) {
        if (line.startsWith("got ")) {
            got = line.mid(4).toInt();
            gotAtNs = nowNs();
        } else if (line == "ready") {
            ready = true;
        } else if (line.startsWith("result ")) {
            agentResult = jsonOf(line, 7);
        } else if (line.startsWith("fail ")) {
            agentError = QString::fromUtf8(line);
        }
    };
    if (!agent.start(paths.agentPeer, {}, env, base))
        return fail(QStringLiteral("the agents' client did not start"));
    agent.write("login alice alice localhost " + QByteArray::number(server.port()));
    agent.write("expect " + QByteArray::number(total) + " 1");
    if (!waitUntil([&] { return ready || !agentError.isEmpty(); }, 30000) || !ready)
        return fail(QStringLiteral("the agents' client did not log in: ") + agentError);
    const QString aliceNick = "alice@" + kDomain;
    if (!waitUntil([&] { return owner.present.contains(aliceNick); }, 30000))
        return fail(QStringLiteral("the agents' client did not enter the room"));
    const qint64 rssAtStart = processRssKb(agent.pid());

    // 1. Fan-out, one message at a time.
    std::vector<qint64> toBare(std::size_t(o.fanout), 0);
    std::vector<int> bareCount(std::size_t(o.fanout), 0);
    for (auto &m : members)
        m->onMessage = [&](int number, qint64 latencyNs) {
            if (number < 0 || number >= o.fanout)
                return;
            toBare[std::size_t(number)] = std::max(toBare[std::size_t(number)], latencyNs);
            ++bareCount[std::size_t(number)];
        };
    std::vector<qint64> toAgent;
    std::vector<qint64> toAll;
    const int others = o.members - 1;
    for (int i = 0; i < o.fanout; ++i) {
        const qint64 sentNs = nowNs();
        owner.say(messageText(sentNs, i));
        if (!waitUntil([&] { return bareCount[std::size_t(i)] >= others && got > i; }, 30000))
            return fail(QStringLiteral("message %1 did not reach everyone").arg(i));
        toAgent.push_back(gotAtNs - sentNs);
        toAll.push_back(std::max(toBare[std::size_t(i)], gotAtNs - sentNs));
    }
    note(QStringLiteral("fan-out: %1 messages").arg(o.fanout));

    // 2. The agents' client's receive path.
    if (!o.stay) {
        for (std::size_t i = 1; i < members.size(); ++i)
            members[i]->leave();
        waitUntil(
            [&] {
                return std::none_of(members.begin() + 1, members.end(),
                                    [](const auto &m) { return m->inRoom; });
            },
            30000);
    }
    for (auto &m : members)
        m->onMessage = nullptr;
    QJsonArray rss;
    rss.append(QJsonArray{0, double(processRssKb(agent.pid()))});
    const double cpuBefore = processCpuMs(agent.pid());
    const qint64 startNs = nowNs();
    int sent = 0;
    int nextSample = 10000;
    while (got < total) {
        while (sent < o.messages && o.fanout + sent - got < o.window) {
            owner.say(messageText(nowNs(), o.fanout + sent));
            ++sent;
        }
        const int before = got;
        if (!waitUntil([&] { return got > before || !agentError.isEmpty(); }, 60000))
            return fail(QStringLiteral("stalled at %1 of %2").arg(got - o.fanout).arg(o.messages));
        if (got - o.fanout >= nextSample) {
            rss.append(QJsonArray{got - o.fanout, double(processRssKb(agent.pid()))});
            nextSample += 10000;
        }
    }
    const double seconds = double(gotAtNs - startNs) / 1e9;
    const double cpuMs = processCpuMs(agent.pid()) - cpuBefore;
    waitUntil([&] { return !agentResult.isEmpty(); }, 10000);
    const qint64 rssAtEnd = processRssKb(agent.pid());
    agent.stop();
    for (auto &m : members)
        m->client.disconnectFromServer();
    server.stop();

    QJsonObject fanout;
    fanout[QStringLiteral("messages")] = o.fanout;
    fanout[QStringLiteral("toAll")] = spread(toAll);
    fanout[QStringLiteral("toBare")] = spread(toBare);
    fanout[QStringLiteral("toAgents")] = spread(toAgent);
    QJsonObject receive;
    receive[QStringLiteral("messages")] = o.messages;
    receive[QStringLiteral("window")] = o.window;
    receive[QStringLiteral("othersPresent")] = o.stay;
    receive[QStringLiteral("seconds")] = seconds;
    receive[QStringLiteral("perSecond")] = seconds > 0 ? o.messages / seconds : 0.0;
    receive[QStringLiteral("agentCpuUs")] = o.messages > 0 ? cpuMs * 1000.0 / o.messages : 0.0;
    receive[QStringLiteral("duplicates")] = agentResult.value(QLatin1String("duplicates"));
    receive[QStringLiteral("rssKb")] = rss;
    receive[QStringLiteral("rssAtLoginKb")] = double(rssAtStart);
    receive[QStringLiteral("rssAtEndKb")] = double(rssAtEnd);

    const auto row = [](const char *name, const QJsonValue &v) {
        const QJsonObject r = v.toObject();
        std::printf("  %-32s p50 %8.2f ms   p99 %8.2f ms   max %8.2f ms\n", name,
                    r.value(QLatin1String("p50Ms")).toDouble(),
                    r.value(QLatin1String("p99Ms")).toDouble(),
                    r.value(QLatin1String("maxMs")).toDouble());
    };
    std::printf("Group of %d bare members and the agents' client, Prosody on 127.0.0.1:%d\n",
                o.members, server.port());
    std::printf("Fan-out of one message from m01, %d messages one at a time:\n", o.fanout);
    row("to all the others", fanout.value(QLatin1String("toAll")));
    row("to the other bare members", fanout.value(QLatin1String("toBare")));
    row("to the agents' client", fanout.value(QLatin1String("toAgents")));
    std::printf("Agents' receive path, %d group messages, window %d, others %s:\n", o.messages,
                o.window, o.stay ? "in the room" : "gone");
    std::printf("  %.0f msg/s, %.1f s, agent CPU %.0f us/msg, duplicates %d\n",
                receive.value(QLatin1String("perSecond")).toDouble(), seconds,
                receive.value(QLatin1String("agentCpuUs")).toDouble(),
                receive.value(QLatin1String("duplicates")).toInt());
    std::printf("  agent RSS: %lld KiB after login;", static_cast<long long>(rssAtStart));
    for (const QJsonValue &v : qAsConst(rss))
        std::printf(" %d: %.0f", v.toArray().at(0).toInt(), v.toArray().at(1).toDouble());
    std::printf(" KiB\n");
    if (!o.json.isEmpty()) {
        QJsonObject all;
        all[QStringLiteral("members")] = o.members;
        all[QStringLiteral("fanout")] = fanout;
        all[QStringLiteral("receive")] = receive;
        QFile file(o.json);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(QJsonDocument(all).toJson()) < 0) {
            note(QStringLiteral("cannot write %1").arg(o.json));
            return 1;
        }
    }
    return 0;
}

} // namespace xbench
