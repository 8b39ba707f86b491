// Request path and logger costs, printed as ratios against a bare Qt baseline.
//   request path: emit on the main thread -> slot on the worker -> engine call -> log line,
//                 against a bare queued call with the same arguments (target <= 1.5x)
//   logger:       caller-side cost per line from 4 threads (target <= 1 us median), throughput

#include <ProbeAgent.h>

#include <AgentThreadMgr.h>
#include <TQLog.h>
#include <ZSsdkControl.h>

#include <QCoreApplication>
#include <QSemaphore>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from)
{
    return std::chrono::duration<double>(Clock::now() - from).count();
}

class BareReceiver : public QObject
{
    Q_OBJECT
public:
    QSemaphore done;
public slots:
    void request(int type, int subtype, QString userdata)
    {
        Q_UNUSED(type);
        Q_UNUSED(subtype);
        Q_UNUSED(userdata);
    }
    void finish() { done.release(); }
};

class BareSender : public QObject
{
    Q_OBJECT
signals:
    void request(int type, int subtype, QString userdata);
    void finish();
};

// One round: N requests, then a marker that runs after all of them.
double bareRound(BareSender &sender, BareReceiver &receiver, int n, const QString &text)
{
    const auto start = Clock::now();
    for (int i = 0; i < n; ++i)
        emit sender.request(1, 0, text);
    emit sender.finish();
    receiver.done.acquire();
    return seconds(start);
}

QSemaphore g_agentDone;

double agentRound(int n, const QString &text)
{
    const auto start = Clock::now();
    for (int i = 0; i < n; ++i)
        emit Probe_Agent::instance()->sig_publish(1, 0, text);
    emit Probe_Agent::instance()->sig_mark(-1);
    g_agentDone.acquire();
    return seconds(start);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void benchRequestPath()
{
    constexpr int kRequests = 50000;
    constexpr int kRounds = 5;
    const QString text = QStringLiteral("presence user data");

    zssim::Control::setMode(zssim::Mode::Manual); // no answers competing for the CPU
    zssim::Control::setJournaling(false);
    ZSSDK_Initialize();

    BareSender sender;
    auto *receiverObject = new BareReceiver; // deleted on its own thread
    BareReceiver &receiver = *receiverObject;
    receiver.moveToThread(AgentThreadMgr::sharedThread());
    QObject::connect(&sender, &BareSender::request, &receiver, &BareReceiver::request,
                     Qt::QueuedConnection);
    QObject::connect(&sender, &BareSender::finish, &receiver, &BareReceiver::finish,
                     Qt::QueuedConnection);
    QObject::connect(Probe_Agent::instance(), &Probe_Agent::sig_mark, Probe_Agent::instance(),
                     [](int n) {
                         if (n == -1)
                             g_agentDone.release();
                     });

    bareRound(sender, receiver, 1000, text); // warm up both paths
    agentRound(1000, text);
    std::vector<double> bare, agent;
    for (int r = 0; r < kRounds; ++r) {
        bare.push_back(bareRound(sender, receiver, kRequests, text));
        agent.push_back(agentRound(kRequests, text));
    }
    g_Log->flush();
    const double bareUs = median(bare) / kRequests * 1e6;
    const double agentUs = median(agent) / kRequests * 1e6;
    std::printf("request path: %.3f us/request, bare queued call: %.3f us/call, ratio %.2fx "
                "(target <= 1.5x)\n",
                agentUs, bareUs, agentUs / bareUs);
    receiverObject->deleteLater();
}

void benchLogger()
{
    constexpr int kThreads = 4;
    constexpr int kLines = 100000;
    std::vector<std::vector<double>> costs(kThreads);
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&costs, t] {
            auto &mine = costs[std::size_t(t)];
            mine.reserve(kLines);
            const QString base = QStringLiteral("Voip_Agent::slot_makeCall,ret=");
            for (int i = 0; i < kLines; ++i) {
                const QString line = base + QString::number(i);
                const auto before = Clock::now();
                g_Log->LogInfo(line);
                mine.push_back(
                    std::chrono::duration<double, std::micro>(Clock::now() - before).count());
            }
        });
    }
    for (auto &thread : threads)
        thread.join();
    g_Log->flush();
    const double total = seconds(start);
    std::vector<double> all;
    for (auto &v : costs)
        all.insert(all.end(), v.begin(), v.end());
    std::sort(all.begin(), all.end());
    std::printf("logger, 4 threads: caller median %.3f us/line (target <= 1 us), p99 %.3f us, "
                "throughput %.0f lines/s written\n",
                all[all.size() / 2], all[all.size() * 99 / 100], kThreads * kLines / total);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    benchRequestPath();
    benchLogger();
    return 0;
}

#include "bench_agent.moc"
