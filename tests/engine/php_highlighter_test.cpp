#include <gtest/gtest.h>

#include "highlighters/OstHighlighterPHP.h"
#include "support/LexerChecks.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

const FreshLexer<TOstPHPHighlighter> lex{phpRsCode};

const FreshStateAfter<TOstPHPHighlighter> stateAfter{phpRsCode};

constexpr int C = phpTkComment, I = phpTkIdentifier, K = phpTkKey, N = phpTkNumber, W = phpTkSpace,
              S = phpTkString, Y = phpTkSymbol, U = phpTkUnknown, V = phpTkVariable;

}  // namespace

// ---- Strings and interpolated variables ----------------------------------------

TEST(PhpStrings, VariableInsideDoubleQuotesIsATokenOfItsOwn)
{
    EXPECT_EQ(lex("  print \"The number is $number\";"),
              (LexTokens{{"  ", W}, {"print", K}, {" ", W}, {"\"The number is ", S}, {"$number", V},
                         {"\"", S}, {";", Y}}));
    EXPECT_EQ(lex("'$x'"), (LexTokens{{"'$x'", S}})) << "no interpolation in apostrophes";
    EXPECT_EQ(lex("\"$\""), (LexTokens{{"\"$\"", S}})) << "a dollar before no name is text";
    EXPECT_EQ(lex("\"$a$b\""), (LexTokens{{"\"", S}, {"$a", V}, {"", S}, {"$b", V}, {"\"", S}}));
}

TEST(PhpStrings, AccessorsBelongToTheInterpolatedVariable)
{
    auto inside = [](const std::string& body) { return lex("\"" + body + "\"").at(1); };
    EXPECT_EQ(inside("$a[0] x"), (LexToken{"$a[0]", V}));
    EXPECT_EQ(inside("$a['k'] x"), (LexToken{"$a['k']", V}));
    EXPECT_EQ(inside("$a->b->c x"), (LexToken{"$a->b->c", V}));
    EXPECT_EQ(inside("{$a} x"), (LexToken{"{$a}", V}));
    EXPECT_EQ(inside("{$a[{$b}]}x"), (LexToken{"{$a[{$b}]}", V})) << "braces nest";
    EXPECT_EQ(inside("${a}x"), (LexToken{"${a}", V}));
    EXPECT_EQ(inside("$a-> x"), (LexToken{"$a", V})) << "an arrow needs a name after it";
    EXPECT_EQ(inside("$a['k x"), (LexToken{"$a", V})) << "an unclosed key is not taken";
    EXPECT_EQ(lex("\"$a[$b]\""),
              (LexTokens{{"\"", S}, {"$a", V}, {"[", S}, {"$b", V}, {"]\"", S}}));
    EXPECT_EQ(lex("\"{$a"), (LexTokens{{"\"", S}, {"{$a", V}})) << "a brace left open ends with the line";
    EXPECT_EQ(stateAfter("\"{$a"), phpRsDoubleQuoted);
}

TEST(PhpStrings, BackslashesEscapeQuotesAndDollars)
{
    EXPECT_EQ(lex("\"a\\\\\" x"), (LexTokens{{"\"a\\\\\"", S}, {" ", W}, {"x", I}}))
        << "two backslashes do not escape the quote";
    EXPECT_EQ(lex("\"a\\\" x"), (LexTokens{{"\"a\\\" x", S}}));
    EXPECT_EQ(stateAfter("\"a\\\" x"), phpRsDoubleQuoted);
    EXPECT_EQ(lex("'it\\'s' x"), (LexTokens{{"'it\\'s'", S}, {" ", W}, {"x", I}}));
    EXPECT_EQ(lex("\"\\$no $yes\""), (LexTokens{{"\"\\$no ", S}, {"$yes", V}, {"\"", S}}));
    EXPECT_EQ(lex("\"\\\\$yes\""), (LexTokens{{"\"\\\\", S}, {"$yes", V}, {"\"", S}}));
    EXPECT_EQ(lex("\"\\{$no}\""), (LexTokens{{"\"\\{$no}\"", S}})) << "an escaped brace keeps it text";
}

