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
inline constexpr const char* kAttrAssembler = "Assembler";
inline constexpr const char* kAttrCharacter = "Character";
inline constexpr const char* kAttrDataType = "Data Type";
inline constexpr const char* kAttrDefaultPackages = "Default Packages";
inline constexpr const char* kAttrDocumentation = "Documentation";
inline constexpr const char* kAttrException = "Exception";
inline constexpr const char* kAttrFloat = "Float";
inline constexpr const char* kAttrFunction = "Function";
inline constexpr const char* kAttrHexadecimal = "Hexadecimal";
inline constexpr const char* kAttrIllegalChar = "Illegal Char";
inline constexpr const char* kAttrInvalidSymbol = "Invalid Symbol";
inline constexpr const char* kAttrOctal = "Octal";
inline constexpr const char* kAttrOperator = "Operator";
inline constexpr const char* kAttrPLSQLReservedWord = "PL/SQL Reserved Word";
inline constexpr const char* kAttrPragma = "Pragma";
inline constexpr const char* kAttrPreprocessor = "Preprocessor";
inline constexpr const char* kAttrSQLPlusCommand = "SQL*Plus Command";
inline constexpr const char* kAttrTableName = "Table Name";

// Language titles.
inline constexpr const char* kLangHtml = "HTML";
inline constexpr const char* kLangCss = "Cascading Style Sheet";
inline constexpr const char* kLangJScript = "JavaScript";
inline constexpr const char* kLangPhp = "PHP";
inline constexpr const char* kLangXml = "XML";
inline constexpr const char* kLangVBScript = "MS VBScript";
inline constexpr const char* kLangCpp = "C++";
inline constexpr const char* kLangPas = "Object Pascal";
inline constexpr const char* kLangJava = "Java";
inline constexpr const char* kLangSql = "SQL";
inline constexpr const char* kLangPerl = "Perl";

// File-dialog filters.
inline constexpr const char* kFilterHtml = "HTML Documents (*.htm,*.html)|*.htm;*.html";
inline constexpr const char* kFilterCss = "Cascading Stylesheets (*.css)|*.css";
inline constexpr const char* kFilterJScript = "Javascript Files (*.js)|*.js";
inline constexpr const char* kFilterPhp = "PHP Files (*.php,*.php3,*.phtml,*.inc)|*.php;*.php3;*.phtml;*.inc";
inline constexpr const char* kFilterXml =
    "XML Files (*.xml,*.xsd,*.xsl,*.xslt,*.dtd)|*.xml;*.xsd;*.xsl;*.xslt;*.dtd";
inline constexpr const char* kFilterVBScript = "VBScript Files (*.vbs)|*.vbs";
inline constexpr const char* kFilterCpp = "C++ Files (*.c,*.cpp,*.h,*.hpp)|*.c;*.cpp;*.h;*.hpp";
inline constexpr const char* kFilterPas = "Pascal Files (*.pas,*.dpr,*.dpk,*.inc)|*.pas;*.dpr;*.dpk;*.inc";
inline constexpr const char* kFilterJava = "Java Files (*.java)|*.java";
inline constexpr const char* kFilterSql = "SQL Files (*.sql)|*.sql";
inline constexpr const char* kFilterPerl = "Perl Files (*.pl,*.pm,*.cgi)|*.pl;*.pm;*.cgi";

}  // namespace ostrel::hlstr
