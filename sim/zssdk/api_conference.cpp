// Conferences: scheduled and instant conferences, members and invitations, host controls,
// recordings, published media and member videos, and the reminders, starts and ends the
// model's clock brings. Every change in a conference the user takes part in is announced to
// them through the general notification, their own changes included, after the answer.

#include "Engine.h"

#include <Utf8Field.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <thread>

using namespace zssim;

namespace {

using Model = ConferenceModel;
using Conference = ConferenceModel::Conference;
using Member = ConferenceModel::Member;
// What one request or moment brings, in order, to run on the engine's thread.
using Outbox = std::vector<std::function<void()>>;

// ---- texts and times --------------------------------------------------------------------------

QString text(const char *utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

// confName and confTopic come in the local 8-bit code page.
QString local8(const char *bytes)
{
    return bytes ? QString::fromLocal8Bit(bytes) : QString();
}

template<std::size_t N> void put(char (&field)[N], const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    tq::copyUtf8Field(field, N, utf8.constData(), std::size_t(utf8.size()));
}

template<std::size_t N> QString field(const char (&f)[N])
{
    return QString::fromUtf8(f, int(qstrnlen(f, N)));
}

const QString &timeFormat()
{
    static const QString format = QStringLiteral("yyyy-MM-dd hh:mm:ss");
    return format;
}

QString timeText(const QDateTime &t)
{
    return t.isValid() ? t.toString(timeFormat()) : QString();
}

QDateTime parseTime(const QString &t)
{
    return QDateTime::fromString(t, timeFormat());
}

QString json(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

// The topics as {"topics":[{"topic":...},...]}, the oldest dropped until it fits `width`.
QString topicsText(const QStringList &topics, std::size_t width)
{
    for (int from = 0; from < topics.size(); ++from) {
        QJsonArray array;
        for (int i = from; i < topics.size(); ++i)
            array.append(QJsonObject{{QStringLiteral("topic"), topics[i]}});
        const QByteArray utf8 = QJsonDocument(QJsonObject{{QStringLiteral("topics"), array}})
                                    .toJson(QJsonDocument::Compact);
        if (std::size_t(utf8.size()) < width)
            return QString::fromUtf8(utf8);
    }
    return topics.isEmpty() ? QString() : topics.last();
}

struct Person
{
    QString name;
    QString shortNumber;
};

Person personOf(const ServerModel &s, const QString &user)
{
    const QByteArray bytes = s.personInfo.value(user);
    if (bytes.size() < int(sizeof(ZS_PersonInfo)))
        return {user, QString()};
    ZS_PersonInfo info;
    std::memcpy(&info, bytes.constData(), sizeof info);
    return {field(info.text1), field(info.text2)};
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

const char *cstr(const Text &t)
{
    return t->data();
}

// An array handed to a callback is never null, also when it is empty.
template<class T> std::shared_ptr<std::vector<T>> arrayOf(std::size_t n)
{
    return callbackRecords(std::vector<T>(std::max<std::size_t>(n, 1)));
}

void fillMember(ZS_ConfMemberInfo &r, const Member &m)
{
    put(r.memberId, m.id);
    put(r.text2, m.name);
    r.number1 = m.idType;
    r.number2 = m.role;
    r.number3 = m.flags();
    r.number4 = m.state;
    put(r.text3, timeText(m.joinedAt));
    put(r.text4, timeText(m.leftAt));
    put(r.text5, m.phoneNumber);
    put(r.text6, m.appData);
    put(r.text7, m.shortNumber);
    put(r.text8, m.terminalUA);
    put(r.text9, m.inviter);
    put(r.text10, timeText(m.invitedAt));
    r.deviceType = m.deviceType;
    r.number5 = m.mediaType;
}

// Conferences with their members, as the info answers and lists hand them over.
struct InfoRecords
{
    std::shared_ptr<std::vector<ZS_ConfInfo>> infos;
    std::vector<std::shared_ptr<std::vector<ZS_ConfMemberInfo>>> members;

    const ZS_ConfInfo *data() const { return infos->data(); }
    void scribbleAll() const
    {
        scribble(*infos);
        for (const auto &m : members)
            scribble(*m);
    }
};

void fillInfo(const ServerModel &s, ZS_ConfInfo &r, const Conference &c)
{
    put(r.confId, c.id);
    put(r.text2, c.name);
    r.number1 = c.confType;
    put(r.creator, c.creator);
    r.number2 = c.state;
    put(r.text3, c.moderator);
    put(r.text4, c.appData);
    r.number3 = c.maxMemberCount;
    r.memberCount = c.members.size();
    r.number4 = c.voiceMode;
    put(r.startTime, timeText(c.startTime));
    r.number5 = c.duration;
    put(r.text5, c.extraText);
    put(r.createTime, timeText(c.createTime));
    put(r.updateTime, timeText(c.updateTime));
    put(r.text6, timeText(c.endTime));
    r.number6 = c.mediaType;
    r.number7 = c.locked;
    r.number8 = c.recording;
    r.number9 = c.autoClose;
    r.number10 = c.remindBeforeStart;
    r.number11 = c.remindBeforeEnd;
    put(r.text7, personOf(s, c.creator).name);
    r.number13 = c.joinState;
    put(r.reserveStartTime, timeText(c.reserveStartTime));
    r.number14 = c.sendInvitation;
    put(r.confTopic, topicsText(c.topics, sizeof r.confTopic));
    r.number15 = c.joinedCount();
}

InfoRecords infoRecords(const ServerModel &s, const QList<Conference> &list)
{
    InfoRecords records;
    records.infos = arrayOf<ZS_ConfInfo>(std::size_t(list.size()));
    for (int i = 0; i < list.size(); ++i) {
        const Conference &c = list[i];
        ZS_ConfInfo &info = (*records.infos)[std::size_t(i)];
        fillInfo(s, info, c);
        auto members = arrayOf<ZS_ConfMemberInfo>(std::size_t(c.members.size()));
        for (int k = 0; k < c.members.size(); ++k)
            fillMember((*members)[std::size_t(k)], c.members[k]);
        info.number12 = c.members.size();
        info.members = members->data();
        records.members.push_back(members);
    }
    return records;
}

// ---- answers ----------------------------------------------------------------------------------

// (matchKey, reason, jsonString)
template<class Entry>
std::function<void()> keyed(Entry ZS_ConfCallBack::*entry, unsigned int key, int reason,
                            const QString &jsonText = QString())
{
    return [entry, key, reason, j = callbackText(jsonText)] {
        invoke(entry, key, reason, cstr(j));
        scribble(*j);
    };
}

// (matchKey, confId, reason, jsonString)
template<class Entry>
std::function<void()> keyedWithId(Entry ZS_ConfCallBack::*entry, unsigned int key,
                                  const QString &confId, int reason,
                                  const QString &jsonText = QString())
{
    return [entry, key, reason, id = callbackText(confId), j = callbackText(jsonText)] {
        invoke(entry, key, cstr(id), reason, cstr(j));
        scribble(*id);
        scribble(*j);
    };
}

// A member who could not be invited or removed: the reason code, and in words.
struct Failed
{
    QString id;
    int reason = 0;
    QString why;
};

// (matchKey, reason, confId, count, failed members, jsonString)
template<class Entry>
std::function<void()> withFailed(Entry ZS_ConfCallBack::*entry, unsigned int key, int reason,
                                 const QString &confId, const QList<Failed> &failed)
{
    auto records = arrayOf<ZS_ConfFailedMember>(std::size_t(failed.size()));
    for (int i = 0; i < failed.size(); ++i) {
        ZS_ConfFailedMember &r = (*records)[std::size_t(i)];
        put(r.text1, failed[i].id);
        r.number1 = failed[i].reason;
        put(r.text2, failed[i].why);
    }
    const int count = reason == ZS_REASON_SUCCESS ? failed.size() : 0;
    return [entry, key, reason, count, records, id = callbackText(confId)] {
        invoke(entry, key, reason, cstr(id), count,
               static_cast<const ZS_ConfFailedMember *>(records->data()), "");
        scribble(*records);
        scribble(*id);
    };
}

std::function<void()> infoAnswer(const ServerModel &s, unsigned int key, const Conference *c)
{
    if (!c)
        return [key] {
            invoke(&ZS_ConfCallBack::onGetConferenceInfo, key, int(ZS_REASON_NOT_FOUND),
                   static_cast<const ZS_ConfInfo *>(nullptr), "");
        };
    const InfoRecords records = infoRecords(s, {*c});
    return [key, records] {
        invoke(&ZS_ConfCallBack::onGetConferenceInfo, key, int(ZS_REASON_SUCCESS), records.data(),
               "");
        records.scribbleAll();
    };
}

// ---- notifications ----------------------------------------------------------------------------

// Who hears of a conference: its hosts and the members in it take part; members invited,
// or who left, still hear of its schedule and its end.
bool takesPart(const Conference &c, const QString &user)
{
    if (user.isEmpty())
        return false;
    if (user == c.creator || user == c.moderator)
        return true;
    for (const Member &m : c.members)
        if (m.id == user)
            return m.state == Model::Joined;
    return false;
}

bool concerned(const Conference &c, const QString &user)
{
    if (takesPart(c, user))
        return true;
    for (const Member &m : c.members)
        if (m.id == user)
            return m.state == Model::Invited || m.state == Model::Left;
    return false;
}

// One general notification.
struct Notice
{
    int event = 0;
    QString by; // who caused it; empty: the server
    QString member; // the member it is about
    int value = 0; // an action, or 1/0 for on/off
    int role = 0;
    int source = 0;
    int extra = 0; // an end reason, 603 for a declined invitation, 1 for an unchangeable control
    QString data; // a command's data
    QList<Member> members; // the members it concerns
    QList<Member> removed;
};

// `toUser`: the user took part a moment ago (they left, were removed, or it ended).
void announce(Outbox &out, const ServerModel &s, const Conference &c, const Notice &n,
              bool toUser = false)
{
    if (!toUser && !takesPart(c, s.currentUser))
        return;
    struct Records
    {
        std::vector<ZS_ConfNotification> nty = std::vector<ZS_ConfNotification>(1);
        std::vector<ConfTargetEntry> removed;
        std::vector<ZS_ConfNtyMember> members;
    };
    auto r = std::make_shared<Records>();
    ZS_ConfNotification &nty = r->nty[0];
    nty.number1 = n.event;
    put(nty.text1, c.id);
    put(nty.text2, c.name);
    put(nty.confTopic, topicsText(c.topics, sizeof nty.confTopic));
    put(nty.text3, n.by);
    put(nty.text4, timeText(s.conferences.now()));
    put(nty.text5, personOf(s, n.by).shortNumber);
    nty.number2 = n.value;
    nty.number3 = n.role;
    nty.number4 = c.joinedCount();
    nty.number5 = n.source;
    nty.number6 = n.extra;
    put(nty.text6, n.data);
    nty.number7 = c.confType;
    put(nty.text7, timeText(c.startTime));
    put(nty.text8, timeText(c.endTime));
    nty.number8 = c.state;
    put(nty.text9, n.member);
    put(nty.text10, n.member.isEmpty() ? QString() : personOf(s, n.member).name);
    put(nty.text12, c.moderator.isEmpty() ? c.creator : c.moderator);
    nty.number10 = c.locked;
    nty.number11 = c.recording;
    put(nty.text14, c.appData);
    nty.deviceType = 1;
    r->removed.resize(std::size_t(std::max(1, int(n.removed.size()))));
    for (int i = 0; i < n.removed.size(); ++i) {
        put(r->removed[std::size_t(i)].text1, n.removed[i].id);
        r->removed[std::size_t(i)].number1 = n.removed[i].idType;
        r->removed[std::size_t(i)].deviceType = n.removed[i].deviceType;
    }
    nty.kickMemberCount = n.removed.size();
    nty.kickMembers = r->removed.data();
    r->members.resize(std::size_t(std::max(1, int(n.members.size()))));
    for (int i = 0; i < n.members.size(); ++i) {
        const Member &m = n.members[i];
        ZS_ConfNtyMember &e = r->members[std::size_t(i)];
        put(e.text1, m.id);
        e.number1 = m.idType;
        e.number2 = m.role;
        put(e.text2, m.name);
        put(e.text3, m.appData);
        e.number3 = m.state;
        put(e.text4, timeText(s.conferences.now()));
        e.deviceType = m.deviceType;
    }
    nty.memberCount = n.members.size();
    nty.members = r->members.data();
    out.push_back([r] {
        invoke(&ZS_ConfCallBack::onReceivedConferenceNotification,
               static_cast<const ZS_ConfNotification *>(r->nty.data()), "");
        scribble(r->nty);
        scribble(r->removed);
        scribble(r->members);
    });
}

template<class Record, class Entry>
void push(Outbox &out, Entry ZS_ConfCallBack::*entry, const Record &record)
{
    out.push_back([entry, records = callbackRecords(std::vector<Record>{record})] {
        invoke(entry, static_cast<const Record *>(records->data()), "");
        scribble(*records);
    });
}

void appointment(Outbox &out, const ServerModel &s, const Conference &c, int kind)
{
    if (!c.sendInvitation || !concerned(c, s.currentUser))
        return;
    ZS_ConfAppointmentNotification nty{};
    nty.number1 = kind;
    put(nty.text1, c.id);
    put(nty.text2, c.name);
    put(nty.text3, c.creator);
    put(nty.text4, timeText(c.reserveStartTime));
    put(nty.text5,
        c.duration > 0 ? timeText(c.reserveStartTime.addSecs(qint64(c.duration) * 60)) : QString());
    nty.number2 = c.duration;
    nty.number3 = c.mediaType;
    put(nty.text6, personOf(s, c.creator).name);
    push(out, &ZS_ConfCallBack::onReceivedConferenceAppointmentNotification, nty);
}

void invitation(Outbox &out, ServerModel &s, const Conference &c, const QString &inviter)
{
    ZS_ConfInviteNotification nty{};
    put(nty.text1, c.id);
    nty.number1 = c.confType;
    put(nty.text2, inviter);
    put(nty.text3, timeText(s.conferences.now()));
    put(nty.text5, c.name);
    put(nty.text6, personOf(s, inviter).name);
    nty.number2 = c.mediaType;
    put(nty.text7, QStringLiteral("inv-%1").arg(s.conferences.nextInvitation++));
    push(out, &ZS_ConfCallBack::onReceivedConferenceInviteNotification, nty);
}

// ---- the conference's life --------------------------------------------------------------------

void dropVideos(Model &model, const QString &confId, const QString &member = QString())
{
    auto &videos = model.memberVideos;
    videos.erase(std::remove_if(videos.begin(), videos.end(),
                                [&](const Model::MemberVideo &v) {
                                    return v.confId == confId
                                        && (member.isEmpty() || v.member == member);
                                }),
                 videos.end());
}

void joinAs(Member &m, const QDateTime &now, int mediaType)
{
    m.state = Model::Joined;
    m.joinedAt = now;
    m.leftAt = QDateTime();
    m.mediaType = mediaType;
}

// The simulated people answer the invitations still open.
void answerInvitations(Outbox &out, ServerModel &s, Conference &c)
{
    Model &model = s.conferences;
    for (Member &m : c.members) {
        if (m.state != Model::Invited || m.id == s.currentUser)
            continue;
        // The host of someone else's conference is there from its start.
        const Model::Answer answer
            = m.id == c.creator ? Model::Accept : model.answers.value(m.id, Model::NoAnswer);
        if (answer == Model::Accept) {
            joinAs(m, model.now(), c.mediaType);
            m.publishingVoice = true;
            m.publishingVideo = c.mediaType == Model::Video;
            Notice n;
            n.event = Model::MemberJoined;
            n.by = m.id;
            n.member = m.id;
            n.members = {m};
            announce(out, s, c, n);
        } else if (answer == Model::Decline) {
            m.state = Model::Declined;
            Notice n;
            n.event = Model::InvitationDeclined;
            n.by = m.id;
            n.member = m.id;
            n.extra = ZS_REASON_DECLINED;
            n.members = {m};
            announce(out, s, c, n);
        }
    }
}

void startConference(Outbox &out, ServerModel &s, Conference &c)
{
    c.state = Model::InProgress;
    c.startTime = s.conferences.now();
    c.remindedBeforeStart = true;
    Notice n;
    n.event = Model::ConferenceStarted;
    announce(out, s, c, n);
    Member *me = c.member(s.currentUser);
    if (me && me->state == Model::Invited && s.currentUser != c.creator)
        invitation(out, s, c, me->inviter.isEmpty() ? c.creator : me->inviter);
    answerInvitations(out, s, c);
}

void stopRecording(Model &model, Conference &c)
{
    if (!c.recording)
        return;
    Model::RecordFile file;
    file.id = QStringLiteral("rec-%1").arg(model.nextRecord++);
    file.url = QStringLiteral("https://records.example.test/%1/%2.mp4").arg(c.id, file.id);
    file.start = c.recordingSince;
    file.end = model.now();
    file.seconds = int(file.start.secsTo(file.end));
    c.records << file;
    c.recording = false;
    for (Member &m : c.members)
        m.recorded = false;
}

void endConference(Outbox &out, ServerModel &s, Conference &c, int reason)
{
    Model &model = s.conferences;
    const bool told = takesPart(c, s.currentUser);
    const bool hears = concerned(c, s.currentUser);
    stopRecording(model, c);
    c.state = Model::Ended;
    c.endTime = model.now();
    for (Member &m : c.members) {
        if (m.state == Model::Joined) {
            m.state = Model::Left;
            m.leftAt = c.endTime;
        }
        m.publishingVideo = m.publishingVoice = m.sharingScreen = false;
    }
    dropVideos(model, c.id);
    if (hears) {
        ZS_ConfEndNotification nty{};
        nty.number1 = reason;
        put(nty.text1, c.id);
        put(nty.text2, c.name);
        push(out, &ZS_ConfCallBack::onReceivedConferenceEndNotification, nty);
    }
    Notice n;
    n.event = Model::ConferenceEnded;
    n.extra = reason;
    announce(out, s, c, n, told);
}

ZS_ConfReminderNotification reminder(const Conference &c, qint64 secondsLeft, int number2)
{
    ZS_ConfReminderNotification nty{};
    nty.number1 = int((secondsLeft + 59) / 60); // minutes, rounded up
    put(nty.text1, c.id);
    put(nty.text2, c.name);
    nty.number2 = number2;
    return nty;
}

void remindStart(Outbox &out, ServerModel &s, Conference &c)
{
    c.remindedBeforeStart = true;
    if (concerned(c, s.currentUser))
        push(out, &ZS_ConfCallBack::onReceivedConferenceBeforeStartNotification,
             reminder(c, s.conferences.now().secsTo(c.reserveStartTime), c.mediaType));
}

void remindEnd(Outbox &out, ServerModel &s, Conference &c)
{
    c.remindedBeforeEnd = true;
    if (concerned(c, s.currentUser))
        push(out, &ZS_ConfCallBack::onReceivedConferenceBeforeEndNotification,
             reminder(c, s.conferences.now().secsTo(c.plannedEnd()), c.duration));
}

// Brings what the clock made due: reminders, starts and ends. Returns how many came.
int catchUpLocked(Outbox &out, ServerModel &s)
{
    Model &model = s.conferences;
    const QDateTime now = model.now();
    int moments = 0;
    for (Conference &c : model.conferences) {
        if (c.state == Model::NotStarted && c.reserveStartTime.isValid()) {
            const QDateTime remindAt
                = c.reserveStartTime.addSecs(-qint64(c.remindBeforeStart) * 60);
            if (c.remindBeforeStart > 0 && !c.remindedBeforeStart && now >= remindAt
                && now < c.reserveStartTime) {
                remindStart(out, s, c);
                ++moments;
            }
            if (now >= c.reserveStartTime) {
                startConference(out, s, c);
                ++moments;
            }
        }
        if (c.state == Model::InProgress && c.plannedEnd().isValid()) {
            const QDateTime end = c.plannedEnd();
            const QDateTime remindAt = end.addSecs(-qint64(c.remindBeforeEnd) * 60);
            if (c.remindBeforeEnd > 0 && !c.remindedBeforeEnd && now >= remindAt && now < end) {
                remindEnd(out, s, c);
                ++moments;
            }
            if (now >= end) {
                endConference(out, s, c, Model::TimeUp);
                ++moments;
            }
        }
    }
    return moments;
}

void post(Outbox &out)
{
    for (auto &task : out)
        Control::post(std::move(task));
    out.clear();
}

// With TQ_SIM_LIVELY=1 the moments come by themselves as the real clock passes them.
void startLivelyClock()
{
    static std::once_flag started;
    std::call_once(started, [] {
        if (qEnvironmentVariableIntValue("TQ_SIM_LIVELY") != 1)
            return;
        std::thread([] {
            for (;;) {
                std::this_thread::sleep_for(std::chrono::seconds(1));
                Control::post([] {
                    Outbox out;
                    Control::withServer([&](ServerModel &s) {
                        if (!s.conferences.clock.isValid())
                            catchUpLocked(out, s);
                    });
                    for (auto &task : out)
                        task();
                });
            }
        }).detach();
    });
}

// Every conference request first brings what became due, ahead of its own answers.
void catchUp()
{
    if (Control::mode() == Mode::Manual)
        return;
    startLivelyClock();
    Outbox out;
    Control::withServer([&](ServerModel &s) { catchUpLocked(out, s); });
    post(out);
}

void send(Request &call, Outbox &out)
{
    for (auto &task : out)
        call.answer(std::move(task));
    out.clear();
}

// Runs `fn` on the model and sends what it puts out after the request's return.
template<class Fn> int serve(Request &call, Fn fn)
{
    if (!call.accepted())
        return call.result();
    catchUp();
    Outbox out;
    Control::withServer([&](ServerModel &s) { fn(s, out); });
    send(call, out);
    return call.result();
}

template<class T> void journalArray(Request &call, const T *entries, int count)
{
    call.arg(count);
    call.record(entries, entries && count > 0 ? std::size_t(count) * sizeof(T) : 0);
}

template<class T> QList<T> entryList(const T *entries, int count)
{
    QList<T> list;
    for (int i = 0; entries && i < count; ++i)
        list << entries[i];
    return list;
}

// The page `pageNo` (from 1) of `pageSize` items; a size of 0 or less: everything.
template<class T> QList<T> page(const QList<T> &all, int pageNo, int pageSize)
{
    if (pageSize <= 0)
        return all;
    const int first = (std::max(pageNo, 1) - 1) * pageSize;
    return first >= all.size() ? QList<T>() : all.mid(first, pageSize);
}

QString pageText(int total, int pageNo, int pageSize)
{
    return json({{QStringLiteral("total"), total},
                 {QStringLiteral("pageNo"), pageNo},
                 {QStringLiteral("pageSize"), pageSize}});
}

// A member of a new or changed conference, or one invited.
struct NewMember
{
    QString id;
    int idType = 0;
    int role = 0;
    QString name;
    QString phoneNumber;
};

template<class Entry> QList<NewMember> newMembers(const Entry *entries, int count)
{
    QList<NewMember> list;
    for (const Entry &e : entryList(entries, count))
        list << NewMember{field(e.text1), e.number1, e.number2, field(e.text2), field(e.text3)};
    return list;
}

bool knownPerson(const ServerModel &s, const QString &id)
{
    return s.accounts.isEmpty() || s.accounts.contains(id);
}

Member memberFrom(const ServerModel &s, const NewMember &n, const QString &inviter)
{
    Member m;
    m.id = n.id;
    const Person person = personOf(s, n.id);
    m.name = n.name.isEmpty() ? person.name : n.name;
    m.shortNumber = person.shortNumber;
    m.idType = n.idType;
    m.role = n.role == Model::Host ? int(Model::Host) : int(Model::Attendee);
    m.phoneNumber = n.phoneNumber;
    m.inviter = inviter;
    m.invitedAt = s.conferences.now();
    return m;
}

// Adds the invited to the conference; returns those who could not be invited, with why.
QList<Failed> invite(Outbox &out, ServerModel &s, Conference &c, const QList<NewMember> &invited)
{
    QList<Failed> failed;
    QList<Member> added;
    for (const NewMember &n : invited) {
        if (n.id.isEmpty() || !knownPerson(s, n.id)) {
            failed << Failed{n.id, ZS_REASON_NOT_FOUND, QStringLiteral("no such person")};
            continue;
        }
        Member *existing = c.member(n.id);
        if (existing && existing->state == Model::Joined) {
            failed << Failed{n.id, ZS_REASON_BUSY, QStringLiteral("already in it")};
            continue;
        }
        const Member fresh = memberFrom(s, n, s.currentUser);
        if (existing)
            *existing = fresh;
        else
            c.members << fresh;
        added << fresh;
    }
    if (!added.isEmpty()) {
        Notice n;
        n.event = Model::MembersInvited;
        n.by = s.currentUser;
        n.members = added;
        announce(out, s, c, n);
    }
    if (c.state == Model::InProgress)
        answerInvitations(out, s, c);
    return failed;
}

// Looks a conference up; reason 404 when it is not there (or has ended and `current`).
Conference *conference(ServerModel &s, const QString &id, bool current = true)
{
    const auto it = s.conferences.conferences.find(id);
    if (it == s.conferences.conferences.end() || (current && it->state == Model::Ended))
        return nullptr;
    return &*it;
}

// Sets a media flag of the user's own; reason 403 when they are not in the conference, or
// the host forbade it.
int publish(Outbox &out, ServerModel &s, const QString &confId, int source, bool on)
{
    Conference *c = conference(s, confId);
    if (!c)
        return ZS_REASON_NOT_FOUND;
    Member *me = c->member(s.currentUser);
    if (!me || me->state != Model::Joined)
        return ZS_REASON_FORBIDDEN;
    bool *flag = source == 1 ? &me->publishingVideo
        : source == 2        ? &me->publishingVoice
                             : &me->sharingScreen;
    const bool forbidden = on && me->unchangeable
        && ((source == 1 && me->cameraTurnedOff) || (source == 2 && me->microphoneMuted));
    if (forbidden)
        return ZS_REASON_FORBIDDEN;
    *flag = on;
    if (on && source == 1)
        me->cameraTurnedOff = false;
    if (on && source == 2)
        me->microphoneMuted = false;
    Notice n;
    n.event = Model::MediaPublished;
    n.by = s.currentUser;
    n.member = s.currentUser;
    n.value = on;
    n.source = source;
    n.members = {*me};
    announce(out, s, *c, n);
    return ZS_REASON_SUCCESS;
}

// The media sources of a member video: 1 the camera (published video), 2 the screen.
bool shows(const Member &m, int mediaSourceType)
{
    return m.state == Model::Joined
        && (mediaSourceType == Model::Screen ? m.sharingScreen : m.publishingVideo);
}

bool passwordMatches(const Conference &c, const QString &password)
{
    return c.password.isEmpty() || password == c.password
        || (!c.ownerPassword.isEmpty() && password == c.ownerPassword);
}

void applyMediaControl(Member &m, int action, bool unchangeable)
{
    switch (action) {
    case Model::MuteMicrophone:
        m.microphoneMuted = true;
        m.publishingVoice = false;
        break;
    case Model::UnmuteMicrophone:
        m.microphoneMuted = false;
        break;
    case Model::CameraOff:
        m.cameraTurnedOff = true;
        m.publishingVideo = false;
        break;
    case Model::CameraOn:
        m.cameraTurnedOff = false;
        break;
    default:
        return;
    }
    m.unchangeable = unchangeable;
}

// Conferences created between the two times (empty: open), of a type (0: any).
bool listed(const Conference &c, const QString &begin, const QString &end, int confType)
{
    const QDateTime from = parseTime(begin);
    const QDateTime to = parseTime(end);
    return (confType <= 0 || c.confType == confType) && (!from.isValid() || c.createTime >= from)
        && (!to.isValid() || c.createTime <= to);
}

// Whose list a conference is in: its hosts', and its members' unless they declined or were
// removed.
bool involves(const Conference &c, const QString &user)
{
    if (user == c.creator || user == c.moderator)
        return true;
    return std::any_of(c.members.begin(), c.members.end(), [&](const Member &m) {
        return m.id == user && m.state != Model::Declined && m.state != Model::Removed;
    });
}

template<class Entry>
std::function<void()> listAnswer(const ServerModel &s, Entry ZS_ConfCallBack::*entry,
                                 unsigned int key, const QList<Conference> &all, int pageNo,
                                 int pageSize)
{
    const QList<Conference> shown = page(all, pageNo, pageSize);
    const InfoRecords records = infoRecords(s, shown);
    return [entry, key, records, n = shown.size(),
            j = callbackText(pageText(all.size(), pageNo, pageSize))] {
        invoke(entry, key, int(ZS_REASON_SUCCESS), n, records.data(), cstr(j));
        records.scribbleAll();
        scribble(*j);
    };
}

template<class Reply>
void memberList(ServerModel &s, const QString &confId, const QString &only, int pageNo,
                int pageSize, Reply reply)
{
    Conference *c = conference(s, confId, false);
    QList<Member> all;
    if (c)
        for (const Member &m : qAsConst(c->members))
            if (only.isEmpty() || m.id == only)
                all << m;
    const QList<Member> shown = page(all, pageNo, pageSize);
    auto records = arrayOf<ZS_ConfMemberInfo>(std::size_t(shown.size()));
    for (int i = 0; i < shown.size(); ++i)
        fillMember((*records)[std::size_t(i)], shown[i]);
    reply(c ? int(ZS_REASON_SUCCESS) : int(ZS_REASON_NOT_FOUND), c ? shown.size() : 0,
          c ? records : nullptr, pageText(all.size(), pageNo, pageSize));
}

template<class Entry>
int publishRequest(const char *function, Entry ZS_ConfCallBack::*entry, unsigned int *matchKey,
                   const char *confId, const int *reserved, const char *jsonString, int source,
                   bool on)
{
    Request call(function);
    call.text(confId);
    if (reserved)
        call.arg(*reserved);
    call.text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        Outbox later;
        const int reason = publish(later, s, text(confId), source, on);
        out.push_back(keyed(entry, key, reason));
        for (auto &task : later)
            out.push_back(std::move(task));
    });
}
std::function<void()> memberVideoAnswer(
    void (ZS_CALL *ZS_ConfCallBack::*entry)(int, const char *, const char *, int, const char *),
    int reason, const QString &confId, const QString &member, int source, const QString &jsonText)
{
    return [entry, reason, source, id = callbackText(confId), who = callbackText(member),
            j = callbackText(jsonText)] {
        invoke(entry, reason, cstr(id), cstr(who), source, cstr(j));
        scribble(*id);
        scribble(*who);
        scribble(*j);
    };
}
} // namespace

// ---- control ----------------------------------------------------------------------------------

namespace zssim {

void setConferenceClock(const QDateTime &now)
{
    Control::withServer([&](ServerModel &s) { s.conferences.clock = now; });
}

QDateTime conferenceClock()
{
    QDateTime now;
    Control::withServer([&](ServerModel &s) { now = s.conferences.now(); });
    return now;
}

int advanceConferenceClock(qint64 seconds)
{
    Outbox out;
    int moments = 0;
    Control::withServer([&](ServerModel &s) {
        s.conferences.clock = s.conferences.now().addSecs(seconds);
        moments = catchUpLocked(out, s);
    });
    post(out);
    return moments;
}

namespace {
// Runs a moment on one conference; false when there is none or the moment does not apply.
bool moment(const QString &confId,
            const std::function<bool(Outbox &, ServerModel &, Conference &)> &fn)
{
    Outbox out;
    bool done = false;
    Control::withServer([&](ServerModel &s) {
        if (Conference *c = conference(s, confId))
            done = fn(out, s, *c);
    });
    post(out);
    return done;
}
} // namespace

bool startConferenceNow(const QString &confId)
{
    return moment(confId, [](Outbox &out, ServerModel &s, Conference &c) {
        if (c.state != Model::NotStarted)
            return false;
        startConference(out, s, c);
        return true;
    });
}

bool endConferenceNow(const QString &confId, int reason)
{
    return moment(confId, [reason](Outbox &out, ServerModel &s, Conference &c) {
        endConference(out, s, c, reason);
        return true;
    });
}

bool remindBeforeStart(const QString &confId)
{
    return moment(confId, [](Outbox &out, ServerModel &s, Conference &c) {
        if (c.state != Model::NotStarted)
            return false;
        remindStart(out, s, c);
        return true;
    });
}

bool remindBeforeEnd(const QString &confId)
{
    return moment(confId, [](Outbox &out, ServerModel &s, Conference &c) {
        if (c.state != Model::InProgress)
            return false;
        remindEnd(out, s, c);
        return true;
    });
}

namespace {
Conference newConference(ServerModel &s, const QString &creator, const QString &name)
{
    Model &model = s.conferences;
    Conference c;
    c.id = QStringLiteral("conf-%1").arg(model.nextConference++);
    c.name = name;
    c.creator = creator;
    c.createTime = c.updateTime = model.now();
    Member host = memberFrom(s, NewMember{creator, 0, Model::Host, QString(), QString()}, creator);
    c.members << host;
    return c;
}
} // namespace

QString injectConferenceInvitation(const QString &from, const QString &name, int mediaType)
{
    QString id;
    Outbox out;
    Control::withServer([&](ServerModel &s) {
        Conference c = newConference(s, from, name);
        c.confType = Model::Instant;
        c.mediaType = mediaType;
        c.state = Model::InProgress;
        c.startTime = c.reserveStartTime = s.conferences.now();
        joinAs(c.members[0], c.startTime, mediaType);
        c.members[0].publishingVoice = true;
        c.members[0].publishingVideo = mediaType == Model::Video;
        c.members << memberFrom(s, NewMember{s.currentUser, 0, 0, QString(), QString()}, from);
        id = c.id;
        s.conferences.conferences.insert(id, c);
        invitation(out, s, c, from);
    });
    post(out);
    return id;
}

QString injectConferenceAppointment(const QString &from, const QString &name,
                                    const QDateTime &start, int durationMinutes,
                                    int remindStartMinutes, int remindEndMinutes)
{
    QString id;
    Outbox out;
    Control::withServer([&](ServerModel &s) {
        Conference c = newConference(s, from, name);
        c.confType = Model::Scheduled;
        c.reserveStartTime = start;
        c.duration = durationMinutes;
        c.sendInvitation = 1;
        c.remindBeforeStart = remindStartMinutes;
        c.remindBeforeEnd = remindEndMinutes;
        c.members << memberFrom(s, NewMember{s.currentUser, 0, 0, QString(), QString()}, from);
        id = c.id;
        s.conferences.conferences.insert(id, c);
        appointment(out, s, c, Model::Made);
    });
    post(out);
    return id;
}

bool injectMemberEvent(const QString &confId, const QString &member, MemberEvent event)
{
    return moment(confId, [&](Outbox &out, ServerModel &s, Conference &c) {
        Member *m = c.member(member);
        if (!m && event == MemberEvent::Join) {
            c.members << memberFrom(s, NewMember{member, 0, 0, QString(), QString()}, c.creator);
            m = &c.members.last();
        }
        if (!m)
            return false;
        Notice n;
        n.by = member;
        n.member = member;
        switch (event) {
        case MemberEvent::Join:
            joinAs(*m, s.conferences.now(), c.mediaType);
            n.event = Model::MemberJoined;
            break;
        case MemberEvent::Quit:
            m->state = Model::Left;
            m->leftAt = s.conferences.now();
            m->publishingVideo = m->publishingVoice = m->sharingScreen = false;
            dropVideos(s.conferences, c.id, member);
            n.event = Model::MemberLeft;
            break;
        default: {
            const int kind = int(event) - int(MemberEvent::StartVideo);
            n.event = Model::MediaPublished;
            n.source = 1 + kind / 2;
            n.value = kind % 2 == 0;
            bool &flag = n.source == 1 ? m->publishingVideo
                : n.source == 2        ? m->publishingVoice
                                       : m->sharingScreen;
            flag = n.value;
            if (!n.value)
                dropVideos(s.conferences, c.id, member);
            break;
        }
        }
        n.members = {*m};
        announce(out, s, c, n);
        return true;
    });
}

bool injectKickout(const QString &confId, const QString &by, const QStringList &members)
{
    return moment(confId, [&](Outbox &out, ServerModel &s, Conference &c) {
        const bool told = takesPart(c, s.currentUser);
        Notice n;
        n.event = Model::MembersRemoved;
        n.by = by;
        for (Member &m : c.members) {
            if (!members.contains(m.id))
                continue;
            m.state = Model::Removed;
            m.leftAt = s.conferences.now();
            dropVideos(s.conferences, c.id, m.id);
            n.removed << m;
        }
        if (n.removed.isEmpty())
            return false;
        announce(out, s, c, n, told); // the user hears of their own removal too
        return true;
    });
}

bool injectMediaControl(const QString &confId, const QString &by, const QStringList &members,
                        int action, bool unchangeable)
{
    return moment(confId, [&](Outbox &out, ServerModel &s, Conference &c) {
        Notice n;
        n.event = Model::MediaControlled;
        n.by = by;
        n.value = action;
        n.extra = unchangeable;
        for (Member &m : c.members) {
            if (!members.contains(m.id))
                continue;
            applyMediaControl(m, action, unchangeable);
            n.members << m;
        }
        if (n.members.isEmpty())
            return false;
        announce(out, s, c, n);
        return true;
    });
}

bool injectConferenceCommand(const QString &confId, const QString &from, const QString &cmdData)
{
    return moment(confId, [&](Outbox &out, ServerModel &s, Conference &c) {
        Notice n;
        n.event = Model::CommandReceived;
        n.by = from;
        n.data = cmdData;
        announce(out, s, c, n);
        return true;
    });
}

void injectConferenceAudioPlay(int reason, const QString &jsonString)
{
    Control::post([reason, j = callbackText(jsonString)] {
        invoke(&ZS_ConfCallBack::onConferenceAudioPlay, 0u, reason, cstr(j));
        scribble(*j);
    });
}

} // namespace zssim

// ---- the engine's conference functions --------------------------------------------------------

extern "C" {

int CreateConference(unsigned int *matchKey, const char *ownerPassword, const char *password,
                     const char *confName, int confType, int maxMemberCount, int voiceMode,
                     const char *appData, int autoClose, const char *moderator,
                     const char *startTime, const ConfMemberEntry *members, int count, int duration,
                     int sendInvitation, int extraInt1, int remindBeforeStart, int remindBeforeEnd,
                     int mediaType, int extraInt2, const char *confTopic, int joinState,
                     const char *extraText, int reserved1, int reserved2, const char *jsonString)
{
    Request call("CreateConference");
    call.secret(ownerPassword).secret(password).text(confName).arg(confType).arg(maxMemberCount);
    call.arg(voiceMode).text(appData).arg(autoClose).text(moderator).text(startTime);
    journalArray(call, members, count);
    call.arg(duration).arg(sendInvitation).arg(extraInt1).arg(remindBeforeStart);
    call.arg(remindBeforeEnd).arg(mediaType).arg(extraInt2).text(confTopic).arg(joinState);
    call.text(extraText).arg(reserved1).arg(reserved2).text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    const QList<NewMember> listed = newMembers(members, count);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        Model &model = s.conferences;
        Conference c = newConference(s, s.currentUser, local8(confName));
        c.confType = confType == Model::Scheduled ? int(Model::Scheduled) : int(Model::Instant);
        c.ownerPassword = text(ownerPassword);
        c.password = text(password);
        c.maxMemberCount = maxMemberCount;
        c.voiceMode = voiceMode;
        c.appData = text(appData);
        c.autoClose = autoClose;
        c.moderator = text(moderator);
        c.extraText = text(extraText);
        c.duration = std::max(duration, 0);
        c.sendInvitation = sendInvitation;
        c.remindBeforeStart = std::max(remindBeforeStart, 0);
        c.remindBeforeEnd = std::max(remindBeforeEnd, 0);
        c.mediaType = mediaType == Model::Video ? int(Model::Video) : int(Model::Voice);
        c.joinState = joinState;
        if (const QString topic = local8(confTopic); !topic.isEmpty())
            c.topics << topic;
        const QDateTime start = parseTime(text(startTime));
        c.reserveStartTime
            = start.isValid() && c.confType == Model::Scheduled ? start : model.now();
        for (const NewMember &n : listed)
            if (!n.id.isEmpty() && n.id != c.creator && !c.member(n.id))
                c.members << memberFrom(s, n, c.creator);
        model.conferences.insert(c.id, c);
        Conference &stored = model.conferences[c.id];
        out.push_back([key, id = callbackText(c.id),
                       j = callbackText(json({{QStringLiteral("confId"), c.id}}))] {
            invoke(&ZS_ConfCallBack::onCreateConference, key, int(ZS_REASON_SUCCESS), cstr(id),
                   cstr(j));
            scribble(*id);
            scribble(*j);
        });
        if (stored.confType == Model::Scheduled)
            appointment(out, s, stored, Model::Made);
        catchUpLocked(out, s); // an instant conference, or one due now, starts at once
    });
}

