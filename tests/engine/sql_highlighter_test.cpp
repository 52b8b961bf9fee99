#include <gtest/gtest.h>

#include "highlighters/OstHighlighterSQL.h"
#include "support/HighlighterChecks.h"
#include "support/LexerChecks.h"
#include "support/TestSupport.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

LexTokens Lex(const std::string& line, TSQLDialect dialect = sqlSybase, intptr_t state = sqlPlain)
{
    TOstSQLHighlighter hl;
    hl.SetSQLDialect(dialect);
    return LexLine(hl, line, state);
}

int KindOf(const std::string& word, TSQLDialect dialect = sqlSybase)
{
    const LexTokens t = Lex(word, dialect);
    return t.size() == 1 && t[0].text == word ? t[0].kind : -1;
}

constexpr int C = sqlComment, T = sqlDataType, P = sqlDefaultPackage, E = sqlException, F = sqlFunction,
              I = sqlIdentifier, K = sqlKeyword, N = sqlNumber, W = sqlSpace, PL = sqlPLSQL, SP = sqlPlusCommand,
              S = sqlString, Y = sqlSymbol, TN = sqlTableName, U = sqlUnknown, V = sqlVariable;

constexpr TSQLDialect kAllDialects[] = {sqlStandard, sqlInterbase6, sqlMSSQL7, sqlMySQL,
                                        sqlOracle,   sqlSybase,     sqlIngres, sqlMSSQL2K};

}  // namespace

// ---- Keyword lists per dialect ------------------------------------------------------

TEST(SqlWords, KeywordsIgnoreCase)
{
    for (const char* w : {"SELECT", "select", "Select", "sElEcT"})
        EXPECT_EQ(KindOf(w), K) << w;
    EXPECT_EQ(KindOf("selects"), I);
    EXPECT_EQ(KindOf("customers"), I);
    EXPECT_EQ(Lex("a#b$c1"), (LexTokens{{"a#b$c1", I}})) << "\"#\" and \"$\" continue words";
}

TEST(SqlWords, EachDialectHasItsOwnLists)
{
    EXPECT_EQ(KindOf("mediumint", sqlMySQL), T);
    EXPECT_EQ(KindOf("varchar", sqlMySQL), K) << "the keyword list comes first";
    EXPECT_EQ(KindOf("concat", sqlMySQL), F);
    EXPECT_EQ(KindOf("concat", sqlSybase), I);
    EXPECT_EQ(KindOf("GEN_ID", sqlInterbase6), F);
    EXPECT_EQ(KindOf("blob", sqlInterbase6), T);
    EXPECT_EQ(KindOf("getdate", sqlMSSQL2K), F);
    EXPECT_EQ(KindOf("sql_variant", sqlMSSQL2K), T);
    EXPECT_EQ(KindOf("ENDLOOP", sqlIngres), K);
    EXPECT_EQ(KindOf("money", sqlIngres), T);
    EXPECT_EQ(KindOf("nvl", sqlOracle), F);
    EXPECT_EQ(KindOf("varchar2", sqlOracle), T);
    EXPECT_EQ(KindOf("no_data_found", sqlOracle), E);
    EXPECT_EQ(KindOf("dbms_output", sqlOracle), P);
    EXPECT_EQ(KindOf("pragma", sqlOracle), PL);
    EXPECT_EQ(KindOf("spool", sqlOracle), SP);
    EXPECT_EQ(KindOf("LCR$_ROW_LIST", sqlOracle), PL);
    EXPECT_EQ(KindOf("end", sqlStandard), K);
    EXPECT_EQ(Lex("end-exec", sqlStandard), (LexTokens{{"end", K}, {"-", Y}, {"exec", I}}))
        << "\"-\" joins words only in the list, never in the text";
}

