#include "XmppStanza.h"

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

void PayloadIq::toXmlElementFromChild(QXmlStreamWriter *writer) const
{
    if (!payload.isNull())
        payload.toXml(writer);
}

} // namespace zsxmpp