int DeleteConference(unsigned int *matchKey, const char *confId, const char *appData,
                     const char *jsonString)
{
    Request call("DeleteConference");
    call.text(confId).text(appData).text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        Conference *c = conference(s, text(confId), false);
        const int reason = !c           ? ZS_REASON_NOT_FOUND
            : !c->isHost(s.currentUser) ? ZS_REASON_FORBIDDEN
                                        : ZS_REASON_SUCCESS;
        out.push_back(keyed(&ZS_ConfCallBack::onDeleteConference, key, reason));
        if (reason != ZS_REASON_SUCCESS)
            return;
        if (c->state == Model::InProgress) {
            endConference(out, s, *c, Model::EndedByHost);
        } else {
            // One that never took place leaves no history.
            if (c->state == Model::NotStarted)
                appointment(out, s, *c, Model::Cancelled);
            s.conferences.conferences.remove(c->id);
        }
    });
}

int UpdateConference(unsigned int *matchKey, const char *confId, const char *ownerPassword,
                     const char *password, const char *confName, int confType, int maxMember,
                     int voiceMode, const char *appData, int autoClose, const char *moderator,
                     const ConfMemberEntry *members, int count, const char *startTime, int duration,
                     int sendInvitation, int remindBeforeStart, int remindBeforeEnd, int extraInt1,
                     int extraInt2, const char *confTopic, int joinState, int reserved,
                     const char *jsonString)
{
    Request call("UpdateConference");
    call.text(confId).secret(ownerPassword).secret(password).text(confName).arg(confType);
    call.arg(maxMember).arg(voiceMode).text(appData).arg(autoClose).text(moderator);
    journalArray(call, members, count);
    call.text(startTime).arg(duration).arg(sendInvitation).arg(remindBeforeStart);
    call.arg(remindBeforeEnd).arg(extraInt1).arg(extraInt2).text(confTopic).arg(joinState);
    call.arg(reserved).text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    const QList<NewMember> listed = newMembers(members, count);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        Conference *c = conference(s, text(confId));
        const int reason = !c           ? ZS_REASON_NOT_FOUND
            : !c->isHost(s.currentUser) ? ZS_REASON_FORBIDDEN
                                        : ZS_REASON_SUCCESS;
        out.push_back(keyed(&ZS_ConfCallBack::onUpdateConference, key, reason));
        if (reason != ZS_REASON_SUCCESS)
            return;
        c->name = local8(confName);
        c->ownerPassword = text(ownerPassword);
        c->password = text(password);
        c->maxMemberCount = maxMember;
        c->voiceMode = voiceMode;
        c->appData = text(appData);
        c->autoClose = autoClose;
        c->moderator = text(moderator);
        c->duration = std::max(duration, 0);
        c->sendInvitation = sendInvitation;
        c->remindBeforeStart = std::max(remindBeforeStart, 0);
        c->remindBeforeEnd = std::max(remindBeforeEnd, 0);
        c->joinState = joinState;
        c->updateTime = s.conferences.now();
        if (const QString topic = local8(confTopic);
            !topic.isEmpty() && (c->topics.isEmpty() || c->topics.last() != topic))
            c->topics << topic;
        const QDateTime start = parseTime(text(startTime));
        if (c->state == Model::NotStarted && start.isValid() && start != c->reserveStartTime) {
            c->reserveStartTime = start;
            c->remindedBeforeStart = false;
        }
        c->remindedBeforeEnd = false;
        for (const NewMember &n : listed)
            if (!n.id.isEmpty() && !c->member(n.id))
                c->members << memberFrom(s, n, s.currentUser);
        if (c->state == Model::NotStarted) {
            appointment(out, s, *c, Model::Changed);
        } else {
            Notice n;
            n.event = Model::ConferenceChanged;
            n.by = s.currentUser;
            announce(out, s, *c, n);
            answerInvitations(out, s, *c);
        }
    });
}

