#include "highlighters/OstHighlighterHashEntries.h"

#include "platform/CodePage.h"

namespace ostrel {

TOstCharValues LetterValues(bool underscore)
{
    TOstCharValues values{};
    for (int c = 'A'; c <= 'Z'; ++c) {
        values[static_cast<size_t>(c)] = c - 'A' + 1;
        values[static_cast<size_t>(c - 'A' + 'a')] = c - 'A' + 1;
    }
    if (underscore)
        values['_'] = 31;
    return values;
}

TOstKeywordTable::TOstKeywordTable(const TOstCharValues& values, int maxHash)
    : values_(values), maxHash_(maxHash), buckets_(static_cast<size_t>(maxHash) + 1)
{
}

void TOstKeywordTable::Add(int hash, std::string_view keyword, int kind)
{
    if (hash < 0 || hash > maxHash_)
        throw EOstHighlighterError("Keyword \"" + std::string(keyword) + "\" lies above the largest hash value");
    buckets_[static_cast<size_t>(hash)].push_back(Entry{std::string(keyword), kind});
}

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return codepage::ToUpper(a) == codepage::ToUpper(b);
}

}  // namespace

void TOstHashEntryList::Add(int hash, std::string_view keyword, int kind)
{
    if (hash < 0)
        throw EOstHighlighterError("Keyword \"" + std::string(keyword) + "\" has a negative hash value");
    if (static_cast<size_t>(hash) >= chains_.size())
        chains_.resize(static_cast<size_t>(hash) + 1);
    auto entry = std::make_unique<TOstHashEntry>();
    entry->Keyword = std::string(keyword);
    entry->KeywordLen = static_cast<int>(keyword.size());
    entry->Kind = kind;

    std::unique_ptr<TOstHashEntry>* slot = &chains_[static_cast<size_t>(hash)];
    while (*slot && (*slot)->KeywordLen <= entry->KeywordLen) {
        if (SameIgnoringCase((*slot)->Keyword, keyword))
            throw EOstHighlighterError("Keyword \"" + std::string(keyword) + "\" already in list");
        slot = &(*slot)->Next;
    }
    entry->Next = std::move(*slot);
    *slot = std::move(entry);
}

const TOstHashEntry* TOstHashEntryList::Chain(int hash) const
{
    if (hash < 0 || static_cast<size_t>(hash) >= chains_.size())
        return nullptr;
    return chains_[static_cast<size_t>(hash)].get();
}

bool TOstHashEntryList::Contains(int hash, std::string_view keyword) const
{
    for (const TOstHashEntry* e = Chain(hash); e; e = e->Next.get())
        if (SameIgnoringCase(e->Keyword, keyword))
            return true;
    return false;
}

const TOstHashEntry* TOstHashEntryList::Find(int hash, const unsigned char* word, int length,
                                             const TOstCharValues& values) const
{
    for (const TOstHashEntry* e = Chain(hash); e && e->KeywordLen <= length; e = e->Next.get()) {
        if (e->KeywordLen != length)
            continue;
        int i = 0;
        while (i < length && SameKeywordChar(values, static_cast<unsigned char>(e->Keyword[static_cast<size_t>(i)]), word[i]))
            ++i;
        if (i == length)
            return e;
    }
    return nullptr;
}

void AddKeywords(TOstHashEntryList& list, std::string_view keywords, int kind,
                 const TOstCharSet& identifierChars, const std::function<int(std::string_view)>& hash)
{
    size_t i = 0;
    while (i < keywords.size()) {
        while (i < keywords.size() && !identifierChars[static_cast<unsigned char>(keywords[i])])
            ++i;
        const size_t start = i;
        while (i < keywords.size() && identifierChars[static_cast<unsigned char>(keywords[i])])
            ++i;
        if (i > start) {
            const std::string_view word = keywords.substr(start, i - start);
            list.Add(hash(word), word, kind);
        }
    }
}

}  // namespace ostrel
