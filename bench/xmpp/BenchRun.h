#pragma once

// What every bench of bench_xmpp needs: the paths of the build, the bench's own Prosody, the
// peer processes it drives, and a few readings of a process.

#include <QJsonObject>
#include <QProcess>
#include <QString>

#include <functional>

namespace xbench {

struct Paths
{
    QString script = QStringLiteral(TQ_SOURCE_DIR "/scripts/server.sh");
    QString serverDir = QStringLiteral(TQ_BENCH_DIR "/server");
    QString runDir = QStringLiteral(TQ_BENCH_DIR "/run");
    QString agentPeer = QStringLiteral(TQ_AGENT_PEER);
    QString engineLibDir = QStringLiteral(TQ_XMPP_ENGINE_DIR);
};

// The environment of a peer process: the system's, trusting the server's CA.
QProcessEnvironment peerEnvironment(const QString &caFile);
// ... that loads the XMPP engine (TQ_Agent finds libZSsdk.so through LD_LIBRARY_PATH first).
void loadXmppEngine(QProcessEnvironment &env, const Paths &paths);
// ... whose agents' log and data stay in `dir`.
void keepAgentFilesIn(QProcessEnvironment &env, const QString &dir);

// A line on stderr.
void note(const QString &text);

// Waits, running events, until `done` holds or the time is up.
bool waitUntil(const std::function<bool()> &done, int timeoutMs);

// The JSON object of a line after its first `skip` bytes ("result {...}").
QJsonObject jsonOf(const QByteArray &line, int skip);

// CPU time used by a process so far (user + system), in ms; -1 when unknown.
double processCpuMs(qint64 pid);
// Its resident memory now, in KiB; -1 when unknown.
qint64 processRssKb(qint64 pid);

// One side's process and its lines.
class Peer
{
public:
    std::function<void(const QByteArray &)> onLine;

    bool start(const QString &program, const QStringList &args, const QProcessEnvironment &env,
               const QString &workDir);
    void write(const QByteArray &line) { m_process.write(line + '\n'); }
    bool running() const { return m_process.state() != QProcess::NotRunning; }
    qint64 pid() const { return m_process.processId(); }
    // Asks it to log out and waits for it; killed after a bound.
    void stop();

private:
    void readLines();

    QProcess m_process;
    QByteArray m_buffer;
};

// The bench's Prosody (scripts/server.sh) in Paths::serverDir, on TQ_XMPP_PORT /
// TQ_XMPP_HTTPS_PORT (default 15422 / 15481).
class Server
{
public:
    explicit Server(Paths paths);

    bool start();
    // Stops it, drops what it stored of earlier runs (messages, archives, rooms, private
    // storage), starts it again; `members` accounts m01... are made too.
    bool restart(int members = 0);
    // Message archives in Prosody's memory (TQ_XMPP_ARCHIVE=memory) from the next start: the
    // file store re-reads and rewrites whole archive files once they grow past a few MB.
    void setMemoryArchive(bool on) { m_memoryArchive = on; }
    void stop();

    int port() const { return m_port; }
    qint64 pid() const;
    QString caFile() const { return m_paths.serverDir + QStringLiteral("/certs/ca.crt"); }

private:
    int run(const QString &command);

    Paths m_paths;
    int m_port = 0;
    int m_httpsPort = 0;
    int m_members = 0;
    bool m_memoryArchive = false;
    bool m_started = false;
};

} // namespace xbench