int GetConferenceInfo(unsigned int *matchKey, const char *confId, const char *jsonString)
{
    Request call("GetConferenceInfo");
    call.text(confId).text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        out.push_back(infoAnswer(s, key, conference(s, text(confId), false)));
    });
}

int GetConferenceInfoList(unsigned int *matchKey, const char *createTimeBegin,
                          const char *createTimeEnd, const char *memberId, int memberIdType,
                          int confType, int searchById, int pageNo, int pageSize, int extraInt1,
                          int reserved1, int reserved2, const char *extraText,
                          const char *jsonString)
{
    Request call("GetConferenceInfoList");
    call.text(createTimeBegin).text(createTimeEnd).text(memberId).arg(memberIdType);
    call.arg(confType).arg(searchById).arg(pageNo).arg(pageSize).arg(extraInt1).arg(reserved1);
    call.arg(reserved2).text(extraText).text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        // searchById 1: memberId names a conference; else a member (empty: the user).
        const QString who = text(memberId).isEmpty() ? s.currentUser : text(memberId);
        QList<Conference> all;
        for (const Conference &c : qAsConst(s.conferences.conferences)) {
            if (c.state == Model::Ended
                || !listed(c, text(createTimeBegin), text(createTimeEnd), confType))
                continue;
            if (searchById == 1 ? c.id == text(memberId) : involves(c, who))
                all << c;
        }
        std::stable_sort(all.begin(), all.end(), [](const Conference &a, const Conference &b) {
            return a.reserveStartTime < b.reserveStartTime;
        });
        out.push_back(
            listAnswer(s, &ZS_ConfCallBack::onGetConferenceInfoList, key, all, pageNo, pageSize));
    });
}

