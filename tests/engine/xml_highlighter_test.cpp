#include <gtest/gtest.h>

#include "highlighters/OstHighlighterXML.h"
#include "support/LexerChecks.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

const FreshLexer<TOstXMLHighlighter> lex{xmlRsText};

const FreshStateAfter<TOstXMLHighlighter> stateAfter{xmlRsText};

constexpr int AV = xmlTkAposAttrValue, AE = xmlTkAposEntityRef, A = xmlTkAttribute, CD = xmlTkCDATA,
              C = xmlTkComment, EL = xmlTkElement, ER = xmlTkEntityRef, EQ = xmlTkEqual,
              PI = xmlTkProcessingInstruction, QV = xmlTkQuoteAttrValue, QE = xmlTkQuoteEntityRef, W = xmlTkSpace,
              Y = xmlTkSymbol, T = xmlTkText, NAV = xmlTknsAposAttrValue, NA = xmlTknsAttribute,
              NEQ = xmlTknsEqual, NQV = xmlTknsQuoteAttrValue, NQE = xmlTknsQuoteEntityRef, DT = xmlTkDocType;

}  // namespace

// ---- Elements and attributes ---------------------------------------------------------------

TEST(XmlTags, ElementsAttributesAndValuesWithEntities)
{
    EXPECT_EQ(lex("<root version=\"&test;\">"),
              (LexTokens{{"<", Y}, {"root", EL}, {" ", W}, {"version", A}, {"=\"", EQ}, {"", QV}, {"&test;", QE},
                         {"", QV}, {"\"", Y}, {">", Y}}));
    EXPECT_EQ(lex("</ns:root-1.x>"), (LexTokens{{"</", Y}, {"ns:root-1.x", EL}, {">", Y}}));
    EXPECT_EQ(lex("<a b = 'x&y;z'>"),
              (LexTokens{{"<", Y}, {"a", EL}, {" ", W}, {"b", A}, {" ", W}, {"= '", EQ}, {"x", AV}, {"&y;", AE},
                         {"z", AV}, {"'", Y}, {">", Y}}));
    EXPECT_EQ(lex("<a b='say \"hi\"' c=\"it's\">"),
              (LexTokens{{"<", Y}, {"a", EL}, {" ", W}, {"b", A}, {"='", EQ}, {"say \"hi\"", AV}, {"'", Y}, {" ", W},
                         {"c", A}, {"=\"", EQ}, {"it's", QV}, {"\"", Y}, {">", Y}}));
    EXPECT_EQ(stateAfter("<a"), xmlRsAttribute) << "a tag left open goes on in the next line";
}

TEST(XmlTags, NamespaceDeclarationsAreTheirOwnKinds)
{
    EXPECT_EQ(lex("<a xmlns:b='u'>"),
              (LexTokens{{"<", Y}, {"a", EL}, {" ", W}, {"xmlns:b", NA}, {"='", NEQ}, {"u", NAV}, {"'", Y}, {">", Y}}));
    EXPECT_EQ(lex("<a xmlns=\"u&v;w\">"),
              (LexTokens{{"<", Y}, {"a", EL}, {" ", W}, {"xmlns", NA}, {"=\"", NEQ}, {"u", NQV}, {"&v;", NQE},
                         {"w", NQV}, {"\"", Y}, {">", Y}}));
    EXPECT_EQ(lex("<a my-xmlns-x='1'>").at(3), (LexToken{"my-xmlns-x", NA})) << "anywhere in the name";
    EXPECT_EQ(lex("<a XMLNS='1'>").at(3), (LexToken{"XMLNS", A})) << "compared with case";
}

TEST(XmlTags, UnquotedValuesAndSlashes)
{
    EXPECT_EQ(lex("<a b=c>"), (LexTokens{{"<", Y}, {"a", EL}, {" ", W}, {"b", A}, {"=c>", EQ}}));
    EXPECT_EQ(stateAfter("<a b=c>"), xmlRsEqual);
    EXPECT_EQ(lex("<br/>"), (LexTokens{{"<", Y}, {"br", EL}, {"", A}, {"/", Y}, {">", Y}}))
        << "the attribute-name scanner meets the slash with an empty token";
    EXPECT_EQ(lex("<a b=c/>"), (LexTokens{{"<", Y}, {"a", EL}, {" ", W}, {"b", A}, {"=c/", Y}, {">", Y}}));
    EXPECT_EQ(lex("<!x>"), (LexTokens{{"<!", Y}, {"x", EL}, {">", Y}}));
    EXPECT_EQ(lex("< =>"), (LexTokens{{"<", Y}, {" ", W}, {"", EL}, {"", A}, {"=>", EQ}}));
}

