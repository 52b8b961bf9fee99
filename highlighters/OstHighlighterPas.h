#pragma once
// The Object Pascal lexer. Some words are keywords only from a dialect
// version on, only in package sources, or only inside a property declaration
// or an exports clause; the line state carries that little context.
// Keywords are compared without regard to case.

#include <array>

#include "highlighters/OstEditHighlighter.h"

namespace ostrel {

enum TOstPasTokenKind : int {
    pasAsm = 0,  // reported for the tokens of assembler code
    pasComment = 1,
    pasIdentifier = 2,
    pasKeyword = 3,
    pasLineEnd = 4,
    pasNumber = 5,
    pasSpace = 6,
    pasString = 7,
    pasSymbol = 8,
    pasIllegal = 9,  // drawn as a symbol
    pasFloat = 10,
    pasHex = 11,
    pasDirective = 12,
    pasChar = 13,
};

enum TOstPasLineState : int {
    pasInParenComment = 1,     // inside "(*"
    pasInAsmParenComment = 2,  // inside "(*" within assembler code
    pasInAsm = 3,              // after asm, up to end
    pasInBraceComment = 4,     // inside "{", a comment or a directive
    pasInAsmBraceComment = 5,  // inside "{" within assembler code
    pasInProperty = 6,         // after property, up to ";"
    pasInExports = 7,          // inside an exports clause, up to ";"
    pasPlain = 8,              // the initial state
    // Comments inside a property declaration or an exports clause, which
    // go on after them.
    pasInPropertyParenComment = 9,
    pasInExportsParenComment = 10,
    pasInPropertyBraceComment = 11,
    pasInExportsBraceComment = 12,
};

enum TDelphiVersion : int { dvDelphi1, dvDelphi2, dvDelphi3, dvDelphi4, dvDelphi5, dvDelphi6 };

class TOstPasHighlighter : public TOstCustomHighlighter {
public:
    TOstPasHighlighter();

    static const char* LanguageTitle();
    std::string GetLanguageTitle() const override { return LanguageTitle(); }

    TOstHighlighterAttributes* DefaultAttribute(int role) const override;
    TOstCharSet IdentifierChars() const override;
    std::string SampleText() const override;
    // Worth storing only when it differs from the lexer's own filter.
    bool IsFilterStored() const override;

    // The dialect version enables keywords. A version below dvDelphi3 has no
    // packages, so choosing one turns PackageSource off, and turning
    // PackageSource on raises the version to dvDelphi3. Changes notify the
    // change listeners.
    TDelphiVersion DelphiVersion() const { return version_; }
    void SetDelphiVersion(TDelphiVersion version);
    // Whether package, contains and requires are keywords.
    bool PackageSource() const { return packageSource_; }
    void SetPackageSource(bool on);

    bool AtLineEnd() const override { return tokenKind_ == pasLineEnd; }
    void NextToken() override;
    // Inside assembler code every token but comments, directives, spaces and
    // the line end is reported as pasAsm, except the asm keyword itself.
    int TokenKind() const override;
    TOstHighlighterAttributes* TokenAttribute() const override
    {
        return kindAttributes_[static_cast<size_t>(TokenKind())];
    }
    intptr_t LineState() const override { return state_; }
    void RestoreLineState(intptr_t state) override;
    void ClearLineState() override;

    TOstHighlighterAttributes* AsmAttri;
    TOstHighlighterAttributes* CommentAttri;
    TOstHighlighterAttributes* DirectiveAttri;
    TOstHighlighterAttributes* IdentifierAttri;
    TOstHighlighterAttributes* KeyAttri;
    TOstHighlighterAttributes* NumberAttri;
    TOstHighlighterAttributes* FloatAttri;
    TOstHighlighterAttributes* HexAttri;
    TOstHighlighterAttributes* SpaceAttri;
    TOstHighlighterAttributes* StringAttri;
    TOstHighlighterAttributes* CharAttri;
    TOstHighlighterAttributes* SymbolAttri;

private:
    void dispatch();
    void braceComment();
    void parenComment();
    int commentOpened(bool brace) const;
    void commentClosed();
    void paren();
    void word();
    int resolveKeyword(int code);
    void number();
    void take(int kind, int length);
    void takeWhile(int kind, const std::array<bool, 256>& takes);
    void string();

    std::array<TOstHighlighterAttributes*, 14> kindAttributes_{};
    int state_ = pasPlain;
    bool asmStart_ = false;  // the current token opened assembler code
    TDelphiVersion version_ = dvDelphi6;
    bool packageSource_ = true;
};

}  // namespace ostrel
