#include "editor/OstEditCmdScript.h"

#include <charconv>
#include <sstream>
#include <vector>

#include "platform/Utf8.h"

namespace ostrel {

namespace {

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// Splits "verb rest": the rest keeps its inner spaces (typed text).
void SplitVerb(std::string_view line, std::string_view& verb, std::string_view& rest)
{
    const size_t space = line.find(' ');
    verb = line.substr(0, space);
    rest = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
}

bool ParseInts(std::string_view text, std::vector<int>& out)
{
    std::istringstream in{std::string(text)};
    std::string word;
    while (in >> word) {
        int value = 0;
        const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (ec != std::errc() || end != word.data() + word.size())
            return false;
        out.push_back(value);
    }
    return true;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

const char* ModeName(TOstSelectionMode mode)
{
    return mode == smLine ? "line" : mode == smColumn ? "column" : "normal";
}

}  // namespace

void TOstEditCmdScript::SetUpAsTemplate(TCustomOstEdit& editor)
{
    editor.SetOptions(TCustomOstEdit::TemplateOptions());
    editor.SetKeystrokes(TemplateKeystrokes());
    editor.SetMaxLineWidth(2024);
    editor.SetWantTabs(true);
}

bool TOstEditCmdScript::Unescape(std::string_view text, std::string& out)
{
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (i + 1 >= text.size())
            return false;
        const char next = text[++i];
        if (next == 't') {
            out += '\t';
        } else if (next == '\\') {
            out += '\\';
        } else if (next == 'x' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            return false;
        }
    }
    return true;
}

char TOstEditCmdScript::CharOfKey(uint16_t key, TOstShiftState shift)
{
    const bool ctrl = (shift & ssCtrl) != 0;
    const bool upper = (shift & ssShift) != 0;
    if (shift & ssAlt)
        return 0;  // Alt combinations make system characters, not text
    if (key >= 'A' && key <= 'Z')
        return static_cast<char>(ctrl ? key - 'A' + 1 : upper ? key : key - 'A' + 'a');
    if (key >= '0' && key <= '9' && !ctrl)
        return upper ? ")!@#$%^&*("[key - '0'] : static_cast<char>(key);
    switch (key) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return ctrl ? '\n' : '\r';
    case VK_TAB: return ctrl ? 0 : '\t';
    case VK_BACK: return ctrl ? '\x7F' : '\b';
    case VK_ESCAPE: return '\x1B';
    default: return 0;
    }
}

void TOstEditCmdScript::PressKey(uint16_t key, TOstShiftState shift)
{
    const char produced = CharOfKey(key, shift);
    editor_.KeyDown(key, shift);
    if (produced != 0) {
        char c = produced;
        editor_.KeyPress(c);
    }
    editor_.KeyUp(key, shift);
}

std::string TOstEditCmdScript::StatusLine() const
{
    TCustomOstEdit& e = editor_;
    std::ostringstream s;
    s << "caret " << e.CaretX() << ' ' << e.CaretY() << " sel " << e.RawBlockBegin().Char << ' '
      << e.RawBlockBegin().Line << ' ' << e.RawBlockEnd().Char << ' ' << e.RawBlockEnd().Line << " mode "
      << ModeName(e.ActiveSelectionMode()) << " modified " << (e.Modified() ? 1 : 0) << " undo "
      << e.UndoList().ItemCount() << " redo " << e.RedoList().ItemCount();
    return s.str();
}

// TEXT is UTF-8: each character is typed as the keyboard gives it in the
// document's encoding; \xHH types that one byte as it is.
bool TOstEditCmdScript::RunType(std::string_view args, std::string& error)
{
    for (size_t i = 0; i < args.size();) {
        if (args[i] == '\\') {
            const bool hex = i + 1 < args.size() && args[i + 1] == 'x';
            const size_t next = i + (hex ? 4 : 2);
            std::string one;
            if (next > args.size() || !Unescape(args.substr(i, next - i), one)) {
                error = "malformed escape in '" + std::string(args) + "'";
                return false;
            }
            if (!TypeCharacter(one, hex, error))
                return false;
            i = next;
            continue;
        }
        // A byte of no valid sequence goes in as it is.
        const utf8::TDecoded d = utf8::Decode(args, i);
        if (!TypeCharacter(args.substr(i, d.length), !d.valid, error))
            return false;
        i += d.length;
    }
    return true;
}

