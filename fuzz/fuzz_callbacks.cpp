// Every callback the agents register, called straight from the fuzz thread with arguments
// decoded from the input (CallbackEntries.h): records in allocations of their exact size,
// text fields without a NUL, arrays with odd counts. ASan and UBSan watch the reading; the
// result signals are checked too: lists follow the count the engine gave, clamped, and every
// text stays within its field.

#include "CallbackEntries.h"
#include "FuzzApp.h"

#include <Conference_Agent.h>
#include <IM_Agent.h>
#include <Meeting_Agent.h>
#include <SDK_Agent.h>
#include <SDK_CallBackProxy.h>
#include <Voip_Agent.h>
#include <ZSsdkControl.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// A text read from a field of `width` bytes: never longer, never holding a NUL.
bool fits(const QString &text, int width)
{
    return text.size() <= width && !text.contains(QChar(0));
}

void checkStates(const QList<Agent_PersonState> &states)
{
    const tqfuzz::ArrayArgument &last = tqfuzz::lastArray();
    const int expected = (last.null || last.count < 0) ? 0 : last.count;
    TQ_FUZZ_CHECK(states.size() == expected);
    for (const Agent_PersonState &s : states) {
        TQ_FUZZ_CHECK(fits(s.text1, 129));
        TQ_FUZZ_CHECK(fits(s.text2, 129));
        TQ_FUZZ_CHECK(fits(s.text3, 21));
        TQ_FUZZ_CHECK(fits(s.text4, 4097));
    }
}

void watchResults(QObject *context)
{
    const auto direct = Qt::DirectConnection; // emitted on the fuzz thread, checked there
    SDK_Agent *session = SDK_Agent::instance();
    QObject::connect(
        session, &SDK_Agent::sig_onGetUserState, context,
        [](int, const QList<Agent_PersonState> &states) { checkStates(states); }, direct);
    QObject::connect(session, &SDK_Agent::sig_onReceiveFriendsPublishPresence, context,
                     &checkStates, direct);
    QObject::connect(
        session, &SDK_Agent::sig_onGetPersonInfo, context,
        [](int, const Agent_PersonInfo &info) {
            TQ_FUZZ_CHECK(fits(info.text1, 129));
            TQ_FUZZ_CHECK(fits(info.text2, 21));
            TQ_FUZZ_CHECK(fits(info.text3, 1306));
        },
        direct);

    Voip_Agent *voip = Voip_Agent::instance();
    QObject::connect(
        voip, &Voip_Agent::sig_onCallEvents, context,
        [](int, const Agent_VoIPCallMsg &msg) {
            TQ_FUZZ_CHECK(fits(msg.callid, ZS_CALL_ID_SIZE));
            TQ_FUZZ_CHECK(fits(msg.caller, ZS_CALL_NUMBER_SIZE));
            TQ_FUZZ_CHECK(fits(msg.callee, ZS_CALL_NUMBER_SIZE));
        },
        direct);
    QObject::connect(
        voip, &Voip_Agent::sig_onCallIncoming, context,
        [](const Agent_VoIPComingInfo &info) {
            TQ_FUZZ_CHECK(fits(info.text1, 65));
            TQ_FUZZ_CHECK(fits(info.text2, 65));
            TQ_FUZZ_CHECK(fits(info.text3, 129));
            TQ_FUZZ_CHECK(fits(info.text4, 129));
        },
        direct);
    QObject::connect(
        voip, &Voip_Agent::sig_onMakeCallBack, context,
        [](int, const Agent_CallBackInfo &info) {
            TQ_FUZZ_CHECK(fits(info.text1, 65));
            TQ_FUZZ_CHECK(fits(info.text2, 65));
            TQ_FUZZ_CHECK(fits(info.text3, 21));
            TQ_FUZZ_CHECK(fits(info.text4, 65));
        },
        direct);
}

