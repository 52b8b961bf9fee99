#include <gtest/gtest.h>

#include "highlighters/OstHighlighterCSS.h"
#include "support/LexerChecks.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

const FreshLexer<TOstCssHighlighter> lex{cssRsSelector};

const FreshStateAfter<TOstCssHighlighter> stateAfter{cssRsSelector};

constexpr int C = cssTkComment, P = cssTkProperty, K = cssTkKey, W = cssTkSpace, S = cssTkString,
              Y = cssTkSymbol, U = cssTkUndefProperty, V = cssTkValue, H = cssTkColor, N = cssTkNumber;

}  // namespace

// ---- Selectors, properties and values ----------------------------------------------

TEST(CssRules, SampleRuleWithKnownAndUnknownProperties)
{
    EXPECT_EQ(lex("H1 { font-size: 18pt; color: #000099; made-up-property: 1 }"),
              (LexTokens{{"H1 ", K}, {"{", Y}, {" ", W}, {"font-size", P}, {":", Y}, {" ", W}, {"18", N},
                         {"pt", V}, {";", Y}, {" ", W}, {"color", P}, {":", Y}, {" ", W}, {"#000099", H},
                         {";", Y}, {" ", W}, {"made-up-property", U}, {":", Y}, {" ", W}, {"1", N},
                         {" ", W}, {"}", Y}}));
    EXPECT_EQ(stateAfter("H1 { font-size: 18pt }"), cssRsSelector);
}

TEST(CssRules, SelectorTextIsOneTokenUpToTheBrace)
{
    EXPECT_EQ(lex("a.b, c > d:hover {"), (LexTokens{{"a.b, c > d:hover ", K}, {"{", Y}}));
    EXPECT_EQ(lex("td/ x"), (LexTokens{{"td", K}, {"/", Y}, {" x", K}}));
    EXPECT_EQ(lex("\ta\tb"), (LexTokens{{"\t", W}, {"a", K}, {"\t", W}, {"b", K}}));
    EXPECT_EQ(stateAfter("p {"), cssRsBlock);
    EXPECT_EQ(stateAfter("p { color: red;"), cssRsAfterSemicolon);
    EXPECT_EQ(stateAfter("p { color:"), cssRsValue);
}

TEST(CssRules, ValuesRunToCommaSemicolonOrBrace)
{
    EXPECT_EQ(lex("font-family: Tahoma, Verdana", cssRsBlock),
              (LexTokens{{"font-family", P}, {":", Y}, {" ", W}, {"Tahoma", V}, {",", Y}, {" ", W},
                         {"Verdana", V}}));
    EXPECT_EQ(lex("border: 1px solid red;", cssRsBlock),
              (LexTokens{{"border", P}, {":", Y}, {" ", W}, {"1", N}, {"px solid red", V}, {";", Y}}));
    EXPECT_EQ(lex("url(a/b.gif) no-repeat}", cssRsValue), (LexTokens{{"url(a/b.gif) no-repeat", V}, {"}", Y}}));
    EXPECT_EQ(lex("#fff;", cssRsValue), (LexTokens{{"#fff", H}, {";", Y}}));
    EXPECT_EQ(lex("#ggg", cssRsValue), (LexTokens{{"#", H}, {"ggg", V}}));
    EXPECT_EQ(lex(".5em 1..2", cssRsValue), (LexTokens{{".5", N}, {"em 1..2", V}}));
    EXPECT_EQ(lex("1..2", cssRsBlock), (LexTokens{{"1", N}, {"..2", N}}));
}

TEST(CssRules, PropertyNamesIgnoreCaseButNotDigits)
{
    EXPECT_EQ(lex("FONT-SIZE", cssRsBlock), (LexTokens{{"FONT-SIZE", P}}));
    EXPECT_EQ(lex("font-size2", cssRsBlock), (LexTokens{{"font-size2", U}}));
    EXPECT_EQ(lex("colour", cssRsAfterSemicolon), (LexTokens{{"colour", U}}));
    for (const char* name : {"azimuth", "border-left-width", "margin-bottom", "padding-left", "z-index",
                             "border-right-style", "speak-punctuation", "font-size-adjust", "cue"})
        EXPECT_EQ(lex(name, cssRsAfterSemicolon), (LexTokens{{name, P}})) << name;
    EXPECT_EQ(lex("-moz-opacity:", cssRsBlock), (LexTokens{{"-moz-opacity", U}, {":", Y}}));
}

