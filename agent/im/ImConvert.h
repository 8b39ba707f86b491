#pragma once

// Engine message records to ChatMsgData, the records a send reports before the engine has
// answered, the link card as JSON, and the message lines of the log blocks.

#include "ImRecords.h"
#include "tq_agent_global.h"

#include <AgentLog.h>
#include <ZSsdk.h>

namespace im {

// Every field the record carries, each text read only up to its width.
TQ_AGENT_EXPORT ChatMsgData fromEngine(const ZS_MessageInfo &record);

// What a send reports at once: the request, the id the engine wrote into `msgIdBuf`, the
// current time and the "not sent yet" status.
TQ_AGENT_EXPORT ChatMsgData preSendText(const QString &receiver, const QString &message, int type,
                                        const QString &userdata,
                                        const char (&msgIdBuf)[ZS_MSG_ID_BUFFER_SIZE]);
TQ_AGENT_EXPORT ChatMsgData preSendMedia(const QString &receiver, const QString &fileName, int type,
                                         const QString &userdata,
                                         const char (&msgIdBuf)[ZS_MSG_ID_BUFFER_SIZE]);

// The link card of a received message as compact JSON: {"desc","imgPath","title","url"}.
TQ_AGENT_EXPORT QString linkCardJson(const ChatMsgData &msg);

enum class Lines {
    Text,
    File // with the file's name, address and sizes
};
// Appends the message lines of a callback's log block.
TQ_AGENT_EXPORT tq::LogBlock &appendMessage(tq::LogBlock &block, const ChatMsgData &msg,
                                            Lines lines);

} // namespace im
