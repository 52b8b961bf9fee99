// ostrel-cli print as a user runs it, the PDF read back with poppler's
// pdfinfo and pdftotext. The tool prints only when built with Qt; an engine
// build without it skips these cases.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <regex>

#include "support/CliRun.h"
#include "support/TestSupport.h"

using ostrel::test::ReadFile;
using ostrel::test::RunCli;
using ostrel::test::TempDir;
using ostrel::test::WriteFile;

namespace {

std::string Shell(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

bool CanPrint()
{
    return RunCli({"--help"}).out.find("  print ") != std::string::npos;
}

bool HavePoppler()
{
    return system("command -v pdfinfo >/dev/null && command -v pdftotext >/dev/null") == 0;
}

#define REQUIRE_PRINTING()                                                       \
    do {                                                                         \
        if (!CanPrint())                                                         \
            GTEST_SKIP() << "ostrel-cli was built without Qt and cannot print";  \
        if (!HavePoppler())                                                      \
            GTEST_SKIP() << "pdfinfo and pdftotext (poppler-utils) are missing"; \
    } while (false)

int PdfPages(const std::filesystem::path& pdf)
{
    std::smatch m;
    const std::string info = Shell("pdfinfo '" + pdf.string() + "'");
    return std::regex_search(info, m, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(m[1]) : -1;
}

std::string PdfText(const std::filesystem::path& pdf, int page)
{
    const std::string p = std::to_string(page);
    return Shell("pdftotext -layout -f " + p + " -l " + p + " '" + pdf.string() + "' -");
}

// A PHP script of `lines` lines with Polish letters (Windows-1250) in it.
std::string PhpScript(int lines)
{
    std::string text = "<?php\n";
    for (int i = 2; i < lines; ++i)
        text += "$napis" + std::to_string(i) + " = \"Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9\"; // wiersz\n";
    return text + "?>\n";
}

}  // namespace

TEST(PrintCli, PrintsAHighlightedFileWithHeaderFooterAndLineNumbers)
{
    REQUIRE_PRINTING();
    TempDir dir;
    WriteFile(dir / "skrypt.php", PhpScript(150));
    const auto r = RunCli({"print", "--lang", "php", "--line-numbers", "--header", "Strona $PAGENUM$ z $PAGECOUNT$",
                           "--footer", "Plik: $TITLE$", "--title", "skrypt.php (źródło)", (dir / "skrypt.php").string(),
                           (dir / "out.pdf").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_TRUE(std::regex_match(r.out, std::regex("\\d+\n"))) << r.out;
    const int pages = std::stoi(r.out);
    EXPECT_GT(pages, 1);
    EXPECT_EQ(PdfPages(dir / "out.pdf"), pages);

    const std::string first = PdfText(dir / "out.pdf", 1);
    EXPECT_NE(first.find("Strona 1 z " + std::to_string(pages)), std::string::npos) << first;
    EXPECT_NE(first.find("Plik: skrypt.php (źródło)"), std::string::npos) << first;
    EXPECT_NE(Shell("pdfinfo '" + (dir / "out.pdf").string() + "'").find("skrypt.php (źródło)"), std::string::npos);
    EXPECT_NE(first.find("1: <?php"), std::string::npos) << first;
    EXPECT_NE(first.find("2: $napis2 = \"Zażółć gęślą\"; // wiersz"), std::string::npos) << first;
    const std::string last = PdfText(dir / "out.pdf", pages);
    EXPECT_NE(last.find("Strona " + std::to_string(pages) + " z "), std::string::npos) << last;
    EXPECT_NE(last.find("150: ?>"), std::string::npos) << last;
}

TEST(PrintCli, LongLinesWrapOnlyWhenAsked)
{
    REQUIRE_PRINTING();
    TempDir dir;
    const std::string tail = "KONIEC";
    WriteFile(dir / "long.txt", std::string(200, 'x') + " " + tail + "\n");
    for (const bool wrap : {false, true}) {
        std::vector<std::string> args{"print"};
        if (wrap)
            args.push_back("--wrap");
        args.push_back((dir / "long.txt").string());
        args.push_back((dir / "out.pdf").string());
        const auto r = RunCli(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "1\n");
        EXPECT_EQ(PdfText(dir / "out.pdf", 1).find(tail) != std::string::npos, wrap);
    }
}

TEST(PrintCli, WiderMarginsMakeMorePages)
{
    REQUIRE_PRINTING();
    TempDir dir;
    WriteFile(dir / "a.txt", PhpScript(120));
    const auto narrow = RunCli({"print", "--margins", "10,10,10,10", (dir / "a.txt").string(), (dir / "a.pdf").string()});
    const auto wide = RunCli({"print", "--margins", "10,100,10,100", (dir / "a.txt").string(), (dir / "b.pdf").string()});
    ASSERT_EQ(narrow.status, 0) << narrow.err;
    ASSERT_EQ(wide.status, 0) << wide.err;
    EXPECT_LT(std::stoi(narrow.out), std::stoi(wide.out));
    EXPECT_EQ(PdfPages(dir / "b.pdf"), std::stoi(wide.out));
}

TEST(PrintCli, BadInputFailsAndKeepsTheOldOutput)
{
    REQUIRE_PRINTING();
    TempDir dir;
    WriteFile(dir / "a.txt", "text\n");
    WriteFile(dir / "old.pdf", "keep me");
    const std::string in = (dir / "a.txt").string();
    const std::string out = (dir / "old.pdf").string();
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    for (const Case& c : {Case{{"print", "--margins", "10,10,10", in, out}, 2},
                          Case{{"print", "--margins", "10,-5,10,10", in, out}, 2},
                          Case{{"print", "--margins", "120,10,120,10", in, out}, 2},
                          Case{{"print", "--lang", "cobol", in, out}, 2},
                          Case{{"print", "--colour", in, out}, 2},
                          Case{{"print", in}, 2},
                          Case{{"print", (dir / "missing.txt").string(), out}, 1},
                          Case{{"print", in, (dir / "no" / "such" / "dir.pdf").string()}, 1}}) {
        const auto r = RunCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[1];
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_NE(r.err.find("ostrel-cli: print: "), std::string::npos) << r.err;
        EXPECT_EQ(ReadFile(dir / "old.pdf"), "keep me");
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "old.pdf.part"));
}

// A UTF-8 file: every character in the cells of its width, a long line of
// wide characters broken by cells (never inside a character), a header in
// UTF-8, line numbers, and characters the body font lacks drawn from a
// fallback font; the PDF's text layer gives them all back.
TEST(PrintCli, PrintsUtf8TextInItsCellsAndGivesItBack)
{
    REQUIRE_PRINTING();
    TempDir dir;
    std::string cjk;
    for (int i = 0; i < 60; ++i)
        cjk += "日本";
    const std::string text = "Zażółć gęślą jaźń ŻÓŁW\n"
                             "Ωμέγα привет naïve\n" +
                             cjk + "\n"
                             "$koniec = 'ćma';\n";
    WriteFile(dir / "utf.php", text);
    const auto r = RunCli({"print", "--lang", "php", "--wrap", "--line-numbers", "--header", "Nagłówek: żółw €",
                           (dir / "utf.php").string(), (dir / "out.pdf").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string page = PdfText(dir / "out.pdf", 1);
    EXPECT_NE(page.find("Nagłówek: żółw €"), std::string::npos) << page;
    EXPECT_NE(page.find("1: Zażółć gęślą jaźń ŻÓŁW"), std::string::npos) << page;
    EXPECT_NE(page.find("2: Ωμέγα привет naïve"), std::string::npos) << page;
    EXPECT_NE(page.find("4: $koniec = 'ćma';"), std::string::npos) << page;
    // 240 cells of wide characters take rows of whole characters; all 120
    // of them come back, in order.
    std::string shown;
    for (size_t at = page.find("日"); at != std::string::npos && at < page.size();) {
        if (page.compare(at, 3, "日") == 0 || page.compare(at, 3, "本") == 0) {
            shown += page.substr(at, 3);
            at += 3;
        } else {
            ++at;
        }
    }
    EXPECT_EQ(shown, cjk) << page;
    // More than one row: the line is broken by cells.
    EXPECT_GT(std::count(page.begin(), page.end(), '\n'), 5) << page;
}

// The same text read in another encoding on request.
TEST(PrintCli, TheEncodingOptionChoosesHowTheFileIsRead)
{
    REQUIRE_PRINTING();
    TempDir dir;
    WriteFile(dir / "a.txt", "Za\xBF\xF3\xB3\xE6 \xB1\n");
    ASSERT_EQ(RunCli({"print", "--encoding", "iso-8859-2", (dir / "a.txt").string(), (dir / "a.pdf").string()}).status,
              0);
    EXPECT_NE(PdfText(dir / "a.pdf", 1).find("Zażółć ą"), std::string::npos);
    ASSERT_EQ(RunCli({"print", "--encoding", "windows-1250", (dir / "a.txt").string(), (dir / "b.pdf").string()}).status,
              0);
    EXPECT_NE(PdfText(dir / "b.pdf", 1).find("Zażółć ±"), std::string::npos);
    EXPECT_EQ(RunCli({"print", "--encoding", "koi8", (dir / "a.txt").string(), (dir / "c.pdf").string()}).status, 2);
}
