// Groups between users of the XMPP engine, each in a process of its own: invitations accepted
// and refused, requests to join, muting, leaving and dismissal with the notices the others
// receive; the own groups across logins; what the server refuses and bad input.

#include "XmppTest.h"
#include "ZSsdk.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

#include <memory>

namespace {

const QString kNotice = QStringLiteral("onReceiveGroupNoticeMessage");

// A notice of that type in the group (about `member`, when given).
PeerProcess::Match notice(int type, const QString &groupId, const QString &member = QString())
{
    return [=](const QJsonObject &e) {
        return num(e, "type") == type && str(e, "groupId") == groupId
            && (member.isEmpty() || str(e, "member") == member);
    };
}

const QString kReceived = QStringLiteral("onReceiveMessage");
const QString kOffline = QStringLiteral("onReceiveOfflineMessage");
const QString kOfflineDone = QStringLiteral("onOfflineMessageComplete");

// How many times the message reached the user, live or kept for them.
int timesReceived(PeerProcess &p, const QString &msgId)
{
    int n = 0;
    for (const QString &event : {kReceived, kOffline})
        for (const QJsonObject &e : p.seen(event))
            n += str(e, "msgId") == msgId ? 1 : 0;
    return n;
}

QStringList idsOf(const QJsonObject &answer)
{
    QStringList ids;
    for (const QJsonValue &g : answer.value(QStringLiteral("groups")).toArray())
        ids << g.toObject().value(QStringLiteral("groupId")).toString();
    return ids;
}

// The member entry of `name` in a member query's answer, or empty.
QJsonObject memberIn(const QJsonObject &answer, const QString &name)
{
    for (const QJsonValue &m : answer.value(QStringLiteral("members")).toArray())
        if (m.toObject().value(QStringLiteral("member")).toString() == name)
            return m.toObject();
    return {};
}

} // namespace

class TestXmppGroups : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void invitedMembersAcceptRefuseAreMutedAndQuit();
    void groupsSurviveLoginAndDismissalReachesMembers();
    void requestToJoinReachesOwnerAndAcceptanceAdmits();
    void invitationWaitsForAnOfflineInvitee();
    void onlyOwnersAndModeratorsAct();
    void badInputIsRefusedOrCut();
    void roomsAreEnteredAgainAfterTheServerReturns();
    void groupMessagesReachEveryMemberButNotFromTheMuted();
    void missedGroupMessagesArriveOnceAtTheNextLogin();
    void acceptedGroupMessagesSurviveTheServerGoingDown();
    void memberCardsAreTheMembersOwn();

private:
    std::unique_ptr<PeerProcess> peer(const QString &user);
    // Runs the command and waits for its answer (the event `answer` with the command's key).
    QJsonObject ask(PeerProcess &p, const QString &command, const QStringList &args,
                    const QString &answer);
    // alice's new group; its id, or empty.
    QString create(PeerProcess &owner, const QString &name, const QString &scope = "0");
    // owner invites `who`, who accepts; true when both sides saw it.
    bool admit(PeerProcess &owner, PeerProcess &who, const QString &groupId);
};

void TestXmppGroups::initTestCase()
{
    QVERIFY2(XmppServer::port() > 0, "TQ_XMPP_PORT is set by CTest");
    QVERIFY(XmppServer::ensureStarted());
}

void TestXmppGroups::cleanup()
{
    // A failed restart must not leave the other classes without a server.
    QVERIFY(XmppServer::ensureStarted());
}

std::unique_ptr<PeerProcess> TestXmppGroups::peer(const QString &user)
{
    auto p = std::make_unique<PeerProcess>(user);
    if (!p->start({QStringLiteral("TQ_XMPP_RECONNECT_MS=100")}) || !p->loginOk(user))
        return nullptr;
    return p;
}

QJsonObject TestXmppGroups::ask(PeerProcess &p, const QString &command, const QStringList &args,
                                const QString &answer)
{
    const QJsonObject ret = p.command(command, args);
    if (num(ret, "ret") != 0)
        return {};
    return p.waitEvent(answer, keyed(ret));
}

QString TestXmppGroups::create(PeerProcess &owner, const QString &name, const QString &scope)
{
    const QJsonObject made
        = ask(owner, QStringLiteral("gcreate"), {name, scope, QStringLiteral("Declared ") + name},
              QStringLiteral("onCreateGroup"));
    return num(made, "reason") == 200 ? str(made, "groupId") : QString();
}

bool TestXmppGroups::admit(PeerProcess &owner, PeerProcess &who, const QString &groupId)
{
    const QJsonObject invited
        = ask(owner, QStringLiteral("ginvite"),
              {groupId, QStringLiteral("come"), QStringLiteral("0"), who.name()},
              QStringLiteral("onInviteJoinGroup"));
    if (num(invited, "reason") != 200
        || who.waitEvent(kNotice, notice(ZS_GROUP_NOTICE_INVITE, groupId)).isEmpty())
        return false;
    const QJsonObject accepted
        = ask(who, QStringLiteral("greplyinv"), {groupId, owner.name(), QStringLiteral("1")},
              QStringLiteral("onReplyInviteJoinGroup"));
    return num(accepted, "reason") == 200
        && !who.waitEvent(kNotice, notice(ZS_GROUP_NOTICE_JOINED, groupId, who.name())).isEmpty()
        && !owner.waitEvent(kNotice, notice(ZS_GROUP_NOTICE_MEMBER_JOINED, groupId, who.name()))
                .isEmpty();
}

