#pragma once
// The print job: a copy of a document's lines with the editor's font, tab
// width, highlighter and selection, laid out on printer pages between the
// margins, long lines broken into rows, numbered if asked, with the header
// and the footer on every page. Pages go to the printer, or one at a time to
// any canvas: the preview draws them through the same operations.
//
// All lengths are printer pixels of the printer's geometry (the A4 300 dpi
// sheet without a printer); fonts are realised at the printer's resolution
// whatever the canvas. A canvas that shows a page smaller (a preview) scales
// its device mapping, not the job's coordinates.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/OstEditTypes.h"
#include "editor/OstLineCells.h"
#include "editor/OstTextDrawer.h"
#include "highlighters/OstLineStateScanner.h"
#include "platform/Canvas.h"
#include "platform/TextEncoding.h"
#include "print/OstEditPrintHeaderFooter.h"
#include "print/OstEditPrintMargins.h"
#include "print/OstEditPrinterInfo.h"

namespace ostrel {

class Printer;
class TCustomOstEdit;
class TOstCustomHighlighter;
class TOstHighlighterAttributes;
class TOstEditStringList;

enum TOstPrintStatus { psJobBegin = 0, psPageBegin = 1, psJobEnd = 2 };

// Where a page starts: its first source line (from 0) and, when a wrapped
// line too long for the page before goes on here, the first row of it.
struct TPageLine {
    int FirstLine = 0;
    int FirstRow = 0;
    friend bool operator==(const TPageLine&, const TPageLine&) = default;
};

class TOstEditPrint;

// After each printed source line: its number (from 1) and the page's.
using TPrintLineEvent = std::function<void(TOstEditPrint& sender, int lineNumber, int pageNumber)>;
// At job start, at each page and at job end; setting abort stops the job.
using TPrintStatusEvent =
    std::function<void(TOstEditPrint& sender, TOstPrintStatus status, int pageNumber, bool& abort)>;

class TOstEditPrint {
public:
    // The printer is not owned; none means the fallback sheet for layout and
    // no printing.
    explicit TOstEditPrint(Printer* printer = nullptr);
    virtual ~TOstEditPrint();
    TOstEditPrint(const TOstEditPrint&) = delete;
    TOstEditPrint& operator=(const TOstEditPrint&) = delete;

    Printer* GetPrinter() const { return printer_; }
    void SetPrinter(Printer* printer);
    TOstEditPrinterInfo& PrinterInfo() { return printerInfo_; }

    // ---- settings -------------------------------------------------------------------
    int Copies() const { return copies_; }
    void SetCopies(int copies);
    THeader& Header() { return header_; }
    const THeader& Header() const { return header_; }
    void SetHeader(const THeaderFooter& header) { header_.Assign(header); }
    TFooter& Footer() { return footer_; }
    const TFooter& Footer() const { return footer_; }
    void SetFooter(const THeaderFooter& footer) { footer_.Assign(footer); }
    TOstEditPrintMargins& Margins() { return margins_; }
    const TOstEditPrintMargins& Margins() const { return margins_; }
    void SetMargins(const TOstEditPrintMargins& margins) { margins_.Assign(margins); }

    // The job's own copy of the text: tabs expanded at TabWidth, no tab left.
    const std::vector<std::string>& Lines() const { return lines_; }
    void SetLines(const std::vector<std::string>& lines);
    void SetLines(const TOstEditStringList& lines);
    const TOstFont& Font() const { return font_; }
    void SetFont(const TOstFont& font);
    TOstCustomHighlighter* Highlighter() const { return highlighter_; }
    // Not owned; it must outlive the job or be replaced first.
    void SetHighlighter(TOstCustomHighlighter* highlighter);
    // Used when lines are set; setting it later does not convert them again.
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int width) { tabWidth_ = width; }

    std::string Title;     // the $TITLE$ macro; the spool name without DocTitle
    std::string DocTitle;  // the document's name in the print queue
    bool Wrap = true;
    bool Highlight = true;      // font styles of the highlighter
    bool SelectedOnly = false;  // only the selection taken from the editor
    bool Colors = false;        // the highlighter's colours too
    bool LineNumbers = false;
    bool LineNumbersInMargin = false;
    int LineOffset = 0;  // added to every printed line number
    int PageOffset = 0;  // added to the page number header and footer show
    TColor Color = clWhite;  // background of the body

    TPrintLineEvent OnPrintLine;
    TPrintStatusEvent OnPrintStatus;

    // ---- the document -----------------------------------------------------------
    // Highlighter, font, tab width, lines and selection of the editor. Later
    // edits reach the job only with the next call.
    void TakeFromEditor(const TCustomOstEdit& editor);
    // A selection in the job's text (columns of the expanded lines, both
    // ends from 1); the editor's comes with TakeFromEditor.
    void SetSelection(TBufferCoord begin, TBufferCoord end, TOstSelectionMode mode);
    void ClearSelection();
    bool HasSelection() const { return selAvail_; }

