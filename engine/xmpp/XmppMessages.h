#pragma once

// Messages over XMPP: sending with server acknowledgement (stream management), receiving,
// offline delivery at login, read markers, retraction and top contacts.
//
// Every message this engine sends carries, besides its body:
//  - the message's id as the stanza id and as its origin id (XEP-0359);
//  - <markable xmlns='urn:xmpp:chat-markers:0'/> (XEP-0333);
//  - <tq xmlns='urn:tq:message:0' type='<msgType>'><userdata>...</userdata></tq>, which keeps
//    the engine's message type and user data;
//  - for a file or picture: <x xmlns='jabber:x:oob'><url>GET URL</url><desc>file name</desc></x>
//    (XEP-0066), the body is the URL, and
//    <file xmlns='urn:xmpp:file:metadata:0'><name>..</name><size>..</size></file> (XEP-0446).

#include "XmppFeature.h"

#include "ZSsdk.h"

#include <QString>

#include <functional>
#include <memory>

class QDateTime;
class QDomElement;
class QXmppMessage;

namespace zsxmpp {

class Messages : public Feature
{
public:
    explicit Messages(Session &session);
    ~Messages() override;

    // The envelope above for a new message to `to` (a bare JID) with a fresh id.
    QXmppMessage compose(const QString &to, int msgType, const QString &userData) const;
    // Adds the file part (OOB, metadata) to a composed message; the body becomes the URL.
    static void setFile(QXmppMessage &message, const QString &url, const QString &fileName,
                        qint64 size);
    // Sends it; done(reason) runs once on the engine's thread: 200 when the server has
    // acknowledged the stanza, another reason when it cannot be delivered (see README.md).
    // Sends made while the connection is being restored wait for it.
    void send(const QXmppMessage &message, std::function<void(int reason)> done);
    // The record of a message as callbacks see it (sender/receiver as caller names).
    void fillRecord(ZS_MessageInfo &record, const QXmppMessage &message) const;

    // The requests of api_im.cpp, on the engine's thread.
    void sendText(unsigned int key, const QXmppMessage &message);
    void read(const QString &msgId);
    void withdraw(unsigned int key, const QString &msgId);
    void remove(unsigned int key, int type, const QString &msgId);
    void setTopContact(unsigned int key, const QString &contact, bool isTop);
    void getTopContacts(unsigned int key);

    void attach(QXmppClient *client) override;
    void online(bool resumed) override;
    void offline() override;
    void detach() override;

    // Stanzas the client hands to its extensions; true when taken.
    bool handleStanza(const QDomElement &element);

    // The groups side fetches what the rooms archived while the user was away. The offline
    // messages of a new stream wait for it: one hold per stream, released once (a release
    // with nothing held does nothing).
    void holdOfflineBatch();
    void releaseOfflineBatch();
    // A message of a room's archive (the forwarded <message/>, stamped when it was sent):
    // with the offline messages while they are being gathered, else delivered at once.
    void archivedGroup(const QDomElement &message, const QDateTime &stamp);
    // The groups side entered a room, or gave up entering: group messages that waited for it
    // go out.
    void roomsChanged();

    struct State;

private:
    std::unique_ptr<State> d;
};

} // namespace zsxmpp
