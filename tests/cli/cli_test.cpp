#include <gtest/gtest.h>

#include "support/CliRun.h"
#include "support/TestSupport.h"

using ostrel::test::RunCli;

TEST(Cli, HelpAndVersion)
{
    const auto help = RunCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: ostrel-cli"), std::string::npos);

    const auto version = RunCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("ostrel-cli ", 0), 0u);
}

TEST(Cli, UnknownCommandIsAUsageError)
{
    const auto r = RunCli({"frobnicate"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("frobnicate"), std::string::npos);
}
