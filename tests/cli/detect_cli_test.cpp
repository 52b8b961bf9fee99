// ostrel-cli detect: one line per file with the encoding it would open in,
// and what it refuses to read.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "support/CliRun.h"
#include "support/TestSupport.h"

using ostrel::test::RunCli;
using ostrel::test::TempDir;
using ostrel::test::WriteFile;

TEST(DetectCli, PrintsTheEncodingOfEachFile)
{
    TempDir dir;
    WriteFile(dir / "utf8.txt", "Zażółć gęślą jaźń\n");
    WriteFile(dir / "bom.txt", "\xEF\xBB\xBF" "abc");
    WriteFile(dir / "le.txt", std::string("\xFF\xFE" "a\0", 4));
    WriteFile(dir / "be.txt", std::string("\xFE\xFF\0a", 4));
    WriteFile(dir / "win.txt", "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1\n");
    WriteFile(dir / "iso.txt", "Za\xBF\xF3\xB3\xE6 g\xEA\xB6l\xB1 ja\xBC\xF1\n");
    WriteFile(dir / "ascii.txt", "plain\n");
    WriteFile(dir / "empty.txt", "");
    std::vector<std::string> args = {"detect"};
    for (const char* name : {"utf8.txt", "bom.txt", "le.txt", "be.txt", "win.txt", "iso.txt", "ascii.txt", "empty.txt"})
        args.push_back((dir / name).string());
    const auto result = RunCli(args);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::string d = dir.path().string() + "/";
    EXPECT_EQ(result.out, "utf-8\t" + d + "utf8.txt\n"
                          "utf-8-bom\t" + d + "bom.txt\n"
                          "utf-16le\t" + d + "le.txt\n"
                          "utf-16be\t" + d + "be.txt\n"
                          "windows-1250\t" + d + "win.txt\n"
                          "iso-8859-2\t" + d + "iso.txt\n"
                          "utf-8\t" + d + "ascii.txt\n"
                          "utf-8\t" + d + "empty.txt\n");
}

TEST(DetectCli, UnreadableAndNonRegularFilesAreRefusedAndTheOthersStillPrinted)
{
    TempDir dir;
    WriteFile(dir / "a.txt", "ok");
    const std::string fifo = (dir / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string missing = (dir / "missing.txt").string();
    const std::string good = (dir / "a.txt").string();
    const auto result = RunCli({"detect", missing, fifo, "/dev/zero", dir.path().string(), good});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "utf-8\t" + good + "\n");
    EXPECT_NE(result.err.find("cannot read '" + missing + "'"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("'" + fifo + "' is not a regular file"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("'/dev/zero' is not a regular file"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("'" + dir.path().string() + "' is not a regular file"), std::string::npos);
}

TEST(DetectCli, UsageErrors)
{
    EXPECT_EQ(RunCli({"detect"}).status, 2);
    const auto option = RunCli({"detect", "--frobnicate", "x"});
    EXPECT_EQ(option.status, 2);
    EXPECT_NE(option.err.find("--frobnicate"), std::string::npos);
    // After "--" a name may start with a dash: it is taken as a file.
    const auto dashed = RunCli({"detect", "--", "-no-such-file.txt"});
    EXPECT_EQ(dashed.status, 1);
    EXPECT_NE(dashed.err.find("cannot read '-no-such-file.txt'"), std::string::npos) << dashed.err;
}