TEST(XmlTags, ValuesAndTagsSpanLines)
{
    TOstXMLHighlighter hl;
    const auto lexed = LexLines(hl, {"<a b=\"x", "  y\" c='d", "", "e'", "  f=\"1\">text"});
    EXPECT_EQ(lexed[0].state, xmlRsQuoteAttrValue);
    EXPECT_EQ(lexed[1].tokens, (LexTokens{{"  ", W}, {"y", QV}, {"\"", Y}, {" ", W}, {"c", A}, {"='", EQ}, {"d", AV}}));
    EXPECT_EQ(lexed[1].state, xmlRsAposAttrValue);
    EXPECT_EQ(lexed[2].state, xmlRsAposAttrValue);
    EXPECT_EQ(lexed[3].tokens, (LexTokens{{"e", AV}, {"'", Y}}));
    EXPECT_EQ(lexed[4].tokens,
              (LexTokens{{"  ", W}, {"f", A}, {"=\"", EQ}, {"1", QV}, {"\"", Y}, {">", Y}, {"text", T}}));
    EXPECT_EQ(lexed[4].state, xmlRsText);
}

// ---- Text and entity references --------------------------------------------------------------

TEST(XmlText, EntityReferencesSplitTheText)
{
    EXPECT_EQ(lex("a &amp; b"), (LexTokens{{"a ", T}, {"&amp;", ER}, {" b", T}}));
    EXPECT_EQ(lex("&#x26;x"), (LexTokens{{"", T}, {"&#x26;", ER}, {"x", T}}));
    EXPECT_EQ(lex("& b"), (LexTokens{{"", T}, {"&", ER}, {" b", T}}));
    EXPECT_EQ(lex("&a<b;c"), (LexTokens{{"", T}, {"&a<b;", ER}, {"c", T}})) << "a reference runs to \";\" or a blank";
    EXPECT_EQ(lex("a > b\tc"), (LexTokens{{"a > b", T}, {"\t", W}, {"c", T}}));
    EXPECT_EQ(lex("x\x01\x02 y"), (LexTokens{{"x", T}, {"\x01\x02 ", W}, {"y", T}}));
}

// ---- Comments, processing instructions, CDATA and DOCTYPE -------------------------------------

TEST(XmlSections, CommentsEndWithASymbol)
{
    EXPECT_EQ(lex("<!-- a -- b -->x"), (LexTokens{{"<!--", Y}, {" a -- b ", C}, {"-->", Y}, {"x", T}}));
    EXPECT_EQ(lex("<!---->"), (LexTokens{{"<!--", Y}, {"-->", Y}}));
    TOstXMLHighlighter hl;
    const auto lexed = LexLines(hl, {"<!-- a", "", "b -->"});
    EXPECT_EQ(lexed[0].tokens, (LexTokens{{"<!--", Y}, {" a", C}}));
    EXPECT_EQ(lexed[0].state, xmlRsComment);
    EXPECT_EQ(lexed[1].state, xmlRsComment);
    EXPECT_EQ(lexed[2].tokens, (LexTokens{{"b ", C}, {"-->", Y}}));
    EXPECT_EQ(lexed[2].state, xmlRsText);
}

TEST(XmlSections, ProcessingInstructionsAndCDATA)
{
    EXPECT_EQ(lex("<?xml version=\"1.0\"?>"), (LexTokens{{"<?", PI}, {"xml version=\"1.0\"?>", PI}}));
    EXPECT_EQ(stateAfter("<?xml version=\"1.0\"?>"), xmlRsText);
    EXPECT_EQ(lex("<![CDATA[ <a> & ]]>x"), (LexTokens{{"<![CDATA[", CD}, {" <a> & ]]>", CD}, {"x", T}}));
    TOstXMLHighlighter hl;
    const auto pi = LexLines(hl, {"<?php echo 1;", "> still ?>"});
    EXPECT_EQ(pi[0].state, xmlRsProcessingInstruction);
    EXPECT_EQ(pi[1].tokens, (LexTokens{{"> still ?>", PI}})) << "a \">\" first in the line does not close";
    const auto cdata = LexLines(hl, {"<![CDATA[ x ]]", "> y ]]>z"});
    EXPECT_EQ(cdata[0].state, xmlRsCDATA);
    EXPECT_EQ(cdata[1].tokens, (LexTokens{{"> y ]]>", CD}, {"z", T}}));
    EXPECT_EQ(lex("<![cdata[x"), (LexTokens{{"<!", Y}, {"", EL}, {"", A}, {"[cdata[x", EQ}}))
        << "section openers are compared with case";
}

