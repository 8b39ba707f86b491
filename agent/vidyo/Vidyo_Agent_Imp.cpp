#include "Vidyo_Agent_Imp.h"

#include "VidyoCall.h"
#include "VidyoEvents.h"
#include "Vidyo_Agent.h"

#include <AgentLog.h>
#include <AgentShutdown.h>
#include <FixedField.h>
#include <TQFilePathMgr.h>
#include <VidyoClient.h>

#include <QDebug>

#include <atomic>
#include <cstring>
#include <memory>

using namespace tq::vidyo;

namespace {

constexpr int kLogSize = 5000000;
constexpr int kProfilePortBase = 65000;
constexpr int kRoomLinkType = 2;
constexpr int kShareType = 2;
constexpr int kShareWindow = 1;

// The client's configuration as this program wants it: {byte offset, value}; the rest stays as
// the client gave it.
struct ConfigChange
{
    std::size_t offset;
    int32_t value;
};
constexpr ConfigChange kConfigChanges[] = {
    {19260, 1}, {22716, 0}, {22720, 1}, {22724, 0}, {22728, 0}, {22740, 1}, {22744, 1},
    {22752, 1}, {22760, 0}, {22764, 0}, {22768, 1}, {22788, 1}, {22804, 1},
};
constexpr bool configChangesFit()
{
    for (const ConfigChange &c : kConfigChanges)
        if (c.offset % 4 != 0 || c.offset + 4 > sizeof(VidyoClientRequestConfiguration))
            return false;
    return true;
}
static_assert(configChangesFit(), "configuration change outside the record");

// The client was initialised by this library and not uninitialised since.
std::atomic<bool> g_initialized{false};

void stopClientAtEnd()
{
    if (!g_initialized.exchange(false))
        return;
    if (VidyoClientIsStarted())
        VidyoClientStop();
    VidyoClientUninitialize();
}

VidyoClientLogParams logParams()
{
    VidyoClientLogParams params{};
    params.logSize = kLogSize;
    return params;
}

template<class Signal, class... Args> void emitOnAgent(Signal signal, Args... args)
{
    if (Vidyo_Agent *agent = Vidyo_Agent::existing())
        emit(agent->*signal)(args...);
}

void emitState(int type, bool state)
{
    emitOnAgent(&Vidyo_Agent::signal_onVidyoState, type, state, QString());
}

// Sends an in-event of one byte.
int sendByte(unsigned int event, char byte)
{
    return VidyoClientSendEvent(event, &byte, 1);
}

// Configuration part of connect; stops at the first refused step.
void configure()
{
    auto config = std::make_unique<VidyoClientRequestConfiguration>();
    if (VidyoClientSendRequest(VIDYO_CLIENT_REQUEST_GET_CONFIGURATION, config.get(), sizeof *config)
        != 0) {
        tq::logDebug("Solvane test  -- VIDYO_CLIENT_REQUEST_GET_CONFIGURATION err");
        return;
    }
    for (const ConfigChange &c : kConfigChanges)
        config->field[c.offset / 4] = c.value;
    if (VidyoClientSendRequest(VIDYO_CLIENT_REQUEST_STATISTICS_ENABLE, nullptr, 0) != 0) {
        tq::logDebug("Solvane test  -- VIDYO_CLIENT_REQUEST_STATISTICS_ENABLE err");
        return;
    }
    if (VidyoClientSendRequest(VIDYO_CLIENT_REQUEST_SET_CONFIGURATION, config.get(), sizeof *config)
        != 0)
        tq::logDebug("Solvane test  -- VIDYO_CLIENT_REQUEST_SET_CONFIGURATION failed");
}

} // namespace

#define IMP TQ_WHERE(Vidyo_Agent_Imp)

Vidyo_Agent_Imp::Vidyo_Agent_Imp()
    : m_userDirectory(TQFilePathMgr::instance()->getUserHeadFilePath())
{ }

Vidyo_Agent_Imp::~Vidyo_Agent_Imp() = default;

