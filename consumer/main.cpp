// Builds against the installed package only: headers, libraries and the engine header.
#include <AgentLog.h>
#include <AgentThreadMgr.h>
#include <PendingRequestStore.h>
#include <SDK_Agent.h>
#include <TQLog.h>
#include <TQ_Agent.h>
#include <Voip_Agent.h>
#include <ZSsdk.h>

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    TQ_Agent marker;
    marker = TQ_Agent();
    TQLogCapture log;
    const int ret = tq::callEngine(TQ_WHERE(Consumer), ZSSDK_Initialize);
    PendingRequestStore::instance()->insert(1, 1);
    const bool ok = ret == 0 && log.count("Consumer::main,ret=0") == 1
        && AgentThreadMgr::sharedThread() != nullptr && PendingRequestStore::instance()->size() == 1
        && SDK_Agent::instance()->thread() == QThread::currentThread()
        && Voip_Agent::instance()->thread() == AgentThreadMgr::sharedThread();
    ZSSDK_UnInitialize();
    std::printf("consumer: %s\n", ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}
