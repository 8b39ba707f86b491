#pragma once

#include "tq_mediaconfui_export.h"

class Meeting_Agent;
class TqInterphoneState;
class TqMeetingState;
class Voip_Agent;

// Connects the meeting objects to the agents: their requests become Meeting_Agent's request
// signals (emitted on the caller's thread, as a window does), the agents' results feed their
// slots. A member's picture size comes through Voip_Agent.
namespace TqMeetingAgentLink {
TQ_MEDIACONFUI_EXPORT void link(TqMeetingState *state, Meeting_Agent *agent, Voip_Agent *voip);
TQ_MEDIACONFUI_EXPORT void link(TqInterphoneState *state, Meeting_Agent *agent);
} // namespace TqMeetingAgentLink
