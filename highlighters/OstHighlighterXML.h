#pragma once
// The XML lexer (also for DTD, XSD and XSL files): a state machine over the
// markup with no keywords. It tells apart element names, attribute names and
// values, namespace declarations (attributes whose name contains "xmlns"),
// entity references, comments, processing instructions, CDATA and DOCTYPE
// sections, each of which may span lines.

#include <array>

#include "highlighters/OstEditHighlighter.h"

namespace ostrel {

enum TOstXmlTokenKind : int {
    xmlTkAposAttrValue = 0,     // attribute value in apostrophes
    xmlTkAposEntityRef = 1,     // entity reference inside such a value
    xmlTkAttribute = 2,         // attribute name
    xmlTkCDATA = 3,
    xmlTkComment = 4,
    xmlTkElement = 5,           // element name
    xmlTkEntityRef = 6,         // entity reference in text
    xmlTkEqual = 7,             // from an attribute name up to the value's opening quote
    xmlTkNull = 8,              // end of line
    xmlTkProcessingInstruction = 9,
    xmlTkQuoteAttrValue = 10,   // attribute value in double quotes
    xmlTkQuoteEntityRef = 11,   // entity reference inside such a value
    xmlTkSpace = 12,
    xmlTkSymbol = 13,
    xmlTkText = 14,
    xmlTknsAposAttrValue = 15,  // namespace value in apostrophes
    xmlTknsAposEntityRef = 16,
    xmlTknsAttribute = 17,      // namespace attribute name
    xmlTknsEqual = 18,
    xmlTknsQuoteAttrValue = 19, // namespace value in double quotes
    xmlTknsQuoteEntityRef = 20,
    xmlTkDocType = 21,
};

enum TOstXmlLineState : int {
    xmlRsAposAttrValue = 0,
    xmlRsAposEntityRef = 1,
    xmlRsAttribute = 2,         // inside a tag: an attribute name comes
    xmlRsCDATA = 3,
    xmlRsComment = 4,
    xmlRsElement = 5,           // an element name comes (after "<" or "</")
    xmlRsEntityRef = 6,         // an entity reference in text comes
    xmlRsEqual = 7,             // after an attribute name
    xmlRsProcessingInstruction = 8,
    xmlRsQuoteAttrValue = 9,
    xmlRsQuoteEntityRef = 10,
    xmlRsText = 11,             // the initial state
    xmlRsnsAposAttrValue = 12,
    xmlRsnsAposEntityRef = 13,
    xmlRsnsEqual = 14,          // after a namespace attribute name
    xmlRsnsQuoteAttrValue = 15,
    xmlRsnsQuoteEntityRef = 16,
    xmlRsDocType = 17,
    xmlRsDocTypeSubset = 18,    // inside the bracketed internal subset of a DOCTYPE
};

class TOstXMLHighlighter : public TOstCustomHighlighter {
public:
    bool PairsAngleBrackets() const override { return true; }
    TOstXMLHighlighter();

    static const char* LanguageTitle();
    std::string GetLanguageTitle() const override { return LanguageTitle(); }

    TOstHighlighterAttributes* DefaultAttribute(int role) const override;
    TOstCharSet IdentifierChars() const override;
    std::string SampleText() const override;

    bool AtLineEnd() const override { return tokenKind_ == xmlTkNull; }
    void NextToken() override;
    TOstHighlighterAttributes* TokenAttribute() const override
    {
        return kindAttributes_[static_cast<size_t>(tokenKind_)];
    }
    intptr_t LineState() const override { return state_; }
    void RestoreLineState(intptr_t state) override;
    void ClearLineState() override { state_ = xmlRsText; }

    // Kept for the settings; scanning does not consult it.
    bool WantBracesParsed() const { return wantBracesParsed_; }
    void SetWantBracesParsed(bool on) { wantBracesParsed_ = on; }

    // The attributes, owned by the base's list.
    TOstHighlighterAttributes* const ElementAttri;
    TOstHighlighterAttributes* const SpaceAttri;
    TOstHighlighterAttributes* const TextAttri;
    TOstHighlighterAttributes* const EntityRefAttri;
    TOstHighlighterAttributes* const ProcessingInstructionAttri;
    TOstHighlighterAttributes* const CDATAAttri;
    TOstHighlighterAttributes* const CommentAttri;
    TOstHighlighterAttributes* const DocTypeAttri;
    TOstHighlighterAttributes* const AttributeAttri;
    TOstHighlighterAttributes* const NamespaceAttributeAttri;
    TOstHighlighterAttributes* const AttributeValueAttri;
    TOstHighlighterAttributes* const NamespaceAttributeValueAttri;
    TOstHighlighterAttributes* const SymbolAttri;

private:
    void dispatch();
    void whitespaceRun();
    void tagOpener();
    void text();
    void comment();
    void closedAfter(unsigned char before, int kind);
    void docType();
    void byState();
    void elementName();
    void attributeName();
    void afterAttributeName(bool ns);
    void value(unsigned char closing, int kind, int entityState);
    void entityRef(int kind, int nextState);

    // The attribute of each token kind, in kind order.
    const std::array<TOstHighlighterAttributes*, 22> kindAttributes_;
    int state_ = xmlRsText;
    bool wantBracesParsed_ = true;
};

}  // namespace ostrel
