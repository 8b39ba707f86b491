#pragma once

// Log lines of the agents. Formats use "%1".."%99"; every placeholder is filled in one pass,
// so a value that itself contains "%1" is logged as it is (chained QString::arg would
// expand it again). Texts filled in, and the values of block fields, have their control
// characters escaped (tq::appendLogValue): a value from a remote party cannot start a log
// entry of its own. The formats, block headers and raw block lines are the system's own and
// keep their line breaks.

#include "tq_agent_global.h"

#include <TQLog.h>

#include <QByteArray>
#include <QString>

#include <type_traits>
#include <utility>

namespace tq {

// Qualified name of the function being logged: "Class::function".
struct Where
{
    const char *cls;
    const char *fn;
};
#define TQ_WHERE(Class) (::tq::Where{#Class, __func__})

TQ_AGENT_EXPORT QString logText(Where where);
inline const QString &logText(const QString &text)
{
    return text;
}
TQ_AGENT_EXPORT QString logText(const char *utf8); // null gives ""
inline QString logText(const QByteArray &utf8)
{
    return QString::fromUtf8(utf8);
}
inline QString logText(QChar c)
{
    return QString(c);
}
inline QString logText(char c) // one Latin-1 character, as QString::arg(char)
{
    return QString(QLatin1Char(c));
}
inline QString logText(bool b) // as QString::arg(int): 1 or 0
{
    return QString::number(int(b));
}
inline QString logText(double d)
{
    return QString::number(d, 'g', 6);
}
template<class T, std::enable_if_t<std::is_integral_v<T> || std::is_enum_v<T>, int> = 0>
QString logText(T value)
{
    if constexpr (std::is_enum_v<T>)
        return QString::number(static_cast<std::underlying_type_t<T>>(value));
    else
        return QString::number(value);
}

// One value of a log line, kept as it is until the line is built (numbers and names need no
// temporary strings).
class TQ_AGENT_EXPORT LogArg
{
public:
    LogArg(const QString &text)
        : m_kind(Text)
        , m_text(text)
    { }
    LogArg(Where where)
        : m_kind(Qualified)
        , m_cls(where.cls)
        , m_fn(where.fn)
    { }
    LogArg(const char *utf8)
        : LogArg(logText(utf8))
    { }
    LogArg(const QByteArray &utf8)
        : LogArg(logText(utf8))
    { }
    LogArg(QChar c)
        : LogArg(logText(c))
    { }
    LogArg(char c)
        : LogArg(logText(c))
    { }
    LogArg(bool b)
        : m_kind(Signed)
        , m_signed(b ? 1 : 0)
    { }
    LogArg(double d)
        : m_kind(Double)
        , m_double(d)
    { }
    template<class T, std::enable_if_t<std::is_integral_v<T> || std::is_enum_v<T>, int> = 0>
    LogArg(T value)
    {
        using U = std::conditional_t<std::is_enum_v<T>, std::underlying_type<T>,
                                     std::enable_if<true, T>>;
        using V = typename U::type;
        if constexpr (std::is_signed_v<V>) {
            m_kind = Signed;
            m_signed = static_cast<qlonglong>(value);
        } else {
            m_kind = Unsigned;
            m_unsigned = static_cast<qulonglong>(value);
        }
    }

    int sizeHint() const;
    void appendTo(QString &out) const;

private:
    enum Kind { Text, Qualified, Signed, Unsigned, Double };
    Kind m_kind;
    QString m_text;
    const char *m_cls = nullptr;
    const char *m_fn = nullptr;
    qlonglong m_signed = 0;
    qulonglong m_unsigned = 0;
    double m_double = 0;
};

// Fills "%N" with args[N-1] in one pass; placeholders without an argument stay as written.
TQ_AGENT_EXPORT QString fillPlaceholders(const char *format, const LogArg *args, int count);

template<class... Args> QString format(const char *fmt, const Args &...args)
{
    if constexpr (sizeof...(Args) == 0) {
        return fillPlaceholders(fmt, nullptr, 0);
    } else {
        const LogArg values[] = {LogArg(args)...};
        return fillPlaceholders(fmt, values, int(sizeof...(Args)));
    }
}

template<class... Args> void logInfo(const char *fmt, const Args &...args)
{
    g_Log->LogInfo(format(fmt, args...));
}

template<class... Args> void logError(const char *fmt, const Args &...args)
{
    g_Log->LogError(format(fmt, args...));
}

template<class... Args> void logDebug(const char *fmt, const Args &...args)
{
    g_Log->LogDebug(format(fmt, args...));
}

// Calls an engine function, logs "<where>,ret=<code>" and returns the code.
//     return tq::callEngine(TQ_WHERE(Voip_Agent), ReleaseCall, callId);
template<class Fn, class... Args> int callEngine(Where where, Fn &&fn, Args &&...args)
{
    const int ret = std::forward<Fn>(fn)(std::forward<Args>(args)...);
    logInfo("%1,ret=%2", where, ret);
    return ret;
}

// Logs "<where>", then calls an engine function; returns what it returns.
//     tq::logThenCall(TQ_WHERE(IM_Agent), DeleteMessage, &matchKey, type, tq::Utf8Arg(msgId));
template<class Fn, class... Args> decltype(auto) logThenCall(Where where, Fn &&fn, Args &&...args)
{
    logInfo("%1", where);
    return std::forward<Fn>(fn)(std::forward<Args>(args)...);
}

// A multi-line log entry framed by 50 dashes:
//     <header>
//     --------------------------------------------------
//      label : value          (field)
//     --------------------------------------------------   (separator)
//      label : value
//     --------------------------------------------------
class TQ_AGENT_EXPORT LogBlock
{
public:
    explicit LogBlock(const QString &header);
    explicit LogBlock(Where where);

    template<class T> LogBlock &field(const char *label, const T &value)
    {
        return addField(label, LogArg(value)); // numbers go in without a temporary text
    }
    LogBlock &separator();
    // A line of the system's own, after a line break; build it with tq::format so that the
    // values in it are escaped.
    LogBlock &line(const QString &text);

    enum class Ending {
        LineBreak, // the closing dashes, then a line break (most blocks)
        Dashes // the closing dashes only
    };
    QString text(Ending ending = Ending::LineBreak) const;
    void logInfo() const;
    void logError() const;

private:
    LogBlock &addField(const char *label, const LogArg &value);
    QString m_text;
};

} // namespace tq
