// WhiteBoard_Agent's slots: for each of the 33, the library function, its arguments in order
// and the log lines; then the upload's own answer, the code page of its file name, and the
// agent's life: a second start refused, restarts that build fresh tables.

#include "WbTestSupport.h"

#include <QTextCodec>

using Call = std::function<void(WhiteBoard_Agent *)>;
Q_DECLARE_METATYPE(Call)

namespace {

QVariant b(const char *utf8)
{
    return QVariant(QByteArray(utf8));
}

QVariant handle(quintptr value)
{
    return QVariant::fromValue<qulonglong>(value);
}

QString n(const char *slot)
{
    return QStringLiteral("WhiteBoard_Agent::") + QLatin1String(slot);
}

void *fakeWindow()
{
    return reinterpret_cast<void *>(quintptr(0x5000));
}

} // namespace

class TestWbRequests : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(startLibrary());
        wbsim::Control::setAnswering(false); // only the slots log
    }

    void requests_data()
    {
        QTest::addColumn<Call>("call");
        QTest::addColumn<QString>("function"); // empty: no library call
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("wbssSetTraceFlag")
            << Call([](WhiteBoard_Agent *a) { a->slot_wbssSetTraceFlag(true, "wb.log", 3); })
            << "wbssSetTraceFlag" << QVariantList{1, b("wb.log"), 3}
            << QStringList{n("slot_wbssSetTraceFlag")};
        QTest::newRow("wbssGetVersion")
            << Call([](WhiteBoard_Agent *a) { a->slot_wbssGetVersion(); }) << "wbssGetVersion"
            << QVariantList{} << QStringList{n("slot_wbssGetVersion"), "version=wbss-sim 1.0"};
        QTest::newRow("wbssSetSDKVars") << Call([](WhiteBoard_Agent *a) {
            a->slot_wbssSetSDKVars("alice", "key", "app", "/data",
                                   QString::fromUtf8("[{\"ip\":\"h\u00e9\",\"port\":1}]"));
        }) << "wbssSetSDKVars"
                                        << QVariantList{b("alice"), b("key"), b("app"), b("/data"),
                                                        b("[{\"ip\":\"h\xc3\xa9\",\"port\":1}]")}
                                        << QStringList{n("slot_wbssSetSDKVars"), "0"};
        QTest::newRow("wbssSetTimeOut")
            << Call([](WhiteBoard_Agent *a) { a->slot_wbssSetTimeOut(30, 60); }) << "wbssSetTimeOut"
            << QVariantList{30, 60} << QStringList{n("slot_wbssSetTimeOut")};
        QTest::newRow("wbssReinitConnection")
            << Call([](WhiteBoard_Agent *a) { a->slot_wbssReinitConnection(); })
            << "wbssReinitConnection" << QVariantList{}
            << QStringList{n("slot_wbssReinitConnection")};
        QTest::newRow("wbssStartNetwork")
            << Call([](WhiteBoard_Agent *a) { a->slot_wbssStartNetwork(12); }) << "wbssStartNetwork"
            << QVariantList{12} << QStringList{n("slot_wbssStartNetwork")};
        QTest::newRow("wbssStopNetwork")
            << Call([](WhiteBoard_Agent *a) { a->slot_wbssStopNetwork(); }) << "wbssStopNetwork"
            << QVariantList{} << QStringList{n("slot_wbssStopNetwork")};
        // Refused (no room joined): the code is logged.
        QTest::newRow("wbssUploadFile") << Call([](WhiteBoard_Agent *a) {
            a->slot_wbssUploadFile(3, 1, "/nowhere/a.txt", "s-1", "{\"x\":1}");
        }) << "wbssUploadFile" << QVariantList{3, 1, b("/nowhere/a.txt"), b("s-1"), b("{\"x\":1}")}
                                        << QStringList{n("slot_wbssUploadFile"), "3"};
        QTest::newRow("wbssCancelUploadOrDownloadNOW")
            << Call([](WhiteBoard_Agent *a) { a->slot_wbssCancelUploadOrDownloadNOW(3, "s-1"); })
            << "" << QVariantList{} << QStringList{n("slot_wbssCancelUploadOrDownloadNOW")};
        QTest::newRow("createRoom")
            << Call([](WhiteBoard_Agent *a) { a->slot_createRoom(1, 8, "p\u00e4ss", 2); })
            << "createRoom" << QVariantList{1, 8, b("p\xc3\xa4ss"), 2}
            << QStringList{n("slot_createRoom"), "0"};
        QTest::newRow("joinRoom") << Call([](WhiteBoard_Agent *a) {
            a->slot_joinRoom(5001, "pw", 3);
        }) << "joinRoom" << QVariantList{5001, b("pw"), 3}
                                  << QStringList{n("slot_joinRoom"), n("slot_joinRoom") + ",ret=0"};
        QTest::newRow("deleteRoom")
            << Call([](WhiteBoard_Agent *a) { a->slot_deleteRoom(7); }) << "deleteRoom"
            << QVariantList{7} << QStringList{n("slot_deleteRoom"), "deleteRoom:7,ret=0"};
        QTest::newRow("leaveRoom")
            << Call([](WhiteBoard_Agent *a) { a->slot_leaveRoom(7); }) << "leaveRoom"
            << QVariantList{7} << QStringList{n("slot_leaveRoom"), "0"};
        QTest::newRow("getRoomMember")
            << Call([](WhiteBoard_Agent *a) { a->slot_getRoomMember(7); }) << "getRoomMember"
            << QVariantList{7} << QStringList{n("slot_getRoomMember"), "0"};
        QTest::newRow("changeMemberAuth")
            << Call([](WhiteBoard_Agent *a) { a->slot_changeMemberAuth(7, "bob", 2u, 1u); })
            << "changeMemberAuth" << QVariantList{7, b("bob"), 2u, 1u}
            << QStringList{n("slot_changeMemberAuth"), "ret=0"};
        QTest::newRow("shareDoc") << Call([](WhiteBoard_Agent *a) { a->slot_shareDoc(7, 11); })
                                  << "shareDoc" << QVariantList{7, 11}
                                  << QStringList{n("slot_shareDoc"), "0"};
        QTest::newRow("setDocBackgroundColor")
            << Call([](WhiteBoard_Agent *a) { a->slot_setDocBackgroundColor(7, 1, 2, 3, 4); }) << ""
            << QVariantList{} << QStringList{n("slot_setDocBackgroundColor")};
        QTest::newRow("setLineShape")
            << Call([](WhiteBoard_Agent *a) { a->slot_setLineShape(7, 2); }) << "setLineShape"
            << QVariantList{7, 2} << QStringList{n("slot_setLineShape"), "0"};
        QTest::newRow("setLineColor")
            << Call([](WhiteBoard_Agent *a) { a->slot_setLineColor(7, 10, 20, 30, 255); })
            << "setLineColor" << QVariantList{7, 10, 20, 30, 255}
            << QStringList{n("slot_setLineColor"), "0"};
        // The library's own refusal is logged as it comes.
        QTest::newRow("setLineWidth refused")
            << Call([](WhiteBoard_Agent *a) { a->slot_setLineWidth(7, 0); }) << "setLineWidth"
            << QVariantList{7, 0} << QStringList{n("slot_setLineWidth"), "2"};
        QTest::newRow("getEraser")
            << Call([](WhiteBoard_Agent *a) { a->slot_getEraser(7); }) << "getEraser"
            << QVariantList{7} << QStringList{n("slot_getEraser"), "0"};
        QTest::newRow("getPen") << Call([](WhiteBoard_Agent *a) { a->slot_getPen(7, 1); })
                                << "getPen" << QVariantList{7, 1}
                                << QStringList{n("slot_getPen"), "0"};
        QTest::newRow("currentPageDrawingClear")
            << Call([](WhiteBoard_Agent *a) { a->slot_currentPageDrawingClear(7, "alice"); })
            << "currentPageDrawingClear" << QVariantList{7, b("alice")}
            << QStringList{n("slot_currentPageDrawingClear"), "0"};
        // The document number does not reach the library.
        QTest::newRow("gotoPage") << Call([](WhiteBoard_Agent *a) { a->slot_gotoPage(5, 9, 3); })
                                  << "gotoPage" << QVariantList{5, 3}
                                  << QStringList{n("slot_gotoPage"), "0"};
        QTest::newRow("gotoNextPage")
            << Call([](WhiteBoard_Agent *a) { a->slot_gotoNextPage(); }) << "gotoNextPage"
            << QVariantList{} << QStringList{n("slot_gotoNextPage"), "0"};
        QTest::newRow("gotoPrevPage")
            << Call([](WhiteBoard_Agent *a) { a->slot_gotoPrevPage(); }) << "gotoPrevPage"
            << QVariantList{} << QStringList{n("slot_gotoPrevPage"), "0"};
        QTest::newRow("drawUndo") << Call([](WhiteBoard_Agent *a) { a->slot_drawUndo(1); })
                                  << "drawUndo" << QVariantList{1}
                                  << QStringList{n("slot_drawUndo"), "0"};
        QTest::newRow("drawRedo") << Call([](WhiteBoard_Agent *a) { a->slot_drawRedo(); })
                                  << "drawRedo" << QVariantList{}
                                  << QStringList{n("slot_drawRedo"), "0"};
        QTest::newRow("setZoomState")
            << Call([](WhiteBoard_Agent *a) { a->slot_setZoomState(1); }) << "setZoomState"
            << QVariantList{1} << QStringList{n("slot_setZoomState"), "0"};
        // mode, then 0, then the ratio as a float, then the point.
        QTest::newRow("scale") << Call([](WhiteBoard_Agent *a) { a->slot_scale(1, 1.5f, 10, 20); })
                               << "scale" << QVariantList{1, 0, QVariant::fromValue(1.5f), 10, 20}
                               << QStringList{n("slot_scale"), "0"};
        QTest::newRow("move") << Call([](WhiteBoard_Agent *a) { a->slot_move(1, 2, 3, 4); }) << ""
                              << QVariantList{} << QStringList{n("slot_move")};
        QTest::newRow("BindWindows")
            << Call([](WhiteBoard_Agent *a) { a->slot_BindWindows(fakeWindow(), 1, 2, 640, 480); })
            << "BindWindows" << QVariantList{handle(0x5000), 1, 2, 640, 480}
            << QStringList{n("slot_BindWindows"), "0"};
        // Forwarded with a fifth argument 0, and never logged.
        QTest::newRow("handleWindowsProc") << Call([](WhiteBoard_Agent *a) {
            a->slot_handleWindowsProc(fakeWindow(), 0x0201, 1u, 0x00140010u);
        }) << "handleWindowsProc" << QVariantList{handle(0x5000), 0x0201u, 1u, 0x00140010, 0}
                                           << QStringList{};
    }

    void requests()
    {
        QFETCH(Call, call);
        QFETCH(QString, function);
        QFETCH(QVariantList, args);
        QFETCH(QStringList, lines);

        TQLogCapture log;
        onAgentThread(call);
        QCOMPARE(log.texts(TQLog::Info), lines);
        QCOMPARE(log.texts(TQLog::Error), QStringList());
        const QList<wbsim::CallRecord> journal = wbsim::Control::journal();
        if (function.isEmpty()) {
            QCOMPARE(journal.size(), 0);
            return;
        }
        QCOMPARE(journal.size(), 1);
        QCOMPARE(journal.first().function, function);
        QCOMPARE(journal.first().args, args);
    }

    // The table above has a row for each of them.
    void thirtyThreeSlots()
    {
        QSet<QString> slotNames;
        const QMetaObject &meta = WhiteBoard_Agent::staticMetaObject;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
            if (meta.method(i).methodType() == QMetaMethod::Slot)
                slotNames << QString::fromLatin1(meta.method(i).name());
        QCOMPARE(slotNames.size(), 33);
    }

    // A refused upload answers at once with 201 and document 11, before the slot returns,
    // exactly once.
    void refusedUploadAnswersAtOnce()
    {
        wbsim::Control::scriptReturn("wbssUploadFile", WBSS_ERR_FILE, 1);
        QList<std::pair<int, int>> answers;
        const QMetaObject::Connection c = connect(
            WhiteBoard_Agent::instance(), &WhiteBoard_Agent::sig_onUploadFile, this,
            [&](int result, int docId) {
                answers.append({result, docId});
            },
            Qt::DirectConnection);
        onAgentThread([](WhiteBoard_Agent *a) { a->slot_wbssUploadFile(1, 0, "f", "", ""); });
        disconnect(c);
        QCOMPARE(answers, (QList<std::pair<int, int>>{{201, 11}}));
    }

    void acceptedUploadWaitsForTheLibrary()
    {
        wbsim::Control::scriptReturn("wbssUploadFile", WBSS_OK, 1);
        int answers = 0;
        const QMetaObject::Connection c = connect(
            WhiteBoard_Agent::instance(), &WhiteBoard_Agent::sig_onUploadFile, this,
            [&](int, int) { ++answers; }, Qt::DirectConnection);
        onAgentThread([](WhiteBoard_Agent *a) { a->slot_wbssUploadFile(1, 0, "f", "", ""); });
        QVERIFY(settle());
        disconnect(c);
        QCOMPARE(answers, 0);
    }

    // The file name goes in the local code page, the session and options in UTF-8.
    void uploadFileNameInLocalCodePage()
    {
        QTextCodec *before = QTextCodec::codecForLocale();
        QTextCodec *gb = QTextCodec::codecForName("GB18030");
        QVERIFY(gb);
        QTextCodec::setCodecForLocale(gb);
        const QString name = QString::fromUtf8("/tmp/\xe6\x8a\xa5\xe5\x91\x8a.txt"); // 报告
        const QString session = QString::fromUtf8("\xe4\xbc\x9a"); // 会
        onAgentThread(
            [&](WhiteBoard_Agent *a) { a->slot_wbssUploadFile(1, 2, name, session, session); });
        QTextCodec::setCodecForLocale(before);
        const QVariantList args = wbsim::Control::calls("wbssUploadFile").value(0).args;
        QCOMPARE(args.value(2).toByteArray(), gb->fromUnicode(name));
        QVERIFY(args.value(2).toByteArray() != name.toUtf8());
        QCOMPARE(args.value(3).toByteArray(), session.toUtf8());
        QCOMPARE(args.value(4).toByteArray(), session.toUtf8());
    }

    // Keys and passwords reach the library but never the log.
    void secretsNotLogged()
    {
        TQLogCapture log;
        onAgentThread([](WhiteBoard_Agent *a) {
            a->slot_wbssSetSDKVars("alice", "key-123", "app", "/d", "[]");
            a->slot_createRoom(1, 2, "pw-456", 1);
            a->slot_joinRoom(1, "pw-789", 1);
        });
        const QString all = log.texts().join(QLatin1Char('|'));
        QVERIFY(!all.contains(QLatin1String("key-123")));
        QVERIFY(!all.contains(QLatin1String("pw-456")));
        QVERIFY(!all.contains(QLatin1String("pw-789")));
        QCOMPARE(wbsim::Control::calls("joinRoom").value(0).args.value(1), b("pw-789"));
    }

    // Slots connected to a window's signals run on the agent's thread, in request order.
    void queuedFromAnotherThread()
    {
        QObject sender;
        WhiteBoard_Agent *agent = WhiteBoard_Agent::instance();
        QVERIFY(agent->thread() != QThread::currentThread());
        for (int i = 1; i <= 5; ++i)
            QMetaObject::invokeMethod(agent, "slot_setLineWidth", Q_ARG(int, 1), Q_ARG(int, i));
        QVERIFY(wbsim::Control::waitForCalls("setLineWidth", 5));
        const QList<wbsim::CallRecord> calls = wbsim::Control::calls("setLineWidth");
        for (int i = 0; i < 5; ++i)
            QCOMPARE(calls.at(i).args.value(1).toInt(), i + 1);
    }

    void secondStartRefused()
    {
        TQLogCapture log;
        WhiteBoard_Agent::instance()->initWhiteBoardAgent();
        QCOMPARE(wbsim::Control::callCount("wbssInitialize"), 0);
        QCOMPARE(log.texts(TQLog::Error).size(), 1);
        QVERIFY(wbsim::Control::table() == WhiteBoard_CallBack::instance()->table());
    }

    // Each start hands the library a table of its own, filled; the stopped one is nulled
    // (under LeakSanitizer the tables of earlier starts do not stay behind).
    void restartsBuildFreshTables()
    {
        WhiteBoard_Agent *agent = WhiteBoard_Agent::instance();
        for (int i = 0; i < 100; ++i) {
            agent->unInitWhiteBoardAgent();
            const WbssCallbackTable *stopped = WhiteBoard_CallBack::instance()->table();
            QVERIFY(stopped);
            const auto *entries = reinterpret_cast<const WbssReserved *>(stopped);
            for (int k = 0; k < WBSS_TABLE_SLOTS; ++k)
                QVERIFY(!entries[k]);
            QVERIFY(!wbsim::Control::initialized());
            agent->initWhiteBoardAgent();
            QVERIFY(wbsim::Control::initialized());
            QVERIFY(wbsim::Control::table()->onDrawNotify);
        }
        QCOMPARE(wbsim::Control::callCount("wbssInitialize"), 100);
        QCOMPARE(wbsim::Control::callCount("wbssUninitialize"), 100);
    }
};

QObject *newTestWbRequests()
{
    return new TestWbRequests;
}

#include "tst_wb_requests.moc"
