#pragma once
// The drawing surface the editor's painter and the print job draw on. Text
// is Unicode, as UTF-8. The model is fixed cells: every character of a text
// run occupies the cells whose width the caller gives, whatever the font's
// own advances, and the cells are filled with the background colour before
// the glyphs go on them.
// Coordinates are device pixels; a rectangle excludes its right and bottom
// edge.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/OstColors.h"

namespace ostrel {

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// The overlap of two rectangles; empty when they do not meet.
TRect IntersectRect(const TRect& a, const TRect& b);

// a * b / c rounded to nearest, halves away from zero, in 64 bits; 0 when c
// is 0. Ratios of printer and screen pixels are taken this way.
int MulDiv(int a, int b, int c);

// A scale and shift of later drawing, as a printed page is shown small on
// the screen: the logical point (x, y) lands on the device pixel
// (OriginX + x * ViewportWidth / WindowWidth, OriginY + y * ViewportHeight /
// WindowHeight).
struct TMapping {
    int OriginX = 0;
    int OriginY = 0;
    int WindowWidth = 1;
    int WindowHeight = 1;
    int ViewportWidth = 1;
    int ViewportHeight = 1;

    bool IsIdentity() const;
    // The device rectangle a logical one covers.
    TRect ToDevice(const TRect& rect) const;
    friend bool operator==(const TMapping&, const TMapping&) = default;
};

// A logical font: what the user chose, not yet realised on a device.
struct TOstFont {
    std::string Name = "Courier New";
    // Negative: the character height in pixels (-13 is a 13-pixel font);
    // positive: the cell height, internal leading included.
    int Height = -13;
    TFontStyles Style = 0;
    TColor Color = clWindowText;
    int PixelsPerInch = 96;

    // The size in points, from the height at PixelsPerInch.
    int Size() const;
    void SetSize(int points);
    friend bool operator==(const TOstFont&, const TOstFont&) = default;
};

// What a realised font measures on a device.
struct TFontMetrics {
    int CharWidth = 0;  // advance of "M" plus the font's overhang
    int Height = 0;     // cell height of a line of text
    int Ascent = 0;     // baseline below the cell top
    int Overhang = 0;   // extra width some synthesised styles add
};

// The number of code points of valid UTF-8 text.
size_t CodePointCount(std::string_view utf8);

// The fixed default of each system colour, as a plain 0x00BBGGRR colour;
// plain colours and clNone pass unchanged.
TColor DefaultColorToRGB(TColor color);

class Canvas {
public:
    virtual ~Canvas() = default;

    // Selects the base font with the given style (bold, italic, underline,
    // strike-out) in place of its own.
    virtual void SelectFont(const TOstFont& base, TFontStyles style) = 0;
    // Metrics of the selected font.
    virtual TFontMetrics MeasureFont() = 0;
    // How far the glyph of a character reaches right of its cell's start in
    // the selected font (A + B width); italic glyphs may reach beyond the cell.
    virtual int GlyphExtent(char32_t c) = 0;

    virtual void SetTextColor(TColor color) = 0;
    virtual void SetBackColor(TColor color) = 0;
    // Pixels added after every character cell.
    virtual void SetCharacterExtra(int pixels) = 0;

    // Fills `opaque` with the back colour, then draws the UTF-8 text with its
    // top left at (x, y), code point i starting advances[0] + ... +
    // advances[i-1] to the right. advances has an entry for every code point;
    // a code point with an advance of 0 that follows another (a combining
    // mark) is drawn together with it. Text holds valid UTF-8 only. Glyphs
    // are clipped only by the clip, so an italic glyph may reach beyond
    // `opaque`.
    virtual void TextOutCells(int x, int y, const TRect& opaque, std::string_view text,
                              std::span<const int> advances) = 0;
    virtual void FillRect(const TRect& rect, TColor color) = 0;
    // A one-pixel line from (x1, y1) up to, not including, (x2, y2).
    virtual void DrawLine(int x1, int y1, int x2, int y2, TColor color) = 0;
    // Draws picture `index` of a named image list of the program's resources
    // (the gutter's bookmark pictures, the wrap glyph) with its top left at
    // (x, y); maskColor is the colour the picture leaves transparent, clNone
    // for the picture's own transparency. A surface without pictures draws
    // nothing.
    virtual void DrawImage(std::string_view /*list*/, int /*index*/, int /*x*/, int /*y*/, TColor /*maskColor*/) {}

    // Proportional text, as headers and footers print it: the width of the
    // text in the selected font with the font's own advances, and the text
    // drawn with them in the text colour on no background, its baseline at
    // y. A surface without proportional text falls back on its cells.
    virtual int TextWidth(std::string_view text);
    virtual void TextOutBaseline(int x, int y, std::string_view text);

    // Saves the drawing state (font, colours, extra spacing, clip, mapping);
    // they nest.
    virtual void Save() = 0;
    virtual void Restore() = 0;
    // Limits drawing to the rectangle, within the clip already set.
    virtual void IntersectClip(const TRect& rect) = 0;
    // Maps the coordinates of all later drawing, fonts included; measuring
    // stays unscaled. Save and Restore keep it; the identity ends it.
    virtual void SetMapping(const TMapping& mapping) = 0;

    // The plain colour a colour stands for on this surface.
    virtual TColor ColorToRGB(TColor color) { return DefaultColorToRGB(color); }
};

}  // namespace ostrel
