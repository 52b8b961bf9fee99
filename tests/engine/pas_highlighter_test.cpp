#include <gtest/gtest.h>

#include "highlighters/OstHighlighterPas.h"
#include "support/HighlighterChecks.h"
#include "support/LexerChecks.h"
#include "support/TestSupport.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

// Pascal's lexer also takes the dialect's version.
LexTokens Lex(const std::string& line, intptr_t state = pasPlain, TDelphiVersion version = dvDelphi6)
{
    TOstPasHighlighter hl;
    hl.SetDelphiVersion(version);
    return LexLine(hl, line, state);
}

const FreshStateAfter<TOstPasHighlighter> stateAfter{pasPlain};

int KindOf(const std::string& word, intptr_t state = pasPlain, TDelphiVersion version = dvDelphi6)
{
    const LexTokens t = Lex(word, state, version);
    return t.size() == 1 && t[0].text == word ? t[0].kind : -1;
}

constexpr int A = pasAsm, C = pasComment, I = pasIdentifier, K = pasKeyword, N = pasNumber, W = pasSpace,
              S = pasString, Y = pasSymbol, X = pasIllegal, F = pasFloat, H = pasHex, D = pasDirective,
              Ch = pasChar;

}  // namespace

// ---- Keywords ------------------------------------------------------------------

TEST(PasKeywords, CaseIgnoredButDigitsAndUnderscoresCount)
{
    for (const char* k : {"BEGIN", "begin", "Begin", "initialization", "RESOURCESTRING", "xor", "On"})
        EXPECT_EQ(KindOf(k), K) << k;
    for (const char* w : {"Begin1", "End_", "Begins", "Beg", "x", "_begin", "WriteLn", "Integer",
                          "Implementationsection"})
        EXPECT_EQ(KindOf(w), I) << w;
    EXPECT_EQ(Lex("a1_b2"), (LexTokens{{"a1_b2", I}}));
}

TEST(PasKeywords, DialectVersionEnablesKeywords)
{
    EXPECT_EQ(KindOf("stdcall", pasPlain, dvDelphi1), I);
    EXPECT_EQ(KindOf("stdcall", pasPlain, dvDelphi2), K);
    EXPECT_EQ(KindOf("finalization", pasPlain, dvDelphi1), I);
    EXPECT_EQ(KindOf("safecall", pasPlain, dvDelphi2), I);
    EXPECT_EQ(KindOf("Resourcestring", pasPlain, dvDelphi3), K);
    EXPECT_EQ(KindOf("overload", pasPlain, dvDelphi3), I);
    EXPECT_EQ(KindOf("reintroduce", pasPlain, dvDelphi4), K);
    EXPECT_EQ(KindOf("platform", pasPlain, dvDelphi5), I);
    EXPECT_EQ(KindOf("deprecated", pasPlain, dvDelphi6), K);
    EXPECT_EQ(Lex("a//b", pasPlain, dvDelphi1), (LexTokens{{"a", I}, {"/", Y}, {"/", Y}, {"b", I}}));
    EXPECT_EQ(Lex("a//b", pasPlain, dvDelphi2), (LexTokens{{"a", I}, {"//b", C}}));
}

TEST(PasKeywords, PackageWordsFollowPackageSource)
{
    TOstPasHighlighter hl;
    int notified = 0;
    hl.AddChangeListener(this, [&](TOstHighlighterAttributes*) { ++notified; });
    EXPECT_TRUE(hl.PackageSource());
    EXPECT_EQ(LexLine(hl, "requires", pasPlain), (LexTokens{{"requires", K}}));
    hl.SetDelphiVersion(dvDelphi2);
    EXPECT_FALSE(hl.PackageSource()) << "no packages before version 3";
    EXPECT_EQ(LexLine(hl, "contains", pasPlain), (LexTokens{{"contains", I}}));
    hl.SetPackageSource(true);
    EXPECT_EQ(hl.DelphiVersion(), dvDelphi3);
    EXPECT_EQ(LexLine(hl, "package", pasPlain), (LexTokens{{"package", K}}));
    EXPECT_EQ(notified, 2);
    hl.SetPackageSource(true);
    hl.SetDelphiVersion(dvDelphi3);
    EXPECT_EQ(notified, 2) << "setting the same value notifies nobody";
    hl.SetDelphiVersion(dvDelphi5);
    EXPECT_TRUE(hl.PackageSource());
    hl.RemoveChangeListener(this);
}

