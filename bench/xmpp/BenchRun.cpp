#include "BenchRun.h"

#include "BenchPeer.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTcpSocket>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace xbench {

QProcessEnvironment peerEnvironment(const QString &caFile)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TQ_XMPP_CA_FILE"), caFile);
    return env;
}

void loadXmppEngine(QProcessEnvironment &env, const Paths &paths)
{
    const QString old = env.value(QStringLiteral("LD_LIBRARY_PATH"));
    env.insert(QStringLiteral("LD_LIBRARY_PATH"),
               old.isEmpty() ? paths.engineLibDir : paths.engineLibDir + QLatin1Char(':') + old);
}

void keepAgentFilesIn(QProcessEnvironment &env, const QString &dir)
{
    env.insert(QStringLiteral("TQ_LOG_DIR"), dir + QStringLiteral("/log"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir + QStringLiteral("/data"));
}

void note(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    const qint64 deadline = nowNs() + qint64(timeoutMs) * 1000000;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || nowNs() > deadline)
            loop.quit();
    });
    poll.start(5);
    loop.exec();
    return done();
}

QJsonObject jsonOf(const QByteArray &line, int skip)
{
    return QJsonDocument::fromJson(line.mid(skip)).object();
}

double processCpuMs(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Fields after the command's closing parenthesis; utime and stime are the 12th and 13th.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    return double(fields[11].toLongLong() + fields[12].toLongLong()) * 1000.0
        / double(sysconf(_SC_CLK_TCK));
}

qint64 processRssKb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (pid <= 0 || !status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// ---- Peer ----

bool Peer::start(const QString &program, const QStringList &args, const QProcessEnvironment &env,
                 const QString &workDir)
{
    QDir().mkpath(workDir);
    m_process.setProgram(program);
    m_process.setArguments(args);
    m_process.setProcessEnvironment(env);
    m_process.setWorkingDirectory(workDir);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setStandardErrorFile(workDir + QStringLiteral("/stderr.txt"));
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { readLines(); });
    m_process.start();
    return m_process.waitForStarted(10000);
}

void Peer::stop()
{
    if (!running())
        return;
    write("quit");
    if (!waitUntil([this] { return !running(); }, 15000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

void Peer::readLines()
{
    m_buffer += m_process.readAllStandardOutput();
    int end;
    while ((end = m_buffer.indexOf('\n')) >= 0) {
        const QByteArray line = m_buffer.left(end);
        m_buffer.remove(0, end + 1);
        if (onLine)
            onLine(line);
    }
}

// ---- Server ----

Server::Server(Paths paths)
    : m_paths(std::move(paths))
{
    m_port = qEnvironmentVariableIntValue("TQ_XMPP_PORT");
    if (m_port <= 0)
        m_port = 15422;
    m_httpsPort = qEnvironmentVariableIntValue("TQ_XMPP_HTTPS_PORT");
    if (m_httpsPort <= 0)
        m_httpsPort = 15481;
}

bool Server::start()
{
    if (run(QStringLiteral("status")) != 0) {
        // server.sh waits for the port to open: another server there would fool it.
        QTcpSocket probe;
        probe.connectToHost(QStringLiteral("127.0.0.1"), quint16(m_port));
        if (probe.waitForConnected(1000)) {
            note(QStringLiteral("port %1 is taken by another server; set TQ_XMPP_PORT and "
                                "TQ_XMPP_HTTPS_PORT")
                     .arg(m_port));
            return false;
        }
        if (run(QStringLiteral("start")) != 0)
            return false;
    }
    m_started = true;
    return true;
}

// Prosody's file archive (MAM, storage "internal") is read and written whole by its periodic
// cleanup, which runs at start: an archive left by an earlier run would slow the next one.
bool Server::restart(int members)
{
    run(QStringLiteral("stop")); // also one that an interrupted run left behind
    m_started = false;
    m_members = members;
    for (const QFileInfo &host : QDir(m_paths.serverDir + QStringLiteral("/data"))
                                     .entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const char *store : {"archive", "archive_cleanup", "offline", "smacks_h", "muc_log",
                                  "persistent", "config", "private"})
            QDir(host.absoluteFilePath() + QLatin1Char('/') + QLatin1String(store))
                .removeRecursively();
    return start();
}

void Server::stop()
{
    if (m_started)
        run(QStringLiteral("stop"));
    m_started = false;
}

qint64 Server::pid() const
{
    QFile file(m_paths.serverDir + QStringLiteral("/prosody.pid"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toLongLong() : -1;
}

int Server::run(const QString &command)
{
    QProcess script;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TQ_XMPP_PORT"), QString::number(m_port));
    env.insert(QStringLiteral("TQ_XMPP_HTTPS_PORT"), QString::number(m_httpsPort));
    env.insert(QStringLiteral("TQ_XMPP_MEMBERS"), QString::number(m_members));
    if (m_memoryArchive)
        env.insert(QStringLiteral("TQ_XMPP_ARCHIVE"), QStringLiteral("memory"));
    else
        env.remove(QStringLiteral("TQ_XMPP_ARCHIVE"));
    script.setProcessEnvironment(env);
    script.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    script.start(QStringLiteral("bash"), {m_paths.script, command, m_paths.serverDir});
    if (!script.waitForFinished(600000)) // a first start may install Prosody
        return -1;
    return script.exitStatus() == QProcess::NormalExit ? script.exitCode() : -1;
}

} // namespace xbench
