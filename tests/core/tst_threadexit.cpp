// At application exit the shared worker is stopped and joined (bounded), so no slot runs
// during static destruction; the thread object itself is never deleted.

#include "ProbeAgent.h"

#include <AgentThreadMgr.h>

#include <QCoreApplication>
#include <QtTest>

class TestThreadExit : public QObject
{
    Q_OBJECT

private slots:
    void workerStopsWithTheApplication()
    {
        QThread *worker = nullptr;
        {
            int argc = 1;
            char name[] = "tst_threadexit";
            char *argv[] = {name, nullptr};
            QCoreApplication app(argc, argv);
            worker = AgentThreadMgr::sharedThread();
            emit Probe_Agent::instance()->sig_mark(1);
            QVERIFY(worker->isRunning());
            QTRY_COMPARE(MarkLog::marks().size(), 1);
        }
        QVERIFY(worker->isFinished());
        QCOMPARE(AgentThreadMgr::sharedThread(), worker);
    }
};

QTEST_APPLESS_MAIN(TestThreadExit)
#include "tst_threadexit.moc"
