// The agent's own life: destroyed with sends still queued, and built first on a thread that
// runs no event loop. Runs last: it replaces the agent the other classes used.

#include "ImTestSupport.h"

#include <AgentThreadMgr.h>

#include <QPointer>

#include <thread>

namespace {

// Warnings Qt prints while a test runs (a timer stopped from the wrong thread, say).
QStringList &warnings()
{
    static QStringList list;
    return list;
}

QtMessageHandler g_previous = nullptr;

void collectWarnings(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg || type == QtCriticalMsg)
        warnings() << text;
    if (g_previous)
        g_previous(type, context, text);
}

// Deletes the agent on its own thread and waits until it is gone.
bool destroyAgent()
{
    QPointer<IM_Agent> agent = IM_Agent::instance();
    agent->deleteLater();
    return QTest::qWaitFor([&] { return agent.isNull(); });
}

} // namespace

class TestImLifecycle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { g_previous = qInstallMessageHandler(collectWarnings); }
    void cleanupTestCase() { qInstallMessageHandler(g_previous); }

    void init()
    {
        QVERIFY(startEngine());
        warnings().clear();
    }

    // Sends still queued go with the agent, unsent; its timer goes on its own thread.
    void destroyedWithSendsPending()
    {
        holdQueue();
        for (int i = 0; i < 5; ++i)
            emit IM_Agent::instance()->sig_sendTextMessage("bob", "never", Agent_MsgType(1),
                                                           QString());
        QVERIFY(drain());
        QCOMPARE(IM_TaskQueueProbe::pending(), 5);
        QPointer<QTimer> timer = IM_TaskQueueProbe::timer();
        QVERIFY(destroyAgent());
        QTRY_VERIFY(timer.isNull());
        QVERIFY(zssim::Control::waitIdle());
        QCOMPARE(zssim::Control::callCount("SendTextMessageEX"), 0);
        QVERIFY2(warnings().isEmpty(), qPrintable(warnings().join('\n')));

        // The next instance() builds a fresh agent whose queue is empty and running.
        IM_Agent *agent = IM_Agent::instance();
        QCOMPARE(agent->thread(), AgentThreadMgr::sharedThread());
        QCOMPARE(IM_TaskQueueProbe::pending(), 0);
        QTRY_VERIFY(IM_TaskQueueProbe::timer()->isActive());
    }

    // First built on a thread without an event loop (a plain thread, as an engine callback
    // would be): the timer goes to the application's thread, so queued sends still leave.
    void builtOnThreadWithoutEventLoop()
    {
        QVERIFY(destroyAgent());
        std::thread plain([] { IM_Agent::instance(); });
        plain.join();
        IM_Agent *agent = IM_Agent::instance();
        QCOMPARE(agent->thread(), AgentThreadMgr::sharedThread());
        QTimer *timer = IM_TaskQueueProbe::timer();
        QCOMPARE(timer->thread(), QCoreApplication::instance()->thread());
        QTRY_VERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 250);

        const quint64 before = IM_TaskQueueProbe::ticks();
        emit agent->sig_sendTextMessage("bob", "still sent", Agent_MsgType(1), QString());
        QTRY_COMPARE_WITH_TIMEOUT(zssim::Control::callCount("SendTextMessageEX"), 1, 20000);
        QVERIFY(IM_TaskQueueProbe::ticks() > before);
        QVERIFY2(warnings().isEmpty(), qPrintable(warnings().join('\n')));
    }

    // An engine callback arriving while no agent exists builds it on the engine's thread;
    // the queue works all the same.
    void builtByAnEngineCallback()
    {
        QVERIFY(destroyAgent());
        zssim::Control::fire(&ZS_MessageCallBack::onOfflineMessageCount, 0);
        QVERIFY(zssim::Control::waitIdle());
        IM_Agent *agent = IM_Agent::instance();
        QCOMPARE(IM_TaskQueueProbe::timer()->thread(), QCoreApplication::instance()->thread());
        emit agent->sig_sendTextMessage("bob", "after a callback", Agent_MsgType(1), QString());
        QTRY_COMPARE_WITH_TIMEOUT(zssim::Control::callCount("SendTextMessageEX"), 1, 20000);
    }
};

QObject *newTestImLifecycle()
{
    return new TestImLifecycle;
}

#include "tst_im_lifecycle.moc"
