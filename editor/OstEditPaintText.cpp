// Painting the text rows: the selection to show, each line's colours, the
// highlighter's tokens merged into runs of equal appearance, and runs split
// at the selection on rows that are only partly selected.

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "editor/OstEdit.h"
#include "editor/OstEditPaintText.h"

namespace ostrel {

namespace {

constexpr char kSpaceGlyph = '\xB7';    // middle dot
constexpr char kTabGlyph = '\xBB';      // right guillemet
constexpr char kLineEndGlyph = '\xB6';  // pilcrow

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
    struct Run {
        std::string text;
        int column = 0;
        TColor fg = clNone;
        TColor bg = clNone;
        TFontStyles style = 0;
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
    void AddToken(std::string_view text, int column, TColor fg, TColor bg, TFontStyles style);
    void FlushRun();
    void DrawPiece(int from, int to, bool selected);
    void DrawTabMarks(std::string_view original, int column, const TRect& piece);
    void FillRestOfRow();
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
    std::string expanded_;  // the line with tabs expanded
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
    bool rowSelected_ = false;      // some of the painted columns are selected
    bool rowFullySelected_ = false; // all of them are
    int rowSelStart_ = 0, rowSelEnd_ = 0;  // selected columns, end excluded
    Run run_;
    int nextColumn_ = 0;           // column after the last drawn cell
    bool drewItalicEnd_ = false;   // the last drawn cell is italic
    char lastDrawnChar_ = 0;
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
    run_.text.reserve(static_cast<size_t>(std::max(128, ed_.charsInWindow_)));
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
    TBufferCoord begin = ed_.BlockBegin();
    TBufferCoord end = ed_.BlockEnd();
    selMode_ = ed_.activeSelectionMode_;
    if (selMode_ == smColumn && begin.Char > end.Char)
        std::swap(begin.Char, end.Char);
    selStart_ = ed_.BufferToDisplayPos(begin);
    selEnd_ = ed_.BufferToDisplayPos(end);
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
        expanded_ = ed_.lines_.ExpandedLine(line - 1);
        cachedLine_ = line;
    }
    shift_ = info.Start;
    lastRowOfLine_ = info.LastOfLine;
    lineFirst_ = firstCol_ + shift_;
    lineLast_ = (lastRowOfLine_ ? lastCol_ : std::min(lastCol_, info.Length)) + shift_;
    SetLineColors(line);
    rowTop_ = RowTop(row);
    ComputeRowSelection(row);
    run_.text.clear();
    nextColumn_ = firstCol_;
    drewItalicEnd_ = false;
    if (ed_.highlighter_)
        AddHighlighterTokens(line);
    else
        AddPlainText();
    FlushRun();
    FillRestOfRow();
    DrawRightEdge(rowTop_, rowTop_ + lh_);
}

// ---- tokens and runs -------------------------------------------------------------

void TOstTextPainter::ScanTokens(int line)
{
    if (line == tokensLine_)
        return;
    tokensLine_ = line;
    tokens_.clear();
    TOstCustomHighlighter& hl = *ed_.highlighter_;
    if (line == 1)
        hl.ClearLineState();
    else
        hl.RestoreLineState(ed_.lines_.LineRange(line - 2));
    hl.StartLine(expanded_, line - 1);
    for (; !hl.AtLineEnd(); hl.NextToken())
        if (hl.TokenLength() > 0)
            tokens_.push_back({hl.TokenStart(), hl.TokenLength(), hl.TokenAttribute()});
}

void TOstTextPainter::AddHighlighterTokens(int line)
{
    const std::string& expanded = expanded_;
    TOstCustomHighlighter& hl = *ed_.highlighter_;
    ScanTokens(line);
    const auto first = std::partition_point(tokens_.begin(), tokens_.end(), [this](const LineToken& t) {
        return t.start + t.length < lineFirst_;
    });
    for (auto token = first; token != tokens_.end(); ++token) {
        const int column = token->start + 1;
        const int length = token->length;
        if (column > lineLast_)
            break;
        const TOstHighlighterAttributes* attr = token->attr;
        const int from = std::max(column, lineFirst_);
        const int to = std::min(column + length, lineLast_ + 1);
        if (from >= to)
            continue;
        const std::string_view text(expanded.data() + (from - 1), static_cast<size_t>(to - from));
        if (attr)
            AddToken(text, from - shift_, attr->Foreground(), attr->Background(), attr->Style());
        else
            AddToken(text, from - shift_, colFG_, colBG_, ed_.font_.Style);
    }
    const int endColumn = static_cast<int>(expanded.size()) + 1;
    if (showSpecial_ && lastRowOfLine_ && endColumn >= lineFirst_ && endColumn <= lineLast_) {
        const TOstHighlighterAttributes* lastAttr = tokens_.empty() ? nullptr : tokens_.back().attr;
        const TOstHighlighterAttributes* comment = hl.DefaultAttribute(daComment);
        const TOstHighlighterAttributes* attr =
            (lastAttr && lastAttr == comment) ? comment : hl.DefaultAttribute(daWhitespace);
        AddToken(std::string_view(&kLineEndGlyph, 1), endColumn - shift_, attr ? attr->Foreground() : clNone,
                 attr ? attr->Background() : clNone, 0);
    }
}

void TOstTextPainter::AddPlainText()
{
    const int length = static_cast<int>(expanded_.size());
    std::string text;
    if (lineFirst_ <= std::min(length, lineLast_))
        text = expanded_.substr(static_cast<size_t>(lineFirst_ - 1),
                                static_cast<size_t>(std::min(length, lineLast_) - lineFirst_ + 1));
    if (showSpecial_ && lastRowOfLine_ && length + 1 >= lineFirst_ && length + 1 <= lineLast_)
        text += kLineEndGlyph;
    if (!text.empty())
        AddToken(text, std::max(firstCol_, 1), colFG_, colBG_, ed_.font_.Style);
}

void TOstTextPainter::AddToken(std::string_view text, int column, TColor fg, TColor bg,
                               TFontStyles style)
{
    if (bg == clNone)
        bg = colBG_;
    if (fg == clNone)
        fg = colFG_;
    if (!run_.text.empty()) {
        const bool blank = IsBlank(text);
        const bool sameStyle =
            run_.style == style ||
            (blank && !(style & fsUnderline) && !(run_.style & fsUnderline));
        const bool sameLook = (specialLine_ && !ed_.HasOption(eoSpecialLineDefaultFg)) ||
                              rowFullySelected_ || (run_.bg == bg && (run_.fg == fg || blank));
        if (sameStyle && sameLook && run_.column + static_cast<int>(run_.text.size()) == column) {
            if (run_.text.size() + text.size() > run_.text.capacity())
                run_.text.reserve(run_.text.size() + text.size() + 32);
            run_.text.append(text);
            return;
        }
        FlushRun();
    }
    run_.text.assign(text);
    run_.column = column;
    run_.fg = fg;
    run_.bg = bg;
    run_.style = style;
}

void TOstTextPainter::FlushRun()
{
    if (run_.text.empty())
        return;
    const int from = run_.column;
    const int to = from + static_cast<int>(run_.text.size());
    if (!rowSelected_ || rowFullySelected_) {
        DrawPiece(from, to, rowFullySelected_);
    } else {
        const int selFrom = std::clamp(rowSelStart_, from, to);
        const int selTo = std::clamp(rowSelEnd_, from, to);
        if (from < selFrom)
            DrawPiece(from, selFrom, false);
        if (selFrom < selTo)
            DrawPiece(selFrom, selTo, true);
        if (selTo < to)
            DrawPiece(selTo, to, false);
    }
    nextColumn_ = to;
    run_.text.clear();
}

// ---- drawing -----------------------------------------------------------------------

void TOstTextPainter::DrawPiece(int from, int to, bool selected)
{
    TColor fg = run_.fg, bg = run_.bg;
    if (selected) {
        fg = selFG_;
        bg = selBG_;
    } else if (specialLine_ && !ed_.HasOption(eoSpecialLineDefaultFg)) {
        fg = colFG_;
        bg = colBG_;
    }
    const std::string_view original(run_.text.data() + (from - run_.column), static_cast<size_t>(to - from));
    std::string shown(original);
    for (char& c : shown) {
        if (c == '\t')
            c = ' ';
        else if (c == ' ' && showSpecial_)
            c = kSpaceGlyph;
    }
    drawer_.SetStyle(run_.style);
    drawer_.SetForeColor(fg);
    drawer_.SetBackColor(bg);
    const int x = ColumnX(from);
    const TRect piece = IntersectRect({x, rowTop_, ColumnX(to), rowTop_ + lh_}, clip_);
    drawer_.ExtTextOut(x, rowTop_, piece, shown);
    if (showSpecial_)
        DrawTabMarks(original, from, piece);
    drewItalicEnd_ = (run_.style & fsItalic) != 0;
    lastDrawnChar_ = shown.back();
}

void TOstTextPainter::DrawTabMarks(std::string_view original, int column, const TRect& piece)
{
    for (size_t i = 0; i < original.size();) {
        if (original[i] != '\t') {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < original.size() && original[j] == '\t')
            ++j;
        const int cells = static_cast<int>(j - i);
        // The middle cell of an odd count, between the two middle ones of an even.
        const int x = ColumnX(column + static_cast<int>(i)) + (cells - 1) / 2 * cw_ +
                      (cells % 2 == 0 ? cw_ / 2 : 0);
        const TRect cell = IntersectRect({x, rowTop_, x + cw_, rowTop_ + lh_}, piece);
        if (!cell.IsEmpty())
            drawer_.ExtTextOut(x, rowTop_, cell, std::string_view(&kTabGlyph, 1));
        i = j;
    }
}

void TOstTextPainter::FillRestOfRow()
{
    int left = std::max(clip_.Left, nextColumn_ > firstCol_ ? ColumnX(nextColumn_) : clip_.Left);
    if (drewItalicEnd_) {
        // Leave the slanted tail of the last glyph standing.
        const int lastCell = ColumnX(nextColumn_ - 1);
        left = std::max(left, lastCell + drawer_.GlyphExtent(static_cast<unsigned char>(lastDrawnChar_)));
    }
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
