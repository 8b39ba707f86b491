#pragma once

// The entries of the engine's callback tables that the agents register, one line each in
// entries() below. fuzz_callbacks decodes an input into one entry's arguments and calls the
// table the agents registered; the seed generator puts a recorder into each entry that writes
// the arguments the engine passes as exactly such an input.
//
// An input: byte 0 picks the entry (its position in entries()), then its arguments in order:
//   int, unsigned int: 4 bytes; unsigned long long: 8; char, unsigned char: 1; double: the 8
//       bytes of its IEEE representation (NaN and infinities included)
//   const char *: a text (FuzzBytes.h), handed over as a copy with a NUL, in an allocation of
//       its length + 1; or null
//   const Record *: u8 tag ((tag & 7) == 7: null), u8 pad, then sizeof(Record) bytes in an
//       allocation of exactly that size; bytes the input lacks are the pad byte, so a text
//       field holds a NUL only when the input puts one there
//   a record holding arrays of its own (EmbeddedArrays below): its bytes, then each of its
//       arrays as an (int count, const Record *array) pair below
//   an (int count, const Record *array) pair marked in the entry's line: u8 shape, u8 n, u32
//       value, then for arrays n records (each u8 pad and sizeof(Record) bytes) in one
//       allocation of n records, or for arrays of texts n texts behind n pointers in one
//       allocation. shape % 6:
//         0  n % 16 records, count n (none: a null array, count 0)
//         1  null array, a positive count
//         2  n % 16 records, a negative count
//         3  n % 16 records, count 0
//         4  n % 16 records, a count from 0 to n
//         5  null array, count 0 or negative
//       An array of 0 records is a zero-size allocation, not null.

#include "FuzzBytes.h"

#include <ZSsdk.h>
#include <ZSsdkControl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace tqfuzz {

constexpr int kTableKinds = 5; // zssim::detail::tableIndex: general, VoIP, message, meeting, conf
constexpr int kMaxArray = 16;

// Owns what one call's arguments point to, until the call returns.
class Holder
{
public:
    unsigned char *allocate(std::size_t size)
    {
        m_blocks.emplace_back(new unsigned char[size]);
        return m_blocks.back().get();
    }

private:
    std::vector<std::unique_ptr<unsigned char[]>> m_blocks;
};

// The last array an entry was called with, for the checks of the result signals.
struct ArrayArgument
{
    int count = 0;
    bool null = true;
};
inline ArrayArgument &lastArray()
{
    static ArrayArgument last;
    return last;
}

// ---- decoding ---------------------------------------------------------------------------------

inline const char *decodeText(Reader &in, Holder &holder)
{
    bool isNull = false;
    const std::string bytes = in.text(isNull);
    if (isNull)
        return nullptr;
    unsigned char *copy = holder.allocate(bytes.size() + 1);
    std::memcpy(copy, bytes.data(), bytes.size());
    copy[bytes.size()] = 0;
    return reinterpret_cast<const char *>(copy);
}

// Records holding arrays of their own (a count and a pointer inside the record): the input
// gives the record's bytes, then each of its arrays as an array argument is given. The bytes
// of those counts and pointers are zero in the input. Specialised for such records below.
template<class Record> struct EmbeddedArrays
{
    static void decode(Reader &, Holder &, Record &) { }
    static Record withoutArrays(const Record &record) { return record; }
    static void encode(Writer &, const Record &) { }
};

inline void fillRecord(Reader &in, unsigned char *record, std::size_t size)
{
    const std::uint8_t pad = in.u8();
    const std::size_t got = in.take(record, size);
    std::memset(record + got, pad, size - got);
}

template<class Record> const Record *decodeRecord(Reader &in, Holder &holder)
{
    if ((in.u8() & 7) == 7)
        return nullptr;
    unsigned char *record = holder.allocate(sizeof(Record));
    fillRecord(in, record, sizeof(Record));
    EmbeddedArrays<Record>::decode(in, holder, *reinterpret_cast<Record *>(record));
    return reinterpret_cast<const Record *>(record);
}

