#pragma once

// What the whiteboard tests share: running a slot on the agent's thread, receivers on the
// main thread, and a fresh stand-in library holding the agent's table.

#include <TQLog.h>
#include <WbssControl.h>
#include <WhiteBoard_Agent.h>
#include <WhiteBoard_CallBack.h>

#include <QObject>
#include <QThread>
#include <QtTest>

#include <functional>
#include <tuple>

QObject *newTestWbRequests();
QObject *newTestWbCallbacks();
QObject *newTestWbEndToEnd();

// Runs `call` on the agent's thread, as a queued request runs, and waits for it.
inline void onAgentThread(const std::function<void(WhiteBoard_Agent *)> &call)
{
    WhiteBoard_Agent *agent = WhiteBoard_Agent::instance();
    QMetaObject::invokeMethod(
        agent, [&] { call(agent); }, Qt::BlockingQueuedConnection);
}

// Destroys the agent on its own thread, as the library's end would.
inline void destroyAgent()
{
    WhiteBoard_Agent *agent = WhiteBoard_Agent::existing();
    if (agent)
        QMetaObject::invokeMethod(
            agent, [agent] { delete agent; }, Qt::BlockingQueuedConnection);
}

// Collects one result signal of the agent on the main thread, queued as a window gets it.
template<class... Args> class WbInbox : public QObject
{
public:
    using Entry = std::tuple<Args...>;

    template<class Signal> explicit WbInbox(Signal signal)
    {
        connect(WhiteBoard_Agent::instance(), signal, this,
                [this](Args... args) { entries.append(Entry(args...)); });
    }
    int count() const { return entries.size(); }
    template<int I> auto last() const { return std::get<I>(entries.last()); }
    template<int I> auto at(int i) const { return std::get<I>(entries.at(i)); }

    QList<Entry> entries;
};

// A fresh library running with the agent's table, and an agent.
inline bool startLibrary()
{
    WhiteBoard_Agent *agent = WhiteBoard_Agent::instance();
    agent->unInitWhiteBoardAgent();
    wbsim::Control::reset();
    agent->initWhiteBoardAgent();
    wbsim::Control::clearJournal();
    return wbsim::Control::initialized()
        && wbsim::Control::table() == WhiteBoard_CallBack::instance()->table();
}

// Waits until the library has answered everything so far and the answers reached the main
// thread.
inline bool settle()
{
    if (!wbsim::Control::waitIdle())
        return false;
    QCoreApplication::processEvents();
    return true;
}

inline QStringList linesStartingWith(const TQLogCapture &log, const QString &prefix)
{
    QStringList lines;
    for (const QString &line : log.texts(TQLog::Info))
        if (line.startsWith(prefix))
            lines << line;
    return lines;
}
