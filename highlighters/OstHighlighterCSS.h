#pragma once
// The style-sheet lexer: selector text outside rule blocks, known and unknown
// property names inside them, values, numbers, "#" colours, strings and
// comments.

#include <array>

#include "highlighters/OstEditHighlighter.h"

namespace ostrel {

class TOstHashEntryList;

enum TOstCssTokenKind : int {
    cssTkComment = 0,
    cssTkProperty = 1,  // a known property name
    cssTkKey = 2,       // selector text outside rule blocks
    cssTkNull = 3,      // end of line
    cssTkSpace = 4,
    cssTkString = 5,
    cssTkSymbol = 6,
    cssTkText = 7,      // never produced by scanning
    cssTkUndefProperty = 8,
    cssTkValue = 9,
    cssTkColor = 10,
    cssTkNumber = 11,
};

enum TOstCssLineState : int {
    cssRsComment = 0,         // inside a comment; see CssCommentState
    cssRsUnused = 1,
    cssRsBlock = 2,           // inside a rule block: a property name comes
    cssRsSelector = 3,        // outside rule blocks; the initial state
    cssRsAfterSemicolon = 4,  // after ";" inside a block: a property name comes
    cssRsValue = 5,           // after ":" or ",": a value comes
};

// A comment that stays open at the end of a line must bring back the state
// it interrupted wherever it closes, so that state rides in the line state,
// above the low byte: a line inside a comment opened among the selectors
// stores CssCommentState(cssRsSelector).
constexpr intptr_t CssCommentState(int returnTo) { return cssRsComment | static_cast<intptr_t>(returnTo) << 8; }

class TOstCssHighlighter : public TOstCustomHighlighter {
public:
    TOstCssHighlighter();

    static const char* LanguageTitle();
    std::string GetLanguageTitle() const override { return LanguageTitle(); }

    TOstHighlighterAttributes* DefaultAttribute(int role) const override;
    TOstCharSet IdentifierChars() const override;
    std::string SampleText() const override;
    // Worth storing only when it differs from the class's own filter.
    bool IsFilterStored() const override;

    bool AtLineEnd() const override { return tokenKind_ == cssTkNull; }
    void NextToken() override;
    TOstHighlighterAttributes* TokenAttribute() const override
    {
        return kindAttributes_[static_cast<size_t>(tokenKind_)];
    }
    intptr_t LineState() const override;
    void RestoreLineState(intptr_t state) override;
    void ClearLineState() override;

    // The attributes, owned by the base's list.
    TOstHighlighterAttributes* const CommentAttri;
    TOstHighlighterAttributes* const PropertyAttri;
    TOstHighlighterAttributes* const KeyAttri;
    TOstHighlighterAttributes* const UndefPropertyAttri;
    TOstHighlighterAttributes* const SpaceAttri;
    TOstHighlighterAttributes* const ColourAttri;
    TOstHighlighterAttributes* const NumberAttri;
    TOstHighlighterAttributes* const StringAttri;
    TOstHighlighterAttributes* const SymbolAttri;
    TOstHighlighterAttributes* const TextAttri;
    TOstHighlighterAttributes* const ValueAttri;

private:
    void dispatch();
    void whitespaceRun();
    void selector();
    void word();
    void propertyName();
    void number();
    void colour();
    void string();
    void slash();
    void comment();
    void symbol(int newState);

    // The attribute of each token kind, in kind order.
    const std::array<TOstHighlighterAttributes*, 12> kindAttributes_;
    const TOstHashEntryList& properties_;
    int state_ = cssRsSelector;
    int commentReturn_ = cssRsSelector;  // the state an open comment interrupted
};

}  // namespace ostrel
