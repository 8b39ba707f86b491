#include "XmppTest.h"

#include "ZSsdk.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcessEnvironment>
#include <QUrl>

namespace {

bool g_started = false;
bool g_federationStarted = false;

// The federation's ports: next to the single server's, which holds 127.0.0.1 too.
QProcessEnvironment federationEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TQ_XMPP_PORT"), QString::number(XmppFederation::port()));
    env.insert(QStringLiteral("TQ_XMPP_HTTPS_PORT"),
               QString::number(qEnvironmentVariableIntValue("TQ_XMPP_HTTPS_PORT") + 1));
    return env;
}

bool runServerScript(const QStringList &arguments,
                     const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(QStringLiteral("bash"),
            QStringList{QStringLiteral(TQ_SOURCE_DIR "/scripts/server.sh")} + arguments);
    return p.waitForFinished(180000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool runServerScript(const QString &command)
{
    return runServerScript(QStringList{command, XmppServer::dir()});
}

} // namespace

bool XmppServer::ensureStarted()
{
    return g_started || start();
}

bool XmppServer::start()
{
    g_started = runServerScript(QStringLiteral("start"));
    return g_started;
}

bool XmppServer::stop()
{
    const bool ok = runServerScript(QStringLiteral("stop"));
    g_started = false;
    return ok;
}

void XmppServer::stopIfStarted()
{
    if (g_started)
        stop();
}

bool XmppFederation::ensureStarted()
{
    if (!g_federationStarted)
        g_federationStarted = runServerScript(
            QStringList{QStringLiteral("--federated"), QStringLiteral("start"), dir()},
            federationEnvironment());
    return g_federationStarted;
}

void XmppFederation::stopIfStarted()
{
    if (g_federationStarted)
        runServerScript(QStringList{QStringLiteral("--federated"), QStringLiteral("stop"), dir()},
                        federationEnvironment());
    g_federationStarted = false;
}

int XmppFederation::port()
{
    return XmppServer::port() + 1;
}

QString XmppFederation::dir()
{
    return QStringLiteral(TQ_SERVER_DIR "-federation");
}

QString XmppFederation::caFile()
{
    return dir() + QStringLiteral("/alpha/certs/ca.crt");
}

QString XmppFederation::addressOf(const QString &domain)
{
    return domain == QLatin1String("beta.test") ? QStringLiteral("127.0.0.2")
                                                : QStringLiteral("127.0.0.1");
}

int XmppServer::port()
{
    return qEnvironmentVariableIntValue("TQ_XMPP_PORT");
}

QString XmppServer::caFile()
{
    return dir() + QStringLiteral("/certs/ca.crt");
}

QString XmppServer::dir()
{
    return QStringLiteral(TQ_SERVER_DIR);
}

QString peerArg(const QString &text)
{
    const QByteArray encoded = QUrl::toPercentEncoding(text);
    return encoded.isEmpty() ? QStringLiteral("%00") : QString::fromLatin1(encoded);
}

PeerProcess::PeerProcess(const QString &name)
    : m_name(name)
{ }

PeerProcess::~PeerProcess()
{
    if (!m_process)
        return;
    if (m_process->state() == QProcess::Running) {
        m_process->write("quit\n");
        m_process->closeWriteChannel();
        if (!m_process->waitForFinished(10000))
            m_process->kill();
    }
    m_process->waitForFinished(5000);
}

bool PeerProcess::running() const
{
    return m_process && m_process->state() == QProcess::Running;
}

bool PeerProcess::start(const QStringList &environment)
{
    m_process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TQ_XMPP_CA_FILE"), XmppServer::caFile());
    for (const QString &entry : environment)
        env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
    m_process->setProcessEnvironment(env);
    // The peer's own complaints go to the test's log.
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->setReadChannel(QProcess::StandardOutput);
    m_process->start(QStringLiteral(TQ_PEER_PATH), {m_name});
    if (!m_process->waitForStarted(10000))
        return false;
    const QString trace = qEnvironmentVariable("TQ_XMPP_PEER_TRACE");
    return command(QStringLiteral("init"),
                   trace.isEmpty() ? QStringList() : QStringList{trace + QLatin1Char('-') + m_name})
               .value(QStringLiteral("ret"))
               .toInt(-1)
        == 0;
}

bool PeerProcess::readSome(int timeoutMs)
{
    if (!m_process)
        return false;
    if (m_process->bytesAvailable() == 0 && !m_process->waitForReadyRead(timeoutMs))
        return false;
    m_buffer += m_process->readAll();
    parseLines();
    return true;
}

void PeerProcess::parseLines()
{
    int end;
    while ((end = m_buffer.indexOf('\n')) >= 0) {
        const QByteArray line = m_buffer.left(end);
        m_buffer.remove(0, end + 1);
        const QJsonDocument doc = QJsonDocument::fromJson(line);
        if (!doc.isObject()) {
            qWarning("%s: not an event: %s", qPrintable(m_name), line.constData());
            continue;
        }
        if (qEnvironmentVariableIsSet("TQ_XMPP_PEER_TRACE"))
            qDebug("%s: %s", qPrintable(m_name), line.left(300).constData());
        m_events.push_back(doc.object());
        m_taken.push_back(false);
    }
}

QJsonObject PeerProcess::waitEvent(const QString &event, const Match &match, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    std::size_t from = 0;
    for (;;) {
        for (std::size_t i = from; i < m_events.size(); ++i) {
            if (m_taken[i] || m_events[i].value(QStringLiteral("ev")).toString() != event)
                continue;
            if (match && !match(m_events[i]))
                continue;
            m_taken[i] = true;
            return m_events[i];
        }
        from = m_events.size();
        if (deadline.hasExpired() || !readSome(int(qMax<qint64>(1, deadline.remainingTime()))))
            if (m_process == nullptr || deadline.hasExpired()
                || m_process->state() != QProcess::Running)
                return {};
    }
}

QList<QJsonObject> PeerProcess::seen(const QString &event)
{
    if (m_process) {
        m_buffer += m_process->readAll();
        parseLines();
    }
    QList<QJsonObject> list;
    for (const QJsonObject &e : m_events)
        if (e.value(QStringLiteral("ev")).toString() == event)
            list << e;
    return list;
}

QJsonObject PeerProcess::command(const QString &name, const QStringList &args, int timeoutMs)
{
    if (!running())
        return {};
    QStringList words{name};
    for (const QString &a : args)
        words << peerArg(a);
    m_process->write((words.join(QLatin1Char(' ')) + QLatin1Char('\n')).toUtf8());
    return waitEvent(
        QStringLiteral("ret"),
        [&](const QJsonObject &e) { return e.value(QStringLiteral("cmd")).toString() == name; },
        timeoutMs);
}

QJsonObject PeerProcess::login(const QString &user, const QString &password, int port,
                               const QString &server)
{
    QStringList args{user, password, QString::number(port > 0 ? port : XmppServer::port())};
    if (!server.isEmpty())
        args << server;
    const QJsonObject ret = command(QStringLiteral("login"), args);
    if (ret.value(QStringLiteral("ret")).toInt(-1) != 0)
        return {};
    return waitEvent(QStringLiteral("onConnectState"), [](const QJsonObject &e) {
        return e.value(QStringLiteral("code")).toInt() != ZS_STATE_CONNECTING;
    });
}

bool PeerProcess::loginOk(const QString &user)
{
    const QString name = user.section(QLatin1Char('@'), 0, 0);
    const QString domain = user.section(QLatin1Char('@'), 1);
    const QJsonObject state = domain.isEmpty()
        ? login(user, user)
        : login(user, name, XmppFederation::port(), XmppFederation::addressOf(domain));
    return state.value(QStringLiteral("code")).toInt() == ZS_STATE_CONNECTED;
}

int retOf(const QJsonObject &ret)
{
    return ret.value(QStringLiteral("ret")).toInt(-1);
}

QString str(const QJsonObject &o, const char *name)
{
    return o.value(QLatin1String(name)).toString();
}

int num(const QJsonObject &o, const char *name)
{
    return o.value(QLatin1String(name)).toInt(-1);
}

PeerProcess::Match keyed(const QJsonObject &ret)
{
    const double key = ret.value(QStringLiteral("key")).toDouble();
    return [key](const QJsonObject &e) {
        return e.value(QStringLiteral("key")).toDouble() == key;
    };
}

PeerProcess::Match withId(const QString &msgId)
{
    return [msgId](const QJsonObject &e) {
        return str(e, "msgId") == msgId;
    };
}

QJsonObject recordOf(const QJsonObject &event, const QString &name)
{
    const QJsonArray states = event.value(QStringLiteral("states")).toArray();
    for (const QJsonValue &s : states)
        if (s.toObject().value(QStringLiteral("text1")).toString() == name)
            return s.toObject();
    return {};
}
