// Meetings: multimedia meetings with their members, invitations, speak and listen settings,
// published video and member video windows; interphone meetings with their microphone.

#include "Engine.h"

#include <Utf8Field.h>

#include <cstdint>

using namespace zssim;

namespace {

using Meeting = MeetingModel::Meeting;
using Member = MeetingModel::Member;
using CB = ZS_MeetingCallBack;

QString text(const char *utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

// A text field of a record handed in, never read past its width.
template<std::size_t N> QString field(const char (&f)[N])
{
    return QString::fromUtf8(f, int(qstrnlen(f, N)));
}

template<std::size_t N> void put(char (&f)[N], const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    tq::copyUtf8Field(f, N, utf8.constData(), std::size_t(utf8.size()));
}

unsigned long long handle(const void *p)
{
    return static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(p));
}

// ---- what callbacks receive: engine memory, scribbled once the callback returns ---------------

using Text = std::shared_ptr<std::vector<char>>;

Text callbackText(const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    std::vector<char> bytes(utf8.begin(), utf8.end());
    bytes.push_back('\0');
    return callbackRecords(std::move(bytes));
}

const char *chars(const Text &t)
{
    return t->data();
}

// One record, zero-filled (padding too) and then filled by `fill`.
template<class Record, class Fill> std::shared_ptr<std::vector<Record>> recordOf(Fill fill)
{
    std::vector<Record> records(1);
    fill(records[0]);
    return callbackRecords(std::move(records));
}

template<class Record, class Fill>
std::function<void()> push(void (ZS_CALL *CB::*entry)(const Record *), Fill fill)
{
    return [entry, records = recordOf<Record>(fill)] {
        invoke(entry, static_cast<const Record *>(records->data()));
        scribble(*records);
    };
}

template<class Record, class Fill>
std::function<void()> answerRecord(void (ZS_CALL *CB::*entry)(unsigned int, int, const Record *),
                                   unsigned int key, int reason, Fill fill)
{
    return [entry, key, reason, records = recordOf<Record>(fill)] {
        invoke(entry, key, reason, static_cast<const Record *>(records->data()));
        scribble(*records);
    };
}

std::function<void()> answerText(void (ZS_CALL *CB::*entry)(unsigned int, int, const char *),
                                 unsigned int key, int reason, const QString &id)
{
    return [entry, key, reason, t = callbackText(id)] {
        invoke(entry, key, reason, chars(t));
        scribble(*t);
    };
}

std::function<void()> joinAnswer(int reason, const QString &id)
{
    return [reason, t = callbackText(id)] {
        invoke(&CB::onJoinMeeting, reason, chars(t));
        scribble(*t);
    };
}

std::function<void()> exitAnswer(bool interphone, const QString &id)
{
    return [interphone, t = callbackText(id)] {
        invoke(interphone ? &CB::onExitInterphoneMeeting : &CB::onExitMeeting, chars(t));
        scribble(*t);
    };
}

std::function<void()> videoAnswer(void (ZS_CALL *CB::*entry)(int, const char *, const char *, int),
                                  int reason, const QString &id, const QString &member, int type)
{
    return [entry, reason, type, i = callbackText(id), m = callbackText(member)] {
        invoke(entry, reason, chars(i), chars(m), type);
        scribble(*i);
        scribble(*m);
    };
}

// ---- the server's view -------------------------------------------------------------------------

struct Person
{
    QString name; // display name, else the account
    QString number; // short number, else empty
};

Person personOf(const ServerModel &s, const QString &account)
{
    Person p{account, QString()};
    const QByteArray profile = s.personInfo.value(account);
    if (profile.size() == int(sizeof(ZS_PersonInfo))) {
        ZS_PersonInfo info;
        std::memcpy(static_cast<void *>(&info), profile.constData(), sizeof info);
        if (info.text1[0])
            p.name = field(info.text1);
        p.number = field(info.text2);
    }
    return p;
}

bool knownAccount(const ServerModel &s, const QString &account)
{
    return s.accounts.isEmpty() || s.accounts.contains(account)
        || s.contactsOf(s.currentUser).contains(account);
}

void fillMeeting(ZS_MeetingInfo &r, const Meeting &m)
{
    r.number1 = m.type;
    r.number2 = m.joined().size();
    r.number3 = m.square;
    r.number4 = m.voiceMode;
    put(r.text1, m.id);
    put(r.text2, m.name);
    put(r.text3, m.creator);
    put(r.text4, m.keywords);
}

void fillMember(ZS_MeetingMemberInfo &r, const ServerModel &s, const Meeting &m, const Member &x)
{
    const Person p = personOf(s, x.account);
    r.number1 = x.state;
    r.number2 = x.role;
    r.number3 = x.speakListen;
    r.number4 = x.isVoIP ? 1 : 0;
    put(r.text1, p.number);
    put(r.text2, p.name);
    put(r.text3, x.account);
    put(r.text4, x.userData);
    r.flag1 = x.state == MeetingModel::Joined;
    r.flag2 = x.publishingVideo;
    r.flag3 = !m.micHolder.isEmpty() && m.micHolder == x.account;
}

// The message of `event` about `who`, as the meeting stands now.
std::function<void()> meetingMessage(const ServerModel &s, const Meeting &m, int event,
                                     const QString &who)
{
    const Person p = personOf(s, who);
    const Member *x = m.member(who);
    const bool in = x && x->state == MeetingModel::Joined;
    const QString present = m.joined().join(QLatin1Char(','));
    const int count = m.joined().size();
    if (m.type == MeetingModel::InterphoneMeeting)
        return push(&CB::onReceiveInterphoneMeetingMessage, [&](ZS_InterphoneMsg &r) {
            r.number1 = event;
            r.number2 = count;
            put(r.text1, m.id);
            put(r.text2, who);
            put(r.text3, p.name);
            put(r.text4, p.number);
            put(r.text5, m.micHolder);
            put(r.text6, present);
            put(r.text7, m.creator);
        });
    if (m.type == MeetingModel::VideoMeeting)
        return push(&CB::onReceiveVideoMeetingMessage, [&](ZS_VideoMeetingMsg &r) {
            r.number1 = event;
            r.number2 = count;
            r.number3 = x && x->publishingVideo ? 1 : 0;
            r.number4 = x ? x->speakListen : 0;
            put(r.text1, m.id);
            put(r.text2, who);
            put(r.text3, p.name);
            put(r.text4, p.number);
            put(r.text5, m.creator);
            put(r.text6, present);
            put(r.text7, m.name);
            r.flag1 = in;
        });
    return push(&CB::onReceiveVoiceMeetingMessage, [&](ZS_VoiceMeetingMsg &r) {
        r.number1 = event;
        r.number2 = count;
        put(r.text1, m.id);
        put(r.text2, who);
        put(r.text3, p.name);
        put(r.text4, p.number);
        put(r.text5, m.creator);
        put(r.text6, present);
        put(r.text7, m.name);
        r.flag1 = in;
    });
}

void removeMeeting(MeetingModel &model, const QString &id)
{
    for (int i = model.meetings.size() - 1; i >= 0; --i)
        if (model.meetings[i].id == id)
            model.meetings.removeAt(i);
    for (int i = model.invitations.size() - 1; i >= 0; --i)
        if (model.invitations[i].conferenceId == id)
            model.invitations.removeAt(i);
}

// A member is out of the meeting: no video, no microphone, no windows showing them.
void leave(Meeting &m, Member &x, int state)
{
    x.state = state;
    x.publishingVideo = false;
    if (m.micHolder == x.account)
        m.micHolder.clear();
    for (int i = m.videoWindows.size() - 1; i >= 0; --i)
        if (m.videoWindows[i].member == x.account)
            m.videoWindows.removeAt(i);
}

void join(Meeting &m, const QString &account, int role = MeetingModel::Attendee)
{
    Member *x = m.member(account);
    if (!x) {
        m.members.append(Member());
        x = &m.members.last();
        x->account = account;
        x->role = role;
    }
    x->state = MeetingModel::Joined;
}

// A simulated member comes in: in a video meeting they publish video at once.
void peerJoins(Meeting &m, const QString &account)
{
    join(m, account);
    m.member(account)->publishingVideo = m.type == MeetingModel::VideoMeeting;
}

bool isFull(const Meeting &m)
{
    return m.square > 0 && m.joined().size() >= m.square;
}

// The invited members answer, as the model says, on the engine's thread.
std::function<void()> peersAnswer(const QString &id, const QStringList &invited)
{
    return [id, invited] {
        std::vector<std::function<void()>> messages;
        Control::withServer([&](ServerModel &s) {
            Meeting *m = s.meetings.find(id);
            if (!m)
                return;
            for (const QString &account : invited) {
                Member *x = m->member(account);
                if (!x || x->state != MeetingModel::Invited)
                    continue;
                const auto answer = s.meetings.answers.value(account, s.meetings.otherAnswer);
                if (answer == MeetingModel::Accept && !isFull(*m)) {
                    peerJoins(*m, account);
                    messages.push_back(meetingMessage(s, *m, MeetingModel::MemberJoined, account));
                } else if (answer != MeetingModel::NoAnswer) {
                    x->state = MeetingModel::Declined;
                    messages.push_back(
                        meetingMessage(s, *m, MeetingModel::InvitationDeclined, account));
                }
            }
        });
        for (const auto &message : messages)
            message();
    };
}

// The members of a list handed in, journaled one by one and then their count; the addresses
// are kept for the tests.
QStringList takeMembers(Request &call, const char *const *members, int count)
{
    QStringList list;
    MeetingModel::MemberArray seen;
    seen.array = quintptr(members);
    if (members)
        for (int i = 0; i < count; ++i) {
            call.text(members[i]);
            seen.texts << quintptr(members[i]);
            list << text(members[i]);
        }
    call.arg(count);
    Control::withServer([&](ServerModel &s) { s.meetings.lastMemberArray = seen; });
    return list;
}

int speakListen(bool isSpeak, bool isListen)
{
    if (isSpeak && isListen)
        return MeetingModel::SpeakAndListen;
    if (isListen)
        return MeetingModel::ListenOnly;
    return isSpeak ? MeetingModel::SpeakOnly : MeetingModel::Neither;
}

int createInterphone(Request &call, unsigned int key, const QStringList &members, bool background,
                     int voiceMode)
{
    if (!call.accepted())
        return call.result();
    if (members.isEmpty())
        return ZS_ERR_INVALID_ARGUMENT;
    QString id;
    QStringList invited;
    Control::withServer([&](ServerModel &s) {
        for (const QString &account : members)
            if (account != s.currentUser && knownAccount(s, account) && !invited.contains(account))
                invited << account;
        if (invited.isEmpty())
            return;
        MeetingModel &model = s.meetings;
        Meeting m;
        m.id = QStringLiteral("interphone-%1").arg(model.nextInterphone++);
        m.type = MeetingModel::InterphoneMeeting;
        m.creator = s.currentUser;
        m.voiceMode = voiceMode;
        m.background = background;
        m.autoClose = true;
        join(m, s.currentUser, MeetingModel::Creator);
        for (const QString &account : invited) {
            m.members.append(Member());
            m.members.last().account = account;
        }
        id = m.id;
        model.meetings.append(m);
    });
    if (id.isEmpty()) {
        call.answer(answerText(&CB::onCreateInterphoneMeeting, key, ZS_REASON_NOT_FOUND, id));
        return ZS_OK;
    }
    call.answer(answerText(&CB::onCreateInterphoneMeeting, key, ZS_REASON_SUCCESS, id));
    call.answer(peersAnswer(id, invited));
    return ZS_OK;
}

// Runs `change` on the meeting (null when there is none) under the engine's lock.
template<class Change> void withMeeting(const QString &id, Change change)
{
    Control::withServer([&](ServerModel &s) { change(s, s.meetings.find(id)); });
}

// An injected change of a meeting: `change` returns false when it does not apply; the message
// of `event` about `who` goes out as the meeting stands after it.
template<class Change>
bool injectChange(const QString &id, const QString &who, int event, Change change)
{
    std::function<void()> message;
    withMeeting(id, [&](ServerModel &s, Meeting *m) {
        if (m && change(s, *m))
            message = meetingMessage(s, *m, event, who);
    });
    if (!message)
        return false;
    Control::post(message);
    return true;
}

// PublishVideo and UnpublishVideo: the user's own video in a video meeting.
int publish(const char *function, void (ZS_CALL *CB::*entry)(unsigned int, int, const char *),
            unsigned int *matchKey, const char *conferenceId, bool on)
{
    Request call(function);
    call.text(conferenceId);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    const QString id = text(conferenceId);
    int reason = ZS_REASON_SUCCESS;
    withMeeting(id, [&](ServerModel &s, Meeting *m) {
        if (!m || !m->isIn(s.currentUser))
            reason = ZS_REASON_NOT_FOUND;
        else if (m->type != MeetingModel::VideoMeeting)
            reason = ZS_REASON_BAD_REQUEST;
        else
            m->member(s.currentUser)->publishingVideo = on;
    });
    call.answer(answerText(entry, key, reason, id));
    return ZS_OK;
}

} // namespace

