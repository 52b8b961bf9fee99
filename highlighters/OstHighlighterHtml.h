#pragma once
// The HTML lexer: tags with their names, attribute names and values,
// comments, character entities and the text between tags. Script and style
// blocks are plain text to it.

#include <array>

#include "highlighters/OstEditHighlighter.h"

namespace ostrel {

enum TOstHtmlTokenKind : int {
    htmlTkEntity = 0,      // a known entity or numeric character reference
    htmlTkComment = 1,
    htmlTkIdentifier = 2,  // attribute name, or a tag name hashing above the table
    htmlTkKey = 3,         // known tag name
    htmlTkNull = 4,        // end of line
    htmlTkSpace = 5,
    htmlTkSymbol = 6,      // "<", ">" and "="
    htmlTkText = 7,
    htmlTkUndefKey = 8,    // tag name not in the table
    htmlTkValue = 9,       // attribute value
};

enum TOstHtmlLineState : int {
    htmlRsEntity = 0,            // the next token is an entity at the scan position
    htmlRsComment = 1,
    htmlRsTagName = 2,           // right after "<"
    htmlRsTag = 3,               // inside a tag, after its name
    htmlRsText = 4,              // outside tags; the initial state
    htmlRsUnused = 5,
    htmlRsValue = 6,             // right after "="
    htmlRsQuoteValue = 7,        // inside a value in single quotes
    htmlRsDoubleQuoteValue = 8,  // inside a value in double quotes
};

class TOstHTMLHighlighter : public TOstCustomHighlighter {
public:
    bool PairsAngleBrackets() const override { return true; }
    TOstHTMLHighlighter();

    static const char* LanguageTitle();
    std::string GetLanguageTitle() const override { return LanguageTitle(); }

    TOstHighlighterAttributes* DefaultAttribute(int role) const override;
    TOstCharSet IdentifierChars() const override;
    std::string SampleText() const override;

    bool AtLineEnd() const override { return tokenKind_ == htmlTkNull; }
    void NextToken() override;
    TOstHighlighterAttributes* TokenAttribute() const override
    {
        return kindAttributes_[static_cast<size_t>(tokenKind_)];
    }
    void StartLine(std::string_view line, int lineIndex) override;
    intptr_t LineState() const override { return state_; }
    void RestoreLineState(intptr_t state) override;
    void ClearLineState() override;

    // The attributes, owned by the base's list.
    TOstHighlighterAttributes* const AndAttri;
    TOstHighlighterAttributes* const CommentAttri;
    TOstHighlighterAttributes* const IdentifierAttri;
    TOstHighlighterAttributes* const KeyAttri;
    TOstHighlighterAttributes* const SpaceAttri;
    TOstHighlighterAttributes* const SymbolAttri;
    TOstHighlighterAttributes* const TextAttri;
    TOstHighlighterAttributes* const UndefKeyAttri;
    TOstHighlighterAttributes* const ValueAttri;

private:
    void dispatch();
    void whitespaceRun();
    void lineBreak(bool cr);
    void tagOpener();
    void tagCloser();
    void equals();
    void comment();
    void word();
    void tagName();
    void quotedValue();
    void text();
    void entity();
    int skipNumericReference(int at) const;

    // The attribute of each token kind, in kind order.
    const std::array<TOstHighlighterAttributes*, 10> kindAttributes_;
    int state_ = htmlRsText;
    int entityIndex_ = -1;  // entity found by the text scanner; -1 for a numeric reference
};

}  // namespace ostrel
