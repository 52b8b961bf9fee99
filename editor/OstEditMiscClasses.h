#pragma once
// Settings objects of the editor control: the gutter, the bookmark options,
// the image lists the gutter draws its marks from and the glyph on
// continuation rows. Each keeps its values and tells its control about
// changes through OnChange; copying one copies the values, never who
// listens.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "platform/Canvas.h"

namespace ostrel {

// A change notification that stays with its object when the object's values
// are copied: the copy belongs to whoever listens to it next.
class TOstChangeEvent {
public:
    TOstChangeEvent() = default;
    TOstChangeEvent(const TOstChangeEvent&) {}
    TOstChangeEvent& operator=(const TOstChangeEvent&) { return *this; }
    void Set(std::function<void()> handler) { handler_ = std::move(handler); }
    void operator()() const
    {
        if (handler_)
            handler_();
    }

private:
    std::function<void()> handler_;
};

// A list of pictures of equal size in the program's resources, drawn by
// index through Canvas::DrawImage.
struct TOstImageList {
    std::string Name;
    int Count = 0;
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TOstImageList&, const TOstImageList&) = default;
};

// The built-in bookmark pictures, one per bookmark number 0..9, and the
// glyph of continuation rows. The host draws them at these sizes.
TOstImageList InternalBookmarkImages();
TOstImageList WrappedRowImages();

// A picture drawn over what is below it; MaskColor is the colour the
// picture leaves transparent.
class TOstGlyph {
public:
    explicit TOstGlyph(TOstImageList images, TColor maskColor = clNone);

    const TOstImageList& Images() const { return images_; }
    int Width() const { return images_.Width; }
    int Height() const { return images_.Height; }
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    TColor MaskColor() const { return maskColor_; }
    void SetMaskColor(TColor value);
    void Draw(Canvas& canvas, int x, int y) const;

    TOstChangeEvent OnChange;

private:
    TOstImageList images_;
    bool visible_ = true;
    TColor maskColor_ = clNone;
};

enum TOstGutterBorderStyle : uint8_t { gbsNone, gbsMiddle, gbsRight };

// The values of a gutter, apart from its listener.
struct TOstGutterValues {
    bool visible_ = true;
    int width_ = 30;
    bool showLineNumbers_ = false;
    bool autoSize_ = false;
    int digitCount_ = 4;
    bool leadingZeros_ = false;
    bool zeroStart_ = false;
    int leftOffset_ = 16;
    int rightOffset_ = 2;
    TOstFont font_;
    bool useFontStyle_ = true;
    TColor color_ = clBtnFace;
    TOstGutterBorderStyle borderStyle_ = gbsMiddle;
};

class TOstGutter : private TOstGutterValues {
public:
    TOstGutter();
    // A copy has the values and no listener.
    TOstGutter(const TOstGutter&) = default;
    // Assigning takes the values and tells this gutter's listener.
    TOstGutter& operator=(const TOstGutter& source);
    void Assign(const TOstGutter& source) { *this = source; }
    // The gutter of the main window's template editor: hidden, numbered in a
    // small terminal font flush with the left edge.
    static TOstGutter TemplateGutter();

    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    // The width without line numbers; never negative.
    int Width() const { return width_; }
    void SetWidth(int value);
    bool ShowLineNumbers() const { return showLineNumbers_; }
    void SetShowLineNumbers(bool value);
    // With line numbers, grow the digits with the line count.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    // The fewest digits the numbers take room for; 2..12.
    int DigitCount() const { return digitCount_; }
    void SetDigitCount(int value);
    bool LeadingZeros() const { return leadingZeros_; }
    void SetLeadingZeros(bool value);
    // Number the lines from 0.
    bool ZeroStart() const { return zeroStart_; }
    void SetZeroStart(bool value);
    int LeftOffset() const { return leftOffset_; }
    void SetLeftOffset(int value);
    int RightOffset() const { return rightOffset_; }
    void SetRightOffset(int value);
    const TOstFont& Font() const { return font_; }
    void SetFont(const TOstFont& value);
    // Numbers in Font; otherwise in the editor's font, normal style.
    bool UseFontStyle() const { return useFontStyle_; }
    void SetUseFontStyle(bool value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TOstGutterBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TOstGutterBorderStyle value);

    // The digits the numbers of a buffer of lineCount lines take room for.
    int DigitCountFor(int lineCount) const;
    // The width in pixels with the editor's character width: 0 when hidden.
    int RealGutterWidth(int charWidth, int lineCount) const;
    // The shown number of a line (from 1), padded to the digit count.
    std::string FormatLineNumber(int line, int digitCount) const;

    // Fired by every change of a value; the control recomputes its gutter
    // width and repaints the gutter.
    TOstChangeEvent OnChange;
};

// How bookmarks and other marks show in the gutter, and whether the
// bookmark keys work.
class TOstBookMarkOpt {
public:
    // Pictures of marks; none means the built-in bookmark pictures.
    const std::optional<TOstImageList>& BookmarkImages() const { return bookmarkImages_; }
    void SetBookmarkImages(std::optional<TOstImageList> value);
    // Bookmarks are drawn before the other marks of a line.
    bool DrawBookmarksFirst() const { return drawBookmarksFirst_; }
    void SetDrawBookmarksFirst(bool value);
    bool EnableKeys() const { return enableKeys_; }
    void SetEnableKeys(bool value) { enableKeys_ = value; }
    bool GlyphsVisible() const { return glyphsVisible_; }
    void SetGlyphsVisible(bool value);
    int LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(int value);
    // The distance between the marks of one line.
    int XOffset() const { return xOffset_; }
    void SetXOffset(int value);

    TOstChangeEvent OnChange;

private:
    std::optional<TOstImageList> bookmarkImages_;
    bool drawBookmarksFirst_ = true;
    bool enableKeys_ = true;
    bool glyphsVisible_ = true;
    int leftMargin_ = 2;
    int xOffset_ = 12;
};

}  // namespace ostrel
