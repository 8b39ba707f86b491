#pragma once

#include "tq_whiteboardui_export.h"

#include <QObject>

// The shared whiteboard's window library. Nothing to show until the whiteboard agent exists;
// the app centre lists the whiteboard as coming later meanwhile.
class TQ_WHITEBOARDUI_EXPORT TQ_WhiteBoardUI : public QObject
{
    Q_OBJECT
public:
    TQ_WhiteBoardUI();
};
