#include "highlighters/OstHighlighterSQL.h"

#include "highlighters/OstHighlighterSQLWords.h"
#include "highlighters/OstHighlighterScan.h"
#include "highlighters/OstHighlighterStrings.h"
#include "highlighters/OstHighlighterSymbols.h"

namespace ostrel {

namespace {

// The rest of a MySQL "#" comment line; never left at a line's end.
constexpr int kInLineComment = 3;

bool IsServerDialect(TSQLDialect d) { return d == sqlMSSQL7 || d == sqlMSSQL2K; }

// Word characters and hash values: "_" is 1, letters 2 to 27 in either
// case, and "@" 28 where it belongs to words. Keywords are compared with the
// general values, so the comparison ignores case.
constexpr bool IsGeneralWordChar(int c) { return IsAsciiWordChar(c) || c == '#' || c == '$'; }
constexpr int GeneralValue(int c)
{
    return c == '_' ? 1 : c >= 'A' && c <= 'Z' ? c - 'A' + 2 : c >= 'a' && c <= 'z' ? c - 'a' + 2 : 0;
}
constexpr auto kGeneralWordChar = CharTable<bool>(IsGeneralWordChar);
constexpr auto kServerWordChar = CharTable<bool>([](int c) { return IsGeneralWordChar(c) || c == '@'; });
constexpr auto kGeneralWordCharUtf8 = WithUtf8Letters(kGeneralWordChar, true);
constexpr auto kServerWordCharUtf8 = WithUtf8Letters(kServerWordChar, true);
constexpr auto kGeneralValues = CharTable<int>(GeneralValue);
constexpr auto kServerValues = CharTable<int>([](int c) { return c == '@' ? 28 : GeneralValue(c); });

// hash = 2 * hash + value over the word characters, kept to its low byte.
unsigned HashWord(const unsigned char* s, int& length, const std::array<bool, 256>& wordChar,
                  const std::array<int, 256>& values)
{
    unsigned hash = 0;
    length = 0;
    while (wordChar[s[length]])
        hash = 2 * hash + static_cast<unsigned>(values[s[length++]]);
    return hash & 0xFF;
}

TOstCharSet IdentifierCharsOf(TSQLDialect d)
{
    TOstCharSet set = scan::LatinIdentifierChars();
    if (IsServerDialect(d))
        set |= CharSetOf("@");
    if (d == sqlOracle)
        set |= CharSetOf("#$");
    return set;
}

struct WordList {
    int kind;
    std::string_view words;
};

std::vector<WordList> WordListsOf(TSQLDialect d)
{
    using namespace sqlwords;
    switch (d) {
    case sqlStandard: return {{sqlKeyword, kStandardKeywords}};
    case sqlInterbase6:
        return {{sqlDataType, "BLOB,CHAR,CHARACTER,DATE,DECIMAL,DOUBLE,FLOAT,INTEGER,NUMERIC,SMALLINT,TIME,"
                              "TIMESTAMP,VARCHAR"},
                {sqlFunction, "AVG,CAST,COUNT,GEN_ID,MAX,MIN,SUM,UPPER"},
                {sqlKeyword, kInterbaseKeywords}};
    case sqlMSSQL7:
        return {{sqlKeyword, kMSSQL7Keywords}, {sqlDataType, kMSSQL7Types}, {sqlFunction, kMSSQL7Functions}};
    case sqlMySQL:
        return {{sqlKeyword, kMySQLKeywords}, {sqlDataType, kMySQLTypes}, {sqlFunction, kMySQLFunctions}};
    case sqlOracle:
        return {{sqlKeyword, kOracleKeywords}, {sqlDataType, kOracleTypes}, {sqlException, kOracleExceptions},
                {sqlFunction, kOracleFunctions}, {sqlComment, "REM,REMA,REMAR,REMARK"},
                {sqlDefaultPackage, kOraclePackages}, {sqlPLSQL, kOraclePLSQL}, {sqlPlusCommand, kOracleSQLPlus}};
    case sqlSybase: return {{sqlKeyword, kSybaseKeywords}};
    case sqlIngres:
        return {{sqlDataType, kIngresTypes}, {sqlKeyword, kIngresKeywords}, {sqlFunction, kIngresFunctions}};
    case sqlMSSQL2K:
        return {{sqlKeyword, kMSSQL2KKeywords}, {sqlDataType, kMSSQL2KTypes}, {sqlFunction, kMSSQL2KFunctions}};
    }
    return {};
}

constexpr std::string_view kOperators[] = {
    "!=", "!", "%=", "%", "*=", "*", "^=", "^", "&&", "&=", "&", "++", "+=", "+", "||", "|=", "|",
    "<<=", "<<", "<=", "<", "==", "=>", "=", ">=", ">>", ">", "/=", "/", "-",
};
constexpr TOstOperatorTable kOperatorTable(kOperators);

enum CharClass : uint8_t {
    ccSymbol, ccNull, ccLineBreak, ccBlank, ccWord, ccDigit, ccApostrophe, ccQuote, ccMinus, ccSlash, ccHash,
    ccUnknown, ccAt, ccColon, ccOperator,
};

constexpr CharClass ClassOf(int c)
{
    switch (c) {
    case 0: return ccNull;
    case 10: case 13: return ccLineBreak;
    case '\'': return ccApostrophe;
    case '"': return ccQuote;
    case '-': return ccMinus;
    case '/': return ccSlash;
    case '#': return ccHash;
    case '$': case '\\': case '`': return ccUnknown;
    case '@': return ccAt;
    case ':': return ccColon;
    default: break;
    }
    if (IsBlank(c)) return ccBlank;
    if (IsAsciiLetter(c) || c == '_') return ccWord;
    if (IsDigit(c)) return ccDigit;
    if (c >= 127) return ccUnknown;
    return kOperatorTable.Starts(static_cast<unsigned char>(c)) ? ccOperator : ccSymbol;
}
constexpr auto kClass = CharTable<CharClass>(ClassOf);
constexpr auto kClassUtf8 = WithUtf8Letters(kClass, ccWord);

}  // namespace

// What a dialect scans with: its word characters, hash values and keywords.
struct TOstSQLHighlighter::DialectTables {
    const std::array<bool, 256>* wordChar;
    const std::array<bool, 256>* wordCharUtf8;
    const std::array<int, 256>* values;
    TOstHashEntryList keywords;

