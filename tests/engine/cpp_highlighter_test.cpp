#include <gtest/gtest.h>

#include "highlighters/OstHighlighterCpp.h"
#include "support/HighlighterChecks.h"
#include "support/LexerChecks.h"
#include "support/TestSupport.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

const FreshLexer<TOstCppHighlighter> lex{cppPlain};

const FreshStateAfter<TOstCppHighlighter> stateAfter{cppPlain};

// The kind of the only token of a line.
int KindOf(const std::string& text)
{
    const LexTokens t = lex(text);
    return t.size() == 1 && t[0].text == text ? t[0].kind : -1;
}

constexpr int A = cppAsm, C = cppComment, D = cppDirective, I = cppIdentifier, K = cppKeyword,
              N = cppNumber, W = cppSpace, S = cppString, Y = cppSymbol, X = cppIllegal, Ch = cppChar,
              F = cppFloat, H = cppHex, O = cppOctal;

}  // namespace

// ---- Words -------------------------------------------------------------------

TEST(CppWords, KeywordsAreCaseSensitiveAndExact)
{
    for (const char* k : {"if", "while", "class", "reinterpret_cast", "__property", "__published", "__int64",
                          "wchar_t", "_stdcall", "__closure", "typename"})
        EXPECT_EQ(KindOf(k), K) << k;
    for (const char* w : {"If", "WHILE", "Class", "__int9", "__int6", "_1asm", "iff", "printf",
                          "reinterpret_casts", "supercalifragilisticexpialidocious"})
        EXPECT_EQ(KindOf(w), I) << w << ": digits and underscores compare exactly too";
    EXPECT_EQ(lex("x2_y \xF1"), (LexTokens{{"x2_y", I}, {" ", W}, {"\xF1", X}}))
        << "accented letters are not scanned as word characters";
}

// ---- Numbers -----------------------------------------------------------------

TEST(CppNumbers, KindsBySyntax)
{
    EXPECT_EQ(KindOf("0x1F"), H);
    EXPECT_EQ(KindOf("0xFFul"), H);
    EXPECT_EQ(KindOf("017"), O);
    EXPECT_EQ(KindOf("0"), N);
    EXPECT_EQ(KindOf("019"), X) << "8 and 9 are not octal digits";
    EXPECT_EQ(KindOf("1.5e-3"), F);
    EXPECT_EQ(KindOf("1E+10"), F);
    EXPECT_EQ(KindOf("2f"), F);
    EXPECT_EQ(KindOf("3.0L"), F);
    EXPECT_EQ(KindOf(".5"), F);
    EXPECT_EQ(KindOf("10ul"), N);
    EXPECT_EQ(KindOf("10LL"), N) << "long long is one suffix";
}

TEST(CppNumbers, MalformedNumbersEndIllegalBeforeTheFault)
{
    EXPECT_EQ(lex("10uu"), (LexTokens{{"10u", X}, {"u", I}}));
    EXPECT_EQ(lex("10lul"), (LexTokens{{"10lu", X}, {"l", I}}));
    EXPECT_EQ(lex("1.5ff"), (LexTokens{{"1.5f", X}, {"f", I}}));
    EXPECT_EQ(lex("1e5e5"), (LexTokens{{"1e5", X}, {"e5", I}}));
    EXPECT_EQ(lex("0x1.8"), (LexTokens{{"0x1", X}, {".8", F}})) << "no point in a hexadecimal number";
    EXPECT_EQ(lex("1.0lf"), (LexTokens{{"1.0l", X}, {"f", I}})) << "l and f do not mix";
    EXPECT_EQ(lex("1.5u"), (LexTokens{{"1.5", X}, {"u", I}})) << "no unsigned floats";
}

TEST(CppNumbers, WhereANumberEnds)
{
    EXPECT_EQ(lex("12abc"), (LexTokens{{"12", X}, {"abc", I}})) << "a letter right after makes it illegal";
    EXPECT_EQ(lex("1e"), (LexTokens{{"1", X}, {"e", I}})) << "an exponent needs digits";
    EXPECT_EQ(lex("1e+x"), (LexTokens{{"1e+", X}, {"x", I}}));
    EXPECT_EQ(lex("0x "), (LexTokens{{"0x", X}, {" ", W}}));
    EXPECT_EQ(lex("1-2"), (LexTokens{{"1", N}, {"-", Y}, {"2", N}}));
    EXPECT_EQ(lex("1.5-2"), (LexTokens{{"1.5", F}, {"-", Y}, {"2", N}}));
    EXPECT_EQ(lex("a[1..2]"),
              (LexTokens{{"a", I}, {"[", Y}, {"1", N}, {".", Y}, {".2", F}, {"]", Y}}));
    EXPECT_EQ(lex("3.f"), (LexTokens{{"3.f", F}}));
}

