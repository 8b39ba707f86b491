// POSIX branch of the launcher's platform layer.

#include "Platform.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include <dlfcn.h>
#include <execinfo.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tqplatform {

// ---- Crash dumps ---------------------------------------------------------------------------
// The handler may run while the crashed thread holds the allocator's or the logger's lock, so
// it uses only async-signal-safe calls: everything else is prepared at installation.

namespace {

CrashDumpNaming g_naming;
long g_utcOffset = 0; // seconds east of UTC at installation (a later DST change is not seen)
std::atomic<long> g_dumpingThread{0};
// Stack overflows run out of the thread's own stack; the main thread's handler gets this one.
alignas(16) char g_alternateStack[64 * 1024];

constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

const char *signalName(int sig)
{
    switch (sig) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGBUS:
        return "SIGBUS";
    case SIGFPE:
        return "SIGFPE";
    case SIGILL:
        return "SIGILL";
    case SIGABRT:
        return "SIGABRT";
    default:
        return "?";
    }
}

void writeText(int fd, const char *text)
{
    std::size_t left = std::strlen(text);
    while (left > 0) {
        const ssize_t n = ::write(fd, text, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        text += n;
        left -= std::size_t(n);
    }
}

// Decimal or hexadecimal text of a number, into a caller buffer.
const char *numberText(char (&buffer)[24], unsigned long long value, unsigned base)
{
    char *p = buffer + sizeof buffer - 1;
    *p = '\0';
    do {
        *--p = "0123456789abcdef"[value % base];
        value /= base;
    } while (value != 0 && p > buffer + 2);
    if (base == 16) {
        *--p = 'x';
        *--p = '0';
    }
    return p;
}

void writeField(int fd, const char *label, unsigned long long value, unsigned base)
{
    char buffer[24];
    writeText(fd, label);
    writeText(fd, numberText(buffer, value, base));
    writeText(fd, "\n");
}

void writeField(int fd, const char *label, long long value)
{
    char buffer[24];
    writeText(fd, label);
    if (value < 0)
        writeText(fd, "-");
    const unsigned long long magnitude = value < 0 ? 0ull - static_cast<unsigned long long>(value)
                                                   : static_cast<unsigned long long>(value);
    writeText(fd, numberText(buffer, magnitude, 10));
    writeText(fd, "\n");
}

void endWithDefaultAction(int sig)
{
    struct sigaction dfl;
    std::memset(&dfl, 0, sizeof dfl);
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(sig, &dfl, nullptr);
    // Blocked until the handler returns. A fault then repeats its instruction, now without us;
    // a raised signal (abort) is delivered: either way the process ends by this signal.
    raise(sig);
}

void onCrash(int sig, siginfo_t *info, void * /*context*/)
{
    const long tid = long(syscall(SYS_gettid));
    long expected = 0;
    if (!g_dumpingThread.compare_exchange_strong(expected, tid)) {
        if (expected == tid) { // the dump writer itself crashed
            endWithDefaultAction(sig);
            return;
        }
        for (;;) // another thread is writing the one dump and will end the process
            pause();
    }

    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    char name[sizeof g_naming.prefix + 64];
    formatDumpName(name, sizeof name, g_naming, civilTime(now.tv_sec + g_utcOffset));

    writeText(STDERR_FILENO, "Beng_");
    writeText(STDERR_FILENO, name);
    writeText(STDERR_FILENO, "\n");

    const int fd
        = name[0] ? ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600) : -1;
    if (fd >= 0) {
        writeText(fd, "TQ crash dump\nsignal: ");
        writeText(fd, signalName(sig));
        writeField(fd, "\nsignal number: ", sig);
        writeField(fd, "code: ", info ? info->si_code : 0);
        // si_addr means something only for faults the kernel reports (si_code > 0).
        const bool fault = info && info->si_code > 0 && sig != SIGABRT;
        writeField(
            fd, "address: ", reinterpret_cast<std::uintptr_t>(fault ? info->si_addr : nullptr), 16);
        writeField(fd, "pid: ", getpid());
        writeField(fd, "thread: ", tid);
        writeText(fd, "file: ");
        writeText(fd, name);
        writeText(fd, "\nbacktrace:\n");
        void *frames[64];
        const int count = backtrace(frames, 64);
        backtrace_symbols_fd(frames, count, fd);
        ::close(fd);
    }
    endWithDefaultAction(sig);
}

} // namespace