void TestXmppGroups::invitedMembersAcceptRefuseAreMutedAndQuit()
{
    const auto alice = peer(QStringLiteral("alice"));
    const auto bob = peer(QStringLiteral("bob"));
    const auto carol = peer(QStringLiteral("carol"));
    QVERIFY(alice && bob && carol);

    const QString name = QStringLiteral("设计组 Design");
    const QJsonObject made
        = ask(*alice, QStringLiteral("gcreate"),
              {name, QStringLiteral("0"), QStringLiteral("We draw"), QStringLiteral("3"),
               QStringLiteral("浙江"), QStringLiteral("杭州"), QStringLiteral("2"),
               QStringLiteral("example.org")},
              QStringLiteral("onCreateGroup"));
    QCOMPARE(num(made, "reason"), 200);
    const QString id = str(made, "groupId");
    QVERIFY2(id.startsWith(QLatin1Char('g')) && id.size() == 11, qPrintable(id));
    QCOMPARE(str(made, "name"), name);
    QCOMPARE(str(made, "owner"), QStringLiteral("alice"));
    QCOMPARE(str(made, "city"), QStringLiteral("杭州"));
    QCOMPARE(num(made, "type"), 3);
    QCOMPARE(num(made, "permission"), 2);

    // One invitation to both; each sees who invites, to which group, and why.
    const QJsonObject invited = ask(*alice, QStringLiteral("ginvite"),
                                    {id, QStringLiteral("join us"), QStringLiteral("0"),
                                     QStringLiteral("bob"), QStringLiteral("carol")},
                                    QStringLiteral("onInviteJoinGroup"));
    QCOMPARE(num(invited, "reason"), 200);
    QCOMPARE(invited.value(QStringLiteral("members")).toArray().size(), 2);
    for (PeerProcess *p : {bob.get(), carol.get()}) {
        const QJsonObject n = p->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_INVITE, id));
        QCOMPARE(str(n, "sender"), QStringLiteral("alice"));
        QCOMPARE(str(n, "member"), p->name());
        QCOMPARE(str(n, "groupName"), name);
        QCOMPARE(str(n, "extraText1"), QStringLiteral("join us"));
        // The plain text the server adds for other clients is not shown as a message.
        QVERIFY2(p->seen(QStringLiteral("onReceiveMessage")).isEmpty(),
                 p->seen(QStringLiteral("onReceiveMessage")).isEmpty()
                     ? ""
                     : QJsonDocument(p->seen(QStringLiteral("onReceiveMessage")).first())
                           .toJson()
                           .constData());
    }

    // bob accepts: he gets the members, alice the answer and the join.
    QCOMPARE(num(ask(*bob, QStringLiteral("greplyinv"), {id, QStringLiteral("alice"), "1"},
                     QStringLiteral("onReplyInviteJoinGroup")),
                 "reason"),
             200);
    const QJsonObject joined = bob->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_JOINED, id, "bob"));
    QVERIFY(joined.value(QStringLiteral("members")).toArray().contains(QStringLiteral("alice")));
    QCOMPARE(num(alice->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_REPLY_INVITE, id, "bob")),
                 "extraValue"),
             1);
    QVERIFY(!alice->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_MEMBER_JOINED, id, "bob")).isEmpty());

    // carol refuses: alice sees the refusal, and carol does not stay a member.
    QCOMPARE(num(ask(*carol, QStringLiteral("greplyinv"), {id, QStringLiteral("alice"), "0"},
                     QStringLiteral("onReplyInviteJoinGroup")),
                 "reason"),
             200);
    QCOMPARE(num(alice->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_REPLY_INVITE, id, "carol")),
                 "extraValue"),
             0);
    QJsonObject members = ask(*alice, QStringLiteral("gmembers"), {id, QString(), "0"},
                              QStringLiteral("onQueryGroupMember"));
    QCOMPARE(num(members, "reason"), 200);
    QCOMPARE(num(memberIn(members, QStringLiteral("alice")), "role"), 2);
    QCOMPARE(num(memberIn(members, QStringLiteral("bob")), "role"), 0);
    QVERIFY(memberIn(members, QStringLiteral("carol")).isEmpty());

    // bob muted: everyone in the room sees it, bob included; the member list shows it.
    QCOMPARE(num(ask(*alice, QStringLiteral("gforbid"), {id, QStringLiteral("bob"), "1"},
                     QStringLiteral("onForbidMemberSpeakGroup")),
                 "reason"),
             200);
    for (PeerProcess *p : {alice.get(), bob.get()}) {
        const QJsonObject n = p->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_MEMBER_INFO, id, "bob"));
        QCOMPARE(str(n, "modifyDic"), QStringLiteral("{\"isBan\":1}"));
        QCOMPARE(str(n, "sender"), QStringLiteral("alice"));
    }
    members = ask(*alice, QStringLiteral("gmembers"), {id, QString(), "0"},
                  QStringLiteral("onQueryGroupMember"));
    QCOMPARE(num(memberIn(members, QStringLiteral("bob")), "muted"), 1);
    QCOMPARE(num(ask(*alice, QStringLiteral("gforbid"), {id, QStringLiteral("bob"), "0"},
                     QStringLiteral("onForbidMemberSpeakGroup")),
                 "reason"),
             200);
    QCOMPARE(
        str(bob->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_MEMBER_INFO, id, "bob")), "modifyDic"),
        QStringLiteral("{\"isBan\":0}"));

    // bob leaves: alice sees a quit (not a removal), bob's groups no longer hold it.
    QCOMPARE(num(ask(*bob, QStringLiteral("gquit"), {id}, QStringLiteral("onQuitGroup")), "reason"),
             200);
    const QJsonObject quit = alice->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_QUIT, id, "bob"));
    QCOMPARE(str(quit, "sender"), QStringLiteral("bob"));
    QVERIFY(!idsOf(ask(*bob, QStringLiteral("gown"), {QString(), "0"},
                       QStringLiteral("onQueryOwnGroup")))
                 .contains(id));
    members = ask(*alice, QStringLiteral("gmembers"), {id, QString(), "0"},
                  QStringLiteral("onQueryGroupMember"));
    QVERIFY(memberIn(members, QStringLiteral("bob")).isEmpty());

    QCOMPARE(num(ask(*alice, QStringLiteral("gdismiss"), {id}, QStringLiteral("onDismissGroup")),
                 "reason"),
             200);
    // Nobody saw a removal, and alice no notice of her own quit or dismissal.
    QVERIFY(!alice->seen(kNotice).isEmpty());
    for (const QJsonObject &n : alice->seen(kNotice))
        QVERIFY2(num(n, "type") != ZS_GROUP_NOTICE_REMOVED
                     && num(n, "type") != ZS_GROUP_NOTICE_DISMISSED,
                 qPrintable(str(n, "member")));
    for (const QJsonObject &n : bob->seen(kNotice))
        QVERIFY(num(n, "type") != ZS_GROUP_NOTICE_REMOVED
                && num(n, "type") != ZS_GROUP_NOTICE_QUIT);
}

