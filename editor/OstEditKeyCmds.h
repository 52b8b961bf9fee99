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
#include "editor/OstVirtualKeys.h"

namespace ostrel {

using TOstEditorCommand = uint16_t;

// The command codes, from the one list of commands.
enum : TOstEditorCommand {
#define OST_EDITOR_COMMAND(name, code, family) name = code,
#include "editor/OstEditorCommandList.h"
#undef OST_EDITOR_COMMAND
    // Not a command: what turns a caret move into the move that selects.
    ecSelection = 100,
};

// What part of the editor carries a command out.
enum class TOstCommandFamily : uint8_t { None, Move, Text, Case, Marker, View };

// The family of a command; None for a code the list does not have.
constexpr TOstCommandFamily EditorCommandFamily(TOstEditorCommand command)
{
    switch (command) {
#define OST_EDITOR_COMMAND(name, code, family) \
    case name: return TOstCommandFamily::family;
#include "editor/OstEditorCommandList.h"
#undef OST_EDITOR_COMMAND
    default: return TOstCommandFamily::None;
    }
}

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
