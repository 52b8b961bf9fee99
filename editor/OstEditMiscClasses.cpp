#include "editor/OstEditMiscClasses.h"

#include <algorithm>

namespace ostrel {

namespace {

// Stores a new value and tells the listener when it differs.
template <typename T>
void ChangeField(T& field, T value, const TOstChangeEvent& onChange)
{
    if (field == value)
        return;
    field = std::move(value);
    onChange();
}

int DecimalDigits(int value)
{
    int digits = 1;
    for (; value >= 10; value /= 10)
        ++digits;
    return digits;
}

}  // namespace

TOstImageList InternalBookmarkImages()
{
    return {"OstEditInternalImages", 10, 11, 14};
}

TOstImageList WrappedRowImages()
{
    return {"OstEditWrapped", 1, 9, 11};
}

// ---- glyph ---------------------------------------------------------------------------

TOstGlyph::TOstGlyph(TOstImageList images, TColor maskColor) : images_(std::move(images)), maskColor_(maskColor) {}

void TOstGlyph::SetVisible(bool value) { ChangeField(visible_, value, OnChange); }
void TOstGlyph::SetMaskColor(TColor value) { ChangeField(maskColor_, value, OnChange); }

void TOstGlyph::Draw(Canvas& canvas, int x, int y) const
{
    if (visible_)
        canvas.DrawImage(images_.Name, 0, x, y, maskColor_);
}

// ---- gutter ---------------------------------------------------------------------------

TOstGutter::TOstGutter()
{
    font_.Name = "Courier New";
    font_.SetSize(8);
}

TOstGutter TOstGutter::TemplateGutter()
{
    TOstGutter gutter;
    gutter.visible_ = false;
    gutter.leftOffset_ = 0;
    gutter.font_.Name = "Terminal";
    gutter.font_.Height = -11;
    return gutter;
}

TOstGutter& TOstGutter::operator=(const TOstGutter& source)
{
    TOstGutterValues::operator=(source);
    OnChange();
    return *this;
}

void TOstGutter::SetVisible(bool value) { ChangeField(visible_, value, OnChange); }
void TOstGutter::SetWidth(int value) { ChangeField(width_, std::max(value, 0), OnChange); }
void TOstGutter::SetShowLineNumbers(bool value) { ChangeField(showLineNumbers_, value, OnChange); }
void TOstGutter::SetAutoSize(bool value) { ChangeField(autoSize_, value, OnChange); }
void TOstGutter::SetDigitCount(int value) { ChangeField(digitCount_, std::clamp(value, 2, 12), OnChange); }
void TOstGutter::SetLeadingZeros(bool value) { ChangeField(leadingZeros_, value, OnChange); }
void TOstGutter::SetZeroStart(bool value) { ChangeField(zeroStart_, value, OnChange); }
void TOstGutter::SetLeftOffset(int value) { ChangeField(leftOffset_, std::max(value, 0), OnChange); }
void TOstGutter::SetRightOffset(int value) { ChangeField(rightOffset_, std::max(value, 0), OnChange); }
void TOstGutter::SetFont(const TOstFont& value) { ChangeField(font_, value, OnChange); }
void TOstGutter::SetUseFontStyle(bool value) { ChangeField(useFontStyle_, value, OnChange); }
void TOstGutter::SetColor(TColor value) { ChangeField(color_, value, OnChange); }
void TOstGutter::SetBorderStyle(TOstGutterBorderStyle value) { ChangeField(borderStyle_, value, OnChange); }

int TOstGutter::DigitCountFor(int lineCount) const
{
    if (!(visible_ && autoSize_ && showLineNumbers_))
        return digitCount_;
    const int lastNumber = std::max(lineCount, 1) - (zeroStart_ ? 1 : 0);
    return std::max(DecimalDigits(lastNumber), digitCount_);
}

int TOstGutter::RealGutterWidth(int charWidth, int lineCount) const
{
    if (!visible_)
        return 0;
    if (showLineNumbers_)
        return leftOffset_ + rightOffset_ + charWidth * DigitCountFor(lineCount) + 2;
    return width_;
}

std::string TOstGutter::FormatLineNumber(int line, int digitCount) const
{
    std::string text = std::to_string(zeroStart_ ? line - 1 : line);
    if (static_cast<int>(text.size()) < digitCount)
        text.insert(0, static_cast<size_t>(digitCount) - text.size(), leadingZeros_ ? '0' : ' ');
    return text;
}

// ---- bookmark options ----------------------------------------------------------------------

void TOstBookMarkOpt::SetBookmarkImages(std::optional<TOstImageList> value)
{
    ChangeField(bookmarkImages_, std::move(value), OnChange);
}
void TOstBookMarkOpt::SetDrawBookmarksFirst(bool value) { ChangeField(drawBookmarksFirst_, value, OnChange); }
void TOstBookMarkOpt::SetGlyphsVisible(bool value) { ChangeField(glyphsVisible_, value, OnChange); }
void TOstBookMarkOpt::SetLeftMargin(int value) { ChangeField(leftMargin_, value, OnChange); }
void TOstBookMarkOpt::SetXOffset(int value) { ChangeField(xOffset_, value, OnChange); }

}  // namespace ostrel
