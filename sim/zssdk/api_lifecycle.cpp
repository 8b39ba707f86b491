// Engine life cycle and callback registration.

#include "Engine.h"

#include <QDir>
#include <QFileInfo>
#include <cstdint>

using namespace zssim;

namespace {
template<class Table> int registerTable(const char *function, Table *table)
{
    Request call(function, false);
    call.arg(static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(table)));
    if (!call.accepted())
        return call.result();
    // Swapped atomically: the engine's thread may be reading the previous table right now.
    Engine::get().tables[detail::tableIndex<Table>()].store(table);
    return ZS_OK;
}
} // namespace

extern "C" {

void SetTraceFlag(int level, const char *file)
{
    Request call("SetTraceFlag", false);
    call.arg(level).text(file);
    Engine &e = Engine::get();
    std::lock_guard<std::mutex> lock(e.mutex);
    e.traceLevel = level;
    e.traceFile = file ? QString::fromUtf8(file) : QString();
}

int ZSSDK_Initialize(void)
{
    Request call("ZSSDK_Initialize", false);
    if (!call.accepted())
        return call.result();
    Engine &e = Engine::get();
    e.dispatcher.resume();
    std::lock_guard<std::mutex> lock(e.mutex);
    e.initialized = true;
    if (e.traceLevel > 0 && !e.traceFile.isEmpty() && !e.trace.isOpen()) {
        e.trace.setFileName(e.traceFile);
        QDir().mkpath(QFileInfo(e.traceFile).absolutePath());
        e.trace.open(QIODevice::WriteOnly | QIODevice::Append);
    }
    return ZS_OK;
}

void SetFetchMaxMsgsEveryTime(int count)
{
    Request call("SetFetchMaxMsgsEveryTime", false);
    call.arg(count);
    Engine &e = Engine::get();
    std::lock_guard<std::mutex> lock(e.mutex);
    e.fetchMaxMsgs = count;
}

int ZSSDK_UnInitialize(void)
{
    Request call("ZSSDK_UnInitialize", false);
    Engine &e = Engine::get();
    // No answer may run after this returns; a second call finds nothing left to stop.
    e.dispatcher.stop();
    std::lock_guard<std::mutex> lock(e.mutex);
    e.initialized = false;
    e.trace.close();
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
