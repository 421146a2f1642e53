#include "keys/qt/QtKeyToVirtualKeyTable.h"

#include <algorithm>

namespace varnok {

using enum KeypadMatch;

// clang-format off
const std::array<QtKeyVirtualKeyRow, 132> QtKeyToVirtualKeyTable = {{
    // Letters: Qt reports the upper-case key whether Shift is held or not
    {Qt::Key_A, Either, 0x41}, {Qt::Key_B, Either, 0x42}, {Qt::Key_C, Either, 0x43}, {Qt::Key_D, Either, 0x44},
    {Qt::Key_E, Either, 0x45}, {Qt::Key_F, Either, 0x46}, {Qt::Key_G, Either, 0x47}, {Qt::Key_H, Either, 0x48},
    {Qt::Key_I, Either, 0x49}, {Qt::Key_J, Either, 0x4A}, {Qt::Key_K, Either, 0x4B}, {Qt::Key_L, Either, 0x4C},
    {Qt::Key_M, Either, 0x4D}, {Qt::Key_N, Either, 0x4E}, {Qt::Key_O, Either, 0x4F}, {Qt::Key_P, Either, 0x50},
    {Qt::Key_Q, Either, 0x51}, {Qt::Key_R, Either, 0x52}, {Qt::Key_S, Either, 0x53}, {Qt::Key_T, Either, 0x54},
    {Qt::Key_U, Either, 0x55}, {Qt::Key_V, Either, 0x56}, {Qt::Key_W, Either, 0x57}, {Qt::Key_X, Either, 0x58},
    {Qt::Key_Y, Either, 0x59}, {Qt::Key_Z, Either, 0x5A},

    // Number row, plain and shifted
    {Qt::Key_1, Main, 0x31}, {Qt::Key_Exclam,     Main,   0x31},
    {Qt::Key_2, Main, 0x32}, {Qt::Key_At,         Main,   0x32},
    {Qt::Key_3, Main, 0x33}, {Qt::Key_NumberSign, Main,   0x33},
    {Qt::Key_4, Main, 0x34}, {Qt::Key_Dollar,     Main,   0x34},
    {Qt::Key_5, Main, 0x35}, {Qt::Key_Percent,    Main,   0x35},
    {Qt::Key_6, Main, 0x36}, {Qt::Key_AsciiCircum, Main,  0x36},
    {Qt::Key_7, Main, 0x37}, {Qt::Key_Ampersand,  Main,   0x37},
    {Qt::Key_8, Main, 0x38}, {Qt::Key_Asterisk,   Main,   0x38},
    {Qt::Key_9, Main, 0x39}, {Qt::Key_ParenLeft,  Main,   0x39},
    {Qt::Key_0, Main, 0x30}, {Qt::Key_ParenRight, Main,   0x30},

    // Punctuation keys, plain and shifted, by their US position
    {Qt::Key_QuoteLeft,    Either, 0xC0}, {Qt::Key_AsciiTilde, Either, 0xC0},  // VK_OEM_3
    {Qt::Key_Minus,        Main,   0xBD}, {Qt::Key_Underscore, Either, 0xBD},  // VK_OEM_MINUS
    {Qt::Key_Equal,        Either, 0xBB}, {Qt::Key_Plus,       Main,   0xBB},  // VK_OEM_PLUS
    {Qt::Key_BracketLeft,  Either, 0xDB}, {Qt::Key_BraceLeft,  Either, 0xDB},  // VK_OEM_4
    {Qt::Key_BracketRight, Either, 0xDD}, {Qt::Key_BraceRight, Either, 0xDD},  // VK_OEM_6
    {Qt::Key_Backslash,    Either, 0xDC}, {Qt::Key_Bar,        Either, 0xDC},  // VK_OEM_5
    {Qt::Key_Semicolon,    Either, 0xBA}, {Qt::Key_Colon,      Either, 0xBA},  // VK_OEM_1
    {Qt::Key_Apostrophe,   Either, 0xDE}, {Qt::Key_QuoteDbl,   Either, 0xDE},  // VK_OEM_7
    {Qt::Key_Comma,        Main,   0xBC}, {Qt::Key_Less,       Either, 0xBC},  // VK_OEM_COMMA
    {Qt::Key_Period,       Main,   0xBE}, {Qt::Key_Greater,    Either, 0xBE},  // VK_OEM_PERIOD
    {Qt::Key_Slash,        Main,   0xBF}, {Qt::Key_Question,   Either, 0xBF},  // VK_OEM_2

    // Keypad with NumLock on
    {Qt::Key_0, Keypad, 0x60}, {Qt::Key_1, Keypad, 0x61}, {Qt::Key_2, Keypad, 0x62}, {Qt::Key_3, Keypad, 0x63},
    {Qt::Key_4, Keypad, 0x64}, {Qt::Key_5, Keypad, 0x65}, {Qt::Key_6, Keypad, 0x66}, {Qt::Key_7, Keypad, 0x67},
    {Qt::Key_8, Keypad, 0x68}, {Qt::Key_9, Keypad, 0x69},
    {Qt::Key_Asterisk, Keypad, 0x6A},  // VK_MULTIPLY
    {Qt::Key_Plus,     Keypad, 0x6B},  // VK_ADD
    {Qt::Key_Minus,    Keypad, 0x6D},  // VK_SUBTRACT
    {Qt::Key_Period,   Keypad, 0x6E},  // VK_DECIMAL
    {Qt::Key_Comma,    Keypad, 0x6E},  // VK_DECIMAL where the layout's decimal sign is a comma
    {Qt::Key_Slash,    Keypad, 0x6F},  // VK_DIVIDE
    {Qt::Key_Enter,    Either, 0x0D},
    {Qt::Key_NumLock,  Either, 0x90},
    // With NumLock off the keypad keys are the editing keys below; keypad 5 alone is Clear.
    {Qt::Key_Clear,    Either, 0x0C},

    // Editing keys and arrows
    {Qt::Key_Insert, Either, 0x2D}, {Qt::Key_Home, Either, 0x24}, {Qt::Key_PageUp,   Either, 0x21},
    {Qt::Key_Delete, Either, 0x2E}, {Qt::Key_End,  Either, 0x23}, {Qt::Key_PageDown, Either, 0x22},
    {Qt::Key_Left,   Either, 0x25}, {Qt::Key_Up,   Either, 0x26}, {Qt::Key_Right,    Either, 0x27},
    {Qt::Key_Down,   Either, 0x28},

    // Function row
    {Qt::Key_Escape, Either, 0x1B},
    {Qt::Key_F1,  Either, 0x70}, {Qt::Key_F2,  Either, 0x71}, {Qt::Key_F3,  Either, 0x72}, {Qt::Key_F4,  Either, 0x73},
    {Qt::Key_F5,  Either, 0x74}, {Qt::Key_F6,  Either, 0x75}, {Qt::Key_F7,  Either, 0x76}, {Qt::Key_F8,  Either, 0x77},
    {Qt::Key_F9,  Either, 0x78}, {Qt::Key_F10, Either, 0x79}, {Qt::Key_F11, Either, 0x7A}, {Qt::Key_F12, Either, 0x7B},
    {Qt::Key_Print,      Either, 0x2C},  // VK_SNAPSHOT
    {Qt::Key_SysReq,     Either, 0x2C},  // PrintScreen with Alt held
    {Qt::Key_ScrollLock, Either, 0x91},
    {Qt::Key_Pause,      Either, 0x13},

    // Typing keys
    {Qt::Key_Tab,       Either, 0x09},
    {Qt::Key_Backtab,   Either, 0x09},  // Shift+Tab
    {Qt::Key_Backspace, Either, 0x08},
    {Qt::Key_Return,    Either, 0x0D},
    {Qt::Key_Space,     Either, 0x20},
    {Qt::Key_CapsLock,  Either, 0x14},

    // Modifiers and the Windows keys (X11 reports either Windows key as Key_Meta or Super)
    {Qt::Key_Shift,   Either, 0x10},
    {Qt::Key_Control, Either, 0x11},
    {Qt::Key_Alt,     Either, 0x12},
    {Qt::Key_AltGr,   Either, 0x12},
    {Qt::Key_Meta,    Either, 0x5B},  // VK_LWIN
    {Qt::Key_Super_L, Either, 0x5B},  // VK_LWIN
    {Qt::Key_Super_R, Either, 0x5C},  // VK_RWIN
    {Qt::Key_Menu,    Either, 0x5D},  // VK_APPS

    // Japanese input keys, as the Windows Japanese layout names them
    {Qt::Key_Zenkaku_Hankaku,   Either, 0xF3},  // VK_DBE_SBCSCHAR
    {Qt::Key_Muhenkan,          Either, 0x1D},  // VK_NONCONVERT
    {Qt::Key_Henkan,            Either, 0x1C},  // VK_CONVERT
    {Qt::Key_Hiragana_Katakana, Either, 0xF2},  // VK_DBE_HIRAGANA
}};
// clang-format on

std::optional<std::uint8_t> VirtualKeyOfQtKey(int key, bool onKeypad) {
    const auto row = std::find_if(QtKeyToVirtualKeyTable.begin(), QtKeyToVirtualKeyTable.end(),
                                  [&](const QtKeyVirtualKeyRow& r) {
                                      return r.key == key &&
                                             (r.where == Either || (r.where == Keypad) == onKeypad);
                                  });
    if (row == QtKeyToVirtualKeyTable.end()) {
        return std::nullopt;
    }
    return row->virtualKey;
}

}  // namespace varnok
