// Display properties, cell measurement, focus, the caret and the repaint
// entry point. The rows themselves are painted in OstEditPaintText.cpp.

#include <algorithm>
#include <bitset>

#include "editor/OstEdit.h"
#include "editor/OstEditPaintText.h"
#include "platform/RecordingCanvas.h"

namespace ostrel {

namespace {

// Focus changes go through the command processor under codes no command
// has, so that only the command events and hooks see them.
constexpr TOstEditorCommand kFocusGainedCode = 700;
constexpr TOstEditorCommand kFocusLostCode = 701;

// Measures for an editor without a screen.
Canvas& FixedMetrics()
{
    static FixedMetricsCanvas canvas;
    return canvas;
}

}  // namespace

// ---- properties -----------------------------------------------------------------

void TCustomOstEdit::SetFont(const TOstFont& font)
{
    textDrawer_.SetBaseFont(font);  // refuses a font without a name
    font_ = font;
    RecalcCharExtent();
    InvalidateAll();
}

void TCustomOstEdit::SetExtraLineSpacing(int pixels)
{
    if (pixels == extraLineSpacing_)
        return;
    extraLineSpacing_ = pixels;
    RecalcCharExtent();
}

void TCustomOstEdit::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    InvalidateAll();
}

void TCustomOstEdit::SetSelectedColor(const TOstSelectedColor& colors)
{
    if (colors == selectedColor_)
        return;
    selectedColor_ = colors;
    if (SelAvail())
        InvalidateLines(BlockBegin().Line, BlockEnd().Line);
}

void TCustomOstEdit::SetActiveLineColor(TColor color)
{
    if (color == activeLineColor_)
        return;
    activeLineColor_ = color;
    InvalidateLines(caretY_, caretY_);
}

void TCustomOstEdit::SetRightEdge(int column)
{
    column = std::max(column, 0);
    if (column == rightEdge_)
        return;
    rightEdge_ = column;
    InvalidateAll();
}

void TCustomOstEdit::SetRightEdgeColor(TColor color)
{
    if (color == rightEdgeColor_)
        return;
    rightEdgeColor_ = color;
    if (rightEdge_ > 0)
        InvalidateAll();
}

void TCustomOstEdit::SetHideSelection(bool on)
{
    if (on == hideSelection_)
        return;
    hideSelection_ = on;
    if (!focused_ && SelAvail())
        InvalidateLines(BlockBegin().Line, BlockEnd().Line);
}

void TCustomOstEdit::SetInsertCaret(TOstEditCaretType shape)
{
    insertCaret_ = shape;
    if (host_ && insertMode_)
        host_->UpdateCaret();
}

void TCustomOstEdit::SetOverwriteCaret(TOstEditCaretType shape)
{
    overwriteCaret_ = shape;
    if (host_ && !insertMode_)
        host_->UpdateCaret();
}

// ---- cell metrics and window counts ---------------------------------------------

void TCustomOstEdit::SetMeasuringCanvas(Canvas* canvas)
{
    measuringCanvas_ = canvas;
    textDrawer_.FontStock().Clear();
    RecalcCharExtent();
}

void TCustomOstEdit::RecalcCharExtent()
{
    // Only bold and italic change a font's extent; the cells must hold the
    // widest and tallest of the styles the text will be drawn in.
    std::bitset<4> styles;
    if (highlighter_) {
        for (int i = 0; i < highlighter_->AttributeCount(); ++i)
            if (const TOstHighlighterAttributes* attr = highlighter_->AttributeAt(i))
                styles.set(attr->Style() & (fsBold | fsItalic));
    }
    styles.set(font_.Style & (fsBold | fsItalic));  // text without an attribute
    Canvas& canvas = measuringCanvas_ ? *measuringCanvas_ : FixedMetrics();
    int width = 1;
    int height = 1;
    for (TFontStyles style = 0; style < styles.size(); ++style) {
        if (!styles.test(style))
            continue;
        const TFontMetrics& m = textDrawer_.FontStock().Metrics(canvas, style);
        width = std::max(width, m.CharWidth);
        height = std::max(height, m.Height);
    }
    textDrawer_.SetCellWidth(width);
    TOstPaintLockGuard lock(*this);
    SetCellSize(width, std::max(1, height + extraLineSpacing_));
    UpdateGutterWidth();  // line numbers take room in cells of the text
    UpdateWindowCounts();
}

