// IM_CallBackProxy: the message table, engine events turned into result signals (records
// intact on the main thread), the log blocks, routing of conference messages and link cards,
// withdrawal answers, and what a faulty engine hands over.

#include "ImTestSupport.h"

#include <ImConvert.h>
#include <PendingRequestStore.h>

#include <cstring>
#include <memory>

namespace {

using Record = std::unique_ptr<ZS_MessageInfo>;

// A zeroed record in an allocation of its exact size.
Record emptyRecord()
{
    Record r(new ZS_MessageInfo);
    std::memset(static_cast<void *>(r.get()), 0, sizeof(ZS_MessageInfo));
    return r;
}

Record record(int type, const char *id, const char *content = "hi")
{
    Record r = emptyRecord();
    r->msgType = type;
    std::strcpy(r->msgId, id);
    std::strcpy(r->dateCreated, "2024-01-02 03:04:05");
    std::strcpy(r->sender, "alice");
    std::strcpy(r->receiver, "bob");
    std::strcpy(r->sessionId, "bob");
    std::strcpy(r->msgContent, content);
    std::strcpy(r->userData, "ud");
    std::strcpy(r->fileName, "a.png");
    std::strcpy(r->fileUrl, "sim://files/1/a.png");
    r->fileSize = 0x100000005LL;
    r->originFileSize = 42;
    r->isHint = 1;
    r->isSyncMsg = 2;
    r->isReceiveOfflineMsg = 3;
    r->isOfflinePush = 4;
    return r;
}

// The message lines of record(): text lines, and file lines with the file in between.
QString textLines(int type, const char *id, const char *content = "hi")
{
    return QStringLiteral("\n msgType : %1\n msgId : %2\n dateCreated : 2024-01-02 03:04:05"
                          "\n sender : alice\n receiver : bob\n sessionId : bob"
                          "\n sessionType : 0\n msgContent : %3\n userData : ud"
                          "\n isOfflinePush : 4\n isReceiveOfflineMsg : 3\n isSyncMsg : 2"
                          "\n isHint : 1")
        .arg(type)
        .arg(QLatin1String(id), QLatin1String(content));
}

QString fileLines(int type, const char *id)
{
    QString lines = textLines(type, id);
    return lines.replace("\n userData : ud",
                         "\n userData : ud\n fileName : a.png\n fileUrl : sim://files/1/a.png"
                         "\n fileSize : 4294967301\n originFileSize : 42");
}

bool settle()
{
    return zssim::Control::waitIdle() && drain();
}

template<std::size_t N> void fill(char (&field)[N], char c)
{
    std::memset(field, c, N); // no NUL anywhere
}

using M = ZS_MessageCallBack;

} // namespace

