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

class QXmppMessage;

namespace zsxmpp {

class Messages : public Feature
{
public:
    using Feature::Feature;

    // The envelope above for a new message to `to` (a bare JID) with a fresh id.
    QXmppMessage compose(const QString &to, int msgType, const QString &userData) const;
    // Sends it; done(reason) runs once on the engine's thread: 200 when the server has
    // acknowledged the stanza, another reason when it cannot be delivered.
    void send(const QXmppMessage &message, std::function<void(int reason)> done);
    // The record of a message as callbacks see it (sender/receiver as caller names).
    void fillRecord(ZS_MessageInfo &record, const QXmppMessage &message) const;
};

} // namespace zsxmpp
