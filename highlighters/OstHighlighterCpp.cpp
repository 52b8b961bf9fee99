#include "highlighters/OstHighlighterCpp.h"

#include "highlighters/OstHighlighterHashEntries.h"
#include "highlighters/OstHighlighterScan.h"
#include "highlighters/OstHighlighterStrings.h"
#include "highlighters/OstHighlighterSymbols.h"

namespace ostrel {

namespace {

constexpr int kMaxHash = 206;
// Keyword kind of asm, _asm and __asm, which open assembler code.
constexpr int kAsmKeyword = 100;

// In test order within each hash value.
constexpr std::string_view kKeywords[] = {
    "if", "do", "cdecl", "case", "_cdecl", "__cdecl", "char", "asm", "_asm", "__asm", "catch", "for",
    "break", "else", "new", "__int8", "__int16", "int", "__int32", "__int64", "false", "bool", "long",
    "void", "enum", "delete", "_pascal", "__pascal", "pascal", "class", "float", "this", "goto", "auto",
    "__thread", "while", "friend", "signed", "double", "__try", "try", "__dispid", "true", "public",
    "inline", "__rtti", "__classid", "__declspec", "using", "const", "default", "_stdcall", "union",
    "__stdcall", "static", "__except", "wchar_t", "mutable", "_fastcall", "__fastcall", "short",
    "typeid", "sizeof", "__finally", "namespace", "switch", "typedef", "throw", "extern", "__import",
    "_import", "private", "template", "__closure", "unsigned", "return", "volatile", "_export",
    "__export", "__published", "explicit", "typename", "struct", "register", "continue",
    "__automated", "virtual", "protected", "operator", "dynamic_cast", "const_cast", "static_cast",
    "__property", "reinterpret_cast",
};
static_assert(std::size(kKeywords) == 94);

// Hash values: "A" to "Z" are 1 to 26, "a" to "z" 2 to 27, so that the two
// cases hash apart; the comparison itself is exact.
constexpr auto kHashValues = CharTable<int>([](int c) {
    return c >= 'A' && c <= 'Z' ? c - 'A' + 1 : c >= 'a' && c <= 'z' ? c - 95 : 0;
});
constexpr auto kWordChar = CharTable<bool>(IsAsciiWordChar);
constexpr auto kWordCharUtf8 = WithUtf8Letters(kWordChar, true);

int HashWord(const unsigned char* s, int& length) { return SumHash(s, length, kWordChar, kHashValues); }
int HashWordUtf8(const unsigned char* s, int& length) { return SumHash(s, length, kWordCharUtf8, kHashValues); }

const TOstKeywordTable& KeywordTable()
{
    static const TOstKeywordTable table = [] {
        TOstKeywordTable t(kExactValues, kMaxHash);
        for (const std::string_view k : kKeywords) {
            const bool opensAsm = k == "asm" || k == "_asm" || k == "__asm";
            t.Add(HashOfText(k, HashWord), k, opensAsm ? kAsmKeyword : cppKeyword);
        }
        return t;
    }();
    return table;
}

constexpr std::string_view kOperators[] = {
    "&&", "&=", "&", "!=", "!", "%=", "%", "*=", "*", "++", "+=", "+", "--", "-=", "->", "-",
    "...", ".", "/=", "/", "::", ":", "<<=", "<<", "<=", "<", "==", "=", ">>=", ">>", ">=", ">",
    "^=", "^", "||", "|=", "|", "?", "~", ",", ";", "(", ")", "[", "]", "{", "}",
};
constexpr TOstOperatorTable kOperatorTable(kOperators);

enum CharClass : uint8_t {
    ccBlank, ccNull, ccLineFeed, ccReturn, ccWord, ccDigit, ccDot, ccQuote, ccApostrophe, ccHash,
    ccSlash, ccIllegal, ccOperator,
};

constexpr CharClass ClassOf(int c)
{
    switch (c) {
    case 0: return ccNull;
    case 10: return ccLineFeed;
    case 13: return ccReturn;
    case '.': return ccDot;
    case '"': return ccQuote;
    case '\'': return ccApostrophe;
    case '#': return ccHash;
    case '/': return ccSlash;
    case '@': case '$': case '\\': case '`': return ccIllegal;
    default: break;
    }
    if (IsAsciiLetter(c) || c == '_') return ccWord;
    if (IsDigit(c)) return ccDigit;
    if (c >= 127) return ccIllegal;
    if (kOperatorTable.Starts(static_cast<unsigned char>(c))) return ccOperator;
    return ccBlank;
}
constexpr auto kClass = CharTable<CharClass>(ClassOf);
constexpr auto kClassUtf8 = WithUtf8Letters(kClass, ccWord);

constexpr auto kNumberChar = CharTable<bool>([](int c) {
    return IsHexDigit(c) || c == '+' || c == '-' || c == '.' || c == 'L' || c == 'l' || c == 'U' ||
           c == 'u' || c == 'X' || c == 'x';
});

unsigned char Lower(unsigned char c) { return static_cast<unsigned char>(c | 0x20); }

// A number whose first character is taken: integer, octal, hexadecimal or
// floating, with its suffixes; a malformed one is illegal.
class NumberScan {
public:
    NumberScan(const unsigned char* s, int start, bool utf8)
        : s_(s), start_(start), run_(start + 1), kind_(s[start] == '.' ? cppFloat : cppNumber), utf8_(utf8)
    {
    }