template<class Record> std::pair<int, const Record *> decodeArray(Reader &in, Holder &holder)
{
    const int shape = in.u8() % 6;
    const int n = in.u8() % kMaxArray;
    const std::uint32_t value = in.u32();
    int count = 0;
    bool hasArray = true;
    switch (shape) {
    case 0:
        count = n;
        hasArray = n > 0;
        break;
    case 1:
        count = int(value & 0x7FFFFFFFu);
        count = count > 0 ? count : 1;
        hasArray = false;
        break;
    case 2:
        count = std::int32_t(value | 0x80000000u);
        break;
    case 3:
        count = 0;
        break;
    case 4:
        count = int(value % std::uint32_t(n + 1));
        break;
    default:
        count = value == 0 ? 0 : std::int32_t(value | 0x80000000u);
        hasArray = false;
        break;
    }
    const Record *array = nullptr;
    if (hasArray) {
        unsigned char *records = holder.allocate(std::size_t(n) * sizeof(Record));
        if constexpr (std::is_same_v<Record, const char *>) {
            auto *texts = reinterpret_cast<const char **>(records);
            for (int i = 0; i < n; ++i)
                texts[i] = decodeText(in, holder);
        } else {
            for (int i = 0; i < n; ++i) {
                unsigned char *record = records + std::size_t(i) * sizeof(Record);
                fillRecord(in, record, sizeof(Record));
                EmbeddedArrays<Record>::decode(in, holder, *reinterpret_cast<Record *>(record));
            }
        }
        array = reinterpret_cast<const Record *>(records);
    }
    lastArray() = ArrayArgument{count, array == nullptr};
    return {count, array};
}

template<class T> T decodeValue(Reader &in, Holder &holder)
{
    if constexpr (std::is_same_v<T, const char *>) {
        return decodeText(in, holder);
    } else if constexpr (std::is_pointer_v<T>) {
        using Record = std::remove_const_t<std::remove_pointer_t<T>>;
        static_assert(std::is_class_v<Record>, "pointer arguments are texts or records");
        return decodeRecord<Record>(in, holder);
    } else if constexpr (std::is_same_v<T, char>) {
        return char(in.u8());
    } else if constexpr (std::is_same_v<T, unsigned char>) {
        return in.u8();
    } else if constexpr (std::is_same_v<T, int>) {
        return in.i32();
    } else if constexpr (std::is_same_v<T, unsigned int>) {
        return in.u32();
    } else if constexpr (std::is_same_v<T, unsigned long long>) {
        return in.u64();
    } else if constexpr (std::is_same_v<T, double>) {
        const std::uint64_t bits = in.u64();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    } else {
        static_assert(sizeof(T) == 0, "no input format for this argument type yet");
    }
}

// ---- encoding: the same bytes from the values the engine passed --------------------------------

template<class Record> void encodeRecord(Writer &out, const Record &record);

inline void encodeRecordBytes(Writer &out, const void *record, std::size_t size)
{
    out.u8(0); // pad: unused, the record is whole
    out.raw(record, size);
}

template<class Record> void encodeArray(Writer &out, int count, const Record *array)
{
    int shape = 0;
    int n = 0;
    std::uint32_t value = 0;
    if (array && count > 0) {
        n = count < kMaxArray ? count : kMaxArray - 1; // longer arrays are cut for the seed
    } else if (count > 0) {
        shape = 1;
        value = std::uint32_t(count);
    } else if (array && count < 0) {
        shape = 2;
        value = std::uint32_t(count);
    } else if (array) {
        shape = 3;
    } else {
        shape = 5;
        value = std::uint32_t(count);
    }
    out.u8(std::uint8_t(shape));
    out.u8(std::uint8_t(n));
    out.u32(value);
    for (int i = 0; i < n; ++i) {
        if constexpr (std::is_same_v<Record, const char *>)
            out.text(array[i]);
        else
            encodeRecord(out, array[i]);
    }
}

template<class T> void encodeValue(Writer &out, T value)
{
    if constexpr (std::is_same_v<T, const char *>) {
        out.text(value);
    } else if constexpr (std::is_pointer_v<T>) {
        if (!value) {
            out.u8(7);
            return;
        }
        out.u8(0);
        encodeRecord(out, *value);
    } else if constexpr (std::is_same_v<T, char> || std::is_same_v<T, unsigned char>) {
        out.u8(std::uint8_t(value));
    } else if constexpr (std::is_same_v<T, int>) {
        out.i32(value);
    } else if constexpr (std::is_same_v<T, unsigned int>) {
        out.u32(value);
    } else if constexpr (std::is_same_v<T, unsigned long long>) {
        out.u64(value);
    } else if constexpr (std::is_same_v<T, double>) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        out.u64(bits);
    } else {
        static_assert(sizeof(T) == 0, "no input format for this argument type yet");
    }
}

