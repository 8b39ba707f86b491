#include "GroupWindows.h"

#include "GroupState.h"

#include <TqClientContext.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {
constexpr int kMessageMs = 8000;
// The engine's room for a group's name and description, in UTF-8 bytes.
constexpr int kNameBytes = 128;
constexpr int kDescriptionBytes = 512;

QLabel *label(const char *role, const char *name, QWidget *parent, const QString &text = {})
{
    auto *created = new QLabel(text, parent);
    created->setProperty("role", QByteArray(role));
    created->setObjectName(QLatin1String(name));
    return created;
}

QPushButton *button(const char *name, const QString &text, QWidget *parent)
{
    auto *created = new QPushButton(text, parent);
    created->setObjectName(QLatin1String(name));
    return created;
}

int gapOf(const QWidget *w)
{
    return w->fontMetrics().height() / 2;
}
} // namespace

// ---- GroupPeoplePicker -------------------------------------------------------------------------

GroupPeoplePicker::GroupPeoplePicker(const QStringList &except, QWidget *parent)
    : QWidget(parent)
    , m_list(new QListWidget(this))
{
    m_list->setObjectName(QStringLiteral("peopleList"));
    TqClientContext *context = TqClientContext::instance();
    for (const QString &user : context->contacts()) {
        if (except.contains(user) || user == context->account())
            continue;
        const QString name = context->displayName(user);
        auto *item = new QListWidgetItem(name == user ? user : tr("%1 (%2)").arg(name, user));
        item->setData(Qt::UserRole, user);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        m_list->addItem(item);
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    m_list->setMinimumHeight(fontMetrics().height() * 5);
}

QStringList GroupPeoplePicker::chosen() const
{
    QStringList users;
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->checkState() == Qt::Checked)
            users << m_list->item(row)->data(Qt::UserRole).toString();
    }
    return users;
}

void GroupPeoplePicker::setChosen(const QString &account, bool chosen)
{
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->data(Qt::UserRole).toString() == account)
            m_list->item(row)->setCheckState(chosen ? Qt::Checked : Qt::Unchecked);
    }
}

int GroupPeoplePicker::count() const
{
    return m_list->count();
}

// ---- GroupCreateDialog -------------------------------------------------------------------------

GroupCreateDialog::GroupCreateDialog(GroupState *groups, QWidget *parent)
    : QDialog(parent)
    , m_groups(groups)
    , m_name(new QLineEdit(this))
    , m_description(new QPlainTextEdit(this))
    , m_public(new QRadioButton(tr("&Public: anyone may find it and ask to join"), this))
    , m_people(new GroupPeoplePicker({}, this))
{
    setObjectName(QStringLiteral("groupCreateDialog"));
    setWindowTitle(tr("New group"));
    m_name->setObjectName(QStringLiteral("groupNameEdit"));
    m_name->setPlaceholderText(tr("What the group is called"));
    m_description->setObjectName(QStringLiteral("groupDescriptionEdit"));
    m_description->setPlaceholderText(tr("What the group is about (optional)"));
    m_description->setMaximumHeight(fontMetrics().lineSpacing() * 4);
    m_description->setTabChangesFocus(true);
    m_public->setObjectName(QStringLiteral("publicRadio"));
    auto *privateChoice = new QRadioButton(tr("P&rivate: by invitation only"), this);
    privateChoice->setObjectName(QStringLiteral("privateRadio"));
    privateChoice->setChecked(true);

    auto *buttons = new QDialogButtonBox(this);
    m_create = button("createGroupConfirmButton", tr("Create"), this);
    m_create->setProperty("role", QByteArray("primary"));
    buttons->addButton(m_create, QDialogButtonBox::AcceptRole);
    buttons->addButton(button("cancelCreateButton", tr("Cancel"), this),
                       QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_name, &QLineEdit::textChanged, this, &GroupCreateDialog::updateButtons);

    auto *form = new QFormLayout;
    form->addRow(tr("&Name:"), m_name);
    form->addRow(tr("&Description:"), m_description);
    auto *scope = new QVBoxLayout;
    scope->addWidget(privateChoice);
    scope->addWidget(m_public);
    form->addRow(tr("Who may join:"), scope);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(label("subtitle", "inviteLabel", this, tr("Invite contacts")));
    layout->addWidget(m_people, 1);
    layout->addWidget(buttons);
    resize(fontMetrics().averageCharWidth() * 56, fontMetrics().height() * 26);
    updateButtons();
}

