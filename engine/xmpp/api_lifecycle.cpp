// Engine life cycle and callback registration.

#include "XmppEngine.h"

#include <QCoreApplication>

using namespace zsxmpp;

namespace {
template<class Table> int registerTable(const char *function, Table *table)
{
    Engine::get().trace(QString::fromLatin1(function));
    // Swapped atomically: the engine's thread may be reading the previous table right now.
    Engine::get().tables[detail::tableIndex<Table>()].store(table);
    return ZS_OK;
}
} // namespace

extern "C" {

void SetTraceFlag(int level, const char *file)
{
    Engine::get().setTrace(level, file ? QString::fromUtf8(file) : QString());
}

int ZSSDK_Initialize(void)
{
    // Qt runs no event loop on another thread before the application object exists, and
    // without one no answer would ever come.
    if (!QCoreApplication::instance())
        return ZS_ERR_NOT_INITIALIZED;
    Engine::get().start();
    Engine::get().trace(QStringLiteral("ZSSDK_Initialize"));
    return ZS_OK;
}

void SetFetchMaxMsgsEveryTime(int count)
{
    Engine::get().trace(QStringLiteral("SetFetchMaxMsgsEveryTime %1").arg(count));
}

int ZSSDK_UnInitialize(void)
{
    Engine::get().trace(QStringLiteral("ZSSDK_UnInitialize"));
    Engine::get().stop();
    return ZS_OK;
}

int SetGeneralCallBackFuction(ZS_GeneralCallBack *table)
{
    return registerTable("SetGeneralCallBackFuction", table);
}

int SetVoIPCallBackFuction(ZS_VoIPCallBack *table)
{
    return registerTable("SetVoIPCallBackFuction", table);
}

int SetMessageCallBackFunction(ZS_MessageCallBack *table)
{
    return registerTable("SetMessageCallBackFunction", table);
}

int SetMeetingCallBackFuction(ZS_MeetingCallBack *table)
{
    return registerTable("SetMeetingCallBackFuction", table);
}

int SetConfCallBackFuction(ZS_ConfCallBack *table)
{
    return registerTable("SetConfCallBackFuction", table);
}

} // extern "C"
