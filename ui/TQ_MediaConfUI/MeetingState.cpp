#include "MeetingState.h"

#include "MeetingCodes.h"
#include "MeetingText.h"

namespace C = TqMeetingCode;

namespace {
// The accounts of a request once: none empty, none twice, never the user.
QStringList cleanAccounts(const QStringList &accounts, const QString &own)
{
    QStringList clean;
    for (const QString &a : accounts) {
        const QString account = a.trimmed();
        if (!account.isEmpty() && account != own && !clean.contains(account))
            clean << account;
    }
    return clean;
}
} // namespace

TqMeetingState::TqMeetingState(QObject *parent)
    : QObject(parent)
    , m_members(new TqMeetingMemberModel(this))
{ }

void TqMeetingState::setEnabled(bool enabled, const QString &account)
{
    if (!enabled && isBusy() && !m_id.isEmpty())
        emit exitRequest(m_id);
    m_enabled = enabled;
    m_members->setOwnAccount(enabled ? account : QString());
    m_leaving = false;
    reset();
    if (!m_invitations.isEmpty()) {
        m_invitations.clear();
        emit invitationsChanged();
    }
}

bool TqMeetingState::isVideo() const
{
    return m_type == C::VideoMeeting;
}

bool TqMeetingState::create(int meetingType, const QString &name, const QStringList &members)
{
    const QString title = name.trimmed();
    if (!m_enabled || isBusy() || title.isEmpty()
        || (meetingType != C::VoiceMeeting && meetingType != C::VideoMeeting))
        return false;
    reset();
    m_type = meetingType;
    m_name = title;
    m_owner = ownAccount();
    m_toInvite = cleanAccounts(members, ownAccount());
    setPhase(Phase::Creating);
    emit createRequest(meetingType, title, QString(), QString(), 0, 0, true, false, false);
    return true;
}

bool TqMeetingState::accept(const QString &callid)
{
    if (!m_enabled)
        return false;
    int at = -1;
    for (int i = 0; i < m_invitations.size(); ++i)
        if (m_invitations[i].callid == callid)
            at = i;
    if (at < 0)
        return false;
    const Agent_MeetingComingInfo invitation = m_invitations.takeAt(at);
    emit invitationsChanged();
    if (isBusy()) {
        if (m_id == invitation.conferenceId)
            return true;
        exit();
    }
    reset();
    start(invitation.conferenceId, invitation.meetingType, QString(), invitation.caller);
    m_members->update(invitation.caller, [&](TqMeetingMember &m) {
        m.name = invitation.nickname;
        m.owner = true;
        m.state = C::MemberJoined;
    });
    setPhase(Phase::Joining);
    emit acceptRequest(invitation);
    return true;
}

void TqMeetingState::refuse(const QString &callid)
{
    for (int i = m_invitations.size() - 1; i >= 0; --i)
        if (m_invitations[i].callid == callid) {
            m_invitations.removeAt(i);
            emit invitationsChanged();
        }
}

bool TqMeetingState::invite(const QStringList &members)
{
    const QStringList asked = cleanAccounts(members, ownAccount());
    if (!canAsk() || asked.isEmpty())
        return false;
    emit inviteRequest(m_id, asked, false, true, true, QString(), QString());
    return true;
}

void TqMeetingState::exit()
{
    if (!isBusy())
        return;
    // The user wants out now: nothing waits for the engine's answer, which may never come
    // for a meeting not yet joined.
    if (!m_id.isEmpty())
        emit exitRequest(m_id);
    else
        m_leaving = true; // the create's answer will name the meeting to leave
    end(End::Left);
}

bool TqMeetingState::dismiss()
{
    if (!canAsk() || !isOwner())
        return false;
    emit dismissRequest(m_type, m_id);
    return true;
}