void TestXmppGroups::groupsSurviveLoginAndDismissalReachesMembers()
{
    const auto alice = peer(QStringLiteral("alice"));
    auto bob = peer(QStringLiteral("bob"));
    const auto carol = peer(QStringLiteral("carol"));
    QVERIFY(alice && bob && carol);
    const QString first = create(*alice, QStringLiteral("First"));
    const QString second = create(*alice, QStringLiteral("Second"));
    QVERIFY(!first.isEmpty() && !second.isEmpty());
    QVERIFY(admit(*alice, *bob, first));
    QVERIFY(admit(*alice, *carol, first));

    // Paging: the page after a group starts with the group after it.
    const QStringList all = idsOf(
        ask(*alice, QStringLiteral("gown"), {QString(), "0"}, QStringLiteral("onQueryOwnGroup")));
    QVERIFY(all.contains(first) && all.contains(second));
    const QStringList page = idsOf(
        ask(*alice, QStringLiteral("gown"), {all.first(), "1"}, QStringLiteral("onQueryOwnGroup")));
    QCOMPARE(page, QStringList{all.at(1)});

    // bob's own rule for the group's messages, kept with his groups; none for a group not his.
    QCOMPARE(num(ask(*bob, QStringLiteral("grule"), {first, "0"},
                     QStringLiteral("onSetGroupMessageRule")),
                 "reason"),
             200);
    QCOMPARE(num(ask(*bob, QStringLiteral("grule"), {second, "0"},
                     QStringLiteral("onSetGroupMessageRule")),
                 "reason"),
             404);

    // bob again, in a new process: his groups come from the server, and he is back in the room.
    bob.reset();
    bob = peer(QStringLiteral("bob"));
    QVERIFY(bob);
    QVERIFY(
        !alice->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_MEMBER_JOINED, first, "bob")).isEmpty());
    const QJsonObject own
        = ask(*bob, QStringLiteral("gown"), {QString(), "0"}, QStringLiteral("onQueryOwnGroup"));
    QVERIFY(idsOf(own).contains(first));
    QVERIFY(!idsOf(own).contains(second));
    for (const QJsonValue &g : own.value(QStringLiteral("groups")).toArray())
        if (str(g.toObject(), "groupId") == first) {
            QCOMPARE(num(g.toObject(), "rule"), 0);
            QCOMPARE(str(g.toObject(), "name"), QStringLiteral("First"));
            QCOMPARE(str(g.toObject(), "owner"), QStringLiteral("alice"));
        }

    // The detail anyone in it asks for: the settings, the owner, the members.
    const QJsonObject detail
        = ask(*bob, QStringLiteral("gdetail"), {first}, QStringLiteral("onQueryGroupDetail"));
    QCOMPARE(num(detail, "reason"), 200);
    QCOMPARE(str(detail, "name"), QStringLiteral("First"));
    QCOMPARE(str(detail, "declared"), QStringLiteral("Declared First"));
    QCOMPARE(str(detail, "owner"), QStringLiteral("alice"));
    QCOMPARE(num(detail, "members"), 3);

    for (const QString &id : {first, second})
        QCOMPARE(
            num(ask(*alice, QStringLiteral("gdismiss"), {id}, QStringLiteral("onDismissGroup")),
                "reason"),
            200);
    for (PeerProcess *p : {bob.get(), carol.get()}) {
        const QJsonObject n = p->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_DISMISSED, first));
        QCOMPARE(str(n, "sender"), QStringLiteral("alice"));
        QCOMPARE(str(n, "groupName"), QStringLiteral("First"));
        QVERIFY(!idsOf(ask(*p, QStringLiteral("gown"), {QString(), "0"},
                           QStringLiteral("onQueryOwnGroup")))
                     .contains(first));
    }
    const QStringList left = idsOf(
        ask(*alice, QStringLiteral("gown"), {QString(), "0"}, QStringLiteral("onQueryOwnGroup")));
    QVERIFY(!left.contains(first) && !left.contains(second));
}

