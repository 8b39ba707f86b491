// IM_Agent's group requests: for each, the engine function, its arguments in order and the
// lines logged; the one-member rule of muting and roles; invitations; and the bytes of the
// group-change and member-card records.

#include "ImTestSupport.h"

#include <cstring>
#include <functional>

namespace {

struct GroupRequest
{
    std::function<void(IM_Agent *)> emitOn;
};

QByteArray utf8Of(const char *text)
{
    return QByteArray(text);
}

// The block a group request writes after its call.
QString requestBlock(const char *slot, int ret, uint key)
{
    return QLatin1String("IM_Agent::") + QLatin1String(slot) + dashes() + "\n nRet : "
        + QString::number(ret) + "\n matchKey : " + QString::number(key) + dashes() + "\n";
}

QString slotName(const char *slot)
{
    return QLatin1String("IM_Agent::") + QLatin1String(slot);
}

template<class Record> Record recordOf(const zssim::CallRecord &call)
{
    Record r;
    std::memset(static_cast<void *>(&r), 0x5A, sizeof r);
    if (call.records.size() == 1 && call.records[0].size() == int(sizeof r))
        std::memcpy(static_cast<void *>(&r), call.records[0].constData(), sizeof r);
    return r;
}

} // namespace

Q_DECLARE_METATYPE(GroupRequest)