int GetHistoryConferenceInfoList(unsigned int *matchKey, const char *createTimeBegin,
                                 const char *createTimeEnd, int confType, int searchByMember,
                                 int pageNo, int pageSize, const char *extraText, int extraInt1,
                                 int reserved1, int reserved2, const char *extraText2,
                                 const char *jsonString)
{
    Request call("GetHistoryConferenceInfoList");
    call.text(createTimeBegin).text(createTimeEnd).arg(confType).arg(searchByMember);
    call.arg(pageNo).arg(pageSize).text(extraText).arg(extraInt1).arg(reserved1).arg(reserved2);
    call.text(extraText2).text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        QList<Conference> all;
        for (const Conference &c : qAsConst(s.conferences.conferences))
            if (c.state == Model::Ended
                && listed(c, text(createTimeBegin), text(createTimeEnd), confType)
                && involves(c, s.currentUser))
                all << c;
        // The latest first.
        std::stable_sort(all.begin(), all.end(), [](const Conference &a, const Conference &b) {
            return a.endTime > b.endTime;
        });
        out.push_back(listAnswer(s, &ZS_ConfCallBack::onGetHistoryConferenceInfoList, key, all,
                                 pageNo, pageSize));
    });
}

int LockConference(unsigned int *matchKey, const char *confId, bool bLock, const char *jsonString)
{
    Request call("LockConference");
    call.text(confId).arg(int(bLock)).text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        Conference *c = conference(s, text(confId));
        const int reason = !c           ? ZS_REASON_NOT_FOUND
            : !c->isHost(s.currentUser) ? ZS_REASON_FORBIDDEN
                                        : ZS_REASON_SUCCESS;
        out.push_back(keyedWithId(&ZS_ConfCallBack::onLockConference, key, text(confId), reason));
        if (reason != ZS_REASON_SUCCESS)
            return;
        c->locked = bLock;
        Notice n;
        n.event = Model::LockChanged;
        n.by = s.currentUser;
        n.value = bLock;
        announce(out, s, *c, n);
    });
}

