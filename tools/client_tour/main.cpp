// A scripted session with the client against the stand-in engine, for the pictures in
// docs/screenshots: it builds the shell as solvane does, drives the real widgets (login,
// contacts, profile, app centre, a call, an incoming call) and saves each window as a PNG.
// The stand-in's control API plays the other side. Usage: client_tour <out-dir> [suffix]

#include "Launcher.h"
#include "Solvane.h"

#include <TqClientContext.h>
#include <ZSsdkControl.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

QString g_outDir;
QString g_suffix;
int g_failures = 0;

QWidget *window(const char *name)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    return nullptr;
}

bool waitFor(const std::function<bool()> &condition, const char *what)
{
    if (QTest::qWaitFor(condition, 20000))
        return true;
    std::fprintf(stderr, "client_tour: gave up waiting for %s\n", what);
    ++g_failures;
    return false;
}

void shot(const char *windowName, const char *file)
{
    QWidget *w = nullptr;
    if (!waitFor([&] { return (w = window(windowName)) != nullptr; }, windowName))
        return;
    QTest::qWait(150); // let the window paint once more at its final size
    const QString path = QDir(g_outDir).filePath(QString::fromLatin1(file) + g_suffix + ".png");
    if (!w->grab().save(path)) {
        std::fprintf(stderr, "client_tour: cannot write %s\n", qPrintable(path));
        ++g_failures;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

template<class T> T *child(const char *windowName, const char *childName)
{
    QWidget *w = window(windowName);
    return w ? w->findChild<T *>(QLatin1String(childName)) : nullptr;
}

void click(const char *windowName, const char *button)
{
    if (auto *b = child<QAbstractButton>(windowName, button))
        QTest::mouseClick(b, Qt::LeftButton);
    else {
        std::fprintf(stderr, "client_tour: no %s in %s\n", button, windowName);
        ++g_failures;
    }
}

void type(const char *windowName, const char *edit, const QString &text)
{
    if (auto *e = child<QLineEdit>(windowName, edit)) {
        e->clear();
        QTest::keyClicks(e, text);
    }
}

void tour(bool loginOnly)
{
    type("loginWindow", "accountEdit", QStringLiteral("alice"));
    type("loginWindow", "passwordEdit", QStringLiteral("alice"));
    shot("loginWindow", "01-login");
    if (loginOnly)
        return;

    click("loginWindow", "loginButton");
    waitFor(
        [] {
            auto *list = child<QAbstractItemView>("mainWindow", "contactList");
            return list && list->model() && list->model()->rowCount() >= 2;
        },
        "the contact list");
    shot("mainWindow", "02-main");

    TqClientContext *context = TqClientContext::instance();
    context->requestProfile(QStringLiteral("bob"));
    shot("profileDialog", "03-profile");
    if (QWidget *w = window("profileDialog"))
        w->close();

    click("mainWindow", "editProfileButton");
    shot("editProfileDialog", "04-edit-profile");
    click("editProfileDialog", "cancelButton");

    context->requestFeature(TqFeature::appCenter());
    shot("appCenterWindow", "05-app-center");
    if (QWidget *w = window("appCenterWindow"))
        w->close();

    context->requestCall(QStringLiteral("bob"), false);
    waitFor(
        [] {
            auto *duration = child<QLabel>("inCallWindow", "durationLabel");
            return duration && duration->isVisible() && !duration->text().isEmpty();
        },
        "the answered call");
    click("inCallWindow", "keypadButton");
    shot("inCallWindow", "06-in-call");
    click("inCallWindow", "statisticsButton");
    shot("callStatisticsDialog", "07-call-statistics");
    if (QWidget *w = window("callStatisticsDialog"))
        w->close();
    click("inCallWindow", "devicesButton");
    shot("deviceDialog", "08-devices");
    if (QWidget *w = window("deviceDialog"))
        w->close();
    click("inCallWindow", "hangUpButton");
    waitFor([] { return window("inCallWindow") == nullptr; }, "the end of the call");
    if (QWidget *w = window("inCallWindow"))
        w->close();

    context->requestFeature(TqFeature::calls());
    shot("dialWindow", "09-dial-pad");
    if (QWidget *w = window("dialWindow"))
        w->close();

    zssim::injectIncomingCall(QStringLiteral("carol"), QStringLiteral("Carol Zhang"), 2);
    shot("incomingCallWindow", "10-incoming-call");
    click("incomingCallWindow", "declineButton");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: client_tour <out-dir> [suffix] [login-only]\n");
        return 2;
    }
    g_outDir = QString::fromLocal8Bit(argv[1]);
    g_suffix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const bool loginOnly = argc > 3 && QByteArray(argv[3]) == "login-only";
    QDir().mkpath(g_outDir);

    Launcher::Translators translators;
    Launcher::installTranslators(translators);
    TqClientContext::instance()->setQuitsApplication(false);
    const auto shell = std::make_unique<Solvane>(nullptr);
    tour(loginOnly);
    return g_failures == 0 ? 0 : 1;
}