class TestImGroupRequests : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(startEngine());
        QVERIFY(drain());
    }

    void cleanup() { zssim::Control::setMode(zssim::Mode::Automatic); }

    // Every group request: the engine function, the arguments in order, the lines logged
    // (refused by the engine here, so that a logged code is the engine's, not a constant).
    void groupRequests_data()
    {
        QTest::addColumn<GroupRequest>("request");
        QTest::addColumn<QString>("function");
        QTest::addColumn<QVariantList>("expectedArgs");
        QTest::addColumn<QStringList>("lines");
        const QByteArray zhang = QString::fromUtf8("张三").toUtf8();
        const int busy = ZS_ERR_BUSY;

        QTest::newRow("createGroup") << GroupRequest{[](IM_Agent *a) {
            emit a->sig_createGroup(QString::fromUtf8("设计组"), 3, "Zhejiang", "Hangzhou", 1,
                                    "hello", 2, 5, "tq.example", true);
        }} << "CreateGroup"
                                     << QVariantList{QString::fromUtf8("设计组").toUtf8(),
                                                     3,
                                                     utf8Of("Zhejiang"),
                                                     utf8Of("Hangzhou"),
                                                     1,
                                                     utf8Of("hello"),
                                                     2,
                                                     5,
                                                     utf8Of("tq.example"),
                                                     1}
                                     << QStringList{requestBlock("slot_createGroup", busy, 0)};
        QTest::newRow("dismissGroup")
            << GroupRequest{[](IM_Agent *a) {
                   emit a->sig_dismissGroup("group-7");
               }}
            << "DismissGroup" << QVariantList{utf8Of("group-7")}
            << QStringList{slotName("slot_dismissGroup") + "   groupId = group-7   ret = 1006"};
        QTest::newRow("quitGroup")
            << GroupRequest{[](IM_Agent *a) {
                   emit a->sig_quitGroup("group-7");
               }}
            << "QuitGroup" << QVariantList{utf8Of("group-7")}
            << QStringList{slotName("slot_quitGroup") + "   groupId = group-7   ret = 1006"};
        QTest::newRow("joinGroup") << GroupRequest{[](IM_Agent *a) {
            emit a->sig_joinGroup("group-7", "let me in");
        }} << "JoinGroup" << QVariantList{utf8Of("group-7"), utf8Of("let me in")}
                                   << QStringList{slotName("slot_joinGroup")};
        QTest::newRow("replyRequestJoinGroup")
            << GroupRequest{[](IM_Agent *a) {
                   emit a->sig_replyRequestJoinGroup("group-7", "carol", 1);
               }}
            << "ReplyRequestJoinGroup" << QVariantList{utf8Of("group-7"), utf8Of("carol"), 1}
            << QStringList{slotName("slot_replyRequestJoinGroup")};
        // Three members: their count and the members in list order.
        QTest::newRow("inviteJoinGroup")
            << GroupRequest{[](IM_Agent *a) {
                   emit a->sig_inviteJoinGroup("group-7", "join us",
                                               {"bob", "carol", QString::fromUtf8("张三")}, 4);
               }}
            << "InviteJoinGroup" << QVariantList{utf8Of("group-7"),
                                                 utf8Of("join us"),
                                                 utf8Of("bob"),
                                                 utf8Of("carol"),
                                                 zhang,
                                                 3,
                                                 4}
            << QStringList{requestBlock("slot_inviteJoinGroup", busy, 0)};
        QTest::newRow("replyInviteJoinGroup") << GroupRequest{[](IM_Agent *a) {
            emit a->sig_replyInviteJoinGroup("group-7", "bob", 0);
        }} << "ReplyInviteJoinGroup" << QVariantList{utf8Of("group-7"), utf8Of("bob"), 0}
                                              << QStringList{slotName("slot_replyInviteJoinGroup")};
        QTest::newRow("queryOwnGroup")
            << GroupRequest{[](IM_Agent *a) {
                   emit a->sig_queryOwnGroup("group-3", 20, 1);
               }}
            << "QueryOwnGroup" << QVariantList{utf8Of("group-3"), 20, 1}
            << QStringList{slotName("slot_queryOwnGroup")
                           + "   nRet = 1006   matchKey = 0   borderGroupid = group-3"
                             "   pageSize = 20   target = 1"};
        QTest::newRow("queryGroupDetail")
            << GroupRequest{[](IM_Agent *a) {
                   emit a->sig_queryGroupDetail("group-7");
               }}
            << "QueryGroupDetail" << QVariantList{utf8Of("group-7")}
            << QStringList{requestBlock("slot_queryGroupDetail", busy, 0)};
        QTest::newRow("modifyGroup") << GroupRequest{[](IM_Agent *a) {
            emit a->sig_modifyGroup(Agent_ModifyGroupInfo());
        }} << "ModifyGroup" << QVariantList{}
                                     << QStringList{slotName("slot_modifyGroup")};
        QTest::newRow("searchPublicGroups") << GroupRequest{[](IM_Agent *a) {
            emit a->sig_searchPublicGroups(1, "design");
        }} << "SearchPublicGroups" << QVariantList{1, utf8Of("design")}
                                            << QStringList{slotName("slot_searchPublicGroups")};
        QTest::newRow("searchPublicGroupsPaging")
            << GroupRequest{[](IM_Agent *a) {
                   emit a->sig_searchPublicGroupsPaging(0, "design", 2, 10);
               }}
            << "SearchPublicGroupsPaging" << QVariantList{0, utf8Of("design"), 2, 10}
            << QStringList{slotName("slot_searchPublicGroupsPaging")};
        QTest::newRow("queryGroupMember")
            << GroupRequest{[](IM_Agent *a) {
                   emit a->sig_queryGroupMember("group-7", "bob", 5);
               }}
            << "QueryGroupMember" << QVariantList{utf8Of("group-7"), utf8Of("bob"), 5}
            << QStringList{requestBlock("slot_queryGroupMember", busy, 0)};
        QTest::newRow("deleteGroupMember")
            << GroupRequest{[](IM_Agent *a) {
                   emit a->sig_deleteGroupMember("group-7", "bob");
               }}
            << "DeleteGroupMember" << QVariantList{utf8Of("group-7"), utf8Of("bob")}
            << QStringList{slotName("slot_deleteGroupMember")
                           + "   groupId = group-7   member = bob   ret = 1006"};
        QTest::newRow("queryGroupMemberCard")
            << GroupRequest{[](IM_Agent *a) {
                   emit a->sig_queryGroupMemberCard("group-7", "bob");
               }}
            << "QueryGroupMemberCard" << QVariantList{utf8Of("group-7"), utf8Of("bob")}
            << QStringList{requestBlock("slot_queryGroupMemberCard", busy, 0)};
        // The name before the call; after it the name and "ret:" with nothing between.
        QTest::newRow("modifyMemberCard")
            << GroupRequest{[](IM_Agent *a) {
                   emit a->sig_modifyMemberCard(Agent_GroupMemberCard());
               }}
            << "ModifyMemberCard" << QVariantList{}
            << QStringList{slotName("slot_modifyMemberCard"),
                           slotName("slot_modifyMemberCard") + "ret:1006"};
        // One member: that member and isBan; iAllForbid is not passed.
        QTest::newRow("forbidMemberSpeak") << GroupRequest{[](IM_Agent *a) {
            emit a->sig_forbidMemberSpeak("group-7", {"bob"}, 1, 9);
        }} << "ForbidMemberSpeak" << QVariantList{utf8Of("group-7"), utf8Of("bob"), 1}
                                           << QStringList{slotName("slot_forbidMemberSpeak")};
        QTest::newRow("setGroupMessageRule")
            << GroupRequest{[](IM_Agent *a) {
                   emit a->sig_setGroupMessageRule("group-7", true);
               }}
            << "SetGroupMessageRule" << QVariantList{utf8Of("group-7"), 1}
            << QStringList{requestBlock("slot_setGroupMessageRule", busy, 0)};
        QTest::newRow("setGroupMemberRole") << GroupRequest{[](IM_Agent *a) {
            emit a->sig_setGroupMemberRole("group-7", {"carol"}, 1);
        }} << "SetGroupMemberRole" << QVariantList{utf8Of("group-7"), utf8Of("carol"), 1}
                                            << QStringList{slotName("slot_setGroupMemberRole")};
    }

    void groupRequests()
    {
        QFETCH(GroupRequest, request);
        QFETCH(QString, function);
        QFETCH(QVariantList, expectedArgs);
        QFETCH(QStringList, lines);

        zssim::Control::scriptReturn(function, ZS_ERR_BUSY, 1);
        TQLogCapture log;
        request.emitOn(IM_Agent::instance());
        QVERIFY(drain());

        const auto calls = zssim::Control::calls(function);
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].args, expectedArgs); // refused: no key appended
        QCOMPARE(agentLines(log), lines);
        QCOMPARE(log.texts(TQLog::Error), QStringList());
    }

    // An accepted request logs the key the engine wrote.
    void blockCarriesTheEnginesKey()
    {
        zssim::Control::setMode(zssim::Mode::Manual);
        TQLogCapture log;
        emit IM_Agent::instance()->sig_queryGroupDetail("group-900");
        emit IM_Agent::instance()->sig_queryOwnGroup(QString(), 0, 0);
        QVERIFY(drain());
        const uint detailKey
            = zssim::Control::calls("QueryGroupDetail").value(0).args.last().toUInt();
        const uint ownKey = zssim::Control::calls("QueryOwnGroup").value(0).args.last().toUInt();
        QVERIFY(detailKey != 0 && ownKey == detailKey + 1);
        QCOMPARE(agentLines(log),
                 QStringList({requestBlock("slot_queryGroupDetail", 0, detailKey),
                              slotName("slot_queryOwnGroup")
                                  + "   nRet = 0   matchKey = " + QString::number(ownKey)
                                  + "   borderGroupid =    pageSize = 0   target = 0"}));
    }

    // Muting and roles act on one member: other lists send nothing, and say so once.
    void otherThanOneMemberSendsNothing_data()
    {
        QTest::addColumn<GroupRequest>("request");
        QTest::addColumn<QString>("slot");
        QTest::addColumn<int>("size");
        QTest::newRow("forbid two") << GroupRequest{[](IM_Agent *a) {
            emit a->sig_forbidMemberSpeak("group-7", {"bob", "carol"}, 1, 0);
        }} << "slot_forbidMemberSpeak"
                                    << 2;
        QTest::newRow("forbid none") << GroupRequest{[](IM_Agent *a) {
            emit a->sig_forbidMemberSpeak("group-7", {}, 1, 1);
        }} << "slot_forbidMemberSpeak"
                                     << 0;
        QTest::newRow("role none") << GroupRequest{[](IM_Agent *a) {
            emit a->sig_setGroupMemberRole("group-7", {}, 1);
        }} << "slot_setGroupMemberRole"
                                   << 0;
        QTest::newRow("role two") << GroupRequest{[](IM_Agent *a) {
            emit a->sig_setGroupMemberRole("group-7", {"bob", "carol"}, 1);
        }} << "slot_setGroupMemberRole"
                                  << 2;
    }

    void otherThanOneMemberSendsNothing()
    {
        QFETCH(GroupRequest, request);
        QFETCH(QString, slot);
        QFETCH(int, size);
        zssim::Control::clearJournal();
        TQLogCapture log;
        request.emitOn(IM_Agent::instance());
        QVERIFY(drain());
        QCOMPARE(zssim::Control::journal().size(), 0);
        const QString name = "IM_Agent::" + slot;
        QCOMPARE(log.texts(TQLog::Info), QStringList{name});
        QCOMPARE(log.texts(TQLog::Error),
                 QStringList{name + ",member list of " + QString::number(size)
                             + " entries, request not sent"});
    }

    void emptyInvitationCallsAndLogsNothing()
    {
        zssim::Control::clearJournal();
        TQLogCapture log;
        emit IM_Agent::instance()->sig_inviteJoinGroup("group-7", "x", {}, 1);
        QVERIFY(drain());
        QCOMPARE(zssim::Control::journal().size(), 0);
        QCOMPARE(log.texts(), QStringList());
    }

    // The group-change record: every field at its place, isDiscuss as the byte 1 at 1337,
    // the rest zero; texts too long for their field cut at a character, the next field intact.
    void groupChangeRecordBytes()
    {
        Agent_ModifyGroupInfo info;
        info.groupId = "group-7";
        info.name = QString(300, QChar(0x4E2D)); // 900 bytes of UTF-8
        info.type = -3;
        info.province = QString::fromUtf8("浙江");
        info.city = QString(70, QLatin1Char('c'));
        info.scope = 1;
        info.declared = QString::fromUtf8("é").repeated(300);
        info.permission = 0x01020304;
        info.groupDomain = "tq.example";
        info.isDiscuss = true;
        zssim::Control::setMode(zssim::Mode::Manual);
        emit IM_Agent::instance()->sig_modifyGroup(info);
        QVERIFY(drain());
        const auto calls = zssim::Control::calls("ModifyGroup");
        QCOMPARE(calls.size(), 1);
        const QByteArray bytes = calls[0].records.value(0);
        QCOMPARE(bytes.size(), 1852);
        const auto r = recordOf<ZS_GroupChangeInfo>(calls[0]);
        QCOMPARE(QByteArray(r.groupId), QByteArray("group-7"));
        QCOMPARE(QByteArray(r.name), QString(43, QChar(0x4E2D)).toUtf8()); // 129 bytes
        QCOMPARE(r.type, -3);
        QCOMPARE(QByteArray(r.province), QString::fromUtf8("浙江").toUtf8());
        QCOMPARE(QByteArray(r.city), QByteArray(66, 'c'));
        QCOMPARE(r.scope, 1);
        QCOMPARE(QByteArray(r.declared), QString::fromUtf8("é").repeated(257).toUtf8());
        QCOMPARE(r.permission, 0x01020304);
        QCOMPARE(QByteArray(r.groupDomain), QByteArray("tq.example"));
        QCOMPARE(int(static_cast<unsigned char>(bytes[1337])), 1);
        QCOMPARE(bytes.mid(1338), QByteArray(514, '\0'));
        // Nothing but NUL fill behind each text.
        QCOMPARE(bytes.mid(34 + 129, 1), QByteArray(1, '\0'));
        QCOMPARE(bytes.mid(304 + 514, 2), QByteArray(2, '\0'));

        info.isDiscuss = false;
        emit IM_Agent::instance()->sig_modifyGroup(info);
        QVERIFY(drain());
        QCOMPARE(zssim::Control::calls("ModifyGroup").value(1).records.value(0).at(1337), '\0');
    }

    void memberCardRecordBytes()
    {
        Agent_GroupMemberCard card;
        card.cardText1 = "bob";
        card.cardText2 = "group-7";
        card.cardText3 = QString::fromUtf8("鲍勃");
        card.cardText4 = QString(40, QLatin1Char('4'));
        card.cardText5 = "Designer";
        card.cardText6 = QString::fromUtf8("🎉").repeated(200); // 800 bytes, 4 each
        card.cardValue1 = 7;
        card.cardValue2 = -8;
        card.cardValue3 = 9;
        zssim::Control::setMode(zssim::Mode::Manual);
        emit IM_Agent::instance()->sig_modifyMemberCard(card);
        QVERIFY(drain());
        const auto calls = zssim::Control::calls("ModifyMemberCard");
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].records.value(0).size(), 916);
        const auto r = recordOf<ZS_GroupMemberCard>(calls[0]);
        QCOMPARE(QByteArray(r.cardText1), QByteArray("bob"));
        QCOMPARE(QByteArray(r.cardText2), QByteArray("group-7"));
        QCOMPARE(QByteArray(r.cardText3), QString::fromUtf8("鲍勃").toUtf8());
        QCOMPARE(QByteArray(r.cardText4), QByteArray(33, '4'));
        QCOMPARE(QByteArray(r.cardText5), QByteArray("Designer"));
        QCOMPARE(QByteArray(r.cardText6), QString::fromUtf8("🎉").repeated(128).toUtf8());
        QCOMPARE(r.cardValue1, 7);
        QCOMPARE(r.cardValue2, -8);
        QCOMPARE(r.cardValue3, 9);
    }
};

QObject *newTestImGroupRequests()
{
    return new TestImGroupRequests;
}

#include "tst_im_groups_requests.moc"
