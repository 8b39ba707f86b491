// Conferences: the widget-free directory and room on their own, then the conference windows
// driven through their widgets against the stand-in engine, which plays the other members.

#include "UiTest.h"

#include <ConferenceCodes.h>
#include <ConferenceDirectory.h>
#include <ConferenceModels.h>
#include <ConferenceRoom.h>
#include <ConferenceUi.h>
#include <Conference_Agent.h>
#include <Conference_CallBack.h>
#include <SDK_Agent.h>
#include <TQ_MediaConfUI.h>
#include <TqClientContext.h>
#include <ZSsdkControl.h>

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTreeView>
#include <QtTest>

#include <memory>

using List = TqConfDirectory::List;
using Phase = TqConfRoom::Phase;
using Cause = TqConfRoom::EndCause;

namespace {

Agent_ConfInfo info(const QString &id, const QString &name = "Sync")
{
    Agent_ConfInfo i;
    i.confId = id;
    i.text2 = name;
    i.creator = "alice";
    i.number2 = TqConfCode::InProgress;
    return i;
}

QList<Agent_ConfInfo> infos(int n, int from = 1)
{
    QList<Agent_ConfInfo> list;
    for (int k = 0; k < n; ++k)
        list << info(QString("c%1").arg(from + k));
    return list;
}

Agent_RequestGetConfInfoList listRequest(int pageNo, int confType = 0)
{
    Agent_RequestGetConfInfoList r;
    r.pageNo = pageNo;
    r.confType = confType;
    return r;
}

Agent_ConferenceMemberInfo memberInfo(const QString &id, int role, int state, int flags = 0)
{
    Agent_ConferenceMemberInfo m;
    m.memberId = id;
    m.number2 = role;
    m.number4 = state;
    m.number3 = flags;
    return m;
}

Agent_ConfNtyMsg notice(const QString &confId, int event)
{
    Agent_ConfNtyMsg msg;
    msg.number1 = event;
    msg.text1 = confId;
    msg.number8 = TqConfCode::InProgress;
    return msg;
}

// A room in conference "c1" with alice as host and bob and carol in it.
struct RoomBench
{
    RoomBench()
    {
        room.setAccount("alice");
        QVERIFY(room.join("c1", "secret"));
        Agent_RequestMemberJoinConf r;
        r.confId = "c1";
        Agent_ConfInfo i = info("c1");
        room.onJoined(r, 200, i);
        Agent_RequestGetConfMemberInfoList list;
        list.confId = "c1";
        room.onMemberList(list, 200, "c1",
                          {memberInfo("alice", TqConfCode::Host, TqConfCode::Joined),
                           memberInfo("bob", TqConfCode::Attendee, TqConfCode::Joined),
                           memberInfo("carol", TqConfCode::Attendee, TqConfCode::Joined)});
    }
    TqConfRoom room;
};

} // namespace

