// The shared agent frame: one guarded instance, the one worker thread, request order,
// records carried across threads, and the text round trip through the engine.

#include "ProbeAgent.h"

#include <AgentThreadMgr.h>
#include <TQLog.h>
#include <ZSsdkControl.h>

#include <QSemaphore>
#include <QtTest>

#include <thread>
#include <vector>

namespace {
// Receives results on the main thread through queued connections, as a window would.
class Window : public QObject
{
public:
    QList<QPair<int, Agent_ProbeRecord>> infos;
    QList<qulonglong> versions;
    QList<QThread *> threads;

    void watch(Probe_Agent *agent)
    {
        connect(agent, &Probe_Agent::sig_onGetInfo, this,
                [this](int reason, const Agent_ProbeRecord &r) {
                    infos.append({reason, r});
                    threads.append(QThread::currentThread());
                });
        connect(agent, &Probe_Agent::sig_onSetInfo, this,
                [this](int, qulonglong version) { versions.append(version); });
    }
};
} // namespace

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

    void recordTypesRegisteredAtCreation()
    {
        // Registered by instance(), before any signal carried them.
        QVERIFY(QMetaType::type("Agent_ProbeRecord") != QMetaType::UnknownType);
        QVERIFY(QMetaType::type("QList<Agent_ProbeRecord>") != QMetaType::UnknownType);
        QCOMPARE(QMetaType::typeName(qMetaTypeId<Agent_ProbeRecord>()), "Agent_ProbeRecord");
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

    void recordRoundTripThroughEngine()
    {
        Window window;
        window.watch(Probe_Agent::instance());
        zssim::Control::withServer([](zssim::ServerModel &s) { s.currentUser = "alice"; });
        zssim::Control::clearJournal();
        TQLogCapture log;

        Agent_ProbeRecord sent;
        sent.number1 = -1;
        sent.number2 = 0x7fffffff;
        sent.number3 = int(0x80000000u);
        sent.text1 = QString::fromUtf8("张三 Ünïcødé 🎉 %1 %2");
        sent.text2 = QString::fromUtf8("sig: ½");
        sent.text3 = QString(1305, QLatin1Char('x')); // exactly fills its field

        emit Probe_Agent::instance()->sig_setInfo(sent);
        QTRY_COMPARE(window.versions.size(), 1);
        QVERIFY(window.versions[0] > (1ULL << 32)); // the full 64-bit version arrives

        // The engine got UTF-8 in the fixed fields, zero-filled.
        const auto set = zssim::Control::calls("SetPersonInfo");
        QCOMPARE(set.size(), 1);
        const QByteArray bytes = set[0].records.value(0);
        QCOMPARE(bytes.size(), int(sizeof(ZS_PersonInfo)));
        const auto *engineRecord = reinterpret_cast<const ZS_PersonInfo *>(bytes.constData());
        QCOMPARE(QByteArray(engineRecord->text1), sent.text1.toUtf8());
        QCOMPARE(engineRecord->text3[1305], '\0');

        emit Probe_Agent::instance()->sig_getInfo(QStringLiteral("alice"));
        QTRY_COMPARE(window.infos.size(), 1);
        QCOMPARE(window.infos[0].first, 200);
        QCOMPARE(window.infos[0].second, sent);
        QCOMPARE(window.threads[0], QThread::currentThread());

        // Slot and callback lines; the "%1" inside the text did not disturb any line.
        QTRY_VERIFY(log.count("ProbeCallBack::callback_onGetPersonInfo") == 1);
        QCOMPARE(log.count("Probe_Agent::slot_setInfo"), 1);
        QCOMPARE(log.count("Probe_Agent::slot_setInfo,ret=0"), 1);
        QCOMPARE(log.count("Probe_Agent::slot_getInfo,ret=0"), 1);
    }

    void refusedRequestIsLoggedAndGetsNoAnswer()
    {
        Window window;
        window.watch(Probe_Agent::instance());
        TQLogCapture log;
        zssim::Control::scriptReturn("GetPersonInfo", ZS_ERR_BUSY, 1);
        emit Probe_Agent::instance()->sig_getInfo(QStringLiteral("alice"));
        QTRY_COMPARE(log.count(QString("Probe_Agent::slot_getInfo,ret=%1").arg(ZS_ERR_BUSY)), 1);
        emit Probe_Agent::instance()->sig_getInfo(QStringLiteral("nobody"));
        QTRY_COMPARE(window.infos.size(), 1); // only the second request was answered
        QCOMPARE(window.infos[0].first, 404);
        QCOMPARE(window.infos[0].second, Agent_ProbeRecord());
    }
};

QTEST_MAIN(TestAgentFrame)
#include "tst_agentframe.moc"
