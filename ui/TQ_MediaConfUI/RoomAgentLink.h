#pragma once

class TqRoomState;
class Vidyo_Agent;

// Connects the room state's requests to Vidyo_Agent's request signals and the agent's result
// signals to the state (queued where they come from other threads).
namespace TqRoomAgentLink {
void link(TqRoomState *state, Vidyo_Agent *agent);
}
