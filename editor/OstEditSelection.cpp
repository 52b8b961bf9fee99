// The selection and the editing primitive that replaces it with text.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "editor/OstEdit.h"
#include "editor/OstTextLines.h"

namespace ostrel {

namespace {

constexpr std::string_view kCrLf = "\r\n";

std::string_view TrimRight(std::string_view s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

int Len(std::string_view s)
{
    return static_cast<int>(s.size());
}

// Characters from..to-1 (from 1) of a line, clamped to the line.
std::string_view Slice(std::string_view line, int from, int to)
{
    from = std::clamp(from, 1, Len(line) + 1);
    to = std::clamp(to, from, Len(line) + 1);
    return line.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from));
}

}  // namespace

std::string TCustomOstEdit::TrimWritten(std::string_view line) const
{
    if (options_.has(eoTrimTrailingSpaces) && trimSuspended_ == 0)
        return std::string(TrimRight(line));
    return std::string(line);
}

void TCustomOstEdit::WriteLine(int line, std::string_view text)
{
    // A line that an edit leaves as it was is not written at all: its
    // trailing blanks are not the edit's business.
    if (line >= 1 && line <= lines_.Count() && lines_.Get(line - 1) == text)
        return;
    TOstPaintLockGuard lock(*this);
    lines_.SetLine(line - 1, text);
    NoteWrittenLine(line);
}

void TCustomOstEdit::InsertWrittenLine(int index, std::string_view text)
{
    TOstPaintLockGuard lock(*this);
    lines_.InsertLine(index, text);
    NoteWrittenLine(index + 1);
}

// Trimming waits until the edit is complete (the outermost paint lock ends):
// every item the edit recorded then describes the text as the edit left it,
// and the blanks trimming takes are recorded after them, so undo puts them
// back first and exactly.
void TCustomOstEdit::NoteWrittenLine(int line)
{
    if (options_.has(eoTrimTrailingSpaces) && trimSuspended_ == 0)
        writtenLines_.push_back(line);
}

void TCustomOstEdit::TrimWrittenLines()
{
    if (writtenLines_.empty())
        return;
    std::vector<int> written;
    written.swap(writtenLines_);
    bool trimmed = false;
    std::sort(written.begin(), written.end());
    written.erase(std::unique(written.begin(), written.end()), written.end());
    // The caret stays at the screen column where the edit left it, in
    // virtual space if need be: in blanks that are gone, a TAB's columns
    // become as many characters beyond the end.
    ScrollPastEolScope pastEol(*this);
    const TBufferCoord caret = CaretXY();
    int caretColumn = -1;
    for (const int line : written) {
        if (line < 1 || line > lines_.Count())
            continue;
        const std::string_view text = lines_.Get(line - 1);
        const std::string_view kept = TrimRight(text);
        if (kept.size() == text.size())
            continue;
        const std::string blanks(text.substr(kept.size()));
        const int keptLength = Len(kept);
        if (line == caret.Line && caret.Char > keptLength + 1)
            caretColumn = lines_.Chars().ColumnOf(text, static_cast<size_t>(caret.Char - 1), tabWidth_);
        lines_.SetLine(line - 1, kept);
        undoList_.AddToNewestGroup(crWhiteSpaceDelete, {keptLength + 1, line},
                                   {keptLength + 1 + Len(blanks), line}, blanks);
        trimmed = true;
    }
    if (caretColumn >= 0)
        SetCaretXYEx(false, {CharAtLineColumn(caret.Line, caretColumn + 1), caret.Line});
    // A selection never ends inside blanks that are gone.
    if (trimmed && SelAvail())
        ClampBlockToMode();
}

// ---- selection ends ------------------------------------------------------------------

TBufferCoord TCustomOstEdit::BlockBegin() const
{
    return std::min(blockBegin_, blockEnd_);
}

TBufferCoord TCustomOstEdit::BlockEnd() const
{
    return std::max(blockBegin_, blockEnd_);
}

