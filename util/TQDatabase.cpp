#include "TQDatabase.h"

#include "TQFilePathMgr.h"
#include "TQLog.h"
#include "tq_fs_p.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <mutex>
#include <vector>

namespace {

struct DatabaseDef
{
    QString fileName;
    QString connectionName;
    // migrations[v] takes a database from schema version v to v + 1; version 0 is empty.
    std::vector<QStringList> migrations;
};

const std::vector<DatabaseDef> &databases()
{
    static const std::vector<DatabaseDef> list = {
        {QStringLiteral("client.db"),
         QStringLiteral("tq_client"),
         {
             {QStringLiteral("CREATE TABLE kv(key TEXT PRIMARY KEY, value TEXT)")},
         }},
    };
    return list;
}

// Guards m_open; create and close may be emitted from different threads.
std::mutex s_mutex;

bool exec(QSqlQuery &query, const QString &sql, QString *error)
{
    if (query.exec(sql))
        return true;
    *error = QStringLiteral("%1: %2").arg(sql, query.lastError().text());
    return false;
}

// Brings an open connection to the current schema. The QSqlQuery lives only in here, so
// nothing holds the connection when the caller removes it.
bool prepareSchema(QSqlDatabase &db, const DatabaseDef &def, QString *error)
{
    const int target = TQDatabase::schemaVersion();
    if (int(def.migrations.size()) != target) {
        *error = QStringLiteral("no schema for version %1").arg(target);
        return false;
    }

    QSqlQuery query(db);
    // Also the first statement that reads the file, so it catches a file that is not SQLite.
    if (!exec(query, QStringLiteral("PRAGMA journal_mode=WAL"), error))
        return false;
    const QString mode = query.next() ? query.value(0).toString().toLower() : QString();
    if (mode != QLatin1String("wal")) {
        *error = QStringLiteral("cannot switch to WAL journal (mode is \"%1\")").arg(mode);
        return false;
    }
    query.finish();

    if (!db.transaction()) {
        *error = db.lastError().text();
        return false;
    }
    const auto fail = [&db] {
        db.rollback();
        return false;
    };
    if (!exec(query,
              QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version(version INTEGER NOT NULL)"),
              error)
        || !exec(query, QStringLiteral("SELECT version FROM schema_version"), error))
        return fail();
    QList<int> stored;
    while (query.next())
        stored.append(query.value(0).toInt());
    query.finish();

    if (stored.size() > 1 || (stored.size() == 1 && stored.first() < 1)) {
        *error = QStringLiteral("damaged schema_version table");
        return fail();
    }
    const int version = stored.isEmpty() ? 0 : stored.first();
    if (version > target) {
        // Written by a newer build: leave it untouched rather than guess.
        *error = QStringLiteral("schema version %1 is newer than this build's %2")
                     .arg(version)
                     .arg(target);
        return fail();
    }
    for (int v = version; v < target; ++v) {
        for (const QString &sql : def.migrations[size_t(v)]) {
            if (!exec(query, sql, error))
                return fail();
        }
    }
    if (version != target) {
        const QString sql = version == 0
            ? QStringLiteral("INSERT INTO schema_version(version) VALUES(%1)").arg(target)
            : QStringLiteral("UPDATE schema_version SET version = %1").arg(target);
        if (!exec(query, sql, error))
            return fail();
    }
    query.finish();
    if (!db.commit()) {
        *error = db.lastError().text();
        return fail();
    }
    return true;
}

bool openDatabase(const DatabaseDef &def, QString *error)
{
    if (QSqlDatabase::contains(def.connectionName)) {
        // Someone else's connection: addDatabase would silently replace it.
        *error = QStringLiteral("connection name %1 already in use").arg(def.connectionName);
        return false;
    }
    const QString path = TQFilePathMgr::instance()->getDatabasePath() + def.fileName;
    // Created owner-only before SQLite sees it; SQLite gives -wal and -shm the same mode.
    if (!tq::prepareOwnerOnlyFile(path, error)) {
        *error = QStringLiteral("%1: %2").arg(path, *error);
        return false;
    }

    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), def.connectionName);
        db.setDatabaseName(path);
        if (!db.isValid())
            *error = QStringLiteral("the Qt SQLite driver is not available");
        else if (!db.open())
            *error = db.lastError().text();
        else if (!prepareSchema(db, def, error))
            db.close();
        else
            ok = true;
        if (!ok)
            *error = QStringLiteral("%1: %2").arg(path, *error);
    }
    if (!ok)
        QSqlDatabase::removeDatabase(def.connectionName);
    return ok;
}

void closeDatabase(const QString &connectionName)
{
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

} // namespace

TQDatabase *TQDatabase::instance()
{
    // Never deleted: connections must not be torn down by static destruction order.
    static TQDatabase *const s_instance = new TQDatabase;
    return s_instance;
}

TQDatabase::TQDatabase()
{
    connect(this, &TQDatabase::sig_createAllDb, this, &TQDatabase::slot_createAllDb,
            Qt::DirectConnection);
    connect(this, &TQDatabase::sig_closeAllDb, this, &TQDatabase::slot_closeAllDb,
            Qt::DirectConnection);
}

bool TQDatabase::isOpen() const
{
    std::lock_guard<std::mutex> lock(s_mutex);
    return !m_open.isEmpty();
}

QStringList TQDatabase::connectionNames() const
{
    std::lock_guard<std::mutex> lock(s_mutex);
    return m_open;
}

int TQDatabase::schemaVersion()
{
    return 1;
}

void TQDatabase::slot_createAllDb()
{
    std::lock_guard<std::mutex> lock(s_mutex);
    if (!m_open.isEmpty())
        return;

    // All or nothing: half a set of databases would pass isOpen() and fail later.
    QStringList opened;
    for (const DatabaseDef &def : databases()) {
        QString error;
        if (!openDatabase(def, &error)) {
            g_Log->LogError(QStringLiteral("Database %1 not opened: %2").arg(def.fileName, error));
            for (const QString &name : qAsConst(opened))
                closeDatabase(name);
            return;
        }
        opened.append(def.connectionName);
    }
    m_open = opened;
    g_Log->LogInfo(
        QStringLiteral("Databases opened in %1").arg(TQFilePathMgr::instance()->getDatabasePath()));
}

void TQDatabase::slot_closeAllDb()
{
    std::lock_guard<std::mutex> lock(s_mutex);
    if (m_open.isEmpty())
        return;
    for (const QString &name : qAsConst(m_open))
        closeDatabase(name);
    m_open.clear();
    g_Log->LogInfo(QStringLiteral("Databases closed"));
}
