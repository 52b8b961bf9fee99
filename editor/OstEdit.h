#pragma once
// The editor control of every document tab: the buffer with its caret and
// selection, the editing primitive that replaces the selection with text, the
// undo and redo lists, word boundaries, indentation rules, the clipboard and
// the change notifications. It runs headless; a TOstEditHost shows it.
//
// The implementation is split by concern: OstEdit.cpp (life cycle, options,
// notifications), OstEditCaret.cpp (coordinates, caret, scrolling),
// OstEditSelection.cpp (selection and the editing primitive),
// OstEditWords.cpp (word boundaries, indentation), OstEditClipboard.cpp,
// OstEditUndoRedo.cpp (undo and redo of recorded items), OstEditMouse.cpp,
// OstEditScrollBars.cpp and OstEditDragDrop.cpp (mouse, wheel, scroll bars,
// dragging text).

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/OstEditHost.h"
#include "editor/OstEditTextBuffer.h"
#include "editor/OstEditTypes.h"
#include "editor/OstEditUndo.h"
#include "editor/OstEditSearch.h"
#include "highlighters/OstEditHighlighter.h"
#include "highlighters/OstLineStateScanner.h"
#include "platform/Clipboard.h"
#include "editor/OstEditPaintTypes.h"
#include "editor/OstEditScrollTypes.h"
#include "editor/OstTextDrawer.h"
#include "platform/Timer.h"
#include "editor/OstEditKbdHandler.h"
#include "editor/OstEditKeyCmds.h"
#include "editor/OstEditMarks.h"
#include "editor/OstEditMiscClasses.h"
#include "editor/OstEditWordWrap.h"

namespace ostrel {

using TOstCharSet = std::bitset<256>;

// A bracket and its partner: the opening one first.
struct TOstBracketPair {
    TBufferCoord Open;
    TBufferCoord Close;
    bool Found = false;
    friend bool operator==(const TOstBracketPair&, const TOstBracketPair&) = default;
};

// Raises a count for a scope: the editor's states that hold while any of
// their scopes is open, nested or not.
class TOstScopedCount {
public:
    explicit TOstScopedCount(int& count) : count_(count) { ++count_; }
    ~TOstScopedCount() { --count_; }
    TOstScopedCount(const TOstScopedCount&) = delete;
    TOstScopedCount& operator=(const TOstScopedCount&) = delete;

private:
    int& count_;
};

class TCustomOstEdit {
public:
    TCustomOstEdit();
    virtual ~TCustomOstEdit();
    TCustomOstEdit(const TCustomOstEdit&) = delete;
    TCustomOstEdit& operator=(const TCustomOstEdit&) = delete;

    // The options of a newly created control and of the main window's
    // template editor.
    static TOstEditorOptions DefaultOptions();
    static TOstEditorOptions TemplateOptions();

    // ---- buffer, host, clipboard -------------------------------------------
    TOstEditStringList& Lines() { return lines_; }
    const TOstEditStringList& Lines() const { return lines_; }
    void SetHost(TOstEditHost* host) { host_ = host; }
    void SetClipboard(Clipboard* clipboard);
    Clipboard& GetClipboard() { return *clipboard_; }