void TestXmppGroups::requestToJoinReachesOwnerAndAcceptanceAdmits()
{
    const auto bob = peer(QStringLiteral("bob"));
    const auto carol = peer(QStringLiteral("carol"));
    QVERIFY(bob && carol);
    const QString id = create(*bob, QStringLiteral("Open house"), QStringLiteral("1"));
    QVERIFY(!id.isEmpty());
    const QString hidden = create(*bob, QStringLiteral("Open secret"));
    QVERIFY(!hidden.isEmpty());

    // Found by a piece of its name in any case, or by its id; a private group never.
    QJsonObject found = ask(*carol, QStringLiteral("gsearch"), {"0", QStringLiteral("OPEN")},
                            QStringLiteral("onSearchPublicGroup"));
    QCOMPARE(num(found, "reason"), 200);
    QVERIFY(idsOf(found).contains(id));
    QVERIFY(!idsOf(found).contains(hidden));
    found = ask(*carol, QStringLiteral("gsearch"), {"1", id, "1", "10"},
                QStringLiteral("onSearchPublicGroupPaging"));
    QCOMPARE(idsOf(found), QStringList{id});
    QCOMPARE(num(found, "pageNo"), 1);
    QCOMPARE(num(found.value(QStringLiteral("groups")).toArray().at(0).toObject(), "member"), 0);
    QVERIFY(idsOf(ask(*carol, QStringLiteral("gsearch"), {"1", id, "2", "10"},
                      QStringLiteral("onSearchPublicGroupPaging")))
                .isEmpty());
    QCOMPARE(num(ask(*bob, QStringLiteral("gdismiss"), {hidden}, QStringLiteral("onDismissGroup")),
                 "reason"),
             200);

    QCOMPARE(num(ask(*carol, QStringLiteral("gjoin"), {id, QStringLiteral("me too")},
                     QStringLiteral("onJoinGroup")),
                 "reason"),
             200);
    const QJsonObject request = bob->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_REQUEST_JOIN, id));
    QCOMPARE(str(request, "member"), QStringLiteral("carol"));
    QCOMPARE(str(request, "extraText1"), QStringLiteral("me too"));
    QCOMPARE(str(request, "groupName"), QStringLiteral("Open house"));

    // Only a request that was made is answered.
    QCOMPARE(num(ask(*bob, QStringLiteral("greplyreq"), {id, QStringLiteral("alice"), "1"},
                     QStringLiteral("onReplyRequestJoinGroup")),
                 "reason"),
             404);
    QCOMPARE(num(ask(*bob, QStringLiteral("greplyreq"), {id, QStringLiteral("carol"), "1"},
                     QStringLiteral("onReplyRequestJoinGroup")),
                 "reason"),
             200);
    QCOMPARE(num(carol->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_REPLY_REQUEST, id, "carol")),
                 "extraValue"),
             1);
    const QJsonArray everyone
        = carol->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_JOINED, id, "carol"))
              .value(QStringLiteral("members"))
              .toArray();
    QVERIFY(everyone.contains(QStringLiteral("bob")) && everyone.contains(QStringLiteral("carol")));
    QVERIFY(!bob->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_MEMBER_JOINED, id, "carol")).isEmpty());
    QVERIFY(idsOf(ask(*carol, QStringLiteral("gown"), {QString(), "0"},
                      QStringLiteral("onQueryOwnGroup")))
                .contains(id));

    // A change of the settings: the members hear of it and read the new ones; a member may
    // not change them.
    const QJsonObject changed
        = ask(*bob, QStringLiteral("gmodify"),
              {id, QStringLiteral("Open house 2"), "1", QStringLiteral("Come in")},
              QStringLiteral("onModifyGroup"));
    QCOMPARE(num(changed, "reason"), 200);
    QCOMPARE(str(changed, "name"), QStringLiteral("Open house 2"));
    QCOMPARE(str(carol->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_MODIFIED, id)), "groupName"),
             QStringLiteral("Open house 2"));
    const QJsonObject detail
        = ask(*carol, QStringLiteral("gdetail"), {id}, QStringLiteral("onQueryGroupDetail"));
    QCOMPARE(str(detail, "declared"), QStringLiteral("Come in"));
    QCOMPARE(str(detail, "owner"), QStringLiteral("bob"));
    QCOMPARE(num(ask(*carol, QStringLiteral("gmodify"), {id, QStringLiteral("Mine"), "1"},
                     QStringLiteral("onModifyGroup")),
                 "reason"),
             403);
    // bob's own change is no news to bob.
    for (const QJsonObject &n : bob->seen(kNotice))
        QVERIFY(num(n, "type") != ZS_GROUP_NOTICE_MODIFIED);

    // Roles: carol made an admin, everyone in the room sees it.
    QCOMPARE(num(ask(*bob, QStringLiteral("grole"), {id, QStringLiteral("carol"), "1"},
                     QStringLiteral("onSetGroupMemberRole")),
                 "reason"),
             200);
    QCOMPARE(
        num(carol->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_ROLE, id, "carol")), "extraValue"), 1);
    // Removed by the owner: carol sees a removal by bob, and the group is gone for her.
    QCOMPARE(num(ask(*bob, QStringLiteral("gdelete"), {id, QStringLiteral("carol")},
                     QStringLiteral("onDeleteGroupMember")),
                 "reason"),
             200);
    const QJsonObject removed
        = carol->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_REMOVED, id, "carol"));
    QCOMPARE(str(removed, "sender"), QStringLiteral("bob"));
    QCOMPARE(str(bob->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_REMOVED, id, "carol")), "sender"),
             QStringLiteral("bob"));
    QVERIFY(!idsOf(ask(*carol, QStringLiteral("gown"), {QString(), "0"},
                       QStringLiteral("onQueryOwnGroup")))
                 .contains(id));
    QCOMPARE(num(ask(*bob, QStringLiteral("gdismiss"), {id}, QStringLiteral("onDismissGroup")),
                 "reason"),
             200);
}

void TestXmppGroups::invitationWaitsForAnOfflineInvitee()
{
    const auto alice = peer(QStringLiteral("alice"));
    QVERIFY(alice);
    const QString id = create(*alice, QStringLiteral("Later"));
    QVERIFY(!id.isEmpty());
    QCOMPARE(num(ask(*alice, QStringLiteral("ginvite"),
                     {id, QStringLiteral("when you are back"), "0", QStringLiteral("carol")},
                     QStringLiteral("onInviteJoinGroup")),
                 "reason"),
             200);
    // Answered after the server has passed the invitation on (one stream, in order).
    QCOMPARE(num(ask(*alice, QStringLiteral("gmembers"), {id, QString(), "0"},
                     QStringLiteral("onQueryGroupMember")),
                 "reason"),
             200);

    const auto carol = peer(QStringLiteral("carol"));
    QVERIFY(carol);
    const QJsonObject n = carol->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_INVITE, id));
    QCOMPARE(str(n, "sender"), QStringLiteral("alice"));
    QCOMPARE(str(n, "extraText1"), QStringLiteral("when you are back"));
    QCOMPARE(num(ask(*carol, QStringLiteral("greplyinv"), {id, QString(), "1"},
                     QStringLiteral("onReplyInviteJoinGroup")),
                 "reason"),
             200);
    QVERIFY(
        !alice->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_MEMBER_JOINED, id, "carol")).isEmpty());
    QCOMPARE(num(ask(*alice, QStringLiteral("gdismiss"), {id}, QStringLiteral("onDismissGroup")),
                 "reason"),
             200);
    QVERIFY(!carol->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_DISMISSED, id)).isEmpty());
    // The invitation's text for clients without groups is not a message to the caller.
    for (const char *event : {"onReceiveMessage", "onReceiveOfflineMessage"})
        for (const QJsonObject &m : carol->seen(QLatin1String(event)))
            QVERIFY2(!str(m, "sender").contains(QLatin1String("conference")),
                     qPrintable(str(m, "msgContent")));
}

