#pragma once
// Small scanning steps several lexers share. A lexer's line ends with a zero
// character, so a step may look one character ahead without a bounds check.
// A carriage return or line feed inside a line ends constructs that run to
// the end of the line, as the zero does.

#include "highlighters/OstEditHighlighter.h"

namespace ostrel::scan {

inline bool IsLineEnd(unsigned char c) { return c == 0 || c == 10 || c == 13; }

// Past a line-break character at pos; CR LF counts as one break.
inline int SkipLineBreak(const unsigned char* s, int pos)
{
    return pos + (s[pos] == 13 && s[pos + 1] == 10 ? 2 : 1);
}

inline int SkipToLineEnd(const unsigned char* s, int pos)
{
    while (!IsLineEnd(s[pos]))
        ++pos;
    return pos;
}

// Past the blanks at pos that a tab does not interrupt: 1 to 32 except tab
// and the line breaks; the lexers that start a new whitespace token at every
// tab use it.
inline int SkipBlanksBeforeTab(const unsigned char* s, int pos)
{
    while (s[pos] >= 1 && s[pos] <= 32 && s[pos] != 9 && s[pos] != 10 && s[pos] != 13)
        ++pos;
    return pos;
}

// Past the "*/" that closes a block comment, or to the end of the line;
// `closed` tells which.
inline int SkipBlockCommentBody(const unsigned char* s, int pos, bool& closed)
{
    for (;; ++pos) {
        const unsigned char c = s[pos];
        if (c == '*' && s[pos + 1] == '/') {
            closed = true;
            return pos + 2;
        }
        if (IsLineEnd(c)) {
            closed = false;
            return pos;
        }
    }
}

// Whether an odd number of backslashes stands right before pos.
inline bool IsEscaped(const unsigned char* s, int pos)
{
    int backslashes = 0;
    while (pos - backslashes > 0 && s[pos - backslashes - 1] == '\\')
        ++backslashes;
    return backslashes % 2 == 1;
}

// 0-9, A-Z, "_", a-z and the accented letters of the code page.
inline TOstCharSet LatinIdentifierChars()
{
    return CharRange('0', '9') | CharRange('A', 'Z') | CharSetOf("_") | CharRange('a', 'z') |
           CharRange(192, 214) | CharRange(216, 246) | CharRange(248, 255);
}

}  // namespace ostrel::scan
