#include "TqSession.h"

#include "TqClientContext.h"
#include "TqEngineText.h"
#include "TqPresence.h"

#include <SDK_Agent.h>
#include <TQLog.h>
#include <TQLogText.h>

namespace {
// sig_onConnectState codes (the engine's connection states).
enum EngineState { Idle = 0, Connecting = 1, Connected = 2, Failed = 3, Kicked = 4 };
constexpr int kSuccess = 200;
constexpr int kTimeoutReason = 408;
} // namespace

TqSession *TqSession::instance()
{
    // Never deleted: windows may still read it while the process ends.
    static TqSession *const session = [] {
        auto *created = new TqSession;
        created->bind(SDK_Agent::instance(), TqClientContext::instance());
        return created;
    }();
    return session;
}

TqSession::TqSession(QObject *parent)
    : QObject(parent)
    , m_wantedPresence(TqPresence::Online)
{
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(30000);
    connect(&m_timeout, &QTimer::timeout, this, &TqSession::onTimeout);
}

void TqSession::bind(SDK_Agent *agent, TqClientContext *context)
{
    connect(this, &TqSession::requestInitAgent, agent, &SDK_Agent::sig_InitAgent);
    connect(this, &TqSession::requestServerEnvironment, agent, &SDK_Agent::sig_setServerEnvType);
    connect(this, &TqSession::requestLogin, agent, &SDK_Agent::sig_login);
    connect(this, &TqSession::requestLogout, agent, &SDK_Agent::sig_logout);
    connect(this, &TqSession::requestPublishPresence, agent, &SDK_Agent::sig_publishPresenceTQ);
    connect(agent, &SDK_Agent::sig_onConnectState, this, &TqSession::onConnectState);
    connect(agent, &SDK_Agent::sig_onLogOut, this, &TqSession::onLogOut);
    connect(agent, &SDK_Agent::sig_onPublishPresence, this, &TqSession::onPublishPresence);

    connect(this, &TqSession::loggedIn, context, &TqClientContext::setLoggedIn);
    connect(this, &TqSession::loggedOut, context, &TqClientContext::setLoggedOut);
    // Whoever ends the session through the context ends it here too.
    connect(context, &TqClientContext::loggedOut, this, &TqSession::logout);
}

Agent_LoginRequest TqSession::loginRecord(const TqLoginForm &form)
{
    Agent_LoginRequest request;
    request.number1 = 1;
    request.text1 = form.account.trimmed();
    request.text2 = form.password;
    request.text3 = form.server.trimmed();
    request.text4 = form.port > 0 ? QString::number(form.port) : QString();
    return request;
}

QStringList TqSession::environments()
{
    return {tr("Production"), tr("Staging"), tr("Testing")};
}

bool TqSession::login(const TqLoginForm &form)
{
    if (m_state != State::LoggedOut || form.account.trimmed().isEmpty())
        return false;
    m_account = form.account.trimmed();
    m_server = form.server.trimmed();
    m_problem.clear();
    m_publishing.clear();
    g_Log->LogInfo(QStringLiteral("TqSession: login of %1 at %2:%3, environment %4")
                       .arg(tq::logValue(m_account), tq::logValue(m_server))
                       .arg(form.port)
                       .arg(form.environment));
    setState(State::Connecting);
    m_timeout.start();
    // The engine starts once per process, at the first login.
    if (!m_agentStarted) {
        m_agentStarted = true;
        emit requestInitAgent();
    }
    emit requestServerEnvironment(serverListFile(), form.environment);
    emit requestLogin(loginRecord(form));
    return true;
}

void TqSession::logout()
{
    if (m_state == State::LoggedOut)
        return;
    g_Log->LogInfo(QStringLiteral("TqSession: logout of %1").arg(tq::logValue(m_account)));
    m_timeout.stop();
    m_publishing.clear();
    m_presence = TqPresence::Unknown;
    m_wantedPresence = TqPresence::Online;
    emit requestLogout();
    setState(State::LoggedOut);
    emit loggedOut();
}

void TqSession::publishPresence(int type)
{
    m_wantedPresence = type;
    if (m_state != State::Connected)
        return;
    m_publishing.append(type);
    emit requestPublishPresence(type, 0, QString());
}

void TqSession::onConnectState(Agent_ConnectState state)
{
    m_engineState = state.code;
    m_engineReason = state.reason;
    emit engineStateChanged(state.code, state.reason);

    switch (m_state) {
    case State::LoggedOut:
        break;
    case State::Connecting:
        if (state.code == Connected) {
            m_timeout.stop();
            setState(State::Connected);
            emit loggedIn(m_account);
            publishPresence(m_wantedPresence);
        } else if (state.code == Failed || state.code == Kicked) {
            fail(state.reason);
        }
        break;
    case State::Connected:
        if (state.code == Kicked)
            endSession(tr("Your account has logged in on another device."));
        else if (state.code != Connected)
            setState(State::Reconnecting);
        break;
    case State::Reconnecting:
        if (state.code == Kicked) {
            endSession(tr("Your account has logged in on another device."));
        } else if (state.code == Connected) {
            setState(State::Connected);
            emit reconnected();
            publishPresence(m_wantedPresence);
        }
        break;
    }
}

void TqSession::onLogOut(int reason)
{
    // Our own logout has already ended the session; this is the server ending it.
    if (isLoggedIn())
        endSession(tr("The server ended the session (%1).").arg(TqEngineText::error(reason)));
}

void TqSession::onPublishPresence(int reason)
{
    if (m_publishing.isEmpty())
        return; // the agent's own, at logout
    const int type = m_publishing.takeFirst();
    if (reason != kSuccess) {
        emit presenceRefused(TqEngineText::error(reason));
        emit presenceChanged(m_presence); // back to what the server has
        return;
    }
    m_presence = type;
    emit presenceChanged(type);
}

void TqSession::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void TqSession::fail(int reason)
{
    m_timeout.stop();
    const QString problem = TqEngineText::error(reason);
    m_problem = problem;
    g_Log->LogInfo(QStringLiteral("TqSession: login of %1 failed: %2")
                       .arg(tq::logValue(m_account), tq::logValue(problem)));
    setState(State::LoggedOut);
    emit loginFailed(reason, problem);
}

void TqSession::endSession(const QString &problem)
{
    m_problem = problem;
    m_publishing.clear();
    m_presence = TqPresence::Unknown;
    m_wantedPresence = TqPresence::Online;
    g_Log->LogInfo(QStringLiteral("TqSession: session of %1 ended: %2")
                       .arg(tq::logValue(m_account), tq::logValue(problem)));
    setState(State::LoggedOut);
    emit sessionEnded(problem);
    emit loggedOut();
}

void TqSession::onTimeout()
{
    if (m_state == State::Connecting)
        fail(kTimeoutReason);
}
