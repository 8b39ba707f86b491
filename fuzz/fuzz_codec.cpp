// The fixed-field codec (FixedField.h, Utf8Field.h) on its own: every field and text lives in
// an allocation of exactly its size, so ASan sees any access past it, and each function's
// result is checked: a written field is the longest prefix of the text that fits in width - 1
// bytes without ending inside a character, then NULs to the end of the field; valid UTF-8
// stays valid; a read never goes past the field and never yields a NUL.

#include "CallbackEntries.h"
#include "CodecInput.h"
#include "FuzzApp.h"

#include <FixedField.h>
#include <Utf8Field.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

namespace {

using tqfuzz::Reader;

bool isContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool validUtf8(const char *text, std::size_t size)
{
    const auto *s = reinterpret_cast<const unsigned char *>(text);
    std::size_t i = 0;
    while (i < size) {
        const unsigned char c = s[i];
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (c < 0x80) {
            length = 1;
        } else if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            low = c == 0xE0 ? 0xA0 : 0x80;
            high = c == 0xED ? 0x9F : 0xBF;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            low = c == 0xF0 ? 0x90 : 0x80;
            high = c == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (size - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned char b = s[i + k];
            if (b < (k == 1 ? low : 0x80) || b > (k == 1 ? high : 0xBF))
                return false;
        }
        i += length;
    }
    return true;
}

// A copy of `bytes` in an allocation of exactly their size.
std::unique_ptr<char[]> exactCopy(const std::string &bytes)
{
    std::unique_ptr<char[]> copy(new char[bytes.size()]);
    if (!bytes.empty())
        std::memcpy(copy.get(), bytes.data(), bytes.size());
    return copy;
}

// Where a text of `size` bytes is cut to fit `limit` bytes: at the limit, or before the
// character the limit would split.
std::size_t cutAt(const char *text, std::size_t size, std::size_t limit)
{
    if (size <= limit)
        return size;
    std::size_t n = limit;
    while (n > 0 && isContinuation(text[n]))
        --n;
    return n;
}

// `field` of `width` bytes after `size` bytes of `text` were written into it.
void checkWritten(const char *field, std::size_t width, const char *text, std::size_t size)
{
    if (width == 0)
        return;
    const std::size_t n = cutAt(text, size, width - 1);
    TQ_FUZZ_CHECK(n <= width - 1);
    TQ_FUZZ_CHECK(n == 0 || std::memcmp(field, text, n) == 0);
    for (std::size_t i = n; i < width; ++i)
        TQ_FUZZ_CHECK(field[i] == 0);
    if (validUtf8(text, size)) {
        TQ_FUZZ_CHECK(validUtf8(field, n));
        TQ_FUZZ_CHECK(n + 3 >= std::min(size, width - 1)); // at most one character left out
    }
}

// What a field of `width` bytes reads as.
void checkRead(const QString &read, const char *field, std::size_t width)
{
    const void *nul = std::memchr(field, 0, width);
    const std::size_t n = nul ? std::size_t(static_cast<const char *>(nul) - field) : width;
    TQ_FUZZ_CHECK(read.size() <= int(n));
    TQ_FUZZ_CHECK(!read.contains(QChar(0)));
    TQ_FUZZ_CHECK(read == QString::fromUtf8(field, int(n)));
    if (validUtf8(field, n))
        TQ_FUZZ_CHECK(read.toUtf8() == QByteArray(field, int(n)));
}

void writeFixed(Reader &in)
{
    const std::size_t width = in.u16() % tqfuzz::kMaxWidth;
    const std::string bytes = in.rest();
    std::unique_ptr<char[]> field(new char[width]);
    std::memset(field.get(), 0xAA, width);
    tq::writeFixed(field.get(), width, QByteArray(bytes.data(), int(bytes.size())));
    checkWritten(field.get(), width, bytes.data(), bytes.size());
    if (width > 0)
        checkRead(tq::readFixed(field.get(), width), field.get(), width);
}

void readFixed(Reader &in)
{
    const std::size_t width = in.u16() % tqfuzz::kMaxWidth;
    const std::uint8_t pad = in.u8();
    std::unique_ptr<char[]> field(new char[width]);
    const std::size_t got = in.take(field.get(), width);
    std::memset(field.get() + got, pad, width - got);
    checkRead(tq::readFixed(field.get(), width), field.get(), width);
    TQ_FUZZ_CHECK(tq::readFixed(nullptr, width).isNull());
}

template<std::size_t N> void field(Reader &in)
{
    const bool raw = in.u8() & 1;
    const std::string bytes = in.rest();
    using Field = char[N];
    const std::unique_ptr<Field[]> holder(new Field[1]); // exactly N bytes
    Field &f = holder[0];
    std::memset(f, 0xAA, N);
    if (raw) {
        tq::writeField(f, QByteArray(bytes.data(), int(bytes.size())));
        checkWritten(f, N, bytes.data(), bytes.size());
    } else {
        const QString text = QString::fromUtf8(bytes.data(), int(bytes.size()));
        const QByteArray utf8 = text.toUtf8();
        tq::writeField(f, text);
        checkWritten(f, N, utf8.constData(), std::size_t(utf8.size()));
        TQ_FUZZ_CHECK(validUtf8(f, std::strlen(f)));
        const QString back = tq::readField(f);
        TQ_FUZZ_CHECK(text.startsWith(back));
        if (std::size_t(utf8.size()) < N && !text.contains(QChar(0)))
            TQ_FUZZ_CHECK(back == text);
    }
    checkRead(tq::readField(f), f, N);
}

template<std::size_t... I> void fieldOfWidth(int index, Reader &in, std::index_sequence<I...>)
{
    ((index == int(I) ? field<tqfuzz::kFieldWidths[I]>(in) : void()), ...);
}

void copyUtf8(Reader &in)
{
    const std::size_t width = in.u16() % tqfuzz::kMaxWidth;
    const bool nullText = in.u8() & 1;
    const std::string bytes = in.rest();
    const std::unique_ptr<char[]> text = exactCopy(bytes);
    std::unique_ptr<char[]> field(new char[width]);
    std::memset(field.get(), 0xAA, width);
    tq::copyUtf8Field(field.get(), width, nullText ? nullptr : text.get(), bytes.size());
    if (nullText) {
        for (std::size_t i = 0; i < width; ++i)
            TQ_FUZZ_CHECK(field[i] == 0);
    } else {
        checkWritten(field.get(), width, text.get(), bytes.size());
    }
    tq::copyUtf8Field(nullptr, width, text.get(), bytes.size()); // nothing to write into

    // The prefix on its own, with the width as the limit.
    const std::size_t n = tq::utf8PrefixLength(text.get(), bytes.size(), width);
    TQ_FUZZ_CHECK(n <= bytes.size() && n <= width);
    TQ_FUZZ_CHECK(n == cutAt(text.get(), bytes.size(), width));
    if (bytes.size() > width) {
        TQ_FUZZ_CHECK(n == 0 || !isContinuation(text[n]));
        for (std::size_t i = n + 1; i <= width; ++i)
            TQ_FUZZ_CHECK(isContinuation(text[i]));
    }
}

void engineText(Reader &in)
{
    const bool nullText = in.u8() & 1;
    const std::string bytes = in.rest();
    const std::unique_ptr<char[]> text = exactCopy(bytes + '\0');
    const QString read = tq::fromEngineText(nullText ? nullptr : text.get());
    if (nullText) {
        TQ_FUZZ_CHECK(read.isNull());
        return;
    }
    const std::size_t n = std::strlen(text.get());
    TQ_FUZZ_CHECK(read == QString::fromUtf8(text.get(), int(n)));
    if (validUtf8(text.get(), n))
        TQ_FUZZ_CHECK(read.toUtf8() == QByteArray(text.get(), int(n)));
}

struct Element
{
    std::int32_t value;
    unsigned char bytes[4];
};

void array(Reader &in)
{
    tqfuzz::Holder holder;
    const auto [count, elements] = tqfuzz::decodeArray<Element>(in, holder);
    const int expected = (elements && count >= 0) ? count : 0;
    TQ_FUZZ_CHECK(tq::clampCount(count, elements) == expected);
    const QList<std::int32_t> list
        = tq::convertArray(elements, count, [](const Element &e) { return e.value; });
    TQ_FUZZ_CHECK(list.size() == expected);
    for (int i = 0; i < list.size(); ++i)
        TQ_FUZZ_CHECK(list[i] == elements[i].value);
}

void flag(Reader &in)
{
    const unsigned char byte = in.u8();
    TQ_FUZZ_CHECK(tq::engineFlag(byte) == (byte != 0));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    tqfuzz::startQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Reader in(data, size);
    using Op = tqfuzz::CodecOp;
    switch (Op(in.u8() % std::uint8_t(Op::Count))) {
    case Op::WriteFixed:
        writeFixed(in);
        break;
    case Op::ReadFixed:
        readFixed(in);
        break;
    case Op::Field:
        fieldOfWidth(in.u8() % tqfuzz::kFieldWidthCount, in,
                     std::make_index_sequence<tqfuzz::kFieldWidthCount>{});
        break;
    case Op::CopyUtf8:
        copyUtf8(in);
        break;
    case Op::EngineText:
        engineText(in);
        break;
    case Op::Array:
        array(in);
        break;
    case Op::Flag:
        flag(in);
        break;
    case Op::Count:
        break;
    }
    return 0;
}
