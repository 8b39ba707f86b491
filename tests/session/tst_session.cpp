// The session agent against the stand-in engine, as a window drives it: engine start,
// login, presence, personal information, user states, logout.

#include <SDK_Agent.h>

#include <AgentThreadMgr.h>
#include <TQFilePathMgr.h>
#include <TQLog.h>
#include <ZSsdkControl.h>

#include <AppEnvionmentSetting.h>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

namespace {

QStringList g_debug; // qDebug traces, in order
QtMessageHandler g_previousHandler = nullptr;

void captureDebug(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg)
        g_debug << message;
    g_previousHandler(type, context, message);
}

// Receives the agent's results on the main thread, as a window would.
class Window : public QObject
{
public:
    QList<Agent_ConnectState> states;
    QList<int> logouts;
    QList<int> published;
    QList<qulonglong> versions;
    QList<Agent_PersonInfo> infos;
    QList<QList<Agent_PersonState>> userStates;
    QList<QList<Agent_PersonState>> friends;
    QSet<QThread *> threads;

    explicit Window(SDK_Agent *a)
    {
        const auto seen = [this] {
            threads.insert(QThread::currentThread());
        };
        connect(a, &SDK_Agent::sig_onConnectState, this, [=](Agent_ConnectState s) {
            seen();
            states << s;
        });
        connect(a, &SDK_Agent::sig_onLogOut, this, [=](int reason) { logouts << reason; });
        connect(a, &SDK_Agent::sig_onPublishPresence, this, [=](int r) { published << r; });
        connect(a, &SDK_Agent::sig_onSetPersonInfo, this,
                [=](int, qulonglong version) { versions << version; });
        connect(a, &SDK_Agent::sig_onGetPersonInfo, this,
                [=](int, Agent_PersonInfo info) { infos << info; });
        connect(a, &SDK_Agent::sig_onGetUserState, this,
                [=](int, QList<Agent_PersonState> list) { userStates << list; });
        connect(a, &SDK_Agent::sig_onReceiveFriendsPublishPresence, this,
                [=](QList<Agent_PersonState> list) {
                    seen();
                    friends << list;
                });
    }
};

Agent_LoginRequest loginAs(const QString &user, const QString &password)
{
    Agent_LoginRequest r;
    r.number1 = 1;
    r.text1 = user;
    r.text2 = password;
    r.text3 = QStringLiteral("im.example.test");
    return r;
}

int indexOf(const QList<zssim::CallRecord> &journal, const QString &function, int from = 0)
{
    for (int i = from; i < journal.size(); ++i)
        if (journal[i].function == function)
            return i;
    return -1;
}

} // namespace

