#include <gtest/gtest.h>

#include <map>

#include "highlighters/OstEditHighlighter.h"
#include "highlighters/OstHighlighterFactory.h"
#include "highlighters/OstHighlighterHashEntries.h"
#include "highlighters/OstHighlighterHtml.h"
#include "support/TestSupport.h"

using namespace ostrel;
using ostrel::test::TempDir;

namespace {

// A lexer of the smallest kind: every character is a token of its own, and
// the line state counts the lines seen.
class CharLexer : public TOstCustomHighlighter {
public:
    explicit CharLexer(std::vector<const char*> names = {"zeta", "Alpha", "beta"})
    {
        for (const char* n : names)
            AddAttribute(n, clNone, 0);
        BindAttributeChanges();
    }
    TOstHighlighterAttributes* DefaultAttribute(int) const override { return nullptr; }
    bool AtLineEnd() const override { return line_[tokenPos_] == 0; }
    void NextToken() override
    {
        tokenPos_ = run_;
        if (line_[run_] != 0)
            ++run_;
    }
    TOstHighlighterAttributes* TokenAttribute() const override { return AttributeAt(0); }
    std::string SampleText() const override { return sample_; }
    void SetSampleText(std::string_view s) override { sample_ = s; }
    using TOstCustomHighlighter::RegisterAttribute;

private:
    std::string sample_ = "char lexer sample";
};

class OtherLexer : public CharLexer {
public:
    OtherLexer() : CharLexer({"Alpha", "Gamma"}) {}
};

std::vector<std::string> AttributeNames(const TOstCustomHighlighter& hl)
{
    std::vector<std::string> names;
    for (int i = 0; i < hl.AttributeCount(); ++i)
        names.push_back(hl.AttributeAt(i)->Name());
    return names;
}

}  // namespace

// ---- Attributes -----------------------------------------------------------

TEST(HighlighterAttributes, ChangesFireOnlyWhenTheValueChanges)
{
    TOstHighlighterAttributes attr("Comment");
    EXPECT_EQ(attr.Background(), clNone);
    EXPECT_EQ(attr.Foreground(), clNone);
    EXPECT_EQ(attr.Style(), 0);
    int fired = 0;
    attr.OnChange = [&](TOstHighlighterAttributes& sender) {
        EXPECT_EQ(&sender, &attr);
        ++fired;
    };
    attr.SetForeground(clGreen);
    attr.SetForeground(clGreen);
    attr.SetStyle(fsItalic);
    attr.SetBackground(clNone);
    EXPECT_EQ(fired, 2);

    TOstHighlighterAttributes other("Other");
    other.SetForeground(clRed);
    other.SetBackground(clWhite);
    other.SetStyle(fsBold | fsUnderline);
    fired = 0;
    attr.AssignColorsAndStyle(other);
    EXPECT_EQ(fired, 1) << "three values changed, one notification";
    attr.AssignColorsAndStyle(other);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(attr.Name(), "Comment");
    attr.Assign(other);
    EXPECT_EQ(attr.Name(), "Other");
}

// ---- The attribute list -----------------------------------------------------

TEST(HighlighterAttributeList, SortedWithoutRegardToCaseAndFreeOfDuplicates)
{
    CharLexer hl;
    EXPECT_EQ(AttributeNames(hl), (std::vector<std::string>{"Alpha", "beta", "zeta"}));
    EXPECT_THROW(hl.RegisterAttribute(std::make_unique<TOstHighlighterAttributes>("BETA")),
                 EOstHighlighterError);
    EXPECT_EQ(hl.AttributeCount(), 3);
    hl.RegisterAttribute(std::make_unique<TOstHighlighterAttributes>("Beta2"));
    EXPECT_EQ(AttributeNames(hl), (std::vector<std::string>{"Alpha", "beta", "Beta2", "zeta"}));
    EXPECT_EQ(hl.AttributeAt(-1), nullptr);
    EXPECT_EQ(hl.AttributeAt(hl.AttributeCount()), nullptr);
    EXPECT_EQ(hl.AttributeByName("ZETA"), hl.AttributeAt(3));
    EXPECT_EQ(hl.AttributeByName("eta"), nullptr);
}

// ---- Change notification -----------------------------------------------------