    // ---- layout and drawing ------------------------------------------------------
    // Lays the pages out with the canvas's measures; PageCount is known after.
    void LayoutPages(Canvas& canvas);
    // The canvas PageCount lays pages out on when they are not counted yet;
    // not owned. Without one, uncounted pages count 0.
    void SetMeasureCanvas(Canvas* canvas) { measureCanvas_ = canvas; }
    int PageCount();
    // Draws page `pageNumber` (from 1) of the last layout on the canvas;
    // false for a page the layout does not have.
    bool RenderPage(Canvas& canvas, int pageNumber);

    // Prints pages first to last (last -1: to the end) Copies times, collated.
    void PrintPages(int first, int last);
    void PrintAll() { PrintPages(1, -1); }
    bool Aborted() const { return abort_; }

    // Measures of the last layout, in printer pixels.
    const std::vector<TPageLine>& Pages() const { return pages_; }
    int CharWidth() const { return charWidth_; }
    int LineHeight() const { return lineHeight_; }
    int MaxWidth() const { return maxWidth_; }
    int MaxCol() const { return maxCol_; }

protected:
    virtual void PrintStatus(TOstPrintStatus status, int pageNumber, bool& abort);
    virtual void PrintLine(int lineNumber, int pageNumber);

private:
    // The rows of one line that a page shows: [first, end), the first at top.
    struct PageRows {
        int first = 0;
        int end = 0;
        int top = 0;
    };

    void StartJob(Canvas& canvas);
    void RealiseFonts();
    void MeasureCells(Canvas& canvas);
    void LayoutMargins(Canvas& canvas, int pageNumber);
    void ScanLineStates();
    void CountPages();
    // A printed text laid out in cells.
    TOstLineCells CellsOf(std::string text) const;
    // The bytes where the rows of a printed text start (the first at 0):
    // rows of at most MaxCol cells, a character never split.
    std::vector<int> RowStarts(const TOstLineCells& cells) const;
    int RowEnd(const std::vector<int>& starts, size_t row, const TOstLineCells& cells) const;
    bool FireStatus(TOstPrintStatus status, int pageNumber);
    void PrintCopies(Printer& printer, int first, int last);

    void DrawPage(Canvas& canvas, int pageNumber);
    void DrawBody(int pageNumber);
    void DrawLineNumber(int line, int y);
    void WriteLine(int line, int start, const TOstLineCells& cells, const std::vector<int>& rows,
                   const PageRows& span);
    // How a run of text is drawn: font style, text and cell colours.
    struct RunLook {
        TFontStyles style = 0;
        TColor fore = clBlack;
        TColor back = clWhite;
        friend bool operator==(const RunLook&, const RunLook&) = default;
    };
    RunLook LookOf(const TOstHighlighterAttributes* attr) const;
    void SetRunLook(const RunLook& look);
    void DrawRun(const TOstLineCells& cells, int from, int to, const std::vector<int>& rows,
                 const PageRows& span);

    // The source lines (from 0) the job prints: all, or the selection's.
    int FirstPrintedLine() const;
    int LastPrintedLine() const;
    // The part of line `line` that is printed, and its start in the line.
    std::string PrintedText(int line, int& start) const;
    int MaxLineNumber() const;

    Printer* printer_ = nullptr;
    TOstEditPrinterInfo printerInfo_;
    int copies_ = 1;
    THeader header_;
    TFooter footer_;
    TOstEditPrintMargins margins_;
    std::vector<std::string> lines_;
    TOstEncoding encoding_ = TOstEncoding::Windows1250;  // of the lines' bytes
    TOstTextChars chars_;
    TOstFont font_{"Courier New", -13, 0, clWindowText, 96};
    TOstCustomHighlighter* highlighter_ = nullptr;
    int tabWidth_ = 8;
    Canvas* measureCanvas_ = nullptr;

    // The selection, in the expanded text.
    bool selAvail_ = false;
    TOstSelectionMode selMode_ = smNormal;
    TBufferCoord selBegin_;
    TBufferCoord selEnd_;

    // Job state.
    std::vector<TOstLineState> lineStates_;  // the highlighter's state at each line's end
    bool statesValid_ = false;
    bool pagesCounted_ = false;
    bool printing_ = false;
    bool abort_ = false;
    bool highlighting_ = false;
    std::vector<TPageLine> pages_;
    TOstFont jobFont_;  // Font at the printer's resolution
    TheTextDrawer drawer_;
    THeader jobHeader_;
    TFooter jobFooter_;
    TColor baseColor_ = clBlack;
    int charWidth_ = 0;
    int lineHeight_ = 0;
    int maxWidth_ = 0;
    int maxCol_ = 1;
};

}  // namespace ostrel
