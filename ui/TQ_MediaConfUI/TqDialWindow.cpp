#include "TqDialWindow.h"

#include "TqCallHistory.h"
#include "TqCallState.h"
#include "TqKeypad.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

TqDialWindow::TqDialWindow(TqCallState *state, TqCallHistory *history, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_state(state)
    , m_history(history)
    , m_number(new QLineEdit(this))
    , m_voice(new QPushButton(tr("Voice call"), this))
    , m_video(new QPushButton(tr("Video call"), this))
    , m_recent(new QListView(this))
{
    setObjectName(QStringLiteral("dialWindow"));
    setWindowTitle(tr("Dial"));
    m_number->setObjectName(QStringLiteral("numberEdit"));
    m_number->setPlaceholderText(tr("Number or user"));
    m_number->setClearButtonEnabled(true);
    m_voice->setObjectName(QStringLiteral("voiceCallButton"));
    m_video->setObjectName(QStringLiteral("videoCallButton"));
    m_voice->setDefault(true);
    m_recent->setObjectName(QStringLiteral("recentCalls"));
    m_recent->setModel(history);
    m_recent->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_recent->setUniformItemSizes(true);

    auto *keypad = new TqKeypad(this);
    keypad->setObjectName(QStringLiteral("dialKeypad"));
    connect(keypad, &TqKeypad::digitPressed, this,
            [this](QChar digit) { m_number->insert(digit); });
    connect(m_number, &QLineEdit::returnPressed, this, [this] { dial(false); });
    connect(m_number, &QLineEdit::textChanged, this, &TqDialWindow::refresh);
    connect(m_voice, &QPushButton::clicked, this, [this] { dial(false); });
    connect(m_video, &QPushButton::clicked, this, [this] { dial(true); });
    connect(m_recent, &QListView::activated, this, &TqDialWindow::redial);
    connect(m_state, &TqCallState::changed, this, &TqDialWindow::refresh);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_voice);
    buttons->addWidget(m_video);
    auto *recentTitle = new QLabel(tr("Recent calls"), this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_number);
    layout->addWidget(keypad);
    layout->addLayout(buttons);
    layout->addWidget(recentTitle);
    layout->addWidget(m_recent, 1);
    setMinimumWidth(fontMetrics().averageCharWidth() * 36);
    refresh();
}

void TqDialWindow::dial(bool video)
{
    if (m_state->dial(m_number->text(), video))
        m_number->clear();
}

void TqDialWindow::redial(const QModelIndex &index)
{
    m_state->dial(index.data(TqCallHistory::PeerRole).toString(),
                  index.data(TqCallHistory::VideoRole).toBool());
}

void TqDialWindow::refresh()
{
    const bool canDial = m_state->isEnabled() && !m_state->isBusy();
    const bool hasNumber = !m_number->text().trimmed().isEmpty();
    m_voice->setEnabled(canDial && hasNumber);
    m_video->setEnabled(canDial && hasNumber);
    m_recent->setEnabled(canDial);
}
