#include "editor/OstEditRegexSearch.h"

namespace ostrel {

void TOstEditRegexSearch::SetOptions(TOstSearchOptions options)
{
    regex_.SetModifier(rmI, (options & ssoMatchCase) == 0);
}

int TOstEditRegexSearch::FindAll(std::string_view line)
{
    positions_.clear();
    lengths_.clear();
    line_.assign(line.data(), line.size());
    for (bool found = regex_.Exec(line_); found; found = regex_.ExecNext()) {
        positions_.push_back(static_cast<int>(regex_.MatchPos(0)));
        lengths_.push_back(static_cast<int>(regex_.MatchLen(0)));
    }
    return ResultCount();
}

int TOstEditRegexSearch::Result(int index) const
{
    return validIndex(index) ? positions_[static_cast<std::size_t>(index)] : 0;
}

int TOstEditRegexSearch::Length(int index) const
{
    return validIndex(index) ? lengths_[static_cast<std::size_t>(index)] : 0;
}

// Matching the expression again from the match's own start finds the same
// match, with the groups it had in its line.
std::string TOstEditRegexSearch::ReplaceResult(int index, std::string_view replacement)
{
    if (!validIndex(index))
        return std::string(replacement);
    if (!regex_.HasInput() || regex_.InputString() != line_)
        regex_.Exec(line_);
    if (!regex_.ExecFrom(positions_[static_cast<std::size_t>(index)]))
        return std::string(replacement);  // the options changed since FindAll
    return regex_.Substitute(replacement);
}

// Expanding over the matched text alone would lose the text around it (so
// "\Bx" would not match again) and could find further, empty matches in it
// (so "x*" would insert the replacement twice); a match of the last FindAll
// with this text is expanded in its line instead.
std::string TOstEditRegexSearch::Replace(std::string_view matched, std::string_view replacement)
{
    for (int i = 0; i < ResultCount(); ++i) {
        const auto at = static_cast<std::size_t>(positions_[static_cast<std::size_t>(i)] - 1);
        if (std::string_view(line_).substr(at, static_cast<std::size_t>(Length(i))) == matched)
            return ReplaceResult(i, replacement);
    }
    return regex_.Replace(matched, replacement, true);
}

}  // namespace ostrel
