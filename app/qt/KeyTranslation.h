#pragma once
// Qt key events in the terms of the editor's key tables: Windows virtual-key
// codes with the Shift/Alt/Ctrl bits, and typed or composed text as
// Windows-1250 bytes.

#include <QString>
#include <Qt>
#include <cstdint>
#include <string>
#include <string_view>

#include "editor/OstEditPaintTypes.h"

class QKeyEvent;

namespace ostrel {

// The virtual-key code of a Qt key, or 0 for a key without one. keypad
// tells a key of the numeric keypad.
uint16_t VirtualKeyOf(int qtKey, bool keypad = false);
TOstShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers);
// The virtual-key code of a key event.
uint16_t VirtualKeyOf(const QKeyEvent& event);

// Text to Windows-1250; characters the code page lacks become "?".
std::string ToAnsi(const QString& text);
// Windows-1250 text for Qt.
QString FromAnsi(std::string_view ansi);

}  // namespace ostrel
