#include "TQ_AppCenter.h"

#include "TqCallLog.h"

TQ_AppCenter *TQ_AppCenter::ins = nullptr;

TQ_AppCenter::TQ_AppCenter() = default;

TQ_AppCenter *TQ_AppCenter::instance()
{
    TqCallLog::add(QStringLiteral("TQ_AppCenter::instance"));
    if (!ins)
        ins = new TQ_AppCenter;
    return ins;
}
