// One side of a chat between two clients on a real server, for the two-client picture in
// docs/screenshots (scripts/screenshots.sh --xmpp). It builds the shell as solvane does, logs
// in through the login window, and takes turns with the peer: it says its next line once it
// has the peer's line before it. When both sides have said everything it saves its main
// window, next to <out.png>, which names the peer's picture <peer>.png. The engine is
// whichever libZSsdk.so the process loads.
// Usage: chat_pair <out.png> <user> <peer> <server> <port> <first|second> <line>...

#include "Launcher.h"
#include "Solvane.h"
#include "Tour.h"

#include <ChatState.h>
#include <ChatWindow.h>
#include <MessageListModel.h>
#include <TqClientContext.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QTest>

#include <cstdio>
#include <memory>

namespace {

using namespace tour;

int incomingCount(MessageListModel *conversation)
{
    int n = 0;
    for (int i = 0; i < conversation->rowCount(); ++i)
        n += conversation->at(i).outgoing ? 0 : 1;
    return n;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 8) {
        std::fprintf(stderr,
                     "usage: chat_pair <out.png> <user> <peer> <server> <port> "
                     "<first|second> <line>...\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString user = QString::fromLocal8Bit(argv[2]);
    const QString peer = QString::fromLocal8Bit(argv[3]);
    const bool first = QByteArray(argv[6]) == "first";
    QStringList lines;
    for (int i = 7; i < argc; ++i)
        lines << QString::fromUtf8(argv[i]);
    g_outDir = QFileInfo(out).absolutePath();

    Launcher::Translators translators;
    Launcher::installTranslators(translators);
    TqClientContext::instance()->setQuitsApplication(false);
    const auto shell = std::make_unique<Solvane>(nullptr);

    type("loginWindow", "accountEdit", user);
    type("loginWindow", "passwordEdit", user); // the test accounts' passwords
    type("loginWindow", "serverEdit", QString::fromLocal8Bit(argv[4]));
    type("loginWindow", "portEdit", QString::fromLocal8Bit(argv[5]));
    click("loginWindow", "loginButton");
    waitFor(
        [] {
            auto *list = child<QAbstractItemView>("mainWindow", "contactList");
            return list && list->model() && list->model()->rowCount() >= 1;
        },
        "the contact list");

    auto *chat = child<ChatWindow>("mainWindow", "chatWindow");
    auto *input = child<QPlainTextEdit>("mainWindow", "messageInput");
    if (!chat || !input) {
        std::fprintf(stderr, "chat_pair: no chat in the main window\n");
        return 1;
    }
    TqClientContext::instance()->requestChat(peer);
    MessageListModel *conversation = chat->chat()->messages(peer);
    // Turns: the first side says line k after it has k lines of the peer's, the second
    // after k + 1.
    for (int k = 0; k < lines.size(); ++k) {
        const int needed = first ? k : k + 1;
        const std::function<bool()> peerSpoke = [&] {
            return incomingCount(conversation) >= needed;
        };
        if (!waitFor(peerSpoke, "the peer's line"))
            return 1;
        input->setFocus();
        input->insertPlainText(lines[k]); // keyClicks takes ASCII only
        QTest::keyClick(input, Qt::Key_Return);
    }
    // The peer's last line, and our lines sent and read.
    const int peerLines = first ? lines.size() - 1 : lines.size();
    const std::function<bool()> finished = [&] {
        const int n = conversation->rowCount();
        return incomingCount(conversation) >= peerLines && n > 0
            && (!conversation->at(n - 1).outgoing || conversation->at(n - 1).readByPeer);
    };
    waitFor(finished, "the end of the conversation");
    QTest::qWait(300); // let the last marks paint
    QWidget *w = window("mainWindow");
    if (!w || !w->grab().save(out)) {
        std::fprintf(stderr, "chat_pair: cannot write %s\n", qPrintable(out));
        return 1;
    }
    std::printf("%s\n", qPrintable(out));
    // Stay online until the peer has its picture too: leaving would show as offline there.
    QFile done(out + QStringLiteral(".done"));
    done.open(QIODevice::WriteOnly);
    const QString peerDone = QDir(g_outDir).filePath(peer + QStringLiteral(".png.done"));
    const std::function<bool()> peerFinished = [&] {
        return QFile::exists(peerDone);
    };
    waitFor(peerFinished, "the peer's picture");
    return g_failures == 0 ? 0 : 1;
}
