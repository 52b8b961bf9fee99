// All eleven lexers on UTF-8 text: the bytes of a character are letters of
// an identifier, so no token ever starts inside a character and a Polish
// word is one identifier; keywords stay exactly what they were; and the
// properties every lexer keeps (tokens covering each line, line by line
// equal to straight through, CR LF equal to LF, incremental states equal to
// a full rescan) hold on UTF-8 documents too.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

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
#include "platform/Utf8.h"
#include "support/HighlighterChecks.h"
#include "support/Iconv.h"
#include "support/LexerChecks.h"
#include "support/TestSupport.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

// A line of one lexer, from a state, that must hold this token.
struct WordSample {
    intptr_t state;
    std::string line;
    std::string token;
    int kind;
};

struct Utf8Lexer {
    const char* name;
    std::function<std::unique_ptr<TOstCustomHighlighter>()> make;
    int endOfLineKind;
    int kindCount;
    intptr_t firstState;
    std::vector<intptr_t> states;  // to lex every byte value from
    const char* folder;
    std::vector<std::string> extensions;
    const char* incrementalFile;
    std::vector<WordSample> samples;
};

template <typename T>
std::function<std::unique_ptr<TOstCustomHighlighter>()> Maker()
{
    return [] { return std::make_unique<T>(); };
}

const std::vector<Utf8Lexer>& Lexers()
{
    static const std::vector<Utf8Lexer> all = {
        {"cpp", Maker<TOstCppHighlighter>(), cppLineEnd, 15, cppPlain,
         {cppPlain, cppInComment, cppInAsm, cppInString, cppInDirective}, "cpp", {".cpp"}, "cpp/form_unit.cpp",
         {{cppPlain, "int zażółć = 1;", "zażółć", cppIdentifier},
          {cppPlain, "whileż (x)", "whileż", cppIdentifier},
          {cppPlain, "x=12ą", "12", cppIllegal},
          {cppPlain, "while (x)", "while", cppKeyword}}},
        {"pas", Maker<TOstPasHighlighter>(), pasLineEnd, 14, pasPlain,
         {pasPlain, pasInParenComment, pasInAsm, pasInBraceComment, pasInProperty}, "pas", {".pas"},
         "pas/Counters.pas",
         {{pasPlain, "zażółć := 1;", "zażółć", pasIdentifier},
          {pasPlain, "beginą end;", "beginą", pasIdentifier},
          {pasPlain, "begin end;", "begin", pasKeyword}}},
        {"java", Maker<TOstJavaHighlighter>(), javaLineEnd, 11, javaPlain,
         {javaPlain, javaInComment, javaInDocComment}, "java", {".java"}, nullptr,
         {{javaPlain, "int zażółć = 1;", "zażółć", javaIdentifier},
          {javaPlain, "classę X", "classę", javaIdentifier},
          {javaPlain, "class X", "class", javaKeyword}}},
        {"sql", Maker<TOstSQLHighlighter>(), sqlLineEnd, 17, sqlPlain, {sqlPlain, sqlInComment, sqlInString}, "sql",
         {".sql"}, nullptr,
         {{sqlPlain, "select zażółć from t", "zażółć", sqlIdentifier},
          {sqlPlain, "selectó * from t", "selectó", sqlIdentifier},
          {sqlPlain, "select * from t", "select", sqlKeyword}}},
        {"vbs", Maker<TOstVBScriptHighlighter>(), vbsLineEnd, 9, 0, {0}, "vbs", {".vbs"}, nullptr,
         {{0, "Dim zażółć", "zażółć", vbsIdentifier},
          {0, "Dimż x", "Dimż", vbsIdentifier},
          {0, "Dim x", "Dim", vbsKeyword}}},
        {"perl", Maker<TOstPerlHighlighter>(), perlLineEnd, 12, 0, {0}, "perl", {".pl", ".pm"}, "perl/Report.pm",
         {{0, "my $zażółć = 1;", "$zażółć", perlIdentifier},
          {0, "myź $x;", "myź", perlIdentifier},
          {0, "my $x;", "my", perlKeyword}}},
        {"php", Maker<TOstPHPHighlighter>(), phpTkNull, 10, phpRsCode,
         {phpRsCode, phpRsSingleQuoted, phpRsDoubleQuoted, phpRsComment, phpRsInterpolated}, "php", {".php", ".inc"},
         "php/guestbook.php",
         {{phpRsCode, "$x = zażółć();", "zażółć", phpTkIdentifier},
          {phpRsCode, "$zażółć = 1;", "$zażółć", phpTkVariable},
          {phpRsCode, "echoś $x;", "echoś", phpTkIdentifier},
          {phpRsDoubleQuoted, "a $gęś b\"", "$gęś", phpTkVariable},
          {phpRsCode, "echo $x;", "echo", phpTkKey}}},
        {"js", Maker<TOstJScriptHighlighter>(), jsTkNull, 11, jsRsCode, {jsRsCode, jsRsComment}, "js", {".js"},
         "js/menu.js",
         {{jsRsCode, "var zażółć = 1;", "zażółć", jsTkIdentifier},
          {jsRsCode, "varą x;", "varą", jsTkIdentifier},
          {jsRsCode, "var x;", "var", jsTkKey}}},
        {"html", Maker<TOstHTMLHighlighter>(), htmlTkNull, 10, htmlRsText,
         {htmlRsText, htmlRsComment, htmlRsTagName, htmlRsTag, htmlRsValue, htmlRsQuoteValue,
          htmlRsDoubleQuoteValue},
         "html", {".html", ".htm"}, "html/catalogue.html",
         {{htmlRsText, "<zażółć a=1>", "zażółć", htmlTkUndefKey},
          {htmlRsText, "<bą>", "bą", htmlTkUndefKey},
          {htmlRsText, "<p gęś=1>", "gęś", htmlTkIdentifier},
          {htmlRsText, "<b>", "b", htmlTkKey}}},
        {"css", Maker<TOstCssHighlighter>(), cssTkNull, 12, cssRsSelector,
         {cssRsSelector, cssRsComment, cssRsBlock, cssRsAfterSemicolon, cssRsValue}, "css", {".css"},
         "css/shop.css",
         {{cssRsBlock, "zażółć: red", "zażółć", cssTkUndefProperty},
          {cssRsBlock, "colorą: red", "colorą", cssTkUndefProperty},
          {cssRsBlock, "color: red", "color", cssTkProperty}}},
        {"xml", Maker<TOstXMLHighlighter>(), xmlTkNull, 22, xmlRsText,
         {xmlRsText, xmlRsAttribute, xmlRsComment, xmlRsQuoteAttrValue, xmlRsElement}, "xml", {".xml", ".xsl"},
         "xml/catalogue.xml",
         {{xmlRsText, "<zażółć gęś='1'/>", "zażółć", xmlTkElement},
          {xmlRsText, "<zażółć gęś='1'/>", "gęś", xmlTkAttribute}}},
    };
    return all;
}

