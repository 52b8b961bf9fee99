// Keys to commands, the command processor and the executor's dispatch.

#include <cstring>

#include "editor/OstEdit.h"

namespace ostrel {

namespace {

// Keys from VK_ACCEPT to VK_SCROLL may start a two-key sequence; the
// modifier keys and the like may not.
bool CanStartSequence(uint16_t key)
{
    return key >= 30 && key <= 145;
}

bool IsMoveCommand(TOstEditorCommand c)
{
    return (c >= ecLeft && c <= ecGotoXY) || (c >= ecSelLeft && c <= ecSelGotoXY) || c == ecSelectAll;
}

bool IsMarkerCommand(TOstEditorCommand c)
{
    return (c >= ecGotoMarker0 && c <= ecGotoMarker9) || (c >= ecSetMarker0 && c <= ecSetMarker9);
}

}  // namespace

// ---- keys ------------------------------------------------------------------------

void TCustomOstEdit::KeyDown(uint16_t& key, TOstShiftState shift)
{
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
    if (IsMoveCommand(command))
        ExecuteMoveCommand(command, data);
    else if (command >= ecDeleteLastChar)
        ExecuteEditCommand(command, aChar, data);
    else if (IsMarkerCommand(command))
        ExecuteMarkerCommand(command, data);
    else
        ExecuteViewCommand(command);
}

}  // namespace ostrel
