#pragma once
// Small types of the editor's display: caret shapes, selection colours and
// the painting events.

#include <cstdint>
#include <functional>

#include "platform/Canvas.h"

namespace ostrel {

enum TOstEditCaretType : uint8_t { ctVerticalLine, ctHorizontalLine, ctHalfBlock, ctBlock };

// Colours of selected text.
struct TOstSelectedColor {
    TColor Foreground = clHighlightText;
    TColor Background = clHighlight;
    friend bool operator==(const TOstSelectedColor&, const TOstSelectedColor&) = default;
};

// Before and after the rest of a repaint.
enum TOstTransientType : uint8_t { ttBefore, ttAfter };

// Where the caret is and how it looks, in client pixels.
struct TOstCaretGeometry {
    bool Visible = false;
    TRect Rect;
    TOstEditCaretType Shape = ctVerticalLine;
};

// A line (from 1) may get colours of its own: set special and the colours.
using TOstSpecialLineColorsEvent =
    std::function<void(int line, bool& special, TColor& foreground, TColor& background)>;
using TOstPaintEvent = std::function<void(Canvas& canvas)>;
using TOstPaintTransientEvent = std::function<void(Canvas& canvas, TOstTransientType type)>;

// Mouse buttons and modifier keys the host reports, with the bits of the
// keyboard commands: Shift 1, Alt 2, Ctrl 4.
enum TOstMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };
enum TOstShiftBit : uint8_t { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TOstShiftState = uint8_t;

}  // namespace ostrel