void GroupCreateDialog::updateButtons()
{
    m_create->setEnabled(!m_name->text().trimmed().isEmpty());
}

void GroupCreateDialog::accept()
{
    const QString name = m_name->text().trimmed();
    QString description = m_description->toPlainText().trimmed();
    if (name.toUtf8().size() >= kNameBytes) {
        QMessageBox::information(this, windowTitle(), tr("The name is too long."));
        return;
    }
    if (description.toUtf8().size() >= kDescriptionBytes) {
        QMessageBox::information(this, windowTitle(), tr("The description is too long."));
        return;
    }
    if (!m_groups->create(name, description, m_public->isChecked(), m_people->chosen()))
        return;
    QDialog::accept();
}

// ---- GroupInviteDialog -------------------------------------------------------------------------

GroupInviteDialog::GroupInviteDialog(GroupState *groups, const QString &groupId, QWidget *parent)
    : QDialog(parent)
    , m_groups(groups)
    , m_groupId(groupId)
    , m_people(new GroupPeoplePicker(groups->members(groupId)->accounts(), this))
{
    setObjectName(QStringLiteral("groupInviteDialog"));
    const GroupInfo *g = groups->groups()->find(groupId);
    setWindowTitle(tr("Invite to “%1”").arg(g ? g->name : groupId));
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *invite = button("inviteConfirmButton", tr("Invite"), this);
    invite->setProperty("role", QByteArray("primary"));
    buttons->addButton(invite, QDialogButtonBox::AcceptRole);
    buttons->addButton(button("cancelInviteButton", tr("Cancel"), this),
                       QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    QLabel *none = label("muted", "noOneToInvite", this,
                         tr("Everyone in your contacts is in the group already."));
    none->setVisible(m_people->count() == 0);
    layout->addWidget(none);
    layout->addWidget(m_people, 1);
    layout->addWidget(buttons);
    resize(fontMetrics().averageCharWidth() * 44, fontMetrics().height() * 18);
}

void GroupInviteDialog::accept()
{
    if (!m_people->chosen().isEmpty())
        m_groups->invite(m_groupId, m_people->chosen());
    QDialog::accept();
}

// ---- GroupSearchDialog -------------------------------------------------------------------------

GroupSearchDialog::GroupSearchDialog(GroupState *groups, QWidget *parent)
    : QDialog(parent)
    , m_groups(groups)
    , m_keyword(new QLineEdit(this))
    , m_type(new QComboBox(this))
    , m_results(new QListView(this))
    , m_join(button("askToJoinButton", tr("Ask to join"), this))
    , m_note(label("muted", "searchNote", this))
{
    setObjectName(QStringLiteral("groupSearchDialog"));
    setWindowTitle(tr("Find a public group"));
    m_keyword->setObjectName(QStringLiteral("groupSearchEdit"));
    m_keyword->setPlaceholderText(tr("A group's name or id"));
    m_keyword->setClearButtonEnabled(true);
    m_type->setObjectName(QStringLiteral("searchTypeBox"));
    m_type->addItem(tr("By name"), GroupCode::SearchByName);
    m_type->addItem(tr("By id"), GroupCode::SearchById);
    auto *find = button("groupSearchButton", tr("Search"), this);
    find->setDefault(true);
    m_results->setObjectName(QStringLiteral("searchResults"));
    m_results->setModel(groups->searchResults());
    m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_join->setProperty("role", QByteArray("primary"));
    m_note->setWordWrap(true);
    auto *close = button("closeSearchButton", tr("Close"), this);

    connect(find, &QPushButton::clicked, this, &GroupSearchDialog::find);
    connect(m_keyword, &QLineEdit::returnPressed, this, &GroupSearchDialog::find);
    connect(m_join, &QPushButton::clicked, this, &GroupSearchDialog::join);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_results->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &GroupSearchDialog::updateButtons);
    connect(groups->searchResults(), &QAbstractItemModel::modelReset, this,
            &GroupSearchDialog::updateButtons);
    connect(groups, &GroupState::searchFinished, this, [this] {
        m_note->setText(m_groups->searchResults()->rowCount() == 0
                            ? tr("No public group matches.")
                            : tr("Choose a group and ask to join."));
    });
    connect(groups, &GroupState::status, this, [this](const QString &text) {
        if (isVisible())
            m_note->setText(text);
    });
    connect(groups, &GroupState::problem, this, [this](const QString &text) {
        if (isVisible())
            m_note->setText(text);
    });

    auto *top = new QHBoxLayout;
    top->addWidget(m_keyword, 1);
    top->addWidget(m_type);
    top->addWidget(find);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_note, 1);
    bottom->addWidget(m_join);
    bottom->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_results, 1);
    layout->addLayout(bottom);
    resize(fontMetrics().averageCharWidth() * 60, fontMetrics().height() * 20);
    updateButtons();
}

