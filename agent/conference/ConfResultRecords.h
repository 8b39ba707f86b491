#pragma once

// Result records of the conference family, carried by Conference_Agent's result signals.
// Fields are the engine's, copied unchanged; the positional ones mean what the engine says.

#include "ConfRequestRecords.h"

#include <QList>
#include <QMetaType>
#include <QString>

#include <tuple>

// One conference: the answer to a conference query, a list entry, or the answer to joining.
struct Agent_ConfInfo
{
    QString confId;
    QString text2;
    int number1 = 0;
    QString creator;
    int number2 = 0;
    QString text3;
    QString text4;
    int number3 = 0;
    int memberCount = 0;
    int number4 = 0;
    QString startTime;
    int number5 = 0;
    QString text5;
    QString createTime;
    QString updateTime;
    QString text6;
    int number6 = 0;
    int number7 = 0;
    int number8 = 0;
    int number9 = 0; // never read: stays 0
    int number10 = 0;
    int number11 = 0;
    QString text7;
    int number12 = 0; // the number of entries in `members`
    QList<Agent_ConfTargetMember> members;
    int number13 = 0;
    QString reserveStartTime;
    int number14 = 0;
    QString confTopic; // the last "topic" of a {"topics": [...]} text, else the text itself
    int number15 = 0;
    // Filled by the answer to joining only.
    QString text8;
    int number16 = 0;
    QString text9;
    int number17 = 0;
    QString text10;

    auto fields() const
    {
        return std::tie(confId, text2, number1, creator, number2, text3, text4, number3,
                        memberCount, number4, startTime, number5, text5, createTime, updateTime,
                        text6, number6, number7, number8, number9, number10, number11, text7,
                        number12, members, number13, reserveStartTime, number14, confTopic,
                        number15, text8, number16, text9, number17, text10);
    }
    bool operator==(const Agent_ConfInfo &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_ConfInfo &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_ConfInfo)

// One member, from the member queries. number3 is a word of flags, also split into flag0
// (bit 0) to flag11 (bit 11).
struct Agent_ConferenceMemberInfo
{
    QString memberId;
    QString text2;
    int number1 = 0;
    int number2 = 0;
    int number3 = 0;
    int number4 = 0;
    QString text3;
    QString text4;
    QString text5;
    QString text6;
    QString text7;
    QString text8; // never read: stays empty
    QString text9;
    bool flag0 = false;
    bool flag1 = false;
    bool flag2 = false;
    bool flag3 = false;
    bool flag4 = false;
    bool flag5 = false;
    bool flag6 = false;
    bool flag7 = false;
    bool flag8 = false;
    bool flag9 = false;
    bool flag10 = false;
    bool flag11 = false;
    int deviceType = 0; // filled by the current member list only
    int number5 = 0;

    auto fields() const
    {
        return std::tie(memberId, text2, number1, number2, number3, number4, text3, text4, text5,
                        text6, text7, text8, text9, flag0, flag1, flag2, flag3, flag4, flag5, flag6,
                        flag7, flag8, flag9, flag10, flag11, deviceType, number5);
    }
    bool operator==(const Agent_ConferenceMemberInfo &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_ConferenceMemberInfo &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_ConferenceMemberInfo)

// A member whose invitation or removal failed.
struct Agent_FaildConferenceMemberInfo
{
    QString text1;
    int number1 = 0;
    QString text2;

    auto fields() const { return std::tie(text1, number1, text2); }
    bool operator==(const Agent_FaildConferenceMemberInfo &o) const
    {
        return fields() == o.fields();
    }
    bool operator!=(const Agent_FaildConferenceMemberInfo &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_FaildConferenceMemberInfo)

// One recording of a conference.
struct Agent_ConfRecordFile
{
    QString text1;
    QString text2;
    int number1 = 0;
    QString text3;
    QString text4;

    auto fields() const { return std::tie(text1, text2, number1, text3, text4); }
    bool operator==(const Agent_ConfRecordFile &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_ConfRecordFile &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_ConfRecordFile)

// A member named in a conference notification.
struct Agent_ConfNtyMember
{
    QString text1;
    int number1 = 0;
    int number2 = 0;
    QString text2;
    QString text3;
    int number3 = 0;
    QString text4;
    int deviceType = 0;

