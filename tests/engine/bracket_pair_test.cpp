// The bracket pair beside the caret: which bracket counts, how its partner is
// found past brackets in strings and comments, and how the pair is painted.

#include <gtest/gtest.h>

#include <string>

#include "editor/OstEdit.h"
#include "highlighters/OstHighlighterCpp.h"
#include "highlighters/OstHighlighterHtml.h"
#include "platform/RecordingCanvas.h"

using namespace ostrel;

namespace {

struct Fixture {
    TOstEdit ed;
    explicit Fixture(const std::string& text, TOstCustomHighlighter* highlighter = nullptr)
    {
        ed.Lines().LoadFromBytes(text, TOstEncodingChoice{TOstEncoding::Utf8});
        ed.SetHighlighter(highlighter);
    }
    ~Fixture() { ed.SetHighlighter(nullptr); }
    TOstBracketPair at(int c, int l) { return ed.FindBracketPair({c, l}); }
};

TOstBracketPair Pair(int c1, int l1, int c2, int l2) { return {{c1, l1}, {c2, l2}, true}; }

}  // namespace

TEST(BracketPair, TheBracketAfterTheCaretFirstThenTheOneBeforeIt)
{
    Fixture f("f(a[b]{c})\r\n");
    EXPECT_EQ(f.at(2, 1), Pair(2, 1, 10, 1));   // before "("
    EXPECT_EQ(f.at(3, 1), Pair(2, 1, 10, 1));   // after "(", before "a"
    EXPECT_EQ(f.at(4, 1), Pair(4, 1, 6, 1));    // before "["
    EXPECT_EQ(f.at(9, 1), Pair(7, 1, 9, 1));    // before "}"
    EXPECT_EQ(f.at(11, 1), Pair(2, 1, 10, 1));  // after ")"
    EXPECT_FALSE(f.at(1, 1).Found);
}

TEST(BracketPair, PartnersAcrossLinesAndUnmatchedBrackets)
{
    Fixture f("if (x) {\r\n  y();\r\n}\r\n{ (\r\n");
    EXPECT_EQ(f.at(8, 1), Pair(8, 1, 1, 3));
    EXPECT_EQ(f.at(2, 3), Pair(8, 1, 1, 3));
    EXPECT_FALSE(f.at(1, 4).Found) << "no partner";
}

TEST(BracketPair, BracketsInStringsAndCommentsDoNotCount)
{
    TOstCppHighlighter cpp;
    Fixture f("f(\"(\", x /* ) */);\r\n", &cpp);
    EXPECT_EQ(f.at(2, 1), Pair(2, 1, 17, 1));
    EXPECT_FALSE(f.at(4, 1).Found) << "a bracket in a string has no pair";
}

TEST(BracketPair, AngleBracketsPairOnlyInMarkup)
{
    TOstHTMLHighlighter html;
    Fixture page("<b>x</b>\r\n", &html);
    EXPECT_EQ(page.at(1, 1), Pair(1, 1, 3, 1));
    TOstCppHighlighter cpp;
    Fixture code("a<b>c\r\n", &cpp);
    EXPECT_FALSE(code.at(2, 1).Found);
}

TEST(BracketPair, ThePairIsPaintedInTheBracketColourAsTheCaretMoves)
{
    Fixture f("x(ab)y\r\n");
    f.ed.SetClientSize(f.ed.GutterWidth() + 2 + 20 * f.ed.CharWidth(), 5 * f.ed.LineHeight());
    f.ed.SetBracketHighlight(true);
    f.ed.SetCaretXY({2, 1});
    EXPECT_EQ(f.ed.ShownBracketPair(), Pair(2, 1, 5, 1));
    RecordingCanvas canvas;
    f.ed.Paint(canvas, {0, 0, f.ed.ClientWidth(), f.ed.ClientHeight()});
    const auto cellBackground = [&](int column) {
        return canvas.PixelAt(f.ed.TextOffset() + (column - 1) * f.ed.CharWidth() + 2, f.ed.LineHeight() / 2).background;
    };
    EXPECT_EQ(cellBackground(2), f.ed.BracketColor());
    EXPECT_EQ(cellBackground(5), f.ed.BracketColor());
    EXPECT_NE(cellBackground(3), f.ed.BracketColor());
    f.ed.SetCaretXY({1, 1});
    EXPECT_FALSE(f.ed.ShownBracketPair().Found);
    canvas.Clear();
    f.ed.Paint(canvas, {0, 0, f.ed.ClientWidth(), f.ed.ClientHeight()});
    EXPECT_NE(cellBackground(2), f.ed.BracketColor());
}