void GroupSearchDialog::find()
{
    if (m_groups->search(m_type->currentData().toInt(), m_keyword->text()))
        m_note->setText(tr("Searching…"));
}

void GroupSearchDialog::join()
{
    const QModelIndex at = m_results->currentIndex();
    if (!at.isValid())
        return;
    if (m_groups->askToJoin(at.data(GroupListModel::IdRole).toString()))
        m_join->setEnabled(false);
}

void GroupSearchDialog::updateButtons()
{
    const QModelIndex at = m_results->currentIndex();
    m_join->setEnabled(at.isValid() && !at.data(GroupListModel::JoinedRole).toBool());
}

// ---- GroupsPanel -------------------------------------------------------------------------------

GroupsPanel::GroupsPanel(GroupState *groups, QWidget *parent)
    : QWidget(parent)
    , m_groups(groups)
    , m_list(new QListView(this))
    , m_empty(label("muted", "noGroupsNote", this))
    , m_pendingBox(new QFrame(this))
    , m_pending(new QListView(m_pendingBox))
    , m_accept(button("acceptPendingButton", tr("Accept"), m_pendingBox))
    , m_refuse(button("refusePendingButton", tr("Refuse"), m_pendingBox))
{
    setObjectName(QStringLiteral("groupsPanel"));
    const int gap = gapOf(this);
    m_list->setObjectName(QStringLiteral("groupList"));
    m_list->setModel(groups->groups());
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const auto open = [this](const QModelIndex &index) {
        emit groupChosen(index.data(GroupListModel::IdRole).toString());
    };
    connect(m_list, &QListView::clicked, this, open);
    connect(m_list, &QListView::activated, this, open);
    m_empty->setText(tr("You are in no group yet. Create one, or find a public group."));
    m_empty->setWordWrap(true);
    m_empty->setAlignment(Qt::AlignCenter);

    m_pendingBox->setObjectName(QStringLiteral("pendingBox"));
    m_pendingBox->setProperty("role", QByteArray("card"));
    m_pending->setObjectName(QStringLiteral("pendingList"));
    m_pending->setModel(groups->pending());
    m_pending->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pending->setWordWrap(true);
    m_pending->setMaximumHeight(fontMetrics().height() * 7 / 2);
    m_accept->setProperty("role", QByteArray("primary"));
    const auto answer = [this](bool accept) {
        const QModelIndex at = m_pending->currentIndex();
        m_groups->answer(at.isValid() ? at.row() : 0, accept);
    };
    connect(m_accept, &QPushButton::clicked, this, [answer] { answer(true); });
    connect(m_refuse, &QPushButton::clicked, this, [answer] { answer(false); });
    auto *pendingButtons = new QHBoxLayout;
    pendingButtons->addStretch();
    pendingButtons->addWidget(m_refuse);
    pendingButtons->addWidget(m_accept);
    auto *pendingLayout = new QVBoxLayout(m_pendingBox);
    pendingLayout->setContentsMargins(gap, gap, gap, gap);
    pendingLayout->setSpacing(gap / 2);
    pendingLayout->addWidget(
        label("subtitle", "pendingTitle", m_pendingBox, tr("Waiting for your answer")));
    pendingLayout->addWidget(m_pending);
    pendingLayout->addLayout(pendingButtons);

    auto *create = button("createGroupButton", tr("New group…"), this);
    auto *search = button("searchGroupsButton", tr("Find a group…"), this);
    connect(create, &QPushButton::clicked, this, &GroupsPanel::openCreate);
    connect(search, &QPushButton::clicked, this, &GroupsPanel::openSearch);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(create);
    buttons->addWidget(search);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(gap, gap, gap, gap);
    layout->setSpacing(gap);
    layout->addLayout(buttons);
    layout->addWidget(m_pendingBox);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_empty);

    GroupListModel *list = groups->groups();
    const auto refresh = [this] {
        updatePending();
    };
    for (QAbstractItemModel *model : {static_cast<QAbstractItemModel *>(list),
                                      static_cast<QAbstractItemModel *>(groups->pending())}) {
        connect(model, &QAbstractItemModel::rowsInserted, this, refresh);
        connect(model, &QAbstractItemModel::rowsRemoved, this, refresh);
        connect(model, &QAbstractItemModel::modelReset, this, refresh);
    }
    updatePending();
}

