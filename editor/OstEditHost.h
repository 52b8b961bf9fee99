#pragma once
// What the editor control asks of the window that shows it. The engine never
// reaches the screen itself: the host (a Qt widget, or nothing when the
// editor runs headless) repaints, moves the caret and updates scroll bars.

namespace ostrel {

class TOstEditHost {
public:
    virtual ~TOstEditHost() = default;
    // Display rows firstRow..lastRow (from 1, inclusive) need repainting;
    // withGutter also repaints the gutter beside them.
    virtual void InvalidateRows(int firstRow, int lastRow, bool withGutter) = 0;
    virtual void InvalidateAll() = 0;
    // The view moved by the given display rows and columns; the host may
    // scroll the pixels it has instead of repainting them.
    virtual void ScrollView(int deltaColumns, int deltaRows) = 0;
    virtual void UpdateScrollBars() = 0;
    virtual void UpdateCaret() = 0;
};

}  // namespace ostrel
