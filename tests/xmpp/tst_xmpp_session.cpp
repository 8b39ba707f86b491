// The XMPP engine's session over a real Prosody: login, wrong password, unreachable server,
// an untrusted certificate, logout, and the functions it does not implement.

#include "XmppTest.h"
#include "ZSsdk.h"

#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

struct Event
{
    enum Kind { ConnectState, LogOut } kind;
    int a = 0;
    int b = 0;
    bool operator==(const Event &o) const { return kind == o.kind && a == o.a && b == o.b; }
};

// What the engine answered, in order, from its own thread.
class Recorder
{
public:
    void add(Event e)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_events.push_back(e);
        }
        m_changed.notify_all();
    }
    // Waits until the answers hold at least `count` events; returns them.
    std::vector<Event> waitFor(std::size_t count, int timeoutMs = 30000)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [&] { return m_events.size() >= count; });
        return m_events;
    }
    std::vector<Event> take()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::exchange(m_events, {});
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Event> m_events;
};

Recorder g_recorder;

void ZS_CALL onConnectState(int code, int reason)
{
    g_recorder.add({Event::ConnectState, code, reason});
}
void ZS_CALL onLogOut(int reason)
{
    g_recorder.add({Event::LogOut, reason, 0});
}

// A login record over user, password, server "localhost" and port; `store` owns the texts.
ZS_LoginInfo loginRecord(std::vector<QByteArray> &store, const QString &user,
                         const QString &password, int port)
{
    store = {user.toUtf8(), password.toUtf8(), "localhost", QByteArray::number(port), "", ""};
    ZS_LoginInfo info{};
    for (std::size_t k = 0; k < 6; ++k)
        info.text[k] = store[k].data();
    return info;
}

// Logs in and returns the answers up to the first one that is not "connecting".
std::vector<Event> login(const QString &user, const QString &password, int port)
{
    std::vector<QByteArray> store;
    const ZS_LoginInfo info = loginRecord(store, user, password, port);
    g_recorder.take();
    if (Login(&info) != ZS_OK)
        return {};
    return g_recorder.waitFor(2);
}

const Event connecting{Event::ConnectState, ZS_STATE_CONNECTING, 0};

} // namespace

class TestXmppSession : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void refusesBeforeInitialize();
    void loginConnectsAndLogoutAnswers();
    void wrongPasswordGives401();
    void secondLoginWhileConnectingIsBusy();
    void logoutWhileConnectingAnswers();
    void unreachableServerGivesNetworkError();
    void untrustedCertificateIsRefused();
    void passwordsStayOutOfTraceAndServerLog();
    void unsupportedFunctionsAnswerAtOnce();
    void logoutWithoutLoginAnswers();

private:
    int m_port = 0;
    QString m_caFile;
    QTemporaryDir m_scratch;
    ZS_GeneralCallBack m_table{};
};

void TestXmppSession::initTestCase()
{
    m_port = XmppServer::port();
    QVERIFY2(m_port > 0, "TQ_XMPP_PORT is set by CTest");
    QVERIFY(XmppServer::ensureStarted());
    m_caFile = XmppServer::caFile();
    QVERIFY(QFile::exists(m_caFile));
    m_table.onConnectState = onConnectState;
    m_table.onLogOut = onLogOut;
}

void TestXmppSession::cleanupTestCase()
{
    qunsetenv("TQ_XMPP_CA_FILE");
}

void TestXmppSession::init()
{
    qputenv("TQ_XMPP_CA_FILE", m_caFile.toUtf8());
    QCOMPARE(ZSSDK_Initialize(), int(ZS_OK));
    QCOMPARE(SetGeneralCallBackFuction(&m_table), int(ZS_OK));
    g_recorder.take();
}

void TestXmppSession::cleanup()
{
    ZSSDK_UnInitialize();
    SetTraceFlag(0, nullptr);
}

void TestXmppSession::refusesBeforeInitialize()
{
    ZSSDK_UnInitialize();
    ZS_LoginInfo info{};
    QCOMPARE(Login(&info), int(ZS_ERR_NOT_INITIALIZED));
    QCOMPARE(Logout(), int(ZS_ERR_NOT_INITIALIZED));
    QVERIFY(g_recorder.take().empty());
}

void TestXmppSession::loginConnectsAndLogoutAnswers()
{
    const auto events = login(QStringLiteral("alice"), QStringLiteral("alice"), m_port);
    QCOMPARE(events.size(), std::size_t(2));
    QVERIFY(events[0] == connecting);
    QVERIFY(events[1] == (Event{Event::ConnectState, ZS_STATE_CONNECTED, ZS_REASON_SUCCESS}));

    QCOMPARE(Logout(), int(ZS_OK));
    const auto after = g_recorder.waitFor(3);
    QCOMPARE(after.size(), std::size_t(3));
    QVERIFY(after[2] == (Event{Event::LogOut, ZS_REASON_SUCCESS, 0}));

    // The session can be opened again after a logout.
    const auto again = login(QStringLiteral("alice@localhost"), QStringLiteral("alice"), m_port);
    QCOMPARE(again.size(), std::size_t(2));
    QCOMPARE(again[1].a, int(ZS_STATE_CONNECTED));
}

void TestXmppSession::wrongPasswordGives401()
{
    const auto events = login(QStringLiteral("bob"), QStringLiteral("not-bob"), m_port);
    QCOMPARE(events.size(), std::size_t(2));
    QVERIFY(events[0] == connecting);
    QVERIFY(events[1] == (Event{Event::ConnectState, ZS_STATE_FAILED, ZS_REASON_UNAUTHORIZED}));
    // A failed login leaves the engine ready for the next one.
    const auto retry = login(QStringLiteral("bob"), QStringLiteral("bob"), m_port);
    QCOMPARE(retry.size(), std::size_t(2));
    QCOMPARE(retry[1].a, int(ZS_STATE_CONNECTED));
}

