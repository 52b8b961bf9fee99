#include "highlighters/OstHighlighterPHP.h"

#include <string_view>

#include "highlighters/OstHighlighterHashEntries.h"
#include "highlighters/OstHighlighterScan.h"
#include "highlighters/OstHighlighterStrings.h"
#include "highlighters/OstHighlighterSymbols.h"

namespace ostrel {

namespace {

// Matched without regard to case.
constexpr std::string_view kKeywords[] = {
    "if", "die", "and", "do", "case", "echo", "or", "real", "break", "endif", "for", "eval", "var",
    "else", "new", "false", "int", "global", "float", "class", "object", "elseif", "while", "xor",
    "exit", "double", "list", "endfor", "array", "true", "include", "default", "const", "isset",
    "static", "print", "integer", "empty", "unset", "endwhile", "switch", "string", "extends",
    "require", "return", "continue", "function", "cfunction", "endswitch", "highlight_file",
    "__FILE__", "old_function", "__LINE__", "show_source", "highlight_string",
};
static_assert(std::size(kKeywords) == 55);

constexpr int kMaxHash = 206;

// What the dispatch does with each character.
enum CharClass : uint8_t {
    ccUnknown, ccNull, ccLineBreak, ccSpace, ccLetter, ccDigit, ccDoubleQuote, ccApostrophe,
    ccDollar, ccHash, ccSlash, ccOperator,
};

constexpr auto kWordChar = CharTable<bool>(IsAsciiWordChar);
constexpr auto kWordCharUtf8 = WithUtf8Letters(kWordChar, true);
constexpr const std::array<bool, 256>& WordChars(bool utf8) { return utf8 ? kWordCharUtf8 : kWordChar; }
constexpr auto kNumberChar = CharTable<bool>([](int c) {
    return IsHexDigit(c) || c == '-' || c == '.' || c == 'L' || c == 'l' || c == 'X' || c == 'x';
});

// Every symbol, matched longest first.
constexpr std::string_view kOperators[] = {
    "&&", "&=", "&", "==", "=>", "=", ">=", ">>", ">", "<<=", "<<", "<=", "<", "--", "-=", "->",
    "-", "++", "+=", "+", "|=", "||", "|", "*=", "*", "!=", "!", "%=", "%", "^=", "^", "@",
    "{", "}", ":", ",", ".", "?", "(", ")", ";", "[", "]", "~",
};
constexpr TOstOperatorTable kOperatorTable(kOperators);

constexpr std::array<uint8_t, 256> MakeCharClasses()
{
    std::array<uint8_t, 256> t{};
    for (int c = 1; c <= 32; ++c)
        t[static_cast<size_t>(c)] = ccSpace;
    for (int c = 0; c < 256; ++c) {
        if (IsAsciiLetter(c) || c == '_')
            t[static_cast<size_t>(c)] = ccLetter;
        if (IsDigit(c))
            t[static_cast<size_t>(c)] = ccDigit;
    }
    t[0] = ccNull;
    t[10] = ccLineBreak;
    t[13] = ccLineBreak;
    t['"'] = ccDoubleQuote;
    t['\''] = ccApostrophe;
    t['$'] = ccDollar;
    t['#'] = ccHash;
    for (int c = 33; c < 127; ++c)
        if (kOperatorTable.Starts(static_cast<unsigned char>(c)))
            t[static_cast<size_t>(c)] = ccOperator;
    t['/'] = ccSlash;
    return t;  // "\", "`", 127 and 128 to 255 stay unknown
}
constexpr std::array<uint8_t, 256> kCharClass = MakeCharClasses();
constexpr std::array<uint8_t, 256> kCharClassUtf8 = WithUtf8Letters(kCharClass, ccLetter);

const TOstKeywordTable& KeywordTable()
{
    static const TOstKeywordTable table = [] {
        TOstKeywordTable t(LetterValues(true), kMaxHash);
        AddHashedKeywords(t, kKeywords, phpTkKey,
                          [&t](const unsigned char* s, int& length) { return SumHash(s, length, kWordChar, t.Values()); });
        return t;
    }();
    return table;
}

}  // namespace

TOstPHPHighlighter::TOstPHPHighlighter()
    : CommentAttri(AddAttribute(hlstr::kAttrComment, clNone, fsItalic)),
      IdentifierAttri(AddAttribute(hlstr::kAttrIdentifier, clNone, 0)),
      KeyAttri(AddAttribute(hlstr::kAttrReservedWord, clNone, fsBold)),
      NumberAttri(AddAttribute(hlstr::kAttrNumber, clNone, 0)),
      SpaceAttri(AddAttribute(hlstr::kAttrSpace, clNone, 0)),
      StringAttri(AddAttribute(hlstr::kAttrString, clNone, 0)),
      SymbolAttri(AddAttribute(hlstr::kAttrSymbol, clNone, 0)),
      VariableAttri(AddAttribute(hlstr::kAttrVariable, clNone, 0)),
      kindAttributes_{CommentAttri, IdentifierAttri, KeyAttri, nullptr, NumberAttri,
                      SpaceAttri, StringAttri, SymbolAttri, IdentifierAttri, VariableAttri},
      keywords_(KeywordTable())
{
    BindAttributeChanges();
    SetDefaultFilter(hlstr::kFilterPhp);
}

const char* TOstPHPHighlighter::LanguageTitle() { return hlstr::kLangPhp; }

TOstHighlighterAttributes* TOstPHPHighlighter::DefaultAttribute(int role) const
{
    return RoleAttribute(role, {CommentAttri, IdentifierAttri, KeyAttri, StringAttri, SpaceAttri, SymbolAttri});
}

TOstCharSet TOstPHPHighlighter::IdentifierChars() const { return scan::LatinIdentifierChars(); }

std::string TOstPHPHighlighter::SampleText() const
{
    return "// Syntax highlighting\r\n"
           "function printNumber()\r\n"
           "{\r\n"
           "  $number = 1234;\r\n"
           "  print \"The number is $number\";\r\n"
           "  for ($i = 0; $i <= $number; $i++)\r\n"
           "  {\r\n"
           "    $x++;\r\n"
           "    $x--;\r\n"
           "    $x += 1.0;\r\n"
           "  }\r\n"
           "}";
}

void TOstPHPHighlighter::RestoreLineState(intptr_t state)
{
    state_ = state >= phpRsCode && state <= phpRsInterpolated ? static_cast<int>(state) : phpRsCode;
}

void TOstPHPHighlighter::NextToken()
{
    tokenPos_ = run_;
    switch (state_) {
    case phpRsSingleQuoted:
    case phpRsDoubleQuoted:
        string();
        break;
    case phpRsComment:
        blockComment();
        break;
    case phpRsInterpolated:
        interpolated();
        break;
    default:
        state_ = phpRsCode;
        dispatch();
    }
}

void TOstPHPHighlighter::dispatch()
{
    const unsigned char c = line_[run_];
    switch ((utf8Text_ ? kCharClassUtf8 : kCharClass)[c]) {
    case ccNull: tokenKind_ = phpTkNull; break;
    case ccLineBreak:
        run_ = scan::SkipLineBreak(line_, run_);
        tokenKind_ = phpTkSpace;
        break;
    case ccSpace: whitespaceRun(); break;
    case ccLetter: word(); break;
    case ccDigit: number(); break;
    case ccDoubleQuote: openString(phpRsDoubleQuoted); break;
    case ccApostrophe: openString(phpRsSingleQuoted); break;
    case ccDollar: variable(); break;
    case ccHash: lineComment(); break;
    case ccSlash: slash(); break;
    case ccOperator: symbol(kOperatorTable.Match(line_ + run_)); break;
    default:
        ++run_;
        tokenKind_ = phpTkUnknown;
    }
}

void TOstPHPHighlighter::whitespaceRun()
{
    run_ = SkipBlanks(line_, run_ + 1);
    tokenKind_ = phpTkSpace;
}

void TOstPHPHighlighter::word()
{
    int length = 0;
    const int hash = SumHash(line_ + run_, length, WordChars(utf8Text_), keywords_.Values());
    tokenKind_ = keywords_.Classify(line_ + run_, length, hash, phpTkIdentifier, phpTkIdentifier);
    run_ += length;
}

// Hexadecimal digits, "x", "L" and even "-" belong to a number; ".." does
// not, so that a range stays two numbers.
void TOstPHPHighlighter::number()
{
    ++run_;
    while (kNumberChar[line_[run_]] && !(line_[run_] == '.' && line_[run_ + 1] == '.'))
        ++run_;
    tokenKind_ = phpTkNumber;
}

void TOstPHPHighlighter::variable()
{
    const auto& wordChar = WordChars(utf8Text_);
    ++run_;
    while (wordChar[line_[run_]])
        ++run_;
    tokenKind_ = phpTkVariable;
}

void TOstPHPHighlighter::symbol(int length)
{
    run_ += length;
    tokenKind_ = phpTkSymbol;
}

void TOstPHPHighlighter::slash()
{
    switch (line_[run_ + 1]) {
    case '*':
        run_ += 2;
        tokenKind_ = phpTkComment;
        state_ = phpRsComment;
        blockCommentBody();
        break;
    case '/': lineComment(); break;
    case '=': symbol(2); break;
    default: symbol(1);
    }
}

void TOstPHPHighlighter::lineComment()
{
    run_ = scan::SkipToLineEnd(line_, run_);
    tokenKind_ = phpTkComment;
}

void TOstPHPHighlighter::blockCommentBody()
{
    bool closed = false;
    run_ = scan::SkipBlockCommentBody(line_, run_, closed);
    if (closed)
        state_ = phpRsCode;
}

void TOstPHPHighlighter::blockComment()
{
    if (scan::IsLineEnd(line_[run_])) {
        dispatch();
        return;
    }
    tokenKind_ = phpTkComment;
    blockCommentBody();
}

void TOstPHPHighlighter::openString(int state)
{
    state_ = state;
    ++run_;
    string();
}

// A string left open at the end of the line goes on in the next one. In
// double quotes a "$" before a name, or "{$", ends the string token: the
// variable comes next, unless an odd number of backslashes escapes it.
void TOstPHPHighlighter::string()
{
    const auto& wordChar = WordChars(utf8Text_);
    if (run_ == tokenPos_ && scan::IsLineEnd(line_[run_])) {
        dispatch();
        return;
    }
    tokenKind_ = phpTkString;
    const unsigned char closing = state_ == phpRsSingleQuoted ? '\'' : '"';
    for (;;) {
        const unsigned char c = line_[run_];
        if (scan::IsLineEnd(c))
            return;
        if (c == closing && !scan::IsEscaped(line_, run_)) {
            ++run_;
            state_ = phpRsCode;
            return;
        }
        if (c == '$' && state_ == phpRsDoubleQuoted && (line_[run_ + 1] == '{' || wordChar[line_[run_ + 1]])) {
            int at = run_;
            if (at >= 2 && line_[at - 1] == '{' && at - 1 >= tokenPos_)
                --at;
            if (!scan::IsEscaped(line_, at)) {
                run_ = at;
                state_ = phpRsInterpolated;
                return;
            }
            run_ = at + (line_[at] == '{' ? 2 : 1);  // past the escaped "{" and "$"
            continue;
        }
        ++run_;
    }
}

// "$name" with its accessors, "${...}" or "{$...}"; the string resumes after it.
void TOstPHPHighlighter::interpolated()
{
    state_ = phpRsDoubleQuoted;
    const unsigned char c = line_[run_];
    const bool braceDollar = c == '{' && line_[run_ + 1] == '$';
    if (c != '$' && !braceDollar) {  // only when a line starts in this state
        string();
        return;
    }
    tokenKind_ = phpTkVariable;
    run_ += braceDollar ? 2 : 1;
    if (braceDollar || line_[run_] == '{') {
        if (!braceDollar)
            ++run_;
        bracedVariable();
    } else {
        plainVariable();
    }
}

void TOstPHPHighlighter::bracedVariable()
{
    int depth = 1;
    while (!scan::IsLineEnd(line_[run_])) {
        const unsigned char c = line_[run_++];
        if (c == '{')
            ++depth;
        else if (c == '}' && --depth == 0)
            return;
    }
}

// The name, then "[word]", "['key']" and "->word" accessors as long as every
// bracket opened is closed again.
void TOstPHPHighlighter::plainVariable()
{
    const auto& wordChar = WordChars(utf8Text_);
    while (wordChar[line_[run_]])
        ++run_;
    int p = run_;
    int open = 0;
    for (;;) {
        if (line_[p] == '[' && line_[p + 1] == '\'') {
            int q = p + 2;
            while (line_[q] != '\'' && !scan::IsLineEnd(line_[q]))
                ++q;
            if (line_[q] != '\'' || line_[q + 1] != ']')
                return;
            p = q + 2;
            run_ = p;
            continue;
        }
        if (line_[p] == '[') {
            ++open;
            ++p;
        } else if (line_[p] == '-' && line_[p + 1] == '>') {
            p += 2;
        } else {
            return;
        }
        if (!wordChar[line_[p]])
            return;
        while (wordChar[line_[p]])
            ++p;
        while (line_[p] == ']' && open > 0) {
            --open;
            ++p;
        }
        if (open == 0)
            run_ = p;
    }
}

}  // namespace ostrel
