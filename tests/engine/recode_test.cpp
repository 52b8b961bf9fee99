// Polish recoding between Windows-1250 and ISO-8859-2, stripping diacritics,
// the document's text as one string, and the plain exports to files: UTF-8,
// replacing a file, appending to one.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "editor/OstEdit.h"
#include "editor/OstPolishRecode.h"
#include "highlighters/OstHighlighterFactory.h"
#include "platform/CodePage.h"
#include "platform/SafeWrite.h"
#include "print/OstEditExport.h"
#include "support/FileSystemLimits.h"
#include "support/TestSupport.h"

using namespace ostrel;
using ostrel::test::FileSizeLimit;
using ostrel::test::ReadFile;
using ostrel::test::TempDir;
using ostrel::test::WriteFile;

namespace {

// "Zażółć gęślą jaźń" in each code page.
const std::string kWin = "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1";
const std::string kIso = "Za\xBF\xF3\xB3\xE6 g\xEA\xB6l\xB1 ja\xBC\xF1";
const std::string kCapitalsWin = "\xA5\x8C\x8F";  // ĄŚŹ
const std::string kCapitalsIso = "\xA1\xA6\xAC";

std::string Recoded(std::string text, TOstPolishRecoding recoding)
{
    RecodeText(text, recoding);
    return text;
}

std::vector<std::string> LinesOf(const TOstEditStringList& lines)
{
    std::vector<std::string> out;
    for (int i = 0; i < lines.Count(); ++i)
        out.emplace_back(lines.Get(i));
    return out;
}

}  // namespace

// ---- the tables ------------------------------------------------------------------

TEST(PolishRecode, ToIsoChangesExactlyTheSixLettersThatDiffer)
{
    EXPECT_EQ(Recoded(kWin, TOstPolishRecoding::ToIso), kIso);
    EXPECT_EQ(Recoded(kCapitalsWin, TOstPolishRecoding::ToIso), kCapitalsIso);
    // ć ę ł ń ó ż and their capitals share their bytes.
    const std::string same = "\xE6\xEA\xB3\xF1\xF3\xBF\xC6\xCA\xA3\xD1\xD3\xAF";
    EXPECT_EQ(Recoded(same, TOstPolishRecoding::ToIso), same);
    EXPECT_EQ(Recoded(same, TOstPolishRecoding::ToWindows), same);
}

TEST(PolishRecode, ToWindowsUndoesToIso)
{
    EXPECT_EQ(Recoded(kIso, TOstPolishRecoding::ToWindows), kWin);
    EXPECT_EQ(Recoded(kCapitalsIso, TOstPolishRecoding::ToWindows), kCapitalsWin);
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string there = Recoded(byte, TOstPolishRecoding::ToIso);
        if (there != byte) {
            EXPECT_EQ(Recoded(there, TOstPolishRecoding::ToWindows), byte) << "byte " << b;
        }
    }
}

TEST(PolishRecode, RecodingTwiceToIsoLeavesTheLettersButTheIsoBytesOfWindowsSignsMove)
{
    EXPECT_EQ(Recoded(Recoded(kWin, TOstPolishRecoding::ToIso), TOstPolishRecoding::ToIso), kIso);
    // 0xB1 is "±" in Windows-1250 but "ą" in ISO-8859-2.
    EXPECT_EQ(Recoded("\xB1", TOstPolishRecoding::ToWindows), "\xB9");
    EXPECT_EQ(codepage::ToUnicode(0xB9), u'\u0105');
}

TEST(PolishRecode, StripGivesAsciiFromEitherCodePage)
{
    EXPECT_EQ(Recoded("\xA3\xF3\x64\x9F", TOstPolishRecoding::StripDiacritics), "Lodz");  // Łódź
    EXPECT_EQ(Recoded(kWin, TOstPolishRecoding::StripDiacritics), "Zazolc gesla jazn");
    EXPECT_EQ(Recoded(kIso, TOstPolishRecoding::StripDiacritics), "Zazolc gesla jazn");
    const std::string capitals = "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF";  // ĄĆĘŁŃÓŚŹŻ
    EXPECT_EQ(Recoded(capitals, TOstPolishRecoding::StripDiacritics), "ACELNOSZZ");
    EXPECT_EQ(Recoded(kCapitalsIso, TOstPolishRecoding::StripDiacritics), "ASZ");
}

