// Vidyo_Agent's requests: start (record passing threads, null record, refusals, the records
// handed to the client), connect, stop and leave, and one table of the controls: the client's
// event, its bytes, the log lines and the result signals.

#include "VidyoTestSupport.h"

#include <memory>

using vidyosim::CallRecord;
using vidyosim::Control;
using Request = std::function<void(Vidyo_Agent *)>;
Q_DECLARE_METATYPE(Request)

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

QByteArray ints(std::initializer_list<qint32> values)
{
    QByteArray b;
    for (qint32 v : values)
        b.append(reinterpret_cast<const char *>(&v), 4);
    return b;
}

void *fakeWindow()
{
    return reinterpret_cast<void *>(quintptr(0x6000));
}

} // namespace

class TestVidyoRequests : public QObject
{
    Q_OBJECT

    SignalLog *m_signals = nullptr;

private slots:
    void initTestCase() { m_signals = new SignalLog; }
    void cleanupTestCase() { delete m_signals; }
    void init()
    {
        freshClient();
        m_signals->clear();
    }

    void recordTypeIsKnownToQueuedConnections()
    {
        QVERIFY(QMetaType::type("VidyoDataBase*") != QMetaType::UnknownType);
    }

    // Emitted on the main thread, the start is queued to the worker and runs there.
    void startRunsOnTheWorker()
    {
        Control::setDriving(false);
        VidyoDataBase record = sampleRecord();
        record.windowHandle = fakeWindow();
        record.videoRect = QRect(10, 20, 640, 360);
        emit Vidyo_Agent::instance()->signal_StartVidyo(&record);
        QVERIFY(m_signals->waitFor("onVidyoState(1001,true,)"));
        QCOMPARE(m_signals->entries,
                 QStringList({"onVidyoState(1000,true,)", "onVidyoState(1001,true,)"}));
        const QList<CallRecord> init = Control::calls("VidyoClientInitialize");
        QCOMPARE(init.size(), 1);
        QCOMPARE(init.first().args, (QVariantList{true, 5000000}));
        const QList<CallRecord> start = Control::calls("VidyoClientStart");
        QCOMPARE(start.size(), 1);
        QCOMPARE(start.first().args,
                 (QVariantList{true, 5000000, QVariant::fromValue<qulonglong>(0x6000),
                               QRect(10, 20, 640, 360), 65000, true}));
        emit Vidyo_Agent::instance()->signal_LeaveMeettingStopVidyo();
        QVERIFY(m_signals->waitFor("onHangUp(0)"));
    }

    void startWithoutRecord()
    {
        TQLogCapture log;
        emit Vidyo_Agent::instance()->signal_StartVidyo(nullptr);
        QVERIFY(settle());
        QCOMPARE(log.texts(TQLog::Info), QStringList{"Vidyo_Agent_Imp::initVidyo"});
        QCOMPARE(debugLines(log),
                 QStringList({"Vidyo_Agent_Imp::initVidyo m_pVidyoDataBase is NULL!",
                              "Vidyo_Agent_Imp::startVidyo m_pVidyoDataBase is NULL!"}));
        QCOMPARE(Control::journal().size(), 0);
        QVERIFY(m_signals->entries.isEmpty());
    }

    void refusedInitialisationStillStarts()
    {
        Control::scriptReturn("VidyoClientInitialize", 0, 1);
        Control::scriptReturn("VidyoClientStart", 0, 1);
        TQLogCapture log;
        VidyoDataBase record = sampleRecord();
        emit Vidyo_Agent::instance()->signal_StartVidyo(&record);
        QVERIFY(m_signals->waitFor("onVidyoState(1001,false,)"));
        QCOMPARE(m_signals->entries,
                 QStringList({"onVidyoState(1000,false,)", "onVidyoState(1001,false,)"}));
        QCOMPARE(Control::calls("VidyoClientStart").size(), 1);
        QVERIFY(debugLines(log).contains("Vidyo_Agent_Imp initVidyo error"));
        QVERIFY(debugLines(log).contains("Vidyo_Agent_Imp startVidyo error"));
    }

