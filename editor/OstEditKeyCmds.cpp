#include "editor/OstEditKeyCmds.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <iterator>

namespace ostrel {

namespace {

struct CommandName {
    TOstEditorCommand command;
    const char* name;
};

// The names of the commands, also the names under which changed key
// bindings are stored.
constexpr CommandName kCommandNames[] = {
#define OST_EDITOR_COMMAND(name, code, family) {name, #name},
#include "editor/OstEditorCommandList.h"
#undef OST_EDITOR_COMMAND
};
static_assert(std::size(kCommandNames) == 99);

struct DefaultBinding {
    TOstEditorCommand command;
    uint16_t key;
    TOstShiftState shift;
};

constexpr TOstShiftState S = ssShift;
constexpr TOstShiftState C = ssCtrl;
constexpr TOstShiftState A = ssAlt;

// The bindings of every new control, in their order.
constexpr DefaultBinding kDefaultBindings[] = {
    {ecUp, VK_UP, 0}, {ecSelUp, VK_UP, S}, {ecScrollUp, VK_UP, C},
    {ecDown, VK_DOWN, 0}, {ecSelDown, VK_DOWN, S}, {ecScrollDown, VK_DOWN, C},
    {ecLeft, VK_LEFT, 0}, {ecSelLeft, VK_LEFT, S}, {ecWordLeft, VK_LEFT, C}, {ecSelWordLeft, VK_LEFT, S | C},
    {ecRight, VK_RIGHT, 0}, {ecSelRight, VK_RIGHT, S}, {ecWordRight, VK_RIGHT, C},
    {ecSelWordRight, VK_RIGHT, S | C},
    {ecPageDown, VK_NEXT, 0}, {ecSelPageDown, VK_NEXT, S}, {ecPageBottom, VK_NEXT, C},
    {ecSelPageBottom, VK_NEXT, S | C},
    {ecPageUp, VK_PRIOR, 0}, {ecSelPageUp, VK_PRIOR, S}, {ecPageTop, VK_PRIOR, C},
    {ecSelPageTop, VK_PRIOR, S | C},
    {ecLineStart, VK_HOME, 0}, {ecSelLineStart, VK_HOME, S}, {ecEditorTop, VK_HOME, C},
    {ecSelEditorTop, VK_HOME, S | C},
    {ecLineEnd, VK_END, 0}, {ecSelLineEnd, VK_END, S}, {ecEditorBottom, VK_END, C},
    {ecSelEditorBottom, VK_END, S | C},
    {ecToggleMode, VK_INSERT, 0}, {ecCopy, VK_INSERT, C}, {ecCut, VK_DELETE, S}, {ecPaste, VK_INSERT, S},
    {ecDeleteChar, VK_DELETE, 0}, {ecDeleteLastChar, VK_BACK, 0}, {ecDeleteLastChar, VK_BACK, S},
    {ecDeleteLastWord, VK_BACK, C}, {ecUndo, VK_BACK, A}, {ecRedo, VK_BACK, S | A},
    {ecLineBreak, VK_RETURN, 0}, {ecLineBreak, VK_RETURN, S},
    {ecTab, VK_TAB, 0}, {ecShiftTab, VK_TAB, S},
    {ecContextHelp, VK_F1, 0},
    {ecSelectAll, 'A', C}, {ecCopy, 'C', C}, {ecPaste, 'V', C}, {ecCut, 'X', C},
    {ecBlockIndent, 'I', S | C}, {ecBlockUnindent, 'U', S | C},
    {ecLineBreak, 'M', C}, {ecInsertLine, 'N', C}, {ecDeleteWord, 'T', C}, {ecDeleteLine, 'Y', C},
    {ecDeleteEOL, 'Y', S | C}, {ecUndo, 'Z', C}, {ecRedo, 'Z', S | C},
    {ecGotoMarker0, '0', C}, {ecGotoMarker1, '1', C}, {ecGotoMarker2, '2', C}, {ecGotoMarker3, '3', C},
    {ecGotoMarker4, '4', C}, {ecGotoMarker5, '5', C}, {ecGotoMarker6, '6', C}, {ecGotoMarker7, '7', C},
    {ecGotoMarker8, '8', C}, {ecGotoMarker9, '9', C},
    {ecSetMarker0, '0', S | C}, {ecSetMarker1, '1', S | C}, {ecSetMarker2, '2', S | C}, {ecSetMarker3, '3', S | C},
    {ecSetMarker4, '4', S | C}, {ecSetMarker5, '5', S | C}, {ecSetMarker6, '6', S | C}, {ecSetMarker7, '7', S | C},
    {ecSetMarker8, '8', S | C}, {ecSetMarker9, '9', S | C},
    {ecNormalSelect, 'N', S | C}, {ecColumnSelect, 'C', S | C}, {ecLineSelect, 'L', S | C},
    {ecMatchBracket, 'B', S | C},
};
static_assert(std::size(kDefaultBindings) == 82);

constexpr TShortCut kShortCutShift = 8192;
constexpr TShortCut kShortCutCtrl = 16384;
constexpr TShortCut kShortCutAlt = 32768;

struct KeyNameEntry {
    uint16_t key;
    const char* name;
};

constexpr KeyNameEntry kKeyNames[] = {
    {VK_BACK, "Backspace"}, {VK_TAB, "Tab"}, {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "Page Up"}, {VK_NEXT, "Page Down"}, {VK_END, "End"},
    {VK_HOME, "Home"}, {VK_LEFT, "Left"}, {VK_UP, "Up"}, {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},
    {VK_INSERT, "Insert"}, {VK_DELETE, "Delete"},
};

bool EqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

uint16_t KeyOfName(std::string_view name)
{
    for (const KeyNameEntry& e : kKeyNames)
        if (EqualNoCase(name, e.name))
            return e.key;
    if (name.size() == 1) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            return static_cast<uint16_t>(c);
    }
    if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
        int n = 0;
        const auto [end, ec] = std::from_chars(name.data() + 1, name.data() + name.size(), n);
        if (ec == std::errc() && end == name.data() + name.size() && n >= 1 && n <= 12)
            return static_cast<uint16_t>(VK_F1 + n - 1);
    }
    return 0;
}

