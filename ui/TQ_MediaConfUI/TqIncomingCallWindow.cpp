#include "TqIncomingCallWindow.h"

#include "TqCallState.h"
#include "TqCallText.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TqIncomingCallWindow::TqIncomingCallWindow(TqCallState *state, NameLookup nameOf, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
    , m_state(state)
    , m_nameOf(std::move(nameOf))
    , m_title(new QLabel(this))
    , m_peer(new QLabel(this))
    , m_status(new QLabel(this))
    , m_accept(new QPushButton(tr("Accept"), this))
    , m_decline(new QPushButton(tr("Decline"), this))
{
    setObjectName(QStringLiteral("incomingCallWindow"));
    setWindowTitle(tr("Incoming call"));
    m_title->setObjectName(QStringLiteral("titleLabel"));
    m_peer->setObjectName(QStringLiteral("peerLabel"));
    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_accept->setObjectName(QStringLiteral("acceptButton"));
    m_decline->setObjectName(QStringLiteral("declineButton"));
    m_peer->setTextFormat(Qt::PlainText); // the name is the caller's own text
    m_peer->setWordWrap(true);
    QFont big = m_peer->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    m_peer->setFont(big);

    connect(m_accept, &QPushButton::clicked, m_state, &TqCallState::accept);
    connect(m_decline, &QPushButton::clicked, m_state, &TqCallState::decline);
    connect(m_state, &TqCallState::changed, this, &TqIncomingCallWindow::refresh);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_accept);
    buttons->addWidget(m_decline);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_peer);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    refresh();
}

void TqIncomingCallWindow::closeEvent(QCloseEvent *event)
{
    if (m_state->phase() == TqCallState::Phase::Incoming)
        m_state->decline();
    event->accept();
}

void TqIncomingCallWindow::refresh()
{
    if (m_state->phase() != TqCallState::Phase::Incoming)
        return;
    m_title->setText(m_state->isVideo() ? tr("Incoming video call") : tr("Incoming voice call"));
    QString name = m_nameOf ? m_nameOf(m_state->peer()) : QString();
    if (name.isEmpty() || name == m_state->peer())
        name = m_state->peerName();
    m_peer->setText(TqCallText::peerLabel(name, m_state->peer()));
    // The title says it rings; the status only tells that the answer is on its way.
    m_status->setText(TqCallText::phase(*m_state));
    m_status->setVisible(m_state->isAccepting());
    m_accept->setEnabled(!m_state->isAccepting());
}
