#pragma once
// The main window's eleven highlighter instances, shared by every document,
// and the choice of one by a file's extension.

#include <QString>
#include <array>
#include <memory>

#include "highlighters/OstEditHighlighter.h"

namespace ostrel {

// In the order of the menus and of the stored default ("Syntax"): none, then
// HTML, PHP, CSS, XML, JScript, VBScript, C++, Pascal, Java, SQL, Perl.
enum THighlighterId : int {
    hlNone = 0, hlHtml, hlPhp, hlCss, hlXml, hlJs, hlVbs, hlCpp, hlPas, hlJava, hlSql, hlPerl,
};
inline constexpr int kHighlighterCount = 11;

struct THighlighterInfo {
    THighlighterId id;
    const char* instanceName;  // shHtml1, shPhp1, ...
    const char* language;      // the factory's short name
    const char* menuCaption;   // caption in the menus that list the languages
};

// The instances in menu order (index = id - 1).
const std::array<THighlighterInfo, kHighlighterCount>& HighlighterInfos();

class THighlighterSet {
public:
    // Makes every instance whose lexer exists and gives it the main window's
    // attribute settings; the others stay missing.
    THighlighterSet();
    ~THighlighterSet();
    THighlighterSet(const THighlighterSet&) = delete;
    THighlighterSet& operator=(const THighlighterSet&) = delete;

    // The instance, or none for hlNone and for a lexer that does not exist.
    TOstCustomHighlighter* Get(THighlighterId id) const;
    // The id of an instance of this set, hlNone for none or a stranger.
    THighlighterId IdOf(const TOstCustomHighlighter* highlighter) const;

    // The highlighter the extension table names for a path (extension
    // lower-cased, compared exactly), or hlNone when the table has no row.
    static THighlighterId IdForFile(const QString& path);

private:
    std::array<std::unique_ptr<TOstCustomHighlighter>, kHighlighterCount> instances_;
};

// The main window's settings of one instance (colours, styles, options).
void ApplyMainWindowSettings(THighlighterId id, TOstCustomHighlighter& highlighter);

}  // namespace ostrel
