// The peer's process: reads commands on a thread of its own, runs them on the main thread,
// and prints what the engine answers from its thread.

#include "Peer.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMetaObject>
#include <QUrl>

#include <cstdio>
#include <iostream>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace peer {

// The group entries of the message table (peer_group.cpp).
void fillGroupEntries(ZS_MessageCallBack &t);

namespace {

std::map<QString, Command> &commands()
{
    static std::map<QString, Command> map;
    return map;
}

std::mutex g_outMutex;

template<std::size_t N> QString field(const char (&f)[N])
{
    return QString::fromUtf8(f, int(qstrnlen(f, N)));
}

QString textOf(const char *utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

// ---- general table ----

void ZS_CALL onLogOut(int reason)
{
    emitEvent(QStringLiteral("onLogOut"), {{"reason", reason}});
}
void ZS_CALL onConnectState(int code, int reason)
{
    emitEvent(QStringLiteral("onConnectState"), {{"code", code}, {"reason", reason}});
}
void ZS_CALL onSetPersonInfo(unsigned int key, int reason, unsigned long long version)
{
    emitEvent(QStringLiteral("onSetPersonInfo"),
              {{"key", double(key)}, {"reason", reason}, {"version", QString::number(version)}});
}
void ZS_CALL onGetPersonInfo(unsigned int key, int reason, const ZS_PersonInfo *info)
{
    QJsonObject o{{"key", double(key)}, {"reason", reason}};
    if (info) {
        o.insert("number1", info->number1);
        o.insert("number2", info->number2);
        o.insert("number3", info->number3);
        o.insert("text1", field(info->text1));
        o.insert("text2", field(info->text2));
        o.insert("text3", field(info->text3));
    }
    emitEvent(QStringLiteral("onGetPersonInfo"), o);
}
QJsonArray statesArray(int count, const ZS_PersonState *states)
{
    QJsonArray list;
    for (int i = 0; states && i < count; ++i)
        list.append(personStateFields(states[i]));
    return list;
}
void ZS_CALL onGetUserState(unsigned int key, int reason, int count, const ZS_PersonState *states)
{
    emitEvent(QStringLiteral("onGetUserState"),
              {{"key", double(key)}, {"reason", reason}, {"states", statesArray(count, states)}});
}
void ZS_CALL onPublishPresence(unsigned int key, int reason)
{
    emitEvent(QStringLiteral("onPublishPresence"), {{"key", double(key)}, {"reason", reason}});
}
void ZS_CALL onFriendsPresence(int count, const ZS_PersonState *states)
{
    emitEvent(QStringLiteral("onReceiveFriendsPublishPresence"),
              {{"states", statesArray(count, states)}});
}

// ---- message table ----

void message(const char *event, const ZS_MessageInfo *msg, QJsonObject extra = {})
{
    QJsonObject o = messageFields(msg);
    for (auto it = extra.begin(); it != extra.end(); ++it)
        o.insert(it.key(), it.value());
    emitEvent(QString::fromLatin1(event), o);
}
void ZS_CALL onSendTextMessage(unsigned int key, int reason, const ZS_MessageInfo *msg)
{
    message("onSendTextMessage", msg, {{"key", double(key)}, {"reason", reason}});
}
void ZS_CALL onReceiveMessage(const ZS_MessageInfo *msg)
{
    message("onReceiveMessage", msg);
}
void ZS_CALL onReceiveOfflineMessage(const ZS_MessageInfo *msg)
{
    message("onReceiveOfflineMessage", msg);
}
void ZS_CALL onSendMediaFile(unsigned int key, int reason, const ZS_MessageInfo *msg,
                             const char *status)
{
    message("onSendMediaFile", msg,
            {{"key", double(key)}, {"reason", reason}, {"status", textOf(status)}});
}
void ZS_CALL onDownloadFileComplete(unsigned int key, int reason, const ZS_MessageInfo *msg)
{
    message("onDownloadFileComplete", msg, {{"key", double(key)}, {"reason", reason}});
}
void ZS_CALL onRateOfProgressAttach(unsigned int key, unsigned long long done,
                                    unsigned long long total, const ZS_MessageInfo *msg)
{
    message("onRateOfProgressAttach", msg,
            {{"key", double(key)}, {"done", double(done)}, {"total", double(total)}});
}
void ZS_CALL onReceiveFile(const ZS_MessageInfo *msg)
{
    message("onReceiveFile", msg);
}
void ZS_CALL onOfflineMessageCount(int count)
{
    emitEvent(QStringLiteral("onOfflineMessageCount"), {{"count", count}});
}
void ZS_CALL onOfflineMessageComplete()
{
    emitEvent(QStringLiteral("onOfflineMessageComplete"));
}
void ZS_CALL onDeleteMessage(unsigned int key, int reason, int type, const char *msgId)
{
    emitEvent(QStringLiteral("onDeleteMessage"),
              {{"key", double(key)}, {"reason", reason}, {"type", type}, {"msgId", textOf(msgId)}});
}
void ZS_CALL onReceiveNoVersionMessage(const ZS_MessageInfo *msg)
{
    message("onReceiveNoVersionMessage", msg);
}
void ZS_CALL onReceiveOperateNotice(const ZS_MessageInfo *msg)
{
    message("onReceiveOpreateNoticeMessage", msg);
}
void ZS_CALL onSetTopContact(unsigned int key, int reason)
{
    emitEvent(QStringLiteral("onSetTopContact"), {{"key", double(key)}, {"reason", reason}});
}
void ZS_CALL onGetTopContact(unsigned int key, int reason, int count, const char *const *contacts)
{
    QJsonArray list;
    for (int i = 0; contacts && i < count; ++i)
        list.append(textOf(contacts[i]));
    emitEvent(QStringLiteral("onGetTopContact"),
              {{"key", double(key)}, {"reason", reason}, {"contacts", list}});
}
void ZS_CALL onWithDrawMessage(unsigned int key, int reason)
{
    emitEvent(QStringLiteral("onWithDrawMessage"), {{"key", double(key)}, {"reason", reason}});
}
void ZS_CALL onReceiveServerUndefined(const ZS_MessageInfo *msg)
{
    message("onReceiveServerUndefineMessage", msg);
}

ZS_GeneralCallBack g_general{};
ZS_MessageCallBack g_messages{};

void fillTables()
{
    g_general.onLogOut = onLogOut;
    g_general.onConnectState = onConnectState;
    g_general.onSetPersonInfo = onSetPersonInfo;
    g_general.onGetPersonInfo = onGetPersonInfo;
    g_general.onGetUserState = onGetUserState;
    g_general.onPublishPresence = onPublishPresence;
    g_general.onReceiveFriendsPublishPresence = onFriendsPresence;
    g_messages.onSendTextMessage = onSendTextMessage;
    g_messages.onReceiveMessage = onReceiveMessage;
    g_messages.onReceiveOfflineMessage = onReceiveOfflineMessage;
    g_messages.onSendMediaFile = onSendMediaFile;
    g_messages.onDownloadFileComplete = onDownloadFileComplete;
    g_messages.onRateOfProgressAttach = onRateOfProgressAttach;
    g_messages.onReceiveFile = onReceiveFile;
    g_messages.onOfflineMessageCount = onOfflineMessageCount;
    g_messages.onOfflineMessageComplete = onOfflineMessageComplete;
    g_messages.onDeleteMessage = onDeleteMessage;
    g_messages.onReceiveNoVersionMessage = onReceiveNoVersionMessage;
    g_messages.onReceiveOpreateNoticeMessage = onReceiveOperateNotice;
    g_messages.onSetTopContact = onSetTopContact;
    g_messages.onGetTopContact = onGetTopContact;
    g_messages.onWithDrawMessage = onWithDrawMessage;
    g_messages.onReceiveServerUndefineMessage = onReceiveServerUndefined;
    fillGroupEntries(g_messages);
}

// ---- session commands ----

// init [traceFile]
void init(const QStringList &args)
{
    if (!arg(args, 0).isEmpty())
        SetTraceFlag(5, arg(args, 0).toUtf8().constData());
    const int ret = ZSSDK_Initialize();
    SetGeneralCallBackFuction(&g_general);
    SetMessageCallBackFunction(&g_messages);
    emitReturn(QStringLiteral("init"), ret);
}

// login user password port [server]
void login(const QStringList &args)
{
    QByteArray texts[6] = {arg(args, 0).toUtf8(),
                           arg(args, 1).toUtf8(),
                           arg(args, 3).isEmpty() ? QByteArray("localhost") : arg(args, 3).toUtf8(),
                           arg(args, 2).toUtf8(),
                           QByteArray(),
                           QByteArray()};
    ZS_LoginInfo info{};
    for (int k = 0; k < 6; ++k)
        info.text[k] = texts[k].data();
    emitReturn(QStringLiteral("login"), Login(&info));
}

TQ_PEER_COMMAND("init", init)
TQ_PEER_COMMAND("login", login)
TQ_PEER_COMMAND("logout",
                [](const QStringList &) { emitReturn(QStringLiteral("logout"), Logout()); })
TQ_PEER_COMMAND("uninit", [](const QStringList &) {
    emitReturn(QStringLiteral("uninit"), ZSSDK_UnInitialize());
})
TQ_PEER_COMMAND("quit", [](const QStringList &) {
    ZSSDK_UnInitialize();
    emitReturn(QStringLiteral("quit"), 0);
    QCoreApplication::quit();
})
// Answers at once: a test knows every earlier command has been run.
TQ_PEER_COMMAND("ping", [](const QStringList &) { emitReturn(QStringLiteral("ping"), 0); })

void run(const QString &line)
{
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return;
    QStringList args;
    for (int k = 1; k < words.size(); ++k)
        args << QUrl::fromPercentEncoding(words[k].toUtf8());
    const auto it = commands().find(words[0]);
    if (it == commands().end()) {
        emitReturn(words[0], -1, {{"error", "unknown command"}});
        return;
    }
    it->second(args);
}

} // namespace

bool addCommand(const char *name, Command command)
{
    commands()[QString::fromLatin1(name)] = std::move(command);
    return true;
}

void emitEvent(const QString &event, QJsonObject fields)
{
    fields.insert(QStringLiteral("ev"), event);
    const QByteArray line = QJsonDocument(fields).toJson(QJsonDocument::Compact);
    std::lock_guard<std::mutex> lock(g_outMutex);
    std::fwrite(line.constData(), 1, std::size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void emitReturn(const QString &command, int code, QJsonObject fields)
{
    fields.insert(QStringLiteral("cmd"), command);
    fields.insert(QStringLiteral("ret"), code);
    emitEvent(QStringLiteral("ret"), fields);
}

QString arg(const QStringList &args, int k)
{
    return k < args.size() ? args[k] : QString();
}

QJsonObject messageFields(const ZS_MessageInfo *m)
{
    if (!m)
        return {{"null", true}};
    return {{"msgType", m->msgType},
            {"msgId", field(m->msgId)},
            {"dateCreated", field(m->dateCreated)},
            {"sender", field(m->sender)},
            {"receiver", field(m->receiver)},
            {"msgContent", field(m->msgContent)},
            {"userData", field(m->userData)},
            {"fileName", field(m->fileName)},
            {"sessionId", field(m->sessionId)},
            {"fileUrl", field(m->fileUrl)},
            {"sessionType", m->sessionType},
            {"fileSize", double(m->fileSize)},
            {"isReceiveOfflineMsg", m->isReceiveOfflineMsg},
            {"isSyncMsg", m->isSyncMsg}};
}

QJsonObject personStateFields(const ZS_PersonState &s)
{
    return {{"text1", field(s.text1)},
            {"text2", field(s.text2)},
            {"text3", field(s.text3)},
            {"text4", QString::fromLatin1(s.text4, int(qstrnlen(s.text4, sizeof s.text4)))},
            {"number1", s.number1},
            {"number2", s.number2},
            {"number3", s.number3},
            {"number4", s.number4}};
}

} // namespace peer

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    peer::fillTables();
    // Commands run on the main thread, in order; end of input quits.
    std::thread reader([] {
        std::string line;
        while (std::getline(std::cin, line)) {
            const QString command = QString::fromStdString(line);
            QMetaObject::invokeMethod(
                qApp, [command] { peer::run(command); }, Qt::QueuedConnection);
        }
        QMetaObject::invokeMethod(
            qApp,
            [] {
                ZSSDK_UnInitialize();
                QCoreApplication::quit();
            },
            Qt::QueuedConnection);
    });
    reader.detach();
    const int rc = app.exec();
    ZSSDK_UnInitialize();
    std::fflush(stdout);
    std::_Exit(rc); // the reader may still block on stdin
}
