// The client's events as the agent turns them into signals, requests and log lines: the
// room-link result, participant lists (the count the client writes is not trusted), events whose
// data is short or missing, window shares, and events while the client is not started.

#include "VidyoTestSupport.h"

using vidyosim::CallRecord;
using vidyosim::Control;
using Fill = std::function<int(VidyoClientRequestParticipants &)>;
Q_DECLARE_METATYPE(Fill)

namespace {

QByteArray int32Bytes(qint32 v)
{
    return QByteArray(reinterpret_cast<const char *>(&v), 4);
}

template<std::size_t N> void put(char (&field)[N], const QByteArray &text)
{
    std::memset(field, 0, N);
    std::memcpy(field, text.constData(), std::min<std::size_t>(N, std::size_t(text.size())));
}

} // namespace

class TestVidyoEvents : public QObject
{
    Q_OBJECT

    SignalLog *m_signals = nullptr;
    VidyoDataBase m_record;

private slots:
    void initTestCase() { m_signals = new SignalLog; }
    void cleanupTestCase() { delete m_signals; }

    // A started client that reports only what a test fires.
    void init()
    {
        freshClient();
        Control::setDriving(false);
        m_record = sampleRecord();
        emit Vidyo_Agent::instance()->signal_StartVidyo(&m_record);
        QVERIFY(m_signals->waitFor("onVidyoState(1001,true,)"));
        QVERIFY(settle());
        Control::clearJournal();
        m_signals->clear();
    }

