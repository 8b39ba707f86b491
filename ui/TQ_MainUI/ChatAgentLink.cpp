#include "ChatAgentLink.h"

#include "ChatState.h"
#include "VoiceRecorder.h"

#include <IM_Agent.h>
#include <TqClientContext.h>

namespace ChatAgentLink {

void link(ChatState *chat, IM_Agent *agent)
{
    using C = ChatState;
    using A = IM_Agent;
    const auto type = [](int code) {
        return static_cast<Agent_MsgType>(code);
    };

    // Requests use the chat as context, so they are emitted at once on its thread.
    QObject::connect(
        chat, &C::sendTextRequest, chat,
        [=](const QString &receiver, const QString &text, int msgType, const QString &userdata) {
            emit agent->sig_sendTextMessage(receiver, text, type(msgType), userdata);
        });
    QObject::connect(chat, &C::sendMediaRequest, chat,
                     [=](const QString &receiver, const QString &file, int msgType,
                         const QString &userdata, const QString &json, const QString &origin) {
                         emit agent->sig_sendMediaMessageEX(receiver, file, type(msgType), userdata,
                                                            json, origin);
                     });
    QObject::connect(chat, &C::retryMediaRequest, chat,
                     [=](const QString &receiver, const QString &file, int msgType,
                         const QString &userdata, const QString &json, const QString &origin,
                         const QString &uuid, const QString &offsetJson, const QString &oldMsgId) {
                         emit agent->sig_retryMediaMessageEX(receiver, file, type(msgType),
                                                             userdata, json, origin, uuid,
                                                             offsetJson, oldMsgId);
                     });
    QObject::connect(chat, &C::downloadRequest, chat,
                     [=](const QString &sender, const QString &receiver, const QString &url,
                         const QString &file, const QString &msgId, int msgType) {
                         emit agent->sig_downloadFileMessage(sender, receiver, url, file, msgId,
                                                             type(msgType));
                     });
    QObject::connect(chat, &C::cancelRequest, chat,
                     [agent](int key) { emit agent->sig_cancelUploadOrDownloadNOW(key); });
    QObject::connect(
        chat, &C::withdrawRequest, chat,
        [agent](const QString &msgId, const QString &chatId, const QString &sendId, int msgType) {
            emit agent->sig_withDrawMessage(msgId, chatId, sendId, msgType);
        });
    QObject::connect(chat, &C::deleteRequest, chat, [agent](int msgType, const QString &msgId) {
        emit agent->sig_deleteMessage(msgType, msgId);
    });
    QObject::connect(chat, &C::readRequest, chat,
                     [agent](const QString &msgId) { emit agent->sig_setReadStatue(msgId); });
    QObject::connect(chat, &C::playRequest, chat,
                     [agent](const QString &file, const QString &session) {
                         emit agent->sig_playVoiceMsg(file, session);
                     });
    QObject::connect(chat, &C::stopPlayRequest, chat, [agent] { emit agent->sig_stopVoiceMsg(); });
    QObject::connect(chat, &C::durationQuery, chat,
                     [agent](const ChatMsgData &msg) { emit agent->sig_getVoiceDuration(msg); });

    VoiceRecorder *recorder = chat->recorder();
    using R = VoiceRecorder;
    QObject::connect(recorder, &R::startRequest, recorder,
                     [agent](const QString &file, const QString &session) {
                         emit agent->sig_startVoiceRecording(file, session);
                     });
    QObject::connect(recorder, &R::stopRequest, recorder, [agent](int sendClickState) {
        emit agent->sig_stopVoiceRecording(sendClickState);
    });
    QObject::connect(recorder, &R::durationQuery, recorder,
                     [agent](const ChatMsgData &msg) { emit agent->sig_getVoiceDuration(msg); });

    // Results, queued to the chat's thread.
    QObject::connect(agent, &A::sig_onPreSendTextMessage, chat, &C::onPreSendText);
    QObject::connect(agent, &A::sig_onPreSendMediaFile, chat, &C::onPreSendMedia);
    QObject::connect(agent, &A::sig_onSendTextMessage, chat, &C::onSendText);
    QObject::connect(agent, &A::sig_onSendMediaFile, chat, &C::onSendMedia);
    QObject::connect(agent, &A::sig_retryFileMsgId, chat, &C::onRetryId);
    QObject::connect(agent, &A::sig_onReceiveMessage, chat, &C::onReceiveMessage);
    QObject::connect(agent, &A::sig_onReceiveOfflineMessage, chat, &C::onReceiveOfflineMessage);
    QObject::connect(agent, &A::sig_onReceiveFile, chat, &C::onReceiveFile);
    QObject::connect(agent, &A::sig_onReceiveNoVersionMessage, chat, &C::onReceiveNoVersion);
    QObject::connect(agent, &A::sig_onOfflineMessageCount, chat, &C::onOfflineCount);
    QObject::connect(agent, &A::sig_onOfflineMessageComplete, chat, &C::onOfflineComplete);
    QObject::connect(agent, &A::sig_onRateOfProgressAttach, chat, &C::onProgress);
    QObject::connect(agent, &A::sig_onDownloadFileComplete, chat, &C::onDownloadComplete);
    QObject::connect(agent, &A::sig_onWithDrawMessage, chat, &C::onWithdrawResult);
    QObject::connect(agent, &A::sig_onReceiveOpreateNoticeMessage, chat, &C::onNotice);
    QObject::connect(agent, &A::sig_onDeleteMessage, chat, &C::onDeleteResult);
    QObject::connect(agent, &A::sig_returnVoiceDuration, chat, &C::onVoiceDuration);
    QObject::connect(agent, &A::sig_onFinishedPlaying, chat, &C::onFinishedPlaying);

    QObject::connect(agent, &A::sig_returnVoiceErrorCode, recorder, &R::onStartResult);
    QObject::connect(agent, &A::sig_stopRecording, recorder, &R::onStopped);
    QObject::connect(agent, &A::sig_onRecordingTimeOut, recorder, &R::onTimeOut);
    QObject::connect(agent, &A::sig_onRecordingAmplitude, recorder, &R::onAmplitude);
    QObject::connect(agent, &A::sig_returnVoiceDuration, recorder, &R::onDuration);
}

void link(ChatState *chat, TqClientContext *context)
{
    QObject::connect(context, &TqClientContext::loggedIn, chat, &ChatState::setAccount);
    QObject::connect(context, &TqClientContext::loggedOut, chat, [chat] {
        chat->clear();
        chat->setAccount(QString());
    });
    QObject::connect(context, &TqClientContext::displayNameChanged, chat,
                     &ChatState::setDisplayName);
    if (context->isLoggedIn())
        chat->setAccount(context->account());
}

} // namespace ChatAgentLink
