// ostrel-cli rtf, recode and utf8 as a user runs them.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/CliRun.h"
#include "support/TestSupport.h"

using ostrel::test::ReadFile;
using ostrel::test::RunCli;
using ostrel::test::TempDir;
using ostrel::test::WriteFile;

namespace {

const std::string kWin = "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1";  // Zażółć gęślą jaźń
const std::string kIso = "Za\xBF\xF3\xB3\xE6 g\xEA\xB6l\xB1 ja\xBC\xF1";

}  // namespace

TEST(RtfCli, ExportsEveryLineWithTheMainWindowSettings)
{
    TempDir dir;
    WriteFile(dir / "a.pas", "begin x\nend.\n");
    const auto r = RunCli({"rtf", "--lang", "pas", (dir / "a.pas").string(), (dir / "a.rtf").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string rtf = ReadFile(dir / "a.rtf");
    EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg1250\\deff0\\deftab720"
                                "{\\fonttbl{\\f0\\fmodern\\fcharset238 Courier New;}}\r\n"));
    EXPECT_NE(rtf.find("{\\title RTF Eksport}}"), std::string::npos);
    EXPECT_TRUE(rtf.ends_with("\\fs20 \\b begin\\b0  x\r\n\\par \\b end\\b0 .\r\n\\par }"));
}

