#pragma once

// A look into IM_Agent's send queue, for tests: the real 250 ms timer (tests stop it and
// emit its timeout() to drive ticks without waiting), how many ticks reached the worker
// thread, and how many sends are waiting.

#include "tq_agent_global.h"

#include <QtGlobal>

class QTimer;

class TQ_AGENT_EXPORT IM_TaskQueueProbe
{
public:
    static QTimer *timer();
    static quint64 ticks(); // every tick, with or without a send to run
    static int pending();
};
