#include <gtest/gtest.h>

#include "highlighters/OstHighlighterJScript.h"
#include "support/LexerChecks.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

const FreshLexer<TOstJScriptHighlighter> lex{jsRsCode};

int KindOf(const std::string& word)
{
    const LexTokens tokens = lex(word);
    return tokens.size() == 1 ? tokens[0].kind : -1;
}

constexpr int C = jsTkComment, I = jsTkIdentifier, K = jsTkKey, N = jsTkNumber, W = jsTkSpace, S = jsTkString,
              Y = jsTkSymbol, U = jsTkUnknown, B = jsTkNonReservedKey, E = jsTkEvent;

}  // namespace

// ---- Words ----------------------------------------------------------------------------

TEST(JsWords, ReservedWordsObjectNamesAndEvents)
{
    EXPECT_EQ(lex("body.onLoad = printNumber;"),
              (LexTokens{{"body", B}, {".", Y}, {"onLoad", E}, {" ", W}, {"=", Y}, {" ", W}, {"printNumber", I},
                         {";", Y}}));
    EXPECT_EQ(lex("document.write("), (LexTokens{{"document", B}, {".", Y}, {"write", B}, {"(", Y}}));
    for (const char* word : {"if", "IF", "typeof", "instanceof", "synchronized", "constructor", "NaN", "float",
                             "Float", "debugger", "prototype"})
        EXPECT_EQ(KindOf(word), K) << word;
    for (const char* word : {"function", "Function", "FUNCTION", "null", "boolean", "all", "window", "E", "PI",
                             "LN10", "SQRT1_2", "getElementById", "POSITIVE_INFINITY", "NEGATIVE_INFINITY",
                             "setUTCMilliseconds"})
        EXPECT_EQ(KindOf(word), B) << word;
    for (const char* word : {"onLoad", "onclick", "ONMOUSEOVER", "onKeyPress", "onAbort"})
        EXPECT_EQ(KindOf(word), E) << word;
    for (const char* word : {"printNumber", "let", "iff", "onLoaded", "_", "x1", "LN11x"})
        EXPECT_EQ(KindOf(word), I) << word;
}

TEST(JsWords, DigitsCompareAlikeAtTheSamePlace)
{
    EXPECT_EQ(KindOf("LN20"), B) << "hashes and compares like LN10";
    EXPECT_EQ(KindOf("LN3"), B) << "like LN2";
    EXPECT_EQ(KindOf("LNX0"), I);
}

// ---- Numbers and operators ---------------------------------------------------------------

TEST(JsNumbers, DecimalAndHexadecimalOnly)
{
    EXPECT_EQ(lex("0x1F"), (LexTokens{{"0x1F", N}}));
    EXPECT_EQ(lex("1.5"), (LexTokens{{"1.5", N}}));
    EXPECT_EQ(lex("1e5"), (LexTokens{{"1", N}, {"e5", I}}));
    EXPECT_EQ(lex("0x"), (LexTokens{{"0", N}, {"x", I}}));
    EXPECT_EQ(lex("0xg"), (LexTokens{{"0", N}, {"xg", I}}));
    EXPECT_EQ(lex("10x1"), (LexTokens{{"10", N}, {"x1", I}})) << "the x must be second, after a zero";
    EXPECT_EQ(lex("12ab"), (LexTokens{{"12", N}, {"ab", I}}));
    EXPECT_EQ(lex("0xABCDEFx"), (LexTokens{{"0xABCDEF", N}, {"x", I}}));
    EXPECT_EQ(lex("1..2"), (LexTokens{{"1", N}, {".", Y}, {".", Y}, {"2", N}}));
}

