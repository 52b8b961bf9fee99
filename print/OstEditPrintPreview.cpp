#include "print/OstEditPrintPreview.h"

#include <algorithm>
#include <cstdlib>

#include "print/OstEditPrint.h"

namespace ostrel {

namespace {

// The hint beside a dragged page selector.
constexpr int kHintMaxWidth = 200;
constexpr int kHintRightGap = 4;
constexpr int kHintTop = 10;
// One notch of the wheel, and the pixels it scrolls.
constexpr int kWheelNotch = 120;

TOstScrollBarInfo PixelBar(int virtualSize, int clientSize, int scrolled)
{
    TOstScrollBarInfo bar;
    bar.Enabled = virtualSize > clientSize;
    bar.Min = 0;
    bar.Max = std::max(0, virtualSize - clientSize);
    bar.Pos = -scrolled;
    bar.Page = std::max(1, clientSize);
    return bar;
}

// The offset that puts a virtual extent in the middle of the client when it
// is smaller.
int CentredOffset(int clientSize, int virtualSize)
{
    const int offset = TOstEditPrintPreview::kMargin;
    return virtualSize < clientSize ? offset + (clientSize - virtualSize) / 2 : offset;
}

}  // namespace

// ---- properties -------------------------------------------------------------------

void TOstEditPrintPreview::SetClientSize(int width, int height)
{
    clientWidth_ = std::max(0, width);
    clientHeight_ = std::max(0, height);
    Recalculate();
    Invalidate();
}

void TOstEditPrintPreview::SetScreenDpi(int dpiX, int dpiY)
{
    screenDpiX_ = std::max(1, dpiX);
    screenDpiY_ = std::max(1, dpiY);
    Recalculate();
    Invalidate();
}

void TOstEditPrintPreview::SetColor(TColor color)
{
    if (color_ == color)
        return;
    color_ = color;
    Invalidate();
}

void TOstEditPrintPreview::SetPageBGColor(TColor color)
{
    if (pageBGColor_ == color)
        return;
    pageBGColor_ = color;
    Invalidate();
}

void TOstEditPrintPreview::SetOstEditPrint(TOstEditPrint* job)
{
    job_ = job;
    pageNumber_ = std::clamp(pageNumber_, 1, std::max(1, PageCount()));
    Recalculate();
    Invalidate();
}

void TOstEditPrintPreview::SetScaleMode(TOstPreviewScale mode)
{
    if (mode == scaleMode_)
        return;
    scaleMode_ = mode;
    scrollPosition_ = {};
    Recalculate();
    ScaleChanged();
    Invalidate();
}

void TOstEditPrintPreview::SetScalePercent(int percent)
{
    percent = std::max(1, percent);
    if (percent == scalePercent_) {
        SetScaleMode(pscUserScaled);
    } else {
        scaleMode_ = pscUserScaled;
        scrollPosition_ = {};
        scalePercent_ = percent;
        Recalculate();
        Invalidate();
    }
    ScaleChanged();
}

void TOstEditPrintPreview::ScaleChanged()
{
    if (OnScaleChange)
        OnScaleChange();
}

void TOstEditPrintPreview::Invalidate()
{
    if (host_)
        host_->InvalidateAll();
}

// ---- pages ------------------------------------------------------------------------

int TOstEditPrintPreview::PageCount() const
{
    return job_ ? job_->PageCount() : 0;
}

void TOstEditPrintPreview::Relayout()
{
    if (!job_)
        return;
    if (layoutCanvas_)
        job_->LayoutPages(*layoutCanvas_);
    // Settings changed in between may leave fewer pages than before.
    pageNumber_ = std::clamp(pageNumber_, 1, std::max(1, PageCount()));
    Recalculate();
    Invalidate();
    if (OnPreviewPage)
        OnPreviewPage(pageNumber_);
}

void TOstEditPrintPreview::SetPage(int pageNumber)
{
    pageNumber_ = pageNumber;
    if (OnPreviewPage)
        OnPreviewPage(pageNumber_);
    UpdateScrollBars();
    Invalidate();
}

void TOstEditPrintPreview::GoFirstPage()
{
    SetPage(1);
}

void TOstEditPrintPreview::GoLastPage()
{
    SetPage(std::max(1, PageCount()));
}

void TOstEditPrintPreview::GoNextPage()
{
    SetPage(std::min(pageNumber_ + 1, std::max(1, PageCount())));
}

void TOstEditPrintPreview::GoPreviousPage()
{
    SetPage(std::max(pageNumber_ - 1, 1));
}

int TOstEditPrintPreview::ClickedPercent(bool leftButton) const
{
    if (!leftButton)
        return std::max(scalePercent_ / 2, kMinPercent);
    if (scaleMode_ == pscWholePage)
        return 100;
    const int doubled = scalePercent_ * 2;
    return doubled > kMaxPercent - 2 ? kMaxPercent : doubled;
}

// ---- geometry ---------------------------------------------------------------------

void TOstEditPrintPreview::Recalculate()
{
    if (job_) {
        TOstEditPrinterInfo& info = job_->PrinterInfo();
        const int physicalWidth = info.PhysicalWidth();
        const int physicalHeight = info.PhysicalHeight();
        TPreviewSize page;
        switch (scaleMode_) {
        case pscWholePage:
            page = {std::max(1, clientWidth_ - kBorder), std::max(1, clientHeight_ - kBorder)};
            if (const int widthByHeight = MulDiv(page.Height, physicalWidth, physicalHeight);
                widthByHeight < page.Width)
                page.Width = widthByHeight;
            else
                page.Height = MulDiv(page.Width, physicalHeight, physicalWidth);
            break;
        case pscPageWidth:
            page.Width = std::max(1, clientWidth_ - kBorder);
            page.Height = MulDiv(page.Width, physicalHeight, physicalWidth);
            break;
        case pscUserScaled:
            page.Width = MulDiv(MulDiv(physicalWidth, screenDpiX_, info.DpiX()), scalePercent_, 100);
            page.Height = MulDiv(MulDiv(physicalHeight, screenDpiY_, info.DpiY()), scalePercent_, 100);
            break;
        }
        pageSize_ = page;
        virtualSize_ = {page.Width + kBorder, page.Height + kBorder};
        virtualOffset_ = {CentredOffset(clientWidth_, virtualSize_.Width),
                          CentredOffset(clientHeight_, virtualSize_.Height)};
        scrollPosition_ = {};
    }
    UpdateScrollBars();
}

void TOstEditPrintPreview::UpdateScrollBars()
{
    if (scaleMode_ == pscWholePage) {
        const int pages = std::max(1, PageCount());
        horizontalBar_ = {};
        horizontalBar_.Exists = horizontalBar_.Shown = false;
        verticalBar_ = {};
        verticalBar_.Max = pages;
        verticalBar_.Pos = std::min(pageNumber_, pages);
        verticalBar_.Enabled = pages > 1;
    } else {
        verticalBar_ = PixelBar(virtualSize_.Height, clientHeight_, scrollPosition_.Y);
        horizontalBar_ = PixelBar(virtualSize_.Width, clientWidth_, scrollPosition_.X);
        horizontalBar_.Exists = horizontalBar_.Shown = scaleMode_ == pscUserScaled;
    }
    if (host_)
        host_->UpdateScrollBars();
}

// ---- scrolling --------------------------------------------------------------------

void TOstEditPrintPreview::ScrollTo(int x, int y)
{
    x = std::min(std::max(x, clientWidth_ - virtualSize_.Width), 0);
    y = std::min(std::max(y, clientHeight_ - virtualSize_.Height), 0);
    const int dx = x - scrollPosition_.X;
    const int dy = y - scrollPosition_.Y;
    if (dx == 0 && dy == 0)
        return;
    scrollPosition_ = {x, y};
    UpdateScrollBars();
    if (!host_)
        return;
    if (std::abs(dx) > clientWidth_ / 2 || std::abs(dy) > clientHeight_ / 2)
        host_->InvalidateAll();
    else
        host_->ScrollContent(dx, dy);
}

int TOstEditPrintPreview::ScrolledPosition(TOstScrollCode request, int thumbPosition, int current,
                                           int clientSize, int virtualSize) const
{
    switch (request) {
    case scrLineBack: return current + clientSize / 10;
    case scrLineForward: return current - clientSize / 10;
    case scrPageBack: return current + clientSize / 2;
    case scrPageForward: return current - clientSize / 2;
    case scrFirst: return 0;
    case scrLast: return -virtualSize;
    case scrThumbTrack:
    case scrThumbPosition: return -thumbPosition;
    case scrEndScroll: break;
    }
    return current;
}

void TOstEditPrintPreview::ScrollHorizontal(TOstScrollCode request, int thumbPosition)
{
    ScrollTo(ScrolledPosition(request, thumbPosition, scrollPosition_.X, clientWidth_, virtualSize_.Width),
             scrollPosition_.Y);
}

void TOstEditPrintPreview::ScrollVertical(TOstScrollCode request, int thumbPosition)
{
    if (scaleMode_ == pscWholePage) {
        ScrollPages(request, thumbPosition);
        return;
    }
    ScrollTo(scrollPosition_.X,
             ScrolledPosition(request, thumbPosition, scrollPosition_.Y, clientHeight_, virtualSize_.Height));
}

// In the whole-page view the vertical bar chooses the page.
void TOstEditPrintPreview::ScrollPages(TOstScrollCode request, int thumbPosition)
{
    const int pages = std::max(1, PageCount());
    int page = pageNumber_;
    switch (request) {
    case scrLineBack:
    case scrPageBack: page = std::max(page - 1, 1); break;
    case scrLineForward:
    case scrPageForward: page = std::min(page + 1, pages); break;
    case scrFirst: page = 1; break;
    case scrLast: page = pages; break;
    case scrThumbTrack:
    case scrThumbPosition:
        page = std::clamp(thumbPosition, 1, pages);
        if (ShowScrollHint && host_)
            host_->ShowHint("Page: " + std::to_string(page), clientWidth_ - kHintRightGap, kHintTop,
                            kHintMaxWidth);
        break;
    case scrEndScroll:
        if (host_)
            host_->HideHint();
        break;
    }
    pageNumber_ = page;
    UpdateScrollBars();
    if (OnPreviewPage)
        OnPreviewPage(pageNumber_);
    Invalidate();
}

void TOstEditPrintPreview::MouseWheel(int delta)
{
    wheelAccumulator_ += delta;
    while (std::abs(wheelAccumulator_) >= kWheelNotch) {
        const int step = wheelAccumulator_ > 0 ? kWheelNotch : -kWheelNotch;
        wheelAccumulator_ -= step;
        ScrollTo(scrollPosition_.X, scrollPosition_.Y + step);
    }
}

// ---- painting ---------------------------------------------------------------------

TRect TOstEditPrintPreview::SheetRect() const
{
    const int left = virtualOffset_.X + scrollPosition_.X;
    const int top = virtualOffset_.Y + (scaleMode_ == pscWholePage ? 0 : scrollPosition_.Y);
    return {left, top, left + pageSize_.Width, top + pageSize_.Height};
}

TMapping TOstEditPrintPreview::PageMapping() const
{
    TMapping mapping;
    if (!job_)
        return mapping;
    TOstEditPrinterInfo& info = job_->PrinterInfo();
    const TRect sheet = SheetRect();
    mapping.WindowWidth = std::max(1, info.PhysicalWidth());
    mapping.WindowHeight = std::max(1, info.PhysicalHeight());
    mapping.ViewportWidth = pageSize_.Width;
    mapping.ViewportHeight = pageSize_.Height;
    mapping.OriginX = sheet.Left + MulDiv(info.OffsetLeft(), pageSize_.Width, mapping.WindowWidth);
    mapping.OriginY = sheet.Top + MulDiv(info.OffsetTop(), pageSize_.Height, mapping.WindowHeight);
    return mapping;
}

void TOstEditPrintPreview::Paint(Canvas& canvas, const TRect& clip)
{
    if (clip.IsEmpty())
        return;
    canvas.Save();
    canvas.IntersectClip(clip);
    if (job_) {
        const TRect sheet = SheetRect();
        PaintBackground(canvas, sheet);
        PaintPage(canvas, sheet);
    } else {
        PaintWithoutJob(canvas);
    }
    canvas.Restore();
}

namespace {

void FrameSheet(Canvas& canvas, const TRect& sheet, TColor paper)
{
    canvas.FillRect(sheet, paper);
    const int right = sheet.Right - 1;
    const int bottom = sheet.Bottom - 1;
    canvas.DrawLine(sheet.Left, sheet.Top, sheet.Right, sheet.Top, clBlack);
    canvas.DrawLine(sheet.Left, bottom, sheet.Right, bottom, clBlack);
    canvas.DrawLine(sheet.Left, sheet.Top, sheet.Left, sheet.Bottom, clBlack);
    canvas.DrawLine(right, sheet.Top, right, sheet.Bottom, clBlack);
}

void FillOutside(Canvas& canvas, const TRect& area, const TRect& hole, TColor color)
{
    const TRect bands[] = {
        {area.Left, area.Top, area.Right, hole.Top},
        {area.Left, hole.Bottom, area.Right, area.Bottom},
        {area.Left, hole.Top, hole.Left, hole.Bottom},
        {hole.Right, hole.Top, area.Right, hole.Bottom},
    };
    for (const TRect& band : bands)
        if (!band.IsEmpty())
            canvas.FillRect(band, color);
}

}  // namespace

void TOstEditPrintPreview::PaintBackground(Canvas& canvas, const TRect& sheet)
{
    FillOutside(canvas, {0, 0, clientWidth_, clientHeight_}, sheet, color_);
    // The shadow: two lines below and right of the sheet, each one pixel
    // further out and down.
    for (int i = 1; i <= 2; ++i) {
        const int y = sheet.Bottom - 1 + i;
        const int x = sheet.Right - 1 + i;
        canvas.DrawLine(sheet.Left + i, y, x + 1, y, clBlack);
        canvas.DrawLine(x, y, x, sheet.Top + i, clBlack);
    }
}

void TOstEditPrintPreview::PaintWithoutJob(Canvas& canvas)
{
    canvas.FillRect({0, 0, clientWidth_, clientHeight_}, color_);
    FrameSheet(canvas, {kMargin, kMargin, 55, 42}, pageBGColor_);
}

void TOstEditPrintPreview::PaintPage(Canvas& canvas, const TRect& sheet)
{
    canvas.Save();
    canvas.IntersectClip(sheet);
    FrameSheet(canvas, sheet, pageBGColor_);
    TOstEditPrinterInfo& info = job_->PrinterInfo();
    canvas.SetMapping(PageMapping());
    canvas.IntersectClip({0, 0, info.PageWidth(), info.PageHeight()});
    job_->RenderPage(canvas, pageNumber_);
    canvas.Restore();
}

}  // namespace ostrel