bool TCustomOstEdit::SelAvail() const
{
    return blockBegin_.Char != blockEnd_.Char ||
           (blockBegin_.Line != blockEnd_.Line && activeSelectionMode_ != smColumn);
}

// ---- column blocks ----------------------------------------------------------------------

int TCustomOstEdit::CharAtColumnCeil(int line, int column) const
{
    const int at = CharAtLineColumn(line, column);
    return LineColumn({at, line}) < column ? NextCharPos(line, at) : at;
}

void TCustomOstEdit::ColumnBlockColumns(TBufferCoord a, TBufferCoord b, int& left, int& right) const
{
    const int ca = LineColumn(a);
    const int cb = LineColumn(b);
    left = std::min(ca, cb);
    right = std::max(ca, cb);
}

// The block's top left: where its text goes back. The end standing at the
// left column keeps its place when the block is removed, and the other end
// then lies no further left, so this holds before and after removing it.
TBufferCoord TCustomOstEdit::ColumnBlockStart(TBufferCoord a, TBufferCoord b) const
{
    int left = 0, right = 0;
    ColumnBlockColumns(a, b, left, right);
    const int top = std::min(a.Line, b.Line);
    return {CharAtColumnCeil(top, left), top};
}

TBufferCoord TCustomOstEdit::ClampBlockPoint(TBufferCoord p) const
{
    p.Line = std::clamp(p.Line, 1, std::max(lines_.Count(), 1));
    const int lineEnd = Len(lines_.Get(p.Line - 1)) + 1;
    // Virtual space ends at the maximum width; the text itself never does.
    int maxChar = std::max(maxLineWidth_ + 1, lineEnd);
    if (activeSelectionMode_ == smNormal)
        maxChar = lineEnd;
    p.Char = std::clamp(p.Char, 1, maxChar);
    if (!exactPositions_)
        p.Char = SnapCharPos(p.Line, p.Char);
    return p;
}

void TCustomOstEdit::SetBlockBegin(TBufferCoord p)
{
    EndMatchSelection();
    p = ClampBlockPoint(p);
    TOstPaintLockGuard lock(*this);
    if (SelAvail())
        InvalidateLines(blockBegin_.Line, blockEnd_.Line);
    blockBegin_ = blockEnd_ = p;
    StatusChanged(scSelection);
}

void TCustomOstEdit::SetBlockEnd(TBufferCoord p)
{
    if (options_.has(eoNoSelection))
        return;
    p = ClampBlockPoint(p);
    if (p == blockEnd_)
        return;
    TOstPaintLockGuard lock(*this);
    if (activeSelectionMode_ == smColumn)
        InvalidateLines(std::min({blockBegin_.Line, blockEnd_.Line, p.Line}),
                        std::max({blockBegin_.Line, blockEnd_.Line, p.Line}));
    else
        InvalidateLines(blockEnd_.Line, p.Line);
    blockEnd_ = p;
    StatusChanged(scSelection);
}

void TCustomOstEdit::MoveCaretAndSelection(TBufferCoord start, TBufferCoord newPos, bool selectionCommand)
{
    if (options_.has(eoGroupUndo) && undoList_.CanUndo())
        undoList_.AddGroupBreak();
    TOstPaintLockGuard lock(*this);
    if (selectionCommand) {
        if (!SelAvail())
            SetBlockBegin(start);
        TBufferCoord end = newPos;
        if (activeSelectionMode_ == smColumn && newPos.Char == start.Char)
            end.Char = newPos.Char + 1;
        SetBlockEnd(end);
    } else {
        SetBlockBegin(newPos);
    }
    SetCaretXYEx(true, newPos);
}

void TCustomOstEdit::SelectAll()
{
    if (options_.has(eoNoSelection))
        return;
    EndMatchSelection();
    const int count = lines_.Count();
    const TBufferCoord last{count > 0 ? Len(lines_.Get(count - 1)) + 1 : 1, std::max(count, 1)};
    TOstPaintLockGuard lock(*this);
    SetCaretXYEx(true, last);
    blockBegin_ = {1, 1};
    blockEnd_ = last;
    InvalidateAll();
    StatusChanged(scSelection);
}

