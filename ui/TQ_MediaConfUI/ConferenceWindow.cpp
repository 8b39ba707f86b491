#include "ConferenceWindow.h"

#include "ConferenceCodes.h"
#include "ConferenceModels.h"
#include "ConferenceRoom.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

using Phase = TqConfRoom::Phase;
using Cause = TqConfRoom::EndCause;

namespace {
QString endText(const TqConfRoom &room)
{
    switch (room.endCause()) {
    case Cause::Left:
        return TqConfWindow::tr("You left the conference.");
    case Cause::EndedByHost:
        return TqConfWindow::tr("The host ended the conference.");
    case Cause::TimeUp:
        return TqConfWindow::tr("The conference ended: its time is up.");
    case Cause::EverybodyLeft:
        return TqConfWindow::tr("The conference ended: everybody left.");
    case Cause::Removed:
        return TqConfWindow::tr("The host removed you from the conference.");
    case Cause::Refused:
        return room.joinFailure() == TqConfCode::ReasonUnauthorized
            ? TqConfWindow::tr("The password is not right.")
            : TqConfText::failure(TqConfWindow::tr("Joining"), room.joinFailure());
    case Cause::None:
        break;
    }
    return QString();
}
} // namespace

TqConfWindow::TqConfWindow(TqConfRoom *room, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_room(room)
    , m_model(new TqConfMemberModel(this))
    , m_name(new QLabel(this))
    , m_status(new QLabel(this))
    , m_banner(new QLabel(this))
    , m_members(new QTreeView(this))
    , m_microphone(new QPushButton(this))
    , m_camera(new QPushButton(this))
    , m_kick(new QPushButton(tr("Remove"), this))
    , m_chair(new QPushButton(tr("Make host"), this))
    , m_screen(new QPushButton(this))
    , m_record(new QPushButton(this))
    , m_records(new QListWidget(this))
    , m_noRecords(new QLabel(tr("No recordings yet."), this))
    , m_leave(new QPushButton(tr("Leave"), this))
    , m_end(new QPushButton(tr("End for everybody"), this))
{
    setObjectName(QStringLiteral("conferenceWindow"));
    m_name->setObjectName(QStringLiteral("nameLabel"));
    m_name->setProperty("role", QByteArray("title"));
    m_name->setTextFormat(Qt::PlainText);
    m_name->setWordWrap(true);
    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_status->setProperty("role", QByteArray("muted"));
    m_status->setTextFormat(Qt::PlainText);
    m_banner->setObjectName(QStringLiteral("conferenceBanner"));
    m_banner->setProperty("role", QByteArray("banner"));
    m_banner->setTextFormat(Qt::PlainText);
    m_banner->setWordWrap(true);
    m_banner->hide();
    m_members->setObjectName(QStringLiteral("memberList"));
    m_microphone->setObjectName(QStringLiteral("microphoneButton"));
    m_camera->setObjectName(QStringLiteral("cameraButton"));
    m_kick->setObjectName(QStringLiteral("kickButton"));
    m_chair->setObjectName(QStringLiteral("chairButton"));
    m_screen->setObjectName(QStringLiteral("screenButton"));
    m_record->setObjectName(QStringLiteral("recordButton"));
    m_records->setObjectName(QStringLiteral("recordList"));
    m_noRecords->setObjectName(QStringLiteral("noRecordsNote"));
    m_noRecords->setProperty("role", QByteArray("muted"));
    m_leave->setObjectName(QStringLiteral("leaveButton"));
    m_end->setObjectName(QStringLiteral("endButton"));
    m_end->setProperty("role", QByteArray("primary"));

    const int em = fontMetrics().averageCharWidth();
    m_members->setModel(m_model);
    m_members->setRootIsDecorated(false);
    m_members->setUniformRowHeights(true);
    m_members->setAlternatingRowColors(true);
    m_members->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_members->setSelectionMode(QAbstractItemView::SingleSelection);
    m_members->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_members->header()->setStretchLastSection(false);
    m_members->header()->setSectionResizeMode(TqConfMemberModel::NameColumn, QHeaderView::Stretch);
    const int widths[] = {0, 12, 15, 16, 13, 10};
    for (int column = TqConfMemberModel::RoleColumn; column < TqConfMemberModel::ColumnCount;
         ++column)
        m_members->header()->resizeSection(column, em * widths[column]);
    m_members->setMinimumSize(em * 100, fontMetrics().height() * 9);
    m_records->setMaximumHeight(fontMetrics().height() * 6);

    connect(m_members->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TqConfWindow::refresh);
    connect(m_microphone, &QPushButton::clicked, this, [this] {
        const TqConfMember m = m_room->member(selectedMember());
        const bool on = m.id == m_room->account() ? m.has(TqConfCode::PublishingVoice)
                                                  : !m.has(TqConfCode::MicrophoneMuted);
        m_room->setMicrophone(m.id, !on);
    });
    connect(m_camera, &QPushButton::clicked, this, [this] {
        const TqConfMember m = m_room->member(selectedMember());
        const bool on = m.id == m_room->account() ? m.has(TqConfCode::PublishingVideo)
                                                  : !m.has(TqConfCode::CameraTurnedOff);
        m_room->setCamera(m.id, !on);
    });
    connect(m_kick, &QPushButton::clicked, this, [this] { m_room->kick(selectedMember()); });
    connect(m_chair, &QPushButton::clicked, this, [this] { m_room->handOver(selectedMember()); });
    connect(m_screen, &QPushButton::clicked, this,
            [this] { m_room->setScreenSharing(!m_room->isSharingScreen()); });
    connect(m_record, &QPushButton::clicked, this,
            [this] { m_room->setRecording(!m_room->isRecording()); });
    connect(m_leave, &QPushButton::clicked, this, [this] {
        if (m_room->phase() == Phase::Ended || m_room->phase() == Phase::Idle)
            close();
        else
            m_room->leave();
    });
    connect(m_end, &QPushButton::clicked, m_room, &TqConfRoom::end);
    connect(m_room, &TqConfRoom::changed, this, &TqConfWindow::refresh);
    connect(m_room, &TqConfRoom::phaseChanged, this, [this](Phase phase) {
        if (phase == Phase::Ended)
            showBanner(endText(*m_room));
        else if (phase == Phase::Joining)
            showBanner(QString());
    });
    connect(m_room, &TqConfRoom::endingSoon, this, [this](int minutes) {
        showBanner(tr("The conference ends in %n minute(s).", nullptr, minutes));
    });
    connect(m_room, &TqConfRoom::notice, this, &TqConfWindow::showBanner);
    connect(m_room, &TqConfRoom::failed, this, [this](const QString &what, int reason) {
        showBanner(TqConfText::failure(what, reason));
    });

    auto *header = new QVBoxLayout;
    header->setSpacing(0);
    header->addWidget(m_name);
    header->addWidget(m_status);
    auto *top = new QHBoxLayout;
    top->addLayout(header, 1);
    top->addWidget(m_screen);

    auto *memberActions = new QHBoxLayout;
    memberActions->addWidget(m_microphone);
    memberActions->addWidget(m_camera);
    memberActions->addWidget(m_chair);
    memberActions->addWidget(m_kick);
    memberActions->addStretch();

    auto *recordBox = new QGroupBox(tr("Recording"), this);
    auto *recordLayout = new QVBoxLayout(recordBox);
    auto *recordTop = new QHBoxLayout;
    recordTop->addWidget(m_noRecords, 1);
    recordTop->addWidget(m_record);
    recordLayout->addLayout(recordTop);
    recordLayout->addWidget(m_records);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_leave);
    bottom->addWidget(m_end);

    auto *layout = new QVBoxLayout(this);
    const int gap = fontMetrics().height() * 3 / 4;
    layout->setContentsMargins(gap * 2, gap * 2, gap * 2, gap * 2);
    layout->setSpacing(gap);
    layout->addLayout(top);
    layout->addWidget(m_banner);
    layout->addWidget(m_members, 1);
    layout->addLayout(memberActions);
    layout->addWidget(recordBox);
    layout->addLayout(bottom);
    refresh();
}

