#pragma once

#include "tq_whiteboardui_export.h"

class TqBoardState;
class WhiteBoard_Agent;

// Connects a whiteboard state to the agent: its requests to the agent's public slots (run on
// the agent's thread), the agent's results to its on* slots (queued to the state's thread).
namespace TqBoardAgentLink {
TQ_WHITEBOARDUI_EXPORT void link(TqBoardState *state, WhiteBoard_Agent *agent);
}
