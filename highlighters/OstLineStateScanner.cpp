#include "highlighters/OstLineStateScanner.h"

namespace ostrel {

TOstLineStateScanner::TOstLineStateScanner(TOstCustomHighlighter& highlighter, bool utf8Text)
    : hl_(highlighter)
{
    hl_.SetUtf8Text(utf8Text);
}

void TOstLineStateScanner::StartLine(std::string_view text, int index, TOstLineState aboveEnd)
{
    if (index <= 0)
        hl_.ClearLineState();
    else
        hl_.RestoreLineState(aboveEnd);
    hl_.StartLine(text, index);
}

void TOstLineStateScanner::ContinueLine(std::string_view text, int index)
{
    hl_.StartLine(text, index);
}

void TOstLineStateScanner::ClearState()
{
    hl_.ClearLineState();
}

TOstLineState TOstLineStateScanner::EndState()
{
    hl_.SkipToLineEnd();
    return hl_.LineState();
}

}  // namespace ostrel
