#include "TqCallState.h"

#include "TqCallCodes.h"

#include <QElapsedTimer>

#include <algorithm>
#include <memory>

using namespace TqCallCode;

namespace {
// Events of a call not yet named, kept until it is; more would be another call's.
constexpr int MaxHeldEvents = 16;
} // namespace

TqCallState::TqCallState(QObject *parent)
    : QObject(parent)
{
    setClock({});
}

void TqCallState::setClock(Clock clock)
{
    if (!clock) {
        auto timer = std::make_shared<QElapsedTimer>();
        timer->start();
        clock = [timer] {
            return timer->elapsed();
        };
    }
    m_clock = std::move(clock);
}

void TqCallState::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    if (!enabled) {
        hangUp();
        clear();
    }
    m_enabled = enabled;
    if (enabled)
        emit volumeQuery();
    emit changed();
}

qint64 TqCallState::durationMs() const
{
    if (!m_answered)
        return 0;
    if (m_phase == Phase::Ended)
        return m_finalDuration;
    return std::max<qint64>(0, m_clock() - m_answeredAt);
}

bool TqCallState::dial(const QString &peer, bool video)
{
    const QString to = peer.trimmed();
    if (!m_enabled || to.isEmpty() || isBusy())
        return false;
    startCall(true, to, video);
    ++m_generation;
    m_queries.append({m_generation, false});
    emit makeCallRequest(video ? VideoCall : VoiceCall, to);
    // Queued behind the dial on the agent's one worker thread: answers with this call's id,
    // or with none when the engine refused to place it. Nobody else asks for the current
    // call, so the answers come in the order of the dials.
    emit currentCallQuery();
    setPhase(Phase::Dialing);
    return true;
}

void TqCallState::accept()
{
    if (m_phase != Phase::Incoming || m_accepting)
        return;
    m_accepting = true;
    emit acceptRequest(m_callId);
    emit changed();
}

void TqCallState::decline()
{
    if (m_phase != Phase::Incoming)
        return;
    m_endedByUs = true;
    emit releaseRequest(m_callId, ReasonDeclined);
    end(ReasonDeclined);
}

void TqCallState::hangUp()
{
    if (!isBusy())
        return;
    if (m_phase == Phase::Incoming) {
        decline();
        return;
    }
    m_endedByUs = true;
    if (m_callId.isEmpty()) {
        // Released as soon as the engine names the call.
        if (!m_queries.isEmpty() && m_queries.last().generation == m_generation)
            m_queries.last().cancelled = true;
    } else {
        emit releaseRequest(m_callId, ReasonNormal);
    }
    end(ReasonNormal);
}

void TqCallState::clear()
{
    if (m_phase != Phase::Ended)
        return;
    m_peer.clear();
    m_peerName.clear();
    m_callId.clear();
    m_video = false;
    m_remoteVideo = QSize();
    m_answered = false;
    m_endReason = 0;
    m_finalDuration = 0;
    setPhase(Phase::Idle);
}

void TqCallState::setMuted(bool muted)
{
    if (!isBusy() || m_phase == Phase::Incoming)
        return;
    emit muteRequest(muted);
}

bool TqCallState::sendDtmf(QChar digit)
{
    if (m_phase != Phase::InCall || !isDtmfDigit(digit))
        return false;
    emit dtmfRequest(m_callId, digit.toLatin1());
    return true;
}

bool TqCallState::isDtmfDigit(QChar digit)
{
    const char c = digit.toLatin1();
    return (c >= '0' && c <= '9') || c == '*' || c == '#' || (c >= 'A' && c <= 'D');
}

void TqCallState::requestSwitch(bool video)
{
    if (m_phase != Phase::InCall || m_switchPending || m_peerSwitchPending || video == m_video)
        return;
    m_switchPending = true;
    m_switchWanted = video;
    emit switchRequest(m_callId, video ? MediaVideo : MediaVoice);
    emit changed();
}

void TqCallState::answerPeerSwitch(bool agree)
{
    if (!m_peerSwitchPending)
        return;
    m_peerSwitchPending = false;
    if (agree)
        m_video = true;
    emit switchResponse(m_callId, m_video ? MediaVideo : MediaVoice);
    emit changed();
}

