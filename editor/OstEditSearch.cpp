#include "editor/OstEditSearch.h"

#include "editor/OstEditTypes.h"
#include "platform/CodePage.h"
#include "platform/Unicode.h"
#include "platform/UnicodeCase.h"
#include "platform/Utf8.h"

namespace ostrel {

namespace {

// Letters and digits of a code page: those with a case partner, the
// lower-case letters without one (sharp s, and the micro sign of
// Windows-1250), and the ASCII digits.
bool IsAlphaNumeric(const codepage::TCodePage& page, unsigned char c)
{
    return (c >= '0' && c <= '9') || page.IsUpper(c) || page.IsLower(c) || c == 0xDF ||
           (c == 0xB5 && &page == &codepage::Windows1250());
}

void AppendFolded(std::string& out, std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const utf8::TDecoded d = utf8::Decode(text, i);
        if (d.valid)
            utf8::Append(out, unicode::SimpleFold(d.cp));
        else
            out += text[i];
        i += d.length;
    }
}

}  // namespace

void TOstEditSearch::SetEncoding(TOstEncoding encoding)
{
    if (encoding == encoding_)
        return;
    encoding_ = encoding;
    chars_ = TOstTextChars(encoding);
    tablesBuilt_ = false;
}

void TOstEditSearch::SetPattern(std::string_view pattern)
{
    if (pattern != pattern_) {
        pattern_ = pattern;
        tablesBuilt_ = false;
    }
    count_ = 0;
}

void TOstEditSearch::SetOptions(TOstSearchOptions options)
{
    const bool matchCase = (options & ssoMatchCase) != 0;
    if (matchCase != matchCase_)
        tablesBuilt_ = false;
    matchCase_ = matchCase;
    wholeWord_ = (options & ssoWholeWord) != 0;
}

void TOstEditSearch::buildTables()
{
    if (pattern_.empty())
        throw EOstEditError("Pattern is empty");
    const bool utf8 = HoldsUtf8(encoding_);
    const codepage::TCodePage& page = utf8 ? codepage::Windows1250() : *CodePageOf(encoding_);
    key_.clear();
    if (utf8 && !matchCase_)
        AppendFolded(key_, pattern_);
    else
        key_ = pattern_;
    for (unsigned c = 0; c < 256; ++c) {
        const auto b = static_cast<unsigned char>(c);
        // In UTF-8 the key and the folded lines are compared as they are.
        trans_[c] = matchCase_ || utf8 ? b : page.ToLower(b);
        delimiter_[c] = !IsAlphaNumeric(page, b) && b != '_';
    }
    const std::size_t len = key_.size();
    shift_.fill(len + 1);
    for (std::size_t j = 1; j <= len; ++j)
        shift_[trans_[static_cast<unsigned char>(key_[j - 1])]] = len + 1 - j;
    const unsigned char last = trans_[static_cast<unsigned char>(key_[len - 1])];
    lookAt_ = len;
    for (std::size_t k = 1; k < len; ++k) {
        if (trans_[static_cast<unsigned char>(key_[len - 1 - k])] == last) {
            lookAt_ = k;
            break;
        }
    }
    tablesBuilt_ = true;
}

// A letter, digit or '_' at byte i of the line; in UTF-8 the code point
// there, a combining mark counting as part of its word.
bool TOstEditSearch::wordAt(std::string_view line, std::size_t i) const
{
    if (!chars_.Utf8() || static_cast<unsigned char>(line[i]) < 0x80)
        return !delimiter_[static_cast<unsigned char>(line[i])];
    const utf8::TDecoded d = utf8::Decode(line, i);
    return d.valid && unicode::IsWordCharacter(d.cp);
}

bool TOstEditSearch::standsAlone(std::string_view line, std::size_t start, std::size_t end) const
{
    if (chars_.Utf8() && (!chars_.IsBoundary(line, start) || !chars_.IsBoundary(line, end)))
        return false;  // a part of a character is never a match, whole words or not
    if (!wholeWord_)
        return true;
    const bool before =
        start == 0 || !wordAt(line, chars_.Utf8() ? utf8::PrevBoundary(line, start) : start - 1);
    const bool after = end >= line.size() || !wordAt(line, end);
    return before && after;
}

