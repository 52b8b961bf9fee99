// The TOstRegex compiler: a recursive-descent parser that runs twice over the
// pattern, first only adding up the size of the program, then emitting it into
// a buffer of exactly that size; afterwards the search shortcuts are derived.
// Parser recursion is bounded by the group limit, since only a capturing group
// nests.

#include <algorithm>
#include <bit>
#include <utility>

#include "editor/OstRegex.h"
#include "editor/OstRegexProgram.h"
#include "platform/CodePage.h"
#include "platform/UnicodeCase.h"
#include "platform/Utf8.h"

namespace ostrel::regex_detail {

std::array<unsigned char, 256> OtherCaseTable(const codepage::TCodePage& page)
{
    std::array<unsigned char, 256> t{};
    for (unsigned b = 0; b < 256; ++b) {
        const auto c = static_cast<unsigned char>(b);
        const unsigned char upper = page.ToUpper(c);
        t[b] = upper != c ? upper : page.ToLower(c);
    }
    return t;
}

bool InUtf8Set(const uint8_t* operand, char32_t cp, bool valid)
{
    const uint8_t flags = operand[utf8set::kFlags];
    const bool negated = (flags & utf8set::negated) != 0;
    if (!valid)
        return ((operand[utf8set::kInvalid + (cp >> 3)] >> (cp & 7)) & 1) != 0;
    if (cp < 0x80)
        return ((operand[utf8set::kAscii + (cp >> 3)] >> (cp & 7)) & 1) != 0;
    if (cp < utf8set::kSmallEnd)
        return ((operand[utf8set::kSmall + (cp >> 3)] >> (cp & 7)) & 1) != 0;
    bool in = ((flags & utf8set::word) && unicode::IsRegexWord(cp)) ||
              ((flags & utf8set::digit) && unicode::IsRegexDigit(cp)) ||
              ((flags & utf8set::space) && unicode::IsRegexSpace(cp));
    if (!in) {
        const char32_t key = (flags & utf8set::folded) ? unicode::SimpleFold(cp) : cp;
        const auto count = static_cast<std::size_t>(ReadI32(operand + utf8set::kRangeCount));
        const uint8_t* ranges = operand + utf8set::kRanges;
        // The ranges are sorted and apart: the last one starting at or below key.
        std::size_t lo = 0, hi = count;
        while (lo < hi) {
            const std::size_t mid = (lo + hi) / 2;
            if (static_cast<char32_t>(ReadI32(ranges + 8 * mid)) <= key)
                lo = mid + 1;
            else
                hi = mid;
        }
        in = lo > 0 && key <= static_cast<char32_t>(ReadI32(ranges + 8 * (lo - 1) + 4));
    }
    return in != negated;
}

namespace {

enum ParseFlags : int { fWorst = 0, fHasWidth = 1, fSimple = 2, fSpStart = 4 };

// Larger programs are refused so that the 32-bit node offsets cannot overflow.
constexpr std::size_t kMaxProgramSize = std::size_t(1) << 30;
constexpr std::string_view kMetaChars = "^$.[()|?+*\\{";

bool IsXBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int ModifierOfLetter(char c)
{
    switch (c) {
    case 'i': case 'I': return rmI;
    case 'r': case 'R': return rmR;
    case 's': case 'S': return rmS;
    case 'g': case 'G': return rmG;
    case 'm': case 'M': return rmM;
    case 'x': case 'X': return rmX;
    default: return 0;
    }
}

struct Braces {
    bool wellFormed = false;
    std::size_t end = 0;  // the position after '}'
    std::string_view minDigits, maxDigits;
    bool hasComma = false;
};

// "{n}", "{n,}" or "{n,m}" at `at`; anything else leaves wellFormed false.
Braces ScanBraces(std::string_view pat, std::size_t at)
{
    Braces b;
    if (at >= pat.size() || pat[at] != '{')
        return b;
    std::size_t p = at + 1;
    const std::size_t minStart = p;
    while (p < pat.size() && IsDigit(pat[p]))
        ++p;
    if (p == minStart)
        return b;
    b.minDigits = pat.substr(minStart, p - minStart);
    if (p < pat.size() && pat[p] == ',') {
        b.hasComma = true;
        const std::size_t maxStart = ++p;
        while (p < pat.size() && IsDigit(pat[p]))
            ++p;
        b.maxDigits = pat.substr(maxStart, p - maxStart);
    }
    if (p >= pat.size() || pat[p] != '}')
        return b;
    b.wellFormed = true;
    b.end = p + 1;
    return b;
}

// A set of UTF-8 mode as the parser collects it.
struct Utf8SetSpec {
    std::vector<std::pair<char32_t, char32_t>> ranges;
    uint8_t classes = 0;  // utf8set::word, digit, space
    CharSet invalid{};    // invalid bytes named in the pattern
};

class Compiler {
public:
    Compiler(std::string_view pattern, int modifiers, const LineBreaks& breaks,
             std::vector<uint8_t>* out, bool utf8, const std::array<unsigned char, 256>& otherCase)
        : pat_(pattern), compMods_(modifiers), breaks_(breaks), code_(out), utf8_(utf8), otherCase_(otherCase)
    {
    }

