#include "ConfConvert.h"

#include <FixedField.h>
#include <TextCache.h>

#include <algorithm>
#include <cstring>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using tq::writeField;

namespace conf {

namespace {

// An engine answers the same conferences again and again: their texts come from this
// thread's cache of recent texts.
template<std::size_t N> QString readField(const char (&field)[N])
{
    return tq::readFieldCached(field);
}

QString topicOfBytes(const char *bytes, int size)
{
    return topicOf(QString::fromUtf8(bytes, size));
}

// The topic a topic field stands for, read (and extracted) once per text and thread.
template<std::size_t N> QString readTopic(const char (&field)[N])
{
    thread_local tq::TextCache topics(topicOfBytes, 128, 512);
    const void *nul = std::memchr(field, '\0', N);
    return topics.text(field, nul ? std::size_t(static_cast<const char *>(nul) - field) : N);
}

} // namespace

void toEntry(const Agent_ConfNewMember &member, ConfMemberEntry &entry)
{
    writeField(entry.text1, member.text1);
    entry.number1 = member.number1;
    entry.number2 = member.number2;
    writeField(entry.text2, member.text2);
    writeField(entry.text3, member.text3);
}

void toEntry(const Agent_ConfInviteMember &member, ConfInviteEntry &entry)
{
    writeField(entry.text1, member.text1);
    entry.number1 = member.number1;
    entry.number2 = member.number2;
    writeField(entry.text2, member.text2);
    writeField(entry.text3, member.text3);
}

void toEntry(const Agent_ConfKickMember &member, ConfTargetEntry &entry)
{
    writeField(entry.text1, member.text1);
    entry.number1 = member.number1;
}

void toEntry(const Agent_ConfRecordMemberInfo &member, _ZSConferenceRecordMemberInfo &entry)
{
    writeField(entry.text1, member.text1);
    entry.number1 = member.number1;
}

void toCommandEntry(const Agent_ConfTargetMember &member, ConfTargetEntry &entry)
{
    writeField(entry.text1, member.memberId);
    entry.number1 = member.number1;
}

void toMediaControlEntry(const Agent_ConfTargetMember &member, ConfTargetEntry &entry)
{
    toCommandEntry(member, entry);
    entry.deviceType = member.deviceType;
}

QString topicOf(const QString &raw)
{
    // Only an object can hold "topics"; anything else needs no parsing.
    const int first
        = int(std::find_if_not(raw.begin(), raw.end(), [](QChar c) { return c.isSpace(); })
              - raw.begin());
    if (first >= raw.size() || raw.at(first) != QLatin1Char('{'))
        return raw;
    const QJsonArray topics
        = QJsonDocument::fromJson(raw.toUtf8()).object().value(QLatin1String("topics")).toArray();
    if (topics.isEmpty())
        return raw;
    return topics.last().toObject().value(QLatin1String("topic")).toString();
}

Agent_ConfTargetMember toTargetMember(const ZS_ConfMemberInfo &m)
{
    Agent_ConfTargetMember r;
    r.memberId = readField(m.memberId);
    r.text2 = readField(m.text2);
    r.number1 = m.number1;
    r.number2 = m.number2;
    r.number3 = m.number3;
    r.number4 = m.number4;
    r.text3 = readField(m.text3);
    r.text4 = readField(m.text4);
    r.text5 = readField(m.text5);
    r.text6 = readField(m.text6);
    r.text7 = readField(m.text7);
    r.text8 = readField(m.text8);
    r.text9 = readField(m.text9);
    r.text10 = readField(m.text10);
    r.text11 = readField(m.text11);
    r.deviceType = m.deviceType;
    r.number5 = m.number5;
    return r;
}

Agent_ConfInfo toConfInfo(const ZS_ConfInfo *info, JoinFields join, Topic topic)
{
    Agent_ConfInfo r;
    if (!info)
        return r;
    const ZS_ConfInfo &c = *info;
    r.confId = readField(c.confId);
    r.text2 = readField(c.text2);
    r.number1 = c.number1;
    r.creator = readField(c.creator);
    r.number2 = c.number2;
    r.text3 = readField(c.text3);
    r.text4 = readField(c.text4);
    r.number3 = c.number3;
    r.memberCount = c.memberCount;
    r.number4 = c.number4;
    r.startTime = readField(c.startTime);
    r.number5 = c.number5;
    r.text5 = readField(c.text5);
    r.createTime = readField(c.createTime);
    r.updateTime = readField(c.updateTime);
    r.text6 = readField(c.text6);
    r.number6 = c.number6;
    r.number7 = c.number7;
    r.number8 = c.number8;
    r.number10 = c.number10;
    r.number11 = c.number11;
    r.text7 = readField(c.text7);
    r.members = tq::convertArray(c.members, c.number12, toTargetMember);
    r.number12 = r.members.size();
    r.number13 = c.number13;
    r.reserveStartTime = readField(c.reserveStartTime);
    r.number14 = c.number14;
    r.confTopic = topic == Topic::Extracted ? readTopic(c.confTopic) : readField(c.confTopic);
    r.number15 = c.number15;
    if (join == JoinFields::Read) {
        r.text8 = readField(c.text8);
        r.number16 = c.number16;
        r.text9 = readField(c.text9);
        r.number17 = c.number17;
        r.text10 = readField(c.text10);
    }
    return r;
}

Agent_ConferenceMemberInfo toMemberInfo(const ZS_ConfMemberInfo &m, DeviceType device)
{
    Agent_ConferenceMemberInfo r;
    r.memberId = readField(m.memberId);
    r.text2 = readField(m.text2);
    r.number1 = m.number1;
    r.number2 = m.number2;
    r.number3 = m.number3;
    r.number4 = m.number4;
    r.text3 = readField(m.text3);
    r.text4 = readField(m.text4);
    r.text5 = readField(m.text5);
    r.text6 = readField(m.text6);
    r.text7 = readField(m.text7);
    r.text9 = readField(m.text9);
    bool *const flags[] = {&r.flag0, &r.flag1, &r.flag2, &r.flag3, &r.flag4,  &r.flag5,
                           &r.flag6, &r.flag7, &r.flag8, &r.flag9, &r.flag10, &r.flag11};
    const unsigned int word = static_cast<unsigned int>(m.number3);
    for (unsigned int bit = 0; bit < 12; ++bit)
        *flags[bit] = (word >> bit) & 1u;
    if (device == DeviceType::Read)
        r.deviceType = m.deviceType;
    r.number5 = m.number5;
    return r;
}

Agent_FaildConferenceMemberInfo toFailedMember(const ZS_ConfFailedMember &m)
{
    Agent_FaildConferenceMemberInfo r;
    r.text1 = readField(m.text1);
    r.number1 = m.number1;
    r.text2 = readField(m.text2);
    return r;
}

Agent_ConfRecordFile toRecordFile(const ZS_ConfRecordFile &f)
{
    Agent_ConfRecordFile r;
    r.text1 = readField(f.text1);
    r.text2 = readField(f.text2);
    r.number1 = f.number1;
    r.text3 = readField(f.text3);
    r.text4 = readField(f.text4);
    return r;
}

Agent_ConfKickMember toKickMember(const ConfTargetEntry &m)
{
    Agent_ConfKickMember r;
    r.text1 = readField(m.text1);
    r.number1 = m.number1;
    r.deviceType = m.deviceType;
    return r;
}

Agent_ConfNtyMember toNtyMember(const ZS_ConfNtyMember &m)
{
    Agent_ConfNtyMember r;
    r.text1 = readField(m.text1);
    r.number1 = m.number1;
    r.number2 = m.number2;
    r.text2 = readField(m.text2);
    r.text3 = readField(m.text3);
    r.number3 = m.number3;
    r.text4 = readField(m.text4);
    r.deviceType = m.deviceType;
    return r;
}

Agent_ConfNtyMsg toNtyMsg(const ZS_ConfNotification &n)
{
    Agent_ConfNtyMsg r;
    r.number1 = n.number1;
    r.text1 = readField(n.text1);
    r.text2 = readField(n.text2);
    r.confTopic = readTopic(n.confTopic);
    r.text3 = readField(n.text3);
    r.text4 = readField(n.text4);
    r.text5 = readField(n.text5);
    r.number2 = n.number2;
    r.number3 = n.number3;
    r.number4 = n.number4;
    r.number5 = n.number5;
    r.number6 = n.number6;
    r.text6 = readField(n.text6);
    r.number7 = n.number7;
    r.text7 = readField(n.text7);
    r.text8 = readField(n.text8);
    r.number8 = n.number8;
    r.text9 = readField(n.text9);
    r.number9 = n.number9;
    r.text10 = readField(n.text10);
    r.text11 = readField(n.text11);
    r.text12 = readField(n.text12);
    r.number10 = n.number10;
    r.number11 = n.number11;
    r.text13 = readField(n.text13);
    r.text14 = readField(n.text14);
    r.text15 = readField(n.text15);
    r.number12 = n.number12;
    r.number13 = n.number13;
    r.number14 = n.number14;
    r.deviceType = n.deviceType;
    return r;
}

Agent_ConfInviteNtyMsg toInviteNty(const ZS_ConfInviteNotification *nty)
{
    Agent_ConfInviteNtyMsg r;
    if (!nty)
        return r;
    r.text1 = readField(nty->text1);
    r.number1 = nty->number1;
    r.text2 = readField(nty->text2);
    r.text3 = readField(nty->text3);
    r.text5 = readField(nty->text5);
    r.text6 = readField(nty->text6);
    r.number2 = nty->number2;
    r.text7 = readField(nty->text7);
    return r;
}

Agent_ConfAppointmentNtyMsg toAppointmentNty(const ZS_ConfAppointmentNotification *nty)
{
    Agent_ConfAppointmentNtyMsg r;
    if (!nty)
        return r;
    r.number1 = nty->number1;
    r.text1 = readField(nty->text1);
    r.text2 = readField(nty->text2);
    r.text3 = readField(nty->text3);
    r.text4 = readField(nty->text4);
    r.text5 = readField(nty->text5);
    r.number2 = nty->number2;
    r.number3 = nty->number3;
    r.text6 = readField(nty->text6);
    return r;
}

namespace {
template<class Record> Record toReminder(const ZS_ConfReminderNotification *nty)
{
    Record r;
    if (!nty)
        return r;
    r.number1 = nty->number1;
    r.text1 = readField(nty->text1);
    r.text2 = readField(nty->text2);
    r.number2 = nty->number2;
    return r;
}
} // namespace

Agent_ConfBeforeStartNtyMsg toBeforeStartNty(const ZS_ConfReminderNotification *nty)
{
    return toReminder<Agent_ConfBeforeStartNtyMsg>(nty);
}

Agent_ConfBeforeEndNtyMsg toBeforeEndNty(const ZS_ConfReminderNotification *nty)
{
    return toReminder<Agent_ConfBeforeEndNtyMsg>(nty);
}

Agent_ConfEndNtyMsg toEndNty(const ZS_ConfEndNotification *nty)
{
    Agent_ConfEndNtyMsg r;
    if (!nty)
        return r;
    r.number1 = nty->number1;
    r.text1 = readField(nty->text1);
    r.text2 = readField(nty->text2);
    return r;
}

Agent_ConfAppSetting toAppSetting(const ZS_ConfAppSetting *setting)
{
    Agent_ConfAppSetting r;
    if (setting)
        r.value = setting->value;
    return r;
}

} // namespace conf
