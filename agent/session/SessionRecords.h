#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

// Request of sig_login: the engine's login record, field for field.
struct Agent_LoginRequest
{
    int number1 = 0;
    QString text1;
    QString text2;
    QString text3;
    QString text4;
    QString text5;
    QString text6;

    bool operator==(const Agent_LoginRequest &o) const
    {
        return number1 == o.number1 && text1 == o.text1 && text2 == o.text2 && text3 == o.text3
            && text4 == o.text4 && text5 == o.text5 && text6 == o.text6;
    }
};
Q_DECLARE_METATYPE(Agent_LoginRequest)

// Request of sig_setPersonInfo and result of sig_onGetPersonInfo. Texts fit in 128, 20 and
// 1305 bytes of UTF-8; longer ones are cut on the way to the engine.
struct Agent_PersonInfo
{
    int number1 = 0;
    int number2 = 0;
    int number3 = 0;
    QString text1;
    QString text2;
    QString text3;

    bool operator==(const Agent_PersonInfo &o) const
    {
        return number1 == o.number1 && number2 == o.number2 && number3 == o.number3
            && text1 == o.text1 && text2 == o.text2 && text3 == o.text3;
    }
};
Q_DECLARE_METATYPE(Agent_PersonInfo)

// Result of sig_onConnectState: the engine's state code and reason, unchanged.
struct Agent_ConnectState
{
    int code = 0;
    int reason = 0;

    bool operator==(const Agent_ConnectState &o) const
    {
        return code == o.code && reason == o.reason;
    }
};
Q_DECLARE_METATYPE(Agent_ConnectState)

// Element of the user-state and friends' presence lists.
struct Agent_PersonState
{
    QString text1;
    QString text2;
    QString text3;
    QString text4;
    int number1 = 0;
    int number2 = 0;
    int number3 = 0;
    int number4 = 0;

    bool operator==(const Agent_PersonState &o) const
    {
        return text1 == o.text1 && text2 == o.text2 && text3 == o.text3 && text4 == o.text4
            && number1 == o.number1 && number2 == o.number2 && number3 == o.number3
            && number4 == o.number4;
    }
};
Q_DECLARE_METATYPE(Agent_PersonState)
