#include "TQDatabase.h"
#include "TQFilePathMgr.h"
#include "TQLog.h"
#include "TQSettings.h"
#include "TQ_Util.h"

#include "ZSsdk.h"

#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <memory>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif
#ifdef Q_OS_LINUX
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

Q_DECLARE_METATYPE(TQDatabase::FailureKind)

namespace {

using Kind = TQDatabase::FailureKind;

// No default: an enumerator added to the engine's header but not here fails the build
// (-Wswitch), so the text check cannot silently miss it.
bool isResultCode(int v)
{
    switch (static_cast<ZS_ResultCode>(v)) {
    case ZS_OK:
    case ZS_ERR_NOT_INITIALIZED:
    case ZS_ERR_INVALID_ARGUMENT:
    case ZS_ERR_NOT_LOGGED_IN:
    case ZS_ERR_NETWORK:
    case ZS_ERR_TIMEOUT:
    case ZS_ERR_BUSY:
    case ZS_ERR_WRONG_PASSWORD:
    case ZS_ERR_NO_SUCH_USER:
    case ZS_ERR_NOT_FOUND:
    case ZS_ERR_UNSUPPORTED:
    case ZS_REASON_SUCCESS:
    case ZS_REASON_BAD_REQUEST:
    case ZS_REASON_UNAUTHORIZED:
    case ZS_REASON_FORBIDDEN:
    case ZS_REASON_NOT_FOUND:
    case ZS_REASON_TIMEOUT:
    case ZS_REASON_BUSY:
    case ZS_REASON_DECLINED:
    case ZS_REASON_SERVER_ERROR:
        return true;
    }
    return false;
}

int fileMode(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
#else
    Q_UNUSED(path);
    return -1;
#endif
}

const QString kConnection = QStringLiteral("tq_client");

// Root writes whatever the mode bits say. While this lives, the calling thread (the one that
// opens the databases) runs without the override, so the bits apply; they already do for
// other users. The capabilities stay permitted and come back at the end.
class ModeBitsApply
{
public:
    ModeBitsApply()
    {
#ifdef Q_OS_LINUX
        if (::syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_lowered = ::syscall(SYS_capset, &m_header, lowered) == 0;
#endif
    }
    ~ModeBitsApply()
    {
#ifdef Q_OS_LINUX
        if (m_lowered)
            ::syscall(SYS_capset, &m_header, m_saved);
#endif
    }
    ModeBitsApply(const ModeBitsApply &) = delete;
    ModeBitsApply &operator=(const ModeBitsApply &) = delete;

private:
#ifdef Q_OS_LINUX
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_lowered = false;
#endif
};

bool writable(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite | QIODevice::Append);
}

// First column of every row, on TQDatabase's connection or, given a path, on that file.
QVariantList query(const QString &sql, const QString &path = QString())
{
    const QString name = path.isEmpty() ? kConnection : QStringLiteral("tst_direct");
    QVariantList out;
    {
        QSqlDatabase db = path.isEmpty()
            ? QSqlDatabase::database(kConnection, false)
            : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        if (!path.isEmpty()) {
            db.setDatabaseName(path);
            db.open();
        }
        QSqlQuery q(db);
        if (!q.exec(sql))
            out.append(QStringLiteral("error: ") + q.lastError().text());
        while (q.next())
            out.append(q.value(0));
    }
    if (!path.isEmpty())
        QSqlDatabase::removeDatabase(name);
    return out;
}

} // namespace

