#include "RoomWindow.h"

#include "RoomState.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QToolButton *toggle(const QString &objectName, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setCheckable(true);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}
} // namespace

TqRoomWindow::TqRoomWindow(TqRoomState *state, QWidget *parent)
    : QWidget(parent)
    , m_state(state)
    , m_status(new QLabel(this))
    , m_problem(new QLabel(this))
    , m_link(new QLineEdit(this))
    , m_name(new QLineEdit(this))
    , m_join(new QPushButton(tr("Join"), this))
    , m_video(new QWidget(this))
    , m_count(new QLabel(this))
    , m_people(new QListWidget(this))
    , m_mic(toggle(QStringLiteral("micButton"), this))
    , m_speaker(toggle(QStringLiteral("speakerButton"), this))
    , m_camera(toggle(QStringLiteral("cameraButton"), this))
    , m_share(toggle(QStringLiteral("shareButton"), this))
    , m_digits(new QLineEdit(this))
    , m_dial(new QPushButton(tr("Dial"), this))
    , m_dialed(new QLabel(this))
    , m_leave(new QPushButton(tr("Leave"), this))
{
    setObjectName(QStringLiteral("roomWindow"));
    setWindowTitle(tr("Room video"));
    setAttribute(Qt::WA_StyledBackground);

    auto *title = new QLabel(tr("Room video"), this);
    title->setProperty("role", QByteArray("title"));
    m_status->setObjectName(QStringLiteral("roomStatusLabel"));
    m_status->setProperty("role", QByteArray("muted"));
    m_problem->setObjectName(QStringLiteral("roomProblemLabel"));
    m_problem->setProperty("role", QByteArray("error"));
    m_problem->setWordWrap(true);

    m_link->setObjectName(QStringLiteral("roomLinkEdit"));
    m_link->setPlaceholderText(tr("Room link, e.g. https://rooms.example.test/join/abc123"));
    m_name->setObjectName(QStringLiteral("shownNameEdit"));
    m_name->setPlaceholderText(tr("Your name in the room"));
    m_join->setObjectName(QStringLiteral("joinRoomButton"));
    m_join->setProperty("role", QByteArray("primary"));

    m_video->setObjectName(QStringLiteral("roomVideo"));
    m_video->setAttribute(Qt::WA_StyledBackground);
    m_video->setMinimumSize(480, 270);
    m_video->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_video->installEventFilter(this);
    m_count->setObjectName(QStringLiteral("participantCountLabel"));
    m_count->setProperty("role", QByteArray("subtitle"));
    m_people->setObjectName(QStringLiteral("roomParticipants"));
    m_people->setSelectionMode(QAbstractItemView::NoSelection);

    m_mic->setText(tr("Mute microphone"));
    m_speaker->setText(tr("Mute speaker"));
    m_camera->setText(tr("Camera off"));
    m_share->setText(tr("Share screen"));
    m_digits->setObjectName(QStringLiteral("dialEdit"));
    m_digits->setPlaceholderText(tr("Digits"));
    m_digits->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9*#]{0,16}")), m_digits));
    m_digits->setMaximumWidth(m_digits->fontMetrics().averageCharWidth() * 12);
    m_dial->setObjectName(QStringLiteral("dialButton"));
    m_dialed->setObjectName(QStringLiteral("dialedLabel"));
    m_dialed->setProperty("role", QByteArray("muted"));
    m_leave->setObjectName(QStringLiteral("leaveRoomButton"));

    auto *header = new QHBoxLayout;
    header->addWidget(title);
    header->addStretch();
    header->addWidget(m_status);

    auto *joinRow = new QHBoxLayout;
    joinRow->addWidget(m_link, 3);
    joinRow->addWidget(m_name, 1);
    joinRow->addWidget(m_join);

    auto *side = new QVBoxLayout;
    side->addWidget(m_count);
    side->addWidget(m_people);
    auto *middle = new QHBoxLayout;
    middle->addWidget(m_video, 4);
    middle->addLayout(side, 1);

    auto *controls = new QHBoxLayout;
    controls->addWidget(m_mic);
    controls->addWidget(m_speaker);
    controls->addWidget(m_camera);
    controls->addWidget(m_share);
    controls->addSpacing(16);
    controls->addWidget(m_digits);
    controls->addWidget(m_dial);
    controls->addWidget(m_dialed);
    controls->addStretch();
    controls->addWidget(m_leave);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addLayout(joinRow);
    layout->addWidget(m_problem);
    layout->addLayout(middle, 1);
    layout->addLayout(controls);

    connect(m_join, &QPushButton::clicked, this, &TqRoomWindow::join);
    connect(m_link, &QLineEdit::returnPressed, this, &TqRoomWindow::join);
    connect(m_leave, &QPushButton::clicked, m_state, &TqRoomState::leave);
    connect(m_mic, &QToolButton::clicked, m_state, &TqRoomState::setMicMuted);
    connect(m_speaker, &QToolButton::clicked, m_state, &TqRoomState::setSpeakerMuted);
    connect(m_camera, &QToolButton::clicked, m_state, &TqRoomState::setCameraOff);
    connect(m_share, &QToolButton::clicked, m_state, &TqRoomState::setSharing);
    connect(m_dial, &QPushButton::clicked, this, &TqRoomWindow::dial);
    connect(m_digits, &QLineEdit::returnPressed, this, &TqRoomWindow::dial);
    connect(m_state, &TqRoomState::changed, this, &TqRoomWindow::refresh);
    connect(m_state, &TqRoomState::participantsChanged, this, &TqRoomWindow::refreshParticipants);
    refresh();
    refreshParticipants();
    resize(960, 640);
}

