#pragma once

// The window between an engine call that hands out a matchKey and the insert of the request
// under that key: the engine may answer on its own thread in between. A slot issues its
// request inside a PendingIssue scope (engine call and insert); an answer takes its request
// with takePending(), which first waits (bounded) while a request is being issued on another
// thread, so a fast answer still finds its request instead of a default one.
//
//     unsigned int matchKey = 0;
//     {
//         const tq::PendingIssue issuing;
//         DeleteConference(&matchKey, ...);
//         PendingRequestStore::instance()->insert(matchKey, QVariant::fromValue(request));
//     }
//     ...
//     tq::takePending(matchKey, stored); // in the callback

#include "tq_agent_global.h"

#include <QVariant>

namespace tq {

class TQ_AGENT_EXPORT PendingIssue
{
public:
    PendingIssue();
    ~PendingIssue();
    PendingIssue(const PendingIssue &) = delete;
    PendingIssue &operator=(const PendingIssue &) = delete;
};

// PendingRequestStore::take, after the requests being issued on other threads are stored.
TQ_AGENT_EXPORT bool takePending(unsigned int matchKey, QVariant &out);

} // namespace tq