bool SameBinding(const TOstEditKeyStroke& k, const TOstStoredKeystroke& s, TOstEditorCommand command)
{
    return k.Command == command && k.ShortCut() == s.ShortCut && k.ShortCut2() == s.ShortCut2;
}

TOstStoredKeystroke StoredFormOf(const TOstEditKeyStroke& k)
{
    return {EditorCommandToCodeString(k.Command), k.ShortCut(), k.ShortCut2()};
}

// The bindings of one table that the other lacks, each counted once per
// occurrence so that doubled bindings survive a round trip.
std::vector<TOstStoredKeystroke> Missing(const std::vector<TOstEditKeyStroke>& from,
                                         std::vector<TOstEditKeyStroke> other)
{
    std::vector<TOstStoredKeystroke> result;
    for (const TOstEditKeyStroke& k : from) {
        const auto it = std::find(other.begin(), other.end(), k);
        if (it != other.end())
            other.erase(it);
        else
            result.push_back(StoredFormOf(k));
    }
    return result;
}

}  // namespace

// ---- command names -------------------------------------------------------------

bool EditorCommandToIdent(TOstEditorCommand command, std::string& ident)
{
    for (const CommandName& e : kCommandNames) {
        if (e.command == command) {
            ident = e.name;
            return true;
        }
    }
    return false;
}

bool IdentToEditorCommand(std::string_view ident, TOstEditorCommand& command)
{
    for (const CommandName& e : kCommandNames) {
        if (ident == e.name) {
            command = e.command;
            return true;
        }
    }
    return false;
}

std::string EditorCommandToCodeString(TOstEditorCommand command)
{
    std::string ident;
    if (EditorCommandToIdent(command, ident))
        return ident;
    return std::to_string(command);
}

bool CodeStringToEditorCommand(std::string_view text, TOstEditorCommand& command)
{
    if (IdentToEditorCommand(text, command))
        return true;
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value > 0xFFFF)
        return false;
    command = static_cast<TOstEditorCommand>(value);
    return true;
}

std::vector<TOstEditorCommand> NamedEditorCommands()
{
    std::vector<TOstEditorCommand> result;
    for (const CommandName& e : kCommandNames)
        result.push_back(e.command);
    return result;
}

// ---- shortcuts -------------------------------------------------------------------

