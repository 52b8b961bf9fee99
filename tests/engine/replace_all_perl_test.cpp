// Replace All against Perl's s///g on the same documents: plain text and
// regular expressions, case-sensitive or not, in every selection mode and
// over a line-mode selection, with matches before and after column 2025 of
// lines far longer than the maximum line width. The bytes must agree.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "editor/OstEdit.h"
#include "editor/OstEditRegexSearch.h"
#include "editor/OstEditSearch.h"
#include "support/TestSupport.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

struct Case {
    bool regex = false;
    bool ignoreCase = false;
    TOstSelectionMode mode = smNormal;
    int firstLine = 0;  // a line-mode selection of these lines (from 1); 0 for the whole text
    int lastLine = 0;
    std::string pattern;
    std::string replacement;
    std::vector<std::string> lines;
};

std::string Hex(std::string_view s)
{
    static const char* const digits = "0123456789abcdef";
    std::string out;
    for (const unsigned char c : s) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out.empty() ? "-" : out;
}

std::string Unhex(const std::string& h)
{
    std::string out;
    if (h == "-")
        return out;
    for (size_t i = 0; i + 1 < h.size(); i += 2)
        out += static_cast<char>(std::stoi(h.substr(i, 2), nullptr, 16));
    return out;
}

// Perl substitutes line by line, as the editor's matches never cross a line;
// "$n" in a regular replacement is group n, the plain one is taken as it is.
const char* const kPerlScript = R"PERL(
use strict; use warnings; use bytes;
sub unhex { my $h = shift; return $h eq '-' ? '' : pack('H*', $h); }
while (my $row = <STDIN>) {
    chomp $row;
    my ($regex, $icase, $first, $last, $p, $r, @lines) = split / /, $row;
    my $pat = unhex($p); my $repl = unhex($r);
    my $re = $regex ? ($icase ? qr/(?aa)(?i)$pat/ : qr/(?aa)$pat/) : ($icase ? qr/\Q$pat\E/i : qr/\Q$pat\E/);
    my @out;
    for my $n (0 .. $#lines) {
        my $line = unhex($lines[$n]);
        if ($first == 0 || ($n + 1 >= $first && $n + 1 <= $last)) {
            if ($regex) {
                $line =~ s/$re/my $all = $&; my @g = @{^CAPTURE}; my $x = $repl;
                                $x =~ s{\$(\d)}{ $1 == 0 ? $all : ($g[$1 - 1] \/\/ '') }ge; $x/ge;
            } else {
                $line =~ s/$re/$repl/g;
            }
        }
        push @out, unpack('H*', $line) || '-';
    }
    print join(' ', @out), "\n";
}
)PERL";

std::vector<std::vector<std::string>> RunPerl(const std::vector<Case>& cases)
{
    const TempDir dir;
    const auto script = dir.path() / "replace.pl";
    const auto input = dir.path() / "cases.txt";
    const auto output = dir.path() / "out.txt";
    WriteFile(script, kPerlScript);
    std::string rows;
    for (const Case& c : cases) {
        rows += std::string(c.regex ? "1" : "0") + " " + (c.ignoreCase ? "1" : "0") + " " +
                std::to_string(c.firstLine) + " " + std::to_string(c.lastLine) + " " + Hex(c.pattern) + " " +
                Hex(c.replacement);
        for (const std::string& line : c.lines)
            rows += " " + Hex(line);
        rows += "\n";
    }
    WriteFile(input, rows);
    const std::string cmd = "perl " + script.string() + " < " + input.string() + " > " + output.string();
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    std::vector<std::vector<std::string>> results;
    std::istringstream in(ReadFile(output));
    for (std::string row; std::getline(in, row);) {
        std::istringstream fields(row);
        std::vector<std::string> lines;
        for (std::string field; fields >> field;)
            lines.push_back(Unhex(field));
        results.push_back(std::move(lines));
    }
    return results;
}

