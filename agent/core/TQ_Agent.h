#pragma once

#include "tq_agent_global.h"

// Marker class of the agent library; it has no members and its operations do nothing.
class TQ_AGENT_EXPORT TQ_Agent
{
public:
    TQ_Agent();
    TQ_Agent &operator=(const TQ_Agent &);
    TQ_Agent &operator=(TQ_Agent &&);
};
