// The seeds of fuzz_vidyo: every event the stand-in video-room client sends while a call runs
// (start, connect, signed in, linked, active, participants, share, leave, cleared), each with
// the record the client answers its request with, plus short, missing and odd data by hand.
// A recording callback stands where the agent's would.

#include "VidyoEntries.h"

#include <VidyoControl.h>

#include <QString>

#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

using vidyosim::Control;

namespace {

std::function<void(const QString &, const std::string &)> g_add;

// The record the client answers an event's request with, as the agent would ask.
std::string answerFor(unsigned int event)
{
    unsigned int request = 0;
    std::size_t size = 0;
    switch (event) {
    case 1202:
        request = VIDYO_CLIENT_REQUEST_GET_PARTICIPANTS;
        size = sizeof(VidyoClientRequestParticipants);
        break;
    case 1600:
        request = VIDYO_CLIENT_REQUEST_GET_WINDOW_SHARES;
        size = sizeof(VidyoClientRequestWindowShares);
        break;
    case 2100:
        request = VIDYO_CLIENT_REQUEST_GET_FECC_LIST;
        size = sizeof(VidyoClientRequestFeccList);
        break;
    case 1200:
        request = VIDYO_CLIENT_REQUEST_GET_VOLUME_AUDIO_OUT;
        size = sizeof(VidyoClientRequestVolume);
        break;
    default:
        return std::string();
    }
    std::vector<char> record(size, '\0');
    if (VidyoClientSendRequest(request, record.data(), unsigned(size)) != 0)
        return std::string();
    return std::string(record.data(), record.size());
}

void add(unsigned int event, std::uint8_t flags, const std::string &data, const std::string &answer)
{
    g_add(QStringLiteral("event%1").arg(event), tqfuzz::vidyo::encode(event, flags, data, answer));
}

void VIDYO_CALL record(unsigned int event, void *param, unsigned int size, void *)
{
    const std::string data
        = param ? std::string(static_cast<const char *>(param), size) : std::string();
    add(event, param ? 0 : tqfuzz::vidyo::kNullData, data, answerFor(event));
}

void settle()
{
    if (!Control::waitIdle(10000))
        std::fprintf(stderr, "fuzz_seeds: the video-room client did not answer\n");
}

void call()
{
    const VidyoClientLogParams log{0, 5000000, {0, 0, 0, 0}};
    const VidyoRect rect{0, 0, 640, 360};
    static const char empty[] = "";
    const VidyoClientProfileParams profile{{empty, empty, empty, empty, empty, empty, empty},
                                           65000};
    VidyoClientInitialize(&record, nullptr, &log);
    VidyoClientStart(&record, nullptr, &log, nullptr, &rect, nullptr, &profile, 0);
    settle();
    VidyoClientInEventLogIn login{};
    VidyoClientSendEvent(VIDYO_CLIENT_IN_EVENT_LOGIN, &login, sizeof login);
    VidyoClientInEventRoomLink link{};
    std::snprintf(link.portalUri, sizeof link.portalUri, "https://rooms.example.test/join/s");
    std::snprintf(link.displayName, sizeof link.displayName, "Alice \xe7\x8e\x8b");
    link.linkType = 2;
    VidyoClientSendEvent(VIDYO_CLIENT_IN_EVENT_ROOM_LINK, &link, sizeof link);
    settle();
    Control::injectJoin({QStringLiteral("Dan Wu"), QStringLiteral("dan@vidyo.example.test")});
    settle();
    VidyoClientInEventShare share{2, 1, "Desktop", "screen-0"};
    VidyoClientSendEvent(VIDYO_CLIENT_IN_EVENT_SHARE, &share, sizeof share);
    settle();
    VidyoClientSendEvent(VIDYO_CLIENT_IN_EVENT_LEAVE, nullptr, 0);
    settle();
}

void byHand()
{
    using tqfuzz::vidyo::kNullData;
    using tqfuzz::vidyo::kRequestsFail;
    const std::size_t removed = sizeof(VidyoClientOutEventRemoteSourceRemoved);
    std::string source(removed, '\0');
    source.replace(261, 11, "camera of b");
    add(1211, 0, source, std::string());
    add(1211, 0, std::string(262, 'x'), std::string());
    add(1211, kNullData, std::string(), std::string());
    add(2305, 0, std::string("\x03\0\0\0", 4), std::string());
    add(2305, 0, std::string("\xc8", 1), std::string());
    VidyoClientRequestParticipants many{};
    many.numberParticipants = 1000;
    for (auto &name : many.name)
        std::memset(name, 'n', sizeof name);
    add(1202, 0, std::string(), std::string(reinterpret_cast<const char *>(&many), sizeof many));
    add(1202, kRequestsFail, std::string(), std::string());
    add(1600, kRequestsFail, std::string(), std::string());
    add(2100, 0, std::string(), std::string());
    add(999999, 0, std::string(16, '\xff'), std::string());
}

} // namespace

void vidyoSeeds(const std::function<void(const QString &, const std::string &)> &addSeed)
{
    g_add = addSeed;
    Control::reset();
    call();
    Control::reset();
    byHand();
    g_add = nullptr;
}
