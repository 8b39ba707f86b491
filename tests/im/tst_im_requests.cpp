// IM_Agent's requests: engine calls with their argument orders and log lines and blocks, the
// pre-send records, the media argument rules of new sends and retries, voice notes, and the
// withdrawal context kept for the answer.

#include "ImTestSupport.h"

#include <PendingRequestStore.h>

#include <QDateTime>
#include <QTemporaryDir>
#include <QUuid>

#include <functional>
#include <thread>

using ImEmit = std::function<void(IM_Agent *)>;
Q_DECLARE_METATYPE(ImEmit)

namespace {

QVariantList args(std::initializer_list<QVariant> values)
{
    return QVariantList(values);
}

QByteArray text(const char *bytes)
{
    return QByteArray(bytes);
}

// The last call of `function`, without the key the engine appends to accepted requests.
QVariantList callArgs(const QString &function, int keyed = 1)
{
    const auto calls = zssim::Control::calls(function);
    if (calls.isEmpty())
        return {};
    QVariantList a = calls.last().args;
    for (int i = 0; i < keyed && !a.isEmpty(); ++i)
        a.removeLast();
    return a;
}

uint lastKey(const QString &function)
{
    return zssim::Control::calls(function).last().args.last().toUInt();
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

ChatMsgData withFile(const QString &fileName)
{
    ChatMsgData msg;
    msg.fileName = fileName;
    msg.msgId = QStringLiteral("voice-1");
    return msg;
}

QString mediaBlock(const char *header, const QString &fileName, int type, const QString *json,
                   int ret, uint key, const QString &msgId)
{
    QString block = QLatin1String(header) + dashes() + "\n receiver : bob\n fileName : " + fileName
        + "\n type : " + QString::number(type) + "\n userdata : ud";
    if (json)
        block += "\n jsonString : " + *json + "\n originFilePath : /orig/path";
    return block + dashes() + "\n ret : " + QString::number(ret)
        + "\n matchKey : " + QString::number(key) + "\n msgId : " + msgId + dashes() + "\n";
}

} // namespace

class TestImRequests : public QObject
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
        zssim::Control::setMode(zssim::Mode::Automatic);
        resumeQueue();
    }

    // The requests that call one engine function at once: the arguments in order and the
    // lines logged (here with a refusal, to tell a logged code from a constant 0).
    void oneLineRequests_data()
    {
        QTest::addColumn<ImEmit>("request");
        QTest::addColumn<QString>("function");
        QTest::addColumn<QVariantList>("expectedArgs");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("deleteMessage")
            << ImEmit([](IM_Agent *a) { emit a->sig_deleteMessage(3, "msg-9"); }) << "DeleteMessage"
            << args({3, text("msg-9")}) << QStringList{"IM_Agent::slot_deleteMessage"};
        // A key of 2^31 and above travels in the signal's int and reaches the engine whole.
        QTest::newRow("cancelUploadOrDownloadNOW")
            << ImEmit([](IM_Agent *a) { emit a->sig_cancelUploadOrDownloadNOW(int(0x80000001u)); })
            << "CancelUploadOrDownloadNOW" << args({0x80000001u})
            << QStringList{"IM_Agent::slot_cancelUploadOrDownloadNOW"};
        QTest::newRow("withDrawMessage")
            << ImEmit([](IM_Agent *a) { emit a->sig_withDrawMessage("msg-1", "bob", "alice", 1); })
            << "WithDrawMessage" << args({text("msg-1"), 1})
            << QStringList{"IM_Agent::slot_withDrawMessage"};
        QTest::newRow("setTopContact") << ImEmit([](IM_Agent *a) {
            emit a->sig_setTopContact(QString::fromUtf8("张三"), true);
        }) << "SetTopContact" << args({QString::fromUtf8("张三").toUtf8(), 1})
                                       << QStringList{"IM_Agent::slot_setTopContact"};
        QTest::newRow("getTopContact")
            << ImEmit([](IM_Agent *a) { emit a->sig_getTopContact(); }) << "GetTopContact"
            << args({}) << QStringList{"IM_Agent::slot_getTopContact"};
        // A null matchKey, and nothing logged.
        QTest::newRow("setReadStatue")
            << ImEmit([](IM_Agent *a) { emit a->sig_setReadStatue("msg-3"); }) << "ReadMessage"
            << args({qulonglong(0), text("msg-3")}) << QStringList();
        QTest::newRow("downloadShareUrlPic") << ImEmit([](IM_Agent *a) {
            emit a->sig_downloadShareUrlPic("sim://pic/1", "/tmp/p.png", Agent_MsgType(3), "carol");
        }) << "DownloadFileMessage"
                                             << args({text("carol"), text(""), text("sim://pic/1"),
                                                      text("/tmp/p.png"), text(""), 3})
                                             << QStringList{"IM_Agent::slot_downloadShareUrlPic"};
        QTest::newRow("startVoiceRecording")
            << ImEmit([](IM_Agent *a) { emit a->sig_startVoiceRecording("a.wav", "s1"); })
            << "StartVoiceRecording" << args({text("a.wav"), text("s1")})
            << QStringList{"IM_Agent::slot_startVoiceRecording", "startRecording:1006"};
        QTest::newRow("stopVoiceRecording")
            << ImEmit([](IM_Agent *a) { emit a->sig_stopVoiceRecording(0); })
            << "StopVoiceRecording" << args({}) << QStringList{"IM_Agent::slot_stopVoiceRecording"};
        QTest::newRow("playVoiceMsg")
            << ImEmit([](IM_Agent *a) { emit a->sig_playVoiceMsg("a.wav", "s1"); })
            << "PlayVoiceMsg" << args({text("a.wav"), text("s1")})
            << QStringList{"IM_Agent::slot_playVoiceMsg"};
        QTest::newRow("stopVoiceMsg")
            << ImEmit([](IM_Agent *a) { emit a->sig_stopVoiceMsg(); }) << "StopVoiceMsg" << args({})
            << QStringList{"IM_Agent::slot_stopVoiceMsg"};
        QTest::newRow("getVoiceDuration")
            << ImEmit([](IM_Agent *a) { emit a->sig_getVoiceDuration(withFile("v.wav")); })
            << "GetVoiceDuration" << args({text("v.wav")})
            << QStringList{"IM_Agent::slot_getVoiceDuration"};
        QTest::newRow("setConfirmMsgVersionFrequency")
            << ImEmit([](IM_Agent *a) { emit a->sig_setConfirmMsgVersionFrequency(5); })
            << "SetConfirmMsgVersionFrequency" << args({5})
            << QStringList{"IM_Agent::slot_setConfirmMsgVersionFrequency  Num = 5  Ret = 1006"};
        QTest::newRow("setFetchMessageFromLast")
            << ImEmit([](IM_Agent *a) { emit a->sig_setFetchMessageFromLast(true); })
            << "SetFetchMessageFromLast" << args({1})
            << QStringList{"IM_Agent::slot_setFetchMessageFromLast  Flag = 1  Ret = void"};
        // Reached by name only: their signals are connected to nothing.
        QTest::newRow("printScreen") << ImEmit([](IM_Agent *a) {
            QMetaObject::invokeMethod(a, "slot_printScreen", Qt::QueuedConnection, Q_ARG(int, 1),
                                      Q_ARG(int, 2), Q_ARG(int, 30), Q_ARG(int, 40));
        }) << "PrintScreen" << args({1, 2, 30, 40})
                                     << QStringList{"IM_Agent::slot_printScreen"};
        QTest::newRow("saveAsPic") << ImEmit([](IM_Agent *a) {
            QMetaObject::invokeMethod(a, "slot_saveAsPic", Qt::QueuedConnection,
                                      Q_ARG(QString, "a.png"), Q_ARG(QString, "b.png"),
                                      Q_ARG(int, 2));
        }) << "SaveAsPic" << args({text("a.png"), text("b.png"), 2})
                                   << QStringList{"IM_Agent::slot_saveAsPic"};
        // The download block is written after the call.
        QTest::newRow("downloadFileMessage")
            << ImEmit([](IM_Agent *a) {
                   emit a->sig_downloadFileMessage("carol", "alice", "sim://f", "/tmp/f", "msg-1",
                                                   Agent_MsgType(7));
               })
            << "DownloadFileMessage"
            << args({text("carol"), text("alice"), text("sim://f"), text("/tmp/f"), text("msg-1"),
                     7})
            << QStringList{"IM_Agent::slot_downloadFileMessage" + dashes()
                           + "\n sender : carol\n recv : alice\n url : sim://f\n fileName : /tmp/f"
                             "\n msgId : msg-1\n type : 7"
                           + dashes() + "\n ret : 1006\n matchKey : 0" + dashes() + "\n"};
    }

    void oneLineRequests()
    {
        QFETCH(ImEmit, request);
        QFETCH(QString, function);
        QFETCH(QVariantList, expectedArgs);
        QFETCH(QStringList, lines);

        zssim::Control::scriptReturn(function, ZS_ERR_BUSY, 1);
        TQLogCapture log;
        request(IM_Agent::instance());
        QVERIFY(drain());

        const auto calls = zssim::Control::calls(function);
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].args, expectedArgs); // refused: no key appended
        QCOMPARE(agentLines(log), lines);
        QCOMPARE(IM_TaskQueueProbe::pending(), 0);
    }

    void unconnectedSignalsCallNothing()
    {
        zssim::Control::clearJournal();
        emit IM_Agent::instance()->sig_printScreen(1, 2, 3, 4);
        emit IM_Agent::instance()->sig_saveAsPic("a.png", "b.png", 1);
        QVERIFY(drain());
        QCOMPARE(zssim::Control::journal().size(), 0);
    }

    // What a send reports at once: the request, the engine's new id, the time of the send,
    // "not sent yet", and a group session only for a receiver beginning with a lower-case g.
    void textPreSendRecords()
    {
        ResultInbox pre(&IM_Agent::sig_onPreSendTextMessage);
        IM_Agent *agent = IM_Agent::instance();
        const qint64 before = QDateTime::currentMSecsSinceEpoch();
        emit agent->sig_sendTextMessage("gteam", QString::fromUtf8("你好 team"), Agent_MsgType(1),
                                        "ud-1");
        emit agent->sig_sendTextMessage("Gx", "second", Agent_MsgType(4), QString());
        emit agent->sig_sendTextMessage("carol", "third", Agent_MsgType(1), QString());
        for (int i = 0; i < 3; ++i)
            QVERIFY(tick());
        const qint64 after = QDateTime::currentMSecsSinceEpoch();
        QTRY_COMPARE(pre.count(), 3);

        const auto calls = zssim::Control::calls("SendTextMessageEX");
        QCOMPARE(calls[0].args.mid(0, 5),
                 args({text("gteam"), QString::fromUtf8("你好 team").toUtf8(), 1, text("ud-1"),
                       text("")}));
        QVERIFY(calls[0].args[4].isValid()); // an empty JSON text, not a null one

        ChatMsgData expected;
        expected.msgType = 1;
        expected.msgId = "msg-1";
        expected.receiver = "gteam";
        expected.sessionId = "gteam";
        expected.msgContent = QString::fromUtf8("你好 team");
        expected.userData = "ud-1";
        expected.sendStatus = -1;
        expected.sessionType = 1;
        ChatMsgData first = pre.arg<1>(0);
        const qint64 created = first.dateCreated.toLongLong();
        QVERIFY2(created >= before && created <= after, qPrintable(first.dateCreated));
        first.dateCreated.clear();
        QCOMPARE(first, expected);
        QCOMPARE(pre.arg<0>(0), 0);

        QCOMPARE(pre.arg<1>(1).sessionType, 0); // upper-case G: an account
        QCOMPARE(pre.arg<1>(1).msgType, 4);
        QCOMPARE(pre.arg<1>(2).sessionType, 0);
        QCOMPARE(pre.arg<1>(2).msgId, QString("msg-3"));
        QVERIFY(pre.arg<1>(2).sender.isEmpty());
        QVERIFY(pre.arg<1>(2).localFile.isEmpty() && pre.arg<1>(2).fileName.isEmpty());
    }

    // The pre-send signal comes whatever the engine said.
    void refusedSendStillReported()
    {
        ResultInbox pre(&IM_Agent::sig_onPreSendTextMessage);
        TQLogCapture log;
        zssim::Control::scriptReturn("SendTextMessageEX", ZS_ERR_NOT_LOGGED_IN, 1);
        emit IM_Agent::instance()->sig_sendTextMessage("bob", "x", Agent_MsgType(1), QString());
        QVERIFY(tick());
        QTRY_COMPARE(pre.count(), 1);
        QCOMPARE(pre.arg<0>(0), int(ZS_ERR_NOT_LOGGED_IN));
        QCOMPARE(pre.arg<1>(0).msgId, QString());
        QCOMPARE(pre.arg<1>(0).sendStatus, -1);
        QCOMPARE(
            agentLines(log),
            QStringList({"IM_Agent::slot_sendTextMessage", "ret = 1003, matchKey = 0, msgId = "}));
    }

    void textExBlockAndJson()
    {
        ResultInbox pre(&IM_Agent::sig_onPreSendTextMessage);
        TQLogCapture log;
        emit IM_Agent::instance()->sig_sendTextMessageEX("bob", "hello", Agent_MsgType(1), "ud",
                                                         "{\"k\":1}");
        QVERIFY(drain());
        QCOMPARE(agentLines(log), QStringList()); // nothing before the tick
        QVERIFY(tick());
        QTRY_COMPARE(pre.count(), 1);
        QCOMPARE(callArgs("SendTextMessageEX"),
                 args({text("bob"), text("hello"), 1, text("ud"), text("{\"k\":1}")}));
        const uint key = lastKey("SendTextMessageEX");
        QCOMPARE(agentLines(log).value(0),
                 "IM_Agent::slot_sendTextMessageEX" + dashes()
                     + "\n receiver : bob\n message : hello\n type : 1\n userdata : ud"
                       "\n jsonString : {\"k\":1}"
                     + dashes() + "\n ret : 0\n matchKey : " + QString::number(key)
                     + "\n msgId : msg-1" + dashes() + "\n");
    }

    // A new media send: no offset, the JSON only for types 6 and 8, 90 for type 3, a fresh
    // uuid each time, and an empty last text; the original path is logged, not sent.
    void newMediaSendRules_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("extra");
        QTest::newRow("3") << 3 << QByteArray("") << 90;
        QTest::newRow("6") << 6 << QByteArray("{j}") << 0;
        QTest::newRow("7") << 7 << QByteArray("") << 0;
        QTest::newRow("8") << 8 << QByteArray("{j}") << 0;
    }

    void newMediaSendRules()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, json);
        QFETCH(int, extra);
        QTemporaryDir dir;
        const QString file = writeFile(dir, QString::fromUtf8("图片.png"), "png");
        ResultInbox pre(&IM_Agent::sig_onPreSendMediaFile);
        TQLogCapture log;
        IM_Agent *agent = IM_Agent::instance();
        for (int i = 0; i < 2; ++i)
            emit agent->sig_sendMediaMessageEX("bob", file, Agent_MsgType(type), "ud", "{j}",
                                               "/orig/path");
        QVERIFY(tick());
        QVERIFY(tick());
        QTRY_COMPARE(pre.count(), 2);

        const auto calls = zssim::Control::calls("SendMediaMessageEX");
        QCOMPARE(calls.size(), 2);
        const QVariantList a = calls[0].args;
        QCOMPARE(a.mid(0, 7),
                 args({text("bob"), file.toUtf8(), type, text("ud"), text(""), json, extra}));
        QVERIFY(!QUuid::fromString(QString::fromUtf8(a[7].toByteArray())).isNull());
        QVERIFY(a[7] != calls[1].args[7]); // fresh for every send
        QCOMPARE(a[8], QVariant(text("")));

        const QString jsonText = "{j}";
        QCOMPARE(agentLines(log).value(0),
                 mediaBlock("IM_Agent::slot_sendMediaMessageEX", file, type, &jsonText, 0,
                            a.last().toUInt(), "msg-1"));
        ChatMsgData msg = pre.arg<1>(0);
        QCOMPARE(msg.fileName, file);
        QCOMPARE(msg.localFile, file);
        QVERIFY(msg.msgContent.isEmpty());
        QCOMPARE(msg.userData, QString("ud"));
        QCOMPARE(msg.msgType, type);
        QCOMPARE(msg.sendStatus, -1);
        QCOMPARE(msg.msgId, QString("msg-1"));
    }

    // A retry runs at once with the caller's offset and uuid, the JSON only for type 8, and
    // reports the old and the new id whatever the engine said.
    void mediaRetryRules_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("extra");
        QTest::newRow("3") << 3 << QByteArray("") << 90;
        QTest::newRow("6") << 6 << QByteArray("") << 0;
        QTest::newRow("8") << 8 << QByteArray("{j}") << 0;
    }

    void mediaRetryRules()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, json);
        QFETCH(int, extra);
        QTemporaryDir dir;
        const QString file = writeFile(dir, "doc.pdf", "%PDF");
        ImInbox<QString, QString> ids(&IM_Agent::sig_retryFileMsgId);
        TQLogCapture log;
        emit IM_Agent::instance()->sig_retryMediaMessageEX("bob", file, Agent_MsgType(type), "ud",
                                                           "{j}", "/orig/path", "uuid-7",
                                                           "{\"offset\":5}", "old-1");
        QVERIFY(drain());
        QCOMPARE(callArgs("SendMediaMessageEX"),
                 args({text("bob"), file.toUtf8(), type, text("ud"), text("{\"offset\":5}"), json,
                       extra, text("uuid-7"), text("")}));
        QTRY_COMPARE(ids.count(), 1);
        QCOMPARE(ids.entries[0], std::make_tuple(QString("old-1"), QString("msg-1")));
        const QString jsonText = "{j}";
        QCOMPARE(agentLines(log).value(0),
                 mediaBlock("IM_Agent::slot_retryMediaMessageEX", file, type, &jsonText, 0,
                            lastKey("SendMediaMessageEX"), "msg-1"));
    }

    void failedRetryStillReportsIds()
    {
        ImInbox<QString, QString> ids(&IM_Agent::sig_retryFileMsgId);
        TQLogCapture log;
        emit IM_Agent::instance()->sig_retryMediaMessageEX("bob", "/nonexistent/x.png",
                                                           Agent_MsgType(3), "ud", "{j}",
                                                           "/orig/path", "u", "", "old-2");
        QTRY_COMPARE(ids.count(), 1);
        QCOMPARE(ids.entries[0], std::make_tuple(QString("old-2"), QString()));
        const QString jsonText = "{j}";
        QCOMPARE(agentLines(log).value(0),
                 mediaBlock("IM_Agent::slot_retryMediaMessageEX", "/nonexistent/x.png", 3,
                            &jsonText, ZS_ERR_NOT_FOUND, 0, QString()));
    }

    void plainMediaSendByName()
    {
        QTemporaryDir dir;
        const QString file = writeFile(dir, "a.txt", "abc");
        ResultInbox pre(&IM_Agent::sig_onPreSendMediaFile);
        TQLogCapture log;
        QVERIFY(QMetaObject::invokeMethod(
            IM_Agent::instance(), "slot_sendMediaMessage", Qt::QueuedConnection,
            Q_ARG(QString, "bob"), Q_ARG(QString, file), Q_ARG(Agent_MsgType, Agent_MsgType(7)),
            Q_ARG(QString, "ud")));
        QVERIFY(drain());
        QCOMPARE(zssim::Control::callCount("SendMediaMessage"), 0); // queued
        QVERIFY(tick());
        QCOMPARE(callArgs("SendMediaMessage"), args({text("bob"), file.toUtf8(), 7, text("ud")}));
        QCOMPARE(agentLines(log).value(0),
                 mediaBlock("IM_Agent::slot_sendMediaMessage", file, 7, nullptr, 0,
                            lastKey("SendMediaMessage"), "msg-1"));
        QTRY_COMPARE(pre.count(), 1);
        QCOMPARE(pre.arg<1>(0).localFile, file);
    }

    // An engine that fills the whole 128-byte id buffer leaves no NUL: the id is read to the
    // buffer's end, no further.
    void messageIdFillingItsBuffer()
    {
        zssim::Control::withServer(
            [](zssim::ServerModel &s) { s.messages.overlongMessageId = true; });
        ResultInbox pre(&IM_Agent::sig_onPreSendTextMessage);
        ImInbox<QString, QString> ids(&IM_Agent::sig_retryFileMsgId);
        QTemporaryDir dir;
        const QString file = writeFile(dir, "b.txt", "b");
        emit IM_Agent::instance()->sig_sendTextMessage("bob", "x", Agent_MsgType(1), QString());
        emit IM_Agent::instance()->sig_retryMediaMessageEX("bob", file, Agent_MsgType(7), "", "",
                                                           "", "u", "", "old");
        QVERIFY(tick());
        QTRY_COMPARE(pre.count(), 1);
        QTRY_COMPARE(ids.count(), 1);
        QCOMPARE(pre.arg<1>(0).msgId, QString(128, QLatin1Char('7')));
        QCOMPARE(std::get<1>(ids.entries[0]), QString(128, QLatin1Char('7')));
    }

    void stopVoiceRecordingByClickState()
    {
        ImInbox<> stopped(&IM_Agent::sig_stopRecording);
        IM_Agent *agent = IM_Agent::instance();
        emit agent->sig_stopVoiceRecording(0);
        QVERIFY(drain());
        QCOMPARE(stopped.count(), 0);
        emit agent->sig_stopVoiceRecording(1);
        QVERIFY(drain());
        QCOMPARE(stopped.count(), 1);
        QCOMPARE(zssim::Control::callCount("StopVoiceRecording"), 2);
    }

    // A recording writes a real WAV file; its duration comes back through the signal and the
    // synchronous call; a missing file gives -1 through the signal.
    void voiceRecordingAndDuration()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QString::fromUtf8("语音.wav"));
        ImInbox<int> codes(&IM_Agent::sig_returnVoiceErrorCode);
        ImInbox<ChatMsgData, int> durations(&IM_Agent::sig_returnVoiceDuration);
        IM_Agent *agent = IM_Agent::instance();
        emit agent->sig_startVoiceRecording(path, "s1");
        emit agent->sig_startVoiceRecording(path, "s1"); // already recording
        emit agent->sig_stopVoiceRecording(1);
        emit agent->sig_getVoiceDuration(withFile(path));
        emit agent->sig_getVoiceDuration(withFile(dir.filePath("missing.wav")));
        QVERIFY(drain());
        QTRY_COMPARE(durations.count(), 2);
        QCOMPARE(codes.entries, (QList<std::tuple<int>>{{0}, {int(ZS_ERR_BUSY)}}));
        QVERIFY(QFileInfo(path).size() > 44);
        QCOMPARE(durations.arg<0>(0), withFile(path));
        QCOMPARE(durations.arg<1>(0), 1000);
        QCOMPARE(durations.arg<1>(1), -1);

        // Synchronous, here from another thread while the worker is idle.
        TQLogCapture log;
        int duration = -5;
        int missing = -5;
        std::thread other([&] {
            agent->getVoiceDuration(withFile(path), duration);
            agent->getVoiceDuration(withFile(dir.filePath("missing.wav")), missing);
        });
        other.join();
        QCOMPARE(duration, 1000);
        QCOMPARE(missing, 0); // the engine writes nothing on failure
        QCOMPARE(
            log.texts(),
            QStringList({"IM_Agent::getVoiceDuration   " + path + "   1000",
                         "IM_Agent::getVoiceDuration   " + dir.filePath("missing.wav") + "   0"}));
    }

    // The withdrawal's context waits under the engine's key for the answer; a refused
    // withdrawal gets no answer, so nothing is kept for it.
    void withdrawalContextKept()
    {
        zssim::Control::setMode(zssim::Mode::Manual); // the test takes the answer's place
        PendingRequestStore *store = PendingRequestStore::instance();
        const int before = store->size();
        emit IM_Agent::instance()->sig_withDrawMessage("msg-5", "carol", "alice", 1);
        QVERIFY(drain());
        const uint key = lastKey("WithDrawMessage");
        QVERIFY(key != 0);
        QVariant stored;
        QVERIFY(store->take(key, stored));
        QCOMPARE(stored.userType(), qMetaTypeId<ChatMsgData>());
        ChatMsgData expected;
        expected.msgId = "msg-5";
        expected.sessionId = "carol";
        expected.sender = "alice";
        expected.receiver = "carol";
        QCOMPARE(stored.value<ChatMsgData>(), expected);

        TQLogCapture log;
        zssim::Control::scriptReturn("WithDrawMessage", ZS_ERR_NETWORK, 1);
        emit IM_Agent::instance()->sig_withDrawMessage("msg-6", "carol", "alice", 1);
        QVERIFY(drain());
        QCOMPARE(store->size(), before);
        QCOMPARE(log.texts(TQLog::Error), QStringList()); // not even offered to the store
    }
};

QObject *newTestImRequests()
{
    return new TestImRequests;
}

#include "tst_im_requests.moc"
