#pragma once
// Case of Unicode characters by the simple (one code point to one code
// point) mappings, and the character classes the regular-expression engine
// uses on UTF-8 text. Never taken from the process locale.

#include <cstdint>
#include <span>
#include <utility>

namespace ostrel::unicode {

// The simple upper-case and lower-case forms; a character without one is
// its own.
char32_t SimpleUpper(char32_t cp);
char32_t SimpleLower(char32_t cp);
// The simple case folding: characters that differ only in case fold to the
// same code point ("Ż", "ż"; "Σ", "σ", "ς"; "K", "k", the Kelvin sign).
char32_t SimpleFold(char32_t cp);
// Every other code point that folds to the same code point as cp (none for
// most characters).
std::span<const char32_t> FoldPartners(char32_t cp);
// Every code point whose folded form is another one, with that form, in
// the order of the code points.
std::span<const std::pair<char32_t, char32_t>> FoldingPairs();

// The classes \w, \d and \s: a word character is a letter, a mark, a
// decimal digit, a connector punctuation (such as '_'), a letter number or
// one of the few other alphabetic symbols and joiners; a digit is a decimal
// digit of any script; a space is one of the Unicode white-space characters
// ending or separating lines and words.
bool IsRegexWord(char32_t cp);
bool IsRegexDigit(char32_t cp);
bool IsRegexSpace(char32_t cp);

}  // namespace ostrel::unicode
