#include "TqInCallWindow.h"

#include "TqCallState.h"
#include "TqCallText.h"
#include "TqKeypad.h"
#include "TqMsgBox.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// Often enough that the seconds never lag visibly.
constexpr int TickMs = 250;
} // namespace

TqInCallWindow::TqInCallWindow(TqCallState *state, NameLookup nameOf, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_state(state)
    , m_nameOf(std::move(nameOf))
    , m_peer(new QLabel(this))
    , m_status(new QLabel(this))
    , m_duration(new QLabel(this))
    , m_video(new QLabel(this))
    , m_digits(new QLabel(this))
    , m_mute(new QPushButton(tr("Mute"), this))
    , m_keypadButton(new QPushButton(tr("Keypad"), this))
    , m_keypad(new TqKeypad(this))
    , m_switch(new QPushButton(this))
    , m_volume(new QSlider(Qt::Horizontal, this))
    , m_volumeValue(new QLabel(this))
    , m_statistics(new QPushButton(tr("Statistics"), this))
    , m_devices(new QPushButton(tr("Devices"), this))
    , m_hangUp(new QPushButton(this))
    , m_ticker(new QTimer(this))
{
    setObjectName(QStringLiteral("inCallWindow"));
    setWindowTitle(tr("Call"));
    m_peer->setObjectName(QStringLiteral("peerLabel"));
    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_duration->setObjectName(QStringLiteral("durationLabel"));
    m_video->setObjectName(QStringLiteral("videoArea"));
    m_digits->setObjectName(QStringLiteral("digitsLabel"));
    m_mute->setObjectName(QStringLiteral("muteButton"));
    m_keypadButton->setObjectName(QStringLiteral("keypadButton"));
    m_keypad->setObjectName(QStringLiteral("dtmfKeypad"));
    m_switch->setObjectName(QStringLiteral("switchMediaButton"));
    m_volume->setObjectName(QStringLiteral("volumeSlider"));
    m_volumeValue->setObjectName(QStringLiteral("volumeValue"));
    m_statistics->setObjectName(QStringLiteral("statisticsButton"));
    m_devices->setObjectName(QStringLiteral("devicesButton"));
    m_hangUp->setObjectName(QStringLiteral("hangUpButton"));

    m_peer->setTextFormat(Qt::PlainText);
    m_peer->setWordWrap(true);
    QFont big = m_peer->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    m_peer->setFont(big);
    m_video->setAlignment(Qt::AlignCenter);
    m_video->setFrameShape(QFrame::StyledPanel);
    m_video->setAutoFillBackground(true);
    m_video->setBackgroundRole(QPalette::Dark);
    m_video->setForegroundRole(QPalette::BrightText);
    const int em = fontMetrics().averageCharWidth();
    m_video->setMinimumSize(em * 40, em * 40 * 9 / 16);
    m_digits->setTextFormat(Qt::PlainText);
    m_mute->setCheckable(true);
    m_keypadButton->setCheckable(true);
    m_keypad->hide();
    m_volume->setRange(0, TqCallState::MaxVolume);
    m_volumeValue->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("100%")) + em);
    m_ticker->setInterval(TickMs);

    connect(m_mute, &QPushButton::clicked, m_state, &TqCallState::setMuted);
    connect(m_keypadButton, &QPushButton::toggled, m_keypad, &QWidget::setVisible);
    connect(m_keypad, &TqKeypad::digitPressed, this, &TqInCallWindow::sendDigit);
    connect(m_switch, &QPushButton::clicked, this,
            [this] { m_state->requestSwitch(!m_state->isVideo()); });
    connect(m_volume, &QSlider::valueChanged, this, [this](int value) {
        if (!m_volume->isSliderDown())
            m_state->setVolume(value);
    });
    connect(m_volume, &QSlider::sliderReleased, this,
            [this] { m_state->setVolume(m_volume->value()); });
    connect(m_statistics, &QPushButton::clicked, this, &TqInCallWindow::statisticsRequested);
    connect(m_devices, &QPushButton::clicked, this, &TqInCallWindow::devicesRequested);
    connect(m_hangUp, &QPushButton::clicked, this, [this] {
        if (m_state->isBusy())
            m_state->hangUp();
        else
            m_state->clear();
    });
    connect(m_ticker, &QTimer::timeout, this, &TqInCallWindow::refreshDuration);
    connect(m_state, &TqCallState::changed, this, &TqInCallWindow::refresh);
    connect(m_state, &TqCallState::phaseChanged, this, &TqInCallWindow::onPhase);
    connect(m_state, &TqCallState::peerSwitchRequested, this, &TqInCallWindow::askPeerSwitch);
    connect(m_state, &TqCallState::dtmfReceived, this, [this](QChar digit) {
        m_received.append(digit);
        refresh();
    });

    auto *header = new QVBoxLayout;
    header->addWidget(m_peer);
    auto *statusRow = new QHBoxLayout;
    statusRow->addWidget(m_status, 1);
    statusRow->addWidget(m_duration);
    header->addLayout(statusRow);

    auto *controls = new QGridLayout;
    controls->addWidget(m_mute, 0, 0);
    controls->addWidget(m_keypadButton, 0, 1);
    controls->addWidget(m_switch, 0, 2);
    controls->addWidget(m_statistics, 1, 0);
    controls->addWidget(m_devices, 1, 1);
    controls->addWidget(m_hangUp, 1, 2);

    auto *volumeRow = new QHBoxLayout;
    volumeRow->addWidget(new QLabel(tr("Speaker"), this));
    volumeRow->addWidget(m_volume, 1);
    volumeRow->addWidget(m_volumeValue);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(m_video, 1);
    layout->addWidget(m_digits);
    layout->addWidget(m_keypad);
    layout->addLayout(volumeRow);
    layout->addLayout(controls);
    onPhase();
}

