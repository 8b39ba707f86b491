#include "Launcher.h"
#include "Solvane.h"

#include "TQDatabase.h"
#include "TQ_MainUI.h"
#include "TqCallLog.h"
#include "TqMsgBox.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestSolvaneShell : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void shellBuildsWindowObjectsInOrder_data();
    void shellBuildsWindowObjectsInOrder();
    void msgBoxAnswersEveryWayOfClosing();

    void embeddedCatalogs();
    void programTranslationOnlyForLanguageZero_data();
    void programTranslationOnlyForLanguageZero();

    void runOpensDatabasesBeforeTheShellAndClosesThemAfterTheLoop();
    void databaseNoticeFollowsTheConfiguredLanguage();

private:
    void writeConfig(int language);

    QTemporaryDir m_dir;
};

void TestSolvaneShell::initTestCase()
{
    Q_INIT_RESOURCE(launcher_translations);
    QVERIFY(m_dir.isValid());
    qputenv("XDG_RUNTIME_DIR", m_dir.path().toUtf8());
    QVERIFY2(QFileInfo::exists(QCoreApplication::applicationDirPath() + "/tq_CN.qm"),
             "the test's tq_CN.qm is built next to it");
}

void TestSolvaneShell::init()
{
    TqCallLog::clear();
}

void TestSolvaneShell::writeConfig(int language)
{
    // A new file each time: a settings reader may cache by file name, size and time.
    static int count = 0;
    const QString path = m_dir.filePath(QStringLiteral("AppEnvionment%1.ini").arg(++count));
    qputenv("TQ_CONFIG_FILE", path.toUtf8());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[General]\nMultiClients=false\nLanguage=" + QByteArray::number(language) + '\n');
}

void TestSolvaneShell::shellBuildsWindowObjectsInOrder_data()
{
    QTest::addColumn<bool>("withHandle");
    QTest::newRow("single-instance event") << true;
    QTest::newRow("several clients allowed") << false;
}

void TestSolvaneShell::shellBuildsWindowObjectsInOrder()
{
    QFETCH(bool, withHandle);
    int event = 0;
    void *handle = withHandle ? &event : nullptr;

    QStringList expected{"TQ_CustomStyle::initGlobalStyle", "TQ_LoginUI", "TQ_MainUI"};
    if (withHandle)
        expected << "TQ_MainUI::setHandle";
    expected << "TQ_MediaConfUI"
             << "TQ_WhiteBoardUI"
             << "TQ_AppCenter::instance";

    const int mainWindowsBefore = TQ_MainUI::instances().size();
    {
        Solvane shell(handle);
        QCOMPARE(TqCallLog::calls(), expected);
        QVERIFY(!shell.isVisible());
    }
    // The window objects outlive the shell.
    QCOMPARE(TQ_MainUI::instances().size(), mainWindowsBefore + 1);
    QCOMPARE(TQ_MainUI::instances().last()->handle(), handle);
}

void TestSolvaneShell::msgBoxAnswersEveryWayOfClosing()
{
    TqMsgBox box;
    box.setMultimediaTip(126);
    QSignalSpy accepted(&box, &TqMsgBox::signal_Accept);
    QSignalSpy rejected(&box, &TqMsgBox::signal_Reject);

    box.show();
    box.findChild<QPushButton *>(QStringLiteral("acceptButton"))->click();
    QCOMPARE(accepted.count(), 1);
    QCOMPARE(accepted.at(0).at(0).toInt(), 126);
    QVERIFY(!box.isVisible());

    box.show();
    box.findChild<QPushButton *>(QStringLiteral("rejectButton"))->click();
    box.show();
    box.close(); // the window's close button
    box.show();
    QTest::keyClick(&box, Qt::Key_Escape);
    QCOMPARE(rejected.count(), 3);
    QCOMPARE(accepted.count(), 1);
}

void TestSolvaneShell::embeddedCatalogs()
{
    QTranslator widgets;
    QVERIFY(widgets.load(QStringLiteral(":/new/prefix1/widgets.qm")));
    QCOMPARE(widgets.translate("QWidgetTextControl", "Copy &Link Location"),
             QString::fromUtf8("拷贝链接"));
    QCOMPARE(widgets.translate("QWizard", "< &Back"), QString()); // present, not translated

    // Qt's catalog must not depend on files that are not embedded beside it.
    QTranslator qt;
    QVERIFY(qt.load(QStringLiteral(":/new/prefix1/qt_zh_CN.qm")));
    QCOMPARE(qt.translate("QPlatformTheme", "&Yes"), QString::fromUtf8("是(&Y)"));
}