void TestXmppGroups::onlyOwnersAndModeratorsAct()
{
    const auto alice = peer(QStringLiteral("alice"));
    const auto bob = peer(QStringLiteral("bob"));
    const auto carol = peer(QStringLiteral("carol"));
    QVERIFY(alice && bob && carol);
    const QString id = create(*alice, QStringLiteral("Rights"));
    QVERIFY(!id.isEmpty());
    QVERIFY(admit(*alice, *bob, id));

    // Not a member, a member, the owner who would leave her own group: refused.
    QCOMPARE(num(ask(*carol, QStringLiteral("gdismiss"), {id}, QStringLiteral("onDismissGroup")),
                 "reason"),
             403);
    QCOMPARE(num(ask(*bob, QStringLiteral("gdismiss"), {id}, QStringLiteral("onDismissGroup")),
                 "reason"),
             403);
    QCOMPARE(
        num(ask(*alice, QStringLiteral("gquit"), {id}, QStringLiteral("onQuitGroup")), "reason"),
        403);
    QCOMPARE(num(ask(*bob, QStringLiteral("gforbid"), {id, QStringLiteral("alice"), "1"},
                     QStringLiteral("onForbidMemberSpeakGroup")),
                 "reason"),
             403);
    QCOMPARE(num(ask(*bob, QStringLiteral("gdelete"), {id, QStringLiteral("alice")},
                     QStringLiteral("onDeleteGroupMember")),
                 "reason"),
             403);
    // Accepting an invitation never made does not let carol in.
    QCOMPARE(num(ask(*carol, QStringLiteral("greplyinv"), {id, QStringLiteral("alice"), "1"},
                     QStringLiteral("onReplyInviteJoinGroup")),
                 "reason"),
             403);
    // Unknown groups: not a group id, and a group that does not exist.
    QCOMPARE(num(ask(*alice, QStringLiteral("gdetail"), {QStringLiteral("x123")},
                     QStringLiteral("onQueryGroupDetail")),
                 "reason"),
             404);
    QCOMPARE(num(ask(*alice, QStringLiteral("gdetail"), {QStringLiteral("g0000000000")},
                     QStringLiteral("onQueryGroupDetail")),
                 "reason"),
             404);
    QCOMPARE(num(ask(*alice, QStringLiteral("gdismiss"), {QStringLiteral("g0000000000")},
                     QStringLiteral("onDismissGroup")),
                 "reason"),
             404);
    // Voice belongs to someone in the room; carol never came in.
    QCOMPARE(num(ask(*alice, QStringLiteral("gforbid"), {id, QStringLiteral("carol"), "1"},
                     QStringLiteral("onForbidMemberSpeakGroup")),
                 "reason"),
             404);
    QCOMPARE(num(ask(*alice, QStringLiteral("gdismiss"), {id}, QStringLiteral("onDismissGroup")),
                 "reason"),
             200);
    QVERIFY(!bob->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_DISMISSED, id)).isEmpty());
}

void TestXmppGroups::badInputIsRefusedOrCut()
{
    const auto alice = peer(QStringLiteral("alice"));
    QVERIFY(alice);
    QCOMPARE(
        num(ask(*alice, QStringLiteral("gcreate"), {QString()}, QStringLiteral("onCreateGroup")),
            "reason"),
        400);
    // A name longer than the record's field comes back cut at a character: 42 of the 60
    // three-byte characters fill 126 of the 128 bytes.
    const QString longName(60, QChar(0x7EC4));
    const QJsonObject made
        = ask(*alice, QStringLiteral("gcreate"), {longName}, QStringLiteral("onCreateGroup"));
    QCOMPARE(num(made, "reason"), 200);
    QCOMPARE(str(made, "name"), longName.left(42));
    const QString id = str(made, "groupId");
    // No members: a null list with its count.
    QCOMPARE(num(ask(*alice, QStringLiteral("ginvite"), {id, QStringLiteral("x"), "0"},
                     QStringLiteral("onInviteJoinGroup")),
                 "reason"),
             400);
    // No record, and a record without a name.
    QCOMPARE(num(alice->command(QStringLiteral("gmodify"), {QStringLiteral("null")}), "ret"),
             int(ZS_ERR_INVALID_ARGUMENT));
    QCOMPARE(num(ask(*alice, QStringLiteral("gmodify"), {id, QString(), "0"},
                     QStringLiteral("onModifyGroup")),
                 "reason"),
             400);
    // A role that does not exist.
    QCOMPARE(num(ask(*alice, QStringLiteral("grole"), {id, QStringLiteral("bob"), "7"},
                     QStringLiteral("onSetGroupMemberRole")),
                 "reason"),
             400);
    // Texts that XML cannot carry are dropped, not sent to close the stream.
    const QJsonObject odd = ask(*alice, QStringLiteral("gcreate"),
                                {QStringLiteral("a\x01"
                                                "b\x1b"
                                                "c")},
                                QStringLiteral("onCreateGroup"));
    QCOMPARE(num(odd, "reason"), 200);
    const QJsonObject detail = ask(*alice, QStringLiteral("gdetail"), {str(odd, "groupId")},
                                   QStringLiteral("onQueryGroupDetail"));
    QCOMPARE(str(detail, "name"), QStringLiteral("abc"));
    for (const QString &g : {id, str(odd, "groupId")})
        QCOMPARE(num(ask(*alice, QStringLiteral("gdismiss"), {g}, QStringLiteral("onDismissGroup")),
                     "reason"),
                 200);
}