void TCustomOstEdit::SetClientSize(int width, int height)
{
    clientWidth_ = std::max(width, 0);
    clientHeight_ = std::max(height, 0);
    UpdateWindowCounts();
}

void TCustomOstEdit::UpdateWindowCounts()
{
    // Before the host tells its size the counts keep their defaults.
    if (clientWidth_ == 0 && clientHeight_ == 0)
        return;
    SetWindowSize(std::max(clientWidth_ - gutterWidth_ - 2, 0) / charWidth_, clientHeight_ / lineHeight_);
    if (host_)
        host_->UpdateScrollBars();
}

// ---- focus and caret -------------------------------------------------------------

void TCustomOstEdit::FocusIn()
{
    if (focused_)
        return;
    CommandProcessor(kFocusGainedCode, 0);
    focused_ = true;
    if (host_)
        host_->UpdateCaret();
    if (hideSelection_ && SelAvail())
        InvalidateLines(BlockBegin().Line, BlockEnd().Line);
}

void TCustomOstEdit::FocusOut()
{
    if (!focused_)
        return;
    CommandProcessor(kFocusLostCode, 0);
    focused_ = false;
    if (host_)
        host_->UpdateCaret();
    if (hideSelection_ && SelAvail())
        InvalidateLines(BlockBegin().Line, BlockEnd().Line);
}

TOstCaretGeometry TCustomOstEdit::CaretGeometry() const
{
    TOstCaretGeometry caret;
    caret.Shape = insertMode_ ? insertCaret_ : overwriteCaret_;
    if (!focused_ || options_.has(eoNoCaret))
        return caret;
    const int cw = charWidth_;
    const int lh = lineHeight_;
    int width = cw, height = lh - 2, dx = 0, dy = 0;
    switch (caret.Shape) {
    case ctVerticalLine:
        width = 2;
        dx = -1;
        break;
    case ctHorizontalLine:
        height = 2;
        dy = lh - 2;
        break;
    case ctHalfBlock:
        height = (lh - 2) / 2;
        dy = (lh - 2) / 2;
        break;
    case ctBlock:
        break;
    }
    int x = 0, y = 0;
    RowColumnToPixels(DisplayXY(), x, y);
    x += dx;
    y += dy + 1;
    caret.Rect = {x, y, x + width, y + height};
    const int right = clientWidth_ > 0 ? clientWidth_ : gutterWidth_ + 2 + charsInWindow_ * cw;
    const int bottom = clientHeight_ > 0 ? clientHeight_ : linesInWindow_ * lh;
    caret.Visible = x >= gutterWidth_ && x < right && y >= 0 && y < bottom;
    return caret;
}

// ---- repaint ---------------------------------------------------------------------

void TCustomOstEdit::Paint(Canvas& canvas, const TRect& clip)
{
    if (clip.IsEmpty())
        return;
    const int cw = charWidth_;
    const int lh = lineHeight_;
    TOstPaintArea area;
    area.clip = clip;
    area.firstColumn = leftChar_;
    if (clip.Left > gutterWidth_ + 2)
        area.firstColumn += (clip.Left - gutterWidth_ - 2) / cw;
    area.lastColumn = leftChar_ + (clip.Right - gutterWidth_ - 3 + cw) / cw;
    area.firstRow = std::max(1, topLine_ + clip.Top / lh);
    area.lastRow = std::min(DisplayLineCount(), topLine_ + (clip.Bottom + lh - 1) / lh);

    canvas.Save();
    canvas.IntersectClip(clip);
    if (OnPaintTransient)
        OnPaintTransient(canvas, ttBefore);
    if (clip.Left < gutterWidth_)
        PaintGutter(canvas, {clip.Left, clip.Top, std::min(clip.Right, gutterWidth_), clip.Bottom},
                    area.firstRow, area.lastRow);
    if (clip.Right > gutterWidth_)
        PaintTextArea(*this, canvas, area);
    if (OnPaint)
        OnPaint(canvas);
    if (OnPaintTransient)
        OnPaintTransient(canvas, ttAfter);
    canvas.Restore();
}

}  // namespace ostrel