    // ---- properties -----------------------------------------------------------
    TOstEditorOptions Options() const { return options_; }
    void SetOptions(TOstEditorOptions value);
    bool HasOption(TOstEditorOption o) const { return options_.has(o); }
    void SetOption(TOstEditorOption o, bool on);
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int value);
    int MaxLineWidth() const { return maxLineWidth_; }
    void SetMaxLineWidth(int value);
    bool InsertMode() const { return insertMode_; }
    void SetInsertMode(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool value) { wantTabs_ = value; }
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool value) { wantReturns_ = value; }
    TOstSelectionMode SelectionMode() const { return selectionMode_; }
    void SetSelectionMode(TOstSelectionMode value);
    TOstSelectionMode ActiveSelectionMode() const { return activeSelectionMode_; }
    void SetActiveSelectionMode(TOstSelectionMode value);
    int MaxUndo() const { return undoList_.MaxUndoActions(); }
    void SetMaxUndo(int value);

    // ---- window geometry (supplied by the host) --------------------------------
    int CharsInWindow() const { return charsInWindow_; }
    int LinesInWindow() const { return linesInWindow_; }
    void SetWindowSize(int charsInWindow, int linesInWindow);
    int CharWidth() const { return charWidth_; }
    int LineHeight() const { return lineHeight_; }
    void SetCellSize(int charWidth, int lineHeight);
    int GutterWidth() const { return gutterWidth_; }
    void SetGutterWidth(int value);
    int TopLine() const { return topLine_; }
    void SetTopLine(int value);
    int LeftChar() const { return leftChar_; }
    void SetLeftChar(int value);

    // ---- word wrap (OstEditWrap.cpp; the rows are kept by the plugin) ----------
    // Long lines shown on as many rows as the window's width needs; the
    // left column then stays 1.
    bool WordWrap() const { return wordWrap_ != nullptr; }
    void SetWordWrap(bool on);
    // The row map while word wrap is on, else none.
    const TOstWordWrapPlugin* WordWrapPlugin() const { return wordWrap_.get(); }

    // ---- coordinates ------------------------------------------------------------
    TDisplayCoord BufferToDisplayPos(TBufferCoord p) const;
    TBufferCoord DisplayToBufferPos(TDisplayCoord p) const;
    TDisplayCoord PixelsToRowColumn(int x, int y) const;
    TDisplayCoord PixelsToNearestRowColumn(int x, int y) const;
    // Top-left pixel of a display position.
    void RowColumnToPixels(TDisplayCoord p, int& x, int& y) const;
    int TextOffset() const;
    int DisplayLineCount() const;
    // The first display row of a line, and the line a row shows.
    int LineToRow(int line) const;
    int RowToLine(int row) const;
    // A position's column in its line with tabs expanded, whatever the
    // wrapping, and the character at such a column.
    int LineColumn(TBufferCoord p) const;
    int CharAtLineColumn(int line, int column) const;
    // The buffer position at client pixels (the cell under them) and the
    // top-left pixel of a buffer position, both through the display rows.
    TBufferCoord PixelsToBufferPos(int x, int y) const;
    // Character positions of a line (from 1) in the document's encoding:
    // the start of the next and of the previous character, and the start
    // of the character holding a position. Beyond the end of the line a
    // step is one cell of virtual space.
    int NextCharPos(int line, int charPos) const;
    int PrevCharPos(int line, int charPos) const;
    int SnapCharPos(int line, int charPos) const;
    TOstEncoding Encoding() const { return lines_.Encoding(); }
    void BufferPosToPixels(TBufferCoord p, int& x, int& y) const;

    // ---- caret --------------------------------------------------------------------
    int CaretX() const { return caretX_; }
    int CaretY() const { return caretY_; }
    TBufferCoord CaretXY() const { return {caretX_, caretY_}; }
    // Where the caret shows: with word wrap, a caret after the last cell of
    // a wrapped row shows there rather than at the start of the next row.
    TDisplayCoord DisplayXY() const;
    bool CaretAtRowEnd() const { return caretAtRowEnd_; }
    // Moves the caret to a display position (collapsing the selection); a
    // column beyond a wrapped row's end leaves it at that row's end.
    void SetDisplayXY(TDisplayCoord p);
    // Moves the caret, scrolls it into view and collapses the selection.
    void SetCaretXY(TBufferCoord p);
    void SetCaretX(int x) { SetCaretXY({x, caretY_}); }
    void SetCaretY(int y) { SetCaretXY({caretX_, y}); }
    // The one path every caret move takes: clamps, stores, optionally scrolls
    // into view; leaves the selection alone.
    void SetCaretXYEx(bool ensureVisible, TBufferCoord p);
    void InternalSetCaretXY(TBufferCoord p) { SetCaretXYEx(true, p); }
    int LastCaretColumn() const { return lastCaretX_; }
    void SetLastCaretColumn(int column) { lastCaretX_ = column; }
    void EnsureCursorPosVisible() { EnsureCursorPosVisibleEx(false); }
    // Sets caret and both selection ends as given, without clamping the ends.
    void SetCaretAndSelection(TBufferCoord caret, TBufferCoord blockBegin, TBufferCoord blockEnd);
    void EnsureCursorPosVisibleEx(bool forceToMiddle);

    // ---- selection ----------------------------------------------------------------
    // Ordered ends: BlockBegin() <= BlockEnd().
    TBufferCoord BlockBegin() const;
    TBufferCoord BlockEnd() const;
    // The anchor and the moving end, as set.
    TBufferCoord RawBlockBegin() const { return blockBegin_; }
    TBufferCoord RawBlockEnd() const { return blockEnd_; }
    void SetBlockBegin(TBufferCoord p);
    void SetBlockEnd(TBufferCoord p);
    bool SelAvail() const;
    std::string SelText() const;
    void SetSelText(std::string_view text);
    void SelectAll();
    std::string LineText() const;
    void SetLineText(std::string_view text);
    // The selection as offsets into the whole text, each line break counting 2.
    int SelStart() const;
    void SetSelStart(int value);
    int SelEnd() const;
    void SetSelEnd(int value);
    int SelLength() const { return SelEnd() - SelStart(); }
    // Moves the caret to a new point, extending the selection (Shift held) or
    // collapsing it; start is the point the move starts from.
    void MoveCaretAndSelection(TBufferCoord start, TBufferCoord newPos, bool selectionCommand);

    // The editing primitive: replaces the selection with text inserted in the
    // given mode. Column inserts record their own undo items when addToUndo.
    // A column insert goes in at the screen column given, else at the one a
    // replaced column block began at, else at the caret's.
    void SetSelTextPrimitive(TOstSelectionMode mode, std::string_view text, bool addToUndo = false,
                             TOstChangeReason columnReason = crInsert, int column = 0);
    // Removes the selection, recording it for undo (Delete, cut, typing over it).
    void ClearSelection();
    // Removes a line with its line break as one undoable step (the last line
    // with the break before it); the only line is emptied. Other lines are
    // left as they are.
    void DeleteLineRecorded(int line);
    // Puts an exact copy of the caret's line above it as one undoable step;
    // the caret keeps its line number, so it stands on the copy.
    void DuplicateLine();

    // The whole text, lines joined by CR LF; replacing it is one undoable step.
    std::string Text() const;

    // ---- encoding (OstEditEncoding.cpp) ---------------------------------------------
    // Asked when text from outside (typed, pasted, dropped, put in by a
    // command) holds characters the document's encoding lacks: the text in
    // UTF-8. True when the document has gone over to an encoding that holds
    // them; the text then goes in.
    std::function<bool(std::string_view utf8)> OnTextNotEncodable;
    // Text of another encoding in the document's; false, with nothing to put
    // in, when it holds characters the document's encoding lacks and the
    // document stayed as it was.
    bool TextForDocument(std::string_view text, TOstEncoding from, std::string& out);
    // The same characters in another encoding, as one undoable step; false,
    // and nothing changed, when one of them has no place there (failedAt: its
    // byte in Text()).
    bool ConvertEncoding(TOstEncoding to, size_t* failedAt = nullptr);
    // Replaces the whole text (lines joined by CR LF) and the encoding it is
    // in as one undoable step.
    void ReplaceWholeText(std::string_view text, TOstEncoding encoding);
    void SetText(std::string_view text);
    void ClearAll();

    // ---- words and indentation -------------------------------------------------------
    TBufferCoord NextWordPos() const { return NextWordPosEx(CaretXY()); }
    TBufferCoord NextWordPosEx(TBufferCoord from) const;
    TBufferCoord PrevWordPos() const { return PrevWordPosEx(CaretXY()); }
    TBufferCoord PrevWordPosEx(TBufferCoord from) const;
    TBufferCoord WordStart() const { return WordStartEx(CaretXY()); }
    TBufferCoord WordStartEx(TBufferCoord from) const;
    TBufferCoord WordEnd() const { return WordEndEx(CaretXY()); }
    TBufferCoord WordEndEx(TBufferCoord from) const;
    std::string GetWordAtRowCol(TBufferCoord p) const;
    std::string WordAtCursor() const { return GetWordAtRowCol(CaretXY()); }
    // The characters of identifiers and the word-break characters; a
    // highlighter brings its own, these are the defaults without one.
    static TOstCharSet DefaultIdentChars();
    static TOstCharSet DefaultWordBreakChars();
    void SetWordCharSets(const TOstCharSet& identChars, const TOstCharSet& wordBreakChars);
    bool IsIdentChar(unsigned char c) const;
    bool IsWordBreakChar(unsigned char c) const;
    bool IsWordChar(unsigned char c) const;
    // The same tests for the character at byte i of a line, in the
    // document's encoding.
    bool IsWordCharAt(std::string_view line, size_t i) const;
    bool IsIdentCharAt(std::string_view line, size_t i) const;
    // Leading whitespace of a line: characters (TAB = 1) or columns (TAB =
    // TabWidth); 0 without eoAutoIndent.
    int LeftSpaces(std::string_view line) const;
    int LeftSpacesColumns(std::string_view line) const;
    // Indentation of n columns: spaces, or TABs and spaces when wanted.
    std::string GetLeftSpacing(int columns, bool wantTabs) const;
    // The trimming rule every line written by editing goes through.
    std::string TrimWritten(std::string_view line) const;

    // ---- clipboard --------------------------------------------------------------------
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    bool CanPaste() const;

    // ---- undo and modified flag ------------------------------------------------------------
    TOstEditUndoList& UndoList() { return undoList_; }
    TOstEditUndoList& RedoList() { return redoList_; }
    bool CanUndo() const { return !readOnly_ && undoList_.CanUndo(); }
    bool CanRedo() const { return !readOnly_ && redoList_.CanUndo(); }
    void Undo();
    void Redo();
    bool Modified() const;
    void SetModified(bool value);
    // Re-runs Enter at the caret: the line break of the commands, kept here
    // because redoing a recorded line break runs it too.
    void InsertLineBreak(bool moveCaret);

    // ---- search and replace (OstEditSearchReplace.cpp) ---------------------------------------
    // The engine is shared between documents and not owned.
    TOstEditSearchCustom* SearchEngine() const { return searchEngine_; }
    void SetSearchEngine(TOstEditSearchCustom* engine) { searchEngine_ = engine; }
    // Finds (and replaces) as the options say; returns the number of matches.
    int SearchReplace(std::string_view search, std::string_view replace, TOstSearchOptions options);
    // Shows every match of the engine's pattern (set up by the caller, not
    // owned) on the rows painted, in the match colour; none shows nothing.
    TOstEditSearchCustom* MatchHighlight() const { return matchHighlight_; }
    void SetMatchHighlight(TOstEditSearchCustom* engine);
    TColor MatchColor() const { return matchColor_; }
    void SetMatchColor(TColor color);
    // Asked before each replacement with PromptOnReplace: the search and
    // replace texts and the match's line and character.
    std::function<TOstReplaceAction(const std::string& search, const std::string& replace, int line,
                                    int column)>
        OnReplaceText;
    // Asked before each line a SearchReplace searches, with the lines done
    // and the lines in its range; false ends the search there (replacements
    // made so far stay, one undoable step when they were one).
    std::function<bool(int done, int total)> OnSearchProgress;

    // ---- highlighter ---------------------------------------------------------------------
    // The control follows the highlighter's attribute changes; the
    // highlighter is not owned and must be detached before it is destroyed.
    TOstCustomHighlighter* Highlighter() const { return highlighter_; }
    void SetHighlighter(TOstCustomHighlighter* highlighter);
    // Runs the highlighter over every line and stores each line's end state.
    void ScanAllLineStates();
    // Starts the highlighter on a line (from 1) with the state the line above
    // left; false without a highlighter or for a line outside the buffer.
    bool StartHighlighterAt(int line);
    // The token covering a position: its text, kind and attribute.
    bool GetHighlighterAttriAtRowCol(TBufferCoord p, std::string& token, int& tokenKind,
                                     TOstHighlighterAttributes*& attri);

    // ==== display and painting (OstEditPaint*.cpp) ====================================
    const TOstFont& Font() const { return font_; }
    void SetFont(const TOstFont& font);
    int ExtraLineSpacing() const { return extraLineSpacing_; }
    void SetExtraLineSpacing(int pixels);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    const TOstSelectedColor& SelectedColor() const { return selectedColor_; }
    void SetSelectedColor(const TOstSelectedColor& colors);
    TColor ActiveLineColor() const { return activeLineColor_; }
    void SetActiveLineColor(TColor color);
    int RightEdge() const { return rightEdge_; }
    void SetRightEdge(int column);
    TColor RightEdgeColor() const { return rightEdgeColor_; }
    void SetRightEdgeColor(TColor color);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool on);
    TOstEditCaretType InsertCaret() const { return insertCaret_; }
    void SetInsertCaret(TOstEditCaretType shape);
    TOstEditCaretType OverwriteCaret() const { return overwriteCaret_; }
    void SetOverwriteCaret(TOstEditCaretType shape);

    // The canvas fonts are measured on outside painting (the host's screen);
    // none means fixed metrics. Not owned.
    void SetMeasuringCanvas(Canvas* canvas);
    // Measures the cells again over the font styles in use: after the font,
    // the highlighter or its attributes change.
    void RecalcCharExtent();
    // The host's client area in pixels; the window counts follow from it.
    void SetClientSize(int width, int height);
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    void UpdateWindowCounts();
    TheTextDrawer& TextDrawer() { return textDrawer_; }

    // Focus, told by the host: the caret shows only with it, and HideSelection
    // hides the selection without it.
    bool Focused() const { return focused_; }
    void FocusIn();
    void FocusOut();

    // Paints the client pixels inside clip.
    void Paint(Canvas& canvas, const TRect& clip);
    // The caret for the current position and mode; invisible without focus.
    TOstCaretGeometry CaretGeometry() const;

    TOstSpecialLineColorsEvent OnSpecialLineColors;
    TOstPaintEvent OnPaint;
    TOstPaintTransientEvent OnPaintTransient;

    // ==== mouse, wheel, scroll bars and dragging text, forwarded by the host ====
    // (OstEditMouse.cpp, OstEditScrollBars.cpp, OstEditDragDrop.cpp)
    // Presses, moves and releases at client pixels. A left press in the text
    // places the caret and starts a selection, or a drag of the selection
    // when it lands inside one; presses in the gutter report gutter clicks.
    void MouseDown(TOstMouseButton button, TOstShiftState shift, int x, int y);
    void MouseMove(TOstShiftState shift, int x, int y);
    void MouseUp(TOstMouseButton button, TOstShiftState shift, int x, int y);
    // Comes instead of the second press of a double click.
    void DoubleClick(TOstShiftState shift, int x, int y);
    // Wheel units, 120 a notch; positive turns the view towards the start.
    void MouseWheel(TOstShiftState shift, int delta);
    // From a left press in the text to its release; moves then select.
    bool MouseCaptured() const { return mouseCaptured_; }
    // The mouse went elsewhere before its release (the window lost the
    // focus): selecting and scrolling stop where they are.
    void MouseCaptureLost();
    // The desktop's settings: the lines a wheel notch scrolls (-1: a page)
    // and how far the mouse travels before a press becomes a drag.
    int WheelScrollLines() const { return wheelScrollLines_; }
    void SetWheelScrollLines(int lines) { wheelScrollLines_ = lines; }
    int DragDistance() const { return dragDistance_; }
    void SetDragDistance(int pixels);
    // The buffer position the mouse means at client pixels: the nearest cell
    // boundary on a row of the text. Every mouse path converts through it.
    TBufferCoord PixelsToNearestBufferPos(int x, int y) const;
    // Inside the selection, both ends included.
    bool IsPointInSelection(TBufferCoord p) const;
    // The 100 ms timer of scrolling while the mouse selects or drags beyond
    // the text; the host owns it and calls ScrollTimerTick when it fires.
    // Not owned. It runs exactly while a scroll step is not zero.
    void SetScrollTimer(Timer* timer) { scrollTimer_ = timer; }
    Timer* ScrollTimer() const { return scrollTimer_; }
    void ScrollTimerTick();
    int ScrollDeltaX() const { return scrollDeltaX_; }
    int ScrollDeltaY() const { return scrollDeltaY_; }

    // Scroll bars: which exist, what each shows, and the requests they make.
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    TColor ScrollHintColor() const { return scrollHintColor_; }
    void SetScrollHintColor(TColor color) { scrollHintColor_ = color; }
    TScrollHintFormat ScrollHintFormat() const { return scrollHintFormat_; }
    void SetScrollHintFormat(TScrollHintFormat format) { scrollHintFormat_ = format; }
    TOstScrollBarInfo ScrollBarInfo(TOstScrollBarKind bar) const;
    // position is the scroll box's, for scrThumbTrack and scrThumbPosition.
    void ScrollBarAction(TOstScrollBarKind bar, TOstScrollCode code, int position = 0);
    // The hint's text for the view as it stands, or empty without eoShowScrollHint.
    std::string ScrollHintText() const;
    std::function<void(TOstScrollBarKind bar)> OnScroll;

    // Dragging selected text between editor controls. OnStartDrag asks the
    // host to run a drag of this control's selection; the control under the
    // pointer gets DragOver and at last DragDrop (or DragLeave).
    std::function<void()> OnStartDrag;
    bool AcceptsDragFrom(const TCustomOstEdit* source) const;
    void DragOver(const TCustomOstEdit* source, int x, int y);
    void DragLeave();
    // Moves or copies the source's selection to the pixels; false when
    // nothing was dropped.
    bool DragDrop(TCustomOstEdit& source, TOstShiftState shift, int x, int y);
    // Files dropped on the control (eoDropFiles with a handler assigned):
    // their paths in order, UTF-8, and the drop point in client pixels.
    std::function<void(const std::vector<std::string>& paths, int x, int y)> OnDropFiles;
    bool AcceptsDroppedFiles() const;
    void DropFiles(const std::vector<std::string>& paths, int x, int y);

    // ==== commands and key bindings (OstEditCmd*.cpp) ==================================
    // The key table; a new control has the default bindings.
    const TOstEditKeyStrokes& Keystrokes() const { return keystrokes_; }
    TOstEditKeyStrokes& Keystrokes() { return keystrokes_; }
    void SetKeystrokes(const TOstEditKeyStrokes& value) { keystrokes_ = value; }
    TOstEditKbdHandler& KbdHandler() { return kbdHandler_; }
    // Keys from the host: a virtual-key code with the Shift/Alt/Ctrl bits; a
    // bound key runs its command and is consumed (set to 0). KeyPress takes
    // the byte a key produced, KeyPressText the characters (in the
    // document's encoding); the character of a bound key is dropped, and
    // only that one. ImeString takes text an input method composed (in the
    // document's encoding); charsFollow says the platform also delivers that
    // text as characters, which are then dropped.
    void KeyDown(uint16_t& key, TOstShiftState shift);
    void KeyUp(uint16_t& key, TOstShiftState shift);
    void KeyPress(char& key);
    void KeyPressText(std::string_view chars);
    void ImeString(std::string_view text, bool charsFollow = false);
    // One press of a key as a window sees it: its code (0 for a key without
    // one, such as a letter of another layout) and the text it produced, as
    // UTF-8. The text goes in unless the key was bound; characters the
    // document's encoding lacks go as OnTextNotEncodable decides. Returns
    // whether the control used the key.
    bool KeyStroke(uint16_t key, TOstShiftState shift, std::string_view utf8);
    // The keys the control wants from a dialog: arrows and characters (129),
    // the Tab key too with WantTabs (131), all keys (+4) with WantReturns.
    int DlgCode() const;
    // Runs a command through OnProcessCommand (or OnProcessUserCommand), the
    // hooks, the executor, the hooks again and OnCommandProcessed. The data
    // is a TBufferCoord for ecGotoXY, ecSelGotoXY and ecSetMarker0..9, and a
    // NUL-terminated string for ecImeStr.
    void CommandProcessor(TOstEditorCommand command, char aChar, const void* data = nullptr);
    virtual void ExecuteCommand(TOstEditorCommand command, char aChar, const void* data);
    void RegisterCommandHandler(const void* owner, TOstHookedCommandEvent handler);
    void UnregisterCommandHandler(const void* owner);
    // The partner of the bracket at a position, or {0, 0} when there is none.
    TBufferCoord GetMatchingBracketEx(TBufferCoord p);
    // ---- the bracket pair beside the caret (OstEditBrackets.cpp) ----
    // The bracket after the caret (else the one before it) and its partner,
    // brackets in strings and comments left out; <> only where the
    // highlighter pairs them (HTML, XML).
    TOstBracketPair FindBracketPair(TBufferCoord caret);
    // Shows the pair at the caret in the bracket colour as the caret moves.
    bool BracketHighlight() const { return bracketHighlight_; }
    void SetBracketHighlight(bool on);
    TColor BracketColor() const { return bracketColor_; }
    void SetBracketColor(TColor color);
    const TOstBracketPair& ShownBracketPair() const { return bracketPair_; }
    TBufferCoord GetMatchingBracket() { return GetMatchingBracketEx(CaretXY()); }

    TOstProcessCommandEvent OnProcessCommand;
    TOstProcessCommandEvent OnProcessUserCommand;
    TOstProcessCommandEvent OnCommandProcessed;
    std::function<void(const std::string& word)> OnContextHelp;

    // ---- paint lock and notifications --------------------------------------------------------
    void BeginUpdate() { IncPaintLock(); }
    void EndUpdate() { DecPaintLock(); }
    int PaintLock() const { return paintLock_; }
    void InvalidateLines(int firstLine, int lastLine);
    void InvalidateRows(int firstRow, int lastRow);
    void InvalidateAll();

    std::function<void()> OnChange;
    std::function<void(TOstStatusChanges)> OnStatusChange;

