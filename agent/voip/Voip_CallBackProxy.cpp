#include "Voip_CallBackProxy.h"

#include "VoipConvert.h"
#include "Voip_Agent.h"

#include <AgentLog.h>
#include <AgentShutdown.h>
#include <FixedField.h>

namespace {

void ZS_CALL callback_onCallEvents(int reason, const ZS_CallEvent *event)
{
    tq::logInfo("%1", TQ_WHERE(Voip_CallBackProxy));
    const Agent_VoIPCallMsg msg = tq::toCallMsg(event);
    const QString block = tq::LogBlock(QString())
                              .field("Reason", reason)
                              .field("Call_eCode", msg.eCode)
                              .field("CallType", msg.callType)
                              .field("Caller", msg.caller)
                              .field("Callee", msg.callee)
                              .field("Callid", msg.callid)
                              .text(tq::LogBlock::Ending::Dashes);
    g_Log->LogInfo(block);
    emit Voip_Agent::instance()->sig_onCallEvents(reason, msg);
}

void ZS_CALL callback_onMakeCallBack(unsigned int, int reason, const ZS_CallBackInfo *info)
{
    tq::logInfo("%1", TQ_WHERE(Voip_CallBackProxy));
    emit Voip_Agent::instance()->sig_onMakeCallBack(reason, tq::toCallBackInfo(info));
}

void ZS_CALL callback_onCallIncoming(const ZS_IncomingCall *info)
{
    tq::logInfo("%1", TQ_WHERE(Voip_CallBackProxy));
    // An incoming call without caller or call id could neither be shown nor answered.
    if (!info) {
        tq::logError("%1,null record", TQ_WHERE(Voip_CallBackProxy));
        return;
    }
    emit Voip_Agent::instance()->sig_onCallIncoming(tq::toComingInfo(*info));
}

void ZS_CALL callback_onDtmfReceived(const char *callId, char dtmf)
{
    tq::logInfo("%1", TQ_WHERE(Voip_CallBackProxy));
    emit Voip_Agent::instance()->sig_onDtmfReceived(tq::fromEngineText(callId), dtmf);
}

void ZS_CALL callback_onSwitchCallMediaTypeRequest(const char *callId, int video)
{
    tq::logInfo("%1", TQ_WHERE(Voip_CallBackProxy));
    emit Voip_Agent::instance()->sig_onSwitchCallMediaTypeRequest(tq::fromEngineText(callId),
                                                                  video);
}

void ZS_CALL callback_onSwitchCallMediaTypeResponse(const char *callId, int video)
{
    tq::logInfo("%1", TQ_WHERE(Voip_CallBackProxy));
    emit Voip_Agent::instance()->sig_onSwitchCallMediaTypeResponse(tq::fromEngineText(callId),
                                                                   video);
}

void ZS_CALL callback_onRemoteVideoRatio(const char *callidOrConfId, int width, int height,
                                         int type, const char *member)
{
    const QString id = tq::fromEngineText(callidOrConfId);
    const QString who = tq::fromEngineText(member);
    tq::logInfo("%1 CallidOrConferenceId=%2 width=%3 height=%4 type=%5 member=%6",
                TQ_WHERE(Voip_CallBackProxy), id, width, height, type, who);
    Voip_Agent *agent = Voip_Agent::instance();
    switch (type) {
    case ZS_REMOTE_VIDEO_CALL:
        emit agent->sig_onVoipRemoteVideoRatio(id, width, height, type, who);
        break;
    case ZS_REMOTE_VIDEO_CONFERENCE:
        emit agent->sig_onConfRemoteVideoRatio(id, width, height, type, who);
        break;
    case ZS_REMOTE_VIDEO_DESKTOP_SHARE:
        emit agent->sig_onDesktopShareRemoteVideoRatio(id, width, height, type, who);
        break;
    default:
        break;
    }
}

// The engine calls entry 21 and expects a function there; the event needs no action.
void ZS_CALL callback_onReserved21() { }

} // namespace

Voip_CallBackProxy *Voip_CallBackProxy::instance()
{
    static Voip_CallBackProxy *const proxy = new Voip_CallBackProxy;
    return proxy;
}

void Voip_CallBackProxy::registerCallbacks()
{
    static ZS_VoIPCallBack table = [] {
        ZS_VoIPCallBack t{};
        t.onCallEvents = tq::gated<callback_onCallEvents>;
        t.onMakeCallBack = tq::gated<callback_onMakeCallBack>;
        t.onCallIncoming = tq::gated<callback_onCallIncoming>;
        t.onDtmfReceived = tq::gated<callback_onDtmfReceived>;
        t.onSwitchCallMediaTypeRequest = tq::gated<callback_onSwitchCallMediaTypeRequest>;
        t.onSwitchCallMediaTypeResponse = tq::gated<callback_onSwitchCallMediaTypeResponse>;
        t.onRemoteVideoRatio = tq::gated<callback_onRemoteVideoRatio>;
        t.onReserved21 = tq::gated<callback_onReserved21>;
        return t;
    }();
    m_table = &table;
    const int ret = SetVoIPCallBackFuction(m_table);
    if (ret != 0)
        tq::logError("%1,ret=%2", TQ_WHERE(Voip_CallBackProxy), ret);
}
