#pragma once

#include "tq_mainui_export.h"

#include <QMainWindow>
#include <QPointer>

class ChatState;
class ChatWindow;
class ContactFilterModel;
class ContactListModel;
class EditProfileDialog;
class GroupMembersPanel;
class GroupState;
class GroupsPanel;
class ProfileDialog;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class QPushButton;
class QSplitter;
class QTabWidget;
class SDK_Agent;
class TqAvatar;
class TqProfiles;
class TqSession;

// The main window: the user's own name, signature and presence; contacts with live presence,
// search and a context menu (message, call, video call, profile); the conversations with their
// unread counts, and the chat beside them; the connection's state; logout. It shows while a
// session is open. Closing it ends the program.
class TQ_MAINUI_EXPORT MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow(TqSession *session, TqProfiles *profiles, SDK_Agent *agent, ChatState *chat,
               QWidget *parent = nullptr);

    ContactListModel *contacts() const { return m_contacts; }
    ChatState *chat() const { return m_chat; }
    ChatWindow *chatWindow() const { return m_chatWindow; }
    // Shows the conversation with `peer` beside the lists.
    void openChat(const QString &peer);
    ContactFilterModel *visibleContacts() const { return m_filter; }
    // The contact at a row of the list as shown, or empty.
    QString userAt(const QModelIndex &index) const;

    void openProfile(const QString &user);
    void editOwnProfile();

    // Adds the groups: a Groups tab beside the contacts and chats, and the members panel beside
    // a group's chat.
    void attachGroups(GroupState *groups);
    GroupsPanel *groupsPanel() const { return m_groupsPanel; }
    GroupMembersPanel *membersPanel() const { return m_membersPanel; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildUi();
    void buildMenus();
    void onLoggedIn(const QString &account);
    void onLoggedOut();
    void onSessionState();
    void onProfileChanged(const QString &user);
    void onPresenceConfirmed(int type);
    void onPresenceChosen(int index);
    void onContactsAdded(const QStringList &users);
    void showContactMenu(const QPoint &at);
    void updateEmptyNote();
    void refreshOwnHeader();
    void showFeature(const QString &feature);
    void updateChatsTab();

    TqSession *m_session;
    TqProfiles *m_profiles;
    SDK_Agent *m_agent;
    ContactListModel *m_contacts;
    ContactFilterModel *m_filter;
    ChatState *m_chat;

    TqAvatar *m_avatar = nullptr;
    QLabel *m_ownName = nullptr;
    QLabel *m_ownSignature = nullptr;
    QComboBox *m_presence = nullptr;
    QLabel *m_banner = nullptr;
    QLineEdit *m_search = nullptr;
    QListView *m_list = nullptr;
    QLabel *m_emptyNote = nullptr;
    QLabel *m_connection = nullptr;
    QTabWidget *m_tabs = nullptr;
    QListView *m_conversations = nullptr;
    QLabel *m_noChats = nullptr;
    ChatWindow *m_chatWindow = nullptr;
    QSplitter *m_splitter = nullptr;
    GroupsPanel *m_groupsPanel = nullptr;
    GroupMembersPanel *m_membersPanel = nullptr;
    QPointer<EditProfileDialog> m_editDialog;
    QList<QPointer<ProfileDialog>> m_profileDialogs;
};
