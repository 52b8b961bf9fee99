// ostrel-cli wrap: the rows of a file's lines at a window width, and its
// errors.

#include <gtest/gtest.h>

#include <string>

#include "support/CliRun.h"
#include "support/TestSupport.h"

using ostrel::test::RunCli;

namespace {

std::string Words(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += i ? " abcd" : "abcd";
    return text;
}

}  // namespace

TEST(WrapCli, PrintsEachRowWithItsLineStartAndLength)
{
    const auto result = RunCli({"wrap", "--width", "40"}, "short\r\n" + Words(20) + "\r\n\r\n");
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string row = Words(8) + " ";
    EXPECT_EQ(result.out, "1\t0\t5\tshort\n"
                          "2\t0\t40\t" + row + "\n"
                          "2\t40\t40\t" + row + "\n"
                          "2\t80\t19\t" + Words(4) + "\n"
                          "3\t0\t0\t\n");
}

TEST(WrapCli, TabsCountAsTheCellsTheyCover)
{
    const auto result = RunCli({"wrap", "--width", "10", "--tab-width", "4"}, "\t\tab cdefgh\n");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "1\t0\t11\t\t\t\t\t\t\t\t\tab \n1\t11\t6\tcdefgh\n");
}

TEST(WrapCli, BadArgumentsAndMissingFilesAreReported)
{
    auto result = RunCli({"wrap", "--width", "0"});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("--width needs a positive number"), std::string::npos) << result.err;
    result = RunCli({"wrap", "--frobnicate"});
    EXPECT_EQ(result.status, 2);
    result = RunCli({"wrap", "/nonexistent/file.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("cannot read"), std::string::npos) << result.err;
}
