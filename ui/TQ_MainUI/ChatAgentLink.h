#pragma once

#include "tq_mainui_export.h"

class ChatState;
class IM_Agent;
class TqClientContext;

// Binds the chat to the messaging agent: its requests become the agent's request signals,
// the agent's results (queued from the agent's and the engine's threads) reach its slots.
namespace ChatAgentLink {
TQ_MAINUI_EXPORT void link(ChatState *chat, IM_Agent *agent);
// Follows the session (account, logout) and the names the windows learn.
TQ_MAINUI_EXPORT void link(ChatState *chat, TqClientContext *context);
} // namespace ChatAgentLink
