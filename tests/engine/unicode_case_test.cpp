// Case mappings and the regular-expression classes of Unicode characters.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "platform/UnicodeCase.h"
#include "support/RegexPerlChecks.h"

using namespace ostrel;

TEST(UnicodeCase, SimpleMappingsAndFoldingOfSeveralScripts)
{
    const std::u32string lower = U"zażółć gęślą jaźń σωжя", upper = U"ZAŻÓŁĆ GĘŚLĄ JAŹŃ ΣΩЖЯ";
    for (std::size_t i = 0; i < lower.size(); ++i) {
        EXPECT_EQ(unicode::SimpleUpper(lower[i]), upper[i]);
        EXPECT_EQ(unicode::SimpleLower(upper[i]), lower[i]);
        EXPECT_EQ(unicode::SimpleFold(upper[i]), lower[i]);
    }
    EXPECT_EQ(unicode::SimpleFold(U'ς'), U'σ');
    EXPECT_EQ(unicode::SimpleFold(0x212A), U'k');  // the Kelvin sign
    EXPECT_EQ(unicode::SimpleFold(U'ß'), U'ß') << "no simple folding to \"ss\"";
    EXPECT_EQ(unicode::SimpleFold(0x1E9E), U'ß');
    EXPECT_EQ(unicode::SimpleFold(0x130), 0x130u) << "the Turkish dotted capital I keeps to itself";
    EXPECT_EQ(unicode::SimpleUpper(U'ı'), U'I');
    const auto partners = unicode::FoldPartners(U'k');
    EXPECT_EQ(std::set<char32_t>(partners.begin(), partners.end()), (std::set<char32_t>{U'k', U'K', 0x212A}));
    EXPECT_TRUE(unicode::FoldPartners(U'中').empty());
    const auto pairs = unicode::FoldingPairs();
    EXPECT_TRUE(std::is_sorted(pairs.begin(), pairs.end()));
    EXPECT_TRUE(std::binary_search(pairs.begin(), pairs.end(), std::pair<char32_t, char32_t>(U'Ż', U'ż')));
}

// \w, \d and \s agree with Perl's on every code point Perl's Unicode
// database has assigned (the newest characters aside, should the two
// databases be of different versions).
TEST(UnicodeCase, RegexClassesAgreeWithPerlOnEveryAssignedCodePoint)
{
    const char* script = R"PERL(
no warnings;
for my $c (0 .. 0x3FFFF) {
    next if $c >= 0xD800 && $c <= 0xDFFF;
    my $s = chr($c);
    next unless $s =~ /\p{Assigned}/;
    next unless $s =~ /\p{Present_In: 14.0}/;
    printf "%x %d%d%d\n", $c, ($s =~ /\w/u) ? 1 : 0, ($s =~ /\d/u) ? 1 : 0, ($s =~ /\s/u) ? 1 : 0;
}
)PERL";
    const std::vector<std::string> lines = test::RunPerl(script, "");
    ASSERT_GT(lines.size(), 100000u);
    int mismatches = 0;
    for (const std::string& line : lines) {
        std::istringstream in(line);
        unsigned cp = 0;
        std::string flags;
        in >> std::hex >> cp >> flags;
        const std::string ours = std::string(unicode::IsRegexWord(cp) ? "1" : "0") +
                                 (unicode::IsRegexDigit(cp) ? "1" : "0") + (unicode::IsRegexSpace(cp) ? "1" : "0");
        if (ours != flags && ++mismatches <= 10)
            ADD_FAILURE() << std::hex << "U+" << cp << " ours " << ours << " perl " << flags;
    }
    EXPECT_EQ(mismatches, 0);
}
