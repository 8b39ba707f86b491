#include "InterphoneWindow.h"

#include "InterphoneState.h"
#include "MeetingCodes.h"
#include "MeetingMemberDelegate.h"

#include <TqAvatar.h>

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

namespace C = TqMeetingCode;

TqInterphoneWindow::TqInterphoneWindow(TqInterphoneState *state, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_state(state)
    , m_title(new QLabel(tr("Interphone"), this))
    , m_status(new QLabel(this))
    , m_error(new QLabel(this))
    , m_speakerAvatar(new TqAvatar(this))
    , m_speaker(new QLabel(this))
    , m_talk(new QPushButton(this))
    , m_hint(new QLabel(this))
    , m_memberList(new QListView(this))
    , m_settingsFor(new QLabel(this))
    , m_speak(new QCheckBox(tr("&Speak"), this))
    , m_listen(new QCheckBox(tr("&Listen"), this))
    , m_leave(new QPushButton(this))
{
    setObjectName(QStringLiteral("interphoneWindow"));
    setWindowTitle(tr("Interphone"));
    m_title->setObjectName(QStringLiteral("titleLabel"));
    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_error->setObjectName(QStringLiteral("errorLabel"));
    m_speakerAvatar->setObjectName(QStringLiteral("speakerAvatar"));
    m_speaker->setObjectName(QStringLiteral("speakerLabel"));
    m_talk->setObjectName(QStringLiteral("pushToTalkButton"));
    m_hint->setObjectName(QStringLiteral("talkHint"));
    m_memberList->setObjectName(QStringLiteral("memberList"));
    m_settingsFor->setObjectName(QStringLiteral("settingsLabel"));
    m_speak->setObjectName(QStringLiteral("speakCheck"));
    m_listen->setObjectName(QStringLiteral("listenCheck"));
    m_leave->setObjectName(QStringLiteral("leaveButton"));
    m_title->setProperty("role", QStringLiteral("title"));
    m_status->setProperty("role", QStringLiteral("muted"));
    m_error->setProperty("role", QStringLiteral("error"));
    m_hint->setProperty("role", QStringLiteral("muted"));
    m_settingsFor->setProperty("role", QStringLiteral("subtitle"));
    m_speaker->setTextFormat(Qt::PlainText);
    m_speaker->setAlignment(Qt::AlignCenter);
    m_speaker->setWordWrap(true);
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setWordWrap(true);
    m_error->setWordWrap(true);
    m_error->hide();
    m_speakerAvatar->setDiameterInLines(4);
    m_talk->setFocusPolicy(Qt::NoFocus); // the space bar talks, it does not click
    m_memberList->setModel(m_state->members());
    m_memberList->setItemDelegate(new TqMeetingMemberDelegate(m_memberList));
    m_memberList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memberList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_memberList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_memberList->setFocusPolicy(Qt::NoFocus);
    const int em = fontMetrics().averageCharWidth();
    m_memberList->setMinimumSize(em * 34, fontMetrics().height() * 8);

    connect(m_talk, &QPushButton::pressed, m_state, &TqInterphoneState::pressTalk);
    connect(m_talk, &QPushButton::released, m_state, &TqInterphoneState::releaseTalk);
    connect(m_state, &TqInterphoneState::changed, this, &TqInterphoneWindow::refresh);
    connect(m_state, &TqInterphoneState::failed, this, [this](const QString &what) {
        m_error->setText(what);
        m_error->show();
    });
    QAbstractItemModel *members = m_state->members();
    connect(members, &QAbstractItemModel::dataChanged, this, &TqInterphoneWindow::refresh);
    connect(members, &QAbstractItemModel::modelReset, this, &TqInterphoneWindow::refresh);
    connect(members, &QAbstractItemModel::rowsInserted, this, &TqInterphoneWindow::refresh);
    connect(m_memberList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TqInterphoneWindow::refreshSettings);
    connect(m_speak, &QCheckBox::clicked, this, &TqInterphoneWindow::applySetting);
    connect(m_listen, &QCheckBox::clicked, this, &TqInterphoneWindow::applySetting);
    connect(m_leave, &QPushButton::clicked, this, [this] {
        // Leaving needs no farewell screen: the window goes with the meeting.
        m_state->exit();
        m_state->clear();
        hide();
    });

    auto *speakerBox = new QVBoxLayout;
    speakerBox->addWidget(m_speakerAvatar, 0, Qt::AlignHCenter);
    speakerBox->addWidget(m_speaker);
    speakerBox->addSpacing(fontMetrics().height());
    speakerBox->addWidget(m_talk, 0, Qt::AlignHCenter);
    speakerBox->addWidget(m_hint);
    speakerBox->addStretch();

    auto *settings = new QHBoxLayout;
    settings->addWidget(m_speak);
    settings->addWidget(m_listen);
    settings->addStretch();
    auto *side = new QVBoxLayout;
    auto *membersTitle = new QLabel(tr("Members"), this);
    membersTitle->setProperty("role", QStringLiteral("subtitle"));
    side->addWidget(membersTitle);
    side->addWidget(m_memberList, 1);
    side->addWidget(m_settingsFor);
    side->addLayout(settings);

    auto *body = new QHBoxLayout;
    body->addLayout(speakerBox, 1);
    body->addSpacing(em * 2);
    body->addLayout(side, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_leave);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_status);
    layout->addWidget(m_error);
    layout->addLayout(body, 1);
    layout->addLayout(bottom);
    resize(em * 90, fontMetrics().height() * 24);
    refresh();
}

