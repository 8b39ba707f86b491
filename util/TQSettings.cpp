#include "TQSettings.h"

#ifndef TQ_VERSION
#define TQ_VERSION "0.0.0"
#endif

QString TQSettings::getVersionValues()
{
    static const QString version = [] {
        QString v = QString::fromUtf8(TQ_VERSION).trimmed();
        for (QChar &c : v) {
            const ushort u = c.unicode();
            const bool allowed = (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z')
                || (u >= 'a' && u <= 'z') || u == '.' || u == '_' || u == '-';
            if (!allowed)
                c = QLatin1Char('_');
        }
        return v.isEmpty() ? QStringLiteral("0.0.0") : v;
    }();
    return version;
}
