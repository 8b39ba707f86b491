#pragma once

// The running call's record, shared by the worker thread (start, stop), the driver's thread
// (rectangle) and the client's thread (connect). The caller frees the record after the stop,
// so every access goes through this one lock and the pointer is let go on stop.

#include <QRect>
#include <QString>

class VidyoDataBase;

namespace tq::vidyo {

// What a step needs from the record, copied under the lock.
struct CallCopy
{
    bool present = false;
    QString logDirectory;
    QString roomLinkText1, roomLinkText2, roomLinkText3, roomLinkText4;
    QRect videoRect;
    void *windowHandle = nullptr;
};

void setRunningCall(VidyoDataBase *record);
void clearRunningCall();
CallCopy runningCall();
// Stores the rectangle in the running call's record; false when there is none.
bool storeRect(const QRect &rect);

// The 8-byte preview record with `mode` as in-event 400; true when the client took it.
bool sendPreview(int mode);

} // namespace tq::vidyo
