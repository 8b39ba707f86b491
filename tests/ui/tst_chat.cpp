// The chat: its widget-free state (conversations, messages, the voice recorder) fed by hand,
// then the chat in the main window driven through its widgets against the stand-in engine,
// which plays bob (who echoes every message), carol and the server.

#include "UiTest.h"

#include <ChatFiles.h>
#include <ChatState.h>
#include <ChatText.h>
#include <ChatWindow.h>
#include <ContactListModel.h>
#include <ConversationListModel.h>
#include <IM_Agent.h>
#include <IM_CallBackProxy.h>
#include <LoginWindow.h>
#include <MainWindow.h>
#include <MessageDelegate.h>
#include <MessageListModel.h>
#include <SDK_Agent.h>
#include <TQ_LoginUI.h>
#include <TQ_MainUI.h>
#include <TqClientContext.h>
#include <TqEngineText.h>
#include <TqProfiles.h>
#include <TqSession.h>
#include <VoiceRecorder.h>

#include <AppEnvionmentSetting.h>
#include <ZSsdkControl.h>

#include <QAbstractItemModelTester>
#include <QContextMenuEvent>
#include <QImage>
#include <QInputMethodEvent>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

constexpr int kPatience = 30000;
#define TRY_VERIFY(expr) QTRY_VERIFY_WITH_TIMEOUT(expr, kPatience)
#define TRY_COMPARE(actual, expected) QTRY_COMPARE_WITH_TIMEOUT(actual, expected, kPatience)

using Kind = ChatMessage::Kind;
using Status = ChatMessage::Status;
using Transfer = ChatMessage::Transfer;
using Action = MessageDelegate::Action;

ChatMsgData record(const QString &sender, const QString &receiver, const QString &text,
                   const QString &id, int type = ChatType::Text)
{
    ChatMsgData r;
    r.msgType = type;
    r.sender = sender;
    r.receiver = receiver;
    r.sessionId = sender;
    r.msgContent = text;
    r.msgId = id;
    r.dateCreated = QStringLiteral("2024-03-18 14:05:00");
    return r;
}

// The engine's answer to an own message: its id and the user data the chat gave it.
ChatMsgData answer(const QString &token, const QString &id, int type = ChatType::Text)
{
    ChatMsgData r;
    r.msgType = type;
    r.msgId = id;
    r.userData = token;
    r.sender = QStringLiteral("alice");
    r.receiver = QStringLiteral("bob");
    return r;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &c : bytes)
        c = char(QRandomGenerator::global()->bounded(256));
    return bytes;
}

// A chat logged in as alice, not bound to any agent.
struct Bench
{
    Bench()
    {
        QVERIFY(data.isValid());
        chat.setAccount(QStringLiteral("alice"));
    }

    // Sends a text to bob; returns the token the request carried.
    QString sendToBob(const QString &text)
    {
        const int before = texts.count();
        if (!chat.sendText(QStringLiteral("bob"), text))
            return QString();
        return texts.count() == before + 1 ? texts.last().at(3).toString() : QString();
    }
    MessageListModel *bob() { return chat.messages(QStringLiteral("bob")); }
    const ChatMessage &last() { return bob()->at(bob()->rowCount() - 1); }

    QTemporaryDir data;
    UiScopedEnv dataDir{"TQ_DATA_DIR", data.path().toUtf8()};
    ChatState chat;
    QSignalSpy texts{&chat, &ChatState::sendTextRequest};
    QSignalSpy media{&chat, &ChatState::sendMediaRequest};
    QSignalSpy retries{&chat, &ChatState::retryMediaRequest};
    QSignalSpy downloads{&chat, &ChatState::downloadRequest};
    QSignalSpy cancels{&chat, &ChatState::cancelRequest};
    QSignalSpy reads{&chat, &ChatState::readRequest};
    QSignalSpy problems{&chat, &ChatState::problem};
};

} // namespace

// ---- The widget-free state ------------------------------------------------------------------