    // Returns the kind; End() is then the position after the number.
    int Scan()
    {
        for (; kNumberChar[s_[run_]]; ++run_) {
            switch (step(Lower(s_[run_]))) {
            case Take: break;
            case Stop: return kindAfter();
            case Done: return kind_;
            }
        }
        return kindAfter();
    }
    int End() const { return run_; }

private:
    // Take the character; stop before it (a letter right after the number
    // still makes it illegal); or the number is done with its kind.
    enum Step { Take, Stop, Done };

    Step step(unsigned char c)
    {
        switch (c) {
        case '+': case '-': return sign();
        case '.': return point();
        case '8': case '9':
            if (s_[start_] == '0' && kind_ != cppHex && kind_ != cppFloat)
                kind_ = cppIllegal;
            return Take;
        case 'a': case 'b': case 'c': case 'd': return kind_ == cppHex ? Take : Stop;
        case 'e': return exponent();
        case 'f': return floatSuffix();
        case 'l': return longSuffix();
        case 'u': return unsignedSuffix();
        case 'x': return hexPrefix();
        default:  // 0 to 7
            if (run_ == start_ + 1 && s_[start_] == '0')
                kind_ = cppOctal;
            return Take;
        }
    }

    Step illegal()
    {
        kind_ = cppIllegal;
        return Done;
    }
    bool exponentFollows() const
    {
        const unsigned char next = s_[run_ + 1];
        return IsDigit(next) || next == '+' || next == '-';
    }
    // Whether a letter (either case) occurs in the number before `to`.
    bool occurs(unsigned char lowerLetter, int to) const
    {
        for (int i = start_; i < to; ++i)
            if (Lower(s_[i]) == lowerLetter)
                return true;
        return false;
    }
    int kindAfter() const
    {
        const unsigned char c = s_[run_];
        return IsAsciiLetter(c) || c == '_' || (utf8_ && c >= 0x80) ? cppIllegal : kind_;
    }

    // A sign belongs only to the exponent of a float.
    Step sign()
    {
        if (kind_ != cppFloat || Lower(s_[run_ - 1]) != 'e')
            return Done;
        if (exponentFollows())
            return Take;
        ++run_;
        return illegal();
    }
    Step point()
    {
        if (s_[run_ + 1] == '.')
            return Stop;
        if (kind_ == cppHex)
            return illegal();
        kind_ = cppFloat;
        return Take;
    }
    Step exponent()
    {
        if (kind_ == cppHex)
            return Take;
        if (!IsDigit(s_[run_ - 1]))
            return Stop;
        if (occurs('e', run_))
            return illegal();
        if (!exponentFollows())
            return Stop;
        kind_ = cppFloat;
        return Take;
    }
    Step floatSuffix()
    {
        if (kind_ == cppHex)
            return Take;
        if (occurs('f', run_))
            return illegal();
        if (kind_ == cppFloat && Lower(s_[run_ - 1]) == 'l')
            return Stop;
        kind_ = cppFloat;
        return Take;
    }
    // "ll" (long long) is one suffix; any other second "l" is not.
    Step longSuffix()
    {
        if (occurs('l', run_ - 1))
            return illegal();
        return kind_ == cppFloat && Lower(s_[run_ - 1]) == 'f' ? Stop : Take;
    }
    Step unsignedSuffix()
    {
        if (kind_ == cppFloat)
            return Stop;
        return occurs('u', run_) ? illegal() : Take;
    }
    // "0x" followed by a hexadecimal digit; a lone "0x" is illegal.
    Step hexPrefix()
    {
        if (run_ == start_ + 1 && s_[start_] == '0' && IsHexDigit(s_[run_ + 1])) {
            kind_ = cppHex;
            return Take;
        }
        if (!kWordChar[s_[run_ + 1]] && Lower(s_[start_ + 1]) == 'x') {
            ++run_;
            return illegal();
        }
        return Stop;
    }

