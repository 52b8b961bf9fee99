#pragma once
// Pieces of the differential tests of the regular-expression engine against
// Perl: the common form of a list of matches, and one Perl process for all
// the cases.

#include <string>
#include <vector>

#include "editor/OstRegex.h"

namespace ostrel::test {

std::string ToHex(const std::string& bytes);

// Every match from Exec and then ExecNext: "POS:LEN" for each of the 15
// slots, separated by blanks, the matches by ';'.
std::string AllMatchSlots(TOstRegex& re, const std::string& subject);

// Only slot 0 of every match of such a list.
std::string WholeMatchesOf(const std::string& matches);

// Runs a Perl script over the input lines (one process) and returns its
// output lines; empty when Perl failed.
std::vector<std::string> RunPerl(const std::string& script, const std::string& input);

}  // namespace ostrel::test