TEST(XmlSections, DocTypeWithAnInternalSubsetOverLines)
{
    TOstXMLHighlighter hl;
    const auto lexed = LexLines(hl, {"<!DOCTYPE root [", "  <!ENTITY a 'x'>", "", "  ]>", "<r/>"});
    EXPECT_EQ(lexed[0].tokens, (LexTokens{{"<!DOCTYPE", DT}, {" root [", DT}}));
    EXPECT_EQ(lexed[0].state, xmlRsDocTypeSubset);
    EXPECT_EQ(lexed[1].tokens, (LexTokens{{"  <!ENTITY a 'x'>", DT}}));
    EXPECT_EQ(lexed[2].state, xmlRsDocTypeSubset);
    EXPECT_EQ(lexed[3].tokens, (LexTokens{{"  ]", DT}, {">", DT}}));
    EXPECT_EQ(lexed[3].state, xmlRsAttribute) << "after the declaration the lexer stands inside a tag";
    EXPECT_EQ(lexed[4].tokens.front(), (LexToken{"<", Y}));
    EXPECT_EQ(lex("<!DOCTYPE a [<!ENTITY x 'y'>]> z"),
              (LexTokens{{"<!DOCTYPE", DT}, {" a [<!ENTITY x 'y'>]", DT}, {">", DT}, {" ", W}, {"z", A}}));
    EXPECT_EQ(lex("<!DOCTYPE html>"), (LexTokens{{"<!DOCTYPE", DT}, {" html>", DT}}));
}

TEST(XmlSections, EmptyLinesKeepEveryStateAndBadStatesRestartAsText)
{
    for (intptr_t state = xmlRsAposAttrValue; state <= xmlRsDocTypeSubset; ++state) {
        EXPECT_TRUE(lex("", state).empty()) << state;
        EXPECT_EQ(stateAfter("", state), state);
    }
    for (const intptr_t bad : {intptr_t{-1}, intptr_t{19}, intptr_t{1} << 40})
        EXPECT_EQ(stateAfter("", bad), xmlRsText);
}

// ---- Class facts -------------------------------------------------------------------------------

TEST(XmlClass, AttributesDefaultsAndRoles)
{
    TOstXMLHighlighter hl;
    struct Expected {
        const char* name;
        TColor foreground;
        TColor background;
        TFontStyles style;
    };
    const Expected expected[] = {
        {"Attribute Name", 0x00000080, clNone, 0},
        {"Attribute Value", 0x00800000, clNone, fsBold},
        {"CDATA Section", 0x00008080, clNone, fsItalic},
        {"Comment", 0x00808080, 0x00C0C0C0, fsBold | fsItalic},
        {"DOCTYPE Section", 0x00FF0000, clNone, fsItalic},
        {"Element Name", 0x00000080, clNone, fsBold},
        {"Entity Reference", 0x00FF0000, clNone, fsBold},
        {"Namespace Attribute Name", 0x000000FF, clNone, 0},
        {"Namespace Attribute Value", 0x000000FF, clNone, fsBold},
        {"Processing Instruction", 0x00FF0000, clNone, 0},
        {"Symbol", 0x00FF0000, clNone, 0},
        {"Text", 0x00000000, clNone, fsBold},
        {"Whitespace", clNone, clNone, 0},
    };
    ASSERT_EQ(hl.AttributeCount(), 13);
    for (int i = 0; i < 13; ++i) {
        const TOstHighlighterAttributes* a = hl.AttributeAt(i);
        EXPECT_EQ(a->Name(), expected[i].name);
        EXPECT_EQ(a->Foreground(), expected[i].foreground) << a->Name();
        EXPECT_EQ(a->Background(), expected[i].background) << a->Name();
        EXPECT_EQ(a->Style(), expected[i].style) << a->Name();
        EXPECT_FALSE(a->IsBackgroundStored() || a->IsForegroundStored() || a->IsStyleStored()) << a->Name();
    }
    EXPECT_EQ(hl.DefaultAttribute(daComment), hl.CommentAttri);
    EXPECT_EQ(hl.DefaultAttribute(daIdentifier), hl.AttributeAttri);
    EXPECT_EQ(hl.DefaultAttribute(daKeyword), hl.ElementAttri);
    EXPECT_EQ(hl.DefaultAttribute(daWhitespace), hl.SpaceAttri);
    EXPECT_EQ(hl.DefaultAttribute(daSymbol), hl.SymbolAttri);
    EXPECT_EQ(hl.DefaultAttribute(daString), nullptr);
}

