// Leaves main() while the stand-in engine fires call events at full rate, from its own thread
// and from a thread that keeps calling the table like a real engine that is never joined, and
// while requests wait on the worker. How main() is left depends on the mode:
//   app      the application object ends with main()
//   exec     the event loop quits, then main() returns
//   uninit   sig_uninitSDK is emitted and done first
//   destroy  SDK_Agent is deleted first
// Own lines go to stderr, prefixed "shutdown_child: "; Qt's debug traces go to stdout, its
// warnings to stderr, where the test sees them.

#include <SDK_Agent.h>
#include <Voip_Agent.h>
#include <ZSsdkControl.h>

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>

namespace {

std::atomic<int> g_events{0};

void say(const char *text)
{
    std::fprintf(stderr, "shutdown_child: %s\n", text);
    std::fflush(stderr);
}

void route(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    std::FILE *to = type == QtDebugMsg || type == QtInfoMsg ? stdout : stderr;
    std::fprintf(to, "%s\n", qPrintable(message));
    std::fflush(to);
}

ZS_CallEvent callEvent(int code)
{
    ZS_CallEvent event{};
    event.eCode = code;
    event.callType = 1;
    std::strcpy(event.callid, "call-1");
    std::strcpy(event.caller, "1001");
    std::strcpy(event.callee, "bob\n2000-01-01 00:00:00.000 [ERROR] [1] FORGED");
    return event;
}

// One call event after another on the engine's thread, for as long as the engine runs.
void fireForever()
{
    zssim::Control::post([] {
        const ZS_CallEvent event = callEvent(ZS_CALL_EVENT_ALERTING);
        if (const ZS_VoIPCallBack *table = zssim::Control::table<ZS_VoIPCallBack>())
            table->onCallEvents(ZS_REASON_SUCCESS, &event);
        fireForever();
    });
}

// An engine thread nobody joins: it calls the table until the process is gone.
void rogueEngineThread()
{
    std::thread([] {
        const ZS_CallEvent event = callEvent(ZS_CALL_EVENT_PROCEEDING);
        for (;;) {
            if (const ZS_VoIPCallBack *table = zssim::Control::table<ZS_VoIPCallBack>())
                table->onCallEvents(ZS_REASON_SUCCESS, &event);
            if (const ZS_GeneralCallBack *general = zssim::Control::table<ZS_GeneralCallBack>())
                general->onConnectState(ZS_STATE_CONNECTED, 0);
        }
    }).detach();
}

std::atomic<bool> g_stopRequests{false};

// Requests from a window thread, many more than the worker runs before main() is left.
std::thread requester()
{
    return std::thread([] {
        Voip_Agent *voip = Voip_Agent::instance();
        SDK_Agent *sdk = SDK_Agent::instance();
        for (int i = 0; i < 20000 && !g_stopRequests.load(); ++i) {
            emit voip->sig_makeCall(1, QStringLiteral("bob"));
            emit voip->sig_GetMuteStatus();
            emit voip->sig_releaseCall(QStringLiteral("call-1"), 0);
            emit sdk->sig_getUserState({QStringLiteral("bob"), QStringLiteral("carol")});
        }
    });
}

int runChild(const QByteArray &mode)
{
    SDK_Agent *sdk = SDK_Agent::instance();
    Voip_Agent *voip = Voip_Agent::instance();
    QObject::connect(voip, &Voip_Agent::sig_onCallEvents,
                     [](int, const Agent_VoIPCallMsg &) { ++g_events; });
    emit sdk->sig_InitAgent(); // runs here: the agent is still on this thread
    Agent_LoginRequest login;
    login.text1 = QStringLiteral("1001");
    login.text2 = QStringLiteral("secret");
    emit sdk->sig_login(login);

    fireForever();
    rogueEngineThread();
    std::thread requests = requester();
    while (g_events.load() < 500)
        QThread::yieldCurrentThread();

    // A window stops emitting before it goes; what it emitted still waits on the worker.
    g_stopRequests = true;
    requests.join();
    if (mode == "uninit") {
        emit sdk->sig_uninitSDK();
        while (zssim::Control::initialized())
            QThread::yieldCurrentThread();
    } else if (mode == "destroy") {
        QMetaObject::invokeMethod(
            sdk, [sdk] { delete sdk; }, Qt::BlockingQueuedConnection);
    } else if (mode == "exec") {
        QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
        QCoreApplication::exec();
    }
    say("leaving main");
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(route);
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray("app");
    QCoreApplication app(argc, argv);
    return runChild(mode);
}
