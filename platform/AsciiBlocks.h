#pragma once
// Sixteen bytes at a time through the ASCII stretches of text, for the loops
// that run over whole files. Each step writes all sixteen (widened to UTF-16,
// or narrowed from it) and says how many of the first ones were ASCII: the
// caller keeps those and handles the next character itself. Polish text has
// a non-ASCII letter every eight bytes or so, so the step has to pay off on
// short stretches, not only on long ones. SSE2 where the machine has it
// (every x86-64), plain C++ elsewhere.

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ostrel::ascii {

inline constexpr int kBlock = 16;

#if !defined(__SSE2__)
inline int PrefixLength(const unsigned char* p, int n)
{
    int k = 0;
    while (k < n && p[k] < 0x80)
        ++k;
    return k;
}
#endif

// Copies the 16 bytes at p to out; returns how many of the first are ASCII.
inline int CopyPrefix(const unsigned char* p, char* out)
{
#if defined(__SSE2__)
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), bytes);
    const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(bytes));
    return high == 0 ? kBlock : std::countr_zero(high);
#else
    std::memcpy(out, p, kBlock);
    return PrefixLength(p, kBlock);
#endif
}

// Widens the 16 bytes at p to UTF-16 units in out (32 bytes, in the byte
// order asked for); returns how many of the first bytes are ASCII.
template <bool BigEndian>
int WidenPrefix(const unsigned char* p, char* out)
{
#if defined(__SSE2__)
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = BigEndian ? _mm_unpacklo_epi8(zero, bytes) : _mm_unpacklo_epi8(bytes, zero);
    const __m128i high = BigEndian ? _mm_unpackhi_epi8(zero, bytes) : _mm_unpackhi_epi8(bytes, zero);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), low);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), high);
    const unsigned nonAscii = static_cast<unsigned>(_mm_movemask_epi8(bytes));
    return nonAscii == 0 ? kBlock : std::countr_zero(nonAscii);
#else
    const int k = PrefixLength(p, kBlock);
    for (int i = 0; i < k; ++i) {
        out[2 * i + (BigEndian ? 1 : 0)] = static_cast<char>(p[i]);
        out[2 * i + (BigEndian ? 0 : 1)] = 0;
    }
    return k;
#endif
}

// Narrows the 8 UTF-16 units (16 bytes, in the byte order given) at p to
// bytes in out (room for 8); returns how many of the first units are ASCII.
template <bool BigEndian>
int NarrowPrefix(const unsigned char* p, char* out)
{
#if defined(__SSE2__)
    __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    if (BigEndian)
        units = _mm_or_si128(_mm_slli_epi16(units, 8), _mm_srli_epi16(units, 8));
    const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(units, _mm_set1_epi16(static_cast<short>(0xFF80))),
                                          _mm_setzero_si128());
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(units, units));
    const unsigned other = ~static_cast<unsigned>(_mm_movemask_epi8(ascii)) & 0xFFFF;
    return other == 0 ? kBlock / 2 : std::countr_zero(other) / 2;
#else
    int k = 0;
    for (; k < kBlock / 2; ++k) {
        const unsigned char low = p[2 * k + (BigEndian ? 1 : 0)];
        const unsigned char high = p[2 * k + (BigEndian ? 0 : 1)];
        if (high != 0 || low >= 0x80)
            break;
        out[k] = static_cast<char>(low);
    }
    return k;
#endif
}

}  // namespace ostrel::ascii
