#pragma once

// Messages, files, pictures, voice notes and groups. Requests are queued to the shared worker
// thread. The four sends of a new message wait in a send queue that a 250 ms timer drains, one
// send per tick, in request order; every other request calls the engine at once. Results come
// from the slots (pre-send records, voice codes) or from IM_CallBackProxy on the engine's
// threads.

#include "GroupRecords.h"
#include "ImRecords.h"
#include "tq_agent_global.h"

#include <QAtomicInteger>
#include <QAtomicPointer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>

class QTimer;

class TQ_AGENT_EXPORT IM_Agent : public QObject
{
    Q_OBJECT
public:
    static IM_Agent *instance();
    ~IM_Agent() override;

    // Synchronous, from any thread: the voice note's length in milliseconds, 0 when the
    // engine cannot tell.
    void getVoiceDuration(ChatMsgData msg, int &duration);

signals:
    void sig_sendTextMessage(QString receiver, QString message, Agent_MsgType type,
                             QString userdata);
    void sig_sendTextMessageEX(QString receiver, QString message, Agent_MsgType type,
                               QString userdata, QString jsonString);
    void sig_sendMediaMessageEX(QString receiver, QString fileName, Agent_MsgType type,
                                QString userdata, QString jsonString, QString originFilePath);
    void sig_retryMediaMessageEX(QString receiver, QString fileName, Agent_MsgType type,
                                 QString userdata, QString jsonString, QString originFilePath,
                                 QString uuid, QString offsetJson, QString oldMsgId);
    void sig_downloadFileMessage(QString sender, QString recv, QString url, QString fileName,
                                 QString msgId, Agent_MsgType type);
    void sig_downloadShareUrlPic(QString url, QString filePath, Agent_MsgType type, QString sender);
    void sig_cancelUploadOrDownloadNOW(int matchKey);
    void sig_deleteMessage(int type, QString msgId);
    void sig_withDrawMessage(QString msgId, QString chatId, QString sendId, int type);
    void sig_setTopContact(QString contact, bool isTop);
    void sig_getTopContact();
    void sig_setReadStatue(QString msgId);
    void sig_startVoiceRecording(QString fileName, QString sessionId);
    void sig_stopVoiceRecording(int sendClickState);
    void sig_playVoiceMsg(QString fileName, QString sessionId);
    void sig_stopVoiceMsg();
    void sig_getVoiceDuration(ChatMsgData msg);
    void sig_setConfirmMsgVersionFrequency(int number);
    void sig_setFetchMessageFromLast(bool bFlag);
    // Connected to nothing: slot_printScreen and slot_saveAsPic are reached by name.
    void sig_printScreen(int x, int y, int width, int height);
    void sig_saveAsPic(QString fileName, QString filePath, int fileType);

    // Groups: each calls the engine at once; results and notices come from the callbacks.
    void sig_createGroup(QString groupName, int type, QString province, QString city, int scope,
                         QString declared, int permission, int isDismiss, QString groupDomain,
                         bool isDiscuss);
    void sig_dismissGroup(QString groupid);
    void sig_quitGroup(QString groupid);
    void sig_joinGroup(QString groupid, QString declared);
    void sig_replyRequestJoinGroup(QString groupid, QString member, int confirm);
    void sig_inviteJoinGroup(QString groupId, QString declard, QStringList members, int confirm);
    void sig_replyInviteJoinGroup(QString groupid, QString invitor, int confirm);
    void sig_queryOwnGroup(QString borderGroupid, int pageSize, int target);
    void sig_queryGroupDetail(QString groupId);
    void sig_modifyGroup(Agent_ModifyGroupInfo modifyGroupInfo);
    void sig_searchPublicGroups(int searchType, QString keyword);
    void sig_searchPublicGroupsPaging(int searchType, QString keyword, int pageNo, int pageSize);
    void sig_queryGroupMember(QString groupId, QString borderMember, int pageSize);
    void sig_deleteGroupMember(QString groupid, QString member);
    void sig_queryGroupMemberCard(QString groupid, QString member);
    void sig_modifyMemberCard(Agent_GroupMemberCard memberCard);
    // Only a list of exactly one member is sent; iAllForbid is not.
    void sig_forbidMemberSpeak(QString groupid, QStringList member, int isBan, int iAllForbid);
    void sig_setGroupMessageRule(QString groupid, bool notice);
    void sig_setGroupMemberRole(QString groupId, QStringList member, int role);

    void sig_onPreSendTextMessage(int reason, ChatMsgData msg);
    void sig_onPreSendMediaFile(int reason, ChatMsgData msg);
    void sig_retryFileMsgId(QString oldMsgId, QString newMsgId);
    void sig_returnVoiceErrorCode(int ret);
    void sig_stopRecording();
    void sig_returnVoiceDuration(ChatMsgData msg, int duration);

