#pragma once

// Engine meeting records <-> value records. Texts are read only up to their field's width and
// written cut to width-1 bytes at a character boundary; flags the engine writes are bytes, any
// non-zero one true.

#include "MeetingRecords.h"
#include "tq_agent_global.h"

#include <ZSsdk.h>

namespace meeting {

// The record AcceptMeeting takes: every byte zeroed first, then the invitation's fields.
TQ_AGENT_EXPORT void toEngine(const Agent_MeetingComingInfo &info, ZS_MeetingInvitation &record);

TQ_AGENT_EXPORT Agent_MeetingComingInfo fromEngine(const ZS_MeetingInvitation &record);
TQ_AGENT_EXPORT Agent_MeetingInfo fromEngine(const ZS_MeetingInfo &record);
TQ_AGENT_EXPORT Agent_MeetingMemberInfo fromEngine(const ZS_MeetingMemberInfo &record);
TQ_AGENT_EXPORT Agent_MeetingDeleteMemberInfo fromEngine(const ZS_MeetingDeleteMemberInfo &record);
TQ_AGENT_EXPORT Agent_MeetingMemberSpeakListenInfo
fromEngine(const ZS_MeetingSpeakListenInfo &record);
// The member texts in the engine's order (a null entry gives a null text); a null array or a
// negative count gives none.
TQ_AGENT_EXPORT Agent_MeetingInviteInfo fromEngine(const ZS_MeetingInviteResult &record);
TQ_AGENT_EXPORT Agent_InterphoneMsg fromEngine(const ZS_InterphoneMsg &record);
TQ_AGENT_EXPORT Agent_VoiceMeetingMsg fromEngine(const ZS_VoiceMeetingMsg &record);
TQ_AGENT_EXPORT Agent_VideoMeetingMsg fromEngine(const ZS_VideoMeetingMsg &record);

} // namespace meeting
