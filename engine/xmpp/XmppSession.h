#pragma once

// The XMPP side of one login, living on the engine's thread: owns the QXmpp client and turns
// its signals into the engine's connection answers.

#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QString>

#include <vector>

class QTimer;
class QXmppClient;

namespace zsxmpp {

class Feature;
class Presence;
class Messages;
class Files;

struct LoginArgs
{
    QString jid; // bare
    bool localNames = false; // the user was given without "@"
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

    // The client of the current login; null before the first login and after logout.
    QXmppClient *client() const { return m_client; }
    bool isOnline() const;

    // Names as callers give and receive them: a login without "@" gives and takes local
    // parts for its own domain; everything else is a bare JID.
    QString jidOf(const QString &name) const;
    QString nameOf(const QString &jid) const;
    QString ownJid() const { return m_jid; }
    QString ownName() const { return nameOf(m_jid); }
    QString domain() const { return m_domain; }

    Presence &presence() const { return *m_presence; }
    Messages &messages() const { return *m_messages; }
    Files &files() const { return *m_files; }

private:
    void onConnected();
    void onError(int error);
    void onDisconnected();
    void onConnectTimeout();
    void fail(int state, int reason);
    void dropClient();

    QXmppClient *m_client = nullptr;
    QTimer *m_connectTimer = nullptr;
    QString m_jid;
    QString m_domain;
    bool m_localNames = false;

    Presence *m_presence = nullptr;
    Messages *m_messages = nullptr;
    Files *m_files = nullptr;
    std::vector<Feature *> m_features;
};

} // namespace zsxmpp
