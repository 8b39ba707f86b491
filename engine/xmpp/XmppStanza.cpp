#include "XmppStanza.h"

#include "ZSsdk.h"

#include <QXmlStreamWriter>
#include <QXmppUtils.h>

namespace zsxmpp {

QString bareOf(const QString &jid)
{
    return QXmppUtils::jidToBareJid(jid).toLower();
}

QString xmlSafe(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
            continue;
        }
        const ushort u = c.unicode();
        if (c.isSurrogate() || u == 0xFFFE || u == 0xFFFF
            || (u < 0x20 && u != 0x9 && u != 0xA && u != 0xD))
            continue;
        out += c;
    }
    return out;
}

QXmppElement element(const QString &tag, const QString &ns, const QString &text)
{
    QXmppElement e;
    e.setTagName(tag);
    if (!ns.isEmpty())
        e.setAttribute(QStringLiteral("xmlns"), ns);
    if (!text.isEmpty())
        e.setValue(xmlSafe(text));
    return e;
}

QDomElement child(const QDomElement &parent, const QString &tag, const QString &ns)
{
    for (QDomElement e = parent.firstChildElement(tag); !e.isNull(); e = e.nextSiblingElement(tag))
        if (e.namespaceURI() == ns)
            return e;
    return QDomElement();
}

QString dateText(const QDateTime &when)
{
    const QDateTime at = when.isValid() ? when : QDateTime::currentDateTimeUtc();
    return at.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

// The reason of a stanza error's condition; 200 without an error.
int reasonOf(const QDomElement &stanza)
{
    if (stanza.attribute(QStringLiteral("type")) != QLatin1String("error"))
        return ZS_REASON_SUCCESS;
    const QDomElement error = stanza.firstChildElement(QStringLiteral("error"));
    for (QDomElement c = error.firstChildElement(); !c.isNull(); c = c.nextSiblingElement()) {
        if (c.namespaceURI() != QLatin1String("urn:ietf:params:xml:ns:xmpp-stanzas"))
            continue;
        const QString condition = c.tagName();
        if (condition == QLatin1String("item-not-found") || condition == QLatin1String("gone")
            || condition == QLatin1String("remote-server-not-found"))
            return ZS_REASON_NOT_FOUND;
        if (condition == QLatin1String("forbidden") || condition == QLatin1String("not-authorized")
            || condition == QLatin1String("not-allowed")
            || condition == QLatin1String("registration-required"))
            return ZS_REASON_FORBIDDEN;
        if (condition == QLatin1String("bad-request")
            || condition == QLatin1String("not-acceptable")
            || condition == QLatin1String("jid-malformed"))
            return ZS_REASON_BAD_REQUEST;
        if (condition == QLatin1String("conflict"))
            return ZS_REASON_BUSY;
        break;
    }
    return ZS_REASON_SERVER_ERROR;
}

void PayloadIq::toXmlElementFromChild(QXmlStreamWriter *writer) const
{
    if (!payload.isNull())
        payload.toXml(writer);
}

} // namespace zsxmpp
