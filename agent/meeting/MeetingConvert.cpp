#include "MeetingConvert.h"

#include <FixedField.h>

#include <cstring>

using tq::engineFlag;
using tq::readField;

namespace meeting {

namespace {

// The seven texts every meeting message carries (voice, video, interphone).
template<class Record, class Message> void readMessageTexts(const Record &r, Message &msg)
{
    msg.text1 = readField(r.text1);
    msg.text2 = readField(r.text2);
    msg.text3 = readField(r.text3);
    msg.text4 = readField(r.text4);
    msg.text5 = readField(r.text5);
    msg.text6 = readField(r.text6);
    msg.text7 = readField(r.text7);
}

} // namespace

void toEngine(const Agent_MeetingComingInfo &info, ZS_MeetingInvitation &r)
{
    // The padding after the last field goes to the engine too.
    std::memset(static_cast<void *>(&r), 0, sizeof r);
    r.meetingType = info.meetingType;
    tq::writeField(r.conferenceId, info.conferenceId);
    tq::writeField(r.callid, info.callid);
    tq::writeField(r.caller, info.caller);
    tq::writeField(r.nickname, info.nickname);
    tq::writeField(r.display, info.display);
    tq::writeField(r.sdkUserData, info.sdkUserData);
}

Agent_MeetingComingInfo fromEngine(const ZS_MeetingInvitation &r)
{
    Agent_MeetingComingInfo info;
    info.meetingType = r.meetingType;
    info.conferenceId = readField(r.conferenceId);
    info.callid = readField(r.callid);
    info.caller = readField(r.caller);
    info.nickname = readField(r.nickname);
    info.display = readField(r.display);
    info.sdkUserData = readField(r.sdkUserData);
    return info;
}

Agent_MeetingInfo fromEngine(const ZS_MeetingInfo &r)
{
    Agent_MeetingInfo info;
    info.number1 = r.number1;
    info.number2 = r.number2;
    info.number3 = r.number3;
    info.number4 = r.number4;
    info.text1 = readField(r.text1);
    info.text2 = readField(r.text2);
    info.text3 = readField(r.text3);
    info.text4 = readField(r.text4);
    return info;
}

Agent_MeetingMemberInfo fromEngine(const ZS_MeetingMemberInfo &r)
{
    Agent_MeetingMemberInfo member;
    member.number1 = r.number1;
    member.number2 = r.number2;
    member.number3 = r.number3;
    member.number4 = r.number4;
    member.text1 = readField(r.text1);
    member.text2 = readField(r.text2);
    member.text3 = readField(r.text3);
    member.text4 = readField(r.text4);
    member.flag1 = engineFlag(r.flag1);
    member.flag2 = engineFlag(r.flag2);
    member.flag3 = engineFlag(r.flag3);
    return member;
}

Agent_MeetingDeleteMemberInfo fromEngine(const ZS_MeetingDeleteMemberInfo &r)
{
    Agent_MeetingDeleteMemberInfo info;
    info.conferenceId = readField(r.conferenceId);
    info.member = readField(r.member);
    info.meetingType = r.meetingType;
    info.isVoIP = engineFlag(r.isVoIP);
    return info;
}

Agent_MeetingMemberSpeakListenInfo fromEngine(const ZS_MeetingSpeakListenInfo &r)
{
    Agent_MeetingMemberSpeakListenInfo info;
    info.meetingType = r.meetingType;
    info.meetingId = readField(r.meetingId);
    info.member = readField(r.member);
    info.option = r.option;
    info.isVoIP = engineFlag(r.isVoIP);
    return info;
}

Agent_MeetingInviteInfo fromEngine(const ZS_MeetingInviteResult &r)
{
    Agent_MeetingInviteInfo info;
    info.conferenceId = readField(r.conferenceId);
    info.members = tq::convertArray(r.members, r.memberCount,
                                    [](const char *member) { return tq::fromEngineText(member); });
    info.resultText = tq::fromEngineText(r.resultText);
    info.flag1 = engineFlag(r.flag1);
    info.flag2 = engineFlag(r.flag2);
    return info;
}

Agent_InterphoneMsg fromEngine(const ZS_InterphoneMsg &r)
{
    Agent_InterphoneMsg msg;
    msg.number1 = r.number1;
    msg.number2 = r.number2;
    readMessageTexts(r, msg);
    return msg;
}

Agent_VoiceMeetingMsg fromEngine(const ZS_VoiceMeetingMsg &r)
{
    Agent_VoiceMeetingMsg msg;
    msg.number1 = r.number1;
    msg.number2 = r.number2;
    readMessageTexts(r, msg);
    msg.flag1 = engineFlag(r.flag1);
    return msg;
}

Agent_VideoMeetingMsg fromEngine(const ZS_VideoMeetingMsg &r)
{
    Agent_VideoMeetingMsg msg;
    msg.number1 = r.number1;
    msg.number2 = r.number2;
    msg.number3 = r.number3;
    msg.number4 = r.number4;
    readMessageTexts(r, msg);
    msg.flag1 = engineFlag(r.flag1);
    return msg;
}

} // namespace meeting