bool TqMeetingState::setPublishingVideo(bool on)
{
    if (!canAsk() || !isVideo())
        return false;
    if (on)
        emit publishRequest(m_id);
    else
        emit unpublishRequest(m_id);
    return true;
}

bool TqMeetingState::setSpeakListen(const QString &member, int option)
{
    if (!canAsk() || !m_members->contains(member) || (!isOwner() && member != ownAccount()))
        return false;
    emit speakListenRequest(m_type, m_id, member, true, option);
    return true;
}

bool TqMeetingState::removeMember(const QString &member)
{
    if (!canAsk() || !isOwner() || member == ownAccount() || !m_members->contains(member))
        return false;
    emit removeRequest(m_type, m_id, member, true);
    return true;
}

bool TqMeetingState::showMemberVideo(const QString &member, void *window)
{
    if (!canAsk() || !isVideo() || !window || member.isEmpty() || member == ownAccount())
        return false;
    if (m_videos.contains(member))
        return true;
    m_videos.insert(member, QSize());
    emit memberVideoRequest(m_id, QString(), member, window, C::MemberVideoWindow);
    emit memberVideosChanged();
    return true;
}

void TqMeetingState::hideMemberVideo(const QString &member)
{
    if (!m_videos.remove(member))
        return;
    if (canAsk())
        emit memberVideoCancel(m_id, QString(), member, C::MemberVideoWindow);
    emit memberVideosChanged();
}

void TqMeetingState::clear()
{
    if (m_phase == Phase::Ended)
        reset();
}

// ---- answers ------------------------------------------------------------------------------------

void TqMeetingState::onCreateMultimediaMeeting(int reason, const Agent_MeetingInfo &info)
{
    const QString id = info.text1;
    // Answers come in the order asked: the first one after an abandoned create is its own.
    if (m_leaving) {
        m_leaving = false;
        if (reason == C::ReasonSuccess && !id.isEmpty())
            emit exitRequest(id);
        return;
    }
    if (m_phase != Phase::Creating)
        return;
    if (reason != C::ReasonSuccess || id.isEmpty()) {
        end(End::Failed, reason);
        return;
    }
    const QStringList toInvite = m_toInvite;
    m_toInvite.clear();
    start(id, m_type, m_name, ownAccount());
    m_members->update(ownAccount(), [](TqMeetingMember &m) {
        m.owner = true;
        m.state = C::MemberJoined;
    });
    if (!toInvite.isEmpty()) {
        for (const QString &account : toInvite)
            m_members->update(account, [](TqMeetingMember &) {});
        emit inviteRequest(id, toInvite, false, true, true, QString(), QString());
    }
    if (m_earlyJoin == id)
        joined();
    else
        setPhase(Phase::Joining);
    m_earlyJoin.clear();
}

void TqMeetingState::onJoinMeeting(int reason, const QString &conferenceId)
{
    if (m_phase == Phase::Creating && reason == C::ReasonSuccess) {
        m_earlyJoin = conferenceId;
        return;
    }
    if (m_phase != Phase::Joining || conferenceId != m_id)
        return;
    if (reason == C::ReasonSuccess)
        joined();
    else
        end(End::Failed, reason);
}

void TqMeetingState::onExitMeeting(const QString &conferenceId)
{
    if (isBusy() && conferenceId == m_id)
        end(End::Left);
}

void TqMeetingState::onDismissMultiMediaMeeting(int reason, const QString &conferenceId)
{
    if (!isBusy() || conferenceId != m_id)
        return;
    if (reason == C::ReasonSuccess)
        end(End::Dismissed);
    else
        emit failed(tr("The meeting could not be ended: %1").arg(TqMeetingText::failure(reason)));
}

