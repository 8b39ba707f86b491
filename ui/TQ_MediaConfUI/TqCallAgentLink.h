#pragma once

#include "tq_mediaconfui_export.h"

class TqCallState;
class TqMediaDevices;
class Voip_Agent;

// Connects the call objects to the agent: their requests become the agent's request signals
// (emitted on the caller's thread, as a window does), the agent's results feed their slots.
namespace TqCallAgentLink {
TQ_MEDIACONFUI_EXPORT void link(TqCallState *state, Voip_Agent *agent);
TQ_MEDIACONFUI_EXPORT void link(TqMediaDevices *devices, Voip_Agent *agent);
} // namespace TqCallAgentLink
