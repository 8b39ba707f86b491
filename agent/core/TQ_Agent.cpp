#include "TQ_Agent.h"

TQ_Agent::TQ_Agent() = default;

TQ_Agent &TQ_Agent::operator=(const TQ_Agent &)
{
    return *this;
}

TQ_Agent &TQ_Agent::operator=(TQ_Agent &&)
{
    return *this;
}
