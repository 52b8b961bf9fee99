#include <gtest/gtest.h>

#include <random>

#include "editor/OstEditTextBuffer.h"
#include "highlighters/OstHighlighterHtml.h"
#include "support/TestSupport.h"

using namespace ostrel;

namespace {

struct Token {
    std::string text;
    int kind;
    friend bool operator==(const Token&, const Token&) = default;
};

std::ostream& operator<<(std::ostream& out, const Token& t)
{
    return out << '{' << '"' << t.text << "\", " << t.kind << '}';
}

struct LexedLine {
    std::vector<Token> tokens;
    intptr_t state = 0;
};

// Lexes the lines one after the other, each from the state the line above
// left, as the editor does.
std::vector<LexedLine> lexLines(TOstHTMLHighlighter& hl, const std::vector<std::string>& lines)
{
    std::vector<LexedLine> out;
    hl.ClearLineState();
    for (size_t i = 0; i < lines.size(); ++i) {
        LexedLine lexed;
        hl.StartLine(lines[i], static_cast<int>(i));
        for (; !hl.AtLineEnd(); hl.NextToken())
            lexed.tokens.push_back({hl.TokenText(), hl.TokenKind()});
        lexed.state = hl.LineState();
        out.push_back(std::move(lexed));
    }
    return out;
}

std::vector<Token> lexOne(const std::string& line, intptr_t state = htmlRsText)
{
    TOstHTMLHighlighter hl;
    hl.RestoreLineState(state);
    hl.StartLine(line, 0);
    std::vector<Token> tokens;
    for (; !hl.AtLineEnd(); hl.NextToken())
        tokens.push_back({hl.TokenText(), hl.TokenKind()});
    return tokens;
}

intptr_t stateAfter(const std::string& line, intptr_t state = htmlRsText)
{
    TOstHTMLHighlighter hl;
    hl.RestoreLineState(state);
    hl.StartLine(line, 0);
    hl.SkipToLineEnd();
    return hl.LineState();
}

constexpr int E = htmlTkEntity, C = htmlTkComment, I = htmlTkIdentifier, K = htmlTkKey,
              W = htmlTkSpace, S = htmlTkSymbol, T = htmlTkText, U = htmlTkUndefKey, V = htmlTkValue;

}  // namespace

// ---- Comments --------------------------------------------------------------

TEST(HtmlComments, OneLineCommentClosesAtDashDashGreater)
{
    EXPECT_EQ(lexOne("<!-- a -- b -->x"),
              (std::vector<Token>{{"<!--", C}, {" a -- b -->", C}, {"x", T}}));
    EXPECT_EQ(stateAfter("<!-- a -- b -->"), htmlRsText);
    EXPECT_EQ(lexOne("<!-->after"), (std::vector<Token>{{"<!--", C}, {">", C}, {"after", T}}))
        << "the opener's dashes close it";
    EXPECT_EQ(lexOne("<!--->"), (std::vector<Token>{{"<!--", C}, {"->", C}}));
}

TEST(HtmlComments, StayOpenOverLinesUntilALineHoldsTheEnd)
{
    TOstHTMLHighlighter hl;
    const auto lexed = lexLines(hl, {"<p><!-- open", "", "still --", "> not closed: the dashes were above",
                                     "<b> -->tail"});
    EXPECT_EQ(lexed[0].state, htmlRsComment);
    EXPECT_TRUE(lexed[1].tokens.empty()) << "an empty line yields only the end of line";
    EXPECT_EQ(lexed[1].state, htmlRsComment);
    EXPECT_EQ(lexed[2].state, htmlRsComment);
    EXPECT_EQ(lexed[3].tokens, (std::vector<Token>{{"> not closed: the dashes were above", C}}));
    EXPECT_EQ(lexed[4].tokens, (std::vector<Token>{{"<b> -->", C}, {"tail", T}}));
    EXPECT_EQ(lexed[4].state, htmlRsText);
}

// ---- Tags, attributes and values ---------------------------------------------