void Vidyo_Agent_Imp::initVidyo(VidyoDataBase *record)
{
    tq::logInfo("%1", IMP);
    setRunningCall(record);
    if (!record) {
        tq::logDebug("%1 m_pVidyoDataBase is NULL!", IMP);
        return;
    }
    tq::stopAtShutDown(&stopClientAtEnd);
    const VidyoClientLogParams params = logParams();
    const bool ok = VidyoClientInitialize(eventCallback(), callbackUserData(), &params) == 1;
    if (ok)
        g_initialized.store(true);
    tq::logDebug(ok ? "Vidyo_Agent_Imp initVidyo ok" : "Vidyo_Agent_Imp initVidyo error");
    emitState(1000, ok);
}

void Vidyo_Agent_Imp::startVidyo()
{
    const CallCopy call = runningCall();
    if (!call.present) {
        tq::logDebug("%1 m_pVidyoDataBase is NULL!", "Vidyo_Agent_Imp::startVidyo");
        return;
    }
    const VidyoClientLogParams params = logParams();
    const VidyoRect rect{call.videoRect.x(), call.videoRect.y(), call.videoRect.width(),
                         call.videoRect.height()};
    static const char kEmpty[] = "";
    VidyoClientProfileParams profile{};
    for (const char *&text : profile.text)
        text = kEmpty;
    profile.portBase = kProfilePortBase;
    const bool ok = VidyoClientStart(eventCallback(), callbackUserData(), &params,
                                     call.windowHandle, &rect, nullptr, &profile, 0)
        == 1;
    emitState(1001, ok);
    tq::logDebug(ok ? "Vidyo_Agent_Imp startVidyo ok" : "Vidyo_Agent_Imp startVidyo error");
}

void Vidyo_Agent_Imp::CreatConnect()
{
    const CallCopy call = runningCall();
    if (call.present)
        configure();
    else
        tq::logDebug("%1 m_pVidyoDataBase is NULL", IMP);

    VidyoClientInEventLogIn login{};
    if (VidyoClientSendEvent(VIDYO_CLIENT_IN_EVENT_LOGIN, &login, sizeof login) != 1)
        tq::logDebug("Solvane test  -- Sending Login Event failed");

    if (!call.present)
        return;
    VidyoClientInEventRoomLink link{};
    tq::writeField(link.portalUri, call.roomLinkText1);
    tq::writeField(link.roomKey, call.roomLinkText2);
    tq::writeField(link.displayName, call.roomLinkText3);
    tq::writeField(link.pin, call.roomLinkText4);
    link.linkType = kRoomLinkType;
    if (VidyoClientSendEvent(VIDYO_CLIENT_IN_EVENT_ROOM_LINK, &link, sizeof link) != 1)
        tq::logDebug("Solvane test  -- VIDYO_CLIENT_IN_EVENT_ROOM_LINK false!");
}

void Vidyo_Agent_Imp::leaveMeeting()
{
    if (VidyoClientSendEvent(VIDYO_CLIENT_IN_EVENT_LEAVE, nullptr, 0) != 1)
        tq::logDebug("VidyoClient sample - VIDYO_CLIENT_IN_EVENT_LEAVE failed");
    emitOnAgent(&Vidyo_Agent::signal_onHangUp, 0);
}

void Vidyo_Agent_Imp::stopVidyo()
{
    // The caller may free the record once the call is stopped: nothing reads it after this.
    clearRunningCall();
    if (VidyoClientStop() == 1) {
        tq::logDebug("stop Vidyo ok");
        tq::logDebug("Vidyo_Agent_Imp::unInitVidyo");
        g_initialized.store(false);
        VidyoClientUninitialize();
    } else {
        tq::logDebug("stop Vidyo error");
    }
    emitOnAgent(&Vidyo_Agent::signal_onHangUp, 0);
}