int MemberJoinConference(unsigned int *matchKey, const char *confId, const char *password,
                         const char *userName, const char *inviter, int inviterIdType,
                         const char *appData, int mediaType, int roleId, const char *phoneNumber,
                         int joinState, const char *terminalUA, const char *jsonString)
{
    Request call("MemberJoinConference");
    call.text(confId).secret(password).text(userName).text(inviter).arg(inviterIdType);
    call.text(appData).arg(mediaType).arg(roleId).text(phoneNumber).arg(joinState);
    call.text(terminalUA).text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        Model &model = s.conferences;
        const QString me = s.currentUser;
        Conference *c = conference(s, text(confId));
        int reason = ZS_REASON_SUCCESS;
        if (!c)
            reason = ZS_REASON_NOT_FOUND;
        else if (!passwordMatches(*c, text(password)))
            reason = ZS_REASON_UNAUTHORIZED;
        else if (c->state == Model::NotStarted && !c->isHost(me))
            reason = ZS_REASON_FORBIDDEN; // attendees wait for the start
        else if (c->member(me) && c->member(me)->state == Model::Removed && !c->isHost(me))
            reason = ZS_REASON_FORBIDDEN; // removed by a host: back only when invited again
        else if (c->locked && !c->isHost(me)
                 && !(c->member(me) && c->member(me)->state == Model::Joined))
            reason = ZS_REASON_FORBIDDEN;
        else if (c->maxMemberCount > 0 && c->joinedCount() >= c->maxMemberCount
                 && !(c->member(me) && c->member(me)->state == Model::Joined))
            reason = ZS_REASON_BUSY;
        if (reason != ZS_REASON_SUCCESS) {
            out.push_back([key, reason] {
                invoke(&ZS_ConfCallBack::onMemberJoinConference, key, reason,
                       static_cast<const ZS_ConfInfo *>(nullptr), "");
            });
            return;
        }
        if (c->state == Model::NotStarted)
            startConference(out, s, *c); // a host opens it early
        Member *m = c->member(me);
        if (!m) {
            c->members << memberFrom(s, NewMember{me, 0, roleId, QString(), QString()},
                                     text(inviter));
            m = &c->members.last();
        }
        const bool already = m->state == Model::Joined;
        if (!already)
            joinAs(*m, model.now(),
                   mediaType == Model::Video ? int(Model::Video) : int(Model::Voice));
        if (!text(userName).isEmpty())
            m->name = text(userName);
        if (c->isHost(me))
            m->role = Model::Host;
        m->appData = text(appData);
        m->phoneNumber = text(phoneNumber);
        m->terminalUA = text(terminalUA);
        const InfoRecords records = infoRecords(s, {*c});
        ZS_ConfInfo &info = (*records.infos)[0];
        put(info.text8, m->id);
        info.number16 = m->role;
        put(info.text9, m->name);
        info.number17 = m->mediaType;
        put(info.text10, timeText(m->joinedAt));
        out.push_back([key, records] {
            invoke(&ZS_ConfCallBack::onMemberJoinConference, key, int(ZS_REASON_SUCCESS),
                   records.data(), "");
            records.scribbleAll();
        });
        if (already)
            return;
        Notice n;
        n.event = Model::MemberJoined;
        n.by = me;
        n.member = me;
        n.members = {*m};
        announce(out, s, *c, n);
        out.push_back([j = callbackText(
                           json({{QStringLiteral("confId"), c->id},
                                 {QStringLiteral("sound"), QStringLiteral("joined")}}))] {
            invoke(&ZS_ConfCallBack::onConferenceAudioPlay, 0u, int(ZS_REASON_SUCCESS), cstr(j));
            scribble(*j);
        });
    });
}

