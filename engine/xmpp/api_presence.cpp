// Presence and profile requests: the own presence, other users' states, and profiles.

#include "XmppCommon.h"
#include "XmppEngine.h"
#include "XmppPresence.h"
#include "XmppSession.h"

#include <QStringList>

using namespace zsxmpp;

namespace {

// A bare JID is at most 3071 bytes; a longer "name" is cut there.
constexpr std::size_t kNameMax = 3072;

// Runs fn with the session's presence on the engine's thread; 1001 when the engine is gone.
int post(std::function<void(Presence &)> fn)
{
    return Engine::get().post([fn = std::move(fn)] { fn(Engine::get().session()->presence()); })
        ? int(ZS_OK)
        : int(ZS_ERR_NOT_INITIALIZED);
}

} // namespace

extern "C" {

int GetUserState(unsigned int *matchKey, const char *const *names, int count)
{
    if (const int rc = sessionCheck())
        return rc;
    const unsigned int key = issueKey(matchKey);
    const bool valid = names && count > 0;
    QStringList list;
    for (int i = 0; valid && i < count; ++i)
        list << fieldText(names[i], kNameMax);
    Engine::get().trace(QStringLiteral("GetUserState key %1 count %2").arg(key).arg(count));
    return post([key, list, valid](Presence &p) { p.userStates(key, list, valid); });
}

int PublishPresence_TQ(unsigned int *matchKey, int type, int subtype, const char *userdata)
{
    if (const int rc = sessionCheck())
        return rc;
    const unsigned int key = issueKey(matchKey);
    // Bytes of the local code page, not UTF-8; longer than a state record holds is cut.
    const QByteArray note(userdata ? userdata : "",
                          userdata ? int(qstrnlen(userdata, sizeof(ZS_PersonState::text4) - 1))
                                   : 0);
    Engine::get().trace(QStringLiteral("PublishPresence_TQ key %1 type %2 subtype %3, %4 bytes")
                            .arg(key)
                            .arg(type)
                            .arg(subtype)
                            .arg(note.size()));
    return post([key, type, subtype, note](Presence &p) { p.publish(key, type, subtype, note); });
}

int SetPersonInfo(unsigned int *matchKey, const ZS_PersonInfo *info)
{
    if (const int rc = sessionCheck())
        return rc;
    const unsigned int key = issueKey(matchKey);
    Engine::get().trace(QStringLiteral("SetPersonInfo key %1").arg(key));
    if (!info)
        return post([key](Presence &) {
            invoke(&ZS_GeneralCallBack::onSetPersonInfo, key, int(ZS_REASON_BAD_REQUEST), 0ULL);
        });
    const ZS_PersonInfo copy = *info; // the caller's record is only valid during the call
    return post([key, copy](Presence &p) { p.setInfo(key, copy); });
}

int GetPersonInfo(unsigned int *matchKey, const char *username)
{
    if (const int rc = sessionCheck())
        return rc;
    const unsigned int key = issueKey(matchKey);
    const QString name = fieldText(username, kNameMax);
    Engine::get().trace(QStringLiteral("GetPersonInfo key %1 %2").arg(key).arg(escaped(name)));
    return post([key, name](Presence &p) { p.getInfo(key, name); });
}

} // extern "C"
