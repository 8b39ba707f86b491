#pragma once

// The stand-in engine's model of conferences: scheduled and instant conferences with their
// members, invitations and the simulated people's answers, host controls, recordings,
// published media and member videos, and the clock that brings reminders, starts and ends.
// Tests read and change it under the engine's lock through zssim::Control::withServer.

#include <ZSsdk.h>

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QtGlobal>

struct ConferenceModel
{
    // The codes this engine uses in the records (see the conference section of the README).
    enum ConfType { Instant = 1, Scheduled = 2 };
    enum State { NotStarted = 0, InProgress = 1, Ended = 2 };
    enum MemberState { Invited = 0, Joined = 1, Left = 2, Declined = 3, Removed = 4 };
    enum Role { Attendee = 0, Host = 1 };
    enum MediaType { Voice = 1, Video = 2 };
    enum MediaSource { Camera = 1, Screen = 2 }; // of a member video
    // Media-control actions.
    enum Action { MuteMicrophone = 1, UnmuteMicrophone = 2, CameraOff = 3, CameraOn = 4 };
    // Recording actions; any other action stops a recording.
    enum RecordAction { StopRecording = 0, StartRecording = 1 };
    // Events of the general notification (its number1).
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
    // Why a conference ended (the end notification's number1).
    enum EndReason { EndedByHost = 0, TimeUp = 1, EverybodyLeft = 2 };
    // What an appointment notification reports (its number1).
    enum Appointment { Made = 1, Changed = 2, Cancelled = 3 };
    // How a simulated person answers an invitation.
    enum Answer { Accept, Decline, NoAnswer };

    // Bits of a member record's flag word (number3).
    enum Flag {
        InConference = 1 << 0,
        MicrophoneMuted = 1 << 1, // by the host
        CameraTurnedOff = 1 << 2, // by the host
        PublishingVideo = 1 << 3,
        PublishingVoice = 1 << 4,
        SharingScreen = 1 << 5,
        AwaitingAnswer = 1 << 6,
        DeclinedInvitation = 1 << 7,
        RemovedByHost = 1 << 8,
        LeftConference = 1 << 9,
        Recorded = 1 << 10,
        Unchangeable = 1 << 11 // the host's control may not be undone by the member
    };

    struct Member
    {
        QString id; // an account
        QString name; // display name
        QString shortNumber;
        int idType = 0;
        int role = Attendee;
        int state = Invited;
        int deviceType = 1; // 1: desktop client
        int mediaType = Voice;
        QString phoneNumber;
        QString appData;
        QString terminalUA;
        QString inviter;
        QDateTime invitedAt;
        QDateTime joinedAt;
        QDateTime leftAt;
        bool microphoneMuted = false;
        bool cameraTurnedOff = false;
        bool unchangeable = false;
        bool publishingVideo = false;
        bool publishingVoice = false;
        bool sharingScreen = false;
        bool recorded = false;

        int flags() const
        {
            return (state == Joined ? InConference : 0) | (microphoneMuted ? MicrophoneMuted : 0)
                | (cameraTurnedOff ? CameraTurnedOff : 0) | (publishingVideo ? PublishingVideo : 0)
                | (publishingVoice ? PublishingVoice : 0) | (sharingScreen ? SharingScreen : 0)
                | (state == Invited ? AwaitingAnswer : 0)
                | (state == Declined ? DeclinedInvitation : 0)
                | (state == Removed ? RemovedByHost : 0) | (state == Left ? LeftConference : 0)
                | (recorded ? Recorded : 0) | (unchangeable ? Unchangeable : 0);
        }
    };

    struct RecordFile
    {
        QString id;
        QString url;
        int seconds = 0;
        QDateTime start;
        QDateTime end;
    };

    struct Conference
    {
        QString id;
        QString name;
        int confType = Instant;
        int state = NotStarted;
        QString creator;
        QString moderator; // a second host; empty: the creator alone
        QString ownerPassword;
        QString password; // needed to join, when set (the owner password does too)
        QString appData;
        QString extraText;
        int maxMemberCount = 0; // 0: no limit
        int voiceMode = 0;
        int autoClose = 0; // 1: ends when the last member leaves
        int duration = 0; // minutes; 0: until ended
        int sendInvitation = 0; // 1: members hear of a scheduled conference (appointments)
        int remindBeforeStart = 0; // minutes; 0: no reminder
        int remindBeforeEnd = 0;
        int mediaType = Voice;
        int joinState = 0;
        QStringList topics; // every topic it had, oldest first
        QDateTime createTime;
        QDateTime updateTime;
        QDateTime reserveStartTime; // when it is to start
        QDateTime startTime; // when it started
        QDateTime endTime; // when it ended
        bool locked = false;
        bool recording = false;
        QDateTime recordingSince;
        QList<RecordFile> records;
        QList<Member> members;
        bool remindedBeforeStart = false;
        bool remindedBeforeEnd = false;

