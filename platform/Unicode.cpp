#include "platform/Unicode.h"

#include <utf8proc.h>

#include <array>
#include <cstdint>

namespace ostrel::unicode {

namespace {

int CellsOf(char32_t cp)
{
    switch (utf8proc_category(static_cast<utf8proc_int32_t>(cp))) {
    case UTF8PROC_CATEGORY_MN:
    case UTF8PROC_CATEGORY_ME:
    case UTF8PROC_CATEGORY_MC:
        return 0;
    default:
        break;
    }
    if (cp == 0x200D || (cp >= 0xFE00 && cp <= 0xFE0F) || (cp >= 0xE0100 && cp <= 0xE01EF))
        return 0;
    return utf8proc_charwidth(static_cast<utf8proc_int32_t>(cp)) >= 2 ? 2 : 1;
}

// Characters of one and two UTF-8 bytes (Polish letters among them) are
// looked up rather than asked about.
constexpr char32_t kTableSize = 0x800;

const std::array<uint8_t, kTableSize>& SmallTable()
{
    static const std::array<uint8_t, kTableSize> table = [] {
        std::array<uint8_t, kTableSize> t{};
        for (char32_t cp = 0; cp < kTableSize; ++cp)
            t[cp] = static_cast<uint8_t>(cp < 0x80 ? 1 : CellsOf(cp));
        return t;
    }();
    return table;
}

}  // namespace

int Cells(char32_t cp)
{
    if (cp < 0x80)
        return 1;
    if (cp < kTableSize)
        return SmallTable()[cp];
    return CellsOf(cp);
}

bool IsWordCharacter(char32_t cp)
{
    if (cp < 0x80)
        return (cp >= '0' && cp <= '9') || (cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z') || cp == '_';
    switch (utf8proc_category(static_cast<utf8proc_int32_t>(cp))) {
    case UTF8PROC_CATEGORY_LU:
    case UTF8PROC_CATEGORY_LL:
    case UTF8PROC_CATEGORY_LT:
    case UTF8PROC_CATEGORY_LM:
    case UTF8PROC_CATEGORY_LO:
    case UTF8PROC_CATEGORY_ND:
    case UTF8PROC_CATEGORY_NL:
    case UTF8PROC_CATEGORY_NO:
    case UTF8PROC_CATEGORY_MN:
    case UTF8PROC_CATEGORY_MC:
    case UTF8PROC_CATEGORY_ME:
        return true;
    default:
        return false;
    }
}

}  // namespace ostrel::unicode