void installCrashHandler(const CrashDumpNaming &naming, CrashNote /*note*/)
{
    g_naming = naming;
    g_naming.prefix[sizeof g_naming.prefix - 1] = '\0';
    for (auto &day : g_naming.dayNames)
        day[sizeof day - 1] = '\0';

    const time_t now = time(nullptr);
    tm local{};
    if (localtime_r(&now, &local))
        g_utcOffset = local.tm_gmtoff;

    // The first backtrace() loads the unwinder (dlopen, malloc): do it now, not in the handler.
    void *frames[4];
    backtrace(frames, 4);

    stack_t stack{};
    stack.ss_sp = g_alternateStack;
    stack.ss_size = sizeof g_alternateStack;
    sigaltstack(&stack, nullptr);

    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_sigaction = onCrash;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int sig : kCrashSignals)
        sigaddset(&action.sa_mask, sig);
    for (int sig : kCrashSignals)
        sigaction(sig, &action, nullptr);
}

// ---- DPI -----------------------------------------------------------------------------------

bool setProcessDpiAwareness()
{
    return false; // X11 has no per-process awareness switch
}

namespace {

// libX11 is loaded at run time, as the Windows branch looks up its DPI functions.
struct X11
{
    using OpenDisplay = void *(*)(const char *);
    using CloseDisplay = int (*)(void *);
    using DefaultScreen = int (*)(void *);
    using ScreenSize = int (*)(void *, int);
    using GetDefault = char *(*)(void *, const char *, const char *);

    void *library = nullptr;
    OpenDisplay openDisplay = nullptr;
    CloseDisplay closeDisplay = nullptr;
    DefaultScreen defaultScreen = nullptr;
    ScreenSize displayWidth = nullptr;
    ScreenSize displayHeight = nullptr;
    ScreenSize displayWidthMM = nullptr;
    GetDefault getDefault = nullptr;

    template<typename Fn> bool resolve(Fn &fn, const char *symbol)
    {
        void *address = dlsym(library, symbol);
        static_assert(sizeof address == sizeof fn, "function and object pointers differ");
        std::memcpy(&fn, &address, sizeof fn);
        return fn != nullptr;
    }

    bool load()
    {
        library = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
        return library && resolve(openDisplay, "XOpenDisplay")
            && resolve(closeDisplay, "XCloseDisplay") && resolve(defaultScreen, "XDefaultScreen")
            && resolve(displayWidth, "XDisplayWidth") && resolve(displayHeight, "XDisplayHeight")
            && resolve(displayWidthMM, "XDisplayWidthMM") && resolve(getDefault, "XGetDefault");
    }

    ~X11()
    {
        if (library)
            dlclose(library);
    }
};

} // namespace

ScreenMetrics primaryScreenMetrics()
{
    ScreenMetrics metrics{1920, 1080, 96.0f};
    const char *display = std::getenv("DISPLAY");
    if (!display || !*display)
        return metrics;
    X11 x11;
    if (!x11.load())
        return metrics;
    void *connection = x11.openDisplay(nullptr);
    if (!connection)
        return metrics;

    const int screen = x11.defaultScreen(connection);
    const int width = x11.displayWidth(connection, screen);
    const int height = x11.displayHeight(connection, screen);
    if (width > 0 && height > 0) {
        metrics.width = width;
        metrics.height = height;
        // Logical DPI as the desktop sets it (Xft.dpi), else the physical one.
        double dpi = 0;
        if (const char *xft = x11.getDefault(connection, "Xft", "dpi"))
            dpi = std::strtod(xft, nullptr);
        const int widthMM = x11.displayWidthMM(connection, screen);
        if (!(dpi > 0) && widthMM > 0)
            dpi = 25.4 * width / widthMM;
        if (dpi > 0)
            metrics.dpi = float(dpi);
    }
    x11.closeDisplay(connection);
    return metrics;
}

// ---- Single instance -----------------------------------------------------------------------
// Like the named event, a flock()ed file is dropped by the kernel when its holder dies, even
// by SIGKILL; a semaphore or shared-memory segment would outlive a crash and lock out every
// later start.

namespace {

struct LockHolder
{
    int fd = -1;
};
LockHolder g_instanceLock;

std::string lockFilePath(const char *name)
{
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/')
        return std::string(runtime) + '/' + name + ".lock";
    const char *tmp = std::getenv("TMPDIR");
    const std::string dir = tmp && tmp[0] == '/' ? tmp : "/tmp";
    return dir + '/' + name + '-' + std::to_string(getuid()) + ".lock";
}

} // namespace

InstanceEvent createInstanceEvent(const char *name)
{
    const std::string path = lockFilePath(name);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return {nullptr, false}; // as a failed CreateEvent: carry on as the first instance

    int rc;
    do {
        rc = flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return {nullptr, held};
    }
    // An earlier event of this process under another name stays held: its fd is not closed.
    g_instanceLock.fd = fd;
    return {&g_instanceLock, false};
}

} // namespace tqplatform
