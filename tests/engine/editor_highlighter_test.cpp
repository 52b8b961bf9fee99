// The highlighter of the editor control: stored line states, kept current
// after edits, and the token at a position.

#include <gtest/gtest.h>

#include "editor/OstEdit.h"
#include "highlighters/OstHighlighterFactory.h"
#include "highlighters/OstHighlighterHtml.h"
#include "support/HighlighterChecks.h"
#include "support/TestSupport.h"

using namespace ostrel;

namespace {

std::vector<TOstLineRange> States(const TOstEdit& ed)
{
    std::vector<TOstLineRange> s;
    for (int i = 0; i < ed.Lines().Count(); ++i)
        s.push_back(ed.Lines().LineRange(i));
    return s;
}

// The attribute name of the token at the start of a line.
std::string AttributeAtLineStart(TOstEdit& ed, int line)
{
    std::string token;
    int kind = 0;
    TOstHighlighterAttributes* attr = nullptr;
    if (!ed.GetHighlighterAttriAtRowCol({1, line}, token, kind, attr) || !attr)
        return std::string();
    return attr->Name();
}

const char* kPage = "<html>\r\n<body class=\"x\">\r\n<p>text &amp; more</p>\r\n</body>\r\n</html>\r\n";

}  // namespace

TEST(EditorHighlighter, OpeningACommentRecoloursTheLinesBelowAndClosingRestoresThem)
{
    TOstHTMLHighlighter html;
    TOstEdit ed;
    ed.Lines().LoadFromBytes(kPage);
    ed.SetHighlighter(&html);
    const std::vector<TOstLineRange> before = States(ed);
    const std::string tagAttribute = AttributeAtLineStart(ed, 4);
    const std::string commentName = html.DefaultAttribute(0)->Name();
    ASSERT_NE(tagAttribute, commentName);

    ed.SetCaretXY({1, 1});
    ed.SetSelText("<!--");
    EXPECT_EQ(AttributeAtLineStart(ed, 4), commentName);
    EXPECT_EQ(AttributeAtLineStart(ed, 5), commentName);

    ed.Undo();
    EXPECT_EQ(States(ed), before);
    EXPECT_EQ(AttributeAtLineStart(ed, 4), tagAttribute);
}

TEST(EditorHighlighter, TokenAtAPosition)
{
    TOstHTMLHighlighter html;
    TOstEdit ed;
    ed.Lines().LoadFromBytes(kPage);
    std::string token;
    int kind = -1;
    TOstHighlighterAttributes* attr = nullptr;
    EXPECT_FALSE(ed.GetHighlighterAttriAtRowCol({2, 3}, token, kind, attr));  // no highlighter yet
    ed.SetHighlighter(&html);
    ASSERT_TRUE(ed.GetHighlighterAttriAtRowCol({11, 3}, token, kind, attr));
    EXPECT_EQ(token, "&amp;");
    EXPECT_FALSE(ed.GetHighlighterAttriAtRowCol({40, 3}, token, kind, attr));  // beyond the line
    ed.SetHighlighter(nullptr);
}

TEST(EditorHighlighter, AttributeChangeRescansAndDetachStopsListening)
{
    TOstHTMLHighlighter html;
    TOstEdit ed;
    ed.Lines().LoadFromBytes(kPage);
    ed.SetHighlighter(&html);
    // Stale states are put right by the rescan an attribute change triggers.
    for (int i = 0; i < ed.Lines().Count(); ++i)
        ed.Lines().SetLineRange(i, 12345);
    html.AttributeAt(0)->SetForeground(0x00112233);
    EXPECT_NE(ed.Lines().LineRange(0), 12345);
    ed.SetHighlighter(nullptr);
    ed.Lines().SetLineRange(0, 777);
    html.AttributeAt(0)->SetForeground(0x00332211);
    EXPECT_EQ(ed.Lines().LineRange(0), 777);
}

TEST(EditorHighlighter, IncrementalStatesEqualAFullRescanAfterRandomEdits)
{
    TOstHTMLHighlighter html;
    const std::string page = test::ReadFile(std::string(OSTREL_TEST_DATA) + "/html/" + "article.html");
    for (unsigned seed = 1; seed <= 20; ++seed)
        EXPECT_EQ(test::CountIncrementalStateMismatches(html, page, seed, 150), 0);
}

TEST(EditorHighlighter, WebLexersKeepIncrementalStatesExactAfterRandomEdits)
{
    const std::pair<const char*, const char*> samples[] = {
        {"php", "php/guestbook.php"}, {"css", "css/shop.css"}, {"js", "js/menu.js"}, {"xml", "xml/catalogue.xml"}};
    for (const auto& [language, file] : samples) {
        const auto hl = CreateHighlighter(language);
        ASSERT_TRUE(hl) << language;
        const std::string doc = test::ReadFile(std::string(OSTREL_TEST_DATA) + "/" + file);
        for (unsigned seed = 1; seed <= 10; ++seed)
            EXPECT_EQ(test::CountIncrementalStateMismatches(*hl, doc, seed, 150), 0) << language << ", seed " << seed;
    }
}