TEST(SqlWords, ReservedWordsAndTableNames)
{
    TOstSQLHighlighter hl;
    int notified = 0;
    hl.AddChangeListener(this, [&](TOstHighlighterAttributes*) { ++notified; });
    EXPECT_TRUE(hl.IsReservedWord("select"));
    EXPECT_FALSE(hl.IsReservedWord("customers"));
    EXPECT_FALSE(hl.IsReservedWord("select x"));
    hl.SetTableNames({"Customers", "select", "CUSTOMERS", "order_lines"});
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(LexLine(hl, "customers select Order_Lines", sqlPlain),
              (LexTokens{{"customers", TN}, {" ", W}, {"select", K}, {" ", W}, {"Order_Lines", TN}}))
        << "a table name equal to a keyword stays a keyword";
    EXPECT_FALSE(hl.IsReservedWord("customers"));
    hl.SetSQLDialect(sqlOracle);
    EXPECT_EQ(notified, 2);
    EXPECT_EQ(LexLine(hl, "customers", sqlPlain), (LexTokens{{"customers", TN}})) << "table names survive a dialect change";
    hl.SetSQLDialect(sqlOracle);
    EXPECT_EQ(notified, 2);
    EXPECT_TRUE(hl.IsReservedWord("nvl"));
    hl.RemoveChangeListener(this);
}

// ---- Variables and "@" --------------------------------------------------------------

TEST(SqlVariables, AtSignByDialect)
{
    EXPECT_EQ(Lex("@count"), (LexTokens{{"@count", V}}));
    EXPECT_EQ(Lex("@@rowcount"), (LexTokens{{"@", V}, {"@rowcount", V}}))
        << "\"@\" is no word character in the general dialects";
    EXPECT_EQ(Lex("@@ROWCOUNT", sqlMSSQL2K), (LexTokens{{"@@ROWCOUNT", V}}));
    EXPECT_EQ(Lex("@@ROWCOUNT", sqlMSSQL7), (LexTokens{{"@@ROWCOUNT", F}})) << "a system function";
    EXPECT_EQ(Lex("@@nosuch", sqlMSSQL7), (LexTokens{{"@@nosuch", I}}));
    EXPECT_EQ(Lex("@x", sqlMSSQL7), (LexTokens{{"@x", V}}));
    EXPECT_EQ(Lex("@x", sqlMySQL), (LexTokens{{"@", Y}, {"x", I}}));
    EXPECT_EQ(Lex("@x", sqlOracle), (LexTokens{{"@", Y}, {"x", I}}));
}

TEST(SqlVariables, ColonBindVariables)
{
    EXPECT_EQ(Lex(":x", sqlOracle), (LexTokens{{":x", V}}));
    EXPECT_EQ(Lex(":x", sqlIngres), (LexTokens{{":x", V}}));
    EXPECT_EQ(Lex(":x", sqlSybase), (LexTokens{{":", Y}, {"x", I}}));
    EXPECT_EQ(Lex("a#b $c", sqlOracle), (LexTokens{{"a#b", I}, {" ", W}, {"$", U}, {"c", I}}));
}

// ---- Comments and strings -------------------------------------------------------------

TEST(SqlComments, LineBlockRemarkAndHash)
{
    EXPECT_EQ(Lex("a -- b"), (LexTokens{{"a", I}, {" ", W}, {"-- b", C}}));
    EXPECT_EQ(Lex("a - b"), (LexTokens{{"a", I}, {" ", W}, {"-", Y}, {" ", W}, {"b", I}}));
    EXPECT_EQ(Lex("REM anything at all", sqlOracle), (LexTokens{{"REM anything at all", C}}));
    EXPECT_EQ(Lex("remark x", sqlOracle), (LexTokens{{"remark x", C}}));
    EXPECT_EQ(Lex("REMARKS x", sqlOracle)[0], (LexToken{"REMARKS", I}));
    EXPECT_EQ(Lex("# dump */ x", sqlMySQL), (LexTokens{{"", C}, {"# dump */ x", C}}));
    EXPECT_EQ(Lex(" # x", sqlMySQL)[1], (LexToken{"#", U})) << "only at the very start of the line";
    EXPECT_EQ(Lex("# x", sqlSybase)[0], (LexToken{"#", U}));
    TOstSQLHighlighter my;
    my.SetSQLDialect(sqlMySQL);
    EXPECT_EQ(StateAfterLine(my, "# x", sqlPlain), sqlPlain);

    TOstSQLHighlighter hl;
    const auto lexed = LexLines(hl, {"x /* a", "", "b */ y", "/*/"});
    EXPECT_EQ(lexed[0].state, sqlInComment);
    EXPECT_EQ(lexed[1].state, sqlInComment);
    EXPECT_EQ(lexed[2].tokens, (LexTokens{{"b */", C}, {" ", W}, {"y", I}}));
    EXPECT_EQ(lexed[3].state, sqlInComment);
}

