// Callback path: events fired on the engine's thread -> callback converts, logs and emits ->
// receiver on the main thread. Against a bare queued emission of the same prebuilt record.
// Target: <= 2x per event.

#include <SDK_Agent.h>
#include <SDK_CallBackProxy.h>

#include <TQLog.h>
#include <ZSsdkControl.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kEvents = 100000;

class Counter : public QObject
{
public:
    int seen = 0;
    QEventLoop loop;
    void hit()
    {
        if (++seen == kEvents)
            loop.quit();
    }
};

class BareSource : public QObject
{
    Q_OBJECT
signals:
    void state(Agent_ConnectState state);
    void states(int reason, QList<Agent_PersonState> list);
};

// Runs `fire` on another thread and waits on the main loop for every event to arrive.
template<class Connect, class Fire> double perEventUs(Connect connectReceiver, Fire fire)
{
    Counter counter;
    const QMetaObject::Connection c = connectReceiver(counter);
    const auto start = Clock::now();
    fire();
    counter.loop.exec();
    const double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    QObject::disconnect(c);
    return us / kEvents;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    zssim::Control::setMode(zssim::Mode::Manual);
    SDK_Agent *agent = SDK_Agent::instance();
    SDK_CallBackProxy::instance()->registerCallbacks();

    std::vector<ZS_PersonState> records(2);
    std::memset(static_cast<void *>(records.data()), 0, records.size() * sizeof(ZS_PersonState));
    qstrcpy(records[0].text1, "alice");
    qstrcpy(records[1].text1, "bob");
    records[1].number1 = 1;

    // Agent path: the engine's thread calls the registered table.
    const double agentState = perEventUs(
        [&](Counter &c) {
            return QObject::connect(agent, &SDK_Agent::sig_onConnectState, &c,
                                    [&c](Agent_ConnectState) { c.hit(); });
        },
        [] {
            zssim::Control::post([] {
                for (int i = 0; i < kEvents; ++i)
                    zssim::Control::table<ZS_GeneralCallBack>()->onConnectState(2, 200);
            });
        });
    const double agentList = perEventUs(
        [&](Counter &c) {
            return QObject::connect(agent, &SDK_Agent::sig_onGetUserState, &c,
                                    [&c](int, QList<Agent_PersonState>) { c.hit(); });
        },
        [&] {
            zssim::Control::post([&] {
                for (int i = 0; i < kEvents; ++i)
                    zssim::Control::table<ZS_GeneralCallBack>()->onGetUserState(unsigned(i), 200, 2,
                                                                                records.data());
            });
        });

    // Bare path: the same records, prebuilt, emitted queued from the same kind of thread.
    BareSource source;
    const Agent_ConnectState state{2, 200};
    QList<Agent_PersonState> list;
    for (const ZS_PersonState &r : records) {
        Agent_PersonState s;
        s.text1 = QString::fromUtf8(r.text1);
        s.number1 = r.number1;
        list << s;
    }
    const double bareState = perEventUs(
        [&](Counter &c) {
            return QObject::connect(&source, &BareSource::state, &c,
                                    [&c](Agent_ConnectState) { c.hit(); });
        },
        [&] {
            zssim::Control::post([&] {
                for (int i = 0; i < kEvents; ++i)
                    emit source.state(state);
            });
        });
    const double bareList = perEventUs(
        [&](Counter &c) {
            return QObject::connect(&source, &BareSource::states, &c,
                                    [&c](int, QList<Agent_PersonState>) { c.hit(); });
        },
        [&] {
            zssim::Control::post([&] {
                for (int i = 0; i < kEvents; ++i)
                    emit source.states(200, list);
            });
        });
    zssim::Control::waitIdle();
    g_Log->flush();

    std::printf("callback path, connection state: %.3f us/event, bare %.3f us, ratio %.2fx "
                "(target <= 2x)\n",
                agentState, bareState, agentState / bareState);
    std::printf("callback path, two-record user-state list: %.3f us/event, bare %.3f us, ratio "
                "%.2fx (target <= 2x)\n",
                agentList, bareList, agentList / bareList);
    return 0;
}

#include "bench_callbacks.moc"
