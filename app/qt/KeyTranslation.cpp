#include "app/qt/KeyTranslation.h"

#include <QKeyEvent>
#include <algorithm>
#include <iterator>

#include "platform/CodePage.h"

namespace ostrel {

namespace {

struct KeyPair {
    int qt;
    uint16_t vk;
};

// Keys whose code is not their character. Punctuation is listed with its
// shifted form as well, as Qt reports the character the key produced (US
// layout positions, as the key names use them).
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9}, {Qt::Key_Backtab, 9}, {Qt::Key_Clear, 12},
    {Qt::Key_Return, 13}, {Qt::Key_Enter, 13}, {Qt::Key_Shift, 16}, {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18}, {Qt::Key_Pause, 19}, {Qt::Key_CapsLock, 20}, {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32}, {Qt::Key_PageUp, 33}, {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},
    {Qt::Key_Home, 36}, {Qt::Key_Left, 37}, {Qt::Key_Up, 38}, {Qt::Key_Right, 39},
    {Qt::Key_Down, 40}, {Qt::Key_Print, 44}, {Qt::Key_Insert, 45}, {Qt::Key_Delete, 46},
    {Qt::Key_Help, 47}, {Qt::Key_Meta, 91}, {Qt::Key_Menu, 93}, {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
    {Qt::Key_Semicolon, 186}, {Qt::Key_Colon, 186}, {Qt::Key_Equal, 187}, {Qt::Key_Plus, 187},
    {Qt::Key_Comma, 188}, {Qt::Key_Less, 188}, {Qt::Key_Minus, 189}, {Qt::Key_Underscore, 189},
    {Qt::Key_Period, 190}, {Qt::Key_Greater, 190}, {Qt::Key_Slash, 191}, {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192}, {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219}, {Qt::Key_Backslash, 220}, {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},
    {Qt::Key_Exclam, '1'}, {Qt::Key_At, '2'}, {Qt::Key_NumberSign, '3'}, {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'}, {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'}, {Qt::Key_ParenLeft, '9'}, {Qt::Key_ParenRight, '0'},
};

// The keypad's own codes: digits 96..105, then * + (separator) - . /
constexpr KeyPair kKeypad[] = {
    {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107}, {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110}, {Qt::Key_Comma, 110}, {Qt::Key_Slash, 111},
};

uint16_t Find(const KeyPair* begin, const KeyPair* end, int qtKey)
{
    const KeyPair* it = std::find_if(begin, end, [qtKey](const KeyPair& k) { return k.qt == qtKey; });
    return it == end ? 0 : it->vk;
}

}  // namespace

uint16_t VirtualKeyOf(int qtKey, bool keypad)
{
    if (keypad) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return static_cast<uint16_t>(96 + (qtKey - Qt::Key_0));
        if (const uint16_t vk = Find(std::begin(kKeypad), std::end(kKeypad), qtKey))
            return vk;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return static_cast<uint16_t>(qtKey);  // the same codes as the characters
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<uint16_t>(112 + (qtKey - Qt::Key_F1));
    return Find(std::begin(kKeys), std::end(kKeys), qtKey);
}

uint16_t VirtualKeyOf(const QKeyEvent& event)
{
    return VirtualKeyOf(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

TOstShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers)
{
    TOstShiftState shift = 0;
    if (modifiers.testFlag(Qt::ShiftModifier))
        shift |= ssShift;
    if (modifiers.testFlag(Qt::AltModifier))
        shift |= ssAlt;
    if (modifiers.testFlag(Qt::ControlModifier))
        shift |= ssCtrl;
    return shift;
}

std::string ToAnsi(const QString& text)
{
    return codepage::fromUtf8(text.toStdString());
}

QString FromAnsi(std::string_view ansi)
{
    return QString::fromStdString(codepage::toUtf8(ansi));
}

}  // namespace ostrel
