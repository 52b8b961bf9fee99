// Painting the text rows: the selection to show, each line's colours, the
// highlighter's tokens merged into runs of equal appearance, and runs split
// at the selection on rows that are only partly selected.

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "editor/OstEdit.h"
#include "editor/OstEditPaintText.h"
#include "editor/OstLineCells.h"

namespace ostrel {

namespace {

constexpr std::string_view kTabGlyph = "\u00BB";      // right guillemet
constexpr std::string_view kLineEndGlyph = "\u00B6";  // pilcrow

bool IsBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

}  // namespace

class TOstTextPainter {
public:
    TOstTextPainter(TCustomOstEdit& editor, Canvas& canvas, const TOstPaintArea& area);
    void PaintLines();

private:
    // Cells of equal appearance, drawn in one go: display columns column up
    // to end (excluded); the line-end mark when lineEnd.
    struct Run {
        int column = 0;
        int end = 0;
        bool lineEnd = false;
        TColor fg = clNone;
        TColor bg = clNone;
        TFontStyles style = 0;
        bool empty() const { return end <= column; }
    };

    int ColumnX(int column) const { return (column - 1) * cw_ + textOffset_; }
    // The x where a column starts, the clip's edges standing in for columns
    // outside the painted ones.
    int ClampedColumnX(int column) const;
    int RowTop(int row) const { return (row - ed_.topLine_) * lh_; }

    void ComputeSelection();
    void ComputeRowSelection(int row);
    void SetLineColors(int line);
    void PaintRow(int row);
    void ScanTokens(int line);
    void AddHighlighterTokens(int line);
    void AddPlainText();
    // Adds the line's cells from..to-1 (from 1) as one token.
    void AddToken(int from, int to, TColor fg, TColor bg, TFontStyles style);
    void AddLineEnd(TColor fg, TColor bg);
    bool CellsAreBlank(int from, int to) const;
    void FlushRun();
    void DrawPiece(int from, int to, bool selected, bool matched = false);
    void DrawMatchedPieces(int from, int to);
    void ComputeRowMatches(int line);
    void DrawTabMarks(int from, int to, const TRect& piece);
    void DrawInvalidMarks(const TRect& piece);
    void FillRestOfRow(int fromColumn);
    void DrawBracket(TBufferCoord at);
    void FillPart(int left, int right, TColor color);
    void DrawRightEdge(int top, int bottom);

    TCustomOstEdit& ed_;
    Canvas& canvas_;
    TheTextDrawer& drawer_;
    TRect clip_;
    int firstRow_, lastRow_, firstCol_, lastCol_;
    int cw_, lh_, textOffset_;
    bool showSpecial_;
    bool rightEdgeVisible_ = false;
    int rightEdgeX_ = 0;
    TColor editorBG_;

    // The selection shown, in display coordinates (start before end).
    bool anySelection_ = false;
    TDisplayCoord selStart_, selEnd_;
    TOstSelectionMode selMode_ = smNormal;

