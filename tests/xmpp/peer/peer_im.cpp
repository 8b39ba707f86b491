// Message commands of the peer: each answers with the request's return code (and what it
// wrote for the caller); the engine's answers follow as events.

#include "Peer.h"

#include <QJsonObject>

#include <cstring>

namespace peer {
namespace {

QByteArray utf8(const QStringList &args, int k)
{
    return arg(args, k).toUtf8();
}

// send to text type userdata
void send(const QStringList &args)
{
    unsigned int key = 0;
    char id[ZS_MSG_ID_BUFFER_SIZE];
    std::memset(id, 'x', sizeof id); // the engine must end the id with a NUL
    const int ret = SendTextMessageEX(&key, utf8(args, 0).constData(), utf8(args, 1).constData(),
                                      arg(args, 2).toInt(), utf8(args, 3).constData(), id, nullptr);
    const QString msgId
        = ret == 0 ? QString::fromUtf8(id, int(qstrnlen(id, sizeof id))) : QString();
    emitReturn(QStringLiteral("send"), ret,
               {{"key", double(key)},
                {"msgId", msgId},
                {"terminated", qstrnlen(id, sizeof id) < sizeof id}});
}

// sendnull to: every optional pointer null
void sendNull(const QStringList &args)
{
    const int ret = SendTextMessageEX(nullptr, utf8(args, 0).constData(), nullptr, 1, nullptr,
                                      nullptr, nullptr);
    emitReturn(QStringLiteral("sendnull"), ret);
}

void keyed(const QString &name, int ret, unsigned int key)
{
    emitReturn(name, ret, {{"key", double(key)}});
}

} // namespace

TQ_PEER_COMMAND("send", send)
TQ_PEER_COMMAND("sendnull", sendNull)
// read msgId
TQ_PEER_COMMAND("read", [](const QStringList &args) {
    emitReturn(QStringLiteral("read"), ReadMessage(nullptr, utf8(args, 0).constData()));
})
// withdraw msgId type
TQ_PEER_COMMAND("withdraw", [](const QStringList &args) {
    unsigned int key = 0;
    const int ret = WithDrawMessage(&key, utf8(args, 0).constData(), arg(args, 1).toInt());
    keyed(QStringLiteral("withdraw"), ret, key);
})
// delete type msgId
TQ_PEER_COMMAND("delete", [](const QStringList &args) {
    unsigned int key = 0;
    const int ret = DeleteMessage(&key, arg(args, 0).toInt(), utf8(args, 1).constData());
    keyed(QStringLiteral("delete"), ret, key);
})
// settop contact 0|1
TQ_PEER_COMMAND("settop", [](const QStringList &args) {
    unsigned int key = 0;
    const int ret = SetTopContact(&key, utf8(args, 0).constData(), arg(args, 1).toInt() != 0);
    keyed(QStringLiteral("settop"), ret, key);
})
TQ_PEER_COMMAND("gettop", [](const QStringList &) {
    unsigned int key = 0;
    const int ret = GetTopContact(&key);
    keyed(QStringLiteral("gettop"), ret, key);
})

} // namespace peer