TEST(PhpStrings, OpenStringsCarryOverLines)
{
    TOstPHPHighlighter hl;
    const auto lexed = LexLines(hl, {"$s = \"open", "", "  still $inside", "done\"; $t = 'a", "b' . 1;"});
    EXPECT_EQ(lexed[0].state, phpRsDoubleQuoted);
    EXPECT_TRUE(lexed[1].tokens.empty());
    EXPECT_EQ(lexed[1].state, phpRsDoubleQuoted) << "an empty line keeps the string open";
    EXPECT_EQ(lexed[2].tokens, (LexTokens{{"  still ", S}, {"$inside", V}}));
    EXPECT_EQ(lexed[2].state, phpRsDoubleQuoted);
    EXPECT_EQ(lexed[3].tokens,
              (LexTokens{{"done\"", S}, {";", Y}, {" ", W}, {"$t", V}, {" ", W}, {"=", Y}, {" ", W}, {"'a", S}}));
    EXPECT_EQ(lexed[3].state, phpRsSingleQuoted);
    EXPECT_EQ(lexed[4].tokens.front(), (LexToken{"b'", S}));
    EXPECT_EQ(lexed[4].state, phpRsCode);
    EXPECT_EQ(lex("{$x} y\"", phpRsDoubleQuoted).front(), (LexToken{"{", S}))
        << "a brace in the first column of a continued string is text";
}

// ---- Comments ------------------------------------------------------------------

TEST(PhpComments, LineCommentsRunToTheEndOfTheLine)
{
    EXPECT_EQ(lex("$a = 1; // note \"x"), (LexTokens{{"$a", V}, {" ", W}, {"=", Y}, {" ", W}, {"1", N},
                                                     {";", Y}, {" ", W}, {"// note \"x", C}}));
    EXPECT_EQ(lex("# hash /* not a block"), (LexTokens{{"# hash /* not a block", C}}));
    EXPECT_EQ(stateAfter("# hash /* not a block"), phpRsCode);
    EXPECT_EQ(lex("a/b/=c"), (LexTokens{{"a", I}, {"/", Y}, {"b", I}, {"/=", Y}, {"c", I}}));
}

TEST(PhpComments, BlockCommentsSpanLines)
{
    EXPECT_EQ(lex("/* a */$b"), (LexTokens{{"/* a */", C}, {"$b", V}}));
    EXPECT_EQ(stateAfter("/*/"), phpRsComment) << "the opener's star does not close it";
    TOstPHPHighlighter hl;
    const auto lexed = LexLines(hl, {"x /* a", "", "b */ $c"});
    EXPECT_EQ(lexed[0].tokens.back(), (LexToken{"/* a", C}));
    EXPECT_EQ(lexed[0].state, phpRsComment);
    EXPECT_TRUE(lexed[1].tokens.empty());
    EXPECT_EQ(lexed[1].state, phpRsComment);
    EXPECT_EQ(lexed[2].tokens, (LexTokens{{"b */", C}, {" ", W}, {"$c", V}}));
    EXPECT_EQ(lexed[2].state, phpRsCode);
}

// ---- Words, numbers and operators -------------------------------------------------

TEST(PhpWords, KeywordsIgnoreCase)
{
    for (const char* word : {"if", "ECHO", "Function", "__FILE__", "__LINE__", "highlight_string",
                             "old_function", "show_source", "endswitch", "xor"})
        EXPECT_EQ(lex(word), (LexTokens{{word, K}})) << word;
    for (const char* word : {"printNumber", "foreach", "_FILE_", "iff", "highlight_strings",
                             "a_very_long_identifier_far_above_the_table"})
        EXPECT_EQ(lex(word), (LexTokens{{word, I}})) << word;
    EXPECT_EQ(lex("int2"), (LexTokens{{"int2", I}})) << "a digit makes it longer";
    EXPECT_EQ(lex("in1"), (LexTokens{{"in1", I}}));
}

