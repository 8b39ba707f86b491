// The login window, the main window, the app centre and their widget-free state objects:
// driven through their widgets against the stand-in engine, which the tests also play the
// server's side of (zssim::Control), and checked without widgets where that is closer.

#include "UiTest.h"

#include "tq_ui_test_paths.h"

#include <AppCatalog.h>
#include <ContactDelegate.h>
#include <ContactListModel.h>
#include <LoginSettings.h>
#include <LoginWindow.h>
#include <MainWindow.h>
#include <ProfileDialogs.h>
#include <SDK_Agent.h>
#include <TQ_AppCenter.h>
#include <TQ_CustomStyle.h>
#include <TQ_LoginUI.h>
#include <TQ_MainUI.h>
#include <TqAvatar.h>
#include <TqClientContext.h>
#include <TqEngineText.h>
#include <TqPresence.h>
#include <TqProfiles.h>
#include <TqSession.h>

#include <AppEnvionmentSetting.h>
#include <TQLog.h>
#include <ZSsdkControl.h>

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

#include <cstring>

namespace {

using G = ZS_GeneralCallBack;

// Generous, so that a loaded machine fails nothing; a wait that succeeds returns at once.
constexpr int kPatience = 30000;
#define TRY_VERIFY(expr) QTRY_VERIFY_WITH_TIMEOUT(expr, kPatience)
#define TRY_COMPARE(actual, expected) QTRY_COMPARE_WITH_TIMEOUT(actual, expected, kPatience)

Agent_PersonState state(const QString &user, int type, const QString &name = QString(),
                        const QString &note = QString())
{
    Agent_PersonState s;
    s.text1 = user;
    s.text2 = name.isEmpty() ? user : name;
    s.text4 = note;
    s.number1 = type;
    return s;
}

Agent_PersonInfo person(const QString &name, const QString &number, const QString &signature)
{
    Agent_PersonInfo info;
    info.text1 = name;
    info.text2 = number;
    info.text3 = signature;
    return info;
}

QStringList column(const QAbstractItemModel *model, int role)
{
    QStringList values;
    for (int row = 0; row < model->rowCount(); ++row)
        values << model->index(row, 0).data(role).toString();
    return values;
}

// Replaces a line edit's text by typing, as a person would.
void typeInto(QLineEdit *edit, const QString &text)
{
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(edit, c.toLatin1());
        else // as an input method delivers it
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// The engine's person record as SetPersonInfo received it.
ZS_PersonInfo sentPersonInfo(const zssim::CallRecord &call)
{
    ZS_PersonInfo info{};
    const QByteArray bytes = call.records.value(0);
    if (bytes.size() == int(sizeof info))
        std::memcpy(static_cast<void *>(&info), bytes.constData(), sizeof info);
    return info;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// ---- The widget-free state objects ------------------------------------------------------------

class TestUiStateObjects : public QObject
{
    Q_OBJECT
private slots:
    void loginSendsTheRecordAndStartsTheEngineOnce()
    {
        TqSession session;
        QSignalSpy init(&session, &TqSession::requestInitAgent);
        QSignalSpy env(&session, &TqSession::requestServerEnvironment);
        QSignalSpy login(&session, &TqSession::requestLogin);
        QStringList order;
        connect(&session, &TqSession::requestInitAgent, this, [&] { order << "init"; });
        connect(&session, &TqSession::requestServerEnvironment, this, [&] { order << "env"; });
        connect(&session, &TqSession::requestLogin, this, [&] { order << "login"; });

        TqLoginForm form{QStringLiteral(" alice "), QStringLiteral("pw"),
                         QStringLiteral(" im.example.test "), 5061, 2};
        QVERIFY(session.login(form));
        QCOMPARE(session.state(), TqSession::State::Connecting);
        QVERIFY(!session.login(form)); // one login at a time
        QCOMPARE(order, (QStringList{"init", "env", "login"}));
        QCOMPARE(env.at(0).at(0).toString(), QStringLiteral("servers.xml"));
        QCOMPARE(env.at(0).at(1).toInt(), 2);
        const auto record = login.at(0).at(0).value<Agent_LoginRequest>();
        Agent_LoginRequest expected;
        expected.number1 = 1;
        expected.text1 = QStringLiteral("alice");
        expected.text2 = QStringLiteral("pw");
        expected.text3 = QStringLiteral("im.example.test");
        expected.text4 = QStringLiteral("5061");
        QCOMPARE(record, expected);

        session.onConnectState({1, 0});
        session.onConnectState({3, 401});
        QCOMPARE(session.state(), TqSession::State::LoggedOut);
        QVERIFY(session.login(form));
        QCOMPARE(init.count(), 1); // once per session object, the bound one is per process
        QCOMPARE(login.count(), 2);
        QVERIFY(!TqSession().login(
            TqLoginForm{QStringLiteral("  "), QStringLiteral("pw"), QStringLiteral("h"), 1, 0}));
    }

    void connectionStatesDriveTheSession()
    {
        TqSession session;
        QSignalSpy failed(&session, &TqSession::loginFailed);
        QSignalSpy in(&session, &TqSession::loggedIn);
        QSignalSpy out(&session, &TqSession::loggedOut);
        QSignalSpy ended(&session, &TqSession::sessionEnded);
        QSignalSpy back(&session, &TqSession::reconnected);
        QSignalSpy publish(&session, &TqSession::requestPublishPresence);
        QSignalSpy logout(&session, &TqSession::requestLogout);
        const TqLoginForm form{QStringLiteral("alice"), QStringLiteral("pw"), QStringLiteral("h"),
                               1, 0};

        session.onConnectState({2, 200}); // not logging in: nothing happens
        QCOMPARE(in.count(), 0);

        session.login(form);
        session.onConnectState({3, 401});
        QCOMPARE(failed.count(), 1);
        QCOMPARE(failed.at(0).at(0).toInt(), 401);
        QCOMPARE(failed.at(0).at(1).toString(), TqEngineText::error(401));
        QCOMPARE(session.problem(), TqEngineText::error(401));
        session.onConnectState({2, 200}); // late: the login has failed
        QCOMPARE(in.count(), 0);

        session.login(form);
        session.onConnectState({1, 0});
        QCOMPARE(session.state(), TqSession::State::Connecting);
        session.onConnectState({2, 200});
        QCOMPARE(session.state(), TqSession::State::Connected);
        QCOMPARE(in.count(), 1);
        QCOMPARE(in.at(0).at(0).toString(), QStringLiteral("alice"));
        QVERIFY(session.problem().isEmpty());
        QCOMPARE(publish.count(), 1); // online at login
        QCOMPARE(publish.at(0), (QVariantList{1, 0, QString()}));

        session.onConnectState({1, 0}); // the connection is lost
        QCOMPARE(session.state(), TqSession::State::Reconnecting);
        QVERIFY(session.isLoggedIn());
        session.onConnectState({3, 408});
        QCOMPARE(session.state(), TqSession::State::Reconnecting);
        session.onConnectState({2, 200});
        QCOMPARE(session.state(), TqSession::State::Connected);
        QCOMPARE(back.count(), 1);
        QCOMPARE(publish.count(), 2); // presence again after reconnecting
        QCOMPARE(out.count(), 0);

        session.onConnectState({4, 0}); // the account logged in elsewhere
        QCOMPARE(session.state(), TqSession::State::LoggedOut);
        QCOMPARE(ended.count(), 1);
        QCOMPARE(out.count(), 1);
        QVERIFY(!session.problem().isEmpty());
        QCOMPARE(logout.count(), 0); // the server ended it

        session.login(form);
        session.onConnectState({2, 200});
        session.onLogOut(200); // the server logs us out
        QCOMPARE(ended.count(), 2);
        QCOMPARE(out.count(), 2);

        session.login(form);
        session.onConnectState({2, 200});
        session.logout();
        QCOMPARE(logout.count(), 1);
        QCOMPARE(out.count(), 3);
        session.onLogOut(200); // the answer to our own logout
        session.logout();
        QCOMPARE(ended.count(), 2);
        QCOMPARE(out.count(), 3);
        QCOMPARE(logout.count(), 1);
    }

    void unansweredLoginTimesOut()
    {
        TqSession session;
        session.setLoginTimeout(1);
        QSignalSpy failed(&session, &TqSession::loginFailed);
        session.login({QStringLiteral("alice"), QStringLiteral("pw"), QStringLiteral("h"), 1, 0});
        TRY_COMPARE(failed.count(), 1);
        QCOMPARE(failed.at(0).at(0).toInt(), 408);
        QCOMPARE(session.state(), TqSession::State::LoggedOut);
    }

    void presenceIsConfirmedByTheServer()
    {
        TqSession session;
        QSignalSpy publish(&session, &TqSession::requestPublishPresence);
        QSignalSpy changed(&session, &TqSession::presenceChanged);
        QSignalSpy refused(&session, &TqSession::presenceRefused);

        session.publishPresence(TqPresence::Busy); // logged out: kept for the login
        QCOMPARE(publish.count(), 0);
        session.login({QStringLiteral("alice"), QStringLiteral("pw"), QStringLiteral("h"), 1, 0});
        session.onConnectState({2, 200});
        QCOMPARE(publish.count(), 1);
        QCOMPARE(publish.at(0).at(0).toInt(), int(TqPresence::Busy));
        QCOMPARE(session.presence(), int(TqPresence::Unknown)); // not confirmed yet
        session.onPublishPresence(200);
        QCOMPARE(session.presence(), int(TqPresence::Busy));

        session.publishPresence(TqPresence::Away);
        session.onPublishPresence(403);
        QCOMPARE(refused.count(), 1);
        QCOMPARE(session.presence(), int(TqPresence::Busy));
        QCOMPARE(changed.last().at(0).toInt(), int(TqPresence::Busy)); // back to what it is

        session.logout();
        session.onPublishPresence(200); // the agent's own, at logout
        QCOMPARE(changed.count(), 2);
    }

    void profileAnswersAreMatchedInOrder()
    {
        TqProfiles profiles;
        QSignalSpy asked(&profiles, &TqProfiles::requestGetPersonInfo);
        QSignalSpy changed(&profiles, &TqProfiles::profileChanged);
        QSignalSpy unavailable(&profiles, &TqProfiles::profileUnavailable);

        profiles.onGetPersonInfo(200, person("Nobody", "", "")); // nobody asked
        QCOMPARE(changed.count(), 0);

        profiles.request(QStringLiteral("bob"));
        profiles.request(QStringLiteral("bob")); // already on its way
        profiles.request(QStringLiteral("carol"));
        profiles.request(QStringLiteral("dave"));
        QCOMPARE(asked.count(), 3);
        QVERIFY(profiles.isPending(QStringLiteral("bob")));

        profiles.onGetPersonInfo(200, person("Bob Li", "8002", "Fridays off"));
        profiles.onGetPersonInfo(200, person("Carol Zhang", "8003", "Design"));
        profiles.onGetPersonInfo(404, Agent_PersonInfo());
        QCOMPARE(profiles.profile(QStringLiteral("bob")).displayName, QStringLiteral("Bob Li"));
        QCOMPARE(profiles.profile(QStringLiteral("bob")).signature, QStringLiteral("Fridays off"));
        QCOMPARE(profiles.profile(QStringLiteral("carol")).shortNumber, QStringLiteral("8003"));
        QVERIFY(!profiles.contains(QStringLiteral("dave")));
        QCOMPARE(profiles.profile(QStringLiteral("dave")).shownName(), QStringLiteral("dave"));
        QCOMPARE(unavailable.count(), 1);
        QCOMPARE(unavailable.at(0), (QVariantList{QStringLiteral("dave"), 404}));
        QCOMPARE(changed.count(), 2);
        QVERIFY(!profiles.isPending(QStringLiteral("bob")));
    }

    void ownProfileIsAppliedWithTheServersVersion()
    {
        TqProfiles profiles;
        QSignalSpy sent(&profiles, &TqProfiles::requestSetPersonInfo);
        QSignalSpy saved(&profiles, &TqProfiles::ownSaved);
        QSignalSpy failed(&profiles, &TqProfiles::ownSaveFailed);

        TqPersonProfile edit;
        edit.displayName = QStringLiteral("Alice");
        QVERIFY(!profiles.saveOwn(edit)); // logged out
        QCOMPARE(sent.count(), 0);

        profiles.setAccount(QStringLiteral("alice"));
        profiles.request(QStringLiteral("alice"));
        Agent_PersonInfo known = person("Alice Wang", "8001", "Old");
        known.number1 = 7; // the client's own numbers go back as they came
        profiles.onGetPersonInfo(200, known);

        TqPersonProfile first = profiles.profile(QStringLiteral("alice"));
        first.displayName = QStringLiteral("Alice W.");
        TqPersonProfile second = first;
        second.signature = QStringLiteral("New");
        QVERIFY(profiles.saveOwn(first));
        QVERIFY(profiles.saveOwn(second));
        QCOMPARE(sent.count(), 2);
        const auto record = sent.at(1).at(0).value<Agent_PersonInfo>();
        QCOMPARE(record.text1, QStringLiteral("Alice W."));
        QCOMPARE(record.text2, QStringLiteral("8001"));
        QCOMPARE(record.text3, QStringLiteral("New"));
        QCOMPARE(record.number1, 7);
        QVERIFY(profiles.isSaving());
        // Not applied before the server says so.
        QCOMPARE(profiles.profile(QStringLiteral("alice")).displayName,
                 QStringLiteral("Alice Wang"));

        profiles.onSetPersonInfo(403, 0);
        QCOMPARE(failed.count(), 1);
        QCOMPARE(profiles.profile(QStringLiteral("alice")).displayName,
                 QStringLiteral("Alice Wang"));
        profiles.onSetPersonInfo(200, (1ULL << 32) + 9);
        QCOMPARE(saved.count(), 1);
        QCOMPARE(profiles.ownVersion(), (1ULL << 32) + 9);
        QCOMPARE(profiles.profile(QStringLiteral("alice")).signature, QStringLiteral("New"));
        QVERIFY(!profiles.isSaving());
        profiles.onSetPersonInfo(200, 99); // nothing of ours is on its way
        QCOMPARE(profiles.ownVersion(), (1ULL << 32) + 9);
    }

    void profileObjectFollowsTheStore()
    {
        TqProfiles profiles;
        TqProfile bob(QStringLiteral("bob"), &profiles);
        QSignalSpy changed(&bob, &TqProfile::changed);
        QCOMPARE(bob.status(), TqProfile::Status::Loading);
        bob.load();
        profiles.onGetPersonInfo(404, Agent_PersonInfo());
        QCOMPARE(bob.status(), TqProfile::Status::Unavailable);
        QCOMPARE(bob.failureReason(), 404);
        bob.load();
        QCOMPARE(bob.status(), TqProfile::Status::Loading);
        profiles.onGetPersonInfo(200, person("Bob Li", "8002", ""));
        QCOMPARE(bob.status(), TqProfile::Status::Ready);
        QCOMPARE(bob.data().displayName, QStringLiteral("Bob Li"));
        bob.load();
        profiles.onGetPersonInfo(408, Agent_PersonInfo()); // known data stays shown
        QCOMPARE(bob.status(), TqProfile::Status::Ready);
        QVERIFY(changed.count() >= 4);
    }

    void contactListTakesPushesAndUpdates()
    {
        ContactListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy added(&model, &ContactListModel::contactsAdded);
        model.setOwnAccount(QStringLiteral("alice"));

        model.onFriendsPresence({state("bob", 1, "Bob Li"), state("alice", 1),
                                 state("carol", 4, "Carol Zhang", "back at 3 pm")});
        QCOMPARE(column(&model, ContactListModel::UserRole), (QStringList{"bob", "carol"}));
        QCOMPARE(added.count(), 1);
        QCOMPARE(added.at(0).at(0).toStringList(), (QStringList{"bob", "carol"}));
        const QModelIndex carol = model.index(1);
        QCOMPARE(carol.data(ContactListModel::DisplayNameRole).toString(),
                 QStringLiteral("Carol Zhang"));
        QCOMPARE(carol.data(ContactListModel::PresenceRole).toInt(), int(TqPresence::Away));
        QCOMPARE(carol.data(ContactListModel::PresenceNoteRole).toString(),
                 QStringLiteral("back at 3 pm"));
        QCOMPARE(carol.data(ContactListModel::PresenceTextRole).toString(),
                 TqPresence::wording(TqPresence::Away, 0, QStringLiteral("back at 3 pm")));

        // A query's answer updates the listed, never adds a stranger.
        model.onUserStates(200, {state("bob", 3), state("dave", 1)});
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.index(0).data(ContactListModel::PresenceRole).toInt(),
                 int(TqPresence::Busy));
        model.onUserStates(404, {state("bob", 2)});
        QCOMPARE(model.index(0).data(ContactListModel::PresenceRole).toInt(),
                 int(TqPresence::Busy));
        model.onFriendsPresence({state("bob", 1)}); // known: no new contact
        QCOMPARE(added.count(), 1);

        TqPersonProfile profile;
        profile.user = QStringLiteral("bob");
        profile.displayName = QStringLiteral("Robert Li");
        profile.signature = QStringLiteral("Fridays off");
        profile.shortNumber = QStringLiteral("8002");
        model.applyProfile(profile);
        const QModelIndex bob = model.index(0);
        QCOMPARE(bob.data(Qt::DisplayRole).toString(), QStringLiteral("Robert Li"));
        QCOMPARE(bob.data(ContactListModel::SignatureRole).toString(),
                 QStringLiteral("Fridays off"));
        QCOMPARE(bob.data(ContactListModel::ShortNumberRole).toString(), QStringLiteral("8002"));
        model.onFriendsPresence({state("bob", 4)}); // the server's name does not hide the profile's
        QCOMPARE(bob.data(Qt::DisplayRole).toString(), QStringLiteral("Robert Li"));
        QCOMPARE(model.roleNames().value(ContactListModel::PresenceRole), QByteArray("presence"));

        model.setOwnAccount(QStringLiteral("bob")); // logged in as someone listed
        QCOMPARE(column(&model, ContactListModel::UserRole), QStringList{"carol"});
        model.clear();
        QCOMPARE(model.rowCount(), 0);
    }

    void searchAndOrder()
    {
        ContactListModel model;
        ContactFilterModel filter;
        filter.setSourceModel(&model);
        QAbstractItemModelTester tester(&filter,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.onFriendsPresence({state("carol", 4, "Carol Zhang"), state("bob", 1, "Bob Li"),
                                 state("dave", 2, "Dave"), state("erin", 1, "Adele Erin")});
        TqPersonProfile number;
        number.user = QStringLiteral("bob");
        number.displayName = QStringLiteral("Bob Li");
        number.shortNumber = QStringLiteral("8002");
        model.applyProfile(number);

        // Reachable first, then by name.
        QCOMPARE(column(&filter, ContactListModel::UserRole),
                 (QStringList{"erin", "bob", "carol", "dave"}));
        model.onFriendsPresence({state("dave", 1)});
        QCOMPARE(column(&filter, ContactListModel::UserRole),
                 (QStringList{"erin", "bob", "dave", "carol"}));

        filter.setSearchText(QStringLiteral("ZHANG"));
        QCOMPARE(column(&filter, ContactListModel::UserRole), QStringList{"carol"});
        filter.setSearchText(QStringLiteral("er")); // the user id
        QCOMPARE(column(&filter, ContactListModel::UserRole), QStringList{"erin"});
        filter.setSearchText(QStringLiteral("800"));
        QCOMPARE(column(&filter, ContactListModel::UserRole), QStringList{"bob"});
        filter.setSearchText(QStringLiteral("nobody"));
        QCOMPARE(filter.rowCount(), 0);
        filter.setSearchText(QStringLiteral("  "));
        QCOMPARE(filter.rowCount(), 4);
    }

    void appCatalogFollowsTheAgents()
    {
        AppCatalog catalog;
        QAbstractItemModelTester tester(&catalog,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QStringList ids;
        QStringList available;
        for (int row = 0; row < catalog.rowCount(); ++row) {
            const QModelIndex at = catalog.index(row);
            ids << at.data(AppCatalog::IdRole).toString();
            if (at.data(AppCatalog::AvailableRole).toBool())
                available << ids.last();
            QCOMPARE(bool(catalog.flags(at) & Qt::ItemIsEnabled),
                     at.data(AppCatalog::AvailableRole).toBool());
            QVERIFY(!at.data(AppCatalog::NameRole).toString().isEmpty());
        }
        QCOMPARE(ids,
                 (QStringList{TqFeature::messages(), TqFeature::groups(), TqFeature::calls(),
                              TqFeature::conferences(), TqFeature::meetings(),
                              TqFeature::whiteBoard(), TqFeature::roomVideo()}));
        // A feature is there exactly when its agent's header is.
        QStringList expected;
#if __has_include(<IM_Agent.h>)
        expected << TqFeature::messages() << TqFeature::groups();
#endif
#if __has_include(<Voip_Agent.h>)
        expected << TqFeature::calls();
#endif
#if __has_include(<Conference_Agent.h>)
        expected << TqFeature::conferences();
#endif
#if __has_include(<Meeting_Agent.h>)
        expected << TqFeature::meetings();
#endif
#if __has_include(<WhiteBoard_Agent.h>)
        expected << TqFeature::whiteBoard();
#endif
#if __has_include(<Vidyo_Agent.h>)
        expected << TqFeature::roomVideo();
#endif
        QCOMPARE(available, expected);
        QVERIFY(available.contains(TqFeature::calls())); // the call agent is in this tree
    }

    void initialsPresenceAndEngineWords()
    {
        QCOMPARE(TqAvatar::initialsOf(QStringLiteral("Bob Li")), QStringLiteral("BL"));
        QCOMPARE(TqAvatar::initialsOf(QStringLiteral("  alice   wang  lee ")),
                 QStringLiteral("AW"));
        QCOMPARE(TqAvatar::initialsOf(QStringLiteral("carol")), QStringLiteral("C"));
        QCOMPARE(TqAvatar::initialsOf(QString::fromUtf8("张三")), QString::fromUtf8("张"));
        QCOMPARE(TqAvatar::initialsOf(QString::fromUtf8("émile zola")), QString::fromUtf8("ÉZ"));
        QCOMPARE(TqAvatar::initialsOf(QString::fromUtf8("😀 x")), QString::fromUtf8("😀X"));
        QCOMPARE(TqAvatar::initialsOf(QString()), QString());
        QCOMPARE(TqAvatar::colorOf(QStringLiteral("bob")),
                 TqAvatar::colorOf(QStringLiteral("bob")));

        QCOMPARE(TqPresence::text(0), TqPresence::text(TqPresence::Offline));
        QCOMPARE(TqPresence::text(77), TqPresence::text(TqPresence::Offline));
        QVERIFY(TqPresence::rank(TqPresence::Online) < TqPresence::rank(TqPresence::Busy));
        QVERIFY(TqPresence::rank(TqPresence::Busy) < TqPresence::rank(TqPresence::Away));
        QVERIFY(TqPresence::rank(TqPresence::Away) < TqPresence::rank(TqPresence::Offline));
        QCOMPARE(TqPresence::wording(TqPresence::Away, 0, QStringLiteral(" lunch ")),
                 QStringLiteral("Away: lunch"));
        QCOMPARE(TqPresence::wording(TqPresence::Busy, 1, QString()),
                 QStringLiteral("Busy (in a meeting)"));

        QCOMPARE(TqEngineText::error(401), QStringLiteral("unauthorized"));
        QCOMPARE(TqEngineText::error(9999), QStringLiteral("unknown error 9999"));
        QCOMPARE(TqEngineText::connectState(4), QStringLiteral("Signed in elsewhere"));
        QVERIFY(!LoginWindow::hintFor(401).isEmpty());
        QVERIFY(LoginWindow::hintFor(200).isEmpty());
    }

    void editsMustFitTheEngineRecord()
    {
        TqPersonProfile edit;
        edit.displayName = QString(42, QChar(0x4E2D)) + QStringLiteral("ab"); // 128 bytes
        edit.shortNumber = QString(20, QLatin1Char('9'));
        edit.signature = QString(1305, QLatin1Char('s'));
        QVERIFY(EditProfileDialog::problemWith(edit).isEmpty());
        edit.displayName += QLatin1Char('c');
        QVERIFY(!EditProfileDialog::problemWith(edit).isEmpty());
        edit.displayName.chop(1);
        edit.shortNumber += QLatin1Char('9');
        QVERIFY(!EditProfileDialog::problemWith(edit).isEmpty());
        edit.shortNumber.chop(1);
        edit.signature += QChar(0xE9);
        QVERIFY(!EditProfileDialog::problemWith(edit).isEmpty());
    }

    void loginSettingsKeepNoPassword()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("AppEnvionment.ini"));
        QFile ini(path);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[General]\nMultiClients=true\n[SDK]\nTraceLevel=3\n");
        ini.close();

        LoginSettings settings(path);
        const TqLoginForm defaults = settings.load();
        QCOMPARE(defaults.server, LoginSettings::defaultServer());
        QCOMPARE(defaults.port, LoginSettings::defaultPort());
        QCOMPARE(settings.language(), int(LoginSettings::Chinese));

        settings.remember({QStringLiteral("alice"), QStringLiteral("Secret-42"),
                           QStringLiteral("tq.example.test"), 7000, 1});
        settings.setLanguage(LoginSettings::English);
        const TqLoginForm back = LoginSettings(path).load();
        QCOMPARE(back.account, QStringLiteral("alice"));
        QCOMPARE(back.server, QStringLiteral("tq.example.test"));
        QCOMPARE(back.port, 7000);
        QCOMPARE(back.environment, 1);
        QVERIFY(back.password.isEmpty());
        QVERIFY(!readAll(path).contains("Secret-42"));

        // The util library reads the same file: the language and the other values hold.
        qputenv("TQ_CONFIG_FILE", path.toUtf8());
        AppEnvionmentSetting::instance()->initConfig();
        QCOMPARE(AppEnvionmentSetting::instance()->getConfigLanguage(), 1);
        QVERIFY(AppEnvionmentSetting::instance()->getAppEnvionmentIsMutilClients());
        QCOMPARE(AppEnvionmentSetting::instance()->getAppEnvionmentConfig()->sdkTraceLevel(), 3);
        qunsetenv("TQ_CONFIG_FILE");
        AppEnvionmentSetting::instance()->initConfig();

        QSettings(path, QSettings::IniFormat).setValue(QStringLiteral("Login/Port"), "junk");
        QCOMPARE(LoginSettings(path).load().port, LoginSettings::defaultPort());
    }

    void sizesFollowTheFont()
    {
        QListView view;
        ContactDelegate delegate;
        QStyleOptionViewItem small;
        small.font.setPixelSize(12);
        small.fontMetrics = QFontMetrics(small.font);
        QStyleOptionViewItem large = small;
        large.font.setPixelSize(24);
        large.fontMetrics = QFontMetrics(large.font);
        const int smallHeight = delegate.sizeHint(small, QModelIndex()).height();
        const int largeHeight = delegate.sizeHint(large, QModelIndex()).height();
        QVERIFY2(largeHeight >= smallHeight * 17 / 10,
                 qPrintable(QStringLiteral("%1 -> %2").arg(smallHeight).arg(largeHeight)));

        TqAvatar avatar;
        QFont font = avatar.font();
        font.setPixelSize(12);
        avatar.setFont(font);
        const int side = avatar.sizeHint().width();
        font.setPixelSize(24);
        avatar.setFont(font);
        QVERIFY(avatar.sizeHint().width() >= side * 17 / 10);
    }

    void styleSheetParsesAndScales()
    {
        const QString qss = TQ_CustomStyle::styleSheet();
        QVERIFY(qss.contains(QStringLiteral("QPushButton[role=\"primary\"]")));
        // Only hairlines are in pixels; everything else follows the font.
        const QRegularExpression pixels(QStringLiteral("(\\d+(\\.\\d+)?)px"));
        for (auto it = pixels.globalMatch(qss); it.hasNext();) {
            const QString size = it.next().captured(1);
            QVERIFY2(size == QLatin1String("1"), qPrintable(size + "px"));
        }

        static QStringList warnings;
        warnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &m) { warnings << m; });
        QWidget widget;
        widget.setStyleSheet(qss);
        auto *button = new QPushButton(QStringLiteral("x"), &widget);
        button->setProperty("role", QByteArray("primary"));
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget, kPatience));
        qInstallMessageHandler(previous);
        QVERIFY2(warnings.filter(QStringLiteral("style")).isEmpty(),
                 qPrintable(warnings.join('\n')));
    }
};
TQ_UI_TEST(TestUiStateObjects)