// ---- the text as one string --------------------------------------------------------

TEST(JoinedText, LinesAreJoinedWithCrLfAndNoBreakAfterTheLast)
{
    TOstEditStringList lines;
    EXPECT_EQ(JoinedText(lines), "");
    lines.LoadFromBytes("a\nb\n\nc\n");
    EXPECT_EQ(JoinedText(lines), "a\r\nb\r\n\r\nc");
}

TEST(JoinedText, SplittingBreaksAtCrLfLoneCrAndLoneLf)
{
    TOstEditStringList lines;
    SetJoinedText(lines, "a\r\nb\rc\nd");
    EXPECT_EQ(LinesOf(lines), (std::vector<std::string>{"a", "b", "c", "d"}));
    SetJoinedText(lines, "");
    EXPECT_EQ(lines.Count(), 0);
}

TEST(JoinedText, AFinalBreakLeavesAnEmptyLastLineSoNothingIsLost)
{
    TOstEditStringList lines;
    lines.LoadFromBytes("one\ntwo\n\n");  // the last line is empty
    const std::vector<std::string> before = LinesOf(lines);
    ASSERT_EQ(before.back(), "");
    SetJoinedText(lines, JoinedText(lines));
    EXPECT_EQ(LinesOf(lines), before);
    EXPECT_EQ(lines.Text(), "one\ntwo\n\n");
}

TEST(JoinedText, TheBufferKeepsItsLineBreakStyleAndTrailingBreak)
{
    TOstEditStringList lines;
    lines.LoadFromBytes("x\ny\n");
    ASSERT_EQ(lines.LineBreakStyle(), Lf);
    RecodeLines(lines, TOstPolishRecoding::ToIso);
    EXPECT_EQ(lines.LineBreakStyle(), Lf);
    EXPECT_TRUE(lines.TrailingLineBreak());
    EXPECT_EQ(lines.Text(), "x\ny\n");
}

// ---- the command on an editor -----------------------------------------------------------

TEST(RecodeEditor, CaretStaysSelectionGoesTextIsModifiedAndHighlighterRescans)
{
    const auto hl = CreateHighlighter("cpp");
    TOstEdit ed;
    ed.Lines().LoadFromBytes("int a;\r\n/* " + kWin + "\r\n*/ int b;\r\n");
    ed.SetHighlighter(hl.get());
    ed.SetModified(false);
    ed.SetCaretAndSelection({4, 2}, {1, 1}, {4, 2});
    const TOstLineRange stateInComment = ed.Lines().LineRange(1);

    ASSERT_TRUE(RecodeEditor(ed, TOstPolishRecoding::ToIso));
    EXPECT_EQ(ed.Lines().Get(1), "/* " + kIso);
    EXPECT_EQ(ed.CaretXY(), (TBufferCoord{4, 2}));
    EXPECT_FALSE(ed.SelAvail());
    EXPECT_TRUE(ed.Modified());
    EXPECT_EQ(ed.Highlighter(), hl.get());
    EXPECT_EQ(ed.Lines().LineRange(1), stateInComment);
}

TEST(RecodeEditor, ACaretBeyondTheFirstLinesEndKeepsItsColumn)
{
    TOstEdit ed;
    ed.Lines().LoadFromBytes("a\r\n0123456789\r\n");
    ed.SetCaretXY({8, 2});
    RecodeEditor(ed, TOstPolishRecoding::StripDiacritics);
    EXPECT_EQ(ed.CaretXY(), (TBufferCoord{8, 2}));
}

TEST(RecodeEditor, AReadOnlyEditorIsLeftAlone)
{
    TOstEdit ed;
    ed.Lines().LoadFromBytes(kWin);
    ed.SetReadOnly(true);
    EXPECT_FALSE(RecodeEditor(ed, TOstPolishRecoding::ToIso));
    EXPECT_EQ(ed.Lines().Get(0), kWin);
}

// ---- exports to files ------------------------------------------------------------------

