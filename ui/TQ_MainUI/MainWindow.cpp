#include "MainWindow.h"

#include "ChatState.h"
#include "ChatWindow.h"
#include "ContactDelegate.h"
#include "ContactListModel.h"
#include "ConversationDelegate.h"
#include "ConversationListModel.h"
#include "GroupState.h"
#include "GroupWindows.h"
#include "ProfileDialogs.h"

#include <SDK_Agent.h>
#include <TqAvatar.h>
#include <TqClientContext.h>
#include <TqEngineText.h>
#include <TqPresence.h>
#include <TqProfiles.h>
#include <TqSession.h>

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QLabel *label(const char *role, QWidget *parent)
{
    auto *created = new QLabel(parent);
    created->setProperty("role", QByteArray(role));
    return created;
}

// A presence dot as tall as a text line, sharp at any scale.
QIcon presenceIcon(int type, const QWidget *widget)
{
    const int side = widget->fontMetrics().height();
    const qreal ratio = widget->devicePixelRatioF();
    QPixmap pixmap(QSize(side, side) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(TqPresence::color(type));
    const qreal dot = side * 0.55;
    painter.drawEllipse(QRectF((side - dot) / 2, (side - dot) / 2, dot, dot));
    return QIcon(pixmap);
}

constexpr int kStatusMessageMs = 6000;
} // namespace

MainWindow::MainWindow(TqSession *session, TqProfiles *profiles, SDK_Agent *agent, ChatState *chat,
                       QWidget *parent)
    : QMainWindow(parent)
    , m_session(session)
    , m_profiles(profiles)
    , m_agent(agent)
    , m_contacts(new ContactListModel(this))
    , m_filter(new ContactFilterModel(this))
    , m_chat(chat)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(tr("Solvane"));
    m_filter->setSourceModel(m_contacts);
    buildUi();
    buildMenus();

    TqClientContext *context = TqClientContext::instance();
    connect(context, &TqClientContext::loggedIn, this, &MainWindow::onLoggedIn);
    connect(context, &TqClientContext::loggedOut, this, &MainWindow::onLoggedOut);
    connect(context, &TqClientContext::profileRequested, this, &MainWindow::openProfile);
    connect(context, &TqClientContext::featureRequested, this, &MainWindow::showFeature);
    connect(context, &TqClientContext::chatRequested, this, &MainWindow::openChat);

    connect(chat, &ChatState::totalUnreadChanged, this, &MainWindow::updateChatsTab);
    connect(chat->conversations(), &QAbstractItemModel::rowsInserted, this,
            &MainWindow::updateChatsTab);
    connect(chat->conversations(), &QAbstractItemModel::modelReset, this,
            &MainWindow::updateChatsTab);
    connect(chat, &ChatState::offlineMessagesArrived, this, [this](int count) {
        statusBar()->showMessage(tr("Messages received while you were offline: %1").arg(count),
                                 kStatusMessageMs);
    });
    connect(chat, &ChatState::messageArrived, this, [this](const QString &peer) {
        if (peer != m_chat->viewing())
            QApplication::alert(this);
    });

    connect(agent, &SDK_Agent::sig_onReceiveFriendsPublishPresence, this,
            [this](const QList<Agent_PersonState> &states) {
                if (m_session->isLoggedIn())
                    m_contacts->onFriendsPresence(states);
            });
    connect(agent, &SDK_Agent::sig_onGetUserState, m_contacts, &ContactListModel::onUserStates);
    connect(m_contacts, &ContactListModel::contactsAdded, this, &MainWindow::onContactsAdded);
    connect(m_filter, &QAbstractItemModel::rowsInserted, this, &MainWindow::updateEmptyNote);
    connect(m_filter, &QAbstractItemModel::rowsRemoved, this, &MainWindow::updateEmptyNote);
    connect(m_filter, &QAbstractItemModel::modelReset, this, &MainWindow::updateEmptyNote);
    connect(m_filter, &QAbstractItemModel::layoutChanged, this, &MainWindow::updateEmptyNote);

    connect(profiles, &TqProfiles::profileChanged, this, &MainWindow::onProfileChanged);
    connect(profiles, &TqProfiles::ownSaved, this, [this](qulonglong version) {
        statusBar()->showMessage(tr("Profile saved (version %1).").arg(version), kStatusMessageMs);
    });
    connect(profiles, &TqProfiles::ownSaveFailed, this, [this](int reason) {
        statusBar()->showMessage(
            tr("The profile was not saved: %1").arg(TqEngineText::error(reason)), kStatusMessageMs);
        refreshOwnHeader();
    });

    connect(session, &TqSession::stateChanged, this, &MainWindow::onSessionState);
    connect(session, &TqSession::engineStateChanged, this, &MainWindow::onSessionState);
    connect(session, &TqSession::reconnected, this, [this] {
        if (!m_contacts->users().isEmpty())
            emit m_agent->sig_getUserState(m_contacts->users());
    });
    connect(session, &TqSession::presenceChanged, this, &MainWindow::onPresenceConfirmed);
    connect(session, &TqSession::presenceRefused, this, [this](const QString &problem) {
        statusBar()->showMessage(tr("Presence not changed: %1").arg(problem), kStatusMessageMs);
    });

    const QFontMetrics fm = fontMetrics();
    resize(fm.averageCharWidth() * 124, fm.height() * 46);
    onSessionState();
    updateChatsTab();
}