TEST(SqlStrings, ApostropheStringsSpanLines)
{
    TOstSQLHighlighter hl;
    const auto lexed = LexLines(hl, {"x = 'abc", "", "def' y", "'", "' z"});
    EXPECT_EQ(lexed[0].tokens.back(), (LexToken{"'abc", S}));
    EXPECT_EQ(lexed[0].state, sqlInString);
    EXPECT_EQ(lexed[1].state, sqlInString);
    EXPECT_EQ(lexed[2].tokens, (LexTokens{{"def'", S}, {" ", W}, {"y", I}}));
    EXPECT_EQ(lexed[3].state, sqlInString);
    EXPECT_EQ(lexed[4].tokens, (LexTokens{{"'", S}, {" ", W}, {"z", I}})) << "a leading quote closes at once";
    EXPECT_EQ(Lex("'it''s'"), (LexTokens{{"'it'", S}, {"'s'", S}}));
}

TEST(SqlStrings, BackslashesByDialect)
{
    EXPECT_EQ(Lex("'a\\'b' x", sqlMySQL), (LexTokens{{"'a\\'b'", S}, {" ", W}, {"x", I}}));
    EXPECT_EQ(Lex("'C:\\\\' x", sqlMySQL), (LexTokens{{"'C:\\\\'", S}, {" ", W}, {"x", I}}))
        << "an escaped backslash does not escape the quote after it";
    EXPECT_EQ(Lex("'C:\\' x", sqlSybase), (LexTokens{{"'C:\\'", S}, {" ", W}, {"x", I}}));
    EXPECT_EQ(Lex("\"a\\\"b\"\"c\" x"), (LexTokens{{"\"a\\\"b\"\"c\"", S}, {" ", W}, {"x", I}}));
    EXPECT_EQ(Lex("\"open"), (LexTokens{{"\"open", S}}));
}

// ---- Numbers and symbols ------------------------------------------------------------------

TEST(SqlSymbols, NumbersAndOperators)
{
    EXPECT_EQ(Lex("1..5"), (LexTokens{{"1", N}, {".", Y}, {".", Y}, {"5", N}}));
    EXPECT_EQ(Lex("1-2 3.5"), (LexTokens{{"1-2", N}, {" ", W}, {"3.5", N}}));
    EXPECT_EQ(Lex("a<<=b=>c<>d"), (LexTokens{{"a", I}, {"<<=", Y}, {"b", I}, {"=>", Y}, {"c", I}, {"<", Y},
                                             {">", Y}, {"d", I}}));
    EXPECT_EQ(Lex("x||y/=z"), (LexTokens{{"x", I}, {"||", Y}, {"y", I}, {"/=", Y}, {"z", I}}));
    EXPECT_EQ(Lex("$\\`\xB9"), (LexTokens{{"$", U}, {"\\", U}, {"`", U}, {"\xB9", U}}));
}

// ---- Class facts ---------------------------------------------------------------------------

