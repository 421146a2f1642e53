#include "keys/VirtualKeyTable.h"

namespace varnok {

// clang-format off
const std::array<VirtualKeyRow, 108> VirtualKeyTable = {{
    // virtual key  key code      name
    {0x30,         0x0B,         "0"},
    {0x31,         0x02,         "1"},
    {0x32,         0x03,         "2"},
    {0x33,         0x04,         "3"},
    {0x34,         0x05,         "4"},
    {0x35,         0x06,         "5"},
    {0x36,         0x07,         "6"},
    {0x37,         0x08,         "7"},
    {0x38,         0x09,         "8"},
    {0x39,         0x0A,         "9"},

    {0x41,         0x1E,         "A"},
    {0x42,         0x30,         "B"},
    {0x43,         0x2E,         "C"},
    {0x44,         0x20,         "D"},
    {0x45,         0x12,         "E"},
    {0x46,         0x21,         "F"},
    {0x47,         0x22,         "G"},
    {0x48,         0x23,         "H"},
    {0x49,         0x17,         "I"},
    {0x4A,         0x24,         "J"},
    {0x4B,         0x25,         "K"},
    {0x4C,         0x26,         "L"},
    {0x4D,         0x32,         "M"},
    {0x4E,         0x31,         "N"},
    {0x4F,         0x18,         "O"},
    {0x50,         0x19,         "P"},
    {0x51,         0x10,         "Q"},
    {0x52,         0x13,         "R"},
    {0x53,         0x1F,         "S"},
    {0x54,         0x14,         "T"},
    {0x55,         0x16,         "U"},
    {0x56,         0x2F,         "V"},
    {0x57,         0x11,         "W"},
    {0x58,         0x2D,         "X"},
    {0x59,         0x15,         "Y"},
    {0x5A,         0x2C,         "Z"},

    {0x08,         0x0E,         "Back"},                 // Backspace
    {0x09,         0x0F,         "Tab"},
    {0x0C,         0x4C,         "CLEAR"},                // Clear: keypad 5 with NumLock off
    {0x0D,         0x1C,         "Ret"},                  // Enter
    {0x10,         0x2A,         "Shift"},                // left Shift
    {0x11,         0x1D,         "Ctrl"},                 // left Ctrl
    {0x12,         0x38,         "Alt"},                  // left Alt
    {0x13,         0x45,         "Paus"},
    {0x14,         0x3A,         "Caps"},                 // CapsLock
    {0x1B,         0x01,         "Esc"},
    {0x20,         0x39,         "SPACE"},                // Space
    {0x21,         0x49,         "PgUp"},                 // PageUp
    {0x22,         0x51,         "PgDn"},                 // PageDown
    {0x23,         0x4F,         "End"},
    {0x24,         0x47,         "Home"},
    {0x25,         0x4B,         "LEFT"},                 // Left
    {0x26,         0x48,         "UP"},                   // Up
    {0x27,         0x4D,         "RIGHT"},                // Right
    {0x28,         0x50,         "DOWN"},                 // Down
    {0x2C,         0x37,         "PrintScreen"},
    {0x2D,         0x52,         "Ins"},                  // Insert
    {0x2E,         0x54,         "Del"},                  // Delete

    {0x5B,         0x5B,         "Windows"},              // left Windows
    {0x5C,         0x5C,         "Windows"},              // right Windows
    {0x5D,         0x5D,         "App"},                  // Menu

    {0x60,         0x90,         "Num0"},                 // keypad 0 with NumLock on
    {0x61,         0x91,         "Num1"},                 // keypad 1 with NumLock on
    {0x62,         0x92,         "Num2"},                 // keypad 2 with NumLock on
    {0x63,         0x93,         "Num3"},                 // keypad 3 with NumLock on
    {0x64,         0x94,         "Num4"},                 // keypad 4 with NumLock on
    {0x65,         0x95,         "Num5"},                 // keypad 5 with NumLock on
    {0x66,         0x96,         "Num6"},                 // keypad 6 with NumLock on
    {0x67,         0x97,         "Num7"},                 // keypad 7 with NumLock on
    {0x68,         0x98,         "Num8"},                 // keypad 8 with NumLock on
    {0x69,         0x99,         "Num9"},                 // keypad 9 with NumLock on
    {0x6A,         0x9A,         "Num*"},                 // keypad *
    {0x6B,         0x4E,         "+"},                    // keypad +
    {0x6C,         kNoKeyCode,   "NumIns"},               // separator: no standard key
    {0x6D,         0x4A,         "-"},                    // keypad -
    {0x6E,         0x53,         "."},                    // keypad .
    {0x6F,         0x35,         "/"},                    // keypad /

    {0x70,         0x3B,         "F1"},
    {0x71,         0x3C,         "F2"},
    {0x72,         0x3D,         "F3"},
    {0x73,         0x3E,         "F4"},
    {0x74,         0x3F,         "F5"},
    {0x75,         0x40,         "F6"},
    {0x76,         0x41,         "F7"},
    {0x77,         0x42,         "F8"},
    {0x78,         0x43,         "F9"},
    {0x79,         0x44,         "F10"},
    {0x7A,         0x57,         "F11"},
    {0x7B,         0x58,         "F12"},
    {0x90,         0x8A,         "Num"},                  // NumLock
    {0x91,         0x46,         "Scroll"},               // ScrollLock

    {0xBA,         0x27,         ";"},
    {0xBB,         0x0D,         "+"},                    // = +
    {0xBC,         0x33,         ","},
    {0xBD,         0x0C,         "-"},
    {0xBE,         0x34,         "."},
    {0xBF,         0x35,         "?"},                    // / ?
    {0xC0,         0x29,         "`"},
    {0xDB,         0x1A,         "["},
    {0xDC,         0x2B,         "\\"},                   // backslash
    {0xDD,         0x1B,         "]"},
    {0xDE,         0x28,         "'"},

    {0xEB,         0x7D,         "OEM_5"},                // Japanese layout, scan byte 7D
    {0xEC,         0x79,         "CONVERT"},              // Japanese layout: Henkan
    {0xED,         0x70,         "DBE_HIRAGANA"},         // Japanese layout: Hiragana
    {0xEE,         0x7B,         "NONCONVERT"},           // Japanese layout: Muhenkan
    {0xEF,         0x73,         "OEM_102"},              // Japanese layout: Ro
    {0xF0,         0x76,         "Zenkaku/Hankaku"},      // Japanese layout
}};
// clang-format on

}  // namespace varnok