TShortCut ShortCut(uint16_t key, TOstShiftState shift)
{
    if (key > 0xFF)
        return 0;
    TShortCut result = key;
    if (shift & ssShift) result |= kShortCutShift;
    if (shift & ssCtrl) result |= kShortCutCtrl;
    if (shift & ssAlt) result |= kShortCutAlt;
    return result;
}

void ShortCutToKey(TShortCut shortCut, uint16_t& key, TOstShiftState& shift)
{
    key = shortCut & 0xFF;
    shift = 0;
    if (shortCut & kShortCutShift) shift |= ssShift;
    if (shortCut & kShortCutCtrl) shift |= ssCtrl;
    if (shortCut & kShortCutAlt) shift |= ssAlt;
}

std::string KeyName(uint16_t key)
{
    for (const KeyNameEntry& e : kKeyNames)
        if (e.key == key)
            return e.name;
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F12)
        return std::string(1, 'F').append(std::to_string(key - VK_F1 + 1));
    return std::string();
}

std::string ShortCutToText(TShortCut shortCut)
{
    uint16_t key;
    TOstShiftState shift;
    ShortCutToKey(shortCut, key, shift);
    if (key == 0)
        return std::string();
    std::string name = KeyName(key);
    if (name.empty())
        name = std::string(1, '#').append(std::to_string(key));
    std::string text;
    if (shift & ssShift) text += "Shift+";
    if (shift & ssCtrl) text += "Ctrl+";
    if (shift & ssAlt) text += "Alt+";
    return text + name;
}

TShortCut TextToShortCut(std::string_view text)
{
    TOstShiftState shift = 0;
    while (true) {
        const size_t plus = text.find('+');
        // A lone "+" after the modifiers would be a key name; we have none.
        if (plus == std::string_view::npos || plus == 0)
            break;
        const std::string_view modifier = text.substr(0, plus);
        if (EqualNoCase(modifier, "Shift")) shift |= ssShift;
        else if (EqualNoCase(modifier, "Ctrl")) shift |= ssCtrl;
        else if (EqualNoCase(modifier, "Alt")) shift |= ssAlt;
        else return 0;
        text.remove_prefix(plus + 1);
    }
    uint16_t key = KeyOfName(text);
    if (key == 0 && text.size() > 1 && text[0] == '#') {
        unsigned value = 0;
        const auto [end, ec] = std::from_chars(text.data() + 1, text.data() + text.size(), value);
        if (ec == std::errc() && end == text.data() + text.size() && value > 0 && value <= 0xFF)
            key = static_cast<uint16_t>(value);
    }
    return key == 0 ? 0 : ShortCut(key, shift);
}

// ---- bindings --------------------------------------------------------------------

std::string TOstEditKeyStroke::DisplayName() const
{
    std::string text = ShortCutToText(ShortCut());
    if (Key2 != 0)
        text.append(" ").append(ShortCutToText(ShortCut2()));
    return text.append(" - ").append(EditorCommandToCodeString(Command));
}

TOstEditKeyStrokes TOstEditKeyStrokes::Defaults()
{
    TOstEditKeyStrokes keys;
    keys.ResetDefaults();
    return keys;
}

void TOstEditKeyStrokes::ResetDefaults()
{
    items_.clear();
    items_.reserve(std::size(kDefaultBindings));
    for (const DefaultBinding& b : kDefaultBindings)
        items_.push_back({b.command, b.key, b.shift, 0, 0});
}

void TOstEditKeyStrokes::Add(TOstEditorCommand command, uint16_t key, TOstShiftState shift, uint16_t key2,
                             TOstShiftState shift2)
{
    items_.push_back({command, key, shift, key2, shift2});
}

void TOstEditKeyStrokes::AddShortCut(TOstEditorCommand command, TShortCut shortCut, TShortCut shortCut2)
{
    CheckUnique(-1, shortCut, shortCut2);
    TOstEditKeyStroke k;
    k.Command = command;
    ShortCutToKey(shortCut, k.Key, k.Shift);
    ShortCutToKey(shortCut2, k.Key2, k.Shift2);
    items_.push_back(k);
}

void TOstEditKeyStrokes::Delete(int index)
{
    items_.at(static_cast<size_t>(index));  // raises for an index outside the table
    items_.erase(items_.begin() + index);
}

void TOstEditKeyStrokes::SetCommand(int index, TOstEditorCommand command)
{
    items_.at(static_cast<size_t>(index)).Command = command;
}

