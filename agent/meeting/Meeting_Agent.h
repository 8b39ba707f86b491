#pragma once

// Multimedia (voice and video) meetings, interphone meetings with their microphone, and the
// member video windows of a video meeting. Requests are queued to the shared worker thread and
// run one engine call each; the agent keeps no state between them. Results come from
// Meeting_CallBackProxy on the engine's threads; a refused request is only logged.

#include "MeetingRecords.h"
#include "tq_agent_global.h"

#include <QAtomicPointer>
#include <QList>
#include <QObject>
#include <QString>

class TQ_AGENT_EXPORT Meeting_Agent : public QObject
{
    Q_OBJECT
public:
    static Meeting_Agent *instance();
    ~Meeting_Agent() override;

signals:
    void sig_requestConferenceMemberVideo(QString conferenceId, QString conferencePasswd,
                                          QString member, void *videoWindow, int type);
    void sig_cancelMemberVideo(QString conferenceId, QString conferencePasswd, QString member,
                               int type);
    void sig_resetVideoConfWindow(QString conferenceId, QString member, void *newWindow, int type);
    void sig_setMultiMediaMeetingBeforeCreate(int callbackmode, QString serverUserData,
                                              QString reservation);
    void sig_createMultimediaMeeting(int meetingType, QString meetingName, QString password,
                                     QString keywords, int voiceMode, int square, bool bAutoJoin,
                                     bool autoClose, bool autoDelete);
    void sig_joinMeeting(int meetingType, QString conferenceId, QString password);
    void sig_acceptMeeting(int meetingType, QString conferenceId, QString callid, QString caller,
                           QString nickname, QString display, QString sdkUserData);
    void sig_exitMeeting(QString conferenceId);
    void sig_queryMeetingMembers(int meetingType, QString conferenceId);
    void sig_dismissMultiMediaMeeting(int meetingType, QString conferenceId);
    void sig_queryMultiMediaMeetings(int meetingType, QString keywords);
    void sig_setMultimediaMeetingBeforeInviteJoin(QString serverUserData);
    void sig_inviteJoinMultiMediaMeeting(QString conferenceId, QList<QString> members,
                                         bool blanding, bool isSpeak, bool isListen,
                                         QString disNumber, QString userdata);
    void sig_deleteMemberMultiMediaMeeting(int meetingType, QString conferenceId, QString member,
                                           bool isVoIP);
    void sig_publishVideo(QString conferenceId);
    void sig_unpublishVideo(QString conferenceId);
    void sig_createInterphoneMeeting(QList<QString> members);
    void sig_createInterphoneMeetingBackground(QList<QString> members, int voiceMode);
    void sig_controlInterphoneMic(bool isControl, QString interphoneId);
    void sig_setMeetingSpeakListen(int meetingType, QString meetingId, QString member, bool isVoIP,
                                   int option);

    void sig_onCreateInterphoneMeeting(int reason, QString interphoneId);
    void sig_onControlInterphoneMic(int reason, QString controller, QString interphoneId,
                                    bool requestIsControl);
    void sig_onReceiveInterphoneMeetingMessage(Agent_InterphoneMsg interphoneMsg);
    void sig_onMeetingInviteIncoming(Agent_MeetingComingInfo comeInfo);
    void sig_onReceiveVoiceMeetingMessage(Agent_VoiceMeetingMsg voiceMeetingMsg);
    void sig_onReceiveVideoMeetingMessage(Agent_VideoMeetingMsg videoMeetingMsg);
    void sig_onCreateMultimediaMeeting(int reason, Agent_MeetingInfo meetingInfo);
    void sig_onJoinMeeting(int reason, QString conferenceId);
    void sig_onQueryMeetingMembers(int reason, QString conferenceId,
                                   QList<Agent_MeetingMemberInfo> memberInfoList);
    void sig_onDismissMultiMediaMeeting(int reason, QString conferenceId);
    void sig_onQueryMultiMediaMeetings(int reason, QList<Agent_MeetingInfo> meetingInfoList);
    void sig_onDeleteMemberMultiMediaMeeting(int reason,
                                             Agent_MeetingDeleteMemberInfo deleteMemberInfo);
    void sig_onInviteJoinMultiMediaMeeting(int reason, Agent_MeetingInviteInfo inviteInfo);
    void sig_onPublishVideo(int reason, QString conferenceId);
    void sig_onUnpublishVideo(int reason, QString conferenceId);
    void sig_onRequestConferenceMemberVideo(int reason, QString conferenceId, QString member,
                                            int type);
    void sig_onCancelConferenceMemberVideo(int reason, QString conferenceId, QString member,
                                           int type);
    void sig_onExitMeeting(QString conferenceId);
    void sig_onExitInterphoneMeeting(QString interphoneId);
    void sig_onSetMeetingSpeakListen(int reason,
                                     Agent_MeetingMemberSpeakListenInfo memberSpeakListenInfo);

private slots:
    void slot_requestConferenceMemberVideo(QString conferenceId, QString conferencePasswd,
                                           QString member, void *videoWindow, int type);
    void slot_cancelMemberVideo(QString conferenceId, QString conferencePasswd, QString member,
                                int type);
    void slot_resetVideoConfWindow(QString conferenceId, QString member, void *newWindow, int type);
    void slot_setMultiMediaMeetingBeforeCreate(int callbackmode, QString serverUserData,
                                               QString reservation);
    void slot_createMultimediaMeeting(int meetingType, QString meetingName, QString password,
                                      QString keywords, int voiceMode, int square, bool bAutoJoin,
                                      bool autoClose, bool autoDelete);
    void slot_joinMeeting(int meetingType, QString conferenceId, QString password);
    void slot_acceptMeeting(int meetingType, QString conferenceId, QString callid, QString caller,
                            QString nickname, QString display, QString sdkUserData);
    void slot_exitMeeting(QString conferenceId);
    void slot_queryMeetingMembers(int meetingType, QString conferenceId);
    void slot_dismissMultiMediaMeeting(int meetingType, QString conferenceId);
    void slot_queryMultiMediaMeetings(int meetingType, QString keywords);
    void slot_setMultimediaMeetingBeforeInviteJoin(QString serverUserData);
    void slot_inviteJoinMultiMediaMeeting(QString conferenceId, QList<QString> members,
                                          bool blanding, bool isSpeak, bool isListen,
                                          QString disNumber, QString userdata);
    void slot_deleteMemberMultiMediaMeeting(int meetingType, QString conferenceId, QString member,
                                            bool isVoIP);
    void slot_publishVideo(QString conferenceId);
    void slot_unpublishVideo(QString conferenceId);
    void slot_createInterphoneMeeting(QList<QString> members);
    void slot_createInterphoneMeetingBackground(QList<QString> members, int voiceMode);
    void slot_controlInterphoneMic(bool isControl, QString interphoneId);
    void slot_setMeetingSpeakListen(int meetingType, QString meetingId, QString member, bool isVoIP,
                                    int option);

private:
    Meeting_Agent();
    void initConnections();

    static QAtomicPointer<Meeting_Agent> ins;
};
