// A scripted session with the client against the stand-in engine, for the pictures in
// docs/screenshots: it builds the shell as solvane does, drives the real widgets (login,
// contacts, profile, app centre, a call, an incoming call, a chat with bob) and saves each
// window as a PNG. The stand-in's control API plays the other side.
// Each further area adds its pictures in its own tour_<area>.cpp (see Tour.h).
// Usage: client_tour <out-dir> [suffix]

#include "Launcher.h"
#include "Solvane.h"
#include "Tour.h"

#include <ChatState.h>
#include <ChatWindow.h>
#include <MessageListModel.h>
#include <TqClientContext.h>
#include <VoiceRecorder.h>
#include <ZSsdkControl.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QToolButton>

#include <cstdio>
#include <memory>

namespace {

using namespace tour;

// ---- the chat ---------------------------------------------------------------------------------

QString demoFile(const QTemporaryDir &dir, const QString &name, int size)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray(size, 'x'));
    return path;
}

// A small bar chart, the kind of picture colleagues send each other.
QString demoPicture(const QTemporaryDir &dir)
{
    QImage image(640, 400, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, 400);
    sky.setColorAt(0, QColor(0xe3, 0xee, 0xfb));
    sky.setColorAt(1, QColor(0xff, 0xff, 0xff));
    p.fillRect(image.rect(), sky);
    const int bars[] = {120, 180, 150, 240, 300, 270};
    for (int i = 0; i < 6; ++i)
        p.fillRect(60 + i * 95, 360 - bars[i], 60, bars[i], QColor(0x1e, 0x88, 0xe5));
    p.fillRect(40, 360, 560, 3, QColor(0x68, 0x76, 0x84));
    p.end();
    const QString path = dir.filePath(QStringLiteral("sales by month.png"));
    image.save(path);
    return path;
}

void setEcho(bool on)
{
    zssim::Control::withServer([on](zssim::ServerModel &s) {
        s.messages.echoContact = on ? QStringLiteral("bob") : QString();
    });
}

void chatTour()
{
    QTemporaryDir dir;
    auto *chat = child<ChatWindow>("mainWindow", "chatWindow");
    auto *input = child<QPlainTextEdit>("mainWindow", "messageInput");
    if (!chat || !input) {
        std::fprintf(stderr, "client_tour: no chat in the main window\n");
        ++g_failures;
        return;
    }
    ChatState *state = chat->chat();
    TqClientContext::instance()->requestChat(QStringLiteral("bob"));
    MessageListModel *bob = state->messages(QStringLiteral("bob"));
    const auto lastSent = [bob] {
        const int n = bob->rowCount();
        return n > 0 && bob->at(n - 1).status == ChatMessage::Status::Sent;
    };
    const auto say = [input](const QString &text) {
        input->setFocus();
        QTest::keyClicks(input, text);
        QTest::keyClick(input, Qt::Key_Return);
    };

    MessageModel::Message m;
    m.sender = QStringLiteral("bob");
    m.msgContent = QStringLiteral("Morning! Did last night's build pass?");
    zssim::injectMessage(zssim::Inbound::Message, m);
    waitFor([bob] { return bob->rowCount() == 1; }, "bob's first message");

    // Bob answers every message with a copy of it.
    setEcho(true);
    say(QStringLiteral("Yes, all green. Sending you the report and the chart."));
    waitFor([bob] { return bob->rowCount() == 3; }, "bob's echo");
    setEcho(false);

    chat->attach(demoFile(dir, QStringLiteral("Q3 report.pdf"), 184 * 1024));
    waitFor(lastSent, "the report");
    chat->attach(demoPicture(dir));
    waitFor(lastSent, "the picture");

    const QString url = QStringLiteral("sim://files/tour/budget 2025.xlsx");
    zssim::Control::withServer(
        [&](zssim::ServerModel &s) { s.messages.files.insert(url, QByteArray(52 * 1024, 'b')); });
    MessageModel::Message file;
    file.sender = QStringLiteral("bob");
    file.msgType = ChatType::File;
    file.fileName = QStringLiteral("budget 2025.xlsx");
    file.fileUrl = url;
    file.fileSize = 52 * 1024;
    zssim::injectMessage(zssim::Inbound::File, file);
    waitFor([bob] { return bob->rowCount() == 6; }, "bob's file");
    shot("mainWindow", "11-chat");

    MessageModel::Message card;
    card.sender = QStringLiteral("bob");
    card.msgType = ChatType::LinkCard;
    card.title = QStringLiteral("Release notes 2.0");
    card.desc = QStringLiteral("What is new in the desktop client: chat, file transfer with "
                               "progress, and voice notes.");
    card.url = QStringLiteral("https://example.test/releases/2.0");
    zssim::injectMessage(zssim::Inbound::File, card);
    waitFor([bob] { return bob->rowCount() == 7; }, "the link card");

    zssim::Control::withServer([](zssim::ServerModel &s) { s.messages.voice.recordMs = 4000; });
    click("mainWindow", "voiceButton");
    waitFor([state] { return state->recorder()->state() == VoiceRecorder::State::Recording; },
            "the recording");
    click("mainWindow", "sendRecordingButton");
    waitFor([bob, lastSent] { return bob->rowCount() == 8 && lastSent(); }, "the voice note");

    say(QStringLiteral("See you at 3 pm in room 4"));
    waitFor([bob, lastSent] { return bob->rowCount() == 9 && lastSent(); }, "the last text");
    state->withdraw(QStringLiteral("bob"), bob->at(8).key);
    waitFor([bob] { return bob->at(8).withdrawn; }, "the withdrawal");

    m.sender = QStringLiteral("carol");
    m.msgContent = QStringLiteral("Can you review the new icons?");
    zssim::injectMessage(zssim::Inbound::Message, m);
    m.msgContent = QStringLiteral("No rush, tomorrow is fine.");
    zssim::injectMessage(zssim::Inbound::Message, m);
    waitFor([state] { return state->messages(QStringLiteral("carol"))->rowCount() == 2; },
            "carol's messages");

    // A large file on its way, held at a third.
    zssim::Control::withServer([](zssim::ServerModel &s) {
        s.messages.chunkSize = 700 * 1024;
        s.messages.holdTransfers = true;
    });
    chat->attach(demoFile(dir, QStringLiteral("screen recording.mp4"), 2100 * 1024));
    waitFor([bob] { return bob->rowCount() == 10 && bob->at(9).done > 0; }, "the upload");
    if (auto *tabs = child<QTabWidget>("mainWindow", "sideTabs"))
        tabs->setCurrentIndex(1);
    shot("mainWindow", "12-chat-media");

    zssim::Control::withServer([](zssim::ServerModel &s) { s.messages.holdTransfers = false; });
    zssim::releaseTransfers();
    waitFor(lastSent, "the end of the upload");
    setEcho(true);
}

void coreTour(bool loginOnly)
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

    chatTour();
    runSteps();
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
    coreTour(loginOnly);
    return g_failures == 0 ? 0 : 1;
}
