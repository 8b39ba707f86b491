#include "TqPresence.h"

QList<int> TqPresence::selectable()
{
    return {Online, Busy, Away, Offline};
}

QString TqPresence::text(int type)
{
    switch (type) {
    case Online:
        return tr("Online");
    case Busy:
        return tr("Busy");
    case Away:
        return tr("Away");
    default:
        return tr("Offline");
    }
}

QString TqPresence::wording(int type, int subtype, const QString &note)
{
    QString word = text(type);
    if (type == Busy && subtype == 1)
        word = tr("Busy (in a meeting)");
    else if (type == Busy && subtype == 2)
        word = tr("Busy (in a call)");
    const QString trimmed = note.trimmed();
    return trimmed.isEmpty() ? word : tr("%1: %2").arg(word, trimmed);
}

QColor TqPresence::color(int type)
{
    switch (type) {
    case Online:
        return QColor(0x2e, 0xa0, 0x43);
    case Busy:
        return QColor(0xd9, 0x3f, 0x3f);
    case Away:
        return QColor(0xe8, 0x9a, 0x1c);
    default:
        return QColor(0x9a, 0xa4, 0xae);
    }
}

int TqPresence::rank(int type)
{
    switch (type) {
    case Online:
        return 0;
    case Busy:
        return 1;
    case Away:
        return 2;
    default:
        return 3;
    }
}