// ---- The windows against the stand-in engine --------------------------------------------------

class TestLoginAndMainWindows : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config;
    TQ_LoginUI *m_loginUi = nullptr;
    TQ_MainUI *m_mainUi = nullptr;
    TqClientContext *m_context = TqClientContext::instance();

    QWidget *loginWindow() const { return m_loginUi->window(); }
    MainWindow *mainWindow() const { return m_mainUi->window(); }
    template<class T> T *inLogin(const char *name) const
    {
        return loginWindow()->findChild<T *>(QLatin1String(name));
    }
    template<class T> T *inMain(const char *name) const
    {
        return mainWindow()->findChild<T *>(QLatin1String(name));
    }
    QString settingsPath() const { return m_config.filePath(QStringLiteral("AppEnvionment.ini")); }

    void submitLogin(const QString &account, const QString &password)
    {
        typeInto(inLogin<QLineEdit>("accountEdit"), account);
        typeInto(inLogin<QLineEdit>("passwordEdit"), password);
        QTest::mouseClick(inLogin<QPushButton>("loginButton"), Qt::LeftButton);
    }

    bool logIn(const QString &account = QStringLiteral("alice"),
               const QString &password = QStringLiteral("alice"))
    {
        submitLogin(account, password);
        // Logged in, and every answer the login brought about is in.
        const auto loggedIn = [&] {
            return mainWindow()->isVisible() && mainWindow()->contacts()->rowCount() == 2
                && TqProfiles::instance()->pendingQueries() == 0;
        };
        return QTest::qWaitFor(loggedIn, kPatience) && zssim::Control::waitIdle(kPatience)
            && QTest::qWaitFor([] { return TqSession::instance()->presence() != 0; }, kPatience);
    }

    bool logOut()
    {
        if (!TqSession::instance()->isLoggedIn())
            return true;
        QTest::mouseClick(inMain<QPushButton>("logoutButton"), Qt::LeftButton);
        return QTest::qWaitFor([&] { return loginWindow()->isVisible(); }, kPatience)
            && zssim::Control::waitIdle(kPatience);
    }

    QModelIndex shownRowOf(const QString &user) const
    {
        const QAbstractItemModel *shown = inMain<QListView>("contactList")->model();
        for (int row = 0; row < shown->rowCount(); ++row) {
            const QModelIndex at = shown->index(row, 0);
            if (at.data(ContactListModel::UserRole).toString() == user)
                return at;
        }
        return QModelIndex();
    }

    int presenceOf(const QString &user) const
    {
        ContactListModel *model = mainWindow()->contacts();
        const int row = model->rowOf(user);
        return row < 0 ? -1 : model->index(row).data(ContactListModel::PresenceRole).toInt();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("TQ_CONFIG_FILE", settingsPath().toUtf8());
        QFile ini(settingsPath());
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[SDK]\nTraceLevel=3\n"); // the engine's trace file is checked too
        ini.close();
        AppEnvionmentSetting::instance()->initConfig();
        m_context->setQuitsApplication(false);
        m_loginUi = new TQ_LoginUI;
        m_mainUi = new TQ_MainUI;
        TQ_AppCenter::instance();
        QVERIFY(QTest::qWaitForWindowExposed(loginWindow(), kPatience));
        QVERIFY(!mainWindow()->isVisible());
    }

    void init()
    {
        QVERIFY(logOut());
        zssim::Control::setMode(zssim::Mode::Automatic);
        zssim::Control::withServer([](zssim::ServerModel &s) {
            s.accounts = zssim::population::accounts();
            s.presence = zssim::population::presence();
            s.personInfo = zssim::population::personInfo();
        });
        inLogin<QLabel>("errorLabel")->hide();
    }

    void cleanupTestCase()
    {
        QVERIFY(logOut());
        delete m_mainUi;
        delete m_loginUi;
        m_context->setQuitsApplication(true);
        qunsetenv("TQ_CONFIG_FILE");
        AppEnvionmentSetting::instance()->initConfig();
    }

    void wrongPasswordShowsWhyAndKeepsTheFields()
    {
        auto *server = inLogin<QLineEdit>("serverEdit");
        typeInto(server, QStringLiteral("tq.example.test"));
        typeInto(inLogin<QLineEdit>("portEdit"), QStringLiteral("5070"));
        const int initsBefore = zssim::Control::callCount(QStringLiteral("ZSSDK_Initialize"));
        const int loginsBefore = zssim::Control::callCount(QStringLiteral("Login"));

        // The test answers: first the request is only journaled.
        zssim::Control::setMode(zssim::Mode::Manual);
        submitLogin(QStringLiteral("alice"), QStringLiteral("not-her-password"));
        QVERIFY(zssim::Control::waitForCalls(QStringLiteral("Login"), loginsBefore + 1, kPatience));
        auto *button = inLogin<QPushButton>("loginButton");
        QVERIFY(!button->isEnabled());
        QVERIFY(inLogin<QProgressBar>("busyIndicator")->isVisible());
        QVERIFY(!inLogin<QLineEdit>("passwordEdit")->isEnabled());

        const zssim::CallRecord login = zssim::Control::calls(QStringLiteral("Login")).last();
        QCOMPARE(login.args.value(0).toInt(), 1);
        QCOMPARE(login.args.value(1).toByteArray(), QByteArray("alice"));
        QCOMPARE(login.args.value(3).toByteArray(), QByteArray("tq.example.test"));
        QCOMPARE(login.args.value(4).toByteArray(), QByteArray("5070"));
        const zssim::CallRecord env
            = zssim::Control::calls(QStringLiteral("SetServerEnvType")).last();
        QCOMPARE(env.args, (QVariantList{0, QByteArray("servers.xml")}));

        zssim::Control::fire(&G::onConnectState, 1, 0);
        TRY_COMPARE(inLogin<QLabel>("stateLabel")->text(), TqEngineText::connectState(1));
        zssim::Control::fire(&G::onConnectState, 3, 401);
        auto *error = inLogin<QLabel>("errorLabel");
        TRY_VERIFY(error->isVisible());
        QVERIFY(button->isEnabled());

        // Again, and the stand-in decides as its server would.
        zssim::Control::setMode(zssim::Mode::Automatic);
        submitLogin(QStringLiteral("alice"), QStringLiteral("not-her-password"));
        QVERIFY(!error->isVisible());
        TRY_VERIFY(error->isVisible());
        QVERIFY2(error->text().contains(TqEngineText::error(401)), qPrintable(error->text()));
        QVERIFY(error->text().contains(LoginWindow::hintFor(401)));
        QCOMPARE(inLogin<QLabel>("stateLabel")->text(), TqEngineText::connectState(3));

        QVERIFY(button->isEnabled());
        QVERIFY(!inLogin<QProgressBar>("busyIndicator")->isVisible());
        QCOMPARE(inLogin<QLineEdit>("accountEdit")->text(), QStringLiteral("alice"));
        QCOMPARE(inLogin<QLineEdit>("passwordEdit")->text(), QStringLiteral("not-her-password"));
        QCOMPARE(server->text(), QStringLiteral("tq.example.test"));
        QVERIFY(inLogin<QLineEdit>("passwordEdit")->isEnabled());
        QVERIFY(!mainWindow()->isVisible());
        QVERIFY(!m_context->isLoggedIn());

        // No such account: its own reason.
        submitLogin(QStringLiteral("mallory"), QStringLiteral("x"));
        TRY_VERIFY(error->text().contains(TqEngineText::error(404)));
        // The engine was started by the first login of this process, and only then.
        QVERIFY(zssim::Control::callCount(QStringLiteral("ZSSDK_Initialize")) - initsBefore <= 1);
        QVERIFY(zssim::Control::initialized());
    }

    void emptyFieldsAreNotSent()
    {
        const int before = zssim::Control::callCount(QStringLiteral("Login"));
        typeInto(inLogin<QLineEdit>("accountEdit"), QStringLiteral("alice"));
        inLogin<QLineEdit>("passwordEdit")->clear();
        QTest::mouseClick(inLogin<QPushButton>("loginButton"), Qt::LeftButton);
        QVERIFY(inLogin<QLabel>("errorLabel")->isVisible());
        QCOMPARE(TqSession::instance()->state(), TqSession::State::LoggedOut);
        QVERIFY(zssim::Control::waitIdle(kPatience));
        QCOMPARE(zssim::Control::callCount(QStringLiteral("Login")), before);
    }

    void rightLoginShowsContactsWithPresence()
    {
        zssim::Control::clearJournal();
        submitLogin(QStringLiteral("alice"), QStringLiteral("alice"));
        TRY_VERIFY(mainWindow()->isVisible());
        QVERIFY(!loginWindow()->isVisible());
        QVERIFY(m_context->isLoggedIn());
        QCOMPARE(m_context->account(), QStringLiteral("alice"));
        QVERIFY(inLogin<QLineEdit>("passwordEdit")->text().isEmpty());

        auto *list = inMain<QListView>("contactList");
        TRY_COMPARE(list->model()->rowCount(), 2);
        // Online bob before away carol, with their names, signatures and presence.
        TRY_COMPARE(column(list->model(), ContactListModel::SignatureRole),
                    (QStringList{"Out of office on Fridays", "Design is how it works"}));
        QCOMPARE(column(list->model(), ContactListModel::UserRole), (QStringList{"bob", "carol"}));
        QCOMPARE(column(list->model(), Qt::DisplayRole), (QStringList{"Bob Li", "Carol Zhang"}));
        QCOMPARE(presenceOf(QStringLiteral("bob")), int(TqPresence::Online));
        QCOMPARE(presenceOf(QStringLiteral("carol")), int(TqPresence::Away));
        QCOMPARE(
            shownRowOf(QStringLiteral("carol")).data(ContactListModel::PresenceTextRole).toString(),
            TqPresence::wording(TqPresence::Away, 0, QStringLiteral("back at 3 pm")));
        QCOMPARE(m_context->displayName(QStringLiteral("bob")), QStringLiteral("Bob Li"));

        TRY_COMPARE(inMain<QLabel>("ownNameLabel")->text(), QStringLiteral("Alice Wang"));
        QCOMPARE(inMain<QLabel>("ownSignatureLabel")->text(),
                 QStringLiteral("Shipping the desktop client"));
        QCOMPARE(inMain<TqAvatar>("ownAvatar")->initials(), QStringLiteral("AW"));
        QVERIFY(inMain<QLabel>("connectionLabel")->text().contains(QStringLiteral("alice")));
        QVERIFY(!inMain<QLabel>("reconnectBanner")->isVisible());

        // The user states of the contacts were asked for, and the user is online.
        QVERIFY(zssim::Control::waitForCalls(QStringLiteral("GetUserState"), 1, kPatience));
        const auto states = zssim::Control::calls(QStringLiteral("GetUserState")).first();
        QCOMPARE(states.args.mid(0, 3), (QVariantList{2, QByteArray("bob"), QByteArray("carol")}));
        TRY_COMPARE(TqSession::instance()->presence(), int(TqPresence::Online));
        const auto published = zssim::Control::calls(QStringLiteral("PublishPresence_TQ")).first();
        QCOMPARE(published.args.mid(0, 2), (QVariantList{1, 0}));
        QCOMPARE(inMain<QComboBox>("presenceCombo")->currentData().toInt(),
                 int(TqPresence::Online));

        // The fields are remembered for the next start, never the password.
        const TqLoginForm remembered = LoginSettings(settingsPath()).load();
        QCOMPARE(remembered.account, QStringLiteral("alice"));
        LoginWindow fresh(TqSession::instance(), LoginSettings(settingsPath()));
        QCOMPARE(fresh.findChild<QLineEdit *>(QStringLiteral("accountEdit"))->text(),
                 QStringLiteral("alice"));
        QCOMPARE(fresh.findChild<QLineEdit *>(QStringLiteral("serverEdit"))->text(),
                 remembered.server);
    }

    void contactsPresenceChangesAreShown()
    {
        QVERIFY(logIn());
        auto *list = inMain<QListView>("contactList");
        zssim::Control::injectFriendPresence(QStringLiteral("bob"), TqPresence::Busy, 1, "");
        TRY_COMPARE(presenceOf(QStringLiteral("bob")), int(TqPresence::Busy));
        QCOMPARE(
            shownRowOf(QStringLiteral("bob")).data(ContactListModel::PresenceTextRole).toString(),
            TqPresence::wording(TqPresence::Busy, 1, QString()));
        zssim::Control::injectFriendPresence(QStringLiteral("bob"), TqPresence::Offline, 0, "");
        TRY_COMPARE(presenceOf(QStringLiteral("bob")), int(TqPresence::Offline));
        // Offline now: carol comes first.
        QCOMPARE(column(list->model(), ContactListModel::UserRole), (QStringList{"carol", "bob"}));
        zssim::Control::injectFriendPresence(QStringLiteral("carol"), TqPresence::Online, 0,
                                             "at my desk");
        TRY_COMPARE(
            shownRowOf(QStringLiteral("carol")).data(ContactListModel::PresenceNoteRole).toString(),
            QStringLiteral("at my desk"));
    }

    void ownPresenceIsPublished()
    {
        QVERIFY(logIn());
        TRY_COMPARE(TqSession::instance()->presence(), int(TqPresence::Online));
        const int before = zssim::Control::callCount(QStringLiteral("PublishPresence_TQ"));
        auto *combo = inMain<QComboBox>("presenceCombo");
        QVERIFY(combo->isEnabled());
        QTest::keyClick(combo, Qt::Key_Down); // Online -> Busy
        QVERIFY(zssim::Control::waitForCalls(QStringLiteral("PublishPresence_TQ"), before + 1,
                                             kPatience));
        const auto call = zssim::Control::calls(QStringLiteral("PublishPresence_TQ")).last();
        QCOMPARE(call.args.mid(0, 3), (QVariantList{int(TqPresence::Busy), 0, QByteArray("")}));
        TRY_COMPARE(TqSession::instance()->presence(), int(TqPresence::Busy));
        zssim::Control::withServer([](zssim::ServerModel &s) {
            QCOMPARE(s.presence.value(QStringLiteral("alice")).type, int(TqPresence::Busy));
        });
    }

    void profileEditReachesTheEngine()
    {
        QVERIFY(logIn());
        TRY_COMPARE(inMain<QLabel>("ownNameLabel")->text(), QStringLiteral("Alice Wang"));
        const int before = zssim::Control::callCount(QStringLiteral("SetPersonInfo"));
        zssim::Control::setMode(zssim::Mode::Manual); // the test answers

        QTest::mouseClick(inMain<QToolButton>("editProfileButton"), Qt::LeftButton);
        EditProfileDialog *dialog = nullptr;
        TRY_VERIFY((dialog = mainWindow()->findChild<EditProfileDialog *>())
                   && dialog->isVisible());
        typeInto(dialog->findChild<QLineEdit *>(QStringLiteral("nameEdit")),
                 QString::fromUtf8("Alice Wáng"));
        typeInto(dialog->findChild<QLineEdit *>(QStringLiteral("signatureEdit")),
                 QStringLiteral("Ready to ship"));
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("saveButton")),
                          Qt::LeftButton);
        QVERIFY(
            zssim::Control::waitForCalls(QStringLiteral("SetPersonInfo"), before + 1, kPatience));

        const ZS_PersonInfo sent
            = sentPersonInfo(zssim::Control::calls(QStringLiteral("SetPersonInfo")).last());
        QCOMPARE(QString::fromUtf8(sent.text1), QString::fromUtf8("Alice Wáng"));
        QCOMPARE(QByteArray(sent.text2), QByteArray("8001"));
        QCOMPARE(QByteArray(sent.text3), QByteArray("Ready to ship"));
        zssim::Control::withServer([](zssim::ServerModel &s) {
            const QByteArray stored = s.personInfo.value(QStringLiteral("alice"));
            QVERIFY(stored.contains("Ready to ship"));
        });
        // Shown only once the server has answered, with the version it gave.
        QCOMPARE(inMain<QLabel>("ownNameLabel")->text(), QStringLiteral("Alice Wang"));
        const qulonglong version = (1ULL << 32) + 77;
        zssim::Control::fire(&G::onSetPersonInfo, 1u, 200, version);
        TRY_COMPARE(inMain<QLabel>("ownNameLabel")->text(), QString::fromUtf8("Alice Wáng"));
        QCOMPARE(inMain<QLabel>("ownSignatureLabel")->text(), QStringLiteral("Ready to ship"));
        QCOMPARE(TqProfiles::instance()->ownVersion(), version);
        QVERIFY(mainWindow()->statusBar()->currentMessage().contains(QString::number(version)));

        // A refused edit leaves the profile as it was.
        QTest::mouseClick(inMain<QToolButton>("editProfileButton"), Qt::LeftButton);
        TRY_VERIFY((dialog = mainWindow()->findChild<EditProfileDialog *>())
                   && dialog->isVisible());
        typeInto(dialog->findChild<QLineEdit *>(QStringLiteral("nameEdit")), QStringLiteral("X"));
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("saveButton")),
                          Qt::LeftButton);
        QVERIFY(
            zssim::Control::waitForCalls(QStringLiteral("SetPersonInfo"), before + 2, kPatience));
        zssim::Control::fire(&G::onSetPersonInfo, 2u, 403, 0ULL);
        TRY_VERIFY(mainWindow()->statusBar()->currentMessage().contains(TqEngineText::error(403)));
        QCOMPARE(inMain<QLabel>("ownNameLabel")->text(), QString::fromUtf8("Alice Wáng"));
        QCOMPARE(TqProfiles::instance()->ownVersion(), version);
        zssim::Control::setMode(zssim::Mode::Automatic);
    }

    void searchFiltersTheList()
    {
        QVERIFY(logIn());
        auto *list = inMain<QListView>("contactList");
        auto *search = inMain<QLineEdit>("searchEdit");
        TRY_COMPARE(column(list->model(), ContactListModel::ShortNumberRole),
                    (QStringList{"8002", "8003"}));
        QTest::keyClicks(search, QStringLiteral("CAR"));
        QCOMPARE(column(list->model(), ContactListModel::UserRole), QStringList{"carol"});
        typeInto(search, QStringLiteral("li")); // Bob Li
        QCOMPARE(column(list->model(), ContactListModel::UserRole), QStringList{"bob"});
        typeInto(search, QStringLiteral("8003"));
        QCOMPARE(column(list->model(), ContactListModel::UserRole), QStringList{"carol"});
        typeInto(search, QStringLiteral("zzz"));
        QCOMPARE(list->model()->rowCount(), 0);
        auto *note = inMain<QLabel>("emptyNote");
        QVERIFY(note->isVisible());
        QVERIFY(note->text().contains(QStringLiteral("zzz")));
        QTest::keyClick(search, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(search, Qt::Key_Backspace);
        QCOMPARE(list->model()->rowCount(), 2);
        QVERIFY(!note->isVisible());
    }

    void contextMenuCallsAndShowsProfiles()
    {
        QVERIFY(logIn());
        QSignalSpy calls(m_context, &TqClientContext::callRequested);
        auto *list = inMain<QListView>("contactList");
        const auto openMenuOn = [&](const QString &user) -> QMenu * {
            const QPoint at = list->visualRect(shownRowOf(user)).center();
            QContextMenuEvent event(QContextMenuEvent::Mouse, at,
                                    list->viewport()->mapToGlobal(at));
            QApplication::sendEvent(list->viewport(), &event);
            QMenu *menu = nullptr;
            (void)QTest::qWaitFor(
                [&] {
                    menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                    return menu && menu->isVisible();
                },
                kPatience);
            return menu;
        };
        const auto choose = [&](QMenu *menu, const char *action) {
            QAction *item = menu->findChild<QAction *>(QLatin1String(action));
            QVERIFY(item);
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        };

        QMenu *menu = openMenuOn(QStringLiteral("carol"));
        QVERIFY(menu);
        choose(menu, "videoCallAction");
        TRY_COMPARE(calls.count(), 1);
        QCOMPARE(calls.at(0), (QVariantList{QStringLiteral("carol"), true}));

        menu = openMenuOn(QStringLiteral("bob"));
        QVERIFY(menu);
        choose(menu, "callAction");
        TRY_COMPARE(calls.count(), 2);
        QCOMPARE(calls.at(1), (QVariantList{QStringLiteral("bob"), false}));

        zssim::Control::clearJournal();
        menu = openMenuOn(QStringLiteral("bob"));
        QVERIFY(menu);
        choose(menu, "profileAction");
        ProfileDialog *dialog = nullptr;
        TRY_VERIFY((dialog = mainWindow()->findChild<ProfileDialog *>()) && dialog->isVisible());
        QCOMPARE(dialog->user(), QStringLiteral("bob"));
        QVERIFY(zssim::Control::waitForCalls(QStringLiteral("GetPersonInfo"), 1, kPatience));
        QCOMPARE(zssim::Control::calls(QStringLiteral("GetPersonInfo")).last().args.value(0),
                 QVariant(QByteArray("bob")));
        const auto text = [&](const char *name) {
            return dialog->findChild<QLabel *>(QLatin1String(name))->text();
        };
        TRY_VERIFY(!dialog->findChild<QLabel *>(QStringLiteral("statusLabel"))->isVisible());
        QCOMPARE(text("nameLabel"), QStringLiteral("Bob Li"));
        QCOMPARE(text("numberLabel"), QStringLiteral("8002"));
        QCOMPARE(text("signatureLabel"), QStringLiteral("Out of office on Fridays"));
        QCOMPARE(text("presenceLabel"), TqPresence::text(TqPresence::Online));
        zssim::Control::injectFriendPresence(QStringLiteral("bob"), TqPresence::Away, 0, "");
        TRY_COMPARE(text("presenceLabel"), TqPresence::text(TqPresence::Away));

        QPointer<ProfileDialog> guard(dialog);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("callButton")),
                          Qt::LeftButton);
        TRY_COMPARE(calls.count(), 3);
        QCOMPARE(calls.at(2), (QVariantList{QStringLiteral("bob"), false}));
        TRY_VERIFY(!guard); // closed and gone

        // Other windows ask for a profile through the context.
        m_context->requestProfile(QStringLiteral("carol"));
        TRY_VERIFY((dialog = mainWindow()->findChild<ProfileDialog *>()) && dialog->isVisible());
        QCOMPARE(dialog->user(), QStringLiteral("carol"));
        TRY_COMPARE(text("nameLabel"), QStringLiteral("Carol Zhang"));
        dialog->close();
    }

    void lostConnectionShowsABannerUntilBack()
    {
        QVERIFY(logIn());
        auto *banner = inMain<QLabel>("reconnectBanner");
        QVERIFY(!banner->isVisible());
        const int queries = zssim::Control::callCount(QStringLiteral("GetUserState"));
        zssim::Control::fire(&G::onConnectState, 1, 0);
        TRY_VERIFY(banner->isVisible());
        QCOMPARE(TqSession::instance()->state(), TqSession::State::Reconnecting);
        QVERIFY(mainWindow()->isVisible());
        QVERIFY(!inMain<QComboBox>("presenceCombo")->isEnabled());
        const QString status = inMain<QLabel>("connectionLabel")->text();
        QVERIFY2(status.contains(QStringLiteral("Reconnecting")), qPrintable(status));

        zssim::Control::fire(&G::onConnectState, 2, 200);
        TRY_VERIFY(!banner->isVisible());
        // Back: the contacts' states are asked for again.
        QVERIFY(
            zssim::Control::waitForCalls(QStringLiteral("GetUserState"), queries + 1, kPatience));
        QVERIFY(inMain<QComboBox>("presenceCombo")->isEnabled());
    }

    void loggedInElsewhereReturnsToLogin()
    {
        QVERIFY(logIn());
        zssim::Control::fire(&G::onConnectState, 4, 0);
        TRY_VERIFY(loginWindow()->isVisible());
        QVERIFY(!mainWindow()->isVisible());
        QVERIFY(!m_context->isLoggedIn());
        auto *error = inLogin<QLabel>("errorLabel");
        QVERIFY(error->isVisible());
        QVERIFY(error->text().contains(QStringLiteral("another device")));
        QVERIFY(inLogin<QPushButton>("loginButton")->isEnabled());
    }

    void logoutReturnsToLogin()
    {
        QVERIFY(logIn());
        QSignalSpy out(m_context, &TqClientContext::loggedOut);
        const int logouts = zssim::Control::callCount(QStringLiteral("Logout"));
        QTest::mouseClick(inMain<QPushButton>("logoutButton"), Qt::LeftButton);
        TRY_VERIFY(loginWindow()->isVisible());
        QVERIFY(!mainWindow()->isVisible());
        QCOMPARE(out.count(), 1);
        QVERIFY(!m_context->isLoggedIn());
        QCOMPARE(mainWindow()->contacts()->rowCount(), 0);
        QVERIFY(zssim::Control::waitForCalls(QStringLiteral("Logout"), logouts + 1, kPatience));
        QCOMPARE(inLogin<QLineEdit>("accountEdit")->text(), QStringLiteral("alice"));
        QVERIFY(inLogin<QLineEdit>("passwordEdit")->text().isEmpty());
        QVERIFY(!inLogin<QLabel>("errorLabel")->isVisible());
        QVERIFY(inLogin<QPushButton>("loginButton")->isEnabled());

        // Someone else logs in next: nothing of alice's stays.
        QVERIFY(logIn(QStringLiteral("bob"), QStringLiteral("bob")));
        QCOMPARE(column(inMain<QListView>("contactList")->model(), ContactListModel::UserRole),
                 (QStringList{"carol", "alice"}));
        TRY_COMPARE(inMain<QLabel>("ownNameLabel")->text(), QStringLiteral("Bob Li"));
    }

    void appCenterOpensFromTheMainWindow()
    {
        QVERIFY(logIn());
        QSignalSpy features(m_context, &TqClientContext::featureRequested);
        QWidget *apps = TQ_AppCenter::instance()->window();
        QVERIFY(!apps->isVisible());
        QTest::mouseClick(inMain<QPushButton>("appsButton"), Qt::LeftButton);
        TRY_VERIFY(apps->isVisible());
        auto *list = apps->findChild<QListView *>(QStringLiteral("featureList"));
        QModelIndex calls;
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            const QModelIndex at = list->model()->index(row, 0);
            if (at.data(AppCatalog::IdRole).toString() == TqFeature::calls())
                calls = at;
        }
        QVERIFY(calls.isValid());
        QVERIFY(QTest::qWaitForWindowExposed(apps, kPatience));
        TRY_VERIFY(!list->visualRect(calls).isEmpty()); // laid out
        const QPoint at = list->visualRect(calls).center();
        // A double click as a mouse makes it: press, release, double-click, release.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
        TRY_COMPARE(features.count(), 2);
        QCOMPARE(features.at(0).at(0).toString(), TqFeature::appCenter());
        QCOMPARE(features.at(1).at(0).toString(), TqFeature::calls());
        QVERIFY(logOut());
        QVERIFY(!apps->isVisible());
    }

    void languageChoiceIsSavedForTheNextStart()
    {
        auto *combo = inLogin<QComboBox>("languageCombo");
        auto *note = inLogin<QLabel>("languageNote");
        QCOMPARE(combo->currentData().toInt(), int(LoginSettings::Chinese));
        QVERIFY(!note->isVisible());
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(LoginSettings(settingsPath()).language(), int(LoginSettings::English));
        QVERIFY(note->isVisible());
        AppEnvionmentSetting::instance()->initConfig();
        QCOMPARE(AppEnvionmentSetting::instance()->getConfigLanguage(), 1);
        QTest::keyClick(combo, Qt::Key_Up);
        QCOMPARE(LoginSettings(settingsPath()).language(), int(LoginSettings::Chinese));
        AppEnvionmentSetting::instance()->initConfig();
        QCOMPARE(AppEnvionmentSetting::instance()->getConfigLanguage(), 0);
    }

    void noPasswordReachesAnyFile()
    {
        const QString password = QStringLiteral("Pw-7zq!unique");
        zssim::Control::withServer(
            [&](zssim::ServerModel &s) { s.accounts.insert(QStringLiteral("alice"), password); });
        QVERIFY(logIn(QStringLiteral("alice"), password));
        QVERIFY(logOut());
        submitLogin(QStringLiteral("alice"), password + QStringLiteral("-typo")); // a failure too
        TRY_VERIFY(inLogin<QLabel>("errorLabel")->isVisible());
        g_Log->flush();

        const QString logFile = TQLog::instance()->logFilePath();
        const QByteArray log = readAll(logFile);
        QVERIFY2(log.contains("TqSession: login of alice"), qPrintable(logFile));
        QVERIFY(!log.contains(password.toUtf8()));
        const QByteArray settings = readAll(settingsPath());
        QVERIFY(settings.contains("Account=alice"));
        QVERIFY(!settings.contains(password.toUtf8()));
        const QByteArray trace = readAll(zssim::Control::traceFile());
        QVERIFY(!trace.contains(password.toUtf8()));

        // Nor any other file the client writes.
        QStringList roots{QFileInfo(logFile).absolutePath(), m_config.path()};
        for (const char *variable : {"TQ_DATA_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
            if (qEnvironmentVariableIsSet(variable))
                roots << qEnvironmentVariable(variable);
        }
        int files = 0;
        for (const QString &root : roots) {
            QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                ++files;
                QVERIFY2(!readAll(path).contains(password.toUtf8()), qPrintable(path));
            }
        }
        QVERIFY(files >= 3);
    }

    void closingAWindowEndsTheProgram()
    {
        QSignalSpy quit(m_context, &TqClientContext::quitRequested);
        QVERIFY(logIn());
        mainWindow()->close();
        QCOMPARE(quit.count(), 1);
        TqSession::instance()->logout();
        TRY_VERIFY(loginWindow()->isVisible());
        QCOMPARE(quit.count(), 1); // hiding on logout is no close
        loginWindow()->close();
        QCOMPARE(quit.count(), 2);
        loginWindow()->show();
    }
};
TQ_UI_TEST(TestLoginAndMainWindows)