TEST(SqlClass, AttributesDefaultsAndFacts)
{
    TOstSQLHighlighter hl;
    EXPECT_EQ(hl.SQLDialect(), sqlSybase);
    const std::vector<std::pair<std::string, TFontStyles>> expected = {
        {"Comment", fsItalic}, {"Data Type", fsBold}, {"Default Packages", fsBold}, {"Exception", fsItalic},
        {"Function", fsBold}, {"Identifier", 0}, {"Number", 0}, {"PL/SQL Reserved Word", fsBold},
        {"Reserved Word", fsBold}, {"Space", 0}, {"SQL*Plus Command", fsBold}, {"String", 0}, {"Symbol", 0},
        {"Table Name", 0}, {"Variable", 0}};
    ASSERT_EQ(hl.AttributeCount(), 15);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(hl.AttributeAt(i)->Name(), expected[static_cast<size_t>(i)].first);
        EXPECT_EQ(hl.AttributeAt(i)->Style(), expected[static_cast<size_t>(i)].second);
    }
    EXPECT_STREQ(TOstSQLHighlighter::LanguageTitle(), "SQL");
    EXPECT_EQ(hl.DefaultFilter(), "SQL Files (*.sql)|*.sql");
    EXPECT_FALSE(hl.IdentifierChars()['@']);
    hl.SetSQLDialect(sqlMSSQL7);
    EXPECT_TRUE(hl.IdentifierChars()['@']);
    hl.SetSQLDialect(sqlOracle);
    EXPECT_TRUE(hl.IdentifierChars()['#'] && hl.IdentifierChars()['$']);

    TOstSQLHighlighter copy;
    copy.Assign(hl);
    EXPECT_EQ(copy.SQLDialect(), sqlOracle);
    hl.StartLine("$", 0);
    EXPECT_EQ(hl.TokenAttribute(), hl.IdentifierAttri) << "unknown characters are drawn as identifiers";
}

// ---- Properties over many inputs ----------------------------------------------------------

namespace {

TOstHighlighterAttributes* AttributeOfKind(const TOstCustomHighlighter& base, int kind)
{
    const auto& hl = static_cast<const TOstSQLHighlighter&>(base);
    TOstHighlighterAttributes* const byKind[] = {
        hl.CommentAttri, hl.DataTypeAttri, hl.DefaultPackageAttri, hl.ExceptionAttri, hl.FunctionAttri,
        hl.IdentifierAttri, hl.KeyAttri, nullptr, hl.NumberAttri, hl.SpaceAttri, hl.PLSQLAttri,
        hl.SQLPlusAttri, hl.StringAttri, hl.SymbolAttri, hl.TableNameAttri, hl.IdentifierAttri,
        hl.VariableAttri};
    return byKind[kind];
}

LexerFacts FactsFor(TSQLDialect dialect)
{
    return {[dialect] {
                auto hl = std::make_unique<TOstSQLHighlighter>();
                hl->SetSQLDialect(dialect);
                return hl;
            },
            sqlLineEnd, 17, AttributeOfKind};
}

}  // namespace

TEST(SqlProperties, GeneratedLinesAreCoveredAndRestartExactlyInEveryDialect)
{
    const std::vector<std::string> pieces = {
        "/*", "*/", "--", "-", "'", "\"", "\\", "#", "@", "@@", ":", "$", " ", "\t", "select", "REM", "1", ".",
        "..", "x_1", "<<=", "|", "\xB9", "\r", "\n", "`", "rowcount"};
    for (const TSQLDialect d : kAllDialects) {
        SCOPED_TRACE(SQLDialectNames()[d]);
        const LexerFacts facts = FactsFor(d);
        ExpectGeneratedDocumentsConsistent(facts, pieces, 20031211 + d, 60, sqlPlain);
        ExpectAllBytesCovered(facts, {sqlPlain, sqlInComment, sqlInString});
    }
}

TEST(SqlProperties, RealFilesAreCoveredAndIndependentOfLineBreaks)
{
    for (const TSQLDialect d : kAllDialects) {
        SCOPED_TRACE(SQLDialectNames()[d]);
        ExpectDataFilesConsistent(FactsFor(d), "sql", {".sql"}, 3, sqlPlain);
    }
}

TEST(SqlProperties, IncrementalStatesEqualAFullRescanAfterRandomEdits)
{
    ExpectIncrementalStatesExact(FactsFor(sqlMySQL), "sql/shop_mysql.sql", 10);
}
