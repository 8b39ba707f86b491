// The groups: their widget-free state fed by hand (unknown groups, duplicate events, paging,
// late answers), then the group windows in the main window driven through their widgets
// against the stand-in engine, which plays bob, carol and the server.

#include "UiTest.h"

#include <ChatState.h>
#include <ChatWindow.h>
#include <ContactListModel.h>
#include <ConversationListModel.h>
#include <GroupState.h>
#include <GroupWindows.h>
#include <IM_CallBackProxy.h>
#include <MainWindow.h>
#include <MessageListModel.h>
#include <TQ_LoginUI.h>
#include <TQ_MainUI.h>
#include <TqClientContext.h>
#include <TqProfiles.h>
#include <TqSession.h>

#include <AppEnvionmentSetting.h>
#include <ZSsdkControl.h>

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

constexpr int kPatience = 30000;
#define TRY_VERIFY(expr) QTRY_VERIFY_WITH_TIMEOUT(expr, kPatience)
#define TRY_COMPARE(actual, expected) QTRY_COMPARE_WITH_TIMEOUT(actual, expected, kPatience)

Agent_GroupSimpleInfo own(const QString &id, int role = GroupCode::Member)
{
    Agent_GroupSimpleInfo g;
    g.groupId = id;
    g.name = QStringLiteral("Group %1").arg(id);
    g.simpleValue1 = 3;
    g.simpleValue2 = role;
    return g;
}

Agent_GroupMember member(const QString &account, int role = GroupCode::Member)
{
    Agent_GroupMember m;
    m.member = account;
    m.memberText = account.toUpper();
    m.memberValue1 = role;
    return m;
}

Agent_GroupDetailInfo detail(const QString &id, const QString &name)
{
    Agent_GroupDetailInfo d;
    d.groupId = id;
    d.name = name;
    return d;
}

QStringList texts(const QList<QList<QVariant>> &spy, int at)
{
    QStringList list;
    for (const QList<QVariant> &args : spy)
        list << args.value(at).toString();
    return list;
}

} // namespace

// ---- The state, fed by hand ---------------------------------------------------------------------

class TestGroupState : public QObject
{
    Q_OBJECT

    std::unique_ptr<GroupState> m_state;

    // A state with the user in the group `id` as owner, created the way the server answers.
    void ownGroup(const QString &id)
    {
        QVERIFY(m_state->create(QStringLiteral("Team"), QString(), false, {}));
        m_state->onCreated(200, detail(id, QStringLiteral("Team")));
        QVERIFY(m_state->isGroup(id));
    }

private slots:
    void init()
    {
        m_state = std::make_unique<GroupState>();
        m_state->setAccount(QStringLiteral("alice"));
        new QAbstractItemModelTester(m_state->groups(),
                                     QAbstractItemModelTester::FailureReportingMode::QtTest,
                                     m_state.get());
        new QAbstractItemModelTester(m_state->pending(),
                                     QAbstractItemModelTester::FailureReportingMode::QtTest,
                                     m_state.get());
    }
    void cleanup() { m_state.reset(); }

    void noticesForUnknownGroupsChangeNothing()
    {
        QSignalSpy lines(m_state.get(), &GroupState::systemLine);
        QSignalSpy gone(m_state.get(), &GroupState::groupGone);
        const QString g = QStringLiteral("g-unknown");
        Agent_QuitGroupNtyMsg quit;
        quit.groupId = g;
        quit.member = quit.sender = QStringLiteral("bob");
        m_state->onQuitNotice(quit);
        Agent_RemoveGroupMemberNtyMsg removed;
        removed.groupId = g;
        removed.sender = QStringLiteral("bob");
        removed.member = QStringLiteral("alice");
        m_state->onRemovedNotice(removed);
        Agent_DismissGroupNtyMsg dismissed;
        dismissed.groupId = g;
        m_state->onDismissNotice(dismissed);
        Agent_MemberJoinedGroupNtyMsg joined;
        joined.groupId = g;
        joined.member = QStringLiteral("carol");
        m_state->onMemberJoinedNotice(joined);
        Agent_ModifyGroupMemberInfo info;
        info.groupId = g;
        info.member = QStringLiteral("carol");
        info.modifyDic = QStringLiteral("{\"isBan\":1}");
        m_state->onMemberInfoNotice(info);
        Agent_ChangeMemberRoleMsg role;
        role.groupId = g;
        role.member = QStringLiteral("carol");
        m_state->onRoleNotice(role);
        Agent_ModifyGroupNtyMsg modified;
        modified.groupId = g;
        modified.groupName = QStringLiteral("Renamed");
        m_state->onModifiedNotice(modified);
        // A request to join a group the user does not manage is not theirs to answer.
        Agent_RequestJoinGroupNtyMsg request;
        request.groupId = g;
        request.sender = request.member = QStringLiteral("carol");
        m_state->onRequestJoinNotice(request);

        QCOMPARE(lines.count(), 0);
        QCOMPARE(gone.count(), 0);
        QCOMPARE(m_state->groups()->rowCount(), 0);
        QCOMPARE(m_state->pending()->rowCount(), 0);
        QCOMPARE(m_state->members(g)->rowCount(), 0);
    }

