#include "highlighters/OstHighlighterVBScript.h"

#include "highlighters/OstHighlighterHashEntries.h"
#include "highlighters/OstHighlighterScan.h"
#include "highlighters/OstHighlighterStrings.h"
#include "highlighters/OstHighlighterSymbols.h"

namespace ostrel {

namespace {

constexpr int kMaxHash = 133;

constexpr std::string_view kKeywords[] = {
    "If", "Each", "Me", "Do", "And", "As", "End", "In", "Dim", "Case", "Call", "Is", "On", "Mod", "Get",
    "Or", "To", "Rem", "Let", "Like", "Imp", "EndIf", "For", "Debug", "Else", "Sub", "New", "False", "Eqv",
    "Set", "Wend", "Then", "Erase", "Long", "ReDim", "Not", "Byte", "Enum", "Class", "Shared", "ByRef",
    "ElseIf", "LSet", "Xor", "While", "GoTo", "Loop", "Exit", "Double", "Null", "With", "ByVal", "RSet",
    "Next", "Public", "Select", "Boolean", "True", "Event", "Single", "Type", "Stop", "Const", "Static",
    "Error", "Until", "Integer", "Empty", "Resume", "Variant", "Nothing", "TypeOf", "Option", "Private",
    "Explicit", "Function", "Optional", "Randomize", "Currency", "Preserve", "ParamArray", "RaiseEvent",
    "Implements", "property",
};
static_assert(std::size(kKeywords) == 84);

constexpr auto kWordChar = CharTable<bool>(IsAsciiWordChar);
constexpr auto kValues = CharTable<int>([](int c) {
    return c >= 'A' && c <= 'Z' ? c - 'A' + 1 : c >= 'a' && c <= 'z' ? c - 'a' + 1 : c == '_' ? 31 : 0;
});
constexpr auto kNumberChar = CharTable<bool>([](int c) { return IsDigit(c) || c == '.' || c == 'E' || c == 'e'; });

constexpr auto kWordCharUtf8 = WithUtf8Letters(kWordChar, true);

int HashWord(const unsigned char* s, int& length) { return SumHash(s, length, kWordChar, kValues); }
int HashWordUtf8(const unsigned char* s, int& length) { return SumHash(s, length, kWordCharUtf8, kValues); }

const TOstKeywordTable& KeywordTable()
{
    static const TOstKeywordTable table = [] {
        TOstKeywordTable t(kValues, kMaxHash);
        AddHashedKeywords(t, kKeywords, vbsKeyword, HashWord);
        return t;
    }();
    return table;
}

enum CharClass : uint8_t {
    ccOther, ccNull, ccLineBreak, ccBlank, ccApostrophe, ccQuote, ccHash, ccDigit, ccWord, ccLess, ccGreater, ccSymbol,
};

constexpr CharClass ClassOf(int c)
{
    switch (c) {
    case 0: return ccNull;
    case 10: case 13: return ccLineBreak;
    case '\'': return ccApostrophe;
    case '"': return ccQuote;
    case '#': return ccHash;
    case '<': return ccLess;
    case '>': return ccGreater;
    case '&': case '(': case ')': case '*': case '+': case ',': case '-': case '.': case '/': case ':':
    case ';': case '=': case '^': case '{': case '}': return ccSymbol;
    default: break;
    }
    if (IsBlank(c)) return ccBlank;
    if (IsDigit(c)) return ccDigit;
    return IsAsciiLetter(c) || c == '_' ? ccWord : ccOther;
}
constexpr auto kClass = CharTable<CharClass>(ClassOf);
constexpr auto kClassUtf8 = WithUtf8Letters(kClass, ccWord);

}  // namespace

TOstVBScriptHighlighter::TOstVBScriptHighlighter()
{
    using namespace hlstr;
    CommentAttri = AddAttribute(kAttrComment, clNone, fsItalic);
    IdentifierAttri = AddAttribute(kAttrIdentifier, clNone, 0);
    KeyAttri = AddAttribute(kAttrReservedWord, clNone, fsBold);
    NumberAttri = AddAttribute(kAttrNumber, clNone, 0);
    SpaceAttri = AddAttribute(kAttrSpace, clNone, 0);
    StringAttri = AddAttribute(kAttrString, clNone, 0);
    SymbolAttri = AddAttribute(kAttrSymbol, clNone, 0);
    BindAttributeChanges();
    kindAttributes_ = {CommentAttri, IdentifierAttri, KeyAttri, nullptr, NumberAttri,
                       SpaceAttri, StringAttri, SymbolAttri, IdentifierAttri};
    KeywordTable();  // built once, before the first line
    SetDefaultFilter(kFilterVBScript);
}

const char* TOstVBScriptHighlighter::LanguageTitle() { return hlstr::kLangVBScript; }

TOstHighlighterAttributes* TOstVBScriptHighlighter::DefaultAttribute(int role) const
{
    return RoleAttribute(role, {CommentAttri, IdentifierAttri, KeyAttri, StringAttri, SpaceAttri, SymbolAttri});
}

TOstCharSet TOstVBScriptHighlighter::IdentifierChars() const { return scan::LatinIdentifierChars(); }

std::string TOstVBScriptHighlighter::SampleText() const
{
    return "' Syntax highlighting\r\n"
           "function printNumber()\r\n"
           "  number = 12345\r\n"
           "  document.write(\"The number is \" + number)\r\n"
           "  for i = 0 to 10\r\n"
           "    x = x + 1.0\r\n"
           "  next\r\n"
           "end function";
}

void TOstVBScriptHighlighter::NextToken()
{
    tokenPos_ = run_;
    const unsigned char next = line_[run_ + 1];
    switch ((utf8Text_ ? kClassUtf8 : kClass)[line_[run_]]) {
    case ccNull: tokenKind_ = vbsLineEnd; break;
    case ccLineBreak: take(vbsSpace, scan::SkipLineBreak(line_, run_) - run_); break;
    case ccBlank: take(vbsSpace, SkipBlanks(line_, run_) - run_); break;
    case ccApostrophe: take(vbsComment, scan::SkipToLineEnd(line_, run_) - run_); break;
    case ccQuote: string(); break;
    case ccHash: dateLiteral(); break;
    case ccDigit: number(); break;
    case ccWord: word(); break;
    case ccLess: take(vbsSymbol, next == '=' || next == '>' ? 2 : 1); break;
    case ccGreater: take(vbsSymbol, next == '=' ? 2 : 1); break;
    case ccSymbol: take(vbsSymbol, 1); break;
    case ccOther: take(vbsIdentifier, 1); break;  // no double-byte characters in the code page
    }
}

void TOstVBScriptHighlighter::take(int kind, int length)
{
    tokenKind_ = kind;
    run_ += length;
}

void TOstVBScriptHighlighter::word()
{
    int length = 0;
    const int hash = utf8Text_ ? HashWordUtf8(line_ + run_, length) : HashWord(line_ + run_, length);
    tokenKind_ = KeywordTable().Classify(line_ + run_, length, hash, vbsIdentifier, vbsIdentifier);
    run_ += length;
}

void TOstVBScriptHighlighter::number()
{
    tokenKind_ = vbsNumber;
    for (++run_; kNumberChar[line_[run_]];)
        ++run_;
}

// Up to the next double quote: a doubled quote inside is not special, so
// such a string comes as two tokens. Two quotes right after the opening one
// are skipped before the search.
void TOstVBScriptHighlighter::string()
{
    tokenKind_ = vbsString;
    run_ += line_[run_ + 1] == '"' && line_[run_ + 2] == '"' ? 3 : 1;
    while (!scan::IsLineEnd(line_[run_])) {
        if (line_[run_++] == '"')
            return;
    }
}

void TOstVBScriptHighlighter::dateLiteral()
{
    tokenKind_ = vbsString;
    while (!scan::IsLineEnd(line_[++run_])) {
        if (line_[run_] == '#') {
            ++run_;
            return;
        }
    }
}

}  // namespace ostrel
