#include "MeetingInvitationWindow.h"

#include "MeetingState.h"
#include "MeetingText.h"

#include <TqAvatar.h>

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TqMeetingInvitationWindow::TqMeetingInvitationWindow(TqMeetingState *state, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
    , m_state(state)
    , m_avatar(new TqAvatar(this))
    , m_title(new QLabel(tr("Meeting invitation"), this))
    , m_who(new QLabel(this))
    , m_what(new QLabel(this))
    , m_more(new QLabel(this))
    , m_accept(new QPushButton(tr("Accept"), this))
    , m_refuse(new QPushButton(tr("Refuse"), this))
{
    setObjectName(QStringLiteral("meetingInvitationWindow"));
    setWindowTitle(tr("Meeting invitation"));
    m_title->setObjectName(QStringLiteral("titleLabel"));
    m_who->setObjectName(QStringLiteral("callerLabel"));
    m_what->setObjectName(QStringLiteral("meetingLabel"));
    m_more->setObjectName(QStringLiteral("moreLabel"));
    m_accept->setObjectName(QStringLiteral("acceptButton"));
    m_refuse->setObjectName(QStringLiteral("refuseButton"));
    m_title->setProperty("role", QStringLiteral("muted"));
    m_who->setProperty("role", QStringLiteral("title"));
    m_more->setProperty("role", QStringLiteral("muted"));
    m_accept->setProperty("role", QStringLiteral("primary"));
    // Names are the caller's own text: never markup.
    m_who->setTextFormat(Qt::PlainText);
    m_what->setTextFormat(Qt::PlainText);
    m_who->setWordWrap(true);
    m_what->setWordWrap(true);

    m_avatar->setObjectName(QStringLiteral("callerAvatar"));
    connect(m_accept, &QPushButton::clicked, this, [this] { m_state->accept(m_callid); });
    connect(m_refuse, &QPushButton::clicked, this, [this] { m_state->refuse(m_callid); });
    connect(m_state, &TqMeetingState::invitationsChanged, this,
            &TqMeetingInvitationWindow::refresh);

    auto *text = new QVBoxLayout;
    text->addWidget(m_title);
    text->addWidget(m_who);
    text->addWidget(m_what);
    auto *top = new QHBoxLayout;
    top->addWidget(m_avatar, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_more, 1);
    buttons->addWidget(m_refuse);
    buttons->addWidget(m_accept);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(fontMetrics().height() / 2);
    layout->addLayout(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 48);
    refresh();
}

void TqMeetingInvitationWindow::closeEvent(QCloseEvent *event)
{
    // Closing the prompt answers nothing: it is a refusal of the invitation shown.
    if (!m_callid.isEmpty())
        m_state->refuse(m_callid);
    event->accept();
}

void TqMeetingInvitationWindow::refresh()
{
    const QList<Agent_MeetingComingInfo> list = m_state->invitations();
    if (list.isEmpty()) {
        m_callid.clear();
        hide();
        return;
    }
    const Agent_MeetingComingInfo &first = list.first();
    m_callid = first.callid;
    m_avatar->setPerson(first.caller, first.nickname);
    const QString name = first.nickname.isEmpty() ? first.caller : first.nickname;
    m_who->setText(name == first.caller ? name : tr("%1 (%2)").arg(name, first.caller));
    m_what->setText(
        tr("invites you to a %1.").arg(TqMeetingText::kind(first.meetingType).toLower()));
    m_more->setText(list.size() > 1 ? tr("%n more waiting", nullptr, list.size() - 1) : QString());
    setWindowTitle(tr("Invitation from %1").arg(name));
}