    auto fields() const
    {
        return std::tie(text1, number1, number2, text2, text3, number3, text4, deviceType);
    }
    bool operator==(const Agent_ConfNtyMember &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_ConfNtyMember &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_ConfNtyMember)

// A conference event. The two counts are the numbers of entries in their lists.
struct Agent_ConfNtyMsg
{
    int number1 = 0;
    QString text1;
    QString text2;
    QString confTopic; // as in Agent_ConfInfo
    QString text3;
    QString text4;
    QString text5;
    int number2 = 0;
    int number3 = 0;
    int number4 = 0;
    int number5 = 0;
    int number6 = 0;
    QString text6;
    int number7 = 0;
    QString text7;
    QString text8;
    int number8 = 0;
    QString text9;
    int number9 = 0;
    QString text10;
    QString text11;
    QString text12;
    int number10 = 0;
    int kickMemberCount = 0;
    QList<Agent_ConfKickMember> kickMembers;
    int memberCount = 0;
    QList<Agent_ConfNtyMember> members;
    int number11 = 0;
    QString text13;
    QString text14;
    QString text15;
    int number12 = 0;
    int number13 = 0;
    int number14 = 0;
    int deviceType = 0;

    auto fields() const
    {
        return std::tie(number1, text1, text2, confTopic, text3, text4, text5, number2, number3,
                        number4, number5, number6, text6, number7, text7, text8, number8, text9,
                        number9, text10, text11, text12, number10, kickMemberCount, kickMembers,
                        memberCount, members, number11, text13, text14, text15, number12, number13,
                        number14, deviceType);
    }
    bool operator==(const Agent_ConfNtyMsg &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_ConfNtyMsg &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_ConfNtyMsg)

// An invitation to a conference. text4 and number3 to number5 are never read.
struct Agent_ConfInviteNtyMsg
{
    QString text1;
    int number1 = 0;
    QString text2;
    QString text3;
    QString text4;
    QString text5;
    QString text6;
    int number2 = 0;
    QString text7;
    int number3 = 0;
    int number4 = 0;
    int number5 = 0;

    auto fields() const
    {
        return std::tie(text1, number1, text2, text3, text4, text5, text6, number2, text7, number3,
                        number4, number5);
    }
    bool operator==(const Agent_ConfInviteNtyMsg &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_ConfInviteNtyMsg &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_ConfInviteNtyMsg)

// A scheduled conference made, changed or cancelled.
struct Agent_ConfAppointmentNtyMsg
{
    int number1 = 0;
    QString text1;
    QString text2;
    QString text3;
    QString text4;
    QString text5;
    int number2 = 0;
    int number3 = 0;
    QString text6;

    auto fields() const
    {
        return std::tie(number1, text1, text2, text3, text4, text5, number2, number3, text6);
    }
    bool operator==(const Agent_ConfAppointmentNtyMsg &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_ConfAppointmentNtyMsg &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_ConfAppointmentNtyMsg)

// A reminder before a conference starts.
struct Agent_ConfBeforeStartNtyMsg
{
    int number1 = 0;
    QString text1;
    QString text2;
    int number2 = 0;

    auto fields() const { return std::tie(number1, text1, text2, number2); }
    bool operator==(const Agent_ConfBeforeStartNtyMsg &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_ConfBeforeStartNtyMsg &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_ConfBeforeStartNtyMsg)

// A reminder before a conference ends.
struct Agent_ConfBeforeEndNtyMsg
{
    int number1 = 0;
    QString text1;
    QString text2;
    int number2 = 0;

    auto fields() const { return std::tie(number1, text1, text2, number2); }
    bool operator==(const Agent_ConfBeforeEndNtyMsg &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_ConfBeforeEndNtyMsg &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_ConfBeforeEndNtyMsg)

// A conference ended.
struct Agent_ConfEndNtyMsg
{
    int number1 = 0;
    QString text1;
    QString text2;

    auto fields() const { return std::tie(number1, text1, text2); }
    bool operator==(const Agent_ConfEndNtyMsg &o) const { return fields() == o.fields(); }
    bool operator!=(const Agent_ConfEndNtyMsg &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_ConfEndNtyMsg)

// The conference application setting.
struct Agent_ConfAppSetting
{
    int value = 0;

    bool operator==(const Agent_ConfAppSetting &o) const { return value == o.value; }
    bool operator!=(const Agent_ConfAppSetting &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_ConfAppSetting)
