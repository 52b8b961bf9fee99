// The highlighter of the control and the line states stored in the buffer.
//
// Each line's range in the buffer holds the highlighter's state at the end of
// that line, so painting any line can start from the line above. After an
// edit the lines from the first changed one are rescanned until a line past
// the change ends in the state it had before: from there on nothing differs.

#include <algorithm>

#include "editor/OstEdit.h"

namespace ostrel {

void TCustomOstEdit::SetHighlighter(TOstCustomHighlighter* highlighter)
{
    if (highlighter == highlighter_)
        return;
    if (highlighter_)
        highlighter_->RemoveChangeListener(this);
    highlighter_ = highlighter;
    if (highlighter_) {
        highlighter_->AddChangeListener(this, [this](TOstHighlighterAttributes*) {
            HighlighterAttributesChanged();
        });
        SetWordCharSets(highlighter_->IdentifierChars(), highlighter_->WordSeparators());
    } else {
        SetWordCharSets(DefaultIdentChars(), DefaultWordBreakChars());
    }
    HighlighterAttributesChanged();
}

void TCustomOstEdit::HighlighterAttributesChanged()
{
    // Bold or italic attributes may need wider or taller cells.
    RecalcCharExtent();
    ScanAllLineStates();
    InvalidateAll();
}

bool TCustomOstEdit::StartHighlighterAt(int line)
{
    if (!highlighter_ || line < 1 || line > lines_.Count())
        return false;
    PrepareHighlighter();
    LineScanner().StartLine(lines_.Get(line - 1), line - 1, StateAbove(line));
    return true;
}

TOstLineStateScanner TCustomOstEdit::LineScanner() const
{
    return TOstLineStateScanner(*highlighter_, HoldsUtf8(Encoding()));
}

TOstLineState TCustomOstEdit::StateAbove(int line) const
{
    return line > 1 ? lines_.LineRange(line - 2) : 0;
}

// The highlighter is shared with documents of the other form of text, so it
// is told this one's before every scan; states stored while the document
// had the other form are scanned anew.
bool TCustomOstEdit::PrepareHighlighter()
{
    const bool utf8 = HoldsUtf8(Encoding());
    highlighter_->SetUtf8Text(utf8);
    if (utf8 == statesUtf8_)
        return false;
    ScanAllLineStates();
    InvalidateAll();
    return true;
}

void TCustomOstEdit::ScanAllLineStates()
{
    statesDirtyFirst_ = statesDirtyLast_ = -1;
    if (!highlighter_)
        return;
    statesUtf8_ = HoldsUtf8(Encoding());
    LineScanner().ScanFromTop(
        lines_.Count(), [this](int i) { return lines_.Get(i); },
        [this](int i, TOstLineState state) { lines_.SetLineRange(i, state); });
}

bool TCustomOstEdit::GetHighlighterAttriAtRowCol(TBufferCoord p, std::string& token, int& tokenKind,
                                                 TOstHighlighterAttributes*& attri)
{
    const int pos = p.Char - 1;
    if (pos < 0 || pos >= static_cast<int>(lines_.Get(p.Line - 1).size()) || !StartHighlighterAt(p.Line))
        return false;
    while (!highlighter_->AtLineEnd()) {
        const int start = highlighter_->TokenStart();
        if (pos >= start && pos < start + highlighter_->TokenLength()) {
            token = highlighter_->TokenText();
            tokenKind = highlighter_->TokenKind();
            attri = highlighter_->TokenAttribute();
            return true;
        }
        highlighter_->NextToken();
    }
    return false;
}

void TCustomOstEdit::MarkLineStatesDirty(int first, int last)
{
    if (statesDirtyFirst_ < 0) {
        statesDirtyFirst_ = first;
        statesDirtyLast_ = last;
        return;
    }
    statesDirtyFirst_ = std::min(statesDirtyFirst_, first);
    statesDirtyLast_ = std::max(statesDirtyLast_, last);
}

void TCustomOstEdit::RescanDirtyLineStates()
{
    if (!highlighter_ || statesDirtyFirst_ < 0) {
        statesDirtyFirst_ = statesDirtyLast_ = -1;
        return;
    }
    if (PrepareHighlighter())
        return;
    const int count = lines_.Count();
    const int first = std::min(statesDirtyFirst_, count);
    const int last = std::min(statesDirtyLast_, count - 1);
    statesDirtyFirst_ = statesDirtyLast_ = -1;
    if (first >= count)
        return;
    TOstLineStateScanner scan = LineScanner();
    scan.StartLine(lines_.Get(first), first, StateAbove(first + 1));
    int i = first;
    while (true) {
        const TOstLineState state = scan.EndState();
        // Stored states of changed and inserted lines are stale or mere
        // placeholders; only a line below them that ends as before proves
        // that nothing further down changes.
        const bool settled = i > last && state == lines_.LineRange(i);
        lines_.SetLineRange(i, state);
        if (settled || ++i >= count)
            break;
        scan.ContinueLine(lines_.Get(i), i);
    }
    // Lines below the edit whose colours changed with their start state.
    if (i > last)
        InvalidateLines(last + 1, i + 1);
}

}  // namespace ostrel
