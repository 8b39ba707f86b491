#include "MeetingWindow.h"

#include "MeetingCodes.h"
#include "MeetingCreateWindow.h"
#include "MeetingMemberDelegate.h"
#include "MeetingState.h"
#include "MeetingText.h"

#include <TqAvatar.h>
#include <TqClientContext.h>

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace C = TqMeetingCode;

namespace {
// The engine draws into this window; until it does, the member's initials stand in.
class VideoSurface : public QWidget
{
public:
    VideoSurface(const QString &account, QWidget *parent)
        : QWidget(parent)
        , m_account(account)
    {
        setObjectName(QStringLiteral("videoSurface"));
        const int em = fontMetrics().averageCharWidth();
        setMinimumSize(em * 24, em * 24 * 9 / 16);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    void setName(const QString &name) { m_name = name; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(0x26, 0x32, 0x38));
        const int d = qMin(width(), height()) / 3;
        const QRect badge(width() / 2 - d / 2, height() / 2 - d / 2, d, d);
        TqAvatar::paint(&p, badge, TqAvatar::initialsOf(m_name.isEmpty() ? m_account : m_name),
                        TqAvatar::colorOf(m_account));
    }

private:
    QString m_account;
    QString m_name;
};
} // namespace

// ---- a member's picture -----------------------------------------------------------------------

TqMeetingVideoTile::TqMeetingVideoTile(const QString &account, QWidget *parent)
    : QFrame(parent)
    , m_account(account)
    , m_surface(new VideoSurface(account, this))
    , m_caption(new QLabel(this))
{
    setObjectName(QStringLiteral("memberVideo_%1").arg(account));
    m_caption->setObjectName(QStringLiteral("videoCaption"));
    m_caption->setTextFormat(Qt::PlainText);
    m_caption->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(fontMetrics().height() / 4);
    layout->addWidget(m_surface, 1);
    layout->addWidget(m_caption);
}

void *TqMeetingVideoTile::windowHandle() const
{
    return reinterpret_cast<void *>(m_surface->winId());
}

void TqMeetingVideoTile::setCaption(const QString &name, const QSize &picture)
{
    static_cast<VideoSurface *>(m_surface)->setName(name);
    m_caption->setText(picture.isValid()
                           ? tr("%1 · %2 × %3").arg(name).arg(picture.width()).arg(picture.height())
                           : tr("%1 · connecting…").arg(name));
    m_surface->update();
}

// ---- the meeting ------------------------------------------------------------------------------

