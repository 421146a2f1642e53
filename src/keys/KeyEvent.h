#pragma once

#include <cstdint>

namespace varnok {

// The kinds of key event the main window's key capture sees, numbered as Windows numbers
// them (WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP).
enum class KeyEventKind : std::uint32_t {
    KeyDown = 0x100,
    KeyUp = 0x101,
    SysKeyDown = 0x104,
    SysKeyUp = 0x105,
};

// One key press or release as Windows delivers it: the Windows virtual-key code and the PC
// scan code set 1 make byte (without an E0 prefix). The platform layer translates its own key
// events into these, auto-repeat included (repeated key-downs, a single key-up).
struct KeyEvent {
    KeyEventKind kind;
    std::uint8_t virtualKey;
    std::uint8_t scanByte;

    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

}  // namespace varnok
