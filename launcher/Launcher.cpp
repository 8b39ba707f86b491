#include "Launcher.h"

#include "Solvane.h"
#include "platform/Platform.h"

#include "AppEnvionmentSetting.h"
#include "TQDatabase.h"
#include "TQLog.h"
#include "TQSettings.h"
#include "TqMsgBox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDebug>
#include <QLocale>
#include <QQuickWindow>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

// Q_INIT_RESOURCE cannot be used inside a namespace.
static void initTranslationResources()
{
    Q_INIT_RESOURCE(launcher_translations);
}

namespace Launcher {

namespace {

// Copies UTF-8 into a fixed field, cut at a character boundary so that it stays NUL-terminated.
template<std::size_t N> void copyUtf8(char (&field)[N], const QByteArray &utf8)
{
    std::size_t length = std::min<std::size_t>(std::size_t(utf8.size()), N - 1);
    while (length > 0 && length < std::size_t(utf8.size())
           && (static_cast<unsigned char>(utf8[int(length)]) & 0xC0) == 0x80)
        --length;
    std::memcpy(field, utf8.constData(), length);
    std::memset(field + length, 0, N - length);
}

// Windows only: the crash filter's log line and debug trace.
void noteDump(const char *dumpName)
{
    const QString name = QString::fromUtf8(dumpName);
    g_Log->LogInfo(name);
    qDebug().noquote() << QStringLiteral("Beng_") + name;
}

} // namespace

tqplatform::CrashDumpNaming crashDumpNaming(const QString &version, const QLocale &locale)
{
    QString safeVersion = version;
    for (QChar &c : safeVersion) {
        if (c.unicode() < 0x20 || QStringLiteral("<>:\"/\\|?*").contains(c))
            c = QLatin1Char('_');
    }
    tqplatform::CrashDumpNaming naming;
    // A version too long for the field is cut, the "_t" after it is kept.
    char versionPart[sizeof naming.prefix - 2];
    copyUtf8(versionPart, QByteArrayLiteral("TQ_v") + safeVersion.toUtf8());
    copyUtf8(naming.prefix, QByteArray(versionPart) + "_t");
    for (int weekday = 0; weekday < 7; ++weekday) {
        // QLocale counts Monday as 1 and Sunday as 7.
        const int qtDay = weekday == 0 ? 7 : weekday;
        copyUtf8(naming.dayNames[weekday], locale.dayName(qtDay, QLocale::ShortFormat).toUtf8());
    }
    return naming;
}

void installCrashDumps()
{
    tqplatform::installCrashHandler(
        crashDumpNaming(TQSettings::getVersionValues(), QLocale::system()), noteDump);
}

float screenScale(int width, int height, float dpi)
{
    if (!(dpi > 0.0f) || std::isinf(dpi))
        dpi = 96.0f;
    if (width > 1920 && height > 1080)
        return dpi / 96;
    return 1 / (dpi / 96);
}

QByteArray screenScaleFactor(int width, int height, float dpi)
{
    return QByteArray::number(double(screenScale(width, height, dpi)), 'g', 0);
}

void prepareHighDpi()
{
    tqplatform::setProcessDpiAwareness();
    const tqplatform::ScreenMetrics screen = tqplatform::primaryScreenMetrics();
    qputenv("QT_AUTO_SCREEN_SCALE_FACTOR",
            screenScaleFactor(screen.width, screen.height, screen.dpi));
}

QString WidgetsTranslator::translate(const char *context, const char *sourceText,
                                     const char *disambiguation, int n) const
{
    if (!launcherTexts && std::strcmp(context, "Launcher") == 0)
        return QString();
    return QTranslator::translate(context, sourceText, disambiguation, n);
}

void installTranslators(Translators &translators)
{
    initTranslationResources();
    // A file that does not load leaves its translator empty; it is installed all the same.
    translators.widgets.load(QStringLiteral(":/new/prefix1/widgets.qm"));
    QCoreApplication::installTranslator(&translators.widgets);
    translators.qt.load(QStringLiteral(":/new/prefix1/qt_zh_CN.qm"));
    QCoreApplication::installTranslator(&translators.qt);

    AppEnvionmentSetting::instance()->initConfig();
    const bool chinese = AppEnvionmentSetting::instance()->getConfigLanguage() == 0;
    translators.widgets.launcherTexts = chinese;
    const QString programFile = chinese
        ? QCoreApplication::applicationDirPath() + QStringLiteral("/tq_CN.qm")
        : QString();
    translators.program.load(programFile);
    QCoreApplication::installTranslator(&translators.program);
}

namespace {

// tr() in the context "Launcher", whose Chinese is in widgets.ts.
class LauncherText
{
    Q_DECLARE_TR_FUNCTIONS(Launcher)

public:
    static QString reason(TQDatabase::FailureKind kind)
    {
        using Kind = TQDatabase::FailureKind;
        switch (kind) {
        case Kind::Damaged:
            return tr("The database file is damaged or is not a database.");
        case Kind::ReadOnly:
            return tr("The database file or its folder is read-only, or you have no permission "
                      "to write to it.");
        case Kind::Locked:
            return tr("The database is locked by another program.");
        case Kind::NewerVersion:
            return tr("The database was written by a newer version of the client.");
        case Kind::None:
        case Kind::Other:
            break;
        }
        return tr("An unexpected error occurred.");
    }
};

} // namespace

std::unique_ptr<TqMsgBox> databaseNotice(const TQDatabase::OpenFailure &failure)
{
    auto box = std::make_unique<TqMsgBox>();
    box->setObjectName(QStringLiteral("databaseNotice"));
    box->setMessageTitle(LauncherText::tr("Local history unavailable"));
    box->setMessageText(LauncherText::tr("The local database could not be opened, so local "
                                         "history is unavailable. Reason: %1\n\nDetails: %2")
                            .arg(LauncherText::reason(failure.kind), failure.detail));
    box->setIsInMask(false, 2);
    return box;
}

namespace {

// Another instance runs: tell the user and end when the box is answered. No database is
// opened and no window object is built.
int promptAlreadyRunning(QApplication &app)
{
    TqMsgBox box;
    box.setMultimediaTip(126);
    box.setMessageTitle(QObject::tr("Prompt"));
    box.setMessageText(QObject::tr("Client is running"));
    box.setIsInMask(false, 2);
    QObject::connect(&box, &TqMsgBox::signal_Accept, &app, &QCoreApplication::quit);
    QObject::connect(&box, &TqMsgBox::signal_Reject, &app, &QCoreApplication::quit);
    box.show();
    return app.exec();
}

} // namespace

int run(QApplication &app)
{
    QCoreApplication::setOrganizationName(QStringLiteral("meridane"));
    QQuickWindow::setTextRenderType(app.devicePixelRatio() >= 2.0
                                        ? QQuickWindow::QtTextRendering
                                        : QQuickWindow::NativeTextRendering);

    Translators translators;
    installTranslators(translators);

    void *eventHandle = nullptr;
    if (!AppEnvionmentSetting::instance()->getAppEnvionmentIsMutilClients()) {
        const tqplatform::InstanceEvent event
            = tqplatform::createInstanceEvent("FACE_RECOGN_10086");
        if (event.alreadyRunning)
            return promptAlreadyRunning(app);
        eventHandle = event.handle; // the event stays held until the process ends
    }

    emit TQDatabase::instance()->sig_createAllDb();
    const auto shell = std::make_unique<Solvane>(eventHandle);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    // Nothing is connected to its answer: unlike the "Client is running" prompt it ends nothing.
    std::unique_ptr<TqMsgBox> notice;
    if (!TQDatabase::instance()->isOpen()) {
        notice = databaseNotice(TQDatabase::instance()->lastOpenFailure());
        notice->show();
    }
    app.exec();

    emit TQDatabase::instance()->sig_closeAllDb();
    TQLog::instance()->closeLogFile();
    return 0;
}

} // namespace Launcher