class TstUtilMisc : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        qputenv("TQ_DATA_DIR", QFile::encodeName(m_dir->filePath(QStringLiteral("data"))));
    }

    void cleanup()
    {
        emit TQDatabase::instance()->sig_closeAllDb();
        QVERIFY(!QSqlDatabase::contains(kConnection));
    }

    void paths()
    {
        // Only what we create is made owner-only: the root may be a shared directory.
        const QString root = m_dir->filePath(QStringLiteral("root"));
        QVERIFY(QDir().mkdir(root));
        QVERIFY(QFile::setPermissions(root, QFile::permissions(root) | QFileDevice::ReadOther));
        const int rootMode = fileMode(root);
        qputenv("TQ_DATA_DIR", QFile::encodeName(m_dir->path() + "//x/../root/./"));
        TQFilePathMgr *mgr = TQFilePathMgr::instance();
        const QStringList subs = {mgr->getLocalSdkLogPath(), mgr->getUserHeadFilePath(),
                                  mgr->getLogPath(), mgr->getDatabasePath()};
        QCOMPARE(mgr->getRootPath(), root + QLatin1Char('/'));
        QCOMPARE(subs,
                 (QStringList{root + "/sdklog/", root + "/head/", root + "/log/", root + "/db/"}));
        for (const QString &path : subs) {
            QVERIFY2(QFileInfo(path).isDir(), qPrintable(path));
#ifdef Q_OS_UNIX
            QCOMPARE(fileMode(path), 0700);
#endif
        }
        QCOMPARE(fileMode(root), rootMode);

        // Under a regular file nothing can be created: reported, not fatal.
        qputenv("TQ_DATA_DIR", QFile::encodeName(m_dir->filePath(QStringLiteral("root/db/f"))));
        QFile(m_dir->filePath(QStringLiteral("root/db/f"))).open(QIODevice::WriteOnly);
        TQLogCapture capture;
        QVERIFY(mgr->getLogPath().endsWith(QLatin1String("/f/log/")));
        QCOMPARE(capture.texts(TQLog::Error).size(), 1);
    }

    void uuidAndVersion()
    {
        QSet<QString> seen;
        for (int i = 0; i < 1000; ++i) {
            const QString id = TQ_Util::createUuid();
            QCOMPARE(id.size(), 36);
            QCOMPARE(QUuid(id).toString(QUuid::WithoutBraces), id);
            seen.insert(id);
        }
        QCOMPARE(seen.size(), 1000);
        const QString version = TQSettings::getVersionValues();
        QVERIFY2(
            QRegularExpression(QStringLiteral("^[0-9][0-9A-Za-z._-]*$")).match(version).hasMatch(),
            qPrintable(version));
    }

    void errorTexts()
    {
        // Every enumerator lies in [0, 2048), where a cast to the enum is defined.
        int named = 0;
        for (int v = 0; v < 2048; ++v) {
            if (isResultCode(v)) {
                ++named;
                QVERIFY2(!TQ_Util::GetSDKErrMsgById(v).startsWith(QLatin1String("unknown")),
                         qPrintable(QString::number(v)));
            }
        }
        QCOMPARE(named, 20); // an enumerator outside the scanned range shows here
        QCOMPARE(TQ_Util::GetSDKErrMsgById(ZS_OK), QStringLiteral("success"));
        QCOMPARE(TQ_Util::GetSDKErrMsgById(ZS_REASON_SUCCESS), QStringLiteral("success"));
        QCOMPARE(TQ_Util::GetSDKErrMsgById(ZS_REASON_UNAUTHORIZED), QStringLiteral("unauthorized"));
        QCOMPARE(TQ_Util::GetSDKErrMsgById(-1), QStringLiteral("unknown error -1"));
        QCOMPARE(TQ_Util::GetSDKErrMsgById(1), QStringLiteral("unknown error 1"));
    }

    void databaseLifecycle()
    {
        TQDatabase *db = TQDatabase::instance();
        TQLogCapture capture;
        emit db->sig_createAllDb();
        QVERIFY(db->isOpen());
        QCOMPARE(db->connectionNames(), QStringList{kConnection});

        const QString file = TQFilePathMgr::instance()->getDatabasePath() + "client.db";
        QCOMPARE(query("PRAGMA journal_mode"), QVariantList{"wal"});
        QCOMPARE(query("PRAGMA busy_timeout"), QVariantList{5000}); // Qt's default wait
        QCOMPARE(db->lastOpenFailure().kind, Kind::None);
        QCOMPARE(query("SELECT version FROM schema_version"), QVariantList{1});
        QCOMPARE(TQDatabase::schemaVersion(), 1);
        QVERIFY(query("INSERT INTO kv(key, value) VALUES('k', 'kept')").isEmpty());
#ifdef Q_OS_UNIX
        for (const char *suffix : {"", "-wal", "-shm"})
            QCOMPARE(fileMode(file + suffix), 0600);
#endif

        // A second create keeps the same connection: its temporary table survives.
        QVERIFY(query("CREATE TEMP TABLE marker(x)").isEmpty());
        emit db->sig_createAllDb();
        QCOMPARE(query("SELECT count(*) FROM marker"), QVariantList{0});

        emit db->sig_closeAllDb();
        QVERIFY(!db->isOpen());
        QVERIFY(db->connectionNames().isEmpty());
        QVERIFY(!QSqlDatabase::contains(kConnection));
        emit db->sig_closeAllDb();

        emit db->sig_createAllDb();
        QCOMPARE(query("SELECT value FROM kv"), QVariantList{"kept"});
        QCOMPARE(query("SELECT count(*) FROM schema_version"), QVariantList{1});
        QVERIFY(capture.texts(TQLog::Error).isEmpty());
    }

    void databaseFailure_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("text"); // after "<path>: "
        QTest::addColumn<QString>("logged");
        const QString denied = QString::fromLocal8Bit(std::strerror(EACCES));
        QTest::newRow("directory is a file")
            << "blocked" << Kind::Other << QString::fromLocal8Bit(std::strerror(ENOTDIR))
            << "other";
        QTest::newRow("random bytes") << "garbage" << Kind::Damaged << "file is not a database"
                                      << "damaged";
        QTest::newRow("cut short")
            << "truncated" << Kind::Damaged << "database disk image is malformed"
            << "damaged";
        QTest::newRow("newer schema")
            << "INSERT INTO schema_version VALUES(99)" << Kind::NewerVersion
            << "schema version 99 is newer than this build's 1"
            << "newer version";
        QTest::newRow("two versions") << "INSERT INTO schema_version VALUES(1), (1)"
                                      << Kind::Damaged << "damaged schema_version table"
                                      << "damaged";
        QTest::newRow("name taken")
            << "taken" << Kind::Other << "connection name tq_client already in use"
            << "other";
