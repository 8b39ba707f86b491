#include "XmppEngine.h"

#include "XmppSession.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMetaObject>
#include <QThread>

namespace zsxmpp {

namespace {
// How long ZSSDK_UnInitialize waits for the stream to close before it drops it.
constexpr int kShutdownMs = 2000;
} // namespace

Engine &Engine::get()
{
    static Engine engine;
    return engine;
}

bool Engine::start()
{
    std::lock_guard<std::mutex> lock(m_lifeMutex);
    if (m_running.load())
        return false;
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("ZSsdk-xmpp"));
    m_session = new Session;
    m_session->moveToThread(m_thread);
    // The session and its client are deleted on their own thread when it ends.
    QObject::connect(m_thread, &QThread::finished, m_session, &QObject::deleteLater);
    phase.store(Phase::Idle);
    m_running.store(true);
    m_thread->start();
    return true;
}

void Engine::stop()
{
    QThread *thread = nullptr;
    Session *session = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_lifeMutex);
        if (!m_running.load())
            return;
        m_running.store(false); // from here on no callback runs
        session = m_session;
        thread = m_thread;
        // The thread ends once the stream is closed (bounded): its loop must run meanwhile.
        QMetaObject::invokeMethod(
            session,
            [session, thread] {
                session->shutdown(kShutdownMs);
                thread->quit();
            },
            Qt::QueuedConnection);
        m_thread = nullptr;
    }
    // Requests posted before still run on the thread and reach the session through
    // session(): it stays known until the thread has ended.
    const auto forget = [this, session] {
        std::lock_guard<std::mutex> lock(m_lifeMutex);
        if (m_session == session)
            m_session = nullptr;
    };
    // Called from a callback the thread cannot be joined; it ends after that callback.
    if (QThread::currentThread() == thread) {
        QObject::connect(thread, &QThread::finished, thread, forget, Qt::DirectConnection);
        QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
        return;
    }
    thread->wait();
    forget();
    delete thread;
    phase.store(Phase::Idle);
}

bool Engine::post(std::function<void()> fn)
{
    std::lock_guard<std::mutex> lock(m_lifeMutex);
    if (!m_running.load() || !m_session)
        return false;
    return QMetaObject::invokeMethod(m_session, std::move(fn), Qt::QueuedConnection);
}

void Engine::setTrace(int level, const QString &file)
{
    std::lock_guard<std::mutex> lock(m_traceMutex);
    m_traceLevel = level;
    m_traceFile = file;
    m_trace.close();
    if (level <= 0 || file.isEmpty())
        return;
    m_trace.setFileName(file);
    QDir().mkpath(QFileInfo(file).absolutePath());
    m_trace.open(QIODevice::WriteOnly | QIODevice::Append);
}

void Engine::trace(const QString &line)
{
    std::lock_guard<std::mutex> lock(m_traceMutex);
    if (!m_trace.isOpen())
        return;
    m_trace.write(QDateTime::currentDateTimeUtc()
                      .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz "))
                      .toUtf8());
    m_trace.write(line.toUtf8());
    m_trace.write("\n");
    m_trace.flush();
}

} // namespace zsxmpp