    void duplicateMemberEventsAreSaidOnce()
    {
        const QString g = QStringLiteral("g1");
        ownGroup(g);
        QSignalSpy lines(m_state.get(), &GroupState::systemLine);
        Agent_MemberJoinedGroupNtyMsg joined;
        joined.groupId = g;
        joined.sender = joined.member = QStringLiteral("bob");
        m_state->onMemberJoinedNotice(joined);
        m_state->onMemberJoinedNotice(joined);
        // The user's own acceptance of the same person says nothing new.
        m_state->onReplyRequest(200, g, QStringLiteral("bob"), GroupCode::Accept);
        QCOMPARE(m_state->members(g)->accounts(),
                 QStringList({QStringLiteral("alice"), QStringLiteral("bob")}));
        QCOMPARE(lines.count(), 1);
        QCOMPARE(m_state->groups()->find(g)->memberCount, 2);

        Agent_QuitGroupNtyMsg quit;
        quit.groupId = g;
        quit.sender = quit.member = QStringLiteral("bob");
        m_state->onQuitNotice(quit);
        m_state->onQuitNotice(quit);
        QCOMPARE(m_state->members(g)->accounts(), QStringList(QStringLiteral("alice")));
        QCOMPARE(lines.count(), 2);
        QCOMPARE(m_state->groups()->find(g)->memberCount, 1);

        // Muting told twice (the answer, then a notice) is one line.
        Agent_MemberJoinedGroupNtyMsg carol = joined;
        carol.sender = carol.member = QStringLiteral("carol");
        m_state->onMemberJoinedNotice(carol);
        m_state->onForbidden(200, g, {QStringLiteral("carol")}, 1);
        Agent_ModifyGroupMemberInfo info;
        info.groupId = g;
        info.sender = QStringLiteral("alice");
        info.member = QStringLiteral("carol");
        info.modifyDic = QStringLiteral("{\"isBan\":1}");
        m_state->onMemberInfoNotice(info);
        QVERIFY(m_state->members(g)->find(QStringLiteral("carol"))->muted);
        QCOMPARE(lines.count(), 4);
    }

    void ownGroupsArePagedAndReplaceTheList()
    {
        QSignalSpy queries(m_state.get(), &GroupState::ownGroupsQuery);
        QSignalSpy gone(m_state.get(), &GroupState::groupGone);
        m_state->refresh();
        QCOMPARE(queries.count(), 1);
        QCOMPARE(queries.at(0).at(0).toString(), QString());
        QList<Agent_GroupSimpleInfo> page;
        for (int i = 0; i < GroupState::kPageSize; ++i)
            page << own(QStringLiteral("g%1").arg(i), i == 0 ? GroupCode::Owner : 0);
        m_state->onOwnGroups(200, page);
        // A full page: the next one after its last group; nothing shown half-way.
        QCOMPARE(queries.count(), 2);
        QCOMPARE(queries.at(1).at(0).toString(), page.last().groupId);
        QCOMPARE(m_state->groups()->rowCount(), 0);
        m_state->onOwnGroups(200, {own(QStringLiteral("g100")), own(QStringLiteral("g101"))});
        QCOMPARE(queries.count(), 2);
        QCOMPARE(m_state->groups()->rowCount(), GroupState::kPageSize + 2);
        QCOMPARE(m_state->ownRole(QStringLiteral("g0")), GroupCode::Owner);

        // A later listing without g1 drops it, and the overlapping page repeats nothing.
        m_state->refresh();
        page.removeAt(1);
        page << own(QStringLiteral("g100"));
        m_state->onOwnGroups(200, page);
        m_state->onOwnGroups(200, {own(QStringLiteral("g100")), own(QStringLiteral("g101"))});
        QCOMPARE(m_state->groups()->rowCount(), GroupState::kPageSize + 1);
        QVERIFY(!m_state->isGroup(QStringLiteral("g1")));
        QCOMPARE(texts(gone, 0), QStringList(QStringLiteral("g1")));

        // An answer nobody here asked for (another window's query) changes nothing.
        m_state->onOwnGroups(200, {});
        QCOMPARE(m_state->groups()->rowCount(), GroupState::kPageSize + 1);
    }