// A message read from the engine's record: every text within its field. A link card
// received as a file carries its card as JSON instead of the user data.
void checkMessage(const ChatMsgData &m, bool linkCard = false)
{
    TQ_FUZZ_CHECK(fits(m.msgId, 65));
    TQ_FUZZ_CHECK(fits(m.dateCreated, 21));
    TQ_FUZZ_CHECK(fits(m.sender, 65));
    TQ_FUZZ_CHECK(fits(m.receiver, 65));
    TQ_FUZZ_CHECK(fits(m.msgContent, 8193));
    if (linkCard)
        TQ_FUZZ_CHECK(QJsonDocument::fromJson(m.userData.toUtf8()).object().size() == 4);
    else
        TQ_FUZZ_CHECK(fits(m.userData, 24582));
    TQ_FUZZ_CHECK(fits(m.auxText1, 129));
    TQ_FUZZ_CHECK(fits(m.fileName, 513));
    TQ_FUZZ_CHECK(fits(m.sessionId, 65));
    TQ_FUZZ_CHECK(fits(m.fileUrl, 513));
    TQ_FUZZ_CHECK(fits(m.auxText2, 65));
    TQ_FUZZ_CHECK(fits(m.title, 513));
    TQ_FUZZ_CHECK(fits(m.imgPath, 4097));
    TQ_FUZZ_CHECK(fits(m.desc, 4097));
    TQ_FUZZ_CHECK(fits(m.url, 4097));
    TQ_FUZZ_CHECK(m.sendStatus == 0 && m.localFile.isEmpty());
}

void watchMessages(QObject *context)
{
    const auto direct = Qt::DirectConnection;
    IM_Agent *im = IM_Agent::instance();
    const auto message = [](const ChatMsgData &m) {
        checkMessage(m);
    };
    const auto result = [](int, const ChatMsgData &m) {
        checkMessage(m);
    };
    for (auto signal :
         {&IM_Agent::sig_onReceiveMessage, &IM_Agent::sig_onReceiveConfMessage,
          &IM_Agent::sig_onReceiveOfflineMessage, &IM_Agent::sig_onReceiveNoVersionMessage,
          &IM_Agent::sig_onReceiveOpreateNoticeMessage,
          &IM_Agent::sig_onReceiveServerUndefineMessage})
        QObject::connect(im, signal, context, message, direct);
    for (auto signal : {&IM_Agent::sig_onSendTextMessage, &IM_Agent::sig_onSendMediaFile,
                        &IM_Agent::sig_onDownloadFileComplete})
        QObject::connect(im, signal, context, result, direct);
    QObject::connect(
        im, &IM_Agent::sig_onReceiveFile, context,
        [](const ChatMsgData &m) { checkMessage(m, m.msgType == 8); }, direct);
    QObject::connect(
        im, &IM_Agent::sig_onRateOfProgressAttach, context,
        [](int, qulonglong, qulonglong, const ChatMsgData &m) { checkMessage(m); }, direct);
    QObject::connect(
        im, &IM_Agent::sig_onGetTopContact, context,
        [](int, const QList<QString> &contacts) {
            const tqfuzz::ArrayArgument &last = tqfuzz::lastArray();
            TQ_FUZZ_CHECK(contacts.size() == ((last.null || last.count < 0) ? 0 : last.count));
        },
        direct);
}

// ---- conferences ------------------------------------------------------------------------------

int expectedCount()
{
    const tqfuzz::ArrayArgument &last = tqfuzz::lastArray();
    return (last.null || last.count < 0) ? 0 : last.count;
}

// An array inside a record: never more entries than the input can hold.
template<class List> bool embedded(const List &list, int count)
{
    return list.size() == count && count >= 0 && count < tqfuzz::kMaxArray;
}

void checkTarget(const Agent_ConfTargetMember &m)
{
    TQ_FUZZ_CHECK(fits(m.memberId, 257) && fits(m.text2, 259) && fits(m.text3, 65));
    TQ_FUZZ_CHECK(fits(m.text4, 65) && fits(m.text5, 65) && fits(m.text6, 257));
    TQ_FUZZ_CHECK(fits(m.text7, 34) && fits(m.text8, 257) && fits(m.text9, 1024));
    TQ_FUZZ_CHECK(fits(m.text10, 34) && fits(m.text11, 35));
}

