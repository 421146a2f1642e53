#include "keys/linux/VirtualKeyFromEvdevTable.h"

#include <linux/input-event-codes.h>

#include <algorithm>

namespace varnok {

// Windows gives both Shift, both Ctrl and both Alt keys one virtual key each (10, 11, 12) and
// tells them apart only by the scan byte; the Windows keys keep 5B and 5C. The Japanese keys
// carry the codes of the Windows Japanese layout: VK_NONCONVERT 1D, VK_CONVERT 1C,
// VK_DBE_HIRAGANA F2, VK_DBE_SBCSCHAR F3, VK_OEM_102 E2 for Ro and VK_OEM_5 DC for Yen.
// clang-format off
const std::array<EvdevVirtualKeyRow, 111> VirtualKeyFromEvdevTable = {{
    // Function row
    {KEY_ESC,        0x1B},
    {KEY_F1,         0x70}, {KEY_F2,  0x71}, {KEY_F3,  0x72}, {KEY_F4,  0x73},
    {KEY_F5,         0x74}, {KEY_F6,  0x75}, {KEY_F7,  0x76}, {KEY_F8,  0x77},
    {KEY_F9,         0x78}, {KEY_F10, 0x79}, {KEY_F11, 0x7A}, {KEY_F12, 0x7B},
    {KEY_SYSRQ,      0x2C},  // VK_SNAPSHOT
    {KEY_SCROLLLOCK, 0x91},
    {KEY_PAUSE,      0x13},

    // Number row
    {KEY_GRAVE,      0xC0},  // VK_OEM_3
    {KEY_1,          0x31}, {KEY_2, 0x32}, {KEY_3, 0x33}, {KEY_4, 0x34},
    {KEY_5,          0x35}, {KEY_6, 0x36}, {KEY_7, 0x37}, {KEY_8, 0x38},
    {KEY_9,          0x39}, {KEY_0, 0x30},
    {KEY_MINUS,      0xBD},  // VK_OEM_MINUS
    {KEY_EQUAL,      0xBB},  // VK_OEM_PLUS
    {KEY_BACKSPACE,  0x08},

    // Top letter row
    {KEY_TAB,        0x09},
    {KEY_Q,          0x51}, {KEY_W, 0x57}, {KEY_E, 0x45}, {KEY_R, 0x52},
    {KEY_T,          0x54}, {KEY_Y, 0x59}, {KEY_U, 0x55}, {KEY_I, 0x49},
    {KEY_O,          0x4F}, {KEY_P, 0x50},
    {KEY_LEFTBRACE,  0xDB},  // VK_OEM_4
    {KEY_RIGHTBRACE, 0xDD},  // VK_OEM_6
    {KEY_ENTER,      0x0D},

    // Home row
    {KEY_CAPSLOCK,   0x14},
    {KEY_A,          0x41}, {KEY_S, 0x53}, {KEY_D, 0x44}, {KEY_F, 0x46},
    {KEY_G,          0x47}, {KEY_H, 0x48}, {KEY_J, 0x4A}, {KEY_K, 0x4B},
    {KEY_L,          0x4C},
    {KEY_SEMICOLON,  0xBA},  // VK_OEM_1
    {KEY_APOSTROPHE, 0xDE},  // VK_OEM_7
    {KEY_BACKSLASH,  0xDC},  // VK_OEM_5

    // Bottom letter row
    {KEY_LEFTSHIFT,  0x10},
    {KEY_102ND,      0xE2},  // VK_OEM_102
    {KEY_Z,          0x5A}, {KEY_X, 0x58}, {KEY_C, 0x43}, {KEY_V, 0x56},
    {KEY_B,          0x42}, {KEY_N, 0x4E}, {KEY_M, 0x4D},
    {KEY_COMMA,      0xBC},  // VK_OEM_COMMA
    {KEY_DOT,        0xBE},  // VK_OEM_PERIOD
    {KEY_SLASH,      0xBF},  // VK_OEM_2
    {KEY_RIGHTSHIFT, 0x10},

    // Space row
    {KEY_LEFTCTRL,   0x11},
    {KEY_LEFTMETA,   0x5B},
    {KEY_LEFTALT,    0x12},
    {KEY_SPACE,      0x20},
    {KEY_RIGHTALT,   0x12},
    {KEY_RIGHTMETA,  0x5C},
    {KEY_COMPOSE,    0x5D},  // VK_APPS
    {KEY_RIGHTCTRL,  0x11},

    // Editing block and arrows
    {KEY_INSERT,     0x2D}, {KEY_HOME, 0x24}, {KEY_PAGEUP,   0x21},
    {KEY_DELETE,     0x2E}, {KEY_END,  0x23}, {KEY_PAGEDOWN, 0x22},
                            {KEY_UP,   0x26},
    {KEY_LEFT,       0x25}, {KEY_DOWN, 0x28}, {KEY_RIGHT,    0x27},

    // Keypad, NumLock on
    {KEY_NUMLOCK,    0x90}, {KEY_KPSLASH, 0x6F}, {KEY_KPASTERISK, 0x6A}, {KEY_KPMINUS, 0x6D},
    {KEY_KP7,        0x67}, {KEY_KP8,     0x68}, {KEY_KP9,        0x69}, {KEY_KPPLUS,  0x6B},
    {KEY_KP4,        0x64}, {KEY_KP5,     0x65}, {KEY_KP6,        0x66},
    {KEY_KP1,        0x61}, {KEY_KP2,     0x62}, {KEY_KP3,        0x63}, {KEY_KPENTER, 0x0D},
    {KEY_KP0,        0x60},                      {KEY_KPDOT,      0x6E},

    // Japanese 109-key additions
    {KEY_ZENKAKUHANKAKU,   0xF3},
    {KEY_MUHENKAN,         0x1D},
    {KEY_HENKAN,           0x1C},
    {KEY_KATAKANAHIRAGANA, 0xF2},
    {KEY_RO,               0xE2},
    {KEY_YEN,              0xDC},
}};
// clang-format on

std::optional<std::uint8_t> VirtualKeyOfEvdevKey(std::uint16_t evdevCode) {
    const auto row =
        std::find_if(VirtualKeyFromEvdevTable.begin(), VirtualKeyFromEvdevTable.end(),
                     [&](const EvdevVirtualKeyRow& r) { return r.evdevCode == evdevCode; });
    if (row == VirtualKeyFromEvdevTable.end()) {
        return std::nullopt;
    }
    return row->virtualKey;
}

std::optional<std::uint16_t> EvdevKeyOfVirtualKey(std::uint8_t virtualKey) {
    const auto row =
        std::find_if(VirtualKeyFromEvdevTable.begin(), VirtualKeyFromEvdevTable.end(),
                     [&](const EvdevVirtualKeyRow& r) { return r.virtualKey == virtualKey; });
    if (row == VirtualKeyFromEvdevTable.end()) {
        return std::nullopt;
    }
    return row->evdevCode;
}

}  // namespace varnok
