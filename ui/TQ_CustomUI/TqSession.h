#pragma once

#include "tq_customui_export.h"

#include <SessionRecords.h>

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

class SDK_Agent;
class TqClientContext;

// What the user fills in to log in. The password is only passed on, never kept.
struct TqLoginForm
{
    QString account;
    QString password;
    QString server;
    int port = 0;
    int environment = 0; // the server environment type, see TqSession::environments()
};

// The session as the windows see it, widget-free: logging in and out, the connection's
// state, and the user's own presence. It speaks to the session agent only through its
// request signals and result slots; instance() wires them to SDK_Agent and TqClientContext.
class TQ_CUSTOMUI_EXPORT TqSession : public QObject
{
    Q_OBJECT
public:
    enum class State {
        LoggedOut,
        Connecting, // login sent, no answer yet
        Connected,
        Reconnecting, // logged in, the connection is lost for now
    };
    Q_ENUM(State)

    // The one bound to the agent and the shared context; user-interface thread only.
    static TqSession *instance();
    // An unbound one (tests bind its signals themselves).
    explicit TqSession(QObject *parent = nullptr);

    State state() const { return m_state; }
    bool isLoggedIn() const
    {
        return m_state == State::Connected || m_state == State::Reconnecting;
    }
    QString account() const { return m_account; }
    QString server() const { return m_server; }
    // The engine's last connection state and reason (sig_onConnectState).
    int engineState() const { return m_engineState; }
    int engineReason() const { return m_engineReason; }
    // Why the last login failed or the session ended; empty when it did not.
    QString problem() const { return m_problem; }
    // The user's own presence as the server last confirmed it (TqPresence).
    int presence() const { return m_presence; }

    // No answer to a login within this time fails it (default 30 s).
    void setLoginTimeout(int ms) { m_timeout.setInterval(ms); }

    // The login record: number1 1 (desktop client), text1 the account, text2 the password,
    // text3 the server address, text4 the port, text5 and text6 empty.
    static Agent_LoginRequest loginRecord(const TqLoginForm &form);
    // Server environment types of sig_setServerEnvType: 0 production, 1 staging, 2 testing.
    static QStringList environments();
    // The server list file name passed with the environment type.
    static QString serverListFile() { return QStringLiteral("servers.xml"); }

public slots:
    // Starts a login; false (and nothing sent) while a session is open or the account is empty.
    bool login(const TqLoginForm &form);
    void logout();
    // Publishes the user's presence (TqPresence type); kept for the next login when logged out.
    void publishPresence(int type);

    void onConnectState(Agent_ConnectState state);
    void onLogOut(int reason);
    void onPublishPresence(int reason);

signals:
    void stateChanged(TqSession::State state);
    void engineStateChanged(int code, int reason);
    void loggedIn(const QString &account);
    void loggedOut();
    // The login failed: the engine's reason code and the reason in words.
    void loginFailed(int reason, const QString &problem);
    // The server ended an open session (another login of the account, a logout of its own).
    void sessionEnded(const QString &problem);
    void reconnected();
    void presenceChanged(int type);
    void presenceRefused(const QString &problem);

    // Requests to the session agent, in order.
    void requestInitAgent();
    void requestServerEnvironment(const QString &serverListFile, int environment);
    void requestLogin(const Agent_LoginRequest &request);
    void requestLogout();
    void requestPublishPresence(int type, int subtype, const QString &note);

private:
    void setState(State state);
    void fail(int reason);
    void endSession(const QString &problem);
    void onTimeout();
    void bind(SDK_Agent *agent, TqClientContext *context);

    State m_state = State::LoggedOut;
    QString m_account;
    QString m_server;
    int m_engineState = 0;
    int m_engineReason = 0;
    QString m_problem;
    int m_presence = 0;
    int m_wantedPresence = 1;
    QList<int> m_publishing; // presence types sent, answers pending, oldest first
    bool m_agentStarted = false;
    QTimer m_timeout;
};
