#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class TqAvatar;
class TqMeetingState;

// The oldest invitation to a meeting waiting for an answer: who invites to what, accept or
// refuse. The next one shows once it is answered; the window hides when none is left.
class TqMeetingInvitationWindow : public QWidget
{
    Q_OBJECT
public:
    explicit TqMeetingInvitationWindow(TqMeetingState *state, QWidget *parent = nullptr);

    // The callid of the invitation shown; empty when none.
    QString shownCallId() const { return m_callid; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void refresh();

    TqMeetingState *m_state;
    QString m_callid;
    TqAvatar *m_avatar;
    QLabel *m_title;
    QLabel *m_who;
    QLabel *m_what;
    QLabel *m_more;
    QPushButton *m_accept;
    QPushButton *m_refuse;
};
