#include "support/LexerChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "editor/OstEditTextBuffer.h"
#include "support/HighlighterChecks.h"
#include "support/TestSupport.h"

namespace ostrel::test {

std::ostream& operator<<(std::ostream& out, const LexToken& t)
{
    return out << "{\"" << t.text << "\", " << t.kind << '}';
}

LexTokens LexLine(TOstCustomHighlighter& hl, std::string_view line, intptr_t state)
{
    hl.RestoreLineState(state);
    hl.StartLine(line, 0);
    LexTokens tokens;
    for (; !hl.AtLineEnd(); hl.NextToken())
        tokens.push_back({hl.TokenText(), hl.TokenKind()});
    return tokens;
}

intptr_t StateAfterLine(TOstCustomHighlighter& hl, std::string_view line, intptr_t state)
{
    hl.RestoreLineState(state);
    hl.StartLine(line, 0);
    hl.SkipToLineEnd();
    return hl.LineState();
}

std::vector<LexedLine> LexLines(TOstCustomHighlighter& hl, const std::vector<std::string>& lines)
{
    std::vector<LexedLine> out;
    hl.ClearLineState();
    for (size_t i = 0; i < lines.size(); ++i) {
        LexedLine lexed;
        hl.StartLine(lines[i], static_cast<int>(i));
        for (; !hl.AtLineEnd(); hl.NextToken())
            lexed.tokens.push_back({hl.TokenText(), hl.TokenKind()});
        lexed.state = hl.LineState();
        out.push_back(std::move(lexed));
    }
    return out;
}

std::vector<std::string> BufferLines(const std::string& bytes)
{
    TOstEditStringList buffer;
    buffer.LoadFromBytes(bytes);
    std::vector<std::string> lines;
    for (int i = 0; i < buffer.Count(); ++i)
        lines.emplace_back(buffer.Get(i));
    return lines;
}

std::string WithLf(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string WithCrLf(std::string_view text)
{
    std::string out;
    for (const char c : WithLf(text)) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

std::vector<std::vector<std::string>> GeneratedDocuments(const std::vector<std::string>& pieces,
                                                         unsigned seed, int documents, int lineCount,
                                                         int maxPieces)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, maxPieces);
    std::vector<std::vector<std::string>> out;
    for (int d = 0; d < documents; ++d) {
        std::vector<std::string> lines(static_cast<size_t>(lineCount));
        for (std::string& line : lines)
            for (int n = length(rng); n > 0; --n)
                line += pieces[pick(rng)];
        out.push_back(std::move(lines));
    }
    return out;
}

std::vector<std::string> DataFiles(const std::string& folder, const std::string& extension)
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(OSTREL_TEST_DATA) + "/" + folder))
        if (entry.path().extension() == extension)
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

namespace {

// One line's tokens as (start, length, kind), checked as they come.
struct Span {
    int start;
    int length;
    int kind;
    friend bool operator==(const Span&, const Span&) = default;
};

std::vector<Span> SpansOfLine(const LexerFacts& facts, TOstCustomHighlighter& hl, const std::string& line,
                              const std::string& where)
{
    std::vector<Span> spans;
    int pos = 0;
    const size_t most = 2 * line.size() + 4;
    for (; !hl.AtLineEnd(); hl.NextToken()) {
        if (spans.size() > most) {
            ADD_FAILURE() << where << ": no progress at " << pos;
            return spans;
        }
        const int kind = hl.TokenKind();
        EXPECT_EQ(hl.TokenStart(), pos) << where;
        EXPECT_GE(hl.TokenLength(), 0) << where;
        EXPECT_TRUE(kind >= 0 && kind < facts.kindCount && kind != facts.endOfLineKind)
            << where << ": kind " << kind;
        if (kind >= 0 && kind < facts.kindCount) {
            EXPECT_EQ(hl.TokenAttribute(), facts.attributeOfKind(hl, kind)) << where << ": kind " << kind;
        }
        spans.push_back({hl.TokenStart(), hl.TokenLength(), kind});
        pos = hl.TokenStart() + std::max(hl.TokenLength(), 0);
    }
    EXPECT_EQ(hl.TokenKind(), facts.endOfLineKind) << where;
    EXPECT_EQ(pos, static_cast<int>(line.size())) << where << ": the tokens do not cover the line";
    return spans;
}

}  // namespace

