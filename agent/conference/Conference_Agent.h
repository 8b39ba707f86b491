#pragma once

// Scheduled and instant conferences: creating, changing, listing and ending them, members,
// invitations, media control, recording, and publishing video, voice and the screen.
//
// Unlike the other agents, Conference_Agent stays on the thread that created it (normally the
// user-interface thread): a request emitted there runs its engine call at once, inside the
// emit. Every request with a matchKey is kept in the pending-request store until its answer,
// and the result signal hands it back. Results come from Conference_CallBack, emitted on the
// engine's threads.

#include "ConfRequestRecords.h"
#include "ConfResultRecords.h"
#include "tq_agent_global.h"

#include <QAtomicPointer>
#include <QList>
#include <QObject>
#include <QString>

class TQ_AGENT_EXPORT Conference_Agent : public QObject
{
    Q_OBJECT
public:
    static Conference_Agent *instance();
    ~Conference_Agent() override;

signals:
    void sig_createConference(Agent_RequestCreateConf request);
    void sig_deleteConference(Agent_RequestDeleteConf request);
    void sig_updateConference(Agent_RequestUpdateConf request);
    void sig_getConferenceInfo(Agent_RequestGetConfInfo request);
    void sig_getConferenceInfoList(Agent_RequestGetConfInfoList request);
    void sig_getHistoryConferenceInfoList(Agent_RequestGetHistoryConfInfoList request);
    void sig_lockConference(Agent_RequestLockConf request);
    void sig_memberJoinConference(Agent_RequestMemberJoinConf request);
    void sig_memberQuitConference(Agent_RequestMemberQuitConf request);
    void sig_updateConferenceMember(Agent_RequestUpdateConfMember request);
    void sig_getConferenceMemberInfo(Agent_RequestGetConfMemberInfo request);
    void sig_getConferenceMemberInfoList(Agent_RequestGetConfMemberInfoList request);
    void
    sig_getHistoryConferenceMemberInfoList(Agent_RequestGetHistoryConferenceMemberInfoList request);
    void sig_conferenceInviteMember(Agent_RequestConfInviteMember request);
    void sig_conferenceMemberRejectInvitation(Agent_RequestConfMemberRejectInvitation request);
    void sig_conferenceKickoutMember(Agent_RequestConfKickoutMember request);
    void sig_setConferenceMemberRole(Agent_RequestSetConfMemberRole request);
    void sig_conferenceSendCmd(Agent_RequestConfSendCmd request);
    void sig_conferenceMediaControl(Agent_RequestConfMediaControl request);
    void sig_conferenceRecord(Agent_RequestConfRecord request);
    void sig_getConfRecordList(Agent_RequestConfRecordList request);
    void sig_conferenceStartPublishVideo(Agent_RequestConfStartPublishVideo request);
    void sig_conferenceStopPublishVideo(Agent_RequestConfStopPublishVideo request);
    void sig_conferenceStartScreenSharing(Agent_RequestConfStartScreenSharing request);
    void sig_conferenceStopScreenSharing(Agent_RequestConfStopScreenSharing request);
    void sig_conferenceStartPublishVoice(Agent_RequestConfStartPublishVoice request);
    void sig_conferenceStopPublishVoice(Agent_RequestConfStopPublishVoice request);
    void sig_conferenceRequestMemberVideo(Agent_RequestConfRequestMemberVideo request);
    void sig_conferenceCancelMemberVideo(Agent_RequestConfCancelMemberVideo request);
    void sig_conferenceResetMemberView(Agent_RequestConfResetMemberView request);
    void sig_conferenceAppSetting();

