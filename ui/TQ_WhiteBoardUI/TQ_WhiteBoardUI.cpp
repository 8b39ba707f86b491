#include "TQ_WhiteBoardUI.h"

#include "TqBoardAgentLink.h"
#include "TqBoardState.h"
#include "TqWhiteBoardWindow.h"

#include "TqCallLog.h"
#include "TqClientContext.h"

#include <TQFilePathMgr.h>
#include <WhiteBoard_Agent.h>

#include <QList>

namespace {
// Window objects live until the process ends; keeping them reachable says so to leak checkers.
QList<TQ_WhiteBoardUI *> &liveObjects()
{
    static auto *objects = new QList<TQ_WhiteBoardUI *>;
    return *objects;
}
} // namespace

TQ_WhiteBoardUI::TQ_WhiteBoardUI()
    : m_state(new TqBoardState(this))
{
    TqCallLog::add(QStringLiteral("TQ_WhiteBoardUI"));
    liveObjects().append(this);
    TqBoardAgentLink::link(m_state, WhiteBoard_Agent::instance());

    TqClientContext *context = TqClientContext::instance();
    connect(context, &TqClientContext::loggedIn, this, &TQ_WhiteBoardUI::onLoggedIn);
    connect(context, &TqClientContext::loggedOut, this, [this] {
        m_state->stop();
        if (m_window)
            m_window->hide();
    });
    connect(context, &TqClientContext::featureRequested, this, [this](const QString &feature) {
        if (feature == TqFeature::whiteBoard() && TqClientContext::instance()->isLoggedIn())
            show();
    });
    if (context->isLoggedIn())
        onLoggedIn();
}

TQ_WhiteBoardUI::~TQ_WhiteBoardUI()
{
    delete m_window; // unbinds its surface while the state is still there
    liveObjects().removeAll(this);
}

TQ_WhiteBoardUI *TQ_WhiteBoardUI::instance()
{
    return liveObjects().value(0);
}

TqWhiteBoardWindow *TQ_WhiteBoardUI::window()
{
    if (!m_window)
        m_window = new TqWhiteBoardWindow(m_state);
    return m_window;
}

void TQ_WhiteBoardUI::show()
{
    TqWhiteBoardWindow *w = window();
    w->show();
    w->raise();
    w->activateWindow();
}

void TQ_WhiteBoardUI::onLoggedIn()
{
    m_state->start(TqClientContext::instance()->account(),
                   TQFilePathMgr::instance()->getRootPath());
}
