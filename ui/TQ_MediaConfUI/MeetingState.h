#pragma once

#include "MeetingMembers.h"
#include "tq_mediaconfui_export.h"

#include <MeetingRecords.h>

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>

// The user's multimedia (voice or video) meeting and the invitations waiting for an answer,
// without widgets. Fed by Meeting_Agent's results (the on* slots), it asks for engine work
// through its request signals (*Request, *Query), which TqMeetingAgentLink connects to the
// agent. One meeting at a time. The engine's answers do not carry the request's key, so one
// create is answered at a time. User-interface thread only.
class TQ_MEDIACONFUI_EXPORT TqMeetingState : public QObject
{
    Q_OBJECT
public:
    enum class Phase { Idle, Creating, Joining, InMeeting, Ended };
    Q_ENUM(Phase)
    enum class End { None, Left, Dismissed, EndedByOwner, Removed, Failed };
    Q_ENUM(End)

    explicit TqMeetingState(QObject *parent = nullptr);

    // Only an enabled state (a logged-in user) makes or joins meetings.
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled, const QString &account = QString());
    QString ownAccount() const { return m_members->ownAccount(); }

    Phase phase() const { return m_phase; }
    bool isBusy() const { return m_phase != Phase::Idle && m_phase != Phase::Ended; }
    QString meetingId() const { return m_id; }
    int meetingType() const { return m_type; }
    bool isVideo() const;
    QString name() const { return m_name; }
    QString owner() const { return m_owner; }
    bool isOwner() const { return !m_owner.isEmpty() && m_owner == ownAccount(); }
    TqMeetingMemberModel *members() const { return m_members; }
    bool isPublishingVideo() const { return m_publishing; }
    End endKind() const { return m_end; }
    int endReason() const { return m_endReason; }

    // Members whose picture is asked for or shown, with its size once known (invalid before).
    QHash<QString, QSize> memberVideos() const { return m_videos; }

    QList<Agent_MeetingComingInfo> invitations() const { return m_invitations; }

public slots:
    // Makes a meeting (the user joins it at once) and invites `members` once it exists.
    // False when not possible now.
    bool create(int meetingType, const QString &name, const QStringList &members);
    // Accepts the invitation `callid`; a meeting the user is in is left first.
    bool accept(const QString &callid);
    // The engine has no refusal: the invitation is only dropped here.
    void refuse(const QString &callid);
    bool invite(const QStringList &members);
    void exit();
    // Ends the meeting for everyone; the owner's only.
    bool dismiss();
    bool setPublishingVideo(bool on);
    bool setSpeakListen(const QString &member, int option);
    bool removeMember(const QString &member);
    // Shows a member's picture in a native window, or stops it.
    bool showMemberVideo(const QString &member, void *window);
    void hideMemberVideo(const QString &member);
    // Back to Idle after an ended meeting has been shown.
    void clear();

    // Meeting_Agent's results.
    void onCreateMultimediaMeeting(int reason, const Agent_MeetingInfo &info);
    void onJoinMeeting(int reason, const QString &conferenceId);
    void onExitMeeting(const QString &conferenceId);
    void onDismissMultiMediaMeeting(int reason, const QString &conferenceId);
    void onQueryMeetingMembers(int reason, const QString &conferenceId,
                               const QList<Agent_MeetingMemberInfo> &list);
    void onInviteJoinMultiMediaMeeting(int reason, const Agent_MeetingInviteInfo &info);
    void onDeleteMemberMultiMediaMeeting(int reason, const Agent_MeetingDeleteMemberInfo &info);
    void onPublishVideo(int reason, const QString &conferenceId);
    void onUnpublishVideo(int reason, const QString &conferenceId);
    void onSetMeetingSpeakListen(int reason, const Agent_MeetingMemberSpeakListenInfo &info);
    void onVoiceMeetingMessage(const Agent_VoiceMeetingMsg &msg);
    void onVideoMeetingMessage(const Agent_VideoMeetingMsg &msg);
    void onMeetingInviteIncoming(const Agent_MeetingComingInfo &info);
    void onRequestConferenceMemberVideo(int reason, const QString &conferenceId,
                                        const QString &member, int type);
    void onCancelConferenceMemberVideo(int reason, const QString &conferenceId,
                                       const QString &member, int type);
    void onRemoteVideoRatio(const QString &callId, int width, int height, int type,
                            const QString &member);

signals:
    void changed();
    void phaseChanged(TqMeetingState::Phase phase);
    void invitationsChanged();
    void memberVideosChanged();
    // A request the server refused, in words.
    void failed(const QString &what);

    void createRequest(int meetingType, const QString &name, const QString &password,
                       const QString &keywords, int voiceMode, int square, bool autoJoin,
                       bool autoClose, bool autoDelete);
    void inviteRequest(const QString &conferenceId, const QList<QString> &members, bool blanding,
                       bool isSpeak, bool isListen, const QString &disNumber,
                       const QString &userdata);
    void acceptRequest(const Agent_MeetingComingInfo &invitation);
    void exitRequest(const QString &conferenceId);
    void dismissRequest(int meetingType, const QString &conferenceId);
    void membersQuery(int meetingType, const QString &conferenceId);
    void removeRequest(int meetingType, const QString &conferenceId, const QString &member,
                       bool isVoIP);
    void publishRequest(const QString &conferenceId);
    void unpublishRequest(const QString &conferenceId);
    void speakListenRequest(int meetingType, const QString &meetingId, const QString &member,
                            bool isVoIP, int option);
    void memberVideoRequest(const QString &conferenceId, const QString &password,
                            const QString &member, void *window, int type);
    void memberVideoCancel(const QString &conferenceId, const QString &password,
                           const QString &member, int type);

private:
    void setPhase(Phase phase);
    void start(const QString &id, int type, const QString &name, const QString &owner);
    void joined();
    void end(End kind, int reason = 0);
    void reset();
    void onMessage(int event, const QString &id, const QString &who, const QString &name,
                   const QString &owner, const QString &meetingName, bool video);
    bool canAsk() const { return m_phase == Phase::InMeeting; }

    bool m_enabled = false;
    Phase m_phase = Phase::Idle;
    QString m_id;
    int m_type = 0;
    QString m_name;
    QString m_owner;
    QStringList m_toInvite; // asked at create, invited once the meeting exists
    QString m_earlyJoin; // a join answer that overtook the create answer
    bool m_leaving = false; // a create abandoned before its answer named the meeting
    bool m_publishing = false;
    End m_end = End::None;
    int m_endReason = 0;
    TqMeetingMemberModel *m_members;
    QHash<QString, QSize> m_videos;
    QSet<QString> m_newer; // members with news since the member list was asked for
    QList<Agent_MeetingComingInfo> m_invitations;
};
