// Copy, cut and paste through the platform's clipboard.

#include "editor/OstEdit.h"

namespace ostrel {

void TCustomOstEdit::CopyToClipboard()
{
    if (!SelAvail())
        return;
    // Column blocks always travel padded, so they paste back as rectangles.
    const bool pad = activeSelectionMode_ == smColumn || !options_.has(eoTrimTrailingSpaces);
    const std::string text = SelTextFor(BlockBegin(), BlockEnd(), activeSelectionMode_, pad);
    if (!clipboard_->put(text, static_cast<uint8_t>(activeSelectionMode_), Encoding()))
        throw EOstEditError("Clipboard copy operation failed");
}

void TCustomOstEdit::CutToClipboard()
{
    if (readOnly_ || !SelAvail())
        return;
    CopyToClipboard();
    TOstPaintLockGuard lock(*this);
    TOstUndoBlock block(undoList_);
    RecordDeleteOfSelection(crDeleteBackward);
    SetSelTextPrimitive(activeSelectionMode_, std::string_view());
}

bool TCustomOstEdit::CanPaste() const
{
    return !readOnly_ && clipboard_->hasText();
}

void TCustomOstEdit::PasteFromClipboard()
{
    if (readOnly_)
        return;
    const std::optional<ClipboardData> data = clipboard_->get();
    if (!data)
        throw EOstEditError("Clipboard paste operation failed.");
    TOstSelectionMode mode = activeSelectionMode_;
    if (data->blockMode && *data->blockMode <= smColumn)
        mode = static_cast<TOstSelectionMode>(*data->blockMode);
    std::string text;
    if (!TextForDocument(data->text, data->encoding, text))
        return;

    TOstPaintLockGuard lock(*this);
    {
        TOstUndoBlock block(undoList_);
        undoList_.AddChange(crPasteBegin, CaretXY(), CaretXY(), std::string(), smNormal);
        if (SelAvail())
            RecordDeleteOfSelection(crDeleteBackward);
        SetSelTextPrimitive(mode, text, true, crPaste);
        if (!text.empty() && mode != smColumn) {
            // Lines go in where the caret stood once the selection was gone,
            // which an empty column block need not begin at.
            const TBufferCoord start = mode == smLine ? TBufferCoord{1, lastInsertStart_.Line} : lastInsertStart_;
            undoList_.AddChange(crPaste, start, lastInsertEnd_, lastInsertTrimmed_, smNormal);
        }
        undoList_.AddChange(crPasteEnd, CaretXY(), CaretXY(), std::string(), smNormal);
    }
    if (options_.has(eoHideShowScrollbars) && host_)
        host_->UpdateScrollBars();
    EnsureCursorPosVisible();
    StatusChanged(scSelection);
}

}  // namespace ostrel
