#include "highlighters/OstHighlighterXML.h"

#include <cstring>
#include <string_view>

#include "highlighters/OstHighlighterScan.h"
#include "highlighters/OstHighlighterStrings.h"
#include "highlighters/OstHighlighterSymbols.h"

namespace ostrel {

namespace {

// What the dispatch does with each character; everything else goes to the
// scanner of the current state.
enum CharClass : uint8_t { ccByState, ccNull, ccLineBreak, ccSpace, ccLess, ccGreater };

enum CharFlag : uint8_t {
    cfName = 1,         // "-", ".", 0-9, ":", A-Z, "_", a-z
    cfTextStop = 2,     // below 32, "&", "<"
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
        if (c >= 1 && c <= 32)
            t.cls[i] = ccSpace;
        uint8_t f = 0;
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '.' ||
            c == ':' || c == '_')
            f |= cfName;
        if (c < 32 || c == '&' || c == '<') f |= cfTextStop;
        t.flags[i] = f;
    }
    t.cls[0] = ccNull;
    t.cls[10] = ccLineBreak;
    t.cls[13] = ccLineBreak;
    t.cls['<'] = ccLess;
    t.cls['>'] = ccGreater;
    return t;
}
constexpr CharTables kChars = MakeCharTables();

inline bool Has(unsigned char c, CharFlag f) { return (kChars.flags[c] & f) != 0; }
// In UTF-8 text every byte from 0x80 belongs to a name.
inline bool IsName(unsigned char c, bool utf8) { return Has(c, cfName) || (utf8 && c >= 0x80); }

inline bool StartsWith(const unsigned char* s, std::string_view prefix)
{
    // The line's terminating zero stops the comparison in time.
    return std::strncmp(reinterpret_cast<const char*>(s), prefix.data(), prefix.size()) == 0;
}

}  // namespace

TOstXMLHighlighter::TOstXMLHighlighter()
    : ElementAttri(AddAttribute(hlstr::kAttrElementName, 0x00000080, fsBold)),
      SpaceAttri(AddAttribute(hlstr::kAttrWhitespace, clNone, 0)),
      TextAttri(AddAttribute(hlstr::kAttrText, 0x00000000, fsBold)),
      EntityRefAttri(AddAttribute(hlstr::kAttrEntityReference, 0x00FF0000, fsBold)),
      ProcessingInstructionAttri(AddAttribute(hlstr::kAttrProcessingInstruction, 0x00FF0000, 0)),
      CDATAAttri(AddAttribute(hlstr::kAttrCDATASection, 0x00008080, fsItalic)),
      CommentAttri(AddAttribute(hlstr::kAttrComment, 0x00808080, fsBold | fsItalic, 0x00C0C0C0)),
      DocTypeAttri(AddAttribute(hlstr::kAttrDocTypeSection, 0x00FF0000, fsItalic)),
      AttributeAttri(AddAttribute(hlstr::kAttrAttributeName, 0x00000080, 0)),
      NamespaceAttributeAttri(AddAttribute(hlstr::kAttrNamespaceAttributeName, 0x000000FF, 0)),
      AttributeValueAttri(AddAttribute(hlstr::kAttrAttributeValue, 0x00800000, fsBold)),
      NamespaceAttributeValueAttri(AddAttribute(hlstr::kAttrNamespaceAttributeValue, 0x000000FF, fsBold)),
      SymbolAttri(AddAttribute(hlstr::kAttrSymbol, 0x00FF0000, 0)),
      kindAttributes_{AttributeValueAttri, EntityRefAttri, AttributeAttri, CDATAAttri, CommentAttri,
                      ElementAttri, EntityRefAttri, SymbolAttri, nullptr, ProcessingInstructionAttri,
                      AttributeValueAttri, EntityRefAttri, SpaceAttri, SymbolAttri, TextAttri,
                      NamespaceAttributeValueAttri, EntityRefAttri, NamespaceAttributeAttri, SymbolAttri,
                      NamespaceAttributeValueAttri, EntityRefAttri, DocTypeAttri}
{
    BindAttributeChanges();
    SetDefaultFilter(hlstr::kFilterXml);
}

const char* TOstXMLHighlighter::LanguageTitle() { return hlstr::kLangXml; }

TOstHighlighterAttributes* TOstXMLHighlighter::DefaultAttribute(int role) const
{
    return RoleAttribute(role, {CommentAttri, AttributeAttri, ElementAttri, nullptr, SpaceAttri, SymbolAttri});
}

TOstCharSet TOstXMLHighlighter::IdentifierChars() const { return scan::LatinIdentifierChars() | CharSetOf("-."); }

