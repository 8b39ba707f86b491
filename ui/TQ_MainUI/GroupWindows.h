#pragma once

#include "tq_mainui_export.h"

#include <QDialog>
#include <QFrame>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class GroupState;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// People to choose from: the user's contacts (checkable), without those listed in `except`.
class TQ_MAINUI_EXPORT GroupPeoplePicker : public QWidget
{
    Q_OBJECT
public:
    explicit GroupPeoplePicker(const QStringList &except, QWidget *parent = nullptr);
    QStringList chosen() const;
    void setChosen(const QString &account, bool chosen);
    int count() const;

private:
    QListWidget *m_list;
};

// A new group: name, description, public or private, and the contacts to invite.
class TQ_MAINUI_EXPORT GroupCreateDialog : public QDialog
{
    Q_OBJECT
public:
    explicit GroupCreateDialog(GroupState *groups, QWidget *parent = nullptr);
    GroupPeoplePicker *people() const { return m_people; }

    void accept() override;

private:
    void updateButtons();

    GroupState *m_groups;
    QLineEdit *m_name;
    QPlainTextEdit *m_description;
    QRadioButton *m_public;
    GroupPeoplePicker *m_people;
    QPushButton *m_create;
};

// Contacts to invite into a group.
class TQ_MAINUI_EXPORT GroupInviteDialog : public QDialog
{
    Q_OBJECT
public:
    GroupInviteDialog(GroupState *groups, const QString &groupId, QWidget *parent = nullptr);
    GroupPeoplePicker *people() const { return m_people; }

    void accept() override;

private:
    GroupState *m_groups;
    QString m_groupId;
    GroupPeoplePicker *m_people;
};

// Public groups found by name or id, and a request to join one.
class TQ_MAINUI_EXPORT GroupSearchDialog : public QDialog
{
    Q_OBJECT
public:
    explicit GroupSearchDialog(GroupState *groups, QWidget *parent = nullptr);

private:
    void find();
    void join();
    void updateButtons();

    GroupState *m_groups;
    QLineEdit *m_keyword;
    QComboBox *m_type;
    QListView *m_results;
    QPushButton *m_join;
    QLabel *m_note;
};

// The Groups tab: the user's groups, what waits for an answer, and ways to make or find one.
class TQ_MAINUI_EXPORT GroupsPanel : public QWidget
{
    Q_OBJECT
public:
    explicit GroupsPanel(GroupState *groups, QWidget *parent = nullptr);

    GroupCreateDialog *createDialog() const { return m_create; }
    GroupSearchDialog *searchDialog() const { return m_search; }

signals:
    void groupChosen(const QString &groupId);

private:
    void updatePending();
    void openCreate();
    void openSearch();

    GroupState *m_groups;
    QListView *m_list;
    QLabel *m_empty;
    QWidget *m_pendingBox;
    QListView *m_pending;
    QPushButton *m_accept;
    QPushButton *m_refuse;
    QPointer<GroupCreateDialog> m_create;
    QPointer<GroupSearchDialog> m_search;
};

// Beside a group's chat: its members with their roles and mute marks, and what the user may do
// (invite, mute, remove, leave; dismiss for the owner).
class TQ_MAINUI_EXPORT GroupMembersPanel : public QFrame
{
    Q_OBJECT
public:
    explicit GroupMembersPanel(GroupState *groups, QWidget *parent = nullptr);

    QString groupId() const { return m_groupId; }
    // Shows the group's members (hidden for anything but a group of the user's).
    void showGroup(const QString &id);
    QListView *memberList() const { return m_list; }
    GroupInviteDialog *inviteDialog() const { return m_invite; }
    QMessageBox *dismissQuestion() const { return m_question; }

private:
    void update();
    QString selected() const;
    void showMessage(const QString &text, bool problem);

    GroupState *m_groups;
    QString m_groupId;
    QLabel *m_title;
    QListView *m_list;
    QPushButton *m_inviteButton;
    QPushButton *m_mute;
    QPushButton *m_remove;
    QPushButton *m_leave;
    QPushButton *m_dismiss;
    QLabel *m_message;
    QTimer m_messageTimer;
    QPointer<GroupInviteDialog> m_invite;
    QPointer<QMessageBox> m_question;
};