void checkInfo(const Agent_ConfInfo &c)
{
    TQ_FUZZ_CHECK(fits(c.confId, 257) && fits(c.text2, 259) && fits(c.creator, 132));
    TQ_FUZZ_CHECK(fits(c.text3, 129) && fits(c.text4, 131) && fits(c.startTime, 68));
    TQ_FUZZ_CHECK(fits(c.text5, 1024) && fits(c.createTime, 65) && fits(c.updateTime, 65));
    TQ_FUZZ_CHECK(fits(c.text6, 66) && fits(c.text7, 132) && fits(c.reserveStartTime, 68));
    TQ_FUZZ_CHECK(fits(c.confTopic, 1028) && fits(c.text8, 1028) && fits(c.text9, 132));
    TQ_FUZZ_CHECK(fits(c.text10, 72) && c.number9 == 0);
    TQ_FUZZ_CHECK(embedded(c.members, c.number12));
    for (const Agent_ConfTargetMember &m : c.members)
        checkTarget(m);
}

void checkMember(const Agent_ConferenceMemberInfo &m)
{
    TQ_FUZZ_CHECK(fits(m.memberId, 257) && fits(m.text2, 259) && fits(m.text3, 65));
    TQ_FUZZ_CHECK(fits(m.text4, 65) && fits(m.text5, 65) && fits(m.text6, 257));
    TQ_FUZZ_CHECK(fits(m.text7, 34) && m.text8.isEmpty() && fits(m.text9, 1024));
    TQ_FUZZ_CHECK(m.flag0 == bool(m.number3 & 1) && m.flag11 == bool(m.number3 & (1 << 11)));
}

void watchConferences(QObject *context)
{
    const auto direct = Qt::DirectConnection;
    Conference_Agent *conf = Conference_Agent::instance();
    using A = Conference_Agent;
    const auto info = [](auto, int, const Agent_ConfInfo &c, QString) {
        checkInfo(c);
    };
    QObject::connect(conf, &A::sig_onGetConferenceInfo, context, info, direct);
    QObject::connect(conf, &A::sig_onMemberJoinConference, context, info, direct);
    const auto infos = [](auto, int, const QList<Agent_ConfInfo> &list, QString) {
        TQ_FUZZ_CHECK(list.size() == expectedCount());
        for (const Agent_ConfInfo &c : list)
            checkInfo(c);
    };
    QObject::connect(conf, &A::sig_onGetConferenceInfoList, context, infos, direct);
    QObject::connect(conf, &A::sig_onGetHistoryConferenceInfoList, context, infos, direct);
    const auto members
        = [](auto, int, QString, const QList<Agent_ConferenceMemberInfo> &list, QString) {
              TQ_FUZZ_CHECK(list.size() == expectedCount());
              for (const Agent_ConferenceMemberInfo &m : list)
                  checkMember(m);
          };
    QObject::connect(conf, &A::sig_onGetConferenceMemberInfoList, context, members, direct);
    QObject::connect(conf, &A::sig_onGetHistoryConferenceMemberInfoList, context, members, direct);
    QObject::connect(
        conf, &A::sig_onGetConferenceMemberInfo, context,
        [](auto, int, QString, const Agent_ConferenceMemberInfo &m, QString) { checkMember(m); },
        direct);
    const auto failed
        = [](auto, int, QString, const QList<Agent_FaildConferenceMemberInfo> &list, QString) {
              TQ_FUZZ_CHECK(list.size() == expectedCount());
              for (const Agent_FaildConferenceMemberInfo &f : list)
                  TQ_FUZZ_CHECK(fits(f.text1, 260) && fits(f.text2, 36));
          };
    QObject::connect(conf, &A::sig_onConferenceInviteMember, context, failed, direct);
    QObject::connect(conf, &A::sig_onConferenceKickoutMember, context, failed, direct);
    QObject::connect(
        conf, &A::sig_onGetConferenceRecordList, context,
        [](auto, int reason, const QList<Agent_ConfRecordFile> &files) {
            TQ_FUZZ_CHECK(files.size() == (reason == 200 ? expectedCount() : 0));
            for (const Agent_ConfRecordFile &f : files)
                TQ_FUZZ_CHECK(fits(f.text1, 65) && fits(f.text2, 259) && fits(f.text3, 65)
                              && fits(f.text4, 67));
        },
        direct);
    QObject::connect(
        conf, &A::sig_onReceivedConferenceNotification, context,
        [](const Agent_ConfNtyMsg &n, QString) {
            TQ_FUZZ_CHECK(fits(n.text1, 129) && fits(n.text2, 257) && fits(n.confTopic, 257));
            TQ_FUZZ_CHECK(fits(n.text6, 260) && fits(n.text11, 513) && fits(n.text15, 1026));
            TQ_FUZZ_CHECK(embedded(n.kickMembers, n.kickMemberCount));
            TQ_FUZZ_CHECK(embedded(n.members, n.memberCount));
            for (const Agent_ConfKickMember &k : n.kickMembers)
                TQ_FUZZ_CHECK(fits(k.text1, 260));
            for (const Agent_ConfNtyMember &m : n.members)
                TQ_FUZZ_CHECK(fits(m.text1, 260) && fits(m.text3, 1027) && fits(m.text4, 108));
        },
        direct);
    QObject::connect(
        conf, &A::sig_onReceivedConferenceInviteNotification, context,
        [](const Agent_ConfInviteNtyMsg &n, QString) {
            TQ_FUZZ_CHECK(fits(n.text1, 516) && fits(n.text7, 260) && n.text4.isEmpty());
        },
        direct);
    QObject::connect(
        conf, &A::sig_onReceivedConferenceAppointmentNotification, context,
        [](const Agent_ConfAppointmentNtyMsg &n, QString) {
            TQ_FUZZ_CHECK(fits(n.text1, 34) && fits(n.text5, 65) && fits(n.text6, 68));
        },
        direct);
    QObject::connect(
        conf, &A::sig_onReceivedConferenceEndNotification, context,
        [](const Agent_ConfEndNtyMsg &n, QString) {
            TQ_FUZZ_CHECK(fits(n.text1, 34) && fits(n.text2, 66));
        },
        direct);
}

