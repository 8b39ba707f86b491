#pragma once

#include "tq_mediaconfui_export.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;
class TqRoomState;

// The room-video window: join a room by its link with a shown name, the participants' video
// (drawn by the video client into the video area) and their list, microphone, speaker and
// camera toggles, screen sharing, dialling and leaving. Bound to a TqRoomState.
class TQ_MEDIACONFUI_EXPORT TqRoomWindow : public QWidget
{
    Q_OBJECT
public:
    explicit TqRoomWindow(TqRoomState *state, QWidget *parent = nullptr);

    // The area the video client draws into.
    QWidget *videoArea() const { return m_video; }
    void setShownName(const QString &name);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void join();
    void dial();
    void refresh();
    void refreshParticipants();

    TqRoomState *m_state;
    QLabel *m_status;
    QLabel *m_problem;
    QLineEdit *m_link;
    QLineEdit *m_name;
    QPushButton *m_join;
    QWidget *m_video;
    QLabel *m_count;
    QListWidget *m_people;
    QToolButton *m_mic;
    QToolButton *m_speaker;
    QToolButton *m_camera;
    QToolButton *m_share;
    QLineEdit *m_digits;
    QPushButton *m_dial;
    QLabel *m_dialed;
    QPushButton *m_leave;
};
