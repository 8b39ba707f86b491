#pragma once

#include "ConferenceRecords.h"
#include "tq_mediaconfui_export.h"

#include <QObject>
#include <QPointer>

class Conference_Agent;
class QInputDialog;
class QWidget;
class TqConfDirectory;
class TqConfEditDialog;
class TqConfListWindow;
class TqConfRoom;
class TqConfWindow;
class TqMsgBox;

// The client's conferences: the directory and the room fed by Conference_Agent, the
// conferences page (TqFeature::conferences()), the create/edit dialog, the conference window,
// and the prompts for invitations. Works while a user is logged in (TqClientContext); logging
// out leaves the conference and closes the windows.
class TQ_MEDIACONFUI_EXPORT TqConfUi : public QObject
{
    Q_OBJECT
public:
    explicit TqConfUi(Conference_Agent *agent, QObject *parent = nullptr);
    ~TqConfUi() override;

    TqConfDirectory *directory() const { return m_directory; }
    TqConfRoom *room() const { return m_room; }

    // The windows while they exist (null otherwise).
    QWidget *listWindow() const;
    QWidget *editDialog() const;
    QWidget *conferenceWindow() const;
    QWidget *invitationPrompt() const;
    QWidget *passwordDialog() const;

public slots:
    void showList();
    void showCreate();
    void showEdit(const QString &confId);
    void join(const QString &confId, const QString &password = QString());

private:
    void onLoggedIn(const QString &account);
    void onLoggedOut();
    void onCreated(const QString &confId, bool instant);
    void onInvited(const TqConfInvitation &invitation);
    void onRoomPhase();
    void openEditor(const QString &confId, const TqConfDraft &draft);
    void askPassword(const QString &confId);
    void listBanner(const QString &text, bool raise = false);
    TqConfWindow *ensureWindow();
    void closeWindows();

    TqConfDirectory *m_directory;
    TqConfRoom *m_room;
    QPointer<TqConfListWindow> m_list;
    QPointer<TqConfEditDialog> m_editor;
    QPointer<TqConfWindow> m_window;
    QPointer<TqMsgBox> m_invitation;
    QPointer<QInputDialog> m_password;
};
