#pragma once

#include "tq_mainui_export.h"

class ChatState;
class GroupState;
class IM_Agent;
class TqClientContext;

// Binds the groups to the messaging agent (requests out, results and notices in, queued to the
// state's thread), to the chat (group conversations, their names and system lines) and to the
// session (account, logout, names).
namespace GroupAgentLink {
TQ_MAINUI_EXPORT void link(GroupState *groups, IM_Agent *agent);
TQ_MAINUI_EXPORT void link(GroupState *groups, ChatState *chat);
TQ_MAINUI_EXPORT void link(GroupState *groups, TqClientContext *context);
} // namespace GroupAgentLink