class TestConferenceState : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The spies copy what the states ask for.
        qRegisterMetaType<TqConfInvitation>();
        qRegisterMetaType<Agent_RequestGetConfInfoList>();
        qRegisterMetaType<Agent_RequestCreateConf>();
        qRegisterMetaType<Agent_RequestConfMemberRejectInvitation>();
        qRegisterMetaType<Agent_RequestConfMediaControl>();
        qRegisterMetaType<Agent_RequestConfStopPublishVoice>();
        qRegisterMetaType<Agent_RequestSetConfMemberRole>();
        qRegisterMetaType<Agent_RequestConfRecord>();
        qRegisterMetaType<Agent_RequestConfRecordList>();
        qRegisterMetaType<Agent_RequestGetConfMemberInfoList>();
        qRegisterMetaType<Agent_RequestMemberQuitConf>();
    }

    void aPageNoLongerWantedIsDropped()
    {
        TqConfDirectory d;
        d.setAccount("alice");
        d.setPageSize(2);
        QSignalSpy requests(&d, &TqConfDirectory::listRequest);
        d.showPage(List::Current, 1);
        d.showPage(List::Current, 2);
        QCOMPARE(requests.count(), 2);
        // The first page's answer comes after the user paged on: not shown.
        d.onInfoList(listRequest(1), 200, infos(2), R"({"total":5})");
        QCOMPARE(d.page(List::Current), 0);
        QVERIFY(d.isLoading(List::Current));
        d.onInfoList(listRequest(2), 200, infos(2, 3), R"({"total":5})");
        QCOMPARE(d.page(List::Current), 2);
        QCOMPARE(d.pageCount(List::Current), 3);
        QVERIFY(d.hasNextPage(List::Current));
        QCOMPARE(d.conferences(List::Current).first().id, QString("c3"));
        // Nor does a scheduled-list answer land in the current list.
        d.onInfoList(listRequest(2, TqConfCode::Scheduled), 200, infos(1, 9), "{}");
        QCOMPARE(d.conferences(List::Current).size(), 2);
    }

    void aPagePastTheEndFallsBackToTheLast()
    {
        TqConfDirectory d;
        d.setAccount("alice");
        d.setPageSize(2);
        QSignalSpy requests(&d, &TqConfDirectory::listRequest);
        d.showPage(List::Current, 3);
        // Conferences ended meanwhile: three left, two pages.
        d.onInfoList(listRequest(3), 200, {}, R"({"total":3})");
        QCOMPARE(requests.count(), 2);
        QCOMPARE(requests.last().first().value<Agent_RequestGetConfInfoList>().pageNo, 2);
        d.onInfoList(listRequest(2), 200, infos(1, 3), R"({"total":3})");
        QCOMPARE(d.page(List::Current), 2);
        QVERIFY(!d.hasNextPage(List::Current));
    }

    void withoutATotalAFullPageMayHaveANextOne()
    {
        TqConfDirectory d;
        d.setAccount("alice");
        d.setPageSize(2);
        d.showPage(List::History, 1);
        Agent_RequestGetHistoryConfInfoList r;
        r.pageNo = 1;
        d.onHistoryList(r, 200, infos(2), QString());
        QCOMPARE(d.pageCount(List::History), 0);
        QVERIFY(d.hasNextPage(List::History));
        d.showPage(List::History, 2);
        r.pageNo = 2;
        d.onHistoryList(r, 200, infos(1, 3), "not json");
        QVERIFY(!d.hasNextPage(List::History));
    }

    void aRefusedListKeepsWhatWasShown()
    {
        TqConfDirectory d;
        d.setAccount("alice");
        QSignalSpy failed(&d, &TqConfDirectory::failed);
        d.refresh(List::Current);
        d.onInfoList(listRequest(1), 200, infos(3), R"({"total":3})");
        d.refresh(List::Current);
        d.onInfoList(listRequest(1), 500, {}, QString());
        QCOMPARE(failed.count(), 1);
        QCOMPARE(d.conferences(List::Current).size(), 3);
        QVERIFY(!d.isLoading(List::Current));
    }

    void createChecksTheDraftAndLeavesTheUserOut()
    {
        TqConfDirectory d;
        QSignalSpy requests(&d, &TqConfDirectory::createRequest);
        TqConfDraft draft;
        draft.name = "Sync";
        QVERIFY(!d.create(draft)); // logged out
        d.setAccount("alice");
        draft.name = "  ";
        QVERIFY(!d.create(draft));
        draft.name = " Sync ";
        draft.scheduled = true;
        draft.start = QDateTime::currentDateTime().addSecs(-60);
        QVERIFY(!d.create(draft));
        draft.start = QDateTime::currentDateTime().addDays(1);
        draft.members = QStringList{"alice", "bob", " "};
        draft.password = "pw";
        QVERIFY(d.create(draft));
        QCOMPARE(requests.count(), 1);
        const auto r = requests.first().first().value<Agent_RequestCreateConf>();
        QCOMPARE(r.confName, QString("Sync"));
        QCOMPARE(r.confType, int(TqConfCode::Scheduled));
        QCOMPARE(r.members.size(), 1);
        QCOMPARE(r.members.first().text1, QString("bob"));
        QCOMPARE(r.startTime, TqConfRecords::timeText(draft.start));

        // The password is kept for joining only once the server made the conference.
        d.onCreated(r, 403, QString());
        QVERIFY(d.passwordOf("c1").isEmpty());
        d.onCreated(r, 200, "c1");
        QCOMPARE(d.passwordOf("c1"), QString("pw"));
        d.setAccount(QString());
        QVERIFY(d.passwordOf("c1").isEmpty());
    }

    void onlyCancellationsAskedForAreReported()
    {
        TqConfDirectory d;
        d.setAccount("alice");
        QSignalSpy cancelled(&d, &TqConfDirectory::cancelled);
        Agent_RequestDeleteConf r;
        r.confId = "c1";
        // Ended from the conference window: not a cancellation.
        d.onDeleted(r, 200);
        QVERIFY(cancelled.isEmpty());
        d.cancel("c1");
        d.onDeleted(r, 200);
        d.onDeleted(r, 200);
        QCOMPARE(cancelled.count(), 1);
    }

    void invitationsAndRemindersNameTheirConference()
    {
        TqConfDirectory d;
        d.setAccount("alice");
        QSignalSpy invited(&d, &TqConfDirectory::invited);
        QSignalSpy soon(&d, &TqConfDirectory::startingSoon);
        Agent_ConfInviteNtyMsg msg;
        d.onInvitation(msg); // no conference named: nothing to join
        msg.text1 = "c7";
        msg.text2 = "bob";
        msg.text5 = "Design review";
        msg.text7 = "inv-3";
        msg.number2 = TqConfCode::Video;
        d.onInvitation(msg);
        QCOMPARE(invited.count(), 1);
        const auto inv = invited.first().first().value<TqConfInvitation>();
        QCOMPARE(inv.invitationId, QString("inv-3"));
        QVERIFY(inv.video);
        QSignalSpy rejects(&d, &TqConfDirectory::rejectRequest);
        d.declineInvitation(inv);
        QCOMPARE(
            rejects.first().first().value<Agent_RequestConfMemberRejectInvitation>().invitationId,
            QString("inv-3"));

        Agent_ConfBeforeStartNtyMsg before;
        before.text1 = "c8";
        before.number1 = -4;
        d.onBeforeStart(before);
        QCOMPARE(soon.first().at(1).toInt(), 0);
    }

    void anotherConferencesNewsChangesNothing()
    {
        RoomBench b;
        QSignalSpy members(&b.room, &TqConfRoom::memberListRequest);
        b.room.onNotification(notice("c2", TqConfCode::ConferenceEnded));
        Agent_ConfEndNtyMsg end;
        end.text1 = "c2";
        b.room.onEndNotification(end);
        QCOMPARE(b.room.phase(), Phase::InConference);
        QVERIFY(members.isEmpty());
        b.room.onNotification(notice("c1", TqConfCode::MemberJoined));
        QCOMPARE(members.count(), 1);
    }

    void beingRemovedEndsTheConferenceForTheUser()
    {
        RoomBench b;
        QSignalSpy requests(&b.room, &TqConfRoom::mediaControlRequest);
        Agent_ConfNtyMsg removed = notice("c1", TqConfCode::MembersRemoved);
        removed.kickMembers << Agent_ConfKickMember{"carol", 0, 1};
        b.room.onNotification(removed);
        QVERIFY(b.room.isIn());
        removed.kickMembers << Agent_ConfKickMember{"alice", 0, 1};
        b.room.onNotification(removed);
        QCOMPARE(b.room.phase(), Phase::Ended);
        QCOMPARE(b.room.endCause(), Cause::Removed);
        // Nothing more is asked of a conference the user is out of.
        b.room.setMicrophone("bob", false);
        b.room.kick("bob");
        QVERIFY(requests.isEmpty());
    }

    void handingOverStepsDownOnlyOnceTheOtherHasTheChair()
    {
        RoomBench b;
        QSignalSpy roles(&b.room, &TqConfRoom::roleRequest);
        QSignalSpy failed(&b.room, &TqConfRoom::failed);
        b.room.handOver("bob");
        b.room.handOver("carol"); // one at a time
        QCOMPARE(roles.count(), 1);
        auto r = roles.first().first().value<Agent_RequestSetConfMemberRole>();
        QCOMPARE(r.memberId, QString("bob"));
        QCOMPARE(r.roleId, int(TqConfCode::Host));
        b.room.onRoleSet(r, 403);
        QCOMPARE(roles.count(), 1); // still the host
        QCOMPARE(failed.count(), 1);

        b.room.handOver("bob");
        r = roles.last().first().value<Agent_RequestSetConfMemberRole>();
        b.room.onRoleSet(r, 200);
        QCOMPARE(roles.count(), 3);
        const auto self = roles.last().first().value<Agent_RequestSetConfMemberRole>();
        QCOMPARE(self.memberId, QString("alice"));
        QCOMPARE(self.roleId, int(TqConfCode::Attendee));
    }

    void onlyTheHostControlsOthers()
    {
        RoomBench b;
        QSignalSpy control(&b.room, &TqConfRoom::mediaControlRequest);
        QSignalSpy voice(&b.room, &TqConfRoom::stopVoiceRequest);
        b.room.setMicrophone("bob", false);
        QCOMPARE(control.first().first().value<Agent_RequestConfMediaControl>().action,
                 int(TqConfCode::MuteMicrophone));
        // The user's own microphone is their publishing, not a host control.
        b.room.setMicrophone("alice", false);
        QCOMPARE(voice.count(), 1);
        QCOMPARE(control.count(), 1);

        Agent_RequestGetConfMemberInfoList list;
        list.confId = "c1";
        b.room.onMemberList(list, 200, "c1",
                            {memberInfo("alice", TqConfCode::Attendee, TqConfCode::Joined),
                             memberInfo("bob", TqConfCode::Host, TqConfCode::Joined)});
        QVERIFY(!b.room.isHost());
        b.room.setMicrophone("bob", true);
        b.room.kick("bob");
        b.room.setRecording(true);
        b.room.end();
        QCOMPARE(control.count(), 1);
    }

    void recordingTogglesOnceAndListsTheFileWhenStopped()
    {
        RoomBench b;
        QSignalSpy record(&b.room, &TqConfRoom::recordRequest);
        QSignalSpy files(&b.room, &TqConfRoom::recordListRequest);
        const int asked = files.count();
        b.room.setRecording(true);
        b.room.setRecording(true);
        QCOMPARE(record.count(), 1);
        b.room.onRecord(record.first().first().value<Agent_RequestConfRecord>(), 200);
        QVERIFY(b.room.isRecording());
        b.room.setRecording(false);
        b.room.onRecord(record.last().first().value<Agent_RequestConfRecord>(), 200);
        QVERIFY(!b.room.isRecording());
        QCOMPARE(files.count(), asked + 1);
        Agent_RequestConfRecordList r;
        r.confId = "c1";
        b.room.onRecordList(r, 200, {Agent_ConfRecordFile{"rec-1", "https://x/1.mp4", 61, "", ""}});
        QCOMPARE(b.room.records().size(), 1);
        QCOMPARE(TqConfText::duration(b.room.records().first().seconds), QString("01:01"));
        // Another conference's files are not this one's.
        r.confId = "c9";
        b.room.onRecordList(r, 200, {});
        QCOMPARE(b.room.records().size(), 1);
    }

    void aRefusedJoinSaysWhyAndLoggingOutLeaves()
    {
        TqConfRoom room;
        room.setAccount("alice");
        QVERIFY(room.join("c1", "wrong"));
        QVERIFY(!room.join("c2")); // already joining
        Agent_RequestMemberJoinConf r;
        r.confId = "c1";
        room.onJoined(r, 401, Agent_ConfInfo());
        QCOMPARE(room.phase(), Phase::Ended);
        QCOMPARE(room.endCause(), Cause::Refused);
        QCOMPARE(room.joinFailure(), 401);
        room.clear();
        QCOMPARE(room.phase(), Phase::Idle);

        QSignalSpy quits(&room, &TqConfRoom::quitRequest);
        QVERIFY(room.join("c1"));
        room.onJoined(r, 200, info("c1"));
        room.setAccount(QString());
        QCOMPARE(quits.count(), 1);
        QCOMPARE(room.phase(), Phase::Idle);
        QVERIFY(!room.join("c1"));
    }
};

