// ostrel-cli rtf, recode and utf8 as a user runs them.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/CliRun.h"
#include "support/TestSupport.h"

using ostrel::test::readFile;
using ostrel::test::runCli;
using ostrel::test::TempDir;
using ostrel::test::writeFile;

namespace {

const std::string kWin = "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1";  // Zażółć gęślą jaźń
const std::string kIso = "Za\xBF\xF3\xB3\xE6 g\xEA\xB6l\xB1 ja\xBC\xF1";

}  // namespace

TEST(RtfCli, ExportsEveryLineWithTheMainWindowSettings)
{
    TempDir dir;
    writeFile(dir / "a.pas", "begin x\nend.\n");
    const auto r = runCli({"rtf", "--lang", "pas", (dir / "a.pas").string(), (dir / "a.rtf").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string rtf = readFile(dir / "a.rtf");
    EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg1250\\deff0\\deftab720"
                                "{\\fonttbl{\\f0\\fmodern\\fcharset238 Courier New;}}\r\n"));
    EXPECT_NE(rtf.find("{\\title RTF Eksport}}"), std::string::npos);
    EXPECT_TRUE(rtf.ends_with("\\fs20 \\b begin\\b0  x\r\n\\par \\b end\\b0 .\r\n\\par }"));
}

TEST(RtfCli, TitleIsGivenOnTheCommandLine)
{
    TempDir dir;
    writeFile(dir / "a.js", "var a = {};\n");
    const auto r = runCli({"rtf", "--lang", "js", "--title", "Moja strona", (dir / "a.js").string(),
                           (dir / "a.rtf").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(readFile(dir / "a.rtf").find("{\\title Moja strona}}"), std::string::npos);
}

TEST(RtfCli, ADocumentWithoutTextWritesNothingAndFails)
{
    TempDir dir;
    for (const char* content : {"", "\n"}) {
        writeFile(dir / "e.txt", content);
        const auto r = runCli({"rtf", "--lang", "html", (dir / "e.txt").string(), (dir / "e.rtf").string()});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("nothing written"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(dir / "e.rtf"));
    }
}

TEST(RtfCli, UsageErrors)
{
    TempDir dir;
    writeFile(dir / "a.txt", "x\n");
    EXPECT_EQ(runCli({"rtf", (dir / "a.txt").string(), (dir / "a.rtf").string()}).status, 2);
    EXPECT_EQ(runCli({"rtf", "--lang", "cobol", (dir / "a.txt").string(), (dir / "a.rtf").string()}).status, 2);
    EXPECT_EQ(runCli({"rtf", "--lang", "cpp", (dir / "a.txt").string()}).status, 2);
    EXPECT_EQ(runCli({"rtf", "--lang", "cpp", (dir / "none.txt").string(), (dir / "a.rtf").string()}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "a.rtf"));
}

TEST(RecodeCli, RecodesBothWaysAndKeepsTheFilesLineBreaks)
{
    TempDir dir;
    writeFile(dir / "win.txt", kWin + "\n\n" + kWin + "\n");
    auto r = runCli({"recode", "--to", "iso", (dir / "win.txt").string(), (dir / "iso.txt").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(dir / "iso.txt"), kIso + "\n\n" + kIso + "\n");
    r = runCli({"recode", "--to", "win", (dir / "iso.txt").string(), (dir / "back.txt").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(dir / "back.txt"), readFile(dir / "win.txt"));
}

TEST(RecodeCli, AsciiStripsDiacriticsInPlace)
{
    TempDir dir;
    writeFile(dir / "a.txt", "\xA3\xF3\x64\x9F\r\n" + kIso + "\r\n");  // Łódź in Windows-1250, then ISO-8859-2
    const auto r = runCli({"recode", "--to=ascii", (dir / "a.txt").string(), (dir / "a.txt").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(dir / "a.txt"), "Lodz\r\nZazolc gesla jazn\r\n");
}

TEST(RecodeCli, UsageErrorsAndAReadOnlyTarget)
{
    TempDir dir;
    writeFile(dir / "a.txt", "x\n");
    EXPECT_EQ(runCli({"recode", "--to", "utf", (dir / "a.txt").string(), (dir / "b.txt").string()}).status, 2);
    EXPECT_EQ(runCli({"recode", (dir / "a.txt").string(), (dir / "b.txt").string()}).status, 2);
    writeFile(dir / "ro.txt", "keep");
    std::filesystem::permissions(dir / "ro.txt", std::filesystem::perms::owner_read);
    const auto r = runCli({"recode", "--to", "iso", (dir / "a.txt").string(), (dir / "ro.txt").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ro.txt"), std::string::npos);
    EXPECT_EQ(readFile(dir / "ro.txt"), "keep");
}

TEST(Utf8Cli, WritesUtf8WithCrLfBetweenLinesAndNothingAfterTheLast)
{
    TempDir dir;
    writeFile(dir / "a.txt", "\xB9\n");  // ą
    auto r = runCli({"utf8", (dir / "a.txt").string(), (dir / "a.utf8").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(dir / "a.utf8"), "\xC4\x85");
    writeFile(dir / "b.txt", "a\nb\n\n");
    r = runCli({"utf8", (dir / "b.txt").string(), (dir / "b.utf8").string()});
    EXPECT_EQ(readFile(dir / "b.utf8"), "a\r\nb\r\n");
}

TEST(Utf8Cli, AnEmptyFileGivesAnEmptyFileAndErrorsAreReported)
{
    TempDir dir;
    writeFile(dir / "e.txt", "");
    EXPECT_EQ(runCli({"utf8", (dir / "e.txt").string(), (dir / "e.utf8").string()}).status, 0);
    EXPECT_EQ(readFile(dir / "e.utf8"), "");
    EXPECT_EQ(runCli({"utf8", (dir / "e.txt").string()}).status, 2);
    const auto r = runCli({"utf8", (dir / "e.txt").string(), (dir / "no" / "x").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.empty());
}

TEST(Utf8Cli, AUtf8FileIsWrittenAsItIsAndOtherEncodingsAreConverted)
{
    TempDir dir;
    writeFile(dir / "u.txt", "za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87\n\xFF\n");
    auto r = runCli({"utf8", "--encoding", "utf-8", (dir / "u.txt").string(), (dir / "u.out").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(dir / "u.out"), "za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87\r\n\xFF");
    writeFile(dir / "bom.txt", "\xEF\xBB\xBF\xC5\xBC\xC3\xB3\xC5\x82w\n");
    r = runCli({"utf8", (dir / "bom.txt").string(), (dir / "bom.out").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(dir / "bom.out"), "\xC5\xBC\xC3\xB3\xC5\x82w");
    writeFile(dir / "iso.txt", kIso);
    r = runCli({"utf8", "--encoding=iso-8859-2", (dir / "iso.txt").string(), (dir / "iso.out").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(dir / "iso.out"), "Zażółć gęślą jaźń");
    EXPECT_EQ(runCli({"utf8", "--encoding", "koi8", (dir / "iso.txt").string(), (dir / "x").string()}).status, 2);
}

TEST(RtfCli, TheEncodingDecidesHowCharactersAreWritten)
{
    TempDir dir;
    writeFile(dir / "a.txt", "\xCE\xA9\n");  // Ω in UTF-8, "Î©" in Windows-1250
    ASSERT_EQ(runCli({"rtf", "--lang", "cpp", (dir / "a.txt").string(), (dir / "u.rtf").string()}).status, 0);
    EXPECT_NE(readFile(dir / "u.rtf").find("\\u937?"), std::string::npos);
    ASSERT_EQ(runCli({"rtf", "--lang", "cpp", "--encoding", "windows-1250", (dir / "a.txt").string(),
                      (dir / "w.rtf").string()})
                  .status,
              0);
    EXPECT_NE(readFile(dir / "w.rtf").find("\\'ce\\'a9"), std::string::npos);
    EXPECT_EQ(runCli({"rtf", "--lang", "cpp", "--encoding", "x", (dir / "a.txt").string(), (dir / "x.rtf").string()})
                  .status,
              2);
}

// The command line is UTF-8: the title's characters reach the RTF whole.
TEST(RtfCli, ATitleIsWrittenAsTheDocumentsTextIs)
{
    TempDir dir;
    writeFile(dir / "u.txt", "\xCE\xA9\n");
    ASSERT_EQ(runCli({"rtf", "--lang", "cpp", "--title", "Żółw Ω", (dir / "u.txt").string(), (dir / "u.rtf").string()})
                  .status,
              0);
    EXPECT_NE(readFile(dir / "u.rtf").find("{\\title \\'af\\'f3\\'b3w {\\u937?}}}"), std::string::npos);
    writeFile(dir / "w.txt", kWin + "\n");
    ASSERT_EQ(runCli({"rtf", "--lang", "cpp", "--title", "Żółw", (dir / "w.txt").string(), (dir / "w.rtf").string()})
                  .status,
              0);
    EXPECT_NE(readFile(dir / "w.rtf").find("{\\title \\'af\\'f3\\'b3w}}"), std::string::npos);
    const auto r = runCli({"rtf", "--lang", "cpp", "--title", "Ω", (dir / "w.txt").string(), (dir / "x.rtf").string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.rtf"));
}
