// `ostrel-cli tokens` on each language's golden file prints exactly its
// golden token list; the SQL dialect is chosen by name.

#include <gtest/gtest.h>

#include "support/CliRun.h"

using namespace ostrel::test;

TEST(CppCli, TokensMatchTheGoldenFile)
{
    ExpectCliTokensMatchGolden("cpp", "cpp", "golden.cpp");
}
TEST(CssCli, TokensMatchTheGoldenFile)
{
    ExpectCliTokensMatchGolden("css", "css", "golden.css");
}
TEST(JavaCli, TokensMatchTheGoldenFile)
{
    ExpectCliTokensMatchGolden("java", "java", "golden.java");
}
TEST(JsCli, TokensMatchTheGoldenFile)
{
    ExpectCliTokensMatchGolden("js", "js", "golden.js");
}
TEST(PasCli, TokensMatchTheGoldenFile)
{
    ExpectCliTokensMatchGolden("pas", "pas", "golden.pas");
}
TEST(PerlCli, TokensMatchTheGoldenFile)
{
    ExpectCliTokensMatchGolden("perl", "perl", "golden.pl");
}
TEST(PhpCli, TokensMatchTheGoldenFile)
{
    ExpectCliTokensMatchGolden("php", "php", "golden.php");
}
TEST(VbsCli, TokensMatchTheGoldenFile)
{
    ExpectCliTokensMatchGolden("vbs", "vbs", "golden.vbs");
}
TEST(XmlCli, TokensMatchTheGoldenFile)
{
    ExpectCliTokensMatchGolden("xml", "xml", "golden.xml");
}

TEST(SqlCli, TokensMatchTheGoldenFileAndTheDialectIsChosenByName)
{
    ExpectCliTokensMatchGolden("sql", "sql", "golden.sql");
    const std::string dir = std::string(OSTREL_TEST_DATA) + "/sql/";
    const auto plain = RunCli({"tokens", "--lang", "sql", dir + "golden.sql"});
    const auto sybase = RunCli({"tokens", "--lang", "sql", "--sql-dialect", "sqlSybase", dir + "golden.sql"});
    EXPECT_EQ(sybase.out, plain.out) << "Sybase is the default";

    const auto server = RunCli({"tokens", "--lang", "sql", "--sql-dialect=sqlMSSQL2K"}, "@@rowcount\n");
    ASSERT_EQ(server.status, 0) << server.err;
    EXPECT_EQ(server.out, "1\t0\t10\t16\tVariable\n1\tstate\t0\n");

    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"tokens", "--lang", "sql", "--sql-dialect", "mysql"},
                                               {"tokens", "--lang", "sql", "--sql-dialect"},
                                               {"tokens", "--lang", "cpp", "--sql-dialect", "sqlMySQL"}}) {
        const auto bad = RunCli(args, "x\n");
        EXPECT_EQ(bad.status, 2) << args.back();
        EXPECT_EQ(bad.out, "");
        EXPECT_FALSE(bad.err.empty());
    }
}
