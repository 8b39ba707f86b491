#pragma once

// Group records to and from the engine's fixed layouts. Every text is read only up to its
// field's width; texts written are cut at a UTF-8 boundary to fit, so the fields after them
// stay intact.

#include "GroupRecords.h"
#include "tq_agent_global.h"

#include <ZSsdk.h>

namespace im {

// The record zeroed whole, then filled.
TQ_AGENT_EXPORT void toEngine(const Agent_ModifyGroupInfo &info, ZS_GroupChangeInfo &record);
TQ_AGENT_EXPORT void toEngine(const Agent_GroupMemberCard &card, ZS_GroupMemberCard &record);

TQ_AGENT_EXPORT Agent_ModifyGroupInfo fromEngine(const ZS_GroupChangeInfo &record);
TQ_AGENT_EXPORT Agent_GroupMemberCard fromEngine(const ZS_GroupMemberCard &record);

enum class Domain {
    AsSent, // a creation result: the engine's text
    Base64 // a detail query: the engine's text is Base64 of the UTF-8
};
TQ_AGENT_EXPORT Agent_GroupDetailInfo fromEngine(const ZS_GroupDetailInfo &record, Domain domain);

// Type 0 named exactly "ConfGroup" becomes type 101.
TQ_AGENT_EXPORT Agent_GroupSimpleInfo fromEngine(const ZS_GroupSimpleInfo &record);
TQ_AGENT_EXPORT Agent_GroupSearchInfo fromEngine(const ZS_GroupSearchInfo &record);
TQ_AGENT_EXPORT Agent_GroupMember fromEngine(const ZS_GroupMemberInfo &record);

// Notices, from the record the notice's pointer leads to.
TQ_AGENT_EXPORT Agent_RequestJoinGroupNtyMsg requestJoinNotice(const ZS_GroupJoinRequestNotice &r);
TQ_AGENT_EXPORT Agent_InviteJoinGroupNtyMsg inviteNotice(const ZS_GroupInviteNotice &r);
TQ_AGENT_EXPORT Agent_MemberJoinedGroupNtyMsg
memberJoinedNotice(const ZS_GroupMemberJoinedNotice &r);
TQ_AGENT_EXPORT Agent_DismissGroupNtyMsg dismissNotice(const ZS_GroupDismissNotice &r);
// Types 4 and 5.
TQ_AGENT_EXPORT Agent_QuitGroupNtyMsg memberLeftNotice(const ZS_GroupNoticeHeader &r);
TQ_AGENT_EXPORT Agent_RemoveGroupMemberNtyMsg removedNotice(const Agent_QuitGroupNtyMsg &left);
// Types 6 and 7.
TQ_AGENT_EXPORT Agent_ReplyRequestJoinGroupNtyMsg replyNotice(const ZS_GroupReplyNotice &r);
TQ_AGENT_EXPORT Agent_ReplyInviteJoinGroupNtyMsg
replyInviteNotice(const Agent_ReplyRequestJoinGroupNtyMsg &reply);
TQ_AGENT_EXPORT Agent_ModifyGroupNtyMsg modifiedNotice(const ZS_GroupNoticeHeader &r);
TQ_AGENT_EXPORT Agent_ChangeMemberRoleMsg roleNotice(const ZS_GroupRoleNotice &r);
TQ_AGENT_EXPORT Agent_ModifyGroupMemberInfo memberInfoNotice(const ZS_GroupMemberInfoNotice &r);
// The record and the memberCount entries that follow it; a negative count is none.
TQ_AGENT_EXPORT Agent_JoinGroupNoticeInfo joinedNotice(const ZS_GroupJoinNotice &r);

} // namespace im
