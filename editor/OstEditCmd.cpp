// Keys to commands, the command processor and the executor's dispatch.

#include <algorithm>
#include <cstring>
#include <string>

#include "editor/OstEdit.h"

namespace ostrel {

namespace {

// Keys from VK_ACCEPT to VK_SCROLL may start a two-key sequence; the
// modifier keys and the like may not.
bool CanStartSequence(uint16_t key)
{
    return key >= VK_ACCEPT && key <= VK_SCROLL;
}

}  // namespace

// ---- keys ------------------------------------------------------------------------

void TCustomOstEdit::KeyDown(uint16_t& key, TOstShiftState shift)
{
    // A new key: the character of the one before it, if any, has come.
    ignoreNextChar_ = false;
    kbdHandler_.ExecuteKeyDown(*this, key, shift);
    if (key == 0) {
        // A handler took the key: no binding, not even one without a key.
        lastKey_ = 0;
        lastShift_ = 0;
        ignoreNextChar_ = false;
        return;
    }
    int found = -1;
    if (lastKey_ != 0)
        found = keystrokes_.FindKeycode2(lastKey_, lastShift_, key, shift);
    if (found < 0)
        found = keystrokes_.FindKeycode(key, shift);
    if (found < 0 && CanStartSequence(key)) {
        lastKey_ = key;
        lastShift_ = shift;
    } else {
        lastKey_ = 0;
        lastShift_ = 0;
    }
    if (found < 0) {
        ignoreNextChar_ = false;
        return;
    }
    key = 0;
    ignoreNextChar_ = true;
    CommandProcessor(keystrokes_.Items(found).Command, '\0', nullptr);
}

void TCustomOstEdit::KeyUp(uint16_t& key, TOstShiftState shift)
{
    // A bound key that produced no character drops none of the next key's.
    ignoreNextChar_ = false;
    kbdHandler_.ExecuteKeyUp(*this, key, shift);
}

void TCustomOstEdit::KeyPress(char& key)
{
    if (imeCharsToDrop_ > 0) {
        --imeCharsToDrop_;
        return;
    }
    if (ignoreNextChar_) {
        ignoreNextChar_ = false;
        return;
    }
    kbdHandler_.ExecuteKeyPress(*this, key);
    CommandProcessor(ecChar, key, nullptr);
}

// A character of several bytes travels whole, NUL-terminated, with the
// command; its first byte stands in the character slot.
void TCustomOstEdit::KeyPressText(std::string_view chars)
{
    const TOstTextChars& model = lines_.Chars();
    for (size_t at = 0; at < chars.size();) {
        const size_t next = model.Next(chars, at);
        if (next == at + 1) {
            char c = chars[at];
            KeyPress(c);
        } else if (imeCharsToDrop_ > 0) {
            imeCharsToDrop_ = std::max(0, imeCharsToDrop_ - static_cast<int>(next - at));
        } else if (ignoreNextChar_) {
            ignoreNextChar_ = false;
        } else {
            const std::string character(chars.substr(at, next - at));
            char first = character[0];
            kbdHandler_.ExecuteKeyPress(*this, first);
            CommandProcessor(ecChar, first, character.c_str());
        }
        at = next;
    }
}

bool TCustomOstEdit::KeyStroke(uint16_t key, TOstShiftState shift, std::string_view utf8)
{
    bool used = false;
    if (key != 0) {
        KeyDown(key, shift);
        used = key == 0;
    } else {
        ignoreNextChar_ = false;
    }
    if (!used && !utf8.empty()) {
        std::string chars;
        if (TextForDocument(utf8, TOstEncoding::Utf8, chars))
            KeyPressText(chars);
        used = true;
    }
    ignoreNextChar_ = false;
    return used;
}

void TCustomOstEdit::ImeString(std::string_view text, bool charsFollow)
{
    const std::string terminated(text);
    imeCharsToDrop_ = charsFollow ? static_cast<int>(std::strlen(terminated.c_str())) : 0;
    CommandProcessor(ecImeStr, '\0', terminated.c_str());
}

int TCustomOstEdit::DlgCode() const
{
    int code = wantTabs_ ? 131 : 129;
    if (wantReturns_)
        code += 4;
    return code;
}

// ---- the command processor ----------------------------------------------------------

void TCustomOstEdit::RegisterCommandHandler(const void* owner, TOstHookedCommandEvent handler)
{
    commandHandlers_.Add(owner, std::move(handler));
}

void TCustomOstEdit::UnregisterCommandHandler(const void* owner)
{
    commandHandlers_.Remove(owner);
}

void TCustomOstEdit::CommandProcessor(TOstEditorCommand command, char aChar, const void* data)
{
    const TOstProcessCommandEvent& event = command < ecUserFirst ? OnProcessCommand : OnProcessUserCommand;
    if (event)
        event(command, aChar, data);
    if (command != ecNone) {
        auto notifyHooks = [&](bool after) {
            bool handled = false;
            for (const TOstHookedCommandEvent& hook : commandHandlers_.Handlers())
                hook(after, handled, command, aChar, data);
            if (handled)
                command = ecNone;
        };
        notifyHooks(false);
        if (command != ecNone && command < ecUserFirst)
            ExecuteCommand(command, aChar, data);
        if (command != ecNone)
            notifyHooks(true);
    }
    if (OnCommandProcessed)
        OnCommandProcessed(command, aChar, data);
}

void TCustomOstEdit::ExecuteCommand(TOstEditorCommand command, char aChar, const void* data)
{
    TOstPaintLockGuard lock(*this);
    switch (EditorCommandFamily(command)) {
    case TOstCommandFamily::Move: ExecuteMoveCommand(command, data); break;
    case TOstCommandFamily::Text:
    case TOstCommandFamily::Case: ExecuteEditCommand(command, aChar, data); break;
    case TOstCommandFamily::Marker: ExecuteMarkerCommand(command, data); break;
    case TOstCommandFamily::View: ExecuteViewCommand(command); break;
    case TOstCommandFamily::None: break;
    }
}

}  // namespace ostrel