void MainWindow::buildUi()
{
    auto *header = new QFrame(this);
    header->setObjectName(QStringLiteral("profileHeader"));
    m_avatar = new TqAvatar(header);
    m_avatar->setObjectName(QStringLiteral("ownAvatar"));
    m_ownName = label("subtitle", header);
    m_ownName->setObjectName(QStringLiteral("ownNameLabel"));
    m_ownSignature = label("muted", header);
    m_ownSignature->setObjectName(QStringLiteral("ownSignatureLabel"));
    auto *edit = new QToolButton(header);
    edit->setObjectName(QStringLiteral("editProfileButton"));
    edit->setText(tr("Edit"));
    edit->setToolTip(tr("Edit your name, short number and signature"));
    connect(edit, &QToolButton::clicked, this, &MainWindow::editOwnProfile);
    m_presence = new QComboBox(header);
    m_presence->setObjectName(QStringLiteral("presenceCombo"));
    for (const int type : TqPresence::selectable())
        m_presence->addItem(presenceIcon(type, this), TqPresence::text(type), type);
    connect(m_presence, QOverload<int>::of(&QComboBox::activated), this,
            &MainWindow::onPresenceChosen);

    const int gap = fontMetrics().height() / 2;
    auto *names = new QVBoxLayout;
    names->setSpacing(0);
    names->addWidget(m_ownName);
    names->addWidget(m_ownSignature);
    auto *headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(2 * gap, gap * 3 / 2, 2 * gap, gap * 3 / 2);
    headerLayout->setSpacing(gap * 3 / 2);
    headerLayout->addWidget(m_avatar);
    headerLayout->addLayout(names, 1);
    headerLayout->addWidget(edit);
    headerLayout->addWidget(m_presence);

    m_banner = label("banner", this);
    m_banner->setObjectName(QStringLiteral("reconnectBanner"));
    m_banner->setText(tr("The connection to the server was lost. Reconnecting…"));
    m_banner->setWordWrap(true);
    m_banner->hide();

    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("searchEdit"));
    m_search->setPlaceholderText(tr("Search contacts by name, account or number"));
    m_search->setClearButtonEnabled(true);
    connect(m_search, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_filter->setSearchText(text);
        updateEmptyNote();
    });

    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("contactList"));
    m_list->setModel(m_filter);
    m_list->setItemDelegate(new ContactDelegate(m_list));
    m_list->setUniformItemSizes(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QListView::customContextMenuRequested, this, &MainWindow::showContactMenu);
    connect(m_list, &QListView::activated, this,
            [this](const QModelIndex &index) { openProfile(userAt(index)); });

    m_emptyNote = label("muted", this);
    m_emptyNote->setObjectName(QStringLiteral("emptyNote"));
    m_emptyNote->setAlignment(Qt::AlignCenter);
    m_emptyNote->setWordWrap(true);
    m_emptyNote->hide();

    auto *apps = new QPushButton(tr("Apps"), this);
    apps->setObjectName(QStringLiteral("appsButton"));
    apps->setToolTip(tr("The suite's features"));
    connect(apps, &QPushButton::clicked, this,
            [] { TqClientContext::instance()->requestFeature(TqFeature::appCenter()); });
    auto *logout = new QPushButton(tr("Log out"), this);
    logout->setObjectName(QStringLiteral("logoutButton"));
    connect(logout, &QPushButton::clicked, m_session, &TqSession::logout);
    auto *bottom = new QHBoxLayout;
    auto *conferences = new QPushButton(tr("Conferences"), this);
    conferences->setObjectName(QStringLiteral("conferencesButton"));
    conferences->setToolTip(tr("Your conferences: current, scheduled and past"));
    connect(conferences, &QPushButton::clicked, this,
            [] { TqClientContext::instance()->requestFeature(TqFeature::conferences()); });
    bottom->addWidget(apps);
    bottom->addWidget(conferences);
    bottom->addStretch();
    bottom->addWidget(logout);

    auto *contactsPage = new QWidget(this);
    auto *contactsLayout = new QVBoxLayout(contactsPage);
    contactsLayout->setContentsMargins(gap, gap, gap, gap);
    contactsLayout->setSpacing(gap);
    contactsLayout->addWidget(m_search);
    contactsLayout->addWidget(m_list, 1);
    contactsLayout->addWidget(m_emptyNote);

    m_conversations = new QListView(this);
    m_conversations->setObjectName(QStringLiteral("conversationList"));
    m_conversations->setModel(m_chat->conversations());
    m_conversations->setItemDelegate(new ConversationDelegate(m_conversations));
    m_conversations->setUniformItemSizes(true);
    m_conversations->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const auto openRow = [this](const QModelIndex &index) {
        openChat(index.data(ConversationListModel::PeerRole).toString());
    };
    connect(m_conversations, &QListView::clicked, this, openRow);
    connect(m_conversations, &QListView::activated, this, openRow);
    m_noChats = label("muted", this);
    m_noChats->setObjectName(QStringLiteral("noChatsNote"));
    m_noChats->setText(tr("No conversations yet. Right-click a contact to send a message."));
    m_noChats->setAlignment(Qt::AlignCenter);
    m_noChats->setWordWrap(true);
    auto *chatsPage = new QWidget(this);
    auto *chatsLayout = new QVBoxLayout(chatsPage);
    chatsLayout->setContentsMargins(gap, gap, gap, gap);
    chatsLayout->setSpacing(gap);
    chatsLayout->addWidget(m_conversations, 1);
    chatsLayout->addWidget(m_noChats);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("sideTabs"));
    m_tabs->setDocumentMode(true);
    m_tabs->addTab(contactsPage, tr("Contacts"));
    m_tabs->addTab(chatsPage, tr("Chats"));

    auto *side = new QWidget(this);
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(2 * gap, gap, gap, gap * 3 / 2);
    sideLayout->setSpacing(gap);
    sideLayout->addWidget(m_tabs, 1);
    sideLayout->addLayout(bottom);

    m_chatWindow = new ChatWindow(m_chat, this);
    auto *chatSide = new QWidget(this);
    auto *chatLayout = new QVBoxLayout(chatSide);
    chatLayout->setContentsMargins(gap, gap * 3 / 2, 2 * gap, gap * 3 / 2);
    chatLayout->addWidget(m_chatWindow);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter = splitter;
    splitter->setObjectName(QStringLiteral("mainSplitter"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(side);
    splitter->addWidget(chatSide);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes(
        {fontMetrics().averageCharWidth() * 46, fontMetrics().averageCharWidth() * 78});

    auto *bannerRow = new QHBoxLayout;
    bannerRow->setContentsMargins(2 * gap, gap, 2 * gap, 0);
    bannerRow->addWidget(m_banner);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addLayout(bannerRow);
    layout->addWidget(splitter, 1);
    setCentralWidget(central);

    m_connection = new QLabel(this);
    m_connection->setObjectName(QStringLiteral("connectionLabel"));
    statusBar()->addPermanentWidget(m_connection);
}

void MainWindow::buildMenus()
{
    QMenu *client = menuBar()->addMenu(tr("&Client"));
    QAction *edit = client->addAction(tr("Edit &profile…"), this, &MainWindow::editOwnProfile);
    edit->setObjectName(QStringLiteral("editProfileAction"));
    QAction *apps = client->addAction(tr("&Apps…"), this, [] {
        TqClientContext::instance()->requestFeature(TqFeature::appCenter());
    });
    apps->setObjectName(QStringLiteral("appsAction"));
    QAction *conferences = client->addAction(tr("C&onferences…"), this, [] {
        TqClientContext::instance()->requestFeature(TqFeature::conferences());
    });
    conferences->setObjectName(QStringLiteral("conferencesAction"));
    QAction *refresh = client->addAction(tr("&Refresh contacts"), this, [this] {
        if (!m_contacts->users().isEmpty())
            emit m_agent->sig_getUserState(m_contacts->users());
    });
    refresh->setObjectName(QStringLiteral("refreshAction"));
    refresh->setShortcut(QKeySequence::Refresh);
    client->addSeparator();
    QAction *logout = client->addAction(tr("&Log out"), m_session, &TqSession::logout);
    logout->setObjectName(QStringLiteral("logoutAction"));
    QAction *quit = client->addAction(tr("&Quit"), this, &QWidget::close);
    quit->setObjectName(QStringLiteral("quitAction"));
    quit->setShortcut(QKeySequence::Quit);
}

QString MainWindow::userAt(const QModelIndex &index) const
{
    return index.isValid() ? index.data(ContactListModel::UserRole).toString() : QString();
}

void MainWindow::onLoggedIn(const QString &account)
{
    m_contacts->clear();
    m_contacts->setOwnAccount(account);
    m_search->clear();
    refreshOwnHeader();
    m_profiles->request(account);
    onSessionState();
    show();
    raise();
    activateWindow();
}

void MainWindow::onLoggedOut()
{
    for (const QPointer<ProfileDialog> &dialog : qAsConst(m_profileDialogs)) {
        if (dialog)
            dialog->close();
    }
    m_profileDialogs.clear();
    if (m_editDialog)
        m_editDialog->reject();
    m_contacts->clear();
    m_search->clear();
    m_chatWindow->openConversation(QString());
    m_tabs->setCurrentIndex(0);
    hide();
}

void MainWindow::onSessionState()
{
    const TqSession::State state = m_session->state();
    m_banner->setVisible(state == TqSession::State::Reconnecting);
    switch (state) {
    case TqSession::State::Connected:
        m_connection->setText(
            tr("Connected to %1 as %2").arg(m_session->server(), m_session->account()));
        break;
    case TqSession::State::Reconnecting:
        m_connection->setText(m_session->engineState() == 1
                                  ? tr("Reconnecting to %1…").arg(m_session->server())
                                  : tr("%1 – reconnecting to %2…")
                                        .arg(TqEngineText::connectState(m_session->engineState()),
                                             m_session->server()));
        break;
    case TqSession::State::Connecting:
        m_connection->setText(TqEngineText::connectState(1));
        break;
    case TqSession::State::LoggedOut:
        m_connection->setText(TqEngineText::connectState(0));
        break;
    }
    m_presence->setEnabled(state == TqSession::State::Connected);
}

void MainWindow::refreshOwnHeader()
{
    const TqPersonProfile own = m_profiles->profile(m_session->account());
    m_ownName->setText(own.shownName());
    m_ownSignature->setText(own.signature.isEmpty() ? tr("No signature yet") : own.signature);
    m_avatar->setPerson(own.user, own.displayName);
}

void MainWindow::onProfileChanged(const QString &user)
{
    if (user == m_session->account()) {
        refreshOwnHeader();
        return;
    }
    m_contacts->applyProfile(m_profiles->profile(user));
}

void MainWindow::onPresenceConfirmed(int type)
{
    const int index = m_presence->findData(type);
    if (index >= 0) {
        const QSignalBlocker quiet(m_presence);
        m_presence->setCurrentIndex(index);
    }
}

void MainWindow::onPresenceChosen(int index)
{
    m_session->publishPresence(m_presence->itemData(index).toInt());
}

void MainWindow::onContactsAdded(const QStringList &users)
{
    TqClientContext *context = TqClientContext::instance();
    context->setContacts(m_contacts->users());
    for (const QString &user : users) {
        const QModelIndex at = m_contacts->index(m_contacts->rowOf(user));
        const QString name = at.data(ContactListModel::DisplayNameRole).toString();
        if (name != user)
            context->setDisplayName(user, name);
        m_profiles->request(user);
    }
    // The push brought them in; the query gives each one's full state.
    emit m_agent->sig_getUserState(users);
}

void MainWindow::showContactMenu(const QPoint &at)
{
    const QString user = userAt(m_list->indexAt(at));
    if (user.isEmpty())
        return;
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("contactMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction *chat = menu->addAction(tr("Send &message"), this,
                                    [user] { TqClientContext::instance()->requestChat(user); });
    chat->setObjectName(QStringLiteral("chatAction"));
    QAction *call = menu->addAction(
        tr("&Call"), this, [user] { TqClientContext::instance()->requestCall(user, false); });
    call->setObjectName(QStringLiteral("callAction"));
    QAction *video = menu->addAction(
        tr("&Video call"), this, [user] { TqClientContext::instance()->requestCall(user, true); });
    video->setObjectName(QStringLiteral("videoCallAction"));
    menu->addSeparator();
    QAction *profile
        = menu->addAction(tr("View &profile"), this, [this, user] { openProfile(user); });
    profile->setObjectName(QStringLiteral("profileAction"));
    menu->popup(m_list->viewport()->mapToGlobal(at));
}

void MainWindow::openProfile(const QString &user)
{
    if (user.isEmpty() || !m_session->isLoggedIn())
        return;
    m_profileDialogs.removeAll(QPointer<ProfileDialog>());
    for (const QPointer<ProfileDialog> &open : qAsConst(m_profileDialogs)) {
        if (open && open->user() == user) {
            open->raise();
            open->activateWindow();
            return;
        }
    }
    auto *dialog = new ProfileDialog(user, m_profiles, this);
    const auto updatePresence = [this, dialog, user] {
        const int row = m_contacts->rowOf(user);
        dialog->setPresenceText(
            row >= 0 ? m_contacts->index(row).data(ContactListModel::PresenceTextRole).toString()
                     : TqPresence::text(TqPresence::Unknown));
    };
    updatePresence();
    connect(m_contacts, &QAbstractItemModel::dataChanged, dialog, updatePresence);
    m_profileDialogs.append(dialog);
    dialog->show();
}

void MainWindow::editOwnProfile()
{
    if (!m_session->isLoggedIn())
        return;
    if (m_editDialog) {
        m_editDialog->raise();
        return;
    }
    m_editDialog = new EditProfileDialog(m_profiles->profile(m_session->account()), this);
    m_editDialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_editDialog, &QDialog::accepted, this, [this] {
        if (m_editDialog && m_profiles->saveOwn(m_editDialog->edited()))
            statusBar()->showMessage(tr("Saving the profile…"), kStatusMessageMs);
    });
    m_editDialog->show();
}

