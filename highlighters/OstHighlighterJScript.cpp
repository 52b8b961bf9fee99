#include "highlighters/OstHighlighterJScript.h"

#include <string_view>

#include "highlighters/OstHighlighterHashEntries.h"
#include "highlighters/OstHighlighterScan.h"
#include "highlighters/OstHighlighterStrings.h"
#include "highlighters/OstHighlighterSymbols.h"

namespace ostrel {

namespace {

// All three lists are matched without regard to case, so each word is
// listed once, with the kind it gets ("function", "null" and "boolean" are
// names of the object model here, not reserved words).
constexpr std::string_view kReservedWords[] = {
    "if", "do", "in", "case", "NaN", "char", "catch", "break", "callee", "for", "else", "var",
    "new", "final", "false", "int", "package", "long", "void", "delete", "byte", "enum", "class",
    "float", "this", "while", "goto", "double", "with", "try", "public", "true", "default",
    "debugger", "const", "native", "static", "start", "finally", "super", "short", "interface",
    "switch", "throw", "abstract", "typeof", "import", "extends", "private", "return", "export",
    "continue", "throws", "instanceof", "protected", "transient", "implements", "prototype",
    "synchronized", "constructor",
};
static_assert(std::size(kReservedWords) == 60);

constexpr std::string_view kObjectModelNames[] = {
    "E", "back", "big", "abs", "go", "Area", "PI", "All", "LN10", "LN2", "call", "Embed", "ceil",
    "Date", "bold", "name", "find", "log", "java", "Image", "tan", "min", "hash", "atan2", "atan",
    "href", "cos", "click", "acos", "max", "LOG10E", "LOG2E", "checked", "clear", "eval", "src",
    "home", "self", "Math", "sin", "sub", "asin", "Frame", "left", "align", "Hidden", "UTC", "exp",
    "match", "Link", "body", "Radio", "tags", "join", "embeds", "blink", "fixed", "slice", "escape",
    "Global", "open", "charAt", "top", "URL", "caller", "Form", "hspace", "blur", "pageX", "pow",
    "close", "search", "images", "pageY", "reload", "Object", "watch", "alert", "sup", "domain",
    "index", "concat", "isNaN", "small", "height", "cookie", "closed", "parse", "Anchor", "Null",
    "replace", "value", "Layer", "action", "getDate", "getDay", "border", "host", "frames", "right",
    "Array", "next", "Packages", "logon", "color", "Boolean", "Select", "taint", "focus", "width",
    "screen", "filename", "links", "method", "random", "vspace", "length", "title", "type",
    "appName", "floor", "event", "reset", "port", "Text", "Applet", "stop", "target", "Checkbox",
    "encoding", "forms", "round", "sort", "bgColor", "italics", "Number", "opener", "selected",
    "sqrt", "SQRT2", "parent", "setDate", "menubar", "write", "RegExp", "fgColor", "split",
    "javaEnabled", "indexOf", "print", "anchors", "confirm", "pathname", "charCodeAt", "Plugin",
    "getTime", "refresh", "scroll", "layers", "input", "getYear", "style", "strike", "valueOf",
    "moveBy", "zIndex", "Undefined", "netscape", "toolbar", "Submit", "unescape", "forward",
    "bottom", "display", "String", "Window", "Location", "complete", "applets", "Option", "lowsrc",
    "moveTo", "unwatch", "setTime", "isFinite", "Button", "reverse", "appCodeName", "setYear",
    "referrer", "elements", "Textarea", "hostname", "document", "background", "prompt", "plugins",
    "current", "untaint", "substr", "status", "FileUpload", "writeln", "platform", "getMonth",
    "Function", "parseInt", "SQRT1_2", "MimeType", "Infinity", "scrollBy", "getUTCDate",
    "getUTCDay", "taintEnabled", "Navigator", "defaultChecked", "options", "suffixes", "linkColor",
    "resizeBy", "fromCharCode", "userAgent", "alinkColor", "locationbar", "handleEvent",
    "getSeconds", "parseFloat", "getHours", "fontsize", "History", "setMonth", "protocol",
    "scrollTo", "Password", "toSource", "lastModified", "resizeTo", "innerHeight", "fontcolor",
    "Arguments", "setUTCDate", "scrollbars", "personalbar", "statusbar", "toString",
    "enabledPlugin", "setSeconds", "innerWidth", "pageXOffset", "previous", "setHours", "mimeTypes",
    "pageYOffset", "MIN_VALUE", "lastIndexOf", "substring", "selectedIndex", "defaultValue",
    "MAX_VALUE", "vlinkColor", "description", "getFullYear", "getMinutes", "appVersion",
    "toLowerCase", "outerHeight", "visibility", "toUpperCase", "clearInterval", "defaultSelected",
    "clearTimeout", "outerWidth", "setFullYear", "setMinutes", "setInterval", "routeEvent",
    "getUTCMonth", "getElementById", "setTimeout", "releaseEvents", "getUTCSeconds", "getUTCHours",
    "setUTCMonth", "toGMTString", "getMilliseconds", "toUTCString", "setUTCSeconds",
    "defaultStatus", "captureEvents", "setUTCHours", "toLocaleString", "getUTCFullYear",
    "getUTCMinutes", "setMilliseconds", "setUTCFullYear", "setUTCMinutes", "getTimezoneOffset",
    "getUTCMilliseconds", "NEGATIVE_INFINITY", "setUTCMilliseconds", "POSITIVE_INFINITY",
};
static_assert(std::size(kObjectModelNames) == 301);

constexpr std::string_view kEventNames[] = {
    "onLoad", "onClick", "onChange", "onBlur", "onAbort", "onDblClick", "onFocus", "onSelect",
    "onUnload", "onReset", "onError", "onKeyUp", "onSubmit", "onKeyDown", "onMouseUp", "onKeyPress",
    "onMouseMove", "onMouseOut", "onMouseDown", "onMouseOver",
};
static_assert(std::size(kEventNames) == 20);

constexpr int kMaxHash = 252;

// What the dispatch does with each character.
enum CharClass : uint8_t {
    ccSymbol, ccNull, ccLineBreak, ccSpace, ccLetter, ccDigit, ccQuote, ccSlash, ccOperator, ccUnknown,
};

constexpr auto kWordChar = CharTable<bool>(IsAsciiWordChar);
constexpr auto kWordCharUtf8 = WithUtf8Letters(kWordChar, true);

// The symbols longer than one character, with their first characters;
// every other character without a scanner of its own is a symbol of one.
constexpr std::string_view kOperators[] = {
    "&&", "&=", "&", "||", "|=", "|", "++", "+=", "+", "--", "-=", "->", "-", "%=", "%", "*=", "*", "...", ".",
};
constexpr TOstOperatorTable kOperatorTable(kOperators);

constexpr std::array<uint8_t, 256> MakeCharClasses()
{
    std::array<uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c) {
        const auto i = static_cast<size_t>(c);
        if (c >= 1 && c <= 32)
            t[i] = ccSpace;
        else if (IsAsciiLetter(c) || c == '_')
            t[i] = ccLetter;
        else if (IsDigit(c))
            t[i] = ccDigit;
        else if (c >= 127)
            t[i] = ccUnknown;
    }
    t[0] = ccNull;
    t[10] = ccLineBreak;
    t[13] = ccLineBreak;
    t['"'] = ccQuote;
    t['\''] = ccQuote;
    t['/'] = ccSlash;
    for (const char c : std::string_view("#$@\\^`"))
        t[static_cast<unsigned char>(c)] = ccUnknown;
    for (const char c : std::string_view("&|+-%*."))
        t[static_cast<unsigned char>(c)] = ccOperator;
    return t;
}
constexpr std::array<uint8_t, 256> kCharClass = MakeCharClasses();
constexpr std::array<uint8_t, 256> kCharClassUtf8 = WithUtf8Letters(kCharClass, ccLetter);

const TOstKeywordTable& KeywordTable()
{
    static const TOstKeywordTable table = [] {
        TOstKeywordTable t(LetterValues(true), kMaxHash);
        const auto hash = [&t](const unsigned char* s, int& length) {
            return SumHash(s, length, kWordChar, t.Values());
        };
        AddHashedKeywords(t, kReservedWords, jsTkKey, hash);
        AddHashedKeywords(t, kObjectModelNames, jsTkNonReservedKey, hash);
        AddHashedKeywords(t, kEventNames, jsTkEvent, hash);
        return t;
    }();
    return table;
}

}  // namespace