TEST(Utf8Export, EachLetterBecomesItsUtf8BytesWithoutAByteOrderMark)
{
    TempDir dir;
    ExportUtf8((dir / "a.txt").string(), "\xB9", TOstEncoding::Windows1250);  // ą
    EXPECT_EQ(ReadFile(dir / "a.txt"), "\xC4\x85");
    ExportUtf8((dir / "b.txt").string(), kWin + "\r\n\x80", TOstEncoding::Windows1250);
    EXPECT_EQ(ReadFile(dir / "b.txt"), "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85 "
                                       "ja\xC5\xBA\xC5\x84\r\n\xE2\x82\xAC");  // ... jaźń, €
    ExportUtf8((dir / "c.txt").string(), "plain ASCII {}\\", TOstEncoding::Windows1250);
    EXPECT_EQ(ReadFile(dir / "c.txt"), "plain ASCII {}\\");
    ExportUtf8((dir / "d.txt").string(), "\xB1", TOstEncoding::Iso88592);
    EXPECT_EQ(ReadFile(dir / "d.txt"), "\xC4\x85");
    // A UTF-8 document's bytes as they are, a damaged one too, and no mark.
    ExportUtf8((dir / "e.txt").string(), "\xC5\xBC\xFF\r\nx", TOstEncoding::Utf8Bom);
    EXPECT_EQ(ReadFile(dir / "e.txt"), "\xC5\xBC\xFF\r\nx");
}

TEST(Utf8Export, AnEmptyDocumentWritesAnEmptyFile)
{
    TempDir dir;
    WriteFile(dir / "old.txt", "old content");
    TOstEditStringList lines;
    ExportUtf8((dir / "old.txt").string(), JoinedText(lines), lines.Encoding());
    EXPECT_TRUE(std::filesystem::exists(dir / "old.txt"));
    EXPECT_EQ(ReadFile(dir / "old.txt"), "");
}

TEST(ReplacingWrite, AFailedWriteLeavesTheOldFileAndNoTemporaryFile)
{
    TempDir dir;
    const auto target = dir / "target.txt";
    WriteFile(target, "precious");
    {
        FileSizeLimit limit(4);
        EXPECT_THROW(WriteFileSafely(target.string(), "a longer new content"), std::system_error);
    }
    EXPECT_EQ(ReadFile(target), "precious");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(ReplacingWrite, KeepsPermissionsFollowsLinksAndRefusesReadOnlyTargets)
{
    TempDir dir;
    const auto target = dir / "t.txt";
    WriteFile(target, "old");
    chmod(target.c_str(), 0640);
    std::filesystem::create_symlink(target, dir / "link.txt");
    WriteFileSafely((dir / "link.txt").string(), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.txt"));
    EXPECT_EQ(ReadFile(target), "new");
    struct stat info {};
    stat(target.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    chmod(target.c_str(), 0444);
    EXPECT_TRUE(IsReadOnlyFile(target.string()));
    EXPECT_FALSE(IsReadOnlyFile((dir / "missing.txt").string()));
    EXPECT_THROW(WriteFileSafely(target.string(), "newer"), std::system_error);
    EXPECT_EQ(ReadFile(target), "new");
    EXPECT_THROW(WriteFileSafely((dir / "no-such-folder" / "x.txt").string(), "x"), std::system_error);
}

TEST(AppendExport, JoinsTheFirstLineToTheFilesLastWithoutASeparator)
{
    TempDir dir;
    const auto target = dir / "log.txt";
    WriteFile(target, "end of file");
    TOstEditStringList lines;
    lines.LoadFromBytes("first\r\nsecond\r\n");
    AppendToFileSafely(target.string(), JoinedText(lines));
    EXPECT_EQ(ReadFile(target), "end of filefirst\r\nsecond");
}

TEST(AppendExport, AMissingFileIsNotCreated)
{
    TempDir dir;
    EXPECT_THROW(AppendToFileSafely((dir / "none.txt").string(), "x"), std::system_error);
    EXPECT_FALSE(std::filesystem::exists(dir / "none.txt"));
}

TEST(AppendExport, AFailedAppendCutsTheFileBackToItsOldLength)
{
    TempDir dir;
    const auto target = dir / "log.txt";
    WriteFile(target, "0123456789");
    {
        FileSizeLimit limit(16);
        EXPECT_THROW(AppendToFileSafely(target.string(), std::string(100, 'x')), std::system_error);
    }
    EXPECT_EQ(ReadFile(target), "0123456789");
}