TEST(JsOperators, LongestFormsAndUnknownCharacters)
{
    EXPECT_EQ(lex("i += @;"), (LexTokens{{"i", I}, {" ", W}, {"+=", Y}, {" ", W}, {"@", U}, {";", Y}}));
    EXPECT_EQ(lex("&&&=||||=+++=---=->%=*=/="),
              (LexTokens{{"&&", Y}, {"&=", Y}, {"||", Y}, {"||", Y}, {"=", Y}, {"++", Y}, {"+=", Y}, {"--", Y},
                         {"-=", Y}, {"->", Y}, {"%=", Y}, {"*=", Y}, {"/=", Y}}));
    EXPECT_EQ(lex("....!=<="), (LexTokens{{"...", Y}, {".", Y}, {"!", Y}, {"=", Y}, {"<", Y}, {"=", Y}}));
    EXPECT_EQ(lex("#$@\\^`\x7F\x80\xFF"), (LexTokens{{"#", U}, {"$", U}, {"@", U}, {"\\", U}, {"^", U}, {"`", U},
                                                      {"\x7F", U}, {"\x80", U}, {"\xFF", U}}));
    EXPECT_EQ(lex("a/b"), (LexTokens{{"a", I}, {"/", Y}, {"b", I}})) << "no regular-expression literals";
    EXPECT_EQ(lex(" \t\x0B x"), (LexTokens{{" \t\x0B ", W}, {"x", I}}));
}

// ---- Strings and comments ------------------------------------------------------------------

TEST(JsStrings, QuotesBackslashesAndLineEnds)
{
    EXPECT_EQ(lex("'it\\'s' x"), (LexTokens{{"'it\\'s'", S}, {" ", W}, {"x", I}}));
    EXPECT_EQ(lex("\"a \\\"b\\\" c\";"), (LexTokens{{"\"a \\\"b\\\" c\"", S}, {";", Y}}));
    EXPECT_EQ(lex("\"C:\\\\\" + x"), (LexTokens{{"\"C:\\\\\"", S}, {" ", W}, {"+", Y}, {" ", W}, {"x", I}}))
        << "an escaped backslash does not escape the quote after it";
    EXPECT_EQ(lex("'a\\\\\\'b'"), (LexTokens{{"'a\\\\\\'b'", S}}));
    EXPECT_EQ(lex("\"\" + ''"), (LexTokens{{"\"\"", S}, {" ", W}, {"+", Y}, {" ", W}, {"''", S}}));
    EXPECT_EQ(lex("'''a'b"), (LexTokens{{"'''a'", S}, {"b", I}})) << "three quotes open as one";
    EXPECT_EQ(lex("'a\"b' \"c'd\""), (LexTokens{{"'a\"b'", S}, {" ", W}, {"\"c'd\"", S}}));
    TOstJScriptHighlighter hl;
    const auto lexed = LexLines(hl, {"x = \"open", "y"});
    EXPECT_EQ(lexed[0].tokens.back(), (LexToken{"\"open", S}));
    EXPECT_EQ(lexed[0].state, jsRsCode) << "strings never continue to the next line";
    EXPECT_EQ(lexed[1].tokens, (LexTokens{{"y", I}}));
}

TEST(JsComments, LineAndBlockComments)
{
    EXPECT_EQ(lex("x; // note \"y"), (LexTokens{{"x", I}, {";", Y}, {" ", W}, {"// note \"y", C}}));
    EXPECT_EQ(lex("a/* b */c"), (LexTokens{{"a", I}, {"/* b */", C}, {"c", I}}));
    TOstJScriptHighlighter hl;
    const auto lexed = LexLines(hl, {"/* a", "", "still */ x", "/*/"});
    EXPECT_EQ(lexed[0].state, jsRsComment);
    EXPECT_TRUE(lexed[1].tokens.empty());
    EXPECT_EQ(lexed[1].state, jsRsComment);
    EXPECT_EQ(lexed[2].tokens, (LexTokens{{"still */", C}, {" ", W}, {"x", I}}));
    EXPECT_EQ(lexed[3].state, jsRsComment) << "the opener's star does not close it";
    for (const intptr_t bad : {intptr_t{-1}, intptr_t{2}, intptr_t{1} << 40})
        EXPECT_EQ(StateAfterLine(hl, "", bad), jsRsCode);
}