// ---- The sources and catalogs -----------------------------------------------------------------

class TestUiSources : public QObject
{
    Q_OBJECT

    static QStringList sourceFiles(const QString &root)
    {
        QStringList files;
        QDirIterator it(root, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        return files;
    }

    struct Message
    {
        QString context;
        QString source;
        QString translation;
        QString type;
    };

    static QList<Message> messages(const QString &ts)
    {
        QList<Message> result;
        QFile file(ts);
        if (!file.open(QIODevice::ReadOnly))
            return result;
        QXmlStreamReader xml(&file);
        QString context;
        Message current;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (xml.name() == QLatin1String("message")) {
                current = Message{context, QString(), QString(), QString()};
            } else if (xml.name() == QLatin1String("source")) {
                current.source = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                current.type = xml.attributes().value(QLatin1String("type")).toString();
                current.translation = xml.readElementText();
                result << current;
            }
        }
        return result;
    }

    static const QStringList &ownLibraries()
    {
        static const QStringList libraries{"TQ_CustomUI", "TQ_LoginUI", "TQ_MainUI",
                                           "TQ_AppCenter"};
        return libraries;
    }

private slots:
    void windowsUseOnlyTheAgentsPublicHeaders()
    {
        // The engine's headers, the stand-in's, and the agents' private ones.
        const QRegularExpression forbidden(
            QStringLiteral("^\\s*#\\s*include\\s*[<\"]([^>\"]*/)?"
                           "(ZSsdk\\.h|ZSsdkControl\\.h|CallModel\\.h|Engine\\.h|Population\\.h|"
                           "\\w*CallBackProxy\\.h|\\w*Convert\\.h|EngineArgs\\.h|FixedField\\.h|"
                           "Utf8Field\\.h)[>\"]"),
            QRegularExpression::MultilineOption);
        const QRegularExpression controlApi(QStringLiteral("\\bzssim\\s*::"));
        const QStringList files = sourceFiles(QStringLiteral(TQ_UI_SOURCE_DIR));
        int agentUsers = 0;
        for (const QString &path : files) {
            const QString text = QString::fromUtf8(readAll(path));
            const QRegularExpressionMatch hit = forbidden.match(text);
            QVERIFY2(!hit.hasMatch(), qPrintable(path + ": " + hit.captured(0).trimmed()));
            QVERIFY2(!controlApi.match(text).hasMatch(), qPrintable(path));
            agentUsers += text.contains(QLatin1String("#include <SDK_Agent.h>"));
        }
        QVERIFY(files.size() >= 20);
        QVERIFY(agentUsers >= 3); // the scan reads what it should
    }

