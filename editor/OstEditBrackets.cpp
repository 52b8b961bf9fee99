// The bracket beside the caret and its partner, shown while the caret stands
// there. Brackets inside strings and comments (by the highlighter's tokens)
// neither match nor count; the search goes no further than a few thousand
// lines either way, so that no caret move waits for a long document.

#include <algorithm>

#include "editor/OstEdit.h"

namespace ostrel {

namespace {

constexpr int kBracketReachLines = 2000;

int BracketIndex(char c, bool angles)
{
    static constexpr char kPairs[] = {'(', ')', '[', ']', '{', '}', '<', '>'};
    const int count = angles ? 8 : 6;
    for (int i = 0; i < count; ++i)
        if (kPairs[i] == c)
            return i;
    return -1;
}

}  // namespace

// Which bytes of a line the highlighter puts in strings or comments.
std::vector<bool> TCustomOstEdit::QuotedBytes(int line)
{
    std::vector<bool> quoted;
    if (!StartHighlighterAt(line))
        return quoted;
    quoted.assign(lines_.Get(line - 1).size(), false);
    const TOstHighlighterAttributes* comment = highlighter_->DefaultAttribute(daComment);
    const TOstHighlighterAttributes* string = highlighter_->DefaultAttribute(daString);
    for (; !highlighter_->AtLineEnd(); highlighter_->NextToken()) {
        const TOstHighlighterAttributes* attr = highlighter_->TokenAttribute();
        if (!attr || (attr != comment && attr != string))
            continue;
        const size_t from = static_cast<size_t>(std::max(highlighter_->TokenStart(), 0));
        const size_t to = std::min(quoted.size(), from + static_cast<size_t>(highlighter_->TokenLength()));
        std::fill(quoted.begin() + static_cast<std::ptrdiff_t>(std::min(from, to)),
                  quoted.begin() + static_cast<std::ptrdiff_t>(to), true);
    }
    return quoted;
}

TOstBracketPair TCustomOstEdit::FindBracketPair(TBufferCoord caret)
{
    if (caret.Line < 1 || caret.Line > lines_.Count())
        return {};
    const bool angles = highlighter_ && highlighter_->PairsAngleBrackets();
    const std::string_view text = lines_.Get(caret.Line - 1);
    // Most places have no bracket beside them: no lexing for those.
    const auto rawBracket = [&](int at) {
        return at >= 0 && at < static_cast<int>(text.size()) && BracketIndex(text[static_cast<size_t>(at)], angles) >= 0;
    };
    if (!rawBracket(caret.Char - 1) && !rawBracket(caret.Char - 2))
        return {};
    const std::vector<bool> quoted = QuotedBytes(caret.Line);
    const auto bracketAt = [&](int at) {
        return at >= 0 && at < static_cast<int>(text.size()) && !(at < static_cast<int>(quoted.size()) && quoted[static_cast<size_t>(at)])
                   ? BracketIndex(text[static_cast<size_t>(at)], angles)
                   : -1;
    };
    // The bracket after the caret first, then the one before it.
    int at = caret.Char - 1;
    int index = bracketAt(at);
    if (index < 0)
        index = bracketAt(--at);
    if (index < 0)
        return {};
    const bool forward = index % 2 == 0;
    const char same = text[static_cast<size_t>(at)];
    const char partner = "()[]{}<>"[index ^ 1];
    int depth = 0;
    int line = caret.Line;
    int pos = at;
    std::vector<bool> lineQuoted = quoted;
    for (int reach = 0; reach <= kBracketReachLines;) {
        const std::string_view s = lines_.Get(line - 1);
        for (; pos >= 0 && pos < static_cast<int>(s.size()); pos += forward ? 1 : -1) {
            const char c = s[static_cast<size_t>(pos)];
            if ((c != same && c != partner) ||
                (static_cast<size_t>(pos) < lineQuoted.size() && lineQuoted[static_cast<size_t>(pos)]))
                continue;
            depth += c == same ? 1 : -1;
            if (depth == 0) {
                const TBufferCoord first{at + 1, caret.Line};
                const TBufferCoord second{pos + 1, line};
                return forward ? TOstBracketPair{first, second, true} : TOstBracketPair{second, first, true};
            }
        }
        if (forward ? line >= lines_.Count() : line <= 1)
            break;
        line += forward ? 1 : -1;
        ++reach;
        lineQuoted = QuotedBytes(line);
        pos = forward ? 0 : static_cast<int>(lines_.Get(line - 1).size()) - 1;
    }
    return {};
}

void TCustomOstEdit::SetBracketHighlight(bool on)
{
    if (on == bracketHighlight_)
        return;
    bracketHighlight_ = on;
    UpdateBracketPair();
}

void TCustomOstEdit::SetBracketColor(TColor color)
{
    bracketColor_ = color;
    if (bracketPair_.Found) {
        InvalidateLines(bracketPair_.Open.Line, bracketPair_.Open.Line);
        InvalidateLines(bracketPair_.Close.Line, bracketPair_.Close.Line);
    }
}

// Repaints the brackets that stop being shown and those that start.
void TCustomOstEdit::UpdateBracketPair()
{
    const TOstBracketPair pair = bracketHighlight_ ? FindBracketPair(CaretXY()) : TOstBracketPair{};
    if (pair == bracketPair_)
        return;
    for (const TOstBracketPair& shown : {bracketPair_, pair}) {
        if (!shown.Found)
            continue;
        InvalidateLines(shown.Open.Line, shown.Open.Line);
        InvalidateLines(shown.Close.Line, shown.Close.Line);
    }
    bracketPair_ = pair;
}

}  // namespace ostrel
