#include "highlighters/OstHighlighterJava.h"

#include "highlighters/OstHighlighterHashEntries.h"
#include "highlighters/OstHighlighterScan.h"
#include "highlighters/OstHighlighterStrings.h"
#include "highlighters/OstHighlighterSymbols.h"

namespace ostrel {

namespace {

constexpr int kMaxHash = 172;

// In test order within each hash value.
constexpr std::string_view kKeywords[] = {
    "if", "do", "case", "char", "catch", "for", "break", "else", "new", "int", "final", "false", "package",
    "long", "void", "byte", "class", "float", "this", "goto", "while", "null", "double", "try", "true",
    "public", "boolean", "default", "const", "native", "static", "super", "short", "finally", "switch",
    "assert", "throw", "interface", "abstract", "import", "extends", "private", "return", "volatile",
    "continue", "throws", "protected", "instanceof", "strictfp", "transient", "implements", "synchronized",
};
static_assert(std::size(kKeywords) == 52);

constexpr bool IsWordChar(int c) { return IsAsciiWordChar(c) || c == '$' || IsAccentedLetter(c); }
constexpr auto kWordChar = CharTable<bool>(IsWordChar);
// "A" to "Z" are 1 to 26; small and accented letters their code minus 95.
constexpr auto kHashValues = CharTable<int>([](int c) {
    return c >= 'A' && c <= 'Z' ? c - 'A' + 1 : (c >= 'a' && c <= 'z') || IsAccentedLetter(c) ? c - 95 : 0;
});

constexpr auto kWordCharUtf8 = WithUtf8Letters(kWordChar, true);

int HashWord(const unsigned char* s, int& length) { return SumHash(s, length, kWordChar, kHashValues); }
int HashWordUtf8(const unsigned char* s, int& length) { return SumHash(s, length, kWordCharUtf8, kHashValues); }

const TOstKeywordTable& KeywordTable()
{
    static const TOstKeywordTable table = [] {
        TOstKeywordTable t(kExactValues, kMaxHash);
        AddHashedKeywords(t, kKeywords, javaKeyword, HashWord);
        return t;
    }();
    return table;
}

constexpr std::string_view kOperators[] = {
    "&&", "&=", "&", "!=", "!", "%=", "%", "*=", "*", "==", "=", "^=", "^", "++", "+=", "+", "--", "-=",
    "-", "||", "|=", "|", "<<=", "<<", "<=", "<", ">>>=", ">>>", ">>=", ">>", ">=", ">", ":", ";", ",",
    "?", "~", "(", ")", "[", "]", "{", "}", "/=", "/",
};
constexpr TOstOperatorTable kOperatorTable(kOperators);

enum CharClass : uint8_t {
    ccUnknown, ccNull, ccLineBreak, ccBlank, ccWord, ccDigit, ccDot, ccQuote, ccSlash, ccInvalid, ccOperator,
};

constexpr CharClass ClassOf(int c)
{
    switch (c) {
    case 0: return ccNull;
    case 10: case 13: return ccLineBreak;
    case '.': return ccDot;
    case '"': case '\'': return ccQuote;
    case '/': return ccSlash;
    case '@': case '#': return ccInvalid;
    default: break;
    }
    if (IsBlank(c)) return ccBlank;
    if (IsDigit(c)) return ccDigit;
    if (IsWordChar(c)) return ccWord;
    return kOperatorTable.Starts(static_cast<unsigned char>(c)) ? ccOperator : ccUnknown;
}
constexpr auto kClass = CharTable<CharClass>(ClassOf);
constexpr auto kClassUtf8 = WithUtf8Letters(kClass, ccWord);

constexpr auto kNumberChar = CharTable<bool>([](int c) {
    return IsHexDigit(c) || c == '-' || c == '.' || c == 'L' || c == 'l' || c == 'X' || c == 'x';
});

}  // namespace

TOstJavaHighlighter::TOstJavaHighlighter()
{
    using namespace hlstr;
    CommentAttri = AddAttribute(kAttrComment, clNone, fsItalic);
    DocumentAttri = AddAttribute(kAttrDocumentation, clNone, fsItalic);
    IdentifierAttri = AddAttribute(kAttrIdentifier, clNone, 0);
    InvalidAttri = AddAttribute(kAttrInvalidSymbol, clNone, 0);
    KeyAttri = AddAttribute(kAttrReservedWord, clNone, fsBold);
    NumberAttri = AddAttribute(kAttrNumber, clNone, 0);
    SpaceAttri = AddAttribute(kAttrSpace, clWindow, 0);
    StringAttri = AddAttribute(kAttrString, clNone, 0);
    SymbolAttri = AddAttribute(kAttrSymbol, clNone, 0);
    BindAttributeChanges();
    kindAttributes_ = {CommentAttri, DocumentAttri, IdentifierAttri, InvalidAttri, KeyAttri, nullptr,
                       NumberAttri, SpaceAttri, StringAttri, SymbolAttri, InvalidAttri};
    KeywordTable();  // built once, before the first line
    state_ = javaPlain;
    SetDefaultFilter(kFilterJava);
}

const char* TOstJavaHighlighter::LanguageTitle() { return hlstr::kLangJava; }

TOstHighlighterAttributes* TOstJavaHighlighter::DefaultAttribute(int role) const
{
    return RoleAttribute(role, {CommentAttri, IdentifierAttri, KeyAttri, StringAttri, SpaceAttri, SymbolAttri});
}

TOstCharSet TOstJavaHighlighter::IdentifierChars() const { return scan::LatinIdentifierChars() | CharSetOf("$"); }

std::string TOstJavaHighlighter::SampleText() const
{
    return "/** Syntax highlighting */\r\n"
           "import java.util.*;\r\n"
           "\r\n"
           "public class Sample {\r\n"
           "    // Prints the numbers\r\n"
           "    @Deprecated\r\n"
           "    public static void main(String[] args) {\r\n"
           "        long mask = 0x1FL;\r\n"
           "        double ratio = 1.5e3;\r\n"
           "        char c = '\\'';\r\n"
           "        for (int i = 0; i < args.length; i++)\r\n"
           "            System.out.println(\"Argument \" + i + \": \" + args[i]);\r\n"
           "    }\r\n"
           "}";
}

void TOstJavaHighlighter::RestoreLineState(intptr_t state)
{
    state_ = state == javaInComment || state == javaInDocComment ? static_cast<int>(state) : javaPlain;
}

void TOstJavaHighlighter::ClearLineState() { state_ = javaPlain; }

void TOstJavaHighlighter::NextToken()
{
    tokenPos_ = run_;
    if (state_ == javaInComment || state_ == javaInDocComment) {
        comment();
        return;
    }
    state_ = javaPlain;
    dispatch();
}

void TOstJavaHighlighter::dispatch()
{
    switch ((utf8Text_ ? kClassUtf8 : kClass)[line_[run_]]) {
    case ccNull: tokenKind_ = javaLineEnd; break;
    case ccLineBreak: take(javaSpace, scan::SkipLineBreak(line_, run_) - run_); break;
    case ccBlank: take(javaSpace, SkipBlanks(line_, run_) - run_); break;
    case ccWord: word(); break;
    case ccDigit: number(); break;
    case ccDot:
        if (IsDigit(line_[run_ + 1]))
            number();
        else
            take(javaSymbol, 1);
        break;
    case ccQuote: quoted(line_[run_]); break;
    case ccSlash: slash(); break;
    case ccInvalid: take(javaInvalid, 1); break;
    case ccOperator: take(javaSymbol, kOperatorTable.Match(line_ + run_)); break;
    case ccUnknown: take(javaUnknown, 1); break;  // no double-byte characters in the code page
    }
}

void TOstJavaHighlighter::take(int kind, int length)
{
    tokenKind_ = kind;
    run_ += length;
}

// "/**" opens a documentation comment, except in "/**/", which is an empty
// ordinary comment that closes at once.
void TOstJavaHighlighter::slash()
{
    const unsigned char next = line_[run_ + 1];
    if (next == '/') {
        take(javaComment, scan::SkipToLineEnd(line_, run_) - run_);
        return;
    }
    if (next != '*') {
        take(javaSymbol, kOperatorTable.Match(line_ + run_));
        return;
    }
    const bool doc = line_[run_ + 2] == '*' && line_[run_ + 3] != '/';
    state_ = doc ? javaInDocComment : javaInComment;
    tokenKind_ = doc ? javaDocComment : javaComment;
    run_ += doc ? 3 : 2;
    if (!scan::IsLineEnd(line_[run_]))
        comment();
}

void TOstJavaHighlighter::comment()
{
    if (TakeLineBreak(line_, run_, tokenKind_, javaLineEnd, javaSpace))
        return;
    tokenKind_ = state_ == javaInDocComment ? javaDocComment : javaComment;
    bool closed = false;
    run_ = scan::SkipBlockCommentBody(line_, run_, closed);
    if (closed)
        state_ = javaPlain;
}

void TOstJavaHighlighter::word()
{
    int length = 0;
    const int hash = utf8Text_ ? HashWordUtf8(line_ + run_, length) : HashWord(line_ + run_, length);
    tokenKind_ = KeywordTable().Classify(line_ + run_, length, hash, javaIdentifier, javaIdentifier);
    run_ += length;
}

// No validation: the digits, letters and points of any number form.
void TOstJavaHighlighter::number()
{
    tokenKind_ = javaNumber;
    for (++run_; kNumberChar[line_[run_]]; ++run_)
        if (line_[run_] == '.' && line_[run_ + 1] == '.')
            return;
}

// Up to the closing quote; a backslash takes the next character along. A
// quote followed by two more starts its search after the third.
void TOstJavaHighlighter::quoted(unsigned char quote)
{
    tokenKind_ = javaString;
    if (line_[run_ + 1] == quote && line_[run_ + 2] == quote)
        run_ += 2;
    run_ = SkipEscapedString(line_, run_ + 1, quote);
}

}  // namespace ostrel
