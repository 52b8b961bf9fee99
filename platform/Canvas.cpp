#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace ostrel {

TRect IntersectRect(const TRect& a, const TRect& b)
{
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    if (r.IsEmpty())
        return {};
    return r;
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return 0;
    const long long product = static_cast<long long>(a) * b;
    const long long divisor = std::llabs(static_cast<long long>(c));
    const long long magnitude = (std::llabs(product) + divisor / 2) / divisor;
    return static_cast<int>((product < 0) != (c < 0) ? -magnitude : magnitude);
}

bool TMapping::IsIdentity() const
{
    return OriginX == 0 && OriginY == 0 && WindowWidth == ViewportWidth && WindowHeight == ViewportHeight;
}

TRect TMapping::ToDevice(const TRect& rect) const
{
    return {OriginX + MulDiv(rect.Left, ViewportWidth, WindowWidth),
            OriginY + MulDiv(rect.Top, ViewportHeight, WindowHeight),
            OriginX + MulDiv(rect.Right, ViewportWidth, WindowWidth),
            OriginY + MulDiv(rect.Bottom, ViewportHeight, WindowHeight)};
}

int TOstFont::Size() const
{
    if (PixelsPerInch <= 0)
        return 0;
    return static_cast<int>(std::lround(-Height * 72.0 / PixelsPerInch));
}

void TOstFont::SetSize(int points)
{
    Height = -static_cast<int>(std::lround(points * static_cast<double>(PixelsPerInch) / 72.0));
}

size_t CodePointCount(std::string_view utf8)
{
    size_t count = 0;
    for (char c : utf8)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

int Canvas::TextWidth(std::string_view text)
{
    return MeasureFont().CharWidth * static_cast<int>(CodePointCount(text));
}

void Canvas::TextOutBaseline(int x, int y, std::string_view text)
{
    const TFontMetrics metrics = MeasureFont();
    const std::vector<int> advances(CodePointCount(text), metrics.CharWidth);
    // An empty opaque rectangle leaves the background alone.
    TextOutCells(x, y - metrics.Ascent, TRect{}, text, advances);
}

namespace {

// The classic desktop scheme, written as 0xRRGGBB for readability.
constexpr uint32_t kSystemRGB[] = {
    0xD4D0C8, 0x3A6EA5, 0x0A246A, 0x808080, 0xD4D0C8, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xD4D0C8, 0xD4D0C8, 0x808080, 0x0A246A, 0xFFFFFF, 0xD4D0C8,
    0x808080, 0x808080, 0x000000, 0xD4D0C8, 0xFFFFFF, 0x404040, 0xD4D0C8, 0x000000,
    0xFFFFE1,
};

}  // namespace

TColor DefaultColorToRGB(TColor color)
{
    if (!IsSystemColor(color))
        return color;
    const int index = SystemColorIndex(color);
    if (index >= static_cast<int>(std::size(kSystemRGB)))
        return clBlack;
    const uint32_t rgb = kSystemRGB[index];
    return RGBColor(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                    static_cast<uint8_t>(rgb));
}

}  // namespace ostrel
