#include "app/HighlighterSet.h"

#include <QFileInfo>

#include "highlighters/OstHighlighterFactory.h"

namespace ostrel {

namespace {

constexpr std::array<THighlighterInfo, kHighlighterCount> kInfos = {{
    {hlHtml, "shHtml1", "html", "&HTML"},
    {hlPhp, "shPhp1", "php", "&PHP"},
    {hlCss, "shCss1", "css", "&CSS"},
    {hlXml, "shXml1", "xml", "&XML"},
    {hlJs, "shJs1", "js", "&JScript"},
    {hlVbs, "shVBScript1", "vbs", "&VBScript"},
    {hlCpp, "shCpp1", "cpp", "C++"},
    {hlPas, "shPas1", "pas", "Pascal"},
    {hlJava, "shJava1", "java", "Java"},
    {hlSql, "shSql1", "sql", "SQL"},
    {hlPerl, "shPerl1", "perl", "Perl"},
}};

struct TExtensionRow {
    const char* extension;
    THighlighterId id;
};

// The first matching row wins.
constexpr TExtensionRow kExtensions[] = {
    {"htm", hlHtml}, {"html", hlHtml}, {"shtml", hlHtml},
    {"php", hlPhp}, {"php3", hlPhp}, {"phtml", hlPhp},
    {"css", hlCss},
    {"xml", hlXml}, {"xsd", hlXml}, {"xsl", hlXml}, {"xslt", hlXml}, {"dtd", hlXml},
    {"java", hlJava},
    {"c", hlCpp}, {"cpp", hlCpp}, {"h", hlCpp}, {"hpp", hlCpp},
    {"js", hlJs},
    {"vbs", hlVbs},
    {"sql", hlSql},
    {"pas", hlPas}, {"dpr", hlPas},
    {"pl", hlPerl}, {"pm", hlPerl}, {"cgi", hlPerl},
};

}  // namespace

const std::array<THighlighterInfo, kHighlighterCount>& HighlighterInfos() { return kInfos; }

THighlighterSet::THighlighterSet()
{
    for (const THighlighterInfo& info : kInfos) {
        std::unique_ptr<TOstCustomHighlighter> instance = CreateHighlighter(info.language);
        if (instance)
            ApplyMainWindowSettings(info.id, *instance);
        instances_[static_cast<size_t>(info.id - 1)] = std::move(instance);
    }
}

THighlighterSet::~THighlighterSet() = default;

TOstCustomHighlighter* THighlighterSet::Get(THighlighterId id) const
{
    if (id < hlHtml || id > hlPerl)
        return nullptr;
    return instances_[static_cast<size_t>(id - 1)].get();
}

THighlighterId THighlighterSet::IdOf(const TOstCustomHighlighter* highlighter) const
{
    if (!highlighter)
        return hlNone;
    for (const THighlighterInfo& info : kInfos)
        if (Get(info.id) == highlighter)
            return info.id;
    return hlNone;
}

THighlighterId THighlighterSet::IdForFile(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return hlNone;
    const QString extension = name.mid(dot + 1).toLower();
    for (const TExtensionRow& row : kExtensions)
        if (extension == QLatin1String(row.extension))
            return row.id;
    return hlNone;
}

}  // namespace ostrel
