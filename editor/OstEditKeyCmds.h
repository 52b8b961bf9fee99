#pragma once
// Editor command codes, their names, and the key binding table that turns
// keys into commands. The codes and the default bindings are each one table,
// in OstEditKeyCmds.cpp.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "editor/OstEditPaintTypes.h"

namespace ostrel {

using TOstEditorCommand = uint16_t;

// The command codes. Caret moves are 1..17; adding ecSelection gives the
// same move extending the selection. Codes from ecUserFirst on belong to the
// program using the control.
enum : TOstEditorCommand {
    ecNone = 0,
    ecLeft = 1, ecRight = 2, ecUp = 3, ecDown = 4, ecWordLeft = 5, ecWordRight = 6,
    ecLineStart = 7, ecLineEnd = 8, ecPageUp = 9, ecPageDown = 10, ecPageLeft = 11,
    ecPageRight = 12, ecPageTop = 13, ecPageBottom = 14, ecEditorTop = 15, ecEditorBottom = 16,
    ecGotoXY = 17,
    ecSelection = 100,
    ecSelLeft = 101, ecSelRight = 102, ecSelUp = 103, ecSelDown = 104, ecSelWordLeft = 105,
    ecSelWordRight = 106, ecSelLineStart = 107, ecSelLineEnd = 108, ecSelPageUp = 109,
    ecSelPageDown = 110, ecSelPageLeft = 111, ecSelPageRight = 112, ecSelPageTop = 113,
    ecSelPageBottom = 114, ecSelEditorTop = 115, ecSelEditorBottom = 116, ecSelGotoXY = 117,
    ecSelectAll = 199,
    ecCopy = 201,
    ecScrollUp = 211, ecScrollDown = 212, ecScrollLeft = 213, ecScrollRight = 214,
    ecInsertMode = 221, ecOverwriteMode = 222, ecToggleMode = 223,
    ecNormalSelect = 231, ecColumnSelect = 232, ecLineSelect = 233,
    ecMatchBracket = 250,
    ecGotoMarker0 = 301, ecGotoMarker1 = 302, ecGotoMarker2 = 303, ecGotoMarker3 = 304, ecGotoMarker4 = 305,
    ecGotoMarker5 = 306, ecGotoMarker6 = 307, ecGotoMarker7 = 308, ecGotoMarker8 = 309, ecGotoMarker9 = 310,
    ecSetMarker0 = 351, ecSetMarker1 = 352, ecSetMarker2 = 353, ecSetMarker3 = 354, ecSetMarker4 = 355,
    ecSetMarker5 = 356, ecSetMarker6 = 357, ecSetMarker7 = 358, ecSetMarker8 = 359, ecSetMarker9 = 360,
    ecContextHelp = 490,
    ecDeleteLastChar = 501, ecDeleteChar = 502, ecDeleteWord = 503, ecDeleteLastWord = 504,
    ecDeleteBOL = 505, ecDeleteEOL = 506, ecDeleteLine = 507, ecClearAll = 508,
    ecLineBreak = 509, ecInsertLine = 510, ecChar = 511,
    ecImeStr = 550,
    ecUndo = 601, ecRedo = 602, ecCut = 603, ecPaste = 604,
    ecBlockIndent = 610, ecBlockUnindent = 611, ecTab = 612, ecShiftTab = 613,
    ecUpperCase = 620, ecLowerCase = 621, ecToggleCase = 622, ecTitleCase = 623,
    ecUpperCaseBlock = 625, ecLowerCaseBlock = 626, ecToggleCaseBlock = 627,
    ecString = 630,
    ecAutoCompletion = 650,
    ecUserFirst = 1001,
};

// The name of a command ("ecSelLeft"); false for a code without a name.
bool EditorCommandToIdent(TOstEditorCommand command, std::string& ident);
// The code of a name; false for an unknown name.
bool IdentToEditorCommand(std::string_view ident, TOstEditorCommand& command);
// The name, or the decimal value for a code without one; and back.
std::string EditorCommandToCodeString(TOstEditorCommand command);
bool CodeStringToEditorCommand(std::string_view text, TOstEditorCommand& command);
// Every named command, in the order of the name table.
std::vector<TOstEditorCommand> NamedEditorCommands();

// Modifier bits of a key (ssShift 1, ssAlt 2, ssCtrl 4) are TOstShiftState,
// shared with the mouse.

// Windows' virtual-key codes the default table and the key names use.
enum : uint16_t {
    VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17, VK_MENU = 18,
    VK_ESCAPE = 27, VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35, VK_HOME = 36,
    VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40, VK_INSERT = 45, VK_DELETE = 46,
    VK_F1 = 112, VK_F12 = 123,
};

// A key with its modifiers in the 16-bit shortcut encoding: the low byte is
// the key, plus 8192 for Shift, 16384 for Ctrl and 32768 for Alt.
using TShortCut = uint16_t;
TShortCut ShortCut(uint16_t key, TOstShiftState shift);
void ShortCutToKey(TShortCut shortCut, uint16_t& key, TOstShiftState& shift);
// "Shift+Ctrl+Left"; empty for 0. Keys without a name show as their code.
std::string ShortCutToText(TShortCut shortCut);
// The shortcut of such a text (modifiers and names without regard to case),
// or 0 when the text names no key.
TShortCut TextToShortCut(std::string_view text);
// The name of a key ("Page Up", "F5", "A"), or empty.
std::string KeyName(uint16_t key);

class EOstKeyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One binding: a key (or a sequence of two keys) and the command it runs.
struct TOstEditKeyStroke {
    TOstEditorCommand Command = ecNone;
    uint16_t Key = 0;
    TOstShiftState Shift = 0;
    uint16_t Key2 = 0;     // 0: a single key
    TOstShiftState Shift2 = 0;