// ---- meetings ---------------------------------------------------------------------------------

void checkMeeting(const Agent_MeetingInfo &m)
{
    TQ_FUZZ_CHECK(fits(m.text1, 129) && fits(m.text2, 129) && fits(m.text3, 129));
    TQ_FUZZ_CHECK(fits(m.text4, 129));
}

void watchMeetings(QObject *context)
{
    const auto direct = Qt::DirectConnection;
    Meeting_Agent *meeting = Meeting_Agent::instance();
    using A = Meeting_Agent;
    QObject::connect(
        meeting, &A::sig_onReceiveInterphoneMeetingMessage, context,
        [](const Agent_InterphoneMsg &m) {
            TQ_FUZZ_CHECK(fits(m.text1, 65) && fits(m.text2, 65) && fits(m.text3, 129));
            TQ_FUZZ_CHECK(fits(m.text4, 21) && fits(m.text5, 65) && fits(m.text6, 1025));
            TQ_FUZZ_CHECK(fits(m.text7, 1025));
        },
        direct);
    QObject::connect(
        meeting, &A::sig_onMeetingInviteIncoming, context,
        [](const Agent_MeetingComingInfo &c) {
            TQ_FUZZ_CHECK(fits(c.conferenceId, 129) && fits(c.callid, 65) && fits(c.caller, 65));
            TQ_FUZZ_CHECK(fits(c.nickname, 129) && fits(c.display, 21));
            TQ_FUZZ_CHECK(fits(c.sdkUserData, 4097));
        },
        direct);
    QObject::connect(
        meeting, &A::sig_onReceiveVoiceMeetingMessage, context,
        [](const Agent_VoiceMeetingMsg &m) {
            TQ_FUZZ_CHECK(fits(m.text1, 65) && fits(m.text2, 65) && fits(m.text3, 65));
            TQ_FUZZ_CHECK(fits(m.text4, 9) && fits(m.text5, 65) && fits(m.text6, 1025));
            TQ_FUZZ_CHECK(fits(m.text7, 129));
        },
        direct);
    QObject::connect(
        meeting, &A::sig_onReceiveVideoMeetingMessage, context,
        [](const Agent_VideoMeetingMsg &m) {
            TQ_FUZZ_CHECK(fits(m.text1, 65) && fits(m.text2, 65) && fits(m.text3, 65));
            TQ_FUZZ_CHECK(fits(m.text4, 9) && fits(m.text5, 65) && fits(m.text6, 1025));
            TQ_FUZZ_CHECK(fits(m.text7, 129));
        },
        direct);
    QObject::connect(
        meeting, &A::sig_onCreateMultimediaMeeting, context,
        [](int, const Agent_MeetingInfo &m) { checkMeeting(m); }, direct);
    QObject::connect(
        meeting, &A::sig_onQueryMultiMediaMeetings, context,
        [](int, const QList<Agent_MeetingInfo> &list) {
            TQ_FUZZ_CHECK(list.size() == expectedCount());
            for (const Agent_MeetingInfo &m : list)
                checkMeeting(m);
        },
        direct);
    QObject::connect(
        meeting, &A::sig_onQueryMeetingMembers, context,
        [](int, QString, const QList<Agent_MeetingMemberInfo> &list) {
            TQ_FUZZ_CHECK(list.size() == expectedCount());
            for (const Agent_MeetingMemberInfo &m : list) {
                TQ_FUZZ_CHECK(fits(m.text1, 9) && fits(m.text2, 129) && fits(m.text3, 65));
                TQ_FUZZ_CHECK(fits(m.text4, 1025));
            }
        },
        direct);
    QObject::connect(
        meeting, &A::sig_onDeleteMemberMultiMediaMeeting, context,
        [](int, const Agent_MeetingDeleteMemberInfo &d) {
            TQ_FUZZ_CHECK(fits(d.conferenceId, 129) && fits(d.member, 129));
        },
        direct);
    QObject::connect(
        meeting, &A::sig_onSetMeetingSpeakListen, context,
        [](int, const Agent_MeetingMemberSpeakListenInfo &s) {
            TQ_FUZZ_CHECK(fits(s.meetingId, 129) && fits(s.member, 129));
        },
        direct);
    QObject::connect(
        meeting, &A::sig_onInviteJoinMultiMediaMeeting, context,
        [](int, const Agent_MeetingInviteInfo &i) {
            TQ_FUZZ_CHECK(fits(i.conferenceId, 129));
            TQ_FUZZ_CHECK(i.members.size() < tqfuzz::kMaxArray);
        },
        direct);
}

