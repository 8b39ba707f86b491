#include "AppEnvionmentSetting.h"
#include "TQLog.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TstSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;

    // Points TQ_CONFIG_FILE at a fresh file holding `content` (none if null) and reloads.
    void load(const QByteArray &content, TQLogCapture *capture)
    {
        const QString path = m_dir.filePath(QStringLiteral("s%1.ini").arg(++m_files));
        if (!content.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        qputenv("TQ_CONFIG_FILE", QFile::encodeName(path));
        capture->clear();
        AppEnvionmentSetting::instance()->initConfig();
        QCOMPARE(AppEnvionmentSetting::instance()->configFilePath(), path);
    }

private slots:
    void initTestCase()
    {
        // First load here, so each test sees only the lines of its own reload.
        TQLogCapture capture;
        load(QByteArray(), &capture);
    }

    void values_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("multi");
        QTest::addColumn<int>("trace");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<QString>("badKeys");
        const auto row = [](const char *tag, const QByteArray &content, int language, bool multi,
                            int trace, bool damaged = false, const QString &badKeys = {}) {
            QTest::newRow(tag) << content << language << multi << trace << damaged << badKeys;
        };

        row("missing", QByteArray(), 0, false, 2);
        row("valid", "[General]\nLanguage=1\nMultiClients=true\n[SDK]\nTraceLevel=5\n", 1, true, 5);
        row("partial", "[SDK]\nTraceLevel= 4 \n[Other]\nLanguage=9\n", 0, false, 4);
        row("bool as 1", "[General]\nMultiClients=1\n", 0, true, 2);
        row("language text", "[General]\nLanguage=abc\nMultiClients=true\n", 0, true, 2, true,
            "Language");
        row("language list", "[General]\nLanguage=1,2\n[SDK]\nTraceLevel=3\n", 0, false, 3, true,
            "Language");
        row("language overflow", "[General]\nLanguage=99999999999\n", 0, false, 2, true,
            "Language");
        row("multi word", "[General]\nLanguage=1\nMultiClients=maybe\n", 1, false, 2, true,
            "MultiClients");
        row("multi encoded", "[General]\nMultiClients=@Invalid()\n", 0, false, 2, true,
            "MultiClients");
        row("trace fraction", "[SDK]\nTraceLevel=1.5\n", 0, false, 2, true, "TraceLevel");
        row("all bad", "[General]\nLanguage=a\nMultiClients=b\n[SDK]\nTraceLevel=\n", 0, false, 2,
            true, "Language MultiClients TraceLevel");
        // QSettings still reads what comes before the broken section header.
        row("broken section", "[General]\nLanguage=1\n[SDK\nMultiClients\n", 1, false, 2, true);
        row("binary", QByteArray("\0\1\2\xff Language=1\n", 16), 0, false, 2, true);
    }

    void values()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, damaged);
        QFETCH(QString, badKeys);
        TQLogCapture capture;
        load(content, &capture);

        AppEnvionmentSetting *s = AppEnvionmentSetting::instance();
        const AppEnvionmentConfig *config = s->getAppEnvionmentConfig();
        QVERIFY(config);
        QTEST(config->language(), "language");
        QTEST(config->mutilClients(), "multi");
        QTEST(config->sdkTraceLevel(), "trace");
        QCOMPARE(s->getConfigLanguage(), config->language());
        QCOMPARE(s->getAppEnvionmentIsMutilClients(), config->mutilClients());

        // Exactly one line per load; damage is one error line naming what was unreadable.
        QCOMPARE(capture.lines().size(), 1);
        QCOMPARE(capture.texts(TQLog::Error).size(), damaged ? 1 : 0);
        for (const QString &key : badKeys.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            QVERIFY2(capture.texts().first().contains(key), qPrintable(capture.texts().first()));
    }

    void reloadDropsEarlierValues()
    {
        TQLogCapture capture;
        load("[General]\nLanguage=3\nMultiClients=true\n[SDK]\nTraceLevel=7\n", &capture);
        load("[General]\nLanguage=1\n", &capture);
        QCOMPARE(AppEnvionmentSetting::instance()->getAppEnvionmentIsMutilClients(), false);
        QCOMPARE(AppEnvionmentSetting::instance()->getAppEnvionmentConfig()->sdkTraceLevel(), 2);
        load("[General]\nLanguage=x\n", &capture);
        QCOMPARE(AppEnvionmentSetting::instance()->getConfigLanguage(), 0);
    }

    void pathAndDirectory()
    {
        qunsetenv("TQ_CONFIG_FILE");
        QCOMPARE(AppEnvionmentSetting::instance()->configFilePath(),
                 QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
                     + QStringLiteral("/AppEnvionment.ini"));

        // A directory in place of the file is damage, not an empty file.
        qputenv("TQ_CONFIG_FILE", QFile::encodeName(m_dir.path()));
        TQLogCapture capture;
        AppEnvionmentSetting::instance()->initConfig();
        QCOMPARE(capture.texts(TQLog::Error).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TstSettings)

#include "tst_settings.moc"
