// Message requests: texts, read markers, withdrawal, deletion and top contacts. Each checks
// its arguments at once and runs on the engine's thread; the answers come from there.

#include "XmppCommon.h"
#include "XmppEngine.h"
#include "XmppMessages.h"
#include "XmppSession.h"

#include <Utf8Field.h>

#include <QUuid>
#include <QXmppMessage.h>

using namespace zsxmpp;

namespace {

// Runs fn with the session's messages on the engine's thread; the request's return code.
int postToMessages(std::function<void(Session &)> fn)
{
    return Engine::get().post([fn = std::move(fn)] {
        if (Session *session = Engine::get().session())
            fn(*session);
    })
        ? int(ZS_OK)
        : int(ZS_ERR_NOT_INITIALIZED);
}

} // namespace

extern "C" {

int SendTextMessageEX(unsigned int *matchKey, const char *receiver, const char *message, int type,
                      const char *userdata, char *msgIdBuf, const char *jsonString)
{
    (void)jsonString; // link cards travel as files
    if (const int refused = sessionCheck())
        return refused;
    const QString to = text(receiver).trimmed();
    if (to.isEmpty())
        return ZS_ERR_INVALID_ARGUMENT;
    // The id is the caller's at once; the envelope is made where the session's names live.
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (msgIdBuf) {
        const QByteArray utf8 = id.toUtf8();
        tq::copyUtf8Field(msgIdBuf, ZS_MSG_ID_BUFFER_SIZE, utf8.constData(),
                          std::size_t(utf8.size()));
    }
    const unsigned int key = issueKey(matchKey);
    Engine::get().trace(QStringLiteral("SendTextMessageEX key %1 to %2 type %3 id %4")
                            .arg(QString::number(key), escaped(to), QString::number(type), id));
    return postToMessages(
        [key, to, id, type, body = text(message), userData = text(userdata)](Session &session) {
            QXmppMessage m = session.messages().compose(
                session.addressOf(to.section(QLatin1Char('/'), 0, 0)), type, userData);
            m.setId(id);
            m.setOriginId(id);
            m.setBody(body);
            session.messages().sendText(key, m);
        });
}

int ReadMessage(unsigned int *matchKey, const char *msgId)
{
    (void)matchKey; // no answer follows, so no key either
    if (const int refused = sessionCheck())
        return refused;
    const QString id = text(msgId);
    if (id.isEmpty())
        return ZS_ERR_INVALID_ARGUMENT;
    return postToMessages([id](Session &session) { session.messages().read(id); });
}

int WithDrawMessage(unsigned int *matchKey, const char *msgId, int type)
{
    if (const int refused = sessionCheck())
        return refused;
    const QString id = text(msgId);
    if (id.isEmpty())
        return ZS_ERR_INVALID_ARGUMENT;
    const unsigned int key = issueKey(matchKey);
    Engine::get().trace(QStringLiteral("WithDrawMessage key %1 id %2 type %3")
                            .arg(QString::number(key), escaped(id), QString::number(type)));
    return postToMessages([key, id](Session &session) { session.messages().withdraw(key, id); });
}

int DeleteMessage(unsigned int *matchKey, int type, const char *msgId)
{
    // Local: needs the engine, not a connection.
    if (!Engine::get().running())
        return ZS_ERR_NOT_INITIALIZED;
    const unsigned int key = issueKey(matchKey);
    const QString id = text(msgId);
    Engine::get().trace(QStringLiteral("DeleteMessage key %1 id %2 type %3")
                            .arg(QString::number(key), escaped(id), QString::number(type)));
    return postToMessages(
        [key, type, id](Session &session) { session.messages().remove(key, type, id); });
}

int SetTopContact(unsigned int *matchKey, const char *contact, bool isTop)
{
    if (const int refused = sessionCheck())
        return refused;
    const unsigned int key = issueKey(matchKey);
    const QString name = text(contact);
    Engine::get().trace(QStringLiteral("SetTopContact key %1 %2 %3")
                            .arg(QString::number(key), escaped(name), QString::number(isTop)));
    return postToMessages([key, name, isTop](Session &session) {
        session.messages().setTopContact(key, name, isTop);
    });
}

int GetTopContact(unsigned int *matchKey)
{
    if (const int refused = sessionCheck())
        return refused;
    const unsigned int key = issueKey(matchKey);
    Engine::get().trace(QStringLiteral("GetTopContact key %1").arg(key));
    return postToMessages([key](Session &session) { session.messages().getTopContacts(key); });
}

} // extern "C"
