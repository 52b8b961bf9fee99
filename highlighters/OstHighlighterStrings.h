#pragma once
// The English texts of the highlighters: attribute names (which are also the
// registry subkey names), language titles and file-dialog filters. Each lexer
// adds its own here; shared names are listed once.

namespace ostrel::hlstr {

// Attribute names.
inline constexpr const char* kAttrComment = "Comment";
inline constexpr const char* kAttrEscapeAmpersand = "Escape Ampersand";
inline constexpr const char* kAttrIdentifier = "Identifier";
inline constexpr const char* kAttrReservedWord = "Reserved Word";
inline constexpr const char* kAttrSpace = "Space";
inline constexpr const char* kAttrSymbol = "Symbol";
inline constexpr const char* kAttrText = "Text";
inline constexpr const char* kAttrUnknownWord = "Unknown Word";
inline constexpr const char* kAttrValue = "Value";
inline constexpr const char* kAttrAttributeName = "Attribute Name";
inline constexpr const char* kAttrAttributeValue = "Attribute Value";
inline constexpr const char* kAttrCDATASection = "CDATA Section";
inline constexpr const char* kAttrColorValue = "Color Value";
inline constexpr const char* kAttrDocTypeSection = "DOCTYPE Section";
inline constexpr const char* kAttrElementName = "Element Name";
inline constexpr const char* kAttrEntityReference = "Entity Reference";
inline constexpr const char* kAttrEvent = "Event";
inline constexpr const char* kAttrNamespaceAttributeName = "Namespace Attribute Name";
inline constexpr const char* kAttrNamespaceAttributeValue = "Namespace Attribute Value";
inline constexpr const char* kAttrNonReservedKeyword = "Non-reserved Keyword";
inline constexpr const char* kAttrNumber = "Number";
inline constexpr const char* kAttrProcessingInstruction = "Processing Instruction";
inline constexpr const char* kAttrString = "String";
inline constexpr const char* kAttrVariable = "Variable";
inline constexpr const char* kAttrWhitespace = "Whitespace";

// Language titles.
inline constexpr const char* kLangHtml = "HTML";
inline constexpr const char* kLangCss = "Cascading Style Sheet";
inline constexpr const char* kLangJScript = "JavaScript";
inline constexpr const char* kLangPhp = "PHP";
inline constexpr const char* kLangXml = "XML";

// File-dialog filters.
inline constexpr const char* kFilterHtml = "HTML Documents (*.htm,*.html)|*.htm;*.html";
inline constexpr const char* kFilterCss = "Cascading Stylesheets (*.css)|*.css";
inline constexpr const char* kFilterJScript = "Javascript Files (*.js)|*.js";
inline constexpr const char* kFilterPhp = "PHP Files (*.php,*.php3,*.phtml,*.inc)|*.php;*.php3;*.phtml;*.inc";
inline constexpr const char* kFilterXml =
    "XML Files (*.xml,*.xsd,*.xsl,*.xslt,*.dtd)|*.xml;*.xsd;*.xsl;*.xslt;*.dtd";

}  // namespace ostrel::hlstr