TEST(CssRules, StringsEndAtTheirQuoteOrTheLineAndKeepTheState)
{
    EXPECT_EQ(lex("content: \"a;b\"; x", cssRsBlock),
              (LexTokens{{"content", P}, {":", Y}, {" ", W}, {"\"a;b\"", S}, {";", Y}, {" ", W}, {"x", U}}));
    TOstCssHighlighter hl;
    const auto lexed = LexLines(hl, {"p { content: \"open", "; color: red }"});
    EXPECT_EQ(lexed[0].tokens.back(), (LexToken{"\"open", S}));
    EXPECT_EQ(lexed[0].state, cssRsValue) << "the string leaves the state as it found it";
    EXPECT_EQ(lexed[1].tokens.front(), (LexToken{";", Y}));
    EXPECT_EQ(lexed[1].state, cssRsSelector);
}

// ---- Comments ------------------------------------------------------------------------

TEST(CssComments, ACommentReturnsToTheStateItInterrupted)
{
    EXPECT_EQ(lex("/* a */ p"), (LexTokens{{"/* a */", C}, {" p", K}}));
    EXPECT_EQ(lex("p { /* a */ color", cssRsSelector),
              (LexTokens{{"p ", K}, {"{", Y}, {" ", W}, {"/* a */", C}, {" ", W}, {"color", P}}));
    EXPECT_EQ(lex("a/**/b"), (LexTokens{{"a", K}, {"/**/", C}, {"b", K}}));
    EXPECT_EQ(stateAfter("/*/"), CssCommentState(cssRsSelector));
}

TEST(CssComments, OpenCommentsCarryTheirReturnStateOverLines)
{
    TOstCssHighlighter hl;
    const auto outside = LexLines(hl, {"/* a", "", "b */ p"});
    EXPECT_EQ(outside[0].tokens, (LexTokens{{"/* a", C}}));
    EXPECT_EQ(outside[0].state, CssCommentState(cssRsSelector));
    EXPECT_TRUE(outside[1].tokens.empty());
    EXPECT_EQ(outside[1].state, CssCommentState(cssRsSelector));
    EXPECT_EQ(outside[2].tokens, (LexTokens{{"b */", C}, {" p", K}}));

    const auto inBlock = LexLines(hl, {"p { margin: 0; /* one", "two */ padding: 0 }"});
    EXPECT_EQ(inBlock[0].state, CssCommentState(cssRsAfterSemicolon));
    EXPECT_EQ(inBlock[1].tokens,
              (LexTokens{{"two */", C}, {" ", W}, {"padding", P}, {":", Y}, {" ", W}, {"0", N}, {" ", W}, {"}", Y}}));

    // A lexer that last opened a comment elsewhere must still resume the
    // stored line correctly: the state, not the lexer, remembers.
    TOstCssHighlighter other;
    other.StartLine("x { y: /* z", 0);
    other.SkipToLineEnd();
    EXPECT_EQ(LexLine(other, "*/ 12", inBlock[0].state), (LexTokens{{"*/", C}, {" ", W}, {"12", N}}));
    EXPECT_EQ(LexLine(other, "*/ 12", CssCommentState(cssRsValue)), (LexTokens{{"*/", C}, {" ", W}, {"12", N}}));
    EXPECT_EQ(stateAfter("*/", CssCommentState(cssRsValue)), cssRsValue);
    EXPECT_EQ(stateAfter("*/", cssRsComment), cssRsSelector) << "a bare comment state returns to the selectors";
}

TEST(CssComments, StatesNeverStoredRestartAmongTheSelectors)
{
    for (const intptr_t bad : {intptr_t{-1}, intptr_t{6}, intptr_t{0x700}, intptr_t{0x301}, intptr_t{1} << 40})
        EXPECT_EQ(stateAfter("", bad), cssRsSelector) << bad;
    for (intptr_t state = cssRsUnused; state <= cssRsValue; ++state)
        EXPECT_EQ(stateAfter("", state), state) << "an empty line keeps the state";
}

// ---- Class facts ------------------------------------------------------------------------

