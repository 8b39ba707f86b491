#pragma once

// The whiteboard library's callback entries the agent registers, for fuzz_whiteboard and the
// seed generator. An input: byte 0 picks the entry (its position in entries()), then its
// arguments in order: int and unsigned int 4 bytes, uint64_t 8, const char * a text
// (FuzzBytes.h) handed over as a copy with a NUL in an allocation of its length + 1, or null.

#include "FuzzBytes.h"

#include <wbss.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace tqfuzz::wb {

// Owns the texts of one call until it returns; the last text decoded, for the checks.
struct Holder
{
    std::vector<std::unique_ptr<char[]>> blocks;
    bool hasText = false;
    std::string text;
    bool textNull = false;
};

template<class T> T decodeValue(Reader &in, Holder &holder)
{
    if constexpr (std::is_same_v<T, const char *>) {
        bool isNull = false;
        const std::string bytes = in.text(isNull);
        holder.hasText = true;
        holder.textNull = isNull;
        holder.text = bytes;
        if (isNull)
            return nullptr;
        holder.blocks.emplace_back(new char[bytes.size() + 1]);
        char *copy = holder.blocks.back().get();
        std::memcpy(copy, bytes.data(), bytes.size());
        copy[bytes.size()] = 0;
        return copy;
    } else if constexpr (std::is_same_v<T, int>) {
        return in.i32();
    } else if constexpr (std::is_same_v<T, unsigned int>) {
        return in.u32();
    } else if constexpr (std::is_same_v<T, std::uint64_t>) {
        return in.u64();
    } else {
        static_assert(sizeof(T) == 0, "no input format for this argument type");
    }
}

template<class T> void encodeValue(Writer &out, T value)
{
    if constexpr (std::is_same_v<T, const char *>)
        out.text(value);
    else if constexpr (std::is_same_v<T, int>)
        out.i32(value);
    else if constexpr (std::is_same_v<T, unsigned int>)
        out.u32(value);
    else if constexpr (std::is_same_v<T, std::uint64_t>)
        out.u64(value);
    else
        static_assert(sizeof(T) == 0, "no input format for this argument type");
}

struct Entry
{
    const char *name;
    // Decodes the arguments and calls the entry of `table`; returns the holder of the texts.
    Holder (*call)(const WbssCallbackTable *table, Reader &in);
    void (*install)(WbssCallbackTable *table, int position); // puts a recorder there
};

// Receives each recorded call: the entry's position and the input bytes.
inline std::function<void(int, const std::string &)> &recordSink()
{
    static std::function<void(int, const std::string &)> sink;
    return sink;
}

template<class Member> struct FnOf;
template<class Fn> struct FnOf<Fn WbssCallbackTable::*>
{
    using Type = Fn;
};

template<auto Member, class Fn = typename FnOf<decltype(Member)>::Type> struct Ops;
template<auto Member, class... A> struct Ops<Member, void(WBSS_CALL *)(A...)>
{
    using Args = std::tuple<A...>;
    static inline int position = -1;

    static Holder call(const WbssCallbackTable *table, Reader &in)
    {
        Holder holder;
        const Args args{decodeValue<A>(in, holder)...}; // braces: decoded in argument order
        if (const auto fn = table ? table->*Member : nullptr)
            std::apply(fn, args);
        return holder;
    }

    static void install(WbssCallbackTable *table, int at)
    {
        position = at;
        table->*Member = &record;
    }

    static void WBSS_CALL record(A... values)
    {
        Writer out;
        out.u8(std::uint8_t(position));
        (encodeValue(out, values), ...);
        if (recordSink())
            recordSink()(position, out.bytes());
    }
};

template<auto Member> Entry entry(const char *name)
{
    return Entry{name, &Ops<Member>::call, &Ops<Member>::install};
}

#define TQ_WB_FUZZ_ENTRY(name) tqfuzz::wb::entry<&WbssCallbackTable::name>("wbss::" #name)

// Every entry the agent registers, one line each; saved inputs name an entry by its position.
inline const std::vector<Entry> &entries()
{
    static const std::vector<Entry> list{
        TQ_WB_FUZZ_ENTRY(onTcpConnected),
        TQ_WB_FUZZ_ENTRY(onTcpConnectError),
        TQ_WB_FUZZ_ENTRY(onCreateRoom),
        TQ_WB_FUZZ_ENTRY(onDeleteRoom),
        TQ_WB_FUZZ_ENTRY(onLeaveRoom),
        TQ_WB_FUZZ_ENTRY(onJoinRoom),
        TQ_WB_FUZZ_ENTRY(onMemberJoinNotify),
        TQ_WB_FUZZ_ENTRY(onMemberLeaveNotify),
        TQ_WB_FUZZ_ENTRY(onGetRoomMember),
        TQ_WB_FUZZ_ENTRY(onChangeMemberAuth),
        TQ_WB_FUZZ_ENTRY(onChangeMemberAuthNotify),
        TQ_WB_FUZZ_ENTRY(onKickOutNotify),
        TQ_WB_FUZZ_ENTRY(onUploadFile),
        TQ_WB_FUZZ_ENTRY(onRateOfProgress),
        TQ_WB_FUZZ_ENTRY(onDocPngOne),
        TQ_WB_FUZZ_ENTRY(onDocPngReady),
        TQ_WB_FUZZ_ENTRY(onShareDoc),
        TQ_WB_FUZZ_ENTRY(onShareDocNotify),
        TQ_WB_FUZZ_ENTRY(onDocConvertNotify),
        TQ_WB_FUZZ_ENTRY(onCurrentPageDrawingClear),
        TQ_WB_FUZZ_ENTRY(onGotoPage),
        TQ_WB_FUZZ_ENTRY(onGotoPageNotify),
        TQ_WB_FUZZ_ENTRY(onDownloadPage),
        TQ_WB_FUZZ_ENTRY(onDrawNotify),
        TQ_WB_FUZZ_ENTRY(onDrawUndo),
        TQ_WB_FUZZ_ENTRY(onDrawUndoNotify),
        TQ_WB_FUZZ_ENTRY(onDrawRedo),
        TQ_WB_FUZZ_ENTRY(onDrawRedoNotify),
    };
    return list;
}

} // namespace tqfuzz::wb
