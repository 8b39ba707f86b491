#include "TQDatabase.h"

#include "TQFilePathMgr.h"
#include "TQLog.h"
#include "TQLogText.h"
#include "tq_fs_p.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <mutex>
#include <vector>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

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

// Guards m_open and m_failure; create and close may be emitted from different threads.
std::mutex s_mutex;

using Kind = TQDatabase::FailureKind;

// One file that did not open.
struct Failure
{
    Kind kind = Kind::Other;
    QString text; // SQLite's or the system's words
    QString step; // the statement that failed, for the log
};

// SQLite's primary result codes; an extended code keeps its primary one in the low byte.
enum : int {
    SqlitePerm = 3,
    SqliteBusy = 5,
    SqliteLocked = 6,
    SqliteReadOnly = 8,
    SqliteCorrupt = 11,
    SqliteNotADatabase = 26,
};

Kind kindOf(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    if (!ok)
        return Kind::Other;
    switch (code & 0xff) {
    case SqliteCorrupt:
    case SqliteNotADatabase:
        return Kind::Damaged;
    case SqlitePerm:
    case SqliteReadOnly:
        return Kind::ReadOnly;
    case SqliteBusy:
    case SqliteLocked:
        return Kind::Locked;
    default:
        return Kind::Other;
    }
}

bool fail(Failure *failure, Kind kind, const QString &text)
{
    failure->kind = kind;
    failure->text = text;
    return false;
}

bool failSql(Failure *failure, const QSqlError &error, const QString &step)
{
    failure->step = step;
    // Qt's own words ("Unable to execute statement") add nothing to SQLite's.
    return fail(failure, kindOf(error),
                error.databaseText().isEmpty() ? error.text() : error.databaseText());
}

bool exec(QSqlQuery &query, const QString &sql, Failure *failure)
{
    return query.exec(sql) || failSql(failure, query.lastError(), sql);
}

// tq::prepareOwnerOnlyFile reports only a text: the same open again tells a file or directory
// that may not be written apart from other failures.
Kind fileFailureKind(const QString &path)
{
#ifdef Q_OS_WIN
    const QFileInfo info(path);
    return info.exists() && !info.isWritable() ? Kind::ReadOnly : Kind::Other;
#else
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        return Kind::Other;
    }
    return errno == EACCES || errno == EPERM || errno == EROFS ? Kind::ReadOnly : Kind::Other;
#endif
}

// Brings an open connection to the current schema. The QSqlQuery lives only in here, so
// nothing holds the connection when the caller removes it.
bool prepareSchema(QSqlDatabase &db, const DatabaseDef &def, Failure *failure)
{
    const int target = TQDatabase::schemaVersion();
    if (int(def.migrations.size()) != target)
        return fail(failure, Kind::Other, QStringLiteral("no schema for version %1").arg(target));

    QSqlQuery query(db);
    // Also the first statement that reads the file, so it catches a file that is not SQLite.
    if (!exec(query, QStringLiteral("PRAGMA journal_mode=WAL"), failure))
        return false;
    const QString mode = query.next() ? query.value(0).toString().toLower() : QString();
    if (mode != QLatin1String("wal")) {
        return fail(failure, Kind::Other,
                    QStringLiteral("cannot switch to WAL journal (mode is \"%1\")").arg(mode));
    }
    query.finish();

    // Through a query, not db.transaction(): Qt drops SQLite's result code from that error.
    if (!exec(query, QStringLiteral("BEGIN"), failure))
        return false;
    const auto rollback = [&db] {
        db.rollback();
        return false;
    };
    if (!exec(query,
              QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version(version INTEGER NOT NULL)"),
              failure)
        || !exec(query, QStringLiteral("SELECT version FROM schema_version"), failure))
        return rollback();
    QList<int> stored;
    while (query.next())
        stored.append(query.value(0).toInt());
    query.finish();

    if (stored.size() > 1 || (stored.size() == 1 && stored.first() < 1)) {
        fail(failure, Kind::Damaged, QStringLiteral("damaged schema_version table"));
        return rollback();
    }
    const int version = stored.isEmpty() ? 0 : stored.first();
    if (version > target) {
        // Written by a newer build: leave it untouched rather than guess.
        fail(failure, Kind::NewerVersion,
             QStringLiteral("schema version %1 is newer than this build's %2")
                 .arg(version)
                 .arg(target));
        return rollback();
    }
    for (int v = version; v < target; ++v) {
        for (const QString &sql : def.migrations[size_t(v)]) {
            if (!exec(query, sql, failure))
                return rollback();
        }
    }
    if (version != target) {
        const QString sql = version == 0
            ? QStringLiteral("INSERT INTO schema_version(version) VALUES(%1)").arg(target)
            : QStringLiteral("UPDATE schema_version SET version = %1").arg(target);
        if (!exec(query, sql, failure))
            return rollback();
    }
    query.finish();
    return exec(query, QStringLiteral("COMMIT"), failure) || rollback();
}