        // The moderator, and whoever's member record says host: a creator who handed the
        // chair over keeps no host rights.
        bool isHost(const QString &user) const
        {
            if (!moderator.isEmpty() && user == moderator)
                return true;
            for (const Member &m : members)
                if (m.id == user)
                    return m.role == Host;
            return user == creator;
        }
        Member *member(const QString &user)
        {
            for (Member &m : members)
                if (m.id == user)
                    return &m;
            return nullptr;
        }
        int joinedCount() const
        {
            int n = 0;
            for (const Member &m : members)
                n += m.state == Joined;
            return n;
        }
        QDateTime plannedEnd() const
        {
            return duration > 0 && startTime.isValid() ? startTime.addSecs(qint64(duration) * 60)
                                                       : QDateTime();
        }
    };

    struct MemberVideo
    {
        QString confId;
        QString member;
        quintptr window = 0;
        int mediaSourceType = Camera;
        int width = 0;
        int height = 0;
    };

    struct Command
    {
        QString confId;
        QString from;
        bool allMembers = false;
        QStringList to;
        QString data;
    };

    // Every conference by id, the ended ones included (the history).
    QMap<QString, Conference> conferences;
    int nextConference = 1;
    int nextRecord = 1;
    int nextInvitation = 1;
    // The simulated people's answers to invitations; anyone not listed does not answer.
    // A person who accepts joins with voice (and video in a video conference).
    QMap<QString, Answer> answers{{QStringLiteral("bob"), Accept},
                                  {QStringLiteral("carol"), Decline}};
    // The model's clock; invalid: the real clock. A test sets it and moves it with
    // zssim::advanceConferenceClock, which brings what became due.
    QDateTime clock;
    QList<MemberVideo> memberVideos; // shown in the user's windows
    QList<Command> commands; // sent by the user
    int appSetting = 1;
    // Size of a member's picture reported through the call table's onRemoteVideoRatio.
    int cameraWidth = 640;
    int cameraHeight = 480;
    int screenWidth = 1280;
    int screenHeight = 720;

    QDateTime now() const { return clock.isValid() ? clock : QDateTime::currentDateTime(); }
};

namespace zssim {

// The clock: frozen at `now` (an invalid time: the real clock again).
ZSSDK_API void setConferenceClock(const QDateTime &now);
ZSSDK_API QDateTime conferenceClock();
// Moves the frozen clock on and pushes what became due (reminders, starts, ends), in order,
// on the engine's thread. Returns the number of moments that came.
ZSSDK_API int advanceConferenceClock(qint64 seconds);

// The moments of one conference, at once whatever the clock says. False when there is no
// such conference or the moment does not apply (a conference that already started, ...).
ZSSDK_API bool startConferenceNow(const QString &confId);
ZSSDK_API bool endConferenceNow(const QString &confId, int reason = ConferenceModel::EndedByHost);
ZSSDK_API bool remindBeforeStart(const QString &confId);
ZSSDK_API bool remindBeforeEnd(const QString &confId);

// `from` starts an instant conference and invites the current user (an invitation
// notification with its invitation id). Returns the conference's id.
ZSSDK_API QString injectConferenceInvitation(const QString &from, const QString &name,
                                             int mediaType = ConferenceModel::Voice);
// `from` schedules a conference with the current user as a member (an appointment
// notification). Returns the conference's id.
ZSSDK_API QString injectConferenceAppointment(const QString &from, const QString &name,
                                              const QDateTime &start, int durationMinutes,
                                              int remindBeforeStart = 0, int remindBeforeEnd = 0);

// What another member does in a conference; announced to the current user when they take
// part in it. False when there is no such conference or member.
enum class MemberEvent {
    Join,
    Quit,
    StartVideo,
    StopVideo,
    StartVoice,
    StopVoice,
    StartScreen,
    StopScreen
};
ZSSDK_API bool injectMemberEvent(const QString &confId, const QString &member, MemberEvent event);
// A host (`by`) removes members, controls their media, or sends a command to everybody.
ZSSDK_API bool injectKickout(const QString &confId, const QString &by, const QStringList &members);
ZSSDK_API bool injectMediaControl(const QString &confId, const QString &by,
                                  const QStringList &members, int action,
                                  bool unchangeable = false);
ZSSDK_API bool injectConferenceCommand(const QString &confId, const QString &from,
                                       const QString &cmdData);
// A sound the conference plays (onConferenceAudioPlay).
ZSSDK_API void injectConferenceAudioPlay(int reason, const QString &jsonString);

} // namespace zssim
