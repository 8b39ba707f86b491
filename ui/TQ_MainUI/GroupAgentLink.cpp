#include "GroupAgentLink.h"

#include "ChatState.h"
#include "GroupState.h"

#include <IM_Agent.h>
#include <TqClientContext.h>

namespace GroupAgentLink {

void link(GroupState *groups, IM_Agent *agent)
{
    using G = GroupState;
    using A = IM_Agent;

    // Requests, emitted at once on the state's thread.
    QObject::connect(groups, &G::createRequest, groups,
                     [agent](const QString &name, int type, int scope, const QString &declared) {
                         emit agent->sig_createGroup(name, type, QString(), QString(), scope,
                                                     declared, 0, 0, QString(), false);
                     });
    QObject::connect(groups, &G::dismissRequest, groups,
                     [agent](const QString &id) { emit agent->sig_dismissGroup(id); });
    QObject::connect(groups, &G::quitRequest, groups,
                     [agent](const QString &id) { emit agent->sig_quitGroup(id); });
    QObject::connect(groups, &G::joinRequest, groups,
                     [agent](const QString &id, const QString &declared) {
                         emit agent->sig_joinGroup(id, declared);
                     });
    QObject::connect(groups, &G::replyJoinRequest, groups,
                     [agent](const QString &id, const QString &member, int confirm) {
                         emit agent->sig_replyRequestJoinGroup(id, member, confirm);
                     });
    QObject::connect(
        groups, &G::inviteRequest, groups,
        [agent](const QString &id, const QString &declared, const QStringList &members) {
            emit agent->sig_inviteJoinGroup(id, declared, members, 0);
        });
    QObject::connect(groups, &G::replyInviteRequest, groups,
                     [agent](const QString &id, const QString &invitor, int confirm) {
                         emit agent->sig_replyInviteJoinGroup(id, invitor, confirm);
                     });
    QObject::connect(groups, &G::ownGroupsQuery, groups,
                     [agent](const QString &border, int pageSize) {
                         emit agent->sig_queryOwnGroup(border, pageSize, 0);
                     });
    QObject::connect(groups, &G::membersQuery, groups,
                     [agent](const QString &id, const QString &border, int pageSize) {
                         emit agent->sig_queryGroupMember(id, border, pageSize);
                     });
    QObject::connect(groups, &G::deleteMemberRequest, groups,
                     [agent](const QString &id, const QString &member) {
                         emit agent->sig_deleteGroupMember(id, member);
                     });
    QObject::connect(groups, &G::forbidRequest, groups,
                     [agent](const QString &id, const QString &member, int isBan) {
                         emit agent->sig_forbidMemberSpeak(id, {member}, isBan, 0);
                     });
    QObject::connect(groups, &G::searchRequest, groups,
                     [agent](int searchType, const QString &keyword) {
                         emit agent->sig_searchPublicGroups(searchType, keyword);
                     });

    // Results and notices, queued to the state's thread.
    QObject::connect(agent, &A::sig_onCreateGroup, groups, &G::onCreated);
    QObject::connect(agent, &A::sig_onDismissGroup, groups, &G::onDismissed);
    QObject::connect(agent, &A::sig_onQuitGroup, groups, &G::onQuit);
    QObject::connect(agent, &A::sig_onJoinGroup, groups, &G::onJoin);
    QObject::connect(agent, &A::sig_onReplyRequestJoinGroup, groups, &G::onReplyRequest);
    QObject::connect(agent, &A::sig_onInviteJoinGroup, groups, &G::onInvited);
    QObject::connect(agent, &A::sig_onReplyInviteJoinGroup, groups, &G::onReplyInvite);
    QObject::connect(agent, &A::sig_onQueryOwnGroup, groups, &G::onOwnGroups);
    QObject::connect(agent, &A::sig_onQueryGroupMember, groups, &G::onMembers);
    QObject::connect(agent, &A::sig_onDeleteGroupMember, groups, &G::onMemberDeleted);
    QObject::connect(agent, &A::sig_onForbidMemberSpeakGroup, groups,
                     [groups](int reason, const QString &id, const QStringList &members, int isBan,
                              int) { groups->onForbidden(reason, id, members, isBan); });
    QObject::connect(agent, &A::sig_onSearchPublicGroup, groups, &G::onSearched);
    QObject::connect(agent, &A::sig_onRequestJoinGroupNtyMsg, groups, &G::onRequestJoinNotice);
    QObject::connect(agent, &A::sig_onInviteJoinGroupNtyMsg, groups, &G::onInviteNotice);
    QObject::connect(agent, &A::sig_onMemberJoinedGroupNtyMsg, groups, &G::onMemberJoinedNotice);
    QObject::connect(agent, &A::sig_onDismissGroupNtyMsg, groups, &G::onDismissNotice);
    QObject::connect(agent, &A::sig_onQuitGroupNtyMsg, groups, &G::onQuitNotice);
    QObject::connect(agent, &A::sig_onRemoveGroupMemberNtyMsg, groups, &G::onRemovedNotice);
    QObject::connect(agent, &A::sig_onReplyRequestJoinGroupNtyMsg, groups,
                     &G::onReplyRequestNotice);
    QObject::connect(agent, &A::sig_onReplyInviteJoinGroupNtyMsg, groups, &G::onReplyInviteNotice);
    QObject::connect(agent, &A::sig_onModifyGroupNtyMsg, groups, &G::onModifiedNotice);
    QObject::connect(agent, &A::sig_onChangeMemberRoleMsg, groups, &G::onRoleNotice);
    QObject::connect(agent, &A::sig_onJoinGroupNoticeInfo, groups, &G::onJoinedNotice);
    QObject::connect(agent, &A::sig_onModifyGroupMemberInfo, groups, &G::onMemberInfoNotice);
}

void link(GroupState *groups, ChatState *chat)
{
    QObject::connect(groups, &GroupState::groupKnown, chat,
                     [chat](const QString &id, const QString &name) {
                         chat->setGroupSession(id);
                         chat->setDisplayName(id, name);
                     });
    QObject::connect(groups, &GroupState::systemLine, chat, &ChatState::addSystemLine);
    QObject::connect(groups, &GroupState::nameLearned, chat,
                     [chat](const QString &user, const QString &name) {
                         // Contacts' names come from their profiles; these fill the others.
                         if (chat->displayName(user) == user)
                             chat->setDisplayName(user, name);
                     });
}

void link(GroupState *groups, TqClientContext *context)
{
    QObject::connect(context, &TqClientContext::loggedIn, groups, [groups](const QString &a) {
        groups->setAccount(a);
        groups->refresh();
    });
    QObject::connect(context, &TqClientContext::loggedOut, groups,
                     [groups] { groups->setAccount(QString()); });
    QObject::connect(context, &TqClientContext::displayNameChanged, groups,
                     &GroupState::setDisplayName);
    if (context->isLoggedIn()) {
        groups->setAccount(context->account());
        groups->refresh();
    }
}

} // namespace GroupAgentLink
