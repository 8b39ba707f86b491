#pragma once

#include "tq_mediaconfui_export.h"

#include <QCoreApplication>
#include <QString>

struct TqMeetingMember;

// The words the meeting windows show for kinds, member states, settings and failures.
class TQ_MEDIACONFUI_EXPORT TqMeetingText
{
    Q_DECLARE_TR_FUNCTIONS(TqMeetingText)
public:
    static QString kind(int meetingType);
    static QString memberState(int state);
    static QString option(int option);
    // "Bob Li", with "(you)" and "owner" where they apply.
    static QString memberName(const TqMeetingMember &member, const QString &ownAccount);
    // A request the server refused: the reason in words.
    static QString failure(int reason);
};
