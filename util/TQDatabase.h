#pragma once

#include "tq_util_global.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>

// Local SQLite databases. Emit sig_createAllDb() to open (creating if needed) and
// sig_closeAllDb() to close them; both act at once on the emitting thread.
class TQ_UTIL_EXPORT TQDatabase : public QObject
{
    Q_OBJECT
public:
    // Why the databases did not open, in kinds that can be put into words for the user.
    enum class FailureKind {
        None, // open, or not tried yet
        Damaged, // damaged, cut short or not a database at all
        ReadOnly, // the file or its directory cannot be written: read-only or no permission
        Locked, // another program held a lock for longer than the busy wait
        NewerVersion, // written by a newer build, left untouched
        Other,
    };
    struct OpenFailure
    {
        FailureKind kind = FailureKind::None;
        QString detail; // "<path>: <SQLite's or the system's text>"
    };

    static TQDatabase *instance();

    bool isOpen() const;
    // Qt SQL connection names of the open databases.
    QStringList connectionNames() const;
    // Why the last sig_createAllDb() left the databases closed; kind None once they are open.
    OpenFailure lastOpenFailure() const;
    // Schema version the code expects; stored in each database's schema_version table.
    static int schemaVersion();

    // How long opening waits for another program's lock: Qt's default, 5000 ms.
    int busyTimeout() const { return m_busyTimeout.load(); }
    // Tests only, so that a locked database does not cost them the full wait.
    void setBusyTimeout(int ms) { m_busyTimeout.store(ms); }

signals:
    void sig_createAllDb();
    void sig_closeAllDb();

private slots:
    void slot_createAllDb();
    void slot_closeAllDb();

private:
    TQDatabase();
    QStringList m_open;
    OpenFailure m_failure;
    std::atomic<int> m_busyTimeout{5000};
};
