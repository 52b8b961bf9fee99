#pragma once
// Search engines of the editor control: the interface shared by the plain and
// the regular-expression engine, and the plain engine. An engine finds every
// match of its pattern in one line and builds the text that replaces a match;
// walking the lines, selecting and replacing is the control's part.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextChars.h"
#include "platform/TextEncoding.h"

namespace ostrel {

// Search options, an 8-bit set passed to the engine and to the control.
enum TOstSearchOption : uint8_t {
    ssoMatchCase = 1,        // case-sensitive comparison
    ssoWholeWord = 2,        // a match must stand between non-word characters (plain engine)
    ssoBackwards = 4,        // search towards the start of the text
    ssoEntireScope = 8,      // the whole text (or selection), not from the caret
    ssoSelectedOnly = 16,    // only inside the selection
    ssoReplace = 32,         // replace the first match
    ssoReplaceAll = 64,      // replace every match
    ssoPromptOnReplace = 128 // ask before each replacement
};
using TOstSearchOptions = uint8_t;

// Answers of the control's OnReplaceText event.
enum TOstReplaceAction : uint8_t { raCancel = 0, raSkip = 1, raReplace = 2, raReplaceAll = 3 };

class TOstEditSearchCustom {
public:
    virtual ~TOstEditSearchCustom() = default;

    virtual std::string Pattern() const = 0;
    virtual void SetPattern(std::string_view pattern) = 0;
    virtual void SetOptions(TOstSearchOptions options) = 0;
    // The encoding of the lines searched: how their bytes form characters,
    // which of them are letters and how their case goes.
    virtual void SetEncoding(TOstEncoding encoding) = 0;

    // Finds every match in one line (no line break); returns their number.
    virtual int FindAll(std::string_view line) = 0;
    virtual int ResultCount() const = 0;
    // The 1-based position and the length of a match of the last FindAll,
    // by its index from 0.
    virtual int Result(int index) const = 0;
    virtual int Length(int index) const = 0;

    // The text to put in place of the matched text.
    virtual std::string Replace(std::string_view matched, std::string_view replacement) = 0;
    // The same for a match of the last FindAll, named by its index; exact
    // where the replacement depends on the text around the match.
    virtual std::string ReplaceResult(int index, std::string_view replacement) = 0;
};

// The plain engine: a quick search with a shift table indexed by the byte
// after the window, comparing through a translation table so that ignoring
// case needs no copy of a line in the code pages. In UTF-8 a match begins
// and ends where characters do; ignoring case compares simply folded text,
// so a line beyond ASCII is folded first (the lengths of a character's
// cases may differ, so may a match's length from the pattern's).
class TOstEditSearch : public TOstEditSearchCustom {
public:
    std::string Pattern() const override { return pattern_; }
    void SetPattern(std::string_view pattern) override;
    void SetOptions(TOstSearchOptions options) override;
    void SetEncoding(TOstEncoding encoding) override;

    // Raises EOstEditError "Pattern is empty" for an empty pattern.
    int FindAll(std::string_view line) override;
    int ResultCount() const override { return static_cast<int>(results_.size()); }
    int Result(int index) const override;
    int Length(int index) const override;

    std::string Replace(std::string_view matched, std::string_view replacement) override;
    std::string ReplaceResult(int index, std::string_view replacement) override;

    // Matches counted since the pattern was set.
    int Count() const { return count_; }

private:
    void buildTables();
    // The 1-based start of the next match of `key` with its last character
    // at or after `pos`, or 0; leaves `pos` where the search goes on.
    int next(std::string_view line, std::string_view key, std::size_t& pos) const;
    bool standsAlone(std::string_view line, std::size_t start, std::size_t end) const;
    bool wordAt(std::string_view line, std::size_t i) const;
    // Every match of key in text, given back in the line's offsets.
    void collect(std::string_view line, std::string_view text, std::string_view key,
                 const std::vector<uint32_t>* offsets);
    void foldLine(std::string_view line);

    std::string pattern_;
    std::string key_;  // the pattern as compared: folded in UTF-8 when ignoring case
    bool matchCase_ = false;
    bool wholeWord_ = false;
    bool tablesBuilt_ = false;
    TOstEncoding encoding_ = TOstEncoding::Windows1250;
    TOstTextChars chars_{TOstEncoding::Windows1250};
    std::string folded_;             // the line folded
    std::vector<uint32_t> offsets_;  // the line's offset of each byte of folded_, and of its end
    std::array<unsigned char, 256> trans_{};
    std::array<bool, 256> delimiter_{};
    std::array<std::size_t, 256> shift_{};
    std::size_t lookAt_ = 1;
    int count_ = 0;
    std::vector<int> results_;
    std::vector<int> lengths_;
};

}  // namespace ostrel