// ---- the windows against the stand-in engine ---------------------------------------------------

namespace {

template<class T> T *child(QWidget *window, const char *name)
{
    return window ? window->findChild<T *>(QLatin1String(name)) : nullptr;
}

bool click(QWidget *window, const char *name)
{
    QPushButton *button = child<QPushButton>(window, name);
    if (!button || !button->isVisible() || !button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

// The text of a view's cell in the row whose first column starts with `name`.
QString cell(QWidget *window, const char *view, const QString &name, int column)
{
    auto *tree = child<QTreeView>(window, view);
    QAbstractItemModel *model = tree ? tree->model() : nullptr;
    for (int row = 0; model && row < model->rowCount(); ++row)
        if (model->index(row, 0).data().toString().startsWith(name))
            return model->index(row, column).data().toString();
    return QString();
}

bool selectRow(QWidget *window, const char *view, const QString &name)
{
    auto *tree = child<QTreeView>(window, view);
    QAbstractItemModel *model = tree ? tree->model() : nullptr;
    for (int row = 0; model && row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        if (index.data().toString().startsWith(name)) {
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                              tree->visualRect(index).center());
            return true;
        }
    }
    return false;
}

QList<QVariantList> callArgs(const char *function)
{
    QList<QVariantList> list;
    for (const zssim::CallRecord &record : zssim::Control::calls(QLatin1String(function)))
        list << record.args;
    return list;
}

} // namespace

class TestConferenceWindows : public QObject
{
    Q_OBJECT