void MainWindow::updateEmptyNote()
{
    QString note;
    if (m_filter->rowCount() == 0) {
        note = m_filter->searchText().isEmpty()
            ? tr("No contacts yet.")
            : tr("No contact matches “%1”.").arg(m_filter->searchText());
    }
    m_emptyNote->setText(note);
    m_emptyNote->setVisible(!note.isEmpty() && m_session->isLoggedIn());
}

void MainWindow::showFeature(const QString &feature)
{
    const bool messages = feature == TqFeature::messages();
    if (feature != TqFeature::contacts() && feature != TqFeature::calls() && !messages)
        return;
    if (!m_session->isLoggedIn())
        return;
    show();
    raise();
    activateWindow();
    m_tabs->setCurrentIndex(messages ? 1 : 0);
    if (messages)
        m_conversations->setFocus();
    else
        m_search->setFocus();
}

void MainWindow::openChat(const QString &peer)
{
    if (peer.isEmpty() || !m_session->isLoggedIn())
        return;
    m_chatWindow->openConversation(peer);
    const int row = m_chat->conversations()->rowOf(peer);
    if (row >= 0)
        m_conversations->setCurrentIndex(m_chat->conversations()->index(row));
    show();
    raise();
    activateWindow();
}

void MainWindow::attachGroups(GroupState *groups)
{
    if (m_groupsPanel)
        return;
    m_groupsPanel = new GroupsPanel(groups, this);
    m_tabs->addTab(m_groupsPanel, tr("Groups"));
    connect(m_groupsPanel, &GroupsPanel::groupChosen, this, &MainWindow::openChat);
    m_membersPanel = new GroupMembersPanel(groups, this);
    m_splitter->addWidget(m_membersPanel);
    m_splitter->setStretchFactor(2, 0);
    connect(m_chatWindow, &ChatWindow::conversationOpened, m_membersPanel,
            &GroupMembersPanel::showGroup);
    m_membersPanel->showGroup(m_chatWindow->peer());
    connect(groups, &GroupState::status, this,
            [this](const QString &text) { statusBar()->showMessage(text, kStatusMessageMs); });
    // Invitations and requests waiting for an answer show on the tab too.
    const int tab = m_tabs->indexOf(m_groupsPanel);
    const auto updateTab = [this, tab, groups] {
        const int waiting = groups->pending()->rowCount();
        m_tabs->setTabText(tab, waiting > 0 ? tr("Groups (%1)").arg(waiting) : tr("Groups"));
    };
    connect(groups->pending(), &QAbstractItemModel::rowsInserted, this, updateTab);
    connect(groups->pending(), &QAbstractItemModel::rowsRemoved, this, updateTab);
    connect(groups->pending(), &QAbstractItemModel::modelReset, this, updateTab);
}

void MainWindow::updateChatsTab()
{
    const int unread = m_chat->conversations()->totalUnread();
    m_tabs->setTabText(1, unread > 0 ? tr("Chats (%1)").arg(unread) : tr("Chats"));
    m_noChats->setVisible(m_chat->conversations()->rowCount() == 0);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    TqClientContext::instance()->requestQuit();
}