class TestImCallbacks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(startEngine());
        zssim::Control::clearJournal();
        IM_Agent *agent = IM_Agent::instance();
        QCOMPARE(IM_Agent::instance(), agent);
        IM_CallBackProxy::instance()->registerCallbacks();
        QCOMPARE(zssim::Control::callCount("SetMessageCallBackFunction"), 1);
        const ZS_MessageCallBack *table = zssim::Control::table<ZS_MessageCallBack>();
        QVERIFY(table);
        QCOMPARE(table, IM_CallBackProxy::instance()->table());
        // Filled from one list: every message and group entry, none of the reserved ones.
        const auto entries = reinterpret_cast<const ZS_Callback *>(table);
        for (int i = 0; i < 46; ++i) {
            const bool filled = (i <= 7) || (i >= 9 && i <= 18) || i == 22 || i >= 26;
            QVERIFY2((entries[i] != nullptr) == filled, qPrintable(QString::number(i)));
        }
    }

    void init() { QVERIFY(startEngine()); }

    void sentTextResult()
    {
        ResultInbox sent(&IM_Agent::sig_onSendTextMessage);
        TQLogCapture log;
        const Record r = record(1, "m-1");
        zssim::Control::fire(&M::onSendTextMessage, 7u, 200, r.get());
        QVERIFY(settle());
        QTRY_COMPARE(sent.count(), 1);
        QCOMPARE(sent.arg<0>(0), 200);
        ChatMsgData expected = im::fromEngine(*r);
        QCOMPARE(sent.arg<1>(0), expected);
        QCOMPARE(expected.msgContent, QString("hi"));
        QCOMPARE(expected.fileSize, qint64(0x100000005LL));
        QCOMPARE(sent.threads[0], QThread::currentThread());
        QCOMPARE(log.texts(),
                 QStringList{"IM_CallBackProxy::callback_onSendTextMessage" + dashes()
                             + "\n matchKey : 7\n reason : 200" + dashes() + textLines(1, "m-1")
                             + dashes() + "\n"});
        QCOMPARE(log.texts(TQLog::Error), QStringList());
    }

    // A failed send is written again at error level with the engine's error text, and
    // still reported.
    void sentTextError()
    {
        ResultInbox sent(&IM_Agent::sig_onSendTextMessage);
        TQLogCapture log;
        const Record r = record(1, "m-2");
        zssim::Control::fire(&M::onSendTextMessage, 8u, 404, r.get());
        QVERIFY(settle());
        QTRY_COMPARE(sent.count(), 1);
        QCOMPARE(sent.arg<0>(0), 404);
        QCOMPARE(sent.arg<1>(0).msgId, QString("m-2"));
        const QString block = "IM_CallBackProxy::callback_onSendTextMessage" + dashes()
            + "\n matchKey : 8\n reason : 404" + dashes() + textLines(1, "m-2") + dashes() + "\n";
        QCOMPARE(log.texts(TQLog::Info), QStringList{block});
        QCOMPARE(log.texts(TQLog::Error), QStringList{block + "   not found"});
    }

    void sentFileAndDownloadBlocks()
    {
        ResultInbox sent(&IM_Agent::sig_onSendMediaFile);
        ResultInbox downloaded(&IM_Agent::sig_onDownloadFileComplete);
        TQLogCapture log;
        const Record r = record(3, "f-1");
        const char *noStatus = nullptr;
        zssim::Control::fire(&M::onSendMediaFile, 9u, 200, r.get(), "upload done");
        zssim::Control::fire(&M::onSendMediaFile, 9u, 500, r.get(), noStatus);
        zssim::Control::fire(&M::onDownloadFileComplete, 10u, 404, r.get());
        QVERIFY(settle());
        QTRY_COMPARE(downloaded.count(), 1);
        QCOMPARE(sent.count(), 2);
        QCOMPARE(sent.arg<0>(1), 500);
        QCOMPARE(sent.arg<1>(0).fileUrl, QString("sim://files/1/a.png"));
        QCOMPARE(downloaded.arg<0>(0), 404);
        QCOMPARE(
            log.texts(),
            QStringList({"IM_CallBackProxy::callback_onSendMediaFile" + dashes()
                             + "\n matchKey : 9\n reason : 200" + dashes() + fileLines(3, "f-1")
                             + "\n stausMsg : upload done" + dashes() + "\n",
                         "IM_CallBackProxy::callback_onSendMediaFile" + dashes()
                             + "\n matchKey : 9\n reason : 500" + dashes() + fileLines(3, "f-1")
                             + "\n stausMsg : " + dashes() + "\n",
                         "IM_CallBackProxy::callback_onDownloadFileComplete" + dashes()
                             + "\n matchKey : 10\n reason : 404" + dashes() + fileLines(3, "f-1")
                             + dashes() + "\n"}));
    }

    // The key and both 64-bit sizes pass through unchanged (the key as the signal's int).
    void progressPassesThrough()
    {
        ImInbox<int, qulonglong, qulonglong, ChatMsgData> progress(
            &IM_Agent::sig_onRateOfProgressAttach);
        TQLogCapture log;
        const Record r = record(7, "f-2");
        zssim::Control::fire(&M::onRateOfProgressAttach, 0x80000002u, 1ULL << 40, 1ULL << 41,
                             r.get());
        QVERIFY(settle());
        QTRY_COMPARE(progress.count(), 1);
        QCOMPARE(progress.arg<0>(0), int(0x80000002u));
        QCOMPARE(progress.arg<1>(0), 1ULL << 40);
        QCOMPARE(progress.arg<2>(0), 1ULL << 41);
        QCOMPARE(progress.arg<3>(0).msgId, QString("f-2"));
        QCOMPARE(log.texts(),
                 QStringList{"IM_CallBackProxy::callback_onRateOfProgressAttach" + dashes()
                             + "\n matchKey : 2147483650\n rateSize : 1099511627776"
                               "\n fileSize : 2199023255552"
                             + dashes() + fileLines(7, "f-2") + dashes() + "\n"});
    }

    // Type 50 is a conference message and goes out only as such; any other type as a message.
    void receivedMessageRouting()
    {
        MsgInbox messages(&IM_Agent::sig_onReceiveMessage);
        MsgInbox conference(&IM_Agent::sig_onReceiveConfMessage);
        TQLogCapture log;
        const Record conf = record(50, "c-1", "meeting at 3");
        const Record plain = record(1, "p-1");
        zssim::Control::fire(&M::onReceiveMessage, conf.get());
        zssim::Control::fire(&M::onReceiveMessage, plain.get());
        QVERIFY(settle());
        QTRY_COMPARE(messages.count(), 1);
        QCOMPARE(conference.count(), 1);
        QCOMPARE(conference.arg<0>(0).msgId, QString("c-1"));
        QCOMPARE(conference.arg<0>(0).msgContent, QString("meeting at 3"));
        QCOMPARE(messages.arg<0>(0).msgId, QString("p-1"));
        QCOMPARE(log.texts().value(1),
                 "IM_CallBackProxy::callback_onReceiveMessage" + dashes() + textLines(1, "p-1")
                     + dashes() + "\n");
    }

    // A link card received as a file carries its card as compact JSON in userData;
    // the log shows the record's own user data.
    void receivedLinkCard()
    {
        MsgInbox files(&IM_Agent::sig_onReceiveFile);
        TQLogCapture log;
        Record card = record(8, "l-1");
        std::strcpy(card->title, "Release notes");
        std::strcpy(card->imgPath, "https://example.test/a.png");
        std::strcpy(card->url, "https://example.test/notes");
        std::strcpy(card->desc, "What changed");
        const Record file = record(7, "l-2");
        zssim::Control::fire(&M::onReceiveFile, card.get());
        zssim::Control::fire(&M::onReceiveFile, file.get());
        QVERIFY(settle());
        QTRY_COMPARE(files.count(), 2);
        QCOMPARE(files.arg<0>(0).userData,
                 QString("{\"desc\":\"What changed\",\"imgPath\":\"https://example.test/a.png\","
                         "\"title\":\"Release notes\",\"url\":\"https://example.test/notes\"}"));
        QCOMPARE(files.arg<0>(0).title, QString("Release notes"));
        QCOMPARE(files.arg<0>(1).userData, QString("ud"));
        QCOMPARE(log.texts().value(0),
                 "IM_CallBackProxy::callback_onReceiveFile" + dashes() + fileLines(8, "l-1")
                     + dashes() + "\n");
    }

    // Offline messages: count, each message (never logged, never routed as a conference
    // message), then the end of the batch.
    void offlineMessages()
    {
        ImInbox<int> counts(&IM_Agent::sig_onOfflineMessageCount);
        MsgInbox offline(&IM_Agent::sig_onReceiveOfflineMessage);
        MsgInbox conference(&IM_Agent::sig_onReceiveConfMessage);
        ImInbox<> complete(&IM_Agent::sig_onOfflineMessageComplete);
        TQLogCapture log;
        const Record conf = record(50, "o-1");
        zssim::Control::fire(&M::onOfflineMessageCount, 1);
        zssim::Control::fire(&M::onReceiveOfflineMessage, conf.get());
        zssim::Control::fire(&M::onOfflineMessageComplete);
        QVERIFY(settle());
        QTRY_COMPARE(complete.count(), 1);
        QCOMPARE(counts.arg<0>(0), 1);
        QCOMPARE(offline.count(), 1);
        QCOMPARE(offline.arg<0>(0).msgType, 50);
        QCOMPARE(conference.count(), 0);
        QCOMPARE(log.texts(),
                 QStringList({"IM_CallBackProxy::callback_onOfflineMessageCount 1",
                              "IM_CallBackProxy::callback_onOfflineMessageComplete"}));
    }

    // The answer takes the request's context back out whatever the reason; only a success
    // becomes a notice of type 25, with empty fields when no context was kept.
    void withdrawalAnswers()
    {
        ImInbox<int> results(&IM_Agent::sig_onWithDrawMessage);
        MsgInbox notices(&IM_Agent::sig_onReceiveOpreateNoticeMessage);
        TQLogCapture log;
        PendingRequestStore *store = PendingRequestStore::instance();
        const int before = store->size();
        ChatMsgData context;
        context.msgId = "msg-5";
        context.sessionId = "carol";
        context.sender = "alice";
        context.receiver = "carol";
        store->insert(7001, QVariant::fromValue(context));
        store->insert(7003, QVariant::fromValue(context));

        zssim::Control::fire(&M::onWithDrawMessage, 7001u, 200);
        zssim::Control::fire(&M::onWithDrawMessage, 7002u, 200); // nothing kept
        zssim::Control::fire(&M::onWithDrawMessage, 7003u, 403);
        QVERIFY(settle());
        QTRY_COMPARE(results.count(), 3);
        QCOMPARE(results.entries, (QList<std::tuple<int>>{{200}, {200}, {403}}));
        QCOMPARE(notices.count(), 2);
        ChatMsgData expected = context;
        expected.msgType = 25;
        QCOMPARE(notices.arg<0>(0), expected);
        ChatMsgData empty;
        empty.msgType = 25;
        QCOMPARE(notices.arg<0>(1), empty);
        QCOMPARE(store->size(), before); // 7003 taken out too
        QCOMPARE(log.count("IM_CallBackProxy::callback_onWithDrawMessage"), 3);
    }

    // The answer may come before the request has kept its context (the slot keeps it after
    // the engine call returns): the notice still carries it, and nothing stays behind.
    void withdrawalAnsweredBeforeContextKept()
    {
        zssim::Control::setMode(zssim::Mode::Manual);
        zssim::setNextMatchKey(9001);
        ImInbox<int> results(&IM_Agent::sig_onWithDrawMessage);
        MsgInbox notices(&IM_Agent::sig_onReceiveOpreateNoticeMessage);
        const int stored = PendingRequestStore::instance()->size();
        QSemaphore worker;
        QMetaObject::invokeMethod(
            IM_Agent::instance(), [&worker] { worker.acquire(); }, Qt::QueuedConnection);
        emit IM_Agent::instance()->sig_withDrawMessage("msg-7", "carol", "alice", 1);
        zssim::Control::fire(&M::onWithDrawMessage, 9001u, 200); // while the request waits
        QVERIFY(zssim::Control::waitIdle());
        worker.release();
        QVERIFY(settle());
        QTRY_COMPARE(notices.count(), 1);
        QCOMPARE(results.entries, QList<std::tuple<int>>{{200}});
        QCOMPARE(zssim::Control::calls("WithDrawMessage")[0].args.last().toUInt(), 9001u);
        QCOMPARE(notices.arg<0>(0).msgId, QString("msg-7"));
        QCOMPARE(notices.arg<0>(0).sessionId, QString("carol"));
        QCOMPARE(notices.arg<0>(0).msgType, 25);
        QCOMPARE(PendingRequestStore::instance()->size(), stored);
        zssim::Control::setMode(zssim::Mode::Automatic);
    }

    // A null array or a negative count is an empty list; a null entry an empty text in place.
    void topContactArrays()
    {
        ImInbox<int, QList<QString>> top(&IM_Agent::sig_onGetTopContact);
        const char *three[] = {"bob", nullptr, "carol"};
        const char *const *none = nullptr;
        zssim::Control::fire(&M::onGetTopContact, 1u, 200, 0, none);
        zssim::Control::fire(&M::onGetTopContact, 2u, 200, 3, none);
        zssim::Control::fire(&M::onGetTopContact, 3u, 200, -2,
                             static_cast<const char *const *>(three));
        zssim::Control::fire(&M::onGetTopContact, 4u, 200, 3,
                             static_cast<const char *const *>(three));
        QVERIFY(settle());
        QTRY_COMPARE(top.count(), 4);
        QCOMPARE(top.arg<1>(0), QList<QString>());
        QCOMPARE(top.arg<1>(1), QList<QString>());
        QCOMPARE(top.arg<1>(2), QList<QString>());
        QCOMPARE(top.arg<1>(3), QList<QString>({"bob", "", "carol"}));
    }

    // Results without a record still answer, with an empty message; received messages
    // without a record are logged as errors and not announced.
    void nullRecords()
    {
        ResultInbox sent(&IM_Agent::sig_onSendTextMessage);
        ResultInbox media(&IM_Agent::sig_onSendMediaFile);
        ResultInbox downloaded(&IM_Agent::sig_onDownloadFileComplete);
        ImInbox<int, qulonglong, qulonglong, ChatMsgData> progress(
            &IM_Agent::sig_onRateOfProgressAttach);
        MsgInbox received(&IM_Agent::sig_onReceiveMessage);
        MsgInbox offline(&IM_Agent::sig_onReceiveOfflineMessage);
        MsgInbox files(&IM_Agent::sig_onReceiveFile);
        MsgInbox noVersion(&IM_Agent::sig_onReceiveNoVersionMessage);
        MsgInbox notices(&IM_Agent::sig_onReceiveOpreateNoticeMessage);
        MsgInbox undefined(&IM_Agent::sig_onReceiveServerUndefineMessage);
        TQLogCapture log;
        const ZS_MessageInfo *none = nullptr;
        zssim::Control::fire(&M::onSendTextMessage, 1u, 200, none);
        zssim::Control::fire(&M::onSendMediaFile, 2u, 200, none, "ok");
        zssim::Control::fire(&M::onDownloadFileComplete, 3u, 200, none);
        zssim::Control::fire(&M::onRateOfProgressAttach, 4u, 5ULL, 6ULL, none);
        for (auto entry : {&M::onReceiveMessage, &M::onReceiveOfflineMessage, &M::onReceiveFile,
                           &M::onReceiveNoVersionMessage, &M::onReceiveOpreateNoticeMessage,
                           &M::onReceiveServerUndefineMessage})
            zssim::Control::fire(entry, none);
        QVERIFY(settle());
        QTRY_COMPARE(progress.count(), 1);
        QCOMPARE(sent.entries, (QList<std::tuple<int, ChatMsgData>>{{200, ChatMsgData()}}));
        QCOMPARE(media.entries, (QList<std::tuple<int, ChatMsgData>>{{200, ChatMsgData()}}));
        QCOMPARE(downloaded.count(), 1);
        QCOMPARE(progress.arg<3>(0), ChatMsgData());
        QCOMPARE(progress.arg<2>(0), 6ULL);
        QCOMPARE(received.count() + offline.count() + files.count() + noVersion.count()
                     + notices.count() + undefined.count(),
                 0);
        const QStringList errors = log.texts(TQLog::Error);
        QCOMPARE(errors.size(), 10);
        QVERIFY(errors.contains("IM_CallBackProxy::callback_onReceiveOfflineMessage,null record"));
        QVERIFY(errors.contains("IM_CallBackProxy::callback_onSendTextMessage,null record"));
        // The result's block still shows its arguments.
        QCOMPARE(log.count("IM_CallBackProxy::callback_onSendTextMessage" + dashes()
                           + "\n matchKey : 1\n reason : 200" + dashes() + dashes() + "\n"),
                 1);
    }

    // Texts filled to their width without a NUL are read up to the width, in the log block
    // and in the message (the record is in an allocation of its exact size).
    void fieldsWithoutNul()
    {
        MsgInbox files(&IM_Agent::sig_onReceiveFile);
        TQLogCapture log;
        Record r = emptyRecord();
        std::memset(static_cast<void *>(r.get()), 'x', sizeof(ZS_MessageInfo));
        r->msgType = 8;
        fill(r->msgId, 'i');
        fill(r->url, 'u');
        fill(r->title, 't');
        zssim::Control::fire(&M::onReceiveFile, static_cast<const ZS_MessageInfo *>(r.get()));
        QVERIFY(settle());
        QTRY_COMPARE(files.count(), 1);
        const ChatMsgData msg = files.arg<0>(0);
        QCOMPARE(msg.msgId, QString(65, 'i'));
        QCOMPARE(msg.url, QString(4097, 'u'));
        QCOMPARE(msg.title, QString(513, 't'));
        QCOMPARE(msg.msgContent, QString(8193, 'x'));
        QCOMPARE(msg.fileName, QString(513, 'x'));
        QVERIFY(msg.userData.contains(QString(4097, 'u'))); // the link card
        QVERIFY(log.texts().value(0).contains("\n msgId : " + QString(65, 'i') + "\n"));
        QVERIFY(log.texts().value(0).contains("\n userData : " + QString(24582, 'x') + "\n"));
    }

    void voiceEvents()
    {
        ImInbox<int, QString> timeouts(&IM_Agent::sig_onRecordingTimeOut);
        ImInbox<double, QString> levels(&IM_Agent::sig_onRecordingAmplitude);
        ImInbox<QString, int> finished(&IM_Agent::sig_onFinishedPlaying);
        TQLogCapture log;
        const char *none = nullptr;
        zssim::Control::fire(&M::onRecordingTimeOut, 60000, "s1");
        zssim::Control::fire(&M::onRecordingAmplitude, 0.123456789, "s1");
        zssim::Control::fire(&M::onRecordingAmplitude, 0.5, none);
        zssim::Control::fire(&M::onFinishedPlaying, "s2", 200);
        QVERIFY(settle());
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(timeouts.entries[0], std::make_tuple(60000, QString("s1")));
        QCOMPARE(levels.arg<0>(0), 0.123456789);
        QVERIFY(levels.arg<1>(1).isNull());
        QCOMPARE(finished.entries[0], std::make_tuple(QString("s2"), 200));
        QCOMPARE(log.texts(),
                 QStringList({"IM_CallBackProxy::callback_onRecordingTimeOut   60000   s1",
                              "IM_CallBackProxy::callback_onRecordingAmplitude   0.123456789   s1",
                              "IM_CallBackProxy::callback_onRecordingAmplitude   0.5   ",
                              "IM_CallBackProxy::callback_onFinishedPlaying"}));
    }

    void storedMessageAnswersAndNotices()
    {
        ImInbox<int, int, QString> deleted(&IM_Agent::sig_onDeleteMessage);
        ImInbox<int> topSet(&IM_Agent::sig_onSetTopContact);
        MsgInbox noVersion(&IM_Agent::sig_onReceiveNoVersionMessage);
        MsgInbox notices(&IM_Agent::sig_onReceiveOpreateNoticeMessage);
        MsgInbox undefined(&IM_Agent::sig_onReceiveServerUndefineMessage);
        TQLogCapture log;
        const char *none = nullptr;
        const Record r = record(25, "n-1");
        zssim::Control::fire(&M::onDeleteMessage, 1u, 200, 3, "msg-1");
        zssim::Control::fire(&M::onDeleteMessage, 2u, 404, 3, none);
        zssim::Control::fire(&M::onSetTopContact, 3u, 200);
        zssim::Control::fire(&M::onReceiveNoVersionMessage, r.get());
        zssim::Control::fire(&M::onReceiveOpreateNoticeMessage, r.get());
        zssim::Control::fire(&M::onReceiveServerUndefineMessage, r.get());
        QVERIFY(settle());
        QTRY_COMPARE(undefined.count(), 1);
        QCOMPARE(deleted.entries[0], std::make_tuple(200, 3, QString("msg-1")));
        QVERIFY(deleted.arg<2>(1).isNull());
        QCOMPARE(topSet.arg<0>(0), 200);
        QCOMPARE(noVersion.arg<0>(0), im::fromEngine(*r));
        QCOMPARE(notices.arg<0>(0), im::fromEngine(*r));
        QCOMPARE(undefined.arg<0>(0).msgType, 25);
        QCOMPARE(log.texts(),
                 QStringList({"IM_CallBackProxy::callback_onDeleteMessage",
                              "IM_CallBackProxy::callback_onDeleteMessage",
                              "IM_CallBackProxy::callback_onSetTopContact",
                              "IM_CallBackProxy::callback_onReceiveNoVersionMessage",
                              "IM_CallBackProxy::callback_onReceiveOpreateNoticeMessage",
                              "IM_CallBackProxy::callback_onReceiveServerUndefineMessage"}));
    }
};

QObject *newTestImCallbacks()
{
    return new TestImCallbacks;
}

#include "tst_im_callbacks.moc"