TEST(HighlighterNotification, ListenersHearAttributeChangesAndEnabled)
{
    CharLexer hl;
    std::vector<TOstHighlighterAttributes*> heardA;
    int heardB = 0;
    int a = 0, b = 0;
    hl.AddChangeListener(&a, [&](TOstHighlighterAttributes* sender) { heardA.push_back(sender); });
    hl.AddChangeListener(&b, [&](TOstHighlighterAttributes*) { ++heardB; });

    hl.AttributeAt(1)->SetStyle(fsBold);
    ASSERT_EQ(heardA.size(), 1u);
    EXPECT_EQ(heardA[0], hl.AttributeAt(1));

    hl.SetEnabled(true);  // already enabled
    EXPECT_EQ(heardA.size(), 1u);
    hl.SetEnabled(false);
    ASSERT_EQ(heardA.size(), 2u);
    EXPECT_EQ(heardA[1], nullptr);
    EXPECT_EQ(heardB, 2);

    hl.RemoveChangeListener(&b);
    hl.AttributeAt(0)->SetForeground(clRed);
    EXPECT_EQ(heardA.size(), 3u);
    EXPECT_EQ(heardB, 2);
}

TEST(HighlighterNotification, LoadingHoldsNotificationsAndEndsWithOne)
{
    CharLexer hl;
    int heard = 0;
    int owner = 0;
    hl.AddChangeListener(&owner, [&](TOstHighlighterAttributes* sender) {
        ++heard;
        EXPECT_EQ(sender, nullptr);
    });
    hl.BeginLoading();
    hl.AttributeAt(0)->SetForeground(clGreen);
    hl.AttributeAt(2)->SetStyle(fsItalic);
    EXPECT_EQ(heard, 0);
    hl.EndLoading();
    EXPECT_EQ(heard, 1);
}

TEST(HighlighterNotification, ListenerMayRemoveItselfWhileCalled)
{
    CharLexer hl;
    int first = 0, second = 0;
    int calls = 0;
    hl.AddChangeListener(&first, [&](TOstHighlighterAttributes*) {
        ++calls;
        hl.RemoveChangeListener(&first);
    });
    hl.AddChangeListener(&second, [&](TOstHighlighterAttributes*) { ++calls; });
    hl.SetEnabled(false);
    hl.SetEnabled(true);
    EXPECT_EQ(calls, 3);
}

// ---- Registry storage ----------------------------------------------------------

class HighlighterRegistry : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path file = dir / "registry.txt";
    const char* key = "\\SOFTWARE\\Kalvenor\\Ostrel\\Highlighters\\Test";
};

TEST_F(HighlighterRegistry, SaveWritesThreeIntegersPerAttribute)
{
    CharLexer hl;
    hl.AttributeByName("beta")->SetForeground(clRed);
    hl.AttributeByName("beta")->SetBackground(clWindow);
    hl.AttributeByName("beta")->SetStyle(0xFF);  // only four bits are styles
    TRegistry store(file);
    ASSERT_TRUE(hl.SaveAttributesToRegistry(store, HKEY_CURRENT_USER, key));

    TRegistry check(file);
    ASSERT_TRUE(check.OpenKeyReadOnly(key));
    EXPECT_EQ(check.GetKeyNames(), (std::vector<std::string>{"Alpha", "beta", "zeta"}));
    ASSERT_TRUE(check.OpenKeyReadOnly("beta"));
    EXPECT_EQ(check.GetValueNames(), (std::vector<std::string>{"Background", "Foreground", "Style"}));
    EXPECT_EQ(static_cast<uint32_t>(check.ReadInteger("Background")), clWindow);
    EXPECT_EQ(static_cast<uint32_t>(check.ReadInteger("Foreground")), clRed);
    EXPECT_EQ(check.ReadInteger("Style"), 15);
    ASSERT_TRUE(check.OpenKeyReadOnly("\\SOFTWARE\\Kalvenor\\Ostrel\\Highlighters\\Test\\zeta"));
    EXPECT_EQ(static_cast<uint32_t>(check.ReadInteger("Foreground")), clNone);
}

TEST_F(HighlighterRegistry, RoundTripThroughTheStore)
{
    TOstHTMLHighlighter saved;
    saved.CommentAttri->SetForeground(clGreen);
    saved.CommentAttri->SetStyle(fsItalic);
    saved.ValueAttri->SetBackground(clYellow);
    TRegistry store(file);
    ASSERT_TRUE(saved.SaveAttributesToRegistry(store, HKEY_CURRENT_USER, key));

    TOstHTMLHighlighter loaded;
    TRegistry again(file);
    ASSERT_TRUE(loaded.LoadAttributesFromRegistry(again, HKEY_CURRENT_USER, key));
    for (int i = 0; i < saved.AttributeCount(); ++i) {
        SCOPED_TRACE(saved.AttributeAt(i)->Name());
        EXPECT_EQ(loaded.AttributeAt(i)->Foreground(), saved.AttributeAt(i)->Foreground());
        EXPECT_EQ(loaded.AttributeAt(i)->Background(), saved.AttributeAt(i)->Background());
        EXPECT_EQ(loaded.AttributeAt(i)->Style(), saved.AttributeAt(i)->Style());
    }
}