class CaseGen {
public:
    explicit CaseGen(unsigned seed) : rng_(seed) {}
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    Case make()
    {
        Case c;
        c.regex = pick(2);
        c.ignoreCase = pick(3) == 0;
        static const TOstSelectionMode kModes[] = {smNormal, smLine, smColumn};
        c.mode = kModes[pick(3)];
        static const char* const kPlain[] = {"ab", "needle", "x.y", "a", "Kot", "ba", "(1)", "$1", "\xb3\xf3"};
        static const char* const kRegex[] = {"[0-9]+", "a(b+)c", "([a-z]+)\\.([a-z]+)", "x|yz", "ab*",
                                             "k[o0]t", "(n)eedle", "[A-Z][a-z]+", "\\(([0-9])\\)"};
        static const char* const kPlainRepl[] = {"", "X", "needle needle", "$1", "ab", "\xbf"};
        static const char* const kRegexRepl[] = {"", "<$1>", "[$2-$1]", "$0$0", "Y", "\xbf$1"};
        c.pattern = c.regex ? kRegex[pick(9)] : kPlain[pick(9)];
        c.replacement = c.regex ? kRegexRepl[pick(6)] : kPlainRepl[pick(6)];
        for (int n = 1 + pick(6); n > 0; --n)
            c.lines.push_back(line());
        if (pick(3) == 0) {
            c.mode = smLine;
            c.firstLine = 1 + pick(static_cast<int>(c.lines.size()));
            c.lastLine = c.firstLine + pick(static_cast<int>(c.lines.size()) - c.firstLine + 1);
        }
        return c;
    }

private:
    // Short lines and long ones, so that matches stand on both sides of
    // column 2025; no blanks at the end, which trimming would take.
    std::string line()
    {
        static const char* const kPieces[] = {"ab",     "abbc", "x.y", "needle", "Kot", "k0t", "12",
                                              "(3)",    "yz",   "aaa", "\xb3\xf3", "AB", "word.end", " "};
        const size_t target = pick(3) == 0 ? 2000 + static_cast<size_t>(pick(3000)) : static_cast<size_t>(pick(40));
        std::string s;
        while (s.size() < target)
            s += kPieces[pick(static_cast<int>(std::size(kPieces)))];
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        return s;
    }

    std::mt19937 rng_;
};

std::vector<std::string> ReplaceAllInEditor(const Case& c)
{
    MemoryClipboard clipboard;
    TOstEdit ed;
    TOstEditSearch plain;
    TOstEditRegexSearch regex;
    ed.SetClipboard(&clipboard);
    TOstEditorOptions options = TCustomOstEdit::TemplateOptions();
    options.exclude(eoTrimTrailingSpaces);
    ed.SetOptions(options);
    ed.SetMaxLineWidth(2024);
    ed.SetSearchEngine(c.regex ? static_cast<TOstEditSearchCustom*>(&regex) : &plain);
    std::string text;
    for (const std::string& line : c.lines)
        text += line + "\r\n";
    ed.Lines().LoadFromBytes(text);
    ed.SetSelectionMode(c.mode);
    TOstSearchOptions search = ssoReplaceAll | ssoEntireScope;
    if (!c.ignoreCase)
        search |= ssoMatchCase;
    if (c.firstLine > 0) {
        ed.SetCaretXY({1, c.firstLine});
        ed.SetBlockBegin({1, c.firstLine});
        ed.SetBlockEnd({2, c.lastLine});
        search |= ssoSelectedOnly;
    }
    ed.SearchReplace(c.pattern, c.replacement, search);
    std::vector<std::string> lines;
    for (int i = 0; i < ed.Lines().Count(); ++i)
        lines.emplace_back(ed.Lines().Get(i));
    // Undo gives the document back as it was.
    ed.Undo();
    EXPECT_EQ(ed.Lines().Text(), text);
    return lines;
}

}  // namespace

TEST(ReplaceAllAgainstPerl, SameBytesInEveryModeBeforeAndBeyondTheMaximumWidth)
{
    std::vector<Case> cases;
    for (unsigned seed = 1; seed <= 400; ++seed)
        cases.push_back(CaseGen(seed).make());
    const std::vector<std::vector<std::string>> expected = RunPerl(cases);
    ASSERT_EQ(expected.size(), cases.size());
    int beyondWidth = 0;
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const std::vector<std::string> got = ReplaceAllInEditor(c);
        ASSERT_EQ(got, expected[i]) << "case " << i << (c.regex ? " regex " : " plain ") << c.pattern << " -> "
                                    << c.replacement << " mode " << c.mode << " icase " << c.ignoreCase
                                    << " lines " << c.firstLine << ".." << c.lastLine;
        for (size_t l = 0; l < c.lines.size(); ++l)
            if (c.lines[l].size() > 2100 && c.lines[l].substr(2025) != expected[i][l].substr(std::min<size_t>(2025, expected[i][l].size())))
                ++beyondWidth;
    }
    // The comparison means something only where replacements happened far out.
    EXPECT_GT(beyondWidth, 20);
}