QString TqConfWindow::selectedMember() const
{
    const QModelIndexList rows = m_members->selectionModel()->selectedRows();
    return rows.isEmpty() ? QString() : rows.first().data(TqConfMemberModel::IdRole).toString();
}

void TqConfWindow::selectMember(const QString &id)
{
    const int row = m_model->rowOf(id);
    if (row >= 0)
        m_members->setCurrentIndex(m_model->index(row, 0));
}

void TqConfWindow::showBanner(const QString &text)
{
    m_banner->setText(text);
    m_banner->setVisible(!text.isEmpty());
}

void TqConfWindow::closeEvent(QCloseEvent *event)
{
    // Closing the window leaves the conference; an ended one need not be shown any longer.
    m_room->leave();
    m_room->clear();
    event->accept();
}

void TqConfWindow::refresh()
{
    using namespace TqConfCode;
    const TqConfSummary c = m_room->summary();
    const bool in = m_room->isIn();
    const bool host = in && m_room->isHost();
    const QString name = c.name.isEmpty() ? c.id : c.name;
    m_name->setText(name);
    setWindowTitle(tr("Conference: %1").arg(name));

    QStringList status;
    switch (m_room->phase()) {
    case Phase::Joining:
        status << tr("Joining…");
        break;
    case Phase::InConference:
        status << (c.media == Video ? tr("Video conference") : tr("Voice conference"));
        if (c.started.isValid())
            status << tr("since %1").arg(c.started.toString(QStringLiteral("hh:mm")));
        status << (host ? tr("you are the host") : tr("you are an attendee"));
        if (c.recording)
            status << tr("recording");
        break;
    case Phase::Ended:
    case Phase::Idle:
        status << tr("Ended");
        break;
    }
    m_status->setText(status.join(QStringLiteral(" · ")));

    const QString selected = selectedMember();
    m_model->setMembers(m_room->members(), m_room->account());
    if (!selected.isEmpty() && selectedMember() != selected)
        selectMember(selected);

    const TqConfMember m = m_room->member(selectedMember());
    const bool self = !m.id.isEmpty() && m.id == m_room->account();
    const bool other = !m.id.isEmpty() && !self && m.isIn();
    const bool micOn = self ? m.has(PublishingVoice) : !m.has(MicrophoneMuted);
    const bool camOn = self ? m.has(PublishingVideo) : !m.has(CameraTurnedOff);
    m_microphone->setText(micOn ? tr("Mute") : tr("Unmute"));
    m_camera->setText(camOn ? tr("Video off") : tr("Video on"));
    m_microphone->setEnabled(in && (self || (other && host)));
    m_camera->setEnabled(in && (self || (other && host)));
    m_kick->setEnabled(other && host);
    m_chair->setEnabled(other && host && !m.isHost());

    m_screen->setText(m_room->isSharingScreen() ? tr("Stop sharing") : tr("Share screen"));
    m_screen->setEnabled(in);
    m_record->setText(c.recording ? tr("Stop recording") : tr("Record"));
    m_record->setEnabled(host && !m_room->isRecordingPending());

    m_records->clear();
    for (const TqConfRecordFile &f : m_room->records()) {
        auto *item = new QListWidgetItem(
            tr("%1 · %2 · %3")
                .arg(TqConfText::time(f.start), TqConfText::duration(f.seconds), f.url),
            m_records);
        item->setToolTip(f.url);
    }
    m_records->setVisible(!m_room->records().isEmpty());
    m_noRecords->setText(m_room->records().isEmpty()
                             ? (c.recording ? tr("Recording…") : tr("No recordings yet."))
                             : tr("Recordings: %n", nullptr, m_room->records().size()));

    m_leave->setText(in || m_room->phase() == Phase::Joining ? tr("Leave") : tr("Close"));
    m_end->setVisible(host);
}