    void overlappingListingsShowOnlyTheLast()
    {
        m_state->refresh();
        m_state->refresh();
        m_state->onOwnGroups(200, {own(QStringLiteral("old"))});
        QCOMPARE(m_state->groups()->rowCount(), 0);
        m_state->onOwnGroups(200, {own(QStringLiteral("new"))});
        QCOMPARE(m_state->groups()->ids(), QStringList(QStringLiteral("new")));
    }

    void membersArePagedWithTheirRoles()
    {
        const QString g = QStringLiteral("g1");
        ownGroup(g);
        QSignalSpy queries(m_state.get(), &GroupState::membersQuery);
        m_state->loadMembers(g);
        QList<Agent_GroupMember> page;
        for (int i = 0; i < GroupState::kPageSize; ++i)
            page << member(QStringLiteral("m%1").arg(i));
        page[0] = member(QStringLiteral("alice"), GroupCode::Owner);
        m_state->onMembers(200, g, page);
        QCOMPARE(queries.count(), 2);
        QCOMPARE(queries.at(1).at(1).toString(), page.last().member);
        Agent_GroupMember admin = member(QStringLiteral("zed"), GroupCode::Admin);
        Agent_GroupMember muted = member(QStringLiteral("carol"));
        muted.memberValue2 = 1;
        m_state->onMembers(200, g, {admin, muted});
        GroupMembersModel *members = m_state->members(g);
        QCOMPARE(members->rowCount(), GroupState::kPageSize + 2);
        // Owner, then admins, then the others in the order they came.
        QCOMPARE(members->at(0).account, QStringLiteral("alice"));
        QCOMPARE(members->at(1).account, QStringLiteral("zed"));
        QCOMPARE(members->at(2).account, QStringLiteral("m1"));
        QVERIFY(members->find(QStringLiteral("carol"))->muted);
        QCOMPARE(members->find(QStringLiteral("m1"))->name, QStringLiteral("M1"));
        QCOMPARE(m_state->groups()->find(g)->memberCount, GroupState::kPageSize + 2);

        // A failed query leaves the list as it was; an unasked answer is ignored.
        m_state->loadMembers(g);
        m_state->onMembers(403, g, {});
        m_state->onMembers(200, g, {member(QStringLiteral("ghost"))});
        QCOMPARE(members->rowCount(), GroupState::kPageSize + 2);
        QVERIFY(!members->find(QStringLiteral("ghost")));
    }

    void pendingAnswersGoToTheRightRequest()
    {
        const QString g = QStringLiteral("g1");
        ownGroup(g);
        QSignalSpy inviteReplies(m_state.get(), &GroupState::replyInviteRequest);
        QSignalSpy joinReplies(m_state.get(), &GroupState::replyJoinRequest);
        Agent_InviteJoinGroupNtyMsg invite;
        invite.groupId = QStringLiteral("g9");
        invite.groupName = QStringLiteral("Nine");
        invite.sender = QStringLiteral("bob");
        m_state->onInviteNotice(invite);
        m_state->onInviteNotice(invite);
        // An invitation into a group the user is in already is stale.
        Agent_InviteJoinGroupNtyMsg stale = invite;
        stale.groupId = g;
        m_state->onInviteNotice(stale);
        Agent_RequestJoinGroupNtyMsg request;
        request.groupId = g;
        request.groupName = QStringLiteral("Team");
        request.sender = request.member = QStringLiteral("carol");
        request.extraText1 = QStringLiteral("let me in");
        m_state->onRequestJoinNotice(request);
        QCOMPARE(m_state->pending()->rowCount(), 2);
        QVERIFY(
            m_state->pending()->index(1).data().toString().contains(QLatin1String("let me in")));

        QVERIFY(m_state->answer(1, false));
        QCOMPARE(joinReplies.count(), 1);
        QCOMPARE(joinReplies.at(0),
                 QList<QVariant>({g, QStringLiteral("carol"), GroupCode::Refuse}));
        QVERIFY(m_state->answer(0, true));
        QCOMPARE(inviteReplies.at(0),
                 QList<QVariant>({QStringLiteral("g9"), QStringLiteral("bob"), GroupCode::Accept}));
        QVERIFY(!m_state->answer(0, true));
        QCOMPARE(m_state->pending()->rowCount(), 0);
    }