// `pos` is the 1-based position of the window's last character.
int TOstEditSearch::next(std::string_view line, std::string_view key, std::size_t& pos) const
{
    const std::size_t len = key.size();
    const unsigned char last = trans_[static_cast<unsigned char>(key[len - 1])];
    auto at = [&](std::size_t p) { return trans_[static_cast<unsigned char>(line[p - 1])]; };
    while (pos <= line.size()) {
        if (at(pos) != last) {
            const unsigned char after = pos < line.size() ? at(pos + 1) : trans_[0];
            pos += shift_[after];
            continue;
        }
        const std::size_t start = pos - len;  // 0-based
        std::size_t i = 0;
        while (i < len && at(start + 1 + i) == trans_[static_cast<unsigned char>(key[i])])
            ++i;
        if (i == len) {
            pos += len;
            return static_cast<int>(start + 1);
        }
        pos += lookAt_;
        if (pos <= line.size())
            pos += shift_[at(pos)] - 1;
    }
    return 0;
}

// A match that does not stand alone is passed over, and the search goes on
// from its second byte, as the next one may overlap it.
void TOstEditSearch::collect(std::string_view line, std::string_view text, std::string_view key,
                             const std::vector<uint32_t>* offsets)
{
    std::size_t pos = key.size();
    for (int found = next(text, key, pos); found != 0; found = next(text, key, pos)) {
        std::size_t start = static_cast<std::size_t>(found - 1);
        std::size_t end = start + key.size();
        if (offsets) {
            start = (*offsets)[start];
            end = (*offsets)[end];
        }
        if (!standsAlone(line, start, end)) {
            pos = static_cast<std::size_t>(found) + key.size();
            continue;
        }
        results_.push_back(static_cast<int>(start + 1));
        lengths_.push_back(static_cast<int>(end - start));
        ++count_;
    }
}

void TOstEditSearch::foldLine(std::string_view line)
{
    folded_.clear();
    offsets_.clear();
    for (std::size_t i = 0; i < line.size();) {
        const utf8::TDecoded d = utf8::Decode(line, i);
        const std::size_t before = folded_.size();
        if (d.valid)
            utf8::Append(folded_, unicode::SimpleFold(d.cp));
        else
            folded_ += line[i];
        offsets_.insert(offsets_.end(), folded_.size() - before, static_cast<uint32_t>(i));
        i += d.length;
    }
    offsets_.push_back(static_cast<uint32_t>(line.size()));
}

int TOstEditSearch::FindAll(std::string_view line)
{
    results_.clear();
    lengths_.clear();
    if (!tablesBuilt_)
        buildTables();
    const bool folding = chars_.Utf8() && !matchCase_;
    if (folding && utf8::SkipAscii(line, 0) < line.size()) {
        foldLine(line);
        collect(line, folded_, key_, &offsets_);
    } else if (folding) {  // ASCII folds by itself; the key is folded already
        folded_.assign(line);
        for (char& c : folded_)
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        collect(line, folded_, key_, nullptr);
    } else {
        collect(line, line, key_, nullptr);
    }
    return ResultCount();
}

int TOstEditSearch::Result(int index) const
{
    return index >= 0 && index < ResultCount() ? results_[static_cast<std::size_t>(index)] : 0;
}

int TOstEditSearch::Length(int index) const
{
    return index >= 0 && index < ResultCount() ? lengths_[static_cast<std::size_t>(index)] : 0;
}

std::string TOstEditSearch::Replace(std::string_view, std::string_view replacement)
{
    return std::string(replacement);
}

std::string TOstEditSearch::ReplaceResult(int, std::string_view replacement)
{
    return std::string(replacement);
}

}  // namespace ostrel