std::string TOstXMLHighlighter::SampleText() const
{
    return "<?xml version=\"1.0\"?>\r\n"
           "<!DOCTYPE root [\r\n"
           "  ]>\r\n"
           "<!-- Comment -->\r\n"
           "<root version=\"&test;\">\r\n"
           "  <![CDATA[ **CDATA section** ]]>\r\n"
           "</root>";
}

void TOstXMLHighlighter::RestoreLineState(intptr_t state)
{
    state_ = state >= xmlRsAposAttrValue && state <= xmlRsDocTypeSubset ? static_cast<int>(state) : xmlRsText;
}

void TOstXMLHighlighter::NextToken()
{
    tokenPos_ = run_;
    switch (state_) {
    case xmlRsCDATA: closedAfter(']', xmlTkCDATA); break;
    case xmlRsComment: comment(); break;
    case xmlRsProcessingInstruction: closedAfter('?', xmlTkProcessingInstruction); break;
    case xmlRsText: text(); break;
    case xmlRsDocType:
    case xmlRsDocTypeSubset: docType(); break;
    default: dispatch();
    }
}

void TOstXMLHighlighter::dispatch()
{
    switch (kChars.cls[line_[run_]]) {
    case ccNull: tokenKind_ = xmlTkNull; break;
    case ccLineBreak:
        run_ = scan::SkipLineBreak(line_, run_);
        tokenKind_ = xmlTkSpace;
        break;
    case ccSpace: whitespaceRun(); break;
    case ccLess: tagOpener(); break;
    case ccGreater:
        ++run_;
        tokenKind_ = xmlTkSymbol;
        state_ = xmlRsText;
        break;
    default: byState();
    }
}

// A tab always starts a whitespace token of its own.
void TOstXMLHighlighter::whitespaceRun()
{
    run_ = scan::SkipBlanksBeforeTab(line_, run_ + 1);
    tokenKind_ = xmlTkSpace;
}

// "<" or "</", and what the following characters open; compared with case.
void TOstXMLHighlighter::tagOpener()
{
    ++run_;
    if (line_[run_] == '/')
        ++run_;
    const unsigned char* s = line_ + run_;
    tokenKind_ = xmlTkSymbol;
    state_ = xmlRsElement;
    if (StartsWith(s, "!--")) {
        run_ += 3;
        state_ = xmlRsComment;
    } else if (StartsWith(s, "!DOCTYPE")) {
        run_ += 8;
        tokenKind_ = xmlTkDocType;
        state_ = xmlRsDocType;
    } else if (StartsWith(s, "![CDATA[")) {
        run_ += 8;
        tokenKind_ = xmlTkCDATA;
        state_ = xmlRsCDATA;
    } else if (*s == '!') {
        ++run_;
    } else if (*s == '?') {
        ++run_;
        tokenKind_ = xmlTkProcessingInstruction;
        state_ = xmlRsProcessingInstruction;
    }
}

void TOstXMLHighlighter::text()
{
    if (Has(line_[run_], cfTextStop) && line_[run_] != '&') {
        dispatch();
        return;
    }
    tokenKind_ = xmlTkText;
    while (!Has(line_[run_], cfTextStop))
        ++run_;
    if (line_[run_] == '&')
        state_ = xmlRsEntityRef;
}

// "-->" is a symbol token of its own, so the comment token stops before it.
void TOstXMLHighlighter::comment()
{
    if (StartsWith(line_ + run_, "-->")) {
        run_ += 3;
        tokenKind_ = xmlTkSymbol;
        state_ = xmlRsText;
        return;
    }
    if (scan::IsLineEnd(line_[run_])) {
        dispatch();
        return;
    }
    tokenKind_ = xmlTkComment;
    while (!scan::IsLineEnd(line_[run_]) && !StartsWith(line_ + run_, "-->"))
        ++run_;
}

// Processing instructions end at "?>", CDATA sections at "]>"; the two
// characters must stand in the same line.
void TOstXMLHighlighter::closedAfter(unsigned char before, int kind)
{
    if (scan::IsLineEnd(line_[run_])) {
        dispatch();
        return;
    }
    tokenKind_ = kind;
    for (;; ++run_) {
        const unsigned char c = line_[run_];
        if (scan::IsLineEnd(c))
            return;
        if (c == '>' && run_ > 0 && line_[run_ - 1] == before) {
            ++run_;
            state_ = xmlRsText;
            return;
        }
    }
}

// The declaration up to ">", with a bracketed internal subset that may span
// lines; after the ">" the lexer stands inside a tag.
void TOstXMLHighlighter::docType()
{
    if (scan::IsLineEnd(line_[run_])) {
        dispatch();
        return;
    }
    tokenKind_ = xmlTkDocType;
    if (state_ == xmlRsDocType) {
        for (;; ++run_) {
            const unsigned char c = line_[run_];
            if (scan::IsLineEnd(c))
                return;
            if (c == '>') {
                ++run_;
                state_ = xmlRsAttribute;
                return;
            }
            if (c == '[') {
                ++run_;
                break;
            }
        }
    }
    while (line_[run_] != ']' && !scan::IsLineEnd(line_[run_]))
        ++run_;
    if (line_[run_] == ']') {
        ++run_;
        state_ = xmlRsDocType;
    } else {
        state_ = xmlRsDocTypeSubset;
    }
}

