// One whiteboard session against the stand-in library, as a window drives it: connect,
// create a room and join it, upload a real file with progress, share it, go to page 2, draw
// through the bound window's mouse messages, undo and redo, clear, and leave.

#include "WbTestSupport.h"

#include <AgentShutdown.h>

#include <QTemporaryDir>

namespace {

void *fakeWindow()
{
    return reinterpret_cast<void *>(quintptr(0x7000));
}

unsigned int at(int x, int y)
{
    return (unsigned(y & 0xFFFF) << 16) | unsigned(x & 0xFFFF);
}

} // namespace

class TestWbEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(startLibrary()); }

    void session()
    {
        WbInbox<int, QString, int> connected(&WhiteBoard_Agent::sig_onTcpConnected);
        WbInbox<int, int> created(&WhiteBoard_Agent::sig_onCreateRoom);
        WbInbox<int, QString> joined(&WhiteBoard_Agent::sig_onJoinRoom);
        WbInbox<unsigned long long, unsigned long long> progress(
            &WhiteBoard_Agent::sig_onRateOfProgress);
        WbInbox<int, int> uploaded(&WhiteBoard_Agent::sig_onUploadFile);
        WbInbox<int, int, int, int, int, QString> converted(
            &WhiteBoard_Agent::sig_onDocConvertNotify);
        WbInbox<int, int, int> shared(&WhiteBoard_Agent::sig_onShareDoc);
        WbInbox<int, int, int> paged(&WhiteBoard_Agent::sig_onGotoPage);
        WbInbox<> drawn(&WhiteBoard_Agent::sig_onDrawNotify);
        WbInbox<int> undone(&WhiteBoard_Agent::sig_onDrawUndo);
        WbInbox<int> redone(&WhiteBoard_Agent::sig_onDrawRedo);
        WbInbox<int, int> cleared(&WhiteBoard_Agent::sig_onCurrentPageDrawingClear);
        WbInbox<int> left(&WhiteBoard_Agent::sig_onLeaveRoom);

        onAgentThread([](WhiteBoard_Agent *a) {
            a->slot_wbssSetSDKVars("alice", "k", "tq", "/tmp",
                                   "[{\"ip\":\"wb.example.test\",\"port\":9000}]");
            a->slot_wbssStartNetwork(0);
            a->slot_createRoom(1, 4, "pw", WBSS_ROLE_HOST);
        });
        QTRY_COMPARE(connected.count(), 1);
        QCOMPARE(connected.last<1>(), QStringLiteral("wb.example.test"));
        QCOMPARE(connected.last<2>(), 9000);
        QTRY_COMPARE(created.count(), 1);
        QCOMPARE(created.last<0>(), 200);
        const int room = created.last<1>();

        onAgentThread(
            [room](WhiteBoard_Agent *a) { a->slot_joinRoom(room, "pw", WBSS_ROLE_PRESENTER); });
        QTRY_COMPARE(joined.count(), 1);
        QCOMPARE(joined.last<0>(), 200);
        QCOMPARE(joined.last<1>(),
                 QStringLiteral("{\"roomId\":%1,\"members\":[{\"userId\":\"alice\",\"role\":1,"
                                "\"draw\":true}]}")
                     .arg(room));

        // A real file of 50 lines: three pages.
        QTemporaryDir dir;
        const QString path = dir.filePath(QString::fromUtf8("plan \xe8\xae\xa1\xe5\x88\x92.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int i = 1; i <= 50; ++i)
            file.write(QByteArray("line ") + QByteArray::number(i) + QByteArray(2000, '.') + "\n");
        file.close();
        const qulonglong size = qulonglong(file.size());

        onAgentThread([&](WhiteBoard_Agent *a) {
            a->slot_wbssUploadFile(room, WBSS_FILE_AUTO, path, "s", "{}");
        });
        QTRY_COMPARE(uploaded.count(), 1);
        QTRY_COMPARE(converted.count(), 1);
        QCOMPARE(uploaded.last<0>(), 200);
        const int doc = uploaded.last<1>();
        QVERIFY(progress.count() >= 3);
        for (int i = 0; i < progress.count(); ++i) {
            QCOMPARE(progress.at<1>(i), size);
            if (i > 0)
                QVERIFY(progress.at<0>(i) > progress.at<0>(i - 1));
        }
        QCOMPARE(progress.last<0>(), size);
        QCOMPARE(converted.last<3>(), doc);
        QCOMPARE(converted.last<4>(), 3);
        QCOMPARE(converted.last<5>(), QFileInfo(path).fileName());

        onAgentThread([&](WhiteBoard_Agent *a) {
            a->slot_shareDoc(room, doc);
            a->slot_gotoPage(room, doc, 1);
        });
        QTRY_COMPARE(paged.count(), 1);
        QCOMPARE(shared.last<0>(), 200);
        QCOMPARE(shared.last<2>(), 3);
        QCOMPARE(paged.last<0>(), 200);
        QCOMPARE(paged.last<1>(), 1);
        QCOMPARE(paged.last<2>(), 3);

        // A red line of width 4, drawn with the mouse on the bound window.
        onAgentThread([&](WhiteBoard_Agent *a) {
            a->slot_BindWindows(fakeWindow(), 0, 0, 800, 600);
            a->slot_setLineColor(room, 255, 0, 0, 255);
            a->slot_setLineWidth(room, 4);
            a->slot_setLineShape(room, WBSS_SHAPE_FREE);
            a->slot_handleWindowsProc(fakeWindow(), WBSS_WM_LBUTTONDOWN, 1, at(100, 100));
            a->slot_handleWindowsProc(fakeWindow(), WBSS_WM_MOUSEMOVE, 1, at(150, 120));
            a->slot_handleWindowsProc(fakeWindow(), WBSS_WM_LBUTTONUP, 0, at(200, 140));
        });
        QTRY_COMPARE(drawn.count(), 1);
        wbsim::BoardState state = wbsim::Control::state();
        QCOMPARE(state.pageIndex, 1);
        QCOMPARE(state.strokes.size(), 1);
        QCOMPARE(state.strokes.first().argb, 0xffff0000u);
        QCOMPARE(state.strokes.first().width, 4);
        QCOMPARE(state.strokes.first().points.size(), 3);
        QCOMPARE(state.strokes.first().userId, QStringLiteral("alice"));

        onAgentThread([](WhiteBoard_Agent *a) { a->slot_drawUndo(WBSS_UNDO_OWN); });
        QTRY_COMPARE(undone.count(), 1);
        QCOMPARE(undone.last<0>(), 200);
        state = wbsim::Control::state();
        QCOMPARE(state.strokes.size(), 0);
        QCOMPARE(state.redoDepth, 1);

        onAgentThread([](WhiteBoard_Agent *a) {
            a->slot_drawRedo();
            a->slot_drawRedo(); // nothing left to redo
        });
        QTRY_COMPARE(redone.count(), 2);
        QCOMPARE(redone.at<0>(0), 200);
        QCOMPARE(redone.at<0>(1), 404);
        QCOMPARE(wbsim::Control::state().strokes.size(), 1);

        // Page 1 keeps its own (empty) drawing.
        onAgentThread([&](WhiteBoard_Agent *a) { a->slot_gotoPrevPage(); });
        QTRY_COMPARE(paged.count(), 2);
        QCOMPARE(paged.last<1>(), 0);
        QCOMPARE(wbsim::Control::state().strokes.size(), 0);
        onAgentThread([&](WhiteBoard_Agent *a) {
            a->slot_gotoNextPage();
            a->slot_currentPageDrawingClear(room, "");
        });
        QTRY_COMPARE(cleared.count(), 1);
        QCOMPARE(wbsim::Control::state().strokes.size(), 0);

        onAgentThread([room](WhiteBoard_Agent *a) { a->slot_leaveRoom(room); });
        QTRY_COMPARE(left.count(), 1);
        QCOMPARE(left.last<0>(), 200);
        QCOMPARE(wbsim::Control::state().roomId, 0);
    }

    // Rights: a presenter who joins later is listed; the host takes the pen away, and the
    // change is announced.
    void memberRights()
    {
        WbInbox<int, int> created(&WhiteBoard_Agent::sig_onCreateRoom);
        WbInbox<int, QString> joined(&WhiteBoard_Agent::sig_onJoinRoom);
        WbInbox<QString> arrived(&WhiteBoard_Agent::sig_onMemberJoinNotify);
        WbInbox<int> changed(&WhiteBoard_Agent::sig_onChangeMemberAuth);
        WbInbox<QString, unsigned int, unsigned int> notified(
            &WhiteBoard_Agent::sig_onChangeMemberAuthNotify);
        WbInbox<int, QString> members(&WhiteBoard_Agent::sig_onGetRoomMember);
        onAgentThread([](WhiteBoard_Agent *a) {
            a->slot_wbssSetSDKVars("alice", "k", "tq", "/tmp", "[]");
            a->slot_createRoom(1, 0, "", WBSS_ROLE_HOST);
        });
        QTRY_COMPARE(created.count(), 1);
        const int room = created.last<1>();
        onAgentThread([room](WhiteBoard_Agent *a) { a->slot_joinRoom(room, "", WBSS_ROLE_HOST); });
        QTRY_COMPARE(joined.count(), 1);
        wbsim::Control::injectMemberJoin(QStringLiteral("bob"));
        QTRY_COMPARE(arrived.count(), 1);
        QCOMPARE(arrived.last<0>(), QStringLiteral("bob"));

        onAgentThread([room](WhiteBoard_Agent *a) {
            a->slot_changeMemberAuth(room, "bob", WBSS_AUTH_DRAW, 0);
            a->slot_getRoomMember(room);
        });
        QTRY_COMPARE(members.count(), 1);
        QCOMPARE(changed.last<0>(), 200);
        QCOMPARE(notified.count(), 1);
        QCOMPARE(notified.last<0>(), QStringLiteral("bob"));
        QCOMPARE(notified.last<1>(), unsigned(WBSS_AUTH_DRAW));
        QVERIFY(members.last<1>().contains(
            QLatin1String("{\"userId\":\"bob\",\"role\":2,\"draw\":false}")));
    }

    // A wrong password is refused by the server, with no member list.
    void wrongPassword()
    {
        WbInbox<int, int> created(&WhiteBoard_Agent::sig_onCreateRoom);
        WbInbox<int, QString> joined(&WhiteBoard_Agent::sig_onJoinRoom);
        onAgentThread([](WhiteBoard_Agent *a) { a->slot_createRoom(1, 0, "right", 1); });
        QTRY_COMPARE(created.count(), 1);
        const int room = created.last<1>();
        onAgentThread([room](WhiteBoard_Agent *a) { a->slot_joinRoom(room, "wrong", 1); });
        QTRY_COMPARE(joined.count(), 1);
        QCOMPARE(joined.last<0>(), int(WBSS_RESULT_FORBIDDEN));
        QVERIFY(joined.last<1>().isNull());
    }

    // An upload of a file that is not there is refused at once and answered by the agent.
    void uploadMissingFile()
    {
        WbInbox<int, int> uploaded(&WhiteBoard_Agent::sig_onUploadFile);
        onAgentThread([](WhiteBoard_Agent *a) {
            a->slot_wbssUploadFile(1, 0, "/nonexistent/file.txt", "", "");
        });
        QTRY_COMPARE(uploaded.count(), 1);
        QCOMPARE(uploaded.last<0>(), 201);
        QCOMPARE(uploaded.last<1>(), 11);
    }

    // The library's end stops the whiteboard library too, before the engine goes: no
    // callback reaches a half-torn process. Last: the end is for good.
    void libraryEndStopsTheWhiteboard()
    {
        QVERIFY(wbsim::Control::initialized());
        tq::shutDown();
        QVERIFY(!wbsim::Control::initialized());
        const auto *entries
            = reinterpret_cast<const WbssReserved *>(WhiteBoard_CallBack::instance()->table());
        for (int k = 0; k < WBSS_TABLE_SLOTS; ++k)
            QVERIFY(!entries[k]);
    }
};

QObject *newTestWbEndToEnd()
{
    return new TestWbEndToEnd;
}

#include "tst_wb_endtoend.moc"