// ---- Symbols -------------------------------------------------------------------

TEST(CppSymbols, LongestOperatorFirst)
{
    EXPECT_EQ(lex("a->b"), (LexTokens{{"a", I}, {"->", Y}, {"b", I}}));
    EXPECT_EQ(lex("f(...)"), (LexTokens{{"f", I}, {"(", Y}, {"...", Y}, {")", Y}}));
    EXPECT_EQ(lex("x<<=y>>=z"), (LexTokens{{"x", I}, {"<<=", Y}, {"y", I}, {">>=", Y}, {"z", I}}));
    EXPECT_EQ(lex("a::b||!c"), (LexTokens{{"a", I}, {"::", Y}, {"b", I}, {"||", Y}, {"!", Y}, {"c", I}}));
    EXPECT_EQ(lex("i++-- -=..."), (LexTokens{{"i", I}, {"++", Y}, {"--", Y}, {" ", W}, {"-=", Y}, {"...", Y}}));
    EXPECT_EQ(lex("@$\\`\x7F"), (LexTokens{{"@", X}, {"$", X}, {"\\", X}, {"`", X}, {"\x7F", X}}));
}

// ---- Preprocessor lines -----------------------------------------------------------

TEST(CppDirectives, UpToACommentOrTheLineEnd)
{
    EXPECT_EQ(lex("  #include <x.h> // c"), (LexTokens{{"  ", W}, {"#include <x.h> ", D}, {"// c", C}}));
    EXPECT_EQ(lex("#pragma once"), (LexTokens{{"#pragma once", D}}));
    EXPECT_EQ(lex("x # y"), (LexTokens{{"x", I}, {" ", W}, {"#", X}, {" ", W}, {"y", I}}));
    EXPECT_EQ(lex("#define A /* one */ 1"), (LexTokens{{"#define A ", D}, {"/* one */", C}, {" 1", D}}))
        << "the directive goes on after an embedded comment";
    EXPECT_EQ(lex("#define A /*/ still */ 1"), (LexTokens{{"#define A ", D}, {"/*/ still */", C}, {" 1", D}}))
        << "the comment's own \"/*\" does not close it";
    EXPECT_EQ(stateAfter("#define A 1 /* one */"), cppPlain)
        << "a comment ending the line does not carry the directive to the next one";
}

TEST(CppDirectives, BackslashContinuesOnTheNextLine)
{
    TOstCppHighlighter hl;
    const auto lexed = LexLines(hl, {"#define X \\", "", "  (1 + 2) // sum", "int y;"});
    EXPECT_EQ(lexed[0].tokens, (LexTokens{{"#define X \\", D}}));
    EXPECT_EQ(lexed[0].state, cppInDirective);
    EXPECT_TRUE(lexed[1].tokens.empty());
    EXPECT_EQ(lexed[1].state, cppInDirective) << "an empty line keeps the continuation";
    EXPECT_EQ(lexed[2].tokens, (LexTokens{{"  (1 + 2) ", D}, {"// sum", C}}));
    EXPECT_EQ(lexed[2].state, cppPlain);
    EXPECT_EQ(lexed[3].tokens[0], (LexToken{"int", K}));
}

TEST(CppDirectives, CommentOpenedInADirectiveSpansLines)
{
    TOstCppHighlighter hl;
    const auto lexed = LexLines(hl, {"#if A /* open", "   still */ && B", "int"});
    EXPECT_EQ(lexed[0].tokens, (LexTokens{{"#if A ", D}, {"/* open", C}}));
    EXPECT_EQ(lexed[0].state, cppInDirectiveComment);
    EXPECT_EQ(lexed[1].tokens, (LexTokens{{"   still */", C}, {" && B", D}}));
    EXPECT_EQ(lexed[1].state, cppPlain);
    EXPECT_EQ(lexed[2].tokens, (LexTokens{{"int", K}}));
}

// ---- Strings, characters and comments ---------------------------------------------

