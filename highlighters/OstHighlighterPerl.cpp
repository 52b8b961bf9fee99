#include "highlighters/OstHighlighterPerl.h"

#include "highlighters/OstHighlighterHashEntries.h"
#include "highlighters/OstHighlighterScan.h"
#include "highlighters/OstHighlighterStrings.h"
#include "highlighters/OstHighlighterSymbols.h"

namespace ostrel {

namespace {

// The largest hash value: words summing to more are identifiers.
constexpr int kMaxHash = 2167;

constexpr std::string_view kKeywords[] = {
    "abs", "accept", "alarm", "atan2", "bind", "binmode", "bless", "caller", "chdir", "chmod", "chomp", "chop",
    "chown", "chr", "chroot", "close", "closedir", "connect", "cos", "crypt", "dbmclose", "dbmopen", "defined",
    "delete", "die", "do", "dump", "each", "else", "elsif", "endgrent", "endhostent", "endnetent",
    "endprotoent", "endpwent", "endservent", "eof", "eval", "exec", "exists", "exit", "exp", "fcntl", "fileno",
    "flock", "for", "foreach", "fork", "format", "formline", "getc", "getgrent", "getgrgid", "getgrnam",
    "gethostbyaddr", "gethostbyname", "gethostent", "getlogin", "getnetbyaddr", "getnetbyname", "getnetent",
    "getpeername", "getpgrp", "getppid", "getpriority", "getprotobyname", "getprotobynumber", "getprotoent",
    "getpwent", "getpwnam", "getpwuid", "getservbyname", "getservbyport", "getservent", "getsockname",
    "getsockopt", "glob", "gmtime", "goto", "grep", "hex", "if", "import", "index", "int", "ioctl", "join",
    "keys", "kill", "last", "lc", "lcfirst", "length", "link", "listen", "local", "localtime", "log", "lstat",
    "m", "map", "mkdir", "msgctl", "msgget", "msgrcv", "msgsnd", "my", "next", "no", "oct", "open", "opendir",
    "ord", "pack", "package", "pipe", "pop", "pos", "print", "push", "q", "qq", "quotemeta", "qw", "qx",
    "rand", "read", "readdir", "readlink", "recv", "redo", "ref", "rename", "require", "reset", "return",
    "reverse", "rewinddir", "rindex", "rmdir", "scalar", "seek", "seekdir", "select", "semctl", "semget",
    "semop", "send", "setgrent", "sethostent", "setnetent", "setpgrp", "setpriority", "setprotoent",
    "setpwent", "setservent", "setsockopt", "shift", "shmctl", "shmget", "shmread", "shmwrite", "shutdown",
    "sin", "sleep", "socket", "socketpair", "sort", "splice", "split", "sprintf", "sqrt", "srand", "stat",
    "study", "sub", "substr", "symlink", "syscall", "sysread", "system", "syswrite", "tell", "telldir", "tie",
    "time", "times", "tr", "truncate", "uc", "ucfirst", "umask", "undef", "unless", "unlink", "unpack",
    "unshift", "untie", "use", "utime", "values", "vec", "wait", "waitpid", "wantarray", "warn", "while",
    "write",
};
static_assert(std::size(kKeywords) == 208);

constexpr std::string_view kWordOperators[] = {"and", "cmp", "eq", "ge", "gt", "le", "lt", "ne", "not", "or", "xor"};

constexpr std::string_view kPragmas[] = {"constant", "diagnostics", "integer", "less", "locale",
                                         "sigtrap",  "strict",      "subs",    "vars"};

constexpr std::string_view kSpecialVariables[] = {
    "$ACCUMULATOR", "$ARG", "$ARGV", "$BASETIME", "$CHILD_ERROR", "$DEBUGGING", "$EFFECTIVE_GROUP_ID",
    "$EFFECTIVE_USER_ID", "$EGID", "$ENV", "$ERRNO", "$EUID", "$EVAL_ERROR", "$EXECUTABLE_NAME",
    "$FORMAT_FORMFEED", "$FORMAT_LINES_LEFT", "$FORMAT_LINES_PER_PAGE", "$FORMAT_LINE_BREAK_CHARACTERS",
    "$FORMAT_NAME", "$FORMAT_PAGE_NUMBER", "$FORMAT_TOP_NAME", "$GID", "$INPLACE_EDIT", "$INPUT_LINE_NUMBER",
    "$INPUT_RECORD_SEPARATOR", "$LAST_PAREN_MATCH", "$LIST_SEPARATOR", "$MATCH", "$MULTILINE_MATCHING", "$NR",
    "$OFMT", "$ORS", "$OS_ERROR", "$OUTPUT_AUTOFLUSH", "$OUTPUT_FIELD_SEPARATOR", "$PERLDB", "$PERL_VERSION",
    "$PID", "$POSTMATCH", "$PREMATCH", "$PROCESS_ID", "$PROGRAM_NAME", "$REAL_GROUP_ID", "$REAL_USER_ID", "$RS",
    "$SIG", "$SUBSCRIPT_SEPARATOR", "$SUBSEP", "$SYSTEM_FD_MAX", "$UID", "$WARNING", "%INC", "@ARGV", "@INC",
};
static_assert(std::size(kSpecialVariables) == 54);

// The characters a keyword is hashed over; the hash is the plain sum of
// their codes.
constexpr bool IsScanChar(int c) { return IsAsciiWordChar(c) || c == '$' || c == '%' || c == '@'; }
constexpr auto kScanChar = CharTable<bool>(IsScanChar);
constexpr auto kWordChar = CharTable<bool>(IsAsciiWordChar);

constexpr auto kScanCharUtf8 = WithUtf8Letters(kScanChar, true);
constexpr auto kWordCharUtf8 = WithUtf8Letters(kWordChar, true);

int HashWord(const unsigned char* s, int& length) { return SumHash(s, length, kScanChar, kExactValues); }
int HashWordUtf8(const unsigned char* s, int& length) { return SumHash(s, length, kScanCharUtf8, kExactValues); }

const TOstKeywordTable& KeywordTable()
{
    static const TOstKeywordTable table = [] {
        TOstKeywordTable t(kExactValues, kMaxHash);
        AddHashedKeywords(t, kKeywords, perlKeyword, HashWord);
        AddHashedKeywords(t, kWordOperators, perlOperator, HashWord);
        AddHashedKeywords(t, kPragmas, perlPragma, HashWord);
        AddHashedKeywords(t, kSpecialVariables, perlVariable, HashWord);
        return t;
    }();
    return table;
}

constexpr std::string_view kOperators[] = {
    "&&=", "&&", "&=", "&", "::", ":", "==", "=>", "=~", "=", ">>=", ">>", ">=", ">", "<<=", "<<", "<=>", "<=",
    "<", "--", "-=", "->", "-", "!=", "!~", "!", "||=", "||", "|=", "|", "++", "+=", "+", "/=", "/", "**=", "**",
    "*=", "*", "^=", "^",
};
constexpr TOstOperatorTable kOperatorTable(kOperators);

enum CharClass : uint8_t {
    ccSymbol, ccNull, ccLineBreak, ccBlank, ccWord, ccHash, ccQuote, ccApostrophe, ccDotOrDigit, ccUnknown,
    ccOperator,
};

constexpr CharClass ClassOf(int c)
{
    switch (c) {
    case 0: return ccNull;
    case 10: case 13: return ccLineBreak;
    case '#': return ccHash;
    case '"': return ccQuote;
    case '\'': return ccApostrophe;
    case '.': return ccDotOrDigit;
    case '`': return ccUnknown;
    default: break;
    }
    if (IsBlank(c)) return ccBlank;
    if (IsDigit(c)) return ccDotOrDigit;
    if (IsScanChar(c)) return ccWord;
    if (c >= 127) return ccUnknown;
    return kOperatorTable.Starts(static_cast<unsigned char>(c)) ? ccOperator : ccSymbol;
}
constexpr auto kClass = CharTable<CharClass>(ClassOf);
constexpr auto kClassUtf8 = WithUtf8Letters(kClass, ccWord);

// What may follow "$" in a punctuation variable ("$_", "$1", "$!", ...).
constexpr auto kAfterDollar = CharTable<bool>([](int c) {
    return IsDigit(c) || std::string_view("!\"#$%&'()*+-./:;<=>?@[\\]_`|~").find(static_cast<char>(c)) !=
                             std::string_view::npos;
});
// What may follow "$^" in a control-character variable ("$^W", ...).
constexpr auto kAfterCaret = CharTable<bool>([](int c) {
    return c != 0 && std::string_view("ADFILPTWX").find(static_cast<char>(c)) != std::string_view::npos;
});
constexpr auto kNumberChar = CharTable<bool>([](int c) {
    return IsHexDigit(c) || c == '.' || c == 'X' || c == 'x' || c == '_' || c == '-';
});

}  // namespace

TOstPerlHighlighter::TOstPerlHighlighter()
{
    using namespace hlstr;
    CommentAttri = AddAttribute(kAttrComment, clNone, fsItalic);
    IdentifierAttri = AddAttribute(kAttrIdentifier, clNone, 0);
    InvalidAttri = AddAttribute(kAttrIllegalChar, clNone, 0);
    KeyAttri = AddAttribute(kAttrReservedWord, clNone, fsBold);
    NumberAttri = AddAttribute(kAttrNumber, clNone, 0);
    OperatorAttri = AddAttribute(kAttrOperator, clNone, 0);
    PragmaAttri = AddAttribute(kAttrPragma, clNone, fsBold);
    SpaceAttri = AddAttribute(kAttrSpace, clWindow, 0);
    StringAttri = AddAttribute(kAttrString, clNone, 0);
    SymbolAttri = AddAttribute(kAttrSymbol, clNone, 0);
    VariableAttri = AddAttribute(kAttrVariable, clNone, fsBold);
    BindAttributeChanges();
    kindAttributes_ = {CommentAttri, IdentifierAttri, KeyAttri, nullptr, NumberAttri, OperatorAttri,
                       PragmaAttri, SpaceAttri, StringAttri, SymbolAttri, InvalidAttri, VariableAttri};
    KeywordTable();  // built once, before the first line
    SetDefaultFilter(kFilterPerl);
}

const char* TOstPerlHighlighter::LanguageTitle() { return hlstr::kLangPerl; }

TOstHighlighterAttributes* TOstPerlHighlighter::DefaultAttribute(int role) const
{
    return RoleAttribute(role, {CommentAttri, IdentifierAttri, KeyAttri, StringAttri, SpaceAttri, SymbolAttri});
}

TOstCharSet TOstPerlHighlighter::IdentifierChars() const { return scan::LatinIdentifierChars() | CharSetOf("$%@"); }

std::string TOstPerlHighlighter::SampleText() const
{
    return "#!/usr/bin/perl -w\r\n"
           "# Syntax highlighting\r\n"
           "use strict;\r\n"
           "\r\n"
           "my %count;\r\n"
           "while (my $line = <STDIN>) {\r\n"
           "    chomp $line;\r\n"
           "    next if $line =~ /^\\s*$/;\r\n"
           "    $count{lc $_}++ foreach split /\\W+/, $line;\r\n"
           "}\r\n"
           "foreach my $word (sort keys %count) {\r\n"
           "    printf \"%-20s %5d\\n\", $word, $count{$word} if $count{$word} ge 2;\r\n"
           "}\r\n"
           "print 'Lines read: ', $., \"\\n\";";
}

void TOstPerlHighlighter::NextToken()
{
    tokenPos_ = run_;
    switch ((utf8Text_ ? kClassUtf8 : kClass)[line_[run_]]) {
    case ccNull: tokenKind_ = perlLineEnd; break;
    case ccLineBreak: take(perlSpace, scan::SkipLineBreak(line_, run_) - run_); break;
    case ccBlank: take(perlSpace, SkipBlanks(line_, run_) - run_); break;
    case ccWord: variableOrWord(); break;
    case ccHash: take(perlComment, scan::SkipToLineEnd(line_, run_) - run_); break;
    case ccQuote: doubleQuoted(); break;
    case ccApostrophe: singleQuoted(); break;
    case ccDotOrDigit: dotOrNumber(); break;
    case ccUnknown: take(perlUnknown, 1); break;  // no double-byte characters in the code page
    case ccOperator: take(perlSymbol, kOperatorTable.Match(line_ + run_)); break;
    case ccSymbol: take(perlSymbol, 1); break;
    }
}

void TOstPerlHighlighter::take(int kind, int length)
{
    tokenKind_ = kind;
    run_ += length;
}

// Punctuation variables ("$_", "$1", "$^W"), the operators "%", "%=", "x"
// and "x=", or a word.
void TOstPerlHighlighter::variableOrWord()
{
    const unsigned char c = line_[run_];
    const unsigned char next = line_[run_ + 1];
    if (c == '$' && kAfterDollar[next]) {
        take(perlVariable, 2);
        return;
    }
    if (c == '$' && next == '^') {
        const unsigned char third = line_[run_ + 2];
        if (scan::IsLineEnd(third) || kAfterCaret[third]) {
            take(perlVariable, scan::IsLineEnd(third) ? 2 : 3);
            return;
        }
    }
    if ((c == '%' || c == 'x') && (scan::IsLineEnd(next) || next == '=')) {
        take(perlSymbol, next == '=' ? 2 : 1);
        return;
    }
    word();
}

void TOstPerlHighlighter::word()
{
    int length = 0;
    const int hash = utf8Text_ ? HashWordUtf8(line_ + run_, length) : HashWord(line_ + run_, length);
    tokenKind_ = KeywordTable().Classify(line_ + run_, length, hash, perlIdentifier, perlIdentifier);
    const auto& wordChar = utf8Text_ ? kWordCharUtf8 : kWordChar;
    for (run_ += length; wordChar[line_[run_]];)
        ++run_;
}

// "..", "...", ".=" and "." are operators; a point starts a number only
// before a digit. In a number ".." ends it and "-" belongs only to an
// exponent.
void TOstPerlHighlighter::dotOrNumber()
{
    const unsigned char next = line_[run_ + 1];
    if (line_[run_] == '.' && !IsDigit(next)) {
        if (next == '.')
            take(perlSymbol, line_[run_ + 2] == '.' ? 3 : 2);
        else
            take(perlSymbol, next == '=' ? 2 : 1);
        return;
    }
    tokenKind_ = perlNumber;
    for (++run_; kNumberChar[line_[run_]]; ++run_) {
        const unsigned char c = line_[run_];
        if (c == '.' && line_[run_ + 1] == '.')
            return;
        if (c == '-' && line_[run_ - 1] != 'e' && line_[run_ - 1] != 'E')
            return;
    }
}

// A backslash takes the character after it along, so the quote after an
// even run of backslashes ends the string. A quote followed by two more
// starts its search after the third.
void TOstPerlHighlighter::doubleQuoted()
{
    tokenKind_ = perlString;
    if (line_[run_ + 1] == '"' && line_[run_ + 2] == '"')
        run_ += 2;
    run_ = SkipEscapedString(line_, run_ + 1, '"');
}

void TOstPerlHighlighter::singleQuoted()
{
    tokenKind_ = perlString;
    for (++run_; !scan::IsLineEnd(line_[run_]);) {
        if (line_[run_++] == '\'')
            return;
    }
}

}  // namespace ostrel
