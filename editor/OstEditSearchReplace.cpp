// Search and replace over the lines of the control, with a search engine
// that finds the matches of one line.

#include <algorithm>
#include <optional>

#include "editor/OstEdit.h"

namespace ostrel {

namespace {

// The part of the text a search covers, and whether a match lies in it.
struct SearchRange {
    TBufferCoord start;
    TBufferCoord end;
    TOstSelectionMode mode = smNormal;

    bool Contains(int line, int first, int last) const
    {
        switch (mode) {
        case smNormal:
            return !((line == start.Line && first < start.Char) || (line == end.Line && last > end.Char));
        case smColumn:
            return (first >= start.Char && last <= end.Char) || end.Char - start.Char < 1;
        case smLine:
            return true;
        }
        return true;
    }
};

}  // namespace

// A search selects and replaces exactly its matches, whatever the selection
// mode: for its duration both modes are normal. Afterwards the chosen mode
// comes back; a match left selected stays a plain selection until it goes.
class TCustomOstEdit::SearchModeScope {
public:
    explicit SearchModeScope(TCustomOstEdit& e)
        : e_(e), mode_(e.selectionMode_), active_(e.matchSelected_ ? e.selectionMode_ : e.activeSelectionMode_)
    {
        e_.selectionMode_ = e_.activeSelectionMode_ = smNormal;
    }
    ~SearchModeScope()
    {
        e_.selectionMode_ = mode_;
        e_.matchSelected_ = matchLeft_ && e_.SelAvail() && active_ != smNormal;
        if (!e_.matchSelected_)
            e_.activeSelectionMode_ = active_;
    }
    SearchModeScope(const SearchModeScope&) = delete;
    SearchModeScope& operator=(const SearchModeScope&) = delete;
    // The search ends with a match selected (not a selection from before).
    void LeaveMatchSelected() { matchLeft_ = true; }

private:
    bool matchLeft_ = false;
    TCustomOstEdit& e_;
    TOstSelectionMode mode_;
    TOstSelectionMode active_;
};

void TCustomOstEdit::EndMatchSelection()
{
    if (!matchSelected_)
        return;
    matchSelected_ = false;
    activeSelectionMode_ = selectionMode_;
}

int TCustomOstEdit::SearchReplace(std::string_view search, std::string_view replace, TOstSearchOptions options)
{
    if (!searchEngine_)
        throw EOstEditError("No search engine has been assigned");
    if (search.empty())
        return 0;
    if (!SelAvail())
        options &= static_cast<TOstSearchOptions>(~ssoSelectedOnly);
    const bool backwards = options & ssoBackwards;
    const bool replacing = options & (ssoReplace | ssoReplaceAll);
    bool replaceAll = options & ssoReplaceAll;
    // Without anyone to ask, a prompting replace replaces everything as one
    // undoable step.
    bool prompt = (options & ssoPromptOnReplace) && OnReplaceText;

    SearchRange range;
    range.mode = (options & ssoSelectedOnly) ? activeSelectionMode_ : smNormal;
    if (options & ssoSelectedOnly) {
        range.start = BlockBegin();
        range.end = BlockEnd();
        if (range.mode == smLine) {
            range.start.Char = 1;
            range.end.Char = static_cast<int>(lines_.Get(range.end.Line - 1).size()) + 1;
        } else if (range.mode == smColumn && range.start.Char > range.end.Char) {
            std::swap(range.start.Char, range.end.Char);
        }
    } else {
        const int count = std::max(lines_.Count(), 1);
        range.start = {1, 1};
        range.end = {static_cast<int>(lines_.Get(count - 1).size()) + 1, count};
        if (!(options & ssoEntireScope)) {
            if (backwards)
                range.end = CaretXY();
            else
                range.start = CaretXY();
        }
    }

    searchEngine_->SetEncoding(Encoding());
    searchEngine_->SetOptions(options);
    searchEngine_->SetPattern(search);
    SearchModeScope exactMatches(*this);
    // While the user is asked, the match and the replacements made so far
    // must show: the paint lock waits until nobody is asked any more.
    std::optional<TOstPaintLockGuard> lock;
    std::optional<TOstUndoBlock> block;
    if (replaceAll && !prompt)
        lock.emplace(*this);
    if (replaceAll && !prompt)
        block.emplace(undoList_);

    int found = 0;
    const int lineTotal = range.end.Line - range.start.Line + 1;
    for (int line = backwards ? range.end.Line : range.start.Line;
         line >= range.start.Line && line <= range.end.Line; line += backwards ? -1 : 1) {
        const int done = backwards ? range.end.Line - line : line - range.start.Line;
        if (OnSearchProgress && !OnSearchProgress(done, lineTotal))
            return found;
        const int inLine = searchEngine_->FindAll(lines_.Get(line - 1));
        int offset = 0;  // how much earlier replacements moved this line's later matches
        for (int k = 0; k < inLine; ++k) {
            const int n = backwards ? inLine - 1 - k : k;
            const int first = searchEngine_->Result(n) + offset;
            const int length = searchEngine_->Length(n);
            if (!range.Contains(line, first, first + length))
                continue;
            ++found;
            SetBlockBegin({first, line});
            SetCaretXYEx(false, {1, line});
            EnsureCursorPosVisibleEx(true);
            SetBlockEnd({first + length, line});
            SetCaretXYEx(true, backwards ? TBufferCoord{first, line} : TBufferCoord{first + length, line});
            exactMatches.LeaveMatchSelected();
            if (!replacing)
                return found;

            TOstReplaceAction action = raReplace;
            if (prompt) {
                action = OnReplaceText(std::string(search), std::string(replace), line, first);
                if (action == raCancel)
                    return found;
            }
            if (action == raReplaceAll) {
                replaceAll = true;
                prompt = false;
                if (!lock)
                    lock.emplace(*this);
                if (!block)
                    block.emplace(undoList_);
            }
            if (action != raSkip) {
                // The match itself goes, also where nothing may be selected.
                SetCaretAndSelection({first + length, line}, {first, line}, {first + length, line});
                SetSelText(searchEngine_->ReplaceResult(n, replace));
                const int replaceLength = caretX_ - first;
                if (!backwards) {
                    SetCaretXYEx(true, {first + replaceLength, caretY_});
                    if (replaceLength != length) {
                        offset += replaceLength - length;
                        if (range.mode != smColumn && line == range.end.Line)
                            range.end.Char += replaceLength - length;
                    }
                }
            }
            if (!replaceAll)
                return found;
        }
    }
    return found;
}

void TCustomOstEdit::SetMatchHighlight(TOstEditSearchCustom* engine)
{
    matchHighlight_ = engine;
    InvalidateAll();
}

void TCustomOstEdit::SetMatchColor(TColor color)
{
    matchColor_ = color;
    if (matchHighlight_)
        InvalidateAll();
}

}  // namespace ostrel
