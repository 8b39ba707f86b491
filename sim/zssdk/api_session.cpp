// Session requests: server choice, login and logout, presence, personal information and
// other users' states.

#include "Engine.h"
#include "MessageHooks.h"
#include "Population.h"

#include <Utf8Field.h>

using namespace zssim;

namespace {

template<std::size_t N> void putField(char (&field)[N], const QByteArray &utf8)
{
    tq::copyUtf8Field(field, N, utf8.constData(), std::size_t(utf8.size()));
}

// The stored profile's text of at most N bytes, up to its NUL.
template<std::size_t N> QByteArray storedText(const char (&field)[N])
{
    return QByteArray(field, int(qstrnlen(field, N)));
}

ZS_PersonState personState(const QString &user, const ServerModel::Presence &presence,
                           const QByteArray &profile)
{
    ZS_PersonState state{};
    const QByteArray name = user.toUtf8();
    putField(state.text1, name);
    putField(state.text2, name);
    if (profile.size() == int(sizeof(ZS_PersonInfo))) {
        ZS_PersonInfo info;
        std::memcpy(static_cast<void *>(&info), profile.constData(), sizeof info);
        if (info.text1[0])
            putField(state.text2, storedText(info.text1));
        putField(state.text3, storedText(info.text2));
    }
    // Presence user data is in the publisher's code page: copied as bytes, not as UTF-8.
    qstrncpy(state.text4, presence.userdata.constData(), sizeof state.text4);
    state.number1 = presence.type;
    state.number2 = presence.subtype;
    return state;
}

// Presence records of the given users, as the server knows them.
std::vector<ZS_PersonState> presenceOf(const ServerModel &server, const QStringList &users)
{
    std::vector<ZS_PersonState> states;
    states.reserve(std::size_t(users.size()));
    for (const QString &user : users)
        states.push_back(
            personState(user, server.presence.value(user), server.personInfo.value(user)));
    return states;
}

// text4 of the login record: empty, or a port number.
bool validPort(const QByteArray &text)
{
    if (text.isEmpty())
        return true;
    bool ok = false;
    const int port = text.toInt(&ok);
    return ok && port >= 1 && port <= 65535;
}

void answerStates(Request &call, unsigned int key, int reason, std::vector<ZS_PersonState> states)
{
    call.answer([key, reason, records = callbackRecords(std::move(states))] {
        const int count = int(records->size());
        invoke(&ZS_GeneralCallBack::onGetUserState, key, reason, count,
               count ? static_cast<const ZS_PersonState *>(records->data()) : nullptr);
        scribble(*records);
    });
}

// The engine's push of friends' presence, to run on its thread.
std::function<void()> friendsPresence(std::vector<ZS_PersonState> states)
{
    return [records = callbackRecords(std::move(states))] {
        invoke(&ZS_GeneralCallBack::onReceiveFriendsPublishPresence, int(records->size()),
               static_cast<const ZS_PersonState *>(records->data()));
        scribble(*records);
    };
}

} // namespace

