#include "XmppCommon.h"

#include "XmppEngine.h"

namespace zsxmpp {

unsigned int issueKey(unsigned int *matchKey)
{
    unsigned int key = 0;
    while (key == 0) // 0 means "no key" to callers; skipped when the counter wraps
        key = Engine::get().nextKey.fetch_add(1);
    if (matchKey)
        *matchKey = key;
    return key;
}

int sessionCheck()
{
    Engine &engine = Engine::get();
    if (!engine.running())
        return ZS_ERR_NOT_INITIALIZED;
    const Phase phase = engine.phase.load();
    return phase == Phase::Connected || phase == Phase::Reconnecting ? int(ZS_OK)
                                                                     : int(ZS_ERR_NOT_LOGGED_IN);
}

} // namespace zsxmpp