    // The current line and row. A wrapped row shows the line's cells from
    // shift_ + 1 on at column 1; lineFirst_..lineLast_ are the cells painted.
    int cachedLine_ = 0;
    TOstLineCells cells_;  // the line with tabs expanded, in cells
    TOstLineCells::TShown shown_;
    // The highlighter's tokens of one line, scanned once for all its rows.
    struct LineToken {
        int start = 0;
        int length = 0;
        const TOstHighlighterAttributes* attr = nullptr;
    };
    int tokensLine_ = 0;
    std::vector<LineToken> tokens_;
    int shift_ = 0;
    int lineFirst_ = 1, lineLast_ = 0;
    bool lastRowOfLine_ = true;
    int rowTop_ = 0;
    TColor colFG_ = clNone, colBG_ = clNone;  // line colours
    TColor selFG_ = clNone, selBG_ = clNone;
    bool specialLine_ = false;
    // Display columns [first, second) of the row that hold a match of the
    // highlighted search.
    std::vector<std::pair<int, int>> matches_;
    bool rowSelected_ = false;      // some of the painted columns are selected
    bool rowFullySelected_ = false; // all of them are
    int rowSelStart_ = 0, rowSelEnd_ = 0;  // selected columns, end excluded
    Run run_;
    int nextColumn_ = 0;           // column after the last drawn cell
};

TOstTextPainter::TOstTextPainter(TCustomOstEdit& editor, Canvas& canvas, const TOstPaintArea& area)
    : ed_(editor), canvas_(canvas), drawer_(editor.textDrawer_), clip_(area.clip),
      firstRow_(area.firstRow), lastRow_(area.lastRow), firstCol_(area.firstColumn),
      lastCol_(area.lastColumn), cw_(editor.charWidth_), lh_(editor.lineHeight_),
      textOffset_(editor.TextOffset()), showSpecial_(editor.HasOption(eoShowSpecialChars)),
      editorBG_(editor.color_)
{
    if (TOstCustomHighlighter* hl = ed_.highlighter_)
        if (const TOstHighlighterAttributes* ws = hl->DefaultAttribute(daWhitespace))
            if (ws->Background() != clNone)
                editorBG_ = ws->Background();
}

int TOstTextPainter::ClampedColumnX(int column) const
{
    if (column <= firstCol_)
        return clip_.Left;
    if (column > lastCol_)
        return clip_.Right;
    return std::clamp(ColumnX(column), clip_.Left, clip_.Right);
}

// ---- the pass --------------------------------------------------------------------

void PaintTextArea(TCustomOstEdit& editor, Canvas& canvas, const TOstPaintArea& area)
{
    TOstTextPainter(editor, canvas, area).PaintLines();
}

void TOstTextPainter::PaintLines()
{
    // The two pixels between gutter and text belong to no cell.
    const int textLeft = ed_.gutterWidth_ + 2;
    if (clip_.Left < textLeft) {
        canvas_.FillRect({std::max(clip_.Left, ed_.gutterWidth_), clip_.Top, std::min(textLeft, clip_.Right),
                          clip_.Bottom},
                         editorBG_);
        clip_.Left = textLeft;
    }
    if (clip_.IsEmpty())
        return;
    canvas_.Save();
    canvas_.IntersectClip(clip_);
    if (ed_.rightEdge_ > 0) {
        rightEdgeX_ = ed_.rightEdge_ * cw_ + textOffset_;
        rightEdgeVisible_ = rightEdgeX_ >= clip_.Left && rightEdgeX_ < clip_.Right;
    }
    ComputeSelection();
    drawer_.SetCellWidth(cw_);
    drawer_.SetStyle(ed_.font_.Style);
    drawer_.BeginDrawing(canvas_);
    for (int row = firstRow_; row <= lastRow_; ++row)
        PaintRow(row);
    drawer_.EndDrawing();

    const int below = RowTop(std::max(lastRow_, firstRow_ - 1) + 1);
    if (below < clip_.Bottom) {
        canvas_.FillRect({clip_.Left, std::max(below, clip_.Top), clip_.Right, clip_.Bottom}, editorBG_);
        DrawRightEdge(std::max(below, clip_.Top), clip_.Bottom);
    }
    canvas_.Restore();
}

void TOstTextPainter::ComputeSelection()
{
    anySelection_ = ed_.SelAvail() && !(ed_.hideSelection_ && !ed_.focused_);
    if (!anySelection_)
        return;
    const TBufferCoord begin = ed_.BlockBegin();
    const TBufferCoord end = ed_.BlockEnd();
    selMode_ = ed_.activeSelectionMode_;
    selStart_ = ed_.BufferToDisplayPos(begin);
    selEnd_ = ed_.BufferToDisplayPos(end);
    if (selMode_ == smColumn && selStart_.Column > selEnd_.Column)
        std::swap(selStart_.Column, selEnd_.Column);
    anySelection_ = selEnd_.Row >= firstRow_ && selStart_.Row <= lastRow_;
}

void TOstTextPainter::ComputeRowSelection(int row)
{
    rowSelected_ = rowFullySelected_ = false;
    if (!anySelection_ || row < selStart_.Row || row > selEnd_.Row)
        return;
    // Columns far outside the painted ones stand for "no bound".
    int start = firstCol_ - 1;
    int end = lastCol_ + 2;
    if (selMode_ != smLine) {
        if (row == selStart_.Row || selMode_ == smColumn)
            start = std::max(start, selStart_.Column);
        if (row == selEnd_.Row || selMode_ == smColumn)
            end = std::min(end, selEnd_.Column);
    }
    if (start >= end || end <= firstCol_ || start > lastCol_)
        return;
    rowSelected_ = true;
    rowSelStart_ = start;
    rowSelEnd_ = end;
    rowFullySelected_ = start <= firstCol_ && end > lastCol_;
}

void TOstTextPainter::SetLineColors(int line)
{
    const bool caretLine = line == ed_.caretY_;
    colFG_ = ed_.font_.Color;
    colBG_ = (caretLine && ed_.activeLineColor_ != clNone) ? ed_.activeLineColor_ : editorBG_;
    specialLine_ = false;
    if (ed_.OnSpecialLineColors) {
        TColor fg = clNone, bg = clNone;
        ed_.OnSpecialLineColors(line, specialLine_, fg, bg);
        if (specialLine_) {
            if (fg != clNone)
                colFG_ = fg;
            if (bg != clNone)
                colBG_ = bg;
        }
    }
    // A special line shows its selection in its own colours, swapped.
    selFG_ = specialLine_ ? colBG_ : ed_.selectedColor_.Foreground;
    selBG_ = specialLine_ ? colFG_ : ed_.selectedColor_.Background;
}

void TOstTextPainter::PaintRow(int row)
{
    const TOstWrapRow info =
        ed_.wordWrap_ ? ed_.wordWrap_->RowInfo(row) : TOstWrapRow{row, 0, INT_MAX / 2, true};
    const int line = info.Line;
    if (line != cachedLine_) {
        cells_.Assign(ed_.lines_.ExpandedLine(line - 1), ed_.lines_.Chars(), ed_.lines_.IsSimpleLine(line - 1));
        cachedLine_ = line;
    }
    shift_ = info.Start;
    lastRowOfLine_ = info.LastOfLine;
    lineFirst_ = firstCol_ + shift_;
    lineLast_ = (lastRowOfLine_ ? lastCol_ : std::min(lastCol_, info.Length)) + shift_;
    SetLineColors(line);
    rowTop_ = RowTop(row);
    ComputeRowSelection(row);
    ComputeRowMatches(line);
    run_ = Run{};
    nextColumn_ = firstCol_;
    if (ed_.highlighter_)
        AddHighlighterTokens(line);
    else
        AddPlainText();
    // The rest of the row gets its background before the last glyphs are
    // drawn: a slanted (italic) tail reaching past its cell then stands on
    // this paint's background, never on what the screen held before.
    FillRestOfRow(run_.empty() ? nextColumn_ : run_.end);
    FlushRun();
    const TOstBracketPair& pair = ed_.bracketPair_;
    if (pair.Found) {
        if (pair.Open.Line == line)
            DrawBracket(pair.Open);
        if (pair.Close.Line == line)
            DrawBracket(pair.Close);
    }
    DrawRightEdge(rowTop_, rowTop_ + lh_);
}

// A bracket of the pair at the caret: its cell in the bracket colour, the
// glyph in its token's look. A selected bracket keeps the selection's look.
void TOstTextPainter::DrawBracket(TBufferCoord at)
{
    const int column = ed_.LineColumn(at) - shift_;
    if (column < firstCol_ || column + shift_ < lineFirst_ || column + shift_ > lineLast_ || column > lastCol_)
        return;
    if (rowSelected_ && column >= rowSelStart_ && column < rowSelEnd_)
        return;
    TColor fg = colFG_;
    TFontStyles style = ed_.font_.Style;
    if (ed_.highlighter_) {
        const int offset = static_cast<int>(cells_.ByteOfCell(column + shift_ - 1));
        for (const LineToken& token : tokens_) {
            if (offset >= token.start && offset < token.start + token.length && token.attr) {
                if (token.attr->Foreground() != clNone)
                    fg = token.attr->Foreground();
                style = token.attr->Style();
                break;
            }
        }
    }
    const char bracket = ed_.lines_.Get(at.Line - 1)[static_cast<size_t>(at.Char - 1)];
    const int x = ColumnX(column);
    const TRect cell = IntersectRect({x, rowTop_, x + cw_, rowTop_ + lh_}, clip_);
    drawer_.SetStyle(style);
    drawer_.SetForeColor(fg);
    drawer_.SetBackColor(ed_.bracketColor_);
    drawer_.ExtTextOut(x, rowTop_, cell, std::string_view(&bracket, 1));
}

// ---- tokens and runs -------------------------------------------------------------

void TOstTextPainter::ScanTokens(int line)
{
    if (line == tokensLine_)
        return;
    tokensLine_ = line;
    tokens_.clear();
    ed_.PrepareHighlighter();
    ed_.LineScanner().StartLine(cells_.Expanded(), line - 1, ed_.StateAbove(line));
    TOstCustomHighlighter& hl = *ed_.highlighter_;
    for (; !hl.AtLineEnd(); hl.NextToken())
        if (hl.TokenLength() > 0)
            tokens_.push_back({hl.TokenStart(), hl.TokenLength(), hl.TokenAttribute()});
}

// Tokens count bytes of the expanded line; a character belongs to the token
// its first byte is in.
void TOstTextPainter::AddHighlighterTokens(int line)
{
    TOstCustomHighlighter& hl = *ed_.highlighter_;
    ScanTokens(line);
    const auto first = std::partition_point(tokens_.begin(), tokens_.end(), [this](const LineToken& t) {
        return cells_.CellOfByte(static_cast<size_t>(t.start + t.length)) + 1 < lineFirst_;
    });
    for (auto token = first; token != tokens_.end(); ++token) {
        const int column = cells_.CellOfByte(static_cast<size_t>(token->start)) + 1;
        const int after = cells_.CellOfByte(static_cast<size_t>(token->start + token->length)) + 1;
        if (column > lineLast_)
            break;
        const TOstHighlighterAttributes* attr = token->attr;
        const int from = std::max(column, lineFirst_);
        const int to = std::min(after, lineLast_ + 1);
        if (from >= to)
            continue;
        if (attr)
            AddToken(from, to, attr->Foreground(), attr->Background(), attr->Style());
        else
            AddToken(from, to, colFG_, colBG_, ed_.font_.Style);
    }
    const int endColumn = cells_.Width() + 1;
    if (showSpecial_ && lastRowOfLine_ && endColumn >= lineFirst_ && endColumn <= lineLast_) {
        const TOstHighlighterAttributes* lastAttr = tokens_.empty() ? nullptr : tokens_.back().attr;
        const TOstHighlighterAttributes* comment = hl.DefaultAttribute(daComment);
        const TOstHighlighterAttributes* attr =
            (lastAttr && lastAttr == comment) ? comment : hl.DefaultAttribute(daWhitespace);
        AddLineEnd(attr ? attr->Foreground() : clNone, attr ? attr->Background() : clNone);
    }
}

void TOstTextPainter::AddPlainText()
{
    const int width = cells_.Width();
    if (lineFirst_ <= std::min(width, lineLast_))
        AddToken(lineFirst_, std::min(width, lineLast_) + 1, colFG_, colBG_, ed_.font_.Style);
    if (showSpecial_ && lastRowOfLine_ && width + 1 >= lineFirst_ && width + 1 <= lineLast_)
        AddLineEnd(colFG_, colBG_);
}

bool TOstTextPainter::CellsAreBlank(int from, int to) const
{
    const std::string& text = cells_.Expanded();
    const size_t begin = cells_.ByteOfCell(from - 1);
    const size_t end = cells_.ByteOfCell(to - 1);
    return IsBlank(std::string_view(text).substr(begin, end - begin));
}

void TOstTextPainter::AddToken(int from, int to, TColor fg, TColor bg, TFontStyles style)
{
    if (bg == clNone)
        bg = colBG_;
    if (fg == clNone)
        fg = colFG_;
    const int column = from - shift_;
    const int end = to - shift_;
    if (!run_.empty()) {
        const bool blank = CellsAreBlank(from, to);
        const bool sameStyle =
            run_.style == style ||
            (blank && !(style & fsUnderline) && !(run_.style & fsUnderline));
        const bool sameLook = (specialLine_ && !ed_.HasOption(eoSpecialLineDefaultFg)) ||
                              rowFullySelected_ || (run_.bg == bg && (run_.fg == fg || blank));
        if (!run_.lineEnd && sameStyle && sameLook && run_.end == column) {
            run_.end = end;
            return;
        }
        FlushRun();
    }
    run_ = Run{column, end, false, fg, bg, style};
}

void TOstTextPainter::AddLineEnd(TColor fg, TColor bg)
{
    if (bg == clNone)
        bg = colBG_;
    if (fg == clNone)
        fg = colFG_;
    const int column = cells_.Width() + 1 - shift_;
    if (!run_.empty())
        FlushRun();
    run_ = Run{column, column + 1, true, fg, bg, 0};
}

void TOstTextPainter::FlushRun()
{
    if (run_.empty())
        return;
    const int from = run_.column;
    const int to = run_.end;
    if (rowFullySelected_) {
        DrawPiece(from, to, true);
    } else if (!rowSelected_) {
        DrawMatchedPieces(from, to);
    } else {
        const int selFrom = std::clamp(rowSelStart_, from, to);
        const int selTo = std::clamp(rowSelEnd_, from, to);
        if (from < selFrom)
            DrawMatchedPieces(from, selFrom);
        if (selFrom < selTo)
            DrawPiece(selFrom, selTo, true);
        if (selTo < to)
            DrawMatchedPieces(selTo, to);
    }
    nextColumn_ = to;
    run_ = Run{};
}

// ---- drawing -----------------------------------------------------------------------

// The matches of the highlighted search on the line, as display columns of
// the row.
void TOstTextPainter::ComputeRowMatches(int line)
{
    matches_.clear();
    TOstEditSearchCustom* engine = ed_.matchHighlight_;
    if (!engine)
        return;
    const std::string_view text = ed_.lines_.Get(line - 1);
    int found = 0;
    try {
        engine->SetEncoding(ed_.lines_.Encoding());
        found = engine->FindAll(text);
    } catch (const std::exception&) {
        return;  // a pattern that cannot be searched highlights nothing
    }
    for (int i = 0; i < found; ++i) {
        const int start = engine->Result(i);
        const int length = engine->Length(i);
        if (length <= 0)
            continue;
        const int first = ed_.LineColumn({start, line}) - shift_;
        const int last = ed_.LineColumn({start + length, line}) - shift_;
        if (last > firstCol_ && first <= lastCol_)
            matches_.emplace_back(first, last);
    }
}

// Cells outside the selection: those of matches in the match colour.
void TOstTextPainter::DrawMatchedPieces(int from, int to)
{
    int at = from;
    for (const auto& [first, last] : matches_) {
        const int matchFrom = std::clamp(first, at, to);
        const int matchTo = std::clamp(last, at, to);
        if (matchFrom >= matchTo)
            continue;
        if (at < matchFrom)
            DrawPiece(at, matchFrom, false);
        DrawPiece(matchFrom, matchTo, false, true);
        at = matchTo;
    }
    if (at < to)
        DrawPiece(at, to, false);
}

void TOstTextPainter::DrawPiece(int from, int to, bool selected, bool matched)
{
    TColor fg = run_.fg, bg = run_.bg;
    if (selected) {
        fg = selFG_;
        bg = selBG_;
    } else if (specialLine_ && !ed_.HasOption(eoSpecialLineDefaultFg)) {
        fg = colFG_;
        bg = colBG_;
    }
    if (matched && !selected)
        bg = ed_.matchColor_;
    // A character only partly in the piece (a wide one at the window's edge
    // or at a column block's) is drawn whole, clipped to the piece.
    const int first = from + shift_ - 1;
    const int last = to + shift_ - 1;
    int drawFrom = first;
    int drawTo = last;
    if (run_.lineEnd) {
        shown_.text.assign(kLineEndGlyph);
        shown_.cells.assign(1, 1);
        shown_.invalid.clear();
        shown_.last = 0xB6;
    } else {
        drawFrom = cells_.CharStart(first);
        drawTo = std::max(last, cells_.CharEnd(last - 1));
        cells_.Show(drawFrom, drawTo, showSpecial_, shown_);
    }
    drawer_.SetStyle(run_.style);
    drawer_.SetForeColor(fg);
    drawer_.SetBackColor(bg);
    const TRect piece = IntersectRect({ColumnX(from), rowTop_, ColumnX(to), rowTop_ + lh_}, clip_);
    const bool cut = drawFrom != first || drawTo != last;
    if (cut) {
        canvas_.Save();
        canvas_.IntersectClip(piece);
    }
    drawer_.DrawCells(ColumnX(drawFrom + 1 - shift_), rowTop_, piece, shown_.text, shown_.cells);
    if (cut)
        canvas_.Restore();
    if (showSpecial_ && !run_.lineEnd)
        DrawTabMarks(from, to, piece);
    if (!shown_.invalid.empty())
        DrawInvalidMarks(piece);
}

void TOstTextPainter::DrawTabMarks(int from, int to, const TRect& piece)
{
    const std::string& text = cells_.Expanded();
    for (int c = from; c < to;) {
        if (text[cells_.ByteOfCell(c + shift_ - 1)] != '\t') {
            c = cells_.CharEnd(c + shift_ - 1) + 1 - shift_;
            continue;
        }
        int j = c;
        while (j < to && text[cells_.ByteOfCell(j + shift_ - 1)] == '\t')
            ++j;
        const int count = j - c;
        // The middle cell of an odd count, between the two middle ones of an even.
        const int x = ColumnX(c) + (count - 1) / 2 * cw_ + (count % 2 == 0 ? cw_ / 2 : 0);
        const TRect cell = IntersectRect({x, rowTop_, x + cw_, rowTop_ + lh_}, piece);
        if (!cell.IsEmpty())
            drawer_.ExtTextOut(x, rowTop_, cell, kTabGlyph);
        c = j;
    }
}

// A byte of no valid sequence shows as the replacement character in a box,
// so it is told apart from a real one.
void TOstTextPainter::DrawInvalidMarks(const TRect& piece)
{
    for (const int cell : shown_.invalid) {
        const int left = ColumnX(cell + 1 - shift_);
        const TRect box = IntersectRect({left, rowTop_, left + cw_, rowTop_ + lh_}, piece);
        if (box.IsEmpty())
            continue;
        const TColor color = drawer_.ForeColor();
        const int right = left + cw_ - 1;
        const int bottom = rowTop_ + lh_ - 1;
        canvas_.DrawLine(left, rowTop_, right, rowTop_, color);
        canvas_.DrawLine(left, bottom, right + 1, bottom, color);
        canvas_.DrawLine(left, rowTop_, left, bottom, color);
        canvas_.DrawLine(right, rowTop_, right, bottom, color);
    }
}

void TOstTextPainter::FillRestOfRow(int fromColumn)
{
    const int left = std::max(clip_.Left, fromColumn > firstCol_ ? ColumnX(fromColumn) : clip_.Left);
    if (left >= clip_.Right)
        return;
    if (!rowSelected_ || rowFullySelected_) {
        FillPart(left, clip_.Right, rowFullySelected_ ? selBG_ : colBG_);
        return;
    }
    const int selLeft = ClampedColumnX(rowSelStart_);
    const int selRight = ClampedColumnX(rowSelEnd_);
    FillPart(left, std::min(selLeft, clip_.Right), colBG_);
    FillPart(std::max(left, selLeft), selRight, selBG_);
    FillPart(std::max(left, selRight), clip_.Right, colBG_);
}

void TOstTextPainter::FillPart(int left, int right, TColor color)
{
    if (left < right)
        canvas_.FillRect({left, rowTop_, right, rowTop_ + lh_}, color);
}

void TOstTextPainter::DrawRightEdge(int top, int bottom)
{
    if (rightEdgeVisible_)
        canvas_.DrawLine(rightEdgeX_, top, rightEdgeX_, bottom, ed_.rightEdgeColor_);
}

}  // namespace ostrel
