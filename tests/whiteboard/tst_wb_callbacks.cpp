// WhiteBoard_CallBack: each entry of the table in its place, each callback turned into its
// signal with the arguments in order (request ids dropped, null texts kept null, 64-bit
// sizes whole), and the agent's life around the callbacks: no agent built by a late
// callback, one agent for concurrent first calls, no signal once the library is stopped.

#include "WbTestSupport.h"

#include <atomic>
#include <thread>
#include <vector>

using Fire = std::function<void()>;
Q_DECLARE_METATYPE(Fire)

namespace {

const char *none = nullptr;

template<class Entry, class... Args> Fire fire(Entry WbssCallbackTable::*entry, Args... args)
{
    return [=] {
        wbsim::Control::fire(entry, args...);
    };
}

QString line(const char *callback)
{
    return QStringLiteral("WhiteBoard_CallBack::") + QLatin1String(callback);
}

// Records every signal of the agent on the main thread, by name, with its arguments.
class AllSignals : public QObject
{
public:
    AllSignals()
    {
        const QMetaObject &meta = WhiteBoard_Agent::staticMetaObject;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            if (meta.method(i).methodType() != QMetaMethod::Signal)
                continue;
            auto *spy = new QSignalSpy(WhiteBoard_Agent::instance(), meta.method(i));
            spies.append(spy);
        }
    }
    ~AllSignals() override { qDeleteAll(spies); }

    // The signals emitted, "name(args)", each once per emission.
    QList<QPair<QByteArray, QVariantList>> emitted() const
    {
        QList<QPair<QByteArray, QVariantList>> all;
        for (QSignalSpy *spy : spies)
            for (const QVariantList &args : *spy)
                all.append({spy->signal(), args});
        return all;
    }

    QList<QSignalSpy *> spies;
};

} // namespace