TEST(PasKeywords, PropertyAndExportsWordsDependOnTheState)
{
    EXPECT_EQ(KindOf("read"), I);
    EXPECT_EQ(Lex("property X: Integer read FX; read"),
              (LexTokens{{"property", K}, {" ", W}, {"X", I}, {":", Y}, {" ", W}, {"Integer", I}, {" ", W},
                         {"read", K}, {" ", W}, {"FX", I}, {";", Y}, {" ", W}, {"read", I}}));
    EXPECT_EQ(stateAfter("property Items[Index: Integer]: string"), pasInProperty);
    EXPECT_EQ(KindOf("index", pasInProperty), K);
    EXPECT_EQ(KindOf("readonly", pasInProperty, dvDelphi2), I);
    EXPECT_EQ(KindOf("readonly", pasInProperty, dvDelphi3), K);
    EXPECT_EQ(KindOf("implements", pasInProperty, dvDelphi3), I);
    EXPECT_EQ(KindOf("implements", pasInProperty, dvDelphi4), K);
    EXPECT_EQ(KindOf("name", pasInProperty), I);
    EXPECT_EQ(Lex("exports F index 1 name 'A';"),
              (LexTokens{{"exports", K}, {" ", W}, {"F", I}, {" ", W}, {"index", K}, {" ", W}, {"1", N},
                         {" ", W}, {"name", K}, {" ", W}, {"'A'", S}, {";", Y}}));
    EXPECT_EQ(stateAfter("exports F,"), pasInExports) << "an exports clause goes on over lines";
}

TEST(PasKeywords, CommentsKeepThePropertyAndExportsContext)
{
    EXPECT_EQ(Lex("property X: Integer { why } read FX (* and *) write SetX;"),
              (LexTokens{{"property", K}, {" ", W}, {"X", I}, {":", Y}, {" ", W}, {"Integer", I}, {" ", W},
                         {"{ why }", C}, {" ", W}, {"read", K}, {" ", W}, {"FX", I}, {" ", W}, {"(* and *)", C},
                         {" ", W}, {"write", K}, {" ", W}, {"SetX", I}, {";", Y}}));
    TOstPasHighlighter hl;
    const auto lexed = LexLines(hl, {"exports", "  F index 1, { a comment", "  over lines }", "  G name 'g';", "name"});
    EXPECT_EQ(lexed[1].state, pasInExportsBraceComment);
    EXPECT_EQ(lexed[2].state, pasInExports);
    EXPECT_EQ(lexed[3].tokens[3], (LexToken{"name", K}));
    EXPECT_EQ(lexed[4].tokens, (LexTokens{{"name", I}}));
    EXPECT_EQ(stateAfter("property P (* open"), pasInPropertyParenComment);
    EXPECT_EQ(stateAfter("*) stored", pasInPropertyParenComment), pasInProperty);
    EXPECT_EQ(stateAfter("{$R+}", pasInExports), pasInExports);
}

// ---- Comments and directives -----------------------------------------------------

