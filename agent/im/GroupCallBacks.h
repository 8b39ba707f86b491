#pragma once

// The group entries of the message table (IM_GroupCallBacks.cpp), listed with the others in
// IM_CallBackProxy::registerCallbacks.

#include <ZSsdk.h>

namespace im::group {

void ZS_CALL callback_onCreateGroup(unsigned int matchKey, int reason,
                                    const ZS_GroupDetailInfo *info);
void ZS_CALL callback_onDismissGroup(unsigned int matchKey, int reason, const char *groupid);
void ZS_CALL callback_onQuitGroup(unsigned int matchKey, int reason, const char *groupid);
void ZS_CALL callback_onJoinGroup(unsigned int matchKey, int reason, const char *groupid);
void ZS_CALL callback_onReplyRequestJoinGroup(unsigned int matchKey, int reason,
                                              const char *groupid, const char *member, int confirm);
void ZS_CALL callback_onInviteJoinGroup(unsigned int matchKey, int reason, const char *groupid,
                                        const char *const *members, int count, int confirm);
void ZS_CALL callback_onReplyInviteJoinGroup(unsigned int matchKey, int reason, const char *groupid,
                                             const char *member, int confirm);
void ZS_CALL callback_onQueryOwnGroup(unsigned int matchKey, int reason, int count,
                                      const ZS_GroupSimpleInfo *groups);
void ZS_CALL callback_onQueryGroupDetail(unsigned int matchKey, int reason,
                                         const ZS_GroupDetailInfo *info);
void ZS_CALL callback_onModifyGroup(unsigned int matchKey, int reason,
                                    const ZS_GroupChangeInfo *info);
void ZS_CALL callback_onSearchPublicGroup(unsigned int matchKey, int reason, int searchType,
                                          const char *keyword, int count,
                                          const ZS_GroupSearchInfo *groups);
void ZS_CALL callback_onSearchPublicGroupPaging(unsigned int matchKey, int reason, int searchType,
                                                const char *keyword, int count,
                                                const ZS_GroupSearchInfo *groups, int pageNo);
void ZS_CALL callback_onQueryGroupMember(unsigned int matchKey, int reason, const char *groupid,
                                         int count, const ZS_GroupMemberInfo *members);
void ZS_CALL callback_onDeleteGroupMember(unsigned int matchKey, int reason, const char *groupid,
                                          const char *member);
void ZS_CALL callback_onQueryGroupMemberCard(unsigned int matchKey, int reason,
                                             const ZS_GroupMemberCard *card);
void ZS_CALL callback_onModifyGroupMemberCard(unsigned int matchKey, int reason,
                                              const ZS_GroupMemberCard *card);
void ZS_CALL callback_onForbidMemberSpeakGroup(unsigned int matchKey, int reason,
                                               const char *groupid, const char *member, int isBan);
void ZS_CALL callback_onSetGroupMessageRule(unsigned int matchKey, int reason, const char *groupid,
                                            ZS_Bool8 notice);
void ZS_CALL callback_onReceiveGroupNoticeMessage(const ZS_GroupNotice *notice);
void ZS_CALL callback_onSetGroupMemberRole(unsigned int matchKey, int reason);

} // namespace im::group
