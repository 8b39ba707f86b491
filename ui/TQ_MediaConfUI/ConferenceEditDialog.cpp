#include "ConferenceEditDialog.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
constexpr int IdRole = Qt::UserRole + 1;

QSpinBox *minutes(QWidget *parent, const char *name, int max, int value)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, max);
    box->setValue(value);
    box->setSuffix(TqConfEditDialog::tr(" min"));
    return box;
}
} // namespace

TqConfEditDialog::TqConfEditDialog(const QStringList &contacts, NameLookup nameOf,
                                   const QString &editing, QWidget *parent)
    : QDialog(parent)
    , m_editing(editing)
    , m_nameOf(std::move(nameOf))
    , m_name(new QLineEdit(this))
    , m_topic(new QLineEdit(this))
    , m_instant(new QRadioButton(tr("Now"), this))
    , m_scheduled(new QRadioButton(tr("Scheduled"), this))
    , m_start(new QDateTimeEdit(this))
    , m_duration(minutes(this, "durationSpin", 24 * 60, 60))
    , m_remindStart(minutes(this, "remindStartSpin", 24 * 60, 5))
    , m_remindEnd(minutes(this, "remindEndSpin", 24 * 60, 5))
    , m_video(new QCheckBox(tr("Video conference"), this))
    , m_password(new QLineEdit(this))
    , m_hostPassword(new QLineEdit(this))
    , m_members(new QListWidget(this))
    , m_addEdit(new QLineEdit(this))
    , m_add(new QPushButton(tr("Add"), this))
    , m_problem(new QLabel(this))
    , m_ok(new QPushButton(editing.isEmpty() ? tr("Create") : tr("Save"), this))
{
    setObjectName(QStringLiteral("conferenceEditDialog"));
    setWindowTitle(editing.isEmpty() ? tr("New conference") : tr("Change conference"));
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_name->setPlaceholderText(tr("What the conference is called"));
    m_name->setMaxLength(120);
    m_topic->setObjectName(QStringLiteral("topicEdit"));
    m_topic->setPlaceholderText(tr("Optional"));
    m_instant->setObjectName(QStringLiteral("instantRadio"));
    m_scheduled->setObjectName(QStringLiteral("scheduledRadio"));
    m_start->setObjectName(QStringLiteral("startEdit"));
    m_start->setCalendarPopup(true);
    m_start->setDisplayFormat(QStringLiteral("yyyy-MM-dd hh:mm"));
    const QDateTime nextHour = QDateTime::currentDateTime().addSecs(3600);
    m_start->setDateTime(QDateTime(nextHour.date(), QTime(nextHour.time().hour(), 0)));
    m_duration->setMinimum(0);
    m_duration->setSpecialValueText(tr("Until ended"));
    m_video->setObjectName(QStringLiteral("videoCheck"));
    // Both passwords are secrets: never shown, never kept in the settings.
    m_password->setObjectName(QStringLiteral("passwordEdit"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setPlaceholderText(tr("None"));
    m_hostPassword->setObjectName(QStringLiteral("hostPasswordEdit"));
    m_hostPassword->setEchoMode(QLineEdit::Password);
    m_hostPassword->setPlaceholderText(tr("None"));
    m_members->setObjectName(QStringLiteral("memberPicker"));
    m_addEdit->setObjectName(QStringLiteral("addMemberEdit"));
    m_addEdit->setPlaceholderText(tr("Account of someone else"));
    m_add->setObjectName(QStringLiteral("addMemberButton"));
    m_problem->setObjectName(QStringLiteral("problemLabel"));
    m_problem->setProperty("role", QByteArray("error"));
    m_problem->setWordWrap(true);
    m_problem->hide();
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setProperty("role", QByteArray("primary"));
    m_ok->setDefault(true);
    auto *cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));

    for (const QString &id : contacts)
        addMember(id, false);
    m_instant->setChecked(true);
    if (!editing.isEmpty()) {
        // A scheduled conference stays scheduled; only what it is can change.
        m_scheduled->setChecked(true);
        m_instant->setEnabled(false);
        m_video->setEnabled(false);
    }

    connect(m_instant, &QRadioButton::toggled, this, &TqConfEditDialog::refresh);
    connect(m_name, &QLineEdit::textChanged, this, &TqConfEditDialog::refresh);
    connect(m_start, &QDateTimeEdit::dateTimeChanged, this, &TqConfEditDialog::refresh);
    connect(m_add, &QPushButton::clicked, this, [this] {
        const QString id = m_addEdit->text().trimmed();
        if (id.isEmpty())
            return;
        for (int i = 0; i < m_members->count(); ++i) {
            if (m_members->item(i)->data(IdRole).toString() == id) {
                m_members->item(i)->setCheckState(Qt::Checked);
                m_addEdit->clear();
                return;
            }
        }
        addMember(id, true);
        m_addEdit->clear();
    });
    connect(m_addEdit, &QLineEdit::returnPressed, m_add, &QPushButton::click);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *when = new QHBoxLayout;
    when->addWidget(m_instant);
    when->addWidget(m_scheduled);
    when->addWidget(m_start, 1);
    auto *reminders = new QHBoxLayout;
    reminders->addWidget(new QLabel(tr("before the start"), this));
    reminders->addWidget(m_remindStart);
    reminders->addSpacing(fontMetrics().averageCharWidth() * 2);
    reminders->addWidget(new QLabel(tr("before the end"), this));
    reminders->addWidget(m_remindEnd);
    reminders->addStretch();
    auto *add = new QHBoxLayout;
    add->addWidget(m_addEdit, 1);
    add->addWidget(m_add);

    auto *form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(tr("Name"), m_name);
    form->addRow(tr("Topic"), m_topic);
    form->addRow(tr("When"), when);
    form->addRow(tr("Duration"), m_duration);
    form->addRow(tr("Remind"), reminders);
    form->addRow(QString(), m_video);
    form->addRow(tr("Password"), m_password);
    form->addRow(tr("Host password"), m_hostPassword);
    auto *membersBox = new QVBoxLayout;
    membersBox->addWidget(m_members, 1);
    membersBox->addLayout(add);
    form->addRow(tr("Members"), membersBox);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(m_ok);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addLayout(buttons);
    const int em = fontMetrics().averageCharWidth();
    m_members->setMinimumHeight(fontMetrics().height() * 5);
    m_members->setMaximumHeight(fontMetrics().height() * 9);
    setMinimumWidth(em * 64);
    refresh();
}

