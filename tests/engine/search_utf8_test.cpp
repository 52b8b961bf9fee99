// Plain search in every encoding: ignoring case by Unicode simple folding in
// UTF-8 and by the code page's own letters in the single-byte pages, whole
// words of Unicode letters and digits, byte offsets; and through the editor
// forwards, backwards and in a selection.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "editor/OstEdit.h"
#include "editor/OstEditRegexSearch.h"
#include "editor/OstEditSearch.h"

using namespace ostrel;

namespace {

using Spans = std::vector<std::pair<int, int>>;  // 1-based byte start, byte length

Spans Find(std::string_view pattern, std::string_view line, TOstSearchOptions options,
           TOstEncoding encoding = TOstEncoding::Utf8)
{
    TOstEditSearch s;
    s.SetEncoding(encoding);
    s.SetOptions(options);
    s.SetPattern(pattern);
    Spans out;
    const int n = s.FindAll(line);
    for (int i = 0; i < n; ++i)
        out.emplace_back(s.Result(i), s.Length(i));
    return out;
}

}  // namespace

TEST(PlainSearchUtf8, IgnoringCaseFoldsPolishGreekCyrillicAndMore)
{
    EXPECT_EQ(Find("żółw", "ŻÓŁW, Żółw i żółw", 0), (Spans{{1, 7}, {10, 7}, {20, 7}}));
    EXPECT_EQ(Find("ŻÓŁW", "żółw", 0), (Spans{{1, 7}}));
    EXPECT_EQ(Find("σοφία", "ΣΟΦΊΑ", 0), (Spans{{1, 10}}));
    EXPECT_EQ(Find("мир", "Мир МИР", 0), (Spans{{1, 6}, {8, 6}}));
    EXPECT_EQ(Find("łódź", "ŁÓDŹ x ŁóDź", 0), (Spans{{1, 7}, {11, 7}}));
    // Cases of different lengths: the Kelvin sign (3 bytes) folds to "k".
    EXPECT_EQ(Find("ok", "O\xE2\x84\xAA ok", 0), (Spans{{1, 4}, {6, 2}}));
    EXPECT_EQ(Find("\xE2\x84\xAA", "xK", 0), (Spans{{2, 1}}));
    // Matching case leaves the cases apart.
    EXPECT_EQ(Find("żółw", "ŻÓŁW żółw", ssoMatchCase), (Spans{{9, 7}}));
    EXPECT_TRUE(Find("Ż", "ż", ssoMatchCase).empty());
    // An ASCII line cannot hold a pattern beyond ASCII, folded or not.
    EXPECT_TRUE(Find("ą", "aaaa", 0).empty());
}

TEST(PlainSearchUtf8, NoMatchSplitsACharacter)
{
    // "é" written as "e" and a combining acute accent is one character.
    EXPECT_TRUE(Find("e", "e\xCC\x81", 0).empty());
    EXPECT_TRUE(Find("e", "e\xCC\x81", ssoMatchCase).empty());
    EXPECT_EQ(Find("e\xCC\x81", "xe\xCC\x81", 0), (Spans{{2, 3}}));
    EXPECT_EQ(Find("e", "e\xCC\x81 e", 0), (Spans{{5, 1}}));
}

TEST(PlainSearchUtf8, WholeWordsAreOfUnicodeLettersAndDigits)
{
    EXPECT_EQ(Find("ż", "żuk ż aż ż", ssoWholeWord), (Spans{{6, 2}, {13, 2}}));
    EXPECT_EQ(Find("zażółć", "zażółć, zażółćx Zażółć", ssoWholeWord), (Spans{{1, 10}, {25, 10}}));
    EXPECT_TRUE(Find("12", "12٣", ssoWholeWord).empty()) << "an Arabic-Indic digit is part of the number";
    EXPECT_TRUE(Find("мир", "мирный", ssoWholeWord).empty());
    EXPECT_EQ(Find("中", "中 文", ssoWholeWord), (Spans{{1, 3}}));
    EXPECT_EQ(Find("a", "a😀a", ssoWholeWord), (Spans{{1, 1}, {6, 1}})) << "an emoji is no letter";
    EXPECT_TRUE(Find("e", "xe\xCC\x81", ssoWholeWord).empty());
}

