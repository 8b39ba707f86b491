#pragma once

// Crash-dump naming shared by both platform branches. No Qt, no allocation, no locale, no
// locks: the POSIX branch calls this from a signal handler.

#include <cstddef>

namespace tqplatform {

// Everything the crash path needs to name its dump, prepared at start-up.
struct CrashDumpNaming
{
    char prefix[128] = {}; // "TQ_v" + version + "_t", NUL-terminated
    char dayNames[7][48] = {}; // abbreviated day names of the system locale, Sunday first, UTF-8
};

struct CivilTime
{
    int year;
    int month; // 1..12
    int day; // 1..31
    int weekday; // 0 = Sunday
    int hour;
    int minute;
    int second;
};

// Broken-down time of a count of seconds since 1970-01-01 00:00 (proleptic Gregorian
// calendar, days-to-civil as in H. Hinnant's date algorithms). localtime_r is not
// async-signal-safe, so the caller adds the UTC offset itself.
constexpr CivilTime civilTime(long long seconds)
{
    long long days = seconds / 86400;
    long long rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    const long long weekday = ((days % 7) + 11) % 7; // 1970-01-01 was a Thursday
    const long long z = days + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long day = doy - (153 * mp + 2) / 5 + 1;
    const long long month = mp < 10 ? mp + 3 : mp - 9;
    const long long year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    return CivilTime{int(year),        int(month),          int(day),      int(weekday),
                     int(rest / 3600), int(rest / 60 % 60), int(rest % 60)};
}

namespace detail {

struct Cursor
{
    char *out;
    std::size_t capacity;
    std::size_t length = 0;
    bool overflow = false;

    void put(char c)
    {
        if (length + 1 < capacity)
            out[length++] = c;
        else
            overflow = true;
    }
    void put(const char *text)
    {
        while (*text)
            put(*text++);
    }
    void number(int value, int width)
    {
        char digits[12];
        int n = 0;
        unsigned magnitude = value < 0 ? 0u - unsigned(value) : unsigned(value);
        do {
            digits[n++] = char('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (value < 0)
            put('-');
        for (int i = n; i < width; ++i)
            put('0');
        while (n > 0)
            put(digits[--n]);
    }
};

} // namespace detail

// Writes prefix + "yyyy-MM-dd-ddd_hh-mm-ss" + ".dmp", NUL-terminated. Returns its length, or 0
// (with an empty text) when it does not fit.
inline std::size_t formatDumpName(char *out, std::size_t capacity, const CrashDumpNaming &naming,
                                  const CivilTime &t)
{
    if (capacity == 0)
        return 0;
    detail::Cursor c{out, capacity};
    c.put(naming.prefix);
    c.number(t.year, 4);
    c.put('-');
    c.number(t.month, 2);
    c.put('-');
    c.number(t.day, 2);
    c.put('-');
    c.put(naming.dayNames[(t.weekday % 7 + 7) % 7]);
    c.put('_');
    c.number(t.hour, 2);
    c.put('-');
    c.number(t.minute, 2);
    c.put('-');
    c.number(t.second, 2);
    c.put(".dmp");
    if (c.overflow) {
        out[0] = '\0';
        return 0;
    }
    out[c.length] = '\0';
    return c.length;
}

} // namespace tqplatform
