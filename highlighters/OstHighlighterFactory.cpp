#include "highlighters/OstHighlighterFactory.h"

#include <array>

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
#include "highlighters/OstLanguageDefaults.h"
#include "platform/AsciiCase.h"

namespace ostrel {

namespace {

template <class THighlighter>
std::unique_ptr<TOstCustomHighlighter> Make()
{
    return std::make_unique<THighlighter>();
}

template <class THighlighter>
constexpr TOstHighlighterClass ClassOf(const char* language)
{
    return {language, &THighlighter::LanguageTitle, &Make<THighlighter>};
}

// No extension stands in two rows.
constexpr const char* kHtmlFiles[] = {"htm", "html", "shtml"};
constexpr const char* kPhpFiles[] = {"php", "php3", "phtml"};
constexpr const char* kCssFiles[] = {"css"};
constexpr const char* kXmlFiles[] = {"xml", "xsd", "xsl", "xslt", "dtd"};
constexpr const char* kJsFiles[] = {"js"};
constexpr const char* kVbsFiles[] = {"vbs"};
constexpr const char* kCppFiles[] = {"c", "cpp", "h", "hpp"};
constexpr const char* kPasFiles[] = {"pas", "dpr"};
constexpr const char* kJavaFiles[] = {"java"};
constexpr const char* kSqlFiles[] = {"sql"};
constexpr const char* kPerlFiles[] = {"pl", "pm", "cgi"};

constexpr TOstLanguage kLanguageTable[] = {
    {hlHtml, ClassOf<TOstHTMLHighlighter>("html"), "shHtml1", "&HTML", kHtmlFiles, &defaults::Html},
    {hlPhp, ClassOf<TOstPHPHighlighter>("php"), "shPhp1", "&PHP", kPhpFiles, &defaults::Php},
    {hlCss, ClassOf<TOstCssHighlighter>("css"), "shCss1", "&CSS", kCssFiles, &defaults::Css},
    {hlXml, ClassOf<TOstXMLHighlighter>("xml"), "shXml1", "&XML", kXmlFiles, &defaults::Xml},
    {hlJs, ClassOf<TOstJScriptHighlighter>("js"), "shJs1", "&JScript", kJsFiles, &defaults::JScript},
    {hlVbs, ClassOf<TOstVBScriptHighlighter>("vbs"), "shVBScript1", "&VBScript", kVbsFiles, &defaults::VBScript},
    {hlCpp, ClassOf<TOstCppHighlighter>("cpp"), "shCpp1", "C++", kCppFiles, &defaults::Cpp},
    {hlPas, ClassOf<TOstPasHighlighter>("pas"), "shPas1", "Pascal", kPasFiles, &defaults::Pas},
    {hlJava, ClassOf<TOstJavaHighlighter>("java"), "shJava1", "Java", kJavaFiles, &defaults::Java},
    {hlSql, ClassOf<TOstSQLHighlighter>("sql"), "shSql1", "SQL", kSqlFiles, &defaults::Sql},
    {hlPerl, ClassOf<TOstPerlHighlighter>("perl"), "shPerl1", "Perl", kPerlFiles, &defaults::Perl},
};
static_assert(std::size(kLanguageTable) == kHighlighterCount);

constexpr bool RowsFollowTheirNumbers()
{
    for (size_t i = 0; i < std::size(kLanguageTable); ++i)
        if (kLanguageTable[i].id != static_cast<int>(i) + 1)
            return false;
    return true;
}
static_assert(RowsFollowTheirNumbers(), "a row's place must be its stored number");

std::string_view ExtensionOf(std::string_view path)
{
    const size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

}  // namespace

// The class list starts with every class of the table.
TOstHighlighterList& TOstHighlighterList::Instance()
{
    static TOstHighlighterList list = [] {
        TOstHighlighterList l;
        for (const TOstLanguage& language : kLanguageTable)
            l.Register(language.cls);
        return l;
    }();
    return list;
}

std::span<const TOstLanguage> Languages() { return kLanguageTable; }

const TOstLanguage* LanguageOf(THighlighterId id)
{
    if (id < hlHtml || id > kHighlighterCount)
        return nullptr;
    return &kLanguageTable[id - 1];
}

const TOstLanguage* FindLanguage(std::string_view name)
{
    for (const TOstLanguage& language : kLanguageTable)
        if (name == language.Name())
            return &language;
    return nullptr;
}

THighlighterId LanguageForFile(std::string_view path)
{
    const std::string_view extension = ExtensionOf(path);
    for (const TOstLanguage& language : kLanguageTable)
        for (const char* known : language.extensions)
            if (ascii::EqualNoCase(extension, known))
                return language.id;
    return hlNone;
}

std::span<const char* const> HighlighterLanguages()
{
    static const auto names = [] {
        std::array<const char*, kHighlighterCount> n{};
        for (size_t i = 0; i < n.size(); ++i)
            n[i] = kLanguageTable[i].Name();
        return n;
    }();
    return names;
}

std::unique_ptr<TOstCustomHighlighter> CreateHighlighter(std::string_view language)
{
    const TOstHighlighterClass* cls = TOstHighlighterList::Instance().Find(language);
    return cls ? cls->Create() : nullptr;
}

}  // namespace ostrel