template<class Record> void encodeRecord(Writer &out, const Record &record)
{
    const Record bytes = EmbeddedArrays<Record>::withoutArrays(record);
    encodeRecordBytes(out, &bytes, sizeof(Record));
    EmbeddedArrays<Record>::encode(out, record);
}

// An array inside a record; the last array argument stays the entry's own.
template<class Element>
void decodeEmbedded(Reader &in, Holder &holder, int &count, const Element *&array)
{
    const ArrayArgument outer = lastArray();
    std::tie(count, array) = decodeArray<Element>(in, holder);
    lastArray() = outer;
}

// The conference records with member arrays.
template<> struct EmbeddedArrays<ZS_ConfInfo>
{
    static void decode(Reader &in, Holder &holder, ZS_ConfInfo &r)
    {
        decodeEmbedded(in, holder, r.number12, r.members);
    }
    static ZS_ConfInfo withoutArrays(ZS_ConfInfo r)
    {
        r.number12 = 0;
        r.members = nullptr;
        return r;
    }
    static void encode(Writer &out, const ZS_ConfInfo &r)
    {
        encodeArray(out, r.number12, r.members);
    }
};

template<> struct EmbeddedArrays<ZS_ConfNotification>
{
    static void decode(Reader &in, Holder &holder, ZS_ConfNotification &r)
    {
        decodeEmbedded(in, holder, r.kickMemberCount, r.kickMembers);
        decodeEmbedded(in, holder, r.memberCount, r.members);
    }
    static ZS_ConfNotification withoutArrays(ZS_ConfNotification r)
    {
        r.kickMemberCount = 0;
        r.kickMembers = nullptr;
        r.memberCount = 0;
        r.members = nullptr;
        return r;
    }
    static void encode(Writer &out, const ZS_ConfNotification &r)
    {
        encodeArray(out, r.kickMemberCount, r.kickMembers);
        encodeArray(out, r.memberCount, r.members);
    }
};

// The meeting invite result, with its member texts and its result text.
template<> struct EmbeddedArrays<ZS_MeetingInviteResult>
{
    static void decode(Reader &in, Holder &holder, ZS_MeetingInviteResult &r)
    {
        decodeEmbedded(in, holder, r.memberCount, r.members);
        r.resultText = decodeText(in, holder);
    }
    static ZS_MeetingInviteResult withoutArrays(ZS_MeetingInviteResult r)
    {
        r.memberCount = 0;
        r.members = nullptr;
        r.resultText = nullptr;
        return r;
    }
    static void encode(Writer &out, const ZS_MeetingInviteResult &r)
    {
        encodeArray(out, r.memberCount, r.members);
        out.text(r.resultText);
    }
};

// The group notice: its type-specific record behind its pointer, given after the notice's
// bytes as u8 tag ((tag & 7) == 7: null), u8 pad, then the bytes of the record the notice's
// type names (a header for types without one of their own). A type-12 record is followed by
// its member entries: as many as its memberCount says, taken modulo kMaxArray (a negative
// count: none), each u8 pad and its bytes; the record is allocated with them.
inline std::size_t groupNoticeDetailSize(int type)
{
    switch (type) {
    case ZS_GROUP_NOTICE_REQUEST_JOIN:
        return sizeof(ZS_GroupJoinRequestNotice);
    case ZS_GROUP_NOTICE_INVITE:
        return sizeof(ZS_GroupInviteNotice);
    case ZS_GROUP_NOTICE_MEMBER_JOINED:
        return sizeof(ZS_GroupMemberJoinedNotice);
    case ZS_GROUP_NOTICE_DISMISSED:
        return sizeof(ZS_GroupDismissNotice);
    case ZS_GROUP_NOTICE_REPLY_REQUEST:
    case ZS_GROUP_NOTICE_REPLY_INVITE:
        return sizeof(ZS_GroupReplyNotice);
    case ZS_GROUP_NOTICE_ROLE:
        return sizeof(ZS_GroupRoleNotice);
    case ZS_GROUP_NOTICE_MEMBER_INFO:
        return sizeof(ZS_GroupMemberInfoNotice);
    case ZS_GROUP_NOTICE_JOINED:
        return sizeof(ZS_GroupJoinNotice);
    default:
        return sizeof(ZS_GroupNoticeHeader);
    }
}

