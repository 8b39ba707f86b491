#pragma once

#include "tq_mediaconfui_export.h"

#include <QObject>
#include <QPointer>

class QTimer;
class QWidget;
class TqCallHistory;
class TqCallState;
class TqCallStatsDialog;
class TqConfUi;
class TqDeviceDialog;
class TqDialWindow;
class TqInCallWindow;
class TqIncomingCallWindow;
class TqMediaDevices;
class TqMeetingUi;
class TqRoomUi;

// The client's calls: the call state fed by Voip_Agent, and the windows bound to it (dial
// pad, incoming call, call, statistics, devices). Calls are placed and taken only while a
// user is logged in (TqClientContext); logging out ends the call and closes the windows.
// Contacts are called through TqClientContext::requestCall; the dial pad opens on
// TqClientContext::requestFeature(TqFeature::calls()).
class TQ_MEDIACONFUI_EXPORT TQ_MediaConfUI : public QObject
{
    Q_OBJECT
public:
    TQ_MediaConfUI();
    ~TQ_MediaConfUI() override;

    // The object that handles calls: the first one made and still alive. Later ones stay
    // passive, so a call is never answered twice.
    static TQ_MediaConfUI *instance();
    bool isActive() const;

    TqCallState *callState() const { return m_state; }
    TqCallHistory *history() const { return m_history; }
    TqMediaDevices *devices() const { return m_devices; }
    // The conferences (null on a passive object).
    TqConfUi *conferences() const { return m_conferences; }
    // The meetings and interphones (null on a passive object).
    TqMeetingUi *meetings() const { return m_meetings; }
    // Room video (null on a passive object).
    TqRoomUi *rooms() const { return m_rooms; }

    // The windows while they exist (null otherwise).
    QWidget *dialWindow() const;
    QWidget *incomingCallWindow() const;
    QWidget *inCallWindow() const;
    QWidget *statisticsDialog() const;
    QWidget *deviceDialog() const;

    // How long an ended call stays on screen before the window closes by itself.
    void setEndedDisplayTime(int ms);

public slots:
    void showDialPad();
    void showStatistics();
    void showDevices();

private:
    void onLoggedIn();
    void onLoggedOut();
    void onCallRequested(const QString &peer, bool video);
    void onPhaseChanged();
    void closeWindows();
    TqInCallWindow *ensureInCallWindow();
    QString nameOf(const QString &user) const;

    TqCallState *m_state;
    TqCallHistory *m_history;
    TqMediaDevices *m_devices;
    QTimer *m_endedTimer;
    TqConfUi *m_conferences = nullptr;
    TqMeetingUi *m_meetings = nullptr;
    TqRoomUi *m_rooms = nullptr;
    QPointer<TqDialWindow> m_dial;
    QPointer<TqIncomingCallWindow> m_incoming;
    QPointer<TqInCallWindow> m_inCall;
    QPointer<TqCallStatsDialog> m_statistics;
    QPointer<TqDeviceDialog> m_deviceDialog;
};
