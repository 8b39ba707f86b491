// The general callbacks fired by hand from the engine's thread, including what a faulty
// engine may hand over: null records and arrays, odd counts, fields without a NUL.

#include <SDK_Agent.h>
#include <SDK_CallBackProxy.h>

#include <TQLog.h>
#include <ZSsdkControl.h>

#include <QtTest>

#include <cstring>
#include <vector>

class TestSessionCallbacks : public QObject
{
    Q_OBJECT

    // Results as a window on the main thread receives them.
    QList<QPair<int, QList<Agent_PersonState>>> m_userStates;
    QList<QList<Agent_PersonState>> m_friends;
    QList<QPair<int, Agent_PersonInfo>> m_infos;
    QList<Agent_ConnectState> m_states;
    QList<qulonglong> m_versions;

    void fireAndWait(const std::function<void()> &fire)
    {
        fire();
        QVERIFY(zssim::Control::waitIdle());
    }

private slots:
    void initTestCase()
    {
        zssim::Control::reset();
        zssim::Control::setMode(zssim::Mode::Manual);
        SDK_Agent *agent = SDK_Agent::instance();
        SDK_CallBackProxy::instance()->registerCallbacks();
        connect(agent, &SDK_Agent::sig_onGetUserState, this,
                [this](int reason, QList<Agent_PersonState> list) {
                    m_userStates.append({reason, list});
                });
        connect(agent, &SDK_Agent::sig_onReceiveFriendsPublishPresence, this,
                [this](QList<Agent_PersonState> list) { m_friends.append(list); });
        connect(agent, &SDK_Agent::sig_onGetPersonInfo, this,
                [this](int reason, Agent_PersonInfo info) {
                    m_infos.append({reason, info});
                });
        connect(agent, &SDK_Agent::sig_onConnectState, this,
                [this](Agent_ConnectState state) { m_states.append(state); });
        connect(agent, &SDK_Agent::sig_onSetPersonInfo, this,
                [this](int, qulonglong version) { m_versions.append(version); });
    }

    void tableHasItsEntries()
    {
        const auto *table = zssim::Control::table<ZS_GeneralCallBack>();
        QVERIFY(table);
        QVERIFY(table->onReserved && table->onLogOut && table->onConnectState
                && table->onSetPersonInfo && table->onGetPersonInfo && table->onGetUserState
                && table->onPublishPresence && table->onReceiveFriendsPublishPresence);
        for (ZS_Callback unused : table->unused)
            QVERIFY(!unused);
        zssim::Control::fire(&ZS_GeneralCallBack::onReserved); // does nothing, harmlessly
    }

    void connectStateLine()
    {
        TQLogCapture log;
        fireAndWait([] { zssim::Control::fire(&ZS_GeneralCallBack::onConnectState, 3, 0); });
        QCOMPARE(log.texts(),
                 QStringList{"SDK_CallBackProxy::callback_onConnectState code = 3, reason = 0"});
        QTRY_COMPARE(m_states, (QList<Agent_ConnectState>{{3, 0}}));
    }

    void versionAbove32Bits()
    {
        const unsigned long long version = (1ULL << 40) + 5;
        fireAndWait(
            [&] { zssim::Control::fire(&ZS_GeneralCallBack::onSetPersonInfo, 9u, 200, version); });
        QTRY_COMPARE(m_versions, QList<qulonglong>{version});
    }

    void userStateLists()
    {
        m_userStates.clear();
        TQLogCapture log;
        std::vector<ZS_PersonState> two(2);
        std::memset(static_cast<void *>(two.data()), 0, two.size() * sizeof(ZS_PersonState));
        qstrcpy(two[0].text1, "first");
        qstrcpy(two[1].text1, "second");
        two[1].number4 = -7;
        fireAndWait([&] {
            using G = ZS_GeneralCallBack;
            zssim::Control::fire(&G::onGetUserState, 1u, 200, 2,
                                 static_cast<const ZS_PersonState *>(two.data()));
            zssim::Control::fire(&G::onGetUserState, 2u, 200, 0,
                                 static_cast<const ZS_PersonState *>(nullptr));
            zssim::Control::fire(&G::onGetUserState, 3u, 404, 3,
                                 static_cast<const ZS_PersonState *>(nullptr));
            zssim::Control::fire(&G::onGetUserState, 4u, 200, -1,
                                 static_cast<const ZS_PersonState *>(two.data()));
        });
        QTRY_COMPARE(m_userStates.size(), 4);
        QCOMPARE(m_userStates[0].second.size(), 2);
        QCOMPARE(m_userStates[0].second[0].text1, QString("first"));
        QCOMPARE(m_userStates[0].second[1].text1, QString("second"));
        QCOMPARE(m_userStates[0].second[1].number4, -7);
        for (int i = 1; i < 4; ++i)
            QVERIFY(m_userStates[i].second.isEmpty());
        QCOMPARE(m_userStates[2].first, 404);
        // The count is logged as the engine gave it.
        QVERIFY(log.texts().contains(
            "SDK_CallBackProxy::callback_onGetUserState   reason = 404   count = 3"));
        QVERIFY(log.texts().contains(
            "SDK_CallBackProxy::callback_onGetUserState   reason = 200   count = -1"));
    }

    void fieldsWithoutNulStayInTheirField()
    {
        m_friends.clear();
        ZS_PersonState state;
        std::memset(&state, 'x', sizeof state); // no NUL anywhere, numbers included
        state.number1 = 1;
        fireAndWait([&] {
            zssim::Control::fire(&ZS_GeneralCallBack::onReceiveFriendsPublishPresence, 1,
                                 static_cast<const ZS_PersonState *>(&state));
            zssim::Control::fire(&ZS_GeneralCallBack::onReceiveFriendsPublishPresence, 5,
                                 static_cast<const ZS_PersonState *>(nullptr));
        });
        QTRY_COMPARE(m_friends.size(), 2);
        const Agent_PersonState got = m_friends[0].value(0);
        QCOMPARE(got.text1, QString(129, 'x'));
        QCOMPARE(got.text2, QString(129, 'x'));
        QCOMPARE(got.text3, QString(21, 'x'));
        QCOMPARE(got.text4, QString(4097, 'x'));
        QCOMPARE(got.number1, 1);
        QVERIFY(m_friends[1].isEmpty());
    }

    void personInfoWithAndWithoutRecord()
    {
        m_infos.clear();
        ZS_PersonInfo info{};
        info.number3 = 77;
        std::memset(info.text2, 'y', sizeof info.text2); // full width, no NUL
        fireAndWait([&] {
            using G = ZS_GeneralCallBack;
            zssim::Control::fire(&G::onGetPersonInfo, 5u, 200,
                                 static_cast<const ZS_PersonInfo *>(&info));
            zssim::Control::fire(&G::onGetPersonInfo, 6u, 404,
                                 static_cast<const ZS_PersonInfo *>(nullptr));
        });
        QTRY_COMPARE(m_infos.size(), 2);
        QCOMPARE(m_infos[0].second.number3, 77);
        QCOMPARE(m_infos[0].second.text2, QString(21, 'y'));
        QCOMPARE(m_infos[1].first, 404);
        QCOMPARE(m_infos[1].second, Agent_PersonInfo());
    }
};

QTEST_MAIN(TestSessionCallbacks)
#include "tst_session_callbacks.moc"
