#pragma once
// Operator tables of the code lexers: the operators of a language, matched
// longest first at the scan position, and the character tables they build
// their dispatch from. Everything here is built at compile time.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "highlighters/OstEditHighlighter.h"
#include "highlighters/OstHighlighterHashEntries.h"
#include "highlighters/OstHighlighterScan.h"

namespace ostrel {

class TOstOperatorTable {
public:
    template <size_t N>
    constexpr explicit TOstOperatorTable(const std::string_view (&operators)[N])
    {
        static_assert(N <= kMaxOperators, "too many operators for one table");
        for (size_t i = 0; i < N; ++i)
            ops_[i] = operators[i];
        // Grouped by their first character, the longest first in each group.
        std::sort(ops_.begin(), ops_.begin() + N, [](std::string_view a, std::string_view b) {
            return a[0] != b[0] ? static_cast<unsigned char>(a[0]) < static_cast<unsigned char>(b[0])
                                : a.size() > b.size();
        });
        for (size_t i = 0; i < N; ++i) {
            Group& g = groups_[static_cast<unsigned char>(ops_[i][0])];
            if (g.count == 0)
                g.first = static_cast<uint8_t>(i);
            ++g.count;
        }
    }

    // The length of the longest operator starting at s, or 0. s ends with a
    // zero character, which no operator holds.
    int Match(const unsigned char* s) const
    {
        const Group& g = groups_[s[0]];
        for (int i = g.first; i < g.first + g.count; ++i) {
            const std::string_view op = ops_[static_cast<size_t>(i)];
            size_t k = 1;
            while (k < op.size() && static_cast<unsigned char>(op[k]) == s[k])
                ++k;
            if (k == op.size())
                return static_cast<int>(k);
        }
        return 0;
    }

    // Whether some operator starts with the character.
    constexpr bool Starts(unsigned char c) const { return groups_[c].count != 0; }

private:
    static constexpr size_t kMaxOperators = 64;
    struct Group {
        uint8_t first = 0;
        uint8_t count = 0;
    };
    std::array<std::string_view, kMaxOperators> ops_{};
    std::array<Group, 256> groups_{};
};

// A 256-entry table of flags or values built from a predicate at compile time.
template <typename T, typename F>
constexpr std::array<T, 256> CharTable(F valueOf)
{
    std::array<T, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[static_cast<size_t>(c)] = static_cast<T>(valueOf(c));
    return t;
}

// The table a lexer uses on UTF-8 text: every byte from 0x80 up gets the
// value of an identifier letter, so the bytes of a character stay together.
template <typename T, typename V>
constexpr std::array<T, 256> WithUtf8Letters(std::array<T, 256> table, V letter)
{
    for (size_t c = 0x80; c < 256; ++c)
        table[c] = static_cast<T>(letter);
    return table;
}

constexpr bool IsAsciiLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
constexpr bool IsDigit(int c) { return c >= '0' && c <= '9'; }
constexpr bool IsHexDigit(int c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
// 0-9, A-Z, "_", a-z: the word characters of most code lexers.
constexpr bool IsAsciiWordChar(int c) { return IsAsciiLetter(c) || IsDigit(c) || c == '_'; }
// The accented letters of the code page: 192-214, 216-246, 248-255.
constexpr bool IsAccentedLetter(int c) { return c >= 192 && c <= 255 && c != 215 && c != 247; }
// The characters of a whitespace run: 1 to 32 except the line breaks.
constexpr bool IsBlank(int c) { return c >= 1 && c <= 32 && c != 10 && c != 13; }

inline constexpr auto kBlankChars = CharTable<bool>(IsBlank);

// Past the whitespace run at pos.
inline int SkipBlanks(const unsigned char* s, int pos)
{
    while (kBlankChars[s[pos]])
        ++pos;
    return pos;
}

// The usual keyword hash: the sum of the values of the word's characters, the
// word running while `wordChar` admits them. `length` gets its length.
inline int SumHash(const unsigned char* s, int& length, const std::array<bool, 256>& wordChar,
                   const std::array<int, 256>& values)
{
    int hash = 0;
    length = 0;
    while (wordChar[s[length]])
        hash += values[s[length++]];
    return hash;
}

// The hash a lexer's word scanner gives a keyword written out; the scanner
// reads up to a zero character.
template <typename Hash>
int HashOfText(std::string_view text, Hash hash)
{
    const std::string zeroEnded(text);
    int length = 0;
    return static_cast<int>(hash(reinterpret_cast<const unsigned char*>(zeroEnded.c_str()), length));
}

// Adds the words in order, each at the hash the lexer's word scanner gives it.
template <typename Words, typename Hash>
void AddHashedKeywords(TOstKeywordTable& table, const Words& words, int kind, Hash hash)
{
    for (const std::string_view w : words)
        table.Add(HashOfText(w, hash), w, kind);
}

// At the line's end, or at a line break inside it, a construct carried over
// from the line above gives way to the end-of-line token (no advance) or to a
// whitespace token over the break. Returns whether it did.
inline bool TakeLineBreak(const unsigned char* s, int& run, int& kind, int lineEndKind, int spaceKind)
{
    const unsigned char c = s[run];
    if (c == 0)
        kind = lineEndKind;
    else if (c == 10 || c == 13) {
        kind = spaceKind;
        run = scan::SkipLineBreak(s, run);
    } else {
        return false;
    }
    return true;
}

// Past the closing quote of a string whose text starts at pos, where a
// backslash takes the character after it along; at the line end when the
// quote is missing.
inline int SkipEscapedString(const unsigned char* s, int pos, unsigned char quote)
{
    for (;;) {
        const unsigned char c = s[pos];
        if (scan::IsLineEnd(c))
            return pos;
        ++pos;
        if (c == quote)
            return pos;
        if (c == '\\' && !scan::IsLineEnd(s[pos]))
            ++pos;
    }
}

// The attribute of a default-attribute role, given the lexer's attributes
// for comment, identifier, keyword, string, whitespace and symbol.
inline TOstHighlighterAttributes* RoleAttribute(int role, const std::array<TOstHighlighterAttributes*, 6>& byRole)
{
    return role >= 0 && role < 6 ? byRole[static_cast<size_t>(role)] : nullptr;
}

// Exact comparison for the lexers whose keywords are case-sensitive.
inline constexpr auto kExactValues = CharTable<int>([](int c) { return c; });

}  // namespace ostrel
