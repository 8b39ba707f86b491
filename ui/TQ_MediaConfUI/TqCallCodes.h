#pragma once

// The engine's numbers as the call windows use them. The windows see the engine only through
// Voip_Agent's records, so the values are restated here rather than taken from its C header.
namespace TqCallCode {

// sig_makeCall's call type: Voip_Agent dials 1 with MakeCall and 2 with MakeCallEx; the engine
// reports the same number back as the call type of call events and incoming calls
// (Agent_VoIPComingInfo::number1). 7 would also share the screen and is not offered.
constexpr int VoiceCall = 1;
constexpr int VideoCall = 2;

// The media type of sig_requestSwitchCallMediaType and its answers.
constexpr int MediaVoice = 0;
constexpr int MediaVideo = 1;

// Agent_VoIPCallMsg::eCode.
constexpr int EventProceeding = 1;
constexpr int EventAlerting = 2;
constexpr int EventAnswered = 3;
constexpr int EventReleased = 4;

// Release reasons (SIP-like), given to sig_releaseCall and read from released events.
constexpr int ReasonNormal = 200; // hang-up
constexpr int ReasonNotFound = 404;
constexpr int ReasonTimeout = 408;
constexpr int ReasonBusy = 486; // another call arrives while one is up
constexpr int ReasonDeclined = 603; // the user rejects an incoming call
// Not from the engine: the call could not be placed at all.
constexpr int ReasonNotPlaced = -1;

constexpr bool isVideoCallType(int callType)
{
    return callType == VideoCall;
}

} // namespace TqCallCode
