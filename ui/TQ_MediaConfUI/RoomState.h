#pragma once

// A room-video call as the windows see it, fed by Vidyo_Agent's result signals and asking for
// its requests through signals of its own (RoomAgentLink connects both). Widget-free. It owns
// the call's record from the start until the client has stopped.

#include "tq_mediaconfui_export.h"

#include <QObject>
#include <QRect>
#include <QStringList>

#include <memory>

class VidyoDataBase;

class TQ_MEDIACONFUI_EXPORT TqRoomState : public QObject
{
    Q_OBJECT
public:
    enum class Phase {
        Idle, // no call
        Starting, // the video client is being started
        Connecting, // started, joining the room
        SignedIn, // signed in, waiting for the room
        InRoom,
        Leaving,
        Ended, // left, or the room ended
        Failed
    };
    Q_ENUM(Phase)

    explicit TqRoomState(QObject *parent = nullptr);
    ~TqRoomState() override;

    Phase phase() const { return m_phase; }
    // The phase in words, for the window.
    QString phaseText() const;
    // Why the last call failed or ended, in words; empty when it went as asked.
    QString problem() const { return m_problem; }
    bool inCall() const;

    QString link() const { return m_link; }
    QString shownName() const { return m_name; }
    QStringList names() const { return m_names; }
    QStringList uris() const { return m_uris; }
    bool micMuted() const { return m_micMuted; }
    bool speakerMuted() const { return m_speakerMuted; }
    bool cameraOff() const { return m_cameraOff; }
    bool sharing() const { return m_sharing; }
    QString dialed() const { return m_dialed; }

public slots:
    // Joins the room behind `link`, shown as `name`; the client draws into `window` within
    // `rect`. Ignored while a call is up or the link is empty.
    void join(const QString &link, const QString &name, void *window, const QRect &rect);
    // Leaves the room (then stops the client); stops at once when not in the room yet.
    void leave();
    void setMicMuted(bool muted);
    void setSpeakerMuted(bool muted);
    void setCameraOff(bool off);
    void setSharing(bool on);
    // Dials each character of `digits` in turn.
    void dial(const QString &digits);
    void setVideoRect(const QRect &rect);

    // From the agent.
    void onVidyoState(int type, bool state, const QString &message);
    void onStartFailed();
    void onMicMuted(bool muted, bool isSendImMessage);
    void onSpeaker(bool on);
    void onCamera(bool on);
    void onShareStarted();
    void onShareStopped();
    void onParticipants(const QStringList &names, const QStringList &uris);
    void onHangUp(int reason);
    void onLeft();
    void onDialResult(bool ok);

signals:
    void changed();
    void participantsChanged();
    void phaseChanged(TqRoomState::Phase phase);

    // Requests, for the agent.
    void startRequest(VidyoDataBase *record);
    void leaveRequest();
    void stopRequest();
    void micRequest(bool muted, bool isSendImMessage);
    // `on`: the speaker plays (the agent's speaker signal takes it so).
    void speakerRequest(bool on);
    void cameraRequest(bool on);
    void rectRequest(QRect rect);
    void shareRequest();
    void unshareRequest();
    void dialRequest(QString digit);

private:
    void setPhase(Phase phase);
    void stop(const QString &problem);
    void finish();

    Phase m_phase = Phase::Idle;
    std::unique_ptr<VidyoDataBase> m_record;
    bool m_stopping = false;
    QString m_problem;
    QString m_link;
    QString m_name;
    QStringList m_names;
    QStringList m_uris;
    bool m_micMuted = false;
    bool m_speakerMuted = false;
    bool m_cameraOff = false;
    bool m_sharing = false;
    QString m_dialed;
    QString m_pendingDigits; // asked for, not yet answered
};
