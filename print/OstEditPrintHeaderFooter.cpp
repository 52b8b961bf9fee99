#include "print/OstEditPrintHeaderFooter.h"

#include <algorithm>
#include <ctime>

#include "print/OstEditPrintMargins.h"

namespace ostrel {

namespace {

bool IsBlank(const std::string& text)
{
    return text.find_first_not_of(" \t\r\n\f\v") == std::string::npos;
}

std::string UpperAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

std::string FormatTime(std::chrono::system_clock::time_point when, const char* format)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    const std::tm* local = std::localtime(&seconds);
    char buffer[128] = {};
    if (!local || std::strftime(buffer, sizeof buffer, format, local) == 0)
        return {};
    return buffer;
}

struct MacroValues {
    std::string pageNumber, pageCount, title, time, date;
};

// The value of the macro `name` (upper case, dollar signs included), or
// false when it is none.
bool MacroValue(const std::string& name, const MacroValues& values, std::string& value)
{
    if (name == "$PAGENUM$")
        value = values.pageNumber;
    else if (name == "$PAGECOUNT$")
        value = values.pageCount;
    else if (name == "$TITLE$")
        value = values.title;
    else if (name == "$DATE$")
        value = values.date;
    else if (name == "$TIME$")
        value = values.time;
    else if (name == "$DATETIME$")
        value = values.date + " " + values.time;
    else if (name == "$TIMEDATE$")
        value = values.time + " " + values.date;
    else
        return false;
    return true;
}

}  // namespace

// ---- item --------------------------------------------------------------------------

std::string THeaderFooterItem::ExpandText(int pageCount, int pageNumber, bool roman,
                                          const std::string& title, const std::string& time,
                                          const std::string& date) const
{
    if (IsBlank(Text))
        return {};
    const auto number = [roman](int n) { return roman ? ToRomanNumeral(n) : std::to_string(n); };
    const MacroValues values{number(pageNumber), number(pageCount), title, time, date};

    std::string result;
    size_t start = 0;
    size_t run = 0;
    while (run < Text.size()) {
        if (Text[run] != '$') {
            ++run;
            continue;
        }
        // A "$" may open a macro; each later "$" may close it, and when it
        // does not, it may open the next one.
        result.append(Text, start, run - start);
        start = run;
        for (++run; run < Text.size(); ++run) {
            if (Text[run] != '$')
                continue;
            std::string value;
            if (MacroValue(UpperAscii(Text.substr(start, run - start + 1)), values, value)) {
                result += value;
                start = ++run;
                break;
            }
            result.append(Text, start, run - start);
            start = run;
        }
    }
    result.append(Text, start);
    return result;
}

// ---- header and footer -------------------------------------------------------------

THeaderFooter::THeaderFooter(THeaderFooterType type) : type_(type) {}

int THeaderFooter::Add(const std::string& text, const TOstFont* font, TAlignment alignment,
                       int lineNumber)
{
    THeaderFooterItem item;
    item.Text = text;
    item.Font = font ? *font : DefaultFont;
    item.LineNumber = lineNumber;
    item.Alignment = alignment;
    item.Index = Count();
    items_.push_back(std::move(item));
    return items_.back().Index;
}

void THeaderFooter::Assign(const THeaderFooter& other)
{
    if (&other == this)
        return;
    Clear();
    type_ = other.type_;
    FrameTypes = other.FrameTypes;
    ShadedColor = other.ShadedColor;
    LineColor = other.LineColor;
    for (const THeaderFooterItem& item : other.items_)
        Add(item.Text, &item.Font, item.Alignment, item.LineNumber);
    DefaultFont = other.DefaultFont;
    RomanNumbers = other.RomanNumbers;
    MirrorPosition = other.MirrorPosition;
}

void THeaderFooter::StartJob(Canvas& canvas, int pageCount, const std::string& title,
                             const TOstEditPrintMargins& margins,
                             std::chrono::system_clock::time_point now)
{
    canvas.Save();
    date_ = FormatTime(now, "%x");
    time_ = FormatTime(now, "%X");
    pageCount_ = pageCount;
    margins_ = &margins;
    title_ = title;
    SortAndRenumberLines();
    Measure(canvas);
    canvas.Restore();
}

