// Caret movement, page and scroll commands, and bracket matching.

#include <gtest/gtest.h>

#include "editor/OstEdit.h"

using namespace ostrel;

namespace {

struct Fixture {
    TOstEdit ed;
    explicit Fixture(std::string_view bytes, TOstEditorOptions options = TCustomOstEdit::DefaultOptions())
    {
        ed.SetOptions(options);
        ed.Lines().LoadFromBytes(bytes);
    }
    TBufferCoord run(TOstEditorCommand command, TBufferCoord from)
    {
        ed.SetCaretXY(from);
        ed.CommandProcessor(command, '\0');
        return ed.CaretXY();
    }
};

TOstEditorOptions With(std::initializer_list<TOstEditorOption> on, std::initializer_list<TOstEditorOption> off = {})
{
    TOstEditorOptions o = TCustomOstEdit::DefaultOptions();
    for (TOstEditorOption x : on) o.include(x);
    for (TOstEditorOption x : off) o.exclude(x);
    return o;
}

std::string NumberedLines(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    return text;
}

// Strings in double quotes and comments from '#' on, one token per other
// character: enough to see which brackets matching must skip.
class QuoteLexer : public TOstCustomHighlighter {
public:
    QuoteLexer()
    {
        comment_ = AddAttribute("Comment", clNone, 0);
        string_ = AddAttribute("String", clNone, 0);
        symbol_ = AddAttribute("Symbol", clNone, 0);
        BindAttributeChanges();
    }
    TOstHighlighterAttributes* DefaultAttribute(int role) const override
    {
        return role == daComment ? comment_ : role == daString ? string_ : role == daSymbol ? symbol_ : nullptr;
    }
    bool AtLineEnd() const override { return line_[tokenPos_] == 0; }
    void NextToken() override
    {
        tokenPos_ = run_;
        const unsigned char c = line_[run_];
        if (c == 0)
            return;
        ++run_;
        if (c == '#') {
            while (line_[run_] != 0) ++run_;
            attr_ = comment_;
        } else if (c == '"') {
            while (line_[run_] != 0 && line_[run_] != '"') ++run_;
            if (line_[run_] == '"') ++run_;
            attr_ = string_;
        } else {
            attr_ = symbol_;
        }
    }
    TOstHighlighterAttributes* TokenAttribute() const override { return attr_; }

private:
    TOstHighlighterAttributes* comment_;
    TOstHighlighterAttributes* string_;
    TOstHighlighterAttributes* symbol_;
    TOstHighlighterAttributes* attr_ = nullptr;
};

}  // namespace

TEST(WordMoves, StopAtWordStartsOverPunctuationAndLineEnds)
{
    Fixture f("foo.bar  (baz)\r\n  ;; next\r\n");
    EXPECT_EQ(f.run(ecWordRight, {2, 1}), (TBufferCoord{5, 1}));
    EXPECT_EQ(f.run(ecWordRight, {5, 1}), (TBufferCoord{11, 1}));
    EXPECT_EQ(f.run(ecWordRight, {11, 1}), (TBufferCoord{15, 1}));
    // From the line end to the first word character of the next line.
    EXPECT_EQ(f.run(ecWordRight, {15, 1}), (TBufferCoord{6, 2}));
    EXPECT_EQ(f.run(ecWordLeft, {6, 2}), (TBufferCoord{15, 1}));
    EXPECT_EQ(f.run(ecWordLeft, {1, 2}), (TBufferCoord{15, 1}));
    EXPECT_EQ(f.run(ecWordLeft, {14, 1}), (TBufferCoord{11, 1}));
    EXPECT_EQ(f.run(ecWordLeft, {9, 1}), (TBufferCoord{5, 1}));
    // Virtual space counts as the line end.
    EXPECT_EQ(f.run(ecWordLeft, {30, 1}), (TBufferCoord{11, 1}));
}

TEST(WordMoves, SelectingFormExtendsFromTheAnchor)
{
    Fixture f("alpha beta gamma\r\n");
    f.run(ecSelWordRight, {1, 1});
    f.ed.CommandProcessor(ecSelWordRight, '\0');
    EXPECT_EQ(f.ed.SelText(), "alpha beta ");
    f.ed.CommandProcessor(ecSelWordLeft, '\0');
    EXPECT_EQ(f.ed.SelText(), "alpha ");
    f.ed.CommandProcessor(ecWordRight, '\0');
    EXPECT_FALSE(f.ed.SelAvail());
}