    void creationInvitesItsOwnMembersOnly()
    {
        QSignalSpy invites(m_state.get(), &GroupState::inviteRequest);
        QVERIFY(!m_state->create(QStringLiteral("   "), QString(), false, {}));
        QVERIFY(m_state->create(
            QStringLiteral("A"), QString(), true,
            {QStringLiteral("bob"), QStringLiteral("alice"), QStringLiteral("bob")}));
        QVERIFY(m_state->create(QStringLiteral("B"), QString(), false, {QStringLiteral("carol")}));
        m_state->onCreated(500, Agent_GroupDetailInfo());
        m_state->onCreated(200, detail(QStringLiteral("gB"), QStringLiteral("B")));
        QCOMPARE(invites.count(), 1);
        QCOMPARE(invites.at(0).at(0).toString(), QStringLiteral("gB"));
        QCOMPARE(invites.at(0).at(2).toStringList(), QStringList(QStringLiteral("carol")));
        QVERIFY(!m_state->isGroup(QStringLiteral("gA")));
        QCOMPARE(m_state->ownRole(QStringLiteral("gB")), GroupCode::Owner);
    }

    void onlyTheLatestSearchCounts()
    {
        QVERIFY(m_state->search(GroupCode::SearchByName, QStringLiteral("de")));
        QVERIFY(m_state->search(GroupCode::SearchByName, QStringLiteral("design")));
        Agent_GroupSearchInfo found;
        found.groupId = QStringLiteral("g900");
        found.name = QStringLiteral("Design Club");
        m_state->onSearched(200, GroupCode::SearchByName, QStringLiteral("de"), {found, found});
        QCOMPARE(m_state->searchResults()->rowCount(), 0);
        m_state->onSearched(200, GroupCode::SearchByName, QStringLiteral("design"), {found});
        QCOMPARE(m_state->searchResults()->rowCount(), 1);
        QVERIFY(!m_state->searchResults()->at(0).joined);
    }

    void leavingAndDismissingFollowTheRole()
    {
        const QString g = QStringLiteral("g1");
        ownGroup(g);
        QVERIFY(!m_state->leave(g)); // the owner dismisses instead
        QVERIFY(!m_state->setMuted(g, QStringLiteral("alice"), true));
        Agent_JoinGroupNoticeInfo joined;
        joined.groupId = QStringLiteral("g2");
        joined.groupName = QStringLiteral("Two");
        joined.memberList = {member(QStringLiteral("bob")), member(QStringLiteral("alice"))};
        m_state->onJoinedNotice(joined);
        QCOMPARE(m_state->ownRole(QStringLiteral("g2")), GroupCode::Member);
        QVERIFY(!m_state->dismiss(QStringLiteral("g2")));
        QVERIFY(!m_state->setMuted(QStringLiteral("g2"), QStringLiteral("bob"), true));
        QVERIFY(m_state->leave(QStringLiteral("g2")));
        QVERIFY(m_state->dismiss(g));
        // Removed by someone else: the group goes, with a line saying so first.
        QSignalSpy lines(m_state.get(), &GroupState::systemLine);
        Agent_RemoveGroupMemberNtyMsg removed;
        removed.groupId = QStringLiteral("g2");
        removed.sender = QStringLiteral("bob");
        removed.member = QStringLiteral("alice");
        m_state->onRemovedNotice(removed);
        QCOMPARE(lines.count(), 1);
        QVERIFY(!m_state->isGroup(QStringLiteral("g2")));
    }

    void systemLinesAreNeverUnreadAndGroupMessagesNameTheirSender()
    {
        ChatState chat;
        chat.setAccount(QStringLiteral("alice"));
        chat.setGroupSession(QStringLiteral("g1"));
        QVERIFY(!chat.addSystemLine(QStringLiteral("g1"), QStringLiteral("Bob joined")).isEmpty());
        QCOMPARE(chat.conversations()->unread(QStringLiteral("g1")), 0);
        ChatMsgData r;
        r.msgType = ChatType::Text;
        r.sender = QStringLiteral("bob");
        r.receiver = QStringLiteral("g1");
        r.sessionId = QStringLiteral("g1");
        r.msgContent = QStringLiteral("hi all");
        r.msgId = QStringLiteral("m1");
        chat.onReceiveMessage(r);
        MessageListModel *thread = chat.messages(QStringLiteral("g1"));
        QCOMPARE(thread->rowCount(), 2);
        QVERIFY(thread->at(0).system);
        QCOMPARE(thread->at(1).senderName, QStringLiteral("bob"));
        chat.setDisplayName(QStringLiteral("bob"), QStringLiteral("Bob Li"));
        QCOMPARE(thread->at(1).senderName, QStringLiteral("Bob Li"));
        QCOMPARE(chat.conversations()->unread(QStringLiteral("g1")), 1);
        // A person's conversation shows no names over the bubbles.
        r.receiver = QStringLiteral("alice");
        r.sessionId = QStringLiteral("bob");
        r.msgId = QStringLiteral("m2");
        chat.onReceiveMessage(r);
        QVERIFY(chat.messages(QStringLiteral("bob"))->at(0).senderName.isEmpty());
        // A group the chat has not heard of is one when the engine says so, whatever its id.
        r.sender = QStringLiteral("grace");
        r.receiver = r.sessionId = QStringLiteral("team-7");
        r.sessionType = 1;
        r.msgId = QStringLiteral("m3");
        chat.onReceiveMessage(r);
        QVERIFY(chat.isGroupSession(QStringLiteral("team-7")));
        QCOMPARE(chat.messages(QStringLiteral("team-7"))->at(0).senderName,
                 QStringLiteral("grace"));
        QVERIFY(!chat.isGroupSession(QStringLiteral("grace")));
    }
};
TQ_UI_TEST(TestGroupState)

