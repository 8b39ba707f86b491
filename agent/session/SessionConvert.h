#pragma once

// Engine records of the session family <-> value records.

#include "SessionRecords.h"

#include <ZSsdk.h>

namespace session {

// The login record points into `buffers`, which must outlive the engine call.
struct LoginRecord
{
    ZS_LoginInfo info{};
    char buffers[6][ZS_LOGIN_TEXT_SIZE] = {};
};
void toEngine(const Agent_LoginRequest &request, LoginRecord &record);

ZS_PersonInfo toEngine(const Agent_PersonInfo &info);
Agent_PersonInfo fromEngine(const ZS_PersonInfo &info);
Agent_PersonState fromEngine(const ZS_PersonState &state);

} // namespace session
