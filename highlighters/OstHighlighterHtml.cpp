#include "highlighters/OstHighlighterHtml.h"

#include <array>
#include <cstring>
#include <string_view>

#include "highlighters/OstHighlighterHashEntries.h"
#include "highlighters/OstHighlighterStrings.h"

namespace ostrel {

namespace {

// Tag names, matched without regard to case; a closing form exists only
// where it is listed.
constexpr std::string_view kTagNames[] = {
    "A", "B", "DD", "I", "H1", "H2", "H3", "H4", "H5", "H6", "DL", "P", "KBD", "Q", "BIG",
    "EM", "HEAD", "S", "BR", "DEL", "LI", "U", "ABBR", "DFN", "DT", "TD", "AREA", "HR", "BASE",
    "CODE", "OL", "TH", "EMBED", "IMG", "COL", "MAP", "DIR", "LABEL", "UL", "DIV", "CITE",
    "THEAD", "TR", "META", "PRE", "TABLE", "TT", "var", "INS", "SUB", "FRAME", "WBR", "BODY",
    "LINK", "LEGend", "BLINK", "NOBR", "PARAM", "SAMP", "SPAN", "FORM", "IFRAME", "HTML",
    "MENU", "XMP", "FONT", "object", "SUP", "SMALL", "NOEMBED", "LAYER", "SPACER", "SELECT",
    "CENTER", "TBODY", "TITLE", "KEYGEN", "ADDRESS", "APPLET", "ILAYER", "NEXTID", "TFOOT",
    "CAPTION", "FIELDSET", "INPUT", "MARQUEE", "STYLE", "BASEFONT", "BGSOUND", "STRIKE",
    "COMMENT", "ISINDEX", "SCRIPT", "SERVER", "FRAMESET", "ACRONYM", "OPTION", "LISTING",
    "NOLAYER", "NOFRAMES", "BUTTON", "STRONG", "TEXTAREA", "MULTICOL", "COLGROUP", "NOSCRIPT",
    "BLOCKQUOTE", "PLAINTEXT", "/A", "/B", "/DD", "/I", "/H1", "/H2", "/H3", "/H4", "/H5",
    "/H6", "/DL", "/P", "/KBD", "/Q", "/BIG", "/EM", "/HEAD", "/S", "/DEL", "/LI", "/U",
    "/ABBR", "/DFN", "/DT", "/TD", "/CODE", "/OL", "/TH", "/EMBED", "/MAP", "/DIR", "/LABEL",
    "/UL", "/DIV", "/CITE", "/THEAD", "/TR", "/PRE", "/TABLE", "/TT", "/var", "/INS", "/SUB",
    "/BODY", "/LEGend", "/BLINK", "/NOBR", "/SAMP", "/SPAN", "/FORM", "/IFRAME", "/HTML",
    "/MENU", "/XMP", "/FONT", "/object", "/SUP", "/SMALL", "/NOEMBED", "/LAYER", "/SELECT",
    "/CENTER", "/TBODY", "/TITLE", "/ADDRESS", "/APPLET", "/ILAYER", "/TFOOT", "/CAPTION",
    "/FIELDSET", "/MARQUEE", "/STYLE", "/STRIKE", "/COMMENT", "/SCRIPT", "/FRAMESET",
    "/SERVER", "/ACRONYM", "/OPTION", "!DOCTYPE", "/LISTING", "/NOLAYER", "/NOFRAMES",
    "/BUTTON", "/STRONG", "/TEXTAREA", "/MULTICOL", "/COLGROUP", "/NOSCRIPT", "/BLOCKQUOTE",
};
static_assert(std::size(kTagNames) == 198);

// Entities in search order: the first whose whole text starts at the "&" wins.
constexpr std::string_view kEntities[] = {
    "&Alpha;", "&Beta;", "&Gamma;", "&Delta;", "&Epsilon;", "&Zeta;", "&Eta;", "&Theta;",
    "&Iota;", "&Kappa;", "&Lambda;", "&Mu;", "&Nu;", "&Xi;", "&Omicron;", "&Pi;", "&Rho;",
    "&Sigma;", "&Tau;", "&Upsilon;", "&Phi;", "&Chi;", "&Psi;", "&Omega;", "&alpha;", "&beta;",
    "&gamma;", "&delta;", "&epsilon;", "&zeta;", "&eta;", "&theta;", "&iota;", "&kappa;",
    "&lambda;", "&mu;", "&nu;", "&xi;", "&omicron;", "&pi;", "&rho;", "&sigmaf;", "&sigma;",
    "&tau;", "&upsilon;", "&phi;", "&chi;", "&psi;", "&omega;", "&thetasym;", "&upsih;",
    "&piv;", "&bull;", "&hellip;", "&prime;", "&Prime;", "&oline;", "&frasl;", "&weierp;",
    "&image;", "&real;", "&trade;", "&alefsym;", "&larr;", "&uarr;", "&rarr;", "&darr;",
    "&harr;", "&crarr;", "&lArr;", "&uArr;", "&rArr;", "&dArr;", "&hArr;", "&forall;",
    "&part;", "&exist;", "&empty;", "&nabla;", "&isin;", "&notin;", "&ni;", "&prod;", "&sum;",
    "&minus;", "&lowast;", "&radic;", "&prop;", "&infin;", "&ang;", "&and;", "&or;", "&cap;",
    "&cup;", "&int;", "&there4;", "&sim;", "&cong;", "&asymp;", "&ne;", "&equiv;", "&le;",
    "&ge;", "&sub;", "&sup;", "&nsub;", "&sube;", "&supe;", "&oplus;", "&otimes;", "&perp;",
    "&sdot;", "&lceil;", "&rceil;", "&lfloor;", "&rfloor;", "&lang;", "&rang;", "&loz;",
    "&spades;", "&clubs;", "&hearts;", "&diams;", "&lsquo;", "&rsquo;", "&sbquo;", "&ldquo;",
    "&rdquo;", "&bdquo;", "&dagger;", "&Dagger;", "&permil;", "&lsaquo;", "&rsaquo;", "&quot;",
    "&amp;", "&lt;", "&gt;", "&ndash;", "&mdash;", "&nbsp;", "&thinsp;", "&ensp;", "&emsp;",
    "&iexcl;", "&cent;", "&pound;", "&curren;", "&yen;", "&brvbar;", "&brkbar;", "&sect;",
    "&uml;", "&die;", "&copy;", "&ordf;", "&laquo;", "&not;", "&shy;", "&reg;", "&macr;",
    "&hibar;", "&deg;", "&plusmn;", "&sup2;", "&sup3;", "&acute;", "&micro;", "&para;",
    "&middot;", "&cedil;", "&sup1;", "&ordm;", "&raquo;", "&frac14;", "&frac12;", "&frac34;",
    "&iquest;", "&Agrave;", "&Aacute;", "&Acirc;", "&Atilde;", "&Auml;", "&Aring;", "&AElig;",
    "&Ccedil;", "&Egrave;", "&Eacute;", "&Ecirc;", "&Euml;", "&Igrave;", "&Iacute;", "&Icirc;",
    "&Iuml;", "&ETH;", "&Ntilde;", "&Ograve;", "&Oacute;", "&Ocirc;", "&Otilde;", "&Ouml;",
    "&times;", "&Oslash;", "&Ugrave;", "&Uacute;", "&Ucirc;", "&Uuml;", "&Yacute;", "&THORN;",
    "&szlig;", "&agrave;", "&aacute;", "&acirc;", "&atilde;", "&auml;", "&aring;", "&aelig;",
    "&ccedil;", "&egrave;", "&eacute;", "&ecirc;", "&euml;", "&igrave;", "&iacute;", "&icirc;",
    "&iuml;", "&eth;", "&ntilde;", "&ograve;", "&oacute;", "&ocirc;", "&otilde;", "&ouml;",
    "&divide;", "&oslash;", "&ugrave;", "&uacute;", "&ucirc;", "&uuml;", "&yacute;", "&thorn;",
    "&yuml;", "&euro;", "&OElig;", "&oelig;", "&scaron;", "&Scaron;", "&fnof;", "&circ;",
};
static_assert(std::size(kEntities) == 249);

constexpr int kMaxTagHash = 243;

// Tag-name character values: letters by their place in the alphabet, "!" and
// "/" above all letters, so that opening and closing names hash apart.
constexpr TOstCharValues MakeTagValues()
{
    TOstCharValues v{};
    for (int c = 'A'; c <= 'Z'; ++c) {
        v[static_cast<size_t>(c)] = c - 'A' + 1;
        v[static_cast<size_t>(c - 'A' + 'a')] = c - 'A' + 1;
    }
    v['!'] = 123;
    v['/'] = 122;
    return v;
}
constexpr TOstCharValues kTagValues = MakeTagValues();

// A tag name is a run of "!", "/" and letters (in UTF-8 text also the bytes
// from 0x80) followed by a run of digits; the digits add their numeric
// values. Returns the name's length.
int HashTagName(const unsigned char* s, int& hash, bool utf8 = false)
{
    int n = 0;
    hash = 0;
    while (kTagValues[s[n]] != 0 || (utf8 && s[n] >= 0x80))
        hash += kTagValues[s[n++]];
    while (s[n] >= '0' && s[n] <= '9')
        hash += s[n++] - '0';
    return n;
}

const TOstKeywordTable& TagTable()
{
    static const TOstKeywordTable table = [] {
        TOstKeywordTable t(kTagValues, kMaxTagHash);
        for (std::string_view name : kTagNames) {
            const std::string zeroEnded(name);
            int hash = 0;
            HashTagName(reinterpret_cast<const unsigned char*>(zeroEnded.c_str()), hash);
            t.Add(hash, name, htmlTkKey);
        }
        return t;
    }();
    return table;
}

// For each character after "&", the entities starting with it, in table order.
const std::array<std::vector<uint8_t>, 256>& EntitiesByLead()
{
    static const auto table = [] {
        std::array<std::vector<uint8_t>, 256> t;
        for (size_t i = 0; i < std::size(kEntities); ++i)
            t[static_cast<unsigned char>(kEntities[i][1])].push_back(static_cast<uint8_t>(i));
        return t;
    }();
    return table;
}

// The entity starting at s[0] == '&', or -1.
int FindEntity(const unsigned char* s)
{
    for (const uint8_t i : EntitiesByLead()[s[1]]) {
        const std::string_view e = kEntities[i];
        // strncmp stops at the line's terminating zero, which no entity holds.
        if (std::strncmp(reinterpret_cast<const char*>(s), e.data(), e.size()) == 0)
            return i;
    }
    return -1;
}

// What the dispatch does with each character.
enum CharClass : uint8_t { ccOther, ccNull, ccLineFeed, ccReturn, ccSpace, ccQuote, ccAmpersand, ccLess, ccEquals, ccGreater };

// Character flags for the scanning loops.
enum CharFlag : uint8_t {
    cfTextStop = 1,      // ends a text run: below 32, "<", "&"
    cfIdentStop = 2,     // ends an attribute name: 32 and below, '"', "=", ">"
    cfValueStop = 4,     // ends an unquoted value: 32 and below, ">"
    cfSpaceGoesOn = 8,   // continues a whitespace run: 1 to 32 except 9, 10, 13
    cfLineEnd = 16,      // 0, 10, 13
    cfHexDigit = 32,
    cfDigit = 64,
};

struct CharTables {
    std::array<uint8_t, 256> cls{};
    std::array<uint8_t, 256> flags{};
};

constexpr CharTables MakeCharTables()
{
    CharTables t{};
    for (int c = 1; c <= 32; ++c)
        t.cls[static_cast<size_t>(c)] = ccSpace;
    t.cls[0] = ccNull;
    t.cls[10] = ccLineFeed;
    t.cls[13] = ccReturn;
    t.cls['"'] = ccQuote;
    t.cls['\''] = ccQuote;
    t.cls['&'] = ccAmpersand;
    t.cls['<'] = ccLess;
    t.cls['='] = ccEquals;
    t.cls['>'] = ccGreater;
    for (int c = 0; c < 256; ++c) {
        uint8_t f = 0;
        if (c < 32 || c == '<' || c == '&') f |= cfTextStop;
        if (c <= 32 || c == '"' || c == '=' || c == '>') f |= cfIdentStop;
        if (c <= 32 || c == '>') f |= cfValueStop;
        if (c >= 1 && c <= 32 && c != 9 && c != 10 && c != 13) f |= cfSpaceGoesOn;
        if (c == 0 || c == 10 || c == 13) f |= cfLineEnd;
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')) f |= cfHexDigit;
        if (c >= '0' && c <= '9') f |= cfDigit;
        t.flags[static_cast<size_t>(c)] = f;
    }
    return t;
}
constexpr CharTables kChars = MakeCharTables();

inline bool Has(unsigned char c, CharFlag f) { return (kChars.flags[c] & f) != 0; }

}  // namespace

TOstHTMLHighlighter::TOstHTMLHighlighter()
    : AndAttri(AddAttribute(hlstr::kAttrEscapeAmpersand, 0x0000FF00, fsBold)),
      CommentAttri(AddAttribute(hlstr::kAttrComment, clNone, 0)),
      IdentifierAttri(AddAttribute(hlstr::kAttrIdentifier, clNone, fsBold)),
      KeyAttri(AddAttribute(hlstr::kAttrReservedWord, 0x00FF0080, fsBold)),
      SpaceAttri(AddAttribute(hlstr::kAttrSpace, clNone, 0)),
      SymbolAttri(AddAttribute(hlstr::kAttrSymbol, clNone, fsBold)),
      TextAttri(AddAttribute(hlstr::kAttrText, clNone, 0)),
      UndefKeyAttri(AddAttribute(hlstr::kAttrUnknownWord, 0x000000FF, fsBold)),
      ValueAttri(AddAttribute(hlstr::kAttrValue, 0x00FF8000, 0)),
      kindAttributes_{AndAttri, CommentAttri, IdentifierAttri, KeyAttri, nullptr,
                      SpaceAttri, SymbolAttri, TextAttri, UndefKeyAttri, ValueAttri}
{
    BindAttributeChanges();
    TagTable();  // built once, before the first line
    state_ = htmlRsText;
    SetDefaultFilter(hlstr::kFilterHtml);
}

const char* TOstHTMLHighlighter::LanguageTitle() { return hlstr::kLangHtml; }

TOstHighlighterAttributes* TOstHTMLHighlighter::DefaultAttribute(int role) const
{
    switch (role) {
    case daComment: return CommentAttri;
    case daIdentifier: return IdentifierAttri;
    case daKeyword: return KeyAttri;
    case daWhitespace: return SpaceAttri;
    case daSymbol: return SymbolAttri;
    default: return nullptr;
    }
}

TOstCharSet TOstHTMLHighlighter::IdentifierChars() const
{
    return CharRange('0', '9') | CharRange('A', 'Z') | CharSetOf("_") | CharRange('a', 'z') |
           CharRange(192, 214) | CharRange(216, 246) | CharRange(248, 255);
}

std::string TOstHTMLHighlighter::SampleText() const
{
    return "<!-- Syntax highlighting -->\r\n"
           "\r\n"
           "<html>\r\n"
           "<body bgcolor=\"red\">\r\n"
           "  <form name=\"frmLogin\" action=\"doSomething.asp\">\r\n"
           "    <input name=\"user\" value='any\r\n"
           "      value'>\r\n"
           "  </form>\r\n"
           "  <invalid>Sample HTML code &copy; 2001</invalid>\r\n"
           "</body>\r\n"
           "</html>";
}

void TOstHTMLHighlighter::StartLine(std::string_view line, int lineIndex)
{
    entityIndex_ = -1;  // never carried from one line to the next
    TOstCustomHighlighter::StartLine(line, lineIndex);
}

void TOstHTMLHighlighter::RestoreLineState(intptr_t state)
{
    state_ = state >= htmlRsEntity && state <= htmlRsDoubleQuoteValue ? static_cast<int>(state) : htmlRsText;
    entityIndex_ = -1;
}

void TOstHTMLHighlighter::ClearLineState()
{
    state_ = htmlRsText;
    entityIndex_ = -1;
}

void TOstHTMLHighlighter::NextToken()
{
    tokenPos_ = run_;
    switch (state_) {
    case htmlRsComment:
        comment();
        break;
    case htmlRsText:
        text();
        break;
    case htmlRsQuoteValue:
    case htmlRsDoubleQuoteValue:
        if (Has(line_[run_], cfLineEnd))
            dispatch();
        else
            quotedValue();
        break;
    default:
        dispatch();
    }
}

void TOstHTMLHighlighter::dispatch()
{
    switch (kChars.cls[line_[run_]]) {
    case ccNull: tokenKind_ = htmlTkNull; break;
    case ccLineFeed: lineBreak(false); break;
    case ccReturn: lineBreak(true); break;
    case ccSpace: whitespaceRun(); break;
    case ccQuote: quotedValue(); break;
    case ccAmpersand: entity(); break;
    case ccLess: tagOpener(); break;
    case ccEquals: equals(); break;
    case ccGreater: tagCloser(); break;
    default: word();
    }
}

void TOstHTMLHighlighter::lineBreak(bool cr)
{
    ++run_;
    if (cr && line_[run_] == 10)
        ++run_;
    tokenKind_ = htmlTkSpace;
}

// A tab always starts a whitespace token of its own.
void TOstHTMLHighlighter::whitespaceRun()
{
    ++run_;
    while (Has(line_[run_], cfSpaceGoesOn))
        ++run_;
    tokenKind_ = htmlTkSpace;
}

void TOstHTMLHighlighter::tagOpener()
{
    ++run_;
    if (line_[run_] == '!' && line_[run_ + 1] == '-' && line_[run_ + 2] == '-') {
        run_ += 3;
        tokenKind_ = htmlTkComment;
        state_ = htmlRsComment;
    } else {
        tokenKind_ = htmlTkSymbol;
        state_ = htmlRsTagName;
    }
}

void TOstHTMLHighlighter::tagCloser()
{
    ++run_;
    tokenKind_ = htmlTkSymbol;
    state_ = htmlRsText;
}

void TOstHTMLHighlighter::equals()
{
    ++run_;
    tokenKind_ = htmlTkSymbol;
    state_ = htmlRsValue;
}

// The "--" before the closing ">" may belong to the opener ("<!-->"), but
// not to an earlier line.
void TOstHTMLHighlighter::comment()
{
    if (Has(line_[run_], cfLineEnd)) {
        dispatch();
        return;
    }
    tokenKind_ = htmlTkComment;
    for (;; ++run_) {
        const unsigned char c = line_[run_];
        if (Has(c, cfLineEnd))
            return;
        if (c == '>' && run_ >= 2 && line_[run_ - 1] == '-' && line_[run_ - 2] == '-') {
            ++run_;
            state_ = htmlRsText;
            return;
        }
    }
}

void TOstHTMLHighlighter::word()
{
    switch (state_) {
    case htmlRsTagName:
        tagName();
        return;
    case htmlRsValue:
        tokenKind_ = htmlTkValue;
        ++run_;
        while (!Has(line_[run_], cfValueStop))
            ++run_;
        state_ = htmlRsTag;
        return;
    default:
        tokenKind_ = htmlTkIdentifier;
        ++run_;
        while (!Has(line_[run_], cfIdentStop))
            ++run_;
    }
}

// A character that cannot start a name gives an empty unknown tag, and the
// state moves on all the same.
void TOstHTMLHighlighter::tagName()
{
    int hash = 0;
    const int length = HashTagName(line_ + run_, hash, utf8Text_);
    tokenKind_ = TagTable().Classify(line_ + run_, length, hash, htmlTkUndefKey, htmlTkIdentifier);
    run_ += length;
    state_ = htmlRsTag;
}

void TOstHTMLHighlighter::quotedValue()
{
    unsigned char closing = 0;
    switch (state_) {
    case htmlRsQuoteValue:
        closing = '\'';
        break;
    case htmlRsDoubleQuoteValue:
        closing = '"';
        break;
    case htmlRsValue:
        closing = line_[run_++];
        state_ = closing == '"' ? htmlRsDoubleQuoteValue : htmlRsQuoteValue;
        break;
    default:
        word();
        return;
    }
    tokenKind_ = htmlTkValue;
    for (;;) {
        const unsigned char c = line_[run_];
        if (Has(c, cfLineEnd))
            return;  // the value goes on in the next line
        ++run_;
        if (c == closing) {
            state_ = htmlRsTag;
            return;
        }
    }
}

// Skips "&#" and the digits of a numeric reference starting at s[at] == '&'.
int TOstHTMLHighlighter::skipNumericReference(int at) const
{
    int p = at + 1;
    if (line_[p] == '#')
        ++p;
    if (line_[p] == 'x' || line_[p] == 'X') {
        ++p;
        while (Has(line_[p], cfHexDigit))
            ++p;
    } else {
        while (Has(line_[p], cfDigit))
            ++p;
    }
    return p;
}

// A text run ends before a recognised entity or numeric reference, which then
// comes as a token of its own (after an empty text token when the run starts
// with it).
void TOstHTMLHighlighter::text()
{
    const unsigned char first = line_[run_];
    if (first < 32 || first == '<') {
        dispatch();
        return;
    }
    tokenKind_ = htmlTkText;
    for (;; ++run_) {
        while (!Has(line_[run_], cfTextStop))
            ++run_;
        if (line_[run_] != '&')
            return;
        if (line_[run_ + 1] == '#') {
            const int end = skipNumericReference(run_);
            if (line_[end] == ';') {
                state_ = htmlRsEntity;
                entityIndex_ = -1;
            } else {
                run_ = end;  // not a reference: its characters stay text
            }
            return;
        }
        const int found = FindEntity(line_ + run_);
        if (found >= 0) {
            state_ = htmlRsEntity;
            entityIndex_ = found;
            return;
        }
    }
}

void TOstHTMLHighlighter::entity()
{
    switch (state_) {
    case htmlRsEntity:
        if (entityIndex_ >= 0) {
            run_ += static_cast<int>(kEntities[static_cast<size_t>(entityIndex_)].size());
            tokenKind_ = htmlTkEntity;
        } else {
            run_ = skipNumericReference(run_);
            tokenKind_ = htmlTkText;
            if (line_[run_] == ';') {
                ++run_;
                tokenKind_ = htmlTkEntity;
            }
        }
        entityIndex_ = -1;
        state_ = htmlRsText;
        break;
    case htmlRsTagName:
        ++run_;
        tokenKind_ = htmlTkText;
        state_ = htmlRsText;
        break;
    default:
        word();
    }
}

}  // namespace ostrel
