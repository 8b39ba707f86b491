// Creates an agent, sends one request through the stand-in engine and prints what happened:
// the log lines and the result signal, as a window would receive it.

#include <ProbeAgent.h>
#include <TQLog.h>
#include <ZSsdkControl.h>

#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    TQLogCapture log;

    ZSSDK_Initialize();
    zssim::Control::withServer([](zssim::ServerModel &server) { server.currentUser = "alice"; });

    Probe_Agent *agent = Probe_Agent::instance();
    int result = 1;
    QObject window; // lives on the main thread: results arrive queued, like in a window
    QObject::connect(agent, &Probe_Agent::sig_onSetInfo, &window, [agent](int reason, qulonglong) {
        if (reason == 200)
            emit agent->sig_getInfo(QStringLiteral("alice"));
    });
    QObject::connect(agent, &Probe_Agent::sig_onGetInfo, &window,
                     [&](int reason, const Agent_ProbeRecord &record) {
                         out << "log lines:\n";
                         for (const QString &line : log.texts())
                             out << "  " << line << "\n";
                         out << "result: sig_onGetInfo(reason=" << reason
                             << ", number1=" << record.number1 << ", text1=\"" << record.text1
                             << "\")\n";
                         result = reason == 200 ? 0 : 1;
                         app.quit();
                     });
    QTimer::singleShot(10000, &app, [&] {
        out << "no answer from the engine\n";
        app.quit();
    });

    Agent_ProbeRecord me;
    me.number1 = 7;
    me.text1 = QString::fromUtf8("Alice Ünïcødé");
    emit agent->sig_setInfo(me);
    app.exec();
    out.flush();
    return result;
}
