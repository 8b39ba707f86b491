#pragma once

// Messages, files, pictures and voice notes. Requests are queued to the shared worker thread.
// The four sends of a new message wait in a send queue that a 250 ms timer drains, one send
// per tick, in request order; every other request calls the engine at once. Results come
// from the slots (pre-send records, voice codes) or from IM_CallBackProxy on the engine's
// threads.

#include "ImRecords.h"
#include "tq_agent_global.h"

#include <QAtomicInteger>
#include <QAtomicPointer>
#include <QList>
#include <QObject>
#include <QString>

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

    // Runs the oldest queued send, if any.
    void slot_onTaskTimerOut();

private:
    friend class IM_TaskQueueProbe;
    using Task = std::function<void()>;

    explicit IM_Agent(QObject *parent = nullptr);
    void initConnections();
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
