#pragma once

// Input of fuzz_codec, shared with the seed generator. Byte 0 picks the function (% Count),
// the rest is its input:
//   WriteFixed      u16 width (% kMaxWidth), then the UTF-8 to write (the rest)
//   ReadFixed       u16 width (% kMaxWidth), u8 pad, then the field's bytes (missing: pad)
//   Field           u8 width (index into kFieldWidths), u8 form (bit 0: QByteArray, else a
//                   QString made from the bytes), then the bytes (the rest)
//   CopyUtf8        u16 width (% kMaxWidth), u8 flags (bit 0: null text), then the bytes
//   EngineText      u8 flags (bit 0: null text), then the bytes, copied with a NUL
//   Array           u8 shape, u8 n, u32 value as for a callback array (CallbackEntries.h),
//                   then n elements of 8 bytes
//   Flag            u8 the flag

#include "FuzzBytes.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace tqfuzz {

enum class CodecOp : std::uint8_t {
    WriteFixed,
    ReadFixed,
    Field,
    CopyUtf8,
    EngineText,
    Array,
    Flag,
    Count
};

constexpr std::uint16_t kMaxWidth = 4200;
// The widths of the engine's text fields, and a few small ones.
constexpr std::size_t kFieldWidths[] = {1, 2, 3, 4, 5, 21, 65, 100, 129, 516, 1306, 4097};
constexpr int kFieldWidthCount = int(sizeof kFieldWidths / sizeof kFieldWidths[0]);

inline std::string codecInput(CodecOp op, std::uint16_t width, const std::string &text)
{
    Writer out;
    out.u8(std::uint8_t(op));
    switch (op) {
    case CodecOp::WriteFixed:
        out.u16(width);
        break;
    case CodecOp::ReadFixed:
        out.u16(width);
        out.u8(0);
        break;
    case CodecOp::Field: {
        int index = 0;
        while (index + 1 < kFieldWidthCount && kFieldWidths[index] != width)
            ++index;
        out.u8(std::uint8_t(index));
        out.u8(0);
        break;
    }
    case CodecOp::CopyUtf8:
        out.u16(width);
        out.u8(0);
        break;
    case CodecOp::EngineText:
        out.u8(0);
        break;
    default:
        break;
    }
    out.raw(text.data(), text.size());
    return out.bytes();
}

} // namespace tqfuzz