TEST(PhpWords, VariablesAndNumbers)
{
    EXPECT_EQ(lex("$i++"), (LexTokens{{"$i", V}, {"++", Y}}));
    EXPECT_EQ(lex("$"), (LexTokens{{"$", V}}));
    EXPECT_EQ(lex("$_SERVER"), (LexTokens{{"$_SERVER", V}}));
    EXPECT_EQ(lex("1.0"), (LexTokens{{"1.0", N}}));
    EXPECT_EQ(lex("1..2"), (LexTokens{{"1", N}, {".", Y}, {".", Y}, {"2", N}}));
    EXPECT_EQ(lex("1-2"), (LexTokens{{"1-2", N}}));
    EXPECT_EQ(lex("0x1Fl+3"), (LexTokens{{"0x1Fl", N}, {"+", Y}, {"3", N}}));
    EXPECT_EQ(lex("1e5"), (LexTokens{{"1e5", N}}));
    EXPECT_EQ(lex("12g"), (LexTokens{{"12", N}, {"g", I}}));
}

TEST(PhpWords, OperatorsTakeTheirLongestForm)
{
    EXPECT_EQ(lex("<<=<<<=<"), (LexTokens{{"<<=", Y}, {"<<", Y}, {"<=", Y}, {"<", Y}}));
    EXPECT_EQ(lex("=>==>=>>"), (LexTokens{{"=>", Y}, {"==", Y}, {">=", Y}, {">>", Y}}));
    EXPECT_EQ(lex("->--=&&&=||!=*=%=^=~"),
              (LexTokens{{"->", Y}, {"--", Y}, {"=", Y}, {"&&", Y}, {"&=", Y}, {"||", Y}, {"!=", Y},
                         {"*=", Y}, {"%=", Y}, {"^=", Y}, {"~", Y}}));
    EXPECT_EQ(lex("@{}:,.?()[];"), (LexTokens{{"@", Y}, {"{", Y}, {"}", Y}, {":", Y}, {",", Y}, {".", Y},
                                               {"?", Y}, {"(", Y}, {")", Y}, {"[", Y}, {"]", Y}, {";", Y}}));
    EXPECT_EQ(lex("\\`\x7F\xB9"), (LexTokens{{"\\", U}, {"`", U}, {"\x7F", U}, {"\xB9", U}}));
    EXPECT_EQ(lex("<?php ?>"), (LexTokens{{"<", Y}, {"?", Y}, {"php", I}, {" ", W}, {"?", Y}, {">", Y}}));
}

TEST(PhpWords, WhitespaceRunsIncludeTabs)
{
    EXPECT_EQ(lex(" \t\x01 x"), (LexTokens{{" \t\x01 ", W}, {"x", I}}));
    EXPECT_EQ(lex("a\r\nb\rc"), (LexTokens{{"a", I}, {"\r\n", W}, {"b", I}, {"\r", W}, {"c", I}}));
}

// ---- Class facts ------------------------------------------------------------------

