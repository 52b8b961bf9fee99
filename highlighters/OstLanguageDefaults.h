#pragma once
// The colours, styles and file filters the program gives its own instance of
// each language, where they differ from what the lexer starts with. The
// language table names one of these for each of its rows.

#include "highlighters/OstEditHighlighter.h"

namespace ostrel::defaults {

void Html(TOstCustomHighlighter& highlighter);
void Php(TOstCustomHighlighter& highlighter);
void Css(TOstCustomHighlighter& highlighter);
void Xml(TOstCustomHighlighter& highlighter);
void JScript(TOstCustomHighlighter& highlighter);
void VBScript(TOstCustomHighlighter& highlighter);
void Cpp(TOstCustomHighlighter& highlighter);
void Pas(TOstCustomHighlighter& highlighter);
void Java(TOstCustomHighlighter& highlighter);
void Sql(TOstCustomHighlighter& highlighter);
void Perl(TOstCustomHighlighter& highlighter);

}  // namespace ostrel::defaults