std::string TCustomOstEdit::LineText() const
{
    return std::string(lines_.Get(caretY_ - 1));
}

void TCustomOstEdit::SetLineText(std::string_view text)
{
    if (caretY_ >= 1 && caretY_ <= std::max(1, lines_.Count()))
        lines_.SetLine(caretY_ - 1, text);
}

// ---- selection as flat offsets ----------------------------------------------------------

namespace {

int RowColToCharIndex(const TOstEditStringList& lines, TBufferCoord p)
{
    int index = 0;
    const int last = std::min(p.Line - 1, lines.Count());
    for (int i = 0; i < last; ++i)
        index += Len(lines.Get(i)) + 2;
    return index + p.Char - 1;
}

TBufferCoord CharIndexToRowCol(const TOstEditStringList& lines, int index)
{
    int start = 0;
    for (int i = 0; i < lines.Count(); ++i) {
        const int len = Len(lines.Get(i));
        if (index <= start + len)
            return {index - start + 1, i + 1};
        start += len + 2;
    }
    const int count = lines.Count();
    return {count > 0 ? Len(lines.Get(count - 1)) + 1 : 1, std::max(count, 1)};
}

}  // namespace

int TCustomOstEdit::SelStart() const
{
    return RowColToCharIndex(lines_, BlockBegin());
}

int TCustomOstEdit::SelEnd() const
{
    return RowColToCharIndex(lines_, BlockEnd());
}

void TCustomOstEdit::SetSelStart(int value)
{
    TOstPaintLockGuard lock(*this);
    SetCaretXYEx(true, CharIndexToRowCol(lines_, value));
    SetBlockBegin(CaretXY());
}

void TCustomOstEdit::SetSelEnd(int value)
{
    TOstPaintLockGuard lock(*this);
    SetCaretXYEx(true, CharIndexToRowCol(lines_, value));
    SetBlockEnd(CaretXY());
}

// ---- selected text ----------------------------------------------------------------------

std::string TCustomOstEdit::SelTextFor(TBufferCoord begin, TBufferCoord end, TOstSelectionMode mode,
                                       bool padColumns) const
{
    std::string text;
    switch (mode) {
    case smNormal:
        if (begin.Line == end.Line)
            return std::string(Slice(lines_.Get(begin.Line - 1), begin.Char, end.Char));
        text = Slice(lines_.Get(begin.Line - 1), begin.Char, INT32_MAX);
        for (int line = begin.Line + 1; line < end.Line; ++line) {
            text += kCrLf;
            text += lines_.Get(line - 1);
        }
        text += kCrLf;
        text += Slice(lines_.Get(end.Line - 1), 1, end.Char);
        return text;
    case smLine:
        for (int line = begin.Line; line <= end.Line; ++line) {
            text += lines_.Get(line - 1);
            if (line < lines_.Count())
                text += kCrLf;
        }
        return text;
    case smColumn: {
        // On one line the block is the text between its ends, as the undo
        // items of column inserts (one a row) record it.
        if (begin.Line == end.Line) {
            const int from = std::min(begin.Char, end.Char);
            const int to = std::max(begin.Char, end.Char);
            text = Slice(lines_.Get(begin.Line - 1), from, to);
            if (padColumns)
                text.append(static_cast<size_t>(std::max(0, to - from - Len(text))), ' ');
            return text;
        }
        int left = 0, right = 0;
        ColumnBlockColumns(begin, end, left, right);
        for (int line = begin.Line; line <= end.Line; ++line) {
            if (line > begin.Line)
                text += kCrLf;
            const std::string_view s = lines_.Get(line - 1);
            const int from = CharAtColumnCeil(line, left);
            const int to = CharAtColumnCeil(line, right);
            text += Slice(s, from, to);
            if (padColumns) {
                const int shown = LineColumn({std::min(to, Len(s) + 1), line}) -
                                  LineColumn({std::min(from, Len(s) + 1), line});
                text.append(static_cast<size_t>(std::max(right - left - shown, 0)), ' ');
            }
        }
        return text;
    }
    }
    return text;
}