TOstJScriptHighlighter::TOstJScriptHighlighter()
    : CommentAttri(AddAttribute(hlstr::kAttrComment, clNone, fsItalic)),
      IdentifierAttri(AddAttribute(hlstr::kAttrIdentifier, clNone, 0)),
      KeyAttri(AddAttribute(hlstr::kAttrReservedWord, clNone, fsBold)),
      NonReservedKeyAttri(AddAttribute(hlstr::kAttrNonReservedKeyword, clNone, 0)),
      EventAttri(AddAttribute(hlstr::kAttrEvent, clNone, 0)),
      NumberAttri(AddAttribute(hlstr::kAttrNumber, clNone, 0)),
      SpaceAttri(AddAttribute(hlstr::kAttrSpace, clNone, 0)),
      StringAttri(AddAttribute(hlstr::kAttrString, clNone, 0)),
      SymbolAttri(AddAttribute(hlstr::kAttrSymbol, clNone, 0)),
      kindAttributes_{CommentAttri, IdentifierAttri, KeyAttri, nullptr, NumberAttri, SpaceAttri,
                      StringAttri, SymbolAttri, IdentifierAttri, NonReservedKeyAttri, EventAttri},
      keywords_(KeywordTable())
{
    BindAttributeChanges();
    SetDefaultFilter(hlstr::kFilterJScript);
}