protected:
    void IncPaintLock();
    void DecPaintLock();
    void StatusChanged(TOstStatusChanges changes);
    // Line writes of editing go through the trimming rule.
    void WriteLine(int line, std::string_view text);
    // A new line (index from 0) written by editing.
    void InsertWrittenLine(int index, std::string_view text);

protected:
    // The gutter paints itself here, for the rows in the clip.
    virtual void PaintGutter(Canvas& canvas, const TRect& clip, int firstRow, int lastRow);

private:
    friend class TOstPaintLockGuard;
    friend class TOstTextPainter;
    class UndoRedoStep;
    class SearchModeScope;
    // A match a search left selected goes back to the chosen mode when it goes.
    void EndMatchSelection();
    // A command that is one undo step of its own does not join a run of
    // edits of its kind (eoGroupUndo) before it.
    void BreakUndoGroup();
    // Trimming of the lines an edit wrote, once the edit is complete.
    void NoteWrittenLine(int line);
    void TrimWrittenLines();

    // Highlighter internals.
    void HighlighterAttributesChanged();
    void MarkLineStatesDirty(int first, int last);
    void RescanDirtyLineStates();
    // A scanner of the document's lines with the control's highlighter.
    TOstLineStateScanner LineScanner() const;
    // The state line `line` (from 1) starts from: the stored end state of
    // the line above.
    TOstLineState StateAbove(int line) const;
    // True when it scanned every line anew.
    bool PrepareHighlighter();

    // Buffer notifications.
    void BufferChanging();
    void BufferChanged();
    void BufferCleared();
    // Lines the buffer inserted (count > 0) or deleted (count < 0) at index.
    void BufferLinesMoved(int index, int count);
    void BufferLinesPutted(int index, int count);
    // eoAutoSizeMaxLineWidth: the view's width grows to take new long lines.
    void GrowMaxLineWidth(int index, int count);
    void UndoListAdded(bool isRedoList);

    // Word wrap internals.
    void RewrapAll(bool onlyWhenWidthChanged = false);
    bool IsBeyondRowEnd(TDisplayCoord p) const;
    void SetCaretAtRowEnd(bool atEnd);
    bool WrapMoveHorz(int dx);
    void DoLineEndKey(bool select);
    void LimitToWrappedWidth(TBufferCoord& to) const;

    // Caret and scrolling internals.
    int MaxCaretChar(int line) const;
    TBufferCoord ClampBlockPoint(TBufferCoord p) const;
    void ClampBlockToMode();
    void UpdateLastCaretColumn();
    int MaxTopLine() const;
    int MaxLeftChar() const;

    // Selection internals. A column block spans the same screen columns on
    // each of its lines, whatever characters fall there.
    int CharAtColumnCeil(int line, int column) const;
    void ColumnBlockColumns(TBufferCoord a, TBufferCoord b, int& left, int& right) const;
    TBufferCoord ColumnBlockStart(TBufferCoord a, TBufferCoord b) const;
    std::string SelTextFor(TBufferCoord begin, TBufferCoord end, TOstSelectionMode mode,
                           bool padColumns) const;
    void DeleteSelectionText(TBufferCoord bb, TBufferCoord be);
    void InsertNormal(std::string_view text);
    void InsertLineMode(std::string_view text);
    void NoteTrimmedLeft(int oldLineLength, const std::string& left, int storedLength);
    void AddLineForColumn(bool addToUndo);
    void InsertColumn(std::string_view text, bool addToUndo, TOstChangeReason reason, int column);
    void RecordDeleteOfSelection(TOstChangeReason reason);
    std::string UndoTextOfSelection() const;

    // Undo and redo of single items.
    void RunGroupedStep(bool undoing);
    TBufferCoord InsertionPoint(const TOstEditUndoItem& item) const;
    // The screen column a column item's block begins at; 0 for other items.
    int ColumnBlockLeft(const TOstEditUndoItem& item) const;
    void ApplyWholeText(std::string_view text, TOstEncoding encoding, TBufferCoord caret);
    void ReverseWholeText(const TOstEditUndoItem& item, TOstEditUndoList& opposite);
    void ReversePositionItem(const TOstEditUndoItem& item, TOstEditUndoList& opposite);
    void UndoItem();
    void RedoItem();
    void UndoLineBreak(const TOstEditUndoItem& item);
    void UndoUnindent(const TOstEditUndoItem& item);
    void RedoUnindent(const TOstEditUndoItem& item);
    void InsertTextAt(TBufferCoord at, const std::string& text, TOstSelectionMode mode, int column = 0);

    TOstEditStringList lines_;
    TOstEditUndoList undoList_;
    TOstEditUndoList redoList_;
    TOstEditHost* host_ = nullptr;        // not owned
    Clipboard* clipboard_ = nullptr;      // not owned

    TOstEditorOptions options_;
    TOstCustomHighlighter* highlighter_ = nullptr;  // not owned
    TOstEditSearchCustom* searchEngine_ = nullptr;  // not owned
    int statesDirtyFirst_ = -1;  // lines (from 0) whose stored states may be stale
    int statesDirtyLast_ = -1;
    bool statesUtf8_ = false;  // the form of text the stored states were scanned in
    TOstCharSet identChars_ = DefaultIdentChars();
    TOstCharSet wordBreakChars_ = DefaultWordBreakChars();
    TOstCharSet wordChars_ = DefaultIdentChars() & ~DefaultWordBreakChars();
    int tabWidth_ = 8;
    int maxLineWidth_ = 1024;
    bool insertMode_ = true;
    bool readOnly_ = false;
    bool wantTabs_ = false;
    bool wantReturns_ = true;
    TOstSelectionMode selectionMode_ = smNormal;
    TOstSelectionMode activeSelectionMode_ = smNormal;

    int caretX_ = 1;
    int caretY_ = 1;
    int lastCaretX_ = 1;
    TBufferCoord blockBegin_;
    TBufferCoord blockEnd_;

    int charsInWindow_ = 80;
    int linesInWindow_ = 25;
    int charWidth_ = 8;
    int lineHeight_ = 16;
    int gutterWidth_ = 0;
    int topLine_ = 1;
    int leftChar_ = 1;
    std::unique_ptr<TOstWordWrapPlugin> wordWrap_;  // while word wrap is on
    bool caretAtRowEnd_ = false;  // the caret shows after its wrapped row's last cell

    TBufferCoord lastInsertStart_;  // where the last normal insert began, padding included
    // Where it ended: the caret, unless a mark it ended with joined the
    // character after it (the caret then stands before that character).
    TBufferCoord lastInsertEnd_;
    std::string lastInsertTrimmed_; // blanks before it that trimming took

    int paintLock_ = 0;
    TOstStatusChanges pendingStatus_ = 0;
    int invalidFirstRow_ = 0;   // 0 when nothing waits for repainting
    int invalidLastRow_ = 0;
    bool invalidGutter_ = false;
    bool undoRedoRunning_ = false;
    bool exactPositions_ = false;  // undo and redo place the caret where their items say
    bool bracketHighlight_ = false;
    TColor bracketColor_ = static_cast<TColor>(0x00B4E6FF);  // a light amber: 0x00BBGGRR
    TOstBracketPair bracketPair_;
    TOstEditSearchCustom* matchHighlight_ = nullptr;  // not owned
    TColor matchColor_ = static_cast<TColor>(0x0066FFFF);  // yellow: 0x00BBGGRR
    bool redoRunning_ = false;
    int trimSuspended_ = 0;  // lines are written as given, trimming or not
    std::vector<int> writtenLines_;  // lines (from 1) written since the edit began, to trim
    int lineEdits_ = 0;  // open LineEditScopes: marks follow the lines edits move
    bool matchSelected_ = false;  // a plain selection of a match in another chosen mode

    // ==== display and painting ====
    TOstFont font_;
    int extraLineSpacing_ = 0;
    TColor color_ = clWindow;
    TOstSelectedColor selectedColor_;
    TColor activeLineColor_ = clNone;
    int rightEdge_ = 80;
    TColor rightEdgeColor_ = clSilver;
    bool hideSelection_ = false;
    TOstEditCaretType insertCaret_ = ctVerticalLine;
    TOstEditCaretType overwriteCaret_ = ctBlock;
    TheTextDrawer textDrawer_;
    Canvas* measuringCanvas_ = nullptr;  // not owned
    int clientWidth_ = 0;   // 0 until the host tells its size
    int clientHeight_ = 0;
    bool focused_ = false;
    Timer* scrollTimer_ = nullptr;  // not owned

    // ==== commands and key bindings (OstEditCmd*.cpp) ====