void TOstXMLHighlighter::byState()
{
    switch (state_) {
    case xmlRsElement: elementName(); break;
    case xmlRsAttribute: attributeName(); break;
    case xmlRsEqual: afterAttributeName(false); break;
    case xmlRsnsEqual: afterAttributeName(true); break;
    case xmlRsQuoteAttrValue: value('"', xmlTkQuoteAttrValue, xmlRsQuoteEntityRef); break;
    case xmlRsnsQuoteAttrValue: value('"', xmlTknsQuoteAttrValue, xmlRsnsQuoteEntityRef); break;
    case xmlRsAposAttrValue: value('\'', xmlTkAposAttrValue, xmlRsAposEntityRef); break;
    case xmlRsnsAposAttrValue: value('\'', xmlTknsAposAttrValue, xmlRsnsAposEntityRef); break;
    case xmlRsQuoteEntityRef: entityRef(xmlTkQuoteEntityRef, xmlRsQuoteAttrValue); break;
    case xmlRsnsQuoteEntityRef: entityRef(xmlTknsQuoteEntityRef, xmlRsnsQuoteAttrValue); break;
    case xmlRsAposEntityRef: entityRef(xmlTkAposEntityRef, xmlRsAposAttrValue); break;
    case xmlRsnsAposEntityRef: entityRef(xmlTknsAposEntityRef, xmlRsnsAposAttrValue); break;
    case xmlRsEntityRef: entityRef(xmlTkEntityRef, xmlRsText); break;
    default:
        // The states with scanners of their own never get here.
        ++run_;
        tokenKind_ = xmlTkText;
    }
}

void TOstXMLHighlighter::elementName()
{
    if (line_[run_] == '/')
        ++run_;
    while (IsName(line_[run_], utf8Text_))
        ++run_;
    tokenKind_ = xmlTkElement;
    state_ = xmlRsAttribute;
}

// A quote here closes the value before it; a name holding "xmlns" declares
// a namespace.
void TOstXMLHighlighter::attributeName()
{
    const unsigned char c = line_[run_];
    if (c == '"' || c == '\'') {
        ++run_;
        tokenKind_ = xmlTkSymbol;
        return;
    }
    while (IsName(line_[run_], utf8Text_))
        ++run_;
    const std::string_view name(reinterpret_cast<const char*>(line_) + tokenPos_, static_cast<size_t>(run_ - tokenPos_));
    const bool ns = name.find("xmlns") != std::string_view::npos;
    tokenKind_ = ns ? xmlTknsAttribute : xmlTkAttribute;
    state_ = ns ? xmlRsnsEqual : xmlRsEqual;
}

// "=" and blanks up to the value's opening quote, which the token takes; an
// unquoted value runs on to the end of the line, a "/" ends the tag instead.
void TOstXMLHighlighter::afterAttributeName(bool ns)
{
    tokenKind_ = ns ? xmlTknsEqual : xmlTkEqual;
    for (;; ++run_) {
        const unsigned char c = line_[run_];
        if (scan::IsLineEnd(c))
            return;
        if (c == '"' || c == '\'') {
            ++run_;
            if (c == '"')
                state_ = ns ? xmlRsnsQuoteAttrValue : xmlRsQuoteAttrValue;
            else
                state_ = ns ? xmlRsnsAposAttrValue : xmlRsAposAttrValue;
            return;
        }
        if (c == '/') {
            ++run_;
            tokenKind_ = xmlTkSymbol;
            state_ = xmlRsElement;
            return;
        }
    }
}

// Up to the closing quote (left for the attribute-name state to take) or an
// entity reference; a value left open goes on in the next line.
void TOstXMLHighlighter::value(unsigned char closing, int kind, int entityState)
{
    tokenKind_ = kind;
    for (;; ++run_) {
        const unsigned char c = line_[run_];
        if (scan::IsLineEnd(c))
            return;
        if (c == closing) {
            state_ = xmlRsAttribute;
            return;
        }
        if (c == '&') {
            state_ = entityState;
            return;
        }
    }
}

void TOstXMLHighlighter::entityRef(int kind, int nextState)
{
    while (line_[run_] > 32 && line_[run_] != ';')
        ++run_;
    if (line_[run_] == ';')
        ++run_;
    tokenKind_ = kind;
    state_ = nextState;
}

}  // namespace ostrel