class TestChatModels : public QObject
{
    Q_OBJECT

private slots:
    void conversationsKeepTheLatestFirstAndCountUnread()
    {
        ConversationListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy totals(&model, &ConversationListModel::totalUnreadChanged);
        ChatMessage m;
        m.text = QStringLiteral("first\nline");
        m.time = QDateTime::currentDateTime();
        model.messageAdded(QStringLiteral("bob"), m);
        model.messageAdded(QStringLiteral("carol"), m);
        QCOMPARE(model.peers(), QStringList({"carol", "bob"}));
        model.messageAdded(QStringLiteral("bob"), m);
        QCOMPARE(model.peers(), QStringList({"bob", "carol"}));
        QCOMPARE(model.index(0).data(ConversationListModel::PreviewRole).toString(),
                 QStringLiteral("first line"));
        model.ensure(QStringLiteral("bob")); // listed already: stays where it is
        model.ensure(QStringLiteral("dave"));
        QCOMPARE(model.peers(), QStringList({"dave", "bob", "carol"}));

        model.setUnread(QStringLiteral("bob"), 2);
        model.setUnread(QStringLiteral("carol"), 3);
        QCOMPARE(model.totalUnread(), 5);
        model.setUnread(QStringLiteral("bob"), 0);
        QCOMPARE(model.totalUnread(), 3);
        QCOMPARE(totals.count(), 3);
        QCOMPARE(totals.last().at(0).toInt(), 3);

        model.setDisplayName(QStringLiteral("bob"), QStringLiteral("Bob Li"));
        QCOMPARE(model.index(1).data(ConversationListModel::DisplayNameRole).toString(),
                 QStringLiteral("Bob Li"));
        m.withdrawn = true;
        model.setLast(QStringLiteral("bob"), &m);
        QCOMPARE(model.index(1).data(ConversationListModel::PreviewRole).toString(),
                 ChatText::withdrawn(m, QStringLiteral("Bob Li")));
        model.setLast(QStringLiteral("bob"), nullptr);
        QVERIFY(model.index(1).data(ConversationListModel::PreviewRole).toString().isEmpty());
        model.clear();
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.totalUnread(), 0);
    }

    void messagesAreSeenOnceAndWithdrawnOnesDoNotCount()
    {
        MessageListModel model(QStringLiteral("bob"));
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const auto message = [](const QString &key, const QString &id, bool outgoing) {
            ChatMessage m;
            m.key = key;
            m.msgId = id;
            m.outgoing = outgoing;
            return m;
        };
        model.append(message("a", "id-a", false));
        model.append(message("b", "id-b", true));
        model.append(message("c", "", false));
        model.append(message("d", "id-d", false));
        QCOMPARE(model.unreadCount(), 3);
        QVERIFY(model.update("d", [](ChatMessage &m) { m.withdrawn = true; }));
        QCOMPARE(model.unreadCount(), 2);
        // Receipts go for received messages with an id, not for withdrawn ones.
        QCOMPARE(model.markAllSeen(), QStringList({"id-a"}));
        QCOMPARE(model.unreadCount(), 0);
        QVERIFY(model.markAllSeen().isEmpty());
        QVERIFY(model.remove("b"));
        QCOMPARE(model.keys(), QStringList({"a", "c", "d"}));
        QVERIFY(!model.update("b", [](ChatMessage &) {}));
        QCOMPARE(model.rowOf("d"), 2);
    }

    void ownMessagesFollowTheEnginesAnswersInAnyOrder()
    {
        Bench b;
        const QString token = b.sendToBob(QStringLiteral("hi"));
        QVERIFY(!token.isEmpty());
        QCOMPARE(b.texts.last().mid(0, 3), (QVariantList{"bob", "hi", ChatType::Text}));
        QCOMPARE(b.last().status, Status::Pending);

        // The result overtakes the pre-send record.
        b.chat.onSendText(200, answer(token, "msg-1"));
        QCOMPARE(b.last().status, Status::Sent);
        QCOMPARE(b.last().msgId, QStringLiteral("msg-1"));
        b.chat.onPreSendText(0, answer(token, "msg-1"));
        QCOMPARE(b.last().status, Status::Sent);

        // Another window's message with other user data changes nothing.
        b.chat.onSendText(500, answer(QStringLiteral("someone else"), "msg-9"));
        QCOMPARE(b.last().status, Status::Sent);
        QCOMPARE(b.bob()->rowCount(), 1);

        // Refused at once by the engine: failed, and sent again on retry.
        const QString second = b.sendToBob(QStringLiteral("again"));
        b.chat.onPreSendText(1004, answer(second, QString()));
        QCOMPARE(b.last().status, Status::Failed);
        QCOMPARE(b.last().reason, 1004);
        QVERIFY(b.last().canRetry());
        QCOMPARE(ChatText::status(b.last()),
                 ChatText::tr("Not sent: %1").arg(TqEngineText::error(1004)));
        QCOMPARE(b.chat.conversations()->index(0).data(ConversationListModel::LastFailedRole),
                 QVariant(true));
        QVERIFY(b.chat.retry(QStringLiteral("bob"), b.last().key));
        QCOMPARE(b.texts.count(), 3);
        QCOMPARE(b.texts.last().at(1).toString(), QStringLiteral("again"));
        QCOMPARE(b.last().status, Status::Pending);
        b.chat.onSendText(200, answer(second, "msg-2"));
        QCOMPARE(b.last().status, Status::Sent);
        QVERIFY(!b.chat.retry(QStringLiteral("bob"), b.last().key)); // sent: nothing to retry
    }

    void tooLongOrBlankTextsAreNotSent()
    {
        Bench b;
        QVERIFY(!b.chat.sendText(QStringLiteral("bob"), QStringLiteral(" \n\t ")));
        const QString most(ChatState::kMaxTextBytes / 3, QChar(0x4f60)); // 3 bytes each
        QVERIFY(b.chat.sendText(QStringLiteral("bob"), most));
        QVERIFY(!b.chat.sendText(QStringLiteral("bob"), most + QLatin1Char('!') + most));
        QCOMPARE(b.problems.count(), 1);
        QCOMPARE(b.texts.count(), 1);
        ChatState loggedOut;
        QVERIFY(!loggedOut.sendText(QStringLiteral("bob"), QStringLiteral("hi")));
    }

    void uploadProgressCancelAndRetryKeepOneMessage()
    {
        Bench b;
        const QString path = b.data.filePath(QStringLiteral("report.pdf"));
        QVERIFY(writeFile(path, QByteArray(1000, 'x')));
        QVERIFY(b.chat.sendFile(QStringLiteral("bob"), path));
        QCOMPARE(b.media.count(), 1);
        const QVariantList request = b.media.last();
        QCOMPARE(request.at(0).toString(), QStringLiteral("bob"));
        QCOMPARE(request.at(1).toString(), QFileInfo(path).absoluteFilePath());
        QCOMPARE(request.at(2).toInt(), ChatType::File);
        const QString token = request.at(3).toString();
        const QString key = b.last().key;
        QCOMPARE(b.last().kind, Kind::File);
        QCOMPARE(b.last().fileSize, 1000);
        QVERIFY(!b.chat.cancelTransfer(QStringLiteral("bob"), key)); // no transfer key yet

        // Progress before the pre-send record: known by the token.
        b.chat.onProgress(7, 250, 1000, answer(token, "msg-5", ChatType::File));
        QCOMPARE(b.last().transferKey, 7);
        QCOMPARE(b.bob()->index(0).data(MessageListModel::ProgressRole).toInt(), 25);
        b.chat.onPreSendMedia(0, answer(token, "msg-5", ChatType::File));
        // Progress of another transfer does not move this one.
        b.chat.onProgress(8, 900, 1000, answer(QStringLiteral("x"), "msg-77", ChatType::File));
        QCOMPARE(b.last().done, 250);

        QVERIFY(b.chat.cancelTransfer(QStringLiteral("bob"), key));
        QCOMPARE(b.cancels.last().at(0).toInt(), 7);
        b.chat.onSendMedia(ChatReason::Cancelled, answer(token, "msg-5", ChatType::File));
        QCOMPARE(b.last().status, Status::Failed);
        QCOMPARE(ChatText::status(b.last()), ChatText::tr("Cancelled"));
        QCOMPARE(b.last().transferKey, -1);

        // The retry names the old id; the engine's new one replaces it.
        QVERIFY(b.chat.retry(QStringLiteral("bob"), key));
        QCOMPARE(b.retries.count(), 1);
        const QVariantList retry = b.retries.last();
        QCOMPARE(retry.at(1).toString(), QFileInfo(path).absoluteFilePath());
        QCOMPARE(retry.at(3).toString(), token);
        QVERIFY(!retry.at(6).toString().isEmpty()); // an upload uuid
        QCOMPARE(retry.at(8).toString(), QStringLiteral("msg-5"));
        QCOMPARE(b.last().status, Status::Pending);
        QCOMPARE(b.last().transfer, Transfer::Running);
        b.chat.onRetryId(QStringLiteral("msg-5"), QStringLiteral("msg-6"));
        QCOMPARE(b.last().msgId, QStringLiteral("msg-6"));
        b.chat.onProgress(9, 1000, 1000, answer(token, "msg-6", ChatType::File));
        b.chat.onSendMedia(200, answer(token, "msg-6", ChatType::File));
        QCOMPARE(b.last().status, Status::Sent);
        QCOMPARE(b.last().transfer, Transfer::Done);
        QCOMPARE(b.bob()->rowCount(), 1);

        // A retry the engine refuses (no new id) fails again.
        b.chat.onSendMedia(500, answer(token, "msg-6", ChatType::File));
        QVERIFY(b.chat.retry(QStringLiteral("bob"), key));
        b.chat.onRetryId(QStringLiteral("msg-6"), QString());
        QCOMPARE(b.last().status, Status::Failed);
        QCOMPARE(b.last().transfer, Transfer::Failed);

        // A file that is gone is not retried.
        QVERIFY(QFile::remove(path));
        QVERIFY(!b.chat.retry(QStringLiteral("bob"), key));
        QCOMPARE(b.problems.count(), 1);
    }

    void receivedMessagesCountUntilSeenAndConferenceOnesStayOut()
    {
        Bench b;
        QSignalSpy arrived(&b.chat, &ChatState::messageArrived);
        b.chat.onReceiveMessage(record("bob", "alice", "one", "r1"));
        b.chat.onReceiveMessage(record("bob", "alice", "one", "r1")); // delivered twice
        b.chat.onReceiveMessage(record("bob", "alice", "conf", "r2", ChatType::Conference));
        b.chat.onReceiveOfflineMessage(
            record("carol", "alice", "conf", "r3", ChatType::Conference));
        b.chat.onReceiveMessage(record("carol", "alice", "two", "r4"));
        QCOMPARE(b.bob()->rowCount(), 1);
        QCOMPARE(b.chat.messages(QStringLiteral("carol"))->rowCount(), 1);
        QCOMPARE(arrived.count(), 2);
        QCOMPARE(b.chat.conversations()->unread(QStringLiteral("bob")), 1);
        QCOMPARE(b.chat.conversations()->totalUnread(), 2);
        QCOMPARE(b.chat.conversations()->peers(), QStringList({"carol", "bob"}));
        QVERIFY(b.reads.isEmpty());

        b.chat.setViewing(QStringLiteral("bob"));
        QCOMPARE(b.reads.count(), 1);
        QCOMPARE(b.reads.last().at(0).toString(), QStringLiteral("r1"));
        QCOMPARE(b.chat.conversations()->unread(QStringLiteral("bob")), 0);
        // While in view, a new one is read as it comes.
        b.chat.onReceiveMessage(record("bob", "alice", "three", "r5"));
        QCOMPARE(b.reads.last().at(0).toString(), QStringLiteral("r5"));
        QCOMPARE(b.chat.conversations()->totalUnread(), 1);
        b.chat.setViewing(QString());
        b.chat.onReceiveMessage(record("bob", "alice", "four", "r6"));
        QCOMPARE(b.reads.count(), 2);
        QCOMPARE(b.chat.conversations()->totalUnread(), 2);

        // Own messages sent from elsewhere are in the peer's conversation, not unread.
        b.chat.onReceiveMessage(record("alice", "carol", "mine", "r7"));
        QCOMPARE(b.chat.messages(QStringLiteral("carol"))->rowCount(), 2);
        QVERIFY(b.chat.messages(QStringLiteral("carol"))->at(1).outgoing);
        QCOMPARE(b.chat.conversations()->unread(QStringLiteral("carol")), 1);
    }

    void withdrawalsAreAnsweredInOrderAndOnlyBySenders()
    {
        Bench b;
        const QString t1 = b.sendToBob(QStringLiteral("one"));
        b.chat.onSendText(200, answer(t1, "w1"));
        const QString t2 = b.sendToBob(QStringLiteral("two"));
        b.chat.onSendText(200, answer(t2, "w2"));
        const QString k1 = b.bob()->at(0).key;
        const QString k2 = b.bob()->at(1).key;
        QSignalSpy withdrawals(&b.chat, &ChatState::withdrawRequest);
        QVERIFY(b.chat.withdraw(QStringLiteral("bob"), k1));
        QVERIFY(b.chat.withdraw(QStringLiteral("bob"), k2));
        QCOMPARE(withdrawals.at(0), (QVariantList{"w1", "bob", "alice", ChatType::Text}));
        b.chat.onWithdrawResult(403);
        b.chat.onWithdrawResult(200);
        QVERIFY(!b.bob()->at(0).withdrawn);
        QVERIFY(b.bob()->at(1).withdrawn);
        QCOMPARE(b.problems.count(), 1);
        QVERIFY(!b.chat.withdraw(QStringLiteral("bob"), k2)); // withdrawn already

        b.chat.onReceiveMessage(record("bob", "alice", "oops", "p1"));
        ChatMsgData notice = record("carol", "alice", QString(), "p1", ChatType::WithdrawNotice);
        b.chat.onNotice(notice); // carol cannot take back bob's message
        QVERIFY(!b.last().withdrawn);
        QCOMPARE(b.chat.conversations()->unread(QStringLiteral("bob")), 1);
        notice.sender = QStringLiteral("bob");
        b.chat.onNotice(notice);
        QVERIFY(b.last().withdrawn);
        QCOMPARE(b.chat.conversations()->unread(QStringLiteral("bob")), 0);
        QCOMPARE(b.chat.conversations()->index(0).data(ConversationListModel::PreviewRole),
                 QVariant(ChatText::tr("%1 withdrew a message").arg("bob")));

        // A read notice from the peer marks an own message read; anyone else's does not.
        ChatMsgData read = record("carol", "alice", QString(), "w1", ChatType::ReadNotice);
        b.chat.onNotice(read);
        QVERIFY(!b.bob()->at(0).readByPeer);
        read.sender = QStringLiteral("bob");
        b.chat.onNotice(read);
        QVERIFY(b.bob()->at(0).readByPeer);
        QCOMPARE(ChatText::status(b.bob()->at(0)), ChatText::tr("Read"));
    }

    void downloadsStayInTheUsersFolder()
    {
        Bench b;
        ChatMsgData file = record("bob", "alice", QString(), "f1", ChatType::File);
        file.fileName = QStringLiteral("../../.bashrc");
        file.fileUrl = QStringLiteral("sim://files/1/x");
        file.fileSize = 10;
        b.chat.onReceiveFile(file);
        file.msgId = QStringLiteral("f2");
        file.fileName = QStringLiteral("C:\\Windows\\evil.exe");
        b.chat.onReceiveFile(file);
        file.msgId = QStringLiteral("f3");
        b.chat.onReceiveFile(file);
        QCOMPARE(b.last().kind, Kind::File);
        QVERIFY(b.downloads.isEmpty()); // files wait for a click

        const QString dir = b.chat.downloadDir();
        QVERIFY(dir.startsWith(b.data.path()));
        QVERIFY(dir.contains(QStringLiteral("/alice/")));
        for (const QString &key : b.bob()->keys())
            QVERIFY(b.chat.download(QStringLiteral("bob"), key));
        QCOMPARE(b.downloads.count(), 3);
        QCOMPARE(b.downloads.at(0).at(3).toString(), dir + QStringLiteral("bashrc"));
        QCOMPARE(b.downloads.at(1).at(3).toString(), dir + QStringLiteral("evil.exe"));
        // Two downloads on their way to one name get two files.
        QCOMPARE(b.downloads.at(2).at(3).toString(), dir + QStringLiteral("evil (2).exe"));
        QCOMPARE(b.downloads.at(0).mid(0, 3), (QVariantList{"bob", "alice", file.fileUrl}));
        QCOMPARE(b.downloads.at(0).at(4).toString(), QStringLiteral("f1"));
        QVERIFY(!b.chat.download(QStringLiteral("bob"), b.bob()->at(0).key)); // on its way

        // Failed: no file is claimed; the user may try again.
        b.chat.onDownloadComplete(404, answer(QString(), "f1", ChatType::File));
        QCOMPARE(b.bob()->at(0).transfer, Transfer::Failed);
        QVERIFY(b.bob()->at(0).localFile.isEmpty());
        QCOMPARE(b.problems.count(), 1);
        // Done: the file is where the chat asked for it.
        QVERIFY(writeFile(dir + QStringLiteral("evil.exe"), "0123456789"));
        b.chat.onDownloadComplete(200, answer(QString(), "f2", ChatType::File));
        QVERIFY(b.bob()->at(1).hasLocalFile());
        // Cancelled: back to "not downloaded".
        b.chat.onDownloadComplete(ChatReason::Cancelled, answer(QString(), "f3", ChatType::File));
        QCOMPARE(b.bob()->at(2).transfer, Transfer::None);
        QVERIFY(b.bob()->at(2).canDownload());
    }

    void safeNames_data()
    {
        QTest::addColumn<QString>("remote");
        QTest::addColumn<QString>("safe");
        QTest::newRow("plain") << "report.pdf"
                               << "report.pdf";
        QTest::newRow("up") << "../../etc/passwd"
                            << "passwd";
        QTest::newRow("windows") << "C:\\x\\..\\y.txt"
                                 << "y.txt";
        QTest::newRow("dots") << ".."
                              << "file";
        QTest::newRow("hidden") << ".profile"
                                << "profile";
        QTest::newRow("reserved") << "a<b>:c|d?.txt"
                                  << "a_b__c_d_.txt";
        QTest::newRow("control") << QStringLiteral("a\nb\u202Ec.txt") << "a_b_c.txt";
        QTest::newRow("trailing") << "name. . "
                                  << "name";
        QTest::newRow("empty") << ""
                               << "file";
        QTest::newRow("chinese") << "报告.docx"
                                 << "报告.docx";
    }

    void safeNames()
    {
        QFETCH(QString, remote);
        QFETCH(QString, safe);
        QCOMPARE(ChatFiles::safeName(remote), safe);
    }

    void longNamesKeepTheirSuffix()
    {
        const QString name = ChatFiles::safeName(QString(300, QLatin1Char('a')) + ".tar.gz");
        QCOMPARE(name.size(), 120);
        QVERIFY(name.endsWith(QStringLiteral(".gz")));
        // Never half a surrogate pair.
        QString faces = QStringLiteral("a");
        for (int i = 0; i < 100; ++i)
            faces += QString::fromUtf8("\xF0\x9F\x98\x80");
        const QString cut = ChatFiles::safeName(faces + QStringLiteral(".txt"));
        QVERIFY(cut.endsWith(QStringLiteral(".txt")));
        QVERIFY(!cut.at(cut.size() - 5).isHighSurrogate());
        QVERIFY(cut.size() <= 120);
    }

    void recordsBecomeMessages()
    {
        ChatMsgData card = record("bob", "alice", QString(), "l1", ChatType::LinkCard);
        const QJsonObject json{{"desc", "What changed"},
                               {"imgPath", ""},
                               {"title", "Release notes"},
                               {"url", "https://example.test/n"}};
        card.userData = QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact));
        ChatMessage m = ChatState::fromRecord(card, QStringLiteral("alice"));
        QCOMPARE(m.kind, Kind::LinkCard);
        QCOMPARE(m.linkTitle, QStringLiteral("Release notes"));
        QCOMPARE(m.linkDesc, QStringLiteral("What changed"));
        QCOMPARE(m.linkUrl, QStringLiteral("https://example.test/n"));
        QCOMPARE(m.peer, QStringLiteral("bob"));
        QVERIFY(!m.outgoing);
        // Without JSON, the record's own fields.
        card.userData.clear();
        card.title = QStringLiteral("Fallback");
        QCOMPARE(ChatState::fromRecord(card, QStringLiteral("alice")).linkTitle,
                 QStringLiteral("Fallback"));

        ChatMsgData odd = record("bob", "alice", QString(), "o1", 99);
        QCOMPARE(ChatState::fromRecord(odd, "alice").kind, Kind::Unsupported);
        odd.fileUrl = QStringLiteral("sim://f");
        QCOMPARE(ChatState::fromRecord(odd, "alice").kind, Kind::File);
        ChatMsgData group = record("bob", "g100", "hi", "g1");
        group.sessionType = 1;
        group.sessionId = QStringLiteral("g100");
        QCOMPARE(ChatState::fromRecord(group, "alice").peer, QStringLiteral("g100"));

        QCOMPARE(ChatState::parseTime(QStringLiteral("2024-03-18 14:05:09")),
                 QDateTime(QDate(2024, 3, 18), QTime(14, 5, 9)));
        QCOMPARE(ChatState::parseTime(QStringLiteral("1710770709000")),
                 QDateTime::fromMSecsSinceEpoch(1710770709000));
        QVERIFY(!ChatState::parseTime(QStringLiteral("junk")).isValid());
        const QDateTime now(QDate(2024, 3, 18), QTime(16, 0));
        QCOMPARE(ChatText::shortTime(QDateTime(QDate(2024, 3, 18), QTime(9, 7)), now),
                 QStringLiteral("09:07"));
        QCOMPARE(ChatText::shortTime(QDateTime(QDate(2024, 3, 17), QTime(9, 7)), now),
                 ChatText::tr("Yesterday %1").arg("09:07"));
        QCOMPARE(ChatText::shortTime(QDateTime(QDate(2023, 3, 17), QTime(9, 7)), now),
                 QStringLiteral("2023-03-17 09:07"));
        QCOMPARE(ChatText::voiceLength(400), ChatText::tr("%1″").arg(1));
        QCOMPARE(ChatText::voiceLength(65000), ChatText::tr("%1′%2″").arg(1).arg("05"));
        QCOMPARE(ChatText::size(1536), ChatText::tr("%1 KB").arg("1.5"));
    }

    void voiceRecorderSendsOnlyNotesLongEnough()
    {
        QTemporaryDir dir;
        VoiceRecorder recorder;
        QSignalSpy starts(&recorder, &VoiceRecorder::startRequest);
        QSignalSpy stops(&recorder, &VoiceRecorder::stopRequest);
        QSignalSpy queries(&recorder, &VoiceRecorder::durationQuery);
        QSignalSpy recorded(&recorder, &VoiceRecorder::recorded);
        QSignalSpy failed(&recorder, &VoiceRecorder::failed);
        const QString file = dir.filePath(QStringLiteral("note.wav"));

        // The engine refuses to start.
        QVERIFY(recorder.start(QStringLiteral("bob"), file));
        QVERIFY(!recorder.start(QStringLiteral("carol"), file)); // one at a time
        QCOMPARE(starts.last(), (QVariantList{file, "bob"}));
        recorder.onStartResult(1006);
        QCOMPARE(recorder.state(), VoiceRecorder::State::Idle);
        QCOMPARE(failed.count(), 1);

        // Too short.
        QVERIFY(recorder.start(QStringLiteral("bob"), file));
        recorder.onStartResult(0);
        QCOMPARE(recorder.state(), VoiceRecorder::State::Recording);
        QVERIFY(writeFile(file, "RIFF"));
        recorder.finish();
        QCOMPARE(stops.last().at(0).toInt(), 1);
        recorder.onStopped();
        QCOMPARE(queries.count(), 1);
        ChatMsgData query = queries.last().at(0).value<ChatMsgData>();
        QCOMPARE(query.fileName, file);
        recorder.onDuration(query, VoiceRecorder::kMinimumMs - 1);
        QCOMPARE(failed.count(), 2);
        QVERIFY(recorded.isEmpty());
        QVERIFY(!QFile::exists(file));

        // Long enough; an answer for another file is not this one's.
        QVERIFY(recorder.start(QStringLiteral("bob"), file));
        recorder.onStartResult(0);
        recorder.onAmplitude(0.4, QStringLiteral("carol"));
        QCOMPARE(recorder.level(), 0.0);
        recorder.onAmplitude(0.4, QStringLiteral("bob"));
        QCOMPARE(recorder.level(), 0.4);
        recorder.finish();
        recorder.onStopped();
        query = queries.last().at(0).value<ChatMsgData>();
        ChatMsgData other = query;
        other.fileName = dir.filePath(QStringLiteral("other.wav"));
        recorder.onDuration(other, 3000);
        QVERIFY(recorded.isEmpty());
        recorder.onDuration(query, 3000);
        QCOMPARE(recorded.last(), (QVariantList{"bob", file, 3000}));
        QCOMPARE(recorder.state(), VoiceRecorder::State::Idle);

        // The time limit stops it; the note goes out as it is.
        QVERIFY(recorder.start(QStringLiteral("bob"), file));
        recorder.onStartResult(0);
        recorder.onTimeOut(60000, QStringLiteral("bob"));
        recorder.onDuration(queries.last().at(0).value<ChatMsgData>(), 60000);
        QCOMPARE(recorded.count(), 2);

        // Cancelled: the file goes once the engine has let go of it.
        QVERIFY(recorder.start(QStringLiteral("bob"), file));
        recorder.onStartResult(0);
        QVERIFY(writeFile(file, "RIFF"));
        recorder.cancel();
        QVERIFY(QFile::exists(file));
        recorder.onStopped();
        QVERIFY(!QFile::exists(file));
        QCOMPARE(recorded.count(), 2);
        QCOMPARE(recorder.state(), VoiceRecorder::State::Idle);
    }

    void bubblesFollowTheFont()
    {
        QListView view;
        view.resize(800, 600);
        MessageListModel model(QStringLiteral("bob"));
        ChatMessage m;
        m.key = QStringLiteral("k");
        m.text = QStringLiteral("A message long enough to be broken into a few lines when the "
                                "view is narrow, and in one line when it is wide.");
        m.time = QDateTime::currentDateTime();
        model.append(m);
        MessageDelegate delegate(&view);
        QStyleOptionViewItem small;
        small.font.setPixelSize(12);
        small.fontMetrics = QFontMetrics(small.font);
        small.rect = QRect(0, 0, 800, 0);
        QStyleOptionViewItem large = small;
        large.font.setPixelSize(24);
        large.fontMetrics = QFontMetrics(large.font);
        const MessageDelegate::Layout a = delegate.layout(small, m);
        const MessageDelegate::Layout b = delegate.layout(large, m);
        QVERIFY2(b.height >= a.height * 17 / 10,
                 qPrintable(QStringLiteral("%1 -> %2").arg(a.height).arg(b.height)));
        // Own on the right, received on the left.
        QVERIFY(a.bubble.left() < 400);
        m.outgoing = true;
        m.status = Status::Failed;
        const MessageDelegate::Layout own = delegate.layout(small, m);
        QVERIFY(own.bubble.right() > 400);
        QCOMPARE(own.linkAction, Action::Retry);
        QVERIFY(own.link.top() > own.bubble.bottom());
    }
};
TQ_UI_TEST(TestChatModels)