private:
    // Lets the caret stand beyond the line end for the length of a command.
    class ScrollPastEolScope {
    public:
        explicit ScrollPastEolScope(TCustomOstEdit& e) : e_(e), had_(e.options_.has(eoScrollPastEol))
        {
            e_.options_.include(eoScrollPastEol);
        }
        ~ScrollPastEolScope() { e_.options_.set(eoScrollPastEol, had_); }
        ScrollPastEolScope(const ScrollPastEolScope&) = delete;
        ScrollPastEolScope& operator=(const ScrollPastEolScope&) = delete;

    private:
        TCustomOstEdit& e_;
        bool had_;
    };
    // Lines are written exactly as given for a scope: copies of text the
    // buffer already holds, and undo and redo putting back what was there.
    class TrimSuspendScope : TOstScopedCount {
    public:
        explicit TrimSuspendScope(TCustomOstEdit& e) : TOstScopedCount(e.trimSuspended_) {}
    };
    // Marks on the text follow the lines an edit of the editor's own inserts
    // or deletes while one is open; lines a program puts into the buffer
    // directly (loading, restoring, a whole-text change) leave them be.
    class LineEditScope : TOstScopedCount {
    public:
        explicit LineEditScope(TCustomOstEdit& e) : TOstScopedCount(e.lineEdits_) {}
    };
    // Sets the active selection mode for a scope and puts the old one back.
    class ActiveModeScope {
    public:
        ActiveModeScope(TCustomOstEdit& e, TOstSelectionMode mode) : e_(e), old_(e.activeSelectionMode_)
        {
            e_.activeSelectionMode_ = mode;
        }
        ~ActiveModeScope() { e_.activeSelectionMode_ = old_; }
        ActiveModeScope(const ActiveModeScope&) = delete;
        ActiveModeScope& operator=(const ActiveModeScope&) = delete;

    private:
        TCustomOstEdit& e_;
        TOstSelectionMode old_;
    };

    // The executor, by family: keys and dispatch (OstEditCmd.cpp), caret
    // moves (OstEditCmdMove.cpp), scrolling, modes and brackets
    // (OstEditCmdView.cpp), typing (OstEditCmdEdit.cpp), deleting
    // (OstEditCmdDelete.cpp), Tab and block indentation (OstEditCmdTab.cpp),
    // case (OstEditCmdCase.cpp).
    void ExecuteMoveCommand(TOstEditorCommand command, const void* data);
    void ExecuteViewCommand(TOstEditorCommand command);
    void ExecuteEditCommand(TOstEditorCommand command, char aChar, const void* data);
    void MoveCaretHorz(int dx, bool select);
    int StepChars(TBufferCoord from, int count);
    void MoveCaretVert(int dy, bool select);
    void DoHomeKey(bool select);
    void DoPageUpDown(bool up, bool select);
    void DoPageTopBottom(bool top, bool select);
    void DoScrollUpDown(bool up);
    void DoMatchBracket();
    std::vector<bool> QuotedBytes(int line);
    void UpdateBracketPair();
    bool IsCommentOrString(TBufferCoord p);
    void DoTypeText(std::string_view text);
    size_t OverwrittenLength(std::string_view line, size_t pos, std::string_view typed) const;
    void DoDeleteLastChar();
    void DoDeleteChar();
    void DoDeleteWord();
    void DoDeleteToEol();
    void DoDeleteBackTo(TBufferCoord target);
    void DoDeleteLine();
    void JoinNextLine();
    void DeleteSelectionForKey();
    void DeleteRangeRecorded(TBufferCoord from, TBufferCoord to, TOstChangeReason reason);
    int SmartIndentTarget(int line, int belowColumn, bool columns) const;
    void DoTabKey();
    std::string TabText(int& newCaretChar);
    void DoShiftTabKey();
    bool SelectionIsTabBlock() const;
    int LastBlockLine() const;
    void DoBlockIndent();
    void DoBlockUnindent();
    void DoCaseChange(TOstEditorCommand command);
    bool SelectWordForCase();

    TOstEditKeyStrokes keystrokes_ = TOstEditKeyStrokes::Defaults();
    TOstEditKbdHandler kbdHandler_;
    TMethodList<TOstHookedCommandEvent> commandHandlers_;
    uint16_t lastKey_ = 0;          // first key of a possible two-key sequence
    TOstShiftState lastShift_ = 0;
    bool ignoreNextChar_ = false;   // the key's character was a command already
    int imeCharsToDrop_ = 0;

    // ==== gutter, marks and bookmarks (OstEditMarks.cpp, OstEditGutterPaint.cpp) ====