TEST(PasComments, BracesParenthesesAndDirectives)
{
    EXPECT_EQ(Lex("{$R+} { text } x"), (LexTokens{{"{$R+}", D}, {" ", W}, {"{ text }", C}, {" ", W}, {"x", I}}));
    EXPECT_EQ(Lex("(* a *) (*) still"), (LexTokens{{"(* a *)", C}, {" ", W}, {"(*) still", C}}));
    EXPECT_EQ(Lex("(**)x"), (LexTokens{{"(**)", C}, {"x", I}}));
    EXPECT_EQ(Lex("(.a.)"), (LexTokens{{"(.", Y}, {"a", I}, {".)", Y}}));

    TOstPasHighlighter hl;
    const auto lexed = LexLines(hl, {"x { open", "", "begin } end", "(* two", "lines *) y"});
    EXPECT_EQ(lexed[0].state, pasInBraceComment);
    EXPECT_TRUE(lexed[1].tokens.empty());
    EXPECT_EQ(lexed[1].state, pasInBraceComment);
    EXPECT_EQ(lexed[2].tokens, (LexTokens{{"begin }", C}, {" ", W}, {"end", K}}));
    EXPECT_EQ(lexed[3].state, pasInParenComment);
    EXPECT_EQ(lexed[4].tokens, (LexTokens{{"lines *)", C}, {" ", W}, {"y", I}}));
    EXPECT_EQ(lexed[4].state, pasPlain);
}

// ---- Literals and symbols ----------------------------------------------------------

TEST(PasLiterals, StringsCharactersAndNumbers)
{
    EXPECT_EQ(Lex("'It''s' 'open"), (LexTokens{{"'It''s'", S}, {" ", W}, {"'open", S}}));
    EXPECT_EQ(stateAfter("'open"), pasPlain) << "strings end with the line";
    EXPECT_EQ(Lex("#13#10#$0D"), (LexTokens{{"#13", Ch}, {"#10", Ch}, {"#$0D", Ch}}));
    EXPECT_EQ(Lex("$FF $"), (LexTokens{{"$FF", H}, {" ", W}, {"$", H}}));
    EXPECT_EQ(Lex("1.5E-3 2e+4 7"), (LexTokens{{"1.5E-3", F}, {" ", W}, {"2e+4", F}, {" ", W}, {"7", N}}));
    EXPECT_EQ(Lex("1..10"), (LexTokens{{"1", N}, {"..", Y}, {"10", N}}));
    EXPECT_EQ(Lex("1-2"), (LexTokens{{"1", N}, {"-", Y}, {"2", N}}));
}

TEST(PasLiterals, SymbolsAndIllegalCharacters)
{
    EXPECT_EQ(Lex("a:=b>=c<>d<=e"), (LexTokens{{"a", I}, {":=", Y}, {"b", I}, {">=", Y}, {"c", I}, {"<>", Y},
                                               {"d", I}, {"<=", Y}, {"e", I}}));
    EXPECT_EQ(Lex("@@P^|\xB9"), (LexTokens{{"@@", Y}, {"P", I}, {"^", Y}, {"|", X}, {"\xB9", X}}));
    TOstPasHighlighter hl;
    hl.StartLine("|", 0);
    EXPECT_EQ(hl.TokenAttribute(), hl.SymbolAttri) << "an illegal character is drawn as a symbol";
}

// ---- Assembler ------------------------------------------------------------------------

TEST(PasAssembler, UpToTheEndKeyword)
{
    EXPECT_EQ(Lex("asm mov ax, 1 end;"),
              (LexTokens{{"asm", K}, {" ", W}, {"mov", A}, {" ", W}, {"ax", A}, {",", A}, {" ", W}, {"1", A},
                         {" ", W}, {"end", K}, {";", Y}}));
    TOstPasHighlighter hl;
    const auto lexed = LexLines(hl, {"asm", "  ADD EAX, EDX { sum }", "  (* open", "  *) RET", "end;"});
    EXPECT_EQ(lexed[0].state, pasInAsm);
    EXPECT_EQ(lexed[1].tokens, (LexTokens{{"  ", W}, {"ADD", A}, {" ", W}, {"EAX", A}, {",", A}, {" ", W},
                                          {"EDX", A}, {" ", W}, {"{ sum }", C}}));
    EXPECT_EQ(lexed[1].state, pasInAsm);
    EXPECT_EQ(lexed[2].state, pasInAsmParenComment);
    EXPECT_EQ(lexed[3].tokens, (LexTokens{{"  *)", C}, {" ", W}, {"RET", A}}));
    EXPECT_EQ(lexed[4].tokens, (LexTokens{{"end", K}, {";", Y}}));
    EXPECT_EQ(lexed[4].state, pasPlain);
    EXPECT_EQ(stateAfter("asm {", pasPlain), pasInAsmBraceComment);
    EXPECT_EQ(stateAfter("}", pasInAsmBraceComment), pasInAsm);
}