inline int groupNoticeCount(const unsigned char *joinNotice)
{
    int count = 0;
    std::memcpy(&count, joinNotice + offsetof(ZS_GroupJoinNotice, memberCount), sizeof count);
    return count;
}

inline int groupNoticeMembers(const unsigned char *joinNotice)
{
    const int count = groupNoticeCount(joinNotice);
    return count > 0 ? count % kMaxArray : 0;
}

template<> struct EmbeddedArrays<ZS_GroupNotice>
{
    static void decode(Reader &in, Holder &holder, ZS_GroupNotice &r)
    {
        r.detail = nullptr;
        if ((in.u8() & 7) == 7)
            return;
        const std::size_t size = groupNoticeDetailSize(r.type);
        std::vector<unsigned char> head(size);
        fillRecord(in, head.data(), size);
        int members = 0;
        if (r.type == ZS_GROUP_NOTICE_JOINED) {
            // The record says how many entries follow it: as many as are allocated.
            members = groupNoticeMembers(head.data());
            if (groupNoticeCount(head.data()) > 0)
                std::memcpy(head.data() + offsetof(ZS_GroupJoinNotice, memberCount), &members,
                            sizeof members);
        }
        const std::size_t entry = sizeof(ZS_GroupNoticeMember);
        unsigned char *detail = holder.allocate(size + std::size_t(members) * entry);
        std::memcpy(detail, head.data(), size);
        for (int i = 0; i < members; ++i)
            fillRecord(in, detail + size + std::size_t(i) * entry, entry);
        r.detail = detail;
    }
    static ZS_GroupNotice withoutArrays(ZS_GroupNotice r)
    {
        r.detail = nullptr;
        return r;
    }
    static void encode(Writer &out, const ZS_GroupNotice &r)
    {
        if (!r.detail) {
            out.u8(7);
            return;
        }
        out.u8(0);
        const auto *detail = static_cast<const unsigned char *>(r.detail);
        const std::size_t size = groupNoticeDetailSize(r.type);
        encodeRecordBytes(out, detail, size);
        const int members = r.type == ZS_GROUP_NOTICE_JOINED ? groupNoticeMembers(detail) : 0;
        for (int i = 0; i < members; ++i)
            encodeRecordBytes(out, detail + size + std::size_t(i) * sizeof(ZS_GroupNoticeMember),
                              sizeof(ZS_GroupNoticeMember));
    }
};

// ---- entries ----------------------------------------------------------------------------------

struct Entry
{
    const char *name;
    int table; // zssim::detail::tableIndex of its table
    std::size_t offset; // of the entry within its table
    void (*call)(Reader &in); // decodes the arguments, calls the registered entry
    void (*install)(void *const tables[kTableKinds], int position); // puts a recorder there
};

// Receives each recorded call: the entry's position and the input bytes.
inline std::function<void(int, const std::string &)> &recordSink()
{
    static std::function<void(int, const std::string &)> sink;
    return sink;
}

template<class Member> struct MemberOf;
template<class Table, class Fn> struct MemberOf<Fn Table::*>
{
    using TableType = Table;
    using FnType = Fn;
};

// `CountArg`: the index of the count of an (int count, const Record *array) pair, or -1.
// `ArrayFirst`: the pair is (const Record *array, int count) instead, the count at CountArg.
// Either way the input holds the pair where its first argument is.
template<auto Member, int CountArg, bool ArrayFirst = false,
         class Fn = typename MemberOf<decltype(Member)>::FnType>
struct EntryOps;

template<auto Member, int CountArg, bool ArrayFirst, class... A>
struct EntryOps<Member, CountArg, ArrayFirst, void(ZS_CALL *)(A...)>
{
    static constexpr int kArrayArg = CountArg < 0 ? -1 : (ArrayFirst ? CountArg - 1 : CountArg + 1);
    static constexpr int kPairArg = ArrayFirst ? kArrayArg : CountArg;

