// The shared agent frame: one guarded instance, the one worker thread, request order, and a
// request through the engine and back.

#include "ProbeAgent.h"

#include <AgentThreadMgr.h>
#include <TQLog.h>
#include <ZSsdkControl.h>

#include <QSemaphore>
#include <QVariantList>
#include <QtTest>

#include <thread>
#include <vector>

class TestAgentFrame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        zssim::Control::reset();
        QCOMPARE(ZSSDK_Initialize(), 0);
    }

    // Must run before anything else creates Probe2_Agent.
    void concurrentFirstCallsBuildOneAgent()
    {
        constexpr int kThreads = 8;
        QSemaphore ready;
        QSemaphore go;
        std::vector<Probe2_Agent *> seen(kThreads, nullptr);
        std::vector<std::thread> threads;
        for (int i = 0; i < kThreads; ++i) {
            threads.emplace_back([&, i] {
                ready.release();
                go.acquire();
                seen[std::size_t(i)] = Probe2_Agent::instance();
            });
        }
        ready.acquire(kThreads);
        go.release(kThreads);
        for (auto &t : threads)
            t.join();

        QCOMPARE(Probe2_Agent::constructions.load(), 1);
        for (Probe2_Agent *agent : seen)
            QCOMPARE(agent, Probe2_Agent::instance());
        QCOMPARE(Probe2_Agent::instance()->thread(), AgentThreadMgr::sharedThread());
    }

    void callbackDuringBuildWaitsForTheAgent()
    {
        QSemaphore inCallback;
        Probe_Agent *fromCallback = nullptr;
        Probe_Agent::duringBuild = [&] {
            // An engine event that needs the agent arrives while it is still being built.
            zssim::Control::post([&] {
                inCallback.release();
                fromCallback = Probe_Agent::instance();
            });
            inCallback.acquire();
        };
        Probe_Agent *agent = Probe_Agent::instance();
        Probe_Agent::duringBuild = nullptr;

        QVERIFY(zssim::Control::waitIdle());
        QCOMPARE(fromCallback, agent);
        QCOMPARE(Probe_Agent::constructions.load(), 1);
    }

    void oneInstanceOnOneSharedThread()
    {
        QThread *shared = AgentThreadMgr::sharedThread();
        QCOMPARE(AgentThreadMgr::sharedThread(), shared);
        QVERIFY(shared->isRunning());
        QCOMPARE(Probe_Agent::instance(), Probe_Agent::instance());
        QCOMPARE(Probe_Agent::instance()->thread(), shared);
        QCOMPARE(Probe_Agent::instance()->parent(), nullptr);
        QVERIFY(shared != QThread::currentThread());
    }

    void failedBuildLeavesNoAgentAndRetries()
    {
        Stay_Agent::failNextBuild = true;
        QVERIFY_EXCEPTION_THROWN(Stay_Agent::instance(), std::runtime_error);
        Stay_Agent *agent = Stay_Agent::instance();
        QVERIFY(agent);
        QCOMPARE(Stay_Agent::constructions.load(), 2);
        QCOMPARE(Stay_Agent::instance(), agent);
    }

    void agentOnCreatingThreadRunsRequestsAtOnce()
    {
        MarkLog::clear();
        QCOMPARE(Stay_Agent::instance()->thread(), QThread::currentThread());
        emit Stay_Agent::instance()->sig_mark(5);
        const auto marks = MarkLog::marks();
        QCOMPARE(marks.size(), 1);
        QCOMPARE(marks[0].thread, QThread::currentThread());
    }

    void requestsRunOnWorkerInEmissionOrder()
    {
        MarkLog::clear();
        constexpr int kMarks = 200;
        for (int n = 0; n < kMarks; ++n) {
            if (n % 2)
                emit Probe2_Agent::instance()->sig_mark(n);
            else
                emit Probe_Agent::instance()->sig_mark(n);
        }
        QTRY_COMPARE(MarkLog::marks().size(), kMarks);
        const auto marks = MarkLog::marks();
        for (int n = 0; n < kMarks; ++n) {
            QCOMPARE(marks[n].n, n);
            QCOMPARE(marks[n].agent, QString(n % 2 ? "Probe2_Agent" : "Probe_Agent"));
            QCOMPARE(marks[n].thread, AgentThreadMgr::sharedThread());
        }
    }

    void slotCallsEngineAndLogsItsCode()
    {
        QList<int> answers;
        QObject window; // results arrive queued on the main thread
        connect(Probe_Agent::instance(), &Probe_Agent::sig_onPublish, &window,
                [&](int reason) { answers << reason; });
        TQLogCapture log;
        zssim::Control::clearJournal();
        zssim::Control::scriptReturn("PublishPresence_TQ", ZS_ERR_BUSY, 1);
        emit Probe_Agent::instance()->sig_publish(1, 0, "refused");
        emit Probe_Agent::instance()->sig_publish(2, 5, QString::fromUtf8("中 %1"));

        QTRY_COMPARE(answers, QList<int>{200}); // the refused request gets no answer
        QCOMPARE(log.count(QString("Probe_Agent::slot_publish,ret=%1").arg(ZS_ERR_BUSY)), 1);
        QCOMPARE(log.count("Probe_Agent::slot_publish,ret=0"), 1);
        const auto calls = zssim::Control::calls("PublishPresence_TQ");
        QCOMPARE(calls.size(), 2);
        QCOMPARE(calls[1].args.mid(0, 3),
                 (QVariantList{2, 5, QString::fromUtf8("中 %1").toLocal8Bit()}));
    }
};

QTEST_MAIN(TestAgentFrame)
#include "tst_agentframe.moc"
