#pragma once
// The VBScript lexer. No construct spans lines, so it keeps no line state.
// Keywords are compared without regard to case.

#include <array>

#include "highlighters/OstEditHighlighter.h"

namespace ostrel {

enum TOstVBScriptTokenKind : int {
    vbsComment = 0,
    vbsIdentifier = 1,  // also any character no other rule takes
    vbsKeyword = 2,
    vbsLineEnd = 3,
    vbsNumber = 4,
    vbsSpace = 5,
    vbsString = 6,      // also date literals
    vbsSymbol = 7,
    vbsUnknown = 8,     // never produced
};

class TOstVBScriptHighlighter : public TOstCustomHighlighter {
public:
    TOstVBScriptHighlighter();

    static const char* LanguageTitle();
    std::string GetLanguageTitle() const override { return LanguageTitle(); }

    TOstHighlighterAttributes* DefaultAttribute(int role) const override;
    TOstCharSet IdentifierChars() const override;
    std::string SampleText() const override;

    bool AtLineEnd() const override { return tokenKind_ == vbsLineEnd; }
    void NextToken() override;
    TOstHighlighterAttributes* TokenAttribute() const override
    {
        return kindAttributes_[static_cast<size_t>(tokenKind_)];
    }

    TOstHighlighterAttributes* CommentAttri;
    TOstHighlighterAttributes* IdentifierAttri;
    TOstHighlighterAttributes* KeyAttri;
    TOstHighlighterAttributes* NumberAttri;
    TOstHighlighterAttributes* SpaceAttri;
    TOstHighlighterAttributes* StringAttri;
    TOstHighlighterAttributes* SymbolAttri;

private:
    void take(int kind, int length);
    void word();
    void number();
    void string();
    void dateLiteral();

    std::array<TOstHighlighterAttributes*, 9> kindAttributes_{};
};

}  // namespace ostrel
