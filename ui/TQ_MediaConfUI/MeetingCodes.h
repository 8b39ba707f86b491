#pragma once

// The engine's meeting numbers as the meeting windows use them. The windows see the engine
// only through Meeting_Agent's records, so the values are restated here rather than taken from
// its C header.
namespace TqMeetingCode {

// meetingType of the requests and records.
constexpr int VoiceMeeting = 1;
constexpr int VideoMeeting = 2;
constexpr int Interphone = 3;

// A member's state (Agent_MeetingMemberInfo::number1).
constexpr int MemberInvited = 0;
constexpr int MemberJoined = 1;
constexpr int MemberLeft = 2;
constexpr int MemberDeclined = 3;
constexpr int MemberRemoved = 4;

// A member's role (Agent_MeetingMemberInfo::number2).
constexpr int RoleCreator = 1;

// The option of sig_setMeetingSpeakListen (Agent_MeetingMemberInfo::number3).
constexpr int SpeakAndListen = 0;
constexpr int ListenOnly = 1;
constexpr int SpeakOnly = 2;
constexpr int Neither = 3;

constexpr int option(bool speak, bool listen)
{
    return speak ? (listen ? SpeakAndListen : SpeakOnly) : (listen ? ListenOnly : Neither);
}
constexpr bool canSpeak(int option)
{
    return option == SpeakAndListen || option == SpeakOnly;
}
constexpr bool canListen(int option)
{
    return option == SpeakAndListen || option == ListenOnly;
}

// What a meeting or interphone message reports (its number1).
constexpr int EventJoined = 1;
constexpr int EventLeft = 2;
constexpr int EventRemoved = 3;
constexpr int EventEnded = 4;
constexpr int EventDeclined = 5;
constexpr int EventVideoOn = 6;
constexpr int EventVideoOff = 7;
constexpr int EventMicTaken = 8;
constexpr int EventMicReleased = 9;
constexpr int EventInterphoneInvited = 10; // the user was made a member of another's interphone

// The window type of sig_requestConferenceMemberVideo for a member's picture.
constexpr int MemberVideoWindow = 1;
// The type of onConfRemoteVideoRatio for a meeting member's picture.
constexpr int RemoteVideoConference = 1;

constexpr int ReasonSuccess = 200;
constexpr int ReasonForbidden = 403;
constexpr int ReasonBusy = 486;

} // namespace TqMeetingCode