const char* TOstJScriptHighlighter::LanguageTitle() { return hlstr::kLangJScript; }

TOstHighlighterAttributes* TOstJScriptHighlighter::DefaultAttribute(int role) const
{
    return RoleAttribute(role, {CommentAttri, IdentifierAttri, KeyAttri, StringAttri, SpaceAttri, SymbolAttri});
}

TOstCharSet TOstJScriptHighlighter::IdentifierChars() const { return scan::LatinIdentifierChars(); }

std::string TOstJScriptHighlighter::SampleText() const
{
    return "// Syntax highlighting\r\n"
           "function printNumber()\r\n"
           "{\r\n"
           "  var number = 1234;\r\n"
           "  var x;\r\n"
           "  document.write(\"The number is \" + number);\r\n"
           "  for (var i = 0; i <= number; i++)\r\n"
           "  {\r\n"
           "    x++;\r\n"
           "    x--;\r\n"
           "    x += 1.0;\r\n"
           "  }\r\n"
           "  i += @; // illegal character\r\n"
           "}\r\n"
           "body.onLoad = printNumber;";
}

void TOstJScriptHighlighter::NextToken()
{
    tokenPos_ = run_;
    if (state_ == jsRsComment)
        blockComment();
    else
        dispatch();
}

void TOstJScriptHighlighter::dispatch()
{
    const unsigned char c = line_[run_];
    switch ((utf8Text_ ? kCharClassUtf8 : kCharClass)[c]) {
    case ccNull: tokenKind_ = jsTkNull; break;
    case ccLineBreak:
        run_ = scan::SkipLineBreak(line_, run_);
        tokenKind_ = jsTkSpace;
        break;
    case ccSpace: whitespaceRun(); break;
    case ccLetter: word(); break;
    case ccDigit: number(); break;
    case ccQuote: string(); break;
    case ccSlash: slash(); break;
    case ccOperator: symbol(kOperatorTable.Match(line_ + run_)); break;
    case ccUnknown:
        // The code page is single-byte: no character takes two.
        ++run_;
        tokenKind_ = jsTkUnknown;
        break;
    default: symbol(1);
    }
}

void TOstJScriptHighlighter::whitespaceRun()
{
    run_ = SkipBlanks(line_, run_ + 1);
    tokenKind_ = jsTkSpace;
}

void TOstJScriptHighlighter::word()
{
    int length = 0;
    const int hash = SumHash(line_ + run_, length, utf8Text_ ? kWordCharUtf8 : kWordChar, keywords_.Values());
    tokenKind_ = keywords_.Classify(line_ + run_, length, hash, jsTkIdentifier, jsTkIdentifier);
    run_ += length;
}

// Decimal digits and dots, or "0x" and hexadecimal digits; an exponent is
// not part of the number, and ".." ends it.
void TOstJScriptHighlighter::number()
{
    const int start = run_++;
    bool hex = false;
    for (;; ++run_) {
        const unsigned char c = line_[run_];
        if (c == '.') {
            if (line_[run_ + 1] == '.')
                break;
        } else if (c == 'x' || c == 'X') {
            if (run_ != start + 1 || line_[start] != '0' || !IsHexDigit(line_[run_ + 1]))
                break;
            hex = true;
        } else if (!IsDigit(c) && !(hex && IsHexDigit(c))) {
            break;
        }
    }
    tokenKind_ = jsTkNumber;
}

// A string ends with its line or at the next quote like the opening one that
// no backslash escapes; three quotes in a row open it as one.
void TOstJScriptHighlighter::string()
{
    const unsigned char quote = line_[run_];
    int p = run_ + 1;
    if (line_[p] == quote && line_[p + 1] == quote)
        p += 2;
    for (; !scan::IsLineEnd(line_[p]); ++p)
        if (line_[p] == quote && !scan::IsEscaped(line_, p)) {
            ++p;
            break;
        }
    run_ = p;
    tokenKind_ = jsTkString;
}

void TOstJScriptHighlighter::slash()
{
    switch (line_[run_ + 1]) {
    case '*':
        run_ += 2;
        tokenKind_ = jsTkComment;
        state_ = jsRsComment;
        blockCommentBody();
        break;
    case '/':
        run_ = scan::SkipToLineEnd(line_, run_);
        tokenKind_ = jsTkComment;
        break;
    case '=': symbol(2); break;
    default: symbol(1);
    }
}

void TOstJScriptHighlighter::blockCommentBody()
{
    bool closed = false;
    run_ = scan::SkipBlockCommentBody(line_, run_, closed);
    if (closed)
        state_ = jsRsCode;
}

void TOstJScriptHighlighter::blockComment()
{
    if (scan::IsLineEnd(line_[run_])) {
        dispatch();
        return;
    }
    tokenKind_ = jsTkComment;
    blockCommentBody();
}

void TOstJScriptHighlighter::symbol(int length)
{
    run_ += length;
    tokenKind_ = jsTkSymbol;
}

}  // namespace ostrel
