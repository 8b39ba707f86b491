#pragma once

// The input format of fuzz_vidyo, shared with its seed generator: one event of the video-room
// client and what the client's requests answer while the callback handles it.
//   u8  event: an index into kVidyoEvents (every handled code, and two unhandled ones)
//   u8  flags: bit 0 a null data pointer, bit 1 the client's requests fail
//   u16 size of the event data, then that many bytes
//   the rest: the bytes the client writes into each request's record, from its start

#include "FuzzBytes.h"

#include <cstdint>
#include <string>

namespace tqfuzz::vidyo {

constexpr unsigned int kVidyoEvents[]
    = {200,  300,  301,  602,  1200, 1201, 1202, 1203, 1211, 1400, 1500,  1501,
       1502, 1503, 1504, 1600, 1601, 1700, 1800, 1900, 2000, 2001, 2005,  2100,
       2200, 2300, 2302, 2303, 2304, 2305, 2500, 2600, 2601, 0,    999999};
constexpr std::size_t kVidyoEventCount = sizeof kVidyoEvents / sizeof kVidyoEvents[0];

constexpr std::uint8_t kNullData = 1;
constexpr std::uint8_t kRequestsFail = 2;

inline int indexOf(unsigned int event)
{
    for (std::size_t i = 0; i < kVidyoEventCount; ++i)
        if (kVidyoEvents[i] == event)
            return int(i);
    return int(kVidyoEventCount) - 1;
}

inline std::string encode(unsigned int event, std::uint8_t flags, const std::string &data,
                          const std::string &answer)
{
    std::string out;
    out += char(indexOf(event));
    out += char(flags);
    const std::size_t n = data.size() < 0xFFFF ? data.size() : 0xFFFF;
    out += char(n & 0xFF);
    out += char((n >> 8) & 0xFF);
    out += data.substr(0, n);
    out += answer;
    return out;
}

} // namespace tqfuzz::vidyo