class TestWbCallbacks : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(startLibrary()); }

    void table()
    {
        const auto *entries
            = reinterpret_cast<const WbssReserved *>(WhiteBoard_CallBack::instance()->table());
        QVERIFY(entries);
        const QSet<int> empty{4, 7, 8, 9, 18, 19, 22, 26, 27, 37, 38, 39, 40, 41, 42};
        for (int k = 0; k < WBSS_TABLE_SLOTS; ++k)
            QVERIFY2(bool(entries[k]) != empty.contains(k), qPrintable(QString::number(k)));
    }

    void callbacks_data()
    {
        QTest::addColumn<Fire>("event");
        QTest::addColumn<QByteArray>("signal");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QString>("line");

        using T = WbssCallbackTable;
        QTest::newRow("onTcpConnected")
            << fire(&T::onTcpConnected, 200, "10.0.0.1", 8443)
            << QByteArray("sig_onTcpConnected(int,QString,int)")
            << QVariantList{200, "10.0.0.1", 8443} << line("callback_onTcpConnected");
        QTest::newRow("onTcpConnectError") << fire(&T::onTcpConnectError, 403, "h\xc3\xa9", 1)
                                           << QByteArray("sig_onTcpConnectError(int,QString,int)")
                                           << QVariantList{403, QString::fromUtf8("h\xc3\xa9"), 1}
                                           << line("callback_onTcpConnectError");
        QTest::newRow("onCreateRoom")
            << fire(&T::onCreateRoom, 77, 200, 5001) << QByteArray("sig_onCreateRoom(int,int)")
            << QVariantList{200, 5001} << line("callback_onCreateRoom");
        QTest::newRow("onDeleteRoom")
            << fire(&T::onDeleteRoom, 77, 403) << QByteArray("sig_onDeleteRoom(int)")
            << QVariantList{403} << line("callback_onDeleteRoom");
        QTest::newRow("onLeaveRoom")
            << fire(&T::onLeaveRoom, 77, 200) << QByteArray("sig_onLeaveRoom(int)")
            << QVariantList{200} << line("callback_onLeaveRoom");
        QTest::newRow("onJoinRoom")
            << fire(&T::onJoinRoom, 77, 200, "{\"roomId\":1}")
            << QByteArray("sig_onJoinRoom(int,QString)") << QVariantList{200, "{\"roomId\":1}"}
            << line("callback_onJoinRoom");
        QTest::newRow("onMemberJoinNotify")
            << fire(&T::onMemberJoinNotify, 77, "bob")
            << QByteArray("sig_onMemberJoinNotify(QString)") << QVariantList{"bob"}
            << line("callback_onMemberJoinNotify");
        QTest::newRow("onMemberLeaveNotify")
            << fire(&T::onMemberLeaveNotify, 77, "bob")
            << QByteArray("sig_onMemberLeaveNotify(QString)") << QVariantList{"bob"}
            << line("callback_onMemberLeaveNotify");
        QTest::newRow("onGetRoomMember")
            << fire(&T::onGetRoomMember, 77, 200, "[]")
            << QByteArray("sig_onGetRoomMember(int,QString)") << QVariantList{200, "[]"}
            << line("callback_onGetRoomMember");
        QTest::newRow("onChangeMemberAuth")
            << fire(&T::onChangeMemberAuth, 77, 200) << QByteArray("sig_onChangeMemberAuth(int)")
            << QVariantList{200} << line("callback_onChangeMemberAuth");
        QTest::newRow("onChangeMemberAuthNotify")
            << fire(&T::onChangeMemberAuthNotify, "bob", 2u, 4000000000u)
            << QByteArray("sig_onChangeMemberAuthNotify(QString,uint,uint)")
            << QVariantList{"bob", 2u, 4000000000u} << line("callback_onChangeMemberAuthNotify");
        QTest::newRow("onKickOutNotify")
            << fire(&T::onKickOutNotify, 5001, "carol")
            << QByteArray("sig_onKickOutNotify(int,QString)") << QVariantList{5001, "carol"}
            << line("callback_onKickOutNotify");
        QTest::newRow("onUploadFile")
            << fire(&T::onUploadFile, 77, 200, 12) << QByteArray("sig_onUploadFile(int,int)")
            << QVariantList{200, 12} << line("callback_onUploadFile");
        QTest::newRow("onRateOfProgress")
            << fire(&T::onRateOfProgress, 77, uint64_t(5) << 30, (uint64_t(6) << 30) + 1)
            << QByteArray("sig_onRateOfProgress(qulonglong,qulonglong)")
            << QVariantList{QVariant::fromValue(qulonglong(5) << 30),
                            QVariant::fromValue((qulonglong(6) << 30) + 1)}
            << line("callback_onRateOfProgress");
        QTest::newRow("onDocPngOne")
            << fire(&T::onDocPngOne, 200, 1, 2, 3, 4)
            << QByteArray("sig_onDocPngOne(int,int,int,int,int)") << QVariantList{200, 1, 2, 3, 4}
            << line("callback_onDocPngOne");
        QTest::newRow("onDocPngReady")
            << fire(&T::onDocPngReady, 200, 1, 2, 4)
            << QByteArray("sig_onDocPngReady(int,int,int,int)") << QVariantList{200, 1, 2, 4}
            << line("callback_onDocPngReady");
        QTest::newRow("onShareDoc")
            << fire(&T::onShareDoc, 77, 200, 0, 3) << QByteArray("sig_onShareDoc(int,int,int)")
            << QVariantList{200, 0, 3} << line("callback_onShareDoc");
        QTest::newRow("onShareDocNotify")
            << fire(&T::onShareDocNotify, 1, 2, 3, 4)
            << QByteArray("sig_onShareDocNotify(int,int,int,int)") << QVariantList{1, 2, 3, 4}
            << line("callback_onShareDocNotify");
        // The only callback whose request id goes on.
        QTest::newRow("onDocConvertNotify")
            << fire(&T::onDocConvertNotify, 77, 200, 1, 2, 3, "a.txt")
            << QByteArray("sig_onDocConvertNotify(int,int,int,int,int,QString)")
            << QVariantList{77, 200, 1, 2, 3, "a.txt"} << line("callback_onDocConvertNotify");
        QTest::newRow("onCurrentPageDrawingClear")
            << fire(&T::onCurrentPageDrawingClear, 77, 200, 5001)
            << QByteArray("sig_onCurrentPageDrawingClear(int,int)") << QVariantList{200, 5001}
            << line("callback_onCurrentPageDrawingClear");
        QTest::newRow("onGotoPage")
            << fire(&T::onGotoPage, 77, 200, 1, 3) << QByteArray("sig_onGotoPage(int,int,int)")
            << QVariantList{200, 1, 3} << line("callback_onGotoPage");
        QTest::newRow("onGotoPageNotify")
            << fire(&T::onGotoPageNotify, "bob", 1, 2, 3, 4)
            << QByteArray("sig_onGotoPageNotify(QString,int,int,int,int)")
            << QVariantList{"bob", 1, 2, 3, 4} << line("callback_onGotoPageNotify");
        QTest::newRow("onDownloadPage")
            << fire(&T::onDownloadPage, 77, 200) << QByteArray("sig_onDownloadPage(int)")
            << QVariantList{200} << line("callback_onDownloadPage");
        QTest::newRow("onDrawNotify") << fire(&T::onDrawNotify) << QByteArray("sig_onDrawNotify()")
                                      << QVariantList{} << line("callback_onDrawNotify");
        QTest::newRow("onDrawUndo")
            << fire(&T::onDrawUndo, 77, 404) << QByteArray("sig_onDrawUndo(int)")
            << QVariantList{404} << line("callback_onDrawUndo");
        QTest::newRow("onDrawUndoNotify")
            << fire(&T::onDrawUndoNotify, "bob", 1, 2, 3)
            << QByteArray("sig_onDrawUndoNotify(QString,int,int,int)")
            << QVariantList{"bob", 1, 2, 3} << line("callback_onDrawUndoNotify");
        QTest::newRow("onDrawRedo")
            << fire(&T::onDrawRedo, 77, 200) << QByteArray("sig_onDrawRedo(int)")
            << QVariantList{200} << line("callback_onDrawRedo");
        QTest::newRow("onDrawRedoNotify")
            << fire(&T::onDrawRedoNotify, "bob", 1, 2, 3)
            << QByteArray("sig_onDrawRedoNotify(QString,int,int,int)")
            << QVariantList{"bob", 1, 2, 3} << line("callback_onDrawRedoNotify");
    }

    void callbacks()
    {
        QFETCH(Fire, event);
        QFETCH(QByteArray, signal);
        QFETCH(QVariantList, args);
        QFETCH(QString, line);

        AllSignals all;
        TQLogCapture log;
        event();
        QVERIFY(settle());
        QCOMPARE(log.texts(), QStringList{line}); // the name line and nothing else
        const auto emitted = all.emitted();
        QCOMPARE(emitted.size(), 1);
        QCOMPARE(emitted.first().first, signal);
        QCOMPARE(emitted.first().second, args);
    }

    // A null text from the library is a null text, not an empty one, and no crash.
    void nullTexts()
    {
        WbInbox<QString> joined(&WhiteBoard_Agent::sig_onMemberJoinNotify);
        WbInbox<int, QString> room(&WhiteBoard_Agent::sig_onJoinRoom);
        WbInbox<int, int, int, int, int, QString> converted(
            &WhiteBoard_Agent::sig_onDocConvertNotify);
        using T = WbssCallbackTable;
        wbsim::Control::fire(&T::onMemberJoinNotify, 1, none);
        wbsim::Control::fire(&T::onJoinRoom, 1, 404, none);
        wbsim::Control::fire(&T::onDocConvertNotify, 1, 200, 1, 1, 1, none);
        QVERIFY(settle());
        QTRY_COMPARE(converted.count(), 1);
        QCOMPARE(joined.count(), 1);
        QVERIFY(joined.last<0>().isNull());
        QVERIFY(room.last<1>().isNull());
        QVERIFY(converted.last<5>().isNull());
    }

    // Sizes above 4 GiB cross the queued connection whole.
    void largeProgressQueued()
    {
        WbInbox<unsigned long long, unsigned long long> progress(
            &WhiteBoard_Agent::sig_onRateOfProgress);
        const uint64_t done = (uint64_t(5) << 30) + 7;
        const uint64_t total = uint64_t(0xFFFFFFFFFFFFFFFFull);
        wbsim::Control::fire(&WbssCallbackTable::onRateOfProgress, 1, done, total);
        QTRY_COMPARE(progress.count(), 1);
        QCOMPARE(progress.last<0>(), qulonglong(done));
        QCOMPARE(progress.last<1>(), qulonglong(total));
    }

    // A callback after the agent is gone is dropped: no agent is built on the library's
    // thread, and the library is not started from inside its own callback.
    void lateCallbackDropped()
    {
        const WbssCallbackTable *t = WhiteBoard_CallBack::instance()->table();
        const auto onCreateRoom = t->onCreateRoom;
        const auto onJoinRoom = t->onJoinRoom;
        destroyAgent();
        QVERIFY(!WhiteBoard_Agent::existing());
        QVERIFY(!wbsim::Control::initialized());
        wbsim::Control::clearJournal();

        std::thread library([&] {
            onCreateRoom(1, 200, 5001);
            onJoinRoom(1, 200, "{}");
        });
        library.join();
        QVERIFY(!WhiteBoard_Agent::existing());
        QCOMPARE(wbsim::Control::callCount("wbssInitialize"), 0);

        // The next instance() builds and starts a new agent.
        QVERIFY(WhiteBoard_Agent::instance());
        QCOMPARE(wbsim::Control::callCount("wbssInitialize"), 1);
        QVERIFY(wbsim::Control::initialized());
    }

    // Concurrent first calls build one agent and start the library once.
    void concurrentFirstCalls()
    {
        destroyAgent();
        wbsim::Control::clearJournal();
        std::atomic<bool> go{false};
        std::vector<std::thread> threads;
        QVector<WhiteBoard_Agent *> got(8, nullptr);
        for (int i = 0; i < got.size(); ++i)
            threads.emplace_back([&, i] {
                while (!go.load())
                    std::this_thread::yield();
                got[i] = WhiteBoard_Agent::instance();
            });
        go = true;
        for (std::thread &t : threads)
            t.join();
        for (WhiteBoard_Agent *agent : got)
            QCOMPARE(agent, got.first());
        QCOMPARE(wbsim::Control::callCount("wbssInitialize"), 1);
        QCOMPARE(WhiteBoard_Agent::instance(), got.first());
    }

    // Stopping while the library calls back: once unInit returns, no signal follows.
    void stopWhileCallingBack()
    {
        std::atomic<int> emitted{0};
        WhiteBoard_Agent *agent = WhiteBoard_Agent::instance();
        const QMetaObject::Connection c = connect(
            agent, &WhiteBoard_Agent::sig_onDrawNotify, this, [&] { ++emitted; },
            Qt::DirectConnection);
        for (int i = 0; i < 2000; ++i)
            wbsim::Control::fire(&WbssCallbackTable::onDrawNotify);
        agent->unInitWhiteBoardAgent();
        const int atStop = emitted.load();
        // A callback through the old entries now finds them null.
        wbsim::Control::callEntry(&WbssCallbackTable::onDrawNotify);
        const auto *entries
            = reinterpret_cast<const WbssReserved *>(WhiteBoard_CallBack::instance()->table());
        for (int k = 0; k < WBSS_TABLE_SLOTS; ++k)
            QVERIFY(!entries[k]);
        QCOMPARE(emitted.load(), atStop);
        disconnect(c);
        agent->initWhiteBoardAgent();
    }

    // Destroying the agent stops the library first, so nothing emits on a dying agent.
    void destructorStopsTheLibrary()
    {
        TQLogCapture log;
        destroyAgent();
        QVERIFY(!wbsim::Control::initialized());
        QVERIFY(log.texts().contains(QStringLiteral("WhiteBoard_Agent::unInitWhiteBoardAgent")));
        QVERIFY(WhiteBoard_Agent::instance());
    }
};

QObject *newTestWbCallbacks()
{
    return new TestWbCallbacks;
}

#include "tst_wb_callbacks.moc"
