#pragma once

#include "TqCallState.h"
#include "tq_mediaconfui_export.h"

#include <QCoreApplication>
#include <QString>

// The words the call windows show for states, release reasons and durations.
class TQ_MEDIACONFUI_EXPORT TqCallText
{
    Q_DECLARE_TR_FUNCTIONS(TqCallText)
public:
    // "mm:ss", or "h:mm:ss" from an hour on.
    static QString duration(qint64 ms);
    static QString phase(const TqCallState &state);
    static QString endReason(int reason);
    static QString media(bool video);
    static QString outcome(const TqCallRecord &record);
    // The peer as the user knows them: a learned name, with the id when it differs.
    static QString peerLabel(const QString &name, const QString &id);
};
