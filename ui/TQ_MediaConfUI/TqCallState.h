#pragma once

#include "tq_mediaconfui_export.h"

#include <VoipRecords.h>

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>

#include <functional>

// One finished call, as the history keeps it.
struct TqCallRecord
{
    enum class Outcome { Answered, Unanswered, Declined, Missed };

    QString peer;
    QString peerName;
    bool outgoing = true;
    bool video = false;
    Outcome outcome = Outcome::Unanswered;
    QDateTime startedAt;
    qint64 durationMs = 0;
    int reason = 0;
};
Q_DECLARE_METATYPE(TqCallRecord)

// The point-to-point call of the client, without widgets. Fed by Voip_Agent's results (the
// on* slots), it asks for engine work through its request signals (*Request, *Query), which
// TqCallAgentLink connects to the agent. One call at a time; another incoming call meanwhile
// is turned away as busy. User-interface thread only.
class TQ_MEDIACONFUI_EXPORT TqCallState : public QObject
{
    Q_OBJECT
public:
    enum class Phase { Idle, Dialing, Proceeding, Alerting, Incoming, InCall, Ended };
    Q_ENUM(Phase)

    // Milliseconds from any fixed point, never going back.
    using Clock = std::function<qint64()>;
    // The volume scale of the windows (the engine's default is in the middle of it).
    static constexpr int MaxVolume = 100;

    static bool isDtmfDigit(QChar digit);

    explicit TqCallState(QObject *parent = nullptr);

    void setClock(Clock clock);

    // Only an enabled state (a logged-in user) places or takes calls.
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    Phase phase() const { return m_phase; }
    // A call is set up, ringing or up: no other call can start.
    bool isBusy() const { return m_phase != Phase::Idle && m_phase != Phase::Ended; }
    bool isOutgoing() const { return m_outgoing; }
    QString peer() const { return m_peer; }
    // The caller's own name from an incoming call; empty for outgoing calls.
    QString peerName() const { return m_peerName; }
    QString callId() const { return m_callId; }
    bool isVideo() const { return m_video; }
    bool isMuted() const { return m_muted; }
    // The speaker volume last confirmed by the engine; -1 while unknown.
    int volume() const { return m_volume; }
    QSize remoteVideoSize() const { return m_remoteVideo; }
    // Accepted, waiting for the engine to connect.
    bool isAccepting() const { return m_accepting; }
    bool isSwitchPending() const { return m_switchPending; }
    // The peer asked for video and waits for answerPeerSwitch().
    bool isPeerSwitchPending() const { return m_peerSwitchPending; }
    // The release reason of the call that ended (phase Ended).
    int endReason() const { return m_endReason; }
    // Time in call: 0 before the answer, frozen once it ends.
    qint64 durationMs() const;

public slots:
    // Places a voice or video call; false when not possible now.
    bool dial(const QString &peer, bool video);
    void accept();
    void decline();
    // Ends the call in any phase (an incoming call is declined).
    void hangUp();
    // Back to Idle after an ended call has been shown.
    void clear();
    void setMuted(bool muted);
    bool sendDtmf(QChar digit);
    void requestSwitch(bool video);
    void answerPeerSwitch(bool agree);
    void setVolume(int volume);
    void refreshVolume();
    void requestStatistics();

    // Voip_Agent's results.
    void onCallEvents(int reason, const Agent_VoIPCallMsg &msg);
    void onCallIncoming(const Agent_VoIPComingInfo &info);
    void onCurrentCall(const QString &callId);
    void onSwitchRequest(const QString &callId, int video);
    void onSwitchResponse(const QString &callId, int video);
    void onRemoteVideoRatio(const QString &callId, int width, int height, int type,
                            const QString &member);
    void onDtmfReceived(const QString &callId, char digit);
    void onMuteSet(int reason, bool mute);
    void onMuteStatus(bool mute);
    void onSpeakerVolume(int reason, uint volume);

signals:
    void changed();
    void phaseChanged(TqCallState::Phase phase);
    void finished(const TqCallRecord &record);
    // Another call was turned away while this one was busy.
    void missed(const TqCallRecord &record);
    void peerSwitchRequested(bool video);
    void switchRefused();
    void muteFailed();
    void dtmfReceived(QChar digit);

    void makeCallRequest(int callType, const QString &peer);
    void currentCallQuery();
    void acceptRequest(const QString &callId);
    void releaseRequest(const QString &callId, int reason);
    void dtmfRequest(const QString &callId, char digit);
    void muteRequest(bool mute);
    void muteQuery();
    void switchRequest(const QString &callId, int video);
    void switchResponse(const QString &callId, int video);
    void volumeRequest(uint volume);
    void volumeQuery();
    void statisticsRequest(const QString &callId, bool video);

private:
    void setPhase(Phase phase);
    void startCall(bool outgoing, const QString &peer, bool video);
    void adoptCallId(const QString &callId);
    void end(int reason);
    TqCallRecord record() const;

    struct HeldEvent
    {
        int reason;
        Agent_VoIPCallMsg msg;
    };
    // One current-call question per dial, answered in order.
    struct Query
    {
        quint64 generation;
        bool cancelled;
    };

    Clock m_clock;
    bool m_enabled = false;
    Phase m_phase = Phase::Idle;
    bool m_outgoing = true;
    QString m_peer;
    QString m_peerName;
    QString m_callId;
    bool m_video = false;
    bool m_muted = false;
    int m_volume = -1;
    QSize m_remoteVideo;
    bool m_accepting = false;
    bool m_answered = false;
    bool m_endedByUs = false;
    quint64 m_generation = 0;
    QList<Query> m_queries;
    QList<HeldEvent> m_held;
    QString m_heldVideoCallId;
    QSize m_heldVideoSize;
    bool m_switchPending = false;
    bool m_switchWanted = false;
    bool m_peerSwitchPending = false;
    int m_endReason = 0;
    QDateTime m_startedAt;
    qint64 m_answeredAt = 0;
    qint64 m_finalDuration = 0;
};
