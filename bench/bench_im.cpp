// Receive path of the messaging family: full engine message records (47 140 bytes) fired on
// the engine's thread -> callback_onReceiveMessage converts, logs its block and emits ->
// receiver on the main thread. Against a bare queued emission of a prebuilt ChatMsgData.
// Targets: <= 2x per message; resident memory flat over 1 000 000 messages.
//
//     bench_im [messages for the memory run, default 1000000]

#include <IM_Agent.h>
#include <ImConvert.h>

#include <TQLog.h>
#include <Utf8Field.h>
#include <ZSsdkControl.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kTimed = 100000;
constexpr int kBatch = 10000;
constexpr int kRounds = 5;

class Counter : public QObject
{
public:
    int seen = 0;
    int target = 0;
    QEventLoop loop;
    void hit()
    {
        if (++seen == target)
            loop.quit();
    }
};

class BareSource : public QObject
{
    Q_OBJECT
signals:
    void message(ChatMsgData msg);
};

template<std::size_t N> void put(char (&field)[N], const char *text)
{
    tq::copyUtf8Field(field, N, text, std::strlen(text));
}

// A typical incoming text: short fields, in a record of the full size.
std::vector<ZS_MessageInfo> typicalRecord()
{
    std::vector<ZS_MessageInfo> record(1);
    ZS_MessageInfo &r = record[0];
    r.msgType = 1;
    put(r.msgId, "3f1c2a9e-5b7d-4c1e-9a0f-2d8e6b4c7a13");
    put(r.dateCreated, "2024-05-06 14:03:27");
    put(r.sender, "bob");
    put(r.receiver, "alice");
    put(r.sessionId, "bob");
    put(r.msgContent, "Are we still on for the design review at 3 pm? I booked room 4.");
    put(r.userData, "{\"client\":\"desktop\"}");
    return record;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long residentKiB()
{
    long pages = 0;
    long resident = 0;
    if (std::FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// CPU time of the whole process (every thread: engine, receiver, log writer), in us.
double processCpuUs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

struct Cost
{
    double wallUs = 0; // per message
    double cpuUs = 0; // per message, all threads
};

// Fires `count` messages on the engine's thread and waits until the receiver had them all;
// `settle` runs before the clocks stop (the log writer's share of the work).
template<class Fire> Cost run(Counter &counter, int count, Fire fire, bool settle = false)
{
    counter.seen = 0;
    counter.target = count;
    const auto start = Clock::now();
    const double cpuStart = processCpuUs();
    zssim::Control::post([fire, count] {
        for (int i = 0; i < count; ++i)
            fire();
    });
    counter.loop.exec();
    if (settle)
        g_Log->flush();
    Cost cost;
    cost.wallUs = std::chrono::duration<double, std::micro>(Clock::now() - start).count() / count;
    cost.cpuUs = (processCpuUs() - cpuStart) / count;
    return cost;
}

} // namespace

int main(int argc, char *argv[])
{
    // The blocks of a million messages go to a scratch log, removed at the end.
    QTemporaryDir scratch;
    if (qEnvironmentVariableIsEmpty("TQ_LOG_DIR"))
        qputenv("TQ_LOG_DIR", scratch.filePath("log").toLocal8Bit());
    QCoreApplication app(argc, argv);
    const int memoryRun = argc > 1 ? QByteArray(argv[1]).toInt() : 1000000;

    zssim::Control::setJournaling(false);
    zssim::Control::setMode(zssim::Mode::Manual);
    IM_Agent *agent = IM_Agent::instance();
    const ZS_MessageCallBack *table = zssim::Control::table<ZS_MessageCallBack>();
    const std::vector<ZS_MessageInfo> record = typicalRecord();
    const ZS_MessageInfo *r = record.data();

    Counter counter;
    QObject::connect(agent, &IM_Agent::sig_onReceiveMessage, &counter,
                     [&counter](ChatMsgData) { counter.hit(); });
    const auto agentFire = [table, r] {
        table->onReceiveMessage(r);
    };

    BareSource source;
    Counter bareCounter;
    QObject::connect(&source, &BareSource::message, &bareCounter,
                     [&bareCounter](ChatMsgData) { bareCounter.hit(); });
    const ChatMsgData prebuilt = im::fromEngine(*r);
    const auto bareFire = [&source, &prebuilt] {
        emit source.message(prebuilt);
    };

    // Warm up both paths (allocator, logger file, type registry), then time them.
    run(counter, kTimed / 10, agentFire);
    run(bareCounter, kTimed / 10, bareFire);
    // Rounds taken in turns; the median of each is reported (the machine is shared).
    std::vector<double> agentWall, agentCpu, bareWall, bareCpu;
    for (int round = 0; round < kRounds; ++round) {
        g_Log->flush();
        const Cost agentCost = run(counter, kTimed, agentFire, true);
        const Cost bareCost = run(bareCounter, kTimed, bareFire, true);
        agentWall.push_back(agentCost.wallUs);
        agentCpu.push_back(agentCost.cpuUs);
        bareWall.push_back(bareCost.wallUs);
        bareCpu.push_back(bareCost.cpuUs);
    }
    std::printf("receive path, full message record (median of %d rounds of %d):\n", kRounds,
                kTimed);
    std::printf("  CPU, all threads: %.3f us/message, bare %.3f us, ratio %.2fx (target <= 2x)\n",
                median(agentCpu), median(bareCpu), median(agentCpu) / median(bareCpu));
    std::printf("  wall clock:       %.3f us/message, bare %.3f us, ratio %.2fx\n",
                median(agentWall), median(bareWall), median(agentWall) / median(bareWall));

    // Where the agent's share goes, on this thread alone.
    {
        constexpr int kParts = 100000;
        const auto perMessage = [](Clock::time_point from) {
            return std::chrono::duration<double, std::micro>(Clock::now() - from).count() / kParts;
        };
        std::size_t sink = 0;
        auto start = Clock::now();
        for (int i = 0; i < kParts; ++i)
            sink += std::size_t(im::fromEngine(*r).msgContent.size());
        const double convertUs = perMessage(start);
        const ChatMsgData msg = im::fromEngine(*r);
        start = Clock::now();
        for (int i = 0; i < kParts; ++i) {
            tq::LogBlock block(QStringLiteral("IM_CallBackProxy::callback_onReceiveMessage"));
            sink += std::size_t(im::appendMessage(block, msg, im::Lines::Text).text().size());
        }
        const double blockUs = perMessage(start);
        tq::LogBlock block(QStringLiteral("IM_CallBackProxy::callback_onReceiveMessage"));
        const QString text = im::appendMessage(block, msg, im::Lines::Text).text();
        g_Log->flush();
        start = Clock::now();
        for (int i = 0; i < kParts; ++i)
            g_Log->LogInfo(text);
        const double queueUs = perMessage(start);
        start = Clock::now();
        g_Log->flush();
        const double writeUs = perMessage(start);
        std::printf("  parts, one thread: record conversion %.3f us, log block %.3f us (%d "
                    "chars), queued to the logger %.3f us, written out %.3f us%s\n",
                    convertUs, blockUs, int(text.size()), queueUs, writeUs, sink ? "" : " ");
    }

    // Memory: in batches, so that what is measured is what stays, not messages in flight.
    g_Log->flush();
    const long before = residentKiB();
    const auto start = Clock::now();
    for (int done = 0; done < memoryRun; done += kBatch) {
        run(counter, qMin(kBatch, memoryRun - done), agentFire);
        g_Log->flush();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const long after = residentKiB();
    std::printf("resident memory: %ld KiB before, %ld KiB after %d messages (%+ld KiB, target "
                "flat); %.1f s\n",
                before, after, memoryRun, after - before, seconds);
    zssim::Control::waitIdle();
    return 0;
}

#include "bench_im.moc"
