#pragma once

#include <QWidget>

class QLineEdit;
class QListView;
class QPushButton;
class TqCallHistory;
class TqCallState;

// Calls any number or user: an entry with a keypad, voice and video buttons, and the recent
// calls (activating one calls back with the same media).
class TqDialWindow : public QWidget
{
    Q_OBJECT
public:
    TqDialWindow(TqCallState *state, TqCallHistory *history, QWidget *parent = nullptr);

private:
    void dial(bool video);
    void redial(const QModelIndex &index);
    void refresh();

    TqCallState *m_state;
    TqCallHistory *m_history;
    QLineEdit *m_number;
    QPushButton *m_voice;
    QPushButton *m_video;
    QListView *m_recent;
};
