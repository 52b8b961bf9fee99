#include "print/OstEditPrintMargins.h"

#include <cmath>
#include <string>

#include "platform/Canvas.h"
#include "print/OstEditPrinterInfo.h"

namespace ostrel {

namespace {

int RoundHalfEven(double value)
{
    return static_cast<int>(std::lrint(value));
}

}  // namespace

double TOstEditPrintMargins::MMPerUnit(TUnitSystem unit)
{
    switch (unit) {
    case usCM:
        return 10;
    case usInch:
        return 25.4;
    case muThousandthsOfInches:
        return 25.4 / 1000;
    case usMM:
        break;
    }
    return 1;
}

void TOstEditPrintMargins::Assign(const TOstEditPrintMargins& other)
{
    // Every field is a stored length, a flag or the unit; the pixel fields
    // belong to the page last laid out and are copied along harmlessly.
    *this = other;
}

void TOstEditPrintMargins::LayoutPage(Canvas& canvas, int pageNumber, TOstEditPrinterInfo& printer,
                                      bool lineNumbers, bool lineNumbersInMargin, int maxLineNumber)
{
    const bool mirrored = mirrorMargins_ && pageNumber % 2 == 0;
    const double leftMM = mirrored ? right_ : left_ + gutter_;
    const double rightMM = mirrored ? left_ + gutter_ : right_;
    PixLeft = printer.PixFromLeft(leftMM);
    PixRight = printer.PageWidth() - printer.PixFromRight(rightMM);
    if (lineNumbers && !lineNumbersInMargin)
        PixLeft += canvas.TextWidth(std::to_string(maxLineNumber) + ": ");

    PixTop = printer.PixFromTop(top_);
    PixBottom = printer.PageHeight() - printer.PixFromBottom(bottom_);
    PixHeader = printer.PixFromTop(header_);
    PixFooter = printer.PageHeight() - printer.PixFromBottom(footer_);

    PixHFInternalMargin = RoundHalfEven(printer.PixPerMMY() * hfInternalMargin_);
    PixGutter = RoundHalfEven(printer.PixPerMMX() * gutter_);
    PixRightHFTextIndent = PixRight - RoundHalfEven(printer.PixPerMMX() * rightHFTextIndent_);
    PixLeftHFTextIndent = PixLeft + RoundHalfEven(printer.PixPerMMX() * leftHFTextIndent_);
}

}  // namespace ostrel