    void sig_onSendTextMessage(int reason, ChatMsgData msg);
    void sig_onSendMediaFile(int reason, ChatMsgData msg);
    void sig_onReceiveMessage(ChatMsgData msg);
    void sig_onReceiveConfMessage(ChatMsgData msg);
    void sig_onReceiveOfflineMessage(ChatMsgData msg);
    void sig_onReceiveFile(ChatMsgData msg);
    void sig_onDownloadFileComplete(int reason, ChatMsgData msg);
    void sig_onRateOfProgressAttach(int matchKey, qulonglong rateSize, qulonglong fileSize,
                                    ChatMsgData msg);
    void sig_onOfflineMessageCount(int count);
    void sig_onOfflineMessageComplete();
    void sig_onDeleteMessage(int reason, int type, QString msgId);
    void sig_onWithDrawMessage(int reason);
    void sig_onSetTopContact(int reason);
    void sig_onGetTopContact(int reason, QList<QString> listMember);
    void sig_onReceiveNoVersionMessage(ChatMsgData msg);
    void sig_onReceiveOpreateNoticeMessage(ChatMsgData msg);
    void sig_onReceiveServerUndefineMessage(ChatMsgData);
    void sig_onRecordingTimeOut(int ms, QString sessionId);
    void sig_onRecordingAmplitude(double amplitude, QString sessionId);
    void sig_onFinishedPlaying(QString sessionId, int reason);

    void sig_onCreateGroup(int reason, Agent_GroupDetailInfo groupDetailInfo);
    void sig_onDismissGroup(int reason, QString groupid);
    void sig_onQuitGroup(int reason, QString groupid);
    void sig_onJoinGroup(int reason, QString groupid);
    void sig_onReplyRequestJoinGroup(int reason, QString groupid, QString member, int confirm);
    void sig_onInviteJoinGroup(int reason, QString groupid, QStringList listMember, int confirm);
    void sig_onReplyInviteJoinGroup(int reason, QString groupid, QString member, int confirm);
    void sig_onQueryOwnGroup(int reason, QList<Agent_GroupSimpleInfo> listGroupSimpleInfo);
    void sig_onQueryGroupDetail(int reason, Agent_GroupDetailInfo groupDetailInfo);
    void sig_onModifyGroup(int reason, Agent_ModifyGroupInfo modifyGroupInfo);
    void sig_onSearchPublicGroup(int reason, int searchType, QString keyword,
                                 QList<Agent_GroupSearchInfo> list);
    void sig_onSearchPublicGroupPaging(int reason, int searchType, QString keyword,
                                       QList<Agent_GroupSearchInfo> listGroupSearchInfo,
                                       int pageNo);
    void sig_onQueryGroupMember(int reason, QString groupid, QList<Agent_GroupMember> list);
    void sig_onDeleteGroupMember(int reason, QString groupid, QString member);
    void sig_onQueryGroupMemberCard(int reason, Agent_GroupMemberCard memberCard);
    void sig_onModifyGroupMemberCard(int reason, Agent_GroupMemberCard memberCard);
    void sig_onForbidMemberSpeakGroup(int reason, QString groupid, QStringList members, int isBan,
                                      int allForbid = 0);
    void sig_onSetGroupMessageRule(int reason, QString groupid, bool notice);
    void sig_onSetGroupMemberRole(int reason);

