#include "support/RegexPerlChecks.h"

#include <cstdlib>
#include <sstream>

#include "support/TestSupport.h"

namespace ostrel::test {

std::string ToHex(const std::string& bytes)
{
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string AllMatchSlots(TOstRegex& re, const std::string& subject)
{
    std::string out;
    for (bool found = re.Exec(subject); found; found = re.ExecNext()) {
        if (!out.empty())
            out += ';';
        for (int slot = 0; slot < TOstRegex::kSlotCount; ++slot) {
            if (slot > 0)
                out += ' ';
            out += std::to_string(re.MatchPos(slot)) + ":" + std::to_string(re.MatchLen(slot));
        }
    }
    return out;
}

std::string WholeMatchesOf(const std::string& matches)
{
    std::string out;
    std::size_t at = 0;
    while (at < matches.size()) {
        const std::size_t end = std::min(matches.find(';', at), matches.size());
        out += matches.substr(at, matches.find(' ', at) - at) + ";";
        at = end + 1;
    }
    return out;
}

std::vector<std::string> RunPerl(const std::string& script, const std::string& input)
{
    TempDir dir;
    WriteFile(dir / "cases.txt", input);
    WriteFile(dir / "match.pl", script);
    const std::string cmd = "perl '" + (dir / "match.pl").string() + "' < '" + (dir / "cases.txt").string() +
                            "' > '" + (dir / "out.txt").string() + "'";
    if (std::system(cmd.c_str()) != 0)
        return {};
    std::istringstream out(ReadFile(dir / "out.txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(out, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace ostrel::test