TEST(HorizontalMoves, WrapToNeighbourLinesOnlyWithoutVirtualSpace)
{
    Fixture f("ab\r\ncd\r\n", With({}, {eoScrollPastEol}));
    EXPECT_EQ(f.run(ecRight, {3, 1}), (TBufferCoord{1, 2}));
    EXPECT_EQ(f.run(ecLeft, {1, 2}), (TBufferCoord{3, 1}));
    EXPECT_EQ(f.run(ecLeft, {1, 1}), (TBufferCoord{1, 1}));
    EXPECT_EQ(f.run(ecRight, {3, 2}), (TBufferCoord{3, 2}));

    Fixture g("ab\r\ncd\r\n");
    EXPECT_EQ(g.run(ecRight, {3, 1}), (TBufferCoord{4, 1}));
    EXPECT_EQ(g.run(ecLeft, {1, 2}), (TBufferCoord{1, 2}));
}

TEST(VerticalMoves, KeepTheColumnOrTheRememberedOne)
{
    Fixture f("abcdef\r\nab\r\nabcdef\r\n", With({}, {eoScrollPastEol}));
    f.run(ecDown, {6, 1});
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{3, 2}));
    f.ed.CommandProcessor(ecDown, '\0');
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{3, 3}));

    Fixture g("abcdef\r\nab\r\nabcdef\r\n", With({eoKeepCaretX}, {eoScrollPastEol}));
    g.run(ecDown, {6, 1});
    g.ed.CommandProcessor(ecDown, '\0');
    EXPECT_EQ(g.ed.CaretXY(), (TBufferCoord{6, 3}));
    g.ed.CommandProcessor(ecDown, '\0');
    EXPECT_EQ(g.ed.CaretY(), 3);

    // Columns, not characters: a TAB is wide.
    Fixture t("\tx\r\nabcdefghij\r\n");
    t.run(ecDown, {2, 1});
    EXPECT_EQ(t.ed.CaretXY(), (TBufferCoord{9, 2}));
}

TEST(HomeKey, EnhancedHomeTogglesBetweenTextStartAndLineStart)
{
    Fixture f("    abc\r\n\r\n", With({eoEnhanceHomeKey}));
    EXPECT_EQ(f.run(ecLineStart, {7, 1}).Char, 5);
    f.ed.CommandProcessor(ecLineStart, '\0');
    EXPECT_EQ(f.ed.CaretX(), 1);
    f.ed.CommandProcessor(ecLineStart, '\0');
    EXPECT_EQ(f.ed.CaretX(), 5);
    // From inside the indentation Home goes to character 1.
    EXPECT_EQ(f.run(ecLineStart, {3, 1}).Char, 1);
    EXPECT_EQ(f.run(ecLineStart, {4, 2}).Char, 1);

    Fixture plain("    abc\r\n");
    EXPECT_EQ(plain.run(ecLineStart, {7, 1}).Char, 1);
    plain.run(ecSelLineStart, {7, 1});
    EXPECT_EQ(plain.ed.SelText(), "    ab");
}

TEST(PageMoves, DistanceFollowsHalfPageAndOneLess)
{
    struct Case {
        TOstEditorOptions options;
        int distance;
    };
    const Case cases[] = {
        {With({}), 10},
        {With({eoHalfPageScroll}), 5},
        {With({eoScrollByOneLess}), 9},
        {With({eoHalfPageScroll, eoScrollByOneLess}), 4},
    };
    for (const Case& c : cases) {
        Fixture f(NumberedLines(100), c.options);
        f.ed.SetWindowSize(40, 10);
        f.ed.SetCaretXY({3, 2});
        f.ed.CommandProcessor(ecPageDown, '\0');
        EXPECT_EQ(f.ed.CaretY(), 2 + c.distance);
        EXPECT_EQ(f.ed.TopLine(), 1 + c.distance);
        EXPECT_EQ(f.ed.CaretX(), 3);
        f.ed.CommandProcessor(ecSelPageUp, '\0');
        EXPECT_EQ(f.ed.CaretY(), 2);
        EXPECT_EQ(f.ed.TopLine(), 1);
        EXPECT_EQ(f.ed.RawBlockBegin(), (TBufferCoord{3, 2 + c.distance}));
    }
}

TEST(PageMoves, PageUpAtTheTopAndDownAtTheEndStopAtTheEdges)
{
    Fixture f(NumberedLines(15));
    f.ed.SetWindowSize(40, 10);
    f.run(ecPageUp, {2, 3});
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{2, 1}));
    f.ed.CommandProcessor(ecPageDown, '\0');
    f.ed.CommandProcessor(ecPageDown, '\0');
    EXPECT_EQ(f.ed.CaretY(), 15);
    EXPECT_EQ(f.ed.TopLine(), 6);
}