TEST(HtmlTags, NamesAttributesAndValues)
{
    EXPECT_EQ(lexOne("<body bgcolor=\"red\">"),
              (std::vector<Token>{{"<", S}, {"body", K}, {" ", W}, {"bgcolor", I}, {"=", S},
                                  {"\"red\"", V}, {">", S}}));
    EXPECT_EQ(lexOne("<td width=50%>"),
              (std::vector<Token>{{"<", S}, {"td", K}, {" ", W}, {"width", I}, {"=", S}, {"50%", V}, {">", S}}));
    EXPECT_EQ(lexOne("<a\thref = 'x'>"),
              (std::vector<Token>{{"<", S}, {"a", K}, {"\t", W}, {"href", I}, {" ", W}, {"=", S},
                                  {" ", W}, {"'x'", V}, {">", S}}));
}

TEST(HtmlTags, KnownUnknownAndClosingNames)
{
    EXPECT_EQ(lexOne("<invalid>")[1], (Token{"invalid", U}));
    EXPECT_EQ(lexOne("</table>")[1], (Token{"/table", K}));
    EXPECT_EQ(lexOne("<h7>")[1], (Token{"h7", U}));
    EXPECT_EQ(lexOne("<h1>")[1], (Token{"h1", K}));
    EXPECT_EQ(lexOne("<H1>")[1], (Token{"H1", K}));
    EXPECT_EQ(lexOne("<LeGeNd>")[1], (Token{"LeGeNd", K}));
    EXPECT_EQ(lexOne("<!doctype html>")[1], (Token{"!doctype", K}));
    EXPECT_EQ(lexOne("</blockquote>")[1], (Token{"/blockquote", K})) << "the largest hash value";
    EXPECT_EQ(lexOne("</br>")[1], (Token{"/br", U})) << "no closing form listed";
    EXPECT_EQ(lexOne("</plaintext>")[1], (Token{"/plaintext", U}));
    EXPECT_EQ(lexOne("<customelement>")[1], (Token{"customelement", U}));
    EXPECT_EQ(lexOne("<supercalifragilisticexpialidocious>")[1],
              (Token{"supercalifragilisticexpialidocious", I}))
        << "hash above the table";
    EXPECT_EQ(lexOne("<tablex>")[1], (Token{"tablex", U}));
}

TEST(HtmlTags, NameThatCannotStartGivesAnEmptyToken)
{
    EXPECT_EQ(lexOne("<.x>"), (std::vector<Token>{{"<", S}, {"", U}, {".x", I}, {">", S}}));
    EXPECT_EQ(lexOne("<\"q\">"), (std::vector<Token>{{"<", S}, {"", U}, {"\"q", I}, {"\"", I}, {">", S}}));
    EXPECT_EQ(lexOne("<&amp;"), (std::vector<Token>{{"<", S}, {"&", T}, {"amp;", T}}));
    EXPECT_EQ(lexOne("<2>"), (std::vector<Token>{{"<", S}, {"2", U}, {">", S}}));
}

TEST(HtmlTags, OpenTagCarriesOverLines)
{
    TOstHTMLHighlighter hl;
    const auto lexed = lexLines(hl, {"<img", "  src=a.png alt=\"two", "words\">text"});
    EXPECT_EQ(lexed[0].state, htmlRsTag);
    EXPECT_EQ(lexed[1].tokens, (std::vector<Token>{{"  ", W}, {"src", I}, {"=", S}, {"a.png", V},
                                                   {" ", W}, {"alt", I}, {"=", S}, {"\"two", V}}));
    EXPECT_EQ(lexed[1].state, htmlRsDoubleQuoteValue);
    EXPECT_EQ(lexed[2].tokens, (std::vector<Token>{{"words\"", V}, {">", S}, {"text", T}}));
    EXPECT_EQ(stateAfter("<"), htmlRsTagName);
    EXPECT_EQ(lexOne("table>", htmlRsTagName)[0], (Token{"table", K}));
}

