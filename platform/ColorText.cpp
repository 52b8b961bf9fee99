#include "platform/ColorText.h"

#include <cstdint>
#include <limits>

#include "platform/CodePage.h"

namespace ostrel {

namespace {

constexpr TNamedColor kOtherColorNames[] = {
    {"clScrollBar", clScrollBar}, {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption}, {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu}, {"clWindow", clWindow}, {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText}, {"clWindowText", clWindowText}, {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder}, {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace}, {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText}, {"clBtnFace", clBtnFace}, {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText}, {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText}, {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow}, {"cl3DLight", cl3DLight}, {"clInfoText", clInfoText},
    {"clInfoBk", clInfoBk}, {"clNone", clNone}, {"clDefault", clDefault},
};

template <size_t N>
bool FindName(const TNamedColor (&table)[N], std::string_view folded, TColor& color)
{
    for (const TNamedColor& named : table) {
        if (codepage::ToUpper(named.name) == folded) {
            color = named.value;
            return true;
        }
    }
    return false;
}

int DigitValue(char c, int base)
{
    int value = 99;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

// Digits in the base, at most 32 bits of them; false for anything else.
bool ParseDigits(std::string_view digits, int base, uint64_t limit, uint64_t& value)
{
    if (digits.empty())
        return false;
    value = 0;
    for (const char c : digits) {
        const int digit = DigitValue(c, base);
        if (digit < 0)
            return false;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > limit)
            return false;
    }
    return true;
}

bool ParseNumber(std::string_view text, TColor& color)
{
    uint64_t value = 0;
    if (text.starts_with('$') || text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(text.front() == '$' ? 1 : 2);
        if (!ParseDigits(text, 16, std::numeric_limits<uint32_t>::max(), value))
            return false;
        color = static_cast<TColor>(value);
        return true;
    }
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+'))
        text.remove_prefix(1);
    const uint64_t limit = negative ? uint64_t{1} << 31 : std::numeric_limits<int32_t>::max();
    if (!ParseDigits(text, 10, limit, value))
        return false;
    color = static_cast<TColor>(negative ? 0 - value : value);
    return true;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

}  // namespace

std::string ColorToString(TColor color)
{
    for (const TNamedColor& named : kNamedColors)
        if (named.value == color)
            return named.name;
    static const char kHex[] = "0123456789ABCDEF";
    std::string text = "$";
    for (int shift = 28; shift >= 0; shift -= 4)
        text += kHex[(color >> shift) & 15];
    return text;
}

TColor StringToColor(std::string_view text)
{
    const std::string_view trimmed = Trimmed(text);
    const std::string folded = codepage::ToUpper(trimmed);
    TColor color = 0;
    if (FindName(kNamedColors, folded, color) || FindName(kOtherColorNames, folded, color) ||
        ParseNumber(trimmed, color))
        return color;
    throw EColorText("'" + std::string(text) + "' is not a valid colour value");
}

}  // namespace ostrel
