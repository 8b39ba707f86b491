#include "VoiceRecorder.h"

#include <TqEngineText.h>

#include <QFile>

VoiceRecorder::VoiceRecorder(QObject *parent)
    : QObject(parent)
{ }

qint64 VoiceRecorder::elapsedMs() const
{
    return m_state == State::Recording && m_clock.isValid() ? m_clock.elapsed() : 0;
}

bool VoiceRecorder::start(const QString &peer, const QString &file)
{
    if (isBusy() || peer.isEmpty() || file.isEmpty())
        return false;
    m_peer = peer;
    m_file = file;
    m_discard = false;
    m_level = 0;
    m_clock.invalidate();
    setState(State::Starting);
    // The session is the conversation, so the engine's events name it.
    emit startRequest(file, peer);
    return true;
}

void VoiceRecorder::finish()
{
    if (m_state != State::Recording)
        return;
    setState(State::Finishing);
    emit stopRequest(1);
}

void VoiceRecorder::cancel()
{
    if (m_state == State::Recording) {
        // Asked like a finish, so that the answer says when the engine has let go of the
        // file; then it is deleted.
        m_discard = true;
        setState(State::Finishing);
        emit stopRequest(1);
    } else if (m_state == State::Finishing) {
        m_discard = true;
    }
}

void VoiceRecorder::reset()
{
    m_peer.clear();
    m_file.clear();
    m_discard = false;
    setState(State::Idle);
}

void VoiceRecorder::onStartResult(int ret)
{
    if (m_state != State::Starting)
        return;
    if (ret != 0) {
        dropFile();
        reset();
        emit failed(tr("The recording did not start: %1").arg(TqEngineText::error(ret)));
        return;
    }
    m_clock.start();
    setState(State::Recording);
}

void VoiceRecorder::onStopped()
{
    if (m_state != State::Finishing)
        return;
    if (m_discard) {
        dropFile();
        reset();
        return;
    }
    measure();
}

void VoiceRecorder::onTimeOut(int, const QString &sessionId)
{
    // The engine stopped at its limit and wrote the file: the note goes out as it is.
    if (m_state != State::Recording || sessionId != m_peer)
        return;
    setState(State::Finishing);
    measure();
}

void VoiceRecorder::onAmplitude(double amplitude, const QString &sessionId)
{
    if (m_state != State::Recording || sessionId != m_peer)
        return;
    m_level = qBound(0.0, amplitude, 1.0);
    emit levelChanged(m_level);
}

void VoiceRecorder::onDuration(const ChatMsgData &msg, int duration)
{
    if (m_state != State::Finishing || msg.sessionId != durationSession() || msg.fileName != m_file)
        return;
    const QString peer = m_peer;
    const QString file = m_file;
    if (m_discard || duration < kMinimumMs) {
        const bool discarded = m_discard;
        dropFile();
        reset();
        if (!discarded)
            emit failed(tr("The voice note was too short to send."));
        return;
    }
    reset();
    emit recorded(peer, file, duration);
}

void VoiceRecorder::setState(State state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void VoiceRecorder::measure()
{
    ChatMsgData query;
    query.fileName = m_file;
    query.sessionId = durationSession();
    emit durationQuery(query);
}

void VoiceRecorder::dropFile()
{
    if (!m_file.isEmpty())
        QFile::remove(m_file);
}
