#pragma once

// The byte format shared by the fuzz targets and the seed generator: a Reader takes values
// from a fuzz input, a Writer produces the same bytes from known values. Numbers are
// little-endian; past the end of the input every byte reads as 0, so any input decodes.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace tqfuzz {

// A text argument: u16 length, 0xFFFF for a null text, then that many bytes.
constexpr std::uint16_t kNullText = 0xFFFF;

class Reader
{
public:
    Reader(const std::uint8_t *data, std::size_t size)
        : m_data(data)
        , m_size(size)
    { }

    std::size_t remaining() const { return m_size - m_pos; }
    bool atEnd() const { return m_pos >= m_size; }

    std::uint8_t u8() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    std::uint16_t u16() { return std::uint16_t(number(2)); }
    std::uint32_t u32() { return std::uint32_t(number(4)); }
    std::uint64_t u64() { return number(8); }
    std::int32_t i32() { return std::int32_t(u32()); }

    // Copies up to `n` bytes into `out`; returns how many the input still had.
    std::size_t take(void *out, std::size_t n)
    {
        const std::size_t k = n < remaining() ? n : remaining();
        if (k > 0)
            std::memcpy(out, m_data + m_pos, k);
        m_pos += k;
        return k;
    }

    // A text as written by Writer::text: `isNull` tells a null text from an empty one.
    std::string text(bool &isNull)
    {
        const std::uint16_t length = u16();
        isNull = length == kNullText;
        if (isNull)
            return std::string();
        std::string bytes(length < remaining() ? length : remaining(), '\0');
        take(&bytes[0], bytes.size());
        return bytes;
    }

    // Everything not read yet.
    std::string rest()
    {
        std::string bytes(remaining(), '\0');
        take(&bytes[0], bytes.size());
        return bytes;
    }

private:
    std::uint64_t number(int bytes)
    {
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= std::uint64_t(u8()) << (8 * i);
        return value;
    }

    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

class Writer
{
public:
    void u8(std::uint8_t v) { m_bytes.push_back(char(v)); }
    void u16(std::uint16_t v) { number(v, 2); }
    void u32(std::uint32_t v) { number(v, 4); }
    void u64(std::uint64_t v) { number(v, 8); }
    void i32(std::int32_t v) { u32(std::uint32_t(v)); }
    void raw(const void *data, std::size_t n)
    {
        m_bytes.append(static_cast<const char *>(data), n);
    }
    void text(const char *bytes, std::size_t n)
    {
        if (!bytes) {
            u16(kNullText);
            return;
        }
        if (n >= kNullText)
            n = kNullText - 1;
        u16(std::uint16_t(n));
        raw(bytes, n);
    }
    void text(const char *nulTerminated)
    {
        text(nulTerminated, nulTerminated ? std::strlen(nulTerminated) : 0);
    }
    void text(const std::string &bytes) { text(bytes.data(), bytes.size()); }

    const std::string &bytes() const { return m_bytes; }

private:
    void number(std::uint64_t v, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            u8(std::uint8_t(v >> (8 * i)));
    }

    std::string m_bytes;
};

} // namespace tqfuzz
