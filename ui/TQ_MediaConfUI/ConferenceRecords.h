#pragma once

#include "ConferenceCodes.h"
#include "tq_mediaconfui_export.h"

#include <ConfResultRecords.h>

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

// One member as the windows show it.
struct TqConfMember
{
    QString id;
    QString name;
    int role = 0;
    int state = 0;
    int flags = 0;

    bool isHost() const { return role == TqConfCode::Host; }
    bool isIn() const { return state == TqConfCode::Joined; }
    bool has(int flag) const { return (flags & flag) != 0; }
    QString shownName() const { return name.isEmpty() ? id : name; }
};

// One conference as the lists and the conference window show it.
struct TqConfSummary
{
    QString id;
    QString name;
    QString topic;
    QString creator;
    QString creatorName;
    int type = 0;
    int state = 0;
    int media = 0;
    int durationMinutes = 0;
    int memberCount = 0;
    int joinedCount = 0;
    bool locked = false;
    bool recording = false;
    QDateTime plannedStart;
    QDateTime started;
    QDateTime ended;
    QList<TqConfMember> members;
};

// A recording of a conference.
struct TqConfRecordFile
{
    QString id;
    QString url;
    int seconds = 0;
    QDateTime start;
    QDateTime end;
};

// What the create/edit dialog asks for.
struct TqConfDraft
{
    QString name;
    QString topic;
    bool scheduled = false;
    QDateTime start;
    int durationMinutes = 60;
    bool video = false;
    int remindBeforeStart = 5;
    int remindBeforeEnd = 5;
    QString password;
    QString hostPassword;
    QStringList members;
};

// An invitation or a reminder to join.
struct TqConfInvitation
{
    QString confId;
    QString name;
    QString inviter;
    QString inviterName;
    QString invitationId;
    bool video = false;
};
Q_DECLARE_METATYPE(TqConfInvitation)

namespace TqConfRecords {
TQ_MEDIACONFUI_EXPORT TqConfSummary summary(const Agent_ConfInfo &info);
TQ_MEDIACONFUI_EXPORT TqConfMember member(const Agent_ConferenceMemberInfo &info);
TQ_MEDIACONFUI_EXPORT TqConfMember member(const Agent_ConfTargetMember &info);
TQ_MEDIACONFUI_EXPORT TqConfRecordFile recordFile(const Agent_ConfRecordFile &file);
// The server's times ("yyyy-MM-dd hh:mm:ss"); invalid when empty or unreadable.
TQ_MEDIACONFUI_EXPORT QDateTime time(const QString &text);
TQ_MEDIACONFUI_EXPORT QString timeText(const QDateTime &time);
} // namespace TqConfRecords
