// Marks and the mark list, the control's bookmarks, its gutter width and
// gutter clicks, and the bookmark commands.

#include "editor/OstEditMarks.h"

#include <algorithm>

#include "editor/OstEdit.h"

namespace ostrel {

namespace {

bool IsBookmarkNumber(int number)
{
    return number >= 0 && number <= 9;
}

}  // namespace

// ---- a mark --------------------------------------------------------------------------

void TOstEditMark::RepaintLines(int oldLine) const
{
    if (edit_)
        edit_->InvalidateGutterLines(oldLine, line_);
}

void TOstEditMark::SetLine(int value)
{
    if (value == line_)
        return;
    const int old = line_;
    line_ = value;
    RepaintLines(old);
}

template <typename T>
void TOstEditMark::ChangeLook(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    RepaintLines(line_);
}

void TOstEditMark::SetImageIndex(int value) { ChangeLook(imageIndex_, value); }
void TOstEditMark::SetVisible(bool value) { ChangeLook(visible_, value); }
void TOstEditMark::SetInternalImage(bool value) { ChangeLook(internalImage_, value); }

// ---- the mark list -------------------------------------------------------------------

TOstEditMark& TOstEditMarkList::Add(std::unique_ptr<TOstEditMark> mark)
{
    mark->edit_ = &edit_;
    marks_.push_back(std::move(mark));
    Changed();
    return *marks_.back();
}

std::vector<std::unique_ptr<TOstEditMark>>::iterator TOstEditMarkList::Find(const TOstEditMark* mark)
{
    return std::find_if(marks_.begin(), marks_.end(), [mark](const auto& m) { return m.get() == mark; });
}

void TOstEditMarkList::Remove(const TOstEditMark* mark)
{
    const auto it = Find(mark);
    if (it == marks_.end())
        return;
    marks_.erase(it);
    Changed();
}

std::unique_ptr<TOstEditMark> TOstEditMarkList::Extract(const TOstEditMark* mark)
{
    const auto it = Find(mark);
    if (it == marks_.end())
        return nullptr;
    std::unique_ptr<TOstEditMark> taken = std::move(*it);
    marks_.erase(it);
    taken->edit_ = nullptr;
    Changed();
    return taken;
}

void TOstEditMarkList::Clear()
{
    if (marks_.empty())
        return;
    marks_.clear();
    Changed();
}

void TOstEditMarkList::ClearLine(int line)
{
    const auto removed = std::erase_if(marks_, [line](const auto& m) { return m->Line() == line; });
    if (removed > 0)
        Changed();
}

std::vector<TOstEditMark*> TOstEditMarkList::GetMarksForLine(int line) const
{
    std::vector<TOstEditMark*> result;
    for (const auto& m : marks_) {
        if (m->Line() != line)
            continue;
        result.push_back(m.get());
        if (static_cast<int>(result.size()) == kMaxMarksPerLine)
            break;
    }
    return result;
}

TOstEditMark* TOstEditMarkList::FindBookmark(int number) const
{
    if (!IsBookmarkNumber(number))
        return nullptr;
    for (const auto& m : marks_)
        if (m->BookmarkNumber() == number)
            return m.get();
    return nullptr;
}

void TOstEditMarkList::LinesInserted(int firstLine, int count)
{
    for (const auto& m : marks_)
        if (m->Line() >= firstLine)
            m->SetLine(m->Line() + count);
}

void TOstEditMarkList::LinesDeleted(int firstLine, int count)
{
    const int above = std::max(firstLine - 1, 1);
    for (const auto& m : marks_) {
        if (m->Line() >= firstLine + count)
            m->SetLine(m->Line() - count);
        else if (m->Line() >= firstLine)
            m->SetLine(above);
    }
}

void TOstEditMarkList::Changed()
{
    edit_.InvalidateGutter();
}

// ---- the control: mark hooks, gutter width and repainting ----------------------------

void TCustomOstEdit::ConnectGutter()
{
    gutter_.OnChange.Set([this] {
        UpdateGutterWidth();
        InvalidateGutter();
    });
    bookMarkOpt_.OnChange.Set([this] { InvalidateGutter(); });
    wordWrapGlyph_.OnChange.Set([this] { InvalidateGutter(); });
    UpdateGutterWidth();
}

void TCustomOstEdit::UpdateGutterWidth()
{
    const int width = gutter_.RealGutterWidth(charWidth_, lines_.Count());
    if (width == gutterWidth_)
        return;
    TOstPaintLockGuard lock(*this);
    SetGutterWidth(width);
    UpdateWindowCounts();
}

void TCustomOstEdit::InvalidateGutterLines(int firstLine, int lastLine)
{
    // Under the lock the rows are collected with the gutter flag and
    // repainted together when it ends.
    TOstPaintLockGuard lock(*this);
    InvalidateLines(firstLine, lastLine);
    invalidGutter_ = true;
}

void TCustomOstEdit::InvalidateGutter()
{
    TOstPaintLockGuard lock(*this);
    InvalidateRows(topLine_, topLine_ + linesInWindow_);
    invalidGutter_ = true;
}

// ---- bookmarks ------------------------------------------------------------------------------

bool TCustomOstEdit::SetBookMark(int number, TBufferCoord at)
{
    if (!IsBookmarkNumber(number) || at.Line < 1 || at.Line > std::max(1, lines_.Count()))
        return false;
    auto mark = std::make_unique<TOstEditMark>();
    mark->SetLine(at.Line);
    mark->SetChar(at.Char);
    mark->SetImageIndex(number);
    mark->SetBookmarkNumber(number);
    mark->SetVisible(true);
    mark->SetInternalImage(!bookMarkOpt_.BookmarkImages().has_value());
    bool accept = true;
    if (OnPlaceBookmark)
        OnPlaceBookmark(*mark, accept);
    if (!accept)
        return false;
    TOstPaintLockGuard lock(*this);
    ClearBookMark(number);
    marks_.Add(std::move(mark));
    return true;
}

void TCustomOstEdit::ClearBookMark(int number)
{
    TOstEditMark* mark = marks_.FindBookmark(number);
    if (!mark)
        return;
    if (OnClearBookmark)
        OnClearBookmark(*mark);
    marks_.Remove(mark);
}

std::optional<TBufferCoord> TCustomOstEdit::GetBookMark(int number) const
{
    const TOstEditMark* mark = marks_.FindBookmark(number);
    if (!mark)
        return std::nullopt;
    return TBufferCoord{mark->Char(), mark->Line()};
}

void TCustomOstEdit::GotoBookMark(int number)
{
    const TOstEditMark* mark = marks_.FindBookmark(number);
    if (!mark || mark->Line() < 1 || mark->Line() > lines_.Count())
        return;
    TOstPaintLockGuard lock(*this);
    SetCaretXYEx(false, {mark->Char(), mark->Line()});
    EnsureCursorPosVisibleEx(true);
    // The caret stays; only the selection collapses at it.
    SetCaretXY(CaretXY());
}

void TCustomOstEdit::ToggleBookMark(int number, TBufferCoord at)
{
    const TOstEditMark* mark = marks_.FindBookmark(number);
    if (mark && mark->Line() == at.Line)
        ClearBookMark(number);
    else
        SetBookMark(number, at);
}

void TCustomOstEdit::ExecuteMarkerCommand(TOstEditorCommand command, const void* data)
{
    if (!bookMarkOpt_.EnableKeys())
        return;
    if (command >= ecGotoMarker0 && command <= ecGotoMarker9) {
        GotoBookMark(command - ecGotoMarker0);
    } else if (command >= ecSetMarker0 && command <= ecSetMarker9) {
        const TBufferCoord at = data ? *static_cast<const TBufferCoord*>(data) : CaretXY();
        ToggleBookMark(command - ecSetMarker0, at);
    }
}

// ---- gutter clicks ----------------------------------------------------------------------------

void TCustomOstEdit::GutterMouseDown(TOstMouseButton button, int x, int y)
{
    gutterPressed_ = false;
    if (x >= gutterWidth_)
        return;
    if (button == mbRight)
        DoGutterClick(button, x, y);
    else
        gutterPressed_ = true;
}

void TCustomOstEdit::GutterMouseUp(TOstMouseButton button, int x, int y)
{
    const bool pressed = gutterPressed_;
    gutterPressed_ = false;
    if (pressed && button != mbRight && x < gutterWidth_)
        DoGutterClick(button, x, y);
}

void TCustomOstEdit::DoGutterClick(TOstMouseButton button, int x, int y)
{
    if (!OnGutterClick)
        return;
    const int line = RowToLine(PixelsToRowColumn(x, y).Row);
    if (line > lines_.Count())
        return;
    // The marks of a line sit side by side, one x offset apart.
    TOstEditMark* hit = nullptr;
    int right = 0;
    for (TOstEditMark* mark : marks_.GetMarksForLine(line)) {
        right += bookMarkOpt_.XOffset();
        if (x < right) {
            hit = mark;
            break;
        }
    }
    OnGutterClick(button, x, y, line, hit);
}

}  // namespace ostrel
