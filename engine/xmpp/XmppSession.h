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
class Groups;

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

// Delays between reconnection attempts: from the first (TQ_XMPP_RECONNECT_MS, 500 ms by
// default), doubling up to the last.
struct Backoff
{
    int firstMs = 500;
    int lastMs = 30000;
    int next = 0;
    // The delay before the next attempt, with up to a quarter added at random so that the
    // clients of a restarted server do not all come back at the same moment.
    int take();
    void reset() { next = 0; }
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
    // Closes the stream without answering, waiting at most `boundMs` for the unavailable
    // presence and the stream's end to be written; the engine is going away.
    void shutdown(int boundMs);

    // The client of the current login; null before the first login and after logout.
    QXmppClient *client() const { return m_client; }
    bool isOnline() const;

    // Names as callers give and receive them: a login without "@" gives and takes local
    // parts for its own domain; everything else is a bare JID.
    QString jidOf(const QString &name) const;
    // Where a caller's receiver is: a group's room, or the user's bare JID.
    QString addressOf(const QString &receiver) const;
    QString nameOf(const QString &jid) const;
    QString ownJid() const { return m_jid; }
    QString ownName() const { return nameOf(m_jid); }
    QString domain() const { return m_domain; }

    // Fuzz target only: takes `client` (its configuration's JID set, logged in by the caller
    // over a stream of its own) as the login's and tells the features they are online, so
    // that stanzas the client is handed reach their readers.
    void adoptForTests(QXmppClient *client);

    Presence &presence() const { return *m_presence; }
    Messages &messages() const { return *m_messages; }
    Files &files() const { return *m_files; }
    Groups &groups() const { return *m_groups; }

private:
    void onConnected();
    void onError(int error);
    void onDisconnected();
    void onConnectTimeout();
    void fail(int state, int reason);
    void dropClient();
    // Stops any connection attempt; when connected, lets the features write their last
    // stanzas and returns true (the stream is still to be closed).
    bool beginLeaving();
    // The connection of an established session is lost, or an attempt to restore it failed.
    void lost(int reason);
    void reconnect();
    void goOnline(bool resumed);
    void goOffline();

    QXmppClient *m_client = nullptr;
    QTimer *m_connectTimer = nullptr;
    QTimer *m_reconnectTimer = nullptr;
    Backoff m_backoff;
    bool m_attempting = false; // a reconnection attempt is under way
    bool m_featuresOnline = false;
    int m_connectTimeoutMs = 20000;
    QString m_jid;
    QString m_domain;
    bool m_localNames = false;

    Presence *m_presence = nullptr;
    Messages *m_messages = nullptr;
    Files *m_files = nullptr;
    Groups *m_groups = nullptr;
    std::vector<Feature *> m_features;
};

} // namespace zsxmpp
