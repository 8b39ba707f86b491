// Every callback the agents register, called straight from the fuzz thread with arguments
// decoded from the input (CallbackEntries.h): records in allocations of their exact size,
// text fields without a NUL, arrays with odd counts. ASan and UBSan watch the reading; the
// result signals are checked too: lists follow the count the engine gave, clamped, and every
// text stays within its field.

#include "CallbackEntries.h"
#include "FuzzApp.h"

#include <IM_Agent.h>
#include <SDK_Agent.h>
#include <SDK_CallBackProxy.h>
#include <Voip_Agent.h>
#include <ZSsdkControl.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// A text read from a field of `width` bytes: never longer, never holding a NUL.
bool fits(const QString &text, int width)
{
    return text.size() <= width && !text.contains(QChar(0));
}

void checkStates(const QList<Agent_PersonState> &states)
{
    const tqfuzz::ArrayArgument &last = tqfuzz::lastArray();
    const int expected = (last.null || last.count < 0) ? 0 : last.count;
    TQ_FUZZ_CHECK(states.size() == expected);
    for (const Agent_PersonState &s : states) {
        TQ_FUZZ_CHECK(fits(s.text1, 129));
        TQ_FUZZ_CHECK(fits(s.text2, 129));
        TQ_FUZZ_CHECK(fits(s.text3, 21));
        TQ_FUZZ_CHECK(fits(s.text4, 4097));
    }
}

void watchResults(QObject *context)
{
    const auto direct = Qt::DirectConnection; // emitted on the fuzz thread, checked there
    SDK_Agent *session = SDK_Agent::instance();
    QObject::connect(
        session, &SDK_Agent::sig_onGetUserState, context,
        [](int, const QList<Agent_PersonState> &states) { checkStates(states); }, direct);
    QObject::connect(session, &SDK_Agent::sig_onReceiveFriendsPublishPresence, context,
                     &checkStates, direct);
    QObject::connect(
        session, &SDK_Agent::sig_onGetPersonInfo, context,
        [](int, const Agent_PersonInfo &info) {
            TQ_FUZZ_CHECK(fits(info.text1, 129));
            TQ_FUZZ_CHECK(fits(info.text2, 21));
            TQ_FUZZ_CHECK(fits(info.text3, 1306));
        },
        direct);

    Voip_Agent *voip = Voip_Agent::instance();
    QObject::connect(
        voip, &Voip_Agent::sig_onCallEvents, context,
        [](int, const Agent_VoIPCallMsg &msg) {
            TQ_FUZZ_CHECK(fits(msg.callid, ZS_CALL_ID_SIZE));
            TQ_FUZZ_CHECK(fits(msg.caller, ZS_CALL_NUMBER_SIZE));
            TQ_FUZZ_CHECK(fits(msg.callee, ZS_CALL_NUMBER_SIZE));
        },
        direct);
    QObject::connect(
        voip, &Voip_Agent::sig_onCallIncoming, context,
        [](const Agent_VoIPComingInfo &info) {
            TQ_FUZZ_CHECK(fits(info.text1, 65));
            TQ_FUZZ_CHECK(fits(info.text2, 65));
            TQ_FUZZ_CHECK(fits(info.text3, 129));
            TQ_FUZZ_CHECK(fits(info.text4, 129));
        },
        direct);
    QObject::connect(
        voip, &Voip_Agent::sig_onMakeCallBack, context,
        [](int, const Agent_CallBackInfo &info) {
            TQ_FUZZ_CHECK(fits(info.text1, 65));
            TQ_FUZZ_CHECK(fits(info.text2, 65));
            TQ_FUZZ_CHECK(fits(info.text3, 21));
            TQ_FUZZ_CHECK(fits(info.text4, 65));
        },
        direct);
}

