#pragma once
// The JavaScript lexer: reserved words, the names of the browser's objects,
// properties and methods (non-reserved keywords), event-handler names,
// numbers, strings, comments and operators. Only block comments continue
// from one line to the next; there are no regular-expression literals.

#include <array>

#include "highlighters/OstEditHighlighter.h"

namespace ostrel {

class TOstKeywordTable;

enum TOstJsTokenKind : int {
    jsTkComment = 0,
    jsTkIdentifier = 1,
    jsTkKey = 2,  // reserved word
    jsTkNull = 3,  // end of line
    jsTkNumber = 4,
    jsTkSpace = 5,
    jsTkString = 6,
    jsTkSymbol = 7,
    jsTkUnknown = 8,  // a character JavaScript has no use for
    jsTkNonReservedKey = 9,  // a name of the browser's object model
    jsTkEvent = 10,  // an event-handler name
};

enum TOstJsLineState : int {
    jsRsCode = 0,     // the initial state
    jsRsComment = 1,  // inside a block comment
};

class TOstJScriptHighlighter : public TOstCustomHighlighter {
public:
    TOstJScriptHighlighter();

    static const char* LanguageTitle();
    std::string GetLanguageTitle() const override { return LanguageTitle(); }

    TOstHighlighterAttributes* DefaultAttribute(int role) const override;
    TOstCharSet IdentifierChars() const override;
    std::string SampleText() const override;

    bool AtLineEnd() const override { return tokenKind_ == jsTkNull; }
    void NextToken() override;
    TOstHighlighterAttributes* TokenAttribute() const override
    {
        return kindAttributes_[static_cast<size_t>(tokenKind_)];
    }
    intptr_t LineState() const override { return state_; }
    void RestoreLineState(intptr_t state) override { state_ = state == jsRsComment ? jsRsComment : jsRsCode; }
    void ClearLineState() override { state_ = jsRsCode; }

    // The attributes, owned by the base's list.
    TOstHighlighterAttributes* const CommentAttri;
    TOstHighlighterAttributes* const IdentifierAttri;
    TOstHighlighterAttributes* const KeyAttri;
    TOstHighlighterAttributes* const NonReservedKeyAttri;
    TOstHighlighterAttributes* const EventAttri;
    TOstHighlighterAttributes* const NumberAttri;
    TOstHighlighterAttributes* const SpaceAttri;
    TOstHighlighterAttributes* const StringAttri;
    TOstHighlighterAttributes* const SymbolAttri;

private:
    void dispatch();
    void whitespaceRun();
    void word();
    void number();
    void string();
    void slash();
    void blockCommentBody();
    void blockComment();
    void symbol(int length);

    // The attribute of each token kind, in kind order.
    const std::array<TOstHighlighterAttributes*, 11> kindAttributes_;
    const TOstKeywordTable& keywords_;
    int state_ = jsRsCode;
};

}  // namespace ostrel
