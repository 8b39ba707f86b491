// Whole conversations through IM_Agent and the stand-in engine's messaging server: texts and
// their echo, real files uploaded and downloaded with progress, cancelled transfers, offline
// messages at login, withdrawal, deletion, top contacts, read receipts and voice notes.

#include "ImTestSupport.h"

#include <PendingRequestStore.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cstring>

namespace {

using Progress = ImInbox<int, qulonglong, qulonglong, ChatMsgData>;

QByteArray pattern(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + i / 251) & 0xFF);
    return bytes;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Logs in through the engine itself, as the session agent does.
void login(const char *user, const char *password)
{
    char buffers[6][ZS_LOGIN_TEXT_SIZE] = {};
    std::strcpy(buffers[0], user);
    std::strcpy(buffers[1], password);
    ZS_LoginInfo info{};
    info.number1 = 1;
    for (int k = 0; k < 6; ++k)
        info.text[k] = buffers[k];
    Login(&info);
}

void setChunk(qint64 bytes, bool hold = false)
{
    zssim::Control::withServer([&](zssim::ServerModel &s) {
        s.messages.chunkSize = bytes;
        s.messages.holdTransfers = hold;
    });
}

QList<qulonglong> rates(const Progress &progress)
{
    QList<qulonglong> list;
    for (const auto &entry : progress.entries)
        list << std::get<1>(entry);
    return list;
}

} // namespace

class TestImEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(startEngine());
        holdQueue();
        QVERIFY(drain());
    }

    void cleanup()
    {
        while (IM_TaskQueueProbe::pending() > 0)
            QVERIFY(tick());
        resumeQueue();
    }

    // A text with characters from several scripts goes out as UTF-8 and comes back from the
    // echo contact unchanged, as a message of its own.
    void nonAsciiTextRoundTrip()
    {
        const QString text = QString::fromUtf8("你好 👋 café — ünïcödé\ttab");
        ResultInbox sent(&IM_Agent::sig_onSendTextMessage);
        MsgInbox received(&IM_Agent::sig_onReceiveMessage);
        emit IM_Agent::instance()->sig_sendTextMessage("bob", text, Agent_MsgType(1),
                                                       QString::fromUtf8("数据"));
        QVERIFY(tick());
        QTRY_COMPARE(received.count(), 1);
        QCOMPARE(zssim::Control::calls("SendTextMessageEX")[0].args[1].toByteArray(),
                 text.toUtf8());
        QCOMPARE(sent.arg<0>(0), 200);
        QCOMPARE(sent.arg<1>(0).msgContent, text);
        QCOMPARE(sent.arg<1>(0).sender, QString("alice"));
        const ChatMsgData echo = received.arg<0>(0);
        QCOMPARE(echo.msgContent, text);
        QCOMPARE(echo.userData, QString::fromUtf8("数据"));
        QCOMPARE(echo.sender, QString("bob"));
        QCOMPARE(echo.receiver, QString("alice"));
        QCOMPARE(echo.sessionId, QString("bob"));
        QVERIFY(echo.msgId != sent.arg<1>(0).msgId);
    }

    void conferenceMessageEcho()
    {
        MsgInbox received(&IM_Agent::sig_onReceiveMessage);
        MsgInbox conference(&IM_Agent::sig_onReceiveConfMessage);
        emit IM_Agent::instance()->sig_sendTextMessage("bob", "agenda", Agent_MsgType(50),
                                                       QString());
        QVERIFY(tick());
        QTRY_COMPARE(conference.count(), 1);
        QVERIFY(drain());
        QCOMPARE(received.count(), 0);
        QCOMPARE(conference.arg<0>(0).msgContent, QString("agenda"));
    }

    void unknownReceiverFails()
    {
        ResultInbox sent(&IM_Agent::sig_onSendTextMessage);
        TQLogCapture log;
        emit IM_Agent::instance()->sig_sendTextMessage("nobody", "hello?", Agent_MsgType(1),
                                                       QString());
        QVERIFY(tick());
        QTRY_COMPARE(sent.count(), 1);
        QCOMPARE(sent.arg<0>(0), 404);
        QCOMPARE(sent.arg<1>(0).receiver, QString("nobody"));
        QCOMPARE(log.texts(TQLog::Error).size(), 1);
        QVERIFY(log.texts(TQLog::Error)[0].endsWith("   not found"));
    }

    // A real file goes up in reported steps, comes back from the echo contact as a received
    // file, and comes down again byte for byte.
    void fileSentAndDownloaded()
    {
        QTemporaryDir dir;
        const QByteArray bytes = pattern(200 * 1024);
        const QString file = writeFile(dir, "data.bin", bytes);
        setChunk(64 * 1024);
        ResultInbox pre(&IM_Agent::sig_onPreSendMediaFile);
        ResultInbox sent(&IM_Agent::sig_onSendMediaFile);
        MsgInbox received(&IM_Agent::sig_onReceiveFile);
        Progress progress(&IM_Agent::sig_onRateOfProgressAttach);
        emit IM_Agent::instance()->sig_sendMediaMessageEX("bob", file, Agent_MsgType(7), "ud",
                                                          QString(), file);
        QVERIFY(tick());
        QTRY_COMPARE(received.count(), 1);
        QCOMPARE(pre.arg<0>(0), 0);
        QCOMPARE(rates(progress), QList<qulonglong>({65536, 131072, 196608, 204800}));
        const uint key = zssim::Control::calls("SendMediaMessageEX")[0].args.last().toUInt();
        for (const auto &entry : progress.entries) {
            QCOMPARE(std::get<0>(entry), int(key));
            QCOMPARE(std::get<2>(entry), qulonglong(bytes.size()));
        }
        QCOMPARE(sent.arg<0>(0), 200);
        const ChatMsgData up = sent.arg<1>(0);
        QCOMPARE(up.msgId, pre.arg<1>(0).msgId);
        QCOMPARE(up.fileSize, qint64(bytes.size()));
        QVERIFY(up.fileUrl.startsWith("sim://files/"));

        const ChatMsgData echo = received.arg<0>(0);
        QCOMPARE(echo.fileUrl, up.fileUrl);
        QCOMPARE(echo.fileName, QString("data.bin"));
        QCOMPARE(echo.sender, QString("bob"));
        QCOMPARE(echo.originFileSize, qint64(bytes.size()));

        progress.entries.clear();
        ResultInbox done(&IM_Agent::sig_onDownloadFileComplete);
        const QString target = dir.filePath(QString::fromUtf8("下载 data.bin"));
        emit IM_Agent::instance()->sig_downloadFileMessage(echo.sender, echo.receiver, echo.fileUrl,
                                                           target, echo.msgId, Agent_MsgType(7));
        QTRY_COMPARE(done.count(), 1);
        QCOMPARE(done.arg<0>(0), 200);
        QCOMPARE(done.arg<1>(0).fileName, target);
        QCOMPARE(done.arg<1>(0).msgId, echo.msgId);
        QCOMPARE(rates(progress), QList<qulonglong>({65536, 131072, 196608, 204800}));
        QCOMPARE(readFile(target), bytes);
    }

    // A link card sent as a file comes back described by its JSON.
    void linkCardRoundTrip()
    {
        QTemporaryDir dir;
        const QString file = writeFile(dir, "thumb.png", "png");
        MsgInbox received(&IM_Agent::sig_onReceiveFile);
        QJsonObject card{{"title", QString::fromUtf8("发布说明")},
                         {"imgPath", "https://example.test/t.png"},
                         {"url", "https://example.test/notes"},
                         {"desc", "What changed"}};
        emit IM_Agent::instance()->sig_sendMediaMessageEX(
            "bob", file, Agent_MsgType(8), QString(),
            QString::fromUtf8(QJsonDocument(card).toJson()), file);
        QVERIFY(tick());
        QTRY_COMPARE(received.count(), 1);
        QCOMPARE(received.arg<0>(0).userData,
                 QString::fromUtf8(QJsonDocument(card).toJson(QJsonDocument::Compact)));
        QCOMPARE(received.arg<0>(0).title, QString::fromUtf8("发布说明"));
    }

    // A missing file is an error code, never a crash.
    void missingFilesAreErrors()
    {
        QTemporaryDir dir;
        ResultInbox pre(&IM_Agent::sig_onPreSendMediaFile);
        ResultInbox sent(&IM_Agent::sig_onSendMediaFile);
        ResultInbox done(&IM_Agent::sig_onDownloadFileComplete);
        emit IM_Agent::instance()->sig_sendMediaMessageEX(
            "bob", dir.filePath("gone.png"), Agent_MsgType(3), QString(), QString(), QString());
        QVERIFY(tick());
        QTRY_COMPARE(pre.count(), 1);
        QCOMPARE(pre.arg<0>(0), int(ZS_ERR_NOT_FOUND));

        zssim::Control::withServer(
            [](zssim::ServerModel &s) { s.messages.files.insert("sim://files/9/x", "xyz"); });
        emit IM_Agent::instance()->sig_downloadFileMessage(
            "bob", "alice", "sim://files/404/x", dir.filePath("x"), "m", Agent_MsgType(7));
        emit IM_Agent::instance()->sig_downloadFileMessage("bob", "alice", "sim://files/9/x",
                                                           dir.filePath("no/such/dir/x"), "m",
                                                           Agent_MsgType(7));
        QTRY_COMPARE(done.count(), 2);
        QCOMPARE(done.arg<0>(0), 404);
        QCOMPARE(done.arg<0>(1), 500);
        QVERIFY(drain());
        QCOMPARE(sent.count(), 0);
    }

    // A key of 2^31 and above comes out of the progress signal as a negative int and goes
    // back into the cancel unchanged; the transfer ends as cancelled.
    void cancelledTransfers()
    {
        QTemporaryDir dir;
        const QString file = writeFile(dir, "big.bin", pattern(300000));
        setChunk(100000, true);
        zssim::setNextMatchKey(0x80000001u);
        ResultInbox sent(&IM_Agent::sig_onSendMediaFile);
        Progress progress(&IM_Agent::sig_onRateOfProgressAttach);
        emit IM_Agent::instance()->sig_sendMediaMessageEX("bob", file, Agent_MsgType(7), QString(),
                                                          QString(), file);
        QVERIFY(tick());
        QTRY_COMPARE(progress.count(), 1);
        const int key = progress.arg<0>(0);
        QCOMPARE(key, int(0x80000001u));
        QVERIFY(key < 0);
        emit IM_Agent::instance()->sig_cancelUploadOrDownloadNOW(key);
        QTRY_COMPARE(sent.count(), 1);
        QCOMPARE(sent.arg<0>(0), int(ZS_REASON_CANCELLED));
        QCOMPARE(zssim::Control::calls("CancelUploadOrDownloadNOW")[0].args,
                 QVariantList{0x80000001u});
        QCOMPARE(progress.count(), 1);

        // A download stopped halfway leaves no half file.
        zssim::Control::withServer([](zssim::ServerModel &s) {
            s.messages.files.insert("sim://files/7/big.bin", pattern(300000));
        });
        ResultInbox done(&IM_Agent::sig_onDownloadFileComplete);
        const QString target = dir.filePath("half.bin");
        emit IM_Agent::instance()->sig_downloadFileMessage("bob", "alice", "sim://files/7/big.bin",
                                                           target, "m", Agent_MsgType(7));
        QTRY_COMPARE(progress.count(), 2);
        QVERIFY(QFileInfo::exists(target));
        emit IM_Agent::instance()->sig_cancelUploadOrDownloadNOW(progress.arg<0>(1));
        QTRY_COMPARE(done.count(), 1);
        QCOMPARE(done.arg<0>(0), int(ZS_REASON_CANCELLED));
        QVERIFY(!QFileInfo::exists(target));

        zssim::releaseTransfers();
        QVERIFY(drain());
        QCOMPARE(progress.count(), 2);
    }

    void offlineMessagesAtLogin()
    {
        ImInbox<int> counts(&IM_Agent::sig_onOfflineMessageCount);
        MsgInbox offline(&IM_Agent::sig_onReceiveOfflineMessage);
        ImInbox<> complete(&IM_Agent::sig_onOfflineMessageComplete);
        MessageModel::Message first;
        first.sender = "carol";
        first.msgContent = QString::fromUtf8("你不在的时候");
        MessageModel::Message second;
        second.sender = "bob";
        second.msgType = 50;
        second.msgContent = "conference notes";
        const QString id = zssim::addOfflineMessage("alice", first);
        zssim::addOfflineMessage("alice", second);
        zssim::addOfflineMessage("carol", first);

        login("alice", "alice");
        QTRY_COMPARE(complete.count(), 1);
        QCOMPARE(counts.entries, QList<std::tuple<int>>{{2}});
        QCOMPARE(offline.count(), 2);
        QCOMPARE(offline.arg<0>(0).msgId, id);
        QCOMPARE(offline.arg<0>(0).msgContent, first.msgContent);
        QCOMPARE(offline.arg<0>(0).receiver, QString("alice"));
        QCOMPARE(offline.arg<0>(0).sessionId, QString("carol"));
        QCOMPARE(offline.arg<0>(0).isReceiveOfflineMsg, 1);
        QCOMPARE(offline.arg<0>(1).msgType, 50);

        login("alice", "alice"); // delivered once
        QTRY_COMPARE(complete.count(), 2);
        QCOMPARE(counts.arg<0>(1), 0);
        QCOMPARE(offline.count(), 2);
    }

    // Only an own message can be withdrawn; its receiver's copy goes too, and the window
    // hears of it as a notice of type 25 carrying the request's context.
    void readReceiptComesBeforeTheEcho()
    {
        ResultInbox pre(&IM_Agent::sig_onPreSendTextMessage);
        MsgInbox received(&IM_Agent::sig_onReceiveMessage);
        MsgInbox notices(&IM_Agent::sig_onReceiveOpreateNoticeMessage);
        zssim::Control::withServer(
            [](zssim::ServerModel &s) { s.messages.echoSendsReadNotice = true; });
        QVector<int> order; // 26 for the notice, 1 for the echo
        auto a = connect(IM_Agent::instance(), &IM_Agent::sig_onReceiveOpreateNoticeMessage, this,
                         [&](const ChatMsgData &m) { order << m.msgType; });
        auto b = connect(IM_Agent::instance(), &IM_Agent::sig_onReceiveMessage, this,
                         [&](const ChatMsgData &m) { order << m.msgType; });
        emit IM_Agent::instance()->sig_sendTextMessage("bob", "read me", Agent_MsgType(1),
                                                       QString());
        QVERIFY(tick());
        QTRY_COMPARE(received.count(), 1);
        disconnect(a);
        disconnect(b);
        QCOMPARE(notices.count(), 1);
        QCOMPARE(order, (QVector<int>{26, 1}));
        QCOMPARE(notices.arg<0>(0).msgId, pre.arg<1>(0).msgId);
        QCOMPARE(notices.arg<0>(0).sender, QString("bob"));
        QCOMPARE(notices.arg<0>(0).receiver, QString("alice"));

        // Nobody else reads on their own; the server can still announce it.
        emit IM_Agent::instance()->sig_sendTextMessage("carol", "later", Agent_MsgType(1),
                                                       QString());
        QVERIFY(tick());
        QVERIFY(drain());
        QCOMPARE(notices.count(), 1);
        zssim::injectReadReceipt("carol", pre.arg<1>(1).msgId);
        QTRY_COMPARE(notices.count(), 2);
        QCOMPARE(notices.arg<0>(1).msgType, 26);
        QCOMPARE(notices.arg<0>(1).sessionId, QString("carol"));
    }

    void withdrawal()
    {
        ResultInbox pre(&IM_Agent::sig_onPreSendTextMessage);
        MsgInbox received(&IM_Agent::sig_onReceiveMessage);
        ImInbox<int> results(&IM_Agent::sig_onWithDrawMessage);
        MsgInbox notices(&IM_Agent::sig_onReceiveOpreateNoticeMessage);
        const int stored = PendingRequestStore::instance()->size();
        emit IM_Agent::instance()->sig_sendTextMessage("bob", "oops", Agent_MsgType(1), QString());
        QVERIFY(tick());
        QTRY_COMPARE(received.count(), 1);
        const QString own = pre.arg<1>(0).msgId;

        emit IM_Agent::instance()->sig_withDrawMessage(own, "bob", "alice", 1);
        QTRY_COMPARE(notices.count(), 1);
        QCOMPARE(results.arg<0>(0), 200);
        ChatMsgData expected;
        expected.msgType = 25;
        expected.msgId = own;
        expected.sessionId = "bob";
        expected.sender = "alice";
        expected.receiver = "bob";
        QCOMPARE(notices.arg<0>(0), expected);
        zssim::Control::withServer([&](zssim::ServerModel &s) {
            QVERIFY(s.messages.inbox.value("bob").value(0).withdrawn);
        });

        emit IM_Agent::instance()->sig_withDrawMessage(received.arg<0>(0).msgId, "bob", "bob", 1);
        QTRY_COMPARE(results.count(), 2);
        QCOMPARE(results.arg<0>(1), int(ZS_REASON_FORBIDDEN));
        QVERIFY(drain());
        QCOMPARE(notices.count(), 1);
        QCOMPARE(PendingRequestStore::instance()->size(), stored);

        // A contact's withdrawal is announced by the server.
        zssim::injectWithdrawal("bob", received.arg<0>(0).msgId);
        QTRY_COMPARE(notices.count(), 2);
        QCOMPARE(notices.arg<0>(1).msgType, 25);
        QCOMPARE(notices.arg<0>(1).sender, QString("bob"));
        QCOMPARE(notices.arg<0>(1).msgId, received.arg<0>(0).msgId);
    }

    void deleteTopContactsAndReceipts()
    {
        ResultInbox pre(&IM_Agent::sig_onPreSendTextMessage);
        MsgInbox received(&IM_Agent::sig_onReceiveMessage);
        ImInbox<int, int, QString> deleted(&IM_Agent::sig_onDeleteMessage);
        ImInbox<int> topSet(&IM_Agent::sig_onSetTopContact);
        ImInbox<int, QList<QString>> top(&IM_Agent::sig_onGetTopContact);
        IM_Agent *agent = IM_Agent::instance();
        emit agent->sig_sendTextMessage("bob", "to delete", Agent_MsgType(1), QString());
        QVERIFY(tick());
        QTRY_COMPARE(received.count(), 1);

        emit agent->sig_deleteMessage(1, pre.arg<1>(0).msgId);
        emit agent->sig_deleteMessage(1, "no-such-id");
        emit agent->sig_setTopContact("bob", true);
        emit agent->sig_setTopContact(QString::fromUtf8("张三"), true);
        emit agent->sig_setTopContact("bob", false);
        emit agent->sig_getTopContact();
        emit agent->sig_setReadStatue(received.arg<0>(0).msgId);
        QTRY_COMPARE(top.count(), 1);
        QCOMPARE(deleted.entries,
                 (QList<std::tuple<int, int, QString>>{{200, 1, pre.arg<1>(0).msgId},
                                                       {404, 1, QString("no-such-id")}}));
        QCOMPARE(topSet.entries, (QList<std::tuple<int>>{{200}, {200}, {200}}));
        QCOMPARE(top.entries[0], std::make_tuple(200, QList<QString>{QString::fromUtf8("张三")}));
        QVERIFY(drain());
        QCOMPARE(zssim::Control::calls("ReadMessage")[0].args[0], QVariant(qulonglong(0)));
        zssim::Control::withServer([&](zssim::ServerModel &s) {
            QVERIFY(s.messages.readMessages.contains(received.arg<0>(0).msgId));
            QCOMPARE(s.messages.receipts.value("bob"), QStringList{received.arg<0>(0).msgId});
        });
    }

    void voiceNotes()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("note.wav");
        ImInbox<double, QString> levels(&IM_Agent::sig_onRecordingAmplitude);
        ImInbox<int, QString> timeouts(&IM_Agent::sig_onRecordingTimeOut);
        ImInbox<QString, int> finished(&IM_Agent::sig_onFinishedPlaying);
        ImInbox<ChatMsgData, int> durations(&IM_Agent::sig_returnVoiceDuration);
        IM_Agent *agent = IM_Agent::instance();
        QVERIFY(!zssim::injectRecordingAmplitude(0.1)); // nothing recording yet
        emit agent->sig_startVoiceRecording(path, "s1");
        QVERIFY(drain());
        QVERIFY(zssim::injectRecordingAmplitude(0.25));
        QVERIFY(zssim::injectRecordingTimeOut(1500));
        QTRY_COMPARE(timeouts.count(), 1);
        QCOMPARE(levels.entries[0], std::make_tuple(0.25, QString("s1")));
        QCOMPARE(timeouts.entries[0], std::make_tuple(1500, QString("s1")));
        ChatMsgData note;
        note.fileName = path;
        emit agent->sig_getVoiceDuration(note);
        QTRY_COMPARE(durations.count(), 1);
        QCOMPARE(durations.arg<1>(0), 1500);

        emit agent->sig_playVoiceMsg(path, "s1");
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.entries[0], std::make_tuple(QString("s1"), 200));

        zssim::Control::withServer(
            [](zssim::ServerModel &s) { s.messages.voice.holdPlayback = true; });
        emit agent->sig_playVoiceMsg(path, "s2");
        emit agent->sig_stopVoiceMsg();
        QTRY_COMPARE(finished.count(), 2);
        QCOMPARE(finished.entries[1], std::make_tuple(QString("s2"), int(ZS_REASON_CANCELLED)));

        emit agent->sig_playVoiceMsg(dir.filePath("missing.wav"), "s3");
        QVERIFY(drain());
        QCOMPARE(finished.count(), 2);
    }
};

QObject *newTestImEndToEnd()
{
    return new TestImEndToEnd;
}

#include "tst_im_endtoend.moc"
