#pragma once

// One family of the engine's requests over the session's XMPP client (presence, messages,
// files). The session owns its features and tells each of them about the client's life; all
// of it runs on the engine's thread.

#include <QObject>

class QXmppClient;

namespace zsxmpp {

class Session;

class Feature : public QObject
{
public:
    explicit Feature(Session &session)
        : m_session(session)
    { }

    // A new client, before it connects: add extensions, connect to its signals.
    virtual void attach(QXmppClient *client) { (void)client; }
    // The session is up: after the first connection, and after each reconnection (resumed
    // is true when the server kept the stream, so nothing sent or received was lost).
    virtual void online(bool resumed) { (void)resumed; }
    // The user logs out (or the engine ends) while connected: what is written now still goes
    // out, before the unavailable presence and the stream's end.
    virtual void leaving() { }
    // The connection is lost or closed; a reconnection may follow.
    virtual void offline() { }
    // The client is about to be deleted: forget everything tied to it.
    virtual void detach() { }

protected:
    Session &session() const { return m_session; }

private:
    Session &m_session;
};

} // namespace zsxmpp
