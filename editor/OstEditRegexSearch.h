#pragma once
// The regular-expression search engine: TOstRegex behind the editor's
// search-engine interface.

#include <string>
#include <string_view>
#include <vector>

#include "editor/OstEditSearch.h"
#include "editor/OstRegex.h"

namespace ostrel {

class TOstEditRegexSearch : public TOstEditSearchCustom {
public:
    std::string Pattern() const override { return regex_.Expression(); }
    void SetPattern(std::string_view pattern) override { regex_.SetExpression(pattern); }
    // Ignores case unless ssoMatchCase; ssoWholeWord has no meaning here.
    void SetOptions(TOstSearchOptions options) override;
    // UTF-8 mode for the UTF family, the code page's case otherwise.
    void SetEncoding(TOstEncoding encoding) override { regex_.SetEncoding(encoding); }

    // Raises EOstRegex for an invalid pattern.
    int FindAll(std::string_view line) override;
    int ResultCount() const override { return static_cast<int>(positions_.size()); }
    int Result(int index) const override;
    int Length(int index) const override;

    // The replacement with "$1", "${1}", "$&" and "\$" expanded for the match.
    std::string Replace(std::string_view matched, std::string_view replacement) override;
    std::string ReplaceResult(int index, std::string_view replacement) override;

    TOstRegex& Regex() { return regex_; }

private:
    bool validIndex(int index) const { return index >= 0 && index < ResultCount(); }

    TOstRegex regex_;
    std::string line_;  // the line of the last FindAll
    std::vector<int> positions_;
    std::vector<int> lengths_;
};

}  // namespace ostrel
