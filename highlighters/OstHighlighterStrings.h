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

// Language titles.
inline constexpr const char* kLangHtml = "HTML";

// File-dialog filters.
inline constexpr const char* kFilterHtml = "HTML Documents (*.htm,*.html)|*.htm;*.html";

}  // namespace ostrel::hlstr
