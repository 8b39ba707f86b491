#include "VidyoCall.h"

#include "VidyoDataBase.h"

#include <VidyoClient.h>

#include <QMutex>

namespace tq::vidyo {

namespace {

// Trivially destructible: a late event may run during static destruction.
QBasicMutex g_mutex;
VidyoDataBase *g_record = nullptr;

} // namespace

void setRunningCall(VidyoDataBase *record)
{
    QMutexLocker locker(&g_mutex);
    g_record = record;
}

void clearRunningCall()
{
    QMutexLocker locker(&g_mutex);
    g_record = nullptr;
}

CallCopy runningCall()
{
    QMutexLocker locker(&g_mutex);
    CallCopy copy;
    if (!g_record)
        return copy;
    copy.present = true;
    copy.logDirectory = g_record->logDirectory;
    copy.roomLinkText1 = g_record->roomLinkText1;
    copy.roomLinkText2 = g_record->roomLinkText2;
    copy.roomLinkText3 = g_record->roomLinkText3;
    copy.roomLinkText4 = g_record->roomLinkText4;
    copy.videoRect = g_record->videoRect;
    copy.windowHandle = g_record->windowHandle;
    return copy;
}

bool storeRect(const QRect &rect)
{
    QMutexLocker locker(&g_mutex);
    if (!g_record)
        return false;
    g_record->videoRect = rect;
    return true;
}

bool sendPreview(int mode)
{
    VidyoClientInEventPreview preview{};
    preview.previewMode = mode;
    return VidyoClientSendEvent(VIDYO_CLIENT_IN_EVENT_PREVIEW, &preview, sizeof preview) == 1;
}

} // namespace tq::vidyo
