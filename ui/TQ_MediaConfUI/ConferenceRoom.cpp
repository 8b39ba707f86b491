#include "ConferenceRoom.h"

#include "ConferenceCodes.h"

using namespace TqConfCode;

TqConfRoom::TqConfRoom(QObject *parent)
    : QObject(parent)
{ }

void TqConfRoom::setAccount(const QString &account)
{
    if (account == m_account)
        return;
    if (isIn() || m_phase == Phase::Joining)
        leave();
    m_account = account;
    clear();
}

TqConfMember TqConfRoom::member(const QString &id) const
{
    for (const TqConfMember &m : m_summary.members)
        if (m.id == id)
            return m;
    return TqConfMember();
}

bool TqConfRoom::isHost() const
{
    for (const TqConfMember &m : m_summary.members)
        if (m.id == m_account)
            return m.isHost();
    return !m_account.isEmpty() && m_summary.creator == m_account;
}

bool TqConfRoom::isSharingScreen() const
{
    return member(m_account).has(SharingScreen);
}

void TqConfRoom::setPhase(Phase phase)
{
    if (phase == m_phase)
        return;
    m_phase = phase;
    emit phaseChanged(phase);
}

bool TqConfRoom::join(const QString &confId, const QString &password, bool video)
{
    if (m_account.isEmpty() || confId.isEmpty() || m_phase == Phase::Joining || isIn())
        return false;
    m_confId = confId;
    m_summary = TqConfSummary();
    m_summary.id = confId;
    m_records.clear();
    m_endCause = EndCause::None;
    m_joinFailure = 0;
    m_minutesLeft = -1;
    m_video = video;
    m_recordPending = m_ending = false;
    m_handingOverTo.clear();
    setPhase(Phase::Joining);
    Agent_RequestMemberJoinConf r;
    r.confId = confId;
    r.password = password;
    r.mediaType = video ? Video : Voice;
    emit joinRequest(r);
    emit changed();
    return true;
}

void TqConfRoom::leave()
{
    if (!isIn() && m_phase != Phase::Joining)
        return;
    Agent_RequestMemberQuitConf r;
    r.confId = m_confId;
    emit quitRequest(r);
    finish(EndCause::Left);
}

void TqConfRoom::end()
{
    if (!isIn() || !isHost() || m_ending)
        return;
    m_ending = true;
    Agent_RequestDeleteConf r;
    r.confId = m_confId;
    emit deleteRequest(r);
    emit changed();
}

void TqConfRoom::clear()
{
    if (isIn() || m_phase == Phase::Joining)
        return;
    m_confId.clear();
    m_summary = TqConfSummary();
    m_records.clear();
    m_endCause = EndCause::None;
    m_joinFailure = 0;
    setPhase(Phase::Idle);
    emit changed();
}

void TqConfRoom::finish(EndCause cause)
{
    if (m_phase == Phase::Ended || m_phase == Phase::Idle)
        return;
    m_endCause = cause;
    m_summary.recording = false;
    m_recordPending = m_ending = false;
    m_handingOverTo.clear();
    for (TqConfMember &m : m_summary.members)
        m.flags &= ~(PublishingVideo | PublishingVoice | SharingScreen);
    setPhase(Phase::Ended);
    emit changed();
}

void TqConfRoom::mediaControl(const QString &member, int action)
{
    Agent_RequestConfMediaControl r;
    r.confId = m_confId;
    Agent_ConfTargetMember target;
    target.memberId = member;
    target.deviceType = 1;
    r.members << target;
    r.action = action;
    emit mediaControlRequest(r);
}

void TqConfRoom::setMicrophone(const QString &member, bool on)
{
    if (!isIn() || member.isEmpty())
        return;
    if (member == m_account) {
        if (on) {
            Agent_RequestConfStartPublishVoice r;
            r.confId = m_confId;
            emit startVoiceRequest(r);
        } else {
            Agent_RequestConfStopPublishVoice r;
            r.confId = m_confId;
            emit stopVoiceRequest(r);
        }
    } else if (isHost()) {
        mediaControl(member, on ? UnmuteMicrophone : MuteMicrophone);
    }
}

void TqConfRoom::setCamera(const QString &member, bool on)
{
    if (!isIn() || member.isEmpty())
        return;
    if (member == m_account) {
        if (on) {
            Agent_RequestConfStartPublishVideo r;
            r.confId = m_confId;
            emit startVideoRequest(r);
        } else {
            Agent_RequestConfStopPublishVideo r;
            r.confId = m_confId;
            emit stopVideoRequest(r);
        }
    } else if (isHost()) {
        mediaControl(member, on ? CameraOn : CameraOff);
    }
}

