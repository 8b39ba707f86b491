#include "IM_CallBackProxy.h"

#include "GroupCallBacks.h"
#include "IM_Agent.h"
#include "ImConvert.h"

#include <AgentLog.h>
#include <AgentShutdown.h>
#include <FixedField.h>
#include <PendingRequestStore.h>
#include <TQ_Util.h>

#include <QDebug>
#include <QLocale>
#include <QVariant>

namespace {

#define WHERE TQ_WHERE(IM_CallBackProxy)

using im::Lines;

// The message of a result. A result without a record still answers its request, with an
// empty message.
ChatMsgData resultMessage(tq::Where where, const ZS_MessageInfo *record)
{
    if (record)
        return im::fromEngine(*record);
    tq::logError("%1,null record", where);
    return ChatMsgData();
}

// A received message without a record has nothing to show: false, and nothing is emitted.
bool received(tq::Where where, const ZS_MessageInfo *record)
{
    if (!record)
        tq::logError("%1,null record", where);
    return record != nullptr;
}

// The block of a result: its arguments, a separator, then the message read from the record.
tq::LogBlock &appendResult(tq::LogBlock &block, const ZS_MessageInfo *record,
                           const ChatMsgData &msg, Lines lines)
{
    block.separator();
    return record ? im::appendMessage(block, msg, lines) : block;
}

void ZS_CALL callback_onSendTextMessage(unsigned int matchKey, int reason,
                                        const ZS_MessageInfo *record)
{
    const ChatMsgData msg = resultMessage(WHERE, record);
    tq::LogBlock block(WHERE);
    block.field("matchKey", matchKey).field("reason", reason);
    appendResult(block, record, msg, Lines::Text).logInfo();
    if (reason != ZS_REASON_SUCCESS) {
        const QString text
            = block.text() + QLatin1String("   ") + TQ_Util::GetSDKErrMsgById(reason);
        qDebug().noquote() << text;
        g_Log->LogError(text);
    }
    emit IM_Agent::instance()->sig_onSendTextMessage(reason, msg);
}

void ZS_CALL callback_onSendMediaFile(unsigned int matchKey, int reason,
                                      const ZS_MessageInfo *record, const char *statusMsg)
{
    const ChatMsgData msg = resultMessage(WHERE, record);
    tq::LogBlock block(WHERE);
    block.field("matchKey", matchKey).field("reason", reason);
    appendResult(block, record, msg, Lines::File)
        .field("stausMsg", tq::fromEngineText(statusMsg))
        .logInfo();
    emit IM_Agent::instance()->sig_onSendMediaFile(reason, msg);
}

void ZS_CALL callback_onDownloadFileComplete(unsigned int matchKey, int reason,
                                             const ZS_MessageInfo *record)
{
    const ChatMsgData msg = resultMessage(WHERE, record);
    tq::LogBlock block(WHERE);
    block.field("matchKey", matchKey).field("reason", reason);
    appendResult(block, record, msg, Lines::File).logInfo();
    emit IM_Agent::instance()->sig_onDownloadFileComplete(reason, msg);
}

void ZS_CALL callback_onRateOfProgressAttach(unsigned int matchKey, unsigned long long rateSize,
                                             unsigned long long fileSize,
                                             const ZS_MessageInfo *record)
{
    const ChatMsgData msg = resultMessage(WHERE, record);
    tq::LogBlock block(WHERE);
    block.field("matchKey", matchKey).field("rateSize", rateSize).field("fileSize", fileSize);
    appendResult(block, record, msg, Lines::File).logInfo();
    // The key goes out as the int the signal carries, bits unchanged.
    emit IM_Agent::instance()->sig_onRateOfProgressAttach(static_cast<int>(matchKey), rateSize,
                                                          fileSize, msg);
}

void ZS_CALL callback_onReceiveMessage(const ZS_MessageInfo *record)
{
    if (!received(WHERE, record))
        return;
    const ChatMsgData msg = im::fromEngine(*record);
    tq::LogBlock block(WHERE);
    im::appendMessage(block, msg, Lines::Text).logInfo();
    IM_Agent *agent = IM_Agent::instance();
    if (msg.msgType == Agent_MsgType_ConfMessage)
        emit agent->sig_onReceiveConfMessage(msg);
    else
        emit agent->sig_onReceiveMessage(msg);
}

void ZS_CALL callback_onReceiveOfflineMessage(const ZS_MessageInfo *record)
{
    if (!received(WHERE, record))
        return;
    emit IM_Agent::instance()->sig_onReceiveOfflineMessage(im::fromEngine(*record));
}

void ZS_CALL callback_onReceiveFile(const ZS_MessageInfo *record)
{
    if (!received(WHERE, record))
        return;
    ChatMsgData msg = im::fromEngine(*record);
    tq::LogBlock block(WHERE);
    im::appendMessage(block, msg, Lines::File).logInfo();
    if (msg.msgType == Agent_MsgType_LinkCard)
        msg.userData = im::linkCardJson(msg);
    emit IM_Agent::instance()->sig_onReceiveFile(msg);
}

void ZS_CALL callback_onOfflineMessageCount(int count)
{
    tq::logInfo("%1 %2", WHERE, count);
    emit IM_Agent::instance()->sig_onOfflineMessageCount(count);
}

void ZS_CALL callback_onOfflineMessageComplete()
{
    tq::logInfo("%1", WHERE);
    emit IM_Agent::instance()->sig_onOfflineMessageComplete();
}

void ZS_CALL callback_onRecordingTimeOut(int ms, const char *sessionId)
{
    const QString session = tq::fromEngineText(sessionId);
    tq::logInfo("%1   %2   %3", WHERE, ms, session);
    emit IM_Agent::instance()->sig_onRecordingTimeOut(ms, session);
}

void ZS_CALL callback_onFinishedPlaying(const char *sessionId, int reason)
{
    tq::logInfo("%1", WHERE);
    emit IM_Agent::instance()->sig_onFinishedPlaying(tq::fromEngineText(sessionId), reason);
}

void ZS_CALL callback_onRecordingAmplitude(double amplitude, const char *sessionId)
{
    const QString session = tq::fromEngineText(sessionId);
    tq::logInfo("%1   %2   %3", WHERE,
                QString::number(amplitude, 'g', QLocale::FloatingPointShortest), session);
    emit IM_Agent::instance()->sig_onRecordingAmplitude(amplitude, session);
}

void ZS_CALL callback_onDeleteMessage(unsigned int, int reason, int type, const char *msgId)
{
    tq::logInfo("%1", WHERE);
    emit IM_Agent::instance()->sig_onDeleteMessage(reason, type, tq::fromEngineText(msgId));
}

void ZS_CALL callback_onReceiveNoVersionMessage(const ZS_MessageInfo *record)
{
    tq::logInfo("%1", WHERE);
    if (!received(WHERE, record))
        return;
    emit IM_Agent::instance()->sig_onReceiveNoVersionMessage(im::fromEngine(*record));
}

void ZS_CALL callback_onReceiveOpreateNoticeMessage(const ZS_MessageInfo *record)
{
    tq::logInfo("%1", WHERE);
    if (!received(WHERE, record))
        return;
    const ChatMsgData msg = im::fromEngine(*record);
    qDebug() << "callback_onReceiveOpreateNoticeMessage,"
             << "sessionId=" << msg.sessionId << "sender=" << msg.sender
             << "recever=" << msg.receiver;
    emit IM_Agent::instance()->sig_onReceiveOpreateNoticeMessage(msg);
}

void ZS_CALL callback_onSetTopContact(unsigned int, int reason)
{
    tq::logInfo("%1", WHERE);
    emit IM_Agent::instance()->sig_onSetTopContact(reason);
}

void ZS_CALL callback_onGetTopContact(unsigned int, int reason, int count,
                                      const char *const *contacts)
{
    tq::logInfo("%1", WHERE);
    // A null array or a negative count is no contact; a null entry an empty one.
    const QList<QString> list = tq::convertArray(
        contacts, count, [](const char *contact) { return tq::fromEngineText(contact); });
    emit IM_Agent::instance()->sig_onGetTopContact(reason, list);
}

void ZS_CALL callback_onWithDrawMessage(unsigned int matchKey, int reason)
{
    tq::logInfo("%1", WHERE);
    IM_Agent *agent = IM_Agent::instance();
    emit agent->sig_onWithDrawMessage(reason);
    // The request keeps its context on the worker thread once the engine call has returned,
    // and the answer may be quicker than that: the context is taken on the worker thread,
    // after the request's slot.
    QMetaObject::invokeMethod(
        agent,
        [agent, matchKey, reason] {
            QVariant stored;
            PendingRequestStore::instance()->take(matchKey, stored);
            ChatMsgData msg;
            if (stored.userType() == qMetaTypeId<ChatMsgData>())
                msg = stored.value<ChatMsgData>();
            msg.msgType = Agent_MsgType_WithdrawNotice;
            if (reason == ZS_REASON_SUCCESS)
                emit agent->sig_onReceiveOpreateNoticeMessage(msg);
        },
        Qt::QueuedConnection);
}

void ZS_CALL callback_onReceiveServerUndefineMessage(const ZS_MessageInfo *record)
{
    tq::logInfo("%1", WHERE);
    if (!received(WHERE, record))
        return;
    emit IM_Agent::instance()->sig_onReceiveServerUndefineMessage(im::fromEngine(*record));
}

#undef WHERE

} // namespace

