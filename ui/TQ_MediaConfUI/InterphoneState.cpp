#include "InterphoneState.h"

#include "MeetingCodes.h"
#include "MeetingText.h"

namespace C = TqMeetingCode;

TqInterphoneState::TqInterphoneState(QObject *parent)
    : QObject(parent)
    , m_members(new TqMeetingMemberModel(this))
{ }

void TqInterphoneState::setEnabled(bool enabled, const QString &account)
{
    if (!enabled && isBusy() && !m_id.isEmpty())
        emit exitRequest(m_id);
    m_enabled = enabled;
    m_abandoned = false;
    m_members->setOwnAccount(enabled ? account : QString());
    reset();
}

bool TqInterphoneState::canSpeak() const
{
    const int row = m_members->rowOf(ownAccount());
    return row < 0 || C::canSpeak(m_members->members().at(row).option);
}

bool TqInterphoneState::create(const QStringList &members)
{
    QStringList asked;
    for (const QString &a : members) {
        const QString account = a.trimmed();
        if (!account.isEmpty() && account != ownAccount() && !asked.contains(account))
            asked << account;
    }
    // The agent sends nothing for an empty list, so no answer would ever come.
    if (!m_enabled || isBusy() || asked.isEmpty())
        return false;
    reset();
    m_asked = asked;
    m_owner = ownAccount();
    setPhase(Phase::Creating);
    emit createRequest(asked);
    return true;
}

bool TqInterphoneState::pressTalk()
{
    if (m_phase != Phase::Active || !canSpeak())
        return false;
    m_held = true;
    m_refused = false;
    follow();
    return true;
}

void TqInterphoneState::releaseTalk()
{
    if (!m_held)
        return;
    m_held = false;
    follow();
}

bool TqInterphoneState::setSpeakListen(const QString &member, int option)
{
    if (m_phase != Phase::Active || !m_members->contains(member)
        || (!isOwner() && member != ownAccount()))
        return false;
    emit speakListenRequest(C::Interphone, m_id, member, true, option);
    return true;
}

void TqInterphoneState::exit()
{
    if (!isBusy())
        return;
    if (m_id.isEmpty())
        m_abandoned = true;
    else
        emit exitRequest(m_id); // leaving also frees the microphone
    m_held = false;
    m_talk = Talk::Idle;
    setSpeaker(QString());
    setPhase(Phase::Ended);
}

void TqInterphoneState::clear()
{
    if (m_phase == Phase::Ended)
        reset();
}

// ---- answers ------------------------------------------------------------------------------------

void TqInterphoneState::onCreateInterphoneMeeting(int reason, const QString &interphoneId)
{
    // Answers come in the order asked: the first one after an abandoned create is its own.
    if (m_abandoned) {
        m_abandoned = false;
        if (reason == C::ReasonSuccess && !interphoneId.isEmpty())
            emit exitRequest(interphoneId);
        return;
    }
    if (m_phase != Phase::Creating)
        return;
    if (reason != C::ReasonSuccess || interphoneId.isEmpty()) {
        m_endReason = reason;
        setPhase(Phase::Ended);
        return;
    }
    // The user first, as the server lists its members.
    m_members->update(ownAccount(), [](TqMeetingMember &m) { m.state = C::MemberJoined; });
    for (const QString &account : qAsConst(m_asked))
        m_members->update(account, [](TqMeetingMember &) {});
    activate(interphoneId, ownAccount());
    const QList<Agent_InterphoneMsg> early = m_early;
    m_early.clear();
    for (const Agent_InterphoneMsg &msg : early)
        if (msg.text1 == interphoneId)
            onInterphoneMessage(msg);
}

void TqInterphoneState::onControlInterphoneMic(int reason, const QString &controller,
                                               const QString &interphoneId, bool requestIsControl)
{
    if (m_phase != Phase::Active || interphoneId != m_id)
        return;
    m_talk = Talk::Idle;
    setSpeaker(controller);
    if (reason != C::ReasonSuccess && requestIsControl) {
        m_refused = true;
        if (!controller.isEmpty() && controller != ownAccount())
            emit failed(tr("%1 is speaking.").arg(m_members->member(controller).shownName()));
        else
            emit failed(tr("The microphone was refused: %1").arg(TqMeetingText::failure(reason)));
    }
    follow();
    emit changed();
}

