#pragma once

#include "tq_whiteboardui_export.h"

#include <QObject>

class TQ_WHITEBOARDUI_EXPORT TQ_WhiteBoardUI : public QObject
{
    Q_OBJECT
public:
    TQ_WhiteBoardUI();
};
