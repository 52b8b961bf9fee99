// Search shortcuts of a compiled TOstRegex program: what a match must begin
// with or contain, so that the search tries few start positions.

#include <algorithm>

#include "editor/OstRegexProgram.h"
#include "platform/UnicodeCase.h"
#include "platform/Utf8.h"

namespace ostrel::regex_detail {

namespace {

unsigned char LeadByte(char32_t cp)
{
    char bytes[4];
    utf8::Encode(cp, bytes);
    return static_cast<unsigned char>(bytes[0]);
}

// The first bytes of a folded literal character in UTF-8 mode: those of every
// character that folds to it.
void AddFoldedFirstBytes(CharSet& s, const uint8_t* chars, std::size_t n)
{
    const utf8::TDecoded d = utf8::Decode(std::string_view(reinterpret_cast<const char*>(chars), n), 0);
    AddToSet(s, LeadByte(d.cp));
    if (d.cp < 0x80)
        AddToSet(s, LeadByte(unicode::SimpleUpper(d.cp)));
    for (char32_t partner : unicode::FoldPartners(d.cp))
        AddToSet(s, LeadByte(partner));
}

// The first bytes of what an opSetUtf8 set matches.
CharSet Utf8SetFirstBytes(const uint8_t* operand)
{
    CharSet s{};
    for (unsigned c = 0; c < 0x80; ++c) {
        if ((operand[utf8set::kAscii + (c >> 3)] >> (c & 7)) & 1)
            AddToSet(s, static_cast<unsigned char>(c));
    }
    for (unsigned b = 0x80; b < 256; ++b) {
        if ((operand[utf8set::kInvalid + (b >> 3)] >> (b & 7)) & 1)
            AddToSet(s, static_cast<unsigned char>(b));
    }
    const uint8_t flags = operand[utf8set::kFlags];
    if (flags & (utf8set::negated | utf8set::folded | utf8set::word | utf8set::digit | utf8set::space)) {
        for (unsigned b = 0xC2; b <= 0xF4; ++b)
            AddToSet(s, static_cast<unsigned char>(b));
        return s;
    }
    const auto count = static_cast<std::size_t>(ReadI32(operand + utf8set::kRangeCount));
    for (std::size_t k = 0; k < count; ++k) {
        const auto lo = static_cast<char32_t>(ReadI32(operand + utf8set::kRanges + 8 * k));
        const auto hi = static_cast<char32_t>(ReadI32(operand + utf8set::kRanges + 8 * k + 4));
        if (hi < 0x80)
            continue;
        for (unsigned b = LeadByte(std::max<char32_t>(lo, 0x80)); b <= LeadByte(hi); ++b)
            AddToSet(s, static_cast<unsigned char>(b));
    }
    return s;
}

CharSet NodeFirstChars(const Program& prog, int node, bool& any)
{
    CharSet s{};
    const uint8_t* operand = &prog.code[Program::operand(node)];
    switch (prog.op(node)) {
    case opExactly:
        AddToSet(s, operand[4]);
        break;
    case opExactlyCi:
        if (prog.utf8) {
            AddFoldedFirstBytes(s, operand + 4, static_cast<std::size_t>(ReadI32(operand)));
            break;
        }
        AddToSet(s, operand[4]);
        AddToSet(s, prog.otherCase[operand[4]]);
        break;
    case opAnyOfTiny:
        for (int i = 0; i < 3; ++i)
            AddToSet(s, operand[i]);
        break;
    case opAnyButTiny:
        s = {~0ull, ~0ull, ~0ull, ~0ull};
        for (int i = 0; i < 3; ++i)
            s[operand[i] >> 6] &= ~(uint64_t(1) << (operand[i] & 63));
        break;
    case opAnyOfFull:
        for (int w = 0; w < 4; ++w) {
            uint64_t word = 0;
            for (int b = 0; b < 8; ++b)
                word |= uint64_t(operand[w * 8 + b]) << (8 * b);
            s[static_cast<std::size_t>(w)] = word;
        }
        break;
    case opAnyDigit:
        for (char c = '0'; c <= '9'; ++c)
            AddToSet(s, static_cast<unsigned char>(c));
        break;
    case opNotDigit:
        s = {~0ull, ~0ull, ~0ull, ~0ull};
        for (char c = '0'; c <= '9'; ++c)
            s[0] &= ~(uint64_t(1) << c);
        break;
    case opSetUtf8:
        s = Utf8SetFirstBytes(operand);
        break;
    default:  // any character
        any = true;
        break;
    }
    return s;
}

// The pairs of first characters of a literal node, or false when the node
// can begin a match with a single character.
bool AddLiteralPairs(const Program& prog, int node, std::vector<uint64_t>& pairs)
{
    const uint8_t op = prog.op(node);
    const uint8_t* operand = &prog.code[Program::operand(node)];
    if ((op != opExactly && op != opExactlyCi) || ReadI32(operand) < 2)
        return false;
    if (op == opExactlyCi && prog.utf8)  // other characters fold to these too
        return false;
    const unsigned char c0 = operand[4], c1 = operand[5];
    auto add = [&](unsigned char a, unsigned char b) {
        const unsigned pair = unsigned(a) << 8 | b;
        pairs[pair >> 6] |= uint64_t(1) << (pair & 63);
    };
    add(c0, c1);
    if (op == opExactlyCi) {
        add(prog.otherCase[c0], c1);
        add(c0, prog.otherCase[c1]);
        add(prog.otherCase[c0], prog.otherCase[c1]);
    }
    return true;
}

// The characters a match can begin with, found by walking every path from the
// program's start up to its first consuming node. `any` is set when a path
// reaches the end (or a backreference) without consuming.
void ComputeFirstChars(Program& prog)
{
    bool any = false;
    CharSet set{};
    std::vector<uint64_t> pairs(65536 / 64, 0);
    bool pairsUsable = true;
    std::vector<uint8_t> visited(prog.code.size(), 0);
    std::vector<int> work{1};
    auto addNode = [&](int node) {
        const CharSet s = NodeFirstChars(prog, node, any);
        for (std::size_t w = 0; w < 4; ++w)
            set[w] |= s[w];
        pairsUsable = pairsUsable && AddLiteralPairs(prog, node, pairs);
    };
    while (!work.empty() && !any) {
        const int node = work.back();
        work.pop_back();
        if (node == 0 || visited[static_cast<std::size_t>(node)])
            continue;
        visited[static_cast<std::size_t>(node)] = 1;
        const int next = prog.next(node);
        switch (prog.op(node)) {
        case opEnd:
        case opBackref:
        case opBackrefCi:
            any = true;
            break;
        case opBranch:
            work.push_back(Program::operand(node));
            if (next != 0 && prog.op(next) == opBranch)
                work.push_back(next);
            break;
        case opStar:
        case opStarNg:
            addNode(Program::operand(node));
            work.push_back(next);
            break;
        case opPlus:
        case opPlusNg:
            addNode(Program::operand(node));
            break;
        case opBraces:
        case opBracesNg:
            addNode(Program::operand(node) + 8);
            if (ReadI32(&prog.code[Program::operand(node)]) == 0)
                work.push_back(next);
            break;
        case opLoop:
        case opLoopNg: {
            const int at = Program::operand(node);
            work.push_back(node + ReadI32(&prog.code[at + 8]));
            if (ReadI32(&prog.code[at]) == 0)
                work.push_back(next);
            break;
        }
        case opBol: case opEol: case opBolMl: case opEolMl: case opBound: case opNotBound:
        case opBack: case opNothing: case opComment: case opOpen: case opClose:
        case opLoopEntry:
            work.push_back(next);
            break;
        default:
            addNode(node);
            break;
        }
    }
    prog.anyFirstChar = any || set == CharSet{~0ull, ~0ull, ~0ull, ~0ull};
    for (unsigned c = 0; c < 256; ++c)
        prog.firstChars[c] = InSet(set, static_cast<unsigned char>(c)) ? 1 : 0;
    if (!prog.anyFirstChar && pairsUsable)
        prog.firstPairs = std::move(pairs);
}

}  // namespace

void ComputeShortcuts(Program& prog, bool startsWithRepeat)
{
    const int first = 1;
    if (prog.op(prog.next(first)) == opEnd) {  // a single top-level branch
        const int scan = Program::operand(first);
        if (prog.op(scan) == opExactly) {
            const auto* chars = &prog.code[Program::operand(scan) + 4];
            prog.firstLiteral.assign(reinterpret_cast<const char*>(chars),
                                     static_cast<std::size_t>(ReadI32(chars - 4)));
        } else if (prog.op(scan) == opBol) {
            prog.anchored = true;
        }
        if (startsWithRepeat) {
            for (int n = scan; n != 0; n = prog.next(n)) {
                if (prog.op(n) != opExactly)
                    continue;
                const int len = ReadI32(&prog.code[Program::operand(n)]);
                if (static_cast<std::size_t>(len) > prog.mustContain.size()) {
                    const auto* chars = &prog.code[Program::operand(n) + 4];
                    prog.mustContain.assign(reinterpret_cast<const char*>(chars),
                                            static_cast<std::size_t>(len));
                }
            }
        }
    }
    ComputeFirstChars(prog);
}

}  // namespace ostrel::regex_detail