TEST(HtmlTags, SingleQuotedValueAcrossLines)
{
    TOstHTMLHighlighter hl;
    const auto lexed = lexLines(hl, {"    <input name=\"user\" value='any", "      value'>", ""});
    EXPECT_EQ(lexed[0].tokens.back(), (Token{"'any", V}));
    EXPECT_EQ(lexed[0].state, htmlRsQuoteValue);
    EXPECT_EQ(lexed[1].tokens, (std::vector<Token>{{"      value'", V}, {">", S}}));
    EXPECT_EQ(lexed[1].state, htmlRsText);
    EXPECT_EQ(stateAfter("", htmlRsQuoteValue), htmlRsQuoteValue) << "an empty line keeps the value open";
}

// ---- Text and entities ---------------------------------------------------------

TEST(HtmlText, EntitiesSplitTheText)
{
    EXPECT_EQ(lexOne("Sample HTML code &copy; 2001"),
              (std::vector<Token>{{"Sample HTML code ", T}, {"&copy;", E}, {" 2001", T}}));
    EXPECT_EQ(lexOne("&lt;p&gt;"),
              (std::vector<Token>{{"", T}, {"&lt;", E}, {"p", T}, {"&gt;", E}}))
        << "a run starting with an entity first yields an empty text token";
    EXPECT_EQ(lexOne("&AMP; &foo; & x"), (std::vector<Token>{{"&AMP; &foo; & x", T}}));
    EXPECT_EQ(lexOne("&sigmaf;&sigma;")[1], (Token{"&sigmaf;", E}));
    EXPECT_EQ(lexOne("&sigmaf;&sigma;")[3], (Token{"&sigma;", E}));
    EXPECT_EQ(lexOne("x&amp"), (std::vector<Token>{{"x&amp", T}}));
}

TEST(HtmlText, NumericReferences)
{
    EXPECT_EQ(lexOne("a&#x41;b"), (std::vector<Token>{{"a", T}, {"&#x41;", E}, {"b", T}}));
    EXPECT_EQ(lexOne("a&#65;b"), (std::vector<Token>{{"a", T}, {"&#65;", E}, {"b", T}}));
    EXPECT_EQ(lexOne("a&#65b"), (std::vector<Token>{{"a&#65", T}, {"b", T}}));
    EXPECT_EQ(lexOne("&#XfF;"), (std::vector<Token>{{"", T}, {"&#XfF;", E}}));
    EXPECT_EQ(lexOne("&#"), (std::vector<Token>{{"&#", T}}));
    EXPECT_EQ(lexOne("1 &#x"), (std::vector<Token>{{"1 &#x", T}}));
}

TEST(HtmlText, ControlCharactersAndTabsAreWhitespace)
{
    EXPECT_EQ(lexOne("a\t\tb c"), (std::vector<Token>{{"a", T}, {"\t", W}, {"\t", W}, {"b c", T}}));
    EXPECT_EQ(lexOne("\x01\x02 x"), (std::vector<Token>{{"\x01\x02 ", W}, {"x", T}}));
    EXPECT_EQ(lexOne("a\r\nb\rc\nd"),
              (std::vector<Token>{{"a", T}, {"\r\n", W}, {"b", T}, {"\r", W}, {"c", T}, {"\n", W}, {"d", T}}));
    EXPECT_EQ(lexOne("x > y = z"), (std::vector<Token>{{"x > y = z", T}}));
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

// Checks that the tokens of every line are contiguous, start at 0, cover the
// line exactly and come with the attribute of their kind; and that lexing a
// line from its stored state gives what lexing straight through gave.
TOstHighlighterAttributes* attributeOfKind(const TOstHTMLHighlighter& hl, int kind)
{
    TOstHighlighterAttributes* const byKind[] = {hl.AndAttri, hl.CommentAttri, hl.IdentifierAttri,
                                                 hl.KeyAttri, nullptr, hl.SpaceAttri, hl.SymbolAttri,
                                                 hl.TextAttri, hl.UndefKeyAttri, hl.ValueAttri};
    return byKind[kind];
}

void checkCoverage(const std::vector<std::string>& lines, const std::string& what,
                   intptr_t firstState = htmlRsText)
{
    TOstHTMLHighlighter hl;
    TOstHTMLHighlighter restarted;
    hl.RestoreLineState(firstState);
    intptr_t stored = firstState;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        hl.StartLine(line, static_cast<int>(i));
        restarted.RestoreLineState(stored);
        restarted.StartLine(line, static_cast<int>(i));
        int pos = 0;
        int count = 0;
        for (; !hl.AtLineEnd(); hl.NextToken(), restarted.NextToken()) {
            ASSERT_EQ(hl.TokenStart(), pos) << what << " line " << i + 1;
            ASSERT_GE(hl.TokenLength(), 0);
            ASSERT_LE(++count, 2 * static_cast<int>(line.size()) + 2) << what << ": no progress";
            ASSERT_GE(hl.TokenKind(), 0);
            ASSERT_LE(hl.TokenKind(), 9);
            ASSERT_NE(hl.TokenKind(), htmlTkNull);
            ASSERT_EQ(hl.TokenAttribute(), attributeOfKind(hl, hl.TokenKind()));
            ASSERT_EQ(restarted.TokenKind(), hl.TokenKind());
            ASSERT_EQ(restarted.TokenLength(), hl.TokenLength());
            pos += hl.TokenLength();
        }
        ASSERT_TRUE(restarted.AtLineEnd());
        ASSERT_EQ(pos, static_cast<int>(line.size())) << what << " line " << i + 1;
        ASSERT_EQ(restarted.LineState(), hl.LineState());
        stored = hl.LineState();
    }
}