namespace zssim {

QString injectMeetingInvitation(const QString &from, int meetingType, const QString &name,
                                const QString &sdkUserData)
{
    MeetingModel::Invitation invitation;
    Person caller;
    Control::withServer([&](ServerModel &s) {
        MeetingModel &model = s.meetings;
        Meeting m;
        m.id = QStringLiteral("meeting-%1").arg(model.nextMeeting++);
        m.type = meetingType;
        m.name = name.isEmpty() ? QStringLiteral("%1's meeting").arg(from) : name;
        m.creator = from;
        m.autoJoin = true;
        peerJoins(m, from);
        m.members.first().role = MeetingModel::Creator;
        m.members.append(Member());
        m.members.last().account = s.currentUser;
        invitation.conferenceId = m.id;
        invitation.callid = QStringLiteral("invite-%1").arg(model.nextInvitation++);
        invitation.caller = from;
        invitation.meetingType = meetingType;
        invitation.sdkUserData = sdkUserData;
        model.meetings.append(m);
        model.invitations.append(invitation);
        caller = personOf(s, from);
    });
    Control::post(push(&CB::onMeetingInviteIncoming, [&](ZS_MeetingInvitation &r) {
        r.meetingType = invitation.meetingType;
        put(r.conferenceId, invitation.conferenceId);
        put(r.callid, invitation.callid);
        put(r.caller, invitation.caller);
        put(r.nickname, caller.name);
        put(r.display, caller.number);
        put(r.sdkUserData, invitation.sdkUserData);
    }));
    return invitation.conferenceId;
}

QString injectInterphoneInvitation(const QString &from, const QStringList &others)
{
    QString id;
    std::function<void()> message;
    Control::withServer([&](ServerModel &s) {
        MeetingModel &model = s.meetings;
        Meeting m;
        m.id = QStringLiteral("interphone-%1").arg(model.nextInterphone++);
        m.type = MeetingModel::InterphoneMeeting;
        m.creator = from;
        m.autoClose = true;
        join(m, from, MeetingModel::Creator);
        join(m, s.currentUser);
        for (const QString &account : others)
            join(m, account);
        id = m.id;
        message = meetingMessage(s, m, MeetingModel::InterphoneInvited, from);
        model.meetings.append(m);
    });
    Control::post(message);
    return id;
}

bool injectMeetingMemberJoined(const QString &meetingId, const QString &member)
{
    return injectChange(meetingId, member, MeetingModel::MemberJoined,
                        [&](ServerModel &, Meeting &m) {
                            peerJoins(m, member);
                            return true;
                        });
}

bool injectMeetingMemberLeft(const QString &meetingId, const QString &member)
{
    std::function<void()> message;
    withMeeting(meetingId, [&](ServerModel &s, Meeting *m) {
        Member *x = m ? m->member(member) : nullptr;
        if (!x || x->state != MeetingModel::Joined)
            return;
        leave(*m, *x, MeetingModel::Left);
        message = meetingMessage(s, *m, MeetingModel::MemberLeft, member);
        if (m->autoClose && m->joined().isEmpty())
            removeMeeting(s.meetings, meetingId);
    });
    if (!message)
        return false;
    Control::post(message);
    return true;
}

bool injectMemberVideo(const QString &meetingId, const QString &member, bool publishing)
{
    const int event = publishing ? MeetingModel::VideoPublished : MeetingModel::VideoUnpublished;
    return injectChange(meetingId, member, event, [&](ServerModel &, Meeting &m) {
        Member *x = m.member(member);
        if (m.type != MeetingModel::VideoMeeting || !x || x->state != MeetingModel::Joined)
            return false;
        x->publishingVideo = publishing;
        if (!publishing)
            for (int i = m.videoWindows.size() - 1; i >= 0; --i)
                if (m.videoWindows[i].member == member)
                    m.videoWindows.removeAt(i);
        return true;
    });
}

bool injectInterphoneMic(const QString &interphoneId, const QString &member, bool take)
{
    const int event = take ? MeetingModel::MicTaken : MeetingModel::MicReleased;
    return injectChange(interphoneId, member, event, [&](ServerModel &, Meeting &m) {
        if (m.type != MeetingModel::InterphoneMeeting || !m.isIn(member))
            return false;
        if (take ? !m.micHolder.isEmpty() : m.micHolder != member)
            return false;
        m.micHolder = take ? member : QString();
        return true;
    });
}

bool injectMeetingEnded(const QString &meetingId)
{
    std::function<void()> message;
    Control::withServer([&](ServerModel &s) {
        Meeting *m = s.meetings.find(meetingId);
        if (!m)
            return;
        for (Member &x : m->members)
            if (x.state == MeetingModel::Joined || x.state == MeetingModel::Invited)
                leave(*m, x, MeetingModel::Left);
        message = meetingMessage(s, *m, MeetingModel::MeetingEnded, m->creator);
        removeMeeting(s.meetings, meetingId);
    });
    if (!message)
        return false;
    Control::post(message);
    return true;
}

} // namespace zssim