TEST(XmlClass, TitleFilterAndSample)
{
    TOstXMLHighlighter hl;
    EXPECT_STREQ(TOstXMLHighlighter::LanguageTitle(), "XML");
    EXPECT_EQ(hl.DefaultFilter(), "XML Files (*.xml,*.xsd,*.xsl,*.xslt,*.dtd)|*.xml;*.xsd;*.xsl;*.xslt;*.dtd");
    const auto sample = LexLines(hl, BufferLines(hl.SampleText()));
    ASSERT_EQ(sample.size(), 7u);
    EXPECT_EQ(sample[4].tokens, lex("<root version=\"&test;\">"));
    EXPECT_EQ(sample[5].tokens.back(), (LexToken{" **CDATA section** ]]>", CD}));
    const TOstCharSet ident = hl.IdentifierChars();
    EXPECT_TRUE(ident['-'] && ident['.'] && ident['_'] && ident[0xC6]);
    EXPECT_FALSE(ident[':'] || ident['<'] || ident[0xD7]);
}

// ---- Properties over many inputs ------------------------------------------------------------------

namespace {

using Lexer = TOstXMLHighlighter;
const LexerFacts kFacts = FactsOf<Lexer>(xmlTkNull, {&Lexer::AttributeValueAttri,
                                                     &Lexer::EntityRefAttri,
                                                     &Lexer::AttributeAttri,
                                                     &Lexer::CDATAAttri,
                                                     &Lexer::CommentAttri,
                                                     &Lexer::ElementAttri,
                                                     &Lexer::EntityRefAttri,
                                                     &Lexer::SymbolAttri,
                                                     nullptr,
                                                     &Lexer::ProcessingInstructionAttri,
                                                     &Lexer::AttributeValueAttri,
                                                     &Lexer::EntityRefAttri,
                                                     &Lexer::SpaceAttri,
                                                     &Lexer::SymbolAttri,
                                                     &Lexer::TextAttri,
                                                     &Lexer::NamespaceAttributeValueAttri,
                                                     &Lexer::EntityRefAttri,
                                                     &Lexer::NamespaceAttributeAttri,
                                                     &Lexer::SymbolAttri,
                                                     &Lexer::NamespaceAttributeValueAttri,
                                                     &Lexer::EntityRefAttri,
                                                     &Lexer::DocTypeAttri});

}  // namespace

TEST(XmlProperties, GeneratedLinesAreCoveredAndRestartExactly)
{
    const std::vector<std::string> pieces = {
        "<", ">", "</", "/>", "/", "=", "\"", "'", "&", ";", "&amp;", "<!--", "-->", "--", "<!DOCTYPE", "[", "]",
        "]]>", "<![CDATA[", "<?", "?>", "?", "!", " ", "\t", "\r", "a", "xmlns", "ns:x", "\xBF"};
    ExpectGeneratedDocumentsConsistent(kFacts, pieces, 1996, 300, xmlRsText);
    std::vector<intptr_t> states;
    for (intptr_t s = xmlRsAposAttrValue; s <= xmlRsDocTypeSubset; ++s)
        states.push_back(s);
    ExpectAllBytesCovered(kFacts, states);
}

TEST(XmlProperties, RealFilesAreCoveredWithEitherLineBreak)
{
    ExpectDataFilesConsistent(kFacts, "xml", {".xml", ".xsl"}, 4, xmlRsText);
}

TEST(XmlProperties, EditorStatesAfterRandomEditsEqualAFullRescan)
{
    ExpectIncrementalStatesExact(kFacts, "xml/catalogue.xml");
}
