#include "platform/RecordingCanvas.h"

#include <algorithm>
#include <cstdlib>

#include "platform/Utf8.h"

namespace ostrel {

namespace {

int PixelHeightOf(const TOstFont& font)
{
    // A positive height counts the internal leading, about a fifth of it.
    return font.Height < 0 ? -font.Height : std::max(1, font.Height * 4 / 5);
}

bool InClip(const RecordingCanvas::Op& op, int x, int y)
{
    return !op.clipped || op.clip.Contains(x, y);
}

}  // namespace

// ---- fixed metrics -----------------------------------------------------------------

TFontMetrics FixedMetricsCanvas::MetricsOf(const TOstFont& font, TFontStyles style)
{
    const int h = PixelHeightOf(font);
    TFontMetrics m;
    m.CharWidth = (3 * h + 2) / 5 + ((style & fsBold) ? 1 : 0);
    m.Height = h + 3;
    m.Ascent = h;
    return m;
}

void FixedMetricsCanvas::SelectFont(const TOstFont& base, TFontStyles style)
{
    state_.font = base;
    state_.style = style;
}

int FixedMetricsCanvas::GlyphExtent(char32_t)
{
    const int width = MeasureFont().CharWidth;
    return (state_.style & fsItalic) ? width + 2 : width;
}

void FixedMetricsCanvas::Restore()
{
    if (saved_.empty())
        return;
    state_ = saved_.back();
    saved_.pop_back();
}

void FixedMetricsCanvas::IntersectClip(const TRect& logical)
{
    const TRect rect = state_.mapping.ToDevice(logical);
    state_.clip = state_.clipped ? IntersectRect(state_.clip, rect) : rect;
    state_.clipped = true;
}

// ---- recording ---------------------------------------------------------------------

void RecordingCanvas::TextOutCells(int x, int y, const TRect& opaque, std::string_view text,
                                   std::span<const int> advances)
{
    Op op;
    op.kind = OpKind::Text;
    op.x = x;
    op.y = y;
    op.rect = opaque;
    op.text = std::string(text);
    op.advances.assign(advances.begin(), advances.begin() + static_cast<long>(CodePointCount(text)));
    op.color = state_.textColor;
    op.backColor = state_.backColor;
    op.style = state_.style;
    op.clip = state_.clip;
    op.clipped = state_.clipped;
    op.mapping = state_.mapping;
    ops_.push_back(std::move(op));
}

void RecordingCanvas::TextOutBaseline(int x, int y, std::string_view text)
{
    const TFontMetrics metrics = MeasureFont();
    const std::vector<int> advances(CodePointCount(text), metrics.CharWidth);
    const int top = y - metrics.Ascent;
    const TRect box{x, top, x + TextWidth(text), top + metrics.Height};
    TextOutCells(x, top, box, text, advances);
    Op& op = ops_.back();
    op.backColor = clNone;
    op.transparent = true;
    op.baseline = y;
}

void RecordingCanvas::FillRect(const TRect& rect, TColor color)
{
    Op op;
    op.kind = OpKind::Fill;
    op.rect = rect;
    op.color = color;
    op.clip = state_.clip;
    op.clipped = state_.clipped;
    op.mapping = state_.mapping;
    ops_.push_back(std::move(op));
}

void RecordingCanvas::DrawLine(int x1, int y1, int x2, int y2, TColor color)
{
    Op op;
    op.kind = OpKind::Line;
    op.x = x1;
    op.y = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.color = color;
    op.clip = state_.clip;
    op.clipped = state_.clipped;
    op.mapping = state_.mapping;
    ops_.push_back(std::move(op));
}

void RecordingCanvas::DrawImage(std::string_view list, int index, int x, int y, TColor maskColor)
{
    Op op;
    op.kind = OpKind::Image;
    op.x = x;
    op.y = y;
    op.text = std::string(list);
    op.image = index;
    op.color = maskColor;
    op.clip = state_.clip;
    op.clipped = state_.clipped;
    op.mapping = state_.mapping;
    ops_.push_back(std::move(op));
}

std::vector<RecordingCanvas::Op> RecordingCanvas::TextOps() const
{
    std::vector<Op> result;
    std::copy_if(ops_.begin(), ops_.end(), std::back_inserter(result),
                 [](const Op& op) { return op.kind == OpKind::Text; });
    return result;
}

RecordingCanvas::Pixel RecordingCanvas::PixelAt(int x, int y) const
{
    Pixel p;
    for (const Op& op : ops_) {
        if (!InClip(op, x, y))
            continue;
        switch (op.kind) {
        case OpKind::Fill:
            if (op.rect.Contains(x, y))
                p = Pixel{true, 0, clNone, op.color, 0, false};
            break;
        case OpKind::Line: {
            const bool vertical = op.x == op.x2 && x == op.x && y >= std::min(op.y, op.y2) &&
                                  y < std::max(op.y, op.y2);
            const bool horizontal = op.y == op.y2 && y == op.y && x >= std::min(op.x, op.x2) &&
                                    x < std::max(op.x, op.x2);
            if (vertical || horizontal) {
                p.painted = true;
                p.line = true;
                p.foreground = op.color;
            }
            break;
        }
        case OpKind::Text: {
            if (!op.rect.Contains(x, y))
                break;
            // Transparent text keeps whatever lies beneath it.
            const TColor back = op.transparent ? p.background : op.backColor;
            p = Pixel{true, 0, op.color, back, op.style, false};
            int cell = op.x;
            size_t at = 0;
            for (size_t i = 0; i < op.advances.size() && at < op.text.size(); ++i) {
                const utf8::TDecoded d = utf8::Decode(op.text, at);
                at += d.length;
                if (x >= cell && x < cell + op.advances[i]) {
                    p.ch = d.cp;
                    break;
                }
                cell += op.advances[i];
            }
            break;
        }
        case OpKind::Image:
            // Pictures have no size here; tests look at the operation.
            break;
        }
    }
    return p;
}

}  // namespace ostrel
