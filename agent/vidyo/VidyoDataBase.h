#pragma once

// The parameters of one room-video call, owned by the caller. The agent reads it at start and
// writes the video rectangle into it until the call is stopped (signal_LeaveMeettingStopVidyo);
// after that the caller may free it.

#include "tq_agent_global.h"

#include <QMetaType>
#include <QRect>
#include <QString>

class TQ_AGENT_EXPORT VidyoDataBase
{
public:
    QString logDirectory;
    QString roomLinkText2; // 127 bytes reach the client
    QString roomLinkText1; // 256 bytes
    QString roomLinkText3; // 127 bytes
    QString roomLinkText4; // 16 bytes
    QRect videoRect;
    void *windowHandle = nullptr; // native window; a QWidget * on Linux
};

Q_DECLARE_METATYPE(VidyoDataBase *)
