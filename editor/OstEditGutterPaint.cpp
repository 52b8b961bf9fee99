// Painting the gutter: line numbers, the glyph on continuation rows, the
// border and the marks of the painted rows.

#include <algorithm>
#include <vector>

#include "editor/OstEdit.h"

namespace ostrel {

class TOstGutterPainter {
public:
    TOstGutterPainter(TCustomOstEdit& ed, Canvas& canvas, const TRect& clip, int firstRow, int lastRow)
        : ed_(ed), gutter_(ed.gutter_), options_(ed.bookMarkOpt_), canvas_(canvas), clip_(clip),
          firstRow_(firstRow), lastRow_(lastRow)
    {
        if (lastRow_ >= firstRow_) {
            firstLine_ = ed_.RowToLine(firstRow_);
            lastLine_ = ed_.RowToLine(lastRow_);
        }
        offsets_.assign(static_cast<size_t>(std::max(lastLine_ - firstLine_ + 1, 0)), 0);
    }

    void Paint()
    {
        if (gutter_.ShowLineNumbers())
            PaintLineNumbers();
        else
            canvas_.FillRect(clip_, gutter_.Color());
        PaintWrapGlyphs();
        PaintBorder();
        if (options_.GlyphsVisible() && ed_.marks_.Count() > 0) {
            PaintMarks(options_.DrawBookmarksFirst());
            PaintMarks(!options_.DrawBookmarksFirst());
        }
        if (ed_.OnGutterPaint) {
            for (int line = firstLine_; line <= lastLine_; ++line)
                ed_.OnGutterPaint(canvas_, line, Offset(line), LineTop(line));
        }
    }

private:
    int RowTop(int row) const { return (row - ed_.topLine_) * ed_.lineHeight_; }
    int LineTop(int line) const { return RowTop(ed_.LineToRow(line)); }
    bool IsContinuationRow(int row) const { return ed_.LineToRow(ed_.RowToLine(row)) != row; }
    int& Offset(int line) { return offsets_[static_cast<size_t>(line - firstLine_)]; }
    TRect RowRect(int row) const { return {clip_.Left, RowTop(row), clip_.Right, RowTop(row) + ed_.lineHeight_}; }
    // A picture of the given height, centred in its row when the row is taller.
    int CentredTop(int top, int height) const { return top + std::max(ed_.lineHeight_ - height, 0) / 2; }

    void PaintLineNumbers()
    {
        TheTextDrawer& drawer = ed_.gutterDrawer_;
        TOstFont font = gutter_.Font();
        if (!gutter_.UseFontStyle()) {
            font = ed_.font_;
            font.Style = 0;
        }
        drawer.SetBaseFont(font);
        drawer.SetStyle(font.Style);
        drawer.SetForeColor(font.Color);
        drawer.SetBackColor(gutter_.Color());
        const TFontMetrics& metrics = drawer.FontStock().Metrics(canvas_, font.Style);
        drawer.SetCellWidth(metrics.CharWidth);
        const int digits = ed_.GutterDigitCount();
        drawer.BeginDrawing(canvas_);
        for (int row = firstRow_; row <= lastRow_; ++row) {
            if (IsContinuationRow(row)) {
                canvas_.FillRect(RowRect(row), gutter_.Color());
                continue;
            }
            const int line = ed_.RowToLine(row);
            std::string text = gutter_.FormatLineNumber(line, digits);
            if (ed_.OnGutterGetText)
                ed_.OnGutterGetText(line, text);
            const int width = static_cast<int>(text.size()) * (metrics.CharWidth + drawer.CharExtra());
            const int x = ed_.gutterWidth_ - gutter_.RightOffset() - width - 2;
            drawer.ExtTextOut(x, CentredTop(RowTop(row), metrics.Height), RowRect(row), text);
        }
        drawer.EndDrawing();
        const int below = std::max(clip_.Top, RowTop(std::max(lastRow_, firstRow_ - 1) + 1));
        if (below < clip_.Bottom)
            canvas_.FillRect({clip_.Left, below, clip_.Right, clip_.Bottom}, gutter_.Color());
    }

    void PaintWrapGlyphs()
    {
        const TOstGlyph& glyph = ed_.wordWrapGlyph_;
        if (!glyph.Visible())
            return;
        const int x = ed_.gutterWidth_ - gutter_.RightOffset() - glyph.Width() - 2;
        for (int row = firstRow_; row <= lastRow_; ++row)
            if (IsContinuationRow(row))
                glyph.Draw(canvas_, x, CentredTop(RowTop(row), glyph.Height()));
    }

    // One-pixel columns, drawn as fills so they cover exactly their pixels.
    void BorderLine(int x, TColor color)
    {
        if (x >= clip_.Left && x < clip_.Right)
            canvas_.FillRect({x, clip_.Top, x + 1, clip_.Bottom}, color);
    }

    void PaintBorder()
    {
        const int width = ed_.gutterWidth_;
        switch (gutter_.BorderStyle()) {
        case gbsNone: break;
        case gbsMiddle:
            BorderLine(width - 2, ed_.color_);
            BorderLine(width - 1, gutter_.Color());
            break;
        case gbsRight: BorderLine(width - 1, ed_.color_); break;
        }
    }

    void PaintMarks(bool bookmarks)
    {
        const bool firstKind = bookmarks == options_.DrawBookmarksFirst();
        for (int i = 0; i < ed_.marks_.Count(); ++i) {
            const TOstEditMark& mark = ed_.marks_[i];
            if (mark.Visible() && mark.IsBookmark() == bookmarks && mark.Line() >= firstLine_ &&
                mark.Line() <= lastLine_)
                DrawMark(mark, firstKind, Offset(mark.Line()));
        }
    }

    void DrawMark(const TOstEditMark& mark, bool firstKind, int& offset)
    {
        const int top = LineTop(mark.Line());
        const std::optional<TOstImageList>& images = options_.BookmarkImages();
        if (images && !mark.InternalImage()) {
            if (mark.ImageIndex() < 0 || mark.ImageIndex() >= images->Count)
                return;
            // Marks of the kind drawn second keep the first place free.
            if (!firstKind && offset == 0)
                offset = options_.XOffset();
            canvas_.DrawImage(images->Name, mark.ImageIndex(), options_.LeftMargin() + offset, top, clNone);
            offset += options_.XOffset();
            return;
        }
        const TOstImageList internal = InternalBookmarkImages();
        if (mark.ImageIndex() < 0 || mark.ImageIndex() >= internal.Count)
            return;
        // The built-in pictures fill the line's first place only.
        if (offset == 0)
            canvas_.DrawImage(internal.Name, mark.ImageIndex(), options_.LeftMargin(),
                              CentredTop(top, internal.Height), clNone);
        offset += options_.XOffset();
    }

    TCustomOstEdit& ed_;
    const TOstGutter& gutter_;
    const TOstBookMarkOpt& options_;
    Canvas& canvas_;
    TRect clip_;
    int firstRow_;
    int lastRow_;
    int firstLine_ = 1;
    int lastLine_ = 0;
    std::vector<int> offsets_;  // per painted line: where its next mark goes
};

void TCustomOstEdit::PaintGutter(Canvas& canvas, const TRect& clip, int firstRow, int lastRow)
{
    TOstGutterPainter(*this, canvas, clip, firstRow, lastRow).Paint();
}

}  // namespace ostrel