TEST(PlainSearchCodePages, CaseAndWordsFollowTheDocumentsOwnPage)
{
    // Windows-1250: "ą" B9, "Ą" A5; ISO-8859-2: "ą" B1, "Ą" A1.
    EXPECT_EQ(Find("\xB9", "\xA5\xB9", 0, TOstEncoding::Windows1250), (Spans{{1, 1}, {2, 1}}));
    EXPECT_EQ(Find("\xB1", "\xA1\xB1", 0, TOstEncoding::Iso88592), (Spans{{1, 1}, {2, 1}}));
    // The Windows-1250 table would take ISO's "ą" for "±" and "Ą" for "ˇ".
    EXPECT_EQ(Find("\xB1", "\xA1", 0, TOstEncoding::Windows1250), Spans{});
    // In ISO-8859-2 "Ľ" (A5) and "š" (B9) are no pair.
    EXPECT_EQ(Find("\xA5", "\xB9", 0, TOstEncoding::Iso88592), Spans{});
    EXPECT_EQ(Find("x", "x\xB1 x", ssoWholeWord, TOstEncoding::Iso88592), (Spans{{4, 1}}));
    EXPECT_EQ(Find("x", "x\xB1 x", ssoWholeWord, TOstEncoding::Windows1250), (Spans{{1, 1}, {4, 1}}))
        << "B1 is a sign in Windows-1250";
}

namespace {

struct Document {
    TOstEditSearch plain;
    TOstEditRegexSearch regex;
    TOstEdit ed;
    Document(std::string_view bytes, TOstEncoding encoding)
    {
        ed.Lines().LoadFromBytes(bytes, TOstEncodingChoice{encoding});
        ed.SetSearchEngine(&plain);
    }
};

}  // namespace

TEST(PlainSearchUtf8, TheEditorSearchesForwardsBackwardsAndInTheSelection)
{
    Document d("Żółw i ŻÓŁW\r\nżółw\r\n", TOstEncoding::Utf8);
    EXPECT_EQ(d.ed.SearchReplace("żółw", "", ssoEntireScope), 1);
    EXPECT_EQ(d.ed.SelText(), "Żółw");
    EXPECT_EQ(d.ed.SearchReplace("żółw", "", 0), 1);
    EXPECT_EQ(d.ed.SelText(), "ŻÓŁW");
    EXPECT_EQ(d.ed.BlockBegin(), (TBufferCoord{11, 1}));
    d.ed.SetCaretXY(d.ed.BlockBegin());
    EXPECT_EQ(d.ed.SearchReplace("żółw", "", ssoBackwards), 1);
    EXPECT_EQ(d.ed.BlockBegin(), (TBufferCoord{1, 1}));
    d.ed.SetCaretAndSelection({1, 2}, {1, 1}, {1, 2});
    EXPECT_EQ(d.ed.SearchReplace("ŻÓŁW", "żółw", ssoSelectedOnly | ssoReplaceAll | ssoEntireScope), 2);
    EXPECT_EQ(d.ed.Lines().Text(), "żółw i żółw\r\nżółw\r\n");
    // The regex engine takes the document's encoding too.
    d.ed.SetSearchEngine(&d.regex);
    EXPECT_EQ(d.ed.SearchReplace("ż+ó", "Ż", ssoReplaceAll | ssoEntireScope | ssoMatchCase), 3);
    EXPECT_EQ(d.ed.Lines().Text(), "Żłw i Żłw\r\nŻłw\r\n");
}

TEST(PlainSearchCodePages, TheEditorSearchesAnIsoDocumentByItsPage)
{
    Document d("\xA1\xB1 \xB1", TOstEncoding::Iso88592);
    EXPECT_EQ(d.ed.SearchReplace("\xB1", "x", ssoReplaceAll | ssoEntireScope), 3);
    EXPECT_EQ(d.ed.Lines().Text(), "xx x\r\n");
}
