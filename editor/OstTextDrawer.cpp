#include "editor/OstTextDrawer.h"

#include <cassert>
#include <stdexcept>

namespace ostrel {

// ---- font stock -----------------------------------------------------------------

TheFontStock::TheFontStock(TOstFont base) : base_(std::move(base)) {}

void TheFontStock::SetBaseFont(const TOstFont& font)
{
    if (font.Name.empty())
        throw std::invalid_argument("SetBaseFont: 'Value' must be specified.");
    if (font.Name == base_.Name && font.Height == base_.Height &&
        font.PixelsPerInch == base_.PixelsPerInch) {
        base_ = font;
        return;
    }
    base_ = font;
    entries_ = {};
}

const TFontMetrics& TheFontStock::Metrics(Canvas& canvas, TFontStyles style)
{
    Entry& entry = entries_[Index(style)];
    if (!entry.measured) {
        canvas.Save();
        canvas.SelectFont(base_, style & kFontStyleMask);
        entry.metrics = canvas.MeasureFont();
        canvas.Restore();
        entry.measured = true;
    }
    return entry.metrics;
}

void TheFontStock::SelectStyle(Canvas& canvas, TFontStyles style)
{
    Metrics(canvas, style);
    canvas.SelectFont(base_, style & kFontStyleMask);
}

// ---- text drawer ----------------------------------------------------------------

TheTextDrawer::TheTextDrawer(TOstFont base) : stock_(std::move(base)) {}

void TheTextDrawer::BeginDrawing(Canvas& canvas)
{
    assert((canvas_ == nullptr || canvas_ == &canvas) && "text drawer already drawing elsewhere");
    if (drawingCount_++ > 0)
        return;
    canvas_ = &canvas;
    canvas.Save();
    stock_.SelectStyle(canvas, style_);
    canvas.SetTextColor(foreColor_);
    canvas.SetBackColor(backColor_);
    canvas.SetCharacterExtra(charExtra_);
}

void TheTextDrawer::EndDrawing()
{
    assert(drawingCount_ > 0 && "EndDrawing without BeginDrawing");
    if (drawingCount_ == 0 || --drawingCount_ > 0)
        return;
    canvas_->Restore();
    canvas_ = nullptr;
}

Canvas& TheTextDrawer::CurrentCanvas()
{
    assert(canvas_ && "text drawer used outside BeginDrawing/EndDrawing");
    return *canvas_;
}

void TheTextDrawer::SetBaseFont(const TOstFont& font)
{
    stock_.SetBaseFont(font);
    if (canvas_)
        stock_.SelectStyle(*canvas_, style_);
}

void TheTextDrawer::SetStyle(TFontStyles style)
{
    style &= kFontStyleMask;
    if (style == style_ && canvas_)
        return;
    style_ = style;
    if (canvas_)
        stock_.SelectStyle(*canvas_, style_);
}

void TheTextDrawer::SetForeColor(TColor color)
{
    foreColor_ = color;
    if (canvas_)
        canvas_->SetTextColor(color);
}

void TheTextDrawer::SetBackColor(TColor color)
{
    backColor_ = color;
    if (canvas_)
        canvas_->SetBackColor(color);
}

void TheTextDrawer::SetCharExtra(int pixels)
{
    charExtra_ = pixels;
    if (canvas_)
        canvas_->SetCharacterExtra(pixels);
    advances_.clear();
}

void TheTextDrawer::SetCellWidth(int width)
{
    if (width == cellWidth_)
        return;
    cellWidth_ = width;
    advances_.clear();
}

void TheTextDrawer::EnsureAdvances(size_t count)
{
    if (count <= advances_.size())
        return;
    const size_t grown = (count + 63) / 64 * 64;
    advances_.resize(grown, cellWidth_ + charExtra_);
}

void TheTextDrawer::ExtTextOut(int x, int y, const TRect& opaque, std::string_view text)
{
    const size_t count = CodePointCount(text);
    EnsureAdvances(count);
    CurrentCanvas().TextOutCells(x, y, opaque, text, std::span<const int>(advances_.data(), count));
}

void TheTextDrawer::DrawCells(int x, int y, const TRect& opaque, std::string_view text,
                              std::span<const uint8_t> cells)
{
    cellAdvances_.resize(cells.size());
    for (size_t i = 0; i < cells.size(); ++i)
        cellAdvances_[i] = cells[i] * (cellWidth_ + charExtra_);
    CurrentCanvas().TextOutCells(x, y, opaque, text, cellAdvances_);
}

int TheTextDrawer::GlyphExtent(char32_t c)
{
    return CurrentCanvas().GlyphExtent(c);
}

}  // namespace ostrel