int MemberQuitConference(unsigned int *matchKey, const char *confId, const char *appData,
                         const char *jsonString)
{
    Request call("MemberQuitConference");
    call.text(confId).text(appData).text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        Conference *c = conference(s, text(confId));
        Member *m = c ? c->member(s.currentUser) : nullptr;
        const bool in = m && m->state == Model::Joined;
        out.push_back(keyed(&ZS_ConfCallBack::onMemberQuitConference, key,
                            !c       ? ZS_REASON_NOT_FOUND
                                : in ? ZS_REASON_SUCCESS
                                     : ZS_REASON_FORBIDDEN));
        if (!in)
            return;
        m->state = Model::Left;
        m->leftAt = s.conferences.now();
        m->publishingVideo = m->publishingVoice = m->sharingScreen = false;
        dropVideos(s.conferences, c->id, m->id);
        Notice n;
        n.event = Model::MemberLeft;
        n.by = s.currentUser;
        n.member = s.currentUser;
        n.members = {*m};
        announce(out, s, *c, n, true);
        if (c->autoClose == 1 && c->joinedCount() == 0)
            endConference(out, s, *c, Model::EverybodyLeft);
    });
}

int UpdateConferenceMember(unsigned int *matchKey, const char *confId, const char *memberId,
                           const char *userName, int idType, const char *appData,
                           const char *jsonString, int extraInt)
{
    Request call("UpdateConferenceMember");
    call.text(confId).text(memberId).text(userName).arg(idType).text(appData).text(jsonString);
    call.arg(extraInt);
    const unsigned int key = call.issueKey(matchKey);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        Conference *c = conference(s, text(confId));
        Member *m = c ? c->member(text(memberId)) : nullptr;
        const bool allowed = m && (m->id == s.currentUser || c->isHost(s.currentUser));
        out.push_back(keyed(&ZS_ConfCallBack::onUpdateConferenceMember, key,
                            !m            ? ZS_REASON_NOT_FOUND
                                : allowed ? ZS_REASON_SUCCESS
                                          : ZS_REASON_FORBIDDEN));
        if (!allowed)
            return;
        if (!text(userName).isEmpty())
            m->name = text(userName);
        m->idType = idType;
        m->appData = text(appData);
    });
}

int GetConferenceMemberInfo(unsigned int *matchKey, const char *confId, const char *memberId,
                            int idType, const char *jsonString)
{
    Request call("GetConferenceMemberInfo");
    call.text(confId).text(memberId).arg(idType).text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        Conference *c = conference(s, text(confId), false);
        const Member *m = c ? c->member(text(memberId)) : nullptr;
        auto record = arrayOf<ZS_ConfMemberInfo>(1);
        if (m)
            fillMember((*record)[0], *m);
        out.push_back([key, found = m != nullptr, record, id = callbackText(text(confId))] {
            invoke(&ZS_ConfCallBack::onGetConferenceMemberInfo, key,
                   found ? int(ZS_REASON_SUCCESS) : int(ZS_REASON_NOT_FOUND), cstr(id),
                   found ? static_cast<const ZS_ConfMemberInfo *>(record->data()) : nullptr, "");
            scribble(*record);
            scribble(*id);
        });
    });
}

int GetConferenceMemberInfoList(unsigned int *matchKey, const char *confId, int pageNo,
                                int pageSize, const char *jsonString)
{
    Request call("GetConferenceMemberInfoList");
    call.text(confId).arg(pageNo).arg(pageSize).text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        memberList(s, text(confId), QString(), pageNo, pageSize,
                   [&](int reason, int n, std::shared_ptr<std::vector<ZS_ConfMemberInfo>> records,
                       const QString &j) {
                       out.push_back([key, reason, n, records, id = callbackText(text(confId)),
                                      jt = callbackText(j)] {
                           invoke(&ZS_ConfCallBack::onGetConferenceMemberInfoList, key, reason,
                                  cstr(id), n,
                                  static_cast<const ZS_ConfMemberInfo *>(records ? records->data()
                                                                                 : nullptr),
                                  cstr(jt));
                           if (records)
                               scribble(*records);
                           scribble(*id);
                           scribble(*jt);
                       });
                   });
    });
}

