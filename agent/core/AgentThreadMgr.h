#pragma once

#include "tq_agent_global.h"

#include <QObject>

class QThread;

// Owner of the one worker thread on which the agents run their slots, one at a time, in the
// order the requests were emitted. The thread is never deleted; at the library's end
// (tq::shutDown(), when the application quits or at exit) it is asked to quit and waited for
// (bounded), so no slot runs during static destruction.
class TQ_AGENT_EXPORT AgentThreadMgr : public QObject
{
    Q_OBJECT
public:
    static QThread *sharedThread();

private:
    AgentThreadMgr() = delete;
};