    void sig_onRequestJoinGroupNtyMsg(Agent_RequestJoinGroupNtyMsg msg);
    void sig_onInviteJoinGroupNtyMsg(Agent_InviteJoinGroupNtyMsg msg);
    void sig_onMemberJoinedGroupNtyMsg(Agent_MemberJoinedGroupNtyMsg msg);
    void sig_onDismissGroupNtyMsg(Agent_DismissGroupNtyMsg msg);
    void sig_onQuitGroupNtyMsg(Agent_QuitGroupNtyMsg msg);
    void sig_onRemoveGroupMemberNtyMsg(Agent_RemoveGroupMemberNtyMsg msg);
    void sig_onReplyRequestJoinGroupNtyMsg(Agent_ReplyRequestJoinGroupNtyMsg msg);
    void sig_onReplyInviteJoinGroupNtyMsg(Agent_ReplyInviteJoinGroupNtyMsg msg);
    void sig_onModifyGroupNtyMsg(Agent_ModifyGroupNtyMsg msg);
    void sig_onChangeMemberRoleMsg(Agent_ChangeMemberRoleMsg msg);
    void sig_onJoinGroupNoticeInfo(Agent_JoinGroupNoticeInfo msg);
    void sig_onModifyGroupMemberInfo(Agent_ModifyGroupMemberInfo msg);

private slots:
    void slot_sendTextMessage(QString receiver, QString message, Agent_MsgType type,
                              QString userdata);
    void slot_sendTextMessageEX(QString receiver, QString message, Agent_MsgType type,
                                QString userdata, QString jsonString);
    void slot_sendMediaMessage(QString receiver, QString fileName, Agent_MsgType type,
                               QString userdata);
    void slot_sendMediaMessageEX(QString receiver, QString fileName, Agent_MsgType type,
                                 QString userdata, QString jsonString, QString originFilePath);
    void slot_retryMediaMessageEX(QString receiver, QString fileName, Agent_MsgType type,
                                  QString userdata, QString jsonString, QString originFilePath,
                                  QString uuid, QString offsetJson, QString oldMsgId);
    void slot_downloadFileMessage(QString sender, QString recv, QString url, QString fileName,
                                  QString msgId, Agent_MsgType type);
    void slot_downloadShareUrlPic(QString url, QString filePath, Agent_MsgType type,
                                  QString sender);
    void slot_cancelUploadOrDownloadNOW(int matchKey);
    void slot_deleteMessage(int type, QString msgId);
    void slot_withDrawMessage(QString msgId, QString chatId, QString sendId, int type);
    void slot_setTopContact(QString contact, bool isTop);
    void slot_getTopContact();
    void slot_setReadStatue(QString statue);
    void slot_startVoiceRecording(QString fileName, QString sessionId);
    void slot_stopVoiceRecording(int sendClickState);
    void slot_playVoiceMsg(QString fileName, QString sessionId);
    void slot_stopVoiceMsg();
    void slot_getVoiceDuration(ChatMsgData msg);
    void slot_setConfirmMsgVersionFrequency(int number);
    void slot_setFetchMessageFromLast(bool bFlag);
    void slot_printScreen(int x, int y, int width, int height);
    void slot_saveAsPic(QString fileName, QString filePath, int fileType);

    void slot_createGroup(QString groupName, int type, QString province, QString city, int scope,
                          QString declared, int permission, int isDismiss, QString groupDomain,
                          bool isDiscuss);
    void slot_dismissGroup(QString groupid);
    void slot_quitGroup(QString groupid);
    void slot_joinGroup(QString groupid, QString declared);
    void slot_replyRequestJoinGroup(QString groupid, QString member, int confirm);
    void slot_inviteJoinGroup(QString groupId, QString declard, QStringList memberList,
                              int confirm);
    void slot_replyInviteJoinGroup(QString groupid, QString invitor, int confirm);
    void slot_queryOwnGroup(QString borderGroupid, int pageSize, int target);
    void slot_queryGroupDetail(QString groupId);
    void slot_modifyGroup(Agent_ModifyGroupInfo modifyGroupInfo);
    void slot_searchPublicGroups(int searchType, QString keyword);
    void slot_searchPublicGroupsPaging(int searchType, QString keyword, int pageNo, int pageSize);
    void slot_queryGroupMember(QString groupId, QString borderMember, int pageSize);
    void slot_deleteGroupMember(QString groupid, QString member);
    void slot_queryGroupMemberCard(QString groupid, QString member);
    void slot_modifyMemberCard(Agent_GroupMemberCard memberCard);
    void slot_forbidMemberSpeak(QString groupid, QStringList member, int isBan, int iAllForbid);
    void slot_setGroupMessageRule(QString groupid, bool notice);
    void slot_setGroupMemberRole(QString groupId, QStringList member, int role);

    // Runs the oldest queued send, if any.
    void slot_onTaskTimerOut();

private:
    friend class IM_TaskQueueProbe;
    using Task = std::function<void()>;

    explicit IM_Agent(QObject *parent = nullptr);
    void initConnections();
    void initGroupConnections(); // IM_AgentGroups.cpp
    void startTaskTimer();
    void enqueue(Task task);

    void sendTextTask(const QString &receiver, const QString &message, int type,
                      const QString &userdata);
    void sendTextExTask(const QString &receiver, const QString &message, int type,
                        const QString &userdata, const QString &jsonString);
    void sendMediaTask(const QString &receiver, const QString &fileName, int type,
                       const QString &userdata);
    void sendMediaExTask(const QString &receiver, const QString &fileName, int type,
                         const QString &userdata, const QString &jsonString,
                         const QString &originFilePath);

    std::deque<std::unique_ptr<Task>> taskList; // oldest first; worker thread only
    QTimer *taskTimer = nullptr; // no parent: lives on a thread with an event loop
    QAtomicInteger<quint64> m_ticks{0};
    QAtomicInt m_pending{0};

    static QAtomicPointer<IM_Agent> ins;
};