TEST(CssClass, AttributesDefaultsAndRoles)
{
    TOstCssHighlighter hl;
    struct Expected {
        const char* name;
        TColor foreground;
        TFontStyles style;
    };
    const Expected expected[] = {
        {"Color Value", clNone, 0}, {"Comment", clNone, 0}, {"Number", clNone, 0}, {"Property", clNone, fsBold},
        {"Reserved Word", 0x00FF0080, fsBold}, {"Space", clNone, 0}, {"String", clNone, 0}, {"Symbol", clNone, 0},
        {"Text", clNone, 0}, {"Undefined Property", 0x00FF0080, fsBold}, {"Value", 0x00FF8000, 0},
    };
    ASSERT_EQ(hl.AttributeCount(), 11);
    for (int i = 0; i < 11; ++i) {
        const TOstHighlighterAttributes* a = hl.AttributeAt(i);
        EXPECT_EQ(a->Name(), expected[i].name);
        EXPECT_EQ(a->Foreground(), expected[i].foreground) << a->Name();
        EXPECT_EQ(a->Style(), expected[i].style) << a->Name();
        EXPECT_EQ(a->Background(), clNone) << a->Name();
    }
    EXPECT_EQ(hl.DefaultAttribute(daComment), hl.CommentAttri);
    EXPECT_EQ(hl.DefaultAttribute(daKeyword), hl.KeyAttri);
    EXPECT_EQ(hl.DefaultAttribute(daString), hl.StringAttri);
    EXPECT_EQ(hl.DefaultAttribute(daWhitespace), hl.SpaceAttri);
    EXPECT_EQ(hl.DefaultAttribute(daIdentifier), nullptr);
    EXPECT_EQ(hl.DefaultAttribute(daSymbol), nullptr);
}

TEST(CssClass, TitleFilterSampleAndWordCharacters)
{
    TOstCssHighlighter hl;
    EXPECT_STREQ(TOstCssHighlighter::LanguageTitle(), "Cascading Style Sheet");
    EXPECT_EQ(hl.DefaultFilter(), "Cascading Stylesheets (*.css)|*.css");
    EXPECT_FALSE(hl.IsFilterStored()) << "the class's own filter is not worth storing";
    hl.SetDefaultFilter("Style sheets (*.css)|*.css");
    EXPECT_TRUE(hl.IsFilterStored());
    const auto sample = LexLines(hl, BufferLines(hl.SampleText()));
    ASSERT_EQ(sample.size(), 3u);
    EXPECT_EQ(sample[1].tokens.front(), (LexToken{"body ", K}));
    EXPECT_EQ(sample[2].tokens.at(13), (LexToken{"#000099", H}));
    const TOstCharSet ident = hl.IdentifierChars();
    EXPECT_TRUE(ident['-'] && ident['_'] && ident['0'] && ident['Z'] && ident['z']);
    EXPECT_FALSE(ident[':'] || ident['.'] || ident[0xE9]);
}

// ---- Properties over many inputs ---------------------------------------------------------

namespace {

using Lexer = TOstCssHighlighter;
const LexerFacts kFacts = FactsOf<Lexer>(
    cssTkNull, {&Lexer::CommentAttri, &Lexer::PropertyAttri, &Lexer::KeyAttri, nullptr, &Lexer::SpaceAttri,
                &Lexer::StringAttri, &Lexer::SymbolAttri, &Lexer::TextAttri, &Lexer::UndefPropertyAttri,
                &Lexer::ValueAttri, &Lexer::ColourAttri, &Lexer::NumberAttri});

}  // namespace

TEST(CssProperties, GeneratedLinesAreCoveredAndRestartExactly)
{
    const std::vector<std::string> pieces = {
        "/*", "*/", "/", "*", "{", "}", ":", ";", ",", "\"", "#", "#fA0", ".", "..", "1", "12.5", " ", "\t",
        "\r", "color", "font-size", "made-up", "red", "p.x", "\xEA", "!important", "@media", "url(a)"};
    ExpectGeneratedDocumentsConsistent(kFacts, pieces, 1998, 300, cssRsSelector);
    ExpectAllBytesCovered(kFacts, {cssRsSelector, cssRsUnused, cssRsBlock, cssRsAfterSemicolon, cssRsValue,
                                   cssRsComment, CssCommentState(cssRsBlock), CssCommentState(cssRsValue)});
}

TEST(CssProperties, RealFilesAreCoveredWithEitherLineBreak)
{
    ExpectDataFilesConsistent(kFacts, "css", {".css"}, 3, cssRsSelector);
}

TEST(CssProperties, EditorStatesAfterRandomEditsEqualAFullRescan)
{
    ExpectIncrementalStatesExact(kFacts, "css/shop.css");
}
