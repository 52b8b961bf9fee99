#include <gtest/gtest.h>

#include "highlighters/OstHighlighterJava.h"
#include "support/HighlighterChecks.h"
#include "support/LexerChecks.h"
#include "support/TestSupport.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

const FreshLexer<TOstJavaHighlighter> lex{javaPlain};

const FreshStateAfter<TOstJavaHighlighter> stateAfter{javaPlain};

constexpr int C = javaComment, Doc = javaDocComment, I = javaIdentifier, V = javaInvalid, K = javaKeyword,
              N = javaNumber, W = javaSpace, S = javaString, Y = javaSymbol, U = javaUnknown;

}  // namespace

// ---- Words ---------------------------------------------------------------------

TEST(JavaWords, KeywordsAreCaseSensitive)
{
    EXPECT_EQ(lex("String Int NULL null instanceof synchronized"),
              (LexTokens{{"String", I}, {" ", W}, {"Int", I}, {" ", W}, {"NULL", I}, {" ", W}, {"null", K},
                         {" ", W}, {"instanceof", K}, {" ", W}, {"synchronized", K}}));
    EXPECT_EQ(lex("$x1 _y if$ \xE9t\xE9"), (LexTokens{{"$x1", I}, {" ", W}, {"_y", I}, {" ", W}, {"if$", I},
                                                   {" ", W}, {"\xE9t\xE9", I}}))
        << "dollars and accented letters belong to words";
    EXPECT_EQ(lex("@Override"), (LexTokens{{"@", V}, {"Override", I}}));
    EXPECT_EQ(lex("# \\ ` \xD7"), (LexTokens{{"#", V}, {" ", W}, {"\\", U}, {" ", W}, {"`", U}, {" ", W}, {"\xD7", U}}));
}

// ---- Numbers and symbols ----------------------------------------------------------

TEST(JavaNumbers, LooseRunsOfNumberCharacters)
{
    EXPECT_EQ(lex("0x1FL"), (LexTokens{{"0x1FL", N}}));
    EXPECT_EQ(lex("1..2"), (LexTokens{{"1", N}, {".", Y}, {".2", N}}));
    EXPECT_EQ(lex("1e+5"), (LexTokens{{"1e", N}, {"+", Y}, {"5", N}}));
    EXPECT_EQ(lex("1-2"), (LexTokens{{"1-2", N}}));
    EXPECT_EQ(lex("a.b"), (LexTokens{{"a", I}, {".", Y}, {"b", I}}));
}

TEST(JavaSymbols, LongestOperatorFirst)
{
    EXPECT_EQ(lex("a>>>=b>>>c>>=d"), (LexTokens{{"a", I}, {">>>=", Y}, {"b", I}, {">>>", Y}, {"c", I},
                                                {">>=", Y}, {"d", I}}));
    EXPECT_EQ(lex("x/=2/y"), (LexTokens{{"x", I}, {"/=", Y}, {"2", N}, {"/", Y}, {"y", I}}));
    EXPECT_EQ(lex("c->d"), (LexTokens{{"c", I}, {"-", Y}, {">", Y}, {"d", I}}));
}

// ---- Strings and comments -----------------------------------------------------------

TEST(JavaStrings, EscapesAndCharacterLiterals)
{
    EXPECT_EQ(lex("'a' '\\''"), (LexTokens{{"'a'", S}, {" ", W}, {"'\\''", S}}));
    EXPECT_EQ(lex("\"a\\\"b\" c"), (LexTokens{{"\"a\\\"b\"", S}, {" ", W}, {"c", I}}));
    EXPECT_EQ(lex("\"a\\\\\" c"), (LexTokens{{"\"a\\\\\"", S}, {" ", W}, {"c", I}}));
    EXPECT_EQ(lex("\"\"\"x\" y"), (LexTokens{{"\"\"\"x\"", S}, {" ", W}, {"y", I}}));
    EXPECT_EQ(lex("\"\" y"), (LexTokens{{"\"\"", S}, {" ", W}, {"y", I}}));
    EXPECT_EQ(lex("\"open\\"), (LexTokens{{"\"open\\", S}})) << "a final backslash stays inside the line";
    EXPECT_EQ(stateAfter("\"open"), javaPlain);
}