    TQ_MediaConfUI *m_ui = nullptr;
    std::unique_ptr<TQ_MediaConfUI> m_own;

    TqConfUi *conf() const { return m_ui->conferences(); }
    TqConfRoom *room() const { return conf()->room(); }
    QWidget *window() const { return conf()->conferenceWindow(); }
    QString member(const QString &name, int column) const
    {
        return cell(window(), "memberList", name, column);
    }

    // Opens the page and creates an instant conference with bob and carol through the dialog.
    bool createWithBobAndCarol(const QString &name)
    {
        TqClientContext::instance()->requestFeature(TqFeature::conferences());
        if (!click(conf()->listWindow(), "newConferenceButton"))
            return false;
        QWidget *dialog = conf()->editDialog();
        if (!dialog || !dialog->isVisible())
            return false;
        QTest::keyClicks(child<QLineEdit>(dialog, "nameEdit"), name);
        auto *picker = child<QListWidget>(dialog, "memberPicker");
        if (!picker || picker->count() != 2)
            return false;
        for (int i = 0; i < picker->count(); ++i) {
            picker->setCurrentRow(i);
            QTest::keyClick(picker, Qt::Key_Space);
        }
        return click(dialog, "okButton");
    }

private slots:
    void initTestCase()
    {
        if (!zssim::Control::initialized())
            emit SDK_Agent::instance()->sig_InitAgent();
        QVERIFY(zssim::Control::waitIdle());
        Conference_Agent::instance();
        // A reset engine forgets the table the agent registered once.
        if (!zssim::Control::table<ZS_ConfCallBack>())
            Conference_CallBack::instance()->initConferenceCallBack();
        Agent_LoginRequest login;
        login.text1 = "alice";
        login.text2 = "alice";
        emit SDK_Agent::instance()->sig_login(login);
        QTRY_VERIFY([] {
            QString user;
            zssim::Control::withServer([&](zssim::ServerModel &s) { user = s.currentUser; });
            return user == "alice";
        }());
        m_ui = TQ_MediaConfUI::instance();
        if (!m_ui) {
            m_own = std::make_unique<TQ_MediaConfUI>();
            m_ui = m_own.get();
        }
        QVERIFY(conf());
        TqClientContext::instance()->setLoggedOut();
        TqClientContext::instance()->setLoggedIn("alice");
    }

