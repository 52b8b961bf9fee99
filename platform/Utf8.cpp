#include "platform/Utf8.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ostrel::utf8 {

namespace {

const unsigned char* Bytes(std::string_view s) { return reinterpret_cast<const unsigned char*>(s.data()); }

// The first non-ASCII byte in [p, end), or end. Polish text has a non-ASCII
// letter every few bytes, so the word loop returns at the first high bit in
// the word instead of only telling that there is one.
const unsigned char* SkipAsciiBytes(const unsigned char* p, const unsigned char* end)
{
#if defined(__SSE2__)
    while (end - p >= 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int high = _mm_movemask_epi8(chunk);
        if (high != 0)
            return p + __builtin_ctz(static_cast<unsigned>(high));
        p += 16;
    }
#else
    while (end - p >= 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        const uint64_t high = word & 0x8080808080808080ULL;
        if (high != 0) {
            // The lowest set bit is the first byte in memory on little-endian
            // machines; elsewhere find it byte by byte.
            if constexpr (std::endian::native == std::endian::little)
                return p + (__builtin_ctzll(high) >> 3);
            break;
        }
        p += 8;
    }
#endif
    while (p < end && *p < 0x80)
        ++p;
    return p;
}

}  // namespace

void Append(std::string& out, char32_t cp)
{
    char bytes[4];
    out.append(bytes, static_cast<size_t>(Encode(cp, bytes)));
}

size_t SkipAscii(std::string_view s, size_t i)
{
    const unsigned char* begin = Bytes(s);
    return static_cast<size_t>(SkipAsciiBytes(begin + i, begin + s.size()) - begin);
}

bool IsValid(std::string_view s)
{
    const unsigned char* p = Bytes(s);
    const unsigned char* end = p + s.size();
    for (;;) {
        p = SkipAsciiBytes(p, end);
        if (p == end)
            return true;
        const int length = MultiByteLength(p, static_cast<size_t>(end - p));
        if (length == 0)
            return false;
        p += length;
    }
}

TScan Scan(std::string_view s)
{
    TScan counts;
    const unsigned char* p = Bytes(s);
    const unsigned char* end = p + s.size();
    for (;;) {
        p = SkipAsciiBytes(p, end);
        if (p == end)
            return counts;
        const int length = MultiByteLength(p, static_cast<size_t>(end - p));
        if (length == 0) {
            ++counts.invalid;
            ++p;
        } else {
            ++counts.multiByte;
            p += length;
        }
    }
}

size_t PrevBoundary(std::string_view s, size_t i)
{
    if (i == 0)
        return 0;
    const unsigned char* p = Bytes(s);
    const size_t last = i - 1;
    // A character is at most four bytes, so its first byte is no further back.
    const size_t earliest = i >= 4 ? i - 4 : 0;
    size_t lead = last;
    while (lead > earliest && IsContinuation(p[lead]))
        --lead;
    if (lead < last && !IsContinuation(p[lead])) {
        const int length = MultiByteLength(p + lead, s.size() - lead);
        if (length != 0 && lead + static_cast<size_t>(length) > last)
            return lead;
    }
    return last;
}

}  // namespace ostrel::utf8
