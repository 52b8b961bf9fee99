#pragma once
// TOstRegex: the regular-expression engine behind the editor's regex search and
// replace. A pattern is compiled once into a compact node program and matched by
// backtracking over bytes in the ANSI code page (Windows-1250), or in UTF-8 mode
// over the characters of UTF-8 text (code points; each byte of no valid sequence
// is a character of its own), offsets staying bytes. The matcher keeps its
// backtracking state on the heap, so a long subject cannot exhaust the machine
// stack; a match that would need too much of that state, or more steps than the
// length of its subject allows, fails with an EOstRegex error instead.

#include <array>
#include <cstddef>
#include <functional>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/TextEncoding.h"

namespace ostrel {

// Error codes of EOstRegex. Codes below 1000 come from compiling, the others
// from running.
enum TOstRegexError : int {
    reeOk = 0,
    reeCompNullArgument = 100,
    reeCompRegexpTooBig = 101,
    reeCompParseRegTooManyBrackets = 102,
    reeCompParseRegUnmatchedBrackets = 103,
    reeCompParseRegUnmatchedBrackets2 = 104,
    reeCompParseRegJunkOnEnd = 105,
    reePlusStarOperandCouldBeEmpty = 106,
    reeNestedSQP = 107,
    reeBadHexDigit = 108,
    reeInvalidRange = 109,
    reeParseAtomTrailingBackSlash = 110,
    reeNoHexCodeAfterBSlashX = 111,
    reeHexCodeAfterBSlashXTooBig = 112,
    reeUnmatchedSqBrackets = 113,
    reeInternalUrp = 114,
    reeQPSBFollowsNothing = 115,
    reeTrailingBackSlash = 116,
    reeRarseAtomInternalDisaster = 119,
    reeBRACESArgTooBig = 122,
    reeBracesMinParamGreaterMax = 124,
    reeUnclosedComment = 125,
    reeUnrecognizedModifier = 127,
    reeBadLinePairedSeparator = 128,
    reeRegRepeatCalledInappropriately = 1000,
    reeMatchPrimMemoryCorruption = 1001,
    reeMatchPrimCorruptedPointers = 1002,
    reeNoExpression = 1003,
    reeCorruptedProgram = 1004,
    reeNoInputStringSpecified = 1005,
    reeOffsetMustBeGreaterThen0 = 1006,
    reeExecNextWithoutExec = 1007,
    reeGetInputStringWithoutInputString = 1008,
    reeLoopStackExceeded = 1014,
    reeLoopWithoutEntry = 1015,
    // Raised instead of exhausting memory or running forever on a match that
    // needs an unbounded number of saved alternatives.
    reeBacktrackLimitExceeded = 1016,
    // Raised when a search takes more steps than its subject's length allows
    // (patterns whose matching time grows exponentially or quadratically).
    reeStepLimitExceeded = 1017,
    // Raised when the interrupt check said the search is to end.
    reeInterrupted = 1018,
};

// Thrown by TOstRegex. The position is the parse offset in the pattern for
// compile errors and 0 otherwise.
class EOstRegex : public std::runtime_error {
public:
    EOstRegex(int code, std::ptrdiff_t compilerPos);
    int ErrorCode() const { return code_; }
    std::ptrdiff_t CompilerErrorPos() const { return pos_; }

private:
    int code_;
    std::ptrdiff_t pos_;
};

// Modifier bits; each has its letter in the pattern syntax "(?imsrgx-imsrgx)".
enum TOstRegexModifier : int {
    rmI = 1,   // i: ignore case
    rmR = 2,   // r: extended Cyrillic ranges
    rmS = 4,   // s: '.' also matches line separators
    rmG = 8,   // g: quantifiers are greedy
    rmM = 16,  // m: '^' and '$' match at line breaks
    rmX = 32,  // x: blanks and '#' comments in the pattern are ignored
};
inline constexpr int kRegexDefaultModifiers = rmR | rmS | rmG;

namespace regex_detail {
struct Program;
struct MatchScratch;
}

class TOstRegex {
public:
    static constexpr int kSlotCount = 15;  // slot 0 is the whole match, 1-14 the groups