void Vidyo_Agent_Imp::slot_SetMuteAudioIn(bool state, bool isSendImMessage)
{
    if (sendByte(VIDYO_CLIENT_IN_EVENT_MUTE_AUDIO_IN, state ? 1 : 0) != 0)
        emitOnAgent(&Vidyo_Agent::signal_onSetMuteAudioIn, state, isSendImMessage);
}

void Vidyo_Agent_Imp::slot_SetMuteAudioOut(bool state)
{
    if (sendByte(VIDYO_CLIENT_IN_EVENT_MUTE_AUDIO_OUT, state ? 0 : 1) != 0)
        emitOnAgent(&Vidyo_Agent::signal_onSetMuteAudioOut, state);
}

void Vidyo_Agent_Imp::slot_SetCamera(bool state)
{
    if (!sendPreview(state ? VIDYO_CLIENT_PREVIEW_PIP : VIDYO_CLIENT_PREVIEW_OFF))
        tq::logDebug("VIDYO_CLIENT_IN_EVENT_PREVIEW ERROR!");
    if (sendByte(VIDYO_CLIENT_IN_EVENT_MUTE_VIDEO, state ? 0 : 1) != 0)
        emitOnAgent(&Vidyo_Agent::signal_onSetCamera, state);
}

void Vidyo_Agent_Imp::slot_SetRect(QRect rect)
{
    storeRect(rect);
    VidyoClientInEventResize resize{rect.x(), rect.y(), rect.width(), rect.height()};
    if (VidyoClientSendEvent(VIDYO_CLIENT_IN_EVENT_RESIZE, &resize, sizeof resize) != 1)
        tq::logDebug("VidyoClient sample - VIDYO_CLIENT_IN_EVENT_RESIZE failed ");
}

void Vidyo_Agent_Imp::slot_StartShareScreen()
{
    // Per call, not process-wide: the client's thread shares screens too.
    auto list = std::make_unique<VidyoClientRequestShareList>();
    VidyoClientSendRequest(VIDYO_CLIENT_REQUEST_GET_SHARE_LIST, list.get(), sizeof *list);
    if (list->numApp <= 0)
        return;
    VidyoClientInEventShare share{};
    share.shareType = kShareType;
    share.window = kShareWindow;
    std::memcpy(share.windowName, list->currentName, sizeof share.windowName);
    std::memcpy(share.windowId, list->currentId, sizeof share.windowId);
    VidyoClientSendEvent(VIDYO_CLIENT_IN_EVENT_SHARE, &share, sizeof share);
}

void Vidyo_Agent_Imp::slot_StopShareScreen()
{
    if (VidyoClientSendEvent(VIDYO_CLIENT_IN_EVENT_UNSHARE, nullptr, 0) == 1)
        emitOnAgent(&Vidyo_Agent::signal_onStopShareScreen);
    else
        tq::logDebug("VidyoClient sample - VIDYO_CLIENT_IN_EVENT_UNSHARE failed ");
}

void Vidyo_Agent_Imp::slot_onDialPassword(QString text)
{
    if (text.isEmpty())
        return;
    const int ret = sendByte(VIDYO_CLIENT_IN_EVENT_DIAL, text.toUtf8().at(0));
    const bool ok = ret == 1;
    tq::logDebug(ok ? "Vidyo_Agent_Imp::slot_onDialPassword true!"
                    : "Vidyo_Agent_Imp::slot_onDialPassword false");
    emitOnAgent(&Vidyo_Agent::signal_isDialPassword, ok);
    qDebug() << "Vidyo_Agent_Imp::slot_onDialPassword" << ret;
}

void Vidyo_Agent_Imp::slot_onResetUserShowName(QString name, QString uri)
{
    VidyoClientInEventShownName record{};
    tq::writeField(record.uri, uri);
    tq::writeField(record.name, name);
    if (VidyoClientSendEvent(VIDYO_CLIENT_IN_EVENT_SET_SHOWN_NAME, &record, sizeof record) != 1)
        tq::logDebug("Vidyo_Agent_Imp::slot_onResetUserShowName false");
    qDebug() << "slot_onResetUserShowName" << name << uri;
}
