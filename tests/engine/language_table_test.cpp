// The language table: stored numbers that settings depend on, one row per
// name and extension, and the choice of a language by a file's name.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "highlighters/OstHighlighterCSS.h"
#include "highlighters/OstHighlighterFactory.h"
#include "highlighters/OstHighlighterHtml.h"

using namespace ostrel;

TEST(LanguageTable, StoredNumbersKeepTheirLanguages)
{
    const std::pair<THighlighterId, const char*> stored[] = {
        {hlHtml, "html"}, {hlPhp, "php"}, {hlCss, "css"}, {hlXml, "xml"}, {hlJs, "js"}, {hlVbs, "vbs"},
        {hlCpp, "cpp"}, {hlPas, "pas"}, {hlJava, "java"}, {hlSql, "sql"}, {hlPerl, "perl"}};
    ASSERT_EQ(Languages().size(), std::size(stored));
    for (const auto& [id, name] : stored) {
        ASSERT_NE(LanguageOf(id), nullptr) << name;
        EXPECT_STREQ(LanguageOf(id)->Name(), name);
        EXPECT_EQ(FindLanguage(name), LanguageOf(id)) << name;
    }
    EXPECT_EQ(static_cast<int>(hlPerl), 11) << "settings store the number";
    EXPECT_EQ(LanguageOf(hlNone), nullptr);
    EXPECT_EQ(LanguageOf(static_cast<THighlighterId>(12)), nullptr);
    EXPECT_EQ(LanguageOf(static_cast<THighlighterId>(-1)), nullptr);
    EXPECT_EQ(FindLanguage("HTML"), nullptr) << "short names are compared exactly";
    EXPECT_EQ(FindLanguage(""), nullptr);
}

TEST(LanguageTable, EveryRowMakesALexerOfItsOwnTitle)
{
    std::set<std::string> instanceNames;
    for (const TOstLanguage& language : Languages()) {
        const auto highlighter = language.cls.Create();
        ASSERT_NE(highlighter, nullptr) << language.Name();
        EXPECT_EQ(highlighter->GetLanguageTitle(), language.cls.LanguageTitle()) << language.Name();
        EXPECT_EQ(CreateHighlighter(language.Name())->GetLanguageTitle(), language.cls.LanguageTitle());
        EXPECT_TRUE(instanceNames.insert(language.instanceName).second) << language.instanceName;
        EXPECT_FALSE(language.extensions.empty()) << language.Name();
    }
    const auto names = HighlighterLanguages();
    ASSERT_EQ(names.size(), Languages().size());
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_STREQ(names[i], Languages()[i].Name());
}

TEST(LanguageTable, DefaultsTouchOnlyTheirOwnClass)
{
    TOstCssHighlighter css;
    const TColor before = css.CommentAttri->Foreground();
    LanguageOf(hlHtml)->ApplyDefaults(css);
    EXPECT_EQ(css.CommentAttri->Foreground(), before) << "the HTML colours are not for a CSS lexer";
    LanguageOf(hlCss)->ApplyDefaults(css);
    EXPECT_EQ(css.CommentAttri->Foreground(), clGreen);

    TOstHTMLHighlighter html;
    LanguageOf(hlHtml)->ApplyDefaults(html);
    EXPECT_EQ(html.CommentAttri->Foreground(), clGreen);
    EXPECT_EQ(html.CommentAttri->Style(), fsItalic);
}

TEST(LanguageForFile, TheExtensionAfterTheLastDotOfTheName)
{
    EXPECT_EQ(LanguageForFile("/x/a.shtml"), hlHtml);
    EXPECT_EQ(LanguageForFile("a.PHTML"), hlPhp) << "any letter case";
    EXPECT_EQ(LanguageForFile("a.xslt"), hlXml);
    EXPECT_EQ(LanguageForFile("a.hpp"), hlCpp);
    EXPECT_EQ(LanguageForFile("a.dpr"), hlPas);
    EXPECT_EQ(LanguageForFile("a.cgi"), hlPerl);
    EXPECT_EQ(LanguageForFile("a.vbs"), hlVbs);
    EXPECT_EQ(LanguageForFile("a.Js"), hlJs);
    EXPECT_EQ(LanguageForFile("dir/.css"), hlCss) << "a hidden file's whole name is its extension";
    EXPECT_EQ(LanguageForFile("dir.html/README"), hlNone) << "a folder's dot is not the file's";
    EXPECT_EQ(LanguageForFile("a.html.bak"), hlNone);
    EXPECT_EQ(LanguageForFile("a."), hlNone);
    EXPECT_EQ(LanguageForFile("html"), hlNone);
    EXPECT_EQ(LanguageForFile(""), hlNone);
    EXPECT_EQ(LanguageForFile("a.htmlx"), hlNone) << "compared whole, not as a prefix";
    EXPECT_EQ(LanguageForFile("a.ht"), hlNone);
}

TEST(LanguageForFile, EveryExtensionChoosesExactlyOneLanguage)
{
    std::set<std::string> seen;
    for (const TOstLanguage& language : Languages()) {
        for (const char* extension : language.extensions) {
            EXPECT_TRUE(seen.insert(extension).second) << extension << " stands in two rows";
            EXPECT_EQ(LanguageForFile(std::string("name.") + extension), language.id) << extension;
        }
    }
}
