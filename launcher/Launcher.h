#pragma once

#include "platform/DumpName.h"

#include "TQDatabase.h"

#include <QByteArray>
#include <QTranslator>

#include <memory>

class QApplication;
class QLocale;
class QString;
class TqMsgBox;

// The launcher's start-up steps. main() runs the first two before the QApplication exists and
// hands the rest to run().
namespace Launcher {

// Step 1: crash dumps "TQ_v<version>_t<yyyy-MM-dd-ddd_hh-mm-ss>.dmp" in the current directory.
void installCrashDumps();
// The dump name parts, prepared before any crash. Characters that would leave the current
// directory or that Windows refuses in a name become '_'.
tqplatform::CrashDumpNaming crashDumpNaming(const QString &version, const QLocale &locale);

// Step 2: DPI awareness and QT_AUTO_SCREEN_SCALE_FACTOR; before the QApplication.
void prepareHighDpi();
// Screens larger than 1920x1080 scale by dpi/96, others by its inverse. A DPI of 0 or less
// (or none) counts as 96.
float screenScale(int width, int height, float dpi);
// The environment value: 'g' with precision 0 keeps one significant digit (1.5 gives "2").
QByteArray screenScaleFactor(int width, int height, float dpi);

// widgets.qm holds Qt's widget texts, used in Chinese whatever the language, and the launcher's
// own texts (context "Launcher"), which follow the configured language like the program's.
class WidgetsTranslator : public QTranslator
{
public:
    bool launcherTexts = false; // set for language 0
    QString translate(const char *context, const char *sourceText,
                      const char *disambiguation = nullptr, int n = -1) const override;
};

// Step 6. Installed in this order; Qt searches the last installed first.
struct Translators
{
    WidgetsTranslator widgets; // ":/new/prefix1/widgets.qm"
    QTranslator qt; // ":/new/prefix1/qt_zh_CN.qm"
    QTranslator program; // "<program dir>/tq_CN.qm" when the configured language is 0
};
// Also loads the settings (initConfig), which later steps read.
void installTranslators(Translators &translators);

// Shown when sig_createAllDb() left the databases closed: local history is unavailable, and
// why. Informational: the program goes on without it, and closing the box does not quit.
std::unique_ptr<TqMsgBox> databaseNotice(const TQDatabase::OpenFailure &failure);

// Steps 4 to 11 and the shutdown. Returns the exit code: 0 after a normal run, the prompt's
// loop result when another instance is running.
int run(QApplication &app);

} // namespace Launcher
