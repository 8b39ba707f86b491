// The seeds of fuzz_whiteboard: every callback the stand-in whiteboard library makes while a
// session runs (connect, rooms made, joined with a wrong and a right password, members and
// their rights, a real file uploaded, shared and paged, strokes undone and redone, leave),
// plus null texts and sizes above 4 GiB fired by hand. A recording table stands where the
// agent's table would.

#include "WhiteboardEntries.h"

#include <WbssControl.h>

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>

using wbsim::Control;

namespace {

void settle()
{
    if (!Control::waitIdle(10000))
        std::fprintf(stderr, "fuzz_seeds: the whiteboard library did not answer\n");
}

unsigned at(int x, int y)
{
    return (unsigned(y & 0xFFFF) << 16) | unsigned(x & 0xFFFF);
}

void session()
{
    int req = 0;
    wbssSetSDKVars("alice", "key", "tq", "/tmp", "[{\"ip\":\"wb.example.test\",\"port\":9000}]");
    wbssStartNetwork(0);
    createRoom(&req, 1, 4, "pw", WBSS_ROLE_HOST);
    settle();
    const int room = Control::state().rooms.isEmpty() ? 0 : Control::state().rooms.firstKey();
    joinRoom(&req, room, "wrong", WBSS_ROLE_HOST);
    joinRoom(&req, 999, "", WBSS_ROLE_HOST);
    joinRoom(&req, room, "pw", WBSS_ROLE_HOST);
    settle();
    Control::injectMemberJoin(QString::fromUtf8("b\xc3\xb6"
                                                "b"));
    settle();
    changeMemberAuth(&req, room,
                     "b\xc3\xb6"
                     "b",
                     WBSS_AUTH_DRAW, 0);
    getRoomMember(&req, room);
    settle();

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("notes.txt"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        for (int i = 0; i < 50; ++i)
            file.write("a line of the notes, \xe7\xac\x94\xe8\xae\xb0\n");
        file.close();
    }
    wbssUploadFile(&req, room, 0, path.toLocal8Bit().constData(), "", "");
    settle();
    const int doc
        = Control::state().documents.isEmpty() ? 0 : Control::state().documents.firstKey();
    shareDoc(&req, room, doc);
    shareDoc(&req, room, 12345);
    gotoPage(&req, room, 1);
    gotoPage(&req, room, 99);
    settle();

    static int window = 0;
    BindWindows(&window, 0, 0, 800, 600);
    handleWindowsProc(&window, WBSS_WM_LBUTTONDOWN, 1, at(10, 10), 0);
    handleWindowsProc(&window, WBSS_WM_MOUSEMOVE, 1, at(50, 40), 0);
    handleWindowsProc(&window, WBSS_WM_LBUTTONUP, 0, at(90, 80), 0);
    drawUndo(&req, WBSS_UNDO_OWN);
    drawUndo(&req, WBSS_UNDO_OWN);
    drawRedo(&req);
    currentPageDrawingClear(&req, room, "alice");
    settle();
    Control::injectMemberLeave(QString::fromUtf8("b\xc3\xb6"
                                                 "b"));
    leaveRoom(&req, room);
    deleteRoom(&req, room);
    settle();
}

// What a library may also send: null texts, texts with bytes that are no UTF-8, large sizes.
void byHand()
{
    using T = WbssCallbackTable;
    const char *none = nullptr;
    Control::fire(&T::onTcpConnectError, 500, none, -1);
    Control::fire(&T::onJoinRoom, 1, 200, none);
    Control::fire(&T::onMemberJoinNotify, 1, none);
    Control::fire(&T::onMemberLeaveNotify, 1, "\xff\xfe\x80");
    Control::fire(&T::onGetRoomMember, 1, 404, none);
    Control::fire(&T::onChangeMemberAuthNotify, none, 0xFFFFFFFFu, 0u);
    Control::fire(&T::onKickOutNotify, -1, "x\ny");
    Control::fire(&T::onRateOfProgress, 1, std::uint64_t(5) << 30, ~std::uint64_t(0));
    Control::fire(&T::onDocConvertNotify, -7, 200, 1, 2, -3, none);
    Control::fire(&T::onGotoPageNotify, none, 1, 2, 3, 4);
    Control::fire(&T::onShareDocNotify, 1, 2, -1, 0);
    Control::fire(&T::onDownloadPage, 1, 200);
    Control::fire(&T::onDrawUndoNotify, "carol", 1, 2, 3);
    Control::fire(&T::onDrawRedoNotify, none, 1, 2, 3);
    settle();
}

} // namespace

void whiteboardSeeds(const std::function<void(const QString &, const std::string &)> &add)
{
    static WbssCallbackTable table{};
    const std::vector<tqfuzz::wb::Entry> &entries = tqfuzz::wb::entries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i].install(&table, int(i));
    tqfuzz::wb::recordSink() = [&entries, &add](int position, const std::string &bytes) {
        add(QString::fromLatin1(entries[std::size_t(position)].name), bytes);
    };
    Control::reset();
    if (wbssInitialize(&table) != WBSS_OK) {
        std::fprintf(stderr, "fuzz_seeds: the whiteboard library did not start\n");
        return;
    }
    session();
    byHand();
    wbssUninitialize();
    tqfuzz::wb::recordSink() = nullptr;
}
