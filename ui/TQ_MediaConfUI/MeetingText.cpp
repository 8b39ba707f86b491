#include "MeetingText.h"

#include "MeetingCodes.h"
#include "MeetingMembers.h"

#include <TqEngineText.h>

namespace C = TqMeetingCode;

QString TqMeetingText::kind(int meetingType)
{
    switch (meetingType) {
    case C::VoiceMeeting:
        return tr("Voice meeting");
    case C::VideoMeeting:
        return tr("Video meeting");
    case C::Interphone:
        return tr("Interphone");
    default:
        return tr("Meeting");
    }
}

QString TqMeetingText::memberState(int state)
{
    switch (state) {
    case C::MemberInvited:
        return tr("invited");
    case C::MemberJoined:
        return tr("in the meeting");
    case C::MemberLeft:
        return tr("left");
    case C::MemberDeclined:
        return tr("declined");
    case C::MemberRemoved:
        return tr("removed");
    default:
        return tr("unknown");
    }
}

QString TqMeetingText::option(int option)
{
    switch (option) {
    case C::SpeakAndListen:
        return tr("speaks and listens");
    case C::ListenOnly:
        return tr("listens only");
    case C::SpeakOnly:
        return tr("speaks only");
    case C::Neither:
        return tr("muted and deafened");
    default:
        return tr("setting %1").arg(option);
    }
}

QString TqMeetingText::memberName(const TqMeetingMember &member, const QString &ownAccount)
{
    QString name = member.shownName();
    if (!ownAccount.isEmpty() && member.account == ownAccount)
        name = tr("%1 (you)").arg(name);
    if (member.owner)
        name = tr("%1 · owner").arg(name);
    return name;
}

QString TqMeetingText::failure(int reason)
{
    switch (reason) {
    case C::ReasonForbidden:
        return tr("Not allowed (code %1).").arg(reason);
    case C::ReasonBusy:
        return tr("Busy: someone else has it (code %1).").arg(reason);
    default:
        return tr("%1 (code %2).").arg(TqEngineText::error(reason)).arg(reason);
    }
}
