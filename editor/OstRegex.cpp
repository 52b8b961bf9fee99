#include "editor/OstRegex.h"

#include "editor/OstRegexProgram.h"

namespace ostrel {

namespace {

constexpr struct {
    int code;
    const char* text;
} kErrorTexts[] = {
    {reeOk, "No errors"},
    {reeCompNullArgument, "TOstRegex(comp): Null Argument"},
    {reeCompRegexpTooBig, "TOstRegex(comp): Regexp Too Big"},
    {reeCompParseRegTooManyBrackets, "TOstRegex(comp): ParseReg Too Many ()"},
    {reeCompParseRegUnmatchedBrackets, "TOstRegex(comp): ParseReg Unmatched ()"},
    {reeCompParseRegUnmatchedBrackets2, "TOstRegex(comp): ParseReg Unmatched ()"},
    {reeCompParseRegJunkOnEnd, "TOstRegex(comp): ParseReg Junk On End"},
    {reePlusStarOperandCouldBeEmpty, "TOstRegex(comp): *+ Operand Could Be Empty"},
    {reeNestedSQP, "TOstRegex(comp): Nested *?+"},
    {reeBadHexDigit, "TOstRegex(comp): Bad Hex Digit"},
    {reeInvalidRange, "TOstRegex(comp): Invalid [] Range"},
    {reeParseAtomTrailingBackSlash, "TOstRegex(comp): Parse Atom Trailing \\"},
    {reeNoHexCodeAfterBSlashX, "TOstRegex(comp): No Hex Code After \\x"},
    {reeHexCodeAfterBSlashXTooBig, "TOstRegex(comp): Hex Code After \\x Is Too Big"},
    {reeUnmatchedSqBrackets, "TOstRegex(comp): Unmatched []"},
    {reeInternalUrp, "TOstRegex(comp): Internal Urp"},
    {reeQPSBFollowsNothing, "TOstRegex(comp): ?+*{ Follows Nothing"},
    {reeTrailingBackSlash, "TOstRegex(comp): Trailing \\"},
    {reeRarseAtomInternalDisaster, "TOstRegex(comp): RarseAtom Internal Disaster"},
    {reeBRACESArgTooBig, "TOstRegex(comp): BRACES Argument Too Big"},
    {reeBracesMinParamGreaterMax, "TOstRegex(comp): BRACE Min Param Greater then Max"},
    {reeUnclosedComment, "TOstRegex(comp): Unclosed (?#Comment)"},
    {reeUnrecognizedModifier, "TOstRegex(comp): Urecognized Modifier"},
    {reeBadLinePairedSeparator,
     "TOstRegex(comp): LinePairedSeparator must countain two different chars or no chars at all"},
    {reeRegRepeatCalledInappropriately, "TOstRegex(exec): RegRepeat Called Inappropriately"},
    {reeMatchPrimMemoryCorruption, "TOstRegex(exec): MatchPrim Memory Corruption"},
    {reeMatchPrimCorruptedPointers, "TOstRegex(exec): MatchPrim Corrupted Pointers"},
    {reeNoExpression, "TOstRegex(exec): Not Assigned Expression Property"},
    {reeCorruptedProgram, "TOstRegex(exec): Corrupted Program"},
    {reeNoInputStringSpecified, "TOstRegex(exec): No Inpit String Specified"},
    {reeOffsetMustBeGreaterThen0, "TOstRegex(exec): Offset Must Be Greater Then 0"},
    {reeExecNextWithoutExec, "TOstRegex(exec): ExecNext Without Exec[Pos]"},
    {reeGetInputStringWithoutInputString, "TOstRegex(exec): GetInputString Without InputString"},
    {reeLoopStackExceeded, "TOstRegex(exec): Loop Stack Exceeded"},
    {reeLoopWithoutEntry, "TOstRegex(exec): Loop Without LoopEntry !"},
    {reeBacktrackLimitExceeded,
     "TOstRegex(exec): Backtrack Limit Exceeded (the match is too complex for the input)"},
    {reeStepLimitExceeded,
     "TOstRegex(exec): Step Limit Exceeded (the match takes too long for the input)"},
    {reeInterrupted, "TOstRegex(exec): Interrupted"},
};

constexpr std::string_view kModifierLetters = "irsgmx";
constexpr int kModifierBits[] = {rmI, rmR, rmS, rmG, rmM, rmX};
constexpr int kAllModifiers = rmI | rmR | rmS | rmG | rmM | rmX;

std::string ErrorMessage(int code, std::ptrdiff_t pos)
{
    std::string msg = TOstRegex::ErrorMsg(code);
    if (code < 1000)
        msg += " (pos " + std::to_string(pos) + ")";
    return msg;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A template reference after a '$' at `at`: "N...", "{N...}", "&" or "{&}".
// Returns the slot (0 for '&') and moves `at` past it, or -2 when none.
int ParseTemplateRef(std::string_view t, std::size_t& at)
{
    std::size_t p = at;
    const bool braced = p < t.size() && t[p] == '{';
    if (braced)
        ++p;
    int slot = -2;
    if (p < t.size() && t[p] == '&') {
        slot = 0;
        ++p;
    } else if (p < t.size() && IsDigit(t[p])) {
        slot = 0;
        while (p < t.size() && IsDigit(t[p])) {
            if (slot <= TOstRegex::kSlotCount)  // larger numbers name no slot either way
                slot = slot * 10 + (t[p] - '0');
            ++p;
        }
    }
    if (slot == -2)
        return -2;
    if (braced) {
        if (p >= t.size() || t[p] != '}')
            return -2;
        ++p;
    }
    at = p;
    return slot;
}

}  // namespace

EOstRegex::EOstRegex(int code, std::ptrdiff_t compilerPos)
    : std::runtime_error(ErrorMessage(code, compilerPos)), code_(code), pos_(compilerPos)
{
}

std::string TOstRegex::ErrorMsg(int code)
{
    for (const auto& e : kErrorTexts) {
        if (e.code == code)
            return e.text;
    }
    return "Unknown error";
}

TOstRegex::TOstRegex() : scratch_(std::make_unique<regex_detail::MatchScratch>())
{
    starts_.fill(-1);
    ends_.fill(-1);
}

TOstRegex::~TOstRegex() = default;
TOstRegex::TOstRegex(TOstRegex&&) noexcept = default;
TOstRegex& TOstRegex::operator=(TOstRegex&&) noexcept = default;

void TOstRegex::fail(int code)
{
    lastError_ = code;
    throw EOstRegex(code, 0);
}

int TOstRegex::LastError()
{
    const int code = lastError_;
    lastError_ = reeOk;
    return code;
}

void TOstRegex::SetExpression(std::string_view expression)
{
    if (expression == expression_ && program_)
        return;
    program_.reset();
    expression_ = expression;
}

void TOstRegex::SetModifier(TOstRegexModifier m, bool on)
{
    SetModifierMask(on ? (modifiers_ | m) : (modifiers_ & ~m));
}

void TOstRegex::SetModifierMask(int mask)
{
    modifiers_ = mask & kAllModifiers;  // the program is checked against it at the next run
}

std::string TOstRegex::ModifierStr() const
{
    std::string on, off;
    for (std::size_t i = 0; i < kModifierLetters.size(); ++i)
        ((modifiers_ & kModifierBits[i]) ? on : off) += kModifierLetters[i];
    return off.empty() ? on : on + "-" + off;
}

void TOstRegex::SetModifierStr(std::string_view letters)
{
    int mask = modifiers_;
    bool on = true;
    for (char c : letters) {
        if (c == '-') {
            on = false;
            continue;
        }
        const std::size_t i = kModifierLetters.find(static_cast<char>(c | 0x20));
        if (i == std::string_view::npos)
            fail(reeUnrecognizedModifier);
        mask = on ? (mask | kModifierBits[i]) : (mask & ~kModifierBits[i]);
    }
    SetModifierMask(mask);
}

void TOstRegex::SetUtf8Mode(bool on)
{
    SetEncoding(on ? TOstEncoding::Utf8 : TOstEncoding::Windows1250);
}

void TOstRegex::SetEncoding(TOstEncoding encoding)
{
    const bool utf8 = HoldsUtf8(encoding);
    const TOstEncoding page = utf8 ? TOstEncoding::Windows1250 : encoding;
    if (utf8 == utf8_ && page == page_)
        return;
    utf8_ = utf8;
    page_ = page;
    program_.reset();
}

void TOstRegex::SetInterruptCheck(std::function<bool()> check)
{
    if (!scratch_)
        scratch_ = std::make_unique<regex_detail::MatchScratch>();
    scratch_->interrupted = std::move(check);
}

void TOstRegex::SetLineSeparators(std::string_view separators)
{
    if (separators == lineSeparators_)
        return;
    lineSeparators_ = separators;
    program_.reset();
}

std::string TOstRegex::LinePairedSeparator() const
{
    if (!hasPair_)
        return {};
    return {static_cast<char>(pairHead_), static_cast<char>(pairTail_)};
}

void TOstRegex::SetLinePairedSeparator(std::string_view pair)
{
    if (pair.empty()) {
        hasPair_ = false;
    } else if (pair.size() == 2 && pair[0] != pair[1]) {
        hasPair_ = true;
        pairHead_ = static_cast<unsigned char>(pair[0]);
        pairTail_ = static_cast<unsigned char>(pair[1]);
    } else {
        fail(reeBadLinePairedSeparator);
    }
    program_.reset();
}

void TOstRegex::Compile()
{
    if (expression_.empty()) {
        program_.reset();
        fail(reeNoExpression);
    }
    const regex_detail::LineBreaks breaks{lineSeparators_, hasPair_, pairHead_, pairTail_};
    try {
        program_ = std::make_unique<regex_detail::Program>(
            regex_detail::Compile(expression_, modifiers_, breaks, utf8_, *CodePageOf(page_)));
    } catch (const EOstRegex& e) {
        program_.reset();
        lastError_ = e.ErrorCode();
        throw;
    }
}

void TOstRegex::ensureCompiled()
{
    if (!program_ || program_->modifiers != modifiers_ || program_->utf8 != utf8_)
        Compile();
    if (program_->code.empty() || program_->code[0] != regex_detail::kCheckByte)
        fail(reeCorruptedProgram);
}

bool TOstRegex::Exec(std::string_view input)
{
    input_.assign(input.data(), input.size());
    hasInput_ = true;
    return searchFrom(0);
}

bool TOstRegex::ExecFrom(std::ptrdiff_t offset)
{
    if (offset < 1)
        fail(reeOffsetMustBeGreaterThen0);
    if (!hasInput_)
        fail(reeNoInputStringSpecified);
    const auto start = static_cast<std::size_t>(offset - 1);
    if (start > input_.size()) {
        matched_ = false;
        starts_.fill(-1);
        ends_.fill(-1);
        return false;
    }
    return searchFrom(start);
}

bool TOstRegex::ExecNext()
{
    if (!matched_)
        fail(reeExecNextWithoutExec);
    std::ptrdiff_t next = ends_[0];
    if (ends_[0] == starts_[0])
        ++next;  // an empty match: move on, or the same empty match comes again
    return ExecFrom(next + 1);
}

bool TOstRegex::searchFrom(std::size_t start)
{
    matched_ = false;
    starts_.fill(-1);
    ends_.fill(-1);
    if (!hasInput_)
        fail(reeNoInputStringSpecified);
    ensureCompiled();
    if (!scratch_)  // moved from
        scratch_ = std::make_unique<regex_detail::MatchScratch>();
    try {
        matched_ = regex_detail::Search(*program_, input_, start, *scratch_, starts_, ends_);
    } catch (const EOstRegex& e) {
        scratch_->releaseIfLarge();
        starts_.fill(-1);  // a failed run may have left a partial match
        ends_.fill(-1);
        lastError_ = e.ErrorCode();
        throw;
    }
    scratch_->releaseIfLarge();
    return matched_;
}

const std::string& TOstRegex::InputString() const
{
    if (!hasInput_)
        throw EOstRegex(reeGetInputStringWithoutInputString, 0);
    return input_;
}

std::ptrdiff_t TOstRegex::MatchPos(int slot) const
{
    if (slot < 0 || slot >= kSlotCount || !hasInput_ || starts_[slot] < 0 || ends_[slot] < 0)
        return -1;
    return starts_[slot] + 1;
}

std::ptrdiff_t TOstRegex::MatchLen(int slot) const
{
    if (slot < 0 || slot >= kSlotCount || !hasInput_ || starts_[slot] < 0 || ends_[slot] < 0)
        return -1;
    return ends_[slot] - starts_[slot];
}

std::string TOstRegex::Match(int slot) const
{
    const std::ptrdiff_t pos = MatchPos(slot);
    if (pos < 0)
        return {};
    return input_.substr(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(MatchLen(slot)));
}

int TOstRegex::SubExprMatchCount() const
{
    if (!matched_)
        return -1;
    int last = 0;
    for (int g = 1; g < kSlotCount; ++g) {
        if (starts_[g] >= 0)
            last = g;
    }
    return last;
}

std::string TOstRegex::Substitute(std::string_view templ) const
{
    std::string out;
    for (std::size_t i = 0; i < templ.size();) {
        const char c = templ[i++];
        if (c == '\\' && i < templ.size()) {
            out += templ[i++];
        } else if (c == '$') {
            std::size_t at = i;
            const int slot = ParseTemplateRef(templ, at);
            if (slot == -2) {
                out += c;
                continue;
            }
            i = at;
            if (MatchPos(slot) > 0)
                out.append(input_, static_cast<std::size_t>(starts_[slot]),
                           static_cast<std::size_t>(ends_[slot] - starts_[slot]));
        } else {
            out += c;
        }
    }
    return out;
}

std::string TOstRegex::Replace(std::string_view input, std::string_view replacement,
                               bool useSubstitution)
{
    std::string out;
    std::size_t copied = 0;
    for (bool found = Exec(input); found; found = ExecNext()) {
        const auto start = static_cast<std::size_t>(starts_[0]);
        out.append(input_, copied, start - copied);
        out += useSubstitution ? Substitute(replacement) : std::string(replacement);
        copied = static_cast<std::size_t>(ends_[0]);
    }
    out.append(input_, copied, std::string::npos);
    return out;
}

}  // namespace ostrel
