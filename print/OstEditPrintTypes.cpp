#include "print/OstEditPrintTypes.h"

namespace ostrel {

std::string ToRomanNumeral(int n)
{
    struct Digit {
        int value;
        const char* letters;
    };
    static constexpr Digit kDigits[] = {
        {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
        {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"},
    };
    std::string result;
    for (const Digit& digit : kDigits) {
        while (n >= digit.value) {
            result += digit.letters;
            n -= digit.value;
        }
    }
    return result;
}

bool FindWrapBreaks(std::string_view line, std::string_view breakChars, int maxCol,
                    std::vector<TWrapPos>& breaks)
{
    const int length = static_cast<int>(line.size());
    if (length <= maxCol)
        return true;
    if (maxCol < 1)
        return false;
    const size_t firstAdded = breaks.size();
    int rowStart = 0;
    int candidate = 0;  // 0: no break character in the current row yet
    for (int i = 1; i <= length; ++i) {
        if (breakChars.find(line[static_cast<size_t>(i - 1)]) != std::string_view::npos)
            candidate = i;
        if (i - rowStart != maxCol && i != length)
            continue;
        if (candidate == 0) {
            breaks.resize(firstAdded);
            return false;
        }
        breaks.push_back({candidate});
        rowStart = candidate;
        candidate = 0;
        if (length - rowStart <= maxCol || i == length)
            return true;
    }
    return true;
}

bool FindCellWrapBreaks(const TOstLineCells& cells, std::string_view breakChars, int maxCol,
                        std::vector<TWrapPos>& breaks)
{
    const int width = cells.Width();
    if (width <= maxCol)
        return true;
    if (maxCol < 1)
        return false;
    const std::string& line = cells.Expanded();
    const size_t firstAdded = breaks.size();
    int rowStart = 0;
    int candidate = -1;  // the cell after the row's last break character
    for (int c = 0; c < width;) {
        const int end = cells.CharEnd(c);
        if (end - rowStart > maxCol) {
            // The character goes to the next row, which starts after the
            // last break character; it is looked at again there.
            if (candidate < 0) {
                breaks.resize(firstAdded);
                return false;
            }
            breaks.push_back({static_cast<int>(cells.ByteOfCell(candidate))});
            rowStart = candidate;
            candidate = -1;
            if (width - rowStart <= maxCol)
                return true;
            continue;
        }
        // Break characters are ASCII: only a character's first byte can be one.
        if (breakChars.find(line[cells.ByteOfCell(c)]) != std::string_view::npos)
            candidate = end;
        c = end;
    }
    return true;
}

void CutCellRows(const TOstLineCells& cells, int maxCol, std::vector<TWrapPos>& breaks)
{
    int rowStart = 0;
    for (int c = 0; c < cells.Width();) {
        const int end = cells.CharEnd(c);
        if (end - rowStart > maxCol && c > rowStart) {
            breaks.push_back({static_cast<int>(cells.ByteOfCell(c))});
            rowStart = c;
        }
        c = end;
    }
}

}  // namespace ostrel
