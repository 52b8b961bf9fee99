#pragma once
// Helpers shared by the lexer tests: lexing a line or a document into
// (text, kind) tokens, splitting bytes into lines as the text buffer does,
// seeded generated documents, and the properties every lexer must keep:
// the tokens of a line are contiguous from 0 and cover it exactly, each comes
// with the attribute of its kind, and lexing a line from the state stored for
// the line above gives what lexing the document straight through gave.

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "highlighters/OstEditHighlighter.h"

namespace ostrel::test {

struct LexToken {
    std::string text;
    int kind = 0;
    friend bool operator==(const LexToken&, const LexToken&) = default;
};
std::ostream& operator<<(std::ostream& out, const LexToken& t);
using LexTokens = std::vector<LexToken>;

// The tokens of one line lexed from the given state (the end-of-line token
// not included).
LexTokens LexLine(TOstCustomHighlighter& hl, std::string_view line, intptr_t state);
// The state the line leaves when lexed from the given state.
intptr_t StateAfterLine(TOstCustomHighlighter& hl, std::string_view line, intptr_t state);

// A fresh lexer of the class for every line: lex("text") lexes from the
// class's first state, lex("text", state) from another.
template <class THighlighter>
struct FreshLexer {
    intptr_t firstState = 0;
    LexTokens operator()(std::string_view line) const { return (*this)(line, firstState); }
    LexTokens operator()(std::string_view line, intptr_t state) const
    {
        THighlighter hl;
        return LexLine(hl, line, state);
    }
};

// The same for the state a line leaves: stateAfter("text"), stateAfter("text", state).
template <class THighlighter>
struct FreshStateAfter {
    intptr_t firstState = 0;
    intptr_t operator()(std::string_view line) const { return (*this)(line, firstState); }
    intptr_t operator()(std::string_view line, intptr_t state) const
    {
        THighlighter hl;
        return StateAfterLine(hl, line, state);
    }
};

struct LexedLine {
    LexTokens tokens;
    intptr_t state = 0;
};
// The lines from the lexer's initial state, each from the state the line
// above left, as the editor's full pass does.
std::vector<LexedLine> LexLines(TOstCustomHighlighter& hl, const std::vector<std::string>& lines);

// The lines the text buffer makes of the bytes.
std::vector<std::string> BufferLines(const std::string& bytes);
// The bytes with every line break written as CR LF, and as LF.
std::string WithCrLf(std::string_view text);
std::string WithLf(std::string_view text);

// Seeded documents of `lineCount` lines, each line up to `maxPieces` pieces
// picked at random.
std::vector<std::vector<std::string>> GeneratedDocuments(const std::vector<std::string>& pieces,
                                                         unsigned seed, int documents, int lineCount,
                                                         int maxPieces);
// The files of tests/data/<folder> with the extension, sorted by name.
std::vector<std::string> DataFiles(const std::string& folder, const std::string& extension);

// What the property checks need to know of a lexer.
struct LexerFacts {
    std::function<std::unique_ptr<TOstCustomHighlighter>()> make;
    int endOfLineKind = 0;
    int kindCount = 0;
    // The attribute each token kind must come with.
    std::function<TOstHighlighterAttributes*(const TOstCustomHighlighter&, int kind)> attributeOfKind;
};

// The facts of a lexer class from its end-of-line kind and the attribute
// member of each token kind (none for the end of line), in kind order.
template <class THighlighter>
LexerFacts FactsOf(int endOfLineKind, std::vector<TOstHighlighterAttributes* const THighlighter::*> byKind)
{
    const int kindCount = static_cast<int>(byKind.size());
    return {[] { return std::make_unique<THighlighter>(); }, endOfLineKind, kindCount,
            [byKind = std::move(byKind)](const TOstCustomHighlighter& base, int kind) -> TOstHighlighterAttributes* {
                const auto member = byKind.at(static_cast<size_t>(kind));
                return member ? static_cast<const THighlighter&>(base).*member : nullptr;
            }};
}

// Lexes the lines straight through from `firstState` with one lexer and
// checks each line's tokens (contiguous from 0, covering the line, kinds in
// range and not the end-of-line kind, the attribute of the kind, progress)
// and that a second lexer restarted at every line from the stored state of
// the line above yields the same tokens and state. Reports through GoogleTest.
void ExpectLexingConsistent(const LexerFacts& facts, const std::vector<std::string>& lines,
                            const std::string& what, intptr_t firstState);
// Seeded documents of eight lines, each of up to `maxPieces` pieces picked at
// random, lex consistently from `firstState`.
void ExpectGeneratedDocumentsConsistent(const LexerFacts& facts, const std::vector<std::string>& pieces, unsigned seed,
                                        int documents, intptr_t firstState, int maxPieces = 20);
// The same document with CR LF and with LF line breaks lexes alike.
void ExpectLineBreakStyleIrrelevant(const LexerFacts& facts, const std::string& bytes, const std::string& what);
// All byte values 1 to 255 on a few lines, lexed from each of the states.
void ExpectAllBytesCovered(const LexerFacts& facts, const std::vector<intptr_t>& states);
// Every file of tests/data/<folder> with one of the extensions (at least
// `minFiles` of them) lexes consistently with CR LF and with LF breaks.
// Returns the files, extension by extension, each sorted by name.
std::vector<std::string> ExpectDataFilesConsistent(const LexerFacts& facts, const std::string& folder,
                                                   const std::vector<std::string>& extensions, size_t minFiles,
                                                   intptr_t firstState);
// The line states an editor keeps for tests/data/<file> through `edits`
// seeded random edits equal a full rescan after every edit, for the seeds 1
// to `seeds`.
void ExpectIncrementalStatesExact(const LexerFacts& facts, const std::string& file, unsigned seeds = 3,
                                  int edits = 150);

}  // namespace ostrel::test
