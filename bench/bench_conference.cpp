// Conference list answers: 100 000 answers of 10 conferences each (two members apiece), fired
// on the engine's thread -> callback_onGetConferenceInfoList converts them, logs its eleven
// lines and emits -> receiver on the main thread. Against a bare queued emission of the same
// list, prebuilt. Target: <= 2x per answer.

#include <ConfConvert.h>
#include <Conference_Agent.h>

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
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kAnswers = 100000;
constexpr int kConferences = 10;
constexpr int kRounds = 3;

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
    void list(Agent_RequestGetConfInfoList request, int reason, QList<Agent_ConfInfo> list,
              QString jsonString);
};

template<std::size_t N> void put(char (&field)[N], const QByteArray &text)
{
    tq::copyUtf8Field(field, N, text.constData(), std::size_t(text.size()));
}

// Ten conferences as a server lists them: short texts in records of the full size.
struct Page
{
    std::vector<ZS_ConfInfo> infos = std::vector<ZS_ConfInfo>(kConferences);
    std::vector<std::vector<ZS_ConfMemberInfo>> members
        = std::vector<std::vector<ZS_ConfMemberInfo>>(kConferences,
                                                      std::vector<ZS_ConfMemberInfo>(2));

    Page()
    {
        for (int i = 0; i < kConferences; ++i) {
            ZS_ConfInfo &c = infos[std::size_t(i)];
            put(c.confId, "conf-" + QByteArray::number(1000 + i));
            put(c.text2, "Weekly design review " + QByteArray::number(i));
            c.number1 = 2;
            put(c.creator, "alice");
            c.number2 = 1;
            put(c.text3, "bob");
            c.memberCount = 2;
            put(c.startTime, "2024-05-06 09:00:00");
            c.number5 = 60;
            put(c.createTime, "2024-05-01 12:00:00");
            put(c.updateTime, "2024-05-02 08:30:00");
            c.number6 = 2;
            put(c.text7, "Alice Wang");
            put(c.reserveStartTime, "2024-05-06 09:00:00");
            put(c.confTopic, R"({"topics":[{"topic":"Roadmap"},{"topic":"Q3 budget"}]})");
            c.number15 = 2;
            for (int k = 0; k < 2; ++k) {
                ZS_ConfMemberInfo &m = members[std::size_t(i)][std::size_t(k)];
                put(m.memberId, k ? "bob" : "alice");
                put(m.text2, k ? "Bob Li" : "Alice Wang");
                m.number3 = 1 | (1 << 4);
                m.number4 = 1;
                put(m.text3, "2024-05-06 09:00:05");
                put(m.text7, k ? "8002" : "8001");
                m.deviceType = 1;
                m.number5 = 2;
            }
            c.number12 = 2;
            c.members = members[std::size_t(i)].data();
        }
    }
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// CPU time of the whole process (engine, receiver and log writer threads), in us.
double processCpuUs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

struct Cost
{
    double wallUs = 0; // per answer
    double cpuUs = 0; // per answer, all threads
};

// Fires `count` answers on the engine's thread and waits until the receiver had them all and
// the log writer wrote what they logged.
template<class Fire> Cost run(Counter &counter, int count, Fire fire)
{
    counter.seen = 0;
    counter.target = count;
    const auto start = Clock::now();
    const double cpuStart = processCpuUs();
    zssim::Control::post([fire, count] {
        for (int i = 0; i < count; ++i)
            fire(i);
    });
    counter.loop.exec();
    g_Log->flush();
    Cost cost;
    cost.wallUs = std::chrono::duration<double, std::micro>(Clock::now() - start).count() / count;
    cost.cpuUs = (processCpuUs() - cpuStart) / count;
    return cost;
}

} // namespace

int main(int argc, char *argv[])
{
    // A million log lines go to a scratch log, removed at the end.
    QTemporaryDir scratch;
    if (qEnvironmentVariableIsEmpty("TQ_LOG_DIR"))
        qputenv("TQ_LOG_DIR", scratch.filePath("log").toLocal8Bit());
    QCoreApplication app(argc, argv);
    zssim::Control::setJournaling(false);
    zssim::Control::setMode(zssim::Mode::Manual);
    Conference_Agent *agent = Conference_Agent::instance();
    const ZS_ConfCallBack *table = zssim::Control::table<ZS_ConfCallBack>();
    const Page page;
    const ZS_ConfInfo *infos = page.infos.data();

    Counter counter;
    QObject::connect(agent, &Conference_Agent::sig_onGetConferenceInfoList, &counter,
                     [&counter](Agent_RequestGetConfInfoList, int, QList<Agent_ConfInfo>, QString) {
                         counter.hit();
                     });
    const auto agentFire = [table, infos](int i) {
        table->onGetConferenceInfoList(unsigned(i) + 1, 200, kConferences, infos, "{\"total\":10}");
    };

    BareSource source;
    Counter bareCounter;
    QObject::connect(&source, &BareSource::list, &bareCounter,
                     [&bareCounter](Agent_RequestGetConfInfoList, int, QList<Agent_ConfInfo>,
                                    QString) { bareCounter.hit(); });
    QList<Agent_ConfInfo> prebuilt;
    for (const ZS_ConfInfo &info : page.infos)
        prebuilt << conf::toConfInfo(&info, conf::JoinFields::Skip, conf::Topic::Extracted);
    const Agent_RequestGetConfInfoList request;
    const QString json = QStringLiteral("{\"total\":10}");
    const auto bareFire = [&](int) {
        emit source.list(request, 200, prebuilt, json);
    };

    // Warm up both paths (allocator, log file, type registry), then time them in turns.
    run(counter, kAnswers / 10, agentFire);
    run(bareCounter, kAnswers / 10, bareFire);
    std::vector<double> agentWall, agentCpu, bareWall, bareCpu;
    for (int round = 0; round < kRounds; ++round) {
        const Cost agentCost = run(counter, kAnswers, agentFire);
        const Cost bareCost = run(bareCounter, kAnswers, bareFire);
        agentWall.push_back(agentCost.wallUs);
        agentCpu.push_back(agentCost.cpuUs);
        bareWall.push_back(bareCost.wallUs);
        bareCpu.push_back(bareCost.cpuUs);
    }
    std::printf("conference list answers of %d conferences (median of %d rounds of %d):\n",
                kConferences, kRounds, kAnswers);
    std::printf("  wall clock:       %.3f us/answer, bare %.3f us, ratio %.2fx (target <= 2x)\n",
                median(agentWall), median(bareWall), median(agentWall) / median(bareWall));
    std::printf("  CPU, all threads: %.3f us/answer, bare %.3f us, ratio %.2fx\n", median(agentCpu),
                median(bareCpu), median(agentCpu) / median(bareCpu));
    zssim::Control::waitIdle();
    return 0;
}

#include "bench_conference.moc"