TEST(RtfCli, TitleIsGivenOnTheCommandLine)
{
    TempDir dir;
    WriteFile(dir / "a.js", "var a = {};\n");
    const auto r = RunCli({"rtf", "--lang", "js", "--title", "Moja strona", (dir / "a.js").string(),
                           (dir / "a.rtf").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(ReadFile(dir / "a.rtf").find("{\\title Moja strona}}"), std::string::npos);
}

TEST(RtfCli, ADocumentWithoutTextWritesNothingAndFails)
{
    TempDir dir;
    for (const char* content : {"", "\n"}) {
        WriteFile(dir / "e.txt", content);
        const auto r = RunCli({"rtf", "--lang", "html", (dir / "e.txt").string(), (dir / "e.rtf").string()});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("nothing written"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(dir / "e.rtf"));
    }
}

TEST(RtfCli, UsageErrors)
{
    TempDir dir;
    WriteFile(dir / "a.txt", "x\n");
    EXPECT_EQ(RunCli({"rtf", (dir / "a.txt").string(), (dir / "a.rtf").string()}).status, 2);
    EXPECT_EQ(RunCli({"rtf", "--lang", "cobol", (dir / "a.txt").string(), (dir / "a.rtf").string()}).status, 2);
    EXPECT_EQ(RunCli({"rtf", "--lang", "cpp", (dir / "a.txt").string()}).status, 2);
    EXPECT_EQ(RunCli({"rtf", "--lang", "cpp", (dir / "none.txt").string(), (dir / "a.rtf").string()}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "a.rtf"));
}

TEST(RecodeCli, RecodesBothWaysAndKeepsTheFilesLineBreaks)
{
    TempDir dir;
    WriteFile(dir / "win.txt", kWin + "\n\n" + kWin + "\n");
    auto r = RunCli({"recode", "--to", "iso", (dir / "win.txt").string(), (dir / "iso.txt").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir / "iso.txt"), kIso + "\n\n" + kIso + "\n");
    r = RunCli({"recode", "--to", "win", (dir / "iso.txt").string(), (dir / "back.txt").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir / "back.txt"), ReadFile(dir / "win.txt"));
}

TEST(RecodeCli, AsciiStripsDiacriticsInPlace)
{
    TempDir dir;
    WriteFile(dir / "a.txt", "\xA3\xF3\x64\x9F\r\n" + kIso + "\r\n");  // Łódź in Windows-1250, then ISO-8859-2
    const auto r = RunCli({"recode", "--to=ascii", (dir / "a.txt").string(), (dir / "a.txt").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir / "a.txt"), "Lodz\r\nZazolc gesla jazn\r\n");
}

TEST(RecodeCli, UsageErrorsAndAReadOnlyTarget)
{
    TempDir dir;
    WriteFile(dir / "a.txt", "x\n");
    EXPECT_EQ(RunCli({"recode", "--to", "utf", (dir / "a.txt").string(), (dir / "b.txt").string()}).status, 2);
    EXPECT_EQ(RunCli({"recode", (dir / "a.txt").string(), (dir / "b.txt").string()}).status, 2);
    WriteFile(dir / "ro.txt", "keep");
    std::filesystem::permissions(dir / "ro.txt", std::filesystem::perms::owner_read);
    const auto r = RunCli({"recode", "--to", "iso", (dir / "a.txt").string(), (dir / "ro.txt").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ro.txt"), std::string::npos);
    EXPECT_EQ(ReadFile(dir / "ro.txt"), "keep");
}

TEST(Utf8Cli, WritesUtf8WithCrLfBetweenLinesAndNothingAfterTheLast)
{
    TempDir dir;
    WriteFile(dir / "a.txt", "\xB9\n");  // ą
    auto r = RunCli({"utf8", (dir / "a.txt").string(), (dir / "a.utf8").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir / "a.utf8"), "\xC4\x85");
    WriteFile(dir / "b.txt", "a\nb\n\n");
    r = RunCli({"utf8", (dir / "b.txt").string(), (dir / "b.utf8").string()});
    EXPECT_EQ(ReadFile(dir / "b.utf8"), "a\r\nb\r\n");
}

TEST(Utf8Cli, AnEmptyFileGivesAnEmptyFileAndErrorsAreReported)
{
    TempDir dir;
    WriteFile(dir / "e.txt", "");
    EXPECT_EQ(RunCli({"utf8", (dir / "e.txt").string(), (dir / "e.utf8").string()}).status, 0);
    EXPECT_EQ(ReadFile(dir / "e.utf8"), "");
    EXPECT_EQ(RunCli({"utf8", (dir / "e.txt").string()}).status, 2);
    const auto r = RunCli({"utf8", (dir / "e.txt").string(), (dir / "no" / "x").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.empty());
}

TEST(Utf8Cli, AUtf8FileIsWrittenAsItIsAndOtherEncodingsAreConverted)
{
    TempDir dir;
    WriteFile(dir / "u.txt", "za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87\n\xFF\n");
    auto r = RunCli({"utf8", "--encoding", "utf-8", (dir / "u.txt").string(), (dir / "u.out").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir / "u.out"), "za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87\r\n\xFF");
    WriteFile(dir / "bom.txt", "\xEF\xBB\xBF\xC5\xBC\xC3\xB3\xC5\x82w\n");
    r = RunCli({"utf8", (dir / "bom.txt").string(), (dir / "bom.out").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir / "bom.out"), "\xC5\xBC\xC3\xB3\xC5\x82w");
    WriteFile(dir / "iso.txt", kIso);
    r = RunCli({"utf8", "--encoding=iso-8859-2", (dir / "iso.txt").string(), (dir / "iso.out").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir / "iso.out"), "Zażółć gęślą jaźń");
    EXPECT_EQ(RunCli({"utf8", "--encoding", "koi8", (dir / "iso.txt").string(), (dir / "x").string()}).status, 2);
}

TEST(RtfCli, TheEncodingDecidesHowCharactersAreWritten)
{
    TempDir dir;
    WriteFile(dir / "a.txt", "\xCE\xA9\n");  // Ω in UTF-8, "Î©" in Windows-1250
    ASSERT_EQ(RunCli({"rtf", "--lang", "cpp", (dir / "a.txt").string(), (dir / "u.rtf").string()}).status, 0);
    EXPECT_NE(ReadFile(dir / "u.rtf").find("\\u937?"), std::string::npos);
    ASSERT_EQ(RunCli({"rtf", "--lang", "cpp", "--encoding", "windows-1250", (dir / "a.txt").string(),
                      (dir / "w.rtf").string()})
                  .status,
              0);
    EXPECT_NE(ReadFile(dir / "w.rtf").find("\\'ce\\'a9"), std::string::npos);
    EXPECT_EQ(RunCli({"rtf", "--lang", "cpp", "--encoding", "x", (dir / "a.txt").string(), (dir / "x.rtf").string()})
                  .status,
              2);
}

// The command line is UTF-8: the title's characters reach the RTF whole.
TEST(RtfCli, ATitleIsWrittenAsTheDocumentsTextIs)
{
    TempDir dir;
    WriteFile(dir / "u.txt", "\xCE\xA9\n");
    ASSERT_EQ(RunCli({"rtf", "--lang", "cpp", "--title", "Żółw Ω", (dir / "u.txt").string(), (dir / "u.rtf").string()})
                  .status,
              0);
    EXPECT_NE(ReadFile(dir / "u.rtf").find("{\\title \\'af\\'f3\\'b3w {\\u937?}}}"), std::string::npos);
    WriteFile(dir / "w.txt", kWin + "\n");
    ASSERT_EQ(RunCli({"rtf", "--lang", "cpp", "--title", "Żółw", (dir / "w.txt").string(), (dir / "w.rtf").string()})
                  .status,
              0);
    EXPECT_NE(ReadFile(dir / "w.rtf").find("{\\title \\'af\\'f3\\'b3w}}"), std::string::npos);
    const auto r = RunCli({"rtf", "--lang", "cpp", "--title", "Ω", (dir / "w.txt").string(), (dir / "x.rtf").string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.rtf"));
}
