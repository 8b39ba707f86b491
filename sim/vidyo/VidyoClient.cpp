// The stand-in video-room client's C functions: each journals its call, changes the client's
// room and, while driving, answers with events on the client's thread.

#include "Client.h"

#include <algorithm>
#include <cstring>

using namespace vidyosim;

namespace {

using Lock = std::lock_guard<std::mutex>;

Client &client()
{
    return Client::get();
}

QByteArray bytesOf(const void *data, unsigned int size)
{
    return data ? QByteArray(static_cast<const char *>(data), int(size)) : QByteArray();
}

// A field's text up to its NUL, never past the field.
template<std::size_t N> QByteArray fieldText(const char (&field)[N])
{
    return QByteArray(field, int(qstrnlen(field, N)));
}

template<std::size_t N> void putText(char (&field)[N], const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    std::memset(field, 0, N);
    // Cut at a character boundary, as a real client keeps its fields valid UTF-8.
    std::size_t n = std::min<std::size_t>(std::size_t(utf8.size()), N - 1);
    while (n > 0 && n < std::size_t(utf8.size()) && (uchar(utf8.at(int(n))) & 0xC0) == 0x80)
        --n;
    std::memcpy(field, utf8.constData(), n);
}

// The people in the conference as the client lists them: itself first.
QList<Participant> participantsLocked(const Client &c)
{
    QList<Participant> list;
    if (!c.state.inConference)
        return list;
    const QString self
        = c.state.shownName.isEmpty() ? QString::fromUtf8(c.state.displayName) : c.state.shownName;
    list << Participant{self, QStringLiteral("self@vidyo.example.test")};
    list << c.state.others;
    return list;
}

template<class Record> Record *recordOf(void *param, unsigned int size)
{
    return (param && size == sizeof(Record)) ? static_cast<Record *>(param) : nullptr;
}

int answerRequest(unsigned int request, void *param, unsigned int size)
{
    Client &c = client();
    Lock lock(c.mutex);
    switch (request) {
    case VIDYO_CLIENT_REQUEST_STATISTICS_ENABLE:
        return VIDYO_CLIENT_ERROR_OK;
    case VIDYO_CLIENT_REQUEST_GET_CONFIGURATION:
        if (auto *r = recordOf<VidyoClientRequestConfiguration>(param, size)) {
            if (c.configuration.empty())
                c.configuration.assign(sizeof(r->field) / 4, 0);
            std::memcpy(r->field, c.configuration.data(), sizeof(r->field));
            return VIDYO_CLIENT_ERROR_OK;
        }
        break;
    case VIDYO_CLIENT_REQUEST_SET_CONFIGURATION:
        if (auto *r = recordOf<VidyoClientRequestConfiguration>(param, size)) {
            c.configuration.assign(r->field, r->field + sizeof(r->field) / 4);
            return VIDYO_CLIENT_ERROR_OK;
        }
        break;
    case VIDYO_CLIENT_REQUEST_GET_VOLUME_AUDIO_OUT:
        if (auto *r = recordOf<VidyoClientRequestVolume>(param, size)) {
            r->volume = c.state.speakerMuted ? 0 : 80;
            return VIDYO_CLIENT_ERROR_OK;
        }
        break;
    case VIDYO_CLIENT_REQUEST_GET_WINDOW_SHARES:
        if (auto *r = recordOf<VidyoClientRequestWindowShares>(param, size)) {
            r->newApp = c.selectedShare;
            return VIDYO_CLIENT_ERROR_OK;
        }
        break;
    case VIDYO_CLIENT_REQUEST_SET_WINDOW_SHARES:
        if (auto *r = recordOf<VidyoClientRequestWindowShares>(param, size)) {
            c.selectedShare = r->newApp;
            return VIDYO_CLIENT_ERROR_OK;
        }
        break;
    case VIDYO_CLIENT_REQUEST_GET_PARTICIPANTS:
        if (auto *r = recordOf<VidyoClientRequestParticipants>(param, size)) {
            const QList<Participant> list = participantsLocked(c);
            const int n = std::min(int(list.size()), int(VIDYO_CLIENT_MAX_PARTICIPANTS));
            for (int i = 0; i < n; ++i) {
                putText(r->name[i], list.at(i).name);
                putText(r->uri[i], list.at(i).uri);
            }
            r->numberParticipants = n;
            return VIDYO_CLIENT_ERROR_OK;
        }
        break;
    case VIDYO_CLIENT_REQUEST_GET_FECC_LIST:
        if (auto *r = recordOf<VidyoClientRequestFeccList>(param, size)) {
            r->numberCameras = 0;
            return VIDYO_CLIENT_ERROR_OK;
        }
        break;
    case VIDYO_CLIENT_REQUEST_GET_PARTICIPANT_STATISTICS_LIST:
        if (auto *r = recordOf<VidyoClientRequestParticipantStatisticsList>(param, size)) {
            r->numParticipants = int32_t(participantsLocked(c).size());
            return VIDYO_CLIENT_ERROR_OK;
        }
        break;
    case VIDYO_CLIENT_REQUEST_GET_SHARE_LIST:
        if (auto *r = recordOf<VidyoClientRequestShareList>(param, size)) {
            r->numApp = 2; // the desktop and one window
            putText(r->currentName, QStringLiteral("Desktop"));
            putText(r->currentId, QStringLiteral("screen-0"));
            return VIDYO_CLIENT_ERROR_OK;
        }
        break;
    default:
        return VIDYO_CLIENT_ERROR_UNKNOWN;
    }
    return VIDYO_CLIENT_ERROR_BAD_RECORD;
}

// What an in-event does; returns 1 when the client took it.
VidyoBool takeEvent(unsigned int event, void *param, unsigned int size)
{
    Client &c = client();
    std::vector<unsigned int> answers; // events to report, in order
    QByteArray linkResult;
    VidyoBool ok = 1;
    {
        Lock lock(c.mutex);
        RoomState &s = c.state;
        const bool byte = param && size >= 1;
        const bool on = byte && *static_cast<const unsigned char *>(param) != 0;
        switch (event) {
        case VIDYO_CLIENT_IN_EVENT_LEAVE:
            if (!s.inConference)
                return 0;
            s.inConference = false;
            s.sharing = false;
            s.others.clear();
            answers = {VIDYO_CLIENT_OUT_EVENT_CONFERENCE_ENDED,
                       VIDYO_CLIENT_OUT_EVENT_CONFERENCE_CLEARED};
            break;
        case VIDYO_CLIENT_IN_EVENT_PREVIEW:
            if (auto *r = recordOf<VidyoClientInEventPreview>(param, size))
                s.previewMode = r->previewMode;
            else
                return 0;
            answers = {VIDYO_CLIENT_OUT_EVENT_PREVIEW};
            break;
        case VIDYO_CLIENT_IN_EVENT_MUTE_AUDIO_IN:
            if (!byte)
                return 0;
            s.micMuted = on;
            answers = {VIDYO_CLIENT_OUT_EVENT_MUTED_AUDIO_IN};
            break;
        case VIDYO_CLIENT_IN_EVENT_MUTE_AUDIO_OUT:
            if (!byte)
                return 0;
            s.speakerMuted = on;
            answers = {VIDYO_CLIENT_OUT_EVENT_MUTED_AUDIO_OUT};
            break;
        case VIDYO_CLIENT_IN_EVENT_MUTE_VIDEO:
            if (!byte)
                return 0;
            s.cameraOff = on;
            answers = {VIDYO_CLIENT_OUT_EVENT_MUTED_VIDEO};
            break;
        case VIDYO_CLIENT_IN_EVENT_SHARE:
            if (auto *r = recordOf<VidyoClientInEventShare>(param, size)) {
                if (!s.inConference)
                    return 0;
                s.sharing = true;
                s.sharedWindow = fieldText(r->windowName);
                answers = {VIDYO_CLIENT_OUT_EVENT_WINDOW_SHARES_CHANGED};
            } else {
                return 0;
            }
            break;
        case VIDYO_CLIENT_IN_EVENT_UNSHARE:
            if (!s.sharing)
                return 0;
            s.sharing = false;
            s.sharedWindow.clear();
            break;
        case VIDYO_CLIENT_IN_EVENT_RESIZE:
            if (auto *r = recordOf<VidyoClientInEventResize>(param, size))
                s.rect = QRect(r->xPos, r->yPos, r->width, r->height);
            else
                return 0;
            break;
        case VIDYO_CLIENT_IN_EVENT_DIAL:
            if (!byte || !s.inConference)
                return 0;
            s.dialed.append(*static_cast<const char *>(param));
            break;
        case VIDYO_CLIENT_IN_EVENT_LOGIN:
            if (!recordOf<VidyoClientInEventLogIn>(param, size))
                return 0;
            answers = {VIDYO_CLIENT_OUT_EVENT_SIGN_IN, VIDYO_CLIENT_OUT_EVENT_LOGIN};
            break;
        case VIDYO_CLIENT_IN_EVENT_ROOM_LINK:
            if (auto *r = recordOf<VidyoClientInEventRoomLink>(param, size)) {
                s.portalUri = fieldText(r->portalUri);
                s.roomKey = fieldText(r->roomKey);
                s.displayName = fieldText(r->displayName);
                s.pin = fieldText(r->pin);
                s.shownName.clear(); // a new call shows the link's name
                VidyoClientOutEventRoomLink result{int32_t(c.roomLinkError)};
                linkResult = QByteArray(reinterpret_cast<const char *>(&result), sizeof result);
                answers = {VIDYO_CLIENT_OUT_EVENT_SIGNED_IN, VIDYO_CLIENT_OUT_EVENT_LINKED,
                           VIDYO_CLIENT_OUT_EVENT_ROOM_LINK};
                if (c.roomLinkError == 0) {
                    s.inConference = true;
                    s.others = c.room;
                    answers.push_back(VIDYO_CLIENT_OUT_EVENT_CONFERENCE_ACTIVE);
                    answers.push_back(VIDYO_CLIENT_OUT_EVENT_PARTICIPANTS_CHANGED);
                }
            } else {
                return 0;
            }
            break;
        case VIDYO_CLIENT_IN_EVENT_SET_SHOWN_NAME:
            if (auto *r = recordOf<VidyoClientInEventShownName>(param, size))
                s.shownName = QString::fromUtf8(fieldText(r->name));
            else
                return 0;
            if (s.inConference)
                answers = {VIDYO_CLIENT_OUT_EVENT_PARTICIPANTS_CHANGED};
            break;
        default:
            return 0;
        }
        if (!c.driving)
            answers.clear();
    }
    for (unsigned int answer : answers) {
        if (answer == VIDYO_CLIENT_OUT_EVENT_ROOM_LINK)
            postEvent(answer, linkResult, false);
        else
            postEvent(answer);
    }
    repaintWindow();
    return ok;
}

} // namespace

