// Logs in through the session agent against the stand-in engine, logs out again, and prints
// what a window would see: the result signals, then the log lines written meanwhile.

#include <SDK_Agent.h>
#include <TQLog.h>
#include <ZSsdk.h>

#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    TQLogCapture log;

    SDK_Agent *agent = SDK_Agent::instance();
    QObject window; // lives on the main thread: results arrive queued, as in a window
    const auto finish = [&](int code) {
        out << "log lines:\n";
        for (const QString &line : log.texts())
            out << "  " << line << "\n";
        out.flush();
        app.exit(code);
    };
    QObject::connect(agent, &SDK_Agent::sig_onConnectState, &window, [&](Agent_ConnectState s) {
        out << "sig_onConnectState(code=" << s.code << ", reason=" << s.reason << ")\n";
        if (s.code == ZS_STATE_CONNECTED)
            emit agent->sig_logout();
        else if (s.code == ZS_STATE_FAILED)
            finish(1);
    });
    QObject::connect(agent, &SDK_Agent::sig_onReceiveFriendsPublishPresence, &window,
                     [&](const QList<Agent_PersonState> &friends) {
                         out << "sig_onReceiveFriendsPublishPresence(";
                         for (const Agent_PersonState &f : friends)
                             out << f.text1 << "=" << f.number1 << " ";
                         out << ")\n";
                     });
    QObject::connect(agent, &SDK_Agent::sig_onLogOut, &window, [&](int reason) {
        out << "sig_onLogOut(reason=" << reason << ")\n";
        finish(0);
    });
    QTimer::singleShot(10000, &window, [&] {
        out << "no answer from the engine\n";
        finish(1);
    });

    emit agent->sig_InitAgent(); // starts the engine; the agent moves to the worker thread
    Agent_LoginRequest request;
    request.number1 = 1;
    request.text1 = QStringLiteral("alice");
    request.text2 = QStringLiteral("alice");
    emit agent->sig_login(request);
    return app.exec();
}
