#include "print/OstEditPrint.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "editor/OstEdit.h"
#include "editor/OstEditTextBuffer.h"
#include "highlighters/OstEditHighlighter.h"
#include "platform/Printer.h"

namespace ostrel {

namespace {

// The font a logical font becomes on a device of `dpi` pixels per inch,
// keeping its size in points exactly.
TOstFont AtResolution(TOstFont font, int dpi)
{
    if (font.PixelsPerInch > 0 && dpi > 0 && font.PixelsPerInch != dpi) {
        font.Height = static_cast<int>(std::lround(font.Height * static_cast<double>(dpi) / font.PixelsPerInch));
        font.PixelsPerInch = dpi;
    }
    return font;
}

void RealiseItemFonts(THeaderFooter& band, int dpi)
{
    band.DefaultFont = AtResolution(band.DefaultFont, dpi);
    for (int i = 0; i < band.Count(); ++i)
        band.Item(i).Font = AtResolution(band.Item(i).Font, dpi);
}

}  // namespace

TOstEditPrint::TOstEditPrint(Printer* printer) : printer_(printer), printerInfo_(printer) {}

TOstEditPrint::~TOstEditPrint() = default;

void TOstEditPrint::SetPrinter(Printer* printer)
{
    printer_ = printer;
    printerInfo_.SetPrinter(printer);
    pagesCounted_ = false;
}

void TOstEditPrint::SetCopies(int copies)
{
    copies_ = std::max(1, copies);
}

// ---- the document ----------------------------------------------------------------

void TOstEditPrint::SetLines(const std::vector<std::string>& lines)
{
    TOstEditStringList list;
    list.AddAll(lines);
    SetLines(list);
}

void TOstEditPrint::SetLines(const TOstEditStringList& source)
{
    // Expanded as the editor shows them at the job's tab width; the cells a
    // tab covers print as blanks.
    TOstEditStringList list;
    list.SetTabWidth(tabWidth_);
    list.SetEncoding(source.Encoding());
    list.AddAll(source);
    encoding_ = source.Encoding();
    chars_ = TOstTextChars(encoding_);
    std::vector<std::string> expanded;
    expanded.reserve(static_cast<size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) {
        std::string line = list.ExpandedLine(i);
        std::replace(line.begin(), line.end(), '\t', ' ');
        expanded.push_back(std::move(line));
    }
    lines_ = std::move(expanded);
    statesValid_ = false;
    pagesCounted_ = false;
}

void TOstEditPrint::SetFont(const TOstFont& font)
{
    font_ = font;
    pagesCounted_ = false;
}

void TOstEditPrint::SetHighlighter(TOstCustomHighlighter* highlighter)
{
    highlighter_ = highlighter;
    statesValid_ = false;
    pagesCounted_ = false;
}

void TOstEditPrint::TakeFromEditor(const TCustomOstEdit& editor)
{
    SetHighlighter(editor.Highlighter());
    SetFont(editor.Font());
    SetTabWidth(editor.TabWidth());
    SetLines(editor.Lines());
    ClearSelection();
    if (!editor.SelAvail())
        return;
    // The job's lines have their tabs expanded: the ends become columns.
    TBufferCoord begin = editor.BlockBegin();
    TBufferCoord end = editor.BlockEnd();
    begin.Char = editor.BufferToDisplayPos(begin).Column;
    end.Char = editor.BufferToDisplayPos(end).Column;
    SetSelection(begin, end, editor.ActiveSelectionMode());
}

void TOstEditPrint::SetSelection(TBufferCoord begin, TBufferCoord end, TOstSelectionMode mode)
{
    if (end < begin)
        std::swap(begin, end);
    selAvail_ = true;
    selBegin_ = begin;
    selEnd_ = end;
    selMode_ = mode;
    pagesCounted_ = false;
}

void TOstEditPrint::ClearSelection()
{
    selAvail_ = false;
    pagesCounted_ = false;
}

int TOstEditPrint::FirstPrintedLine() const
{
    if (!SelectedOnly)
        return 0;
    return selAvail_ ? std::max(0, selBegin_.Line - 1) : static_cast<int>(lines_.size());
}

int TOstEditPrint::LastPrintedLine() const
{
    const int last = static_cast<int>(lines_.size()) - 1;
    if (!SelectedOnly)
        return last;
    return selAvail_ ? std::min(last, selEnd_.Line - 1) : -1;
}

// The selection's ends are columns (cells) of the expanded line; a
// character they fall inside is printed whole from its first cell.
std::string TOstEditPrint::PrintedText(int line, int& start) const
{
    const std::string& text = lines_.at(static_cast<size_t>(line));
    start = 0;
    if (!SelectedOnly || !selAvail_ || selMode_ == smLine)
        return text;
    // A column block may have been drawn from right to left: its left edge
    // is the smaller column whichever end it is.
    const bool column = selMode_ == smColumn;
    const int left = column ? std::min(selBegin_.Char, selEnd_.Char) : selBegin_.Char;
    const int right = column ? std::max(selBegin_.Char, selEnd_.Char) : selEnd_.Char;
    const size_t size = text.size();
    const auto byteAt = [&](int column1) {
        const size_t cell = static_cast<size_t>(std::max(column1, 1) - 1);
        return chars_.IsSimple(text) ? cell : chars_.ByteAtColumn(text, static_cast<int>(cell), 1);
    };
    const size_t from = (column || line + 1 == selBegin_.Line) ? byteAt(left) : 0;
    size_t to = (column || line + 1 == selEnd_.Line) ? byteAt(right) : size;
    const size_t begin = std::min(from, size);
    to = std::clamp(to, begin, size);
    start = static_cast<int>(begin);
    return text.substr(begin, to - begin);
}

TOstLineCells TOstEditPrint::CellsOf(std::string text) const
{
    TOstLineCells cells;
    const bool simple = chars_.IsSimple(text);
    cells.Assign(std::move(text), chars_, simple);
    return cells;
}

int TOstEditPrint::MaxLineNumber() const
{
    return LastPrintedLine() + 1 + LineOffset;
}

// ---- job start and pagination ----------------------------------------------------

void TOstEditPrint::LayoutPages(Canvas& canvas)
{
    StartJob(canvas);
}

void TOstEditPrint::StartJob(Canvas& canvas)
{
    printerInfo_.Refresh();
    RealiseFonts();
    canvas.Save();
    MeasureCells(canvas);
    LayoutMargins(canvas, 1);
    if (!statesValid_)
        ScanLineStates();
    CountPages();
    const int pageCount = static_cast<int>(pages_.size());
    jobHeader_.StartJob(canvas, pageCount, Title, margins_);
    jobFooter_.StartJob(canvas, pageCount, Title, margins_);
    canvas.Restore();
    highlighting_ = Highlight && highlighter_ && !lines_.empty();
}

void TOstEditPrint::RealiseFonts()
{
    const int dpi = printerInfo_.DpiY();
    jobFont_ = AtResolution(font_, dpi);
    // On paper a system colour means its classic value, not the colour the
    // desktop's theme gives it: the default text prints black.
    baseColor_ = DefaultColorToRGB(font_.Color);
    jobHeader_.Assign(header_);
    jobFooter_.Assign(footer_);
    RealiseItemFonts(jobHeader_, dpi);
    RealiseItemFonts(jobFooter_, dpi);
    drawer_.SetBaseFont(jobFont_);
    // Each job measures on its own surface: a printer may round glyphs
    // differently from the screen the pages were counted on.
    drawer_.FontStock().Clear();
}

void TOstEditPrint::MeasureCells(Canvas& canvas)
{
    // The cell is that of the widest style, so no style runs out of it.
    const TFontMetrics all = drawer_.FontStock().Metrics(canvas, kFontStyleMask);
    charWidth_ = std::max(1, all.CharWidth);
    lineHeight_ = std::max(1, all.Height);
    drawer_.SetCellWidth(charWidth_);
}

void TOstEditPrint::LayoutMargins(Canvas& canvas, int pageNumber)
{
    // Line numbers are measured and drawn in the plain style of the font.
    drawer_.FontStock().SelectStyle(canvas, 0);
    margins_.LayoutPage(canvas, pageNumber, printerInfo_, LineNumbers, LineNumbersInMargin, MaxLineNumber());
}

void TOstEditPrint::ScanLineStates()
{
    lineStates_.assign(lines_.size(), 0);
    if (highlighter_)
        TOstLineStateScanner(*highlighter_, HoldsUtf8(encoding_))
            .ScanFromTop(
                static_cast<int>(lines_.size()), [this](int i) { return std::string_view(lines_[static_cast<size_t>(i)]); },
                [this](int i, TOstLineState state) { lineStates_[static_cast<size_t>(i)] = state; });
    statesValid_ = true;
}

std::vector<int> TOstEditPrint::RowStarts(const TOstLineCells& cells) const
{
    std::vector<int> starts{0};
    if (!Wrap || cells.Width() <= maxCol_)
        return starts;
    std::vector<TWrapPos> breaks;
    if (cells.Simple()) {
        const std::string& text = cells.Expanded();
        if (!FindWrapBreaks(text, " -\t,", maxCol_, breaks) && !FindWrapBreaks(text, ";).", maxCol_, breaks)) {
            for (int cut = maxCol_; cut < static_cast<int>(text.size()); cut += maxCol_)
                breaks.push_back({cut});
        }
    } else if (!FindCellWrapBreaks(cells, " -\t,", maxCol_, breaks) &&
               !FindCellWrapBreaks(cells, ";).", maxCol_, breaks)) {
        CutCellRows(cells, maxCol_, breaks);
    }
    for (const TWrapPos& b : breaks)
        starts.push_back(b.Index);
    return starts;
}

int TOstEditPrint::RowEnd(const std::vector<int>& starts, size_t row, const TOstLineCells& cells) const
{
    if (row + 1 < starts.size())
        return starts[row + 1];
    // Without wrapping the row ends at the body's right edge.
    const size_t size = cells.Expanded().size();
    return static_cast<int>(Wrap ? size : std::min(size, cells.ByteOfCell(maxCol_)));
}

void TOstEditPrint::CountPages()
{
    maxWidth_ = margins_.PixRight - margins_.PixLeft;
    maxCol_ = std::max(1, (maxWidth_ - 1) / charWidth_);
    maxWidth_ = maxCol_ * charWidth_;

    const int first = FirstPrintedLine();
    const int last = LastPrintedLine();
    pages_.assign(1, TPageLine{std::min(first, std::max(last, 0)), 0});
    int y = margins_.PixTop;
    bool pageHasRows = false;
    for (int i = first; i <= last; ++i) {
        int start = 0;
        const int rows = static_cast<int>(RowStarts(CellsOf(PrintedText(i, start))).size());
        for (int row = 0; row < rows; ++row) {
            // A page takes at least one row, however little room it has;
            // the rows of a line too long for the rest of the page go on the
            // next one.
            if (pageHasRows && y + lineHeight_ > margins_.PixBottom) {
                pages_.push_back({i, row});
                y = margins_.PixTop;
            }
            y += lineHeight_;
            pageHasRows = true;
        }
    }
    pagesCounted_ = true;
}

int TOstEditPrint::PageCount()
{
    if (!pagesCounted_) {
        if (!measureCanvas_)
            return 0;
        LayoutPages(*measureCanvas_);
    }
    return static_cast<int>(pages_.size());
}

// ---- printing --------------------------------------------------------------------

void TOstEditPrint::PrintStatus(TOstPrintStatus status, int pageNumber, bool& abort)
{
    if (OnPrintStatus)
        OnPrintStatus(*this, status, pageNumber, abort);
}

void TOstEditPrint::PrintLine(int lineNumber, int pageNumber)
{
    if (OnPrintLine)
        OnPrintLine(*this, lineNumber, pageNumber);
}

bool TOstEditPrint::FireStatus(TOstPrintStatus status, int pageNumber)
{
    bool abort = false;
    PrintStatus(status, pageNumber, abort);
    if (abort) {
        abort_ = true;
        // Nothing already spooled is printed either.
        if (printing_ && printer_)
            printer_->Abort();
    }
    return !abort_;
}

bool TOstEditPrint::RenderPage(Canvas& canvas, int pageNumber)
{
    abort_ = false;
    printing_ = false;
    if (pageNumber < 1 || pageNumber > static_cast<int>(pages_.size()))
        return false;
    DrawPage(canvas, pageNumber);
    return !abort_;
}

void TOstEditPrint::PrintPages(int first, int last)
{
    if (SelectedOnly && !selAvail_)
        return;
    if (!printer_)
        throw std::runtime_error("No printer to print on");
    Printer& printer = *printer_;
    abort_ = false;
    printer.BeginDoc(DocTitle.empty() ? Title : DocTitle);
    printing_ = true;
    try {
        if (FireStatus(psJobBegin, first)) {
            StartJob(printer.PageCanvas());
            PrintCopies(printer, first, last);
        }
    } catch (...) {
        // A failed job is dropped, not left open on the printer.
        printing_ = false;
        if (printer.Printing())
            printer.Abort();
        throw;
    }
    printing_ = false;
}

void TOstEditPrint::PrintCopies(Printer& printer, int first, int last)
{
    const int count = static_cast<int>(pages_.size());
    if (last < 0 || last > count)
        last = count;
    first = std::max(first, 1);
    for (int copy = 1; copy <= copies_ && !abort_; ++copy) {
        for (int page = first; page <= last && !abort_; ++page) {
            DrawPage(printer.PageCanvas(), page);
            if (!abort_ && !(copy == copies_ && page == last))
                printer.NewPage();
        }
    }
    if (!abort_ && FireStatus(psJobEnd, last)) {
        printing_ = false;
        printer.EndDoc();
    }
}

}  // namespace ostrel
