#include "TQLogText.h"

namespace {

bool needsEscape(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

void appendEscape(QString &out, char16_t c)
{
    static constexpr char kHex[] = "0123456789abcdef";
    switch (c) {
    case u'\n':
        out += QLatin1String("\\n");
        return;
    case u'\r':
        out += QLatin1String("\\r");
        return;
    case u'\t':
        out += QLatin1String("\\t");
        return;
    default:
        break;
    }
    if (c <= 0xFF) {
        const char text[4] = {'\\', 'x', kHex[c >> 4], kHex[c & 0xF]};
        out += QLatin1String(text, 4);
    } else {
        const char text[6]
            = {'\\', 'u', kHex[c >> 12], kHex[(c >> 8) & 0xF], kHex[(c >> 4) & 0xF], kHex[c & 0xF]};
        out += QLatin1String(text, 6);
    }
}

} // namespace

namespace tq {

void appendLogValue(QString &out, const QString &value)
{
    const QChar *const begin = value.constData();
    const int size = value.size();
    int i = 0;
    while (i < size && !needsEscape(begin[i].unicode()))
        ++i;
    if (i == size) { // the common case: nothing to escape
        out += value;
        return;
    }
    out.reserve(out.size() + size + 8);
    int run = 0; // start of the pending run of plain characters
    for (; i < size; ++i) {
        const char16_t c = begin[i].unicode();
        if (!needsEscape(c))
            continue;
        out.append(begin + run, i - run);
        appendEscape(out, c);
        run = i + 1;
    }
    out.append(begin + run, size - run);
}

QString logValue(const QString &value)
{
    QString out;
    appendLogValue(out, value);
    return out;
}

} // namespace tq
