#pragma once
// The key codes of the key tables: the virtual-key codes the program's key
// bindings were first written in, kept so that stored key tables and key
// scripts mean what they always meant. Letters and digits are their own
// upper-case characters ('A', '7').

#include <cstdint>

namespace ostrel {

enum : uint16_t {
    VK_BACK = 8, VK_TAB = 9, VK_CLEAR = 12, VK_RETURN = 13,
    VK_SHIFT = 16, VK_CONTROL = 17, VK_MENU = 18, VK_PAUSE = 19, VK_CAPITAL = 20,
    VK_ESCAPE = 27,
    VK_ACCEPT = 30,  // the first key that may start a two-key binding
    VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35, VK_HOME = 36,
    VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40,
    VK_SNAPSHOT = 44, VK_INSERT = 45, VK_DELETE = 46, VK_HELP = 47,
    VK_LWIN = 91, VK_APPS = 93,
    // The numeric keypad: digits VK_NUMPAD0 to VK_NUMPAD0 + 9, then its signs.
    VK_NUMPAD0 = 96, VK_MULTIPLY = 106, VK_ADD = 107, VK_SEPARATOR = 108, VK_SUBTRACT = 109,
    VK_DECIMAL = 110, VK_DIVIDE = 111,
    // Function keys F1 to F24 follow one another.
    VK_F1 = 112, VK_F12 = 123, VK_F24 = 135,
    VK_NUMLOCK = 144,
    VK_SCROLL = 145,  // the last key that may start a two-key binding
    // Punctuation keys by their place on a US keyboard.
    VK_OEM_1 = 186,       // ; :
    VK_OEM_PLUS = 187,    // = +
    VK_OEM_COMMA = 188,   // , <
    VK_OEM_MINUS = 189,   // - _
    VK_OEM_PERIOD = 190,  // . >
    VK_OEM_2 = 191,       // / ?
    VK_OEM_3 = 192,       // ` ~
    VK_OEM_4 = 219,       // [ {
    VK_OEM_5 = 220,       // \ |
    VK_OEM_6 = 221,       // ] }
    VK_OEM_7 = 222,       // ' "
};

}  // namespace ostrel