void TqConfRoom::kick(const QString &member)
{
    if (!isIn() || !isHost() || member.isEmpty() || member == m_account)
        return;
    Agent_RequestConfKickoutMember r;
    r.confId = m_confId;
    r.kickMembers << Agent_ConfKickMember{member, 0, 1};
    emit kickRequest(r);
}

void TqConfRoom::setRole(const QString &member, int role)
{
    Agent_RequestSetConfMemberRole r;
    r.confId = m_confId;
    r.memberId = member;
    r.roleId = role;
    emit roleRequest(r);
}

void TqConfRoom::handOver(const QString &member)
{
    if (!isIn() || !isHost() || member.isEmpty() || member == m_account
        || !m_handingOverTo.isEmpty() || !this->member(member).isIn())
        return;
    // The user steps down only once the other has the chair: never a conference without one.
    m_handingOverTo = member;
    setRole(member, Host);
    emit changed();
}

void TqConfRoom::setRecording(bool on)
{
    if (!isIn() || !isHost() || m_recordPending || on == m_summary.recording)
        return;
    m_recordPending = true;
    Agent_RequestConfRecord r;
    r.confId = m_confId;
    r.action = on ? StartRecording : StopRecording;
    emit recordRequest(r);
    emit changed();
}

void TqConfRoom::setScreenSharing(bool on)
{
    if (!isIn())
        return;
    if (on) {
        Agent_RequestConfStartScreenSharing r;
        r.confId = m_confId;
        emit startScreenRequest(r);
    } else {
        Agent_RequestConfStopScreenSharing r;
        r.confId = m_confId;
        emit stopScreenRequest(r);
    }
}

void TqConfRoom::refreshMembers()
{
    if (!isIn())
        return;
    Agent_RequestGetConfMemberInfoList r;
    r.confId = m_confId;
    r.pageNo = 1;
    r.pageSize = MemberPageSize;
    emit memberListRequest(r);
}

void TqConfRoom::refreshRecords()
{
    if (!isIn() && m_phase != Phase::Ended)
        return;
    Agent_RequestConfRecordList r;
    r.confId = m_confId;
    r.pageNo = 1;
    r.pageSize = MemberPageSize;
    emit recordListRequest(r);
}

void TqConfRoom::onJoined(const Agent_RequestMemberJoinConf &request, int reason,
                          const Agent_ConfInfo &info)
{
    if (m_phase != Phase::Joining || request.confId != m_confId)
        return;
    if (reason != ReasonOk) {
        m_joinFailure = reason;
        finish(EndCause::Refused);
        return;
    }
    m_summary = TqConfRecords::summary(info);
    m_summary.id = m_confId;
    setPhase(Phase::InConference);
    emit changed();
    // Heard from the start: the user's voice, and their camera in a video conference.
    setMicrophone(m_account, true);
    if (m_video)
        setCamera(m_account, true);
    refreshRecords();
}

void TqConfRoom::onQuit(const Agent_RequestMemberQuitConf &request, int reason)
{
    // Already left on the user's side; a refusal only means the server had let them go.
    Q_UNUSED(request)
    Q_UNUSED(reason)
}

void TqConfRoom::onMemberList(const Agent_RequestGetConfMemberInfoList &request, int reason,
                              const QString &confId, const QList<Agent_ConferenceMemberInfo> &list)
{
    if (!mine(request.confId) || (!confId.isEmpty() && confId != m_confId) || reason != ReasonOk)
        return;
    m_summary.members.clear();
    for (const Agent_ConferenceMemberInfo &m : list)
        m_summary.members << TqConfRecords::member(m);
    if (!m_handingOverTo.isEmpty() && !member(m_handingOverTo).isIn())
        m_handingOverTo.clear(); // gone before taking the chair
    emit changed();
}