std::vector<std::string> bufferLines(const std::string& bytes)
{
    TOstEditStringList buffer;
    buffer.LoadFromBytes(bytes);
    std::vector<std::string> lines;
    for (int i = 0; i < buffer.Count(); ++i)
        lines.emplace_back(buffer.Get(i));
    return lines;
}

}  // namespace

TEST(HtmlProperties, TokensCoverGeneratedLines)
{
    const std::vector<std::string> pieces = {
        "<", ">", "=", "\"", "'", "&", "&#", "&#x", ";", "<!--", "-->", "--", "-", "!", "/",
        " ", "\t", "\x01", "\r", "a", "Z", "9", "table", "/table", "h1", "amp;", "copy;",
        "nbsp;", "x41", "\xB9\xEA", "\xFF", "value", "<br>", "</", "&lt;", "#", "DOCTYPE"};
    std::mt19937 rng(20031205);
    std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 24);
    for (int doc = 0; doc < 300; ++doc) {
        std::vector<std::string> lines(8);
        for (std::string& line : lines)
            for (int n = length(rng); n > 0; --n)
                line += pieces[pick(rng)];
        checkCoverage(lines, "generated document " + std::to_string(doc));
    }
    // Every byte value, after every state.
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    for (intptr_t state = 0; state <= 8; ++state)
        checkCoverage({all, all}, "all bytes from state " + std::to_string(state), state);
}

TEST(HtmlProperties, TokensCoverRealPages)
{
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(OSTREL_TEST_DATA) + "/html")) {
        if (entry.path().extension() != ".html")
            continue;
        ++files;
        const std::string bytes = ostrel::test::readFile(entry.path());
        checkCoverage(bufferLines(bytes), entry.path().filename().string());
    }
    EXPECT_GE(files, 3);
}

TEST(HtmlProperties, LineBreakStyleDoesNotChangeTheTokens)
{
    const std::string crlf = ostrel::test::readFile(std::string(OSTREL_TEST_DATA) + "/html/catalogue.html");
    std::string lf;
    for (char c : crlf)
        if (c != '\r')
            lf += c;
    ASSERT_NE(lf.size(), crlf.size());
    TOstHTMLHighlighter a;
    TOstHTMLHighlighter b;
    const auto fromCrLf = lexLines(a, bufferLines(crlf));
    const auto fromLf = lexLines(b, bufferLines(lf));
    ASSERT_EQ(fromCrLf.size(), fromLf.size());
    for (size_t i = 0; i < fromLf.size(); ++i) {
        EXPECT_EQ(fromCrLf[i].tokens, fromLf[i].tokens) << "line " << i + 1;
        EXPECT_EQ(fromCrLf[i].state, fromLf[i].state) << "line " << i + 1;
    }
}