void TestSolvaneShell::programTranslationOnlyForLanguageZero_data()
{
    QTest::addColumn<int>("language");
    QTest::newRow("0") << 0;
    QTest::newRow("1") << 1;
    QTest::newRow("2") << 2;
}

void TestSolvaneShell::programTranslationOnlyForLanguageZero()
{
    QFETCH(int, language);
    writeConfig(language);
    const auto translate = [](const char *context, const char *source) {
        return QCoreApplication::translate(context, source);
    };
    {
        Launcher::Translators translators;
        Launcher::installTranslators(translators);
        QCOMPARE(translators.program.isEmpty(), language != 0);
        if (language == 0) {
            QCOMPARE(translate("QObject", "Prompt"), QString::fromUtf8("提示"));
            // Installed last, searched first.
            QCOMPARE(translate("QWidgetTextControl", "&Copy"), QString::fromUtf8("复制(程序)"));
        } else {
            QCOMPARE(translate("QObject", "Prompt"), QStringLiteral("Prompt"));
            // Qt's catalog, installed after widgets.qm, wins over it.
            QCOMPARE(translate("QWidgetTextControl", "&Copy"), QString::fromUtf8("复制(&C)"));
        }
        QCOMPARE(translate("QWidgetTextControl", "Select All"), QString::fromUtf8("全选"));
    }
    QCOMPARE(translate("QObject", "Prompt"),
             QStringLiteral("Prompt")); // removed with the translators
}

void TestSolvaneShell::runOpensDatabasesBeforeTheShellAndClosesThemAfterTheLoop()
{
    writeConfig(1);
    TQDatabase *db = TQDatabase::instance();
    QMetaObject::Connection opened
        = connect(db, &TQDatabase::sig_createAllDb, this, [] { TqCallLog::add("createAllDb"); });
    QMetaObject::Connection closed
        = connect(db, &TQDatabase::sig_closeAllDb, this, [] { TqCallLog::add("closeAllDb"); });
    QTimer::singleShot(0, qApp, [] {
        TqCallLog::add("loop");
        QCoreApplication::quit();
    });

    QCOMPARE(Launcher::run(*qApp), 0);
    disconnect(opened);
    disconnect(closed);

    const QStringList expected{"createAllDb",
                               "TQ_CustomStyle::initGlobalStyle",
                               "TQ_LoginUI",
                               "TQ_MainUI",
                               "TQ_MainUI::setHandle",
                               "TQ_MediaConfUI",
                               "TQ_WhiteBoardUI",
                               "TQ_AppCenter::instance",
                               "loop",
                               "closeAllDb"};
    QCOMPARE(TqCallLog::calls(), expected);
    QVERIFY(TQ_MainUI::instances().last()->handle());
    QVERIFY(!db->isOpen());
    QVERIFY(!QGuiApplication::quitOnLastWindowClosed());
    QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("meridane"));
}

void TestSolvaneShell::databaseNoticeFollowsTheConfiguredLanguage()
{
    using Kind = TQDatabase::FailureKind;
    const QString detail = QStringLiteral("/data/db/client.db: what SQLite said");
    QStringList notices[2]; // by language
    for (int language : {0, 1}) {
        writeConfig(language);
        Launcher::Translators translators;
        Launcher::installTranslators(translators);
        for (Kind kind :
             {Kind::Damaged, Kind::ReadOnly, Kind::Locked, Kind::NewerVersion, Kind::Other}) {
            const std::unique_ptr<TqMsgBox> box = Launcher::databaseNotice({kind, detail});
            QVERIFY(!box->isVisible()); // the caller shows it
            notices[language] << box->messageTitle() + '|' + box->messageText();
        }
        // Qt's widget texts stay Chinese whatever the language.
        QCOMPARE(QCoreApplication::translate("QWidgetTextControl", "Select All"),
                 QString::fromUtf8("全选"));
    }
    QCOMPARE(notices[1].at(2),
             "Local history unavailable|The local database could not be "
             "opened, so local history is unavailable. Reason: The database is "
             "locked by another program.\n\nDetails: "
                 + detail);
    QCOMPARE(notices[0].at(3),
             QString::fromUtf8("本地历史记录不可用|无法打开本地数据库，本地历史"
                               "记录不可用。原因：数据库由更高版本的客户端写入。"
                               "\n\n详细信息：")
                 + detail);
    // A reason of its own for each kind, and no English left in Chinese.
    for (const QStringList &texts : notices)
        QCOMPARE(QSet<QString>(texts.begin(), texts.end()).size(), texts.size());
    for (QString text : notices[0])
        QVERIFY2(!text.remove(detail).contains(QRegularExpression("[A-Za-z]")), qPrintable(text));
}

QTEST_MAIN(TestSolvaneShell)
#include "tst_solvane_shell.moc"