void ExpectLexingConsistent(const LexerFacts& facts, const std::vector<std::string>& lines,
                            const std::string& what, intptr_t firstState)
{
    const auto straight = facts.make();
    const auto restarted = facts.make();
    straight->RestoreLineState(firstState);
    intptr_t stored = firstState;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string where = what + ", line " + std::to_string(i + 1);
        straight->StartLine(lines[i], static_cast<int>(i));
        const std::vector<Span> expected = SpansOfLine(facts, *straight, lines[i], where);
        restarted->RestoreLineState(stored);
        restarted->StartLine(lines[i], static_cast<int>(i));
        const std::vector<Span> again = SpansOfLine(facts, *restarted, lines[i], where + " (restarted)");
        if (again != expected || restarted->LineState() != straight->LineState()) {
            ADD_FAILURE() << where << ": lexing from the stored state differs from lexing straight through";
            return;
        }
        if (::testing::Test::HasFailure())
            return;
        stored = straight->LineState();
    }
}

void ExpectGeneratedDocumentsConsistent(const LexerFacts& facts, const std::vector<std::string>& pieces, unsigned seed,
                                        int documents, intptr_t firstState, int maxPieces)
{
    int n = 0;
    for (const auto& doc : GeneratedDocuments(pieces, seed, documents, 8, maxPieces))
        ExpectLexingConsistent(facts, doc, "generated document " + std::to_string(n++), firstState);
}

void ExpectLineBreakStyleIrrelevant(const LexerFacts& facts, const std::string& bytes, const std::string& what)
{
    const auto a = facts.make();
    const auto b = facts.make();
    const auto crlf = LexLines(*a, BufferLines(WithCrLf(bytes)));
    const auto lf = LexLines(*b, BufferLines(WithLf(bytes)));
    ASSERT_EQ(crlf.size(), lf.size()) << what;
    for (size_t i = 0; i < lf.size(); ++i) {
        EXPECT_EQ(crlf[i].tokens, lf[i].tokens) << what << ", line " << i + 1;
        EXPECT_EQ(crlf[i].state, lf[i].state) << what << ", line " << i + 1;
    }
}

void ExpectAllBytesCovered(const LexerFacts& facts, const std::vector<intptr_t>& states)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    std::string reversed(all.rbegin(), all.rend());
    for (const intptr_t state : states)
        ExpectLexingConsistent(facts, {all, reversed, all}, "all bytes from state " + std::to_string(state), state);
}

std::vector<std::string> ExpectDataFilesConsistent(const LexerFacts& facts, const std::string& folder,
                                                   const std::vector<std::string>& extensions, size_t minFiles,
                                                   intptr_t firstState)
{
    std::vector<std::string> files;
    for (const std::string& extension : extensions)
        for (const std::string& file : DataFiles(folder, extension)) {
            files.push_back(file);
            const std::string bytes = ReadFile(file);
            ExpectLexingConsistent(facts, BufferLines(WithCrLf(bytes)), file, firstState);
            ExpectLineBreakStyleIrrelevant(facts, bytes, file);
        }
    EXPECT_GE(files.size(), minFiles) << "sample files in tests/data/" << folder;
    return files;
}

void ExpectIncrementalStatesExact(const LexerFacts& facts, const std::string& file, unsigned seeds, int edits)
{
    const auto hl = facts.make();
    const std::string doc = ReadFile(std::string(OSTREL_TEST_DATA) + "/" + file);
    for (unsigned seed = 1; seed <= seeds; ++seed)
        EXPECT_EQ(CountIncrementalStateMismatches(*hl, doc, seed, edits), 0) << file << ", seed " << seed;
}

}  // namespace ostrel::test