std::string TCustomOstEdit::SelText() const
{
    if (!SelAvail())
        return std::string();
    return SelTextFor(BlockBegin(), BlockEnd(), activeSelectionMode_,
                      !options_.has(eoTrimTrailingSpaces));
}

std::string TCustomOstEdit::UndoTextOfSelection() const
{
    // Undo puts back exactly the bytes that went: column rows are never
    // padded here, or undoing would leave blanks that were not there.
    return SelTextFor(BlockBegin(), BlockEnd(), activeSelectionMode_, false);
}

void TCustomOstEdit::RecordDeleteOfSelection(TOstChangeReason reason)
{
    // A plain selection's ends count from the text they stand in: undo puts
    // the text back there, not after blanks added up to a place beyond it.
    TBufferCoord anchor = blockBegin_;
    TBufferCoord moving = blockEnd_;
    if (activeSelectionMode_ == smNormal) {
        anchor.Char = std::min(anchor.Char, Len(lines_.Get(anchor.Line - 1)) + 1);
        moving.Char = std::min(moving.Char, Len(lines_.Get(moving.Line - 1)) + 1);
    }
    undoList_.AddChange(reason, anchor, moving, UndoTextOfSelection(), activeSelectionMode_);
}

void TCustomOstEdit::SetSelText(std::string_view text)
{
    if (readOnly_)
        return;
    TOstPaintLockGuard lock(*this);
    TOstUndoBlock block(undoList_);
    if (SelAvail())
        RecordDeleteOfSelection(crDeleteBackward);
    // Column inserts record one item per row themselves.
    SetSelTextPrimitive(selectionMode_, text, true);
    if (!text.empty() && selectionMode_ != smColumn) {
        TBufferCoord start = selectionMode_ == smLine ? TBufferCoord{1, lastInsertStart_.Line} : lastInsertStart_;
        undoList_.AddChange(crInsert, start, lastInsertEnd_, lastInsertTrimmed_, smNormal);
    }
}

void TCustomOstEdit::ClearSelection()
{
    if (SelAvail())
        SetSelText(std::string_view());
}

// ---- the editing primitive ------------------------------------------------------------------

void TCustomOstEdit::SetSelTextPrimitive(TOstSelectionMode mode, std::string_view text, bool addToUndo,
                                         TOstChangeReason columnReason, int column)
{
    TOstPaintLockGuard lock(*this);
    const LineEditScope edit(*this);
    TOstBufferUpdateGuard update(lines_);
    const TBufferCoord bb = BlockBegin();
    const TBufferCoord be = BlockEnd();
    if (SelAvail()) {
        if (column == 0 && activeSelectionMode_ == smColumn) {
            int right = 0;
            ColumnBlockColumns(bb, be, column, right);
        }
        DeleteSelectionText(bb, be);
        // A column block that only goes leaves the caret on its last line.
        if (text.empty() && activeSelectionMode_ == smColumn && be.Line > bb.Line)
            InternalSetCaretXY({CharAtColumnCeil(be.Line, column), be.Line});
    }
    lastInsertStart_ = lastInsertEnd_ = CaretXY();
    lastInsertTrimmed_.clear();
    if (!text.empty()) {
        switch (mode) {
        case smNormal: InsertNormal(text); break;
        case smLine: InsertLineMode(text); break;
        case smColumn: InsertColumn(text, addToUndo, columnReason, column); break;
        }
    }
    blockBegin_ = blockEnd_ = CaretXY();
    EndMatchSelection();
    StatusChanged(scSelection);
}

