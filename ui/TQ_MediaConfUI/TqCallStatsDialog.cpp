#include "TqCallStatsDialog.h"

#include "TqCallState.h"
#include "TqCallText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TqCallStatsDialog::TqCallStatsDialog(TqCallState *state, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_form(new QFormLayout)
    , m_callId(addRow(tr("Call id"), "callIdValue"))
    , m_media(addRow(tr("Media"), "mediaValue"))
    , m_duration(addRow(tr("Duration"), "durationValue"))
    , m_remoteVideo(addRow(tr("Remote video"), "remoteVideoValue"))
    , m_mute(addRow(tr("Microphone"), "muteValue"))
    , m_volume(addRow(tr("Speaker volume"), "volumeValue"))
    , m_ticker(new QTimer(this))
{
    setObjectName(QStringLiteral("callStatisticsDialog"));
    setWindowTitle(tr("Call statistics"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *again = buttons->addButton(tr("Refresh"), QDialogButtonBox::ActionRole);
    again->setObjectName(QStringLiteral("refreshButton"));
    connect(again, &QPushButton::clicked, m_state, &TqCallState::requestStatistics);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_state, &TqCallState::changed, this, &TqCallStatsDialog::refresh);
    m_ticker->setInterval(500);
    connect(m_ticker, &QTimer::timeout, this, &TqCallStatsDialog::refresh);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(m_form);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 44);
    refresh();
}

QLabel *TqCallStatsDialog::addRow(const QString &name, const char *objectName)
{
    auto *value = new QLabel(this);
    value->setObjectName(QLatin1String(objectName));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setTextFormat(Qt::PlainText);
    m_form->addRow(name, value);
    return value;
}

void TqCallStatsDialog::showEvent(QShowEvent *event)
{
    m_state->requestStatistics();
    m_ticker->start();
    refresh();
    QDialog::showEvent(event);
}

void TqCallStatsDialog::hideEvent(QHideEvent *event)
{
    m_ticker->stop();
    QDialog::hideEvent(event);
}

void TqCallStatsDialog::refresh()
{
    const QString none = tr("—");
    m_callId->setText(m_state->callId().isEmpty() ? none : m_state->callId());
    m_media->setText(m_state->isBusy() || m_state->phase() == TqCallState::Phase::Ended
                         ? TqCallText::media(m_state->isVideo())
                         : none);
    m_duration->setText(TqCallText::duration(m_state->durationMs()));
    const QSize video = m_state->remoteVideoSize();
    m_remoteVideo->setText(video.isValid() ? tr("%1 × %2").arg(video.width()).arg(video.height())
                                           : none);
    m_mute->setText(m_state->isMuted() ? tr("Muted") : tr("On"));
    m_volume->setText(m_state->volume() >= 0 ? tr("%1%").arg(m_state->volume()) : none);
}
