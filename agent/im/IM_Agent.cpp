#include "IM_Agent.h"

#include "IM_CallBackProxy.h"
#include "IM_TaskQueueProbe.h"
#include "ImConvert.h"

#include <AgentFrame.h>
#include <AgentLog.h>
#include <AgentThreadMgr.h>
#include <EngineArgs.h>
#include <FixedField.h>
#include <PendingRequestStore.h>
#include <TQ_Util.h>
#include <ZSsdk.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <QVariant>

#define WHERE TQ_WHERE(IM_Agent)

QAtomicPointer<IM_Agent> IM_Agent::ins;

namespace {

constexpr int kTaskIntervalMs = 250;

// The thread whose event loop fires the send timer: the creating thread when it runs a loop
// (the application's thread, or a thread inside exec()); otherwise the application's thread,
// since a timer on a thread without a loop never fires and every send would wait forever.
QThread *timerThread()
{
    QThread *here = QThread::currentThread();
    const QCoreApplication *app = QCoreApplication::instance();
    if ((app && here == app->thread()) || here->loopLevel() > 0)
        return here;
    if (app)
        return app->thread();
    tq::logError("%1,no application: the send queue runs on the worker thread", WHERE);
    return AgentThreadMgr::sharedThread();
}

// The engine's extra int and the JSON a media send passes, by message type.
int mediaExtra(int type)
{
    return type == Agent_MsgType_Type3 ? 90 : 0;
}

struct SendResult
{
    int ret = 0;
    unsigned int matchKey = 0;
    char msgId[ZS_MSG_ID_BUFFER_SIZE] = {};
};

// The block of a media send or retry: the request, then the engine's answer.
void logMediaBlock(const char *header, const QString &receiver, const QString &fileName, int type,
                   const QString &userdata, const QString *jsonString,
                   const QString *originFilePath, const SendResult &r)
{
    tq::LogBlock block{QLatin1String(header)};
    block.field("receiver", receiver).field("fileName", fileName).field("type", type);
    block.field("userdata", userdata);
    if (jsonString)
        block.field("jsonString", *jsonString);
    if (originFilePath)
        block.field("originFilePath", *originFilePath);
    block.separator()
        .field("ret", r.ret)
        .field("matchKey", r.matchKey)
        .field("msgId", tq::readField(r.msgId))
        .logInfo();
}

} // namespace

IM_Agent *IM_Agent::instance()
{
    bool built = false;
    IM_Agent *agent = tq::agentInstance(ins, [&built] {
        std::unique_ptr<IM_Agent> created(new IM_Agent(nullptr));
        created->initConnections();
        IM_CallBackProxy::instance()->registerCallbacks();
        built = true;
        return created;
    });
    // After the move to the worker: no tick can find the agent still on this thread.
    if (built)
        agent->startTaskTimer();
    return agent;
}

IM_Agent::IM_Agent(QObject *parent)
    : QObject(parent)
    , taskTimer(new QTimer(nullptr))
{ }

IM_Agent::~IM_Agent()
{
    // Pending sends go with taskList, unrun. The timer is deleted by its own thread.
    if (taskTimer->thread() == QThread::currentThread())
        delete taskTimer;
    else
        taskTimer->deleteLater();
    ins.testAndSetOrdered(this, nullptr);
}

