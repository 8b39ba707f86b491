#pragma once

#include "ConferenceRecords.h"
#include "tq_mediaconfui_export.h"

#include <ConfRequestRecords.h>
#include <ConfResultRecords.h>

#include <QObject>

// The conference the user takes part in, without widgets: joining and leaving, the members
// with their roles and media, the host's controls (microphone, camera, removal, handing over
// the chair, recording, ending), the user's own screen sharing, and the recordings. Fed by
// Conference_Agent's results (the on* slots); asks through its *Request signals, which
// TqConfAgentLink connects. One conference at a time. User-interface thread only.
class TQ_MEDIACONFUI_EXPORT TqConfRoom : public QObject
{
    Q_OBJECT
public:
    enum class Phase { Idle, Joining, InConference, Ended };
    Q_ENUM(Phase)
    enum class EndCause { None, Left, EndedByHost, TimeUp, EverybodyLeft, Removed, Refused };
    Q_ENUM(EndCause)

    // The most members one list answer brings.
    static constexpr int MemberPageSize = 200;

    explicit TqConfRoom(QObject *parent = nullptr);

    QString account() const { return m_account; }
    // Empty: logged out; a conference in progress is left.
    void setAccount(const QString &account);

    Phase phase() const { return m_phase; }
    bool isIn() const { return m_phase == Phase::InConference; }
    QString confId() const { return m_confId; }
    TqConfSummary summary() const { return m_summary; }
    QList<TqConfMember> members() const { return m_summary.members; }
    TqConfMember member(const QString &id) const;
    // The user chairs the conference (the host's controls are theirs).
    bool isHost() const;
    bool isRecording() const { return m_summary.recording; }
    bool isRecordingPending() const { return m_recordPending; }
    bool isSharingScreen() const;
    QList<TqConfRecordFile> records() const { return m_records; }
    EndCause endCause() const { return m_endCause; }
    // Why joining failed (phase Ended, cause Refused).
    int joinFailure() const { return m_joinFailure; }
    // Minutes left, from the last reminder; -1 when none came.
    int minutesLeft() const { return m_minutesLeft; }

public slots:
    // False when not possible now (logged out, or in another conference).
    bool join(const QString &confId, const QString &password = QString(), bool video = false);
    void leave();
    // The host ends it for everybody.
    void end();
    // Back to Idle once an ended conference has been shown.
    void clear();

    // On the user: their own publishing; on another member: the host's media control.
    void setMicrophone(const QString &member, bool on);
    void setCamera(const QString &member, bool on);
    void kick(const QString &member);
    // Makes `member` the host, then the user an attendee.
    void handOver(const QString &member);
    void setRecording(bool on);
    void setScreenSharing(bool on);
    void refreshMembers();
    void refreshRecords();

    // Conference_Agent's results.
    void onJoined(const Agent_RequestMemberJoinConf &request, int reason,
                  const Agent_ConfInfo &info);
    void onQuit(const Agent_RequestMemberQuitConf &request, int reason);
    void onMemberList(const Agent_RequestGetConfMemberInfoList &request, int reason,
                      const QString &confId, const QList<Agent_ConferenceMemberInfo> &list);
    void onNotification(const Agent_ConfNtyMsg &msg);
    void onEndNotification(const Agent_ConfEndNtyMsg &msg);
    void onBeforeEnd(const Agent_ConfBeforeEndNtyMsg &msg);
    void onMediaControl(const Agent_RequestConfMediaControl &request, int reason);
    void onKickout(const Agent_RequestConfKickoutMember &request, int reason,
                   const QList<Agent_FaildConferenceMemberInfo> &failed);
    void onRoleSet(const Agent_RequestSetConfMemberRole &request, int reason);
    void onRecord(const Agent_RequestConfRecord &request, int reason);
    void onRecordList(const Agent_RequestConfRecordList &request, int reason,
                      const QList<Agent_ConfRecordFile> &files);
    // The answers to publishing and screen sharing: `confId` of the request.
    void onPublished(const QString &confId, int reason);
    void onDeleted(const Agent_RequestDeleteConf &request, int reason);

signals:
    void changed();
    void phaseChanged(TqConfRoom::Phase phase);
    // A request of the user's was refused; `what` names it in words.
    void failed(const QString &what, int reason);
    // Something the user should hear of (the host turned their microphone off, ...).
    void notice(const QString &text);
    void endingSoon(int minutes);

    void joinRequest(const Agent_RequestMemberJoinConf &request);
    void quitRequest(const Agent_RequestMemberQuitConf &request);
    void deleteRequest(const Agent_RequestDeleteConf &request);
    void memberListRequest(const Agent_RequestGetConfMemberInfoList &request);
    void mediaControlRequest(const Agent_RequestConfMediaControl &request);
    void kickRequest(const Agent_RequestConfKickoutMember &request);
    void roleRequest(const Agent_RequestSetConfMemberRole &request);
    void recordRequest(const Agent_RequestConfRecord &request);
    void recordListRequest(const Agent_RequestConfRecordList &request);
    void startVoiceRequest(const Agent_RequestConfStartPublishVoice &request);
    void stopVoiceRequest(const Agent_RequestConfStopPublishVoice &request);
    void startVideoRequest(const Agent_RequestConfStartPublishVideo &request);
    void stopVideoRequest(const Agent_RequestConfStopPublishVideo &request);
    void startScreenRequest(const Agent_RequestConfStartScreenSharing &request);
    void stopScreenRequest(const Agent_RequestConfStopScreenSharing &request);

private:
    void setPhase(Phase phase);
    void finish(EndCause cause);
    bool mine(const QString &confId) const { return isIn() && confId == m_confId; }
    void mediaControl(const QString &member, int action);
    void setRole(const QString &member, int role);

    QString m_account;
    Phase m_phase = Phase::Idle;
    QString m_confId;
    TqConfSummary m_summary;
    QList<TqConfRecordFile> m_records;
    EndCause m_endCause = EndCause::None;
    int m_joinFailure = 0;
    int m_minutesLeft = -1;
    bool m_video = false;
    bool m_recordPending = false;
    bool m_ending = false;
    QString m_handingOverTo;
};
