// Session requests: server choice, login and logout, presence, personal information and
// other users' states.

#include "Engine.h"

#include <Utf8Field.h>

using namespace zssim;

namespace {

ZS_PersonState personState(const QString &user, const ServerModel::Presence &presence)
{
    ZS_PersonState state{};
    const QByteArray name = user.toUtf8();
    tq::copyUtf8Field(state.text1, sizeof state.text1, name.constData(), std::size_t(name.size()));
    tq::copyUtf8Field(state.text2, sizeof state.text2, name.constData(), std::size_t(name.size()));
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
        states.push_back(personState(user, server.presence.value(user)));
    return states;
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
        if (!server.accounts.isEmpty()) {
            if (!server.accounts.contains(user))
                reason = ZS_REASON_NOT_FOUND;
            else if (server.accounts.value(user) != QString::fromUtf8(texts[1]))
                reason = ZS_REASON_UNAUTHORIZED;
        }
        server.connectState = reason == ZS_REASON_SUCCESS ? ZS_STATE_CONNECTED : ZS_STATE_FAILED;
        if (reason == ZS_REASON_SUCCESS) {
            server.currentUser = user;
            friends = presenceOf(server, server.contacts);
        }
    });

    call.answer([] { invoke(&ZS_GeneralCallBack::onConnectState, int(ZS_STATE_CONNECTING), 0); });
    const int state = reason == ZS_REASON_SUCCESS ? ZS_STATE_CONNECTED : ZS_STATE_FAILED;
    call.answer([state, reason] { invoke(&ZS_GeneralCallBack::onConnectState, state, reason); });
    if (reason == ZS_REASON_SUCCESS && !friends.empty())
        call.answer(friendsPresence(std::move(friends)));
    return call.result();
}

int Logout(void)
{
    Request call("Logout");
    if (call.accepted())
        Control::withServer([](ServerModel &server) {
            server.currentUser.clear();
            server.connectState = ZS_STATE_IDLE;
        });
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
            for (const QString &contact : qAsConst(server.contacts))
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