void IM_Agent::initConnections()
{
    qRegisterMetaType<Agent_Message>("Agent_Message");
    qRegisterMetaType<Agent_MsgType>("Agent_MsgType");
    qRegisterMetaType<QStringList>("QStringList");
    // The results cross threads from the first callback on.
    tq::registerRecords<ChatMsgData, Agent_Message>();

    connect(this, SIGNAL(sig_sendTextMessage(QString, QString, Agent_MsgType, QString)), this,
            SLOT(slot_sendTextMessage(QString, QString, Agent_MsgType, QString)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_sendTextMessageEX(QString, QString, Agent_MsgType, QString, QString)),
            this, SLOT(slot_sendTextMessageEX(QString, QString, Agent_MsgType, QString, QString)),
            Qt::AutoConnection);
    connect(
        this,
        SIGNAL(sig_sendMediaMessageEX(QString, QString, Agent_MsgType, QString, QString, QString)),
        this,
        SLOT(slot_sendMediaMessageEX(QString, QString, Agent_MsgType, QString, QString, QString)),
        Qt::AutoConnection);
    connect(this,
            SIGNAL(sig_retryMediaMessageEX(QString, QString, Agent_MsgType, QString, QString,
                                           QString, QString, QString, QString)),
            this,
            SLOT(slot_retryMediaMessageEX(QString, QString, Agent_MsgType, QString, QString,
                                          QString, QString, QString, QString)),
            Qt::AutoConnection);
    connect(
        this,
        SIGNAL(sig_downloadFileMessage(QString, QString, QString, QString, QString, Agent_MsgType)),
        this,
        SLOT(slot_downloadFileMessage(QString, QString, QString, QString, QString, Agent_MsgType)),
        Qt::AutoConnection);
    connect(this, SIGNAL(sig_downloadShareUrlPic(QString, QString, Agent_MsgType, QString)), this,
            SLOT(slot_downloadShareUrlPic(QString, QString, Agent_MsgType, QString)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_cancelUploadOrDownloadNOW(int)), this,
            SLOT(slot_cancelUploadOrDownloadNOW(int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_deleteMessage(int, QString)), this,
            SLOT(slot_deleteMessage(int, QString)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_withDrawMessage(QString, QString, QString, int)), this,
            SLOT(slot_withDrawMessage(QString, QString, QString, int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_setTopContact(QString, bool)), this,
            SLOT(slot_setTopContact(QString, bool)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_getTopContact()), this, SLOT(slot_getTopContact()),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_setReadStatue(QString)), this, SLOT(slot_setReadStatue(QString)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_startVoiceRecording(QString, QString)), this,
            SLOT(slot_startVoiceRecording(QString, QString)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_stopVoiceRecording(int)), this, SLOT(slot_stopVoiceRecording(int)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_playVoiceMsg(QString, QString)), this,
            SLOT(slot_playVoiceMsg(QString, QString)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_stopVoiceMsg()), this, SLOT(slot_stopVoiceMsg()), Qt::AutoConnection);
    connect(this, SIGNAL(sig_getVoiceDuration(ChatMsgData)), this,
            SLOT(slot_getVoiceDuration(ChatMsgData)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_setConfirmMsgVersionFrequency(int)), this,
            SLOT(slot_setConfirmMsgVersionFrequency(int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_setFetchMessageFromLast(bool)), this,
            SLOT(slot_setFetchMessageFromLast(bool)), Qt::AutoConnection);
    initGroupConnections();
}

void IM_Agent::startTaskTimer()
{
    QThread *owner = timerThread();
    if (owner != taskTimer->thread())
        taskTimer->moveToThread(owner);
    taskTimer->setInterval(kTaskIntervalMs);
    connect(taskTimer, SIGNAL(timeout()), this, SLOT(slot_onTaskTimerOut()), Qt::AutoConnection);
    if (owner == QThread::currentThread())
        taskTimer->start();
    else
        QMetaObject::invokeMethod(taskTimer, "start", Qt::QueuedConnection);
}

void IM_Agent::enqueue(Task task)
{
    taskList.push_back(std::make_unique<Task>(std::move(task)));
    m_pending.fetchAndAddOrdered(1);
}

void IM_Agent::slot_onTaskTimerOut()
{
    m_ticks.fetchAndAddOrdered(1);
    if (taskList.empty())
        return;
    qDebug() << "IM_Agent::slot_onTaskTimerOut" << QDateTime::currentDateTime();
    // Taken off first: a send requested while this one runs queues behind the others.
    const std::unique_ptr<Task> task = std::move(taskList.front());
    taskList.pop_front();
    m_pending.fetchAndSubOrdered(1);
    (*task)();
}

// ---- sends of a new message: queued ----------------------------------------------------------

void IM_Agent::slot_sendTextMessage(QString receiver, QString message, Agent_MsgType type,
                                    QString userdata)
{
    tq::logInfo("%1", WHERE);
    enqueue([this, receiver, message, type = int(type), userdata] {
        sendTextTask(receiver, message, type, userdata);
    });
}

void IM_Agent::slot_sendTextMessageEX(QString receiver, QString message, Agent_MsgType type,
                                      QString userdata, QString jsonString)
{
    enqueue([this, receiver, message, type = int(type), userdata, jsonString] {
        sendTextExTask(receiver, message, type, userdata, jsonString);
    });
}

void IM_Agent::slot_sendMediaMessage(QString receiver, QString fileName, Agent_MsgType type,
                                     QString userdata)
{
    enqueue([this, receiver, fileName, type = int(type), userdata] {
        sendMediaTask(receiver, fileName, type, userdata);
    });
}

void IM_Agent::slot_sendMediaMessageEX(QString receiver, QString fileName, Agent_MsgType type,
                                       QString userdata, QString jsonString, QString originFilePath)
{
    enqueue([this, receiver, fileName, type = int(type), userdata, jsonString, originFilePath] {
        sendMediaExTask(receiver, fileName, type, userdata, jsonString, originFilePath);
    });
}

void IM_Agent::sendTextTask(const QString &receiver, const QString &message, int type,
                            const QString &userdata)
{
    SendResult r;
    r.ret = SendTextMessageEX(&r.matchKey, tq::Utf8Arg(receiver), tq::Utf8Arg(message), type,
                              tq::Utf8Arg(userdata), r.msgId, "");
    const ChatMsgData msg = im::preSendText(receiver, message, type, userdata, r.msgId);
    tq::logInfo("ret = %1, matchKey = %2, msgId = %3", r.ret, r.matchKey, msg.msgId);
    emit sig_onPreSendTextMessage(r.ret, msg);
}

void IM_Agent::sendTextExTask(const QString &receiver, const QString &message, int type,
                              const QString &userdata, const QString &jsonString)
{
    SendResult r;
    r.ret = SendTextMessageEX(&r.matchKey, tq::Utf8Arg(receiver), tq::Utf8Arg(message), type,
                              tq::Utf8Arg(userdata), r.msgId, tq::Utf8Arg(jsonString));
    const ChatMsgData msg = im::preSendText(receiver, message, type, userdata, r.msgId);
    tq::LogBlock(QStringLiteral("IM_Agent::slot_sendTextMessageEX"))
        .field("receiver", receiver)
        .field("message", message)
        .field("type", type)
        .field("userdata", userdata)
        .field("jsonString", jsonString)
        .separator()
        .field("ret", r.ret)
        .field("matchKey", r.matchKey)
        .field("msgId", msg.msgId)
        .logInfo();
    emit sig_onPreSendTextMessage(r.ret, msg);
}

void IM_Agent::sendMediaTask(const QString &receiver, const QString &fileName, int type,
                             const QString &userdata)
{
    SendResult r;
    r.ret = SendMediaMessage(&r.matchKey, tq::Utf8Arg(receiver), tq::Utf8Arg(fileName), type,
                             tq::Utf8Arg(userdata), r.msgId);
    logMediaBlock("IM_Agent::slot_sendMediaMessage", receiver, fileName, type, userdata, nullptr,
                  nullptr, r);
    emit sig_onPreSendMediaFile(r.ret,
                                im::preSendMedia(receiver, fileName, type, userdata, r.msgId));
}

void IM_Agent::sendMediaExTask(const QString &receiver, const QString &fileName, int type,
                               const QString &userdata, const QString &jsonString,
                               const QString &originFilePath)
{
    const bool withJson = type == Agent_MsgType_Type6 || type == Agent_MsgType_LinkCard;
    SendResult r;
    r.ret = SendMediaMessageEX(&r.matchKey, tq::Utf8Arg(receiver), tq::Utf8Arg(fileName), type,
                               tq::Utf8Arg(userdata), r.msgId, "",
                               tq::Utf8Arg(withJson ? jsonString : QString()), mediaExtra(type),
                               tq::Utf8Arg(TQ_Util::createUuid()), "");
    logMediaBlock("IM_Agent::slot_sendMediaMessageEX", receiver, fileName, type, userdata,
                  &jsonString, &originFilePath, r);
    emit sig_onPreSendMediaFile(r.ret,
                                im::preSendMedia(receiver, fileName, type, userdata, r.msgId));
}

// ---- everything else: at once ----------------------------------------------------------------

void IM_Agent::slot_retryMediaMessageEX(QString receiver, QString fileName, Agent_MsgType type,
                                        QString userdata, QString jsonString,
                                        QString originFilePath, QString uuid, QString offsetJson,
                                        QString oldMsgId)
{
    SendResult r;
    r.ret = SendMediaMessageEX(&r.matchKey, tq::Utf8Arg(receiver), tq::Utf8Arg(fileName), type,
                               tq::Utf8Arg(userdata), r.msgId, tq::Utf8Arg(offsetJson),
                               tq::Utf8Arg(type == Agent_MsgType_LinkCard ? jsonString : QString()),
                               mediaExtra(type), tq::Utf8Arg(uuid), "");
    logMediaBlock("IM_Agent::slot_retryMediaMessageEX", receiver, fileName, type, userdata,
                  &jsonString, &originFilePath, r);
    emit sig_retryFileMsgId(oldMsgId, tq::readField(r.msgId));
}

void IM_Agent::slot_downloadFileMessage(QString sender, QString recv, QString url, QString fileName,
                                        QString msgId, Agent_MsgType type)
{
    SendResult r;
    r.ret = DownloadFileMessage(&r.matchKey, tq::Utf8Arg(sender), tq::Utf8Arg(recv),
                                tq::Utf8Arg(url), tq::Utf8Arg(fileName), tq::Utf8Arg(msgId), type);
    tq::LogBlock(WHERE)
        .field("sender", sender)
        .field("recv", recv)
        .field("url", url)
        .field("fileName", fileName)
        .field("msgId", msgId)
        .field("type", type)
        .separator()
        .field("ret", r.ret)
        .field("matchKey", r.matchKey)
        .logInfo();
}

void IM_Agent::slot_downloadShareUrlPic(QString url, QString filePath, Agent_MsgType type,
                                        QString sender)
{
    unsigned int matchKey = 0;
    tq::logThenCall(WHERE, DownloadFileMessage, &matchKey, tq::Utf8Arg(sender), "",
                    tq::Utf8Arg(url), tq::Utf8Arg(filePath), "", int(type));
}

void IM_Agent::slot_cancelUploadOrDownloadNOW(int matchKey)
{
    // The signal carries the engine's unsigned key in an int: the bits go back unchanged.
    tq::logThenCall(WHERE, CancelUploadOrDownloadNOW, static_cast<unsigned int>(matchKey));
}

void IM_Agent::slot_deleteMessage(int type, QString msgId)
{
    unsigned int matchKey = 0;
    tq::logThenCall(WHERE, DeleteMessage, &matchKey, type, tq::Utf8Arg(msgId));
}

void IM_Agent::slot_withDrawMessage(QString msgId, QString chatId, QString sendId, int type)
{
    unsigned int matchKey = 0;
    const int ret = tq::logThenCall(WHERE, WithDrawMessage, &matchKey, tq::Utf8Arg(msgId), type);
    // A refused withdrawal is never answered: its context would wait for nothing.
    if (ret != 0)
        return;
    ChatMsgData context;
    context.msgId = msgId;
    context.sessionId = chatId;
    context.sender = sendId;
    context.receiver = chatId;
    PendingRequestStore::instance()->insert(matchKey, QVariant::fromValue(context));
}

void IM_Agent::slot_setTopContact(QString contact, bool isTop)
{
    unsigned int matchKey = 0;
    tq::logThenCall(WHERE, SetTopContact, &matchKey, tq::Utf8Arg(contact), isTop);
}

void IM_Agent::slot_getTopContact()
{
    unsigned int matchKey = 0;
    tq::logThenCall(WHERE, GetTopContact, &matchKey);
}

void IM_Agent::slot_setReadStatue(QString statue)
{
    ReadMessage(nullptr, tq::Utf8Arg(statue));
}

void IM_Agent::slot_startVoiceRecording(QString fileName, QString sessionId)
{
    const int ret = tq::logThenCall(WHERE, StartVoiceRecording, tq::Utf8Arg(fileName),
                                    tq::Utf8Arg(sessionId));
    tq::logInfo("startRecording:%1", ret);
    emit sig_returnVoiceErrorCode(ret);
}

void IM_Agent::slot_stopVoiceRecording(int sendClickState)
{
    tq::logThenCall(WHERE, StopVoiceRecording);
    if (sendClickState == 1)
        emit sig_stopRecording();
}

void IM_Agent::slot_playVoiceMsg(QString fileName, QString sessionId)
{
    tq::logThenCall(WHERE, PlayVoiceMsg, tq::Utf8Arg(fileName), tq::Utf8Arg(sessionId));
}

void IM_Agent::slot_stopVoiceMsg()
{
    tq::logThenCall(WHERE, StopVoiceMsg);
}

void IM_Agent::slot_getVoiceDuration(ChatMsgData msg)
{
    int duration = 0;
    if (tq::logThenCall(WHERE, GetVoiceDuration, tq::Utf8Arg(msg.fileName), &duration) != 0)
        duration = -1;
    emit sig_returnVoiceDuration(msg, duration);
}

void IM_Agent::getVoiceDuration(ChatMsgData msg, int &duration)
{
    duration = 0;
    GetVoiceDuration(tq::Utf8Arg(msg.fileName), &duration);
    tq::logInfo("%1   %2   %3", WHERE, msg.fileName, duration);
}

void IM_Agent::slot_setConfirmMsgVersionFrequency(int number)
{
    const int ret = SetConfirmMsgVersionFrequency(number);
    tq::logInfo("%1  Num = %2  Ret = %3", WHERE, number, ret);
}

void IM_Agent::slot_setFetchMessageFromLast(bool bFlag)
{
    SetFetchMessageFromLast(bFlag);
    tq::logInfo("%1  Flag = %2  Ret = %3", WHERE, bFlag, "void");
}

void IM_Agent::slot_printScreen(int x, int y, int width, int height)
{
    tq::logThenCall(WHERE, PrintScreen, x, y, width, height);
}

void IM_Agent::slot_saveAsPic(QString fileName, QString filePath, int fileType)
{
    tq::logThenCall(WHERE, SaveAsPic, tq::Utf8Arg(fileName), tq::Utf8Arg(filePath), fileType);
}

// ---- test access -----------------------------------------------------------------------------

QTimer *IM_TaskQueueProbe::timer()
{
    return IM_Agent::instance()->taskTimer;
}

quint64 IM_TaskQueueProbe::ticks()
{
    return IM_Agent::instance()->m_ticks.loadAcquire();
}

int IM_TaskQueueProbe::pending()
{
    return IM_Agent::instance()->m_pending.loadAcquire();
}
