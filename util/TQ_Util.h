#pragma once

#include "tq_util_global.h"

#include <QString>

class TQ_UTIL_EXPORT TQ_Util
{
public:
    // Readable text for an engine return or reason code; "unknown error N" otherwise.
    static QString GetSDKErrMsgById(int code);
    // A fresh unique identifier on every call (no braces).
    static QString createUuid();
};
