#pragma once

// Pieces of stanza handling every feature of the engine uses: addresses, elements built and
// read, IQs with a payload given as is, and the hook that hands a feature the stanzas first.

#include <QDateTime>
#include <QDomElement>
#include <QString>
#include <QXmppClientExtension.h>
#include <QXmppElement.h>
#include <QXmppIq.h>

namespace zsxmpp {

// Namespaces more than one feature reads or writes.
inline const QString nsClient = QStringLiteral("jabber:client");
inline const QString nsForward = QStringLiteral("urn:xmpp:forward:0");
inline const QString nsPrivate = QStringLiteral("jabber:iq:private");
inline const QString nsVCard = QStringLiteral("vcard-temp");

// The bare JID, lower case.
QString bareOf(const QString &jid);

// The text without the characters XML 1.0 cannot carry (the server would close the stream).
QString xmlSafe(const QString &text);

// <tag xmlns=ns>text</tag>; no namespace attribute when ns is empty.
QXmppElement element(const QString &tag, const QString &ns = QString(),
                     const QString &text = QString());

// <tag>value</tag>, the value kept even when empty.
inline QXmppElement textElement(const QString &tag, const QString &value)
{
    QXmppElement e = element(tag);
    e.setValue(xmlSafe(value));
    return e;
}

// The first child of that name in that namespace, or a null element.
QDomElement child(const QDomElement &parent, const QString &tag, const QString &ns);

// A time as the records carry it: local "yyyy-MM-dd hh:mm:ss"; an invalid time is now.
QString dateText(const QDateTime &when = QDateTime());

// The reason of a stanza error's condition; 200 when the stanza is no error.
int reasonOf(const QDomElement &stanza);

// An IQ whose payload is one element given as is.
class PayloadIq : public QXmppIq
{
public:
    QXmppElement payload;

protected:
    void toXmlElementFromChild(QXmlStreamWriter *writer) const override;
};

// Hands the client's stanzas to a feature before QXmpp's own handling. The client owns it;
// a client being dropped keeps it, inert once `owner` is reset.
template<class Owner> class StanzaHook : public QXmppClientExtension
{
public:
    explicit StanzaHook(Owner *feature)
        : owner(feature)
    { }
    bool handleStanza(const QDomElement &stanza) override
    {
        return owner && owner->handleStanza(stanza);
    }

    Owner *owner;
};

} // namespace zsxmpp
