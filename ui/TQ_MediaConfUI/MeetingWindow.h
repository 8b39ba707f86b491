#pragma once

#include "tq_mediaconfui_export.h"

#include <QFrame>
#include <QHash>
#include <QPointer>
#include <QWidget>

class QCheckBox;
class QGridLayout;
class QLabel;
class QListView;
class QPushButton;
class TqMeetingInviteDialog;
class TqMeetingState;

// A member's picture: a native window the engine draws into, with their name and the
// picture's size beneath it.
class TQ_MEDIACONFUI_EXPORT TqMeetingVideoTile : public QFrame
{
    Q_OBJECT
public:
    TqMeetingVideoTile(const QString &account, QWidget *parent = nullptr);

    QString account() const { return m_account; }
    // The native window handed to the engine.
    void *windowHandle() const;
    void setCaption(const QString &name, const QSize &picture);

private:
    QString m_account;
    QWidget *m_surface;
    QLabel *m_caption;
};

// The meeting that is on: its members with their state and speak/listen setting, the members'
// pictures in a video meeting, the own camera, inviting, removing (owner), leaving and ending
// it for everyone (owner).
class TQ_MEDIACONFUI_EXPORT TqMeetingWindow : public QWidget
{
    Q_OBJECT
public:
    explicit TqMeetingWindow(TqMeetingState *state, QWidget *parent = nullptr);

    // The picture tiles shown now, by account.
    QHash<QString, TqMeetingVideoTile *> videoTiles() const { return m_tiles; }
    TqMeetingInviteDialog *inviteDialog() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void refresh();
    void syncTiles();
    void refreshSettings();
    QString selectedMember() const;
    void applySetting();
    void openInvite();

    TqMeetingState *m_state;
    QLabel *m_title;
    QLabel *m_status;
    QLabel *m_error;
    QWidget *m_videoArea;
    QGridLayout *m_grid;
    QLabel *m_noVideo;
    QListView *m_memberList;
    QLabel *m_settingsFor;
    QCheckBox *m_speak;
    QCheckBox *m_listen;
    QPushButton *m_remove;
    QPushButton *m_invite;
    QPushButton *m_camera;
    QPushButton *m_leave;
    QPushButton *m_dismiss;
    QHash<QString, TqMeetingVideoTile *> m_tiles;
    bool m_syncing = false; // asking for or dropping a picture reports back at once
    QPointer<TqMeetingInviteDialog> m_inviteDialog;
};
