// The main window's own colours and styles for its highlighter instances.
// Each lexer's header is looked for when the program is built, so a lexer
// that does not exist yet simply has no settings (and no instance).

#include "app/HighlighterSet.h"

#if __has_include("highlighters/OstHighlighterHtml.h")
#include "highlighters/OstHighlighterHtml.h"
#define OSTREL_HAS_HTML 1
#endif
#if __has_include("highlighters/OstHighlighterCSS.h")
#include "highlighters/OstHighlighterCSS.h"
#define OSTREL_HAS_CSS 1
#endif
#if __has_include("highlighters/OstHighlighterXML.h")
#include "highlighters/OstHighlighterXML.h"
#define OSTREL_HAS_XML 1
#endif
#if __has_include("highlighters/OstHighlighterPHP.h")
#include "highlighters/OstHighlighterPHP.h"
#define OSTREL_HAS_PHP 1
#endif
#if __has_include("highlighters/OstHighlighterJScript.h")
#include "highlighters/OstHighlighterJScript.h"
#define OSTREL_HAS_JS 1
#endif
#if __has_include("highlighters/OstHighlighterVBScript.h")
#include "highlighters/OstHighlighterVBScript.h"
#define OSTREL_HAS_VBS 1
#endif
#if __has_include("highlighters/OstHighlighterCpp.h")
#include "highlighters/OstHighlighterCpp.h"
#define OSTREL_HAS_CPP 1
#endif
#if __has_include("highlighters/OstHighlighterPas.h")
#include "highlighters/OstHighlighterPas.h"
#define OSTREL_HAS_PAS 1
#endif
#if __has_include("highlighters/OstHighlighterJava.h")
#include "highlighters/OstHighlighterJava.h"
#define OSTREL_HAS_JAVA 1
#endif
#if __has_include("highlighters/OstHighlighterSQL.h")
#include "highlighters/OstHighlighterSQL.h"
#define OSTREL_HAS_SQL 1
#endif
#if __has_include("highlighters/OstHighlighterPerl.h")
#include "highlighters/OstHighlighterPerl.h"
#define OSTREL_HAS_PERL 1
#endif