    // Emits the whole program; returns the flags of the top-level expression.
    int run()
    {
        emitByte(kCheckByte);
        int flags = fWorst;
        parseReg(false, flags);
        return flags;
    }
    std::size_t size() const { return size_; }
    int groupCount() const { return npar_ - 1; }
    // The fewest characters a match of the whole pattern takes.
    int64_t minLength() const { return minLen_; }

private:
    // ---- errors and the parse cursor
    [[noreturn]] void fail(int code) const
    {
        throw EOstRegex(code, static_cast<std::ptrdiff_t>(pos_));
    }
    bool atEnd() const { return pos_ >= pat_.size(); }
    char peek() const { return pat_[pos_]; }
    bool modOn(int m) const { return (compMods_ & m) != 0; }

    // ---- emitting; in the sizing pass (no buffer) only the size grows
    bool sizing() const { return code_ == nullptr; }
    void grow(std::size_t n)
    {
        if (size_ + n > kMaxProgramSize)
            fail(reeCompRegexpTooBig);
        if (!sizing() && size_ + n > code_->size())
            fail(reeInternalUrp);
        size_ += n;
    }
    int emitNode(uint8_t op)
    {
        const std::size_t at = size_;
        grow(kNodeHeader);
        if (!sizing()) {
            (*code_)[at] = op;
            WriteI32(&(*code_)[at + 1], 0);
        }
        return static_cast<int>(at);
    }
    void emitByte(uint8_t b)
    {
        const std::size_t at = size_;
        grow(1);
        if (!sizing())
            (*code_)[at] = b;
    }
    void emitI32(int32_t v)
    {
        const std::size_t at = size_;
        grow(4);
        if (!sizing())
            WriteI32(&(*code_)[at], v);
    }
    // Moves the code from `at` on to make room for a node with `extra` operand
    // bytes in front of it; returns the position of those operand bytes.
    std::size_t insertNode(uint8_t op, int at, std::size_t extra)
    {
        const std::size_t n = kNodeHeader + extra;
        const std::size_t oldSize = size_;
        grow(n);
        if (!sizing()) {
            uint8_t* base = code_->data();
            std::memmove(base + at + n, base + at, oldSize - at);
            base[at] = op;
            WriteI32(base + at + 1, 0);
        }
        return at + kNodeHeader;
    }
    void writeI32At(std::size_t at, int32_t v)
    {
        if (!sizing())
            WriteI32(&(*code_)[at], v);
    }
    int nextOf(int node) const
    {
        const int32_t off = ReadI32(&(*code_)[node + 1]);
        return off == 0 ? 0 : node + off;
    }
    // Links the last node of the chain starting at p to val.
    void tail(int p, int val)
    {
        if (sizing())
            return;
        int scan = p;
        for (int n = nextOf(scan); n != 0; n = nextOf(scan))
            scan = n;
        WriteI32(&(*code_)[scan + 1], val - scan);
    }
    // tail() on the operand of a branch node.
    void opTail(int p, int val)
    {
        if (sizing() || (*code_)[p] != opBranch)
            return;
        tail(Program::operand(p), val);
    }

    // ---- grammar
    int parseReg(bool paren, int& flagp);
    int parseBranch(int& flagp);
    int parsePiece(int& flagp);
    int parseAtom(int& flagp);
    int parseInlineGroup();
    int parseEscape(int& flagp);
    int parseLiteralRun(std::size_t start, int& flagp);
    int parseSet(int& flagp);
    void parseSetMember(CharSet& set);
    unsigned char parseSetChar();
    unsigned char unescape(char c);
    unsigned char parseHex();
    void addChar(CharSet& set, unsigned char c) const;
    void addRange(CharSet& set, unsigned char lo, unsigned char hi);
    void addClass(CharSet& set, char cls) const;
    int emitSet(const CharSet& set, bool negate);
    int emitLiteral(std::string_view chars);
    // ---- UTF-8 mode
    std::size_t charLengthAt(std::size_t at) const;
    int parseSetUtf8(int& flagp);
    void parseSetMemberUtf8(Utf8SetSpec& set);
    bool parseSetCharUtf8(char32_t& cp);
    int emitSetUtf8(Utf8SetSpec set, bool negate);
    int emitClassUtf8(uint8_t cls, bool negate);
    int emitInvalidByte(unsigned char b);
    bool atQuantifier(std::size_t at) const;
    int32_t bracesArg(std::string_view digits) const;
    void emitComplexBraces(int operand, int32_t min, int32_t max, bool lazy);
    void emitGreedyComplexStar(int operand);
    void emitGreedyComplexPlus(int operand);
    void emitGreedyComplexOptional(int operand);
    void skipXBlanksOrComment();
    std::size_t skipIgnored(std::size_t at) const;
    bool multiLineAnchors() const
    {
        return modOn(rmM) && (!breaks_.separators.empty() || breaks_.hasPair);
    }

