#pragma once
// The Perl lexer. Every construct ends with its line, so it keeps no line
// state. Keywords, word operators, pragmas and the long names of special
// variables are compared with case.

#include <array>

#include "highlighters/OstEditHighlighter.h"

namespace ostrel {

enum TOstPerlTokenKind : int {
    perlComment = 0,
    perlIdentifier = 1,
    perlKeyword = 2,
    perlLineEnd = 3,
    perlNumber = 4,
    perlOperator = 5,  // and, cmp, eq, ...
    perlPragma = 6,
    perlSpace = 7,
    perlString = 8,
    perlSymbol = 9,
    perlUnknown = 10,
    perlVariable = 11,
};

class TOstPerlHighlighter : public TOstCustomHighlighter {
public:
    TOstPerlHighlighter();

    static const char* LanguageTitle();
    std::string GetLanguageTitle() const override { return LanguageTitle(); }

    TOstHighlighterAttributes* DefaultAttribute(int role) const override;
    TOstCharSet IdentifierChars() const override;
    std::string SampleText() const override;

    bool AtLineEnd() const override { return tokenKind_ == perlLineEnd; }
    void NextToken() override;
    TOstHighlighterAttributes* TokenAttribute() const override
    {
        return kindAttributes_[static_cast<size_t>(tokenKind_)];
    }

    TOstHighlighterAttributes* CommentAttri;
    TOstHighlighterAttributes* IdentifierAttri;
    TOstHighlighterAttributes* InvalidAttri;
    TOstHighlighterAttributes* KeyAttri;
    TOstHighlighterAttributes* NumberAttri;
    TOstHighlighterAttributes* OperatorAttri;
    TOstHighlighterAttributes* PragmaAttri;
    TOstHighlighterAttributes* SpaceAttri;
    TOstHighlighterAttributes* StringAttri;
    TOstHighlighterAttributes* SymbolAttri;
    TOstHighlighterAttributes* VariableAttri;

private:
    void take(int kind, int length);
    void variableOrWord();
    void word();
    void dotOrNumber();
    void doubleQuoted();
    void singleQuoted();

    std::array<TOstHighlighterAttributes*, 12> kindAttributes_{};
};

}  // namespace ostrel
