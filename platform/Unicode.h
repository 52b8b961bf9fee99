#pragma once
// Properties of Unicode characters, never taken from the process locale:
// the cells a character takes on the screen, whether it joins the one
// before it, and whether it belongs to a word.

namespace ostrel::unicode {

// Cells of a character: 0 for one that joins the character before it (a
// combining mark, the zero-width joiner, a variation selector), 2 for East
// Asian wide characters and emoji, 1 for the rest, controls included (they
// show as one cell).
int Cells(char32_t cp);
inline bool JoinsPrevious(char32_t cp) { return cp >= 0x300 && Cells(cp) == 0; }
// A letter, a digit or a combining mark: a character of a word.
bool IsWordCharacter(char32_t cp);

}  // namespace ostrel::unicode
