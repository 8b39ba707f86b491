// The video-room client's events: the call's start is carried forward by them (logic started
// -> connect), some become signals of Vidyo_Agent, some trigger requests, most are only logged.
// Runs on the client's thread; every record is this call's own, and every size is checked
// before the client's data is read.

#include "VidyoEvents.h"

#include "VidyoCall.h"
#include "Vidyo_Agent.h"
#include "Vidyo_Agent_Imp.h"

#include <AgentLog.h>
#include <AgentShutdown.h>
#include <FixedField.h>

#include <QDebug>

#include <algorithm>
#include <cstring>
#include <memory>

namespace tq::vidyo {

namespace {

// Given to the client with the callback; never read.
int g_userData = 0;

template<class Signal, class... Args> void emitOnAgent(Signal signal, Args... args)
{
    if (Vidyo_Agent *agent = Vidyo_Agent::existing())
        emit(agent->*signal)(args...);
}

void emitState(int type)
{
    emitOnAgent(&Vidyo_Agent::signal_onVidyoState, type, true, QString());
}

// Events that are only logged, with their texts.
const char *logOnlyText(unsigned int event)
{
    switch (event) {
    case VIDYO_CLIENT_OUT_EVENT_SIGN_IN:
        return "VidyoClient - VIDYO_CLIENT_OUT_EVENT_SIGN_IN received";
    case VIDYO_CLIENT_OUT_EVENT_SIGN_OUT:
        return "VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_SIGN_OUT received";
    case VIDYO_CLIENT_OUT_EVENT_DEVICE_SELECTION_CHANGED:
        return "VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_DEVICE_SELECTION_CHANGED received";
    case VIDYO_CLIENT_OUT_EVENT_PREVIEW:
        return "VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_PREVIEW received ";
    case VIDYO_CLIENT_OUT_EVENT_MUTED_AUDIO_IN:
        return "VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_MUTED_AUDIO_IN received ";
    case VIDYO_CLIENT_OUT_EVENT_MUTED_AUDIO_OUT:
        return "VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_MUTED_AUDIO_OUT received ";
    case VIDYO_CLIENT_OUT_EVENT_MUTED_VIDEO:
        return "VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_MUTED_VIDEO received ";
    case VIDYO_CLIENT_OUT_EVENT_MUTED_SERVER_AUDIO_IN:
        return "VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_MUTED_SERVER_AUDIO_IN received ";
    case VIDYO_CLIENT_OUT_EVENT_MUTED_SERVER_VIDEO:
        return "VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_MUTED_SERVER_VIDEO received ";
    case VIDYO_CLIENT_OUT_EVENT_RESIZE:
        return "VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_RESIZE received";
    case VIDYO_CLIENT_OUT_EVENT_PARTICIPANTS_LIMIT:
        return "VidyoClient sample - Received VIDYO_CLIENT_OUT_EVENT_PARTICIPANTS_LIMIT";
    case VIDYO_CLIENT_OUT_EVENT_ECHO_DETECTED:
        return "VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_ECHO_DETECTED received";
    case VIDYO_CLIENT_OUT_EVENT_KEYDOWN:
        return "VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_KEYDOWN received";
    case VIDYO_CLIENT_OUT_EVENT_KEYUP:
        return "VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_KEYUP received ";
    case VIDYO_CLIENT_OUT_EVENT_MOUSE_SCROLL:
        return "VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_MOUSE_SCROLL received ";
    case VIDYO_CLIENT_OUT_EVENT_MEDIA_CONTROL:
        return "VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_MEDIA_CONTROL received ";
    case VIDYO_CLIENT_OUT_EVENT_LOGIN:
        return "VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_LOGIN received";
    case VIDYO_CLIENT_OUT_EVENT_LINKED:
        return "VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_LINKED received";
    case VIDYO_CLIENT_OUT_EVENT_CALL_STATE:
        return "VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_CALL_STATE received ";
    case VIDYO_CLIENT_OUT_EVENT_GROUP_CHAT:
        return "VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_GROUP_CHAT received ";
    case VIDYO_CLIENT_OUT_EVENT_PRIVATE_CHAT:
        return "VidyoClient sample - Received VIDYO_CLIENT_OUT_EVENT_PRIVATE_CHAT";
    default:
        return nullptr;
    }
}

void conferenceActive()
{
    emitState(1005);
    if (!sendPreview(VIDYO_CLIENT_PREVIEW_PIP))
        tq::logDebug("VIDYO_CLIENT_IN_EVENT_PREVIEW ERROR!");
    tq::logDebug("VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_CONFERENCE_ACTIVE received ");
    VidyoClientRequestVolume volume{};
    if (VidyoClientSendRequest(VIDYO_CLIENT_REQUEST_GET_VOLUME_AUDIO_OUT, &volume, sizeof volume)
        != 0)
        tq::logDebug("VidyoClient sample - VIDYO_CLIENT_REQUEST_GET_VOLUME_AUDIO_OUT failed");
    auto stats = std::make_unique<VidyoClientRequestParticipantStatisticsList>();
    if (VidyoClientSendRequest(VIDYO_CLIENT_REQUEST_GET_PARTICIPANT_STATISTICS_LIST, stats.get(),
                               sizeof *stats)
        != 0)
        tq::logDebug(
            "VidyoClient sample - VIDYO_CLIENT_REQUEST_GET_PARTICIPANT_STATISTICS_LIST failed.");
    else if (stats->numParticipants == 0)
        tq::logDebug("VidyoClient sample - Participants GET_PARTICIPANTS_STATISTICS_LIST=0 .");
}

void participantsChanged()
{
    tq::logDebug("VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_PARTICIPANTS_CHANGED received ");
    auto list = std::make_unique<VidyoClientRequestParticipants>();
    const int ret
        = VidyoClientSendRequest(VIDYO_CLIENT_REQUEST_GET_PARTICIPANTS, list.get(), sizeof *list);
    if (ret == 0) {
        // The record holds at most 24 people, whatever count the client wrote.
        const int count
            = std::clamp<int>(list->numberParticipants, 0, int(VIDYO_CLIENT_MAX_PARTICIPANTS));
        QStringList names;
        QStringList uris;
        for (int i = 0; i < count; ++i) {
            names << tq::readField(list->name[i]);
            uris << tq::readField(list->uri[i]);
        }
        emitOnAgent(&Vidyo_Agent::signal_currentAccountList, names, uris);
    }
    tq::logDebug("VidyoClientSendRequest state:%1", ret);
}

void windowSharesChanged()
{
    auto shares = std::make_unique<VidyoClientRequestWindowShares>();
    shares->requestType = 0;
    if (VidyoClientSendRequest(VIDYO_CLIENT_REQUEST_GET_WINDOW_SHARES, shares.get(), sizeof *shares)
        != 0)
        tq::logDebug("VidyoClient sample - VIDYO_CLIENT_REQUEST_GET_WINDOW_SHARES failed");
    // Unsigned: a counter at its maximum wraps instead of overflowing.
    shares->newApp = int32_t(uint32_t(shares->newApp) + 1u);
    shares->requestType = 1;
    if (VidyoClientSendRequest(VIDYO_CLIENT_REQUEST_SET_WINDOW_SHARES, shares.get(), sizeof *shares)
        == 0)
        emitOnAgent(&Vidyo_Agent::signal_onStartShareScreen);
    else
        tq::logDebug("VidyoClient sample - VIDYO_CLIENT_REQUEST_SET_WINDOW_SHARES failed ");
}

void feccListChanged()
{
    auto list = std::make_unique<VidyoClientRequestFeccList>();
    if (VidyoClientSendRequest(VIDYO_CLIENT_REQUEST_GET_FECC_LIST, list.get(), sizeof *list) != 0)
        tq::logDebug("VidyoClient sample - SendReq for VIDYO_CLIENT_REQUEST_GET_FECC_LIST failed.");
    if (list->numberCameras == 0)
        tq::logDebug("VidyoClient sample - No FECC cameras.");
}

void roomLinkResult(const void *data, unsigned int size)
{
    if (!data || size < sizeof(VidyoClientOutEventRoomLink))
        return;
    int32_t errorCode = 0;
    std::memcpy(&errorCode, data, sizeof errorCode);
    if (errorCode != 0 && errorCode != 200 && errorCode != 1000)
        emitState(1006);
    tq::logDebug("VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_ROOM_LINK received !errorCode:%1",
                 errorCode);
    if (errorCode != 0)
        emitOnAgent(&Vidyo_Agent::signal_StartVidyofaild);
}

void remoteSourceRemoved(const void *data, unsigned int size)
{
    constexpr unsigned int kText = offsetof(VidyoClientOutEventRemoteSourceRemoved, sourceName);
    if (!data || size <= kText)
        return;
    int32_t value = 0;
    std::memcpy(&value, data, sizeof value);
    const QString text = tq::readFixed(static_cast<const char *>(data) + kText, size - kText);
    emitOnAgent(&Vidyo_Agent::signal_remoteSourceRemoved, text, int(value));
}

void VIDYO_CALL VidyoCallBack(unsigned int event, void *param, unsigned int size, void *)
{
    qDebug().noquote() << "CallBack :"
                       << tq::format("%1,event=%2,eventMsg=", "Vidyo_Agent_Imp::VidyoCallBack",
                                     event);
    if (!VidyoClientIsStarted())
        return;
    switch (event) {
    case VIDYO_CLIENT_OUT_EVENT_LOGIC_STARTED:
        tq::logDebug("VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_LOGIC_STARTED received");
        if (Vidyo_Agent *agent = Vidyo_Agent::existing())
            agent->driver()->CreatConnect();
        return;
    case VIDYO_CLIENT_OUT_EVENT_CONFERENCE_ACTIVE:
        conferenceActive();
        return;
    case VIDYO_CLIENT_OUT_EVENT_CONFERENCE_ENDED:
        emitState(1006);
        tq::logDebug("VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_CONFERENCE_ENDED received ");
        return;
    case VIDYO_CLIENT_OUT_EVENT_PARTICIPANTS_CHANGED:
        participantsChanged();
        return;
    case VIDYO_CLIENT_OUT_EVENT_CONFERENCE_CLEARED:
        tq::logDebug("VIDYO_CLIENT_OUT_EVENT_CONFERENCE_CLEARED");
        qDebug() << "离开会议";
        emitOnAgent(&Vidyo_Agent::signal_LeaveMeettingSuccess);
        return;
    case VIDYO_CLIENT_OUT_EVENT_REMOTE_SOURCE_REMOVED:
        remoteSourceRemoved(param, size);
        return;
    case VIDYO_CLIENT_OUT_EVENT_WINDOW_SHARES_CHANGED:
        windowSharesChanged();
        return;
    case VIDYO_CLIENT_OUT_EVENT_SHARE_ENDED:
        emitOnAgent(&Vidyo_Agent::signal_onStopShareScreen);
        return;
    case VIDYO_CLIENT_OUT_EVENT_FECC_LIST_UPDATED:
        feccListChanged();
        return;
    case VIDYO_CLIENT_OUT_EVENT_SIGNED_IN:
        tq::logDebug("VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_SIGNED_IN received");
        emitState(1004);
        return;
    case VIDYO_CLIENT_OUT_EVENT_SIGNED_OUT:
        tq::logDebug("VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_SIGNED_OUT received");
        emitState(1004);
        return;
    case VIDYO_CLIENT_OUT_EVENT_ROOM_LINK:
        roomLinkResult(param, size);
        return;
    default:
        if (const char *text = logOnlyText(event))
            tq::logDebug(text);
        return;
    }
}

} // namespace

VidyoClientEventCallback eventCallback()
{
    return tq::gated<VidyoCallBack>;
}

void *callbackUserData()
{
    return &g_userData;
}

} // namespace tq::vidyo
