#pragma once
// The main window's eleven highlighter instances, shared by every document.
// Which languages there are, and which file chooses which, is the language
// table's business (highlighters/OstHighlighterFactory.h).

#include <QString>
#include <array>
#include <memory>

#include "highlighters/OstHighlighterFactory.h"

namespace ostrel {

class THighlighterSet {
public:
    // Makes every instance whose lexer exists and gives it the program's
    // colours and styles; the others stay missing.
    THighlighterSet();
    ~THighlighterSet();
    THighlighterSet(const THighlighterSet&) = delete;
    THighlighterSet& operator=(const THighlighterSet&) = delete;

    // The instance, or none for hlNone and for a lexer that does not exist.
    TOstCustomHighlighter* Get(THighlighterId id) const;
    // The id of an instance of this set, hlNone for none or a stranger.
    THighlighterId IdOf(const TOstCustomHighlighter* highlighter) const;

    // The language the table chooses for a path, or hlNone.
    static THighlighterId IdForFile(const QString& path);

private:
    std::array<std::unique_ptr<TOstCustomHighlighter>, kHighlighterCount> instances_;
};

}  // namespace ostrel
