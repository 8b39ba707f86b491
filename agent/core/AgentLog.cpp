#include "AgentLog.h"

#include <TQLogText.h>

#include <charconv>

namespace tq {

namespace {
// A constant, not a static QString: callbacks may still build blocks while the process exits.
constexpr char kDashLine[] = "\n--------------------------------------------------";
static_assert(sizeof kDashLine == 1 + 50 + 1, "a line break and 50 dashes");

QLatin1String dashLine()
{
    return QLatin1String(kDashLine, int(sizeof kDashLine - 1));
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Text of the system's own (formats, labels), UTF-8; ASCII goes in without conversion.
void appendLiteral(QString &out, const char *utf8, int n)
{
    bool ascii = true;
    for (int i = 0; i < n && ascii; ++i)
        ascii = static_cast<unsigned char>(utf8[i]) < 0x80;
    if (ascii)
        out += QLatin1String(utf8, n);
    else
        out += QString::fromUtf8(utf8, n);
}
} // namespace

QString logText(Where where)
{
    const QLatin1String cls(where.cls);
    const QLatin1String fn(where.fn);
    QString text;
    text.reserve(cls.size() + 2 + fn.size());
    text += cls;
    text += QLatin1String("::");
    text += fn;
    return text;
}

QString logText(const char *utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

int LogArg::sizeHint() const
{
    switch (m_kind) {
    case Text:
        return m_text.size();
    case Qualified:
        return int(qstrlen(m_cls) + 2 + qstrlen(m_fn));
    default:
        return 24;
    }
}

void LogArg::appendTo(QString &out) const
{
    char digits[24];
    switch (m_kind) {
    case Text:
        appendLogValue(out, m_text);
        return;
    case Qualified:
        out += QLatin1String(m_cls);
        out += QLatin1String("::");
        out += QLatin1String(m_fn);
        return;
    case Signed:
        out += QLatin1String(
            digits, int(std::to_chars(digits, digits + sizeof digits, m_signed).ptr - digits));
        return;
    case Unsigned:
        out += QLatin1String(
            digits, int(std::to_chars(digits, digits + sizeof digits, m_unsigned).ptr - digits));
        return;
    case Double:
        out += QString::number(m_double, 'g', 6);
        return;
    }
}

QString fillPlaceholders(const char *format, const LogArg *args, int count)
{
    QString out;
    if (!format)
        return out;
    int size = int(qstrlen(format));
    for (int i = 0; i < count; ++i)
        size += args[i].sizeHint();
    out.reserve(size);
    const char *literal = format; // start of the pending literal run
    const auto flushLiteral = [&](const char *end) {
        if (end > literal)
            appendLiteral(out, literal, int(end - literal));
    };
    for (const char *p = format; *p;) {
        if (p[0] != '%' || !isDigit(p[1])) {
            ++p;
            continue;
        }
        // Take two digits when that names an argument, else one.
        int index = p[1] - '0';
        int digits = 1;
        if (isDigit(p[2]) && index * 10 + (p[2] - '0') <= count) {
            index = index * 10 + (p[2] - '0');
            digits = 2;
        }
        if (index < 1 || index > count) {
            p += 1 + digits;
            continue;
        }
        flushLiteral(p);
        args[index - 1].appendTo(out);
        p += 1 + digits;
        literal = p;
    }
    flushLiteral(format + qstrlen(format));
    return out;
}

LogBlock::LogBlock(const QString &header)
{
    m_text.reserve(header.size() + 512); // most blocks fit: one allocation
    m_text += header;
    m_text += dashLine();
}

LogBlock::LogBlock(Where where)
    : LogBlock(logText(where))
{ }

LogBlock &LogBlock::separator()
{
    m_text += dashLine();
    return *this;
}

LogBlock &LogBlock::line(const QString &text)
{
    m_text += QLatin1Char('\n');
    m_text += text;
    return *this;
}

LogBlock &LogBlock::addField(const char *label, const LogArg &value)
{
    m_text += QLatin1String("\n ");
    appendLiteral(m_text, label, int(qstrlen(label)));
    m_text += QLatin1String(" : ");
    value.appendTo(m_text);
    return *this;
}

QString LogBlock::text(Ending ending) const
{
    QString text;
    text.reserve(m_text.size() + int(sizeof kDashLine));
    text += m_text;
    text += dashLine();
    if (ending == Ending::LineBreak)
        text += QLatin1Char('\n');
    return text;
}

void LogBlock::logInfo() const
{
    g_Log->LogInfo(text());
}

void LogBlock::logError() const
{
    g_Log->LogError(text());
}

} // namespace tq