    using Table = typename MemberOf<decltype(Member)>::TableType;
    using Args = std::tuple<A...>;
    static inline int position = -1;

    static std::size_t offset()
    {
        static const Table table{};
        return std::size_t(reinterpret_cast<const char *>(&(table.*Member))
                           - reinterpret_cast<const char *>(&table));
    }

    static void call(Reader &in)
    {
        const Table *table = zssim::Control::table<Table>();
        const auto fn = table ? table->*Member : nullptr;
        if (!fn)
            return;
        Holder holder;
        Args args{};
        decode(in, holder, args, std::index_sequence_for<A...>{});
        std::apply(fn, args);
    }

    static void install(void *const tables[kTableKinds], int at)
    {
        position = at;
        static_cast<Table *>(tables[zssim::detail::tableIndex<Table>()])->*Member = &record;
    }

    static void ZS_CALL record(A... values)
    {
        const Args args(values...);
        Writer out;
        out.u8(std::uint8_t(position));
        encode(out, args, std::index_sequence_for<A...>{});

        // The input must decode to what was recorded: encoded again, it gives the same bytes.
        const std::string &bytes = out.bytes();
        Reader in(reinterpret_cast<const std::uint8_t *>(bytes.data()) + 1, bytes.size() - 1);
        Holder holder;
        Args decoded{};
        decode(in, holder, decoded, std::index_sequence_for<A...>{});
        Writer again;
        again.u8(std::uint8_t(position));
        encode(again, decoded, std::index_sequence_for<A...>{});
        if (again.bytes() != bytes || !in.atEnd()) {
            std::fprintf(stderr, "tqfuzz: the input format does not round-trip at entry %d\n",
                         position);
            std::abort();
        }
        if (recordSink())
            recordSink()(position, out.bytes());
    }

private:
    template<std::size_t... I>
    static void decode(Reader &in, Holder &holder, Args &args, std::index_sequence<I...>)
    {
        (decodeOne<I>(in, holder, args), ...); // in argument order
    }

    template<std::size_t I> static void decodeOne(Reader &in, Holder &holder, Args &args)
    {
        if constexpr (CountArg >= 0 && int(I) == kPairArg) {
            static_assert(std::is_same_v<std::tuple_element_t<CountArg, Args>, int>,
                          "count is an int");
            using Record = std::remove_const_t<
                std::remove_pointer_t<std::tuple_element_t<std::size_t(kArrayArg), Args>>>;
            const auto [count, array] = decodeArray<Record>(in, holder);
            std::get<CountArg>(args) = count;
            std::get<std::size_t(kArrayArg)>(args) = array;
        } else if constexpr (CountArg < 0 || (int(I) != CountArg && int(I) != kArrayArg)) {
            std::get<I>(args) = decodeValue<std::tuple_element_t<I, Args>>(in, holder);
        }
    }

    template<std::size_t... I>
    static void encode(Writer &out, const Args &args, std::index_sequence<I...>)
    {
        (encodeOne<I>(out, args), ...);
    }

    template<std::size_t I> static void encodeOne(Writer &out, const Args &args)
    {
        if constexpr (CountArg >= 0 && int(I) == kPairArg)
            encodeArray(out, std::get<CountArg>(args), std::get<std::size_t(kArrayArg)>(args));
        else if constexpr (CountArg < 0 || (int(I) != CountArg && int(I) != kArrayArg))
            encodeValue(out, std::get<I>(args));
    }
};

template<auto Member, int CountArg = -1, bool ArrayFirst = false> Entry entry(const char *name)
{
    using Ops = EntryOps<Member, CountArg, ArrayFirst>;
    return Entry{name, zssim::detail::tableIndex<typename Ops::Table>(), Ops::offset(), &Ops::call,
                 &Ops::install};
}

