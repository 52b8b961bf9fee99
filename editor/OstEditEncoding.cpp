// The document's encoding: text from outside brought into it, and the whole
// text rewritten in another one.

#include <algorithm>

#include "editor/OstEdit.h"

namespace ostrel {

bool TCustomOstEdit::TextForDocument(std::string_view text, TOstEncoding from, std::string& out)
{
    if (ConvertText(text, from, Encoding(), out) == std::string_view::npos)
        return true;
    // Nothing is ever put in as "?": the document may go over to an
    // encoding that holds every character, or the text stays out.
    if (!OnTextNotEncodable || !OnTextNotEncodable(ToUtf8(text, from)))
        return false;
    return ConvertText(text, from, Encoding(), out) == std::string_view::npos;
}

bool TCustomOstEdit::ConvertEncoding(TOstEncoding to, size_t* failedAt)
{
    if (readOnly_)
        return false;
    const std::string text = Text();
    std::string converted;
    const size_t failed = ConvertText(text, Encoding(), to, converted);
    if (failed != std::string_view::npos) {
        if (failedAt)
            *failedAt = failed;
        return false;
    }
    ReplaceWholeText(converted, to);
    return true;
}

void TCustomOstEdit::ReplaceWholeText(std::string_view text, TOstEncoding encoding)
{
    TOstPaintLockGuard lock(*this);
    BreakUndoGroup();
    undoList_.AddWholeText(CaretXY(), Text(), Encoding());
    ApplyWholeText(text, encoding, CaretXY());
}

// Caret and selection keep their lines and screen columns as far as they
// still exist, so that an insert waiting for the conversion still finds
// what it replaces.
void TCustomOstEdit::ApplyWholeText(std::string_view text, TOstEncoding encoding, TBufferCoord caret)
{
    TOstPaintLockGuard lock(*this);
    struct TPlace {
        int line;
        int column;
    };
    const auto placeOf = [this](TBufferCoord p) { return TPlace{p.Line, LineColumn(p)}; };
    const TPlace caretPlace = placeOf(caret);
    const TPlace anchor = placeOf(blockBegin_);
    const TPlace moving = placeOf(blockEnd_);
    lines_.SetEncoding(encoding);
    lines_.ReplaceAll(text);
    InvalidateAll();
    const auto positionOf = [this](TPlace place) {
        const int line = std::clamp(place.line, 1, std::max(lines_.Count(), 1));
        return ClampBlockPoint({CharAtLineColumn(line, place.column), line});
    };
    SetCaretAndSelection(positionOf(caretPlace), positionOf(anchor), positionOf(moving));
    StatusChanged(scAll);
}

void TCustomOstEdit::ReverseWholeText(const TOstEditUndoItem& item, TOstEditUndoList& opposite)
{
    opposite.AddWholeText(CaretXY(), Text(), Encoding());
    ApplyWholeText(item.ChangeStr, item.Encoding, item.ChangeStartPos);
}

}  // namespace ostrel
