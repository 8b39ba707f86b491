// The room-video agent's event callback, called straight from the fuzz thread with every event
// code the client may send, data of any size in an allocation of exactly that size (or a null
// pointer), and request records filled by the client from the input. ASan and UBSan watch the
// reading; the signals are checked too: at most 24 participants, names and URIs paired, a
// removed source only with data reaching its text.

#include "FuzzApp.h"
#include "VidyoEntries.h"

#include <VidyoControl.h>
#include <Vidyo_Agent.h>
#include <Vidyo_Agent_Imp.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

std::string g_answer; // what the client writes into request records
bool g_requestsFail = false;
std::size_t g_dataSize = 0;
bool g_dataNull = false;

void watch(QObject *context)
{
    using A = Vidyo_Agent;
    const auto direct = Qt::DirectConnection;
    A *agent = A::instance();
    QObject::connect(
        agent, &A::signal_currentAccountList, context,
        [](const QStringList &names, const QStringList &uris) {
            TQ_FUZZ_CHECK(names.size() == uris.size());
            TQ_FUZZ_CHECK(names.size() <= VIDYO_CLIENT_MAX_PARTICIPANTS);
            for (const QString &n : names)
                TQ_FUZZ_CHECK(n.toUtf8().size() <= 64 * 3);
        },
        direct);
    QObject::connect(
        agent, &A::signal_remoteSourceRemoved, context,
        [](const QString &, int) { TQ_FUZZ_CHECK(!g_dataNull && g_dataSize > 261); }, direct);
}

int fill(void *record, unsigned int size)
{
    if (g_requestsFail)
        return VIDYO_CLIENT_ERROR_UNKNOWN;
    if (record)
        std::memcpy(record, g_answer.data(), std::min<std::size_t>(size, g_answer.size()));
    return VIDYO_CLIENT_ERROR_OK;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    tqfuzz::startQt();
    static QObject context;
    vidyosim::Control::reset();
    vidyosim::Control::setDriving(false);
    for (unsigned int r :
         {100100u, 100101u, 100302u, 100500u, 100501u, 101503u, 101506u, 101600u, 101613u, 102200u})
        vidyosim::Control::scriptFill(r, &fill);
    static VidyoDataBase record;
    record.roomLinkText1 = QStringLiteral("https://rooms.example.test/join/fuzz");
    Vidyo_Agent_Imp *driver = Vidyo_Agent::instance()->driver();
    driver->initVidyo(&record);
    driver->startVidyo();
    TQ_FUZZ_CHECK(VidyoClientIsStarted());
    watch(&context);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace tqfuzz::vidyo;
    tqfuzz::Reader in(data, size);
    const unsigned int event = kVidyoEvents[in.u8() % kVidyoEventCount];
    const std::uint8_t flags = in.u8();
    const std::size_t n = std::min<std::size_t>(in.u16(), in.remaining());
    // Exactly n bytes: reading one more is an overflow ASan sees.
    std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[n ? n : 1]);
    in.take(bytes.get(), n);
    g_answer = in.rest();
    g_requestsFail = flags & kRequestsFail;
    g_dataNull = flags & kNullData;
    g_dataSize = n;
    vidyosim::Control::deliver(event, g_dataNull ? nullptr : bytes.get(), unsigned(n));
    vidyosim::Control::clearJournal(); // the client keeps every call's bytes otherwise
    return 0;
}
