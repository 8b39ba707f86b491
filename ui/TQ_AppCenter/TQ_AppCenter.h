#pragma once

#include "tq_appcenter_export.h"

#include <QObject>

class TQ_APPCENTER_EXPORT TQ_AppCenter : public QObject
{
    Q_OBJECT
public:
    // Creates the application centre on first use; user-interface thread only.
    static TQ_AppCenter *instance();

private:
    TQ_AppCenter();
    static TQ_AppCenter *ins;
};
