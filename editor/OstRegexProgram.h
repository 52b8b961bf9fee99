#pragma once
// The compiled form of a TOstRegex pattern, shared by its compiler and its
// matcher. Not part of the engine's public interface.
//
// Layout: the check byte, then nodes. A node is an opcode byte, a 32-bit offset
// to the next node relative to the node itself (0: none), and the operand.

#include <array>
#include <cstdint>
#include <functional>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"

namespace ostrel::regex_detail {

inline constexpr uint8_t kCheckByte = 216;
inline constexpr int kMaxGroups = 15;  // slot 0 plus 14 capturing groups
inline constexpr int kLoopStackSize = 10;
inline constexpr int32_t kMaxBracesArg = 2147483646;

enum Op : uint8_t {
    opEnd,
    opBol,            // start of input
    opEol,            // end of input
    opAny,            // any character
    opAnyMl,          // any character but a line break
    opBolMl,          // start of a line
    opEolMl,          // end of a line
    opExactly,        // operand: 32-bit length, the characters
    opExactlyCi,      // the same, ignoring case
    opAnyOfTiny,      // operand: 3 characters
    opAnyButTiny,     // operand: 3 characters
    opAnyOfFull,      // operand: 32-byte bitmap
    opAnyDigit,
    opNotDigit,
    opBound,
    opNotBound,
    opBackref,        // operand: group number byte
    opBackrefCi,
    opBranch,         // the alternative follows the node
    opBack,           // next points backwards
    opNothing,
    opComment,
    opOpen,           // operand: group number byte
    opClose,
    opStar,           // operand: the single-character node
    opPlus,
    opStarNg,
    opPlusNg,
    opBraces,         // operand: min, max (32-bit), then the single-character node
    opBracesNg,
    opLoopEntry,
    opLoop,           // operand: min, max, offset back to the body (32-bit each)
    opLoopNg,
    opSetUtf8,        // a set of code points in UTF-8 mode; operand: see Utf8Set
};

inline constexpr int kNodeHeader = 5;

inline int32_t ReadI32(const uint8_t* p)
{
    int32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void WriteI32(uint8_t* p, int32_t v) { std::memcpy(p, &v, sizeof v); }

using CharSet = std::array<uint64_t, 4>;
inline bool InSet(const CharSet& s, unsigned char c) { return (s[c >> 6] >> (c & 63)) & 1u; }
inline void AddToSet(CharSet& s, unsigned char c) { s[c >> 6] |= uint64_t(1) << (c & 63); }

// Character classes fixed by the engine.
inline constexpr std::string_view kSpaceChars = " \t\n\r\f";
inline constexpr std::string_view kWordChars =
    "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_";

// The operand of opSetUtf8: the flags, the answers for the characters of one
// and two bytes (Latin, Greek, Cyrillic) and for each invalid byte worked out
// in advance, then the sorted code-point ranges (folded ones when the set
// ignores case) for the rest.
namespace utf8set {
inline constexpr int kFlags = 0;
inline constexpr int kAscii = 1;        // 128 bits
inline constexpr int kInvalid = 17;     // 256 bits
inline constexpr int kSmall = 49;       // 2048 bits, by code point (U+0000 to U+07FF)
inline constexpr int kRangeCount = 305; // 32-bit count, then pairs of 32-bit bounds
inline constexpr int kRanges = 309;
inline constexpr char32_t kSmallEnd = 0x800;
enum Flag : uint8_t { negated = 1, folded = 2, word = 4, digit = 8, space = 16 };
}  // namespace utf8set

struct Program {
    std::vector<uint8_t> code;
    int modifiers = 0;         // the modifiers it was compiled with
    bool utf8 = false;         // characters are UTF-8 sequences, not bytes
    // Single-byte mode: each byte's other case in the text's code page.
    std::array<unsigned char, 256> otherCase{};
    int groupCount = 0;        // capturing groups, at most 14
    // Line breaks it was compiled for.
    CharSet separators{};
    bool hasPair = false;
    unsigned char pairHead = 0;
    unsigned char pairTail = 0;
    // Search shortcuts.
    std::array<uint8_t, 256> firstChars{};  // 1 for the characters a match can begin with
    bool anyFirstChar = true;  // no filter: the match may begin anywhere, or be empty
    std::string firstLiteral;  // the literal every match begins with
    bool anchored = false;     // only the start position can match
    std::size_t minLength = 0; // the fewest characters a match takes
    std::string mustContain;   // a literal every match contains
    // When every match begins with one of a few literals of two or more
    // characters: a bit for each possible pair of first characters.
    std::vector<uint64_t> firstPairs;

    uint8_t op(int node) const { return code[node]; }
    int next(int node) const
    {
        const int32_t off = ReadI32(&code[node + 1]);
        return off == 0 ? 0 : node + off;
    }
    static int operand(int node) { return node + kNodeHeader; }
};

// Line-break settings the program depends on.
struct LineBreaks {
    std::string_view separators;
    bool hasPair = false;
    unsigned char head = 0;
    unsigned char tail = 0;
};

// Compiles a pattern or throws EOstRegex; in UTF-8 mode the pattern and the
// subjects are UTF-8 and a character is a code point (or an invalid byte).
Program Compile(std::string_view pattern, int modifiers, const LineBreaks& breaks, bool utf8,
                const codepage::TCodePage& page);

// Whether a code point (valid) or an invalid byte (cp holds its value) is in
// an opSetUtf8 set, by its operand.
bool InUtf8Set(const uint8_t* operand, char32_t cp, bool valid);

// Fills the search shortcuts of a compiled program; startsWithRepeat tells
// that its first piece is a '*' or '+' repeat.
void ComputeShortcuts(Program& prog, bool startsWithRepeat);

// Case inversion through a code page's tables: the upper-case form, or the
// lower-case form when the character has no different upper-case form.
std::array<unsigned char, 256> OtherCaseTable(const codepage::TCodePage& page);

using Slots = std::array<std::ptrdiff_t, kMaxGroups>;

// An alternative still to try, and a logged register change.
struct Choice {
    std::size_t pos;
    uint32_t trailMark;
    int32_t node;
    int32_t count;  // repetitions so far, for the repeat kinds
    uint8_t kind;
};
struct Undo {
    int32_t reg;
    std::ptrdiff_t old;
};

// The matcher's stacks, kept between runs so that their memory is reused;
// what an unusually deep match took is given back afterwards.
struct MatchScratch {
    std::vector<Choice> choices;
    std::vector<Undo> trail;
    // Asked now and then during a long search; true ends it with reeInterrupted.
    std::function<bool()> interrupted;

    void releaseIfLarge()
    {
        constexpr std::size_t kKeep = 1 << 16;
        if (choices.capacity() > kKeep)
            std::vector<Choice>().swap(choices);
        if (trail.capacity() > kKeep)
            std::vector<Undo>().swap(trail);
    }
};

// Finds the first match starting at or after `start` and fills the slots
// (0-based offsets, -1 for none); throws EOstRegex for run-time errors.
bool Search(const Program& program, std::string_view input, std::size_t start,
            MatchScratch& scratch, Slots& starts, Slots& ends);

}  // namespace ostrel::regex_detail