    std::string_view pat_;
    std::size_t pos_ = 0;
    int compMods_;
    const LineBreaks& breaks_;
    int npar_ = 1;
    std::vector<uint8_t>* code_;
    bool utf8_;
    const std::array<unsigned char, 256>& otherCase_;
    std::size_t size_ = 0;
    // The fewest characters the element parsed last can match, capped so that
    // products of repeat counts cannot overflow.
    int64_t minLen_ = 0;
    static constexpr int64_t kMinLenCap = int64_t(1) << 40;
};

int Compiler::parseReg(bool paren, int& flagp)
{
    flagp = fHasWidth;
    int ret = 0;
    int parno = 0;
    if (paren) {
        if (npar_ >= kMaxGroups)
            fail(reeCompParseRegTooManyBrackets);
        parno = npar_++;
        ret = emitNode(opOpen);
        emitByte(static_cast<uint8_t>(parno));
    }
    const int savedMods = compMods_;
    int flags = fWorst;
    int br = parseBranch(flags);
    int64_t shortest = minLen_;
    if (ret != 0)
        tail(ret, br);
    else
        ret = br;
    int lastBranch = br;
    auto mergeFlags = [&] {
        if (!(flags & fHasWidth))
            flagp &= ~fHasWidth;
        flagp |= flags & fSpStart;
    };
    mergeFlags();
    while (!atEnd() && peek() == '|') {
        ++pos_;
        br = parseBranch(flags);
        tail(lastBranch, br);  // the previous branch's next is still open
        lastBranch = br;
        mergeFlags();
        shortest = std::min(shortest, minLen_);
    }
    minLen_ = shortest;
    int ender;
    if (paren) {
        ender = emitNode(opClose);
        emitByte(static_cast<uint8_t>(parno));
    } else {
        ender = emitNode(opEnd);
    }
    tail(lastBranch, ender);
    if (!sizing()) {
        for (int b = ret; b != 0; b = nextOf(b))
            opTail(b, ender);
    }
    compMods_ = savedMods;
    if (paren) {
        if (atEnd() || peek() != ')')
            fail(reeCompParseRegUnmatchedBrackets);
        ++pos_;
    } else if (!atEnd()) {
        fail(peek() == ')' ? reeCompParseRegUnmatchedBrackets2 : reeCompParseRegJunkOnEnd);
    }
    return ret;
}

int Compiler::parseBranch(int& flagp)
{
    flagp = fWorst;
    const int ret = emitNode(opBranch);
    int chain = 0;
    int64_t total = 0;
    while (!atEnd() && peek() != '|' && peek() != ')') {
        int flags = fWorst;
        const int latest = parsePiece(flags);
        total = std::min(total + minLen_, kMinLenCap);
        flagp |= flags & fHasWidth;
        if (chain == 0)
            flagp |= flags & fSpStart;
        else
            tail(chain, latest);
        chain = latest;
    }
    if (chain == 0)
        emitNode(opNothing);
    minLen_ = total;
    return ret;
}

bool Compiler::atQuantifier(std::size_t at) const
{
    if (at >= pat_.size())
        return false;
    const char c = pat_[at];
    return c == '*' || c == '+' || c == '?' || ScanBraces(pat_, at).wellFormed;
}

int32_t Compiler::bracesArg(std::string_view digits) const
{
    if (digits.size() > 8)
        fail(reeBRACESArgTooBig);
    int32_t v = 0;
    for (char c : digits)
        v = v * 10 + (c - '0');
    return v;
}

int Compiler::parsePiece(int& flagp)
{
    int flags = fWorst;
    const int ret = parseAtom(flags);
    const int64_t atomMin = (flags & fSimple) ? 1 : minLen_;
    minLen_ = atomMin;
    if (modOn(rmX) && atQuantifier(skipIgnored(pos_)))
        pos_ = skipIgnored(pos_);  // "(ab) +" under x repeats the group
    if (!atQuantifier(pos_)) {
        flagp = flags;
        return ret;
    }
    const char op = peek();
    int32_t bmin = 0;
    int32_t bmax = 1;
    if (op == '{') {
        const Braces b = ScanBraces(pat_, pos_);
        pos_ = b.end;
        bmin = bracesArg(b.minDigits);
        bmax = !b.hasComma ? bmin : b.maxDigits.empty() ? kMaxBracesArg : bracesArg(b.maxDigits);
        if (bmin > bmax)
            fail(reeBracesMinParamGreaterMax);
    } else {
        ++pos_;
    }
    const bool lazyMark = !atEnd() && peek() == '?';
    if (lazyMark)
        ++pos_;
    const bool lazy = lazyMark || !modOn(rmG);
    if (op != '?' && !(flags & fHasWidth))
        fail(reePlusStarOperandCouldBeEmpty);
    const bool simple = (flags & fSimple) != 0;
    minLen_ = op == '+' ? atomMin : op == '{' ? std::min(atomMin * bmin, kMinLenCap) : 0;
    switch (op) {
    case '*':
        flagp = fWorst | fSpStart;
        if (simple)
            insertNode(lazy ? opStarNg : opStar, ret, 0);
        else if (lazy)
            emitComplexBraces(ret, 0, kMaxBracesArg, true);
        else
            emitGreedyComplexStar(ret);
        break;
    case '+':
        flagp = fWorst | fSpStart | fHasWidth;
        if (simple)
            insertNode(lazy ? opPlusNg : opPlus, ret, 0);
        else if (lazy)
            emitComplexBraces(ret, 1, kMaxBracesArg, true);
        else
            emitGreedyComplexPlus(ret);
        break;
    default:  // '?' and braces
        flagp = bmin > 0 ? fHasWidth : fWorst;
        if (simple) {
            const std::size_t args = insertNode(lazy ? opBracesNg : opBraces, ret, 8);
            writeI32At(args, bmin);
            writeI32At(args + 4, bmax);
        } else if (op == '?' && !lazy) {
            emitGreedyComplexOptional(ret);
        } else {
            emitComplexBraces(ret, bmin, bmax, lazy);
        }
        break;
    }
    if (atQuantifier(pos_))
        fail(reeNestedSQP);
    return ret;
}

// x* as (x&|), where & loops back to the branch.
void Compiler::emitGreedyComplexStar(int operand)
{
    insertNode(opBranch, operand, 0);
    opTail(operand, emitNode(opBack));
    opTail(operand, operand);
    tail(operand, emitNode(opBranch));
    tail(operand, emitNode(opNothing));
}

// x+ as x(&|), where & loops back to x.
void Compiler::emitGreedyComplexPlus(int operand)
{
    const int branch = emitNode(opBranch);
    tail(operand, branch);
    tail(emitNode(opBack), operand);
    tail(branch, emitNode(opBranch));
    tail(operand, emitNode(opNothing));
}

// x? as (x|).
void Compiler::emitGreedyComplexOptional(int operand)
{
    insertNode(opBranch, operand, 0);
    tail(operand, emitNode(opBranch));
    const int nothing = emitNode(opNothing);
    tail(operand, nothing);
    opTail(operand, nothing);
}

// LOOPENTRY x LOOP: the entry leads to the loop node, which decides whether to
// run the body once more or to go on.
void Compiler::emitComplexBraces(int operand, int32_t min, int32_t max, bool lazy)
{
    insertNode(opLoopEntry, operand, 0);
    const int body = operand + kNodeHeader;
    const int loop = emitNode(lazy ? opLoopNg : opLoop);
    emitI32(min);
    emitI32(max);
    emitI32(body - loop);
    tail(operand, loop);
    tail(body, loop);
}

// The position after the blanks and '#' comments that x ignores from `at` on.
std::size_t Compiler::skipIgnored(std::size_t at) const
{
    while (at < pat_.size()) {
        if (IsXBlank(pat_[at])) {
            ++at;
        } else if (pat_[at] == '#') {
            while (at < pat_.size() && pat_[at] != '\r' && pat_[at] != '\n')
                ++at;
        } else {
            break;
        }
    }
    return at;
}

void Compiler::skipXBlanksOrComment()
{
    if (peek() == '#') {
        while (!atEnd() && peek() != '\r' && peek() != '\n')
            ++pos_;
        while (!atEnd() && (peek() == '\r' || peek() == '\n'))
            ++pos_;
    } else {
        while (!atEnd() && IsXBlank(peek()))
            ++pos_;
    }
}

int Compiler::parseAtom(int& flagp)
{
    flagp = fWorst;
    minLen_ = 0;  // single characters, literal runs and groups set their own
    if (atEnd())
        fail(reeRarseAtomInternalDisaster);
    if (modOn(rmX) && (IsXBlank(peek()) || peek() == '#')) {
        skipXBlanksOrComment();
        return emitNode(opComment);
    }
    const std::size_t start = pos_;
    const char c = pat_[pos_++];
    switch (c) {
    case '^':
        return emitNode(multiLineAnchors() ? opBolMl : opBol);
    case '$':
        return emitNode(multiLineAnchors() ? opEolMl : opEol);
    case '.':
        flagp = fHasWidth | fSimple;
        return emitNode(modOn(rmS) ? opAny : opAnyMl);
    case '[':
        return utf8_ ? parseSetUtf8(flagp) : parseSet(flagp);
    case '(': {
        if (!atEnd() && peek() == '?')
            return parseInlineGroup();
        int flags = fWorst;
        const int ret = parseReg(true, flags);
        flagp |= flags & (fHasWidth | fSpStart);
        return ret;
    }
    case '|':
    case ')':
        fail(reeInternalUrp);
    case '?':
    case '+':
    case '*':
        fail(reeQPSBFollowsNothing);
    case '{':
        if (ScanBraces(pat_, start).wellFormed)
            fail(reeQPSBFollowsNothing);
        return parseLiteralRun(start, flagp);
    case '\\':
        return parseEscape(flagp);
    default:
        return parseLiteralRun(start, flagp);
    }
}

// "(?#comment)" or "(?imsrgx-imsrgx)"; the cursor is on the '?'.
int Compiler::parseInlineGroup()
{
    ++pos_;
    if (!atEnd() && peek() == '#') {
        const std::size_t close = pat_.find(')', pos_);
        if (close == std::string_view::npos) {
            pos_ = pat_.size();
            fail(reeUnclosedComment);
        }
        pos_ = close + 1;
        return emitNode(opComment);
    }
    bool on = true;
    for (;;) {
        if (atEnd())
            fail(reeUnrecognizedModifier);
        const char c = pat_[pos_++];
        if (c == ')')
            break;
        if (c == '-') {
            on = false;
            continue;
        }
        const int m = ModifierOfLetter(c);
        if (m == 0)
            fail(reeUnrecognizedModifier);
        compMods_ = on ? (compMods_ | m) : (compMods_ & ~m);
    }
    return emitNode(opComment);
}

int Compiler::parseEscape(int& flagp)
{
    if (atEnd())
        fail(reeTrailingBackSlash);
    const char c = pat_[pos_++];
    if (utf8_) {
        switch (c) {
        case 'd': case 'D': case 'w': case 'W': case 's': case 'S':
            flagp = fHasWidth | fSimple;
            return emitClassUtf8((c | 0x20) == 'd' ? utf8set::digit : (c | 0x20) == 'w' ? utf8set::word
                                                                                    : utf8set::space,
                                 c == 'D' || c == 'W' || c == 'S');
        default:
            break;
        }
        if (static_cast<unsigned char>(c) >= 0x80) {  // an escaped character stands for itself
            const std::size_t at = pos_ - 1;
            const std::size_t n = charLengthAt(at);
            flagp = fHasWidth | fSimple;
            pos_ = at + n;
            if (n == 1 && utf8::MultiByteLength(reinterpret_cast<const unsigned char*>(pat_.data()) + at,
                                                pat_.size() - at) == 0)
                return emitInvalidByte(static_cast<unsigned char>(c));
            return emitLiteral(pat_.substr(at, n));
        }
    }
    switch (c) {
    case 'd':
        flagp = fHasWidth | fSimple;
        return emitNode(opAnyDigit);
    case 'D':
        flagp = fHasWidth | fSimple;
        return emitNode(opNotDigit);
    case 'w': case 'W': case 's': case 'S': {
        CharSet set{};
        addClass(set, static_cast<char>(c | 0x20));
        flagp = fHasWidth | fSimple;
        return emitSet(set, c == 'W' || c == 'S');
    }
    case 'b': return emitNode(opBound);
    case 'B': return emitNode(opNotBound);
    case 'A': return emitNode(opBol);
    case 'Z': return emitNode(opEol);
    default:
        break;
    }
    if (c >= '1' && c <= '9') {
        flagp = fHasWidth;
        const int ret = emitNode(modOn(rmI) ? opBackrefCi : opBackref);
        emitByte(static_cast<uint8_t>(c - '0'));
        return ret;
    }
    const unsigned char ch = unescape(c);
    flagp = fHasWidth | fSimple;
    if (utf8_) {  // "\xE9" is the code point U+00E9
        std::string bytes;
        utf8::Append(bytes, ch);
        minLen_ = 1;
        return emitLiteral(bytes);
    }
    const char byte = static_cast<char>(ch);
    return emitLiteral(std::string_view(&byte, 1));
}

unsigned char Compiler::unescape(char c)
{
    switch (c) {
    case 't': return '\t';
    case 'n': return '\n';
    case 'r': return '\r';
    case 'f': return '\f';
    case 'a': return 7;
    case 'e': return 27;
    case 'x': return parseHex();
    default: return static_cast<unsigned char>(c);
    }
}

// "\xHH" or "\x{H...}"; the cursor is after the 'x'.
unsigned char Compiler::parseHex()
{
    if (atEnd())
        fail(reeNoHexCodeAfterBSlashX);
    unsigned value = 0;
    if (peek() == '{') {
        ++pos_;
        int digits = 0;
        int significant = 0;
        while (!atEnd() && peek() != '}') {
            const int h = HexValue(peek());
            if (h < 0)
                fail(reeBadHexDigit);
            if (value != 0 || h != 0)
                ++significant;
            if (significant > 2)
                fail(reeHexCodeAfterBSlashXTooBig);
            value = value * 16 + static_cast<unsigned>(h);
            ++digits;
            ++pos_;
        }
        if (atEnd() || digits == 0)
            fail(reeNoHexCodeAfterBSlashX);
        ++pos_;
        return static_cast<unsigned char>(value);
    }
    for (int i = 0; i < 2; ++i) {
        if (atEnd())
            fail(reeNoHexCodeAfterBSlashX);
        const int h = HexValue(peek());
        if (h < 0)
            fail(reeBadHexDigit);
        value = value * 16 + static_cast<unsigned>(h);
        ++pos_;
    }
    return static_cast<unsigned char>(value);
}

// The longest run of ordinary characters. When a quantifier follows a run of
// several characters, the last one is left to form its own atom, so that the
// quantifier applies to it alone.
int Compiler::parseLiteralRun(std::size_t start, int& flagp)
{
    std::string run;
    std::size_t chars = 0;
    std::size_t lastCharAt = start;
    std::size_t lastCharLength = 1;
    std::size_t p = start;
    const bool extended = modOn(rmX);
    while (p < pat_.size()) {
        const char ch = pat_[p];
        if (p != start && kMetaChars.find(ch) != std::string_view::npos)
            break;
        if (extended && ch == '#')
            break;
        if (extended && IsXBlank(ch)) {
            ++p;
            continue;
        }
        const std::size_t n = utf8_ ? charLengthAt(p) : 1;
        if (utf8_ && n == 1 && static_cast<unsigned char>(ch) >= 0x80) {
            // An invalid byte is an atom of its own.
            if (p == start) {
                pos_ = p + 1;
                minLen_ = 1;
                flagp = fHasWidth | fSimple;
                return emitInvalidByte(static_cast<unsigned char>(ch));
            }
            break;
        }
        run.append(pat_.substr(p, n));
        ++chars;
        lastCharAt = p;
        lastCharLength = n;
        p += n;
    }
    if (chars > 1 && atQuantifier(extended ? skipIgnored(p) : p)) {
        p = lastCharAt;
        run.resize(run.size() - lastCharLength);
        --chars;
    }
    pos_ = p;
    // Folded forms may be shorter, but never below a byte a character.
    minLen_ = static_cast<int64_t>(utf8_ && modOn(rmI) ? chars : run.size());
    flagp = fHasWidth | (chars == 1 ? fSimple : 0);
    return emitLiteral(run);
}

// The bytes of the character at `at` in the pattern: a valid sequence, else one.
std::size_t Compiler::charLengthAt(std::size_t at) const
{
    const int n = utf8::MultiByteLength(reinterpret_cast<const unsigned char*>(pat_.data()) + at, pat_.size() - at);
    return n == 0 ? 1 : static_cast<std::size_t>(n);
}

int Compiler::emitLiteral(std::string_view chars)
{
    const int ret = emitNode(modOn(rmI) ? opExactlyCi : opExactly);
    std::string folded;
    if (utf8_ && modOn(rmI)) {  // kept folded, so that matching folds only the subject
        for (std::size_t i = 0; i < chars.size();) {
            const utf8::TDecoded d = utf8::Decode(chars, i);
            utf8::Append(folded, unicode::SimpleFold(d.cp));
            i += d.length;
        }
        chars = folded;
    }
    emitI32(static_cast<int32_t>(chars.size()));
    for (char ch : chars)
        emitByte(static_cast<uint8_t>(ch));
    return ret;
}

// ---- sets of UTF-8 mode ---------------------------------------------------------------

int Compiler::emitClassUtf8(uint8_t cls, bool negate)
{
    Utf8SetSpec set;
    set.classes = cls;
    return emitSetUtf8(std::move(set), negate);
}

int Compiler::emitInvalidByte(unsigned char b)
{
    Utf8SetSpec set;
    AddToSet(set.invalid, b);
    return emitSetUtf8(std::move(set), false);
}

// One character of a set, escapes resolved; false for an invalid byte (its
// value in cp). The cursor is on it.
bool Compiler::parseSetCharUtf8(char32_t& cp)
{
    if (pat_[pos_] == '\\' && pos_ + 1 < pat_.size() && static_cast<unsigned char>(pat_[pos_ + 1]) < 0x80) {
        pos_ += 2;
        cp = unescape(pat_[pos_ - 1]);
        return true;
    }
    if (pat_[pos_] == '\\') {
        if (pos_ + 1 >= pat_.size()) {
            ++pos_;
            fail(reeTrailingBackSlash);
        }
        ++pos_;  // an escaped character beyond ASCII stands for itself
    }
    const utf8::TDecoded d = utf8::Decode(pat_, pos_);
    pos_ += d.length;
    cp = d.cp;
    return d.valid;
}

void Compiler::parseSetMemberUtf8(Utf8SetSpec& set)
{
    auto classAt = [&](std::size_t at) -> uint8_t {
        if (pat_[at] != '\\' || at + 1 >= pat_.size())
            return 0;
        const char e = pat_[at + 1];
        return e == 'd' ? utf8set::digit : e == 's' ? utf8set::space : e == 'w' ? utf8set::word : 0;
    };
    if (const uint8_t cls = classAt(pos_)) {
        pos_ += 2;
        set.classes |= cls;
        return;
    }
    char32_t lo = 0;
    if (!parseSetCharUtf8(lo)) {
        AddToSet(set.invalid, static_cast<unsigned char>(lo));
        return;
    }
    const bool range = pos_ + 1 < pat_.size() && peek() == '-' && pat_[pos_ + 1] != ']';
    if (!range) {
        set.ranges.emplace_back(lo, lo);
        return;
    }
    ++pos_;
    if (classAt(pos_)) {  // "a-\d": no range, all three members
        set.ranges.emplace_back(lo, lo);
        set.ranges.emplace_back('-', '-');
        return;
    }
    char32_t hi = 0;
    if (!parseSetCharUtf8(hi) || hi < lo)
        fail(reeInvalidRange);
    set.ranges.emplace_back(lo, hi);
}

int Compiler::parseSetUtf8(int& flagp)
{
    bool negate = false;
    if (!atEnd() && peek() == '^') {
        negate = true;
        ++pos_;
    }
    Utf8SetSpec set;
    if (!atEnd() && peek() == ']') {
        set.ranges.emplace_back(']', ']');
        ++pos_;
    }
    for (;;) {
        if (atEnd())
            fail(reeUnmatchedSqBrackets);
        if (peek() == ']') {
            ++pos_;
            break;
        }
        parseSetMemberUtf8(set);
    }
    flagp = fHasWidth | fSimple;
    return emitSetUtf8(std::move(set), negate);
}

// Sorts and joins the ranges (their folded forms when ignoring case) and
// works out the answers for ASCII and the invalid bytes.
int Compiler::emitSetUtf8(Utf8SetSpec set, bool negate)
{
    const bool fold = modOn(rmI);
    auto& ranges = set.ranges;
    if (fold) {
        // A character is in the set when its folded form is the folded form
        // of a member: the members that fold to another code point bring
        // that one in. Members that are not folded forms themselves never
        // equal a folded character, so they may stay.
        const auto pairs = unicode::FoldingPairs();
        const std::size_t given = ranges.size();
        for (std::size_t k = 0; k < given; ++k) {
            const auto [lo, hi] = ranges[k];
            auto it = std::lower_bound(pairs.begin(), pairs.end(), std::pair<char32_t, char32_t>(lo, 0));
            for (; it != pairs.end() && it->first <= hi; ++it)
                ranges.emplace_back(it->second, it->second);
        }
    }
    std::sort(ranges.begin(), ranges.end());
    std::vector<std::pair<char32_t, char32_t>> joined;
    for (const auto& r : ranges) {
        if (!joined.empty() && r.first <= joined.back().second + 1)
            joined.back().second = std::max(joined.back().second, r.second);
        else
            joined.push_back(r);
    }
    std::vector<uint8_t> operand(utf8set::kRanges + 8 * joined.size(), 0);
    operand[utf8set::kFlags] = static_cast<uint8_t>(set.classes | (negate ? utf8set::negated : 0) |
                                                    (fold ? utf8set::folded : 0));
    WriteI32(&operand[utf8set::kRangeCount], static_cast<int32_t>(joined.size()));
    for (std::size_t k = 0; k < joined.size(); ++k) {
        WriteI32(&operand[utf8set::kRanges + 8 * k], static_cast<int32_t>(joined[k].first));
        WriteI32(&operand[utf8set::kRanges + 8 * k + 4], static_cast<int32_t>(joined[k].second));
    }
    // The generic answer looks at the bitmaps below U+0800, so ask with
    // them empty and by the ranges instead.
    for (char32_t c = 0; c < utf8set::kSmallEnd; ++c) {
        const char32_t key = fold ? unicode::SimpleFold(c) : c;
        bool in = ((set.classes & utf8set::word) && unicode::IsRegexWord(c)) ||
                  ((set.classes & utf8set::digit) && unicode::IsRegexDigit(c)) ||
                  ((set.classes & utf8set::space) && unicode::IsRegexSpace(c));
        const auto range = std::upper_bound(joined.begin(), joined.end(), std::pair<char32_t, char32_t>(key, ~0u));
        in = in || (range != joined.begin() && key <= std::prev(range)->second);
        if (in != negate)
            operand[(c < 0x80 ? utf8set::kAscii : utf8set::kSmall) + (c >> 3)] |= static_cast<uint8_t>(1u << (c & 7));
    }
    for (unsigned b = 0; b < 256; ++b) {
        if (InSet(set.invalid, static_cast<unsigned char>(b)) != negate)
            operand[utf8set::kInvalid + (b >> 3)] |= static_cast<uint8_t>(1u << (b & 7));
    }
    const int ret = emitNode(opSetUtf8);
    for (uint8_t b : operand)
        emitByte(b);
    return ret;
}

void Compiler::addChar(CharSet& set, unsigned char c) const
{
    AddToSet(set, c);
    if (modOn(rmI))
        AddToSet(set, otherCase_[c]);
}

void Compiler::addClass(CharSet& set, char cls) const
{
    const std::string_view chars = cls == 'd' ? std::string_view("0123456789")
                                   : cls == 's' ? kSpaceChars
                                                : kWordChars;
    for (char ch : chars)
        addChar(set, static_cast<unsigned char>(ch));
}

// Under 'r' the ranges of the Cyrillic letters written with code-page
// characters also take in the letters that lie outside the range.
void Compiler::addRange(CharSet& set, unsigned char lo, unsigned char hi)
{
    if (modOn(rmR)) {
        const bool lower = lo == 0xE0 && hi == 0xFF;
        const bool upper = lo == 0xC0 && hi == 0xDF;
        const bool both = lo == 0xE0 && hi == 0xDF;
        if (lower || upper || both) {
            if (lower || both) {
                for (unsigned c = 0xE0; c <= 0xFF; ++c)
                    addChar(set, static_cast<unsigned char>(c));
                addChar(set, 0xB8);
            }
            if (upper || both) {
                for (unsigned c = 0xC0; c <= 0xDF; ++c)
                    addChar(set, static_cast<unsigned char>(c));
                addChar(set, 0xA8);
            }
            return;
        }
    }
    if (hi < lo)
        fail(reeInvalidRange);
    for (unsigned c = lo; c <= hi; ++c)
        addChar(set, static_cast<unsigned char>(c));
}

// One character of a set, escapes resolved; the cursor is on it.
unsigned char Compiler::parseSetChar()
{
    const char c = pat_[pos_++];
    if (c != '\\')
        return static_cast<unsigned char>(c);
    if (atEnd())
        fail(reeTrailingBackSlash);
    return unescape(pat_[pos_++]);
}

void Compiler::parseSetMember(CharSet& set)
{
    if (peek() == '\\' && pos_ + 1 < pat_.size()) {
        const char e = pat_[pos_ + 1];
        if (e == 'd' || e == 's' || e == 'w') {
            pos_ += 2;
            addClass(set, e);
            return;
        }
    }
    const unsigned char lo = parseSetChar();
    const bool range = pos_ + 1 < pat_.size() && peek() == '-' && pat_[pos_ + 1] != ']';
    if (!range) {
        addChar(set, lo);
        return;
    }
    ++pos_;
    if (peek() == '\\' && pos_ + 1 < pat_.size()) {
        const char e = pat_[pos_ + 1];
        if (e == 'd' || e == 's' || e == 'w') {  // "a-\d": no range, all three members
            addChar(set, lo);
            addChar(set, '-');
            return;
        }
    }
    addRange(set, lo, parseSetChar());
}

int Compiler::parseSet(int& flagp)
{
    bool negate = false;
    if (!atEnd() && peek() == '^') {
        negate = true;
        ++pos_;
    }
    CharSet set{};
    if (!atEnd() && peek() == ']') {
        addChar(set, ']');
        ++pos_;
    }
    for (;;) {
        if (atEnd())
            fail(reeUnmatchedSqBrackets);
        if (peek() == ']') {
            ++pos_;
            break;
        }
        parseSetMember(set);
    }
    flagp = fHasWidth | fSimple;
    return emitSet(set, negate);
}

int Compiler::emitSet(const CharSet& set, bool negate)
{
    int count = 0;
    for (uint64_t w : set)
        count += std::popcount(w);
    if (count == 0)
        fail(reeInternalUrp);
    if (count <= 3) {
        const int ret = emitNode(negate ? opAnyButTiny : opAnyOfTiny);
        unsigned char members[3];
        int n = 0;
        for (unsigned c = 0; c < 256; ++c) {
            if (InSet(set, static_cast<unsigned char>(c)))
                members[n++] = static_cast<unsigned char>(c);
        }
        for (int i = 0; i < 3; ++i)
            emitByte(members[std::min(i, n - 1)]);
        return ret;
    }
    const int ret = emitNode(opAnyOfFull);
    for (uint64_t w : set) {
        const uint64_t word = negate ? ~w : w;
        for (int b = 0; b < 8; ++b)
            emitByte(static_cast<uint8_t>(word >> (8 * b)));
    }
    return ret;
}

}  // namespace

Program Compile(std::string_view pattern, int modifiers, const LineBreaks& breaks, bool utf8,
                const codepage::TCodePage& page)
{
    Program prog;
    prog.otherCase = OtherCaseTable(page);
    Compiler sizing(pattern, modifiers, breaks, nullptr, utf8, prog.otherCase);
    sizing.run();
    prog.code.resize(sizing.size());
    Compiler emitter(pattern, modifiers, breaks, &prog.code, utf8, prog.otherCase);
    const int flags = emitter.run();
    if (emitter.size() != prog.code.size())
        throw EOstRegex(reeInternalUrp, 0);
    prog.modifiers = modifiers;
    prog.utf8 = utf8;
    prog.groupCount = emitter.groupCount();
    prog.minLength = static_cast<std::size_t>(emitter.minLength());
    for (char c : breaks.separators)
        AddToSet(prog.separators, static_cast<unsigned char>(c));
    prog.hasPair = breaks.hasPair;
    prog.pairHead = breaks.head;
    prog.pairTail = breaks.tail;
    ComputeShortcuts(prog, (flags & fSpStart) != 0);
    return prog;
}

}  // namespace ostrel::regex_detail