namespace ostrel {

namespace {

constexpr TColor kLightBlue = RGBColor(0, 128, 255);

void Colour(TOstHighlighterAttributes* attribute, TColor foreground)
{
    attribute->SetForeground(foreground);
}

void Style(TOstHighlighterAttributes* attribute, TFontStyles style)
{
    attribute->SetStyle(style);
}

void ColourAndStyle(TOstHighlighterAttributes* attribute, TColor foreground, TFontStyles style)
{
    attribute->SetForeground(foreground);
    attribute->SetStyle(style);
}

// Applies the settings when the instance really is of the lexer's class.
template <class THighlighter, class TSetup>
void Setup(TOstCustomHighlighter& highlighter, TSetup setup)
{
    if (auto* typed = dynamic_cast<THighlighter*>(&highlighter))
        setup(*typed);
}

}  // namespace

void ApplyMainWindowSettings(THighlighterId id, TOstCustomHighlighter& h)
{
    switch (id) {
#ifdef OSTREL_HAS_HTML
    case hlHtml:
        Setup<TOstHTMLHighlighter>(h, [](TOstHTMLHighlighter& s) {
            Colour(s.AndAttri, clGreen);
            ColourAndStyle(s.CommentAttri, clGreen, fsItalic);
            s.SetDefaultFilter("HTML Document (*.htm,*.html)|*.htm;*.html");
        });
        break;
#endif
#ifdef OSTREL_HAS_CSS
    case hlCss:
        Setup<TOstCssHighlighter>(h, [](TOstCssHighlighter& s) {
            Colour(s.CommentAttri, clGreen);
            Colour(s.StringAttri, clBlue);
            Style(s.SymbolAttri, fsBold);
        });
        break;
#endif
#ifdef OSTREL_HAS_XML
    case hlXml:
        Setup<TOstXMLHighlighter>(h, [](auto& s) {
            // Scanning never consults the flag; it is set where the lexer has it.
            if constexpr (requires { s.SetWantBracesParsed(false); })
                s.SetWantBracesParsed(false);
            s.SetDefaultFilter("XML Document (*.xml,*.xsd,*.xsl,*.xslt,*.dtd)|*.xml;*.xsd;*.xsl;*.xslt;*.dtd");
        });
        break;
#endif
#ifdef OSTREL_HAS_PHP
    case hlPhp:
        Setup<TOstPHPHighlighter>(h, [](TOstPHPHighlighter& s) {
            Colour(s.CommentAttri, clGreen);
            Style(s.IdentifierAttri, fsBold);
            Colour(s.NumberAttri, clNavy);
            ColourAndStyle(s.StringAttri, kLightBlue, fsItalic);
            Style(s.SymbolAttri, fsBold);
            Colour(s.VariableAttri, clMaroon);
            s.SetDefaultFilter("PHP Files (*.php,*.php3,*.phtml,*.inc)|*.php;*.php3;*.phtml;*.inc");
        });
        break;
#endif
#ifdef OSTREL_HAS_JS
    case hlJs:
        Setup<TOstJScriptHighlighter>(h, [](TOstJScriptHighlighter& s) {
            Colour(s.CommentAttri, clGreen);
            Style(s.EventAttri, fsUnderline);
            Colour(s.NumberAttri, kLightBlue);
            ColourAndStyle(s.StringAttri, kLightBlue, fsItalic);
            s.SetDefaultFilter("Javascript Files (*.js)|*.js");
        });
        break;
#endif
#ifdef OSTREL_HAS_VBS
    case hlVbs:
        Setup<TOstVBScriptHighlighter>(h, [](TOstVBScriptHighlighter& s) {
            Colour(s.CommentAttri, clGreen);
            Colour(s.NumberAttri, kLightBlue);
            ColourAndStyle(s.StringAttri, kLightBlue, fsItalic);
            s.SetDefaultFilter("VBScript Files (*.vbs)|*.vbs");
        });
        break;
#endif
#ifdef OSTREL_HAS_CPP
    case hlCpp:
        Setup<TOstCppHighlighter>(h, [](TOstCppHighlighter& s) {
            Style(s.AsmAttri, fsBold);
            Colour(s.CommentAttri, clGreen);
            Colour(s.InvalidAttri, clRed);
            Style(s.FloatAttri, fsItalic);
            Style(s.HexAttri, fsUnderline);
            ColourAndStyle(s.StringAttri, kLightBlue, fsItalic);
            Colour(s.CharAttri, kLightBlue);
            s.SetDefaultFilter("C++ Files (*.c,*.cpp,*.h,*.hpp)|*.c;*.cpp;*.h;*.hpp");
        });
        break;
#endif
#ifdef OSTREL_HAS_PAS
    case hlPas:
        Setup<TOstPasHighlighter>(h, [](TOstPasHighlighter& s) {
            Style(s.AsmAttri, fsBold);
            Colour(s.CommentAttri, clNavy);
            Colour(s.NumberAttri, clNavy);
            Style(s.FloatAttri, fsItalic);
            Style(s.HexAttri, fsUnderline);
            Colour(s.StringAttri, clNavy);
            Colour(s.CharAttri, clNavy);
        });
        break;
#endif
#ifdef OSTREL_HAS_JAVA
    case hlJava:
        Setup<TOstJavaHighlighter>(h, [](TOstJavaHighlighter& s) {
            Colour(s.CommentAttri, clGreen);
            Colour(s.NumberAttri, clNavy);
            ColourAndStyle(s.StringAttri, kLightBlue, fsItalic);
            s.SetDefaultFilter("Java Files (*.java)|*.java");
        });
        break;
#endif
#ifdef OSTREL_HAS_SQL
    case hlSql:
        Setup<TOstSQLHighlighter>(h, [](TOstSQLHighlighter& s) {
            Colour(s.CommentAttri, clGreen);
            Colour(s.NumberAttri, clNavy);
            ColourAndStyle(s.StringAttri, kLightBlue, fsItalic);
            Style(s.TableNameAttri, fsBold | fsItalic);
            Colour(s.VariableAttri, clMaroon);
            // The lexer starts in the Sybase dialect, the one the program uses.
            s.SetDefaultFilter("SQL Files (*.sql)|*.sql");
        });
        break;
#endif
#ifdef OSTREL_HAS_PERL
    case hlPerl:
        Setup<TOstPerlHighlighter>(h, [](TOstPerlHighlighter& s) {
            Colour(s.CommentAttri, clGreen);
            Colour(s.InvalidAttri, clRed);
            Colour(s.NumberAttri, kLightBlue);
            Style(s.OperatorAttri, fsItalic);
            Colour(s.StringAttri, kLightBlue);
            ColourAndStyle(s.VariableAttri, clMaroon, 0);
            s.SetDefaultFilter("Perl Files (*.pl,*.pm,*.cgi)|*.pl;*.pm;*.cgi");
        });
        break;
#endif
    default:
        break;
    }
}

}  // namespace ostrel
