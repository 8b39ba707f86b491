#include "XmppMessages.h"

#include "XmppCommon.h"
#include "XmppSession.h"

#include <QXmppMessage.h>

namespace zsxmpp {

QXmppMessage Messages::compose(const QString &to, int msgType, const QString &userData) const
{
    (void)msgType;
    (void)userData;
    QXmppMessage message;
    message.setTo(to);
    message.setType(QXmppMessage::Chat);
    return message;
}

void Messages::send(const QXmppMessage &message, std::function<void(int reason)> done)
{
    (void)message;
    done(ZS_REASON_SERVER_ERROR);
}

void Messages::fillRecord(ZS_MessageInfo &record, const QXmppMessage &message) const
{
    put(record.msgId, message.id());
}

} // namespace zsxmpp