void TqRoomWindow::setShownName(const QString &name)
{
    if (m_name->text().isEmpty())
        m_name->setText(name);
}

void TqRoomWindow::closeEvent(QCloseEvent *event)
{
    m_state->leave();
    event->accept();
}

bool TqRoomWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_video && event->type() == QEvent::Resize)
        m_state->setVideoRect(m_video->rect());
    return QWidget::eventFilter(watched, event);
}

void TqRoomWindow::join()
{
    m_state->join(m_link->text(), m_name->text(), m_video, m_video->rect());
}

void TqRoomWindow::dial()
{
    m_state->dial(m_digits->text());
    m_digits->clear();
}

void TqRoomWindow::refresh()
{
    const bool inCall = m_state->inCall();
    const bool inRoom = m_state->phase() == TqRoomState::Phase::InRoom;
    m_status->setText(m_state->phaseText());
    m_problem->setText(m_state->problem());
    m_problem->setVisible(!m_state->problem().isEmpty());
    m_link->setEnabled(!inCall);
    m_name->setEnabled(!inCall);
    m_join->setEnabled(!inCall);
    m_leave->setEnabled(inCall);
    for (QToolButton *b : {m_mic, m_speaker, m_camera, m_share})
        b->setEnabled(inRoom);
    m_digits->setEnabled(inRoom);
    m_dial->setEnabled(inRoom);
    m_mic->setChecked(m_state->micMuted());
    m_speaker->setChecked(m_state->speakerMuted());
    m_camera->setChecked(m_state->cameraOff());
    m_share->setChecked(m_state->sharing());
    m_share->setText(m_state->sharing() ? tr("Stop sharing") : tr("Share screen"));
    m_dialed->setText(m_state->dialed().isEmpty() ? QString()
                                                  : tr("Dialled: %1").arg(m_state->dialed()));
}

void TqRoomWindow::refreshParticipants()
{
    m_people->clear();
    const QStringList names = m_state->names();
    const QStringList uris = m_state->uris();
    for (int i = 0; i < names.size(); ++i) {
        auto *item = new QListWidgetItem(names.at(i).isEmpty() ? uris.value(i) : names.at(i));
        item->setToolTip(uris.value(i));
        m_people->addItem(item);
    }
    m_count->setText(tr("Participants (%n)", nullptr, names.size()));
}
