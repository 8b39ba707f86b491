// Groups through IM_Agent and the stand-in engine's server: a group made, filled, talked in,
// muted, left and dismissed, with the notices each step brings; joining a public group found
// by a search; requests answered by the user; own groups by page; refusals.

#include "ImTestSupport.h"

namespace {

using Notices = QList<GroupModel::Pushed>;

Notices pushedTo(const QString &account)
{
    Notices list;
    zssim::Control::withServer(
        [&](zssim::ServerModel &s) { list = s.groups.pushed.value(account); });
    return list;
}

QList<int> typesOf(const Notices &notices)
{
    QList<int> types;
    for (const GroupModel::Pushed &n : notices)
        types << n.type;
    return types;
}

QStringList accounts(const QList<Agent_GroupMember> &members)
{
    QStringList list;
    for (const Agent_GroupMember &m : members)
        list << m.member;
    return list;
}

bool settle()
{
    return drain() && zssim::Control::waitIdle() && drain();
}

} // namespace

class TestImGroupEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(startEngine()); }
    void cleanup() { resumeQueue(); }

    // Made, two people invited who accept, a group chat, one muted, one leaving, dismissed.
    void groupLifeCycle()
    {
        IM_Agent *agent = IM_Agent::instance();
        ImInbox<int, Agent_GroupDetailInfo> created(&IM_Agent::sig_onCreateGroup);
        ImInbox<int, QString, QStringList, int> invited(&IM_Agent::sig_onInviteJoinGroup);
        ImInbox<Agent_ReplyInviteJoinGroupNtyMsg> replies(
            &IM_Agent::sig_onReplyInviteJoinGroupNtyMsg);
        ImInbox<Agent_MemberJoinedGroupNtyMsg> joined(&IM_Agent::sig_onMemberJoinedGroupNtyMsg);
        ImInbox<int, QString, QList<Agent_GroupMember>> members(&IM_Agent::sig_onQueryGroupMember);
        ResultInbox sent(&IM_Agent::sig_onSendTextMessage);
        MsgInbox received(&IM_Agent::sig_onReceiveMessage);
        ImInbox<int, QString, QStringList, int, int> muted(&IM_Agent::sig_onForbidMemberSpeakGroup);
        ImInbox<Agent_QuitGroupNtyMsg> quit(&IM_Agent::sig_onQuitGroupNtyMsg);
        ImInbox<int, QString> dismissed(&IM_Agent::sig_onDismissGroup);
        ImInbox<int, QList<Agent_GroupSimpleInfo>> own(&IM_Agent::sig_onQueryOwnGroup);

        emit agent->sig_createGroup(QString::fromUtf8("发布组"), 1, "Zhejiang", "Hangzhou",
                                    GroupModel::Public, "Ship it", 0, 0, "tq.example", false);
        QTRY_COMPARE(created.count(), 1);
        QCOMPARE(created.arg<0>(0), 200);
        const Agent_GroupDetailInfo group = created.arg<1>(0);
        const QString id = group.groupId;
        QVERIFY(id.startsWith('g'));
        QCOMPARE(group.name, QString::fromUtf8("发布组"));
        QCOMPARE(group.groupDomain, QString("tq.example"));
        QCOMPARE(group.detailText3, QString("alice"));

        // Both accept: each answer, then each joining, reaches the user.
        emit agent->sig_inviteJoinGroup(id, "join us", {"bob", "carol"}, 1);
        QTRY_COMPARE(joined.count(), 2);
        QVERIFY(settle());
        QCOMPARE(invited.count(), 1);
        QCOMPARE(invited.entries[0], std::make_tuple(200, id, QStringList{"bob", "carol"}, 1));
        QCOMPARE(replies.count(), 2);
        QCOMPARE(replies.arg<0>(0).member, QString("bob"));
        QCOMPARE(replies.arg<0>(0).extraValue, 1);
        QCOMPARE(replies.arg<0>(1).member, QString("carol"));
        QCOMPARE(joined.arg<0>(0).member, QString("bob"));
        QCOMPARE(joined.arg<0>(1).member, QString("carol"));
        QCOMPARE(joined.arg<0>(1).groupId, id);
        QCOMPARE(joined.arg<0>(1).groupName, QString::fromUtf8("发布组"));
        // bob: invited, let in with the members, then carol joining; carol: invited, let in.
        QCOMPARE(typesOf(pushedTo("bob")), (QList<int>{1, 12, 2}));
        QCOMPARE(typesOf(pushedTo("carol")), (QList<int>{1, 12}));

        emit agent->sig_queryGroupMember(id, QString(), 0);
        QTRY_COMPARE(members.count(), 1);
        QCOMPARE(accounts(members.arg<2>(0)), QStringList({"alice", "bob", "carol"}));
        QCOMPARE(members.arg<2>(0).value(0).memberValue1, int(GroupModel::Owner));
        QCOMPARE(members.arg<2>(0).value(1).memberText, QString("Bob Li"));

        // A group chat: carol gets the text, bob answers in the group.
        holdQueue();
        emit agent->sig_sendTextMessage(id, "hello team", Agent_MsgType(1), QString());
        QVERIFY(tick());
        QTRY_COMPARE(received.count(), 1);
        QCOMPARE(sent.arg<0>(0), 200);
        const ChatMsgData echo = received.arg<0>(0);
        QCOMPARE(echo.sender, QString("bob"));
        QCOMPARE(echo.receiver, id);
        QCOMPARE(echo.sessionId, id);
        QCOMPARE(echo.sessionType, 1);
        QCOMPARE(echo.msgContent, QString("hello team"));
        int carolGot = 0;
        zssim::Control::withServer(
            [&](zssim::ServerModel &s) { carolGot = s.messages.inbox.value("carol").size(); });
        QCOMPARE(carolGot, 1);

        // bob muted: told to the others, and he no longer answers.
        emit agent->sig_forbidMemberSpeak(id, {"bob"}, 1, 1);
        QTRY_COMPARE(muted.count(), 1);
        QCOMPARE(muted.entries[0], std::make_tuple(200, id, QStringList{"bob"}, 1, 0));
        QVERIFY(settle());
        QCOMPARE(typesOf(pushedTo("bob")), (QList<int>{1, 12, 2, 11}));
        QCOMPARE(typesOf(pushedTo("carol")), (QList<int>{1, 12, 11}));
        QCOMPARE(pushedTo("carol").last().member, QString("bob"));
        emit agent->sig_sendTextMessage(id, "still there?", Agent_MsgType(1), QString());
        QVERIFY(tick());
        QTRY_COMPARE(sent.count(), 2);
        QVERIFY(settle());
        QCOMPARE(received.count(), 1);
        resumeQueue();

        // carol leaves.
        QVERIFY(zssim::injectMemberQuit(id, "carol"));
        QTRY_COMPARE(quit.count(), 1);
        QCOMPARE(quit.arg<0>(0).member, QString("carol"));
        QCOMPARE(quit.arg<0>(0).sender, QString("carol"));
        QCOMPARE(quit.arg<0>(0).groupId, id);

        // Dismissed: bob is told, the group is gone from the user's groups.
        emit agent->sig_dismissGroup(id);
        QTRY_COMPARE(dismissed.count(), 1);
        QCOMPARE(dismissed.entries[0], std::make_tuple(200, id));
        QVERIFY(settle());
        QCOMPARE(typesOf(pushedTo("bob")), (QList<int>{1, 12, 2, 11, 4, 3}));
        QCOMPARE(pushedTo("bob").last().sender, QString("alice"));
        QCOMPARE(typesOf(pushedTo("alice")), (QList<int>{7, 2, 7, 2, 4}));
        emit agent->sig_queryOwnGroup(QString(), 0, 0);
        QTRY_COMPARE(own.count(), 1);
        QCOMPARE(own.arg<1>(0).size(), 0);
    }

    // A public group found by its name, joined with its owner's consent: the answer, then the
    // group's members; its detail then carries the domain decoded.
    void joinAPublicGroup()
    {
        IM_Agent *agent = IM_Agent::instance();
        ImInbox<int, int, QString, QList<Agent_GroupSearchInfo>> found(
            &IM_Agent::sig_onSearchPublicGroup);
        ImInbox<int, QString> joinedResult(&IM_Agent::sig_onJoinGroup);
        ImInbox<Agent_ReplyRequestJoinGroupNtyMsg> reply(
            &IM_Agent::sig_onReplyRequestJoinGroupNtyMsg);
        ImInbox<Agent_JoinGroupNoticeInfo> joined(&IM_Agent::sig_onJoinGroupNoticeInfo);
        ImInbox<int, Agent_GroupDetailInfo> detail(&IM_Agent::sig_onQueryGroupDetail);
        zssim::Control::withServer([](zssim::ServerModel &s) {
            s.groups.find("group-900")->domain = QString::fromUtf8("设计.example");
        });

        emit agent->sig_searchPublicGroups(GroupModel::ByName, "DESIGN");
        QTRY_COMPARE(found.count(), 1);
        QCOMPARE(found.arg<3>(0).size(), 1);
        const Agent_GroupSearchInfo club = found.arg<3>(0).value(0);
        QCOMPARE(club.groupId, QString("group-900"));
        QCOMPARE(club.searchText3, QString("bob"));
        QCOMPARE(club.searchValue1, 2);
        QCOMPARE(club.searchFlag, false);

        emit agent->sig_queryGroupDetail(club.groupId); // not a member yet
        emit agent->sig_joinGroup(club.groupId, "I like design");
        QTRY_COMPARE(joined.count(), 1);
        QCOMPARE(joinedResult.entries[0], std::make_tuple(200, club.groupId));
        QCOMPARE(reply.arg<0>(0).sender, QString("bob"));
        QCOMPARE(reply.arg<0>(0).member, QString("alice"));
        QCOMPARE(reply.arg<0>(0).extraValue, 1);
        const Agent_JoinGroupNoticeInfo in = joined.arg<0>(0);
        QCOMPARE(in.memberCount, 3);
        QCOMPARE(accounts(in.memberList), QStringList({"bob", "carol", "alice"}));
        QCOMPARE(in.memberList.value(2).memberText, QString("Alice Wang"));
        QCOMPARE(typesOf(pushedTo("bob")), (QList<int>{0, 2}));
        QCOMPARE(typesOf(pushedTo("carol")), (QList<int>{2}));

        emit agent->sig_queryGroupDetail(club.groupId);
        QTRY_COMPARE(detail.count(), 2);
        QCOMPARE(detail.arg<0>(0), int(ZS_REASON_FORBIDDEN));
        QCOMPARE(detail.arg<0>(1), 200);
        QCOMPARE(detail.arg<1>(1).groupDomain, QString::fromUtf8("设计.example"));
        QCOMPARE(detail.arg<1>(1).detailValue2, 3);
    }

    // Someone asks to join a group of the user's; the user lets them in.
    void answerAJoinRequest()
    {
        IM_Agent *agent = IM_Agent::instance();
        ImInbox<int, Agent_GroupDetailInfo> created(&IM_Agent::sig_onCreateGroup);
        ImInbox<Agent_RequestJoinGroupNtyMsg> requests(&IM_Agent::sig_onRequestJoinGroupNtyMsg);
        ImInbox<int, QString, QString, int> answered(&IM_Agent::sig_onReplyRequestJoinGroup);
        ImInbox<int, QString, QString, int> answeredTwice(&IM_Agent::sig_onReplyRequestJoinGroup);
        emit agent->sig_createGroup("Ops", 0, "", "", 0, "", 0, 0, "", false);
        QTRY_COMPARE(created.count(), 1);
        const QString id = created.arg<1>(0).groupId;

        QVERIFY(zssim::injectJoinRequest(id, "carol", "on call this week"));
        QTRY_COMPARE(requests.count(), 1);
        QCOMPARE(requests.arg<0>(0).member, QString("carol"));
        QCOMPARE(requests.arg<0>(0).extraText1, QString("on call this week"));
        QCOMPARE(requests.arg<0>(0).groupName, QString("Ops"));

        emit agent->sig_replyRequestJoinGroup(id, "carol", 1);
        emit agent->sig_replyRequestJoinGroup(id, "carol", 1); // answered already
        QTRY_COMPARE(answered.count(), 2);
        QCOMPARE(answered.entries[0], std::make_tuple(200, id, QString("carol"), 1));
        QCOMPARE(answered.arg<0>(1), int(ZS_REASON_NOT_FOUND));
        QVERIFY(settle());
        QCOMPARE(typesOf(pushedTo("carol")), (QList<int>{6, 12}));
        QCOMPARE(typesOf(pushedTo("alice")), (QList<int>{0}));
    }

    // bob invites the user into his group, removes carol from it, then dismisses it.
    void invitedRemovedDismissed()
    {
        IM_Agent *agent = IM_Agent::instance();
        ImInbox<Agent_InviteJoinGroupNtyMsg> invitations(&IM_Agent::sig_onInviteJoinGroupNtyMsg);
        ImInbox<int, QString, QString, int> answered(&IM_Agent::sig_onReplyInviteJoinGroup);
        ImInbox<Agent_JoinGroupNoticeInfo> joined(&IM_Agent::sig_onJoinGroupNoticeInfo);
        ImInbox<Agent_RemoveGroupMemberNtyMsg> removed(&IM_Agent::sig_onRemoveGroupMemberNtyMsg);
        ImInbox<Agent_DismissGroupNtyMsg> dismissed(&IM_Agent::sig_onDismissGroupNtyMsg);
        ResultInbox sent(&IM_Agent::sig_onSendTextMessage);

        QVERIFY(zssim::injectGroupInvitation("group-900", "bob"));
        QTRY_COMPARE(invitations.count(), 1);
        const Agent_InviteJoinGroupNtyMsg invitation = invitations.arg<0>(0);
        QCOMPARE(invitation.noticeType, 1);
        QCOMPARE(invitation.sender, QString("bob"));
        QCOMPARE(invitation.member, QString("alice"));
        QCOMPARE(invitation.groupName, QString("Design Club"));

        emit agent->sig_replyInviteJoinGroup(invitation.groupId, invitation.sender, 1);
        QTRY_COMPARE(joined.count(), 1);
        QCOMPARE(answered.entries[0],
                 std::make_tuple(200, QString("group-900"), QString("bob"), 1));
        QCOMPARE(accounts(joined.arg<0>(0).memberList), QStringList({"bob", "carol", "alice"}));
        QVERIFY(settle());
        QCOMPARE(typesOf(pushedTo("bob")), (QList<int>{7, 2}));
        QCOMPARE(typesOf(pushedTo("carol")), (QList<int>{2}));

        QVERIFY(zssim::injectMemberRemoved("group-900", "bob", "carol"));
        QTRY_COMPARE(removed.count(), 1);
        QCOMPARE(removed.arg<0>(0).sender, QString("bob"));
        QCOMPARE(removed.arg<0>(0).member, QString("carol"));
        QVERIFY(!zssim::injectMemberRemoved("group-900", "bob", "carol")); // gone already

        QVERIFY(zssim::injectGroupDismissed("group-900"));
        QTRY_COMPARE(dismissed.count(), 1);
        QCOMPARE(dismissed.arg<0>(0).sender, QString("bob"));
        QCOMPARE(dismissed.arg<0>(0).groupId, QString("group-900"));
        emit agent->sig_sendTextMessage("group-900", "anyone?", Agent_MsgType(1), QString());
        QTRY_COMPARE(sent.count(), 1);
        QCOMPARE(sent.arg<0>(0), int(ZS_REASON_NOT_FOUND));
    }

    // The user's groups by page, after a border group, in the order made.
    void ownGroupsByPage()
    {
        IM_Agent *agent = IM_Agent::instance();
        ImInbox<int, Agent_GroupDetailInfo> created(&IM_Agent::sig_onCreateGroup);
        ImInbox<int, QList<Agent_GroupSimpleInfo>> own(&IM_Agent::sig_onQueryOwnGroup);
        for (const char *name : {"One", "Two", "ConfGroup"})
            emit agent->sig_createGroup(name, 0, "", "", 0, "", 0, 0, "", false);
        QTRY_COMPARE(created.count(), 3);
        emit agent->sig_queryOwnGroup(QString(), 2, 0);
        emit agent->sig_queryOwnGroup(created.arg<1>(1).groupId, 2, 0);
        QTRY_COMPARE(own.count(), 2);
        const auto first = own.arg<1>(0);
        QCOMPARE(first.size(), 2);
        QCOMPARE(first[0].name, QString("One"));
        QCOMPARE(first[1].name, QString("Two"));
        QCOMPARE(first[0].simpleValue2, int(GroupModel::Owner));
        const auto second = own.arg<1>(1);
        QCOMPARE(second.size(), 1);
        QCOMPARE(second[0].name, QString("ConfGroup"));
        QCOMPARE(second[0].type, 101);

        // The first one dismissed, the others stay.
        ImInbox<int, QString> dismissed(&IM_Agent::sig_onDismissGroup);
        emit agent->sig_dismissGroup(first[0].groupId);
        emit agent->sig_queryOwnGroup(QString(), 0, 0);
        QTRY_COMPARE(own.count(), 3);
        QCOMPARE(dismissed.arg<0>(0), 200);
        QCOMPARE(own.arg<1>(2).size(), 2);
        QCOMPARE(own.arg<1>(2).value(0).name, QString("Two"));
    }

    // Refusals: a missing group 404; a non-member, or a member who may not, 403.
    void refusals()
    {
        IM_Agent *agent = IM_Agent::instance();
        ImInbox<int, QString> dismissed(&IM_Agent::sig_onDismissGroup);
        ImInbox<int, QString> quit(&IM_Agent::sig_onQuitGroup);
        ImInbox<int, QString, QString> removed(&IM_Agent::sig_onDeleteGroupMember);
        ImInbox<int> role(&IM_Agent::sig_onSetGroupMemberRole);
        ResultInbox sent(&IM_Agent::sig_onSendTextMessage);
        emit agent->sig_dismissGroup("group-404");
        emit agent->sig_dismissGroup("group-900"); // bob's
        emit agent->sig_quitGroup("group-900");
        emit agent->sig_deleteGroupMember("group-900", "carol");
        emit agent->sig_setGroupMemberRole("group-900", {"carol"}, 1);
        emit agent->sig_sendTextMessage("group-900", "hi", Agent_MsgType(1), QString());
        emit agent->sig_sendTextMessage("group-404", "hi", Agent_MsgType(1), QString());
        QTRY_COMPARE(sent.count(), 2);
        QVERIFY(settle());
        QCOMPARE(dismissed.arg<0>(0), int(ZS_REASON_NOT_FOUND));
        QCOMPARE(dismissed.arg<0>(1), int(ZS_REASON_FORBIDDEN));
        QCOMPARE(quit.arg<0>(0), int(ZS_REASON_FORBIDDEN));
        QCOMPARE(removed.arg<0>(0), int(ZS_REASON_FORBIDDEN));
        QCOMPARE(role.arg<0>(0), int(ZS_REASON_FORBIDDEN));
        QCOMPARE(sent.arg<0>(0), int(ZS_REASON_FORBIDDEN));
        QCOMPARE(sent.arg<0>(1), int(ZS_REASON_NOT_FOUND));
        QVERIFY(pushedTo("bob").isEmpty());
    }
};

QObject *newTestImGroupEndToEnd()
{
    return new TestImGroupEndToEnd;
}

#include "tst_im_groups_endtoend.moc"