TEST(PhpClass, AttributesDefaultsAndRoles)
{
    TOstPHPHighlighter hl;
    struct Expected {
        const char* name;
        TFontStyles style;
    };
    const Expected expected[] = {{"Comment", fsItalic}, {"Identifier", 0}, {"Number", 0}, {"Reserved Word", fsBold},
                                 {"Space", 0}, {"String", 0}, {"Symbol", 0}, {"Variable", 0}};
    ASSERT_EQ(hl.AttributeCount(), 8);
    for (int i = 0; i < 8; ++i) {
        const TOstHighlighterAttributes* a = hl.AttributeAt(i);
        EXPECT_EQ(a->Name(), expected[i].name);
        EXPECT_EQ(a->Style(), expected[i].style) << a->Name();
        EXPECT_EQ(a->Foreground(), clNone) << a->Name();
        EXPECT_EQ(a->Background(), clNone) << a->Name();
        EXPECT_FALSE(a->IsStyleStored()) << a->Name();
    }
    EXPECT_EQ(hl.DefaultAttribute(daComment), hl.CommentAttri);
    EXPECT_EQ(hl.DefaultAttribute(daIdentifier), hl.IdentifierAttri);
    EXPECT_EQ(hl.DefaultAttribute(daKeyword), hl.KeyAttri);
    EXPECT_EQ(hl.DefaultAttribute(daString), hl.StringAttri);
    EXPECT_EQ(hl.DefaultAttribute(daWhitespace), hl.SpaceAttri);
    EXPECT_EQ(hl.DefaultAttribute(daSymbol), hl.SymbolAttri);
    EXPECT_EQ(hl.DefaultAttribute(6), nullptr);
}

TEST(PhpClass, TitleFilterSampleAndStates)
{
    TOstPHPHighlighter hl;
    EXPECT_STREQ(TOstPHPHighlighter::LanguageTitle(), "PHP");
    EXPECT_EQ(hl.GetLanguageTitle(), "PHP");
    EXPECT_EQ(hl.DefaultFilter(), "PHP Files (*.php,*.php3,*.phtml,*.inc)|*.php;*.php3;*.phtml;*.inc");
    const std::string sample = hl.SampleText();
    EXPECT_TRUE(sample.starts_with("// Syntax highlighting\r\nfunction printNumber()\r\n{\r\n"));
    EXPECT_TRUE(sample.ends_with("    $x += 1.0;\r\n  }\r\n}"));
    const TOstCharSet ident = hl.IdentifierChars();
    EXPECT_TRUE(ident['_'] && ident['7'] && ident['Q'] && ident[0xB9 + 0x20] && ident[0xFF]);
    EXPECT_FALSE(ident['$'] || ident['-'] || ident[0xD7] || ident[0xF7]);
    for (const intptr_t bad : {intptr_t{-1}, intptr_t{5}, intptr_t{1} << 40})
        EXPECT_EQ(stateAfter("", bad), phpRsCode) << "a state this lexer never made restarts as code";
}

// ---- Properties over many inputs -------------------------------------------------

namespace {

using Lexer = TOstPHPHighlighter;
const LexerFacts kFacts =
    FactsOf<Lexer>(phpTkNull, {&Lexer::CommentAttri, &Lexer::IdentifierAttri, &Lexer::KeyAttri, nullptr,
                               &Lexer::NumberAttri, &Lexer::SpaceAttri, &Lexer::StringAttri, &Lexer::SymbolAttri,
                               &Lexer::IdentifierAttri, &Lexer::VariableAttri});

}  // namespace

TEST(PhpProperties, GeneratedLinesAreCoveredAndRestartExactly)
{
    const std::vector<std::string> pieces = {
        "\"", "'", "\\", "\\\\", "$", "$a", "{$", "${", "{", "}", "[", "]", "['k']", "->", "/*", "*/", "//",
        "#", "/", "*", "<<=", "<", "=", " ", "\t", "\r", "1", "0x1F", "..", ".", "-", "echo", "__FILE__",
        "name", "\xB9", "?>", ";"};
    ExpectGeneratedDocumentsConsistent(kFacts, pieces, 20031205, 300, phpRsCode);
    ExpectAllBytesCovered(kFacts, {phpRsCode, phpRsSingleQuoted, phpRsDoubleQuoted, phpRsComment, phpRsInterpolated});
}

TEST(PhpProperties, RealFilesAreCoveredWithEitherLineBreak)
{
    ExpectDataFilesConsistent(kFacts, "php", {".php", ".inc"}, 3, phpRsCode);
}

TEST(PhpProperties, EditorStatesAfterRandomEditsEqualAFullRescan)
{
    ExpectIncrementalStatesExact(kFacts, "php/guestbook.php");
}
