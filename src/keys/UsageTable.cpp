#include "keys/UsageTable.h"

namespace varnok {

// clang-format off
const std::array<UsageRow, 113> UsageTable = {{
    // usage  key code  name
    {0x04,    0x1E,     "a"},           // a..z
    {0x05,    0x30,     "b"},
    {0x06,    0x2E,     "c"},
    {0x07,    0x20,     "d"},
    {0x08,    0x12,     "e"},
    {0x09,    0x21,     "f"},
    {0x0A,    0x22,     "g"},
    {0x0B,    0x23,     "h"},
    {0x0C,    0x17,     "i"},
    {0x0D,    0x24,     "j"},
    {0x0E,    0x25,     "k"},
    {0x0F,    0x26,     "l"},
    {0x10,    0x32,     "m"},
    {0x11,    0x31,     "n"},
    {0x12,    0x18,     "o"},
    {0x13,    0x19,     "p"},
    {0x14,    0x10,     "q"},
    {0x15,    0x13,     "r"},
    {0x16,    0x1F,     "s"},
    {0x17,    0x14,     "t"},
    {0x18,    0x16,     "u"},
    {0x19,    0x2F,     "v"},
    {0x1A,    0x11,     "w"},
    {0x1B,    0x2D,     "x"},
    {0x1C,    0x15,     "y"},
    {0x1D,    0x2C,     "z"},

    {0x1E,    0x02,     "1"},           // 1..0 on the main row
    {0x1F,    0x03,     "2"},
    {0x20,    0x04,     "3"},
    {0x21,    0x05,     "4"},
    {0x22,    0x06,     "5"},
    {0x23,    0x07,     "6"},
    {0x24,    0x08,     "7"},
    {0x25,    0x09,     "8"},
    {0x26,    0x0A,     "9"},
    {0x27,    0x0B,     "0"},

    {0x28,    0x1C,     "Enter"},       // Enter
    {0x29,    0x01,     "Esc"},         // Esc
    {0x2A,    0x0E,     "Back"},        // Backspace
    {0x2B,    0x0F,     "Tab"},
    {0x2C,    0x39,     "Space"},       // Space
    {0x2D,    0x0C,     "-"},
    {0x2E,    0x0D,     "="},
    {0x2F,    0x1A,     "["},
    {0x30,    0x1B,     "]"},
    {0x31,    0x2B,     "|"},           // backslash
    {0x32,    0x00,     ""},            // non-US #: no scan byte, no name
    {0x33,    0x27,     ";"},
    {0x34,    0x28,     "'"},
    {0x35,    0x29,     "`"},
    {0x36,    0x33,     ","},
    {0x37,    0x34,     "."},
    {0x38,    0x35,     "/"},
    {0x39,    0x3A,     "CapsLock"},    // CapsLock

    {0x3A,    0x3B,     "F1"},          // F1..F12
    {0x3B,    0x3C,     "F2"},
    {0x3C,    0x3D,     "F3"},
    {0x3D,    0x3E,     "F4"},
    {0x3E,    0x3F,     "F5"},
    {0x3F,    0x40,     "F6"},
    {0x40,    0x41,     "F7"},
    {0x41,    0x42,     "F8"},
    {0x42,    0x43,     "F9"},
    {0x43,    0x44,     "F10"},
    {0x44,    0x57,     "F11"},
    {0x45,    0x58,     "F12"},

    {0x46,    0x37,     "PrintScreen"},
    {0x47,    0x46,     "Scroll"},      // ScrollLock
    {0x48,    0x45,     "Pause"},
    {0x49,    0x52,     "Insert"},
    {0x4A,    0x47,     "Home"},
    {0x4B,    0x49,     "PageUp"},
    {0x4C,    0x54,     "Delete"},
    {0x4D,    0x4F,     "End"},
    {0x4E,    0x51,     "PageDown"},
    {0x4F,    0x4D,     "→"},           // Right
    {0x50,    0x4B,     "←"},           // Left
    {0x51,    0x50,     "↓"},           // Down
    {0x52,    0x48,     "↑"},           // Up

    {0x65,    0x5D,     "Windows"},     // Application
    {0x66,    0x00,     "Power"},       // Power: no scan byte

    {0xE0,    0x1D,     "Ctrl"},        // left Ctrl
    {0xE1,    0x2A,     "Shift"},       // left Shift
    {0xE2,    0x38,     "Alt"},         // left Alt
    {0xE3,    0x5B,     "Window"},      // left Windows
    {0xE4,    0x1D,     "Ctrl"},        // right Ctrl
    {0xE5,    0x36,     "Shift"},       // right Shift
    {0xE6,    0x38,     "Alt"},         // right Alt
    {0xE7,    0x5C,     "Windows"},     // right Windows

    {0x54,    0x35,     "/"},           // keypad /
    {0x55,    0x7A,     "*"},           // keypad *
    {0x56,    0x4A,     "-"},           // keypad -
    {0x57,    0x4E,     "+"},           // keypad +
    {0x58,    0x1C,     "Enter"},       // keypad Enter
    {0x59,    0x91,     "1"},           // keypad 1..0
    {0x5A,    0x92,     "2"},
    {0x5B,    0x93,     "3"},
    {0x5C,    0x94,     "4"},
    {0x5D,    0x95,     "5"},
    {0x5E,    0x96,     "6"},
    {0x5F,    0x97,     "7"},
    {0x60,    0x98,     "8"},
    {0x61,    0x99,     "9"},
    {0x62,    0x90,     "0"},
    {0x63,    0x53,     "Del"},         // keypad .
    {0x53,    0x8A,     "NumLock"},     // NumLock

    {0x8B,    0x7B,     ""},            // Japanese layout: Muhenkan
    {0x8A,    0x79,     ""},            // Henkan
    {0x88,    0x70,     ""},            // Hiragana
    {0x89,    0x7D,     ""},            // Yen
    {0x87,    0x73,     ""},            // Ro
    {0x5D,    0x4C,     "5"},           // keypad 5 with NumLock off
    {0x94,    0x76,     ""},            // Zenkaku/Hankaku
}};
// clang-format on

}  // namespace varnok