TEST_F(HighlighterRegistry, LoadChangesOnlyWhatIsThereAndReportsWhatIsNot)
{
    {
        TRegistry store(file);
        store.OpenKey(std::string(key) + "\\Alpha", true);
        store.WriteInteger("Foreground", static_cast<int32_t>(clRed));
        store.OpenKey(std::string(key) + "\\zeta", true);
        store.WriteString("Style", "bold");  // wrong type
        store.WriteInteger("Background", static_cast<int32_t>(clBlue));
    }
    CharLexer hl;
    hl.AttributeByName("Alpha")->SetStyle(fsBold);
    hl.AttributeByName("zeta")->SetStyle(fsItalic);
    TRegistry store(file);
    EXPECT_FALSE(hl.LoadAttributesFromRegistry(store, HKEY_CURRENT_USER, key)) << "beta has no subkey";
    EXPECT_EQ(hl.AttributeByName("Alpha")->Foreground(), clRed);
    EXPECT_EQ(hl.AttributeByName("Alpha")->Style(), fsBold);
    EXPECT_EQ(hl.AttributeByName("Alpha")->Background(), clNone);
    EXPECT_EQ(hl.AttributeByName("zeta")->Background(), clBlue);
    EXPECT_EQ(hl.AttributeByName("zeta")->Style(), fsItalic);
    EXPECT_FALSE(store.HasCurrentKey()) << "the store is left closed";

    EXPECT_FALSE(hl.LoadAttributesFromRegistry(store, HKEY_CURRENT_USER, "\\SOFTWARE\\Missing"));
    EXPECT_FALSE(std::filesystem::exists(dir / "registry.txt.lock") &&
                 TRegistry(file).KeyExists("\\SOFTWARE\\Missing"))
        << "loading never creates keys";
}

// ---- Assignment ---------------------------------------------------------------------

TEST(HighlighterAssign, CopiesSameNamedAttributesAndSettings)
{
    CharLexer source;
    source.AttributeByName("Alpha")->SetForeground(clRed);
    source.AttributeByName("zeta")->SetStyle(fsBold);
    source.SetDefaultFilter("Text (*.txt)|*.txt");
    source.SetEnabled(false);
    source.SetWordSeparators(CharSetOf(" ,"));
    source.SetSampleText("from the source");

    OtherLexer other;
    other.Assign(source);
    EXPECT_EQ(other.AttributeByName("Alpha")->Foreground(), clRed);
    EXPECT_EQ(other.AttributeByName("Gamma")->Foreground(), clNone);
    EXPECT_EQ(other.SampleText(), "char lexer sample") << "sample text only between equal classes";
    EXPECT_EQ(other.DefaultFilter(), "Text (*.txt)|*.txt");
    EXPECT_FALSE(other.Enabled());
    EXPECT_EQ(other.WordSeparators(), CharSetOf(" ,"));

    CharLexer same;
    same.Assign(source);
    EXPECT_EQ(same.SampleText(), "from the source");
    EXPECT_EQ(same.AttributeByName("zeta")->Style(), fsBold);
}

// ---- Scanning through the base ------------------------------------------------------

TEST(HighlighterScanning, TokensCoverALineWithAZeroInside)
{
    TOstHTMLHighlighter hl;
    const std::string line("a\0b<p>", 6);
    hl.ClearLineState();
    hl.StartLine(line, 0);
    int expected = 0;
    std::string joined;
    for (; !hl.AtLineEnd(); hl.NextToken()) {
        EXPECT_EQ(hl.TokenStart(), expected);
        expected += hl.TokenLength();
        joined += hl.TokenText();
    }
    EXPECT_EQ(expected, 6);
    EXPECT_EQ(joined, line);
}

TEST(HighlighterScanning, TokenTextOutlivesTheCallersLine)
{
    TOstHTMLHighlighter hl;
    hl.ClearLineState();
    {
        std::string temporary = "<table>";
        hl.StartLine(temporary, 0);
        temporary.assign(7, 'x');
    }
    hl.NextToken();
    EXPECT_EQ(hl.TokenText(), "table");
}

// ---- Keyword hashing ----------------------------------------------------------------