// ---- The chat in the main window, against the stand-in -----------------------------------------

class TestChatWindows : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<UiScopedEnv> m_dataEnv;
    std::unique_ptr<UiScopedEnv> m_configEnv;
    TQ_LoginUI *m_loginUi = nullptr;
    TQ_MainUI *m_mainUi = nullptr;
    QList<QUrl> m_opened;

    MainWindow *mainWindow() const { return m_mainUi->window(); }
    ChatWindow *chatWindow() const { return mainWindow()->chatWindow(); }
    ChatState *chat() const { return m_mainUi->chat(); }
    MessageListModel *thread(const QString &peer) const { return chat()->messages(peer); }
    ChatInput *input() const { return chatWindow()->input(); }
    QWidget *viewport() const { return chatWindow()->messageView()->viewport(); }
    template<class T> T *inMain(const char *name) const
    {
        return mainWindow()->findChild<T *>(QLatin1String(name));
    }
    template<class T> T *inLogin(const char *name) const
    {
        return m_loginUi->window()->findChild<T *>(QLatin1String(name));
    }

    static void typeInto(QLineEdit *edit, const QString &text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    bool logIn()
    {
        typeInto(inLogin<QLineEdit>("accountEdit"), QStringLiteral("alice"));
        typeInto(inLogin<QLineEdit>("passwordEdit"), QStringLiteral("alice"));
        QTest::mouseClick(inLogin<QPushButton>("loginButton"), Qt::LeftButton);
        return QTest::qWaitFor(
                   [&] {
                       return mainWindow()->isVisible() && mainWindow()->contacts()->rowCount() == 2
                           && TqProfiles::instance()->pendingQueries() == 0;
                   },
                   kPatience)
            && zssim::Control::waitIdle(kPatience);
    }

    bool logOut()
    {
        if (!TqSession::instance()->isLoggedIn())
            return true;
        QTest::mouseClick(inMain<QPushButton>("logoutButton"), Qt::LeftButton);
        return QTest::qWaitFor([&] { return m_loginUi->window()->isVisible(); }, kPatience)
            && zssim::Control::waitIdle(kPatience);
    }

    // Opens bob's conversation as a person does: the contact's menu, "Send message".
    void openChatFromContactMenu(const QString &user)
    {
        auto *list = inMain<QListView>("contactList");
        const QAbstractItemModel *shown = list->model();
        QModelIndex at;
        for (int row = 0; row < shown->rowCount(); ++row) {
            if (shown->index(row, 0).data(ContactListModel::UserRole).toString() == user)
                at = shown->index(row, 0);
        }
        QVERIFY(at.isValid());
        const QPoint point = list->visualRect(at).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, point,
                                list->viewport()->mapToGlobal(point));
        QApplication::sendEvent(list->viewport(), &event);
        QMenu *menu = nullptr;
        TRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())));
        QAction *action = menu->findChild<QAction *>(QStringLiteral("chatAction"));
        QVERIFY(action);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        TRY_COMPARE(chatWindow()->peer(), user);
    }

    void typeAndSend(const QString &text)
    {
        input()->setFocus();
        QTest::keyClicks(input(), text);
        QTest::keyClick(input(), Qt::Key_Return);
    }

    // The first message in the conversation after `from` that `pred` accepts, or null.
    template<class Pred>
    static const ChatMessage *findMessage(MessageListModel *model, Pred pred, int from = 0)
    {
        for (int row = from; row < model->rowCount(); ++row) {
            if (pred(model->at(row)))
                return &model->at(row);
        }
        return nullptr;
    }
    static const ChatMessage *byKey(MessageListModel *model, const QString &key)
    {
        return model->find(key);
    }

    void click(const QString &key, Action action)
    {
        const QRect rect = chatWindow()->actionRect(key, action);
        QVERIFY2(!rect.isEmpty(),
                 qPrintable(QStringLiteral("no %1 on %2").arg(int(action)).arg(key)));
        QTest::mouseClick(viewport(), Qt::LeftButton, {}, rect.center());
    }

    QMenu *messageMenu(const QString &key)
    {
        const QRect bubble = chatWindow()->bubbleRect(key);
        if (bubble.isEmpty())
            return nullptr;
        QContextMenuEvent event(QContextMenuEvent::Mouse, bubble.center(),
                                viewport()->mapToGlobal(bubble.center()));
        QApplication::sendEvent(viewport(), &event);
        QMenu *menu = nullptr;
        (void)QTest::qWaitFor(
            [&] { return (menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())); },
            kPatience);
        return menu;
    }

    void choose(QMenu *menu, const char *action)
    {
        QAction *item = menu->findChild<QAction *>(QLatin1String(action));
        QVERIFY2(item, action);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }

    static void setTransfers(qint64 chunk, bool hold)
    {
        zssim::Control::withServer([=](zssim::ServerModel &s) {
            s.messages.chunkSize = chunk;
            s.messages.holdTransfers = hold;
        });
    }

    static QList<zssim::CallRecord> calls(const char *function)
    {
        return zssim::Control::calls(QLatin1String(function));
    }

    // The ids the engine was told the user has read.
    static QStringList readIds()
    {
        QStringList ids;
        for (const zssim::CallRecord &call : calls("ReadMessage"))
            ids << QString::fromUtf8(call.args.value(1).toByteArray());
        return ids;
    }

    QString tempFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("out/") + name);
        QDir().mkpath(QFileInfo(path).path());
        return writeFile(path, bytes) ? path : QString();
    }

    // The message from bob that echoes the own message `key`.
    const ChatMessage *echoOf(const QString &key)
    {
        MessageListModel *bob = thread(QStringLiteral("bob"));
        const int row = bob->rowOf(key);
        if (row < 0)
            return nullptr;
        const ChatMessage own = bob->at(row);
        return findMessage(
            bob,
            [&](const ChatMessage &m) {
                return !m.outgoing && m.type == own.type && m.text == own.text
                    && m.fileName == own.fileName;
            },
            row + 1);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_dataEnv = std::make_unique<UiScopedEnv>("TQ_DATA_DIR",
                                                  m_dir.filePath(QStringLiteral("data")).toUtf8());
        m_configEnv = std::make_unique<UiScopedEnv>(
            "TQ_CONFIG_FILE", m_dir.filePath(QStringLiteral("tq.ini")).toUtf8());
        AppEnvionmentSetting::instance()->initConfig();
        TqClientContext::instance()->setQuitsApplication(false);
        TqClientContext::instance()->setLoggedOut();
        m_loginUi = new TQ_LoginUI;
        m_mainUi = new TQ_MainUI;
        // An engine reset by an earlier test forgets the table the agent registered once.
        if (!zssim::Control::table<ZS_MessageCallBack>())
            IM_CallBackProxy::instance()->registerCallbacks();
        chatWindow()->setUrlOpener([this](const QUrl &url) { m_opened << url; });
        QVERIFY(QTest::qWaitForWindowExposed(m_loginUi->window(), kPatience));
        QVERIFY(logIn());
    }

    void init()
    {
        zssim::Control::setMode(zssim::Mode::Automatic);
        zssim::Control::withServer([](zssim::ServerModel &s) {
            s.accounts = zssim::population::accounts();
            s.messages.echoContact = QStringLiteral("bob");
            s.messages.sendTextReason = 0;
            s.messages.chunkSize = 64 * 1024;
            s.messages.holdTransfers = false;
            s.messages.voice = MessageModel::Voice();
        });
        if (!TqSession::instance()->isLoggedIn())
            QVERIFY(logIn());
        QVERIFY(mainWindow()->isVisible());
        zssim::Control::clearJournal();
        m_opened.clear();
    }

    void cleanupTestCase()
    {
        QVERIFY(logOut());
        delete m_mainUi;
        delete m_loginUi;
        TqClientContext::instance()->setQuitsApplication(true);
        m_dataEnv.reset();
        m_configEnv.reset();
        AppEnvionmentSetting::instance()->initConfig();
    }

    void enterSendsAndBobsEchoIsShownAndRead()
    {
        openChatFromContactMenu(QStringLiteral("bob"));
        MessageListModel *bob = thread(QStringLiteral("bob"));
        const int before = bob->rowCount();
        typeAndSend(QStringLiteral("Hello Bob"));
        QVERIFY(input()->toPlainText().isEmpty());
        QCOMPARE(bob->rowCount(), before + 1);
        const QString key = bob->at(before).key;
        QCOMPARE(bob->at(before).status, Status::Pending);
        TRY_COMPARE(byKey(bob, key)->status, Status::Sent);
        const QList<zssim::CallRecord> sent = calls("SendTextMessageEX");
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.at(0).args.mid(0, 3),
                 (QVariantList{QByteArray("bob"), QByteArray("Hello Bob"), ChatType::Text}));

        // Bob answers with a copy, shown on his side and read at once: the chat is in view.
        TRY_VERIFY(echoOf(key));
        const ChatMessage echo = *echoOf(key);
        QCOMPARE(echo.sender, QStringLiteral("bob"));
        QVERIFY(!echo.msgId.isEmpty());
        TRY_VERIFY(readIds().contains(echo.msgId));
        QCOMPARE(mainWindow()->chat()->conversations()->unread(QStringLiteral("bob")), 0);
        bool receipted = false;
        zssim::Control::withServer([&](zssim::ServerModel &s) {
            receipted = s.messages.receipts.value(QStringLiteral("bob")).contains(echo.msgId);
        });
        QVERIFY(receipted);

        // Shift+Enter breaks the line; Enter sends both lines as one message.
        input()->setFocus();
        QTest::keyClicks(input(), QStringLiteral("first line"));
        QTest::keyClick(input(), Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(input(), QStringLiteral("second line"));
        QCOMPARE(bob->rowCount(), before + 2);
        QTest::keyClick(input(), Qt::Key_Enter);
        TRY_COMPARE(bob->rowCount(), before + 4);
        QCOMPARE(bob->at(before + 2).text, QStringLiteral("first line\nsecond line"));

        // A message for bob while carol's conversation is in view waits unread.
        TqClientContext::instance()->requestChat(QStringLiteral("carol"));
        QCOMPARE(chatWindow()->peer(), QStringLiteral("carol"));
        MessageModel::Message note;
        note.sender = QStringLiteral("bob");
        note.msgContent = QStringLiteral("Are you there?");
        const QString noteId = zssim::injectMessage(zssim::Inbound::Message, note);
        ConversationListModel *conversations = chat()->conversations();
        TRY_COMPARE(conversations->unread(QStringLiteral("bob")), 1);
        auto *tabs = inMain<QTabWidget>("sideTabs");
        QCOMPARE(tabs->tabText(1), MainWindow::tr("Chats (%1)").arg(1));
        QCOMPARE(conversations->index(conversations->rowOf("bob"))
                     .data(ConversationListModel::PreviewRole)
                     .toString(),
                 QStringLiteral("Are you there?"));
        QVERIFY(zssim::Control::waitIdle(kPatience));
        QVERIFY(!readIds().contains(noteId));

        // Choosing bob's conversation in the list reads it.
        tabs->setCurrentIndex(1);
        auto *list = inMain<QListView>("conversationList");
        QTRY_VERIFY(list->isVisible());
        const QModelIndex row = conversations->index(conversations->rowOf("bob"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());
        QCOMPARE(chatWindow()->peer(), QStringLiteral("bob"));
        TRY_COMPARE(conversations->unread(QStringLiteral("bob")), 0);
        QCOMPARE(tabs->tabText(1), MainWindow::tr("Chats"));
        TRY_VERIFY(readIds().contains(noteId));

        // The app centre's "Messages" and "Contacts" pick the tabs.
        TqClientContext::instance()->requestFeature(TqFeature::contacts());
        QCOMPARE(tabs->currentIndex(), 0);
        TqClientContext::instance()->requestFeature(TqFeature::messages());
        QCOMPARE(tabs->currentIndex(), 1);
        tabs->setCurrentIndex(0);
    }

    void nonAsciiTextMakesTheRoundTrip()
    {
        TqClientContext::instance()->requestChat(QStringLiteral("bob"));
        const QString text = QString::fromUtf8("你好，Bob 👋 — ünïcödé");
        // As an input method delivers it.
        input()->setFocus();
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(input(), &commit);
        QCOMPARE(input()->toPlainText(), text);
        QTest::keyClick(input(), Qt::Key_Return);
        MessageListModel *bob = thread(QStringLiteral("bob"));
        const QString key = bob->at(bob->rowCount() - 1).key;
        TRY_VERIFY(echoOf(key));
        QCOMPARE(echoOf(key)->text, text);
        QCOMPARE(calls("SendTextMessageEX").last().args.value(1).toByteArray(), text.toUtf8());
        ConversationListModel *conversations = chat()->conversations();
        QCOMPARE(conversations->index(conversations->rowOf("bob"))
                     .data(ConversationListModel::PreviewRole)
                     .toString(),
                 text);
    }

    void fileGoesWithProgressAndBobsCopyDownloads()
    {
        TqClientContext::instance()->requestChat(QStringLiteral("bob"));
        const QByteArray bytes = randomBytes(5000);
        const QString path = tempFile(QStringLiteral("notes 1.bin"), bytes);
        QVERIFY(!path.isEmpty());
        setTransfers(1000, true);
        MessageListModel *bob = thread(QStringLiteral("bob"));
        QVERIFY(chatWindow()->attach(path));
        const QString key = bob->at(bob->rowCount() - 1).key;
        QCOMPARE(byKey(bob, key)->kind, Kind::File);
        QCOMPARE(byKey(bob, key)->transfer, Transfer::Running);

        // Held after its first part: the bar stands at a fifth, and the upload may be cancelled.
        TRY_COMPARE(byKey(bob, key)->done, 1000);
        const QModelIndex index = bob->index(bob->rowOf(key));
        QCOMPARE(index.data(MessageListModel::ProgressRole).toInt(), 20);
        QVERIFY(!chatWindow()->actionRect(key, Action::Cancel).isEmpty());
        const zssim::CallRecord send = calls("SendMediaMessageEX").last();
        QCOMPARE(send.args.value(0).toByteArray(), QByteArray("bob"));
        QCOMPARE(send.args.value(1).toByteArray(), QFileInfo(path).absoluteFilePath().toUtf8());
        QCOMPARE(send.args.value(2).toInt(), ChatType::File);

        QList<int> seen;
        QObject watcher;
        connect(bob, &QAbstractItemModel::dataChanged, &watcher, [&] {
            if (const ChatMessage *m = byKey(bob, key))
                if (seen.isEmpty() || seen.last() != m->done)
                    seen << int(m->done);
        });
        for (int step = 0; step < 4; ++step) {
            zssim::releaseTransfers();
            TRY_COMPARE(byKey(bob, key)->done, 1000 * (step + 2));
        }
        setTransfers(1000, false);
        zssim::releaseTransfers();
        TRY_COMPARE(byKey(bob, key)->status, Status::Sent);
        QCOMPARE(byKey(bob, key)->transfer, Transfer::Done);
        QCOMPARE(seen.mid(0, 4), (QList<int>{2000, 3000, 4000, 5000}));
        QVERIFY(chatWindow()->actionRect(key, Action::Cancel).isEmpty());

        // Bob's copy comes back as a file to download; a click fetches it into the downloads.
        TRY_VERIFY(echoOf(key));
        const QString echoKey = echoOf(key)->key;
        QCOMPARE(echoOf(key)->transfer, Transfer::None);
        QCOMPARE(echoOf(key)->fileSize, bytes.size());
        click(echoKey, Action::Download);
        TRY_COMPARE(byKey(bob, echoKey)->transfer, Transfer::Done);
        const QString saved = byKey(bob, echoKey)->localFile;
        QCOMPARE(QFileInfo(saved).absolutePath() + QLatin1Char('/'), chat()->downloadDir());
        QCOMPARE(QFileInfo(saved).fileName(), QStringLiteral("notes 1.bin"));
        QCOMPARE(readAll(saved), bytes);
        const zssim::CallRecord download = calls("DownloadFileMessage").last();
        QCOMPARE(download.args.value(0).toByteArray(), QByteArray("bob"));
        QCOMPARE(download.args.value(5).toInt(), ChatType::File);

        // Downloaded: the state line offers the folder.
        click(echoKey, Action::ShowInFolder);
        QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(QFileInfo(saved).absolutePath())});
        // A second download of the same name does not overwrite the first.
        MessageModel::Message again;
        again.sender = QStringLiteral("bob");
        again.msgType = ChatType::File;
        again.fileName = QStringLiteral("notes 1.bin");
        again.fileUrl = echoOf(key)->fileUrl;
        again.fileSize = bytes.size();
        const QString againId = zssim::injectMessage(zssim::Inbound::File, again);
        const ChatMessage *second = nullptr;
        TRY_VERIFY(
            (second = findMessage(bob, [&](const ChatMessage &m) { return m.msgId == againId; })));
        const QString secondKey = second->key;
        click(secondKey, Action::Download);
        TRY_COMPARE(byKey(bob, secondKey)->transfer, Transfer::Done);
        QCOMPARE(QFileInfo(byKey(bob, secondKey)->localFile).fileName(),
                 QStringLiteral("notes 1 (2).bin"));
        QCOMPARE(readAll(saved), bytes);
    }

    void cancelledUploadIsRetriedUnderItsOldId()
    {
        TqClientContext::instance()->requestChat(QStringLiteral("bob"));
        const QString path = tempFile(QStringLiteral("big.dat"), randomBytes(8000));
        setTransfers(1000, true);
        MessageListModel *bob = thread(QStringLiteral("bob"));
        QVERIFY(chatWindow()->attach(path));
        const QString key = bob->at(bob->rowCount() - 1).key;
        TRY_VERIFY(byKey(bob, key)->canCancel());
        const int transferKey = byKey(bob, key)->transferKey;
        TRY_VERIFY(!byKey(bob, key)->msgId.isEmpty());
        const QString oldId = byKey(bob, key)->msgId;

        click(key, Action::Cancel);
        TRY_COMPARE(byKey(bob, key)->status, Status::Failed);
        QCOMPARE(byKey(bob, key)->reason, ChatReason::Cancelled);
        QCOMPARE(calls("CancelUploadOrDownloadNOW").last().args.value(0).toUInt(),
                 uint(transferKey));
        QCOMPARE(bob->index(bob->rowOf(key)).data(MessageListModel::StatusTextRole).toString(),
                 ChatText::tr("Cancelled"));

        // Sent again under the old id; the engine's new id takes its place in the same bubble.
        setTransfers(64 * 1024, false);
        QSignalSpy mapped(IM_Agent::instance(), &IM_Agent::sig_retryFileMsgId);
        const auto ownCount = [bob] {
            int count = 0;
            for (int row = 0; row < bob->rowCount(); ++row)
                count += bob->at(row).outgoing;
            return count;
        };
        const int own = ownCount();
        click(key, Action::Retry);
        TRY_COMPARE(byKey(bob, key)->status, Status::Sent);
        TRY_COMPARE(mapped.count(), 1);
        QCOMPARE(mapped.at(0).at(0).toString(), oldId);
        QCOMPARE(byKey(bob, key)->msgId, mapped.at(0).at(1).toString());
        QVERIFY(byKey(bob, key)->msgId != oldId);
        const zssim::CallRecord retry = calls("SendMediaMessageEX").last();
        QCOMPARE(retry.args.value(0).toByteArray(), QByteArray("bob"));
        QVERIFY(!retry.args.value(7).toByteArray().isEmpty()); // the upload's uuid
        QCOMPARE(ownCount(), own);
        TRY_VERIFY(echoOf(key));

        // A download can be cancelled too; it may then be fetched again.
        const QString echoKey = echoOf(key)->key;
        setTransfers(1000, true);
        click(echoKey, Action::Download);
        TRY_VERIFY(byKey(bob, echoKey)->canCancel());
        const QString partial = byKey(bob, echoKey)->localFile;
        click(echoKey, Action::Cancel);
        TRY_COMPARE(byKey(bob, echoKey)->transfer, Transfer::None);
        QVERIFY(!QFile::exists(partial));
        QVERIFY(!chatWindow()->actionRect(echoKey, Action::Download).isEmpty());
    }

    void failedSendsShowAndRetry()
    {
        TqClientContext::instance()->requestChat(QStringLiteral("bob"));
        MessageListModel *bob = thread(QStringLiteral("bob"));
        zssim::Control::withServer([](zssim::ServerModel &s) { s.messages.sendTextReason = 500; });
        typeAndSend(QStringLiteral("This one fails"));
        const QString key = bob->at(bob->rowCount() - 1).key;
        TRY_COMPARE(byKey(bob, key)->status, Status::Failed);
        QCOMPARE(byKey(bob, key)->reason, 500);
        QCOMPARE(bob->index(bob->rowOf(key)).data(MessageListModel::StatusTextRole).toString(),
                 ChatText::tr("Not sent: %1").arg(TqEngineText::error(500)));
        ConversationListModel *conversations = chat()->conversations();
        QCOMPARE(conversations->index(conversations->rowOf("bob"))
                     .data(ConversationListModel::LastFailedRole),
                 QVariant(true));
        zssim::Control::withServer([](zssim::ServerModel &s) { s.messages.sendTextReason = 0; });
        click(key, Action::Retry);
        TRY_COMPARE(byKey(bob, key)->status, Status::Sent);
        QCOMPARE(calls("SendTextMessageEX").size(), 2);
        TRY_VERIFY(echoOf(key));

        // A media send the engine refuses at once: failed with no id, then sent anew.
        zssim::Control::scriptReturn(QStringLiteral("SendMediaMessageEX"), 1004, 1);
        QVERIFY(chatWindow()->attach(tempFile(QStringLiteral("refused.txt"), "refused")));
        const QString media = bob->at(bob->rowCount() - 1).key;
        TRY_COMPARE(byKey(bob, media)->status, Status::Failed);
        QCOMPARE(byKey(bob, media)->reason, 1004);
        QVERIFY(byKey(bob, media)->msgId.isEmpty());
        QMenu *menu = messageMenu(media);
        QVERIFY(menu);
        choose(menu, "retryAction");
        TRY_COMPARE(byKey(bob, media)->status, Status::Sent);
        QCOMPARE(calls("SendMediaMessageEX").size(), 2);
    }

    void ownMessageIsWithdrawnAndBobsWithdrawalShows()
    {
        TqClientContext::instance()->requestChat(QStringLiteral("bob"));
        MessageListModel *bob = thread(QStringLiteral("bob"));
        typeAndSend(QStringLiteral("Take this back"));
        const QString key = bob->at(bob->rowCount() - 1).key;
        TRY_COMPARE(byKey(bob, key)->status, Status::Sent);
        TRY_VERIFY(echoOf(key));
        const QString echoKey = echoOf(key)->key;
        const QString msgId = byKey(bob, key)->msgId;

        QMenu *menu = messageMenu(key);
        QVERIFY(menu);
        choose(menu, "withdrawAction");
        TRY_VERIFY(byKey(bob, key)->withdrawn);
        const zssim::CallRecord withdraw = calls("WithDrawMessage").last();
        QCOMPARE(withdraw.args.mid(0, 2), (QVariantList{msgId.toUtf8(), ChatType::Text}));
        QVERIFY(chatWindow()->actionRect(key, Action::Retry).isEmpty());
        ConversationListModel *conversations = chat()->conversations();
        // The preview follows the last message, bob's copy.
        QCOMPARE(conversations->index(conversations->rowOf("bob"))
                     .data(ConversationListModel::PreviewRole)
                     .toString(),
                 QStringLiteral("Take this back"));
        // Withdrawn messages offer no withdrawal.
        menu = messageMenu(key);
        QVERIFY(menu);
        QVERIFY(!menu->findChild<QAction *>(QStringLiteral("withdrawAction")));
        menu->close();

        // Bob takes his copy back: it shows as withdrawn by him.
        const QString echoId = byKey(bob, echoKey)->msgId;
        zssim::injectWithdrawal(QStringLiteral("carol"), echoId); // not hers to take back
        zssim::injectWithdrawal(QStringLiteral("bob"), echoId);
        TRY_VERIFY(byKey(bob, echoKey)->withdrawn);
        QCOMPARE(conversations->index(conversations->rowOf("bob"))
                     .data(ConversationListModel::PreviewRole)
                     .toString(),
                 ChatText::tr("%1 withdrew a message").arg(QStringLiteral("Bob Li")));

        // A message bob sent cannot be withdrawn by the user.
        typeAndSend(QStringLiteral("Bob's own"));
        const QString ownKey = bob->at(bob->rowCount() - 1).key;
        TRY_VERIFY(echoOf(ownKey));
        menu = messageMenu(echoOf(ownKey)->key);
        QVERIFY(menu);
        QVERIFY(!menu->findChild<QAction *>(QStringLiteral("withdrawAction")));
        menu->close();
    }

    void deletedMessagesLeaveTheConversation()
    {
        TqClientContext::instance()->requestChat(QStringLiteral("bob"));
        MessageListModel *bob = thread(QStringLiteral("bob"));
        typeAndSend(QStringLiteral("Delete me"));
        const QString key = bob->at(bob->rowCount() - 1).key;
        TRY_COMPARE(byKey(bob, key)->status, Status::Sent);
        TRY_VERIFY(echoOf(key));
        const QString msgId = byKey(bob, key)->msgId;
        QMenu *menu = messageMenu(key);
        QVERIFY(menu);
        choose(menu, "deleteAction");
        TRY_COMPARE(bob->rowOf(key), -1);
        QCOMPARE(calls("DeleteMessage").last().args.mid(0, 2),
                 (QVariantList{ChatType::Text, msgId.toUtf8()}));

        // One the server never took goes at once, without asking it.
        zssim::Control::withServer([](zssim::ServerModel &s) { s.messages.sendTextReason = 500; });
        typeAndSend(QStringLiteral("Never sent"));
        const QString failed = bob->at(bob->rowCount() - 1).key;
        TRY_COMPARE(byKey(bob, failed)->status, Status::Failed);
        menu = messageMenu(failed);
        QVERIFY(menu);
        choose(menu, "deleteAction");
        QCOMPARE(bob->rowOf(failed), -1);
        QCOMPARE(calls("DeleteMessage").size(), 1);
    }

    void linkCardShowsTitleAndDescription()
    {
        TqClientContext::instance()->requestChat(QStringLiteral("bob"));
        MessageListModel *bob = thread(QStringLiteral("bob"));
        MessageModel::Message card;
        card.msgType = ChatType::LinkCard;
        card.sender = QStringLiteral("bob");
        card.title = QStringLiteral("Release notes 2.0");
        card.desc = QStringLiteral("What changed in the desktop client");
        card.url = QStringLiteral("https://example.test/notes");
        const QString id = zssim::injectMessage(zssim::Inbound::File, card);
        const ChatMessage *shown = nullptr;
        TRY_VERIFY((shown = findMessage(bob, [&](const ChatMessage &m) { return m.msgId == id; })));
        QCOMPARE(shown->kind, Kind::LinkCard);
        QCOMPARE(shown->linkTitle, card.title);
        QCOMPARE(shown->linkDesc, card.desc);
        ConversationListModel *conversations = chat()->conversations();
        QCOMPARE(conversations->index(conversations->rowOf("bob"))
                     .data(ConversationListModel::PreviewRole)
                     .toString(),
                 ChatText::tr("[Link] %1").arg(card.title));
        // The card is taller than a line of text: title and description are both in it.
        const QRect bubble = chatWindow()->bubbleRect(shown->key);
        QVERIFY(bubble.height() > 3 * chatWindow()->messageView()->fontMetrics().height());
        click(shown->key, Action::OpenLink);
        QCOMPARE(m_opened, QList<QUrl>{QUrl(card.url)});

        // Only web addresses open.
        card.url = QStringLiteral("file:///etc/passwd");
        const QString other = zssim::injectMessage(zssim::Inbound::File, card);
        TRY_VERIFY(
            (shown = findMessage(bob, [&](const ChatMessage &m) { return m.msgId == other; })));
        QVERIFY(chatWindow()->actionRect(shown->key, Action::OpenLink).isEmpty());
        QTest::mouseClick(viewport(), Qt::LeftButton, {},
                          chatWindow()->bubbleRect(shown->key).center());
        QCOMPARE(m_opened.size(), 1);
    }

    void pictureShowsAsAThumbnail()
    {
        TqClientContext::instance()->requestChat(QStringLiteral("bob"));
        MessageListModel *bob = thread(QStringLiteral("bob"));
        QImage image(400, 200, QImage::Format_RGB32);
        image.fill(QColor(0x1e, 0x88, 0xe5));
        const QString path = m_dir.filePath(QStringLiteral("out/wide.png"));
        QVERIFY(image.save(path));
        QVERIFY(chatWindow()->attach(path));
        const QString key = bob->at(bob->rowCount() - 1).key;
        QCOMPARE(byKey(bob, key)->kind, Kind::Picture);
        TRY_COMPARE(byKey(bob, key)->status, Status::Sent);
        QCOMPARE(calls("SendMediaMessageEX").last().args.value(2).toInt(), ChatType::Picture);
        // Bob's copy is fetched by itself and shown in the picture's proportions.
        TRY_VERIFY(echoOf(key));
        const QString echoKey = echoOf(key)->key;
        TRY_COMPARE(byKey(bob, echoKey)->transfer, Transfer::Done);
        QVERIFY(byKey(bob, echoKey)->localFile.startsWith(chat()->mediaDir()));
        QCOMPARE(QImage(byKey(bob, echoKey)->localFile).size(), image.size());
        const QRect bubble = chatWindow()->bubbleRect(echoKey);
        QVERIFY2(bubble.width() > bubble.height() * 3 / 2,
                 qPrintable(QStringLiteral("%1x%2").arg(bubble.width()).arg(bubble.height())));
        click(echoKey, Action::OpenPicture);
        QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(byKey(bob, echoKey)->localFile)});
    }

    void voiceNoteIsRecordedSentAndPlayed()
    {
        TqClientContext::instance()->requestChat(QStringLiteral("bob"));
        MessageListModel *bob = thread(QStringLiteral("bob"));
        zssim::Control::withServer([](zssim::ServerModel &s) {
            s.messages.voice.recordMs = 3000;
            s.messages.voice.holdPlayback = true;
        });
        VoiceRecorder *recorder = chat()->recorder();
        QTest::mouseClick(inMain<QToolButton>("voiceButton"), Qt::LeftButton);
        TRY_COMPARE(recorder->state(), VoiceRecorder::State::Recording);
        QVERIFY(inMain<QWidget>("recordBar")->isVisible());
        const zssim::CallRecord start = calls("StartVoiceRecording").last();
        QCOMPARE(start.args.value(1).toByteArray(), QByteArray("bob"));
        QVERIFY(
            QString::fromUtf8(start.args.value(0).toByteArray()).startsWith(chat()->mediaDir()));
        QVERIFY(zssim::injectRecordingAmplitude(0.5));
        TRY_COMPARE(recorder->level(), 0.5);

        const int before = bob->rowCount();
        QTest::mouseClick(inMain<QPushButton>("sendRecordingButton"), Qt::LeftButton);
        // Bob's copy may follow at once: the own note is the first new row.
        TRY_VERIFY(bob->rowCount() > before);
        const QString key = bob->at(before).key;
        QCOMPARE(byKey(bob, key)->kind, Kind::Voice);
        QCOMPARE(byKey(bob, key)->voiceMs, 3000);
        QVERIFY(!inMain<QWidget>("recordBar")->isVisible());
        TRY_COMPARE(byKey(bob, key)->status, Status::Sent);
        QCOMPARE(calls("SendMediaMessageEX").last().args.value(2).toInt(), ChatType::Voice);

        // Bob's copy is fetched and measured; a click plays it, another stops it.
        TRY_VERIFY(echoOf(key));
        const QString echoKey = echoOf(key)->key;
        TRY_COMPARE(byKey(bob, echoKey)->voiceMs, 3000);
        click(echoKey, Action::Play);
        QVERIFY(byKey(bob, echoKey)->playing);
        QVERIFY(zssim::Control::waitForCalls(QStringLiteral("PlayVoiceMsg"), 1, kPatience));
        const zssim::CallRecord play = calls("PlayVoiceMsg").last();
        QCOMPARE(play.args.value(0).toByteArray(), byKey(bob, echoKey)->localFile.toUtf8());
        click(echoKey, Action::Play);
        TRY_VERIFY(!byKey(bob, echoKey)->playing);
        QCOMPARE(zssim::Control::callCount(QStringLiteral("StopVoiceMsg")), 1);
        // Played to its end.
        click(key, Action::Play);
        QVERIFY(byKey(bob, key)->playing);
        QVERIFY(zssim::Control::waitForCalls(QStringLiteral("PlayVoiceMsg"), 2, kPatience));
        QVERIFY(zssim::Control::waitIdle(kPatience));
        QVERIFY(zssim::finishPlaying());
        TRY_VERIFY(!byKey(bob, key)->playing);

        // A slip of the finger is not sent.
        zssim::Control::withServer([](zssim::ServerModel &s) { s.messages.voice.recordMs = 100; });
        QTest::mouseClick(inMain<QToolButton>("voiceButton"), Qt::LeftButton);
        TRY_COMPARE(recorder->state(), VoiceRecorder::State::Recording);
        QTest::mouseClick(inMain<QPushButton>("sendRecordingButton"), Qt::LeftButton);
        TRY_COMPARE(recorder->state(), VoiceRecorder::State::Idle);
        auto *problem = inMain<QLabel>("chatProblemLabel");
        TRY_VERIFY(problem->isVisible());
        QCOMPARE(problem->text(), VoiceRecorder::tr("The voice note was too short to send."));
        QVERIFY(zssim::Control::waitIdle(kPatience));
        QCOMPARE(bob->rowCount(), before + 2);
    }

    void conferenceMessagesStayOutOfPersonalChats()
    {
        TqClientContext::instance()->requestChat(QStringLiteral("carol"));
        MessageListModel *bob = thread(QStringLiteral("bob"));
        const int before = bob->rowCount();
        QSignalSpy conference(IM_Agent::instance(), &IM_Agent::sig_onReceiveConfMessage);
        MessageModel::Message m;
        m.sender = QStringLiteral("bob");
        m.msgType = ChatType::Conference;
        m.msgContent = QStringLiteral("conference chatter");
        zssim::injectMessage(zssim::Inbound::Message, m);
        m.msgType = ChatType::Text;
        m.msgContent = QStringLiteral("after the conference");
        const QString after = zssim::injectMessage(zssim::Inbound::Message, m);
        TRY_VERIFY(findMessage(bob, [&](const ChatMessage &c) { return c.msgId == after; }));
        QCOMPARE(conference.count(), 1);
        QCOMPARE(bob->rowCount(), before + 1);
    }

    void offlineMessagesAppearAfterLogin()
    {
        QVERIFY(logOut());
        QVERIFY(!mainWindow()->isVisible());
        QCOMPARE(chat()->conversations()->rowCount(), 0); // nothing kept across sessions
        MessageModel::Message m;
        m.sender = QStringLiteral("carol");
        m.msgContent = QStringLiteral("Call me when you are back");
        const QString id = zssim::addOfflineMessage(QStringLiteral("alice"), m);
        m.msgType = ChatType::Conference;
        m.msgContent = QStringLiteral("conference minutes");
        zssim::addOfflineMessage(QStringLiteral("alice"), m);

        QVERIFY(logIn());
        MessageListModel *carol = thread(QStringLiteral("carol"));
        TRY_COMPARE(carol->rowCount(), 1);
        QCOMPARE(carol->at(0).msgId, id);
        QCOMPARE(carol->at(0).text, QStringLiteral("Call me when you are back"));
        TRY_COMPARE(chat()->conversations()->unread(QStringLiteral("carol")), 1);
        QCOMPARE(chat()->conversations()->peers(), QStringList{"carol"});
        TRY_COMPARE(mainWindow()->statusBar()->currentMessage(),
                    MainWindow::tr("Messages received while you were offline: %1").arg(1));
        TqClientContext::instance()->requestChat(QStringLiteral("carol"));
        TRY_COMPARE(chat()->conversations()->unread(QStringLiteral("carol")), 0);
        TRY_VERIFY(readIds().contains(id));
    }

    void loggingOutClosesTheChat()
    {
        TqClientContext::instance()->requestChat(QStringLiteral("bob"));
        QVERIFY(chatWindow()->isVisible());
        QVERIFY(logOut());
        QVERIFY(chatWindow()->peer().isEmpty());
        QVERIFY(chat()->viewing().isEmpty());
        QVERIFY(chat()->account().isEmpty());
        // Logged out, no chat opens.
        TqClientContext::instance()->requestChat(QStringLiteral("bob"));
        QVERIFY(chatWindow()->peer().isEmpty());
        QVERIFY(!chat()->sendText(QStringLiteral("bob"), QStringLiteral("hi")));
    }
};
TQ_UI_TEST(TestChatWindows)

#include "tst_chat.moc"
