// The scroll bars: what each shows, the requests they make, and the hint
// shown while the vertical scroll box is dragged.

#include <algorithm>
#include <string>

#include "editor/OstEdit.h"

namespace ostrel {

namespace {

bool HasBar(TScrollStyle style, TOstScrollBarKind bar)
{
    if (style == ssBoth)
        return true;
    return bar == sbVertical ? style == ssVertical : style == ssHorizontal;
}

}  // namespace

void TCustomOstEdit::SetScrollBars(TScrollStyle value)
{
    if (value == scrollBars_)
        return;
    scrollBars_ = value;
    if (host_)
        host_->UpdateScrollBars();
}

// Qt's bars take any int range, so every row has its own position and the
// scroll box reaches the last row however long the text is.
TOstScrollBarInfo TCustomOstEdit::ScrollBarInfo(TOstScrollBarKind bar) const
{
    TOstScrollBarInfo info;
    if (bar == sbVertical) {
        info.Max = MaxTopLine();
        info.Page = std::max(linesInWindow_, 1);
        info.Pos = topLine_;
    } else {
        const int longest = const_cast<TOstEditStringList&>(lines_).LongestLineWidth();
        const int width = options_.has(eoScrollPastEol) ? std::max(maxLineWidth_, longest) : longest;
        info.Max = std::max(width - charsInWindow_ + 1, 1);
        info.Page = std::max(charsInWindow_, 1);
        info.Pos = leftChar_;
    }
    // A view scrolled further than the text now reaches keeps its place.
    info.Max = std::max(info.Max, info.Pos);
    info.Enabled = info.Max > info.Min;
    // Wrapped rows never reach beyond the window.
    info.Exists = HasBar(scrollBars_, bar) && !(bar == sbHorizontal && WordWrap());
    info.Shown = info.Exists && (info.Enabled || !options_.has(eoHideShowScrollbars));
    if (options_.has(eoDisableScrollArrows)) {
        info.BackArrowEnabled = info.Pos > info.Min;
        info.ForwardArrowEnabled = info.Pos < info.Max;
    }
    return info;
}

void TCustomOstEdit::ScrollBarAction(TOstScrollBarKind bar, TOstScrollCode code, int position)
{
    const bool vertical = bar == sbVertical;
    const int pos = vertical ? topLine_ : leftChar_;
    int page = vertical ? linesInWindow_ : charsInWindow_;
    if (vertical && options_.has(eoScrollByOneLess))
        --page;
    page = std::max(page, 1);
    switch (code) {
    case scrLineBack: ScrollTo(bar, pos - 1); break;
    case scrLineForward: ScrollTo(bar, pos + 1); break;
    case scrPageBack: ScrollTo(bar, pos - page); break;
    case scrPageForward: ScrollTo(bar, pos + page); break;
    case scrFirst: ScrollTo(bar, 1); break;
    case scrLast: ScrollTo(bar, ScrollBarInfo(bar).Max); break;
    case scrThumbTrack:
    case scrThumbPosition: ScrollTo(bar, position); break;
    case scrEndScroll: return;
    }
    if (OnScroll)
        OnScroll(bar);
}

void TCustomOstEdit::ScrollTo(TOstScrollBarKind bar, int position)
{
    if (bar == sbVertical)
        SetTopLine(position);
    else
        SetLeftChar(position);
}

std::string TCustomOstEdit::ScrollHintText() const
{
    if (!options_.has(eoShowScrollHint))
        return std::string();
    const int rows = std::max(DisplayLineCount(), 1);
    const int first = RowToLine(std::min(topLine_, rows));
    if (scrollHintFormat_ == shfTopLineOnly)
        return "Top Line: " + std::to_string(first);
    const int lastRow = std::clamp(topLine_ + linesInWindow_ - 1, 1, rows);
    return std::to_string(first) + " - " + std::to_string(RowToLine(lastRow));
}

}  // namespace ostrel
