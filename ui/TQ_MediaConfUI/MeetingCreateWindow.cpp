#include "MeetingCreateWindow.h"

#include "MeetingCodes.h"

#include <TqClientContext.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int AccountRole = Qt::UserRole + 1;

QString shown(const QString &account)
{
    const QString name = TqClientContext::instance()->displayName(account);
    return name == account ? account : QStringLiteral("%1 (%2)").arg(name, account);
}
} // namespace

// ---- people ---------------------------------------------------------------------------------

TqMeetingPeoplePicker::TqMeetingPeoplePicker(QWidget *parent)
    : QWidget(parent)
    , m_list(new QListWidget(this))
    , m_account(new QLineEdit(this))
    , m_add(new QPushButton(tr("Add"), this))
{
    m_list->setObjectName(QStringLiteral("peopleList"));
    m_account->setObjectName(QStringLiteral("accountEdit"));
    m_add->setObjectName(QStringLiteral("addAccountButton"));
    m_account->setPlaceholderText(tr("Another account"));
    m_add->setEnabled(false);
    const int em = fontMetrics().averageCharWidth();
    m_list->setMinimumSize(em * 36, fontMetrics().height() * 8);

    connect(m_list, &QListWidget::itemChanged, this, &TqMeetingPeoplePicker::chosenChanged);
    connect(m_account, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_add->setEnabled(!text.trimmed().isEmpty()); });
    connect(m_account, &QLineEdit::returnPressed, this, &TqMeetingPeoplePicker::addTyped);
    connect(m_add, &QPushButton::clicked, this, &TqMeetingPeoplePicker::addTyped);

    auto *typed = new QHBoxLayout;
    typed->addWidget(m_account, 1);
    typed->addWidget(m_add);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list, 1);
    layout->addLayout(typed);
}

void TqMeetingPeoplePicker::setPeople(const QStringList &accounts)
{
    const QStringList ticked = chosen();
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    for (const QString &account : accounts)
        addRow(account, ticked.contains(account));
    for (const QString &account : ticked)
        if (!accounts.contains(account))
            addRow(account, true);
}

QStringList TqMeetingPeoplePicker::chosen() const
{
    QStringList accounts;
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->checkState() == Qt::Checked)
            accounts << m_list->item(i)->data(AccountRole).toString();
    return accounts;
}

void TqMeetingPeoplePicker::setChosen(const QStringList &accounts)
{
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem *item = m_list->item(i);
        item->setCheckState(accounts.contains(item->data(AccountRole).toString()) ? Qt::Checked
                                                                                  : Qt::Unchecked);
    }
}

void TqMeetingPeoplePicker::addTyped()
{
    const QString account = m_account->text().trimmed();
    if (account.isEmpty())
        return;
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->data(AccountRole).toString() == account) {
            m_list->item(i)->setCheckState(Qt::Checked);
            m_account->clear();
            return;
        }
    addRow(account, true);
    m_account->clear();
    emit chosenChanged();
}