    void everyTextHasAChineseTranslation()
    {
        for (const QString &library : ownLibraries()) {
            const QString ts = QStringLiteral(TQ_UI_SOURCE_DIR "/%1/%1_zh_CN.ts").arg(library);
            const QList<Message> all = messages(ts);
            QVERIFY2(!all.isEmpty(), qPrintable(ts));
            for (const Message &m : all) {
                QVERIFY2(m.type.isEmpty() && !m.translation.isEmpty(),
                         qPrintable(QStringLiteral("%1: %2 \"%3\"").arg(ts, m.context, m.source)));
            }
        }
    }

    void catalogsAreUpToDateWithTheSources()
    {
        const QString lupdate = QStandardPaths::findExecutable(QStringLiteral("lupdate"));
        if (lupdate.isEmpty())
            QSKIP("lupdate is not installed");
        QTemporaryDir dir;
        for (const QString &library : ownLibraries()) {
            const QString ts = QStringLiteral(TQ_UI_SOURCE_DIR "/%1/%1_zh_CN.ts").arg(library);
            const QString copy = dir.filePath(library + QStringLiteral(".ts"));
            QVERIFY(QFile::copy(ts, copy));
            QProcess run;
            run.start(lupdate,
                      {QStringLiteral("-silent"), QStringLiteral("-locations"),
                       QStringLiteral("none"), QStringLiteral("-no-obsolete"),
                       QStringLiteral(TQ_UI_SOURCE_DIR "/") + library, QStringLiteral("-ts"),
                       copy});
            QVERIFY(run.waitForFinished(120000));
            QCOMPARE(run.exitCode(), 0);
            for (const Message &m : messages(copy)) {
                QVERIFY2(m.type.isEmpty(),
                         qPrintable(QStringLiteral("%1 needs a translation: %2 \"%3\"")
                                        .arg(library, m.context, m.source)));
            }
        }
    }

    void mergedCatalogSpeaksChinese()
    {
        QTranslator catalog;
        QVERIFY2(catalog.load(QStringLiteral(TQ_UI_BUILD_CATALOG)), TQ_UI_BUILD_CATALOG);
        QCOMPARE(catalog.translate("LoginWindow", "Log in"), QString::fromUtf8("登录"));
        QCOMPARE(catalog.translate("TqPresence", "Busy"), QString::fromUtf8("忙碌"));

        QCoreApplication::installTranslator(&catalog);
        const QString unauthorized = TqEngineText::error(401);
        const QString unknown = TqEngineText::error(9999);
        const QString presence = TqPresence::text(TqPresence::Away);
        QCoreApplication::removeTranslator(&catalog);
        QCOMPARE(unauthorized, QString::fromUtf8("未授权"));
        QVERIFY(unknown.contains(QStringLiteral("9999")));
        QVERIFY2(!unknown.contains(QStringLiteral("unknown")), qPrintable(unknown));
        QCOMPARE(presence, QString::fromUtf8("离开"));
    }
};
TQ_UI_TEST(TestUiSources)

#include "tst_login_main.moc"