bool TOstEditCmdScript::TypeCharacter(std::string_view character, bool rawByte, std::string& error)
{
    std::string typed(character);
    if (!rawByte && FromUtf8(character, editor_.Encoding(), typed) != std::string_view::npos) {
        error = "'" + std::string(character) + "' cannot be typed in " + std::string(EncodingName(editor_.Encoding()));
        return false;
    }
    editor_.CommandProcessor(ecChar, typed.empty() ? '\0' : typed[0], typed.size() > 1 ? typed.c_str() : nullptr);
    return true;
}

bool TOstEditCmdScript::RunCommand(std::string_view args, std::string& error)
{
    std::string_view name;
    std::string_view rest;
    SplitVerb(args, name, rest);
    TOstEditorCommand command = ecNone;
    if (!CodeStringToEditorCommand(name, command)) {
        error = "unknown command '" + std::string(name) + "'";
        return false;
    }
    std::string text;
    if (!Unescape(rest, text)) {
        error = "malformed escape in '" + std::string(rest) + "'";
        return false;
    }
    if (command == ecImeStr) {
        editor_.CommandProcessor(command, '\0', text.c_str());
        return true;
    }
    if (text.size() > 1) {
        error = "one character expected after " + std::string(name);
        return false;
    }
    editor_.CommandProcessor(command, text.empty() ? '\0' : text[0], nullptr);
    return true;
}

bool TOstEditCmdScript::RunNumbers(std::string_view verb, std::string_view args, std::string& error)
{
    std::vector<int> n;
    const size_t wanted = verb == "caret" ? 2 : 4;
    if (!ParseInts(args, n) || n.size() != wanted) {
        error = std::string(verb) + " takes " + std::to_string(wanted) + " numbers";
        return false;
    }
    if (verb == "caret") {
        editor_.SetCaretXY({n[0], n[1]});
    } else {
        editor_.SetCaretXY({n[0], n[1]});
        editor_.SetBlockBegin({n[0], n[1]});
        editor_.SetBlockEnd({n[2], n[3]});
        editor_.SetCaretXYEx(true, {n[2], n[3]});
    }
    return true;
}

bool TOstEditCmdScript::RunLine(std::string_view line, std::string& output, std::string& error)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (Trim(line).empty() || Trim(line).front() == '#')
        return true;
    std::string_view verb;
    std::string_view args;
    SplitVerb(line, verb, args);
    if (verb == "type")
        return RunType(args, error);
    args = Trim(args);
    if (verb == "key") {
        const TShortCut shortCut = TextToShortCut(args);
        if (shortCut == 0) {
            error = "unknown key '" + std::string(args) + "'";
            return false;
        }
        uint16_t key;
        TOstShiftState shift;
        ShortCutToKey(shortCut, key, shift);
        PressKey(key, shift);
        return true;
    }
    if (verb == "cmd")
        return RunCommand(args, error);
    if (verb == "caret" || verb == "select")
        return RunNumbers(verb, args, error);
    if (verb == "mode") {
        if (args == "normal") editor_.SetSelectionMode(smNormal);
        else if (args == "line") editor_.SetSelectionMode(smLine);
        else if (args == "column") editor_.SetSelectionMode(smColumn);
        else {
            error = "mode is normal, line or column, not '" + std::string(args) + "'";
            return false;
        }
        return true;
    }
    if (verb == "option") {
        TOstEditorOption option;
        if (args.size() < 2 || (args[0] != '+' && args[0] != '-') ||
            !EditorOptionFromName(std::string(args.substr(1)), option)) {
            error = "unknown option '" + std::string(args) + "' (+NAME or -NAME)";
            return false;
        }
        editor_.SetOption(option, args[0] == '+');
        return true;
    }
    if (verb == "show" && args.empty()) {
        output += StatusLine() + '\n';
        return true;
    }
    error = "unknown script line '" + std::string(line) + "'";
    return false;
}

}  // namespace ostrel