#ifdef Q_OS_UNIX
        QTest::newRow("read-only file and directory")
            << "read-only file" << Kind::ReadOnly << denied << "cannot be written";
        QTest::newRow("read-only directory")
            << "read-only dir" << Kind::ReadOnly << "attempt to write a readonly database"
            << "cannot be written";
#endif
    }

    void databaseFailure()
    {
        QFETCH(QString, setup);
        QFETCH(Kind, kind);
        QFETCH(QString, text);
        QFETCH(QString, logged);
        QString file = TQFilePathMgr::instance()->getDatabasePath() + "client.db";
        const QString dir = QFileInfo(file).path();
        if (setup == QLatin1String("blocked")) {
            QFile(m_dir->filePath("blocker")).open(QIODevice::WriteOnly);
            qputenv("TQ_DATA_DIR", QFile::encodeName(m_dir->filePath("blocker")));
            file = m_dir->filePath("blocker/db/client.db");
        } else if (setup == QLatin1String("garbage")) {
            QFile garbage(file);
            QVERIFY(garbage.open(QIODevice::WriteOnly));
            QRandomGenerator random(42);
            QByteArray bytes(4096, Qt::Uninitialized);
            random.fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
            garbage.write(bytes);
        } else if (setup == QLatin1String("truncated")) {
            QVERIFY(query("CREATE TABLE filler(x)", file).isEmpty());
            QVERIFY(query("INSERT INTO filler WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                          "SELECT i + 1 FROM n WHERE i < 200) SELECT randomblob(500) FROM n",
                          file)
                        .isEmpty());
            QFile cut(file);
            QVERIFY(cut.size() > 8 * 4096);
            QVERIFY(cut.resize(cut.size() / 2));
        } else if (setup == QLatin1String("taken")) {
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection)
                .setDatabaseName(QStringLiteral(":memory:"));
        } else if (setup.startsWith(QLatin1String("read-only"))) {
            QVERIFY(query("CREATE TABLE kept(x)", file).isEmpty());
            if (setup == QLatin1String("read-only file"))
                QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner));
            QVERIFY(QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        } else {
            QVERIFY(query("CREATE TABLE schema_version(version INTEGER NOT NULL)", file).isEmpty());
            QVERIFY(query(setup, file).isEmpty());
        }

        TQLogCapture capture;
        {
            ModeBitsApply bits;
            if (setup.startsWith(QLatin1String("read-only")))
                QCOMPARE(writable(dir + "/probe"), false);
            if (setup == QLatin1String("read-only file"))
                QCOMPARE(writable(file), false);
            emit TQDatabase::instance()->sig_createAllDb();
        }
        QFile::setPermissions(
            dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(!TQDatabase::instance()->isOpen());
        QVERIFY(TQDatabase::instance()->connectionNames().isEmpty());
        const TQDatabase::OpenFailure failure = TQDatabase::instance()->lastOpenFailure();
        QCOMPARE(failure.kind, kind);
        QCOMPARE(failure.detail, file + ": " + text);
        const QStringList errors = capture.texts(TQLog::Error);
        QVERIFY(!errors.isEmpty());
        const QString line = "Database client.db not opened (" + logged + "): " + failure.detail;
        QVERIFY2(errors.last().startsWith(line), qPrintable(errors.last()));
        if (setup == QLatin1String("taken")) {
            // The other owner's connection is left alone.
            QCOMPARE(QSqlDatabase::database(kConnection, false).databaseName(), ":memory:");
            QSqlDatabase::removeDatabase(kConnection);
        }
        QVERIFY(!QSqlDatabase::contains(kConnection));
        if (setup.contains(QLatin1String("99"))) // left as found, for the build that wrote it
            QCOMPARE(query("SELECT max(version) FROM schema_version", file), QVariantList{99});

        // Not stuck: a usable location opens, and the failure is gone.
        qputenv("TQ_DATA_DIR", QFile::encodeName(m_dir->filePath("fresh")));
        emit TQDatabase::instance()->sig_createAllDb();
        QVERIFY(TQDatabase::instance()->isOpen());
        QCOMPARE(TQDatabase::instance()->lastOpenFailure().kind, Kind::None);
        QVERIFY(TQDatabase::instance()->lastOpenFailure().detail.isEmpty());
    }

    void databaseLockedByAnotherProgram()
    {
        TQDatabase *db = TQDatabase::instance();
        const QString file = TQFilePathMgr::instance()->getDatabasePath() + "client.db";
        const QString holder = QStringLiteral("tst_holder");
        {
            // Another program's connection, writing in rollback mode: nobody else may read.
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), holder);
            other.setDatabaseName(file);
            QVERIFY(other.open());
            QSqlQuery q(other);
            QVERIFY(q.exec("CREATE TABLE other(x)"));
            QVERIFY(q.exec("BEGIN EXCLUSIVE"));
        }
        db->setBusyTimeout(20); // the default 5 s wait is kept outside tests
        TQLogCapture capture;
        emit db->sig_createAllDb();
        QVERIFY(!db->isOpen());
        QCOMPARE(db->lastOpenFailure().kind, Kind::Locked);
        QCOMPARE(db->lastOpenFailure().detail, file + ": database is locked");
        const QStringList errors = capture.texts(TQLog::Error);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().startsWith(
                     "Database client.db is locked by another program; waited about 0.02 s for "
                     "it, not opened: "
                     + file + ": database is locked"),
                 qPrintable(errors.first()));

        // Released: the next start opens, with the wait it was given.
        {
            QSqlQuery q(QSqlDatabase::database(holder, false));
            QVERIFY(q.exec("COMMIT"));
        }
        QSqlDatabase::removeDatabase(holder);
        emit db->sig_createAllDb();
        db->setBusyTimeout(5000);
        QVERIFY(db->isOpen());
        QCOMPARE(query("PRAGMA busy_timeout"), QVariantList{20});
        QCOMPARE(query("SELECT count(*) FROM other"), QVariantList{0});
    }
};

QTEST_GUILESS_MAIN(TstUtilMisc)

#include "tst_util_misc.moc"
