// The case commands in each encoding a document can be held in: Unicode
// simple case mappings in UTF-8, the code page's own tables in Windows-1250
// and ISO-8859-2 (whose Polish letters lie at other bytes).

#include <gtest/gtest.h>

#include "editor/OstEdit.h"
#include "platform/TextEncoding.h"

using namespace ostrel;

namespace {

struct Document {
    TOstEdit ed;
    TOstEncoding encoding;
    Document(std::string_view utf8Text, TOstEncoding e) : encoding(e)
    {
        ed.Lines().LoadFromBytes(held(utf8Text), TOstEncodingChoice{e});
        EXPECT_EQ(ed.Encoding(), e);
    }
    // A text of the test (UTF-8) as the document holds it.
    std::string held(std::string_view utf8Text) const
    {
        std::string out;
        EXPECT_EQ(FromUtf8(utf8Text, encoding, out), std::string_view::npos);
        return out;
    }
    std::string text() const { return ToUtf8(ed.Lines().Text(), encoding); }
    void selectLine(int line)
    {
        const int end = static_cast<int>(ed.Lines().Get(line - 1).size()) + 1;
        ed.SetCaretAndSelection({end, line}, {1, line}, {end, line});
    }
    void run(TOstEditorCommand command) { ed.CommandProcessor(command, '\0'); }
};

constexpr TOstEncoding kEncodings[] = {TOstEncoding::Utf8, TOstEncoding::Windows1250, TOstEncoding::Iso88592};

}  // namespace

TEST(CaseInEveryEncoding, SelectionUpperLowerAndToggleBothWays)
{
    for (TOstEncoding e : kEncodings) {
        SCOPED_TRACE(std::string(EncodingName(e)));
        Document d("zażółć gęślą jaźń\r\nŻÓŁW\r\n", e);
        d.selectLine(1);
        d.run(ecUpperCaseBlock);
        EXPECT_EQ(d.text(), "ZAŻÓŁĆ GĘŚLĄ JAŹŃ\r\nŻÓŁW\r\n");
        EXPECT_EQ(ToUtf8(d.ed.SelText(), e), "ZAŻÓŁĆ GĘŚLĄ JAŹŃ") << "the selection stays";
        d.run(ecLowerCaseBlock);
        EXPECT_EQ(d.text(), "zażółć gęślą jaźń\r\nŻÓŁW\r\n");
        d.selectLine(2);
        d.run(ecLowerCaseBlock);
        EXPECT_EQ(d.text(), "zażółć gęślą jaźń\r\nżółw\r\n");
        d.run(ecUpperCaseBlock);
        EXPECT_EQ(d.text(), "zażółć gęślą jaźń\r\nŻÓŁW\r\n");
        d.run(ecToggleCaseBlock);
        EXPECT_EQ(d.text(), "zażółć gęślą jaźń\r\nżółw\r\n");
        d.selectLine(1);
        d.run(ecToggleCaseBlock);
        EXPECT_EQ(d.text(), "ZAŻÓŁĆ GĘŚLĄ JAŹŃ\r\nżółw\r\n");
        d.ed.Undo();
        EXPECT_EQ(d.text(), "zażółć gęślą jaźń\r\nżółw\r\n");
    }
}

TEST(CaseInEveryEncoding, WordAtTheCaretAndCapitalising)
{
    for (TOstEncoding e : kEncodings) {
        SCOPED_TRACE(std::string(EncodingName(e)));
        Document d("zażółć żółw ŻÓŁW", e);
        const int second = static_cast<int>(d.held("zażółć ż").size()) + 1;  // inside "żółw"
        d.ed.SetCaretXY({second, 1});
        d.run(ecTitleCase);
        EXPECT_EQ(d.text(), "zażółć Żółw ŻÓŁW\r\n");
        EXPECT_EQ(d.ed.CaretXY(), (TBufferCoord{second, 1}));
        d.ed.SetCaretXY({2, 1});
        d.run(ecUpperCase);
        EXPECT_EQ(d.text(), "ZAŻÓŁĆ Żółw ŻÓŁW\r\n");
        d.ed.SetCaretXY({static_cast<int>(d.held("zażółć żółw Ż").size()) + 1, 1});
        d.run(ecLowerCase);
        EXPECT_EQ(d.text(), "ZAŻÓŁĆ Żółw żółw\r\n");
        d.run(ecToggleCase);
        EXPECT_EQ(d.text(), "ZAŻÓŁĆ Żółw ŻÓŁW\r\n");
    }
}

TEST(CaseInUtf8, OtherScriptsAndOneWholeCharacterAtATime)
{
    Document d("σοφία мир ǆ\r\nżx\r\n", TOstEncoding::Utf8);
    d.selectLine(1);
    d.run(ecUpperCaseBlock);
    EXPECT_EQ(d.text(), "ΣΟΦΊΑ МИР Ǆ\r\nżx\r\n");
    d.run(ecLowerCaseBlock);
    EXPECT_EQ(d.text(), "σοφία мир ǆ\r\nżx\r\n");
    // Without a selection a block command changes the character at the caret.
    d.ed.SetCaretXY({1, 2});
    d.run(ecUpperCaseBlock);
    EXPECT_EQ(d.text(), "σοφία мир ǆ\r\nŻx\r\n");
    EXPECT_EQ(d.ed.CaretXY(), (TBufferCoord{3, 2}));
    d.run(ecUpperCaseBlock);
    EXPECT_EQ(d.text(), "σοφία мир ǆ\r\nŻX\r\n");
    // An invalid byte is left as it is.
    Document damaged("a\xFF" "b", TOstEncoding::Utf8);
    damaged.selectLine(1);
    damaged.run(ecUpperCaseBlock);
    EXPECT_EQ(damaged.ed.Lines().Text(), "A\xFF" "B\r\n");
}
