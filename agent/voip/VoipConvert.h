#pragma once

// Engine call records to value records. Fields are read only up to their width; a null
// record gives the default value.

#include "VoipRecords.h"

#include <FixedField.h>
#include <ZSsdk.h>

namespace tq {

inline Agent_VoIPCallMsg toCallMsg(const ZS_CallEvent *event)
{
    Agent_VoIPCallMsg msg;
    if (!event)
        return msg;
    msg.eCode = event->eCode;
    msg.callType = event->callType;
    msg.callid = readField(event->callid);
    msg.caller = readField(event->caller);
    msg.callee = readField(event->callee);
    return msg;
}

inline Agent_VoIPComingInfo toComingInfo(const ZS_IncomingCall &info)
{
    Agent_VoIPComingInfo coming;
    coming.number1 = info.number1;
    coming.text1 = readField(info.text1);
    coming.text2 = readField(info.text2);
    coming.text3 = readField(info.text3);
    coming.text4 = readField(info.text4);
    return coming;
}

inline Agent_CallBackInfo toCallBackInfo(const ZS_CallBackInfo *info)
{
    Agent_CallBackInfo callBack;
    if (!info)
        return callBack;
    callBack.text1 = readField(info->text1);
    callBack.text2 = readField(info->text2);
    callBack.text3 = readField(info->text3);
    callBack.text4 = readField(info->text4);
    return callBack;
}

} // namespace tq
