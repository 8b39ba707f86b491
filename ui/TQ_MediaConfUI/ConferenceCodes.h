#pragma once

// The codes the conference records carry, as the client and the server agree on them. The
// records' positional fields mean (conference info) text2 name, number1 type, number2 state,
// number5 duration in minutes, number6 media, number7 locked, number8 recording, text7 the
// creator's name, number15 members in it; (member) text2 name, number2 role, number3 flags,
// number4 state; (notification) number1 event, text1 conference, text3 by whom, number2 value,
// number6 extra, number8 state, text9 the member concerned, number11 recording.
namespace TqConfCode {

constexpr int ReasonOk = 200;
constexpr int ReasonUnauthorized = 401;

enum ConfType { Instant = 1, Scheduled = 2 };
enum State { NotStarted = 0, InProgress = 1, Ended = 2 };
enum MemberState { Invited = 0, Joined = 1, Left = 2, Declined = 3, Removed = 4 };
enum Role { Attendee = 0, Host = 1 };
enum Media { Voice = 1, Video = 2 };
enum Action { MuteMicrophone = 1, UnmuteMicrophone = 2, CameraOff = 3, CameraOn = 4 };
enum RecordAction { StopRecording = 0, StartRecording = 1 };
enum Event {
    MemberJoined = 1,
    MemberLeft = 2,
    MembersRemoved = 3,
    RoleChanged = 4,
    MediaControlled = 5,
    LockChanged = 6,
    RecordingChanged = 7,
    CommandReceived = 8,
    ConferenceChanged = 9,
    ConferenceStarted = 10,
    ConferenceEnded = 11,
    InvitationDeclined = 12,
    MediaPublished = 13,
    MembersInvited = 14
};
enum EndReason { EndedByHost = 0, TimeUp = 1, EverybodyLeft = 2 };
enum Appointment { Made = 1, Changed = 2, Cancelled = 3 };

// Bits of a member's flag word.
enum Flag {
    InConference = 1 << 0,
    MicrophoneMuted = 1 << 1,
    CameraTurnedOff = 1 << 2,
    PublishingVideo = 1 << 3,
    PublishingVoice = 1 << 4,
    SharingScreen = 1 << 5,
    AwaitingAnswer = 1 << 6,
    Recorded = 1 << 10,
};

} // namespace TqConfCode