bool openDatabase(const DatabaseDef &def, const QString &path, int busyTimeout, Failure *failure)
{
    if (QSqlDatabase::contains(def.connectionName)) {
        // Someone else's connection: addDatabase would silently replace it.
        return fail(failure, Kind::Other,
                    QStringLiteral("connection name %1 already in use").arg(def.connectionName));
    }
    // Created owner-only before SQLite sees it; SQLite gives -wal and -shm the same mode.
    QString error;
    if (!tq::prepareOwnerOnlyFile(path, &error))
        return fail(failure, fileFailureKind(path), error);

    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), def.connectionName);
        db.setDatabaseName(path);
        // Set even when it is the default, so that the log's wait is the one in effect.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout));
        if (!db.isValid())
            fail(failure, Kind::Other, QStringLiteral("the Qt SQLite driver is not available"));
        else if (!db.open())
            failSql(failure, db.lastError(), QString());
        else if (!prepareSchema(db, def, failure))
            db.close();
        else
            ok = true;
    }
    if (!ok)
        QSqlDatabase::removeDatabase(def.connectionName);
    return ok;
}

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::None:
        break;
    case Kind::Damaged:
        return QStringLiteral("damaged");
    case Kind::ReadOnly:
        return QStringLiteral("cannot be written");
    case Kind::Locked:
        return QStringLiteral("locked");
    case Kind::NewerVersion:
        return QStringLiteral("newer version");
    case Kind::Other:
        return QStringLiteral("other");
    }
    return QStringLiteral("other");
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

TQDatabase::OpenFailure TQDatabase::lastOpenFailure() const
{
    std::lock_guard<std::mutex> lock(s_mutex);
    return m_failure;
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
        const QString path = TQFilePathMgr::instance()->getDatabasePath() + def.fileName;
        const int busyTimeout = m_busyTimeout.load();
        Failure failure;
        if (!openDatabase(def, path, busyTimeout, &failure)) {
            m_failure = {failure.kind, QStringLiteral("%1: %2").arg(path, failure.text)};
            QString where = tq::logValue(m_failure.detail);
            if (!failure.step.isEmpty())
                where += QStringLiteral(" (%1)").arg(failure.step);
            if (failure.kind == Kind::Locked) {
                g_Log->LogError(
                    QStringLiteral("Database %1 is locked by another program; waited "
                                   "about %2 s for it, not opened: %3")
                        .arg(def.fileName, QString::number(busyTimeout / 1000.0), where));
            } else {
                g_Log->LogError(QStringLiteral("Database %1 not opened (%2): %3")
                                    .arg(def.fileName, kindName(failure.kind), where));
            }
            for (const QString &name : qAsConst(opened))
                closeDatabase(name);
            return;
        }
        opened.append(def.connectionName);
    }
    m_open = opened;
    m_failure = OpenFailure();
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
