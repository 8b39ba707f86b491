#pragma once

#include "tq_mediaconfui_export.h"

#include <QObject>
#include <QPointer>

class QWidget;
class TqInterphoneState;
class TqInterphoneWindow;
class TqMeetingCreateWindow;
class TqMeetingInvitationWindow;
class TqMeetingState;
class TqMeetingWindow;

// The client's meetings: the meeting and interphone states fed by Meeting_Agent, and the
// windows bound to them (a new meeting, an invitation, the meeting, the interphone panel).
// Meetings are made and joined only while a user is logged in (TqClientContext); logging out
// leaves them and closes the windows. TqClientContext::requestFeature(TqFeature::meetings())
// opens the new-meeting window.
class TQ_MEDIACONFUI_EXPORT TqMeetingUi : public QObject
{
    Q_OBJECT
public:
    explicit TqMeetingUi(QObject *parent = nullptr);
    ~TqMeetingUi() override;

    TqMeetingState *meeting() const { return m_meeting; }
    TqInterphoneState *interphone() const { return m_interphone; }

    // The windows while they exist (null otherwise).
    QWidget *createWindow() const;
    QWidget *invitationWindow() const;
    QWidget *meetingWindow() const;
    QWidget *interphoneWindow() const;

public slots:
    void showCreateWindow();

private:
    void onLoggedIn(const QString &account);
    void onLoggedOut();
    void onMeetingPhase();
    void onInterphonePhase();
    void onInvitations();
    void refreshBusyNote();
    void closeWindows();

    TqMeetingState *m_meeting;
    TqInterphoneState *m_interphone;
    QPointer<TqMeetingCreateWindow> m_create;
    QPointer<TqMeetingInvitationWindow> m_invitation;
    QPointer<TqMeetingWindow> m_meetingWindow;
    QPointer<TqInterphoneWindow> m_interphoneWindow;
};
