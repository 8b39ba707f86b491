#include "XmppSession.h"

#include "XmppEngine.h"
#include "XmppFeature.h"
#include "XmppFiles.h"
#include "XmppGroups.h"
#include "XmppMessages.h"
#include "XmppPresence.h"

#include <QXmppClient.h>
#include <QXmppConfiguration.h>
#include <QXmppPresence.h>
#include <QXmppStanza.h>

#include <QEventLoop>
#include <QRandomGenerator>
#include <QSslSocket>
#include <QTimer>
#include <QUuid>

#include <algorithm>

namespace zsxmpp {

namespace {
void connectState(int state, int reason)
{
    invoke(&ZS_GeneralCallBack::onConnectState, state, reason);
}
} // namespace

int Backoff::take()
{
    const int first = std::max(1, std::min(firstMs, lastMs));
    const int delay = next == 0 ? first : next;
    next = std::min(lastMs, delay * 2);
    return delay + int(QRandomGenerator::global()->bounded(delay / 4 + 1));
}

Session::Session(QObject *parent)
    : QObject(parent)
    , m_presence(new Presence(*this))
    , m_messages(new Messages(*this))
    , m_files(new Files(*this))
    , m_groups(new Groups(*this))
{
    m_features = {m_presence, m_messages, m_files, m_groups};
    for (Feature *feature : m_features)
        feature->setParent(this);
    // Made here, not at the first login: a Logout before any Login stops them too. They move
    // to the engine's thread with the session.
    m_connectTimer = new QTimer(this);
    m_connectTimer->setSingleShot(true);
    connect(m_connectTimer, &QTimer::timeout, this, &Session::onConnectTimeout);
    m_reconnectTimer = new QTimer(this);
    m_reconnectTimer->setSingleShot(true);
    connect(m_reconnectTimer, &QTimer::timeout, this, &Session::reconnect);
}

bool Session::isOnline() const
{
    return m_client && m_client->isConnected() && Engine::get().phase.load() == Phase::Connected;
}

QString Session::jidOf(const QString &name) const
{
    if (name.contains(QLatin1Char('@')) || m_domain.isEmpty())
        return name.toLower();
    return name.toLower() + QLatin1Char('@') + m_domain;
}

QString Session::addressOf(const QString &receiver) const
{
    return m_groups->isGroupId(receiver) ? m_groups->roomJid(receiver) : jidOf(receiver);
}

QString Session::nameOf(const QString &jid) const
{
    const QString bare = jid.section(QLatin1Char('/'), 0, 0);
    const QString suffix = QLatin1Char('@') + m_domain;
    if (m_localNames && bare.endsWith(suffix, Qt::CaseInsensitive))
        return bare.left(bare.size() - suffix.size());
    return bare;
}

Session::~Session() = default;

void Session::login(LoginArgs args)
{
    // A client per login: one abandoned while connecting may still be looking up its host.
    dropClient();
    m_jid = args.jid.toLower();
    m_domain = m_jid.section(QLatin1Char('@'), 1);
    m_localNames = args.localNames;
    m_client = new QXmppClient(this);
    // No stanza logging at all: the authentication exchange must never reach a log.
    m_client->setLogger(nullptr);
    connect(m_client, &QXmppClient::connected, this, &Session::onConnected);
    connect(m_client, &QXmppClient::disconnected, this, &Session::onDisconnected);
    connect(m_client, &QXmppClient::error, this,
            [this](QXmppClient::Error error) { onError(int(error)); });
    m_reconnectTimer->stop();
    m_attempting = false;
    m_backoff = Backoff();
    bool ok = false;
    const int firstDelay = qEnvironmentVariableIntValue("TQ_XMPP_RECONNECT_MS", &ok);
    if (ok && firstDelay > 0)
        m_backoff.firstMs = firstDelay;
    m_connectTimeoutMs = args.connectTimeoutMs;
    for (Feature *feature : m_features)
        feature->attach(m_client);
    connectState(ZS_STATE_CONNECTING, 0);

    QXmppConfiguration config;
    config.setJid(args.jid);
    config.setHost(args.host);
    config.setPort(args.port);
    config.setPassword(args.password);
    // Two clients of one account must not replace each other.
    config.setResource(QStringLiteral("tq-") + QUuid::createUuid().toString(QUuid::Id128).left(8));
    config.setStreamSecurityMode(QXmppConfiguration::TLSRequired);
    config.setIgnoreSslErrors(false);
    config.setCaCertificates(args.caCertificates);
    // The session reconnects by itself (reconnect()), reporting each attempt as states.
    config.setAutoReconnectionEnabled(false);
    args.password.fill(QLatin1Char('\0'));

    m_connectTimer->start(args.connectTimeoutMs);
    m_client->connectToServer(config, m_presence->current());
}

void Session::adoptForTests(QXmppClient *client)
{
    dropClient();
    m_jid = client->configuration().jidBare().toLower();
    m_domain = m_jid.section(QLatin1Char('@'), 1);
    m_localNames = false;
    m_client = client;
    client->setParent(this);
    for (Feature *feature : m_features)
        feature->attach(m_client);
    goOnline(false);
}

bool Session::beginLeaving()
{
    m_connectTimer->stop();
    m_reconnectTimer->stop();
    m_attempting = false;
    if (!m_client || !m_client->isConnected())
        return false;
    for (Feature *feature : m_features)
        feature->leaving();
    return true;
}

void Session::logout()
{
    if (beginLeaving()) {
        // Sends the unavailable presence, closes the stream; answered on disconnected().
        m_client->disconnectFromServer();
        return;
    }
    // Still connecting (or never connected): abandon it and answer now, since a socket that
    // never connected may report nothing.
    Engine::get().phase.store(Phase::Idle);
    dropClient();
    invoke(&ZS_GeneralCallBack::onLogOut, int(ZS_REASON_SUCCESS));
}

void Session::dropClient()
{
    if (!m_client)
        return;
    goOffline();
    for (Feature *feature : m_features)
        feature->detach();
    disconnect(m_client, nullptr, this, nullptr); // nothing it still reports is ours
    m_client->disconnectFromServer();
    m_client->deleteLater();
    m_client = nullptr;
}

void Session::shutdown(int boundMs)
{
    if (beginLeaving()) {
        // Nothing is answered any more; wait for the unavailable presence and the stream's
        // end to be written, as long as the bound allows.
        disconnect(m_client, nullptr, this, nullptr);
        goOffline();
        QEventLoop loop;
        QTimer bound;
        bound.setSingleShot(true);
        connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(m_client, &QXmppClient::disconnected, &loop, &QEventLoop::quit);
        m_client->disconnectFromServer();
        if (m_client->isConnected() || m_client->state() != QXmppClient::DisconnectedState) {
            bound.start(boundMs);
            loop.exec();
        }
    }
    dropClient();
}

void Session::goOnline(bool resumed)
{
    m_featuresOnline = true;
    for (Feature *feature : m_features)
        feature->online(resumed);
}

void Session::goOffline()
{
    if (!m_featuresOnline)
        return;
    m_featuresOnline = false;
    for (Feature *feature : m_features)
        feature->offline();
}

void Session::onConnected()
{
    m_connectTimer->stop();
    // A chat writes small stanzas, each followed by a stream management request: without
    // this, Nagle holds the next message until the server's delayed acknowledgement (40 ms).
    for (QSslSocket *socket : m_client->findChildren<QSslSocket *>())
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    // A logout asked for meanwhile wins: it is answered on disconnected().
    Phase from = Phase::Connecting;
    if (Engine::get().phase.compare_exchange_strong(from, Phase::Connected)) {
        Engine::get().trace(QStringLiteral("connected"));
        connectState(ZS_STATE_CONNECTED, ZS_REASON_SUCCESS);
        goOnline(false);
        return;
    }
    from = Phase::Reconnecting;
    if (!m_attempting || !Engine::get().phase.compare_exchange_strong(from, Phase::Connected))
        return;
    m_attempting = false;
    m_backoff.reset();
    // With stream management the server may have kept the stream: nothing was lost.
    const bool resumed = m_client->streamManagementState() == QXmppClient::ResumedStream;
    Engine::get().trace(QStringLiteral("reconnected, %1 stream")
                            .arg(resumed ? QStringLiteral("resumed") : QStringLiteral("new")));
    connectState(ZS_STATE_CONNECTED, ZS_REASON_SUCCESS);
    goOnline(resumed);
}

void Session::onError(int error)
{
    const Phase phase = Engine::get().phase.load();
    if (phase == Phase::Idle || phase == Phase::LoggingOut)
        return;
    if (phase == Phase::Reconnecting && !m_attempting)
        return; // this loss is being handled already
    int reason = ZS_REASON_SERVER_ERROR;
    int state = ZS_STATE_FAILED;
    switch (QXmppClient::Error(error)) {
    case QXmppClient::SocketError:
    case QXmppClient::KeepAliveError:
        reason = ReasonUnreachable;
        break;
    case QXmppClient::XmppStreamError:
        switch (m_client->xmppStreamError()) {
        case QXmppStanza::Error::NotAuthorized:
            reason = ZS_REASON_UNAUTHORIZED;
            break;
        case QXmppStanza::Error::Conflict:
            state = ZS_STATE_KICKED; // the same resource logged in elsewhere
            reason = ZS_REASON_SUCCESS;
            break;
        default:
            break;
        }
        break;
    case QXmppClient::NoError:
        return;
    }
    Engine::get().trace(QStringLiteral("connection error %1, socket %2, answered %3")
                            .arg(error)
                            .arg(int(m_client->socketError()))
                            .arg(reason));
    m_connectTimer->stop();
    if (phase == Phase::Connecting) {
        fail(state, reason);
        return;
    }
    // An established session, or an attempt to restore it: only a replaced stream or refused
    // credentials end it; anything else is retried.
    if (state == ZS_STATE_KICKED || reason == ZS_REASON_UNAUTHORIZED) {
        m_reconnectTimer->stop();
        m_attempting = false;
        fail(state, reason);
        goOffline();
        // The client shows a lost connection as "reconnecting"; this tells it to stop.
        if (reason == ZS_REASON_UNAUTHORIZED)
            invoke(&ZS_GeneralCallBack::onLogOut, reason);
        return;
    }
    lost(reason);
}

void Session::onDisconnected()
{
    switch (Engine::get().phase.load()) {
    case Phase::LoggingOut:
        m_connectTimer->stop();
        Engine::get().phase.store(Phase::Idle);
        goOffline();
        invoke(&ZS_GeneralCallBack::onLogOut, int(ZS_REASON_SUCCESS));
        break;
    case Phase::Connecting:
        m_connectTimer->stop();
        Engine::get().phase.store(Phase::Idle);
        goOffline();
        connectState(ZS_STATE_FAILED, ReasonUnreachable);
        break;
    case Phase::Connected: // the server closed the stream without an error
    case Phase::Reconnecting:
        lost(ReasonUnreachable);
        break;
    case Phase::Idle:
        goOffline();
        break;
    }
}

void Session::lost(int reason)
{
    Phase connected = Phase::Connected;
    if (Engine::get().phase.compare_exchange_strong(connected, Phase::Reconnecting)) {
        Engine::get().trace(QStringLiteral("connection lost (%1), reconnecting").arg(reason));
        m_backoff.reset();
        goOffline();
        // QXmpp 1.4.0 resumes with a <resume/> lacking its namespace and the stream's id,
        // which the server answers with a stream error; ending the stream here makes the
        // next attempt bind a new one at once.
        m_client->disconnectFromServer();
    } else if (Engine::get().phase.load() == Phase::Reconnecting && m_attempting) {
        m_attempting = false;
    } else {
        return; // already reported
    }
    m_connectTimer->stop();
    connectState(ZS_STATE_FAILED, reason);
    m_reconnectTimer->start(m_backoff.take());
}

void Session::reconnect()
{
    if (Engine::get().phase.load() != Phase::Reconnecting || !m_client)
        return;
    m_attempting = true;
    Engine::get().trace(QStringLiteral("reconnecting"));
    connectState(ZS_STATE_CONNECTING, 0);
    m_connectTimer->start(m_connectTimeoutMs);
    // The same client and configuration: QXmpp resumes the stream when the server kept it,
    // else opens a new one with the presence last published.
    m_client->connectToServer(m_client->configuration(), m_presence->current());
}

void Session::onConnectTimeout()
{
    switch (Engine::get().phase.load()) {
    case Phase::Connecting:
        fail(ZS_STATE_FAILED, ReasonConnectTimeout);
        dropClient();
        break;
    case Phase::Reconnecting:
        if (!m_attempting)
            break;
        m_attempting = false; // what the abandoned attempt still reports is not ours
        m_client->disconnectFromServer();
        connectState(ZS_STATE_FAILED, ReasonConnectTimeout);
        m_reconnectTimer->start(m_backoff.take());
        break;
    default:
        break;
    }
}

void Session::fail(int state, int reason)
{
    Engine::get().phase.store(Phase::Idle);
    connectState(state, reason);
}

} // namespace zsxmpp
