#include "editor/OstEditTypes.h"

#include <iterator>

namespace ostrel {

namespace {
constexpr const char* kOptionNames[] = {
    "eoAltSetsColumnMode", "eoAutoIndent", "eoAutoSizeMaxLineWidth", "eoDisableScrollArrows",
    "eoDragDropEditing", "eoDropFiles", "eoEnhanceHomeKey", "eoGroupUndo", "eoHalfPageScroll",
    "eoHideShowScrollbars", "eoKeepCaretX", "eoNoCaret", "eoNoSelection",
    "eoRightMouseMovesCursor", "eoScrollByOneLess", "eoScrollHintFollows", "eoScrollPastEof",
    "eoScrollPastEol", "eoShowScrollHint", "eoShowSpecialChars", "eoSmartTabDelete",
    "eoSmartTabs", "eoSpecialLineDefaultFg", "eoTabIndent", "eoTabsToSpaces",
    "eoTrimTrailingSpaces",
};
static_assert(std::size(kOptionNames) == kEditorOptionCount);
}  // namespace

const char* EditorOptionName(TOstEditorOption o)
{
    return kOptionNames[static_cast<int>(o)];
}

bool EditorOptionFromName(const std::string& name, TOstEditorOption& out)
{
    for (int i = 0; i < kEditorOptionCount; ++i) {
        if (name == kOptionNames[i]) {
            out = static_cast<TOstEditorOption>(i);
            return true;
        }
    }
    return false;
}

}  // namespace ostrel
