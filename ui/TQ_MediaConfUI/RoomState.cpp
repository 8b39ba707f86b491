#include "RoomState.h"

#include <VidyoDataBase.h>

namespace {
// State codes of Vidyo_Agent::signal_onVidyoState.
enum VidyoState {
    Initialised = 1000,
    Started = 1001,
    SignedIn = 1004,
    Active = 1005,
    Ended = 1006
};
} // namespace

TqRoomState::TqRoomState(QObject *parent)
    : QObject(parent)
{ }

// The record may still be read by the agent's worker if a stop is queued: it goes only after
// the stop's answer (finish()), else it stays with the process.
TqRoomState::~TqRoomState()
{
    if (m_stopping)
        (void)m_record.release();
}

QString TqRoomState::phaseText() const
{
    switch (m_phase) {
    case Phase::Idle:
        return tr("Not in a room");
    case Phase::Starting:
        return tr("Starting video…");
    case Phase::Connecting:
        return tr("Connecting to the room…");
    case Phase::SignedIn:
        return tr("Signed in, entering the room…");
    case Phase::InRoom:
        return tr("In the room");
    case Phase::Leaving:
        return tr("Leaving the room…");
    case Phase::Ended:
        return tr("Left the room");
    case Phase::Failed:
        return tr("Could not join the room");
    }
    return QString();
}

bool TqRoomState::inCall() const
{
    return m_phase != Phase::Idle && m_phase != Phase::Ended && m_phase != Phase::Failed;
}

void TqRoomState::join(const QString &link, const QString &name, void *window, const QRect &rect)
{
    if (inCall() || m_stopping || link.trimmed().isEmpty())
        return;
    m_link = link.trimmed();
    m_name = name.trimmed();
    m_problem.clear();
    m_names.clear();
    m_uris.clear();
    m_micMuted = m_speakerMuted = m_cameraOff = m_sharing = false;
    m_dialed.clear();
    m_pendingDigits.clear();
    m_record = std::make_unique<VidyoDataBase>();
    m_record->roomLinkText1 = m_link;
    m_record->roomLinkText3 = m_name;
    m_record->videoRect = rect;
    m_record->windowHandle = window;
    setPhase(Phase::Starting);
    emit participantsChanged();
    emit startRequest(m_record.get());
}

void TqRoomState::leave()
{
    if (!inCall() || m_stopping)
        return;
    if (m_phase == Phase::InRoom) {
        setPhase(Phase::Leaving);
        emit leaveRequest(); // the client reports the room cleared, then it is stopped
        return;
    }
    stop(QString());
}

void TqRoomState::setMicMuted(bool muted)
{
    if (m_phase == Phase::InRoom)
        emit micRequest(muted, false);
}

void TqRoomState::setSpeakerMuted(bool muted)
{
    if (m_phase == Phase::InRoom)
        emit speakerRequest(!muted);
}

void TqRoomState::setCameraOff(bool off)
{
    if (m_phase == Phase::InRoom)
        emit cameraRequest(!off);
}

void TqRoomState::setSharing(bool on)
{
    if (m_phase != Phase::InRoom || on == m_sharing)
        return;
    if (on)
        emit shareRequest();
    else
        emit unshareRequest();
}

void TqRoomState::dial(const QString &digits)
{
    if (m_phase != Phase::InRoom)
        return;
    // The client takes one digit at a time; its answers come in the same order.
    for (const QChar c : digits) {
        m_pendingDigits.append(c);
        emit dialRequest(QString(c));
    }
}

void TqRoomState::setVideoRect(const QRect &rect)
{
    if (inCall() && !m_stopping)
        emit rectRequest(rect);
}

void TqRoomState::onVidyoState(int type, bool state, const QString &)
{
    if (!inCall() || m_stopping)
        return;
    switch (type) {
    case Initialised:
        if (!state)
            m_problem = tr("The video client could not be set up.");
        break;
    case Started:
        if (state) {
            if (m_phase == Phase::Starting) // the client's events may have come first
                setPhase(Phase::Connecting);
        } else
            stop(m_problem.isEmpty() ? tr("The video client did not start.") : m_problem);
        break;
    case SignedIn:
        if (m_phase == Phase::Starting || m_phase == Phase::Connecting)
            setPhase(Phase::SignedIn);
        break;
    case Active:
        setPhase(Phase::InRoom);
        break;
    case Ended:
        if (m_phase != Phase::Leaving)
            stop(m_phase == Phase::InRoom ? tr("The room has ended.")
                                          : tr("The room refused the link."));
        break;
    default:
        break;
    }
}

void TqRoomState::onStartFailed()
{
    if (inCall() && !m_stopping && m_phase != Phase::InRoom)
        stop(tr("The room refused the link."));
}

void TqRoomState::onMicMuted(bool muted, bool)
{
    m_micMuted = muted;
    emit changed();
}

void TqRoomState::onSpeaker(bool on)
{
    m_speakerMuted = !on;
    emit changed();
}

void TqRoomState::onCamera(bool on)
{
    m_cameraOff = !on;
    emit changed();
}

void TqRoomState::onShareStarted()
{
    if (m_phase != Phase::InRoom)
        return;
    m_sharing = true;
    emit changed();
}

void TqRoomState::onShareStopped()
{
    m_sharing = false;
    emit changed();
}

void TqRoomState::onParticipants(const QStringList &names, const QStringList &uris)
{
    if (!inCall())
        return;
    m_names = names;
    m_uris = uris;
    emit participantsChanged();
}

void TqRoomState::onHangUp(int)
{
    if (m_stopping)
        finish();
}

void TqRoomState::onLeft()
{
    if (m_phase == Phase::Leaving && !m_stopping)
        stop(QString());
}

void TqRoomState::onDialResult(bool ok)
{
    if (m_pendingDigits.isEmpty())
        return;
    const QChar digit = m_pendingDigits.front();
    m_pendingDigits.remove(0, 1);
    if (!ok)
        return;
    m_dialed += digit;
    emit changed();
}

void TqRoomState::setPhase(Phase phase)
{
    if (m_phase == phase)
        return;
    m_phase = phase;
    emit phaseChanged(phase);
    emit changed();
}

void TqRoomState::stop(const QString &problem)
{
    m_problem = problem;
    m_stopping = true;
    emit stopRequest();
    emit changed();
}

void TqRoomState::finish()
{
    m_stopping = false;
    m_record.reset(); // the client has stopped: nothing reads it any more
    m_names.clear();
    m_uris.clear();
    m_sharing = false;
    emit participantsChanged();
    setPhase(m_problem.isEmpty() ? Phase::Ended : Phase::Failed);
}
