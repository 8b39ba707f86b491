#pragma once

// What the launcher needs from the operating system before and around the Qt application.
// Two branches: platform_win32.cpp (the Win32 calls) and platform_posix.cpp. Both stay free of
// Qt so the Windows one can be compiled by a bare cross compiler.

#include "DumpName.h"

namespace tqplatform {

// Called on the crashing thread with the dump file name, before the dump is written. Only the
// Windows branch calls it; a POSIX signal handler must not enter the logger.
using CrashNote = void (*)(const char *dumpName);

// Writes one dump into the current directory when the process crashes on any thread, then
// lets the process end. The naming is copied.
void installCrashHandler(const CrashDumpNaming &naming, CrashNote note);

// Declares the process DPI aware where the system has a call for it. Returns whether a call
// was made.
bool setProcessDpiAwareness();

struct ScreenMetrics
{
    int width;
    int height;
    float dpi; // horizontal logical DPI
};

// The primary screen, asked before any Qt object exists; 1920x1080 at 96 DPI when there is
// no screen to ask.
ScreenMetrics primaryScreenMetrics();

struct InstanceEvent
{
    void *handle; // held until the process ends; null when there is none
    bool alreadyRunning; // another process of this user holds the event
};

// The named single-instance event. It stays held until the process ends, however it ends.
InstanceEvent createInstanceEvent(const char *name);

} // namespace tqplatform