TqMeetingWindow::TqMeetingWindow(TqMeetingState *state, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_state(state)
    , m_title(new QLabel(this))
    , m_status(new QLabel(this))
    , m_error(new QLabel(this))
    , m_videoArea(new QWidget(this))
    , m_grid(new QGridLayout(m_videoArea))
    , m_noVideo(new QLabel(this))
    , m_memberList(new QListView(this))
    , m_settingsFor(new QLabel(this))
    , m_speak(new QCheckBox(tr("&Speak"), this))
    , m_listen(new QCheckBox(tr("&Listen"), this))
    , m_remove(new QPushButton(tr("&Remove"), this))
    , m_invite(new QPushButton(tr("&Invite…"), this))
    , m_camera(new QPushButton(this))
    , m_leave(new QPushButton(this))
    , m_dismiss(new QPushButton(tr("&End for everyone"), this))
{
    setObjectName(QStringLiteral("meetingWindow"));
    m_title->setObjectName(QStringLiteral("titleLabel"));
    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_error->setObjectName(QStringLiteral("errorLabel"));
    m_videoArea->setObjectName(QStringLiteral("videoGrid"));
    m_noVideo->setObjectName(QStringLiteral("noVideoLabel"));
    m_memberList->setObjectName(QStringLiteral("memberList"));
    m_settingsFor->setObjectName(QStringLiteral("settingsLabel"));
    m_speak->setObjectName(QStringLiteral("speakCheck"));
    m_listen->setObjectName(QStringLiteral("listenCheck"));
    m_remove->setObjectName(QStringLiteral("removeButton"));
    m_invite->setObjectName(QStringLiteral("inviteButton"));
    m_camera->setObjectName(QStringLiteral("cameraButton"));
    m_leave->setObjectName(QStringLiteral("leaveButton"));
    m_dismiss->setObjectName(QStringLiteral("dismissButton"));
    m_title->setProperty("role", QStringLiteral("title"));
    m_status->setProperty("role", QStringLiteral("muted"));
    m_error->setProperty("role", QStringLiteral("error"));
    m_noVideo->setProperty("role", QStringLiteral("muted"));
    m_settingsFor->setProperty("role", QStringLiteral("subtitle"));
    m_title->setTextFormat(Qt::PlainText);
    m_error->setWordWrap(true);
    m_error->hide();
    m_noVideo->setAlignment(Qt::AlignCenter);
    m_noVideo->setWordWrap(true);
    m_camera->setCheckable(true);
    m_memberList->setModel(m_state->members());
    m_memberList->setItemDelegate(new TqMeetingMemberDelegate(m_memberList));
    m_memberList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memberList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_memberList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_memberList->setWordWrap(true);
    const int em = fontMetrics().averageCharWidth();
    m_memberList->setMinimumWidth(em * 40);
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setSpacing(em);

    connect(m_state, &TqMeetingState::changed, this, &TqMeetingWindow::refresh);
    connect(m_state, &TqMeetingState::memberVideosChanged, this, &TqMeetingWindow::syncTiles);
    connect(m_state, &TqMeetingState::failed, this, [this](const QString &what) {
        m_error->setText(what);
        m_error->show();
    });
    QAbstractItemModel *members = m_state->members();
    connect(members, &QAbstractItemModel::dataChanged, this, &TqMeetingWindow::refresh);
    connect(members, &QAbstractItemModel::modelReset, this, &TqMeetingWindow::refresh);
    connect(members, &QAbstractItemModel::rowsInserted, this, &TqMeetingWindow::refresh);
    connect(m_memberList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TqMeetingWindow::refreshSettings);
    connect(m_speak, &QCheckBox::clicked, this, &TqMeetingWindow::applySetting);
    connect(m_listen, &QCheckBox::clicked, this, &TqMeetingWindow::applySetting);
    connect(m_remove, &QPushButton::clicked, this,
            [this] { m_state->removeMember(selectedMember()); });
    connect(m_invite, &QPushButton::clicked, this, &TqMeetingWindow::openInvite);
    connect(m_camera, &QPushButton::clicked, this,
            [this](bool on) { m_state->setPublishingVideo(on); });
    connect(m_dismiss, &QPushButton::clicked, this, [this] { m_state->dismiss(); });
    connect(m_leave, &QPushButton::clicked, this, [this] {
        // Leaving needs no farewell screen: the window goes with the meeting.
        m_state->exit();
        m_state->clear();
        hide();
    });

    auto *header = new QVBoxLayout;
    header->addWidget(m_title);
    header->addWidget(m_status);
    header->addWidget(m_error);

    auto *videoBox = new QVBoxLayout;
    videoBox->addWidget(m_videoArea, 1);
    videoBox->addWidget(m_noVideo, 1);

    auto *settings = new QHBoxLayout;
    settings->addWidget(m_speak);
    settings->addWidget(m_listen);
    settings->addStretch();
    settings->addWidget(m_remove);
    auto *side = new QVBoxLayout;
    auto *membersTitle = new QLabel(tr("Members"), this);
    membersTitle->setProperty("role", QStringLiteral("subtitle"));
    side->addWidget(membersTitle);
    side->addWidget(m_memberList, 1);
    side->addWidget(m_settingsFor);
    side->addLayout(settings);
    side->addWidget(m_invite);

    auto *body = new QHBoxLayout;
    body->addLayout(videoBox, 3);
    body->addLayout(side, 2);

    auto *controls = new QHBoxLayout;
    controls->addWidget(m_camera);
    controls->addStretch();
    controls->addWidget(m_dismiss);
    controls->addWidget(m_leave);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addLayout(body, 1);
    layout->addLayout(controls);
    resize(em * 110, fontMetrics().height() * 30);
    refresh();
}

TqMeetingInviteDialog *TqMeetingWindow::inviteDialog() const
{
    return m_inviteDialog;
}

void TqMeetingWindow::closeEvent(QCloseEvent *event)
{
    // Closing the window leaves the meeting; an ended one need not be shown any longer.
    m_state->exit();
    m_state->clear();
    event->accept();
}

void TqMeetingWindow::refresh()
{
    using Phase = TqMeetingState::Phase;
    const Phase phase = m_state->phase();
    const bool in = phase == Phase::InMeeting;

    QString title = m_state->name();
    if (title.isEmpty()) {
        const QString owner = TqClientContext::instance()->displayName(m_state->owner());
        const QString ownerName = m_state->members()->member(m_state->owner()).name;
        title = tr("%1 of %2")
                    .arg(TqMeetingText::kind(m_state->meetingType()),
                         ownerName.isEmpty() ? owner : ownerName);
    }
    m_title->setText(title);
    setWindowTitle(title);

    QString status;
    switch (phase) {
    case Phase::Idle:
        break;
    case Phase::Creating:
        status = tr("Starting the meeting…");
        break;
    case Phase::Joining:
        status = tr("Joining…");
        break;
    case Phase::InMeeting:
        status = tr("%1 · %n in the meeting", nullptr, m_state->members()->joinedCount())
                     .arg(TqMeetingText::kind(m_state->meetingType()));
        break;
    case Phase::Ended:
        switch (m_state->endKind()) {
        case TqMeetingState::End::Dismissed:
            status = tr("You ended the meeting for everyone.");
            break;
        case TqMeetingState::End::EndedByOwner:
            status = tr("The owner ended the meeting.");
            break;
        case TqMeetingState::End::Removed:
            status = tr("You are no longer in the meeting.");
            break;
        case TqMeetingState::End::Failed:
            status = tr("The meeting could not be joined: %1")
                         .arg(TqMeetingText::failure(m_state->endReason()));
            break;
        default:
            status = tr("You left the meeting.");
            break;
        }
        break;
    }
    m_status->setText(status);
    if (!m_state->isBusy())
        m_error->hide();

    const bool video = m_state->isVideo();
    m_camera->setVisible(video);
    m_camera->setEnabled(in);
    {
        const QSignalBlocker quiet(m_camera);
        m_camera->setChecked(m_state->isPublishingVideo());
    }
    m_camera->setText(m_state->isPublishingVideo() ? tr("Turn camera &off")
                                                   : tr("Turn camera &on"));
    m_invite->setEnabled(in);
    m_dismiss->setVisible(m_state->isOwner() && phase != Phase::Ended);
    m_dismiss->setEnabled(in);
    m_leave->setText(m_state->isBusy() ? tr("&Leave") : tr("&Close"));
    syncTiles();
    refreshSettings();
}

void TqMeetingWindow::syncTiles()
{
    if (m_syncing)
        return;
    const QScopedValueRollback<bool> busy(m_syncing, true);
    const bool shown = m_state->phase() == TqMeetingState::Phase::InMeeting && m_state->isVideo();
    QStringList wanted;
    if (shown)
        for (const TqMeetingMember &m : m_state->members()->members())
            if (m.isIn() && m.video && m.account != m_state->ownAccount())
                wanted << m.account;

    for (auto it = m_tiles.begin(); it != m_tiles.end();) {
        if (wanted.contains(it.key())) {
            ++it;
            continue;
        }
        m_state->hideMemberVideo(it.key());
        delete it.value();
        it = m_tiles.erase(it);
    }
    const QHash<QString, QSize> pictures = m_state->memberVideos();
    for (const QString &account : wanted) {
        TqMeetingVideoTile *tile = m_tiles.value(account);
        if (!tile) {
            tile = new TqMeetingVideoTile(account, m_videoArea);
            m_tiles.insert(account, tile);
            tile->setCaption(m_state->members()->member(account).shownName(), QSize());
            tile->show();
            m_state->showMemberVideo(account, tile->windowHandle());
        }
        tile->setCaption(m_state->members()->member(account).shownName(), pictures.value(account));
    }
    // Two pictures a row, in the members' order.
    int i = 0;
    for (const QString &account : wanted)
        if (TqMeetingVideoTile *tile = m_tiles.value(account)) {
            m_grid->addWidget(tile, i / 2, i % 2);
            ++i;
        }
    m_videoArea->setVisible(!m_tiles.isEmpty());
    m_noVideo->setVisible(m_tiles.isEmpty());
    if (!m_state->isVideo())
        m_noVideo->setText(tr("A voice meeting: no pictures."));
    else if (shown)
        m_noVideo->setText(tr("No member shows video yet."));
    else
        m_noVideo->setText(QString());
}

QString TqMeetingWindow::selectedMember() const
{
    const QModelIndex at = m_memberList->currentIndex();
    const QString chosen
        = at.isValid() ? at.data(TqMeetingMemberModel::AccountRole).toString() : QString();
    return chosen.isEmpty() ? m_state->ownAccount() : chosen;
}

void TqMeetingWindow::refreshSettings()
{
    const QString account = selectedMember();
    const TqMeetingMember member = m_state->members()->member(account);
    const bool own = account == m_state->ownAccount();
    const bool in = m_state->phase() == TqMeetingState::Phase::InMeeting;
    m_settingsFor->setText(own ? tr("Your settings")
                               : tr("Settings for %1").arg(member.shownName()));
    const bool mayChange
        = in && m_state->members()->contains(account) && (own || m_state->isOwner());
    {
        const QSignalBlocker quietSpeak(m_speak);
        const QSignalBlocker quietListen(m_listen);
        m_speak->setChecked(C::canSpeak(member.option));
        m_listen->setChecked(C::canListen(member.option));
    }
    m_speak->setEnabled(mayChange);
    m_listen->setEnabled(mayChange);
    m_remove->setVisible(m_state->isOwner() && !own);
    m_remove->setEnabled(in && (member.isIn() || member.state == C::MemberInvited));
}

void TqMeetingWindow::applySetting()
{
    if (!m_state->setSpeakListen(selectedMember(),
                                 C::option(m_speak->isChecked(), m_listen->isChecked())))
        refreshSettings();
}

void TqMeetingWindow::openInvite()
{
    if (m_inviteDialog) {
        m_inviteDialog->raise();
        return;
    }
    QStringList present;
    for (const TqMeetingMember &m : m_state->members()->members())
        if (m.isIn() || m.state == C::MemberInvited)
            present << m.account;
    m_inviteDialog = new TqMeetingInviteDialog(present, this);
    m_inviteDialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_inviteDialog, &QDialog::accepted, this, [this] {
        if (m_inviteDialog)
            m_state->invite(m_inviteDialog->chosen());
    });
    m_inviteDialog->show();
}