TEST(KeywordTable, ClassifiesByHashThenByValues)
{
    const TOstCharValues values = LetterValues(true);
    TOstKeywordTable table(values, 40);
    auto hash = [&](std::string_view w) {
        int h = 0;
        for (char c : w)
            h += values[static_cast<unsigned char>(c)];
        return h;
    };
    table.Add(hash("if"), "if", 1);
    table.Add(hash("fi"), "fi", 2);  // same hash, compared in the order added
    table.Add(hash("a1"), "a1", 3);
    auto classify = [&](std::string_view w) {
        return table.Classify(reinterpret_cast<const unsigned char*>(w.data()), static_cast<int>(w.size()),
                              hash(w), 0, -1);
    };
    EXPECT_EQ(classify("if"), 1);
    EXPECT_EQ(classify("IF"), 1);
    EXPECT_EQ(classify("Fi"), 2);
    EXPECT_EQ(classify("a7"), 3) << "digits have value 0 and compare alike";
    EXPECT_EQ(classify("iff"), 0);
    EXPECT_EQ(classify("zz"), -1) << "hash 52 lies above the table";
    EXPECT_THROW(table.Add(41, "toolong", 1), EOstHighlighterError);
}

TEST(HashEntryList, ChainsKeepAscendingLengthAndRejectDuplicates)
{
    TOstHashEntryList list;
    list.Add(5, "abcd", 1);
    list.Add(5, "ab", 2);
    list.Add(5, "xyz", 3);
    list.Add(5, "cd", 4);
    std::vector<std::string> chain;
    for (const TOstHashEntry* e = list.Chain(5); e; e = e->Next.get())
        chain.push_back(e->Keyword);
    EXPECT_EQ(chain, (std::vector<std::string>{"ab", "cd", "xyz", "abcd"}));
    EXPECT_EQ(list.Chain(4), nullptr);
    EXPECT_EQ(list.Chain(99), nullptr);
    try {
        list.Add(5, "XYZ", 9);
        FAIL() << "no exception";
    } catch (const EOstHighlighterError& e) {
        EXPECT_STREQ(e.what(), "Keyword \"XYZ\" already in list");
    }
    EXPECT_TRUE(list.Contains(5, "ABCD"));

    const TOstCharValues values = LetterValues(false);
    const std::string word = "CD";
    const TOstHashEntry* found =
        list.Find(5, reinterpret_cast<const unsigned char*>(word.data()), 2, values);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->Kind, 4);
    list.Clear();
    EXPECT_EQ(list.Chain(5), nullptr);
}

TEST(HashEntryList, KeywordStringIsCutIntoIdentifierRuns)
{
    TOstHashEntryList list;
    std::map<std::string, int> hashes{{"select", 1}, {"FROM", 2}, {"x_1", 3}};
    AddKeywords(list, " select, FROM,,x_1 ", 7, CharRange('0', '9') | CharRange('A', 'Z') |
                                                     CharRange('a', 'z') | CharSetOf("_"),
                [&](std::string_view w) { return hashes.at(std::string(w)); });
    ASSERT_NE(list.Chain(1), nullptr);
    EXPECT_EQ(list.Chain(1)->Keyword, "select");
    EXPECT_EQ(list.Chain(2)->Keyword, "FROM");
    EXPECT_EQ(list.Chain(3)->Kind, 7);
    EXPECT_THROW(AddKeywords(list, "from", 1, CharRange('a', 'z'), [](std::string_view) { return 2; }),
                 EOstHighlighterError);
}

// ---- Lexer classes -----------------------------------------------------------------

TEST(HighlighterClasses, RegisteredOnceAndCreatedByLanguage)
{
    TOstHighlighterList& list = TOstHighlighterList::Instance();
    const int before = list.Count();
    RegisterHighlighterClass(LanguageOf(hlHtml)->cls);
    EXPECT_EQ(list.Count(), before);
    ASSERT_NE(list.Find("html"), nullptr);
    EXPECT_STREQ(list.Find("html")->LanguageTitle(), "HTML");

    const auto html = CreateHighlighter("html");
    ASSERT_NE(html, nullptr);
    EXPECT_EQ(html->GetLanguageTitle(), "HTML");
    EXPECT_EQ(CreateHighlighter("cobol"), nullptr);
    for (const char* language : HighlighterLanguages()) {
        if (auto hl = CreateHighlighter(language)) {
            EXPECT_NE(hl->GetLanguageTitle(), TOstCustomHighlighter::LanguageTitle()) << language;
        }
    }
}