void TqMeetingState::onQueryMeetingMembers(int reason, const QString &conferenceId,
                                           const QList<Agent_MeetingMemberInfo> &list)
{
    if (!isBusy() || conferenceId != m_id || reason != C::ReasonSuccess)
        return;
    QList<TqMeetingMember> members;
    for (const Agent_MeetingMemberInfo &record : list)
        members << TqMeetingMember::fromRecord(record);
    m_members->mergeMembers(members, m_newer);
    for (const TqMeetingMember &m : members)
        if (m.owner)
            m_owner = m.account;
    emit changed();
}

void TqMeetingState::onInviteJoinMultiMediaMeeting(int reason, const Agent_MeetingInviteInfo &info)
{
    if (!isBusy() || info.conferenceId != m_id)
        return;
    if (reason != C::ReasonSuccess) {
        emit failed(tr("The invitation failed: %1").arg(TqMeetingText::failure(reason)));
        return;
    }
    // Their answers may already have come: a member in the meeting stays in it.
    for (const QString &account : info.members)
        m_members->update(account, [](TqMeetingMember &m) {
            if (!m.isIn())
                m.state = C::MemberInvited;
        });
    if (!info.resultText.isEmpty())
        emit failed(tr("Not invited: %1").arg(info.resultText));
    emit changed();
}

void TqMeetingState::onDeleteMemberMultiMediaMeeting(int reason,
                                                     const Agent_MeetingDeleteMemberInfo &info)
{
    if (!isBusy() || info.conferenceId != m_id)
        return;
    if (reason != C::ReasonSuccess) {
        emit failed(
            tr("%1 could not be removed: %2")
                .arg(m_members->member(info.member).shownName(), TqMeetingText::failure(reason)));
        return;
    }
    hideMemberVideo(info.member);
    m_members->update(info.member, [](TqMeetingMember &m) {
        m.state = C::MemberRemoved;
        m.video = false;
    });
    emit changed();
}

void TqMeetingState::onPublishVideo(int reason, const QString &conferenceId)
{
    if (!isBusy() || conferenceId != m_id)
        return;
    if (reason != C::ReasonSuccess) {
        emit failed(
            tr("The camera could not be turned on: %1").arg(TqMeetingText::failure(reason)));
        return;
    }
    m_publishing = true;
    m_members->update(ownAccount(), [](TqMeetingMember &m) { m.video = true; });
    emit changed();
}

void TqMeetingState::onUnpublishVideo(int reason, const QString &conferenceId)
{
    if (!isBusy() || conferenceId != m_id || reason != C::ReasonSuccess)
        return;
    m_publishing = false;
    m_members->update(ownAccount(), [](TqMeetingMember &m) { m.video = false; });
    emit changed();
}

void TqMeetingState::onSetMeetingSpeakListen(int reason,
                                             const Agent_MeetingMemberSpeakListenInfo &info)
{
    if (!isBusy() || info.meetingId != m_id)
        return;
    if (reason != C::ReasonSuccess) {
        emit failed(tr("The setting was not changed: %1").arg(TqMeetingText::failure(reason)));
        return;
    }
    if (m_members->contains(info.member))
        m_members->update(info.member, [&](TqMeetingMember &m) { m.option = info.option; });
    emit changed();
}

void TqMeetingState::onVoiceMeetingMessage(const Agent_VoiceMeetingMsg &msg)
{
    onMessage(msg.number1, msg.text1, msg.text2, msg.text3, msg.text5, msg.text7, false);
}

void TqMeetingState::onVideoMeetingMessage(const Agent_VideoMeetingMsg &msg)
{
    onMessage(msg.number1, msg.text1, msg.text2, msg.text3, msg.text5, msg.text7, msg.number3 != 0);
}

