#include "ConferenceUi.h"

#include "ConferenceAgentLink.h"
#include "ConferenceCodes.h"
#include "ConferenceDirectory.h"
#include "ConferenceEditDialog.h"
#include "ConferenceListWindow.h"
#include "ConferenceModels.h"
#include "ConferenceRoom.h"
#include "ConferenceWindow.h"

#include <TqClientContext.h>
#include <TqMsgBox.h>

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>

namespace {
void showOnTop(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

QString shortTime(const QDateTime &t)
{
    return TqConfText::time(t);
}
} // namespace

TqConfUi::TqConfUi(Conference_Agent *agent, QObject *parent)
    : QObject(parent)
    , m_directory(new TqConfDirectory(this))
    , m_room(new TqConfRoom(this))
{
    TqConfAgentLink::link(m_directory, agent);
    TqConfAgentLink::link(m_room, agent);

    TqClientContext *context = TqClientContext::instance();
    connect(context, &TqClientContext::loggedIn, this, &TqConfUi::onLoggedIn);
    connect(context, &TqClientContext::loggedOut, this, &TqConfUi::onLoggedOut);
    connect(context, &TqClientContext::featureRequested, this, [this](const QString &feature) {
        if (feature == TqFeature::conferences())
            showList();
    });

    TqConfDirectory *d = m_directory;
    connect(d, &TqConfDirectory::created, this, &TqConfUi::onCreated);
    connect(d, &TqConfDirectory::updated, this,
            [this] { listBanner(tr("The conference was changed.")); });
    connect(d, &TqConfDirectory::cancelled, this,
            [this] { listBanner(tr("The conference was cancelled.")); });
    connect(d, &TqConfDirectory::failed, this, [this](const QString &what, int reason) {
        listBanner(TqConfText::failure(what, reason));
    });
    connect(d, &TqConfDirectory::invited, this, &TqConfUi::onInvited);
    connect(d, &TqConfDirectory::appointment, this,
            [this](int kind, const QString &, const QString &name, const QDateTime &start,
                   const QString &host) {
                const QString by = TqClientContext::instance()->displayName(host);
                const QString text = kind == TqConfCode::Cancelled
                    ? tr("%1 cancelled “%2”.").arg(by, name)
                    : kind == TqConfCode::Changed
                    ? tr("%1 changed “%2”: it starts %3.").arg(by, name, shortTime(start))
                    : tr("%1 scheduled “%2” for %3.").arg(by, name, shortTime(start));
                // The user's own schedule needs no news.
                if (host != m_directory->account())
                    listBanner(text, true);
            });
    connect(d, &TqConfDirectory::startingSoon, this,
            [this](const TqConfInvitation &c, int minutes) {
                listBanner(tr("“%1” starts in %n minute(s).", nullptr, minutes).arg(c.name), true);
            });
    connect(d, &TqConfDirectory::started, this, [this](const QString &confId, const QString &name) {
        if (confId != m_room->confId())
            listBanner(tr("“%1” has started. Select it and press Join to take part.").arg(name),
                       true);
    });
    connect(d, &TqConfDirectory::endedElsewhere, this,
            [this](const QString &confId, const QString &name) {
                // The conference window tells of its own end.
                if (confId != m_room->confId())
                    listBanner(tr("“%1” has ended.").arg(name));
            });
    connect(m_room, &TqConfRoom::phaseChanged, this, &TqConfUi::onRoomPhase);

    if (context->isLoggedIn())
        onLoggedIn(context->account());
}

TqConfUi::~TqConfUi()
{
    closeWindows();
}

QWidget *TqConfUi::listWindow() const
{
    return m_list;
}

QWidget *TqConfUi::editDialog() const
{
    return m_editor;
}

QWidget *TqConfUi::conferenceWindow() const
{
    return m_window;
}

QWidget *TqConfUi::invitationPrompt() const
{
    return m_invitation;
}

QWidget *TqConfUi::passwordDialog() const
{
    return m_password;
}

void TqConfUi::onLoggedIn(const QString &account)
{
    m_directory->setAccount(account);
    m_room->setAccount(account);
}

void TqConfUi::onLoggedOut()
{
    m_directory->setAccount(QString());
    m_room->setAccount(QString());
    closeWindows();
}

void TqConfUi::closeWindows()
{
    delete m_invitation;
    delete m_password;
    delete m_editor;
    delete m_window;
    delete m_list;
}

void TqConfUi::showList()
{
    if (!m_directory->isEnabled())
        return;
    if (!m_list) {
        m_list = new TqConfListWindow(m_directory);
        connect(m_list, &TqConfListWindow::createRequested, this, &TqConfUi::showCreate);
        connect(m_list, &TqConfListWindow::editRequested, this, &TqConfUi::showEdit);
        connect(m_list, &TqConfListWindow::joinRequested, this,
                [this](const QString &confId) { join(confId); });
    }
    m_directory->refresh(m_list->currentList());
    showOnTop(m_list);
}

void TqConfUi::listBanner(const QString &text, bool raise)
{
    if (raise)
        showList();
    if (m_list)
        m_list->showBanner(text);
    if (raise && m_list)
        QApplication::alert(m_list);
}

void TqConfUi::showCreate()
{
    openEditor(QString(), TqConfDraft());
}

void TqConfUi::showEdit(const QString &confId)
{
    const TqConfSummary c = m_directory->conference(confId);
    if (c.id.isEmpty())
        return;
    TqConfDraft d;
    d.name = c.name;
    d.topic = c.topic;
    d.scheduled = true;
    d.start = c.plannedStart;
    d.durationMinutes = c.durationMinutes;
    d.video = c.media == TqConfCode::Video;
    d.password = m_directory->memberPasswordOf(confId);
    d.hostPassword = m_directory->hostPasswordOf(confId);
    for (const TqConfMember &m : c.members)
        if (m.id != m_directory->account())
            d.members << m.id;
    openEditor(confId, d);
}

void TqConfUi::openEditor(const QString &confId, const TqConfDraft &draft)
{
    if (!m_directory->isEnabled())
        return;
    if (m_editor) {
        if (m_editor->editing() == confId) {
            showOnTop(m_editor);
            return;
        }
        m_editor->reject();
    }
    TqClientContext *context = TqClientContext::instance();
    QStringList contacts = context->contacts();
    contacts.removeAll(m_directory->account());
    m_editor = new TqConfEditDialog(
        contacts, [context](const QString &user) { return context->displayName(user); }, confId,
        m_list);
    m_editor->setAttribute(Qt::WA_DeleteOnClose);
    if (!confId.isEmpty())
        m_editor->setDraft(draft);
    connect(m_editor, &QDialog::accepted, this, [this] {
        if (!m_editor)
            return;
        const TqConfDraft d = m_editor->draft();
        if (m_editor->editing().isEmpty())
            m_directory->create(d);
        else
            m_directory->update(m_editor->editing(), d);
    });
    showOnTop(m_editor);
}

void TqConfUi::onCreated(const QString &confId, bool instant)
{
    if (instant)
        join(confId);
    else
        listBanner(tr("The conference is scheduled; its members have been told."));
}

void TqConfUi::join(const QString &confId, const QString &password)
{
    if (confId.isEmpty() || !m_directory->isEnabled())
        return;
    if (m_room->confId() == confId
        && (m_room->isIn() || m_room->phase() == TqConfRoom::Phase::Joining)) {
        showOnTop(ensureWindow());
        return;
    }
    // One conference at a time: joining another leaves this one.
    m_room->leave();
    m_room->clear();
    const TqConfSummary known = m_directory->conference(confId);
    m_room->join(confId, password.isEmpty() ? m_directory->passwordOf(confId) : password,
                 known.media == TqConfCode::Video);
    showOnTop(ensureWindow());
}

TqConfWindow *TqConfUi::ensureWindow()
{
    if (!m_window)
        m_window = new TqConfWindow(m_room);
    return m_window;
}

void TqConfUi::onInvited(const TqConfInvitation &invitation)
{
    if (m_room->confId() == invitation.confId && m_room->isIn())
        return;
    if (m_invitation) {
        // Superseded, not declined.
        m_invitation->disconnect(this);
        m_invitation->deleteLater();
    }
    auto *prompt = new TqMsgBox;
    prompt->setObjectName(QStringLiteral("conferenceInvitePrompt"));
    prompt->setAttribute(Qt::WA_DeleteOnClose);
    prompt->setMinimumWidth(prompt->fontMetrics().averageCharWidth() * 56);
    prompt->setMessageTitle(invitation.video ? tr("Video conference invitation")
                                             : tr("Conference invitation"));
    const QString who
        = invitation.inviterName.isEmpty() ? invitation.inviter : invitation.inviterName;
    // Names are other people's text: escaped, never markup.
    prompt->setMessageText(
        QStringLiteral("<p>%1</p>")
            .arg(
                tr("%1 invites you to “%2”. Join now?").arg(who, invitation.name).toHtmlEscaped()));
    connect(prompt, &TqMsgBox::signal_Accept, this,
            [this, invitation] { join(invitation.confId); });
    connect(prompt, &TqMsgBox::signal_Reject, this,
            [this, invitation] { m_directory->declineInvitation(invitation); });
    m_invitation = prompt;
    showOnTop(prompt);
    QApplication::alert(prompt);
}

void TqConfUi::onRoomPhase()
{
    if (m_room->phase() != TqConfRoom::Phase::Ended)
        return;
    if (m_room->endCause() == TqConfRoom::EndCause::Refused
        && m_room->joinFailure() == TqConfCode::ReasonUnauthorized)
        askPassword(m_room->confId());
    m_directory->refreshAll();
}

void TqConfUi::askPassword(const QString &confId)
{
    delete m_password;
    auto *dialog = new QInputDialog(m_window);
    dialog->setObjectName(QStringLiteral("conferencePasswordDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(tr("Conference password"));
    dialog->setLabelText(tr("This conference needs a password:"));
    dialog->setTextEchoMode(QLineEdit::Password);
    connect(dialog, &QInputDialog::textValueSelected, this,
            [this, confId](const QString &password) { join(confId, password); });
    m_password = dialog;
    dialog->open();
}