void THeaderFooter::SortAndRenumberLines()
{
    std::stable_sort(items_.begin(), items_.end(),
                     [](const THeaderFooterItem& a, const THeaderFooterItem& b) {
                         return a.LineNumber < b.LineNumber;
                     });
    lineInfos_.clear();
    int previous = 0;
    for (THeaderFooterItem& item : items_) {
        if (lineInfos_.empty() || item.LineNumber != previous) {
            previous = item.LineNumber;
            lineInfos_.push_back({});
        }
        item.LineNumber = LineCount();
    }
}

void THeaderFooter::Measure(Canvas& canvas)
{
    if (items_.empty()) {
        frameHeight_ = -1;
        return;
    }
    frameHeight_ = 0;
    int lineOffset = 0;
    int currentLine = 0;
    for (const THeaderFooterItem& item : items_) {
        if (item.LineNumber != currentLine) {
            lineOffset = frameHeight_;
            currentLine = item.LineNumber;
        }
        canvas.SelectFont(item.Font, item.Font.Style);
        const TFontMetrics metrics = canvas.MeasureFont();
        TLineInfo& line = lineInfos_[static_cast<size_t>(currentLine - 1)];
        line.LineHeight = std::max(line.LineHeight, metrics.Height);
        line.MaxBaseLine = std::max(line.MaxBaseLine, metrics.Ascent);
        frameHeight_ = std::max(frameHeight_, lineOffset + metrics.Height);
    }
    frameHeight_ += 2 * margins_->PixHFInternalMargin;
}

void THeaderFooter::DrawFrame(Canvas& canvas) const
{
    if (FrameTypes == 0)
        return;
    const TOstEditPrintMargins& m = *margins_;
    const bool header = type_ == THeaderFooterType::hftHeader;
    const TRect band = header ? TRect{m.PixLeft, m.PixHeader - frameHeight_, m.PixRight, m.PixHeader}
                              : TRect{m.PixLeft, m.PixFooter, m.PixRight, m.PixFooter + frameHeight_};
    if (FrameTypes & ftShaded)
        canvas.FillRect(band, ShadedColor);
    if (FrameTypes & ftBox) {
        canvas.DrawLine(band.Left, band.Top, band.Right, band.Top, LineColor);
        canvas.DrawLine(band.Left, band.Bottom - 1, band.Right, band.Bottom - 1, LineColor);
        canvas.DrawLine(band.Left, band.Top, band.Left, band.Bottom, LineColor);
        canvas.DrawLine(band.Right - 1, band.Top, band.Right - 1, band.Bottom, LineColor);
    }
    if (FrameTypes & ftLine) {
        const int y = header ? m.PixHeader : m.PixFooter;
        canvas.DrawLine(m.PixLeft, y, m.PixRight, y, LineColor);
    }
}

int THeaderFooter::ItemLeft(Canvas& canvas, const THeaderFooterItem& item, const std::string& text,
                            int pageNumber) const
{
    TAlignment alignment = item.Alignment;
    if (MirrorPosition && pageNumber % 2 == 0) {
        if (alignment == taLeftJustify)
            alignment = taRightJustify;
        else if (alignment == taRightJustify)
            alignment = taLeftJustify;
    }
    const int left = margins_->PixLeftHFTextIndent;
    const int right = margins_->PixRightHFTextIndent;
    switch (alignment) {
    case taRightJustify:
        return right - canvas.TextWidth(text);
    case taCenter:
        return (left + right - canvas.TextWidth(text)) / 2;
    case taLeftJustify:
        break;
    }
    return left;
}

void THeaderFooter::DrawBand(Canvas& canvas, int pageNumber) const
{
    if (frameHeight_ <= 0 || !margins_)
        return;
    canvas.Save();
    DrawFrame(canvas);
    const TOstEditPrintMargins& m = *margins_;
    int top = type_ == THeaderFooterType::hftHeader ? m.PixHeader - frameHeight_ + m.PixHFInternalMargin
                                                   : m.PixFooter + m.PixHFInternalMargin;
    int currentLine = 1;
    for (const THeaderFooterItem& item : items_) {
        canvas.SelectFont(item.Font, item.Font.Style);
        canvas.SetTextColor(item.Font.Color);
        if (item.LineNumber != currentLine) {
            top += LineInfo(currentLine).LineHeight;
            currentLine = item.LineNumber;
        }
        const std::string text =
            item.ExpandText(pageCount_, pageNumber, RomanNumbers, title_, time_, date_);
        const int x = ItemLeft(canvas, item, text, pageNumber);
        canvas.TextOutBaseline(x, top + LineInfo(currentLine).MaxBaseLine, text);
    }
    canvas.Restore();
}

}  // namespace ostrel