    void roomLink_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QStringList>("results");
        QTest::newRow("linked") << 0 << QStringList();
        QTest::newRow("200") << 200 << QStringList{"StartVidyofaild()"};
        QTest::newRow("1000") << 1000 << QStringList{"StartVidyofaild()"};
        QTest::newRow("refused") << 3
                                 << QStringList{"onVidyoState(1006,true,)", "StartVidyofaild()"};
        QTest::newRow("negative") << -1
                                  << QStringList{"onVidyoState(1006,true,)", "StartVidyofaild()"};
    }

    void roomLink()
    {
        QFETCH(int, error);
        QFETCH(QStringList, results);
        TQLogCapture log;
        Control::fire(2305, int32Bytes(error));
        QVERIFY(settle());
        QCOMPARE(m_signals->entries, results);
        QCOMPARE(
            debugLines(log),
            QStringList{QString("VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_ROOM_LINK received "
                                "!errorCode:%1")
                            .arg(error)});
    }

    void roomLinkWithoutItsData()
    {
        TQLogCapture log;
        Control::fireNull(2305, 4);
        Control::fire(2305, QByteArray(3, '\x07'));
        QVERIFY(settle());
        QVERIFY(m_signals->entries.isEmpty());
        QVERIFY(debugLines(log).isEmpty());
    }

    void signedInAndOut()
    {
        Control::fire(2303, QByteArray());
        Control::fire(2304, QByteArray());
        Control::fire(1201, QByteArray());
        QVERIFY(settle());
        QCOMPARE(m_signals->entries,
                 QStringList({"onVidyoState(1004,true,)", "onVidyoState(1004,true,)",
                              "onVidyoState(1006,true,)"}));
    }

    void participants_data()
    {
        QTest::addColumn<Fill>("fill");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("uris");

        QTest::newRow("three, in the client's order")
            << Fill([](VidyoClientRequestParticipants &r) {
                   put(r.name[0], "Carol");
                   put(r.uri[0], "c@x");
                   put(r.name[1], "Alice \xe7\x8e\x8b");
                   put(r.uri[1], "a@x");
                   put(r.name[2], "Bob");
                   put(r.uri[2], "b@x");
                   r.numberParticipants = 3;
                   return 0;
               })
            << QStringList({"Carol", QString::fromUtf8("Alice \xe7\x8e\x8b"), "Bob"})
            << QStringList({"c@x", "a@x", "b@x"});
        QTest::newRow("more than the record holds") << Fill([](VidyoClientRequestParticipants &r) {
            for (int i = 0; i < 24; ++i) {
                put(r.name[i], "n" + QByteArray::number(i));
                put(r.uri[i], "u" + QByteArray::number(i));
            }
            r.numberParticipants = 1000;
            return 0;
        }) <<
            [] {
                QStringList l;
                for (int i = 0; i < 24; ++i)
                    l << QString("n%1").arg(i);
                return l;
            }()
                                                    << [] {
                                                           QStringList l;
                                                           for (int i = 0; i < 24; ++i)
                                                               l << QString("u%1").arg(i);
                                                           return l;
                                                       }();
        QTest::newRow("negative count") << Fill([](VidyoClientRequestParticipants &r) {
            put(r.name[0], "ghost");
            r.numberParticipants = -5;
            return 0;
        }) << QStringList() << QStringList();
        QTest::newRow("fields without a NUL") << Fill([](VidyoClientRequestParticipants &r) {
            std::memset(r.name[0], 'x', 64);
            std::memset(r.uri[0], 'y', 257);
            std::memset(r.name[1], 'z', 64);
            r.numberParticipants = 2;
            return 0;
        }) << QStringList({QString(64, 'x'), QString(64, 'z')})
                                              << QStringList({QString(257, 'y'), QString()});
    }

    void participants()
    {
        QFETCH(Fill, fill);
        QFETCH(QStringList, names);
        QFETCH(QStringList, uris);
        Control::scriptFill(101503, [fill](void *record, unsigned int size) {
            if (size != sizeof(VidyoClientRequestParticipants))
                return 2;
            return fill(*static_cast<VidyoClientRequestParticipants *>(record));
        });
        TQLogCapture log;
        Control::fire(1202, QByteArray());
        QVERIFY(settle());
        QCOMPARE(m_signals->lists.size(), 1);
        QCOMPARE(m_signals->lists.first().first, names);
        QCOMPARE(m_signals->lists.first().second, uris);
        QCOMPARE(Control::requests(101503).first().data, QByteArray(7712, '\0'));
        QCOMPARE(debugLines(log).last(), QString("VidyoClientSendRequest state:0"));
    }

    void refusedParticipantList()
    {
        Control::scriptRequest(101503, 7, 1);
        TQLogCapture log;
        Control::fire(1202, QByteArray());
        QVERIFY(settle());
        QVERIFY(m_signals->entries.isEmpty());
        QCOMPARE(debugLines(log),
                 QStringList({"VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_PARTICIPANTS_CHANGED "
                              "received ",
                              "VidyoClientSendRequest state:7"}));
    }

    void remoteSourceRemoved()
    {
        VidyoClientOutEventRemoteSourceRemoved data{};
        data.sourceType = 3;
        put(data.sourceName, "camera \xe2\x80\xa8 of bob");
        Control::fire(1211, QByteArray(reinterpret_cast<const char *>(&data), sizeof data));
        QVERIFY(settle());
        QCOMPARE(
            m_signals->entries,
            QStringList{QString::fromUtf8("remoteSourceRemoved(camera \xe2\x80\xa8 of bob,3)")});
    }

    void remoteSourceRemovedWithShortData()
    {
        Control::fireNull(1211, 520);
        Control::fire(1211, QByteArray(8, '\x01'));
        Control::fire(1211, QByteArray(261, '\x01'));
        // Text without a NUL up to the data's end: read up to the end, not past it.
        Control::fire(1211, QByteArray(4, '\0') + QByteArray(257, 'p') + QByteArray(5, 'q'));
        QVERIFY(settle());
        QCOMPARE(m_signals->entries, QStringList{"remoteSourceRemoved(qqqqq,0)"});
    }

    void windowSharesChanged()
    {
        Control::scriptFill(100500, [](void *r, unsigned int) {
            auto *shares = static_cast<VidyoClientRequestWindowShares *>(r);
            shares->newApp = 41;
            shares->requestType = 9;
            return 0;
        });
        Control::fire(1600, QByteArray());
        QVERIFY(settle());
        QCOMPARE(m_signals->entries, QStringList{"onStartShareScreen()"});
        const QByteArray read = Control::requests(100500).first().data;
        QCOMPARE(read, QByteArray(20836, '\0'));
        const QByteArray write = Control::requests(100501).first().data;
        QCOMPARE(int32At(write, 0), 1);
        QCOMPARE(int32At(write, 20832), 42);
    }

    void windowSharesRefused()
    {
        Control::scriptRequest(100500, 1, 1);
        Control::scriptRequest(100501, 1, 1);
        TQLogCapture log;
        Control::fire(1600, QByteArray());
        Control::fire(1601, QByteArray());
        QVERIFY(settle());
        QCOMPARE(m_signals->entries, QStringList{"onStopShareScreen()"});
        QCOMPARE(
            debugLines(log),
            QStringList({"VidyoClient sample - VIDYO_CLIENT_REQUEST_GET_WINDOW_SHARES failed",
                         "VidyoClient sample - VIDYO_CLIENT_REQUEST_SET_WINDOW_SHARES failed "}));
    }

    void conferenceActiveQueries()
    {
        Control::scriptFill(101613, [](void *, unsigned int) { return 0; }); // an empty list
        Control::scriptRequest(100302, 1, 1);
        TQLogCapture log;
        Control::fire(1200, QByteArray());
        QVERIFY(settle());
        QCOMPARE(m_signals->entries, QStringList{"onVidyoState(1005,true,)"});
        QCOMPARE(Control::events(400).first().data.left(4), int32Bytes(4));
        QCOMPARE(Control::requests(101613).first().size, 55304u);
        QCOMPARE(debugLines(log),
                 QStringList(
                     {"VidyoClient sample - VIDYO_CLIENT_OUT_EVENT_CONFERENCE_ACTIVE received ",
                      "VidyoClient sample - VIDYO_CLIENT_REQUEST_GET_VOLUME_AUDIO_OUT failed",
                      "VidyoClient sample - Participants GET_PARTICIPANTS_STATISTICS_LIST=0 ."}));
    }

    void cameraControlList()
    {
        TQLogCapture log;
        Control::fire(2100, QByteArray());
        QVERIFY(settle());
        QCOMPARE(Control::requests(101506).first().size, 9272u);
        QCOMPARE(debugLines(log), QStringList{"VidyoClient sample - No FECC cameras."});
    }

    void clearedAfterLeave()
    {
        TQLogCapture log;
        Control::fire(1203, QByteArray());
        QVERIFY(settle());
        QCOMPARE(m_signals->entries, QStringList{"LeaveMeettingSuccess()"});
        QCOMPARE(debugLines(log), QStringList{"VIDYO_CLIENT_OUT_EVENT_CONFERENCE_CLEARED"});
    }

    void unknownEventsOnlyEnter()
    {
        TQLogCapture log;
        for (unsigned int e : {0u, 1u, 199u, 1212u, 4000u, 0xffffffffu})
            Control::fire(e, QByteArray(16, '\xff'));
        QVERIFY(settle());
        QVERIFY(m_signals->entries.isEmpty());
        QVERIFY(debugLines(log).isEmpty());
        QCOMPARE(Control::journal().size(), 0);
    }

    void nothingWhileNotStarted()
    {
        freshClient();
        Control::setDriving(false);
        Control::scriptReturn("VidyoClientStart", 0, 1);
        VidyoDataBase record = sampleRecord();
        emit Vidyo_Agent::instance()->signal_StartVidyo(&record);
        QVERIFY(m_signals->waitFor("onVidyoState(1001,false,)"));
        m_signals->clear();
        Control::clearJournal();
        TQLogCapture log;
        for (unsigned int e : {200u, 1200u, 1202u, 1203u, 1600u, 2303u, 2305u})
            Control::fire(e, int32Bytes(3));
        QVERIFY(settle());
        QVERIFY(m_signals->entries.isEmpty());
        QVERIFY(log.texts().isEmpty());
        QCOMPARE(Control::journal().size(), 0);
    }
};

QObject *newTestVidyoEvents()
{
    return new TestVidyoEvents;
}

#include "tst_vidyo_events.moc"
