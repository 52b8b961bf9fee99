#include "editor/OstEdit.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace ostrel {

namespace {

// The clipboard of an editor nobody gave one: shared by all such editors, as
// the system clipboard would be.
Clipboard& ProcessClipboard()
{
    static MemoryClipboard clipboard;
    return clipboard;
}

}  // namespace

TOstEditorOptions TCustomOstEdit::DefaultOptions()
{
    return {eoAutoIndent, eoDragDropEditing, eoGroupUndo, eoScrollPastEol, eoShowScrollHint,
            eoSmartTabDelete, eoSmartTabs, eoTabsToSpaces, eoTrimTrailingSpaces};
}

TOstEditorOptions TCustomOstEdit::TemplateOptions()
{
    return {eoAutoIndent, eoDragDropEditing, eoGroupUndo, eoHideShowScrollbars, eoScrollPastEol,
            eoSmartTabDelete, eoTrimTrailingSpaces};
}

TCustomOstEdit::TCustomOstEdit()
    : clipboard_(&ProcessClipboard()), options_(DefaultOptions())
{
    lines_.OnChanging = [this] { BufferChanging(); };
    lines_.OnChange = [this] { BufferChanged(); };
    lines_.OnCleared = [this] { BufferCleared(); };
    lines_.OnInserted = [this](int index, int count) { BufferLinesMoved(index, count); };
    lines_.OnDeleted = [this](int index, int count) { BufferLinesMoved(index, -count); };
    lines_.OnPutted = [this](int index, int count) { BufferLinesPutted(index, count); };
    undoList_.OnAddedUndo = [this] { UndoListAdded(false); };
    redoList_.OnAddedUndo = [this] { UndoListAdded(true); };
    lines_.SetTabWidth(tabWidth_);
    ConnectGutter();
}

TCustomOstEdit::~TCustomOstEdit()
{
    if (highlighter_)
        highlighter_->RemoveChangeListener(this);
    // The buffer outlives nothing that listens: disconnect before it goes.
    lines_.OnChanging = nullptr;
    lines_.OnChange = nullptr;
    lines_.OnCleared = nullptr;
    lines_.OnInserted = nullptr;
    lines_.OnDeleted = nullptr;
    lines_.OnPutted = nullptr;
    undoList_.OnAddedUndo = nullptr;
    redoList_.OnAddedUndo = nullptr;
}

void TCustomOstEdit::SetClipboard(Clipboard* clipboard)
{
    clipboard_ = clipboard ? clipboard : &ProcessClipboard();
}

// ---- properties ---------------------------------------------------------------

void TCustomOstEdit::SetOptions(TOstEditorOptions value)
{
    if (value == options_)
        return;
    const bool specialCharsChanged = value.has(eoShowSpecialChars) != options_.has(eoShowSpecialChars);
    const bool scrollPastEolChanged = value.has(eoScrollPastEol) != options_.has(eoScrollPastEol);
    options_ = value;
    TOstPaintLockGuard lock(*this);
    if (scrollPastEolChanged)
        SetLeftChar(leftChar_);
    if (!options_.has(eoScrollPastEol))
        SetCaretXYEx(false, CaretXY());
    if (specialCharsChanged)
        InvalidateAll();
    if (host_)
        host_->UpdateScrollBars();
}

void TCustomOstEdit::SetOption(TOstEditorOption o, bool on)
{
    TOstEditorOptions value = options_;
    value.set(o, on);
    SetOptions(value);
}

void TCustomOstEdit::SetTabWidth(int value)
{
    value = std::clamp(value, 1, 256);
    if (value == tabWidth_)
        return;
    tabWidth_ = value;
    lines_.SetTabWidth(value);
    RewrapAll();
    InvalidateAll();
}

void TCustomOstEdit::SetMaxLineWidth(int value)
{
    value = std::clamp(value, 1, INT_MAX - 1);
    if (value == maxLineWidth_)
        return;
    maxLineWidth_ = value;
    if (host_)
        host_->UpdateScrollBars();
}

void TCustomOstEdit::SetInsertMode(bool value)
{
    if (value == insertMode_)
        return;
    insertMode_ = value;
    if (host_)
        host_->UpdateCaret();
    StatusChanged(scInsertMode);
}

void TCustomOstEdit::SetReadOnly(bool value)
{
    if (value == readOnly_)
        return;
    readOnly_ = value;
    StatusChanged(scReadOnly);
}

void TCustomOstEdit::SetSelectionMode(TOstSelectionMode value)
{
    if (value == selectionMode_)
        return;
    selectionMode_ = value;
    activeSelectionMode_ = value;
    ClampBlockToMode();
    if (SelAvail())
        InvalidateLines(BlockBegin().Line, BlockEnd().Line);
    StatusChanged(scSelection);
}

