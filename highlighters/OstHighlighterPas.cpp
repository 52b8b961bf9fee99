#include "highlighters/OstHighlighterPas.h"

#include "highlighters/OstHighlighterHashEntries.h"
#include "highlighters/OstHighlighterScan.h"
#include "highlighters/OstHighlighterStrings.h"
#include "highlighters/OstHighlighterSymbols.h"

namespace ostrel {

namespace {

// A hash of 192 or more is an identifier.
constexpr int kMaxHash = 191;

// What a word of the table is, beyond "always a keyword".
enum KeywordRule : int {
    krAlways = pasKeyword,
    krEnd = 100,       // ends assembler code
    krAsm,             // opens assembler code
    krProperty,        // opens a property declaration
    krExports,         // opens an exports clause
    krDelphi2,         // keywords from a dialect version on
    krDelphi3,
    krDelphi4,
    krDelphi6,
    krPackage,         // in package sources
    krInProperty,      // inside a property declaration
    krInPropertyDelphi3,
    krInPropertyDelphi4,
    krInPropertyOrExports,
    krInExports,
};

struct Keyword {
    std::string_view text;
    KeywordRule rule;
};

// In test order within each hash value.
constexpr Keyword kKeywords[] = {
    {"If", krAlways}, {"Do", krAlways}, {"And", krAlways}, {"As", krAlways}, {"Of", krAlways},
    {"End", krEnd}, {"In", krAlways}, {"Far", krAlways}, {"Cdecl", krDelphi2}, {"Is", krAlways},
    {"Read", krInProperty}, {"Case", krAlways}, {"on", krAlways}, {"Label", krAlways}, {"Mod", krAlways},
    {"File", krAlways}, {"Or", krAlways}, {"Asm", krAsm}, {"name", krInExports}, {"Nil", krAlways},
    {"To", krAlways}, {"Div", krAlways}, {"Begin", krAlways}, {"Near", krAlways}, {"For", krAlways},
    {"Shl", krAlways}, {"Packed", krAlways}, {"Else", krAlways}, {"Var", krAlways}, {"Set", krAlways},
    {"package", krPackage}, {"Shr", krAlways}, {"Then", krAlways}, {"Not", krAlways}, {"Pascal", krAlways},
    {"Raise", krAlways}, {"Class", krAlways}, {"Object", krAlways}, {"Index", krInPropertyOrExports},
    {"Out", krAlways}, {"Goto", krAlways}, {"While", krAlways}, {"Xor", krAlways}, {"Safecall", krDelphi3},
    {"With", krAlways}, {"Dispid", krDelphi3}, {"Public", krAlways}, {"Record", krAlways},
    {"Array", krAlways}, {"Try", krAlways}, {"Inline", krAlways}, {"Unit", krAlways}, {"Uses", krAlways},
    {"Repeat", krAlways}, {"Type", krAlways}, {"Default", krAlways}, {"Dynamic", krAlways},
    {"Message", krAlways}, {"Stdcall", krDelphi2}, {"Const", krAlways}, {"Except", krAlways},
    {"Write", krInProperty}, {"Until", krAlways}, {"Finally", krAlways}, {"Stored", krInProperty},
    {"Interface", krAlways}, {"deprecated", krDelphi6}, {"Abstract", krAlways}, {"Forward", krAlways},
    {"Library", krAlways}, {"String", krAlways}, {"Program", krAlways}, {"Downto", krAlways},
    {"Private", krAlways}, {"overload", krDelphi4}, {"Inherited", krAlways}, {"Assembler", krAlways},
    {"Readonly", krInPropertyDelphi3}, {"Absolute", krAlways}, {"contains", krPackage},
    {"Published", krAlways}, {"Override", krAlways}, {"Threadvar", krDelphi3}, {"Export", krAlways},
    {"Nodefault", krInProperty}, {"External", krAlways}, {"Automated", krDelphi3}, {"Register", krAlways},
    {"platform", krDelphi6}, {"Function", krAlways}, {"Virtual", krAlways}, {"Procedure", krAlways},
    {"Protected", krAlways}, {"requires", krPackage}, {"Exports", krExports},
    {"Implements", krInPropertyDelphi4}, {"Dispinterface", krDelphi3}, {"Reintroduce", krDelphi4},
    {"Property", krProperty}, {"Finalization", krDelphi2}, {"Writeonly", krInPropertyDelphi3},
    {"Destructor", krAlways}, {"Constructor", krAlways}, {"Implementation", krAlways},
    {"Initialization", krAlways}, {"Resourcestring", krDelphi3}, {"Stringresource", krDelphi3},
};
static_assert(std::size(kKeywords) == 107);

constexpr auto kValues = CharTable<int>([](int c) {
    return c >= 'A' && c <= 'Z' ? c - 'A' + 1 : c >= 'a' && c <= 'z' ? c - 'a' + 1 : c == '_' ? 31 : 0;
});
constexpr auto kLetter = CharTable<bool>(IsAsciiLetter);
constexpr auto kWordChar = CharTable<bool>(IsAsciiWordChar);
constexpr auto kWordCharUtf8 = WithUtf8Letters(kWordChar, true);
constexpr auto kDigit = CharTable<bool>(IsDigit);
constexpr auto kHexDigit = CharTable<bool>(IsHexDigit);
constexpr auto kCharCode = CharTable<bool>([](int c) { return IsHexDigit(c) || c == '$'; });

// The hash sums the leading letters only; a digit or "_" after them adds one
// to the length, so such a word never equals a keyword of the letters alone;
// in UTF-8 text so does a byte from 0x80.
int HashWord(const unsigned char* s, int& length, bool utf8 = false)
{
    int hash = 0;
    length = 0;
    while (kLetter[s[length]])
        hash += kValues[s[length++]];
    if (kDigit[s[length]] || s[length] == '_' || (utf8 && s[length] >= 0x80))
        ++length;
    return hash;
}

const TOstKeywordTable& KeywordTable()
{
    static const TOstKeywordTable table = [] {
        TOstKeywordTable t(kValues, kMaxHash);
        for (const Keyword& k : kKeywords)
            t.Add(HashOfText(k.text, [](const unsigned char* s, int& length) { return HashWord(s, length); }),
                  k.text, k.rule);
        return t;
    }();
    return table;
}

enum CharClass : uint8_t {
    ccSymbol, ccNull, ccLineBreak, ccBlank, ccWord, ccDigit, ccDollar, ccHash, ccQuote, ccBrace, ccParen,
    ccSlash, ccDot, ccColonOrGreater, ccLess, ccAt, ccSemicolon, ccIllegal,
};

constexpr CharClass ClassOf(int c)
{
    switch (c) {
    case 0: return ccNull;
    case 10: case 13: return ccLineBreak;
    case '$': return ccDollar;
    case '#': return ccHash;
    case '\'': return ccQuote;
    case '{': return ccBrace;
    case '(': return ccParen;
    case '/': return ccSlash;
    case '.': return ccDot;
    case ':': case '>': return ccColonOrGreater;
    case '<': return ccLess;
    case '@': return ccAt;
    case ';': return ccSemicolon;
    case '|': return ccIllegal;
    default: break;
    }
    if (IsBlank(c)) return ccBlank;
    if (IsAsciiLetter(c) || c == '_') return ccWord;
    if (IsDigit(c)) return ccDigit;
    return c >= 127 ? ccIllegal : ccSymbol;
}
constexpr auto kClass = CharTable<CharClass>(ClassOf);
constexpr auto kClassUtf8 = WithUtf8Letters(kClass, ccWord);

}  // namespace

TOstPasHighlighter::TOstPasHighlighter()
{
    using namespace hlstr;
    AsmAttri = AddAttribute(kAttrAssembler, clNone, 0);
    CommentAttri = AddAttribute(kAttrComment, clNone, fsItalic);
    DirectiveAttri = AddAttribute(kAttrPreprocessor, clNone, fsItalic);
    IdentifierAttri = AddAttribute(kAttrIdentifier, clNone, 0);
    KeyAttri = AddAttribute(kAttrReservedWord, clNone, fsBold);
    NumberAttri = AddAttribute(kAttrNumber, clNone, 0);
    FloatAttri = AddAttribute(kAttrFloat, clNone, 0);
    HexAttri = AddAttribute(kAttrHexadecimal, clNone, 0);
    SpaceAttri = AddAttribute(kAttrSpace, clNone, 0);
    StringAttri = AddAttribute(kAttrString, clNone, 0);
    CharAttri = AddAttribute(kAttrCharacter, clNone, 0);
    SymbolAttri = AddAttribute(kAttrSymbol, clNone, 0);
    BindAttributeChanges();
    kindAttributes_ = {AsmAttri, CommentAttri, IdentifierAttri, KeyAttri, nullptr, NumberAttri, SpaceAttri,
                       StringAttri, SymbolAttri, SymbolAttri, FloatAttri, HexAttri, DirectiveAttri, CharAttri};
    KeywordTable();  // built once, before the first line
    state_ = pasPlain;
    SetDefaultFilter(kFilterPas);
}

const char* TOstPasHighlighter::LanguageTitle() { return hlstr::kLangPas; }

TOstHighlighterAttributes* TOstPasHighlighter::DefaultAttribute(int role) const
{
    return RoleAttribute(role, {CommentAttri, IdentifierAttri, KeyAttri, StringAttri, SpaceAttri, SymbolAttri});
}

TOstCharSet TOstPasHighlighter::IdentifierChars() const { return scan::LatinIdentifierChars(); }

bool TOstPasHighlighter::IsFilterStored() const { return DefaultFilter() != hlstr::kFilterPas; }

std::string TOstPasHighlighter::SampleText() const
{
    return "{ Syntax highlighting }\r\n"
           "procedure TForm1.Button1Click(Sender: TObject);\r\n"
           "var\r\n"
           "  Number, I, X: Integer;\r\n"
           "begin\r\n"
           "  Number := 123456;\r\n"
           "  Caption := 'The Number is ' + IntToStr(Number) + #13#10;\r\n"
           "  for I := 0 to Number do\r\n"
           "  begin\r\n"
           "    Inc(X, $FF);\r\n"
           "    Dec(X, 1.5E-3); (* never mind the type *)\r\n"
           "    asm mov ax, 1 end; // assembler\r\n"
           "  end;\r\n"
           "  {$R+}\r\n"
           "end;";
}

void TOstPasHighlighter::SetDelphiVersion(TDelphiVersion version)
{
    if (version == version_)
        return;
    version_ = version;
    if (version_ < dvDelphi3)
        packageSource_ = false;
    NotifyChanged(nullptr);
}

void TOstPasHighlighter::SetPackageSource(bool on)
{
    if (on == packageSource_)
        return;
    packageSource_ = on;
    if (on && version_ < dvDelphi3)
        version_ = dvDelphi3;
    NotifyChanged(nullptr);
}

int TOstPasHighlighter::TokenKind() const
{
    if (state_ == pasInAsm && !asmStart_) {
        switch (tokenKind_) {
        case pasComment: case pasDirective: case pasSpace: case pasLineEnd: return tokenKind_;
        default: return pasAsm;
        }
    }
    return tokenKind_;
}

void TOstPasHighlighter::RestoreLineState(intptr_t state)
{
    state_ = state >= pasInParenComment && state <= pasInExportsBraceComment ? static_cast<int>(state) : pasPlain;
    asmStart_ = false;
}

void TOstPasHighlighter::ClearLineState()
{
    state_ = pasPlain;
    asmStart_ = false;
}

void TOstPasHighlighter::NextToken()
{
    asmStart_ = false;
    tokenPos_ = run_;
    switch (state_) {
    case pasInParenComment:
    case pasInAsmParenComment:
    case pasInPropertyParenComment:
    case pasInExportsParenComment: parenComment(); break;
    case pasInBraceComment:
    case pasInAsmBraceComment:
    case pasInPropertyBraceComment:
    case pasInExportsBraceComment: braceComment(); break;
    default: dispatch();
    }
}

void TOstPasHighlighter::dispatch()
{
    const unsigned char next = line_[run_ + 1];
    switch ((utf8Text_ ? kClassUtf8 : kClass)[line_[run_]]) {
    case ccNull: tokenKind_ = pasLineEnd; break;
    case ccLineBreak: run_ = scan::SkipLineBreak(line_, run_); tokenKind_ = pasSpace; break;
    case ccBlank: run_ = SkipBlanks(line_, run_); tokenKind_ = pasSpace; break;
    case ccWord: word(); break;
    case ccDigit: number(); break;
    case ccDollar: ++run_; takeWhile(pasHex, kHexDigit); break;
    case ccHash: ++run_; takeWhile(pasChar, kCharCode); break;
    case ccQuote: string(); break;
    case ccBrace:
        state_ = commentOpened(true);
        braceComment();
        break;
    case ccParen: paren(); break;
    case ccSlash:
        if (next == '/' && version_ >= dvDelphi2)
            take(pasComment, scan::SkipToLineEnd(line_, run_) - run_);
        else
            take(pasSymbol, 1);
        break;
    case ccDot: take(pasSymbol, next == '.' || next == ')' ? 2 : 1); break;
    case ccColonOrGreater: take(pasSymbol, next == '=' ? 2 : 1); break;
    case ccLess: take(pasSymbol, next == '=' || next == '>' ? 2 : 1); break;
    case ccAt: take(pasSymbol, next == '@' ? 2 : 1); break;
    case ccSemicolon:
        if (state_ == pasInProperty || state_ == pasInExports)
            state_ = pasPlain;
        take(pasSymbol, 1);
        break;
    case ccIllegal: take(pasIllegal, 1); break;  // no double-byte characters in the code page
    case ccSymbol: take(pasSymbol, 1); break;
    }
}

void TOstPasHighlighter::take(int kind, int length)
{
    tokenKind_ = kind;
    run_ += length;
}

void TOstPasHighlighter::takeWhile(int kind, const std::array<bool, 256>& takes)
{
    tokenKind_ = kind;
    while (takes[line_[run_]])
        ++run_;
}

// A comment keeps the assembler code, property declaration or exports
// clause it stands in, so that their words keep their colours after it.
int TOstPasHighlighter::commentOpened(bool brace) const
{
    switch (state_) {
    case pasInAsm: return brace ? pasInAsmBraceComment : pasInAsmParenComment;
    case pasInProperty: return brace ? pasInPropertyBraceComment : pasInPropertyParenComment;
    case pasInExports: return brace ? pasInExportsBraceComment : pasInExportsParenComment;
    default: return brace ? pasInBraceComment : pasInParenComment;
    }
}

void TOstPasHighlighter::commentClosed()
{
    switch (state_) {
    case pasInAsmBraceComment: case pasInAsmParenComment: state_ = pasInAsm; break;
    case pasInPropertyBraceComment: case pasInPropertyParenComment: state_ = pasInProperty; break;
    case pasInExportsBraceComment: case pasInExportsParenComment: state_ = pasInExports; break;
    default: state_ = pasPlain;
    }
}

// "{" opens a directive when "$" follows it; on a later line of an open
// brace the same test looks at the line's second character.
void TOstPasHighlighter::braceComment()
{
    if (TakeLineBreak(line_, run_, tokenKind_, pasLineEnd, pasSpace))
        return;
    tokenKind_ = line_[run_ + 1] == '$' ? pasDirective : pasComment;
    for (; !scan::IsLineEnd(line_[run_]); ++run_) {
        if (line_[run_] == '}') {
            ++run_;
            commentClosed();
            return;
        }
    }
}

void TOstPasHighlighter::paren()
{
    const unsigned char next = line_[run_ + 1];
    if (next == '.') {
        take(pasSymbol, 2);
        return;
    }
    if (next != '*') {
        take(pasSymbol, 1);
        return;
    }
    state_ = commentOpened(false);
    run_ += 2;
    tokenKind_ = pasComment;
    if (!scan::IsLineEnd(line_[run_]))
        parenComment();
}

void TOstPasHighlighter::parenComment()
{
    if (TakeLineBreak(line_, run_, tokenKind_, pasLineEnd, pasSpace))
        return;
    tokenKind_ = pasComment;
    for (; !scan::IsLineEnd(line_[run_]); ++run_) {
        if (line_[run_] == '*' && line_[run_ + 1] == ')') {
            run_ += 2;
            commentClosed();
            return;
        }
    }
}

void TOstPasHighlighter::word()
{
    int length = 0;
    const int hash = HashWord(line_ + run_, length, utf8Text_);
    const int code = KeywordTable().Classify(line_ + run_, length, hash, pasIdentifier, pasIdentifier);
    const auto& wordChar = utf8Text_ ? kWordCharUtf8 : kWordChar;
    while (wordChar[line_[run_]])
        ++run_;
    tokenKind_ = code == pasIdentifier ? pasIdentifier : resolveKeyword(code);
}

// The kind a word of the table has under the current settings and state,
// and the state it opens or closes.
int TOstPasHighlighter::resolveKeyword(int code)
{
    bool keyword = true;
    switch (code) {
    case krEnd: state_ = pasPlain; break;
    case krAsm: state_ = pasInAsm; asmStart_ = true; break;
    case krProperty: state_ = pasInProperty; break;
    case krExports: state_ = pasInExports; break;
    case krDelphi2: keyword = version_ >= dvDelphi2; break;
    case krDelphi3: keyword = version_ >= dvDelphi3; break;
    case krDelphi4: keyword = version_ >= dvDelphi4; break;
    case krDelphi6: keyword = version_ >= dvDelphi6; break;
    case krPackage: keyword = packageSource_; break;
    case krInProperty: keyword = state_ == pasInProperty; break;
    case krInPropertyDelphi3: keyword = state_ == pasInProperty && version_ >= dvDelphi3; break;
    case krInPropertyDelphi4: keyword = state_ == pasInProperty && version_ >= dvDelphi4; break;
    case krInPropertyOrExports: keyword = state_ == pasInProperty || state_ == pasInExports; break;
    case krInExports: keyword = state_ == pasInExports; break;
    default: break;
    }
    return keyword ? pasKeyword : pasIdentifier;
}

// Digits with a point or an exponent make a float; ".." after a number is a
// range, not a point.
void TOstPasHighlighter::number()
{
    tokenKind_ = pasNumber;
    for (++run_;; ++run_) {
        const unsigned char c = line_[run_];
        if (kDigit[c])
            continue;
        if (c == '.' && line_[run_ + 1] != '.') {
            tokenKind_ = pasFloat;
        } else if (c == 'e' || c == 'E') {
            tokenKind_ = pasFloat;
        } else if (c != '+' && c != '-') {
            return;
        } else if (tokenKind_ != pasFloat || (line_[run_ - 1] != 'e' && line_[run_ - 1] != 'E')) {
            return;
        }
    }
}

// A doubled quote inside a string stands for one quote.
void TOstPasHighlighter::string()
{
    tokenKind_ = pasString;
    for (++run_; !scan::IsLineEnd(line_[run_]); ++run_) {
        if (line_[run_] == '\'') {
            ++run_;
            if (line_[run_] != '\'')
                return;
        }
    }
}

}  // namespace ostrel
