#pragma once
// The editor's scroll bars as the engine sees them: which bars exist, what
// each shows, the requests a bar makes, and the hint shown while the
// vertical scroll box is dragged.

#include <cstdint>

namespace ostrel {

enum TOstScrollBarKind : uint8_t { sbHorizontal, sbVertical };

// Which bars the control has.
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

// The text of the scroll hint: the top line, or the first and last visible line.
enum TScrollHintFormat : uint8_t { shfTopLineOnly, shfTopToBottom };

// What a bar asks for: a step by its arrows or by a page, its ends, or the
// position of its scroll box (while dragged, and where it was let go).
enum TOstScrollCode : uint8_t {
    scrLineBack, scrLineForward, scrPageBack, scrPageForward,
    scrFirst, scrLast, scrThumbTrack, scrThumbPosition, scrEndScroll,
};

// One bar's state: positions Min..Max with Page positions in view. Exists
// says whether the control has the bar, Shown whether it appears now (with
// eoHideShowScrollbars not while everything fits); it is Enabled only when the
// view can move. The arrows towards an end the view stands at may be
// disabled (eoDisableScrollArrows).
struct TOstScrollBarInfo {
    int Min = 1;
    int Max = 1;
    int Page = 1;
    int Pos = 1;
    bool Exists = true;
    bool Shown = true;
    bool Enabled = false;
    bool BackArrowEnabled = true;
    bool ForwardArrowEnabled = true;
};

}  // namespace ostrel
