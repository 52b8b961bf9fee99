#pragma once
// The print preview control: one page of a print job drawn scaled onto the
// screen, on a sheet with a shadow, in one of three zooms (the whole page,
// the page's width, or a percentage of its real size). The control decides
// the geometry, the scroll bars, scrolling, the wheel and the page shown;
// its window (a host) only shows bars, moves pixels and repaints.

#include <functional>
#include <string>

#include "editor/OstEditScrollTypes.h"
#include "platform/Canvas.h"

namespace ostrel {

class TOstEditPrint;

enum TOstPreviewScale { pscWholePage, pscPageWidth, pscUserScaled };

struct TPreviewSize {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TPreviewSize&, const TPreviewSize&) = default;
};

struct TPreviewPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPreviewPoint&, const TPreviewPoint&) = default;
};

class TOstPreviewHost {
public:
    virtual ~TOstPreviewHost() = default;
    virtual void InvalidateAll() = 0;
    // The picture moved by (dx, dy) pixels: the host may move the pixels it
    // has and repaint only the strip uncovered.
    virtual void ScrollContent(int dx, int dy) = 0;
    // The bars changed; the host reads HorizontalBar() and VerticalBar().
    virtual void UpdateScrollBars() = 0;
    // A hint window with the text, its right edge at `right` and its top at
    // `top` (client pixels), at most `maxWidth` wide; HideHint takes it away.
    virtual void ShowHint(const std::string& text, int right, int top, int maxWidth) = 0;
    virtual void HideHint() = 0;
};

class TOstEditPrintPreview {
public:
    // The border around the sheet, in screen pixels, on each side.
    static constexpr int kMargin = 12;
    // The sheet and its border, one side plus the shadow of the other.
    static constexpr int kBorder = 26;
    // Zooms the clicks reach.
    static constexpr int kMaxPercent = 400;
    static constexpr int kMinPercent = 25;

    void SetHost(TOstPreviewHost* host) { host_ = host; }
    // The surface the job is laid out on: the control's own, unscaled.
    void SetLayoutCanvas(Canvas* canvas) { layoutCanvas_ = canvas; }
    void SetClientSize(int width, int height);
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    // The screen's pixels per inch, for the real size of 100 percent.
    void SetScreenDpi(int dpiX, int dpiY);

    // ---- properties ---------------------------------------------------------------
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TColor PageBGColor() const { return pageBGColor_; }
    void SetPageBGColor(TColor color);
    // The job shown; not owned. Its owner clears it before it goes.
    TOstEditPrint* OstEditPrint() const { return job_; }
    void SetOstEditPrint(TOstEditPrint* job);
    TOstPreviewScale ScaleMode() const { return scaleMode_; }
    void SetScaleMode(TOstPreviewScale mode);
    int ScalePercent() const { return scalePercent_; }
    void SetScalePercent(int percent);
    bool ShowScrollHint = true;

    // After the page shown changes: its number.
    std::function<void(int pageNumber)> OnPreviewPage;
    std::function<void()> OnScaleChange;

    // ---- pages ------------------------------------------------------------------------
    int PageNumber() const { return pageNumber_; }
    // Pages of the job's last layout; 0 without a job.
    int PageCount() const;
    // Lays the job out again (after its settings changed) keeping the zoom;
    // the page shown stays within the new page count.
    void Relayout();
    void GoFirstPage();
    void GoLastPage();
    void GoNextPage();
    void GoPreviousPage();

    // The zoom a click asks for: the left button doubles up to 400 percent,
    // or goes from the whole page to 100 percent; another halves down to 25.
    int ClickedPercent(bool leftButton) const;

    // ---- scrolling ----------------------------------------------------------------------
    void ScrollHorizontal(TOstScrollCode request, int thumbPosition = 0);
    void ScrollVertical(TOstScrollCode request, int thumbPosition = 0);
    // Wheel turns in eighths of a degree, 120 a notch, positive away from
    // the user.
    void MouseWheel(int delta);
    // Moves the picture to an offset (0 or negative) within what can scroll.
    void ScrollTo(int x, int y);
    // What each bar shows; Max is the largest position of its box.
    const TOstScrollBarInfo& HorizontalBar() const { return horizontalBar_; }
    const TOstScrollBarInfo& VerticalBar() const { return verticalBar_; }

    // ---- geometry and painting ------------------------------------------------------------
    TPreviewSize PageSize() const { return pageSize_; }
    TPreviewSize VirtualSize() const { return virtualSize_; }
    TPreviewPoint VirtualOffset() const { return virtualOffset_; }
    TPreviewPoint ScrollPosition() const { return scrollPosition_; }
    // Where the sheet is on the client, its border included; the shadow lies
    // two pixels beyond its right and bottom edges.
    TRect SheetRect() const;
    // The mapping under which the job draws its page: printer pixels from
    // the printable area's corner onto the sheet.
    TMapping PageMapping() const;
    void Paint(Canvas& canvas, const TRect& clip);

private:
    void Recalculate();
    void UpdateScrollBars();
    void SetPage(int pageNumber);
    void ScrollPages(TOstScrollCode request, int thumbPosition);
    int ScrolledPosition(TOstScrollCode request, int thumbPosition, int current, int clientSize,
                         int virtualSize) const;
    void PaintBackground(Canvas& canvas, const TRect& sheet);
    void PaintWithoutJob(Canvas& canvas);
    void PaintPage(Canvas& canvas, const TRect& sheet);
    void Invalidate();
    void ScaleChanged();

    TOstPreviewHost* host_ = nullptr;
    Canvas* layoutCanvas_ = nullptr;
    TOstEditPrint* job_ = nullptr;
    int clientWidth_ = 200;
    int clientHeight_ = 120;
    int screenDpiX_ = 96;
    int screenDpiY_ = 96;
    TColor color_ = clAppWorkSpace;
    TColor pageBGColor_ = clWhite;
    TOstPreviewScale scaleMode_ = pscUserScaled;
    int scalePercent_ = 100;

    TPreviewSize pageSize_;
    TPreviewSize virtualSize_;
    TPreviewPoint virtualOffset_;
    TPreviewPoint scrollPosition_;
    int pageNumber_ = 1;
    int wheelAccumulator_ = 0;
    TOstScrollBarInfo horizontalBar_;
    TOstScrollBarInfo verticalBar_;
};

}  // namespace ostrel
