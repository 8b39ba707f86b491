#pragma once

#include "tq_util_global.h"

#include <QString>

class TQ_UTIL_EXPORT TQSettings
{
public:
    // The project version; only [0-9A-Za-z._-], so it can go inside a file name.
    static QString getVersionValues();
};
