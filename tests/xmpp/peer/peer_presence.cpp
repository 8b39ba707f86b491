// Presence and profile commands of the peer.

#include "Peer.h"

#include <QByteArray>

#include <cstring>
#include <vector>

namespace peer {
namespace {

QJsonObject keyField(unsigned int key)
{
    return {{"key", double(key)}};
}

// publish type subtype userdata [hex]: the user data as given (UTF-8), or as hex bytes when
// the fourth argument is "hex" (bytes of any code page).
void publish(const QStringList &args)
{
    const QByteArray note = arg(args, 3) == QLatin1String("hex")
        ? QByteArray::fromHex(arg(args, 2).toLatin1())
        : arg(args, 2).toUtf8();
    unsigned int key = 0;
    const int ret
        = PublishPresence_TQ(&key, arg(args, 0).toInt(), arg(args, 1).toInt(), note.constData());
    emitReturn(QStringLiteral("publish"), ret, keyField(key));
}

// userstate name...: no names asks with a null list.
void userState(const QStringList &args)
{
    std::vector<QByteArray> store;
    std::vector<const char *> names;
    for (const QString &a : args)
        store.push_back(a.toUtf8());
    for (const QByteArray &n : store)
        names.push_back(n.constData());
    unsigned int key = 0;
    const int ret = GetUserState(&key, names.empty() ? nullptr : names.data(), int(names.size()));
    emitReturn(QStringLiteral("userstate"), ret, keyField(key));
}

// setinfo number1 number2 number3 text1 text2 text3 ("null" alone: a null record)
void setInfo(const QStringList &args)
{
    unsigned int key = 0;
    if (arg(args, 0) == QLatin1String("null")) {
        const int ret = SetPersonInfo(&key, nullptr);
        emitReturn(QStringLiteral("setinfo"), ret, keyField(key));
        return;
    }
    ZS_PersonInfo info{};
    info.number1 = arg(args, 0).toInt();
    info.number2 = arg(args, 1).toInt();
    info.number3 = arg(args, 2).toInt();
    // Cut to the field like any caller, at a byte: the engine must not read past it.
    const auto fill = [](char *field, std::size_t width, const QString &text) {
        const QByteArray bytes = text.toUtf8();
        std::memcpy(field, bytes.constData(), std::min<std::size_t>(width, bytes.size()));
    };
    fill(info.text1, sizeof info.text1, arg(args, 3));
    fill(info.text2, sizeof info.text2, arg(args, 4));
    fill(info.text3, sizeof info.text3, arg(args, 5));
    const int ret = SetPersonInfo(&key, &info);
    emitReturn(QStringLiteral("setinfo"), ret, keyField(key));
}

void getInfo(const QStringList &args)
{
    unsigned int key = 0;
    const QByteArray name = arg(args, 0).toUtf8();
    const int ret = GetPersonInfo(&key, name.constData());
    emitReturn(QStringLiteral("getinfo"), ret, keyField(key));
}

} // namespace

TQ_PEER_COMMAND("publish", publish)
TQ_PEER_COMMAND("userstate", userState)
TQ_PEER_COMMAND("setinfo", setInfo)
TQ_PEER_COMMAND("getinfo", getInfo)

} // namespace peer