TEST(JavaComments, DocumentationAndOrdinaryComments)
{
    EXPECT_EQ(lex("/** doc */ x"), (LexTokens{{"/** doc */", Doc}, {" ", W}, {"x", I}}));
    EXPECT_EQ(lex("/* c */ // d"), (LexTokens{{"/* c */", C}, {" ", W}, {"// d", C}}));
    EXPECT_EQ(lex("/**/ x"), (LexTokens{{"/**/", C}, {" ", W}, {"x", I}}))
        << "an empty comment closes itself and leaves nothing open";
    EXPECT_EQ(stateAfter("/**/"), javaPlain);
    EXPECT_EQ(lex("/***/x"), (LexTokens{{"/***/", Doc}, {"x", I}}));
    EXPECT_EQ(stateAfter("/*/"), javaInComment);

    TOstJavaHighlighter hl;
    const auto lexed = LexLines(hl, {"/** open", "", " * more */ int x;", "/* plain", "end */"});
    EXPECT_EQ(lexed[0].state, javaInDocComment);
    EXPECT_TRUE(lexed[1].tokens.empty());
    EXPECT_EQ(lexed[1].state, javaInDocComment);
    EXPECT_EQ(lexed[2].tokens, (LexTokens{{" * more */", Doc}, {" ", W}, {"int", K}, {" ", W}, {"x", I}, {";", Y}}));
    EXPECT_EQ(lexed[3].state, javaInComment);
    EXPECT_EQ(lexed[4].tokens, (LexTokens{{"end */", C}}));
    EXPECT_EQ(lexed[4].state, javaPlain);
}

// ---- Class facts -----------------------------------------------------------------------

TEST(JavaClass, AttributesDefaultsAndFacts)
{
    TOstJavaHighlighter hl;
    const std::vector<std::pair<std::string, TFontStyles>> expected = {
        {"Comment", fsItalic}, {"Documentation", fsItalic}, {"Identifier", 0}, {"Invalid Symbol", 0},
        {"Number", 0}, {"Reserved Word", fsBold}, {"Space", 0}, {"String", 0}, {"Symbol", 0}};
    ASSERT_EQ(hl.AttributeCount(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(hl.AttributeAt(i)->Name(), expected[static_cast<size_t>(i)].first);
        EXPECT_EQ(hl.AttributeAt(i)->Style(), expected[static_cast<size_t>(i)].second);
    }
    EXPECT_EQ(hl.SpaceAttri->Foreground(), clWindow);
    EXPECT_EQ(hl.DefaultAttribute(daKeyword), hl.KeyAttri);
    EXPECT_STREQ(TOstJavaHighlighter::LanguageTitle(), "Java");
    EXPECT_EQ(hl.DefaultFilter(), "Java Files (*.java)|*.java");
    EXPECT_TRUE(hl.IdentifierChars()['$']);
    hl.StartLine("`", 0);
    EXPECT_EQ(hl.TokenKind(), javaUnknown);
    EXPECT_EQ(hl.TokenAttribute(), hl.InvalidAttri) << "unknown characters are drawn as invalid";
}

// ---- Properties over many inputs ---------------------------------------------------------

namespace {

using Lexer = TOstJavaHighlighter;
const LexerFacts kFacts =
    FactsOf<Lexer>(javaLineEnd, {&Lexer::CommentAttri, &Lexer::DocumentAttri, &Lexer::IdentifierAttri,
                                 &Lexer::InvalidAttri, &Lexer::KeyAttri, nullptr, &Lexer::NumberAttri,
                                 &Lexer::SpaceAttri, &Lexer::StringAttri, &Lexer::SymbolAttri, &Lexer::InvalidAttri});

}  // namespace

TEST(JavaProperties, GeneratedLinesAreCoveredAndRestartExactly)
{
    const std::vector<std::string> pieces = {
        "/*", "/**", "*/", "/**/", "//", "*", "/", "\"", "'", "\\", " ", "\t", "if", "null", "$", "x1", "0x",
        "1", ".", "..", "e", "-", "+", ">>>=", "@", "#", "\xE9", "\x80", "\r", "\n", "{", "}"};
    ExpectGeneratedDocumentsConsistent(kFacts, pieces, 20031210, 300, javaPlain);
    ExpectAllBytesCovered(kFacts, {javaInComment, javaInDocComment, javaPlain});
}

TEST(JavaProperties, RealFilesAreCoveredAndIndependentOfLineBreaks)
{
    ExpectDataFilesConsistent(kFacts, "java", {".java"}, 3, javaPlain);
}

TEST(JavaProperties, IncrementalStatesEqualAFullRescanAfterRandomEdits)
{
    ExpectIncrementalStatesExact(kFacts, "java/OrderQueue.java", 10);
}