void TqConfEditDialog::addMember(const QString &id, bool checked)
{
    const QString name = m_nameOf ? m_nameOf(id) : id;
    auto *item = new QListWidgetItem(
        name == id || name.isEmpty() ? id : tr("%1 (%2)").arg(name, id), m_members);
    item->setData(IdRole, id);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TqConfEditDialog::setDraft(const TqConfDraft &d)
{
    m_name->setText(d.name);
    m_topic->setText(d.topic);
    (d.scheduled ? m_scheduled : m_instant)->setChecked(true);
    if (d.start.isValid())
        m_start->setDateTime(d.start);
    m_duration->setValue(d.durationMinutes);
    m_remindStart->setValue(d.remindBeforeStart);
    m_remindEnd->setValue(d.remindBeforeEnd);
    m_video->setChecked(d.video);
    m_password->setText(d.password);
    m_hostPassword->setText(d.hostPassword);
    for (const QString &id : d.members) {
        bool found = false;
        for (int i = 0; i < m_members->count() && !found; ++i) {
            if (m_members->item(i)->data(IdRole).toString() == id) {
                m_members->item(i)->setCheckState(Qt::Checked);
                found = true;
            }
        }
        if (!found)
            addMember(id, true);
    }
    refresh();
}

TqConfDraft TqConfEditDialog::draft() const
{
    TqConfDraft d;
    d.name = m_name->text().trimmed();
    d.topic = m_topic->text().trimmed();
    d.scheduled = m_scheduled->isChecked();
    d.start = m_start->dateTime();
    d.durationMinutes = m_duration->value();
    d.remindBeforeStart = m_remindStart->value();
    d.remindBeforeEnd = m_remindEnd->value();
    d.video = m_video->isChecked();
    d.password = m_password->text();
    d.hostPassword = m_hostPassword->text();
    for (int i = 0; i < m_members->count(); ++i)
        if (m_members->item(i)->checkState() == Qt::Checked)
            d.members << m_members->item(i)->data(IdRole).toString();
    return d;
}

void TqConfEditDialog::refresh()
{
    const bool scheduled = m_scheduled->isChecked();
    m_start->setEnabled(scheduled);
    m_remindStart->setEnabled(scheduled);
    QString problem;
    if (scheduled && m_start->dateTime() <= QDateTime::currentDateTime())
        problem = tr("A scheduled conference starts in the future.");
    m_problem->setText(problem);
    m_problem->setVisible(!problem.isEmpty());
    m_ok->setEnabled(!m_name->text().trimmed().isEmpty() && problem.isEmpty());
}
