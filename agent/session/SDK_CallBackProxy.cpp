#include "SDK_CallBackProxy.h"

#include "SDK_Agent.h"
#include "SessionConvert.h"

#include <AgentLog.h>
#include <AgentShutdown.h>
#include <FixedField.h>

namespace {

#define WHERE TQ_WHERE(SDK_CallBackProxy)

void ZS_CALL callback_onReserved() { }

void ZS_CALL callback_onLogOut(int reason)
{
    tq::logInfo("%1", WHERE);
    emit SDK_Agent::instance()->sig_onLogOut(reason);
}

void ZS_CALL callback_onConnectState(int code, int reason)
{
    tq::logInfo("%1 code = %2, reason = %3", WHERE, code, reason);
    emit SDK_Agent::instance()->sig_onConnectState(Agent_ConnectState{code, reason});
}

void ZS_CALL callback_onSetPersonInfo(unsigned int, int reason, unsigned long long version)
{
    tq::logInfo("%1", WHERE);
    emit SDK_Agent::instance()->sig_onSetPersonInfo(reason, version);
}

void ZS_CALL callback_onGetPersonInfo(unsigned int, int reason, const ZS_PersonInfo *info)
{
    tq::logInfo("%1", WHERE);
    // A failed query may come without a record.
    emit SDK_Agent::instance()->sig_onGetPersonInfo(
        reason, info ? session::fromEngine(*info) : Agent_PersonInfo());
}

QList<Agent_PersonState> toList(int count, const ZS_PersonState *states)
{
    return tq::convertArray(states, count,
                            [](const ZS_PersonState &s) { return session::fromEngine(s); });
}

void ZS_CALL callback_onGetUserState(unsigned int, int reason, int count,
                                     const ZS_PersonState *states)
{
    tq::logInfo("%1   reason = %2   count = %3", WHERE, reason, count);
    emit SDK_Agent::instance()->sig_onGetUserState(reason, toList(count, states));
}

void ZS_CALL callback_onPublishPresence(unsigned int, int reason)
{
    tq::logInfo("%1", WHERE);
    emit SDK_Agent::instance()->sig_onPublishPresence(reason);
}

void ZS_CALL callback_onReceiveFriendsPublishPresence(int count, const ZS_PersonState *states)
{
    tq::logInfo("%1", WHERE);
    emit SDK_Agent::instance()->sig_onReceiveFriendsPublishPresence(toList(count, states));
}

#undef WHERE

ZS_GeneralCallBack *generalTable()
{
    static ZS_GeneralCallBack table = [] {
        ZS_GeneralCallBack t{};
        t.onReserved = tq::gated<callback_onReserved>;
        t.onLogOut = tq::gated<callback_onLogOut>;
        t.onConnectState = tq::gated<callback_onConnectState>;
        t.onSetPersonInfo = tq::gated<callback_onSetPersonInfo>;
        t.onGetPersonInfo = tq::gated<callback_onGetPersonInfo>;
        t.onGetUserState = tq::gated<callback_onGetUserState>;
        t.onPublishPresence = tq::gated<callback_onPublishPresence>;
        t.onReceiveFriendsPublishPresence = tq::gated<callback_onReceiveFriendsPublishPresence>;
        return t;
    }();
    return &table;
}

} // namespace

SDK_CallBackProxy *SDK_CallBackProxy::instance()
{
    static SDK_CallBackProxy *const proxy = new SDK_CallBackProxy;
    return proxy;
}

void SDK_CallBackProxy::registerCallbacks()
{
    m_table = generalTable();
    SetGeneralCallBackFuction(m_table);
}
