#pragma once
// A seeded random session for the editor's key script: a document, editor
// options and a tab width, and lines of keys, typed text, caret moves,
// selections and commands. The same session runs in an editor and through
// ostrel-cli keys.

#include <random>
#include <string>
#include <vector>

#include "editor/OstEditTypes.h"

namespace ostrel::test {

class RandomKeyScript {
public:
    RandomKeyScript(unsigned seed, bool trimming);

    // The options as ostrel-cli keys --options takes them.
    std::string optionList() const;
    TOstEditorOptions options() const { return options_; }
    int tabWidth() const { return tabWidth_; }
    const std::string& document() const { return document_; }
    const std::vector<std::string>& lines() const { return lines_; }

private:
    int pick(int n);
    std::string randomDocument();
    std::string randomLine();

    std::mt19937 rng_;
    TOstEditorOptions options_;
    int tabWidth_ = 8;
    std::string document_;
    std::vector<std::string> lines_;
};

}  // namespace ostrel::test