void TqCallState::setVolume(int volume)
{
    if (!m_enabled)
        return;
    emit volumeRequest(uint(std::clamp(volume, 0, MaxVolume)));
}

void TqCallState::refreshVolume()
{
    if (m_enabled)
        emit volumeQuery();
}

void TqCallState::requestStatistics()
{
    if (m_phase == Phase::InCall)
        emit statisticsRequest(m_callId, m_video);
}

void TqCallState::onCallEvents(int reason, const Agent_VoIPCallMsg &msg)
{
    if (msg.callid.isEmpty() || !isBusy())
        return;
    if (m_callId.isEmpty()) {
        if (m_held.size() < MaxHeldEvents)
            m_held.append({reason, msg});
        return;
    }
    if (msg.callid != m_callId)
        return;
    switch (msg.eCode) {
    case EventProceeding:
        if (m_phase == Phase::Dialing)
            setPhase(Phase::Proceeding);
        break;
    case EventAlerting:
        if (m_phase == Phase::Dialing || m_phase == Phase::Proceeding)
            setPhase(Phase::Alerting);
        break;
    case EventAnswered:
        if (m_outgoing ? m_phase != Phase::InCall : m_accepting) {
            m_answered = true;
            m_accepting = false;
            m_answeredAt = m_clock();
            setPhase(Phase::InCall);
            // Both are the engine's, not the call's: show what is in force.
            emit muteQuery();
            emit volumeQuery();
        }
        break;
    case EventReleased:
        end(reason);
        break;
    default:
        break;
    }
}

void TqCallState::onCallIncoming(const Agent_VoIPComingInfo &info)
{
    const QString callId = info.text1;
    if (!m_enabled || callId.isEmpty() || callId == m_callId)
        return;
    TqCallRecord turnedAway;
    turnedAway.peer = info.text2;
    turnedAway.peerName = info.text3;
    turnedAway.outgoing = false;
    turnedAway.video = isVideoCallType(info.number1);
    turnedAway.outcome = TqCallRecord::Outcome::Missed;
    turnedAway.startedAt = QDateTime::currentDateTime();
    turnedAway.reason = ReasonBusy;
    if (isBusy()) {
        emit releaseRequest(callId, ReasonBusy);
        emit missed(turnedAway);
        return;
    }
    startCall(false, info.text2, turnedAway.video);
    m_peerName = info.text3;
    m_callId = callId;
    setPhase(Phase::Incoming);
}

void TqCallState::onCurrentCall(const QString &callId)
{
    if (m_queries.isEmpty())
        return; // someone else's question
    const Query query = m_queries.takeFirst();
    if (query.cancelled) {
        if (!callId.isEmpty())
            emit releaseRequest(callId, ReasonNormal);
        return;
    }
    if (query.generation != m_generation || m_phase == Phase::Ended || !m_callId.isEmpty())
        return;
    QString id = callId;
    if (id.isEmpty()) {
        // An engine that does not report its current call: the events still name it.
        for (const HeldEvent &held : qAsConst(m_held)) {
            if (held.msg.callee == m_peer) {
                id = held.msg.callid;
                break;
            }
        }
    }
    if (id.isEmpty()) {
        m_held.clear();
        end(ReasonNotPlaced);
        return;
    }
    adoptCallId(id);
}

void TqCallState::onSwitchRequest(const QString &callId, int video)
{
    if (m_phase != Phase::InCall || callId != m_callId)
        return;
    const bool wanted = video != MediaVoice;
    if (wanted == m_video || !wanted) {
        // Staying as is, or giving up video, needs nobody's consent.
        m_video = wanted;
        if (!wanted)
            m_remoteVideo = QSize();
        emit switchResponse(m_callId, video);
        emit changed();
        return;
    }
    m_peerSwitchPending = true;
    emit changed();
    emit peerSwitchRequested(true);
}

