#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QListView;
class QPushButton;
class TqAvatar;
class TqInterphoneState;

// The interphone panel: who speaks now, a push-to-talk button (held down, or the space bar),
// the members, the speak/listen settings (the own ones, and the owner's for anyone) and
// leaving.
class TqInterphoneWindow : public QWidget
{
    Q_OBJECT
public:
    explicit TqInterphoneWindow(TqInterphoneState *state, QWidget *parent = nullptr);

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void refresh();
    void refreshSettings();
    QString selectedMember() const;
    void applySetting();

    TqInterphoneState *m_state;
    QLabel *m_title;
    QLabel *m_status;
    QLabel *m_error;
    TqAvatar *m_speakerAvatar;
    QLabel *m_speaker;
    QPushButton *m_talk;
    QLabel *m_hint;
    QListView *m_memberList;
    QLabel *m_settingsFor;
    QCheckBox *m_speak;
    QCheckBox *m_listen;
    QPushButton *m_leave;
};
