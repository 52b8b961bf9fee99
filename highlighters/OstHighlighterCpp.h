#pragma once
// The C and C++ lexer, with the vendor extensions of a Windows compiler:
// calling-convention keywords, __property, __published and inline assembler
// statements and blocks. Keywords are compared with case.

#include <array>

#include "highlighters/OstEditHighlighter.h"

namespace ostrel {

enum TOstCppTokenKind : int {
    cppAsm = 0,  // reported for the tokens of assembler code
    cppComment = 1,
    cppDirective = 2,
    cppIdentifier = 3,
    cppKeyword = 4,
    cppLineEnd = 5,
    cppNumber = 6,
    cppSpace = 7,
    cppString = 8,
    cppSymbol = 9,
    cppIllegal = 10,
    cppChar = 11,
    cppFloat = 12,
    cppHex = 13,
    cppOctal = 14,
};

enum TOstCppLineState : int {
    cppPlain = 0,
    cppInComment = 1,
    cppInAsmComment = 2,         // a block comment within an assembler statement
    cppInAsmBlockComment = 3,    // a block comment within an assembler block
    cppInAsm = 4,                // after asm, up to ";"
    cppInAsmBlock = 5,           // after asm and "{", up to "}"
    cppInDirectiveComment = 7,   // a block comment that began in a preprocessor line
    cppInString = 10,            // a string continued with a backslash
    cppInDirective = 11,         // a preprocessor line continued on the next line
};

class TOstCppHighlighter : public TOstCustomHighlighter {
public:
    TOstCppHighlighter();

    static const char* LanguageTitle();
    std::string GetLanguageTitle() const override { return LanguageTitle(); }

    TOstHighlighterAttributes* DefaultAttribute(int role) const override;
    TOstCharSet IdentifierChars() const override;
    std::string SampleText() const override;

    bool AtLineEnd() const override { return tokenKind_ == cppLineEnd; }
    void NextToken() override;
    void StartLine(std::string_view line, int lineIndex) override;
    // Inside assembler code every token but comments, spaces and the line
    // end is reported as cppAsm, except the one that opened the code.
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
    TOstHighlighterAttributes* IdentifierAttri;
    TOstHighlighterAttributes* InvalidAttri;
    TOstHighlighterAttributes* KeyAttri;
    TOstHighlighterAttributes* NumberAttri;
    TOstHighlighterAttributes* CharAttri;
    TOstHighlighterAttributes* FloatAttri;
    TOstHighlighterAttributes* HexAttri;
    TOstHighlighterAttributes* OctalAttri;
    TOstHighlighterAttributes* SpaceAttri;
    TOstHighlighterAttributes* StringAttri;
    TOstHighlighterAttributes* SymbolAttri;
    TOstHighlighterAttributes* DirecAttri;

private:
    void dispatch();
    void blockComment();
    void commentClosed();
    void slash();
    void directiveOrIllegal();
    void directiveBody();
    void quoted(unsigned char quote, int kind, bool mayContinue);
    void stringContinued();
    void directiveContinued();
    void word();
    void number();
    void dot();
    void symbol();
    void illegal();

    std::array<TOstHighlighterAttributes*, 15> kindAttributes_{};
    int state_ = cppPlain;
    bool asmStart_ = false;  // the current token opened assembler code
    int firstNonBlank_ = -1;  // of the current line; -1 until a "#" asks
};

}  // namespace ostrel