    void sig_onReceivedConferenceNotification(Agent_ConfNtyMsg msg, QString jsonString);
    void sig_onReceivedConferenceInviteNotification(Agent_ConfInviteNtyMsg msg, QString jsonString);
    void sig_onReceivedConferenceAppointmentNotification(Agent_ConfAppointmentNtyMsg msg,
                                                         QString jsonString);
    void sig_onReceivedConferenceBeforeStartNotification(Agent_ConfBeforeStartNtyMsg msg,
                                                         QString jsonString);
    void sig_onReceivedConferenceBeforeEndNotification(Agent_ConfBeforeEndNtyMsg msg,
                                                       QString jsonString);
    void sig_onReceivedConferenceEndNotification(Agent_ConfEndNtyMsg msg, QString jsonString);
    void sig_onCreateConference(Agent_RequestCreateConf request, int reason, QString confId,
                                QString jsonString);
    void sig_onDeleteConference(Agent_RequestDeleteConf request, int reason, QString jsonString);
    void sig_onUpdateConference(Agent_RequestUpdateConf request, int reason, QString jsonString);
    void sig_onGetConferenceInfo(Agent_RequestGetConfInfo request, int reason, Agent_ConfInfo info,
                                 QString jsonString);
    void sig_onGetConferenceInfoList(Agent_RequestGetConfInfoList request, int reason,
                                     QList<Agent_ConfInfo> listConfInfo, QString jsonString);
    void sig_onGetHistoryConferenceInfoList(Agent_RequestGetHistoryConfInfoList request, int reason,
                                            QList<Agent_ConfInfo> listHistoryConfInfo,
                                            QString jsonString);
    void sig_onLockConference(Agent_RequestLockConf request, QString confId, int reason,
                              QString jsonString);
    void sig_onMemberJoinConference(Agent_RequestMemberJoinConf request, int reason,
                                    Agent_ConfInfo info, QString jsonString);
    void sig_onMemberQuitConference(Agent_RequestMemberQuitConf request, int reason,
                                    QString jsonString);
    void sig_onUpdateConferenceMember(Agent_RequestUpdateConfMember request, int reason,
                                      QString jsonString);
    void sig_onGetConferenceMemberInfo(Agent_RequestGetConfMemberInfo request, int reason,
                                       QString confId, Agent_ConferenceMemberInfo info,
                                       QString jsonString);
    void sig_onGetConferenceMemberInfoList(Agent_RequestGetConfMemberInfoList request, int reason,
                                           QString confId,
                                           QList<Agent_ConferenceMemberInfo> listConfMemberInfo,
                                           QString jsonString);
    void sig_onGetHistoryConferenceMemberInfoList(
        Agent_RequestGetHistoryConferenceMemberInfoList request, int reason, QString confId,
        QList<Agent_ConferenceMemberInfo> listConfMemberInfo, QString jsonString);
    void sig_onConferenceInviteMember(Agent_RequestConfInviteMember request, int reason,
                                      QString confId,
                                      QList<Agent_FaildConferenceMemberInfo> listFaildMemberInfo,
                                      QString jsonString);
    void sig_onConferenceMemberRejectInvitation(Agent_RequestConfMemberRejectInvitation request,
                                                QString confId, int reason, QString jsonString);
    void sig_onConferenceKickoutMember(Agent_RequestConfKickoutMember request, int reason,
                                       QString confId,
                                       QList<Agent_FaildConferenceMemberInfo> listFaildMemberInfo,
                                       QString jsonString);
    void sig_onSetConferenceMemberRole(Agent_RequestSetConfMemberRole request, QString confId,
                                       int reason, QString jsonString);
    void sig_onConferenceSendCmd(Agent_RequestConfSendCmd request, QString confId, int reason,
                                 QString jsonString);
    void sig_onConferenceMediaControl(Agent_RequestConfMediaControl request, int reason,
                                      QString jsonString);
    void sig_onConferenceRecord(Agent_RequestConfRecord request, int reason, QString jsonString);
    void sig_onGetConferenceRecordList(Agent_RequestConfRecordList request, int reason,
                                       QList<Agent_ConfRecordFile> confRecordFile);
    void sig_onConferenceAudioPlay(int reason, QString jsonString);
    void sig_onConferenceStartPublishVideo(Agent_RequestConfStartPublishVideo request, int reason,
                                           QString jsonString);
    void sig_onConferenceStopPublishVideo(Agent_RequestConfStopPublishVideo request, int reason,
                                          QString jsonString);
    void sig_onConferenceStartScreenSharing(Agent_RequestConfStartScreenSharing request, int reason,
                                            QString jsonString);
    void sig_onConferenceStopScreenSharing(Agent_RequestConfStopScreenSharing request, int reason,
                                           QString jsonString);
    void sig_onConferenceStartPublishVoice(Agent_RequestConfStartPublishVoice request, int reason,
                                           QString jsonString);
    void sig_onConferenceStopPublishVoice(Agent_RequestConfStopPublishVoice request, int reason,
                                          QString jsonString);
    void sig_onConferenceRequestMemberVideo(int reason, QString confId, QString member,
                                            int mediaSourceType, QString jsonString);
    void sig_onConferenceCancelMemberVideo(int reason, QString confId, QString member,
                                           int mediaSourceType, QString jsonString);
    void sig_onConferenceGetAppSetting(int reason, Agent_ConfAppSetting setting);

private slots:
    void slot_createConference(Agent_RequestCreateConf request);
    void slot_deleteConference(Agent_RequestDeleteConf request);
    void slot_updateConference(Agent_RequestUpdateConf request);
    void slot_getConferenceInfo(Agent_RequestGetConfInfo request);
    void slot_getConferenceInfoList(Agent_RequestGetConfInfoList request);
    void slot_getHistoryConferenceInfoList(Agent_RequestGetHistoryConfInfoList request);
    void slot_lockConference(Agent_RequestLockConf request);
    void slot_memberJoinConference(Agent_RequestMemberJoinConf request);
    void slot_memberQuitConference(Agent_RequestMemberQuitConf request);
    void slot_updateConferenceMember(Agent_RequestUpdateConfMember request);
    void slot_getConferenceMemberInfo(Agent_RequestGetConfMemberInfo request);
    void slot_getConferenceMemberInfoList(Agent_RequestGetConfMemberInfoList request);
    void slot_getHistoryConferenceMemberInfoList(
        Agent_RequestGetHistoryConferenceMemberInfoList request);
    void slot_conferenceInviteMember(Agent_RequestConfInviteMember request);
    void slot_conferenceMemberRejectInvitation(Agent_RequestConfMemberRejectInvitation request);
    void slot_conferenceKickoutMember(Agent_RequestConfKickoutMember request);
    void slot_setConferenceMemberRole(Agent_RequestSetConfMemberRole request);
    void slot_conferenceSendCmd(Agent_RequestConfSendCmd request);
    void slot_conferenceMediaControl(Agent_RequestConfMediaControl request);
    void slot_conferenceRecord(Agent_RequestConfRecord request);
    void slot_getConfRecordList(Agent_RequestConfRecordList request);
    void slot_conferenceStartPublishVideo(Agent_RequestConfStartPublishVideo request);
    void slot_conferenceStopPublishVideo(Agent_RequestConfStopPublishVideo request);
    void slot_conferenceStartScreenSharing(Agent_RequestConfStartScreenSharing request);
    void slot_conferenceStopScreenSharing(Agent_RequestConfStopScreenSharing request);
    void slot_conferenceStartPublishVoice(Agent_RequestConfStartPublishVoice request);
    void slot_conferenceStopPublishVoice(Agent_RequestConfStopPublishVoice request);
    void slot_conferenceRequestMemberVideo(Agent_RequestConfRequestMemberVideo request);
    void slot_conferenceCancelMemberVideo(Agent_RequestConfCancelMemberVideo request);
    void slot_conferenceResetMemberView(Agent_RequestConfResetMemberView request);
    void slot_conferenceAppSetting();

private:
    explicit Conference_Agent(QObject *parent = nullptr);
    void initConnections();

    static QAtomicPointer<Conference_Agent> ins;
};
