#pragma once

#include "tq_customui_export.h"

#include <QStringList>

// The calls the launcher and the shell make on the window libraries, in order. The real
// libraries are not here yet; this is how their users are checked meanwhile.
class TQ_CUSTOMUI_EXPORT TqCallLog
{
public:
    static void add(const QString &call);
    static QStringList calls();
    static void clear();
};
