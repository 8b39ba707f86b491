#pragma once

// The simulated server's people: who may log in, their profiles, and (with TQ_SIM_LIVELY=1)
// contacts that change presence by themselves while someone is logged in.

namespace zssim {

// Starts the contacts' own life if $TQ_SIM_LIVELY is 1 and it is not running yet.
void startContactLife();
// Stops it and waits for its thread; safe to call when it is not running.
void stopContactLife();

} // namespace zssim
