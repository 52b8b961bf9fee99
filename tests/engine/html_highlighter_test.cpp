#include <gtest/gtest.h>

#include "editor/OstEditTextBuffer.h"
#include "highlighters/OstHighlighterHtml.h"
#include "support/LexerChecks.h"
#include "support/TestSupport.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

const FreshLexer<TOstHTMLHighlighter> lexOne{htmlRsText};
const FreshStateAfter<TOstHTMLHighlighter> stateAfter{htmlRsText};

constexpr int E = htmlTkEntity, C = htmlTkComment, I = htmlTkIdentifier, K = htmlTkKey,
              W = htmlTkSpace, S = htmlTkSymbol, T = htmlTkText, U = htmlTkUndefKey, V = htmlTkValue;

}  // namespace

// ---- Comments --------------------------------------------------------------

TEST(HtmlComments, OneLineCommentClosesAtDashDashGreater)
{
    EXPECT_EQ(lexOne("<!-- a -- b -->x"), (LexTokens{{"<!--", C}, {" a -- b -->", C}, {"x", T}}));
    EXPECT_EQ(stateAfter("<!-- a -- b -->"), htmlRsText);
    EXPECT_EQ(lexOne("<!-->after"), (LexTokens{{"<!--", C}, {">", C}, {"after", T}})) << "the opener's dashes close it";
    EXPECT_EQ(lexOne("<!--->"), (LexTokens{{"<!--", C}, {"->", C}}));
}

TEST(HtmlComments, StayOpenOverLinesUntilALineHoldsTheEnd)
{
    TOstHTMLHighlighter hl;
    const auto lexed =
        LexLines(hl, {"<p><!-- open", "", "still --", "> not closed: the dashes were above", "<b> -->tail"});
    EXPECT_EQ(lexed[0].state, htmlRsComment);
    EXPECT_TRUE(lexed[1].tokens.empty()) << "an empty line yields only the end of line";
    EXPECT_EQ(lexed[1].state, htmlRsComment);
    EXPECT_EQ(lexed[2].state, htmlRsComment);
    EXPECT_EQ(lexed[3].tokens, (LexTokens{{"> not closed: the dashes were above", C}}));
    EXPECT_EQ(lexed[4].tokens, (LexTokens{{"<b> -->", C}, {"tail", T}}));
    EXPECT_EQ(lexed[4].state, htmlRsText);
}

// ---- Tags, attributes and values ---------------------------------------------

TEST(HtmlTags, NamesAttributesAndValues)
{
    EXPECT_EQ(lexOne("<body bgcolor=\"red\">"),
              (LexTokens{{"<", S}, {"body", K}, {" ", W}, {"bgcolor", I}, {"=", S}, {"\"red\"", V}, {">", S}}));
    EXPECT_EQ(lexOne("<td width=50%>"),
              (LexTokens{{"<", S}, {"td", K}, {" ", W}, {"width", I}, {"=", S}, {"50%", V}, {">", S}}));
    EXPECT_EQ(
        lexOne("<a\thref = 'x'>"),
        (LexTokens{{"<", S}, {"a", K}, {"\t", W}, {"href", I}, {" ", W}, {"=", S}, {" ", W}, {"'x'", V}, {">", S}}));
}

TEST(HtmlTags, KnownUnknownAndClosingNames)
{
    EXPECT_EQ(lexOne("<invalid>")[1], (LexToken{"invalid", U}));
    EXPECT_EQ(lexOne("</table>")[1], (LexToken{"/table", K}));
    EXPECT_EQ(lexOne("<h7>")[1], (LexToken{"h7", U}));
    EXPECT_EQ(lexOne("<h1>")[1], (LexToken{"h1", K}));
    EXPECT_EQ(lexOne("<H1>")[1], (LexToken{"H1", K}));
    EXPECT_EQ(lexOne("<LeGeNd>")[1], (LexToken{"LeGeNd", K}));
    EXPECT_EQ(lexOne("<!doctype html>")[1], (LexToken{"!doctype", K}));
    EXPECT_EQ(lexOne("</blockquote>")[1], (LexToken{"/blockquote", K})) << "the largest hash value";
    EXPECT_EQ(lexOne("</br>")[1], (LexToken{"/br", U})) << "no closing form listed";
    EXPECT_EQ(lexOne("</plaintext>")[1], (LexToken{"/plaintext", U}));
    EXPECT_EQ(lexOne("<customelement>")[1], (LexToken{"customelement", U}));
    EXPECT_EQ(lexOne("<supercalifragilisticexpialidocious>")[1], (LexToken{"supercalifragilisticexpialidocious", I}))
        << "hash above the table";
    EXPECT_EQ(lexOne("<tablex>")[1], (LexToken{"tablex", U}));
}

