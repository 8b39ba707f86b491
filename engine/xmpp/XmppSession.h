#pragma once

// The XMPP side of one login, living on the engine's thread: owns the QXmpp client and turns
// its signals into the engine's connection answers.

#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QString>

class QTimer;
class QXmppClient;

namespace zsxmpp {

struct LoginArgs
{
    QString jid; // bare
    QString host;
    int port = 5222;
    QString password;
    QList<QSslCertificate> caCertificates;
    int connectTimeoutMs = 20000;
};

class Session : public QObject
{
    Q_OBJECT
public:
    explicit Session(QObject *parent = nullptr);
    ~Session() override;

    // Both run on the engine's thread.
    void login(LoginArgs args);
    void logout();
    // Closes the stream without answering; the engine is going away.
    void shutdown();

private:
    void onConnected();
    void onError(int error);
    void onDisconnected();
    void onConnectTimeout();
    void fail(int state, int reason);
    void dropClient();

    QXmppClient *m_client = nullptr;
    QTimer *m_connectTimer = nullptr;
};

} // namespace zsxmpp
