#include "ProfileDialogs.h"

#include <TqAvatar.h>
#include <TqClientContext.h>
#include <TqEngineText.h>

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel *label(const char *role, QWidget *parent)
{
    auto *created = new QLabel(parent);
    created->setProperty("role", QByteArray(role));
    created->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return created;
}
} // namespace

ProfileDialog::ProfileDialog(const QString &user, TqProfiles *store, QWidget *parent)
    : QDialog(parent)
    , m_profile(new TqProfile(user, store, this))
    , m_avatar(new TqAvatar(this))
    , m_name(label("title", this))
    , m_id(label("muted", this))
    , m_status(label("muted", this))
    , m_presence(label("", this))
    , m_number(label("", this))
    , m_signature(label("", this))
{
    setObjectName(QStringLiteral("profileDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_name->setObjectName(QStringLiteral("nameLabel"));
    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_presence->setObjectName(QStringLiteral("presenceLabel"));
    m_number->setObjectName(QStringLiteral("numberLabel"));
    m_signature->setObjectName(QStringLiteral("signatureLabel"));
    m_signature->setWordWrap(true);
    m_avatar->setDiameterInLines(3.5);

    auto *names = new QVBoxLayout;
    names->addWidget(m_name);
    names->addWidget(m_id);
    auto *top = new QHBoxLayout;
    top->addWidget(m_avatar);
    top->addLayout(names, 1);

    auto *details = new QFormLayout;
    details->addRow(tr("Presence"), m_presence);
    details->addRow(tr("Short number"), m_number);
    details->addRow(tr("Signature"), m_signature);

    auto *buttons = new QDialogButtonBox(this);
    auto *call = new QPushButton(tr("&Call"), this);
    call->setObjectName(QStringLiteral("callButton"));
    call->setProperty("role", QByteArray("primary")); // before the box polishes it
    buttons->addButton(call, QDialogButtonBox::ActionRole);
    QPushButton *video = buttons->addButton(tr("&Video call"), QDialogButtonBox::ActionRole);
    video->setObjectName(QStringLiteral("videoCallButton"));
    QPushButton *close = buttons->addButton(tr("Close"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(call, &QPushButton::clicked, this, [this] {
        TqClientContext::instance()->requestCall(this->user(), false);
        accept();
    });
    connect(video, &QPushButton::clicked, this, [this] {
        TqClientContext::instance()->requestCall(this->user(), true);
        accept();
    });

    auto *layout = new QVBoxLayout(this);
    const int gap = fontMetrics().height();
    layout->setContentsMargins(gap * 3 / 2, gap * 3 / 2, gap * 3 / 2, gap);
    layout->setSpacing(gap);
    top->setSpacing(gap);
    details->setHorizontalSpacing(gap);
    layout->addLayout(top);
    layout->addWidget(m_status);
    layout->addLayout(details);
    layout->addStretch();
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 44);

    connect(m_profile, &TqProfile::changed, this, &ProfileDialog::refresh);
    refresh();
    m_profile->load();
}

QString ProfileDialog::user() const
{
    return m_profile->user();
}

void ProfileDialog::setPresenceText(const QString &text)
{
    m_presence->setText(text);
}

void ProfileDialog::refresh()
{
    const TqPersonProfile shown = m_profile->data();
    setWindowTitle(tr("Profile of %1").arg(shown.shownName()));
    m_avatar->setPerson(shown.user, shown.displayName);
    m_name->setText(shown.shownName());
    m_id->setText(shown.user);
    m_number->setText(shown.shortNumber.isEmpty() ? tr("—") : shown.shortNumber);
    m_signature->setText(shown.signature.isEmpty() ? tr("—") : shown.signature);
    switch (m_profile->status()) {
    case TqProfile::Status::Loading:
        m_status->setText(tr("Loading the profile…"));
        m_status->show();
        break;
    case TqProfile::Status::Unavailable:
        m_status->setText(tr("The profile is not available: %1")
                              .arg(TqEngineText::error(m_profile->failureReason())));
        m_status->show();
        break;
    case TqProfile::Status::Ready:
        m_status->hide();
        break;
    }
}

// ---- EditProfileDialog -------------------------------------------------------------------------

EditProfileDialog::EditProfileDialog(const TqPersonProfile &current, QWidget *parent)
    : QDialog(parent)
    , m_current(current)
    , m_name(new QLineEdit(current.displayName, this))
    , m_number(new QLineEdit(current.shortNumber, this))
    , m_signature(new QLineEdit(current.signature, this))
    , m_error(new QLabel(this))
{
    setObjectName(QStringLiteral("editProfileDialog"));
    setWindowTitle(tr("Edit your profile"));
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_number->setObjectName(QStringLiteral("numberEdit"));
    m_signature->setObjectName(QStringLiteral("signatureEdit"));
    m_signature->setPlaceholderText(tr("What others see under your name"));
    m_error->setObjectName(QStringLiteral("errorLabel"));
    m_error->setProperty("role", QByteArray("error"));
    m_error->setWordWrap(true);
    m_error->hide();

    auto *form = new QFormLayout;
    form->addRow(tr("Display &name"), m_name);
    form->addRow(tr("Short n&umber"), m_number);
    form->addRow(tr("&Signature"), m_signature);

    auto *buttons = new QDialogButtonBox(this);
    auto *save = new QPushButton(tr("Save"), this);
    save->setObjectName(QStringLiteral("saveButton"));
    save->setProperty("role", QByteArray("primary")); // before the box polishes it
    buttons->addButton(save, QDialogButtonBox::AcceptRole);
    save->setDefault(true);
    QPushButton *cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &EditProfileDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &EditProfileDialog::reject);

    auto *layout = new QVBoxLayout(this);
    const int gap = fontMetrics().height();
    layout->setContentsMargins(gap * 3 / 2, gap * 3 / 2, gap * 3 / 2, gap);
    layout->setSpacing(gap);
    layout->addLayout(form);
    layout->addWidget(m_error);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 52);
}

TqPersonProfile EditProfileDialog::edited() const
{
    TqPersonProfile edit = m_current;
    edit.displayName = m_name->text().trimmed();
    edit.shortNumber = m_number->text().trimmed();
    edit.signature = m_signature->text().trimmed();
    return edit;
}

QString EditProfileDialog::problemWith(const TqPersonProfile &edit)
{
    if (edit.displayName.toUtf8().size() > 128)
        return tr("The display name is too long.");
    if (edit.shortNumber.toUtf8().size() > 20)
        return tr("The short number is too long.");
    if (edit.signature.toUtf8().size() > 1305)
        return tr("The signature is too long.");
    return QString();
}

void EditProfileDialog::accept()
{
    const QString problem = problemWith(edited());
    if (!problem.isEmpty()) {
        m_error->setText(problem);
        m_error->show();
        return;
    }
    QDialog::accept();
}
