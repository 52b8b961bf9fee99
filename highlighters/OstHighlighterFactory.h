#pragma once
// The eleven languages in one table: for each its stored number, short name,
// lexer class (title and factory), the names the main window gives its
// instance and menu item, the file extensions that choose it and the colours
// and styles the program gives its attributes. Everything that lists the
// languages reads them from here.

#include <memory>
#include <span>
#include <string_view>

#include "highlighters/OstEditHighlighter.h"

namespace ostrel {

// The stored number of a language ("Syntax" in the settings) and its place in
// the menus: none, then HTML, PHP, CSS, XML, JScript, VBScript, C++, Pascal,
// Java, SQL, Perl. Settings hold these numbers, so they never change.
enum THighlighterId : int {
    hlNone = 0, hlHtml, hlPhp, hlCss, hlXml, hlJs, hlVbs, hlCpp, hlPas, hlJava, hlSql, hlPerl,
};
inline constexpr int kHighlighterCount = 11;

struct TOstLanguage {
    THighlighterId id;
    TOstHighlighterClass cls;  // short name ("html", "css", ...), title and factory
    const char* instanceName;  // the main window's instance: shHtml1, shPhp1, ...
    const char* menuCaption;   // in the menus that list the languages
    std::span<const char* const> extensions;  // lower case, without the dot
    // The program's own colours, styles and filter for an instance of the
    // language; a highlighter of another class is left alone.
    void (*ApplyDefaults)(TOstCustomHighlighter& highlighter);

    const char* Name() const { return cls.language; }
};

// The languages in the order of their numbers (row i has the number i + 1).
std::span<const TOstLanguage> Languages();
// The language of a number, or none for hlNone and numbers out of range.
const TOstLanguage* LanguageOf(THighlighterId id);
// The language of a short name, or none.
const TOstLanguage* FindLanguage(std::string_view name);

// The language a file's extension chooses (the text after the last dot of
// the name, compared in any ASCII letter case), or hlNone when none does.
THighlighterId LanguageForFile(std::string_view path);

// The short names of the languages, in the order of their numbers.
std::span<const char* const> HighlighterLanguages();

// A new lexer for the short name, or none when there is no lexer for it.
std::unique_ptr<TOstCustomHighlighter> CreateHighlighter(std::string_view language);

}  // namespace ostrel
