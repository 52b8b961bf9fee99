#pragma once
// Small types and routines the print units share: the header and footer
// alignment and frame kinds, the roman page numbers and the search for the
// positions where a too long printed line is broken into rows.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/OstLineCells.h"

namespace ostrel {

enum TAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

enum TFrameType : uint8_t { ftLine = 1, ftBox = 2, ftShaded = 4 };
using TFrameTypes = uint8_t;  // a set of TFrameType bits

enum TUnitSystem { usMM = 0, usCM = 1, usInch = 2, muThousandthsOfInches = 3 };

// One break of a printed line: the 1-based position of the last character
// of a row.
struct TWrapPos {
    int Index = 0;
    friend bool operator==(const TWrapPos&, const TWrapPos&) = default;
};

// The subtractive roman numeral of n; empty for 0 and negative numbers.
std::string ToRomanNumeral(int n);

// Finds where `line` is broken so that no row is longer than maxCol
// characters, each row ending just after its last break character. Appends
// the breaks to `breaks` and succeeds; when some row has no break character
// it takes back what it appended and fails.
bool FindWrapBreaks(std::string_view line, std::string_view breakChars, int maxCol,
                    std::vector<TWrapPos>& breaks);

// The same for a line of characters of any width (UTF-8): rows of at most
// maxCol cells; each break is the byte where the next row starts.
bool FindCellWrapBreaks(const TOstLineCells& cells, std::string_view breakChars, int maxCol,
                        std::vector<TWrapPos>& breaks);
// Rows cut at the last character that still fits in maxCol cells; a
// character wider than a row gets a row of its own.
void CutCellRows(const TOstLineCells& cells, int maxCol, std::vector<TWrapPos>& breaks);

}  // namespace ostrel
