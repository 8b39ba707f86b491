#pragma once

#include "tq_customui_export.h"

#include <QColor>
#include <QCoreApplication>
#include <QList>
#include <QString>

// Presence types of sig_publishPresenceTQ and of Agent_PersonState::number1, as this client
// and the stand-in engine use them. Subtype 0 is "none"; with Busy, 1 is "in a meeting" and
// 2 "in a call". The user data is a short note ("at lunch").
class TQ_CUSTOMUI_EXPORT TqPresence
{
    Q_DECLARE_TR_FUNCTIONS(TqPresence)

public:
    enum Type {
        Unknown = 0, // never published: shown as offline
        Online = 1,
        Offline = 2, // also what logging out publishes
        Busy = 3,
        Away = 4,
    };

    // What the user can choose, in the order shown.
    static QList<int> selectable();
    // The word for a type; unknown types read as offline.
    static QString text(int type);
    // The word with its detail: "Busy (in a meeting)", "Away: back soon".
    static QString wording(int type, int subtype, const QString &note);
    static QColor color(int type);
    // Sort order: reachable people first.
    static int rank(int type);
};
