#include <gtest/gtest.h>

#include "highlighters/OstHighlighterPerl.h"
#include "support/HighlighterChecks.h"
#include "support/LexerChecks.h"
#include "support/TestSupport.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

const FreshLexer<TOstPerlHighlighter> lex{};

int KindOf(const std::string& text)
{
    const LexTokens t = lex(text);
    return t.size() == 1 && t[0].text == text ? t[0].kind : -1;
}

constexpr int C = perlComment, I = perlIdentifier, K = perlKeyword, N = perlNumber, O = perlOperator,
              P = perlPragma, W = perlSpace, S = perlString, Y = perlSymbol, U = perlUnknown, V = perlVariable;

}  // namespace

// ---- Words and variables ------------------------------------------------------------

TEST(PerlWords, KeywordsOperatorsAndPragmasWithCase)
{
    EXPECT_EQ(KindOf("print"), K);
    EXPECT_EQ(KindOf("Print"), I);
    EXPECT_EQ(KindOf("eq"), O);
    EXPECT_EQ(KindOf("EQ"), I);
    EXPECT_EQ(KindOf("getprotobynumber"), K);
    EXPECT_EQ(KindOf("qw"), K);
    EXPECT_EQ(lex("use strict;"), (LexTokens{{"use", K}, {" ", W}, {"strict", P}, {";", Y}}));
    EXPECT_EQ(KindOf("printer"), I);
    EXPECT_EQ(KindOf("print$x"), I) << "\"$\" continues the scanned word";
}

TEST(PerlWords, SpecialVariables)
{
    for (const char* v : {"$ARGV", "@ARGV", "%INC", "$PERL_VERSION", "$FORMAT_LINE_BREAK_CHARACTERS"})
        EXPECT_EQ(KindOf(v), V) << v;
    for (const char* v : {"$argv", "$count", "@list", "%hash", "$ARGVS"})
        EXPECT_EQ(KindOf(v), I) << v;
    for (const char* v : {"$_", "$0", "$1", "$!", "$@", "$$", "$;", "$/", "$\\", "$^W", "$^X", "$^"})
        EXPECT_EQ(KindOf(v), V) << v;
    EXPECT_EQ(lex("$_foo"), (LexTokens{{"$_", V}, {"foo", I}}));
    EXPECT_EQ(lex("$^Q"), (LexTokens{{"$", I}, {"^", Y}, {"Q", I}}));
    EXPECT_EQ(lex("$x{y}"), (LexTokens{{"$x", I}, {"{", Y}, {"y", I}, {"}", Y}}));
}

TEST(PerlWords, PercentAndXAsOperators)
{
    EXPECT_EQ(lex("$a %= 3"), (LexTokens{{"$a", I}, {" ", W}, {"%=", Y}, {" ", W}, {"3", N}}));
    EXPECT_EQ(lex("4 %"), (LexTokens{{"4", N}, {" ", W}, {"%", Y}}));
    EXPECT_EQ(lex("'-' x= 3"), (LexTokens{{"'-'", S}, {" ", W}, {"x=", Y}, {" ", W}, {"3", N}}));
    EXPECT_EQ(lex("y x"), (LexTokens{{"y", I}, {" ", W}, {"x", Y}}));
    EXPECT_EQ(lex("x 3"), (LexTokens{{"x", I}, {" ", W}, {"3", N}}));
}

// ---- Numbers, symbols, strings and comments -----------------------------------------

TEST(PerlLiterals, NumbersAndTheDot)
{
    for (const char* n : {"1_000_000", "0xFF", "1.5e-3", "42", ".5"})
        EXPECT_EQ(KindOf(n), N) << n;
    EXPECT_EQ(lex("1..10"), (LexTokens{{"1", N}, {"..", Y}, {"10", N}}));
    EXPECT_EQ(lex("1...3"), (LexTokens{{"1", N}, {"...", Y}, {"3", N}}));
    EXPECT_EQ(lex("5-2"), (LexTokens{{"5", N}, {"-", Y}, {"2", N}}));
    EXPECT_EQ(lex("$a . $b .= $c.d"), (LexTokens{{"$a", I}, {" ", W}, {".", Y}, {" ", W}, {"$b", I}, {" ", W},
                                                {".=", Y}, {" ", W}, {"$c", I}, {".", Y}, {"d", I}}))
        << "a point before anything but a digit is the joining operator";
}