TEST(HtmlTags, NameThatCannotStartGivesAnEmptyToken)
{
    EXPECT_EQ(lexOne("<.x>"), (LexTokens{{"<", S}, {"", U}, {".x", I}, {">", S}}));
    EXPECT_EQ(lexOne("<\"q\">"), (LexTokens{{"<", S}, {"", U}, {"\"q", I}, {"\"", I}, {">", S}}));
    EXPECT_EQ(lexOne("<&amp;"), (LexTokens{{"<", S}, {"&", T}, {"amp;", T}}));
    EXPECT_EQ(lexOne("<2>"), (LexTokens{{"<", S}, {"2", U}, {">", S}}));
}

TEST(HtmlTags, OpenTagCarriesOverLines)
{
    TOstHTMLHighlighter hl;
    const auto lexed = LexLines(hl, {"<img", "  src=a.png alt=\"two", "words\">text"});
    EXPECT_EQ(lexed[0].state, htmlRsTag);
    EXPECT_EQ(lexed[1].tokens,
              (LexTokens{{"  ", W}, {"src", I}, {"=", S}, {"a.png", V}, {" ", W}, {"alt", I}, {"=", S}, {"\"two", V}}));
    EXPECT_EQ(lexed[1].state, htmlRsDoubleQuoteValue);
    EXPECT_EQ(lexed[2].tokens, (LexTokens{{"words\"", V}, {">", S}, {"text", T}}));
    EXPECT_EQ(stateAfter("<"), htmlRsTagName);
    EXPECT_EQ(lexOne("table>", htmlRsTagName)[0], (LexToken{"table", K}));
}

TEST(HtmlTags, SingleQuotedValueAcrossLines)
{
    TOstHTMLHighlighter hl;
    const auto lexed = LexLines(hl, {"    <input name=\"user\" value='any", "      value'>", ""});
    EXPECT_EQ(lexed[0].tokens.back(), (LexToken{"'any", V}));
    EXPECT_EQ(lexed[0].state, htmlRsQuoteValue);
    EXPECT_EQ(lexed[1].tokens, (LexTokens{{"      value'", V}, {">", S}}));
    EXPECT_EQ(lexed[1].state, htmlRsText);
    EXPECT_EQ(stateAfter("", htmlRsQuoteValue), htmlRsQuoteValue) << "an empty line keeps the value open";
}

// ---- Text and entities ---------------------------------------------------------

TEST(HtmlText, EntitiesSplitTheText)
{
    EXPECT_EQ(lexOne("Sample HTML code &copy; 2001"),
              (LexTokens{{"Sample HTML code ", T}, {"&copy;", E}, {" 2001", T}}));
    EXPECT_EQ(lexOne("&lt;p&gt;"), (LexTokens{{"", T}, {"&lt;", E}, {"p", T}, {"&gt;", E}}))
        << "a run starting with an entity first yields an empty text token";
    EXPECT_EQ(lexOne("&AMP; &foo; & x"), (LexTokens{{"&AMP; &foo; & x", T}}));
    EXPECT_EQ(lexOne("&sigmaf;&sigma;")[1], (LexToken{"&sigmaf;", E}));
    EXPECT_EQ(lexOne("&sigmaf;&sigma;")[3], (LexToken{"&sigma;", E}));
    EXPECT_EQ(lexOne("x&amp"), (LexTokens{{"x&amp", T}}));
}

TEST(HtmlText, NumericReferences)
{
    EXPECT_EQ(lexOne("a&#x41;b"), (LexTokens{{"a", T}, {"&#x41;", E}, {"b", T}}));
    EXPECT_EQ(lexOne("a&#65;b"), (LexTokens{{"a", T}, {"&#65;", E}, {"b", T}}));
    EXPECT_EQ(lexOne("a&#65b"), (LexTokens{{"a&#65", T}, {"b", T}}));
    EXPECT_EQ(lexOne("&#XfF;"), (LexTokens{{"", T}, {"&#XfF;", E}}));
    EXPECT_EQ(lexOne("&#"), (LexTokens{{"&#", T}}));
    EXPECT_EQ(lexOne("1 &#x"), (LexTokens{{"1 &#x", T}}));
}

TEST(HtmlText, ControlCharactersAndTabsAreWhitespace)
{
    EXPECT_EQ(lexOne("a\t\tb c"), (LexTokens{{"a", T}, {"\t", W}, {"\t", W}, {"b c", T}}));
    EXPECT_EQ(lexOne("\x01\x02 x"), (LexTokens{{"\x01\x02 ", W}, {"x", T}}));
    EXPECT_EQ(lexOne("a\r\nb\rc\nd"),
              (LexTokens{{"a", T}, {"\r\n", W}, {"b", T}, {"\r", W}, {"c", T}, {"\n", W}, {"d", T}}));
    EXPECT_EQ(lexOne("x > y = z"), (LexTokens{{"x > y = z", T}}));
}

TEST(HtmlText, EmptyLineKeepsTheState)
{
    for (intptr_t state : {htmlRsText, htmlRsComment, htmlRsTag, htmlRsTagName, htmlRsValue,
                           htmlRsQuoteValue, htmlRsDoubleQuoteValue}) {
        EXPECT_TRUE(lexOne("", state).empty());
        EXPECT_EQ(stateAfter("", state), state);
    }
}

// ---- Class facts -----------------------------------------------------------------

