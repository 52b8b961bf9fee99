#pragma once
// The geometry and resolution of the printer the job prints on, and the
// conversion of millimetres measured from a sheet's edge into printer pixels
// measured from the printable area's edge. Without a printer the geometry of
// an A4 sheet at 300 dpi stands in, so layout and preview still work.

#include "platform/Printer.h"

namespace ostrel {

class TOstEditPrinterInfo {
public:
    // The printer is not owned and may be none (no printer installed).
    explicit TOstEditPrinterInfo(const Printer* printer = nullptr) : printer_(printer) {}

    void SetPrinter(const Printer* printer);
    // Reads the printer's geometry again; the job calls it before each layout
    // so a printer changed between jobs is seen.
    void Refresh();
    bool IsValid() const { return valid_; }

    int PhysicalWidth() { return Get().PhysicalWidth; }
    int PhysicalHeight() { return Get().PhysicalHeight; }
    int PageWidth() { return Get().PageWidth; }
    int PageHeight() { return Get().PageHeight; }
    int OffsetLeft() { return Get().OffsetLeft; }
    int OffsetTop() { return Get().OffsetTop; }
    int OffsetRight() { return Get().OffsetRight; }
    int OffsetBottom() { return Get().OffsetBottom; }
    int DpiX() { return Get().DpiX; }
    int DpiY() { return Get().DpiY; }
    double PixPerMMX() { return Get().PixPerMMX; }
    double PixPerMMY() { return Get().PixPerMMY; }

    // Millimetres from a sheet edge to printer pixels from the printable
    // area's edge, rounded to nearest with ties to even.
    int PixFromLeft(double mm);
    int PixFromRight(double mm);
    int PixFromTop(double mm);
    int PixFromBottom(double mm);

    // The geometry of the fallback A4 sheet at 300 dpi.
    static TPrinterCaps FallbackCaps();

private:
    struct Geometry {
        int PhysicalWidth = 0, PhysicalHeight = 0;
        int PageWidth = 0, PageHeight = 0;
        int OffsetLeft = 0, OffsetTop = 0, OffsetRight = 0, OffsetBottom = 0;
        int DpiX = 0, DpiY = 0;
        double PixPerMMX = 0, PixPerMMY = 0;
    };
    const Geometry& Get();
    void Fill(const TPrinterCaps& caps);

    const Printer* printer_ = nullptr;
    Geometry geometry_;
    bool valid_ = false;
};

}  // namespace ostrel
