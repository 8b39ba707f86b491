#include "TQ_MainUI.h"

#include "ChatAgentLink.h"
#include "ChatState.h"
#include "GroupAgentLink.h"
#include "GroupState.h"
#include "MainWindow.h"

#include <IM_Agent.h>
#include <SDK_Agent.h>
#include <TqCallLog.h>
#include <TqClientContext.h>
#include <TqProfiles.h>
#include <TqSession.h>

namespace {
// Window objects live until the process ends; keeping them reachable says so to leak checkers.
QList<TQ_MainUI *> &liveObjects()
{
    static auto *objects = new QList<TQ_MainUI *>;
    return *objects;
}

// The chat, created before the first login so that the messaging agent has registered its
// callbacks when the messages kept while the user was offline come in.
ChatState *boundChat(QObject *parent)
{
    auto *chat = new ChatState(parent);
    ChatAgentLink::link(chat, IM_Agent::instance());
    ChatAgentLink::link(chat, TqClientContext::instance());
    return chat;
}

GroupState *boundGroups(ChatState *chat, QObject *parent)
{
    auto *groups = new GroupState(parent);
    GroupAgentLink::link(groups, IM_Agent::instance());
    GroupAgentLink::link(groups, chat);
    GroupAgentLink::link(groups, TqClientContext::instance());
    return groups;
}
} // namespace

TQ_MainUI::TQ_MainUI()
    : m_chat(boundChat(this))
    , m_groups(boundGroups(m_chat, this))
    , m_window(new MainWindow(TqSession::instance(), TqProfiles::instance(), SDK_Agent::instance(),
                              m_chat))
{
    m_window->attachGroups(m_groups);
    TqCallLog::add(QStringLiteral("TQ_MainUI"));
    liveObjects().append(this);
}

TQ_MainUI::~TQ_MainUI()
{
    liveObjects().removeAll(this);
    delete m_window;
}

void TQ_MainUI::setHandle(void *handle)
{
    TqCallLog::add(QStringLiteral("TQ_MainUI::setHandle"));
    m_handle = handle;
}

QList<TQ_MainUI *> TQ_MainUI::instances()
{
    return liveObjects();
}