TEST(HtmlClass, AttributesTheirDefaultsAndRoles)
{
    TOstHTMLHighlighter hl;
    struct Expected {
        const char* name;
        TColor foreground;
        TFontStyles style;
    };
    const Expected expected[] = {
        {"Comment", clNone, 0}, {"Escape Ampersand", 0x0000FF00, fsBold}, {"Identifier", clNone, fsBold},
        {"Reserved Word", 0x00FF0080, fsBold}, {"Space", clNone, 0}, {"Symbol", clNone, fsBold},
        {"Text", clNone, 0}, {"Unknown Word", 0x000000FF, fsBold}, {"Value", 0x00FF8000, 0},
    };
    ASSERT_EQ(hl.AttributeCount(), 9);
    for (int i = 0; i < 9; ++i) {
        const TOstHighlighterAttributes* a = hl.AttributeAt(i);
        EXPECT_EQ(a->Name(), expected[i].name);
        EXPECT_EQ(a->Foreground(), expected[i].foreground) << a->Name();
        EXPECT_EQ(a->Style(), expected[i].style) << a->Name();
        EXPECT_EQ(a->Background(), clNone) << a->Name();
        EXPECT_FALSE(a->IsForegroundStored() || a->IsStyleStored()) << "defaults snapshot the values";
    }
    EXPECT_EQ(hl.DefaultAttribute(daComment), hl.CommentAttri);
    EXPECT_EQ(hl.DefaultAttribute(daIdentifier), hl.IdentifierAttri);
    EXPECT_EQ(hl.DefaultAttribute(daKeyword), hl.KeyAttri);
    EXPECT_EQ(hl.DefaultAttribute(daString), nullptr);
    EXPECT_EQ(hl.DefaultAttribute(daWhitespace), hl.SpaceAttri);
    EXPECT_EQ(hl.DefaultAttribute(daSymbol), hl.SymbolAttri);

    hl.StartLine("", 0);
    EXPECT_EQ(hl.TokenAttribute(), nullptr) << "the end of line has no attribute";
}

TEST(HtmlClass, TitleFilterSampleAndWordCharacters)
{
    TOstHTMLHighlighter hl;
    EXPECT_STREQ(TOstHTMLHighlighter::LanguageTitle(), "HTML");
    EXPECT_EQ(hl.DefaultFilter(), "HTML Documents (*.htm,*.html)|*.htm;*.html");
    const std::string sample = hl.SampleText();
    EXPECT_TRUE(sample.starts_with("<!-- Syntax highlighting -->\r\n\r\n<html>\r\n"));
    EXPECT_TRUE(sample.ends_with("</body>\r\n</html>"));
    EXPECT_EQ(std::count(sample.begin(), sample.end(), '\n'), 10);
    const TOstCharSet ident = hl.IdentifierChars();
    EXPECT_TRUE(ident['_'] && ident['0'] && ident['z'] && ident[192] && ident[255]);
    EXPECT_FALSE(ident['-'] || ident[215] || ident[247] || ident[191]);
}

// ---- Properties over many inputs ---------------------------------------------------

namespace {

using Lexer = TOstHTMLHighlighter;
const LexerFacts kFacts =
    FactsOf<Lexer>(htmlTkNull, {&Lexer::AndAttri, &Lexer::CommentAttri, &Lexer::IdentifierAttri, &Lexer::KeyAttri,
                                nullptr, &Lexer::SpaceAttri, &Lexer::SymbolAttri, &Lexer::TextAttri,
                                &Lexer::UndefKeyAttri, &Lexer::ValueAttri});

}  // namespace

TEST(HtmlProperties, TokensCoverGeneratedLines)
{
    const std::vector<std::string> pieces = {
        "<", ">", "=", "\"", "'", "&", "&#", "&#x", ";", "<!--", "-->", "--", "-", "!", "/",
        " ", "\t", "\x01", "\r", "a", "Z", "9", "table", "/table", "h1", "amp;", "copy;",
        "nbsp;", "x41", "\xB9\xEA", "\xFF", "value", "<br>", "</", "&lt;", "#", "DOCTYPE"};
    ExpectGeneratedDocumentsConsistent(kFacts, pieces, 20031205, 300, htmlRsText, 24);
    // Every byte value, after every state.
    ExpectAllBytesCovered(kFacts, {htmlRsEntity, htmlRsComment, htmlRsTagName, htmlRsTag, htmlRsText, htmlRsUnused,
                                   htmlRsValue, htmlRsQuoteValue, htmlRsDoubleQuoteValue});
}

TEST(HtmlProperties, TokensCoverRealPages)
{
    ExpectDataFilesConsistent(kFacts, "html", {".html"}, 3, htmlRsText);
}

TEST(HtmlProperties, LineBreakStyleDoesNotChangeTheTokens)
{
    const std::string crlf = ReadFile(std::string(OSTREL_TEST_DATA) + "/html/catalogue.html");
    ASSERT_NE(crlf.find('\r'), std::string::npos) << "the sample has CR LF breaks";
    ExpectLineBreakStyleIrrelevant(kFacts, crlf, "catalogue.html");
}