void GroupsPanel::updatePending()
{
    const int waiting = m_groups->pending()->rowCount();
    m_pendingBox->setVisible(waiting > 0);
    if (waiting > 0 && !m_pending->currentIndex().isValid())
        m_pending->setCurrentIndex(m_groups->pending()->index(0));
    m_empty->setVisible(m_groups->groups()->rowCount() == 0);
}

void GroupsPanel::openCreate()
{
    if (!m_create) {
        m_create = new GroupCreateDialog(m_groups, this);
        m_create->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_create->show();
    m_create->raise();
    m_create->activateWindow();
}

void GroupsPanel::openSearch()
{
    if (!m_search) {
        m_search = new GroupSearchDialog(m_groups, this);
        m_search->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_search->show();
    m_search->raise();
    m_search->activateWindow();
}

// ---- GroupMembersPanel -------------------------------------------------------------------------

GroupMembersPanel::GroupMembersPanel(GroupState *groups, QWidget *parent)
    : QFrame(parent)
    , m_groups(groups)
    , m_title(label("subtitle", "membersTitle", this))
    , m_list(new QListView(this))
    , m_inviteButton(button("inviteButton", tr("Invite…"), this))
    , m_mute(button("muteButton", tr("Mute"), this))
    , m_remove(button("removeMemberButton", tr("Remove"), this))
    , m_leave(button("leaveGroupButton", tr("Leave the group"), this))
    , m_dismiss(button("dismissGroupButton", tr("Dismiss the group…"), this))
    , m_message(label("muted", "membersMessage", this))
{
    setObjectName(QStringLiteral("groupMembersPanel"));
    const int gap = gapOf(this);
    m_list->setObjectName(QStringLiteral("memberList"));
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_message->setWordWrap(true);
    m_message->hide();
    m_messageTimer.setSingleShot(true);
    m_messageTimer.setInterval(kMessageMs);
    connect(&m_messageTimer, &QTimer::timeout, m_message, &QLabel::hide);

    connect(m_inviteButton, &QPushButton::clicked, this, [this] {
        if (m_invite)
            m_invite->close();
        m_invite = new GroupInviteDialog(m_groups, m_groupId, this);
        m_invite->setAttribute(Qt::WA_DeleteOnClose);
        m_invite->show();
    });
    connect(m_mute, &QPushButton::clicked, this, [this] {
        const GroupMemberInfo *m = m_groups->members(m_groupId)->find(selected());
        if (m)
            m_groups->setMuted(m_groupId, m->account, !m->muted);
    });
    connect(m_remove, &QPushButton::clicked, this,
            [this] { m_groups->removeMember(m_groupId, selected()); });
    connect(m_leave, &QPushButton::clicked, this, [this] { m_groups->leave(m_groupId); });
    connect(m_dismiss, &QPushButton::clicked, this, [this] {
        if (m_question)
            return;
        const GroupInfo *g = m_groups->groups()->find(m_groupId);
        m_question
            = new QMessageBox(QMessageBox::Question, tr("Dismiss the group"),
                              tr("Dismiss “%1”? Its members will no longer be able to talk in it.")
                                  .arg(g ? g->name : m_groupId),
                              QMessageBox::Yes | QMessageBox::Cancel, this);
        m_question->setObjectName(QStringLiteral("dismissQuestion"));
        m_question->button(QMessageBox::Yes)->setText(tr("Dismiss"));
        m_question->button(QMessageBox::Yes)->setObjectName(QStringLiteral("dismissConfirmButton"));
        m_question->setAttribute(Qt::WA_DeleteOnClose);
        const QString id = m_groupId;
        connect(m_question, &QMessageBox::finished, this, [this, id](int result) {
            if (result == QMessageBox::Yes)
                m_groups->dismiss(id);
        });
        m_question->open();
    });
    connect(groups, &GroupState::problem, this,
            [this](const QString &text) { showMessage(text, true); });
    connect(groups->groups(), &QAbstractItemModel::dataChanged, this, &GroupMembersPanel::update);
    connect(groups->groups(), &QAbstractItemModel::rowsRemoved, this, &GroupMembersPanel::update);
    connect(groups->groups(), &QAbstractItemModel::rowsInserted, this, &GroupMembersPanel::update);
    connect(groups->groups(), &QAbstractItemModel::modelReset, this, &GroupMembersPanel::update);

    auto *memberButtons = new QHBoxLayout;
    memberButtons->setSpacing(gap / 2);
    memberButtons->addWidget(m_mute);
    memberButtons->addWidget(m_remove);
    auto *layout = new QVBoxLayout(this);
    // As the chat beside it: level with its header, clear of the window's edge.
    layout->setContentsMargins(0, gap * 3 / 2, 2 * gap, gap * 3 / 2);
    layout->setSpacing(gap);
    layout->addWidget(m_title);
    layout->addWidget(m_list, 1);
    layout->addLayout(memberButtons);
    layout->addWidget(m_inviteButton);
    layout->addWidget(m_message);
    layout->addWidget(m_leave);
    layout->addWidget(m_dismiss);
    setMinimumWidth(fontMetrics().averageCharWidth() * 26);
    hide();
}

void GroupMembersPanel::showGroup(const QString &id)
{
    if (id != m_groupId) {
        if (m_invite)
            m_invite->close();
        if (m_question)
            m_question->reject();
        if (!m_groupId.isEmpty())
            disconnect(m_groups->members(m_groupId), nullptr, this, nullptr);
        m_groupId = id;
        m_message->hide();
        if (!id.isEmpty()) {
            GroupMembersModel *model = m_groups->members(id);
            m_list->setModel(model);
            connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
                    &GroupMembersPanel::update);
            for (auto signal :
                 {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
                connect(model, signal, this, &GroupMembersPanel::update);
            connect(model, &QAbstractItemModel::modelReset, this, &GroupMembersPanel::update);
            connect(model, &QAbstractItemModel::dataChanged, this, &GroupMembersPanel::update);
            if (m_groups->isGroup(id))
                m_groups->loadMembers(id);
        } else {
            m_list->setModel(nullptr);
        }
    }
    update();
}

QString GroupMembersPanel::selected() const
{
    const QModelIndex at = m_list->currentIndex();
    return at.isValid() ? at.data(GroupMembersModel::AccountRole).toString() : QString();
}

void GroupMembersPanel::update()
{
    const bool isGroup = !m_groupId.isEmpty() && m_groups->isGroup(m_groupId);
    setVisible(isGroup);
    if (!isGroup) {
        if (m_invite)
            m_invite->close();
        return;
    }
    GroupMembersModel *model = m_groups->members(m_groupId);
    m_title->setText(tr("Members (%1)").arg(model->rowCount()));
    const int role = m_groups->ownRole(m_groupId);
    const bool manager = role >= GroupCode::Admin;
    const GroupMemberInfo *m = model->find(selected());
    const bool other = m && m->account != m_groups->account() && m->role != GroupCode::Owner
        && (role == GroupCode::Owner || m->role == GroupCode::Member);
    m_mute->setEnabled(manager && other);
    m_mute->setText(m && m->muted ? tr("Unmute") : tr("Mute"));
    m_remove->setEnabled(manager && other);
    m_mute->setVisible(manager);
    m_remove->setVisible(manager);
    m_leave->setVisible(role != GroupCode::Owner);
    m_dismiss->setVisible(role == GroupCode::Owner);
}

void GroupMembersPanel::showMessage(const QString &text, bool problem)
{
    if (!isVisible())
        return;
    m_message->setProperty("role", QByteArray(problem ? "error" : "muted"));
    m_message->style()->unpolish(m_message);
    m_message->style()->polish(m_message);
    m_message->setText(text);
    m_message->show();
    m_messageTimer.start();
}
