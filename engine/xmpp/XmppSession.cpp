#include "XmppSession.h"

#include "XmppEngine.h"
#include "XmppFeature.h"
#include "XmppFiles.h"
#include "XmppMessages.h"
#include "XmppPresence.h"

#include <QXmppClient.h>
#include <QXmppConfiguration.h>
#include <QXmppPresence.h>
#include <QXmppStanza.h>

#include <QTimer>
#include <QUuid>

namespace zsxmpp {

namespace {
void connectState(int state, int reason)
{
    invoke(&ZS_GeneralCallBack::onConnectState, state, reason);
}
} // namespace

Session::Session(QObject *parent)
    : QObject(parent)
    , m_presence(new Presence(*this))
    , m_messages(new Messages(*this))
    , m_files(new Files(*this))
{
    m_features = {m_presence, m_messages, m_files};
    for (Feature *feature : m_features)
        feature->setParent(this);
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
    if (!m_connectTimer) {
        m_connectTimer = new QTimer(this);
        m_connectTimer->setSingleShot(true);
        connect(m_connectTimer, &QTimer::timeout, this, &Session::onConnectTimeout);
    }
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
    // Reconnection is reported as states by the engine itself, later.
    config.setAutoReconnectionEnabled(false);
    args.password.fill(QLatin1Char('\0'));

    m_connectTimer->start(args.connectTimeoutMs);
    m_client->connectToServer(config, QXmppPresence(QXmppPresence::Available));
}

void Session::logout()
{
    m_connectTimer->stop();
    if (m_client && m_client->isConnected()) {
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
    for (Feature *feature : m_features)
        feature->detach();
    disconnect(m_client, nullptr, this, nullptr); // nothing it still reports is ours
    m_client->disconnectFromServer();
    m_client->deleteLater();
    m_client = nullptr;
}

void Session::shutdown()
{
    if (m_connectTimer)
        m_connectTimer->stop();
    dropClient();
}

void Session::onConnected()
{
    m_connectTimer->stop();
    // A logout asked for meanwhile wins: it is answered on disconnected().
    Phase connecting = Phase::Connecting;
    if (!Engine::get().phase.compare_exchange_strong(connecting, Phase::Connected))
        return;
    Engine::get().trace(QStringLiteral("connected"));
    connectState(ZS_STATE_CONNECTED, ZS_REASON_SUCCESS);
    for (Feature *feature : m_features)
        feature->online(false);
}

void Session::onError(int error)
{
    const Phase phase = Engine::get().phase.load();
    if (phase == Phase::Idle || phase == Phase::LoggingOut)
        return;
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
    fail(state, reason);
}

void Session::onDisconnected()
{
    m_connectTimer->stop();
    for (Feature *feature : m_features)
        feature->offline();
    switch (Engine::get().phase.exchange(Phase::Idle)) {
    case Phase::LoggingOut:
        invoke(&ZS_GeneralCallBack::onLogOut, int(ZS_REASON_SUCCESS));
        break;
    case Phase::Connecting:
    case Phase::Connected: // the server closed the stream without an error
    case Phase::Reconnecting:
        connectState(ZS_STATE_FAILED, ReasonUnreachable);
        break;
    case Phase::Idle:
        break;
    }
}

void Session::onConnectTimeout()
{
    if (Engine::get().phase.load() != Phase::Connecting)
        return;
    fail(ZS_STATE_FAILED, ReasonConnectTimeout);
    dropClient();
}

void Session::fail(int state, int reason)
{
    Engine::get().phase.store(Phase::Idle);
    connectState(state, reason);
}

} // namespace zsxmpp
