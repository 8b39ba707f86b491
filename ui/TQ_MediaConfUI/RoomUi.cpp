#include "RoomUi.h"

#include "RoomAgentLink.h"
#include "RoomState.h"
#include "RoomWindow.h"

#include <TqClientContext.h>
#include <Vidyo_Agent.h>

TqRoomUi::TqRoomUi(QObject *parent)
    : QObject(parent)
    , m_state(new TqRoomState(this))
{
    TqRoomAgentLink::link(m_state, Vidyo_Agent::instance());
    TqClientContext *context = TqClientContext::instance();
    connect(context, &TqClientContext::featureRequested, this, [this](const QString &feature) {
        if (feature == TqFeature::roomVideo() && TqClientContext::instance()->isLoggedIn())
            showWindow();
    });
    connect(context, &TqClientContext::loggedOut, this, [this] {
        m_state->leave();
        if (m_window)
            m_window->hide();
    });
}

TqRoomUi::~TqRoomUi()
{
    delete m_window;
}

TqRoomWindow *TqRoomUi::window() const
{
    return m_window;
}

void TqRoomUi::showWindow()
{
    if (!m_window) {
        m_window = new TqRoomWindow(m_state);
        m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    TqClientContext *context = TqClientContext::instance();
    m_window->setShownName(context->displayName(context->account()));
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
