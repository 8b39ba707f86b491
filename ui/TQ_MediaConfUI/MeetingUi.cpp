#include "MeetingUi.h"

#include "InterphoneState.h"
#include "InterphoneWindow.h"
#include "MeetingAgentLink.h"
#include "MeetingCreateWindow.h"
#include "MeetingInvitationWindow.h"
#include "MeetingState.h"
#include "MeetingWindow.h"

#include <Meeting_Agent.h>
#include <TqClientContext.h>
#include <Voip_Agent.h>

namespace {
void showOnTop(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}
} // namespace

TqMeetingUi::TqMeetingUi(QObject *parent)
    : QObject(parent)
    , m_meeting(new TqMeetingState(this))
    , m_interphone(new TqInterphoneState(this))
{
    TqMeetingAgentLink::link(m_meeting, Meeting_Agent::instance(), Voip_Agent::instance());
    TqMeetingAgentLink::link(m_interphone, Meeting_Agent::instance());

    TqClientContext *context = TqClientContext::instance();
    connect(context, &TqClientContext::loggedIn, this, &TqMeetingUi::onLoggedIn);
    connect(context, &TqClientContext::loggedOut, this, &TqMeetingUi::onLoggedOut);
    connect(context, &TqClientContext::featureRequested, this, [this](const QString &feature) {
        if (feature == TqFeature::meetings())
            showCreateWindow();
    });
    connect(m_meeting, &TqMeetingState::phaseChanged, this, &TqMeetingUi::onMeetingPhase);
    connect(m_meeting, &TqMeetingState::invitationsChanged, this, &TqMeetingUi::onInvitations);
    connect(m_interphone, &TqInterphoneState::phaseChanged, this, &TqMeetingUi::onInterphonePhase);
    if (context->isLoggedIn())
        onLoggedIn(context->account());
}

TqMeetingUi::~TqMeetingUi()
{
    m_meeting->setEnabled(false);
    m_interphone->setEnabled(false);
    closeWindows();
}

QWidget *TqMeetingUi::createWindow() const
{
    return m_create;
}

QWidget *TqMeetingUi::invitationWindow() const
{
    return m_invitation;
}

QWidget *TqMeetingUi::meetingWindow() const
{
    return m_meetingWindow;
}

QWidget *TqMeetingUi::interphoneWindow() const
{
    return m_interphoneWindow;
}

void TqMeetingUi::showCreateWindow()
{
    if (!m_meeting->isEnabled())
        return;
    if (!m_create) {
        m_create = new TqMeetingCreateWindow;
        connect(m_create, &TqMeetingCreateWindow::meetingRequested, this,
                [this](int type, const QString &name, const QStringList &members) {
                    if (m_meeting->create(type, name, members))
                        m_create->close();
                });
        connect(m_create, &TqMeetingCreateWindow::interphoneRequested, this,
                [this](const QStringList &members) {
                    if (m_interphone->create(members))
                        m_create->close();
                });
    }
    refreshBusyNote();
    showOnTop(m_create);
}

void TqMeetingUi::onLoggedIn(const QString &account)
{
    m_meeting->setEnabled(true, account);
    m_interphone->setEnabled(true, account);
}

void TqMeetingUi::onLoggedOut()
{
    m_meeting->setEnabled(false);
    m_interphone->setEnabled(false);
    closeWindows();
}

void TqMeetingUi::onMeetingPhase()
{
    refreshBusyNote();
    if (m_meeting->phase() == TqMeetingState::Phase::Idle) {
        if (m_meetingWindow)
            m_meetingWindow->hide();
        return;
    }
    if (!m_meetingWindow)
        m_meetingWindow = new TqMeetingWindow(m_meeting);
    if (!m_meetingWindow->isVisible())
        showOnTop(m_meetingWindow);
}

void TqMeetingUi::onInterphonePhase()
{
    refreshBusyNote();
    if (m_interphone->phase() == TqInterphoneState::Phase::Idle) {
        if (m_interphoneWindow)
            m_interphoneWindow->hide();
        return;
    }
    if (!m_interphoneWindow)
        m_interphoneWindow = new TqInterphoneWindow(m_interphone);
    if (!m_interphoneWindow->isVisible())
        showOnTop(m_interphoneWindow);
}

void TqMeetingUi::onInvitations()
{
    if (m_meeting->invitations().isEmpty()) {
        if (m_invitation)
            m_invitation->hide();
        return;
    }
    if (!m_invitation)
        m_invitation = new TqMeetingInvitationWindow(m_meeting);
    showOnTop(m_invitation);
}

void TqMeetingUi::refreshBusyNote()
{
    if (!m_create)
        return;
    QString note;
    if (m_meeting->isBusy())
        note = tr("You are in a meeting. Leave it to start another.");
    else if (m_interphone->isBusy())
        note = tr("You are in an interphone. Leave it to start another.");
    m_create->setBusyNote(note);
}

void TqMeetingUi::closeWindows()
{
    delete m_invitation;
    delete m_create;
    delete m_meetingWindow;
    delete m_interphoneWindow;
}