    // The client's logic-started event configures it, logs in and sends the room link.
    void connectSteps()
    {
        VidyoDataBase record = sampleRecord();
        record.roomLinkText2 = QString(126, 'k') + QString::fromUtf8("\xc3\xa9"); // 128 bytes
        record.roomLinkText4 = QStringLiteral("12345678901234567890");
        QVERIFY(startActiveCall(&record, *m_signals));

        QList<unsigned int> order;
        for (const CallRecord &c : Control::journal())
            if (c.code == 100100 || c.code == 101600 || c.code == 100101 || c.code == 1600
                || c.code == 1604)
                order << c.code;
        QCOMPARE(order, (QList<unsigned int>{100100, 101600, 100101, 1600, 1604}));

        QVERIFY(!Control::requests(101600).first().hasData);
        const QByteArray config = Control::requests(100101).first().data;
        QCOMPARE(config.size(), 22816);
        const QList<QPair<int, int>> changes = {{19260, 1}, {22720, 1}, {22740, 1}, {22744, 1},
                                                {22752, 1}, {22768, 1}, {22788, 1}, {22804, 1}};
        int ones = 0;
        for (int i = 0; i < config.size(); i += 4)
            ones += int32At(config, i) == 1;
        QCOMPARE(ones, changes.size()); // the client's record was all zero
        for (const auto &change : changes)
            QCOMPARE(int32At(config, change.first), change.second);

        const CallRecord login = Control::events(1600).first();
        QCOMPARE(login.data, QByteArray(648, '\0'));

        const QByteArray link = Control::events(1604).first().data;
        QCOMPARE(link.size(), 604);
        QCOMPARE(textAt(link, 0, 257), record.roomLinkText1.toUtf8());
        // Cut before the two-byte character that would not fit, never inside it.
        QCOMPARE(textAt(link, 257, 128), QByteArray(126, 'k'));
        QCOMPARE(link.mid(257 + 126, 2), QByteArray(2, '\0'));
        QCOMPARE(textAt(link, 385, 128), QByteArray("Alice Wang"));
        QCOMPARE(link.mid(513, 17), QByteArray("1234567890123456") + '\0');
        QCOMPARE(int32At(link, 532), 2);
        QCOMPARE(link.mid(600, 4), QByteArray(4, '\0'));
    }

    void refusedConfigurationStillLinks()
    {
        Control::scriptRequest(100100, 3, 1);
        TQLogCapture log;
        VidyoDataBase record = sampleRecord();
        QVERIFY(startActiveCall(&record, *m_signals));
        QVERIFY(debugLines(log).contains(
            "Solvane test  -- VIDYO_CLIENT_REQUEST_GET_CONFIGURATION err"));
        QCOMPARE(Control::requests(101600).size(), 0);
        QCOMPARE(Control::requests(100101).size(), 0);
        QCOMPARE(Control::events(1604).size(), 1);
    }

    void refusedLoginAndLinkAreLogged()
    {
        Control::setDriving(false);
        VidyoDataBase record = sampleRecord();
        emit Vidyo_Agent::instance()->signal_StartVidyo(&record);
        QVERIFY(m_signals->waitFor("onVidyoState(1001,true,)"));
        Control::scriptEvent(1600, 0, 1);
        Control::scriptEvent(1604, 0, 1);
        Control::scriptRequest(101600, 1, 1);
        TQLogCapture log;
        Control::fire(200, QByteArray());
        QVERIFY(settle());
        QCOMPARE(debugLines(log),
                 QStringList({"VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_LOGIC_STARTED received",
                              "Solvane test  -- VIDYO_CLIENT_REQUEST_STATISTICS_ENABLE err",
                              "Solvane test  -- Sending Login Event failed",
                              "Solvane test  -- VIDYO_CLIENT_IN_EVENT_ROOM_LINK false!"}));
    }

    void stopThatFailsKeepsTheClient()
    {
        VidyoDataBase record = sampleRecord();
        QVERIFY(startActiveCall(&record, *m_signals));
        Control::scriptReturn("VidyoClientStop", 0, 1);
        TQLogCapture log;
        m_signals->clear();
        emit Vidyo_Agent::instance()->signal_LeaveMeettingStopVidyo();
        QVERIFY(m_signals->waitFor("onHangUp(0)"));
        QCOMPARE(debugLines(log), QStringList{"stop Vidyo error"});
        QCOMPARE(Control::calls("VidyoClientUninitialize").size(), 0);
        QVERIFY(Control::state().initialized);
    }

