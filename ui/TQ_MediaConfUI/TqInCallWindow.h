#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QSlider;
class QTimer;
class TqCallState;
class TqKeypad;
class TqMsgBox;

// The call from dialling to its end: peer, state words, duration, a video area, mute, keypad
// (DTMF), voice/video switch, speaker volume, statistics, devices and hang-up. The peer's
// request to switch to video is asked in a prompt.
class TqInCallWindow : public QWidget
{
    Q_OBJECT
public:
    using NameLookup = std::function<QString(const QString &)>;

    TqInCallWindow(TqCallState *state, NameLookup nameOf, QWidget *parent = nullptr);

    // The open prompt for the peer's switch request, if any.
    TqMsgBox *switchPrompt() const;

signals:
    void statisticsRequested();
    void devicesRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void refresh();
    void refreshDuration();
    void onPhase();
    void askPeerSwitch();
    void sendDigit(QChar digit);

    TqCallState *m_state;
    NameLookup m_nameOf;
    QLabel *m_peer;
    QLabel *m_status;
    QLabel *m_duration;
    QLabel *m_video;
    QLabel *m_digits;
    QPushButton *m_mute;
    QPushButton *m_keypadButton;
    TqKeypad *m_keypad;
    QPushButton *m_switch;
    QSlider *m_volume;
    QLabel *m_volumeValue;
    QPushButton *m_statistics;
    QPushButton *m_devices;
    QPushButton *m_hangUp;
    QTimer *m_ticker;
    QPointer<TqMsgBox> m_prompt;
    QString m_sent;
    QString m_received;
};
