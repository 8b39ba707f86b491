// The group entries of the message table: results and notices turned into IM_Agent's signals,
// the own-group, detail and notice rules, the log lines, and what a faulty engine hands over
// (null records and arrays, odd counts, texts that fill their fields).

#include "ImTestSupport.h"

#include <QMutex>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace {

using M = ZS_MessageCallBack;

// A record in an allocation of exactly its size (so ASan sees any read past it), zeroed.
template<class Record> std::unique_ptr<Record> zeroed()
{
    std::unique_ptr<Record> r(new Record);
    std::memset(static_cast<void *>(r.get()), 0, sizeof(Record));
    return r;
}

template<class Record> std::vector<Record> zeroedArray(std::size_t n)
{
    std::vector<Record> records(n);
    std::memset(static_cast<void *>(records.data()), 0, n * sizeof(Record));
    return records;
}

template<std::size_t N> void fill(char (&field)[N], char c)
{
    std::memset(field, c, N); // no NUL anywhere
}

template<std::size_t N> void set(char (&field)[N], const char *text)
{
    std::strncpy(field, text, N - 1);
}

// The texts every notice header starts with.
template<class Record> void header(Record &r)
{
    set(r.sender, "bob");
    set(r.groupId, "group-7");
    set(r.groupName, "Design");
    set(r.dateCreated, "2024-05-06 07:08:09");
    set(r.member, "carol");
}

bool settle()
{
    return zssim::Control::waitIdle() && drain();
}

ZS_GroupNotice notice(int type, const void *detail)
{
    ZS_GroupNotice n;
    std::memset(static_cast<void *>(&n), 0, sizeof n);
    n.type = type;
    n.detail = detail;
    return n;
}

QString noticeLine(int type)
{
    return "IM_CallBackProxy::callback_onReceiveGroupNoticeMessage  " + QString::number(type);
}

QString resultBlock(const char *callback, uint key, int reason)
{
    return QLatin1String("IM_CallBackProxy::") + QLatin1String(callback) + dashes()
        + "\n matchKey : " + QString::number(key) + "\n reason : " + QString::number(reason)
        + dashes() + "\n";
}

// Counts every notice signal, whichever it is.
class AnyNotice : public QObject
{
public:
    AnyNotice()
    {
        IM_Agent *a = IM_Agent::instance();
        const auto count = [this](auto) {
            ++n;
        };
        connect(a, &IM_Agent::sig_onRequestJoinGroupNtyMsg, this, count);
        connect(a, &IM_Agent::sig_onInviteJoinGroupNtyMsg, this, count);
        connect(a, &IM_Agent::sig_onMemberJoinedGroupNtyMsg, this, count);
        connect(a, &IM_Agent::sig_onDismissGroupNtyMsg, this, count);
        connect(a, &IM_Agent::sig_onQuitGroupNtyMsg, this, count);
        connect(a, &IM_Agent::sig_onRemoveGroupMemberNtyMsg, this, count);
        connect(a, &IM_Agent::sig_onReplyRequestJoinGroupNtyMsg, this, count);
        connect(a, &IM_Agent::sig_onReplyInviteJoinGroupNtyMsg, this, count);
        connect(a, &IM_Agent::sig_onModifyGroupNtyMsg, this, count);
        connect(a, &IM_Agent::sig_onChangeMemberRoleMsg, this, count);
        connect(a, &IM_Agent::sig_onJoinGroupNoticeInfo, this, count);
        connect(a, &IM_Agent::sig_onModifyGroupMemberInfo, this, count);
    }
    int n = 0;
};

// Qt debug lines written while it exists, from any thread.
class DebugLines
{
public:
    DebugLines() { previous = qInstallMessageHandler(&DebugLines::handle); }
    ~DebugLines() { qInstallMessageHandler(previous); }
    static QStringList take()
    {
        QMutexLocker locker(&mutex());
        return std::exchange(lines(), QStringList());
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext &, const QString &text)
    {
        QMutexLocker locker(&mutex());
        if (type == QtDebugMsg)
            lines() << text;
    }
    static QMutex &mutex()
    {
        static QMutex m;
        return m;
    }
    static QStringList &lines()
    {
        static QStringList l;
        return l;
    }
    QtMessageHandler previous = nullptr;
};

} // namespace

