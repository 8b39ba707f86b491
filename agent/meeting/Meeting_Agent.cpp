#include "Meeting_Agent.h"

#include "MeetingConvert.h"
#include "Meeting_CallBackProxy.h"

#include <AgentFrame.h>
#include <AgentLog.h>
#include <EngineArgs.h>
#include <ZSsdk.h>

#include <QDebug>

#include <memory>

QAtomicPointer<Meeting_Agent> Meeting_Agent::ins;

namespace {

#define WHERE TQ_WHERE(Meeting_Agent)

using tq::Utf8Arg;

// The engine takes its flags as int, 0 or 1.
int flag(bool value)
{
    return value ? 1 : 0;
}

} // namespace

Meeting_Agent *Meeting_Agent::instance()
{
    return tq::agentInstance(ins, [] {
        std::unique_ptr<Meeting_Agent> agent(new Meeting_Agent);
        agent->initConnections();
        Meeting_CallBackProxy::instance()->registerCallbacks();
        return agent;
    });
}

Meeting_Agent::Meeting_Agent() = default;

Meeting_Agent::~Meeting_Agent() = default;

void Meeting_Agent::initConnections()
{
    // The result records cross threads from the first callback on.
    tq::registerRecords<Agent_MeetingComingInfo, Agent_MeetingInfo, Agent_MeetingMemberInfo,
                        Agent_MeetingDeleteMemberInfo, Agent_MeetingMemberSpeakListenInfo,
                        Agent_MeetingInviteInfo, Agent_InterphoneMsg, Agent_VoiceMeetingMsg,
                        Agent_VideoMeetingMsg>();

    connect(this, SIGNAL(sig_requestConferenceMemberVideo(QString, QString, QString, void *, int)),
            this, SLOT(slot_requestConferenceMemberVideo(QString, QString, QString, void *, int)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_cancelMemberVideo(QString, QString, QString, int)), this,
            SLOT(slot_cancelMemberVideo(QString, QString, QString, int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_resetVideoConfWindow(QString, QString, void *, int)), this,
            SLOT(slot_resetVideoConfWindow(QString, QString, void *, int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_setMultiMediaMeetingBeforeCreate(int, QString, QString)), this,
            SLOT(slot_setMultiMediaMeetingBeforeCreate(int, QString, QString)), Qt::AutoConnection);
    connect(this,
            SIGNAL(sig_createMultimediaMeeting(int, QString, QString, QString, int, int, bool, bool,
                                               bool)),
            this,
            SLOT(slot_createMultimediaMeeting(int, QString, QString, QString, int, int, bool, bool,
                                              bool)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_joinMeeting(int, QString, QString)), this,
            SLOT(slot_joinMeeting(int, QString, QString)), Qt::AutoConnection);
    connect(
        this, SIGNAL(sig_acceptMeeting(int, QString, QString, QString, QString, QString, QString)),
        this, SLOT(slot_acceptMeeting(int, QString, QString, QString, QString, QString, QString)),
        Qt::AutoConnection);
    connect(this, SIGNAL(sig_exitMeeting(QString)), this, SLOT(slot_exitMeeting(QString)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_queryMeetingMembers(int, QString)), this,
            SLOT(slot_queryMeetingMembers(int, QString)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_dismissMultiMediaMeeting(int, QString)), this,
            SLOT(slot_dismissMultiMediaMeeting(int, QString)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_queryMultiMediaMeetings(int, QString)), this,
            SLOT(slot_queryMultiMediaMeetings(int, QString)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_setMultimediaMeetingBeforeInviteJoin(QString)), this,
            SLOT(slot_setMultimediaMeetingBeforeInviteJoin(QString)), Qt::AutoConnection);
    connect(this,
            SIGNAL(sig_inviteJoinMultiMediaMeeting(QString, QList<QString>, bool, bool, bool,
                                                   QString, QString)),
            this,
            SLOT(slot_inviteJoinMultiMediaMeeting(QString, QList<QString>, bool, bool, bool,
                                                  QString, QString)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_deleteMemberMultiMediaMeeting(int, QString, QString, bool)), this,
            SLOT(slot_deleteMemberMultiMediaMeeting(int, QString, QString, bool)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_publishVideo(QString)), this, SLOT(slot_publishVideo(QString)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_unpublishVideo(QString)), this, SLOT(slot_unpublishVideo(QString)),
            Qt::AutoConnection);
    connect(this, SIGNAL(sig_createInterphoneMeeting(QList<QString>)), this,
            SLOT(slot_createInterphoneMeeting(QList<QString>)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_createInterphoneMeetingBackground(QList<QString>, int)), this,
            SLOT(slot_createInterphoneMeetingBackground(QList<QString>, int)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_controlInterphoneMic(bool, QString)), this,
            SLOT(slot_controlInterphoneMic(bool, QString)), Qt::AutoConnection);
    connect(this, SIGNAL(sig_setMeetingSpeakListen(int, QString, QString, bool, int)), this,
            SLOT(slot_setMeetingSpeakListen(int, QString, QString, bool, int)), Qt::AutoConnection);
}

// ---- member video windows: handles passed through untouched ---------------------------------

void Meeting_Agent::slot_requestConferenceMemberVideo(QString conferenceId,
                                                      QString conferencePasswd, QString member,
                                                      void *videoWindow, int type)
{
    tq::callEngine(WHERE, RequestConferenceMemberVideo, Utf8Arg(conferenceId),
                   Utf8Arg(conferencePasswd), Utf8Arg(member), videoWindow, type);
}

void Meeting_Agent::slot_cancelMemberVideo(QString conferenceId, QString conferencePasswd,
                                           QString member, int type)
{
    tq::callEngine(WHERE, CancelMemberVideo, Utf8Arg(conferenceId), Utf8Arg(conferencePasswd),
                   Utf8Arg(member), type);
}

void Meeting_Agent::slot_resetVideoConfWindow(QString conferenceId, QString member, void *newWindow,
                                              int type)
{
    tq::callEngine(WHERE, ResetVideoConfWindow, Utf8Arg(conferenceId), Utf8Arg(member), newWindow,
                   type);
}

// ---- multimedia meetings ---------------------------------------------------------------------

void Meeting_Agent::slot_setMultiMediaMeetingBeforeCreate(int callbackmode, QString serverUserData,
                                                          QString reservation)
{
    tq::callEngine(WHERE, SetMultiMediaMeetingBeforeCreate, callbackmode, Utf8Arg(serverUserData),
                   Utf8Arg(reservation));
}

void Meeting_Agent::slot_createMultimediaMeeting(int meetingType, QString meetingName,
                                                 QString password, QString keywords, int voiceMode,
                                                 int square, bool bAutoJoin, bool autoClose,
                                                 bool autoDelete)
{
    unsigned int matchKey = 0;
    tq::callEngine(WHERE, CreateMultimediaMeeting, &matchKey, meetingType, Utf8Arg(meetingName),
                   Utf8Arg(password), Utf8Arg(keywords), voiceMode, square, flag(bAutoJoin),
                   flag(autoClose), flag(autoDelete));
}

void Meeting_Agent::slot_joinMeeting(int meetingType, QString conferenceId, QString password)
{
    tq::callEngine(WHERE, JoinMeeting, meetingType, Utf8Arg(conferenceId), Utf8Arg(password));
}

void Meeting_Agent::slot_acceptMeeting(int meetingType, QString conferenceId, QString callid,
                                       QString caller, QString nickname, QString display,
                                       QString sdkUserData)
{
    Agent_MeetingComingInfo invitation;
    invitation.meetingType = meetingType;
    invitation.conferenceId = conferenceId;
    invitation.callid = callid;
    invitation.caller = caller;
    invitation.nickname = nickname;
    invitation.display = display;
    invitation.sdkUserData = sdkUserData;
    ZS_MeetingInvitation record;
    meeting::toEngine(invitation, record);
    tq::callEngine(WHERE, AcceptMeeting, &record);
}

void Meeting_Agent::slot_exitMeeting(QString conferenceId)
{
    tq::callEngine(WHERE, ExitMeeting, Utf8Arg(conferenceId));
}

void Meeting_Agent::slot_queryMeetingMembers(int meetingType, QString conferenceId)
{
    unsigned int matchKey = 0;
    tq::callEngine(WHERE, QueryMeetingMembers, &matchKey, meetingType, Utf8Arg(conferenceId));
}

void Meeting_Agent::slot_dismissMultiMediaMeeting(int meetingType, QString conferenceId)
{
    unsigned int matchKey = 0;
    tq::callEngine(WHERE, DismissMultiMediaMeeting, &matchKey, meetingType, Utf8Arg(conferenceId));
}

void Meeting_Agent::slot_queryMultiMediaMeetings(int meetingType, QString keywords)
{
    unsigned int matchKey = 0;
    tq::callEngine(WHERE, QueryMultiMediaMeetings, &matchKey, meetingType, Utf8Arg(keywords));
}

void Meeting_Agent::slot_setMultimediaMeetingBeforeInviteJoin(QString serverUserData)
{
    tq::callEngine(WHERE, setMultimediaMeetingBeforeInviteJoin, Utf8Arg(serverUserData));
}

void Meeting_Agent::slot_inviteJoinMultiMediaMeeting(QString conferenceId, QList<QString> members,
                                                     bool blanding, bool isSpeak, bool isListen,
                                                     QString disNumber, QString userdata)
{
    if (members.size() < 1)
        return;
    const tq::StringArray array(members); // released after the call
    unsigned int matchKey = 0;
    const int ret = InviteJoinMultiMediaMeeting(
        &matchKey, Utf8Arg(conferenceId), array.constData(), array.count(), flag(blanding),
        flag(isSpeak), flag(isListen), Utf8Arg(disNumber), Utf8Arg(userdata));
    qDebug().noquote() << tq::logText(WHERE) << "ret:" << ret;
    tq::logInfo("%1,ret=%2", WHERE, ret);
}

void Meeting_Agent::slot_deleteMemberMultiMediaMeeting(int meetingType, QString conferenceId,
                                                       QString member, bool isVoIP)
{
    unsigned int matchKey = 0;
    tq::callEngine(WHERE, DeleteMemberMultiMediaMeeting, &matchKey, meetingType,
                   Utf8Arg(conferenceId), Utf8Arg(member), flag(isVoIP));
}

void Meeting_Agent::slot_publishVideo(QString conferenceId)
{
    unsigned int matchKey = 0;
    tq::callEngine(WHERE, PublishVideo, &matchKey, Utf8Arg(conferenceId));
}

void Meeting_Agent::slot_unpublishVideo(QString conferenceId)
{
    unsigned int matchKey = 0;
    tq::callEngine(WHERE, UnpublishVideo, &matchKey, Utf8Arg(conferenceId));
}

void Meeting_Agent::slot_setMeetingSpeakListen(int meetingType, QString meetingId, QString member,
                                               bool isVoIP, int option)
{
    unsigned int matchKey = 0;
    tq::callEngine(WHERE, SetMeetingSpeakListen, &matchKey, meetingType, Utf8Arg(meetingId),
                   Utf8Arg(member), flag(isVoIP), option);
}

// ---- interphone meetings ---------------------------------------------------------------------

void Meeting_Agent::slot_createInterphoneMeeting(QList<QString> members)
{
    if (members.size() < 1)
        return;
    const tq::StringArray array(members); // released after the call
    unsigned int matchKey = 0;
    tq::callEngine(WHERE, CreateInterphoneMeeting, &matchKey, array.constData(), array.count());
}

void Meeting_Agent::slot_createInterphoneMeetingBackground(QList<QString> members, int voiceMode)
{
    if (members.size() < 1)
        return;
    const tq::StringArray array(members); // released after the call
    unsigned int matchKey = 0;
    tq::callEngine(WHERE, CreateInterphoneMeetingBackground, &matchKey, array.constData(),
                   array.count(), voiceMode);
}

void Meeting_Agent::slot_controlInterphoneMic(bool isControl, QString interphoneId)
{
    unsigned int matchKey = 0;
    tq::callEngine(WHERE, ControlInterphoneMic, &matchKey, flag(isControl), Utf8Arg(interphoneId));
}

#undef WHERE
