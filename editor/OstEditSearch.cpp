#include "editor/OstEditSearch.h"

#include "editor/OstEditTypes.h"
#include "platform/CodePage.h"

namespace ostrel {

namespace {

// Letters and digits of the code page: those with a case partner, the two
// lower-case letters without one, and the ASCII digits.
bool isAlphaNumeric(unsigned char c)
{
    return (c >= '0' && c <= '9') || codepage::isUpper(c) || codepage::isLower(c) || c == 0xDF ||
           c == 0xB5;
}

}  // namespace

void TOstEditSearch::SetPattern(std::string_view pattern)
{
    if (pattern != pattern_) {
        pattern_ = pattern;
        tablesBuilt_ = false;
    }
    count_ = 0;
}

void TOstEditSearch::SetOptions(TOstSearchOptions options)
{
    const bool matchCase = (options & ssoMatchCase) != 0;
    if (matchCase != matchCase_)
        tablesBuilt_ = false;
    matchCase_ = matchCase;
    wholeWord_ = (options & ssoWholeWord) != 0;
}

void TOstEditSearch::buildTables()
{
    if (pattern_.empty())
        throw EOstEditError("Pattern is empty");
    for (unsigned c = 0; c < 256; ++c) {
        const auto b = static_cast<unsigned char>(c);
        trans_[c] = matchCase_ ? b : codepage::toLower(b);
        delimiter_[c] = !isAlphaNumeric(b) && b != '_';
    }
    const std::size_t len = pattern_.size();
    shift_.fill(len + 1);
    for (std::size_t j = 1; j <= len; ++j)
        shift_[trans_[static_cast<unsigned char>(pattern_[j - 1])]] = len + 1 - j;
    const unsigned char last = trans_[static_cast<unsigned char>(pattern_[len - 1])];
    lookAt_ = len;
    for (std::size_t k = 1; k < len; ++k) {
        if (trans_[static_cast<unsigned char>(pattern_[len - 1 - k])] == last) {
            lookAt_ = k;
            break;
        }
    }
    tablesBuilt_ = true;
}

bool TOstEditSearch::standsAlone(std::string_view line, std::size_t start, std::size_t end) const
{
    const bool before = start == 0 || delimiter_[static_cast<unsigned char>(line[start - 1])];
    const bool after = end >= line.size() || delimiter_[static_cast<unsigned char>(line[end])];
    return before && after;
}

// `pos` is the 1-based position of the window's last character.
int TOstEditSearch::next(std::string_view line, std::size_t& pos) const
{
    const std::size_t len = pattern_.size();
    const unsigned char last = trans_[static_cast<unsigned char>(pattern_[len - 1])];
    auto at = [&](std::size_t p) { return trans_[static_cast<unsigned char>(line[p - 1])]; };
    while (pos <= line.size()) {
        if (at(pos) != last) {
            const unsigned char after = pos < line.size() ? at(pos + 1) : trans_[0];
            pos += shift_[after];
            continue;
        }
        const std::size_t start = pos - len;  // 0-based
        std::size_t i = 0;
        while (i < len && at(start + 1 + i) == trans_[static_cast<unsigned char>(pattern_[i])])
            ++i;
        if (i == len && (!wholeWord_ || standsAlone(line, start, pos))) {
            pos += len;
            return static_cast<int>(start + 1);
        }
        pos += lookAt_;
        if (pos <= line.size())
            pos += shift_[at(pos)] - 1;
    }
    return 0;
}

int TOstEditSearch::FindAll(std::string_view line)
{
    results_.clear();
    if (!tablesBuilt_)
        buildTables();
    std::size_t pos = pattern_.size();
    for (int found = next(line, pos); found != 0; found = next(line, pos)) {
        results_.push_back(found);
        ++count_;
    }
    return ResultCount();
}

int TOstEditSearch::Result(int index) const
{
    return index >= 0 && index < ResultCount() ? results_[static_cast<std::size_t>(index)] : 0;
}

int TOstEditSearch::Length(int index) const
{
    return index >= 0 && index < ResultCount() ? static_cast<int>(pattern_.size()) : 0;
}

std::string TOstEditSearch::Replace(std::string_view, std::string_view replacement)
{
    return std::string(replacement);
}

std::string TOstEditSearch::ReplaceResult(int, std::string_view replacement)
{
    return std::string(replacement);
}

}  // namespace ostrel
