#pragma once
// Types shared across the editor engine: coordinates, selection modes, editor
// options, status changes and the editor's exceptions.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace ostrel {

// A position in the buffer: character and line, both from 1. The character
// may lie beyond the end of its line (virtual space).
struct TBufferCoord {
    int Char = 1;
    int Line = 1;
    friend bool operator==(const TBufferCoord&, const TBufferCoord&) = default;
    // Ordered by line, then by character.
    friend bool operator<(const TBufferCoord& a, const TBufferCoord& b)
    {
        return a.Line < b.Line || (a.Line == b.Line && a.Char < b.Char);
    }
    friend bool operator>(const TBufferCoord& a, const TBufferCoord& b) { return b < a; }
    friend bool operator<=(const TBufferCoord& a, const TBufferCoord& b) { return !(b < a); }
    friend bool operator>=(const TBufferCoord& a, const TBufferCoord& b) { return !(a < b); }
};

// A position on the screen: column and row, both from 1.
struct TDisplayCoord {
    int Column = 1;
    int Row = 1;
    friend bool operator==(const TDisplayCoord&, const TDisplayCoord&) = default;
};

enum TOstSelectionMode : uint8_t { smNormal = 0, smLine = 1, smColumn = 2 };

enum TOstEditorOption : uint8_t {
    eoAltSetsColumnMode, eoAutoIndent, eoAutoSizeMaxLineWidth, eoDisableScrollArrows,
    eoDragDropEditing, eoDropFiles, eoEnhanceHomeKey, eoGroupUndo, eoHalfPageScroll,
    eoHideShowScrollbars, eoKeepCaretX, eoNoCaret, eoNoSelection, eoRightMouseMovesCursor,
    eoScrollByOneLess, eoScrollHintFollows, eoScrollPastEof, eoScrollPastEol,
    eoShowScrollHint, eoShowSpecialChars, eoSmartTabDelete, eoSmartTabs,
    eoSpecialLineDefaultFg, eoTabIndent, eoTabsToSpaces, eoTrimTrailingSpaces,
};
inline constexpr int kEditorOptionCount = eoTrimTrailingSpaces + 1;

// A set of editor options, bit 0 being eoAltSetsColumnMode.
class TOstEditorOptions {
public:
    constexpr TOstEditorOptions() = default;
    constexpr TOstEditorOptions(std::initializer_list<TOstEditorOption> list)
    {
        for (TOstEditorOption o : list)
            bits_ |= bit(o);
    }
    static constexpr TOstEditorOptions fromBits(uint32_t bits)
    {
        TOstEditorOptions s;
        s.bits_ = bits & ((1u << kEditorOptionCount) - 1);
        return s;
    }
    constexpr uint32_t bits() const { return bits_; }
    constexpr bool has(TOstEditorOption o) const { return (bits_ & bit(o)) != 0; }
    constexpr void include(TOstEditorOption o) { bits_ |= bit(o); }
    constexpr void exclude(TOstEditorOption o) { bits_ &= ~bit(o); }
    constexpr void set(TOstEditorOption o, bool on) { on ? include(o) : exclude(o); }
    friend constexpr bool operator==(TOstEditorOptions, TOstEditorOptions) = default;

private:
    static constexpr uint32_t bit(TOstEditorOption o) { return 1u << static_cast<unsigned>(o); }
    uint32_t bits_ = 0;
};

// Names of the options in set order, for settings and scripts.
const char* EditorOptionName(TOstEditorOption o);
// The option of a name, or false when the name is unknown.
bool EditorOptionFromName(const std::string& name, TOstEditorOption& out);

// Flags reported to OnStatusChange.
enum TOstStatusChange : uint16_t {
    scAll = 1, scCaretX = 2, scCaretY = 4, scLeftChar = 8, scTopLine = 16,
    scInsertMode = 32, scModified = 64, scSelection = 128, scReadOnly = 256,
};
using TOstStatusChanges = uint16_t;

// Errors of the editor control (clipboard failures and the like).
class EOstEditError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Errors of the text buffer: bad line indexes and capacities.
class EOstEditStringList : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace ostrel