void TCustomOstEdit::ClampBlockToMode()
{
    // Ends that a column block may have in virtual space lie on their lines'
    // ends in the other modes, or deleting the selection would take less
    // than its undo puts back.
    blockBegin_ = ClampBlockPoint(blockBegin_);
    blockEnd_ = ClampBlockPoint(blockEnd_);
}

void TCustomOstEdit::SetActiveSelectionMode(TOstSelectionMode value)
{
    if (value == activeSelectionMode_)
        return;
    if (SelAvail())
        InvalidateLines(BlockBegin().Line, BlockEnd().Line);
    activeSelectionMode_ = value;
    ClampBlockToMode();
    if (SelAvail())
        InvalidateLines(BlockBegin().Line, BlockEnd().Line);
    StatusChanged(scSelection);
}

void TCustomOstEdit::SetMaxUndo(int value)
{
    if (value < 0)
        return;
    undoList_.SetMaxUndoActions(value);
    redoList_.SetMaxUndoActions(value);
}

// ---- paint lock and status ---------------------------------------------------------

void TCustomOstEdit::IncPaintLock()
{
    ++paintLock_;
}

void TCustomOstEdit::DecPaintLock()
{
    if (paintLock_ == 0)
        return;
    if (paintLock_ == 1 && !writtenLines_.empty())
        TrimWrittenLines();
    if (--paintLock_ != 0)
        return;
    if (host_) {
        host_->UpdateScrollBars();
        host_->UpdateCaret();
        if (invalidFirstRow_ > 0)
            host_->InvalidateRows(invalidFirstRow_, invalidLastRow_, invalidGutter_);
    }
    invalidFirstRow_ = invalidLastRow_ = 0;
    invalidGutter_ = false;
    if (pendingStatus_ != 0) {
        const TOstStatusChanges changes = pendingStatus_;
        pendingStatus_ = 0;
        if (OnStatusChange)
            OnStatusChange(changes);
    }
}

void TCustomOstEdit::StatusChanged(TOstStatusChanges changes)
{
    pendingStatus_ |= changes;
    if (paintLock_ == 0) {
        const TOstStatusChanges all = pendingStatus_;
        pendingStatus_ = 0;
        if (OnStatusChange)
            OnStatusChange(all);
    }
}

void TCustomOstEdit::InvalidateLines(int firstLine, int lastLine)
{
    if (firstLine > lastLine)
        std::swap(firstLine, lastLine);
    // A wrapped line repaints all its rows.
    InvalidateRows(LineToRow(std::max(firstLine, 1)), LineToRow(std::max(lastLine, 1) + 1) - 1);
}

void TCustomOstEdit::InvalidateRows(int firstRow, int lastRow)
{
    if (firstRow > lastRow)
        std::swap(firstRow, lastRow);
    // Only the rows on screen matter to the host.
    firstRow = std::max(firstRow, topLine_);
    lastRow = std::min(lastRow, topLine_ + linesInWindow_);
    if (firstRow > lastRow)
        return;
    if (paintLock_ > 0 || lines_.UpdateCount() > 0) {
        if (invalidFirstRow_ == 0) {
            invalidFirstRow_ = firstRow;
            invalidLastRow_ = lastRow;
        } else {
            invalidFirstRow_ = std::min(invalidFirstRow_, firstRow);
            invalidLastRow_ = std::max(invalidLastRow_, lastRow);
        }
        return;
    }
    if (host_)
        host_->InvalidateRows(firstRow, lastRow, false);
}

void TCustomOstEdit::InvalidateAll()
{
    if (paintLock_ > 0 || lines_.UpdateCount() > 0) {
        invalidFirstRow_ = topLine_;
        invalidLastRow_ = topLine_ + linesInWindow_;
        invalidGutter_ = true;
        return;
    }
    if (host_)
        host_->InvalidateAll();
}

// ---- buffer notifications ---------------------------------------------------------

void TCustomOstEdit::BufferChanging()
{
    IncPaintLock();
}

void TCustomOstEdit::BufferChanged()
{
    RescanDirtyLineStates();
    // The caret may now stand on lines that went away: put it back through
    // the clamping path, and keep the top line inside its limits.
    SetCaretXYEx(false, CaretXY());
    SetTopLine(topLine_);
    UpdateGutterWidth();  // auto-sized line numbers follow the line count
    if (bracketHighlight_)
        UpdateBracketPair();
    DecPaintLock();
}

