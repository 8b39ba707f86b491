#pragma once

// The video-room client's one event callback, and where the agents hand it over.

#include <VidyoClient.h>

namespace tq::vidyo {

// The callback as handed to the client: behind the library's callback gate.
VidyoClientEventCallback eventCallback();
// The user data passed with it; the callback never reads it.
void *callbackUserData();

} // namespace tq::vidyo
