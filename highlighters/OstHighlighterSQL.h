#pragma once
// The SQL lexer, in one of eight dialects. The dialect chooses the keyword
// lists, the word characters and a few scanning rules; a list of table names
// given by the user is coloured too. Keywords are compared without regard to
// case.

#include <array>
#include <string>
#include <vector>

#include "highlighters/OstEditHighlighter.h"
#include "highlighters/OstHighlighterHashEntries.h"

namespace ostrel {

enum TOstSqlTokenKind : int {
    sqlComment = 0,
    sqlDataType = 1,
    sqlDefaultPackage = 2,
    sqlException = 3,
    sqlFunction = 4,
    sqlIdentifier = 5,
    sqlKeyword = 6,
    sqlLineEnd = 7,
    sqlNumber = 8,
    sqlSpace = 9,
    sqlPLSQL = 10,
    sqlPlusCommand = 11,
    sqlString = 12,
    sqlSymbol = 13,
    sqlTableName = 14,
    sqlUnknown = 15,  // drawn as an identifier
    sqlVariable = 16,
};

enum TOstSqlLineState : int {
    sqlPlain = 0,      // the initial state
    sqlInComment = 1,  // inside "/*"
    sqlInString = 2,   // inside a string in apostrophes
};

enum TSQLDialect : int {
    sqlStandard, sqlInterbase6, sqlMSSQL7, sqlMySQL, sqlOracle, sqlSybase, sqlIngres, sqlMSSQL2K,
};

// The enumeration names of the dialects ("sqlStandard", ...), in order.
const std::array<const char*, 8>& SQLDialectNames();

class TOstSQLHighlighter : public TOstCustomHighlighter {
public:
    TOstSQLHighlighter();

    static const char* LanguageTitle();
    std::string GetLanguageTitle() const override { return LanguageTitle(); }

    TOstHighlighterAttributes* DefaultAttribute(int role) const override;
    // Depends on the dialect: "@" counts in the two server dialects, "#" and
    // "$" in the Oracle one.
    TOstCharSet IdentifierChars() const override;
    std::string SampleText() const override;
    // Data types, default packages, exceptions, functions, keywords and
    // PL/SQL words of the dialect.
    bool IsReservedWord(std::string_view word) const override;
    // The base data, then the dialect.
    void Assign(const TOstCustomHighlighter& source) override;

    // Changes notify the change listeners.
    TSQLDialect SQLDialect() const { return dialect_; }
    void SetSQLDialect(TSQLDialect dialect);
    // Words coloured as table names, unless the dialect has them already.
    const std::vector<std::string>& TableNames() const { return tableNames_; }
    void SetTableNames(std::vector<std::string> names);

    bool AtLineEnd() const override { return tokenKind_ == sqlLineEnd; }
    void NextToken() override;
    TOstHighlighterAttributes* TokenAttribute() const override
    {
        return kindAttributes_[static_cast<size_t>(tokenKind_)];
    }
    intptr_t LineState() const override { return state_; }
    void RestoreLineState(intptr_t state) override;
    void ClearLineState() override;

    TOstHighlighterAttributes* CommentAttri;
    TOstHighlighterAttributes* DataTypeAttri;
    TOstHighlighterAttributes* DefaultPackageAttri;
    TOstHighlighterAttributes* ExceptionAttri;
    TOstHighlighterAttributes* FunctionAttri;
    TOstHighlighterAttributes* IdentifierAttri;
    TOstHighlighterAttributes* KeyAttri;
    TOstHighlighterAttributes* NumberAttri;
    TOstHighlighterAttributes* PLSQLAttri;
    TOstHighlighterAttributes* SpaceAttri;
    TOstHighlighterAttributes* SQLPlusAttri;
    TOstHighlighterAttributes* StringAttri;
    TOstHighlighterAttributes* SymbolAttri;
    TOstHighlighterAttributes* TableNameAttri;
    TOstHighlighterAttributes* VariableAttri;

private:
    struct DialectTables;

    void rebuildTableNames();
    int kindOfWord(const unsigned char* word, int length, unsigned hash) const;
    void dispatch();
    void take(int kind, int length);
    void word();
    void variable();
    void at();
    void number();
    void apostropheString();
    void stringBody();
    void doubleQuotedString();
    void slash();
    void blockComment();
    void hash();
    bool continuationAtLineBreak();

    std::array<TOstHighlighterAttributes*, 17> kindAttributes_{};
    const DialectTables* tables_ = nullptr;
    TSQLDialect dialect_ = sqlSybase;
    std::vector<std::string> tableNames_;
    TOstHashEntryList tableList_;  // the table names the dialect lacks
    int state_ = sqlPlain;
};

}  // namespace ostrel
