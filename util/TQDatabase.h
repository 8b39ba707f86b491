#pragma once

#include "tq_util_global.h"

#include <QObject>
#include <QStringList>

// Local SQLite databases. Emit sig_createAllDb() to open (creating if needed) and
// sig_closeAllDb() to close them; both act at once on the emitting thread.
class TQ_UTIL_EXPORT TQDatabase : public QObject
{
    Q_OBJECT
public:
    static TQDatabase *instance();

    bool isOpen() const;
    // Qt SQL connection names of the open databases.
    QStringList connectionNames() const;
    // Schema version the code expects; stored in each database's schema_version table.
    static int schemaVersion();

signals:
    void sig_createAllDb();
    void sig_closeAllDb();

private slots:
    void slot_createAllDb();
    void slot_closeAllDb();

private:
    TQDatabase();
    QStringList m_open;
};