// ---- groups -----------------------------------------------------------------------------------

template<class Notice> void checkHeader(const Notice &n, int extraText1)
{
    TQ_FUZZ_CHECK(fits(n.sender, 65) && fits(n.groupId, 34) && fits(n.groupName, 129));
    TQ_FUZZ_CHECK(fits(n.dateCreated, 21) && fits(n.member, 65) && fits(n.extraText1, extraText1));
}

void watchGroups(QObject *context)
{
    const auto direct = Qt::DirectConnection;
    IM_Agent *im = IM_Agent::instance();
    using A = IM_Agent;
    const auto detail = [](int, const Agent_GroupDetailInfo &d) {
        TQ_FUZZ_CHECK(fits(d.groupId, 34) && fits(d.name, 129) && fits(d.detailText3, 129));
        TQ_FUZZ_CHECK(fits(d.province, 65) && fits(d.city, 67) && fits(d.declared, 513));
        TQ_FUZZ_CHECK(fits(d.detailText9, 23) && d.groupDomain.size() <= 513);
    };
    QObject::connect(im, &A::sig_onCreateGroup, context, detail, direct);
    QObject::connect(im, &A::sig_onQueryGroupDetail, context, detail, direct);
    QObject::connect(
        im, &A::sig_onModifyGroup, context,
        [](int, const Agent_ModifyGroupInfo &g) {
            TQ_FUZZ_CHECK(fits(g.groupId, 34) && fits(g.name, 130) && fits(g.province, 65));
            TQ_FUZZ_CHECK(fits(g.city, 67) && fits(g.declared, 516) && fits(g.groupDomain, 513));
        },
        direct);
    const auto card = [](int, const Agent_GroupMemberCard &c) {
        TQ_FUZZ_CHECK(fits(c.cardText1, 65) && fits(c.cardText2, 34) && fits(c.cardText3, 129));
        TQ_FUZZ_CHECK(fits(c.cardText4, 34) && fits(c.cardText5, 129) && fits(c.cardText6, 513));
    };
    QObject::connect(im, &A::sig_onQueryGroupMemberCard, context, card, direct);
    QObject::connect(im, &A::sig_onModifyGroupMemberCard, context, card, direct);
    QObject::connect(
        im, &A::sig_onQueryOwnGroup, context,
        [](int, const QList<Agent_GroupSimpleInfo> &list) {
            TQ_FUZZ_CHECK(list.size() == expectedCount());
            for (const Agent_GroupSimpleInfo &g : list)
                TQ_FUZZ_CHECK(fits(g.groupId, 34) && fits(g.name, 129) && fits(g.simpleText3, 645));
        },
        direct);
    const auto search = [](const QList<Agent_GroupSearchInfo> &list) {
        TQ_FUZZ_CHECK(list.size() == expectedCount());
        for (const Agent_GroupSearchInfo &g : list) {
            TQ_FUZZ_CHECK(fits(g.groupId, 34) && fits(g.name, 129));
            TQ_FUZZ_CHECK(fits(g.searchText3, 129) && fits(g.searchText4, 516));
        }
    };
    QObject::connect(
        im, &A::sig_onSearchPublicGroup, context,
        [search](int, int, QString, const QList<Agent_GroupSearchInfo> &list) { search(list); },
        direct);
    QObject::connect(
        im, &A::sig_onSearchPublicGroupPaging, context,
        [search](int, int, QString, const QList<Agent_GroupSearchInfo> &list, int) {
            search(list);
        },
        direct);
    QObject::connect(
        im, &A::sig_onQueryGroupMember, context,
        [](int, QString, const QList<Agent_GroupMember> &list) {
            TQ_FUZZ_CHECK(list.size() == expectedCount());
            for (const Agent_GroupMember &m : list)
                TQ_FUZZ_CHECK(fits(m.member, 65) && fits(m.memberText, 129));
        },
        direct);
    QObject::connect(
        im, &A::sig_onInviteJoinGroup, context,
        [](int, QString, const QStringList &members, int) {
            TQ_FUZZ_CHECK(members.size() == expectedCount());
        },
        direct);
    QObject::connect(
        im, &A::sig_onForbidMemberSpeakGroup, context,
        [](int, QString, const QStringList &members, int, int allForbid) {
            TQ_FUZZ_CHECK(members.size() == 1 && allForbid == 0);
        },
        direct);

    QObject::connect(
        im, &A::sig_onRequestJoinGroupNtyMsg, context,
        [](const Agent_RequestJoinGroupNtyMsg &n) {
            checkHeader(n, 129);
            TQ_FUZZ_CHECK(fits(n.extraText2, 65));
        },
        direct);
    QObject::connect(
        im, &A::sig_onInviteJoinGroupNtyMsg, context,
        [](const Agent_InviteJoinGroupNtyMsg &n) {
            checkHeader(n, 65);
            TQ_FUZZ_CHECK(fits(n.extraText2, 129));
        },
        direct);
    QObject::connect(
        im, &A::sig_onMemberJoinedGroupNtyMsg, context,
        [](const Agent_MemberJoinedGroupNtyMsg &n) {
            checkHeader(n, 129);
            TQ_FUZZ_CHECK(fits(n.extraText2, 129));
        },
        direct);
    QObject::connect(
        im, &A::sig_onDismissGroupNtyMsg, context,
        [](const Agent_DismissGroupNtyMsg &n) {
            TQ_FUZZ_CHECK(fits(n.sender, 65) && fits(n.groupId, 34) && fits(n.dateCreated, 21));
        },
        direct);
    QObject::connect(
        im, &A::sig_onQuitGroupNtyMsg, context,
        [](const Agent_QuitGroupNtyMsg &n) { checkHeader(n, 129); }, direct);
    QObject::connect(
        im, &A::sig_onRemoveGroupMemberNtyMsg, context,
        [](const Agent_RemoveGroupMemberNtyMsg &n) { checkHeader(n, 129); }, direct);
    const auto reply = [](const auto &n) {
        checkHeader(n, 65);
        TQ_FUZZ_CHECK(fits(n.extraText2, 129));
    };
    QObject::connect(im, &A::sig_onReplyRequestJoinGroupNtyMsg, context, reply, direct);
    QObject::connect(im, &A::sig_onReplyInviteJoinGroupNtyMsg, context, reply, direct);
    QObject::connect(
        im, &A::sig_onModifyGroupNtyMsg, context,
        [](const Agent_ModifyGroupNtyMsg &n) {
            checkHeader(n, 129);
            TQ_FUZZ_CHECK(n.extraValue == 0);
        },
        direct);
    QObject::connect(
        im, &A::sig_onChangeMemberRoleMsg, context,
        [](const Agent_ChangeMemberRoleMsg &n) { checkHeader(n, 129); }, direct);
    QObject::connect(
        im, &A::sig_onModifyGroupMemberInfo, context,
        [](const Agent_ModifyGroupMemberInfo &n) {
            checkHeader(n, 129);
            TQ_FUZZ_CHECK(fits(n.modifyDic, 129));
        },
        direct);
    QObject::connect(
        im, &A::sig_onJoinGroupNoticeInfo, context,
        [](const Agent_JoinGroupNoticeInfo &n) {
            checkHeader(n, 65);
            TQ_FUZZ_CHECK(n.memberCount == n.memberList.size());
            TQ_FUZZ_CHECK(n.memberCount >= 0 && n.memberCount < tqfuzz::kMaxArray);
            for (const Agent_GroupMember &m : n.memberList) {
                TQ_FUZZ_CHECK(fits(m.member, 65) && fits(m.memberText, 129));
                TQ_FUZZ_CHECK(m.memberValue1 == 0 && m.memberValue2 == 0 && m.memberValue3 == 0);
            }
        },
        direct);
}