void TqInterphoneWindow::closeEvent(QCloseEvent *event)
{
    m_state->exit();
    m_state->clear();
    event->accept();
}

void TqInterphoneWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat() && m_talk->isEnabled()) {
            m_talk->setDown(true);
            m_state->pressTalk();
        }
        return;
    }
    QWidget::keyPressEvent(event);
}

void TqInterphoneWindow::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat()) {
            m_talk->setDown(false);
            m_state->releaseTalk();
        }
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void TqInterphoneWindow::refresh()
{
    using Phase = TqInterphoneState::Phase;
    using Talk = TqInterphoneState::Talk;
    const Phase phase = m_state->phase();
    const bool active = phase == Phase::Active;

    switch (phase) {
    case Phase::Idle:
        m_status->clear();
        break;
    case Phase::Creating:
        m_status->setText(tr("Starting the interphone…"));
        break;
    case Phase::Active: {
        const QString owner = m_state->members()->member(m_state->owner()).shownName();
        m_status->setText(
            m_state->isOwner()
                ? tr("Your interphone · %n in it", nullptr, m_state->members()->joinedCount())
                : tr("%1's interphone · %n in it", nullptr, m_state->members()->joinedCount())
                      .arg(owner));
        break;
    }
    case Phase::Ended:
        m_status->setText(
            m_state->endReason() != 0
                ? tr("The interphone could not be started (code %1).").arg(m_state->endReason())
                : tr("The interphone has ended."));
        break;
    }
    if (!m_state->isBusy())
        m_error->hide();

    const QString speaker = m_state->speaker();
    const QString speakerName = m_state->members()->member(speaker).shownName();
    if (!active)
        m_speaker->setText(QString());
    else if (m_state->isTalking())
        m_speaker->setText(tr("You are speaking"));
    else if (!speaker.isEmpty())
        m_speaker->setText(tr("%1 is speaking").arg(speakerName));
    else
        m_speaker->setText(tr("Nobody is speaking"));
    m_speakerAvatar->setVisible(active && !speaker.isEmpty());
    if (!speaker.isEmpty())
        m_speakerAvatar->setPerson(speaker, speakerName);

    const Talk talk = m_state->talk();
    const bool talking = m_state->isTalking();
    m_talk->setEnabled(active && m_state->canSpeak());
    m_talk->setProperty("talking", talking);
    m_talk->style()->unpolish(m_talk);
    m_talk->style()->polish(m_talk);
    if (talking)
        m_talk->setText(tr("Talking… release to stop"));
    else if (talk == Talk::Asking)
        m_talk->setText(tr("Waiting for the microphone…"));
    else
        m_talk->setText(tr("Hold to talk"));
    QString hint;
    if (active && !m_state->canSpeak())
        hint = tr("You may only listen in this interphone.");
    else if (active && !speaker.isEmpty() && !talking)
        hint = tr("You can talk once %1 lets go.").arg(speakerName);
    else if (active)
        hint = tr("Hold the button or the space bar while you talk.");
    m_hint->setText(hint);
    m_leave->setText(m_state->isBusy() ? tr("&Leave") : tr("&Close"));
    refreshSettings();
}

QString TqInterphoneWindow::selectedMember() const
{
    const QModelIndex at = m_memberList->currentIndex();
    const QString chosen
        = at.isValid() ? at.data(TqMeetingMemberModel::AccountRole).toString() : QString();
    return chosen.isEmpty() ? m_state->ownAccount() : chosen;
}

void TqInterphoneWindow::refreshSettings()
{
    const QString account = selectedMember();
    const TqMeetingMember member = m_state->members()->member(account);
    const bool own = account == m_state->ownAccount();
    const bool active = m_state->phase() == TqInterphoneState::Phase::Active;
    m_settingsFor->setText(own ? tr("Your settings")
                               : tr("Settings for %1").arg(member.shownName()));
    const bool mayChange
        = active && m_state->members()->contains(account) && (own || m_state->isOwner());
    {
        const QSignalBlocker quietSpeak(m_speak);
        const QSignalBlocker quietListen(m_listen);
        m_speak->setChecked(C::canSpeak(member.option));
        m_listen->setChecked(C::canListen(member.option));
    }
    m_speak->setEnabled(mayChange);
    m_listen->setEnabled(mayChange);
}

void TqInterphoneWindow::applySetting()
{
    if (!m_state->setSpeakListen(selectedMember(),
                                 C::option(m_speak->isChecked(), m_listen->isChecked())))
        refreshSettings();
}
