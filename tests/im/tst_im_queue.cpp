// The send queue: the four sends of a new message wait for the 250 ms timer, one per tick, in
// request order; everything else runs at once. Ticks are counted, never timed: the tests
// stop the real timer and give ticks through its own timeout() signal, and the one test that
// lets the real timer run compares tick numbers.

#include "ImTestSupport.h"

#include <AgentThreadMgr.h>

#include <QTemporaryDir>

namespace {

QByteArrayList sentTexts()
{
    QByteArrayList texts;
    for (const zssim::CallRecord &call : zssim::Control::calls("SendTextMessageEX"))
        texts << call.args.value(1).toByteArray();
    return texts;
}

QStringList sendFunctions()
{
    QStringList names;
    for (const zssim::CallRecord &call : zssim::Control::journal())
        if (call.function.startsWith(QLatin1String("Send")))
            names << call.function;
    return names;
}

} // namespace

class TestImQueue : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(startEngine());
        holdQueue();
        QVERIFY(drain());
        QCOMPARE(IM_TaskQueueProbe::pending(), 0);
    }

    void cleanup()
    {
        // Whatever a failed test left queued is sent, then the real timer runs again.
        while (IM_TaskQueueProbe::pending() > 0)
            QVERIFY(tick());
        resumeQueue();
    }

    void timerIsRealAndOnTheCreatingThread()
    {
        const QTimer *timer = IM_TaskQueueProbe::timer();
        QCOMPARE(timer->interval(), 250);
        QVERIFY(!timer->isSingleShot());
        QCOMPARE(timer->thread(), QThread::currentThread()); // main() created the agent
        QCOMPARE(IM_Agent::instance()->thread(), AgentThreadMgr::sharedThread());
        resumeQueue();
        QVERIFY(timer->isActive());
    }

    // Ten sends in one burst: nothing leaves before a tick, then one per tick in order, the
    // tenth nine ticks after the first.
    void burstLeavesOnePerTick()
    {
        TQLogCapture log;
        IM_Agent *agent = IM_Agent::instance();
        for (int i = 0; i < 10; ++i)
            emit agent->sig_sendTextMessage("bob", QStringLiteral("m%1").arg(i), Agent_MsgType(1),
                                            QString());
        QVERIFY(drain());
        QCOMPARE(IM_TaskQueueProbe::pending(), 10);
        QCOMPARE(zssim::Control::callCount("SendTextMessageEX"), 0);
        QCOMPARE(log.count("IM_Agent::slot_sendTextMessage"), 10);

        QList<quint64> sentAt;
        for (int i = 1; i <= 10; ++i) {
            QVERIFY(tick());
            QCOMPARE(zssim::Control::callCount("SendTextMessageEX"), i);
            sentAt << IM_TaskQueueProbe::ticks();
        }
        QCOMPARE(sentAt.last() - sentAt.first(), quint64(9));
        QByteArrayList expected;
        for (int i = 0; i < 10; ++i)
            expected << QByteArray("m") + QByteArray::number(i);
        QCOMPARE(sentTexts(), expected);
        QCOMPARE(IM_TaskQueueProbe::pending(), 0);

        // One line per send, each after the send it reports.
        const QStringList lines = agentLines(log).filter(QRegularExpression("^ret = "));
        QCOMPARE(lines.size(), 10);
        QCOMPARE(lines[0],
                 QStringLiteral("ret = 0, matchKey = %1, msgId = msg-1")
                     .arg(zssim::Control::calls("SendTextMessageEX")[0].args.last().toUInt()));
    }

    void textThenMediaOneTickApart()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("photo.jpg");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("jpeg bytes");
        f.close();

        IM_Agent *agent = IM_Agent::instance();
        emit agent->sig_sendTextMessage("bob", "first", Agent_MsgType(1), QString());
        emit agent->sig_sendMediaMessageEX("bob", file, Agent_MsgType(3), QString(), QString(),
                                           file);
        QVERIFY(drain());
        QCOMPARE(sendFunctions(), QStringList());
        QVERIFY(tick());
        QCOMPARE(sendFunctions(), QStringList{"SendTextMessageEX"});
        QVERIFY(tick());
        QCOMPARE(sendFunctions(), QStringList({"SendTextMessageEX", "SendMediaMessageEX"}));
    }

    void emptyQueueTickDoesNothing()
    {
        zssim::Control::clearJournal();
        TQLogCapture log;
        const quint64 before = IM_TaskQueueProbe::ticks();
        for (int i = 0; i < 3; ++i)
            QVERIFY(tick());
        QCOMPARE(IM_TaskQueueProbe::ticks(), before + 3);
        QCOMPARE(zssim::Control::journal().size(), 0);
        QCOMPARE(log.texts(), QStringList());
    }

    // A retry is not a new send: it runs at once, ahead of the sends still queued.
    void retryOvertakesQueuedSends()
    {
        IM_Agent *agent = IM_Agent::instance();
        emit agent->sig_sendTextMessage("bob", "queued 1", Agent_MsgType(1), QString());
        emit agent->sig_sendTextMessageEX("bob", "queued 2", Agent_MsgType(1), QString(), "{}");
        emit agent->sig_retryMediaMessageEX("bob", "/nonexistent/a.png", Agent_MsgType(3),
                                            QString(), QString(), QString(), "uuid-1", "{}",
                                            "old-1");
        QVERIFY(drain());
        QCOMPARE(sendFunctions(), QStringList{"SendMediaMessageEX"});
        QCOMPARE(IM_TaskQueueProbe::pending(), 2);
        QVERIFY(tick());
        QVERIFY(tick());
        QCOMPARE(sendFunctions(),
                 QStringList({"SendMediaMessageEX", "SendTextMessageEX", "SendTextMessageEX"}));
    }

    // The real 250 ms timer drains the queue by itself, one send per tick.
    void realTimerSendsOnePerTick()
    {
        IM_Agent *agent = IM_Agent::instance();
        QList<quint64> ticksAtSend;
        QMutex mutex;
        const auto c = connect(
            agent, &IM_Agent::sig_onPreSendTextMessage, agent,
            [&](int, ChatMsgData) {
                QMutexLocker locker(&mutex);
                ticksAtSend << IM_TaskQueueProbe::ticks();
            },
            Qt::DirectConnection);
        for (int i = 0; i < 3; ++i)
            emit agent->sig_sendTextMessage("bob", QStringLiteral("r%1").arg(i), Agent_MsgType(1),
                                            QString());
        QVERIFY(drain()); // all queued before the timer runs
        resumeQueue();
        QTRY_COMPARE_WITH_TIMEOUT(zssim::Control::callCount("SendTextMessageEX"), 3, 20000);
        QVERIFY(drain());
        disconnect(c);
        QMutexLocker locker(&mutex);
        QCOMPARE(ticksAtSend.size(), 3);
        QCOMPARE(ticksAtSend[1], ticksAtSend[0] + 1);
        QCOMPARE(ticksAtSend[2], ticksAtSend[1] + 1);
        QCOMPARE(sentTexts(), QByteArrayList({"r0", "r1", "r2"}));
    }
};

QObject *newTestImQueue()
{
    return new TestImQueue;
}

#include "tst_im_queue.moc"
