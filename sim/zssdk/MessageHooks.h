#pragma once

// Where the other parts of the stand-in engine hand over to the messaging model (api_im.cpp).

#include "Engine.h"

namespace zssim {

// At a successful login, after the connection state: the messages kept for `user` while
// offline, answered as their count, the messages one by one, and the end of the batch.
void answerOfflineMessages(Request &call, const QString &user);

} // namespace zssim
