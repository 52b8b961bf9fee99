// The buffer's bytes back to a file's bytes. Only UTF-16 needs work: the
// held UTF-8 becomes UTF-16, with the two forms DecodeFileBytes made for what
// UTF-8 cannot hold (lone surrogates, a final odd byte) turned back.

#include <algorithm>

#include "platform/AsciiBlocks.h"
#include "platform/BlockWriter.h"
#include "platform/TextEncoding.h"
#include "platform/Utf8.h"

namespace ostrel {

namespace {

enum class THeldKind : uint8_t { Character, Surrogate, OddByte, Invalid, NeedMore };

// One character of the held UTF-8 as UTF-16 sees it.
struct THeld {
    THeldKind kind;
    uint8_t length;
    char32_t value;  // code point, surrogate unit, odd byte or invalid byte
};

// The bytes a sequence starting with b takes (the odd-byte form: two); 0 for a byte that starts none.
size_t ExpectedLength(unsigned char b)
{
    if (b >= 0xC2 && b <= 0xDF)
        return 2;
    if (b >= 0xE0 && b <= 0xEF)
        return 3;
    if (b >= 0xF0 && b <= 0xF4)
        return 4;
    if (b >= 0xF8 && b <= 0xFB)
        return 2;
    return 0;
}

// Whether the n bytes at p could still become a whole sequence with more bytes.
bool MayBeCut(const unsigned char* p, size_t n)
{
    if (n >= ExpectedLength(p[0]))
        return false;
    for (size_t k = 1; k < n; ++k)
        if (!utf8::IsContinuation(p[k]))
            return false;
    return true;
}

// The character at p (n > 0 bytes known); atEnd when no byte of the
// document follows them, else NeedMore for what more bytes could complete.
THeld Classify(const unsigned char* p, size_t n, bool atEnd)
{
    if (p[0] < 0x80)
        return {THeldKind::Character, 1, p[0]};
    if (const int length = utf8::MultiByteLength(p, n))
        return {THeldKind::Character, static_cast<uint8_t>(length), utf8::MultiByteValue(p, length)};
    if (p[0] == 0xED && n >= 3 && p[1] >= 0xA0 && utf8::IsContinuation(p[1]) && utf8::IsContinuation(p[2]))
        return {THeldKind::Surrogate, 3, 0xD000 | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F)};
    if (p[0] >= 0xF8 && p[0] <= 0xFB && n == 2 && utf8::IsContinuation(p[1])) {
        if (!atEnd)
            return {THeldKind::NeedMore, 0, 0};
        return {THeldKind::OddByte, 2, char32_t((p[0] & 0x03) << 6) | (p[1] & 0x3F)};
    }
    if (!atEnd && MayBeCut(p, n))
        return {THeldKind::NeedMore, 0, 0};
    return {THeldKind::Invalid, 1, p[0]};
}

template <bool BigEndian>
[[gnu::always_inline]] inline void PutUnit(TBlockWriter& writer, char32_t unit)
{
    char* room = writer.Room(2);
    room[BigEndian ? 0 : 1] = static_cast<char>(unit >> 8);
    room[BigEndian ? 1 : 0] = static_cast<char>(unit & 0xFF);
    writer.Advance(2);
}

constexpr char32_t kReplacementCharacter = 0xFFFD;

template <bool BigEndian>
void PutCodePoint(TBlockWriter& writer, char32_t cp)
{
    if (cp < 0x10000) {
        PutUnit<BigEndian>(writer, cp);
    } else {
        PutUnit<BigEndian>(writer, 0xD800 + ((cp - 0x10000) >> 10));
        PutUnit<BigEndian>(writer, 0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
}

// Writes one classified character; returns false for an invalid byte, which
// is written as U+FFFD.
template <bool BigEndian>
bool Emit(const THeld& held, TBlockWriter& writer)
{
    switch (held.kind) {
    case THeldKind::Character: PutCodePoint<BigEndian>(writer, held.value); return true;
    case THeldKind::Surrogate: PutUnit<BigEndian>(writer, held.value); return true;
    case THeldKind::OddByte: writer.Put(static_cast<char>(held.value)); return true;
    default: PutUnit<BigEndian>(writer, kReplacementCharacter); return false;
    }
}

// Encodes the n bytes at p; returns how many it consumed (fewer than n when
// the last ones may continue in the next piece). invalid(i) is told of each
// invalid byte by its index.
template <bool BigEndian, typename Invalid>
size_t EncodeRun(const unsigned char* p, size_t n, bool atEnd, TBlockWriter& writer, Invalid&& invalid)
{
    size_t i = 0;
    while (i < n) {
        if (n - i >= ascii::kBlock) {
            const int prefix = ascii::WidenPrefix<BigEndian>(p + i, writer.Room(2 * ascii::kBlock));
            writer.Advance(2 * static_cast<size_t>(prefix));
            i += static_cast<size_t>(prefix);
            if (prefix == ascii::kBlock)
                continue;
        }
        // Valid characters first: they are nearly all there is.
        if (p[i] < 0x80) {
            PutUnit<BigEndian>(writer, p[i++]);
            continue;
        }
        if (const int length = utf8::MultiByteLength(p + i, n - i)) {
            PutCodePoint<BigEndian>(writer, utf8::MultiByteValue(p + i, length));
            i += static_cast<size_t>(length);
            continue;
        }
        const THeld held = Classify(p + i, n - i, atEnd);
        if (held.kind == THeldKind::NeedMore)
            return i;
        if (!Emit<BigEndian>(held, writer))
            invalid(i);
        i += held.length;
    }
    return n;
}

std::string_view MarkOf(TOstEncoding e)
{
    switch (e) {
    case TOstEncoding::Utf8Bom: return "\xEF\xBB\xBF";
    case TOstEncoding::Utf16Le: return "\xFF\xFE";
    case TOstEncoding::Utf16Be: return "\xFE\xFF";
    default: return {};
    }
}

}  // namespace

void TOstFileEncoder::BeginFile(std::string& out)
{
    if (started_)
        return;
    started_ = true;
    out.append(MarkOf(encoding_));
}

void TOstFileEncoder::NoteUnencodable(size_t offset)
{
    if (unencodableCount_++ == 0)
        firstUnencodable_ = offset;
}

// Completes the carried bytes with the first bytes of the piece; returns how
// many of the piece it took.
template <bool BigEndian>
size_t TOstFileEncoder::ResolveCarry(std::string_view piece, TBlockWriter& writer)
{
    size_t used = 0;
    while (carryLength_ > 0) {
        const THeld held = Classify(carry_, carryLength_, false);
        if (held.kind == THeldKind::NeedMore) {
            if (used == piece.size())
                return used;
            carry_[carryLength_++] = static_cast<unsigned char>(piece[used++]);
            continue;
        }
        if (!Emit<BigEndian>(held, writer))
            NoteUnencodable(carryOffset_);
        carryLength_ = static_cast<uint8_t>(carryLength_ - held.length);
        std::copy(carry_ + held.length, carry_ + held.length + carryLength_, carry_);
        carryOffset_ += held.length;
    }
    return used;
}

template <bool BigEndian>
void TOstFileEncoder::EncodeUtf16(std::string_view piece, std::string& out)
{
    TBlockWriter writer(out);
    const auto* bytes = reinterpret_cast<const unsigned char*>(piece.data());
    const size_t used = ResolveCarry<BigEndian>(piece, writer);
    const size_t start = fed_ + used;
    const size_t consumed = used + EncodeRun<BigEndian>(bytes + used, piece.size() - used, false, writer,
                                                        [&](size_t i) { NoteUnencodable(start + i); });
    if (consumed < piece.size()) {
        carryOffset_ = fed_ + consumed;
        for (size_t k = consumed; k < piece.size(); ++k)
            carry_[carryLength_++] = bytes[k];
    }
    writer.Flush();
    fed_ += piece.size();
}

template <bool BigEndian>
void TOstFileEncoder::FinishUtf16(std::string& out)
{
    TBlockWriter writer(out);
    const size_t start = carryOffset_;
    EncodeRun<BigEndian>(carry_, carryLength_, true, writer, [&](size_t i) { NoteUnencodable(start + i); });
    carryLength_ = 0;
    writer.Flush();
}

void TOstFileEncoder::Encode(std::string_view piece, std::string& out)
{
    BeginFile(out);
    if (encoding_ == TOstEncoding::Utf16Le) {
        EncodeUtf16<false>(piece, out);
    } else if (encoding_ == TOstEncoding::Utf16Be) {
        EncodeUtf16<true>(piece, out);
    } else {
        out.append(piece);
        fed_ += piece.size();
    }
}

bool TOstFileEncoder::Finish(std::string& out)
{
    BeginFile(out);
    if (encoding_ == TOstEncoding::Utf16Le)
        FinishUtf16<false>(out);
    else if (encoding_ == TOstEncoding::Utf16Be)
        FinishUtf16<true>(out);
    return unencodableCount_ == 0;
}

}  // namespace ostrel
