#pragma once
// The margins of a printed page. The lengths are kept in millimetres and read
// and written in the chosen unit, so changing the unit keeps the margins;
// LayoutPage turns them into the pixel positions of one page.

#include "print/OstEditPrintTypes.h"

namespace ostrel {

class Canvas;
class TOstEditPrinterInfo;

class TOstEditPrintMargins {
public:
    TUnitSystem UnitSystem() const { return unitSystem_; }
    void SetUnitSystem(TUnitSystem unit) { unitSystem_ = unit; }

    double Left() const { return FromMM(left_); }
    double Right() const { return FromMM(right_); }
    double Top() const { return FromMM(top_); }
    double Bottom() const { return FromMM(bottom_); }
    double Header() const { return FromMM(header_); }
    double Footer() const { return FromMM(footer_); }
    double LeftHFTextIndent() const { return FromMM(leftHFTextIndent_); }
    double RightHFTextIndent() const { return FromMM(rightHFTextIndent_); }
    double HFInternalMargin() const { return FromMM(hfInternalMargin_); }
    double Gutter() const { return FromMM(gutter_); }
    bool MirrorMargins() const { return mirrorMargins_; }

    void SetLeft(double value) { left_ = ToMM(value); }
    void SetRight(double value) { right_ = ToMM(value); }
    void SetTop(double value) { top_ = ToMM(value); }
    void SetBottom(double value) { bottom_ = ToMM(value); }
    void SetHeader(double value) { header_ = ToMM(value); }
    void SetFooter(double value) { footer_ = ToMM(value); }
    void SetLeftHFTextIndent(double value) { leftHFTextIndent_ = ToMM(value); }
    void SetRightHFTextIndent(double value) { rightHFTextIndent_ = ToMM(value); }
    void SetHFInternalMargin(double value) { hfInternalMargin_ = ToMM(value); }
    void SetGutter(double value) { gutter_ = ToMM(value); }
    void SetMirrorMargins(bool value) { mirrorMargins_ = value; }

    // Copies the lengths, the mirroring and the unit.
    void Assign(const TOstEditPrintMargins& other);

    // Computes the pixel positions of page `pageNumber`. With line numbers
    // printed beside the text (not in the margin) the body moves right by
    // the width of the largest one and ": " in the canvas's current font.
    void LayoutPage(Canvas& canvas, int pageNumber, TOstEditPrinterInfo& printer,
                    bool lineNumbers, bool lineNumbersInMargin, int maxLineNumber);

    // Millimetres in one unit of the system.
    static double MMPerUnit(TUnitSystem unit);

    // Printer pixels of the page last laid out, from the top left of the
    // printable area.
    int PixLeft = 0;
    int PixRight = 0;
    int PixTop = 0;
    int PixBottom = 0;
    int PixHeader = 0;  // bottom edge of the header band
    int PixFooter = 0;  // top edge of the footer band
    int PixLeftHFTextIndent = 0;
    int PixRightHFTextIndent = 0;
    int PixHFInternalMargin = 0;
    int PixGutter = 0;

private:
    double ToMM(double value) const { return value * MMPerUnit(unitSystem_); }
    double FromMM(double mm) const { return mm / MMPerUnit(unitSystem_); }

    TUnitSystem unitSystem_ = usMM;
    double left_ = 25;
    double right_ = 15;
    double top_ = 25;
    double bottom_ = 25;
    double header_ = 15;
    double footer_ = 15;
    double leftHFTextIndent_ = 2;
    double rightHFTextIndent_ = 2;
    double hfInternalMargin_ = 0.5;
    double gutter_ = 0;
    bool mirrorMargins_ = false;
};

}  // namespace ostrel