TEST(PageMoves, PageTopAndBottomStayInsideTheWindow)
{
    Fixture f(NumberedLines(100));
    f.ed.SetWindowSize(40, 10);
    f.ed.SetTopLine(21);
    f.run(ecPageBottom, {4, 25});
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{4, 30}));
    EXPECT_EQ(f.ed.TopLine(), 21);
    f.ed.CommandProcessor(ecSelPageTop, '\0');
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{4, 21}));
    EXPECT_EQ(f.ed.TopLine(), 21);
    EXPECT_EQ(f.ed.RawBlockBegin(), (TBufferCoord{4, 30}));
}

TEST(ScrollCommands, MoveTheViewAndDragTheCaretAlongAtTheEdge)
{
    Fixture f(NumberedLines(100));
    f.ed.SetWindowSize(40, 10);
    f.run(ecScrollDown, {1, 1});
    EXPECT_EQ(f.ed.TopLine(), 2);
    EXPECT_EQ(f.ed.CaretY(), 2);
    f.ed.SetCaretXY({1, 5});
    f.ed.CommandProcessor(ecScrollDown, '\0');
    EXPECT_EQ(f.ed.TopLine(), 3);
    EXPECT_EQ(f.ed.CaretY(), 5);
    f.ed.SetCaretXY({1, 12});
    f.ed.CommandProcessor(ecScrollUp, '\0');
    EXPECT_EQ(f.ed.TopLine(), 2);
    EXPECT_EQ(f.ed.CaretY(), 11);
    // A caret out of view is only brought back.
    f.ed.SetTopLine(50);
    f.ed.CommandProcessor(ecScrollUp, '\0');
    EXPECT_EQ(f.ed.TopLine(), 11);
    EXPECT_EQ(f.ed.CaretY(), 11);
}

TEST(EditorMoves, EndsOfTheBufferAndSelectAll)
{
    Fixture f("one\r\ntwo\r\nlast");
    EXPECT_EQ(f.run(ecEditorBottom, {2, 1}), (TBufferCoord{5, 3}));
    EXPECT_EQ(f.run(ecEditorTop, {2, 3}), (TBufferCoord{1, 1}));
    f.run(ecSelectAll, {2, 2});
    EXPECT_EQ(f.ed.SelText(), "one\r\ntwo\r\nlast");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{5, 3}));
    const TBufferCoord target{2, 2};
    f.ed.CommandProcessor(ecSelGotoXY, '\0', &target);
    EXPECT_EQ(f.ed.SelText(), "one\r\nt");
    f.ed.CommandProcessor(ecGotoXY, '\0', nullptr);
    EXPECT_EQ(f.ed.CaretXY(), target);
}

TEST(BracketMatching, CountsNestingBothWaysAndAcrossLines)
{
    Fixture f("f(a(b))\r\nx { y [\r\n] }\r\nno (partner\r\n");
    EXPECT_EQ(f.run(ecMatchBracket, {2, 1}), (TBufferCoord{7, 1}));
    EXPECT_EQ(f.run(ecMatchBracket, {7, 1}), (TBufferCoord{2, 1}));
    EXPECT_EQ(f.run(ecMatchBracket, {4, 1}), (TBufferCoord{6, 1}));
    EXPECT_EQ(f.run(ecMatchBracket, {3, 2}), (TBufferCoord{3, 3}));
    EXPECT_EQ(f.run(ecMatchBracket, {1, 3}), (TBufferCoord{7, 2}));
    // No partner, or no bracket under the caret: the caret stays.
    EXPECT_EQ(f.run(ecMatchBracket, {4, 4}), (TBufferCoord{4, 4}));
    EXPECT_EQ(f.run(ecMatchBracket, {1, 1}), (TBufferCoord{1, 1}));
}

TEST(BracketMatching, SkipsBracketsInCommentsAndStrings)
{
    QuoteLexer lexer;
    Fixture f("call(\")\", x) # )\r\n)\r\n");
    f.ed.SetHighlighter(&lexer);
    EXPECT_EQ(f.run(ecMatchBracket, {5, 1}), (TBufferCoord{12, 1}));
    EXPECT_EQ(f.run(ecMatchBracket, {12, 1}), (TBufferCoord{5, 1}));
    f.ed.SetHighlighter(nullptr);
    EXPECT_EQ(f.run(ecMatchBracket, {5, 1}), (TBufferCoord{7, 1}));
}