// A message read from the engine's record: every text within its field. A link card
// received as a file carries its card as JSON instead of the user data.
void checkMessage(const ChatMsgData &m, bool linkCard = false)
{
    TQ_FUZZ_CHECK(fits(m.msgId, 65));
    TQ_FUZZ_CHECK(fits(m.dateCreated, 21));
    TQ_FUZZ_CHECK(fits(m.sender, 65));
    TQ_FUZZ_CHECK(fits(m.receiver, 65));
    TQ_FUZZ_CHECK(fits(m.msgContent, 8193));
    if (linkCard)
        TQ_FUZZ_CHECK(QJsonDocument::fromJson(m.userData.toUtf8()).object().size() == 4);
    else
        TQ_FUZZ_CHECK(fits(m.userData, 24582));
    TQ_FUZZ_CHECK(fits(m.auxText1, 129));
    TQ_FUZZ_CHECK(fits(m.fileName, 513));
    TQ_FUZZ_CHECK(fits(m.sessionId, 65));
    TQ_FUZZ_CHECK(fits(m.fileUrl, 513));
    TQ_FUZZ_CHECK(fits(m.auxText2, 65));
    TQ_FUZZ_CHECK(fits(m.title, 513));
    TQ_FUZZ_CHECK(fits(m.imgPath, 4097));
    TQ_FUZZ_CHECK(fits(m.desc, 4097));
    TQ_FUZZ_CHECK(fits(m.url, 4097));
    TQ_FUZZ_CHECK(m.sendStatus == 0 && m.localFile.isEmpty());
}

void watchMessages(QObject *context)
{
    const auto direct = Qt::DirectConnection;
    IM_Agent *im = IM_Agent::instance();
    const auto message = [](const ChatMsgData &m) {
        checkMessage(m);
    };
    const auto result = [](int, const ChatMsgData &m) {
        checkMessage(m);
    };
    for (auto signal :
         {&IM_Agent::sig_onReceiveMessage, &IM_Agent::sig_onReceiveConfMessage,
          &IM_Agent::sig_onReceiveOfflineMessage, &IM_Agent::sig_onReceiveNoVersionMessage,
          &IM_Agent::sig_onReceiveOpreateNoticeMessage,
          &IM_Agent::sig_onReceiveServerUndefineMessage})
        QObject::connect(im, signal, context, message, direct);
    for (auto signal : {&IM_Agent::sig_onSendTextMessage, &IM_Agent::sig_onSendMediaFile,
                        &IM_Agent::sig_onDownloadFileComplete})
        QObject::connect(im, signal, context, result, direct);
    QObject::connect(
        im, &IM_Agent::sig_onReceiveFile, context,
        [](const ChatMsgData &m) { checkMessage(m, m.msgType == 8); }, direct);
    QObject::connect(
        im, &IM_Agent::sig_onRateOfProgressAttach, context,
        [](int, qulonglong, qulonglong, const ChatMsgData &m) { checkMessage(m); }, direct);
    QObject::connect(
        im, &IM_Agent::sig_onGetTopContact, context,
        [](int, const QList<QString> &contacts) {
            const tqfuzz::ArrayArgument &last = tqfuzz::lastArray();
            TQ_FUZZ_CHECK(contacts.size() == ((last.null || last.count < 0) ? 0 : last.count));
        },
        direct);
}

template<class Table> void requireListed(int kind)
{
    const Table *table = zssim::Control::table<Table>();
    if (!table)
        return;
    const auto *bytes = reinterpret_cast<const unsigned char *>(table);
    for (std::size_t offset = 0; offset < sizeof(Table); offset += sizeof(ZS_Callback)) {
        ZS_Callback slot = nullptr;
        std::memcpy(&slot, bytes + offset, sizeof slot);
        if (!slot)
            continue;
        bool listed = false;
        for (const tqfuzz::Entry &e : tqfuzz::entries())
            listed = listed || (e.table == kind && e.offset == offset);
        if (!listed) {
            std::fprintf(stderr,
                         "fuzz_callbacks: entry %zu of callback table %d is registered but "
                         "missing from tqfuzz::entries()\n",
                         offset / sizeof(ZS_Callback), kind);
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    tqfuzz::startQt();
    zssim::Control::setJournaling(false);

    // The agents register their tables as they do in the program.
    SDK_Agent::instance();
    SDK_CallBackProxy::instance()->registerCallbacks();
    Voip_Agent::instance();
    IM_Agent::instance();

    requireListed<ZS_GeneralCallBack>(0);
    requireListed<ZS_VoIPCallBack>(1);
    requireListed<ZS_MessageCallBack>(2);
    requireListed<ZS_MeetingCallBack>(3);
    requireListed<ZS_ConfCallBack>(4);
    watchResults(QCoreApplication::instance());
    watchMessages(QCoreApplication::instance());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::vector<tqfuzz::Entry> &list = tqfuzz::entries();
    tqfuzz::Reader in(data + 1, size - 1);
    tqfuzz::lastArray() = tqfuzz::ArrayArgument{};
    list[data[0] % list.size()].call(in);
    return 0;
}