void TCustomOstEdit::DeleteSelectionText(TBufferCoord bb, TBufferCoord be)
{
    switch (activeSelectionMode_) {
    case smNormal: {
        if (bb.Char == 1 && be.Char == 1 && be.Line > bb.Line) {
            // Whole lines: the first line takes the text of the line after
            // them as it stands (no trimming), and the lines below it go, so
            // that marks on the first line stay there.
            lines_.SetLine(bb.Line - 1, std::string(lines_.Get(be.Line - 1)));
            lines_.DeleteBlock(bb.Line, be.Line - bb.Line);
            InternalSetCaretXY(bb);
            break;
        }
        const std::string joined = std::string(Slice(lines_.Get(bb.Line - 1), 1, bb.Char)) +
                                   std::string(Slice(lines_.Get(be.Line - 1), be.Char, INT32_MAX));
        WriteLine(bb.Line, joined);
        if (be.Line > bb.Line)
            lines_.DeleteBlock(bb.Line, be.Line - bb.Line);
        InternalSetCaretXY(bb);
        break;
    }
    case smLine: {
        int first = bb.Line;
        int last = std::min(be.Line, lines_.Count());
        if (last == lines_.Count() && last >= first) {
            lines_.SetLine(last - 1, std::string_view());
            --last;
        }
        if (last >= first)
            lines_.DeleteBlock(first - 1, last - first + 1);
        InternalSetCaretXY({1, bb.Line});
        break;
    }
    case smColumn: {
        if (bb.Line == be.Line) {
            const std::string_view s = lines_.Get(bb.Line - 1);
            const int from = std::min(bb.Char, be.Char);
            const int to = std::max(bb.Char, be.Char);
            if (Len(s) >= from)
                WriteLine(bb.Line, std::string(Slice(s, 1, from)) + std::string(Slice(s, to, INT32_MAX)));
            InternalSetCaretXY({from, bb.Line});
            break;
        }
        int left = 0, right = 0;
        ColumnBlockColumns(bb, be, left, right);
        const TBufferCoord start = ColumnBlockStart(bb, be);
        for (int line = bb.Line; line <= be.Line; ++line) {
            const std::string_view s = lines_.Get(line - 1);
            const int from = CharAtColumnCeil(line, left);
            if (Len(s) < from)
                continue;
            const int to = CharAtColumnCeil(line, right);
            WriteLine(line, std::string(Slice(s, 1, from)) + std::string(Slice(s, to, INT32_MAX)));
        }
        InternalSetCaretXY(start);
        break;
    }
    }
}

void TCustomOstEdit::InsertNormal(std::string_view text)
{
    const std::string_view line = lines_.Get(caretY_ - 1);
    const int oldLength = Len(line);
    std::string left(Slice(line, 1, caretX_));
    if (Len(left) < caretX_ - 1)
        left.append(static_cast<size_t>(caretX_ - 1 - Len(left)), ' ');
    const std::string right(Slice(line, caretX_, INT32_MAX));
    lastInsertStart_ = {std::min(caretX_, Len(line) + 1), caretY_};

    const std::vector<std::string_view> parts = SplitTextLines(text);
    const int firstLine = caretY_;
    const int lastLine = firstLine + static_cast<int>(parts.size()) - 1;
    std::string lastText;
    if (parts.size() == 1) {
        lastText = left + std::string(parts[0]);
    } else {
        // Inserted at the start of a line, the new lines come before it, and
        // the line's marks go down with its text.
        const int added = static_cast<int>(parts.size()) - 1;
        if (caretX_ == 1 && firstLine <= lines_.Count()) {
            lines_.InsertBlankLines(firstLine - 1, added);
            WriteLine(firstLine, parts[0]);
        } else {
            WriteLine(firstLine, left + std::string(parts[0]));
            lines_.InsertBlankLines(firstLine, added);
        }
        for (size_t i = 1; i + 1 < parts.size(); ++i)
            WriteLine(firstLine + static_cast<int>(i), parts[i]);
        lastText = std::string(parts.back());
    }
    WriteLine(lastLine, lastText + right);
    NoteTrimmedLeft(oldLength, left, Len(lines_.Get(firstLine - 1)));
    // The caret stands right after the inserted text; trimming, which comes
    // when the edit is complete, leaves it there.
    const int newCaretX = Len(lastText) + 1;
    lastInsertEnd_ = {newCaretX, lastLine};
    SetCaretXYEx(true, lastInsertEnd_);
}