extern "C" {

int SetServerEnvType(int nEnvType, const char *serverXmlFileName)
{
    Request call("SetServerEnvType", false);
    call.arg(nEnvType).text(serverXmlFileName);
    if (call.accepted())
        Control::withServer([&](ServerModel &server) {
            server.envType = nEnvType;
            server.serverXml = serverXmlFileName;
        });
    return call.result();
}

int SetInternalDNS(int enable, const char *dns, int port, int reserved)
{
    Request call("SetInternalDNS", false);
    call.arg(enable).text(dns).arg(port).arg(reserved);
    if (call.accepted())
        Control::withServer([&](ServerModel &server) {
            server.dnsEnabled = enable;
            server.dns = dns;
            server.dnsPort = port;
        });
    return call.result();
}

int Login(const ZS_LoginInfo *info)
{
    Request call("Login");
    if (!info) {
        call.arg(0);
        return call.accepted() ? int(ZS_ERR_INVALID_ARGUMENT) : call.result();
    }
    call.arg(info->number1);
    // Read each text only within its buffer; the password never reaches the trace file.
    QByteArray texts[6];
    for (int k = 0; k < 6; ++k) {
        if (info->text[k])
            texts[k] = QByteArray(info->text[k], int(qstrnlen(info->text[k], ZS_LOGIN_TEXT_SIZE)));
        if (k == 1)
            call.secret(info->text[k] ? texts[k].constData() : nullptr);
        else
            call.text(info->text[k] ? texts[k].constData() : nullptr);
    }
    if (!call.accepted())
        return call.result();

    const QString user = QString::fromUtf8(texts[0]);
    int reason = ZS_REASON_SUCCESS;
    std::vector<ZS_PersonState> friends;
    Control::withServer([&](ServerModel &server) {
        if (!validPort(texts[3])) {
            reason = ZS_REASON_BAD_REQUEST;
        } else if (!server.accounts.isEmpty()) {
            if (!server.accounts.contains(user))
                reason = ZS_REASON_NOT_FOUND;
            else if (server.accounts.value(user) != QString::fromUtf8(texts[1]))
                reason = ZS_REASON_UNAUTHORIZED;
        }
        server.connectState = reason == ZS_REASON_SUCCESS ? ZS_STATE_CONNECTED : ZS_STATE_FAILED;
        if (reason == ZS_REASON_SUCCESS) {
            server.currentUser = user;
            server.serverAddress = texts[2];
            server.serverPort = texts[3];
            friends = presenceOf(server, server.contactsOf(user));
        }
    });
    if (reason == ZS_REASON_SUCCESS)
        startContactLife();

    call.answer([] { invoke(&ZS_GeneralCallBack::onConnectState, int(ZS_STATE_CONNECTING), 0); });
    const int state = reason == ZS_REASON_SUCCESS ? ZS_STATE_CONNECTED : ZS_STATE_FAILED;
    call.answer([state, reason] { invoke(&ZS_GeneralCallBack::onConnectState, state, reason); });
    if (reason == ZS_REASON_SUCCESS && !friends.empty())
        call.answer(friendsPresence(std::move(friends)));
    // Messaging hook (api_im.cpp): the messages kept while the user was offline.
    if (reason == ZS_REASON_SUCCESS)
        answerOfflineMessages(call, user);
    return call.result();
}

int Logout(void)
{
    Request call("Logout");
    if (call.accepted()) {
        stopContactLife();
        Control::withServer([](ServerModel &server) {
            server.currentUser.clear();
            server.connectState = ZS_STATE_IDLE;
        });
    }
    call.answer([] { invoke(&ZS_GeneralCallBack::onLogOut, int(ZS_REASON_SUCCESS)); });
    return call.result();
}

int GetUserState(unsigned int *matchKey, const char *const *names, int count)
{
    Request call("GetUserState");
    QStringList users;
    for (int i = 0; names && i < count; ++i)
        users << QString::fromUtf8(names[i] ? names[i] : "");
    call.arg(count);
    for (const QString &user : qAsConst(users))
        call.text(user.toUtf8().constData());
    const unsigned int key = call.issueKey(matchKey);
    if (!names || count <= 0) {
        answerStates(call, key, ZS_REASON_BAD_REQUEST, {});
        return call.result();
    }
    std::vector<ZS_PersonState> states;
    Control::withServer([&](ServerModel &server) { states = presenceOf(server, users); });
    answerStates(call, key, ZS_REASON_SUCCESS, std::move(states));
    return call.result();
}

int PublishPresence_TQ(unsigned int *matchKey, int type, int subtype, const char *userdata)
{
    Request call("PublishPresence_TQ");
    call.arg(type).arg(subtype).text(userdata);
    const unsigned int key = call.issueKey(matchKey);
    if (call.accepted()) {
        Control::withServer([&](ServerModel &server) {
            const ServerModel::Presence presence{type, subtype,
                                                 QByteArray(userdata ? userdata : "")};
            server.presence[server.currentUser] = presence;
            for (const QString &contact : server.contactsOf(server.currentUser))
                server.pushedTo[contact].append(presence);
        });
    }
    call.answer(
        [key] { invoke(&ZS_GeneralCallBack::onPublishPresence, key, int(ZS_REASON_SUCCESS)); });
    return call.result();
}

int SetPersonInfo(unsigned int *matchKey, const ZS_PersonInfo *info)
{
    Request call("SetPersonInfo");
    call.record(info);
    const unsigned int key = call.issueKey(matchKey);
    if (!info) {
        call.answer([key] {
            invoke(&ZS_GeneralCallBack::onSetPersonInfo, key, int(ZS_REASON_BAD_REQUEST), 0ULL);
        });
        return call.result();
    }
    unsigned long long version = 0;
    if (call.accepted()) {
        Control::withServer([&](ServerModel &server) {
            server.personInfo[server.currentUser]
                = QByteArray(reinterpret_cast<const char *>(info), sizeof *info);
            version = server.personInfoVersion++;
        });
    }
    call.answer([key, version] {
        invoke(&ZS_GeneralCallBack::onSetPersonInfo, key, int(ZS_REASON_SUCCESS), version);
    });
    return call.result();
}

int GetPersonInfo(unsigned int *matchKey, const char *username)
{
    Request call("GetPersonInfo");
    call.text(username);
    const unsigned int key = call.issueKey(matchKey);
    QByteArray stored;
    Control::withServer([&](ServerModel &server) {
        stored = server.personInfo.value(QString::fromUtf8(username ? username : ""));
    });
    if (stored.size() != int(sizeof(ZS_PersonInfo))) {
        call.answer([key] {
            invoke(&ZS_GeneralCallBack::onGetPersonInfo, key, int(ZS_REASON_NOT_FOUND),
                   static_cast<const ZS_PersonInfo *>(nullptr));
        });
        return call.result();
    }
    std::vector<ZS_PersonInfo> record(1);
    std::memcpy(static_cast<void *>(record.data()), stored.constData(), sizeof(ZS_PersonInfo));
    call.answer([key, records = callbackRecords(std::move(record))] {
        invoke(&ZS_GeneralCallBack::onGetPersonInfo, key, int(ZS_REASON_SUCCESS),
               static_cast<const ZS_PersonInfo *>(records->data()));
        scribble(*records);
    });
    return call.result();
}

} // extern "C"

void zssim::Control::injectFriendPresence(const QString &user, int type, int subtype,
                                          const QByteArray &userdata)
{
    bool online = false;
    std::vector<ZS_PersonState> states;
    withServer([&](ServerModel &server) {
        server.presence[user] = ServerModel::Presence{type, subtype, userdata};
        online = server.connectState == ZS_STATE_CONNECTED;
        states = presenceOf(server, {user});
    });
    if (!online)
        return;
    post(friendsPresence(std::move(states)));
}
