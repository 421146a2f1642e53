#include "keys/linux/EvdevToSet1Table.h"

#include <linux/input-event-codes.h>

#include <algorithm>

namespace varnok {

using enum Set1Prefix;

// Grouped as the keys sit on the keyboard, row by row. In the kernel's numbering the evdev code
// of a key in the main block equals its unprefixed set-1 byte; the prefixed keys share the
// byte of the key they were added beside (Home with keypad 7, right Ctrl with left Ctrl).
// Hankaku/Zenkaku on a Japanese keyboard sits where ` is and sends 29 (KEY_GRAVE). The kernel
// reports KEY_ZENKAKUHANKAKU only for the USB usage LANG5, which Windows translates to set-1
// 76; 76 is the byte the capture gives the Zenkaku/Hankaku name, so that is its byte here.
// clang-format off
const std::array<EvdevSet1Row, 111> EvdevToSet1Table = {{
    // Function row
    {KEY_ESC,        0x01, None},
    {KEY_F1,         0x3B, None}, {KEY_F2,  0x3C, None}, {KEY_F3,  0x3D, None}, {KEY_F4,  0x3E, None},
    {KEY_F5,         0x3F, None}, {KEY_F6,  0x40, None}, {KEY_F7,  0x41, None}, {KEY_F8,  0x42, None},
    {KEY_F9,         0x43, None}, {KEY_F10, 0x44, None}, {KEY_F11, 0x57, None}, {KEY_F12, 0x58, None},
    {KEY_SYSRQ,      0x37, E0  },  // PrintScreen: E0 2A E0 37
    {KEY_SCROLLLOCK, 0x46, None},
    {KEY_PAUSE,      0x45, E1  },

    // Number row
    {KEY_GRAVE,      0x29, None},
    {KEY_1,          0x02, None}, {KEY_2, 0x03, None}, {KEY_3, 0x04, None}, {KEY_4, 0x05, None},
    {KEY_5,          0x06, None}, {KEY_6, 0x07, None}, {KEY_7, 0x08, None}, {KEY_8, 0x09, None},
    {KEY_9,          0x0A, None}, {KEY_0, 0x0B, None},
    {KEY_MINUS,      0x0C, None},
    {KEY_EQUAL,      0x0D, None},
    {KEY_BACKSPACE,  0x0E, None},

    // Top letter row
    {KEY_TAB,        0x0F, None},
    {KEY_Q,          0x10, None}, {KEY_W, 0x11, None}, {KEY_E, 0x12, None}, {KEY_R, 0x13, None},
    {KEY_T,          0x14, None}, {KEY_Y, 0x15, None}, {KEY_U, 0x16, None}, {KEY_I, 0x17, None},
    {KEY_O,          0x18, None}, {KEY_P, 0x19, None},
    {KEY_LEFTBRACE,  0x1A, None},
    {KEY_RIGHTBRACE, 0x1B, None},
    {KEY_ENTER,      0x1C, None},

    // Home row
    {KEY_CAPSLOCK,   0x3A, None},
    {KEY_A,          0x1E, None}, {KEY_S, 0x1F, None}, {KEY_D, 0x20, None}, {KEY_F, 0x21, None},
    {KEY_G,          0x22, None}, {KEY_H, 0x23, None}, {KEY_J, 0x24, None}, {KEY_K, 0x25, None},
    {KEY_L,          0x26, None},
    {KEY_SEMICOLON,  0x27, None},
    {KEY_APOSTROPHE, 0x28, None},
    {KEY_BACKSLASH,  0x2B, None},  // # on ISO keyboards, beside Enter

    // Bottom letter row
    {KEY_LEFTSHIFT,  0x2A, None},
    {KEY_102ND,      0x56, None},  // ISO key between left Shift and Z
    {KEY_Z,          0x2C, None}, {KEY_X, 0x2D, None}, {KEY_C, 0x2E, None}, {KEY_V, 0x2F, None},
    {KEY_B,          0x30, None}, {KEY_N, 0x31, None}, {KEY_M, 0x32, None},
    {KEY_COMMA,      0x33, None},
    {KEY_DOT,        0x34, None},
    {KEY_SLASH,      0x35, None},
    {KEY_RIGHTSHIFT, 0x36, None},

    // Space row
    {KEY_LEFTCTRL,   0x1D, None},
    {KEY_LEFTMETA,   0x5B, E0  },
    {KEY_LEFTALT,    0x38, None},
    {KEY_SPACE,      0x39, None},
    {KEY_RIGHTALT,   0x38, E0  },
    {KEY_RIGHTMETA,  0x5C, E0  },
    {KEY_COMPOSE,    0x5D, E0  },  // Menu
    {KEY_RIGHTCTRL,  0x1D, E0  },

    // Editing block and arrows
    {KEY_INSERT,     0x52, E0  }, {KEY_HOME, 0x47, E0  }, {KEY_PAGEUP,   0x49, E0  },
    {KEY_DELETE,     0x53, E0  }, {KEY_END,  0x4F, E0  }, {KEY_PAGEDOWN, 0x51, E0  },
                                  {KEY_UP,   0x48, E0  },
    {KEY_LEFT,       0x4B, E0  }, {KEY_DOWN, 0x50, E0  }, {KEY_RIGHT,    0x4D, E0  },

    // Keypad
    {KEY_NUMLOCK,    0x45, None}, {KEY_KPSLASH, 0x35, E0  }, {KEY_KPASTERISK, 0x37, None}, {KEY_KPMINUS, 0x4A, None},
    {KEY_KP7,        0x47, None}, {KEY_KP8,     0x48, None}, {KEY_KP9,        0x49, None}, {KEY_KPPLUS,  0x4E, None},
    {KEY_KP4,        0x4B, None}, {KEY_KP5,     0x4C, None}, {KEY_KP6,        0x4D, None},
    {KEY_KP1,        0x4F, None}, {KEY_KP2,     0x50, None}, {KEY_KP3,        0x51, None}, {KEY_KPENTER, 0x1C, E0  },
    {KEY_KP0,        0x52, None},                            {KEY_KPDOT,      0x53, None},

    // Japanese 109-key additions
    {KEY_ZENKAKUHANKAKU,   0x76, None},
    {KEY_MUHENKAN,         0x7B, None},
    {KEY_HENKAN,           0x79, None},
    {KEY_KATAKANAHIRAGANA, 0x70, None},
    {KEY_RO,               0x73, None},  // \ _ beside right Shift
    {KEY_YEN,              0x7D, None},  // ¥ | beside Backspace
}};
// clang-format on

std::optional<std::uint8_t> ScanByteOfEvdevKey(std::uint16_t evdevCode) {
    const auto row = std::find_if(EvdevToSet1Table.begin(), EvdevToSet1Table.end(),
                                  [&](const EvdevSet1Row& r) { return r.evdevCode == evdevCode; });
    if (row == EvdevToSet1Table.end()) {
        return std::nullopt;
    }
    return row->scanByte;
}

}  // namespace varnok