void TestXmppGroups::roomsAreEnteredAgainAfterTheServerReturns()
{
    const auto alice = peer(QStringLiteral("alice"));
    auto bob = peer(QStringLiteral("bob"));
    QVERIFY(alice && bob);
    const QString id = create(*alice, QStringLiteral("Through a restart"));
    QVERIFY(!id.isEmpty());
    QVERIFY(admit(*alice, *bob, id));
    bob.reset();

    QVERIFY(XmppServer::stop());
    QVERIFY(XmppServer::start());
    // The login's connected state was taken by the login: this is the new stream's.
    QVERIFY(
        !alice
             ->waitEvent(QStringLiteral("onConnectState"),
                         [](const QJsonObject &e) { return num(e, "code") == ZS_STATE_CONNECTED; })
             .isEmpty());
    // Her groups are answered once she is back in each: the owner there again.
    const QJsonObject own
        = ask(*alice, QStringLiteral("gown"), {QString(), "0"}, QStringLiteral("onQueryOwnGroup"));
    bool found = false;
    for (const QJsonValue &g : own.value(QStringLiteral("groups")).toArray())
        if (str(g.toObject(), "groupId") == id) {
            found = true;
            QCOMPARE(num(g.toObject(), "role"), 2);
        }
    QVERIFY(found);

    // bob logs in after: alice, in the room, sees him enter; she can mute him, he hears it.
    bob = peer(QStringLiteral("bob"));
    QVERIFY(bob);
    QVERIFY(!alice->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_MEMBER_JOINED, id, "bob")).isEmpty());
    QCOMPARE(num(ask(*alice, QStringLiteral("gforbid"), {id, QStringLiteral("bob"), "1"},
                     QStringLiteral("onForbidMemberSpeakGroup")),
                 "reason"),
             200);
    QVERIFY(!bob->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_MEMBER_INFO, id, "bob")).isEmpty());
    QCOMPARE(num(ask(*alice, QStringLiteral("gdismiss"), {id}, QStringLiteral("onDismissGroup")),
                 "reason"),
             200);
    QVERIFY(!bob->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_DISMISSED, id)).isEmpty());
}

void TestXmppGroups::groupMessagesReachEveryMemberButNotFromTheMuted()
{
    auto alice = peer(QStringLiteral("alice"));
    auto bob = peer(QStringLiteral("bob"));
    auto carol = peer(QStringLiteral("carol"));
    QVERIFY(alice && bob && carol);
    const QString id = create(*alice, QStringLiteral("Group talk"));
    QVERIFY(!id.isEmpty());
    QVERIFY(admit(*alice, *bob, id));
    QVERIFY(admit(*alice, *carol, id));

    // alice's message: her send result names the group; bob and carol get it from her, once.
    const QString text = QStringLiteral("Stand-up moved to 10:15 \u2014 room 4");
    const QJsonObject sent = alice->command(QStringLiteral("send"), {id, text, "1", "u1"});
    QCOMPARE(num(sent, "ret"), 0);
    const QJsonObject result = alice->waitEvent(QStringLiteral("onSendTextMessage"), keyed(sent));
    QCOMPARE(num(result, "reason"), 200);
    QCOMPARE(str(result, "receiver"), id);
    QCOMPARE(num(result, "sessionType"), 1);
    const auto fromAlice = [&](const QJsonObject &e) {
        return str(e, "msgId") == str(sent, "msgId");
    };
    for (PeerProcess *p : {bob.get(), carol.get()}) {
        const QJsonObject got = p->waitEvent(QStringLiteral("onReceiveMessage"), fromAlice);
        QCOMPARE(str(got, "msgContent"), text);
        QCOMPARE(str(got, "sender"), QStringLiteral("alice"));
        QCOMPARE(str(got, "receiver"), id);
        QCOMPARE(str(got, "sessionId"), id);
        QCOMPARE(num(got, "sessionType"), 1);
        QCOMPARE(str(got, "userData"), QStringLiteral("u1"));
    }

    // bob answers; then he is muted, and his next message comes back to him with an error
    // and reaches no one.
    const QJsonObject reply = bob->command(QStringLiteral("send"), {id, "On my way", "1", ""});
    QCOMPARE(num(bob->waitEvent(QStringLiteral("onSendTextMessage"), keyed(reply)), "reason"), 200);
    QCOMPARE(str(alice->waitEvent(
                     QStringLiteral("onReceiveMessage"),
                     [&](const QJsonObject &e) { return str(e, "msgId") == str(reply, "msgId"); }),
                 "sender"),
             QStringLiteral("bob"));
    QCOMPARE(num(ask(*alice, QStringLiteral("gforbid"), {id, QStringLiteral("bob"), "1"},
                     QStringLiteral("onForbidMemberSpeakGroup")),
                 "reason"),
             200);
    QVERIFY(!bob->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_MEMBER_INFO, id, "bob")).isEmpty());
    const QJsonObject muted
        = bob->command(QStringLiteral("send"), {id, "Can you hear me?", "1", ""});
    const int refused
        = num(bob->waitEvent(QStringLiteral("onSendTextMessage"), keyed(muted)), "reason");
    QVERIFY2(refused != 200 && refused > 0, qPrintable(QString::number(refused)));
    // carol's next message is the one after alice's: bob's did not come through.
    const QJsonObject last = alice->command(QStringLiteral("send"), {id, "Thanks all", "1", ""});
    QCOMPARE(num(alice->waitEvent(QStringLiteral("onSendTextMessage"), keyed(last)), "reason"),
             200);
    const QJsonObject next
        = carol->waitEvent(QStringLiteral("onReceiveMessage"), [&](const QJsonObject &e) {
              return str(e, "receiver") == id && str(e, "msgId") != str(sent, "msgId");
          });
    QVERIFY(str(next, "msgId") == str(reply, "msgId"));
    const QJsonObject after
        = carol->waitEvent(QStringLiteral("onReceiveMessage"),
                           [&](const QJsonObject &e) { return str(e, "receiver") == id; });
    QCOMPARE(str(after, "msgId"), str(last, "msgId"));
    // The group goes, so that no later login enters it again.
    QCOMPARE(num(ask(*alice, QStringLiteral("gdismiss"), {id}, QStringLiteral("onDismissGroup")),
                 "reason"),
             200);
}