void TqCallState::onSwitchResponse(const QString &callId, int video)
{
    if (m_phase != Phase::InCall || callId != m_callId)
        return;
    const bool now = video != MediaVoice;
    const bool refused = m_switchPending && now != m_switchWanted;
    m_switchPending = false;
    m_video = now;
    if (!now)
        m_remoteVideo = QSize();
    emit changed();
    if (refused)
        emit switchRefused();
}

void TqCallState::onRemoteVideoRatio(const QString &callId, int width, int height, int,
                                     const QString &)
{
    if (!isBusy() || callId.isEmpty() || width <= 0 || height <= 0)
        return;
    if (m_callId.isEmpty()) {
        // Like the events, it may come before the call is named.
        m_heldVideoCallId = callId;
        m_heldVideoSize = QSize(width, height);
        return;
    }
    if (callId != m_callId)
        return;
    m_remoteVideo = QSize(width, height);
    emit changed();
}

void TqCallState::onDtmfReceived(const QString &callId, char digit)
{
    if (m_phase == Phase::InCall && callId == m_callId)
        emit dtmfReceived(QChar::fromLatin1(digit));
}

void TqCallState::onMuteSet(int reason, bool mute)
{
    if (reason == 0)
        m_muted = mute;
    emit changed();
    if (reason != 0)
        emit muteFailed();
}

void TqCallState::onMuteStatus(bool mute)
{
    m_muted = mute;
    emit changed();
}

void TqCallState::onSpeakerVolume(int reason, uint volume)
{
    if (reason == 0)
        m_volume = int(std::min<uint>(volume, uint(MaxVolume)));
    emit changed();
}

void TqCallState::setPhase(Phase phase)
{
    if (phase == m_phase) {
        emit changed();
        return;
    }
    m_phase = phase;
    emit phaseChanged(phase);
    emit changed();
}

void TqCallState::startCall(bool outgoing, const QString &peer, bool video)
{
    m_outgoing = outgoing;
    m_peer = peer;
    m_peerName.clear();
    m_callId.clear();
    m_video = video;
    m_remoteVideo = QSize();
    m_accepting = false;
    m_answered = false;
    m_endedByUs = false;
    m_switchPending = false;
    m_peerSwitchPending = false;
    m_endReason = 0;
    m_finalDuration = 0;
    m_held.clear();
    m_heldVideoCallId.clear();
    m_startedAt = QDateTime::currentDateTime();
}

void TqCallState::adoptCallId(const QString &callId)
{
    m_callId = callId;
    if (m_heldVideoCallId == callId)
        m_remoteVideo = m_heldVideoSize;
    m_heldVideoCallId.clear();
    const QList<HeldEvent> held = m_held;
    m_held.clear();
    for (const HeldEvent &event : held)
        if (event.msg.callid == callId && isBusy())
            onCallEvents(event.reason, event.msg);
    emit changed();
}

void TqCallState::end(int reason)
{
    if (!isBusy())
        return;
    m_finalDuration = durationMs();
    m_endReason = reason;
    m_accepting = false;
    m_switchPending = false;
    m_peerSwitchPending = false;
    m_held.clear();
    if (m_muted) {
        // The engine's mute outlives the call: the next call starts with the microphone on.
        m_muted = false;
        emit muteRequest(false);
    }
    // Taken first: whoever sees the phase change may already clear the call.
    const TqCallRecord ended = record();
    setPhase(Phase::Ended);
    emit finished(ended);
}

TqCallRecord TqCallState::record() const
{
    TqCallRecord r;
    r.peer = m_peer;
    r.peerName = m_peerName;
    r.outgoing = m_outgoing;
    r.video = m_video;
    r.startedAt = m_startedAt;
    r.durationMs = m_finalDuration;
    r.reason = m_endReason;
    if (m_answered)
        r.outcome = TqCallRecord::Outcome::Answered;
    else if (m_outgoing)
        r.outcome = TqCallRecord::Outcome::Unanswered;
    else if (m_endedByUs && m_endReason == ReasonDeclined)
        r.outcome = TqCallRecord::Outcome::Declined;
    else
        r.outcome = TqCallRecord::Outcome::Missed;
    return r;
}
