#pragma once
// The text form of a colour, as the settings store it: the name of one of the
// twenty named colours when the value is exactly that colour, otherwise "$"
// and eight upper-case hexadecimal digits of 0x00BBGGRR. Reading also takes
// the system colour names, clNone and clDefault, and numbers in "$"
// hexadecimal, "0x" hexadecimal or decimal.

#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/OstColors.h"

namespace ostrel {

class EColorText : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

std::string ColorToString(TColor color);

// Names compare without regard to case; surrounding blanks are ignored.
// Throws EColorText for anything else.
TColor StringToColor(std::string_view text);

}  // namespace ostrel