void TqMeetingPeoplePicker::addRow(const QString &account, bool ticked)
{
    auto *item = new QListWidgetItem(shown(account), m_list);
    item->setData(AccountRole, account);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

// ---- a new meeting --------------------------------------------------------------------------

TqMeetingCreateWindow::TqMeetingCreateWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_kind(new QComboBox(this))
    , m_name(new QLineEdit(this))
    , m_nameLabel(new QLabel(tr("&Name"), this))
    , m_people(new TqMeetingPeoplePicker(this))
    , m_note(new QLabel(this))
    , m_start(new QPushButton(tr("Start"), this))
    , m_cancel(new QPushButton(tr("Cancel"), this))
{
    setObjectName(QStringLiteral("meetingCreateWindow"));
    setWindowTitle(tr("New meeting"));
    m_kind->setObjectName(QStringLiteral("kindCombo"));
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_note->setObjectName(QStringLiteral("noteLabel"));
    m_start->setObjectName(QStringLiteral("startButton"));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_start->setProperty("role", QStringLiteral("primary"));
    m_note->setProperty("role", QStringLiteral("muted"));
    m_note->setWordWrap(true);
    m_kind->addItem(tr("Voice meeting"), VoiceMeeting);
    m_kind->addItem(tr("Video meeting"), VideoMeeting);
    m_kind->addItem(tr("Interphone (push to talk)"), Interphone);
    m_name->setPlaceholderText(tr("What the meeting is about"));
    m_nameLabel->setBuddy(m_name);

    auto *title = new QLabel(tr("New meeting"), this);
    title->setProperty("role", QStringLiteral("title"));
    auto *form = new QFormLayout;
    form->addRow(tr("&Kind"), m_kind);
    form->addRow(m_nameLabel, m_name);
    auto *peopleTitle = new QLabel(tr("Members"), this);
    peopleTitle->setProperty("role", QStringLiteral("subtitle"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_start);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(form);
    layout->addWidget(peopleTitle);
    layout->addWidget(m_people, 1);
    layout->addWidget(m_note);
    layout->addLayout(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 56);

    TqClientContext *context = TqClientContext::instance();
    m_people->setPeople(context->contacts());
    connect(context, &TqClientContext::contactsChanged, this,
            [this, context] { m_people->setPeople(context->contacts()); });
    connect(m_kind, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &TqMeetingCreateWindow::refresh);
    connect(m_name, &QLineEdit::textChanged, this, &TqMeetingCreateWindow::refresh);
    connect(m_people, &TqMeetingPeoplePicker::chosenChanged, this, &TqMeetingCreateWindow::refresh);
    connect(m_start, &QPushButton::clicked, this, &TqMeetingCreateWindow::start);
    connect(m_name, &QLineEdit::returnPressed, this, &TqMeetingCreateWindow::start);
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);
    refresh();
}

void TqMeetingCreateWindow::setKind(Kind kind)
{
    m_kind->setCurrentIndex(m_kind->findData(kind));
}

void TqMeetingCreateWindow::setBusyNote(const QString &note)
{
    m_busy = note;
    refresh();
}

void TqMeetingCreateWindow::refresh()
{
    const bool interphone = m_kind->currentData().toInt() == Interphone;
    m_name->setVisible(!interphone);
    m_nameLabel->setVisible(!interphone);
    const int people = m_people->chosen().size();
    QString note = m_busy;
    if (note.isEmpty() && interphone && people == 0)
        note = tr("An interphone needs at least one other member.");
    else if (note.isEmpty() && !interphone && m_name->text().trimmed().isEmpty())
        note = tr("Give the meeting a name.");
    else if (note.isEmpty())
        note = people == 0 ? tr("You can invite people once the meeting is on.")
                           : tr("Members to invite: %1").arg(people);
    m_note->setText(note);
    m_start->setEnabled(m_busy.isEmpty()
                        && (interphone ? people > 0 : !m_name->text().trimmed().isEmpty()));
}

void TqMeetingCreateWindow::start()
{
    if (!m_start->isEnabled())
        return;
    const int kind = m_kind->currentData().toInt();
    if (kind == Interphone)
        emit interphoneRequested(m_people->chosen());
    else
        emit meetingRequested(kind == VideoMeeting ? TqMeetingCode::VideoMeeting
                                                   : TqMeetingCode::VoiceMeeting,
                              m_name->text().trimmed(), m_people->chosen());
}

// ---- inviting more --------------------------------------------------------------------------

TqMeetingInviteDialog::TqMeetingInviteDialog(const QStringList &present, QWidget *parent)
    : QDialog(parent)
    , m_people(new TqMeetingPeoplePicker(this))
{
    setObjectName(QStringLiteral("meetingInviteDialog"));
    setWindowTitle(tr("Invite to the meeting"));
    QStringList offered;
    for (const QString &account : TqClientContext::instance()->contacts())
        if (!present.contains(account))
            offered << account;
    m_people->setPeople(offered);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *invite = buttons->addButton(tr("Invite"), QDialogButtonBox::AcceptRole);
    invite->setObjectName(QStringLiteral("inviteButton"));
    invite->setProperty("role", QStringLiteral("primary"));
    invite->setEnabled(false);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(m_people, &TqMeetingPeoplePicker::chosenChanged, this,
            [this, invite] { invite->setEnabled(!m_people->chosen().isEmpty()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_people, 1);
    layout->addWidget(buttons);
}

QStringList TqMeetingInviteDialog::chosen() const
{
    return m_people->chosen();
}