void TCustomOstEdit::NoteTrimmedLeft(int oldLineLength, const std::string& left, int storedLength)
{
    // Trimming may take blanks that stood before the insert point (they are
    // trailing once a line break follows them). The insert's undo item then
    // starts where the stored line ends and carries those blanks, so undoing
    // puts them back exactly.
    const int original = std::min(Len(left), oldLineLength);
    if (storedLength < original) {
        lastInsertStart_ = {storedLength + 1, lastInsertStart_.Line};
        lastInsertTrimmed_ = left.substr(static_cast<size_t>(storedLength), static_cast<size_t>(original - storedLength));
    }
}

void TCustomOstEdit::InsertLineMode(std::string_view text)
{
    const std::vector<std::string_view> parts = SplitTextLines(text);
    int line = caretY_;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        InsertWrittenLine(std::min(line - 1, lines_.Count()), parts[i]);
        ++line;
    }
    const std::string_view lastPart = parts.back();
    if (!lastPart.empty()) {
        if (line > lines_.Count())
            InsertWrittenLine(lines_.Count(), lastPart);
        else
            WriteLine(line, std::string(lastPart) + std::string(lines_.Get(line - 1)));
    }
    lastInsertEnd_ = {Len(lastPart) + 1, line};
    SetCaretXYEx(true, lastInsertEnd_);
}

void TCustomOstEdit::AddLineForColumn(bool addToUndo)
{
    // Recorded as a line break after the line above, so that undoing removes
    // exactly this line.
    const int above = lines_.Count();
    if (addToUndo)
        undoList_.AddChange(crLineBreak, {Len(lines_.Get(above - 1)) + 1, above}, {1, above + 1}, std::string(),
                            smColumn);
    lines_.AddLine(std::string_view());
}

void TCustomOstEdit::InsertColumn(std::string_view text, bool addToUndo, TOstChangeReason reason, int column)
{
    // Every row goes in at one screen column, wherever that falls in the
    // characters of its line.
    const std::vector<std::string_view> rows = SplitTextLines(text);
    if (column <= 0)
        column = LineColumn(CaretXY());
    int line = caretY_;
    int lastEnd = caretX_;
    for (size_t i = 0; i < rows.size(); ++i, ++line) {
        const std::string_view row = rows[i];
        const int insertPos = line > lines_.Count() ? column : CharAtColumnCeil(line, column);
        lastEnd = insertPos + Len(row);
        if (row.empty())
            continue;
        TBufferCoord undoStart{insertPos, line};
        if (line > lines_.Count()) {
            // Rows below the last line need new lines, empty rows between
            // included, so the block keeps its shape.
            while (lines_.Count() < line)
                AddLineForColumn(addToUndo);
            WriteLine(line, std::string(static_cast<size_t>(insertPos - 1), ' ') + std::string(row));
            undoStart.Char = 1;
        } else {
            std::string s(lines_.Get(line - 1));
            undoStart.Char = std::min(insertPos, Len(s) + 1);
            if (Len(s) < insertPos - 1)
                s.append(static_cast<size_t>(insertPos - 1 - Len(s)), ' ');
            s.insert(static_cast<size_t>(insertPos - 1), row);
            WriteLine(line, s);
        }
        if (addToUndo)
            undoList_.AddChange(reason, undoStart, {insertPos + Len(row), line}, std::string(), smColumn);
    }
    const int lastLine = caretY_ + static_cast<int>(rows.size()) - 1;
    lastInsertEnd_ = {lastEnd, lastLine};
    SetCaretXYEx(true, lastInsertEnd_);
}

}  // namespace ostrel
