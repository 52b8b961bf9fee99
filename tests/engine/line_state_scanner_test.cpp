// The state kept for a line is the one at its end, whoever scans: a line
// lexed alone from the state stored for the line above gives the tokens and
// the end state that a scan from the top gives, and the editor stores the
// same states as it is edited.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/OstEdit.h"
#include "highlighters/OstHighlighterCpp.h"
#include "highlighters/OstHighlighterHtml.h"
#include "highlighters/OstLineStateScanner.h"

namespace ostrel {
namespace {

struct TToken {
    int start;
    int length;
    int kind;
    friend bool operator==(const TToken&, const TToken&) = default;
};

std::vector<TToken> TokensOfStartedLine(TOstCustomHighlighter& hl)
{
    std::vector<TToken> tokens;
    for (; !hl.AtLineEnd(); hl.NextToken())
        tokens.push_back({hl.TokenStart(), hl.TokenLength(), hl.TokenKind()});
    return tokens;
}

std::vector<TOstLineState> StatesFromTop(TOstCustomHighlighter& hl, const std::vector<std::string>& lines)
{
    std::vector<TOstLineState> states(lines.size());
    TOstLineStateScanner(hl, false)
        .ScanFromTop(
            static_cast<int>(lines.size()), [&lines](int i) { return std::string_view(lines[static_cast<size_t>(i)]); },
            [&states](int i, TOstLineState state) { states[static_cast<size_t>(i)] = state; });
    return states;
}

void ExpectEveryLineAloneAsFromTheTop(TOstCustomHighlighter& hl, const std::vector<std::string>& lines)
{
    const std::vector<TOstLineState> states = StatesFromTop(hl, lines);
    // The tokens of a continuous walk, line after line.
    std::vector<std::vector<TToken>> walked;
    TOstLineStateScanner walk(hl, false);
    walk.ClearState();
    for (size_t i = 0; i < lines.size(); ++i) {
        walk.ContinueLine(lines[i], static_cast<int>(i));
        walked.push_back(TokensOfStartedLine(hl));
        EXPECT_EQ(walk.EndState(), states[i]) << "line " << i;
    }
    // Each line alone, backwards so that nothing carries over.
    for (size_t i = lines.size(); i-- > 0;) {
        TOstLineStateScanner alone(hl, false);
        alone.StartLine(lines[i], static_cast<int>(i), i > 0 ? states[i - 1] : 12345);
        EXPECT_EQ(TokensOfStartedLine(hl), walked[i]) << "line " << i;
        EXPECT_EQ(alone.EndState(), states[i]) << "line " << i;
    }
}

TEST(LineStateScanner, ALineAloneFromTheStateAboveLexesAsTheWholeScan)
{
    TOstCppHighlighter cpp;
    ExpectEveryLineAloneAsFromTheTop(cpp, {"int a; /* one", "two", "three */ int b;", "\"s\" // c", "/* x */ y"});
    TOstHTMLHighlighter html;
    ExpectEveryLineAloneAsFromTheTop(html, {"<p class=\"a", "b\">text <!-- one", "two --> <b>x</b>", "&amp; <i", "id=1>"});
    // A comment changes the states of the lines after it.
    const std::vector<TOstLineState> plain = StatesFromTop(cpp, {"a", "b", "c"});
    const std::vector<TOstLineState> commented = StatesFromTop(cpp, {"/* a", "b", "c */"});
    EXPECT_NE(plain[1], commented[1]);
    EXPECT_EQ(plain[2], commented[2]);
}

TEST(LineStateScanner, TheEditorStoresTheEndStatesAScanFromTheTopGives)
{
    TOstCppHighlighter cpp;
    TOstEdit ed;
    ed.Lines().LoadFromBytes("int a;\r\nint b;\r\nint c;\r\nint d;\r\n");
    ed.SetHighlighter(&cpp);
    const auto expectStatesFromTop = [&] {
        std::vector<std::string> lines;
        for (int i = 0; i < ed.Lines().Count(); ++i)
            lines.emplace_back(ed.Lines().Get(i));
        const std::vector<TOstLineState> states = StatesFromTop(cpp, lines);
        for (int i = 0; i < ed.Lines().Count(); ++i)
            EXPECT_EQ(ed.Lines().LineRange(i), states[static_cast<size_t>(i)]) << "line " << i;
    };
    expectStatesFromTop();
    // Opening a comment changes every state below; closing it settles them.
    ed.SetCaretXY({1, 2});
    ed.SetSelText("/* ");
    expectStatesFromTop();
    ed.SetCaretXY({7, 3});
    ed.SetSelText(" */\r\nint e;");
    expectStatesFromTop();
    ed.Undo();
    expectStatesFromTop();
    ed.SetHighlighter(nullptr);
}

}  // namespace
}  // namespace ostrel