// Every kind comes with one attribute (known by its name, the same in
// every instance of the lexer), or always with none.
LexerFacts Utf8Facts(const Utf8Lexer& lexer)
{
    auto seen = std::make_shared<std::map<int, std::string>>();
    return {[make = lexer.make] {
                auto hl = make();
                hl->SetUtf8Text(true);
                return hl;
            },
            lexer.endOfLineKind, lexer.kindCount,
            [seen](const TOstCustomHighlighter& hl, int kind) {
                const TOstHighlighterAttributes* now = hl.TokenAttribute();
                const std::string& name = seen->try_emplace(kind, now ? now->Name() : std::string()).first->second;
                return name.empty() ? nullptr : hl.AttributeByName(name);
            }};
}

std::string ToUtf8(const std::string& windows1250)
{
    const auto converted = ConvertWithIconv("WINDOWS-1250", "UTF-8", windows1250);
    return converted.value_or("");
}

std::string WithoutHighBytes(const std::string& bytes)
{
    std::string out;
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) < 0x80)
            out += c;
    return out;
}

// The positions inside valid multi-byte sequences, where no token may start.
std::vector<bool> InsideCharacters(std::string_view line)
{
    std::vector<bool> inside(line.size() + 1, false);
    for (size_t i = 0; i < line.size();) {
        const size_t n = utf8::Decode(line, i).length;
        for (size_t k = 1; k < n; ++k)
            inside[i + k] = true;
        i += n;
    }
    return inside;
}

void ExpectNoSplitCharacters(TOstCustomHighlighter& hl, const std::vector<std::string>& lines, const std::string& what)
{
    hl.ClearLineState();
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::vector<bool> inside = InsideCharacters(lines[i]);
        hl.StartLine(lines[i], static_cast<int>(i));
        for (; !hl.AtLineEnd(); hl.NextToken()) {
            const int start = hl.TokenStart();
            if (start >= 0 && static_cast<size_t>(start) < inside.size() && inside[static_cast<size_t>(start)]) {
                ADD_FAILURE() << what << ", line " << i + 1 << ": a token starts inside a character at byte "
                              << start << " of \"" << lines[i] << "\"";
                return;
            }
        }
    }
}

const std::vector<std::string> kPieces = {
    "zażółć", "gęślą", "jaźń", "ŻÓŁW", "Ćma", "ß", "Ωμέγα", "привет", "日本語", "한", "😀", "e\xCC\x81", "\xCC\x81",
    "\xC5", "\xBC", "\xFF", "\xF0\x9F", " ", "\t", "\r\n", "\"", "'", "<", ">", "=", "&", ";", "/*", "*/", "//",
    "<!--", "-->", "{", "}", "(*", "*)", "#", "$", "@", "1", ".", "-", "\\", "<?php ", "?>", "if", "begin", "end",
    "select", "class", "color:", "x", "_",
};

}  // namespace