public:
    // The gutter's settings decide GutterWidth(); the width follows them,
    // the line count and the character width at once.
    const TOstGutter& Gutter() const { return gutter_; }
    TOstGutter& Gutter() { return gutter_; }
    void SetGutter(const TOstGutter& gutter) { gutter_.Assign(gutter); }
    const TOstBookMarkOpt& BookMarkOptions() const { return bookMarkOpt_; }
    TOstBookMarkOpt& BookMarkOptions() { return bookMarkOpt_; }
    // The glyph on continuation rows of wrapped lines.
    TOstGlyph& WordWrapGlyph() { return wordWrapGlyph_; }
    const TOstEditMarkList& Marks() const { return marks_; }
    TOstEditMarkList& Marks() { return marks_; }
    // The digits the line numbers take room for now.
    int GutterDigitCount() const { return gutter_.DigitCountFor(lines_.Count()); }

    // Bookmarks 0..9. Setting refuses other numbers and lines outside the
    // buffer, and moves an existing bookmark of the number; OnPlaceBookmark
    // may refuse the new mark.
    bool SetBookMark(int number, TBufferCoord at);
    void ClearBookMark(int number);
    // Moves the caret to the bookmark, centring its row when it was out of
    // view; nothing when the bookmark or its line is gone.
    void GotoBookMark(int number);
    std::optional<TBufferCoord> GetBookMark(int number) const;
    bool IsBookmark(int number) const { return marks_.FindBookmark(number) != nullptr; }

    // Presses and releases at client pixels; those in the gutter fire
    // OnGutterClick: a right press at once, another button when it is also
    // released in the gutter.
    void GutterMouseDown(TOstMouseButton button, int x, int y);
    void GutterMouseUp(TOstMouseButton button, int x, int y);

    // Repaints the gutter beside lines firstLine..lastLine, or all of it.
    void InvalidateGutterLines(int firstLine, int lastLine);
    void InvalidateGutter();

    TOstPlaceMarkEvent OnPlaceBookmark;
    TOstMarkEvent OnClearBookmark;
    TOstGutterGetTextEvent OnGutterGetText;
    TOstGutterPaintEvent OnGutterPaint;
    TOstGutterClickEvent OnGutterClick;