TEST(CppStrings, EscapesAndContinuation)
{
    EXPECT_EQ(lex("\"a\\\"b\" x"), (LexTokens{{"\"a\\\"b\"", S}, {" ", W}, {"x", I}}));
    EXPECT_EQ(lex("\"a\\\\\" x"), (LexTokens{{"\"a\\\\\"", S}, {" ", W}, {"x", I}}));
    EXPECT_EQ(lex("'\\'' '\\\\' 'ab"), (LexTokens{{"'\\''", Ch}, {" ", W}, {"'\\\\'", Ch}, {" ", W}, {"'ab", Ch}}));
    EXPECT_EQ(stateAfter("\"open"), cppPlain) << "a string without a closing quote ends with the line";

    TOstCppHighlighter hl;
    const auto lexed = LexLines(hl, {"s = \"one \\", "", "two\" + x;", "\"three"});
    EXPECT_EQ(lexed[0].tokens.back(), (LexToken{"\"one \\", S}));
    EXPECT_EQ(lexed[0].state, cppInString);
    EXPECT_EQ(lexed[1].state, cppInString);
    EXPECT_EQ(lexed[2].tokens, (LexTokens{{"two\"", S}, {" ", W}, {"+", Y}, {" ", W}, {"x", I}, {";", Y}}));
    EXPECT_EQ(lexed[3].tokens, (LexTokens{{"\"three", S}}));
    EXPECT_EQ(lex("\" x", cppInString), (LexTokens{{"\"", S}, {" ", W}, {"x", I}}));
}

TEST(CppComments, BlockAndLineComments)
{
    EXPECT_EQ(lex("a /* b */ c // d"), (LexTokens{{"a", I}, {" ", W}, {"/* b */", C}, {" ", W}, {"c", I}, {" ", W}, {"// d", C}}));
    EXPECT_EQ(stateAfter("/*/"), cppInComment) << "\"/*/\" opens but does not close";
    EXPECT_EQ(lex("x */ y", cppInComment), (LexTokens{{"x */", C}, {" ", W}, {"y", I}}));
    EXPECT_EQ(lex("*/", cppInComment), (LexTokens{{"*/", C}}));
    EXPECT_TRUE(lex("", cppInComment).empty());
    EXPECT_EQ(stateAfter("", cppInComment), cppInComment);
    EXPECT_EQ(stateAfter("// a /* b"), cppPlain);
}

// ---- Assembler -----------------------------------------------------------------

TEST(CppAssembler, BlockIsDrawnAsAssemblerUpToItsBrace)
{
    EXPECT_EQ(lex("asm { mov ax, 1 } x"),
              (LexTokens{{"asm", K}, {" ", W}, {"{", Y}, {" ", W}, {"mov", A}, {" ", W}, {"ax", A}, {",", A},
                         {" ", W}, {"1", A}, {" ", W}, {"}", Y}, {" ", W}, {"x", I}}));
    EXPECT_EQ(stateAfter("asm { mov ax, 1 }"), cppPlain);

    TOstCppHighlighter hl;
    hl.StartLine("__asm { nop", 0);
    hl.NextToken();
    hl.NextToken();
    hl.NextToken();
    hl.NextToken();
    EXPECT_EQ(hl.TokenKind(), cppAsm);
    EXPECT_EQ(hl.TokenAttribute(), hl.AsmAttri);
}

TEST(CppAssembler, StatementEndsAtSemicolonAndBlocksSpanLines)
{
    EXPECT_EQ(lex("_asm mov eax, 3; x"),
              (LexTokens{{"_asm", K}, {" ", W}, {"mov", A}, {" ", W}, {"eax", A}, {",", A}, {" ", W}, {"3", A},
                         {";", Y}, {" ", W}, {"x", I}}));
    TOstCppHighlighter hl;
    const auto lexed = LexLines(hl, {"asm {", "  mov v, eax /* stored", "  later */ dec ecx", "}", "int"});
    EXPECT_EQ(lexed[0].state, cppInAsmBlock);
    EXPECT_EQ(lexed[1].tokens, (LexTokens{{"  ", W}, {"mov", A}, {" ", W}, {"v", A}, {",", A}, {" ", W}, {"eax", A},
                                          {" ", W}, {"/* stored", C}}));
    EXPECT_EQ(lexed[1].state, cppInAsmBlockComment);
    EXPECT_EQ(lexed[2].tokens, (LexTokens{{"  later */", C}, {" ", W}, {"dec", A}, {" ", W}, {"ecx", A}}));
    EXPECT_EQ(lexed[2].state, cppInAsmBlock);
    EXPECT_EQ(lexed[3].tokens, (LexTokens{{"}", Y}}));
    EXPECT_EQ(lexed[4].tokens, (LexTokens{{"int", K}}));
    EXPECT_EQ(stateAfter("asm mov ax, 1 /* c"), cppInAsmComment);
    EXPECT_EQ(stateAfter("c */ nop", cppInAsmComment), cppInAsm);
}

