#pragma once
// The PHP lexer: keywords, identifiers, variables (also those interpolated
// into double-quoted strings), numbers, strings, the three comment forms and
// operators. The whole file is taken as PHP; "<?php" and "?>" are ordinary
// symbols and words to it.

#include <array>

#include "highlighters/OstEditHighlighter.h"

namespace ostrel {

class TOstKeywordTable;

enum TOstPhpTokenKind : int {
    phpTkComment = 0,
    phpTkIdentifier = 1,
    phpTkKey = 2,
    phpTkNull = 3,  // end of line
    phpTkNumber = 4,
    phpTkSpace = 5,
    phpTkString = 6,
    phpTkSymbol = 7,
    phpTkUnknown = 8,  // a character PHP has no use for
    phpTkVariable = 9,
};

enum TOstPhpLineState : int {
    phpRsCode = 0,           // the initial state
    phpRsSingleQuoted = 1,   // inside a string in apostrophes
    phpRsDoubleQuoted = 2,   // inside a string in double quotes
    phpRsComment = 3,        // inside a block comment
    phpRsInterpolated = 4,   // a variable inside a double-quoted string comes next
};

class TOstPHPHighlighter : public TOstCustomHighlighter {
public:
    TOstPHPHighlighter();

    static const char* LanguageTitle();
    std::string GetLanguageTitle() const override { return LanguageTitle(); }

    TOstHighlighterAttributes* DefaultAttribute(int role) const override;
    TOstCharSet IdentifierChars() const override;
    std::string SampleText() const override;

    bool AtLineEnd() const override { return tokenKind_ == phpTkNull; }
    void NextToken() override;
    TOstHighlighterAttributes* TokenAttribute() const override
    {
        return kindAttributes_[static_cast<size_t>(tokenKind_)];
    }
    intptr_t LineState() const override { return state_; }
    void RestoreLineState(intptr_t state) override;
    void ClearLineState() override { state_ = phpRsCode; }

    // The attributes, owned by the base's list.
    TOstHighlighterAttributes* const CommentAttri;
    TOstHighlighterAttributes* const IdentifierAttri;
    TOstHighlighterAttributes* const KeyAttri;
    TOstHighlighterAttributes* const NumberAttri;
    TOstHighlighterAttributes* const SpaceAttri;
    TOstHighlighterAttributes* const StringAttri;
    TOstHighlighterAttributes* const SymbolAttri;
    TOstHighlighterAttributes* const VariableAttri;

private:
    void dispatch();
    void whitespaceRun();
    void word();
    void number();
    void variable();
    void openString(int state);
    void string();
    void interpolated();
    void bracedVariable();
    void plainVariable();
    void slash();
    void lineComment();
    void blockCommentBody();
    void blockComment();
    void symbol(int length);

    // The attribute of each token kind, in kind order.
    const std::array<TOstHighlighterAttributes*, 10> kindAttributes_;
    const TOstKeywordTable& keywords_;
    int state_ = phpRsCode;
};

}  // namespace ostrel
