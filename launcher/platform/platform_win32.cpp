// Win32 branch of the launcher's platform layer. Qt-free: CI compiles it with the 32-bit MinGW
// cross compiler (scripts/mingw-check.sh).

#include "Platform.h"

#include <windows.h>
// dbghelp.h needs windows.h first
#include <dbghelp.h>

#include <cstring>

namespace tqplatform {

namespace {

// Casts a looked-up address to its function type; going through the generic function pointer
// type keeps -Wcast-function-type quiet about FARPROC.
template<typename Fn> Fn procAddress(HMODULE module, const char *name)
{
    if (!module)
        return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// ---- Crash dumps ---------------------------------------------------------------------------

CrashDumpNaming g_naming;
CrashNote g_note = nullptr;
volatile LONG g_dumping = 0;

LONG WINAPI crashFilter(EXCEPTION_POINTERS *exception)
{
    // One dump: a second crashing thread waits for the first to end the process.
    if (InterlockedCompareExchange(&g_dumping, 1, 0) != 0) {
        Sleep(INFINITE);
        return EXCEPTION_EXECUTE_HANDLER;
    }

    SYSTEMTIME now;
    GetLocalTime(&now);
    const CivilTime time{now.wYear, now.wMonth,  now.wDay,   now.wDayOfWeek,
                         now.wHour, now.wMinute, now.wSecond};
    char name[sizeof g_naming.prefix + 64];
    formatDumpName(name, sizeof name, g_naming, time);
    if (g_note)
        g_note(name); // log line and "Beng_" trace

    // Day names may be non-ASCII (UTF-8): convert for CreateFileW.
    wchar_t wideName[sizeof name];
    if (MultiByteToWideChar(CP_UTF8, 0, name, -1, wideName, int(sizeof name)) == 0)
        return EXCEPTION_EXECUTE_HANDLER;

    HANDLE file = CreateFileW(wideName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return EXCEPTION_EXECUTE_HANDLER;

    MINIDUMP_EXCEPTION_INFORMATION info;
    info.ThreadId = GetCurrentThreadId();
    info.ExceptionPointers = exception;
    info.ClientPointers = TRUE;
    MiniDumpWriteDump(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpNormal, &info,
                      nullptr, nullptr);
    CloseHandle(file);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

void installCrashHandler(const CrashDumpNaming &naming, CrashNote note)
{
    g_naming = naming;
    g_naming.prefix[sizeof g_naming.prefix - 1] = '\0';
    for (auto &day : g_naming.dayNames)
        day[sizeof day - 1] = '\0';
    g_note = note;
    SetUnhandledExceptionFilter(crashFilter);
}

// ---- DPI -----------------------------------------------------------------------------------

bool setProcessDpiAwareness()
{
    using SetProcessDpiAwarenessFn = HRESULT(WINAPI *)(int);
    using SetProcessDPIAwareFn = BOOL(WINAPI *)();

    HMODULE shcore = LoadLibraryA("Shcore.dll");
    HMODULE user32 = LoadLibraryA("User32.dll");
    const auto perMonitor = procAddress<SetProcessDpiAwarenessFn>(shcore, "SetProcessDpiAwareness");
    const auto systemAware = procAddress<SetProcessDPIAwareFn>(user32, "SetProcessDPIAware");

    bool called = true;
    if (perMonitor)
        perMonitor(2); // PROCESS_PER_MONITOR_DPI_AWARE
    else if (systemAware)
        systemAware();
    else
        called = false;

    if (shcore)
        FreeLibrary(shcore);
    if (user32)
        FreeLibrary(user32);
    return called;
}

ScreenMetrics primaryScreenMetrics()
{
    ScreenMetrics metrics{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), 96.0f};
    if (HDC screen = GetDC(nullptr)) {
        metrics.dpi = float(GetDeviceCaps(screen, LOGPIXELSX));
        ReleaseDC(nullptr, screen);
    }
    return metrics;
}

// ---- Single instance -----------------------------------------------------------------------

InstanceEvent createInstanceEvent(const char *name)
{
    // Auto-reset, not signalled, default security. The handle is never closed: the system
    // drops the event with the process.
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, name);
    const bool exists = event != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
    return {event, exists};
}

} // namespace tqplatform
