#pragma once

#include "tq_mediaconfui_export.h"

#include <QObject>

class TQ_MEDIACONFUI_EXPORT TQ_MediaConfUI : public QObject
{
    Q_OBJECT
public:
    TQ_MediaConfUI();
};
