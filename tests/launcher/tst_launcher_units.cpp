#include "Launcher.h"
#include "platform/Platform.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QtTest>

#include <cstring>

#include <unistd.h>

using tqplatform::CivilTime;
using tqplatform::CrashDumpNaming;

class TestLauncherUnits : public QObject
{
    Q_OBJECT
private slots:
    void screenScaleFactor_data();
    void screenScaleFactor();

    void dumpNameFromTheParts();
    void dumpNameKeepsTheVersionInsideTheDirectory();
    void dumpNameFitsItsBuffers();
    void civilTimeAgreesWithQt_data();
    void civilTimeAgreesWithQt();

    void instanceEventIsHeldOncePerUser();
};

void TestLauncherUnits::screenScaleFactor_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<float>("dpi");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("1920x1080@96") << 1920 << 1080 << 96.0f << QByteArray("1");
    // Precision 0 in 'g' keeps one significant digit: 1.5 is written "2".
    QTest::newRow("2560x1440@144") << 2560 << 1440 << 144.0f << QByteArray("2");
    QTest::newRow("1920x1080@120") << 1920 << 1080 << 120.0f << QByteArray("0.8");
    QTest::newRow("only wider than 1920") << 2560 << 1080 << 192.0f << QByteArray("0.5");
    QTest::newRow("dpi 0") << 1920 << 1080 << 0.0f << QByteArray("1");
    QTest::newRow("negative dpi") << 1920 << 1080 << -120.0f << QByteArray("1");
    QTest::newRow("NaN dpi") << 2560 << 1440 << std::numeric_limits<float>::quiet_NaN()
                             << QByteArray("1");
}

void TestLauncherUnits::screenScaleFactor()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(float, dpi);
    QFETCH(QByteArray, expected);
    QCOMPARE(Launcher::screenScaleFactor(width, height, dpi), expected);
}

namespace {

QString dumpName(const CrashDumpNaming &naming, const CivilTime &time)
{
    char name[256];
    tqplatform::formatDumpName(name, sizeof name, naming, time);
    return QString::fromUtf8(name);
}

} // namespace

void TestLauncherUnits::dumpNameFromTheParts()
{
    const CrashDumpNaming naming
        = Launcher::crashDumpNaming(QStringLiteral("3.2.1"), QLocale(QLocale::English));
    QCOMPARE(dumpName(naming, CivilTime{2024, 3, 5, 2, 14, 7, 9}),
             QStringLiteral("TQ_v3.2.1_t2024-03-05-Tue_14-07-09.dmp"));

    // Day names come from the locale given, in UTF-8.
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    const CrashDumpNaming zh = Launcher::crashDumpNaming(QStringLiteral("1.0"), chinese);
    QCOMPARE(dumpName(zh, CivilTime{2024, 3, 10, 0, 0, 0, 0}),
             QStringLiteral("TQ_v1.0_t2024-03-10-%1_00-00-00.dmp")
                 .arg(chinese.dayName(7, QLocale::ShortFormat)));
}

void TestLauncherUnits::dumpNameKeepsTheVersionInsideTheDirectory()
{
    const CrashDumpNaming naming = Launcher::crashDumpNaming(QStringLiteral("../../etc/3\\2:1*?\n"),
                                                             QLocale(QLocale::English));
    const QString name = dumpName(naming, CivilTime{2024, 1, 1, 1, 0, 0, 0});
    QCOMPARE(name, QStringLiteral("TQ_v.._.._etc_3_2_1____t2024-01-01-Mon_00-00-00.dmp"));
    QCOMPARE(QFileInfo(name).fileName(), name);
}

void TestLauncherUnits::dumpNameFitsItsBuffers()
{
    // Three-byte characters: the prefix field cannot end inside one.
    const CrashDumpNaming naming
        = Launcher::crashDumpNaming(QString(200, QChar(0x7248)), QLocale(QLocale::English));
    const QByteArray prefix(naming.prefix);
    QVERIFY(prefix.size() < int(sizeof naming.prefix));
    QVERIFY(prefix.startsWith("TQ_v"));
    QVERIFY(prefix.endsWith("_t"));
    QCOMPARE(QString::fromUtf8(prefix).toUtf8(), prefix); // valid UTF-8 throughout

    // A name that does not fit the buffer is not written past it.
    char name[32];
    QCOMPARE(
        tqplatform::formatDumpName(name, sizeof name, naming, CivilTime{2024, 1, 1, 1, 0, 0, 0}),
        std::size_t(0));
    QCOMPARE(name[0], '\0');
}

void TestLauncherUnits::civilTimeAgreesWithQt_data()
{
    QTest::addColumn<qint64>("seconds");
    const auto utc = [](int y, int mo, int d, int h, int mi, int s) {
        return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC).toSecsSinceEpoch();
    };
    QTest::newRow("epoch") << qint64(0);
    QTest::newRow("before the epoch") << qint64(-1);
    QTest::newRow("leap day 2000") << utc(2000, 2, 29, 23, 59, 59);
    QTest::newRow("not a leap year 2100") << utc(2100, 3, 1, 6, 30, 15);
    QTest::newRow("new year's eve") << utc(2024, 12, 31, 23, 59, 59);
    QTest::newRow("32-bit rollover") << qint64(2147483647) + 1;
}

void TestLauncherUnits::civilTimeAgreesWithQt()
{
    QFETCH(qint64, seconds);
    // The row's time and a sweep of the days around it.
    for (qint64 t = seconds - 400 * 86400; t <= seconds + 400 * 86400; t += 86400 + 3607) {
        const QDateTime expected = QDateTime::fromSecsSinceEpoch(t, Qt::UTC);
        const CivilTime civil = tqplatform::civilTime(t);
        const QDateTime actual(QDate(civil.year, civil.month, civil.day),
                               QTime(civil.hour, civil.minute, civil.second), Qt::UTC);
        QCOMPARE(actual, expected);
        QCOMPARE(civil.weekday, expected.date().dayOfWeek() % 7);
    }
}

void TestLauncherUnits::instanceEventIsHeldOncePerUser()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    qputenv("XDG_RUNTIME_DIR", dir.path().toUtf8());
    const tqplatform::InstanceEvent first = tqplatform::createInstanceEvent("TQ_TEST_EVENT_A");
    QVERIFY(first.handle);
    QVERIFY(!first.alreadyRunning);
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("TQ_TEST_EVENT_A.lock"))));
    QVERIFY(tqplatform::createInstanceEvent("TQ_TEST_EVENT_A").alreadyRunning);

    // Without a runtime directory: a per-user file in the temporary directory, owner-only.
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", dir.path().toUtf8());
    QVERIFY(tqplatform::createInstanceEvent("TQ_TEST_EVENT_B").handle);
    const QString lock = dir.filePath(QStringLiteral("TQ_TEST_EVENT_B-%1.lock").arg(getuid()));
    QVERIFY(QFileInfo::exists(lock));
    QCOMPARE(QFileInfo(lock).permissions()
                 & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
             QFile::Permissions());
    qunsetenv("TMPDIR");
}

QTEST_GUILESS_MAIN(TestLauncherUnits)
#include "tst_launcher_units.moc"