void TOstEditKeyStrokes::CheckUnique(int index, TShortCut shortCut, TShortCut shortCut2) const
{
    // Bindings without a key may repeat.
    if (shortCut == 0)
        return;
    const int dup = FindShortcut2(shortCut, shortCut2);
    if (dup != -1 && dup != index)
        throw EOstKeyError("Shortcut already exists");
}

void TOstEditKeyStrokes::SetShortCut(int index, TShortCut shortCut)
{
    TOstEditKeyStroke& k = items_.at(static_cast<size_t>(index));
    CheckUnique(index, shortCut, k.ShortCut2());
    ShortCutToKey(shortCut, k.Key, k.Shift);
}

void TOstEditKeyStrokes::SetShortCut2(int index, TShortCut shortCut2)
{
    TOstEditKeyStroke& k = items_.at(static_cast<size_t>(index));
    CheckUnique(index, k.ShortCut(), shortCut2);
    ShortCutToKey(shortCut2, k.Key2, k.Shift2);
}

int TOstEditKeyStrokes::FindCommand(TOstEditorCommand command) const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[static_cast<size_t>(i)].Command == command)
            return i;
    return -1;
}

int TOstEditKeyStrokes::FindKeycode(uint16_t key, TOstShiftState shift) const
{
    for (int i = 0; i < Count(); ++i) {
        const TOstEditKeyStroke& k = items_[static_cast<size_t>(i)];
        if (k.Key == key && k.Shift == shift && k.Key2 == 0)
            return i;
    }
    return -1;
}

int TOstEditKeyStrokes::FindKeycode2(uint16_t key, TOstShiftState shift, uint16_t key2,
                                     TOstShiftState shift2) const
{
    for (int i = 0; i < Count(); ++i) {
        const TOstEditKeyStroke& k = items_[static_cast<size_t>(i)];
        if (k.Key2 != 0 && k.Key == key && k.Shift == shift && k.Key2 == key2 && k.Shift2 == shift2)
            return i;
    }
    return -1;
}

int TOstEditKeyStrokes::FindShortcut(TShortCut shortCut) const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[static_cast<size_t>(i)].ShortCut() == shortCut)
            return i;
    return -1;
}

int TOstEditKeyStrokes::FindShortcut2(TShortCut shortCut, TShortCut shortCut2) const
{
    for (int i = 0; i < Count(); ++i) {
        const TOstEditKeyStroke& k = items_[static_cast<size_t>(i)];
        if (k.ShortCut() == shortCut && k.ShortCut2() == shortCut2)
            return i;
    }
    return -1;
}

// ---- stored form -------------------------------------------------------------------

std::vector<TOstStoredKeystroke> TOstEditKeyStrokes::RemovedKeystrokes() const
{
    return Missing(Defaults().items_, items_);
}

std::vector<TOstStoredKeystroke> TOstEditKeyStrokes::AddedKeystrokes() const
{
    return Missing(items_, Defaults().items_);
}

void TOstEditKeyStrokes::LoadChanges(const std::vector<TOstStoredKeystroke>& removed,
                                     const std::vector<TOstStoredKeystroke>& added)
{
    auto commandOf = [](const TOstStoredKeystroke& s) {
        TOstEditorCommand command;
        if (!CodeStringToEditorCommand(s.Command, command))
            throw EOstKeyError("Unknown editor command: " + s.Command);
        return command;
    };
    for (const TOstStoredKeystroke& s : removed) {
        const TOstEditorCommand command = commandOf(s);
        const auto it = std::find_if(items_.begin(), items_.end(),
                                     [&](const TOstEditKeyStroke& k) { return SameBinding(k, s, command); });
        if (it != items_.end())
            items_.erase(it);
    }
    for (const TOstStoredKeystroke& s : added)
        AddShortCut(commandOf(s), s.ShortCut, s.ShortCut2);
}

TOstEditKeyStrokes TemplateKeystrokes()
{
    TOstEditKeyStrokes keys = TOstEditKeyStrokes::Defaults();
    keys.LoadChanges({{"ecContextHelp", ShortCut(VK_F1, 0), 0}},
                     {{"ecContextHelp", ShortCut(VK_F1, ssCtrl), 0}});
    return keys;
}

}  // namespace ostrel