// number1 the event, text1 the meeting, text2 whom it is about and text3 their name, text5 the
// owner, text7 the meeting's name; a video message's number3 says whether they publish video.
void TqMeetingState::onMessage(int event, const QString &id, const QString &who,
                               const QString &name, const QString &owner,
                               const QString &meetingName, bool video)
{
    if (!isBusy() || id.isEmpty() || id != m_id)
        return;
    if (!meetingName.isEmpty())
        m_name = meetingName;
    if (!owner.isEmpty())
        m_owner = owner;
    m_newer.insert(who);
    const auto setState = [&](int state) {
        m_members->update(who, [&](TqMeetingMember &m) {
            m.state = state;
            if (!name.isEmpty())
                m.name = name;
            m.video = state == C::MemberJoined && video;
            m.owner = m.owner || who == m_owner;
        });
    };
    switch (event) {
    case C::EventJoined:
        setState(C::MemberJoined);
        break;
    case C::EventLeft:
    case C::EventRemoved:
        hideMemberVideo(who);
        setState(event == C::EventLeft ? C::MemberLeft : C::MemberRemoved);
        if (who == ownAccount()) {
            end(End::Removed);
            return;
        }
        break;
    case C::EventDeclined:
        setState(C::MemberDeclined);
        break;
    case C::EventVideoOn:
    case C::EventVideoOff:
        if (event == C::EventVideoOff)
            hideMemberVideo(who);
        m_members->update(who, [&](TqMeetingMember &m) { m.video = event == C::EventVideoOn; });
        break;
    case C::EventEnded:
        end(End::EndedByOwner);
        return;
    default:
        break;
    }
    emit changed();
}

void TqMeetingState::onMeetingInviteIncoming(const Agent_MeetingComingInfo &info)
{
    if (!m_enabled || info.conferenceId.isEmpty() || (isBusy() && info.conferenceId == m_id))
        return;
    for (const Agent_MeetingComingInfo &known : qAsConst(m_invitations))
        if (known.callid == info.callid && known.conferenceId == info.conferenceId)
            return;
    m_invitations.append(info);
    emit invitationsChanged();
}

void TqMeetingState::onRequestConferenceMemberVideo(int reason, const QString &conferenceId,
                                                    const QString &member, int)
{
    if (!isBusy() || conferenceId != m_id || reason == C::ReasonSuccess)
        return;
    if (m_videos.remove(member))
        emit memberVideosChanged();
}

void TqMeetingState::onCancelConferenceMemberVideo(int, const QString &, const QString &, int) { }

void TqMeetingState::onRemoteVideoRatio(const QString &callId, int width, int height, int type,
                                        const QString &member)
{
    if (type != C::RemoteVideoConference || !isBusy() || callId != m_id
        || !m_videos.contains(member) || width <= 0 || height <= 0)
        return;
    m_videos.insert(member, QSize(width, height));
    emit memberVideosChanged();
}

// ---- phases -------------------------------------------------------------------------------------

void TqMeetingState::setPhase(Phase phase)
{
    if (m_phase == phase) {
        emit changed();
        return;
    }
    m_phase = phase;
    emit changed();
    emit phaseChanged(phase);
}

void TqMeetingState::start(const QString &id, int type, const QString &name, const QString &owner)
{
    m_id = id;
    m_type = type;
    m_name = name;
    m_owner = owner;
}

void TqMeetingState::joined()
{
    m_members->update(ownAccount(), [](TqMeetingMember &m) { m.state = C::MemberJoined; });
    setPhase(Phase::InMeeting);
    m_newer.clear();
    emit membersQuery(m_type, m_id);
}

void TqMeetingState::end(End kind, int reason)
{
    m_end = kind;
    m_endReason = reason;
    m_publishing = false;
    if (!m_videos.isEmpty()) {
        m_videos.clear();
        emit memberVideosChanged();
    }
    setPhase(Phase::Ended);
}

void TqMeetingState::reset()
{
    m_id.clear();
    m_type = 0;
    m_name.clear();
    m_owner.clear();
    m_toInvite.clear();
    m_earlyJoin.clear();
    m_publishing = false;
    m_end = End::None;
    m_endReason = 0;
    m_videos.clear();
    m_newer.clear();
    m_members->clear();
    setPhase(Phase::Idle);
}
