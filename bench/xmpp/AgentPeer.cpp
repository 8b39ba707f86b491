// bench_xmpp_agent: one user of the engine through the agents, as the client's windows use
// them: SDK_Agent logs in, IM_Agent sends with sig_sendTextMessageEX and receives with
// sig_onReceiveMessage, each result queued to this (main) thread. Started by bench_xmpp with
// LD_LIBRARY_PATH at the XMPP engine, so TQ_Agent loads that engine.
//
// IM_Agent lets a new message leave at one 250 ms tick of its send queue. With
// "--queue ticked" (the default) the bench stops that timer and gives one tick right after
// each send, through the timer's own timeout() signal, so that what is measured is the cost
// of the agents and the engine, not the queue's deliberate pace; "--queue real" keeps the
// timer (at most four messages a second).

#include "BenchPeer.h"

#include <IM_Agent.h>
#include <IM_TaskQueueProbe.h>
#include <SDK_Agent.h>
#include <ZSsdk.h>

#include <QCoreApplication>
#include <QTimer>

#include <cstring>

namespace {

class AgentTransport : public xbench::Transport
{
public:
    explicit AgentTransport(bool ticked)
        : m_ticked(ticked)
    {
        SDK_Agent *session = SDK_Agent::instance();
        IM_Agent *im = IM_Agent::instance(); // here: its queue's timer ticks on this thread
        connect(session, &SDK_Agent::sig_onConnectState, this, [this](Agent_ConnectState s) {
            if (s.code == ZS_STATE_CONNECTED)
                emit connected();
            else if (s.code == ZS_STATE_FAILED || s.code == ZS_STATE_KICKED)
                emit failed(s.reason);
        });
        connect(session, &SDK_Agent::sig_onLogOut, this, [this](int) { emit loggedOut(); });
        connect(im, &IM_Agent::sig_onReceiveMessage, this,
                [this](const ChatMsgData &msg) { emit received(msg.msgContent); });
        connect(im, &IM_Agent::sig_onPreSendTextMessage, this, [this](int ret, ChatMsgData) {
            if (ret != ZS_OK)
                ++m_refused;
        });
        connect(im, &IM_Agent::sig_onSendTextMessage, this, [this](int reason, ChatMsgData) {
            ++(reason == ZS_REASON_SUCCESS ? m_acked : m_failed);
        });
        if (m_ticked)
            IM_TaskQueueProbe::timer()->stop();
        emit session->sig_InitAgent();
        emit session->sig_setServerEnvType(QString(), 0);
    }

    void login(const QString &user, const QString &password, const QString &host, int port) override
    {
        Agent_LoginRequest request;
        request.number1 = 1;
        request.text1 = user;
        request.text2 = password;
        request.text3 = host;
        request.text4 = QString::number(port);
        emit SDK_Agent::instance()->sig_login(request);
    }

    void send(const QString &to, const QString &text) override
    {
        emit IM_Agent::instance()->sig_sendTextMessageEX(to, text, Agent_MsgType(1), QString(),
                                                         QString());
        // Queued to the worker behind the send it releases.
        if (m_ticked)
            QMetaObject::invokeMethod(IM_TaskQueueProbe::timer(), "timeout", Qt::DirectConnection);
    }

    void logout() override { emit SDK_Agent::instance()->sig_logout(); }

    QJsonObject figures() const override
    {
        QJsonObject f;
        f[QStringLiteral("acked")] = m_acked;
        f[QStringLiteral("failed")] = m_failed;
        f[QStringLiteral("refused")] = m_refused;
        return f;
    }

private:
    bool m_ticked;
    int m_acked = 0;
    int m_failed = 0;
    int m_refused = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    bool ticked = true;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--queue") == 0)
            ticked = std::strcmp(argv[i + 1], "real") != 0;
    AgentTransport transport(ticked);
    return xbench::runPeer(transport);
}