void TestXmppGroups::missedGroupMessagesArriveOnceAtTheNextLogin()
{
    const auto alice = peer(QStringLiteral("alice"));
    auto bob = peer(QStringLiteral("bob"));
    const auto carol = peer(QStringLiteral("carol"));
    QVERIFY(alice && bob && carol);
    const QString id = create(*alice, QStringLiteral("While you were out"));
    QVERIFY(!id.isEmpty());
    QVERIFY(admit(*alice, *bob, id));
    QVERIFY(admit(*alice, *carol, id));
    const auto say = [&](PeerProcess &who, const QString &text) {
        const QJsonObject ret = who.command(QStringLiteral("send"), {id, text, "1", ""});
        const int reason
            = num(who.waitEvent(QStringLiteral("onSendTextMessage"), keyed(ret)), "reason");
        return reason == 200 ? str(ret, "msgId") : QString();
    };
    const QString seenLive = say(*alice, QStringLiteral("before you go"));
    QVERIFY(!seenLive.isEmpty());
    QVERIFY(!bob->waitEvent(kReceived, withId(seenLive)).isEmpty());
    QVERIFY(!bob->waitEvent(kOfflineDone).isEmpty()); // the first login's
    QCOMPARE(retOf(bob->command(QStringLiteral("logout"))), 0);
    QVERIFY(!bob->waitEvent(QStringLiteral("onLogOut")).isEmpty());

    const QStringList missed{say(*alice, QStringLiteral("first while away")),
                             say(*carol, QStringLiteral("second \u2014 from carol")),
                             say(*alice, QStringLiteral("third"))};
    QVERIFY(!missed.contains(QString()));

    // At his next login, what he missed comes with the offline messages, in order, and
    // nothing he saw before comes again.
    QVERIFY(bob->loginOk(QStringLiteral("bob")));
    QVERIFY(!bob->waitEvent(kOfflineDone).isEmpty());
    const QList<QJsonObject> kept = bob->seen(kOffline);
    QCOMPARE(kept.size(), missed.size());
    for (int i = 0; i < missed.size(); ++i) {
        QCOMPARE(str(kept[i], "msgId"), missed[i]);
        QCOMPARE(str(kept[i], "sessionId"), id);
        QCOMPARE(num(kept[i], "sessionType"), 1);
        QCOMPARE(num(kept[i], "isReceiveOfflineMsg"), 1);
    }
    QCOMPARE(str(kept[1], "sender"), QStringLiteral("carol"));
    QCOMPARE(str(kept[1], "msgContent"), QStringLiteral("second \u2014 from carol"));
    QCOMPARE(timesReceived(*bob, seenLive), 1);

    // Another process of bob's later: nothing of the group is new to him.
    bob.reset();
    bob = peer(QStringLiteral("bob"));
    QVERIFY(bob);
    QVERIFY(!bob->waitEvent(kOfflineDone).isEmpty());
    QCOMPARE(bob->seen(kOffline).size(), 0);
    const QString live = say(*alice, QStringLiteral("welcome back"));
    QVERIFY(!bob->waitEvent(kReceived, withId(live)).isEmpty());
    QCOMPARE(bob->seen(kReceived).size(), 1);
    QCOMPARE(num(ask(*alice, QStringLiteral("gdismiss"), {id}, QStringLiteral("onDismissGroup")),
                 "reason"),
             200);
}