    void init()
    {
        zssim::Control::withServer([](zssim::ServerModel &s) {
            s.conferences = ConferenceModel();
            s.conferences.answers
                = {{"bob", ConferenceModel::Accept}, {"carol", ConferenceModel::Accept}};
        });
        TqClientContext::instance()->setLoggedIn("alice");
        TqClientContext::instance()->setContacts({"bob", "carol"});
        QVERIFY(zssim::Control::waitIdle());
        QCoreApplication::processEvents();
        zssim::Control::clearJournal();
    }

    void cleanup()
    {
        // Logging out closes every conference window and leaves the conference.
        TqClientContext::instance()->setLoggedOut();
        QVERIFY(!conf()->listWindow() && !window());
        QCOMPARE(room()->phase(), Phase::Idle);
        QVERIFY(zssim::Control::waitIdle());
        QCoreApplication::processEvents();
    }

    void cleanupTestCase()
    {
        m_own.reset();
        TqClientContext::instance()->setLoggedOut();
    }

    void oneConferenceFromCreationToItsEnd()
    {
        QVERIFY(createWithBobAndCarol("Weekly sync"));
        auto *password = child<QLineEdit>(conf()->editDialog(), "passwordEdit");
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        QTRY_VERIFY(window() && window()->isVisible());
        QTRY_COMPARE(room()->phase(), Phase::InConference);
        const auto created = callArgs("CreateConference");
        QCOMPARE(created.size(), 1);
        QCOMPARE(created[0].at(2).toByteArray(), QByteArray("Weekly sync"));

        // The members accept; the user hears them in.
        QTRY_COMPARE(member("Bob", TqConfMemberModel::StateColumn), QString("In conference"));
        QTRY_COMPARE(member("Carol", TqConfMemberModel::StateColumn), QString("In conference"));
        QTRY_COMPARE(member("Alice", TqConfMemberModel::MicrophoneColumn), QString("On"));
        QCOMPARE(member("Alice", TqConfMemberModel::RoleColumn), QString("Host"));
        QCOMPARE(member("Bob", TqConfMemberModel::RoleColumn), QString("Attendee"));

        // Mute bob.
        QVERIFY(selectRow(window(), "memberList", "Bob"));
        QCOMPARE(child<QPushButton>(window(), "microphoneButton")->text(), QString("Mute"));
        QVERIFY(click(window(), "microphoneButton"));
        QTRY_COMPARE(member("Bob", TqConfMemberModel::MicrophoneColumn), QString("Muted by host"));
        QCOMPARE(callArgs("ConferenceMediaControl").value(0).value(4).toInt(),
                 int(TqConfCode::MuteMicrophone));
        QTRY_COMPARE(child<QPushButton>(window(), "microphoneButton")->text(), QString("Unmute"));

        // Remove carol.
        QVERIFY(selectRow(window(), "memberList", "Carol"));
        QVERIFY(click(window(), "kickButton"));
        QTRY_COMPARE(member("Carol", TqConfMemberModel::StateColumn), QString("Removed"));

        // Record, stop, and the file is listed.
        QVERIFY(click(window(), "recordButton"));
        QTRY_VERIFY(room()->isRecording());
        QTRY_COMPARE(child<QPushButton>(window(), "recordButton")->text(),
                     QString("Stop recording"));
        QVERIFY(click(window(), "recordButton"));
        auto *records = child<QListWidget>(window(), "recordList");
        QTRY_COMPARE(records->count(), 1);
        QVERIFY(records->item(0)->text().contains("https://records.example.test/"));

        // Share the screen.
        QVERIFY(click(window(), "screenButton"));
        QTRY_COMPARE(member("Alice", TqConfMemberModel::ScreenColumn), QString("Sharing"));
        QCOMPARE(child<QPushButton>(window(), "screenButton")->text(), QString("Stop sharing"));

        // End it for everybody: it moves to the history.
        const QString id = room()->confId();
        QVERIFY(click(window(), "endButton"));
        QTRY_COMPARE(room()->phase(), Phase::Ended);
        QCOMPARE(room()->endCause(), Cause::EndedByHost);
        QCOMPARE(child<QLabel>(window(), "conferenceBanner")->text(),
                 QString("The host ended the conference."));
        QCOMPARE(child<QPushButton>(window(), "leaveButton")->text(), QString("Close"));
        QCOMPARE(callArgs("DeleteConference").value(0).value(0).toByteArray(), id.toUtf8());
        QWidget *list = conf()->listWindow();
        child<QTabWidget>(list, "conferenceTabs")->setCurrentIndex(int(List::History));
        QTRY_COMPARE(cell(list, "historyList", "Weekly sync", TqConfListModel::MembersColumn),
                     QString("3"));
        QVERIFY(click(window(), "leaveButton"));
        QVERIFY(!window()->isVisible());
        QCOMPARE(room()->phase(), Phase::Idle);
    }

