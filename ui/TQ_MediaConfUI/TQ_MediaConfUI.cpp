#include "TQ_MediaConfUI.h"

#include "ConferenceUi.h"
#include "MeetingUi.h"
#include "RoomUi.h"
#include "TqCallAgentLink.h"
#include "TqCallHistory.h"
#include "TqCallLog.h"
#include "TqCallState.h"
#include "TqCallStatsDialog.h"
#include "TqClientContext.h"
#include "TqDeviceDialog.h"
#include "TqDialWindow.h"
#include "TqInCallWindow.h"
#include "TqIncomingCallWindow.h"
#include "TqMediaDevices.h"

#include <Conference_Agent.h>
#include <Voip_Agent.h>

#include <QList>
#include <QTimer>
#include <QWidget>

namespace {
// Window objects live until the process ends; keeping them reachable says so to leak checkers.
QList<TQ_MediaConfUI *> &liveObjects()
{
    static auto *objects = new QList<TQ_MediaConfUI *>;
    return *objects;
}

constexpr int DefaultEndedDisplayMs = 2500;

void showOnTop(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}
} // namespace

TQ_MediaConfUI::TQ_MediaConfUI()
    : m_state(new TqCallState(this))
    , m_history(new TqCallHistory(this))
    , m_devices(new TqMediaDevices(this))
    , m_endedTimer(new QTimer(this))
{
    TqCallLog::add(QStringLiteral("TQ_MediaConfUI"));
    liveObjects().append(this);
    if (!isActive())
        return;

    TqClientContext *context = TqClientContext::instance();
    m_history->setNameLookup([context](const QString &user) { return context->displayName(user); });
    Voip_Agent *agent = Voip_Agent::instance();
    TqCallAgentLink::link(m_state, agent);
    TqCallAgentLink::link(m_devices, agent);
    m_conferences = new TqConfUi(Conference_Agent::instance(), this);
    m_meetings = new TqMeetingUi(this);
    m_rooms = new TqRoomUi(this);

    m_endedTimer->setSingleShot(true);
    m_endedTimer->setInterval(DefaultEndedDisplayMs);
    connect(m_endedTimer, &QTimer::timeout, m_state, &TqCallState::clear);
    connect(m_state, &TqCallState::phaseChanged, this, &TQ_MediaConfUI::onPhaseChanged);
    connect(m_state, &TqCallState::finished, m_history, &TqCallHistory::add);
    connect(m_state, &TqCallState::missed, m_history, &TqCallHistory::add);
    connect(context, &TqClientContext::loggedIn, this, &TQ_MediaConfUI::onLoggedIn);
    connect(context, &TqClientContext::loggedOut, this, &TQ_MediaConfUI::onLoggedOut);
    connect(context, &TqClientContext::callRequested, this, &TQ_MediaConfUI::onCallRequested);
    connect(context, &TqClientContext::featureRequested, this, [this](const QString &feature) {
        if (feature == TqFeature::calls())
            showDialPad();
    });
    if (context->isLoggedIn())
        onLoggedIn();
}

TQ_MediaConfUI::~TQ_MediaConfUI()
{
    m_state->setEnabled(false);
    closeWindows();
    liveObjects().removeAll(this);
}

TQ_MediaConfUI *TQ_MediaConfUI::instance()
{
    return liveObjects().value(0);
}

bool TQ_MediaConfUI::isActive() const
{
    return instance() == this;
}

QWidget *TQ_MediaConfUI::dialWindow() const
{
    return m_dial;
}

QWidget *TQ_MediaConfUI::incomingCallWindow() const
{
    return m_incoming;
}

QWidget *TQ_MediaConfUI::inCallWindow() const
{
    return m_inCall;
}

QWidget *TQ_MediaConfUI::statisticsDialog() const
{
    return m_statistics;
}

QWidget *TQ_MediaConfUI::deviceDialog() const
{
    return m_deviceDialog;
}

void TQ_MediaConfUI::setEndedDisplayTime(int ms)
{
    m_endedTimer->setInterval(qMax(0, ms));
}

void TQ_MediaConfUI::showDialPad()
{
    if (!isActive() || !m_state->isEnabled())
        return;
    if (!m_dial)
        m_dial = new TqDialWindow(m_state, m_history);
    showOnTop(m_dial);
}

void TQ_MediaConfUI::showStatistics()
{
    if (!isActive() || !m_state->isEnabled())
        return;
    if (!m_statistics)
        m_statistics = new TqCallStatsDialog(m_state, m_inCall);
    showOnTop(m_statistics);
}

void TQ_MediaConfUI::showDevices()
{
    if (!isActive() || !m_state->isEnabled())
        return;
    if (!m_deviceDialog)
        m_deviceDialog = new TqDeviceDialog(m_devices, m_state, m_inCall);
    showOnTop(m_deviceDialog);
}

void TQ_MediaConfUI::onLoggedIn()
{
    m_state->setEnabled(true);
}

void TQ_MediaConfUI::onLoggedOut()
{
    m_state->setEnabled(false);
    closeWindows();
    // The next user does not see this one's calls.
    m_history->clear();
}

void TQ_MediaConfUI::onCallRequested(const QString &peer, bool video)
{
    if (m_state->isBusy()) {
        if (m_inCall && m_inCall->isVisible())
            showOnTop(m_inCall);
        return;
    }
    m_state->dial(peer, video);
}

void TQ_MediaConfUI::onPhaseChanged()
{
    using Phase = TqCallState::Phase;
    const Phase phase = m_state->phase();
    if (phase != Phase::Ended)
        m_endedTimer->stop();
    if (phase == Phase::Incoming) {
        TqClientContext *context = TqClientContext::instance();
        if (!m_state->peerName().isEmpty())
            context->setDisplayName(m_state->peer(), m_state->peerName());
        if (!m_incoming)
            m_incoming = new TqIncomingCallWindow(
                m_state, [this](const QString &user) { return nameOf(user); });
        if (m_inCall)
            m_inCall->hide();
        showOnTop(m_incoming);
        return;
    }
    if (m_incoming)
        m_incoming->hide();
    switch (phase) {
    case Phase::Idle:
        if (m_inCall)
            m_inCall->hide();
        if (m_statistics)
            m_statistics->hide();
        break;
    case Phase::Ended:
        if (!m_inCall || !m_inCall->isVisible()) {
            // An incoming call that was never taken: nothing to show any more.
            m_state->clear();
            break;
        }
        m_endedTimer->start();
        break;
    default:
        showOnTop(ensureInCallWindow());
        break;
    }
}

TqInCallWindow *TQ_MediaConfUI::ensureInCallWindow()
{
    if (!m_inCall) {
        m_inCall
            = new TqInCallWindow(m_state, [this](const QString &user) { return nameOf(user); });
        connect(m_inCall, &TqInCallWindow::statisticsRequested, this,
                &TQ_MediaConfUI::showStatistics);
        connect(m_inCall, &TqInCallWindow::devicesRequested, this, &TQ_MediaConfUI::showDevices);
    }
    return m_inCall;
}

void TQ_MediaConfUI::closeWindows()
{
    m_endedTimer->stop();
    // Dialogs first: they may be children of the call window.
    delete m_statistics;
    delete m_deviceDialog;
    delete m_incoming;
    delete m_inCall;
    delete m_dial;
}

QString TQ_MediaConfUI::nameOf(const QString &user) const
{
    return TqClientContext::instance()->displayName(user);
}
