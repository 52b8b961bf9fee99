#include "platform/UnicodeCase.h"

#include <utf8proc.h>

#include <algorithm>
#include <array>
#include <unordered_map>
#include <vector>

namespace ostrel::unicode {

namespace {

constexpr char32_t kMaxCodePoint = 0x10FFFF;

bool InRange(char32_t cp) { return cp <= kMaxCodePoint && !(cp >= 0xD800 && cp <= 0xDFFF); }

// The folding of the Unicode database: the common and simple entries. Where
// only a full folding of several code points exists, the simple one is the
// lower-case form, except for the capital I with dot, whose only other
// folding belongs to Turkish.
char32_t FoldOf(char32_t cp)
{
    if (!InRange(cp))
        return cp;
    utf8proc_int32_t out[4];
    int boundClass = 0;
    const utf8proc_ssize_t n = utf8proc_decompose_char(static_cast<utf8proc_int32_t>(cp), out, 4,
                                                       UTF8PROC_CASEFOLD, &boundClass);
    if (n == 1)
        return static_cast<char32_t>(out[0]);
    if (cp == 0x130)
        return cp;
    return static_cast<char32_t>(utf8proc_tolower(static_cast<utf8proc_int32_t>(cp)));
}

// Characters of one and two UTF-8 bytes (Latin, Greek, Cyrillic) are looked up.
constexpr char32_t kTableSize = 0x800;

const std::array<char32_t, kTableSize>& FoldTable()
{
    static const std::array<char32_t, kTableSize> table = [] {
        std::array<char32_t, kTableSize> t{};
        for (char32_t cp = 0; cp < kTableSize; ++cp)
            t[cp] = FoldOf(cp);
        return t;
    }();
    return table;
}

// The code points of each folding class that has more than one member,
// keyed by the folded form. The last code point that folds to anything but
// itself lies well below U+20000.
constexpr char32_t kLastFoldingCodePoint = 0x1FFFF;

const std::unordered_map<char32_t, std::vector<char32_t>>& FoldClasses()
{
    static const auto classes = [] {
        std::unordered_map<char32_t, std::vector<char32_t>> c;
        for (char32_t cp = 0; cp <= kLastFoldingCodePoint; ++cp) {
            const char32_t f = SimpleFold(cp);
            if (f != cp) {
                auto& members = c[f];
                if (members.empty())
                    members.push_back(f);
                members.push_back(cp);
            }
        }
        return c;
    }();
    return classes;
}

template <typename... Categories>
bool CategoryIn(char32_t cp, Categories... categories)
{
    const utf8proc_category_t c = utf8proc_category(static_cast<utf8proc_int32_t>(cp));
    return ((c == categories) || ...);
}

}  // namespace

char32_t SimpleUpper(char32_t cp)
{
    if (cp < 0x80)
        return cp >= 'a' && cp <= 'z' ? cp - 32 : cp;
    return InRange(cp) ? static_cast<char32_t>(utf8proc_toupper(static_cast<utf8proc_int32_t>(cp))) : cp;
}

char32_t SimpleLower(char32_t cp)
{
    if (cp < 0x80)
        return cp >= 'A' && cp <= 'Z' ? cp + 32 : cp;
    return InRange(cp) ? static_cast<char32_t>(utf8proc_tolower(static_cast<utf8proc_int32_t>(cp))) : cp;
}

char32_t SimpleFold(char32_t cp)
{
    if (cp < 0x80)
        return cp >= 'A' && cp <= 'Z' ? cp + 32 : cp;
    if (cp < kTableSize)
        return FoldTable()[cp];
    return FoldOf(cp);
}

std::span<const char32_t> FoldPartners(char32_t cp)
{
    const auto& classes = FoldClasses();
    const auto it = classes.find(SimpleFold(cp));
    return it == classes.end() ? std::span<const char32_t>() : std::span<const char32_t>(it->second);
}

std::span<const std::pair<char32_t, char32_t>> FoldingPairs()
{
    static const auto pairs = [] {
        std::vector<std::pair<char32_t, char32_t>> p;
        for (char32_t cp = 0; cp <= kLastFoldingCodePoint; ++cp) {
            if (const char32_t f = SimpleFold(cp); f != cp)
                p.emplace_back(cp, f);
        }
        return p;
    }();
    return pairs;
}

bool IsRegexWord(char32_t cp)
{
    if (cp < 0x80)
        return (cp >= '0' && cp <= '9') || (cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z') || cp == '_';
    if (!InRange(cp))
        return false;
    if (cp == 0x200C || cp == 0x200D)  // the joiners
        return true;
    // Symbols that are alphabetic all the same: circled and squared letters.
    if ((cp >= 0x24B6 && cp <= 0x24E9) || (cp >= 0x1F130 && cp <= 0x1F149) || (cp >= 0x1F150 && cp <= 0x1F169) ||
        (cp >= 0x1F170 && cp <= 0x1F189))
        return true;
    return CategoryIn(cp, UTF8PROC_CATEGORY_LU, UTF8PROC_CATEGORY_LL, UTF8PROC_CATEGORY_LT, UTF8PROC_CATEGORY_LM,
                      UTF8PROC_CATEGORY_LO, UTF8PROC_CATEGORY_MN, UTF8PROC_CATEGORY_MC, UTF8PROC_CATEGORY_ME,
                      UTF8PROC_CATEGORY_ND, UTF8PROC_CATEGORY_NL, UTF8PROC_CATEGORY_PC);
}

bool IsRegexDigit(char32_t cp)
{
    if (cp < 0x80)
        return cp >= '0' && cp <= '9';
    return InRange(cp) && CategoryIn(cp, UTF8PROC_CATEGORY_ND);
}

bool IsRegexSpace(char32_t cp)
{
    switch (cp) {
    case ' ': case '\t': case '\n': case 0x0B: case '\f': case '\r':
    case 0x85: case 0xA0: case 0x1680: case 0x2028: case 0x2029: case 0x202F: case 0x205F: case 0x3000:
        return true;
    default:
        return cp >= 0x2000 && cp <= 0x200A;
    }
}

}  // namespace ostrel::unicode
