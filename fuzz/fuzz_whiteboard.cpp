// Every callback the whiteboard agent registers, called straight from the fuzz thread with
// arguments decoded from the input (WhiteboardEntries.h): texts of any bytes, null texts,
// extreme numbers. ASan and UBSan watch the reading; the signals are checked too: a text
// arrives as the UTF-8 of its bytes up to the first NUL, a null text as a null text.

#include "FuzzApp.h"
#include "WhiteboardEntries.h"

#include <WhiteBoard_Agent.h>
#include <WhiteBoard_CallBack.h>

#include <QString>

namespace {

tqfuzz::wb::Holder g_current;
int g_emitted = 0;

void checkText(const QString &text)
{
    ++g_emitted;
    TQ_FUZZ_CHECK(g_current.hasText);
    if (g_current.textNull) {
        TQ_FUZZ_CHECK(text.isNull());
        return;
    }
    const std::string &bytes = g_current.text;
    const std::size_t n = std::strlen(bytes.c_str()); // up to the first NUL
    TQ_FUZZ_CHECK(text == QString::fromUtf8(bytes.data(), int(n)));
}

void watch(QObject *context)
{
    using A = WhiteBoard_Agent;
    const auto direct = Qt::DirectConnection;
    A *agent = A::instance();
    const auto t1 = [](int, const QString &t, int) {
        checkText(t);
    };
    QObject::connect(agent, &A::sig_onTcpConnected, context, t1, direct);
    QObject::connect(agent, &A::sig_onTcpConnectError, context, t1, direct);
    const auto t2 = [](int, const QString &t) {
        checkText(t);
    };
    QObject::connect(agent, &A::sig_onJoinRoom, context, t2, direct);
    QObject::connect(agent, &A::sig_onGetRoomMember, context, t2, direct);
    QObject::connect(agent, &A::sig_onKickOutNotify, context, t2, direct);
    QObject::connect(agent, &A::sig_onMemberJoinNotify, context, &checkText, direct);
    QObject::connect(agent, &A::sig_onMemberLeaveNotify, context, &checkText, direct);
    QObject::connect(
        agent, &A::sig_onChangeMemberAuthNotify, context,
        [](const QString &t, unsigned, unsigned) { checkText(t); }, direct);
    QObject::connect(
        agent, &A::sig_onDocConvertNotify, context,
        [](int, int, int, int, int, const QString &t) { checkText(t); }, direct);
    QObject::connect(
        agent, &A::sig_onGotoPageNotify, context,
        [](const QString &t, int, int, int, int) { checkText(t); }, direct);
    const auto t4 = [](const QString &t, int, int, int) {
        checkText(t);
    };
    QObject::connect(agent, &A::sig_onDrawUndoNotify, context, t4, direct);
    QObject::connect(agent, &A::sig_onDrawRedoNotify, context, t4, direct);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    tqfuzz::startQt();
    static QObject context;
    WhiteBoard_Agent::instance(); // starts the library with the agent's table
    watch(&context);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::vector<tqfuzz::wb::Entry> &entries = tqfuzz::wb::entries();
    tqfuzz::Reader in(data + 1, size - 1);
    const tqfuzz::wb::Entry &entry = entries[data[0] % entries.size()];
    const WbssCallbackTable *table = WhiteBoard_CallBack::instance()->table();
    TQ_FUZZ_CHECK(table != nullptr);
    g_emitted = 0;
    // Decoded once without a call, for the text the checks expect; then called.
    g_current = entry.call(nullptr, in);
    tqfuzz::Reader again(data + 1, size - 1);
    entry.call(table, again);
    TQ_FUZZ_CHECK(g_emitted <= 1);
    return 0;
}