TqMsgBox *TqInCallWindow::switchPrompt() const
{
    return m_prompt;
}

void TqInCallWindow::closeEvent(QCloseEvent *event)
{
    // Closing the window ends the call; an ended call need not be shown any longer.
    m_state->hangUp();
    m_state->clear();
    event->accept();
}

void TqInCallWindow::onPhase()
{
    const TqCallState::Phase phase = m_state->phase();
    if (phase == TqCallState::Phase::Dialing || phase == TqCallState::Phase::Incoming) {
        m_sent.clear();
        m_received.clear();
        m_keypadButton->setChecked(false);
    }
    if (phase == TqCallState::Phase::InCall)
        m_ticker->start();
    else
        m_ticker->stop();
    if (m_prompt && !m_state->isPeerSwitchPending())
        m_prompt->close();
    refresh();
}

void TqInCallWindow::refresh()
{
    const TqCallState::Phase phase = m_state->phase();
    const bool inCall = phase == TqCallState::Phase::InCall;
    const bool busy = m_state->isBusy();

    QString name = m_nameOf ? m_nameOf(m_state->peer()) : QString();
    if (name.isEmpty() || name == m_state->peer())
        name = m_state->peerName();
    m_peer->setText(TqCallText::peerLabel(name, m_state->peer()));
    setWindowTitle(tr("Call with %1").arg(m_peer->text()));
    m_status->setText(TqCallText::phase(*m_state));

    if (!m_state->isVideo()) {
        m_video->setText(tr("Voice call"));
    } else if (m_state->remoteVideoSize().isValid()) {
        const QSize size = m_state->remoteVideoSize();
        m_video->setText(tr("Remote video %1 × %2").arg(size.width()).arg(size.height()));
    } else {
        m_video->setText(tr("Video call: waiting for the picture…"));
    }

    QStringList digits;
    if (!m_sent.isEmpty())
        digits << tr("Sent: %1").arg(m_sent);
    if (!m_received.isEmpty())
        digits << tr("Received: %1").arg(m_received);
    m_digits->setText(digits.join(QStringLiteral("   ")));
    m_digits->setVisible(!digits.isEmpty());

    {
        const QSignalBlocker block(m_mute);
        m_mute->setChecked(m_state->isMuted());
    }
    m_mute->setText(m_state->isMuted() ? tr("Unmute") : tr("Mute"));
    m_mute->setEnabled(busy);
    m_keypadButton->setEnabled(inCall);
    m_keypad->setEnabled(inCall);
    if (m_state->isSwitchPending())
        m_switch->setText(tr("Switching…"));
    else
        m_switch->setText(m_state->isVideo() ? tr("Switch to voice") : tr("Switch to video"));
    m_switch->setEnabled(inCall && !m_state->isSwitchPending() && !m_state->isPeerSwitchPending());
    m_statistics->setEnabled(inCall);

    if (m_state->volume() >= 0 && !m_volume->isSliderDown()) {
        const QSignalBlocker block(m_volume);
        m_volume->setValue(m_state->volume());
    }
    m_volume->setEnabled(m_state->volume() >= 0);
    m_volumeValue->setText(m_state->volume() >= 0 ? tr("%1%").arg(m_volume->value()) : QString());
    m_hangUp->setText(busy ? tr("Hang up") : tr("Close"));
    refreshDuration();
}

void TqInCallWindow::refreshDuration()
{
    const bool shown = m_state->phase() == TqCallState::Phase::InCall || m_state->durationMs() > 0;
    m_duration->setText(shown ? TqCallText::duration(m_state->durationMs()) : QString());
}

void TqInCallWindow::askPeerSwitch()
{
    if (m_prompt)
        return;
    auto *prompt = new TqMsgBox(this);
    prompt->setObjectName(QStringLiteral("switchPrompt"));
    prompt->setAttribute(Qt::WA_DeleteOnClose);
    prompt->setMessageTitle(tr("Switch to video?"));
    // The peer's name is theirs to choose: as rich text it is escaped, never markup.
    const QString text
        = tr("%1 asks to switch this call to video. Turn on your camera?").arg(m_peer->text());
    prompt->setMessageText(QStringLiteral("<p>%1</p>").arg(text.toHtmlEscaped()));
    connect(prompt, &TqMsgBox::signal_Accept, this, [this] { m_state->answerPeerSwitch(true); });
    connect(prompt, &TqMsgBox::signal_Reject, this, [this] { m_state->answerPeerSwitch(false); });
    m_prompt = prompt;
    prompt->show();
    prompt->raise();
}

void TqInCallWindow::sendDigit(QChar digit)
{
    if (m_state->sendDtmf(digit)) {
        m_sent.append(digit);
        refresh();
    }
}