void TestXmppGroups::acceptedGroupMessagesSurviveTheServerGoingDown()
{
    const auto alice = peer(QStringLiteral("alice"));
    const auto bob = peer(QStringLiteral("bob"));
    const auto carol = peer(QStringLiteral("carol"));
    QVERIFY(alice && bob && carol);
    const QString id = create(*alice, QStringLiteral("Through the outage"));
    QVERIFY(!id.isEmpty());
    QVERIFY(admit(*alice, *bob, id));
    QVERIFY(admit(*alice, *carol, id));

    // A burst is on its way when the server stops; more is said while it is down.
    struct Sent
    {
        PeerProcess *by;
        QJsonObject ret;
    };
    std::vector<Sent> sent;
    const auto say = [&](PeerProcess &who, int n) {
        const QJsonObject ret = who.command(QStringLiteral("send"),
                                            {id, QStringLiteral("message %1").arg(n), "1", ""});
        QCOMPARE(retOf(ret), 0);
        sent.push_back({&who, ret});
    };
    for (int n = 0; n < 8; ++n)
        say(*alice, n);
    QVERIFY(XmppServer::stop());
    say(*alice, 8);
    say(*bob, 9);
    QVERIFY(XmppServer::start());

    QStringList accepted;
    for (const Sent &s : sent) {
        const QJsonObject result
            = s.by->waitEvent(QStringLiteral("onSendTextMessage"), keyed(s.ret), 90000);
        QVERIFY(!result.isEmpty());
        if (num(result, "reason") == 200)
            accepted << str(s.ret, "msgId");
    }
    // The ones said while the server was down waited for the rooms to be entered again.
    QVERIFY(accepted.contains(str(sent[8].ret, "msgId")));
    QVERIFY(accepted.contains(str(sent[9].ret, "msgId")));

    // Every member has every accepted message of the others exactly once: live, or from the
    // room's archive with the new stream's offline messages.
    for (PeerProcess *p : {alice.get(), bob.get(), carol.get()}) {
        QVERIFY(!p->waitEvent(QStringLiteral("onConnectState"), [](const QJsonObject &e) {
                      return num(e, "code") == ZS_STATE_CONNECTED;
                  }).isEmpty());
        QVERIFY(!p->waitEvent(kOfflineDone).isEmpty()); // the login's
        QVERIFY(!p->waitEvent(kOfflineDone).isEmpty()); // the new stream's
    }
    const QJsonObject last = carol->command(QStringLiteral("send"), {id, "all here?", "1", ""});
    QCOMPARE(num(carol->waitEvent(QStringLiteral("onSendTextMessage"), keyed(last)), "reason"),
             200);
    for (PeerProcess *p : {alice.get(), bob.get()})
        QVERIFY(!p->waitEvent(kReceived, withId(str(last, "msgId"))).isEmpty());
    for (const Sent &s : sent) {
        const QString msgId = str(s.ret, "msgId");
        for (PeerProcess *p : {alice.get(), bob.get(), carol.get()}) {
            if (p == s.by)
                continue;
            const int times = timesReceived(*p, msgId);
            QVERIFY2(times == (accepted.contains(msgId) ? 1 : times) && times <= 1,
                     qPrintable(QStringLiteral("%1 at %2: %3 times")
                                    .arg(msgId, p->name(), QString::number(times))));
        }
    }
    QCOMPARE(num(ask(*alice, QStringLiteral("gdismiss"), {id}, QStringLiteral("onDismissGroup")),
                 "reason"),
             200);
}

void TestXmppGroups::memberCardsAreTheMembersOwn()
{
    const auto alice = peer(QStringLiteral("alice"));
    const auto bob = peer(QStringLiteral("bob"));
    QVERIFY(alice && bob);
    const QString id = create(*alice, QStringLiteral("Cards"));
    QVERIFY(!id.isEmpty());
    QVERIFY(admit(*alice, *bob, id));
    const QString nick = QStringLiteral("Bobby \u738b");
    const QString remark = QString(600, QChar(0x4e2d)); // cut at the field, on a character

    const QJsonObject set = ask(*bob, QStringLiteral("gcardset"),
                                {id, QStringLiteral("bob"), nick, QStringLiteral("+86 10 5555"),
                                 QStringLiteral("Engineer"), remark, QStringLiteral("7")},
                                QStringLiteral("onModifyGroupMemberCard"));
    QCOMPARE(num(set, "reason"), 200);
    QCOMPARE(num(set, "role"), 0);
    const QJsonObject told
        = alice->waitEvent(kNotice, notice(ZS_GROUP_NOTICE_MEMBER_INFO, id, QStringLiteral("bob")));
    QCOMPARE(str(told, "modifyDic"), QStringLiteral("{\"card\":1}"));

    // Anyone reads it, with the member's place in the group.
    const QJsonObject card = ask(*alice, QStringLiteral("gcard"), {id, QStringLiteral("bob")},
                                 QStringLiteral("onQueryGroupMemberCard"));
    QCOMPARE(num(card, "reason"), 200);
    QCOMPARE(str(card, "nickname"), nick);
    QCOMPARE(str(card, "phone"), QStringLiteral("+86 10 5555"));
    QCOMPARE(str(card, "title"), QStringLiteral("Engineer"));
    QCOMPARE(str(card, "remark"), remark.left(170)); // 512 bytes: 170 three-byte characters
    QCOMPARE(num(card, "value"), 7);
    QCOMPARE(num(card, "role"), 0);

    // Nobody writes another's card; a member without one has an empty card; a non-member none.
    QCOMPARE(num(ask(*alice, QStringLiteral("gcardset"),
                     {id, QStringLiteral("bob"), "x", "", "", "", "0"},
                     QStringLiteral("onModifyGroupMemberCard")),
                 "reason"),
             403);
    const QJsonObject own = ask(*alice, QStringLiteral("gcard"), {id, QStringLiteral("alice")},
                                QStringLiteral("onQueryGroupMemberCard"));
    QCOMPARE(num(own, "reason"), 200);
    QCOMPARE(str(own, "nickname"), QString());
    QCOMPARE(num(own, "role"), 2);
    QCOMPARE(num(ask(*alice, QStringLiteral("gcard"), {id, QStringLiteral("carol")},
                     QStringLiteral("onQueryGroupMemberCard")),
                 "reason"),
             404);
    QCOMPARE(retOf(bob->command(QStringLiteral("gcardset"), {QStringLiteral("null")})),
             int(ZS_ERR_INVALID_ARGUMENT));

    // The profile and the card share the vCard: each change keeps the other.
    const QJsonObject profile = bob->command(
        QStringLiteral("setinfo"), {"1", "0", "0", QStringLiteral("Bob Li"), "555", "hi"});
    QCOMPARE(num(bob->waitEvent(QStringLiteral("onSetPersonInfo"), keyed(profile)), "reason"), 200);
    QCOMPARE(str(ask(*alice, QStringLiteral("gcard"), {id, QStringLiteral("bob")},
                     QStringLiteral("onQueryGroupMemberCard")),
                 "nickname"),
             nick);
    QCOMPARE(num(ask(*alice, QStringLiteral("gdismiss"), {id}, QStringLiteral("onDismissGroup")),
                 "reason"),
             200);
}

TQ_TEST_CLASS(TestXmppGroups)
#include "tst_xmpp_groups.moc"
