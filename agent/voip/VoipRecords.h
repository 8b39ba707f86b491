#pragma once

// Value records of the call family, carried by Voip_Agent's result signals.

#include <QMetaType>
#include <QString>

// A call state change (sig_onCallEvents).
struct Agent_VoIPCallMsg
{
    int eCode = 0;
    int callType = 0;
    QString callid;
    QString caller;
    QString callee;
    int number1 = 0; // not filled by the engine: always 0
    int number2 = 0;

    bool operator==(const Agent_VoIPCallMsg &o) const
    {
        return eCode == o.eCode && callType == o.callType && callid == o.callid
            && caller == o.caller && callee == o.callee && number1 == o.number1
            && number2 == o.number2;
    }
    bool operator!=(const Agent_VoIPCallMsg &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_VoIPCallMsg)

// An incoming call (sig_onCallIncoming).
struct Agent_VoIPComingInfo
{
    int number1 = 0;
    QString text1;
    QString text2;
    QString text3;
    QString text4;

    bool operator==(const Agent_VoIPComingInfo &o) const
    {
        return number1 == o.number1 && text1 == o.text1 && text2 == o.text2 && text3 == o.text3
            && text4 == o.text4;
    }
    bool operator!=(const Agent_VoIPComingInfo &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_VoIPComingInfo)

// The answer to a call-back request (sig_onMakeCallBack).
struct Agent_CallBackInfo
{
    QString text1;
    QString text2;
    QString text3;
    QString text4;

    bool operator==(const Agent_CallBackInfo &o) const
    {
        return text1 == o.text1 && text2 == o.text2 && text3 == o.text3 && text4 == o.text4;
    }
    bool operator!=(const Agent_CallBackInfo &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_CallBackInfo)