    TShortCut ShortCut() const { return ostrel::ShortCut(Key, Shift); }
    TShortCut ShortCut2() const { return ostrel::ShortCut(Key2, Shift2); }
    // "Shift+Ctrl+Left - ecSelWordLeft".
    std::string DisplayName() const;
    friend bool operator==(const TOstEditKeyStroke&, const TOstEditKeyStroke&) = default;
};

// A binding in the stored form of changed key tables.
struct TOstStoredKeystroke {
    std::string Command;   // the command's code string
    TShortCut ShortCut = 0;
    TShortCut ShortCut2 = 0;
    friend bool operator==(const TOstStoredKeystroke&, const TOstStoredKeystroke&) = default;
};

class TOstEditKeyStrokes {
public:
    TOstEditKeyStrokes() = default;
    // A table holding the default bindings.
    static TOstEditKeyStrokes Defaults();

    int Count() const { return static_cast<int>(items_.size()); }
    const TOstEditKeyStroke& Items(int index) const { return items_.at(static_cast<size_t>(index)); }
    const std::vector<TOstEditKeyStroke>& All() const { return items_; }

    // Appends a binding as given; no check for duplicates.
    void Add(TOstEditorCommand command, uint16_t key, TOstShiftState shift, uint16_t key2 = 0,
             TOstShiftState shift2 = 0);
    // Appends a binding, refusing a shortcut pair another binding has.
    void AddShortCut(TOstEditorCommand command, TShortCut shortCut, TShortCut shortCut2 = 0);
    void Delete(int index);
    void Clear() { items_.clear(); }
    void SetCommand(int index, TOstEditorCommand command);
    // Change a binding's keys; a pair another binding already has raises
    // EOstKeyError "Shortcut already exists".
    void SetShortCut(int index, TShortCut shortCut);
    void SetShortCut2(int index, TShortCut shortCut2);

    // The first binding of the command, or -1.
    int FindCommand(TOstEditorCommand command) const;
    // The single-key binding of the key, or -1.
    int FindKeycode(uint16_t key, TOstShiftState shift) const;
    // The two-key binding of the sequence, or -1.
    int FindKeycode2(uint16_t key, TOstShiftState shift, uint16_t key2, TOstShiftState shift2) const;
    int FindShortcut(TShortCut shortCut) const;
    int FindShortcut2(TShortCut shortCut, TShortCut shortCut2) const;

    void ResetDefaults();

    // The stored form: the default bindings this table lacks, and its
    // bindings the defaults lack.
    std::vector<TOstStoredKeystroke> RemovedKeystrokes() const;
    std::vector<TOstStoredKeystroke> AddedKeystrokes() const;
    // Applies a stored form to this table: each removed item deletes the
    // binding of the same command and shortcuts, each added item is
    // appended. An unknown command name or a duplicate shortcut raises
    // EOstKeyError.
    void LoadChanges(const std::vector<TOstStoredKeystroke>& removed,
                     const std::vector<TOstStoredKeystroke>& added);

    friend bool operator==(const TOstEditKeyStrokes&, const TOstEditKeyStrokes&) = default;

private:
    void CheckUnique(int index, TShortCut shortCut, TShortCut shortCut2) const;

    std::vector<TOstEditKeyStroke> items_;
};

// The key table of the main window's template editor: the defaults with
// context help moved from F1 to Ctrl+F1, F1 being the main window's.
TOstEditKeyStrokes TemplateKeystrokes();

}  // namespace ostrel