TEST(Utf8Lexers, GeneratedUtf8TextIsCoveredRestartsExactlyAndNeverSplitsACharacter)
{
    for (const Utf8Lexer& lexer : Lexers()) {
        const LexerFacts facts = Utf8Facts(lexer);
        const auto hl = facts.make();
        int n = 0;
        for (const auto& doc : GeneratedDocuments(kPieces, 20240601, 120, 8, 16)) {
            const std::string what = std::string(lexer.name) + " document " + std::to_string(n++);
            ExpectLexingConsistent(facts, doc, what, lexer.firstState);
            ExpectNoSplitCharacters(*hl, doc, what);
        }
        ExpectAllBytesCovered(facts, lexer.states);
        if (HasFailure())
            return;
    }
}

TEST(Utf8Lexers, RealFilesInUtf8AreCoveredIndependentOfLineBreaksAndUnsplit)
{
    for (const Utf8Lexer& lexer : Lexers()) {
        const LexerFacts facts = Utf8Facts(lexer);
        const auto hl = facts.make();
        size_t files = 0;
        for (const std::string& extension : lexer.extensions)
            for (const std::string& file : DataFiles(lexer.folder, extension)) {
                ++files;
                const std::string bytes = ToUtf8(ReadFile(file));
                ASSERT_FALSE(bytes.empty()) << file;
                const auto lines = BufferLines(WithCrLf(bytes));
                ExpectLexingConsistent(facts, lines, file + " in UTF-8", lexer.firstState);
                ExpectLineBreakStyleIrrelevant(facts, bytes, file + " in UTF-8");
                ExpectNoSplitCharacters(*hl, lines, file + " in UTF-8");
            }
        EXPECT_GE(files, 1u) << lexer.name;
    }
}

// The editor keeps its states in the document's form of text.
TEST(Utf8Lexers, IncrementalStatesOfUtf8DocumentsEqualAFullRescan)
{
    for (const Utf8Lexer& lexer : Lexers()) {
        if (!lexer.incrementalFile)
            continue;
        const auto hl = lexer.make();
        const std::string doc = ToUtf8(ReadFile(std::string(OSTREL_TEST_DATA) + "/" + lexer.incrementalFile));
        EXPECT_EQ(CountIncrementalStateMismatches(*hl, doc, 5, 80), 0) << lexer.incrementalFile;
        EXPECT_TRUE(hl->Utf8Text()) << lexer.name << ": the editor scanned a UTF-8 document as single bytes";
    }
}

TEST(Utf8Lexers, PolishWordsAreOneTokenAndKeywordsStayKeywords)
{
    for (const Utf8Lexer& lexer : Lexers()) {
        const auto hl = lexer.make();
        hl->SetUtf8Text(true);
        for (const WordSample& sample : lexer.samples) {
            const LexTokens tokens = LexLine(*hl, sample.line, sample.state);
            const LexToken expected{sample.token, sample.kind};
            EXPECT_NE(std::find(tokens.begin(), tokens.end(), expected), tokens.end())
                << lexer.name << ": \"" << sample.line << "\" lacks " << expected;
        }
    }
}

// Text without a byte from 0x80 lexes exactly as it does in a code page, so
// every keyword, number and construct keeps its kind.
TEST(Utf8Lexers, AsciiTextLexesAsInTheCodePage)
{
    for (const Utf8Lexer& lexer : Lexers()) {
        for (const std::string& extension : lexer.extensions)
            for (const std::string& file : DataFiles(lexer.folder, extension)) {
                const auto lines = BufferLines(WithoutHighBytes(ReadFile(file)));
                const auto single = lexer.make();
                const auto utf8 = lexer.make();
                utf8->SetUtf8Text(true);
                const auto a = LexLines(*single, lines);
                const auto b = LexLines(*utf8, lines);
                ASSERT_EQ(a.size(), b.size());
                for (size_t i = 0; i < a.size(); ++i) {
                    ASSERT_EQ(a[i].tokens, b[i].tokens) << file << ", line " << i + 1;
                    ASSERT_EQ(a[i].state, b[i].state) << file << ", line " << i + 1;
                }
            }
    }
}

// The same lexer instance serves a Windows-1250 document afterwards: there
// the accented bytes keep their old kinds.
TEST(Utf8Lexers, TheFormIsTheConsumersChoiceAndSwitchesBack)
{
    TOstCppHighlighter hl;
    hl.SetUtf8Text(true);
    EXPECT_EQ(LexLine(hl, "\xC5\xBC", cppPlain), (LexTokens{{"\xC5\xBC", cppIdentifier}}));
    hl.SetUtf8Text(false);
    EXPECT_EQ(LexLine(hl, "\xC5\xBC", cppPlain), (LexTokens{{"\xC5", cppIllegal}, {"\xBC", cppIllegal}}));
}