// ---- Class facts ------------------------------------------------------------------------

TEST(PasClass, AttributesDefaultsAndFacts)
{
    TOstPasHighlighter hl;
    const std::vector<std::pair<std::string, TFontStyles>> expected = {
        {"Assembler", 0}, {"Character", 0}, {"Comment", fsItalic}, {"Float", 0}, {"Hexadecimal", 0},
        {"Identifier", 0}, {"Number", 0}, {"Preprocessor", fsItalic}, {"Reserved Word", fsBold},
        {"Space", 0}, {"String", 0}, {"Symbol", 0}};
    ASSERT_EQ(hl.AttributeCount(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(hl.AttributeAt(i)->Name(), expected[static_cast<size_t>(i)].first);
        EXPECT_EQ(hl.AttributeAt(i)->Style(), expected[static_cast<size_t>(i)].second) << expected[static_cast<size_t>(i)].first;
        EXPECT_EQ(hl.AttributeAt(i)->Foreground(), clNone);
    }
    EXPECT_EQ(hl.DefaultAttribute(daString), hl.StringAttri);
    EXPECT_STREQ(TOstPasHighlighter::LanguageTitle(), "Object Pascal");
    EXPECT_EQ(hl.DefaultFilter(), "Pascal Files (*.pas,*.dpr,*.dpk,*.inc)|*.pas;*.dpr;*.dpk;*.inc");
    EXPECT_FALSE(hl.IsFilterStored()) << "the lexer's own filter is not stored";
    hl.SetDefaultFilter("Pascal (*.pas)|*.pas");
    EXPECT_TRUE(hl.IsFilterStored());
    EXPECT_EQ(hl.DelphiVersion(), dvDelphi6);
    hl.ClearLineState();
    EXPECT_EQ(hl.LineState(), pasPlain);
}

// ---- Properties over many inputs ------------------------------------------------------------

namespace {

using Lexer = TOstPasHighlighter;
const LexerFacts kFacts = FactsOf<Lexer>(
    pasLineEnd, {&Lexer::AsmAttri, &Lexer::CommentAttri, &Lexer::IdentifierAttri, &Lexer::KeyAttri, nullptr,
                 &Lexer::NumberAttri, &Lexer::SpaceAttri, &Lexer::StringAttri, &Lexer::SymbolAttri, &Lexer::SymbolAttri,
                 &Lexer::FloatAttri, &Lexer::HexAttri, &Lexer::DirectiveAttri, &Lexer::CharAttri});

}  // namespace

TEST(PasProperties, GeneratedLinesAreCoveredAndRestartExactly)
{
    const std::vector<std::string> pieces = {
        "{", "}", "{$", "(*", "*)", "(", ")", "//", "'", "''", "#", "$", " ", "\t", "asm", "end", "property",
        "read", "exports", "index", ";", "1", ".", "..", "e", "+", "-", "Begin", "x1", "_", "|", "\xB9",
        "\r", "\n", ":=", "@"};
    ExpectGeneratedDocumentsConsistent(kFacts, pieces, 20031209, 300, pasPlain);
    ExpectAllBytesCovered(kFacts, {pasInParenComment, pasInAsmParenComment, pasInAsm, pasInBraceComment,
                                   pasInAsmBraceComment, pasInProperty, pasInExports, pasPlain,
                                   pasInPropertyParenComment, pasInExportsParenComment,
                                   pasInPropertyBraceComment, pasInExportsBraceComment});
}

TEST(PasProperties, RealFilesAreCoveredAndIndependentOfLineBreaks)
{
    ExpectDataFilesConsistent(kFacts, "pas", {".pas", ".dpr", ".dpk"}, 3, pasPlain);
}

TEST(PasProperties, IncrementalStatesEqualAFullRescanAfterRandomEdits)
{
    ExpectIncrementalStatesExact(kFacts, "pas/Counters.pas", 10);
}