    void handingOverTheChairTakesTheHostsRights()
    {
        QVERIFY(createWithBobAndCarol("Handover"));
        QTRY_COMPARE(member("Bob", TqConfMemberModel::StateColumn), QString("In conference"));
        QVERIFY(selectRow(window(), "memberList", "Bob"));
        QVERIFY(click(window(), "chairButton"));
        QTRY_COMPARE(member("Alice", TqConfMemberModel::RoleColumn), QString("Attendee"));
        QTRY_COMPARE(member("Bob", TqConfMemberModel::RoleColumn), QString("Host"));
        QVERIFY(!room()->isHost());
        QVERIFY(!child<QPushButton>(window(), "endButton")->isVisible());
        QVERIFY(!child<QPushButton>(window(), "kickButton")->isEnabled());
        // The server no longer takes the former host's controls either.
        const QString id = room()->confId();
        zssim::Control::withServer([&](zssim::ServerModel &s) {
            QVERIFY(!s.conferences.conferences[id].isHost("alice"));
            QVERIFY(s.conferences.conferences[id].isHost("bob"));
        });
        QVERIFY(click(window(), "leaveButton"));
        QCOMPARE(room()->endCause(), Cause::Left);
        QTRY_COMPARE(zssim::Control::callCount("MemberQuitConference"), 1);
    }

