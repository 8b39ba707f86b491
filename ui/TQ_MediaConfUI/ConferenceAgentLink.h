#pragma once

#include "tq_mediaconfui_export.h"

class Conference_Agent;
class TqConfDirectory;
class TqConfRoom;

// Connects the conference objects to the agent: their requests become the agent's request
// signals (emitted on the caller's thread), the agent's results feed their slots.
namespace TqConfAgentLink {
TQ_MEDIACONFUI_EXPORT void link(TqConfDirectory *directory, Conference_Agent *agent);
TQ_MEDIACONFUI_EXPORT void link(TqConfRoom *room, Conference_Agent *agent);
} // namespace TqConfAgentLink
