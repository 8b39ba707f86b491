#pragma once

// The library's defined end. Engine callbacks pass a gate; once the library is closing the
// gate is shut and every callback returns at once, touching nothing but the gate. Then the
// worker thread stops and the engine is uninitialised (its threads joined) while everything a
// callback touches is still alive; only after that do statics go.

#include "tq_agent_global.h"

#include <ZSsdk.h>

#include <type_traits>

namespace tq {

// Held by a callback while it runs; entered() is false once the gate is shut.
class TQ_AGENT_EXPORT CallbackScope
{
public:
    CallbackScope();
    ~CallbackScope();
    CallbackScope(const CallbackScope &) = delete;
    CallbackScope &operator=(const CallbackScope &) = delete;

    bool entered() const { return m_entered; }

private:
    bool m_entered;
};

namespace detail {
template<auto Fn> struct Gate;
template<class R, class... Args, R(ZS_CALL *Fn)(Args...)> struct Gate<Fn>
{
    static R ZS_CALL call(Args... args)
    {
        const CallbackScope scope;
        if (!scope.entered()) {
            if constexpr (std::is_void_v<R>)
                return;
            else
                return R{};
        }
        return Fn(args...);
    }
};
} // namespace detail

// The entry a callback table holds for a callback: the callback behind the gate.
//     t.onLogOut = tq::gated<callback_onLogOut>;
template<auto Fn> constexpr auto gated = &detail::Gate<Fn>::call;

// Shuts the gate and waits (bounded) until callbacks running on other threads have left it.
// A callback that shuts the gate itself is not waited for.
TQ_AGENT_EXPORT void closeCallbacks();
// Opens the gate again before the engine starts again; after shutDown() it stays shut.
TQ_AGENT_EXPORT void openCallbacks();
TQ_AGENT_EXPORT bool callbacksOpen();

// The end, once: the gate shuts for good, the worker thread stops (bounded wait) and the
// engine is uninitialised. Runs when the application is about to quit or is destroyed, and at
// process exit at the latest.
TQ_AGENT_EXPORT void shutDown();
TQ_AGENT_EXPORT bool isShutDown();
// Has shutDown() also stop another outside library (the whiteboard library, say): `stop`
// runs after the worker thread has stopped, before the engine is uninitialised. Registering
// the same function again changes nothing.
TQ_AGENT_EXPORT void stopAtShutDown(void (*stop)());
// Makes sure shutDown() runs at the application's end and at exit. Called as agents come to
// life; it hooks each new application object once.
TQ_AGENT_EXPORT void armShutDown();

} // namespace tq