    void anInvitationIsAskedAndJoined()
    {
        const QString id = zssim::injectConferenceInvitation("bob", "Design review");
        QTRY_VERIFY(conf()->invitationPrompt() && conf()->invitationPrompt()->isVisible());
        QVERIFY(child<QLabel>(conf()->invitationPrompt(), "textLabel")
                    ->text()
                    .contains(QString::fromUtf8("invites you to “Design review”")));
        QVERIFY(click(conf()->invitationPrompt(), "acceptButton"));
        QTRY_COMPARE(room()->phase(), Phase::InConference);
        QCOMPARE(room()->confId(), id);
        QTRY_COMPARE(member("Bob", TqConfMemberModel::RoleColumn), QString("Host"));
        QVERIFY(!child<QPushButton>(window(), "recordButton")->isEnabled());

        // Reminded before the end, then ended by time.
        QVERIFY(zssim::remindBeforeEnd(id));
        QTRY_VERIFY(child<QLabel>(window(), "conferenceBanner")->isVisible());
        QVERIFY(zssim::endConferenceNow(id, ConferenceModel::TimeUp));
        QTRY_COMPARE(child<QLabel>(window(), "conferenceBanner")->text(),
                     QString("The conference ended: its time is up."));
    }

    void removedByTheHostTheUserCannotSlipBackIn()
    {
        const QString id = zssim::injectConferenceInvitation("bob", "Budget");
        QTRY_VERIFY(conf()->invitationPrompt());
        QVERIFY(click(conf()->invitationPrompt(), "acceptButton"));
        QTRY_COMPARE(room()->phase(), Phase::InConference);
        QVERIFY(zssim::injectKickout(id, "bob", {"alice"}));
        QTRY_COMPARE(room()->endCause(), Cause::Removed);
        QCOMPARE(child<QLabel>(window(), "conferenceBanner")->text(),
                 QString("The host removed you from the conference."));
        QVERIFY(!child<QPushButton>(window(), "screenButton")->isEnabled());

        // Out of the user's list now; joining again (an old invitation, say) is refused.
        TqClientContext::instance()->requestFeature(TqFeature::conferences());
        QTRY_VERIFY(conf()->directory()->page(List::Current) == 1
                    && conf()->directory()->conference(id).id.isEmpty());
        conf()->join(id);
        QTRY_COMPARE(room()->endCause(), Cause::Refused);
        QCOMPARE(room()->joinFailure(), 403);
        QVERIFY(child<QLabel>(window(), "conferenceBanner")->text().startsWith("Joining failed"));
    }

    void aWrongPasswordIsAskedAgain()
    {
        const QString id = zssim::injectConferenceInvitation("bob", "Salaries");
        zssim::Control::withServer(
            [&](zssim::ServerModel &s) { s.conferences.conferences[id].password = "pw"; });
        QTRY_VERIFY(conf()->invitationPrompt());
        QVERIFY(click(conf()->invitationPrompt(), "acceptButton"));
        QTRY_VERIFY(conf()->passwordDialog() && conf()->passwordDialog()->isVisible());
        QCOMPARE(child<QLabel>(window(), "conferenceBanner")->text(),
                 QString("The password is not right."));
        auto *edit = conf()->passwordDialog()->findChild<QLineEdit *>();
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
        QTest::keyClicks(edit, "pw");
        QTest::keyClick(edit, Qt::Key_Return);
        QTRY_COMPARE(room()->phase(), Phase::InConference);
        QCOMPARE(room()->confId(), id);
        QVERIFY(!child<QLabel>(window(), "conferenceBanner")->isVisible());
    }

    void aDeclinedInvitationTellsTheServer()
    {
        const QString id = zssim::injectConferenceInvitation("carol", "Icons");
        QTRY_VERIFY(conf()->invitationPrompt());
        QVERIFY(click(conf()->invitationPrompt(), "rejectButton"));
        QTRY_COMPARE(zssim::Control::callCount("ConferenceMemberRejectInvitation"), 1);
        QCOMPARE(callArgs("ConferenceMemberRejectInvitation")[0].at(0).toByteArray(), id.toUtf8());
        zssim::Control::withServer([&](zssim::ServerModel &s) {
            QCOMPARE(s.conferences.conferences[id].member("alice")->state,
                     int(ConferenceModel::Declined));
        });
        QVERIFY(!window());
    }

