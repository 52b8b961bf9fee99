#include <gtest/gtest.h>

#include "highlighters/OstHighlighterVBScript.h"
#include "support/HighlighterChecks.h"
#include "support/LexerChecks.h"
#include "support/TestSupport.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

const FreshLexer<TOstVBScriptHighlighter> lex{};

constexpr int C = vbsComment, I = vbsIdentifier, K = vbsKeyword, N = vbsNumber, W = vbsSpace, S = vbsString,
              Y = vbsSymbol;

}  // namespace

TEST(VbsWords, KeywordsIgnoreCase)
{
    EXPECT_EQ(lex("  for i = 0 to 10"), (LexTokens{{"  ", W}, {"for", K}, {" ", W}, {"i", I}, {" ", W}, {"=", Y},
                                                   {" ", W}, {"0", N}, {" ", W}, {"to", K}, {" ", W}, {"10", N}}));
    EXPECT_EQ(lex("END FUNCTION EndIf"), (LexTokens{{"END", K}, {" ", W}, {"FUNCTION", K}, {" ", W}, {"EndIf", K}}));
    EXPECT_EQ(lex("Rem x"), (LexTokens{{"Rem", K}, {" ", W}, {"x", I}})) << "only the apostrophe starts a comment";
    EXPECT_EQ(lex("If1 _if ParamArrays"), (LexTokens{{"If1", I}, {" ", W}, {"_if", I}, {" ", W}, {"ParamArrays", I}}));
    EXPECT_EQ(lex("a$"), (LexTokens{{"a", I}, {"$", I}}));
    EXPECT_EQ(lex("x \xB9"), (LexTokens{{"x", I}, {" ", W}, {"\xB9", I}}));
}

TEST(VbsLiterals, NumbersStringsAndDates)
{
    EXPECT_EQ(lex("1.5e3"), (LexTokens{{"1.5e3", N}}));
    EXPECT_EQ(lex("1.5e+3"), (LexTokens{{"1.5e", N}, {"+", Y}, {"3", N}}));
    EXPECT_EQ(lex("x = #1/1/2000#"), (LexTokens{{"x", I}, {" ", W}, {"=", Y}, {" ", W}, {"#1/1/2000#", S}}));
    EXPECT_EQ(lex("#open"), (LexTokens{{"#open", S}}));
    EXPECT_EQ(lex("\"a\"\"b\""), (LexTokens{{"\"a\"", S}, {"\"b\"", S}})) << "a doubled quote splits the string";
    EXPECT_EQ(lex("\"\"\"x\" y"), (LexTokens{{"\"\"\"x\"", S}, {" ", W}, {"y", I}}));
    EXPECT_EQ(lex("\"\""), (LexTokens{{"\"\"", S}}));
    EXPECT_EQ(lex("\"open"), (LexTokens{{"\"open", S}}));
    EXPECT_EQ(lex("' all of it \" #"), (LexTokens{{"' all of it \" #", C}}));
}

TEST(VbsLiterals, Symbols)
{
    EXPECT_EQ(lex("a<>b<=c>=d<e>f"), (LexTokens{{"a", I}, {"<>", Y}, {"b", I}, {"<=", Y}, {"c", I}, {">=", Y},
                                                {"d", I}, {"<", Y}, {"e", I}, {">", Y}, {"f", I}}));
    EXPECT_EQ(lex("(a&b):c"), (LexTokens{{"(", Y}, {"a", I}, {"&", Y}, {"b", I}, {")", Y}, {":", Y}, {"c", I}}));
    EXPECT_EQ(lex("a!b"), (LexTokens{{"a", I}, {"!", I}, {"b", I}}));
}

TEST(VbsClass, NoLineStateAndFacts)
{
    TOstVBScriptHighlighter hl;
    const auto lexed = LexLines(hl, {"x = \"open", "y", "#date"});
    EXPECT_EQ(lexed[1].tokens, (LexTokens{{"y", I}})) << "an open string does not continue";
    for (const auto& l : lexed)
        EXPECT_EQ(l.state, 0);
    const std::vector<std::pair<std::string, TFontStyles>> expected = {
        {"Comment", fsItalic}, {"Identifier", 0}, {"Number", 0}, {"Reserved Word", fsBold},
        {"Space", 0}, {"String", 0}, {"Symbol", 0}};
    ASSERT_EQ(hl.AttributeCount(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(hl.AttributeAt(i)->Name(), expected[static_cast<size_t>(i)].first);
        EXPECT_EQ(hl.AttributeAt(i)->Style(), expected[static_cast<size_t>(i)].second);
    }
    EXPECT_EQ(hl.DefaultAttribute(daString), hl.StringAttri);
    EXPECT_STREQ(TOstVBScriptHighlighter::LanguageTitle(), "MS VBScript");
    EXPECT_EQ(hl.DefaultFilter(), "VBScript Files (*.vbs)|*.vbs");
    const std::string sample = hl.SampleText();
    EXPECT_TRUE(sample.starts_with("' Syntax highlighting\r\nfunction printNumber()\r\n"));
    EXPECT_TRUE(sample.ends_with("  next\r\nend function"));
}

namespace {

using Lexer = TOstVBScriptHighlighter;
const LexerFacts kFacts = FactsOf<Lexer>(
    vbsLineEnd, {&Lexer::CommentAttri, &Lexer::IdentifierAttri, &Lexer::KeyAttri, nullptr, &Lexer::NumberAttri,
                 &Lexer::SpaceAttri, &Lexer::StringAttri, &Lexer::SymbolAttri, &Lexer::IdentifierAttri});

}  // namespace

TEST(VbsProperties, GeneratedAndRealLinesAreCovered)
{
    const std::vector<std::string> pieces = {"'", "\"", "\"\"", "#", "1", ".", "e", "+", "<", ">", "=", "If",
                                             "end", "_", "x", " ", "\t", "$", "\xB9", "\r", "\n", "&"};
    ExpectGeneratedDocumentsConsistent(kFacts, pieces, 20031212, 200, 0);
    ExpectAllBytesCovered(kFacts, {0});
    ExpectDataFilesConsistent(kFacts, "vbs", {".vbs"}, 3, 0);
    ExpectIncrementalStatesExact(kFacts, "vbs/backup.vbs", 1, 100);
}