extern "C" {

VidyoBool VIDYO_CALL VidyoClientInitialize(VidyoClientEventCallback callback, void *userData,
                                           const VidyoClientLogParams *logParams)
{
    CallRecord r{QStringLiteral("VidyoClientInitialize"), 0, QByteArray(), false, 0, {}};
    r.args << (callback != nullptr) << (logParams ? logParams->logSize : -1);
    Client &c = client();
    int code = 1;
    bool scripted = false;
    {
        Lock lock(c.mutex);
        scripted = c.scriptedLocked(r.function, &code);
        if (!scripted) {
            code = callback && !c.state.initialized ? 1 : 0;
            if (code == 1) {
                c.state.initialized = true;
                c.state.logSize = logParams ? logParams->logSize : 0;
            }
        }
    }
    if (!scripted && code == 1) {
        c.callback.store(callback);
        c.userData.store(userData);
        c.dispatcher.start();
    }
    c.journalCall(r);
    return code;
}

VidyoBool VIDYO_CALL VidyoClientStart(VidyoClientEventCallback callback, void *userData,
                                      const VidyoClientLogParams *logParams, void *windowHandle,
                                      const VidyoRect *videoRect, void *,
                                      const VidyoClientProfileParams *profile, VidyoBool)
{
    CallRecord r{QStringLiteral("VidyoClientStart"), 0, QByteArray(), false, 0, {}};
    const QRect rect = videoRect
        ? QRect(videoRect->xPos, videoRect->yPos, videoRect->width, videoRect->height)
        : QRect();
    bool emptyTexts = profile != nullptr;
    for (int i = 0; profile && i < 7; ++i)
        emptyTexts = emptyTexts && profile->text[i] && profile->text[i][0] == '\0';
    r.args << (callback != nullptr) << (logParams ? logParams->logSize : -1)
           << QVariant::fromValue<qulonglong>(reinterpret_cast<quintptr>(windowHandle)) << rect
           << (profile ? profile->portBase : -1) << emptyTexts;
    Client &c = client();
    int code = 1;
    bool drive = false;
    {
        Lock lock(c.mutex);
        if (!c.scriptedLocked(r.function, &code)) {
            code = (c.state.initialized && !c.state.started && callback) ? 1 : 0;
            if (code == 1) {
                c.state.started = true;
                c.state.window = windowHandle;
                c.state.rect = rect;
                c.state.profilePortBase = profile ? profile->portBase : 0;
                if (callback)
                    c.callback.store(callback);
                c.userData.store(userData);
                drive = c.driving;
            }
        }
    }
    c.journalCall(r);
    if (drive)
        postEvent(VIDYO_CLIENT_OUT_EVENT_LOGIC_STARTED);
    repaintWindow();
    return code;
}

VidyoBool VIDYO_CALL VidyoClientStop(void)
{
    CallRecord r{QStringLiteral("VidyoClientStop"), 0, QByteArray(), false, 0, {}};
    Client &c = client();
    int code = 1;
    {
        Lock lock(c.mutex);
        if (!c.scriptedLocked(r.function, &code)) {
            code = c.state.started ? 1 : 0;
            c.state.started = false;
            c.state.inConference = false;
            c.state.sharing = false;
            c.state.others.clear();
            c.state.window = nullptr;
        }
    }
    c.journalCall(r);
    repaintWindow();
    return code;
}

void VIDYO_CALL VidyoClientUninitialize(void)
{
    Client &c = client();
    c.callback.store(nullptr);
    c.dispatcher.stop(); // no callback runs once this returns
    {
        Lock lock(c.mutex);
        c.state.initialized = false;
        c.state.started = false;
        c.state.inConference = false;
        c.state.window = nullptr;
    }
    c.journalCall(
        CallRecord{QStringLiteral("VidyoClientUninitialize"), 0, QByteArray(), false, 0, {}});
}

VidyoBool VIDYO_CALL VidyoClientIsStarted(void)
{
    Client &c = client();
    Lock lock(c.mutex);
    return c.state.started ? 1 : 0;
}

VidyoBool VIDYO_CALL VidyoClientSendEvent(unsigned int event, void *param, unsigned int size)
{
    Client &c = client();
    CallRecord r{QStringLiteral("VidyoClientSendEvent"),
                 event,
                 bytesOf(param, size),
                 param != nullptr,
                 size,
                 {}};
    int code = 0;
    bool scripted = false;
    bool started = false;
    {
        Lock lock(c.mutex);
        scripted = c.scriptedLocked(QStringLiteral("event:%1").arg(event), &code);
        started = c.state.started;
    }
    if (!scripted)
        code = started ? takeEvent(event, param, size) : 0;
    c.journalCall(r);
    return code;
}

int VIDYO_CALL VidyoClientSendRequest(unsigned int request, void *param, unsigned int size)
{
    Client &c = client();
    CallRecord r{QStringLiteral("VidyoClientSendRequest"),
                 request,
                 bytesOf(param, size),
                 param != nullptr,
                 size,
                 {}};
    int code = 0;
    bool scripted = false;
    bool started = false;
    Control::Filler filler;
    {
        Lock lock(c.mutex);
        scripted = c.scriptedLocked(QStringLiteral("request:%1").arg(request), &code);
        started = c.state.started;
        filler = c.fillers.value(request);
    }
    if (!scripted) {
        if (!started)
            code = VIDYO_CLIENT_ERROR_NOT_STARTED;
        else if (filler)
            code = filler(param, size);
        else
            code = answerRequest(request, param, size);
    }
    c.journalCall(r);
    return code;
}

} // extern "C"