// ---- Class facts ------------------------------------------------------------------------------

TEST(JsClass, AttributesDefaultsAndRoles)
{
    TOstJScriptHighlighter hl;
    const std::pair<const char*, TFontStyles> expected[] = {
        {"Comment", fsItalic}, {"Event", 0}, {"Identifier", 0}, {"Non-reserved Keyword", 0}, {"Number", 0},
        {"Reserved Word", fsBold}, {"Space", 0}, {"String", 0}, {"Symbol", 0}};
    ASSERT_EQ(hl.AttributeCount(), 9);
    for (int i = 0; i < 9; ++i) {
        const TOstHighlighterAttributes* a = hl.AttributeAt(i);
        EXPECT_EQ(a->Name(), expected[i].first);
        EXPECT_EQ(a->Style(), expected[i].second) << a->Name();
        EXPECT_EQ(a->Foreground(), clNone) << a->Name();
        EXPECT_EQ(a->Background(), clNone) << a->Name();
    }
    EXPECT_EQ(hl.DefaultAttribute(daComment), hl.CommentAttri);
    EXPECT_EQ(hl.DefaultAttribute(daIdentifier), hl.IdentifierAttri);
    EXPECT_EQ(hl.DefaultAttribute(daKeyword), hl.KeyAttri);
    EXPECT_EQ(hl.DefaultAttribute(daString), hl.StringAttri);
    EXPECT_EQ(hl.DefaultAttribute(daWhitespace), hl.SpaceAttri);
    EXPECT_EQ(hl.DefaultAttribute(daSymbol), hl.SymbolAttri);
}

TEST(JsClass, TitleFilterAndSample)
{
    TOstJScriptHighlighter hl;
    EXPECT_STREQ(TOstJScriptHighlighter::LanguageTitle(), "JavaScript");
    EXPECT_EQ(hl.DefaultFilter(), "Javascript Files (*.js)|*.js");
    const auto sample = LexLines(hl, BufferLines(hl.SampleText()));
    ASSERT_EQ(sample.size(), 15u);
    EXPECT_EQ(sample[12].tokens.at(5), (LexToken{"@", U}));
    EXPECT_EQ(sample[14].tokens.at(2), (LexToken{"onLoad", E}));
    EXPECT_TRUE(hl.IdentifierChars()[0xC0]);
    EXPECT_FALSE(hl.IdentifierChars()['$']);
}

// ---- Properties over many inputs ------------------------------------------------------------------

namespace {

using Lexer = TOstJScriptHighlighter;
const LexerFacts kFacts =
    FactsOf<Lexer>(jsTkNull, {&Lexer::CommentAttri, &Lexer::IdentifierAttri, &Lexer::KeyAttri, nullptr,
                              &Lexer::NumberAttri, &Lexer::SpaceAttri, &Lexer::StringAttri, &Lexer::SymbolAttri,
                              &Lexer::IdentifierAttri, &Lexer::NonReservedKeyAttri, &Lexer::EventAttri});

}  // namespace

TEST(JsProperties, GeneratedLinesAreCoveredAndRestartExactly)
{
    const std::vector<std::string> pieces = {
        "/*", "*/", "//", "/", "*", "\"", "'", "'''", "\\", "\\\\", "0x", "0x1F", "1.5", "..", ".", " ", "\t",
        "\r", "function", "onLoad", "document", "x", "@", "\xB3", "+=", "->", "&&", "{", "}"};
    ExpectGeneratedDocumentsConsistent(kFacts, pieces, 1995, 300, jsRsCode);
    ExpectAllBytesCovered(kFacts, {jsRsCode, jsRsComment});
}

TEST(JsProperties, RealFilesAreCoveredWithEitherLineBreak)
{
    ExpectDataFilesConsistent(kFacts, "js", {".js"}, 3, jsRsCode);
}

TEST(JsProperties, EditorStatesAfterRandomEditsEqualAFullRescan)
{
    ExpectIncrementalStatesExact(kFacts, "js/menu.js");
}
