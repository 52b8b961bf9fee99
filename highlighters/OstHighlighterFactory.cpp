#include "highlighters/OstHighlighterFactory.h"

#include "highlighters/OstHighlighterCSS.h"
#include "highlighters/OstHighlighterCpp.h"
#include "highlighters/OstHighlighterHtml.h"
#include "highlighters/OstHighlighterJScript.h"
#include "highlighters/OstHighlighterJava.h"
#include "highlighters/OstHighlighterPHP.h"
#include "highlighters/OstHighlighterPas.h"
#include "highlighters/OstHighlighterPerl.h"
#include "highlighters/OstHighlighterSQL.h"
#include "highlighters/OstHighlighterVBScript.h"
#include "highlighters/OstHighlighterXML.h"

namespace ostrel {

namespace {

constexpr const char* kLanguages[] = {"html", "css", "xml", "php", "js", "vbs",
                                      "cpp", "pas", "java", "sql", "perl"};

}  // namespace

// Every lexer class, one line each; the class list is filled from here.
TOstHighlighterList& TOstHighlighterList::Instance()
{
    static TOstHighlighterList list = [] {
        TOstHighlighterList l;
        l.Register(TOstHTMLHighlighter::Class());
        l.Register(TOstCppHighlighter::Class());
        l.Register(TOstPHPHighlighter::Class());
        l.Register(TOstCssHighlighter::Class());
        l.Register(TOstPasHighlighter::Class());
        l.Register(TOstJScriptHighlighter::Class());
        l.Register(TOstJavaHighlighter::Class());
        l.Register(TOstXMLHighlighter::Class());
        l.Register(TOstSQLHighlighter::Class());
        l.Register(TOstVBScriptHighlighter::Class());
        l.Register(TOstPerlHighlighter::Class());
        return l;
    }();
    return list;
}

std::span<const char* const> HighlighterLanguages() { return kLanguages; }

std::unique_ptr<TOstCustomHighlighter> CreateHighlighter(std::string_view language)
{
    const TOstHighlighterClass* cls = TOstHighlighterList::Instance().Find(language);
    return cls ? cls->Create() : nullptr;
}

}  // namespace ostrel
