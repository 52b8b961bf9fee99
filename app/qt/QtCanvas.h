#pragma once
// The engine's canvas on a QPainter of any device: a widget, an image, a
// printer or a PDF file. Without a painter it only measures
// (the editor measures its cells outside painting). Every byte is drawn in
// its own cell at the position the engine gives, converted from
// Windows-1250 to Unicode.

#include <QColor>
#include <QFont>
#include <QRawFont>
#include <array>
#include <map>
#include <unordered_map>
#include <string>
#include <vector>

#include "platform/Canvas.h"

class QPainter;
class QPaintDevice;

namespace ostrel {

class QtCanvas final : public Canvas {
public:
    // painter may be null for measuring only; device (for its resolution)
    // may be null for the screen's.
    explicit QtCanvas(QPainter* painter = nullptr, QPaintDevice* device = nullptr);
    // One canvas can measure all the time and paint while a painter is set;
    // its realised fonts are kept between paints.
    void SetPainter(QPainter* painter) { painter_ = painter; }

    // The QFont a logical font stands for, with a style in place of its own.
    static QFont ToQFont(const TOstFont& font, TFontStyles style);
    // The installed family a font name is drawn in.
    static QString InstalledFamily(const std::string& name);
    // A plain or system colour as a QColor; system colours follow the
    // application palette.
    static QColor ToQColor(TColor color);

    void SelectFont(const TOstFont& base, TFontStyles style) override;
    TFontMetrics MeasureFont() override;
    int GlyphExtent(char32_t c) override;
    void SetTextColor(TColor color) override { state_.textColor = color; }
    void SetBackColor(TColor color) override { state_.backColor = color; }
    void SetCharacterExtra(int pixels) override { state_.charExtra = pixels; }
    void TextOutCells(int x, int y, const TRect& opaque, std::string_view text,
                      std::span<const int> advances) override;
    void FillRect(const TRect& rect, TColor color) override;
    void DrawLine(int x1, int y1, int x2, int y2, TColor color) override;
    void DrawImage(std::string_view list, int index, int x, int y, TColor maskColor) override;
    // Proportional text with the font's own advances (headers and footers).
    int TextWidth(std::string_view text) override;
    void TextOutBaseline(int x, int y, std::string_view text) override;
    void Save() override;
    void Restore() override;
    void IntersectClip(const TRect& rect) override;
    void SetMapping(const TMapping& mapping) override;
    TColor ColorToRGB(TColor color) override;

private:
    // Latin letters (Polish ones among them) have their glyphs looked up
    // once; others the first time they are drawn.
    static constexpr int kCachedGlyphs = 0x300;
    struct Realised {
        QFont font;
        QRawFont raw;
        int ascent = 0;
        // The glyph of each code point; 0 where the font has none.
        std::array<quint32, kCachedGlyphs> glyphs{};
        mutable std::unordered_map<char32_t, quint32> moreGlyphs;
    };
    struct State {
        std::string fontKey;
        TColor textColor = clWindowText;
        TColor backColor = clWindow;
        int charExtra = 0;
    };
    // Realised fonts are shared by every canvas of the process: each style
    // of a font is made once, whatever number of editors show it.
    static std::map<std::string, Realised>& SharedFonts();
    const Realised& Current();
    static quint32 GlyphOf(const Realised& r, char32_t cp);
    void DrawCellsOneByOne(QPointF origin, const QList<uint>& codePoints, std::span<const int> advances);

    QPainter* painter_;
    QPaintDevice* device_;
    const Realised* current_ = nullptr;  // a node of SharedFonts(), never erased
    State state_;
    std::vector<State> saved_;
};

}  // namespace ostrel
