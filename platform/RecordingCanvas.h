#pragma once
// Canvases without a screen. FixedMetricsCanvas measures every font by fixed
// rules and draws nothing: the headless editor measures with it and the
// benchmarks paint on it. RecordingCanvas also keeps every operation with the
// drawing state it ran in, so tests can check what would be on the screen.

#include <vector>

#include "platform/Canvas.h"

namespace ostrel {

class FixedMetricsCanvas : public Canvas {
public:
    // A font of h pixels has cells (3h + 2) / 5 wide and h + 3 high; bold is
    // one pixel wider, and italic glyphs reach two pixels beyond their cell.
    static TFontMetrics MetricsOf(const TOstFont& font, TFontStyles style);

    void SelectFont(const TOstFont& base, TFontStyles style) override;
    TFontMetrics MeasureFont() override { return MetricsOf(state_.font, state_.style); }
    int GlyphExtent(char32_t c) override;
    void SetTextColor(TColor color) override { state_.textColor = color; }
    void SetBackColor(TColor color) override { state_.backColor = color; }
    void SetCharacterExtra(int pixels) override { state_.charExtra = pixels; }
    void TextOutCells(int, int, const TRect&, std::string_view, std::span<const int>) override {}
    void FillRect(const TRect&, TColor) override {}
    void DrawLine(int, int, int, int, TColor) override {}
    void Save() override { saved_.push_back(state_); }
    void Restore() override;
    // The clip is kept in device pixels, whatever mapping was in force.
    void IntersectClip(const TRect& rect) override;
    void SetMapping(const TMapping& mapping) override { state_.mapping = mapping; }

    struct State {
        TOstFont font;
        TFontStyles style = 0;
        TColor textColor = clWindowText;
        TColor backColor = clWindow;
        int charExtra = 0;
        bool clipped = false;
        TRect clip;
        TMapping mapping;
    };
    const State& CurrentState() const { return state_; }
    int SaveDepth() const { return static_cast<int>(saved_.size()); }

protected:
    State state_;
    std::vector<State> saved_;
};

class RecordingCanvas final : public FixedMetricsCanvas {
public:
    enum class OpKind { Text, Fill, Line, Image };
    struct Op {
        OpKind kind = OpKind::Fill;
        int x = 0, y = 0;          // text origin, or a line's start
        int x2 = 0, y2 = 0;        // a line's end
        TRect rect;                // opaque rectangle of text, the filled rectangle
        std::string text;          // the text (UTF-8), or the list name of an image
        std::vector<int> advances; // one a code point
        TColor color = clNone;     // fill or line colour; text colour of text; mask of an image
        int image = -1;            // the picture's index in its list
        TColor backColor = clNone; // of text
        TFontStyles style = 0;
        TRect clip;                // the clip in force; empty when none
        bool clipped = false;
        bool transparent = false;  // text drawn on no background (TextOutBaseline)
        int baseline = 0;          // of transparent text
        TMapping mapping;          // in force; the coordinates above are logical
    };

    void TextOutCells(int x, int y, const TRect& opaque, std::string_view text,
                      std::span<const int> advances) override;
    void FillRect(const TRect& rect, TColor color) override;
    void DrawLine(int x1, int y1, int x2, int y2, TColor color) override;
    void DrawImage(std::string_view list, int index, int x, int y, TColor maskColor) override;
    // Recorded as text whose cells are the fixed character width, with the
    // text's box as its rectangle and no background colour.
    void TextOutBaseline(int x, int y, std::string_view text) override;

    const std::vector<Op>& Ops() const { return ops_; }
    void Clear() { ops_.clear(); }
    std::vector<Op> TextOps() const;

    // What the pixel (x, y) shows after all operations: the character drawn
    // over it (0 when only filled) with its colours and style. Clips are
    // honoured.
    struct Pixel {
        bool painted = false;
        char32_t ch = 0;
        TColor foreground = clNone;
        TColor background = clNone;
        TFontStyles style = 0;
        bool line = false;  // a line runs through it, in `foreground`
    };
    Pixel PixelAt(int x, int y) const;

private:
    std::vector<Op> ops_;
};

}  // namespace ostrel