    const std::array<bool, 256>& WordChars(bool utf8) const { return utf8 ? *wordCharUtf8 : *wordChar; }
    unsigned Hash(const unsigned char* s, int& length, bool utf8 = false) const
    {
        return HashWord(s, length, WordChars(utf8), *values);
    }

    static const DialectTables& Of(TSQLDialect d)
    {
        static const std::array<DialectTables, 8> all = [] {
            std::array<DialectTables, 8> t;
            for (int i = 0; i < 8; ++i)
                t[static_cast<size_t>(i)].Build(static_cast<TSQLDialect>(i));
            return t;
        }();
        return all[static_cast<size_t>(d)];
    }

private:
    // A word list is cut at the characters that cannot be in a word; in the
    // standard dialect "-" joins words ("end-exec").
    void Build(TSQLDialect d)
    {
        const bool server = IsServerDialect(d);
        wordChar = server ? &kServerWordChar : &kGeneralWordChar;
        wordCharUtf8 = server ? &kServerWordCharUtf8 : &kGeneralWordCharUtf8;
        values = server ? &kServerValues : &kGeneralValues;
        TOstCharSet cut = IdentifierCharsOf(d);
        if (d == sqlStandard)
            cut |= CharSetOf("-");
        const auto hashOf = [this](std::string_view word) {
            return HashOfText(word, [this](const unsigned char* s, int& length) { return Hash(s, length); });
        };
        for (const WordList& list : WordListsOf(d))
            AddKeywords(keywords, list.words, list.kind, cut, hashOf);
    }
};

const std::array<const char*, 8>& SQLDialectNames()
{
    static const std::array<const char*, 8> names = {"sqlStandard", "sqlInterbase6", "sqlMSSQL7", "sqlMySQL",
                                                     "sqlOracle", "sqlSybase", "sqlIngres", "sqlMSSQL2K"};
    return names;
}

TOstSQLHighlighter::TOstSQLHighlighter()
{
    using namespace hlstr;
    CommentAttri = AddAttribute(kAttrComment, clNone, fsItalic);
    DataTypeAttri = AddAttribute(kAttrDataType, clNone, fsBold);
    DefaultPackageAttri = AddAttribute(kAttrDefaultPackages, clNone, fsBold);
    ExceptionAttri = AddAttribute(kAttrException, clNone, fsItalic);
    FunctionAttri = AddAttribute(kAttrFunction, clNone, fsBold);
    IdentifierAttri = AddAttribute(kAttrIdentifier, clNone, 0);
    KeyAttri = AddAttribute(kAttrReservedWord, clNone, fsBold);
    NumberAttri = AddAttribute(kAttrNumber, clNone, 0);
    PLSQLAttri = AddAttribute(kAttrPLSQLReservedWord, clNone, fsBold);
    SpaceAttri = AddAttribute(kAttrSpace, clNone, 0);
    SQLPlusAttri = AddAttribute(kAttrSQLPlusCommand, clNone, fsBold);
    StringAttri = AddAttribute(kAttrString, clNone, 0);
    SymbolAttri = AddAttribute(kAttrSymbol, clNone, 0);
    TableNameAttri = AddAttribute(kAttrTableName, clNone, 0);
    VariableAttri = AddAttribute(kAttrVariable, clNone, 0);
    BindAttributeChanges();
    kindAttributes_ = {CommentAttri, DataTypeAttri, DefaultPackageAttri, ExceptionAttri, FunctionAttri,
                       IdentifierAttri, KeyAttri, nullptr, NumberAttri, SpaceAttri, PLSQLAttri, SQLPlusAttri,
                       StringAttri, SymbolAttri, TableNameAttri, IdentifierAttri, VariableAttri};
    dialect_ = sqlSybase;
    tables_ = &DialectTables::Of(dialect_);
    state_ = sqlPlain;
    SetDefaultFilter(kFilterSql);
}

const char* TOstSQLHighlighter::LanguageTitle() { return hlstr::kLangSql; }

TOstHighlighterAttributes* TOstSQLHighlighter::DefaultAttribute(int role) const
{
    return RoleAttribute(role, {CommentAttri, IdentifierAttri, KeyAttri, StringAttri, SpaceAttri, SymbolAttri});
}

TOstCharSet TOstSQLHighlighter::IdentifierChars() const { return IdentifierCharsOf(dialect_); }

std::string TOstSQLHighlighter::SampleText() const
{
    return "-- Syntax highlighting\r\n"
           "/* Orders of the last month */\r\n"
           "select o.id, c.name, sum(o.amount) as total\r\n"
           "  from orders o join customers c on c.id = o.customer_id\r\n"
           " where o.created >= '2003-12-01' and @limit > 10\r\n"
           " group by o.id, c.name\r\n"
           "having count(*) > 1;";
}

void TOstSQLHighlighter::SetSQLDialect(TSQLDialect dialect)
{
    if (dialect == dialect_)
        return;
    dialect_ = dialect;
    tables_ = &DialectTables::Of(dialect_);
    rebuildTableNames();
    NotifyChanged(nullptr);
}

void TOstSQLHighlighter::SetTableNames(std::vector<std::string> names)
{
    tableNames_ = std::move(names);
    rebuildTableNames();
    NotifyChanged(nullptr);
}

// A name the dialect or the list already holds (in any case) is skipped.
void TOstSQLHighlighter::rebuildTableNames()
{
    tableList_.Clear();
    for (const std::string& name : tableNames_) {
        int length = 0;
        const int hash = static_cast<int>(tables_->Hash(reinterpret_cast<const unsigned char*>(name.c_str()), length));
        if (!tables_->keywords.Contains(hash, name) && !tableList_.Contains(hash, name))
            tableList_.Add(hash, name, sqlTableName);
    }
}

void TOstSQLHighlighter::Assign(const TOstCustomHighlighter& source)
{
    TOstCustomHighlighter::Assign(source);
    if (const auto* sql = dynamic_cast<const TOstSQLHighlighter*>(&source))
        SetSQLDialect(sql->SQLDialect());
}

bool TOstSQLHighlighter::IsReservedWord(std::string_view word) const
{
    const std::string zeroEnded(word);
    const auto* w = reinterpret_cast<const unsigned char*>(zeroEnded.c_str());
    int length = 0;
    const unsigned hash = tables_->Hash(w, length, utf8Text_);
    if (length != static_cast<int>(word.size()))
        return false;
    switch (kindOfWord(w, length, hash)) {
    case sqlDataType: case sqlDefaultPackage: case sqlException: case sqlFunction: case sqlKeyword: case sqlPLSQL:
        return true;
    default:
        return false;
    }
}

int TOstSQLHighlighter::kindOfWord(const unsigned char* word, int length, unsigned hash) const
{
    const int h = static_cast<int>(hash);
    if (const TOstHashEntry* e = tables_->keywords.Find(h, word, length, kGeneralValues))
        return e->Kind;
    if (const TOstHashEntry* e = tableList_.Find(h, word, length, kGeneralValues))
        return e->Kind;
    return sqlIdentifier;
}

void TOstSQLHighlighter::RestoreLineState(intptr_t state)
{
    state_ = state == sqlInComment || state == sqlInString ? static_cast<int>(state) : sqlPlain;
}

void TOstSQLHighlighter::ClearLineState() { state_ = sqlPlain; }

void TOstSQLHighlighter::NextToken()
{
    tokenPos_ = run_;
    switch (state_) {
    case sqlInComment:
        if (!continuationAtLineBreak())
            blockComment();
        break;
    case sqlInString:
        if (!continuationAtLineBreak()) {
            tokenKind_ = sqlString;
            stringBody();
        }
        break;
    case kInLineComment:
        tokenKind_ = sqlComment;
        while (line_[run_] != 0)
            ++run_;
        state_ = sqlPlain;
        break;
    default:
        dispatch();
    }
}

// At the end of the line, or a line break inside it, a construct open from
// the line above yields that token and stays open.
bool TOstSQLHighlighter::continuationAtLineBreak()
{
    return TakeLineBreak(line_, run_, tokenKind_, sqlLineEnd, sqlSpace);
}

void TOstSQLHighlighter::dispatch()
{
    const unsigned char next = line_[run_ + 1];
    switch ((utf8Text_ ? kClassUtf8 : kClass)[line_[run_]]) {
    case ccNull: tokenKind_ = sqlLineEnd; break;
    case ccLineBreak: take(sqlSpace, scan::SkipLineBreak(line_, run_) - run_); break;
    case ccBlank: take(sqlSpace, SkipBlanks(line_, run_) - run_); break;
    case ccWord: word(); break;
    case ccDigit: number(); break;
    case ccApostrophe: apostropheString(); break;
    case ccQuote: doubleQuotedString(); break;
    case ccMinus:
        if (next == '-')
            take(sqlComment, scan::SkipToLineEnd(line_, run_) - run_);
        else
            take(sqlSymbol, 1);
        break;
    case ccSlash: slash(); break;
    case ccHash: hash(); break;
    case ccUnknown: take(sqlUnknown, 1); break;  // no double-byte characters in the code page
    case ccAt: at(); break;
    case ccColon:
        if (dialect_ == sqlOracle || dialect_ == sqlIngres)
            variable();
        else
            take(sqlSymbol, 1);
        break;
    case ccOperator: take(sqlSymbol, kOperatorTable.Match(line_ + run_)); break;
    case ccSymbol: take(sqlSymbol, 1); break;
    }
}

void TOstSQLHighlighter::take(int kind, int length)
{
    tokenKind_ = kind;
    run_ += length;
}

// The Oracle words REM to REMARK comment out the rest of the line.
void TOstSQLHighlighter::word()
{
    int length = 0;
    const unsigned hash = tables_->Hash(line_ + run_, length, utf8Text_);
    tokenKind_ = kindOfWord(line_ + run_, length, hash);
    run_ += length;
    if (tokenKind_ == sqlComment)
        run_ = scan::SkipToLineEnd(line_, run_);
}

void TOstSQLHighlighter::variable()
{
    tokenKind_ = sqlVariable;
    const auto& wordChar = tables_->WordChars(utf8Text_);
    for (++run_; wordChar[line_[run_]];)
        ++run_;
}

// "@@" names a system function in the first server dialect; in MySQL and
// Oracle "@" is a symbol; elsewhere it starts a variable.
void TOstSQLHighlighter::at()
{
    if (dialect_ == sqlMSSQL7 && line_[run_ + 1] == '@')
        word();
    else if (dialect_ == sqlMySQL || dialect_ == sqlOracle)
        take(sqlSymbol, 1);
    else
        variable();
}

// Digits, points and minus signs ("1-2" is one number); ".." ends it.
void TOstSQLHighlighter::number()
{
    tokenKind_ = sqlNumber;
    for (++run_;; ++run_) {
        const unsigned char c = line_[run_];
        if (!(IsDigit(c) || c == '-' || (c == '.' && line_[run_ + 1] != '.')))
            return;
    }
}

void TOstSQLHighlighter::apostropheString()
{
    tokenKind_ = sqlString;
    state_ = sqlInString;
    ++run_;
    stringBody();
}

// Up to the closing apostrophe, over lines. In MySQL a backslash escapes the
// character after it, so "\'" does not close the string and "\\" does not
// keep it open.
void TOstSQLHighlighter::stringBody()
{
    const bool escapes = dialect_ == sqlMySQL;
    for (;;) {
        const unsigned char c = line_[run_];
        if (scan::IsLineEnd(c))
            return;
        if (escapes && c == '\\' && !scan::IsLineEnd(line_[run_ + 1])) {
            run_ += 2;
            continue;
        }
        ++run_;
        if (c == '\'') {
            state_ = sqlPlain;
            return;
        }
    }
}

// A backslash before a double quote and a doubled double quote stay inside.
void TOstSQLHighlighter::doubleQuotedString()
{
    tokenKind_ = sqlString;
    for (++run_;;) {
        const unsigned char c = line_[run_];
        if (scan::IsLineEnd(c))
            return;
        if ((c == '\\' || c == '"') && line_[run_ + 1] == '"') {
            run_ += 2;
            continue;
        }
        ++run_;
        if (c == '"')
            return;
    }
}

void TOstSQLHighlighter::slash()
{
    if (line_[run_ + 1] != '*') {
        take(sqlSymbol, kOperatorTable.Match(line_ + run_));
        return;
    }
    state_ = sqlInComment;
    run_ += 2;
    blockComment();
}

void TOstSQLHighlighter::blockComment()
{
    tokenKind_ = sqlComment;
    bool closed = false;
    run_ = scan::SkipBlockCommentBody(line_, run_, closed);
    if (closed)
        state_ = sqlPlain;
}

// In MySQL a "#" at the very start of a line comments out the line: an empty
// comment token, then the whole line as one.
void TOstSQLHighlighter::hash()
{
    if (dialect_ == sqlMySQL && run_ == 0) {
        tokenKind_ = sqlComment;
        state_ = kInLineComment;
    } else {
        take(sqlUnknown, 1);
    }
}

}  // namespace ostrel