// A callback entry, and one whose arguments `countArg` and `countArg + 1` are the count and
// the array of an engine array.
#define TQ_FUZZ_ENTRY(Table, name) tqfuzz::entry<&Table::name>(#Table "::" #name)
#define TQ_FUZZ_ARRAY_ENTRY(Table, name, countArg)                                                 \
    tqfuzz::entry<&Table::name, countArg>(#Table "::" #name)
// One whose arguments `arrayArg` and `arrayArg + 1` are the array and its count.
#define TQ_FUZZ_ARRAY_FIRST_ENTRY(Table, name, arrayArg)                                           \
    tqfuzz::entry<&Table::name, (arrayArg) + 1, true>(#Table "::" #name)

// Every entry the agents register, one line each. A family that takes more entries into use
// appends their lines (saved inputs name an entry by its position here), and creates its
// agent in fuzz_callbacks.cpp; that target refuses to start while a registered entry is
// missing from this list.
inline const std::vector<Entry> &entries()
{
    static const std::vector<Entry> list{
        TQ_FUZZ_ENTRY(ZS_GeneralCallBack, onReserved),
        TQ_FUZZ_ENTRY(ZS_GeneralCallBack, onLogOut),
        TQ_FUZZ_ENTRY(ZS_GeneralCallBack, onConnectState),
        TQ_FUZZ_ENTRY(ZS_GeneralCallBack, onSetPersonInfo),
        TQ_FUZZ_ENTRY(ZS_GeneralCallBack, onGetPersonInfo),
        TQ_FUZZ_ARRAY_ENTRY(ZS_GeneralCallBack, onGetUserState, 2),
        TQ_FUZZ_ENTRY(ZS_GeneralCallBack, onPublishPresence),
        TQ_FUZZ_ARRAY_ENTRY(ZS_GeneralCallBack, onReceiveFriendsPublishPresence, 0),
        TQ_FUZZ_ENTRY(ZS_VoIPCallBack, onCallEvents),
        TQ_FUZZ_ENTRY(ZS_VoIPCallBack, onMakeCallBack),
        TQ_FUZZ_ENTRY(ZS_VoIPCallBack, onCallIncoming),
        TQ_FUZZ_ENTRY(ZS_VoIPCallBack, onDtmfReceived),
        TQ_FUZZ_ENTRY(ZS_VoIPCallBack, onSwitchCallMediaTypeRequest),
        TQ_FUZZ_ENTRY(ZS_VoIPCallBack, onSwitchCallMediaTypeResponse),
        TQ_FUZZ_ENTRY(ZS_VoIPCallBack, onRemoteVideoRatio),
        TQ_FUZZ_ENTRY(ZS_VoIPCallBack, onReserved21),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onSendTextMessage),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onReceiveMessage),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onReceiveOfflineMessage),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onSendMediaFile),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onDownloadFileComplete),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onRateOfProgressAttach),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onReceiveFile),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onOfflineMessageCount),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onOfflineMessageComplete),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onRecordingTimeOut),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onFinishedPlaying),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onRecordingAmplitude),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onDeleteMessage),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onReceiveNoVersionMessage),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onReceiveOpreateNoticeMessage),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onSetTopContact),
        TQ_FUZZ_ARRAY_ENTRY(ZS_MessageCallBack, onGetTopContact, 2),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onWithDrawMessage),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onReceiveServerUndefineMessage),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onReceivedConferenceNotification),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onCreateConference),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onDeleteConference),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onUpdateConference),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onGetConferenceInfo),
        TQ_FUZZ_ARRAY_ENTRY(ZS_ConfCallBack, onGetConferenceInfoList, 2),
        TQ_FUZZ_ARRAY_ENTRY(ZS_ConfCallBack, onGetHistoryConferenceInfoList, 2),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onLockConference),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onMemberJoinConference),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onMemberQuitConference),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onUpdateConferenceMember),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onGetConferenceMemberInfo),
        TQ_FUZZ_ARRAY_ENTRY(ZS_ConfCallBack, onGetConferenceMemberInfoList, 3),
        TQ_FUZZ_ARRAY_ENTRY(ZS_ConfCallBack, onConferenceInviteMember, 3),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onConferenceMemberRejectInvitation),
        TQ_FUZZ_ARRAY_ENTRY(ZS_ConfCallBack, onConferenceKickoutMember, 3),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onSetConferenceMemberRole),
        TQ_FUZZ_ARRAY_ENTRY(ZS_ConfCallBack, onGetHistoryConferenceMemberInfoList, 3),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onConferenceSendCmd),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onConferenceMediaControl),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onConferenceRecord),
        TQ_FUZZ_ARRAY_ENTRY(ZS_ConfCallBack, onGetConferenceRecordList, 3),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onConferenceAudioPlay),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onConferenceStartPublishVideo),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onConferenceStopPublishVideo),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onConferenceStartScreenSharing),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onConferenceStopScreenSharing),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onConferenceStartPublishVoice),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onConferenceStopPublishVoice),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onConferenceRequestMemberVideo),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onConferenceCancelMemberVideo),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onReceivedConferenceInviteNotification),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onReceivedConferenceAppointmentNotification),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onReceivedConferenceBeforeStartNotification),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onReceivedConferenceBeforeEndNotification),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onReceivedConferenceEndNotification),
        TQ_FUZZ_ENTRY(ZS_ConfCallBack, onConferenceGetAppSetting),
        TQ_FUZZ_ENTRY(ZS_MeetingCallBack, onCreateInterphoneMeeting),
        TQ_FUZZ_ENTRY(ZS_MeetingCallBack, onControlInterphoneMic),
        TQ_FUZZ_ENTRY(ZS_MeetingCallBack, onReceiveInterphoneMeetingMessage),
        TQ_FUZZ_ENTRY(ZS_MeetingCallBack, onMeetingInviteIncoming),
        TQ_FUZZ_ENTRY(ZS_MeetingCallBack, onReceiveVoiceMeetingMessage),
        TQ_FUZZ_ENTRY(ZS_MeetingCallBack, onReceiveVideoMeetingMessage),
        TQ_FUZZ_ENTRY(ZS_MeetingCallBack, onCreateMultimediaMeeting),
        TQ_FUZZ_ENTRY(ZS_MeetingCallBack, onJoinMeeting),
        TQ_FUZZ_ARRAY_ENTRY(ZS_MeetingCallBack, onQueryMeetingMembers, 3),
        TQ_FUZZ_ENTRY(ZS_MeetingCallBack, onDismissMultiMediaMeeting),
        TQ_FUZZ_ARRAY_ENTRY(ZS_MeetingCallBack, onQueryMultiMediaMeetings, 2),
        TQ_FUZZ_ENTRY(ZS_MeetingCallBack, onDeleteMemberMultiMediaMeeting),
        TQ_FUZZ_ENTRY(ZS_MeetingCallBack, onInviteJoinMultiMediaMeeting),
        TQ_FUZZ_ENTRY(ZS_MeetingCallBack, onPublishVideo),
        TQ_FUZZ_ENTRY(ZS_MeetingCallBack, onUnpublishVideo),
        TQ_FUZZ_ENTRY(ZS_MeetingCallBack, onRequestConferenceMemberVideo),
        TQ_FUZZ_ENTRY(ZS_MeetingCallBack, onCancelConferenceMemberVideo),
        TQ_FUZZ_ENTRY(ZS_MeetingCallBack, onExitMeeting),
        TQ_FUZZ_ENTRY(ZS_MeetingCallBack, onExitInterphoneMeeting),
        TQ_FUZZ_ENTRY(ZS_MeetingCallBack, onSetMeetingSpeakListen),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onCreateGroup),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onDismissGroup),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onQuitGroup),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onJoinGroup),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onReplyRequestJoinGroup),
        TQ_FUZZ_ARRAY_FIRST_ENTRY(ZS_MessageCallBack, onInviteJoinGroup, 3),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onReplyInviteJoinGroup),
        TQ_FUZZ_ARRAY_ENTRY(ZS_MessageCallBack, onQueryOwnGroup, 2),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onQueryGroupDetail),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onModifyGroup),
        TQ_FUZZ_ARRAY_ENTRY(ZS_MessageCallBack, onSearchPublicGroup, 4),
        TQ_FUZZ_ARRAY_ENTRY(ZS_MessageCallBack, onQueryGroupMember, 3),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onDeleteGroupMember),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onQueryGroupMemberCard),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onModifyGroupMemberCard),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onForbidMemberSpeakGroup),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onSetGroupMessageRule),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onReceiveGroupNoticeMessage),
        TQ_FUZZ_ENTRY(ZS_MessageCallBack, onSetGroupMemberRole),
        TQ_FUZZ_ARRAY_ENTRY(ZS_MessageCallBack, onSearchPublicGroupPaging, 4),
    };
    return list;
}

} // namespace tqfuzz