    const unsigned char* s_;
    int start_;
    int run_;
    int kind_;
    bool utf8_;
};

}  // namespace

TOstCppHighlighter::TOstCppHighlighter()
{
    using namespace hlstr;
    AsmAttri = AddAttribute(kAttrAssembler, clNone, 0);
    CommentAttri = AddAttribute(kAttrComment, clNone, fsItalic);
    IdentifierAttri = AddAttribute(kAttrIdentifier, clNone, 0);
    InvalidAttri = AddAttribute(kAttrIllegalChar, clNone, 0);
    KeyAttri = AddAttribute(kAttrReservedWord, clNone, fsBold);
    NumberAttri = AddAttribute(kAttrNumber, clNone, 0);
    CharAttri = AddAttribute(kAttrCharacter, clNone, 0);
    FloatAttri = AddAttribute(kAttrFloat, clNone, 0);
    HexAttri = AddAttribute(kAttrHexadecimal, clNone, 0);
    OctalAttri = AddAttribute(kAttrOctal, clNone, 0);
    SpaceAttri = AddAttribute(kAttrSpace, clWindow, 0);
    StringAttri = AddAttribute(kAttrString, clNone, 0);
    SymbolAttri = AddAttribute(kAttrSymbol, clNone, 0);
    DirecAttri = AddAttribute(kAttrPreprocessor, clNone, 0);
    BindAttributeChanges();
    kindAttributes_ = {AsmAttri, CommentAttri, DirecAttri, IdentifierAttri, KeyAttri, nullptr,
                       NumberAttri, SpaceAttri, StringAttri, SymbolAttri, InvalidAttri, CharAttri,
                       FloatAttri, HexAttri, OctalAttri};
    KeywordTable();  // built once, before the first line
    state_ = cppPlain;
    asmStart_ = false;
    SetDefaultFilter(kFilterCpp);
}

const char* TOstCppHighlighter::LanguageTitle() { return hlstr::kLangCpp; }

TOstHighlighterAttributes* TOstCppHighlighter::DefaultAttribute(int role) const
{
    return RoleAttribute(role, {CommentAttri, IdentifierAttri, KeyAttri, StringAttri, SpaceAttri, SymbolAttri});
}

TOstCharSet TOstCppHighlighter::IdentifierChars() const { return scan::LatinIdentifierChars(); }

std::string TOstCppHighlighter::SampleText() const
{
    return "// Syntax highlighting\r\n"
           "#include <stdio.h>\r\n"
           "\r\n"
           "/* Prints a greeting and the numbers */\r\n"
           "int main(int argc, char* argv[])\r\n"
           "{\r\n"
           "    const char* text = \"Hello, world!\\n\";\r\n"
           "    unsigned long mask = 0x1FUL, mode = 0755;\r\n"
           "    double ratio = 1.5e-3;\r\n"
           "    printf(text);\r\n"
           "    asm { mov ax, 1 }\r\n"
           "    return argc > 1 ? 'y' : 0;\r\n"
           "}";
}

int TOstCppHighlighter::TokenKind() const
{
    if ((state_ == cppInAsm || state_ == cppInAsmBlock) && !asmStart_ && tokenKind_ != cppComment &&
        tokenKind_ != cppSpace && tokenKind_ != cppLineEnd)
        return cppAsm;
    return tokenKind_;
}

void TOstCppHighlighter::RestoreLineState(intptr_t state)
{
    switch (state) {
    case cppPlain: case cppInComment: case cppInAsmComment: case cppInAsmBlockComment: case cppInAsm:
    case cppInAsmBlock: case cppInDirectiveComment: case cppInString: case cppInDirective:
        state_ = static_cast<int>(state);
        break;
    default:
        state_ = cppPlain;
    }
    asmStart_ = false;
}

void TOstCppHighlighter::ClearLineState()
{
    state_ = cppPlain;
    asmStart_ = false;
}

void TOstCppHighlighter::StartLine(std::string_view line, int lineIndex)
{
    firstNonBlank_ = -1;
    TOstCustomHighlighter::StartLine(line, lineIndex);
}

void TOstCppHighlighter::NextToken()
{
    asmStart_ = false;
    tokenPos_ = run_;
    switch (state_) {
    case cppInComment:
    case cppInAsmComment:
    case cppInAsmBlockComment:
    case cppInDirectiveComment:
        blockComment();
        break;
    case cppInString:
        stringContinued();
        break;
    case cppInDirective:
        directiveContinued();
        break;
    case cppInAsm:
    case cppInAsmBlock:
        dispatch();
        break;
    default:
        state_ = cppPlain;
        dispatch();
    }
}

void TOstCppHighlighter::dispatch()
{
    switch ((utf8Text_ ? kClassUtf8 : kClass)[line_[run_]]) {
    case ccNull: tokenKind_ = cppLineEnd; break;
    case ccLineFeed:
    case ccReturn: run_ = scan::SkipLineBreak(line_, run_); tokenKind_ = cppSpace; break;
    case ccBlank: run_ = SkipBlanks(line_, run_ + 1); tokenKind_ = cppSpace; break;
    case ccWord: word(); break;
    case ccDigit: number(); break;
    case ccDot: dot(); break;
    case ccQuote: quoted('"', cppString, true); break;
    case ccApostrophe: quoted('\'', cppChar, false); break;
    case ccHash: directiveOrIllegal(); break;
    case ccSlash: slash(); break;
    case ccIllegal: illegal(); break;
    case ccOperator: symbol(); break;
    }
}

// Continues a block comment; also scans one that a preprocessor line
// stopped at, whose "/*" does not count towards its end.
void TOstCppHighlighter::blockComment()
{
    if (TakeLineBreak(line_, run_, tokenKind_, cppLineEnd, cppSpace))
        return;
    const unsigned char c = line_[run_];
    tokenKind_ = cppComment;
    if (state_ == cppInDirectiveComment && run_ > 0 && c == '/' && line_[run_ + 1] == '*')
        run_ += 2;
    bool closed = false;
    run_ = scan::SkipBlockCommentBody(line_, run_, closed);
    if (closed)
        commentClosed();
}

void TOstCppHighlighter::commentClosed()
{
    switch (state_) {
    case cppInAsmComment: state_ = cppInAsm; break;
    case cppInAsmBlockComment: state_ = cppInAsmBlock; break;
    // The preprocessor line goes on after the comment, if anything follows.
    case cppInDirectiveComment: state_ = scan::IsLineEnd(line_[run_]) ? cppPlain : cppInDirective; break;
    default: state_ = cppPlain;
    }
}

void TOstCppHighlighter::slash()
{
    const unsigned char next = line_[run_ + 1];
    if (next == '/') {
        tokenKind_ = cppComment;
        run_ = scan::SkipToLineEnd(line_, run_ + 2);
        return;
    }
    if (next != '*') {
        symbol();
        return;
    }
    state_ = state_ == cppInAsm ? cppInAsmComment : state_ == cppInAsmBlock ? cppInAsmBlockComment : cppInComment;
    tokenKind_ = cppComment;
    bool closed = false;
    run_ = scan::SkipBlockCommentBody(line_, run_ + 2, closed);
    if (closed)
        commentClosed();
}

// A "#" opens a preprocessor line only as the line's first character that
// is not blank. That position is found once per line, so that a long line
// of "#" characters after blanks stays quick.
void TOstCppHighlighter::directiveOrIllegal()
{
    if (firstNonBlank_ < 0) {
        firstNonBlank_ = 0;
        while (line_[firstNonBlank_] != 0 && line_[firstNonBlank_] <= 32)
            ++firstNonBlank_;
    }
    if (firstNonBlank_ != run_) {
        illegal();
        return;
    }
    tokenKind_ = cppDirective;
    ++run_;
    directiveBody();
}

// Up to a comment (which follows as a token of its own) or the line end; a
// backslash ending the line continues the directive on the next one.
void TOstCppHighlighter::directiveBody()
{
    for (;; ++run_) {
        const unsigned char c = line_[run_];
        if (scan::IsLineEnd(c))
            return;
        if (c == '/' && line_[run_ + 1] == '/') {
            state_ = cppPlain;
            return;
        }
        if (c == '/' && line_[run_ + 1] == '*') {
            state_ = cppInDirectiveComment;
            return;
        }
        if (c == '\\' && line_[run_ + 1] == 0) {
            ++run_;
            state_ = cppInDirective;
            return;
        }
    }
}

void TOstCppHighlighter::directiveContinued()
{
    if (TakeLineBreak(line_, run_, tokenKind_, cppLineEnd, cppSpace))
        return;  // an empty line keeps the continuation
    state_ = cppPlain;
    tokenKind_ = cppDirective;
    directiveBody();
}

// A string or character literal: up to the closing quote; a backslash takes
// a quote or backslash after it along. A string whose line ends in a
// backslash goes on in the next line.
void TOstCppHighlighter::quoted(unsigned char quote, int kind, bool mayContinue)
{
    tokenKind_ = kind;
    if (line_[run_] == quote)
        ++run_;
    for (;;) {
        const unsigned char c = line_[run_];
        if (scan::IsLineEnd(c))
            return;
        if (c == quote) {
            ++run_;
            return;
        }
        if (c == '\\') {
            const unsigned char next = line_[run_ + 1];
            if (next == quote || next == '\\') {
                run_ += 2;
                continue;
            }
            if (next == 0 && mayContinue) {
                ++run_;
                state_ = cppInString;
                return;
            }
        }
        ++run_;
    }
}

// The rest of a string from the line above: from the line start to the
// closing quote.
void TOstCppHighlighter::stringContinued()
{
    if (TakeLineBreak(line_, run_, tokenKind_, cppLineEnd, cppSpace))
        return;
    state_ = cppPlain;
    tokenKind_ = cppString;
    if (line_[run_] == '"') {
        ++run_;
        return;
    }
    quoted('"', cppString, true);
}

void TOstCppHighlighter::word()
{
    int length = 0;
    const int hash = utf8Text_ ? HashWordUtf8(line_ + run_, length) : HashWord(line_ + run_, length);
    const int kind = KeywordTable().Classify(line_ + run_, length, hash, cppIdentifier, cppIdentifier);
    run_ += length;
    if (kind == kAsmKeyword) {
        tokenKind_ = cppKeyword;
        state_ = cppInAsm;
        asmStart_ = true;
    } else {
        tokenKind_ = kind;
    }
}

void TOstCppHighlighter::number()
{
    NumberScan scan(line_, run_, utf8Text_);
    tokenKind_ = scan.Scan();
    run_ = scan.End();
}

void TOstCppHighlighter::dot()
{
    if (IsDigit(line_[run_ + 1]))
        number();
    else
        symbol();
}

void TOstCppHighlighter::symbol()
{
    const unsigned char c = line_[run_];
    run_ += kOperatorTable.Match(line_ + run_);
    tokenKind_ = cppSymbol;
    if (c == '{' && state_ == cppInAsm) {
        state_ = cppInAsmBlock;
        asmStart_ = true;
    } else if ((c == '}' && state_ == cppInAsmBlock) || (c == ';' && state_ == cppInAsm)) {
        state_ = cppPlain;
    }
}

// The code page has no double-byte characters, so an illegal character is
// always one byte; in UTF-8 text every byte from 0x80 is a letter.
void TOstCppHighlighter::illegal()
{
    ++run_;
    tokenKind_ = cppIllegal;
}

}  // namespace ostrel
