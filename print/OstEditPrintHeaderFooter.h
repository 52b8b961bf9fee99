#pragma once
// The header and footer of printed pages: lines of items, each with its own
// font and alignment and with macros for the page number, the page count,
// the title, the date and the time; a line, a box or a shaded band around
// them. StartJob fixes what stays the same on every page of a job and
// measures the band; DrawBand draws it on one page.

#include <chrono>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "print/OstEditPrintTypes.h"

namespace ostrel {

class TOstEditPrintMargins;

class THeaderFooterItem {
public:
    std::string Text;
    TOstFont Font;
    int LineNumber = 1;
    TAlignment Alignment = taLeftJustify;
    int Index = 0;

    // The text with its macros replaced; blank text gives nothing.
    std::string ExpandText(int pageCount, int pageNumber, bool roman, const std::string& title,
                           const std::string& time, const std::string& date) const;
};

struct TLineInfo {
    int LineHeight = 0;
    int MaxBaseLine = 0;
};

enum class THeaderFooterType { hftHeader, hftFooter };

class THeaderFooter {
public:
    explicit THeaderFooter(THeaderFooterType type);
    virtual ~THeaderFooter() = default;

    THeaderFooterType Type() const { return type_; }

    TFrameTypes FrameTypes = ftLine;
    TColor ShadedColor = clSilver;
    TColor LineColor = clBlack;
    TOstFont DefaultFont{"Arial", -13, 0, clBlack, 96};
    bool RomanNumbers = false;
    bool MirrorPosition = false;

    // Appends an item with a copy of `font`, or of DefaultFont when none is
    // given; returns its index.
    int Add(const std::string& text, const TOstFont* font, TAlignment alignment, int lineNumber);
    void Clear() { items_.clear(); }
    int Count() const { return static_cast<int>(items_.size()); }
    THeaderFooterItem& Item(int index) { return items_.at(static_cast<size_t>(index)); }
    const THeaderFooterItem& Item(int index) const { return items_.at(static_cast<size_t>(index)); }

    void Assign(const THeaderFooter& other);

    // Sorts the items by line and numbers the lines 1, 2, 3 ... without
    // gaps, as a job start does; the page setup window edits them so.
    void SortAndRenumberLines();

    // Fixes the date, time, title and page count of the job, sorts and
    // renumbers the lines and measures the band on the canvas. The margins
    // stay referenced until the next job starts.
    void StartJob(Canvas& canvas, int pageCount, const std::string& title,
                  const TOstEditPrintMargins& margins,
                  std::chrono::system_clock::time_point now = std::chrono::system_clock::now());
    // Draws the band of page `pageNumber` with the margins laid out for it.
    void DrawBand(Canvas& canvas, int pageNumber) const;

    // Height of the band in pixels, -1 when it has no items.
    int FrameHeight() const { return frameHeight_; }
    int LineCount() const { return static_cast<int>(lineInfos_.size()); }
    const TLineInfo& LineInfo(int line) const { return lineInfos_.at(static_cast<size_t>(line - 1)); }
    const std::string& Date() const { return date_; }
    const std::string& Time() const { return time_; }

private:
    void Measure(Canvas& canvas);
    void DrawFrame(Canvas& canvas) const;
    int ItemLeft(Canvas& canvas, const THeaderFooterItem& item, const std::string& text,
                 int pageNumber) const;

    THeaderFooterType type_;
    std::vector<THeaderFooterItem> items_;
    std::vector<TLineInfo> lineInfos_;
    std::string date_;
    std::string time_;
    std::string title_;
    int pageCount_ = 0;
    const TOstEditPrintMargins* margins_ = nullptr;
    int frameHeight_ = -1;
};

class THeader : public THeaderFooter {
public:
    THeader() : THeaderFooter(THeaderFooterType::hftHeader) {}
};

class TFooter : public THeaderFooter {
public:
    TFooter() : THeaderFooter(THeaderFooterType::hftFooter) {}
};

}  // namespace ostrel