class TestSession : public QObject
{
    Q_OBJECT
    QTemporaryDir m_config;
    QString m_tracePath;

private slots:
    void initTestCase()
    {
        g_previousHandler = qInstallMessageHandler(captureDebug);
        zssim::Control::reset();
        QFile ini(m_config.filePath("AppEnvionment.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[SDK]\nTraceLevel=3\n");
        ini.close();
        qputenv("TQ_CONFIG_FILE", ini.fileName().toLocal8Bit());
        AppEnvionmentSetting::instance()->initConfig();
    }

    void requestsBeforeInitRunOnTheCreatingThread()
    {
        TQLogCapture log;
        SDK_Agent *agent = SDK_Agent::instance();
        QCOMPARE(agent, SDK_Agent::instance());
        QCOMPARE(agent->thread(), QThread::currentThread());
        emit agent->sig_getUserState({}); // runs at once; an empty list asks the engine nothing
        QCOMPARE(log.texts(), QStringList{"SDK_Agent::slot_getUserState"});
        QCOMPARE(zssim::Control::callCount("GetUserState"), 0);
        QVERIFY(QMetaType::type("Agent_PersonInfo") != QMetaType::UnknownType);
        QVERIFY(QMetaType::type("QList<Agent_PersonState>") != QMetaType::UnknownType);
    }

    void initAgentStartsEngineThenMovesToWorker()
    {
        g_debug.clear();
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        emit SDK_Agent::instance()->sig_InitAgent();
        const QDateTime after = QDateTime::currentDateTime();

        QCOMPARE(SDK_Agent::instance()->thread(), AgentThreadMgr::sharedThread());
        const auto journal = zssim::Control::journal();
        const int trace = indexOf(journal, "SetTraceFlag");
        const int init = indexOf(journal, "ZSSDK_Initialize");
        const int fetch = indexOf(journal, "SetFetchMaxMsgsEveryTime");
        QVERIFY(trace >= 0 && trace < init && init < fetch);
        QCOMPARE(journal[trace].args.value(0).toInt(), 3);
        QCOMPARE(journal[fetch].args.value(0).toInt(), 500);

        // The trace file: inside the engine log directory, named with the local time.
        m_tracePath = QString::fromUtf8(journal[trace].args.value(1).toByteArray());
        const QString dir = TQFilePathMgr::instance()->getLocalSdkLogPath();
        QVERIFY2(m_tracePath.startsWith(dir), qPrintable(m_tracePath));
        const QString name = m_tracePath.mid(dir.size());
        QVERIFY(QRegularExpression("^SdkLog_\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d\\.txt$")
                    .match(name)
                    .hasMatch());
        const QDateTime stamp = QDateTime::fromString(name.mid(7, 19), "yyyy-MM-dd_hh-mm-ss");
        QVERIFY(stamp >= before && stamp <= after);
        QVERIFY(QFile::exists(m_tracePath));

        QCOMPARE(g_debug,
                 (QStringList{"Before_Log_Path = " + m_tracePath, "After_Log_Path = " + m_tracePath,
                              "__________initializeSDK__________"}));

        // The call agent gets its codec defaults, in order.
        QVERIFY(zssim::Control::waitForCalls("SetCodecNack"));
        const auto calls = zssim::Control::journal();
        const int enabled = indexOf(calls, "SetCodecEnabled");
        const int red = indexOf(calls, "SetCodecRed");
        const int nack = indexOf(calls, "SetCodecNack");
        QVERIFY(enabled >= 0 && enabled < red && red < nack);
        QCOMPARE(calls[enabled].args.value(0).toInt(), 10);
        QCOMPARE(calls[enabled].args.value(1).toInt(), 0);
        QCOMPARE(calls[red].args.value(0).toInt(), 1);
        QCOMPARE(calls[nack].args.value(0).toInt(), 0);
        QCOMPARE(calls[nack].args.value(1).toInt(), 0);
    }

    void loginEndToEnd()
    {
        zssim::Control::withServer([](zssim::ServerModel &s) {
            s.accounts.insert("alice", "s3cret-pw");
            s.presence["bob"] = {1, 0, "at lunch"};
        });
        Window window(SDK_Agent::instance());
        TQLogCapture log;
        emit SDK_Agent::instance()->sig_setServerEnvType("servers.xml", 2);
        emit SDK_Agent::instance()->sig_setInternalDNS(true, "10.0.0.53", 5353);
        emit SDK_Agent::instance()->sig_login(loginAs("alice", "s3cret-pw"));

        QTRY_COMPARE(window.states.size(), 2);
        QCOMPARE(window.states[0], (Agent_ConnectState{ZS_STATE_CONNECTING, 0}));
        QCOMPARE(window.states[1], (Agent_ConnectState{ZS_STATE_CONNECTED, 200}));
        QTRY_COMPARE(window.friends.size(), 1);
        QCOMPARE(window.friends[0].size(), 2);
        QCOMPARE(window.friends[0][0].text1, QString("bob"));
        QCOMPARE(window.friends[0][0].text4, QString("at lunch"));
        QCOMPARE(window.threads, QSet<QThread *>{QThread::currentThread()});

        const auto journal = zssim::Control::journal();
        const auto env = zssim::Control::calls("SetServerEnvType").value(0);
        QCOMPARE(env.args, (QVariantList{2, QByteArray("servers.xml")}));
        const auto dns = zssim::Control::calls("SetInternalDNS").value(0);
        QCOMPARE(dns.args, (QVariantList{1, QByteArray("10.0.0.53"), 5353, 0}));
        QVERIFY(indexOf(journal, "SetGeneralCallBackFuction") < indexOf(journal, "Login"));

        QVERIFY(log.texts().contains("SDK_Agent::slot_login"));
        QVERIFY(log.texts().contains(
            "SDK_CallBackProxy::callback_onConnectState code = 2, reason = 200"));
        // The password is in no log line and not in the engine's trace file.
        g_Log->flush();
        for (const QString &line : log.texts())
            QVERIFY(!line.contains("s3cret"));
        QFile trace(m_tracePath);
        QVERIFY(trace.open(QIODevice::ReadOnly));
        const QByteArray traced = trace.readAll();
        QVERIFY(traced.contains("Login("));
        QVERIFY(!traced.contains("s3cret"));
    }

    void failedLoginAndLongTexts()
    {
        Window window(SDK_Agent::instance());
        const QString longUser = QString(300, QChar(0x4E2D)); // 900 bytes of UTF-8
        emit SDK_Agent::instance()->sig_login(loginAs("alice", "wrong"));
        emit SDK_Agent::instance()->sig_login(loginAs(longUser, "x"));
        QTRY_COMPARE(window.states.size(), 4);
        QCOMPARE(window.states[1], (Agent_ConnectState{ZS_STATE_FAILED, 401}));
        QCOMPARE(window.states[3], (Agent_ConnectState{ZS_STATE_FAILED, 404}));

        // Each text is cut to 99 bytes on a character boundary.
        const auto login = zssim::Control::calls("Login").last();
        QCOMPARE(login.args.value(1).toByteArray(), QString(33, QChar(0x4E2D)).toUtf8());

        // Every login registers the same general table again.
        const auto tables = zssim::Control::calls("SetGeneralCallBackFuction");
        QCOMPARE(tables.size(), 3);
        QCOMPARE(tables[2].args, tables[0].args);
    }

    void presenceInTheLocalCodePage()
    {
        emit SDK_Agent::instance()->sig_login(loginAs("alice", "s3cret-pw"));
        QTextCodec *previous = QTextCodec::codecForLocale();
        QTextCodec *gb = QTextCodec::codecForName("GB18030");
        QVERIFY(gb);
        QTextCodec::setCodecForLocale(gb);
        Window window(SDK_Agent::instance());
        const QString text = QString::fromUtf8("在线 – busy");
        emit SDK_Agent::instance()->sig_publishPresenceTQ(1, 3, text);
        QTRY_COMPARE(window.published, QList<int>{200});
        QTextCodec::setCodecForLocale(previous);

        const auto call = zssim::Control::calls("PublishPresence_TQ").last();
        QCOMPARE(call.args.value(2).toByteArray(), gb->fromUnicode(text));
        QVERIFY(call.args.value(2).toByteArray() != text.toUtf8());
        zssim::Control::withServer(
            [&](zssim::ServerModel &s) { QCOMPARE(s.pushedTo["carol"].last().subtype, 3); });
    }

    void personInfoRoundTrip()
    {
        Window window(SDK_Agent::instance());
        Agent_PersonInfo info;
        info.number1 = -1;
        info.number2 = int(0x80000001u);
        info.number3 = 42;
        info.text1 = QString(200, QChar(0xE9)); // 400 bytes: cut to 64 characters
        info.text2 = QStringLiteral("+86 10 1234 5678 ext 99");
        info.text3 = QString::fromUtf8("签名 🎉");
        emit SDK_Agent::instance()->sig_setPersonInfo(info);
        emit SDK_Agent::instance()->sig_setPersonInfo(info);
        emit SDK_Agent::instance()->sig_getPersonInfo("alice");
        QTRY_COMPARE(window.infos.size(), 1);
        QCOMPARE(window.versions.size(), 2);
        QVERIFY(window.versions[0] > (1ULL << 32));
        QCOMPARE(window.versions[1], window.versions[0] + 1);

        Agent_PersonInfo expected = info;
        expected.text1 = QString(64, QChar(0xE9));
        expected.text2 = info.text2.left(20);
        QCOMPARE(window.infos[0], expected);
    }

    void userStatesInTheOrderAsked()
    {
        Window window(SDK_Agent::instance());
        emit SDK_Agent::instance()->sig_getUserState({"carol", "bob", QString::fromUtf8("张三")});
        QTRY_COMPARE(window.userStates.size(), 1);
        const auto list = window.userStates[0];
        QCOMPARE(list.size(), 3);
        QCOMPARE(list[0].text1, QString("carol"));
        QCOMPARE(list[1].text1, QString("bob"));
        QCOMPARE(list[1].number1, 1);
        QCOMPARE(list[2].text1, QString::fromUtf8("张三"));

        zssim::Control::injectFriendPresence("carol", 3, 1, "in a meeting");
        QTRY_COMPARE(window.friends.size(), 1);
        QCOMPARE(window.friends[0].value(0).text4, QString("in a meeting"));
    }

    void logoutPublishesPresenceFirst()
    {
        Window window(SDK_Agent::instance());
        TQLogCapture log;
        zssim::Control::clearJournal();
        emit SDK_Agent::instance()->sig_logout();
        QTRY_COMPARE(window.logouts, QList<int>{200});
        const QStringList agentLines = log.texts().filter(QRegularExpression("^SDK_Agent::"));
        QCOMPARE(agentLines,
                 (QStringList{"SDK_Agent::slot_publishPresenceTQ", "SDK_Agent::slot_logout"}));
        const auto journal = zssim::Control::journal();
        QCOMPARE(journal.value(0).function, QString("PublishPresence_TQ"));
        QCOMPARE(journal.value(0).args.mid(0, 3), (QVariantList{2, 0, QByteArray("")}));
        QCOMPARE(journal.value(1).function, QString("Logout"));
    }

    void uninitTwice()
    {
        emit SDK_Agent::instance()->sig_uninitSDK();
        emit SDK_Agent::instance()->sig_uninitSDK();
        QVERIFY(zssim::Control::waitForCalls("ZSSDK_UnInitialize", 2));
        QVERIFY(!zssim::Control::initialized());
    }
};

QTEST_MAIN(TestSession)
#include "tst_session.moc"