    // The caller frees the record once the call is stopped; nothing may touch it afterwards.
    void stopLetsTheRecordGo()
    {
        auto record = std::make_unique<VidyoDataBase>(sampleRecord());
        QVERIFY(startActiveCall(record.get(), *m_signals));
        TQLogCapture log;
        emit Vidyo_Agent::instance()->signal_LeaveMeettingStopVidyo();
        QVERIFY(m_signals->waitFor("onHangUp(0)"));
        QCOMPARE(debugLines(log), QStringList({"stop Vidyo ok", "Vidyo_Agent_Imp::unInitVidyo"}));
        QVERIFY(!Control::state().initialized);
        record.reset();
        log.clear();
        emit Vidyo_Agent::instance()->signal_SetRect(QRect(1, 2, 3, 4)); // writes nothing
        Vidyo_Agent::instance()->driver()->CreatConnect(); // reads nothing
        QCOMPARE(debugLines(log).first(),
                 QString("VidyoClient sample - VIDYO_CLIENT_IN_EVENT_RESIZE failed "));
        QVERIFY(debugLines(log).contains("Vidyo_Agent_Imp::CreatConnect m_pVidyoDataBase is NULL"));
        QCOMPARE(Control::events(1604).size(), 1); // only the call's own link
    }

    void rectangleGoesIntoTheRecord()
    {
        VidyoDataBase record = sampleRecord();
        QVERIFY(startActiveCall(&record, *m_signals));
        emit Vidyo_Agent::instance()->signal_SetRect(QRect(5, 6, 320, 240));
        QCOMPARE(record.videoRect, QRect(5, 6, 320, 240));
        QCOMPARE(Control::events(800).last().data, ints({5, 6, 320, 240}));
        QCOMPARE(Control::state().rect, QRect(5, 6, 320, 240));
    }

    void controls_data()
    {
        QTest::addColumn<Request>("request");
        QTest::addColumn<QList<unsigned int>>("events"); // in-events sent, in order
        QTest::addColumn<QList<QByteArray>>("data"); // their bytes ("-" for no data)
        QTest::addColumn<QStringList>("lines"); // debug log lines
        QTest::addColumn<QStringList>("results");

        QTest::newRow("mute microphone")
            << Request([](Vidyo_Agent *a) { emit a->signal_SetMuteAudioIn(true, false); })
            << QList<unsigned int>{500} << QList<QByteArray>{bytes({1})} << QStringList()
            << QStringList{"onSetMuteAudioIn(true,false)"};
        QTest::newRow("microphone on")
            << Request([](Vidyo_Agent *a) { emit a->signal_SetMuteAudioIn(false, true); })
            << QList<unsigned int>{500} << QList<QByteArray>{bytes({0})} << QStringList()
            << QStringList{"onSetMuteAudioIn(false,true)"};
        QTest::newRow("speaker off")
            << Request([](Vidyo_Agent *a) { emit a->signal_SetMuteAudioOut(true); })
            << QList<unsigned int>{501} << QList<QByteArray>{bytes({0})} << QStringList()
            << QStringList{"onSetMuteAudioOut(true)"};
        QTest::newRow("camera off")
            << Request([](Vidyo_Agent *a) { emit a->signal_SetCamera(false); })
            << QList<unsigned int>{400, 502} << QList<QByteArray>{ints({0, 0}), bytes({1})}
            << QStringList() << QStringList{"onSetCamera(false)"};
        QTest::newRow("camera on")
            << Request([](Vidyo_Agent *a) { emit a->signal_SetCamera(true); })
            << QList<unsigned int>{400, 502} << QList<QByteArray>{ints({4, 0}), bytes({0})}
            << QStringList() << QStringList{"onSetCamera(true)"};
        QTest::newRow("rectangle")
            << Request([](Vidyo_Agent *a) { emit a->signal_SetRect(QRect(-4, 8, 100, 50)); })
            << QList<unsigned int>{800} << QList<QByteArray>{ints({-4, 8, 100, 50})}
            << QStringList() << QStringList();
        QTest::newRow("dial") << Request([](Vidyo_Agent *a) { emit a->signal_DialPassword("12#"); })
                              << QList<unsigned int>{1301} << QList<QByteArray>{"1"}
                              << QStringList{"Vidyo_Agent_Imp::slot_onDialPassword true!"}
                              << QStringList{"isDialPassword(true)"};
        QTest::newRow("dial nothing")
            << Request([](Vidyo_Agent *a) { emit a->signal_DialPassword(QString()); })
            << QList<unsigned int>() << QList<QByteArray>() << QStringList() << QStringList();
        QTest::newRow("stop sharing what is not shared")
            << Request([](Vidyo_Agent *a) { emit a->signal_StopShareScreent(); })
            << QList<unsigned int>{601} << QList<QByteArray>{"-"}
            << QStringList{"VidyoClient sample - VIDYO_CLIENT_IN_EVENT_UNSHARE failed "}
            << QStringList();
        QByteArray shownName(385, '\0');
        shownName.replace(0, 13, "sip:alice@x.y");
        shownName.replace(257, 5, "Alice");
        QTest::newRow("shown name") << Request(
            [](Vidyo_Agent *a) { emit a->signal_ResetUserShowName("Alice", "sip:alice@x.y"); })
                                    << QList<unsigned int>{3000} << QList<QByteArray>{shownName}
                                    << QStringList() << QStringList();
        QTest::newRow("leave") << Request([](Vidyo_Agent *a) { emit a->signal_StopVidyo(); })
                               << QList<unsigned int>{201} << QList<QByteArray>{"-"}
                               << QStringList() << QStringList{"onHangUp(0)"};
    }