template<class Table> void requireListed(int kind)
{
    const Table *table = zssim::Control::table<Table>();
    if (!table)
        return;
    const auto *bytes = reinterpret_cast<const unsigned char *>(table);
    for (std::size_t offset = 0; offset < sizeof(Table); offset += sizeof(ZS_Callback)) {
        ZS_Callback slot = nullptr;
        std::memcpy(&slot, bytes + offset, sizeof slot);
        if (!slot)
            continue;
        bool listed = false;
        for (const tqfuzz::Entry &e : tqfuzz::entries())
            listed = listed || (e.table == kind && e.offset == offset);
        if (!listed) {
            std::fprintf(stderr,
                         "fuzz_callbacks: entry %zu of callback table %d is registered but "
                         "missing from tqfuzz::entries()\n",
                         offset / sizeof(ZS_Callback), kind);
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    tqfuzz::startQt();
    zssim::Control::setJournaling(false);

    // The agents register their tables as they do in the program.
    SDK_Agent::instance();
    SDK_CallBackProxy::instance()->registerCallbacks();
    Voip_Agent::instance();
    IM_Agent::instance();
    Conference_Agent::instance();
    Meeting_Agent::instance();
    // A member list writes a Qt debug line per member; at fuzzing rates they would flood
    // the output.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type != QtDebugMsg)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });

    requireListed<ZS_GeneralCallBack>(0);
    requireListed<ZS_VoIPCallBack>(1);
    requireListed<ZS_MessageCallBack>(2);
    requireListed<ZS_MeetingCallBack>(3);
    requireListed<ZS_ConfCallBack>(4);
    watchResults(QCoreApplication::instance());
    watchMessages(QCoreApplication::instance());
    watchConferences(QCoreApplication::instance());
    watchMeetings(QCoreApplication::instance());
    watchGroups(QCoreApplication::instance());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::vector<tqfuzz::Entry> &list = tqfuzz::entries();
    tqfuzz::Reader in(data + 1, size - 1);
    tqfuzz::lastArray() = tqfuzz::ArrayArgument{};
    list[data[0] % list.size()].call(in);
    return 0;
}
