#pragma once
// Marks: small pictures tied to lines of the editor control, among them the
// ten numbered bookmarks. The control's mark list owns its marks, keeps them
// in the order they were added and moves them when editing inserts or
// deletes lines.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/OstEditPaintTypes.h"

namespace ostrel {

class TCustomOstEdit;

class TOstEditMark {
public:
    TOstEditMark() = default;
    TOstEditMark(const TOstEditMark&) = delete;
    TOstEditMark& operator=(const TOstEditMark&) = delete;

    // Line and character, from 1.
    int Line() const { return line_; }
    void SetLine(int value);
    int Char() const { return char_; }
    void SetChar(int value) { char_ = value; }
    // The picture: an index into the bookmark image list, or into the
    // built-in bookmark pictures.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    // 0..9 for a bookmark, -1 for any other mark.
    int BookmarkNumber() const { return bookmarkNumber_; }
    void SetBookmarkNumber(int value) { bookmarkNumber_ = value; }
    bool IsBookmark() const { return bookmarkNumber_ >= 0; }
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    // Drawn from the built-in bookmark pictures instead of the image list.
    bool InternalImage() const { return internalImage_; }
    void SetInternalImage(bool value);
    // The control whose list holds the mark; none once the list let it go.
    TCustomOstEdit* Edit() const { return edit_; }

private:
    friend class TOstEditMarkList;
    void RepaintLines(int oldLine) const;
    // Changes how the mark looks and repaints its line.
    template <typename T>
    void ChangeLook(T& field, T value);

    TCustomOstEdit* edit_ = nullptr;  // not owned
    int line_ = 0;
    int char_ = 0;
    int imageIndex_ = 0;
    int bookmarkNumber_ = -1;
    bool visible_ = false;
    bool internalImage_ = false;
};

class TOstEditMarkList {
public:
    // The most marks a line reports.
    static constexpr int kMaxMarksPerLine = 16;

    explicit TOstEditMarkList(TCustomOstEdit& edit) : edit_(edit) {}
    TOstEditMarkList(const TOstEditMarkList&) = delete;
    TOstEditMarkList& operator=(const TOstEditMarkList&) = delete;

    int Count() const { return static_cast<int>(marks_.size()); }
    TOstEditMark& operator[](int index) { return *marks_.at(static_cast<size_t>(index)); }
    const TOstEditMark& operator[](int index) const { return *marks_.at(static_cast<size_t>(index)); }
    // Takes the mark over; it belongs to the control from now on.
    TOstEditMark& Add(std::unique_ptr<TOstEditMark> mark);
    // Destroys a mark of the list; a mark not in it is left alone.
    void Remove(const TOstEditMark* mark);
    // Hands a mark of the list back to the caller, without a control.
    std::unique_ptr<TOstEditMark> Extract(const TOstEditMark* mark);
    void Clear();
    void ClearLine(int line);

    // The marks of a line in list order, at most kMaxMarksPerLine.
    std::vector<TOstEditMark*> GetMarksForLine(int line) const;
    // The first mark carrying the bookmark number, or none.
    TOstEditMark* FindBookmark(int number) const;

    // Editing inserted count lines before line firstLine: marks from there
    // on move down.
    void LinesInserted(int firstLine, int count);
    // Editing removed lines firstLine..firstLine + count - 1 (a join takes
    // what is left of them into the line above): marks on the removed lines
    // go to that line above, marks below them move up.
    void LinesDeleted(int firstLine, int count);

private:
    std::vector<std::unique_ptr<TOstEditMark>>::iterator Find(const TOstEditMark* mark);
    void Changed();

    TCustomOstEdit& edit_;
    std::vector<std::unique_ptr<TOstEditMark>> marks_;
};

// Events of bookmarks and of the gutter.
using TOstPlaceMarkEvent = std::function<void(TOstEditMark& mark, bool& accept)>;
using TOstMarkEvent = std::function<void(TOstEditMark& mark)>;
using TOstGutterGetTextEvent = std::function<void(int line, std::string& text)>;
// x is where the line's marks end, y the top of its row.
using TOstGutterPaintEvent = std::function<void(Canvas& canvas, int line, int x, int y)>;
using TOstGutterClickEvent =
    std::function<void(TOstMouseButton button, int x, int y, int line, TOstEditMark* mark)>;

}  // namespace ostrel
