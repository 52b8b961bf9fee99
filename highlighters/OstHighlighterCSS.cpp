#include "highlighters/OstHighlighterCSS.h"

#include <string>
#include <string_view>

#include "highlighters/OstHighlighterHashEntries.h"
#include "highlighters/OstHighlighterScan.h"
#include "highlighters/OstHighlighterStrings.h"
#include "highlighters/OstHighlighterSymbols.h"

namespace ostrel {

namespace {

// Names of this lexer alone, not shared with the others.
constexpr const char* kAttrProperty = "Property";
constexpr const char* kAttrUndefinedProperty = "Undefined Property";

// The known properties, cut at every character that cannot be in a name.
constexpr std::string_view kPropertyNames =
    "azimuth,background,background-attachment,background-color,background-image,background-position,"
    "background-repeat,border,border-collapse,border-color,border-spacing,border-style,border-top "
    "border-right border-bottom border-left,border-top-color border-right-color border-bottom-color "
    "border-left-color,border-top-style border-right-style border-bottom-style border-left-style,"
    "border-top-width border-right-width border-bottom-width border-left-width,border-width,bottom,"
    "caption-side,clear,clip,color,content,counter-increment,counter-reset,cue,cue-after,cue-before,"
    "cursor,direction,display,elevation,empty-cells,float,font,font-family,font-size,font-size-adjust,"
    "font-stretch,font-style,font-variant,font-weight,height,left,letter-spacing,line-height,list-style,"
    "list-style-image,list-style-position,list-style-type,margin,margin-top margin-right margin-bottom "
    "margin-left,marker-offset,marks,max-height,max-width,min-height,min-width,orphans,outline,"
    "outline-color,outline-style,outline-width,overflow,padding,padding-top,padding-right,padding-bottom "
    "padding-left,page,page-break-after,page-break-before,page-break-inside,pause,pause-after,"
    "pause-before,pitch,pitch-range,play-during,position,quotes,richness,right,size,speak,speak-header,"
    "speak-numeral,speak-punctuation,speech-rate,stress,table-layout,text-align,text-decoration,"
    "text-indent,text-shadow,text-transform,top,unicode-bidi,vertical-align,visibility,voice-family,"
    "volume,white-space,widows,width,word-spacing,z-index";

// What the dispatch does with each character.
enum CharClass : uint8_t {
    ccWord, ccNull, ccLineBreak, ccSpace, ccQuote, ccHash, ccCommaColon, ccSemicolon, ccOpenBrace,
    ccCloseBrace, ccNumber, ccSlash,
};

enum CharFlag : uint8_t {
    cfSelectorStop = 1,  // below 32, "/", "{"
    cfValueStop = 2,     // 0, 10, 13, ",", ";", "}"
    cfNameStop = 4,      // 32 and below, '"', ":", ";", "}"
    cfDigit = 8,
    cfHexDigit = 16,
    cfNameLetter = 32,   // "-" and letters
};

struct CharTables {
    std::array<uint8_t, 256> cls{};
    std::array<uint8_t, 256> flags{};
};

constexpr CharTables MakeCharTables()
{
    CharTables t{};
    for (int c = 0; c < 256; ++c) {
        const auto i = static_cast<size_t>(c);
        const bool digit = c >= '0' && c <= '9';
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (c >= 1 && c <= 32)
            t.cls[i] = ccSpace;
        if (digit)
            t.cls[i] = ccNumber;
        uint8_t f = 0;
        if (c < 32 || c == '/' || c == '{') f |= cfSelectorStop;
        if (c == 0 || c == 10 || c == 13 || c == ',' || c == ';' || c == '}') f |= cfValueStop;
        if (c <= 32 || c == '"' || c == ':' || c == ';' || c == '}') f |= cfNameStop;
        if (digit) f |= cfDigit;
        if (digit || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')) f |= cfHexDigit;
        if (letter || c == '-') f |= cfNameLetter;
        t.flags[i] = f;
    }
    t.cls[0] = ccNull;
    t.cls[10] = ccLineBreak;
    t.cls[13] = ccLineBreak;
    t.cls['"'] = ccQuote;
    t.cls['#'] = ccHash;
    t.cls[','] = ccCommaColon;
    t.cls[':'] = ccCommaColon;
    t.cls[';'] = ccSemicolon;
    t.cls['{'] = ccOpenBrace;
    t.cls['}'] = ccCloseBrace;
    t.cls['.'] = ccNumber;
    t.cls['/'] = ccSlash;
    return t;
}
constexpr CharTables kChars = MakeCharTables();

inline bool Has(unsigned char c, CharFlag f) { return (kChars.flags[c] & f) != 0; }

const TOstCharValues& NameValues()
{
    static const TOstCharValues values = LetterValues(false);
    return values;
}

// A property name is a run of "-" and letters (in UTF-8 text also the bytes
// from 0x80) followed by a run of digits, which add their numeric values.
int HashName(const unsigned char* s, int& length, bool utf8 = false)
{
    const TOstCharValues& values = NameValues();
    int hash = 0;
    length = 0;
    while (Has(s[length], cfNameLetter) || (utf8 && s[length] >= 0x80))
        hash += values[s[length++]];
    while (Has(s[length], cfDigit))
        hash += s[length++] - '0';
    return hash;
}

TOstCharSet CssIdentifierChars()
{
    return CharSetOf("-_") | CharRange('0', '9') | CharRange('A', 'Z') | CharRange('a', 'z');
}

const TOstHashEntryList& PropertyList()
{
    static const TOstHashEntryList list = [] {
        TOstHashEntryList l;
        AddKeywords(l, kPropertyNames, cssTkProperty, CssIdentifierChars(),
                    [](std::string_view name) {
                        return HashOfText(name, [](const unsigned char* s, int& length) { return HashName(s, length); });
                    });
        return l;
    }();
    return list;
}

bool IsCommentReturn(intptr_t state) { return state >= cssRsUnused && state <= cssRsValue; }

}  // namespace

TOstCssHighlighter::TOstCssHighlighter()
    : CommentAttri(AddAttribute(hlstr::kAttrComment, clNone, 0)),
      PropertyAttri(AddAttribute(kAttrProperty, clNone, fsBold)),
      KeyAttri(AddAttribute(hlstr::kAttrReservedWord, 0x00FF0080, fsBold)),
      UndefPropertyAttri(AddAttribute(kAttrUndefinedProperty, 0x00FF0080, fsBold)),
      SpaceAttri(AddAttribute(hlstr::kAttrSpace, clNone, 0)),
      ColourAttri(AddAttribute(hlstr::kAttrColorValue, clNone, 0)),
      NumberAttri(AddAttribute(hlstr::kAttrNumber, clNone, 0)),
      StringAttri(AddAttribute(hlstr::kAttrString, clNone, 0)),
      SymbolAttri(AddAttribute(hlstr::kAttrSymbol, clNone, 0)),
      TextAttri(AddAttribute(hlstr::kAttrText, clNone, 0)),
      ValueAttri(AddAttribute(hlstr::kAttrValue, 0x00FF8000, 0)),
      kindAttributes_{CommentAttri, PropertyAttri, KeyAttri, nullptr, SpaceAttri, StringAttri,
                      SymbolAttri, TextAttri, UndefPropertyAttri, ValueAttri, ColourAttri, NumberAttri},
      properties_(PropertyList())
{
    BindAttributeChanges();
    SetDefaultFilter(hlstr::kFilterCss);
}

const char* TOstCssHighlighter::LanguageTitle() { return hlstr::kLangCss; }

TOstHighlighterAttributes* TOstCssHighlighter::DefaultAttribute(int role) const
{
    return RoleAttribute(role, {CommentAttri, nullptr, KeyAttri, StringAttri, SpaceAttri, nullptr});
}

TOstCharSet TOstCssHighlighter::IdentifierChars() const { return CssIdentifierChars(); }

std::string TOstCssHighlighter::SampleText() const
{
    return "/* Syntax Highlighting */\r\n"
           "body { font-family: Tahoma, Verdana, Arial, Helvetica, sans-serif; font-size: 8pt }\r\n"
           "H1 { font-size: 18pt; color: #000099; made-up-property: 1 }";
}

bool TOstCssHighlighter::IsFilterStored() const { return DefaultFilter() != hlstr::kFilterCss; }

intptr_t TOstCssHighlighter::LineState() const
{
    return state_ == cssRsComment ? CssCommentState(commentReturn_) : state_;
}

// A value this lexer never stores restarts among the selectors.
void TOstCssHighlighter::RestoreLineState(intptr_t state)
{
    commentReturn_ = cssRsSelector;
    if ((state & 0xFF) == cssRsComment && IsCommentReturn(state >> 8)) {
        state_ = cssRsComment;
        commentReturn_ = static_cast<int>(state >> 8);
    } else if (state >= cssRsUnused && state <= cssRsValue) {
        state_ = static_cast<int>(state);
    } else {
        state_ = state == cssRsComment ? cssRsComment : cssRsSelector;
    }
}

void TOstCssHighlighter::ClearLineState()
{
    state_ = cssRsSelector;
    commentReturn_ = cssRsSelector;
}

void TOstCssHighlighter::NextToken()
{
    tokenPos_ = run_;
    switch (state_) {
    case cssRsComment: comment(); break;
    case cssRsSelector: selector(); break;
    default: dispatch();
    }
}

void TOstCssHighlighter::dispatch()
{
    switch (kChars.cls[line_[run_]]) {
    case ccNull: tokenKind_ = cssTkNull; break;
    case ccLineBreak:
        run_ = scan::SkipLineBreak(line_, run_);
        tokenKind_ = cssTkSpace;
        break;
    case ccSpace: whitespaceRun(); break;
    case ccQuote: string(); break;
    case ccHash: colour(); break;
    case ccCommaColon: symbol(cssRsValue); break;
    case ccSemicolon: symbol(cssRsAfterSemicolon); break;
    case ccOpenBrace: symbol(cssRsBlock); break;
    case ccCloseBrace: symbol(cssRsSelector); break;
    case ccNumber: number(); break;
    case ccSlash: slash(); break;
    default: word();
    }
}

// A tab always starts a whitespace token of its own.
void TOstCssHighlighter::whitespaceRun()
{
    run_ = scan::SkipBlanksBeforeTab(line_, run_ + 1);
    tokenKind_ = cssTkSpace;
}

// Everything up to a brace, a slash or a control character is one token of
// selector text, blanks, dots and commas included.
void TOstCssHighlighter::selector()
{
    if (Has(line_[run_], cfSelectorStop)) {
        dispatch();
        return;
    }
    while (!Has(line_[run_], cfSelectorStop))
        ++run_;
    tokenKind_ = cssTkKey;
}

void TOstCssHighlighter::word()
{
    if (state_ == cssRsValue) {
        while (!Has(line_[run_], cfValueStop))
            ++run_;
        tokenKind_ = cssTkValue;
        state_ = cssRsBlock;
    } else {
        propertyName();
    }
}

// Only the leading name decides the kind; the token runs on to a blank, a
// quote, ":", ";" or "}".
void TOstCssHighlighter::propertyName()
{
    int length = 0;
    const int hash = HashName(line_ + run_, length, utf8Text_);
    const TOstHashEntry* known = properties_.Find(hash, line_ + run_, length, NameValues());
    tokenKind_ = known ? known->Kind : cssTkUndefProperty;
    ++run_;
    while (!Has(line_[run_], cfNameStop))
        ++run_;
}

// Digits and dots, but ".." ends the number.
void TOstCssHighlighter::number()
{
    ++run_;
    while ((Has(line_[run_], cfDigit) || line_[run_] == '.') && !(line_[run_] == '.' && line_[run_ + 1] == '.'))
        ++run_;
    tokenKind_ = cssTkNumber;
}

void TOstCssHighlighter::colour()
{
    ++run_;
    while (Has(line_[run_], cfHexDigit))
        ++run_;
    tokenKind_ = cssTkColor;
}

// An unclosed string ends with its line and leaves the state as it was.
void TOstCssHighlighter::string()
{
    ++run_;
    while (line_[run_] != '"' && !scan::IsLineEnd(line_[run_]))
        ++run_;
    if (line_[run_] == '"')
        ++run_;
    tokenKind_ = cssTkString;
}

void TOstCssHighlighter::slash()
{
    if (line_[run_ + 1] != '*') {
        ++run_;
        tokenKind_ = cssTkSymbol;
        return;
    }
    commentReturn_ = state_;
    state_ = cssRsComment;
    run_ += 2;
    tokenKind_ = cssTkComment;
    if (!scan::IsLineEnd(line_[run_]))
        comment();
}

void TOstCssHighlighter::comment()
{
    if (run_ == tokenPos_ && scan::IsLineEnd(line_[run_])) {
        dispatch();
        return;
    }
    tokenKind_ = cssTkComment;
    bool closed = false;
    run_ = scan::SkipBlockCommentBody(line_, run_, closed);
    if (closed)
        state_ = commentReturn_;
}

void TOstCssHighlighter::symbol(int newState)
{
    ++run_;
    tokenKind_ = cssTkSymbol;
    state_ = newState;
}

}  // namespace ostrel