    void scheduledConferencesPageAndRemind()
    {
        const QDateTime start = QDateTime::currentDateTime().addDays(1);
        for (int i = 1; i <= 3; ++i)
            zssim::injectConferenceAppointment("bob", QString("Plan %1").arg(i),
                                               start.addSecs(i * 3600), 30, 10);
        conf()->directory()->setPageSize(2);
        TqClientContext::instance()->requestFeature(TqFeature::conferences());
        QWidget *list = conf()->listWindow();
        QTRY_VERIFY(list && list->isVisible());
        // bob's appointments are news.
        QTRY_VERIFY(child<QLabel>(list, "conferenceBanner")->text().contains("scheduled"));
        child<QTabWidget>(list, "conferenceTabs")->setCurrentIndex(int(List::Scheduled));
        QTRY_COMPARE(child<QLabel>(list, "pageLabel")->text(), QString("Page 1 of 2"));
        QVERIFY(!cell(list, "scheduledList", "Plan 1", 0).isEmpty());
        QVERIFY(click(list, "nextPageButton"));
        QTRY_VERIFY(!cell(list, "scheduledList", "Plan 3", 0).isEmpty());
        QCOMPARE(child<QLabel>(list, "pageLabel")->text(), QString("Page 2 of 2"));
        QVERIFY(!child<QPushButton>(list, "nextPageButton")->isEnabled());
        // Someone else's conference: joinable later, not changeable.
        QVERIFY(selectRow(list, "scheduledList", "Plan 3"));
        QVERIFY(!child<QPushButton>(list, "editButton")->isEnabled());
        QVERIFY(child<QPushButton>(list, "joinButton")->isEnabled());
        const QString id = conf()->directory()->conferences(List::Scheduled).first().id;
        // An earlier one moves the page on; the selected conference stays selected.
        zssim::injectConferenceAppointment("carol", "Plan 0", start, 30);
        QTRY_VERIFY(!cell(list, "scheduledList", "Plan 2", 0).isEmpty());
        QVERIFY(child<QPushButton>(list, "joinButton")->isEnabled());

        QVERIFY(zssim::remindBeforeStart(id));
        QTRY_VERIFY(child<QLabel>(list, "conferenceBanner")->text().contains("starts in"));
        QVERIFY(child<QLabel>(list, "conferenceBanner")->text().contains("Plan 3"));
        conf()->directory()->setPageSize(10);
    }

    void ownScheduledConferenceIsChangedAndCancelled()
    {
        TqClientContext::instance()->requestFeature(TqFeature::conferences());
        QWidget *list = conf()->listWindow();
        QVERIFY(click(list, "newConferenceButton"));
        QWidget *dialog = conf()->editDialog();
        QTest::keyClicks(child<QLineEdit>(dialog, "nameEdit"), "Retro");
        QTest::mouseClick(dialog->findChild<QWidget *>("scheduledRadio"), Qt::LeftButton);
        QTest::keyClicks(child<QLineEdit>(dialog, "hostPasswordEdit"), "h0st");
        QVERIFY(click(dialog, "okButton"));
        child<QTabWidget>(list, "conferenceTabs")->setCurrentIndex(int(List::Scheduled));
        QTRY_VERIFY(!cell(list, "scheduledList", "Retro", 0).isEmpty());
        QCOMPARE(callArgs("CreateConference").value(0).value(0).toByteArray(), QByteArray("h0st"));

        QVERIFY(selectRow(list, "scheduledList", "Retro"));
        QVERIFY(click(list, "editButton"));
        dialog = conf()->editDialog();
        QTRY_VERIFY(dialog && dialog->isVisible());
        // The host password given at creation is kept, masked.
        QCOMPARE(child<QLineEdit>(dialog, "hostPasswordEdit")->text(), QString("h0st"));
        child<QLineEdit>(dialog, "nameEdit")->clear();
        QTest::keyClicks(child<QLineEdit>(dialog, "nameEdit"), "Retro 2");
        QVERIFY(click(dialog, "okButton"));
        QTRY_VERIFY(!cell(list, "scheduledList", "Retro 2", 0).isEmpty());
        QCOMPARE(callArgs("UpdateConference").value(0).value(1).toByteArray(), QByteArray("h0st"));

        QVERIFY(selectRow(list, "scheduledList", "Retro 2"));
        QVERIFY(click(list, "cancelConferenceButton"));
        QTRY_COMPARE(child<QLabel>(list, "conferenceBanner")->text(),
                     QString("The conference was cancelled."));
        QTRY_VERIFY(cell(list, "scheduledList", "Retro", 0).isEmpty());
    }
};

TQ_UI_TEST(TestConferenceState)
TQ_UI_TEST(TestConferenceWindows)

#include "tst_conference.moc"
