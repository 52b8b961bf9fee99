#include "highlighters/OstLanguageDefaults.h"

#include "highlighters/OstHighlighterHtml.h"
#include "highlighters/OstHighlighterCSS.h"
#include "highlighters/OstHighlighterXML.h"
#include "highlighters/OstHighlighterPHP.h"
#include "highlighters/OstHighlighterJScript.h"
#include "highlighters/OstHighlighterVBScript.h"
#include "highlighters/OstHighlighterCpp.h"
#include "highlighters/OstHighlighterPas.h"
#include "highlighters/OstHighlighterJava.h"
#include "highlighters/OstHighlighterSQL.h"
#include "highlighters/OstHighlighterPerl.h"

namespace ostrel::defaults {

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

void Html(TOstCustomHighlighter& h)
{
    Setup<TOstHTMLHighlighter>(h, [](TOstHTMLHighlighter& s) {
        Colour(s.AndAttri, clGreen);
        ColourAndStyle(s.CommentAttri, clGreen, fsItalic);
        s.SetDefaultFilter("HTML Document (*.htm,*.html)|*.htm;*.html");
    });
}

void Css(TOstCustomHighlighter& h)
{
    Setup<TOstCssHighlighter>(h, [](TOstCssHighlighter& s) {
        Colour(s.CommentAttri, clGreen);
        Colour(s.StringAttri, clBlue);
        Style(s.SymbolAttri, fsBold);
    });
}

void Xml(TOstCustomHighlighter& h)
{
    Setup<TOstXMLHighlighter>(h, [](TOstXMLHighlighter& s) {
        s.SetWantBracesParsed(false);
        s.SetDefaultFilter("XML Document (*.xml,*.xsd,*.xsl,*.xslt,*.dtd)|*.xml;*.xsd;*.xsl;*.xslt;*.dtd");
    });
}

void Php(TOstCustomHighlighter& h)
{
    Setup<TOstPHPHighlighter>(h, [](TOstPHPHighlighter& s) {
        Colour(s.CommentAttri, clGreen);
        Style(s.IdentifierAttri, fsBold);
        Colour(s.NumberAttri, clNavy);
        ColourAndStyle(s.StringAttri, kLightBlue, fsItalic);
        Style(s.SymbolAttri, fsBold);
        Colour(s.VariableAttri, clMaroon);
        s.SetDefaultFilter("PHP Files (*.php,*.php3,*.phtml,*.inc)|*.php;*.php3;*.phtml;*.inc");
    });
}

void JScript(TOstCustomHighlighter& h)
{
    Setup<TOstJScriptHighlighter>(h, [](TOstJScriptHighlighter& s) {
        Colour(s.CommentAttri, clGreen);
        Style(s.EventAttri, fsUnderline);
        Colour(s.NumberAttri, kLightBlue);
        ColourAndStyle(s.StringAttri, kLightBlue, fsItalic);
        s.SetDefaultFilter("Javascript Files (*.js)|*.js");
    });
}

void VBScript(TOstCustomHighlighter& h)
{
    Setup<TOstVBScriptHighlighter>(h, [](TOstVBScriptHighlighter& s) {
        Colour(s.CommentAttri, clGreen);
        Colour(s.NumberAttri, kLightBlue);
        ColourAndStyle(s.StringAttri, kLightBlue, fsItalic);
        s.SetDefaultFilter("VBScript Files (*.vbs)|*.vbs");
    });
}

void Cpp(TOstCustomHighlighter& h)
{
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
}

void Pas(TOstCustomHighlighter& h)
{
    Setup<TOstPasHighlighter>(h, [](TOstPasHighlighter& s) {
        Style(s.AsmAttri, fsBold);
        Colour(s.CommentAttri, clNavy);
        Colour(s.NumberAttri, clNavy);
        Style(s.FloatAttri, fsItalic);
        Style(s.HexAttri, fsUnderline);
        Colour(s.StringAttri, clNavy);
        Colour(s.CharAttri, clNavy);
    });
}

void Java(TOstCustomHighlighter& h)
{
    Setup<TOstJavaHighlighter>(h, [](TOstJavaHighlighter& s) {
        Colour(s.CommentAttri, clGreen);
        Colour(s.NumberAttri, clNavy);
        ColourAndStyle(s.StringAttri, kLightBlue, fsItalic);
        s.SetDefaultFilter("Java Files (*.java)|*.java");
    });
}

void Sql(TOstCustomHighlighter& h)
{
    Setup<TOstSQLHighlighter>(h, [](TOstSQLHighlighter& s) {
        Colour(s.CommentAttri, clGreen);
        Colour(s.NumberAttri, clNavy);
        ColourAndStyle(s.StringAttri, kLightBlue, fsItalic);
        Style(s.TableNameAttri, fsBold | fsItalic);
        Colour(s.VariableAttri, clMaroon);
        // The lexer starts in the Sybase dialect, the one the program uses.
        s.SetDefaultFilter("SQL Files (*.sql)|*.sql");
    });
}

void Perl(TOstCustomHighlighter& h)
{
    Setup<TOstPerlHighlighter>(h, [](TOstPerlHighlighter& s) {
        Colour(s.CommentAttri, clGreen);
        Colour(s.InvalidAttri, clRed);
        Colour(s.NumberAttri, kLightBlue);
        Style(s.OperatorAttri, fsItalic);
        Colour(s.StringAttri, kLightBlue);
        ColourAndStyle(s.VariableAttri, clMaroon, 0);
        s.SetDefaultFilter("Perl Files (*.pl,*.pm,*.cgi)|*.pl;*.pm;*.cgi");
    });
}

}  // namespace ostrel::defaults