class TestImGroupCallbacks : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(startEngine()); }

    // "ConfGroup" of type 0, by its exact name only, is the conference group (101).
    void ownGroupsConfGroupRule()
    {
        auto groups = zeroedArray<ZS_GroupSimpleInfo>(4);
        const char *names[] = {"ConfGroup", "ConfGroupX", "ConfGroup", "confgroup"};
        const int types[] = {0, 0, 3, 0};
        for (int i = 0; i < 4; ++i) {
            set(groups[i].groupId, qPrintable(QStringLiteral("group-%1").arg(i)));
            set(groups[i].name, names[i]);
            groups[i].type = types[i];
        }
        fill(groups[1].simpleText3, 's'); // the widest open text, no NUL
        groups[1].simpleValue1 = 1;
        groups[1].simpleValue2 = 2;
        groups[1].simpleValue3 = 3;
        groups[1].simpleValue4 = -4;
        groups[1].simpleFlag = 158;
        ImInbox<int, QList<Agent_GroupSimpleInfo>> own(&IM_Agent::sig_onQueryOwnGroup);
        TQLogCapture log;
        zssim::Control::fire(&M::onQueryOwnGroup, 3u, 200, 4,
                             static_cast<const ZS_GroupSimpleInfo *>(groups.data()));
        QVERIFY(settle());
        QTRY_COMPARE(own.count(), 1);
        const QList<Agent_GroupSimpleInfo> list = own.arg<1>(0);
        QCOMPARE(list.size(), 4);
        QCOMPARE(list[0].type, 101);
        QCOMPARE(list[1].type, 0);
        QCOMPARE(list[2].type, 3);
        QCOMPARE(list[3].type, 0);
        QCOMPARE(list[2].groupId, QString("group-2"));
        QCOMPARE(list[1].simpleText3, QString(645, QLatin1Char('s')));
        QCOMPARE(list[1].simpleValue4, -4);
        QCOMPARE(list[1].simpleFlag, true);
        QCOMPARE(list[0].simpleFlag, false);
        QCOMPARE(log.texts(), QStringList{"IM_CallBackProxy::callback_onQueryOwnGroup"});
    }

    // Three search records, each from its own 824 bytes, in array order; the paged search
    // gives its page number back.
    void searchRecordsInOrder()
    {
        auto found = zeroedArray<ZS_GroupSearchInfo>(3);
        for (int i = 0; i < 3; ++i) {
            set(found[i].groupId, qPrintable(QStringLiteral("group-%1").arg(i)));
            set(found[i].name, qPrintable(QStringLiteral("Design %1").arg(i)));
            found[i].searchValue1 = i + 10;
            found[i].searchValue3 = i + 30;
            found[i].searchFlag = i == 1;
        }
        fill(found[2].searchText4, 'd');
        set(found[0].searchText3, "bob");
        using Search = ImInbox<int, int, QString, QList<Agent_GroupSearchInfo>>;
        Search plain(&IM_Agent::sig_onSearchPublicGroup);
        ImInbox<int, int, QString, QList<Agent_GroupSearchInfo>, int> paged(
            &IM_Agent::sig_onSearchPublicGroupPaging);
        const auto *records = static_cast<const ZS_GroupSearchInfo *>(found.data());
        zssim::Control::fire(&M::onSearchPublicGroup, 1u, 200, 0, "design", 3, records);
        zssim::Control::fire(&M::onSearchPublicGroupPaging, 2u, 200, 1, "group-1", 1, records + 1,
                             4);
        QVERIFY(settle());
        QTRY_COMPARE(paged.count(), 1);
        QCOMPARE(plain.count(), 1);
        QCOMPARE(plain.arg<2>(0), QString("design"));
        const QList<Agent_GroupSearchInfo> list = plain.arg<3>(0);
        QCOMPARE(list.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(list[i].groupId, QStringLiteral("group-%1").arg(i));
            QCOMPARE(list[i].name, QStringLiteral("Design %1").arg(i));
            QCOMPARE(list[i].searchValue1, i + 10);
            QCOMPARE(list[i].searchValue3, i + 30);
            QCOMPARE(list[i].searchFlag, i == 1);
        }
        QCOMPARE(list[0].searchText3, QString("bob"));
        QCOMPARE(list[2].searchText4, QString(516, QLatin1Char('d')));
        QCOMPARE(paged.arg<1>(0), 1);
        QCOMPARE(paged.arg<3>(0).value(0), list[1]);
        QCOMPARE(paged.arg<4>(0), 4);
    }

    // Arrays the engine gets wrong: null with a count, a negative count; none crashes, each
    // gives an empty list.
    void faultyArraysGiveEmptyLists()
    {
        ImInbox<int, QList<Agent_GroupSimpleInfo>> own(&IM_Agent::sig_onQueryOwnGroup);
        ImInbox<int, int, QString, QList<Agent_GroupSearchInfo>> search(
            &IM_Agent::sig_onSearchPublicGroup);
        ImInbox<int, QString, QList<Agent_GroupMember>> members(&IM_Agent::sig_onQueryGroupMember);
        ImInbox<int, QString, QStringList, int> invited(&IM_Agent::sig_onInviteJoinGroup);
        auto two = zeroedArray<ZS_GroupMemberInfo>(2);
        const char *names[] = {"bob", "carol"};
        const char *noText = nullptr;
        zssim::Control::fire(&M::onQueryOwnGroup, 1u, 200, 3,
                             static_cast<const ZS_GroupSimpleInfo *>(nullptr));
        zssim::Control::fire(&M::onSearchPublicGroup, 2u, 200, 0, noText, 2,
                             static_cast<const ZS_GroupSearchInfo *>(nullptr));
        zssim::Control::fire(&M::onQueryGroupMember, 3u, 200, "group-7", -1,
                             static_cast<const ZS_GroupMemberInfo *>(two.data()));
        zssim::Control::fire(&M::onInviteJoinGroup, 4u, 200, "group-7",
                             static_cast<const char *const *>(nullptr), 3, 1);
        zssim::Control::fire(&M::onInviteJoinGroup, 5u, 200, "group-7",
                             static_cast<const char *const *>(names), -2, 1);
        QVERIFY(settle());
        QTRY_COMPARE(invited.count(), 2);
        QCOMPARE(own.arg<1>(0).size(), 0);
        QCOMPARE(search.arg<3>(0).size(), 0);
        QCOMPARE(search.arg<2>(0), QString());
        QCOMPARE(members.arg<2>(0).size(), 0);
        QCOMPARE(invited.arg<2>(0), QStringList());
        QCOMPARE(invited.arg<2>(1), QStringList());
    }

    // The invitation result: the member texts in array order (a null one empty), its block.
    void invitationResult()
    {
        ImInbox<int, QString, QStringList, int> invited(&IM_Agent::sig_onInviteJoinGroup);
        TQLogCapture log;
        const char *names[] = {"bob", nullptr, "carol"};
        zssim::Control::fire(&M::onInviteJoinGroup, 6u, 200, "group-7",
                             static_cast<const char *const *>(names), 3, 2);
        QVERIFY(settle());
        QTRY_COMPARE(invited.count(), 1);
        QCOMPARE(invited.entries[0],
                 std::make_tuple(200, QString("group-7"), QStringList({"bob", "", "carol"}), 2));
        QCOMPARE(log.texts(), QStringList{resultBlock("callback_onInviteJoinGroup", 6, 200)});
    }

    // Members: each from its own 208 bytes; a failed query is written again at error level
    // with the engine's text, and its list still goes out.
    void memberQuery()
    {
        auto members = zeroedArray<ZS_GroupMemberInfo>(2);
        set(members[0].member, "bob");
        fill(members[0].memberText, 'B');
        members[0].memberValue1 = 2;
        set(members[1].member, "carol");
        members[1].memberValue2 = 1;
        members[1].memberValue3 = -9;
        ImInbox<int, QString, QList<Agent_GroupMember>> listed(&IM_Agent::sig_onQueryGroupMember);
        TQLogCapture log;
        const auto *records = static_cast<const ZS_GroupMemberInfo *>(members.data());
        zssim::Control::fire(&M::onQueryGroupMember, 7u, 200, "group-7", 2, records);
        zssim::Control::fire(&M::onQueryGroupMember, 8u, 404, "group-8", 1, records);
        QVERIFY(settle());
        QTRY_COMPARE(listed.count(), 2);
        const QList<Agent_GroupMember> list = listed.arg<2>(0);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[0].member, QString("bob"));
        QCOMPARE(list[0].memberText, QString(129, QLatin1Char('B')));
        QCOMPARE(list[0].memberValue1, 2);
        QCOMPARE(list[1].memberValue2, 1);
        QCOMPARE(list[1].memberValue3, -9);
        QCOMPARE(listed.arg<0>(1), 404);
        QCOMPARE(listed.arg<2>(1).size(), 1);
        const QString failed = "IM_CallBackProxy::callback_onQueryGroupMember" + dashes()
            + "\n matchKey : 8\n reason : 404\n groupid : group-8\n count : 1" + dashes() + "\n";
        QCOMPARE(log.texts(TQLog::Info),
                 QStringList({"IM_CallBackProxy::callback_onQueryGroupMember" + dashes()
                                  + "\n matchKey : 7\n reason : 200\n groupid : group-7"
                                    "\n count : 2"
                                  + dashes() + "\n",
                              failed}));
        QCOMPARE(log.texts(TQLog::Error), QStringList{failed + "   not found"});
    }

    // Only the detail query decodes the domain from Base64; a creation gives the engine's text.
    void detailDomainDecodedOnlyOnQuery()
    {
        auto detail = zeroed<ZS_GroupDetailInfo>();
        set(detail->groupId, "group-7");
        set(detail->name, "Design");
        fill(detail->detailText9, '9');
        detail->type = 3;
        detail->detailValue2 = 5;
        detail->detailValue3 = 6;
        detail->isDiscuss = 1;
        const QByteArray domain = QString::fromUtf8("域名.example").toUtf8().toBase64();
        set(detail->groupDomain, domain.constData());
        using Detail = ImInbox<int, Agent_GroupDetailInfo>;
        Detail created(&IM_Agent::sig_onCreateGroup);
        Detail queried(&IM_Agent::sig_onQueryGroupDetail);
        TQLogCapture log;
        zssim::Control::fire(&M::onCreateGroup, 9u, 200,
                             static_cast<const ZS_GroupDetailInfo *>(detail.get()));
        zssim::Control::fire(&M::onQueryGroupDetail, 10u, 200,
                             static_cast<const ZS_GroupDetailInfo *>(detail.get()));
        QVERIFY(settle());
        QTRY_COMPARE(queried.count(), 1);
        QCOMPARE(created.count(), 1);
        Agent_GroupDetailInfo expected;
        expected.groupId = "group-7";
        expected.name = "Design";
        expected.detailText9 = QString(23, QLatin1Char('9'));
        expected.type = 3;
        expected.detailValue2 = 5;
        expected.detailValue3 = 6;
        expected.isDiscuss = true;
        expected.groupDomain = QString::fromLatin1(domain);
        QCOMPARE(created.arg<1>(0), expected);
        expected.groupDomain = QString::fromUtf8("域名.example");
        QCOMPARE(queried.arg<1>(0), expected);
        QCOMPARE(log.texts(),
                 QStringList({resultBlock("callback_onCreateGroup", 9, 200),
                              resultBlock("callback_onQueryGroupDetail", 10, 200)}));
    }

    // Results without their record still answer, with a default record.
    void nullRecordsGiveDefaults()
    {
        ImInbox<int, Agent_GroupDetailInfo> created(&IM_Agent::sig_onCreateGroup);
        ImInbox<int, Agent_GroupDetailInfo> queried(&IM_Agent::sig_onQueryGroupDetail);
        ImInbox<int, Agent_ModifyGroupInfo> modified(&IM_Agent::sig_onModifyGroup);
        ImInbox<int, Agent_GroupMemberCard> card(&IM_Agent::sig_onQueryGroupMemberCard);
        ImInbox<int, Agent_GroupMemberCard> cardSet(&IM_Agent::sig_onModifyGroupMemberCard);
        TQLogCapture log;
        zssim::Control::fire(&M::onCreateGroup, 1u, 500,
                             static_cast<const ZS_GroupDetailInfo *>(nullptr));
        zssim::Control::fire(&M::onQueryGroupDetail, 2u, 404,
                             static_cast<const ZS_GroupDetailInfo *>(nullptr));
        zssim::Control::fire(&M::onModifyGroup, 3u, 403,
                             static_cast<const ZS_GroupChangeInfo *>(nullptr));
        zssim::Control::fire(&M::onQueryGroupMemberCard, 4u, 404,
                             static_cast<const ZS_GroupMemberCard *>(nullptr));
        zssim::Control::fire(&M::onModifyGroupMemberCard, 5u, 403,
                             static_cast<const ZS_GroupMemberCard *>(nullptr));
        QVERIFY(settle());
        QTRY_COMPARE(cardSet.count(), 1);
        QCOMPARE(created.entries[0], std::make_tuple(500, Agent_GroupDetailInfo()));
        QCOMPARE(queried.entries[0], std::make_tuple(404, Agent_GroupDetailInfo()));
        QCOMPARE(modified.entries[0], std::make_tuple(403, Agent_ModifyGroupInfo()));
        QCOMPARE(card.entries[0], std::make_tuple(404, Agent_GroupMemberCard()));
        QCOMPARE(cardSet.entries[0], std::make_tuple(403, Agent_GroupMemberCard()));
        QVERIFY(!created.arg<1>(0).groupId.isNull());
        QCOMPARE(log.texts(TQLog::Error).size(), 5);
    }

    // Records handed back whole: texts filling their fields are read to the field's end.
    void changeAndCardRecordsBack()
    {
        auto change = zeroed<ZS_GroupChangeInfo>();
        fill(change->groupId, 'g');
        fill(change->name, 'n');
        change->type = 4;
        fill(change->declared, 'd');
        change->permission = 2;
        fill(change->groupDomain, 'm');
        change->isDiscuss = 158;
        auto card = zeroed<ZS_GroupMemberCard>();
        fill(card->cardText2, '2');
        fill(card->cardText6, '6');
        card->cardValue3 = -1;
        ImInbox<int, Agent_ModifyGroupInfo> modified(&IM_Agent::sig_onModifyGroup);
        ImInbox<int, Agent_GroupMemberCard> cards(&IM_Agent::sig_onModifyGroupMemberCard);
        TQLogCapture log;
        zssim::Control::fire(&M::onModifyGroup, 1u, 200,
                             static_cast<const ZS_GroupChangeInfo *>(change.get()));
        zssim::Control::fire(&M::onModifyGroupMemberCard, 2u, 200,
                             static_cast<const ZS_GroupMemberCard *>(card.get()));
        QVERIFY(settle());
        QTRY_COMPARE(cards.count(), 1);
        const Agent_ModifyGroupInfo g = modified.arg<1>(0);
        QCOMPARE(g.groupId, QString(34, QLatin1Char('g')));
        QCOMPARE(g.name, QString(130, QLatin1Char('n')));
        QCOMPARE(g.declared, QString(516, QLatin1Char('d')));
        QCOMPARE(g.groupDomain, QString(513, QLatin1Char('m')));
        QCOMPARE(g.type, 4);
        QCOMPARE(g.permission, 2);
        QCOMPARE(g.isDiscuss, true);
        QCOMPARE(cards.arg<1>(0).cardText2, QString(34, QLatin1Char('2')));
        QCOMPARE(cards.arg<1>(0).cardText6, QString(513, QLatin1Char('6')));
        QCOMPARE(cards.arg<1>(0).cardValue3, -1);
        QCOMPARE(log.texts(),
                 QStringList({"IM_CallBackProxy::callback_onModifyGroup",
                              "IM_CallBackProxy::callback_onModifyGroupMemberCard"}));
    }

    // Muting is reported with a one-member list and allForbid 0, whatever the engine gives.
    void forbidResultHasOneMember()
    {
        ImInbox<int, QString, QStringList, int, int> forbid(
            &IM_Agent::sig_onForbidMemberSpeakGroup);
        const char *noText = nullptr;
        zssim::Control::fire(&M::onForbidMemberSpeakGroup, 1u, 200, "group-7", "bob", 1);
        zssim::Control::fire(&M::onForbidMemberSpeakGroup, 2u, 403, "group-7", noText, 0);
        QVERIFY(settle());
        QTRY_COMPARE(forbid.count(), 2);
        QCOMPARE(forbid.entries[0],
                 std::make_tuple(200, QString("group-7"), QStringList{"bob"}, 1, 0));
        QCOMPARE(forbid.arg<2>(1).size(), 1);
        QCOMPARE(forbid.arg<4>(1), 0);
    }

    // The lines of the results with a format of their own.
    void resultLines()
    {
        ImInbox<int, QString, QString, int> replied(&IM_Agent::sig_onReplyInviteJoinGroup);
        ImInbox<int, QString, bool> rule(&IM_Agent::sig_onSetGroupMessageRule);
        TQLogCapture log;
        zssim::Control::fire(&M::onQuitGroup, 1u, 403, "group-7");
        zssim::Control::fire(&M::onReplyInviteJoinGroup, 2u, 200, "group-7", "bob", 1);
        zssim::Control::fire(&M::onSetGroupMessageRule, 3u, 200, "group-7", ZS_Bool8(158));
        zssim::Control::fire(&M::onDismissGroup, 4u, 200, "group-7");
        zssim::Control::fire(&M::onSetGroupMemberRole, 5u, 200);
        QVERIFY(settle());
        QTRY_COMPARE(rule.count(), 1);
        QCOMPARE(rule.arg<2>(0), true);
        QCOMPARE(replied.entries[0], std::make_tuple(200, QString("group-7"), QString("bob"), 1));
        QCOMPARE(log.texts(),
                 QStringList({"IM_CallBackProxy::callback_onQuitGroup 403 group-7",
                              "IM_CallBackProxy::callback_onReplyInviteJoinGroup 200 group-7 bob 1",
                              "After_Emit", resultBlock("callback_onSetGroupMessageRule", 3, 200),
                              "IM_CallBackProxy::callback_onDismissGroup",
                              "IM_CallBackProxy::callback_onSetGroupMemberRole"}));
    }

    // Types 9 and above 12 (and a missing notice) are only logged.
    void unknownNoticesOnlyLogged()
    {
        auto detail = zeroed<ZS_GroupNoticeHeader>();
        header(*detail);
        AnyNotice any;
        TQLogCapture log;
        ZS_GroupNotice nine = notice(9, detail.get());
        ZS_GroupNotice thirteen = notice(13, detail.get());
        ZS_GroupNotice negative = notice(-5, nullptr);
        zssim::Control::fire(&M::onReceiveGroupNoticeMessage,
                             static_cast<const ZS_GroupNotice *>(&nine));
        zssim::Control::fire(&M::onReceiveGroupNoticeMessage,
                             static_cast<const ZS_GroupNotice *>(&thirteen));
        zssim::Control::fire(&M::onReceiveGroupNoticeMessage,
                             static_cast<const ZS_GroupNotice *>(&negative));
        zssim::Control::fire(&M::onReceiveGroupNoticeMessage,
                             static_cast<const ZS_GroupNotice *>(nullptr));
        QVERIFY(settle());
        QCOMPARE(any.n, 0);
        QCOMPARE(log.texts(),
                 QStringList({noticeLine(9), noticeLine(13), noticeLine(-5), noticeLine(-1)}));
    }

    // A known type without its record emits nothing and says so.
    void noticeWithoutRecord()
    {
        AnyNotice any;
        TQLogCapture log;
        for (int type : {0, 4, 12}) {
            ZS_GroupNotice n = notice(type, nullptr);
            zssim::Control::fire(&M::onReceiveGroupNoticeMessage,
                                 static_cast<const ZS_GroupNotice *>(&n));
            QVERIFY(settle());
        }
        QCOMPARE(any.n, 0);
        QCOMPARE(log.texts(TQLog::Info),
                 QStringList({noticeLine(0), noticeLine(4), noticeLine(12)}));
        QCOMPARE(log.texts(TQLog::Error).size(), 3);
    }

    // A member's data changed: one debug line with every field, labelled.
    void memberInfoDebugLine()
    {
        auto info = zeroed<ZS_GroupMemberInfoNotice>();
        header(*info);
        set(info->modifyDic, "{\"card\":1}");
        ImInbox<Agent_ModifyGroupMemberInfo> infos(&IM_Agent::sig_onModifyGroupMemberInfo);
        DebugLines debug;
        DebugLines::take();
        ZS_GroupNotice eleven = notice(11, info.get());
        zssim::Control::fire(&M::onReceiveGroupNoticeMessage,
                             static_cast<const ZS_GroupNotice *>(&eleven));
        QVERIFY(settle());
        QTRY_COMPARE(infos.count(), 1);
        QCOMPARE(DebugLines::take(),
                 QStringList{"  pInfo->groupId: group-7  pInfo->groupName: Design"
                             "  pInfo->dateCreated: 2024-05-06 07:08:09  pInfo->member: carol"
                             "  pInfo->sender: bob  pInfo->modifyDic: {\"card\":1}"});
    }

    // Types 4 and 5 share one conversion: the same record gives the same fields.
    void removedLikeQuit()
    {
        auto detail = zeroed<ZS_GroupNoticeHeader>();
        header(*detail);
        fill(detail->extraText1, 'e');
        ImInbox<Agent_QuitGroupNtyMsg> quit(&IM_Agent::sig_onQuitGroupNtyMsg);
        ImInbox<Agent_RemoveGroupMemberNtyMsg> removed(&IM_Agent::sig_onRemoveGroupMemberNtyMsg);
        ZS_GroupNotice four = notice(4, detail.get());
        ZS_GroupNotice five = notice(5, detail.get());
        zssim::Control::fire(&M::onReceiveGroupNoticeMessage,
                             static_cast<const ZS_GroupNotice *>(&four));
        zssim::Control::fire(&M::onReceiveGroupNoticeMessage,
                             static_cast<const ZS_GroupNotice *>(&five));
        QVERIFY(settle());
        QTRY_COMPARE(removed.count(), 1);
        QCOMPARE(quit.count(), 1);
        const Agent_QuitGroupNtyMsg q = quit.arg<0>(0);
        QCOMPARE(q.sender, QString("bob"));
        QCOMPARE(q.groupId, QString("group-7"));
        QCOMPARE(q.groupName, QString("Design"));
        QCOMPARE(q.dateCreated, QString("2024-05-06 07:08:09"));
        QCOMPARE(q.member, QString("carol"));
        QCOMPARE(q.extraText1, QString(129, QLatin1Char('e')));
        QVERIFY(removed.arg<0>(0).tie() == q.tie());
    }

    // Types 6 and 7: the member from the header, extraText1 ending where extraText2 begins.
    void repliesReadTheHeader()
    {
        auto detail = zeroed<ZS_GroupReplyNotice>();
        header(*detail);
        fill(detail->extraText1, 'x'); // 65 bytes up to extraText2, no NUL
        set(detail->extraText2, "second");
        detail->extraValue = 1;
        ImInbox<Agent_ReplyRequestJoinGroupNtyMsg> request(
            &IM_Agent::sig_onReplyRequestJoinGroupNtyMsg);
        ImInbox<Agent_ReplyInviteJoinGroupNtyMsg> invite(
            &IM_Agent::sig_onReplyInviteJoinGroupNtyMsg);
        ZS_GroupNotice six = notice(6, detail.get());
        ZS_GroupNotice seven = notice(7, detail.get());
        zssim::Control::fire(&M::onReceiveGroupNoticeMessage,
                             static_cast<const ZS_GroupNotice *>(&six));
        zssim::Control::fire(&M::onReceiveGroupNoticeMessage,
                             static_cast<const ZS_GroupNotice *>(&seven));
        QVERIFY(settle());
        QTRY_COMPARE(invite.count(), 1);
        const Agent_ReplyRequestJoinGroupNtyMsg r = request.arg<0>(0);
        QCOMPARE(r.member, QString("carol"));
        QCOMPARE(r.extraText1, QString(65, QLatin1Char('x')));
        QCOMPARE(r.extraText2, QString("second"));
        QCOMPARE(r.extraValue, 1);
        QVERIFY(invite.arg<0>(0).tie() == r.tie());
    }

    // Type 12: the members that follow the record, 194 bytes apart, their ints 0; a negative
    // count is no member.
    void joinNoticeMembers()
    {
        std::vector<char> two(sizeof(ZS_GroupJoinNotice) + 2 * sizeof(ZS_GroupNoticeMember), 0);
        auto *joined = reinterpret_cast<ZS_GroupJoinNotice *>(two.data());
        header(*joined);
        fill(joined->extraText1, 'j');
        joined->memberCount = 2;
        auto *entries = reinterpret_cast<ZS_GroupNoticeMember *>(two.data() + 832);
        set(entries[0].member, "alice");
        set(entries[0].memberText, "Alice Wang");
        fill(entries[1].member, 'm');
        fill(entries[1].memberText, 't');
        auto none = zeroed<ZS_GroupJoinNotice>(); // exactly 832 bytes: no entry
        header(*none);
        none->memberCount = -1;
        ImInbox<Agent_JoinGroupNoticeInfo> notices(&IM_Agent::sig_onJoinGroupNoticeInfo);
        ZS_GroupNotice withTwo = notice(12, two.data());
        ZS_GroupNotice negative = notice(12, none.get());
        zssim::Control::fire(&M::onReceiveGroupNoticeMessage,
                             static_cast<const ZS_GroupNotice *>(&withTwo));
        zssim::Control::fire(&M::onReceiveGroupNoticeMessage,
                             static_cast<const ZS_GroupNotice *>(&negative));
        QVERIFY(settle());
        QTRY_COMPARE(notices.count(), 2);
        const Agent_JoinGroupNoticeInfo info = notices.arg<0>(0);
        QCOMPARE(info.memberCount, 2);
        QCOMPARE(info.extraText1, QString(65, QLatin1Char('j')));
        QCOMPARE(info.member, QString("carol"));
        Agent_GroupMember first;
        first.member = "alice";
        first.memberText = "Alice Wang";
        Agent_GroupMember second;
        second.member = QString(65, QLatin1Char('m'));
        second.memberText = QString(129, QLatin1Char('t'));
        QCOMPARE(info.memberList, (QList<Agent_GroupMember>{first, second}));
        QCOMPARE(notices.arg<0>(1).memberList, QList<Agent_GroupMember>());
        QCOMPARE(notices.arg<0>(1).memberCount, 0);
    }

    // The other types, each from the places of its own record.
    void otherNoticeRecords()
    {
        auto request = zeroed<ZS_GroupJoinRequestNotice>();
        header(*request);
        set(request->extraText1, "please");
        fill(request->extraText2, 'r');
        request->extraValue = 3;
        auto invite = zeroed<ZS_GroupInviteNotice>();
        invite->noticeType = 1;
        header(*invite);
        set(invite->extraText1, "join us");
        set(invite->extraText2, "x2");
        auto joined = zeroed<ZS_GroupMemberJoinedNotice>();
        header(*joined);
        set(joined->extraText2, "welcome");
        auto dismissed = zeroed<ZS_GroupDismissNotice>();
        fill(dismissed->dateCreated, '1');
        set(dismissed->groupId, "group-7");
        auto modified = zeroed<ZS_GroupNoticeHeader>();
        header(*modified);
        auto role = zeroed<ZS_GroupRoleNotice>();
        header(*role);
        role->extraValue = 1;
        auto info = zeroed<ZS_GroupMemberInfoNotice>();
        header(*info);
        set(info->modifyDic, "{\"isBan\":1}");

        ImInbox<Agent_RequestJoinGroupNtyMsg> requests(&IM_Agent::sig_onRequestJoinGroupNtyMsg);
        ImInbox<Agent_InviteJoinGroupNtyMsg> invites(&IM_Agent::sig_onInviteJoinGroupNtyMsg);
        ImInbox<Agent_MemberJoinedGroupNtyMsg> joins(&IM_Agent::sig_onMemberJoinedGroupNtyMsg);
        ImInbox<Agent_DismissGroupNtyMsg> dismissals(&IM_Agent::sig_onDismissGroupNtyMsg);
        ImInbox<Agent_ModifyGroupNtyMsg> modifications(&IM_Agent::sig_onModifyGroupNtyMsg);
        ImInbox<Agent_ChangeMemberRoleMsg> roles(&IM_Agent::sig_onChangeMemberRoleMsg);
        ImInbox<Agent_ModifyGroupMemberInfo> infos(&IM_Agent::sig_onModifyGroupMemberInfo);
        const std::vector<ZS_GroupNotice> all{notice(0, request.get()),  notice(1, invite.get()),
                                              notice(2, joined.get()),   notice(3, dismissed.get()),
                                              notice(8, modified.get()), notice(10, role.get()),
                                              notice(11, info.get())};
        for (const ZS_GroupNotice &n : all)
            zssim::Control::fire(&M::onReceiveGroupNoticeMessage, &n);
        QVERIFY(settle());
        QTRY_COMPARE(infos.count(), 1);

        const Agent_RequestJoinGroupNtyMsg r = requests.arg<0>(0);
        QCOMPARE(r.member, QString("carol"));
        QCOMPARE(r.extraText1, QString("please"));
        QCOMPARE(r.extraText2, QString(65, QLatin1Char('r')));
        QCOMPARE(r.extraValue, 3);
        const Agent_InviteJoinGroupNtyMsg i = invites.arg<0>(0);
        QCOMPARE(i.noticeType, 1);
        QCOMPARE(i.sender, QString("bob"));
        QCOMPARE(i.groupName, QString("Design"));
        QCOMPARE(i.member, QString("carol"));
        QCOMPARE(i.extraText1, QString("join us"));
        QCOMPARE(i.extraText2, QString("x2"));
        QCOMPARE(joins.arg<0>(0).extraText2, QString("welcome"));
        QCOMPARE(joins.arg<0>(0).member, QString("carol"));
        QCOMPARE(dismissals.arg<0>(0).groupId, QString("group-7"));
        QCOMPARE(dismissals.arg<0>(0).dateCreated, QString(21, QLatin1Char('1')));
        QCOMPARE(modifications.arg<0>(0).extraValue, 0);
        QCOMPARE(modifications.arg<0>(0).groupId, QString("group-7"));
        QCOMPARE(roles.arg<0>(0).extraValue, 1);
        const Agent_ModifyGroupMemberInfo m = infos.arg<0>(0);
        QCOMPARE(m.modifyDic, QString("{\"isBan\":1}"));
        QCOMPARE(m.sender, QString("bob"));
        QCOMPARE(m.member, QString("carol"));
    }
};

QObject *newTestImGroupCallbacks()
{
    return new TestImGroupCallbacks;
}

#include "tst_im_groups_callbacks.moc"
