#pragma once

// Value records of the meeting family, carried by Meeting_Agent's result signals. The fields
// named by position (number1, text1, flag1, ...) are the engine's own, carried unchanged.

#include <QList>
#include <QMetaType>
#include <QString>

// An invitation to a meeting (sig_onMeetingInviteIncoming). The fields match, in order, the
// parameters of sig_acceptMeeting.
struct Agent_MeetingComingInfo
{
    int meetingType = 0;
    QString conferenceId;
    QString callid;
    QString caller;
    QString nickname;
    QString display;
    QString sdkUserData;

    bool operator==(const Agent_MeetingComingInfo &o) const
    {
        return meetingType == o.meetingType && conferenceId == o.conferenceId && callid == o.callid
            && caller == o.caller && nickname == o.nickname && display == o.display
            && sdkUserData == o.sdkUserData;
    }
    bool operator!=(const Agent_MeetingComingInfo &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_MeetingComingInfo)

// A meeting (sig_onCreateMultimediaMeeting, sig_onQueryMultiMediaMeetings).
struct Agent_MeetingInfo
{
    int number1 = 0;
    int number2 = 0;
    int number3 = 0;
    int number4 = 0;
    QString text1;
    QString text2;
    QString text3;
    QString text4;

    bool operator==(const Agent_MeetingInfo &o) const
    {
        return number1 == o.number1 && number2 == o.number2 && number3 == o.number3
            && number4 == o.number4 && text1 == o.text1 && text2 == o.text2 && text3 == o.text3
            && text4 == o.text4;
    }
    bool operator!=(const Agent_MeetingInfo &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_MeetingInfo)

// A member of a meeting (sig_onQueryMeetingMembers).
struct Agent_MeetingMemberInfo
{
    int number1 = 0;
    int number2 = 0;
    int number3 = 0;
    int number4 = 0;
    QString text1;
    QString text2;
    QString text3;
    QString text4;
    bool flag1 = false;
    bool flag2 = false;
    bool flag3 = false;

    bool operator==(const Agent_MeetingMemberInfo &o) const
    {
        return number1 == o.number1 && number2 == o.number2 && number3 == o.number3
            && number4 == o.number4 && text1 == o.text1 && text2 == o.text2 && text3 == o.text3
            && text4 == o.text4 && flag1 == o.flag1 && flag2 == o.flag2 && flag3 == o.flag3;
    }
    bool operator!=(const Agent_MeetingMemberInfo &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_MeetingMemberInfo)

// A member removed from a meeting (sig_onDeleteMemberMultiMediaMeeting).
struct Agent_MeetingDeleteMemberInfo
{
    QString conferenceId;
    QString member;
    int meetingType = 0;
    bool isVoIP = false;

    bool operator==(const Agent_MeetingDeleteMemberInfo &o) const
    {
        return conferenceId == o.conferenceId && member == o.member && meetingType == o.meetingType
            && isVoIP == o.isVoIP;
    }
    bool operator!=(const Agent_MeetingDeleteMemberInfo &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_MeetingDeleteMemberInfo)

// A member's speak and listen setting (sig_onSetMeetingSpeakListen).
struct Agent_MeetingMemberSpeakListenInfo
{
    int meetingType = 0;
    QString meetingId;
    QString member;
    int option = 0;
    bool isVoIP = false;

    bool operator==(const Agent_MeetingMemberSpeakListenInfo &o) const
    {
        return meetingType == o.meetingType && meetingId == o.meetingId && member == o.member
            && option == o.option && isVoIP == o.isVoIP;
    }
    bool operator!=(const Agent_MeetingMemberSpeakListenInfo &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_MeetingMemberSpeakListenInfo)

// The answer to an invitation (sig_onInviteJoinMultiMediaMeeting).
struct Agent_MeetingInviteInfo
{
    QString conferenceId;
    QList<QString> members;
    QString resultText;
    bool flag1 = false;
    bool flag2 = false;

    bool operator==(const Agent_MeetingInviteInfo &o) const
    {
        return conferenceId == o.conferenceId && members == o.members && resultText == o.resultText
            && flag1 == o.flag1 && flag2 == o.flag2;
    }
    bool operator!=(const Agent_MeetingInviteInfo &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_MeetingInviteInfo)

// A message of an interphone meeting (sig_onReceiveInterphoneMeetingMessage).
struct Agent_InterphoneMsg
{
    int number1 = 0;
    int number2 = 0;
    QString text1;
    QString text2;
    QString text3;
    QString text4;
    QString text5;
    QString text6;
    QString text7;

    bool operator==(const Agent_InterphoneMsg &o) const
    {
        return number1 == o.number1 && number2 == o.number2 && text1 == o.text1 && text2 == o.text2
            && text3 == o.text3 && text4 == o.text4 && text5 == o.text5 && text6 == o.text6
            && text7 == o.text7;
    }
    bool operator!=(const Agent_InterphoneMsg &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_InterphoneMsg)

// A message of a voice meeting (sig_onReceiveVoiceMeetingMessage).
struct Agent_VoiceMeetingMsg
{
    int number1 = 0;
    int number2 = 0;
    QString text1;
    QString text2;
    QString text3;
    QString text4;
    QString text5;
    QString text6;
    QString text7;
    bool flag1 = false;

    bool operator==(const Agent_VoiceMeetingMsg &o) const
    {
        return number1 == o.number1 && number2 == o.number2 && text1 == o.text1 && text2 == o.text2
            && text3 == o.text3 && text4 == o.text4 && text5 == o.text5 && text6 == o.text6
            && text7 == o.text7 && flag1 == o.flag1;
    }
    bool operator!=(const Agent_VoiceMeetingMsg &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_VoiceMeetingMsg)

// A message of a video meeting (sig_onReceiveVideoMeetingMessage).
struct Agent_VideoMeetingMsg
{
    int number1 = 0;
    int number2 = 0;
    int number3 = 0;
    int number4 = 0;
    QString text1;
    QString text2;
    QString text3;
    QString text4;
    QString text5;
    QString text6;
    QString text7;
    bool flag1 = false;

    bool operator==(const Agent_VideoMeetingMsg &o) const
    {
        return number1 == o.number1 && number2 == o.number2 && number3 == o.number3
            && number4 == o.number4 && text1 == o.text1 && text2 == o.text2 && text3 == o.text3
            && text4 == o.text4 && text5 == o.text5 && text6 == o.text6 && text7 == o.text7
            && flag1 == o.flag1;
    }
    bool operator!=(const Agent_VideoMeetingMsg &o) const { return !(*this == o); }
};
Q_DECLARE_METATYPE(Agent_VideoMeetingMsg)