// number1 the event, text1 the interphone, text2 whom it is about and text3 their name, text5
// who holds the microphone now, text6 the members in it (comma-separated), text7 its owner.
void TqInterphoneState::onInterphoneMessage(const Agent_InterphoneMsg &msg)
{
    if (!m_enabled || msg.text1.isEmpty())
        return;
    if (m_phase == Phase::Creating) {
        m_early.append(msg);
        return;
    }
    if (m_phase != Phase::Active) {
        if (msg.number1 != C::EventInterphoneInvited)
            return;
        reset();
        activate(msg.text1, msg.text7);
    }
    if (msg.text1 != m_id)
        return;
    const QString who = msg.text2;
    m_newer.insert(who);
    const auto setState = [&](int state) {
        m_members->update(who, [&](TqMeetingMember &m) {
            m.state = state;
            if (!msg.text3.isEmpty())
                m.name = msg.text3;
        });
    };
    switch (msg.number1) {
    case C::EventJoined:
        setState(C::MemberJoined);
        break;
    case C::EventLeft:
    case C::EventRemoved:
        setState(msg.number1 == C::EventLeft ? C::MemberLeft : C::MemberRemoved);
        break;
    case C::EventEnded:
        m_held = false;
        m_talk = Talk::Idle;
        setSpeaker(QString());
        setPhase(Phase::Ended);
        return;
    case C::EventInterphoneInvited:
        for (const QString &account : msg.text6.split(QLatin1Char(','), Qt::SkipEmptyParts))
            m_members->update(account, [](TqMeetingMember &m) { m.state = C::MemberJoined; });
        setState(C::MemberJoined);
        break;
    default:
        break;
    }
    if (!msg.text7.isEmpty())
        m_owner = msg.text7;
    setSpeaker(msg.text5);
    follow();
    emit changed();
}

void TqInterphoneState::onExitInterphoneMeeting(const QString &interphoneId)
{
    if (!isBusy() || interphoneId != m_id)
        return;
    m_held = false;
    m_talk = Talk::Idle;
    setSpeaker(QString());
    setPhase(Phase::Ended);
}

void TqInterphoneState::onQueryMeetingMembers(int reason, const QString &conferenceId,
                                              const QList<Agent_MeetingMemberInfo> &list)
{
    if (m_phase != Phase::Active || conferenceId != m_id || reason != C::ReasonSuccess)
        return;
    QList<TqMeetingMember> members;
    for (const Agent_MeetingMemberInfo &record : list) {
        TqMeetingMember m = TqMeetingMember::fromRecord(record);
        m.holdsMic = false; // the messages, newer than any list, say who speaks
        if (m.owner)
            m_owner = m.account;
        members << m;
    }
    m_members->mergeMembers(members, m_newer);
    m_members->setMicHolder(m_speaker);
    follow();
    emit changed();
}

void TqInterphoneState::onSetMeetingSpeakListen(int reason,
                                                const Agent_MeetingMemberSpeakListenInfo &info)
{
    if (m_phase != Phase::Active || info.meetingId != m_id)
        return;
    if (reason != C::ReasonSuccess) {
        emit failed(tr("The setting was not changed: %1").arg(TqMeetingText::failure(reason)));
        return;
    }
    if (m_members->contains(info.member))
        m_members->update(info.member, [&](TqMeetingMember &m) { m.option = info.option; });
    // A user who may no longer speak lets go of the microphone.
    if (info.member == ownAccount() && !canSpeak())
        m_held = false;
    follow();
    emit changed();
}

// ---- the microphone -----------------------------------------------------------------------------

void TqInterphoneState::follow()
{
    if (m_phase != Phase::Active || m_talk == Talk::Asking || m_talk == Talk::Releasing)
        return;
    if (m_held && !isTalking() && m_speaker.isEmpty() && !m_refused) {
        m_talk = Talk::Asking;
        emit micRequest(true, m_id);
    } else if (!m_held && isTalking()) {
        m_talk = Talk::Releasing;
        emit micRequest(false, m_id);
    } else {
        m_talk = isTalking() ? Talk::Talking : Talk::Idle;
    }
    emit changed();
}

void TqInterphoneState::setSpeaker(const QString &account)
{
    if (m_speaker == account)
        return;
    // Someone else let go: a held button may ask again.
    if (account.isEmpty() && m_speaker != ownAccount())
        m_refused = false;
    m_speaker = account;
    m_members->setMicHolder(account);
}

void TqInterphoneState::setPhase(Phase phase)
{
    if (m_phase == phase) {
        emit changed();
        return;
    }
    m_phase = phase;
    emit changed();
    emit phaseChanged(phase);
}

void TqInterphoneState::activate(const QString &id, const QString &owner)
{
    m_id = id;
    m_owner = owner;
    m_members->update(ownAccount(), [&](TqMeetingMember &m) {
        m.state = C::MemberJoined;
        m.owner = owner == ownAccount();
    });
    if (owner != ownAccount())
        m_members->update(owner, [](TqMeetingMember &m) {
            m.state = C::MemberJoined;
            m.owner = true;
        });
    setPhase(Phase::Active);
    m_newer.clear();
    emit membersQuery(C::Interphone, id);
}

void TqInterphoneState::reset()
{
    m_id.clear();
    m_owner.clear();
    m_speaker.clear();
    m_talk = Talk::Idle;
    m_held = false;
    m_refused = false;
    m_endReason = 0;
    m_asked.clear();
    m_early.clear();
    m_newer.clear();
    m_members->clear();
    setPhase(Phase::Idle);
}