extern "C" {

// ---- member video windows -----------------------------------------------------------------------

int RequestConferenceMemberVideo(const char *conferenceId, const char *conferencePasswd,
                                 const char *member, void *videoWindow, int type)
{
    Request call("RequestConferenceMemberVideo");
    call.text(conferenceId).text(conferencePasswd).text(member).arg(handle(videoWindow)).arg(type);
    if (!call.accepted())
        return call.result();
    const QString id = text(conferenceId);
    const QString who = text(member);
    int reason = ZS_REASON_SUCCESS;
    int width = 0;
    int height = 0;
    withMeeting(id, [&](ServerModel &s, Meeting *m) {
        const Member *x = m ? m->member(who) : nullptr;
        if (!m || !x || x->state != MeetingModel::Joined || !x->publishingVideo) {
            reason = ZS_REASON_NOT_FOUND;
            return;
        }
        if (!m->password.isEmpty() && m->password != text(conferencePasswd)) {
            reason = ZS_REASON_FORBIDDEN;
            return;
        }
        MeetingModel::VideoWindow shown{who, quintptr(videoWindow), type};
        bool replaced = false;
        for (MeetingModel::VideoWindow &w : m->videoWindows)
            if (w.member == who && w.type == type) {
                w = shown;
                replaced = true;
            }
        if (!replaced)
            m->videoWindows.append(shown);
        width = s.meetings.remoteVideoWidth;
        height = s.meetings.remoteVideoHeight;
    });
    call.answer(videoAnswer(&CB::onRequestConferenceMemberVideo, reason, id, who, type));
    if (reason == ZS_REASON_SUCCESS)
        call.answer([width, height, i = callbackText(id), m = callbackText(who)] {
            invoke(&ZS_VoIPCallBack::onRemoteVideoRatio, chars(i), width, height,
                   int(ZS_REMOTE_VIDEO_CONFERENCE), chars(m));
            scribble(*i);
            scribble(*m);
        });
    return ZS_OK;
}

int CancelMemberVideo(const char *conferenceId, const char *conferencePasswd, const char *member,
                      int type)
{
    Request call("CancelMemberVideo");
    call.text(conferenceId).text(conferencePasswd).text(member).arg(type);
    if (!call.accepted())
        return call.result();
    const QString id = text(conferenceId);
    const QString who = text(member);
    int reason = ZS_REASON_NOT_FOUND;
    withMeeting(id, [&](ServerModel &, Meeting *m) {
        if (!m)
            return;
        for (int i = m->videoWindows.size() - 1; i >= 0; --i)
            if (m->videoWindows[i].member == who && m->videoWindows[i].type == type) {
                m->videoWindows.removeAt(i);
                reason = ZS_REASON_SUCCESS;
            }
    });
    call.answer(videoAnswer(&CB::onCancelConferenceMemberVideo, reason, id, who, type));
    return ZS_OK;
}

int ResetVideoConfWindow(const char *conferenceId, const char *member, void *newWindow, int type)
{
    Request call("ResetVideoConfWindow");
    call.text(conferenceId).text(member).arg(handle(newWindow)).arg(type);
    if (!call.accepted())
        return call.result();
    bool moved = false;
    withMeeting(text(conferenceId), [&](ServerModel &, Meeting *m) {
        if (!m)
            return;
        for (MeetingModel::VideoWindow &w : m->videoWindows)
            if (w.member == text(member) && w.type == type) {
                w.window = quintptr(newWindow);
                moved = true;
            }
    });
    return moved ? ZS_OK : ZS_ERR_NOT_FOUND;
}

// ---- multimedia meetings ------------------------------------------------------------------------

int SetMultiMediaMeetingBeforeCreate(int callbackmode, const char *serverUserData,
                                     const char *reservation)
{
    Request call("SetMultiMediaMeetingBeforeCreate");
    call.arg(callbackmode).text(serverUserData).text(reservation);
    if (call.accepted())
        Control::withServer([&](ServerModel &s) {
            s.meetings.nextCreate = {true, callbackmode, text(serverUserData), text(reservation)};
        });
    return call.result();
}

int CreateMultimediaMeeting(unsigned int *matchKey, int meetingType, const char *meetingName,
                            const char *password, const char *keywords, int voiceMode, int square,
                            int bAutoJoin, int autoClose, int autoDelete)
{
    Request call("CreateMultimediaMeeting");
    call.arg(meetingType).text(meetingName).text(password).text(keywords).arg(voiceMode);
    call.arg(square).arg(bAutoJoin).arg(autoClose).arg(autoDelete);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    Meeting m;
    m.type = meetingType;
    m.name = text(meetingName);
    m.password = text(password);
    m.keywords = text(keywords);
    m.voiceMode = voiceMode;
    m.square = square;
    m.autoJoin = bAutoJoin != 0;
    m.autoClose = autoClose != 0;
    m.autoDelete = autoDelete != 0;
    const bool valid
        = (meetingType == MeetingModel::VoiceMeeting || meetingType == MeetingModel::VideoMeeting)
        && !m.name.isEmpty() && square >= 0;
    if (!valid) {
        call.answer(answerRecord(&CB::onCreateMultimediaMeeting, key, ZS_REASON_BAD_REQUEST,
                                 [&](ZS_MeetingInfo &r) { fillMeeting(r, m); }));
        return ZS_OK;
    }
    Control::withServer([&](ServerModel &s) {
        MeetingModel &model = s.meetings;
        m.id = QStringLiteral("meeting-%1").arg(model.nextMeeting++);
        m.creator = s.currentUser;
        join(m, s.currentUser, MeetingModel::Creator);
        if (!m.autoJoin)
            m.members.first().state = MeetingModel::Left;
        if (model.nextCreate.set) {
            m.callbackMode = model.nextCreate.callbackMode;
            m.serverUserData = model.nextCreate.serverUserData;
            m.reservation = model.nextCreate.reservation;
            model.nextCreate = MeetingModel::CreateOptions();
        }
        model.meetings.append(m);
    });
    call.answer(answerRecord(&CB::onCreateMultimediaMeeting, key, ZS_REASON_SUCCESS,
                             [&](ZS_MeetingInfo &r) { fillMeeting(r, m); }));
    if (m.autoJoin)
        call.answer(joinAnswer(ZS_REASON_SUCCESS, m.id));
    return ZS_OK;
}

int JoinMeeting(int meetingType, const char *conferenceId, const char *password)
{
    Request call("JoinMeeting");
    call.arg(meetingType).text(conferenceId).text(password);
    if (!call.accepted())
        return call.result();
    const QString id = text(conferenceId);
    int reason = ZS_REASON_SUCCESS;
    withMeeting(id, [&](ServerModel &s, Meeting *m) {
        if (!m || m->type == MeetingModel::InterphoneMeeting)
            reason = ZS_REASON_NOT_FOUND;
        else if (!m->password.isEmpty() && m->password != text(password))
            reason = ZS_REASON_FORBIDDEN;
        else if (!m->isIn(s.currentUser) && isFull(*m))
            reason = ZS_REASON_BUSY;
        if (reason != ZS_REASON_SUCCESS)
            return;
        join(*m, s.currentUser);
        for (int i = s.meetings.invitations.size() - 1; i >= 0; --i)
            if (s.meetings.invitations[i].conferenceId == id)
                s.meetings.invitations.removeAt(i);
    });
    call.answer(joinAnswer(reason, id));
    return ZS_OK;
}

int AcceptMeeting(const ZS_MeetingInvitation *invitation)
{
    Request call("AcceptMeeting");
    call.record(invitation);
    if (!call.accepted())
        return call.result();
    if (!invitation)
        return ZS_ERR_INVALID_ARGUMENT;
    const QString id = field(invitation->conferenceId);
    const QString callid = field(invitation->callid);
    int reason = ZS_REASON_NOT_FOUND;
    Control::withServer([&](ServerModel &s) {
        MeetingModel &model = s.meetings;
        Meeting *m = model.find(id);
        for (int i = 0; m && i < model.invitations.size(); ++i) {
            if (model.invitations[i].conferenceId != id || model.invitations[i].callid != callid)
                continue;
            model.invitations.removeAt(i);
            join(*m, s.currentUser);
            reason = ZS_REASON_SUCCESS;
            break;
        }
    });
    call.answer(joinAnswer(reason, id));
    return ZS_OK;
}

int ExitMeeting(const char *conferenceId)
{
    Request call("ExitMeeting");
    call.text(conferenceId);
    if (!call.accepted())
        return call.result();
    const QString id = text(conferenceId);
    bool found = false;
    bool interphone = false;
    withMeeting(id, [&](ServerModel &s, Meeting *m) {
        if (!m || !m->isIn(s.currentUser))
            return;
        found = true;
        interphone = m->type == MeetingModel::InterphoneMeeting;
        leave(*m, *m->member(s.currentUser), MeetingModel::Left);
        m->videoWindows.clear();
        if (m->autoClose && m->joined().isEmpty())
            removeMeeting(s.meetings, id);
    });
    if (!found)
        return ZS_ERR_NOT_FOUND;
    call.answer(exitAnswer(interphone, id));
    return ZS_OK;
}

int QueryMeetingMembers(unsigned int *matchKey, int meetingType, const char *conferenceId)
{
    Request call("QueryMeetingMembers");
    call.arg(meetingType).text(conferenceId);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    // Listed when answered, as a server lists them when it gets to the query: an answer never
    // holds members older than the news pushed before it.
    call.answer([key, id = text(conferenceId)] {
        bool found = false;
        std::vector<ZS_MeetingMemberInfo> list;
        withMeeting(id, [&](ServerModel &s, Meeting *m) {
            if (!m)
                return;
            found = true;
            for (const Member &x : m->members)
                if (x.state == MeetingModel::Joined || x.state == MeetingModel::Invited) {
                    list.emplace_back(); // zero-filled
                    fillMember(list.back(), s, *m, x);
                }
        });
        const int reason = found ? ZS_REASON_SUCCESS : ZS_REASON_NOT_FOUND;
        const auto i = callbackText(id);
        const auto records = callbackRecords(std::move(list));
        const int count = int(records->size());
        invoke(&CB::onQueryMeetingMembers, key, reason, chars(i), count,
               count ? static_cast<const ZS_MeetingMemberInfo *>(records->data()) : nullptr);
        scribble(*i);
        scribble(*records);
    });
    return ZS_OK;
}

int DismissMultiMediaMeeting(unsigned int *matchKey, int meetingType, const char *conferenceId)
{
    Request call("DismissMultiMediaMeeting");
    call.arg(meetingType).text(conferenceId);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    const QString id = text(conferenceId);
    int reason = ZS_REASON_SUCCESS;
    withMeeting(id, [&](ServerModel &s, Meeting *m) {
        if (!m || m->type == MeetingModel::InterphoneMeeting)
            reason = ZS_REASON_NOT_FOUND;
        else if (m->creator != s.currentUser)
            reason = ZS_REASON_FORBIDDEN;
        else
            removeMeeting(s.meetings, id);
    });
    call.answer(answerText(&CB::onDismissMultiMediaMeeting, key, reason, id));
    return ZS_OK;
}

int QueryMultiMediaMeetings(unsigned int *matchKey, int meetingType, const char *keywords)
{
    Request call("QueryMultiMediaMeetings");
    call.arg(meetingType).text(keywords);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    const QString wanted = text(keywords);
    std::vector<ZS_MeetingInfo> found;
    Control::withServer([&](ServerModel &s) {
        for (const Meeting &m : qAsConst(s.meetings.meetings)) {
            if (m.type == MeetingModel::InterphoneMeeting
                || (meetingType != 0 && m.type != meetingType))
                continue;
            if (!wanted.isEmpty() && !m.name.contains(wanted, Qt::CaseInsensitive)
                && !m.keywords.contains(wanted, Qt::CaseInsensitive))
                continue;
            found.emplace_back(); // zero-filled
            fillMeeting(found.back(), m);
        }
    });
    call.answer([key, records = callbackRecords(std::move(found))] {
        const int count = int(records->size());
        invoke(&CB::onQueryMultiMediaMeetings, key, int(ZS_REASON_SUCCESS), count,
               count ? static_cast<const ZS_MeetingInfo *>(records->data()) : nullptr);
        scribble(*records);
    });
    return ZS_OK;
}

int setMultimediaMeetingBeforeInviteJoin(const char *serverUserData)
{
    Request call("setMultimediaMeetingBeforeInviteJoin");
    call.text(serverUserData);
    if (call.accepted())
        Control::withServer([&](ServerModel &s) {
            s.meetings.nextInviteSet = true;
            s.meetings.nextInviteUserData = text(serverUserData);
        });
    return call.result();
}

int InviteJoinMultiMediaMeeting(unsigned int *matchKey, const char *conferenceId,
                                const char *const *members, int count, int blanding, int isSpeak,
                                int isListen, const char *disNumber, const char *userdata)
{
    Request call("InviteJoinMultiMediaMeeting");
    call.text(conferenceId);
    const QStringList asked = takeMembers(call, members, count);
    call.arg(blanding).arg(isSpeak).arg(isListen).text(disNumber).text(userdata);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    if (asked.isEmpty())
        return ZS_ERR_INVALID_ARGUMENT;
    const QString id = text(conferenceId);
    int reason = ZS_REASON_SUCCESS;
    QStringList invited;
    QStringList missing;
    withMeeting(id, [&](ServerModel &s, Meeting *m) {
        if (!m || m->type == MeetingModel::InterphoneMeeting) {
            reason = ZS_REASON_NOT_FOUND;
            return;
        }
        MeetingModel &model = s.meetings;
        MeetingModel::Invite invite{id,
                                    asked,
                                    blanding != 0,
                                    isSpeak != 0,
                                    isListen != 0,
                                    text(disNumber),
                                    text(userdata),
                                    model.nextInviteUserData};
        model.invites.append(invite);
        model.nextInviteSet = false;
        model.nextInviteUserData.clear();
        for (const QString &account : asked) {
            if (account == s.currentUser || !knownAccount(s, account)) {
                missing << account;
                continue;
            }
            invited << account;
            Member *x = m->member(account);
            if (!x) {
                m->members.append(Member());
                x = &m->members.last();
                x->account = account;
            }
            if (x->state != MeetingModel::Joined)
                x->state = MeetingModel::Invited;
            x->speakListen = speakListen(isSpeak != 0, isListen != 0);
            x->userData = invite.serverUserData;
        }
    });
    // The record points at the member texts and the result text, all engine memory.
    struct Result
    {
        std::vector<QByteArray> texts;
        std::vector<const char *> pointers;
        QByteArray resultText;
        std::vector<ZS_MeetingInviteResult> record = std::vector<ZS_MeetingInviteResult>(1);
    };
    auto result = std::make_shared<Result>();
    for (const QString &account : invited)
        result->texts.push_back(account.toUtf8());
    for (QByteArray &t : result->texts)
        result->pointers.push_back(t.constData());
    result->resultText = (reason == ZS_REASON_SUCCESS ? missing.join(QLatin1Char(','))
                                                      : QStringLiteral("no such meeting"))
                             .toUtf8();
    ZS_MeetingInviteResult &r = result->record[0];
    put(r.conferenceId, id);
    r.members = result->pointers.empty() ? nullptr : result->pointers.data();
    r.memberCount = int(result->pointers.size());
    r.resultText = result->resultText.constData();
    r.flag1 = isSpeak != 0;
    r.flag2 = isListen != 0;
    call.answer([key, reason, result] {
        invoke(&CB::onInviteJoinMultiMediaMeeting, key, reason,
               static_cast<const ZS_MeetingInviteResult *>(result->record.data()));
        scribble(result->record);
        for (QByteArray &t : result->texts)
            t.fill('\xDD');
        result->resultText.fill('\xDD');
    });
    if (reason == ZS_REASON_SUCCESS)
        call.answer(peersAnswer(id, invited));
    return ZS_OK;
}

int DeleteMemberMultiMediaMeeting(unsigned int *matchKey, int meetingType, const char *conferenceId,
                                  const char *member, int isVoIP)
{
    Request call("DeleteMemberMultiMediaMeeting");
    call.arg(meetingType).text(conferenceId).text(member).arg(isVoIP);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    const QString id = text(conferenceId);
    const QString who = text(member);
    int reason = ZS_REASON_SUCCESS;
    withMeeting(id, [&](ServerModel &s, Meeting *m) {
        Member *x = m ? m->member(who) : nullptr;
        if (!m || m->type == MeetingModel::InterphoneMeeting)
            reason = ZS_REASON_NOT_FOUND;
        else if (m->creator != s.currentUser)
            reason = ZS_REASON_FORBIDDEN;
        else if (!x || (x->state != MeetingModel::Joined && x->state != MeetingModel::Invited))
            reason = ZS_REASON_NOT_FOUND;
        else
            leave(*m, *x, MeetingModel::Removed);
    });
    call.answer(answerRecord(&CB::onDeleteMemberMultiMediaMeeting, key, reason,
                             [&](ZS_MeetingDeleteMemberInfo &r) {
                                 put(r.conferenceId, id);
                                 put(r.member, who);
                                 r.meetingType = meetingType;
                                 r.isVoIP = isVoIP != 0;
                             }));
    return ZS_OK;
}

int PublishVideo(unsigned int *matchKey, const char *conferenceId)
{
    return publish("PublishVideo", &CB::onPublishVideo, matchKey, conferenceId, true);
}

int UnpublishVideo(unsigned int *matchKey, const char *conferenceId)
{
    return publish("UnpublishVideo", &CB::onUnpublishVideo, matchKey, conferenceId, false);
}

int SetMeetingSpeakListen(unsigned int *matchKey, int meetingType, const char *meetingId,
                          const char *member, int isVoIP, int option)
{
    Request call("SetMeetingSpeakListen");
    call.arg(meetingType).text(meetingId).text(member).arg(isVoIP).arg(option);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    const QString id = text(meetingId);
    const QString who = text(member);
    int reason = ZS_REASON_SUCCESS;
    withMeeting(id, [&](ServerModel &s, Meeting *m) {
        Member *x = m ? m->member(who) : nullptr;
        if (!m || !x || (x->state != MeetingModel::Joined && x->state != MeetingModel::Invited))
            reason = ZS_REASON_NOT_FOUND;
        else if (option < MeetingModel::SpeakAndListen || option > MeetingModel::Neither)
            reason = ZS_REASON_BAD_REQUEST;
        else if (m->creator != s.currentUser && who != s.currentUser)
            reason = ZS_REASON_FORBIDDEN;
        else {
            x->speakListen = option;
            x->isVoIP = isVoIP != 0;
        }
    });
    call.answer(
        answerRecord(&CB::onSetMeetingSpeakListen, key, reason, [&](ZS_MeetingSpeakListenInfo &r) {
            r.meetingType = meetingType;
            put(r.meetingId, id);
            put(r.member, who);
            r.option = option;
            r.isVoIP = isVoIP != 0;
        }));
    return ZS_OK;
}

// ---- interphone meetings ------------------------------------------------------------------------

int CreateInterphoneMeeting(unsigned int *matchKey, const char *const *members, int count)
{
    Request call("CreateInterphoneMeeting");
    const QStringList asked = takeMembers(call, members, count);
    const unsigned int key = call.issueKey(matchKey);
    return createInterphone(call, key, asked, false, 0);
}

int CreateInterphoneMeetingBackground(unsigned int *matchKey, const char *const *members, int count,
                                      int voiceMode)
{
    Request call("CreateInterphoneMeetingBackground");
    const QStringList asked = takeMembers(call, members, count);
    call.arg(voiceMode);
    const unsigned int key = call.issueKey(matchKey);
    return createInterphone(call, key, asked, true, voiceMode);
}

int ControlInterphoneMic(unsigned int *matchKey, int isControl, const char *interphoneId)
{
    Request call("ControlInterphoneMic");
    call.arg(isControl).text(interphoneId);
    const unsigned int key = call.issueKey(matchKey);
    if (!call.accepted())
        return call.result();
    const QString id = text(interphoneId);
    int reason = ZS_REASON_SUCCESS;
    QString controller;
    withMeeting(id, [&](ServerModel &s, Meeting *m) {
        if (!m || m->type != MeetingModel::InterphoneMeeting || !m->isIn(s.currentUser)) {
            reason = ZS_REASON_NOT_FOUND;
            return;
        }
        const QString &me = s.currentUser;
        const int setting = m->member(me)->speakListen;
        if (isControl && !m->micHolder.isEmpty() && m->micHolder != me)
            reason = ZS_REASON_BUSY;
        // A member set to listen only (or neither) may not take the microphone.
        else if (isControl
                 && (setting == MeetingModel::ListenOnly || setting == MeetingModel::Neither))
            reason = ZS_REASON_FORBIDDEN;
        else if (!isControl && m->micHolder != me)
            reason = ZS_REASON_FORBIDDEN;
        else
            m->micHolder = isControl ? me : QString();
        controller = m->micHolder;
    });
    const ZS_Bool8 requested = isControl ? 1 : 0;
    call.answer([key, reason, requested, c = callbackText(controller), i = callbackText(id)] {
        invoke(&CB::onControlInterphoneMic, key, reason, chars(c), chars(i), requested);
        scribble(*c);
        scribble(*i);
    });
    return ZS_OK;
}

} // extern "C"