// ---- The group windows, against the stand-in
// ------------------------------------------------------

class TestGroupWindows : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<UiScopedEnv> m_dataEnv;
    std::unique_ptr<UiScopedEnv> m_configEnv;
    TQ_LoginUI *m_loginUi = nullptr;
    TQ_MainUI *m_mainUi = nullptr;

    MainWindow *mainWindow() const { return m_mainUi->window(); }
    GroupState *groups() const { return m_mainUi->groups(); }
    ChatState *chat() const { return m_mainUi->chat(); }
    GroupMembersPanel *panel() const { return mainWindow()->membersPanel(); }
    template<class T> T *inMain(const char *name) const
    {
        return mainWindow()->findChild<T *>(QLatin1String(name));
    }
    template<class T> T *inLogin(const char *name) const
    {
        return m_loginUi->window()->findChild<T *>(QLatin1String(name));
    }

    static void typeInto(QLineEdit *edit, const QString &text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    bool logIn()
    {
        typeInto(inLogin<QLineEdit>("accountEdit"), QStringLiteral("alice"));
        typeInto(inLogin<QLineEdit>("passwordEdit"), QStringLiteral("alice"));
        QTest::mouseClick(inLogin<QPushButton>("loginButton"), Qt::LeftButton);
        return QTest::qWaitFor(
                   [&] {
                       return mainWindow()->isVisible() && mainWindow()->contacts()->rowCount() == 2
                           && TqProfiles::instance()->pendingQueries() == 0;
                   },
                   kPatience)
            && zssim::Control::waitIdle(kPatience);
    }

    bool logOut()
    {
        if (!TqSession::instance()->isLoggedIn())
            return true;
        QTest::mouseClick(inMain<QPushButton>("logoutButton"), Qt::LeftButton);
        return QTest::qWaitFor([&] { return m_loginUi->window()->isVisible(); }, kPatience)
            && zssim::Control::waitIdle(kPatience);
    }

    void showGroupsTab()
    {
        auto *tabs = inMain<QTabWidget>("sideTabs");
        tabs->setCurrentWidget(mainWindow()->groupsPanel());
        QVERIFY(mainWindow()->groupsPanel()->isVisible());
    }

    // Opens a group's chat as a person does: a click on it in the Groups tab.
    void openGroup(const QString &id)
    {
        showGroupsTab();
        auto *list = inMain<QListView>("groupList");
        const int row = groups()->groups()->rowOf(id);
        QVERIFY(row >= 0);
        const QRect rect = list->visualRect(groups()->groups()->index(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        TRY_COMPARE(mainWindow()->chatWindow()->peer(), id);
        TRY_VERIFY(panel()->isVisible());
    }

    void selectMember(const QString &account)
    {
        QListView *list = panel()->memberList();
        GroupMembersModel *model = groups()->members(panel()->groupId());
        const int row = model->rowOf(account);
        QVERIFY(row >= 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(model->index(row)).center());
        QCOMPARE(list->currentIndex().row(), row);
    }

    void clickIn(QWidget *parent, const char *name)
    {
        auto *b = parent->findChild<QPushButton *>(QLatin1String(name));
        QVERIFY2(b, name);
        QTRY_VERIFY(b->isVisible() && b->isEnabled());
        QTest::mouseClick(b, Qt::LeftButton);
    }

    bool hasLine(const QString &group, const QString &text) const
    {
        MessageListModel *thread = chat()->messages(group);
        for (int row = 0; row < thread->rowCount(); ++row)
            if (thread->at(row).system && thread->at(row).text == text)
                return true;
        return false;
    }

    static QList<GroupModel::Pushed> pushedTo(const QString &account)
    {
        QList<GroupModel::Pushed> list;
        zssim::Control::withServer(
            [&](zssim::ServerModel &s) { list = s.groups.pushed.value(account); });
        return list;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_dataEnv = std::make_unique<UiScopedEnv>("TQ_DATA_DIR",
                                                  m_dir.filePath(QStringLiteral("data")).toUtf8());
        m_configEnv = std::make_unique<UiScopedEnv>(
            "TQ_CONFIG_FILE", m_dir.filePath(QStringLiteral("tq.ini")).toUtf8());
        AppEnvionmentSetting::instance()->initConfig();
        TqClientContext::instance()->setQuitsApplication(false);
        TqClientContext::instance()->setLoggedOut();
        m_loginUi = new TQ_LoginUI;
        m_mainUi = new TQ_MainUI;
        if (!zssim::Control::table<ZS_MessageCallBack>())
            IM_CallBackProxy::instance()->registerCallbacks();
        QVERIFY(QTest::qWaitForWindowExposed(m_loginUi->window(), kPatience));
        zssim::Control::withServer([](zssim::ServerModel &s) { s.groups = GroupModel(); });
        QVERIFY(logIn());
    }

    void init()
    {
        zssim::Control::setMode(zssim::Mode::Automatic);
        zssim::Control::withServer([](zssim::ServerModel &s) {
            s.accounts = zssim::population::accounts();
            s.messages.echoContact = QStringLiteral("bob");
            s.messages.sendTextReason = 0;
            s.groups.answers = {{QStringLiteral("bob"), GroupModel::Accept},
                                {QStringLiteral("carol"), GroupModel::Accept}};
        });
        if (!TqSession::instance()->isLoggedIn())
            QVERIFY(logIn());
        zssim::Control::clearJournal();
    }

    void cleanupTestCase()
    {
        QVERIFY(logOut());
        delete m_mainUi;
        delete m_loginUi;
        TqClientContext::instance()->setQuitsApplication(true);
        m_dataEnv.reset();
        m_configEnv.reset();
        AppEnvionmentSetting::instance()->initConfig();
    }

    void publicGroupIsFoundJoinedAndLeft()
    {
        const QString club = QStringLiteral("group-900");
        showGroupsTab();
        clickIn(mainWindow()->groupsPanel(), "searchGroupsButton");
        GroupSearchDialog *search = mainWindow()->groupsPanel()->searchDialog();
        QVERIFY(search);
        TRY_VERIFY(search->isVisible());
        auto *edit = search->findChild<QLineEdit *>(QStringLiteral("groupSearchEdit"));
        typeInto(edit, QStringLiteral("design"));
        QTest::keyClick(edit, Qt::Key_Return);
        TRY_COMPARE(groups()->searchResults()->rowCount(), 1);
        QCOMPARE(groups()->searchResults()->at(0).id, club);
        auto *results = search->findChild<QListView *>(QStringLiteral("searchResults"));
        QTest::mouseClick(results->viewport(), Qt::LeftButton, {},
                          results->visualRect(groups()->searchResults()->index(0)).center());
        clickIn(search, "askToJoinButton");
        // bob, the owner, lets the user in.
        TRY_VERIFY(groups()->isGroup(club));
        QCOMPARE(groups()->groups()->find(club)->name, QStringLiteral("Design Club"));
        search->close();

        openGroup(club);
        TRY_VERIFY(hasLine(club, QStringLiteral("You joined the group “Design Club”.")));
        TRY_COMPARE(groups()->members(club)->rowCount(), 3);
        // The roles come with the full list, after the notice's.
        TRY_COMPARE(groups()->members(club)->at(0).role, GroupCode::Owner);
        QVERIFY(!inMain<QPushButton>("dismissGroupButton")->isVisible());
        QVERIFY(!inMain<QPushButton>("muteButton")->isVisible());
        clickIn(panel(), "leaveGroupButton");
        TRY_VERIFY(!groups()->isGroup(club));
        QVERIFY(hasLine(club, QStringLiteral("You left the group.")));
        TRY_VERIFY(!panel()->isVisible());
    }

    void groupIsMadeTalkedInManagedAndDismissed()
    {
        // Made with bob and carol, who accept.
        showGroupsTab();
        clickIn(mainWindow()->groupsPanel(), "createGroupButton");
        GroupCreateDialog *create = mainWindow()->groupsPanel()->createDialog();
        QVERIFY(create);
        TRY_VERIFY(create->isVisible());
        typeInto(create->findChild<QLineEdit *>(QStringLiteral("groupNameEdit")),
                 QStringLiteral("Launch team"));
        QTest::keyClicks(
            create->findChild<QPlainTextEdit *>(QStringLiteral("groupDescriptionEdit")),
            QStringLiteral("Shipping 2.0"));
        QCOMPARE(create->people()->count(), 2);
        create->people()->setChosen(QStringLiteral("bob"), true);
        create->people()->setChosen(QStringLiteral("carol"), true);
        clickIn(create, "createGroupConfirmButton");
        const auto made = [&] {
            for (int row = 0; row < groups()->groups()->rowCount(); ++row)
                if (groups()->groups()->at(row).name == QLatin1String("Launch team"))
                    return groups()->groups()->at(row).id;
            return QString();
        };
        TRY_VERIFY(!made().isEmpty());
        const QString g = made();
        QVERIFY(g.startsWith(QLatin1Char('g')));
        const QList<zssim::CallRecord> creates
            = zssim::Control::calls(QStringLiteral("CreateGroup"));
        QCOMPARE(creates.size(), 1);
        QVERIFY(creates.at(0).args.contains(QByteArray("Launch team")));
        QVERIFY(creates.at(0).args.contains(QByteArray("Shipping 2.0")));

        openGroup(g);
        GroupMembersModel *members = groups()->members(g);
        TRY_COMPARE(
            members->accounts(),
            QStringList({QStringLiteral("alice"), QStringLiteral("bob"), QStringLiteral("carol")}));
        TRY_VERIFY(hasLine(g, QStringLiteral("Bob Li joined the group.")));
        TRY_VERIFY(hasLine(g, QStringLiteral("Carol Zhang joined the group.")));
        QVERIFY(inMain<QPushButton>("dismissGroupButton")->isVisible());
        QVERIFY(!inMain<QPushButton>("leaveGroupButton")->isVisible());
        QCOMPARE(mainWindow()
                     ->chatWindow()
                     ->findChild<QLabel *>(QStringLiteral("chatPeerLabel"))
                     ->text(),
                 QStringLiteral("Launch team"));

        // A message to the group, and bob's echo under his name.
        ChatInput *input = mainWindow()->chatWindow()->input();
        input->setFocus();
        QTest::keyClicks(input, QStringLiteral("Hello team"));
        QTest::keyClick(input, Qt::Key_Return);
        MessageListModel *thread = chat()->messages(g);
        const auto echo = [&]() -> const ChatMessage * {
            for (int row = 0; row < thread->rowCount(); ++row) {
                const ChatMessage &m = thread->at(row);
                if (!m.outgoing && !m.system && m.text == QLatin1String("Hello team"))
                    return &m;
            }
            return nullptr;
        };
        TRY_VERIFY(echo());
        QCOMPARE(echo()->sender, QStringLiteral("bob"));
        QCOMPARE(echo()->senderName, QStringLiteral("Bob Li"));
        const QList<zssim::CallRecord> sent
            = zssim::Control::calls(QStringLiteral("SendTextMessageEX"));
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.at(0).args.value(0).toByteArray(), g.toUtf8());

        // carol is muted.
        selectMember(QStringLiteral("carol"));
        clickIn(panel(), "muteButton");
        TRY_VERIFY(members->find(QStringLiteral("carol"))->muted);
        QVERIFY(hasLine(g, QStringLiteral("You muted Carol Zhang.")));
        QTRY_COMPARE(inMain<QPushButton>("muteButton")->text(), QStringLiteral("Unmute"));
        zssim::Control::withServer([&](zssim::ServerModel &s) {
            QVERIFY(s.groups.find(g)->member(QStringLiteral("carol"))->muted);
        });

        // carol leaves.
        QVERIFY(zssim::injectMemberQuit(g, QStringLiteral("carol")));
        TRY_VERIFY(hasLine(g, QStringLiteral("Carol Zhang left the group.")));
        QCOMPARE(members->rowCount(), 2);
        QCOMPARE(panel()->findChild<QLabel *>(QStringLiteral("membersTitle"))->text(),
                 QStringLiteral("Members (2)"));

        // bob invites the user into his club; the user accepts.
        const QString club = QStringLiteral("group-900");
        QVERIFY(zssim::injectGroupInvitation(club, QStringLiteral("bob")));
        showGroupsTab();
        TRY_COMPARE(groups()->pending()->rowCount(), 1);
        TRY_VERIFY(inMain<QWidget>("pendingBox")->isVisible());
        clickIn(mainWindow()->groupsPanel(), "acceptPendingButton");
        TRY_VERIFY(groups()->isGroup(club));
        QVERIFY(!inMain<QWidget>("pendingBox")->isVisible());
        const QList<zssim::CallRecord> replies
            = zssim::Control::calls(QStringLiteral("ReplyInviteJoinGroup"));
        QCOMPARE(replies.size(), 1);
        QVERIFY(replies.at(0).args.contains(QByteArray("bob")));

        // carol asks to come back; the user lets her in.
        QVERIFY(zssim::injectJoinRequest(g, QStringLiteral("carol"), QStringLiteral("sorry")));
        TRY_COMPARE(groups()->pending()->rowCount(), 1);
        QVERIFY(groups()->pending()->index(0).data().toString().contains(QLatin1String("sorry")));
        clickIn(mainWindow()->groupsPanel(), "acceptPendingButton");
        TRY_VERIFY(members->find(QStringLiteral("carol")));
        zssim::Control::withServer([&](zssim::ServerModel &s) {
            QVERIFY(s.groups.find(g)->member(QStringLiteral("carol")));
        });
        const int joinedLines = [&] {
            int n = 0;
            for (int row = 0; row < thread->rowCount(); ++row)
                n += thread->at(row).text == QLatin1String("Carol Zhang joined the group.");
            return n;
        }();
        QCOMPARE(joinedLines, 2);

        // Dismissed by the user, the owner, after a question.
        openGroup(g);
        clickIn(panel(), "dismissGroupButton");
        QMessageBox *question = panel()->dismissQuestion();
        QVERIFY(question);
        TRY_VERIFY(question->isVisible());
        QTest::mouseClick(question->button(QMessageBox::Yes), Qt::LeftButton);
        TRY_VERIFY(!groups()->isGroup(g));
        QVERIFY(hasLine(g, QStringLiteral("You dismissed the group.")));
        TRY_VERIFY(!panel()->isVisible());
        bool bobHeard = false;
        for (const GroupModel::Pushed &p : pushedTo(QStringLiteral("bob")))
            bobHeard = bobHeard || (p.type == ZS_GROUP_NOTICE_DISMISSED && p.groupId == g);
        QVERIFY(bobHeard);
        QVERIFY(groups()->isGroup(club));
    }

    void removedMemberAndOthersDismissalShowAsLines()
    {
        const QString club = QStringLiteral("group-900");
        if (!groups()->isGroup(club)) {
            QVERIFY(zssim::injectGroupInvitation(club, QStringLiteral("bob")));
            TRY_COMPARE(groups()->pending()->rowCount(), 1);
            QVERIFY(groups()->answer(0, true));
            TRY_VERIFY(groups()->isGroup(club));
        }
        openGroup(club);
        TRY_VERIFY(groups()->members(club)->find(QStringLiteral("carol")));
        QVERIFY(zssim::injectMemberRemoved(club, QStringLiteral("bob"), QStringLiteral("carol")));
        TRY_VERIFY(hasLine(club, QStringLiteral("Bob Li removed Carol Zhang from the group.")));
        QVERIFY(!groups()->members(club)->find(QStringLiteral("carol")));

        // Any member may invite: carol is asked back through the invite dialog and accepts.
        clickIn(panel(), "inviteButton");
        GroupInviteDialog *invite = panel()->inviteDialog();
        QVERIFY(invite);
        TRY_VERIFY(invite->isVisible());
        QCOMPARE(invite->people()->count(), 1); // bob is in already
        invite->people()->setChosen(QStringLiteral("carol"), true);
        clickIn(invite, "inviteConfirmButton");
        TRY_VERIFY(groups()->members(club)->find(QStringLiteral("carol")));
        QVERIFY(hasLine(club, QStringLiteral("Carol Zhang joined the group.")));

        QVERIFY(zssim::injectGroupDismissed(club));
        TRY_VERIFY(hasLine(club, QStringLiteral("Bob Li dismissed the group.")));
        QVERIFY(!groups()->isGroup(club));
        // The conversation stays readable; the members panel goes.
        QCOMPARE(mainWindow()->chatWindow()->peer(), club);
        TRY_VERIFY(!panel()->isVisible());
    }

    void loggingOutForgetsTheGroups()
    {
        QVERIFY(logOut());
        QCOMPARE(groups()->groups()->rowCount(), 0);
        QCOMPARE(groups()->pending()->rowCount(), 0);
        QVERIFY(logIn());
        // Listed again from the server.
        zssim::Control::withServer([](zssim::ServerModel &s) {
            GroupModel::Group g;
            g.id = QStringLiteral("group-77");
            g.name = QStringLiteral("Kept");
            GroupModel::Member me;
            me.account = QStringLiteral("alice");
            me.role = GroupModel::Owner;
            g.members = {me};
            s.groups.groups.append(g);
        });
        groups()->refresh();
        TRY_VERIFY(groups()->isGroup(QStringLiteral("group-77")));
        QCOMPARE(groups()->ownRole(QStringLiteral("group-77")), GroupCode::Owner);
    }
};
TQ_UI_TEST(TestGroupWindows)

#include "tst_groups.moc"
