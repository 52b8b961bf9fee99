#pragma once
// Keyword recognition shared by the lexers. A word is classified by a hash
// (the sum of its characters' values in the lexer's 256-entry value table)
// and then compared with the few keywords of that hash: equal length, and
// position by position the same value. Letters that differ only in case
// usually share a value, which makes such lexers case-insensitive.
//
// TOstKeywordTable serves the lexers with fixed keyword lists (built once per
// class); TOstHashEntryList is the chain list the CSS and SQL lexers fill at
// run time.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "highlighters/OstEditHighlighter.h"

namespace ostrel {

using TOstCharValues = std::array<int, 256>;

// Whether a character of a word matches that of a keyword: the same value,
// and a byte from 0x80 up only itself, whatever value it has, so that no
// letter of a multi-byte character ever stands for a keyword's character.
inline bool SameKeywordChar(const TOstCharValues& values, unsigned char keyword, unsigned char word)
{
    return values[keyword] == values[word] && (word < 0x80 || word == keyword);
}

// The usual value table: A-Z and a-z are 1 to 26, "_" is 31 when
// `underscore`, everything else 0.
TOstCharValues LetterValues(bool underscore);

class TOstKeywordTable {
public:
    TOstKeywordTable(const TOstCharValues& values, int maxHash);

    const TOstCharValues& Values() const { return values_; }
    int MaxHash() const { return maxHash_; }

    // Adds a keyword at the hash the lexer computed for it. Keywords of one
    // hash are compared in the order they were added.
    void Add(int hash, std::string_view keyword, int kind);

    // The kind of the word: aboveMax when the hash is above the largest hash
    // value, the kind of the first matching keyword, or notFound.
    int Classify(const unsigned char* word, int length, int hash, int notFound, int aboveMax) const
    {
        if (hash < 0 || hash > maxHash_)
            return aboveMax;
        for (const Entry& e : buckets_[static_cast<size_t>(hash)])
            if (e.text.size() == static_cast<size_t>(length) && sameValues(e.text, word))
                return e.kind;
        return notFound;
    }

private:
    struct Entry {
        std::string text;
        int kind;
    };
    bool sameValues(const std::string& keyword, const unsigned char* word) const
    {
        for (size_t i = 0; i < keyword.size(); ++i)
            if (!SameKeywordChar(values_, static_cast<unsigned char>(keyword[i]), word[i]))
                return false;
        return true;
    }

    TOstCharValues values_;
    int maxHash_;
    std::vector<std::vector<Entry>> buckets_;
};

// One keyword of a chain list.
struct TOstHashEntry {
    std::string Keyword;
    int KeywordLen = 0;
    int Kind = 0;
    std::unique_ptr<TOstHashEntry> Next;
};

// Chains of keywords indexed by hash value, each in ascending keyword length.
class TOstHashEntryList {
public:
    // Fails with "Keyword \"KEYWORD\" already in list" when the chain already
    // holds the keyword (compared without regard to case).
    void Add(int hash, std::string_view keyword, int kind);
    // The chain at a hash value, or none.
    const TOstHashEntry* Chain(int hash) const;
    bool Contains(int hash, std::string_view keyword) const;
    // The first entry of the word's length whose characters have the same
    // values as the word's, or none.
    const TOstHashEntry* Find(int hash, const unsigned char* word, int length,
                              const TOstCharValues& values) const;
    int Count() const { return static_cast<int>(chains_.size()); }
    void Clear() { chains_.clear(); }

private:
    std::vector<std::unique_ptr<TOstHashEntry>> chains_;
};

// Cuts the keyword string into maximal runs of identifier characters and
// adds each run, hashed by the lexer's own hash, with the kind, in order.
void AddKeywords(TOstHashEntryList& list, std::string_view keywords, int kind,
                 const TOstCharSet& identifierChars, const std::function<int(std::string_view)>& hash);

}  // namespace ostrel
