// The room-video picture: a room joined by its link, three people in it, the microphone muted.

#include "Tour.h"

#include <RoomState.h>
#include <RoomUi.h>
#include <TQ_MediaConfUI.h>
#include <TqClientContext.h>

#include <cstdio>

namespace {

using namespace tour;
using RoomPhase = TqRoomState::Phase;

void roomTour()
{
    TQ_MediaConfUI *calls = TQ_MediaConfUI::instance();
    TqRoomUi *ui = calls ? calls->rooms() : nullptr;
    if (!ui) {
        std::fprintf(stderr, "client_tour: no room video\n");
        ++g_failures;
        return;
    }
    TqRoomState *state = ui->state();
    TqClientContext::instance()->requestFeature(TqFeature::roomVideo());
    if (!window("roomWindow")) {
        ++g_failures;
        return;
    }
    type("roomWindow", "roomLinkEdit",
         QStringLiteral("https://rooms.example.test/join/design-review"));
    type("roomWindow", "shownNameEdit", QStringLiteral("Alice Wang"));
    click("roomWindow", "joinRoomButton");
    if (!waitFor([state] { return state->phase() == RoomPhase::InRoom; }, "the room"))
        return;
    waitFor([state] { return state->names().size() == 3; }, "the participants");
    click("roomWindow", "micButton");
    waitFor([state] { return state->micMuted(); }, "the muted microphone");
    shot("roomWindow", "50-room-video");
    click("roomWindow", "leaveRoomButton");
    waitFor([state] { return !state->inCall(); }, "leaving the room");
    closeWindow("roomWindow");
}

} // namespace

TQ_TOUR_STEP(50, roomTour);