TEST(PerlLiterals, SymbolsLongestFirst)
{
    EXPECT_EQ(lex("$x =~ /a+/;"), (LexTokens{{"$x", I}, {" ", W}, {"=~", Y}, {" ", W}, {"/", Y}, {"a", I},
                                             {"+", Y}, {"/", Y}, {";", Y}}));
    EXPECT_EQ(lex("a<=>b**=c&&=d->e"), (LexTokens{{"a", I}, {"<=>", Y}, {"b", I}, {"**=", Y}, {"c", I},
                                                  {"&&=", Y}, {"d", I}, {"->", Y}, {"e", I}}));
    EXPECT_EQ(lex("=pod"), (LexTokens{{"=", Y}, {"pod", I}})) << "no documentation blocks";
    EXPECT_EQ(lex("` \xB9 ?"), (LexTokens{{"`", U}, {" ", W}, {"\xB9", U}, {" ", W}, {"?", Y}}));
}

TEST(PerlLiterals, StringsAndComments)
{
    EXPECT_EQ(lex("\"a\\\"b\" c"), (LexTokens{{"\"a\\\"b\"", S}, {" ", W}, {"c", I}}));
    EXPECT_EQ(lex("\"a\\\\\" c"), (LexTokens{{"\"a\\\\\"", S}, {" ", W}, {"c", I}}))
        << "after two backslashes the quote ends the string";
    EXPECT_EQ(lex("'a\\' b'"), (LexTokens{{"'a\\'", S}, {" ", W}, {"b", I}, {"'", S}})) << "no escapes in apostrophes";
    EXPECT_EQ(lex("\"\"\"x\" y"), (LexTokens{{"\"\"\"x\"", S}, {" ", W}, {"y", I}}));
    EXPECT_EQ(lex("# comment \"x"), (LexTokens{{"# comment \"x", C}}));
    TOstPerlHighlighter hl;
    const auto lexed = LexLines(hl, {"$s = \"open", "print;"});
    EXPECT_EQ(lexed[1].tokens, (LexTokens{{"print", K}, {";", Y}})) << "strings end with the line";
    EXPECT_EQ(lexed[0].state, 0);
}

// ---- Class facts ------------------------------------------------------------------------

TEST(PerlClass, AttributesDefaultsAndFacts)
{
    TOstPerlHighlighter hl;
    const std::vector<std::pair<std::string, TFontStyles>> expected = {
        {"Comment", fsItalic}, {"Identifier", 0}, {"Illegal Char", 0}, {"Number", 0}, {"Operator", 0},
        {"Pragma", fsBold}, {"Reserved Word", fsBold}, {"Space", 0}, {"String", 0}, {"Symbol", 0},
        {"Variable", fsBold}};
    ASSERT_EQ(hl.AttributeCount(), 11);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(hl.AttributeAt(i)->Name(), expected[static_cast<size_t>(i)].first);
        EXPECT_EQ(hl.AttributeAt(i)->Style(), expected[static_cast<size_t>(i)].second);
    }
    EXPECT_EQ(hl.SpaceAttri->Foreground(), clWindow);
    EXPECT_EQ(hl.DefaultAttribute(daSymbol), hl.SymbolAttri);
    EXPECT_STREQ(TOstPerlHighlighter::LanguageTitle(), "Perl");
    EXPECT_EQ(hl.DefaultFilter(), "Perl Files (*.pl,*.pm,*.cgi)|*.pl;*.pm;*.cgi");
    const TOstCharSet ident = hl.IdentifierChars();
    EXPECT_TRUE(ident['$'] && ident['%'] && ident['@'] && ident['_'] && ident[0xE9]);
}

// ---- Properties over many inputs ----------------------------------------------------------

namespace {

using Lexer = TOstPerlHighlighter;
const LexerFacts kFacts = FactsOf<Lexer>(
    perlLineEnd, {&Lexer::CommentAttri, &Lexer::IdentifierAttri, &Lexer::KeyAttri, nullptr, &Lexer::NumberAttri,
                  &Lexer::OperatorAttri, &Lexer::PragmaAttri, &Lexer::SpaceAttri, &Lexer::StringAttri,
                  &Lexer::SymbolAttri, &Lexer::InvalidAttri, &Lexer::VariableAttri});

}  // namespace

TEST(PerlProperties, GeneratedAndRealLinesAreCovered)
{
    const std::vector<std::string> pieces = {"$", "$^", "^", "%", "@", "x", "=", "#", "\"", "'", "\\", ".",
                                             "..", "1", "e", "-", "_", "print", "ARGV", " ", "\t", "`", "\xB9",
                                             "\r", "\n", "<=>", "*"};
    ExpectGeneratedDocumentsConsistent(kFacts, pieces, 20031213, 200, 0);
    ExpectAllBytesCovered(kFacts, {0});
    ExpectDataFilesConsistent(kFacts, "perl", {".pl", ".pm"}, 3, 0);
    ExpectIncrementalStatesExact(kFacts, "perl/golden.pl", 1, 100);
}