void TestXmppSession::secondLoginWhileConnectingIsBusy()
{
    std::vector<QByteArray> store;
    const ZS_LoginInfo info
        = loginRecord(store, QStringLiteral("carol"), QStringLiteral("carol"), m_port);
    QCOMPARE(Login(&info), int(ZS_OK));
    QCOMPARE(Login(&info), int(ZS_ERR_BUSY));
    const auto events = g_recorder.waitFor(2);
    QCOMPARE(events.size(), std::size_t(2));
    QCOMPARE(events[1].a, int(ZS_STATE_CONNECTED));
}

void TestXmppSession::logoutWhileConnectingAnswers()
{
    std::vector<QByteArray> store;
    const ZS_LoginInfo info
        = loginRecord(store, QStringLiteral("alice"), QStringLiteral("alice"), m_port);
    QCOMPARE(Login(&info), int(ZS_OK));
    QCOMPARE(Logout(), int(ZS_OK));
    const auto events = g_recorder.waitFor(2);
    QCOMPARE(events.size(), std::size_t(2));
    QVERIFY(events[0] == connecting);
    QVERIFY(events[1] == (Event{Event::LogOut, ZS_REASON_SUCCESS, 0}));
    // The abandoned attempt does not disturb the next login.
    const auto next = login(QStringLiteral("alice"), QStringLiteral("alice"), m_port);
    QCOMPARE(next.size(), std::size_t(2));
    QVERIFY(next[1] == (Event{Event::ConnectState, ZS_STATE_CONNECTED, ZS_REASON_SUCCESS}));
}

void TestXmppSession::unreachableServerGivesNetworkError()
{
    // A port that was just free: nothing listens there.
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const int closedPort = probe.serverPort();
    probe.close();
    const auto events = login(QStringLiteral("alice"), QStringLiteral("alice"), closedPort);
    QCOMPARE(events.size(), std::size_t(2));
    QVERIFY(events[1] == (Event{Event::ConnectState, ZS_STATE_FAILED, ZS_ERR_NETWORK}));
}

void TestXmppSession::untrustedCertificateIsRefused()
{
    qunsetenv("TQ_XMPP_CA_FILE");
    const auto events = login(QStringLiteral("alice"), QStringLiteral("alice"), m_port);
    QCOMPARE(events.size(), std::size_t(2));
    QVERIFY(events[1] == (Event{Event::ConnectState, ZS_STATE_FAILED, ZS_ERR_NETWORK}));
}

void TestXmppSession::passwordsStayOutOfTraceAndServerLog()
{
    const QString trace = m_scratch.filePath(QStringLiteral("trace.txt"));
    SetTraceFlag(5, trace.toUtf8().constData());
    const QByteArray secret = "Wr0ng-pass-7f3a9c";
    const auto events = login(QStringLiteral("alice"), QString::fromLatin1(secret), m_port);
    QCOMPARE(events.size(), std::size_t(2));
    QCOMPARE(events[1].b, int(ZS_REASON_UNAUTHORIZED));
    const auto ok = login(QStringLiteral("carol"), QStringLiteral("carol"), m_port);
    QCOMPARE(ok.size(), std::size_t(2));
    ZSSDK_UnInitialize();

    QFile traceFile(trace);
    QVERIFY(traceFile.open(QIODevice::ReadOnly));
    const QByteArray traced = traceFile.readAll();
    QVERIFY2(traced.contains("Login alice@localhost"), traced.constData());
    QVERIFY(!traced.contains(secret));

    // Prosody logged these logins at its configured level, and never the password.
    QFile serverLog(XmppServer::dir() + QStringLiteral("/prosody.log"));
    QVERIFY(serverLog.open(QIODevice::ReadOnly));
    const QByteArray logged = serverLog.readAll();
    QVERIFY(logged.contains("Authenticated as carol@localhost"));
    QVERIFY(!logged.contains(secret));
    QVERIFY(!logged.contains(secret.toBase64()));
}

void TestXmppSession::unsupportedFunctionsAnswerAtOnce()
{
    unsigned int key = 0;
    QCOMPARE(GetConferenceInfo(&key, "c1", nullptr), int(ZS_ERR_UNSUPPORTED));
    QCOMPARE(key, 0u);
    const char *callId = nullptr;
    QCOMPARE(MakeCall(&callId, 1, "bob"), int(ZS_ERR_UNSUPPORTED));
    QCOMPARE(PrintScreen(0, 0, 1, 1), int(ZS_ERR_UNSUPPORTED));
    QVERIFY(GetCurrentCall() != nullptr);
    QVERIFY(g_recorder.take().empty());
}

void TestXmppSession::logoutWithoutLoginAnswers()
{
    // Nothing to close: answered all the same, and the engine stays usable.
    QCOMPARE(Logout(), int(ZS_OK));
    const auto events = g_recorder.waitFor(1);
    QCOMPARE(events.size(), std::size_t(1));
    QVERIFY(events[0] == (Event{Event::LogOut, ZS_REASON_SUCCESS, 0}));
    const auto next = login(QStringLiteral("bob"), QStringLiteral("bob"), m_port);
    QCOMPARE(next.size(), std::size_t(2));
    QCOMPARE(next[1].a, int(ZS_STATE_CONNECTED));
}

TQ_TEST_CLASS(TestXmppSession)
#include "tst_xmpp_session.moc"