    TOstRegex();
    ~TOstRegex();
    TOstRegex(const TOstRegex&) = delete;
    TOstRegex& operator=(const TOstRegex&) = delete;
    TOstRegex(TOstRegex&&) noexcept;
    TOstRegex& operator=(TOstRegex&&) noexcept;

    const std::string& Expression() const { return expression_; }
    void SetExpression(std::string_view expression);

    bool Modifier(TOstRegexModifier m) const { return (modifiers_ & m) != 0; }
    void SetModifier(TOstRegexModifier m, bool on);
    int ModifierMask() const { return modifiers_; }
    void SetModifierMask(int mask);
    // "irsgmx" letters that are on, then '-' and the letters that are off.
    std::string ModifierStr() const;
    // Letters switch modifiers on, letters after '-' switch them off; the others
    // keep their state. An unknown letter raises reeUnrecognizedModifier.
    void SetModifierStr(std::string_view letters);

    // UTF-8 mode: literals, '.', sets and classes take whole characters,
    // \w \d \s \b follow the Unicode classes and 'i' the simple case folding.
    bool Utf8Mode() const { return utf8_; }
    void SetUtf8Mode(bool on);
    // The mode of a document's encoding: UTF-8 mode for the UTF family, the
    // single-byte mode with the code page's case tables for the others.
    void SetEncoding(TOstEncoding encoding);

    // Asked every million or so steps of a search; returning true ends the
    // search with reeInterrupted. Empty: never asked.
    void SetInterruptCheck(std::function<bool()> check);

    const std::string& LineSeparators() const { return lineSeparators_; }
    void SetLineSeparators(std::string_view separators);
    // Two different characters forming one line break together, or "" for none.
    std::string LinePairedSeparator() const;
    void SetLinePairedSeparator(std::string_view pair);

    // Compiles now rather than at the next run, to report pattern errors early.
    void Compile();

    bool Exec(std::string_view input);
    bool ExecFrom(std::ptrdiff_t offset);  // 1-based
    bool ExecNext();

    bool HasInput() const { return hasInput_; }
    const std::string& InputString() const;

    // 1-based start and the length of a slot; -1 when the slot did not match.
    std::ptrdiff_t MatchPos(int slot) const;
    std::ptrdiff_t MatchLen(int slot) const;
    std::string Match(int slot) const;
    // The highest group number that matched, 0 for none, -1 without a match.
    int SubExprMatchCount() const;

    // Expands "$1", "${12}", "$&", "${&}" and "\x" (x taken literally).
    std::string Substitute(std::string_view templ) const;
    // The input with every match replaced, as a template when useSubstitution.
    std::string Replace(std::string_view input, std::string_view replacement,
                        bool useSubstitution);

    // The code of the last failure, cleared by reading.
    int LastError();
    static std::string ErrorMsg(int code);

private:
    void ensureCompiled();
    bool searchFrom(std::size_t start);
    [[noreturn]] void fail(int code);

    std::string expression_;
    int modifiers_ = kRegexDefaultModifiers;
    bool utf8_ = false;
    TOstEncoding page_ = TOstEncoding::Windows1250;  // in single-byte mode
    std::string lineSeparators_ = "\r\n";
    bool hasPair_ = true;
    unsigned char pairHead_ = '\r';
    unsigned char pairTail_ = '\n';

    std::unique_ptr<regex_detail::Program> program_;
    std::unique_ptr<regex_detail::MatchScratch> scratch_;

    std::string input_;
    bool hasInput_ = false;
    std::array<std::ptrdiff_t, kSlotCount> starts_{};
    std::array<std::ptrdiff_t, kSlotCount> ends_{};
    bool matched_ = false;
    int lastError_ = reeOk;
};

}  // namespace ostrel
