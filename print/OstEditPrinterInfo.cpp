#include "print/OstEditPrinterInfo.h"

#include <cmath>

namespace ostrel {

namespace {

constexpr double kMMPerInch = 25.4;

int RoundHalfEven(double value)
{
    // lrint follows the default rounding mode, which rounds ties to even.
    return static_cast<int>(std::lrint(value));
}

}  // namespace

TPrinterCaps TOstEditPrinterInfo::FallbackCaps()
{
    TPrinterCaps caps;
    caps.PhysicalWidth = 2481;
    caps.PhysicalHeight = 3507;
    caps.PageWidth = 2358;
    caps.PageHeight = 3407;
    caps.PhysicalOffsetX = 65;
    caps.PhysicalOffsetY = 50;
    caps.DpiX = 300;
    caps.DpiY = 300;
    return caps;
}

void TOstEditPrinterInfo::SetPrinter(const Printer* printer)
{
    printer_ = printer;
    valid_ = false;
}

void TOstEditPrinterInfo::Refresh()
{
    std::optional<TPrinterCaps> caps;
    if (printer_)
        caps = printer_->Capabilities();
    // A printer reporting no resolution could not convert millimetres.
    if (!caps || caps->DpiX <= 0 || caps->DpiY <= 0)
        caps = FallbackCaps();
    Fill(*caps);
    valid_ = true;
}

void TOstEditPrinterInfo::Fill(const TPrinterCaps& caps)
{
    Geometry& g = geometry_;
    g.PhysicalWidth = caps.PhysicalWidth;
    g.PhysicalHeight = caps.PhysicalHeight;
    g.PageWidth = caps.PageWidth;
    g.PageHeight = caps.PageHeight;
    g.OffsetLeft = caps.PhysicalOffsetX;
    g.OffsetTop = caps.PhysicalOffsetY;
    g.OffsetRight = g.PhysicalWidth - g.PageWidth - g.OffsetLeft;
    g.OffsetBottom = g.PhysicalHeight - g.PageHeight - g.OffsetTop;
    g.DpiX = caps.DpiX;
    g.DpiY = caps.DpiY;
    g.PixPerMMX = g.DpiX / kMMPerInch;
    g.PixPerMMY = g.DpiY / kMMPerInch;
}

const TOstEditPrinterInfo::Geometry& TOstEditPrinterInfo::Get()
{
    if (!valid_)
        Refresh();
    return geometry_;
}

int TOstEditPrinterInfo::PixFromLeft(double mm)
{
    return RoundHalfEven(mm * PixPerMMX() - OffsetLeft());
}

int TOstEditPrinterInfo::PixFromRight(double mm)
{
    return RoundHalfEven(mm * PixPerMMX() - OffsetRight());
}

int TOstEditPrinterInfo::PixFromTop(double mm)
{
    return RoundHalfEven(mm * PixPerMMY() - OffsetTop());
}

int TOstEditPrinterInfo::PixFromBottom(double mm)
{
    return RoundHalfEven(mm * PixPerMMY() - OffsetBottom());
}

}  // namespace ostrel
