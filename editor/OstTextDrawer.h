#pragma once
// Fixed-cell text output for the painter and the print job. The font stock
// keeps one measured font per style combination of a base font; the text
// drawer outputs every byte in a cell of the same width, whatever the
// glyph's own advance, so columns line up in every style.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"

namespace ostrel {

class TheFontStock {
public:
    static constexpr int kStyleCount = 16;  // bold, italic, underline, strike-out

    explicit TheFontStock(TOstFont base = {});

    const TOstFont& BaseFont() const { return base_; }
    // A font without a name is refused. A new base font forgets the measured
    // styles.
    void SetBaseFont(const TOstFont& font);
    // Selects the style of the base font on the canvas, measuring it there
    // the first time it is used.
    void SelectStyle(Canvas& canvas, TFontStyles style);
    // The metrics of a style, measured on the canvas if not yet known.
    const TFontMetrics& Metrics(Canvas& canvas, TFontStyles style);
    bool IsMeasured(TFontStyles style) const { return entries_[Index(style)].measured; }
    // Forgets the measured styles, as for a new device.
    void Clear() { entries_ = {}; }

private:
    struct Entry {
        bool measured = false;
        TFontMetrics metrics;
    };
    static size_t Index(TFontStyles style) { return style & kFontStyleMask; }

    TOstFont base_;
    std::array<Entry, kStyleCount> entries_{};
};

class TheTextDrawer {
public:
    explicit TheTextDrawer(TOstFont base = {});

    // Drawing happens between BeginDrawing and EndDrawing, which nest on one
    // canvas. The outermost pair saves and restores the canvas state.
    void BeginDrawing(Canvas& canvas);
    void EndDrawing();
    bool Drawing() const { return canvas_ != nullptr; }

    TheFontStock& FontStock() { return stock_; }
    const TOstFont& BaseFont() const { return stock_.BaseFont(); }
    void SetBaseFont(const TOstFont& font);
    TFontStyles Style() const { return style_; }
    // Selects the style's font; only while drawing.
    void SetStyle(TFontStyles style);
    void SetForeColor(TColor color);
    void SetBackColor(TColor color);
    TColor ForeColor() const { return foreColor_; }
    TColor BackColor() const { return backColor_; }
    int CharExtra() const { return charExtra_; }
    void SetCharExtra(int pixels);

    // The width of every cell; the painter sets the widest of its styles.
    int CellWidth() const { return cellWidth_; }
    void SetCellWidth(int width);

    // Fills the opaque rectangle and draws the UTF-8 text, each code point in
    // one cell, starting at (x, y).
    void ExtTextOut(int x, int y, const TRect& opaque, std::string_view text);
    // The same with the cells of each code point given: 2 for a wide
    // character, 0 for a mark drawn with the character before it.
    void DrawCells(int x, int y, const TRect& opaque, std::string_view text, std::span<const uint8_t> cells);
    // How far the glyph of a character reaches right of its cell in the
    // current style.
    int GlyphExtent(char32_t c);
    Canvas& CurrentCanvas();

private:
    // Grows the advance table in steps of 64 entries.
    void EnsureAdvances(size_t count);

    TheFontStock stock_;
    Canvas* canvas_ = nullptr;  // the canvas being drawn on; not owned
    int drawingCount_ = 0;
    TFontStyles style_ = 0;
    TColor foreColor_ = clWindowText;
    TColor backColor_ = clWindow;
    int charExtra_ = 0;
    int cellWidth_ = 8;
    std::vector<int> advances_;
    std::vector<int> cellAdvances_;
};

}  // namespace ostrel