// ---- Class facts -------------------------------------------------------------------

TEST(CppClass, AttributesDefaultsRolesAndFacts)
{
    TOstCppHighlighter hl;
    struct Expected {
        const char* name;
        TColor foreground;
        TFontStyles style;
    };
    const Expected expected[] = {
        {"Assembler", clNone, 0}, {"Character", clNone, 0}, {"Comment", clNone, fsItalic},
        {"Float", clNone, 0}, {"Hexadecimal", clNone, 0}, {"Identifier", clNone, 0},
        {"Illegal Char", clNone, 0}, {"Number", clNone, 0}, {"Octal", clNone, 0},
        {"Preprocessor", clNone, 0}, {"Reserved Word", clNone, fsBold}, {"Space", clWindow, 0},
        {"String", clNone, 0}, {"Symbol", clNone, 0},
    };
    ASSERT_EQ(hl.AttributeCount(), 14);
    for (int i = 0; i < 14; ++i) {
        const TOstHighlighterAttributes* a = hl.AttributeAt(i);
        EXPECT_EQ(a->Name(), expected[i].name);
        EXPECT_EQ(a->Foreground(), expected[i].foreground) << a->Name();
        EXPECT_EQ(a->Style(), expected[i].style) << a->Name();
        EXPECT_EQ(a->Background(), clNone) << a->Name();
    }
    EXPECT_EQ(hl.DefaultAttribute(daString), hl.StringAttri);
    EXPECT_EQ(hl.DefaultAttribute(daWhitespace), hl.SpaceAttri);
    EXPECT_EQ(hl.DefaultAttribute(6), nullptr);
    EXPECT_STREQ(TOstCppHighlighter::LanguageTitle(), "C++");
    EXPECT_EQ(hl.DefaultFilter(), "C++ Files (*.c,*.cpp,*.h,*.hpp)|*.c;*.cpp;*.h;*.hpp");
    const TOstCharSet ident = hl.IdentifierChars();
    EXPECT_TRUE(ident['_'] && ident['7'] && ident[0xC0] && ident[0xFF]);
    EXPECT_FALSE(ident['$'] || ident[0xD7] || ident[0xF7]);
    EXPECT_FALSE(hl.SampleText().empty());
}

// ---- Properties over many inputs ------------------------------------------------------

namespace {

using Lexer = TOstCppHighlighter;
const LexerFacts kFacts = FactsOf<Lexer>(
    cppLineEnd, {&Lexer::AsmAttri, &Lexer::CommentAttri, &Lexer::DirecAttri, &Lexer::IdentifierAttri, &Lexer::KeyAttri,
                 nullptr, &Lexer::NumberAttri, &Lexer::SpaceAttri, &Lexer::StringAttri, &Lexer::SymbolAttri,
                 &Lexer::InvalidAttri, &Lexer::CharAttri, &Lexer::FloatAttri, &Lexer::HexAttri, &Lexer::OctalAttri});

const std::vector<intptr_t> kStates = {cppPlain, cppInComment, cppInAsmComment, cppInAsmBlockComment, cppInAsm,
                                       cppInAsmBlock, cppInDirectiveComment, cppInString, cppInDirective};

}  // namespace

TEST(CppProperties, GeneratedLinesAreCoveredAndRestartExactly)
{
    const std::vector<std::string> pieces = {
        "#", "#define ", "/*", "*/", "//", "\"", "'", "\\", " ", "\t", "asm", "__asm", "{", "}", ";",
        "0x", "1", "9", ".", "e", "+", "-", "f", "l", "u", "x", "abc", "if", "If", "->", "...", "@",
        "\xB9", "\r", "\n", "0", "7", "_", "<<=", "/"};
    ExpectGeneratedDocumentsConsistent(kFacts, pieces, 20031208, 300, cppPlain);
    ExpectAllBytesCovered(kFacts, kStates);
}

TEST(CppProperties, RealFilesAreCoveredAndIndependentOfLineBreaks)
{
    ExpectDataFilesConsistent(kFacts, "cpp", {".cpp"}, 3, cppPlain);
}

// A freshly inserted line's placeholder state equals cppPlain: the editor
// must not take it for the line's old end state (seed 7 once showed that).
TEST(CppProperties, IncrementalStatesEqualAFullRescanAfterRandomEdits)
{
    ExpectIncrementalStatesExact(kFacts, "cpp/form_unit.cpp", 10);
}