int GetHistoryConferenceMemberInfoList(unsigned int *matchKey, const char *confId,
                                       const char *memberId, int memberIdType, int pageNo,
                                       int pageSize, int extraInt, const char *jsonString)
{
    Request call("GetHistoryConferenceMemberInfoList");
    call.text(confId).text(memberId).arg(memberIdType).arg(pageNo).arg(pageSize).arg(extraInt);
    call.text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        memberList(s, text(confId), text(memberId), pageNo, pageSize,
                   [&](int reason, int n, std::shared_ptr<std::vector<ZS_ConfMemberInfo>> records,
                       const QString &j) {
                       out.push_back([key, reason, n, records, id = callbackText(text(confId)),
                                      jt = callbackText(j)] {
                           invoke(&ZS_ConfCallBack::onGetHistoryConferenceMemberInfoList, key,
                                  cstr(id), reason, n,
                                  static_cast<const ZS_ConfMemberInfo *>(records ? records->data()
                                                                                 : nullptr),
                                  cstr(jt));
                           if (records)
                               scribble(*records);
                           scribble(*id);
                           scribble(*jt);
                       });
                   });
    });
}

int ConferenceInviteMember(unsigned int *matchKey, const char *confId,
                           const ConfInviteEntry *members, int count, int callImmediately,
                           const char *appData, const char *jsonString)
{
    Request call("ConferenceInviteMember");
    call.text(confId);
    journalArray(call, members, count);
    call.arg(callImmediately).text(appData).text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    const QList<NewMember> invited = newMembers(members, count);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        Conference *c = conference(s, text(confId));
        const int reason = !c               ? ZS_REASON_NOT_FOUND
            : !takesPart(*c, s.currentUser) ? ZS_REASON_FORBIDDEN
                                            : ZS_REASON_SUCCESS;
        if (reason != ZS_REASON_SUCCESS) {
            out.push_back(withFailed(&ZS_ConfCallBack::onConferenceInviteMember, key, reason,
                                     text(confId), {}));
            return;
        }
        // The answers of those invited come after the answer to the invitation.
        Outbox later;
        const auto failed = invite(later, s, *c, invited);
        out.push_back(withFailed(&ZS_ConfCallBack::onConferenceInviteMember, key, reason,
                                 text(confId), failed));
        for (auto &task : later)
            out.push_back(std::move(task));
    });
}

int ConferenceMemberRejectInvitation(unsigned int *matchKey, const char *confId,
                                     const char *reserved, const char *extraText,
                                     const char *jsonString)
{
    Request call("ConferenceMemberRejectInvitation");
    call.text(confId).text(reserved).text(extraText).text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        Conference *c = conference(s, text(confId));
        Member *m = c ? c->member(s.currentUser) : nullptr;
        const bool invited = m && m->state == Model::Invited;
        out.push_back(keyedWithId(&ZS_ConfCallBack::onConferenceMemberRejectInvitation, key,
                                  text(confId), invited ? ZS_REASON_SUCCESS : ZS_REASON_NOT_FOUND));
        if (!invited)
            return;
        m->state = Model::Declined;
        m->appData = text(extraText);
    });
}

int ConferenceKickoutMember(unsigned int *matchKey, const char *confId,
                            const ConfTargetEntry *members, int count, const char *appData,
                            const char *jsonString)
{
    Request call("ConferenceKickoutMember");
    call.text(confId);
    journalArray(call, members, count);
    call.text(appData).text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    const QList<ConfTargetEntry> targets = entryList(members, count);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        Conference *c = conference(s, text(confId));
        const int reason = !c           ? ZS_REASON_NOT_FOUND
            : !c->isHost(s.currentUser) ? ZS_REASON_FORBIDDEN
                                        : ZS_REASON_SUCCESS;
        QList<Failed> failed;
        Notice n;
        n.event = Model::MembersRemoved;
        n.by = s.currentUser;
        for (const ConfTargetEntry &t : targets) {
            if (reason != ZS_REASON_SUCCESS)
                break;
            Member *m = c->member(field(t.text1));
            if (!m || m->state != Model::Joined) {
                failed << Failed{field(t.text1), ZS_REASON_NOT_FOUND, QStringLiteral("not in it")};
                continue;
            }
            m->state = Model::Removed;
            m->leftAt = s.conferences.now();
            m->publishingVideo = m->publishingVoice = m->sharingScreen = false;
            dropVideos(s.conferences, c->id, m->id);
            n.removed << *m;
        }
        out.push_back(withFailed(&ZS_ConfCallBack::onConferenceKickoutMember, key, reason,
                                 text(confId), failed));
        if (!n.removed.isEmpty())
            announce(out, s, *c, n, true);
    });
}

int SetConferenceMemberRole(unsigned int *matchKey, const char *confId, const char *memberId,
                            int memberIdType, int roleId, const char *jsonString)
{
    Request call("SetConferenceMemberRole");
    call.text(confId).text(memberId).arg(memberIdType).arg(roleId).text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        Conference *c = conference(s, text(confId));
        Member *m = c ? c->member(text(memberId)) : nullptr;
        const int reason = !m           ? ZS_REASON_NOT_FOUND
            : !c->isHost(s.currentUser) ? ZS_REASON_FORBIDDEN
                                        : ZS_REASON_SUCCESS;
        out.push_back(
            keyedWithId(&ZS_ConfCallBack::onSetConferenceMemberRole, key, text(confId), reason));
        if (reason != ZS_REASON_SUCCESS)
            return;
        m->role = roleId == Model::Host ? int(Model::Host) : int(Model::Attendee);
        Notice n;
        n.event = Model::RoleChanged;
        n.by = s.currentUser;
        n.member = m->id;
        n.role = m->role;
        n.members = {*m};
        announce(out, s, *c, n);
    });
}

int ConferenceSendCmd(unsigned int *matchKey, const char *confId, int bAllMember,
                      const ConfTargetEntry *members, int count, const char *cmdData,
                      const char *jsonString)
{
    Request call("ConferenceSendCmd");
    call.text(confId).arg(bAllMember);
    journalArray(call, members, count);
    call.text(cmdData).text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    const QList<ConfTargetEntry> targets = entryList(members, count);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        Conference *c = conference(s, text(confId));
        const int reason = !c               ? ZS_REASON_NOT_FOUND
            : !takesPart(*c, s.currentUser) ? ZS_REASON_FORBIDDEN
                                            : ZS_REASON_SUCCESS;
        out.push_back(
            keyedWithId(&ZS_ConfCallBack::onConferenceSendCmd, key, text(confId), reason));
        if (reason != ZS_REASON_SUCCESS)
            return;
        Model::Command command;
        command.confId = c->id;
        command.from = s.currentUser;
        command.allMembers = bAllMember != 0;
        for (const ConfTargetEntry &t : targets)
            command.to << field(t.text1);
        command.data = text(cmdData);
        s.conferences.commands << command;
    });
}

int ConferenceMediaControl(unsigned int *matchKey, const char *confId, int unchangable,
                           int bAllMember, const ConfTargetEntry *members, int count, int action,
                           const char *appData, const char *jsonString)
{
    Request call("ConferenceMediaControl");
    call.text(confId).arg(unchangable).arg(bAllMember);
    journalArray(call, members, count);
    call.arg(action).text(appData).text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    const QList<ConfTargetEntry> targets = entryList(members, count);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        Conference *c = conference(s, text(confId));
        int reason = !c                 ? ZS_REASON_NOT_FOUND
            : !c->isHost(s.currentUser) ? ZS_REASON_FORBIDDEN
                                        : ZS_REASON_SUCCESS;
        if (reason == ZS_REASON_SUCCESS
            && (action < Model::MuteMicrophone || action > Model::CameraOn))
            reason = ZS_REASON_BAD_REQUEST;
        out.push_back(keyed(&ZS_ConfCallBack::onConferenceMediaControl, key, reason));
        if (reason != ZS_REASON_SUCCESS)
            return;
        QStringList ids;
        for (const ConfTargetEntry &t : targets)
            ids << field(t.text1);
        Notice n;
        n.event = Model::MediaControlled;
        n.by = s.currentUser;
        n.value = action;
        n.extra = unchangable != 0;
        for (Member &m : c->members) {
            // Everybody: every member in the conference but the one in control.
            const bool aimed = bAllMember ? m.state == Model::Joined && m.id != s.currentUser
                                          : ids.contains(m.id);
            if (!aimed)
                continue;
            applyMediaControl(m, action, unchangable != 0);
            if (action == Model::CameraOff)
                dropVideos(s.conferences, c->id, m.id);
            n.members << m;
        }
        if (!n.members.isEmpty())
            announce(out, s, *c, n);
    });
}

