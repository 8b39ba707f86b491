#pragma once

// The stand-in engine's model of meetings: multimedia (voice and video) meetings with their
// members, invitations and the simulated people's answers, speak and listen settings,
// published video and the user's member video windows; interphone meetings with their
// microphone. Tests read and change it under the engine's lock through
// zssim::Control::withServer.

#include <ZSsdk.h>

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QtGlobal>

struct MeetingModel
{
    // This engine's meeting types, in meetingType arguments and records.
    enum Type { VoiceMeeting = 1, VideoMeeting = 2, InterphoneMeeting = 3 };
    enum MemberState {
        Invited = 0,
        Joined = 1,
        Left = 2, // also a creator who has not joined
        Declined = 3,
        Removed = 4
    };
    enum Role { Attendee = 0, Creator = 1 };
    // Options of SetMeetingSpeakListen; an invitation sets them from isSpeak and isListen.
    enum SpeakListen { SpeakAndListen = 0, ListenOnly = 1, SpeakOnly = 2, Neither = 3 };
    // How a simulated person answers an invitation.
    enum Answer { Accept, Decline, NoAnswer };
    // Events of the meeting and interphone messages (their number1).
    enum Event {
        MemberJoined = 1,
        MemberLeft = 2,
        MemberRemoved = 3,
        MeetingEnded = 4,
        InvitationDeclined = 5,
        VideoPublished = 6,
        VideoUnpublished = 7,
        MicTaken = 8,
        MicReleased = 9,
        InterphoneInvited = 10 // the user was made a member of another's interphone
    };

    struct Member
    {
        QString account;
        int state = Invited;
        int role = Attendee;
        bool isVoIP = true;
        int speakListen = SpeakAndListen;
        bool publishingVideo = false;
        QString userData; // the server user data of the invitation that brought them
    };

    // A member's video shown in one of the user's windows.
    struct VideoWindow
    {
        QString member;
        quintptr window = 0;
        int type = 0;
    };

    struct Meeting
    {
        QString id;
        int type = VoiceMeeting;
        QString name;
        QString password; // empty: none asked
        QString keywords;
        QString creator;
        int voiceMode = 0;
        int square = 0; // most members in at once; 0: no limit
        bool autoJoin = false;
        bool autoClose = false; // ends when its last member leaves (interphones always do)
        bool autoDelete = false;
        // Options of the SetMultiMediaMeetingBeforeCreate that preceded the create.
        int callbackMode = 0;
        QString serverUserData;
        QString reservation;
        bool background = false; // an interphone made by CreateInterphoneMeetingBackground
        QList<Member> members; // the creator first, then in the order invited
        QString micHolder; // interphone: who holds the microphone; empty when free
        QList<VideoWindow> videoWindows;

        Member *member(const QString &account)
        {
            for (Member &m : members)
                if (m.account == account)
                    return &m;
            return nullptr;
        }
        const Member *member(const QString &account) const
        {
            return const_cast<Meeting *>(this)->member(account);
        }
        bool isIn(const QString &account) const
        {
            const Member *m = member(account);
            return m && m->state == Joined;
        }
        QStringList joined() const
        {
            QStringList in;
            for (const Member &m : members)
                if (m.state == Joined)
                    in << m.account;
            return in;
        }
    };

    // An invitation to the user, open until accepted or the meeting ends.
    struct Invitation
    {
        QString conferenceId;
        QString callid;
        QString caller;
        int meetingType = 0;
        QString sdkUserData;
    };

    // An InviteJoinMultiMediaMeeting as the server took it.
    struct Invite
    {
        QString conferenceId;
        QStringList members;
        bool blanding = false;
        bool isSpeak = false;
        bool isListen = false;
        QString disNumber;
        QString userdata;
        QString serverUserData; // of setMultimediaMeetingBeforeInviteJoin
    };

    struct CreateOptions
    {
        bool set = false;
        int callbackMode = 0;
        QString serverUserData;
        QString reservation;
    };

    // Addresses of the last member list handed over (CreateInterphoneMeeting[Background],
    // InviteJoinMultiMediaMeeting): the array and each text, as the caller passed them.
    struct MemberArray
    {
        quintptr array = 0;
        QList<quintptr> texts;
    };

    QList<Meeting> meetings; // in the order made; ended meetings are gone
    QList<Invitation> invitations;
    QList<Invite> invites;
    // Members not listed answer with `otherAnswer`.
    QMap<QString, Answer> answers{{QStringLiteral("bob"), Accept},
                                  {QStringLiteral("carol"), Accept}};
    Answer otherAnswer = Accept;
    CreateOptions nextCreate;
    bool nextInviteSet = false;
    QString nextInviteUserData;
    int nextMeeting = 1;
    int nextInterphone = 1;
    int nextInvitation = 1;
    // Size of a member's video reported (onRemoteVideoRatio of the call table) once a window
    // shows it.
    int remoteVideoWidth = 640;
    int remoteVideoHeight = 480;
    MemberArray lastMemberArray;

    Meeting *find(const QString &id)
    {
        for (Meeting &m : meetings)
            if (m.id == id)
                return &m;
        return nullptr;
    }
};

namespace zssim {

// `from` invites the user to a new meeting of theirs (in it at once, publishing video in a
// video meeting): onMeetingInviteIncoming reports it; AcceptMeeting with that record joins.
// Returns the meeting's id.
ZSSDK_API QString injectMeetingInvitation(const QString &from,
                                          int meetingType = MeetingModel::VideoMeeting,
                                          const QString &name = QString(),
                                          const QString &sdkUserData = QString());
// `from` makes an interphone meeting of the user and `others`, all in it at once: an
// interphone message (InterphoneInvited) reports it. Returns its id.
ZSSDK_API QString injectInterphoneInvitation(const QString &from,
                                             const QStringList &others = QStringList());
// Another member joins or leaves a meeting or an interphone; its message reports it. False
// when there is no such meeting (or, leaving, the member is not in it).
ZSSDK_API bool injectMeetingMemberJoined(const QString &meetingId, const QString &member);
ZSSDK_API bool injectMeetingMemberLeft(const QString &meetingId, const QString &member);
// A member of a video meeting starts or stops publishing video. False when they are not in a
// video meeting.
ZSSDK_API bool injectMemberVideo(const QString &meetingId, const QString &member, bool publishing);
// A member of an interphone takes (the microphone must be free) or releases (they must hold
// it) the microphone. False otherwise.
ZSSDK_API bool injectInterphoneMic(const QString &interphoneId, const QString &member, bool take);
// The meeting or interphone ends (its creator dismissed it): MeetingEnded, then it is gone.
ZSSDK_API bool injectMeetingEnded(const QString &meetingId);

} // namespace zssim
