#pragma once
// The Java lexer: documentation comments ("/**") apart from ordinary ones,
// case-sensitive keywords, strings and character literals that end with the
// line.

#include <array>

#include "highlighters/OstEditHighlighter.h"

namespace ostrel {

enum TOstJavaTokenKind : int {
    javaComment = 0,
    javaDocComment = 1,
    javaIdentifier = 2,
    javaInvalid = 3,  // "@" and "#"
    javaKeyword = 4,
    javaLineEnd = 5,
    javaNumber = 6,
    javaSpace = 7,
    javaString = 8,   // also character literals
    javaSymbol = 9,
    javaUnknown = 10,
};

enum TOstJavaLineState : int {
    javaInComment = 1,     // inside "/*"
    javaInDocComment = 2,  // inside "/**"
    javaPlain = 3,         // the initial state
};

class TOstJavaHighlighter : public TOstCustomHighlighter {
public:
    TOstJavaHighlighter();

    static const char* LanguageTitle();
    std::string GetLanguageTitle() const override { return LanguageTitle(); }

    TOstHighlighterAttributes* DefaultAttribute(int role) const override;
    TOstCharSet IdentifierChars() const override;
    std::string SampleText() const override;

    bool AtLineEnd() const override { return tokenKind_ == javaLineEnd; }
    void NextToken() override;
    TOstHighlighterAttributes* TokenAttribute() const override
    {
        return kindAttributes_[static_cast<size_t>(tokenKind_)];
    }
    intptr_t LineState() const override { return state_; }
    void RestoreLineState(intptr_t state) override;
    void ClearLineState() override;

    TOstHighlighterAttributes* CommentAttri;
    TOstHighlighterAttributes* DocumentAttri;
    TOstHighlighterAttributes* IdentifierAttri;
    TOstHighlighterAttributes* InvalidAttri;
    TOstHighlighterAttributes* KeyAttri;
    TOstHighlighterAttributes* NumberAttri;
    TOstHighlighterAttributes* SpaceAttri;
    TOstHighlighterAttributes* StringAttri;
    TOstHighlighterAttributes* SymbolAttri;

private:
    void dispatch();
    void slash();
    void comment();
    void word();
    void number();
    void quoted(unsigned char quote);
    void take(int kind, int length);

    std::array<TOstHighlighterAttributes*, 11> kindAttributes_{};
    int state_ = javaPlain;
};

}  // namespace ostrel