void TqConfRoom::onNotification(const Agent_ConfNtyMsg &msg)
{
    if (!mine(msg.text1))
        return;
    m_summary.state = msg.number8;
    m_summary.locked = msg.number10 != 0;
    m_summary.recording = msg.number11 != 0;
    switch (msg.number1) {
    case ConferenceEnded:
        finish(msg.number6 == TimeUp              ? EndCause::TimeUp
                   : msg.number6 == EverybodyLeft ? EndCause::EverybodyLeft
                                                  : EndCause::EndedByHost);
        refreshRecords();
        return;
    case MembersRemoved:
        for (const Agent_ConfKickMember &k : msg.kickMembers) {
            if (k.text1 == m_account) {
                finish(EndCause::Removed);
                return;
            }
        }
        break;
    case MediaControlled:
        for (const Agent_ConfNtyMember &m : msg.members) {
            if (m.text1 != m_account || msg.text3 == m_account)
                continue;
            const int action = msg.number2;
            emit notice(action == MuteMicrophone ? tr("The host turned your microphone off.")
                            : action == UnmuteMicrophone
                            ? tr("The host allows your microphone again.")
                            : action == CameraOff ? tr("The host turned your camera off.")
                                                  : tr("The host allows your camera again."));
        }
        break;
    case RecordingChanged:
        if (msg.number2 == 0)
            refreshRecords();
        break;
    default:
        break;
    }
    emit changed();
    refreshMembers();
}

void TqConfRoom::onEndNotification(const Agent_ConfEndNtyMsg &msg)
{
    if (!mine(msg.text1))
        return;
    finish(msg.number1 == TimeUp              ? EndCause::TimeUp
               : msg.number1 == EverybodyLeft ? EndCause::EverybodyLeft
                                              : EndCause::EndedByHost);
    refreshRecords();
}

void TqConfRoom::onBeforeEnd(const Agent_ConfBeforeEndNtyMsg &msg)
{
    if (!mine(msg.text1))
        return;
    m_minutesLeft = qMax(0, msg.number1);
    emit endingSoon(m_minutesLeft);
    emit changed();
}

void TqConfRoom::onMediaControl(const Agent_RequestConfMediaControl &request, int reason)
{
    if (mine(request.confId) && reason != ReasonOk)
        emit failed(tr("Changing a member's microphone or camera"), reason);
}

void TqConfRoom::onKickout(const Agent_RequestConfKickoutMember &request, int reason,
                           const QList<Agent_FaildConferenceMemberInfo> &failedMembers)
{
    if (!mine(request.confId))
        return;
    if (reason != ReasonOk)
        emit failed(tr("Removing a member"), reason);
    else if (!failedMembers.isEmpty())
        emit failed(tr("Removing %1").arg(failedMembers.first().text1),
                    failedMembers.first().number1);
}

void TqConfRoom::onRoleSet(const Agent_RequestSetConfMemberRole &request, int reason)
{
    if (!mine(request.confId))
        return;
    const bool handing = !m_handingOverTo.isEmpty() && request.memberId == m_handingOverTo;
    if (reason != ReasonOk) {
        if (handing)
            m_handingOverTo.clear();
        emit failed(tr("Handing over the chair"), reason);
        emit changed();
        return;
    }
    if (handing && request.roleId == Host) {
        m_handingOverTo.clear();
        setRole(m_account, Attendee);
    }
}

void TqConfRoom::onRecord(const Agent_RequestConfRecord &request, int reason)
{
    if (!mine(request.confId))
        return;
    m_recordPending = false;
    if (reason == ReasonOk)
        m_summary.recording = request.action == StartRecording;
    else
        emit failed(request.action == StartRecording ? tr("Starting the recording")
                                                     : tr("Stopping the recording"),
                    reason);
    emit changed();
    if (reason == ReasonOk && request.action != StartRecording)
        refreshRecords();
}

void TqConfRoom::onRecordList(const Agent_RequestConfRecordList &request, int reason,
                              const QList<Agent_ConfRecordFile> &files)
{
    if (request.confId != m_confId || m_confId.isEmpty() || reason != ReasonOk)
        return;
    m_records.clear();
    for (const Agent_ConfRecordFile &f : files)
        m_records << TqConfRecords::recordFile(f);
    emit changed();
}

void TqConfRoom::onPublished(const QString &confId, int reason)
{
    if (mine(confId) && reason != ReasonOk)
        emit failed(tr("Changing your microphone, camera or screen sharing"), reason);
}

void TqConfRoom::onDeleted(const Agent_RequestDeleteConf &request, int reason)
{
    if (!mine(request.confId) || !m_ending)
        return;
    m_ending = false;
    if (reason != ReasonOk) {
        emit failed(tr("Ending the conference"), reason);
        emit changed();
    }
    // Ended for everybody: the end notification follows.
}
