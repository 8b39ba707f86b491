#include "ConferenceRecords.h"

namespace {
const QString &timeFormat()
{
    static const QString format = QStringLiteral("yyyy-MM-dd hh:mm:ss");
    return format;
}
} // namespace

namespace TqConfRecords {

QDateTime time(const QString &text)
{
    return text.isEmpty() ? QDateTime() : QDateTime::fromString(text, timeFormat());
}

QString timeText(const QDateTime &time)
{
    return time.isValid() ? time.toString(timeFormat()) : QString();
}

TqConfMember member(const Agent_ConfTargetMember &info)
{
    return {info.memberId, info.text2, info.number2, info.number4, info.number3};
}

TqConfMember member(const Agent_ConferenceMemberInfo &info)
{
    return {info.memberId, info.text2, info.number2, info.number4, info.number3};
}

TqConfSummary summary(const Agent_ConfInfo &info)
{
    TqConfSummary s;
    s.id = info.confId;
    s.name = info.text2;
    s.topic = info.confTopic;
    s.creator = info.creator;
    s.creatorName = info.text7;
    s.type = info.number1;
    s.state = info.number2;
    s.media = info.number6;
    s.durationMinutes = info.number5;
    s.memberCount = info.memberCount;
    s.joinedCount = info.number15;
    s.locked = info.number7 != 0;
    s.recording = info.number8 != 0;
    s.plannedStart = time(info.reserveStartTime);
    s.started = time(info.startTime);
    s.ended = time(info.text6);
    for (const Agent_ConfTargetMember &m : info.members)
        s.members << member(m);
    return s;
}

TqConfRecordFile recordFile(const Agent_ConfRecordFile &file)
{
    return {file.text1, file.text2, file.number1, time(file.text3), time(file.text4)};
}

} // namespace TqConfRecords
