#pragma once

#include <QStringList>

namespace xbench {

// "bench_xmpp --group ...": a group of bare members and the agents' client (GroupBench.cpp).
// The arguments after --group; returns the exit code.
int runGroupBench(const QStringList &args);

} // namespace xbench