    void controls()
    {
        QFETCH(Request, request);
        QFETCH(QList<unsigned int>, events);
        QFETCH(QList<QByteArray>, data);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, results);

        VidyoDataBase record = sampleRecord();
        QVERIFY(startActiveCall(&record, *m_signals));
        Control::setDriving(false); // only the request's own effects
        Control::clearJournal();
        m_signals->clear();
        TQLogCapture log;
        request(Vidyo_Agent::instance());
        QVERIFY(settle());

        QList<unsigned int> sent;
        QList<QByteArray> sentData;
        for (const CallRecord &c : Control::calls("VidyoClientSendEvent")) {
            sent << c.code;
            sentData << (c.hasData ? c.data : QByteArray("-"));
        }
        QCOMPARE(sent, events);
        QCOMPARE(sentData, data);
        QCOMPARE(debugLines(log), lines);
        QCOMPARE(m_signals->entries, results);
    }

    void refusedControlsEmitNothing()
    {
        VidyoDataBase record = sampleRecord();
        QVERIFY(startActiveCall(&record, *m_signals));
        for (unsigned int e : {400u, 500u, 501u, 502u, 1301u, 3000u})
            Control::scriptEvent(e, 0);
        m_signals->clear();
        TQLogCapture log;
        Vidyo_Agent *a = Vidyo_Agent::instance();
        emit a->signal_SetMuteAudioIn(true, true);
        emit a->signal_SetMuteAudioOut(true);
        emit a->signal_SetCamera(true);
        emit a->signal_DialPassword("9");
        emit a->signal_ResetUserShowName("n", "u");
        QVERIFY(settle());
        QCOMPARE(m_signals->entries, QStringList{"isDialPassword(false)"});
        QCOMPARE(debugLines(log),
                 QStringList({"VIDYO_CLIENT_IN_EVENT_PREVIEW ERROR!",
                              "Vidyo_Agent_Imp::slot_onDialPassword false",
                              "Vidyo_Agent_Imp::slot_onResetUserShowName false"}));
    }

    void shareTheScreen()
    {
        VidyoDataBase record = sampleRecord();
        QVERIFY(startActiveCall(&record, *m_signals));
        m_signals->clear();
        emit Vidyo_Agent::instance()->signal_StartShareScreent();
        QVERIFY(m_signals->waitFor("onStartShareScreen()"));
        const CallRecord list = Control::requests(102200).first();
        QCOMPARE(list.size, 75228u);
        QCOMPARE(list.data, QByteArray(75228, '\0')); // zeroed before the request
        const QByteArray share = Control::events(600).first().data;
        QCOMPARE(share.size(), 152);
        QCOMPARE(int32At(share, 0), 2);
        QCOMPARE(int32At(share, 4), 1);
        QCOMPARE(textAt(share, 8, 128), QByteArray("Desktop"));
        QCOMPARE(textAt(share, 136, 16), QByteArray("screen-0"));
        QVERIFY(Control::state().sharing);
    }

    void nothingToShare_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("none") << 0;
        QTest::newRow("negative") << -2;
    }

    void nothingToShare()
    {
        QFETCH(int, count);
        VidyoDataBase record = sampleRecord();
        QVERIFY(startActiveCall(&record, *m_signals));
        Control::scriptFill(102200, [count](void *r, unsigned int size) {
            if (size != sizeof(VidyoClientRequestShareList))
                return 2;
            static_cast<VidyoClientRequestShareList *>(r)->numApp = count;
            return 0;
        });
        emit Vidyo_Agent::instance()->signal_StartShareScreent();
        QVERIFY(settle());
        QCOMPARE(Control::requests(102200).size(), 1);
        QCOMPARE(Control::events(600).size(), 0);
    }
};

QObject *newTestVidyoRequests()
{
    return new TestVidyoRequests;
}

#include "tst_vidyo_requests.moc"
