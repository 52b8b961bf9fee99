// The UTF-8 primitives: what counts as a valid sequence, and the fast scans
// agreeing with the one-character decoder on any bytes.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/Utf8.h"

using namespace ostrel;

namespace {

// Bytes biased towards what trips a decoder: ASCII runs of every length
// around the 8- and 16-byte steps, lead bytes, continuations, and the
// ranges' edges.
std::string RandomUtf8ish(std::mt19937& rng, size_t size)
{
    static const std::vector<std::string> pieces = {
        "a", "abcdefg", "abcdefghijklmnop", "\xC4\x85", "\xC5\x9B", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
        "\x80", "\xBF", "\xC0\x80", "\xC1", "\xC2", "\xE0\xA0", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xED\x9F\xBF",
        "\xF4\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\xF5", "\xFF", std::string(1, '\0'),
    };
    std::string s;
    while (s.size() < size) {
        if (rng() % 4 == 0)
            s += static_cast<char>(rng() % 256);
        else
            s += pieces[rng() % pieces.size()];
    }
    return s;
}

// The boundaries of s by walking it with Decode.
std::vector<size_t> Boundaries(std::string_view s)
{
    std::vector<size_t> at = {0};
    for (size_t i = 0; i < s.size(); i += utf8::Decode(s, i).length)
        at.push_back(i + utf8::Decode(s, i).length);
    return at;
}

}  // namespace

TEST(Utf8Decode, EveryCodePointRoundTripsThroughAppend)
{
    std::string bytes;
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        bytes.clear();
        utf8::Append(bytes, cp);
        const utf8::TDecoded d = utf8::Decode(bytes, 0);
        ASSERT_TRUE(d.valid) << std::hex << static_cast<uint32_t>(cp);
        ASSERT_EQ(static_cast<uint32_t>(d.cp), static_cast<uint32_t>(cp));
        ASSERT_EQ(d.length, bytes.size());
        ASSERT_EQ(bytes.size(), cp < 0x80 ? 1u : cp < 0x800 ? 2u : cp < 0x10000 ? 3u : 4u);
    }
}

TEST(Utf8Decode, MalformedSequencesAreSingleInvalidBytes)
{
    const char* malformed[] = {
        "\x80",              // a continuation alone
        "\xC0\x80",          // overlong NUL
        "\xC1\xBF",          // overlong
        "\xE0\x9F\xBF",      // overlong three bytes
        "\xF0\x8F\xBF\xBF",  // overlong four bytes
        "\xED\xA0\x80",      // high surrogate
        "\xED\xBF\xBF",      // low surrogate
        "\xF4\x90\x80\x80",  // above U+10FFFF
        "\xF5\x80\x80\x80",  // no such lead
        "\xFF",
        "\xC4",              // cut at the end
        "\xE2\x82",
        "\xF0\x9F\x98",
        "\xE2\x41\x41",      // cut by ASCII
    };
    for (const char* bytes : malformed) {
        const utf8::TDecoded d = utf8::Decode(bytes, 0);
        EXPECT_FALSE(d.valid) << bytes;
        EXPECT_EQ(d.length, 1);
        EXPECT_EQ(static_cast<uint32_t>(d.cp), static_cast<unsigned char>(bytes[0]));
    }
    // The edges that are valid.
    EXPECT_TRUE(utf8::Decode("\xED\x9F\xBF", 0).valid);
    EXPECT_TRUE(utf8::Decode("\xEE\x80\x80", 0).valid);
    EXPECT_TRUE(utf8::Decode("\xF4\x8F\xBF\xBF", 0).valid);
    EXPECT_EQ(static_cast<uint32_t>(utf8::Decode(std::string_view("\0", 1), 0).cp), 0u);
}

TEST(Utf8Decode, SurrogatesGetTheirGeneralisedFormThatDecodesAsInvalid)
{
    std::string bytes;
    utf8::Append(bytes, 0xD800);
    utf8::Append(bytes, 0xDFFF);
    EXPECT_EQ(bytes, "\xED\xA0\x80\xED\xBF\xBF");
    EXPECT_EQ(utf8::Scan(bytes).invalid, 6u);
}

TEST(Utf8Scan, FastPassesAgreeWithDecodeOnAnyBytes)
{
    std::mt19937 rng(1250);
    for (int round = 0; round < 3000; ++round) {
        const std::string s = RandomUtf8ish(rng, rng() % 80);
        utf8::TScan expected;
        for (size_t i = 0; i < s.size();) {
            const utf8::TDecoded d = utf8::Decode(s, i);
            if (!d.valid)
                ++expected.invalid;
            else if (d.length > 1)
                ++expected.multiByte;
            i += d.length;
        }
        const utf8::TScan scan = utf8::Scan(s);
        ASSERT_EQ(scan.multiByte, expected.multiByte) << round;
        ASSERT_EQ(scan.invalid, expected.invalid) << round;
        ASSERT_EQ(utf8::IsValid(s), expected.invalid == 0) << round;
        for (size_t i = 0; i <= s.size(); ++i) {
            size_t first = i;
            while (first < s.size() && static_cast<unsigned char>(s[first]) < 0x80)
                ++first;
            ASSERT_EQ(utf8::SkipAscii(s, i), first);
        }
    }
}

TEST(Utf8Scan, LongAsciiRunsWithOneLetterAnywhere)
{
    for (size_t at = 0; at < 40; ++at) {
        std::string s(40, 'x');
        s.replace(at, 1, "\xC5\x82");
        EXPECT_EQ(utf8::Scan(s).multiByte, 1u) << at;
        EXPECT_TRUE(utf8::IsValid(s));
        s[at + 1] = 'y';  // the continuation gone
        EXPECT_FALSE(utf8::IsValid(s)) << at;
        EXPECT_EQ(utf8::Scan(s).invalid, 1u);
    }
}

TEST(Utf8PrevBoundary, StepsBackOverWholeCharactersAsDecodeSplitsThem)
{
    std::mt19937 rng(8859);
    for (int round = 0; round < 2000; ++round) {
        const std::string s = RandomUtf8ish(rng, rng() % 40);
        const std::vector<size_t> at = Boundaries(s);
        EXPECT_EQ(utf8::PrevBoundary(s, 0), 0u);
        for (size_t k = 1; k < at.size(); ++k) {
            ASSERT_EQ(utf8::PrevBoundary(s, at[k]), at[k - 1]) << round;
            // Inside a character: the start of the character holding the byte before.
            for (size_t inside = at[k - 1] + 1; inside < at[k]; ++inside)
                ASSERT_EQ(utf8::PrevBoundary(s, inside), at[k - 1]) << round;
        }
    }
}