void TCustomOstEdit::BufferCleared()
{
    writtenLines_.clear();
    statesDirtyFirst_ = statesDirtyLast_ = -1;
    undoList_.Clear();
    redoList_.Clear();
    caretX_ = caretY_ = 1;
    lastCaretX_ = 1;
    blockBegin_ = blockEnd_ = {1, 1};
    topLine_ = leftChar_ = 1;
    caretAtRowEnd_ = false;
    if (wordWrap_)
        wordWrap_->Reset();
    InvalidateAll();
    StatusChanged(scAll);
}

// The one place where what the editor keeps per line follows the lines the
// buffer inserted or deleted: the lines written by the edit, the line states
// still to scan, the word-wrap rows and, during the editor's own edits, the
// bookmarks. A mark stands on a line's text, so it goes down with lines
// inserted before it and up with lines deleted above it; one on a deleted
// line moves to the line above. The first line of an empty buffer moves none.
void TCustomOstEdit::BufferLinesMoved(int index, int count)
{
    const bool inserted = count > 0;
    const int moved = std::abs(count);
    if (inserted) {
        for (int& line : writtenLines_)
            if (line > index)
                line += moved;
        if (statesDirtyFirst_ >= 0 && index <= statesDirtyLast_)
            statesDirtyLast_ += moved;
        MarkLineStatesDirty(index, index + moved - 1);
        if (wordWrap_)
            wordWrap_->LinesInserted(index, moved);
        if (lineEdits_ > 0 && lines_.Count() > moved)
            marks_.LinesInserted(index + 1, moved);
    } else {
        std::erase_if(writtenLines_, [index, moved](int line) { return line > index && line <= index + moved; });
        for (int& line : writtenLines_)
            if (line > index + moved)
                line -= moved;
        if (statesDirtyFirst_ >= 0 && statesDirtyLast_ >= index)
            statesDirtyLast_ = std::max(index, statesDirtyLast_ - moved);
        MarkLineStatesDirty(index, index);
        if (wordWrap_)
            wordWrap_->LinesDeleted(index, moved);
        if (lineEdits_ > 0)
            marks_.LinesDeleted(index + 1, moved);
    }
    // Everything from the first moved line down shifts.
    InvalidateRows(LineToRow(index + 1), topLine_ + linesInWindow_);
    invalidGutter_ = true;
    if (inserted)
        GrowMaxLineWidth(index, moved);
}

void TCustomOstEdit::BufferLinesPutted(int index, int count)
{
    MarkLineStatesDirty(index, index + count - 1);
    // Lines that now take more or fewer rows move the rows below them.
    if (wordWrap_ && wordWrap_->LinesChanged(index, count) != 0) {
        InvalidateRows(LineToRow(index + 1), topLine_ + linesInWindow_);
        invalidGutter_ = true;
    } else
        InvalidateLines(index + 1, index + count);
    GrowMaxLineWidth(index, count);
}

void TCustomOstEdit::GrowMaxLineWidth(int index, int count)
{
    if (!options_.has(eoAutoSizeMaxLineWidth))
        return;
    for (int i = index; i < index + count; ++i)
        if (lines_.ExpandedWidth(i) > maxLineWidth_)
            SetMaxLineWidth(lines_.ExpandedWidth(i));
}

// ---- modified flag -----------------------------------------------------------------

bool TCustomOstEdit::Modified() const
{
    return !undoList_.IsAtSavedState();
}

void TCustomOstEdit::SetModified(bool value)
{
    const bool was = Modified();
    if (value) {
        undoList_.MarkModified();
    } else {
        if (options_.has(eoGroupUndo) && undoList_.CanUndo())
            undoList_.AddGroupBreak();
        undoList_.MarkTopAsSaved();
    }
    if (was != Modified() || !value)
        StatusChanged(scModified);
}

void TCustomOstEdit::BreakUndoGroup()
{
    if (options_.has(eoGroupUndo) && undoList_.CanUndo())
        undoList_.AddGroupBreak();
}

void TCustomOstEdit::UndoListAdded(bool isRedoList)
{
    StatusChanged(scModified);
    if (!isRedoList && !redoRunning_) {
        const TOstEditUndoItem* top = undoList_.PeekItem();
        if (top && top->ChangeReason != crGroupBreak)
            redoList_.Clear();
    }
    const TOstEditUndoList& list = isRedoList ? redoList_ : undoList_;
    if (list.BlockCount() == 0 && OnChange)
        OnChange();
}

// ---- text as a whole ------------------------------------------------------------------

std::string TCustomOstEdit::Text() const
{
    std::string text;
    for (int i = 0; i < lines_.Count(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += lines_.Get(i);
    }
    return text;
}

void TCustomOstEdit::SetText(std::string_view text)
{
    TOstPaintLockGuard lock(*this);
    SelectAll();
    SetSelText(text);
}

void TCustomOstEdit::ClearAll()
{
    lines_.ClearLines();
    marks_.Clear();
    SetModified(false);
}

}  // namespace ostrel