IM_CallBackProxy *IM_CallBackProxy::instance()
{
    static IM_CallBackProxy *const proxy = new IM_CallBackProxy;
    return proxy;
}

void IM_CallBackProxy::registerCallbacks()
{
    static ZS_MessageCallBack table = [] {
        using namespace im::group;
        ZS_MessageCallBack t{};
        t.onSendTextMessage = tq::gated<callback_onSendTextMessage>;
        t.onReceiveMessage = tq::gated<callback_onReceiveMessage>;
        t.onReceiveOfflineMessage = tq::gated<callback_onReceiveOfflineMessage>;
        t.onSendMediaFile = tq::gated<callback_onSendMediaFile>;
        t.onDownloadFileComplete = tq::gated<callback_onDownloadFileComplete>;
        t.onRateOfProgressAttach = tq::gated<callback_onRateOfProgressAttach>;
        t.onReceiveFile = tq::gated<callback_onReceiveFile>;
        t.onOfflineMessageCount = tq::gated<callback_onOfflineMessageCount>;
        t.onOfflineMessageComplete = tq::gated<callback_onOfflineMessageComplete>;
        t.onRecordingTimeOut = tq::gated<callback_onRecordingTimeOut>;
        t.onFinishedPlaying = tq::gated<callback_onFinishedPlaying>;
        t.onRecordingAmplitude = tq::gated<callback_onRecordingAmplitude>;
        t.onDeleteMessage = tq::gated<callback_onDeleteMessage>;
        t.onReceiveNoVersionMessage = tq::gated<callback_onReceiveNoVersionMessage>;
        t.onReceiveOpreateNoticeMessage = tq::gated<callback_onReceiveOpreateNoticeMessage>;
        t.onSetTopContact = tq::gated<callback_onSetTopContact>;
        t.onGetTopContact = tq::gated<callback_onGetTopContact>;
        t.onWithDrawMessage = tq::gated<callback_onWithDrawMessage>;
        t.onReceiveServerUndefineMessage = tq::gated<callback_onReceiveServerUndefineMessage>;
        t.onCreateGroup = tq::gated<callback_onCreateGroup>;
        t.onDismissGroup = tq::gated<callback_onDismissGroup>;
        t.onQuitGroup = tq::gated<callback_onQuitGroup>;
        t.onJoinGroup = tq::gated<callback_onJoinGroup>;
        t.onReplyRequestJoinGroup = tq::gated<callback_onReplyRequestJoinGroup>;
        t.onInviteJoinGroup = tq::gated<callback_onInviteJoinGroup>;
        t.onReplyInviteJoinGroup = tq::gated<callback_onReplyInviteJoinGroup>;
        t.onQueryOwnGroup = tq::gated<callback_onQueryOwnGroup>;
        t.onQueryGroupDetail = tq::gated<callback_onQueryGroupDetail>;
        t.onModifyGroup = tq::gated<callback_onModifyGroup>;
        t.onSearchPublicGroup = tq::gated<callback_onSearchPublicGroup>;
        t.onQueryGroupMember = tq::gated<callback_onQueryGroupMember>;
        t.onDeleteGroupMember = tq::gated<callback_onDeleteGroupMember>;
        t.onQueryGroupMemberCard = tq::gated<callback_onQueryGroupMemberCard>;
        t.onModifyGroupMemberCard = tq::gated<callback_onModifyGroupMemberCard>;
        t.onForbidMemberSpeakGroup = tq::gated<callback_onForbidMemberSpeakGroup>;
        t.onSetGroupMessageRule = tq::gated<callback_onSetGroupMessageRule>;
        t.onReceiveGroupNoticeMessage = tq::gated<callback_onReceiveGroupNoticeMessage>;
        t.onSetGroupMemberRole = tq::gated<callback_onSetGroupMemberRole>;
        t.onSearchPublicGroupPaging = tq::gated<callback_onSearchPublicGroupPaging>;
        return t;
    }();
    m_table = &table;
    const int ret = SetMessageCallBackFunction(m_table);
    if (ret != 0)
        tq::logError("%1,ret=%2", TQ_WHERE(IM_CallBackProxy), ret);
}
