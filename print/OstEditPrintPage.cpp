// Drawing one page of the print job: the body's background, the header and
// the footer, and the rows of the page's lines on the fixed cell grid.

#include <algorithm>

#include "highlighters/OstEditHighlighter.h"
#include "print/OstEditPrint.h"

namespace ostrel {

void TOstEditPrint::DrawPage(Canvas& canvas, int pageNumber)
{
    if (!FireStatus(psPageBegin, pageNumber))
        return;
    canvas.Save();
    LayoutMargins(canvas, pageNumber);
    canvas.FillRect({margins_.PixLeft, margins_.PixTop, margins_.PixRight, margins_.PixBottom},
                    DefaultColorToRGB(Color));
    jobHeader_.DrawBand(canvas, pageNumber + PageOffset);
    drawer_.BeginDrawing(canvas);
    DrawBody(pageNumber);
    drawer_.EndDrawing();
    jobFooter_.DrawBand(canvas, pageNumber + PageOffset);
    canvas.Restore();
}

void TOstEditPrint::DrawBody(int pageNumber)
{
    const TPageLine page = pages_.at(static_cast<size_t>(pageNumber - 1));
    const TPageLine next = pageNumber < static_cast<int>(pages_.size())
                               ? pages_[static_cast<size_t>(pageNumber)]
                               : TPageLine{LastPrintedLine() + 1, 0};
    int y = margins_.PixTop;
    for (int i = std::max(page.FirstLine, FirstPrintedLine());
         i < next.FirstLine || (i == next.FirstLine && next.FirstRow > 0); ++i) {
        int start = 0;
        const TOstLineCells cells = CellsOf(PrintedText(i, start));
        const std::vector<int> rows = RowStarts(cells);
        // Clamped: wrapping switched since the layout changes the rows.
        const int count = static_cast<int>(rows.size());
        PageRows span;
        span.end = i == next.FirstLine ? std::min(next.FirstRow, count) : count;
        span.first = i == page.FirstLine ? std::min(page.FirstRow, span.end) : 0;
        span.top = y;
        if (LineNumbers && span.first == 0)
            DrawLineNumber(i, y);
        WriteLine(i, start, cells, rows, span);
        y += (span.end - span.first) * lineHeight_;
        if (span.end == count)
            PrintLine(i + 1, pageNumber);
    }
}

void TOstEditPrint::DrawLineNumber(int line, int y)
{
    Canvas& canvas = drawer_.CurrentCanvas();
    const std::string number = std::to_string(line + 1 + LineOffset) + ": ";
    drawer_.SetStyle(0);
    drawer_.SetForeColor(clBlack);
    const int width = canvas.TextWidth(number);
    const int x = margins_.PixLeft - width;
    canvas.FillRect({x, y, margins_.PixLeft, y + lineHeight_}, DefaultColorToRGB(Color));
    canvas.TextOutBaseline(x, y + drawer_.FontStock().Metrics(canvas, 0).Ascent, number);
}

void TOstEditPrint::WriteLine(int line, int start, const TOstLineCells& cells, const std::vector<int>& rows,
                              const PageRows& span)
{
    const int size = static_cast<int>(cells.Expanded().size());
    const int end = start + size;
    if (!highlighting_) {
        SetRunLook(LookOf(nullptr));
        DrawRun(cells, 0, size, rows, span);
        return;
    }
    // The whole line is lexed, so a part of it (a selection) keeps the
    // colours it has in the line. Neighbouring tokens that look the same are
    // drawn as one run: a printer or a PDF file gets far fewer pieces.
    TOstLineStateScanner(*highlighter_, HoldsUtf8(encoding_))
        .StartLine(lines_[static_cast<size_t>(line)], line, line > 0 ? lineStates_.at(static_cast<size_t>(line - 1)) : 0);
    TOstCustomHighlighter& hl = *highlighter_;
    RunLook look;
    int runFrom = 0;
    int runTo = 0;
    for (; !hl.AtLineEnd(); hl.NextToken()) {
        const int from = std::max(hl.TokenStart(), start) - start;
        const int to = std::min(hl.TokenStart() + hl.TokenLength(), end) - start;
        if (from >= to)
            continue;
        const RunLook tokenLook = LookOf(hl.TokenAttribute());
        if (runTo > runFrom && tokenLook == look && from == runTo) {
            runTo = to;
            continue;
        }
        if (runTo > runFrom) {
            SetRunLook(look);
            DrawRun(cells, runFrom, runTo, rows, span);
        }
        look = tokenLook;
        runFrom = from;
        runTo = to;
    }
    if (runTo > runFrom) {
        SetRunLook(look);
        DrawRun(cells, runFrom, runTo, rows, span);
    }
}

TOstEditPrint::RunLook TOstEditPrint::LookOf(const TOstHighlighterAttributes* attr) const
{
    RunLook look{attr ? attr->Style() : jobFont_.Style, baseColor_, DefaultColorToRGB(Color)};
    if (attr && Colors) {
        if (attr->Foreground() != clNone)
            look.fore = DefaultColorToRGB(attr->Foreground());
        if (attr->Background() != clNone)
            look.back = DefaultColorToRGB(attr->Background());
    }
    return look;
}

void TOstEditPrint::SetRunLook(const RunLook& look)
{
    drawer_.SetStyle(look.style);
    drawer_.SetForeColor(look.fore);
    drawer_.SetBackColor(look.back);
}

// Every character in the cells of its width, whatever the font's glyphs
// measure; the canvas takes glyphs the font lacks from a fallback font.
void TOstEditPrint::DrawRun(const TOstLineCells& cells, int from, int to, const std::vector<int>& rows,
                            const PageRows& span)
{
    TOstLineCells::TShown shown;
    for (int row = span.first; row < span.end; ++row) {
        const int rowStart = rows[static_cast<size_t>(row)];
        const int b = std::max(from, rowStart);
        const int e = std::min(to, RowEnd(rows, static_cast<size_t>(row), cells));
        if (b >= e)
            continue;
        const int firstCell = cells.CellOfByte(static_cast<size_t>(b));
        const int endCell = cells.CellOfByte(static_cast<size_t>(e));
        const int x = margins_.PixLeft + (firstCell - cells.CellOfByte(static_cast<size_t>(rowStart))) * charWidth_;
        const int y = span.top + (row - span.first) * lineHeight_;
        // Cells on the body's own colour need no filling: the page has it.
        const bool onBody = drawer_.BackColor() == DefaultColorToRGB(Color);
        const TRect opaque = onBody ? TRect{} : TRect{x, y, x + (endCell - firstCell) * charWidth_, y + lineHeight_};
        if (cells.Simple()) {
            const std::string_view bytes =
                std::string_view(cells.Expanded()).substr(static_cast<size_t>(b), static_cast<size_t>(e - b));
            drawer_.ExtTextOut(x, y, opaque, ToUtf8(bytes, encoding_));
        } else {
            cells.Show(firstCell, endCell, false, shown);
            drawer_.DrawCells(x, y, opaque, shown.text, shown.cells);
        }
    }
}

}  // namespace ostrel
