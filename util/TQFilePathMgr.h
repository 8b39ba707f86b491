#pragma once

#include "tq_util_global.h"

#include <QString>

// Per-user directories: $TQ_DATA_DIR, else "TQ" under the generic data location.
// Every path is created on demand (owner-only) and ends with '/'.
class TQ_UTIL_EXPORT TQFilePathMgr
{
public:
    static TQFilePathMgr *instance();

    QString getRootPath() const;
    QString getLocalSdkLogPath() const;
    QString getUserHeadFilePath() const;
    QString getLogPath() const;
    QString getDatabasePath() const;

private:
    TQFilePathMgr() = default;
    QString subDir(const char *name) const;
};
