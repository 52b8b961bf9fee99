// The TOstRegex matcher: depth-first backtracking over the node program, in
// the order of a recursive matcher (branches in order, greedy counts from the
// longest, lazy ones from the shortest), but with the alternatives still to try
// kept on a heap stack. Every change to the group slots and the loop stack is
// logged, so going back to an alternative undoes exactly what was done since.

#include <algorithm>
#include <cstring>

#include "editor/OstRegex.h"
#include "editor/OstRegexProgram.h"
#include "platform/UnicodeCase.h"
#include "platform/Utf8.h"

namespace ostrel::regex_detail {
namespace {

// Saved alternatives and logged changes beyond these limits end the match
// with reeBacktrackLimitExceeded (about 200 MB together). A repeated group
// costs one or two alternatives and three changes per repetition.
constexpr std::size_t kMaxChoices = 4'000'000;
constexpr std::size_t kMaxTrail = 8'000'000;

// A search may take this many steps for each byte of the subject from its
// start on, and a few million more, before it ends with reeStepLimitExceeded:
// far more than any linear match needs, yet an exponential one (nested
// repeats failing at the end) or a quadratic one (a long repeat tried from
// each position) stops within a fraction of a second. A step is a node
// visited, an alternative taken back, or a character a repeat looks at.
constexpr uint64_t kStepsPerByte = 32;
constexpr uint64_t kStepsBase = 4'000'000;
// How often the interrupt check is asked.
constexpr uint64_t kInterruptInterval = 1 << 20;

// Registers: group starts and ends, the start of a group that is open, the
// loop-stack depth and the loop counters.
constexpr int kRegStart = 0;
constexpr int kRegEnd = kRegStart + kMaxGroups;
constexpr int kRegPending = kRegEnd + kMaxGroups;
constexpr int kRegLoopDepth = kRegPending + kMaxGroups;
constexpr int kRegLoopCounter = kRegLoopDepth + 1;  // + level (1 to 10)
constexpr int kRegCount = kRegLoopCounter + kLoopStackSize + 1;

enum ChoiceKind : uint8_t { ckBranch, ckGreedyRepeat, ckLazyRepeat, ckLoopExit, ckLoopIterate };

[[noreturn]] void ExecError(int code) { throw EOstRegex(code, 0); }

bool IsWordChar(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

class Matcher {
public:
    Matcher(const Program& prog, std::string_view input, MatchScratch& scratch, uint64_t stepBudget)
        : prog_(prog), text_(input), in_(reinterpret_cast<const unsigned char*>(input.data())),
          len_(input.size()), utf8_(prog.utf8), choices_(scratch.choices), trail_(scratch.trail),
          interrupted_(scratch.interrupted), stepsLeft_(stepBudget)
    {
        // Groups are reset by run() as far as the program has them; the loop
        // counters are read before their first change, so start them defined.
        std::fill(regs_.begin() + kRegLoopCounter, regs_.end(), 0);
    }

    bool matchAt(std::size_t start, Slots& starts, Slots& ends);
    // Whether a character starts at pos (always so in single-byte mode).
    bool startsChar(std::size_t pos) const;

private:
    void spend(uint64_t steps)
    {
        if (steps > stepsLeft_)
            ExecError(reeStepLimitExceeded);
        const uint64_t before = stepsLeft_;
        stepsLeft_ -= steps;
        if (interrupted_ && before / kInterruptInterval != stepsLeft_ / kInterruptInterval && interrupted_())
            ExecError(reeInterrupted);
    }
    bool run(std::size_t start, std::size_t& end);
    bool backtrack(int& node, std::size_t& pos);

    // ---- registers
    void setReg(int reg, std::ptrdiff_t value)
    {
        if (regs_[reg] == value)
            return;
        if (!choices_.empty()) {  // without a saved alternative nobody will undo it
            if (trail_.size() >= kMaxTrail)
                ExecError(reeBacktrackLimitExceeded);
            trail_.push_back({reg, regs_[reg]});
        }
        regs_[reg] = value;
    }
    void undoTo(std::size_t mark)
    {
        while (trail_.size() > mark) {
            regs_[trail_.back().reg] = trail_.back().old;
            trail_.pop_back();
        }
    }
    void pushChoice(ChoiceKind kind, int node, std::size_t pos, int64_t count = 0)
    {
        if (choices_.size() >= kMaxChoices)
            ExecError(reeBacktrackLimitExceeded);
        choices_.push_back({pos, static_cast<uint32_t>(trail_.size()), node,
                            static_cast<int32_t>(count), kind});
    }

    // ---- single characters
    bool matchesChar(int node, std::size_t pos) const;
    // The bytes the single-character node takes at pos, 0 when it does not match.
    std::size_t widthAt(int node, std::size_t pos) const
    {
        if (!utf8_)
            return pos < len_ && matchesChar(node, pos) ? 1 : 0;
        return pos < len_ ? widthUtf8(node, pos) : 0;
    }
    std::size_t widthUtf8(int node, std::size_t pos) const;
    std::size_t charEnd(std::size_t pos) const
    {
        if (in_[pos] < 0x80)
            return pos + 1;
        const int n = utf8::MultiByteLength(in_ + pos, len_ - pos);
        return pos + (n == 0 ? 1 : static_cast<std::size_t>(n));
    }
    std::size_t charStart(std::size_t end) const
    {
        return !utf8_ || in_[end - 1] < 0x80 ? end - 1 : utf8::PrevBoundary(text_, end);
    }
    // The code point at pos (a valid one, or the invalid byte's value).
    utf8::TDecoded charAt(std::size_t pos) const { return utf8::Decode(text_, pos); }
    bool wordCharAt(std::size_t pos) const
    {
        if (!utf8_ || in_[pos] < 0x80)
            return IsWordChar(in_[pos]);
        const utf8::TDecoded d = charAt(pos);
        return d.valid && unicode::IsRegexWord(d.cp);
    }
    // How many times in a row, up to maxCount, the single-character node
    // matches; `end` gets where the last one ends.
    std::size_t repeat(int node, std::size_t pos, int64_t maxCount, std::size_t& end);
    std::size_t repeatBytes(int node, std::size_t pos, int64_t maxCount) const;
    bool matchLiteralFolded(const uint8_t* chars, std::size_t n, std::size_t& pos) const;
    bool isSeparator(unsigned char c) const { return InSet(prog_.separators, c); }
    bool pairAt(std::size_t pos) const
    {
        return prog_.hasPair && pos + 1 < len_ && in_[pos] == prog_.pairHead &&
               in_[pos + 1] == prog_.pairTail;
    }
    bool atLineStart(std::size_t pos) const;
    bool atLineEnd(std::size_t pos) const;
    bool atWordBoundary(std::size_t pos) const
    {
        const bool before = pos > 0 && wordCharAt(charStart(pos));
        const bool after = pos < len_ && wordCharAt(pos);
        return before != after;
    }
    bool matchLiteral(int node, std::size_t& pos, bool ignoreCase) const;
    bool matchBackref(int node, std::size_t& pos, bool ignoreCase) const;

    // ---- repetitions and loops
    struct Repeat {
        int operand;
        int64_t min, max;
        int next;
        int literal;  // the first character of a literal that follows, or -1
    };
    Repeat repeatOf(int node) const;
    bool startRepeat(int& node, std::size_t& pos);
    // `at` is where the first `count` repetitions end.
    bool tryGreedy(int& node, std::size_t& pos, std::size_t at, int64_t count);
    bool tryLazy(int& node, std::size_t& pos, std::size_t at, int64_t count);
    bool literalFits(const Repeat& r, std::size_t at) const
    {
        return r.literal < 0 || (at < len_ && in_[at] == r.literal);
    }
    void loopStep(int& node, std::size_t pos);
    void exitLoop(int& node)
    {
        setReg(kRegLoopDepth, regs_[kRegLoopDepth] - 1);
        node = prog_.next(node);
    }
    void iterateLoop(int& node)
    {
        const int counter = kRegLoopCounter + static_cast<int>(regs_[kRegLoopDepth]);
        setReg(counter, regs_[counter] + 1);
        node += ReadI32(&prog_.code[Program::operand(node) + 8]);
    }

    const Program& prog_;
    std::string_view text_;
    const unsigned char* in_;
    std::size_t len_;
    bool utf8_;
    std::array<std::ptrdiff_t, kRegCount> regs_;  // run() resets the groups the program has
    std::vector<Choice>& choices_;
    std::vector<Undo>& trail_;
    const std::function<bool()>& interrupted_;
    uint64_t stepsLeft_;
};

bool Matcher::startsChar(std::size_t pos) const
{
    if (!utf8_ || pos == 0 || pos >= len_ || !utf8::IsContinuation(in_[pos]))
        return true;
    return utf8::PrevBoundary(text_, pos + 1) == pos;
}

std::size_t Matcher::widthUtf8(int node, std::size_t pos) const
{
    const unsigned char c = in_[pos];
    const uint8_t* operand = &prog_.code[Program::operand(node)];
    switch (prog_.op(node)) {
    case opAny:
        return charEnd(pos) - pos;
    case opAnyMl:
        return isSeparator(c) || pairAt(pos) ? 0 : charEnd(pos) - pos;
    case opExactly: {
        const auto n = static_cast<std::size_t>(ReadI32(operand));
        return len_ - pos >= n && std::memcmp(in_ + pos, operand + 4, n) == 0 ? n : 0;
    }
    case opExactlyCi: {
        std::size_t at = pos;
        return matchLiteralFolded(operand + 4, static_cast<std::size_t>(ReadI32(operand)), at) ? at - pos : 0;
    }
    case opSetUtf8: {
        if (c < 0x80)
            return (operand[utf8set::kAscii + (c >> 3)] >> (c & 7)) & 1;
        if (c >= 0xC2 && c < 0xE0 && pos + 1 < len_ && utf8::IsContinuation(in_[pos + 1])) {
            const char32_t cp = (char32_t(c & 0x1F) << 6) | (in_[pos + 1] & 0x3F);
            return ((operand[utf8set::kSmall + (cp >> 3)] >> (cp & 7)) & 1) ? 2 : 0;
        }
        const utf8::TDecoded d = charAt(pos);
        return InUtf8Set(operand, d.cp, d.valid) ? d.length : 0;
    }
    default:
        ExecError(reeRegRepeatCalledInappropriately);
    }
}

// The subject's characters from pos against folded ones (valid UTF-8).
bool Matcher::matchLiteralFolded(const uint8_t* chars, std::size_t n, std::size_t& pos) const
{
    const std::string_view folded(reinterpret_cast<const char*>(chars), n);
    std::size_t at = pos;
    for (std::size_t i = 0; i < n;) {
        if (at >= len_)
            return false;
        const unsigned char want = chars[i];
        const unsigned char c = in_[at];
        if (want < 0x80 && c < 0x80) {  // the common case, without decoding
            if ((c >= 'A' && c <= 'Z' ? c + 32 : c) != want)
                return false;
            ++i;
            ++at;
            continue;
        }
        const utf8::TDecoded w = utf8::Decode(folded, i);
        const utf8::TDecoded d = charAt(at);
        if (!d.valid || unicode::SimpleFold(d.cp) != w.cp)
            return false;
        i += w.length;
        at += d.length;
    }
    pos = at;
    return true;
}

bool Matcher::matchesChar(int node, std::size_t pos) const
{
    const unsigned char c = in_[pos];
    const uint8_t* operand = &prog_.code[Program::operand(node)];
    switch (prog_.op(node)) {
    case opAny:
        return true;
    case opAnyMl:
        return !isSeparator(c) && !pairAt(pos);
    case opExactly:
        return c == operand[4];
    case opExactlyCi:
        return c == operand[4] || c == prog_.otherCase[operand[4]];
    case opAnyOfTiny:
        return c == operand[0] || c == operand[1] || c == operand[2];
    case opAnyButTiny:
        return c != operand[0] && c != operand[1] && c != operand[2];
    case opAnyOfFull:
        return (operand[c >> 3] >> (c & 7)) & 1;
    case opAnyDigit:
        return c >= '0' && c <= '9';
    case opNotDigit:
        return c < '0' || c > '9';
    default:
        ExecError(reeRegRepeatCalledInappropriately);
    }
}

std::size_t Matcher::repeat(int node, std::size_t pos, int64_t maxCount, std::size_t& end)
{
    if (!utf8_) {
        const std::size_t n = repeatBytes(node, pos, maxCount);
        spend(n);
        end = pos + n;
        return n;
    }
    std::size_t n = 0;
    std::size_t at = pos;
    const auto max = static_cast<std::size_t>(maxCount);
    if (prog_.op(node) == opAny) {
        while (n < max && at < len_) {
            at = charEnd(at);
            ++n;
        }
    } else {
        while (n < max && at < len_) {
            const std::size_t w = widthUtf8(node, at);
            if (w == 0)
                break;
            at += w;
            ++n;
        }
    }
    spend(n);
    end = at;
    return n;
}

std::size_t Matcher::repeatBytes(int node, std::size_t pos, int64_t maxCount) const
{
    const std::size_t limit = std::min<std::size_t>(len_ - pos, static_cast<std::size_t>(maxCount));
    const unsigned char* p = in_ + pos;
    const uint8_t* operand = &prog_.code[Program::operand(node)];
    std::size_t n = 0;
    switch (prog_.op(node)) {
    case opAny:
        return limit;
    case opExactly:
        while (n < limit && p[n] == operand[4])
            ++n;
        return n;
    case opAnyOfFull:
        while (n < limit && ((operand[p[n] >> 3] >> (p[n] & 7)) & 1))
            ++n;
        return n;
    case opAnyDigit:
        while (n < limit && p[n] >= '0' && p[n] <= '9')
            ++n;
        return n;
    default:
        while (n < limit && matchesChar(node, pos + n))
            ++n;
        return n;
    }
}

// Start of input, after a complete paired separator, or after a separator
// that is not the head of a pair split in the middle.
bool Matcher::atLineStart(std::size_t pos) const
{
    if (pos == 0)
        return true;
    if (pos >= 2 && pairAt(pos - 2))
        return true;
    return isSeparator(in_[pos - 1]) && !pairAt(pos - 1);
}

bool Matcher::atLineEnd(std::size_t pos) const
{
    if (pos == len_ || pairAt(pos))
        return true;
    return isSeparator(in_[pos]) && !(pos > 0 && pairAt(pos - 1));
}

bool Matcher::matchLiteral(int node, std::size_t& pos, bool ignoreCase) const
{
    const uint8_t* operand = &prog_.code[Program::operand(node)];
    const std::size_t n = static_cast<std::size_t>(ReadI32(operand));
    const uint8_t* chars = operand + 4;
    if (ignoreCase && utf8_)
        return matchLiteralFolded(chars, n, pos);
    if (len_ - pos < n)
        return false;
    if (!ignoreCase) {
        if (std::memcmp(in_ + pos, chars, n) != 0)
            return false;
    } else {
        for (std::size_t i = 0; i < n; ++i) {
            const unsigned char c = in_[pos + i];
            if (c != chars[i] && c != prog_.otherCase[chars[i]])
                return false;
        }
    }
    pos += n;
    return true;
}

bool Matcher::matchBackref(int node, std::size_t& pos, bool ignoreCase) const
{
    const int group = prog_.code[Program::operand(node)];
    if (group > prog_.groupCount)  // a group the pattern does not have never matched
        return false;
    const std::ptrdiff_t s = regs_[kRegStart + group];
    const std::ptrdiff_t e = regs_[kRegEnd + group];
    if (s < 0 || e < s)
        return false;
    const std::size_t n = static_cast<std::size_t>(e - s);
    if (ignoreCase && utf8_) {
        std::string folded;
        for (std::size_t i = static_cast<std::size_t>(s); i < static_cast<std::size_t>(e);) {
            const utf8::TDecoded d = charAt(i);
            if (!d.valid) {  // an invalid byte is only ever equal to itself
                folded.clear();
                break;
            }
            utf8::Append(folded, unicode::SimpleFold(d.cp));
            i += d.length;
        }
        if (!folded.empty() || n == 0)
            return matchLiteralFolded(reinterpret_cast<const uint8_t*>(folded.data()), folded.size(), pos);
        ignoreCase = false;
    }
    if (len_ - pos < n)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char want = in_[static_cast<std::size_t>(s) + i];
        const unsigned char c = in_[pos + i];
        if (c != want && !(ignoreCase && c == prog_.otherCase[want]))
            return false;
    }
    pos += n;
    return true;
}

Matcher::Repeat Matcher::repeatOf(int node) const
{
    Repeat r{Program::operand(node), 0, kMaxBracesArg, prog_.next(node), -1};
    switch (prog_.op(node)) {
    case opPlus:
    case opPlusNg:
        r.min = 1;
        break;
    case opBraces:
    case opBracesNg:
        r.min = ReadI32(&prog_.code[r.operand]);
        r.max = ReadI32(&prog_.code[r.operand + 4]);
        r.operand += 8;
        break;
    default:
        break;
    }
    if (r.next != 0 && prog_.op(r.next) == opExactly)
        r.literal = prog_.code[Program::operand(r.next) + 4];
    return r;
}

bool Matcher::startRepeat(int& node, std::size_t& pos)
{
    const Repeat r = repeatOf(node);
    const uint8_t op = prog_.op(node);
    const bool greedy = op == opStar || op == opPlus || op == opBraces;
    std::size_t end = pos;
    const int64_t count = static_cast<int64_t>(repeat(r.operand, pos, greedy ? r.max : r.min, end));
    if (count < r.min)
        return false;
    return greedy ? tryGreedy(node, pos, end, count) : tryLazy(node, pos, end, count);
}

// Goes on after the largest count, down to the minimum, that suits the literal
// which follows; the smaller counts stay as an alternative.
bool Matcher::tryGreedy(int& node, std::size_t& pos, std::size_t at, int64_t count)
{
    const Repeat r = repeatOf(node);
    for (;;) {
        spend(1);
        if (literalFits(r, at)) {
            if (count > r.min)
                pushChoice(ckGreedyRepeat, node, at, count);
            pos = at;
            node = r.next;
            return true;
        }
        if (count <= r.min)
            return false;
        --count;
        at = charStart(at);
    }
}

// Goes on after the smallest count, up from `count`, that suits the literal
// which follows; one more repetition stays as an alternative.
bool Matcher::tryLazy(int& node, std::size_t& pos, std::size_t at, int64_t count)
{
    const Repeat r = repeatOf(node);
    for (;;) {
        spend(1);
        if (literalFits(r, at)) {
            if (count < r.max)
                pushChoice(ckLazyRepeat, node, at, count);
            pos = at;
            node = r.next;
            return true;
        }
        const std::size_t width = count < r.max ? widthAt(r.operand, at) : 0;
        if (width == 0)
            return false;
        at += width;
        ++count;
    }
}

void Matcher::loopStep(int& node, std::size_t pos)
{
    const std::ptrdiff_t depth = regs_[kRegLoopDepth];
    if (depth <= 0)
        ExecError(reeLoopWithoutEntry);
    const uint8_t* operand = &prog_.code[Program::operand(node)];
    const int64_t min = ReadI32(operand);
    const int64_t max = ReadI32(operand + 4);
    const int64_t count = regs_[kRegLoopCounter + depth];
    if (count < min) {
        iterateLoop(node);
    } else if (count >= max) {
        exitLoop(node);
    } else if (prog_.op(node) == opLoop) {
        pushChoice(ckLoopExit, node, pos);
        iterateLoop(node);
    } else {
        pushChoice(ckLoopIterate, node, pos);
        exitLoop(node);
    }
}

bool Matcher::run(std::size_t start, std::size_t& end)
{
    choices_.clear();
    trail_.clear();
    for (int g = 1; g <= prog_.groupCount; ++g)
        regs_[kRegStart + g] = regs_[kRegEnd + g] = regs_[kRegPending + g] = -1;
    regs_[kRegLoopDepth] = 0;
    int node = 1;
    std::size_t pos = start;
    for (;;) {
        spend(1);
        if (node <= 0 || static_cast<std::size_t>(node) >= prog_.code.size())
            ExecError(reeMatchPrimCorruptedPointers);
        bool ok = true;
        const uint8_t op = prog_.op(node);
        switch (op) {
        case opEnd:
            end = pos;
            return true;
        case opBol: ok = pos == 0; break;
        case opEol: ok = pos == len_; break;
        case opBolMl: ok = atLineStart(pos); break;
        case opEolMl: ok = atLineEnd(pos); break;
        case opAny: case opAnyMl: case opAnyOfTiny: case opAnyButTiny: case opAnyOfFull:
        case opAnyDigit: case opNotDigit: case opSetUtf8: {
            const std::size_t width = widthAt(node, pos);
            ok = width != 0;
            pos += width;
            break;
        }
        case opExactly:
        case opExactlyCi:
            ok = matchLiteral(node, pos, op == opExactlyCi);
            break;
        case opBound: ok = atWordBoundary(pos); break;
        case opNotBound: ok = !atWordBoundary(pos); break;
        case opBackref:
        case opBackrefCi:
            ok = matchBackref(node, pos, op == opBackrefCi);
            break;
        case opBranch: {
            const int alternative = prog_.next(node);
            if (alternative != 0 && prog_.op(alternative) == opBranch)
                pushChoice(ckBranch, alternative, pos);
            node = Program::operand(node);
            continue;
        }
        case opBack: case opNothing: case opComment:
            break;
        case opOpen:
            setReg(kRegPending + prog_.code[Program::operand(node)], static_cast<std::ptrdiff_t>(pos));
            break;
        case opClose: {
            // Both ends change together, so a backreference inside the group
            // still sees the previous complete capture.
            const int group = prog_.code[Program::operand(node)];
            setReg(kRegStart + group, regs_[kRegPending + group]);
            setReg(kRegEnd + group, static_cast<std::ptrdiff_t>(pos));
            break;
        }
        case opStar: case opPlus: case opStarNg: case opPlusNg: case opBraces: case opBracesNg:
            if (startRepeat(node, pos))
                continue;
            ok = false;
            break;
        case opLoopEntry: {
            const std::ptrdiff_t depth = regs_[kRegLoopDepth];
            if (depth >= kLoopStackSize)
                ExecError(reeLoopStackExceeded);
            setReg(kRegLoopDepth, depth + 1);
            setReg(kRegLoopCounter + static_cast<int>(depth) + 1, 0);
            break;
        }
        case opLoop:
        case opLoopNg:
            loopStep(node, pos);
            continue;
        default:
            ExecError(reeMatchPrimMemoryCorruption);
        }
        if (ok)
            node = prog_.next(node);
        else if (!backtrack(node, pos))
            return false;
    }
}

bool Matcher::backtrack(int& node, std::size_t& pos)
{
    while (!choices_.empty()) {
        spend(1);
        const Choice c = choices_.back();
        choices_.pop_back();
        undoTo(c.trailMark);
        node = c.node;
        pos = c.pos;
        switch (c.kind) {
        case ckBranch: {
            const int alternative = prog_.next(node);
            if (alternative != 0 && prog_.op(alternative) == opBranch)
                pushChoice(ckBranch, alternative, pos);
            node = Program::operand(node);
            return true;
        }
        case ckGreedyRepeat:
            if (tryGreedy(node, pos, charStart(c.pos), c.count - 1))
                return true;
            break;
        case ckLazyRepeat: {
            const Repeat r = repeatOf(node);
            const std::size_t width = c.count < r.max ? widthAt(r.operand, c.pos) : 0;
            if (width != 0 && tryLazy(node, pos, c.pos + width, c.count + 1))
                return true;
            break;
        }
        case ckLoopExit:
            exitLoop(node);
            return true;
        case ckLoopIterate:
            iterateLoop(node);
            return true;
        }
    }
    return false;
}

bool Matcher::matchAt(std::size_t start, Slots& starts, Slots& ends)
{
    std::size_t end = 0;
    if (!run(start, end))
        return false;
    for (int g = 1; g <= prog_.groupCount; ++g) {
        starts[g] = regs_[kRegStart + g];
        ends[g] = regs_[kRegEnd + g];
    }
    starts[0] = static_cast<std::ptrdiff_t>(start);
    ends[0] = static_cast<std::ptrdiff_t>(end);
    return true;
}

bool InPairs(const std::vector<uint64_t>& pairs, const unsigned char* at)
{
    const unsigned pair = unsigned(at[0]) << 8 | at[1];
    return (pairs[pair >> 6] >> (pair & 63)) & 1;
}

}  // namespace

bool Search(const Program& prog, std::string_view input, std::size_t start,
            MatchScratch& scratch, Slots& starts, Slots& ends)
{
    starts.fill(-1);
    ends.fill(-1);
    const std::size_t len = input.size();
    if (start > len || len - start < prog.minLength)
        return false;
    const std::size_t last = len - prog.minLength;  // the last start with room for a match
    if (!prog.mustContain.empty() && input.find(prog.mustContain, start) == std::string_view::npos)
        return false;
    Matcher m(prog, input, scratch, kStepsBase + kStepsPerByte * (len - start));
    if (prog.anchored)
        return m.startsChar(start) && m.matchAt(start, starts, ends);
    const auto* bytes = reinterpret_cast<const unsigned char*>(input.data());
    if (!prog.firstLiteral.empty()) {  // only where the literal occurs
        const std::string_view literal = prog.firstLiteral;
        for (std::size_t p = input.find(literal, start); p != std::string_view::npos && p <= last;
             p = input.find(literal, p + 1)) {
            if (m.startsChar(p) && m.matchAt(p, starts, ends))
                return true;
        }
        return false;
    }
    // In UTF-8 mode a match starts only where a character does; the check
    // costs something only at continuation bytes.
    if (!prog.anyFirstChar) {  // a match begins with a character of the set
        const uint8_t* firstChars = prog.firstChars.data();
        const bool byPairs = !prog.firstPairs.empty();
        const std::size_t stop = std::min(len, last + 1);
        for (std::size_t p = start; p < stop; ++p) {
            if (!firstChars[bytes[p]])
                continue;
            if (byPairs && (p + 1 >= len || !InPairs(prog.firstPairs, bytes + p)))
                continue;
            if (m.startsChar(p) && m.matchAt(p, starts, ends))
                return true;
        }
        return false;
    }
    for (std::size_t p = start; p <= last; ++p) {
        if (m.startsChar(p) && m.matchAt(p, starts, ends))
            return true;
    }
    return false;
}

}  // namespace ostrel::regex_detail