private:
    friend class TOstGutterPainter;
    void ConnectGutter();
    void UpdateGutterWidth();
    void ExecuteMarkerCommand(TOstEditorCommand command, const void* data);
    void ToggleBookMark(int number, TBufferCoord at);
    void DoGutterClick(TOstMouseButton button, int x, int y);

    TOstGutter gutter_;
    TOstBookMarkOpt bookMarkOpt_;
    TOstGlyph wordWrapGlyph_{WrappedRowImages(), clLime};
    TOstEditMarkList marks_{*this};
    TheTextDrawer gutterDrawer_;  // the line numbers, in the gutter's font
    bool gutterPressed_ = false;  // a button other than the right one went down in the gutter

    // ==== mouse, scroll bars and dragging text ====
private:
    void LeftMouseDown(TOstShiftState shift, int x, int y);
    void RightMouseDown(int x, int y);
    void PlaceCaretAtPixels(int x, int y);
    TDisplayCoord MouseRowColumn(int x, int y) const;
    void SetCaretToMouse(int x, int y);
    void FollowMouse(int x, int y);
    // The position the mouse aims at, with the display column or row replaced
    // where the view scrolls along that axis.
    TBufferCoord MouseTarget(int x, int y, std::optional<int> column, std::optional<int> row) const;
    void EndMouseCapture();
    bool InTextArea(int x) const { return x >= gutterWidth_; }
    TRect TextArea() const;
    void ComputeScroll(int x, int y);
    void SetScrollDeltas(int dx, int dy);
    void SelectWordAt(TBufferCoord p);
    bool IsDoubleClickWordChar(std::string_view s, size_t i) const;
    void ScrollByWheelNotch(int notches, TOstShiftState shift);
    void ScrollTo(TOstScrollBarKind bar, int position);
    bool DropPointOutsideSelection(TBufferCoord p, bool move) const;
    TBufferCoord RemoveSelectionForMove(TBufferCoord dropAt);
    void InsertDroppedText(TBufferCoord at, const std::string& text, TOstChangeReason reason);

    bool mouseCaptured_ = false;
    bool waitForDragging_ = false;  // a press inside the selection may become a drag
    bool doubleClicked_ = false;    // the press was the second of a double click
    bool dragging_ = false;         // a text drag is over this control
    int mouseDownX_ = 0;
    int mouseDownY_ = 0;
    int lastMouseX_ = 0;            // where the timer scrolls towards
    int lastMouseY_ = 0;
    TOstShiftState lastMouseShift_ = 0;
    int scrollDeltaX_ = 0;
    int scrollDeltaY_ = 0;
    int wheelAccumulator_ = 0;
    int wheelScrollLines_ = 3;
    int dragDistance_ = 4;
    TBufferCoord caretBeforeDragOver_;
    TScrollStyle scrollBars_ = ssBoth;
    TColor scrollHintColor_ = clInfoBk;
    TScrollHintFormat scrollHintFormat_ = shfTopLineOnly;
};

// The control as the documents use it.
class TOstEdit : public TCustomOstEdit {
public:
    using TCustomOstEdit::TCustomOstEdit;
};

// Keeps the editor's paint lock for a scope.
class TOstPaintLockGuard {
public:
    explicit TOstPaintLockGuard(TCustomOstEdit& editor) : editor_(editor) { editor_.IncPaintLock(); }
    ~TOstPaintLockGuard() { editor_.DecPaintLock(); }
    TOstPaintLockGuard(const TOstPaintLockGuard&) = delete;
    TOstPaintLockGuard& operator=(const TOstPaintLockGuard&) = delete;

private:
    TCustomOstEdit& editor_;
};

// Keeps a buffer update bracket open for a scope.
class TOstBufferUpdateGuard {
public:
    explicit TOstBufferUpdateGuard(TOstEditStringList& lines) : lines_(lines) { lines_.BeginUpdate(); }
    ~TOstBufferUpdateGuard() { lines_.EndUpdate(); }
    TOstBufferUpdateGuard(const TOstBufferUpdateGuard&) = delete;
    TOstBufferUpdateGuard& operator=(const TOstBufferUpdateGuard&) = delete;

private:
    TOstEditStringList& lines_;
};

}  // namespace ostrel