int ConferenceRecord(unsigned int *matchKey, const char *confId,
                     const _ZSConferenceRecordMemberInfo *members, int count, int action,
                     const char *jsonString)
{
    Request call("ConferenceRecord");
    call.text(confId);
    journalArray(call, members, count);
    call.arg(action).text(jsonString);
    const unsigned int key = call.issueKey(matchKey);
    QStringList recorded;
    for (int i = 0; members && i < count; ++i)
        recorded << field(members[i].text1);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        Conference *c = conference(s, text(confId));
        int reason = !c                     ? ZS_REASON_NOT_FOUND
            : !c->isHost(s.currentUser)     ? ZS_REASON_FORBIDDEN
            : c->state != Model::InProgress ? ZS_REASON_FORBIDDEN
                                            : ZS_REASON_SUCCESS;
        const bool start = action == Model::StartRecording;
        out.push_back(keyed(&ZS_ConfCallBack::onConferenceRecord, key, reason));
        if (reason != ZS_REASON_SUCCESS || start == c->recording)
            return;
        if (start) {
            c->recording = true;
            c->recordingSince = s.conferences.now();
            for (Member &m : c->members)
                m.recorded = recorded.isEmpty() || recorded.contains(m.id);
        } else {
            stopRecording(s.conferences, *c);
        }
        Notice n;
        n.event = Model::RecordingChanged;
        n.by = s.currentUser;
        n.value = start;
        announce(out, s, *c, n);
    });
}

int GetConferenceRecordList(unsigned int *matchKey, const char *confId, int historyConf, int pageNo,
                            int pageSize)
{
    Request call("GetConferenceRecordList");
    call.text(confId).arg(historyConf).arg(pageNo).arg(pageSize);
    const unsigned int key = call.issueKey(matchKey);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        Conference *c = conference(s, text(confId), false);
        const QList<Model::RecordFile> files
            = c ? page(c->records, pageNo, pageSize) : QList<Model::RecordFile>();
        auto records = arrayOf<ZS_ConfRecordFile>(std::size_t(files.size()));
        for (int i = 0; i < files.size(); ++i) {
            ZS_ConfRecordFile &r = (*records)[std::size_t(i)];
            put(r.text1, files[i].id);
            put(r.text2, files[i].url);
            r.number1 = files[i].seconds;
            put(r.text3, timeText(files[i].start));
            put(r.text4, timeText(files[i].end));
        }
        out.push_back([key, found = c != nullptr, n = files.size(), records,
                       id = callbackText(text(confId))] {
            invoke(&ZS_ConfCallBack::onGetConferenceRecordList, key, cstr(id),
                   found ? int(ZS_REASON_SUCCESS) : int(ZS_REASON_NOT_FOUND), found ? n : 0,
                   found ? static_cast<const ZS_ConfRecordFile *>(records->data()) : nullptr);
            scribble(*records);
            scribble(*id);
        });
    });
}

int ConferenceStartPublishVideo(unsigned int *matchKey, const char *confId, const char *jsonString)
{
    return publishRequest("ConferenceStartPublishVideo",
                          &ZS_ConfCallBack::onConferenceStartPublishVideo, matchKey, confId,
                          nullptr, jsonString, 1, true);
}

int ConferenceStopPublishVideo(unsigned int *matchKey, const char *confId, const char *jsonString)
{
    return publishRequest("ConferenceStopPublishVideo",
                          &ZS_ConfCallBack::onConferenceStopPublishVideo, matchKey, confId, nullptr,
                          jsonString, 1, false);
}

int ConferenceStartScreenSharing(unsigned int *matchKey, const char *confId, const char *jsonString)
{
    return publishRequest("ConferenceStartScreenSharing",
                          &ZS_ConfCallBack::onConferenceStartScreenSharing, matchKey, confId,
                          nullptr, jsonString, 3, true);
}

int ConferenceStopScreenSharing(unsigned int *matchKey, const char *confId, const char *jsonString)
{
    return publishRequest("ConferenceStopScreenSharing",
                          &ZS_ConfCallBack::onConferenceStopScreenSharing, matchKey, confId,
                          nullptr, jsonString, 3, false);
}

int ConferenceStartPublishVoice(unsigned int *matchKey, const char *confId, int reserved,
                                const char *jsonString)
{
    return publishRequest("ConferenceStartPublishVoice",
                          &ZS_ConfCallBack::onConferenceStartPublishVoice, matchKey, confId,
                          &reserved, jsonString, 2, true);
}

int ConferenceStopPublishVoice(unsigned int *matchKey, const char *confId, int reserved,
                               const char *jsonString)
{
    return publishRequest("ConferenceStopPublishVoice",
                          &ZS_ConfCallBack::onConferenceStopPublishVoice, matchKey, confId,
                          &reserved, jsonString, 2, false);
}

int ConferenceRequestMemberVideo(const char *confId, const char *confPasswd, const char *member,
                                 void *videoWindow, int mediaSourceType, int width, int height,
                                 const char *jsonString, int extraInt)
{
    Request call("ConferenceRequestMemberVideo");
    call.text(confId).secret(confPasswd).text(member);
    call.arg(static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(videoWindow)));
    call.arg(mediaSourceType).arg(width).arg(height).text(jsonString).arg(extraInt);
    if (call.accepted() && (text(confId).isEmpty() || text(member).isEmpty()))
        return ZS_ERR_INVALID_ARGUMENT;
    return serve(call, [&](ServerModel &s, Outbox &out) {
        Model &model = s.conferences;
        Conference *c = conference(s, text(confId));
        const Member *m = c ? c->member(text(member)) : nullptr;
        int reason
            = !c || !m || !shows(*m, mediaSourceType) ? ZS_REASON_NOT_FOUND : ZS_REASON_SUCCESS;
        if (c && !passwordMatches(*c, text(confPasswd)))
            reason = ZS_REASON_UNAUTHORIZED;
        out.push_back(memberVideoAnswer(&ZS_ConfCallBack::onConferenceRequestMemberVideo, reason,
                                        text(confId), text(member), mediaSourceType,
                                        text(jsonString)));
        if (reason != ZS_REASON_SUCCESS)
            return;
        dropVideos(model, c->id, m->id);
        model.memberVideos << Model::MemberVideo{
            c->id, m->id, reinterpret_cast<quintptr>(videoWindow), mediaSourceType, width, height};
        // The picture's size comes through the call table, as for a call.
        const bool screen = mediaSourceType == Model::Screen;
        const int w = screen ? model.screenWidth : model.cameraWidth;
        const int h = screen ? model.screenHeight : model.cameraHeight;
        out.push_back([w, h, screen, id = callbackText(c->id), who = callbackText(m->id)] {
            invoke(&ZS_VoIPCallBack::onRemoteVideoRatio, cstr(id), w, h,
                   int(screen ? ZS_REMOTE_VIDEO_DESKTOP_SHARE : ZS_REMOTE_VIDEO_CONFERENCE),
                   cstr(who));
            scribble(*id);
            scribble(*who);
        });
    });
}

int ConferenceCancelMemberVideo(const char *confId, const char *confPasswd, const char *member,
                                int mediaSourceType, const char *jsonString, int extraInt)
{
    Request call("ConferenceCancelMemberVideo");
    call.text(confId).secret(confPasswd).text(member).arg(mediaSourceType).text(jsonString);
    call.arg(extraInt);
    if (!call.accepted())
        return call.result();
    bool found = false;
    Control::withServer([&](ServerModel &s) {
        auto &videos = s.conferences.memberVideos;
        for (int i = 0; i < videos.size() && !found; ++i) {
            const Model::MemberVideo &v = videos[i];
            if (v.confId == text(confId) && v.member == text(member)
                && v.mediaSourceType == mediaSourceType) {
                videos.removeAt(i);
                found = true;
            }
        }
    });
    // Nothing shown: refused at once, no answer follows.
    if (!found)
        return ZS_ERR_NOT_FOUND;
    call.answer(memberVideoAnswer(&ZS_ConfCallBack::onConferenceCancelMemberVideo,
                                  ZS_REASON_SUCCESS, text(confId), text(member), mediaSourceType,
                                  text(jsonString)));
    return ZS_OK;
}

int ConferenceResetMemberView(const char *confId, const char *member, void *newWindow,
                              int mediaSourceType, int width, int height, const char *jsonString,
                              int extraInt)
{
    Request call("ConferenceResetMemberView");
    call.text(confId).text(member);
    call.arg(static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(newWindow)));
    call.arg(mediaSourceType).arg(width).arg(height).text(jsonString).arg(extraInt);
    if (!call.accepted())
        return call.result();
    bool found = false;
    Control::withServer([&](ServerModel &s) {
        for (Model::MemberVideo &v : s.conferences.memberVideos) {
            if (v.confId == text(confId) && v.member == text(member)
                && v.mediaSourceType == mediaSourceType) {
                v.window = reinterpret_cast<quintptr>(newWindow);
                v.width = width;
                v.height = height;
                found = true;
            }
        }
    });
    return found ? ZS_OK : ZS_ERR_NOT_FOUND;
}

int ConferenceGetAppSetting(unsigned int *matchKey, const char *reserved)
{
    Request call("ConferenceGetAppSetting");
    call.text(reserved);
    const unsigned int key = call.issueKey(matchKey);
    return serve(call, [&](ServerModel &s, Outbox &out) {
        ZS_ConfAppSetting setting{};
        setting.value = s.conferences.appSetting;
        out.push_back([key, records = callbackRecords(std::vector<ZS_ConfAppSetting>{setting})] {
            invoke(&ZS_ConfCallBack::onConferenceGetAppSetting, key, int(ZS_REASON_SUCCESS),
                   static_cast<const ZS_ConfAppSetting *>(records->data()));
            scribble(*records);
        });
    });
}

} // extern "C"
